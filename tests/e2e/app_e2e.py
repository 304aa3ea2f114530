#!/usr/bin/env python3
"""End-to-end tests of the main program: starts the real melvora.exe under Wine
on the demo library, drives it through app_driver.exe and checks what a user
would see, the registry and what it starts. Every wait is bounded; every
scenario starts from a known registry state; the update server is a loopback
HTTP server of this script and the update program a stand-in that logs its
arguments."""
import argparse
import http.server
import importlib
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from e2e_input import box, center, click, control_point, keys, type_text

KEY = r"HKCU\Software\Ormelin Tavrin\Melvora Browser\1.0"
WM_CLOSE = 0x0010
WM_APP = 0x8000
REMOTE = WM_APP + 500
TOOLBAR_COMMAND = WM_APP + 3300
VK_F1, VK_F8 = 0x70, 0x77
TIMEOUT = 30
# Scenario modules beside this script, one per feature area; each holds a list
# SCENARIOS of functions that take the harness.
SCENARIO_MODULES = ["e2e_shell", "e2e_browse", "e2e_play", "e2e_library", "e2e_input"]


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Reply:
    status = 200
    body = b""
    paths = []


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        Reply.paths.append(self.path)
        self.send_response(Reply.status)
        self.send_header("Content-Length", str(len(Reply.body)))
        self.end_headers()
        self.wfile.write(Reply.body)

    def log_message(self, *args):
        pass


class Harness:
    def __init__(self, args):
        self.wine = os.environ.get("WINE_LOADER", "wine")
        self.work = os.path.abspath(args.work)
        self.bin = os.path.join(self.work, "bin")
        if os.path.isdir(self.work):
            shutil.rmtree(self.work)
        os.makedirs(self.bin)
        self.exe = os.path.join(self.bin, "melvora.exe")
        shutil.copy(args.exe, self.exe)
        self.updater = args.updater
        self.driver_exe = args.driver
        self.library = os.path.join(self.work, "library")
        subprocess.run([sys.executable, os.path.join(args.source, "tools", "make_demo_library.py"), self.library,
                        "--short"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = dict(os.environ)
        # No HTML engine: keeps Wine from offering to install one.
        self.env["WINEDLLOVERRIDES"] = "mshtml="
        self.env.pop("MELVORA_UPDATE_ANSWER", None)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.passed = 0
        self.failed = 0
        self.procs = []
        self.screenshot = args.screenshot

    # ------------------------------------------------------------ helpers
    def check(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print("FAILED: " + what, flush=True)
        return condition

    def run(self, *command, env=None, timeout=TIMEOUT):
        # Output goes through a file, not a pipe: a Wine service started on the way
        # (the desktop, the tray) inherits the handles and would hold a pipe open.
        with tempfile.TemporaryFile() as out:
            result = subprocess.run(list(command), stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL,
                                    timeout=timeout, env=env or self.env)
            out.seek(0)
            result.stdout = out.read().decode("cp1252", "replace")
        return result

    def reg(self, *args):
        return self.run(self.wine, "reg", *args)

    def reg_value(self, name):
        out = self.reg("query", KEY, "/v", name).stdout
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == name.lower():
                value = parts[2] if len(parts) == 3 else ""
                if parts[1] == "REG_DWORD":
                    return int(value, 16)
                return value
        return None

    def reg_names(self):
        out = self.reg("query", KEY).stdout
        return sorted(line.strip().split(None, 1)[0] for line in out.splitlines()
                      if line.startswith("    ") and line.strip())

    def reset(self, **values):
        self.reg("delete", KEY, "/f")
        self.reg("add", KEY, "/v", "Folder", "/t", "REG_SZ", "/d", win_path(self.library) + "\\", "/f")
        self.reg("add", KEY, "/v", "UpdateServer", "/t", "REG_SZ", "/d", "http://127.0.0.1:%d" % self.port, "/f")
        for name, value in values.items():
            if isinstance(value, int):
                self.reg("add", KEY, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f")
            else:
                self.reg("add", KEY, "/v", name, "/t", "REG_SZ", "/d", value, "/f")
        Reply.status = 200
        Reply.body = b"OK\r\n1.0.3.0\r\n0\r\nhttp://127.0.0.1/none.bin\r\n"
        Reply.paths = []

    def start(self, *args, answer=None):
        env = dict(self.env)
        if answer:
            env["MELVORA_UPDATE_ANSWER"] = answer
        # What Wine says of a crash is kept beside the scenario's other files.
        with open(os.path.join(self.work, "melvora-stderr.log"), "ab") as errors:
            proc = subprocess.Popen([self.wine, self.exe] + list(args), env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=errors)
        self.procs.append(proc)
        return proc

    def driver(self, *args, timeout=TIMEOUT):
        result = self.run(self.wine, self.driver_exe, *[str(a) for a in args], timeout=timeout)
        values = {}
        for line in result.stdout.splitlines():
            if "=" in line:
                key, value = line.split("=", 1)
                values[key.strip()] = value.strip()
        values["rc"] = result.returncode
        return values

    def state(self):
        return self.driver("state")

    def wait(self, condition, seconds=15):
        end = time.time() + seconds
        while time.time() < end:
            value = condition()
            if value:
                return value
            time.sleep(0.2)
        return condition()

    def wait_window(self, seconds=40):
        return self.driver("wait-window", seconds * 1000, timeout=seconds + 30)["rc"] == 0

    def wait_dialog(self, caption):
        """Waits until the modal window is shown: before that it has not taken its texts yet."""
        return self.wait(lambda: self.driver("wait-top", caption, 500).get("visible") == "1", 15)

    def close(self, proc):
        self.driver("post", WM_CLOSE, 0, 0)
        try:
            proc.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            return False
        return True

    def stop_all(self):
        for proc in self.procs:
            if proc.poll() is None:
                self.driver("post", WM_CLOSE, 0, 0)
                try:
                    proc.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.procs = []

    @staticmethod
    def rect(text):
        return [int(v) for v in text.split(",")]

    # ------------------------------------------------------------ scenarios
    def layout(self):
        self.reset()
        proc = self.start()
        if not self.check(self.wait_window(), "the main window appears"):
            return self.stop_all()
        s = self.wait(lambda: (lambda v: v if v.get("visible") == "1" and v.get("folder_count") not in (None, "0")
                                else None)(self.state()))
        if not self.check(bool(s), "the main window is shown on the library"):
            return self.stop_all()
        window = self.rect(s["window"])
        self.check(window[2] - window[0] == 1024, "first start: 1024 pixels wide (%s)" % s["window"])
        self.check(600 <= window[3] - window[1] <= 650, "first start: 600 high or the minimum 650 (%s)" % s["window"])
        self.check(s["folder_count"] == "4", "four visible folders at the root (%s)" % s["folder_count"])
        # The text itself cannot be read across processes; its length can.
        self.check(int(s["status_length"]) == len(win_path(self.library)) + 1,
                   "status part 0 shows the root (%s)" % s["status_length"])
        self.check(s["status_parts"] == "3", "three status parts")
        self.check(s["buttons"] == "28", "28 toolbar entries (%s)" % s["buttons"])
        for id in (8, 9, 10, 11):
            self.check(s["button_%d" % id].startswith("0,"), "button %d disabled while stopped" % id)
        self.check(s["button_12"] == "1,0", "Repeat off")
        self.check(s["volume_pos"] == "0", "volume slider at the top")
        folders = self.rect(s["folders"])
        header = self.rect(s["header"])
        files = self.rect(s["files"])
        note = self.rect(s["note"])
        volume = self.rect(s["volume"])
        # With no folder selected, the file list and the note view give way to the grid.
        self.check(folders[0] == 1 and header[0] == 1 and volume[0] == 1, "folder list, header and slider visible")
        self.check(self.rect(s["thumbs"])[0] == 0, "thumbnail grid hidden")
        self.check(self.rect(s["web"])[0] == 1, "web view shown in place of the missing book")
        self.check(header[4] - header[2] == 22, "header 22 pixels high")
        self.check(190 <= folders[3] - folders[1] <= 220, "folder pane about 220 wide (%d)" % (folders[3] - folders[1]))
        self.check(folders[2] == header[4] + 2, "folder list 24 pixels below the pane top")
        self.check(170 <= files[3] - files[1] <= 200, "file pane about 200 wide (%d)" % (files[3] - files[1]))
        self.check(files[1] > folders[3] + 150, "file list right of the cover column")
        self.check(volume[3] - volume[1] == 28, "slider 28 wide")
        clip = self.driver("clipboard").get("text", "")
        hwnd = self.driver("wait-window", 1000).get("hwnd")
        self.check(clip == hwnd, "the handle announced on the clipboard (%s / %s)" % (clip, hwnd))
        if self.screenshot:
            self.take_screenshot(s)
        # The now-playing strip, painted at the top of the client area.
        self.check(self.close(proc), "the program ends on WM_CLOSE")

    def take_screenshot(self, s):
        shot = os.path.join(self.work, "screen.png")
        if subprocess.run(["import", "-window", "root", shot], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=TIMEOUT).returncode:
            return
        window = self.rect(s["window"])
        subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (window[2] - window[0], window[3] - window[1],
                                                                   window[0], window[1]), "+repage",
                        self.screenshot], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=TIMEOUT)

    def keys_and_remote(self):
        self.reset()
        proc = self.start()
        if not self.check(self.wait_window(), "window for the keys"):
            return self.stop_all()
        visible = lambda want: self.wait(lambda: self.state().get("visible") == want, 10)
        self.check(visible("1"), "shown")
        toolbar = self.driver("rects")
        # A click on the window first, so that the keys go to it.
        click(center(box(toolbar, "tb_1")))
        keys("F8")
        self.check(visible("0"), "F8 typed hides the window")
        # A hidden window gets no keys and no clicks: the key and the toolbar command
        # that show it again are posted to it.
        self.driver("key", VK_F8)
        self.check(visible("1"), "F8 shows it again")
        self.driver("post", REMOTE, 500, 1)
        self.check(visible("0"), "remote command 1 hides")
        self.driver("post", REMOTE, 499, 1)
        time.sleep(0.5)
        self.check(self.state().get("visible") == "0", "a remote message with another wParam is ignored")
        self.driver("post", REMOTE, 500, 1)
        self.check(visible("1"), "remote command 1 shows")
        click(center(box(toolbar, "tb_14")))
        self.check(visible("0"), "a click on the toolbar's Hide Window hides")
        self.driver("post", TOOLBAR_COMMAND, 0, 14)
        self.check(visible("1"), "toolbar Hide Window shows again")
        click(center(box(toolbar, "tb_1")))
        keys("F1")
        self.check(self.wait_dialog("Documentation - Melvora Browser"), "F1 typed opens the documentation window")
        self.check(self.close(proc), "closes with the documentation window open")
        self.check(self.reg_value("WindowHelp") is not None and str(self.reg_value("WindowHelp")).startswith("7:"),
                   "the documentation window's placement saved")

    def hide_argument(self):
        for args, shown in ((["/HIDE"], "0"), (["/hide"], "0"), (["x", "/HIDE"], "1")):
            self.reset()
            proc = self.start(*args)
            if not self.check(self.wait_window(), "window with %s" % args):
                self.stop_all()
                continue
            if shown == "1":
                self.check(self.wait(lambda: self.state().get("visible") == "1", 20), "%s shows the window" % args)
            else:
                # The window would show right after its creation, which fills the folder list.
                self.wait(lambda: self.state().get("folder_count") not in (None, "0"), 20)
                time.sleep(1)
                self.check(self.state().get("visible") == "0", "%s keeps the window hidden" % args)
            if shown == "0":
                self.driver("post", REMOTE, 500, 1)
                self.check(self.wait(lambda: self.state().get("visible") == "1", 10), "remote shows a hidden start")
            self.check(self.close(proc), "ends after %s" % args)

    def single_instance(self):
        self.reset()
        first = self.start()
        if not self.check(self.wait_window(), "first copy"):
            return self.stop_all()
        second = self.start()
        try:
            code = second.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            code = None
        self.check(code == 0, "a second copy ends by itself with 0 (%s)" % code)
        self.check(first.poll() is None, "the first copy keeps running")
        self.check(self.driver("count-windows").get("count") == "1", "one main window")
        self.check(self.close(first), "first copy ends")
        # Two copies at the same moment: exactly one stays.
        self.reset()
        a, b = self.start(), self.start()
        ended = self.wait(lambda: (a.poll() is not None) or (b.poll() is not None), 25)
        self.check(ended, "one of two simultaneous copies ends")
        time.sleep(1)
        running = [p for p in (a, b) if p.poll() is None]
        self.check(len(running) == 1, "exactly one of two simultaneous copies runs (%d)" % len(running))
        self.check(self.wait_window() and self.driver("count-windows").get("count") == "1",
                   "one main window after a simultaneous start")
        for p in running:
            self.close(p)

    def settings(self):
        self.reset()
        proc = self.start()
        if not self.check(self.wait_window(), "window for the settings"):
            return self.stop_all()
        self.wait(lambda: self.state().get("visible") == "1")
        # Two clicks on the slider's channel below the thumb: two pages of 10 down.
        for _ in range(2):
            v = self.driver("rects")
            thumb, channel = box(v, "volume_thumb"), box(v, "volume_channel")
            click(((channel[0] + channel[2]) // 2, (thumb[3] + channel[3]) // 2))
        click(center(box(v, "tb_12")))
        self.check(self.wait(lambda: self.state().get("button_12") == "1,1", 5), "a click checks Repeat")
        self.check(self.close(proc), "ends for the settings")
        self.check(self.reg_value("Volume") == 20, "Volume saved (%s)" % self.reg_value("Volume"))
        self.check(self.reg_value("Repeat") == 1, "Repeat saved")
        column = self.reg_value("Column")
        self.check(column is not None and 200 <= column <= 220, "Column saved (%s)" % column)
        column2 = self.reg_value("Column2")
        self.check(column2 is not None and 180 <= column2 <= 200, "Column2 saved (%s)" % column2)
        self.check(str(self.reg_value("Window")).startswith("7:"), "Window placement saved")
        self.check(self.reg_value("Playlist") == "Evening", "selected playlist saved (%s)" % self.reg_value("Playlist"))
        # Reloaded: the stored values shape the next start.
        self.reg("add", KEY, "/v", "Column", "/t", "REG_DWORD", "/d", "300", "/f")
        self.reg("add", KEY, "/v", "Column2", "/t", "REG_DWORD", "/d", "50", "/f")
        proc = self.start()
        if not self.check(self.wait_window(), "window for the reload"):
            return self.stop_all()
        s = self.wait(lambda: (lambda v: v if v.get("visible") == "1" else None)(self.state()))
        folders = self.rect(s["folders"])
        files = self.rect(s["files"])
        self.check(270 <= folders[3] - folders[1] <= 300, "Column 300 applied (%d)" % (folders[3] - folders[1]))
        self.check(170 <= files[3] - files[1] <= 200, "Column2 of 50 ignored (%d)" % (files[3] - files[1]))
        self.check(s["volume_pos"] == "20", "Volume reloaded (%s)" % s["volume_pos"])
        self.check(s["button_12"] == "1,1", "Repeat reloaded (%s)" % s["button_12"])
        self.check(self.close(proc), "ends after the reload")

    def preferences(self):
        self.reset(Emails="a@example.org;b@example.org")
        proc = self.start()
        if not self.check(self.wait_window(), "window for the preferences"):
            return self.stop_all()
        self.wait(lambda: self.state().get("visible") == "1")
        preferences = center(box(self.driver("rects"), "tb_19"))

        def type_images():
            images = control_point(self, "Preferences", 7)
            if self.check(images is not None, "the Images box is found"):
                click(images)
                type_text("Covers;Scans")

        def press(id):
            point = control_point(self, "Preferences", id)
            if self.check(point is not None, "the Preferences' control %d is found" % id):
                click(point)
        click(preferences)
        self.check(self.wait_dialog("Preferences"), "Preferences opens")
        type_images()
        press(18)
        self.check(self.wait(lambda: self.driver("wait-top", "Preferences", 200).get("visible") != "1", 10),
                   "Cancel closes Preferences")
        self.check(self.reg_value("Images") is None, "Cancel stores nothing")
        click(preferences)
        self.check(self.wait_dialog("Preferences"), "Preferences opens again")
        type_images()
        press(9)
        press(17)
        self.check(self.wait(lambda: self.reg_value("Images") == "Covers;Scans", 15),
                   "OK stores Images (%s)" % self.reg_value("Images"))
        self.check(self.reg_value("ToolBar") == 1, "OK stores Small Icons")
        self.check(self.reg_value("Emails") == "a@example.org;b@example.org",
                   "OK keeps the addresses (%s)" % self.reg_value("Emails"))
        self.check(self.reg_value("Taskbar") == 0 and self.reg_value("AutoHideAfterPlay") == 0,
                   "OK stores the unticked boxes")
        self.check(self.wait(lambda: self.state().get("visible") == "1", 15), "the main window is shown again")
        self.check(self.close(proc), "ends after the preferences")

    def update_check(self):
        bin_updater = os.path.join(self.bin, "Update.exe")
        shutil.copy(self.updater, bin_updater)
        log = os.path.join(self.bin, "update-args.txt")
        newer = "OK\r\n1.0.4.0\r\n3735928559\r\nhttp://127.0.0.1:%d/melvora.bin\r\n" % self.port
        cases = [("no update", 200, "OK\r\n1.0.3.0\r\n1\r\nhttp://127.0.0.1/x.bin\r\n", None),
                 ("error reply", 500, "OK\r\n1.0.4.0\r\n1\r\nhttp://127.0.0.1/x.bin\r\n", "yes"),
                 ("not OK", 200, "NO\r\n", "yes"),
                 ("declined", 200, newer, "no")]
        for name, status, body, answer in cases:
            self.reset()
            Reply.status, Reply.body = status, body.encode()
            if os.path.exists(log):
                os.remove(log)
            proc = self.start(answer=answer)
            self.check(self.wait_window(), "%s: the main window appears" % name)
            self.check(Reply.paths == ["/check.php?id=melvora"], "%s: asked the check page (%s)" % (name, Reply.paths))
            self.check(not os.path.exists(log), "%s: no update program started" % name)
            self.close(proc)
        self.reset()
        Reply.body = newer.encode()
        if os.path.exists(log):
            os.remove(log)
        before = self.reg_names()
        proc = self.start(answer="yes")
        try:
            code = proc.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            code = None
        self.check(code == 0, "accepted: the program ends by itself (%s)" % code)
        self.check(self.driver("count-windows").get("count") == "0", "accepted: no main window")
        self.check(self.wait(lambda: os.path.exists(log), 10), "accepted: the update program started")
        if os.path.exists(log):
            line = open(log, "rb").read().decode("cp1252")
            folder = win_path(self.bin) + "\\"
            expected = '3735928559 "http://127.0.0.1:%d/melvora.bin" "%s" "%s"' % (
                self.port, folder, folder + "melvora.exe")
            self.check(line.lower().endswith(expected.lower()), "accepted: exact arguments (%s)" % line)
        self.check(self.reg_names() == before, "accepted: no setting written (%s)" % self.reg_names())
        os.remove(bin_updater)

    def bind(self, function):
        def scenario():
            function(self)
        scenario.__name__ = function.__name__
        return scenario

    def run_all(self, only, group=None):
        # A group is one CTest entry: "shell" holds the scenarios of this file and of
        # e2e_shell, every other group the module e2e_<group>; no group runs them all.
        scenarios = []
        if group in (None, "shell"):
            scenarios = [self.layout, self.keys_and_remote, self.hide_argument, self.single_instance,
                         self.settings, self.preferences, self.update_check]
        for name in SCENARIO_MODULES:
            if group is not None and name != "e2e_" + group:
                continue
            try:
                module = importlib.import_module(name)
            except ModuleNotFoundError:
                continue
            for function in module.SCENARIOS:
                scenarios.append(self.bind(function))
        for scenario in scenarios:
            if only and scenario.__name__ not in only:
                continue
            # Under Wine on a loaded display a modal window or a medium is now and then
            # seconds late: a failed scenario runs once more from its start, and only
            # what it reports then counts. Its first failures stay in the output.
            # The library as the scenario found it, so that a second run starts from it too.
            library, before = self.library, os.path.join(self.work, "library-before")
            shutil.rmtree(before, ignore_errors=True)
            if os.path.isdir(library):
                shutil.copytree(library, before)
            for attempt in (1, 2):
                if attempt == 2 and os.path.isdir(before):
                    self.library = library
                    shutil.rmtree(library, ignore_errors=True)
                    shutil.copytree(before, library)
                passed, failed = self.passed, self.failed
                started = time.time()
                try:
                    scenario()
                except Exception as error:  # a broken scenario fails, the others still run
                    self.check(False, "%s raised %r" % (scenario.__name__, error))
                finally:
                    self.stop_all()
                print("%s: %.1f s" % (scenario.__name__, time.time() - started), flush=True)
                if self.failed == failed or attempt == 2:
                    break
                print("%s failed; running it once more" % scenario.__name__, flush=True)
                self.passed, self.failed = passed, failed
        self.reg("delete", KEY, "/f")
        self.server.shutdown()
        print("%d passed, %d failed" % (self.passed, self.failed))
        return 1 if self.failed or not self.passed else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--updater", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--screenshot", default=os.environ.get("MELVORA_SCREENSHOT"))
    parser.add_argument("--group")
    parser.add_argument("only", nargs="*")
    args = parser.parse_args()
    sys.exit(Harness(args).run_all(args.only, args.group))


if __name__ == "__main__":
    main()
