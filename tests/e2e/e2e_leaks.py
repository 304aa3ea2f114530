"""The long run: one start of the main program walks every folder of the demo
library and back, plays and stops, opens and closes Preferences, the book, the
description editor, the cover search, the folder menu and the playlists pane's
lists, drop-down and dialog, again and again. Around each of these it reads the
program's GDI and USER object counts (after one first round, since first use
makes caches that stay): they must come back to where they were. A leaked icon,
bitmap, font, brush, DC, menu or window per action grows with the rounds.

The first round of browsing and every folder menu are driven by real input
(clicks and keys); the long loops are messages the driver sends in a loop of its
own, since one driver start per step would take minutes (see AppDriver's
browse-rounds, play-rounds, cycle-top and playlist-rounds)."""
import subprocess
import time

import e2e_library

WM_APP = 0x8000
MENU_COMMAND = WM_APP + 3170
TOOLBAR_COMMAND = WM_APP + 3300
LB_GETTOPINDEX, LB_GETITEMHEIGHT = 0x018E, 0x01A1
VK_BACK, VK_ESCAPE = 0x08, 0x1B
FOLDERS = 1001
BOOK = "Book - Melvora Browser"
DESCRIPTION = "Description - Melvora Browser"
# No window manager runs on the test display. Wine then waits two seconds for one at
# every hide of a managed window; unmanaged windows spare that, and what a window
# makes and frees does not depend on it.
APP_DEFAULTS = r"HKCU\Software\Wine\AppDefaults\melvora.exe"
# The counts compared; the per-type ones and the window classes say what leaked.
TOTALS = ("gdi", "user", "windows")
DETAILS = ("dcs", "regions", "bitmaps", "palettes", "fonts", "brushes", "pens", "others")
# Growth a phase may show. Every phase has many more rounds than this, so one
# object leaked per round fails it.
MARGIN = 3
# The root's folders in the list's order; the first one holds folders of its own.
ROOT_FOLDERS = 4
INNER_FOLDERS = 3


def counts(h):
    values = h.driver("gui-objects", timeout=120)
    try:
        result = {name: int(values[name]) for name in TOTALS + DETAILS}
    except (KeyError, ValueError):
        return None
    classes = {}
    for item in values.get("window_classes", "").split("|"):
        name, _, count = item.rpartition(":")
        if name:
            classes[name] = int(count)
    result["classes"] = classes
    return result


def grown(before, after):
    """What changed between two readings: the counts, and the windows by class."""
    change = {name: after[name] - before[name] for name in TOTALS + DETAILS if after[name] != before[name]}
    for name in set(before["classes"]) | set(after["classes"]):
        difference = after["classes"].get(name, 0) - before["classes"].get(name, 0)
        if difference:
            change["class " + name] = difference
    return change


def within(before, after):
    return all(after[name] - before[name] <= MARGIN for name in TOTALS)


def counts_after(h, before):
    """The counts once what the last round made on its way is gone (a window being
    destroyed, a worker's progress window): read again for a few seconds while too high."""
    after = counts(h)
    end = time.time() + 5
    while after and not within(before, after) and time.time() < end:
        time.sleep(0.5)
        after = counts(h)
    return after


def loop(h, what, *command):
    result = h.driver(*command, timeout=300)
    h.check(result.get("rc") == 0, "leaks: %s (%r)" % (what, result))


# ------------------------------------------------------------ real input
def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=30)


def folder_points(h):
    """The screen point in the middle of each item of the folder list as it is now."""
    s = h.state()
    rect = h.rect(s["folders"])
    origin = [int(v) for v in s["client_origin"].split(",")]
    height = int(h.driver("child-send", FOLDERS, LB_GETITEMHEIGHT, 0, 0)["result"])
    top = int(h.driver("child-send", FOLDERS, LB_GETTOPINDEX, 0, 0)["result"])
    return [(origin[0] + rect[1] + 40, origin[1] + rect[2] + (index - top) * height + height // 2)
            for index in range(int(s["folder_count"]))]


def folder_count_is(h, count):
    return h.wait(lambda: h.state().get("folder_count") == str(count), 10)


def click_each_folder(h, what):
    points = folder_points(h)
    for index, point in enumerate(points):
        xdotool("mousemove", *point, "click", 1)
        h.check(h.wait(lambda: h.state().get("folder_sel") == str(index), 10),
                "leaks: a click selects %s folder %d" % (what, index))
    return points


def browse_by_hand(h):
    """One round as a user makes it: a click on each folder, a double click into the
    first one, a click on each of its folders, Backspace back to the root."""
    points = click_each_folder(h, "root")
    xdotool("mousemove", *points[0], "click", "--repeat", 2, "--delay", 80, 1)
    h.check(folder_count_is(h, INNER_FOLDERS), "leaks: a double click opens the first folder")
    click_each_folder(h, "inner")
    h.driver("keys", VK_BACK)
    h.check(folder_count_is(h, ROOT_FOLDERS), "leaks: Backspace goes back to the root")


def folder_menu_by_hand(h, rounds):
    """A right click on a folder opens its menu, Esc closes it."""
    point = folder_points(h)[1]
    for _ in range(rounds):
        # As a hand does: the pointer rests on the folder before the button goes down.
        xdotool("mousemove", *point, "sleep", 0.15, "click", 3)
        if not h.check(h.driver("popup-menu", 5000).get("menu") == "1", "leaks: the folder menu opens"):
            return
        h.driver("keys", VK_ESCAPE)
        h.check(h.wait(lambda: h.driver("popup-menu", 0).get("menu") == "0", 5), "leaks: Esc closes the menu")


# ------------------------------------------------------------ phases
# Each takes the harness, the number of rounds and whether it is the first round.
def folders(h, rounds, first):
    if first:
        browse_by_hand(h)
    else:
        loop(h, "folder rounds", "browse-rounds", rounds, 0)


def play_and_stop(h, rounds, first):
    h.driver("select-folder", 1)
    loop(h, "play and stop", "play-rounds", rounds)


def window(caption, msg, command, folder=None):
    def phase(h, rounds, first):
        if folder is not None:
            h.driver("select-folder", folder)
        loop(h, "%s opened and closed" % caption, "cycle-top", rounds, msg, 0, command, caption)
    return phase


def playlists(h, rounds, first):
    loop(h, "playlists pane", "playlist-rounds", rounds)


def folder_menu(h, rounds, first):
    folder_menu_by_hand(h, rounds)


PHASES = [
    ("folders", folders, 30),
    ("play and stop", play_and_stop, 20),
    ("Preferences", window("Preferences", TOOLBAR_COMMAND, 19), 50),
    ("book", window(BOOK, TOOLBAR_COMMAND, 16), 50),
    ("description editor", window(DESCRIPTION, TOOLBAR_COMMAND, 18), 50),
    # "Download Cover: Glass Harbour" of the folder menu.
    ("cover search", window("Web...", MENU_COMMAND, 28, folder=1), 30),
    ("playlists pane", playlists, 50),
    ("folder menu", folder_menu, 8),
]


def cover_search_routes():
    """A result page of eight pictures for "Glass Harbour" and their thumbnails."""
    routes, page = {}, "<html><body>"
    for k in range(8):
        page += ("<a href=/imgres?imgurl=http://full.melvora.test/%d.png&imgrefurl=x&w=300&h=200&sz=9>"
                 "<img src=http://tbn0.melvora.test/images?q=tbn:%d width=75></a>" % (k, k))
        routes["http://tbn0.melvora.test/images?q=tbn:%d" % k] = e2e_library.png(
            40, 30, lambda x, y, k=k: (30 * k, 120, 200 - 20 * k))
    search = "http://images.melvora.test/images?hl=en&safe=off&q=Glass%20Harbour&start=0"
    routes[search] = (page + "</body></html>").encode()
    return routes


def leaks_long_run(h):
    self_test = h.driver("gui-selftest", 5)
    h.check(self_test.get("selftest") == "pass",
            "leaks: the counts see the objects another process makes and frees (%r)" % self_test)
    h.reset(ImageSearchServer="http://images.melvora.test")
    h.run(h.wine, "reg", "add", APP_DEFAULTS + r"\X11 Driver", "/v", "Managed", "/t", "REG_SZ", "/d", "N", "/f")
    _, previous = e2e_library.serve(h, cover_search_routes())
    try:
        proc = e2e_library.start(h, MELVORA_LIBRARY_ANSWER="yes", http_proxy="http://127.0.0.1:%d" % h.port)
        if not proc:
            return
        first = counts(h)
        if not h.check(first is not None and first["gdi"] > 0 and first["windows"] > 0,
                       "leaks: the program's counts are read (%r)" % first):
            return
        for name, phase, rounds in PHASES:
            started = time.time()
            phase(h, 1, True)
            before = counts(h)
            phase(h, rounds, False)
            after = counts_after(h, before)
            if not h.check(before is not None and after is not None, "leaks: %s: the counts are read" % name):
                continue
            print("leaks: %s, %d rounds in %.1f s: gdi, user, windows %s -> %s %r" % (
                name, rounds, time.time() - started, ",".join(str(before[n]) for n in TOTALS),
                ",".join(str(after[n]) for n in TOTALS), grown(before, after)), flush=True)
            h.check(within(before, after), "leaks: %s: %d rounds leave the counts where they were (%r)" % (
                name, rounds, grown(before, after)))
        last = counts(h)
        if last:
            print("leaks: from the start to the end (first rounds included): %r" % grown(first, last), flush=True)
        h.check(h.close(proc), "leaks: the program ends after the long run")
    finally:
        h.server.RequestHandlerClass = previous
        h.run(h.wine, "reg", "delete", APP_DEFAULTS, "/f")


SCENARIOS = [leaks_long_run]
