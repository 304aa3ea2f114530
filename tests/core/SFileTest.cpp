#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>
#include <zlib.h>

#include "SFileMem.h"

#include "SFileTestSupport.h"

using namespace file_test;

namespace {

std::string Pattern(size_t count)
{
    std::string bytes(count, 0);
    for (size_t i = 0; i < count; i++)
        bytes[i] = (char)((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// One chunk of a compressed stream: decoded length, packed length, zlib data.
struct Chunk
{
    std::string decoded;
    uint32_t announcedDecoded;
    uint32_t announcedPacked;
    std::string packed;
};

Chunk MakeChunk(const std::string& decoded)
{
    uLongf length = compressBound((uLong)decoded.size());
    std::string packed(length, 0);
    EXPECT_EQ(compress(reinterpret_cast<Bytef*>(&packed[0]), &length,
                                          reinterpret_cast<const Bytef*>(decoded.data()), (uLong)decoded.size()), Z_OK);
    packed.resize(length);
    return Chunk{decoded, (uint32_t)decoded.size(), (uint32_t)length, packed};
}

void WriteCompressed(SFileMem& file, const std::vector<Chunk>& chunks, uint32_t count)
{
    file.Allocate(0);
    file.WriteU32(count);
    for (const Chunk& chunk : chunks)
    {
        file.WriteU32(chunk.announcedDecoded);
        file.WriteU32(chunk.announcedPacked);
        file.Write(chunk.packed.data(), (int)chunk.packed.size());
    }
    file.Rewind();
}

std::vector<int> g_progress;
int g_stopAt = -1;

bool RecordProgress(int permille, INT_PTR user)
{
    EXPECT_EQ(user, (INT_PTR)42);
    g_progress.push_back(permille);
    return (int)g_progress.size() - 1 != g_stopAt;
}

} // namespace

TEST(SFile, SeekClampsToTheEnd)
{
    SFileMem file;
    Fill(file, "0123456789");
    EXPECT_EQ(file.Seek(-1), 10);
    EXPECT_EQ(file.Rewind(), 0);
    EXPECT_EQ(file.Seek(20), 10);
    EXPECT_EQ(file.Seek(4), 4);
    EXPECT_EQ(file.Skip(3), 7);
    EXPECT_EQ(file.SeekBack(5), 2);
    EXPECT_EQ(file.SeekBack(5), 0);
    EXPECT_EQ(file.SeekEnd(), 10);
    EXPECT_EQ(file.GetRemaining(), 0);
    EXPECT_EQ(file.ReadByte(), -1);
    file.Seek(3);
    EXPECT_EQ(file.ReadByte(), '3');
    EXPECT_EQ(*file.GetPositionPointer(), '4');
    EXPECT_EQ(file.IfOpen(), &file);
    file.Close();
    EXPECT_EQ(file.IfOpen(), nullptr);
}

TEST(SFile, U32IsLittleEndianAndShortReadsLeaveHighBytesZero)
{
    SFileMem file;
    EXPECT_EQ(file.WriteU32(0x11223344u), 4);
    EXPECT_EQ(Content(file), "\x44\x33\x22\x11");
    file.Write("\xAA\xBB", 2);
    file.Rewind();
    EXPECT_EQ(file.ReadU32(), 0x11223344u);
    EXPECT_EQ(file.ReadU32(), 0xBBAAu);
    EXPECT_EQ(file.ReadU32(), 0u);
}

TEST(SFile, FindTextReportsStartOrEnd)
{
    SFileMem file;
    Fill(file, "xabcx");
    EXPECT_EQ(file.FindText("abc", true), 4);
    EXPECT_EQ(file.Tell(), 4);
    file.Rewind();
    EXPECT_EQ(file.FindText("abc", false), 1);
    EXPECT_EQ(file.Tell(), 4);
    file.Rewind();
    EXPECT_EQ(file.FindText("cxy", false), -1);
    EXPECT_EQ(file.FindText(nullptr, false), -1);
}

TEST(SFile, ReadLineStringKeepsTheLineBreak)
{
    SFileMem file;
    Fill(file, "first\r\n  second \r\nthird");
    EXPECT_EQ(std::string(file.ReadLineString(true, -1)), "first\r\n");
    EXPECT_EQ(std::string(file.ReadLineString(false, -1)), "second\r\n");
    EXPECT_EQ(std::string(file.ReadLineString(false, -1)), "third");
    EXPECT_TRUE(file.IsEof());
}

TEST(SFile, WriteFillAndStringZ)
{
    SFileMem file;
    EXPECT_EQ(file.WriteFill('-', 250), 250);
    EXPECT_EQ(file.WriteFill('-', 0), 0);
    EXPECT_EQ(Content(file), std::string(250, '-'));
    EXPECT_EQ(file.WriteStringZ("ab"), 3);
    EXPECT_EQ(file.GetSize(), 253);
    EXPECT_EQ(file.GetBuffer()[252], 0);
    EXPECT_EQ(file.WriteText("xyz", 2), 2);
    EXPECT_EQ(file.WriteLine(""), 2);
    EXPECT_EQ(Content(file).substr(253), "xy\r\n");
}

TEST(SFile, WriteResourceAppendsModuleBytes)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SFileMem file;
    file.Write("head", 4);
    ASSERT_TRUE(file.WriteResource(MAKEINTRESOURCEA(16), 1, kernel));
    EXPECT_EQ(memcmp(file.GetBuffer() + 4 + 6, L"VS_VERSION_INFO", 30), 0);
    int size = file.GetSize();
    EXPECT_FALSE(file.WriteResource(MAKEINTRESOURCEA(16), 4321, kernel));
    EXPECT_FALSE(file.WriteResource("NOSUCHTYPE", 1, nullptr));
    EXPECT_EQ(file.GetSize(), size);
}

TEST(SFile, CopyFromCopiesWhatRemains)
{
    struct Case
    {
        int sourceSize;
        int start;
        int maxBytes;
        int copied;
    };
    const Case cases[] = {
        {2500, 0, -1, 2500}, {2500, 100, 5000, 2400}, {2500, 0, 0, 0}, {2500, 0, 1001, 1001}, {10, 10, -1, 0},
    };
    for (const Case& c : cases)
    {
        std::string bytes = Pattern((size_t)c.sourceSize);
        SFileMem source, target;
        Fill(source, bytes);
        source.Seek(c.start);
        target.Write("!", 1);
        EXPECT_EQ(target.CopyFrom(&source, c.maxBytes), c.copied) << c.maxBytes;
        EXPECT_EQ(source.Tell(), c.start + c.copied);
        EXPECT_EQ(Content(target), "!" + bytes.substr((size_t)c.start, (size_t)c.copied));
    }
    SFileMem target;
    EXPECT_EQ(target.CopyFrom(nullptr), 0);
    Fill(target, "self");
    EXPECT_EQ(target.CopyFrom(&target), 0);
    EXPECT_EQ(Content(target), "self");
}

TEST(SFile, ReadCompressedDecodesChunks)
{
    std::string first = Pattern(100000);
    std::string second = "tail of the package";
    SFileMem packed, target;
    WriteCompressed(packed, {MakeChunk(first), MakeChunk(second)}, 2);
    g_progress.clear();
    g_stopAt = -1;
    packed.SetProgressCallback(RecordProgress);
    EXPECT_EQ(packed.ReadCompressed(&target, 42), (int)(first.size() + second.size()));
    EXPECT_EQ(Content(target), first + second);
    EXPECT_EQ(g_progress, (std::vector<int>{0, 500}));
    EXPECT_TRUE(packed.IsEof());
    EXPECT_EQ(packed.ReadCompressed(nullptr), 0);
    // Decoding into the stream being read is refused and leaves it as it was.
    packed.Rewind();
    std::string before = Content(packed);
    EXPECT_EQ(packed.ReadCompressed(&packed, 42), 0);
    EXPECT_EQ(Content(packed), before);
}

TEST(SFile, ReadCompressedStopsWhenProgressSaysSo)
{
    SFileMem packed, target;
    WriteCompressed(packed, {MakeChunk("abc"), MakeChunk("def")}, 2);
    packed.SetProgressCallback(RecordProgress);
    g_progress.clear();
    g_stopAt = 0;
    EXPECT_EQ(packed.ReadCompressed(&target, 42), 0);
    EXPECT_EQ(target.GetSize(), 0);
    packed.Rewind();
    g_progress.clear();
    g_stopAt = 1;
    EXPECT_EQ(packed.ReadCompressed(&target, 42), 0);
    EXPECT_EQ(Content(target), "abc");
    EXPECT_EQ(packed.GetProgressCallback(), &RecordProgress);
    packed.SetProgressCallback(nullptr);
    packed.Rewind();
    EXPECT_EQ(packed.ReadCompressed(&target, 42), 6);
}

TEST(SFile, ReadCompressedRefusesDamagedInput)
{
    Chunk good = MakeChunk("good chunk data");
    std::string bigText = Pattern(100001);
    Chunk tooBig = MakeChunk(bigText);
    Chunk hugePacked = good;
    hugePacked.announcedPacked = 110013;
    Chunk beyondEnd = good;
    beyondEnd.announcedPacked = (uint32_t)good.packed.size() + 1;
    Chunk corrupt = good;
    corrupt.packed[corrupt.packed.size() / 2] ^= 0x55;
    corrupt.packed[corrupt.packed.size() - 1] ^= 0x55;
    Chunk shorter = good;
    shorter.announcedDecoded = (uint32_t)good.decoded.size() + 5;
    Chunk longer = good;
    longer.announcedDecoded = (uint32_t)good.decoded.size() - 5;
    Chunk emptyPacked = good;
    emptyPacked.announcedPacked = 0;
    emptyPacked.packed.clear();

    struct Case
    {
        const char* name;
        std::vector<Chunk> chunks;
        uint32_t count;
    };
    const Case cases[] = {
        {"decoded length over 100000", {good, tooBig}, 2},
        {"packed length over 110012", {hugePacked}, 1},
        {"packed length beyond the data", {beyondEnd}, 1},
        {"corrupt zlib data", {corrupt}, 1},
        {"fewer bytes than announced", {shorter}, 1},
        {"more bytes than announced", {longer}, 1},
        {"empty packed data", {emptyPacked}, 1},
        {"chunks missing at the end", {good}, 3},
        {"huge chunk count", {}, 0xFFFFFFFFu},
    };
    for (const Case& c : cases)
    {
        SFileMem packed, target;
        WriteCompressed(packed, c.chunks, c.count);
        EXPECT_EQ(packed.ReadCompressed(&target, 0), 0) << c.name;
        EXPECT_LE(target.GetSize(), (int)good.decoded.size()) << c.name;
    }
    // A header cut inside its fields.
    SFileMem cut, target;
    WriteCompressed(cut, {good}, 1);
    cut.SetSize(6);
    EXPECT_EQ(cut.ReadCompressed(&target, 0), 0);
    SFileMem empty;
    empty.Allocate(0);
    EXPECT_EQ(empty.ReadCompressed(&target, 0), 0);
    EXPECT_EQ(target.GetSize(), 0);
}
