#pragma once
// The library's hidden window: owner of the sound device and carrier of mouse drags for other windows.
#include <windows.h>

#include "SWnd.h"

class SWndApp : public SWnd
{
public:
    SWndApp();
    ~SWndApp() override;
    // Captures the mouse for a drag reported to the target; false unless an allowed button is down.
    bool StartDrag(HWND target, bool allowLeft, bool allowRight);
    // The window that receives the drag messages; null when no drag runs.
    HWND GetDragTarget() const { return m_dragTarget; }
    // Button of the running drag: 1 left, 4 right.
    int GetDragButton() const { return m_buttonCode; }
    // Forwards the pointer moves and the end of a drag to the target, then chains to SWnd.
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_dragTarget;
    int m_buttonCode;
};

// Starts a drag for the target through the library's hidden window.
bool StartAppDrag(HWND target, bool allowLeft, bool allowRight);
