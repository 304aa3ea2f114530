#include "PMedia.h"

#include "PPlayQueue.h"
#include "SSystem.h"

PMedia::PMedia() : m_owner(nullptr), m_laterOwner(nullptr) {}

PMedia::~PMedia()
{
    Destroy();
}

bool PMedia::Create(HWND owner)
{
    RECT rect = {0, 0, UnknownVideoWidth, UnknownVideoHeight};
    if (!SMediaPlayerCtrl::Create(WS_POPUP | WS_THICKFRAME, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &rect, owner))
        return false;
    SetMoveWithMouse(true);
    EnableContextMenu(true);
    return true;
}

bool PMedia::EnsureCreated()
{
    if (GetHandle())
        return true;
    HWND owner = m_laterOwner;
    m_laterOwner = nullptr;
    return owner && Create(owner);
}

void PMedia::SetPlacementName(const char* key1, const char* key2, const char* valueName)
{
    m_placementKey1 = key1 ? key1 : "";
    m_placementKey2 = key2 ? key2 : "";
    m_placementName = valueName ? valueName : "";
}

SIZE PMedia::GetVideoWindowSize()
{
    int width = 0, height = 0;
    GetVideoSize(&width, &height);
    // A player that cannot tell the picture size still gets a window one can see and grab.
    if (width <= 0 || height <= 0)
    {
        width = UnknownVideoWidth;
        height = UnknownVideoHeight;
    }
    if (width < MinVideoWidth)
        width = MinVideoWidth;
    if (height < MinVideoHeight)
        height = MinVideoHeight;
    RECT work;
    if (SSystem::GetWorkArea(&work) && work.right > work.left && work.bottom > work.top)
    {
        if (width > work.right - work.left)
            width = work.right - work.left;
        if (height > work.bottom - work.top)
            height = work.bottom - work.top;
    }
    SIZE size = {width, height};
    return size;
}

void PMedia::ShowVideoWindow(bool fullScreen)
{
    if (!GetHandle())
        return;
    if (!IsVisible())
    {
        SIZE size = GetVideoWindowSize();
        SetClientSize(size.cx, size.cy);
        CenterWindow(false);
        if (!m_placementName.IsEmpty())
            LoadPlacement(m_placementKey1, m_placementKey2, m_placementName, true);
        ShowWindow(SW_SHOW);
    }
    if (fullScreen)
        SetFullScreen(true);
}

void PMedia::HideVideoWindow()
{
    if (!GetHandle() || !IsVisible())
        return;
    if (!m_placementName.IsEmpty())
        SavePlacement(m_placementKey1, m_placementKey2, m_placementName);
    ShowWindow(SW_HIDE);
}

void PMedia::OnBufferingChanged(bool done)
{
    if (m_owner)
        m_owner->OnBufferingChanged(done);
}

void PMedia::OnEnded()
{
    if (m_owner)
        m_owner->OnMediaEnded();
}

void PMedia::OnTick()
{
    if (m_owner)
        m_owner->OnPlayerTick();
}

LRESULT PMedia::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The video window lives as long as the main window: the user cannot close it.
    if (msg == WM_CLOSE)
        return 1;
    return SMediaPlayerCtrl::OnMessage(msg, wParam, lParam);
}
