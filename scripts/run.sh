#!/usr/bin/env bash
# The run command: installs what is missing (only the run set of scripts/install-deps.sh),
# builds the program and its tools without the tests in build/run, assembles the demo installation and
# starts the presenter with it as program folder and current folder. Without a display it
# runs under Xvfb, saves a screenshot, prints its path and exits after a few seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh run
scripts/build.sh build/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELQUO_TESTS=OFF -DVELQUO_BENCH=OFF
cmake --build build/run --target demo_install
install_dir="$root/build/run/demo-install"
mkdir -p "$install_dir"
cp build/run/velquo "$install_dir/velquo"
cd "$install_dir"
if [ -n "${DISPLAY:-}" ]; then
    exec ./velquo
fi
shot="$root/build/run/velquo-screenshot.png"
welcome_shot="$root/build/run/velquo-welcome.png"
# A desktop has a window manager, which makes the main screen full screen; openbox stands in
# for it when installed. The welcome picture is shot first, then clicked away.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
    if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
    ./velquo & pid=\$!
    sleep 4
    import -window root '$welcome_shot'
    xdotool mousemove 640 400 click 1
    sleep 2
    import -window root '$shot'
    kill \$pid 2>/dev/null; wait \$pid 2>/dev/null || true"
echo "Welcome screen: $welcome_shot"
echo "Screenshot: $shot"
