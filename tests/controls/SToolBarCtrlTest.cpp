#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SControl.h"
#include "SControlBarCtrl.h"
#include "SToolBarCtrl.h"

namespace
{

// Presses and releases the left button over the button at index, as the system would.
void ClickButton(SToolBarCtrl* toolBar, int index)
{
    RECT item;
    ASSERT_TRUE(toolBar->SendMessage(TB_GETITEMRECT, (WPARAM)index, (LPARAM)&item));
    LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    toolBar->SendMessage(WM_MOUSEMOVE, 0, point);
    toolBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    toolBar->SendMessage(WM_LBUTTONUP, 0, point);
    if (GetCapture() == toolBar->GetHandle())
        ReleaseCapture();
    PumpPending();
}

}

TEST(SToolBarCtrl, CreationStyles)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SToolBarCtrl flat;
    ASSERT_TRUE(flat.Create(WS_VISIBLE | TBSTYLE_FLAT, 0, nullptr, parent.GetHandle()));
    EXPECT_EQ(SKIND_TOOLBAR, flat.GetKind());
    EXPECT_TRUE(flat.GetStyle() & TBSTYLE_FLAT);
    EXPECT_TRUE(flat.GetStyle() & CCS_NODIVIDER);
    EXPECT_TRUE(flat.GetStyle() & WS_CHILD);
    EXPECT_FALSE(flat.Create(WS_VISIBLE, 0, nullptr, parent.GetHandle()));

    SToolBarCtrl popup;
    ASSERT_TRUE(popup.Create(WS_POPUP, 0, nullptr, parent.GetHandle()));
    EXPECT_FALSE(popup.GetStyle() & WS_CHILD);
    EXPECT_TRUE(popup.GetStyle() & CCS_NODIVIDER);
    EXPECT_FALSE(popup.GetStyle() & TBSTYLE_FLAT);

    EXPECT_FALSE(flat.IsTransparent());
    flat.SetTransparent(true);
    EXPECT_TRUE(flat.IsTransparent());
    flat.SetTransparent(false);
    EXPECT_FALSE(flat.IsTransparent());
}

// Buttons added together come out as the same buttons added one by one.
TEST(SToolBarCtrl, ButtonsAddedTogether)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SToolBarCtrl one, together;
    ASSERT_TRUE(one.Create(WS_VISIBLE | TBSTYLE_FLAT, 0, nullptr, parent.GetHandle()));
    ASSERT_TRUE(together.Create(WS_VISIBLE | TBSTYLE_FLAT, 0, nullptr, parent.GetHandle()));
    ASSERT_TRUE(one.AddButton(10, -1, "Open", BTNS_BUTTON | BTNS_SHOWTEXT, TBSTATE_ENABLED, 0));
    ASSERT_TRUE(one.AddSeparator());
    ASSERT_TRUE(one.AddButton(11, -1, "Bold", BTNS_CHECK, TBSTATE_ENABLED, 0));
    TBBUTTON buttons[3];
    memset(buttons, 0, sizeof(buttons));
    buttons[0] = {-1, 10, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_SHOWTEXT, {}, 0, (INT_PTR) "Open"};
    buttons[1].fsStyle = TBSTYLE_SEP;
    buttons[1].fsState = TBSTATE_ENABLED;
    buttons[2] = {-1, 11, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, (INT_PTR) "Bold"};
    ASSERT_TRUE(together.AddButtons(buttons, 3));
    EXPECT_FALSE(together.AddButtons(nullptr, 2));
    EXPECT_FALSE(together.AddButtons(buttons, 0));
    ASSERT_EQ(one.GetButtonCount(), together.GetButtonCount());
    for (int i = 0; i < one.GetButtonCount(); i++) {
        TBBUTTON a, b;
        ASSERT_TRUE(one.SendMessage(TB_GETBUTTON, i, (LPARAM)&a));
        ASSERT_TRUE(together.SendMessage(TB_GETBUTTON, i, (LPARAM)&b));
        EXPECT_EQ(a.idCommand, b.idCommand) << i;
        EXPECT_EQ(a.fsStyle, b.fsStyle) << i;
        RECT ra, rb;
        ASSERT_TRUE(one.SendMessage(TB_GETITEMRECT, i, (LPARAM)&ra));
        ASSERT_TRUE(together.SendMessage(TB_GETITEMRECT, i, (LPARAM)&rb));
        EXPECT_EQ(ra.right - ra.left, rb.right - rb.left) << i;
        if (a.idCommand) {
            char textA[32] = "", textB[32] = "";
            one.SendMessage(TB_GETBUTTONTEXTA, a.idCommand, (LPARAM)textA);
            together.SendMessage(TB_GETBUTTONTEXTA, b.idCommand, (LPARAM)textB);
            EXPECT_STREQ(textA, textB) << i;
        }
    }
}

TEST(SToolBarCtrl, ButtonsSeparatorsAndStates)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SToolBarCtrl toolBar;
    ASSERT_TRUE(toolBar.Create(WS_VISIBLE | TBSTYLE_FLAT, 0, nullptr, parent.GetHandle()));
    EXPECT_EQ(0, toolBar.GetButtonCount());
    ASSERT_TRUE(toolBar.AddButton(10, -1, "Open", BTNS_BUTTON, TBSTATE_ENABLED, 77));
    ASSERT_TRUE(toolBar.AddSeparator(0, 8));
    ASSERT_TRUE(toolBar.AddButton(11, -1, "Bold", BTNS_CHECK, TBSTATE_ENABLED, 0));
    ASSERT_TRUE(toolBar.AddButton(12, -1, nullptr, BTNS_BUTTON, 0, 0));
    EXPECT_EQ(4, toolBar.GetButtonCount());

    TBBUTTON button;
    ASSERT_TRUE(toolBar.SendMessage(TB_GETBUTTON, 0, (LPARAM)&button));
    EXPECT_EQ(10, button.idCommand);
    EXPECT_EQ(77u, (unsigned)button.dwData);
    char text[32] = "";
    EXPECT_EQ(4, (int)toolBar.SendMessage(TB_GETBUTTONTEXTA, 10, (LPARAM)text));
    EXPECT_STREQ("Open", text);

    // The separator is 8 pixels wide and has no text.
    ASSERT_TRUE(toolBar.SendMessage(TB_GETBUTTON, 1, (LPARAM)&button));
    EXPECT_TRUE(button.fsStyle & TBSTYLE_SEP);
    EXPECT_LE((int)toolBar.SendMessage(TB_GETBUTTONTEXTA, 0, (LPARAM)text), 0);
    RECT item;
    ASSERT_TRUE(toolBar.SendMessage(TB_GETITEMRECT, 1, (LPARAM)&item));
    EXPECT_EQ(8, item.right - item.left);

    EXPECT_FALSE(toolBar.IsButtonChecked(11));
    EXPECT_TRUE(toolBar.CheckButton(11, true));
    EXPECT_TRUE(toolBar.IsButtonChecked(11));
    EXPECT_TRUE(toolBar.CheckButton(11, false));
    EXPECT_FALSE(toolBar.IsButtonChecked(11));
    // An unknown command is never checked.
    EXPECT_FALSE(toolBar.IsButtonChecked(999));

    EXPECT_FALSE(toolBar.SendMessage(TB_ISBUTTONENABLED, 12));
    EXPECT_TRUE(toolBar.EnableButton(12, true));
    EXPECT_TRUE(toolBar.SendMessage(TB_ISBUTTONENABLED, 12));
    EXPECT_TRUE(toolBar.EnableButton(12, false));
    EXPECT_FALSE(toolBar.SendMessage(TB_ISBUTTONENABLED, 12));

    EXPECT_GT(toolBar.GetButtonHeight(), 0);
    EXPECT_GT(toolBar.GetMaxWidth(), 0);
    EXPECT_GT(toolBar.GetMaxHeight(), 0);

    // Indexes outside the buttons are refused.
    EXPECT_FALSE(toolBar.DeleteButton(-1));
    EXPECT_FALSE(toolBar.DeleteButton(4));
    EXPECT_TRUE(toolBar.DeleteButton(3));
    EXPECT_EQ(3, toolBar.GetButtonCount());
    toolBar.DeleteAllButtons();
    EXPECT_EQ(0, toolBar.GetButtonCount());
}

TEST(SToolBarCtrl, ImageListSetsTheBitmapSize)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SToolBarCtrl toolBar;
    ASSERT_TRUE(toolBar.Create(WS_VISIBLE, 0, nullptr, parent.GetHandle()));
    HIMAGELIST images = ImageList_Create(24, 20, ILC_COLOR32, 1, 1);
    ASSERT_NE(nullptr, images);
    toolBar.SetImageList(images);
    EXPECT_EQ(images, toolBar.GetImageList());
    EXPECT_EQ((LRESULT)images, toolBar.SendMessage(TB_GETIMAGELIST));
    ASSERT_TRUE(toolBar.AddButton(1, 0, nullptr, BTNS_BUTTON, TBSTATE_ENABLED, 0));
    // The button grows around a 24 x 20 cell.
    EXPECT_GE(toolBar.GetButtonHeight(), 20);
    toolBar.SetImageList(nullptr);
    ImageList_Destroy(images);
}

TEST(SToolBarCtrl, ClickSendsTheCommandIdToTheHolder)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SToolBarCtrl toolBar;
    ASSERT_TRUE(toolBar.Create(WS_VISIBLE | TBSTYLE_FLAT, 0, nullptr, parent.GetHandle()));
    ASSERT_TRUE(toolBar.AddButton(40, -1, "First", BTNS_BUTTON, TBSTATE_ENABLED, 0));
    ASSERT_TRUE(toolBar.AddSeparator());
    ASSERT_TRUE(toolBar.AddButton(41, -1, "Second", BTNS_BUTTON, TBSTATE_ENABLED, 0));
    ClickButton(&toolBar, 2);
    auto got = parent.Received(ControlMessage(SBLOCK_TOOLBAR));
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((WPARAM)&toolBar, got[0].wParam);
    EXPECT_EQ(41, got[0].lParam);
    // A disabled button sends nothing.
    toolBar.EnableButton(40, false);
    parent.ClearReceived();
    ClickButton(&toolBar, 0);
    EXPECT_TRUE(parent.Received(ControlMessage(SBLOCK_TOOLBAR)).empty());
}

TEST(SControlBarCtrl, ToolBarCommandsReachTheWindowHoldingTheBar)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SControlBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    EXPECT_EQ(SKIND_CONTROLBAR, bar.GetKind());
    EXPECT_TRUE(bar.GetStyle() & CCS_NODIVIDER);
    EXPECT_TRUE(bar.GetStyle() & RBS_VARHEIGHT);
    EXPECT_TRUE(bar.GetStyle() & RBS_AUTOSIZE);
    SToolBarCtrl toolBar;
    ASSERT_TRUE(toolBar.Create(WS_VISIBLE | TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, nullptr,
                               bar.GetHandle()));
    ASSERT_TRUE(toolBar.AddButton(300, -1, "Play", BTNS_BUTTON, TBSTATE_ENABLED, 0));
    SIZE size = toolBar.GetMaxSize();
    ASSERT_TRUE(bar.InsertBand(toolBar.GetHandle(), -1, size.cx, size.cy, 50, true, nullptr, RBBS_NOGRIPPER));
    PumpPending();
    ClickButton(&toolBar, 0);
    auto got = parent.Received(ControlMessage(SBLOCK_TOOLBAR));
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((WPARAM)&toolBar, got[0].wParam);
    EXPECT_EQ(300, got[0].lParam);
}

TEST(SControlBarCtrl, BandsAreDescribedAndCounted)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SControlBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    SWnd first, second;
    RECT rect = {0, 0, 80, 24};
    ASSERT_TRUE(first.CreateChild("first", WS_VISIBLE, 0, &rect, bar.GetHandle()));
    ASSERT_TRUE(second.CreateChild("second", WS_VISIBLE, 0, &rect, bar.GetHandle()));
    ASSERT_TRUE(bar.InsertBand(first.GetHandle(), -1, 60, 24, 120, true, "Band", RBBS_NOGRIPPER));
    ASSERT_TRUE(bar.InsertBand(second.GetHandle(), -1, 40, 30, -1, false, nullptr, 0));
    EXPECT_EQ(2, bar.GetBandCount());

    struct Case { int index; UINT style; UINT minWidth; UINT height; UINT width; const char* text; };
    const Case cases[] = {
        {0, RBBS_NOGRIPPER | RBBS_CHILDEDGE | RBBS_BREAK, 60, 24, 120, "Band"},
        {1, RBBS_CHILDEDGE, 40, 30, 0, ""},
    };
    for (const Case& c : cases)
    {
        char text[32] = "";
        REBARBANDINFOA band;
        memset(&band, 0, sizeof(band));
        band.cbSize = REBARBANDINFOA_V6_SIZE;
        band.fMask = RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_TEXT | RBBIM_CHILD | RBBIM_IDEALSIZE;
        band.lpText = text;
        band.cch = sizeof(text);
        ASSERT_TRUE(bar.SendMessage(RB_GETBANDINFOA, (WPARAM)c.index, (LPARAM)&band)) << c.index;
        EXPECT_EQ(c.style, band.fStyle & (RBBS_NOGRIPPER | RBBS_CHILDEDGE | RBBS_BREAK)) << c.index;
        EXPECT_EQ(c.minWidth, band.cxMinChild) << c.index;
        EXPECT_EQ(c.height, band.cyMinChild) << c.index;
        EXPECT_EQ(c.width, band.cxIdeal) << c.index;
        EXPECT_STREQ(c.text, text) << c.index;
    }
    EXPECT_TRUE(bar.ShowBand(1, false));
    EXPECT_TRUE(bar.ShowBand(1, true));
    EXPECT_FALSE(bar.ShowBand(2, true));
    EXPECT_FALSE(bar.DeleteBand(-1));
    EXPECT_FALSE(bar.DeleteBand(2));
    EXPECT_TRUE(bar.DeleteBand(0));
    EXPECT_EQ(1, bar.GetBandCount());
}

namespace
{

// A parent that counts the bands its control bars report deleted.
class BandCountingParent : public SRecordingParent
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_NOTIFY && lParam && ((NMHDR*)lParam)->code == RBN_DELETEDBAND)
            deleted++;
        return SRecordingParent::OnMessage(msg, wParam, lParam);
    }
    int deleted = 0;
};

// Makes a control bar with two bands over the parent.
SControlBarCtrl* MakeBarWithTwoBands(HWND parent)
{
    SControlBarCtrl* bar = new SControlBarCtrl();
    if (!bar->Create(WS_VISIBLE, 0, parent) || !bar->InsertBand(nullptr, -1, 60, 24, -1, false, nullptr, 0) ||
        !bar->InsertBand(nullptr, -1, 10, 10, -1, false, nullptr, 0))
    {
        delete bar;
        return nullptr;
    }
    return bar;
}

}

TEST(SControlBarCtrl, DeletingTheBarRemovesItsBandsFirst)
{
    BandCountingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SControlBarCtrl* bar = MakeBarWithTwoBands(parent.GetHandle());
    ASSERT_NE(nullptr, bar);
    parent.deleted = 0;
    delete bar;
    EXPECT_EQ(2, parent.deleted);
    // The same when the window goes first.
    bar = MakeBarWithTwoBands(parent.GetHandle());
    ASSERT_NE(nullptr, bar);
    parent.deleted = 0;
    DestroyWindow(bar->GetHandle());
    EXPECT_EQ(2, parent.deleted);
    EXPECT_EQ(nullptr, bar->GetHandle());
    delete bar;
}

TEST(SControlBarCtrl, GrowingReportsToTheParent)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SControlBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    SWnd child;
    RECT rect = {0, 0, 80, 40};
    ASSERT_TRUE(child.CreateChild("child", WS_VISIBLE, 0, &rect, bar.GetHandle()));
    ASSERT_TRUE(bar.InsertBand(child.GetHandle(), -1, 60, 40, -1, true, nullptr, 0));
    PumpPending();
    auto got = parent.Received(ControlMessage(SBLOCK_CONTROLBAR));
    ASSERT_FALSE(got.empty());
    EXPECT_EQ((WPARAM)&bar, got[0].wParam);
    EXPECT_EQ(0, got[0].lParam);
    EXPECT_GE(bar.GetWindowHeight(), 40);
}

TEST(SControlBarCtrl, FollowsTheWidthOfTheResizedParent)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 400, 300));
    SControlBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    SWnd child;
    RECT rect = {0, 0, 80, 24};
    ASSERT_TRUE(child.CreateChild("child", WS_VISIBLE, 0, &rect, bar.GetHandle()));
    ASSERT_TRUE(bar.InsertBand(child.GetHandle(), -1, 60, 24, 50, true, nullptr, RBBS_NOGRIPPER));
    PumpPending();
    EXPECT_EQ(400, bar.GetWindowWidth());
    parent.SetClientSize(520, 300);
    PumpPending();
    EXPECT_EQ(520, bar.GetWindowWidth());
    RECT place;
    ASSERT_TRUE(bar.GetRectInParent(&place));
    EXPECT_EQ(0, place.top);
}
