#!/usr/bin/env bash
# The Windows installer, really installed under wine in a fresh prefix, the way an operator meets
# it: the programs in the user's own writable folder, the Start-menu and desktop shortcuts
# starting the programs in that folder, the entry of Settings → Apps; an upgrade over it that
# replaces the programs and keeps the operator's settings, bank, pictures and sounds; the
# uninstaller registered there, which takes the programs, shortcuts and entry and leaves the
# operator's files; installing again over those files; and a second installation in another
# folder, whose shortcuts and entry the first one's uninstaller leaves alone.
#
#   windows_installer.sh SETUP.exe          test a built installer (it is also its own upgrade)
#   windows_installer.sh --self-contained   pack two versions of a folder of stand-in programs
#                                           with make-installer.sh and test the pair
#
# The self-contained run also starts each shortcut (the stand-in programs record what ran and in
# which folder) and holds the editor open to see an upgrade and an uninstall refuse to go on.
# Exit 0 when all holds, 1 with the first failure, 77 when wine, makensis or the MinGW compiler
# it needs is missing.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }
usage() { echo "usage: $0 SETUP.exe | --self-contained" >&2; exit 2; }
[ $# -eq 1 ] || usage

self_contained=false
case "$1" in
    --self-contained) self_contained=true ;;
    -*) usage ;;
    *) [ -f "$1" ] || fail "no installer $1"; given_setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") ;;
esac

for tool in wine wineboot wineserver winepath python3 timeout; do
    command -v "$tool" >/dev/null || skip "$tool not found (Debian: apt-get install wine wine64 python3)"
done
if $self_contained; then
    command -v makensis >/dev/null || skip "makensis not found (Debian: apt-get install nsis)"
    cc=
    for c in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-gcc; do
        command -v "$c" >/dev/null && { cc=$c; break; }
    done
    [ -n "$cc" ] || skip "no MinGW-w64 compiler (Debian: apt-get install gcc-mingw-w64-x86-64-posix)"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/velquo-windows-installer.XXXXXX")
# The prefix's own wineserver is ended with it, whatever state a failure left it in.
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

# A prefix of its own, and a HOME of its own: wine links the prefix's Desktop to $HOME, so the
# shortcuts would otherwise land on the desktop of whoever runs the test. No menu entries for the
# Linux desktop either, no window on it, and no offer to download Mono or Gecko.
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache
unset DISPLAY WAYLAND_DISPLAY
# The shortcuts' and a folder's CJK names pass between wine and Linux as UTF-8 whatever locale
# the caller has.
export LC_ALL=C.UTF-8
mkdir -p "$HOME"

# Everything a wine command started, including what it left running on its own (the copy of
# itself the uninstaller starts, the programs a shortcut starts), has ended when the prefix's
# wineserver has.
settle() {
    timeout 120 wineserver -w || fail "wine still running 120 s after $1"
}

win_var() { wine cmd /c echo "%$1%" </dev/null | tr -d '\r'; }
unix_path() { winepath -u "$1" </dev/null | tr -d '\r'; }
win_path() { winepath -w "$1" </dev/null | tr -d '\r'; }
same_win_path() { [ "${1,,}" = "${2,,}" ]; }

# Shortcut and registry-export readers (MS-SHLLINK; regedit's UTF-16 .reg text).
helper() {
    python3 - "$@" <<'PY'
import struct, sys

def id_list_path(ids):
    """The file system path of a shell item id list (computer, drive, folders, file), or None."""
    parts, pos = [], 0
    while pos + 2 <= len(ids):
        size = struct.unpack_from("<H", ids, pos)[0]
        if size == 0:
            break
        item = ids[pos:pos + size]
        kind = item[2] & 0x70
        if kind == 0x20:  # a drive: "C:\" in ANSI
            parts = [item[3:item.index(b"\0", 3)].decode("ascii").rstrip("\\")]
        elif kind == 0x30 and len(item) > 8:  # a folder or file
            # The extension block ends the item and the item's last word is where it starts;
            # the long name is the UTF-16 string that ends just before that word.
            end = size - 4
            if struct.unpack_from("<H", item, end)[0] != 0:
                return None
            start = end
            while start >= 2 and struct.unpack_from("<H", item, start - 2)[0] != 0:
                start -= 2
            parts.append(item[start:end].decode("utf-16-le"))
        pos += size
    return "\\".join(parts) if len(parts) > 1 else None

def lnk(path):
    data = open(path, "rb").read()
    if len(data) < 0x4C or data[:4] != b"\x4c\0\0\0":
        sys.exit(f"{path}: not a shell link")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    unicode = flags & 0x80
    pos = 0x4C
    from_ids = None
    if flags & 0x01:
        size = struct.unpack_from("<H", data, pos)[0]
        from_ids = id_list_path(data[pos + 2:pos + 2 + size])
        pos += 2 + size
    target = ""
    if flags & 0x02:
        size, header, _, _, base, _, suffix = struct.unpack_from("<7I", data, pos)
        def ansi(off):
            end = data.index(b"\0", pos + off)
            return data[pos + off:end].decode("mbcs" if sys.platform == "win32" else "latin-1")
        def wide(off):
            end = pos + off
            while data[end:end + 2] != b"\0\0":
                end += 2
            return data[pos + off:end].decode("utf-16-le")
        if header >= 0x24:
            base_w, suffix_w = struct.unpack_from("<2I", data, pos + 28)
            target = wide(base_w) + wide(suffix_w)
        elif from_ids:
            # wine writes the path here only in the ANSI code page, "?" for every CJK character;
            # the item ids, which the shell follows, have the long names in UTF-16.
            target = from_ids
        else:
            target = ansi(base) + ansi(suffix)
        pos += size
    elif from_ids:
        target = from_ids
    strings = []
    for bit in (0x04, 0x08, 0x10, 0x20, 0x40):  # name, relative path, start in, arguments, icon
        if flags & bit:
            count = struct.unpack_from("<H", data, pos)[0]
            pos += 2
            width = 2 if unicode else 1
            raw = data[pos:pos + count * width]
            # wine counts the terminating NUL into the length, Windows does not.
            strings.append(raw.decode("utf-16-le" if unicode else "latin-1").split("\0", 1)[0])
            pos += count * width
        else:
            strings.append("")
    print(target)
    print(strings[2])

def reg(path, name):
    text = open(path, "rb").read().decode("utf-16")
    for line in text.splitlines():
        if line.startswith(f'"{name}"='):
            value = line[len(name) + 3:]
            if value.startswith('"'):
                print(value[1:-1].replace('\\"', '"').replace("\\\\", "\\"))
            elif value.startswith("dword:"):
                print(int(value[6:], 16))
            else:
                print(value)
            return
    sys.exit(f"no value {name}")

{"lnk": lambda: lnk(sys.argv[2]), "reg": lambda: reg(sys.argv[2], sys.argv[3])}[sys.argv[1]]()
PY
}

# Two versions of a folder like the portable zip: stand-in programs that record where they run,
# stand-in DLLs, plugins and translations (one with a space, CJK and "$" in its name, which the
# installer's lists must carry), and the demo files. Version 2 drops a DLL and a plugin folder
# of version 1 and adds a DLL, as a Qt update does.
make_sources() {
    cat >"$work/fake.c" <<'EOF'
/* A program of the installation, as far as an installer can tell: records its own path and the
   folder it was started in to the file named by VELQUO_FAKE_LOG; with VELQUO_FAKE_HOLD set it
   then says so on its output and keeps running until its input closes, as an open program
   holds its file. */
#include <windows.h>
static const char version[] = "velquo stand-in " STAND_IN_VERSION;
int main(void) {
    wchar_t log[MAX_PATH], line[2 * MAX_PATH + 2];
    DWORD n = GetEnvironmentVariableW(L"VELQUO_FAKE_LOG", log, MAX_PATH), w;
    if (n > 0 && n < MAX_PATH) {
        /* One write per line: the programs of all four shortcuts append to the same file. */
        DWORD len = GetModuleFileNameW(NULL, line, MAX_PATH);
        line[len++] = L'|';
        len += GetCurrentDirectoryW(MAX_PATH, line + len);
        line[len++] = L'\n';
        HANDLE h = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_ALWAYS, 0, NULL);
        if (h == INVALID_HANDLE_VALUE) return 1;
        WriteFile(h, line, len * sizeof(wchar_t), &w, NULL);
        CloseHandle(h);
    }
    if (GetEnvironmentVariableW(L"VELQUO_FAKE_HOLD", NULL, 0) > 0) {
        char buf[64];
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "running\n", 8, &w, NULL);
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buf, sizeof buf, &n, NULL) && n > 0) {}
    }
    return version[0] == 'v' ? 0 : 1;
}
EOF
    local v dir f
    for v in 1 2; do
        dir=$work/source$v
        mkdir -p "$dir/platforms" "$dir/imageformats" "$dir/translations"
        nice "$cc" -O2 -s -mwindows "-DSTAND_IN_VERSION=\"$v\"" -o "$dir/velquo.exe" "$work/fake.c" \
            >"$work/cc.log" 2>&1 || fail "$cc could not build the stand-in program: $(head -20 "$work/cc.log")"
        cp "$dir/velquo.exe" "$dir/velquo-bank.exe"
        cp "$dir/velquo.exe" "$dir/velquo-bank-editor.exe"
        for f in Qt6Core.dll Qt6Gui.dll platforms/qwindows.dll imageformats/qjpeg.dll \
            translations/qtbase_zh_CN.qm 'translations/说明 文件 $1.qm' \
            opt.ini bg.jpg welcome.jpg next.png di.wav 0.wav db.DLL; do
            printf '%s of version %s\n' "$f" "$v" >"$dir/$f"
        done
    done
    mkdir -p "$work/source1/styles"
    echo "dropped in version 2" >"$work/source1/Qt6Old.dll"
    echo "dropped in version 2" >"$work/source1/styles/qold.dll"
    echo "new in version 2" >"$work/source2/Qt6New.dll"
}

demo_files=(opt.ini bg.jpg welcome.jpg next.png di.wav 0.wav db.DLL)
is_demo_file() {
    local f
    for f in "${demo_files[@]}"; do [ "${1,,}" = "${f,,}" ] && return 0; done
    return 1
}
# The installation's files, relative to it, one a line.
list_files() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

if $self_contained; then
    make_sources
    for v in 1 2; do
        nice bash "$root/packaging/windows/make-installer.sh" "$work/source$v" "0.$v" \
            "$work/velquo-0.$v-setup.exe" 2>"$work/make$v.log" ||
            fail "make-installer.sh for version 0.$v: $(cat "$work/make$v.log")"
    done
    setup1=$work/velquo-0.1-setup.exe setup2=$work/velquo-0.2-setup.exe
else
    setup1=$given_setup setup2=$given_setup
fi

# Windows asks for an administrator's consent unless the manifest says otherwise.
for s in "$setup1" "$setup2"; do
    grep -aq 'requestedExecutionLevel level="asInvoker"' "$s" ||
        fail "$(basename "$s") does not run as the user who starts it (no asInvoker in its manifest)"
done

started=$(date +%s)
wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || fail "wineboot -i: $(tail -5 "$work/wineboot.log")"
settle "wineboot -i"

local_app_data=$(win_var LOCALAPPDATA)
[ -n "$local_app_data" ] && [ "$local_app_data" != "%LOCALAPPDATA%" ] || fail "wine gives no %LOCALAPPDATA%"
inst_win=$local_app_data\\Programs\\Velquo
inst=$(unix_path "$inst_win")
start_menu=$(unix_path "$(win_var APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
desktop=$(unix_path "$(win_var USERPROFILE)\\Desktop")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velquo'
shortcuts=("$start_menu/晚会出题.lnk" "$start_menu/题库编辑.lnk" "$desktop/晚会出题.lnk" "$desktop/题库编辑.lnk")
shown() { case "$1" in "$desktop"/*) echo "desktop shortcut $(basename "$1")" ;; *) echo "Start-menu shortcut $(basename "$1")" ;; esac; }
target_of() { case "$(basename "$1")" in 晚会出题.lnk) echo velquo.exe ;; *) echo velquo-bank-editor.exe ;; esac; }

# Runs an installer or uninstaller silently as the operator would and waits for all it started.
run_silently() {
    local what=$1 rc=0
    shift
    timeout 300 wine "$@" </dev/null >"$work/run.log" 2>&1 || rc=$?
    [ $rc -ne 124 ] || fail "$what did not end within 300 s (a dialog in silent mode?)"
    [ $rc -eq 0 ] || fail "$what exited with $rc: $(tail -5 "$work/run.log")"
    settle "$what"
}

registry_value() { helper reg "$work/key.reg" "$1"; }
export_key() {
    rm -f "$work/key.reg"
    wine reg export "$key" "$(win_path "$work/key.reg")" /y </dev/null >/dev/null 2>&1 ||
        fail "no uninstall entry $key after $1"
}

check_shortcuts() {
    local lnk read target start_in expected
    for lnk in "${shortcuts[@]}"; do
        [ -f "$lnk" ] || fail "no $(shown "$lnk") after $1"
        read=$(helper lnk "$lnk") || fail "$(shown "$lnk") cannot be read as a shortcut"
        target=${read%%$'\n'*} start_in=${read#*$'\n'}
        expected=$inst_win\\$(target_of "$lnk")
        same_win_path "$target" "$expected" || fail "$(shown "$lnk") points to '$target', not '$expected'"
        [ -f "$(unix_path "$target")" ] || fail "the target of $(shown "$lnk"), $target, does not exist"
        same_win_path "$start_in" "$inst_win" ||
            fail "$(shown "$lnk") starts in '$start_in', not the installation folder (db.DLL and next.png are looked up there)"
    done
}

check_registry() {
    local version=$1 value
    export_key "$2"
    value=$(registry_value DisplayName) || fail "no DisplayName"
    [ "$value" = "Velquo 晚会出题" ] || fail "DisplayName is '$value'"
    value=$(registry_value DisplayVersion) || fail "no DisplayVersion"
    [ -n "$value" ] && { [ -z "$version" ] || [ "$value" = "$version" ]; } || fail "DisplayVersion is '$value', not $version"
    [ "$(registry_value Publisher)" = Velquo ] || fail "Publisher is not Velquo"
    value=$(registry_value InstallLocation)
    same_win_path "$value" "$inst_win" || fail "InstallLocation is '$value', not '$inst_win'"
    value=$(registry_value UninstallString)
    same_win_path "$value" "\"$inst_win\\Uninstall.exe\"" || fail "UninstallString is '$value'"
    value=$(registry_value QuietUninstallString)
    same_win_path "$value" "\"$inst_win\\Uninstall.exe\" /S" || fail "QuietUninstallString is '$value'"
    [ "$(registry_value NoModify)" = 1 ] && [ "$(registry_value NoRepair)" = 1 ] ||
        fail "NoModify or NoRepair is not 1"
    value=$(registry_value EstimatedSize) || fail "no EstimatedSize"
    [ "$value" -gt 0 ] || fail "EstimatedSize is $value"
    [ -f "$inst/Uninstall.exe" ] || fail "no Uninstall.exe in the installation"
}

# The files of a source folder are in the installation with the same bytes.
check_program_files() {
    local source=$1 f
    while IFS= read -r f; do
        is_demo_file "$f" && continue
        cmp -s "$source/$f" "$inst/$f" || fail "$f is not the installer's copy after $2"
    done < <(list_files "$source")
}

# Starting each shortcut as a double click does: the stand-in programs record what ran and from
# where. (wine's start returns at once for a shortcut, so the end is waited for with settle.)
check_started_programs() {
    local lnk log=$work/started.log
    rm -f "$log"
    for lnk in "${shortcuts[@]}"; do
        VELQUO_FAKE_LOG=$(win_path "$log") timeout 60 wine start "$(win_path "$lnk")" </dev/null >/dev/null 2>&1 ||
            fail "starting the $(shown "$lnk") failed"
    done
    settle "starting the shortcuts"
    for lnk in "${shortcuts[@]}"; do
        echo "$inst_win\\$(target_of "$lnk")|$inst_win"
    done | LC_ALL=C sort >"$work/started.expected"
    [ -f "$log" ] || fail "starting the shortcuts ran no program"
    iconv -f UTF-16LE -t UTF-8 "$log" | LC_ALL=C sort >"$work/started.seen"
    diff -u --ignore-case "$work/started.expected" "$work/started.seen" >"$work/started.diff" ||
        fail "the shortcuts did not start the programs in the installation folder (program|folder):
$(cat "$work/started.diff")"
}

# --- First installation.
run_silently "the installer" "$setup1" /S
[ -d "$inst" ] || fail "nothing installed in $inst_win"
for f in velquo.exe velquo-bank.exe velquo-bank-editor.exe platforms/qwindows.dll "${demo_files[@]}"; do
    [ -f "$inst/$f" ] || fail "$f is not installed"
done
ls "$inst"/Qt6*.dll >/dev/null 2>&1 || fail "no Qt DLL installed"
list_files "$inst" >"$work/installed1"
if $self_contained; then
    check_program_files "$work/source1" "installing"
    for f in "${demo_files[@]}"; do
        cmp -s "$work/source1/$f" "$inst/$f" || fail "$f is not the demo installation's copy"
    done
    check_registry 0.1 "installing"
else
    check_registry "" "installing"
fi
check_shortcuts "installing"
$self_contained && check_started_programs
echo "installed: $(wc -l <"$work/installed1") files in $inst_win, 4 shortcuts, the uninstall entry"

# --- While the editor is open, neither the upgrade nor the uninstaller may change anything: the
# installation would be left half old, half new. Both must stop and say so by their exit code.
if $self_contained; then
    export_key "installing"
    cp "$work/key.reg" "$work/key-before.reg"
    coproc held { VELQUO_FAKE_HOLD=1 exec wine "$inst/velquo-bank-editor.exe" 2>/dev/null; }
    # Own copies of the pipes: bash drops the coproc's variables once it has ended.
    exec {hold_in}>&"${held[1]}" {hold_out}<&"${held[0]}"
    # shellcheck disable=SC2154  # held_PID is set by coproc
    hold_pid=$held_PID held_in=${held[1]} held_out=${held[0]}
    exec {held_in}>&- {held_out}<&-
    read -r -t 60 -u "$hold_out" _ || fail "the stand-in editor did not start within 60 s"
    rc=0
    timeout 300 wine "$setup2" /S </dev/null >/dev/null 2>&1 || rc=$?
    [ $rc -eq 2 ] || fail "the upgrade over a running editor exited with $rc, not 2 (aborted)"
    # Without _?= the uninstaller hands over to a copy of itself and its exit code is lost.
    rc=0
    timeout 300 wine "$inst/Uninstall.exe" /S "_?=$inst_win" </dev/null >/dev/null 2>&1 || rc=$?
    [ $rc -eq 2 ] || fail "the uninstaller with the editor running exited with $rc, not 2 (aborted)"
    # Its input closed, the editor ends, and its output with it.
    exec {hold_in}>&-
    rc=0
    read -r -t 60 -u "$hold_out" _ || rc=$?
    [ $rc -eq 1 ] || fail "the stand-in editor did not end within 60 s of its input closing"
    exec {hold_out}<&-
    wait "$hold_pid" || fail "the stand-in editor failed"
    settle "closing the editor"
    check_program_files "$work/source1" "a refused upgrade and uninstall"
    list_files "$inst" | cmp -s - "$work/installed1" || fail "a refused upgrade or uninstall changed the installation's files"
    export_key "a refused upgrade and uninstall"
    cmp -s "$work/key.reg" "$work/key-before.reg" || fail "a refused upgrade or uninstall changed the uninstall entry"
    check_shortcuts "a refused upgrade and uninstall"
    echo "refused: an upgrade and an uninstall while the editor runs change nothing"
fi

# --- The operator's changes: settings and bank edited, a backup and own pictures and notes, one
# demo sound deleted, and a program file damaged.
mkdir -p "$work/kept"
printf '\r\n[canshu]\r\nbiaoti=operator edit\r\n' >>"$inst/opt.ini"
printf 'the operator bank\n' >"$inst/db.DLL"
printf 'the operator backup\n' >"$inst/db.DLL.bak"
printf 'own picture\n' >"$inst/team.jpg"
printf 'own notes\n' >"$inst/节目单.txt"
printf 'own translation\n' >"$inst/translations/mine.qm"
cp "$inst/0.wav" "$work/0.wav.installed"
rm "$inst/0.wav"
cp "$inst/velquo.exe" "$work/velquo.exe.installed"
printf 'damaged' >"$inst/velquo.exe"
for f in opt.ini db.DLL db.DLL.bak team.jpg 节目单.txt bg.jpg welcome.jpg next.png di.wav; do
    cp "$inst/$f" "$work/kept/$f"
done
cp "$inst/translations/mine.qm" "$work/kept/mine.qm"

# --- Upgrade: installed again over it.
run_silently "the upgrade" "$setup2" /S
for f in opt.ini db.DLL db.DLL.bak team.jpg 节目单.txt bg.jpg welcome.jpg next.png di.wav; do
    [ -f "$inst/$f" ] || fail "the upgrade removed the operator's $f"
    cmp -s "$work/kept/$f" "$inst/$f" || fail "the upgrade overwrote the operator's $f"
done
cmp -s "$work/kept/mine.qm" "$inst/translations/mine.qm" || fail "the upgrade took the operator's translations/mine.qm"
[ -f "$inst/0.wav" ] || fail "the upgrade did not lay down the missing demo sound 0.wav"
if $self_contained; then
    cmp -s "$work/source2/0.wav" "$inst/0.wav" || fail "0.wav is not the new installer's copy"
    cmp -s "$work/source2/velquo.exe" "$inst/velquo.exe" || fail "the upgrade did not replace velquo.exe"
    check_program_files "$work/source2" "the upgrade"
    [ ! -e "$inst/Qt6Old.dll" ] || fail "the upgrade left Qt6Old.dll, which the new version does not ship"
    [ ! -e "$inst/styles" ] || fail "the upgrade left the styles folder, which the new version does not ship"
    check_registry 0.2 "the upgrade"
else
    cmp -s "$work/velquo.exe.installed" "$inst/velquo.exe" || fail "the upgrade did not replace velquo.exe"
    cmp -s "$work/0.wav.installed" "$inst/0.wav" || fail "0.wav is not the installer's copy"
    check_registry "" "the upgrade"
fi
check_shortcuts "the upgrade"
$self_contained && check_started_programs
list_files "$inst" >"$work/installed2"
echo "upgraded: programs replaced, the operator's files kept, a missing demo file laid down"

# uninstall_from_entry WHEN WHO: uninstalls as Settings → Apps does it, by the quiet command the
# entry holds (read after WHEN); the shortcuts and the entry must be gone after WHO ran.
uninstall_from_entry() {
    export_key "$1"
    local quiet uninstaller lnk
    quiet=$(registry_value QuietUninstallString)
    uninstaller=${quiet#\"}
    uninstaller=${uninstaller%%\"*}
    run_silently "$2" "$uninstaller" /S
    for lnk in "${shortcuts[@]}"; do
        [ ! -e "$lnk" ] || fail "$2 left the $(shown "$lnk")"
    done
    if wine reg query "$key" </dev/null >/dev/null 2>&1; then
        fail "$2 left the registry key $key"
    fi
}

# --- Uninstall as Settings → Apps does it.
uninstall_from_entry "the upgrade" "the uninstaller"
# Left: exactly the operator's files and the demo files, every program file gone.
printf '%s\n' "${demo_files[@]}" db.DLL.bak team.jpg 节目单.txt translations/mine.qm | LC_ALL=C sort >"$work/expected-left"
list_files "$inst" >"$work/left"
if ! diff -u "$work/expected-left" "$work/left" >"$work/left.diff"; then
    fail "after uninstalling, the installation folder does not hold just the operator's files:
$(cat "$work/left.diff")"
fi
for f in opt.ini db.DLL db.DLL.bak team.jpg 节目单.txt bg.jpg welcome.jpg next.png di.wav; do
    cmp -s "$work/kept/$f" "$inst/$f" || fail "the uninstaller changed the operator's $f"
done
for d in platforms imageformats; do
    [ ! -e "$inst/$d" ] || fail "the uninstaller left the folder $d"
done
echo "uninstalled: programs, shortcuts and entry gone, the operator's $(wc -l <"$work/left") files kept"

# --- Installed again where the operator's files were kept: they are taken up as they are.
run_silently "installing again" "$setup1" /S
for f in opt.ini db.DLL bg.jpg; do
    cmp -s "$work/kept/$f" "$inst/$f" || fail "installing again over the kept files overwrote $f"
done
check_shortcuts "installing again"

# --- A second installation in another folder (with a CJK name) takes over the shortcuts and the
# entry; uninstalling the first one must leave them to it.
first=$inst
inst_win=$local_app_data\\Programs\\晚会出题
run_silently "installing into another folder" "$setup2" /S "/D=$inst_win"
inst=$(unix_path "$inst_win")
[ -f "$inst/velquo.exe" ] || fail "/D=$inst_win installed nothing there"
check_registry "" "installing into another folder"
check_shortcuts "installing into another folder"
run_silently "the first folder's uninstaller" "$first/Uninstall.exe" /S
[ ! -e "$first/velquo.exe" ] && [ ! -e "$first/Uninstall.exe" ] || fail "the first folder's uninstaller left its programs"
check_registry "" "uninstalling the first folder"
check_shortcuts "uninstalling the first folder"
uninstall_from_entry "uninstalling the first folder" "the second folder's uninstaller"
printf '%s\n' "${demo_files[@]}" | LC_ALL=C sort >"$work/expected-left"
list_files "$inst" >"$work/left"
diff -u "$work/expected-left" "$work/left" >"$work/left.diff" ||
    fail "the second folder does not hold just the demo files after uninstalling: $(cat "$work/left.diff")"
echo "two folders: the second keeps the shortcuts and entry when the first is uninstalled"

wineserver -w
echo "windows installer: all checks passed in $(($(date +%s) - started)) s under $(wine --version 2>/dev/null)"
echo "1 passed, 0 failed"
