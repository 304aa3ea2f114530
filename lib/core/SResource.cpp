#include "SResource.h"
#include "SFilePath.h"

#include <string.h>

namespace
{
const uint32_t endMarker = 0xFFFFFFFF;
// Case-insensitive name comparison of the entry list.
const int namesIgnoreCase = 0x10000;

// An entry name must stay inside the folder it is relative to.
bool IsRelativeName(const char* name)
{
    if (name == nullptr || name[0] == 0 || name[0] == '\\' || name[0] == '/' || strchr(name, ':') != nullptr)
        return false;
    const char* part = name;
    while (*part != 0)
    {
        const char* end = part;
        while (*end != 0 && *end != '\\' && *end != '/')
            end++;
        if (end - part == 2 && part[0] == '.' && part[1] == '.')
            return false;
        part = *end != 0 ? end + 1 : end;
    }
    return true;
}
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
    if (!base.IsValid() || !base.IsSubfolder() || !IsRelativeName(name) || names.Find(name) >= 0)
        return false;
    names.Add(name);
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
        SString name = stream->ReadZString(true);
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

bool SResource::Decode(SFile* stream, int index, SFile* target)
{
    // The entry is decoded from a bounded copy, so damaged chunk headers can
    // neither read into the next entry nor leave half an entry in target.
    SFileMem stored;
    stored.Allocate(0);
    if (!CopyStored(stream, index, &stored))
        return false;
    stored.Rewind();
    if (stored.GetSize() < 4)
        return false;
    uint32_t chunks = stored.ReadU32();
    stored.Rewind();
    SFileMem decoded;
    decoded.Allocate(0);
    int written = stored.ReadCompressed(&decoded, 0);
    if (written != decoded.GetSize() || (written == 0 && chunks != 0))
        return false;
    decoded.Rewind();
    return target->CopyFrom(&decoded) == written;
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
        if (!IsRelativeName(name))
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
        done = compressed ? Decode(&file, index, target) : CopyStored(&file, index, target);
    }
    if (done && rewind)
        target->Rewind();
    return done;
}
