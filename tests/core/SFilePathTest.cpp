#include <gtest/gtest.h>

#include <string.h>
#include <zlib.h>
#include <string>
#include <windows.h>

#include "SFileMem.h"
#include "SFilePath.h"

#include "SFileTestSupport.h"

using namespace file_test;

namespace {

// A scratch file of these tests.
struct Scratch : ScratchFile
{
    explicit Scratch(const char* name) : ScratchFile("melvora-path-", name) {}
};

} // namespace

TEST(SFilePath, OpenModes)
{
    Scratch existing("modes.txt");
    ASSERT_TRUE(WriteFileBytes(existing.path, "0123456789"));
    Scratch missing("missing.txt");
    struct Case
    {
        const std::string* path;
        bool write, truncate, read;
        bool opens;
        int size;
    };
    const std::string empty;
    const Case cases[] = {
        {&missing.path, true, false, true, false, 0},  // "r+b" does not create
        {&missing.path, false, false, true, false, 0}, // "rb"
        {&existing.path, false, false, false, false, 0},
        {&empty, true, true, true, false, 0},
        {&existing.path, false, false, true, true, 10},
        {&existing.path, true, false, true, true, 10},
        {&existing.path, true, false, false, true, 10}, // "ab" keeps the content
        {&existing.path, true, true, true, true, 0},    // "w+b" empties it
    };
    for (const Case& c : cases)
    {
        SFilePath file;
        EXPECT_EQ(file.Open(c.path->c_str(), c.write, c.truncate, c.read), c.opens) << *c.path << c.write << c.read;
        EXPECT_EQ(file.IsOpen(), c.opens);
        EXPECT_EQ(file.GetSize(), c.size);
        EXPECT_EQ(std::string(file.GetPath()), c.opens ? *c.path : std::string());
    }
    EXPECT_FALSE(PathExists(missing.path));
}

TEST(SFilePath, ClosedStreamAnswersEmpty)
{
    SFilePath file;
    char buffer[4];
    uint32_t crc = 0;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.IsEof());
    EXPECT_EQ(file.Write("abc", 3), 0);
    EXPECT_EQ(file.ReadBounded(buffer, 4), 0);
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_EQ(file.Seek(3), 0);
    EXPECT_FALSE(file.SetSize(3));
    EXPECT_FALSE(file.GetCrc32(&crc));
    EXPECT_EQ(std::string(file.GetSha1()), "");
    EXPECT_EQ(std::string(file.ReadLine()), "");
}

TEST(SFilePath, AppendModeWritesAtTheEnd)
{
    Scratch scratch("append.txt");
    ASSERT_TRUE(WriteFileBytes(scratch.path, "start"));
    {
        SFilePath file(scratch.path.c_str(), true, false, false);
        ASSERT_TRUE(file.IsOpen());
        file.Seek(0);
        EXPECT_EQ(file.WriteText("+more"), 5);
        file.Seek(1);
        EXPECT_EQ(file.WriteLine("!"), 3);
        // Nothing can be read back from a write-only file, so its checksum fails.
        uint32_t crc = 0;
        EXPECT_FALSE(file.GetCrc32(&crc));
        EXPECT_EQ(std::string(file.GetMd5()), "");
    }
    EXPECT_EQ(ReadFileBytes(scratch.path), "start+more!\r\n");
}

TEST(SFilePath, SwitchesBetweenReadingAndWriting)
{
    Scratch scratch("update.txt");
    ASSERT_TRUE(WriteFileBytes(scratch.path, "0123456789"));
    SFilePath file;
    ASSERT_TRUE(file.Open(scratch.path.c_str(), true, false, true));
    EXPECT_EQ(file.WriteText("abc"), 3);
    EXPECT_EQ(std::string(file.ReadString(3)), "345");
    EXPECT_EQ(file.WriteText("XY"), 2);
    EXPECT_EQ(file.Tell(), 8);
    EXPECT_EQ(file.ReadByte(), '8');
    EXPECT_EQ(file.WriteU32(0x44434241u), 4);
    EXPECT_EQ(file.GetSize(), 13);
    file.Rewind();
    EXPECT_EQ(std::string(file.ReadString()), "abc345XY8ABCD");
    file.Close();
    EXPECT_EQ(ReadFileBytes(scratch.path), "abc345XY8ABCD");
}

TEST(SFilePath, TemporaryFileLivesUntilClose)
{
    SFilePath file;
    ASSERT_TRUE(file.OpenTemp());
    std::string temp(file.GetTempPath());
    EXPECT_TRUE(file.IsTemporary());
    EXPECT_EQ(std::string(file.GetPath()), "");
    EXPECT_TRUE(PathExists(temp));
    EXPECT_EQ(file.WriteLine("scratch"), 9);
    file.Rewind();
    EXPECT_EQ(std::string(file.ReadLine()), "scratch");
    file.Close();
    EXPECT_FALSE(PathExists(temp));
    EXPECT_FALSE(file.IsTemporary());
    EXPECT_EQ(std::string(file.GetTempPath()), "");
}

TEST(SFilePath, ReadLineDropsLoneBreaks)
{
    const ReadLineCase cases[] = {
        {"one\ntwo\nthree", true, -1, "onetwothree", false, 13},
        {"a\rb\r\nnext", true, -1, "ab", true, 5},
        {" \t padded \t\r\nx", false, -1, "padded", true, 13},
        {" \t padded \t\r\nx", true, -1, " \t padded \t", true, 13},
        {"abcdef\r\n", true, 3, "abc", false, 3},
        {"ab\r\ncd", true, 5, "ab", true, 4},
        {"ab\r\ncd", true, 0, "", false, 0},
        {"", true, -1, "", false, 0},
    };
    Scratch scratch("lines.txt");
    for (const ReadLineCase& c : cases)
    {
        ASSERT_TRUE(WriteFileBytes(scratch.path, c.text));
        SFilePath file(scratch.path.c_str(), false, false, true);
        ExpectReadLine(file, c);
    }
}

TEST(SFilePath, ReadZStringAndFind)
{
    Scratch scratch("zstring.bin");
    ASSERT_TRUE(WriteFileBytes(scratch.path, std::string("key\0value\0aab", 13)));
    SFilePath file(scratch.path.c_str(), false, false, true);
    EXPECT_EQ(std::string(file.ReadZString(true)), "key");
    EXPECT_EQ(std::string(file.ReadZString(false)), "");
    EXPECT_EQ(file.Tell(), 10);
    EXPECT_EQ(file.FindText("ab", false), 11);
    EXPECT_EQ(file.Tell(), 13);
    EXPECT_EQ(std::string(file.ReadZString(true)), "");
    file.Rewind();
    EXPECT_EQ(file.FindText("value", true), 9);
    EXPECT_EQ(file.FindText("abc", true), -1);
    file.Seek(1);
    EXPECT_EQ(file.FindText("key", true), -1);
    EXPECT_EQ(file.Seek(-1), 13);
    EXPECT_EQ(file.Seek(100), 13);
}

TEST(SFilePath, SetSizeTruncatesAndExtends)
{
    Scratch scratch("size.bin");
    SFilePath file(scratch.path.c_str(), true, true, true);
    file.WriteText("0123456789");
    EXPECT_EQ(file.Tell(), 10);
    EXPECT_TRUE(file.SetSize(4));
    EXPECT_EQ(file.Tell(), 4);
    EXPECT_EQ(file.GetSize(), 4);
    EXPECT_TRUE(file.SetSize(6));
    EXPECT_EQ(file.GetSize(), 6);
    file.Rewind();
    SString text = file.ReadString(-1);
    ASSERT_EQ(text.GetLength(), 6);
    EXPECT_EQ(memcmp(text.GetBuffer(), "0123\0\0", 6), 0);
}

TEST(SFilePath, UniTextAndU32RoundTrip)
{
    Scratch scratch("uni.bin");
    SFilePath file(scratch.path.c_str(), true, true, true);
    EXPECT_EQ(file.WriteUniText(L"w\x00e9\x20ac"), 6);
    EXPECT_EQ(file.WriteUniText(L"", -1), 0);
    file.Write("x", 1);
    file.Rewind();
    EXPECT_EQ(wcscmp(file.ReadUniString(-1), L"w\x00e9\x20ac"), 0);
    EXPECT_EQ(file.GetRemaining(), 1);
    file.Seek(5);
    EXPECT_EQ(file.ReadU32(), 0x7820u);
}

TEST(SFilePath, ChecksumsMatchMemoryAndKeepThePosition)
{
    Scratch scratch("sums.bin");
    std::string bytes;
    for (int i = 0; i < 1234; i++)
        bytes.push_back((char)(i * 31));
    ASSERT_TRUE(WriteFileBytes(scratch.path, bytes));
    SFileMem memory;
    ASSERT_TRUE(memory.LoadFromFile(scratch.path.c_str()));
    SFilePath file(scratch.path.c_str(), false, false, true);
    file.Seek(321);
    uint32_t fileCrc = 0, memoryCrc = 1;
    ASSERT_TRUE(file.GetCrc32(&fileCrc));
    ASSERT_TRUE(memory.GetCrc32(&memoryCrc));
    EXPECT_EQ(fileCrc, memoryCrc);
    EXPECT_EQ(std::string(file.GetMd5()), std::string(memory.GetMd5()));
    EXPECT_EQ(std::string(file.GetSha1()), std::string(memory.GetSha1()));
    EXPECT_EQ(file.Tell(), 321);

    Scratch empty("empty.bin");
    ASSERT_TRUE(WriteFileBytes(empty.path, ""));
    SFilePath emptyFile(empty.path.c_str(), false, false, true);
    EXPECT_TRUE(emptyFile.GetCrc32(&fileCrc));
    EXPECT_EQ(fileCrc, 0u);
}

TEST(SFilePath, CopiesBetweenDiskAndMemory)
{
    Scratch scratch("copy.bin");
    std::string bytes;
    for (int i = 0; i < 2345; i++)
        bytes.push_back((char)(i % 251));
    ASSERT_TRUE(WriteFileBytes(scratch.path, bytes));
    SFilePath source(scratch.path.c_str(), false, false, true);
    source.Seek(45);
    SFileMem target;
    EXPECT_EQ(target.CopyFrom(&source, -1), 2300);
    EXPECT_EQ(source.Tell(), 2345);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(target.GetBuffer()), 2300), bytes.substr(45));

    Scratch copy("copy2.bin");
    SFilePath out(copy.path.c_str(), true, true, false);
    target.Seek(100);
    EXPECT_EQ(out.CopyFrom(&target, 1500), 1500);
    EXPECT_EQ(target.Tell(), 1600);
    out.Close();
    EXPECT_EQ(ReadFileBytes(copy.path), bytes.substr(145, 1500));
}

TEST(SFilePath, SharedOpenLetsAnotherStreamIn)
{
    Scratch scratch("shared.txt");
    SFilePath writer;
    ASSERT_TRUE(writer.Open(scratch.path.c_str(), true, true, false, true));
    writer.WriteLine("hello");
    writer.Seek(0);
    SFilePath reader;
    ASSERT_TRUE(reader.Open(scratch.path.c_str(), false, false, true, true));
    EXPECT_EQ(std::string(reader.ReadLine()), "hello");
}

TEST(SFilePath, ReadCompressedFailsWhenTheTargetCannotWrite)
{
    const char text[] = "decoded bytes that have nowhere to go";
    uLongf length = compressBound(sizeof(text));
    std::string packed(length, 0);
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(&packed[0]), &length, reinterpret_cast<const Bytef*>(text), sizeof(text)),
                        Z_OK);
    SFileMem source;
    source.WriteU32(1);
    source.WriteU32(sizeof(text));
    source.WriteU32((uint32_t)length);
    source.Write(packed.data(), (int)length);
    source.Rewind();

    Scratch scratch("readonly.bin");
    ASSERT_TRUE(WriteFileBytes(scratch.path, ""));
    SFilePath readOnly(scratch.path.c_str(), false, false, true);
    EXPECT_EQ(source.ReadCompressed(&readOnly, 0), 0);
    source.Rewind();
    SFilePath writable(scratch.path.c_str(), true, true, true);
    EXPECT_EQ(source.ReadCompressed(&writable, 0), (int)sizeof(text));
    EXPECT_EQ(writable.GetSize(), (int)sizeof(text));
}
