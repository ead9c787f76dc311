#!/bin/bash
# The show on a projector: two monitors side by side (Xorg's dummy driver), pingmu=2 opens the
# main screen full screen on the right-hand one with the next-step picture 30 px from its right
# edge; the settings dialog opens centred there; the menu offers "投影屏幕" with both screens,
# choosing screen 1 moves the show and writes pingmu=1; unplugging the projector while the show
# runs on it brings the show back to the primary screen and writes nothing; plugging it back in
# takes the show there again, still writing nothing.
# Usage: projector_screen.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

RED=$E2E_NEXT_COLOR

# check_next_step LEFT_EDGE: the next-step picture's 49 x 49 box on the monitor whose left edge
# is given: right edge 30 px from the monitor's right edge, bottom edge 60 px above its bottom.
check_next_step() {
    local right=$(($1 + 1920 - 1 - 30)) bottom=$((1080 - 1 - 60))
    local left=$((right - 48)) mid_y=$((bottom - 24))
    wait_until "$E2E_TIMEOUT" "the next-step picture at $left..$right" has_colour "$left" $((bottom - 48)) 49 49 "$RED" 2000
    near "$(pixel "$right" "$mid_y")" "$RED" 40 || fail "no red at the picture's right edge x $right"
    near "$(pixel $((right + 1)) "$mid_y")" "$E2E_BG" 16 || fail "x $((right + 1)), right of the picture, is $(pixel $((right + 1)) "$mid_y")"
    near "$(pixel "$left" "$mid_y")" "$RED" 40 || fail "no red at the picture's left edge x $left"
    near "$(pixel $((left - 1)) "$mid_y")" "$E2E_BG" 16 || fail "x $((left - 1)), left of the picture, is $(pixel $((left - 1)) "$mid_y")"
}

start_two_screens
make_install
printf 'pingmu=2\r\n' >>"$E2E_INSTALL/opt.ini"
E2E_SHOW_X=1920
start_app
wait_until "$E2E_TIMEOUT" "the main screen on the right-hand monitor" main_geometry_is "1920 0 1920 1080"
check_next_step 1920
no_box_window || fail "an error box at start"
e2e_log "pingmu=2: main screen at 1920, 0, 1920 x 1080"

# The settings dialog opens in the middle of the show's monitor.
open_menu 2400 300
key Down Down Return # 系统设置
wait_until "$E2E_TIMEOUT" "the settings dialog" dialog_window >/dev/null
read -r DLG_X DLG_Y DLG_W DLG_H <<<"$(window_geometry "$(dialog_window)")"
[ $((DLG_X + DLG_W / 2 - 2880)) -ge -1 ] && [ $((DLG_X + DLG_W / 2 - 2880)) -le 1 ] &&
    [ $((DLG_Y + DLG_H / 2 - 540)) -ge -1 ] && [ $((DLG_Y + DLG_H / 2 - 540)) -le 1 ] ||
    fail "settings dialog at $DLG_X, $DLG_Y ($DLG_W x $DLG_H), not centred on the right-hand monitor"
click_at $((DLG_X + 368 + 37)) $((DLG_Y + 481 + 16 + 12)) # 取消
wait_until "$E2E_TIMEOUT" "the dialog to close after 取消" no_dialog_window

# The menu: 自动排版, 系统设置, 投影屏幕, 主持人视图, separator, 最小化, 退出系统.
cp "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before"
open_menu 2400 300
shot
rows=$(text_rows "$MENU_X" "$MENU_Y" "$MENU_W" "$MENU_H")
[ "$rows" -eq 6 ] || fail "the menu shows $rows entries, not 6 with 投影屏幕"
item_h=$(((MENU_H - 8) / 6)) # six entries and a separator of a few pixels
pointer_at $((MENU_X + MENU_W / 2)) $((MENU_Y + 2 * item_h + item_h / 2))
wait_until "$E2E_TIMEOUT" "the 投影屏幕 submenu" popup_count_is 2
sub=$(popup_windows | while read -r id; do [ "$(window_geometry "$id")" != "$MENU_X $MENU_Y $MENU_W $MENU_H" ] && echo "$id"; done)
read -r SUB_X SUB_Y SUB_W SUB_H <<<"$(window_geometry "$sub")"
shot
rows=$(text_rows "$SUB_X" "$SUB_Y" "$SUB_W" "$SUB_H")
[ "$rows" -eq 2 ] || fail "the submenu shows $rows screens, not 2"
[ "${E2E_SUBMENU_SHOT:-}" ] && convert "$E2E_SHOT" -crop $((SUB_X + SUB_W - MENU_X + 40))x$((SUB_H + MENU_H + 40))+$((MENU_X - 20))+$((MENU_Y - 20)) +repage "$E2E_SUBMENU_SHOT"
# Screen 1, the primary: the first entry of the submenu.
pointer_at $((SUB_X + SUB_W / 2)) $((SUB_Y + SUB_H / 4))
click_at $((SUB_X + SUB_W / 2)) $((SUB_Y + SUB_H / 4))
wait_until "$E2E_TIMEOUT" "the main screen on the left-hand monitor" main_geometry_is "0 0 1920 1080"
E2E_SHOW_X=0
wait_until "$E2E_TIMEOUT" "the background on the left-hand monitor" screen_shows_background
check_next_step 0
wait_until "$E2E_TIMEOUT" "pingmu=1 in opt.ini" ini_is pingmu 1
diff <(grep -av '^pingmu=' "$E2E_WORK/opt.before") <(grep -av '^pingmu=' "$E2E_INSTALL/opt.ini") >/dev/null ||
    fail "choosing a screen changed more than pingmu"
e2e_log "screen 1 chosen: main screen at 0, 0; pingmu=1"

# Back to the projector, then unplug it.
open_menu 400 300
pointer_at $((MENU_X + MENU_W / 2)) $((MENU_Y + 2 * item_h + item_h / 2))
wait_until "$E2E_TIMEOUT" "the 投影屏幕 submenu" popup_count_is 2
sub=$(popup_windows | while read -r id; do [ "$(window_geometry "$id")" != "$MENU_X $MENU_Y $MENU_W $MENU_H" ] && echo "$id"; done)
read -r SUB_X SUB_Y SUB_W SUB_H <<<"$(window_geometry "$sub")"
pointer_at $((SUB_X + SUB_W / 2)) $((SUB_Y + SUB_H * 3 / 4))
click_at $((SUB_X + SUB_W / 2)) $((SUB_Y + SUB_H * 3 / 4))
wait_until "$E2E_TIMEOUT" "the main screen back on the right-hand monitor" main_geometry_is "1920 0 1920 1080"
wait_until "$E2E_TIMEOUT" "pingmu=2 in opt.ini" ini_is pingmu 2
cp "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before"
xrandr --output DUMMY1 --off
wait_until "$E2E_TIMEOUT" "the show on the primary monitor after unplugging" main_geometry_is "0 0 1920 1080"
E2E_SHOW_X=0
wait_until "$E2E_TIMEOUT" "the background on the primary monitor" screen_shows_background
check_next_step 0
cmp -s "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before" || fail "unplugging wrote opt.ini"
no_box_window || fail "an error box after unplugging"
app_running || fail "the presenter ended"
e2e_log "projector unplugged: the show on the primary monitor, opt.ini untouched"

# Plugged back in: pingmu still names it, so the show returns there by itself.
plugged=$(now_ms)
xrandr --output DUMMY1 --mode 1920x1080 --pos 1920x0
wait_until "$E2E_TIMEOUT" "the show back on the projector after plugging it in again" main_geometry_is "1920 0 1920 1080"
E2E_SHOW_X=1920
wait_until "$E2E_TIMEOUT" "the background on the projector again" screen_shows_background
check_next_step 1920
e2e_log "projector plugged back in: the show on it after $(($(now_ms) - plugged)) ms"
cmp -s "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before" || fail "plugging the projector back in wrote opt.ini"
no_box_window || fail "an error box after plugging the projector back in"
pass "pingmu=2 starts on the projector, 投影屏幕 moves the show and writes pingmu, unplugging falls back to the primary, plugging back in returns to the projector"
