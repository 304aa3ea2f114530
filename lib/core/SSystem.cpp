#include "SSystem.h"
#include "SPath.h"

#include <psapi.h>
#include <string.h>

namespace
{
SSystem::ExitWindowsCall exitWindowsCall = nullptr;

SString LowerCasePath(const char* path)
{
    SPath checked;
    checked.AssignText(path);
    if (path == nullptr || !checked.IsValid())
        return SString();
    SString text(path);
    text.MakeLower();
    return text;
}
}

SSystem::SSystem() = default;

SSystem::~SSystem()
{
    for (int i = fonts.GetCount() - 1; i >= 0; i--)
    {
        SString path = fonts.GetAt(i);
        RemoveFont(path);
    }
    fonts.RemoveAll();
}

bool SSystem::GetWorkArea(RECT* area)
{
    if (area == nullptr)
        return false;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, area, 0))
    {
        SetRectEmpty(area);
        return false;
    }
    return true;
}

int SSystem::GetWorkAreaLeft()
{
    RECT area;
    return GetWorkArea(&area) ? area.left : 0;
}

int SSystem::GetWorkAreaRight()
{
    RECT area;
    return GetWorkArea(&area) ? area.right : 0;
}

int SSystem::GetWorkAreaBottom()
{
    RECT area;
    return GetWorkArea(&area) ? area.bottom : 0;
}

int SSystem::GetWorkAreaWidth()
{
    RECT area;
    return GetWorkArea(&area) ? area.right - area.left : 0;
}

bool SSystem::GetVersionNumbers(int* platform, int* major, int* minor)
{
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info))
        return false;
#pragma GCC diagnostic pop
    if (platform != nullptr)
        *platform = static_cast<int>(info.dwPlatformId);
    if (major != nullptr)
        *major = static_cast<int>(info.dwMajorVersion);
    if (minor != nullptr)
        *minor = static_cast<int>(info.dwMinorVersion);
    return true;
}

int SSystem::GetVersionCode(int platform, int major, int minor)
{
    struct Entry
    {
        int platform, major, minor, code;
    };
    static const Entry table[] = {
        {1, 4, 0, 1}, {1, 4, 10, 3}, {1, 4, 90, 4},
        {2, 4, 0, 2}, {2, 5, 0, 5}, {2, 5, 1, 6}, {2, 5, 2, 6},
        {2, 6, 0, 7}, {2, 7, 0, 8},
    };
    for (const Entry& entry : table)
        if (entry.platform == platform && entry.major == major && entry.minor == minor)
            return entry.code;
    return 255;
}

int SSystem::GetWindowsVersion()
{
    int platform = 0, major = 0, minor = 0;
    if (!GetVersionNumbers(&platform, &major, &minor))
        return 0;
    return GetVersionCode(platform, major, minor);
}

void SSystem::ShutdownWindows()
{
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    {
        TOKEN_PRIVILEGES privileges;
        memset(&privileges, 0, sizeof(privileges));
        LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    const UINT flags = EWX_SHUTDOWN | EWX_FORCEIFHUNG;
    const DWORD reason = 0x80000000;  // planned
    if (exitWindowsCall != nullptr)
        exitWindowsCall(flags, reason);
    else
        ExitWindowsEx(flags, reason);
}

void SSystem::SetExitWindowsCall(ExitWindowsCall call)
{
    exitWindowsCall = call;
}

SString SSystem::GetAppPath()
{
    char buffer[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return SString("");
    buffer[length] = 0;
    return SString(buffer);
}

SString SSystem::GetAppFolder()
{
    SString path = GetAppPath();
    int slash = path.ReverseFindAny(-1, 2, '\\', '/');
    if (slash < 0)
        return SString("");
    return path.Left(slash + 1);
}

int SSystem::CountModules(HANDLE process, const char* path)
{
    if (process == nullptr || path == nullptr || path[0] == 0)
        return 0;
    HMODULE modules[1024];
    DWORD moduleBytes = 0;
    if (!EnumProcessModules(process, modules, sizeof(modules), &moduleBytes))
        return 0;
    DWORD moduleCount = moduleBytes / sizeof(HMODULE);
    if (moduleCount > 1024)
        moduleCount = 1024;
    int count = 0;
    for (DWORD m = 0; m < moduleCount; m++)
    {
        char name[MAX_PATH + 1];
        DWORD length = GetModuleFileNameExA(process, modules[m], name, MAX_PATH);
        if (length == 0)
            continue;
        name[length < MAX_PATH ? length : MAX_PATH] = 0;
        if (_stricmp(name, path) == 0)
            count++;
    }
    return count;
}

int SSystem::GetProcessCount(const char* path)
{
    SString wanted = (path == nullptr || path[0] == 0) ? GetAppPath() : SString(path);
    if (wanted.IsEmpty())
        return 0;
    DWORD processes[1024];
    DWORD processBytes = 0;
    if (!EnumProcesses(processes, sizeof(processes), &processBytes))
        return 0;
    DWORD processCount = processBytes / sizeof(DWORD);
    if (processCount > 1024)
        processCount = 1024;
    int count = 0;
    for (DWORD i = 0; i < processCount; i++)
    {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processes[i]);
        if (process == nullptr)
            continue;
        count += CountModules(process, wanted);
        CloseHandle(process);
    }
    return count;
}

int CALLBACK SSystem::EnumFontProc(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM names)
{
    if (font == nullptr || font->lfFaceName[0] == 0)
        return 0;
    SStringArray* list = reinterpret_cast<SStringArray*>(names);
    if (list != nullptr)
        list->Add(font->lfFaceName);
    return 1;
}

int SSystem::GetFontFamilies(SStringArray* names)
{
    if (names == nullptr)
        return 0;
    int before = names->GetCount();
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return 0;
    EnumFontFamiliesA(screen, nullptr, EnumFontProc, reinterpret_cast<LPARAM>(names));
    ReleaseDC(nullptr, screen);
    return names->GetCount() - before;
}

bool SSystem::AddFont(const char* path)
{
    SString text = LowerCasePath(path);
    if (text.IsEmpty())
        return false;
    if (AddFontResourceA(text) == 0)
        return false;
    fonts.Add(text);
    return true;
}

bool SSystem::RemoveFont(const char* path)
{
    SString text = LowerCasePath(path);
    if (text.IsEmpty())
        return false;
    if (!RemoveFontResourceA(text))
        return false;
    int index = fonts.Find(text);
    if (index >= 0)
        fonts.DeleteAndRemoveAt(index, 1);
    return true;
}

int SSystem::GetFontCount() const
{
    return fonts.GetCount();
}
