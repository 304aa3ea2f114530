#include "STabCtrl.h"

#include <commctrl.h>
#include <stddef.h>
#include <string.h>

#include "SControl.h"

#if !defined(_WIN64)
static_assert(offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM) == 44, "the tooltip record with its caller value is 44 bytes");
#endif

STabCtrl::STabCtrl()
{
    SetKind(SKIND_TAB);
}

STabCtrl::~STabCtrl() = default;

bool STabCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id, LPARAM creationParam)
{
    return CreateTabControl("", SControlStyle(style), exStyle, rect, parent, id, creationParam);
}

int STabCtrl::GetItemCount()
{
    if (!GetHandle())
        return 0;
    LRESULT count = SendMessage(TCM_GETITEMCOUNT, 0, 0);
    return count > 0 ? (int)count : 0;
}

bool STabCtrl::IsValidTab(int tab)
{
    return tab >= 0 && tab < GetItemCount();
}

int STabCtrl::GetCurSel()
{
    if (!GetHandle())
        return -1;
    LRESULT selected = SendMessage(TCM_GETCURSEL, 0, 0);
    return selected < 0 ? -1 : (int)selected;
}

int STabCtrl::InsertTab(const char* text, int index, int image)
{
    if (!GetHandle())
        return -1;
    TCITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = TCIF_TEXT;
    item.pszText = (LPSTR)(text ? text : "");
    if (image >= 0)
    {
        item.mask |= TCIF_IMAGE;
        item.iImage = image;
    }
    if (index < 0)
        index = GetItemCount();
    LRESULT at = SendMessage(TCM_INSERTITEMA, (WPARAM)index, (LPARAM)&item);
    ShowPage(GetCurSel());
    return at < 0 ? -1 : (int)at;
}

bool STabCtrl::AddPage(int tab, SWnd* window)
{
    if (!window || !IsValidTab(tab))
        return false;
    for (int i = 0; i < m_pages.GetCount(); i++)
        if (m_pages.GetAt(i) == window && m_pageTabs.GetAt(i) == tab)
            return false;
    m_pages.Add(window);
    m_pageTabs.Add(tab);
    return true;
}

void STabCtrl::ShowPage(int tab)
{
    if (m_pages.GetCount() == 0 || !IsValidTab(tab))
        return;
    for (int i = 0; i < m_pages.GetCount(); i++)
        if (m_pages.GetAt(i)->GetHandle())
            m_pages.GetAt(i)->ShowWindow(SW_HIDE);
    for (int i = 0; i < m_pages.GetCount(); i++)
        if (m_pageTabs.GetAt(i) == tab)
            m_pages.GetAt(i)->ShowWindow(SW_SHOW);
}

void STabCtrl::SetCurSel(int tab)
{
    if (!GetHandle())
        return;
    SendMessage(TCM_SETCURSEL, (WPARAM)tab, 0);
    ShowPage(tab);
}

void STabCtrl::SetTabTip(int tab, const char* text)
{
    if (!IsValidTab(tab))
        return;
    HWND tooltip = (HWND)SendMessage(TCM_GETTOOLTIPS, 0, 0);
    if (!tooltip)
        return;
    TOOLINFOA tool;
    memset(&tool, 0, sizeof(tool));
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    if (!::SendMessageA(tooltip, TTM_ENUMTOOLSA, (WPARAM)(tab + 1), (LPARAM)&tool))
        return;
    tool.lpszText = (LPSTR)(text ? text : "");
    ::SendMessageA(tooltip, TTM_SETTOOLINFOA, 0, (LPARAM)&tool);
}

LRESULT STabCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_CREATED)
    {
        m_pages.RemoveAll();
        m_pageTabs.RemoveAll();
    }
    else if (msg == WM_S_TAB_SHOW_PAGE)
    {
        ShowPage((int)wParam);
        return 0;
    }
    else if (SControlMouseCode(msg))
    {
        SControlForwardMouse(this, msg, lParam, SBLOCK_TAB);
        if (!GetHandle())
            return 0;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
