#!/bin/bash
# The bank editor takes a picture into a row with real input: 选择图片… from the 素材 menu, the
# file's path typed into the file dialog. The picture is copied into 题库素材
# beside the bank, its thumbnail shows in the row, and the saved bank names it, as the bank tool
# reads it back.
# Usage: editor_picture.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/editor_lib.sh"

E2E_QUESTIONS_CSV='编号,题目,答案
1,这是什么动物？,猫
2,第二题,答二'
start_xvfb
make_install
# A bright red picture elsewhere on the disk, as a camera's card holds it.
mkdir -p "$E2E_WORK/card"
convert -size 400x300 xc:'#ff0000' -quality 95 "$E2E_WORK/card/cat.jpg"

start_editor
CLEAN_TITLE='db\.DLL — 2 道题 — 题库编辑$'
editor_up "$CLEAN_TITLE"

# A click into the table (below its rows) gives it the focus and Ctrl+Home makes the row
# current; the 素材 menu's first entry is 选择图片….
click_at $((WX + WW / 2)) $((WY + WH / 2))
key ctrl+Home
key alt+m
key Return
wait_until "$E2E_TIMEOUT" "the file dialog" editor_window '^选择图片 — 第 1 行$' >/dev/null
dialog=$(editor_window '^选择图片 — 第 1 行$')
wait_until "$E2E_TIMEOUT" "the file dialog to take the focus" active_is "$dialog"
xdotool type --delay 20 "$E2E_WORK/card/cat.jpg"
key Return
wait_until "$E2E_TIMEOUT" "the change in the title" editor_window 'db\.DLL\* — 2 道题 — 题库编辑$' >/dev/null
[ -f "$E2E_INSTALL/题库素材/cat.jpg" ] || fail "the picture is not in 题库素材"
cmp -s "$E2E_WORK/card/cat.jpg" "$E2E_INSTALL/题库素材/cat.jpg" || fail "the copy differs from the picture"

# The thumbnail: a block of red in the table's top part (53 x 40 pixels at most), in its own
# colours once the row is no longer the selected one.
key Down
wait_until "$E2E_TIMEOUT" "the picture's thumbnail in the row" \
    has_colour "$WX" "$WY" "$WW" 200 '#ff0000' 1000

key ctrl+s
wait_until "$E2E_TIMEOUT" "the saved bank" editor_window "$CLEAN_TITLE" >/dev/null
"$E2E_BANK" export "$E2E_INSTALL/db.DLL" >"$E2E_WORK/saved.csv"
grep -qxF '1,"这是什么动物？","猫","cat.jpg"' "$E2E_WORK/saved.csv" ||
    fail "the saved bank does not name the picture: $(cat "$E2E_WORK/saved.csv")"
"$E2E_BANK" check "$E2E_INSTALL/db.DLL" >"$E2E_WORK/check.log" 2>&1 ||
    fail "the bank tool's check refuses the bank: $(cat "$E2E_WORK/check.log")"

pass "a picture chosen from the 素材 menu, copied beside the bank, shown in the row and saved"
