#!/bin/bash
# The host's console on a desk with one screen: no console at start, the show starts as before
# (full screen, the keys its own); the menu's "主持人视图" (after 系统设置) brings the console up
# as an ordinary window and writes zhuchi=1, a key typed on it steps the show, and choosing the
# entry again hides it and writes zhuchi=0.
# Usage: host_console_one_screen.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

console_window() { window_with_title '^主持人视图$'; }
no_console_window() { ! console_window >/dev/null; }

start_xvfb
make_install
start_app
wait_until "$E2E_TIMEOUT" "the main screen full screen" main_geometry_is "0 0 $E2E_SCREEN_W $E2E_SCREEN_H"
holds_for 2 console_window >/dev/null || fail "a console window came up with one screen"
[ "$(xdotool getactivewindow)" = "$(main_window)" ] || fail "the main screen does not have the keys"
[ "$(ini_value zhuchi)" = "" ] || fail "the start wrote zhuchi"
e2e_log "one screen: no console, the show full screen with the keys"

# 自动排版, 系统设置, 主持人视图: the third entry.
open_menu 500 400
key Down Down Down Return
wait_until "$E2E_TIMEOUT" "the console after 主持人视图" console_window >/dev/null
wait_until "$E2E_TIMEOUT" "zhuchi=1 in opt.ini" ini_is zhuchi 1
read -r CX CY CW CH <<<"$(window_geometry "$(console_window)")"
[ "$CW" -lt "$E2E_SCREEN_W" ] || fail "the console is no ordinary window ($CX $CY $CW x $CH)"
wait_until "$E2E_TIMEOUT" "the console to have the keys" sh -c "[ \"\$(xdotool getactivewindow)\" = $(console_window) ]"
# Page Down on the console draws on the show beneath it: the console shows the answer.
key Next
wait_until "$E2E_TIMEOUT" "the drawn question's answer on the console" has_colour "$CX" "$CY" "$CW" "$CH" '#ffb000' 100
app_running || fail "the presenter ended"

# The entry again hides the console.
open_menu 5 5
key Down Down Down Return
wait_until "$E2E_TIMEOUT" "the console to go" no_console_window
wait_until "$E2E_TIMEOUT" "zhuchi=0 in opt.ini" ini_is zhuchi 0
pass "one screen: no console at start, 主持人视图 shows it as a window and hides it, writing zhuchi"
