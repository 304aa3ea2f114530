#pragma once

#include "SString.h"
#include "SStringArray.h"

// A local, UNC or URL path value, normalised and split into root, folders,
// name, title and extension. A folder path ends with its separator.
class SPath
{
public:
    enum Kind { KindInvalid = 0, KindLocal = 1, KindUnc = 2, KindUrl = 3 };

    // An empty, invalid path that keeps trailing separators.
    SPath();
    // Sets the path from the text.
    SPath(const char* text);
    // Copies all fields, the keep-separator option included.
    SPath(const SPath& other);
    virtual ~SPath();

    // Takes the text, normalises it and returns the kind (0 when invalid).
    int Set(const char* text);
    // As Set, treating the text as a folder (a '\' is appended when missing).
    int SetFolder(const char* text);
    // Takes other's path and kind; the keep-separator option stays as it is.
    int Copy(const SPath& other);
    // Copy.
    SPath& operator=(const SPath& other);
    // Set.
    SPath& AssignText(const char* text);
    // Folder texts lose their trailing separator when strip; returns the previous keep value.
    bool StripTrailingSeparator(bool strip = true);

    // False for null or for a text holding '"', '*', '<', '>', '?' or a control character.
    static bool IsValidText(const char* text);
    // True when "://" occurs at index 1 or later.
    static bool IsUrl(const char* text);
    // True when the text starts with two backslashes.
    static bool IsUnc(const char* text);

    // The kind is not 0.
    bool IsValid() const;
    // 0 invalid, 1 local, 2 UNC, 3 URL.
    int GetKind() const;
    // Kind 2.
    bool IsUncPath() const;
    // Kind 3.
    bool IsUrlPath() const;
    // Whether folder texts keep their trailing separator.
    bool KeepsSeparator() const;
    // Drive ("C:\"), server ("\\server\") or site ("http://host/") part, with its separator.
    SString GetRoot() const;
    // The file name; "" for a folder.
    SString GetName() const;
    // The name without its last extension.
    SString GetTitle() const;
    // The name from its last '.', "" when it has none.
    SString GetExtension(bool withDot = true, bool lowerCase = false) const;
    // The folders between the root and the name.
    SString GetFolder() const;
    // Root and folders: the folder that holds a file.
    SString GetFolderPath() const;
    // The whole path; a folder loses its separator when the option is off (a bare root keeps it).
    SString GetPath() const;
    // Valid and naming a file.
    bool IsFile() const;
    // Valid folder path below a root.
    bool IsSubfolder() const;
    // The folder that holds a file, or the folder above a folder; "" for a bare root.
    SString GetParent() const;
    // Name of the innermost folder.
    SString GetLastFolder(bool noSeparator = false) const;
    // Appends root, each folder with its separator and the name to out (may be null); returns folders + 2.
    int GetComponents(SStringArray* out) const;
    // What GetComponents would return.
    int GetComponentCount() const;
    // Components start .. start + count - 1 joined, every separator turned into separatorChar.
    SString JoinComponents(int start, int count = -1, bool dropName = false, char separatorChar = '\\') const;
    // Same kind and the same components, ignoring letter case.
    bool IsSame(const SPath& other) const;

private:
    char Separator() const;
    int RootLength() const;
    int LastSeparator() const;
    SString FolderWithSeparator() const;

    bool m_keepSeparator;
    SString m_given;
    SString m_full;
    int m_kind;
};
