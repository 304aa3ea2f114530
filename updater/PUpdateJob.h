#pragma once
// The extract worker's steps without a window: download the package into a temporary
// file, check its CRC-32, install it into the program folder and start the main program.
#include <stdint.h>

#include "SDisk.h"
#include "SNetwork.h"
#include "SString.h"
#include "SStringArray.h"

class PUpdateJob
{
public:
    // Told of each downloaded piece, on the thread that runs the job.
    class Listener
    {
    public:
        virtual ~Listener();
        // total: the announced size, -1 when unknown; offset: bytes before this piece.
        virtual void OnProgress(int total, int offset) = 0;
    };

    // Where a run stopped.
    enum Result
    {
        UpdateDone = 0,
        UpdateBadChecksum,
        UpdateNoTempFile,
        UpdateDownloadFailed,
        UpdateWrongChecksum,
        UpdateNotAPack,
        UpdateInstallFailed,
    };

    explicit PUpdateJob(Listener* listener = nullptr);

    // Downloads url, checks it against the checksum text (unsigned decimal) and installs
    // it into folder; the program folder paths that could not be written go to failed.
    // The temporary file is gone afterwards, whatever happened.
    Result Install(const char* checksum, const char* url, const char* folder, SStringArray* failed);
    // Install, then starts the program again: the new one after success, the old one
    // (its folder unchanged) after a failure.
    Result Run(const char* checksum, const char* url, const char* folder, const char* program,
               SStringArray* failed);
    // The temporary file of the last run ("" before one); it no longer exists afterwards.
    SString GetTempPath() const { return tempPath; }

    // The download callback: passes each piece's position on and lets it be written.
    class _PNetwork : public SNetwork
    {
    public:
        explicit _PNetwork(Listener* listener) : listener(listener) {}
        int OnDownloadData(int total, int offset, int length, const void* data, SFile* target, int user) override;

    private:
        Listener* listener;
    };

private:
    Listener* listener;
    SDisk disk;
    SString tempPath;
};
