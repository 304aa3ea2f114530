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

// ---------------------------------------------------------------- playlists pane

PWndPlaylist::PWndPlaylist() : m_owner(nullptr) {}

bool PWndPlaylist::Create(PWndApp* owner, const RECT* rect, HWND parent)
{
    m_owner = owner;
    return CreateChild("", WS_VISIBLE, 0, rect, parent);
}

void PWndPlaylist::LoadNames(const char* root)
{
    m_names.RemoveAll();
    SDisk disk;
    SStringArray files;
    disk.Search(&files, SString(root) + "Playlists\\*.lst", SDisk::SearchFiles);
    files.Sort();
    for (int i = 0; i < files.GetCount(); i++)
        m_names.Add(SPath(files.GetAt(i)).GetTitle());
    if (m_names.Find(m_selected) < 0)
        m_selected = m_names.GetCount() > 0 ? m_names.GetAt(0) : SString();
}

bool PWndPlaylist::SelectName(const char* name)
{
    if (!name || m_names.Find(name) < 0)
        return false;
    m_selected = name;
    return true;
}

LRESULT PWndPlaylist::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
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

// ---------------------------------------------------------------- book and description windows

bool PWndBook::Create(HWND owner, const char* path)
{
    RECT rect = {0, 0, 800, 600};
    if (!SWnd::Create("", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, &rect, owner))
        return false;
    Navigate(path);
    return true;
}

void PWndBook::Navigate(const char* path)
{
    m_path = path ? path : "";
}

bool PWndDescription::Create(HWND owner)
{
    RECT rect = {0, 0, 800, 600};
    return SWnd::Create("", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, &rect, owner);
}
