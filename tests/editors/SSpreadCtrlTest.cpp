#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <string>

#include "../controls/InactiveParent.h"
#include "ChangeParent.h"
#include "../window/PumpSupport.h"
#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SFileMem.h"
#include "SSpreadCtrl.h"

namespace
{

class SpreadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateInactiveParent(parent, 500, 300));
        RECT rect = {0, 0, 500, 300};
        ASSERT_TRUE(grid.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle()));
        for (int i = 0; i < 4; i++)
            grid.InsertColumn(-1, "", 60);
        for (int i = 0; i < 5; i++)
            grid.InsertRow(-1);
    }
    LPARAM CellPoint(int column, int row)
    {
        RECT rect;
        EXPECT_TRUE(grid.GetCellRect(&rect, column, row));
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    ChangeParent parent;
    SSpreadCtrl grid;
};

} // namespace

TEST_F(SpreadTest, ColumnsRowsAndTitles)
{
    EXPECT_EQ(grid.GetColumnCount(), 4);
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.InsertColumn(1, "Name", -5), 1);
    EXPECT_EQ(grid.GetColumnWidth(1), 80);
    EXPECT_EQ(grid.GetColumnWidth(0), 60);
    EXPECT_EQ(grid.GetRowHeight(0), 20);
    EXPECT_STREQ(grid.GetColumnTitleText(1), "Name");
    EXPECT_STREQ(grid.GetColumnTitleText(0), "A");
    while (grid.GetColumnCount() < 27)
        grid.InsertColumn(-1, "", 0);
    EXPECT_STREQ(grid.GetColumnTitleText(25), "Z");
    EXPECT_STREQ(grid.GetColumnTitleText(26), "[");
    EXPECT_GE(grid.GetRowHeaderWidth(), 30);

    // Packed cells keep rows past 65535 apart.
    EXPECT_NE(SSpreadCtrl::PackCell(0, 70000), SSpreadCtrl::PackCell(0, 70000 - 65536));
    EXPECT_EQ(SSpreadCtrl::CellRow(SSpreadCtrl::PackCell(3, 70000)), 70000);
    EXPECT_EQ(SSpreadCtrl::CellColumn(SSpreadCtrl::PackCell(3, 70000)), 3);
}

TEST_F(SpreadTest, AlignmentFollowsStyleOrContent)
{
    grid.SetRangeText(0, 0, "12.5", 1, 1);
    grid.SetRangeText(1, 0, "abc", 1, 1);
    grid.SetRangeText(2, 0, "7", 1, 1);
    grid.GetTable()->SetCell(0, "3", "x");
    SString* style = grid.GetTable()->GetCellStyle(0, 3);
    ASSERT_NE(style, nullptr);
    *style = "HAlign=center;valign=bottom";
    struct Case
    {
        int column;
        UINT flags;
    } cases[] = {{0, DT_RIGHT | DT_VCENTER}, {1, DT_LEFT | DT_VCENTER}, {2, DT_RIGHT | DT_VCENTER},
                 {3, DT_CENTER | DT_BOTTOM}};
    for (const Case& c : cases)
        EXPECT_EQ(grid.GetCellAlignment(c.column, 0), c.flags) << c.column;
    grid.RedrawNow();
}

TEST_F(SpreadTest, SelectionRules)
{
    grid.SelectCell(1, 1);
    EXPECT_EQ(grid.GetSelCount(), 1);
    grid.DeselectCell(1, 1);
    EXPECT_TRUE(grid.IsCellSelected(1, 1));
    grid.SelectRange(2, 3, -1, -1);
    EXPECT_EQ(grid.GetSelCount(), 2 * 2);
    EXPECT_EQ(grid.GetCurrentColumn(), 2);
    EXPECT_EQ(grid.GetCurrentRow(), 3);
    grid.SelectRange(3, 4, 1, 2);
    EXPECT_EQ(grid.GetSelCount(), 9);
    EXPECT_EQ(grid.GetCurrentColumn(), 1);
    EXPECT_EQ(grid.GetCurrentRow(), 2);
    // Adding a rectangle keeps what was selected; its top-left cell becomes current.
    grid.AddRangeToSelection(0, 0, 1, 1);
    EXPECT_EQ(grid.GetSelCount(), 9 + 4);
    EXPECT_EQ(grid.GetCurrentColumn(), 0);
    EXPECT_EQ(grid.GetCurrentRow(), 0);
    EXPECT_EQ(grid.GetSelColumn(0), 0);
    EXPECT_EQ(grid.GetSelRow(99), 0);
    grid.DeselectCell(0, 0);
    EXPECT_EQ(grid.GetCurrentColumn(), 1);
    EXPECT_EQ(grid.GetCurrentRow(), 0);
    grid.AddCellToSelection(3, 0);
    EXPECT_EQ(grid.GetCurrentColumn(), 3);
    grid.SelectCell(9, 9);
    grid.SelectRange(9, 0, 1, 1);
    EXPECT_EQ(grid.GetSelCount(), 9 + 4);

    grid.SendMessage(SMENU_COMMAND, 0, SSpreadCtrl::CMD_SELECTALL);
    EXPECT_EQ(grid.GetSelCount(), 20);
    grid.SetSelectedText("z");
    EXPECT_STREQ(grid.GetCellText(3, 4), "z");
}

TEST_F(SpreadTest, DeletingRowsAndColumnsPrunesTheSelection)
{
    grid.SelectRange(1, 1, 2, 3);
    grid.DeleteColumn(1);
    EXPECT_EQ(grid.GetSelCount(), 3);
    for (int i = 0; i < grid.GetSelCount(); i++)
        EXPECT_EQ(grid.GetSelColumn(i), 1);
    EXPECT_EQ(grid.GetCurrentColumn(), 1);
    EXPECT_EQ(grid.GetCurrentRow(), 1);
    grid.DeleteRow(0, 2);
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetSelCount(), 2);
    EXPECT_EQ(grid.GetSelRow(0), 0);
    EXPECT_EQ(grid.GetCurrentRow(), 0);
    grid.SendMessage(SMENU_COMMAND, 0, SSpreadCtrl::CMD_DELETECOLUMN);
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetSelCount(), 0);
    EXPECT_EQ(grid.GetSelColumn(0), -1);
    grid.SendMessage(SMENU_COMMAND, 0, SSpreadCtrl::CMD_INSERTROW);
    EXPECT_EQ(grid.GetRowCount(), 4);
    grid.DeleteRow(7, 1);
    grid.DeleteColumn(-1);
    EXPECT_EQ(grid.GetColumnCount(), 2);
}

// A table longer than 16 bits of rows: cells 65536 rows apart stay apart in the
// selection, the current cell and after a deletion above them.
TEST_F(SpreadTest, RowsPastSixteenBitsNeverAlias)
{
    const int farRow = 70000, nearRow = farRow - 65536;
    // Read from the table text in one go: growing a table row by row copies its lists again
    // every 64 rows.
    std::string text("TAVRIN TABLE 1.0.0.0\0" "4\0" "70001\0\0\0", 31);
    text.append(3 * 4, '\0');
    text.append((size_t)(farRow + 1) * (2 + 3 * 4), '\0');
    SFileMem stream;
    ASSERT_TRUE(stream.Allocate(0));
    ASSERT_EQ(stream.Write(text.data(), (int)text.size()), (int)text.size());
    stream.Rewind();
    ASSERT_TRUE(grid.LoadFile(&stream, true));
    ASSERT_EQ(grid.GetRowCount(), farRow + 1);
    grid.SelectCell(2, farRow);
    EXPECT_EQ(grid.GetSelRow(0), farRow);
    EXPECT_EQ(grid.GetCurrentRow(), farRow);
    EXPECT_FALSE(grid.IsCellSelected(2, nearRow));
    grid.AddCellToSelection(2, nearRow);
    EXPECT_EQ(grid.GetSelCount(), 2);
    grid.SetSelectedText("x");
    EXPECT_STREQ(grid.GetCellText(2, farRow), "x");
    EXPECT_STREQ(grid.GetCellText(2, nearRow), "x");
    EXPECT_STREQ(grid.GetCellText(2, nearRow + 1), "");
    grid.DeleteRow(0, 1);
    ASSERT_EQ(grid.GetSelCount(), 2);
    EXPECT_EQ(grid.GetSelRow(0), nearRow - 1);
    EXPECT_EQ(grid.GetSelRow(1), farRow - 1);
    // The scroll bar reaches the last row, and the click there selects it.
    grid.SetVScrollPos(farRow - 1);
    grid.SendMessage(WM_S_VSCROLLED, 0, 0);
    EXPECT_EQ(grid.GetVScrollPos(), farRow - 1);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(1, farRow - 1));
    EXPECT_EQ(grid.GetCurrentRow(), farRow - 1);
    EXPECT_EQ(grid.GetSelCount(), 1);
    // A long column is released off the window's thread; the grid goes on at once.
    grid.DeleteColumn(0);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_STREQ(grid.GetCellText(1, farRow - 1), "x");
    EXPECT_EQ(grid.GetCurrentColumn(), 0);
}

TEST_F(SpreadTest, HitTestAndScrollBars)
{
    int header = grid.GetRowHeaderWidth();
    int column = -1, row = -1;
    EXPECT_EQ(grid.HitTest(1, 1, &column, &row), SSpreadCtrl::HIT_CORNER);
    EXPECT_EQ(grid.HitTest(header + 61, 5, &column, &row), SSpreadCtrl::HIT_COLUMN);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(grid.HitTest(3, 45, &column, &row), SSpreadCtrl::HIT_ROW);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(grid.HitTest(header + 130, 65, &column, &row), SSpreadCtrl::HIT_CELL);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(grid.HitTest(header + 300, 65, &column, &row), SSpreadCtrl::HIT_NONE);
    RECT rect;
    ASSERT_TRUE(grid.GetCellRect(&rect, 1, 1));
    EXPECT_EQ(rect.left, header + 60);
    EXPECT_EQ(rect.right, header + 119);
    EXPECT_EQ(rect.top, 40);

    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 45));
    EXPECT_EQ(grid.GetSelCount(), 4);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(header + 61, 5));
    EXPECT_EQ(grid.GetSelCount(), 5);

    // With one column the horizontal bar stays; with one row the vertical one goes.
    grid.DeleteColumn(0);
    grid.DeleteColumn(0);
    grid.DeleteColumn(0);
    grid.DeleteRow(0, 4);
    EXPECT_TRUE(grid.GetStyle() & WS_HSCROLL);
    EXPECT_FALSE(grid.GetStyle() & WS_VSCROLL);
}

TEST_F(SpreadTest, EditingAndKeys)
{
    grid.SelectCell(1, 1);
    grid.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    grid.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid.GetCurrentColumn(), 2);
    EXPECT_EQ(grid.GetCurrentRow(), 2);
    grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_NE(grid.GetEditBox(), nullptr);
    grid.GetEditBox()->SetWindowText("hello");
    grid.GetEditBox()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(grid.GetEditBox(), nullptr);
    EXPECT_STREQ(grid.GetCellText(2, 2), "hello");
    EXPECT_EQ(parent.changes, 1);

    // Escape keeps the text; a click elsewhere stores it.
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, CellPoint(0, 0));
    ASSERT_NE(grid.GetEditBox(), nullptr);
    grid.GetEditBox()->SetWindowText("no");
    grid.GetEditBox()->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_STREQ(grid.GetCellText(0, 0), "");
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, CellPoint(0, 0));
    ASSERT_NE(grid.GetEditBox(), nullptr);
    grid.GetEditBox()->SetWindowText("kept");
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(3, 3));
    PumpPending();
    EXPECT_STREQ(grid.GetCellText(0, 0), "kept");

    grid.SelectRange(0, 0, 2, 2);
    grid.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_STREQ(grid.GetCellText(2, 2), "");
    EXPECT_STREQ(grid.GetCellText(0, 0), "");
    int changes = parent.changes;
    grid.SetRangeText(0, 0, "x", 9, 9);
    EXPECT_STREQ(grid.GetCellText(3, 4), "x");
    grid.OnDelete();
    EXPECT_EQ(parent.changes, changes + 1);
    EXPECT_STREQ(grid.GetCellText(0, 0), "");
    EXPECT_STREQ(grid.GetCellText(3, 4), "x");
}

TEST_F(SpreadTest, LoadFileRoundTripAndDamagedInput)
{
    grid.SetRangeText(0, 0, "a", 2, 2);
    grid.SelectCell(3, 3);
    SFileMem saved;
    ASSERT_TRUE(grid.GetTable()->SaveTable(&saved, false));
    SSpreadCtrl other;
    RECT rect = {0, 0, 100, 100};
    ASSERT_TRUE(other.CreateChildNoCaption(0, 0, &rect, parent.GetHandle()));
    saved.Rewind();
    ASSERT_TRUE(other.LoadFile(&saved, true));
    EXPECT_EQ(other.GetColumnCount(), 4);
    EXPECT_EQ(other.GetRowCount(), 5);
    EXPECT_STREQ(other.GetCellText(1, 1), "a");
    EXPECT_EQ(other.GetSelCount(), 1);
    EXPECT_EQ(other.GetCurrentColumn(), 0);

    SFileMem damaged;
    damaged.WriteStringZ("TAVRIN TABLE 9\r\ngarbage");
    damaged.Rewind();
    EXPECT_FALSE(other.LoadFile(&damaged, true));
    EXPECT_STREQ(other.GetCellText(1, 1), "a");
}

TEST(SSpreadFactory, PreviewHasThreeByThree)
{
    RegisterEditorControls();
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
    SDialogEditor::_SCtrl record;
    record.SetType(SDialogEditor::TYPE_SPREAD);
    record.SetName("SHEET");
    record.SetWidth(300);
    record.SetHeight(200);
    record.AssignStyle(WS_CHILD | WS_VISIBLE);
    struct Case
    {
        bool visible;
        int size;
    } cases[] = {{false, 3}, {true, 0}};
    for (const Case& c : cases)
    {
        SWnd* control = SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, c.visible);
        SSpreadCtrl* grid = dynamic_cast<SSpreadCtrl*>(control);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->GetKind(), SKIND_SPREAD);
        EXPECT_EQ(grid->GetColumnCount(), c.size);
        EXPECT_EQ(grid->GetRowCount(), c.size);
        EXPECT_STREQ(grid->GetName(), "SHEET");
        delete control;
    }
}
