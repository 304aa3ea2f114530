#pragma once

#include <windows.h>
#include "SString.h"

// Reads and writes single values under a registry key. Keeps no state: every
// call names its root key and closes whatever key it opened.
class SRegistry
{
public:
    // No state: every operation names its root key.
    SRegistry() = default;
    virtual ~SRegistry() = default;

    // The value read into 4 bytes whatever its type; 0 when missing or larger.
    static int ReadInt(HKEY root, const char* subKey, const char* valueName);
    // ReadInt != 0.
    static bool ReadBool(HKEY root, const char* subKey, const char* valueName);
    // The text of the value; "" when missing or longer than 255 bytes.
    static SString ReadString(HKEY root, const char* subKey, const char* valueName);
    // Creates the key when needed and stores a REG_DWORD; false for an empty subKey.
    static bool WriteInt(HKEY root, const char* subKey, const char* valueName, int value);
    // WriteInt with 1 or 0.
    static bool WriteBool(HKEY root, const char* subKey, const char* valueName, bool flag);
    // Creates the key when needed and stores a REG_SZ; false for an empty subKey.
    static bool WriteString(HKEY root, const char* subKey, const char* valueName, const char* text);
};
