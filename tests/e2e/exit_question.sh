#!/bin/bash
# The exit question with real input: "退出系统" from the right-button menu asks it; No keeps the
# program running with the screen unchanged and a running countdown going on; the window
# system's close command (Alt+F4) asks it as well; Yes ends the program.
# Usage: exit_question.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_xvfb
make_install shijian=60
start_app

C=(780 100 240 110)
Q=(100 245 600 50)
YELLOW='#ffff00' WHITE='#ffffff'

# Draw a question and start a long countdown.
key space
wait_until "$E2E_TIMEOUT" "the question after Space" has_colour "${Q[@]}" "$WHITE" 40
key space
wait_until "$E2E_TIMEOUT" "the countdown after Space" has_colour "${C[@]}" "$YELLOW" 40
# The question as drawn, taken while no box covers it.
question=$(region_hash "${Q[@]}")

# The middle of the screen, where the box stood, shows the background again.
screen_free_of_box() { shot && near "$(pixel 512 330)" "$E2E_BG" 12 && near "$(pixel 330 300)" "$E2E_BG" 12; }

countdown_moved() { shot && [ "$(region_hash "${C[@]}")" != "$1" ]; }

# ask_by_menu: the menu's last item "退出系统" brings up the exit question.
ask_by_menu() {
    open_menu 400 450
    click_at $((MENU_X + MENU_W / 2)) $((MENU_Y + MENU_H - 10))
    wait_until "$E2E_TIMEOUT" "the exit question after 退出系统" question_window >/dev/null
}

# answer_no: "否" closes the question; the program runs on with the countdown still ticking.
answer_no() {
    key n
    wait_until "$E2E_TIMEOUT" "the exit question to close after No" no_question_window
    holds_for 1 app_ended || fail "the program ended after No"
    wait_until "$E2E_TIMEOUT" "the main screen back after No" main_window >/dev/null
    wait_until "$E2E_TIMEOUT" "the box's place repainted after No" screen_free_of_box
    shot
    local count
    count=$(region_hash "${C[@]}")
    [ "$(region_hash "${Q[@]}")" = "$question" ] || fail "the question changed after No"
    wait_until 3 "the countdown to go on after No" countdown_moved "$count"
}

ask_by_menu
# The countdown keeps ticking while the question is open.
shot
count=$(region_hash "${C[@]}")
wait_until 3 "the countdown to tick under the exit question" countdown_moved "$count"
answer_no

# The window system's close command asks the same question.
key alt+F4
wait_until "$E2E_TIMEOUT" "the exit question after Alt+F4" question_window >/dev/null
answer_no

# Yes ends the program, normally.
ask_by_menu
key y
wait_app_ended "$E2E_TIMEOUT"
[ "$E2E_APP_STATUS" = 0 ] || fail "exit status $E2E_APP_STATUS after Yes"
pass "No keeps the program and its countdown running (menu and Alt+F4), Yes ends it"
