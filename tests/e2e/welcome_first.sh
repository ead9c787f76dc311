#!/bin/bash
# With huanying=1 the first thing the screen shows is the welcome picture, every start: a
# separate X client reads the screen each time anything is drawn on it, from before the start
# until the welcome picture has stood over the main screen for a second, and no read may show
# the main screen's background, not even for the millisecond or two between two drawings. Many
# starts under the window manager, then as many with a compositing manager as well.
# Usage: welcome_first.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

WELCOME='#2060c0'
STARTS=${E2E_STARTS:-10}

command -v python3 >/dev/null || fail "missing tool: python3"
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || fail "missing python3-xlib (scripts/install-deps.sh installs it)"

covered() {
    shot && near "$(pixel 2 2)" "$WELCOME" 12 &&
        near "$(pixel $((E2E_SCREEN_W - 3)) $((E2E_SCREEN_H - 3)))" "$WELCOME" 12
}
uncovered() { ! covered; }
watch_ended() { ! kill -0 "$E2E_SPY_PID" 2>/dev/null; }
top_windows() { xwininfo -root -children | grep -c '^ *0x'; }
top_windows_are() { [ "$(top_windows)" -eq "$1" ]; }

# one_start: starts the presenter under watch, lets the welcome picture stand for a second,
# ends the presenter and prints the watch's line.
one_start() {
    local bare
    bare=$(top_windows)
    rm -f "$E2E_WORK/ready" "$E2E_WORK/stop"
    /usr/bin/python3 "$E2E_HERE/watch_screen.py" "$E2E_WORK/ready" "$E2E_WORK/stop" \
        "WANTED=$WELCOME" "UNWANTED=$E2E_BG" >"$E2E_WORK/watch.out" 2>"$E2E_WORK/watch.err" &
    E2E_SPY_PID=$!
    wait_until "$E2E_TIMEOUT" "the screen watch to start" test -s "$E2E_WORK/ready"
    launch_app
    wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
    wait_until "$E2E_TIMEOUT" "the welcome picture over the screen" covered
    holds_for 1 uncovered || fail "the welcome picture did not stay on top"
    : >"$E2E_WORK/stop"
    wait_until "$E2E_TIMEOUT" "the screen watch to report" watch_ended
    wait "$E2E_SPY_PID" || fail "the screen watch failed: $(cat "$E2E_WORK/watch.err")"
    E2E_SPY_PID=
    end_pid "$E2E_APP_PID"
    E2E_APP_PID=
    wait_until "$E2E_TIMEOUT" "the presenter's windows to go" top_windows_are "$bare"
    cat "$E2E_WORK/watch.out"
}

# starts LABEL: STARTS starts; fails when any of them showed the main screen.
flashes=0
starts() {
    local i line n=0
    for ((i = 1; i <= STARTS; i++)); do
        line=$(one_start)
        e2e_log "$1 start $i: $line"
        [[ $line == *' unwanted=0 '* && $line == *' first=WANTED '* ]] || n=$((n + 1))
    done
    e2e_log "$1: the main screen showed before or between the welcome picture in $n of $STARTS starts"
    flashes=$((flashes + n))
}

make_install huanying=1
convert -size "${E2E_SCREEN_W}x${E2E_SCREEN_H}" "xc:$WELCOME" -quality 95 "$E2E_INSTALL/welcome.jpg"

start_xvfb
starts "window manager"
stop_session
start_xvfb
start_compositor
starts "window manager and compositor"

[ "$flashes" -eq 0 ] || fail "the main screen showed before the welcome picture in $flashes of $((2 * STARTS)) starts"
pass "the welcome picture was the first and only picture in $((2 * STARTS)) starts"
