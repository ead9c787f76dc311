#!/bin/bash
# Bounded fuzzing of the question-bank reader with libFuzzer (clang only).
# Seeds: banks from the writer plus the real Jet files in tests/data/jet.
# Prints the executions and findings; exits non-zero when the fuzzer found a crash.
set -u
cd "$(dirname "$0")/.."
SECONDS_TO_RUN="${FUZZ_SECONDS:-60}"
BUILD=build/fuzz
if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ not installed, skipped"
    exit 0
fi
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DVELQUO_FUZZ=ON -DVELQUO_BENCH=OFF -DVELQUO_TESTS=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=address -fno-omit-frame-pointer" >/dev/null || exit 1
cmake --build "$BUILD" -j2 --target fuzz_jetreader fuzz_seeds >/dev/null || exit 1
CORPUS="$BUILD/corpus"
FINDINGS="$BUILD/findings"
mkdir -p "$CORPUS" "$FINDINGS"
QT_QPA_PLATFORM=offscreen "$BUILD/tests/fuzz/fuzz_seeds" "$CORPUS" || exit 1
for f in tests/data/jet/*.mdb; do
    [ -f "$f" ] && cp -f "$f" "$CORPUS/"
done
LOG="$BUILD/fuzz.log"
ASAN_OPTIONS=detect_leaks=1 "$BUILD/tests/fuzz/fuzz_jetreader" "$CORPUS" \
    -max_total_time="$SECONDS_TO_RUN" -max_len=1048576 -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$FINDINGS/" -print_final_stats=1 >"$LOG" 2>&1
rc=$?
execs=$(grep -m1 '^stat::number_of_executed_units' "$LOG" | awk '{print $2}')
found=$(ls "$FINDINGS" | wc -l)
echo "fuzz: ${execs:-?} executions in ${SECONDS_TO_RUN}s, $found findings (log $LOG)"
if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    ls "$FINDINGS"
    grep -m3 -A12 'ERROR: AddressSanitizer\|deadly signal\|timeout' "$LOG"
    exit 1
fi
exit 0
