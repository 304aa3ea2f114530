#include "SKeyboard.h"

#include <stdio.h>

SStringArray& GetKeyNames()
{
    static SStringArray names;
    return names;
}

int GetKeyModifiers()
{
    return (SKeyboard::IsControlDown() ? 2 : 0) | (SKeyboard::IsShiftDown() ? 1 : 0);
}

namespace {

struct KeyRange {
    int first;
    const char* names[16];
};

const KeyRange kNamedKeys[] = {
    {1, {"LBUTTON", "RBUTTON", "CANCEL", "MBUTTON"}},
    {8, {"BACK", "TAB"}},
    {12, {"CLEAR", "RETURN"}},
    {16, {"SHIFT", "CONTROL", "MENU", "PAUSE", "CAPITAL"}},
    {27, {"ESCAPE"}},
    {32, {"SPACE", "PRIOR", "NEXT", "END", "HOME", "LEFT", "UP", "RIGHT", "DOWN", "SELECT"}},
    {43, {"EXECUTE", "SNAPSHOT", "INSERT", "DELETE", "HELP"}},
    {91, {"LWIN", "RWIN", "APPS"}},
    {106, {"MULTIPLY", "ADD", "SEPARATOR", "SUBTRACT", "DECIMAL", "DIVIDE"}},
    {144, {"NUMLOCK", "SCROLL"}},
    {246, {"ATTN", "CRSEL", "EXSEL", "EREOF", "PLAY", "ZOOM"}},
    {253, {"PA1"}},
};

} // namespace

SKeyboard::SKeyboard()
{
    SStringArray& names = GetKeyNames();
    if (names.GetCount() != 0)
        return;
    names.Add("", -1, 256);
    for (const KeyRange& range : kNamedKeys)
        for (int i = 0; i < 16 && range.names[i]; i++)
            names.SetAt(range.first + i, range.names[i]);
    char text[8];
    for (int code = '0'; code <= '9'; code++) {
        snprintf(text, sizeof(text), "%c", code);
        names.SetAt(code, text);
    }
    for (int code = 'A'; code <= 'Z'; code++) {
        snprintf(text, sizeof(text), "%c", code);
        names.SetAt(code, text);
    }
    for (int n = 0; n <= 9; n++) {
        snprintf(text, sizeof(text), "NUM%d", n);
        names.SetAt(VK_NUMPAD0 + n, text);
    }
    for (int n = 1; n <= 16; n++) {
        snprintf(text, sizeof(text), "F%d", n);
        names.SetAt(VK_F1 + n - 1, text);
    }
}

SString SKeyboard::GetKeyName(int code)
{
    return GetKeyNames().GetAt(code);
}

bool SKeyboard::IsKeyDown(int code)
{
    return (GetAsyncKeyState(code) & 0x8000) != 0;
}

bool SKeyboard::IsShiftDown()
{
    return IsKeyDown(VK_SHIFT);
}

bool SKeyboard::IsControlDown()
{
    return IsKeyDown(VK_CONTROL);
}

bool SKeyboard::IsAltDown()
{
    return IsKeyDown(VK_MENU);
}

bool SKeyboard::IsEscapeDown()
{
    return IsKeyDown(VK_ESCAPE);
}

bool SKeyboard::IsLeftButtonDown()
{
    return IsKeyDown(VK_LBUTTON);
}

void SKeyboard::TapKey(int code)
{
    keybd_event((BYTE)code, 0, 0, 0);
    keybd_event((BYTE)code, 0, KEYEVENTF_KEYUP, 0);
}
