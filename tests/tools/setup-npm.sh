#!/usr/bin/env bash
# Installs the independent Jet reader used by the tool checks into build/npm (idempotent, quiet).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir="$root/build/npm"
[ -f "$dir/node_modules/mdb-reader/package.json" ] && exit 0
mkdir -p "$dir"
cd "$dir" && npm install --no-audit --no-fund --silent mdb-reader >/dev/null
