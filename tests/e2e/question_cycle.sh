#!/bin/bash
# A whole question with real input: Space draws it, Space starts the countdown, which ticks down
# to "0" and stops there, a click on the next-step picture reveals the answer and hides the
# countdown, a click on the hot spot hides the answer, Enter draws the second question; after the
# last question the draw shows the empty-bank message and the last question and answer stay up.
# Usage: question_cycle.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_xvfb
make_install shijian=3
start_app

# Regions of the screen (1024 x 768) for the installation's places: question at 100, 250 (white,
# 600 wide), answer below it (green), countdown at 792, 112 (yellow).
Q=(100 245 600 50)
A=(100 275 600 150)
C=(780 100 240 110)
WHITE='#ffffff' GREEN='#00ff00' YELLOW='#ffff00'
NEXT_X=969 NEXT_Y=683   # middle of the next-step picture's left half (its centre is transparent)
NEXT_X=$((NEXT_X - 16))
HOT_X=1000 HOT_Y=520    # the answer hot spot at 984, 496

shot
[ "$(colour_count "${Q[@]}" "$WHITE")" -eq 0 ] || fail "the question label is not empty at start"
[ "$(colour_count "${A[@]}" "$GREEN")" -eq 0 ] || fail "an answer shows at start"
[ "$(colour_count "${C[@]}" "$YELLOW")" -eq 0 ] || fail "the countdown label is not empty at start"

# 1: Space draws a question; the answer stays hidden.
key space
wait_until "$E2E_TIMEOUT" "the first question after Space" has_colour "${Q[@]}" "$WHITE" 40
shot
[ "$(colour_count "${A[@]}" "$GREEN")" -eq 0 ] || fail "the answer shows right after the draw"
first=$(region_hash "${Q[@]}")

# 2: Space starts the countdown: 3, 2, 1, 0, then it stops.
key space
wait_until "$E2E_TIMEOUT" "the countdown after the second Space" has_colour "${C[@]}" "$YELLOW" 40
declare -A seen=()
countdown_pictures() {
    shot || return 1
    [ "$(colour_count "${C[@]}" "$YELLOW")" -gt 0 ] || return 1
    seen[$(region_hash "${C[@]}")]=1
    [ "${#seen[@]}" -ge "$1" ]
}
# Four different pictures ("3", "2", "1", "0") within the count's length and some slack.
wait_until 10 "the countdown to show four different numbers" countdown_pictures 4
# At "0" the timer stops: no fifth number appears in the next two ticks' time.
holds_for 2.5 countdown_pictures 5 || fail "the countdown went on past 0"
# shellcheck disable=SC2034
stopped=$(region_hash "${C[@]}")

# 3: a click on the next-step picture reveals the answer and hides the countdown.
click_at "$NEXT_X" "$NEXT_Y"
wait_until "$E2E_TIMEOUT" "the answer after the click on the next-step picture" has_colour "${A[@]}" "$GREEN" 40
wait_until "$E2E_TIMEOUT" "the countdown to be hidden by the reveal" lacks_colour "${C[@]}" "$YELLOW"
[ "$(region_hash "${Q[@]}")" = "$first" ] || fail "the question changed at the reveal"

# The hot spot hides the answer and nothing else.
click_at "$HOT_X" "$HOT_Y"
wait_until "$E2E_TIMEOUT" "the answer hidden by the hot spot" lacks_colour "${A[@]}" "$GREEN"
[ "$(region_hash "${Q[@]}")" = "$first" ] || fail "the hot spot changed the question"

# 4: Enter draws the second (and last) question.
key Return
question_changed() { shot && [ "$(region_hash "${Q[@]}")" != "$first" ] && [ "$(colour_count "${Q[@]}" "$WHITE")" -ge 40 ]; }
wait_until "$E2E_TIMEOUT" "the second question after Enter" question_changed
second=$(region_hash "${Q[@]}")
[ "$(colour_count "${A[@]}" "$GREEN")" -eq 0 ] || fail "the answer shows right after the second draw"

# 5, 6: countdown and reveal by the picture; 7: the bank is used up.
click_at "$NEXT_X" "$NEXT_Y"
wait_until "$E2E_TIMEOUT" "the second countdown" has_colour "${C[@]}" "$YELLOW" 40
click_at "$NEXT_X" "$NEXT_Y"
wait_until "$E2E_TIMEOUT" "the second answer" has_colour "${A[@]}" "$GREEN" 40
answer=$(region_hash "${A[@]}")
key space
wait_until "$E2E_TIMEOUT" "the message that the bank is used up" box_window >/dev/null
key Return
wait_until "$E2E_TIMEOUT" "the message to close" no_box_window
wait_until "$E2E_TIMEOUT" "the last answer back below the question" has_colour "${A[@]}" "$GREEN" 40
shot
[ "$(region_hash "${Q[@]}")" = "$second" ] || fail "the last question did not stay on the screen"
[ "$(region_hash "${A[@]}")" = "$answer" ] || fail "the last answer did not stay in its place"
app_running || fail "the presenter ended"
pass "draw, countdown 3..0, reveal, hot spot, second question, used-up bank"
