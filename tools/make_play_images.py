#!/usr/bin/env python3
"""Makes the pictures of the playback panes: the now-playing covers and queue
button (from the Tango icon set, see make_app_images.py), the seek bar, the
docked bar's background and the thumbnail grid's cells and play symbol.

Usage: make_play_images.py FOLDER"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_app_images import WHITE, Image, ImageDraw, canvas, centred, pixels, save, tango, tint  # noqa: E402


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


def card(name, back, edge):
    """64 x 64: a Tango picture on a framed card (the now-playing pane's covers)."""
    out = Image.new("RGBA", (64, 64), edge + (255,))
    ImageDraw.Draw(out).rectangle((2, 2, 61, 61), fill=back + (255,))
    picture = tango(name, 32).resize((44, 44), Image.LANCZOS)
    out.alpha_composite(picture, (10, 10))
    return out


def play_disc():
    """64 x 64: Tango's play mark, white, on a dark green disc (the thumbnail grid)."""
    big = canvas(256)
    ImageDraw.Draw(big).ellipse((6, 6, 249, 249), fill=(0x1B, 0x5E, 0x20, 230))
    mark = tint(tango("media-playback-start", 32), WHITE).resize((176, 176), Image.LANCZOS)
    big.alpha_composite(mark, (48, 40))
    return big.resize((64, 64), Image.LANCZOS)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    # Now-playing pane: placeholder cover (a song with no cover yet), busy cover
    # (loading), the queue button (the list of what plays).
    save(folder, 145, card("audio-x-generic", (0xEC, 0xEF, 0xF1), (0xCF, 0xD8, 0xDC)))
    save(folder, 230, card("image-loading", (0xFF, 0xF3, 0xE0), (0xFF, 0xB3, 0x00)))
    save(folder, 169, centred(tango("format-justify-left", 22), 24, 22))
    save(folder, 207, play_disc())
    files = {}
    # The docked bar's background tile.
    files[231] = pixels(16, 24, lambda x, y: (0xE3 - y, 0xEA - y, 0xF2 - y, 255))
    # Seek bar: empty part, filled part, hover band (111 x 9).
    files[232] = pixels(111, 9, lambda x, y: (0xB0, 0xBE, 0xC5, 255) if 2 <= y <= 6 else (0xEC, 0xEF, 0xF1, 255))
    files[233] = pixels(111, 9, lambda x, y: (0x15, 0x65, 0xC0, 255) if 1 <= y <= 7 else (0x90, 0xCA, 0xF9, 255))
    files[234] = pixels(111, 9, lambda x, y: (0xEF, 0x6C, 0x00, 255) if 1 <= y <= 7 else (0xFF, 0xCC, 0x80, 255))
    # Thumbnail grid: the play symbol and the five cells (170 x 200).
    files[202] = pixels(170, 200, frame(170, 200, (0xED, 0xD5, 0xB6, 255), (0xC8, 0xB0, 0x90, 255)))
    files[204] = pixels(170, 200, frame(170, 200, (0xED, 0xD5, 0xB6, 255), (0xC8, 0xB0, 0x90, 255)))
    files[206] = pixels(170, 200, frame(170, 200, (0xF5, 0xE3, 0xCC, 255), (0x9C, 0x42, 0x42, 255)))
    files[200] = pixels(170, 200, frame(170, 200, (0xFF, 0xF3, 0xE0, 255), (0x42, 0x77, 0x9C, 255)))
    files[203] = pixels(170, 200, frame(170, 200, (0xFF, 0xF3, 0xE0, 255), (0x42, 0x77, 0x9C, 255)))
    for number, image in files.items():
        save(folder, number, image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
