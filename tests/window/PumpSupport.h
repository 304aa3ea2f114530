#pragma once
// Message pumping shared by the window tests: every wait is bounded.
#include <windows.h>

#include <functional>

// Dispatches the messages already waiting in this thread's queue (at most limit of them).
inline void PumpPending(int limit = 200)
{
    MSG message;
    for (int i = 0; i < limit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); i++)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Dispatches this thread's messages until the condition holds or the time is up; false on time-out.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout = 5000)
{
    DWORD start = GetTickCount();
    while (!done())
    {
        if (GetTickCount() - start > timeout)
            return false;
        PumpPending(1000);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
