#include "SFilePath.h"

#include <io.h>
#include <share.h>
#include <string.h>
#include <wchar.h>

#include "SChecksum.h"
#include "SDisk.h"

namespace {

enum Direction
{
    kNone,
    kReading,
    kWriting
};

} // namespace

SFilePath::SFilePath() : m_file(nullptr), m_temporary(0), m_direction(kNone)
{
}

SFilePath::SFilePath(const char* path, bool write, bool truncate, bool read) : SFilePath()
{
    Open(path, write, truncate, read, false);
}

SFilePath::~SFilePath()
{
    Close();
}

bool SFilePath::Open(const char* path, bool write, bool truncate, bool read, bool shared)
{
    Close();
    if (path == nullptr || *path == 0)
        return false;
    const char* mode = nullptr;
    if (read && write)
        mode = truncate ? "w+b" : "r+b";
    else if (read)
        mode = "rb";
    else if (write)
        mode = truncate ? "wb" : "ab";
    if (mode == nullptr)
        return false;
    FILE* file = nullptr;
    if (shared)
        file = _fsopen(path, mode, _SH_DENYNO);
    else if (fopen_s(&file, path, mode) != 0)
        file = nullptr;
    if (file == nullptr)
        return false;
    m_file = file;
    m_path.Assign(path);
    m_temporary = 0;
    m_direction = kNone;
    return true;
}

bool SFilePath::OpenTemp()
{
    Close();
    SDisk disk;
    SString name = disk.GetTempFileName();
    if (name.IsEmpty())
        return false;
    FILE* file = nullptr;
    if (fopen_s(&file, name, "w+b") != 0 || file == nullptr)
    {
        DeleteFileA(name);
        return false;
    }
    m_file = file;
    m_tempPath = name;
    m_temporary = 1;
    m_direction = kNone;
    return true;
}

bool SFilePath::Flush(bool toDisk)
{
    if (m_file == nullptr || fflush(m_file) != 0)
        return false;
    m_direction = kNone;
    return !toDisk || _commit(_fileno(m_file)) == 0;
}

bool SFilePath::IsOpen() const
{
    return m_file != nullptr;
}

void SFilePath::Close()
{
    if (m_file == nullptr)
        return;
    fclose(m_file);
    m_file = nullptr;
    if (!m_tempPath.IsEmpty())
        DeleteFileA(m_tempPath);
    m_path.Assign("");
    m_tempPath.Assign("");
    m_temporary = 0;
    m_direction = kNone;
}

bool SFilePath::GetCrc32(uint32_t* out)
{
    return GetStreamCrc32(this, out);
}

SString SFilePath::GetMd5()
{
    return GetStreamMd5Hex(this);
}

SString SFilePath::GetSha1()
{
    return GetStreamSha1Hex(this);
}

void SFilePath::PrepareRead() const
{
    if (m_direction == kWriting)
        fseek(m_file, 0, SEEK_CUR);
    m_direction = kReading;
}

void SFilePath::PrepareWrite() const
{
    if (m_direction == kReading)
        fseek(m_file, 0, SEEK_CUR);
    m_direction = kWriting;
}

int SFilePath::Write(const void* buffer, int bytes)
{
    if (m_file == nullptr || buffer == nullptr || bytes <= 0)
        return 0;
    PrepareWrite();
    return (int)fwrite(buffer, 1, (size_t)bytes, m_file);
}

int SFilePath::WriteUniText(const wchar_t* text, int count)
{
    if (m_file == nullptr || text == nullptr)
        return 0;
    if (count < 0)
        count = (int)wcslen(text);
    if (count == 0)
        return 0;
    PrepareWrite();
    return 2 * (int)fwrite(text, 2, (size_t)count, m_file);
}

int SFilePath::WriteLine(const char* text)
{
    if (m_file == nullptr)
        return 0;
    PrepareWrite();
    int written = 0;
    size_t length = text != nullptr ? strlen(text) : 0;
    if (length > 0)
        written += (int)fwrite(text, 1, length, m_file);
    written += (int)fwrite("\r\n", 1, 2, m_file);
    return written;
}

SString SFilePath::ReadString(int bytes)
{
    SString text;
    if (m_file == nullptr)
        return text;
    int remaining = GetRemaining();
    if (bytes < 0)
        bytes = remaining;
    if (bytes <= 0 || remaining <= 0)
        return text;
    if (bytes > remaining)
        bytes = remaining;
    text.SetLength(bytes, 0);
    PrepareRead();
    size_t got = fread(text.GetBuffer(), 1, (size_t)bytes, m_file);
    text.SetLength((int)got, 0);
    return text;
}

int SFilePath::ReadBounded(void* buffer, int bytes)
{
    if (m_file == nullptr || buffer == nullptr || bytes <= 0)
        return 0;
    // fread stops at the end of the file by itself; asking the system for the size
    // on every read made reading a file in small pieces cost a call per piece. The
    // end-of-file mark it leaves is cleared, so that bytes another program appends
    // later are still read.
    PrepareRead();
    size_t got = fread(buffer, 1, (size_t)bytes, m_file);
    if (got < (size_t)bytes)
        clearerr(m_file);
    return (int)got;
}

SUniString SFilePath::ReadUniString(int count)
{
    SUniString text;
    if (m_file == nullptr || count == 0)
        return text;
    int remaining = GetRemaining();
    if (remaining <= 0)
        return text;
    int bytes = (count < 0 || (int64_t)count * 2 > remaining) ? remaining : count * 2;
    int units = bytes / 2;
    if (units == 0)
        return text;
    text.SetLength(units, 0);
    PrepareRead();
    size_t got = fread(text.GetBuffer(), 2, (size_t)units, m_file);
    text.SetLength((int)got, 0);
    return text;
}

SString SFilePath::ReadLine(bool keepSpaces, int maxChars, bool* endOfLineSeen)
{
    if (endOfLineSeen != nullptr)
        *endOfLineSeen = false;
    SString line;
    if (m_file == nullptr || maxChars == 0)
        return line;
    PrepareRead();
    bool afterCr = false;
    bool endOfLine = false;
    int appended = 0;
    for (;;)
    {
        int c = fgetc(m_file);
        if (c == EOF)
            break;
        if (c == '\n')
        {
            if (afterCr)
            {
                endOfLine = true;
                break;
            }
            continue;
        }
        afterCr = c == '\r';
        if (afterCr)
            continue;
        line.AppendChar((char)c);
        if (maxChars > 0 && ++appended >= maxChars)
            break;
    }
    if (endOfLineSeen != nullptr)
        *endOfLineSeen = endOfLine;
    if (!keepSpaces)
    {
        line.TrimLeft(-1, false);
        line.TrimRight(-1, false);
    }
    return line;
}

SString SFilePath::ReadZString(bool wantText)
{
    SString text;
    if (m_file == nullptr)
        return text;
    PrepareRead();
    for (;;)
    {
        int c = fgetc(m_file);
        if (c == EOF || c == 0)
            break;
        if (wantText)
            text.AppendChar((char)c);
    }
    return text;
}

int SFilePath::Seek(int position)
{
    if (m_file == nullptr)
        return 0;
    int size = GetSize();
    if (position < 0 || position > size)
        position = size;
    if (fseek(m_file, position, SEEK_SET) != 0)
        return Tell();
    m_direction = kNone;
    return position;
}

int SFilePath::Tell() const
{
    if (m_file == nullptr)
        return 0;
    long position = ftell(m_file);
    if (position == -1)
        return GetSize();
    return (int)position;
}

bool SFilePath::SetSize(int size)
{
    if (m_file == nullptr || size < 0)
        return false;
    if (fseek(m_file, size, SEEK_SET) != 0)
        return false;
    m_direction = kNone;
    if (_chsize(_fileno(m_file), size) != 0)
        return false;
    fseek(m_file, size, SEEK_SET);
    return true;
}

int SFilePath::GetSize() const
{
    if (m_file == nullptr)
        return 0;
    // The descriptor knows the length once pending writes are out; this keeps the
    // read buffer, which a seek to the end and back would throw away.
    if (m_direction == kWriting)
    {
        fflush(m_file);
        m_direction = kNone;
    }
    long length = _filelength(_fileno(m_file));
    if (length >= 0)
        return (int)length;
    long saved = ftell(m_file);
    fseek(m_file, 0, SEEK_END);
    long size = ftell(m_file);
    if (saved >= 0)
        fseek(m_file, saved, SEEK_SET);
    m_direction = kNone;
    return size < 0 ? 0 : (int)size;
}

int SFilePath::FindBytes(const void* bytes, int length, bool positionAfter)
{
    if (m_file == nullptr || bytes == nullptr || length <= 0)
        return -1;
    const uint8_t* pattern = static_cast<const uint8_t*>(bytes);
    int size = GetSize();
    int start = Tell();
    PrepareRead();
    // Each attempt starts one byte after the previous one; the size is taken once
    // so that the scan does not seek for every byte.
    while (size - start >= length)
    {
        int matched = 0;
        while (matched < length)
        {
            int c = fgetc(m_file);
            if (c == EOF || (uint8_t)c != pattern[matched])
                break;
            matched++;
        }
        if (matched == length)
        {
            int end = start + length;
            return positionAfter ? end : start;
        }
        start++;
        if (matched > 0)
        {
            fseek(m_file, start, SEEK_SET);
            m_direction = kReading;
        }
    }
    Seek(start);
    return -1;
}
