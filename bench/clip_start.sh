#!/bin/bash
# A question's clip as the hall hears it: the time from the key press that draws a question to
# its clip on the sound server, for a WAV clip (played as it is), an MP3 one (decoded into a
# 16-bit copy at its first play, from the copy afterwards) and an M4A one (the same, its first
# play also loading the media library), measured from outside: a recorder on
# the sink's monitor, the keys through the X server. Every round is one question: draw (the clip
# starts), countdown (it stops), reveal. The WAV clip, which the event-sound library plays as it
# is, is the MP3's peer; the MP3's first round, which decodes its copy, is shown apart. A start is
# counted from before the key is sent (xdotool's own start included, a few milliseconds).
#
#   bench/clip_start.sh BUILD_DIR [ROUNDS]      (ROUNDS: questions of each kind, 21 by default)
#
# Prints for each kind the first start, and the median, p90 and largest of the others, in ms.
build=$(cd "$1" && pwd)
rounds=${2:-21}
root=$(cd "$(dirname "$0")/.." && pwd)
E2E_BANK=${E2E_BANK:-$build/tools/bank/velquo-bank}
E2E_VELQUO=${E2E_VELQUO:-$build/velquo}
source "$root/tests/e2e/lib.sh" "$build" "$root"
TEST_BANK=$build/tests/velquo-test-bank
[ -x "$TEST_BANK" ] || fail "test bank writer not built: $TEST_BANK"

start_sound_server
start_xvfb
for clip in ${CLIP_KINDS:-wav mp3 m4a}; do
    make_install shijian=30 shijian_sound=0
    "$TEST_BANK" media-bench-$clip "$E2E_INSTALL/db.DLL" || fail "velquo-test-bank media-bench-$clip"
    mkdir -p "$E2E_INSTALL/题库素材"
    python3 "$root/tests/e2e/make_clip.py" "$E2E_INSTALL/题库素材/bench.$clip" ||
        fail "no $clip clip could be made"
    start_app
    # The rounds, driven and heard by one observer: the recorder's stream is read as it comes,
    # and a sound starts at the first 5 ms block above the noise floor after the key press.
    python3 - "$clip" "$rounds" <<'PY'
import os, statistics, struct, subprocess, sys, time
clip, rounds = sys.argv[1], int(sys.argv[2])
rec = subprocess.Popen(["parec", "-d", "vqtest.monitor", "--format=s16le", "--channels=1",
                        "--rate=44100", "--latency-msec=5"], stdout=subprocess.PIPE)
os.set_blocking(rec.stdout.fileno(), False)
block = 441 * 2  # 10 ms

def loud(chunk):
    n = len(chunk) // 2
    if n == 0:
        return False
    samples = struct.unpack("<%dh" % n, chunk[:n * 2])
    return sum(1 for s in samples if abs(s) > 800) > n // 8

def read_for(seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            rec.stdout.read()
        except (BlockingIOError, TypeError):
            pass
        time.sleep(0.005)  # polling interval of the drain, not a wait for an event

def onset_after_key(key, bound=5.0):
    read_for(0.3)  # quiet before the press
    pressed = time.monotonic()
    subprocess.run(["xdotool", "key", key], check=True)
    buffered = b""
    while time.monotonic() - pressed < bound:
        try:
            data = rec.stdout.read()
        except BlockingIOError:
            data = None
        if data:
            buffered += data
            while len(buffered) >= block:
                chunk, buffered = buffered[:block], buffered[block:]
                if loud(chunk):
                    return (time.monotonic() - pressed) * 1000
        time.sleep(0.002)  # polling interval of the stream, not a wait for an event
    return None

read_for(0.5)
clips, missed = [], 0
for _ in range(rounds):
    c = onset_after_key("space")  # draw: the clip starts
    for _ in range(2):            # countdown (the clip stops), reveal
        subprocess.run(["xdotool", "key", "space"], check=True)
        read_for(0.2)
    if c is None:
        missed += 1
    else:
        clips.append(c)
rec.kill()

if len(clips) < 2:
    print("%s clip: heard in %d of %d rounds" % (clip, len(clips), rounds))
else:
    v = sorted(clips[1:])
    print("%s clip, key to sound: first %.1f ms; then median %.1f ms, p90 %.1f ms, max %.1f ms "
          "(%d rounds, %d unheard)" % (clip, clips[0], statistics.median(v),
                                       v[int(0.9 * (len(v) - 1))], v[-1], len(v), missed))
PY
    end_pid "$E2E_APP_PID"
done
