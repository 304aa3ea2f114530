#include "SDisk.h"

#include <stdint.h>
#include <string.h>

#include <vector>

#include "SFileAtomic.h"
#include "SFilePath.h"
#include "SPath.h"
#include "SStringArray.h"

// The stored (uncompressed) ZIP archive: a local header and the bytes of each
// file, then the central directory and its end record, all little-endian.
namespace {

const int kEndRecordSize = 22;
const int kMaxEntries = 0xFFFF;
const int kMaxNameLength = 0xFFFF;

struct ZipEntry {
    SString name;
    uint32_t crc;
    uint32_t size;
    uint32_t offset;
};

// Little-endian record under construction.
class ZipRecord
{
public:
    void U16(uint32_t value)
    {
        m_bytes.push_back(uint8_t(value));
        m_bytes.push_back(uint8_t(value >> 8));
    }
    void U32(uint32_t value)
    {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Text(const SString& text) { m_bytes.insert(m_bytes.end(), text.GetBuffer(), text.GetBuffer() + text.GetLength()); }
    bool WriteTo(SFile& file) const
    {
        int size = int(m_bytes.size());
        return file.Write(m_bytes.data(), size) == size;
    }

private:
    std::vector<uint8_t> m_bytes;
};

// The fields that the local header and the central record share, from
// "version needed" to "extra length".
void AddEntryFields(ZipRecord& record, const ZipEntry& entry)
{
    record.U16(20);
    record.U16(0);
    record.U16(0);
    record.U16(0);
    record.U16(0);
    record.U32(entry.crc);
    record.U32(entry.size);
    record.U32(entry.size);
    record.U16(entry.name.GetLength());
    record.U16(0);
}

bool WriteLocalHeader(SFile& archive, const ZipEntry& entry)
{
    ZipRecord record;
    record.U32(0x04034b50);
    AddEntryFields(record, entry);
    record.Text(entry.name);
    return record.WriteTo(archive);
}

bool WriteCentralRecord(SFile& archive, const ZipEntry& entry)
{
    ZipRecord record;
    record.U32(0x02014b50);
    record.U16(20);
    AddEntryFields(record, entry);
    record.U16(0);
    record.U16(0);
    record.U16(1);
    record.U32(0x20);
    record.U32(entry.offset);
    record.Text(entry.name);
    return record.WriteTo(archive);
}

bool WriteEndRecord(SFile& archive, int entries, uint32_t directoryStart, uint32_t directorySize)
{
    ZipRecord record;
    record.U32(0x06054b50);
    record.U16(0);
    record.U16(0);
    record.U16(entries);
    record.U16(entries);
    record.U32(directorySize);
    record.U32(directoryStart);
    record.U16(0);
    return record.WriteTo(archive);
}

// Adds one file's local header and bytes; false when it cannot be read whole.
bool AddFile(SFile& archive, const char* path, int firstComponent, std::vector<ZipEntry>& entries)
{
    ZipEntry entry;
    // ZIP names separate folders with '/' only; readers off Windows would take a '\'
    // for part of a file name.
    entry.name = SPath(path).JoinComponents(firstComponent, -1, false, '/');
    if (entry.name.IsEmpty() || entry.name.GetLength() > kMaxNameLength)
        return false;
    SFilePath source;
    if (!source.Open(path, false, false, true))
        return false;
    int size = source.GetSize();
    int position = archive.Tell();
    if (size < 0 || position < 0 || !source.GetCrc32(&entry.crc))
        return false;
    entry.size = uint32_t(size);
    entry.offset = uint32_t(position);
    if (!WriteLocalHeader(archive, entry))
        return false;
    if (archive.CopyFrom(&source, -1) != size)
        return false;
    entries.push_back(entry);
    return true;
}

bool WriteArchive(SFile& archive, SStringArray* files, int firstComponent)
{
    std::vector<ZipEntry> entries;
    for (int i = 0; i < files->GetCount(); ++i)
        if (!AddFile(archive, files->GetAt(i), firstComponent, entries))
            return false;
    int directoryStart = archive.Tell();
    if (directoryStart < 0)
        return false;
    for (const ZipEntry& entry : entries)
        if (!WriteCentralRecord(archive, entry))
            return false;
    int directoryEnd = archive.Tell();
    if (directoryEnd < directoryStart ||
        !WriteEndRecord(archive, int(entries.size()), uint32_t(directoryStart), uint32_t(directoryEnd - directoryStart)))
        return false;
    // The size read back from the disk shows that the buffered bytes really got there.
    return archive.GetSize() == directoryEnd + kEndRecordSize;
}

} // namespace

bool SDisk::CreateZip(const char* zipPath, SStringArray* files, int firstComponent)
{
    if (!zipPath || !*zipPath || !files || files->GetCount() == 0 || files->GetCount() > kMaxEntries)
        return false;
    // A file of that name already there stays as it was unless the whole archive is written.
    SFileAtomic archive;
    if (!archive.Open(zipPath))
        return false;
    if (!WriteArchive(*archive.GetFile(), files, firstComponent < 0 ? 0 : firstComponent))
    {
        archive.Abandon();
        return false;
    }
    return archive.Commit();
}
