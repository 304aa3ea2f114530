#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SControl.h"
#include "SStatusBarCtrl.h"

namespace
{

std::vector<int> Edges(SStatusBarCtrl* bar)
{
    int count = (int)bar->SendMessage(SB_GETPARTS);
    std::vector<int> edges((size_t)(count > 0 ? count : 0));
    if (count > 0)
        bar->SendMessage(SB_GETPARTS, (WPARAM)count, (LPARAM)edges.data());
    return edges;
}

std::string PartText(SStatusBarCtrl* bar, int part)
{
    char text[128] = "";
    bar->SendMessage(SB_GETTEXTA, (WPARAM)part, (LPARAM)text);
    return text;
}

}

TEST(SStatusBarCtrl, PartsDivideTheParentWidth)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 400, 200));
    SStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    EXPECT_EQ(SKIND_STATUSBAR, bar.GetKind());
    ASSERT_EQ(400, parent.GetClientWidth());
    struct Case { int n; std::vector<int> edges; };
    const Case cases[] = {
        {4, {100, 200, 300, -1}},
        {1, {-1}},
        {3, {133, 266, -1}},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(bar.SetParts(c.n)) << c.n;
        EXPECT_EQ(c.n, bar.GetPartCount());
        EXPECT_EQ(c.edges, Edges(&bar)) << c.n;
    }
    // Below one part nothing changes.
    EXPECT_FALSE(bar.SetParts(0));
    EXPECT_FALSE(bar.SetParts(-3));
    EXPECT_EQ(3, bar.GetPartCount());
}

TEST(SStatusBarCtrl, PartRightEdgesAndTexts)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 400, 200));
    SStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    ASSERT_TRUE(bar.SetParts(4));
    EXPECT_TRUE(bar.SetPartRight(1, 150));
    EXPECT_EQ((std::vector<int>{100, 150, 300, -1}), Edges(&bar));
    EXPECT_TRUE(bar.SetPartRight(3, 390));
    EXPECT_EQ((std::vector<int>{100, 150, 300, 390}), Edges(&bar));
    // Indexes outside the parts are refused and change nothing.
    EXPECT_FALSE(bar.SetPartRight(4, 10));
    EXPECT_FALSE(bar.SetPartRight(-1, 10));
    EXPECT_EQ((std::vector<int>{100, 150, 300, 390}), Edges(&bar));

    EXPECT_TRUE(bar.SetText(0, "Ready"));
    EXPECT_TRUE(bar.SetText(2, "12 tracks"));
    EXPECT_EQ("Ready", PartText(&bar, 0));
    EXPECT_EQ("12 tracks", PartText(&bar, 2));
    EXPECT_FALSE(bar.SetText(4, "none"));
    EXPECT_FALSE(bar.SetText(-1, "none"));
}

TEST(SStatusBarCtrl, FollowsTheBottomOfTheResizedParent)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 400, 200));
    SStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    RECT rect;
    ASSERT_TRUE(bar.GetRectInParent(&rect));
    EXPECT_EQ(200, rect.bottom);
    parent.SetClientSize(300, 260);
    PumpPending();
    ASSERT_TRUE(bar.GetRectInParent(&rect));
    EXPECT_EQ(260, rect.bottom);
    EXPECT_EQ(300, rect.right - rect.left);
}

TEST(SStatusBarCtrl, ForwardsMouseButtons)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 400, 200));
    parent.SetMouseMessages({ControlMessage(SBLOCK_STATUSBAR)});
    SStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 4));
    auto got = parent.Received(ControlMessage(SBLOCK_STATUSBAR));
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((WPARAM)&bar, got[0].wParam);
    EXPECT_EQ(65, got[0].mouse.code);
    EXPECT_EQ(30, got[0].mouse.x);
    EXPECT_EQ(4, got[0].mouse.y);
}

TEST(SStatusBarCtrl, WithoutWindowEverythingIsRefused)
{
    SStatusBarCtrl bar;
    EXPECT_FALSE(bar.SetParts(2));
    EXPECT_FALSE(bar.SetPartRight(0, 10));
    EXPECT_FALSE(bar.SetText(0, "x"));
    EXPECT_EQ(0, bar.GetPartCount());
}
