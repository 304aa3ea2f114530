#!/usr/bin/env python3
"""Makes the pictures of the playback panes: the now-playing covers and queue
button, the seek bar, the docked bar's background and the thumbnail grid's cells
and play symbol. Plain shapes, written without any imaging library.

Usage: make_play_images.py FOLDER"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_app_images import png  # noqa: E402


def frame(width, height, fill, border, inner=None, band=0, band_colour=None):
    def pixel(x, y):
        if band and x < band:
            return band_colour
        if x in (0, width - 1) or y in (0, height - 1):
            return border
        if inner and 4 <= x < width - 4 and 4 <= y < 4 + min(150, height - 8) and x < 154:
            return inner
        return fill
    return pixel


def disc(size, colour, triangle=None):
    c = size / 2 - 0.5
    def pixel(x, y):
        inside = (x - c) ** 2 + (y - c) ** 2 <= (size * 0.46) ** 2
        if not inside:
            return (0, 0, 0, 0)
        if triangle and size * 0.36 <= x <= size * 0.72 and abs(y - c) <= (size * 0.72 - x) * 0.6:
            return triangle
        return colour
    return pixel


def main(folder):
    os.makedirs(folder, exist_ok=True)
    files = {}
    # Now-playing pane: placeholder cover, busy cover, queue button.
    files[145] = png(64, 64, lambda x, y: (0xCF, 0xD8, 0xDC, 255) if 8 <= x < 56 and 8 <= y < 56 else (0xEC, 0xEF, 0xF1, 255))
    files[230] = png(64, 64, lambda x, y: (0xFF, 0xB3, 0x00, 255) if (x // 8 + y // 8) % 2 else (0xFF, 0xE0, 0x82, 255))
    files[169] = png(24, 22, lambda x, y: (0x37, 0x47, 0x4F, 255) if y in (5, 6, 10, 11, 15, 16) and 4 <= x < 20 else (0, 0, 0, 0))
    # The docked bar's background tile.
    files[231] = png(16, 24, lambda x, y: (0xE3 - y, 0xEA - y, 0xF2 - y, 255))
    # Seek bar: empty part, filled part, hover band (111 x 9).
    files[232] = png(111, 9, lambda x, y: (0xB0, 0xBE, 0xC5, 255) if 2 <= y <= 6 else (0xEC, 0xEF, 0xF1, 255))
    files[233] = png(111, 9, lambda x, y: (0x15, 0x65, 0xC0, 255) if 1 <= y <= 7 else (0x90, 0xCA, 0xF9, 255))
    files[234] = png(111, 9, lambda x, y: (0xEF, 0x6C, 0x00, 255) if 1 <= y <= 7 else (0xFF, 0xCC, 0x80, 255))
    # Thumbnail grid: the play symbol and the five cells (170 x 200).
    files[207] = png(64, 64, disc(64, (0x1B, 0x5E, 0x20, 230), (0xFF, 0xFF, 0xFF, 255)))
    files[202] = png(170, 200, frame(170, 200, (0xED, 0xD5, 0xB6, 255), (0xC8, 0xB0, 0x90, 255)))
    files[204] = png(170, 200, frame(170, 200, (0xED, 0xD5, 0xB6, 255), (0xC8, 0xB0, 0x90, 255)))
    files[206] = png(170, 200, frame(170, 200, (0xF5, 0xE3, 0xCC, 255), (0x9C, 0x42, 0x42, 255)))
    files[200] = png(170, 200, frame(170, 200, (0xFF, 0xF3, 0xE0, 255), (0x42, 0x77, 0x9C, 255)))
    files[203] = png(170, 200, frame(170, 200, (0xFF, 0xF3, 0xE0, 255), (0x42, 0x77, 0x9C, 255)))
    for number, data in files.items():
        with open(os.path.join(folder, "%d.png" % number), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
