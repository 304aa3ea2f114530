#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ListTestSupport.h"
#include "SControl.h"
#include "STabCtrl.h"
#include "../window/PumpSupport.h"

namespace
{

const UINT kMouse = ControlMessage(SBLOCK_TAB, 0);
const UINT kSelected = ControlMessage(SBLOCK_TAB, 1);

// A tab control with three hidden page windows beside it.
struct TabFixture
{
    SRecordingParent& parent = SharedListParent({kMouse});
    STabCtrl tabs;
    SWnd pages[3];

    bool Make(DWORD style = 0)
    {
        RECT rect = {10, 10, 390, 290};
        if (!tabs.Create(WS_VISIBLE | style, 0, &rect, parent.GetHandle(), 5))
            return false;
        for (SWnd& page : pages)
        {
            RECT inner = {20, 40, 380, 280};
            if (!page.CreateChild("page", 0, 0, &inner, parent.GetHandle()))
                return false;
        }
        PumpPending();
        parent.ClearReceived();
        return true;
    }
    std::string TabText(int tab)
    {
        char text[32] = "";
        TCITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        tabs.SendMessage(TCM_GETITEMA, (WPARAM)tab, (LPARAM)&item);
        return text;
    }
    std::vector<bool> Visible()
    {
        std::vector<bool> out;
        for (SWnd& page : pages)
            out.push_back(page.IsVisible());
        return out;
    }
};

}

TEST(STabCtrl, PagesFollowTheSelection)
{
    STabCtrl unborn;
    EXPECT_EQ(38, unborn.GetKind());
    EXPECT_EQ(-1, unborn.GetCurSel());
    EXPECT_EQ(-1, unborn.InsertTab("x"));

    TabFixture f;
    ASSERT_TRUE(f.Make());
    EXPECT_TRUE(f.tabs.GetStyle() & WS_CHILD);
    EXPECT_EQ(-1, f.tabs.GetCurSel());
    // Pages belong to existing tabs only.
    EXPECT_FALSE(f.tabs.AddPage(0, &f.pages[0]));
    EXPECT_EQ(0, f.tabs.InsertTab("zero"));
    EXPECT_EQ(1, f.tabs.InsertTab("one"));
    EXPECT_EQ(2, f.tabs.GetItemCount());
    EXPECT_TRUE(f.tabs.AddPage(0, &f.pages[0]));
    EXPECT_TRUE(f.tabs.AddPage(1, &f.pages[1]));
    EXPECT_FALSE(f.tabs.AddPage(0, &f.pages[0]));
    EXPECT_FALSE(f.tabs.AddPage(0, nullptr));
    EXPECT_FALSE(f.tabs.AddPage(-1, &f.pages[2]));
    EXPECT_FALSE(f.tabs.AddPage(2, &f.pages[2]));
    // Inserting a tab shows the pages of the selected one.
    EXPECT_EQ(0, f.tabs.InsertTab("first", 0));
    EXPECT_EQ("zero", f.TabText(1));
    EXPECT_EQ(3, f.tabs.GetItemCount());
    EXPECT_EQ(1, f.tabs.GetCurSel());
    EXPECT_EQ(std::vector<bool>({false, true, false}), f.Visible());
    EXPECT_TRUE(f.tabs.AddPage(0, &f.pages[2]));
    EXPECT_TRUE(f.tabs.AddPage(2, &f.pages[2]));
    // Registrations keep their tab numbers: tab 0 now shows pages 0 and 2.
    f.tabs.SetCurSel(0);
    EXPECT_EQ(0, f.tabs.GetCurSel());
    EXPECT_EQ(std::vector<bool>({true, false, true}), f.Visible());
    f.tabs.SetCurSel(2);
    EXPECT_EQ(std::vector<bool>({false, false, true}), f.Visible());
    f.tabs.SetCurSel(1);
    EXPECT_EQ(std::vector<bool>({false, true, false}), f.Visible());
    // A tab index equal to the count leaves the pages as they are.
    f.tabs.ShowPage(3);
    f.tabs.ShowPage(-1);
    EXPECT_EQ(std::vector<bool>({false, true, false}), f.Visible());
    EXPECT_FALSE(f.tabs.IsValidTab(3));
    EXPECT_TRUE(f.tabs.IsValidTab(2));
}

TEST(STabCtrl, ClickSelectsAndNotifiesAfterShowingThePage)
{
    TabFixture f;
    ASSERT_TRUE(f.Make());
    f.tabs.InsertTab("zero");
    f.tabs.InsertTab("one");
    f.tabs.AddPage(0, &f.pages[0]);
    f.tabs.AddPage(1, &f.pages[1]);
    f.tabs.SetCurSel(0);
    f.parent.ClearReceived();
    RECT rect;
    ASSERT_TRUE(f.tabs.SendMessage(TCM_GETITEMRECT, 1, (LPARAM)&rect));
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    f.tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    f.tabs.SendMessage(WM_LBUTTONUP, 0, point);
    PumpPending();
    EXPECT_EQ(1, f.tabs.GetCurSel());
    auto selected = f.parent.Received(kSelected);
    ASSERT_EQ(1u, selected.size());
    EXPECT_EQ(1, selected[0].lParam);
    EXPECT_EQ((WPARAM)&f.tabs, selected[0].wParam);
    EXPECT_EQ(std::vector<bool>({false, true, false}), f.Visible());
    auto mouse = f.parent.Received(kMouse);
    ASSERT_GE(mouse.size(), 2u);
    EXPECT_EQ(9, mouse[0].mouse.code);
    EXPECT_EQ(17, mouse[1].mouse.code);
    EXPECT_EQ((short)LOWORD(point), mouse[0].mouse.x);
}

TEST(STabCtrl, TabTipRewritesTheTool)
{
    TabFixture f;
    ASSERT_TRUE(f.Make(TCS_TOOLTIPS));
    f.tabs.InsertTab("zero");
    f.tabs.InsertTab("one");
    HWND tooltip = (HWND)f.tabs.SendMessage(TCM_GETTOOLTIPS);
    if (!tooltip)
    {
        tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, f.tabs.GetHandle(),
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, tooltip);
        f.tabs.SendMessage(TCM_SETTOOLTIPS, (WPARAM)tooltip);
    }
    ASSERT_EQ(tooltip, (HWND)f.tabs.SendMessage(TCM_GETTOOLTIPS));
    int existing = (int)SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0);
    // Make sure tools stand at the indexes of tab 0 and tab 1 (index tab + 1).
    for (int id = existing; id < 3; id++)
    {
        TOOLINFOA tool;
        memset(&tool, 0, sizeof(tool));
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = f.tabs.GetHandle();
        tool.uId = 100 + id;
        tool.lpszText = (LPSTR) "old";
        SetRect(&tool.rect, 0, 0, 10, 10);
        ASSERT_TRUE(SendMessageA(tooltip, TTM_ADDTOOLA, 0, (LPARAM)&tool));
    }
    f.tabs.SetTabTip(1, "second tab");
    f.tabs.SetTabTip(5, "nothing");
    TOOLINFOA tool;
    memset(&tool, 0, sizeof(tool));
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    ASSERT_TRUE(SendMessageA(tooltip, TTM_ENUMTOOLSA, 2, (LPARAM)&tool));
    char text[80] = "";
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof(text), (LPARAM)&tool);
    EXPECT_STREQ("second tab", text);
}
