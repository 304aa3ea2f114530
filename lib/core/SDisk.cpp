#include "SDisk.h"

#include <direct.h>
#include <shlwapi.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <set>
#include <string>

#include "SFileAtomic.h"
#include "SFilePath.h"
#include "SPath.h"
#include "SRound.h"
#include "SStringArray.h"

namespace {

SShellLauncher g_realShell;
SShellLauncher* g_launcher = &g_realShell;

// Closes a search handle on every path.
class FindHandle
{
public:
    FindHandle(const char* pattern, WIN32_FIND_DATAA* data) : m_handle(FindFirstFileA(pattern, data)) {}
    ~FindHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA* data) { return FindNextFileA(m_handle, data) != FALSE; }

private:
    HANDLE m_handle;
};

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

bool IsDotEntry(const char* name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

bool IsSkipped(const WIN32_FIND_DATAA& data, int flags)
{
    if (IsDotEntry(data.cFileName))
        return true;
    return (flags & SDisk::SearchSkipHidden) && (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
}

const char* NullIfEmpty(const char* text)
{
    return text && *text ? text : nullptr;
}

} // namespace

SShellLauncher::~SShellLauncher() {}

namespace {

// "open" through the installed launcher with the shell's error boxes off; with
// process, the started process's handle (or null) is handed back to be waited on.
bool StartThroughShell(const char* file, const char* parameters, const char* folder, int showCmd,
                       HANDLE* process)
{
    SHELLEXECUTEINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | (process ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.lpVerb = "open";
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = folder;
    info.nShow = showCmd;
    if (!g_launcher->ExecuteEx(&info))
        return false;
    if (process)
        *process = info.hProcess;
    else if (info.hProcess)
        CloseHandle(info.hProcess);
    return true;
}

} // namespace

bool SShellLauncher::ExecuteEx(SHELLEXECUTEINFOA* info)
{
    return ShellExecuteExA(info) != FALSE;
}

SDisk::SDisk() : m_keepSeparator(true)
{
    m_path[0] = 0;
}

SDisk::~SDisk() {}

SShellLauncher* SDisk::SetShellLauncher(SShellLauncher* launcher)
{
    SShellLauncher* previous = g_launcher;
    g_launcher = launcher ? launcher : &g_realShell;
    return previous == &g_realShell ? nullptr : previous;
}

bool SDisk::SetKeepSeparator(bool keep)
{
    bool previous = m_keepSeparator;
    m_keepSeparator = keep;
    return previous;
}

bool SDisk::KeepsSeparator() const
{
    return m_keepSeparator;
}

int SDisk::GetAttributes(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !*path || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    int flags = 0;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        flags |= AttrReadOnly;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)
        flags |= AttrHidden;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM)
        flags |= AttrSystem;
    return flags;
}

bool SDisk::SetAttributes(const char* path, int flags)
{
    if (!path || !*path)
        return false;
    DWORD attributes = flags & 7;
    // Windows wants "normal" rather than no bit at all.
    return SetFileAttributesA(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool SDisk::IsHidden(const char* path)
{
    int attributes = GetAttributes(path);
    return attributes != -1 && (attributes & AttrHidden);
}

bool SDisk::Exists(const char* path)
{
    if (!path || !*path)
        return false;
    m_path[0] = 0;
    return _searchenv_s(path, "", m_path, sizeof(m_path)) == 0 && m_path[0] != 0;
}

int SDisk::GetFileSize(const char* path)
{
    if (!path || !*path)
        return -1;
    FILE* file = nullptr;
    if (fopen_s(&file, path, "rb") != 0 || !file)
        return -1;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        size = ftell(file);
    fclose(file);
    return size < 0 ? -1 : int(size);
}

bool SDisk::IsFile(const char* path)
{
    if (!path || !*path || IsSeparator(path[strlen(path) - 1]) || !Exists(path))
        return false;
    return Search(nullptr, path, SearchFiles) == 1;
}

bool SDisk::IsFolder(const char* path)
{
    if (!Exists(path))
        return false;
    SString folder(path);
    folder.ReplaceChar('/', '\\');
    // A root ("C:\", "\\server\share") is not found by a search, and stripping its
    // separator would make "C:" the current folder of drive C: ask its attributes.
    bool root = PathIsRootA(folder) != FALSE;
    while (!root && folder.GetLength() > 1 && folder.GetAt(folder.GetLength() - 1) == '\\') {
        folder.TrimRight(1);
        root = PathIsRootA(folder) != FALSE;
    }
    if (root) {
        DWORD attributes = GetFileAttributesA(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return Search(nullptr, folder, SearchFolders) == 1;
}

bool SDisk::DeleteFile(const char* path)
{
    return path && *path && ::DeleteFileA(path) != FALSE;
}

bool SDisk::RenameFile(const char* oldPath, const char* newPath)
{
    if (!newPath || !*newPath || !IsFile(oldPath))
        return false;
    return rename(oldPath, newPath) == 0;
}

SString SDisk::GetTempFolder()
{
    char shortPath[MAX_PATH + 1];
    DWORD length = GetTempPathA(MAX_PATH, shortPath);
    if (length == 0 || length >= MAX_PATH)
        return SString("");
    DWORD longLength = GetLongPathNameA(shortPath, m_path, 1024);
    SString folder(longLength > 0 && longLength < 1024 ? m_path : shortPath);
    if (!m_keepSeparator && folder.GetLength() > 3 && IsSeparator(folder.GetAt(folder.GetLength() - 1)))
        folder.TrimRight(1);
    return folder;
}

SString SDisk::GetTempFileName()
{
    bool keep = SetKeepSeparator(false);
    SString folder = GetTempFolder();
    SetKeepSeparator(keep);
    if (folder.IsEmpty() || ::GetTempFileNameA(folder, "tmp", 0, m_path) == 0)
        return SString("");
    return SString(m_path);
}

bool SDisk::PassesFolderFilters(const SString& folder, int flags)
{
    if (!(flags & (SearchNoFiles | SearchWithFiles | SearchNoSubfolders | SearchWithSubfolders)))
        return true;
    int files = 0;
    int folders = 0;
    SString pattern = folder + "\\*.*";
    Search(nullptr, pattern, (flags & SearchSkipHidden) ? 14 : 6, &files, &folders);
    if ((flags & SearchNoFiles) && files > 0)
        return false;
    if ((flags & SearchWithFiles) && files == 0)
        return false;
    if ((flags & SearchNoSubfolders) && folders > 0)
        return false;
    if ((flags & SearchWithSubfolders) && folders == 0)
        return false;
    return true;
}

int SDisk::SearchOne(SStringArray* out, const SString& folderPart, const SString& namePart, bool folders,
                     bool files, int flags, int* fileCount, int* folderCount)
{
    WIN32_FIND_DATAA data;
    FindHandle find(folderPart + namePart, &data);
    if (!find.IsValid())
        return 0;
    int found = 0;
    do {
        if (IsSkipped(data, flags))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!folders || !PassesFolderFilters(folderPart + data.cFileName, flags))
                continue;
            if (out)
                out->Add(SString(data.cFileName) + "\\");
            if (folderCount)
                ++*folderCount;
        } else {
            if (!files)
                continue;
            if (out)
                out->Add(data.cFileName);
            if (fileCount)
                ++*fileCount;
        }
        ++found;
    } while (find.Next(&data));
    return found;
}

int SDisk::SearchWildcard(SStringArray* out, const SString& folderPart, const SString& namePart, bool folders,
                          bool files, int flags, int* fileCount, int* folderCount)
{
    WIN32_FIND_DATAA data;
    // "*" and "*.*" match every name: the folder is read once, not a second time for the candidates.
    const bool everyName = namePart == "*" || namePart == "*.*";
    std::set<std::string> candidates;
    if (!everyName) {
        FindHandle find(folderPart + namePart, &data);
        if (find.IsValid()) {
            do {
                if (!IsSkipped(data, flags))
                    candidates.insert(data.cFileName);
            } while (find.Next(&data));
        }
    }
    bool recurse = (flags & SearchRecurse) != 0;
    if (!everyName && candidates.empty() && !recurse)
        return 0;

    FindHandle all(folderPart + "*.*", &data);
    if (!all.IsValid())
        return 0;
    int found = 0;
    do {
        if (IsSkipped(data, flags))
            continue;
        bool candidate = everyName || candidates.erase(data.cFileName) > 0;
        SString path = folderPart + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (candidate && folders && PassesFolderFilters(path, flags)) {
                if (out)
                    out->Add(path + "\\");
                if (folderCount)
                    ++*folderCount;
                ++found;
            }
            // Junctions and symbolic links are not entered: a link loop would never end.
            if (recurse && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                found += Search(out, path + "\\" + namePart, flags, nullptr, nullptr);
        } else if (candidate && files) {
            if (out)
                out->Add(path);
            if (fileCount)
                ++*fileCount;
            ++found;
        }
    } while (all.Next(&data));
    return found;
}

int SDisk::Search(SStringArray* out, const char* pattern, int flags, int* fileCount, int* folderCount)
{
    bool folders = (flags & SearchFolders) != 0;
    bool files = (flags & SearchFiles) != 0;
    if (!pattern || !*pattern || (!folders && !files))
        return 0;
    if (folders && ((flags & (SearchNoFiles | SearchWithFiles)) == (SearchNoFiles | SearchWithFiles) ||
                    (flags & (SearchNoSubfolders | SearchWithSubfolders)) ==
                        (SearchNoSubfolders | SearchWithSubfolders)))
        folders = false;
    if (!folders && !files)
        return 0;
    if (!folders)
        flags &= ~(SearchNoFiles | SearchWithFiles | SearchNoSubfolders | SearchWithSubfolders);

    SString text(pattern);
    int split = text.GetLength() - 1;
    while (split >= 0 && !IsSeparator(text.GetAt(split)))
        --split;
    SString folderPart = text.Left(split + 1);
    SString namePart = text.Mid(split + 1);
    if (namePart.FindChar('*') >= 0)
        return SearchWildcard(out, folderPart, namePart, folders, files, flags, fileCount, folderCount);
    return SearchOne(out, folderPart, namePart, folders, files, flags, fileCount, folderCount);
}

int SDisk::FindFiles(SStringArray* out, const char* pattern, bool recursive, bool folders, bool files,
                     bool emptyFoldersOnly, bool includeHidden)
{
    int flags = 0;
    if (recursive)
        flags |= SearchRecurse;
    if (folders)
        flags |= SearchFolders;
    if (files)
        flags |= SearchFiles;
    if (emptyFoldersOnly)
        flags |= SearchNoFiles | SearchNoSubfolders;
    if (!includeHidden)
        flags |= SearchSkipHidden;
    return Search(out, pattern, flags);
}

SString SDisk::GetUniqueFileName(const char* folder, const char* title, const char* extension)
{
    if (!IsFolder(folder))
        return SString("");
    SString ext("");
    if (extension && *extension) {
        ext.AppendChar('.');
        ext.Append(extension);
    }
    SString base(folder);
    // Whatever the option, the title goes into the folder, never onto its name.
    if (!IsSeparator(base.GetAt(base.GetLength() - 1)))
        base.AppendChar('\\');
    base.Append(title ? title : "");
    SString name = base + ext;
    if (!Exists(name))
        return name;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        int number = SRound::Truncate(double(rand()) / 32768.0 * 1000000.0);
        name = base + IntToString(number) + ext;
        if (!Exists(name))
            return name;
    }
    return SString("");
}

bool SDisk::CreateFolder(const char* path, bool createParents)
{
    if (!path || !*path)
        return false;
    SPath folder;
    folder.SetFolder(path);
    if (!folder.IsSubfolder())
        return false;
    if (IsFolder(folder.GetPath()))
        return true;
    folder.StripTrailingSeparator(true);
    SString target = folder.GetPath();
    if (_mkdir(target) == 0)
        return true;
    if (errno != ENOENT || !createParents)
        return false;
    SPath parent;
    parent.SetFolder(folder.GetParent());
    if (!parent.IsSubfolder() || !CreateFolder(parent.GetPath(), true))
        return false;
    return _mkdir(target) == 0;
}

bool SDisk::CreateFile(const char* path, bool overwrite, bool createFolders, int resourceId)
{
    if (!path || !*path)
        return false;
    if (createFolders)
        CreateFolder(SPath(path).GetFolderPath(), true);
    if (!overwrite && IsFile(path))
        return false;
    SFileAtomic file;
    if (!file.Open(path))
        return false;
    // A missing resource must not pass for a created file.
    if (resourceId != 0 && !file.GetFile()->WriteResource("BINARY", resourceId, GetModuleHandleA(nullptr)))
        return false;
    return file.Commit();
}

bool SDisk::Delete(const char* path, HWND owner, bool showUi, bool confirm)
{
    SPath target(path);
    // Only files and folders below a root go to the bin: never a whole drive or share.
    if (!target.IsValid() || target.IsUrlPath() || (!target.IsFile() && !target.IsSubfolder()))
        return false;
    target.StripTrailingSeparator(true);
    SString text = target.GetPath();
    int length = text.GetLength();
    // The shell reads a list of names ended by two NUL bytes.
    char* from = text.SetLength(length + 1);
    if (!from)
        return false;
    from[length] = 0;

    SHFILEOPSTRUCTA operation;
    memset(&operation, 0, sizeof(operation));
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from;
    operation.fFlags = FOF_ALLOWUNDO;
    if (!showUi)
        operation.fFlags |= FOF_SILENT | FOF_NOERRORUI;
    if (!confirm)
        operation.fFlags |= FOF_NOCONFIRMATION;
    if (SHFileOperationA(&operation) != 0)
        return false;
    return !operation.fAnyOperationsAborted;
}

bool SDisk::OpenFolder(const char* path, int showCmd)
{
    if (!IsFolder(path))
        return false;
    return StartThroughShell(path, nullptr, nullptr, showCmd, nullptr);
}

bool SDisk::Run(const char* file, const char* parameters, bool wait, bool inFileFolder, int showCmd)
{
    if (!file || !*file)
        return false;
    SString folder("");
    if (inFileFolder)
        folder = SPath(file).GetFolderPath();
    HANDLE process = nullptr;
    if (!StartThroughShell(file, NullIfEmpty(parameters), NullIfEmpty(folder), showCmd, wait ? &process : nullptr))
        return false;
    if (process) {
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    return true;
}
