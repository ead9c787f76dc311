#!/bin/bash
# What the running show holds, as the system sees it from outside the presenter, with a 4K
# photograph as bg.jpg on a 1920 x 1080 screen and a bank of 10,000 questions: once the first
# frame is up, its private memory (the anonymous pages: heap, pictures, buffers) stays within
# the background at 3 bytes a pixel plus a fixed allowance. The picture on the screen is the
# photograph scaled to the screen, after start, after a step and after the window was
# minimised and shown again (a full repaint).
# Usage: memory_held_by_the_show.sh <build dir> [<source dir>]
E2E_SCREEN_W=1920 E2E_SCREEN_H=1080
source "$(dirname "$0")/lib.sh" "$@"

E2E_QUESTIONS_CSV=$(
    echo '编号,题目,答案'
    for i in $(seq 1 10000); do echo "$i,第${i}题：下面哪一个城市是这道题目的正确答案？,答案$i"; done
)
convert -seed 16 -size 3840x2160 plasma:orange-royalblue -blur 0x1 -quality 90 "$E2E_WORK/bg.jpg"
# What a person should see: the photograph scaled to the screen (by another program, so only
# close, not equal).
convert "$E2E_WORK/bg.jpg" -resize "${E2E_SCREEN_W}x${E2E_SCREEN_H}!" "$E2E_WORK/expected.png"

# Kilobytes of private anonymous memory, all mappings together.
anonymous_kb() { awk '/^Anonymous:/ { kb += $2 } END { print kb }' "/proc/$E2E_APP_PID/smaps"; }
# Kilobytes resident of the Unicode library's data file (its converter tables among them).
icu_data_kb() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { icu = ($6 ~ /libicudata/) } icu && /^Rss:/ { kb += $2 }
        END { print kb + 0 }' "/proc/$E2E_APP_PID/smaps"
}
# The root-mean-square difference (0..1) between the screen and the expected picture over the
# lower left quarter of the screen, away from the title, the texts and the next-step picture.
difference() {
    shot || return 1
    local g="$((E2E_SCREEN_W / 2))x$((E2E_SCREEN_H / 2 - 60))+0+$((E2E_SCREEN_H / 2))"
    convert "$E2E_SHOT" -crop "$g" +repage "$E2E_WORK/seen.png" &&
        convert "$E2E_WORK/expected.png" -crop "$g" +repage "$E2E_WORK/wanted.png" || return 1
    # compare's status says "they differ", which they always do a little.
    { compare -metric RMSE "$E2E_WORK/seen.png" "$E2E_WORK/wanted.png" null: 2>&1 || true; } |
        sed -n 's/.*(\([0-9.e-]*\)).*/\1/p'
}
picture_shown() { local d; d=$(difference) && awk -v d="$d" 'BEGIN { exit !(d < 0.03) }'; }
screen_quiet() { local a b; shot && a=$(region_hash 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H") &&
    sleep 0.3 && shot && b=$(region_hash 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H") && [ "$a" = "$b" ]; }

start_xvfb
make_install
cp "$E2E_WORK/bg.jpg" "$E2E_INSTALL/"
launch_app
wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the photograph on the screen" picture_shown
wait_until "$E2E_TIMEOUT" "the screen to settle" screen_quiet
anon=$(anonymous_kb)
icu_data=$(icu_data_kb)
# Threads of Qt's pool, started by a large picture conversion, stay idle for half a minute.
pooled=$(cat /proc/"$E2E_APP_PID"/task/*/comm | grep -c 'Thread (pooled)' || true)
e2e_log "after the first frame: $anon kB anonymous, $icu_data kB of ICU data, picture difference $(difference)"

key space
wait_until "$E2E_TIMEOUT" "a question drawn" has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" '#ffffff' 50
picture_shown || fail "after a step the screen shows something else than the photograph ($(difference))"
window=$(main_window | head -n 1)
xdotool windowminimize "$window"
wait_until "$E2E_TIMEOUT" "the window minimised" bash -c "! xwininfo -id $window | grep -q IsViewable"
xdotool windowactivate "$window" 2>/dev/null || xdotool windowmap "$window"
wait_until "$E2E_TIMEOUT" "the photograph after the window came back" picture_shown
stop_session

# The background at 3 bytes a pixel is 6,075 kB; the rest (the bank's bytes, the numbers of
# its cursor, the pool, the libraries' own data, stacks) about 5.2 MB. Held at 4 bytes a pixel,
# with a list a row in the cursor and buffers for columns nobody converts: 16.5 MB; with the
# cursor's numbers as QVariants and the pool as a string a line: 12.0 MB.
limit=$((E2E_SCREEN_W * E2E_SCREEN_H * 3 / 1024 + 5632))
[ "$pooled" -eq 0 ] || fail "$pooled idle helper threads after the first frame"
# The settings file's GBK read through ICU brought in its converter tables: 372 kB.
[ "$icu_data" -le 64 ] || fail "$icu_data kB of the Unicode library's data resident after the first frame (at most 64 kB)"
[ "$anon" -le "$limit" ] || fail "the show holds $anon kB of anonymous memory after its first frame (at most $limit kB)"
pass "after the first frame the show holds $anon kB of anonymous memory (at most $limit kB); the photograph shown after start, a step and a full repaint"
