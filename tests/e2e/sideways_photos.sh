#!/bin/bash
# A phone's photograph taken upright, as the phone stores it: 4000 x 3000 pixels lying on their
# side, with Exif orientation 6 (turn a quarter clockwise to show). As welcome.jpg and as bg.jpg
# it stands upright on the screen, stretched over it: each quarter of the upright picture shows
# in the same quarter of the screen, and no error box comes up.
# Usage: sideways_photos.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

TOP_LEFT='#d02020'
TOP_RIGHT='#20b030'
BOTTOM_LEFT='#2030d0'
BOTTOM_RIGHT='#e0d040'

# The upright picture, 3000 x 4000 in four quarters, stored turned a quarter the other way, as
# the sensor saw it; then the Exif block that says how to show it, after the JFIF segment.
convert -size 3000x4000 "xc:$TOP_LEFT" -fill "$TOP_RIGHT" -draw 'rectangle 1500,0 2999,1999' \
    -fill "$BOTTOM_LEFT" -draw 'rectangle 0,2000 1499,3999' \
    -fill "$BOTTOM_RIGHT" -draw 'rectangle 1500,2000 2999,3999' \
    -rotate -90 -quality 80 "$E2E_WORK/stored.jpg"
/usr/bin/python3 - "$E2E_WORK/stored.jpg" "$E2E_WORK/photo.jpg" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
# A big-endian TIFF header and one directory of one entry: orientation (0x0112), a SHORT, 6.
tiff = (b"MM\0\x2a" + struct.pack(">IH", 8, 1) + struct.pack(">HHIHH", 0x0112, 3, 1, 6, 0) +
        struct.pack(">I", 0))
payload = b"Exif\0\0" + tiff
segment = b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload
at = 2
if data[2:4] == b"\xff\xe0":
    at = 4 + struct.unpack(">H", data[4:6])[0]
open(sys.argv[2], "wb").write(data[:at] + segment + data[at:])
PY
[ "$(identify -format '%wx%h %[orientation]' "$E2E_WORK/photo.jpg")" = "4000x3000 RightTop" ] ||
    fail "photo.jpg is not a sideways photograph with orientation 6"

# Each quarter's middle on the screen shows that quarter's colour.
upright() {
    local w=$E2E_SCREEN_W h=$E2E_SCREEN_H
    shot && near "$(pixel $((w / 4)) $((h / 4)))" "$TOP_LEFT" 30 &&
        near "$(pixel $((w * 3 / 4)) $((h / 4)))" "$TOP_RIGHT" 30 &&
        near "$(pixel $((w / 4)) $((h * 3 / 4)))" "$BOTTOM_LEFT" 30 &&
        near "$(pixel $((w * 3 / 4)) $((h * 3 / 4)))" "$BOTTOM_RIGHT" 30
}

start_xvfb
make_install huanying=1
cp "$E2E_WORK/photo.jpg" "$E2E_INSTALL/welcome.jpg"
cp "$E2E_WORK/photo.jpg" "$E2E_INSTALL/bg.jpg"
launch_app
wait_until "$E2E_TIMEOUT" "the main screen's window" main_window >/dev/null
wait_until "$E2E_TIMEOUT" "the welcome photograph upright over the whole screen" upright
no_box_window || fail "an error box came up for the welcome photograph"
click_at $((E2E_SCREEN_W / 2)) $((E2E_SCREEN_H / 2))
wait_until "$E2E_TIMEOUT" "the next-step picture after the fade" \
    has_colour 0 0 "$E2E_SCREEN_W" "$E2E_SCREEN_H" "$E2E_NEXT_COLOR" 100
upright || fail "the background photograph does not stand upright"
no_box_window || fail "an error box came up for the background photograph"
pass "a sideways 4000 x 3000 photograph with orientation 6 stands upright as welcome and background"
