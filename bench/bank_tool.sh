#!/usr/bin/env bash
# velquo-bank on a bank of 100,000 questions, timed from outside the process side by side with
# mdb-export: export against mdb-export on the same table (alternated runs), check (without and
# with the demo installation's opt.ini, whose layout every question is then measured by), and
# build from the list as Excel/WPS save it (GBK CSV, .xlsx with shared strings).
#
#   bench/bank_tool.sh BUILD_DIR [RUNS]      (RUNS: runs of each command, 9 by default)
#
# Prints for each command the median wall and CPU (user + system) seconds and the largest peak
# resident set, and the median of the pairwise ratios export / mdb-export. Needs GNU time.
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-9}
root=$(cd "$(dirname "$0")/.." && pwd)
bank=$build/tools/bank/velquo-bank
testbank=$build/tests/velquo-test-bank
settings=$build/demo-install/opt.ini
[ -x "$bank" ] && [ -x "$testbank" ] && [ -f "$settings" ] ||
    { echo "no $bank, $testbank or $settings: build velquo-bank, velquo-test-bank and" \
        "demo_install first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$testbank" large "$work/bank.DLL"
"$bank" export "$work/bank.DLL" >"$work/exported.csv"
/usr/bin/python3 "$root/bench/make_question_lists.py" "$work/exported.csv" "$work"
# Warm the page cache for every input.
cat "$work/bank.DLL" "$work/list-gbk.csv" "$work/list.xlsx" >/dev/null

# One run: "wall cpu peak-KB" on stdout; the command's own output is dropped.
measure() {
    /usr/bin/time -f '%e %U %S %M' -o "$work/t" "$@" >/dev/null 2>&1 || true
    awk '{ printf "%s %.3f %s\n", $1, $2 + $3, $4 }' "$work/t"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
report() { # name file
    printf '%-28s wall %6.3f s   cpu %6.3f s   peak RSS %7d KB\n' "$1" \
        "$(cut -d' ' -f1 "$2" | median)" "$(cut -d' ' -f2 "$2" | median)" \
        "$(cut -d' ' -f3 "$2" | sort -g | tail -1)"
}

: >"$work/ours" ; : >"$work/peer" ; : >"$work/ratio"
for _ in $(seq "$runs"); do
    a=$(measure "$bank" export "$work/bank.DLL")
    b=$(measure mdb-export "$work/bank.DLL" 题)
    echo "$a" >>"$work/ours"
    echo "$b" >>"$work/peer"
    awk -v a="${a%% *}" -v b="${b%% *}" 'BEGIN { printf "%.3f\n", a / b }' >>"$work/ratio"
done
for what in check check-layout build-csv build-xlsx; do : >"$work/$what"; done
for _ in $(seq "$runs"); do
    measure "$bank" check "$work/bank.DLL" >>"$work/check"
    measure "$bank" check "$work/bank.DLL" --settings "$settings" >>"$work/check-layout"
    measure "$bank" build "$work/list-gbk.csv" "$work/out.DLL" >>"$work/build-csv"
    measure "$bank" build "$work/list.xlsx" "$work/out.DLL" >>"$work/build-xlsx"
done

echo "100,000 questions, $(stat -c %s "$work/bank.DLL") bytes; $runs runs each; load $(cut -d' ' -f1 /proc/loadavg)"
report "velquo-bank export" "$work/ours"
report "mdb-export" "$work/peer"
printf '%-28s %.3f (median of the pairwise ratios)\n' "export / mdb-export wall" "$(median <"$work/ratio")"
report "velquo-bank check" "$work/check"
report "velquo-bank check, opt.ini" "$work/check-layout"
report "velquo-bank build (GBK CSV)" "$work/build-csv"
report "velquo-bank build (.xlsx)" "$work/build-xlsx"
