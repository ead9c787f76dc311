#!/usr/bin/python3
"""Times when a colour comes up in two places of the screen, read without pause from a separate
X client, to tell how far the second place lags behind the first.

  two_places.py READY #rrggbb MIN X,Y,W,H X,Y,W,H

The colour's channels are each taken as full (0xff) or none (0x00): a pixel counts when each of
its channels lies on the same side as the colour's, by a wide margin (anti-aliased edges do not).

Writes READY once it reads, then reads both regions of the root window one after the other,
over and over, until each has shown at least MIN pixels near the colour (or 20 s have passed),
and prints one line:

  first_ms=F second_ms=F lag_ms=F reads=N

first_ms and second_ms: from READY to the first read showing the colour in that region (-1 when
it never did); lag_ms: second_ms minus first_ms.
"""

import sys
import time

from Xlib import X, display

LIMIT_S = 20
# Per channel: a byte's value to 1 when it counts as full, or as none.
FULL = bytes(1 if v >= 200 else 0 for v in range(256))
NONE = bytes(1 if v <= 80 else 0 for v in range(256))


def rgb(text):
    h = text.lstrip("#")
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16))


def region(text):
    return tuple(int(v) for v in text.split(","))


def count(root, box, want):
    x, y, w, h = box
    data = root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
    # 32 bits a pixel: blue, green, red, unused. Each channel's bytes become 0 or 1, and the
    # three are combined as big integers, so that a read takes a few milliseconds.
    hit = -1
    for offset, value in ((2, want[0]), (1, want[1]), (0, want[2])):
        channel = data[offset::4].translate(FULL if value >= 128 else NONE)
        hit &= int.from_bytes(channel, "big")
    return bin(hit).count("1")


def main():
    ready, colour, least = sys.argv[1], rgb(sys.argv[2]), int(sys.argv[3])
    boxes = [region(sys.argv[4]), region(sys.argv[5])]
    root = display.Display().screen().root
    seen = [-1.0, -1.0]
    with open(ready, "w") as f:
        f.write("ready\n")
    t0 = time.monotonic()
    reads = 0
    while min(seen) < 0 and time.monotonic() - t0 < LIMIT_S:
        reads += 1
        for i, box in enumerate(boxes):
            if seen[i] < 0 and count(root, box, colour) >= least:
                seen[i] = (time.monotonic() - t0) * 1000
    lag = seen[1] - seen[0] if min(seen) >= 0 else -1
    print("first_ms=%.1f second_ms=%.1f lag_ms=%.1f reads=%d" % (seen[0], seen[1], lag, reads))


if __name__ == "__main__":
    main()
