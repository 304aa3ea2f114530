#!/usr/bin/env python3
"""Makes the pictures of the playlists pane (240-246), of the description
editor's toolbar (189-197) and the chapter icon (GIF 188) from the Tango icon
set (see make_app_images.py)."""
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("make_app_images", os.path.join(HERE, "make_app_images.py"))
images = importlib.util.module_from_spec(spec)
spec.loader.exec_module(images)
Image, tango = images.Image, images.tango


def both(name, size):
    """Two of a Tango picture, one behind the other: "all" of something."""
    small = size * 3 // 4
    picture = tango(name, 32).resize((small, small), Image.LANCZOS)
    out = images.canvas(size)
    out.alpha_composite(picture, (0, 0))
    out.alpha_composite(images.halo(picture), (size - small, size - small))
    return out


def editor_picture(number):
    """48 x 48, the description editor's buttons."""
    pictures = {
        191: lambda: tango("text-html", 48),                 # Generate HTML page
        192: lambda: both("text-html", 48),                  # Generate all HTML pages
        194: lambda: tango("format-indent-less", 48),        # Set [group] tag: a chapter heading
        193: lambda: tango("audio-x-generic", 48),           # Set [genre] tag
        196: lambda: tango("contact-new", 48),               # Set [name] tag
        189: lambda: tango("format-justify-center", 48),     # Set [title] tag
        197: lambda: tango("format-indent-more", 48),        # Set [quote] tag
        195: lambda: tango("image-x-generic", 48),           # Set [image] tag
        190: lambda: tango("format-text-bold", 48),          # Set [bold] tag
    }
    return pictures[number]()


def playlist_picture(number):
    """26 x 26, the playlists pane's buttons. The pane centres each in its button:
    the two play buttons are 26 pixels wide and get Tango's 22-pixel drawings,
    the others are 18 pixels and get its 16-pixel ones."""
    pictures = {
        240: lambda: images.player("media-playback-start", 22, images.GREEN),   # Play
        246: lambda: images.shuffle(22),                                         # Shuffle
        243: lambda: tango("document-new", 16),                                  # New
        242: lambda: tango("accessories-text-editor", 16),                       # Rename
        241: lambda: tango("edit-delete", 16),                                   # Delete
        244: lambda: tango("go-up", 16),                                         # Up
        245: lambda: tango("go-down", 16),                                       # Down
    }
    return images.centred(pictures[number](), 26, 26)


def chapter_icon(path):
    """16 x 16 GIF (pages written by the editor show it before each chapter):
    Tango's forward arrow on white, one colour keyed out as transparent."""
    picture = Image.new("RGBA", (16, 16), (255, 255, 255, 255))
    arrow = tango("go-next", 16)
    picture.alpha_composite(arrow)
    paletted = picture.convert("RGB").quantize(colors=63)
    palette = paletted.getpalette()[:63 * 3] + [255, 0, 255]
    paletted.putpalette(palette)
    clear = arrow.getchannel("A").load()
    cells = paletted.load()
    for y in range(16):
        for x in range(16):
            if clear[x, y] < 64:
                cells[x, y] = 63
    paletted.save(path, transparency=63)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for number in range(240, 247):
        images.save(folder, number, playlist_picture(number))
    for number in range(189, 198):
        images.save(folder, number, editor_picture(number))
    chapter_icon(os.path.join(folder, "188.gif"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "app", "res"))
