// Measures library browsing on a generated library of 100,000 files in 10,000
// folders: the statistics pass against a bare FindFirstFile walk of the same tree
// in the same run, the worst time a window on the UI thread takes to answer a
// message while the pass runs on its worker, and listing a folder of 5,000 files
// into the file list. Not a test: `make bench` runs it. A first argument sets
// another number of folders.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "PFileLister.h"
#include "PLibraryStats.h"
#include "SLibrary.h"
#include "SListCtrl.h"
#include "SThread.h"
#include "SWnd.h"

namespace
{

int kFolders = 10000;
const int kFilesPerFolder = 10;
const int kListedFiles = 5000;
const char* const kKinds[] = {".mp3", ".mp3", ".wma", ".mp3", ".avi", ".wax", ".jpg", ".txt", ".mp3", ".wvx"};

void MakeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

// 100 artists, each with albums, so that the folders total kFolders; every folder
// holds kFilesPerFolder files of mixed kinds.
void MakeLibrary(const std::string& root)
{
    CreateDirectoryA(root.c_str(), nullptr);
    const int artists = kFolders >= 100 ? 100 : 1;
    const int albums = kFolders / artists - 1;
    for (int a = 0; a < artists; a++)
    {
        char name[64];
        snprintf(name, sizeof(name), "Artist %03d\\", a);
        std::string artist = root + name;
        CreateDirectoryA(artist.c_str(), nullptr);
        for (int f = 0; f < kFilesPerFolder; f++)
            MakeFile(artist + "Single " + std::to_string(f) + kKinds[f]);
        for (int b = 0; b < albums; b++)
        {
            snprintf(name, sizeof(name), "Album %03d\\", b);
            std::string album = artist + name;
            CreateDirectoryA(album.c_str(), nullptr);
            for (int f = 0; f < kFilesPerFolder; f++)
                MakeFile(album + "Track " + std::to_string(f) + kKinds[f]);
        }
    }
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            const char* name = data.cFileName;
            if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0)
                continue;
            std::string path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

// The baseline: every entry of the tree visited once with FindFirstFile, nothing else.
long BareWalk(const std::string& folder)
{
    long entries = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        const char* name = data.cFileName;
        if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0)
            continue;
        entries++;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            entries += BareWalk(folder + name + "\\");
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return entries;
}

// The statistics worker as the main window runs it: the pass on the worker, the
// result taken on the owner thread.
class StatsWorker : public SThread
{
public:
    StatsWorker(const std::string& root, PStatsKeeper* keeper) : m_root(root), m_keeper(keeper), m_result(nullptr)
    {
    }
    ~StatsWorker() override
    {
        Stop(5000);
        delete m_result;
    }
    bool Begin()
    {
        delete m_result;
        m_result = new PLibraryStats;
        m_result->SetGeneration(m_keeper->BeginPass());
        done = false;
        return Start(false);
    }
    bool Run() override
    {
        const int generation = m_result->GetGeneration();
        m_result->Count(m_root.c_str());
        m_result->SetGeneration(generation);
        PostInt(0, 0);
        return false;
    }
    void OnNotify(int, const SValue&) override
    {
        m_keeper->Accept(m_result);
        m_result = nullptr;
        done = true;
    }
    std::atomic<bool> done{false};

private:
    std::string m_root;
    PStatsKeeper* m_keeper;
    PLibraryStats* m_result;
};

struct Prober
{
    HWND window;
    std::atomic<bool> stop{false};
    double worst = 0;
    long probes = 0;
};

DWORD WINAPI Probe(void* parameter)
{
    Prober* prober = (Prober*)parameter;
    while (!prober->stop)
    {
        double start = BenchNow();
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(prober->window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
        double took = BenchNow() - start;
        if (took > prober->worst)
            prober->worst = took;
        prober->probes++;
        Sleep(2);
    }
    return 0;
}

// Runs one pass on the worker while the UI thread pumps and another thread asks
// the window for answers; the worst answer time.
double WorstAnswerDuringPass(const std::string& root, double* passSeconds)
{
    SWnd window;
    RECT rect = {0, 0, 200, 100};
    window.Create("probe", WS_OVERLAPPEDWINDOW, 0, &rect, nullptr);
    PStatsKeeper keeper;
    StatsWorker worker(root, &keeper);
    Prober prober;
    prober.window = window.GetHandle();
    HANDLE thread = CreateThread(nullptr, 0, Probe, &prober, 0, nullptr);
    double start = BenchNow();
    worker.Begin();
    while (!worker.done && BenchNow() - start < 120)
    {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    *passSeconds = BenchNow() - start;
    prober.stop = true;
    // The prober's last SendMessage needs this thread to answer it.
    while (WaitForSingleObject(thread, 10) == WAIT_TIMEOUT)
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    CloseHandle(thread);
    printf("  %ld answers during the pass; %d folders counted\n", prober.probes, keeper.Get().GetFolderCount());
    return prober.worst;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && atoi(argv[1]) >= 100)
        kFolders = atoi(argv[1]);
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "melvora-browse-bench\\";
    RemoveTree(root);
    double made = BenchNow();
    MakeLibrary(root);
    printf("library of %d folders, %d files made in %.1f s\n", kFolders, kFolders * kFilesPerFolder,
           BenchNow() - made);

    long entries = 0;
    double bare = BenchBest([&] { entries = BareWalk(root); });
    PLibraryStats stats;
    SStringArray emptyIni;
    double pass = BenchBest([&] {
        emptyIni.RemoveAll();
        stats.Count(root.c_str(), &emptyIni);
    });
    printf("  %ld entries walked; %d folders, %d songs, %d videos, %d radios counted\n", entries,
           stats.GetFolderCount(), stats.GetTotalSongs(), stats.GetTotalVideos(), stats.GetTotalRadios());
    BenchReport("statistics pass (one walk, counts, sort)", pass, "bare FindFirstFile walk", bare);

    double passSeconds = 0;
    double worst = WorstAnswerDuringPass(root, &passSeconds);
    printf("  pass on the worker with the window answering: %.2f ms\n", passSeconds * 1000.0);
    BenchReportLimit("worst answer time of the window during the pass", worst, 0.050);
    RemoveTree(root);

    // A folder of 5,000 files, every tenth track with a note.
    const std::string folder = std::string(temp) + "melvora-list-bench\\";
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < kListedFiles; i++)
    {
        char name[64];
        snprintf(name, sizeof(name), "%04d Track.mp3", i);
        MakeFile(folder + name);
        if (i % 10 == 0)
        {
            snprintf(name, sizeof(name), "%04d Track.txt", i);
            MakeFile(folder + name);
        }
    }
    SWnd window;
    RECT rect = {0, 0, 400, 600};
    window.Create("list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &rect, nullptr);
    // Made as the main window makes its file list.
    SListCtrl list;
    list.SetUniformHeight(true);
    RECT listRect = {0, 0, 380, 560};
    list.Create(WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL, 0, &listRect, window.GetHandle(), 1002);
    SStringArray paths;
    int listed = 0;
    // Each phase's best round, to show where the listing spends its time.
    double collecting = 1e30, filling = 1e30, painting = 1e30;
    double listing = BenchBest([&] {
        double start = BenchNow();
        // As the main window lists a folder.
        SStringArray notes;
        PFileLister::CollectFolder(folder.c_str(), &paths, &notes);
        double collected = BenchNow();
        listed = PFileLister::Fill(&list, &paths, paths, notes);
        double filled = BenchNow();
        list.UpdateWindow();
        double painted = BenchNow();
        collecting = std::min(collecting, collected - start);
        filling = std::min(filling, filled - collected);
        painting = std::min(painting, painted - filled);
    });
    HWND plain = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL, 0, 0, 380,
                                 560, window.GetHandle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    double bareList = BenchBest([&] {
        SendMessageA(plain, WM_SETREDRAW, FALSE, 0);
        SendMessageA(plain, LB_RESETCONTENT, 0, 0);
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "*.mp3").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            do
                SendMessageA(plain, LB_ADDSTRING, 0, (LPARAM)data.cFileName);
            while (FindNextFileA(find, &data));
            FindClose(find);
        }
        SendMessageA(plain, WM_SETREDRAW, TRUE, 0);
        UpdateWindow(plain);
    });
    printf("  %d files listed; the list is owner-drawn, the bare LISTBOX holds strings\n", listed);
    printf("  phases (best of each): collecting %.2f ms, filling %.2f ms, painting %.2f ms\n", collecting * 1000.0,
           filling * 1000.0, painting * 1000.0);
    BenchReport("listing a folder of 5,000 files", listing, "bare LISTBOX fill (strings)", bareList);
    DestroyWindow(plain);
    list.Destroy();
    window.Destroy();
    RemoveTree(folder);
    ExitLibrary();
    return 0;
}
