#!/usr/bin/env python3
"""Writes the demo media library that `make run` and the end-to-end tests start
Melvora Browser on: songs (WAV and MP3 made with sox), a short video, radios,
covers (PNG and JPEG), descriptions (.txt and .htm), folder ".ini" files with
"site", a playlist with blank lines, a hidden folder, an empty album and a file
of bogus media bytes.

For a person (the default) the songs are chord progressions of 30 to 90
seconds and the covers are gradients with the album's name. With --short the
songs are 1.5-second tones and each cover is one colour, so that the tests run
quickly and a screenshot pixel tells which cover shows.

Usage: make_demo_library.py FOLDER [--short] [--folders N]
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


FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
# The intervals of a song's four chords (I, V, vi, IV) and the order in which
# their notes are plucked, one every quarter second.
CHORDS = [(0, 4, 7), (7, 11, 14), (9, 12, 16), (5, 9, 12)]
ARPEGGIO = [0, 1, 2, 1, 2, 1, 0, 1]
NOTE_SECONDS = 0.25


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


def sox(*args):
    subprocess.run(["sox"] + [str(a) for a in args], check=True)


def song(path, root, seconds):
    """A plucked arpeggio over a bass line, the four chords over and over in the
    key of root (Hz), seconds long and faded out."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    parts = path + ".parts"
    os.makedirs(parts, exist_ok=True)
    raw = ["-r", "22050", "-c", "1", "-b", "16"]
    chord_seconds = NOTE_SECONDS * len(ARPEGGIO)
    melody, bass = [], []
    for c, chord in enumerate(CHORDS):
        for i in sorted(set(ARPEGGIO)):
            sox("-n", *raw, os.path.join(parts, "n%d%d.wav" % (c, i)), "synth", NOTE_SECONDS, "pluck",
                root * 2 ** (chord[i] / 12.0), "fade", 0, NOTE_SECONDS, 0.04)
        sox("-n", *raw, os.path.join(parts, "b%d.wav" % c), "synth", chord_seconds, "sine",
            root / 4 * 2 ** (chord[0] % 12 / 12.0), "fade", 0.05, chord_seconds, 0.3, "vol", 0.5)
    count = int(seconds / chord_seconds + 0.999)
    for k in range(count):
        c = k % len(CHORDS)
        melody += [os.path.join(parts, "n%d%d.wav" % (c, i)) for i in ARPEGGIO]
        bass.append(os.path.join(parts, "b%d.wav" % c))
    sox(*melody, os.path.join(parts, "melody.wav"))
    sox(*bass, os.path.join(parts, "bass.wav"))
    bits = ["-b", "16"] if path.endswith(".wav") else []
    sox("-m", os.path.join(parts, "melody.wav"), os.path.join(parts, "bass.wav"), *bits, path,
        "trim", 0, seconds, "reverb", 30, "fade", 0, seconds, 3, "norm", -3)
    shutil.rmtree(parts)


def cover(path, colour, name, size=300):
    """A cover that looks like one: a gradient of the album's colour, a few
    rings and its name."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    light = "#%02X%02X%02X" % tuple(min(255, c + 90) for c in colour)
    dark = "#%02X%02X%02X" % tuple(c // 3 for c in colour)
    seed = sum(ord(ch) for ch in name)
    rings = []
    for k in range(3):
        x, y, r = (seed * (k + 3)) % size, (seed * (k + 7)) % (size * 2 // 3), 30 + (seed * (k + 1)) % 90
        rings += ["-draw", "circle %d,%d %d,%d" % (x, y, x + r, y)]
    subprocess.run(["convert", "-size", "%dx%d" % (size, size), "gradient:%s-%s" % (light, dark),
                    "-fill", "none", "-stroke", "rgba(255,255,255,0.35)", "-strokewidth", "6"] + rings +
                   ["-stroke", "none", "-fill", "white", "-font", FONT, "-pointsize", "30", "-gravity", "south",
                    "-annotate", "+0+24", name, "-quality", "92", path], check=True)


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


def folder_side_files(parent, name, colour=None, jpeg_cover=False, text=None, page=None, site=None, short=True):
    if colour:
        path = os.path.join(parent, name + (".jpg" if jpeg_cover else ".png"))
        if not short:
            cover(path, colour, name)
        elif jpeg_cover:
            jpeg(path, colour)
        else:
            png(path, colour)
    if text:
        write(os.path.join(parent, name + ".txt"), text)
    if page:
        write(os.path.join(parent, name + ".htm"), page)
    if site:
        write(os.path.join(parent, name + ".ini"), ["site=" + site])


def make(root, extra_folders=0, short=False):
    if os.path.isdir(root):
        shutil.rmtree(root)
    os.makedirs(root)

    def track(path, frequency, seconds, short_seconds=1.5):
        if short:
            tone(path, frequency, short_seconds)
        else:
            song(path, frequency, seconds)

    def side(parent, name, colour=None, **rest):
        folder_side_files(parent, name, colour, short=short, **rest)

    artist = os.path.join(root, "Aurora Lane")
    side(root, "Aurora Lane", COVERS["Aurora Lane"], text=["Aurora Lane plays quiet synth songs."],
         site="http://aurora-lane.example/")
    first = os.path.join(artist, "First Light")
    side(artist, "First Light", COVERS["First Light"],
         page=["<html><body><h1>First Light</h1><p>The first album.</p></body></html>"],
         site="http://aurora-lane.example/first-light")
    track(os.path.join(first, "01 Dawn.wav"), 440, 42)
    track(os.path.join(first, "02 Morning.mp3"), 523, 64)
    track(os.path.join(first, "03 Noon.mp3"), 659, 38)
    write(os.path.join(first, "01 Dawn.txt"), ["Written on a cold morning.", "", "Second line of the note."])
    # Bytes that only look like a song.
    write(os.path.join(first, "04 Broken.mp3"), bytes((i * 37 + 11) % 256 for i in range(4096)))
    night = os.path.join(artist, "Night Drive")
    side(artist, "Night Drive", COVERS["Night Drive"], jpeg_cover=True,
         text=["Night Drive: songs for the road."])
    track(os.path.join(night, "01 Headlights.mp3"), 392, 75)
    track(os.path.join(night, "02 Tunnel.wav"), 330, 52)
    os.makedirs(os.path.join(artist, "Empty Album"))

    harbour = os.path.join(root, "Glass Harbour")
    side(root, "Glass Harbour", COVERS["Glass Harbour"], jpeg_cover=True, site="http://glass.example/")
    track(os.path.join(harbour, "01 Tide.mp3"), 294, 90)
    picture = os.path.join(harbour, "Harbour at dusk.png")
    if short:
        png(picture, (0x45, 0x5A, 0x64), 48)
    else:
        cover(picture, (0x45, 0x5A, 0x64), "Dusk", 240)

    videos = os.path.join(root, "Videos")
    side(root, "Videos", COVERS["Videos"])
    avi(os.path.join(videos, "Colour Bars.avi"))

    radios = os.path.join(root, "Radios")
    side(root, "Radios", COVERS["Radios"], text=["Internet radios."])
    radio(os.path.join(radios, "Loopback FM.wax"), "Loopback FM", "http://127.0.0.1:9/fm")
    radio(os.path.join(radios, "Quiet Waves.wvx"), "Quiet Waves", "http://127.0.0.1:9/waves")

    write(os.path.join(root, "Playlists", "Favourites.lst"),
          ["Aurora Lane\\First Light\\01 Dawn.wav", "", "   ", "Glass Harbour\\01 Tide.mp3", "",
           "Aurora Lane\\Night Drive\\01 Headlights.mp3"])
    write(os.path.join(root, "Playlists", "Evening.lst"), ["Aurora Lane\\Night Drive\\02 Tunnel.wav"])
    # Wine shows names starting with a dot as hidden.
    track(os.path.join(root, ".Private Tapes", "01 Demo.wav"), 220, 24, 0.5)

    for i in range(extra_folders):
        folder = os.path.join(root, "Artist %05d" % i)
        os.makedirs(folder)
        with open(os.path.join(folder, "Song.mp3"), "wb") as out:
            out.write(b"ID3")


if __name__ == "__main__":
    args = sys.argv[1:]
    extra = 0
    short = "--short" in args
    args = [a for a in args if a != "--short"]
    if "--folders" in args:
        at = args.index("--folders")
        extra = int(args[at + 1])
        del args[at:at + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    make(args[0], extra, short)
