#include "SRegistry.h"

#include <string.h>

namespace
{
// Reads a value into buffer (at most *size bytes); false when the key or value
// is missing or does not fit.
bool ReadValue(HKEY root, const char* subKey, const char* valueName, void* buffer, DWORD* size)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG result = RegQueryValueExA(key, valueName, nullptr, nullptr, static_cast<BYTE*>(buffer), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// Creates or opens the key and stores the value; false for an empty subKey.
bool WriteValue(HKEY root, const char* subKey, const char* valueName, DWORD type, const void* data, DWORD size)
{
    if (subKey == nullptr || subKey[0] == 0)
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey, 0, const_cast<char*>(""), 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
}

int SRegistry::ReadInt(HKEY root, const char* subKey, const char* valueName)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (!ReadValue(root, subKey, valueName, &value, &size))
        return 0;
    return static_cast<int>(value);
}

bool SRegistry::ReadBool(HKEY root, const char* subKey, const char* valueName)
{
    return ReadInt(root, subKey, valueName) != 0;
}

SString SRegistry::ReadString(HKEY root, const char* subKey, const char* valueName)
{
    // One spare byte so that a value stored without its terminator still ends.
    char buffer[257];
    memset(buffer, 0, sizeof(buffer));
    DWORD size = 256;
    if (!ReadValue(root, subKey, valueName, buffer, &size) || size > 256)
        return SString("");
    buffer[size] = 0;
    return SString(buffer);
}

bool SRegistry::WriteInt(HKEY root, const char* subKey, const char* valueName, int value)
{
    DWORD data = static_cast<DWORD>(value);
    return WriteValue(root, subKey, valueName, REG_DWORD, &data, sizeof(data));
}

bool SRegistry::WriteBool(HKEY root, const char* subKey, const char* valueName, bool flag)
{
    return WriteInt(root, subKey, valueName, flag ? 1 : 0);
}

bool SRegistry::WriteString(HKEY root, const char* subKey, const char* valueName, const char* text)
{
    if (text == nullptr)
        text = "";
    return WriteValue(root, subKey, valueName, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}
