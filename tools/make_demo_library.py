#!/usr/bin/env python3
"""Writes the demo media library that `make run` and the end-to-end tests start
Melvora Browser on: songs (WAV and MP3 made with sox), a short video, radios,
covers (PNG and JPEG in solid colours, so that a screenshot pixel tells which
cover shows), descriptions (.txt and .htm), folder ".ini" files with "site", a
playlist with blank lines, a hidden folder, an empty album and a file of bogus
media bytes.

Usage: make_demo_library.py FOLDER [--folders N]
With --folders N it also adds N small artist folders (for timing large libraries)."""
import os
import shutil
import struct
import subprocess
import sys
import zlib

# Colours of the covers, by folder name: the tests look for these pixels.
COVERS = {
    "Aurora Lane": (0xC6, 0x28, 0x28),
    "First Light": (0x15, 0x65, 0xC0),
    "Night Drive": (0xEF, 0x6C, 0x00),
    "Glass Harbour": (0x2E, 0x7D, 0x32),
    "Videos": (0x6A, 0x1B, 0x9A),
    "Radios": (0x00, 0x83, 0x8F),
}


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data if isinstance(data, bytes) else crlf(data))


def png(path, colour, size=64):
    row = b"\0" + bytes(colour) * size
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    write(path, b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)) +
          chunk(b"IDAT", zlib.compress(row * size, 9)) + chunk(b"IEND", b""))


def jpeg(path, colour, size=64):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["convert", "-size", "%dx%d" % (size, size), "xc:#%02X%02X%02X" % colour, "-quality", "95", path],
                   check=True)


def tone(path, frequency, seconds=1.5):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    bits = ["-b", "16"] if path.endswith(".wav") else []
    subprocess.run(["sox", "-n", "-r", "22050", "-c", "1"] + bits + [path, "synth", str(seconds), "sine",
                    str(frequency), "fade", "0.05", str(seconds), "0.2", "vol", "0.5"], check=True)


def avi(path, frames=10, width=32, height=24):
    """A tiny uncompressed AVI: one video stream of solid frames that change colour."""
    frame_size = width * height * 3
    movi = b""
    index = b""
    offset = 4
    for i in range(frames):
        pixel = bytes((40 * i % 256, 100, 200 - 10 * i))
        data = pixel * (width * height)
        movi += b"00db" + struct.pack("<I", frame_size) + data
        index += b"00db" + struct.pack("<III", 0x10, offset, frame_size)
        offset += 8 + frame_size
    def lst(kind, data):
        return b"LIST" + struct.pack("<I", 4 + len(data)) + kind + data
    def ck(kind, data):
        return kind + struct.pack("<I", len(data)) + data
    avih = ck(b"avih", struct.pack("<IIIIIIIIII", 100000, frame_size * 10, 0, 0x10, frames, 0, 1, frame_size,
                                   width, height) + b"\0" * 16)
    strh = ck(b"strh", b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIi", 0, 0, 0, 0, 1, 10, 0, frames, frame_size,
                                                       0xFFFFFFFF, 0) + struct.pack("<hhhh", 0, 0, width, height))
    strf = ck(b"strf", struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, frame_size, 0, 0, 0, 0))
    hdrl = lst(b"hdrl", avih + lst(b"strl", strh + strf))
    body = b"AVI " + hdrl + lst(b"movi", movi) + ck(b"idx1", index)
    write(path, b"RIFF" + struct.pack("<I", len(body)) + body)


def radio(path, title, url):
    write(path, ['<ASX version="3.0">', "  <Title>%s</Title>" % title, "  <Entry>",
                 '    <Ref href="%s" />' % url, "  </Entry>", "</ASX>"])


def folder_side_files(parent, name, cover=None, jpeg_cover=False, text=None, page=None, site=None):
    if cover:
        if jpeg_cover:
            jpeg(os.path.join(parent, name + ".jpg"), cover)
        else:
            png(os.path.join(parent, name + ".png"), cover)
    if text:
        write(os.path.join(parent, name + ".txt"), text)
    if page:
        write(os.path.join(parent, name + ".htm"), page)
    if site:
        write(os.path.join(parent, name + ".ini"), ["site=" + site])


def make(root, extra_folders=0):
    if os.path.isdir(root):
        shutil.rmtree(root)
    os.makedirs(root)

    artist = os.path.join(root, "Aurora Lane")
    folder_side_files(root, "Aurora Lane", COVERS["Aurora Lane"], text=["Aurora Lane plays quiet synth songs."],
                      site="http://aurora-lane.example/")
    first = os.path.join(artist, "First Light")
    folder_side_files(artist, "First Light", COVERS["First Light"],
                      page=["<html><body><h1>First Light</h1><p>The first album.</p></body></html>"],
                      site="http://aurora-lane.example/first-light")
    tone(os.path.join(first, "01 Dawn.wav"), 440)
    tone(os.path.join(first, "02 Morning.mp3"), 523)
    tone(os.path.join(first, "03 Noon.mp3"), 659)
    write(os.path.join(first, "01 Dawn.txt"), ["Written on a cold morning.", "", "Second line of the note."])
    # Bytes that only look like a song.
    write(os.path.join(first, "04 Broken.mp3"), bytes((i * 37 + 11) % 256 for i in range(4096)))
    night = os.path.join(artist, "Night Drive")
    folder_side_files(artist, "Night Drive", COVERS["Night Drive"], jpeg_cover=True,
                      text=["Night Drive: songs for the road."])
    tone(os.path.join(night, "01 Headlights.mp3"), 392)
    tone(os.path.join(night, "02 Tunnel.wav"), 330)
    os.makedirs(os.path.join(artist, "Empty Album"))

    harbour = os.path.join(root, "Glass Harbour")
    folder_side_files(root, "Glass Harbour", COVERS["Glass Harbour"], jpeg_cover=True, site="http://glass.example/")
    tone(os.path.join(harbour, "01 Tide.mp3"), 294)
    png(os.path.join(harbour, "Harbour at dusk.png"), (0x45, 0x5A, 0x64), 48)

    videos = os.path.join(root, "Videos")
    folder_side_files(root, "Videos", COVERS["Videos"])
    avi(os.path.join(videos, "Colour Bars.avi"))

    radios = os.path.join(root, "Radios")
    folder_side_files(root, "Radios", COVERS["Radios"], text=["Internet radios."])
    radio(os.path.join(radios, "Loopback FM.wax"), "Loopback FM", "http://127.0.0.1:9/fm")
    radio(os.path.join(radios, "Quiet Waves.wvx"), "Quiet Waves", "http://127.0.0.1:9/waves")

    write(os.path.join(root, "Playlists", "Favourites.lst"),
          ["Aurora Lane\\First Light\\01 Dawn.wav", "", "   ", "Glass Harbour\\01 Tide.mp3", "",
           "Aurora Lane\\Night Drive\\01 Headlights.mp3"])
    write(os.path.join(root, "Playlists", "Evening.lst"), ["Aurora Lane\\Night Drive\\02 Tunnel.wav"])
    # Wine shows names starting with a dot as hidden.
    tone(os.path.join(root, ".Private Tapes", "01 Demo.wav"), 220, 0.5)

    for i in range(extra_folders):
        folder = os.path.join(root, "Artist %05d" % i)
        os.makedirs(folder)
        with open(os.path.join(folder, "Song.mp3"), "wb") as out:
            out.write(b"ID3")


if __name__ == "__main__":
    args = sys.argv[1:]
    extra = 0
    if "--folders" in args:
        at = args.index("--folders")
        extra = int(args[at + 1])
        del args[at:at + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    make(args[0], extra)
