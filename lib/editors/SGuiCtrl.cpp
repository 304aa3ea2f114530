#include "SGuiCtrl.h"

#include "SEditorFactory.h"
#include "SLibrary.h"
#include "SSplitterCtrl.h"

namespace
{
const int kMinSize = 16;
const int kFrame = 2;
const int kRowCursor = 9;
const int kColumnCursor = 11;
const DWORD kDragWait = 15;

SSplitterDragInput g_realInput;
SSplitterDragInput* g_dragInput = &g_realInput;

RECT EmptyRect()
{
    RECT rect = {0, 0, 0, 0};
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}
}

// --- bar record ------------------------------------------------------------------

SGuiCtrl::_SBar::_SBar() : owner(nullptr), window(nullptr), flags(0), width(kMinSize), height(kMinSize)
{
    wnd.bar = this;
}

void SGuiCtrl::_SBar::SetSize(int newWidth, int newHeight, bool alone)
{
    width = newWidth < kMinSize ? kMinSize : newWidth;
    height = newHeight < kMinSize ? kMinSize : newHeight;
    if (alone || !owner)
        return;
    int index = owner->IndexOfBar(this);
    if (index < 0)
        return;
    // Every bar of this row or column takes the same thickness.
    for (int i = index + 1; i < owner->GetBarCount(); i++)
    {
        _SBar* other = owner->GetBar(i);
        if (!SameSide(other))
            continue;
        if (other->IsRowStart())
            break;
        other->SetSize(IsColumn() ? width : other->width, IsColumn() ? other->height : height, true);
    }
    if (IsRowStart())
        return;
    for (int i = index - 1; i >= 0; i--)
    {
        _SBar* other = owner->GetBar(i);
        if (!SameSide(other))
            continue;
        other->SetSize(IsColumn() ? width : other->width, IsColumn() ? other->height : height, true);
        if (other->IsRowStart())
            break;
    }
}

void SGuiCtrl::_SBar::SetHidden(bool hidden)
{
    flags = hidden ? (flags | BAR_HIDDEN) : (flags & ~(unsigned)BAR_HIDDEN);
}

// --- bar window ------------------------------------------------------------------

SGuiCtrl::_SWndBar::_SWndBar() : owner(nullptr), bar(nullptr)
{
}

SGuiCtrl::_SWndBar::~_SWndBar()
{
    EditorFactory::DetachChildWindows(GetHandle());
}

int SGuiCtrl::_SWndBar::HitTest(int x, int y) const
{
    if (!bar || !owner || !GetHandle())
        return HIT_NONE;
    RECT client;
    GetClientRectInWindow(&client);
    int g = bar->CaptionSize();
    int index = owner->IndexOfBar(bar);
    // Whether the bar lies in the outermost row or column of its side (that edge is the control's).
    auto outermost = [&]() {
        if (bar->IsHidden() || bar->IsRowStart())
            return false;
        for (int i = 0; i < index; i++)
        {
            _SBar* other = owner->GetBar(i);
            if (!other->IsHidden() && bar->SameSide(other) && other->IsRowStart())
                return false;
        }
        return true;
    };
    // Whether the next later visible bar on the side starts a row: 0 then, 0 when there is none.
    auto nextStartsOrNone = [&]() {
        for (int i = index + 1; i < owner->GetBarCount(); i++)
        {
            _SBar* other = owner->GetBar(i);
            if (!other->IsHidden() && bar->SameSide(other))
                return other->IsRowStart();
        }
        return true;
    };
    bool column = bar->IsColumn();
    if (y <= client.top)
    {
        if (column)
        {
            if (y <= client.top - g - 2)
                return HIT_NONE;
            if (bar->HasCloseBox() && y <= client.top - 2 && x >= client.right - g)
                return HIT_CLOSE;
            return HIT_CAPTION;
        }
        if (bar->IsHeightFixed() || (!bar->IsFarSide() && outermost()))
            return HIT_NONE;
        return HIT_TOP;
    }
    if (x <= client.left)
    {
        if (!column)
        {
            if (x <= client.left - g - 2)
                return HIT_NONE;
            if (bar->HasCloseBox() && x <= client.left - 2 && y < g + 2)
                return HIT_CLOSE;
            return HIT_CAPTION;
        }
        if (bar->IsWidthFixed() || (!bar->IsFarSide() && outermost()))
            return HIT_NONE;
        return HIT_LEFT;
    }
    if (y >= client.bottom)
    {
        if (column)
            return nextStartsOrNone() ? HIT_NONE : HIT_BOTTOM;
        if (bar->IsHeightFixed() || (bar->IsFarSide() && outermost()))
            return HIT_NONE;
        return HIT_BOTTOM;
    }
    if (x >= client.right)
    {
        if (!column)
            return nextStartsOrNone() ? HIT_NONE : HIT_RIGHT;
        if (bar->IsWidthFixed() || (bar->IsFarSide() && outermost()))
            return HIT_NONE;
        return HIT_RIGHT;
    }
    return HIT_NONE;
}

void SGuiCtrl::_SWndBar::PaintFrame(HDC dc) const
{
    if (!bar)
        return;
    int w = GetWindowWidth(), h = GetWindowHeight();
    int g = bar->CaptionSize();
    RECT client;
    GetClientRectInWindow(&client);
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    RECT whole = {0, 0, w, h};
    FillRect(dc, &whole, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &whole, BDR_RAISEDINNER, BF_RECT);
    bool close = bar->HasCloseBox();
    RECT box = bar->IsColumn() ? RECT{w - g - 2, 2, w - 2, g + 2} : RECT{2, 2, g + 2, g + 2};
    if (close)
    {
        InflateRect(&box, -1, -1);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, box.left, box.top, nullptr);
        LineTo(dc, box.right, box.bottom);
        MoveToEx(dc, box.right - 1, box.top, nullptr);
        LineTo(dc, box.left - 1, box.bottom);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    if (bar->IsColumn())
    {
        int boxLeft = close ? w - g - 2 : w;
        RECT grip = {2, 2, boxLeft - 2, 6};
        DrawEdge(dc, &grip, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
        if (!bar->IsSmallCaption())
        {
            OffsetRect(&grip, 0, 4);
            DrawEdge(dc, &grip, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
        }
    }
    else
    {
        int boxBottom = close ? g + 2 : 0;
        RECT grip = {2, boxBottom + 2, 6, h - 2};
        DrawEdge(dc, &grip, EDGE_ETCHED, BF_LEFT | BF_RIGHT);
        if (!bar->IsSmallCaption())
        {
            OffsetRect(&grip, 4, 0);
            DrawEdge(dc, &grip, EDGE_ETCHED, BF_LEFT | BF_RIGHT);
        }
    }
    RestoreDC(dc, saved);
}

void SGuiCtrl::_SWndBar::OnHotAreaEnter(RECT*, int x, int y, int)
{
    int code = HitTest(x, y);
    if (code == HIT_TOP || code == HIT_BOTTOM)
        SetCursor(GetCursorHandle(kRowCursor));
    else if (code == HIT_LEFT || code == HIT_RIGHT)
        SetCursor(GetCursorHandle(kColumnCursor));
    else
        SetCursor(nullptr);
}

void SGuiCtrl::_SWndBar::OnHotAreaMove(RECT* area, int x, int y, int index)
{
    OnHotAreaEnter(area, x, y, index);
}

void SGuiCtrl::_SWndBar::OnHotAreaLeave(RECT*, int, int, int)
{
    SetCursor(nullptr);
}

void SGuiCtrl::_SWndBar::DragEdge(int code, POINT press)
{
    // Some edges belong to the bar before this one on the same side.
    bool previousEdge = (code == HIT_TOP && !bar->IsColumn() && !bar->IsFarSide()) ||
                        (code == HIT_BOTTOM && !bar->IsColumn() && bar->IsFarSide()) ||
                        (code == HIT_LEFT && bar->IsColumn() && !bar->IsFarSide()) ||
                        (code == HIT_RIGHT && bar->IsColumn() && bar->IsFarSide());
    _SBar* target = bar;
    if (previousEdge)
    {
        int previous = owner->PreviousOnSide(owner->IndexOfBar(bar));
        target = owner->GetBar(previous);
        if (!target)
            return;
    }
    bool negate = (code == HIT_TOP && target->IsFarSide()) ||
                  (code == HIT_BOTTOM && !target->IsColumn() && target->IsFarSide()) ||
                  (code == HIT_LEFT && target->IsFarSide()) ||
                  (code == HIT_RIGHT && target->IsColumn() && target->IsFarSide());
    bool vertical = code == HIT_TOP || code == HIT_BOTTOM;
    int startWidth = target->width, startHeight = target->height;
    while (g_dragInput->IsLeftButtonDown())
    {
        POINT point = g_dragInput->GetCursorPos();
        int d = vertical ? point.y - press.y : point.x - press.x;
        if (negate)
            d = -d;
        int newWidth = vertical ? target->width : startWidth + d;
        int newHeight = vertical ? startHeight + d : target->height;
        if (newWidth != target->width || newHeight != target->height)
        {
            target->SetSize(newWidth, newHeight, false);
            owner->Layout();
        }
        g_dragInput->WaitForInput(kDragWait);
    }
}

LRESULT SGuiCtrl::_SWndBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        SetBackColor(GetSysColor(COLOR_WINDOW));
        EnableHotAreas(true);
        break;
    case WM_NCCALCSIZE:
        if (bar)
        {
            RECT* rect = (RECT*)lParam;
            int caption = bar->CaptionSize() + 2;
            rect->left += kFrame + (bar->IsColumn() ? 0 : caption);
            rect->top += kFrame + (bar->IsColumn() ? caption : 0);
            rect->right -= kFrame;
            rect->bottom -= kFrame;
            if (rect->right < rect->left)
                rect->right = rect->left;
            if (rect->bottom < rect->top)
                rect->bottom = rect->top;
            return 0;
        }
        break;
    case WM_NCPAINT:
    {
        HDC dc = GetWindowDC(GetHandle());
        if (dc)
        {
            PaintFrame(dc);
            ::ReleaseDC(GetHandle(), dc);
        }
        return 0;
    }
    case WM_PRINT:
        if (lParam & PRF_NONCLIENT)
            PaintFrame((HDC)wParam);
        break;
    case WM_NCHITTEST:
    {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ScreenToClient(&point);
        RECT client;
        GetClientRect(&client);
        return PtInRect(&client, point) ? HTCLIENT : HTBORDER;
    }
    case WM_S_NC_LCLICK:
        if (owner && bar)
        {
            RECT window;
            GetWindowRect(&window);
            if (HitTest((short)LOWORD(lParam) - window.left, (short)HIWORD(lParam) - window.top) == HIT_CLOSE &&
                owner->SendMessageToParent(SGUI_CLOSING, (WPARAM)owner, (LPARAM)bar->window) == 0)
            {
                bar->SetHidden(true);
                owner->Layout();
            }
        }
        break;
    case WM_NCLBUTTONDOWN:
        if (owner && bar)
        {
            RECT window;
            GetWindowRect(&window);
            POINT press = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            int code = HitTest(press.x - window.left, press.y - window.top);
            if (code >= HIT_TOP)
            {
                DragEdge(code, press);
                return 0;
            }
        }
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (owner && !owner->OnChildMessage(bar, msg, wParam, lParam, &result))
        return result;
    return ::SWnd::OnMessage(msg, wParam, lParam);
}

// --- view --------------------------------------------------------------------------

SGuiCtrl::_SWndView::_SWndView() : owner(nullptr)
{
}

LRESULT SGuiCtrl::_SWndView::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_CREATED)
        SetBackColor(GetSysColor(COLOR_APPWORKSPACE));
    LRESULT result = 0;
    if (owner && !owner->OnChildMessage(nullptr, msg, wParam, lParam, &result))
        return result;
    return ::SWnd::OnMessage(msg, wParam, lParam);
}

// --- the control ----------------------------------------------------------------------

SGuiCtrl::SGuiCtrl()
{
    SetKind(SKIND_GUI);
    m_view.owner = this;
}

SGuiCtrl::~SGuiCtrl()
{
    for (int i = 0; i < m_bars.GetCount(); i++)
        delete m_bars.GetAt(i);
    m_bars.RemoveAll();
}

SSplitterDragInput* SGuiCtrl::SetDragInput(SSplitterDragInput* input)
{
    SSplitterDragInput* previous = g_dragInput == &g_realInput ? nullptr : g_dragInput;
    g_dragInput = input ? input : &g_realInput;
    return previous;
}

bool SGuiCtrl::AddBar(HWND window, int width, int height, unsigned flags)
{
    if (FindBar(window) || !GetHandle())
        return false;
    _SBar* bar = new _SBar();
    bar->owner = this;
    bar->window = window;
    bar->flags = flags;
    bar->wnd.owner = this;
    RECT rect = {0, 0, kMinSize, kMinSize};
    if (!bar->wnd.CreateChildNoCaption(WS_CHILD | WS_VISIBLE, 0, &rect, GetHandle()))
    {
        delete bar;
        return false;
    }
    // The frame depends on the record, so the client area is computed again now that it is known.
    bar->wnd.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    bar->SetSize(width, height, true);
    m_bars.Add(bar);
    // The thickness is shared with the bars of the same row or column once the bar is in the list.
    bar->SetSize(bar->width, bar->height, false);
    Layout();
    return true;
}

void SGuiCtrl::RemoveAllBars()
{
    for (int i = 0; i < m_bars.GetCount(); i++)
        delete m_bars.GetAt(i);
    m_bars.RemoveAll();
    Layout();
}

SGuiCtrl::_SBar* SGuiCtrl::FindBar(HWND window) const
{
    for (int i = 0; i < m_bars.GetCount(); i++)
        if (m_bars.GetAt(i)->window == window)
            return m_bars.GetAt(i);
    return nullptr;
}

int SGuiCtrl::IndexOfBar(const _SBar* bar) const
{
    for (int i = 0; i < m_bars.GetCount(); i++)
        if (m_bars.GetAt(i) == bar)
            return i;
    return -1;
}

int SGuiCtrl::PreviousOnSide(int index) const
{
    _SBar* bar = m_bars.GetAt(index);
    if (!bar)
        return -1;
    for (int i = index - 1; i >= 0; i--)
    {
        _SBar* other = m_bars.GetAt(i);
        if (!other->IsHidden() && bar->SameSide(other))
            return i;
    }
    return -1;
}

void SGuiCtrl::ComputeLayout(int skip, SArray<RECT>* bars, RECT* view) const
{
    int count = m_bars.GetCount();
    SArray<RECT> rects;
    rects.SetSize(count, false);
    // Which bars got a rectangle, and each strip's far end for the bars sharing it.
    SArray<int> placed;
    placed.SetSize(count, false);
    RECT remain = EmptyRect();
    if (GetHandle())
        GetClientRect(&remain);
    for (int i = 0; i < count; i++)
    {
        rects.SetAt(i, EmptyRect());
        placed.SetAt(i, 0);
        _SBar* bar = m_bars.GetAt(i);
        if (bar->IsHidden() || i == skip)
            continue;
        int previous = -1;
        for (int j = i - 1; j >= 0 && previous < 0; j--)
            if (placed.GetAt(j) && bar->SameSide(m_bars.GetAt(j)))
                previous = j;
        RECT rect;
        if (bar->IsRowStart() || previous < 0)
        {
            // A new strip, never thicker than what is left, so the view is never inverted.
            if (bar->IsColumn())
            {
                int size = bar->width < remain.right - remain.left ? bar->width : remain.right - remain.left;
                if (bar->IsFarSide())
                {
                    rect = {remain.right - size, remain.top, remain.right, remain.bottom};
                    remain.right -= size;
                }
                else
                {
                    rect = {remain.left, remain.top, remain.left + size, remain.bottom};
                    remain.left += size;
                }
            }
            else
            {
                int size = bar->height < remain.bottom - remain.top ? bar->height : remain.bottom - remain.top;
                if (bar->IsFarSide())
                {
                    rect = {remain.left, remain.bottom - size, remain.right, remain.bottom};
                    remain.bottom -= size;
                }
                else
                {
                    rect = {remain.left, remain.top, remain.right, remain.top + size};
                    remain.top += size;
                }
            }
        }
        else
        {
            RECT shared = rects.GetAt(previous);
            _SBar* before = m_bars.GetAt(previous);
            rect = shared;
            if (bar->IsColumn())
            {
                int end = shared.top + before->height;
                shared.bottom = end < shared.bottom ? end : shared.bottom;
                rect.top = shared.bottom;
            }
            else
            {
                int end = shared.left + before->width;
                shared.right = end < shared.right ? end : shared.right;
                rect.left = shared.right;
            }
            rects.SetAt(previous, shared);
        }
        rects.SetAt(i, rect);
        placed.SetAt(i, 1);
    }
    if (bars)
        *bars = rects;
    if (view)
        *view = remain;
}

void SGuiCtrl::Layout()
{
    if (!GetHandle())
        return;
    SArray<RECT> rects;
    RECT view;
    ComputeLayout(-1, &rects, &view);
    for (int i = 0; i < m_bars.GetCount(); i++)
    {
        _SWndBar& wnd = m_bars.GetAt(i)->wnd;
        RECT rect = rects.GetAt(i);
        if (IsRectEmpty(&rect) && (m_bars.GetAt(i)->IsHidden()))
        {
            wnd.ShowWindow(SW_HIDE);
            continue;
        }
        RECT current;
        wnd.GetRectInParent(&current);
        if (!SameRect(current, rect))
            wnd.MoveWindowToRect(&rect, false);
        wnd.ShowWindow(SW_SHOWNA);
    }
    if (m_view.GetHandle())
    {
        RECT current;
        m_view.GetRectInParent(&current);
        if (!SameRect(current, view))
            m_view.MoveWindowToRect(&view, true);
    }
    for (int i = 0; i < m_bars.GetCount(); i++)
    {
        _SWndBar& wnd = m_bars.GetAt(i)->wnd;
        if (wnd.IsVisible())
            RedrawWindow(wnd.GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    }
    RedrawNow();
}

bool SGuiCtrl::OnChildMessage(_SBar*, UINT, WPARAM, LPARAM, LRESULT*)
{
    return true;
}

LRESULT SGuiCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        SetBackColor(GetSysColor(COLOR_APPWORKSPACE));
        RECT rect;
        GetClientRect(&rect);
        m_view.CreateChildNoCaption(WS_CHILD | WS_VISIBLE, 0, &rect, GetHandle());
        break;
    }
    case WM_SIZE:
        Layout();
        break;
    case WM_DESTROY:
        RemoveAllBars();
        m_view.Destroy();
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
