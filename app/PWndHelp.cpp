#include "PWndHelp.h"

#include "PWndApp.h"
#include "SLibrary.h"
#include "SMessages.h"

PWndHelp::PWndHelp() : m_owner(nullptr) {}

PWndHelp::~PWndHelp()
{
    Destroy();
}

bool PWndHelp::Create(PWndApp* owner)
{
    m_owner = owner;
    RECT rect = {0, 0, 900, 800};
    return SWnd::Create("", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, &rect,
                        owner ? owner->GetHandle() : nullptr);
}

LRESULT PWndHelp::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        SetWindowText("Documentation - Melvora Browser");
        MoveWindow(0, 0, 900, 800, false);
        CenterWindow(false);
        SString page = GetAppFolder() + "help.htm";
        m_statusBar.Create(WS_VISIBLE, 0, GetHandle());
        m_statusBar.SetParts(1);
        m_statusBar.SetText(0, page);
        RECT free;
        GetFreeClientRect(&free);
        m_browser.Create(WS_VISIBLE, 0, &free, GetHandle());
        m_browser.SetAnchor(68);
        m_browser.SetSilent(false);
        m_browser.EnableHistory(false);
        m_browser.Navigate(page, "");
        LoadPlacement(kPlacementKey1, kPlacementKey2, "WindowHelp", true);
        return 0;
    }
    case WM_CLOSE:
        m_browser.Destroy();
        SavePlacement(kPlacementKey1, kPlacementKey2, "WindowHelp");
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
