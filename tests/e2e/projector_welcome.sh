#!/bin/bash
# The welcome screen on the projector: with pingmu=2 and huanying=1 the welcome picture covers
# the right-hand monitor, above the main screen there, until a click fades it; the primary
# monitor shows neither.
# Usage: projector_welcome.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

WELCOME='#2060c0'

start_two_screens
make_install huanying=1
printf 'pingmu=2\r\n' >>"$E2E_INSTALL/opt.ini"
convert -size 1920x1080 "xc:$WELCOME" -quality 95 "$E2E_INSTALL/welcome.jpg"

covered() {
    shot && near "$(pixel 1922 2)" "$WELCOME" 12 && near "$(pixel 3837 1077)" "$WELCOME" 12 &&
        near "$(pixel 3785 995)" "$WELCOME" 12
}
uncovered() { ! covered; }

launch_app
wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the welcome picture over the right-hand monitor" covered
holds_for 1 uncovered || fail "the welcome picture did not stay on top"
welcome=$(window_with_title '^欢迎 可设置不显示或提前显示$') || fail "no welcome window"
[ "$(window_geometry "$welcome")" = "1920 0 1920 1080" ] ||
    fail "welcome screen at $(window_geometry "$welcome"), not on the right-hand monitor"
near "$(pixel 2 2)" "$WELCOME" 12 && fail "the welcome picture shows on the primary monitor"
no_box_window || fail "an error box at start"

click_at 2880 540
E2E_SHOW_X=1920
wait_until "$E2E_TIMEOUT" "the main screen uncovered after the click" screen_shows_background
app_running || fail "the presenter ended"
pass "with pingmu=2 the welcome picture covers the right-hand monitor until a click"
