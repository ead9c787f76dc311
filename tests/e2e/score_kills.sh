#!/bin/bash
# The scores survive the presenter being killed: four teams are scored with real keys (digits,
# Shift+digits, Ctrl+Z) in 200 random changes, the presenter killed with SIGKILL at a random
# moment after each burst of keys. After each kill the record 比赛记录.csv must be whole lines
# only (header first, after the byte-order mark); after each restart and 继续上一场 the scores the
# show took up again must be the record's last values, team by team, also where the kill came
# between the record's line and the state file's write.
#
# The window into the runs is VELQUO_SHOW_TRACE: the presenter tells "resumed <n>" and, once the
# state file holds them, "scores <a>,<b>,<c>,<d>".
# Usage: [E2E_CHANGES=N] [E2E_SEED=S] score_kills.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

changes=${E2E_CHANGES:-200}
seed=${E2E_SEED:-$((EPOCHSECONDS % 32768))}
RANDOM=$seed
e2e_log "seed $seed (E2E_SEED=$seed repeats this run)"

start_xvfb
make_install shijian=30
printf 'duiwu1=红队\r\nduiwu2=喆堃队\r\nduiwu3=蓝队\r\nduiwu4=绿队\r\n' | iconv -f UTF-8 -t GBK >>"$E2E_INSTALL/opt.ini"
export VELQUO_SHOW_TRACE=1
REC=$E2E_INSTALL/比赛记录.csv

# check_record: prints the teams' last scores from the record ("100" for a team it never names),
# or fails when a line is cut or malformed.
cat >"$E2E_WORK/check_record.py" <<'PY'
import os, sys
path = sys.argv[1]
teams = ["红队", "喆堃队", "蓝队", "绿队"]
last = {t: 100 for t in teams}
if os.path.exists(path):
    raw = open(path, "rb").read()
    if not raw.startswith(b"\xef\xbb\xbf"):
        sys.exit("no byte-order mark")
    if raw and not raw.endswith(b"\r\n"):
        sys.exit("the last line is cut: %r" % raw[-80:])
    lines = raw[3:].decode("utf-8").split("\r\n")[:-1]
    if not lines or lines[0] != "时间,题号,队伍,变化,新分数,操作":
        sys.exit("no header: %r" % lines[:1])
    for line in lines[1:]:
        f = line.split(",")
        if len(f) != 6 or f[2] not in last or f[5] not in ("加分", "扣分", "更正", "撤销"):
            sys.exit("a malformed line: %r" % line)
        int(f[1]); int(f[3])
        last[f[2]] = int(f[4])
print(",".join(str(last[t]) for t in teams))
PY
record_scores() { /usr/bin/python3 "$E2E_WORK/check_record.py" "$REC"; }
log_has() { grep -qxF "$1" "$E2E_WORK/app.log"; }
log_matches() { grep -qx "$1" "$E2E_WORK/app.log"; }

sent=0 runs=0 resumes=0
while [ "$sent" -lt "$changes" ]; do
    runs=$((runs + 1))
    start_app
    if [ "$runs" -eq 1 ]; then
        # A question up, so that there is a show to keep.
        key space
        wait_until "$E2E_TIMEOUT" "the first draw kept" log_matches 'drawn [0-9]*'
    else
        wait_until "$E2E_TIMEOUT" "the offer (start $runs)" log_matches 'offer 继续上一场.*'
        expected=$(record_scores) || fail "start $runs: the record is broken"
        open_menu 500 400
        key Down Return
        wait_until "$E2E_TIMEOUT" "the resume (start $runs)" log_matches 'resumed [0-9]*'
        wait_until "$E2E_TIMEOUT" "the resumed scores kept (start $runs)" log_matches 'scores .*'
        got=$(sed -n 's/^scores //p' "$E2E_WORK/app.log" | tail -n 1)
        [ "$got" = "$expected" ] || fail "start $runs: resumed with $got, the record ends at $expected"
        resumes=$((resumes + 1))
        wait_until "$E2E_TIMEOUT" "the menu to close" no_menu_window
    fi
    n=$((1 + RANDOM % 8))
    for ((i = 0; i < n; i++)); do
        team=$((1 + RANDOM % 4))
        case $((RANDOM % 5)) in
        0) key shift+$team ;;
        1) key ctrl+z ;;
        *) key $team ;;
        esac
        sent=$((sent + 1))
    done
    until_ms $(($(now_ms) + RANDOM % 40))
    kill -KILL "$E2E_APP_PID"
    wait "$E2E_APP_PID" 2>/dev/null || true
    E2E_APP_PID=
    record_scores >/dev/null || fail "kill $runs: the record is broken: $(record_scores 2>&1)"
done
pass "$sent score keys over $runs runs killed with SIGKILL ($resumes resumes): the record always whole lines, every resume at the record's last scores ($(record_scores))"
