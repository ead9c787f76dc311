#!/bin/bash
# A question's clip heard from outside: a bank whose question names a 20-second clip in 题库素材,
# a WAV or (E2E_CLIP=flac, ogg, mp3, m4a) the same tone saved in that kind.
# The clip is heard from the draw on; the next step (the countdown, its ticks switched off) stops
# it long before its end; M plays it again from its start, and T stops it. The sink's monitor of a private sound
# server is recorded and judged.
# Usage: question_sound.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

TEST_BANK=${E2E_TEST_BANK:-$E2E_BUILD/tests/velquo-test-bank}
[ -x "$TEST_BANK" ] || fail "test bank writer not built: $TEST_BANK"

# sounding: the last 200 ms of the recording are loud (the clip is playing now).
sounding() {
    python3 - "$E2E_WORK/heard.raw" <<'PY'
import os, struct, sys
path = sys.argv[1]
n = 44100 // 5
size = os.path.getsize(path) // 2
if size < n:
    sys.exit(1)
with open(path, "rb") as f:
    f.seek((size - n) * 2)
    samples = struct.unpack("<%dh" % n, f.read(n * 2))
sys.exit(0 if sum(1 for s in samples if abs(s) > 500) > n // 4 else 1)
PY
}
silent() { ! sounding; }

start_sound_server
start_xvfb
make_install shijian=30 shijian_sound=0
clip=${E2E_CLIP:-wav}
kind=media-sound
[ "$clip" = wav ] || kind=media-sound-$clip
"$TEST_BANK" $kind "$E2E_INSTALL/db.DLL" || fail "velquo-test-bank $kind"
mkdir -p "$E2E_INSTALL/题库素材"
# 20 s of a 440 Hz tone, 16-bit mono at 44.1 kHz.
python3 "$E2E_SOURCE/tests/e2e/make_clip.py" "$E2E_INSTALL/题库素材/曲.$clip" ||
    fail "no $clip clip could be made"

start_recording
start_app
silent || fail "a sound plays before any question"
key space
wait_until "$E2E_TIMEOUT" "the clip with the question" sounding
started=$(now_ms)
holds_for 1 silent || fail "the clip did not go on playing"
key space
wait_until "$E2E_TIMEOUT" "the clip to stop at the next step" silent
stopped=$(now_ms)
[ $((stopped - started)) -lt 10000 ] || fail "the clip stopped only after $((stopped - started)) ms"
holds_for 1.5 sounding || fail "the clip came back by itself"
key m
wait_until "$E2E_TIMEOUT" "the clip played again by M" sounding
holds_for 1 silent || fail "the clip played again did not go on playing"
key t
wait_until "$E2E_TIMEOUT" "the clip to stop on T" silent
holds_for 1.5 sounding || fail "the clip came back after T"
app_running || fail "the presenter ended"
pass "the $clip clip starts with its question, stops at the next step, plays again on M and stops on T"
