#include "SFileMem.h"

#include <new>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "SChecksum.h"
#include "SFileAtomic.h"

namespace {

const int kBlock = 1024;
// Largest size whose capacity (size rounded down to a block, plus one block) fits an int.
const int kMaxSize = 0x7FFFFFFF - kBlock;

int CapacityFor(int size)
{
    return size - (size % kBlock) + kBlock;
}

// The capacity a write that needs end bytes grows to: at least half again the present
// one, so that a file written piece by piece is copied a bounded number of times
// rather than once per block.
int GrowthFor(int64_t end, int capacity)
{
    int64_t wanted = (int64_t)capacity + capacity / 2;
    wanted = (wanted + kBlock - 1) / kBlock * kBlock;
    int64_t least = CapacityFor((int)end);
    if (wanted < least || wanted > CapacityFor(kMaxSize))
        wanted = least;
    return (int)wanted;
}

} // namespace

SFileMem::SFileMem() : m_buffer(nullptr), m_size(0), m_capacity(0), m_position(0)
{
    m_isMemory = true;
}

SFileMem::SFileMem(const char* type, int id) : SFileMem()
{
    LoadResource(type, id, nullptr);
}

SFileMem::SFileMem(const char* type, const char* id) : SFileMem()
{
    // Only numeric ids name the library's resources.
    if (IS_INTRESOURCE(id))
        LoadResource(type, (int)(UINT_PTR)id, nullptr);
}

SFileMem::~SFileMem()
{
    FreeBuffer();
}

bool SFileMem::IsOpen() const
{
    return m_buffer != nullptr;
}

void SFileMem::Close()
{
    FreeBuffer();
}

bool SFileMem::GetCrc32(uint32_t* out)
{
    return GetMemoryCrc32(this, out);
}

SString SFileMem::GetMd5()
{
    return GetMemoryMd5Hex(this);
}

SString SFileMem::GetSha1()
{
    return GetMemorySha1Hex(this);
}

bool SFileMem::Resize(int size, bool keepContent)
{
    if (size < 0)
        size = 0;
    if (size > kMaxSize)
        return false;
    int capacity = CapacityFor(size);
    if (capacity != m_capacity || m_buffer == nullptr)
    {
        uint8_t* buffer = new (std::nothrow) uint8_t[capacity];
        if (buffer == nullptr)
            return false;
        if (keepContent && m_buffer != nullptr && m_size > 0)
            memcpy(buffer, m_buffer, (size_t)(m_size < size ? m_size : size));
        delete[] m_buffer;
        m_buffer = buffer;
        m_capacity = capacity;
    }
    m_size = size;
    // The position never lies beyond the content: reads, gaps and deletions rely on it.
    if (m_position > m_size)
        m_position = m_size;
    return true;
}

void SFileMem::FreeBuffer()
{
    delete[] m_buffer;
    m_buffer = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_position = 0;
}

bool SFileMem::Allocate(int size)
{
    if (!Resize(size, false))
        return false;
    m_position = 0;
    return true;
}

bool SFileMem::GrowTo(int64_t end, const void** source)
{
    if (end > kMaxSize)
        return false;
    if (m_buffer != nullptr && end <= m_size)
        return true;
    // Room left in the buffer takes the bytes where they are.
    if (m_buffer != nullptr && end < m_capacity)
    {
        m_size = (int)end;
        return true;
    }
    int capacity = GrowthFor(end, m_capacity);
    uint8_t* buffer = new (std::nothrow) uint8_t[capacity];
    if (buffer == nullptr)
        return false;
    uintptr_t start = (uintptr_t)m_buffer;
    uintptr_t at = source != nullptr ? (uintptr_t)*source : 0;
    bool inside = m_buffer != nullptr && at >= start && at < start + (uintptr_t)m_capacity;
    if (m_buffer != nullptr && m_size > 0)
        memcpy(buffer, m_buffer, (size_t)m_size);
    // The source is moved along before the old buffer goes.
    if (inside)
        *source = buffer + (at - start);
    delete[] m_buffer;
    m_buffer = buffer;
    m_capacity = capacity;
    m_size = (int)end;
    return true;
}

int SFileMem::Write(const void* buffer, int bytes)
{
    if (buffer == nullptr || bytes <= 0)
        return 0;
    if (!GrowTo((int64_t)m_position + bytes, &buffer))
        return 0;
    // The bytes may come from this file's own content.
    memmove(m_buffer + m_position, buffer, (size_t)bytes);
    m_position += bytes;
    return bytes;
}

int SFileMem::WriteUniText(const wchar_t* text, int count)
{
    if (text == nullptr)
        return 0;
    if (count < 0)
        count = (int)wcslen(text);
    if (count == 0)
        return 0;
    const void* source = text;
    if (!GrowTo((int64_t)m_position + 2 * (int64_t)count, &source))
        return 0;
    text = static_cast<const wchar_t*>(source);
    uint8_t* out = m_buffer + m_position;
    for (int i = 0; i < count; i++)
    {
        out[2 * i] = (uint8_t)(text[i] & 0xFF);
        out[2 * i + 1] = (uint8_t)((text[i] >> 8) & 0xFF);
    }
    m_position += 2 * count;
    return 2 * count;
}

int SFileMem::WriteLine(const char* text)
{
    int length = text != nullptr ? (int)strlen(text) : 0;
    const void* source = text;
    if (!GrowTo((int64_t)m_position + length + 2, &source))
        return 0;
    if (length > 0)
        memmove(m_buffer + m_position, source, (size_t)length);
    m_buffer[m_position + length] = 13;
    m_buffer[m_position + length + 1] = 10;
    m_position += length + 2;
    return length + 2;
}

SString SFileMem::ReadString(int bytes)
{
    SString text;
    int remaining = m_size - m_position;
    if (bytes < 0)
        bytes = remaining;
    if (m_buffer == nullptr || bytes <= 0 || remaining <= 0)
        return text;
    if (bytes > remaining)
        bytes = remaining;
    text.AssignChars(reinterpret_cast<const char*>(m_buffer + m_position), bytes);
    m_position += bytes;
    return text;
}

int SFileMem::ReadBounded(void* buffer, int bytes)
{
    int remaining = m_size - m_position;
    if (buffer == nullptr || m_buffer == nullptr || bytes <= 0 || remaining <= 0)
        return 0;
    if (bytes > remaining)
        bytes = remaining;
    memcpy(buffer, m_buffer + m_position, (size_t)bytes);
    m_position += bytes;
    return bytes;
}

SUniString SFileMem::ReadUniString(int count)
{
    SUniString text;
    int remaining = m_size - m_position;
    if (m_buffer == nullptr || count == 0 || remaining <= 0)
        return text;
    int bytes = (count < 0 || (int64_t)count * 2 > remaining) ? remaining : count * 2;
    int units = bytes / 2;
    if (units == 0)
        return text;
    text.SetLength(units, 0);
    wchar_t* out = text.GetBuffer();
    const uint8_t* in = m_buffer + m_position;
    for (int i = 0; i < units; i++)
        out[i] = (wchar_t)(in[2 * i] | (in[2 * i + 1] << 8));
    m_position += units * 2;
    return text;
}

SString SFileMem::ReadLine(bool keepSpaces, int maxChars, bool* endOfLineSeen)
{
    if (endOfLineSeen != nullptr)
        *endOfLineSeen = false;
    SString line;
    if (maxChars == 0 || m_buffer == nullptr)
        return line;
    int start = m_position;
    int end = start;
    int passed = 0;
    bool endOfLine = false;
    while (end < m_size)
    {
        if (maxChars > 0 && passed >= maxChars)
            break;
        if (m_buffer[end] == 13 && end + 1 < m_size && m_buffer[end + 1] == 10)
        {
            endOfLine = true;
            break;
        }
        end++;
        passed++;
    }
    line.AssignChars(reinterpret_cast<const char*>(m_buffer + start), end - start);
    m_position = endOfLine ? end + 2 : end;
    if (endOfLineSeen != nullptr)
        *endOfLineSeen = endOfLine;
    if (!keepSpaces)
    {
        line.TrimLeft(-1, false);
        line.TrimRight(-1, false);
    }
    return line;
}

SString SFileMem::ReadZString(bool wantText)
{
    if (m_buffer == nullptr || m_position >= m_size)
        return SString();
    const uint8_t* start = m_buffer + m_position;
    const void* nul = memchr(start, 0, (size_t)(m_size - m_position));
    int length = nul != nullptr ? (int)(static_cast<const uint8_t*>(nul) - start) : m_size - m_position;
    SString text;
    if (wantText && length > 0)
        text.AssignChars(reinterpret_cast<const char*>(start), length);
    m_position += length;
    if (nul != nullptr)
        m_position++;
    return text;
}

int SFileMem::Seek(int position)
{
    if (position < 0 || position > m_size)
        position = m_size;
    m_position = position;
    return m_position;
}

int SFileMem::Tell() const
{
    return m_position;
}

bool SFileMem::SetSize(int size)
{
    if (!Resize(size, true))
        return false;
    if (m_position > m_size)
        m_position = m_size;
    return true;
}

int SFileMem::GetSize() const
{
    return m_size;
}

int SFileMem::FindBytes(const void* bytes, int length, bool positionAfter)
{
    if (bytes == nullptr || length <= 0)
        return -1;
    const uint8_t* pattern = static_cast<const uint8_t*>(bytes);
    if (m_buffer != nullptr)
    {
        for (int index = m_position; index <= m_size - length; index++)
        {
            if (m_buffer[index] == pattern[0] && memcmp(m_buffer + index, pattern, (size_t)length) == 0)
            {
                m_position = index + length;
                return positionAfter ? index + length : index;
            }
        }
    }
    m_position = m_size;
    return -1;
}

bool SFileMem::LoadFromFile(const char* path)
{
    if (path == nullptr || *path == 0)
        return false;
    FILE* file = nullptr;
    if (fopen_s(&file, path, "rb") != 0 || file == nullptr)
        return false;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        size = ftell(file);
    if (size < 0 || size > kMaxSize || fseek(file, 0, SEEK_SET) != 0)
    {
        fclose(file);
        return false;
    }
    // Read into a new buffer first so that a failed read keeps the old content.
    uint8_t* buffer = new (std::nothrow) uint8_t[CapacityFor((int)size)];
    if (buffer == nullptr)
    {
        fclose(file);
        return false;
    }
    size_t got = size > 0 ? fread(buffer, 1, (size_t)size, file) : 0;
    fclose(file);
    if (got != (size_t)size)
    {
        delete[] buffer;
        return false;
    }
    Adopt(buffer, (int)size);
    m_position = 0;
    return true;
}

bool SFileMem::SaveToFile(const char* path)
{
    SFileAtomic file;
    if (!file.Open(path))
        return false;
    if (m_buffer != nullptr && m_size > 0 && file.GetFile()->Write(m_buffer, m_size) != m_size)
        return false;
    return file.Commit();
}

bool SFileMem::LoadResource(const char* type, int id, HMODULE module)
{
    if (!Allocate(0))
        return false;
    if (!WriteResource(type, id, module))
        return false;
    m_position = 0;
    return true;
}

void SFileMem::Adopt(uint8_t* buffer, int size)
{
    delete[] m_buffer;
    m_buffer = buffer;
    m_capacity = CapacityFor(size);
    m_size = size;
}

bool SFileMem::Rebuild(int cut, int gap)
{
    int size = m_size - cut + gap;
    uint8_t* buffer = new (std::nothrow) uint8_t[CapacityFor(size)];
    if (buffer == nullptr)
        return false;
    if (m_buffer != nullptr)
    {
        memcpy(buffer, m_buffer, (size_t)m_position);
        memcpy(buffer + m_position + gap, m_buffer + m_position + cut, (size_t)(m_size - m_position - cut));
    }
    memset(buffer + m_position, 0, (size_t)gap);
    Adopt(buffer, size);
    return true;
}

bool SFileMem::DeleteAt(int count)
{
    if (count < 1 || m_buffer == nullptr || count > m_size - m_position)
        return false;
    return Rebuild(count, 0);
}

bool SFileMem::InsertGap(int count, bool moveAfter)
{
    if (count < 1 || (int64_t)m_size + count > kMaxSize)
        return false;
    if (!Rebuild(0, count))
        return false;
    if (moveAfter)
        m_position += count;
    return true;
}
