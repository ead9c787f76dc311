#!/usr/bin/env bash
# Installs the Debian 12 packages Velquo needs, only those that are missing.
#
#   scripts/install-deps.sh run    what building and running need (the run command)
#   scripts/install-deps.sh test   the run set plus what testing adds (the test command)
#
# A package the program or its build needs goes into RUN_PACKAGES; a package only the tests,
# benchmarks, checks or packaging need goes into TEST_PACKAGES.
set -euo pipefail

# Building and running: compiler and build tools, Qt 6 (widgets, lrelease for the bank tool's
# English texts, the X11 platform plugin, its Chinese translations for the standard buttons and
# dialogs of the presenter and the bank editor), the event-sound library with its sound-server
# backend, the sound-file library (it decodes the sounds the event-sound library does not read),
# FFmpeg's decoding libraries (M4A clips; the build needs their headers, the program loads them
# with the first such clip),
# libxcb with its keyboard extension, fontconfig, libjpeg (backgrounds are decoded through it
# directly), libmdb, QuaZip (reading and writing .xlsx question lists), the icon renderer for the
# install rules, a Chinese font, and what the run command uses to show the program without a
# display (Xvfb, a window manager, a screenshot).
RUN_PACKAGES=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-qpa-plugins qt6-translations-l10n
    libcanberra-dev libcanberra-pulse libsndfile1-dev libxcb1-dev libxcb-xkb-dev libfontconfig-dev libjpeg-dev
    libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
    mdbtools-dev libquazip1-qt6-dev
    librsvg2-bin
    fonts-wqy-zenhei
    xvfb xdotool imagemagick openbox
)

# Testing adds: GoogleTest, Google Benchmark, clang with libFuzzer, the reference Jet tools,
# X and sound tools for the end-to-end tests (with Xorg's dummy driver and xrandr for two
# monitors), Node.js for the independent Jet reader, the format check, openpyxl (writes the
# workbooks the list reader is tested on), GNU time for the bank tool's benchmark, the tools
# that build, inspect and validate the package and its files, the image viewer and X client
# library the screen benchmark compares with and watches through (the welcome screen's test
# watches the screen through the library too), the CPU load that the held-key and
# settings-dialog tests run beside the presenter, and Qt's GTK theme, through which the editor's
# test shows it on a dark desktop theme.
TEST_PACKAGES=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    mdbtools
    x11-apps x11-utils xcompmgr xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    pulseaudio pulseaudio-utils sox
    fonts-dejavu-core fonts-dejavu-extra
    dpkg-dev file desktop-file-utils appstream lintian
    python3-openpyxl time
    feh python3-xlib
    stress-ng
    qt6-gtk-platformtheme
)

set_name=${1:-test}
case "$set_name" in
    run) packages=("${RUN_PACKAGES[@]}") ;;
    test)
        packages=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}")
        # Machines that already carry a Node.js of their own (with npm inside it) must not get
        # Debian's npm on top: its dependencies conflict with such a nodejs package.
        command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
        ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing ($set_name set): ${missing[*]}" >&2
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "Packages of the $set_name set: all installed" >&2
fi
