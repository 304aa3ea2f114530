// Starts Update.exe the way the main program does and watches it from outside.
//   UpdateLauncher <program folder> <checksum> <package url> <hold ms>
// Starts <folder>melvora.exe /HOLD <hold ms> (the running main program), then
// "<folder>Update.exe" <checksum> "<url>" "<folder>" "<folder>melvora.exe" with exactly
// that command line, and prints what it saw: when the updater's window appeared, the
// progress positions, whether it showed "Failed." and how many paths it listed.
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <stdio.h>
#include <string>

namespace
{
struct Search
{
    DWORD process;
    HWND window;
};

BOOL CALLBACK FindUpdateWindow(HWND window, LPARAM parameter)
{
    Search* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    if (owner == search->process && strcmp(caption, "Update") == 0)
    {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

struct Children
{
    HWND progress = nullptr;
    HWND list = nullptr;
    bool failed = false;
};

BOOL CALLBACK ReadChild(HWND child, LPARAM parameter)
{
    Children* children = reinterpret_cast<Children*>(parameter);
    char className[64] = "";
    GetClassNameA(child, className, sizeof(className));
    char text[64] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (_stricmp(className, PROGRESS_CLASSA) == 0)
        children->progress = child;
    else if (_stricmp(className, "LISTBOX") == 0)
        children->list = child;
    else if (strcmp(text, "Failed.") == 0)
        children->failed = true;
    return TRUE;
}

bool Start(const std::string& program, const std::string& commandLine, PROCESS_INFORMATION* info)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    std::string line = commandLine;
    return CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          info) != FALSE;
}
}

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        printf("usage: UpdateLauncher folder checksum url holdms\n");
        return 2;
    }
    std::string folder = argv[1];
    std::string program = folder + "melvora.exe";
    std::string updater = folder + "Update.exe";
    int hold = atoi(argv[4]);
    PROCESS_INFORMATION main;
    if (hold > 0)
    {
        if (!Start(program, "\"" + program + "\" /HOLD " + argv[4], &main))
        {
            printf("result=nomain\n");
            return 1;
        }
        CloseHandle(main.hThread);
        CloseHandle(main.hProcess);
        Sleep(300);
    }
    // The main program's parameter text, after the quoted program path of the shell.
    std::string commandLine = "\"" + updater + "\" " + argv[2] + " \"" + argv[3] + "\" \"" + folder + "\" \"" +
                              program + "\"";
    DWORD started = GetTickCount();
    PROCESS_INFORMATION update;
    if (!Start(updater, commandLine, &update))
    {
        printf("result=noupdater\n");
        return 1;
    }
    CloseHandle(update.hThread);
    std::set<int> positions;
    DWORD appeared = 0;
    bool failed = false;
    int items = -1;
    bool ended = false;
    while (GetTickCount() - started < 60000)
    {
        if (WaitForSingleObject(update.hProcess, 5) == WAIT_OBJECT_0)
        {
            ended = true;
            break;
        }
        Search search = {update.dwProcessId, nullptr};
        EnumWindows(FindUpdateWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window == nullptr)
            continue;
        if (appeared == 0)
            appeared = GetTickCount() - started;
        Children children;
        EnumChildWindows(search.window, ReadChild, reinterpret_cast<LPARAM>(&children));
        DWORD_PTR position = 0;
        if (children.progress != nullptr &&
                SendMessageTimeoutA(children.progress, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 1000, &position))
            positions.insert((int)position);
        if (children.failed && !failed)
        {
            failed = true;
            DWORD_PTR count = 0;
            if (children.list != nullptr &&
                    SendMessageTimeoutA(children.list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count))
                items = (int)count;
            // The user reads the message and closes the window.
            PostMessageA(search.window, WM_CLOSE, 0, 0);
        }
    }
    CloseHandle(update.hProcess);
    printf("result=%s\n", !ended ? "timeout" : failed ? "failed" : appeared != 0 ? "done" : "nowindow");
    printf("appeared_ms=%lu\n", (unsigned long)appeared);
    printf("items=%d\n", items);
    printf("positions=");
    for (int position : positions)
        printf("%d,", position);
    printf("\n");
    fflush(stdout);
    return 0;
}
