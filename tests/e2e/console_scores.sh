#!/bin/bash
# Scoring from the host's console with a projector: two monitors (Xorg's dummy driver), the show
# on the left, the console on the right with four teams. Real clicks on each team's + button, a
# − and a typed correction (Enter) put every team at 110: the hall's scoreboard then shows
# exactly what a fresh start with every team at 110 shows, pixel for pixel. 排名 puts the ranking
# up on the hall's screen, 撤销 takes the correction back (the board differs again), 计分板 hides
# the board.
# Usage: console_scores.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

CONSOLE_TITLE='^主持人视图$'
TEAM_BUTTON='#3c4656'
FIELD='#0f1114'
BOARD=(0 880 1700 200)
BOARD_TOP=900
source "$(dirname "$0")/teams_lib.sh"

console_window() { window_with_title "$CONSOLE_TITLE"; }
# boxes COLOUR: "X Y W H" of each patch of the colour on the console's monitor larger than a
# small button's text, in reading order (rows of 20 px, then left to right).
boxes() {
    convert "$E2E_SHOT" -crop 1920x1080+1920+0 +repage -fuzz 1% -fill black +opaque "$1" \
        -fill white -opaque "$1" -define connected-components:verbose=true \
        -define connected-components:area-threshold=400 -connected-components 8 null: |
        awk '$NF == "gray(255)" || $NF == "srgb(255,255,255)" { split($2, g, /[x+]/); print g[3] + 1920, g[4], g[1], g[2] }' |
        sort -n -k2,2 -k1,1 | awk '{ r = int($2 / 20); print r, $0 }' | sort -n -k1,1 -k2,2 | cut -d' ' -f2-
}
click_box() { click_at $(($1 + $3 / 2)) $(($2 + $4 / 2)); }

start_two_screens

fresh_board 110
fresh110=$FRESH_BOARD

teams_install 100
start_app
wait_until "$E2E_TIMEOUT" "the host's console" console_window >/dev/null
wait_until "$E2E_TIMEOUT" "the scoreboard at 100" board_settled
at100=$(board_hash)
# The teams' buttons: + and − of teams 1 to 3 in the first row, of team 4 in the second; then
# 计分板, 排名, 撤销 and 队伍设置.
wait_until "$E2E_TIMEOUT" "the console's team buttons" eval 'shot && [ "$(boxes "$TEAM_BUTTON" | wc -l)" -eq 12 ]'
mapfile -t B < <(boxes "$TEAM_BUTTON")
mapfile -t F < <(boxes "$FIELD")
e2e_log "team buttons: ${B[*]}; fields: ${F[*]}"
[ "${#F[@]}" -eq 4 ] || fail "not four fields for typed scores: ${F[*]}"
for i in 0 2 4 6; do click_box ${B[$i]}; done
click_box ${B[5]} # − for team 3: 100
wait_until "$E2E_TIMEOUT" "the marks gone" board_settled
[ "$(board_hash)" != "$fresh110" ] || fail "team 3's − changed nothing"
click_box ${F[2]}
key 1 1 0 Return
wait_until "$E2E_TIMEOUT" "every team at 110 on the hall's board" eval 'board_settled && [ "$(board_hash)" = "$fresh110" ]'

click_box ${B[9]} # 排名
wait_until "$E2E_TIMEOUT" "the ranking on the hall's screen" has_colour 0 200 1920 600 "$GOLD" 400
click_box ${B[9]}
wait_until "$E2E_TIMEOUT" "the ranking gone" lacks_colour 0 200 1920 600 "$GOLD"
click_box ${B[10]} # 撤销: team 3 back at 100
wait_until "$E2E_TIMEOUT" "the correction undone" eval 'board_settled && [ "$(board_hash)" != "$fresh110" ]'
click_box ${B[8]} # 计分板
wait_until "$E2E_TIMEOUT" "the board hidden" lacks_colour "${BOARD[@]}" "$CYAN"
[ "$(($(wc -l <"$E2E_INSTALL/比赛记录.csv") - 1))" -eq 7 ] || fail "not seven changes recorded: $(cat "$E2E_INSTALL/比赛记录.csv")"
pass "the console's + and − buttons and a typed score put every team at 110 as a fresh start shows it; 排名, 撤销 and 计分板 acted on the hall's screen"
