#!/bin/bash
# The settings dialog's drop-downs and spinners work where the dialog really is, on either
# monitor and with every core busy: the dialog stands centred on the show's monitor, each colour
# edit's palette opens right under the edit, flush with its right edge, and holding a spinner's
# plus button keeps stepping until the release. Several starts, each on the primary monitor or
# on the projector's in turn, all with the window manager slowed down by the load, and in most
# of them held still while the dialog's window is made and mapped, so that it takes the window
# in only afterwards, as a manager starved of the processor does.
# Usage: settings_places.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

RUNS=${E2E_RUNS:-8}

start_two_screens
start_cpu_load

# The colour edits' places in the dialog (box top plus the edit's top; all at left 360, 289 x 21).
EDIT_TOPS=(52 $((89 + 60)) $((178 + 25)) $((267 + 25)))

# The window manager stopped and let go again; it is never left stopped (a stopped process
# would not end either).
hold_wm() { kill -STOP "$E2E_WM_PID"; }
release_wm() { [ -z "$E2E_WM_PID" ] || kill -CONT "$E2E_WM_PID" 2>/dev/null || true; }
on_cleanup release_wm
dialog_made() { xdotool search --all --pid "$E2E_APP_PID" --name '^设置$' >/dev/null 2>&1; }

# open_settings_on X LATE: the right-button menu at X, 400 on the main screen, then "系统设置";
# with LATE=1 the window manager is held from the choice until the dialog's window exists.
open_settings_on() {
    open_menu "$1" 400
    [ "$2" = 1 ] && hold_wm
    # "系统设置" is the menu's second entry, after "自动排版".
    key Down Down Return
    if [ "$2" = 1 ]; then
        wait_until "$E2E_TIMEOUT" "the settings dialog's window to be made" dialog_made
        release_wm
    fi
    wait_until "$E2E_TIMEOUT" "the settings dialog after 系统设置" dialog_window >/dev/null
    read -r DLG_X DLG_Y DLG_W DLG_H <<<"$(window_geometry "$(dialog_window)")"
    wait_until "$E2E_TIMEOUT" "the settings dialog painted" dialog_painted
}

# palette_below EDIT_TOP: a click on the colour edit opens its palette right under it, its
# right edge on the edit's; Escape closes it again.
palette_below() {
    local top=$((DLG_Y + $1)) right=$((DLG_X + 360 + 289)) px py pw ph
    click_at $((DLG_X + 360 + 100)) $((top + 10))
    wait_until "$E2E_TIMEOUT" "the colour palette" menu_window >/dev/null
    read -r px py pw ph <<<"$(window_geometry "$(menu_window)")"
    key Escape
    wait_until "$E2E_TIMEOUT" "the palette to close" no_menu_window
    [ $((px + pw)) -eq "$right" ] && [ "$py" -eq $((top + 21)) ] || {
        echo "palette at $px, $py ($pw x $ph) for the edit at $((DLG_X + 360)), $top (289 x 21)"
        return 1
    }
}

# spinner_repeats: holding RzSpinner2's plus button steps its value before the release (the
# press itself does not step; repeating starts 400 ms after it).
spinner_repeats() {
    local plus_x=$((DLG_X + 120 + 85 - 9)) plus_y=$((DLG_Y + 89 + 28 + 10))
    local value=($((DLG_X + 120 + 18 + 3)) $((DLG_Y + 89 + 28 + 4)) $((85 - 36 - 6)) 13)
    local before ok=0
    value_changed() { shot && [ "$(region_hash "${value[@]}")" != "$1" ]; }
    # The focus first (a click on the value cell does nothing else), so that only a step
    # changes what the cell shows.
    click_at $((DLG_X + 120 + 42)) $((DLG_Y + 89 + 28 + 10))
    pointer_at "$plus_x" "$plus_y"
    shot
    before=$(region_hash "${value[@]}")
    xdotool mousedown 1
    local deadline=$(($(now_ms) + $(to_ms "$E2E_TIMEOUT")))
    while [ "$(now_ms)" -lt "$deadline" ]; do
        value_changed "$before" && { ok=1; break; }
        sleep 0.05 # polling interval
    done
    xdotool mouseup 1
    [ "$ok" = 1 ] || { echo "the value did not step while plus was held"; return 1; }
}

# Cancel: 取消 at (368, 16) on the panel (top 481), 75 x 25.
cancel_settings() {
    click_at $((DLG_X + 368 + 37)) $((DLG_Y + 481 + 16 + 12))
    wait_until "$E2E_TIMEOUT" "the dialog to close after 取消" no_dialog_window
}

bad=0
for ((run = 1; run <= RUNS; run++)); do
    screen=$((run % 2 + 1))
    late=$(((run - 1) / 2 % 3 != 1))
    E2E_SHOW_X=$(((screen - 1) * 1920))
    make_install
    printf 'pingmu=%d\r\n' "$screen" >>"$E2E_INSTALL/opt.ini"
    start_app
    open_settings_on $((E2E_SHOW_X + 500)) "$late"
    problems=()
    [ "$DLG_X $DLG_Y" = "$((E2E_SHOW_X + (1920 - 691) / 2)) $(((1080 - 531) / 2))" ] ||
        problems+=("dialog at $DLG_X, $DLG_Y, not centred on monitor $screen")
    for top in "${EDIT_TOPS[@]}"; do
        why=$(palette_below "$top") || problems+=("$why")
    done
    why=$(spinner_repeats) || problems+=("$why")
    if [ "${#problems[@]}" -eq 0 ]; then
        e2e_log "start $run, monitor $screen, manager late $late: dialog at $DLG_X, $DLG_Y; palettes and spinner right"
    else
        bad=$((bad + 1))
        for why in "${problems[@]}"; do e2e_log "start $run, monitor $screen, manager late $late: $why"; done
    fi
    cancel_settings
    end_pid "$E2E_APP_PID"
    E2E_APP_PID=
done
[ "$bad" -eq 0 ] || fail "the palettes or the spinner were off in $bad of $RUNS starts"
pass "in $RUNS starts on both monitors under load, the window manager late in most, the palettes opened under their edits and the spinner repeated"
