#include "SChecksum.h"

#include <string.h>

#include "SFile.h"
#include "SFileMem.h"

namespace {

// Sixteen tables for slicing-by-16: table 0 is the classic byte table, table k
// advances a byte that stands k positions further back.
struct Crc32Tables
{
    uint32_t table[16][256];

    Crc32Tables()
    {
        for (uint32_t n = 0; n < 256; n++)
        {
            uint32_t value = n;
            for (int bit = 0; bit < 8; bit++)
                value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
            table[0][n] = value;
        }
        for (int k = 1; k < 16; k++)
            for (int n = 0; n < 256; n++)
                table[k][n] = (table[k - 1][n] >> 8) ^ table[0][table[k - 1][n] & 0xFF];
    }
};

const Crc32Tables& GetCrc32Tables()
{
    static const Crc32Tables tables;
    return tables;
}

inline uint32_t LoadLe32(const uint8_t* bytes)
{
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16) |
                  ((uint32_t)bytes[3] << 24);
}

inline uint32_t LoadBe32(const uint8_t* bytes)
{
    return ((uint32_t)bytes[0] << 24) | ((uint32_t)bytes[1] << 16) | ((uint32_t)bytes[2] << 8) |
                  (uint32_t)bytes[3];
}

inline uint32_t RotateLeft(uint32_t value, int count)
{
    return (value << count) | (value >> (32 - count));
}

const uint32_t kMd5Sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

const int kMd5Shifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// Buffers bytes into 64-byte blocks for a block transform; shared by MD5 and SHA-1.
template <class Hash>
void FeedBlocks(Hash& hash, uint8_t* block, uint64_t& bitCount, const void* data, size_t length)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    size_t used = (size_t)((bitCount >> 3) & 63);
    bitCount += (uint64_t)length << 3;
    if (used > 0)
    {
        size_t take = 64 - used;
        if (take > length)
            take = length;
        memcpy(block + used, bytes, take);
        used += take;
        bytes += take;
        length -= take;
        if (used < 64)
            return;
        hash(block);
    }
    while (length >= 64)
    {
        hash(bytes);
        bytes += 64;
        length -= 64;
    }
    if (length > 0)
        memcpy(block, bytes, length);
}

// Reads a whole stream in 100-byte pieces through its operations and feeds a hash.
template <class Feed>
bool ReadWholeStream(SFile* stream, Feed feed)
{
    int saved = stream->Tell();
    stream->Rewind();
    int size = stream->GetSize();
    unsigned char piece[100];
    // Advancing by what was read, not by what was asked, never skips a byte of a short read.
    for (int offset = 0; offset < size;)
    {
        int got = stream->ReadBounded(piece, 100);
        if (got <= 0)
        {
            stream->Seek(saved);
            return false;
        }
        feed(piece, got);
        offset += got;
    }
    stream->Seek(saved);
    return true;
}

// Ends a message: the 0x80 byte, zeros up to 56 bytes into a block, then the
// message length in bits; MD5 writes the length and its digest little-endian,
// SHA-1 big-endian. The context is wiped afterwards.
template <class Hash>
void FinishDigest(Hash& hash, uint32_t* state, int words, uint8_t* block, uint64_t& bitCount, bool bigEndian,
                                    uint8_t* digest)
{
    uint64_t bits = bitCount;
    uint8_t tail[72] = {0x80};
    size_t used = (size_t)((bits >> 3) & 63);
    hash.Update(tail, used < 56 ? 56 - used : 120 - used);
    uint8_t length[8];
    for (int i = 0; i < 8; i++)
        length[i] = (uint8_t)(bits >> (bigEndian ? 56 - 8 * i : 8 * i));
    hash.Update(length, 8);
    for (int i = 0; i < words; i++)
        for (int j = 0; j < 4; j++)
            digest[4 * i + j] = (uint8_t)(state[i] >> (bigEndian ? 24 - 8 * j : 8 * j));
    memset(state, 0, sizeof(uint32_t) * (size_t)words);
    memset(block, 0, 64);
    bitCount = 0;
}

template <class Hash>
SString FinalHex(Hash& hash)
{
    uint8_t digest[Hash::kDigestBytes];
    hash.Final(digest);
    return DigestToHex(digest, Hash::kDigestBytes);
}

template <class Hash>
SString StreamHex(SFile* stream)
{
    if (stream == nullptr || !stream->IsOpen())
        return SString();
    Hash hash;
    if (!ReadWholeStream(stream, [&hash](const void* data, int length) { hash.Update(data, (size_t)length); }))
        return SString();
    return FinalHex(hash);
}

template <class Hash>
SString MemoryHex(SFileMem* stream)
{
    if (stream == nullptr || stream->GetBuffer() == nullptr)
        return SString();
    Hash hash;
    hash.Update(stream->GetBuffer(), (size_t)stream->GetSize());
    return FinalHex(hash);
}

} // namespace

const uint32_t* GetCrc32Table()
{
    return GetCrc32Tables().table[0];
}

uint32_t Crc32Update(uint32_t crc, const void* data, size_t length)
{
    const uint32_t(*t)[256] = GetCrc32Tables().table;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    while (length >= 16)
    {
        // The last twelve bytes do not depend on the register: look them up first so
        // that only four lookups sit on the chain from one block to the next.
        uint32_t two = LoadLe32(bytes + 4);
        uint32_t three = LoadLe32(bytes + 8);
        uint32_t four = LoadLe32(bytes + 12);
        uint32_t rest = (t[11][two & 0xFF] ^ t[10][(two >> 8) & 0xFF] ^ t[9][(two >> 16) & 0xFF] ^ t[8][two >> 24]) ^
                                        (t[7][three & 0xFF] ^ t[6][(three >> 8) & 0xFF] ^ t[5][(three >> 16) & 0xFF] ^ t[4][three >> 24]) ^
                                        (t[3][four & 0xFF] ^ t[2][(four >> 8) & 0xFF] ^ t[1][(four >> 16) & 0xFF] ^ t[0][four >> 24]);
        uint32_t one = LoadLe32(bytes) ^ crc;
        crc = rest ^ ((t[15][one & 0xFF] ^ t[14][(one >> 8) & 0xFF]) ^ (t[13][(one >> 16) & 0xFF] ^ t[12][one >> 24]));
        bytes += 16;
        length -= 16;
    }
    while (length-- > 0)
        crc = t[0][(crc ^ *bytes++) & 0xFF] ^ (crc >> 8);
    return crc;
}

uint32_t Crc32(const void* data, size_t length)
{
    return ~Crc32Update(0xFFFFFFFFu, data, length);
}

SMd5::SMd5()
{
    Init();
}

void SMd5::Init()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xEFCDAB89;
    m_state[2] = 0x98BADCFE;
    m_state[3] = 0x10325476;
    m_bitCount = 0;
    memset(m_block, 0, sizeof(m_block));
}

void SMd5::Transform(const uint8_t block[64])
{
    uint32_t words[16];
    for (int i = 0; i < 16; i++)
        words[i] = LoadLe32(block + 4 * i);
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    // Fully unrolled, the round functions, shifts and word indexes become constants.
#pragma GCC unroll 64
    for (int i = 0; i < 64; i++)
    {
        uint32_t f;
        int index;
        switch (i >> 4)
        {
        case 0: f = (b & c) | (~b & d); index = i; break;
        case 1: f = (d & b) | (~d & c); index = (5 * i + 1) & 15; break;
        case 2: f = b ^ c ^ d; index = (3 * i + 5) & 15; break;
        default: f = c ^ (b | ~d); index = (7 * i) & 15; break;
        }
        uint32_t next = d;
        d = c;
        c = b;
        b = b + RotateLeft(a + f + kMd5Sines[i] + words[index], kMd5Shifts[i >> 4][i & 3]);
        a = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void SMd5::Update(const void* data, size_t length)
{
    auto transform = [this](const uint8_t* block) { Transform(block); };
    FeedBlocks(transform, m_block, m_bitCount, data, length);
}

void SMd5::Final(uint8_t digest[16])
{
    FinishDigest(*this, m_state, 4, m_block, m_bitCount, false, digest);
}

SSha1::SSha1()
{
    Init();
}

void SSha1::Init()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xEFCDAB89;
    m_state[2] = 0x98BADCFE;
    m_state[3] = 0x10325476;
    m_state[4] = 0xC3D2E1F0;
    m_bitCount = 0;
    memset(m_block, 0, sizeof(m_block));
}

void SSha1::Transform(const uint8_t block[64])
{
    uint32_t words[80];
    for (int i = 0; i < 16; i++)
        words[i] = LoadBe32(block + 4 * i);
    for (int i = 16; i < 80; i++)
        words[i] = RotateLeft(words[i - 3] ^ words[i - 8] ^ words[i - 14] ^ words[i - 16], 1);
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3], e = m_state[4];
    // Five steps per pass with the roles of the registers rotated instead of moved.
    for (int i = 0; i < 20; i += 5)
    {
        e += RotateLeft(a, 5) + ((b & c) | (~b & d)) + 0x5A827999 + words[i]; b = RotateLeft(b, 30);
        d += RotateLeft(e, 5) + ((a & b) | (~a & c)) + 0x5A827999 + words[i + 1]; a = RotateLeft(a, 30);
        c += RotateLeft(d, 5) + ((e & a) | (~e & b)) + 0x5A827999 + words[i + 2]; e = RotateLeft(e, 30);
        b += RotateLeft(c, 5) + ((d & e) | (~d & a)) + 0x5A827999 + words[i + 3]; d = RotateLeft(d, 30);
        a += RotateLeft(b, 5) + ((c & d) | (~c & e)) + 0x5A827999 + words[i + 4]; c = RotateLeft(c, 30);
    }
    for (int i = 20; i < 40; i += 5)
    {
        e += RotateLeft(a, 5) + (b ^ c ^ d) + 0x6ED9EBA1 + words[i]; b = RotateLeft(b, 30);
        d += RotateLeft(e, 5) + (a ^ b ^ c) + 0x6ED9EBA1 + words[i + 1]; a = RotateLeft(a, 30);
        c += RotateLeft(d, 5) + (e ^ a ^ b) + 0x6ED9EBA1 + words[i + 2]; e = RotateLeft(e, 30);
        b += RotateLeft(c, 5) + (d ^ e ^ a) + 0x6ED9EBA1 + words[i + 3]; d = RotateLeft(d, 30);
        a += RotateLeft(b, 5) + (c ^ d ^ e) + 0x6ED9EBA1 + words[i + 4]; c = RotateLeft(c, 30);
    }
    for (int i = 40; i < 60; i += 5)
    {
        e += RotateLeft(a, 5) + ((b & c) | (b & d) | (c & d)) + 0x8F1BBCDC + words[i]; b = RotateLeft(b, 30);
        d += RotateLeft(e, 5) + ((a & b) | (a & c) | (b & c)) + 0x8F1BBCDC + words[i + 1]; a = RotateLeft(a, 30);
        c += RotateLeft(d, 5) + ((e & a) | (e & b) | (a & b)) + 0x8F1BBCDC + words[i + 2]; e = RotateLeft(e, 30);
        b += RotateLeft(c, 5) + ((d & e) | (d & a) | (e & a)) + 0x8F1BBCDC + words[i + 3]; d = RotateLeft(d, 30);
        a += RotateLeft(b, 5) + ((c & d) | (c & e) | (d & e)) + 0x8F1BBCDC + words[i + 4]; c = RotateLeft(c, 30);
    }
    for (int i = 60; i < 80; i += 5)
    {
        e += RotateLeft(a, 5) + (b ^ c ^ d) + 0xCA62C1D6 + words[i]; b = RotateLeft(b, 30);
        d += RotateLeft(e, 5) + (a ^ b ^ c) + 0xCA62C1D6 + words[i + 1]; a = RotateLeft(a, 30);
        c += RotateLeft(d, 5) + (e ^ a ^ b) + 0xCA62C1D6 + words[i + 2]; e = RotateLeft(e, 30);
        b += RotateLeft(c, 5) + (d ^ e ^ a) + 0xCA62C1D6 + words[i + 3]; d = RotateLeft(d, 30);
        a += RotateLeft(b, 5) + (c ^ d ^ e) + 0xCA62C1D6 + words[i + 4]; c = RotateLeft(c, 30);
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
}

void SSha1::Update(const void* data, size_t length)
{
    auto transform = [this](const uint8_t* block) { Transform(block); };
    FeedBlocks(transform, m_block, m_bitCount, data, length);
}

void SSha1::Final(uint8_t digest[20])
{
    FinishDigest(*this, m_state, 5, m_block, m_bitCount, true, digest);
}

SString DigestToHex(const uint8_t* digest, int length)
{
    static const char digits[] = "0123456789ABCDEF";
    SString text;
    if (digest == nullptr || length <= 0)
        return text;
    text.SetLength(2 * length, 0);
    char* out = text.GetBuffer();
    for (int i = 0; i < length; i++)
    {
        out[2 * i] = digits[digest[i] >> 4];
        out[2 * i + 1] = digits[digest[i] & 15];
    }
    return text;
}

bool GetStreamCrc32(SFile* stream, uint32_t* out)
{
    if (stream == nullptr || !stream->IsOpen())
        return false;
    uint32_t crc = 0xFFFFFFFFu;
    if (out != nullptr)
        *out = crc;
    bool ok = ReadWholeStream(stream, [&crc](const void* data, int length) {
        crc = Crc32Update(crc, data, (size_t)length);
    });
    if (out != nullptr)
        *out = ok ? ~crc : crc;
    return ok;
}

bool GetMemoryCrc32(SFileMem* stream, uint32_t* out)
{
    if (stream == nullptr || stream->GetBuffer() == nullptr)
        return false;
    uint32_t crc = Crc32(stream->GetBuffer(), (size_t)stream->GetSize());
    if (out != nullptr)
        *out = crc;
    return true;
}

SString GetStreamMd5Hex(SFile* stream)
{
    return StreamHex<SMd5>(stream);
}

SString GetMemoryMd5Hex(SFileMem* stream)
{
    return MemoryHex<SMd5>(stream);
}

SString GetStreamSha1Hex(SFile* stream)
{
    return StreamHex<SSha1>(stream);
}

SString GetMemorySha1Hex(SFileMem* stream)
{
    return MemoryHex<SSha1>(stream);
}
