#!/bin/bash
# Files dropped on the bank editor from another program, as from a file manager: a CSV list is
# imported through the preview, a bank opens in the window, and any other file is refused (the
# other program hears that nothing was taken). The drag comes over X from a separate process.
# Usage: editor_drop.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/editor_lib.sh"
E2E_OFFICE=${E2E_OFFICE:-$E2E_BUILD/tests/e2e/velquo-e2e-office}
[ -x "$E2E_OFFICE" ] || fail "office program not built: $E2E_OFFICE"

E2E_QUESTIONS_CSV='编号,题目,答案
1,一年有几个季节？,四个'
start_xvfb
make_install

start_editor
OFFICE_PID=
end_office() { [ -z "$OFFICE_PID" ] || end_pid "$OFFICE_PID"; OFFICE_PID=; }
on_cleanup end_office
editor_up 'db\.DLL — 1 道题 — 题库编辑$'

source_window() { xdotool search --onlyvisible --name '^office drag source$' 2>/dev/null | head -n 1; }
has_source() { [ -n "$(source_window)" ]; }
# Drags FILE from the other program's window onto the middle of the editor's and lets go there;
# the motion goes in steps, as a hand's does, so that both ends see the drag cross the screen.
drop_on_editor() {
    end_office
    QT_QPA_PLATFORM=xcb "$E2E_OFFICE" drag "$1" >"$E2E_WORK/office.log" 2>&1 &
    OFFICE_PID=$!
    wait_until "$E2E_TIMEOUT" "the other program's window" has_source
    local sx sy sw sh wx wy ww wh i
    read -r sx sy sw sh <<<"$(window_geometry "$(source_window)")"
    read -r wx wy ww wh <<<"$(window_geometry "$win")"
    xdotool mousemove $((sx + sw / 2)) $((sy + sh / 2))
    xdotool mousedown 1
    for i in $(seq 1 12); do xdotool mousemove $((sx + sw / 2 + i * 8)) $((sy + sh / 2 + i * 4)); done
    for i in $(seq 0 6); do xdotool mousemove $((wx + ww / 2 + i * 3)) $((wy + wh / 2)); done
    xdotool mouseup 1
    wait_until "$E2E_TIMEOUT" "the end of the drag" grep -q '^dropped' "$E2E_WORK/office.log"
}

# ---- a CSV list: the preview, then the rows -----------------------------------------------------
printf '编号,题目,答案\r\n5,第五题,答五\r\n6,第六题,答六\r\n' >"$E2E_WORK/更多题目.csv"
drop_on_editor "$E2E_WORK/更多题目.csv"
grep -qx 'dropped 1' "$E2E_WORK/office.log" || fail "the list was not taken: $(cat "$E2E_WORK/office.log")"
wait_until "$E2E_TIMEOUT" "the import's preview" title_is '^导入 更多题目\.csv$'
key Return
wait_until "$E2E_TIMEOUT" "the dropped rows in the title" title_is 'db\.DLL\* — 3 道题 — 题库编辑$'
key ctrl+s
wait_until "$E2E_TIMEOUT" "the saved bank" title_is 'db\.DLL — 3 道题 — 题库编辑$'
"$E2E_BANK" export "$E2E_INSTALL/db.DLL" >"$E2E_WORK/saved.csv"
grep -qxF '5,"第五题","答五"' "$E2E_WORK/saved.csv" && grep -qxF '6,"第六题","答六"' "$E2E_WORK/saved.csv" ||
    fail "the saved bank lacks the dropped rows: $(cat "$E2E_WORK/saved.csv")"
pass "a CSV list dropped from another program comes in through the preview"

# ---- something else: refused, the window as it was ----------------------------------------------
printf 'not a list' >"$E2E_WORK/notes.doc"
drop_on_editor "$E2E_WORK/notes.doc"
grep -qx 'dropped 0' "$E2E_WORK/office.log" || fail "a .doc was taken: $(cat "$E2E_WORK/office.log")"
holds_for 1 title_is '^导入 ' || fail "a preview came up for the refused file"
title_is 'db\.DLL — 3 道题 — 题库编辑$' || fail "the window changed after the refused drop"
pass "a file that is neither a list nor a bank is refused"

# ---- a bank: it opens -------------------------------------------------------------------------
mkdir -p "$E2E_WORK/other"
printf '编号,题目,答案\r\n1,甲,乙\r\n2,丙,丁\r\n3,戊,己\r\n4,庚,辛\r\n' >"$E2E_WORK/other.csv"
"$E2E_BANK" build "$E2E_WORK/other.csv" "$E2E_WORK/other/第二场.mdb" >/dev/null 2>&1 ||
    fail "the bank tool did not build the second bank"
drop_on_editor "$E2E_WORK/other/第二场.mdb"
grep -qx 'dropped 1' "$E2E_WORK/office.log" || fail "the bank was not taken: $(cat "$E2E_WORK/office.log")"
wait_until "$E2E_TIMEOUT" "the dropped bank in the window" title_is '第二场\.mdb — 4 道题 — 题库编辑$'
pass "a bank dropped from another program opens"
