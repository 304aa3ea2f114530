#include "PPackMaker.h"

#include "PUpdateInstall.h"
#include "SFilePath.h"
#include "SPath.h"
#include "SResource.h"

namespace
{
// The update program never replaces itself while it runs.
const char* const updaterName = "Update.exe";
const int ignoreCase = 0x10000;

// The full, system-normalised form of a path, for comparing two spellings of one file.
SString FullPath(const char* path)
{
    char full[MAX_PATH + 1];
    DWORD length = GetFullPathNameA(path != nullptr ? path : "", sizeof(full), full, nullptr);
    if (length == 0 || length >= sizeof(full))
        return SString(path != nullptr ? path : "");
    return SString(full);
}
}

PPackMaker::PPackMaker() = default;

SString PPackMaker::GetPackagePath(const char* descriptorPath)
{
    SPath descriptor(descriptorPath != nullptr ? descriptorPath : "");
    if (!descriptor.IsValid())
        return SString("");
    return descriptor.GetFolderPath() + descriptor.GetTitle() + ".bin";
}

SString PPackMaker::GetMessage() const
{
    switch (result)
    {
    case MakeDone:
        return SString("");
    case MakeInvalidFolder:
        return SString("Invalid folder");
    case MakeNoFiles:
        return SString("No files");
    case MakeReadFailed:
        return SString("Cannot read the file\r\n") + failedPath;
    case MakeWriteFailed:
        return SString("Cannot write the package\r\n") + failedPath;
    case MakeDescriptorFailed:
        return SString("Cannot write the descriptor\r\n") + failedPath;
    }
    return SString("");
}

bool PPackMaker::ListFiles(const char* folder, const char* descriptorPath, SStringArray* files)
{
    SPath source;
    source.SetFolder(folder != nullptr ? folder : "");
    SString top = source.GetPath();
    if (!source.IsValid() || !disk.IsFolder(top))
        return false;
    if (top.GetAt(top.GetLength() - 1) != '\\')
        top += "\\";
    files->RemoveAll();
    files->AddFlags(ignoreCase);
    disk.Search(files, top + "*.*", SDisk::SearchRecurse | SDisk::SearchFiles);
    files->Remove(top + updaterName);
    // A package made into its own source folder would pack itself, half written.
    if (descriptorPath != nullptr && descriptorPath[0] != 0)
    {
        SString descriptor = FullPath(descriptorPath);
        SString package = FullPath(GetPackagePath(descriptorPath));
        for (int index = files->GetCount() - 1; index >= 0; index--)
        {
            SString file = FullPath(files->GetAt(index));
            if (file.CompareNoCase(descriptor) == 0 || file.CompareNoCase(package) == 0)
                files->DeleteAndRemoveAt(index);
        }
    }
    return true;
}

bool PPackMaker::WritePackage(const SString& folder, const SStringArray& files, const SString& packagePath)
{
    SPath base;
    base.SetFolder(folder);
    SResource pack;
    pack.SetBaseFolder(folder);
    const int firstComponent = base.GetComponentCount() - 1;
    for (int index = 0; index < files.GetCount(); index++)
    {
        SPath file(files.GetAt(index));
        SString name = file.JoinComponents(firstComponent);
        if (!pack.AddFile(name, 0))
        {
            result = MakeReadFailed;
            failedPath = files.GetAt(index);
            return false;
        }
    }
    SFilePath out;
    if (!out.Open(packagePath, true, true, true))
    {
        result = MakeWriteFailed;
        failedPath = packagePath;
        return false;
    }
    SString failedName;
    bool written = pack.Write(&out, true, &failedName);
    out.Close();
    if (!written)
    {
        disk.DeleteFile(packagePath);
        if (!failedName.IsEmpty())
        {
            result = MakeReadFailed;
            failedPath = base.GetFolderPath() + failedName;
        }
        else
        {
            result = MakeWriteFailed;
            failedPath = packagePath;
        }
        return false;
    }
    // The package must read back as a pack of every listed file at its full length.
    SResource check;
    SArray<int> lengths;
    bool verified = check.Open(packagePath, 0) && check.GetCount() == pack.GetCount() && check.GetLengths(&lengths);
    for (int index = 0; verified && index < check.GetCount(); index++)
    {
        verified = lengths.GetAt(index) ==
                   PUpdateInstall::GetFileLength(base.GetFolderPath() + check.GetName(index));
    }
    if (!verified)
    {
        disk.DeleteFile(packagePath);
        result = MakeWriteFailed;
        failedPath = packagePath;
        return false;
    }
    return true;
}

bool PPackMaker::WriteDescriptor(const char* path, const char* version)
{
    SFilePath file;
    if (!file.Open(path, true, true, true))
        return false;
    SString line;
    line.Format("%u", checksum);
    SString versionLine(version != nullptr ? version : "");
    bool written = file.WriteLine(versionLine) == versionLine.GetLength() + 2 &&
                   file.WriteLine(line) == line.GetLength() + 2;
    file.Close();
    if (!written)
        disk.DeleteFile(path);
    return written;
}

PPackMaker::Result PPackMaker::Make(const char* folder, const char* version, const char* descriptorPath)
{
    result = MakeDone;
    failedPath = "";
    checksum = 0;
    SStringArray files;
    if (!ListFiles(folder, descriptorPath, &files))
        return result = MakeInvalidFolder;
    if (files.GetCount() == 0)
        return result = MakeNoFiles;
    SPath source;
    source.SetFolder(folder);
    SString packagePath = GetPackagePath(descriptorPath);
    if (packagePath.IsEmpty())
    {
        failedPath = descriptorPath != nullptr ? descriptorPath : "";
        return result = MakeWriteFailed;
    }
    // A descriptor must never name a package other than the one just made.
    disk.DeleteFile(descriptorPath);
    if (!WritePackage(source.GetFolderPath(), files, packagePath))
        return result;
    checksum = disk.GetFileCrc32(packagePath);
    if (!WriteDescriptor(descriptorPath, version))
    {
        disk.DeleteFile(packagePath);
        failedPath = descriptorPath;
        return result = MakeDescriptorFailed;
    }
    return result = MakeDone;
}
