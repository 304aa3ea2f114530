#include "SWnd.h"

#include <commctrl.h>

#include "SDraw.h"
#include "SLibrary.h"
#include "SMenu.h"
#include "SWndThreadRecord.h"

LRESULT SWnd::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_handle)
        return 0;
    if (m_oldProc)
        return CallWindowProcA(m_oldProc, m_handle, msg, wParam, lParam);
    return DefWindowProcA(m_handle, msg, wParam, lParam);
}

void SWnd::SendToDescendants(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SArray<SWnd*> descendants;
    CollectChildren(&descendants, nullptr, true);
    SArray<HWND> handles;
    for (int i = 0; i < descendants.GetCount(); i++)
        handles.Add(descendants.GetAt(i)->GetHandle());
    // By handle: a descendant may destroy another one while it handles the message.
    for (int i = 0; i < handles.GetCount(); i++)
        if (IsWindow(handles.GetAt(i)))
            ::SendMessageA(handles.GetAt(i), msg, wParam, lParam);
}

LRESULT SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        return m_oldProc ? CallDefault(msg, wParam, lParam) : 0;
    case WM_S_MODAL_START:
        return 0;
    case WM_S_OK:
        EndModal(0);
        return CallDefault(msg, wParam, lParam);
    case WM_S_CANCEL:
        EndModal(-1);
        return CallDefault(msg, wParam, lParam);
    case WM_ENTERSIZEMOVE:
        m_inSizeMove = 1;
        return CallDefault(msg, wParam, lParam);
    case WM_EXITSIZEMOVE:
        m_inSizeMove = 0;
        RedrawNow();
        return CallDefault(msg, wParam, lParam);
    case WM_MENUCOMMAND:
        SMenu::HandleMenuCommand(m_handle, (HMENU)lParam, (int)wParam);
        return CallDefault(msg, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
    {
        LRESULT result = 0;
        if (HandleScroll(msg, wParam, lParam, &result))
            return result;
        return CallDefault(msg, wParam, lParam);
    }
    case WM_MOVE:
    {
        LRESULT result = CallDefault(msg, wParam, lParam);
        SendToDescendants(WM_S_PARENT_MOVED, wParam, (LPARAM)m_handle);
        return result;
    }
    case WM_SIZE:
    {
        LRESULT result = CallDefault(msg, wParam, lParam);
        SendToDescendants(WM_S_PARENT_SIZED, wParam, (LPARAM)m_handle);
        return result;
    }
    case WM_DESTROY:
    {
        if (GetMenu())
            SetMenu(nullptr, true);
        SetBackgroundImage(nullptr, SCOLOR_NONE, -1, nullptr, false);
        LRESULT result = CallDefault(msg, wParam, lParam);
        // Out of the table before the handle goes, so the sorted list never holds a null handle.
        UnregisterWndFromTable(this);
        m_handle = nullptr;
        return result;
    }
    case WM_NCPAINT:
    {
        // Without a frame, caption, menu or scroll bar there is nothing outside the client
        // area, yet the system would still make a window DC to paint it.
        RECT window, client;
        if (!m_oldProc && ::GetWindowRect(m_handle, &window) && ::GetClientRect(m_handle, &client) &&
            window.right - window.left == client.right && window.bottom - window.top == client.bottom)
            return 0;
        return CallDefault(msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
        if (m_oldProc && !m_ownerPaint)
            return CallDefault(msg, wParam, lParam);
        if (m_backColor != SCOLOR_TRANSPARENT && m_eraseNesting > 0 && --m_eraseNesting == 0)
        {
            HDC dc = (HDC)wParam;
            HDC memory = (HDC)lParam;
            SWndThreadRecord* record = memory && !m_eraseBitmap ? FindThreadRecord(0) : nullptr;
            const bool lent = record && record->IsLentEraseBuffer(memory);
            if (memory && (m_eraseBitmap || lent))
            {
                RECT client;
                ::GetClientRect(m_handle, &client);
                HRGN clip = CreateRectRgn(0, 0, 0, 0);
                if (clip && GetClipRgn(memory, clip) == 1)
                    SelectClipRgn(dc, clip);
                if (clip)
                    DeleteObject(clip);
                // With no colour and no image nothing was painted: the window keeps what it shows.
                if (m_backColor != SCOLOR_NONE || GetBackgroundImage())
                    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
                if (lent)
                    record->ReturnEraseBuffer(memory);
                else
                {
                    SelectObject(memory, m_eraseOldBitmap);
                    DeleteObject(m_eraseBitmap);
                    DeleteDC(memory);
                }
            }
            m_eraseBitmap = nullptr;
            m_eraseOldBitmap = nullptr;
        }
        return 1;
    default:
        return CallDefault(msg, wParam, lParam);
    }
}

bool SWnd::HandleScroll(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    bool vertical = msg == WM_VSCROLL;
    int line = vertical ? m_lineStepV : m_lineStepH;
    int page = vertical ? m_pageStepV : m_pageStepH;
    int round = vertical ? m_roundStepV : m_roundStepH;
    SWnd* control = lParam ? FindWndByHandle((HWND)lParam) : nullptr;
    int bar = vertical ? SB_VERT : SB_HORZ;
    SCROLLINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (control && control->GetKind() == SKIND_SCROLL)
    {
        info.nPos = (int)::SendMessageA((HWND)lParam, SBM_GETPOS, 0, 0);
        ::SendMessageA((HWND)lParam, SBM_GETRANGE, (WPARAM)&info.nMin, (LPARAM)&info.nMax);
        SCROLLINFO track;
        memset(&track, 0, sizeof(track));
        track.cbSize = sizeof(track);
        track.fMask = SIF_TRACKPOS | SIF_PAGE;
        if (::SendMessageA((HWND)lParam, SBM_GETSCROLLINFO, 0, (LPARAM)&track))
        {
            info.nTrackPos = track.nTrackPos;
            info.nPage = track.nPage;
        }
        else
            info.nTrackPos = info.nPos;
    }
    else if (!lParam && !m_oldProc)
    {
        if (!::GetScrollInfo(m_handle, bar, &info))
            return false;
    }
    else
    {
        if (control && control->GetKind() == SKIND_SLIDER)
            ::SendMessageA(m_handle, ControlMessage(24, 1), (WPARAM)control, 0);
        return false;
    }
    int current = info.nPos, low = info.nMin, high = info.nMax;
    // A bar with a page cannot go past the last full page.
    if (info.nPage > 0 && high - (int)info.nPage + 1 >= low)
        high = high - (int)info.nPage + 1;
    int position = current;
    switch (LOWORD(wParam))
    {
    case SB_LINEUP: position = current - line; break;
    case SB_LINEDOWN: position = current + line; break;
    case SB_PAGEUP: position = current - page; break;
    case SB_PAGEDOWN: position = current + page; break;
    case SB_TOP: position = low; break;
    case SB_BOTTOM: position = high; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        // The message carries only 16 bits; the bar's own track position has them all.
        position = (WORD)info.nTrackPos == HIWORD(wParam) ? info.nTrackPos : (int)HIWORD(wParam);
        break;
    default: break;
    }
    if (round > 1)
        position -= position % round;
    if (position > high)
        position = high;
    if (position < low)
        position = low;
    *result = 0;
    if (position == current)
        return true;
    if (control)
    {
        ::SendMessageA((HWND)lParam, SBM_SETPOS, (WPARAM)position, TRUE);
        ::SendMessageA(m_handle, ControlMessage(23, 1), (WPARAM)control, 0);
    }
    else
    {
        SetScrollPos(vertical, position, true);
        // The window learns the position the bar really shows.
        position = ::GetScrollPos(m_handle, bar);
        if (position == current)
            return true;
        WPARAM positions = MAKEWPARAM((WORD)current, (WORD)position);
        ::SendMessageA(m_handle, vertical ? WM_S_VSCROLLED : WM_S_HSCROLLED, positions, 0);
    }
    return true;
}

void SWnd::SetScrollSteps(bool vertical, int line, int page, int rounding)
{
    int& lineStep = vertical ? m_lineStepV : m_lineStepH;
    int& pageStep = vertical ? m_pageStepV : m_pageStepH;
    int& roundStep = vertical ? m_roundStepV : m_roundStepH;
    lineStep = line;
    pageStep = page;
    roundStep = rounding < 1 ? 1 : rounding;
}

void SWnd::SetScrollInfo(bool vertical, int min, int max, int page, bool redraw)
{
    if (!m_handle)
        return;
    SCROLLINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    info.nMin = min;
    info.nMax = max;
    if (page >= 0)
    {
        info.fMask |= SIF_PAGE;
        info.nPage = (UINT)page;
    }
    ::SetScrollInfo(m_handle, vertical ? SB_VERT : SB_HORZ, &info, redraw);
}

bool SWnd::UpdateScrollInfo(bool vertical, int min, int max, int page)
{
    if (!m_handle)
        return false;
    SCROLLINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (::GetScrollInfo(m_handle, vertical ? SB_VERT : SB_HORZ, &info) && info.nMin == min && info.nMax == max &&
        info.nPage == (UINT)(page < 0 ? 0 : page))
        return false;
    SetScrollInfo(vertical, min, max, page, false);
    ::RedrawWindow(m_handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return true;
}

void SWnd::SetScrollPos(bool vertical, int position, bool redraw)
{
    if (!m_handle)
        return;
    int round = vertical ? m_roundStepV : m_roundStepH;
    if (round > 1)
        position -= position % round;
    ::SetScrollPos(m_handle, vertical ? SB_VERT : SB_HORZ, position, redraw);
}

int SWnd::GetScrollPos(bool vertical) const
{
    return m_handle ? ::GetScrollPos(m_handle, vertical ? SB_VERT : SB_HORZ) : 0;
}

int SWnd::GetScrollMin(bool vertical) const
{
    int low = 0, high = 0;
    if (m_handle)
        ::GetScrollRange(m_handle, vertical ? SB_VERT : SB_HORZ, &low, &high);
    return low;
}

int SWnd::GetScrollMax(bool vertical) const
{
    int low = 0, high = 0;
    if (m_handle)
        ::GetScrollRange(m_handle, vertical ? SB_VERT : SB_HORZ, &low, &high);
    return high;
}

void SWnd::ScrollStepForward(bool vertical)
{
    SetScrollPos(vertical, GetScrollPos(vertical) + GetScrollStep(vertical), true);
}

void SWnd::ScrollStepBack(bool vertical)
{
    SetScrollPos(vertical, GetScrollPos(vertical) - GetScrollStep(vertical), true);
}

void SWnd::ScrollLine(bool vertical, bool forward)
{
    // Through the bar's own handling, so steps, clamping and the notification stay in one place.
    SendMessage(vertical ? WM_VSCROLL : WM_HSCROLL, forward ? SB_LINEDOWN : SB_LINEUP, 0);
}

void SWnd::ShowScrollBar(bool vertical, bool show)
{
    if (m_handle)
        ::ShowScrollBar(m_handle, vertical ? SB_VERT : SB_HORZ, show);
}

bool SWnd::Redraw(const RECT* rect, HRGN region, UINT flags)
{
    if (!m_handle)
        return false;
    HWND parent = (GetStyle() & WS_CHILD) ? ::GetParent(m_handle) : nullptr;
    if (parent && (GetWindowLongPtrA(parent, GWL_EXSTYLE) & WS_EX_LAYERED))
    {
        // A layered parent shows one composed picture: recompose it instead.
        SWnd* layered = FindWndByHandle(parent);
        if (layered)
            layered->UpdateLayeredImage(255);
        return true;
    }
    if (m_backColor != SCOLOR_TRANSPARENT)
        return RedrawWindow(m_handle, rect, region, flags) != 0;
    m_redrawingTransparent = 1;
    bool done = RedrawWindow(m_handle, rect, region, flags) != 0;
    m_redrawingTransparent = 0;
    return done;
}

bool SWnd::RedrawNow()
{
    return Redraw(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SWnd::EraseBackground(HDC paintDC, HDC targetDC)
{
    if (!m_handle || !paintDC)
        return;
    if (!targetDC)
        targetDC = paintDC;
    // Visible library children that paint their own background are cut out of the clip.
    SArray<SWnd*> children;
    CollectChildren(&children);
    for (int i = 0; i < children.GetCount(); i++)
    {
        SWnd* child = children.GetAt(i);
        if (!child->IsVisible() || child->GetBackColor() == SCOLOR_TRANSPARENT)
            continue;
        int kind = child->GetKind();
        bool sizeMoveOnly = kind == SKIND_BUTTON || kind == SKIND_COMBO || kind == SKIND_EDIT ||
                            kind == SKIND_GROUP || kind == SKIND_PROGRESS;
        if (sizeMoveOnly && !m_inSizeMove)
            continue;
        RECT rect;
        if (!child->GetWindowRect(&rect))
            continue;
        MapWindowPoints(nullptr, m_handle, (POINT*)&rect, 2);
        bool useTarget = kind == SKIND_RADIO || kind == SKIND_STATIC || kind == SKIND_TAB ||
                         (kind == SKIND_TOOLBAR && (child->GetStyle() & TBSTYLE_TRANSPARENT));
        HDC dc = useTarget ? targetDC : paintDC;
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        int shapeKind = shape ? GetWindowRgn(child->GetHandle(), shape) : ERROR;
        if (shapeKind != ERROR && shapeKind != NULLREGION)
        {
            OffsetRgn(shape, rect.left, rect.top);
            HRGN clip = CreateRectRgn(0, 0, 0, 0);
            if (clip && GetClipRgn(dc, clip) != 1)
            {
                RECT box;
                GetClipBox(dc, &box);
                SetRectRgn(clip, box.left, box.top, box.right, box.bottom);
            }
            if (clip)
            {
                CombineRgn(clip, clip, shape, RGN_DIFF);
                SelectClipRgn(dc, clip);
                DeleteObject(clip);
            }
        }
        else if (dc == paintDC)
            ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        else
        {
            HRGN cut = CreateRectRgnIndirect(&rect);
            if (cut)
            {
                ExtSelectClipRgn(dc, cut, RGN_DIFF);
                DeleteObject(cut);
            }
        }
        if (shape)
            DeleteObject(shape);
    }
    unsigned color = m_backColor;
    RECT client;
    ::GetClientRect(m_handle, &client);
    if (GetBackgroundImage())
    {
        if (color < SCOLOR_NONE)
        {
            HBRUSH brush = CreateSolidBrush(ResolveColor(color));
            if (brush)
            {
                FillRect(targetDC, &client, brush);
                DeleteObject(brush);
            }
        }
        DrawBackgroundImage(targetDC, client.right, client.bottom);
        return;
    }
    if (color == SCOLOR_NONE)
        return;
    if (color == SCOLOR_TRANSPARENT)
    {
        SWnd* parent = FindWndByHandle(GetParent());
        if (parent && m_redrawingTransparent)
        {
            RECT rect = client;
            MapWindowPoints(m_handle, parent->GetHandle(), (POINT*)&rect, 2);
            RedrawWindow(parent->GetHandle(), &rect, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW);
        }
        return;
    }
    HBRUSH brush = CreateSolidBrush(ResolveColor(color));
    if (brush)
    {
        FillRect(targetDC, &client, brush);
        DeleteObject(brush);
    }
}
