#include "PPanes.h"

#include "PWndApp.h"
#include "SDisk.h"
#include "SMessages.h"
#include "SPath.h"

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
