#include "SResource.h"
#include "SChunkCoder.h"
#include "SFilePath.h"

#include <string.h>

namespace
{
const uint32_t endMarker = 0xFFFFFFFF;
// Case-insensitive name comparison of the entry list.
const int namesIgnoreCase = 0x10000;
// Longest entry name: a relative path that still fits MAX_PATH with its NUL.
const int maxNameLength = 259;

// Reads an entry name through its NUL in one read, refusing a name longer than a path
// may be or one cut off by the end of the stream.
bool ReadEntryName(SFile* stream, SString* name)
{
    char buffer[maxNameLength + 2];
    int start = stream->Tell();
    int got = stream->ReadBounded(buffer, maxNameLength + 1);
    const char* end = got > 0 ? static_cast<const char*>(memchr(buffer, 0, (size_t)got)) : nullptr;
    if (end == nullptr)
        return false;
    *name = SString(buffer);
    stream->Seek(start + (int)(end - buffer) + 1);
    return true;
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
}

bool SResource::SetBaseFolder(const char* folder)
{
    Reset();
    return base.SetFolder(folder) != 0;
}

bool SResource::AddFile(const char* name, int flag)
{
    if (!base.IsValid() || !base.IsSubfolder() || !IsSafeName(name) || names.Find(NormalizeName(name)) >= 0)
        return false;
    names.Add(NormalizeName(name));
    flags.Add(flag);
    offsets.Add(-1);
    sizes.Add(-1);
    return true;
}

int SResource::GetSize(int index) const
{
    if (index < 0 || index >= sizes.GetCount())
        return -1;
    return sizes.GetAt(index);
}

bool SResource::ReadTable(SFile* stream)
{
    char magic[4];
    if (stream->ReadBounded(magic, 4) != 4 || memcmp(magic, "SRES", 4) != 0)
        return false;
    if (stream->GetRemaining() < 4)
        return false;
    compressed = stream->ReadU32() != 0;
    for (;;)
    {
        if (stream->GetRemaining() < 4)
            return false;
        uint32_t size = stream->ReadU32();
        if (size == endMarker)
            return true;
        SString raw;
        if (!ReadEntryName(stream, &raw) || !IsSafeName(raw))
            return false;
        // Two entries for one file would leave it to chance which one lands.
        SString name = NormalizeName(raw);
        if (names.Find(name) >= 0)
            return false;
        int offset = stream->Tell();
        // An entry whose data runs past the end of the pack is damage.
        if (size > static_cast<uint32_t>(stream->GetRemaining()))
            return false;
        names.Add(name);
        flags.Add(0);
        offsets.Add(offset);
        sizes.Add(static_cast<int>(size));
        stream->Seek(offset + static_cast<int>(size));
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
    if (!ReadTable(&file))
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
    if (!ReadTable(source))
    {
        Reset();
        return false;
    }
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

bool SResource::CopyStored(SFile* stream, int index, SFile* target)
{
    int offset = offsets.GetAt(index);
    int size = sizes.GetAt(index);
    if (offset < 0 || size < 0 || offset > stream->GetSize() || size > stream->GetSize() - offset)
        return false;
    stream->Seek(offset);
    return target->CopyFrom(stream, size) == size;
}

uint8_t* SResource::ReadStored(SFile* stream, int index, SChunkCoder* coder)
{
    int offset = offsets.GetAt(index);
    int size = sizes.GetAt(index);
    if (offset < 0 || size < 0 || offset > stream->GetSize() || size > stream->GetSize() - offset)
        return nullptr;
    uint8_t* stored = coder->GetEntryBuffer(size);
    if (stored == nullptr)
        return nullptr;
    stream->Seek(offset);
    if (size > 0 && stream->ReadBounded(stored, size) != size)
        return nullptr;
    return stored;
}

bool SResource::Decode(SFile* stream, int index, SFile* target, SChunkCoder* coder, bool streamed)
{
    // The entry is decoded from a bounded copy, so damaged chunk headers can never
    // read into the next entry.
    uint8_t* stored = ReadStored(stream, index, coder);
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
    // Streamed, each chunk goes to target as soon as it is decoded (the caller removes
    // a target left half written); otherwise target sees nothing unless all decodes.
    SFileMem whole;
    uint8_t* out = streamed ? coder->GetRawBuffer() : nullptr;
    if (streamed && out == nullptr)
        return false;
    if (!streamed)
    {
        if (!whole.Allocate((int)decodedTotal))
            return false;
        out = whole.GetBuffer();
    }
    at = 4;
    int64_t written = 0;
    for (uint32_t chunk = 0; chunk < chunks; chunk++)
    {
        int rawLength = (int)u32At(at);
        int packedLength = (int)u32At(at + 4);
        at += 8;
        uint8_t* into = streamed ? out : out + written;
        if (!coder->Unpack(stored + at, packedLength, into, rawLength))
            return false;
        if (streamed && target->Write(into, rawLength) != rawLength)
            return false;
        at += packedLength;
        written += rawLength;
    }
    if (streamed || decodedTotal == 0)
        return true;
    return target->Write(out, (int)decodedTotal) == (int)decodedTotal;
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
        done = CopyStored(source, index, target);
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
        SChunkCoder coder;
        done = compressed ? Decode(&file, index, target, &coder, false) : CopyStored(&file, index, target);
    }
    if (done && rewind)
        target->Rewind();
    return done;
}
