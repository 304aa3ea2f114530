#include <gtest/gtest.h>

#include <algorithm>
#include <string.h>
#include <string>
#include <vector>
#include <zlib.h>

#include "SChecksum.h"
#include "SFileMem.h"

namespace {

// The digest of a text as hex, computed in one update.
template <class Hash>
std::string DigestOf(const std::string& text)
{
    Hash hash;
    hash.Update(text.data(), text.size());
    uint8_t digest[Hash::kDigestBytes];
    hash.Final(digest);
    return std::string(DigestToHex(digest, Hash::kDigestBytes));
}

std::vector<uint8_t> PseudoRandomBytes(size_t count, uint32_t seed)
{
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; i++)
    {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = (uint8_t)(seed >> 16);
    }
    return bytes;
}

// A memory stream that hands out at most 7 bytes per read, as a pipe or a
// network stream may.
class TrickleStream : public SFileMem
{
public:
    int ReadBounded(void* buffer, int bytes) override { return SFileMem::ReadBounded(buffer, bytes < 7 ? bytes : 7); }
};

} // namespace

TEST(SChecksum, Crc32StandardCheckValue)
{
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("", 0), 0u);
    EXPECT_EQ(GetCrc32Table()[1], 0x77073096u);
    EXPECT_EQ(GetCrc32Table()[255], 0x2D02EF8Du);
}

TEST(SChecksum, Crc32AgreesWithZlibOnEveryLengthAndAlignment)
{
    std::vector<uint8_t> bytes = PseudoRandomBytes(300, 7);
    for (size_t offset = 0; offset < 8; offset++)
        for (size_t length = 0; length + offset <= bytes.size(); length += 13)
        {
            uint32_t expected = (uint32_t)crc32(0, bytes.data() + offset, (uInt)length);
            ASSERT_EQ(Crc32(bytes.data() + offset, length), expected) << offset << " " << length;
        }
    // Feeding in uneven pieces gives the same register as one call.
    uint32_t crc = 0xFFFFFFFFu;
    size_t done = 0;
    for (size_t piece = 1; done < bytes.size(); piece += 5)
    {
        size_t take = std::min(piece, bytes.size() - done);
        crc = Crc32Update(crc, bytes.data() + done, take);
        done += take;
    }
    EXPECT_EQ(~crc, (uint32_t)crc32(0, bytes.data(), (uInt)bytes.size()));
}

TEST(SChecksum, Md5MatchesReferenceVectors)
{
    struct Case
    {
        const char* text;
        const char* digest;
    };
    const Case cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
          "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DigestOf<SMd5>(c.text), c.digest) << c.text;
}

TEST(SChecksum, Sha1MatchesReferenceVectors)
{
    EXPECT_EQ(DigestOf<SSha1>("abc"), "A9993E364706816ABA3E25717850C26C9CD0D89D");
    EXPECT_EQ(DigestOf<SSha1>("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
                        "84983E441C3BD26EBAAE4AA1F95129E5E54670F1");
    EXPECT_EQ(DigestOf<SSha1>(""), "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");
    // One million 'a', fed in pieces that do not line up with the 64-byte blocks.
    SSha1 sha1;
    std::string piece(1000, 'a');
    for (int i = 0; i < 1000; i++)
        sha1.Update(piece.data(), piece.size());
    uint8_t digest[20];
    sha1.Final(digest);
    EXPECT_EQ(std::string(DigestToHex(digest, 20)), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
}

TEST(SChecksum, PiecewiseUpdatesEqualOneUpdate)
{
    std::vector<uint8_t> bytes = PseudoRandomBytes(1000, 3);
    std::string whole(bytes.begin(), bytes.end());
    SMd5 md5;
    SSha1 sha1;
    size_t piece = 1;
    for (size_t done = 0; done < bytes.size(); piece = piece * 2 + 1)
    {
        size_t take = std::min(piece, bytes.size() - done);
        md5.Update(bytes.data() + done, take);
        sha1.Update(bytes.data() + done, take);
        done += take;
    }
    uint8_t md5Digest[16], sha1Digest[20];
    md5.Final(md5Digest);
    sha1.Final(sha1Digest);
    EXPECT_EQ(std::string(DigestToHex(md5Digest, 16)), DigestOf<SMd5>(whole));
    EXPECT_EQ(std::string(DigestToHex(sha1Digest, 20)), DigestOf<SSha1>(whole));
}

TEST(SChecksum, MemoryVariantsNeedABuffer)
{
    SFileMem stream;
    uint32_t crc = 1;
    EXPECT_FALSE(GetMemoryCrc32(&stream, &crc));
    EXPECT_EQ(std::string(GetMemoryMd5Hex(&stream)), "");
    EXPECT_EQ(std::string(GetMemorySha1Hex(&stream)), "");
    EXPECT_FALSE(GetMemoryCrc32(nullptr, &crc));
    EXPECT_EQ(std::string(GetStreamMd5Hex(nullptr)), "");

    ASSERT_TRUE(stream.Allocate(0));
    EXPECT_TRUE(GetMemoryCrc32(&stream, &crc));
    EXPECT_EQ(crc, 0u);
    EXPECT_EQ(std::string(GetMemoryMd5Hex(&stream)), "D41D8CD98F00B204E9800998ECF8427E");
}

TEST(SChecksum, StreamAndMemoryVariantsAgreeAndKeepThePosition)
{
    std::vector<uint8_t> bytes = PseudoRandomBytes(1234, 11);
    SFileMem stream;
    stream.Write(bytes.data(), (int)bytes.size());
    stream.Seek(77);
    uint32_t streamCrc = 0, memoryCrc = 0;
    ASSERT_TRUE(GetStreamCrc32(&stream, &streamCrc));
    ASSERT_TRUE(GetMemoryCrc32(&stream, &memoryCrc));
    EXPECT_EQ(streamCrc, memoryCrc);
    EXPECT_EQ(streamCrc, Crc32(bytes.data(), bytes.size()));
    EXPECT_EQ(std::string(GetStreamMd5Hex(&stream)), std::string(GetMemoryMd5Hex(&stream)));
    SString sha1 = GetStreamSha1Hex(&stream);
    EXPECT_EQ(std::string(sha1), std::string(GetMemorySha1Hex(&stream)));
    EXPECT_EQ(sha1.GetLength(), 40);
    EXPECT_EQ(stream.Tell(), 77);
}

TEST(SChecksum, StreamVariantsTakeShortReads)
{
    std::vector<uint8_t> bytes = PseudoRandomBytes(1000, 5);
    TrickleStream stream;
    stream.Write(bytes.data(), (int)bytes.size());
    SFileMem whole;
    whole.Write(bytes.data(), (int)bytes.size());
    uint32_t crc = 0;
    ASSERT_TRUE(GetStreamCrc32(&stream, &crc));
    EXPECT_EQ(crc, Crc32(bytes.data(), bytes.size()));
    EXPECT_EQ(std::string(GetStreamMd5Hex(&stream)), std::string(GetMemoryMd5Hex(&whole)));
    EXPECT_EQ(std::string(GetStreamSha1Hex(&stream)), std::string(GetMemorySha1Hex(&whole)));
}
