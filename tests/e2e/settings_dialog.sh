#!/bin/bash
# Settings dialog end to end: open it from the main screen's right-button menu with real input,
# raise the countdown length with the spinner's plus button, save, dismiss the success message,
# and find the new length in opt.ini with the program ended (no exit question asked).
# Usage: settings_dialog.sh <build dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
[ -f "$here/lib.sh" ] && source "$here/lib.sh"

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cp -r "$here/../../demo/." "$work/"
cp "$build/velquo" "$work/velquo"
# Start straight on the main screen.
sed -i 's/^huanying=.*/huanying=0\r/' "$work/opt.ini"
old=$(grep -a '^shijian=' "$work/opt.ini" | tr -d '\r' | cut -d= -f2)

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$work" && QT_QPA_PLATFORM=xcb exec ./velquo) &
app=$!
for _ in $(seq 100); do xdotool search --pid "$app" --onlyvisible >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1

# Right button on the main screen, then the menu's first entry "系统设置".
xdotool mousemove 500 400 click 3
sleep 0.5
xdotool mousemove 520 410 click 1
sleep 1
# The dialog (691 x 531) stands centred: left 166, top 118. RzSpinner2 is at (120, 28) in the
# countdown box (top 89); its plus button is the right end of the 85-pixel spinner.
for _ in 1 2 3; do xdotool mousemove 363 245 click 1; sleep 0.2; done
# 保存 at (224, 16) on the panel (top 481), 75 x 25.
xdotool mousemove 427 627 click 1
sleep 1
# Dismiss "保存成功，程序关闭后请重新打开！".
xdotool key Return

for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "FAIL: program still running after the save"; exit 1; fi
wait "$app" || { echo "FAIL: program exit status $?"; exit 1; }
app=
new=$(grep -a '^shijian=' "$work/opt.ini" | tr -d '\r' | cut -d= -f2)
expected=$((old + 3))
[ "$new" = "$expected" ] || { echo "FAIL: shijian $new, expected $expected"; exit 1; }
grep -aq '^weizhishezhi=0' "$work/opt.ini" || { echo "FAIL: weizhishezhi not 0"; exit 1; }
echo "PASS: shijian $old -> $new, program ended"
