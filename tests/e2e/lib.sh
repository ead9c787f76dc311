# Shared harness of the end-to-end tests: a private X server, a fresh installation per test, the
# presenter started in it, real input through xdotool and observations through screenshots.
# Sourced by each test as:  source lib.sh "$@"   (arguments: <build dir> [<source dir>])
# Every wait polls a condition against a deadline; nothing waits for a fixed time.

set -euo pipefail

E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_BUILD=$(cd "${1:-$E2E_HERE/../../build}" && pwd)
E2E_SOURCE=$(cd "${2:-$E2E_HERE/../..}" && pwd)
E2E_NAME=$(basename "$0" .sh)
E2E_VELQUO=${E2E_VELQUO:-$E2E_BUILD/velquo}
E2E_BANK=${E2E_BANK:-$E2E_BUILD/tools/bank/velquo-bank}
# The Windows build under wine: the folder of velquo.exe with everything it loads (the unzipped
# portable folder). The same tests then drive velquo.exe, and the banks are made by
# velquo-bank.exe.
E2E_WINDOWS=${E2E_WINDOWS:-}
# Screen of the private X server; the placements below are worked out for it.
E2E_SCREEN_W=${E2E_SCREEN_W:-1024}
E2E_SCREEN_H=${E2E_SCREEN_H:-768}
# Generous bounds: the machine is shared and a Debug build starts slowly.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/velquo-e2e-$E2E_NAME.XXXXXX")
E2E_INSTALL=$E2E_WORK/install
E2E_SHOT=$E2E_WORK/shot.png
E2E_XVFB_PID=
E2E_WM_PID=
E2E_COMPOSITOR_PID=
E2E_SPY_PID=
E2E_LOAD_PID=
E2E_APP_PID=
E2E_APP_STATUS=
E2E_KEEP=${E2E_KEEP:-0}
if [ -n "$E2E_WINDOWS" ]; then
    E2E_WINDOWS=$(cd "$E2E_WINDOWS" && pwd)
    E2E_VELQUO=$E2E_WINDOWS/velquo.exe
    E2E_BANK=$E2E_WORK/velquo-bank
    printf '#!/bin/sh\nexec wine %q "$@"\n' "$E2E_WINDOWS/velquo-bank.exe" >"$E2E_BANK"
    chmod +x "$E2E_BANK"
    export WINEDEBUG=${WINEDEBUG:--all}
fi

# The main screen's caption, and the exit question's, exactly as they stand: no program name after them.
E2E_MAIN_TITLE='^晚会随机出题系统$'
# Message boxes and error boxes carry the application's title alone.
E2E_BOX_TITLE='^Velquo晚会出题系统$'
E2E_QUESTION_TITLE='^提示$'

# ---- reporting -------------------------------------------------------------------------------

E2E_T0=${EPOCHREALTIME/[.,]/}
e2e_log() {
    local t=${EPOCHREALTIME/[.,]/}
    printf '[%s +%d ms] %s\n' "$E2E_NAME" $(((t - E2E_T0) / 1000)) "$*" >&2
}

fail() {
    printf 'FAIL: %s\n' "$*" >&2
    if [ -n "$E2E_APP_PID" ] && [ -s "$E2E_WORK/app.log" ]; then
        echo "--- presenter output ---" >&2
        tail -n 40 "$E2E_WORK/app.log" >&2
    fi
    if [ -n "${DISPLAY:-}" ] && [ -n "$E2E_XVFB_PID" ]; then
        # Keep a picture of the failure next to the test's work folder.
        local keep="${TMPDIR:-/tmp}/velquo-e2e-$E2E_NAME-failure.png"
        import -display "$DISPLAY" -window root "$keep" 2>/dev/null && echo "screen at failure: $keep" >&2
    fi
    exit 1
}

pass() { printf 'PASS: %s\n' "$*"; }

# ---- cleanup ---------------------------------------------------------------------------------

# end_pid PID: ends a process this harness started and reaps it.
end_pid() {
    if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}

# stop_session: ends the presenter, the window manager and the X server of this test.
stop_session() {
    end_pid "$E2E_LOAD_PID"
    end_pid "$E2E_SPY_PID"
    end_pid "$E2E_APP_PID"
    end_pid "$E2E_COMPOSITOR_PID"
    end_pid "$E2E_WM_PID"
    end_pid "$E2E_XVFB_PID"
    E2E_LOAD_PID= E2E_SPY_PID= E2E_APP_PID= E2E_COMPOSITOR_PID= E2E_WM_PID= E2E_XVFB_PID=
}

# on_cleanup COMMAND: runs COMMAND at the test's end, before the harness's own clean-up, whether
# the test passed or failed; the test's status is kept.
E2E_CLEANUPS=()
on_cleanup() { E2E_CLEANUPS+=("$1"); }

e2e_cleanup() {
    local status=$? command
    # A failing clean-up command must neither end the clean-up nor change the status.
    set +e
    for command in "${E2E_CLEANUPS[@]}"; do
        "$command"
    done
    stop_session
    if [ "$E2E_KEEP" = 1 ]; then
        echo "work folder kept: $E2E_WORK" >&2
    else
        rm -rf "$E2E_WORK"
    fi
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

# ---- waiting ---------------------------------------------------------------------------------

# Milliseconds of a monotonic-enough clock, and of a duration given in seconds ("2", "2.5").
now_ms() { local t=${EPOCHREALTIME/[.,]/}; echo $((t / 1000)); }
to_ms() {
    local whole=${1%%.*} frac=
    [[ $1 == *.* ]] && frac=${1#*.}
    frac=${frac}000
    echo $((10#${whole:-0} * 1000 + 10#${frac:0:3}))
}

# wait_until SECONDS DESCRIPTION COMMAND...: runs COMMAND until it succeeds; fails the test with
# DESCRIPTION when it has not succeeded by the deadline. Polls at short intervals.
wait_until() {
    local what=$2 deadline=$(($(now_ms) + $(to_ms "$1")))
    shift 2
    while true; do
        if "$@"; then
            return 0
        fi
        if [ "$(now_ms)" -ge "$deadline" ]; then
            fail "timed out waiting for: $what"
        fi
        sleep 0.05 # polling interval, not a wait for an event
    done
}

# holds_for SECONDS COMMAND...: succeeds when COMMAND keeps failing for the whole time; returns 1
# as soon as it succeeds. Shows that something does NOT happen within a bound (the program keeps
# running, a stopped countdown stays stopped).
holds_for() {
    local deadline=$(($(now_ms) + $(to_ms "$1")))
    shift
    while [ "$(now_ms)" -lt "$deadline" ]; do
        if "$@"; then
            return 1
        fi
        sleep 0.05 # polling interval
    done
    return 0
}

# ---- the X server ----------------------------------------------------------------------------

x_answers() { xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; }

# Starts a private Xvfb on a display number it picks itself and waits until it answers.
start_xvfb() {
    local fdfile=$E2E_WORK/display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN_W}x${E2E_SCREEN_H}x24" -nolisten tcp -noreset \
        3>"$fdfile" >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    wait_until "$E2E_TIMEOUT" "Xvfb to report its display" test -s "$fdfile"
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
    wait_until "$E2E_TIMEOUT" "X server $DISPLAY to answer" x_answers
    e2e_log "X server on $DISPLAY"
    start_wm
}

# Starts a private Xorg with the dummy video driver on a display number it picks itself: one
# 3840 x 1080 frame buffer that the desktop sees as two 1920 x 1080 monitors side by side, the
# primary on the left (DUMMY0), the projector on the right (DUMMY1). Xvfb knows only one
# monitor; the programs see two real screens here.
start_two_screens() {
    local tool
    for tool in Xorg xrandr; do
        command -v "$tool" >/dev/null || fail "missing tool: $tool (scripts/install-deps.sh installs it)"
    done
    [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] || fail "missing Xorg's dummy video driver (scripts/install-deps.sh installs it)"
    E2E_SCREEN_W=1920 E2E_SCREEN_H=1080
    mkdir -p "$E2E_WORK/xorg.conf.d"
    cat >"$E2E_WORK/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 3840 1080
        Modes "1920x1080"
    EndSubSection
EndSection
CONF
    local fdfile=$E2E_WORK/display
    : >"$fdfile"
    Xorg -displayfd 3 -config "$E2E_WORK/xorg.conf" -configdir "$E2E_WORK/xorg.conf.d" \
        -logfile "$E2E_WORK/xorg.log" -nolisten tcp -noreset -novtswitch -sharevts \
        3>"$fdfile" >"$E2E_WORK/xorg.out" 2>&1 &
    E2E_XVFB_PID=$!
    wait_until "$E2E_TIMEOUT" "Xorg to report its display" test -s "$fdfile"
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
    wait_until "$E2E_TIMEOUT" "X server $DISPLAY to answer" x_answers
    xrandr --fb 3840x1080 --output DUMMY0 --mode 1920x1080 --pos 0x0 ||
        fail "xrandr could not make the 3840x1080 frame buffer"
    # The second monitor on the driver's second output, with a display controller of its own: a
    # monitor declared with "xrandr --setmonitor ... none" is listed too, but the server keeps
    # the pointer on the outputs, so no click could reach it.
    xrandr --addmode DUMMY1 1920x1080 && xrandr --output DUMMY1 --mode 1920x1080 --pos 1920x0 ||
        fail "xrandr could not switch on the second monitor"
    [ "$(xrandr --listmonitors | sed -n 's/^Monitors: //p')" = 2 ] || fail "the X server shows no two monitors"
    e2e_log "Xorg (dummy driver) on $DISPLAY with two monitors"
    start_wm
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# A window manager, as on every desktop the presenter runs on: it makes the main screen full
# screen, gives windows the focus and turns Alt+F4 into a close request. Its own configuration,
# so that nothing of the user's applies.
start_wm() {
    cat >"$E2E_WORK/openbox.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy><center>yes</center></placement>
  <desktops><number>1</number></desktops>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
  <mouse></mouse>
</openbox_config>
XML
    openbox --config-file "$E2E_WORK/openbox.xml" >"$E2E_WORK/wm.log" 2>&1 &
    E2E_WM_PID=$!
    wait_until "$E2E_TIMEOUT" "the window manager" wm_running
}

# A compositing manager, as on desktops that draw windows with their own opacity: it blends each
# window into the screen by its _NET_WM_WINDOW_OPACITY. No shadows and no fading of its own, so
# that what the screen shows is the program's doing.
compositor_running() { xwininfo -root -children 2>/dev/null | grep -q 'xcompmgr'; }
start_compositor() {
    command -v xcompmgr >/dev/null || fail "missing tool: xcompmgr (scripts/install-deps.sh installs it)"
    xcompmgr -n >"$E2E_WORK/compositor.log" 2>&1 &
    E2E_COMPOSITOR_PID=$!
    # It announces itself by owning the screen's compositing selection, a window of its own.
    wait_until "$E2E_TIMEOUT" "the compositing manager" compositor_running
}

# ---- installation ----------------------------------------------------------------------------

# Background colour of the test installation's bg.jpg and colours of the text items, so that
# screenshots tell the items apart: title white, countdown yellow, question white, answer green.
E2E_BG='#102040'
E2E_NEXT_COLOR='#ff0000'

# write_ini FILE KEY=VALUE...: writes opt.ini (GBK, CR LF) with all 23 keys; arguments replace
# the defaults below.
write_ini() {
    local file=$1
    shift
    local -A v=(
        [biaoti]='知识竞赛' [biaoti_fontsize]=24 [biaoti_color]=16777215 [biaoti_left]=48 [biaoti_top]=72
        [shijian]=3 [shijian_fontsize]=40 [shijian_color]=65535 [shijian_left]=792 [shijian_top]=112
        [shijian_sound]=0
        [wenti_fontsize]=20 [wenti_color]=16777215 [wenti_width]=600 [wenti_left]=100 [wenti_top]=250
        [daan_fontsize]=20 [daan_color]=65280 [daan_width]=600 [daan_left]=100 [daan_top]=300
        [huanying]=0 [weizhishezhi]=0
    )
    local kv
    for kv in "$@"; do v[${kv%%=*}]=${kv#*=}; done
    local order=(biaoti biaoti_fontsize biaoti_color biaoti_left biaoti_top shijian shijian_fontsize
        shijian_color shijian_left shijian_top shijian_sound wenti_fontsize wenti_color wenti_width
        wenti_left wenti_top daan_fontsize daan_color daan_width daan_left daan_top huanying
        weizhishezhi)
    {
        printf '[canshu]\r\n'
        local k
        for k in "${order[@]}"; do printf '%s=%s\r\n' "$k" "${v[$k]}"; done
    } | iconv -f UTF-8 -t GBK >"$file"
}

# ini_value KEY: the value of KEY in the installation's opt.ini, as UTF-8, without CR.
ini_value() {
    iconv -f GBK -t UTF-8 <"$E2E_INSTALL/opt.ini" | tr -d '\r' | sed -n "s/^$1=//p" | head -n 1
}

ini_is() { [ "$(ini_value "$1")" = "$2" ]; }

# The questions of the test bank: short one-liners at the configured width.
E2E_QUESTIONS_CSV='编号,题目,答案
1,一年有几个季节？,四个
2,彩虹一共有几种颜色？请说出它们的名字。,七种'

# make_install [KEY=VALUE...]: a fresh installation in $E2E_INSTALL, program folder and current
# folder in one, with the presenter copied in (it finds its folder from its own executable).
make_install() {
    [ -x "$E2E_VELQUO" ] || fail "presenter not built: $E2E_VELQUO"
    [ -x "$E2E_BANK" ] || fail "bank tool not built: $E2E_BANK"
    rm -rf "$E2E_INSTALL"
    mkdir -p "$E2E_INSTALL"
    if [ -n "$E2E_WINDOWS" ]; then
        # The program with its libraries, plugins and translations; the demo's own files stay
        # behind, as each test makes its own.
        (cd "$E2E_WINDOWS" && find . -mindepth 1 -maxdepth 1 ! -name opt.ini ! -name '*.jpg' \
            ! -name '*.png' ! -name '*.wav' ! -name db.DLL -exec cp -r {} "$E2E_INSTALL/" \;)
    else
        cp "$E2E_VELQUO" "$E2E_INSTALL/velquo"
    fi
    write_ini "$E2E_INSTALL/opt.ini" "$@"
    printf '%s\n' "$E2E_QUESTIONS_CSV" >"$E2E_WORK/questions.csv"
    "$E2E_BANK" build "$E2E_WORK/questions.csv" "$E2E_INSTALL/db.DLL" 2>"$E2E_WORK/bank.log" ||
        fail "velquo-bank build: $(cat "$E2E_WORK/bank.log")"
    convert -size "${E2E_SCREEN_W}x${E2E_SCREEN_H}" "xc:$E2E_BG" -quality 95 "$E2E_INSTALL/bg.jpg"
    # next.png: 64 x 64, opaque red with a transparent square hole in the middle, so that the
    # picture's edges and its transparency both show on the screenshot.
    convert -size 64x64 xc:none -fill "$E2E_NEXT_COLOR" -draw 'rectangle 0,0 63,63' \
        -alpha set -region 16x16+24+24 -alpha transparent +region "PNG32:$E2E_INSTALL/next.png"
    [ "$(identify -format '%A' "$E2E_INSTALL/next.png")" != False ] || fail "next.png has no alpha channel"
}

# ---- the presenter ---------------------------------------------------------------------------

app_running() { [ -n "$E2E_APP_PID" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; }
app_ended() {
    app_running && return 1
    if [ -n "$E2E_APP_PID" ] && [ -z "$E2E_APP_STATUS" ]; then
        E2E_APP_STATUS=0
        wait "$E2E_APP_PID" || E2E_APP_STATUS=$?
    fi
    return 0
}

# window_has_type ID TYPE: the window declares the type (DIALOG, NORMAL, ...) among its types.
window_has_type() {
    local type=$2
    # Wine gives the boxes of a Windows program the normal type (they have no owner window on
    # the X side); its menus keep theirs.
    [ -n "$E2E_WINDOWS" ] && [ "$type" = DIALOG ] && type='(DIALOG|NORMAL)'
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -Eq "[ ,]_NET_WM_WINDOW_TYPE_$type(,|\$)"
}

# window_with_title REGEX [TYPE]: true when a visible window of the presenter has a matching
# title (and, when given, the type); prints its id. The menu's popup carries the application's
# title too, so boxes are told from it by their type.
window_with_title() {
    local id
    for id in $(xdotool search --all --pid "$E2E_APP_PID" --onlyvisible --name "$1" 2>/dev/null); do
        if [ -z "${2:-}" ] || window_has_type "$id" "$2"; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
no_window_with_title() { ! window_with_title "$@" >/dev/null; }

# A message box or error box (the application's title), and the exit question ("提示").
box_window() { window_with_title "$E2E_BOX_TITLE" DIALOG; }
no_box_window() { ! box_window >/dev/null; }
question_window() { window_with_title "$E2E_QUESTION_TITLE" DIALOG; }
no_question_window() { ! question_window >/dev/null; }

# The X window of the main screen.
main_window() { window_with_title "$E2E_MAIN_TITLE"; }

# launch_app: starts the presenter in the installation (its current folder) and returns at once.
launch_app() {
    if [ -n "$E2E_WINDOWS" ]; then
        (cd "$E2E_INSTALL" && unset QT_QPA_PLATFORM && exec wine ./velquo.exe) >"$E2E_WORK/app.log" 2>&1 &
    else
        (cd "$E2E_INSTALL" && QT_QPA_PLATFORM=xcb exec ./velquo) >"$E2E_WORK/app.log" 2>&1 &
    fi
    E2E_APP_PID=$!
    E2E_APP_STATUS=
}

# start_app: starts the presenter in the installation (its current folder) and waits until its
# main screen is mapped and painted.
start_app() {
    launch_app
    wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
    wait_until "$E2E_TIMEOUT" "the background from bg.jpg on the screen" screen_shows_background
    e2e_log "presenter running, pid $E2E_APP_PID"
}

# wait_app_ended SECONDS: the presenter has ended within the bound; its status in E2E_APP_STATUS.
wait_app_ended() { wait_until "$1" "the presenter to end" app_ended; }

# ---- input -----------------------------------------------------------------------------------

# The pointer goes to X, Y first (with --sync, which waits for the move, so never to where it
# already is: the move would never be reported).
pointer_at() {
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    [ "$X" = "$1" ] && [ "$Y" = "$2" ] || xdotool mousemove --sync "$1" "$2"
}
click_at() { pointer_at "$1" "$2"; xdotool click "${3:-1}"; }
key() { xdotool key --clearmodifiers "$@"; }

# window_geometry ID: prints "X Y W H" of an X window in root coordinates.
window_geometry() {
    local out
    out=$(xdotool getwindowgeometry --shell "$1") || return 1
    eval "$out"
    echo "$X $Y $WIDTH $HEIGHT"
}

# main_geometry_is "X Y W H": the main screen's window has that geometry.
main_geometry_is() {
    local g
    g=$(window_geometry "$(main_window)") || return 1
    [ "$g" = "$1" ]
}

# The visible popup of the right-button menu: the presenter's only override-redirect window
# (the window manager does not manage popups).
menu_window() {
    local id
    for id in $(xdotool search --all --pid "$E2E_APP_PID" --onlyvisible --name '' 2>/dev/null); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes'; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
no_menu_window() { ! menu_window >/dev/null; }

# open_menu X Y: right button at X, Y; sets MENU_X MENU_Y MENU_W MENU_H to the menu's geometry.
open_menu() {
    click_at "$1" "$2" 3
    wait_until "$E2E_TIMEOUT" "the right-button menu" menu_window >/dev/null
    read -r MENU_X MENU_Y MENU_W MENU_H <<<"$(window_geometry "$(menu_window)")"
}

# popup_windows: every visible override-redirect window of the presenter (the menu and its open
# submenus), one id a line.
popup_windows() {
    local id
    for id in $(xdotool search --all --pid "$E2E_APP_PID" --onlyvisible --name '' 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && echo "$id"
    done
    return 0
}
popup_count_is() { [ "$(popup_windows | wc -l)" -eq "$1" ]; }

# text_rows X Y W H: the number of lines of dark text in a region of the last screenshot (a
# menu's entries; separators are light and do not count).
text_rows() {
    convert "$E2E_SHOT" -crop "${3}x${4}+${1}+${2}" +repage -colorspace gray -threshold 40% \
        -negate -scale "1x${4}!" -depth 8 txt:- |
        awk 'NR > 1 { dark = ($0 !~ /#000000/); if (dark && !was) n++; was = dark } END { print n + 0 }'
}

# The settings dialog: borderless, so its window is its client area.
dialog_window() { window_with_title '^设置$'; }
no_dialog_window() { ! dialog_window >/dev/null; }

# open_settings: "系统设置", the menu's second item (after "自动排版"), chosen with the keys;
# waits for the dialog and sets DLG_X DLG_Y DLG_W DLG_H to its geometry.
open_settings() {
    open_menu 500 400
    key Down Down Return
    wait_until "$E2E_TIMEOUT" "the settings dialog after 系统设置" dialog_window >/dev/null
    read -r DLG_X DLG_Y DLG_W DLG_H <<<"$(window_geometry "$(dialog_window)")"
    wait_until "$E2E_TIMEOUT" "the settings dialog painted" dialog_painted
}
dialog_painted() { shot && ! near "$(pixel $((DLG_X + DLG_W / 2)) $((DLG_Y + DLG_H / 2)))" "$E2E_BG" 16; }

# ---- watching window properties -------------------------------------------------------------

# spy_opacity WINDOW FILE: from now on, every change of the window's opacity property is written
# to FILE as "MICROSECONDS LINE", stamped when its event reaches this side of the display
# connection. The events are counted as the server sends them (xev), not read back afterwards
# (xprop): a window that goes away right after its last change would lose that change otherwise.
spy_opacity() {
    stdbuf -oL xev -display "$DISPLAY" -id "$1" -event property \
        > >(while IFS= read -r line; do printf '%s %s\n' "${EPOCHREALTIME/[.,]/}" "$line"; done >"$2") &
    E2E_SPY_PID=$!
    # Ready once a property of our own set on the window is seen (xev says nothing before).
    wait_until "$E2E_TIMEOUT" "the property watch to start" spy_sees_marker "$1" "$2"
}
spy_sees_marker() {
    xprop -display "$DISPLAY" -id "$1" -f _VELQUO_E2E_SPY 8s -set _VELQUO_E2E_SPY ready 2>/dev/null
    grep -q '(_VELQUO_E2E_SPY)' "$2"
}
stop_spy() { end_pid "$E2E_SPY_PID"; E2E_SPY_PID=; }

# opacity_changes FILE: "MICROSECONDS" for every opacity value set, in arrival order.
opacity_changes() { sed -n 's/^\([0-9]*\) .*(_NET_WM_WINDOW_OPACITY).*state PropertyNewValue.*$/\1/p' "$1"; }

# until_ms T: returns when the clock (now_ms) reaches T; for taking a picture at a set moment.
until_ms() { while [ "$(now_ms)" -lt "$1" ]; do :; done; }

# ---- load ------------------------------------------------------------------------------------

# start_cpu_load: every core kept busy until the session stops, as on a machine that does other
# work during the show. The load ends by itself after E2E_LOAD_SECONDS (default 900) should the
# test be killed.
start_cpu_load() {
    command -v stress-ng >/dev/null || fail "missing tool: stress-ng (scripts/install-deps.sh installs it)"
    stress-ng --cpu "$(nproc)" --timeout "${E2E_LOAD_SECONDS:-900}s" --quiet >"$E2E_WORK/load.log" 2>&1 &
    E2E_LOAD_PID=$!
    wait_until "$E2E_TIMEOUT" "the CPU load to start" load_running
    e2e_log "CPU load on $(nproc) cores"
}
load_running() { [ "$(pgrep -c -P "$E2E_LOAD_PID" 2>/dev/null)" -ge 1 ]; }

# ---- screenshots -----------------------------------------------------------------------------

# shot [FILE]: a screenshot of the whole screen (default $E2E_SHOT).
shot() { import -display "$DISPLAY" -window root "${1:-$E2E_SHOT}"; }

# pixel X Y [FILE]: "R G B" (0..255) of a pixel of a screenshot.
pixel() {
    convert "${3:-$E2E_SHOT}" -format "%[fx:int(255*p{$1,$2}.r+0.5)] %[fx:int(255*p{$1,$2}.g+0.5)] %[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

# near "R G B" "#rrggbb" [TOLERANCE]: each channel within TOLERANCE (default 24).
near() {
    local tol=${3:-24} hex=${2#\#}
    set -- $1
    local r=$((16#${hex:0:2})) g=$((16#${hex:2:2})) b=$((16#${hex:4:2}))
    [ $(($1 > r ? $1 - r : r - $1)) -le "$tol" ] &&
        [ $(($2 > g ? $2 - g : g - $2)) -le "$tol" ] &&
        [ $(($3 > b ? $3 - b : b - $3)) -le "$tol" ]
}

# hex_rgb "#rrggbb": "R G B" in decimal.
hex_rgb() { local h=${1#\#}; echo "$((16#${h:0:2})) $((16#${h:2:2})) $((16#${h:4:2}))"; }

# strictly_between V A B: V lies between A and B (either order) and clearly apart from both.
strictly_between() {
    local lo=$2 hi=$3 margin=6
    [ "$lo" -gt "$hi" ] && lo=$3 hi=$2
    [ "$1" -gt $((lo + margin)) ] && [ "$1" -lt $((hi - margin)) ]
}

# colour_count X Y W H "#rrggbb" [FILE]: number of pixels of the region close to the colour.
colour_count() {
    convert "${6:-$E2E_SHOT}" -crop "${3}x${4}+${1}+${2}" +repage -fuzz 12% \
        -fill black +opaque "$5" -fill white -opaque "$5" -colorspace gray \
        -format '%[fx:round(mean*w*h)]' info:
}

# region_hash X Y W H [FILE]: a checksum of a region's pixels, to see whether it changed.
region_hash() {
    convert "${5:-$E2E_SHOT}" -crop "${3}x${4}+${1}+${2}" +repage -depth 8 rgb:- | md5sum | cut -c1-32
}

# Left edge of the monitor the show is expected on (two-monitor tests).
E2E_SHOW_X=${E2E_SHOW_X:-0}
screen_shows_background() {
    shot && near "$(pixel $((E2E_SHOW_X + 2)) 2)" "$E2E_BG" 12 &&
        near "$(pixel $((E2E_SHOW_X + E2E_SCREEN_W - 3)) $((E2E_SCREEN_H - 3)))" "$E2E_BG" 12
}

# has_colour X Y W H "#rrggbb" MIN: a fresh screenshot shows at least MIN pixels of the colour
# in the region.
has_colour() { shot && [ "$(colour_count "$1" "$2" "$3" "$4" "$5")" -ge "$6" ]; }
lacks_colour() { shot && [ "$(colour_count "$1" "$2" "$3" "$4" "$5")" -eq 0 ]; }

# ---- sound -------------------------------------------------------------------------------------

# start_sound_server: a private sound server with one null sink, vqtest, that the programs
# started after it play into (through the event-sound library on Linux, through wine's PulseAudio
# driver for velquo.exe); skips the test where the server's tools are missing.
start_sound_server() {
    local tool
    for tool in pulseaudio parec pactl python3; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
    done
    local pulse=$E2E_WORK/pulse
    mkdir -p "$pulse"
    export PULSE_SERVER=unix:$pulse/native
    XDG_RUNTIME_DIR=$pulse HOME=$pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --use-pid-file=no --disable-shm=yes \
        -L "module-null-sink sink_name=vqtest rate=44100 channels=1" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse/native" \
        >"$E2E_WORK/pulse.log" 2>&1 &
    E2E_PULSE_PID=$!
    on_cleanup stop_sound
    wait_until "$E2E_TIMEOUT" "the sound server to answer" sound_server_answers
}
sound_server_answers() { pactl info >/dev/null 2>&1; }
E2E_PULSE_PID= E2E_REC_PID=
stop_sound() {
    [ -n "$E2E_REC_PID" ] && end_pid "$E2E_REC_PID"
    pactl exit >/dev/null 2>&1 || true
    [ -n "$E2E_PULSE_PID" ] && end_pid "$E2E_PULSE_PID"
}

# start_recording: records the sink's monitor into $E2E_WORK/heard.raw (16-bit mono, 44.1 kHz)
# from now on.
start_recording() {
    parec -d vqtest.monitor --format=s16le --channels=1 --rate=44100 --latency-msec=5 \
        >"$E2E_WORK/heard.raw" 2>"$E2E_WORK/parec.log" &
    E2E_REC_PID=$!
    wait_until "$E2E_TIMEOUT" "the recorder to stream" recording_streams
}
recording_streams() { [ -s "$E2E_WORK/heard.raw" ]; }
# The recording's length so far, in seconds (two decimals).
recorded_seconds() { python3 -c "import os,sys; print('%.2f' % (os.path.getsize(sys.argv[1]) / 88200))" "$E2E_WORK/heard.raw"; }

# sounds_heard N: at least N separate sounds on the recording (a sound is a stretch above the
# noise floor; 150 ms of silence ends it); prints each one's start and length in seconds.
sounds_heard() {
    python3 - "$E2E_WORK/heard.raw" "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
samples = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
rate, gap = 44100, int(44100 * 0.15)
sounds, quiet, inside = [], gap, False
for i, s in enumerate(samples):
    if abs(s) > 500:
        if not inside and quiet >= gap:
            sounds.append([i, i])
        inside, quiet = True, 0
        sounds[-1][1] = i
    else:
        quiet += 1
        if quiet >= gap:
            inside = False
# The last sound must have ended (150 ms of silence after it) to be measured whole.
if sounds and quiet < gap:
    sounds.pop()
print(" ".join("%.2f+%.2f" % (a / rate, (b - a) / rate) for a, b in sounds))
sys.exit(0 if len(sounds) >= int(sys.argv[2]) else 1)
PY
}
# ---- set-up of a test ------------------------------------------------------------------------

for tool in Xvfb openbox xprop xwininfo xdotool xdpyinfo import convert identify iconv; do
    command -v "$tool" >/dev/null || fail "missing tool: $tool (scripts/install-deps.sh installs it)"
done
