#!/usr/bin/env bash
# Installs the independent Jet reader (npm package mdb-reader) that the tool checks use into
# BUILD_DIR/npm, where that build folder's tests look for it: tests/tools/setup-npm.sh BUILD_DIR
# Idempotent and quiet.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
dir="$(mkdir -p "$1" && cd "$1" && pwd)/npm"
[ -f "$dir/node_modules/mdb-reader/package.json" ] && exit 0
mkdir -p "$dir"
cd "$dir" && npm install --no-audit --no-fund --silent mdb-reader >/dev/null
echo "Installed the npm package mdb-reader into $dir" >&2
