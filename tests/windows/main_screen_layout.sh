#!/bin/bash
# The Windows build lays the main screen out as the Linux build does: both run on the same
# installation on the same screen, through the same steps (a question drawn, the countdown run
# down to "0", the answer revealed), and on each screenshot every item is found by its colour
# (title and question white, countdown yellow, answer green, the next-step picture red) and its
# box compared. Pictures must match to the pixel; texts start where the settings put them and
# may differ in their extent by what two font renderers differ by.
# Usage: E2E_WINDOWS=<portable folder> main_screen_layout.sh <Linux build dir> [<source dir>]
source "$(dirname "$0")/../e2e/lib.sh" "$@"

[ -n "$E2E_WINDOWS" ] || fail "E2E_WINDOWS names no Windows build"
linux_velquo=$E2E_BUILD/velquo
windows_folder=$E2E_WINDOWS
[ -x "$linux_velquo" ] || fail "the Linux presenter is not built: $linux_velquo"

# One question, so that both draw the same.
E2E_QUESTIONS_CSV='编号,题目,答案
1,彩虹一共有几种颜色？请说出它们的名字。,七种'

# use_build linux|windows: the presenter the next installation and start use.
use_build() {
    if [ "$1" = linux ]; then
        E2E_WINDOWS= E2E_VELQUO=$linux_velquo
    else
        E2E_WINDOWS=$windows_folder E2E_VELQUO=$windows_folder/velquo.exe
    fi
}

# Regions as in the other tests: title at 48, 72; countdown at 792, 112; question at 100, 250;
# answer below it; the next-step picture in the bottom right corner.
T=(40 60 500 100)
C=(780 100 240 110)
Q=(90 240 620 55)
A=(90 296 620 150)
N=(880 600 144 168)
WHITE='#ffffff' YELLOW='#ffff00' GREEN='#00ff00' RED='#ff0000'
NEXT_X=953 NEXT_Y=683

# box X Y W H COLOUR FILE: "X Y W H" on the screen of the pixels of the colour in the region
# ("none" when there are none).
box() {
    local g
    g=$(convert "$6" -crop "${3}x${4}+${1}+${2}" +repage -fuzz 12% -fill black +opaque "$5" \
        -fill white -opaque "$5" -colorspace gray -threshold 50% -format '%@' info:)
    [[ $g =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || { echo none; return; }
    [ "${BASH_REMATCH[1]}" -gt 0 ] && [ "${BASH_REMATCH[2]}" -gt 0 ] || { echo none; return; }
    # A region with no such pixel trims to a single pixel of the other colour: checked by count.
    [ "$(colour_count "$1" "$2" "$3" "$4" "$5" "$6")" -gt 0 ] || { echo none; return; }
    echo "$((BASH_REMATCH[3] + $1)) $((BASH_REMATCH[4] + $2)) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

# run_show BUILD: installs, starts, steps through one question and keeps three screenshots.
run_show() {
    use_build "$1"
    make_install shijian=3
    start_app
    key space
    wait_until "$E2E_TIMEOUT" "the question after Space ($1)" has_colour "${Q[@]}" "$WHITE" 40
    cp "$E2E_SHOT" "$E2E_WORK/$1-question.png"
    key space
    declare -A seen=()
    count_down() {
        shot || return 1
        [ "$(colour_count "${C[@]}" "$YELLOW")" -gt 0 ] || return 1
        seen[$(region_hash "${C[@]}")]=1
        [ "${#seen[@]}" -ge 4 ]
    }
    wait_until 10 "the countdown down to 0 ($1)" count_down
    cp "$E2E_SHOT" "$E2E_WORK/$1-zero.png"
    click_at "$NEXT_X" "$NEXT_Y"
    wait_until "$E2E_TIMEOUT" "the answer ($1)" has_colour "${A[@]}" "$GREEN" 40
    cp "$E2E_SHOT" "$E2E_WORK/$1-answer.png"
    end_pid "$E2E_APP_PID"
    E2E_APP_PID=
}

start_xvfb
run_show linux
run_show windows

# same_box NAME WHAT LINUX WINDOWS EDGE EXTENT: the two boxes start within EDGE pixels of each
# other and their sizes differ by at most EXTENT percent.
report=
same_box() {
    local name=$1 what=$2 edge=$5 extent=$6
    report="$report $what=($3|$4)"
    [ "$3" != none ] && [ "$4" != none ] || fail "$name: $what is missing on one side: Linux $3, Windows $4"
    local l w
    read -r -a l <<<"$3"
    read -r -a w <<<"$4"
    local i d
    for i in 0 1; do
        d=$((l[i] - w[i]))
        [ "${d#-}" -le "$edge" ] || fail "$name: $what starts elsewhere: Linux ${l[0]},${l[1]} Windows ${w[0]},${w[1]}"
    done
    for i in 2 3; do
        d=$((l[i] - w[i]))
        [ $((100 * ${d#-})) -le $((extent * l[i])) ] ||
            fail "$name: $what differs in size: Linux ${l[2]}x${l[3]} Windows ${w[2]}x${w[3]}"
    done
}
for stage in question zero answer; do
    l=$E2E_WORK/linux-$stage.png w=$E2E_WORK/windows-$stage.png
    # The background and the next-step picture are pictures: the same pixels.
    same_box "$stage" picture "$(box "${N[@]}" "$RED" "$l")" "$(box "${N[@]}" "$RED" "$w")" 0 0
    same_box "$stage" title "$(box "${T[@]}" "$WHITE" "$l")" "$(box "${T[@]}" "$WHITE" "$w")" 4 25
    same_box "$stage" question "$(box "${Q[@]}" "$WHITE" "$l")" "$(box "${Q[@]}" "$WHITE" "$w")" 4 25
done
same_box zero countdown "$(box "${C[@]}" "$YELLOW" "$E2E_WORK/linux-zero.png")" \
    "$(box "${C[@]}" "$YELLOW" "$E2E_WORK/windows-zero.png")" 4 25
same_box answer answer "$(box "${A[@]}" "$GREEN" "$E2E_WORK/linux-answer.png")" \
    "$(box "${A[@]}" "$GREEN" "$E2E_WORK/windows-answer.png")" 4 25
e2e_log "boxes (x y w h, Linux|Windows):$report"
pass "the Windows build lays the main screen out as the Linux build does"
