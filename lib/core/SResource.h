#pragma once

#include <string>
#include <unordered_set>

#include "SArray.h"
#include "SDisk.h"
#include "SFile.h"
#include "SFileMem.h"
#include "SPath.h"
#include "SString.h"
#include "SStringArray.h"

class SChunkCoder;
class SFilePath;
class SStreamReader;

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
    // Reads "SRES", the flag and the entry table from the reader's position.
    bool ReadTable(SStreamReader* reader);
    // Lists a name read from a pack or added for packing; false when it is listed already.
    bool AddName(const SString& name, int flag, int offset, int size);
    // Entry index of a name, -1 when not listed.
    int FindEntry(const char* entryName) const;
    // Copies entry index into target as stored (bounded by its size).
    bool CopyStored(SStreamReader* reader, int index, SFile* target);
    // Decodes the chunked zlib entry index into target, all at once or, when streamed,
    // a few chunks at a time (a failure then leaves target partly written).
    bool Decode(SStreamReader* reader, int index, SFile* target, SChunkCoder* coder, bool streamed);
    // Opens the pack file, or takes the attached stream; the stream to read entries from.
    SFile* OpenSource(SFilePath* file);
    // The entry's data bytes as stored, bounded by its size: in the reader's window or,
    // when larger, in the coder's entry buffer; null when they cannot be read whole.
    const uint8_t* ReadStored(SStreamReader* reader, int index, SChunkCoder* coder);
    // Extracts entry index of an open pack into a fresh target file, which the caller
    // removes on failure.
    bool ExtractFrom(SStreamReader* reader, int index, SFile* target, SChunkCoder* coder);
    // The extracted length of entry index of an open pack; -1 when unknown.
    int LengthIn(SStreamReader* reader, int index);
    // Appends one entry of the base folder to out, from its bytes when they were read
    // already, else from its file; false when the file cannot be read whole. A compressed
    // entry is coded into entry (reused from entry to entry) and written whole.
    bool WriteEntry(SFile* out, const SString& name, bool compress, SChunkCoder* coder, SFileMem* entry,
                    const uint8_t* bytes, int length);

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
    // The listed names folded to one letter case as the list compares them, so that a
    // pack of thousands of entries finds a duplicate without comparing every pair.
    std::unordered_set<std::string> foldedNames;
};
