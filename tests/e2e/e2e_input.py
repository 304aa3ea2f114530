"""End-to-end scenarios driven the way a user drives the program: real mouse clicks,
double clicks, drags and keys (xdotool) on the screen places that app_driver reports
for the toolbar buttons, the list items, the seek bar, the volume slider, the title
view's link, the thumbnail grid, the playlists pane, the docked bar, the tray icon and
the menus. Under Xvfb there is no window manager: Wine's windows lie at their Win32
screen coordinates, so the driver's rectangles are where the pointer goes. Each effect
is checked where the program shows it: the windows' state, the player's own trace of
the volume it was given (Wine's wmp debug channel), the web view, the play queue, the
files and the registry.

What no input reaches under Wine stays a message, in these scenarios and the others:
- a hidden main window takes no keys and no clicks: F8 and the toolbar command that
  show it again are posted (app_e2e), and so is the remote command where the tray is
  missing; the remote command is another program's message by design;
- links inside web pages (the book, the description pages): Wine has no HTML engine,
  nothing is drawn to click, so the driver asks the web view to navigate (e2e_library);
- the note view and the header view show no links (the note view is plain text and the
  header only counts), so the title view's link is the one a user can click;
- Pause is not clicked: Wine's player has no pause, so nothing would show it;
- message boxes and the file dialog are answered through the program's test seams,
  and "Make a Donation" is never clicked: it would start a browser."""
import os
import re
import shutil
import subprocess
import time

BROWSERS = r"HKCU\Software\Wine\WineBrowser"
WM_APP = 0x8000
REMOTE = WM_APP + 500
MIX = "Input Mix"
LONG = "Long Play"
DOCUMENTATION = "Documentation - Melvora Browser"


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# ---------------------------------------------------------------- real input
def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=30)


def click(point, button=1, count=1, modifier=None):
    """Moves the pointer there, then clicks (count 2: a double click)."""
    args = ["mousemove", point[0], point[1], "sleep", 0.15]
    if modifier:
        args += ["keydown", modifier, "sleep", 0.1]
    args += ["click", "--repeat", count, "--delay", 90, button]
    if modifier:
        args += ["sleep", 0.1, "keyup", modifier]
    xdo(*args)


def drag(points):
    """Presses the left button at the first point, moves through the others and releases."""
    args = ["mousemove", points[0][0], points[0][1], "sleep", 0.15, "mousedown", 1, "sleep", 0.2]
    for x, y in points[1:]:
        args += ["mousemove", x, y, "sleep", 0.15]
    xdo(*(args + ["mouseup", 1, "sleep", 0.1]))


def move(point):
    xdo("mousemove", point[0], point[1], "sleep", 0.2)


def keys(*names):
    """Types keys into the focused window, spaced so that none is lost."""
    xdo("key", "--delay", 120, *names)
    time.sleep(0.2)


def type_text(text):
    xdo("type", "--delay", 90, text)
    time.sleep(0.2)


# ---------------------------------------------------------------- the screen
def box(values, name):
    """The screen rectangle (left, top, right, bottom) of a driver value; None when absent."""
    if name not in values:
        return None
    return [int(v) for v in values[name].split(",")][-4:]


def shown(values, name):
    return values.get(name, "").startswith("1,")


def center(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def grab(rect):
    """The screen's pixels inside rect as rows of (r, g, b)."""
    width, height = rect[2] - rect[0], rect[3] - rect[1]
    data = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, rect[0], rect[1]),
                           "+repage", "-depth", "8", "rgb:-"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          timeout=30).stdout
    if len(data) < width * height * 3:
        return []
    return [[tuple(data[3 * (y * width + x):3 * (y * width + x) + 3]) for x in range(width)] for y in range(height)]


def highlight(values):
    """The system highlight colour as (r, g, b): links and the hot menu item are drawn in it."""
    colour = int(values.get("highlight", "0"), 16)
    return colour & 0xFF, (colour >> 8) & 0xFF, colour >> 16


def close_to(colour, wanted, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, wanted))


def link_point(values, view="title"):
    """The middle of the link text in a markup view, found by its colour on the screen."""
    rect = box(values, view)
    if not rect:
        return None
    wanted = highlight(values)
    points = [(x, y) for y, row in enumerate(grab(rect)) for x, colour in enumerate(row)
              if close_to(colour, wanted, 60)]
    if len(points) < 10:
        return None
    xs, ys = sorted(p[0] for p in points), sorted(p[1] for p in points)
    return rect[0] + xs[len(xs) // 2], rect[1] + ys[len(ys) // 2]


def menu_items(h, layout):
    """The screen points of the items of the open popup menu; layout lists its entries
    from the top, "i" an item and "s" a separator. The item under the pointer is drawn
    in the highlight colour: pointing at the first and at the last item measures the
    item height and the separator height."""
    values = h.driver("rects")
    rect = box(values, "menu")
    if not rect:
        return []
    wanted = highlight(values)
    x = rect[2] - 6
    column = [rect[2] - 8, rect[1], rect[2] - 7, rect[3]]

    def hot_rows(y):
        move((x, y))
        rows = [i for i, row in enumerate(grab(column)) if row and close_to(row[0], wanted, 20)]
        return (rows[0], rows[-1]) if rows else None
    first, last = hot_rows(rect[1] + 8), hot_rows(rect[3] - 8)
    if not first or not last:
        return []
    height = first[1] - first[0] + 1
    items, separators = layout.count("i"), layout.count("s")
    separator = ((last[0] - first[0]) - (items - 1) * height) / separators if separators else 0
    points, top = [], rect[1] + first[0]
    for entry in layout:
        if entry == "i":
            points.append((x - 30, int(top + height // 2)))
            top += height
        else:
            top += separator
    return points


def tray_icon(h):
    """The program's icon in Wine's own tray window (shown when the display has no system
    tray): the only icon there, in its first square. None when the tray window is absent."""
    tray = box(rects(h), "tray")
    if not tray:
        return None
    side = tray[3] - tray[1]
    return tray[0] + side // 2, tray[1] + side // 2


def control_point(h, caption, id):
    """The middle of the control id in the top-level window of that caption; None when absent."""
    values = h.driver("children-top", caption)
    n = 0
    while "child_%d" % n in values:
        parts = values["child_%d" % n].split(",", 8)
        if parts[1] == str(id) and parts[2] == "1":
            return center([int(p) for p in parts[4:8]])
        n += 1
    return None


# ---------------------------------------------------------------- the program
def start(h, env=None, **values):
    """A fresh start on the demo library, shown with its folders listed; None when it fails."""
    h.reset(**values)
    saved = dict(h.env)
    h.env.update(env or {})
    try:
        proc = h.start()
    finally:
        h.env.clear()
        h.env.update(saved)
    if not h.check(h.wait_window(), "input: the main window appears"):
        return None
    ready = h.wait(lambda: (lambda s: s.get("visible") == "1" and s.get("folder_count") not in (None, "0", "-1"))(
        h.state()), 30)
    return proc if h.check(ready, "input: the main window shows the library") else None


def rects(h):
    return h.driver("rects")


def pane(h):
    """The now-playing pane's labels by id (1004 title), the time labels as "elapsed" and "total"."""
    values = h.driver("play")
    labels, times, n = {}, [], 0
    while "pane_%d" % n in values:
        parts = values["pane_%d" % n].split(",", 8)
        text = parts[8] if len(parts) > 8 else ""
        if parts[1] != "0":
            labels[int(parts[1])] = text
        elif re.match(r"^\d+:\d\d:\d\d$", text):
            times.append(text)
        n += 1
    if len(times) == 2:
        labels["elapsed"], labels["total"] = times
    labels["values"] = values
    return labels


def title(h):
    return pane(h).get(1004)


def seconds(text):
    hours, minutes, secs = (int(v) for v in text.split(":"))
    return hours * 3600 + minutes * 60 + secs


def folder_names(h, folder):
    """The sub-folders of a library folder in the folder list's order."""
    return sorted((n for n in os.listdir(folder) if os.path.isdir(os.path.join(folder, n)) and not n.startswith(".")
                   and n != "Playlists" and n != "Book"), key=str.lower)


def tone(path, seconds_long, frequency):
    subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", path, "synth", str(seconds_long), "sine", str(frequency),
                    "vol", "0.3"], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class StandInBrowser:
    """Wine's browser launcher pointed at a script that only logs: a link that escaped
    the web view would show in the log, and no real browser can start."""

    def __init__(self, h):
        self.h = h
        self.log = os.path.join(h.work, "browser.log")
        self.script = os.path.join(h.work, "browser.sh")
        with open(self.script, "w") as out:
            out.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >> '%s'\n" % self.log)
        os.chmod(self.script, 0o755)
        if os.path.exists(self.log):
            os.remove(self.log)

    def __enter__(self):
        self.h.run(self.h.wine, "reg", "add", BROWSERS, "/v", "Browsers", "/t", "REG_SZ", "/d", self.script, "/f")
        return self

    def __exit__(self, *exc):
        self.h.run(self.h.wine, "reg", "delete", BROWSERS, "/v", "Browsers", "/f")

    def opened(self):
        return open(self.log, "rb").read().decode("cp1252", "replace") if os.path.exists(self.log) else ""


class PlayerTrace:
    """The volumes the media player was given, as Wine's player reports them on its
    debug channel (the program is started with WINEDEBUG=+wmp for it)."""
    ENV = {"WINEDEBUG": "-all,trace+wmp"}
    PATTERN = re.compile(r"WMPSettings_put_volume \([0-9A-Fa-fx]+\)->\((-?\d+)\)")

    def __init__(self, h):
        self.path = os.path.join(h.work, "melvora-stderr.log")
        self.mark()

    def mark(self):
        self.offset = os.path.getsize(self.path) if os.path.exists(self.path) else 0

    def volumes(self):
        """Every volume given since the mark, in order."""
        if not os.path.exists(self.path):
            return []
        with open(self.path, "rb") as log:
            log.seek(self.offset)
            text = log.read().decode("cp1252", "replace")
        return [int(v) for v in self.PATTERN.findall(text)]


# ---------------------------------------------------------------- scenarios
def input_browsing(h):
    """Folder and file lists, the toolbar, the title view's link, the note view, the
    keys, the folder menu, the grid, the tray icon and its menu, all by real input."""
    library = h.library
    mix = os.path.join(library, MIX)
    os.makedirs(mix, exist_ok=True)
    for n, frequency in ((1, 330), (2, 392), (3, 494)):
        tone(os.path.join(mix, "0%d Step.mp3" % n), 1.5, frequency)
    # A site that is a link into the library: following it in the web view goes to that folder.
    night_link = win_path(os.path.join(library, "Aurora Lane", "Night Drive.link"))
    with open(os.path.join(library, MIX + ".ini"), "wb") as ini:
        ini.write(("site=%s\r\n" % night_link).encode("cp1252"))
    root_length = len(win_path(library)) + 1
    names = folder_names(h, library)
    try:
        with StandInBrowser(h) as browser:
            proc = start(h)
            if not proc:
                return
            browse_lists_and_links(h, names, root_length, browser)
            browse_grid_and_tray(h, names, root_length)
            h.check(h.close(proc), "input: ends after browsing")
            h.check(browser.opened() == "", "no browser was started (%r)" % browser.opened())
    finally:
        shutil.rmtree(mix, ignore_errors=True)
        if os.path.exists(os.path.join(library, MIX + ".ini")):
            os.remove(os.path.join(library, MIX + ".ini"))


def browse_lists_and_links(h, names, root_length, browser):
    aurora, harbour, mix = names.index("Aurora Lane"), names.index("Glass Harbour"), names.index(MIX)
    v = rects(h)
    # One click selects a folder: its title and files show.
    click(center(box(v, "folder_%d" % harbour)))
    s = h.wait(lambda: (lambda s: s if s.get("folder_sel") == str(harbour) else None)(h.state()), 10)
    h.check(bool(s) and s.get("title_text") == "Glass Harbour||<link>glass.example/</link>",
            "a click on a folder item selects it (%s)" % (s or {}).get("title_text"))
    # Its site link opens in the web view in place of the files.
    v = rects(h)
    point = link_point(v)
    if h.check(point is not None, "the title view shows the site as a link"):
        click(point)
        s = h.wait(lambda: (lambda s: s if shown(s, "web") and not shown(s, "files") else None)(h.state()), 10)
        h.check(bool(s), "a click on the title's link shows the web view in place of the files (%s, %s)" %
                (h.state().get("web"), h.state().get("files")))
    # A link of the title that names a library folder: the web view's navigation goes there.
    click(center(box(v, "folder_%d" % mix)))
    h.wait(lambda: h.state().get("folder_sel") == str(mix), 10)
    point = link_point(rects(h))
    if h.check(point is not None, "the title view shows the folder's link"):
        click(point)
        s = h.wait(lambda: (lambda s: s if s.get("folder_count") == "3" and s.get("folder_sel") == "2" else None)(
            h.state()), 10)
        h.check(bool(s) and int(s["status_length"]) == root_length + len("Aurora Lane\\"),
                "following the link goes to Night Drive in Aurora Lane (%s)" % (s or h.state()).get("folder_sel"))
    h.check(browser.opened() == "", "no link went to a browser (%r)" % browser.opened())

    # The toolbar's Home lists the root with nothing selected.
    click(center(box(v, "tb_1")))
    s = h.wait(lambda: (lambda s: s if int(s.get("status_length", "0")) == root_length and
                        s.get("folder_sel") == "-1" else None)(h.state()), 10)
    h.check(bool(s), "the toolbar's Home goes to the root (%s)" % h.state().get("status_length"))
    # A double click on a folder with sub-folders enters it.
    v = rects(h)
    click(center(box(v, "folder_%d" % aurora)), count=2)
    s = h.wait(lambda: (lambda s: s if int(s.get("status_length", "0")) == root_length + len("Aurora Lane\\") and
                        s.get("folder_count") == "3" else None)(h.state()), 10)
    h.check(bool(s), "a double click on a folder enters it (%s)" % h.state().get("folder_count"))
    # The toolbar's "Go to parent folder": back at the root with Aurora Lane selected.
    click(center(box(v, "tb_2")))
    s = h.wait(lambda: (lambda s: s if int(s.get("status_length", "0")) == root_length and
                        s.get("folder_sel") == str(aurora) else None)(h.state()), 10)
    h.check(bool(s), "the toolbar's parent button goes up (%s)" % h.state().get("folder_sel"))
    # Enter typed in the folder list enters the selected folder; Backspace typed goes back up.
    keys("Return")
    h.check(h.wait(lambda: h.state().get("folder_count") == "3", 10), "Enter typed enters the folder")
    keys("BackSpace")
    s = h.wait(lambda: (lambda s: s if int(s.get("status_length", "0")) == root_length and
                        s.get("folder_sel") == str(aurora) else None)(h.state()), 10)
    h.check(bool(s), "Backspace typed goes to the parent (%s)" % h.state().get("status_length"))

    # The file list: a click selects one file, a Ctrl click adds one; Tab moves the focus.
    click(center(box(rects(h), "folder_%d" % mix)))
    v = h.wait(lambda: (lambda v: v if "file_2" in v else None)(rects(h)), 10)
    if not h.check(bool(v), "the mix's three songs are listed"):
        return
    click(center(box(v, "file_0")))
    h.check(h.wait(lambda: h.state().get("file_sel_count") == "1", 5), "a click selects one file")
    click(center(box(v, "file_2")), modifier="Control_L")
    h.check(h.wait(lambda: h.state().get("file_sel_count") == "2", 5), "a Ctrl click adds a second file")
    # F5 typed lists a folder that appeared meanwhile.
    extra = os.path.join(h.library, "Zz New Arrivals")
    os.makedirs(extra)
    try:
        keys("F5")
        h.check(h.wait(lambda: h.state().get("folder_count") == str(len(names) + 1), 10),
                "F5 typed refreshes the folder list (%s)" % h.state().get("folder_count"))
    finally:
        os.rmdir(extra)
    keys("F5")
    h.wait(lambda: h.state().get("folder_count") == str(len(names)), 10)
    v = rects(h)
    click(center(box(v, "folder_%d" % mix)))
    v = h.wait(lambda: (lambda v: v if "file_2" in v else None)(rects(h)), 10)
    if not v:
        return
    click(center(box(v, "file_0")))
    h.wait(lambda: h.state().get("file_sel_count") == "1", 5)
    # Text typed into the note view becomes the track's note; Backspace and Space are text there.
    note = os.path.join(h.library, MIX, "01 Step.txt")
    click(center(box(v, "note")))
    type_text("Hi there")
    keys("BackSpace")
    h.check(h.wait(lambda: os.path.exists(note) and open(note, "rb").read() == b"Hi ther", 10),
            "typing into the note view writes the note (%r)" % (open(note, "rb").read() if os.path.exists(note)
                                                               else None))
    h.check(h.state().get("folder_sel") == str(mix), "Backspace in the note view stays in the folder")
    # A double click on a file plays it; Esc typed in the file list stops.
    click(center(box(v, "file_1")), count=2)
    h.check(h.wait(lambda: title(h) == "02 Step", 10), "a double click on a file plays it (%s)" % title(h))
    click(center(box(v, "file_1")))
    keys("Escape")
    h.check(h.wait(lambda: title(h) == "", 10), "Esc typed stops (%s)" % title(h))

    # The folder menu of a right click: its first item adds the folder to the queue, which plays.
    click(center(box(v, "folder_%d" % harbour)), button=3)
    if h.check(h.driver("popup-menu", 5000).get("menu") == "1", "a right click on a folder opens its menu"):
        items = menu_items(h, "iisisiiisi")
        if h.check(len(items) == 7, "the folder menu's items are found (%d)" % len(items)):
            click(items[0])
            h.check(h.wait(lambda: title(h) == "01 Tide", 10), "Add to current playlist queues and plays (%s)" %
                    title(h))
    keys("Escape")
    h.wait(lambda: title(h) == "", 10)


def browse_grid_and_tray(h, names, root_length):
    aurora, harbour = names.index("Aurora Lane"), names.index("Glass Harbour")
    v = rects(h)
    # Home: nothing selected, the grid shows.
    click(center(box(v, "tb_1")))
    v = h.wait(lambda: (lambda v: v if shown(v, "thumbs") else None)(rects(h)), 10)
    if not h.check(bool(v) and h.state().get("folder_sel") == "-1", "the toolbar's Home shows the grid"):
        return
    grid = box(v, "thumbs")

    def cell(index):
        # Cells of 170 x 200 from (32, 8); the cover inside them from (4, 4).
        return grid[0] + 32 + 170 * index + 40, grid[1] + 8 + 40
    band = grid[0] + 12, grid[1] + 200
    # A double click on a folder of folders opens it once: the second press does not
    # open the folder that then lies under the pointer.
    click(cell(aurora), count=2)
    s = h.wait(lambda: (lambda s: s if s.get("folder_count") == "3" else None)(h.state()), 10)
    time.sleep(0.5)
    s = h.state()
    h.check(s.get("folder_count") == "3" and int(s["status_length"]) == root_length + len("Aurora Lane\\"),
            "a double click on a grid folder opens it once (%s, %s)" % (s.get("folder_count"), s.get("status_length")))
    # The band goes back up.
    click(band)
    h.check(h.wait(lambda: int(h.state().get("status_length", "0")) == root_length, 10),
            "a click on the grid's band goes to the parent")
    # A click on a folder of media plays it.
    move(cell(harbour))
    click(cell(harbour))
    h.check(h.wait(lambda: title(h) == "01 Tide", 10), "a click on a grid folder of media plays it (%s)" % title(h))
    # A right click on a cover selects its folder in the list.
    click(cell(aurora), button=3)
    h.check(h.wait(lambda: h.state().get("folder_sel") == str(aurora), 10),
            "a right click on a grid cover selects the folder (%s)" % h.state().get("folder_sel"))
    keys("Escape")

    # The toolbar's Hide Window; the tray icon's double click shows the window again.
    click(center(box(v, "tb_14")))
    h.check(h.wait(lambda: h.state().get("visible") == "0", 10), "the toolbar's Hide Window hides")
    icon = tray_icon(h)
    if not h.check(icon is not None, "Wine's tray window shows the icon"):
        # Without the tray a hidden window is out of reach of any input: the remote command shows it.
        h.driver("post", REMOTE, 500, 1)
        return
    click(icon, count=2)
    h.check(h.wait(lambda: h.state().get("visible") == "1", 10), "a double click on the tray icon shows the window")
    # The tray menu: Previous, Next, Pause, Stop, separator, Hide Window, separator, Quit.
    for want in ("0", "1"):
        click(icon, button=3)
        if not h.check(h.driver("popup-menu", 5000).get("menu") == "1",
                       "a right click on the tray icon opens its menu"):
            return
        items = menu_items(h, "iiiisisi")
        if not h.check(len(items) == 6, "the tray menu's items are found (%d)" % len(items)):
            keys("Escape")
            return
        click(items[4])
        h.check(h.wait(lambda: h.state().get("visible") == want, 10),
                "the tray menu's Hide/Show Window item %s the window" % ("hides" if want == "0" else "shows"))
    # F8 typed into the window hides it.
    click(center(box(rects(h), "tb_1")))
    keys("F8")
    h.check(h.wait(lambda: h.state().get("visible") == "0", 10), "F8 typed hides the window")
    click(icon, count=2)
    h.check(h.wait(lambda: h.state().get("visible") == "1", 10), "and the tray icon shows it again")


def input_playing(h):
    """The toolbar's transport buttons, the seek bar, the volume slider, the docked bar
    and the tray menu's transport items, by real input, on songs of a minute."""
    folder = os.path.join(h.library, LONG)
    os.makedirs(folder, exist_ok=True)
    for name, frequency in (("01 Alpha", 440), ("02 Beta", 523), ("03 Gamma", 659)):
        tone(os.path.join(folder, name + ".mp3"), 60, frequency)
    try:
        trace = PlayerTrace(h)
        proc = start(h, env=PlayerTrace.ENV, Taskbar=1)
        if not proc:
            return
        play_transport_and_seek(h)
        play_volume(h, trace)
        play_bar_and_tray(h)
        final = rects(h).get("volume_pos")
        h.check(h.close(proc), "input: ends after playing")
        h.check(str(h.reg_value("Volume")) == final, "the slider's position is saved (%s, %s)" %
                (h.reg_value("Volume"), final))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def play_transport_and_seek(h):
    names = folder_names(h, h.library)
    v = rects(h)
    click(center(box(v, "folder_%d" % names.index(LONG))))
    h.wait(lambda: h.state().get("file_count") == "3", 10)
    # "Play Tracks at..." plays the folder from its start; Next and Previous move in the queue.
    click(center(box(v, "tb_3")))
    h.check(h.wait(lambda: title(h) == "01 Alpha", 15), "the toolbar's play button plays (%s)" % title(h))
    h.check(h.wait(lambda: h.state().get("button_9", "").startswith("1,"), 10), "Next is enabled while playing")
    click(center(box(v, "tb_9")))
    h.check(h.wait(lambda: title(h) == "02 Beta", 15), "the toolbar's Next plays the next song (%s)" % title(h))
    click(center(box(v, "tb_8")))
    h.check(h.wait(lambda: title(h) == "01 Alpha", 15), "the toolbar's Previous goes back (%s)" % title(h))

    v = h.wait(lambda: (lambda v: v if 55 <= int(v.get("seek_max", "0")) <= 60 else None)(rects(h)), 10)
    if not h.check(bool(v), "the seek bar spans the song's minute (%s)" % rects(h).get("seek_max")):
        return
    bar, high = box(v, "seek"), int(v["seek_max"])
    width, middle = bar[2] - bar[0], (bar[1] + bar[3]) // 2

    def at(fraction):
        return bar[0] + int(width * fraction), middle

    def wanted(point):
        return high * (point[0] - bar[0]) // width
    # A click seeks where it lands.
    target = at(0.75)
    click(target)
    position = int(rects(h).get("seek_pos", "-1"))
    h.check(wanted(target) <= position <= wanted(target) + 5,
            "a click at three quarters seeks there (%d, wanted %d)" % (position, wanted(target)))
    # Over the bar the elapsed time shows the time under the pointer; away from it, the playing time.
    # The pane follows the pointer within a moment: where the pointer leaves for a window of
    # no other control of this thread, Wine reports the leave on its tracking timer.
    def shown_when(condition):
        h.wait(lambda: (lambda t: t and condition(seconds(t)))(pane(h).get("elapsed", "")), 3)
        return pane(h).get("elapsed", "")
    pointed = at(0.25)
    move(pointed)
    shown_time = shown_when(lambda s: s == wanted(pointed))
    h.check(shown_time and seconds(shown_time) == wanted(pointed),
            "over the bar the time under the pointer shows (%s, wanted %d)" % (shown_time, wanted(pointed)))
    move((bar[0] + width // 2, bar[1] - 120))
    shown_time = shown_when(lambda s: s >= wanted(target))
    h.check(shown_time and seconds(shown_time) >= wanted(target),
            "away from the bar the playing time shows again (%s)" % shown_time)
    # A drag seeks where the button went down; moving on only points.
    start_point, end_point = at(0.2), at(0.9)
    drag([start_point, at(0.5), end_point])
    position = int(rects(h).get("seek_pos", "-1"))
    h.check(wanted(start_point) <= position <= wanted(start_point) + 5,
            "a drag seeks where it started (%d, wanted %d)" % (position, wanted(start_point)))


def play_volume(h, trace):
    v = rects(h)
    thumb, channel = box(v, "volume_thumb"), box(v, "volume_channel")
    if not h.check(thumb is not None and channel is not None, "the volume slider's thumb and channel are found"):
        return
    # The slider's top is the loudest (0 is volume 100); a position p gives the player 100 - 2 p.
    trace.mark()
    grip = center(thumb)
    drag([grip, (grip[0], grip[1] + 15), (grip[0], grip[1] + 30)])
    v = rects(h)
    dragged = int(v.get("volume_pos", "0"))
    h.check(dragged > 0, "a drag moves the slider's thumb (%d)" % dragged)
    h.check(h.wait(lambda: trace.volumes()[-1:] == [100 - 2 * dragged], 5),
            "a drag of the slider sets the player's volume (%s, wanted %d)" % (trace.volumes(), 100 - 2 * dragged))
    # A click on the channel below the thumb moves it a page down, one above a page up.
    for side, step in (("below", 10), ("above", -10)):
        thumb = box(v, "volume_thumb")
        x = (channel[0] + channel[2]) // 2
        y = (thumb[3] + channel[3]) // 2 if side == "below" else (channel[1] + thumb[1]) // 2
        before = int(v.get("volume_pos", "0"))
        trace.mark()
        click((x, y))
        v = rects(h)
        after = int(v.get("volume_pos", "0"))
        h.check(after == before + step, "a click %s the thumb moves it a page (%d to %d)" % (side, before, after))
        h.check(h.wait(lambda: trace.volumes()[-1:] == [100 - 2 * after], 5),
                "a click on the slider's channel %s the thumb sets the player's volume (%s, wanted %d)" %
                (side, trace.volumes(), 100 - 2 * after))


def play_bar_and_tray(h):
    def bar_button(id):
        values = h.driver("play")
        n = 0
        while "bar_%d" % n in values:
            parts = values["bar_%d" % n].split(",", 8)
            if parts[1] == str(id) and parts[2] == "1":
                return center([int(p) for p in parts[4:8]])
            n += 1
        return None
    # The docked bar's next button, then its stop button.
    next_button = bar_button(1006)
    if h.check(next_button is not None, "the docked bar shows its next button"):
        click(next_button)
        h.check(h.wait(lambda: title(h) == "02 Beta", 15), "the bar's next button plays the next song (%s)" % title(h))
    stop_button = bar_button(1008)
    if h.check(stop_button is not None, "the docked bar shows its stop button"):
        click(stop_button)
        h.check(h.wait(lambda: title(h) == "", 15), "the bar's stop button stops (%s)" % title(h))
    # The tray menu's transport items: Next Track, then Stop.
    v = rects(h)
    click(center(box(v, "tb_3")))
    h.wait(lambda: title(h) == "01 Alpha", 15)
    icon = tray_icon(h)
    if not h.check(icon is not None, "Wine's tray window shows the icon"):
        return
    for item, want in ((1, "02 Beta"), (3, "")):
        click(icon, button=3)
        if not h.check(h.driver("popup-menu", 5000).get("menu") == "1", "the tray menu opens"):
            return
        items = menu_items(h, "iiiisisi")
        if not h.check(len(items) == 6, "the tray menu's items are found (%d)" % len(items)):
            keys("Escape")
            return
        click(items[item])
        h.check(h.wait(lambda: title(h) == want, 15), "the tray menu's item %d gives %r (%s)" % (item, want, title(h)))
    # The bar's show/hide button hides the main window and shows it again.
    show_hide = bar_button(1009)
    if h.check(show_hide is not None, "the docked bar shows its show/hide button"):
        click(show_hide)
        h.check(h.wait(lambda: h.state().get("visible") == "0", 10), "the bar's button hides the main window")
        click(show_hide)
        h.check(h.wait(lambda: h.state().get("visible") == "1", 10), "and shows it again")


def input_playlists(h):
    """The playlists pane by real input: the drop-down, the track list, its buttons and
    keys; the rename dialog typed into; the toolbar's Preferences and its Cancel."""
    proc = start(h, env={"MELVORA_LIBRARY_ANSWER": "yes"})
    if not proc:
        return
    playlists = os.path.join(h.library, "Playlists")

    def playlist_file(name):
        path = os.path.join(playlists, name + ".lst")
        return open(path, "rb").read() if os.path.exists(path) else None

    def lines(*entries):
        return "".join(entry + "\r\n" for entry in entries).encode("cp1252")
    dawn, tide, lights = ("Aurora Lane\\First Light\\01 Dawn.wav", "Glass Harbour\\01 Tide.mp3",
                          "Aurora Lane\\Night Drive\\01 Headlights.mp3")
    # The drop-down opens on a click; a click on an item selects that playlist.
    v = rects(h)
    click(center(box(v, "pl_names")))
    v = h.wait(lambda: (lambda v: v if "drop_1" in v else None)(rects(h)), 5)
    if not h.check(bool(v), "a click opens the playlists' drop-down"):
        return h.stop_all()
    click(center(box(v, "drop_1")))
    s = h.wait(lambda: (lambda s: s if s.get("selected") == "1" else None)(h.driver("playlist")), 5)
    h.check(bool(s) and s.get("track_count") == "3", "a click on Favourites loads it (%r)" % s)
    v = rects(h)
    # A click selects a track; the up and down buttons move it and save.
    click(center(box(v, "track_2")))
    h.check(h.wait(lambda: h.driver("playlist").get("track_sel") == "2", 5), "a click selects a track")
    click(center(box(v, "pl_1007")))
    h.check(h.wait(lambda: playlist_file("Favourites") == lines(dawn, lights, tide), 5),
            "the up button moves the track up (%r)" % playlist_file("Favourites"))
    click(center(box(v, "track_0")))
    h.wait(lambda: h.driver("playlist").get("track_sel") == "0", 5)
    click(center(box(v, "pl_1008")))
    h.check(h.wait(lambda: playlist_file("Favourites") == lines(lights, dawn, tide), 5),
            "the down button moves the track down (%r)" % playlist_file("Favourites"))
    # Delete typed in the track list removes the selected track.
    click(center(box(v, "track_1")))
    keys("Delete")
    h.check(h.wait(lambda: playlist_file("Favourites") == lines(lights, tide), 5),
            "Delete typed removes the track (%r)" % playlist_file("Favourites"))
    # A double click on a track plays it; the play button plays the selected one.
    v = rects(h)
    click(center(box(v, "track_1")), count=2)
    h.check(h.wait(lambda: title(h) == "01 Tide", 10), "a double click on a track plays it (%s)" % title(h))
    click(center(box(v, "track_0")))
    click(center(box(v, "pl_1002")))
    h.check(h.wait(lambda: title(h) == "01 Headlights", 10), "the play button plays the selected track (%s)" %
            title(h))
    click(center(box(v, "tb_11")))
    h.check(h.wait(lambda: title(h) == "", 10), "the toolbar's Stop stops (%s)" % title(h))

    # New, then Rename with the name typed into the dialog, then Delete (answered Yes).
    click(center(box(v, "pl_1004")))
    h.check(h.wait(lambda: playlist_file("Playlist") == b"", 5), "the new button creates Playlist.lst")
    opened = False
    for _ in range(3):
        # A click that lands while the pane still takes in the new playlist is lost: click again.
        click(center(box(v, "pl_1006")))
        opened = h.wait(lambda: h.driver("wait-top", "Playlist", 500).get("visible") == "1", 6)
        if opened:
            break
    if h.check(opened, "the rename button opens the rename dialog"):
        edit, ok = control_point(h, "Playlist", 2), control_point(h, "Playlist", 3)
        if h.check(edit is not None and ok is not None, "the rename dialog's edit and OK are found"):
            click(edit)
            keys("End", *["BackSpace"] * 12)
            type_text("Road Trip")
            click(ok)
            h.check(h.wait(lambda: playlist_file("Road Trip") == b"" and playlist_file("Playlist") is None, 10),
                    "the typed name renames the playlist")
    h.wait(lambda: h.driver("wait-top", "Playlist", 200).get("rc") != 0, 5)
    click(center(box(v, "pl_1005")))
    h.check(h.wait(lambda: playlist_file("Road Trip") is None, 10), "the delete button deletes the playlist")

    # The toolbar's Preferences; its Cancel button closes it and stores nothing.
    click(center(box(v, "tb_19")))
    if h.check(h.wait_dialog("Preferences"), "the toolbar's Preferences opens the dialog"):
        cancel = control_point(h, "Preferences", 18)
        if h.check(cancel is not None, "the Preferences' Cancel is found"):
            click(cancel)
            h.check(h.wait(lambda: h.driver("wait-top", "Preferences", 200).get("visible") != "1", 10),
                    "a click on Cancel closes Preferences")
            h.check(h.reg_value("Images") is None, "Cancel stores nothing")
    # F1 typed opens the documentation window.
    click(center(box(v, "tb_1")))
    keys("F1")
    h.check(h.wait_dialog(DOCUMENTATION), "F1 typed opens the documentation")
    h.check(h.close(proc), "input: ends after the playlists")


SCENARIOS = [input_browsing, input_playing, input_playlists]
