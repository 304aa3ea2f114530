// Stands in for the update program in the end-to-end tests: writes the command
// line it was started with to "update-args.txt" beside itself, and ends.
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    char* slash = strrchr(path, '\\');
    if (!slash)
        return 1;
    strcpy(slash + 1, "update-args.txt");
    FILE* out = fopen(path, "wb");
    if (!out)
        return 1;
    fputs(GetCommandLineA(), out);
    fclose(out);
    return 0;
}
