#pragma once
// The wait of extract mode for the main program to end before its files are replaced.
#include <windows.h>

// Waits until no process has the program file loaded, sleeping pauseMs between counts;
// true when that happened before limitMs passed since the first count.
bool WaitForProgramEnd(const char* programPath, DWORD limitMs = 10000, DWORD pauseMs = 500);
