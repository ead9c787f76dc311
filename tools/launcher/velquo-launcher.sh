#!/bin/sh
# The menu entry's command. The presenter keeps its settings and pictures beside its executable
# and reads its question bank from the current folder, and a system installation must not be
# written to; so every user gets an installation folder of their own, and the presenter runs
# from there.
#
# First start: the folder is filled with the demo installation and a copy of the presenter in a
# temporary folder beside it, then renamed into place, so that an interrupted first start
# leaves nothing half made. Every start: the presenter copy is refreshed when the installed
# presenter differs (an upgrade); opt.ini, pictures, sounds and the bank are never touched
# again. Then the presenter runs there, with that folder as the current folder.
set -eu

here=$(dirname "$(readlink -f "$0")")
program="$here/@VELQUO_LAUNCHER_TO_PROGRAM@"
demo="$here/@VELQUO_LAUNCHER_TO_DEMO@"
home=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
user_dir=$home/晚会出题

fail() {
    echo "velquo: $*" >&2
    exit 1
}

# Options answer on the terminal and start nothing.
usage() {
    case "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}" in
    zh*)
        cat <<EOF
用法：velquo [--help | --version]
全屏显示晚会竞猜题目：第一次启动时在 ~/晚会出题 建立自己的安装文件夹（设置 opt.ini、
背景图、题库 db.DLL），以后每次从那里启动。题库用“题库编辑”（velquo-bank-editor）
或 velquo-bank 制作。
EOF
        ;;
    *)
        cat <<EOF
Usage: velquo [--help | --version]
Shows the party quiz full screen. The first start makes the user's own installation
folder ~/晚会出题 (settings opt.ini, pictures, question bank db.DLL); every start runs the
show from there. Make question banks with the editor 题库编辑 (velquo-bank-editor) or
velquo-bank.
EOF
        ;;
    esac
}
case "${1-}" in
"") ;;
-h | --help)
    usage
    exit 0
    ;;
--version)
    echo "velquo @PROJECT_VERSION@"
    exit 0
    ;;
*)
    usage >&2
    exit 2
    ;;
esac

[ -x "$program" ] || fail "the presenter is not installed: $program"
[ -d "$demo" ] || fail "the demo installation is not installed: $demo"

if [ ! -d "$user_dir" ]; then
    parent=$(dirname "$user_dir")
    mkdir -p "$parent" || fail "cannot make $parent"
    fresh=$(mktemp -d "$parent/.velquo-new.XXXXXX") || fail "cannot write in $parent"
    if cp -R "$demo/." "$fresh/" && cp "$program" "$fresh/velquo" &&
        chmod u+w "$fresh" "$fresh"/* && chmod 755 "$fresh" "$fresh/velquo"; then
        # Two first starts at once: the second finds the folder made and uses it.
        mv -T "$fresh" "$user_dir" 2>/dev/null || rm -rf "$fresh"
    else
        rm -rf "$fresh"
        fail "cannot make $user_dir"
    fi
    [ -d "$user_dir" ] || fail "cannot make $user_dir"
fi

# An upgrade brought a new presenter: replace the user's copy in one rename (a running copy
# keeps its own file until it ends).
if ! cmp -s "$program" "$user_dir/velquo"; then
    next="$user_dir/.velquo.new"
    cp "$program" "$next" && chmod 755 "$next" && mv -f "$next" "$user_dir/velquo" ||
        { rm -f "$next"; fail "cannot update $user_dir/velquo"; }
fi

cd "$user_dir"
exec ./velquo
