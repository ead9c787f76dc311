#!/bin/bash
# Start after start, the presenter comes up, shows a question and ends when asked, every time:
# a fault that strikes one start in dozens (threads of the start-up racing each other) shows
# here, where a test that starts the program once would pass by luck. Each round starts the
# program, draws a question with Space, and ends it through the exit question; the program must
# end with status 0 and nothing on its error output may report a crash.
# Usage: [E2E_STARTS=N] repeated_starts.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

starts=${E2E_STARTS:-20}
Q=(100 245 600 50)
WHITE='#ffffff'

start_xvfb
make_install shijian=5

# What Wine and the C runtime print when a program faults, and what a Qt fatal message says.
crash_pattern='Unhandled exception|page fault|Segmentation fault|Aborted|ASSERT|QFATAL|terminate called'

for ((round = 1; round <= starts; round++)); do
    start_app
    key space
    wait_until "$E2E_TIMEOUT" "the question after Space (start $round)" has_colour "${Q[@]}" "$WHITE" 40
    key alt+F4
    wait_until "$E2E_TIMEOUT" "the exit question (start $round)" question_window >/dev/null
    key y
    wait_app_ended "$E2E_TIMEOUT"
    if grep -Eiq "$crash_pattern" "$E2E_WORK/app.log"; then
        cp "$E2E_WORK/app.log" "$E2E_WORK/crash-$round.log"
        fail "start $round of $starts crashed: $(grep -Eim3 "$crash_pattern" "$E2E_WORK/app.log")"
    fi
    [ "$E2E_APP_STATUS" = 0 ] || fail "start $round of $starts ended with status $E2E_APP_STATUS"
done
pass "$starts starts in a row: each showed a question and ended normally"
