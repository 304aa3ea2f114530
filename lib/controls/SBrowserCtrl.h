#pragma once
// A child window hosting the system web browser control: navigation to URLs or to
// a stream written to a temporary file, and the browser's events reported to the parent.
#include <windows.h>
#include <exdisp.h>

#include "SDisk.h"
#include "SDll.h"
#include "SOcxEvents.h"
#include "SString.h"
#include "SWnd.h"

class SFile;

// Notifications to the parent (wParam the control).
enum : UINT
{
    WM_S_BROWSER_BEFORE_NAVIGATE = WM_APP + 3000, // lParam the ANSI URL; non-zero answer cancels
    WM_S_BROWSER_PROGRESS = WM_APP + 3001,        // lParam two 32-bit values: progress, maximum
    WM_S_BROWSER_DOCUMENT = WM_APP + 3002,        // lParam 0 complete, 1 navigation error
    WM_S_BROWSER_TITLE = WM_APP + 3004,
    WM_S_BROWSER_STATUS = WM_APP + 3005,
    WM_S_BROWSER_QUIT = WM_APP + 3006
};

class SBrowserCtrl : public SWnd
{
public:
    // The sink of the browser's DWebBrowserEvents2, owned by the control.
    class _SEvents : public SOcxEvents
    {
    public:
        bool AcceptInterface(REFIID riid, void** out) override;
        HRESULT OnEvent(DISPID dispid, DISPPARAMS* params) override;
        // The hosting control; null sends nothing.
        SBrowserCtrl* owner = nullptr;
    };

    SBrowserCtrl();
    // Destroys the window and the browser and deletes the remembered temporary file.
    ~SBrowserCtrl() override;

    // Library window with an empty caption; WS_CHILD unless the style has WS_POPUP.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);
    // Creates the browser, advises the sink and embeds the browser in the window.
    bool CreateBrowser();
    // On (before Create): the window is made without the browser, which the first
    // navigation or SetSilent creates, so that nothing of it loads before a page is asked for.
    void SetBrowserOnFirstUse(bool onFirstUse) { m_browserOnFirstUse = onFirstUse; }
    // Unadvises and releases the sink, quits and releases the browser, frees "atl.dll".
    void DestroyBrowser();
    bool HasBrowser() const { return m_browser != nullptr; }
    // Navigates to the URL and stores the tag; false without a browser or when refused.
    bool Navigate(const char* url, const char* tag);
    // Writes the source from its position to a new temporary file and navigates to it.
    bool NavigateStream(SFile* source, const char* tag, const char* extension = nullptr);
    SString GetTag() const { return m_tag; }
    void SetTag(const char* tag) { m_tag = tag; }
    // Off: navigations leave no history entry.
    void EnableHistory(bool keep) { m_keepHistory = keep; }
    // On: the browser shows no dialogs of its own.
    void SetSilent(bool silent);
    // The temporary file written by the last NavigateStream; "" when none.
    const SString& GetTempFile() const { return m_tempFile; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SAtlAxAttachControlProc m_attach;
    SDisk m_disk;
    SDll m_atl;
    IWebBrowser2* m_browser;
    IConnectionPoint* m_connectionPoint;
    _SEvents* m_sink;
    DWORD m_cookie;
    bool m_keepHistory;
    SString m_tag;
    SString m_tempFile;
    int m_counter;
    // The container AtlAxAttachControl hands back; releasing it detaches the browser.
    IUnknown* m_container;
    // The browser waits for its first use; it is tried once then.
    bool m_browserOnFirstUse;
    bool m_browserTried;

    // The browser, created now when it waits for its first use; false without one.
    bool EnsureBrowser();
};
