#include "SProgressCtrl.h"

#include <commctrl.h>

#include "SControl.h"
#include "SLibrary.h"

SProgressCtrl::SProgressCtrl()
{
    SetKind(SKIND_PROGRESS);
}

SProgressCtrl::~SProgressCtrl()
{
}

bool SProgressCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                           LPARAM creationParam)
{
    return CreateSubclassed(PROGRESS_CLASSA, "", SControlStyle(style), exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

void SProgressCtrl::SetRange(int min, int max)
{
    SendMessage(PBM_SETRANGE32, (WPARAM)min, (LPARAM)max);
}

void SProgressCtrl::SetPos(int pos)
{
    SendMessage(PBM_SETPOS, (WPARAM)pos);
}

int SProgressCtrl::GetPos()
{
    return (int)SendMessage(PBM_GETPOS);
}

int SProgressCtrl::GetMax()
{
    return (int)SendMessage(PBM_GETRANGE, FALSE);
}

void SProgressCtrl::SetBackColor(unsigned color)
{
    // CLR_DEFAULT is the library's "no colour" value.
    COLORREF bar = color == SCOLOR_NONE ? CLR_DEFAULT : SControlColorRef(color);
    SendMessage(PBM_SETBKCOLOR, 0, (LPARAM)bar);
}

unsigned SProgressCtrl::GetBackColor()
{
    return SCOLOR_NONE;
}

LRESULT SProgressCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_CREATED)
        SetRange(0, 100);
    SControlForwardMouse(this, msg, lParam, SBLOCK_PROGRESS);
    return SWnd::OnMessage(msg, wParam, lParam);
}
