#include "PWndBook.h"

#include "PLibraryLink.h"
#include "PWndApp.h"
#include "SMessages.h"

PWndBook::PWndBook() : m_owner(nullptr) {}

PWndBook::~PWndBook()
{
    Destroy();
}

bool PWndBook::Create(PWndApp* owner, const char* url)
{
    m_owner = owner;
    m_url = url ? url : "";
    RECT rect = {0, 0, 640, 600};
    return SWnd::Create("Book - Melvora Browser", 0x90CF0000, 0, &rect, owner ? owner->GetHandle() : nullptr);
}

void PWndBook::Navigate(const char* url)
{
    m_url = url ? url : "";
    if (!m_browser.GetHandle())
        return;
    m_browser.Navigate(m_url, "");
    m_statusBar.SetText(0, m_url);
}

LRESULT PWndBook::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        HICON big = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(107), IMAGE_ICON, 32, 32, LR_SHARED);
        HICON small = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(108), IMAGE_ICON, 16, 16, LR_SHARED);
        SetClassIcons(big, small);
        SetIcons(big, small);
        SetWindowText("Book - Melvora Browser");
        MoveWindow(0, 0, 640, 600, false);
        SetMinTrackSize(640, 480);
        CenterWindow(false);
        m_statusBar.Create(WS_VISIBLE, 0, GetHandle());
        m_statusBar.SetParts(1);
        RECT free;
        GetFreeClientRect(&free);
        m_browser.Create(WS_VISIBLE, 0, &free, GetHandle());
        m_browser.SetAnchor(68);
        m_browser.SetSilent(false);
        m_browser.EnableHistory(false);
        LoadPlacement(kPlacementKey1, kPlacementKey2, "WindowBook", true);
        Navigate(m_url);
        return 0;
    }
    case WM_SETFOCUS:
        if (m_browser.GetHandle())
            m_browser.SetFocus();
        return 0;
    case WM_S_BROWSER_BEFORE_NAVIGATE:
        if ((SWnd*)wParam == &m_browser && lParam && m_owner && m_owner->OnBookLink((const char*)lParam))
            return -1;
        return 0;
    case WM_COPYDATA:
    {
        // An outside program (the remote control, the tests) asks for a page.
        SString url = PLibraryLink::CopyDataText((const COPYDATASTRUCT*)lParam);
        if (url.IsEmpty())
            return 0;
        Navigate(url);
        return 1;
    }
    case WM_CLOSE:
        SavePlacement(kPlacementKey1, kPlacementKey2, "WindowBook");
        m_browser.Destroy();
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
