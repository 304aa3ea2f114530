#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include "ImageTestSupport.h"
#include "PumpSupport.h"
#include "SFileMem.h"
#include "SSplash.h"

#include <atomic>
#include <thread>

namespace
{
// A splash holding a quadrant picture of the size.
void SetPicture(SSplash* splash, int width, int height)
{
    SImage picture;
    MakeQuadrants(&picture, width, height);
    ASSERT_TRUE(splash->SetImage(picture));
}

RECT WindowRect(HWND handle)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(handle, &rect);
    return rect;
}
}

class SSplashTest : public GdiplusSuite
{
};

TEST_F(SSplashTest, PictureIsCentredOnTheScreen)
{
    SSplash splash;
    SetPicture(&splash, 41, 30);
    const RECT& rect = splash.GetScreenRect();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) / 2 - 41 / 2, rect.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) / 2 - 30 / 2, rect.top);
    EXPECT_EQ(rect.left + 41, rect.right);
    EXPECT_EQ(rect.top + 30, rect.bottom);
    SImage empty;
    EXPECT_FALSE(splash.SetImage(empty));
}

TEST_F(SSplashTest, LoadsThePictureFromAStream)
{
    SImage picture;
    MakeQuadrants(&picture, 24, 16);
    SFileMem stream;
    ASSERT_TRUE(picture.Save(&stream, IMAGE_FORMAT_PNG));
    stream.Seek(0);
    SSplash splash;
    ASSERT_TRUE(splash.Load(&stream));
    EXPECT_EQ(24, splash.GetScreenRect().right - splash.GetScreenRect().left);
    EXPECT_EQ(16, splash.GetScreenRect().bottom - splash.GetScreenRect().top);

    SFileMem damaged;
    const char bytes[] = "\x89PNG\r\n\x1a\n not a picture";
    damaged.Write(bytes, sizeof(bytes));
    damaged.Seek(0);
    SSplash other;
    EXPECT_FALSE(other.Load(&damaged));
    EXPECT_FALSE(other.Load(nullptr));
    EXPECT_FALSE(other.Show(nullptr, nullptr, SSPLASH_CLOSE_BY_OWNER, 0, false));
}

// Every shown splash is activated, and Wine waits for a window manager when an
// activated window is hidden: each costs seconds under Xvfb, so the checks share windows.
TEST_F(SSplashTest, ClosesByItselfAfterItsTimeAndShowsAgain)
{
    SSplash splash;
    EXPECT_FALSE(splash.Show(nullptr, nullptr, SSPLASH_CLOSE_BY_OWNER, 0, false));
    SetPicture(&splash, 40, 30);
    const int timeout = 300;
    DWORD start = timeGetTime();
    ASSERT_TRUE(splash.Show(nullptr, nullptr, SSPLASH_CLOSE_BY_OWNER, timeout, false));
    ASSERT_TRUE(splash.IsOpen());
    HWND handle = splash.GetWindow()->GetHandle();
    EXPECT_TRUE(IsWindowVisible(handle));
    LONG_PTR exStyle = GetWindowLongPtrA(handle, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ((LONG_PTR)WS_POPUP, GetWindowLongPtrA(handle, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_BORDER));
    EXPECT_EQ(&splash, splash.GetWindow()->GetOwnerObject());
    RECT rect = WindowRect(handle);
    EXPECT_TRUE(EqualRect(&rect, &splash.GetScreenRect()));
    EXPECT_FALSE(splash.Show(nullptr, nullptr, SSPLASH_CLOSE_BY_OWNER, 0, false));

    // The moment the window goes is taken on another thread: hiding it may block this one.
    std::atomic<DWORD> hiddenAt(0);
    std::thread watcher([&] {
        DWORD begin = timeGetTime();
        while (IsWindowVisible(handle) && timeGetTime() - begin < 3000)
            Sleep(2);
        hiddenAt = timeGetTime();
    });
    bool closed = PumpUntil([&] { return !splash.IsOpen(); }, 5000);
    watcher.join();
    ASSERT_TRUE(closed);
    DWORD elapsed = hiddenAt - start;
    // Checked every 100 ms once the time is past.
    EXPECT_GE(elapsed, (DWORD)timeout);
    EXPECT_LT(elapsed, (DWORD)timeout + 250);
    EXPECT_FALSE(IsWindow(handle));

    // The object stays and shows the picture again, here at a place and owned.
    SWnd owner;
    RECT ownerRect = {30, 30, 230, 130};
    ASSERT_TRUE(owner.Create("owner", WS_OVERLAPPEDWINDOW, 0, &ownerRect, nullptr));
    POINT position = {15, 25};
    ASSERT_TRUE(splash.Show(&owner, &position, SSPLASH_CLOSE_BY_OWNER, 0, false));
    handle = splash.GetWindow()->GetHandle();
    EXPECT_EQ(owner.GetHandle(), GetWindow(handle, GW_OWNER));
    rect = WindowRect(handle);
    RECT expected = {15, 25, 55, 55};
    EXPECT_TRUE(EqualRect(&expected, &rect)) << rect.left << "," << rect.top << "," << rect.right << ","
                                             << rect.bottom;
    // Neither clicks nor the loss of the focus close it in this mode.
    SendMessageA(handle, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    SendMessageA(handle, WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(splash.IsOpen());
    splash.Close();
    EXPECT_FALSE(splash.IsOpen());
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(SSplashTest, ClickModeClosesOnAPressStaticModeDoesNot)
{
    struct Case { int mode; bool closes; const char* className; };
    const Case cases[] = {
        {SSPLASH_CLOSE_BY_CLICK, true, "tavrin"},
        {SSPLASH_CLOSE_STATIC, false, "static"},
    };
    for (const Case& c : cases)
    {
        HWND handle = nullptr;
        {
            SSplash splash;
            SetPicture(&splash, 30, 30);
            ASSERT_TRUE(splash.Show(nullptr, nullptr, c.mode, 0, false));
            handle = splash.GetWindow()->GetHandle();
            char name[32] = "";
            GetClassNameA(handle, name, sizeof(name));
            EXPECT_STREQ(c.className, CharLowerA(name));
            SendMessageA(handle, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
            EXPECT_EQ(!c.closes, splash.IsOpen()) << "mode " << c.mode;
            EXPECT_EQ(!c.closes, IsWindow(handle) != FALSE);
        }
        // The splash's end takes its window with it.
        EXPECT_FALSE(IsWindow(handle));
    }
}

TEST_F(SSplashTest, ZoomGrowsFromHalfSizeToThePicture)
{
    SSplash splash;
    SetPicture(&splash, 400, 200);
    ASSERT_TRUE(splash.Show(nullptr, nullptr, SSPLASH_CLOSE_BY_OWNER, 0, true));
    HWND handle = splash.GetWindow()->GetHandle();
    // Hidden until the first zoom step.
    EXPECT_FALSE(IsWindowVisible(handle));
    SendMessageA(handle, WM_TIMER, 2, 0);
    EXPECT_TRUE(IsWindowVisible(handle));
    RECT first = WindowRect(handle);
    int width = first.right - first.left, height = first.bottom - first.top;
    // Half the width (plus what a few ms of growth add) and the picture's aspect ratio.
    EXPECT_GE(width, 200);
    EXPECT_LE(width, 220);
    EXPECT_EQ(width * 200 / 400, height);
    const RECT& target = splash.GetScreenRect();
    EXPECT_EQ((target.left + target.right) / 2 - width / 2, first.left);
    EXPECT_EQ((target.top + target.bottom) / 2 - height / 2, first.top);

    ASSERT_TRUE(PumpUntil([&] { return splash.GetWindow()->IsZoomDone(); }, 3000));
    RECT last = WindowRect(handle);
    EXPECT_TRUE(EqualRect(&last, &target));
    EXPECT_TRUE(splash.IsOpen());
}
