#pragma once
// Test parents that the X driver does not manage. Under Wine with no window manager,
// hiding or destroying a managed top-level window (caption, sizing frame, or activated
// when shown) waits two seconds for the X server; a caption-less pop-up shown without
// activation goes at once.
#include <windows.h>

#include "SWnd.h"

// Creates the window as a visible pop-up of the given client size; false on failure.
inline bool CreateUnmanagedParent(SWnd* window, int width = 400, int height = 300)
{
    RECT rect = {50, 50, 50 + width, 50 + height};
    if (!window->Create("controls test", WS_POPUP, 0, &rect, nullptr))
        return false;
    window->SetClientSize(width, height);
    window->ShowWindow(SW_SHOWNA);
    return true;
}
