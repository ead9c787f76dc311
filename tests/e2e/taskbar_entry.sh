#!/bin/bash
# The taskbar entry, as the desktop reads it from the main screen's window: its icon name (what
# taskbars and the minimised program show) is the application title, while the window's caption
# stays the main screen's own, also once the program is minimised with 最小化.
# Usage: taskbar_entry.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_xvfb
make_install
start_app
win=$(main_window)

# utf8_property WINDOW NAME: the UTF-8 text property's value, without the quotes.
utf8_property() { xprop -id "$1" -notype "$2" | sed -n 's/^[^=]* = "\(.*\)"$/\1/p'; }

check_names() {
    local icon caption
    icon=$(utf8_property "$win" _NET_WM_ICON_NAME)
    caption=$(utf8_property "$win" _NET_WM_NAME)
    e2e_log "$1: icon name '$icon', caption '$caption'"
    [ "$icon" = 'Velquo晚会出题系统' ] || fail "$1: the taskbar entry reads '$icon'"
    [ "$caption" = '晚会随机出题系统' ] || fail "$1: the caption reads '$caption'"
}
check_names "shown"

# Minimised from the menu: the window is iconic and still names itself the same way.
# The item above the last one (退出系统), chosen with the keys.
open_menu 500 400
key Up Up Return
iconic() { xprop -id "$win" WM_STATE | grep -q 'window state: Iconic'; }
wait_until "$E2E_TIMEOUT" "the program minimised" iconic
check_names "minimised"
app_running || fail "the presenter ended"
pass "taskbar entry 'Velquo晚会出题系统', caption '晚会随机出题系统', shown and minimised"
