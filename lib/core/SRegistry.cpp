#include "SRegistry.h"

#include <string.h>

int SRegistry::ReadInt(HKEY root, const char* subKey, const char* valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG result = RegQueryValueExA(key, valueName, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return 0;
    return static_cast<int>(value);
}

bool SRegistry::ReadBool(HKEY root, const char* subKey, const char* valueName)
{
    return ReadInt(root, subKey, valueName) != 0;
}

SString SRegistry::ReadString(HKEY root, const char* subKey, const char* valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return SString("");
    // One spare byte so that a value stored without its terminator still ends.
    char buffer[257];
    memset(buffer, 0, sizeof(buffer));
    DWORD size = 256;
    LONG result = RegQueryValueExA(key, valueName, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size > 256)
        return SString("");
    buffer[size] = 0;
    return SString(buffer);
}

bool SRegistry::WriteInt(HKEY root, const char* subKey, const char* valueName, int value)
{
    if (subKey == nullptr || subKey[0] == 0)
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey, 0, const_cast<char*>(""), 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD data = static_cast<DWORD>(value);
    LONG result = RegSetValueExA(key, valueName, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&data), sizeof(data));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SRegistry::WriteBool(HKEY root, const char* subKey, const char* valueName, bool flag)
{
    return WriteInt(root, subKey, valueName, flag ? 1 : 0);
}

bool SRegistry::WriteString(HKEY root, const char* subKey, const char* valueName, const char* text)
{
    if (subKey == nullptr || subKey[0] == 0)
        return false;
    if (text == nullptr)
        text = "";
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey, 0, const_cast<char*>(""), 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, valueName, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
