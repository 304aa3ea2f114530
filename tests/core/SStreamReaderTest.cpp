#include <gtest/gtest.h>

#include <string>

#include "SFileMem.h"
#include "SFilePath.h"
#include "SFileTestSupport.h"
#include "SStreamReader.h"

namespace
{
using file_test::CountingFile;
using file_test::Fill;
using file_test::ScratchFile;
using file_test::WriteFileBytes;

std::string Bytes(size_t length)
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; i++)
        bytes[i] = (char)(i * 7 + i / 251);
    return bytes;
}

std::string ReadPiece(SStreamReader& reader, int bytes)
{
    std::string out(bytes > 0 ? (size_t)bytes : 0, '\0');
    int got = reader.Read(out.empty() ? nullptr : &out[0], bytes);
    out.resize(got > 0 ? (size_t)got : 0);
    return out;
}
}

TEST(SStreamReader, ReadsPiecesAcrossTheWindowsEdges)
{
    std::string content = Bytes(1000);
    CountingFile file;
    Fill(file, content);
    SStreamReader reader(&file, 64);
    ASSERT_TRUE(reader.IsValid());
    EXPECT_EQ(reader.GetSize(), 1000);
    EXPECT_EQ(reader.GetWindowSize(), 64);
    // Pieces smaller than, equal to and larger than the window, and one past the end.
    size_t at = 0;
    for (int piece : {1, 63, 64, 65, 3, 200, 64, 500, 100})
    {
        std::string expected = content.substr(at, (size_t)piece);
        EXPECT_EQ(ReadPiece(reader, piece), expected) << "piece of " << piece << " at " << at;
        at += expected.size();
        EXPECT_EQ(reader.Tell(), (int)at);
    }
    EXPECT_EQ(reader.GetRemaining(), 0);
    EXPECT_EQ(ReadPiece(reader, 10), "");
}

TEST(SStreamReader, PeekHoldsAtMostAWindowAndDoesNotMove)
{
    std::string content = Bytes(300);
    CountingFile file;
    Fill(file, content);
    SStreamReader reader(&file, 100);
    struct Case
    {
        int position;
        int bytes;
        int expected;
    };
    const Case cases[] = {
        {0, 10, 10}, {95, 10, 10}, {0, 150, 100}, {250, 100, 50}, {300, 4, 0}, {290, 0, 0},
    };
    for (const Case& c : cases)
    {
        reader.Seek(c.position);
        const uint8_t* data = nullptr;
        int got = reader.Peek(c.bytes, &data);
        EXPECT_EQ(got, c.expected) << c.position << " " << c.bytes;
        if (got > 0)
        {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), (size_t)got),
                      content.substr((size_t)c.position, (size_t)got));
        }
        EXPECT_EQ(reader.Tell(), c.position);
    }
}

TEST(SStreamReader, ReadsTheStreamOncePerWindow)
{
    std::string content = Bytes(4096);
    CountingFile file;
    Fill(file, content);
    file.reads = 0;
    file.seeks = 0;
    SStreamReader reader(&file, 1024);
    // A walk of small fields and forward skips inside the windows.
    uint32_t value = 0;
    int fields = 0;
    while (reader.ReadU32(&value))
    {
        fields++;
        reader.Skip(12);
    }
    EXPECT_EQ(fields, 256);
    EXPECT_EQ(file.reads, 4);
    // Reading on from where the last read stopped needs no seek.
    EXPECT_EQ(file.seeks, 0);
    // Seeking only moves the reader; the stream is read when bytes are wanted.
    file.reads = 0;
    EXPECT_EQ(reader.Seek(-5), 0);
    EXPECT_EQ(reader.Seek(5000), 4096);
    EXPECT_EQ(file.reads, 0);
    // A read longer than the window goes straight into the buffer.
    reader.Seek(100);
    EXPECT_EQ(ReadPiece(reader, 3000), content.substr(100, 3000));
    EXPECT_EQ(file.reads, 1);
}

TEST(SStreamReader, ValuesAtTheEndAndTheStreamPosition)
{
    CountingFile file;
    Fill(file, std::string("\x01\x02\x03\x04\x05\x06", 6) + "abc");
    file.Seek(2);
    SStreamReader reader(&file, 16);
    // The reader starts where the stream stands.
    EXPECT_EQ(reader.Tell(), 2);
    uint32_t value = 0;
    ASSERT_TRUE(reader.ReadU32(&value));
    EXPECT_EQ(value, 0x06050403u);
    // Three bytes left: no value, and the position stays.
    EXPECT_FALSE(reader.ReadU32(&value));
    EXPECT_EQ(reader.Tell(), 6);
    reader.SyncStream();
    EXPECT_EQ(file.Tell(), 6);
    EXPECT_EQ(ReadPiece(reader, 3), "abc");

    // No stream, or one that is not open, gives an invalid reader that reads nothing.
    SFileMem closed;
    SStreamReader none(&closed, 16);
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(ReadPiece(none, 4), "");
    SStreamReader null(nullptr, 16);
    EXPECT_FALSE(null.IsValid());
    EXPECT_FALSE(null.ReadU32(&value));
}

TEST(SStreamReader, ReadsADiskFile)
{
    ScratchFile scratch("melvora-reader-", "data.bin");
    std::string content = Bytes(70000);
    ASSERT_TRUE(WriteFileBytes(scratch.path, content));
    SFilePath file;
    ASSERT_TRUE(file.Open(scratch.path.c_str(), false, false, true, true));
    SStreamReader reader(&file, 4096);
    ASSERT_TRUE(reader.IsValid());
    EXPECT_EQ(reader.GetSize(), 70000);
    reader.Seek(60000);
    EXPECT_EQ(ReadPiece(reader, 100), content.substr(60000, 100));
    reader.Seek(10);
    EXPECT_EQ(ReadPiece(reader, 20000), content.substr(10, 20000));
    EXPECT_EQ(ReadPiece(reader, 50000), content.substr(20010));
}
