#pragma once
// Addresses that the book window and the main web view hand over before they
// navigate: turned into file paths of the library.
#include <windows.h>

#include "SPath.h"
#include "SString.h"

class PLibraryLink
{
public:
    // The file path of a navigation address: a "file:" URL (Windows) or a plain DOS
    // path (Wine), percent escapes decoded ("+" stays "+"), '/' as '\'. "" for
    // anything else (web addresses, "about:", ...).
    static SString UrlToPath(const char* url);
    // The path's components from the first one below the root, joined with '\';
    // false when the path does not lie inside the root.
    static bool RelativeToRoot(const SPath& root, const char* path, SString* relative);
    // The address of a WM_COPYDATA navigation request (dwData 1, a NUL-terminated
    // text inside the data); "" for anything else.
    static SString CopyDataText(const COPYDATASTRUCT* data);
};
