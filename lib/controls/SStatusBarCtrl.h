#pragma once
// Status bar with parts over the system "msctls_statusbar32" class; it places itself
// along the bottom of its parent and forwards mouse buttons as WM_APP+3270.
#include <windows.h>

#include "SWnd.h"

class SStatusBarCtrl : public SWnd
{
public:
    SStatusBarCtrl();
    ~SStatusBarCtrl() override;

    // Creates the bar (no rectangle: it places itself).
    bool Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id = 0, LPARAM creationParam = 0);

    // Divides the parent's client width into n equal parts, the last to the end; false for n below 1.
    bool SetParts(int n);
    // Moves the right edge of one part; false without parts or outside them.
    bool SetPartRight(int index, int right);
    int GetPartCount();
    // Sets the text of a part; false outside the parts.
    bool SetText(int part, const char* text);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
