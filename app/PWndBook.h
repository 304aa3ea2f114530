#pragma once
// The book window: "Book.htm" in a browser pane whose links play media, play
// albums and navigate the library instead of browsing.
#include <windows.h>

#include "SBrowserCtrl.h"
#include "SKeyboard.h"
#include "SStatusBarCtrl.h"
#include "SString.h"
#include "SWnd.h"

class PWndApp;

class PWndBook : public SWnd
{
public:
    PWndBook();
    ~PWndBook() override;
    // Creates the top-level window owned by the main window and shows the URL.
    bool Create(PWndApp* owner, const char* url);
    // Navigates the browser to the URL and shows it in the status bar.
    void Navigate(const char* url);
    // The last URL asked for.
    const SString& GetUrl() const { return m_url; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SKeyboard m_keyboard;
    SStatusBarCtrl m_statusBar;
    SBrowserCtrl m_browser;
    PWndApp* m_owner;
    SString m_url;
};
