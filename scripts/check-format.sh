#!/usr/bin/env bash
# Checks every tracked C++ file against .clang-format without changing it; lists the files
# that differ and exits non-zero when there are any. Fix them with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Third-party sources keep their own style.
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc' ':!:third_party/*')
else
    mapfile -t files < <(find src tools tests bench -name '*.cpp' -o -name '*.h' | sort)
fi
[ ${#files[@]} -gt 0 ] || { echo "clang-format: no C++ files found" >&2; exit 1; }
if ! out=$(clang-format --dry-run -Werror "${files[@]}" 2>&1); then
    bad=$(printf '%s\n' "$out" | grep -oE '^[^:]+:[0-9]+:[0-9]+: error' | cut -d: -f1 | sort -u)
    echo "clang-format: these C++ files differ from .clang-format (fix: clang-format -i FILE...):" >&2
    printf '%s\n' "${bad:-$out}" | sed 's/^/  /' >&2
    exit 1
fi
echo "clang-format: all ${#files[@]} C++ files match .clang-format"
