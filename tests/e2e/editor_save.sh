#!/bin/bash
# The bank editor with real input: it opens the installation's db.DLL named on its command line,
# a click and keys change the answer of the only question, Ctrl+S saves, and the presenter started
# on the saved bank reveals the new answer (wider than the old one on the screen); the old file
# stays beside it as db.DLL.bak and the editor ends without asking.
# Usage: editor_save.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/editor_lib.sh"

# One question, so that every draw is the one changed.
E2E_QUESTIONS_CSV='编号,题目,答案
1,一年有几个季节？,四个'
NEW_ANSWER='FOUR SEASONS: SPRING SUMMER AUTUMN WINTER'

start_xvfb
make_install shijian=1

# Regions of the screen (1024 x 768): the question at 100, 250 (white), the answer below (green).
Q=(100 245 600 50)
A=(100 275 600 150)
WHITE='#ffffff' GREEN='#00ff00'

# answer_pixels: starts the presenter on the installation, steps to the answer with Space and
# sets ANSWER_PIXELS to the green pixels of the answer region; ends the presenter.
answer_pixels() {
    start_app
    key space
    wait_until "$E2E_TIMEOUT" "the question after Space" has_colour "${Q[@]}" "$WHITE" 40
    key space
    key space
    wait_until "$E2E_TIMEOUT" "the answer after the third Space" has_colour "${A[@]}" "$GREEN" 20
    ANSWER_PIXELS=$(colour_count "${A[@]}" "$GREEN")
    end_pid "$E2E_APP_PID"
    E2E_APP_PID=
}
answer_pixels
before=$ANSWER_PIXELS
e2e_log "the old answer covers $before pixels"

start_editor
CLEAN_TITLE='db\.DLL — 1 道题 — 题库编辑$'
CHANGED_TITLE='db\.DLL\* — 1 道题 — 题库编辑$'
editor_up "$CLEAN_TITLE"

# A click into the table (below its one row) gives it the focus; Ctrl+Home goes to the first
# cell, two steps right to the answer; F2 edits it.
click_at $((WX + WW / 2)) $((WY + WH / 2))
key ctrl+Home Right Right F2
key ctrl+a
xdotool type --delay 20 "$NEW_ANSWER"
key Return
wait_until "$E2E_TIMEOUT" "the unsaved-changes mark in the title" editor_window "$CHANGED_TITLE" >/dev/null
key ctrl+s
wait_until "$E2E_TIMEOUT" "the title without the mark after Ctrl+S" editor_window "$CLEAN_TITLE" >/dev/null
[ -f "$E2E_INSTALL/db.DLL.bak" ] || fail "no db.DLL.bak beside the saved bank"
"$E2E_BANK" export "$E2E_INSTALL/db.DLL.bak" | grep -q '"四个"' || fail "db.DLL.bak is not the old bank"
"$E2E_BANK" export "$E2E_INSTALL/db.DLL" | grep -qF "\"$NEW_ANSWER\"" || fail "the saved bank lacks the new answer"

# Saved: Ctrl+Q ends the editor without a question.
key ctrl+q
wait_until "$E2E_TIMEOUT" "the editor to end after Ctrl+Q" editor_ended

answer_pixels
after=$ANSWER_PIXELS
e2e_log "the new answer covers $after pixels"
[ "$after" -gt $((before * 3)) ] || fail "the presenter's answer did not change ($before -> $after pixels)"
pass "edited, saved and shown by the presenter ($before -> $after answer pixels)"
