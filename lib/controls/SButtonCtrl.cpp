#include "SButtonCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

SButtonCtrl::SButtonCtrl() : m_brush(nullptr)
{
    SetKind(SKIND_BUTTON);
}

SButtonCtrl::~SButtonCtrl()
{
    if (m_brush)
        DeleteObject(m_brush);
}

bool SButtonCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                         UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("BUTTON", caption, SControlStyle(style, BS_PUSHBUTTON), exStyle, rect, parent,
                            id, creationParam, GetInstance());
}

LRESULT SButtonCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SControlForwardMouse(this, msg, lParam, SBLOCK_BUTTON);
    return SWnd::OnMessage(msg, wParam, lParam);
}

HBRUSH SButtonCtrl::OnCtlColorBtn(HDC)
{
    return SControlBrush(&m_brush, GetBackColor());
}
