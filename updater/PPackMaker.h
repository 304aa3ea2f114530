#pragma once
// Make mode without its window: packs a folder tree into an update package (".bin")
// and writes its descriptor (".upd": the version and the package's CRC-32).
#include <stdint.h>

#include "SDisk.h"
#include "SString.h"
#include "SStringArray.h"

class PPackMaker
{
public:
    // Outcome of Make.
    enum Result
    {
        MakeDone = 0,
        MakeInvalidFolder,
        MakeNoFiles,
        MakeReadFailed,
        MakeWriteFailed,
        MakeDescriptorFailed,
    };

    PPackMaker();

    // Packs every file of the folder and its sub-folders except the top-level
    // "Update.exe" and the two output files, then writes the descriptor. On any
    // failure no package and no descriptor are left behind.
    Result Make(const char* folder, const char* version, const char* descriptorPath);
    // The files Make would pack, as full paths; false for a missing folder.
    bool ListFiles(const char* folder, const char* descriptorPath, SStringArray* files);

    // The package path that belongs to a descriptor path: same folder and title, ".bin".
    static SString GetPackagePath(const char* descriptorPath);
    // The message box text and title of a result; "" for success.
    SString GetMessage() const;
    SString GetMessageTitle() const { return SString("Error"); }
    // The file that made the last Make fail, "" when none.
    SString GetFailedPath() const { return failedPath; }
    // The package's CRC-32 written by the last successful Make.
    uint32_t GetChecksum() const { return checksum; }

private:
    // Writes and verifies the package; false with failedPath and result set.
    bool WritePackage(const SString& folder, const SStringArray& files, const SString& packagePath);
    // Writes the descriptor whole or leaves none.
    bool WriteDescriptor(const char* path, const char* version);

    SDisk disk;
    Result result = MakeDone;
    SString failedPath;
    uint32_t checksum = 0;
};
