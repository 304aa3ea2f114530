#include "STrayIcon.h"

#include <string.h>

#include "SControl.h"

namespace
{
// The shell is handed its version 2 record: 488 bytes in the 32-bit build.
const DWORD kRecordSize = NOTIFYICONDATAA_V2_SIZE;
#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the tray record is 488 bytes in 32 bits");
#endif
// Characters of the tip the shell is given (the version 1 limit).
const int kTipLength = 63;
}

STrayIcon::STrayIcon() : m_shown(0)
{
    memset(&m_record, 0, sizeof(m_record));
    m_record.cbSize = kRecordSize;
    SetKind(SKIND_TRAY);
}

STrayIcon::~STrayIcon()
{
    RemoveIcon();
    if (m_record.hIcon)
        DestroyIcon(m_record.hIcon);
    m_record.hIcon = nullptr;
}

bool STrayIcon::Create(HWND owner, HICON icon, const char* tip, bool show)
{
    if (!owner)
        return false;
    if (!SWnd::Create("", WS_POPUP, 0, nullptr, owner))
        return false;
    if (m_record.hIcon)
        DestroyIcon(m_record.hIcon);
    memset(&m_record, 0, sizeof(m_record));
    m_record.cbSize = kRecordSize;
    m_record.hWnd = GetHandle();
    m_record.uID = kIconId;
    m_record.uCallbackMessage = WM_S_TRAY;
    m_shown = 0;
    if (icon)
        SetIcon(icon);
    if (tip)
        SetTip(tip);
    if (show)
        Show(true);
    return true;
}

bool STrayIcon::Show(bool show)
{
    if (!GetHandle())
        return false;
    if (show == (m_shown != 0))
        return true;
    if (!show)
    {
        RemoveIcon();
        return m_shown == 0;
    }
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    if (!Shell_NotifyIconA(NIM_ADD, &m_record))
        return false;
    m_shown = 1;
    return true;
}

void STrayIcon::RemoveIcon()
{
    if (!m_shown)
        return;
    m_record.uFlags = 0;
    if (Shell_NotifyIconA(NIM_DELETE, &m_record))
        m_shown = 0;
}

bool STrayIcon::SetIcon(HICON icon)
{
    if (!GetHandle())
        return false;
    HICON copy = nullptr;
    if (icon && !(copy = CopyIcon(icon)))
        return false;
    if (m_record.hIcon)
        DestroyIcon(m_record.hIcon);
    m_record.hIcon = copy;
    if (!m_shown)
        return true;
    m_record.uFlags = NIF_ICON;
    return Shell_NotifyIconA(NIM_MODIFY, &m_record) != FALSE;
}

void STrayIcon::SetTip(const char* text)
{
    SendMessage(WM_SETTEXT, 0, (LPARAM)(text ? text : ""));
}

void STrayIcon::ForwardShellMouse(UINT mouseMessage)
{
    if (mouseMessage < WM_LBUTTONDOWN || mouseMessage > WM_MBUTTONDBLCLK || !GetParent())
        return;
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    LPARAM position = MAKELPARAM(cursor.x, cursor.y);
    HWND handle = GetHandle();
    SControlForwardMouse(this, mouseMessage, position, SBLOCK_TRAY);
    UINT click = 0;
    if (mouseMessage == WM_LBUTTONUP)
        click = WM_S_LCLICK;
    else if (mouseMessage == WM_RBUTTONUP)
        click = WM_S_RCLICK;
    else if (mouseMessage == WM_MBUTTONUP)
        click = WM_S_MCLICK;
    // The owner may have destroyed the tray while it handled the first event.
    if (click && IsWindow(handle) && FindWndByHandle(handle) == this)
        SControlForwardMouse(this, click, position, SBLOCK_TRAY);
}

LRESULT STrayIcon::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_TRAY:
        ForwardShellMouse((UINT)lParam);
        return 1;
    case WM_SETTEXT:
    {
        const char* text = lParam ? (const char*)lParam : "";
        lstrcpynA(m_record.szTip, text, kTipLength + 1);
        if (m_shown)
        {
            m_record.uFlags = NIF_TIP;
            Shell_NotifyIconA(NIM_MODIFY, &m_record);
        }
        break;
    }
    case WM_DESTROY:
        RemoveIcon();
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
