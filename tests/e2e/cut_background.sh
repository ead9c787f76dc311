#!/bin/bash
# A background photograph cut short, as an interrupted copy leaves it, as the operator sees it:
# one error box comes up at start, before the main screen; once it is closed, the main screen
# shows what the file holds (the photograph's top) over the grey the decoder fills the rest
# with, and the start has gone on to its end (the next-step picture is there).
# Usage: cut_background.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

TOP='#c03020'
GREY='#808080'

# A 4000 x 3000 photograph, larger than the screen as a camera's are, in one colour, so that
# its bytes spread evenly over its rows; its first third of them kept.
convert -size 4000x3000 "xc:$TOP" -quality 80 "$E2E_WORK/photo.jpg"
[ "$(identify -format '%wx%h' "$E2E_WORK/photo.jpg")" = 4000x3000 ] || fail "photo.jpg not made"

start_xvfb
make_install
head -c $(($(stat -c %s "$E2E_WORK/photo.jpg") / 3)) "$E2E_WORK/photo.jpg" >"$E2E_INSTALL/bg.jpg"
launch_app
box=$(wait_until "$E2E_TIMEOUT" "the error box for the cut bg.jpg" box_window)
main_window >/dev/null && fail "the main screen is up under the error box"
e2e_log "error box up before the main screen"
xdotool windowactivate --sync "$box" key --clearmodifiers Return
wait_until "$E2E_TIMEOUT" "the error box to close" no_box_window
wait_until "$E2E_TIMEOUT" "the next-step picture: set-up went on to its end" \
    has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$E2E_NEXT_COLOR" 100
near "$(pixel 10 10)" "$TOP" 24 || fail "the top of the photograph is not on the screen: $(pixel 10 10)"
near "$(pixel 10 $((E2E_SCREEN_H - 10)))" "$GREY" 8 ||
    fail "the part the file lacks is not grey: $(pixel 10 $((E2E_SCREEN_H - 10)))"
holds_for 1 box_window || fail "a second box came up"
app_running || fail "the presenter ended"
pass "a cut bg.jpg is reported once at start; its top shows over grey and the start goes on"
