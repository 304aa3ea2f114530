#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "SControl.h"

TEST(SControl, StyleAddsChildUnlessPopup)
{
    struct Case { DWORD style; DWORD fixed; DWORD expected; };
    const Case cases[] = {
        {WS_VISIBLE, 0, WS_VISIBLE | WS_CHILD},
        {WS_POPUP | WS_VISIBLE, 0, WS_POPUP | WS_VISIBLE},
        {WS_POPUP, BS_CHECKBOX, WS_POPUP | BS_CHECKBOX},
        {0, BS_RADIOBUTTON, WS_CHILD | BS_RADIOBUTTON},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, SControlStyle(c.style, c.fixed)) << std::hex << c.style;
}

TEST(SControl, MouseCodes)
{
    struct Case { UINT msg; int code; };
    const Case cases[] = {
        {WM_LBUTTONDOWN, 9}, {WM_LBUTTONUP, 17}, {WM_LBUTTONDBLCLK, 65}, {WM_RBUTTONDOWN, 12},
        {WM_RBUTTONUP, 20}, {WM_RBUTTONDBLCLK, 68}, {WM_MBUTTONDOWN, 10}, {WM_MBUTTONUP, 18},
        {WM_MBUTTONDBLCLK, 66}, {WM_S_LCLICK, 33}, {WM_S_MCLICK, 34}, {WM_S_RCLICK, 36},
        {WM_MOUSEMOVE, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.code, SControlMouseCode(c.msg)) << std::hex << c.msg;
}

TEST(SControl, BrushRuleReplacesTheOwnedBrush)
{
    HBRUSH owned = nullptr;
    EXPECT_EQ(nullptr, SControlBrush(&owned, SCOLOR_NONE));
    EXPECT_EQ(nullptr, owned);
    HDC dc = CreateCompatibleDC(nullptr);
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), SControlBrush(&owned, SCOLOR_TRANSPARENT, dc, true));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(nullptr, owned);
    HBRUSH red = SControlBrush(&owned, RGB(255, 0, 0), dc, true);
    ASSERT_NE(nullptr, red);
    EXPECT_EQ(red, owned);
    LOGBRUSH info;
    ASSERT_EQ((int)sizeof(info), GetObjectA(red, sizeof(info), &info));
    EXPECT_EQ(RGB(255, 0, 0), info.lbColor);
    EXPECT_EQ(RGB(255, 0, 0), GetBkColor(dc));
    HBRUSH blue = SControlBrush(&owned, RGB(0, 0, 255));
    EXPECT_EQ(blue, owned);
    // The earlier brush was deleted when the new one was made.
    EXPECT_EQ(0, GetObjectA(red, sizeof(info), &info));
    SControlBrush(&owned, SCOLOR_NONE);
    EXPECT_EQ(nullptr, owned);
    DeleteDC(dc);
}

TEST(SControl, ForwardMouseReachesTheParentWithTheRecord)
{
    SRecordingParent parent;
    ASSERT_TRUE(parent.CreateParent());
    parent.SetMouseMessages({ControlMessage(SBLOCK_BUTTON)});
    SWnd child;
    RECT rect = {10, 20, 110, 60};
    ASSERT_TRUE(child.CreateChild("child", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    EXPECT_TRUE(SControlForwardMouse(&child, WM_RBUTTONUP, MAKELPARAM(5, -3), SBLOCK_BUTTON));
    EXPECT_FALSE(SControlForwardMouse(&child, WM_MOUSEMOVE, 0, SBLOCK_BUTTON));
    auto got = parent.Received(ControlMessage(SBLOCK_BUTTON));
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((WPARAM)&child, got[0].wParam);
    EXPECT_EQ(20, got[0].mouse.code);
    EXPECT_EQ(5, got[0].mouse.x);
    EXPECT_EQ(-3, got[0].mouse.y);
    POINT origin = {0, 0};
    ClientToScreen(child.GetHandle(), &origin);
    EXPECT_EQ(origin.x + 5, got[0].mouse.screenX);
    EXPECT_EQ(origin.y - 3, got[0].mouse.screenY);
    // Without a parent nothing is forwarded.
    SWnd orphan;
    ASSERT_TRUE(orphan.Create("orphan", WS_POPUP, 0, &rect, nullptr));
    EXPECT_FALSE(SControlForwardMouse(&orphan, WM_LBUTTONDOWN, 0, SBLOCK_BUTTON));
}
