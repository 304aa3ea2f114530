"""End-to-end scenarios of playback: the play queue through the real Windows Media
Player under Wine, the remote control and the tray commands, the now-playing pane,
the docked bar and the thumbnail grid. Songs of the demo library play in a second or
two; the steering scenario adds a folder of long songs for its duration and removes it."""
import os
import shutil
import subprocess
import tempfile
import time

from e2e_browse import near, pixel
from e2e_input import box, center, click as press_at, keys as press_keys, tray_icon

WM_APP = 0x8000
REMOTE = WM_APP + 500
MENU_COMMAND = WM_APP + 3170
WM_LBUTTONDOWN, WM_RBUTTONDOWN = 0x201, 0x204
VK_RETURN, VK_DOWN = 0x0D, 0x28
TITLE_ID, POSITION_ID = 1004, 1004
LONG_FOLDER = "Long Play"


def children(values, prefix):
    """The child lines of the driver's "play" output as dictionaries, in z-order."""
    out = []
    n = 0
    while "%s_%d" % (prefix, n) in values:
        parts = values["%s_%d" % (prefix, n)].split(",", 8)
        out.append({"hwnd": int(parts[0]), "id": int(parts[1]), "visible": parts[2] == "1",
                    "enabled": parts[3] == "1", "rect": [int(v) for v in parts[4:8]],
                    "text": parts[8] if len(parts) > 8 else ""})
        n += 1
    return out


def child(values, prefix, id):
    for c in children(values, prefix):
        if c["id"] == id:
            return c
    return None


def pane_title(h, values=None):
    c = child(values or h.driver("play"), "pane", TITLE_ID)
    return c["text"] if c else None


def bar_position(h, values=None):
    c = child(values or h.driver("play"), "bar", POSITION_ID)
    return c["text"] if c else None


def started(h):
    if not h.check(h.wait_window(), "the main window appears"):
        return False
    return h.check(bool(h.wait(lambda: h.state().get("folder_count") not in (None, "0", "-1"), 20)),
                   "the folder list is filled")


def select_folder(h, name):
    """Selects a root folder by name (sorted as the program sorts them, ignoring case)."""
    names = sorted((n for n in os.listdir(h.library)
                    if os.path.isdir(os.path.join(h.library, n)) and not n.startswith(".") and n != "Playlists"),
                   key=str.lower)
    h.driver("select-folder", names.index(name))


def click(control):
    """A real click in the middle of a control of the driver's "play" output."""
    press_at(center(control["rect"]))


def tray_command(h, position):
    """Chooses an item of the tray menu by its place from the top: 1 "Previous Track",
    2 "Next Track", 3 "Pause", 4 "Stop"; a right click on the icon, then the keys."""
    icon = tray_icon(h)
    if not h.check(icon is not None, "Wine's tray window shows the icon"):
        return
    press_at(icon, button=3)
    if not h.check(h.driver("popup-menu", 5000).get("menu") == "1", "the tray menu opens"):
        return
    press_keys(*(["Down"] * position + ["Return"]))


def watch(h, milliseconds, until=0):
    """Starts the driver's title watch in the background; returns a function that
    waits for it and gives the titles seen, in order. until: 0 the whole time, 1 until
    the title empties again, 2 until the first title shows again."""
    out = tempfile.TemporaryFile()
    proc = subprocess.Popen([h.wine, h.driver_exe, "watch", str(milliseconds), str(until)], stdin=subprocess.DEVNULL,
                            stdout=out, stderr=subprocess.DEVNULL, env=h.env)

    def result():
        try:
            proc.wait(timeout=milliseconds / 1000 + 30)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        out.seek(0)
        titles = []
        for line in out.read().decode("cp1252", "replace").splitlines():
            if line.startswith("title_") and "=" in line:
                titles.append(line.split("=", 1)[1].split(",", 1)[1])
        out.close()
        return titles
    return result


def distinct(titles):
    """Titles in order without repeats and without the empty text of a cleared pane."""
    out = []
    for t in titles:
        if t and (not out or out[-1] != t):
            out.append(t)
    return out


def queue_to_the_end(h):
    log = os.path.join(h.work, "shutdown.log")
    if os.path.exists(log):
        os.remove(log)
    h.env["MELVORA_SHUTDOWN_LOG"] = log
    try:
        h.reset()
        proc = h.start()
        if not started(h):
            return h.stop_all()
        # Play All Folders on "Aurora Lane": its songs at any depth, sorted; the bogus
        # "04 Broken" lies between "03 Noon" and "01 Headlights".
        select_folder(h, "Aurora Lane")
        toolbar = h.driver("rects")

        def button(id):
            press_at(center(box(toolbar, "tb_%d" % id)))
        button(13)
        h.check(h.wait(lambda: h.state().get("button_13") == "1,1", 5), "a click checks Shutdown")
        titles = watch(h, 20000, 1)
        time.sleep(0.3)
        button(4)
        h.check(h.wait(lambda: os.path.exists(log), 25), "the end of the last song shuts down (through the seam)")
        seen = distinct(titles())
        h.check(seen[:3] == ["02 Morning", "03 Noon", "01 Headlights"],
                "the queue plays through, the bogus file skipped (%s)" % seen)
        h.check("04 Broken" not in seen, "the bogus file never shows")
        if os.path.exists(log):
            h.check(open(log, "rb").read().count(b"Shutdown") == 1, "one shutdown")
        s = h.state()
        h.check(all(s.get("button_%d" % id, "").startswith("0,") for id in (8, 9, 10, 11)),
                "stopped: the transport buttons are disabled")
        h.check(pane_title(h) == "", "stopped: the pane is empty")

        # Repeat on, Shutdown off: the queue wraps to its start.
        button(13)
        button(12)
        h.check(h.wait(lambda: (lambda s: s.get("button_13") == "1,0" and s.get("button_12") == "1,1")(h.state()), 5),
                "clicks turn Shutdown off and Repeat on")
        os.remove(log)
        titles = watch(h, 15000, 2)
        time.sleep(0.3)
        button(4)
        seen = distinct(titles())
        h.check(seen.count("02 Morning") >= 2 and "01 Headlights" in seen, "Repeat wraps to the start (%s)" % seen)
        h.check(pane_title(h) not in (None, ""), "Repeat keeps playing")
        press_keys("Escape")
        h.check(h.wait(lambda: pane_title(h) == "", 10), "Esc stops")
        h.check(not os.path.exists(log), "no shutdown with Repeat on, nor after a stop")
        h.check(h.close(proc), "ends after playing")
    finally:
        h.env.pop("MELVORA_SHUTDOWN_LOG", None)


def make_long_folder(h):
    folder = os.path.join(h.library, LONG_FOLDER)
    os.makedirs(folder, exist_ok=True)
    for name, frequency in (("01 Alpha", 440), ("03 Gamma", 523), ("04 Delta", 659)):
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", os.path.join(folder, name + ".mp3"), "synth", "30",
                        "sine", str(frequency), "vol", "0.3"], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    with open(os.path.join(folder, "02 Bogus.mp3"), "wb") as out:
        out.write(bytes((i * 53 + 7) % 256 for i in range(4096)))
    return folder


def steering(h):
    folder = make_long_folder(h)
    try:
        h.reset(Taskbar=1, TaskbarColor=0x0000C0)
        proc = h.start()
        if not started(h):
            return h.stop_all()
        v = h.wait(lambda: (lambda p: p if p.get("bar", "0").split(",")[1:2] == ["1"] else None)(h.driver("play")), 15)
        h.check(bool(v), "the docked bar is shown")
        if v:
            bar = [int(x) for x in v["bar"].split(",")[2:]]
            screen = [int(x) for x in v["screen"].split(",")]
            h.check(bar[3] == screen[1] and bar[0] == 0 and bar[2] == screen[0],
                    "the bar spans the bottom edge (%s, screen %s)" % (v["bar"], v["screen"]))
            h.check(bar[3] - bar[1] >= 20 and bar[3] - bar[1] < 60, "the bar is one line high (%s)" % v["bar"])

        def at(title, position):
            def now():
                v = h.driver("play")
                return (pane_title(h, v), bar_position(h, v))
            ok = h.wait(lambda: now() == (title, position), 15)
            return h.check(bool(ok), "plays %s at %s (%s)" % (title, position, now()))

        select_folder(h, LONG_FOLDER)
        h.driver("post", REMOTE, 500, 2)
        at("01 Alpha", "1/4")
        h.driver("post", REMOTE, 500, 4)
        at("03 Gamma", "3/4")
        tray_command(h, 2)
        at("04 Delta", "4/4")
        h.driver("post", REMOTE, 500, 3)
        at("03 Gamma", "3/4")
        # Previous onto the bogus file stops playback.
        tray_command(h, 1)
        at("", "")
        s = h.state()
        h.check(all(s.get("button_%d" % id, "").startswith("0,") for id in (8, 9, 10, 11)), "stopped: buttons off")

        # The docked bar steers: next, the queue menu of the count text, stop.
        h.driver("post", REMOTE, 500, 2)
        at("01 Alpha", "1/4")
        v = h.driver("play")
        next_button = child(v, "bar", 1006)
        h.check(next_button is not None and next_button["enabled"], "the bar's next button is enabled")
        if next_button:
            click(next_button)
            at("03 Gamma", "3/4")
        position = child(h.driver("play"), "bar", POSITION_ID)
        if h.check(position is not None and position["enabled"], "the count text is enabled"):
            click(position)
            time.sleep(1.0)
            h.driver("keys", VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN)
            at("04 Delta", "4/4")
        stop = child(h.driver("play"), "bar", 1008)
        if stop:
            click(stop)
            at("", "")
        # Adding to an empty queue loads its first entry; adding again only counts.
        select_folder(h, "Glass Harbour")
        h.driver("post", MENU_COMMAND, 0, 23)
        at("01 Tide", "1/1")
        h.driver("post", MENU_COMMAND, 0, 23)
        at("01 Tide", "1/2")
        tray_command(h, 4)
        at("", "")
        show_hide = child(h.driver("play"), "bar", 1009)
        if show_hide:
            click(show_hide)
            h.check(h.wait(lambda: h.state().get("visible") == "0", 10), "the bar's button hides the main window")
            click(show_hide)
            h.check(h.wait(lambda: h.state().get("visible") == "1", 10), "and shows it again")
        h.check(h.close(proc), "ends after steering")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def grid_clicks(h):
    h.reset(AutoHideAfterPlay=1)
    proc = h.start()
    if not started(h):
        return h.stop_all()
    # Without a book page start-up ends with the welcome page in the grid's place;
    # Home then lists the root with nothing selected, which brings the grid back.
    h.check(bool(h.wait(lambda: h.state().get("web", "").startswith("1,"), 20)), "start-up shows the welcome page")
    press_at(center(box(h.driver("rects"), "tb_1")))

    def grid_shown(count):
        return h.wait(lambda: (lambda s: s if s.get("thumbs", "").startswith("1,") and s.get("web", "").startswith("0,")
                               and s.get("folder_count") == str(count) else None)(h.state()), 15)
    s = grid_shown(4)
    if not h.check(bool(s), "Home shows the thumbnail grid"):
        return h.stop_all()
    grid = box(h.driver("rects"), "thumbs")

    def press(message, x, y):
        press_at((grid[0] + x, grid[1] + y), button=1 if message == WM_LBUTTONDOWN else 3)

    def shows(state, x, y, colour, what):
        ok = h.wait(lambda: near(pixel(h, state, "thumbs", x, y), colour), 5)
        return h.check(bool(ok), "%s (%s)" % (what, pixel(h, state, "thumbs", x, y)))

    # Root cells in name order: Aurora Lane, Glass Harbour, Radios, Videos.
    shows(s, 20, 300, (0x42, 0x77, 0x9C), "the band along the left edge")
    shows(s, 110, 80, (0xC6, 0x28, 0x28), "the first cover is Aurora Lane's")
    shows(s, 40 + 170 + 70, 80, (0x2E, 0x7D, 0x32), "the second cover is Glass Harbour's")
    # A folder with sub-folders opens: Empty Album, First Light, Night Drive.
    press(WM_LBUTTONDOWN, 40, 20)
    s = grid_shown(3)
    if h.check(bool(s), "a click on a folder with sub-folders opens it in the grid"):
        shows(s, 40 + 170 + 70, 80, (0x15, 0x65, 0xC0), "the second cover is now First Light's")
    # A folder of media plays, and "Auto Hide Window" hides the main window.
    press(WM_LBUTTONDOWN, 40 + 170, 20)
    h.check(bool(h.wait(lambda: pane_title(h) == "02 Morning", 15)), "a click on a folder of media plays it")
    h.check(bool(h.wait(lambda: h.state().get("visible") == "0", 10)), "Auto Hide hides the window after playing")
    h.driver("post", REMOTE, 500, 1)
    h.check(bool(grid_shown(3)), "shown again, the grid is where it was")
    # The band goes back up: the left button to the parent, the right one to the root.
    press(WM_LBUTTONDOWN, 20, 300)
    h.check(bool(grid_shown(4)), "a click on the band goes to the parent")
    press(WM_LBUTTONDOWN, 40, 20)
    h.check(bool(grid_shown(3)), "into the folder again")
    press(WM_RBUTTONDOWN, 20, 300)
    h.check(bool(grid_shown(4)), "a right click on the band goes to the root")
    # A right click on a cover selects its folder in the list, which shows the folder.
    press(WM_RBUTTONDOWN, 40 + 170, 20)
    h.check(bool(h.wait(lambda: (lambda s: s.get("folder_sel") == "1" and s.get("thumbs", "").startswith("0,"))(
        h.state()), 10)), "a right click selects the folder and the grid gives way")
    press_keys("Escape")
    h.check(h.wait(lambda: pane_title(h) == "", 10), "Esc stops")
    h.check(h.close(proc), "ends after the grid")


SCENARIOS = [queue_to_the_end, steering, grid_clicks]
