#!/bin/bash
# Two presenters show the same screens through a whole question on a desk with one screen: the
# start, the question drawn, the countdown stopped at "0", the answer revealed and hidden again.
# Used to show that a build which adds a capability (the host's console, the kept show) leaves
# the written start and steps unchanged where the capability is not used: run it with an older
# presenter as the reference.
# Usage: E2E_REFERENCE=<older velquo> same_screens.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

[ -x "${E2E_REFERENCE:-}" ] || fail "E2E_REFERENCE names no presenter to compare with"

# One question, so that both draw the same one.
E2E_QUESTIONS_CSV='编号,题目,答案
1,彩虹一共有几种颜色？请说出它们的名字。,七种'
Q=(100 245 600 50)
A=(100 275 600 150)
C=(780 100 240 110)
NEXT_X=953 NEXT_Y=683
HOT_X=1000 HOT_Y=520

# The countdown has stopped when the same picture shows over more than one tick's length.
COUNT_SEEN= COUNT_SINCE=
countdown_stopped() {
    shot || return 1
    local h
    h=$(region_hash "${C[@]}")
    if [ "$h" != "$COUNT_SEEN" ]; then
        COUNT_SEEN=$h COUNT_SINCE=$(now_ms)
        return 1
    fi
    [ $(($(now_ms) - COUNT_SINCE)) -gt 1300 ]
}

# shots NAME: runs the presenter installed in $E2E_INSTALL through the question, saving a
# screenshot of each state as NAME-<state>.png.
shots() {
    local name=$1
    make_install shijian=2
    start_app
    shot "$E2E_WORK/$name-start.png"
    key space
    wait_until "$E2E_TIMEOUT" "the question after Space" has_colour "${Q[@]}" '#ffffff' 40
    shot "$E2E_WORK/$name-question.png"
    key space
    wait_until "$E2E_TIMEOUT" "the countdown after Space" has_colour "${C[@]}" '#ffff00' 40
    COUNT_SEEN= COUNT_SINCE=
    wait_until 10 "the countdown to stop at 0" countdown_stopped
    shot "$E2E_WORK/$name-zero.png"
    click_at "$NEXT_X" "$NEXT_Y"
    wait_until "$E2E_TIMEOUT" "the answer after the next-step picture" has_colour "${A[@]}" '#00ff00' 40
    # The pointer leaves the picture, so that both shots are taken without it over anything.
    pointer_at 5 5
    shot "$E2E_WORK/$name-answer.png"
    click_at "$HOT_X" "$HOT_Y"
    wait_until "$E2E_TIMEOUT" "the answer hidden by the hot spot" lacks_colour "${A[@]}" '#00ff00'
    pointer_at 5 5
    shot "$E2E_WORK/$name-hidden.png"
    end_pid "$E2E_APP_PID"
    E2E_APP_PID=
}

start_xvfb
built=$E2E_VELQUO
E2E_VELQUO=$E2E_REFERENCE
shots reference
E2E_VELQUO=$built
shots built

differ=0
for state in start question zero answer hidden; do
    n=$(compare -metric AE "$E2E_WORK/reference-$state.png" "$E2E_WORK/built-$state.png" null: 2>&1 || true)
    e2e_log "$state: $n pixels differ"
    [ "$n" = 0 ] || differ=1
done
[ $differ -eq 0 ] || { E2E_KEEP=1; fail "the screens differ (shots kept in $E2E_WORK)"; }
pass "the same screens as the reference presenter at the start and through a whole question"
