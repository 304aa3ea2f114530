#include <gtest/gtest.h>

#include <vector>

#include "SLibrary.h"
#include "SMessages.h"
#include "SWndApp.h"

namespace {

struct DragMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<DragMessage> g_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_S_APP_DRAG_MOVE && message <= WM_S_APP_DRAG_LOST)
        g_received.push_back({message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

// A plain window that records the drag messages it receives.
class DragTarget
{
public:
    DragTarget()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MelvoraDragTargetTest";
        RegisterClassA(&windowClass);
        handle = CreateWindowExA(0, "MelvoraDragTargetTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        g_received.clear();
    }
    ~DragTarget()
    {
        DestroyWindow(handle);
        UnregisterClassA("MelvoraDragTargetTest", GetModuleHandleA(nullptr));
    }
    HWND handle;
};

// Holds a mouse button down through the system input queue while it lives.
class HeldButton
{
public:
    explicit HeldButton(bool left) : m_left(left)
    {
        mouse_event(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
        Sleep(20);
    }
    ~HeldButton()
    {
        mouse_event(m_left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
        Sleep(20);
        MSG message;
        for (int i = 0; i < 100 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); i++)
            DispatchMessageA(&message);
    }

private:
    bool m_left;
};

} // namespace

TEST(SWndApp, DragNeedsATargetAndAnAllowedButton)
{
    SWndApp* app = GetAppWnd();
    ASSERT_NE(nullptr, app);
    DragTarget target;
    EXPECT_FALSE(StartAppDrag(target.handle, true, true));  // no button is down
    {
        HeldButton right(false);
        ASSERT_TRUE(GetAsyncKeyState(VK_RBUTTON) & 0x8000);
        EXPECT_FALSE(StartAppDrag(nullptr, true, true));
        EXPECT_FALSE(StartAppDrag(target.handle, true, false));
        EXPECT_EQ(nullptr, app->GetDragTarget());
    }
    {
        HeldButton left(true);
        EXPECT_FALSE(StartAppDrag(target.handle, false, true));
    }
    EXPECT_TRUE(g_received.empty());
}

TEST(SWndApp, RightDragReportsMovesAndEndsOnButtonUp)
{
    SWndApp* app = GetAppWnd();
    ASSERT_NE(nullptr, app);
    DragTarget target;
    HeldButton right(false);
    ASSERT_TRUE(StartAppDrag(target.handle, false, true));
    EXPECT_EQ(4, app->GetDragButton());
    EXPECT_EQ(app->GetHandle(), GetCapture());
    EXPECT_FALSE(StartAppDrag(target.handle, false, true));  // the capture is already held

    SendMessageA(app->GetHandle(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(5, 7));
    SendMessageA(app->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(6, 8));  // not this drag's button
    SendMessageA(app->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(9, 11));
    EXPECT_EQ(nullptr, app->GetDragTarget());
    EXPECT_NE(app->GetHandle(), GetCapture());
    ASSERT_EQ(2u, g_received.size());
    EXPECT_EQ((UINT)WM_S_APP_DRAG_MOVE, g_received[0].message);
    EXPECT_EQ(4u, g_received[0].wParam);
    EXPECT_EQ(MAKELPARAM(5, 7), g_received[0].lParam);
    EXPECT_EQ((UINT)WM_S_APP_DRAG_UP, g_received[1].message);
    EXPECT_EQ(4u, g_received[1].wParam);
    EXPECT_EQ(MAKELPARAM(9, 11), g_received[1].lParam);
}

TEST(SWndApp, LosingTheCaptureEndsALeftDrag)
{
    SWndApp* app = GetAppWnd();
    ASSERT_NE(nullptr, app);
    DragTarget target;
    HeldButton left(true);
    ASSERT_TRUE(StartAppDrag(target.handle, true, false));
    EXPECT_EQ(1, app->GetDragButton());
    SetCapture(target.handle);
    ReleaseCapture();
    EXPECT_EQ(nullptr, app->GetDragTarget());
    ASSERT_EQ(1u, g_received.size());
    EXPECT_EQ((UINT)WM_S_APP_DRAG_LOST, g_received[0].message);
    EXPECT_EQ(1u, g_received[0].wParam);
    EXPECT_EQ(0, g_received[0].lParam);
}
