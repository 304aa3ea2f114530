#pragma once

#include <windows.h>
#include "SString.h"

class SWnd;
class SWndApp;
class SIdentifiants;
class SWndThreadRecord;
struct IDirectSound8;

// Idle callback of the message loops: called whenever the queue is empty while
// the loop's run flag is clear.
typedef void (*SIdleProc)(void* userData);

// Whole library start-up: window side, GDI+, sockets and DirectSound.
void InitLibrary(HINSTANCE instance, int showCommand, bool useSockets, bool useDirectSound, bool noCom);
// Window side of the start-up: tables, cursors, fonts, classes, library window, COM, rich edit.
void InitLibraryCore(HINSTANCE instance, int showCommand, bool noCom);
// Whole library shut-down.
void ExitLibrary();
// Window side of the shut-down.
void ExitLibraryCore();

// Registers the calling thread in the window table; null when all 256 slots are used.
SWndThreadRecord* RegisterThread();
// Removes the record of a thread (0 = the calling thread); false when it has none.
bool UnregisterThread(DWORD threadId);
// The record of a thread (0 = the calling thread); null when none.
SWndThreadRecord* FindThreadRecord(DWORD threadId);

// Modeless dialog windows whose messages go through IsDialogMessageA first.
void RegisterDialogHandle(HWND handle);
void UnregisterDialogHandle(HWND handle);
// Number of registered modeless dialog handles.
int GetDialogHandleCount();

// Main message loop until WM_QUIT; with the run flag clear it idles between messages.
void RunMessageLoop(const bool* runFlag = nullptr, SIdleProc idle = nullptr, void* userData = nullptr);
// Modal loop of a window: until it is no longer modal, destroyed, or WM_QUIT (re-posted).
void RunModalLoop(SWnd* window, const bool* runFlag = nullptr, SIdleProc idle = nullptr,
                  void* userData = nullptr);
// Removes all waiting keyboard and mouse messages of the thread without dispatching them.
void FlushInputMessages();

// Command-line argument index (0 = first after the program path); "" when none.
SString GetCommandArg(int index, bool unquote = true);
// Number of command-line items including the program path.
int GetCommandArgCount();
// Parses a command line as the start-up does (for tests and the start-up itself).
void ParseCommandLine(const char* commandLine);

SString GetExePath();
SString GetAppFolder();
HINSTANCE GetInstance();
int GetShowCommand();
UINT GetFindReplaceMessage();
// The 8-point font of the message font's face given to every library window.
HFONT GetDefaultFont();
// GetStockObject(DEFAULT_GUI_FONT).
HFONT GetDefaultGuiFont();
// Non-client metric fonts: 0 message, 1 menu, 2 status, 3 caption, 4 small caption.
HFONT GetSystemFont(int index);
// The library cursor number 0-20; null outside.
HCURSOR GetCursorHandle(int number);
SWndApp* GetAppWnd();
HWND GetAppWindow();
// The DirectSound device; made on the first call when InitLibrary asked for it, so
// that a program that plays no sound never loads the sound library.
IDirectSound8* GetDirectSound();
SIdentifiants* GetIdentifiants();
// Loads both icons and makes them the class icons of "TAVRIN" and "TAVRIN2".
void SetAppIcons(int bigId, int smallId);
// Registers "TAVRIN" and "TAVRIN2".
bool RegisterWindowClasses(HINSTANCE instance);
// The library has been started and not yet shut down.
bool IsLibraryStarted();
// Whether the DirectSound device is retried on this error code.
bool IsDirectSoundRetryError(HRESULT result);

// Click-detection pointers: the window that last received a button-down,
// for left (0), middle (1) and right (2), client or non-client.
SWnd*& ClickWindow(int button, bool nonClient);
// Clears all six click-detection pointers.
void ClearClickWindows();
// Clears every click-detection pointer that refers to this window.
void ForgetClickWindow(SWnd* window);
