"""Scenarios of the designer end-to-end test: placing, selecting, moving and
resizing, Tab order and painting. Each takes the harness, starts its own host
on the start description and checks the saved description after every action."""
import time

import designer_e2e as e2e
from designer_e2e import (button, center, click, drag, edit, key, label, press_and_move, release, screenshot,
                          start_sections)

BUTTON, EDIT, LABEL = 2, 6, 11


def place_controls(h):
    """The insert tool places a control with the type's defaults, a unique NAME and a
    free ID at the pointer rounded down to the grid, then returns to the selection tool."""
    sections = start_sections()
    # A generated name already taken is skipped.
    sections[3].values["NAME"] = "LABEL1"
    host = h.start(sections)
    if not host.ready:
        return
    placements = [(BUTTON, 63, 152, button(3, "BUTTON1", 60, 150)),
                  (BUTTON, 201, 207, button(4, "BUTTON2", 200, 205)),
                  (EDIT, 33, 248, edit(6, "EDIT1", 30, 245)),
                  (LABEL, 254, 99, label(7, "LABEL2", 250, 95))]
    for tool, x, y, expected in placements:
        click(*host.button(0, tool))
        h.check(e2e.wait(lambda: host.state().get("tool") == str(tool)), "the panel picks tool %d" % tool)
        click(*host.screen(x, y))
        sections.append(expected)
        h.expect(host, sections, "%s placed at %s with its defaults" % (expected.name, expected.values["POSITION"]))
        h.check(host.state().get("tool") == "-1", "the selection tool is back after placing %s" % expected.name)
        h.check(host.selection() == ["Form"], "the placed %s is not selected" % expected.name)
    # The selection tool on the placed control selects it: it is a control like the others.
    click(*host.screen(*center(sections[-1])))
    h.expect_selection(host, ["LABEL2"], "the placed label selects with a click")
    shot = screenshot()
    # The placed edit shows its white client area, the placed button its dark bottom edge.
    ex, ey = host.screen(*center(sections[6]))
    h.check(min(shot.pixel(ex, ey)) >= 230, "the placed edit is painted (%s)" % (shot.pixel(ex, ey),))
    bx, by, bw, bh = sections[4].rect()
    corner = shot.pixel(*host.screen(bx + bw - 1, by + bh - 1))
    h.check(max(corner) < 160, "the placed button's frame is painted (%s)" % (corner,))


def select_controls(h):
    """Clicks, Ctrl-clicks and the rubber band choose the selection; the primary comes first."""
    sections = start_sections()
    host = h.start(sections)
    if not host.ready:
        return
    ok, name, note = sections[1], sections[2], sections[3]
    h.expect_selection(host, ["Form"], "a loaded description selects the dialog")
    steps = [(ok, False, ["Ok"], "a click selects a control"),
             (name, True, ["Name", "Ok"], "Ctrl-click adds a control and makes it primary"),
             (note, True, ["Note", "Ok", "Name"], "a second Ctrl-click adds another as primary"),
             (name, True, ["Note", "Ok"], "Ctrl-click on a selected control deselects it"),
             (ok, False, ["Ok", "Note"], "a click on a selected control makes it primary")]
    for section, ctrl, names, what in steps:
        click(*host.screen(*center(section)), ctrl=ctrl)
        h.expect_selection(host, names, what)
    h.unchanged(host, sections, "clicks without movement move nothing")
    # The primary has handles, every selected control a frame, the others nothing.
    shot = screenshot()
    x, y, width, height = ok.rect()
    color = shot.pixel(*host.screen(x + width + 3, y + height + 3))
    h.check(color is not None and max(color) - min(color) > 40, "the primary's handle is filled (%s)" % (color,))
    nx, ny, nw, nh = note.rect()
    frame = [shot.pixel(*host.screen(nx - 1, ny + 5)), shot.pixel(*host.screen(nx - 2, ny + 5)),
             shot.pixel(*host.screen(nx + nw, ny + nh)), shot.pixel(*host.screen(nx + nw + 1, ny + 3))]
    h.check(all(pixel == color for pixel in frame), "a selected control has a 2-px frame (%s)" % (frame,))
    h.check(shot.pixel(*host.screen(nx + nw + 3, ny + nh + 3)) != color, "a secondary selection has no handles")
    mx, my, mw, mh = name.rect()
    h.check(shot.pixel(*host.screen(mx - 1, my + 5)) != color, "an unselected control has no frame")
    # The rubber band catches the controls wholly inside it, in list order.
    click(*host.screen(350, 250))
    h.expect_selection(host, ["Form"], "a click on the dialog selects the dialog")
    drag([host.screen(10, 10), host.screen(150, 40), host.screen(310, 60)])
    h.expect_selection(host, ["Ok", "Note"], "the rubber band selects the controls inside it")
    drag([host.screen(300, 150), host.screen(130, 100), host.screen(10, 70)])
    h.expect_selection(host, ["Name"], "a band drawn backwards catches the control inside it")
    click(*host.screen(350, 250))
    drag([host.screen(330, 200), host.screen(350, 220), host.screen(380, 250)])
    h.expect_selection(host, ["Form"], "a band that catches nothing leaves the dialog selected")
    click(*host.screen(*center(note)))
    h.expect_selection(host, ["Note"], "a click selects again")
    click(*host.screen(450, 350))
    h.expect_selection(host, ["Form"], "a click beside the dialog selects the dialog")
    key("Escape")
    h.expect_selection(host, [], "Escape selects nothing")
    h.unchanged(host, sections, "selecting changes no record")


def move_and_resize(h):
    """Drags and arrow keys move and resize; moves snap down to the grid."""
    sections = start_sections()
    host = h.start(sections)
    if not host.ready:
        return
    ok, name, note = sections[1], sections[2], sections[3]
    cx, cy = host.screen(*center(ok))
    drag([(cx, cy), (cx + 20, cy + 10), (cx + 33, cy + 21)])
    ok.set_rect(x=50, y=40)
    h.expect(host, sections, "a drag moves the control by the pointer, rounded down to the grid")
    h.expect_selection(host, ["Ok"], "the dragged control is selected")
    cx, cy = host.screen(*center(ok))
    drag([(cx, cy), (cx + 40, cy + 40), (cx + 60, cy + 50)], escape=True)
    h.unchanged(host, sections, "Escape cancels a drag")
    drag([(cx, cy), (cx + 30, cy), (cx, cy)])
    h.unchanged(host, sections, "a drag released where it started moves nothing")
    # Dragged past the design area's top-left corner, the outline stops at the corner and
    # the control lands where its outline showed.
    before = screenshot()
    press_and_move([(cx, cy), (cx - 30, cy - 20), (cx - 90, cy - 70)])
    during = screenshot()
    release()
    ok.set_rect(x=0, y=0)
    h.expect(host, sections, "a drag past the corner lands where the outline stopped")
    top_row = [host.screen(x, 0) for x in range(10, 90)]
    changed = sum(1 for x, y in top_row if before.pixel(x, y) != during.pixel(x, y))
    h.check(changed >= 20, "the outline showed along the design area's top edge (%d pixels)" % changed)
    cx, cy = host.screen(*center(ok))
    drag([(cx, cy), (cx + 20, cy + 20), (cx + 50, cy + 40)])
    ok.set_rect(x=50, y=40)
    h.expect(host, sections, "the control dragged back")
    # Arrows move by the grid step, with Ctrl by one pixel; Shift resizes.
    click(*host.screen(*center(name)))
    h.expect_selection(host, ["Name"], "the edit selected for the keys")
    key_steps = [("Right", dict(x=25)), ("ctrl+Right", dict(x=26)), ("Down", dict(y=85)), ("Up", dict(y=80)),
                 ("Left", dict(x=21)), ("shift+Right", dict(width=125)), ("shift+Down", dict(height=25)),
                 ("shift+Up", dict(height=20)), ("shift+Up", dict(height=15)), ("shift+Up", dict(height=10)),
                 ("ctrl+shift+Left", dict(width=124))]
    for name_of_key, change in key_steps:
        key(name_of_key)
        name.set_rect(**change)
        h.expect(host, sections, "%s gives %s" % (name_of_key, name.values["POSITION"]))
    key("shift+Up")
    h.unchanged(host, sections, "Shift+Up stops at a height of 10")
    # The bottom-right handle resizes; edges snap down; a control never gets narrower than 10.
    click(*host.screen(*center(note)))
    h.expect_selection(host, ["Note"], "the label selected for resizing")
    x, y, width, height = note.rect()
    hx, hy = host.screen(x + width + 3, y + height + 3)
    drag([(hx, hy), (hx + 10, hy + 5), (hx + 22, hy + 13)])
    note.set_rect(width=120, height=30)
    h.expect(host, sections, "the bottom-right handle resizes to the grid")
    x, y, width, height = note.rect()
    lx, ly = host.screen(x - 3, y + height // 2)
    drag([(lx, ly), (lx + 100, ly), (lx + 200, ly + 30)])
    note.set_rect(x=310, width=10)
    h.expect(host, sections, "the left handle stops 10 px from the right edge")
    # Several selected controls move together.
    click(*host.screen(350, 250))
    drag([host.screen(10, 10), host.screen(200, 150)])
    h.expect_selection(host, ["Ok", "Name"], "two controls caught for moving together")
    key("Down")
    ok.set_rect(y=45)
    name.set_rect(y=85)
    h.expect(host, sections, "Down moves every selected control")
    cx, cy = host.screen(*center(name))
    drag([(cx, cy), (cx + 7, cy + 12), (cx + 12, cy + 12)])
    ok.set_rect(x=60, y=55)
    name.set_rect(x=30, y=95)
    h.expect(host, sections, "a drag moves every selected control")
    # The dialog record is resized by its handle, never moved by keys.
    click(*host.screen(390, 290))
    h.expect_selection(host, ["Form"], "the dialog selected")
    key("Right")
    h.unchanged(host, sections, "arrows do not move the dialog")
    key("shift+Right")
    sections[0].set_rect(width=405)
    h.expect(host, sections, "Shift+Right widens the dialog")


def tab_order(h):
    """Tab walks the controls in list order from the dialog and wraps around."""
    sections = start_sections()
    host = h.start(sections)
    if not host.ready:
        return
    click(*host.screen(350, 250))
    for names in (["Ok"], ["Name"], ["Note"], ["Ok"]):
        key("Tab")
        h.expect_selection(host, names, "Tab selects %s" % names[0])
    key("shift+Tab")
    h.expect_selection(host, ["Name"], "Shift+Tab also goes forward")
    h.unchanged(host, sections, "Tab changes no record")


def painting(h):
    """Grid dots, rulers with their ticks, and the pointer's marks on the rulers."""
    sections = start_sections()
    host = h.start(sections)
    if not host.ready:
        return
    # Nothing selected, so that no frame covers the dialog's edges; the pointer away
    # from the rulers, so that no mark stands on them.
    key("Escape")
    e2e.xdo("mousemove", *host.screen(380, 280))
    time.sleep(0.3)
    shot = screenshot()
    fill = shot.pixel(*host.screen(352, 252))
    dot = tuple(255 if channel < 128 else 0 for channel in fill)
    # Dots at multiples of the grid less one, in the dialog's free area.
    dots = [(x, y) for x in (304, 309, 349, 394) for y in (104, 149, 294)]
    h.check(all(shot.pixel(*host.screen(x, y)) == dot for x, y in dots),
            "grid dots every 5 px (%s)" % [shot.pixel(*host.screen(x, y)) for x, y in dots[:3]])
    between = [(x, y) for x in (305, 307, 351) for y in (102, 150)]
    h.check(all(shot.pixel(*host.screen(x, y)) == fill for x, y in between), "no dots between the grid points")
    # Beside the dialog lies the workspace.
    workspace = shot.pixel(*host.screen(420, 150))
    h.check(workspace != fill, "the workspace differs from the dialog (%s)" % (workspace,))
    # The dialog's shadow lines along its right and bottom edges.
    black = (0, 0, 0)
    right = [shot.pixel(*host.screen(x, 151)) for x in (399, 400)]
    bottom = [shot.pixel(*host.screen(201, y)) for y in (299, 300)]
    h.check(black in right and black in bottom, "shadow lines along the right and bottom edge (%s %s)"
            % (right, bottom))
    # Rulers: ticks of 4, 8 and 20 px at multiples of 5, 10 and 100 along the band's bottom edge.
    ox, oy = host.origin()
    designer = host.rect("designer")
    top = designer[1]
    ruler_back = shot.pixel(designer[0] + 5, top + 5)

    def tick_length(x):
        return sum(1 for y in range(top, top + 21) if shot.pixel(x, y) != ruler_back)

    lengths = {offset: tick_length(ox + offset) for offset in (45, 50, 55, 100, 200, 47)}
    h.check(3 <= lengths[45] <= 5 and 3 <= lengths[55] <= 5, "4-px ticks every 5 (%s)" % lengths)
    h.check(7 <= lengths[50] <= 9, "8-px ticks every 10 (%s)" % lengths)
    h.check(lengths[100] >= 19 and lengths[200] >= 19, "20-px ticks every 100 (%s)" % lengths)
    h.check(lengths[47] <= 1, "no tick between (%s)" % lengths)
    left = designer[0]
    vertical = {offset: sum(1 for x in range(left, left + 21) if shot.pixel(x, oy + offset) != ruler_back)
                for offset in (45, 50, 100, 47)}
    h.check(3 <= vertical[45] <= 5 and 7 <= vertical[50] <= 9 and vertical[100] >= 19 and vertical[47] <= 1,
            "the vertical ruler has the same ticks (%s)" % vertical)
    # The pointer's marks: a line across each band at the pointer.
    e2e.xdo("mousemove", ox + 243, oy + 117)
    time.sleep(0.4)
    shot = screenshot()
    h.check(tick_length(ox + 243) >= 18, "a mark on the horizontal ruler follows the pointer (%d)"
            % tick_length(ox + 243))
    marked = sum(1 for x in range(left, left + 21) if shot.pixel(x, oy + 117) != ruler_back)
    h.check(marked >= 18, "a mark on the vertical ruler follows the pointer (%d)" % marked)


SCENARIOS = [place_controls, select_controls, move_and_resize, tab_order, painting]
