#pragma once
// The questions and notices of the playlists, the book and the cover commands.
// A test run answers them through MELVORA_LIBRARY_ANSWER ("yes" or "no"; notices
// are then acknowledged at once) so that no message box appears.
#include <windows.h>

int PLibraryPrompt(HWND owner, const char* text, const char* caption, UINT type);
