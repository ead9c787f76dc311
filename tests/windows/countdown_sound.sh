#!/bin/bash
# The countdown heard from outside: velquo.exe under wine plays its tick each second and the
# final sound at "0" through wine's PulseAudio driver into a null sink of a private sound
# server; the sink's monitor is recorded and the sounds on it are timed.
# Usage: E2E_WINDOWS=<portable folder> countdown_sound.sh <build dir> [<source dir>]
source "$(dirname "$0")/../e2e/lib.sh" "$@"

for tool in pulseaudio parec pactl python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
[ -n "$E2E_WINDOWS" ] || fail "E2E_WINDOWS names no Windows build"

pulse=$E2E_WORK/pulse
mkdir -p "$pulse"
export PULSE_SERVER=unix:$pulse/native
XDG_RUNTIME_DIR=$pulse HOME=$pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disable-shm=yes \
    -L "module-null-sink sink_name=vqtest rate=44100 channels=1" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse/native" \
    >"$E2E_WORK/pulse.log" 2>&1 &
pulse_pid=$!
rec_pid=
stop_sound() {
    [ -n "$rec_pid" ] && end_pid "$rec_pid"
    pactl exit >/dev/null 2>&1 || true
    end_pid "$pulse_pid"
}
trap 'stop_sound; e2e_cleanup' EXIT
server_answers() { pactl info >/dev/null 2>&1; }
wait_until "$E2E_TIMEOUT" "the sound server to answer" server_answers

start_xvfb
make_install shijian=3 shijian_sound=1
cp "$E2E_WINDOWS/di.wav" "$E2E_WINDOWS/0.wav" "$E2E_INSTALL/"

parec -d vqtest.monitor --format=s16le --channels=1 --rate=44100 --latency-msec=5 \
    >"$E2E_WORK/heard.raw" 2>"$E2E_WORK/parec.log" &
rec_pid=$!
recording() { [ -s "$E2E_WORK/heard.raw" ]; }
wait_until "$E2E_TIMEOUT" "the recorder to stream" recording

start_app
key space
C=(780 100 240 110)
wait_until "$E2E_TIMEOUT" "the first question after Space" has_colour 100 245 600 50 '#ffffff' 40
key space

# sounds_heard N: at least N separate sounds on the recording (a sound is a stretch above the
# noise floor; 150 ms of silence ends it); prints their start times in seconds.
sounds_heard() {
    python3 - "$E2E_WORK/heard.raw" "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
samples = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
rate, gap = 44100, int(44100 * 0.15)
starts, quiet, inside = [], gap, False
for i, s in enumerate(samples):
    if abs(s) > 500:
        if not inside and quiet >= gap:
            starts.append(i / rate)
        inside, quiet = True, 0
    else:
        quiet += 1
        if quiet >= gap:
            inside = False
print(" ".join("%.2f" % t for t in starts))
sys.exit(0 if len(starts) >= int(sys.argv[2]) else 1)
PY
}
# "3", "2", "1" tick and "0" sounds its own end: four sounds, about a second apart.
wait_until 15 "four sounds from the countdown" sounds_heard 4 >/dev/null
starts=$(sounds_heard 4)
e2e_log "sounds at $starts s"
python3 - $starts <<'PY' || fail "the countdown's sounds are not a second apart: $starts"
import sys
t = [float(x) for x in sys.argv[1:5]]
steps = [b - a for a, b in zip(t, t[1:])]
sys.exit(0 if all(0.6 < s < 1.4 for s in steps) else 1)
PY
app_running || fail "the presenter ended"
pass "the countdown's four sounds heard a second apart through wine's sound driver ($starts s)"
