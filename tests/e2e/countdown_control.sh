#!/bin/bash
# The countdown held and changed, seen on the screen and heard from the sound server: P right
# after the countdown starts holds its number, and nothing is heard while it is held; "+" shows
# ten seconds more, "-" takes them off again and then the count down to one second, never to
# the end; P lets it go on, and a second later the count ends with the end sound, once.
# Usage: [E2E_WINDOWS=<portable folder>] countdown_control.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

start_sound_server
start_xvfb
make_install shijian=4 shijian_sound=1
cp "${E2E_WINDOWS:-$E2E_BUILD/demo-install}/di.wav" "${E2E_WINDOWS:-$E2E_BUILD/demo-install}/0.wav" \
    "$E2E_INSTALL/"
start_recording
start_app

C=(780 100 240 110) # the countdown's place
key space
wait_until "$E2E_TIMEOUT" "the first question" has_colour 100 245 600 50 '#ffffff' 40
key space p
wait_until "$E2E_TIMEOUT" "the countdown" has_colour "${C[@]}" '#ffff00' 40
shot
held=$(region_hash "${C[@]}")
same_number() { shot && [ "$(region_hash "${C[@]}")" = "$held" ]; }
number_moved() { shot && [ "$(region_hash "${C[@]}")" != "$held" ]; }
holds_for 2.5 number_moved || fail "the held countdown's number changed"
silence=$(sounds_heard 0)
[ -z "$silence" ] || fail "sounds while the countdown was held: $silence"

number_is_not() { shot && has_colour "${C[@]}" '#ffff00' 40 && [ "$(region_hash "${C[@]}")" != "$1" ]; }
key plus
wait_until "$E2E_TIMEOUT" "another number after +" number_is_not "$held"
key minus
wait_until "$E2E_TIMEOUT" "the held number again after -" same_number
key minus
wait_until "$E2E_TIMEOUT" "another number after a second -" number_is_not "$held"
shot
one=$(region_hash "${C[@]}")
one_moved() { shot && [ "$(region_hash "${C[@]}")" != "$one" ]; }
holds_for 1.5 one_moved || fail "the count moved while held after -"
quiet=$(sounds_heard 0)
[ -z "$quiet" ] || fail "sounds before the countdown went on: $quiet"

key p
went_on=$(recorded_seconds)
wait_until 10 "the end sound" sounds_heard 1 >/dev/null
heard=$(sounds_heard 1)
e2e_log "went on at ${went_on} s; sounds (start+length, s): $heard"
python3 - "$went_on" $heard <<'PY' || fail "not one end sound a second after P: went on at $went_on s, heard $heard"
import sys
went_on = float(sys.argv[1])
sounds = [tuple(map(float, x.split("+"))) for x in sys.argv[2:]]
ok = len(sounds) == 1 and 0.7 < sounds[0][0] - went_on < 1.4 and sounds[0][1] > 1.0
sys.exit(0 if ok else 1)
PY
app_running || fail "the presenter ended"
pass "P held the count in silence, + and - changed it and stopped at one second, P went on: one end sound a second later ($heard)"
