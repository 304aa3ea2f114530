#pragma once
#include <windows.h>

// Puts the real mouse pointer in the screen's bottom-right corner. Controls answer
// a synthetic right click with a context-menu message at the pointer's real
// position; a pointer left by an earlier driven test over a test window's caption
// would open that window's system menu and wait for a user.
inline void ParkCursor()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}
