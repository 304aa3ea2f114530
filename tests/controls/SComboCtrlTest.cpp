#include <gtest/gtest.h>
#include <windows.h>

#include "ListTestSupport.h"
#include "SComboCtrl.h"
#include "SControl.h"
#include "../window/PumpSupport.h"

namespace
{

const UINT kEditChange = ControlMessage(SBLOCK_COMBO, 0);
const UINT kSelChange = ControlMessage(SBLOCK_COMBO, 1);

struct ComboFixture
{
    SRecordingParent& parent = SharedListParent();
    SComboCtrl combo;

    bool Make(DWORD type)
    {
        RECT rect = {10, 10, 210, 150};
        if (!combo.Create("", WS_VISIBLE | WS_VSCROLL | type, 0, &rect, parent.GetHandle(), 6))
            return false;
        for (const char* text : {"Apple", "apricot", "banana"})
            combo.AddString(text);
        PumpPending();
        parent.ClearReceived();
        return true;
    }
};

}

TEST(SComboCtrl, Entries)
{
    SComboCtrl unborn;
    EXPECT_EQ(7, unborn.GetKind());
    EXPECT_EQ(-1, unborn.AddString("x"));
    EXPECT_EQ(0, unborn.GetCount());
    EXPECT_EQ(-1, unborn.GetCurSel());
    EXPECT_STREQ("", unborn.GetSelectedText());

    ComboFixture f;
    ASSERT_TRUE(f.Make(CBS_DROPDOWNLIST));
    EXPECT_TRUE(f.combo.GetStyle() & WS_CHILD);
    EXPECT_EQ(3, f.combo.GetCount());
    EXPECT_EQ(1, f.combo.AddString("avocado", 1));
    EXPECT_STREQ("avocado", f.combo.GetLBText(1));
    EXPECT_STREQ("", f.combo.GetLBText(-1));
    EXPECT_STREQ("", f.combo.GetLBText(4));
    EXPECT_EQ(4, f.combo.AddString(""));
    EXPECT_STREQ("", f.combo.GetLBText(4));
    EXPECT_EQ(-1, f.combo.GetCurSel());
    EXPECT_STREQ("", f.combo.GetSelectedText());

    // Exact matching finds only the whole text (ignoring case); the other matches a prefix.
    EXPECT_EQ(-1, f.combo.SelectString("appl", true));
    EXPECT_EQ(-1, f.combo.GetCurSel());
    EXPECT_EQ(0, f.combo.SelectString("apple", true));
    EXPECT_STREQ("Apple", f.combo.GetSelectedText());
    EXPECT_EQ(2, f.combo.SelectString("apr", false));
    EXPECT_STREQ("apricot", f.combo.GetSelectedText());
    EXPECT_EQ(3, f.combo.FindStringExact("BANANA"));
    // The search starts after the given entry and wraps around.
    EXPECT_EQ(0, f.combo.FindStringExact("Apple", 0));
    EXPECT_EQ(-1, f.combo.FindStringExact("Appl"));
    EXPECT_TRUE(f.combo.SetCurSel(3));
    EXPECT_FALSE(f.combo.SetCurSel(9));

    EXPECT_EQ(4, f.combo.DeleteString(4));
    EXPECT_EQ(CB_ERR, f.combo.DeleteString(9));
    f.combo.ResetContent();
    EXPECT_EQ(0, f.combo.GetCount());
}

TEST(SComboCtrl, SelectionAndEditNotifications)
{
    ComboFixture list;
    ASSERT_TRUE(list.Make(CBS_DROPDOWNLIST));
    list.combo.SetCurSel(0);
    list.combo.SetFocus();
    list.combo.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(1, list.combo.GetCurSel());
    auto got = list.parent.Received(kSelChange);
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((WPARAM)&list.combo, got[0].wParam);
    EXPECT_TRUE(list.parent.Received(kEditChange).empty());

    ComboFixture dropdown;
    ASSERT_TRUE(dropdown.Make(CBS_DROPDOWN));
    HWND edit = GetWindow(dropdown.combo.GetHandle(), GW_CHILD);
    ASSERT_NE(nullptr, edit);
    SetFocus(edit);
    SendMessageA(edit, WM_CHAR, 'k', 1);
    EXPECT_STREQ("k", dropdown.combo.GetText());
    auto edits = dropdown.parent.Received(kEditChange);
    ASSERT_EQ(1u, edits.size());
    EXPECT_EQ((WPARAM)&dropdown.combo, edits[0].wParam);
    EXPECT_TRUE(dropdown.parent.Received(kSelChange).empty());
}
