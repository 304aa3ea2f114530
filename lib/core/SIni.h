#pragma once

#include "SDisk.h"
#include "SFile.h"
#include "SFileMem.h"
#include "SString.h"

// Key lines grouped under section lines in a text held in a disk file or in a
// private memory copy. Every call works on the whole text; a disk file is
// reread for every call and written back after every change.
class SIni
{
public:
    // Nothing attached.
    SIni();
    virtual ~SIni();

    SIni(const SIni&) = delete;
    SIni& operator=(const SIni&) = delete;

    // Attaches a disk file; a missing file is created empty when create is set.
    bool Open(const char* path, bool create);
    // Works on a private copy of source from its position to its end; never saved.
    bool OpenMemory(SFile* source);
    // Detaches the file or the memory copy.
    void Close();

    // The value of key in section; "" when missing or the text cannot be loaded.
    SString GetValue(const char* section, const char* key);
    // True only when the value is exactly "1".
    bool ReadBool(const char* section, const char* key);
    // The value as a number, 0 when missing.
    int ReadInt(const char* section, const char* key);
    // Adds or replaces the key line and saves a disk file; false when it cannot, or
    // when a text holds a line break or the key a '='.
    bool SetValue(const char* section, const char* key, const char* value);

    // Start of the section line in stream, -1 when none; the stream stands behind it.
    static int FindSection(SFile* stream, const char* section);
    // Start of the key line inside the section, -1 when none.
    static int FindKey(SFile* stream, const char* section, const char* key);

    // The text is a memory copy.
    bool IsMemoryMode() const { return mode == ModeMemory; }
    // The memory copy (empty unless in memory mode).
    SFileMem* GetMemory() { return &memory; }

private:
    enum Mode
    {
        ModeNone = 0,
        ModeDisk = 1,
        ModeMemory = 2,
    };

    // The text to work on: the memory copy, or the disk file loaded into loaded.
    SFileMem* LoadText(SFileMem* loaded);

    SDisk disk;
    int mode = ModeNone;
    SString path;
    SFileMem memory;
};
