#include "SScrollCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

SScrollCtrl::SScrollCtrl() : m_brush(nullptr)
{
    SetKind(SKIND_SCROLL);
}

SScrollCtrl::~SScrollCtrl()
{
    if (m_brush)
        DeleteObject(m_brush);
}

bool SScrollCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM creationParam)
{
    return CreateSubclassed("SCROLLBAR", "", SControlStyle(style), exStyle, rect, parent, id, creationParam,
                            GetInstance());
}

void SScrollCtrl::SetRange(int min, int max, bool redraw)
{
    SendMessage(redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, (WPARAM)min, (LPARAM)max);
}

void SScrollCtrl::SetPos(int pos, bool redraw)
{
    SendMessage(SBM_SETPOS, (WPARAM)pos, redraw ? TRUE : FALSE);
}

int SScrollCtrl::GetPos()
{
    return (int)SendMessage(SBM_GETPOS);
}

int SScrollCtrl::GetMin()
{
    int min = 0, max = 0;
    SendMessage(SBM_GETRANGE, (WPARAM)&min, (LPARAM)&max);
    return min;
}

int SScrollCtrl::GetMax()
{
    int min = 0, max = 0;
    SendMessage(SBM_GETRANGE, (WPARAM)&min, (LPARAM)&max);
    return max;
}

LRESULT SScrollCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SControlForwardMouse(this, msg, lParam, SBLOCK_SCROLL);
    return SWnd::OnMessage(msg, wParam, lParam);
}

HBRUSH SScrollCtrl::OnCtlColorScrollBar(HDC dc)
{
    return SControlBrush(&m_brush, GetBackColor(), dc, true);
}
