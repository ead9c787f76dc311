#!/usr/bin/python3
"""Watches what the screen shows from a separate X client, frame by frame, until told to stop.

  watch_screen.py READY STOP WANTED=#rrggbb UNWANTED=#rrggbb [UNWANTED=#rrggbb ...]

Reads two lines of the screen through the root window (the row and the column through its
centre) every time the X server reports drawing anywhere on it (DAMAGE), and again without pause
for a while after each report, so that a picture that is on the screen for a millisecond or two
between two others is still read. Before anything is read the screen's own content is taken as
the backdrop; READY is then written. From then on every read is sorted pixel by pixel into the
wanted colour, one of the unwanted colours, the backdrop or other; the watch ends once the file
STOP exists (or after 60 s) and prints one line:

  reads=N wanted=N unwanted=N other=N first=WANTED|UNWANTED|OTHER|NONE unwanted_ms=F

reads: the reads taken; wanted, unwanted, other: the reads with at least one such pixel (a read
may count in several); first: what the first read that was not all backdrop showed (UNWANTED
when any pixel was unwanted, else OTHER when any was neither wanted nor backdrop); unwanted_ms:
the time from the first to the last read with unwanted pixels (0 when there was one).
"""

import os
import select
import struct
import sys
import time

from Xlib import X, display
from Xlib.ext import damage  # noqa: F401  (registers the extension)

TOLERANCE = 24
# After each DAMAGE report the screen is read without pause for this long: a window raised
# over another keeps the other's pixels until its own client repaints, a few ms later.
BUSY_S = 0.25
LIMIT_S = 60


def rgb(text):
    h = text.lstrip("#")
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16))


def near(value, b):
    a = ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)
    return abs(a[0] - b[0]) <= TOLERANCE and abs(a[1] - b[1]) <= TOLERANCE and \
        abs(a[2] - b[2]) <= TOLERANCE


class Lines:
    """The centre row and centre column of the root window, as (r, g, b) tuples."""

    def __init__(self, d):
        self.d = d
        self.root = d.screen().root
        self.w = d.screen().width_in_pixels
        self.h = d.screen().height_in_pixels

    def _get(self, x, y, w, h):
        return self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data

    def read(self):
        """The distinct pixel values of both lines (0xXXRRGGBB integers)."""
        data = self._get(0, self.h // 2, self.w, 1) + self._get(self.w // 2, 0, 1, self.h)
        return {v[0] & 0xFFFFFF for v in struct.iter_unpack("<I", data)}


def main():
    ready, stop = sys.argv[1], sys.argv[2]
    wanted = None
    unwanted = []
    for arg in sys.argv[3:]:
        kind, colour = arg.split("=", 1)
        if kind == "WANTED":
            wanted = rgb(colour)
        else:
            unwanted.append(rgb(colour))

    d = display.Display()
    d.damage_query_version()
    lines = Lines(d)
    dmg = lines.root.damage_create(damage.DamageReportNonEmpty)
    d.sync()
    backdrop = lines.read()
    with open(ready, "w") as f:
        f.write("ready\n")

    # What each pixel value is, worked out once.
    kinds = {}

    def kind(value):
        if value not in kinds:
            if value in backdrop:
                kinds[value] = "backdrop"
            elif wanted and near(value, wanted):
                kinds[value] = "wanted"
            elif any(near(value, u) for u in unwanted):
                kinds[value] = "unwanted"
            else:
                kinds[value] = "other"
        return kinds[value]

    reads = n_wanted = n_unwanted = n_other = 0
    first = "NONE"
    unwanted_at = []
    busy_until = 0.0
    deadline = time.monotonic() + LIMIT_S
    while not os.path.exists(stop) and time.monotonic() < deadline:
        while d.pending_events():
            if d.next_event().type == d.extension_event.DamageNotify:
                d.damage_subtract(dmg)
                busy_until = time.monotonic() + BUSY_S
        now = time.monotonic()
        if now >= busy_until:
            # Nothing drawn lately: wait for the next report (or look again now and then for
            # the stop file).
            select.select([d.fileno()], [], [], 0.05)
            d.pending_events()
            continue
        seen = {kind(v) for v in lines.read()}
        reads += 1
        has_w, has_u, has_o = "wanted" in seen, "unwanted" in seen, "other" in seen
        n_wanted += has_w
        n_unwanted += has_u
        n_other += has_o
        if has_u:
            unwanted_at.append(now)
        if first == "NONE" and (has_w or has_u or has_o):
            first = "UNWANTED" if has_u else "OTHER" if has_o else "WANTED"
    span = (unwanted_at[-1] - unwanted_at[0]) * 1000 if unwanted_at else 0.0
    print("reads=%d wanted=%d unwanted=%d other=%d first=%s unwanted_ms=%.1f"
          % (reads, n_wanted, n_unwanted, n_other, first, span), flush=True)


if __name__ == "__main__":
    main()
