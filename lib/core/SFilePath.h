#pragma once

#include <stdio.h>

#include "SFile.h"

// A stream over a disk file opened through the buffered C file functions. It
// can also own a temporary file that is deleted when the stream closes.
class SFilePath : public SFile
{
public:
    SFilePath();
    // Opens path at once, not shared (see Open).
    SFilePath(const char* path, bool write, bool truncate, bool read);
    ~SFilePath() override;

    // Opens a file: read+write ("w+b" with truncate, else "r+b"), read ("rb"),
    // write ("wb" with truncate, else appending "ab"); shared lets other programs
    // read and write it meanwhile.
    bool Open(const char* path, bool write, bool truncate, bool read, bool shared = false);
    // Opens a new empty temporary file for reading and writing, deleted on Close.
    bool OpenTemp();
    // The path given to Open; "" while closed or for a temporary file.
    const SString& GetPath() const { return m_path; }
    // The temporary file's path; "" unless opened by OpenTemp.
    const SString& GetTempPath() const { return m_tempPath; }
    // True while the stream owns a temporary file.
    bool IsTemporary() const { return m_temporary != 0; }
    // Hands the buffered bytes to the system, and with toDisk waits until the system
    // has them on the disk; false when the stream is closed or either step fails.
    bool Flush(bool toDisk);

    SFILE_STREAM_OPERATIONS

private:
    // The C library needs a seek or flush between writing and reading on an
    // update stream; these place one whenever the direction changes.
    void PrepareRead() const;
    void PrepareWrite() const;

    FILE* m_file;
    SString m_path;
    SString m_tempPath;
    int m_temporary;
    mutable int m_direction;
};
