#pragma once

#include <stddef.h>
#include <stdint.h>

#include "SString.h"

class SFile;
class SFileMem;

// The shared 256-entry CRC-32 table (reflected polynomial 0xEDB88320).
const uint32_t* GetCrc32Table();

// Feeds bytes into a running CRC-32 register (start with 0xFFFFFFFF, complement at the end).
uint32_t Crc32Update(uint32_t crcRegister, const void* data, size_t length);

// CRC-32 of one block of bytes.
uint32_t Crc32(const void* data, size_t length);

// MD5 context (RFC 1321).
class SMd5
{
public:
    // Bytes of a finished digest.
    static const int kDigestBytes = 16;

    SMd5();
    // Starts a new digest.
    void Init();
    // Feeds bytes into the digest.
    void Update(const void* data, size_t length);
    // Finishes the digest into 16 bytes and wipes the context.
    void Final(uint8_t digest[16]);

private:
    void Transform(const uint8_t block[64]);

    uint32_t m_state[4];
    uint64_t m_bitCount;
    uint8_t m_block[64];
};

// SHA-1 context (FIPS 180-1).
class SSha1
{
public:
    // Bytes of a finished digest.
    static const int kDigestBytes = 20;

    SSha1();
    // Starts a new digest.
    void Init();
    // Feeds bytes into the digest.
    void Update(const void* data, size_t length);
    // Finishes the digest into 20 bytes and wipes the context.
    void Final(uint8_t digest[20]);

private:
    void Transform(const uint8_t block[64]);

    uint32_t m_state[5];
    uint64_t m_bitCount;
    uint8_t m_block[64];
};

// Digest bytes as upper-case hexadecimal text, two digits per byte.
SString DigestToHex(const uint8_t* digest, int length);

// CRC-32 of a whole stream read through its operations; the position is kept.
bool GetStreamCrc32(SFile* stream, uint32_t* out);
// CRC-32 of a memory file's buffer.
bool GetMemoryCrc32(SFileMem* stream, uint32_t* out);
// MD5 of a whole stream as 32 upper-case hex digits; "" on failure.
SString GetStreamMd5Hex(SFile* stream);
// MD5 of a memory file's buffer as 32 upper-case hex digits; "" without a buffer.
SString GetMemoryMd5Hex(SFileMem* stream);
// SHA-1 of a whole stream as 40 upper-case hex digits; "" on failure.
SString GetStreamSha1Hex(SFile* stream);
// SHA-1 of a memory file's buffer as 40 upper-case hex digits; "" without a buffer.
SString GetMemorySha1Hex(SFileMem* stream);
