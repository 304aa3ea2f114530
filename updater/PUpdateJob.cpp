#include "PUpdateJob.h"

#include "PCommandLine.h"
#include "PUpdateInstall.h"
#include "SFilePath.h"
#include "SResource.h"

namespace
{
// Pieces of the download, each one reported as progress.
const int downloadPiece = 1024;

// Deletes the temporary file however the run ends.
class TempFileGuard
{
public:
    TempFileGuard(SDisk* disk, const SString& path) : disk(disk), path(path) {}
    ~TempFileGuard()
    {
        if (!path.IsEmpty())
            disk->DeleteFile(path);
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

private:
    SDisk* disk;
    SString path;
};
}

PUpdateJob::Listener::~Listener() = default;

int PUpdateJob::_PNetwork::OnDownloadData(int total, int offset, int, const void*, SFile*, int)
{
    if (listener != nullptr)
        listener->OnProgress(total, offset);
    return DownloadWrite;
}

PUpdateJob::PUpdateJob(Listener* listener) : listener(listener)
{
}

PUpdateJob::Result PUpdateJob::Install(const char* checksum, const char* url, const char* folder,
                                       SStringArray* failed)
{
    tempPath = "";
    uint32_t expected = 0;
    if (!ParseChecksum(checksum, &expected))
        return UpdateBadChecksum;
    tempPath = disk.GetTempFileName();
    if (tempPath.IsEmpty())
        return UpdateNoTempFile;
    TempFileGuard guard(&disk, tempPath);
    {
        SFilePath file;
        if (!file.Open(tempPath, true, true, true))
            return UpdateNoTempFile;
        _PNetwork network(listener);
        if (!network.DownloadToFile(&file, url, 0, downloadPiece))
            return UpdateDownloadFailed;
    }
    if (disk.GetFileCrc32(tempPath) != expected)
        return UpdateWrongChecksum;
    SResource pack;
    if (!pack.Open(tempPath, 0))
        return UpdateNotAPack;
    PUpdateInstall install;
    if (!install.Install(&pack, folder, failed))
        return UpdateInstallFailed;
    return UpdateDone;
}

PUpdateJob::Result PUpdateJob::Run(const char* checksum, const char* url, const char* folder, const char* program,
                                   SStringArray* failed)
{
    Result result = Install(checksum, url, folder, failed);
    // After a failure the folder is as it was, so the old program can carry on.
    if (program != nullptr && program[0] != 0)
        disk.Run(program, nullptr, false, false, SW_SHOWNORMAL);
    return result;
}
