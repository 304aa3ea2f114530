#include "SCheckCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

SCheckCtrl::SCheckCtrl() : m_brush(nullptr)
{
    SetKind(SKIND_CHECK);
}

SCheckCtrl::~SCheckCtrl()
{
    if (m_brush)
        DeleteObject(m_brush);
}

bool SCheckCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("BUTTON", caption, SControlStyle(style, BS_CHECKBOX), exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

int SCheckCtrl::GetCheck()
{
    LRESULT state = SendMessage(BM_GETCHECK);
    return state == BST_UNCHECKED ? 0 : state == BST_CHECKED ? 1 : 2;
}

void SCheckCtrl::SetCheck(int state)
{
    SendMessage(BM_SETCHECK, state == 0 ? BST_UNCHECKED : state == 1 ? BST_CHECKED : BST_INDETERMINATE);
}

bool SCheckCtrl::IsChecked()
{
    return GetCheck() == 1;
}

void SCheckCtrl::SetChecked(bool checked)
{
    SetCheck(checked ? 1 : 0);
}

LRESULT SCheckCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SControlForwardMouse(this, msg, lParam, SBLOCK_CHECK);
    return SWnd::OnMessage(msg, wParam, lParam);
}

HBRUSH SCheckCtrl::OnCtlColorStatic(HDC)
{
    return SControlBrush(&m_brush, GetBackColor());
}
