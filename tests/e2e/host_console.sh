#!/bin/bash
# The host's console with a projector: two monitors side by side (Xorg's dummy driver), the show
# on the left-hand one (no pingmu). The console opens on the right-hand monitor without taking
# the keys from the show; after a draw it shows the answer, marked (未公布), while the hall's
# screen shows none; its 下一步 button (a real click) starts the countdown, and its live picture
# of the hall shows the countdown within a frame or two of the hall; the next 下一步 reveals the
# answer on both screens and the mark goes; a key typed on the console steps the show once;
# when the show moves to the console's monitor the console moves to the other, when only the
# show's monitor is left it hides and comes back with the projector, writing nothing; closing
# the console leaves the show running and writes zhuchi=0.
# Usage: host_console.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

CONSOLE_TITLE='^主持人视图$'
CONSOLE_BG='#1c1f24'
CONSOLE_ANSWER='#ffb000'
UNREVEALED='#ff5050'
BUTTON='#2d4a6e'
HALL_ANSWER='#00ff00'
COUNTDOWN='#ffff00'

console_window() { window_with_title "$CONSOLE_TITLE"; }
no_console_window() { ! console_window >/dev/null; }
# The hall's screen below the title and countdown, left of the next-step picture.
hall_answer_pixels() { colour_count 0 200 1800 800 "$HALL_ANSWER"; }
# The console's monitor.
console_pixels() { colour_count 1920 0 1920 1080 "$1"; }
# bounding_box COLOUR X Y W H: "X Y W H" in screen coordinates of the pixels near the colour
# inside the region of the last screenshot: flat colours, so a close match (no text edges).
bounding_box() {
    convert "$E2E_SHOT" -crop "${4}x${5}+${2}+${3}" +repage -fuzz 2% -fill black +opaque "$1" \
        -fill white -opaque "$1" -trim -format '%w %h %X %Y' info: |
        awk -v x0="$2" -v y0="$3" '{ sub(/^\+/, "", $3); sub(/^\+/, "", $4); print x0 + $3, y0 + $4, $1, $2 }'
}
console_shows() { shot && [ "$(console_pixels "$1")" -ge "$2" ]; }
console_lacks() { shot && [ "$(console_pixels "$1")" -eq 0 ]; }
hall_lacks_answer() { shot && [ "$(hall_answer_pixels)" -eq 0 ]; }
hall_shows_answer() { shot && [ "$(hall_answer_pixels)" -ge 40 ]; }

start_two_screens
# A countdown large enough to read in the live picture, a quarter of the hall's size.
make_install shijian=30 shijian_fontsize=150 shijian_left=800 shijian_top=60
start_app
wait_until "$E2E_TIMEOUT" "the main screen on the left-hand monitor" main_geometry_is "0 0 1920 1080"
wait_until "$E2E_TIMEOUT" "the host's console" console_window >/dev/null
console=$(console_window)
read -r CX CY CW CH <<<"$(window_geometry "$console")"
[ "$CX" -ge 1920 ] && [ $((CX + CW)) -le 3840 ] ||
    fail "the console at $CX, $CY ($CW x $CH), not on the right-hand monitor"
wait_until "$E2E_TIMEOUT" "the console painted" console_shows "$BUTTON" 2000
[ "$(xdotool getactivewindow)" = "$(main_window)" ] || fail "the console took the keys from the show"
e2e_log "console at $CX, $CY ($CW x $CH); the show keeps the focus"

# A draw from the show's own key: the console knows the answer, the hall does not.
key Return
wait_until "$E2E_TIMEOUT" "the question on the hall's screen" has_colour 100 240 800 60 '#ffffff' 40
wait_until "$E2E_TIMEOUT" "the answer on the console" console_shows "$CONSOLE_ANSWER" 100
wait_until "$E2E_TIMEOUT" "the answer marked 未公布 on the console" console_shows "$UNREVEALED" 100
[ "$(hall_answer_pixels)" -eq 0 ] || fail "the hall's screen shows the answer before the reveal"
e2e_log "drawn: console answer $(console_pixels "$CONSOLE_ANSWER") px, mark $(console_pixels "$UNREVEALED") px; hall answer 0 px"

# The console's buttons: one row of eight equal ones, 下一步 first.
read -r BX BY BW BH <<<"$(bounding_box "$BUTTON" 1920 0 1920 1080)"
[ "$BW" -ge 800 ] && [ "$BH" -ge 40 ] || fail "no row of buttons on the console ($BX $BY $BW $BH)"
button_x() { echo $((BX + BW * (2 * $1 + 1) / 16)); }
# The live picture: the hall's background, scaled down, on the console's monitor.
read -r PX PY PW PH <<<"$(bounding_box "$E2E_BG" 1920 0 1920 1080)"
[ "$PW" -ge 200 ] && [ "$PW" -lt 1920 ] || fail "no live picture on the console ($PX $PY $PW $PH)"
e2e_log "buttons $BX $BY $BW x $BH, live picture $PX $PY $PW x $PH"

# 下一步 on the console starts the countdown; the picture follows the hall.
HALL_COUNT="800,60,400,250"
PICTURE_COUNT="$((PX + 800 * PW / 1920)),$((PY + 60 * PH / 1080)),$((400 * PW / 1920)),$((250 * PH / 1080))"
/usr/bin/python3 "$E2E_HERE/two_places.py" "$E2E_WORK/ready" "$COUNTDOWN" 8 "$HALL_COUNT" "$PICTURE_COUNT" >"$E2E_WORK/lag" &
watcher=$!
wait_until "$E2E_TIMEOUT" "the screen watch to start" test -s "$E2E_WORK/ready"
click_at "$(button_x 0)" $((BY + BH / 2))
wait "$watcher" || fail "the screen watch failed"
e2e_log "countdown on the hall and in the live picture: $(cat "$E2E_WORK/lag")"
read -r first second lag reads <<<"$(tr '=' ' ' <"$E2E_WORK/lag" | awk '{ print $2, $4, $6, $8 }')"
[ "${first%.*}" -ge 0 ] || fail "the console's 下一步 started no countdown on the hall's screen"
[ "${second%.*}" -ge 0 ] || fail "the live picture never showed the countdown"
# Two frames at 60 Hz, and one read of each place of the watch.
[ "${lag%.*}" -le 50 ] || fail "the live picture showed the countdown $lag ms after the hall"

# The next 下一步 reveals: the hall shows the answer, the console's mark goes.
click_at "$(button_x 0)" $((BY + BH / 2))
wait_until "$E2E_TIMEOUT" "the answer on the hall's screen" hall_shows_answer
wait_until "$E2E_TIMEOUT" "the mark 未公布 to go" console_lacks "$UNREVEALED"
console_shows "$CONSOLE_ANSWER" 100 || fail "the console lost the answer at the reveal"
e2e_log "revealed: hall answer $(hall_answer_pixels) px, console answer $(console_pixels "$CONSOLE_ANSWER") px, no mark"

# A key on the console: a click on its empty middle gives it the keys, Page Down draws the next
# question once (its answer hidden from the hall and marked again).
click_at $((CX + CW / 2)) $((CY + CH * 3 / 5))
wait_until "$E2E_TIMEOUT" "the console to take the keys" sh -c "[ \"\$(xdotool getactivewindow)\" = $console ]"
key Next
wait_until "$E2E_TIMEOUT" "the hall's answer to go with the next question" hall_lacks_answer
wait_until "$E2E_TIMEOUT" "the next answer marked 未公布" console_shows "$UNREVEALED" 100
shot
has_colour 800 60 600 300 "$COUNTDOWN" 1 && fail "Page Down on the console stepped more than once (a countdown runs)"

# The show moved to the console's monitor (投影屏幕, screen 2): the console goes to the other.
console_on_left() { read -r CX CY CW CH <<<"$(window_geometry "$(console_window)")" && [ $((CX + CW)) -le 1920 ]; }
open_menu 400 300
key Down Down Down Right Down Return
wait_until "$E2E_TIMEOUT" "the show on the right-hand monitor" main_geometry_is "1920 0 1920 1080"
wait_until "$E2E_TIMEOUT" "the console on the left-hand monitor" console_on_left
e2e_log "show on screen 2: console at $CX, $CY"
# The projector unplugged: the show's screen is the only one, the console hides; plugged back in,
# the show returns there and the console comes back beside it.
xrandr --output DUMMY1 --off
wait_until "$E2E_TIMEOUT" "the show on the primary monitor" main_geometry_is "0 0 1920 1080"
wait_until "$E2E_TIMEOUT" "the console to hide with one screen left" no_console_window
xrandr --output DUMMY1 --mode 1920x1080 --pos 1920x0
wait_until "$E2E_TIMEOUT" "the show back on the projector" main_geometry_is "1920 0 1920 1080"
wait_until "$E2E_TIMEOUT" "the console back on the left-hand monitor" console_on_left
[ "$(ini_value zhuchi)" = "" ] || fail "the console's moves wrote zhuchi"
e2e_log "unplugged: console hidden; plugged back in: console at $CX, $CY"

# Closing the console: the show goes on, zhuchi=0.
click_at $((CX + CW / 2)) $((CY + CH * 3 / 5))
wait_until "$E2E_TIMEOUT" "the console to take the keys" sh -c "[ \"\$(xdotool getactivewindow)\" = $(console_window) ]"
key alt+F4
wait_until "$E2E_TIMEOUT" "the console to close" no_console_window
no_question_window || fail "closing the console asked the exit question"
app_running || fail "the presenter ended"
wait_until "$E2E_TIMEOUT" "zhuchi=0 in opt.ini" ini_is zhuchi 0
pass "the console opens on the other monitor, shows the answer before the hall, steps the show by its buttons and keys, follows the hall within $lag ms, closes into zhuchi=0"
