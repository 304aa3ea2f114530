#include "PStartupPhases.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

void PStartupPhases::Mark(const char* name)
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("MELVORA_STARTUP_PHASES", path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    MarkTo(path, name, now.QuadPart);
}

bool PStartupPhases::MarkTo(const char* path, const char* name, long long counter)
{
    if (!path || !*path || !name)
        return false;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A name is one word of the line: line breaks in it would start a false phase.
    char line[160];
    int used = snprintf(line, sizeof(line) - 1, "%lld ", counter);
    for (const char* c = name; *c && used < (int)sizeof(line) - 2; c++)
        line[used++] = (*c == '\r' || *c == '\n') ? ' ' : *c;
    line[used++] = '\n';
    DWORD written = 0;
    const bool ok = WriteFile(file, line, (DWORD)used, &written, nullptr) && written == (DWORD)used;
    CloseHandle(file);
    return ok;
}
