#include "SRadioCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

SRadioCtrl::SRadioCtrl() : m_brush(nullptr), m_group(-1)
{
    SetKind(SKIND_RADIO);
}

SRadioCtrl::~SRadioCtrl()
{
    if (m_brush)
        DeleteObject(m_brush);
}

bool SRadioCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("BUTTON", caption, SControlStyle(style, BS_RADIOBUTTON), exStyle, rect, parent,
                            id, creationParam, GetInstance());
}

void SRadioCtrl::Check()
{
    SendMessage(BM_SETCHECK, BST_CHECKED);
    if (m_group == -1)
        return;
    SArray<SWnd*> siblings;
    CollectSiblings(&siblings, nullptr, SKIND_RADIO);
    for (int i = 0; i < siblings.GetCount(); i++)
    {
        // Kind 29 belongs to this class alone.
        SRadioCtrl* radio = static_cast<SRadioCtrl*>(siblings.GetAt(i));
        if (radio != this && radio->m_group == m_group)
            radio->SendMessage(BM_SETCHECK, BST_UNCHECKED);
    }
}

LRESULT SRadioCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_RADIO_CHECK)
    {
        Check();
        return 0;
    }
    SControlForwardMouse(this, msg, lParam, SBLOCK_RADIO);
    return SWnd::OnMessage(msg, wParam, lParam);
}

HBRUSH SRadioCtrl::OnCtlColorStatic(HDC)
{
    return SControlBrush(&m_brush, GetBackColor());
}
