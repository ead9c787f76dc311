#!/usr/bin/env bash
# Makes the Windows installer from a portable program folder:
#
#   packaging/windows/make-installer.sh SOURCE_DIR VERSION OUTPUT
#
# SOURCE_DIR holds what the portable zip holds: velquo.exe, velquo-bank.exe,
# velquo-bank-editor.exe, the Qt DLLs and plugin folders, the translations, and the demo
# installation's opt.ini, bg.jpg, welcome.jpg, next.png, di.wav, 0.wav and db.DLL.
#
# The demo files are the operator's to change: the installer lays each down only where it is
# missing and the uninstaller leaves it. Everything else is a program file, replaced by every
# installation and removed by the uninstaller. The list of program files is read from the folder
# here, so that a DLL or plugin the build adds or drops needs no edit of velquo.nsi.
#
#   MAKENSIS   the makensis to run (default: makensis from PATH)
set -euo pipefail

usage() { echo "usage: $0 SOURCE_DIR VERSION OUTPUT" >&2; exit 2; }
die() { echo "make-installer: $*" >&2; exit 1; }
[ $# -eq 3 ] || usage

here=$(cd "$(dirname "$0")" && pwd)
[ -d "$1" ] || die "no folder $1"
src=$(cd "$1" && pwd)
version=$2
[ -n "$version" ] || usage
# makensis runs in the script's folder, so the output is named from here.
mkdir -p "$(dirname "$3")"
output=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
makensis=${MAKENSIS:-makensis}
command -v "$makensis" >/dev/null || die "makensis not found (Debian: apt-get install nsis)"

demo_files=(opt.ini bg.jpg welcome.jpg next.png di.wav 0.wav db.DLL)
for f in "${demo_files[@]}" velquo.exe velquo-bank.exe velquo-bank-editor.exe; do
    [ -f "$src/$f" ] || die "$src lacks $f"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velquo-installer.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Windows compares names without case, so the demo files and the names kept for the operator are
# matched that way too.
is_demo_file() {
    local lower=${1,,} f
    for f in "${demo_files[@]}"; do
        [ "$lower" = "${f,,}" ] && return 0
    done
    return 1
}

# In the run-time paths of an NSIS string "$" starts a variable; Windows forbids the characters
# that could end one. File takes its source path as it stands, only ${...} there is a define.
nsis_quote() { printf '%s' "${1//\$/\$\$}"; }

# -L: a file the build links into the folder goes in as the file itself.
mapfile -d '' files < <(cd "$src" && find -L . -type f -print0 | LC_ALL=C sort -z)
program_files=()
for f in "${files[@]}"; do
    f=${f#./}
    is_demo_file "$f" && continue
    case "$f" in
        *[\\:*?\"\<\>\|]*) die "$f: a name Windows cannot hold" ;;
        *'${'*) die "$f: makensis would read \${ in a name as a define" ;;
    esac
    lower=${f,,}
    # A program file of such a name in the installation folder would be taken from the operator
    # on every upgrade and by the uninstaller: those names are theirs.
    case "$lower" in
        */*) ;;
        uninstall.exe) die "$f: the installer writes its own Uninstall.exe" ;;
        *.jpg | *.png | *.bmp | *.wav | db.dll.bak)
            die "$f: a name kept for the operator's own files cannot be a program file" ;;
    esac
    program_files+=("$f")
done

# The lists: one File per program file under the SetOutPath of its folder, and for the
# uninstaller one Delete each, then the folders, deepest first (a folder sorts after everything
# inside it in reverse order), each removed only if nothing is left in it.
nsh=$work/program-files.nsh
{
    echo "; Program files of $src, listed by make-installer.sh."
    echo "!macro VELQUO_INSTALL_PROGRAM_FILES"
    outdir=
    for f in "${program_files[@]}"; do
        dir=$(dirname "$f")
        if [ "$dir" != "$outdir" ]; then
            if [ "$dir" = . ]; then
                echo '  SetOutPath "$INSTDIR"'
            else
                echo "  SetOutPath \"\$INSTDIR\\$(nsis_quote "${dir//\//\\}")\""
            fi
            outdir=$dir
        fi
        echo "  File \"$src/$f\""
    done
    echo "!macroend"
    echo "!macro VELQUO_REMOVE_PROGRAM_FILES"
    for f in "${program_files[@]}"; do
        echo "  Delete \"\$INSTDIR\\$(nsis_quote "${f//\//\\}")\""
    done
    for f in "${program_files[@]}"; do
        dir=$(dirname "$f")
        while [ "$dir" != . ]; do
            printf '%s\n' "$dir"
            dir=$(dirname "$dir")
        done
    done | LC_ALL=C sort -ru | while IFS= read -r dir; do
        echo "  RMDir \"\$INSTDIR\\$(nsis_quote "${dir//\//\\}")\""
    done
    echo "!macroend"
} >"$nsh"

# Windows' version resource takes four numbers: 0.1 is 0.1.0.0, and 1.2-rc1 is 1.2.0.0.
numeric=$(printf '%s' "$version" | sed -E 's/^([0-9]+(\.[0-9]+){0,3}).*/\1/; t; s/.*//')
defines=()
if [ -n "$numeric" ]; then
    while [ "$(tr -cd . <<<"$numeric" | wc -c)" -lt 3 ]; do numeric=$numeric.0; done
    defines+=("-DVERSION_NUMERIC=$numeric")
fi

echo "make-installer: ${#program_files[@]} program files from $src -> $output" >&2
"$makensis" -V2 -WX -INPUTCHARSET UTF8 \
    "-DVERSION=$version" "-DSOURCE_DIR=$src" "-DOUTPUT=$output" "-DPROGRAM_FILES=$nsh" \
    "${defines[@]}" "$here/velquo.nsi" >"$work/makensis.log" 2>&1 ||
    { cat "$work/makensis.log" >&2; die "makensis failed"; }
[ -s "$output" ] || die "makensis made no $output"
echo "make-installer: $output ($(stat -c %s "$output") bytes)" >&2
