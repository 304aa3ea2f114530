#!/usr/bin/env python3
"""Makes the pictures of the playlists pane (240-246), of the description
editor's toolbar (189-197) and the chapter icon (GIF 188): plain coloured
shapes, written without any imaging library."""
import importlib.util
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("make_app_images", os.path.join(HERE, "make_app_images.py"))
images = importlib.util.module_from_spec(spec)
spec.loader.exec_module(images)


def lzw(indices, min_code_size):
    """GIF's variable-length LZW over palette indices, as packed data sub-blocks."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    table = {(i,): i for i in range(clear)}
    size, next_code = min_code_size + 1, end + 1
    bits, nbits, out = 0, 0, bytearray()

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            size, next_code = min_code_size + 1, end + 1
        current = (index,)
    if current:
        emit(table[current])
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    blocks = b"".join(bytes((len(out[i:i + 255]),)) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return bytes((min_code_size,)) + blocks + b"\0"


def gif(size, colour):
    """A disc of one colour on white, 16 x 16, four palette entries."""
    palette = bytes((255, 255, 255)) + bytes(colour) + bytes(6)
    c = size / 2 - 0.5
    indices = [1 if (x - c) ** 2 + (y - c) ** 2 <= (size * 0.42) ** 2 else 0 for y in range(size) for x in range(size)]
    return (b"GIF89a" + struct.pack("<HHBBB", size, size, 0x81, 0, 0) + palette +
            b"," + struct.pack("<HHHHB", 0, 0, size, size, 0) + lzw(indices, 2) + b";")


def main(folder):
    os.makedirs(folder, exist_ok=True)
    palette = [(0x2E, 0x7D, 0x32), (0x15, 0x65, 0xC0), (0xC6, 0x28, 0x28), (0xEF, 0x6C, 0x00),
               (0x6A, 0x1B, 0x9A), (0x00, 0x83, 0x8F), (0x5D, 0x40, 0x37), (0xAD, 0x14, 0x57), (0x45, 0x5A, 0x64)]
    files = {}
    for i, number in enumerate(range(240, 247)):
        files[number] = images.png(26, 26, images.shape(26, palette[i % 9], i % 3))
    for i, number in enumerate(range(189, 198)):
        files[number] = images.png(48, 48, images.shape(48, palette[(i + 2) % 9], (i + 1) % 3))
    for number, data in files.items():
        with open(os.path.join(folder, "%d.png" % number), "wb") as out:
            out.write(data)
    with open(os.path.join(folder, "188.gif"), "wb") as out:
        out.write(gif(16, (0x13, 0x81, 0xFF)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "app", "res"))
