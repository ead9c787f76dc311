#!/bin/bash
# With two monitors connected, a pingmu that names no connected screen (absent, "abc", 0, 7)
# starts the show on the primary, left-hand monitor, with no error box and nothing written; with
# pingmu=2 and the projector plugged in only during the show, the show goes to it once it is
# there; with pingmu=2 a box at start opens in the middle of the right-hand monitor.
# Usage: projector_fallback.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_two_screens
for value in absent abc 0 7; do
    make_install
    [ "$value" = absent ] || printf 'pingmu=%s\r\n' "$value" >>"$E2E_INSTALL/opt.ini"
    cp "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before"
    start_app
    wait_until "$E2E_TIMEOUT" "pingmu $value: the main screen on the primary monitor" main_geometry_is "0 0 1920 1080"
    # Set-up has run to its end: the next-step picture is there.
    wait_until "$E2E_TIMEOUT" "pingmu $value: the next-step picture" has_colour $((1920 - 30 - 49)) $((1080 - 60 - 49)) 49 49 "$E2E_NEXT_COLOR" 2000
    no_box_window || fail "pingmu $value: an error box"
    cmp -s "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before" || fail "pingmu $value: opt.ini was written"
    e2e_log "pingmu $value: primary monitor, no error box, nothing written"
    end_pid "$E2E_APP_PID"
    E2E_APP_PID=
done

# pingmu=2 with the projector not yet plugged in: the show starts on the primary monitor; once
# the projector is connected, the show goes to it, and opt.ini stays as it was.
make_install
printf 'pingmu=2\r\n' >>"$E2E_INSTALL/opt.ini"
cp "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before"
xrandr --output DUMMY1 --off
start_app
wait_until "$E2E_TIMEOUT" "pingmu 2 without the projector: the main screen on the primary monitor" main_geometry_is "0 0 1920 1080"
plugged=$(now_ms)
xrandr --output DUMMY1 --mode 1920x1080 --pos 1920x0
wait_until "$E2E_TIMEOUT" "the show on the projector once it is plugged in" main_geometry_is "1920 0 1920 1080"
E2E_SHOW_X=1920
wait_until "$E2E_TIMEOUT" "the background on the projector" screen_shows_background
wait_until "$E2E_TIMEOUT" "the next-step picture on the projector" has_colour $((3840 - 30 - 49)) $((1080 - 60 - 49)) 49 49 "$E2E_NEXT_COLOR" 2000
e2e_log "pingmu 2, projector plugged in during the show: on it after $(($(now_ms) - plugged)) ms"
cmp -s "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before" || fail "plugging the projector in wrote opt.ini"
no_box_window || fail "an error box after plugging the projector in"
end_pid "$E2E_APP_PID"
E2E_APP_PID=
E2E_SHOW_X=0

# A message box at start (next.png missing) opens in the middle of the show's monitor.
make_install
printf 'pingmu=2\r\n' >>"$E2E_INSTALL/opt.ini"
rm "$E2E_INSTALL/next.png"
launch_app
wait_until "$E2E_TIMEOUT" "the error box about next.png" box_window >/dev/null
read -r BOX_X BOX_Y BOX_W BOX_H <<<"$(window_geometry "$(box_window)")"
centre_x=$((BOX_X + BOX_W / 2)) centre_y=$((BOX_Y + BOX_H / 2))
[ "$centre_x" -gt 2800 ] && [ "$centre_x" -lt 2960 ] && [ "$centre_y" -gt 460 ] && [ "$centre_y" -lt 620 ] ||
    fail "error box at $BOX_X, $BOX_Y ($BOX_W x $BOX_H), not in the middle of the right-hand monitor"
e2e_log "pingmu 2: the error box at $BOX_X, $BOX_Y ($BOX_W x $BOX_H)"
pass "pingmu absent, abc, 0 and 7 give the primary monitor without an error box; a projector plugged in later takes the show pingmu 2 names; with pingmu 2 a box opens on the right-hand monitor"
