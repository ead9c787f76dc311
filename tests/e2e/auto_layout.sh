#!/bin/bash
# "自动排版" on a 4:3 projector (1024 x 768) and on a 1920 x 1080 screen: an installation laid out
# for a wide screen, its title wholly off the screen, is laid out anew from the right-button
# menu; then the title, a running countdown, a question of several lines and its answer all
# show inside the screen (judged by their pixels), where opt.ini now places them.
# Usage: auto_layout.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

# Each item in a colour of its own: title cyan, countdown yellow, question white, answer green.
TITLE='#00ffff' COUNTDOWN='#ffff00' QUESTION='#ffffff' ANSWER='#00ff00'
E2E_QUESTIONS_CSV='编号,题目,答案
1,在我国古代的四大发明中，除了造纸术、印刷术和火药以外，还有哪一项发明被广泛用于航海和辨别方向？请说出它的名字。,指南针'

# box COLOUR: "X Y W H" of the pixels of the colour on the last screenshot; empty when none.
box() {
    [ "$(colour_count 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$1")" -gt 20 ] || return 0
    convert "$E2E_SHOT" -fuzz 12% -fill black +opaque "$1" -fill white -opaque "$1" \
        -format '%@' info: | sed 's/^\([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\)$/\3 \4 \1 \2/'
}

# inside NAME COLOUR: the item's pixels are on the screen and clear of its edges.
inside() {
    local b X Y W H
    b=$(box "$2")
    [ -n "$b" ] || fail "$E2E_SCREEN_W x $E2E_SCREEN_H: the $1 is not on the screen"
    read -r X Y W H <<<"$b"
    [ "$X" -ge 2 ] && [ "$Y" -ge 2 ] && [ $((X + W)) -le $((E2E_SCREEN_W - 2)) ] &&
        [ $((Y + H)) -le $((E2E_SCREEN_H - 2)) ] ||
        fail "$E2E_SCREEN_W x $E2E_SCREEN_H: the $1 at $X, $Y ($W x $H) reaches the screen's edge"
    echo "$b"
}

# at_place NAME "X Y W H" LEFT TOP: the item's pixels start just right of and below its stored
# place (a glyph's side bearing and the font's leading).
at_place() {
    local X Y W H
    read -r X Y W H <<<"$2"
    [ "$X" -ge "$3" ] && [ "$X" -le $(($3 + 24)) ] && [ "$Y" -ge "$4" ] && [ "$Y" -le $(($4 + 40)) ] ||
        fail "$E2E_SCREEN_W x $E2E_SCREEN_H: the $1's pixels at $X, $Y, not at its stored place $3, $4"
}

describe() { e2e_log "$E2E_SCREEN_W x $E2E_SCREEN_H $1: title [$(box "$TITLE")] countdown [$(box "$COUNTDOWN")] question [$(box "$QUESTION")]"; }

for size in 1024x768 1920x1080; do
    E2E_SCREEN_W=${size%x*} E2E_SCREEN_H=${size#*x}
    start_xvfb
    # The layout of a 1920-pixel installation, with the title moved wholly off any screen.
    make_install biaoti=联欢晚会趣味有奖竞猜 biaoti_fontsize=36 biaoti_color=16776960 \
        biaoti_left=3000 biaoti_top=56 shijian=30 shijian_fontsize=66 shijian_color=65535 \
        shijian_left=1050 shijian_top=28 wenti_fontsize=32 wenti_width=1040 wenti_left=120 \
        wenti_top=200 daan_fontsize=34 daan_color=65280 daan_width=1040 daan_left=120 daan_top=285
    start_app
    key space space # the question, then the countdown
    wait_until "$E2E_TIMEOUT" "the question" has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$QUESTION" 200
    describe "before 自动排版"

    open_menu 300 $((E2E_SCREEN_H - 100))
    key Down Return # 自动排版, the first entry
    wait_until "$E2E_TIMEOUT" "the title back on the screen" has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$TITLE" 200
    wait_until "$E2E_TIMEOUT" "wenti_width in opt.ini changed" test "$(ini_value wenti_width)" != 1040
    no_box_window || fail "an error box after 自动排版"
    shot
    describe "after 自动排版"
    title=$(inside title "$TITLE")
    countdown=$(inside countdown "$COUNTDOWN")
    question=$(inside question "$QUESTION")
    at_place title "$title" "$(ini_value biaoti_left)" "$(ini_value biaoti_top)"
    at_place countdown "$countdown" "$(ini_value shijian_left)" "$(ini_value shijian_top)"
    at_place question "$question" "$(ini_value wenti_left)" "$(ini_value wenti_top)"
    read -r QX QY QW QH <<<"$question"
    [ $((QX + QW)) -le $(($(ini_value wenti_left) + $(ini_value wenti_width))) ] ||
        fail "the question's lines run past wenti_width"
    # Several lines: taller than two lines of 32-point text (43 px at 96 dpi).
    [ "$QH" -gt 86 ] || fail "the question shows on one line ($QW x $QH)"
    read -r TX TY TW TH <<<"$title"
    read -r CX CY CW CH <<<"$countdown"
    [ $((TX + TW)) -lt "$CX" ] || [ $((TY + TH)) -lt "$CY" ] || fail "the title and the countdown overlap"

    key space # the answer
    wait_until "$E2E_TIMEOUT" "the answer" has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$ANSWER" 100
    answer=$(inside answer "$ANSWER")
    read -r AX AY AW AH <<<"$answer"
    [ "$AY" -gt $((QY + QH)) ] || fail "the answer at $AY overlaps the question ending at $((QY + QH))"
    [ "$(ini_value daan_left)" = "$(ini_value wenti_left)" ] || fail "daan_left is not the question's left"
    [ "$(ini_value daan_width)" = "$(ini_value wenti_width)" ] || fail "daan_width is not the question's width"
    e2e_log "$size after 自动排版: answer [$answer]; opt.ini biaoti $(ini_value biaoti_left),$(ini_value biaoti_top) shijian $(ini_value shijian_left),$(ini_value shijian_top) wenti $(ini_value wenti_left),$(ini_value wenti_top) width $(ini_value wenti_width) daan_top $(ini_value daan_top)"
    stop_session
done
pass "自动排版 brings every item inside a 1024 x 768 and a 1920 x 1080 screen and stores the places"
