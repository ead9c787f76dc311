#!/bin/bash
# A start without the question bank, as the operator sees it: the data module's two error boxes
# and then set-up's come up one after the other, each on its own, before the main screen shows;
# once the last one is closed, the main screen shows the background from bg.jpg.
# Usage: missing_bank.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

# Prints the id of the error box that is up, when it is not the one given.
new_box() {
    local id
    id=$(box_window) || return 1
    [ "$id" != "$1" ] && echo "$id"
}

start_xvfb
make_install
rm "$E2E_INSTALL/db.DLL"
launch_app
previous=none
for n in 1 2 3; do
    box=$(wait_until "$E2E_TIMEOUT" "error box $n" new_box "$previous")
    main_window >/dev/null && fail "the main screen is up under error box $n"
    e2e_log "error box $n up, no main screen"
    key Return
    previous=$box
done
wait_until "$E2E_TIMEOUT" "the main screen after the third box" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the background on the main screen" screen_shows_background
holds_for 1 box_window || fail "a fourth box came up over the main screen"
stop_session
pass "three error boxes before the main screen, none over it"
