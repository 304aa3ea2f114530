#pragma once

#include "SArray.h"
#include "SDisk.h"
#include "SFile.h"
#include "SFileMem.h"
#include "SPath.h"
#include "SString.h"
#include "SStringArray.h"

class SChunkCoder;
class SFilePath;

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
    // Writes a pack of the listed files of the base folder to out from its position,
    // compressed or raw; false (out partly written, failedName set when given to the
    // entry at fault) for a bad output or base, or a listed file that cannot be read whole.
    bool Write(SFile* out, bool compress, SString* failedName = nullptr);
    // Writes every entry to a file below targetFolder, creating sub-folders; the full
    // path of each entry that could not be written is appended to failed, and a file
    // already at that path keeps its old content. Names that could leave the folder
    // refuse the whole pack before anything is written.
    bool ExtractAll(const char* targetFolder, SStringArray* failed);
    // Bytes entry index holds once extracted (decoded length of a compressed entry);
    // -1 outside the list, for an unreadable source or a damaged chunk table.
    int GetLength(int index);
    // GetLength of every entry, reading the pack once; false when any of them is unknown.
    bool GetLengths(SArray<int>* lengths);

    // A relative path that stays inside the folder it is joined to: no root, drive,
    // ':', leading separator, empty, "." or ".." component; at most 259 bytes.
    static bool IsSafeName(const char* name);
    // Entry names use '\' between folders; '/' is read as one.
    static SString NormalizeName(const char* name);

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
    // Decodes the chunked zlib entry index of stream into target, all at once or, when
    // streamed, chunk by chunk (a failure then leaves target partly written).
    bool Decode(SFile* stream, int index, SFile* target, SChunkCoder* coder, bool streamed);
    // Opens the pack file, or rewinds the attached stream; the stream to read entries from.
    SFile* OpenSource(SFilePath* file);
    // The entry's data bytes as stored, bounded by its size, in the coder's entry buffer;
    // null when they cannot be read whole.
    uint8_t* ReadStored(SFile* stream, int index, SChunkCoder* coder);
    // Extracts entry index of an open pack stream into a fresh target file, which the
    // caller removes on failure.
    bool ExtractFrom(SFile* stream, int index, SFile* target, SChunkCoder* coder);
    // The extracted length of entry index of an open pack stream; -1 when unknown.
    int LengthIn(SFile* stream, int index);
    // Appends one entry of the base folder to out; false when its file cannot be read whole.
    // A compressed entry is coded into entry (reused from entry to entry) and written whole.
    bool WriteEntry(SFile* out, const SString& name, bool compress, SChunkCoder* coder, SFileMem* entry);

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
