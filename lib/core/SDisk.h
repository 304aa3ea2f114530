#pragma once

#include <windows.h>
#include <shellapi.h>

#include "SString.h"

class SStringArray;

// Starts programs and documents through the shell. SDisk goes through the
// installed launcher, so that a test can see what would be started without
// starting anything.
class SShellLauncher
{
public:
    virtual ~SShellLauncher();
    // ShellExecuteExA; true on success. Every start of the library comes here with
    // SEE_MASK_FLAG_NO_UI, so a failure shows nothing and reports false.
    virtual bool ExecuteEx(SHELLEXECUTEINFOA* info);
};

// File system and shell toolbox: attributes, existence tests, sizes, temporary
// names, searches, unique names, folders, the recycle bin, renaming, starting
// programs, files from resources and stored (uncompressed) ZIP archives.
// One object serves one thread at a time.
class SDisk
{
public:
    // Attribute bits of GetAttributes and SetAttributes.
    enum { AttrReadOnly = 1, AttrHidden = 2, AttrSystem = 4 };
    // Search flags.
    enum {
        SearchRecurse = 1,
        SearchFolders = 2,
        SearchFiles = 4,
        SearchSkipHidden = 8,
        SearchNoFiles = 16,
        SearchWithFiles = 32,
        SearchNoSubfolders = 64,
        SearchWithSubfolders = 128
    };

    SDisk();
    virtual ~SDisk();

    // Installs the launcher behind Run and OpenFolder (null: the real shell); returns the previous one.
    static SShellLauncher* SetShellLauncher(SShellLauncher* launcher);

    // Whether returned folder paths end with '\'; returns the previous value.
    bool SetKeepSeparator(bool keep);
    // Whether returned folder paths end with '\'.
    bool KeepsSeparator() const;

    // Read-only, hidden and system bits (1, 2, 4); -1 when the path is missing.
    int GetAttributes(const char* path);
    // Sets the read-only, hidden and system bits.
    bool SetAttributes(const char* path, int flags);
    // The path exists and is hidden.
    bool IsHidden(const char* path);
    // A file or folder of that name exists (relative names against the current folder).
    bool Exists(const char* path);
    // Size in bytes; -1 when the file cannot be opened.
    int GetFileSize(const char* path);
    // CRC-32 of the whole file (the streams' CRC-32); 0 when it cannot be read.
    uint32_t GetFileCrc32(const char* path);
    // An existing file (never a path ending with a separator).
    bool IsFile(const char* path);
    // An existing folder, with or without its trailing separator; a drive root counts.
    bool IsFolder(const char* path);
    // Deletes a file for good (not to the recycle bin).
    bool DeleteFile(const char* path);
    // Renames an existing file.
    bool RenameFile(const char* oldPath, const char* newPath);
    // The system temporary folder, long form.
    SString GetTempFolder();
    // Creates a new empty temporary file ("tmp" prefix) and returns its path; "" on failure.
    SString GetTempFileName();
    // Lists files and folders matching the pattern (see the search flags); counts are added to.
    int Search(SStringArray* out, const char* pattern, int flags, int* fileCount = nullptr,
               int* folderCount = nullptr);
    // Search with the flags spelled out.
    int FindFiles(SStringArray* out, const char* pattern, bool recursive, bool folders, bool files,
                  bool emptyFoldersOnly, bool includeHidden);
    // folder + title + extension, with a random number after the title when taken; "" when the folder is missing.
    SString GetUniqueFileName(const char* folder, const char* title, const char* extension);
    // Creates a folder below a root, and its missing parents when asked; true when it exists afterwards.
    bool CreateFolder(const char* path, bool createParents);
    // Creates an empty file, or one holding the program's "BINARY" resource resourceId; a
    // file that is overwritten keeps its old content when the new one cannot be written.
    bool CreateFile(const char* path, bool overwrite, bool createFolders, int resourceId = 0);
    // Moves a file or folder to the recycle bin.
    bool Delete(const char* path, HWND owner = nullptr, bool showUi = false, bool confirm = false);
    // Opens an existing folder in the shell.
    bool OpenFolder(const char* path, int showCmd = SW_SHOWNORMAL);
    // Starts a program or opens a document, waiting for the program's end when asked.
    bool Run(const char* file, const char* parameters = nullptr, bool wait = false, bool inFileFolder = false,
             int showCmd = SW_SHOWNORMAL);
    // A show command passed in the wait flag's place would silently become a flag.
    bool Run(const char* file, const char* parameters, bool inFileFolder, int showCmd) = delete;
    // Writes the files into a stored ZIP archive, entries named by their path components from
    // firstComponent on joined with '/'; on any failure the result is false and zipPath is as
    // it was before (no archive, or the old file byte for byte).
    bool CreateZip(const char* zipPath, SStringArray* files, int firstComponent);

private:
    bool PassesFolderFilters(const SString& folder, int flags);
    int SearchOne(SStringArray* out, const SString& folderPart, const SString& namePart, bool folders,
                  bool files, int flags, int* fileCount, int* folderCount);
    int SearchWildcard(SStringArray* out, const SString& folderPart, const SString& namePart, bool folders,
                       bool files, int flags, int* fileCount, int* folderCount);

    char m_path[1025];
    bool m_keepSeparator;
};
