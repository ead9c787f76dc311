#!/bin/bash
# Photographs far larger than the screen, as a person sees them: a 48-megapixel (8000 x 6000)
# JPEG as welcome.jpg and bg.jpg shows on the screen, stretched over it, without an error box;
# a PNG whose header claims 100,000 x 100,000 pixels as next.png is refused with an error box,
# after which the show goes on without a next-step picture.
# Usage: large_pictures.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

LEFT='#2060a0'
RIGHT='#e0c040'

# The photograph: a blue left half and a yellow right half.
convert -size 8000x6000 "xc:$LEFT" -fill "$RIGHT" -draw 'rectangle 4000,0 7999,5999' \
    -quality 60 "$E2E_WORK/photo.jpg"
[ "$(identify -format '%wx%h' "$E2E_WORK/photo.jpg")" = 8000x6000 ] || fail "photo.jpg not made"

# Both halves on the screen, away from the texts and the next-step picture.
halves() {
    shot && near "$(pixel 10 $((E2E_SCREEN_H / 2)))" "$LEFT" 24 &&
        near "$(pixel $((E2E_SCREEN_W / 4)) $((E2E_SCREEN_H - 20)))" "$LEFT" 24 &&
        near "$(pixel $((E2E_SCREEN_W - 10)) $((E2E_SCREEN_H / 2)))" "$RIGHT" 24 &&
        near "$(pixel $((E2E_SCREEN_W * 3 / 4)) 20)" "$RIGHT" 24
}

start_xvfb
make_install huanying=1
cp "$E2E_WORK/photo.jpg" "$E2E_INSTALL/welcome.jpg"
cp "$E2E_WORK/photo.jpg" "$E2E_INSTALL/bg.jpg"
launch_app
wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the welcome photograph over the whole screen" halves
no_box_window || fail "an error box came up for the welcome photograph"
click_at $((E2E_SCREEN_W / 2)) $((E2E_SCREEN_H / 2))
wait_until "$E2E_TIMEOUT" "the next-step picture after the fade" \
    has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$E2E_NEXT_COLOR" 100
halves || fail "the background photograph is not on the screen"
no_box_window || fail "an error box came up for the background photograph"
e2e_log "48-megapixel welcome.jpg and bg.jpg shown"
stop_session

# A decompression bomb: a valid PNG signature and header claiming 100,000 x 100,000 RGB pixels.
start_xvfb
make_install
/usr/bin/python3 - "$E2E_INSTALL/next.png" <<'PY'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
header = struct.pack(">IIBBBBB", 100000, 100000, 8, 2, 0, 0, 0)
with open(sys.argv[1], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"\0" * 300001)) + chunk(b"IEND", b""))
PY
launch_app
wait_until "$E2E_TIMEOUT" "the error box for next.png" box_window >/dev/null
xdotool windowactivate --sync "$(box_window)" key --clearmodifiers Return
wait_until "$E2E_TIMEOUT" "the error box to close" no_box_window
wait_until "$E2E_TIMEOUT" "the background on the screen" screen_shows_background
app_running || fail "the presenter ended after the refused picture"
lacks_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$E2E_NEXT_COLOR" || fail "a next-step picture is shown"
pass "48-megapixel JPEGs show as welcome and background; a 100,000 x 100,000 PNG is refused with an error box"
