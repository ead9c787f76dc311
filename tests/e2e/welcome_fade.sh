#!/bin/bash
# The welcome screen's fade as the audience sees it, on a compositing desktop: after a click the
# welcome picture is seen blended with the main screen at falling strengths, and the display
# server receives the window's 51 opacity steps spread over the fade, not in one burst at its end.
# Usage: welcome_fade.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

WELCOME='#f0e8e0'
# A place no text item, picture or box covers: the main screen shows bg.jpg there.
PX=$((E2E_SCREEN_W / 2 + 150))
PY=$((E2E_SCREEN_H / 2 + 180))

start_xvfb
start_compositor
make_install huanying=1
convert -size "${E2E_SCREEN_W}x${E2E_SCREEN_H}" "xc:$WELCOME" -quality 95 "$E2E_INSTALL/welcome.jpg"

covered() { shot && near "$(pixel "$PX" "$PY")" "$WELCOME" 12; }

(cd "$E2E_INSTALL" && QT_QPA_PLATFORM=xcb exec ./velquo) >"$E2E_WORK/app.log" 2>&1 &
E2E_APP_PID=$!
E2E_APP_STATUS=
wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the welcome picture over the screen" covered
welcome=$(window_with_title '^欢迎 可设置不显示或提前显示$') || fail "no welcome window"

# Every change of the welcome window's opacity property, stamped with the time it arrived.
spy_opacity "$welcome" "$E2E_WORK/opacity.log"

click_ms=$(now_ms)
click_at $((E2E_SCREEN_W / 2)) $((E2E_SCREEN_H / 2))
# Screenshots at set moments of the fade (taken then, not waited for).
for at in 300 650 1000; do
    until_ms $((click_ms + at))
    xwd -root -silent -display "$DISPLAY" >"$E2E_WORK/fade-$at.xwd"
    e2e_log "screenshot at +$(($(now_ms) - click_ms)) ms"
done
wait_until "$E2E_TIMEOUT" "the main screen uncovered after the fade" screen_shows_background
wait_until "$E2E_TIMEOUT" "the 51st opacity change" eval '[ "$(opacity_changes "$E2E_WORK/opacity.log" | wc -l)" -ge 51 ]'
stop_spy

# The blend: each channel strictly between the two pictures' and moving towards the main
# screen's from one screenshot to the next.
read -r wr wg wb <<<"$(hex_rgb "$WELCOME")"
read -r br bg bb <<<"$(hex_rgb "$E2E_BG")"
prev=
for at in 300 650 1000; do
    convert "$E2E_WORK/fade-$at.xwd" "$E2E_WORK/fade-$at.png"
    read -r r g b <<<"$(pixel "$PX" "$PY" "$E2E_WORK/fade-$at.png")"
    e2e_log "pixel at +$at ms: $r $g $b (welcome $wr $wg $wb, main screen $br $bg $bb)"
    strictly_between "$r" "$wr" "$br" && strictly_between "$g" "$wg" "$bg" &&
        strictly_between "$b" "$wb" "$bb" ||
        fail "at +$at ms the screen shows $r $g $b, not a blend of $WELCOME and $E2E_BG"
    if [ -n "$prev" ]; then
        read -r pr pg pb <<<"$prev"
        [ $(((pr - br) * (pr - br) + (pg - bg) * (pg - bg) + (pb - bb) * (pb - bb))) -gt \
            $(((r - br) * (r - br) + (g - bg) * (g - bg) + (b - bb) * (b - bb))) ] ||
            fail "the blend at +$at ms ($r $g $b) is no nearer the main screen than before ($prev)"
    fi
    prev="$r $g $b"
done

# The opacity steps reached the server one by one through the fade.
opacity_changes "$E2E_WORK/opacity.log" >"$E2E_WORK/steps.log"
first=$(head -n 1 "$E2E_WORK/steps.log" | cut -d' ' -f1)
last=$(sed -n 51p "$E2E_WORK/steps.log" | cut -d' ' -f1)
spread=$(((last - first) / 1000))
e2e_log "opacity changes (ms after the click):"
awk -v c="$click_ms" '{ printf "  +%d\n", ($1 - c * 1000) / 1000 }' "$E2E_WORK/steps.log" | paste -sd' ' >&2
[ "$spread" -ge 1000 ] || fail "the 51 opacity changes arrived within $spread ms"
# No step waits for the next: no two consecutive changes more than a few ticks apart, and no
# burst of more than a few changes at one moment.
awk 'NR == 1 { f = $1 } { t = ($1 - f) / 1000; if (NR > 1 && t - p > 150) bad = 1; p = t } END { exit bad }' \
    "$E2E_WORK/steps.log" || fail "a gap of more than 150 ms between two opacity changes"
burst=$(awk 'NR == 1 { f = $1 } { b[int(($1 - f) / 20000)]++ } END { m = 0; for (k in b) if (b[k] > m) m = b[k]; print m }' \
    "$E2E_WORK/steps.log")
[ "$burst" -le 4 ] || fail "$burst opacity changes arrived within 20 ms"
app_running || fail "the presenter ended"
pass "the fade is seen at falling strengths and its 51 steps reach the display server over $spread ms"
