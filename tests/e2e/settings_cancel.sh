#!/bin/bash
# Cancelling the settings dialog with real input: an edit of the countdown length, then "取消"
# writes nothing; Space advances the show right after (the hidden step button has the focus
# back); reopening shows the edit still there.
# Usage: settings_cancel.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_xvfb
make_install shijian=7
start_app
cp "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before"

open_settings
plus_x=$((DLG_X + 120 + 85 - 9)) plus_y=$((DLG_Y + 89 + 28 + 10))
# Its value, inside the focus rectangle (3 px in from the value cell).
value=($((DLG_X + 120 + 18 + 3)) $((DLG_Y + 89 + 28 + 4)) $((85 - 36 - 6)) 13)
value_changed() { shot && [ "$(region_hash "${value[@]}")" != "$1" ]; }
shot
unedited=$(region_hash "${value[@]}")
click_at "$plus_x" "$plus_y"
wait_until "$E2E_TIMEOUT" "the spinner's value to change after a click on plus" value_changed "$unedited"
edited=$(region_hash "${value[@]}")

# 取消 at (368, 16) on the panel (top 481), 75 x 25.
click_at $((DLG_X + 368 + 37)) $((DLG_Y + 481 + 16 + 12))
wait_until "$E2E_TIMEOUT" "the dialog to close after 取消" no_dialog_window
cmp -s "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before" || fail "取消 changed opt.ini"

# The keyboard works the show again at once.
Q=(100 245 600 50)
key space
wait_until "$E2E_TIMEOUT" "a question after Space following 取消" has_colour "${Q[@]}" '#ffffff' 40

# Reopened, the dialog still shows the edit.
open_settings
shot
[ "$(region_hash "${value[@]}")" = "$edited" ] || fail "the reopened dialog lost the edited length"
click_at $((DLG_X + 368 + 37)) $((DLG_Y + 481 + 16 + 12))
wait_until "$E2E_TIMEOUT" "the dialog to close after the second 取消" no_dialog_window
cmp -s "$E2E_INSTALL/opt.ini" "$E2E_WORK/opt.before" || fail "the second 取消 changed opt.ini"
app_running || fail "the presenter ended"
pass "取消 writes nothing, gives Space back to the show, keeps the edit for the next opening"
