#include "SLabelCtrl.h"

#include "SControl.h"

SLabelCtrl::SLabelCtrl() : m_textColor(GetSysColor(COLOR_WINDOWTEXT)), m_alignment(0x10)
{
    SetKind(SKIND_LABEL);
}

SLabelCtrl::~SLabelCtrl()
{
}

bool SLabelCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id, LPARAM creationParam)
{
    return CreateChild(caption, style, exStyle, rect, parent, id, creationParam);
}

void SLabelCtrl::SetTextColor(COLORREF color)
{
    m_textColor = color;
}

void SLabelCtrl::SetAlignment(int flags)
{
    if (flags == m_alignment)
        return;
    int horizontal = (flags & 3) == 3 ? 3 : (flags & 2) ? 2 : (flags & 1) ? 1 : 0;
    int vertical = (flags & 0x20) ? 0x20 : (flags & 0x10) ? 0x10 : 0;
    m_alignment = horizontal | vertical;
    Redraw();
}

UINT SLabelCtrl::GetDrawFlags() const
{
    UINT flags = DT_SINGLELINE | DT_NOPREFIX;
    int horizontal = m_alignment & 0x0F, vertical = m_alignment & 0xF0;
    if (horizontal == 1)
        flags |= DT_CENTER;
    else if (horizontal == 2)
        flags |= DT_RIGHT;
    if (vertical == 0x10)
        flags |= DT_VCENTER;
    else if (vertical == 0x20)
        flags |= DT_BOTTOM;
    return flags;
}

void SLabelCtrl::DrawLabel(HDC dc)
{
    if (!dc)
        return;
    RECT client;
    if (!GetClientRect(&client))
        return;
    InflateRect(&client, -2, -2);
    SString text = GetText();
    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc, m_textColor);
    DrawTextA(dc, text.GetText(), text.GetLength(), &client, GetDrawFlags());
    ::SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (oldFont)
        SelectObject(dc, oldFont);
}

LRESULT SLabelCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        SetBackColor(GetSysColor(COLOR_BTNFACE));
        break;
    case WM_ERASEBKGND:
        DrawLabel((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        DrawLabel((HDC)wParam);
        break;
    case WM_SETTEXT:
    {
        LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
        Redraw();
        return result;
    }
    default:
        SControlForwardMouse(this, msg, lParam, SBLOCK_LABEL);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
