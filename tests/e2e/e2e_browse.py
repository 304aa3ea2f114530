"""End-to-end scenarios of library browsing: navigation with keys, covers told
by a screenshot pixel, the header and title texts, the statistics in the status
bar, track notes, folder properties, deleting to the recycle bin and the cover
ripple. Each scenario works on its own copy of the demo library."""
import os
import shutil
import struct
import subprocess
import tempfile
import time
import zlib

from e2e_input import box, center, click, keys, type_text

KEY = r"HKCU\Software\Ormelin Tavrin\Melvora Browser\1.0"
WM_APP = 0x8000
TOOLBAR_COMMAND = WM_APP + 3300
# Colours of the logo (image 130) at a corner and in the middle of the 150 x 150 cover.
LOGO_EDGE, LOGO_MIDDLE = (0xE8, 0xF5, 0xE9), (0x2E, 0x7D, 0x32)


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def png(path, colour, size=64):
    row = b"\0" + bytes(colour) * size

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(row * size, 9)) + chunk(b"IEND", b""))


def touch(path, data=b""):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def copy_library(h, name):
    library = os.path.join(h.work, name)
    if os.path.isdir(library):
        shutil.rmtree(library)
    shutil.copytree(h.library, library)
    return library


def start_on(h, library, env=None, **values):
    h.reset(**values)
    h.reg("add", KEY, "/v", "Folder", "/t", "REG_SZ", "/d", win_path(library) + "\\", "/f")
    saved = dict(h.env)
    h.env.update(env or {})
    try:
        proc = h.start()
    finally:
        h.env = saved
    if not h.check(h.wait_window(), "browsing: the main window appears"):
        return None
    shown = h.wait(lambda: (lambda s: s if s.get("visible") == "1" and s.get("folder_count") not in (None, "0", "-1")
                            else None)(h.state()), 30)
    if not h.check(bool(shown), "browsing: the library is listed"):
        return None
    return proc


def pixel(h, state, view, x, y):
    """The screen colour at (x, y) of a child view, as (r, g, b); None when no screenshot."""
    rect = h.rect(state[view])
    origin = [int(v) for v in state["client_origin"].split(",")]
    sx, sy = origin[0] + rect[1] + x, origin[1] + rect[2] + y
    shot = os.path.join(h.work, "browse-shot.png")
    if subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (sx, sy), "+repage", shot],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30).returncode:
        return None
    out = subprocess.run(["convert", shot, "-depth", "8", "rgb:-"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, timeout=30).stdout
    return tuple(out[:3]) if len(out) >= 3 else None


def near(colour, want, tolerance=10):
    return colour is not None and all(abs(a - b) <= tolerance for a, b in zip(colour, want))


def select_folder(h, name_index, what):
    click(center(box(h.driver("rects"), "folder_%d" % name_index)))
    return h.wait(lambda: (lambda s: s if s.get("folder_sel") == str(name_index) else None)(h.state()), 10)


def browse_keys_covers_counts(h):
    library = copy_library(h, "library-browse")
    # Covers: a ".png" beats a ".jpg" of the same name; a folder named in "Images"
    # (other letter case) takes its cover from the root.
    png(os.path.join(library, "Videos.jpg"), (0x2E, 0x7D, 0x32))
    os.makedirs(os.path.join(library, "Aurora Lane", "Scans"))
    # A damaged cover and no ".jpg": the logo shows instead.
    touch(os.path.join(library, "Aurora Lane", "Empty Album.png"), b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4)
    png(os.path.join(library, "Scans.png"), (0xF9, 0xA8, 0x25))
    # Hidden folders are not counted; empty ".ini" files go, others stay.
    touch(os.path.join(library, ".Hidden Set", "Secret.mp3"), b"ID3")
    touch(os.path.join(library, ".Hidden Set", "Hidden.ini"))
    touch(os.path.join(library, "Glass Harbour", "Empty.ini"))
    touch(os.path.join(library, "Videos", "Keep.ini"), b"[x]\r\n")
    proc = start_on(h, library, Images="Covers;SCANS")
    if not proc:
        return h.stop_all()
    root_length = len(win_path(library)) + 1

    totals = "5 songs, 1 video, 2 radios"
    s = h.wait(lambda: (lambda v: v if v.get("status1_length") == str(len(totals)) else None)(h.state()), 20)
    h.check(bool(s), "status part 1 holds the totals (%s)" % (s or h.state()).get("status1_length"))
    h.check(h.wait(lambda: h.state().get("header_text") == "<b>5</b> songs, <b>1</b> video & <b>2</b> radios", 10),
            "the header counts the root (%s)" % h.state().get("header_text"))
    h.check(h.wait(lambda: not os.path.exists(os.path.join(library, "Glass Harbour", "Empty.ini")), 15) and
            not os.path.exists(os.path.join(library, ".Hidden Set", "Hidden.ini")),
            "the worker removes empty .ini files, hidden ones too")
    h.check(os.path.exists(os.path.join(library, "Videos", "Keep.ini")), "a non-empty .ini file stays")

    s = select_folder(h, 0, "Aurora Lane")
    if not h.check(bool(s), "Aurora Lane selected"):
        return h.stop_all()
    h.check(s.get("title_text") == "Aurora Lane||<link>aurora-lane.example/</link>",
            "title with the site as a link, without http:// (%s)" % s.get("title_text"))
    h.check(h.wait(lambda: h.state().get("header_text") == "<b>4</b> songs, <b>0</b> video & <b>0</b> radio", 5),
            "header counts the selected folder (%s)" % h.state().get("header_text"))
    h.check(near(pixel(h, s, "cover", 75, 75), (0xC6, 0x28, 0x28)), "the PNG cover of Aurora Lane shows")
    h.check(h.rect(s["parent_cover"])[0] == 0, "no parent cover at the root")

    # Enter goes into a folder with sub-folders; the folder list keeps the focus.
    keys("Return")
    s = h.wait(lambda: (lambda v: v if v.get("folder_count") == "4" and
                        int(v["status_length"]) == root_length + len("Aurora Lane\\") else None)(h.state()), 10)
    if not h.check(bool(s), "Enter opens Aurora Lane, status part 0 shows it (%s)" % h.state().get("folder_count")):
        return h.stop_all()
    # The rest of a long folder is listed on a timer: the grid shows once the listing is done.
    h.check(h.wait(lambda: (lambda v: v.get("folder_sel") == "-1" and h.rect(v["thumbs"])[0] == 1)(h.state()), 10),
            "nothing selected: the grid shows")
    # Empty Album, First Light, Night Drive, Scans (sorted ignoring case).
    s = select_folder(h, 0, "Empty Album")
    h.check(bool(s) and near(pixel(h, s, "cover", 20, 20), LOGO_EDGE) and near(pixel(h, s, "cover", 75, 75), LOGO_MIDDLE),
            "an unreadable cover falls back to the logo")
    s = select_folder(h, 3, "Scans")
    h.check(bool(s) and near(pixel(h, s, "cover", 75, 75), (0xF9, 0xA8, 0x25)),
            "a folder listed in Images takes the root's cover")
    h.check(bool(s) and h.rect(s["parent_cover"])[0] == 1, "the parent cover shows below the root")
    h.check(bool(s) and s.get("parent_name_text") == "Aurora Lane",
            "the parent name view names the current folder (%s)" % (s or {}).get("parent_name_text"))
    s = select_folder(h, 2, "Night Drive")
    h.check(bool(s) and near(pixel(h, s, "cover", 75, 75), (0xEF, 0x6C, 0x00)), "the JPEG cover of Night Drive shows")
    h.check(bool(s) and s.get("file_count") == "1", "Night Drive lists its one song (%s)" % (s or {}).get("file_count"))
    s = select_folder(h, 1, "First Light")
    h.check(bool(s) and h.rect(s["web"])[0] == 1 and h.rect(s["files"])[0] == 0,
            "a folder with a description page shows the page instead of the files")
    # Enter on a folder without sub-folders does not enter it.
    keys("Return")
    time.sleep(1)
    h.check(h.state().get("folder_count") == "4", "a leaf folder is never entered")

    # Backspace: back to the root with the folder just left selected.
    keys("BackSpace")
    s = h.wait(lambda: (lambda v: v if v.get("folder_count") == "4" and v.get("folder_sel") == "0" and
                        int(v["status_length"]) == root_length else None)(h.state()), 10)
    h.check(bool(s), "Backspace goes up and selects Aurora Lane")
    keys("BackSpace")
    time.sleep(0.5)
    h.check(int(h.state()["status_length"]) == root_length, "going up from the root stays at the root")
    s = select_folder(h, 3, "Videos")
    h.check(bool(s) and near(pixel(h, s, "cover", 75, 75), (0x6A, 0x1B, 0x9A)), "a .png cover wins over a .jpg")
    h.check(h.wait(lambda: h.state().get("header_text") == "<b>0</b> song, <b>1</b> video & <b>0</b> radio", 5),
            "singular words for 0 and 1 (%s)" % h.state().get("header_text"))

    # A folder that vanished: entering it lists the root again, without it.
    select_folder(h, 0, "Aurora Lane")
    shutil.rmtree(os.path.join(library, "Aurora Lane"))
    keys("Return")
    s = h.wait(lambda: (lambda v: v if v.get("folder_count") == "3" else None)(h.state()), 10)
    h.check(bool(s) and int(s["status_length"]) == root_length, "a vanished folder re-lists the root")
    h.check(h.close(proc), "ends after browsing")


def notes_properties_delete(h):
    library = copy_library(h, "library-notes")
    trash = tempfile.mkdtemp(prefix="melvora-trash-", dir=h.work)
    # The Delete questions are answered No, then Cancel, then Yes.
    proc = start_on(h, library, env={"XDG_DATA_HOME": trash, "MELVORA_CONFIRM_ANSWER": "no,cancel,yes"})
    if not proc:
        return h.stop_all()
    night = os.path.join(library, "Aurora Lane", "Night Drive")
    note = os.path.join(night, "01 Headlights.txt")
    select_folder(h, 0, "Aurora Lane")
    keys("Return")
    h.wait(lambda: h.state().get("folder_count") == "3", 10)
    s = select_folder(h, 2, "Night Drive")
    if not h.check(bool(s) and s.get("file_count") == "1", "Night Drive listed for the notes"):
        return h.stop_all()
    click(center(box(h.driver("rects"), "file_0")))
    h.wait(lambda: h.state().get("file_sel_count") == "1", 5)
    h.check(not os.path.exists(note), "selecting a track writes no note")
    # A click gives the note view the focus, so Backspace edits instead of going up.
    note_view = box(h.driver("rects"), "note")
    click((note_view[0] + 5, note_view[1] + 5))
    type_text("Hi")
    h.check(h.wait(lambda: os.path.exists(note) and open(note, "rb").read().startswith(b"Hi"), 10),
            "typing creates the note file")
    # Going away and back loads the note without writing or deleting it.
    select_folder(h, 1, "First Light")
    select_folder(h, 2, "Night Drive")
    click(center(box(h.driver("rects"), "file_0")))
    time.sleep(0.5)
    h.check(os.path.exists(note), "loading a note keeps its file")
    click((note_view[0] + 40, note_view[1] + 5))
    keys("End", "BackSpace", "BackSpace", "BackSpace", "BackSpace")
    h.check(h.wait(lambda: not os.path.exists(note), 10), "emptying the note deletes its file")
    h.check(h.state().get("folder_count") == "3", "Backspace in the note view does not go up")

    # Properties writes "site" into the folder's ".ini" beside it.
    h.driver("post", TOOLBAR_COMMAND, 0, 29)
    if h.check(h.wait_dialog("Properties"), "Properties opens"):
        h.driver("dlg-text", "Properties", 2, "http://www.night.example/<b>")
        h.driver("dlg-click", "Properties", 3)
        ini = os.path.join(library, "Aurora Lane", "Night Drive.ini")
        h.check(h.wait(lambda: os.path.exists(ini) and b"site=http://www.night.example/<b>" in open(ini, "rb").read(),
                       10), "OK writes site")
        h.check(h.wait(lambda: h.state().get("title_text") == "Night Drive||<link>night.example/%3Cb%3E</link>", 10),
                "the title shows the new site as a link (%s)" % h.state().get("title_text"))

    # Delete moves the selected file to the recycle bin (the host's trash).
    click(center(box(h.driver("rects"), "file_0")))
    h.wait(lambda: h.state().get("file_sel_count") == "1", 5)
    song = os.path.join(night, "01 Headlights.mp3")
    for answer in ("No", "Cancel"):
        h.driver("post", TOOLBAR_COMMAND, 0, 34)
        time.sleep(0.5)
        h.check(os.path.exists(song) and h.state().get("file_count") == "1", "%s keeps the file" % answer)
    h.driver("post", TOOLBAR_COMMAND, 0, 34)
    h.check(h.wait(lambda: not os.path.exists(song), 10), "Delete removes the file from the library")
    h.check(h.wait(lambda: os.path.exists(os.path.join(trash, "Trash", "files", "01 Headlights.mp3")), 10),
            "the file lies in the trash")
    h.check(h.wait(lambda: h.state().get("file_count") == "0", 10), "the file list is refreshed")
    h.check(h.close(proc), "ends after notes, properties and delete")


def cover_ripple(h):
    library = copy_library(h, "library-ripple")
    proc = start_on(h, library)
    if not proc:
        return h.stop_all()
    s = select_folder(h, 3, "Videos")
    purple = (0x6A, 0x1B, 0x9A)
    if not h.check(bool(s) and near(pixel(h, s, "cover", 75, 75), purple), "the cover shows before the ripple"):
        return h.stop_all()
    cover = box(h.driver("rects"), "cover")
    click((cover[0] + 75, cover[1] + 75))
    moved = False
    for _ in range(10):
        colour = pixel(h, s, "cover", 75, 80)
        if colour is not None and not near(colour, purple, 6):
            moved = True
            break
    h.check(moved, "a click starts the ripple")
    h.check(h.wait(lambda: near(pixel(h, s, "cover", 75, 80), purple, 6), 20), "the ripple settles")
    # A right click refreshes the folder and brings the grid to the front.
    click((cover[0] + 10, cover[1] + 10), button=3)
    s = h.wait(lambda: (lambda v: v if v.get("folder_sel") == "-1" and h.rect(v["thumbs"])[0] == 1 else None)(
        h.state()), 10)
    h.check(bool(s), "a right click on the cover refreshes the folder with the grid shown")
    h.check(h.close(proc), "ends after the ripple")


SCENARIOS = [browse_keys_covers_counts, notes_properties_delete, cover_ripple]
