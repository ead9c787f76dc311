#!/bin/bash
# The installed menu entry as a user meets it: `cmake --install` into a DESTDIR, then the menu
# entry's command under Xvfb with a fresh HOME. The first start makes ~/晚会出题 from the demo
# installation and starts the presenter there (its pictures on the screen); a drag writes that
# folder's opt.ini. Before the second start the operator replaces bg.jpg and an upgrade brings a
# different presenter: the second start reuses the folder, refreshes the program and keeps
# opt.ini, the pictures and the bank.
# Usage: launcher.sh <build dir> <source dir>
E2E_SCREEN_W=1280
E2E_SCREEN_H=800
source "$2/tests/e2e/lib.sh" "$@"

DEST=$E2E_WORK/dest
DESTDIR=$DEST cmake --install "$E2E_BUILD" --prefix /usr >"$E2E_WORK/install.log" ||
    fail "cmake --install: $(tail -5 "$E2E_WORK/install.log")"
desktop=$DEST/usr/share/applications/org.velquo.Velquo.desktop
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
launcher=$DEST/usr/bin/$exec_line
[ -x "$launcher" ] || fail "the menu entry's Exec=$exec_line is not installed"
demo=$DEST/usr/share/velquo/demo

export HOME=$E2E_WORK/home
mkdir -p "$HOME"
E2E_INSTALL=$HOME/晚会出题

# --help and --version answer on the terminal and start nothing: no show, no folder.
help=$(DISPLAY= LANG=C.UTF-8 LC_ALL= "$launcher" --help) || fail "velquo --help failed"
grep -q '^Usage: velquo' <<<"$help" || fail "velquo --help says: $help"
help_zh=$(DISPLAY= LANG=zh_CN.UTF-8 LC_ALL= "$launcher" --help) || fail "velquo --help failed"
grep -q '^用法：velquo' <<<"$help_zh" || fail "velquo --help under a Chinese locale says: $help_zh"
version=$(DISPLAY= "$launcher" --version) || fail "velquo --version failed"
[[ $version =~ ^velquo\ [0-9]+\.[0-9]+ ]] || fail "velquo --version says: $version"
"$launcher" --bogus >/dev/null 2>&1 && fail "velquo accepted an unknown option"
[ ! -e "$E2E_INSTALL" ] || fail "--help, --version or an unknown option made $E2E_INSTALL"

# start_from_menu: runs the menu entry's command as the desktop does (no terminal, started from
# another folder); the launcher replaces itself with the presenter, so its pid is the presenter's.
start_from_menu() {
    (cd / && QT_QPA_PLATFORM=xcb exec "$launcher") >"$E2E_WORK/app.log" 2>&1 &
    E2E_APP_PID=$!
    E2E_APP_STATUS=
    wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
}

# A picture of the folder stretched over the screen, as the presenter shows it: the colour of
# a pixel of it.
picture_pixel() {
    convert "$1" -resize "${E2E_SCREEN_W}x${E2E_SCREEN_H}!" \
        -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
hex() { printf '#%02x%02x%02x' $1; }
# shows PICTURE WHAT: waits until the screen matches the picture at three places clear of the texts.
SPOTS=("640 780" "20 780" "1250 400")
shows() {
    local x y i expected=()
    for i in "${!SPOTS[@]}"; do
        read -r x y <<<"${SPOTS[$i]}"
        expected[i]=$(hex "$(picture_pixel "$1" "$x" "$y")")
    done
    wait_until "$E2E_TIMEOUT" "$2" shows_colours "${expected[@]}"
}
shows_colours() {
    shot || return 1
    local x y i=0
    for colour in "$@"; do
        read -r x y <<<"${SPOTS[$i]}"
        near "$(pixel "$x" "$y")" "$colour" 20 || return 1
        i=$((i + 1))
    done
}

start_xvfb

# ---- first start -------------------------------------------------------------------------------
[ ! -e "$E2E_INSTALL" ] || fail "the user folder exists before the first start"
start_from_menu
[ -d "$E2E_INSTALL" ] || fail "no user folder $E2E_INSTALL after the first start"
for f in opt.ini db.DLL bg.jpg welcome.jpg next.png di.wav 0.wav; do
    cmp -s "$demo/$f" "$E2E_INSTALL/$f" || fail "$f in the user folder is not the demo's"
done
cmp -s "$DEST/usr/lib/velquo/velquo" "$E2E_INSTALL/velquo" || fail "the user folder has no copy of the presenter"
[ "$(readlink -f "/proc/$E2E_APP_PID/cwd")" = "$(readlink -f "$E2E_INSTALL")" ] ||
    fail "the presenter's current folder is $(readlink -f "/proc/$E2E_APP_PID/cwd"), not the user folder"
[ "$(readlink -f "/proc/$E2E_APP_PID/exe")" = "$(readlink -f "$E2E_INSTALL/velquo")" ] ||
    fail "the running presenter is $(readlink -f "/proc/$E2E_APP_PID/exe"), not the user folder's copy"
leftovers=$(find "$HOME" -name '.velquo*')
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"
e2e_log "user folder made; presenter running from it"

# The demo's welcome picture covers the screen; a click uncovers the demo's background.
shows "$E2E_INSTALL/welcome.jpg" "the demo's welcome picture on the screen"
click_at 640 400
shows "$E2E_INSTALL/bg.jpg" "the demo's background after the click"
shot "$E2E_BUILD/install-launcher-first-start.png"
e2e_log "screenshot: $E2E_BUILD/install-launcher-first-start.png"

# A drag of the title (demo: 42, 32) by 40 right and 10 down writes the user's opt.ini.
ini_is biaoti_left 42 && ini_is biaoti_top 32 || fail "the demo's title is not at 42, 32"
xdotool mousemove --sync 100 60
xdotool mousedown 1
for step in 1 2 3 4; do
    xdotool mousemove --sync $((100 + 10 * step)) $((60 + 10 * step / 4))
done
xdotool mouseup 1
wait_until "$E2E_TIMEOUT" "biaoti_left=82 and biaoti_top=42 in the user's opt.ini" \
    eval 'ini_is biaoti_left 82 && ini_is biaoti_top 42'
cmp -s "$demo/opt.ini" "$E2E_INSTALL/opt.ini" && fail "opt.ini unchanged"
end_pid "$E2E_APP_PID"
E2E_APP_PID=

# ---- the operator's own background, and an upgrade ---------------------------------------------
OWN_BG='#30a050'
convert -size 1280x800 "xc:$OWN_BG" -quality 95 "$E2E_INSTALL/bg.jpg"
saved_ini=$(md5sum <"$E2E_INSTALL/opt.ini")
saved_bg=$(md5sum <"$E2E_INSTALL/bg.jpg")
saved_bank=$(md5sum <"$E2E_INSTALL/db.DLL")
folder_inode=$(stat -c %i "$E2E_INSTALL")
# A presenter that differs from the installed one stands for the copy an older package left.
printf 'older' >>"$E2E_INSTALL/velquo"
cmp -s "$DEST/usr/lib/velquo/velquo" "$E2E_INSTALL/velquo" && fail "could not make the copy differ"

# ---- second start ------------------------------------------------------------------------------
start_from_menu
[ "$(stat -c %i "$E2E_INSTALL")" = "$folder_inode" ] || fail "the user folder was made anew"
cmp -s "$DEST/usr/lib/velquo/velquo" "$E2E_INSTALL/velquo" || fail "the presenter copy was not refreshed"
[ "$(md5sum <"$E2E_INSTALL/opt.ini")" = "$saved_ini" ] || fail "opt.ini changed by the second start"
[ "$(md5sum <"$E2E_INSTALL/bg.jpg")" = "$saved_bg" ] || fail "bg.jpg changed by the second start"
[ "$(md5sum <"$E2E_INSTALL/db.DLL")" = "$saved_bank" ] || fail "db.DLL changed by the second start"
[ "$(ls -d "$HOME"/* | wc -l)" = 1 ] || fail "a second folder in HOME: $(ls "$HOME")"
shows "$E2E_INSTALL/welcome.jpg" "the welcome picture at the second start"
click_at 640 400
shows "$E2E_INSTALL/bg.jpg" "the operator's own background"
app_running || fail "the presenter ended"
pass "first start makes ~/晚会出题 and runs the presenter there; a drag writes its opt.ini; the second start reuses the folder, refreshes the program and keeps settings, pictures and bank"
