#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "SControl.h"
#include "STrayIcon.h"

namespace
{
const UINT kTrayEvent = ControlMessage(SBLOCK_TRAY);

// Whether the shell still knows the tray's icon: a change is accepted only for a known icon.
bool ShellHasIcon(const STrayIcon& tray)
{
    NOTIFYICONDATAA probe = tray.GetRecord();
    probe.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// The tray's owner: a recording window that stays hidden (a main window may be hidden too,
// and a hidden window is destroyed without waiting for the display).
bool CreateOwner(SRecordingParent* owner)
{
    RECT rect = {40, 40, 240, 140};
    return owner->Create("tray owner", WS_OVERLAPPEDWINDOW, 0, &rect, nullptr);
}
}

// While an icon of the suite's own stays in the notification area, the shell never
// hides its icon window between the tests (a hide waits for a window manager under Xvfb).
class STrayIconTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_anchorOwner = new SRecordingParent;
        s_anchor = new STrayIcon;
        if (CreateOwner(s_anchorOwner))
            s_anchor->Create(s_anchorOwner->GetHandle(), LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION), "anchor",
                             true);
    }
    static void TearDownTestSuite()
    {
        delete s_anchor;
        delete s_anchorOwner;
        s_anchor = nullptr;
        s_anchorOwner = nullptr;
    }
    inline static SRecordingParent* s_anchorOwner = nullptr;
    inline static STrayIcon* s_anchor = nullptr;
};

TEST_F(STrayIconTest, RecordAndWindow)
{
    STrayIcon tray;
    EXPECT_EQ(SKIND_TRAY, tray.GetKind());
    EXPECT_EQ((DWORD)NOTIFYICONDATAA_V2_SIZE, tray.GetRecord().cbSize);
#if !defined(_WIN64)
    EXPECT_EQ(488u, tray.GetRecord().cbSize);
#endif
    EXPECT_FALSE(tray.Show(true));
    EXPECT_FALSE(tray.SetIcon(LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION)));
    EXPECT_FALSE(tray.Create(nullptr, nullptr, "tip", false));

    SRecordingParent owner;
    ASSERT_TRUE(CreateOwner(&owner));
    ASSERT_TRUE(tray.Create(owner.GetHandle(), nullptr, nullptr, false));
    EXPECT_FALSE(tray.IsVisible());
    EXPECT_EQ((DWORD)WS_POPUP, tray.GetStyle() & (WS_POPUP | WS_CHILD | WS_VISIBLE | WS_CAPTION));
    EXPECT_EQ(owner.GetHandle(), GetWindow(tray.GetHandle(), GW_OWNER));
    const NOTIFYICONDATAA& record = tray.GetRecord();
    EXPECT_EQ(tray.GetHandle(), record.hWnd);
    EXPECT_EQ(100u, record.uID);
    EXPECT_EQ((UINT)WM_APP + 1025, record.uCallbackMessage);
    EXPECT_EQ(nullptr, record.hIcon);
    EXPECT_STREQ("", record.szTip);
    EXPECT_FALSE(tray.IsShown());
}

TEST_F(STrayIconTest, AddedChangedAndRemoved)
{
    SRecordingParent owner;
    ASSERT_TRUE(CreateOwner(&owner));
    HICON application = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    HICON information = LoadIconA(nullptr, (LPCSTR)IDI_INFORMATION);
    STrayIcon tray;
    ASSERT_TRUE(tray.Create(owner.GetHandle(), application, "Melvora", true));
    ASSERT_TRUE(tray.IsShown());
    EXPECT_TRUE(ShellHasIcon(tray));
    // The record holds a copy of the icon, not the caller's.
    HICON firstCopy = tray.GetRecord().hIcon;
    EXPECT_NE(nullptr, firstCopy);
    EXPECT_NE(application, firstCopy);
    EXPECT_STREQ("Melvora", tray.GetRecord().szTip);

    // Shown twice: the second asks nothing of the shell.
    EXPECT_TRUE(tray.Show(true));
    EXPECT_TRUE(tray.SetIcon(information));
    EXPECT_NE(firstCopy, tray.GetRecord().hIcon);
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(firstCopy, &info)) << "the replaced copy is destroyed";

    // A long tip: the shell gets 63 characters, the window keeps the whole text.
    std::string longTip(100, 'x');
    for (size_t i = 0; i < longTip.size(); i++)
        longTip[i] = (char)('a' + i % 26);
    tray.SetTip(longTip.c_str());
    EXPECT_EQ(longTip.substr(0, 63), std::string(tray.GetRecord().szTip));
    EXPECT_STREQ(longTip.c_str(), tray.GetText().GetBuffer());
    EXPECT_TRUE(ShellHasIcon(tray));

    EXPECT_TRUE(tray.Show(false));
    EXPECT_FALSE(tray.IsShown());
    EXPECT_FALSE(ShellHasIcon(tray));
    EXPECT_TRUE(tray.Show(false));
    // Changes while hidden are kept for the next add.
    EXPECT_TRUE(tray.SetIcon(nullptr));
    EXPECT_EQ(nullptr, tray.GetRecord().hIcon);
    EXPECT_TRUE(tray.SetIcon(application));
    tray.SetTip("again");
    EXPECT_TRUE(tray.Show(true));
    EXPECT_TRUE(ShellHasIcon(tray));
    EXPECT_STREQ("again", tray.GetRecord().szTip);
}

TEST_F(STrayIconTest, ShellCallbacksReachTheOwnerAsMouseEvents)
{
    SRecordingParent owner;
    ASSERT_TRUE(CreateOwner(&owner));
    owner.SetMouseMessages({kTrayEvent});
    STrayIcon tray;
    ASSERT_TRUE(tray.Create(owner.GetHandle(), nullptr, "tip", false));
    struct Case { UINT mouse; std::vector<int> codes; };
    const Case cases[] = {
        {WM_RBUTTONUP, {20, 36}},    {WM_LBUTTONUP, {17, 33}}, {WM_MBUTTONUP, {18, 34}},
        {WM_LBUTTONDOWN, {9}},       {WM_RBUTTONDOWN, {12}},   {WM_LBUTTONDBLCLK, {65}},
        {WM_MBUTTONDBLCLK, {66}},    {WM_MOUSEMOVE, {}},       {WM_MOUSEWHEEL, {}},
    };
    for (const Case& c : cases)
    {
        owner.ClearReceived();
        POINT cursor;
        ASSERT_TRUE(GetCursorPos(&cursor));
        // What the shell sends: the callback message with the mouse message in lParam.
        EXPECT_EQ(1, tray.SendMessage(WM_APP + 1025, 100, c.mouse)) << std::hex << c.mouse;
        auto got = owner.Received(kTrayEvent);
        ASSERT_EQ(c.codes.size(), got.size()) << std::hex << c.mouse;
        for (size_t i = 0; i < got.size(); i++)
        {
            EXPECT_EQ((WPARAM)&tray, got[i].wParam);
            EXPECT_EQ(c.codes[i], got[i].mouse.code) << std::hex << c.mouse;
            EXPECT_EQ(cursor.x, got[i].mouse.x);
            EXPECT_EQ(cursor.y, got[i].mouse.y);
            POINT screen = cursor;
            ClientToScreen(tray.GetHandle(), &screen);
            EXPECT_EQ(screen.x, got[i].mouse.screenX);
            EXPECT_EQ(screen.y, got[i].mouse.screenY);
        }
    }
}

TEST_F(STrayIconTest, DestroyingTheOwnerRemovesTheIcon)
{
    STrayIcon tray;
    NOTIFYICONDATAA record;
    {
        SRecordingParent owner;
        ASSERT_TRUE(CreateOwner(&owner));
        ASSERT_TRUE(tray.Create(owner.GetHandle(), LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION), "tip", true));
        ASSERT_TRUE(tray.IsShown());
        record = tray.GetRecord();
    }
    EXPECT_EQ(nullptr, tray.GetHandle());
    EXPECT_FALSE(tray.IsShown());
    record.uFlags = NIF_TIP;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record)) << "the shell still holds the icon";
}

TEST_F(STrayIconTest, DestructorRemovesTheIcon)
{
    SRecordingParent owner;
    ASSERT_TRUE(CreateOwner(&owner));
    NOTIFYICONDATAA record;
    {
        STrayIcon tray;
        ASSERT_TRUE(tray.Create(owner.GetHandle(), LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION), "tip", true));
        ASSERT_TRUE(tray.IsShown());
        record = tray.GetRecord();
    }
    record.uFlags = NIF_TIP;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record));
}
