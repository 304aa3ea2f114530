#include <winsock2.h>

#include "SLibrary.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <mmsystem.h>
#include <dsound.h>
#include <gdiplus.h>
#include <stdlib.h>

#include "SArray.h"
#include "SCursor.h"
#include "SDll.h"
#include "SDraw.h"
#include "SIdentifiants.h"
#include "SImage.h"
#include "SKeyboard.h"
#include "SLocale.h"
#include "SPath.h"
#include "SStringArray.h"
#include "STimer.h"
#include "SWnd.h"
#include "SWndApp.h"
#include "SWndThreadRecord.h"

namespace
{

const int kThreadSlots = 256;
const int kFontCount = 6;
// The non-client metrics record as Windows 2000 to XP know it (no iPaddedBorderWidth).
const UINT kNonClientMetricsSize = (UINT)offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(sizeof(void*) != 4 || offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth) == 340,
              "the 32-bit record is 340 bytes");

struct LibraryState
{
    bool started = false;
    SWndThreadRecord* threads[kThreadSlots] = {};
    int showCommand = 0;
    HINSTANCE instance = nullptr;
    DWORD processId = 0;
    bool noCom = false;
    bool comStarted = false;
    bool socketsStarted = false;
    UINT findReplaceMessage = 0;
    SString exePath;
    SString appFolder;
    SStringArray arguments;
    HFONT fonts[kFontCount] = {};
    SArray<SCursor*> cursors;
    SWndApp* appWnd = nullptr;
    IDirectSound8* directSound = nullptr;
    // Asked for at start-up; the device is made by the first GetDirectSound.
    bool directSoundWanted = false;
    bool directSoundTried = false;
    ULONG_PTR gdiplusToken = 0;
    bool gdiplusStarted = false;
    SArray<HWND> dialogHandles;
    SWnd* clickWindows[6] = {};
};

LibraryState g_library;

// Worker threads register, unregister and look themselves up while other threads
// do the same: the slots are claimed and freed under this lock, so that two new
// threads never take one slot and no scan reads a record that is being deleted.
class ThreadTableLock
{
public:
    ThreadTableLock() { EnterCriticalSection(&Section()); }
    ~ThreadTableLock() { LeaveCriticalSection(&Section()); }
    ThreadTableLock(const ThreadTableLock&) = delete;
    ThreadTableLock& operator=(const ThreadTableLock&) = delete;

private:
    // Never deleted: window objects destroyed while the process exits still use the table.
    struct Holder
    {
        CRITICAL_SECTION section;
        Holder() { InitializeCriticalSection(&section); }
    };
    static CRITICAL_SECTION& Section()
    {
        static Holder holder;
        return holder.section;
    }
};

// Start-up input of GDI+: version 1, no debug callback, background thread and codecs on.
const Gdiplus::GdiplusStartupInput g_gdiplusInput(nullptr, FALSE, FALSE);

SIdentifiants g_identifiants;

void DispatchOne(MSG* message)
{
    for (int i = 0; i < g_library.dialogHandles.GetCount(); i++)
    {
        HWND dialog = g_library.dialogHandles.GetAt(i);
        if (dialog && IsDialogMessageA(dialog, message))
            return;
    }
    TranslateMessage(message);
    DispatchMessageA(message);
}

void CreateFonts()
{
    NONCLIENTMETRICSA metrics;
    memset(&metrics, 0, sizeof(metrics));
    metrics.cbSize = kNonClientMetricsSize;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
    {
        g_library.fonts[0] = CreateFontIndirectA(&metrics.lfMessageFont);
        g_library.fonts[1] = CreateFontIndirectA(&metrics.lfMenuFont);
        g_library.fonts[2] = CreateFontIndirectA(&metrics.lfStatusFont);
        g_library.fonts[3] = CreateFontIndirectA(&metrics.lfCaptionFont);
        g_library.fonts[4] = CreateFontIndirectA(&metrics.lfSmCaptionFont);
    }
    const char* face = metrics.lfMessageFont.lfFaceName[0] ? metrics.lfMessageFont.lfFaceName : "Tahoma";
    g_library.fonts[5] = CreatePointFont(nullptr, face, 8, 0);
}

// Cursors are made on first use by whichever thread asks first.
SRWLOCK g_cursorLock = SRWLOCK_INIT;

// The sound library and its device cost a start-up that most runs never use, so
// "dsound.dll" is loaded by the first caller that wants the device.
SDll g_directSoundDll;
SRWLOCK g_directSoundLock = SRWLOCK_INIT;

typedef HRESULT(WINAPI* DirectSoundCreate8Proc)(LPCGUID, IDirectSound8**, IUnknown*);

void CreateDirectSound()
{
    IDirectSound8* device = nullptr;
    if (!g_directSoundDll.IsLoaded())
        g_directSoundDll.Load("dsound.dll");
    DirectSoundCreate8Proc create = (DirectSoundCreate8Proc)(void*)g_directSoundDll.GetProc("DirectSoundCreate8");
    for (int attempt = 0; create && attempt < 10; attempt++)
    {
        HRESULT result = create(nullptr, &device, nullptr);
        if (SUCCEEDED(result) || !IsDirectSoundRetryError(result))
            break;
        device = nullptr;
        Sleep(500);
    }
    g_library.directSound = device;
    if (device)
        device->SetCooperativeLevel(GetAppWindow() ? GetAppWindow() : GetDesktopWindow(), DSSCL_PRIORITY);
}

void UnregisterWindowClasses()
{
    UnregisterClassA("TAVRIN2", g_library.instance);
    UnregisterClassA("TAVRIN", g_library.instance);
}

}

bool IsDirectSoundRetryError(HRESULT result)
{
    return result == DSERR_ALLOCATED || result == DSERR_NODRIVER;
}

void ParseCommandLine(const char* commandLine)
{
    g_library.exePath.Empty();
    g_library.appFolder.Empty();
    g_library.arguments.RemoveAll();
    if (!commandLine)
        return;
    // A backslash before a quote ends a quoted folder ("C:\dir\"); doubling it
    // keeps both the backslash and the closing quote. An even run before the
    // quote is already escaped and stays as it is.
    SString text;
    int backslashes = 0;
    for (const char* p = commandLine; *p; p++)
    {
        if (*p == '"' && backslashes % 2 == 1)
            text.AppendChar('\\');
        text.AppendChar(*p);
        backslashes = *p == '\\' ? backslashes + 1 : 0;
    }
    wchar_t* wide = text.ToWide();
    if (!wide)
        return;
    int count = 0;
    LPWSTR* items = CommandLineToArgvW(wide, &count);
    delete[] wide;
    if (!items)
        return;
    for (int i = 0; i < count; i++)
        g_library.arguments.Add(SString(items[i]));
    LocalFree(items);
    if (count > 0)
    {
        g_library.exePath = g_library.arguments.GetAt(0);
        g_library.appFolder = SPath(g_library.exePath).GetFolderPath();
    }
}

bool RegisterWindowClasses(HINSTANCE instance)
{
    ClearClickWindows();
    WNDCLASSEXA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = SWnd::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = GetCursorHandle(0);
    windowClass.lpszClassName = "TAVRIN";
    bool first = RegisterClassExA(&windowClass) != 0;
    windowClass.style |= CS_NOCLOSE;
    windowClass.lpszClassName = "TAVRIN2";
    bool second = RegisterClassExA(&windowClass) != 0;
    return first && second;
}

void InitLibraryCore(HINSTANCE instance, int showCommand, bool noCom)
{
    g_library.socketsStarted = false;
    g_library.processId = GetCurrentProcessId();
    g_library.instance = instance ? instance : GetModuleHandleA(nullptr);
    g_library.showCommand = showCommand;
    g_library.noCom = noCom;

    {
        ThreadTableLock lock;
        for (int i = 0; i < kThreadSlots; i++)
            g_library.threads[i] = nullptr;
        g_library.threads[0] = new SWndThreadRecord(GetCurrentThreadId());
    }

    InitLocale();
    // Each cursor is made when first asked for: loading them all costs a start-up
    // a dozen server round trips apiece under Wine, and most are never shown.
    g_library.cursors.RemoveAll();
    for (int kind = 0; kind < SCursor::KindCount; kind++)
        g_library.cursors.Add(nullptr);
    srand(timeGetTime());
    STimer::InitClock();
    g_library.findReplaceMessage = RegisterWindowMessageA("commdlg_FindReplace");
    ParseCommandLine(GetCommandLineA());
    CreateFonts();
    RegisterWindowClasses(g_library.instance);
    g_library.appWnd = new SWndApp;
    g_library.appWnd->Create("", 0, 0, nullptr, nullptr, 0, 0, g_library.instance);
    if (!noCom)
        g_library.comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (g_library.comStarted)
        SImage::StartDecoders();
    // "Riched20.dll" is loaded by the first rich edit window (SWnd::CreateRichEdit).
    // A library started again after a shut-down needs its key names back.
    SKeyboard keyNames;
    g_library.started = true;
}

void InitLibrary(HINSTANCE instance, int showCommand, bool useSockets, bool useDirectSound, bool noCom)
{
    InitLibraryCore(instance, showCommand, noCom);
    g_library.gdiplusStarted =
        Gdiplus::GdiplusStartup(&g_library.gdiplusToken, &g_gdiplusInput, nullptr) == Gdiplus::Ok;
    if (useSockets)
    {
        WSADATA data;
        g_library.socketsStarted = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    g_library.directSoundWanted = useDirectSound;
    g_library.directSoundTried = false;
}

void ExitLibraryCore()
{
    GetKeyNames().RemoveAll();
    g_richEditDll.Free();
    SImage::StopDecoders();
    if (g_library.comStarted)
        CoUninitialize();
    g_library.comStarted = false;
    delete g_library.appWnd;
    g_library.appWnd = nullptr;
    UnregisterWindowClasses();
    g_library.dialogHandles.RemoveAll();
    for (HFONT& font : g_library.fonts)
    {
        if (font)
            DeleteObject(font);
        font = nullptr;
    }
    g_library.exePath.Empty();
    g_library.appFolder.Empty();
    g_library.arguments.RemoveAll();
    g_library.cursors.DestroyAll();
    {
        ThreadTableLock lock;
        for (int i = 0; i < kThreadSlots; i++)
        {
            delete g_library.threads[i];
            g_library.threads[i] = nullptr;
        }
    }
    ClearClickWindows();
    g_library.processId = 0;
    g_library.instance = nullptr;
    g_library.started = false;
}

void ExitLibrary()
{
    AcquireSRWLockExclusive(&g_directSoundLock);
    if (g_library.directSound)
        g_library.directSound->Release();
    g_library.directSound = nullptr;
    g_library.directSoundWanted = false;
    g_library.directSoundTried = false;
    g_directSoundDll.Free();
    ReleaseSRWLockExclusive(&g_directSoundLock);
    if (g_library.socketsStarted)
        WSACleanup();
    g_library.socketsStarted = false;
    if (g_library.gdiplusStarted)
        Gdiplus::GdiplusShutdown(g_library.gdiplusToken);
    g_library.gdiplusStarted = false;
    g_library.gdiplusToken = 0;
    ExitLibraryCore();
}

bool IsLibraryStarted()
{
    return g_library.started;
}

SWndThreadRecord* RegisterThread()
{
    ThreadTableLock lock;
    for (int i = 0; i < kThreadSlots; i++)
    {
        if (!g_library.threads[i])
        {
            g_library.threads[i] = new SWndThreadRecord(GetCurrentThreadId());
            return g_library.threads[i];
        }
    }
    return nullptr;
}

bool UnregisterThread(DWORD threadId)
{
    if (!threadId)
        threadId = GetCurrentThreadId();
    ThreadTableLock lock;
    for (int i = 0; i < kThreadSlots; i++)
    {
        if (g_library.threads[i] && g_library.threads[i]->GetThreadId() == threadId)
        {
            delete g_library.threads[i];
            g_library.threads[i] = nullptr;
            return true;
        }
    }
    return false;
}

SWndThreadRecord* FindThreadRecord(DWORD threadId)
{
    if (!threadId)
        threadId = GetCurrentThreadId();
    ThreadTableLock lock;
    for (int i = 0; i < kThreadSlots; i++)
        if (g_library.threads[i] && g_library.threads[i]->GetThreadId() == threadId)
            return g_library.threads[i];
    return nullptr;
}

void RegisterDialogHandle(HWND handle)
{
    if (handle && g_library.dialogHandles.Find(handle) < 0)
        g_library.dialogHandles.Add(handle);
}

void UnregisterDialogHandle(HWND handle)
{
    int index = g_library.dialogHandles.Find(handle);
    if (index >= 0)
        g_library.dialogHandles.RemoveAt(index);
}

int GetDialogHandleCount()
{
    return g_library.dialogHandles.GetCount();
}

void RunMessageLoop(const bool* runFlag, SIdleProc idle, void* userData)
{
    MSG message;
    for (;;)
    {
        if (!runFlag || *runFlag)
        {
            if (GetMessageA(&message, nullptr, 0, 0) <= 0)
                return;
            DispatchOne(&message);
        }
        else if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
                return;
            DispatchOne(&message);
        }
        else if (idle)
            idle(userData);
    }
}

void RunModalLoop(SWnd* window, const bool* runFlag, SIdleProc idle, void* userData)
{
    MSG message;
    while (window && window->GetHandle() && window->IsModal())
    {
        bool got;
        if (!runFlag || *runFlag)
        {
            if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            {
                PostQuitMessage((int)message.wParam);
                return;
            }
            got = true;
        }
        else
            got = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
        if (!got)
        {
            if (idle)
                idle(userData);
            continue;
        }
        if (message.message == WM_QUIT)
        {
            PostQuitMessage((int)message.wParam);
            return;
        }
        if (g_library.dialogHandles.GetCount() == 0 && message.message == WM_KEYDOWN)
        {
            HWND handle = window->GetHandle();
            if (message.wParam == VK_RETURN && window->GetDefaultKey(true))
                SWnd::WindowProc(handle, WM_S_OK, 0, 1);
            else if (message.wParam == VK_ESCAPE && window->GetDefaultKey(false))
                SWnd::WindowProc(handle, WM_S_CANCEL, 0, 1);
        }
        DispatchOne(&message);
    }
}

void FlushInputMessages()
{
    MSG message;
    // Bounded: a flood of input must not keep the caller here for ever.
    for (int i = 0; i < 100000 &&
                    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | ((QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON) << 16));
         i++)
    {
        if (message.message == WM_QUIT)
        {
            PostQuitMessage((int)message.wParam);
            return;
        }
    }
}

SString GetCommandArg(int index, bool unquote)
{
    if (index < 0 || index + 1 >= g_library.arguments.GetCount())
        return SString();
    SString argument = g_library.arguments.GetAt(index + 1);
    if (unquote)
        argument.Unquote();
    return argument;
}

int GetCommandArgCount()
{
    return g_library.arguments.GetCount();
}

SString GetExePath() { return g_library.exePath; }
SString GetAppFolder() { return g_library.appFolder; }
HINSTANCE GetInstance() { return g_library.instance ? g_library.instance : GetModuleHandleA(nullptr); }
int GetShowCommand() { return g_library.showCommand; }
UINT GetFindReplaceMessage() { return g_library.findReplaceMessage; }
HFONT GetDefaultFont() { return g_library.fonts[5]; }
HFONT GetDefaultGuiFont() { return (HFONT)GetStockObject(DEFAULT_GUI_FONT); }

HFONT GetSystemFont(int index)
{
    return index >= 0 && index < 5 ? g_library.fonts[index] : nullptr;
}

HCURSOR GetCursorHandle(int number)
{
    if (number < 0 || number >= g_library.cursors.GetCount())
        return nullptr;
    AcquireSRWLockExclusive(&g_cursorLock);
    SCursor* cursor = g_library.cursors.GetAt(number);
    if (!cursor)
    {
        cursor = new SCursor(number);
        g_library.cursors.SetAt(number, cursor);
    }
    HCURSOR handle = cursor->GetHandle();
    ReleaseSRWLockExclusive(&g_cursorLock);
    return handle;
}

SWndApp* GetAppWnd() { return g_library.appWnd; }
HWND GetAppWindow() { return g_library.appWnd ? g_library.appWnd->GetHandle() : nullptr; }
IDirectSound8* GetDirectSound()
{
    AcquireSRWLockExclusive(&g_directSoundLock);
    if (g_library.directSoundWanted && !g_library.directSoundTried)
    {
        g_library.directSoundTried = true;
        CreateDirectSound();
    }
    IDirectSound8* device = g_library.directSound;
    ReleaseSRWLockExclusive(&g_directSoundLock);
    return device;
}
SIdentifiants* GetIdentifiants() { return &g_identifiants; }

void SetAppIcons(int bigId, int smallId)
{
    HICON big = LoadIconA(GetInstance(), MAKEINTRESOURCEA(bigId));
    HICON small = LoadIconA(GetInstance(), MAKEINTRESOURCEA(smallId));
    if (g_library.appWnd)
        g_library.appWnd->SetClassIcons(big, small);
    // No window of the second class lives for long: a temporary one carries its icons.
    // A message-only window will do, and costs the system no window on the display.
    SWnd window;
    if (window.Create("", 0, 0, nullptr, HWND_MESSAGE, 0, 0, GetInstance(), true))
    {
        window.SetClassIcons(big, small);
        window.Destroy();
    }
}

SWnd*& ClickWindow(int button, bool nonClient)
{
    if (button < 0 || button > 2)
        button = 0;
    return g_library.clickWindows[button * 2 + (nonClient ? 1 : 0)];
}

void ClearClickWindows()
{
    for (SWnd*& window : g_library.clickWindows)
        window = nullptr;
}

void ForgetClickWindow(SWnd* window)
{
    for (SWnd*& entry : g_library.clickWindows)
        if (entry == window)
            entry = nullptr;
}
