#include <gtest/gtest.h>

#include "DesignerTestSupport.h"
#include "SMenu.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

const std::vector<SControlText> kControls = {
    {"BUTTON", 1, "Left", 20, 20, 50, 20, ""},
    {"BUTTON", 2, "Right", 100, 20, 50, 20, ""},
    {"EDIT", 3, "Below", 20, 100, 80, 20, ""},
};

TEST(SDialogEditorMouse, HandleSquaresSurroundTheRecord)
{
    Record record;
    record.SetX(10);
    record.SetY(20);
    record.SetWidth(50);
    record.SetHeight(31);
    struct Case
    {
        int index;
        int left, top;
    };
    // Left 10, top 20, right 60, bottom 51; halves truncate (25 and 15).
    const Case cases[] = {{0, 4, 14}, {1, 32, 14}, {2, 60, 14}, {3, 4, 32},
                          {4, 60, 32}, {5, 4, 51}, {6, 32, 51}, {7, 60, 51}};
    for (const Case& c : cases)
    {
        RECT square;
        record.GetHandleRect(c.index, &square);
        EXPECT_EQ(square.left, c.left) << c.index;
        EXPECT_EQ(square.top, c.top) << c.index;
        EXPECT_EQ(square.right - square.left, 6) << c.index;
        EXPECT_EQ(square.bottom - square.top, 6) << c.index;
    }
    RECT none;
    record.GetHandleRect(8, &none);
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST(SDialogEditorMouse, HitTestOrderGroupsCombosAndTheDialog)
{
    SDesignerFixture f;
    std::vector<SControlText> controls = {
        {"BUTTON", 1, "Under", 40, 60, 40, 20, ""},
        {"GROUP", 2, "Frame", 20, 20, 150, 120, ""},
        {"COMBO", 3, "Drop", 200, 20, 80, 100, ""},
        {"COMBO", 4, "Simple", 200, 150, 80, 100, ""},
        {"BUTTON", 5, "Top", 200, 30, 40, 20, ""},
    };
    ASSERT_TRUE(f.Load(DescriptionText(400, 300, controls)));
    f.Control("Drop")->AssignStyle(WS_VISIBLE | CBS_DROPDOWNLIST);
    f.Control("Simple")->AssignStyle(WS_VISIBLE | CBS_SIMPLE);
    struct Case
    {
        int x, y;
        const char* name; // null: the dialog record; "" nothing
    };
    const Case cases[] = {
        {25, 25, "Frame"},   // on the group's frame
        {50, 65, "Under"},   // inside the group: the control below
        {100, 100, nullptr}, // inside the group over nothing: the dialog
        {165, 100, "Frame"}, // the group's right frame
        {210, 35, "Top"},    // later controls lie on top
        {250, 30, "Drop"},   // the drop-down's edit part
        {250, 60, nullptr},  // below it: not the combo
        {250, 240, "Simple"},
        {390, 290, nullptr},
        {450, 320, ""},      // outside the dialog
    };
    for (const Case& c : cases)
    {
        Record* hit = f.editor.HitTest(f.Client(c.x, c.y));
        if (!c.name)
            EXPECT_EQ(hit, f.editor.GetDialog()) << c.x << "," << c.y;
        else if (!*c.name)
            EXPECT_EQ(hit, nullptr) << c.x << "," << c.y;
        else
            EXPECT_EQ(hit, f.Control(c.name)) << c.x << "," << c.y;
    }
}

TEST(SDialogEditorMouse, ClicksAndCtrlClicksSelect)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    Record* left = f.Control("Left");
    Record* right = f.Control("Right");
    auto click = [&](int x, int y, bool ctrl) {
        POINT point = f.Client(x, y);
        f.input.Click(&f.editor, point);
        f.input.ctrl = ctrl;
        f.Send(WM_LBUTTONDOWN, MK_LBUTTON, point);
        f.input.ctrl = false;
    };
    click(30, 25, false);
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(f.editor.GetPrimary(), left);
    ASSERT_FALSE(f.editor.changes.empty());
    EXPECT_EQ(f.editor.changes.back().first, f.editor.GetDialog());
    EXPECT_EQ(f.editor.changes.back().second, left);

    click(110, 25, true);
    EXPECT_EQ(f.editor.GetSelectedCount(), 2);
    EXPECT_EQ(f.editor.GetPrimary(), right);
    // A click on a selected control makes it primary and keeps the others.
    click(30, 25, false);
    EXPECT_EQ(f.editor.GetSelectedCount(), 2);
    EXPECT_EQ(f.editor.GetPrimary(), left);
    // Ctrl on a selected control deselects it.
    click(30, 25, true);
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(f.editor.GetPrimary(), right);
    // Empty dialog area: the dialog record alone.
    click(250, 150, false);
    EXPECT_TRUE(f.editor.IsDialogSelected());
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);
    // Ctrl-click from the dialog record replaces it.
    click(30, 25, true);
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(f.editor.GetPrimary(), left);
    // Clicks on the rulers do nothing; positions stay.
    f.editor.changes.clear();
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, POINT{10, 100});
    EXPECT_TRUE(f.editor.changes.empty());
    EXPECT_EQ(left->GetX(), 20);
    EXPECT_EQ(f.host.changes, 0);
}

TEST(SDialogEditorMouse, RubberBandCatchesWholeControls)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    // Catches Left and Right whole; Below only partly.
    f.input.Drag(&f.editor, {f.Client(15, 15), f.Client(100, 60), f.Client(160, 110)});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(10, 10));
    ASSERT_EQ(f.editor.GetSelectedCount(), 2);
    EXPECT_EQ(f.editor.GetSelected(0), f.Control("Left"));
    EXPECT_EQ(f.editor.GetSelected(1), f.Control("Right"));
    EXPECT_EQ(f.editor.changes.back().second, f.Control("Left"));

    // Catching nothing while the dialog record was primary: it stays selected.
    f.input.Drag(&f.editor, {f.Client(200, 150), f.Client(250, 180)});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(190, 140));
    EXPECT_TRUE(f.editor.IsDialogSelected());

    // Escape cancels: the selection is what the press made it.
    f.input.Drag(&f.editor, {f.Client(15, 15), f.Client(200, 150)}, true);
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(10, 10));
    EXPECT_TRUE(f.editor.IsDialogSelected());
    EXPECT_EQ(f.host.changes, 0);
}

TEST(SDialogEditorMouse, MoveDragSnapsAndLandsWhereItsOutlineShowed)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    Record* left = f.Control("Left");
    Record* right = f.Control("Right");
    f.editor.Select(left);
    f.editor.AddToSelection(right);
    // Pressed on Left (selected: stays primary, Right stays selected), moved by (13, 7).
    f.input.Drag(&f.editor, {f.Client(40, 32), f.Client(48, 37)});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(35, 30));
    EXPECT_EQ(left->GetX(), 30);
    EXPECT_EQ(left->GetY(), 25);
    EXPECT_EQ(right->GetX(), 110);
    EXPECT_EQ(right->GetY(), 25);
    EXPECT_EQ(f.host.changes, 1);

    // Ctrl turns the grid off: 1-px steps.
    f.input.ctrl = true;
    f.input.Drag(&f.editor, {f.Client(38, 32)});
    EXPECT_TRUE(f.editor.MoveDrag(f.Client(35, 30)));
    f.input.ctrl = false;
    EXPECT_EQ(left->GetX(), 33);
    EXPECT_EQ(left->GetY(), 27);
    EXPECT_EQ(right->GetX(), 113);

    // Dragged far up and left: the records stop at the design area's edge.
    f.editor.Select(left);
    f.input.Drag(&f.editor, {f.Client(40, 30), f.Client(-200, -200)});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(40, 30));
    EXPECT_EQ(left->GetX(), 0);
    EXPECT_EQ(left->GetY(), 0);

    // Released where it started, or ended by Escape: nothing changes.
    int changes = f.host.changes;
    f.input.Drag(&f.editor, {f.Client(30, 10), f.Client(10, 5)}, true);
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(10, 5));
    f.input.Drag(&f.editor, {f.Client(30, 10), f.Client(10, 5)});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(10, 5));
    EXPECT_EQ(left->GetX(), 0);
    EXPECT_EQ(left->GetY(), 0);
    EXPECT_EQ(f.host.changes, changes);

    // A locked record does not move.
    left->SetLocked(true);
    f.input.Drag(&f.editor, {f.Client(20, 20), f.Client(60, 60)});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(10, 5));
    EXPECT_EQ(left->GetX(), 0);
    EXPECT_EQ(f.host.changes, changes);
}

TEST(SDialogEditorMouse, ResizeDragFollowsTheHandle)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    Record* left = f.Control("Left");
    Record* right = f.Control("Right");
    f.editor.Select(left);
    f.editor.AddToSelection(right);
    // Handle 7 (bottom-right) of the primary at design (70, 40): only the primary stays selected.
    POINT handle = f.Client(72, 42);
    f.input.Drag(&f.editor, {handle, POINT{handle.x + 23, handle.y + 12}});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, handle);
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(left->GetX(), 20);
    EXPECT_EQ(left->GetWidth(), 70);
    EXPECT_EQ(left->GetHeight(), 30);
    ASSERT_NE(left->GetWnd(), nullptr);
    EXPECT_EQ(left->GetWnd()->GetWindowWidth(), 70);
    EXPECT_EQ(f.host.changes, 1);

    // Handle 3 (middle-left) dragged past the right edge stops 10 px before it.
    RECT square;
    f.editor.GetClientHandleRect(left, 3, &square);
    POINT start = {square.left + 2, square.top + 2};
    f.input.Drag(&f.editor, {start, POINT{start.x + 300, start.y}});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, start);
    EXPECT_EQ(left->GetX(), 80);
    EXPECT_EQ(left->GetWidth(), 10);

    // The dialog record grows from its bottom-right handle; it stays at the origin.
    f.editor.Select(f.editor.GetDialog());
    f.editor.GetClientHandleRect(f.editor.GetDialog(), 7, &square);
    start = {square.left + 1, square.top + 1};
    f.input.Drag(&f.editor, {start, POINT{start.x + 20, start.y + 10}});
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, start);
    EXPECT_EQ(f.editor.GetDialog()->GetWidth(), 320);
    EXPECT_EQ(f.editor.GetDialog()->GetHeight(), 210);
    EXPECT_EQ(f.editor.GetDialog()->GetX(), 0);

    EXPECT_FALSE(f.editor.ResizeDrag(start, 8));
}

TEST(SDialogEditorMouse, InsertToolPlacesControlsWithDefaults)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {{"BUTTON", 1, "BUTTON1", 200, 150, 50, 20, ""}})));
    ASSERT_TRUE(f.editor.SetInsertTool(SDialogEditor::TYPE_BUTTON));
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(33, 47));
    ASSERT_EQ(f.editor.GetControlCount(), 2);
    Record* placed = f.editor.GetControl(1);
    EXPECT_EQ(placed->GetType(), SDialogEditor::TYPE_BUTTON);
    EXPECT_EQ(placed->GetX(), 30);
    EXPECT_EQ(placed->GetY(), 45);
    EXPECT_EQ(placed->GetWidth(), 100);
    EXPECT_EQ(placed->GetHeight(), 25);
    EXPECT_STREQ(placed->GetName(), "BUTTON2");
    EXPECT_EQ(placed->GetID(), 2);
    EXPECT_STREQ(placed->GetCaption(), "Button");
    EXPECT_NE(placed->GetWnd(), nullptr);
    // Not selected; the tool is the selection tool again; the parent heard of it.
    EXPECT_FALSE(f.editor.IsSelected(placed));
    EXPECT_EQ(f.editor.GetInsertTool(), -1);
    EXPECT_EQ(f.host.changes, 1);

    // Without snapping the point is kept.
    f.editor.SetSnapToGrid(false);
    f.editor.SetInsertTool(SDialogEditor::TYPE_LABEL);
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(33, 47));
    Record* label = f.editor.GetControl(2);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetX(), 33);
    EXPECT_EQ(label->GetY(), 47);
    EXPECT_STREQ(label->GetName(), "LABEL1");
    EXPECT_EQ(label->GetID(), 3);

    // The owner refuses: nothing is added and the tool stays.
    f.editor.refuseAdd = true;
    f.editor.SetInsertTool(SDialogEditor::TYPE_EDIT);
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(60, 60));
    EXPECT_EQ(f.editor.GetControlCount(), 3);
    EXPECT_EQ(f.editor.GetInsertTool(), SDialogEditor::TYPE_EDIT);
    EXPECT_EQ(f.host.changes, 2);
}

TEST(SDialogEditorMouse, ExternalControlsComeFromTheMenu)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {})));
    ASSERT_TRUE(f.editor.AddExternControl("Gauge", "gauge.dll"));
    ASSERT_TRUE(f.editor.AddExternControl("Dial", "dial.dll"));
    EXPECT_EQ(f.editor.GetExternControlCount(), 2);
    // The chosen command places the control; a command without an item places nothing.
    f.editor.SendMessage(SMENU_COMMAND, 0, 101);
    f.editor.SendMessage(SMENU_COMMAND, 0, 150);
    ASSERT_EQ(f.editor.GetControlCount(), 1);
    Record* placed = f.editor.GetControl(0);
    EXPECT_EQ(placed->GetType(), SDialogEditor::TYPE_EXTERN);
    EXPECT_STREQ(placed->GetProperty("EXTERN_NAME"), "Dial");
    EXPECT_STREQ(placed->GetProperty("EXTERN_FILENAME"), "dial.dll");
    EXPECT_EQ(f.host.changes, 1);

    for (int i = 2; i < 100; i++)
        EXPECT_TRUE(f.editor.AddExternControl("More", "more.dll"));
    EXPECT_FALSE(f.editor.AddExternControl("Over", "over.dll"));
}

TEST(SDialogEditorMouse, RightButtonSelectsBeforeThePopup)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.Select(f.Control("Left"));
    f.editor.AddToSelection(f.Control("Right"));
    f.Send(WM_RBUTTONDOWN, MK_RBUTTON, f.Client(110, 25));
    EXPECT_EQ(f.editor.GetSelectedCount(), 2);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("Right"));
    f.Send(WM_RBUTTONDOWN, MK_RBUTTON, f.Client(30, 105));
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("Below"));
    f.Send(WM_RBUTTONDOWN, MK_RBUTTON, f.Client(250, 150));
    EXPECT_TRUE(f.editor.IsDialogSelected());
}

TEST(SDialogEditorMouse, PointerOverHandlesAndRulerMarks)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.Select(f.Control("Left"));
    POINT over = f.Client(30, 60);
    f.Send(WM_MOUSEMOVE, 0, over);
    EXPECT_EQ(f.editor.GetRulerMarkX(), over.x);
    EXPECT_EQ(f.editor.GetRulerMarkY(), over.y);
    // Leaving the window clears the marks.
    f.editor.SendMessage(WM_APP + 1019, 0, 0);
    EXPECT_EQ(f.editor.GetRulerMarkX(), -1);
    EXPECT_EQ(f.editor.GetRulerMarkY(), -1);
    EXPECT_EQ(f.editor.HitTestHandle(f.Client(72, 42)), 7);
    EXPECT_EQ(f.editor.HitTestHandle(f.Client(45, 17)), 1);
    EXPECT_EQ(f.editor.HitTestHandle(f.Client(45, 30)), -1);
}

} // namespace
