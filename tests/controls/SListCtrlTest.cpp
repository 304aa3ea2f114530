#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "ListTestSupport.h"
#include "SControl.h"
#include "SListCtrl.h"
#include "SStringArray.h"
#include "../window/PumpSupport.h"

namespace
{

const UINT kKey = ControlMessage(SBLOCK_LIST, 0);
const UINT kMouse = ControlMessage(SBLOCK_LIST, 1);
const UINT kSelection = ControlMessage(SBLOCK_LIST, 2);
const UINT kDoubleClick = ControlMessage(SBLOCK_LIST, 3);

// A visible parent with one list of the given selection style and a few items.
struct ListFixture
{
    SRecordingParent& parent = SharedListParent({kMouse});
    SListCtrl list;

    bool Make(DWORD selectionStyle, int items = 5, bool uniformHeight = false)
    {
        RECT rect = {10, 10, 210, 210};
        list.SetUniformHeight(uniformHeight);
        if (!list.Create(WS_VISIBLE | WS_VSCROLL | selectionStyle, 0, &rect, parent.GetHandle(), 7))
            return false;
        for (int i = 0; i < items; i++)
        {
            char text[16];
            wsprintfA(text, "item %d", i);
            list.InsertItem(text, -1, -1, -1, 100 + i);
        }
        PumpPending();
        parent.ClearReceived();
        return true;
    }
    // A point in the middle of an item.
    LPARAM PointOf(int index)
    {
        RECT rect = {0, 0, 0, 0};
        list.GetItemRect(index, &rect);
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    LPARAM PointBelowLast()
    {
        RECT rect = {0, 0, 0, 0};
        list.GetItemRect(list.GetCount() - 1, &rect);
        return MAKELPARAM(20, rect.bottom + 5);
    }
    void Click(UINT msg, int index, WPARAM keys = 0)
    {
        list.SendMessage(msg, keys, index >= 0 ? PointOf(index) : PointBelowLast());
    }
    std::vector<int> Selection()
    {
        SArray<int> indexes;
        list.GetSelection(&indexes);
        std::vector<int> out;
        for (int i = 0; i < indexes.GetCount(); i++)
            out.push_back(indexes.GetAt(i));
        return out;
    }
    size_t Count(UINT msg) { return parent.Received(msg).size(); }
};

// A list whose list box refuses to delete items, as a derived window procedure may.
class RefusingList : public SListCtrl
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == LB_DELETESTRING)
            return LB_ERR;
        return SListCtrl::OnMessage(msg, wParam, lParam);
    }
};

}

TEST(SListCtrl, WithoutWindowEverythingAnswersMissing)
{
    SListCtrl list;
    EXPECT_EQ(19, list.GetKind());
    EXPECT_EQ(-1, list.InsertItem("a"));
    EXPECT_FALSE(list.ReserveItems(10));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(0, list.GetSelCount());
    EXPECT_FALSE(list.DeleteItem(0));
    EXPECT_EQ(0, list.DeleteSelected());
    EXPECT_STREQ("", list.GetItemText(0));
    EXPECT_EQ(-1, list.GetItemLeftImage(0));
    EXPECT_EQ(-1, list.SelectString("a", true));
    EXPECT_EQ(-1, list.GetTopIndex());
    EXPECT_EQ(0, list.GetItemHeight());
    EXPECT_EQ(-1, list.ItemFromPoint(1, 1));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), list.GetTextColor());
}

TEST(SListCtrl, CreationMakesAnOwnerDrawnListWithoutStrings)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(LBS_SORT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED, 0));
    DWORD style = f.list.GetStyle();
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & LBS_OWNERDRAWVARIABLE);
    EXPECT_FALSE(style & (LBS_SORT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED));
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), f.list.GetBackColor());
    // Items stay in insertion order.
    f.list.InsertItem("b");
    f.list.InsertItem("a");
    EXPECT_STREQ("b", f.list.GetItemText(0));
    EXPECT_STREQ("a", f.list.GetItemText(1));
}

TEST(SListCtrl, RoomMadeForALongFillAddsNoItem)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 0));
    EXPECT_FALSE(f.list.ReserveItems(0));
    EXPECT_FALSE(f.list.ReserveItems(-3));
    EXPECT_TRUE(f.list.ReserveItems(3000));
    EXPECT_EQ(0, f.list.GetCount());
    SStringArray texts;
    for (int i = 0; i < 3000; i++)
        texts.Add(SString().Format("item %d", i));
    // A visible list box repaints its scroll bar at each item: the fill runs unseen.
    f.list.SendMessage(WM_SETREDRAW, FALSE, 0);
    EXPECT_EQ(3000, f.list.InsertItems(&texts));
    f.list.SendMessage(WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(3000, f.list.GetCount());
    EXPECT_STREQ("item 0", f.list.GetItemText(0));
    EXPECT_STREQ("item 2999", f.list.GetItemText(2999));
}

TEST(SListCtrl, ItemRecords)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 0));
    EXPECT_EQ(-1, f.list.SelectString("x", false));
    EXPECT_EQ(0, f.list.InsertItem("Alpha", -1, 1, 2, 10));
    EXPECT_EQ(1, f.list.InsertItem("ABC", -1, -1, -1, 20));
    EXPECT_EQ(0, f.list.InsertItem("first", 0));
    EXPECT_EQ(3, f.list.GetCount());
    EXPECT_STREQ("first", f.list.GetItemText(0));
    EXPECT_EQ(10, f.list.GetItemData(1));
    EXPECT_EQ(1, f.list.GetItemLeftImage(1));
    EXPECT_EQ(2, f.list.GetItemRightImage(1));
    EXPECT_EQ(0, f.list.GetItemData(0));
    EXPECT_TRUE(f.list.SetItemRightImage(2, 5));
    EXPECT_EQ(5, f.list.GetItemRightImage(2));
    // Indexes outside the list read no record.
    EXPECT_FALSE(f.list.SetItemRightImage(3, 5));
    EXPECT_EQ(-1, f.list.GetItemRightImage(3));
    EXPECT_STREQ("", f.list.GetItemText(-1));
    EXPECT_EQ(0, f.list.GetItemData(99));

    EXPECT_EQ(2, f.list.FindItem("abc"));
    EXPECT_EQ(-1, f.list.FindItem("abc", 3));
    EXPECT_EQ(2, f.list.FindItem("ABC", -5));
    EXPECT_EQ(2, f.list.SelectString("abc", true));
    EXPECT_EQ(2, f.list.GetCurSel());
    EXPECT_STREQ("ABC", f.list.GetSelectedText());
    EXPECT_EQ(1, f.list.SelectString("al", false));
    EXPECT_EQ(1, f.list.GetCurSel());
    EXPECT_EQ(-1, f.list.SelectString("zz", false));

    EXPECT_TRUE(f.list.DeleteItem(0));
    EXPECT_FALSE(f.list.DeleteItem(2));
    EXPECT_STREQ("Alpha", f.list.GetItemText(0));
    f.list.RemoveAll();
    EXPECT_EQ(0, f.list.GetCount());
    EXPECT_STREQ("", f.list.GetSelectedText());
}

TEST(SListCtrl, MoveItemKeepsRecordAndSelection)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(LBS_EXTENDEDSEL, 4));
    EXPECT_EQ(-1, f.list.MoveItem(1, 1));
    EXPECT_EQ(-1, f.list.MoveItem(4, 0));
    EXPECT_EQ(-1, f.list.MoveItem(-1, 0));
    f.list.SetCurSel(0);
    EXPECT_EQ(2, f.list.MoveItem(0, 2));
    EXPECT_STREQ("item 1", f.list.GetItemText(0));
    EXPECT_STREQ("item 0", f.list.GetItemText(2));
    EXPECT_EQ(100, f.list.GetItemData(2));
    EXPECT_TRUE(f.list.IsSelected(2));
    EXPECT_EQ(1, f.list.GetSelCount());
    // An unselected item moves unselected; a negative target appends.
    EXPECT_EQ(3, f.list.MoveItem(0, -1));
    EXPECT_STREQ("item 1", f.list.GetItemText(3));
    EXPECT_FALSE(f.list.IsSelected(3));
}

TEST(SListCtrl, MoveItemNeverLosesAnItem)
{
    struct Case
    {
        int from, to, result;
        const char* order;
    } cases[] = {
        {0, 100, 2, "item 1,item 2,item 0"}, // past the end: moved to the end
        {0, 3, 2, "item 1,item 2,item 0"},
        {1, -1, 2, "item 0,item 2,item 1"},
        {2, 100, -1, "item 0,item 1,item 2"}, // already last: nothing moves
        {2, 0, 0, "item 2,item 0,item 1"},
        {0, 1, 1, "item 1,item 0,item 2"},
        {3, 0, -1, "item 0,item 1,item 2"},  // invalid sources change nothing
        {-1, 0, -1, "item 0,item 1,item 2"},
        {-7, 100, -1, "item 0,item 1,item 2"},
        {1, 1, -1, "item 0,item 1,item 2"},
    };
    for (const Case& c : cases)
    {
        ListFixture f;
        ASSERT_TRUE(f.Make(LBS_EXTENDEDSEL, 3));
        f.list.SetSel(c.from, true);
        EXPECT_EQ(c.result, f.list.MoveItem(c.from, c.to)) << c.from << " to " << c.to;
        std::string order;
        for (int i = 0; i < f.list.GetCount(); i++)
            order += std::string(i ? "," : "") + (const char*)f.list.GetItemText(i);
        EXPECT_EQ(c.order, order) << c.from << " to " << c.to;
        for (int i = 0; i < f.list.GetCount(); i++)
        {
            int original = f.list.GetItemText(i)[5] - '0';
            EXPECT_EQ(100 + original, f.list.GetItemData(i));
            // The moved item keeps its selection wherever it went.
            EXPECT_EQ(original == c.from, f.list.IsSelected(i)) << c.from << " to " << c.to << " at " << i;
        }
    }
}

TEST(SListCtrl, SelectionOperationsPerMode)
{
    struct Case { DWORD style; bool single, extended, multiple; };
    const Case cases[] = {
        {0, true, false, false},
        {LBS_EXTENDEDSEL, false, true, false},
        {LBS_MULTIPLESEL, false, false, true},
        {LBS_EXTENDEDSEL | LBS_MULTIPLESEL, false, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.style);
        ListFixture f;
        ASSERT_TRUE(f.Make(c.style, 5));
        EXPECT_EQ(c.single, f.list.IsSingleSel());
        EXPECT_EQ(c.extended, f.list.IsExtendedSel());
        EXPECT_EQ(c.multiple, f.list.IsMultipleSel());
        EXPECT_EQ(-1, f.list.GetCurSel());
        EXPECT_EQ(0, f.list.GetSelCount());
        f.list.SetCurSel(3);
        EXPECT_EQ(3, f.list.GetCurSel());
        EXPECT_EQ(1, f.list.GetSelCount());
        EXPECT_TRUE(f.list.IsSelected(3));
        EXPECT_FALSE(f.list.IsSelected(2));
        EXPECT_EQ(std::vector<int>({3}), f.Selection());
        f.list.SetSel(1, true);
        f.list.SetSel(9, true);
        if (c.single)
            EXPECT_EQ(std::vector<int>({1}), f.Selection());
        else
            EXPECT_EQ(std::vector<int>({1, 3}), f.Selection());
        EXPECT_FALSE(f.list.ToggleSel(1));
        EXPECT_FALSE(f.list.IsSelected(1));
        EXPECT_TRUE(f.list.ToggleSel(4));
        EXPECT_EQ(c.single ? std::vector<int>({4}) : std::vector<int>({3, 4}), f.Selection());
        if (!c.single)
        {
            f.list.SelectRange(0, 2, true);
            EXPECT_EQ(std::vector<int>({0, 1, 2, 3, 4}), f.Selection());
            f.list.SelectRange(1, 3, false);
            EXPECT_EQ(std::vector<int>({0, 4}), f.Selection());
        }
        f.list.SetCurSel(-1);
        EXPECT_EQ(0, f.list.GetSelCount());
        EXPECT_EQ(-1, f.list.GetCurSel());
    }
}

TEST(SListCtrl, ItemHeightFollowsFontMarginAndImages)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 1));
    HDC dc = GetDC(f.list.GetHandle());
    HGDIOBJ old = SelectObject(dc, (HFONT)f.list.SendMessage(WM_GETFONT));
    TEXTMETRICA metrics;
    ASSERT_TRUE(GetTextMetricsA(dc, &metrics));
    SelectObject(dc, old);
    ReleaseDC(f.list.GetHandle(), dc);
    int text = metrics.tmHeight;
    EXPECT_EQ(text + 2, f.list.GetItemHeight());
    // The parent measured the item through the list.
    EXPECT_EQ(text + 2, (int)f.list.SendMessage(LB_GETITEMHEIGHT, 0));

    f.list.SetMargin(-3);
    EXPECT_EQ(text, f.list.GetItemHeight());
    f.list.SetMargin(4);
    HIMAGELIST images = ImageList_Create(16, text + 20, ILC_COLOR32, 1, 1);
    ASSERT_NE(nullptr, images);
    f.list.SetRightImageList(images);
    EXPECT_EQ(text + 20 + 8, f.list.GetItemHeight());
    EXPECT_EQ(1, f.list.InsertItem("tall"));
    EXPECT_EQ(text + 28, (int)f.list.SendMessage(LB_GETITEMHEIGHT, 1));
    f.list.SetRightImageList(nullptr);
    EXPECT_EQ(text + 8, f.list.GetItemHeight());
    f.list.RemoveAll();
    ImageList_Destroy(images);
}

TEST(SListCtrl, UniformHeightFollowsForEveryItemWhileMeasuredItemsKeepTheirs)
{
    struct Case
    {
        bool uniform;
        DWORD ownerDraw;
        bool firstFollows;
    };
    const Case cases[] = {{false, LBS_OWNERDRAWVARIABLE, false}, {true, LBS_OWNERDRAWFIXED, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.uniform ? "uniform" : "measured");
        ListFixture f;
        ASSERT_TRUE(f.Make(0, 1, c.uniform));
        EXPECT_EQ(c.uniform, f.list.HasUniformHeight());
        EXPECT_EQ(c.ownerDraw, f.list.GetStyle() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
        // Whole items or not, the list keeps the height it was given.
        RECT window;
        GetWindowRect(f.list.GetHandle(), &window);
        EXPECT_EQ(200, window.bottom - window.top);
        const int small = f.list.GetItemHeight();
        ASSERT_GT(small, 0);
        EXPECT_EQ(small, (int)f.list.SendMessage(LB_GETITEMHEIGHT, 0));

        // A taller image between two inserts: the new item is taller; the first one
        // follows only when all items share one height.
        HIMAGELIST images = ImageList_Create(16, small + 20, ILC_COLOR32, 1, 1);
        ASSERT_NE(nullptr, images);
        f.list.SetRightImageList(images);
        const int tall = f.list.GetItemHeight();
        EXPECT_EQ(small + 20 + 2, tall);
        EXPECT_EQ(1, f.list.InsertItem("tall"));
        RECT first, second;
        ASSERT_TRUE(f.list.GetItemRect(0, &first));
        ASSERT_TRUE(f.list.GetItemRect(1, &second));
        EXPECT_EQ(c.firstFollows ? tall : small, first.bottom - first.top);
        EXPECT_EQ(tall, second.bottom - second.top);
        EXPECT_EQ(first.bottom, second.top);
        f.list.SetRightImageList(nullptr);
        ImageList_Destroy(images);

        // So do a wider margin and another font.
        f.list.SetMargin(5);
        EXPECT_EQ(c.firstFollows ? small + 8 : small, (int)f.list.SendMessage(LB_GETITEMHEIGHT, 0));
        HFONT font = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        ASSERT_NE(nullptr, font);
        f.list.SendMessage(WM_SETFONT, (WPARAM)font, FALSE);
        const int large = f.list.GetItemHeight();
        EXPECT_GT(large, small + 8);
        EXPECT_EQ(c.firstFollows ? large : small, (int)f.list.SendMessage(LB_GETITEMHEIGHT, 0));
        EXPECT_EQ(2, f.list.InsertItem("large"));
        EXPECT_EQ(large, (int)f.list.SendMessage(LB_GETITEMHEIGHT, 2));
        f.list.Destroy();
        DeleteObject(font);
    }
}

TEST(SListCtrl, HitTestMissesBelowTheLastItem)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 3));
    for (int i = 0; i < 3; i++)
    {
        LPARAM point = f.PointOf(i);
        EXPECT_EQ(i, f.list.ItemFromPoint((short)LOWORD(point), (short)HIWORD(point)));
    }
    LPARAM below = f.PointBelowLast();
    EXPECT_EQ(-1, f.list.ItemFromPoint((short)LOWORD(below), (short)HIWORD(below)));
    EXPECT_EQ(-1, f.list.ItemFromPoint(-5, -5));
}

TEST(SListCtrl, SingleModeClicks)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 3));
    f.Click(WM_LBUTTONDOWN, 1);
    EXPECT_EQ(1, f.list.GetCurSel());
    EXPECT_EQ(1u, f.Count(kSelection));
    auto mouse = f.parent.Received(kMouse);
    ASSERT_EQ(1u, mouse.size());
    EXPECT_EQ(9, mouse[0].mouse.code);
    EXPECT_EQ((short)LOWORD(f.PointOf(1)), mouse[0].mouse.x);
    EXPECT_EQ((WPARAM)&f.list, mouse[0].wParam);
    EXPECT_EQ(f.list.GetHandle(), GetFocus());
    // The same item again changes nothing.
    f.Click(WM_LBUTTONDOWN, 1);
    EXPECT_EQ(1u, f.Count(kSelection));
    // Below the last item the selection is cleared.
    f.Click(WM_LBUTTONDOWN, -1);
    EXPECT_EQ(-1, f.list.GetCurSel());
    EXPECT_EQ(2u, f.Count(kSelection));
    f.Click(WM_RBUTTONDOWN, 2);
    EXPECT_EQ(2, f.list.GetCurSel());
    mouse = f.parent.Received(kMouse);
    ASSERT_EQ(4u, mouse.size());
    EXPECT_EQ(12, mouse[3].mouse.code);
}

TEST(SListCtrl, ExtendedModeClicks)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(LBS_EXTENDEDSEL, 6));
    f.Click(WM_LBUTTONDOWN, 1);
    EXPECT_EQ(std::vector<int>({1}), f.Selection());
    f.Click(WM_LBUTTONDOWN, 4, MK_SHIFT);
    EXPECT_EQ(std::vector<int>({1, 2, 3, 4}), f.Selection());
    // Shift ranges run from the anchor, replacing the selection.
    f.Click(WM_LBUTTONDOWN, 0, MK_SHIFT);
    EXPECT_EQ(std::vector<int>({0, 1}), f.Selection());
    f.Click(WM_LBUTTONDOWN, 3, MK_CONTROL);
    EXPECT_EQ(std::vector<int>({0, 1, 3}), f.Selection());
    EXPECT_EQ(3, f.list.GetAnchorIndex());
    // Shift and Ctrl add the range to the selection.
    f.Click(WM_LBUTTONDOWN, 5, MK_SHIFT | MK_CONTROL);
    EXPECT_EQ(std::vector<int>({0, 1, 3, 4, 5}), f.Selection());
    // A right-click on a selected item keeps the selection; on another item selects it alone.
    size_t notified = f.Count(kSelection);
    f.Click(WM_RBUTTONDOWN, 4);
    EXPECT_EQ(std::vector<int>({0, 1, 3, 4, 5}), f.Selection());
    EXPECT_EQ(notified, f.Count(kSelection));
    f.Click(WM_RBUTTONDOWN, 2);
    EXPECT_EQ(std::vector<int>({2}), f.Selection());
    EXPECT_EQ(notified + 1, f.Count(kSelection));
    // A Ctrl-click on the only selected item leaves nothing selected and no anchor.
    f.Click(WM_LBUTTONDOWN, 2, MK_CONTROL);
    EXPECT_TRUE(f.Selection().empty());
    EXPECT_EQ(-1, f.list.GetCurSel());
    EXPECT_EQ(-1, f.list.GetAnchorIndex());
    EXPECT_EQ(notified + 2, f.Count(kSelection));
    // A plain click on the already selected single item notifies nothing.
    f.Click(WM_LBUTTONDOWN, 2);
    f.Click(WM_LBUTTONDOWN, 2);
    EXPECT_EQ(notified + 3, f.Count(kSelection));
    // A Shift-click below the last item extends to the last item.
    f.Click(WM_LBUTTONDOWN, -1, MK_SHIFT);
    EXPECT_EQ(std::vector<int>({2, 3, 4, 5}), f.Selection());
}

TEST(SListCtrl, MultipleModeClicksToggle)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(LBS_MULTIPLESEL, 4));
    f.Click(WM_LBUTTONDOWN, 1);
    f.Click(WM_LBUTTONDOWN, 3);
    EXPECT_EQ(std::vector<int>({1, 3}), f.Selection());
    f.Click(WM_LBUTTONDOWN, 1);
    EXPECT_EQ(std::vector<int>({3}), f.Selection());
    f.Click(WM_RBUTTONDOWN, 0);
    EXPECT_EQ(std::vector<int>({3}), f.Selection());
    f.Click(WM_MBUTTONDOWN, -1);
    EXPECT_TRUE(f.Selection().empty());
    EXPECT_EQ(4u, f.Count(kSelection));
}

TEST(SListCtrl, DoubleClickNotifiesOnlyWithASelection)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 0));
    f.list.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(0u, f.Count(kDoubleClick));
    auto mouse = f.parent.Received(kMouse);
    ASSERT_EQ(1u, mouse.size());
    EXPECT_EQ(65, mouse[0].mouse.code);

    f.list.InsertItem("a");
    f.list.SetCurSel(0);
    f.parent.ClearReceived();
    f.list.SendMessage(WM_LBUTTONDBLCLK, 0, f.PointOf(0));
    EXPECT_EQ(1u, f.Count(kDoubleClick));
    mouse = f.parent.Received(kMouse);
    ASSERT_EQ(1u, mouse.size());
    EXPECT_EQ(65, mouse[0].mouse.code);
}

TEST(SListCtrl, KeysMoveTheSelectionAndAreReported)
{
    for (DWORD style : {0ul, (unsigned long)LBS_EXTENDEDSEL})
    {
        SCOPED_TRACE(style);
        ListFixture f;
        ASSERT_TRUE(f.Make(style, 5));
        f.list.SetCurSel(1);
        f.list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(2, f.list.GetCurSel());
        f.list.SendMessage(WM_KEYDOWN, VK_END, 0);
        EXPECT_EQ(4, f.list.GetCurSel());
        f.list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(4, f.list.GetCurSel());
        auto keys = f.parent.Received(kKey);
        ASSERT_EQ(3u, keys.size());
        EXPECT_EQ((LPARAM)VK_DOWN, keys[0].lParam);
        EXPECT_EQ((LPARAM)VK_END, keys[1].lParam);
        // Only the two keys that moved the selection reported it.
        EXPECT_EQ(2u, f.Count(kSelection));
    }
}

TEST(SListCtrl, DeleteSelected)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(LBS_EXTENDEDSEL, 5));
    f.list.SetSel(1, true);
    f.list.SetSel(3, true);
    f.list.SetSel(4, true);
    EXPECT_EQ(3, f.list.DeleteSelected());
    EXPECT_EQ(2, f.list.GetCount());
    EXPECT_STREQ("item 0", f.list.GetItemText(0));
    EXPECT_STREQ("item 2", f.list.GetItemText(1));
    EXPECT_EQ(0, f.list.DeleteSelected());

    // A deletion the list box refuses ends the loop instead of repeating it for ever.
    SRecordingParent& parent = SharedListParent();
    RefusingList refusing;
    RECT rect = {0, 0, 100, 100};
    ASSERT_TRUE(refusing.Create(LBS_EXTENDEDSEL, 0, &rect, parent.GetHandle()));
    refusing.InsertItem("kept");
    refusing.SetCurSel(0);
    EXPECT_EQ(0, refusing.DeleteSelected());
    EXPECT_EQ(1, refusing.GetCount());
    EXPECT_EQ(-1, refusing.MoveItem(0, 1));
    EXPECT_STREQ("kept", refusing.GetItemText(0));
}

TEST(SListCtrl, DrawItemPaintsColumnsAndSelection)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 0));
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ASSERT_NE(nullptr, images);
    f.list.SetLeftImageList(images);
    f.list.SetBackColor(RGB(0, 0, 255));
    f.list.SetSelectionColors(RGB(255, 0, 0), SCOLOR_NONE);
    f.list.InsertItem("", -1, -1);
    f.list.InsertItem("text", -1, -1);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 30);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT draw;
    memset(&draw, 0, sizeof(draw));
    draw.CtlType = ODT_LISTBOX;
    draw.itemID = 0;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = ODS_SELECTED;
    draw.hwndItem = f.list.GetHandle();
    draw.hDC = dc;
    SetRect(&draw.rcItem, 0, 0, 200, 30);
    EXPECT_TRUE(f.list.DrawItem(&draw));
    // Margin 1 and a 16-pixel image: the selection fill starts at x 20; the image column keeps the back colour.
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 19, 1));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 20, 1));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 199, 29));

    // Focus-only calls draw nothing but succeed; a missing record is refused.
    draw.itemAction = ODA_FOCUS;
    draw.itemState = 0;
    EXPECT_TRUE(f.list.DrawItem(&draw));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 20, 1));
    draw.itemID = 5;
    draw.itemAction = ODA_DRAWENTIRE;
    EXPECT_FALSE(f.list.DrawItem(&draw));

    // The text of an unselected item in the text colour over the back colour.
    draw.itemID = 1;
    EXPECT_TRUE(f.list.DrawItem(&draw));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 20, 1));
    int textPixels = 0;
    for (int x = 20; x < 120; x++)
        for (int y = 0; y < 30; y++)
            if (GetPixel(dc, x, y) != RGB(0, 0, 255))
                textPixels++;
    EXPECT_GT(textPixels, 0);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    f.list.RemoveAll();
    ImageList_Destroy(images);
}

TEST(SListCtrl, ChildColourBrushFollowsBackColour)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 0));
    f.list.SetBackColor(RGB(10, 20, 30));
    HBRUSH brush = f.list.OnCtlColorListBox(nullptr);
    ASSERT_NE(nullptr, brush);
    LOGBRUSH info;
    ASSERT_EQ((int)sizeof(info), GetObjectA(brush, sizeof(info), &info));
    EXPECT_EQ(RGB(10, 20, 30), info.lbColor);
    f.list.SetBackColor(SCOLOR_TRANSPARENT);
    EXPECT_EQ(nullptr, f.list.OnCtlColorListBox(nullptr));
    // The earlier brush is gone.
    EXPECT_EQ(0, GetObjectA(brush, sizeof(info), &info));
    f.list.SetBackColor(SCOLOR_NONE);
    EXPECT_EQ(nullptr, f.list.OnCtlColorListBox(nullptr));
}

TEST(SListCtrl, ItemsAreFreedWithTheWindow)
{
    ListFixture f;
    ASSERT_TRUE(f.Make(0, 3));
    EXPECT_TRUE(f.list.Destroy());
    EXPECT_EQ(0, f.list.GetCount());
    EXPECT_EQ(-1, f.list.InsertItem("late"));
}
