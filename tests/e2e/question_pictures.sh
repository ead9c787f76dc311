#!/bin/bash
# A bank with the optional columns, on the real screen. A phone's photograph stored sideways
# (Exif orientation 6) stands upright in the picture area opt.ini configures, fitted with its
# shape kept and centred; the answer's picture shows only from the reveal on, in the same area;
# the question's own 时间 of 7 seconds is what the countdown counts (the settings say 3): eight
# different countdown pictures come up. A 1 x 4000 strip shows as a one-pixel line down the
# whole area. A bank of the three written columns leaves the area showing the background.
# Usage: question_pictures.sh <build dir> [<source dir>]
source "$(dirname "$0")/lib.sh" "$@"

TEST_BANK=${E2E_TEST_BANK:-$E2E_BUILD/tests/velquo-test-bank}
[ -x "$TEST_BANK" ] || fail "test bank writer not built: $TEST_BANK"
TOP_LEFT='#d02020' TOP_RIGHT='#20b030' BOTTOM_LEFT='#2030d0' BOTTOM_RIGHT='#e0d040'
ANSWER='#ff00ff' STRIP='#00ffff' YELLOW='#ffff00'
# The picture's area: 300 x 300 at 650, 330, clear of the question and of the next-step picture.
AREA=(650 330 300 300)
# picture_install [KEY=VALUE...]: an installation whose opt.ini places the picture's area.
picture_install() {
    make_install "$@"
    printf 'tupian_left=650\r\ntupian_top=330\r\ntupian_width=300\r\ntupian_height=300\r\n' \
        >>"$E2E_INSTALL/opt.ini"
}
C=(780 100 240 110)

# The upright picture is 3000 x 4000, stored turned a quarter the other way with the Exif block
# that says how to show it.
convert -size 3000x4000 "xc:$TOP_LEFT" -fill "$TOP_RIGHT" -draw 'rectangle 1500,0 2999,1999' \
    -fill "$BOTTOM_LEFT" -draw 'rectangle 0,2000 1499,3999' \
    -fill "$BOTTOM_RIGHT" -draw 'rectangle 1500,2000 2999,3999' \
    -rotate -90 -quality 80 "$E2E_WORK/stored.jpg"
/usr/bin/python3 - "$E2E_WORK/stored.jpg" "$E2E_WORK/photo.jpg" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
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

# install_bank KIND: the test bank KIND as db.DLL, the media folder beside it.
install_bank() {
    "$TEST_BANK" "$1" "$E2E_INSTALL/db.DLL" || fail "velquo-test-bank $1"
    mkdir -p "$E2E_INSTALL/题库素材"
    cp "$E2E_WORK/photo.jpg" "$E2E_INSTALL/题库素材/照片.jpg"
    convert -size 200x100 "xc:$ANSWER" "$E2E_INSTALL/题库素材/答案.png"
    convert -size 1x4000 "xc:$STRIP" "$E2E_INSTALL/题库素材/strip.png"
}

# Upright, 225 x 300 centred in the area (687..911, 330..629): each quarter's middle in its colour.
X0=$((650 + (300 - 225) / 2))
upright() {
    shot && near "$(pixel $((X0 + 56)) 405)" "$TOP_LEFT" 30 &&
        near "$(pixel $((X0 + 168)) 405)" "$TOP_RIGHT" 30 &&
        near "$(pixel $((X0 + 56)) 555)" "$BOTTOM_LEFT" 30 &&
        near "$(pixel $((X0 + 168)) 555)" "$BOTTOM_RIGHT" 30
}
# Beside the fitted picture the area shows the background.
letterboxed() { near "$(pixel 660 480)" "$E2E_BG" 16 && near "$(pixel 940 480)" "$E2E_BG" 16; }

declare -A seen=()
countdown_pictures() {
    shot || return 1
    [ "$(colour_count "${C[@]}" "$YELLOW")" -gt 0 ] || return 1
    seen[$(region_hash "${C[@]}")]=1
    [ "${#seen[@]}" -ge "$1" ]
}

start_xvfb

# 1. The photograph, its answer's picture and its time.
picture_install shijian=3
install_bank media-photo
start_app
key space
wait_until "$E2E_TIMEOUT" "the photograph upright in its area" upright
letterboxed || fail "the photograph is not centred in its area with its shape kept"
[ "$(colour_count "${AREA[@]}" "$ANSWER")" -eq 0 ] || fail "the answer's picture shows with the question"
key space
wait_until "$E2E_TIMEOUT" "the countdown" has_colour "${C[@]}" "$YELLOW" 40
# 7, 6, ..., 0: eight pictures, where the settings' 3 would give four.
wait_until 14 "the countdown to show the question's eight numbers" countdown_pictures 8
shot
[ "$(colour_count "${AREA[@]}" "$ANSWER")" -eq 0 ] || fail "the answer's picture shows before the reveal"
upright || fail "the photograph went during the countdown"
key space
# 200 x 100 fitted into 300 x 300: 300 x 150 at 650, 405.
wait_until "$E2E_TIMEOUT" "the answer's picture at the reveal" has_colour 650 405 300 150 "$ANSWER" 44000
lacks_colour 650 330 300 70 "$ANSWER" || fail "the answer's picture is not fitted into the area"
no_box_window || fail "a box came up"
end_pid "$E2E_APP_PID"

# 2. The strip: one pixel wide, the area's whole height, in its middle.
install_bank media-strip
start_app
key space
wait_until "$E2E_TIMEOUT" "the strip down the area" has_colour 790 330 20 300 "$STRIP" 290
[ "$(colour_count 650 330 140 300 "$STRIP")" -eq 0 ] || fail "the strip is wider than one pixel"
end_pid "$E2E_APP_PID"

# 3. The three written columns only: the area keeps the background, the question shows.
picture_install shijian=3
mkdir -p "$E2E_INSTALL/题库素材"
cp "$E2E_WORK/photo.jpg" "$E2E_INSTALL/题库素材/照片.jpg"
start_app
key space
wait_until "$E2E_TIMEOUT" "the question" has_colour 100 245 600 50 '#ffffff' 40
bg=$(colour_count "${AREA[@]}" "$E2E_BG")
[ "$bg" -eq 90000 ] || fail "the picture area of a three-column bank shows something ($bg of 90000 background pixels)"
pass "pictures upright and fitted in their area, the answer's at the reveal, the question's own time counted, a 1 x 4000 strip, nothing for a three-column bank"
