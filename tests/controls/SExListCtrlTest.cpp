#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>
#include <string>

#include "ListTestSupport.h"
#include "SControl.h"
#include "SExListCtrl.h"
#include "../window/PumpSupport.h"

namespace
{

const UINT kKey = ControlMessage(SBLOCK_EXLIST, 0);
const UINT kMouse = ControlMessage(SBLOCK_EXLIST, 1);
const UINT kChanged = ControlMessage(SBLOCK_EXLIST, 2);
const UINT kBeginEdit = ControlMessage(SBLOCK_EXLIST, 5);

// A report list with two columns: a name and a number.
struct ExListFixture
{
    SRecordingParent& parent = SharedListParent({kMouse});
    SExListCtrl list;

    bool Make()
    {
        RECT rect = {10, 10, 390, 290};
        if (!list.Create(WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS, 0, &rect, parent.GetHandle(), 4))
            return false;
        AddColumn(0, "name");
        AddColumn(1, "size");
        PumpPending();
        parent.ClearReceived();
        return true;
    }
    void AddColumn(int index, const char* title)
    {
        LVCOLUMNA column;
        memset(&column, 0, sizeof(column));
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 150;
        column.pszText = (LPSTR)title;
        list.SendMessage(LVM_INSERTCOLUMNA, (WPARAM)index, (LPARAM)&column);
    }
    int AddRow(const char* name, const char* size, LPARAM value)
    {
        LVITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = (int)list.SendMessage(LVM_GETITEMCOUNT);
        item.pszText = (LPSTR)name;
        item.lParam = value;
        int at = (int)list.SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item);
        item.iSubItem = 1;
        item.mask = LVIF_TEXT;
        item.pszText = (LPSTR)size;
        list.SendMessage(LVM_SETITEMTEXTA, (WPARAM)at, (LPARAM)&item);
        return at;
    }
    LPARAM ValueOf(int index)
    {
        LVITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = LVIF_PARAM;
        item.iItem = index;
        list.SendMessage(LVM_GETITEMA, 0, (LPARAM)&item);
        return item.lParam;
    }
    std::string Column(int column)
    {
        std::string out;
        int count = (int)list.SendMessage(LVM_GETITEMCOUNT);
        for (int i = 0; i < count; i++)
            out += std::string(i ? "," : "") + (const char*)list.GetItemText(i, column);
        return out;
    }
    void SetState(int item, UINT state, UINT mask)
    {
        LVITEMA record;
        memset(&record, 0, sizeof(record));
        record.state = state;
        record.stateMask = mask;
        list.SendMessage(LVM_SETITEMSTATE, (WPARAM)item, (LPARAM)&record);
    }
};

}

TEST(SExListCtrl, CreationAndAccessors)
{
    SExListCtrl unborn;
    EXPECT_EQ(11, unborn.GetKind());
    EXPECT_STREQ("", unborn.GetItemText(0, 0));
    EXPECT_EQ(-1, unborn.HitTest(1, 1));

    ExListFixture f;
    ASSERT_TRUE(f.Make());
    EXPECT_TRUE(f.list.GetStyle() & LVS_SHAREIMAGELISTS);
    EXPECT_TRUE(f.list.GetStyle() & WS_CHILD);
    std::string longText(600, 'x');
    f.AddRow("first", "12", 1);
    f.AddRow(longText.c_str(), "", 2);
    EXPECT_STREQ("first", f.list.GetItemText(0, 0));
    EXPECT_STREQ("12", f.list.GetItemText(0, 1));
    EXPECT_STREQ("", f.list.GetItemText(1, 1));
    EXPECT_EQ(511, f.list.GetItemText(1, 0).GetLength());
    EXPECT_STREQ("", f.list.GetItemText(5, 0));

    f.list.SetBackColor(RGB(1, 2, 3));
    EXPECT_EQ((unsigned)RGB(1, 2, 3), f.list.GetBackColor());
    EXPECT_EQ(RGB(1, 2, 3), (COLORREF)f.list.SendMessage(LVM_GETTEXTBKCOLOR));

    f.list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    f.list.SetExtendedStyle(LVS_EX_CHECKBOXES);
    EXPECT_EQ((LRESULT)LVS_EX_CHECKBOXES, f.list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & 0xFF);

    RECT rect;
    rect.left = LVIR_LABEL;
    ASSERT_TRUE(f.list.SendMessage(LVM_GETITEMRECT, 0, (LPARAM)&rect));
    UINT flags = 0;
    EXPECT_EQ(0, f.list.HitTest(rect.left + 2, (rect.top + rect.bottom) / 2, &flags));
    EXPECT_TRUE(flags & LVHT_ONITEM);
    EXPECT_EQ(-1, f.list.HitTest(5, 280, &flags));
}

TEST(SExListCtrl, CompareItemsRules)
{
    ExListFixture f;
    ASSERT_TRUE(f.Make());
    f.AddRow("b", "1 000", 0);
    f.AddRow("B", "999", 0);
    f.AddRow("a", "999", 0);
    struct Case { int column; bool ascending, caseSensitive, numeric; int first, second, expected; };
    const Case cases[] = {
        {1, true, false, true, 0, 1, 1},    // 1 000 after 999 once the blank is gone
        {1, true, false, true, 1, 0, -1},
        {1, false, false, true, 0, 1, -1},  // descending negates
        {1, true, false, true, 1, 2, -1},   // equal numbers never compare equal
        {1, true, false, true, 2, 1, -1},
        {0, true, false, false, 0, 1, 0},   // "b" and "B" ignoring case
        {0, true, true, false, 0, 1, 1},    // "b" after "B" with case
        {0, true, false, false, 2, 0, -1},
        {0, false, false, false, 2, 0, 1},
    };
    for (const Case& c : cases)
    {
        SExListCtrl::_SSortInfo info = {&f.list, c.column, (unsigned char)c.ascending,
                                        (unsigned char)c.caseSensitive, (unsigned char)c.numeric};
        EXPECT_EQ(c.expected, SExListCtrl::CompareItems(c.first, c.second, (LPARAM)&info))
            << c.column << " " << c.first << " " << c.second;
    }
    EXPECT_EQ(0, SExListCtrl::CompareItems(0, 1, 0));
}

TEST(SExListCtrl, SortItemsByColumnKeepsCallerValues)
{
    ExListFixture f;
    ASSERT_TRUE(f.Make());
    EXPECT_TRUE(f.list.SortItems(0, true, false, false));
    f.AddRow("delta", "1 000", 40);
    f.AddRow("alpha", "999", 10);
    f.AddRow("Charlie", "5", 30);
    f.AddRow("bravo", "12.5", 20);
    EXPECT_TRUE(f.list.SortItems(1, true, false, true));
    EXPECT_EQ("5,12.5,999,1 000", f.Column(1));
    EXPECT_EQ("Charlie,bravo,alpha,delta", f.Column(0));
    EXPECT_EQ(30, f.ValueOf(0));
    EXPECT_EQ(40, f.ValueOf(3));
    EXPECT_TRUE(f.list.SortItems(0, true, false, false));
    EXPECT_EQ("alpha,bravo,Charlie,delta", f.Column(0));
    EXPECT_TRUE(f.list.SortItems(0, true, true, false));
    EXPECT_EQ("Charlie,alpha,bravo,delta", f.Column(0));
    EXPECT_TRUE(f.list.SortItems(0, false, false, false));
    EXPECT_EQ("delta,Charlie,bravo,alpha", f.Column(0));
    EXPECT_EQ(40, f.ValueOf(0));
    EXPECT_EQ(10, f.ValueOf(3));
    // Items sharing a caller value are sorted by position instead.
    f.AddRow("echo", "3", 10);
    EXPECT_TRUE(f.list.SortItems(1, false, false, true));
    EXPECT_EQ("1 000,999,12.5,5,3", f.Column(1));
    EXPECT_EQ("delta,alpha,bravo,Charlie,echo", f.Column(0));
    EXPECT_EQ(10, f.ValueOf(4));
    SExListCtrl unborn;
    EXPECT_FALSE(unborn.SortItems(0, true, false, false));
}

TEST(SExListCtrl, SortItemsIsRightWhateverTheCallerValues)
{
    struct Case
    {
        const char* name;
        LPARAM (*value)(int row);
        int column;
        bool ascending, numeric;
    } cases[] = {
        {"all values 0, as text", [](int) { return (LPARAM)0; }, 0, true, false},
        {"all values 0, as numbers", [](int) { return (LPARAM)0; }, 1, true, true},
        {"all values 0, as numbers, descending", [](int) { return (LPARAM)0; }, 1, false, true},
        {"values shared by threes, as text", [](int row) { return (LPARAM)(row / 3); }, 0, false, false},
        {"distinct values, as numbers", [](int row) { return (LPARAM)(1000 - row * 7); }, 1, true, true},
    };
    const int rows = 300;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ExListFixture f;
        ASSERT_TRUE(f.Make());
        std::map<std::string, LPARAM> valueOf;
        unsigned seed = 77;
        // Filled with drawing off: a visible list view repaints at every insertion under Wine.
        f.list.SendMessage(WM_SETREDRAW, FALSE);
        for (int row = 0; row < rows; row++)
        {
            seed = seed * 1103515245u + 12345u;
            char name[32], size[32];
            // Unique names (the row ends each one) in a shuffled order; sizes with repeats.
            wsprintfA(name, "%c%05u-%03d", (seed >> 9) % 2 ? 'T' : 't', (seed >> 12) % 50000u, row);
            wsprintfA(size, "%u %03u", (seed >> 16) % 40u, (seed >> 7) % 1000u);
            f.AddRow(name, size, c.value(row));
            valueOf[name] = c.value(row);
        }
        f.list.SendMessage(WM_SETREDRAW, TRUE);
        ASSERT_TRUE(f.list.SortItems(c.column, c.ascending, false, c.numeric));
        ASSERT_EQ(rows, (int)f.list.SendMessage(LVM_GETITEMCOUNT));
        SExListCtrl::_SSortInfo info = {&f.list, c.column, (unsigned char)c.ascending, 0, (unsigned char)c.numeric};
        int outOfOrder = 0;
        std::set<std::string> seen;
        for (int row = 0; row < rows; row++)
        {
            std::string name = (const char*)f.list.GetItemText(row, 0);
            seen.insert(name);
            EXPECT_EQ(valueOf[name], f.ValueOf(row)) << name;
            if (row == 0)
                continue;
            SString before = f.list.GetItemText(row - 1, c.column), here = f.list.GetItemText(row, c.column);
            // Numbers never compare equal, so neighbours are in order when the reverse pair is not.
            bool ordered = c.numeric ? SExListCtrl::CompareTexts(here, before, &info) > 0 ||
                                           SExListCtrl::CompareTexts(before, here, &info) < 0
                                     : SExListCtrl::CompareTexts(before, here, &info) <= 0;
            outOfOrder += ordered ? 0 : 1;
        }
        EXPECT_EQ(0, outOfOrder);
        EXPECT_EQ((size_t)rows, seen.size());
    }
}

TEST(SExListCtrl, Notifications)
{
    ExListFixture f;
    ASSERT_TRUE(f.Make());
    f.AddRow("one", "1", 0);
    f.AddRow("two", "2", 0);
    f.list.SetFocus();
    PumpPending();
    f.parent.ClearReceived();

    f.SetState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    auto changed = f.parent.Received(kChanged);
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(1, changed.back().lParam);
    EXPECT_EQ((WPARAM)&f.list, changed.back().wParam);
    // Deselecting the focused item reports no item and takes its focus away.
    f.parent.ClearReceived();
    f.SetState(1, 0, LVIS_SELECTED);
    changed = f.parent.Received(kChanged);
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(-1, changed.back().lParam);
    EXPECT_EQ(0u, (UINT)f.list.SendMessage(LVM_GETITEMSTATE, 1, LVIS_FOCUSED));

    f.parent.ClearReceived();
    f.list.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    auto keys = f.parent.Received(kKey);
    ASSERT_EQ(1u, keys.size());
    EXPECT_EQ((LPARAM)VK_DOWN, keys[0].lParam);

    // A left press is forwarded with its record (the release waits in the queue for
    // the list view's own tracking).
    f.parent.ClearReceived();
    RECT rect;
    rect.left = LVIR_LABEL;
    ASSERT_TRUE(f.list.SendMessage(LVM_GETITEMRECT, 0, (LPARAM)&rect));
    LPARAM point = MAKELPARAM(rect.left + 2, (rect.top + rect.bottom) / 2);
    f.list.PostMessage(WM_LBUTTONUP, 0, point);
    f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    PumpPending();
    auto mouse = f.parent.Received(kMouse);
    ASSERT_FALSE(mouse.empty());
    EXPECT_EQ(9, mouse[0].mouse.code);
    EXPECT_EQ(rect.left + 2, mouse[0].mouse.x);

    // The parent's answer to the start of a label edit can refuse it (the shared parent
    // keeps refusing: no other test edits labels).
    f.parent.SetAnswer(kBeginEdit, 1);
    f.parent.ClearReceived();
    EXPECT_EQ(0, f.list.SendMessage(LVM_EDITLABELA, 0));
    auto begin = f.parent.Received(kBeginEdit);
    ASSERT_EQ(1u, begin.size());
    EXPECT_EQ(0, begin[0].lParam);
}
