#!/bin/bash
# velquo-bank.exe under wine does what the Linux build's velquo-bank does, byte for byte: the
# banks built from every form a question list comes in (GBK, UTF-8 and UTF-16 text, workbooks,
# and the files that are refused), what check and export print for them and for the Jet files
# Access made (Chinese texts among them), the exit statuses and the messages. Both run in
# folders of the same layout on relative names, so that the messages name the same files; the
# build's timing ("用时 12 毫秒") is the only part of the output that may differ.
# Usage: bank_outputs.sh <Linux velquo-bank> <folder of velquo-bank.exe> <source dir>
set -euo pipefail
linux_bank=$(realpath "$1")
windows_bank=$(realpath "$2")/velquo-bank.exe
src=$(realpath "$3")
command -v wine >/dev/null || { echo "SKIP: wine not installed"; exit 77; }
# Debian's own Python first: its openpyxl writes the workbooks.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" -c 'import openpyxl' 2>/dev/null || { echo "SKIP: python3-openpyxl not installed"; exit 77; }
export WINEDEBUG=-all
# The banks' creation date is taken from here, so that two builds of one list are equal.
export SOURCE_DATE_EPOCH=1765238400

work=$(mktemp -d "${TMPDIR:-/tmp}/velquo-bank-outputs.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The tools choose their platform themselves (check runs the presenter's start without a screen).
unset QT_QPA_PLATFORM
mkdir -p "$work/sources" "$work/linux" "$work/windows"
"$python" "$src/tests/tools/make_question_sources.py" "$src/demo/questions.csv" "$work/sources"
cp "$src"/tests/data/jet/*.mdb "$work/sources/"

passed=0 failed=0
# run NAME ARGS...: the same command in both folders (on copies of the same inputs); their exit
# statuses, standard output and standard error compared.
run() {
    local name=$1 side dir status
    shift
    for side in linux windows; do
        dir=$work/$side
        cp -n "$work"/sources/* "$dir/"
        status=0
        if [ $side = linux ]; then
            (cd "$dir" && "$linux_bank" "$@" >"$name.out" 2>"$name.err") || status=$?
        else
            # Bounded: a program that waits on a box nobody can see would hold the run.
            (cd "$dir" && timeout 120 wine "$windows_bank" "$@" >"$name.out" 2>"$name.err") || status=$?
        fi
        echo "$status" >"$dir/$name.status"
        # Where a message names a file by its whole path, the folder is left out (the
        # Windows program sees it on drive Z:, and writes it with backslashes where it makes the
        # path itself).
        native="Z:${dir//\//\\}\\"
        sed -i -E -e 's/，用时 [0-9]+ 毫秒$/，用时 N 毫秒/' -e "s|(Z:)?$dir/||g" \
            -e "s|${native//\\/\\\\}||g" "$dir/$name.err" "$dir/$name.out"
    done
    local differs=""
    for part in status out err; do
        cmp -s "$work/linux/$name.$part" "$work/windows/$name.$part" || differs="$differs $part"
    done
    if [ -z "$differs" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $name: the$differs differ" >&2
        for part in $differs; do
            diff <(od -c "$work/linux/$name.$part") <(od -c "$work/windows/$name.$part") | head -20 >&2 || true
        done
    fi
}
# same_file NAME: a file both sides wrote is the same, byte for byte.
same_file() {
    if cmp "$work/linux/$1" "$work/windows/$1" >&2; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1 differs between the two builds" >&2
    fi
}

for f in gbk.csv utf8.csv utf8-bom.csv utf16le.txt utf16be.txt questions.xlsx extras.xlsx \
    document.docx old.xls; do
    run "build-$f" build "$f" "$f.DLL"
    if [ -f "$work/linux/$f.DLL" ]; then
        same_file "$f.DLL"
        run "check-$f" check "$f.DLL"
        run "export-$f" export "$f.DLL"
    fi
done
run build-sheet build questions.xlsx sheet.DLL --sheet 说明
run build-open build gbk.csv open.DLL --no-password
[ -f "$work/linux/open.DLL" ] && same_file open.DLL
# Written over: the old bank is kept as .bak on both.
run build-again build utf8.csv gbk.csv.DLL
same_file gbk.csv.DLL.bak
run export-wrong-password export utf8.csv.DLL --password wrong

# The files Access made, with the table and password each has.
while read -r file table password; do
    args=(--no-password)
    [ "$password" != - ] && args=(--password "$password")
    run "export-$file" export "$file" "$table" "${args[@]}"
    run "check-$file" check "$file" "${args[@]}"
done <<'EOF'
mdbreader_V2000_with-password.mdb Table1 password
mdbreader_V2000_no-password.mdb Table1 -
jackcessencrypt_db-enc.mdb Table1 -
jackcess_testUnicodeCompV2003.mdb Table -
jackcess_delTestV2000.mdb Table -
jackcess_overflowTestV2000.mdb Table1 -
EOF
run export-no-table export jackcess_test2V2000.mdb NoSuchTable --no-password
run usage frobnicate

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
