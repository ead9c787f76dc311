# Shared by the bank editor's end-to-end tests, sourced after lib.sh.
E2E_EDITOR=${E2E_EDITOR:-$E2E_BUILD/tools/editor/velquo-bank-editor}
[ -x "$E2E_EDITOR" ] || fail "editor not built: $E2E_EDITOR"
EDITOR_PID=

# start_editor [NAME=VALUE...]: the editor on the installation's db.DLL, with settings of its
# own (the remembered folder) inside the test's folder and the environment given; it ends with
# the test, also when the test fails.
start_editor() {
    (cd "$E2E_WORK" && export XDG_CONFIG_HOME=$E2E_WORK/config QT_QPA_PLATFORM=xcb "$@" &&
        exec "$E2E_EDITOR" "$E2E_INSTALL/db.DLL") >"$E2E_WORK/editor.log" 2>&1 &
    EDITOR_PID=$!
    on_cleanup end_editor
}
end_editor() { [ -z "$EDITOR_PID" ] || end_pid "$EDITOR_PID"; }
editor_ended() { ! kill -0 "$EDITOR_PID" 2>/dev/null; }

# editor_window TITLE_REGEX: the id of the editor's visible window so titled.
editor_window() {
    local id
    id=$(xdotool search --all --pid "$EDITOR_PID" --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id"
}
title_is() { editor_window "$1" >/dev/null; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# editor_up TITLE_REGEX: waits for the editor's window so titled to take the focus; sets win and
# its geometry WX WY WW WH.
editor_up() {
    wait_until "$E2E_TIMEOUT" "the editor's window" title_is "$1"
    win=$(editor_window "$1")
    read -r WX WY WW WH <<<"$(window_geometry "$win")"
    wait_until "$E2E_TIMEOUT" "the editor to take the focus" active_is "$win"
}
