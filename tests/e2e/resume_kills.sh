#!/bin/bash
# The show survives its presenter being killed: a show of 60 steps is stepped with real keys and
# the presenter killed with SIGKILL at random points, 100 times in all (a kill often lands in the
# middle of a step's write). After each kill the state file 上一场.ini must parse, its count must
# match its numbers, none drawn twice, and it must hold what the killed run drew. The next start
# must offer "继续上一场（已出 N 题）" with the file's N, and after choosing it from the right-button
# menu no question drawn before comes back. Once a show has reached 60 steps, "新的一场" starts
# the next one.
#
# The test's window into the runs is VELQUO_SHOW_TRACE: with it set the presenter tells on its
# error output the menu entry it offers ("offer <text>"), each number it draws ("drawn <n>",
# after the draw's write) and each resume ("resumed <n>").
# Usage: [E2E_KILLS=N] [E2E_SEED=S] resume_kills.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

kills=${E2E_KILLS:-100}
show_steps=60
seed=${E2E_SEED:-$((EPOCHSECONDS % 32768))}
RANDOM=$seed
e2e_log "seed $seed (E2E_SEED=$seed repeats this run)"

# 25 questions: a 60-step show draws 20 of them.
E2E_QUESTIONS_CSV=$'编号,题目,答案'
for ((i = 1; i <= 25; i++)); do E2E_QUESTIONS_CSV+=$'\n'"$i,第${i}题？,答案$i"; done

start_xvfb
make_install shijian=30
export VELQUO_SHOW_TRACE=1
STATE=$E2E_INSTALL/上一场.ini

# check_state KEPT PRINTED: prints "count counter" of the state file, or "none" when there is
# none; fails when the file is broken or does not hold the kept numbers followed by the
# printed ones (and at most one more, drawn and written just before the kill).
cat >"$E2E_WORK/check_state.py" <<'PY'
import os, sys
path, kept, printed = sys.argv[1], sys.argv[2].split(), sys.argv[3].split()
if not os.path.exists(path):
    if kept or printed:
        sys.exit("the state file is gone, though numbers were drawn")
    print("none")
    sys.exit(0)
raw = open(path, "rb").read()
try:
    text = raw.decode("ascii")
except UnicodeDecodeError:
    sys.exit("not ASCII: %r" % raw[:200])
sections, section = {}, None
for line in text.split("\r\n"):
    if line.startswith("[") and line.endswith("]"):
        section = sections.setdefault(line[1:-1], {})
    elif line:
        if section is None or "=" not in line:
            sys.exit("not INI: %r" % text)
        k, v = line.split("=", 1)
        section[k] = v
show, bank = sections.get("show"), sections.get("bank")
if not show or not bank or not text.endswith("\r\n"):
    sys.exit("a section or the end is missing: %r" % text)
for k in ("size", "modified", "sha1"):
    if not bank.get(k):
        sys.exit("the bank's %s is missing" % k)
drawn = show["drawn"].split(",") if show["drawn"] else []
count, counter = int(show["count"]), int(show["counter"])
if count != len(drawn):
    sys.exit("count=%d but %d numbers: %r" % (count, len(drawn), text))
if len(set(drawn)) != len(drawn):
    sys.exit("a number drawn twice: %s" % drawn)
if drawn and show["number"] != drawn[-1]:
    sys.exit("the question up is not the last drawn: %r" % text)
# Three steps a question; a step back takes one of the two after the draw.
if count != (counter + 2) // 3:
    sys.exit("counter %d does not go with %d drawn" % (counter, count))
if drawn[:len(kept)] != kept:
    sys.exit("the kept numbers %s are not the file's first %s" % (kept, drawn))
new = drawn[len(kept):]
if new[:len(printed)] != printed or len(new) - len(printed) not in (0, 1):
    sys.exit("drawn in this run %s, the file has %s after the kept ones" % (printed, new))
print(count, counter)
PY
check_state() { /usr/bin/python3 "$E2E_WORK/check_state.py" "$STATE" "$1" "$2"; }

log_has() { grep -qxF "$1" "$E2E_WORK/app.log"; }
printed_draws() { sed -n 's/^drawn \([0-9]\+\)$/\1/p' "$E2E_WORK/app.log" | tr '\n' ' '; }

# The show as the last kill left it.
kept=""   # the numbers the file holds, in order
count=0 counter=0
shows=1 resumes=0 steps_sent=0
for ((k = 1; k <= kills; k++)); do
    start_app
    if [ "$count" -gt 0 ]; then
        offer="offer 继续上一场（已出 $count 题）"
        wait_until "$E2E_TIMEOUT" "the offer of $count questions (start $k)" log_has "$offer"
        open_menu 500 400
        if [ "$counter" -ge "$show_steps" ]; then
            # 新的一场: the menu's second entry.
            key Down Down Return
            wait_until "$E2E_TIMEOUT" "新的一场 to clear the kept show" test ! -e "$STATE"
            kept="" count=0 counter=0
            shows=$((shows + 1))
        else
            key Down Return
            wait_until "$E2E_TIMEOUT" "the resume of $count questions" log_has "resumed $count"
            resumes=$((resumes + 1))
        fi
        wait_until "$E2E_TIMEOUT" "the menu to close" no_menu_window
    elif grep -q '^offer ' "$E2E_WORK/app.log"; then
        fail "start $k offers a show though none was kept: $(grep '^offer ' "$E2E_WORK/app.log")"
    fi

    # A few steps, now and then one back, and the kill at a random moment after the last key:
    # often before the step's write is through.
    n=$((RANDOM % 5))
    for ((s = 0; s < n; s++)); do
        if [ $((RANDOM % 6)) = 0 ]; then key Page_Up; else key space; fi
        steps_sent=$((steps_sent + 1))
    done
    [ "$n" -gt 0 ] && until_ms $(($(now_ms) + RANDOM % 60))
    kill -KILL "$E2E_APP_PID"
    wait "$E2E_APP_PID" 2>/dev/null || true
    E2E_APP_PID=

    printed=$(printed_draws)
    for number in $printed; do
        [[ " $kept " != *" $number "* ]] || fail "kill $k: number $number drawn again after the resume"
    done
    result=$(check_state "$kept" "$printed") || fail "kill $k: the state file is broken: $(cat "$STATE" 2>/dev/null)"
    if [ "$result" = none ]; then
        count=0 counter=0
    else
        read -r new_count counter <<<"$result"
        [ "$new_count" -gt "$count" ] || [ -z "$printed" ] || fail "kill $k: drew but kept no more"
        count=$new_count
        kept=$(sed -n 's/^drawn=//p' "$STATE" | tr -d '\r' | tr ',' ' ')
    fi
done
pass "$kills kills in $shows shows ($steps_sent keys, $resumes resumes): the state file always whole, each restart offered its count, no question came back"
