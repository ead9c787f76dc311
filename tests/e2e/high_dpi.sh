#!/bin/bash
# A 200 % desktop (QT_SCALE_FACTOR=2, or Xft.dpi 192) on a 1920 x 1080 screen: the position
# preview's four items stand at opt.ini's places in screen pixels, a drawn question wraps at
# wenti_width screen pixels and the next-step picture is 49 x 49 pixels, 30 px from the right
# and 60 px from the bottom edge, as at 100 %; the fonts follow the scale, twice as tall.
# Usage: high_dpi.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

E2E_SCREEN_W=1920 E2E_SCREEN_H=1080
TITLE='#00ffff' COUNTDOWN='#ffff00' QUESTION='#ffffff' ANSWER='#00ff00'
# A question that wraps at 700 px: several lines of 20 pt at 96 and at 192 dpi.
E2E_QUESTIONS_CSV='编号,题目,答案
1,在我国古代的四大发明中，除了造纸术、印刷术和火药以外，还有哪一项？,指南针'

# box COLOUR: "X Y W H" of the pixels of the colour on the last screenshot; empty when none.
box() {
    [ "$(colour_count 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$1")" -gt 10 ] || return 0
    convert "$E2E_SHOT" -fuzz 12% -fill black +opaque "$1" -fill white -opaque "$1" \
        -format '%@' info: | sed 's/^\([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\)$/\3 \4 \1 \2/'
}

# at_place NAME COLOUR LEFT TOP: the item's pixels start just right of and below LEFT, TOP (a
# glyph's side bearing and the font's leading, which grow with the font); prints its box.
at_place() {
    local b X Y W H
    b=$(box "$2")
    [ -n "$b" ] || fail "$SETTING: the $1 is not on the screen"
    read -r X Y W H <<<"$b"
    [ "$X" -ge "$3" ] && [ "$X" -le $(($3 + 20)) ] && [ "$Y" -ge "$4" ] && [ "$Y" -le $(($4 + 40)) ] ||
        fail "$SETTING: the $1's pixels start at $X, $Y, not at opt.ini's $3, $4"
    echo "$b"
}

# The drawn question, several lines of it, in place of the preview's "问".
question_drawn() {
    local b
    shot
    b=$(box "$QUESTION")
    [ -n "$b" ] && [ "$(echo "$b" | cut -d' ' -f4)" -gt 60 ]
}

# show SETTING: starts the presenter in the position preview and checks the screen; sets
# COUNTDOWN_H to the height of the countdown's "10" in screen pixels.
show() {
    SETTING=$1
    make_install weizhishezhi=1 biaoti_color=16776960 biaoti_left=301 biaoti_top=151 \
        shijian_left=1201 shijian_top=101 wenti_left=401 wenti_top=451 wenti_width=700 \
        daan_color=65280 daan_left=501 daan_top=751
    start_app
    # Set-up has run to its end: the next-step picture is there.
    wait_until "$E2E_TIMEOUT" "$SETTING: the next-step picture" has_colour 0 0 1920 1080 "$E2E_NEXT_COLOR" 2000
    local title countdown question answer next
    e2e_log "$SETTING: title [$(box "$TITLE")] countdown [$(box "$COUNTDOWN")] question [$(box "$QUESTION")] answer [$(box "$ANSWER")] next [$(box "$E2E_NEXT_COLOR")]"
    title=$(at_place title "$TITLE" 301 151)
    countdown=$(at_place countdown "$COUNTDOWN" 1201 101)
    question=$(at_place question "$QUESTION" 401 451)
    answer=$(at_place answer "$ANSWER" 501 751)
    next=$(box "$E2E_NEXT_COLOR")
    [ "$next" = "$((1920 - 30 - 49)) $((1080 - 60 - 49)) 49 49" ] ||
        fail "$SETTING: the next-step picture at [$next], not 49 x 49 at 30 px from the right and 60 from the bottom"
    read -r _ _ _ COUNTDOWN_H <<<"$countdown"
    # A drawn question wraps at wenti_width screen pixels.
    key space
    wait_until "$E2E_TIMEOUT" "$SETTING: the question drawn" question_drawn
    question=$(at_place question "$QUESTION" 401 451)
    local QX QY QW QH
    read -r QX QY QW QH <<<"$question"
    [ $((QX + QW)) -le $((401 + 700)) ] && [ $((QX + QW)) -ge $((401 + 700 - 100)) ] ||
        fail "$SETTING: the question's lines end at $((QX + QW)), not just inside wenti_width's $((401 + 700))"
    e2e_log "$SETTING: the question drawn [$question]"
    end_pid "$E2E_APP_PID"
    E2E_APP_PID=
}

start_xvfb
show "100 %"
normal_h=$COUNTDOWN_H

export QT_SCALE_FACTOR=2
show "QT_SCALE_FACTOR=2"
unset QT_SCALE_FACTOR
[ "$COUNTDOWN_H" -ge $((normal_h * 2 - 4)) ] && [ "$COUNTDOWN_H" -le $((normal_h * 2 + 4)) ] ||
    fail "QT_SCALE_FACTOR=2: the countdown's digits are $COUNTDOWN_H px tall, not twice $normal_h"

printf 'Xft.dpi: 192\n' | xrdb -merge
show "Xft.dpi 192"
[ "$COUNTDOWN_H" -ge $((normal_h * 2 - 4)) ] && [ "$COUNTDOWN_H" -le $((normal_h * 2 + 4)) ] ||
    fail "Xft.dpi 192: the countdown's digits are $COUNTDOWN_H px tall, not twice $normal_h"
pass "at 200 % (QT_SCALE_FACTOR=2 and Xft.dpi 192) the items stand at opt.ini's places in screen pixels, the next-step picture keeps its size and place, the fonts double"
