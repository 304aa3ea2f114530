#pragma once
// Virtual-key names and the keyboard state.
#include <windows.h>

#include "SString.h"
#include "SStringArray.h"

// The library-wide table of 256 virtual-key names ("" for unnamed codes).
SStringArray& GetKeyNames();
// Modifier mask: 1 Shift, 2 Ctrl (Alt is not part of it).
int GetKeyModifiers();

class SKeyboard
{
public:
    // Fills the key-name table when it is still empty.
    SKeyboard();
    virtual ~SKeyboard() {}
    // Name of a virtual-key code without its "VK_" prefix; "" when unnamed or outside 0-255.
    static SString GetKeyName(int code);
    // True while the key is held.
    static bool IsKeyDown(int code);
    static bool IsShiftDown();
    static bool IsControlDown();
    static bool IsAltDown();
    static bool IsEscapeDown();
    static bool IsLeftButtonDown();
    // Presses and releases a key.
    static void TapKey(int code);
};
