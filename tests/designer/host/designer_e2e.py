#!/usr/bin/env python3
"""The dialog designer end to end: starts the designer host under Wine on a small
description, works it with real mouse and key input (xdotool) as a user would,
and after every action compares the description the host saved with the one the
action must give, and probes screenshots of the display for what must be seen.
Every wait is bounded."""
import argparse
import importlib
import os
import shutil
import subprocess
import sys
import time

TIMEOUT = 20
# Scenario modules beside this script, each with a list SCENARIOS of functions that take the harness.
SCENARIO_MODULES = ["designer_scenarios", "designer_commands", "designer_sheet"]
MAGIC = "TAVRIN DIALOG 1.0.0.0"
NONE_COLOR = "#FF000000"


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# ---------------------------------------------------------------- descriptions
class Section:
    """One record of a description, in the writer's own field order."""
    FIELDS = ("ID", "NAME", "CAPTION", "FONT", "POSITION", "STYLE", "EXSTYLE", "BACKCOLOR", "TEXTCOLOR",
              "TRANSPARENT", "ISLOCKED")

    def __init__(self, keyword, id, name, caption, x, y, width, height, style="WS_VISIBLE ", exstyle="",
                 extra=None):
        self.keyword = keyword
        self.values = {"ID": str(id), "NAME": name, "CAPTION": caption, "FONT": ", 0, 0",
                       "POSITION": "%d %d %d %d" % (x, y, width, height), "STYLE": style, "EXSTYLE": exstyle,
                       "BACKCOLOR": NONE_COLOR, "TEXTCOLOR": NONE_COLOR, "TRANSPARENT": "0", "ISLOCKED": "0"}
        self.extra = list(extra or [])

    @property
    def name(self):
        return self.values["NAME"]

    @property
    def id(self):
        return int(self.values["ID"])

    def rect(self):
        return [int(v) for v in self.values["POSITION"].split()]

    def set_rect(self, x=None, y=None, width=None, height=None):
        old = self.rect()
        new = [old[0] if x is None else x, old[1] if y is None else y,
               old[2] if width is None else width, old[3] if height is None else height]
        self.values["POSITION"] = " ".join(str(v) for v in new)

    def copy(self):
        section = Section(self.keyword, 0, "", "", 0, 0, 0, 0)
        section.values = dict(self.values)
        section.extra = list(self.extra)
        return section

    def text(self):
        lines = ["[%s]" % self.keyword] + ["%s=%s" % (key, self.values[key]) for key in self.FIELDS]
        lines += ["%s=%s" % pair for pair in self.extra]
        return "\r\n".join(lines) + "\r\n\r\n"


def description_text(sections):
    return MAGIC + "\r\n\r\n" + "".join(section.text() for section in sections)


def parse_description(text):
    """The sections of a saved description; None when it is not one."""
    if not text.startswith(MAGIC + "\r\n\r\n"):
        return None
    sections = []
    for block in text[len(MAGIC) + 4:].split("\r\n\r\n"):
        if not block:
            continue
        lines = block.split("\r\n")
        section = Section(lines[0][1:-1], 0, "", "", 0, 0, 0, 0)
        for line in lines[1:]:
            key, value = line.split("=", 1)
            if key in section.values:
                section.values[key] = value
            else:
                section.extra.append((key, value))
        sections.append(section)
    return sections


def center(section):
    """The design point in the middle of a record."""
    x, y, width, height = section.rect()
    return x + width // 2, y + height // 2


def button(id, name, x, y, width=100, height=25):
    return Section("BUTTON", id, name, "Button" if name.startswith("BUTTON") else name, x, y, width, height,
                   "WS_VISIBLE BS_LEFT BS_RIGHT BS_CENTER BS_TOP BS_BOTTOM BS_VCENTER ", "", [("TABINDEX", "-1")])


def edit(id, name, x, y, width=150, height=20):
    return Section("EDIT", id, name, "Edit" if name.startswith("EDIT") else name, x, y, width, height,
                   "WS_VISIBLE ES_LEFT ES_AUTOHSCROLL ", "WS_EX_CLIENTEDGE ",
                   [("TABINDEX", "-1"), ("TABENABLED", "1")])


def label(id, name, x, y, width=150, height=20):
    return Section("LABEL", id, name, "Label" if name.startswith("LABEL") else name, x, y, width, height,
                   "WS_VISIBLE ", "", [("TABINDEX", "-1"), ("LABEL_HALIGN", "_LEFT"), ("LABEL_VALIGN", "_MIDDLE")])


def start_sections():
    """The description every scenario starts from: a 400 x 300 dialog with three controls
    (IDs 1, 2 and 5: the smallest free ID is 3)."""
    dialog = Section("DIALOG", 0, "Form", "Form", 0, 0, 400, 300)
    return [dialog, button(1, "Ok", 20, 20), edit(2, "Name", 20, 80, 120, 20), label(5, "Note", 200, 20, 100, 20)]


# ---------------------------------------------------------------- screen
class Screen:
    """One screenshot of the whole display."""

    def __init__(self, data):
        # A binary PPM: "P6", width, height, maximum, then RGB triplets.
        fields = []
        position = 0
        while len(fields) < 4:
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position) + 1
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        self.width, self.height = int(fields[1]), int(fields[2])
        # One byte per channel is asked for; anything else reads as no pixels.
        self.pixels = data[position + 1:] if fields[3] == b"255" else b""

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        offset = (y * self.width + x) * 3
        if offset + 3 > len(self.pixels):
            return None
        return tuple(self.pixels[offset:offset + 3])


SHOTS = []


def screenshot():
    """The display as it is now; kept as a file when DESIGNER_E2E_SHOTS names a folder."""
    result = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, timeout=TIMEOUT)
    folder = os.environ.get("DESIGNER_E2E_SHOTS")
    if folder:
        SHOTS.append(result.stdout)
        with open(os.path.join(folder, "shot%02d.ppm" % len(SHOTS)), "wb") as file:
            file.write(result.stdout)
    return Screen(result.stdout)


# ---------------------------------------------------------------- input
def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=TIMEOUT)


def click(x, y, ctrl=False, button=1):
    if ctrl:
        xdo("mousemove", x, y, "sleep", 0.05, "keydown", "Control_L", "sleep", 0.1, "click", button, "sleep", 0.1,
            "keyup", "Control_L")
    else:
        xdo("mousemove", x, y, "sleep", 0.05, "click", button)


def press_and_move(points):
    """Presses the left button at the first point and moves through the others, holding it."""
    args = ["mousemove", points[0][0], points[0][1], "sleep", 0.1, "mousedown", 1, "sleep", 0.15]
    for x, y in points[1:]:
        args += ["mousemove", x, y, "sleep", 0.1]
    xdo(*args)
    time.sleep(0.2)


def release():
    xdo("mouseup", 1, "sleep", 0.05)


def drag(points, ctrl=False, escape=False):
    """Presses the left button at the first point, moves through the others and releases."""
    args = ["mousemove", points[0][0], points[0][1], "sleep", 0.1]
    if ctrl:
        args += ["keydown", "Control_L", "sleep", 0.1]
    args += ["mousedown", 1, "sleep", 0.15]
    for x, y in points[1:]:
        args += ["mousemove", x, y, "sleep", 0.1]
    if escape:
        args += ["keydown", "Escape", "sleep", 0.2]
    args += ["mouseup", 1, "sleep", 0.05]
    if escape:
        args += ["keyup", "Escape"]
    if ctrl:
        args += ["keyup", "Control_L"]
    xdo(*args)


def type_text(text):
    xdo("type", "--delay", 60, text)
    time.sleep(0.1)


def key(*names):
    """Types keys; "ctrl+shift+Left" holds the modifiers around the key. The designer reads
    them with the asynchronous key state when it handles the key, so they must still be down."""
    for name in names:
        parts = name.split("+")
        modifiers = [{"ctrl": "Control_L", "shift": "Shift_L"}[part] for part in parts[:-1]]
        args = []
        for modifier in modifiers:
            args += ["keydown", modifier, "sleep", 0.05]
        args += ["key", parts[-1], "sleep", 0.15 if modifiers else 0.05]
        for modifier in reversed(modifiers):
            args += ["keyup", modifier]
        xdo(*args)


# ---------------------------------------------------------------- the host
class Host:
    """One running designer host with its description files."""

    def __init__(self, harness, name, sections, left=0, top=0, externs=()):
        self.harness = harness
        self.input = os.path.join(harness.work, name + "-in.dlg")
        self.output = os.path.join(harness.work, name + ".dlg")
        for path in (self.output, self.output + ".state"):
            if os.path.exists(path):
                os.remove(path)
        with open(self.input, "wb") as file:
            file.write(description_text(sections).encode("cp1252"))
        self.proc = subprocess.Popen([harness.wine, harness.host, win_path(self.input), win_path(self.output),
                                      str(left), str(top)] + ["%s=%s" % pair for pair in externs], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, env=harness.env)
        self.ready = wait(lambda: self.state().get("saves", "0") != "0", 40)

    def state(self):
        values = {}
        try:
            with open(self.output + ".state", "rb") as file:
                text = file.read().decode("cp1252")
        except OSError:
            return values
        for line in text.splitlines():
            if "=" in line:
                key, value = line.split("=", 1)
                values[key] = value
        return values

    def saved(self):
        try:
            with open(self.output, "rb") as file:
                return file.read().decode("cp1252")
        except OSError:
            return ""

    def selection(self):
        return self.state().get("selection", "").split()

    def origin(self):
        x, y = self.state()["origin"].split(",")
        return int(x), int(y)

    def rect(self, key):
        return [int(v) for v in self.state()[key].split(",")]

    def screen(self, x, y):
        """The screen point of a design point."""
        ox, oy = self.origin()
        return ox + x, oy + y

    def button(self, group, id):
        """The centre of a tool panel button on the screen."""
        left, top, right, bottom = self.rect("button.%d.%d" % (group, id))
        return (left + right) // 2, (top + bottom) // 2

    def row(self, group, item):
        """The value cell of a property sheet item on the screen and its shown value; None when absent."""
        entry = self.state().get("row.%s.%s" % (group, item))
        if entry is None:
            return None, None
        place, value = entry.split("|", 1)
        return [int(v) for v in place.split(",")], value

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()


def wait(condition, seconds=5):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    return condition()


class Harness:
    def __init__(self, args):
        self.wine = os.environ.get("WINE_LOADER", "wine")
        self.host = args.host
        self.work = os.path.abspath(args.work)
        if os.path.isdir(self.work):
            shutil.rmtree(self.work)
        os.makedirs(self.work)
        self.env = dict(os.environ)
        self.passed = 0
        self.failed = 0
        self.hosts = []

    def check(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print("FAILED: " + what, flush=True)
        return condition

    def start(self, sections=None, left=0, top=0, name="host", externs=()):
        sections = sections or start_sections()
        host = Host(self, name, sections, left, top, externs)
        self.hosts.append(host)
        if self.check(host.ready, "%s starts and saves its description" % name):
            self.expect(host, sections, "%s saves the description it loaded unchanged" % name)
        return host

    def stop_all(self):
        for host in self.hosts:
            host.stop()
        self.hosts = []

    def expect(self, host, sections, what, seconds=5):
        """The saved description becomes the expected one."""
        expected = description_text(sections)
        if wait(lambda: host.saved() == expected, seconds):
            return self.check(True, what)
        self.check(False, what)
        show_difference(host.saved(), expected)
        return False

    def expect_selection(self, host, names, what, seconds=5):
        if wait(lambda: host.selection() == names, seconds):
            return self.check(True, what)
        return self.check(False, "%s (selection %s, expected %s)" % (what, host.selection(), names))

    def unchanged(self, host, sections, what, settle=0.6):
        """Nothing is saved: the description stays the expected one after the input settled."""
        saves = host.state().get("saves")
        time.sleep(settle)
        return self.check(host.state().get("saves") == saves and host.saved() == description_text(sections),
                          what)

    def run_all(self, only):
        scenarios = []
        for name in SCENARIO_MODULES:
            scenarios += importlib.import_module(name).SCENARIOS
        for scenario in scenarios:
            if only and scenario.__name__ not in only:
                continue
            started = time.time()
            try:
                scenario(self)
            except Exception as error:  # a broken scenario fails, the others still run
                self.check(False, "%s raised %r" % (scenario.__name__, error))
            finally:
                self.stop_all()
            print("%s: %.1f s" % (scenario.__name__, time.time() - started), flush=True)
        print("%d passed, %d failed" % (self.passed, self.failed))
        return 1 if self.failed or not self.passed else 0


def show_difference(actual, expected):
    actual_lines = actual.split("\r\n")
    expected_lines = expected.split("\r\n")
    for index in range(max(len(actual_lines), len(expected_lines))):
        a = actual_lines[index] if index < len(actual_lines) else "<none>"
        e = expected_lines[index] if index < len(expected_lines) else "<none>"
        if a != e:
            print("  line %d: saved %r, expected %r" % (index + 1, a, e), flush=True)
            return


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("only", nargs="*")
    args = parser.parse_args()
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    sys.exit(Harness(args).run_all(args.only))


if __name__ == "__main__":
    main()
