#include "PUpdateInstall.h"

#include <ctype.h>

#include "SFilePath.h"
#include "SPath.h"
#include "SResource.h"

namespace
{
SString WithSeparator(const SString& folder)
{
    if (folder.IsEmpty() || folder.GetAt(folder.GetLength() - 1) == '\\')
        return folder;
    return folder + "\\";
}

// A relative name as the file system compares it: letters in one case.
std::string Folded(const SString& name)
{
    std::string folded((const char*)name);
    for (char& c : folded)
        c = (char)tolower((unsigned char)c);
    return folded;
}

// The first folder of an entry name, or the name itself.
SString FirstComponent(const SString& name)
{
    int separator = name.FindChar('\\');
    return separator < 0 ? name : name.Left(separator);
}
}

PUpdateInstall::PUpdateInstall() = default;

PUpdateInstall::~PUpdateInstall()
{
    for (int index = 0; index < replaced.GetCount(); index++)
        delete replaced.GetAt(index);
}

int PUpdateInstall::GetFileLength(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path == nullptr || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || data.nFileSizeHigh != 0 ||
            data.nFileSizeLow > 0x7FFFFFFF)
        return -1;
    return (int)data.nFileSizeLow;
}

bool PUpdateInstall::RemoveTree(const char* folder)
{
    SString base = WithSeparator(SString(folder != nullptr ? folder : ""));
    if (base.IsEmpty())
        return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(base + "*", &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            SString name(data.cFileName);
            if (name == "." || name == "..")
                continue;
            SString path = base + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            {
                RemoveTree(path);
            }
            else
            {
                SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                    RemoveDirectoryA(path);
                else
                    DeleteFileA(path);
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryA(base) != FALSE || GetFileAttributesA(base) == INVALID_FILE_ATTRIBUTES;
}

SString PUpdateInstall::MakeWorkFolder(SResource* pack, const char* purpose)
{
    for (unsigned attempt = 0; attempt < 1000; attempt++)
    {
        SString name;
        name.Format("~%s%u.%lu", purpose, attempt, (unsigned long)GetCurrentProcessId());
        bool used = false;
        for (int index = 0; index < pack->GetCount() && !used; index++)
            used = FirstComponent(pack->GetName(index)).CompareNoCase(name) == 0;
        SString folder = target + name;
        if (used || disk.Exists(folder))
            continue;
        if (CreateDirectoryA(folder, nullptr))
            return folder + "\\";
    }
    return SString("");
}

bool PUpdateInstall::CreateParents(const SString& base, const SString& path, std::set<std::string>* known,
                                   SStringArray* made)
{
    SString parent = SPath(path).GetFolderPath();
    // Folders from the base down to the file's own folder, each made when missing.
    int at = base.GetLength();
    while (at < parent.GetLength())
    {
        int next = parent.FindChar('\\', at);
        if (next < 0)
            next = parent.GetLength() - 1;
        SString folder = parent.Left(next);
        at = next + 1;
        if (known->count(std::string(folder)) != 0)
            continue;
        DWORD attributes = GetFileAttributesA(folder);
        if (attributes == INVALID_FILE_ATTRIBUTES)
        {
            if (!CreateDirectoryA(folder, nullptr))
                return false;
            if (made != nullptr)
                made->Add(folder);
        }
        else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        {
            return false;
        }
        known->insert(std::string(folder));
    }
    return true;
}

bool PUpdateInstall::Replace(const SString& name)
{
    SString path = target + name;
    // One look tells a folder in the way, an old file to keep aside, or a new file.
    DWORD attributes = GetFileAttributesA(path);
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if ((exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) ||
            !CreateParents(target, path, &targetFolders, &createdFolders))
        return false;
    _PReplaced* entry = new _PReplaced;
    entry->target = path;
    if (exists)
    {
        SString kept = keeping + name;
        // A file in use cannot be moved: it stays where it is, untouched.
        if (!CreateParents(keeping, kept, &keptFolders, nullptr) || !MoveFileExA(path, kept, 0))
        {
            delete entry;
            return false;
        }
        entry->kept = kept;
    }
    replaced.Add(entry);
    return MoveFileExA(staging + name, path, 0) != FALSE;
}

std::map<std::string, int> PUpdateInstall::ListStagedLengths(SResource* pack)
{
    std::map<std::string, int> lengths;
    std::set<std::string> listed;
    for (int index = 0; index < pack->GetCount(); index++)
    {
        SString name = pack->GetName(index);
        int separator = name.ReverseFind('\\');
        SString folder = separator < 0 ? SString("") : name.Left(separator + 1);
        std::string key = Folded(folder);
        if (!listed.insert(key).second)
            continue;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileExA(staging + folder + "*", FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do
        {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && data.nFileSizeHigh == 0 &&
                    data.nFileSizeLow <= 0x7FFFFFFF)
                lengths[key + Folded(SString(data.cFileName))] = (int)data.nFileSizeLow;
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return lengths;
}

SString PUpdateInstall::GetMissingFolder(const SString& name)
{
    // Folders from the outermost down to the entry's own; each is looked at once.
    for (int at = name.FindChar('\\'); at > 0; at = name.FindChar('\\', at + 1))
    {
        SString folder = name.Left(at);
        std::string key = Folded(folder);
        auto known = presentFolders.find(key);
        if (known == presentFolders.end())
        {
            DWORD attributes = GetFileAttributesA(target + folder);
            // A file in the way is left to the file-by-file swap, which refuses it.
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                return SString("");
            known = presentFolders.emplace(key, attributes != INVALID_FILE_ATTRIBUTES).first;
        }
        if (!known->second)
            return refusedFolders.count(key) != 0 ? SString("") : folder;
    }
    return SString("");
}

bool PUpdateInstall::IsCarried(const SString& name) const
{
    if (movedFolders.empty())
        return false;
    for (int at = name.FindChar('\\'); at > 0; at = name.FindChar('\\', at + 1))
    {
        if (movedFolders.count(Folded(name.Left(at))) != 0)
            return true;
    }
    return false;
}

bool PUpdateInstall::MoveFolder(const SString& folder)
{
    SString from = staging + folder;
    SString to = target + folder;
    if (!MoveFileExA(from, to, 0))
        return false;
    _PReplaced* entry = new _PReplaced;
    entry->target = to;
    entry->staged = from;
    replaced.Add(entry);
    return true;
}

void PUpdateInstall::RollBack()
{
    for (int index = replaced.GetCount() - 1; index >= 0; index--)
    {
        _PReplaced* entry = replaced.GetAt(index);
        if (!entry->staged.IsEmpty())
        {
            // A folder that came in whole leaves the same way, or file by file.
            if (!MoveFileExA(entry->target, entry->staged, 0))
                RemoveTree(entry->target);
            delete entry;
            continue;
        }
        // The new file goes only when the old one can take its place again.
        if (entry->kept.IsEmpty() || GetFileAttributesA(entry->kept) != INVALID_FILE_ATTRIBUTES)
        {
            SetFileAttributesA(entry->target, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(entry->target);
        }
        if (!entry->kept.IsEmpty())
            MoveFileExA(entry->kept, entry->target, 0);
        delete entry;
    }
    replaced.RemoveAll();
    for (int index = createdFolders.GetCount() - 1; index >= 0; index--)
        RemoveDirectoryA(createdFolders.GetAt(index));
    createdFolders.RemoveAll();
}

bool PUpdateInstall::Install(SResource* pack, const char* targetFolder, SStringArray* failed)
{
    SPath folderPath;
    folderPath.SetFolder(targetFolder != nullptr ? targetFolder : "");
    target = WithSeparator(folderPath.GetFolderPath());
    if (pack == nullptr || !folderPath.IsValid() || !disk.IsFolder(target))
    {
        if (failed != nullptr)
            failed->Add(targetFolder != nullptr ? targetFolder : "");
        return false;
    }
    targetFolders.clear();
    keptFolders.clear();
    presentFolders.clear();
    movedFolders.clear();
    refusedFolders.clear();
    // Unpacked on the target's own volume, the swap is a rename that cannot fail half way.
    staging = MakeWorkFolder(pack, "update");
    keeping = MakeWorkFolder(pack, "previous");
    if (staging.IsEmpty() || keeping.IsEmpty())
    {
        if (!staging.IsEmpty())
            RemoveTree(staging);
        if (!keeping.IsEmpty())
            RemoveTree(keeping);
        if (failed != nullptr)
            failed->Add(target);
        return false;
    }
    SStringArray stagedFailed;
    bool ok = pack->ExtractAll(staging, &stagedFailed);
    SStringArray faults;
    for (int index = 0; index < stagedFailed.GetCount(); index++)
    {
        SString path = stagedFailed.GetAt(index);
        if (path.Left(staging.GetLength()).CompareNoCase(staging) == 0)
            path = target + path.Mid(staging.GetLength());
        faults.Add(path);
    }
    // Each unpacked file must hold the entry's whole length before any old file moves.
    SArray<int> lengths;
    std::map<std::string, int> staged;
    if (ok)
    {
        pack->GetLengths(&lengths);
        staged = ListStagedLengths(pack);
    }
    for (int index = 0; ok && index < pack->GetCount(); index++)
    {
        SString name = pack->GetName(index);
        int length = index < lengths.GetCount() ? lengths.GetAt(index) : -1;
        // A name the listing does not show as such (the system may spell it otherwise) is looked up itself.
        auto listed = staged.find(Folded(name));
        int stagedLength = listed != staged.end() ? listed->second : GetFileLength(staging + name);
        if (length < 0 || stagedLength != length)
        {
            ok = false;
            faults.Add(target + name);
        }
    }
    for (int index = 0; ok && index < pack->GetCount(); index++)
    {
        SString name = pack->GetName(index);
        if (IsCarried(name))
            continue;
        // A folder the program lacks comes in whole; should that fail, file by file.
        SString folder = GetMissingFolder(name);
        if (!folder.IsEmpty())
        {
            if (MoveFolder(folder))
            {
                movedFolders.insert(Folded(folder));
                continue;
            }
            refusedFolders.insert(Folded(folder));
        }
        if (!Replace(name))
        {
            ok = false;
            faults.Add(target + name);
        }
    }
    if (!ok)
        RollBack();
    else
    {
        for (int index = 0; index < replaced.GetCount(); index++)
            delete replaced.GetAt(index);
        replaced.RemoveAll();
        createdFolders.RemoveAll();
    }
    RemoveTree(staging);
    RemoveTree(keeping);
    if (failed != nullptr)
    {
        for (int index = 0; index < faults.GetCount(); index++)
            failed->Add(faults.GetAt(index));
    }
    return ok;
}
