# Shared by the teams' end-to-end tests, sourced after lib.sh. Four teams, one of them with
# characters only GBK has, and the board at 40, BOARD_TOP in cyan; BOARD=(X Y W H) is where the
# test looks for it. The team that just scored is marked in gold.
CYAN='#00ffff'
GOLD='#ffd000'

# teams_install START [KEY=VALUE...]: an installation with every team at START points.
teams_install() {
    local start=$1
    shift
    make_install "$@"
    printf 'duiwu1=红队\r\nduiwu2=喆堃队\r\nduiwu3=蓝队\r\nduiwu4=绿队\r\nduiwu_fenshu=%s\r\njifenban_left=40\r\njifenban_top=%s\r\njifenban_color=16776960\r\n' \
        "$start" "$BOARD_TOP" | iconv -f UTF-8 -t GBK >>"$E2E_INSTALL/opt.ini"
}
board_hash() { region_hash "${BOARD[@]}"; }
# The board drawn in cyan, none of it marked.
board_settled() { has_colour "${BOARD[@]}" "$CYAN" 200 && [ "$(colour_count "${BOARD[@]}" "$GOLD")" -eq 0 ]; }
board_marked() { has_colour "${BOARD[@]}" "$GOLD" 40; }

# fresh_board START [KEY=VALUE...]: FRESH_BOARD is the board's picture at a fresh start with
# every team at START; the presenter is ended again.
fresh_board() {
    teams_install "$@"
    start_app
    wait_until "$E2E_TIMEOUT" "the scoreboard at $1" board_settled
    FRESH_BOARD=$(board_hash)
    kill -KILL "$E2E_APP_PID"
    wait "$E2E_APP_PID" 2>/dev/null || true
}
