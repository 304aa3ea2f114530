#include "SControl.h"

#include "SDraw.h"
#include "SWnd.h"

DWORD SControlStyle(DWORD style, DWORD fixedBits)
{
    if (!(style & WS_POPUP))
        style |= WS_CHILD;
    return style | fixedBits;
}

int SControlMouseCode(UINT msg)
{
    switch (msg)
    {
    case WM_LBUTTONDOWN: return SMOUSE_LEFT | SMOUSE_DOWN;
    case WM_LBUTTONUP: return SMOUSE_LEFT | SMOUSE_UP;
    case WM_LBUTTONDBLCLK: return SMOUSE_LEFT | SMOUSE_DOUBLECLICK;
    case WM_RBUTTONDOWN: return SMOUSE_RIGHT | SMOUSE_DOWN;
    case WM_RBUTTONUP: return SMOUSE_RIGHT | SMOUSE_UP;
    case WM_RBUTTONDBLCLK: return SMOUSE_RIGHT | SMOUSE_DOUBLECLICK;
    case WM_MBUTTONDOWN: return SMOUSE_MIDDLE | SMOUSE_DOWN;
    case WM_MBUTTONUP: return SMOUSE_MIDDLE | SMOUSE_UP;
    case WM_MBUTTONDBLCLK: return SMOUSE_MIDDLE | SMOUSE_DOUBLECLICK;
    case WM_S_LCLICK: return SMOUSE_LEFT | SMOUSE_CLICK;
    case WM_S_MCLICK: return SMOUSE_MIDDLE | SMOUSE_CLICK;
    case WM_S_RCLICK: return SMOUSE_RIGHT | SMOUSE_CLICK;
    default: return 0;
    }
}

bool SControlForwardMouse(SWnd* control, UINT msg, LPARAM lParam, int block, int offset)
{
    int code = SControlMouseCode(msg);
    HWND parent = control->GetParent();
    if (!code || !parent)
        return false;
    SMouseRecord record;
    record.code = code;
    record.x = (short)LOWORD(lParam);
    record.y = (short)HIWORD(lParam);
    POINT screen = {record.x, record.y};
    ::ClientToScreen(control->GetHandle(), &screen);
    record.screenX = screen.x;
    record.screenY = screen.y;
    // Delivered synchronously through the library procedure: the record lives on this stack.
    SWnd::WindowProc(parent, ControlMessage(block, offset), (WPARAM)control, (LPARAM)&record);
    return true;
}

HBRUSH SControlBrush(HBRUSH* owned, unsigned backColor, HDC dc, bool prepareDC)
{
    if (*owned)
    {
        DeleteObject(*owned);
        *owned = nullptr;
    }
    if (backColor == SCOLOR_NONE)
        return nullptr;
    if (backColor == SCOLOR_TRANSPARENT)
    {
        if (prepareDC && dc)
            SetBkMode(dc, TRANSPARENT);
        return (HBRUSH)GetStockObject(NULL_BRUSH);
    }
    COLORREF color = SControlColorRef(backColor);
    *owned = CreateSolidBrush(color);
    if (prepareDC && dc)
        SetBkColor(dc, color);
    return *owned;
}

COLORREF SControlColorRef(unsigned color)
{
    return ResolveColor(color);
}
