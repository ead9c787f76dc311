#!/bin/bash
# A one-monitor desk with real keys: the menu has its four written entries and 主持人视图 (no
# 投影屏幕);
# a clicker's Page Down and the keypad's Page Down step, Page Up steps the countdown back;
# B blacks out the whole screen (black where the question stands), the next Space uncovers it
# without stepping; "." and Escape do the same; a countdown ticks on under the black; the
# arrows step (Right, Down) and step back (Left, Up).
# Usage: hall_keys.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_xvfb
make_install shijian=30
start_app

# The menu: 自动排版, 系统设置, 主持人视图, separator, 最小化, 退出系统 - five lines of text, no
# 投影屏幕.
open_menu 500 400
shot
rows=$(text_rows "$MENU_X" "$MENU_Y" "$MENU_W" "$MENU_H")
[ "$rows" -eq 5 ] || fail "the one-monitor menu shows $rows entries, not 5 and a separator"
key Escape
wait_until "$E2E_TIMEOUT" "the menu to close" no_menu_window

Q=(100 245 600 50)    # the question's place
C=(792 112 200 80)    # the countdown's place
key Next
wait_until "$E2E_TIMEOUT" "a question after Page Down" has_colour "${Q[@]}" '#ffffff' 40
key KP_Next
wait_until "$E2E_TIMEOUT" "the countdown after the keypad's Page Down" has_colour "${C[@]}" '#ffff00' 40
key Prior
wait_until "$E2E_TIMEOUT" "the countdown to go after Page Up" lacks_colour "${C[@]}" '#ffff00'
shot
before=$(region_hash 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H")

all_black() {
    shot && [ "$(colour_count 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" '#000000')" -eq $((E2E_SCREEN_W * E2E_SCREEN_H)) ]
}
uncovered_as_before() { shot && [ "$(region_hash 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H")" = "$before" ]; }
countdown_shown() { has_colour "${C[@]}" '#ffff00' 1; }

key b
wait_until "$E2E_TIMEOUT" "black over the whole screen after B" all_black
[ "$(colour_count "${Q[@]}" '#000000')" -eq $((Q[2] * Q[3])) ] || fail "the question's place is not black"
key space
wait_until "$E2E_TIMEOUT" "the screen as before after Space" uncovered_as_before
holds_for 1.5 countdown_shown || fail "the Space that uncovered also stepped (the countdown started)"
e2e_log "B blacks out, Space uncovers without a step"

for k in period Escape; do
    key period
    wait_until "$E2E_TIMEOUT" "black after ." all_black
    key "$k"
    wait_until "$E2E_TIMEOUT" "the screen as before after $k" uncovered_as_before
done
# The step that follows is the countdown, not a second one.
key space
wait_until "$E2E_TIMEOUT" "the countdown after Space" countdown_shown
# The countdown ticks on under the black: uncovered two seconds later it shows another number.
shot
counting=$(region_hash "${C[@]}")
t0=$(now_ms)
key b
wait_until "$E2E_TIMEOUT" "black after B during the countdown" all_black
two_seconds_gone() { [ $(($(now_ms) - t0)) -ge 2200 ]; }
wait_until 5 "two ticks' time under the black" two_seconds_gone
key Escape
number_changed() { shot && countdown_shown && [ "$(region_hash "${C[@]}")" != "$counting" ]; }
wait_until "$E2E_TIMEOUT" "the countdown, moved on, after Escape" number_changed

# Clickers that send arrows, pressed without key repeat: Left and Up step back like Page Up,
# Right and Down step like Page Down.
xset r off
A=(100 285 600 120) # the answer's place
key Left
wait_until "$E2E_TIMEOUT" "the countdown to go after Left" lacks_colour "${C[@]}" '#ffff00'
key Right
wait_until "$E2E_TIMEOUT" "the countdown after Right" countdown_shown
key Up
wait_until "$E2E_TIMEOUT" "the countdown to go after Up" lacks_colour "${C[@]}" '#ffff00'
key Down
wait_until "$E2E_TIMEOUT" "the countdown after Down" countdown_shown
key Right
wait_until "$E2E_TIMEOUT" "the answer after Right" has_colour "${A[@]}" '#00ff00' 40
app_running || fail "the presenter ended"
pass "five menu entries on one monitor; Page Down, keypad Page Down and Page Up; B, . and Escape black out and uncover without stepping, the countdown ticks on under the black; the arrows step and step back"
