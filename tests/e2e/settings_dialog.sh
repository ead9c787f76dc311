#!/bin/bash
# Settings dialog end to end: open it from the main screen's right-button menu with real input,
# raise the countdown length with the spinner's plus button, save, dismiss the success message,
# and find the new length in opt.ini with the program ended (no exit question asked).
# Usage: settings_dialog.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_xvfb
make_install shijian=7 biaoti_left=48
start_app
old=$(ini_value shijian)

# Right button on the main screen, then the menu entry "系统设置".
open_settings
dx=$DLG_X dy=$DLG_Y dw=$DLG_W dh=$DLG_H
[ "$dw $dh" = "691 531" ] || fail "dialog client area ${dw}x${dh}, not 691x531"
[ "$dx $dy" = "$(((E2E_SCREEN_W - 691) / 2)) $(((E2E_SCREEN_H - 531) / 2))" ] ||
    fail "dialog at $dx, $dy, not centred on the screen"

# RzSpinner2 stands at (120, 28) in the countdown box (top 89), 85 x 21; its plus button is the
# rightmost 18 px. Its value is drawn between the buttons.
plus_x=$((dx + 120 + 85 - 9)) plus_y=$((dy + 89 + 28 + 10))
# Its value, inside the focus rectangle (3 px in from the value cell).
value=($((dx + 120 + 18 + 3)) $((dy + 89 + 28 + 4)) $((85 - 36 - 6)) 13)
value_changed() { shot && [ "$(region_hash "${value[@]}")" != "$1" ]; }
for _ in 1 2 3; do
    shot
    before=$(region_hash "${value[@]}")
    click_at "$plus_x" "$plus_y"
    wait_until "$E2E_TIMEOUT" "the spinner's value to change after a click on plus" value_changed "$before"
done

# 保存 at (224, 16) on the panel (top 481), 75 x 25.
click_at $((dx + 224 + 37)) $((dy + 481 + 16 + 12))
wait_until "$E2E_TIMEOUT" "the message after 保存" box_window >/dev/null
# The keys are written before the message shows.
ini_is shijian $((old + 3)) || fail "shijian $(ini_value shijian) under the message, expected $((old + 3))"
# Dismiss "保存成功，程序关闭后请重新打开！"; the program ends without the exit question.
key Return
ended_without_question() {
    question_window >/dev/null && fail "the exit question came up after the save"
    app_ended
}
wait_until "$E2E_TIMEOUT" "the program to end after the message" ended_without_question
[ "$E2E_APP_STATUS" = 0 ] || fail "exit status $E2E_APP_STATUS after the save"
ini_is shijian $((old + 3)) || fail "shijian $(ini_value shijian), expected $((old + 3))"
ini_is weizhishezhi 0 || fail "weizhishezhi $(ini_value weizhishezhi), not 0"
ini_is biaoti_left 48 || fail "the save touched biaoti_left: $(ini_value biaoti_left)"
pass "shijian $old -> $(ini_value shijian) by three clicks on plus, program ended without the exit question"
