#include "SSliderCtrl.h"

#include <commctrl.h>

#include "SControl.h"
#include "SLibrary.h"

SSliderCtrl::SSliderCtrl() : m_brush(nullptr)
{
    SetKind(SKIND_SLIDER);
}

SSliderCtrl::~SSliderCtrl()
{
    if (m_brush)
        DeleteObject(m_brush);
}

bool SSliderCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM creationParam)
{
    return CreateSubclassed(TRACKBAR_CLASSA, "", SControlStyle(style), exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

void SSliderCtrl::SetRange(int min, int max, bool redraw)
{
    SendMessage(TBM_SETRANGEMIN, 0, (LPARAM)min);
    SendMessage(TBM_SETRANGEMAX, 0, (LPARAM)max);
    if (redraw)
        Redraw();
}

void SSliderCtrl::SetPos(int pos, bool redraw)
{
    SendMessage(TBM_SETPOS, redraw ? TRUE : FALSE, (LPARAM)pos);
}

int SSliderCtrl::GetPos()
{
    return (int)SendMessage(TBM_GETPOS);
}

LRESULT SSliderCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT && GetHandle() && ::GetFocus() == GetHandle())
    {
        LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
        // Paint over the trackbar's focus rectangle with the background colour.
        unsigned back = GetBackColor();
        COLORREF color = back == SCOLOR_NONE || back == SCOLOR_TRANSPARENT ? GetSysColor(COLOR_BTNFACE)
                                                                          : SControlColorRef(back);
        RECT client;
        HDC dc = GetClientRect(&client) ? GetDC() : nullptr;
        if (dc)
        {
            HPEN pen = CreatePen(PS_SOLID, 1, color);
            if (pen)
            {
                HGDIOBJ oldPen = SelectObject(dc, pen);
                HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
                Rectangle(dc, client.left, client.top, client.right, client.bottom);
                SelectObject(dc, oldBrush);
                SelectObject(dc, oldPen);
                DeleteObject(pen);
            }
            ReleaseDC(dc);
        }
        return result;
    }
    SControlForwardMouse(this, msg, lParam, SBLOCK_SLIDER);
    return SWnd::OnMessage(msg, wParam, lParam);
}

HBRUSH SSliderCtrl::OnCtlColorStatic(HDC)
{
    return SControlBrush(&m_brush, GetBackColor());
}
