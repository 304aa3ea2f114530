#pragma once

#include <windows.h>
#include "SString.h"
#include "SStringArray.h"

// Questions to and requests of the operating system: work area, Windows
// version, shutdown, running copies of a program and private font files.
class SSystem
{
public:
    // The call that ends the Windows session; replaceable so that tests never shut down.
    using ExitWindowsCall = BOOL (*)(UINT flags, DWORD reason);

    // An empty list of private font files.
    SSystem();
    // Removes every private font file still listed.
    ~SSystem();

    SSystem(const SSystem&) = delete;
    SSystem& operator=(const SSystem&) = delete;

    // The desktop work area; zeroed and false when it cannot be read.
    static bool GetWorkArea(RECT* area);
    // Left edge of the work area, 0 when it cannot be read.
    static int GetWorkAreaLeft();
    // Right edge of the work area, 0 when it cannot be read.
    static int GetWorkAreaRight();
    // Bottom edge of the work area, 0 when it cannot be read.
    static int GetWorkAreaBottom();
    // Width of the work area, 0 when it cannot be read.
    static int GetWorkAreaWidth();

    // Platform id, major and minor version of Windows; false when unknown.
    static bool GetVersionNumbers(int* platform, int* major, int* minor);
    // The library's code for the running Windows version (0 unknown, 255 unlisted).
    static int GetWindowsVersion();
    // The library's code for a platform id and version pair.
    static int GetVersionCode(int platform, int major, int minor);

    // Enables the shutdown privilege and shuts Windows down (forced when hung).
    static void ShutdownWindows();
    // Replaces the call that ends the session; null restores ExitWindowsEx.
    static void SetExitWindowsCall(ExitWindowsCall call);

    // Number of processes that have the file loaded; null or "" means this program's file.
    static int GetProcessCount(const char* path);
    // Number of modules of one open process whose file is path, ignoring case.
    static int CountModules(HANDLE process, const char* path);

    // Folder of this program's file, with its trailing backslash.
    static SString GetAppFolder();
    // Full path of this program's file.
    static SString GetAppPath();

    // Font-family enumeration callback: appends each face name to the SStringArray in names.
    static int CALLBACK EnumFontProc(const LOGFONTA* font, const TEXTMETRICA* metrics,
                                     DWORD type, LPARAM names);
    // Appends the font families of the screen to names; returns how many were added.
    static int GetFontFamilies(SStringArray* names);

    // Adds a font file for this program only and lists it for removal.
    bool AddFont(const char* path);
    // Removes a font file added by this program; false when it was not added.
    bool RemoveFont(const char* path);
    // Number of font files still listed.
    int GetFontCount() const;

private:
    SStringArray fonts;
};
