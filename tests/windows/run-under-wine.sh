#!/usr/bin/env bash
# Runs a Windows program of the build under wine: the command the Windows build's tests and its
# build-time steps go through.
#
# Once in some hundreds of starts under a loaded wine server, wine ends within milliseconds,
# unsuccessfully, before the program has run at all (no output, nothing on standard error with
# WINEDEBUG=-all); a test that started that way failed without having been tried. A run that
# ends unsuccessfully having printed nothing on its standard output is therefore started once
# more, saying so on standard error. Every test prints on its standard output as soon as it
# runs, so a test that fails having run is never started again.
set -uo pipefail
wine=${VELQUO_WINE:-wine}
printed=$(mktemp)
trap 'rm -f "$printed"' EXIT
for attempt in 1 2; do
    "$wine" "$@" | tee "$printed"
    status=${PIPESTATUS[0]}
    if [ "$status" -eq 0 ] || [ -s "$printed" ] || [ "$attempt" -eq 2 ]; then
        exit "$status"
    fi
    echo "run-under-wine: wine ended with status $status before $1 printed anything; started again" >&2
done
