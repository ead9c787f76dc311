#!/bin/bash
# The bank editor on a dark desktop theme (GTK's Adwaita dark, through Qt's GTK theme, as on a
# GNOME desktop set to dark), read from the X server's pixels: rows marked as problems keep their
# text readable against their mark (contrast of at least 4.5 : 1), the other rows keep the
# theme's dark, and the toolbar's buttons after undo and redo stand where they stood once an
# edit names what undo would take back.
# Usage: editor_look.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/editor_lib.sh"
qt_plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
[ -e "$qt_plugins/platformthemes/libqgtk3.so" ] || { echo "SKIP: Qt's GTK theme not installed"; exit 77; }

E2E_QUESTIONS_CSV='编号,题目,答案
1,一年有几个季节？,四个
2,一周有几天？,七天
3,一天有几小时？,二十四
4,一小时有几分钟？,六十'
start_xvfb
make_install

start_editor QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
editor_up 'db\.DLL — 4 道题 — 题库编辑$'

# shot NAME: the editor's window as the X server shows it, as a PPM file.
shot() { import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage -depth 8 "$E2E_WORK/$1.ppm"; }
# The screen as it is once the window has drawn what the last input asked for: two shots alike.
settled_shot() {
    local previous=
    shot "$1"
    until [ -n "$previous" ] && cmp -s "$E2E_WORK/$1.ppm" "$previous"; do
        cp "$E2E_WORK/$1.ppm" "$E2E_WORK/$1.previous.ppm"
        previous=$E2E_WORK/$1.previous.ppm
        shot "$1"
    done
}
wait_until "$E2E_TIMEOUT" "the window drawn" settled_shot before

# Row 2 takes row 1's number: both rows are problems now, and undo names the edit. The current
# row goes on to row 3, so that rows 1 and 2 show their mark, row 4 the theme's own.
key Down
xdotool type --delay 50 1
key Return
key Down
wait_until "$E2E_TIMEOUT" "the edit in the title" title_is 'db\.DLL\* — 4 道题 — 题库编辑$'
wait_until "$E2E_TIMEOUT" "the window drawn" settled_shot marked

python3 - "$E2E_WORK/before.ppm" "$E2E_WORK/marked.ppm" <<'PY' || fail "the editor's look on a dark theme"
import sys

def ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    w, h = int(fields[1]), int(fields[2])
    pixels = data[at + 1:]
    return w, h, lambda x, y: tuple(pixels[(y * w + x) * 3:(y * w + x) * 3 + 3])

def luminance(c):
    def channel(v):
        v /= 255
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in c)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b

def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)

w, h, before = ppm(sys.argv[1])
_, _, marked = ppm(sys.argv[2])
x0, x1 = w // 4, w // 2  # inside the question column
# The table's empty part below its rows shows the theme's base colour.
base = marked(w // 2, h // 2)
problems = []
if luminance(base) > 0.2:
    problems.append("the table's base %s is not dark: the theme was not applied" % (base,))
def common(get, y):
    counts = {}
    for x in range(x0, x1):
        c = get(x, y)
        counts[c] = counts.get(c, 0) + 1
    return max(counts, key=counts.get)
# The rows, top down: bands of lines of one colour between the grid's lines, from the first
# line of the table's base colour (the first row, before the edit) on.
table_top = next(y for y in range(h) if common(before, y) == base)
bands, start, colour = [], None, None
for y in range(table_top, h // 2):
    c = common(marked, y)
    if start is not None and c != colour:
        if y - start >= 10:
            bands.append((start, y, colour))
        start = None
    if start is None:
        start, colour = y, c
rows = [b for b in bands if b[2] != base or b[1] - b[0] < 40][:4]
if len(rows) < 4:
    problems.append("expected four rows, found %s" % (rows,))
else:
    mark = rows[0][2]
    if rows[1][2] != mark:
        problems.append("rows 1 and 2 are not marked alike: %s, %s" % (mark, rows[1][2]))
    if contrast(mark, base) < 1.5:
        problems.append("the problem rows' mark %s does not stand out from %s" % (mark, base))
    for number, (top, bottom, background) in enumerate(rows[:2], 1):
        # The row's texts (number, question, answer) lie anywhere across it; the grid's and a
        # cell frame's lines (a column of one colour down the whole row) are no text.
        best = 1.0
        for x in range(w // 20, w * 19 // 20):
            column = {marked(x, y) for y in range(top + 1, bottom - 1)}
            if len(column) == 1:
                continue
            best = max([best] + [contrast(c, background) for c in column])
        print("problem row %d: mark %s, text contrast %.1f : 1" % (number, background, best))
        if best < 4.5:
            problems.append("row %d: text contrast %.1f : 1 against its mark" % (number, best))
    if luminance(rows[3][2]) > 0.2:
        problems.append("row 4, no problem, shows %s instead of the theme's dark" % (rows[3][2],))
# The toolbar: the buttons after undo and redo have not moved. It stands above the table's
# header (which is one row high); its right part holds those buttons.
row_height = rows[0][1] - rows[0][0] if rows else 20
moved = [y for y in range(0, table_top - row_height - 4)
         if any(before(x, y) != marked(x, y) for x in range(w // 4, w * 3 // 4))]
if moved:
    problems.append("the toolbar's right part changed on lines %d-%d" % (moved[0], moved[-1]))
for p in problems:
    print("FAIL:", p)
sys.exit(1 if problems else 0)
PY
pass "problem rows readable on a dark theme, the other rows dark, the toolbar in place"
