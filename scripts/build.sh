#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh DIR [extra cmake options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
# Paths relative to the checkout, so that every clone (CI's among them) shares the compiler cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
