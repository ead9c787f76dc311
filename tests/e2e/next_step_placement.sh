#!/bin/bash
# Pixel checks of the next-step picture on the full-screen main screen, at two screen sizes: the
# 64 x 64 next.png scaled to 49 x 49 stands with its right edge 30 px from the screen's right
# edge and its bottom edge 60 px above the screen's bottom edge, its transparent middle shows the
# background, and nothing else on the screen is red (the answer hot spot draws nothing).
# Usage: next_step_placement.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

RED=$E2E_NEXT_COLOR

check_screen() {
    local w=$1 h=$2
    E2E_SCREEN_W=$w E2E_SCREEN_H=$h
    start_xvfb
    make_install
    start_app
    wait_until "$E2E_TIMEOUT" "the main screen to fill the ${w}x${h} screen" main_fills_screen
    wait_until "$E2E_TIMEOUT" "the next-step picture on the screen" has_colour 0 0 "$w" "$h" "$RED" 100
    shot
    # The picture's box: 49 x 49, right edge 30 px and bottom edge 60 px from the screen's edges.
    local right=$((w - 1 - 30)) bottom=$((h - 1 - 60))
    local left=$((right - 48)) top=$((bottom - 48))
    local mid_x=$(((left + right) / 2)) mid_y=$(((top + bottom) / 2))
    local where
    for where in "$left $mid_y" "$right $mid_y" "$mid_x $top" "$mid_x $bottom" \
        "$left $top" "$right $top" "$left $bottom" "$right $bottom"; do
        near "$(pixel $where)" "$RED" 40 || fail "${w}x${h}: picture pixel at $where is $(pixel $where), not red"
    done
    for where in "$((left - 1)) $mid_y" "$((right + 1)) $mid_y" "$mid_x $((top - 1))" "$mid_x $((bottom + 1))"; do
        near "$(pixel $where)" "$E2E_BG" 16 || fail "${w}x${h}: pixel at $where just outside the picture is $(pixel $where)"
    done
    # The hole in the middle of next.png is transparent: the background shows through.
    near "$(pixel "$mid_x" "$mid_y")" "$E2E_BG" 16 || fail "${w}x${h}: the picture's transparent middle is $(pixel "$mid_x" "$mid_y")"
    # All red of the screen lies in the box, and the box is the whole scaled picture (49 x 49
    # less the hole of about 12 x 12).
    local inside all
    inside=$(colour_count "$left" "$top" 49 49 "$RED")
    all=$(colour_count 0 0 "$w" "$h" "$RED")
    [ "$inside" -eq "$all" ] || fail "${w}x${h}: $((all - inside)) red pixels outside the picture's box"
    [ "$inside" -ge 2150 ] && [ "$inside" -le 2300 ] || fail "${w}x${h}: $inside red pixels, not a 49 x 49 picture with a hole"
    e2e_log "${w}x${h}: picture at $left, $top .. $right, $bottom"
    stop_session
}

main_fills_screen() {
    local g
    g=$(window_geometry "$(main_window)") || return 1
    [ "$g" = "0 0 $E2E_SCREEN_W $E2E_SCREEN_H" ]
}

check_screen 1024 768
check_screen 1280 720
pass "next-step picture 30 px from the right and 60 px from the bottom at 1024x768 and 1280x720"
