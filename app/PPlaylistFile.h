#pragma once
// Playlist files: the ".lst" files of the "Playlists\" folder under the library
// root, one media path relative to the root per CR LF line.
#include "SPath.h"
#include "SString.h"
#include "SStringArray.h"

class PPlaylistFile
{
public:
    // A name that makes a file directly inside the playlist folder: not empty, no
    // path separator, drive colon, wildcard or other reserved character, no
    // control character, no trailing dot or blank and no device name (CON, NUL,
    // COM1, ...), so that a playlist never leaves "Playlists\".
    static bool IsValidName(const char* name);
    // Reads the entries, trimmed of blanks and tabs, empty lines skipped; false
    // (and nothing added) when the file cannot be opened.
    static bool Read(const char* path, SStringArray* entries);
    // Writes every entry followed by CR LF, truncating the file; false when it
    // cannot be opened or a write fails.
    static bool Write(const char* path, const SStringArray& entries);
    // The entry of a full path: its components from the first one below the root.
    static SString EntryOf(const SPath& root, const char* fullPath);
};
