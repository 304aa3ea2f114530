#include "SChunkCoder.h"

#include <new>
#include <string.h>
#include <zlib.h>

#include "SFile.h"

SChunkCoder::SChunkCoder() : m_deflate(nullptr), m_inflate(nullptr), m_raw(nullptr), m_packed(nullptr), m_entry(nullptr), m_entrySize(0),
      m_output(nullptr), m_outputSize(0)
{
}

SChunkCoder::~SChunkCoder()
{
    if (m_deflate != nullptr)
        deflateEnd(m_deflate);
    if (m_inflate != nullptr)
        inflateEnd(m_inflate);
    delete m_deflate;
    delete m_inflate;
    delete[] m_raw;
    delete[] m_packed;
    delete[] m_entry;
    delete[] m_output;
}

bool SChunkCoder::Pack(const uint8_t* raw, int rawLength, uint8_t* packed, int capacity, int* packedLength)
{
    if (raw == nullptr || packed == nullptr || packedLength == nullptr || rawLength < 0 || capacity <= 0)
        return false;
    *packedLength = 0;
    if (m_deflate == nullptr)
    {
        z_stream_s* stream = new (std::nothrow) z_stream_s;
        if (stream == nullptr)
            return false;
        memset(stream, 0, sizeof(*stream));
        // The level and defaults of zlib's compress, so that the bytes are the same.
        if (deflateInit(stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        {
            delete stream;
            return false;
        }
        m_deflate = stream;
    }
    else if (deflateReset(m_deflate) != Z_OK)
    {
        return false;
    }
    m_deflate->next_in = const_cast<Bytef*>(raw);
    m_deflate->avail_in = (uInt)rawLength;
    m_deflate->next_out = packed;
    m_deflate->avail_out = (uInt)capacity;
    // Everything in one call: a result that needs more room than given is a failure.
    if (deflate(m_deflate, Z_FINISH) != Z_STREAM_END)
        return false;
    *packedLength = (int)m_deflate->total_out;
    return true;
}

int SChunkCoder::WriteChunk(const uint8_t* raw, int rawLength, SFile* target)
{
    uint8_t* packed = GetPackedBuffer();
    int packedLength = 0;
    if (target == nullptr || packed == nullptr || !Pack(raw, rawLength, packed, SFile::kCompressedPacked, &packedLength))
        return 0;
    // A stream that lost a chunk would decode to other bytes: a short write is a failure.
    if (target->WriteU32((uint32_t)rawLength) != 4 || target->WriteU32((uint32_t)packedLength) != 4 ||
            target->Write(packed, packedLength) != packedLength)
        return 0;
    return 8 + packedLength;
}

int SChunkCoder::WriteChunks(const uint8_t* data, int length, SFile* target)
{
    if (target == nullptr || length < 0 || (data == nullptr && length > 0))
        return 0;
    uint32_t count = (uint32_t)((length + (int64_t)SFile::kCompressedChunk - 1) / SFile::kCompressedChunk);
    if (target->WriteU32(count) != 4)
        return 0;
    int total = 4;
    for (int position = 0; position < length; position += SFile::kCompressedChunk)
    {
        int rawLength = length - position < SFile::kCompressedChunk ? length - position : SFile::kCompressedChunk;
        int written = WriteChunk(data + position, rawLength, target);
        if (written == 0)
            return 0;
        total += written;
    }
    return total;
}

bool SChunkCoder::Unpack(const uint8_t* packed, int packedLength, uint8_t* raw, int rawLength)
{
    if (packed == nullptr || raw == nullptr || packedLength < 0 || rawLength < 0)
        return false;
    if (m_inflate == nullptr)
    {
        z_stream_s* stream = new (std::nothrow) z_stream_s;
        if (stream == nullptr)
            return false;
        memset(stream, 0, sizeof(*stream));
        if (inflateInit(stream) != Z_OK)
        {
            delete stream;
            return false;
        }
        m_inflate = stream;
    }
    else if (inflateReset(m_inflate) != Z_OK)
    {
        return false;
    }
    m_inflate->next_in = const_cast<Bytef*>(packed);
    m_inflate->avail_in = (uInt)packedLength;
    m_inflate->next_out = raw;
    m_inflate->avail_out = (uInt)rawLength;
    // The chunk header announces the decoded length: a stream that ends early or
    // would go on beyond it is damaged.
    return inflate(m_inflate, Z_FINISH) == Z_STREAM_END && m_inflate->total_out == (uLong)rawLength;
}

uint8_t* SChunkCoder::GetRawBuffer()
{
    if (m_raw == nullptr)
        m_raw = new (std::nothrow) uint8_t[SFile::kCompressedChunk];
    return m_raw;
}

uint8_t* SChunkCoder::GetPackedBuffer()
{
    if (m_packed == nullptr)
        m_packed = new (std::nothrow) uint8_t[SFile::kCompressedPacked];
    return m_packed;
}

namespace
{
// A buffer kept for every entry of a pack: grown by half again at least, so that
// entries of rising sizes do not reallocate it each time.
uint8_t* GrowBuffer(uint8_t** buffer, int* capacity, int size)
{
    if (size < 0)
        return nullptr;
    if (*buffer != nullptr && size <= *capacity)
        return *buffer;
    int64_t wanted = (int64_t)*capacity + *capacity / 2;
    if (wanted < size || wanted > 0x7FFFFFFF)
        wanted = size > 0 ? size : 1;
    uint8_t* grown = new (std::nothrow) uint8_t[(size_t)wanted];
    if (grown == nullptr)
        return nullptr;
    delete[] *buffer;
    *buffer = grown;
    *capacity = (int)wanted;
    return grown;
}
}

uint8_t* SChunkCoder::GetEntryBuffer(int size)
{
    return GrowBuffer(&m_entry, &m_entrySize, size);
}

uint8_t* SChunkCoder::GetOutputBuffer(int size)
{
    return GrowBuffer(&m_output, &m_outputSize, size);
}
