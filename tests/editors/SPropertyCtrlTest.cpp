#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include "../controls/InactiveParent.h"
#include "../window/PumpSupport.h"
#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SPropertyCtrl.h"
#include "SSelector.h"

namespace
{

// A grid whose veto answer the test chooses, counting the calls.
class VetoGrid : public SPropertyCtrl
{
public:
    bool OnItemChanged(int, _SItem*) override
    {
        asked++;
        return accept;
    }
    bool accept = true;
    int asked = 0;
};

// Pickers that answer at once with a chosen colour and font.
class FakePickers : public SSelectorDialogs
{
public:
    FakePickers() { m_previous = SSelector::SetDialogs(this); }
    ~FakePickers() override { SSelector::SetDialogs(m_previous); }
    bool ChooseColor(CHOOSECOLORA* info) override
    {
        info->rgbResult = RGB(10, 20, 30);
        return confirm;
    }
    bool ChooseFont(CHOOSEFONTA* info) override
    {
        strcpy(info->lpLogFont->lfFaceName, "Courier New");
        info->lpLogFont->lfWeight = FW_BOLD;
        info->lpLogFont->lfItalic = FALSE;
        info->iPointSize = 120;
        return confirm;
    }
    bool GetOpenFileName(OPENFILENAMEA*) override { return false; }
    bool BrowseForFolder(BROWSEINFOA*, char*) override { return false; }
    bool confirm = true;

private:
    SSelectorDialogs* m_previous;
};

class PropertyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateInactiveParent(parent, 360, 300));
        RECT rect = {0, 0, 360, 300};
        ASSERT_TRUE(grid.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle()));
        ASSERT_EQ(grid.AddGroup("main", "Main", -1, true), 0);
        SStringArray choices;
        choices.Add("L|Left");
        choices.Add("C|Centre");
        choices.Add("R");
        grid.SetItem(0, "title", "Title", SPropertyCtrl::KIND_TEXT, "fixed", nullptr, -1);
        grid.SetItem(0, "visible", "Visible", SPropertyCtrl::KIND_YESNO, "1", nullptr, -1);
        grid.SetItem(0, "back", "Back", SPropertyCtrl::KIND_COLOR, "255", nullptr, -1);
        grid.SetItem(0, "caption", "Caption", SPropertyCtrl::KIND_EDIT, "Hello", nullptr, -1);
        grid.SetItem(0, "width", "Width", SPropertyCtrl::KIND_INTEGER, "12abc", nullptr, -1);
        grid.SetItem(0, "ratio", "Ratio", SPropertyCtrl::KIND_REAL, "0.250", nullptr, -1);
        grid.SetItem(0, "font", "Font", SPropertyCtrl::KIND_FONT, "Tahoma, 8, 3", nullptr, -1);
        grid.SetItem(0, "align", "Align", SPropertyCtrl::KIND_CHOICE, "C", &choices, -1);
    }
    // Client point of a row's value cell, n buttons from its right end (-1: the cell's left part).
    LPARAM ValuePoint(int row, int button) const
    {
        int y = (row - grid.GetVScrollPos()) * grid.GetRowHeight() + grid.GetRowHeight() / 2;
        int x = button < 0 ? grid.GetNameWidth() + 10 : grid.GetClientWidth() - 14 * button - 7;
        return MAKELPARAM(x, y);
    }
    int RowOf(const char* name) { return grid.ItemToRow(0, grid.FindItemIndex(0, name)); }
    // Selects an item's row, then clicks one of its buttons.
    void ClickButton(const char* name, int button)
    {
        int row = RowOf(name);
        grid.SetCurSel(row, false);
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ValuePoint(row, button));
        grid.SendMessage(WM_LBUTTONUP, 0, ValuePoint(row, button));
    }
    std::vector<SRecordedMessage> Changes() const { return parent.Received(SPROPERTY_ITEM_CHANGED); }

    SRecordingParent parent;
    VetoGrid grid;
};

} // namespace

TEST_F(PropertyTest, ValuesAreReadByKindAndShownAsText)
{
    struct Case
    {
        const char* name;
        const char* shown;
    } cases[] = {
        {"title", "fixed"}, {"visible", "Yes"}, {"back", "255, 0, 0"}, {"caption", "Hello"}, {"width", "12"},
        {"ratio", "0.25"}, {"font", "Tahoma, 8 B.I."}, {"align", "Centre"},
    };
    for (const Case& c : cases)
    {
        SPropertyCtrl::_SItem* item = grid.FindItem(0, c.name);
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_STREQ(grid.GetValueText(item), c.shown) << c.name;
        EXPECT_FALSE(item->mixed) << c.name;
    }
    grid.SetItem(0, "font", "Font", SPropertyCtrl::KIND_FONT, "Tahoma, 8, 0", nullptr, -1);
    EXPECT_STREQ(grid.GetValueText(grid.FindItem(0, "font")), "[...]");
    grid.FindItem(0, "font")->mixed = false;
    EXPECT_STREQ(grid.GetValueText(grid.FindItem(0, "font")), "Tahoma, 8 ");

    // Colours read signed or unsigned text as the same 32 bits; empty text is no colour.
    struct ColorCase
    {
        const char* text;
        uint32_t color;
        const char* shown;
    } colors[] = {{"", 0xFF000000u, "Default"}, {"-16777216", 0xFF000000u, "Default"},
                  {"4278190080", 0xFF000000u, "Default"}, {"66051", 0x010203u, "3, 2, 1"}};
    for (const ColorCase& c : colors)
    {
        grid.SetItem(0, "fresh", "Fresh", SPropertyCtrl::KIND_COLOR, c.text, nullptr, -1);
        SPropertyCtrl::_SItem* item = grid.FindItem(0, "fresh");
        EXPECT_EQ(item->color, c.color) << c.text;
        item->mixed = false;
        EXPECT_STREQ(grid.GetValueText(item), c.shown) << c.text;
        item->color = 0;
    }
    grid.FindItem(0, "fresh")->color = 0xFE000000u + COLOR_WINDOW;
    EXPECT_FALSE(grid.GetValueText(grid.FindItem(0, "fresh")).IsEmpty());
}

TEST_F(PropertyTest, SetItemFlagsDifferencesAsMixedAndRefusesMissingGroups)
{
    EXPECT_EQ(grid.SetItem(0, "caption", "ignored", SPropertyCtrl::KIND_EDIT, "Hello", nullptr, -1), 3);
    EXPECT_FALSE(grid.FindItem(0, "caption")->mixed);
    EXPECT_STREQ(grid.FindItem(0, "caption")->caption, "Caption");
    grid.SetItem(0, "caption", "", SPropertyCtrl::KIND_EDIT, "Other", nullptr, -1);
    EXPECT_TRUE(grid.FindItem(0, "caption")->mixed);
    EXPECT_STREQ(grid.FindItem(0, "caption")->text, "Other");
    EXPECT_STREQ(grid.GetValueText(grid.FindItem(0, "caption")), "[...]");

    EXPECT_EQ(grid.SetItem(5, "x", "X", 3, "v", nullptr, -1), -1);
    EXPECT_EQ(grid.SetItem(-7, "x", "X", 3, "v", nullptr, -1), -1);
    EXPECT_EQ(grid.AddGroup("main", "Again", -1, true), -1);
    EXPECT_EQ(grid.AddGroup("first", "First", 0, true), 0);
    EXPECT_EQ(grid.FindGroup("main"), 1);
    // Group -1 is the last group; an index places the new item.
    EXPECT_EQ(grid.SetItem(-1, "zero", "Zero", 3, "", nullptr, 0), 0);
    EXPECT_EQ(grid.FindItemIndex(1, "zero"), 0);
    EXPECT_EQ(grid.RemoveEmptyGroups(), 1);
    EXPECT_EQ(grid.GetItem(0, 99), nullptr);
    EXPECT_EQ(grid.FindItem(3, "zero"), nullptr);
    int group = -1, index = -1;
    EXPECT_TRUE(grid.FindItemPosition(grid.FindItem(0, "width"), &group, &index));
    EXPECT_EQ(index, 5);

    SPropertyCtrl empty;
    EXPECT_EQ(empty.SetItem(-1, "x", "X", 3, "v", nullptr, -1), -1);
}

TEST_F(PropertyTest, RowsFollowCollapsedGroups)
{
    grid.AddGroup("more", "More", -1, false);
    grid.SetItem(1, "a", "A", 3, "", nullptr, -1);
    grid.SetItem(1, "b", "B", 3, "", nullptr, -1);
    EXPECT_EQ(grid.GetVisibleRowCount(), 1 + 8 + 1);
    EXPECT_EQ(grid.GetRowCount(), 1 + 8 + 1 + 2);
    // Added rows reach the scroll bar with the next message the grid handles.
    grid.SendMessage(WM_NULL);
    EXPECT_EQ(grid.GetScrollMax(true), 1 + 8 + 1);
    EXPECT_EQ(grid.RowToGroup(0), 0);
    EXPECT_EQ(grid.RowToItem(0), -1);
    EXPECT_EQ(grid.RowToItem(3), 2);
    EXPECT_EQ(grid.RowToGroup(9), 1);
    EXPECT_EQ(grid.RowToItem(9), -1);
    EXPECT_EQ(grid.RowToGroup(10), -1);
    // Past the visible rows a selection selects nothing visible.
    grid.SetCurSel(11, false);
    EXPECT_EQ(grid.GetSelRow(), 11);
    EXPECT_EQ(grid.GetSelGroup(), -1);
    EXPECT_EQ(grid.GetSelItem(), -1);
    grid.SetCurSel(400, false);
    EXPECT_EQ(grid.GetSelRow(), 11);

    // A click at the right end of a title row expands the group.
    int y = 9 * grid.GetRowHeight() + 2;
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grid.GetClientWidth() - 4, y));
    EXPECT_TRUE(grid.GetGroup(1)->expanded);
    EXPECT_EQ(grid.GetVisibleRowCount(), 12);
    grid.SetCurSel(10, false);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grid.GetClientWidth() - 4, y));
    EXPECT_EQ(grid.GetSelRow(), -1);

    int group = -1, item = -1;
    bool inValue = false;
    EXPECT_EQ(grid.HitTest(-1, 5, &group, &item, &inValue), -1);
    EXPECT_EQ(grid.HitTest(grid.GetNameWidth() + 1, grid.GetRowHeight() * 2 + 1, &group, &item, &inValue), 2);
    EXPECT_EQ(item, 1);
    EXPECT_TRUE(inValue);
    grid.Clear();
    EXPECT_EQ(grid.GetGroupCount(), 0);
    EXPECT_EQ(grid.GetSelRow(), -1);
}

TEST_F(PropertyTest, ToggleAndResetPassTheVeto)
{
    grid.FindItem(0, "visible")->mixed = true;
    grid.accept = false;
    ClickButton("visible", 0);
    EXPECT_EQ(grid.asked, 1);
    EXPECT_TRUE(grid.FindItem(0, "visible")->flag);
    EXPECT_TRUE(grid.FindItem(0, "visible")->mixed);
    EXPECT_TRUE(Changes().empty());

    grid.accept = true;
    ClickButton("visible", 0);
    // A mixed flag toggles to true.
    EXPECT_TRUE(grid.FindItem(0, "visible")->flag);
    EXPECT_FALSE(grid.FindItem(0, "visible")->mixed);
    ClickButton("visible", 0);
    EXPECT_FALSE(grid.FindItem(0, "visible")->flag);
    ASSERT_EQ(Changes().size(), 2u);
    EXPECT_EQ(Changes()[0].lParam, (LPARAM)(1 << 16 | 0));
    EXPECT_EQ(Changes()[0].wParam, (WPARAM)&grid);

    ClickButton("back", 0);
    EXPECT_EQ(grid.FindItem(0, "back")->color, 0xFF000000u);
    ClickButton("font", 0);
    EXPECT_TRUE(grid.FindItem(0, "font")->fontName.IsEmpty());
    EXPECT_STREQ(grid.GetValueText(grid.FindItem(0, "font")), "Default");
}

TEST_F(PropertyTest, PickersRunBehindTheSeam)
{
    FakePickers pickers;
    ClickButton("back", 2);
    EXPECT_EQ(grid.FindItem(0, "back")->color, (uint32_t)RGB(10, 20, 30));
    ClickButton("font", 1);
    SPropertyCtrl::_SItem* font = grid.FindItem(0, "font");
    EXPECT_STREQ(font->fontName, "Courier New");
    EXPECT_EQ(font->fontSize, 12);
    EXPECT_EQ(font->fontStyle, 1);
    EXPECT_EQ(Changes().size(), 2u);

    // A veto puts back all three font fields; a cancelled picker changes nothing.
    grid.accept = false;
    font->fontName = "Arial";
    font->fontSize = 9;
    font->fontStyle = 2;
    ClickButton("font", 1);
    EXPECT_STREQ(font->fontName, "Arial");
    EXPECT_EQ(font->fontSize, 9);
    EXPECT_EQ(font->fontStyle, 2);
    grid.accept = true;
    pickers.confirm = false;
    int asked = grid.asked;
    ClickButton("back", 2);
    EXPECT_EQ(grid.asked, asked);
    EXPECT_EQ(Changes().size(), 2u);
}

TEST_F(PropertyTest, EditBoxCommitsByKindOnReturnAndFocusLoss)
{
    int row = RowOf("width");
    grid.SetCurSel(row, false);
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ValuePoint(row, -1));
    ASSERT_NE(grid.GetEditBox(), nullptr);
    EXPECT_STREQ(grid.GetEditBox()->GetText(), "12");
    grid.GetEditBox()->SetWindowText("42x");
    grid.GetEditBox()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(grid.GetEditBox(), nullptr);
    EXPECT_STREQ(grid.FindItem(0, "width")->text, "42");
    ASSERT_EQ(Changes().size(), 1u);

    // Escape closes without a change.
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ValuePoint(row, -1));
    ASSERT_NE(grid.GetEditBox(), nullptr);
    grid.GetEditBox()->SetWindowText("7");
    grid.GetEditBox()->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_STREQ(grid.FindItem(0, "width")->text, "42");
    EXPECT_EQ(Changes().size(), 1u);

    // Losing the focus commits; a real is stored without trailing zeros.
    int ratio = RowOf("ratio");
    grid.SetCurSel(ratio, false);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ValuePoint(ratio, 0));
    ASSERT_NE(grid.GetEditBox(), nullptr);
    grid.GetEditBox()->SetWindowText("1.500");
    grid.SetFocus();
    PumpPending();
    EXPECT_EQ(grid.GetEditBox(), nullptr);
    EXPECT_STREQ(grid.FindItem(0, "ratio")->text, "1.5");
    EXPECT_EQ(Changes().size(), 2u);
}

TEST_F(PropertyTest, ChoicesCycleAndDropDown)
{
    int row = RowOf("align");
    grid.SetCurSel(row, false);
    grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_STREQ(grid.FindItem(0, "align")->text, "R");
    grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_STREQ(grid.FindItem(0, "align")->text, "L");

    // Text that is no key: Return does nothing, a double click opens the list.
    grid.FindItem(0, "align")->text = "Q";
    grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_STREQ(grid.FindItem(0, "align")->text, "Q");
    EXPECT_EQ(grid.GetDropList(), nullptr);
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ValuePoint(row, -1));
    ASSERT_NE(grid.GetDropList(), nullptr);
    EXPECT_EQ(grid.GetDropList()->GetCount(), 3);
    EXPECT_STREQ(grid.GetDropList()->GetItemText(1), "Centre");
    grid.GetDropList()->SetCurSel(2);
    grid.GetDropList()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(grid.GetDropList(), nullptr);
    EXPECT_STREQ(grid.FindItem(0, "align")->text, "R");

    // The list does not commit when it loses the focus.
    size_t changes = Changes().size();
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ValuePoint(row, 0));
    ASSERT_NE(grid.GetDropList(), nullptr);
    grid.GetDropList()->SetCurSel(0);
    grid.SetFocus();
    PumpPending();
    EXPECT_EQ(grid.GetDropList(), nullptr);
    EXPECT_STREQ(grid.FindItem(0, "align")->text, "R");
    EXPECT_EQ(Changes().size(), changes);
}

TEST_F(PropertyTest, KeysWalkItemsAndTheWheelScrolls)
{
    grid.AddGroup("second", "Second", -1, true);
    for (int i = 0; i < 30; i++)
    {
        SString name;
        name.Format("item%d", i);
        grid.SetItem(1, name, name, 3, "", nullptr, -1);
    }
    grid.SetCurSel(8, false);
    grid.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid.GetSelRow(), 10); // the title row of the second group is skipped
    grid.SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(grid.GetSelRow(), 8);
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(grid.GetVScrollPos(), 2);
    EXPECT_EQ(parent.Received(SPROPERTY_SCROLLED).size(), 1u);
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(grid.GetVScrollPos(), 0);
    // Walking down past the window scrolls the new row into view as the last whole row.
    int page = grid.GetClientHeight() / grid.GetRowHeight();
    grid.SetCurSel(page + 2, false);
    grid.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid.GetVScrollPos(), page + 3 - page + 1);
    PumpPending();
}

TEST(SPropertyFactory, DescriptionBuildsTheGrid)
{
    RegisterEditorControls();
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
    SDialogEditor::_SCtrl record;
    record.SetType(SDialogEditor::TYPE_PROPERTY);
    record.SetID(5);
    record.SetName("PROPS");
    record.SetWidth(200);
    record.SetHeight(150);
    record.AssignStyle(WS_CHILD | WS_VISIBLE);
    SWnd* control = SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, false);
    SPropertyCtrl* grid = dynamic_cast<SPropertyCtrl*>(control);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetKind(), SKIND_PROPERTY);
    EXPECT_FALSE(grid->GetStyle() & WS_VISIBLE);
    EXPECT_STREQ(grid->GetName(), "PROPS");
    EXPECT_EQ(grid->GetUserData(), 5);
    delete control;
}

TEST_F(PropertyTest, FontValuesKeepAQuotedNameWhole)
{
    struct Case
    {
        const char* value;
        const char* name;
        int size;
        int style;
    } cases[] = {
        {"\"A, B\", 10, 15", "A, B", 10, 15},
        {"Tahoma, 8, 3", "Tahoma", 8, 3},
        {"Tahoma,9,1", "Tahoma", 9, 1},
        {" \"Lucida Sans\" , 9 , 1 ", "Lucida Sans", 9, 1},
        {"\"A, B\"", "A, B", 0, 0},
        {"A \"B, C\", 7, 2", "A \"B, C\"", 7, 2},
        // An unclosed quote keeps the plain reading.
        {"\"Open, 10, 2", "\"Open", 10, 2},
        {"Tahoma", "Tahoma", 0, 0},
    };
    for (const Case& c : cases)
    {
        grid.SetItem(0, "font", "Font", SPropertyCtrl::KIND_FONT, c.value, nullptr, -1);
        SPropertyCtrl::_SItem* item = grid.FindItem(0, "font");
        ASSERT_NE(item, nullptr) << c.value;
        EXPECT_STREQ(item->fontName, c.name) << c.value;
        EXPECT_EQ(item->fontSize, c.size) << c.value;
        EXPECT_EQ(item->fontStyle, c.style) << c.value;
    }
}
