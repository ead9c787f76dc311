#!/usr/bin/env bash
# The test command: installs what is missing (the run set and the test set of
# scripts/install-deps.sh, and the npm package mdb-reader into each build folder), checks every
# tracked C++ file against .clang-format, builds the suite twice with warnings as errors (plain
# and with AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test in both, then a
# bounded fuzzing run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh test

status=0
# Merge conflict markers left in a tracked file break whatever reads it.
if git grep -nE '^(<<<<<<<|>>>>>>>)( |$)' 2>/dev/null; then
    echo "merge conflict markers in the files above" >&2
    status=1
fi
scripts/check-format.sh || status=1

scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELQUO_TESTS=ON -DVELQUO_BENCH=ON \
    -DVELQUO_WERROR=ON
tests/tools/setup-npm.sh build/release
(cd build/release && ctest --output-on-failure -j 2 --timeout 600) || status=1

scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DVELQUO_SANITIZE=ON -DVELQUO_BENCH=OFF -DVELQUO_TESTS=ON \
    -DVELQUO_WERROR=ON
tests/tools/setup-npm.sh build/asan
(cd build/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j 2 --timeout 900 -LE no-asan) || status=1

# A bounded fuzzing run of the question-bank reader (needs clang's libFuzzer).
if [ -x scripts/fuzz.sh ]; then
    scripts/fuzz.sh || status=1
fi

[ $status -eq 0 ] && echo "All test runs passed." || echo "Some tests failed."
exit $status
