#!/bin/bash
# Dragging with the real mouse: the title label dragged 40 px right and 10 px down from (48, 72)
# ends at (88, 82) on the screen and in opt.ini; a move over the countdown label with no button
# held writes its place; after a drag of the question label the next step puts the question at
# the dragged place.
# Usage: drag_label.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_xvfb
make_install biaoti_left=48 biaoti_top=72
start_app

WHITE='#ffffff'
# white_box X Y W H: the bounding box "left top right bottom" of the white pixels in a region.
white_box() {
    convert "$E2E_SHOT" -crop "${3}x${4}+${1}+${2}" +repage -fuzz 12% -fill black +opaque "$WHITE" \
        -trim -format "%[fx:page.x+$1] %[fx:page.y+$2] %[fx:page.x+$1+w-1] %[fx:page.y+$2+h-1]" info:
}

# The title's ink before the drag, in the upper left of the screen.
shot
read -r l0 t0 _ _ <<<"$(white_box 0 40 400 120)"

# Press inside the title, move in several steps, release 40 right and 10 down.
xdotool mousemove --sync 60 90
xdotool mousedown 1
for step in 1 2 3 4; do
    xdotool mousemove --sync $((60 + 10 * step)) $((90 + 10 * step / 4))
done
xdotool mouseup 1
wait_until "$E2E_TIMEOUT" "biaoti_left=88 and biaoti_top=82 in opt.ini" eval 'ini_is biaoti_left 88 && ini_is biaoti_top 82'

# The title's ink moved by the same distance.
title_moved() {
    shot || return 1
    local l t
    read -r l t _ _ <<<"$(white_box 0 40 400 120)"
    [ "$l" -eq $((l0 + 40)) ] && [ "$t" -eq $((t0 + 10)) ]
}
wait_until "$E2E_TIMEOUT" "the title's pixels 40 right and 10 down of where they were" title_moved

# Released: a further move over the title writes its place and moves nothing.
xdotool mousemove --sync 104 100
xdotool mousemove --sync 110 104
title_moved || fail "the title moved after the release"
ini_is biaoti_left 88 && ini_is biaoti_top 82 || fail "the title's keys changed after the release"

# Hovering over the countdown label (empty: one blank's width at 792, 112) writes its place.
sed -i 's/^shijian_left=.*/shijian_left=1\r/; s/^shijian_top=.*/shijian_top=2\r/' "$E2E_INSTALL/opt.ini"
ini_is shijian_left 1 || fail "could not edit opt.ini"
xdotool mousemove --sync 794 130
xdotool mousemove --sync 795 132
wait_until "$E2E_TIMEOUT" "shijian_left=792 and shijian_top=112 written by the hover" \
    eval 'ini_is shijian_left 792 && ini_is shijian_top 112'

# Drag the question label after a draw: 100, 250 to 150, 320; the answer's keys follow it.
key space
Q=(100 245 600 50)
wait_until "$E2E_TIMEOUT" "the question after Space" has_colour "${Q[@]}" "$WHITE" 40
xdotool mousemove --sync 110 262
xdotool mousedown 1
xdotool mousemove --sync 135 297
xdotool mousemove --sync 160 332
xdotool mouseup 1
wait_until "$E2E_TIMEOUT" "wenti_left=150, wenti_top=320, daan_left=150, daan_top=350" \
    eval 'ini_is wenti_left 150 && ini_is wenti_top 320 && ini_is daan_left 150 && ini_is daan_top 350'
# The question's ink stands at its new place, nothing of it at the old one.
wait_until "$E2E_TIMEOUT" "the question at its dragged place" has_colour 150 315 600 50 "$WHITE" 40
shot
[ "$(colour_count 90 240 600 40 "$WHITE")" -eq 0 ] || fail "question pixels left at the old place"
pass "title dragged to 88, 82; hover writes the countdown's place; question dragged with the answer's keys"
