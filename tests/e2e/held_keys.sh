#!/bin/bash
# A held key steps once: Enter, Space, Page Down and Page Up, each held for two seconds twenty
# times over with a fast key repeat on the X server and every core busy, take exactly the one
# step of a press each time; the key counts again only after its release. E2E_HELD_FORWARD,
# E2E_HELD_BACK and E2E_HELD_ROUNDS, where set, name other step and step-back keys (the arrows a
# clicker sends) and how many questions' worth of holds to run. What each hold did is
# read off the screen: the question (a new one only at a draw), the countdown and the answer.
# The bank holds exactly the questions the holds draw, so a question drawn out of sight would
# show the used-up message too early.
# Usage: held_keys.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

HOLD=2 # seconds each key is held
read -ra FORWARD <<<"${E2E_HELD_FORWARD:-Return space Next}"
read -ra BACK <<<"${E2E_HELD_BACK:-Prior}"
ROUNDS=${E2E_HELD_ROUNDS:-10}
# Per question: draw, countdown, back, countdown, reveal, back, reveal; ROUNDS of those, then as
# many plain steps (a draw every third): with ten, twenty holds of each forward key, twenty of
# Page Up.
PLAN=()
for _ in $(seq "$ROUNDS"); do PLAN+=(F F P F F P F); done
for _ in $(seq "$ROUNDS"); do PLAN+=(F); done
DRAWS=$((ROUNDS + (ROUNDS + 2) / 3))

E2E_QUESTIONS_CSV=$(
    echo '编号,题目,答案'
    for n in $(seq "$DRAWS"); do echo "$n,第${n}题：请回答第${n}题,答案${n}"; done
)

start_xvfb
# Repeats after 200 ms, 30 a second: about 50 repeats in each hold. The server keeps the rate
# because it never resets (start_xvfb); one that resets with its last client forgets it.
xset r on
xset r rate 200 30
make_install shijian=99
start_app
start_cpu_load

Q=(100 245 600 40)  # the question's place
A=(100 285 600 120) # the answer's, below it
C=(792 112 200 80)  # the countdown's

# After a hold, the screen is read once the presenter has handled every key before a black-out
# and its undoing: key events are handled in their order.
blacked_out() { shot && near "$(pixel 2 2)" '#000000' 8 && near "$(pixel $((E2E_SCREEN_W - 3)) $((E2E_SCREEN_H - 3)))" '#000000' 8; }
# Fails where a message box stands in front (the bank used up), which takes the keys instead.
black_or_box() { box_window >/dev/null || blacked_out; }
settled_screen() {
    key b
    wait_until "$E2E_TIMEOUT" "black after B" black_or_box
    no_box_window || return 1
    key b
    wait_until "$E2E_TIMEOUT" "the show back after B" screen_shows_background
}
# The phase the screen shows, as the step counter's remainder: 1 after a draw (no countdown, no
# answer), 2 with the countdown, 0 with the answer.
screen_phase() {
    local countdown=0 answer=0
    [ "$(colour_count "${C[@]}" '#ffff00')" -ge 40 ] && countdown=1
    [ "$(colour_count "${A[@]}" '#00ff00')" -ge 40 ] && answer=1
    case $countdown$answer in
    00) echo 1 ;;
    10) echo 2 ;;
    01) echo 0 ;;
    *) echo "?" ;;
    esac
}

# forward_steps FROM PHASE CHANGED: the fewest steps from step counter FROM that end in PHASE and
# pass a draw exactly when the question CHANGED (1 or 0); "≥" before it where the question
# changed, since further draws would not show.
forward_steps() {
    local s k crossed
    for s in 1 2 3 4 5 6; do
        crossed=0
        for ((k = $1; k < $1 + s; k++)); do ((k % 3 == 0)) && crossed=1; done
        if [ $((($1 + s) % 3)) = "$2" ] && [ "$crossed" = "$3" ]; then
            [ "$3" = 1 ] && [ "$s" -gt 1 ] && echo "≥$s" || echo "$s"
            return
        fi
    done
    echo "?"
}

counter=0 back_at=-1 current= forward=0 back=0 hold=0 wrong=0
declare -A seen=() steps=()
for kind in "${PLAN[@]}"; do
    hold=$((hold + 1)) from=$counter
    if [ "$kind" = F ]; then
        k=${FORWARD[forward % ${#FORWARD[@]}]}
        forward=$((forward + 1))
        want=1
    else
        # A step back after a reveal or during the countdown, once; nothing right after a draw.
        k=${BACK[back % ${#BACK[@]}]} want=-1
        back=$((back + 1))
        { [ $((counter % 3)) = 1 ] || [ "$counter" = "$back_at" ]; } && want=0
    fi
    # The press lasts the hold's length; the presenter is not waited for here.
    xdotool keydown "$k" sleep "$HOLD" keyup "$k"
    settled_screen || fail "the bank was used up at hold $hold ($k): questions were drawn that never showed"
    phase=$(screen_phase)
    question=$(region_hash "${Q[@]}")
    changed=0
    [ "$question" != "$current" ] && changed=1
    if [ "$kind" = F ]; then
        took=$(forward_steps "$from" "$phase" "$changed")
        # A draw shows a question not seen before.
        [ "$changed" = 1 ] && [ -n "${seen[$question]:-}" ] && took="?"
    elif [ "$changed" = 1 ]; then
        took="?"
    elif [ "$phase" = $(((from + 2) % 3)) ] && [ "$want" = -1 ]; then
        took=-1
    elif [ "$phase" = $((from % 3)) ]; then
        took=0
    else
        took="?"
    fi
    [ "$(colour_count "${Q[@]}" '#ffffff')" -ge 40 ] || took="?"
    steps[$k]+=" $took"
    if [ "$took" != "$want" ]; then
        wrong=$((wrong + 1))
        e2e_log "hold $hold: $k held ${HOLD} s at step $from took $took steps, not $want"
    fi
    # On from what the screen shows.
    [ "$took" = -1 ] && back_at=$((from - 1))
    [ "$took" != "?" ] && counter=$((from + ${took#≥}))
    seen[$question]=1
    current=$question
done
summary=
for k in "${FORWARD[@]}" "${BACK[@]}"; do summary+="; $k:${steps[$k]}"; done
e2e_log "steps of each hold${summary}"
[ "$wrong" = 0 ] || fail "$wrong of $hold holds did not take their one step${summary}"

# Every question was seen: after the last one's countdown and reveal the next draw finds none.
key space
key space
wait_until "$E2E_TIMEOUT" "the last answer" has_colour "${A[@]}" '#00ff00' 40
key space
wait_until "$E2E_TIMEOUT" "the used-up message after $DRAWS questions" box_window >/dev/null
app_running || fail "the presenter ended"
pass "${FORWARD[*]} and ${BACK[*]} held ${HOLD} s under load: one step a press, ${#seen[@]} questions, none out of sight"
