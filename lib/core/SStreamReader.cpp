#include "SStreamReader.h"

#include <new>
#include <string.h>

#include "SFile.h"

SStreamReader::SStreamReader(SFile* stream, int windowSize)
    : m_stream(nullptr), m_window(nullptr), m_windowSize(0), m_size(0), m_windowStart(0), m_windowLength(0),
      m_position(0), m_streamPosition(-1)
{
    if (stream == nullptr || !stream->IsOpen())
        return;
    int size = stream->GetSize();
    int position = stream->Tell();
    if (size < 0)
        size = 0;
    if (position < 0 || position > size)
        position = size;
    // A window larger than the stream would only be memory that is never used.
    int window = windowSize < 16 ? 16 : windowSize;
    if (window > size && size >= 16)
        window = size;
    m_window = new (std::nothrow) uint8_t[(size_t)window];
    if (m_window == nullptr)
        return;
    m_stream = stream;
    m_windowSize = window;
    m_size = size;
    m_position = position;
    m_windowStart = position;
    m_streamPosition = position;
}

SStreamReader::~SStreamReader()
{
    delete[] m_window;
}

int SStreamReader::Seek(int position)
{
    if (position < 0)
        position = 0;
    if (position > m_size)
        position = m_size;
    m_position = position;
    return m_position;
}

int SStreamReader::Skip(int count)
{
    if (count <= 0)
        return m_position;
    return Seek(count > m_size - m_position ? m_size : m_position + count);
}

int SStreamReader::ReadStream(int position, uint8_t* buffer, int bytes)
{
    if (m_stream == nullptr || bytes <= 0)
        return 0;
    if (position != m_streamPosition && m_stream->Seek(position) != position)
    {
        m_streamPosition = -1;
        return 0;
    }
    int got = m_stream->ReadBounded(buffer, bytes);
    if (got < 0)
        got = 0;
    m_streamPosition = position + got;
    return got;
}

bool SStreamReader::Fill(int bytes)
{
    int windowEnd = m_windowStart + m_windowLength;
    if (m_position >= m_windowStart && m_position + bytes <= windowEnd)
        return true;
    // Bytes of the window at and after the position are kept; the rest is read after them.
    int keep = 0;
    if (m_position >= m_windowStart && m_position < windowEnd)
    {
        keep = windowEnd - m_position;
        memmove(m_window, m_window + (m_position - m_windowStart), (size_t)keep);
    }
    m_windowStart = m_position;
    m_windowLength = keep;
    int want = (m_size - m_position < m_windowSize ? m_size - m_position : m_windowSize) - keep;
    if (want > 0)
        m_windowLength += ReadStream(m_position + keep, m_window + keep, want);
    return m_windowLength >= bytes;
}

int SStreamReader::Peek(int bytes, const uint8_t** data)
{
    if (data != nullptr)
        *data = nullptr;
    if (m_window == nullptr || data == nullptr)
        return 0;
    if (bytes > m_windowSize)
        bytes = m_windowSize;
    if (bytes > m_size - m_position)
        bytes = m_size - m_position;
    if (bytes <= 0)
        return 0;
    Fill(bytes);
    int available = m_windowStart + m_windowLength - m_position;
    if (m_position < m_windowStart || available <= 0)
        return 0;
    *data = m_window + (m_position - m_windowStart);
    return available < bytes ? available : bytes;
}

int SStreamReader::Read(void* buffer, int bytes)
{
    if (m_window == nullptr || buffer == nullptr || bytes <= 0)
        return 0;
    if (bytes > m_size - m_position)
        bytes = m_size - m_position;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    int copied = 0;
    while (copied < bytes)
    {
        int rest = bytes - copied;
        int windowEnd = m_windowStart + m_windowLength;
        if (m_position >= m_windowStart && m_position < windowEnd)
        {
            int piece = rest < windowEnd - m_position ? rest : windowEnd - m_position;
            memcpy(out + copied, m_window + (m_position - m_windowStart), (size_t)piece);
            m_position += piece;
            copied += piece;
            continue;
        }
        // A long read goes straight into the caller's buffer instead of through the window.
        if (rest >= m_windowSize)
        {
            int got = ReadStream(m_position, out + copied, rest);
            m_position += got;
            copied += got;
            break;
        }
        const uint8_t* data = nullptr;
        int got = Peek(rest, &data);
        if (got <= 0)
            break;
        memcpy(out + copied, data, (size_t)got);
        m_position += got;
        copied += got;
    }
    return copied;
}

bool SStreamReader::ReadU32(uint32_t* value)
{
    const uint8_t* data = nullptr;
    if (value == nullptr || Peek(4, &data) != 4)
        return false;
    *value = (uint32_t)data[0] | ((uint32_t)data[1] << 8) | ((uint32_t)data[2] << 16) | ((uint32_t)data[3] << 24);
    m_position += 4;
    return true;
}

void SStreamReader::SyncStream()
{
    if (m_stream == nullptr || m_streamPosition == m_position)
        return;
    m_streamPosition = m_stream->Seek(m_position);
}
