#pragma once

#include "SArray.h"
#include "SDisk.h"
#include "SFile.h"
#include "SFileMem.h"
#include "SPath.h"
#include "SString.h"
#include "SStringArray.h"

// A named source of resource files: a resource pack file (many named entries,
// optionally compressed in chunks), a folder of loose files, or an open stream
// that holds a pack.
class SResource
{
public:
    // No source and no entries.
    SResource();
    // Deletes the owned source stream.
    virtual ~SResource();

    SResource(const SResource&) = delete;
    SResource& operator=(const SResource&) = delete;

    // Writes the named entry into target at its position (rewound to 0 when asked);
    // false for an unknown name, an unreadable source or a damaged entry.
    bool Extract(SFile* target, const char* entryName, bool rewind);

    // Forgets the path, the source stream and every entry.
    void Reset();
    // Resets and takes the text as the folder of loose files.
    bool SetBaseFolder(const char* folder);
    // Lists a file of the base folder by its relative name; false for a bad folder or a listed name.
    bool AddFile(const char* name, int flag);
    // Reads the entry table of the pack file at packPath, the pack starting at startOffset.
    bool Open(const char* packPath, int startOffset);
    // Takes ownership of an open stream holding a pack and reads its entry table from startOffset.
    bool OpenStream(SFile* stream, int startOffset);

    // Number of listed entries.
    int GetCount() const { return names.GetCount(); }
    // Name of entry index, "" outside the list.
    SString GetName(int index) const { return names.GetAt(index); }
    // Stored byte size of entry index, -1 outside the list or when unknown.
    int GetSize(int index) const;
    // The entries are chunked zlib streams.
    bool IsCompressed() const { return compressed; }
    // The pack file or the base folder.
    const SPath& GetBase() const { return base; }

private:
    // Reads "SRES", the flag and the entry table from stream's position.
    bool ReadTable(SFile* stream);
    // Entry index of a name, -1 when not listed.
    int FindEntry(const char* entryName) const;
    // Copies entry index of stream into target as stored (bounded by its size).
    bool CopyStored(SFile* stream, int index, SFile* target);
    // Decodes the chunked zlib entry index of stream into target.
    bool Decode(SFile* stream, int index, SFile* target);

    SDisk disk;
    SString text;
    SFileMem memory;
    SPath base;
    SFile* source = nullptr;
    bool compressed = false;
    SStringArray names;
    SArray<int> flags;
    SArray<int> offsets;
    SArray<int> sizes;
};
