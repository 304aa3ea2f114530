#pragma once
// The documentation window: "help.htm" of the program's folder in a browser pane.
#include <windows.h>

#include "SBrowserCtrl.h"
#include "SStatusBarCtrl.h"
#include "SWnd.h"

class PWndApp;

class PWndHelp : public SWnd
{
public:
    PWndHelp();
    ~PWndHelp() override;
    bool Create(PWndApp* owner);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SStatusBarCtrl m_statusBar;
    SBrowserCtrl m_browser;
    PWndApp* m_owner;
};
