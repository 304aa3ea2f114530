#include "PPanes.h"

#include "PWndApp.h"
#include "SDisk.h"
#include "SMessages.h"
#include "SPath.h"

// ---------------------------------------------------------------- now-playing pane

PWndPlay::PWndPlay() : m_owner(nullptr) {}

bool PWndPlay::Create(PWndApp* owner, const RECT* rect)
{
    m_owner = owner;
    if (!CreateChild("", WS_VISIBLE, 0, rect, owner->GetHandle()))
        return false;
    SetBackColor(RGB(0x1B, 0x5E, 0x20));
    return true;
}

void PWndPlay::SetCountText(const char* text)
{
    m_countText = text ? text : "";
    InvalidateRect();
}

LRESULT PWndPlay::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SWnd::OnMessage(msg, wParam, lParam);
}

// ---------------------------------------------------------------- docked bar

PWndTask::PWndTask() : m_shown(false), m_textColor(0) {}

bool PWndTask::Create(PWndApp* owner)
{
    RECT rect = {0, 0, 400, 40};
    return SWnd::Create("", WS_POPUP, WS_EX_TOOLWINDOW, &rect, owner->GetHandle());
}

void PWndTask::SetTextColor(unsigned color)
{
    m_textColor = color;
    InvalidateRect();
}

LRESULT PWndTask::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SWnd::OnMessage(msg, wParam, lParam);
}

// ---------------------------------------------------------------- thumbnail grid

PWndThumbs::PWndThumbs() : m_owner(nullptr) {}

bool PWndThumbs::Create(PWndApp* owner, const RECT* rect, HWND parent, int id)
{
    m_owner = owner;
    return CreateChild("", 0, 0, rect, parent, (UINT_PTR)id);
}

LRESULT PWndThumbs::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SWnd::OnMessage(msg, wParam, lParam);
}

// ---------------------------------------------------------------- video window

PMedia::PMedia() {}

bool PMedia::Create(PWndApp* owner)
{
    RECT rect = {0, 0, 320, 240};
    if (!SWnd::Create("", WS_POPUP | WS_THICKFRAME, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &rect, owner->GetHandle()))
        return false;
    SetMoveWithMouse(true);
    return true;
}

LRESULT PMedia::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SWnd::OnMessage(msg, wParam, lParam);
}
