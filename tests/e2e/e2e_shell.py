"""End-to-end scenarios of the main window's own commands: the keys, the
notification-area icon and its menu, the focus rule, "Send to" through the
stand-in mail library, and the whole update road with the real update program."""
import http.server
import os
import shutil
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "updater", "road"))
import update_road  # noqa: E402  (the pack writer of the update road's tests)
from e2e_input import box, center, click, tray_icon, keys as press  # noqa: E402

KEY = r"HKCU\Software\Ormelin Tavrin\Melvora Browser\1.0"
WM_CLOSE = 0x0010
WM_KEYDOWN = 0x0100
LB_SETSEL = 0x0185
WM_GETTEXTLENGTH = 0x000E
WM_APP = 0x8000
MENU_COMMAND = WM_APP + 3170
VK_BACK, VK_RETURN, VK_SPACE = 0x08, 0x0D, 0x20
VK_F5 = 0x74
ID_FOLDERS, ID_FILES, ID_NOTE, ID_THUMBS = 1001, 1002, 1003, 1008


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def started(h, **values):
    """A fresh start on the demo library, shown with its folders listed; None when it fails."""
    h.reset(**values)
    proc = h.start()
    if not h.check(h.wait_window(), "the main window appears"):
        h.stop_all()
        return None
    shown = h.wait(lambda: h.state().get("visible") == "1" and h.state().get("folder_count") not in (None, "0"), 20)
    if not h.check(shown, "the main window is shown with its folders"):
        h.stop_all()
        return None
    return proc


def folder_count(h):
    return int(h.state().get("folder_count", "-1"))


def keys(h):
    """The keys reach their commands; in the note view Backspace and Space are text."""
    proc = started(h)
    if not proc:
        return
    # Into "Aurora Lane" with Enter typed in the folder list, back out with Backspace.
    click(center(box(h.driver("rects"), "folder_0")))
    press("Return")
    h.check(h.wait(lambda: folder_count(h) == 3, 10), "Enter opens the selected folder (%d)" % folder_count(h))
    press("BackSpace")
    h.check(h.wait(lambda: folder_count(h) == 4, 10), "Backspace goes to the parent (%d)" % folder_count(h))
    h.check(h.state().get("folder_sel") == "0", "the folder come from is selected")
    # F5 shows a folder that appeared meanwhile, also when pressed in a child control.
    extra = os.path.join(h.library, "Zz New Arrivals")
    os.makedirs(extra)
    try:
        press("F5")
        h.check(h.wait(lambda: folder_count(h) == 5, 10), "F5 refreshes the folder list (%d)" % folder_count(h))
        os.rmdir(extra)
        focused = h.driver("focus", ID_FOLDERS).get("focused")
        h.check(focused == str(ID_FOLDERS), "the folder list takes the focus (%s)" % focused)
        h.driver("keys", VK_F5)
        h.check(h.wait(lambda: folder_count(h) == 4, 10), "F5 in the folder list refreshes (%d)" % folder_count(h))
    finally:
        if os.path.isdir(extra):
            os.rmdir(extra)
    # In the note view Backspace and Space edit the text and leave the window alone.
    h.driver("select-folder", 0)
    h.driver("child-post", ID_FOLDERS, WM_KEYDOWN, VK_RETURN, 1)
    h.check(h.wait(lambda: folder_count(h) == 3, 10), "into the folder again")
    # A note to type in, as when a track with a note is selected.
    h.driver("child-text", ID_NOTE, "Note")
    focused = h.driver("focus", ID_NOTE).get("focused")
    h.check(focused == str(ID_NOTE), "the note view takes the focus (%s)" % focused)
    length = lambda: int(h.driver("child-send", ID_NOTE, WM_GETTEXTLENGTH, 0, 0).get("result", "-1"))
    before = length()
    h.driver("keys", VK_SPACE, VK_SPACE)
    h.check(h.wait(lambda: length() == before + 2, 5), "Space in the note view types blanks (%d, %d)" % (before, length()))
    h.driver("keys", VK_BACK)
    h.check(h.wait(lambda: length() == before + 1, 5), "Backspace in the note view deletes a character")
    time.sleep(0.3)
    h.check(folder_count(h) == 3, "Backspace in the note view does not go to the parent")
    h.check(h.state().get("visible") == "1", "the window stays shown")
    h.check(h.close(proc), "ends after the keys")


def focus_rule(h):
    """The main window hands its focus to the thumbnail grid when it shows, else to
    the file list when that shows."""
    proc = started(h)
    if not proc:
        return
    # A folder selected: its files show in place of the grid.
    v = h.driver("rects")
    click(center(box(v, "folder_1")))
    h.check(h.wait(lambda: h.state().get("folder_sel") == "1", 10), "a folder is selected")
    focused = h.driver("focus", 0).get("focused")
    h.check(focused == str(ID_FILES), "with the files shown the focus goes to the file list (%s)" % focused)
    # Home: nothing selected, the grid shows instead.
    click(center(box(v, "tb_1")))
    h.check(h.wait(lambda: h.state().get("folder_sel") == "-1", 10), "Home leaves nothing selected")
    focused = h.driver("focus", 0).get("focused")
    h.check(focused == str(ID_THUMBS), "with the grid shown the focus goes to the grid (%s)" % focused)
    h.check(h.close(proc), "ends after the focus rule")


def tray(h):
    """A right click on the tray icon opens its menu, whose item 14 shows or hides; a
    double click toggles. Clicks and keys are real input on Wine's tray window."""
    proc = started(h)
    if not proc:
        return
    visible = lambda want: h.wait(lambda: h.state().get("visible") == want, 10)
    icon = tray_icon(h)
    if not h.check(icon is not None, "Wine's tray window shows the icon"):
        return h.stop_all()
    click(icon, button=3)
    h.check(h.driver("popup-menu", 5000).get("menu") == "1", "a right click opens the tray menu")
    press("Escape")
    h.check(h.wait(lambda: h.driver("popup-menu", 200).get("menu") == "0", 5), "Esc closes the tray menu")
    h.check(h.state().get("visible") == "1", "closing the menu changes nothing")
    # From the end: "Quit", then item 14 above the separator.
    for want in ("0", "1"):
        click(icon, button=3)
        h.check(h.driver("popup-menu", 5000).get("menu") == "1", "the tray menu opens again")
        press("Up", "Up", "Return")
        h.check(visible(want), "the tray menu's item 14 %s the window" % ("hides" if want == "0" else "shows"))
    for want in ("0", "1"):
        click(icon, count=2)
        h.check(visible(want), "a double click on the icon %s the window" % ("hides" if want == "0" else "shows"))
    click(icon, button=3)
    h.check(h.driver("popup-menu", 5000).get("menu") == "1", "the tray menu opens for Quit")
    press("Up", "Return")
    try:
        code = proc.wait(timeout=30)
    except Exception:
        code = None
    h.check(code == 0, "Quit in the tray menu ends the program (%s)" % code)
    h.check(h.reg_value("Window") is not None, "Quit saved the settings")


def read_mail(path):
    if not os.path.exists(path):
        return None
    values = {}
    with open(path, "rb") as log:
        for line in log.read().decode("cp1252").splitlines():
            key, _, value = line.partition("=")
            values.setdefault(key, []).append(value)
    return values


def send_to(h):
    """Send to: the chosen recipient, the first selected file as subject and attachment."""
    dll = os.path.join(os.path.dirname(os.path.abspath(h.driver_exe)), "MAPI32.dll")
    if not h.check(os.path.exists(dll), "the stand-in mail library is built"):
        return
    stand_in = os.path.join(h.bin, "MAPI32.dll")
    shutil.copy(dll, stand_in)
    log = os.path.join(h.work, "mail.log")
    saved = dict(h.env)
    h.env["WINEDLLOVERRIDES"] = saved.get("WINEDLLOVERRIDES", "") + ";mapi32=n,b"
    h.env["MELVORA_FAKEMAPI_LOG"] = win_path(log)
    try:
        proc = started(h, Emails="a@example.org;b@example.org")
        if not proc:
            return
        # Into "Aurora Lane", then its album "First Light" selected: its files are listed.
        h.driver("select-folder", 0)
        h.driver("child-post", ID_FOLDERS, WM_KEYDOWN, VK_RETURN, 1)
        h.check(h.wait(lambda: folder_count(h) == 3, 10), "into Aurora Lane (%d)" % folder_count(h))
        h.driver("select-folder", 1)
        # Its ".wav" is no kind the file list shows: three songs.
        h.check(h.wait(lambda: h.state().get("file_count") == "3", 10), "First Light's three songs listed")
        for index in (0, 1, 2):
            h.driver("child-send", ID_FILES, LB_SETSEL, 1, index)
        first = win_path(os.path.join(h.library, "Aurora Lane", "First Light", "02 Morning.mp3"))
        for item, recipient in ((101, "a@example.org"), (102, "b@example.org"), (100, "Someone else")):
            if os.path.exists(log):
                os.remove(log)
            h.driver("post", MENU_COMMAND, 0, item)
            mail = h.wait(lambda: read_mail(log), 10)
            if not h.check(mail is not None, "item %d opens the mail dialog" % item):
                continue
            h.check(mail.get("to") == ["1|%s|(null)" % recipient], "item %d: to %s (%s)" % (item, recipient, mail.get("to")))
            h.check(mail.get("subject") == ["02 Morning.mp3"], "item %d: subject the first file's name (%s)" % (item, mail.get("subject")))
            h.check(mail.get("note") == [""], "item %d: an empty body" % item)
            h.check(mail.get("files") == ["1"] and len(mail.get("file", [])) == 1 and
                    mail["file"][0].split("|", 1)[1].lower() == first.lower(),
                    "item %d: only the first of three files attached (%s)" % (item, mail.get("file")))
            h.check(mail.get("flags") == ["8"], "item %d: the mail dialog is asked for" % item)
        # Nothing selected: nothing sent.
        h.driver("child-send", ID_FILES, LB_SETSEL, 0, -1)
        if os.path.exists(log):
            os.remove(log)
        h.driver("post", MENU_COMMAND, 0, 101)
        time.sleep(1)
        h.check(not os.path.exists(log), "without a selected file nothing is sent")
        h.check(h.close(proc), "ends after Send to")
    finally:
        h.env.clear()
        h.env.update(saved)
        if os.path.exists(stand_in):
            os.remove(stand_in)


class UpdateServer(http.server.ThreadingHTTPServer):
    daemon_threads = True


class UpdateHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        server = self.server
        server.paths.append(self.path)
        if self.path.startswith("/check.php"):
            # The first check offers the package; the restarted program is told it is current.
            body = server.offer if server.paths.count(self.path) == 1 else server.current
        elif self.path == "/melvora.bin":
            body = server.package
        else:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def real_update(h):
    """Yes to the update offer starts the real update program, which installs the
    package from the loopback server and starts the program again."""
    real = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(h.driver_exe))), "updater", "Update.exe")
    if not h.check(os.path.exists(real), "the update program is built (%s)" % real):
        return
    with open(h.exe, "rb") as handle:
        old_main = handle.read()
    new_main = old_main + b"MELVORA 1.0.4.0 " * 256
    notes = b"Melvora Browser 1.0.4.0\r\n"
    package = update_road.pack([("melvora.exe", new_main), ("Release Notes.txt", notes)])
    server = UpdateServer(("127.0.0.1", 0), UpdateHandler)
    base = "http://127.0.0.1:%d" % server.server_address[1]
    server.paths = []
    server.package = package
    server.offer = ("OK\r\n1.0.4.0\r\n%d\r\n%s/melvora.bin\r\n" % (update_road.crc(package), base)).encode()
    server.current = b"OK\r\n1.0.3.0\r\n0\r\nhttp://127.0.0.1/none.bin\r\n"
    threading.Thread(target=server.serve_forever, daemon=True).start()
    updater = os.path.join(h.bin, "Update.exe")
    notes_path = os.path.join(h.bin, "Release Notes.txt")
    shutil.copy(real, updater)
    try:
        h.reset(UpdateServer=base)
        proc = h.start(answer="yes")
        try:
            code = proc.wait(timeout=30)
        except Exception:
            code = None
        h.check(code == 0, "the program ends for the update (%s)" % code)
        restarted = h.wait_window(60)
        h.check(restarted, "the updated program starts again")
        h.check(server.paths.count("/melvora.bin") == 1, "the package was downloaded once (%s)" % server.paths)
        with open(h.exe, "rb") as handle:
            h.check(handle.read() == new_main, "the program file is the package's")
        h.check(os.path.exists(notes_path) and open(notes_path, "rb").read() == notes, "the new file is installed")
        leftovers = sorted(set(os.listdir(h.bin)) - {"melvora.exe", "Update.exe", "Release Notes.txt", "update-args.txt"})
        h.check(not leftovers, "nothing of the installation is left behind (%s)" % leftovers)
        if restarted:
            h.check(h.wait(lambda: h.state().get("visible") == "1" and h.state().get("folder_count") == "4", 30),
                    "the restarted window shows the library")
            h.check(h.driver("count-windows").get("count") == "1", "one main window after the restart")
            h.check(server.paths.count("/check.php?id=melvora") == 2, "the restarted program checked again (%s)" % server.paths)
            h.driver("post", WM_CLOSE, 0, 0)
            h.check(h.wait(lambda: h.driver("count-windows").get("count") == "0", 30), "the restarted program ends")
    finally:
        server.shutdown()
        server.server_close()
        # The next scenarios start the program as built.
        h.wait(lambda: h.driver("count-windows").get("count") == "0", 10)
        with open(h.exe, "wb") as handle:
            handle.write(old_main)
        for path in (updater, notes_path):
            if os.path.exists(path):
                os.remove(path)


SCENARIOS = [keys, focus_rule, tray, send_to, real_update]
