#!/bin/bash
# Pictures are read by the kind their file names give: once the background (bg.jpg) and the
# next-step picture (next.png) are on the screen, no image reader besides the JPEG one is loaded
# (PNG is Qt's own). Asking every installed reader
# whether it reads a file's kind would load them all (GIF, ICO, ...) and cost the start their
# loading.
# Usage: picture_readers.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

image_readers() {
    { grep -E '/imageformats/' "/proc/$E2E_APP_PID/maps" || true; } | awk '{ print $6 }' |
        xargs -r -n1 basename | sort -u
}

start_xvfb
make_install
start_app
wait_until "$E2E_TIMEOUT" "the next-step picture on the screen" \
    has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$E2E_NEXT_COLOR" 100
readers=$(image_readers | tr '\n' ' ')
e2e_log "image readers loaded: $readers"
stop_session
others=$(echo "$readers" | tr ' ' '\n' | grep -v -x -e '' -e libqjpeg.so || true)
[ -z "$others" ] || fail "image readers loaded besides the JPEG one: $readers"
pass "background and next-step picture shown with no image reader but the JPEG one loaded ($readers)"
