#include "SSplash.h"

#include <mmsystem.h>
#include <stdint.h>

#include "SLibrary.h"

namespace
{
const UINT_PTR kTimeoutTimer = 1;
const UINT kTimeoutPeriod = 100;
const UINT_PTR kZoomTimer = 2;
const UINT kZoomPeriod = 20;
// The zoom grows from half size to full size in this many ms.
const int64_t kZoomDuration = 500;
const int kDrawCentred = 8;
const int kDrawStretched = 9;
}

// --- the window ---

SSplash::_SWnd::_SWnd()
    : m_startTime(0), m_closeMode(SSPLASH_CLOSE_BY_OWNER), m_timeout(0), m_target{0, 0, 0, 0}, m_zoom(0),
      m_shown(0), m_zoomDone(0)
{
}

void SSplash::_SWnd::Start(int closeMode, int timeout, const RECT& target, bool zoom)
{
    m_closeMode = closeMode;
    m_timeout = timeout > 0 ? timeout : 0;
    m_target = target;
    m_zoom = zoom ? 1 : 0;
    m_shown = 0;
    m_zoomDone = 0;
    m_startTime = timeGetTime();
    if (m_timeout)
        SetTimer(kTimeoutTimer, kTimeoutPeriod);
    if (m_zoom)
    {
        // Shown at the first zoom step, already at its small size.
        SetTimer(kZoomTimer, kZoomPeriod);
        return;
    }
    ShowWindow(SW_SHOW);
    m_shown = 1;
    if (m_closeMode != SSPLASH_CLOSE_STATIC)
        SetFocus();
}

void SSplash::_SWnd::ZoomStep()
{
    if (!m_zoom || m_zoomDone)
        return;
    int64_t width = m_target.right - m_target.left;
    int64_t height = m_target.bottom - m_target.top;
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    int64_t elapsed = (int64_t)(DWORD)(timeGetTime() - m_startTime);
    int64_t grown = width / 2 + (width / 2) * elapsed / kZoomDuration;
    if (grown < width)
    {
        // The picture keeps its aspect ratio, centred on the target's centre.
        int64_t grownHeight = grown * height / width;
        int centreX = (int)((m_target.left + (int64_t)m_target.right) / 2);
        int centreY = (int)((m_target.top + (int64_t)m_target.bottom) / 2);
        MoveWindow(centreX - (int)(grown / 2), centreY - (int)(grownHeight / 2), (int)grown, (int)grownHeight, true);
    }
    else
    {
        MoveWindowToRect(&m_target, true);
        m_zoomDone = 1;
    }
    UpdateLayeredImage(255);
}

LRESULT SSplash::_SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        if (lParam)
            SetOwnerObject((void*)lParam);
        break;
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (m_closeMode == SSPLASH_CLOSE_BY_CLICK)
        {
            Destroy();
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kTimeoutTimer)
        {
            if (m_timeout && (DWORD)(timeGetTime() - m_startTime) > (DWORD)m_timeout)
                Destroy();
            return 0;
        }
        if (wParam == kZoomTimer)
        {
            ZoomStep();
            if (!m_shown)
            {
                m_shown = 1;
                ShowWindow(SW_SHOW);
                if (m_closeMode != SSPLASH_CLOSE_STATIC)
                    SetFocus();
            }
            // Nothing more to grow: the timer has done its work.
            if (m_zoomDone)
                KillTimer(kZoomTimer);
            return 0;
        }
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

// --- the splash ---

SSplash::SSplash() : m_window(nullptr), m_layered(0), m_colorKey(SCOLOR_NONE), m_screenRect{0, 0, 0, 0}
{
}

SSplash::~SSplash()
{
    Close();
}

bool SSplash::SetImage(const SImage& image)
{
    if (!image.IsLoaded() || !m_image.Assign(&image))
        return false;
    m_layered = 1;
    int width = m_image.GetWidth(), height = m_image.GetHeight();
    m_screenRect.left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    m_screenRect.top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    m_screenRect.right = m_screenRect.left + width;
    m_screenRect.bottom = m_screenRect.top + height;
    return true;
}

bool SSplash::Load(SFile* stream)
{
    SImage image;
    return stream && image.Load(stream, -1) && SetImage(image);
}

bool SSplash::Show(SWnd* parent, const POINT* position, int closeMode, int timeout, bool zoom)
{
    if (IsOpen() || !m_image.IsLoaded())
        return false;
    // A window that closed itself leaves its object behind.
    Close();
    if (closeMode != SSPLASH_CLOSE_BY_CLICK && closeMode != SSPLASH_CLOSE_STATIC)
        closeMode = SSPLASH_CLOSE_BY_OWNER;
    RECT rect = m_screenRect;
    if (position)
        OffsetRect(&rect, position->x - rect.left, position->y - rect.top);
    HWND parentHandle = parent ? parent->GetHandle() : nullptr;
    m_window = new _SWnd;
    bool created = closeMode == SSPLASH_CLOSE_STATIC
                       ? m_window->CreateSubclassed("STATIC", "", WS_POPUP, WS_EX_TOOLWINDOW, &rect, parentHandle,
                                                    0, (LPARAM)this, GetInstance())
                       : m_window->Create("", WS_POPUP, WS_EX_TOOLWINDOW, &rect, parentHandle, 0, (LPARAM)this,
                                          GetInstance());
    if (!created)
    {
        Close();
        return false;
    }
    m_window->SetBackgroundImage(&m_image, m_colorKey, zoom ? kDrawStretched : kDrawCentred, nullptr, true);
    m_window->SetLayered(true);
    m_window->UpdateLayeredImage(255);
    // The zoom grows towards where the picture was placed.
    m_window->Start(closeMode, timeout, rect, zoom);
    return true;
}

bool SSplash::IsOpen() const
{
    return m_window && m_window->GetHandle();
}

void SSplash::Close()
{
    delete m_window;
    m_window = nullptr;
}
