#pragma once
// Thin wrapper over the system tab control "SysTabControl32" that also keeps the
// page windows of each tab and shows the right ones when the selection changes.
#include <windows.h>

#include "SArray.h"
#include "SWnd.h"

class STabCtrl : public SWnd
{
public:
    // Kind 38, no pages.
    STabCtrl();
    ~STabCtrl() override;

    // "SysTabControl32"; WS_CHILD unless WS_POPUP.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);
    // Number of tabs (0 without a window).
    int GetItemCount();
    // 0 <= tab < number of tabs.
    bool IsValidTab(int tab);
    // The selected tab; -1 when none.
    int GetCurSel();
    // Inserts a tab (negative index: after the last) with an image when image >= 0,
    // then shows the pages of the selected tab; the new index or -1.
    int InsertTab(const char* text, int index = -1, int image = -1);
    // Registers a page window for a tab; false for no window, an invalid tab or a
    // window already registered for that tab. Not owned.
    bool AddPage(int tab, SWnd* window);
    // Hides every page window, then shows those of the tab; nothing for an invalid
    // tab or when no page is registered.
    void ShowPage(int tab);
    // Selects a tab and shows its pages.
    void SetCurSel(int tab);
    // Sets the tooltip text of a tab when the control has a tooltip window.
    void SetTabTip(int tab, const char* text);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SArray<SWnd*> m_pages;
    SArray<int> m_pageTabs;
};
