#include "SWndApp.h"

#include "SLibrary.h"
#include "SMessages.h"

SWndApp::SWndApp() : m_dragTarget(nullptr), m_buttonCode(0)
{
}

SWndApp::~SWndApp()
{
}

bool SWndApp::StartDrag(HWND target, bool allowLeft, bool allowRight)
{
    HWND self = GetHandle();
    // The capture can only be taken on the window's own thread.
    if (!target || !self || GetWindowThreadProcessId(self, nullptr) != GetCurrentThreadId() || GetCapture() == self)
        return false;
    int code;
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) {
        if (!allowLeft)
            return false;
        code = 1;
    } else if (allowRight && (GetAsyncKeyState(VK_RBUTTON) & 0x8000)) {
        code = 4;
    } else {
        return false;
    }
    m_buttonCode = code;
    m_dragTarget = target;
    ::SetCapture(self);
    // SetCapture is refused silently, for example while a menu is tracked: no capture, no drag.
    if (GetCapture() != self) {
        m_dragTarget = nullptr;
        return false;
    }
    return true;
}

LRESULT SWndApp::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        if (m_dragTarget)
            ::SendMessageA(m_dragTarget, WM_S_APP_DRAG_MOVE, (WPARAM)m_buttonCode, lParam);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (m_dragTarget && m_buttonCode == (msg == WM_LBUTTONUP ? 1 : 4)) {
            // The target is cleared first, so the capture loss that follows reports nothing.
            HWND target = m_dragTarget;
            m_dragTarget = nullptr;
            ::ReleaseCapture();
            ::SendMessageA(target, WM_S_APP_DRAG_UP, (WPARAM)m_buttonCode, lParam);
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_dragTarget) {
            HWND target = m_dragTarget;
            m_dragTarget = nullptr;
            ::SendMessageA(target, WM_S_APP_DRAG_LOST, (WPARAM)m_buttonCode, 0);
        }
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

bool StartAppDrag(HWND target, bool allowLeft, bool allowRight)
{
    SWndApp* app = GetAppWnd();
    return app && app->StartDrag(target, allowLeft, allowRight);
}
