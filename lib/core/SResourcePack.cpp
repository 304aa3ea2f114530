#include "SResource.h"
#include "SChunkCoder.h"
#include "SFileAtomic.h"
#include "SFilePath.h"
#include "SFileReadAhead.h"
#include "SStreamReader.h"

#include <set>
#include <string>
#include <string.h>
#include <vector>

namespace
{
const uint32_t endMarker = 0xFFFFFFFF;
// The window through which chunk headers are read.
const int headerWindow = 64 * 1024;
// The window through which a whole pack is read entry after entry: most entries are
// decoded where they lie in it, and the pack is read in few large pieces.
const int extractWindow = 1024 * 1024;
// The files of a pack being written are read this far ahead of the one being coded;
// larger files are read as they are coded.
const int readAheadCapacity = 8 * 1024 * 1024;
const int readAheadLimit = 2 * 1024 * 1024;

// The full path of a folder's file, normalised by the system, when it lies inside that
// folder; "" otherwise (device names and trailing dots resolve elsewhere).
SString InsideFolder(const SString& folder, const SString& name)
{
    SString joined = folder + name;
    char full[MAX_PATH + 1];
    DWORD length = GetFullPathNameA(joined, sizeof(full), full, nullptr);
    if (length == 0 || length >= sizeof(full))
        return SString("");
    SString path(full);
    int folderLength = folder.GetLength();
    if (path.GetLength() <= folderLength || _strnicmp(path, folder, (size_t)folderLength) != 0)
        return SString("");
    return path;
}
}

bool SResource::WriteEntry(SFile* out, const SString& name, bool compress, SChunkCoder* coder, SFileMem* entry,
                           const uint8_t* bytes, int length)
{
    SFilePath file;
    int size = length;
    if (bytes == nullptr)
    {
        if (!file.Open(base.GetFolderPath() + name, false, false, true, true))
            return false;
        size = file.GetSize();
    }
    if (!compress)
    {
        if (out->WriteU32((uint32_t)size) != 4 || out->WriteStringZ(name) != name.GetLength() + 1)
            return false;
        if (bytes != nullptr)
            return size == 0 || out->Write(bytes, size) == size;
        return out->CopyFrom(&file, size) == size;
    }
    // The entry is coded into memory first: its stored size then goes in front of its
    // name at once, and the whole entry reaches out in one write instead of one per
    // chunk header and a seek back to the size.
    int nameLength = name.GetLength() + 1;
    entry->Seek(0);
    if (entry->WriteU32(0) != 4 || entry->WriteStringZ(name) != nameLength)
        return false;
    int stored = bytes != nullptr ? coder->WriteChunks(bytes, size, entry) : file.WriteCompressed(entry, size, 0, coder);
    // A file that changed size while it was read would not come back whole.
    if (stored < 4 || (bytes == nullptr && file.Tell() != size))
        return false;
    int entryLength = 4 + nameLength + stored;
    if (entry->Tell() != entryLength || entry->Seek(0) != 0 || entry->WriteU32((uint32_t)stored) != 4)
        return false;
    return out->Write(entry->GetBuffer(), entryLength) == entryLength;
}

bool SResource::Write(SFile* out, bool compress, SString* failedName)
{
    if (failedName != nullptr)
        *failedName = "";
    if (out == nullptr || !base.IsValid() || !base.IsSubfolder())
        return false;
    if (out->WriteText("SRES", 4) != 4 || out->WriteU32(compress ? 1 : 0) != 4)
        return false;
    // While one file is coded the next ones are opened and read.
    std::vector<std::string> paths;
    SString folder = base.GetFolderPath();
    for (int index = 0; index < names.GetCount(); index++)
        paths.push_back(std::string(folder + names.GetAt(index)));
    SFileReadAhead ahead(readAheadCapacity, readAheadLimit);
    ahead.Start(paths);
    SChunkCoder coder;
    SFileMem entry;
    for (int index = 0; index < names.GetCount(); index++)
    {
        SString name = names.GetAt(index);
        const uint8_t* bytes = nullptr;
        int length = 0;
        SFileReadAhead::Result read = ahead.Take(index, &bytes, &length);
        // A listed file that cannot be read would be missing from the installation it builds.
        if (read == SFileReadAhead::Unreadable ||
                !WriteEntry(out, name, compress, &coder, &entry, read == SFileReadAhead::Ready ? bytes : nullptr, length))
        {
            if (failedName != nullptr)
                *failedName = name;
            return false;
        }
    }
    return out->WriteU32(endMarker) == 4;
}

SFile* SResource::OpenSource(SFilePath* file)
{
    if (source != nullptr)
        return source;
    if (!base.IsValid() || !file->Open(base.GetPath(), false, false, true, true))
        return nullptr;
    return file;
}

int SResource::LengthIn(SStreamReader* reader, int index)
{
    int size = sizes.GetAt(index);
    if (size < 0 || !compressed)
        return size;
    // Only the chunk headers are read, each one checked against the entry's stored size.
    int offset = offsets.GetAt(index);
    if (offset < 0 || size < 4 || offset > reader->GetSize() || size > reader->GetSize() - offset)
        return -1;
    reader->Seek(offset);
    uint32_t chunks = 0;
    if (!reader->ReadU32(&chunks))
        return -1;
    int64_t position = 4;
    int64_t total = 0;
    for (uint32_t chunk = 0; chunk < chunks; chunk++)
    {
        if (position + 8 > size)
            return -1;
        uint32_t rawLength = 0;
        uint32_t packedLength = 0;
        if (!reader->ReadU32(&rawLength) || !reader->ReadU32(&packedLength))
            return -1;
        position += 8;
        if (rawLength > (uint32_t)SFile::kCompressedChunk || packedLength > (uint64_t)(size - position))
            return -1;
        position += packedLength;
        reader->Seek(offset + (int)position);
        total += rawLength;
    }
    return total > 0x7FFFFFFF ? -1 : (int)total;
}

int SResource::GetLength(int index)
{
    if (index < 0 || index >= names.GetCount() || index >= sizes.GetCount() || index >= offsets.GetCount())
        return -1;
    if (!compressed)
        return sizes.GetAt(index);
    SFilePath file;
    SFile* stream = OpenSource(&file);
    if (stream == nullptr)
        return -1;
    SStreamReader reader(stream, headerWindow);
    int length = reader.IsValid() ? LengthIn(&reader, index) : -1;
    reader.SyncStream();
    return length;
}

bool SResource::GetLengths(SArray<int>* lengths)
{
    if (lengths == nullptr)
        return false;
    lengths->RemoveAll();
    SFilePath file;
    SFile* stream = OpenSource(&file);
    if (stream == nullptr || names.GetCount() != sizes.GetCount() || names.GetCount() != offsets.GetCount())
        return false;
    SStreamReader reader(stream, headerWindow);
    if (!reader.IsValid())
        return false;
    bool known = true;
    for (int index = 0; index < names.GetCount(); index++)
    {
        int length = LengthIn(&reader, index);
        known = known && length >= 0;
        lengths->Add(length);
    }
    reader.SyncStream();
    return known;
}

bool SResource::ExtractFrom(SStreamReader* reader, int index, SFile* target, SChunkCoder* coder)
{
    bool done = source != nullptr ? CopyStored(reader, index, target)
                : compressed      ? Decode(reader, index, target, coder, true)
                                  : CopyStored(reader, index, target);
    if (done)
        target->Rewind();
    return done;
}

bool SResource::ExtractAll(const char* targetFolder, SStringArray* failed)
{
    if (!base.IsValid() && source == nullptr)
        return false;
    SPath target;
    if (targetFolder == nullptr || target.SetFolder(targetFolder) == 0 || !disk.IsFolder(target.GetPath()))
        return false;
    SString folder = target.GetFolderPath();
    if (folder.IsEmpty() || folder.GetAt(folder.GetLength() - 1) != '\\')
        folder += "\\";
    // A name that could write outside the folder refuses the whole pack before any
    // file is touched. The full paths found here are the ones written to below.
    bool refused = false;
    SStringArray paths;
    for (int index = 0; index < names.GetCount(); index++)
    {
        SString name = names.GetAt(index);
        SString path = IsSafeName(name) ? InsideFolder(folder, NormalizeName(name)) : SString("");
        if (path.IsEmpty())
        {
            refused = true;
            if (failed != nullptr)
                failed->Add(folder + name);
        }
        paths.Add(path);
    }
    if (refused)
        return false;
    // One open pack serves every entry, read front to back; loose files are copied one by one.
    bool looseFiles = source == nullptr && base.IsSubfolder();
    SFilePath packFile;
    SFile* stream = looseFiles ? nullptr : OpenSource(&packFile);
    if (!looseFiles && stream == nullptr)
        return false;
    SStreamReader reader(stream, extractWindow);
    if (!looseFiles && !reader.IsValid())
        return false;
    bool allWritten = true;
    SChunkCoder coder;
    std::set<std::string> readyFolders;
    for (int index = 0; index < names.GetCount(); index++)
    {
        SString name = names.GetAt(index);
        SString path = paths.GetAt(index);
        SString parent = SPath(path).GetFolderPath();
        bool written = false;
        // Each folder is looked for once; entries of one folder seldom come together.
        bool folderReady = readyFolders.count(std::string(parent)) != 0;
        if (!folderReady && (disk.Exists(parent) || disk.CreateFolder(parent, true)))
        {
            readyFolders.insert(std::string(parent));
            folderReady = true;
        }
        auto extract = [&](SFile* out) {
            return looseFiles ? Extract(out, name, true) : ExtractFrom(&reader, index, out, &coder);
        };
        // Half an entry is no file of the package. A file of that name already in the
        // folder keeps its content unless the whole entry came out; a new file is
        // written in place, since the detour through a temporary file would cost an
        // installation of thousands of files several times its time.
        if (folderReady && disk.Exists(path))
        {
            SFileAtomic file;
            written = file.Open(path) && extract(file.GetFile()) && file.Commit();
        }
        else if (folderReady)
        {
            SFilePath file;
            if (file.Open(path, true, true, true))
            {
                written = extract(&file) && file.Flush(false);
                file.Close();
                if (!written)
                    disk.DeleteFile(path);
            }
        }
        if (!written)
        {
            allWritten = false;
            if (failed != nullptr)
                failed->Add(path);
        }
    }
    reader.SyncStream();
    return allWritten;
}
