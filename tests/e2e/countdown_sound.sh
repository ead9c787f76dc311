#!/bin/bash
# The countdown heard from outside: the presenter plays its tick each second and the final sound
# at "0" into a null sink of a private sound server (through the event-sound library on Linux,
# through wine's PulseAudio driver for velquo.exe); the sink's monitor is recorded and the
# sounds on it are timed. E2E_TICK_AS and E2E_END_AS, where set, are sox's output options with
# which di.wav and 0.wav are saved again first, as a sound editor would save them (24-bit, float,
# another rate or channel count).
# Usage: [E2E_WINDOWS=<portable folder>] [E2E_TICK_AS=...] [E2E_END_AS=...]
#        countdown_sound.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_sound_server
start_xvfb
make_install shijian=3 shijian_sound=1
# The demo's own sounds, as shipped (the Windows package's are the Linux build's).
cp "${E2E_WINDOWS:-$E2E_BUILD/demo-install}/di.wav" "${E2E_WINDOWS:-$E2E_BUILD/demo-install}/0.wav" \
    "$E2E_INSTALL/"
resave() {
    local file=$1 options=$2
    [ -n "$options" ] || return 0
    command -v sox >/dev/null || { echo "SKIP: sox not installed"; exit 77; }
    # shellcheck disable=SC2086 # the options are separate words
    sox "$E2E_INSTALL/$file" $options "$E2E_WORK/$file" || fail "sox could not save $file with $options"
    mv "$E2E_WORK/$file" "$E2E_INSTALL/$file"
    e2e_log "$file saved again: $(soxi "$E2E_INSTALL/$file" | sed -n 's/^\(Channels\|Sample Rate\|Sample Encoding\) *: //p' | paste -sd ' ')"
}
resave di.wav "${E2E_TICK_AS:-}"
resave 0.wav "${E2E_END_AS:-}"

start_recording

start_app
key space
C=(780 100 240 110)
wait_until "$E2E_TIMEOUT" "the first question after Space" has_colour 100 245 600 50 '#ffffff' 40
key space

# Counting down from 3: each second's tick plays di.wav ("2", "1"), and at "0" the final sound
# 0.wav replaces the tick begun with it: three sounds a second apart, two short ticks and the
# long final sound.
wait_until 15 "three sounds from the countdown" sounds_heard 3 >/dev/null
heard=$(sounds_heard 3)
e2e_log "sounds (start+length, s): $heard"
python3 - $heard <<'PY' || fail "the countdown's sounds are not two ticks and the final sound a second apart: $heard"
import sys
sounds = [tuple(map(float, x.split("+"))) for x in sys.argv[1:]]
if len(sounds) != 3:
    sys.exit(1)
starts = [s for s, _ in sounds]
steps = [b - a for a, b in zip(starts, starts[1:])]
ticks_short = all(length < 0.5 for _, length in sounds[:2])
final_long = sounds[2][1] > 1.0
sys.exit(0 if all(0.8 < s < 1.2 for s in steps) and ticks_short and final_long else 1)
PY
app_running || fail "the presenter ended"
pass "the countdown heard: two ticks and the final sound a second apart ($heard)"
