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

// Removes the mouse messages that injected input left in this thread's queue, without
// dispatching them: they would reach whatever window lies under the pointer.
void DropQueuedMouseInput()
{
    MSG message;
    for (int i = 0; i < 100 && PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE); i++) {
    }
}

// Releases a mouse button that is down through the system input queue.
void ReleaseButton(int key, DWORD upEvent)
{
    if (GetAsyncKeyState(key) & 0x8000)
        mouse_event(upEvent, 0, 0, 0, 0);
}

// Holds a mouse button down through the system input queue while it lives.
class HeldButton
{
public:
    explicit HeldButton(bool left) : m_left(left)
    {
        mouse_event(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    }
    ~HeldButton()
    {
        mouse_event(m_left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
        DropQueuedMouseInput();
    }

private:
    bool m_left;
};

// Each test starts with both buttons up, no drag and no pending mouse input, whatever ran
// before it, and ends any drag it leaves behind, so that a failure cannot spill over.
class SWndAppDrag : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = GetAppWnd();
        ASSERT_NE(nullptr, app);
        ReleaseButton(VK_LBUTTON, MOUSEEVENTF_LEFTUP);
        ReleaseButton(VK_RBUTTON, MOUSEEVENTF_RIGHTUP);
        EndDrag();
        DropQueuedMouseInput();

        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MelvoraDragTargetTest";
        RegisterClassA(&windowClass);
        target = CreateWindowExA(0, "MelvoraDragTargetTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, target);
        g_received.clear();
    }
    void TearDown() override
    {
        EndDrag();
        DestroyWindow(target);
        UnregisterClassA("MelvoraDragTargetTest", GetModuleHandleA(nullptr));
    }
    void EndDrag()
    {
        if (app && GetCapture() == app->GetHandle())
            ReleaseCapture();
    }

    SWndApp* app = nullptr;
    HWND target = nullptr;
};

DWORD WINAPI StartDragFromOtherThread(void* target)
{
    return StartAppDrag((HWND)target, true, true) ? 1 : 0;
}

} // namespace

TEST_F(SWndAppDrag, NeedsATargetAndAnAllowedButton)
{
    EXPECT_FALSE(StartAppDrag(target, true, true));  // no button is down
    {
        HeldButton right(false);
        ASSERT_TRUE(GetAsyncKeyState(VK_RBUTTON) & 0x8000);
        EXPECT_FALSE(StartAppDrag(nullptr, true, true));
        EXPECT_FALSE(StartAppDrag(target, true, false));
        EXPECT_EQ(nullptr, app->GetDragTarget());
    }
    {
        HeldButton left(true);
        EXPECT_FALSE(StartAppDrag(target, false, true));
    }
    EXPECT_TRUE(g_received.empty());
}

TEST_F(SWndAppDrag, IsRefusedWhereTheCaptureCannotBeTaken)
{
    HeldButton right(false);
    // Another thread cannot capture the mouse for the library's window.
    HANDLE thread = CreateThread(nullptr, 0, StartDragFromOtherThread, target, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    DWORD started = 2;
    GetExitCodeThread(thread, &started);
    CloseHandle(thread);
    EXPECT_EQ(0u, started);
    EXPECT_EQ(nullptr, app->GetDragTarget());
    EXPECT_NE(app->GetHandle(), GetCapture());
    EXPECT_TRUE(g_received.empty());
}

TEST_F(SWndAppDrag, RightDragReportsMovesAndEndsOnButtonUp)
{
    HeldButton right(false);
    ASSERT_TRUE(StartAppDrag(target, false, true));
    EXPECT_EQ(4, app->GetDragButton());
    EXPECT_EQ(app->GetHandle(), GetCapture());
    EXPECT_FALSE(StartAppDrag(target, false, true));  // the capture is already held

    SendMessageA(app->GetHandle(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(5, 7));
    SendMessageA(app->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(6, 8));  // not this drag's button
    SendMessageA(app->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(9, 11));
    EXPECT_EQ(nullptr, app->GetDragTarget());
    EXPECT_NE(app->GetHandle(), GetCapture());
    const DragMessage expected[] = {{WM_S_APP_DRAG_MOVE, 4, MAKELPARAM(5, 7)},
                                    {WM_S_APP_DRAG_UP, 4, MAKELPARAM(9, 11)}};
    ASSERT_EQ(2u, g_received.size());
    for (size_t i = 0; i < 2; i++) {
        EXPECT_EQ(expected[i].message, g_received[i].message) << i;
        EXPECT_EQ(expected[i].wParam, g_received[i].wParam) << i;
        EXPECT_EQ(expected[i].lParam, g_received[i].lParam) << i;
    }
}

TEST_F(SWndAppDrag, LosingTheCaptureEndsALeftDrag)
{
    HeldButton left(true);
    ASSERT_TRUE(StartAppDrag(target, true, false));
    EXPECT_EQ(1, app->GetDragButton());
    SetCapture(target);
    ReleaseCapture();
    EXPECT_EQ(nullptr, app->GetDragTarget());
    ASSERT_EQ(1u, g_received.size());
    EXPECT_EQ((UINT)WM_S_APP_DRAG_LOST, g_received[0].message);
    EXPECT_EQ(1u, g_received[0].wParam);
    EXPECT_EQ(0, g_received[0].lParam);
}
