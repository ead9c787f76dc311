#!/usr/bin/env python3
"""Writes 20 s of a 440 Hz tone (16-bit mono, 44.1 kHz) in the kind the file's extension names:
wav, flac, ogg (Vorbis) or mp3, through libsndfile, the library the presenter decodes with; m4a
(AAC), which libsndfile does not write, is the same tone kept in tests/platform/clips."""
import ctypes
import math
import os
import shutil
import sys

KINDS = {
    "wav": 0x010000 | 0x0002,   # SF_FORMAT_WAV | SF_FORMAT_PCM_16
    "flac": 0x170000 | 0x0002,  # SF_FORMAT_FLAC | SF_FORMAT_PCM_16
    "ogg": 0x200000 | 0x0060,   # SF_FORMAT_OGG | SF_FORMAT_VORBIS
    "mp3": 0x230000 | 0x0082,   # SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III
}
SFM_WRITE = 0x20


class Info(ctypes.Structure):
    _fields_ = [("frames", ctypes.c_int64), ("samplerate", ctypes.c_int),
                ("channels", ctypes.c_int), ("format", ctypes.c_int),
                ("sections", ctypes.c_int), ("seekable", ctypes.c_int)]


def main(path):
    extension = path.rsplit(".", 1)[1].lower()
    if extension == "m4a":
        here = os.path.dirname(os.path.abspath(__file__))
        shutil.copyfile(os.path.join(here, "..", "platform", "clips", "tone-20s.m4a"), path)
        return
    kind = KINDS[extension]
    lib = ctypes.CDLL("libsndfile.so.1")
    lib.sf_open.restype = ctypes.c_void_p
    lib.sf_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(Info)]
    lib.sf_strerror.restype = ctypes.c_char_p
    lib.sf_strerror.argtypes = [ctypes.c_void_p]
    lib.sf_write_short.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_int64]
    lib.sf_close.argtypes = [ctypes.c_void_p]
    info = Info(0, 44100, 1, kind, 0, 0)
    handle = lib.sf_open(path.encode(), SFM_WRITE, ctypes.byref(info))
    if not handle:
        sys.exit("libsndfile cannot write %s: %s" % (path, lib.sf_strerror(None).decode()))
    n = 44100 * 20
    tone = (ctypes.c_short * n)(
        *[int(12000 * math.sin(2 * math.pi * 440 * i / 44100)) for i in range(n)])
    written = lib.sf_write_short(handle, tone, n)
    lib.sf_close(handle)
    if written != n:
        sys.exit("libsndfile wrote %d of %d samples to %s" % (written, n, path))


if __name__ == "__main__":
    main(sys.argv[1])
