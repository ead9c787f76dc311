#!/bin/bash
# Memory given back, as the system sees it from outside the presenter: once set-up is done and
# the welcome screen (a 4K welcome.jpg over a 4K bg.jpg) has faded out, the program's heap keeps
# only what is in use. Large blocks freed during start-up (decoding buffers, the welcome
# picture) must not stay behind in it. With the countdown sound off, the event-sound library and
# the sound server's libraries are not loaded at all.
# Usage: memory_after_start.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

# Resident kB of the program's heap (the break area; large blocks live outside it).
heap_kb() {
    awk '/\[heap\]$/ { heap = 1; next } heap && /^Rss:/ { print $2; exit }
         /^[0-9a-f]+-[0-9a-f]+ / { heap = 0 }' "/proc/$E2E_APP_PID/smaps"
}
# Mapped sound libraries (the event-sound library, its backends and codecs, the sound server's
# client).
sound_libraries() {
    { grep -E 'libcanberra|libvorbis|libpulse' "/proc/$E2E_APP_PID/maps" || true; } | awk '{ print $6 }' | sort -u
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$E2E_APP_PID/status"; }

WELCOME='#30a050'
convert -size 3840x2160 "xc:$WELCOME" -quality 90 "$E2E_WORK/welcome.jpg"
convert -seed 16 -size 3840x2160 plasma:orange-royalblue -quality 90 "$E2E_WORK/bg.jpg"
welcome_shown() { shot && near "$(pixel $((E2E_SCREEN_W / 2)) $((E2E_SCREEN_H / 2)))" "$WELCOME" 24; }

start_xvfb
make_install huanying=1
cp "$E2E_WORK/welcome.jpg" "$E2E_WORK/bg.jpg" "$E2E_INSTALL/"
launch_app
wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the welcome picture on the screen" welcome_shown
click_at $((E2E_SCREEN_W / 2)) $((E2E_SCREEN_H / 2))
wait_until "$E2E_TIMEOUT" "the next-step picture after the fade" \
    has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$E2E_NEXT_COLOR" 100
heap=$(heap_kb)
e2e_log "after the welcome screen: heap $heap kB resident, VmRSS $(rss_kb) kB"
sound=$(sound_libraries)
stop_session
[ -z "$sound" ] || fail "sound libraries loaded with the countdown sound off: $sound"
# The heap's live blocks after start-up come to about 1.5 MB here; a 1024 x 768 picture is 3 MB.
[ "$heap" -le 4096 ] || fail "the heap keeps $heap kB resident after the welcome screen closed"
pass "after start-up and the welcome screen the heap keeps $heap kB resident; no sound libraries with the sound off"
