"""Scenario of the designer end-to-end test for the property sheet: edits of every
kind of item write into the selected record, are saved, and undo takes them back."""
import time

import designer_e2e as e2e
from designer_e2e import center, click, key, start_sections, type_text


def sheet_edits(h):
    """Text, integer, Yes/No, choice, colour and font items, a refused rename, and undo."""
    sections = start_sections()
    ok = sections[1]
    ok.values.update({"BACKCOLOR": "#102030", "FONT": "Arial, 12, 1"})
    host = h.start(sections)
    if not host.ready:
        return
    click(*host.screen(*center(ok)))
    h.expect_selection(host, ["Ok"], "the button selected for the sheet")
    if not h.check(e2e.wait(lambda: host.row("$GENERAL", "CAPTION")[1] == "Ok"), "the sheet shows the button"):
        return

    def cell(group, item):
        place, _ = host.row(group, item)
        return place

    def select_row(group, item):
        left, top, right, bottom = cell(group, item)
        click(left + 30, (top + bottom) // 2)
        time.sleep(0.2)

    def edit_text(group, item, text):
        select_row(group, item)
        key("Return")
        time.sleep(0.2)
        type_text(text)
        key("Return")

    def press_button(group, item, number):
        """The n-th small button from the right of the item's value cell."""
        select_row(group, item)
        left, top, right, bottom = cell(group, item)
        click(right - 7 - 14 * number, (top + bottom) // 2)

    edit_text("$GENERAL", "CAPTION", "Go on")
    ok.values["CAPTION"] = "Go on"
    h.expect(host, sections, "a text item sets the caption")
    edit_text("$POSITION", "X", "57")
    ok.set_rect(x=57)
    h.expect(host, sections, "an integer item sets X without snapping")
    select_row("$STYLE", "BUTTON_FLAT")
    key("Return")
    ok.values["STYLE"] += "BS_FLAT "
    h.expect(host, sections, "a Yes/No item toggles its style bit")
    left, top, right, bottom = cell("$STYLE", "BUTTON_HALIGN")
    e2e.xdo("mousemove", left + 30, (top + bottom) // 2, "click", "--repeat", 2, "--delay", 80, 1)
    ok.values["STYLE"] = "WS_VISIBLE BS_RIGHT BS_TOP BS_BOTTOM BS_VCENTER BS_FLAT "
    h.expect(host, sections, "a double click steps a choice item to the next choice")
    h.check(e2e.wait(lambda: host.row("$STYLE", "BUTTON_HALIGN")[1] == "Right"), "the choice shows Right")
    press_button("$COLOR", "BACKCOLOR", 0)
    ok.values["BACKCOLOR"] = e2e.NONE_COLOR
    h.expect(host, sections, "a colour item's first button takes the colour away")
    press_button("$GENERAL", "FONT", 0)
    # The face emptied is the default font; size and style stay as they were.
    ok.values["FONT"] = ", 12, 1"
    h.expect(host, sections, "a font item's first button gives back the default font")
    edit_text("$VALUE", "TOOLTIP", "Press it")
    ok.extra.append(("TOOLTIP", "Press it"))
    h.expect(host, sections, "a text item of an extra property writes it")
    # A taken name is refused with the designer's message; a free one is taken.
    edit_text("$GENERAL", "NAME", "Name")
    h.check(e2e.wait(lambda: host.state().get("messages") == "Error: This name already exists.;"),
            "a taken name shows the message (%s)" % host.state().get("messages"))
    h.unchanged(host, sections, "a taken name changes nothing")
    edit_text("$GENERAL", "NAME", "Go")
    ok.values["NAME"] = "Go"
    h.expect(host, sections, "a free name renames the control")
    h.check(e2e.wait(lambda: host.row("$GENERAL", "NAME")[1] == "Go"), "the sheet shows the new name")
    # Every sheet edit is an undo step of the designer.
    click(*host.screen(*center(ok)))
    for undone in (lambda: ok.values.update(NAME="Ok"), lambda: ok.extra.pop(),
                   lambda: ok.values.update(FONT="Arial, 12, 1")):
        key("ctrl+z")
        undone()
        h.expect(host, sections, "undo takes a sheet edit back (%s)" % ok.values["NAME"])


SCENARIOS = [sheet_edits]
