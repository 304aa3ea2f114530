#include "SGroupCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

SGroupCtrl::SGroupCtrl() : m_brush(nullptr), m_textColor(0xFF000000u | GetSysColor(COLOR_BTNTEXT))
{
    SetKind(SKIND_GROUP);
}

SGroupCtrl::~SGroupCtrl()
{
    if (m_brush)
        DeleteObject(m_brush);
}

bool SGroupCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("BUTTON", caption, SControlStyle(style, BS_GROUPBOX), exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

LRESULT SGroupCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SControlForwardMouse(this, msg, lParam, SBLOCK_GROUP);
    return SWnd::OnMessage(msg, wParam, lParam);
}

HBRUSH SGroupCtrl::OnCtlColorStatic(HDC dc)
{
    HBRUSH brush = SControlBrush(&m_brush, GetBackColor(), dc, true);
    if (dc)
        ::SetTextColor(dc, SControlColorRef(m_textColor));
    return brush;
}
