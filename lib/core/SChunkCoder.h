#pragma once

#include <stdint.h>

struct z_stream_s;
class SFile;

// The zlib coder of the chunked streams of compressed packs. One deflate and one
// inflate stream serve every chunk of a pack (reset between chunks instead of set up
// anew), together with the two chunk buffers, so that a pack of thousands of entries
// allocates its coding state once.
class SChunkCoder
{
public:
    SChunkCoder();
    // Ends both zlib streams and frees the buffers.
    ~SChunkCoder();

    SChunkCoder(const SChunkCoder&) = delete;
    SChunkCoder& operator=(const SChunkCoder&) = delete;

    // Compresses rawLength bytes into packed (room for capacity bytes) exactly as zlib
    // `compress` does (zlib format, default level); false when zlib fails or the
    // result does not fit.
    bool Pack(const uint8_t* raw, int rawLength, uint8_t* packed, int capacity, int* packedLength);
    // Packs one chunk and writes its raw length, packed length and bytes to target;
    // returns the bytes written, 0 when it cannot be packed or target takes less than given.
    int WriteChunk(const uint8_t* raw, int rawLength, SFile* target);
    // Writes length bytes to target as a chunked zlib stream (the chunk count, then each
    // chunk's raw and packed lengths and bytes); returns the bytes written, 0 when a chunk
    // cannot be packed or target takes less than given.
    int WriteChunks(const uint8_t* data, int length, SFile* target);
    // Decodes one zlib stream of packedLength bytes that must give exactly rawLength
    // bytes into raw; false for damaged data or any other length.
    bool Unpack(const uint8_t* packed, int packedLength, uint8_t* raw, int rawLength);

    // A buffer of one decoded chunk, null when it cannot be allocated.
    uint8_t* GetRawBuffer();
    // A buffer of one packed chunk, null when it cannot be allocated.
    uint8_t* GetPackedBuffer();
    // A buffer of at least size bytes for a whole stored entry, kept and grown from
    // entry to entry; null when it cannot be allocated.
    uint8_t* GetEntryBuffer(int size);
    // A buffer of at least size bytes for decoded chunks on their way to a file, kept and
    // grown like the entry buffer; null when it cannot be allocated.
    uint8_t* GetOutputBuffer(int size);

private:
    z_stream_s* m_deflate;
    z_stream_s* m_inflate;
    uint8_t* m_raw;
    uint8_t* m_packed;
    uint8_t* m_entry;
    int m_entrySize;
    uint8_t* m_output;
    int m_outputSize;
};
