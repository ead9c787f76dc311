#!/bin/bash
# The bank editor with what an office program hands it: rows that another program put on the
# clipboard (as Excel and WPS do: tabs, CR LF, a quoted cell with a line break) come in with
# Ctrl+V through the preview. What was saved is read back with the bank tool.
# Usage: editor_paste.sh <build dir> [<source dir>]
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
end_office() { [ -z "$OFFICE_PID" ] || end_pid "$OFFICE_PID"; }
on_cleanup end_office
editor_up 'db\.DLL — 1 道题 — 题库编辑$'

# ---- Ctrl+V of rows another program copied ----------------------------------------------------
printf '编号\t题目\t答案\r\n7\t"两行的\n题目"\t"答""七"""\r\n8\t第八题\t答八\r\n' >"$E2E_WORK/rows.txt"
QT_QPA_PLATFORM=xcb "$E2E_OFFICE" copy "$E2E_WORK/rows.txt" >"$E2E_WORK/office.log" 2>&1 &
OFFICE_PID=$!
wait_until "$E2E_TIMEOUT" "the other program to own the clipboard" grep -q '^ready' "$E2E_WORK/office.log"
click_at $((WX + WW / 2)) $((WY + WH / 2))
key ctrl+Home
key ctrl+v
wait_until "$E2E_TIMEOUT" "the paste's preview" title_is '^粘贴 2 行$'
key Return
wait_until "$E2E_TIMEOUT" "the pasted rows in the title" title_is 'db\.DLL\* — 3 道题 — 题库编辑$'
key ctrl+s
wait_until "$E2E_TIMEOUT" "the saved bank" title_is 'db\.DLL — 3 道题 — 题库编辑$'
"$E2E_BANK" export "$E2E_INSTALL/db.DLL" >"$E2E_WORK/pasted.csv"
grep -qF '7,"两行的' "$E2E_WORK/pasted.csv" && grep -qxF '题目","答""七"""' "$E2E_WORK/pasted.csv" &&
    grep -qxF '8,"第八题","答八"' "$E2E_WORK/pasted.csv" ||
    fail "the saved bank lacks the pasted rows: $(cat "$E2E_WORK/pasted.csv")"
end_pid "$OFFICE_PID"
OFFICE_PID=

pass "rows another program copied, pasted with Ctrl+V through the preview and saved"
