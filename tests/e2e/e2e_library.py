"""End-to-end scenarios of the library feature: playlists, the book (its page,
pictures, links and the mailed archive), the description pages, cover search,
Make Cover and the lyrics search. Message boxes are answered through
MELVORA_LIBRARY_ANSWER, the picture of Make Cover comes from MELVORA_LIBRARY_PICK,
mail goes to the stand-in MAPI32 and the web to this harness's loopback server
(WinINet's proxy); the browser is a stand-in script that logs its address."""
import http.server
import os
import shutil
import struct
import time
import zipfile
import zlib

from e2e_input import box, center, click

WM_APP = 0x8000
MENU_COMMAND = WM_APP + 3170
TOOLBAR_COMMAND = WM_APP + 3300
HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED = os.path.join(HERE, "expected")
RES = os.path.join(HERE, "..", "..", "app", "res")
MAIN = "Melvora Browser 1.0.3.0"
BOOK = "Book - Melvora Browser"
DESCRIPTION = "Description - Melvora Browser"


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def unix_path(path):
    return path[2:].replace("\\", "/") if path[:2].upper() == "Z:" else path


def read(path):
    try:
        with open(path, "rb") as source:
            return source.read()
    except OSError:
        return None


# ------------------------------------------------------------ pictures
def png(width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def png_pixels(data):
    """(width, height, rows of (r, g, b)) of an 8-bit RGB or RGBA PNG, any filter."""
    width, height, depth, kind = struct.unpack(">IIBB", data[16:26])
    position, idat = 8, b""
    while position < len(data):
        length, name = struct.unpack(">I4s", data[position:position + 8])
        if name == b"IDAT":
            idat += data[position + 8:position + 8 + length]
        position += 12 + length
    channels = {2: 3, 6: 4}[kind]
    raw, stride, rows, previous = zlib.decompress(idat), width * channels, [], bytearray(width * channels)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind_of_filter, row = line[0], bytearray(line[1:])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind_of_filter == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind_of_filter == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind_of_filter == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind_of_filter == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append([tuple(row[x * channels:x * channels + 3]) for x in range(width)])
        previous = row
    return width, height, rows


def png_file(folder, name):
    """The pixels of the PNG named so (any letter case) in folder, once it is whole; None before."""
    for found in os.listdir(folder):
        if found.lower() == name.lower():
            try:
                return png_pixels(read(os.path.join(folder, found)))
            except (struct.error, zlib.error, KeyError, IndexError, TypeError):
                return None
    return None


def jpeg_size(data):
    position = 2
    while data and position + 9 < len(data):
        marker, length = data[position + 1], struct.unpack(">H", data[position + 2:position + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            height, width = struct.unpack(">HH", data[position + 5:position + 9])
            return width, height
        position += 2 + length
    return None


def near(colour, wanted, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, wanted))


# ------------------------------------------------------------ helpers
def toolbar_click(h, id):
    """A real click on the main window's toolbar button id."""
    click(center(box(h.driver("rects"), "tb_%d" % id)))


def start(h, **env):
    saved = dict(h.env)
    h.env.update(env)
    try:
        proc = h.start()
    finally:
        h.env.clear()
        h.env.update(saved)
    if not h.check(h.wait_window(), "library: the main window appears"):
        return None
    # Commands sent before the start-up has finished would be answered inside it.
    ready = h.wait(lambda: (lambda v: v.get("visible") == "1" and v.get("folder_count") not in (None, "0", "-1"))(
        h.state()), 30)
    return proc if h.check(ready, "library: the main window is ready") else None


def now_playing(h):
    """The text of the now-playing pane's title label (id 1004), from the driver's "play" output."""
    values = h.driver("play")
    n = 0
    while "pane_%d" % n in values:
        parts = values["pane_%d" % n].split(",", 8)
        if parts[1] == "1004":
            return parts[8] if len(parts) > 8 else ""
        n += 1
    return None


def playlist_file(h, name):
    return read(os.path.join(h.library, "Playlists", name + ".lst"))


def lines(*entries):
    return "".join(entry + "\r\n" for entry in entries).encode("cp1252")


# ------------------------------------------------------------ scenarios
def library_playlists(h):
    h.reset()
    proc = start(h, MELVORA_LIBRARY_ANSWER="yes")
    if not proc:
        return
    s = h.wait(lambda: (lambda v: v if v.get("names") else None)(h.driver("playlist")))
    h.check(s and s.get("names") == "Evening|Favourites", "playlists: the drop-down lists the files (%r)" % s)
    h.check(s and s.get("selected") == "0" and s.get("track_count") == "1" and s.get("count") == "1 file",
            "playlists: the first playlist is loaded (%r)" % s)

    h.driver("playlist-select", "Favourites")
    s = h.driver("playlist")
    dawn, tide, lights = ("Aurora Lane\\First Light\\01 Dawn.wav", "Glass Harbour\\01 Tide.mp3",
                          "Aurora Lane\\Night Drive\\01 Headlights.mp3")
    h.check(s.get("track_count") == "3" and s.get("count") == "3 files", "playlists: blank lines are skipped (%r)" % s)

    # Move the last track up, then the first one down: every step rewrites the file.
    h.driver("playlist-track", 2)
    h.driver("playlist-click", 1007)
    h.check(h.wait(lambda: playlist_file(h, "Favourites") == lines(dawn, lights, tide)),
            "playlists: move up saves (%r)" % playlist_file(h, "Favourites"))
    h.check(h.driver("playlist").get("track_sel") == "1", "playlists: the selection follows the moved track")
    h.driver("playlist-track", 0)
    h.driver("playlist-click", 1008)
    h.check(h.wait(lambda: playlist_file(h, "Favourites") == lines(lights, dawn, tide)),
            "playlists: move down saves (%r)" % playlist_file(h, "Favourites"))

    # Remove the middle track with the Delete key.
    h.driver("playlist-track", 1)
    h.driver("playlist-key", 0x2E)
    h.check(h.wait(lambda: playlist_file(h, "Favourites") == lines(lights, tide)),
            "playlists: Delete removes and saves (%r)" % playlist_file(h, "Favourites"))
    s = h.driver("playlist")
    h.check(s.get("track_sel") == "1" and s.get("count") == "2 files", "playlists: after removing (%r)" % s)

    # Add a folder from the folder list ("Add to").
    h.driver("select-folder", 1)
    h.driver("post", MENU_COMMAND, 0, 24)
    h.check(h.wait(lambda: playlist_file(h, "Favourites") == lines(lights, tide, tide)),
            "playlists: adding the folder Glass Harbour (%r)" % playlist_file(h, "Favourites"))

    # New, rename (a refused name first), delete.
    h.driver("playlist-click", 1004)
    h.check(h.wait(lambda: playlist_file(h, "Playlist") == b""), "playlists: new creates Playlist.lst")
    s = h.driver("playlist")
    h.check(s.get("names") == "Evening|Favourites|Playlist" and s.get("selected") == "2",
            "playlists: the new playlist is selected (%r)" % s)
    for name, done in (("..\\Escape", False), ("Road Trip", True)):
        # A click that lands while the pane is still taking in the new playlist is lost:
        # click again, as a user would.
        opened = False
        for _ in range(3):
            h.driver("playlist-click", 1006)
            opened = h.wait(lambda: h.driver("wait-top", "Playlist", 500).get("visible") == "1", 6)
            if opened:
                break
        h.check(opened, "playlists: the rename dialog opens")
        h.driver("dlg-text", "Playlist", 2, name)
        h.driver("dlg-click", "Playlist", 3)
        h.wait(lambda: h.driver("wait-top", "Playlist", 200).get("rc") != 0, 10)
        time.sleep(0.3)
        if done:
            h.check(h.wait(lambda: playlist_file(h, "Road Trip") == b"" and playlist_file(h, "Playlist") is None),
                    "playlists: renamed to Road Trip")
            s = h.driver("playlist")
            h.check(s.get("names") == "Evening|Favourites|Road Trip" and s.get("selected") == "2",
                    "playlists: the renamed playlist is selected (%r)" % s)
        else:
            h.check(playlist_file(h, "Playlist") == b"" and not os.path.exists(os.path.join(h.library, "Escape.lst")),
                    "playlists: a name leaving the folder is refused")
    h.driver("playlist-click", 1005)
    h.check(h.wait(lambda: playlist_file(h, "Road Trip") is None), "playlists: delete removes the file")
    s = h.driver("playlist")
    h.check(s.get("names") == "Evening|Favourites" and s.get("selected") == "0", "playlists: after delete (%r)" % s)
    h.driver("playlist-select", "Favourites")
    h.close(proc)
    h.check(h.reg_value("Playlist") == "Favourites", "playlists: the selected one is remembered")


def library_book(h):
    h.reset()
    mail_log = os.path.join(h.work, "mail.log")
    keep = os.path.join(h.work, "mail-files")
    shutil.rmtree(keep, ignore_errors=True)
    os.makedirs(keep)
    shutil.copy(os.path.join(os.path.dirname(h.driver_exe), "MAPI32.dll"), h.bin)
    book_folder = os.path.join(h.library, "Book")
    os.makedirs(book_folder, exist_ok=True)
    with open(os.path.join(book_folder, "book99.png"), "wb") as stale:
        stale.write(b"stale")
    proc = start(h, WINEDLLOVERRIDES="mshtml=;mapi32=n,b", MELVORA_FAKEMAPI_LOG=win_path(mail_log),
                 MELVORA_FAKEMAPI_KEEP=win_path(keep))
    if not proc:
        return
    toolbar_click(h, 16)
    h.check(h.driver("wait-top", BOOK, 20000).get("rc") == 0, "book: the book window opens")
    style = read(os.path.join(RES, "166.css"))
    expected = read(os.path.join(EXPECTED, "book.htm")).replace(b"@STYLE@\r\n", style)
    page = read(os.path.join(h.library, "Book.htm"))
    h.check(page == expected, "book: the page of the demo library\n%s" % (page or b"").decode("cp1252"))
    h.check(not os.path.exists(os.path.join(book_folder, "book99.png")), "book: stale pictures are removed")
    for n in range(7):
        size = jpeg_size(read(os.path.join(book_folder, "book%d.jpg" % n)) or b"")
        h.check(size == (32, 32), "book: cover %d is 32 x 32 (%r)" % (n, size))
        strip = read(os.path.join(book_folder, "book%d.png" % n))
        width, height = struct.unpack(">II", strip[16:24]) if strip else (0, 0)
        h.check(0 < width <= 32 and height > 16 + width // 2, "book: name strip %d is upright (%dx%d)" % (n, width, height))
    h.check(not os.path.exists(os.path.join(book_folder, "book7.png")), "book: one strip per folder")
    # The red cover of Aurora Lane shrinks into book0.jpg.
    h.check(len(os.listdir(book_folder)) == 14, "book: 14 pictures (%r)" % sorted(os.listdir(book_folder)))

    # Links through the browser's before-navigate event.
    link = win_path(os.path.join(h.library, "Aurora Lane", "Night Drive.link"))
    h.driver("navigate", BOOK, link)
    # The status bar shows the current folder; its text length tells which one.
    root_length = len(win_path(h.library)) + 1
    h.wait(lambda: h.state().get("folder_sel") == "2")
    s = h.state()
    h.check(s.get("folder_sel") == "2" and s.get("status_length") == str(root_length + len("Aurora Lane\\")),
            "book: a .link goes to the folder and selects the item (%r)" % s)
    url = "file:///" + win_path(os.path.join(h.library, "Glass%20Harbour.link")).replace("\\", "/")
    h.driver("navigate", BOOK, url)
    h.wait(lambda: h.state().get("folder_sel") == "1")
    s = h.state()
    h.check(s.get("folder_sel") == "1" and s.get("status_length") == str(root_length),
            "book: a file: URL is decoded into a path (%r)" % s)

    # Media and album links play instead of browsing.
    h.driver("navigate", BOOK, win_path(os.path.join(h.library, "Aurora Lane", "Night Drive", "01 Headlights.mp3")))
    h.check(h.wait(lambda: now_playing(h) == "01 Headlights"), "book: a song link plays it (%r)" % now_playing(h))
    h.driver("navigate", BOOK, "file:///" + win_path(os.path.join(h.library, "Glass%20Harbour.album")).replace("\\", "/"))
    h.check(h.wait(lambda: now_playing(h) == "01 Tide"), "book: an album link plays the album (%r)" % now_playing(h))
    h.driver("key", 0x1B)

    # Send Book: the archive reaches the stand-in mail library and is deleted afterwards.
    toolbar_click(h, 17)
    log = h.wait(lambda: read(mail_log))
    text = (log or b"").decode("cp1252")
    h.check("subject=Melvora Browser BOOK" in text and "files=1" in text, "book: mailed (%r)" % text)
    attached = [line.split("|", 1)[1] for line in text.splitlines() if line.startswith("file=")]
    archives = [name for name in os.listdir(keep) if name.endswith(".zip")]
    h.check(len(attached) == 1 and len(archives) == 1 and archives[0].startswith("book "),
            "book: one archive attached (%r, %r)" % (attached, archives))
    if attached:
        h.check(h.wait(lambda: not os.path.exists(unix_path(attached[0])), 5), "book: the archive is deleted")
    if archives:
        with zipfile.ZipFile(os.path.join(keep, archives[0])) as archive:
            h.check(archive.testzip() is None, "book: the archive reads back")
            names = sorted(entry.filename for entry in archive.infolist())
            wanted = sorted(["Book.htm"] + ["Book/book%d.%s" % (n, e) for n in range(7) for e in ("jpg", "png")])
            h.check(names == wanted, "book: archive entries (%r)" % names)
            h.check(archive.read("Book.htm") == page, "book: the archived page is the page")
    h.close(proc)


def library_descriptions(h):
    h.reset()
    shutil.copy(os.path.join(EXPECTED, "Aurora Lane.txt"), os.path.join(h.library, "Aurora Lane.txt"))
    os.makedirs(os.path.join(h.library, "Genres", "Synth"), exist_ok=True)
    with open(os.path.join(h.library, "Genres.htm"), "wb") as stale:
        stale.write(b"<html>stale</html>")
    proc = start(h)
    if not proc:
        return
    toolbar_click(h, 18)
    h.check(h.driver("wait-top", DESCRIPTION, 15000).get("rc") == 0, "descriptions: the window opens")
    page_path = os.path.join(h.library, "Aurora Lane.htm")
    h.driver("post-top", DESCRIPTION, TOOLBAR_COMMAND, 0, 2)
    page = h.wait(lambda: read(page_path) if not os.path.exists(os.path.join(h.library, "Genres.htm")) else None)
    expected = read(os.path.join(EXPECTED, "Aurora Lane.htm"))
    expected = expected.replace(b"@STYLE@\r\n", read(os.path.join(RES, "187.css")))
    expected = expected.replace(b"@ROOT@", (win_path(h.library) + "\\").encode("cp1252"))
    h.check(page == expected, "descriptions: the generated page\n%s" % (page or b"").decode("cp1252"))
    h.check(not os.path.exists(os.path.join(h.library, "Genres.htm")), "descriptions: a page without text is deleted")
    h.check(read(os.path.join(h.library, "Images", "icon.gif")) == read(os.path.join(RES, "188.gif")),
            "descriptions: the chapter icon is written")
    h.check(read(os.path.join(h.library, "Aurora Lane.txt")) == read(os.path.join(EXPECTED, "Aurora Lane.txt")),
            "descriptions: the text is kept as it was")
    # Tags go in at the caret; the text is saved when another folder is selected.
    h.driver("tree-select", DESCRIPTION, 1)
    h.driver("post-top", DESCRIPTION, TOOLBAR_COMMAND, 0, 3)
    h.driver("post-top", DESCRIPTION, TOOLBAR_COMMAND, 0, 5)
    h.driver("post-top", DESCRIPTION, TOOLBAR_COMMAND, 0, 4)
    time.sleep(0.5)
    h.driver("tree-select", DESCRIPTION, 0)
    genres = h.wait(lambda: read(os.path.join(h.library, "Genres.txt")))
    h.check(genres == b"{#name #genre ##}\r\n", "descriptions: heading and tags typed into a new text (%r)" % genres)
    # A ".link" of a description page, through the main web view's before-navigate event.
    h.driver("navigate", MAIN, win_path(os.path.join(h.library, "Aurora Lane", "First Light.link")))
    h.wait(lambda: h.state().get("folder_sel") == "1")
    s = h.state()
    h.check(s.get("folder_sel") == "1" and s.get("status_length") == str(len(win_path(h.library)) + 13),
            "descriptions: a .link in the web view goes to the folder (%r)" % s)
    h.close(proc)


def serve(h, routes):
    """Answers every request (direct or through the proxy) from routes by full URL or path; 404 else."""
    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            # Through the proxy the path is the whole address, with the port spelled out.
            path = self.path.replace(".test:80/", ".test/")
            requests.append(path)
            body = routes.get(path)
            if body is None and "check.php" in self.path:
                body = b"OK\r\n1.0.3.0\r\n0\r\nhttp://127.0.0.1/none.bin\r\n"
            self.send_response(200 if body is not None else 404)
            self.send_header("Content-Length", str(len(body or b"")))
            self.end_headers()
            self.wfile.write(body or b"")

        def log_message(self, *args):
            pass
    requests = []
    previous = h.server.RequestHandlerClass
    h.server.RequestHandlerClass = Handler
    return requests, previous


def library_covers(h):
    h.reset(ImageSearchServer="http://images.melvora.test", WebSearchServer="http://www.melvora.test")
    colours = [(200, 40, 40), (40, 160, 40), (40, 60, 200), (230, 200, 30), (150, 40, 160), (20, 160, 160),
               (240, 120, 20), (90, 90, 90), (250, 250, 250), (120, 60, 20)]
    sizes = [(500, 375), (120, 90), (640, 480), (300, 300), (150, 150), (800, 600), (200, 100), (400, 400),
             (1024, 768), (90, 160)]
    routes, pages = {}, ["<html><body>", "<html><body>"]
    for k, (colour, (width, height)) in enumerate(zip(colours, sizes)):
        pages[k // 8] += ("<a href=/imgres?imgurl=http://full.melvora.test/%d.png&imgrefurl=x&w=%d&h=%d&sz=9>"
                          "<img src=http://tbn0.melvora.test/images?q=tbn:%d width=75></a>" % (k, width, height, k))
        if k != 1:  # one thumbnail cannot be fetched: its result is left out
            routes["http://tbn0.melvora.test/images?q=tbn:%d" % k] = png(40, 30, lambda x, y, c=colour: c)
        routes["http://full.melvora.test/%d.png" % k] = png(200, 160, lambda x, y, c=colour: c)
    search = "http://images.melvora.test/images?hl=en&safe=off&q=Aurora%20Lane%20First%20Light&start="
    routes[search + "0"] = pages[0].encode("cp1252")
    # "More" continues after the eight results of the first page.
    routes[search + "8"] = pages[1].encode("cp1252")
    picture = os.path.join(h.work, "pick.png")
    with open(picture, "wb") as out:
        out.write(png(300, 200, lambda x, y: (200, 30, 30) if x < 50 or x >= 250 else (30, 180, 60)))
    browser_log = os.path.join(h.work, "browser.log")
    browser = os.path.join(h.work, "browser.sh")
    with open(browser, "w") as out:
        out.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >> '%s'\n" % browser_log)
    os.chmod(browser, 0o755)
    if os.path.exists(browser_log):
        os.remove(browser_log)
    browsers = r"HKCU\Software\Wine\WineBrowser"
    h.run(h.wine, "reg", "add", browsers, "/v", "Browsers", "/t", "REG_SZ", "/d", browser, "/f")
    requests, previous = serve(h, routes)
    try:
        proc = start(h, MELVORA_LIBRARY_ANSWER="yes", MELVORA_LIBRARY_PICK=win_path(picture),
                     http_proxy="http://127.0.0.1:%d" % h.port)
        if not proc:
            return
        h.driver("navigate", MAIN, win_path(os.path.join(h.library, "Aurora Lane", "First Light.link")))
        h.wait(lambda: h.state().get("folder_sel") == "1")
        # Download Cover: Artist Album, thumbnails in distinct colours; the second of the next page is chosen.
        h.driver("post", MENU_COMMAND, 0, 27)
        shown = h.wait(lambda: h.driver("wait-top", "Web...", 500).get("visible") == "1", 20)
        h.check(shown and search + "0" in requests, "covers: the search window opens (%r)" % requests)
        texts = h.driver("texts-top", "Web...")
        captions = [texts.get("child_%d" % (2 * k + 1), "") for k in range(6)]
        h.check(captions == ["0,1,1,500 x 375", "0,1,1,640 x 480", "0,1,1,300 x 300", "0,1,1,150 x 150",
                             "0,1,1,800 x 600", "0,1,1,200 x 100"],
                "covers: six tiles with sizes, the failed thumbnail left out (%r)" % captions)
        h.check(texts.get("child_12", "").startswith("0,1,1,"), "covers: seven results enable the scroll bar")
        h.driver("click-text", "Web...", "More")
        h.check(h.wait(lambda: search + "8" in requests), "covers: More asks for the next page (%r)" % requests)
        texts = h.wait(lambda: (lambda t: t if t.get("child_1") == "0,1,1,1024 x 768" else None)(
            h.driver("texts-top", "Web...")))
        visible = [(texts or {}).get("child_%d" % n, "").split(",")[1:2] for n in range(12)]
        h.check(visible == [["1"]] * 4 + [["0"]] * 8, "covers: two results, the other tiles hidden (%r)" % visible)
        h.check((texts or {}).get("child_12", "").startswith("0,1,0,"), "covers: the scroll bar is disabled")
        h.driver("click-top", "Web...", 1002)
        h.check(h.wait(lambda: h.driver("wait-top", "Web...", 200).get("rc") != 0, 15), "covers: the window closes")
        folder = os.path.join(h.library, "Aurora Lane")
        picture = h.wait(lambda: (lambda p: p if p and near(p[2][75][75], colours[9]) else None)(
            png_file(folder, "first light.png")))
        if h.check(picture is not None, "covers: the cover file is written"):
            width, height, rows = picture
            h.check((width, height) == (150, 150) and near(rows[2][2], colours[9]),
                    "covers: the clicked thumbnail became the cover (%dx%d %r)" % (width, height, rows[75][75]))
        h.check("http://full.melvora.test/9.png" in requests, "covers: the full picture is fetched")

        # Find Lyrics: the stand-in browser sees the search address.
        # The file list shows First Light, selected again after the cover changed.
        # "01 Dawn.wav" is no song of the file list: "02 Morning" comes first.
        h.driver("select-file", 0)
        h.driver("post", MENU_COMMAND, 0, 32)
        logged = h.wait(lambda: read(browser_log), 20)
        h.check(logged and b"http://www.melvora.test/search?q=%22Morning%22%20lyrics&hl=en&safe=off" in logged,
                "lyrics: the browser gets the search address (%r)" % logged)
        # Make Cover: the middle square of the picked picture, 150 x 150.
        h.driver("select-folder", 2)
        h.driver("post", MENU_COMMAND, 0, 26)
        picture = h.wait(lambda: png_file(folder, "night drive.png"))
        if h.check(picture is not None, "covers: Make Cover writes the cover"):
            width, height, rows = picture
            h.check((width, height) == (150, 150) and near(rows[1][1], (30, 180, 60)) and
                    near(rows[148][148], (30, 180, 60)), "covers: the middle square (%r)" % (rows[1][1],))
        h.close(proc)
    finally:
        h.server.RequestHandlerClass = previous
        h.run(h.wine, "reg", "delete", browsers, "/v", "Browsers", "/f")


SCENARIOS = [library_playlists, library_book, library_descriptions, library_covers]
