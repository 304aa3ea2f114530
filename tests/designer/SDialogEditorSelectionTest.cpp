#include <gtest/gtest.h>

#include "DesignerTestSupport.h"
#include "SMenu.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

const std::vector<SControlText> kThree = {
    {"BUTTON", 1, "First", 10, 10, 50, 20, ""},
    {"BUTTON", 2, "Second", 100, 40, 60, 30, ""},
    {"EDIT", 3, "Third", 30, 120, 80, 20, ""},
};

TEST(SDialogEditorSelection, OperationsOfTheSelectionList)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kThree)));
    Record* first = f.Control("First");
    Record* second = f.Control("Second");
    Record* third = f.Control("Third");
    Record* dialog = f.editor.GetDialog();
    ASSERT_TRUE(first && second && third && dialog);
    // A loaded description starts with the dialog record selected.
    EXPECT_TRUE(f.editor.IsDialogSelected());

    f.editor.ClearSelection();
    EXPECT_EQ(f.editor.GetSelectedCount(), 0);
    EXPECT_FALSE(f.editor.IsDialogSelected());
    EXPECT_TRUE(f.editor.AddToSelection(first));
    EXPECT_FALSE(f.editor.AddToSelection(first));
    EXPECT_FALSE(f.editor.AddToSelection(nullptr));
    EXPECT_TRUE(f.editor.AddToSelection(second));
    EXPECT_TRUE(f.editor.AddToSelection(third));
    EXPECT_EQ(f.editor.GetSelected(0), first);
    EXPECT_EQ(f.editor.GetSelected(3), nullptr);
    EXPECT_EQ(f.editor.GetSelected(-1), nullptr);
    EXPECT_EQ(f.editor.GetSelectedIndex(third), 2);
    EXPECT_EQ(f.editor.GetSelectedIndex(nullptr), -1);
    EXPECT_TRUE(f.editor.IsIDSelected(2));
    EXPECT_FALSE(f.editor.IsIDSelected(9));

    EXPECT_TRUE(f.editor.MakePrimary(third));
    EXPECT_EQ(f.editor.GetSelected(0), third);
    EXPECT_EQ(f.editor.GetSelected(2), first);
    EXPECT_FALSE(f.editor.MakePrimary(dialog));

    RECT bounds = f.editor.GetSelectionBounds();
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, 10);
    EXPECT_EQ(bounds.right, 160);
    EXPECT_EQ(bounds.bottom, 140);

    EXPECT_FALSE(f.editor.IsSelectionLocked());
    second->SetLocked(true);
    EXPECT_TRUE(f.editor.IsSelectionLocked());
    EXPECT_TRUE(f.editor.Deselect(second));
    EXPECT_FALSE(f.editor.Deselect(second));
    EXPECT_FALSE(f.editor.IsSelectionLocked());

    f.editor.changes.clear();
    f.editor.Select(dialog);
    EXPECT_TRUE(f.editor.IsDialogSelected());
    ASSERT_EQ(f.editor.changes.size(), 1u);
    EXPECT_EQ(f.editor.changes[0].first, third);
    EXPECT_EQ(f.editor.changes[0].second, dialog);
    f.editor.Select(nullptr);
    EXPECT_EQ(f.editor.GetSelectedCount(), 0);
    RECT none = f.editor.GetSelectionBounds();
    EXPECT_TRUE(IsRectEmpty(&none));

    EXPECT_EQ(f.editor.GetControlIndex(third), 2);
    EXPECT_EQ(f.editor.GetControlIndex(dialog), -1);
}

TEST(SDialogEditorSelection, StepsGridAndInsertTool)
{
    SDesignerFixture f;
    // Init: a 5 x 5 grid, snapping, grid and rulers on.
    EXPECT_EQ(f.editor.GetGridWidth(), 5);
    EXPECT_EQ(f.editor.GetGridHeight(), 5);
    EXPECT_TRUE(f.editor.IsSnapToGrid());
    EXPECT_TRUE(f.editor.IsGridVisible());
    EXPECT_TRUE(f.editor.HasRulers());
    f.editor.SetGrid(8, 0);
    EXPECT_EQ(f.editor.GetGridWidth(), 8);
    EXPECT_EQ(f.editor.GetGridHeight(), 1);
    f.editor.SetGrid(8, 6);
    EXPECT_EQ(f.editor.GetStepX(false), 8);
    EXPECT_EQ(f.editor.GetStepY(true), 1);

    struct Case
    {
        int type;
        bool accepted;
        int toolAfter;
    };
    const Case cases[] = {{5, true, 5}, {5, true, 5}, {33, true, 33}, {-1, true, -1}, {0, false, -1},
                          {34, false, -1}, {-2, false, -1}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(f.editor.SetInsertTool(c.type), c.accepted) << c.type;
        EXPECT_EQ(f.editor.GetInsertTool(), c.toolAfter) << c.type;
    }
}

TEST(SDialogEditorSelection, CoordinatesFollowRulersAndScrolling)
{
    SDesignerFixture f(400, 300);
    f.editor.UpdateLayout();
    RECT area = f.editor.GetDesignArea();
    RECT client;
    f.editor.GetClientRect(&client);
    EXPECT_EQ(area.left, 22);
    EXPECT_EQ(area.top, 22);
    EXPECT_EQ(area.right, client.right);
    RECT horizontal = f.editor.GetHorzRulerRect();
    RECT vertical = f.editor.GetVertRulerRect();
    EXPECT_EQ(horizontal.left, 22);
    EXPECT_EQ(horizontal.bottom, 22);
    EXPECT_EQ(vertical.right, 22);
    EXPECT_EQ(vertical.bottom, client.bottom);

    POINT point = {30, 50};
    f.editor.ClientToDesign(&point);
    EXPECT_EQ(point.x, 8);
    EXPECT_EQ(point.y, 28);
    f.editor.SetHScrollPos(40, false);
    f.editor.SetVScrollPos(15, false);
    point = {30, 50};
    f.editor.ClientToDesign(&point);
    EXPECT_EQ(point.x, 48);
    EXPECT_EQ(point.y, 43);
    RECT rect = {48, 43, 58, 53};
    f.editor.DesignToClient(&rect);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.bottom, 60);

    f.editor.SetRulers(false);
    area = f.editor.GetDesignArea();
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    RECT band = f.editor.GetHorzRulerRect();
    EXPECT_TRUE(IsRectEmpty(&band));
    point = {30, 50};
    f.editor.ClientToDesign(&point);
    EXPECT_EQ(point.x, 70);
    EXPECT_EQ(point.y, 65);

    // Both bars run 0 to 2000; the wheel scrolls by one line of 5.
    EXPECT_EQ(f.editor.GetScrollMax(true), 2000);
    f.editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), 0);
    EXPECT_EQ(f.editor.GetVScrollPos(), 20);
    f.editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(f.editor.GetVScrollPos(), 15);
}

TEST(SDialogEditorSelection, HiddenTabControlsAreSkippedBySelectAllAndTab)
{
    SDesignerFixture f;
    // Tab 1 shows page 0: control 2 sits on page 1 only and is hidden; 3 is on both.
    std::vector<SControlText> controls = {
        {"TAB", 1, "Pages", 5, 5, 200, 150, "TAB_SELECTION=0\r\nTAB_CHILDREN_PRIVATE=1 2 0 3 1 3\r\n"},
        {"BUTTON", 2, "Hidden", 20, 40, 50, 20, ""},
        {"BUTTON", 3, "Shown", 20, 80, 50, 20, ""},
        {"BUTTON", 4, "Free", 250, 10, 50, 20, ""},
    };
    ASSERT_TRUE(f.Load(DescriptionText(400, 300, controls)));
    SArray<Record*> hidden;
    f.editor.GetHiddenControls(&hidden);
    ASSERT_EQ(hidden.GetCount(), 1);
    EXPECT_EQ(hidden.GetAt(0), f.Control("Hidden"));

    f.editor.SelectAll(true);
    ASSERT_EQ(f.editor.GetSelectedCount(), 3);
    EXPECT_EQ(f.editor.GetSelected(0), f.Control("Pages"));
    EXPECT_EQ(f.editor.GetSelected(1), f.Control("Shown"));
    EXPECT_FALSE(f.editor.IsSelected(f.editor.GetDialog()));

    // Tab from the TAB goes past the hidden button.
    f.editor.Select(f.Control("Pages"));
    f.editor.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("Shown"));

    // Another page shown: the button comes back, the other one goes.
    f.Control("Pages")->SetPropertyInt("TAB_SELECTION", 1);
    hidden.RemoveAll();
    f.editor.GetHiddenControls(&hidden);
    EXPECT_EQ(hidden.GetCount(), 0);
}

TEST(SDialogEditorSelection, TabWalksTheControlListAndWraps)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kThree)));
    f.editor.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("First"));
    ASSERT_EQ(f.editor.changes.size(), 1u);
    EXPECT_EQ(f.editor.changes[0].first, f.editor.GetDialog());
    f.editor.Select(f.Control("Third"));
    f.input.shift = true;
    f.editor.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    f.input.shift = false;
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("First"));
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);

    // Nothing happens with two selected.
    f.editor.AddToSelection(f.Control("Second"));
    f.editor.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("First"));
    EXPECT_EQ(f.editor.GetSelectedCount(), 2);

    SDesignerFixture single;
    ASSERT_TRUE(single.Load(DescriptionText(300, 200, {kThree[0]})));
    single.editor.Select(single.Control("First"));
    single.editor.changes.clear();
    single.editor.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(single.editor.GetPrimary(), single.Control("First"));
    EXPECT_TRUE(single.editor.changes.empty());
}

TEST(SDialogEditorSelection, ArrowKeysMoveBySteps)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kThree)));
    Record* first = f.Control("First");
    Record* second = f.Control("Second");
    f.editor.Select(first);
    f.editor.AddToSelection(second);

    struct Case
    {
        bool snap;
        bool ctrl;
        int key;
        int dx, dy;
    };
    const Case cases[] = {
        {true, false, VK_RIGHT, 5, 0}, {true, false, VK_DOWN, 0, 5}, {true, true, VK_LEFT, -1, 0},
        {false, false, VK_UP, 0, -1},  {false, true, VK_RIGHT, 5, 0},
    };
    for (const Case& c : cases)
    {
        f.editor.SetSnapToGrid(c.snap);
        f.input.ctrl = c.ctrl;
        int x1 = first->GetX(), y1 = first->GetY(), x2 = second->GetX(), y2 = second->GetY();
        int changes = f.host.changes;
        f.editor.SendMessage(WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(first->GetX(), x1 + c.dx) << c.key;
        EXPECT_EQ(first->GetY(), y1 + c.dy) << c.key;
        EXPECT_EQ(second->GetX(), x2 + c.dx) << c.key;
        EXPECT_EQ(second->GetY(), y2 + c.dy) << c.key;
        EXPECT_EQ(f.host.changes, changes + 1) << c.key;
    }
    f.input.ctrl = false;
    f.editor.SetSnapToGrid(true);

    // Positions stop at the 16-bit end instead of wrapping round.
    first->SetX(32765);
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(first->GetX(), 32767);
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(first->GetX(), 32767);

    // Refused: a locked record, the dialog record, nothing selected.
    second->SetLocked(true);
    int x = first->GetX();
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(first->GetX(), x);
    second->SetLocked(false);
    f.editor.Select(f.editor.GetDialog());
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(f.editor.GetDialog()->GetX(), 0);
    f.editor.Select(nullptr);
    int changes = f.host.changes;
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(f.host.changes, changes);
}

TEST(SDialogEditorSelection, ShiftArrowsResizeOneRecord)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {{"BUTTON", 1, "Narrow", 10, 10, 12, 12, ""}})));
    Record* narrow = f.Control("Narrow");
    f.editor.Select(narrow);
    f.input.shift = true;
    f.editor.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(narrow->GetWidth(), 7);
    f.editor.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(narrow->GetWidth(), 7);
    f.editor.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(narrow->GetHeight(), 17);
    f.editor.SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(narrow->GetHeight(), 12);
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(narrow->GetWidth(), 12);
    // The preview window follows the record.
    ASSERT_NE(narrow->GetWnd(), nullptr);
    EXPECT_EQ(narrow->GetWnd()->GetWindowWidth(), 12);
    // The dialog record can be resized too; a locked record cannot.
    f.editor.Select(f.editor.GetDialog());
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(f.editor.GetDialog()->GetWidth(), 305);
    narrow->SetLocked(true);
    f.editor.Select(narrow);
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(narrow->GetWidth(), 12);
    f.input.shift = false;
}

TEST(SDialogEditorSelection, DeleteAsksTheOwnerForEveryRecord)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kThree)));
    Record* first = f.Control("First");
    Record* second = f.Control("Second");
    f.editor.Select(first);
    f.editor.AddToSelection(second);

    // The owner refuses the primary: everything stays, the primary is no longer selected.
    f.editor.refuseRemoveIds = {1};
    EXPECT_FALSE(f.editor.DeleteSelection());
    EXPECT_EQ(f.editor.GetControlCount(), 3);
    EXPECT_FALSE(f.editor.IsSelected(first));
    EXPECT_EQ(f.host.changes, 0);

    // The owner refuses one of the others: that one stays.
    f.editor.Select(first);
    f.editor.AddToSelection(second);
    f.editor.AddToSelection(f.Control("Third"));
    f.editor.refuseRemoveIds = {3};
    f.editor.removeAsked.clear();
    f.editor.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(f.editor.GetControlCount(), 1);
    EXPECT_NE(f.Control("Third"), nullptr);
    EXPECT_EQ(f.editor.removeAsked, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(f.editor.GetSelectedCount(), 0);
    EXPECT_EQ(f.host.changes, 1);

    // The dialog record is never deleted.
    f.editor.Select(f.editor.GetDialog());
    EXPECT_FALSE(f.editor.DeleteSelection());
    EXPECT_NE(f.editor.GetDialog(), nullptr);
}

TEST(SDialogEditorSelection, RemoveControlDeselectsFirst)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kThree)));
    Record* second = f.Control("Second");
    f.editor.Select(second);
    f.editor.refuseRemoveIds = {2};
    f.editor.changes.clear();
    EXPECT_FALSE(f.editor.RemoveControl(second, true));
    EXPECT_EQ(f.editor.GetControlIndex(second), 1);
    EXPECT_FALSE(f.editor.IsSelected(second));
    ASSERT_EQ(f.editor.changes.size(), 1u);
    EXPECT_EQ(f.editor.changes[0].first, second);
    EXPECT_EQ(f.editor.changes[0].second, nullptr);
    EXPECT_TRUE(f.editor.RemoveControl(second, false));
    EXPECT_EQ(f.editor.GetControlCount(), 2);
    Record outside;
    EXPECT_FALSE(f.editor.RemoveControl(&outside, false));
    f.editor.RemoveAllControls();
    EXPECT_EQ(f.editor.GetControlCount(), 0);
}

TEST(SDialogEditorSelection, MenuCommandsEscapeAndDoubleClick)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kThree)));
    f.editor.SendMessage(SMENU_COMMAND, 0, 13);
    EXPECT_EQ(f.editor.GetSelectedCount(), 3);
    f.editor.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(f.editor.GetSelectedCount(), 0);
    f.editor.Select(f.Control("Second"));
    f.editor.SendMessage(SMENU_COMMAND, 0, 14);
    EXPECT_EQ(f.editor.GetControlCount(), 2);
    EXPECT_EQ(f.host.changes, 1);

    f.editor.Select(f.Control("First"));
    f.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, f.Client(200, 150));
    ASSERT_EQ(f.editor.clicked.size(), 1u);
    EXPECT_EQ(f.editor.clicked[0], f.Control("First"));
    // On the ruler: not in the design area.
    f.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, POINT{5, 5});
    EXPECT_EQ(f.editor.clicked.size(), 1u);
}

TEST(SDialogEditorSelection, NothingActsBeforeADescriptionIsOpen)
{
    SDesignerFixture f;
    EXPECT_FALSE(f.editor.IsOpen());
    f.editor.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(20, 20));
    EXPECT_EQ(f.editor.GetSelectedCount(), 0);
    EXPECT_TRUE(f.editor.changes.empty());
}

} // namespace
