#!/bin/bash
# Teams and scores through real keys, read off the screen: four teams (one named in characters
# only GBK has) on a cyan scoreboard. Digits score, Shift+digit takes away, Ctrl+Z undoes; the
# team that scored is marked in gold for a moment. The board then shows exactly what a fresh
# start with every team at that score shows (the pixels are compared, not the widgets). R puts
# up the ranking: two teams tied first are both marked as winners, the others not; Page Down
# returns to the show without stepping. S hides the board, and a drag moves it and writes its
# keys in opt.ini at once.
# Usage: team_scores.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

# The board's region: the bottom of the screen, left of the next-step picture.
BOARD=(0 590 900 178)
BOARD_TOP=620
source "$(dirname "$0")/teams_lib.sh"

start_xvfb
start_wm

# The board a fresh start draws with every team at 110.
fresh_board 110 biaoti_fontsize=20
fresh110=$FRESH_BOARD

teams_install 100 biaoti_fontsize=20
start_app
wait_until "$E2E_TIMEOUT" "the scoreboard at 100" board_settled
at100=$(board_hash)
[ "$at100" != "$fresh110" ] || fail "the board at 100 looks like the board at 110"

# One point for each team, one mark at a time.
for digit in 1 2 3 4; do
    key "$digit"
    wait_until "$E2E_TIMEOUT" "team $digit marked after its key" board_marked
done
# Scored and undone, taken away and given back; a held key scores once.
key 1
key ctrl+z
key shift+2
key 2
xdotool keydown 3
until_ms $(($(now_ms) + 800))
xdotool keyup 3
key shift+3
wait_until "$E2E_TIMEOUT" "the marks gone" board_settled
[ "$(board_hash)" = "$fresh110" ] || fail "after the keys the board does not show every team at 110"

# Undo as often as needed: back to 100 for all.
for _ in 1 2 3 4 5 6 7 8 9 10; do key ctrl+z; done
wait_until "$E2E_TIMEOUT" "the board back at 100 after the undos" eval 'board_settled && [ "$(board_hash)" = "$at100" ]'

# Two teams tied first: 红队 and 喆堃队 at 120, 蓝队 at 100, 绿队 at 90.
key 1 1 2 2 shift+4
wait_until "$E2E_TIMEOUT" "the marks gone" board_settled
before=$(shot && region_hash 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H")
key r
# Rows as RankingScreen lays them out: the heading, then one line per team.
line=$((E2E_SCREEN_H / 7))
[ "$line" -le $((E2E_SCREEN_H / 10)) ] || line=$((E2E_SCREEN_H / 10))
row() { echo 0 $(((2 + $1) * line)) "$E2E_SCREEN_W" "$line"; }
wait_until "$E2E_TIMEOUT" "the ranking over the background" has_colour $(row 0) "$GOLD" 100
shot
for r in 0 1; do
    [ "$(colour_count $(row $r) "$GOLD")" -ge 100 ] || fail "ranking row $r is not a winner's"
done
for r in 2 3; do
    [ "$(colour_count $(row $r) "$GOLD")" -eq 0 ] || fail "ranking row $r is marked as a winner's"
    [ "$(colour_count $(row $r) '#ffffff')" -ge 100 ] || fail "ranking row $r is empty"
done
[ "$(colour_count "${BOARD[@]}" "$CYAN")" -eq 0 ] || fail "the scoreboard shows through the ranking"
key Next
wait_until "$E2E_TIMEOUT" "the show back as it was, not stepped" eval 'shot && [ "$(region_hash 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H")" = "$before" ]'

# S hides the board and shows it again.
key s
wait_until "$E2E_TIMEOUT" "the board hidden" lacks_colour "${BOARD[@]}" "$CYAN"
key s
wait_until "$E2E_TIMEOUT" "the board shown" board_settled

# Dragged 30 right and 40 up from inside its first entry: the keys follow at once.
shot
read -r bl bt _ <<<"$(convert "$E2E_SHOT" -crop "${BOARD[2]}x${BOARD[3]}+${BOARD[0]}+${BOARD[1]}" +repage \
    -fuzz 12% -fill black +opaque "$CYAN" -trim -format "%[fx:page.x] %[fx:page.y+${BOARD[1]}] x" info:)"
xdotool mousemove --sync $((bl + 4)) $((bt + 6))
xdotool mousedown 1
for s in 1 2 3; do xdotool mousemove --sync $((bl + 4 + 10 * s)) $((bt + 6 - 40 * s / 3)); done
xdotool mouseup 1
wait_until "$E2E_TIMEOUT" "jifenban_left=70 and jifenban_top=580 in opt.ini" \
    eval 'ini_is jifenban_left 70 && ini_is jifenban_top 580'
moved() {
    shot || return 1
    local l t
    read -r l t _ <<<"$(convert "$E2E_SHOT" -crop "${BOARD[2]}x$((BOARD[3] + 40))+${BOARD[0]}+$((BOARD[1] - 40))" +repage \
        -fuzz 12% -fill black +opaque "$CYAN" -trim -format "%[fx:page.x] %[fx:page.y+${BOARD[1]}-40] x" info:)"
    [ "$l" -eq $((bl + 30)) ] && [ "$t" -eq $((bt - 40)) ]
}
wait_until "$E2E_TIMEOUT" "the board's pixels 30 right and 40 up" moved

# The record: a header and one line a change, with the GBK-only name in UTF-8 after the mark.
REC=$E2E_INSTALL/比赛记录.csv
head -c 3 "$REC" | od -An -tx1 | grep -q 'ef bb bf' || fail "the record has no byte-order mark"
lines=$(($(wc -l <"$REC") - 1))
# 4 + 2 + 2 + 1 (the held 3) + 1 (Shift+3) + 8 undos (two of the ten found nothing) + 5
[ "$lines" -eq 23 ] || fail "the record holds $lines changes, not 23: $(cat "$REC")"
grep -q ',喆堃队,+10,110,' "$REC" || fail "the GBK-only name is not in the record"
pass "keys scored, undid and took away as the pixels show; the ranking marked the tied winners and Page Down did not step; S hid the board; the drag wrote its keys"
