#!/usr/bin/env bash
# The Windows test command: builds the Windows programs and packages (scripts/build-windows.sh),
# runs the unit tests cross-built for Windows under wine (offscreen platform), then the
# real-window tests that apply to Windows against the unzipped portable folder under
# Xvfb + wine, the comparisons with the Linux build (bank tool output, main screen layout), the
# countdown's sounds through wine's sound driver, and the installer under wine. Ends with
# "N passed, N failed".
#
#   VELQUO_LINUX_BUILD   the Linux build compared with (default build/release, built when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${VELQUO_WIN64_BUILD:-$root/build/win64}
linux=${VELQUO_LINUX_BUILD:-$root/build/release}
bash scripts/build-windows.sh
if [ ! -x "$linux/velquo" ] || [ ! -x "$linux/tools/bank/velquo-bank" ]; then
    scripts/build.sh "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELQUO_TESTS=ON -DVELQUO_BENCH=ON \
        -DVELQUO_WERROR=ON
fi
export WINEDEBUG=-all

# The programs run as on a Chinese Windows: wine takes the ANSI code page (936) from the Unix
# locale, which is made here when the machine has none for Chinese.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf-\?8'; then
    mkdir -p "$work/locales"
    localedef -i zh_CN -f UTF-8 "$work/locales/zh_CN.UTF-8" 2>/dev/null ||
        { echo "no Chinese locale can be made (is the locales package installed?)" >&2; exit 1; }
    export LOCPATH=$work/locales
fi
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# A Windows program's start under wine on a loaded machine takes seconds more than on Linux.
export E2E_TIMEOUT=${E2E_TIMEOUT:-60}

passed=0 failed=0
record() {
    if [ "$1" -eq 0 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $2" >&2
    fi
}

# The first wine program of a session starts the wine server and, in a new prefix, the prefix's
# own services; they keep the standard output they were started with for as long as they live,
# and ctest waits for a test's output to close: the test that happened to start them ran into
# its timeout long after it had ended. Started here on /dev/null and kept for the unit tests,
# they hold no test's output.
# A server already running (another wine program of the same user) is used as it is.
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

status=0
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2 --timeout 300) || status=$?
record $status "unit tests under wine"
# The real-window tests each start an X server of their own, and wine's desktop lives as long as
# its server: that started above knew no display. Each of them starts its own.
wineserver -k 2>/dev/null || true
wineserver -w

version=$(sed -n 's/^project(Velquo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
unzip -q "$build/package/velquo-$version-win64.zip" -d "$work"
folder=$work/velquo-$version-win64
# The real-window tests whose subject the Windows build shares. The others read what only Linux
# has (/proc, the shared objects a process maps, the X properties Qt's own X backend sets) or
# need two monitors, which wine on the dummy X driver has not been made to show yet.
for t in question_cycle exit_question drag_label drag_error_box settings_dialog settings_cancel \
    hall_keys large_pictures missing_bank; do
    status=0
    E2E_WINDOWS=$folder timeout 300 bash tests/e2e/$t.sh "$build" "$root" || status=$?
    record $status "e2e under wine: $t"
done
# Forty starts in a row: a fault that strikes one start in dozens (velquo.exe once crashed
# inside Qt's plugin list in about one start in forty under wine) shows here.
status=0
E2E_WINDOWS=$folder E2E_STARTS=40 timeout 900 bash tests/e2e/repeated_starts.sh "$build" "$root" ||
    status=$?
record $status "e2e under wine: 40 starts in a row"
# Against the Linux build, and heard from outside.
status=0
E2E_WINDOWS=$folder timeout 300 bash tests/windows/main_screen_layout.sh "$linux" "$root" || status=$?
record $status "main screen layout against the Linux build"
status=0
E2E_WINDOWS=$folder timeout 300 bash tests/e2e/countdown_sound.sh "$build" "$root" || status=$?
record $status "countdown sounds through wine's sound driver"
status=0
E2E_WINDOWS=$folder timeout 300 bash tests/e2e/countdown_control.sh "$build" "$root" || status=$?
record $status "countdown held and changed, through wine's sound driver"
# A question's clip in every kind: WAV, MP3 (which Windows plays through its own MP3 codec), and
# Ogg, FLAC and M4A (decoded by the media library built into the program), heard likewise.
for clip in wav mp3 ogg flac m4a; do
    status=0
    E2E_WINDOWS=$folder E2E_CLIP=$clip E2E_TEST_BANK=$linux/tests/velquo-test-bank timeout 300 \
        bash tests/e2e/question_sound.sh "$build" "$root" || status=$?
    record $status "a question's $clip clip through wine's sound driver"
done
status=0
timeout 900 bash tests/windows/bank_outputs.sh "$linux/tools/bank/velquo-bank" "$folder" "$root" || status=$?
record $status "velquo-bank.exe output against the Linux build's"

status=0
bash tests/install/windows_installer.sh "$build/package/velquo-$version-win64-setup.exe" || status=$?
[ $status -eq 77 ] || record $status "installer under wine"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
