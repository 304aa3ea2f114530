#!/usr/bin/env python3
"""Makes the program's pictures (toolbar, menu and list images, logo, splash,
header strip) and its two icons: plain coloured shapes, written without any
imaging library so that a fresh machine can remake them."""
import os
import struct
import sys
import zlib


def png(width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def ico(size, colour):
    # One 32-bit DIB image with an all-zero AND mask.
    r, g, b = colour
    xor = b""
    for y in range(size):
        for x in range(size):
            inside = (x - size / 2 + 0.5) ** 2 + (y - size / 2 + 0.5) ** 2 <= (size / 2) ** 2
            xor += bytes((b, g, r, 255)) if inside else bytes((0, 0, 0, 0))
    mask_row = ((size + 31) // 32) * 4
    data = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0) + xor + b"\0" * mask_row * size
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), 22) + data


def shape(size, colour, kind):
    r, g, b = colour
    def pixel(x, y):
        c = size / 2 - 0.5
        if kind == 0:
            inside = (x - c) ** 2 + (y - c) ** 2 <= (size * 0.42) ** 2
        elif kind == 1:
            inside = size * 0.15 <= x <= size * 0.85 and size * 0.15 <= y <= size * 0.85
        else:
            inside = abs(x - c) + abs(y - c) <= size * 0.45
        return (r, g, b, 255) if inside else (0, 0, 0, 0)
    return pixel


def main(folder):
    os.makedirs(folder, exist_ok=True)
    palette = [(0x2E, 0x7D, 0x32), (0x15, 0x65, 0xC0), (0xC6, 0x28, 0x28), (0xEF, 0x6C, 0x00),
               (0x6A, 0x1B, 0x9A), (0x00, 0x83, 0x8F), (0x5D, 0x40, 0x37), (0xAD, 0x14, 0x57)]
    toolbar = [163, 134, 137, 219, 168, 167, 136, 131, 138, 133, 135, 141, 139, 218, 142, 205, 165, 172, 198, 140,
               171, 239]
    menu = [159, 156, 157, 154, 160, 152, 153, 170, 222, 236]
    lists = [149, 143, 132, 220, 173, 221]
    files = {}
    for i, number in enumerate(toolbar):
        files[number] = png(32, 32, shape(32, palette[i % 8], i % 3))
    for i, number in enumerate(menu + lists):
        files[number] = png(16, 16, shape(16, palette[(i + 3) % 8], (i + 1) % 3))
    # The logo: a green disc on a light square.
    files[130] = png(64, 64, lambda x, y: (0x2E, 0x7D, 0x32, 255) if (x - 31.5) ** 2 + (y - 31.5) ** 2 < 900
                     else (0xE8, 0xF5, 0xE9, 255))
    files[235] = png(320, 180, lambda x, y: (0x1B, 0x5E, 0x20, 255) if 40 < y < 140 else (0xE8, 0xF5, 0xE9, 255))
    files[237] = png(160, 22, lambda x, y: (0xDE - y, 0xED - y, 0xD7 - y, 255))
    for number, data in files.items():
        with open(os.path.join(folder, "%d.png" % number), "wb") as out:
            out.write(data)
    with open(os.path.join(folder, "107.ico"), "wb") as out:
        out.write(ico(32, (0x2E, 0x7D, 0x32)))
    with open(os.path.join(folder, "108.ico"), "wb") as out:
        out.write(ico(16, (0x2E, 0x7D, 0x32)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "app", "res"))
