#!/bin/bash
# `cmake --install` into a DESTDIR: every file of the installation in its place, the launcher and
# tools executable, the menu entries, metainfo and man pages valid, the demo installation
# complete and its bank accepted by the installed velquo-bank.
# Usage: files.sh <build dir> <source dir>
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/velquo-install-files.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$work/dest cmake --install "$build" --prefix /usr >"$work/install.log" ||
    fail "cmake --install: $(tail -5 "$work/install.log")"
root=$work/dest/usr
id=org.velquo.Velquo

for f in bin/velquo bin/velquo-bank bin/velquo-bank-editor lib/velquo/velquo; do
    [ -f "$root/$f" ] && [ -x "$root/$f" ] || fail "$f missing or not executable"
done
for f in opt.ini db.DLL bg.jpg welcome.jpg next.png di.wav 0.wav; do
    [ -s "$root/share/velquo/demo/$f" ] || fail "demo file $f missing"
    cmp -s "$root/share/velquo/demo/$f" "$build/demo-install/$f" || fail "demo file $f differs from the build's"
done
"$root/bin/velquo-bank" check "$root/share/velquo/demo/db.DLL" >"$work/check.log" 2>&1 ||
    fail "installed velquo-bank rejects the installed demo bank: $(cat "$work/check.log")"

# Menu entries: every one valid, its icon installed, its command installed.
entries=("$root"/share/applications/*.desktop)
for entry in "$id" "$id.BankEditor"; do
    [ -f "$root/share/applications/$entry.desktop" ] || fail "menu entry $entry.desktop missing"
done
for desktop in "${entries[@]}"; do
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate $desktop: $out"
    [ -z "$out" ] || fail "desktop-file-validate $(basename "$desktop") reports: $out"
    exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$root/bin/$exec_cmd" ] || fail "$(basename "$desktop"): Exec=$exec_cmd is not an installed program"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "icon $icon.svg missing"
done
grep -qx 'Name\[zh_CN\]=晚会出题' "$root/share/applications/$id.desktop" || fail "Chinese name missing"
grep -q '^Comment\[zh_CN\]=' "$root/share/applications/$id.desktop" || fail "Chinese comment missing"
grep -q '^Comment=' "$root/share/applications/$id.desktop" || fail "English comment missing"

# Icons: the drawing and every PNG size at the size its folder names.
for icon in "$id" "$id.BankEditor"; do
    for size in 16 24 32 48 64 128 256; do
        png=$root/share/icons/hicolor/${size}x${size}/apps/$icon.png
        [ -f "$png" ] || fail "icon $icon ${size}x${size} missing"
        [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "icon $png is not ${size}x${size}"
    done
done

# Metainfo: valid, naming the menu entry and every program; no screenshot address that a
# software centre could not show (the project has no public one).
for meta in "$root"/share/metainfo/*.metainfo.xml; do
    out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate $meta: $out"
done
meta=$root/share/metainfo/$id.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" || fail "metainfo names no menu entry"
for program in velquo velquo-bank velquo-bank-editor; do
    grep -q "<binary>$program</binary>" "$meta" || fail "metainfo does not provide $program"
done
! grep -q '<screenshot' "$meta" || fail "metainfo names a screenshot the package does not carry"

# Man pages: compressed, and formatted without warnings.
for page in velquo-bank velquo velquo-bank-editor; do
    gz=$root/share/man/man1/$page.1.gz
    [ -f "$gz" ] || fail "man page $page missing"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gz" 2>&1 >"$work/$page.txt") || true
    [ -z "$warnings" ] || fail "man page $page: $warnings"
    grep -q "^NAME" "$work/$page.txt" || fail "man page $page does not format"
done
grep -q 'velquo-bank build' "$work/velquo-bank.txt" || fail "velquo-bank's man page has no build command"
# The Chinese pages beside them, which man picks under a zh_CN locale.
for page in velquo-bank velquo velquo-bank-editor; do
    gz=$root/share/man/zh_CN/man1/$page.1.gz
    [ -f "$gz" ] || fail "Chinese man page $page missing"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gz" 2>&1 >"$work/$page.zh.txt") || true
    [ -z "$warnings" ] || fail "Chinese man page $page: $warnings"
    grep -q "^名称" "$work/$page.zh.txt" || fail "Chinese man page $page does not format"
done
grep -q '由题目表生成题库' "$work/velquo-bank.zh.txt" || fail "velquo-bank's Chinese page has no build command"

[ -f "$root/share/doc/velquo/copyright" ] || fail "licence missing"
# Nothing outside the prefix.
[ "$(ls "$work/dest")" = usr ] || fail "files outside /usr: $(ls "$work/dest")"
echo "PASS: installation complete and valid ($(find "$root" -type f | wc -l) files)"
