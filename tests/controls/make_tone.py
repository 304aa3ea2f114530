#!/usr/bin/env python3
"""Writes a short mono 16-bit sine tone as a WAV file (the source of the test MP3)."""
import math
import struct
import sys

rate, seconds = 22050, 0.4
samples = [int(12000 * math.sin(2 * math.pi * 440 * i / rate)) for i in range(int(rate * seconds))]
data = struct.pack("<%dh" % len(samples), *samples)
with open(sys.argv[1], "wb") as out:
    out.write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE")
    out.write(b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16))
    out.write(b"data" + struct.pack("<I", len(data)) + data)
