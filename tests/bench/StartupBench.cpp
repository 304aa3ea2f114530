// Start-up of the main program: from process start to the first painted main
// window, on the demo library and on a library of 10,000 folders, against a
// minimal Win32 program that creates and paints one window, measured in the same
// run. Not a test: `make bench` runs it (tools/bench writes the two libraries).
//
//   startup_bench            the benchmark
//   startup_bench /minimal   the baseline program: one window, painted, until closed
//
// A window counts as painted once it and every visible window inside it are shown
// and have no update region left: their first WM_PAINT has been handled.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "PStartupPhases.h"

namespace
{

const char* const kMinimalCaption = "Startup baseline";
const char* const kMainCaption = "Melvora Browser 1.0.3.0";
const char* const kSettingsKey = "Software\\Ormelin Tavrin\\Melvora Browser\\1.0";
const char* const kBackupKey = "Software\\Ormelin Tavrin\\Melvora Browser\\startup-bench-backup";
const DWORD kLimitMs = 60000;

// ------------------------------------------------------------ the baseline program

LRESULT CALLBACK MinimalProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PAINT:
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, (HBRUSH)(COLOR_WINDOW + 1));
        DrawTextA(dc, "Hello", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

int RunMinimal()
{
    // The baseline marks its entry as the program does, so that the time before the
    // entry (the process and its libraries being loaded) can be told from the rest.
    PStartupPhases::Mark("entry");
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MinimalProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "StartupBaseline";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, kMinimalCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 1024, 600, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

// ------------------------------------------------------------ watching a started program

struct Search
{
    DWORD process;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param)
{
    Search* search = (Search*)param;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process)
        return TRUE;
    // InternalGetWindowText sends no message, so a busy program cannot hold the watch up.
    WCHAR wide[128] = L"";
    InternalGetWindowText(window, wide, 128);
    char text[128] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    if (strcmp(text, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK FindUnpainted(HWND child, LPARAM param)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE))
    {
        *(bool*)param = false;
        return FALSE;
    }
    return TRUE;
}

bool IsPainted(HWND window)
{
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE))
        return false;
    bool painted = true;
    EnumChildWindows(window, FindUnpainted, (LPARAM)&painted);
    return painted;
}

// Starts the program and returns the seconds until its window with the caption is
// painted, or a negative number when it is not within the limit. The program is
// closed again and waited for either way. started receives the counter's seconds
// at the start.
double TimeToPaint(const std::string& commandLine, const char* caption, double* started = nullptr)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    const double start = BenchNow();
    if (started)
        *started = start;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    double seconds = -1;
    HWND window = nullptr;
    const DWORD began = GetTickCount();
    while (GetTickCount() - began < kLimitMs)
    {
        if (!window)
        {
            Search search = {process.dwProcessId, caption, nullptr};
            EnumWindows(FindWindowOf, (LPARAM)&search);
            window = search.found;
        }
        if (window && IsPainted(window))
        {
            seconds = BenchNow() - start;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
    {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

// ------------------------------------------------------------ the program's phases

// The program writes a line per start-up phase to the file MELVORA_STARTUP_PHASES
// names: the performance counter then and the phase's name.
struct Phase
{
    std::string name;
    double seconds; // since the start of the process
};

std::string PhasesFile()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "melvora-startup-phases.txt";
}

std::vector<Phase> ReadPhases(const std::string& path, double started)
{
    std::vector<Phase> phases;
    FILE* file = fopen(path.c_str(), "r");
    if (!file)
        return phases;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    char line[256];
    while (fgets(line, sizeof(line), file))
    {
        char* rest = nullptr;
        long long counter = strtoll(line, &rest, 10);
        if (rest == line || *rest != ' ')
            continue;
        std::string name = rest + 1;
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
            name.pop_back();
        phases.push_back({name, (double)counter / (double)frequency.QuadPart - started});
    }
    fclose(file);
    return phases;
}

void ReportPhases(const std::vector<Phase>& phases, double painted)
{
    double before = 0;
    for (const Phase& phase : phases)
    {
        printf("    %-44s at %8.2f ms   (+%7.2f ms)\n", phase.name.c_str(), phase.seconds * 1000.0,
               (phase.seconds - before) * 1000.0);
        before = phase.seconds;
    }
    if (!phases.empty())
        printf("    %-44s at %8.2f ms   (+%7.2f ms)\n", "painted, as the watcher saw it", painted * 1000.0,
               (painted - before) * 1000.0);
    fflush(stdout);
}

// Best of a few starts, each after prepare(); negative when any start failed. The
// phases of the best start go to phases when given.
template <class Prepare>
double BestTimeToPaint(const std::string& commandLine, const char* caption, int rounds, Prepare prepare,
                       std::vector<Phase>* phases = nullptr)
{
    double best = 1e30;
    const std::string phasesFile = PhasesFile();
    for (int round = 0; round < rounds; round++)
    {
        prepare();
        DeleteFileA(phasesFile.c_str());
        double started = 0;
        double seconds = TimeToPaint(commandLine, caption, &started);
        if (seconds < 0)
            return -1;
        if (seconds < best)
        {
            best = seconds;
            if (phases)
                *phases = ReadPhases(phasesFile, started);
        }
    }
    DeleteFileA(phasesFile.c_str());
    return best;
}

// ------------------------------------------------------------ settings of the runs

// The program's settings are put aside for the benchmark and put back afterwards.
class SettingsGuard
{
public:
    SettingsGuard()
    {
        HKEY backup;
        RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
        HKEY settings;
        m_saved = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &settings) == ERROR_SUCCESS;
        if (!m_saved)
            return;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kBackupKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup, nullptr) ==
            ERROR_SUCCESS)
        {
            RegCopyTreeA(settings, nullptr, backup);
            RegCloseKey(backup);
        }
        RegCloseKey(settings);
    }
    ~SettingsGuard()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        if (!m_saved)
            return;
        HKEY backup, settings;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kBackupKey, 0, KEY_READ, &backup) == ERROR_SUCCESS)
        {
            if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &settings,
                                nullptr) == ERROR_SUCCESS)
            {
                RegCopyTreeA(backup, nullptr, settings);
                RegCloseKey(settings);
            }
            RegCloseKey(backup);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
    }

private:
    bool m_saved = false;
};

// Fresh settings for a run on a library: the root folder, and an update server that
// refuses at once (a closed local port), as on a machine without network.
void PrepareSettings(const std::string& library)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY settings;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &settings, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(settings, "Folder", 0, REG_SZ, (const BYTE*)library.c_str(), (DWORD)library.size() + 1);
    const char* server = "http://127.0.0.1:9";
    RegSetValueExA(settings, "UpdateServer", 0, REG_SZ, (const BYTE*)server, (DWORD)strlen(server) + 1);
    RegCloseKey(settings);
}

std::string ModuleFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof(path));
    char* slash = strrchr(path, '\\');
    if (slash)
        slash[1] = 0;
    return path;
}

// The build folder: MELVORA_BUILD_DIR as the scripts set it (a host path), else two
// levels above this program (<build>\<arch>\tests\).
std::string BuildFolder()
{
    char text[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("MELVORA_BUILD_DIR", text, sizeof(text));
    if (length > 0 && length < sizeof(text))
    {
        std::string path = text;
        if (!path.empty() && path[0] == '/')
            path = "Z:" + path;
        for (char& c : path)
            if (c == '/')
                c = '\\';
        if (path.back() != '\\')
            path += '\\';
        return path;
    }
    return ModuleFolder() + "..\\..\\";
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ReportRun(const char* what, double seconds, const char* baselineName, double baseline)
{
    if (seconds < 0)
    {
        printf("%-48s FAILED: no painted main window within %lu s\n", what, kLimitMs / 1000);
        fflush(stdout);
        return;
    }
    BenchReport(what, seconds, baselineName, baseline);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "/minimal") == 0)
        return RunMinimal();

    const std::string build = BuildFolder();
    const std::string program = ModuleFolder() + "..\\app\\melvora.exe";
    const std::string demo = build + "demo-library\\";
    const std::string large = build + "bench-library-10000\\";
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
    {
        printf("startup: %s is missing\n", program.c_str());
        return 1;
    }

    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof(self));
    const std::string minimalLine = std::string("\"") + self + "\" /minimal";
    const std::string programLine = "\"" + program + "\"";
    const int rounds = 5;

    // Without an HTML engine Wine would offer to install one when the web view opens.
    SetEnvironmentVariableA("WINEDLLOVERRIDES", "mshtml=");

    // The program writes the time stamps of its start-up phases there.
    SetEnvironmentVariableA("MELVORA_STARTUP_PHASES", PhasesFile().c_str());

    SettingsGuard guard;
    // Warm-up: the first start of any program pays for loading Wine's own libraries.
    TimeToPaint(minimalLine, kMinimalCaption);
    // The baseline is started beside every run of the program as well (below), so
    // that a busy spell of the machine does not fall on one side only.
    std::vector<Phase> minimalPhases;
    double minimal = BestTimeToPaint(minimalLine, kMinimalCaption, rounds, [] {}, &minimalPhases);
    if (minimal < 0)
    {
        printf("startup: the baseline window was not painted\n");
        return 1;
    }

    int failures = 0;
    const struct
    {
        const char* name;
        const std::string* library;
        const char* hold;
    } runs[] = {
        {"start to painted window, demo library", &demo, nullptr},
        {"  the same without the 3 s splash hold", &demo, "0"},
        {"start to painted window, 10,000 folders", &large, nullptr},
        {"  the same without the 3 s splash hold", &large, "0"},
    };
    struct Result
    {
        const char* name;
        double seconds;
        std::vector<Phase> phases;
    };
    std::vector<Result> results;
    for (const auto& run : runs)
    {
        if (!IsFolder(*run.library))
        {
            printf("%-48s skipped: %s is missing (tools/bench writes it)\n", run.name, run.library->c_str());
            continue;
        }
        // The first-load splash stays three seconds; the hold can be shortened to show
        // the program's own share.
        SetEnvironmentVariableA("MELVORA_SPLASH_HOLD", run.hold);
        const std::string& library = *run.library;
        std::vector<Phase> phases;
        double seconds = 1e30;
        for (int round = 0; round < rounds && seconds >= 0; round++)
        {
            std::vector<Phase> baselinePhases;
            const double baseline = BestTimeToPaint(minimalLine, kMinimalCaption, 1, [] {}, &baselinePhases);
            if (baseline >= 0 && baseline < minimal)
            {
                minimal = baseline;
                minimalPhases = baselinePhases;
            }
            std::vector<Phase> roundPhases;
            const double once = BestTimeToPaint(
                programLine, kMainCaption, 1, [&library] { PrepareSettings(library); }, &roundPhases);
            if (once < 0)
                seconds = -1;
            else if (once < seconds)
            {
                seconds = once;
                phases = roundPhases;
            }
        }
        if (seconds < 0)
            failures++;
        results.push_back({run.name, seconds, phases});
    }
    printf("minimal Win32 program: create and paint one window %10.2f ms (best of all its starts)\n", minimal * 1000.0);
    ReportPhases(minimalPhases, minimal);
    for (const Result& result : results)
    {
        ReportRun(result.name, result.seconds, "minimal window", minimal);
        if (result.seconds >= 0)
            ReportPhases(result.phases, result.seconds);
    }
    SetEnvironmentVariableA("MELVORA_SPLASH_HOLD", nullptr);
    SetEnvironmentVariableA("MELVORA_STARTUP_PHASES", nullptr);
    return failures ? 1 : 0;
}
