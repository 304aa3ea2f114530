#include <gtest/gtest.h>
#include <windows.h>
#include <dsound.h>
#include <string.h>

#include "SLibrary.h"
#include "SWnd.h"
#include "SWndApp.h"
#include "SWndThreadRecord.h"

namespace
{

// Restores the real command line after a test parsed its own.
struct CommandLineScope
{
    ~CommandLineScope() { ParseCommandLine(GetCommandLineA()); }
};

// A main window that ends the message loop when it is destroyed.
class MainWnd : public SWnd
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_DESTROY)
            PostQuitMessage(3);
        return SWnd::OnMessage(msg, wParam, lParam);
    }
};

struct Counts
{
    DWORD gdi, user, handles;
};

Counts Measure()
{
    Counts counts;
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    counts.handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
    return counts;
}

void RunOneProgram()
{
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
    ASSERT_NE(GetAppWindow(), nullptr);
    ASSERT_NE(GetDefaultFont(), nullptr);
    {
        MainWnd window;
        RECT rect = {0, 0, 200, 100};
        ASSERT_TRUE(window.Create("Cycle", 0, 0, &rect, nullptr));
        PostMessageA(window.GetHandle(), WM_CLOSE, 0, 0);
        RunMessageLoop();
        EXPECT_EQ(window.GetHandle(), nullptr);
    }
    ExitLibrary();
    EXPECT_EQ(GetAppWindow(), nullptr);
    EXPECT_EQ(FindThreadRecord(0), nullptr);
}

struct WorkerResult
{
    int registered = 0;
    bool lastRefused = false;
    int unregistered = 0;
    bool windowFoundWithoutRecord = true;
};

DWORD WINAPI FillTheTable(void* parameter)
{
    WorkerResult* result = (WorkerResult*)parameter;
    SWnd window;
    window.CreateMessageWindow();
    result->windowFoundWithoutRecord = FindWndByHandle(window.GetHandle()) != nullptr;
    window.Destroy();
    while (RegisterThread())
        result->registered++;
    result->lastRefused = RegisterThread() == nullptr;
    while (UnregisterThread(0))
        result->unregistered++;
    return 0;
}

struct RacingThreads
{
    HANDLE go = nullptr;
    LONG faults = 0;
};

// Registers, finds and unregisters itself many times while other threads do the same.
DWORD WINAPI RegisterRepeatedly(void* parameter)
{
    RacingThreads* race = (RacingThreads*)parameter;
    WaitForSingleObject(race->go, 5000);
    for (int i = 0; i < 300; i++)
    {
        SWndThreadRecord* record = RegisterThread();
        SWndThreadRecord* found = FindThreadRecord(0);
        if (!record || found != record || found->GetThreadId() != GetCurrentThreadId() ||
            !UnregisterThread(0) || FindThreadRecord(0))
            InterlockedIncrement(&race->faults);
    }
    return 0;
}

struct IdleCounter
{
    int calls = 0;
    bool* runFlag = nullptr;
};

void CountIdle(void* data)
{
    IdleCounter* counter = (IdleCounter*)data;
    if (++counter->calls == 3)
        PostQuitMessage(0);
}

}

TEST(SLibrary, QuotedFolderKeepsItsBackslash)
{
    CommandLineScope scope;
    struct Case
    {
        const char* commandLine;
        int index;
        const char* expected;
    };
    const Case cases[] = {
        {"prog.exe \"C:\\some folder\\\" next", 0, "C:\\some folder\\"},
        {"prog.exe \"C:\\some folder\\\" next", 1, "next"},
        {"prog.exe \"C:\\some folder\\\\\" next", 0, "C:\\some folder\\"},
        {"prog.exe \"C:\\some folder\\\\\" next", 1, "next"},
        {"prog.exe 1200 \"http://host/p.bin\" \"C:\\Prog\\\"", 2, "C:\\Prog\\"},
        {"prog.exe /HIDE", 0, "/HIDE"},
        {"prog.exe", 0, ""},
        {"prog.exe a", 1, ""},
        {"prog.exe a", -1, ""},
    };
    for (const Case& c : cases)
    {
        ParseCommandLine(c.commandLine);
        EXPECT_EQ(GetCommandArg(c.index, true), SString(c.expected)) << c.commandLine << " " << c.index;
    }
    ParseCommandLine("\"C:\\Program Files\\Melvora\\melvora.exe\" x");
    EXPECT_EQ(GetExePath(), SString("C:\\Program Files\\Melvora\\melvora.exe"));
    EXPECT_EQ(GetCommandArgCount(), 2);
    EXPECT_EQ(GetAppFolder(), SString("C:\\Program Files\\Melvora\\"));
    ParseCommandLine("");
    EXPECT_EQ(GetCommandArg(0, true), SString(""));
}

TEST(SLibrary, ThreadTableIsBoundedAndPerThread)
{
    WorkerResult result;
    HANDLE thread = CreateThread(nullptr, 0, FillTheTable, &result, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_FALSE(result.windowFoundWithoutRecord);
    EXPECT_EQ(result.registered, 255) << "slot 0 holds the main thread";
    EXPECT_TRUE(result.lastRefused);
    EXPECT_EQ(result.unregistered, result.registered);
    ASSERT_NE(FindThreadRecord(0), nullptr);
    EXPECT_EQ(FindThreadRecord(0)->GetThreadId(), GetCurrentThreadId());
    EXPECT_EQ(FindThreadRecord(0xFFFFFFF0u), nullptr);
}

TEST(SLibrary, ThreadsRegisteringTogetherKeepTheirOwnRecords)
{
    RacingThreads race;
    race.go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(race.go, nullptr);
    HANDLE threads[16];
    int started = 0;
    for (int i = 0; i < 16; i++)
        if (HANDLE thread = CreateThread(nullptr, 0, RegisterRepeatedly, &race, 0, nullptr))
            threads[started++] = thread;
    SetEvent(race.go);
    EXPECT_EQ(started, 16);
    EXPECT_EQ(WaitForMultipleObjects(started, threads, TRUE, 20000), WAIT_OBJECT_0);
    for (int i = 0; i < started; i++)
        CloseHandle(threads[i]);
    CloseHandle(race.go);
    EXPECT_EQ(race.faults, 0);
    ASSERT_NE(FindThreadRecord(0), nullptr);
    EXPECT_EQ(FindThreadRecord(0)->GetThreadId(), GetCurrentThreadId());
}

TEST(SLibrary, MessageLoopIdlesWhileTheFlagIsClear)
{
    bool run = false;
    IdleCounter counter;
    counter.runFlag = &run;
    RunMessageLoop(&run, CountIdle, &counter);
    EXPECT_EQ(counter.calls, 3);
}

TEST(SLibrary, DialogHandlesAreListedOnce)
{
    SWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    int before = GetDialogHandleCount();
    RegisterDialogHandle(window.GetHandle());
    RegisterDialogHandle(window.GetHandle());
    RegisterDialogHandle(nullptr);
    EXPECT_EQ(GetDialogHandleCount(), before + 1);
    UnregisterDialogHandle(window.GetHandle());
    EXPECT_EQ(GetDialogHandleCount(), before);
}

TEST(SLibrary, FlushRemovesOnlyInput)
{
    SWnd window;
    RECT rect = {100, 100, 200, 200};
    ASSERT_TRUE(window.Create("Flush", 0, 0, &rect, nullptr));
    ShowWindow(window.GetHandle(), SW_SHOWNA);
    // Moves only: a click would activate the window and disturb later input tests.
    SetCursorPos(150, 150);
    mouse_event(MOUSEEVENTF_MOVE, 2, 2, 0, 0);
    mouse_event(MOUSEEVENTF_MOVE, 3, 1, 0, 0);
    PostMessageA(window.GetHandle(), WM_APP + 9, 0, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window.GetHandle(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
    FlushInputMessages();
    int input = 0, others = 0;
    for (int i = 0; i < 1000 && PeekMessageA(&message, window.GetHandle(), 0, 0, PM_REMOVE); i++)
    {
        if (message.message == WM_PAINT)
            window.ValidateRect();
        if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
            input++;
        if (message.message == WM_APP + 9)
            others++;
    }
    EXPECT_EQ(input, 0);
    EXPECT_EQ(others, 1);
}

TEST(SLibrary, DirectSoundRetriesOnlyBusyOrMissingDevices)
{
    EXPECT_TRUE(IsDirectSoundRetryError(DSERR_ALLOCATED));
    EXPECT_TRUE(IsDirectSoundRetryError(DSERR_NODRIVER));
    EXPECT_FALSE(IsDirectSoundRetryError(E_INVALIDARG));
    EXPECT_FALSE(IsDirectSoundRetryError(S_OK));
}

TEST(SLibrary, StartAndExitTwiceLeaksNothing)
{
    ExitLibrary();
    RunOneProgram();
    Counts before = Measure();
    RunOneProgram();
    Counts after = Measure();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_LE(after.handles, before.handles);
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
    EXPECT_TRUE(IsLibraryStarted());
}

// The sound and rich edit libraries cost start-up time that a program may never
// need: neither is loaded by the start-up, each comes with its first use.
TEST(SLibrary, SoundAndRichEditLibrariesLoadOnFirstUse)
{
    struct Case
    {
        const char* module;
        bool (*use)();
    };
    const Case cases[] = {
        {"dsound.dll", [] { return GetDirectSound() != nullptr && GetDirectSound() == GetDirectSound(); }},
        {"riched20.dll",
         [] {
             SWnd parent, edit;
             RECT rect = {0, 0, 200, 100};
             bool made = parent.Create("Rich edit host", 0, 0, &rect, nullptr) &&
                         edit.CreateRichEdit("text", WS_VISIBLE, 0, &rect, parent.GetHandle());
             char className[32] = "";
             if (made)
                 GetClassNameA(edit.GetHandle(), className, sizeof(className));
             edit.Destroy();
             parent.Destroy();
             return made && lstrcmpiA(className, "RichEdit20A") == 0;
         }},
    };
    ExitLibrary();
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.module);
        EXPECT_EQ(GetModuleHandleA(c.module), nullptr) << "loaded by the start-up";
        EXPECT_TRUE(c.use());
        EXPECT_NE(GetModuleHandleA(c.module), nullptr);
    }
    ExitLibrary();
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
}

TEST(SLibrary, AppIconsBecomeTheIconsOfBothWindowClassesAndLeaveNoWindowBehind)
{
    // 107 and 108 are the program's icons, linked into this test program too.
    SetAppIcons(107, 108);
    for (bool second : {false, true})
    {
        SWnd window;
        ASSERT_TRUE(window.Create("", 0, 0, nullptr, nullptr, 0, 0, GetInstance(), second));
        EXPECT_NE(GetClassLongPtrA(window.GetHandle(), GCLP_HICON), 0) << second;
        EXPECT_NE(GetClassLongPtrA(window.GetHandle(), GCLP_HICONSM), 0) << second;
        window.Destroy();
    }
    // The carrier of the second class's icons is gone again.
    EXPECT_EQ(FindWindowExA(HWND_MESSAGE, nullptr, "TAVRIN2", nullptr), nullptr);
    EXPECT_EQ(FindWindowExA(nullptr, nullptr, "TAVRIN2", nullptr), nullptr);
}

// A thread measures text on one kept memory DC of the screen's resolution, and what it
// measures there is what the screen would show.
TEST(SLibrary, TheThreadsMeasuringDCIsKeptAndMeasuresAsTheScreen)
{
    SWndThreadRecord* record = FindThreadRecord(0);
    ASSERT_NE(record, nullptr);
    HDC measure = record->GetMeasureDC();
    ASSERT_NE(measure, nullptr);
    EXPECT_EQ(measure, record->GetMeasureDC());
    EXPECT_EQ((DWORD)OBJ_MEMDC, GetObjectType(measure));

    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), GetDeviceCaps(measure, LOGPIXELSY));
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
    ASSERT_NE(font, nullptr);
    const char* text = "Night Drive - 01 Headlights";
    SIZE onScreen = {}, measured = {};
    HGDIOBJ old = SelectObject(screen, font);
    GetTextExtentPoint32A(screen, text, (int)strlen(text), &onScreen);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int saved = SaveDC(measure);
    SelectObject(measure, font);
    GetTextExtentPoint32A(measure, text, (int)strlen(text), &measured);
    RestoreDC(measure, saved);
    DeleteObject(font);
    EXPECT_GT(measured.cx, 0);
    EXPECT_EQ(onScreen.cx, measured.cx);
    EXPECT_EQ(onScreen.cy, measured.cy);
}
