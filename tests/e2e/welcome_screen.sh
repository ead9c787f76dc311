#!/bin/bash
# The welcome screen with real input: with huanying=1 the welcome picture covers the whole screen
# above the main screen at start, holds there until a click, and the click uncovers the main
# screen with its next-step picture.
# Usage: welcome_screen.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

WELCOME='#2060c0'

start_xvfb
make_install huanying=1
convert -size "${E2E_SCREEN_W}x${E2E_SCREEN_H}" "xc:$WELCOME" -quality 95 "$E2E_INSTALL/welcome.jpg"

covered() {
    shot && near "$(pixel 2 2)" "$WELCOME" 12 &&
        near "$(pixel $((E2E_SCREEN_W - 3)) $((E2E_SCREEN_H - 3)))" "$WELCOME" 12 &&
        near "$(pixel $((E2E_SCREEN_W - 55)) $((E2E_SCREEN_H - 85)))" "$WELCOME" 12
}
uncovered() { ! covered; }

(cd "$E2E_INSTALL" && QT_QPA_PLATFORM=xcb exec ./velquo) >"$E2E_WORK/app.log" 2>&1 &
E2E_APP_PID=$!
E2E_APP_STATUS=
wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the welcome picture over the whole screen" covered
# The main screen is mapped too, yet the welcome picture stays on top until a click.
holds_for 1 uncovered || fail "the welcome picture did not stay on top"

click_at $((E2E_SCREEN_W / 2)) $((E2E_SCREEN_H / 2))
wait_until "$E2E_TIMEOUT" "the main screen uncovered after the click" screen_shows_background
wait_until "$E2E_TIMEOUT" "the next-step picture after the fade" \
    has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$E2E_NEXT_COLOR" 100
app_running || fail "the presenter ended"
pass "the welcome picture covers the main screen until a click, then uncovers it"
