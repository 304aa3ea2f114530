// Stands in for the main program on the update road: it appends "start <size>" and
// "end <size>" (the size of its own file, which tells old and new versions apart) to the
// log named by MELVORA_ROAD_LOG, and in between either waits (/HOLD ms) or keeps a file
// open without sharing (/LOCK path ms) until the time is up or a file named like the log
// with ".release" appended appears, so that a slow machine never sees the lock end early.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{
void AppendLog(const char* event)
{
    char log[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("MELVORA_ROAD_LOG", log, sizeof(log));
    if (length == 0 || length >= sizeof(log))
        return;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    WIN32_FILE_ATTRIBUTE_DATA data;
    unsigned long size = GetFileAttributesExA(self, GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    char line[128];
    int bytes = snprintf(line, sizeof(line), "%s %lu\n", event, size);
    // Several copies may write at once: each line is one append.
    for (int attempt = 0; attempt < 100; attempt++)
    {
        HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            DWORD written = 0;
            WriteFile(file, line, (DWORD)bytes, &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(20);
    }
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    DWORD hold = 0;
    wchar_t* lockPath = nullptr;
    for (int index = 1; arguments != nullptr && index + 1 < count; index++)
    {
        if (wcscmp(arguments[index], L"/HOLD") == 0)
            hold = (DWORD)_wtoi(arguments[index + 1]);
        if (wcscmp(arguments[index], L"/LOCK") == 0 && index + 2 < count)
        {
            lockPath = arguments[index + 1];
            hold = (DWORD)_wtoi(arguments[index + 2]);
        }
    }
    AppendLog(lockPath != nullptr ? "lock" : "start");
    HANDLE locked = INVALID_HANDLE_VALUE;
    if (lockPath != nullptr)
        locked = CreateFileW(lockPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (lockPath == nullptr)
        Sleep(hold);
    else
    {
        char release[MAX_PATH];
        DWORD length = GetEnvironmentVariableA("MELVORA_ROAD_LOG", release, MAX_PATH - 8);
        if (length == 0 || length >= MAX_PATH - 8)
            Sleep(hold);
        else
        {
            strcat(release, ".release");
            for (DWORD waited = 0; waited < hold && GetFileAttributesA(release) == INVALID_FILE_ATTRIBUTES;
                 waited += 50)
                Sleep(50);
        }
    }
    if (locked != INVALID_HANDLE_VALUE)
        CloseHandle(locked);
    AppendLog(lockPath != nullptr ? "unlock" : "end");
    if (arguments != nullptr)
        LocalFree(arguments);
    return 0;
}
