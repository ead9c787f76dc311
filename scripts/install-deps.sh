#!/usr/bin/env bash
# Installs the Debian 12 packages Velquo needs, only those that are missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
    libcanberra-dev libcanberra0 libcanberra-pulse libxcb1-dev
    mdbtools mdbtools-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xdotool x11-apps x11-utils imagemagick openbox
    pulseaudio pulseaudio-utils sox
    fonts-wqy-zenhei fonts-dejavu-core fonts-dejavu-extra
)
# Machines that already carry a Node.js of their own (with npm inside it) must not get Debian's
# npm on top: its dependencies conflict with such a nodejs package.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
