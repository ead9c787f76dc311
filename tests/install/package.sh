#!/bin/bash
# The Debian package: CPack makes it from the install rules into <build dir>/package; its
# control data names the libraries the programs link (from dpkg-shlibdeps) and what they load at
# run time, and its contents are the installation's files, owned by root, under /usr.
# Usage: package.sh <build dir> <source dir>
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/velquo-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -f "$build"/package/velquo_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || fail "cpack: $(tail -20 "$work/cpack.log")"
debs=("$build"/package/velquo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single velquo_*.deb in $build/package"
deb=${debs[0]}
echo "package: $deb ($(stat -c %s "$deb") bytes)"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = velquo ] || fail "package name $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture $(field Architecture)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no maintainer or description"
depends=$(field Depends)
echo "Depends: $depends"
echo "Recommends: $(field Recommends)"
# Linked libraries (dpkg-shlibdeps) and what is loaded at run time.
named=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g' | sort -u)
for need in libqt6core6 libqt6gui6 libqt6widgets6 libcanberra0 libcanberra-pulse libsndfile1 libmdb3 libjpeg62-turbo \
    libc6 libstdc++6 qt6-qpa-plugins qt6-translations-l10n fonts-wqy-zenhei; do
    grep -Fqx "$need" <<<"$named" || fail "Depends lacks $need"
done
grep -q pulseaudio <<<"$(field Recommends)" || fail "no sound server recommended"
# Every package named must exist in the archive this machine knows.
known=$(apt-cache show --no-all-versions $named 2>/dev/null | sed -n 's/^Package: //p' | sort -u)
for p in $named; do
    grep -Fqx "$p" <<<"$known" || fail "Depends names $p, which apt does not know"
done

# Contents: the installation's files, owned by root, nothing outside /usr.
dpkg-deb --contents "$deb" >"$work/contents"
for f in ./usr/bin/velquo ./usr/bin/velquo-bank ./usr/bin/velquo-bank-editor ./usr/lib/velquo/velquo \
    ./usr/share/applications/org.velquo.Velquo.desktop \
    ./usr/share/applications/org.velquo.Velquo.BankEditor.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.velquo.Velquo.BankEditor.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.velquo.Velquo.BankEditor.png \
    ./usr/share/man/man1/velquo.1.gz ./usr/share/man/man1/velquo-bank-editor.1.gz \
    ./usr/share/doc/velquo/changelog.gz \
    ./usr/share/metainfo/org.velquo.Velquo.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.velquo.Velquo.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.velquo.Velquo.png \
    ./usr/share/man/man1/velquo-bank.1.gz ./usr/share/doc/velquo/copyright \
    ./usr/share/velquo/demo/opt.ini ./usr/share/velquo/demo/db.DLL ./usr/share/velquo/demo/bg.jpg \
    ./usr/share/velquo/demo/welcome.jpg ./usr/share/velquo/demo/next.png \
    ./usr/share/velquo/demo/di.wav ./usr/share/velquo/demo/0.wav; do
    grep -q " $f\$" "$work/contents" || fail "the package lacks $f"
done
awk '{print $2}' "$work/contents" | grep -vqx 'root/root' && fail "files not owned by root: $(awk '$2 != "root/root"' "$work/contents")"
awk '{print $6}' "$work/contents" | grep -Ev '^\./(usr(/.*)?)?$' && fail "files outside /usr"
for f in ./usr/bin/velquo ./usr/bin/velquo-bank ./usr/lib/velquo/velquo; do
    grep " $f\$" "$work/contents" | grep -q '^-rwxr-xr-x' || fail "$f is not mode 755"
done

# The programs in it are stripped and find every library they link.
dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/velquo-bank usr/lib/velquo/velquo; do
    file "$work/root/$f" | grep -q ', stripped' || fail "$f is not stripped"
    missing=$(ldd "$work/root/$f" | grep 'not found' || true)
    [ -z "$missing" ] || fail "$f: $missing"
done
# Debian's own checks of a package: no error, no warning (notes are allowed).
if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
    if grep -E '^[EW]: ' "$work/lintian.log"; then
        fail "lintian reports errors or warnings (above)"
    fi
    echo "lintian: $(grep -c '^[IN]: ' "$work/lintian.log") notes, no error or warning"
else
    fail "lintian is not installed (scripts/install-deps.sh test installs it)"
fi
echo "PASS: package $(basename "$deb"), $(wc -l <"$work/contents") entries, dependencies complete"
