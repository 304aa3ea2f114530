#include "SResource.h"
#include "SChunkCoder.h"
#include "SFilePath.h"
#include "SStreamReader.h"

#include <ctype.h>
#include <string.h>

namespace
{
const uint32_t endMarker = 0xFFFFFFFF;
// Case-insensitive name comparison of the entry list.
const int namesIgnoreCase = 0x10000;
// Longest entry name: a relative path that still fits MAX_PATH with its NUL.
const int maxNameLength = 259;

// The window through which entry tables and chunk headers are read: the headers of
// many small entries at once, and little read in vain before a skip over a large one.
const int tableWindow = 64 * 1024;
// Decoded bytes handed to the target file in one write.
const int writeBatch = 10 * SFile::kCompressedChunk;

// Reads an entry name through its NUL, refusing a name longer than a path may be or
// one cut off by the end of the stream.
bool ReadEntryName(SStreamReader* reader, SString* name)
{
    const uint8_t* data = nullptr;
    int got = reader->Peek(maxNameLength + 1, &data);
    const void* end = got > 0 ? memchr(data, 0, (size_t)got) : nullptr;
    if (end == nullptr)
        return false;
    int length = (int)(static_cast<const uint8_t*>(end) - data);
    *name = SString(reinterpret_cast<const char*>(data), length);
    reader->Skip(length + 1);
    return true;
}

// A name as the case-insensitive list compares it: letter by letter in the C library's
// case, which is what its comparison uses.
std::string FoldName(const char* name)
{
    std::string folded(name != nullptr ? name : "");
    for (char& c : folded)
        c = (char)tolower((unsigned char)c);
    return folded;
}
}

bool SResource::IsSafeName(const char* name)
{
    if (name == nullptr || name[0] == 0 || (int)strlen(name) > maxNameLength)
        return false;
    if (name[0] == '\\' || name[0] == '/' || strchr(name, ':') != nullptr)
        return false;
    const char* part = name;
    for (;;)
    {
        const char* end = part;
        while (*end != 0 && *end != '\\' && *end != '/')
        {
            // Control characters and wildcards name no file of a folder.
            if ((unsigned char)*end < 32 || strchr("*?\"<>|", *end) != nullptr)
                return false;
            end++;
        }
        int length = (int)(end - part);
        if (length == 0 || (length == 1 && part[0] == '.') || (length == 2 && part[0] == '.' && part[1] == '.'))
            return false;
        if (*end == 0)
            return true;
        part = end + 1;
    }
}

SString SResource::NormalizeName(const char* name)
{
    SString text(name != nullptr ? name : "");
    text.ReplaceChar('/', '\\');
    return text;
}

SResource::SResource()
{
    names.AddFlags(namesIgnoreCase);
}

SResource::~SResource()
{
    delete source;
    source = nullptr;
}

void SResource::Reset()
{
    base.AssignText("");
    delete source;
    source = nullptr;
    compressed = false;
    names.RemoveAll();
    flags.RemoveAll();
    offsets.RemoveAll();
    sizes.RemoveAll();
    foldedNames.clear();
}

bool SResource::SetBaseFolder(const char* folder)
{
    Reset();
    return base.SetFolder(folder) != 0;
}

bool SResource::AddFile(const char* name, int flag)
{
    if (!base.IsValid() || !base.IsSubfolder() || !IsSafeName(name))
        return false;
    return AddName(NormalizeName(name), flag, -1, -1);
}

bool SResource::AddName(const SString& name, int flag, int offset, int size)
{
    if (!foldedNames.insert(FoldName(name)).second)
        return false;
    names.Add(name);
    flags.Add(flag);
    offsets.Add(offset);
    sizes.Add(size);
    return true;
}

int SResource::GetSize(int index) const
{
    if (index < 0 || index >= sizes.GetCount())
        return -1;
    return sizes.GetAt(index);
}

bool SResource::ReadTable(SStreamReader* reader)
{
    const uint8_t* magic = nullptr;
    if (!reader->IsValid() || reader->Peek(4, &magic) != 4 || memcmp(magic, "SRES", 4) != 0)
        return false;
    reader->Skip(4);
    uint32_t flag = 0;
    if (!reader->ReadU32(&flag))
        return false;
    compressed = flag != 0;
    for (;;)
    {
        uint32_t size = 0;
        if (!reader->ReadU32(&size))
            return false;
        if (size == endMarker)
            return true;
        SString raw;
        if (!ReadEntryName(reader, &raw) || !IsSafeName(raw))
            return false;
        int offset = reader->Tell();
        // An entry whose data runs past the end of the pack is damage.
        if (size > static_cast<uint32_t>(reader->GetRemaining()))
            return false;
        // Two entries for one file would leave it to chance which one lands.
        if (!AddName(NormalizeName(raw), 0, offset, static_cast<int>(size)))
            return false;
        reader->Seek(offset + static_cast<int>(size));
    }
}

bool SResource::Open(const char* packPath, int startOffset)
{
    Reset();
    base.AssignText(packPath != nullptr ? packPath : "");
    if (!base.IsValid() || !base.IsFile())
        return false;
    SFilePath file;
    if (!file.Open(base.GetPath(), false, false, true, true))
    {
        Reset();
        return false;
    }
    if (startOffset > 0)
        file.Seek(startOffset);
    // A refused pack keeps nothing: no entry of it can be extracted afterwards.
    SStreamReader reader(&file, tableWindow);
    if (!ReadTable(&reader))
    {
        Reset();
        return false;
    }
    return true;
}

bool SResource::OpenStream(SFile* stream, int startOffset)
{
    Reset();
    if (stream == nullptr)
        return false;
    source = stream;
    source->Seek(startOffset > 0 ? startOffset : 0);
    // A refused pack keeps nothing (the stream it took over is deleted with it).
    SStreamReader reader(source, tableWindow);
    if (!ReadTable(&reader))
    {
        Reset();
        return false;
    }
    reader.SyncStream();
    return true;
}

int SResource::FindEntry(const char* entryName) const
{
    if (entryName == nullptr)
        return -1;
    int index = names.Find(entryName);
    if (index < 0 || index >= offsets.GetCount() || index >= sizes.GetCount())
        return -1;
    return index;
}

bool SResource::CopyStored(SStreamReader* reader, int index, SFile* target)
{
    int offset = offsets.GetAt(index);
    int size = sizes.GetAt(index);
    if (offset < 0 || size < 0 || offset > reader->GetSize() || size > reader->GetSize() - offset)
        return false;
    reader->Seek(offset);
    for (int left = size; left > 0;)
    {
        const uint8_t* data = nullptr;
        int got = reader->Peek(left, &data);
        if (got <= 0 || target->Write(data, got) != got)
            return false;
        reader->Skip(got);
        left -= got;
    }
    return true;
}

const uint8_t* SResource::ReadStored(SStreamReader* reader, int index, SChunkCoder* coder)
{
    int offset = offsets.GetAt(index);
    int size = sizes.GetAt(index);
    if (offset < 0 || size < 0 || offset > reader->GetSize() || size > reader->GetSize() - offset)
        return nullptr;
    reader->Seek(offset);
    // An entry the window can hold is decoded where it lies.
    const uint8_t* data = nullptr;
    if (size > 0 && size <= reader->GetWindowSize())
        return reader->Peek(size, &data) == size ? data : nullptr;
    uint8_t* stored = coder->GetEntryBuffer(size);
    if (stored == nullptr)
        return nullptr;
    if (size > 0 && reader->Read(stored, size) != size)
        return nullptr;
    return stored;
}

bool SResource::Decode(SStreamReader* reader, int index, SFile* target, SChunkCoder* coder, bool streamed)
{
    // The entry is decoded from a bounded copy, so damaged chunk headers can never
    // read into the next entry.
    const uint8_t* stored = ReadStored(reader, index, coder);
    if (stored == nullptr)
        return false;
    int size = sizes.GetAt(index);
    auto u32At = [stored](int64_t at) {
        return (uint32_t)stored[at] | ((uint32_t)stored[at + 1] << 8) | ((uint32_t)stored[at + 2] << 16) |
               ((uint32_t)stored[at + 3] << 24);
    };
    if (size < 4)
        return false;
    uint32_t chunks = u32At(0);
    if ((uint64_t)chunks * 8 > (uint64_t)(size - 4))
        return false;
    // Every chunk header is checked before a byte is decoded: the lengths must fit the
    // buffers and, together, exactly the stored size.
    int64_t at = 4;
    int64_t decodedTotal = 0;
    for (uint32_t chunk = 0; chunk < chunks; chunk++)
    {
        if (size - at < 8)
            return false;
        uint32_t rawLength = u32At(at);
        uint32_t packedLength = u32At(at + 4);
        at += 8;
        if (rawLength == 0 || rawLength > (uint32_t)SFile::kCompressedChunk ||
                packedLength > (uint32_t)SFile::kCompressedPacked || packedLength > (uint64_t)(size - at))
            return false;
        at += packedLength;
        decodedTotal += rawLength;
    }
    if (at != size || decodedTotal > 0x7FFFFFF0)
        return false;
    if (decodedTotal == 0)
        return true;
    // Streamed, the decoded chunks go to target a batch at a time (the caller removes a
    // target left half written); otherwise target sees nothing unless all decodes.
    SFileMem whole;
    int capacity = 0;
    uint8_t* out = nullptr;
    if (streamed)
    {
        capacity = decodedTotal < writeBatch ? (int)decodedTotal : writeBatch;
        out = coder->GetOutputBuffer(capacity);
    }
    else if (whole.Allocate((int)decodedTotal))
    {
        capacity = (int)decodedTotal;
        out = whole.GetBuffer();
    }
    if (out == nullptr)
        return false;
    at = 4;
    int filled = 0;
    for (uint32_t chunk = 0; chunk < chunks; chunk++)
    {
        int rawLength = (int)u32At(at);
        int packedLength = (int)u32At(at + 4);
        at += 8;
        if (filled + rawLength > capacity)
        {
            if (target->Write(out, filled) != filled)
                return false;
            filled = 0;
        }
        if (!coder->Unpack(stored + at, packedLength, out + filled, rawLength))
            return false;
        at += packedLength;
        filled += rawLength;
    }
    return filled == 0 || target->Write(out, filled) == filled;
}

bool SResource::Extract(SFile* target, const char* entryName, bool rewind)
{
    if (target == nullptr || (!base.IsValid() && source == nullptr))
        return false;
    int index = FindEntry(entryName);
    if (index < 0)
        return false;
    bool done = false;
    if (source != nullptr)
    {
        SStreamReader reader(source, tableWindow);
        done = CopyStored(&reader, index, target);
        reader.SyncStream();
    }
    else if (base.IsSubfolder())
    {
        SString name = names.GetAt(index);
        if (!IsSafeName(name))
            return false;
        SFilePath file;
        if (!file.Open(base.GetFolderPath() + name, false, false, true, true))
            return false;
        int size = file.GetSize();
        done = target->CopyFrom(&file) == size;
    }
    else
    {
        SFilePath file;
        if (!file.Open(base.GetPath(), false, false, true, true))
            return false;
        SStreamReader reader(&file, tableWindow);
        SChunkCoder coder;
        done = compressed ? Decode(&reader, index, target, &coder, false) : CopyStored(&reader, index, target);
    }
    if (done && rewind)
        target->Rewind();
    return done;
}
