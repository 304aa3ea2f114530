#pragma once
// Helpers shared by the tests that inject keys through the system input queue.
#include <windows.h>

#include <initializer_list>
#include <vector>

// Removes the key messages that injected input left in this thread's queue, so that no later
// test receives them.
inline void DropQueuedKeys()
{
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE); i++) {
    }
}

// Presses or releases a key through the system input queue until the system reports it so
// (bounded). Wine answers GetAsyncKeyState from a short-lived cache and may reset the
// modifiers to the X server's state when an earlier window moved the focus.
inline bool SetKeyDown(int key, bool down)
{
    for (int attempt = 0; attempt < 100; attempt++) {
        if ((GetAsyncKeyState(key) < 0) == down)
            return true;
        if (attempt % 10 == 0)
            keybd_event((BYTE)key, 0, down ? 0 : KEYEVENTF_KEYUP, 0);
        DropQueuedKeys();
        Sleep(5);
    }
    return false;
}

// Releases the keys when it goes out of scope, so that a failed check leaves no key held for
// the tests that follow.
class KeysReleasedAtEnd
{
public:
    KeysReleasedAtEnd(std::initializer_list<int> keys) : m_keys(keys) {}
    ~KeysReleasedAtEnd()
    {
        for (int key : m_keys)
            SetKeyDown(key, false);
        DropQueuedKeys();
    }

private:
    std::vector<int> m_keys;
};
