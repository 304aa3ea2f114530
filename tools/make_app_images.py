#!/usr/bin/env python3
"""Makes the main program's pictures from the Tango icon set (Debian's
tango-icon-theme, public domain): the 22 toolbar images, the menu images, the
six list images, the logo, the splash, the header strip and the two icons
(107 and 108, each with 16, 32 and 48 pixel images). Where Tango has no picture
of a command (shuffle, repeat, shutdown after the last track, play a folder) one
is composed from its parts. The results are committed in app/res; run this
again after changing a picture.

Usage: make_app_images.py [FOLDER]   (default: app/res beside this script)"""
import os
import struct
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("Pillow is missing (Debian package python3-pil): run tools/setup")

HERE = os.path.dirname(os.path.abspath(__file__))
TANGO = "/usr/share/icons/Tango"
FONTS = "/usr/share/fonts/truetype/dejavu"
PRODUCT, VERSION = "Melvora Browser", "1.0.3.0"

# Tango's own palette: (dark outline, light fill) pairs for tinted glyphs.
GREEN = ((0x4E, 0x9A, 0x06), (0x8A, 0xE2, 0x34))
BLUE = ((0x20, 0x4A, 0x87), (0x72, 0x9F, 0xCF))
RED = ((0xA4, 0x00, 0x00), (0xEF, 0x29, 0x29))
ORANGE = ((0xCE, 0x5C, 0x00), (0xFC, 0xAF, 0x3E))
WHITE = ((0xD3, 0xD7, 0xCF), (0xFF, 0xFF, 0xFF))
# The logo's two colours: the tests know a default cover by them.
LOGO_BACK, LOGO_DISC = (0xE8, 0xF5, 0xE9), (0x2E, 0x7D, 0x32)


def tango(name, size):
    """A Tango icon as RGBA at size pixels: its own drawing of that size when the
    set has one, else the nearest larger (or the largest) scaled."""
    drawn = [16, 22, 24, 32]
    order = [size] if size in drawn else []
    order += [s for s in drawn if s > size] + sorted((s for s in drawn if s < size), reverse=True)
    for s in order:
        folder = os.path.join(TANGO, "%dx%d" % (s, s))
        for kind in sorted(os.listdir(folder)):
            path = os.path.join(folder, kind, name + ".png")
            if os.path.exists(path):
                image = Image.open(path).convert("RGBA")
                return image if s == size else image.resize((size, size), Image.LANCZOS)
    sys.exit("tango-icon-theme has no picture %s: run tools/setup" % name)


def tint(image, colours):
    """The glyph in two colours: dark where it is dark, light where it is light."""
    (dr, dg, db), (lr, lg, lb) = colours
    out = image.copy()
    pixels = out.load()
    for y in range(out.height):
        for x in range(out.width):
            r, g, b, a = pixels[x, y]
            t = (r * 299 + g * 587 + b * 114) / 255000.0
            pixels[x, y] = (int(dr + (lr - dr) * t), int(dg + (lg - dg) * t), int(db + (lb - db) * t), a)
    return out


def pixels(width, height, pixel):
    """An RGBA image whose pixel (x, y) is pixel(x, y)."""
    out = Image.new("RGBA", (width, height))
    out.putdata([tuple(pixel(x, y)) for y in range(height) for x in range(width)])
    return out


def canvas(width, height=None):
    return Image.new("RGBA", (width, height or width), (0, 0, 0, 0))


def centred(picture, width, height):
    """picture in the middle of a transparent width x height image."""
    out = canvas(width, height)
    out.alpha_composite(picture, ((width - picture.width) // 2, (height - picture.height) // 2))
    return out


def halo(image, width=1):
    """The image on a white outline, so that a small mark stands off the picture under it."""
    alpha = image.getchannel("A").filter(ImageFilter.MaxFilter(2 * width + 1))
    out = Image.new("RGBA", image.size, (255, 255, 255, 0))
    out.putalpha(alpha.point(lambda a: min(255, a * 2)))
    out.alpha_composite(image)
    return out


def badge(base, mark, size, small=None):
    """base at full size with a smaller mark (half its size unless given) in its
    bottom-right corner."""
    out = canvas(size)
    out.alpha_composite(base)
    small = small or size // 2
    mark = halo(mark.resize((small, small), Image.LANCZOS) if mark.width != small else mark)
    out.alpha_composite(mark, (size - small, size - small))
    return out


def shuffle(size):
    """Tango has no shuffle picture: two of its arrows, drawn long and slim, that cross."""
    big = size * 4
    arrow = tango("go-next", 32)
    arrow = arrow.crop(arrow.getbbox()).resize((big * 15 // 16, big * 5 // 16), Image.LANCZOS)
    out = canvas(big)
    for angle, colours in ((-32, BLUE), (32, GREEN)):
        turned = halo(tint(arrow, colours), size // 8).rotate(angle, resample=Image.BICUBIC, expand=True)
        out.alpha_composite(turned, ((big - turned.width) // 2, (big - turned.height) // 2))
    return out.resize((size, size), Image.LANCZOS)


def repeat(size):
    """Tango has no repeat picture: its circling arrows round a play mark."""
    out = tango("view-refresh", size).copy()
    play = tint(tango("media-playback-start", 32), GREEN)
    small = size * 7 // 16
    out.alpha_composite(play.resize((small, small), Image.LANCZOS), ((size - small) // 2 + 1, (size - small) // 2))
    return out


def shutdown_after(size):
    """Tango has no "shut down after the last track": its shutdown switch marked
    with its go-to-the-end arrow."""
    return badge(tango("system-shutdown", size), tango("go-last", 16), size)


def player(name, size, colours):
    return tint(tango(name, size), colours)


def play_mark():
    return tint(tango("media-playback-start", 16), GREEN)


def toolbar_picture(number, size):
    """The toolbar image of the given resource number, in the toolbar's order."""
    pictures = {
        163: lambda: tango("go-home", size),                                        # Home...
        134: lambda: badge(tango("folder", size), tango("go-up", 16), size),      # Go to parent folder...
        137: lambda: badge(tango("format-justify-left", size), play_mark(), size),  # Play Tracks at...
        219: lambda: badge(tango("folder", size), play_mark(), size),             # Play All Folders
        168: lambda: badge(tango("audio-x-generic", size), shuffle(22), size, 22),    # Play Tracks Randomly
        167: lambda: badge(tango("folder", size), shuffle(22), size, 22),             # Play Tracks and Folders Randomly
        136: lambda: badge(tango("audio-x-generic", size), play_mark(), size),    # Play Selected Tracks
        131: lambda: tango("multimedia-player", size),                              # the now-playing bar (no button)
        138: lambda: player("media-skip-backward", size, BLUE),                     # Previous Track
        133: lambda: player("media-skip-forward", size, BLUE),                      # Next Track
        135: lambda: player("media-playback-pause", size, BLUE),                    # Pause
        141: lambda: player("media-playback-stop", size, RED),                      # Stop
        139: lambda: repeat(size),                                                  # Repeat On/Off
        218: lambda: shutdown_after(size),                                          # Shutdown On/Off
        142: lambda: badge(tango("preferences-system-windows", size), tango("go-down", 16), size),  # Hide Window
        205: lambda: tango("x-office-address-book", size),                          # Open Book
        165: lambda: tango("address-book-new", size),                               # Make Book
        172: lambda: badge(tango("x-office-address-book", size), tango("mail-forward", 16), size),  # Send Book
        198: lambda: tango("accessories-text-editor", size),                        # Edit Descriptions
        140: lambda: tango("preferences-system", size),                             # Preferences
        171: lambda: tango("help-browser", size),                                   # Help
        239: lambda: tango("emblem-favorite", size),                                # Make a Donation
    }
    return pictures[number]()


def menu_picture(number):
    pictures = {
        159: lambda: player("media-skip-backward", 16, BLUE),    # Previous Track
        156: lambda: player("media-skip-forward", 16, BLUE),     # Next Track
        157: lambda: player("media-playback-pause", 16, BLUE),   # Pause
        154: lambda: player("media-playback-stop", 16, RED),     # Stop
        160: lambda: tango("preferences-system-windows", 16),    # Show Window; the docked bar's show/hide
        152: lambda: tango("folder-open", 16),                   # Explore Folder
        153: lambda: tango("image-x-generic", 16),               # Make Cover, Download Cover
        170: lambda: tango("list-add", 16),                      # Add to current playlist
        222: lambda: tango("document-properties", 16),           # Properties...
        236: lambda: tango("edit-find", 16),                     # Find Lyrics
    }
    return pictures[number]()


LIST_PICTURES = {149: "folder", 143: "applications-multimedia", 132: "audio-x-generic", 220: "network-wireless",
                 173: "image-x-generic", 221: "text-x-generic"}


def font(size, bold=False):
    return ImageFont.truetype(os.path.join(FONTS, "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), size)


def emblem(size, top=3 / 16.0, scale=5 / 8.0):
    """The program's emblem: a folder of songs on a green disc; top and scale
    place the folder on the disc (fractions of the size)."""
    big = size * 4
    out = canvas(big)
    ImageDraw.Draw(out).ellipse((2, 2, big - 3, big - 3), fill=LOGO_DISC + (255,))
    inner = int(big * scale)
    y = int(big * top)
    out.alpha_composite(tango("folder", 32).resize((inner, inner), Image.LANCZOS), ((big - inner) // 2, y))
    side = inner * 3 // 5
    note = tint(tango("audio-x-generic", 32), WHITE).resize((side, side), Image.LANCZOS)
    out.alpha_composite(note, ((big - side) // 2, y + inner * 3 // 10))
    return out.resize((size, size), Image.LANCZOS)


def logo():
    """64 x 64: the emblem over the program's name and version on a light square."""
    out = Image.new("RGBA", (64, 64), LOGO_BACK + (255,))
    # The folder sits high on the disc, so that the middle of the picture (where
    # a default cover is told apart from a folder's own) stays green.
    out.alpha_composite(emblem(44, 1 / 16.0, 1 / 2.0), (10, 1))
    draw = ImageDraw.Draw(out)
    for text, y, f in (("Melvora", 44, font(11, True)), (VERSION, 55, font(8))):
        width = draw.textlength(text, font=f)
        draw.text(((64 - width) / 2, y), text, font=f, fill=(0x1B, 0x5E, 0x20, 255))
    return out


def splash():
    """320 x 180: the emblem, the program's name and its version."""
    out = Image.new("RGBA", (320, 180))
    draw = ImageDraw.Draw(out)
    for y in range(180):
        t = y / 179.0
        draw.line((0, y, 319, y), fill=(int(0x1B + 0x20 * t), int(0x5E + 0x1F * t), int(0x20 + 0x12 * t), 255))
    out.alpha_composite(emblem(96), (18, 42))
    draw.text((126, 62), "Melvora", font=font(30, True), fill=(255, 255, 255, 255))
    draw.text((128, 100), "Browser", font=font(18), fill=(0xE8, 0xF5, 0xE9, 255))
    draw.text((128, 128), "Version " + VERSION, font=font(11), fill=(0xC8, 0xE6, 0xC9, 255))
    return out


def header_strip():
    """160 x 22: the header's light green band."""
    out = Image.new("RGBA", (160, 22))
    draw = ImageDraw.Draw(out)
    for y in range(22):
        draw.line((0, y, 159, y), fill=(0xDE - y, 0xED - y, 0xD7 - y, 255))
    return out


def ico(images):
    """An icon file of 32-bit images (with their AND masks), one per size."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for image in images:
        size = image.width
        rows = []
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray(mask_row * size)
        pixels = image.load()
        for y in range(size - 1, -1, -1):  # bottom-up
            row = bytearray()
            for x in range(size):
                r, g, b, a = pixels[x, y]
                row += bytes((b, g, r, a))
                if a == 0:
                    mask[(size - 1 - y) * mask_row + x // 8] |= 0x80 >> (x % 8)
            rows.append(bytes(row))
        data = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0) + b"".join(rows) + bytes(mask)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


def save(folder, number, image):
    image.save(os.path.join(folder, "%d.png" % number), optimize=True)


TOOLBAR = [163, 134, 137, 219, 168, 167, 136, 131, 138, 133, 135, 141, 139, 218, 142, 205, 165, 172, 198, 140, 171,
           239]
MENU = [159, 156, 157, 154, 160, 152, 153, 170, 222, 236]


def main(folder):
    os.makedirs(folder, exist_ok=True)
    # The program scales these to 24 pixels for small icons.
    for number in TOOLBAR:
        save(folder, number, toolbar_picture(number, 32))
    for number in MENU:
        save(folder, number, menu_picture(number))
    for number, name in LIST_PICTURES.items():
        save(folder, number, tango(name, 16))
    save(folder, 130, logo())
    save(folder, 235, splash())
    save(folder, 237, header_strip())
    icons = [emblem(16), emblem(32), emblem(48)]
    for number in (107, 108):
        with open(os.path.join(folder, "%d.ico" % number), "wb") as out:
            out.write(ico(icons))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "app", "res"))
