"""Scenarios of the designer end-to-end test for the commands on the selection:
the tool panel's alignment, order and dialog groups, the clipboard within one host
and between two, undo, the popup menu with its TAB pages, and Test."""
import subprocess
import time

import designer_e2e as e2e
from designer_e2e import Section, button, center, click, drag, key, screenshot, start_sections

ALIGNMENT, ORDER, MISC = 1, 2, 3


def column_sections():
    """Three buttons in a loose column, for the commands on several controls."""
    dialog = Section("DIALOG", 0, "Form", "Form", 0, 0, 400, 300)
    return [dialog, button(1, "A", 30, 20), button(2, "B", 50, 70, 80, 25), button(3, "C", 20, 130, 120, 30)]


def find_windows(name):
    """X windows whose name is exactly the text."""
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=e2e.TIMEOUT)
    return result.stdout.decode().split()


def geometry(window):
    result = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, timeout=e2e.TIMEOUT)
    values = dict(line.split("=", 1) for line in result.stdout.decode().split() if "=" in line)
    return {key: int(value) for key, value in values.items() if value.lstrip("-").isdigit()}


def panel(h, host, group, id, what):
    h.check(host.state().get("button.%d.%d" % (group, id)) is not None, "the panel has %s" % what)
    click(*host.button(group, id))


def panel_commands(h):
    """Alignment, spacing, size and order buttons act on the selection; Grid and Snap switch."""
    sections = column_sections()
    host = h.start(sections)
    if not host.ready:
        return
    a, b, c = sections[1], sections[2], sections[3]
    drag([host.screen(10, 10), host.screen(200, 200)])
    h.expect_selection(host, ["A", "B", "C"], "the band selects the column with A primary")
    steps = [(0, "Align Lefts", [(b, dict(x=30)), (c, dict(x=30))]),
             (1, "Align Rights", [(b, dict(x=50)), (c, dict(x=10))]),
             (4, "Horizontal Center", [(a, dict(x=160)), (b, dict(x=180)), (c, dict(x=140))]),
             (7, "Vertical Space", [(b, dict(y=70)), (c, dict(y=120))]),
             (9, "No Vertical Spacing", [(b, dict(y=45)), (c, dict(y=70))]),
             (10, "Same Width", [(b, dict(width=100)), (c, dict(width=100))]),
             (11, "Same Height", [(c, dict(height=25))])]
    for id, what, changes in steps:
        panel(h, host, ALIGNMENT, id, what)
        for section, change in changes:
            section.set_rect(**change)
        h.expect(host, sections, "%s on the column" % what)
    # Order: the selected control goes to the end or the start of the list.
    click(*host.screen(350, 250))
    click(*host.screen(*center(a)))
    h.expect_selection(host, ["A"], "A alone for the order commands")
    panel(h, host, ORDER, 0, "To Front")
    sections[1:] = [b, c, a]
    h.expect(host, sections, "To Front puts A last")
    panel(h, host, ORDER, 1, "To Back")
    sections[1:] = [a, b, c]
    h.expect(host, sections, "To Back puts A first")
    # Snap off: the arrows move by one pixel; the grid off: no dots.
    panel(h, host, MISC, 1, "Snap to Grid")
    time.sleep(0.3)
    click(*host.screen(*center(a)))
    key("Right")
    a.set_rect(x=a.rect()[0] + 1)
    h.expect(host, sections, "without snapping an arrow moves by one pixel")
    panel(h, host, MISC, 0, "Grid")
    time.sleep(0.4)
    shot = screenshot()
    points = [host.screen(x, y) for x in (304, 349) for y in (204, 249)]
    fill = shot.pixel(*host.screen(352, 252))
    h.check(all(shot.pixel(x, y) == fill for x, y in points), "the Grid button hides the dots")
    panel(h, host, MISC, 0, "Grid")
    time.sleep(0.4)
    shot = screenshot()
    h.check(all(shot.pixel(x, y) != fill for x, y in points), "the Grid button shows them again")


def clipboard_and_undo(h):
    """Copy, cut and paste within a host and into a second one; undo takes edits back."""
    sections = start_sections()
    fancy = Section("LABEL", 9, "Fancy", "Fancy", 250, 200, 100, 30, "WS_VISIBLE WS_BORDER ", "WS_EX_STATICEDGE ",
                    [("TABINDEX", "4"), ("LABEL_HALIGN", "_RIGHT"), ("TOOLTIP", "a tip")])
    fancy.values.update({"FONT": "Arial, 12, 1", "BACKCOLOR": "#102030", "TEXTCOLOR": "#405060",
                         "TRANSPARENT": "1", "ISLOCKED": "1"})
    sections.append(fancy)
    host = h.start(sections)
    if not host.ready:
        return
    ok, note = sections[1], sections[3]
    click(*host.screen(*center(ok)))
    key("ctrl+c")
    time.sleep(0.3)
    h.unchanged(host, sections, "Copy changes nothing")
    key("ctrl+v")
    copy = ok.copy()
    copy.values.update({"ID": "3", "NAME": "BUTTON1"})
    sections.append(copy)
    h.expect(host, sections, "Paste adds a copy with a new ID and, its name taken, a generated name")
    h.expect_selection(host, ["BUTTON1"], "the pasted control is selected")
    key("ctrl+z")
    sections.pop()
    h.expect(host, sections, "Undo takes the paste back")
    h.expect_selection(host, ["Ok"], "Undo restores the selection")
    click(*host.screen(*center(note)))
    key("ctrl+x")
    sections.remove(note)
    h.expect(host, sections, "Cut removes the control")
    key("ctrl+z")
    sections.insert(3, note)
    h.expect(host, sections, "Undo brings the cut control back in its place")
    h.expect_selection(host, ["Note"], "and selects it again")
    # The locked label copied into a second host keeps every field.
    click(*host.screen(*center(fancy)))
    h.expect_selection(host, ["Fancy"], "a locked control is selected by a click")
    key("ctrl+c")
    time.sleep(0.3)
    other_sections = [Section("DIALOG", 0, "Other", "Other", 0, 0, 400, 300), button(1, "Ok", 20, 20)]
    other = h.start(other_sections, top=490, name="other")
    if not other.ready:
        return
    click(*other.screen(350, 150))
    key("ctrl+v")
    pasted = fancy.copy()
    pasted.values["ID"] = "2"
    other_sections.append(pasted)
    h.expect(other, other_sections, "the second host pastes the control with every field and a free ID")
    h.expect_selection(other, ["Fancy"], "the pasted control is selected in the second host")
    key("ctrl+v")
    second = fancy.copy()
    second.values.update({"ID": "3", "NAME": "LABEL1"})
    other_sections.append(second)
    h.expect(other, other_sections, "pasting again gives the next copy a generated name")
    key("Delete")
    other_sections.pop()
    h.expect(other, other_sections, "Delete removes the selected copy")
    h.unchanged(host, sections, "the first host is untouched by the second")


def popup_menu(h):
    """The right button selects and opens the menu; its commands act as the keys do."""
    sections = start_sections()
    tab = Section("TAB", 6, "Pages", "Tab", 150, 150, 200, 100, "WS_VISIBLE TCS_TOOLTIPS ", "",
                  [("TABINDEX", "-1"), ("TAB_SELECTION", "0"), ("TAB_CONTENT", "One | Two"),
                   ("TAB_TIPCONTENT", "Tip 1 | Tip 2")])
    sections.append(tab)
    host = h.start(sections)
    if not host.ready:
        return
    ok = sections[1]
    click(*host.screen(*center(ok)), button=3)
    h.expect_selection(host, ["Ok"], "the right button selects the control under it")
    # Cut, Copy, Paste, Select All, Test: Copy is the second.
    key("Down", "Down", "Return")
    time.sleep(0.3)
    click(*host.screen(370, 120), button=3)
    h.expect_selection(host, ["Form"], "the right button on the dialog selects the dialog")
    key("Down", "Down", "Down", "Return")
    copy = ok.copy()
    copy.values.update({"ID": "3", "NAME": "BUTTON1"})
    sections.append(copy)
    h.expect(host, sections, "the menu's Copy and Paste copy the control")
    click(*host.screen(370, 120), button=3)
    key("Down", "Down", "Down", "Down", "Return")
    h.expect_selection(host, ["Ok", "Name", "Note", "Pages", "BUTTON1"], "the menu's Select All")
    # The TAB's pages: put Name on page One, then show page Two, which hides Name.
    click(*host.screen(*center(tab)), button=3)
    h.expect_selection(host, ["Pages", "Name", "Note", "Ok", "BUTTON1"],
                       "the right button on a selected control makes it primary")
    key("Escape")
    click(*host.screen(370, 120))
    click(*host.screen(*center(tab)), button=3)
    h.expect_selection(host, ["Pages"], "the right button selects the TAB")
    # Down to the first page's submenu (after Cut, Copy, Paste, Select All), open it on
    # Select, then the second control.
    key("Down", "Down", "Down", "Down", "Down", "Right", "Down", "Down", "Return")
    tab.extra.append(("TAB_CHILDREN_PRIVATE", "0 2 "))
    h.expect(host, sections, "the page menu puts Name on page One")
    click(*host.screen(*center(tab)), button=3)
    key("Down", "Down", "Down", "Down", "Down", "Down", "Right", "Return")
    tab.extra[1] = ("TAB_SELECTION", "1")
    h.expect(host, sections, "the page menu's Select shows page Two")
    name = sections[2]
    time.sleep(0.3)
    shot = screenshot()
    fill = shot.pixel(*host.screen(381, 121))
    h.check(shot.pixel(*host.screen(*center(name))) == fill, "a control of a hidden page is not painted")
    click(*host.screen(*center(name)))
    h.expect_selection(host, ["Form"], "a control of a hidden page is not hit")


def test_dialog(h):
    """Test builds the dialog and runs it; it closes and leaves the designer as it was."""
    sections = start_sections()
    host = h.start(sections)
    if not host.ready:
        return
    click(*host.screen(*center(sections[3])))
    h.expect_selection(host, ["Note"], "Note selected before the test")
    click(*host.screen(370, 120), button=3)
    h.expect_selection(host, ["Form"], "the dialog selected by the right button")
    key("Up", "Return")
    windows = e2e.wait(lambda: find_windows("Form"), 10)
    h.check(bool(windows), "Test shows the built dialog")
    if not windows:
        return
    place = geometry(windows[0])
    h.check(place.get("WIDTH", 0) >= 400 and place.get("HEIGHT", 0) >= 300,
            "the built dialog has the described size (%s)" % place)
    e2e.xdo("mousemove", place.get("X", 0) + 20, place.get("Y", 0) + 20)
    time.sleep(0.2)
    key("Escape")
    h.check(e2e.wait(lambda: not find_windows("Form"), 10), "Escape closes the built dialog")
    h.unchanged(host, sections, "the test leaves the description as it was")
    h.check(host.selection() == ["Form"], "and the selection")
    click(*host.screen(*center(sections[1])))
    h.expect_selection(host, ["Ok"], "the designer takes clicks again after the test")


def external_controls(h):
    """The EXTERN tool offers the owner's external controls in a menu at the pointer, or
    says that there are none."""
    sections = start_sections()
    host = h.start(sections)
    if not host.ready:
        return
    click(*host.button(0, 33))
    click(*host.screen(120, 200))
    h.check(e2e.wait(lambda: host.state().get("messages") == "Error: No external controls.;"),
            "without external controls the error is shown (%s)" % host.state().get("messages"))
    h.check(host.state().get("tool") == "-1", "the selection tool is back")
    h.unchanged(host, sections, "nothing is placed")
    h.stop_all()
    host = h.start(sections, externs=[("Meter", "meter.ext"), ("Dial", "dial.ext")])
    if not host.ready:
        return
    click(*host.button(0, 33))
    click(*host.screen(123, 207))
    key("Down", "Down", "Return")
    sections.append(Section("EXTERN", 3, "EXTERN1", "External Control", 120, 205, 150, 150, "WS_VISIBLE ",
                            "WS_EX_CLIENTEDGE ", [("EXTERN_NAME", "Dial"), ("EXTERN_FILENAME", "dial.ext"),
                                                  ("TABINDEX", "-1")]))
    h.expect(host, sections, "the chosen external control is placed at the menu's point")
    h.check(host.state().get("messages") == "", "no message with external controls")


def undo_edits(h):
    """Ctrl+Z takes back moves, resizes, placements and deletions one by one."""
    sections = start_sections()
    host = h.start(sections)
    if not host.ready:
        return
    ok, name = sections[1], sections[2]
    states = [description_copy(sections)]
    cx, cy = host.screen(*center(ok))
    drag([(cx, cy), (cx + 40, cy + 60)])
    ok.set_rect(x=60, y=80)
    h.expect(host, sections, "a drag to undo")
    states.append(description_copy(sections))
    key("shift+Down")
    ok.set_rect(height=30)
    h.expect(host, sections, "a resize to undo")
    states.append(description_copy(sections))
    click(*host.button(0, 2))
    click(*host.screen(250, 150))
    sections.append(button(3, "BUTTON1", 250, 150))
    h.expect(host, sections, "a placement to undo")
    states.append(description_copy(sections))
    click(*host.screen(*center(name)))
    key("Delete")
    sections.remove(name)
    h.expect(host, sections, "a deletion to undo")
    for index, state in enumerate(reversed(states)):
        key("ctrl+z")
        h.expect(host, state, "undo step %d" % (index + 1))
    key("ctrl+z")
    h.unchanged(host, states[0], "with nothing left to undo Ctrl+Z changes nothing")


def description_copy(sections):
    return [section.copy() for section in sections]


SCENARIOS = [panel_commands, clipboard_and_undo, popup_menu, test_dialog, external_controls, undo_edits]
