#include <gtest/gtest.h>

#include <set>
#include <string.h>
#include <string>
#include <windows.h>

#include "SFileMem.h"

#include "SFileTestSupport.h"

using namespace file_test;

TEST(SFileMem, NewFileIsClosedUntilAllocated)
{
    SFileMem file;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.IsEof());
    EXPECT_TRUE(file.IsMemory());
    uint32_t crc = 5;
    EXPECT_FALSE(file.GetCrc32(&crc));
    EXPECT_EQ(std::string(file.GetMd5()), "");
    EXPECT_EQ(std::string(file.GetSha1()), "");
    EXPECT_EQ(std::string(file.ReadLine()), "");

    ASSERT_TRUE(file.Allocate(0));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_EQ(std::string(file.GetMd5()), "D41D8CD98F00B204E9800998ECF8427E");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetCapacity(), 0);
}

TEST(SFileMem, GrowsInBlocksOf1024)
{
    SFileMem file;
    EXPECT_EQ(file.Write("x", 1), 1);
    EXPECT_EQ(file.GetSize(), 1);
    EXPECT_EQ(file.GetCapacity(), 1024);
    EXPECT_EQ(file.WriteFill('y', 1022), 1022);
    EXPECT_EQ(file.GetCapacity(), 1024);
    EXPECT_EQ(file.Write("z", 1), 1);
    EXPECT_EQ(file.GetSize(), 1024);
    EXPECT_EQ(file.GetCapacity(), 2048);
    // Shrinking into a smaller block keeps the first bytes.
    EXPECT_TRUE(file.SetSize(3));
    EXPECT_EQ(file.GetCapacity(), 1024);
    EXPECT_EQ(Content(file), "xyy");
    EXPECT_EQ(file.Tell(), 3);
    // Sizes whose capacity would overflow are refused without change.
    EXPECT_FALSE(file.SetSize(0x7FFFFFFF));
    EXPECT_EQ(file.GetSize(), 3);
    file.Seek(3);
    EXPECT_EQ(file.Write("abc", 0x7FFFFFFF - 2), 0);
}

TEST(SFileMem, WritingPieceByPieceGrowsInProportion)
{
    // Each write's kind and piece length; the content must come back byte for byte
    // while the buffer is replaced only a few dozen times for megabytes.
    struct Case
    {
        const char* what;
        int pieceLength;
        int total;
    };
    const Case cases[] = {
        {"small pieces", 100, 3 << 20},
        {"block-sized pieces", 1024, 6 << 20},
        {"odd pieces", 4097, 5 << 20},
        {"lines", -1, 2 << 20},
    };
    for (const Case& c : cases)
    {
        SFileMem file;
        std::string expected;
        std::set<int> capacities;
        uint8_t value = 0;
        while ((int)expected.size() < c.total)
        {
            if (c.pieceLength < 0)
            {
                std::string line(61, (char)('a' + value++ % 26));
                ASSERT_EQ(file.WriteLine(line.c_str()), 63) << c.what;
                expected += line + "\r\n";
            }
            else
            {
                std::string piece((size_t)c.pieceLength, '\0');
                for (char& byte : piece)
                    byte = (char)value++;
                ASSERT_EQ(file.Write(piece.data(), c.pieceLength), c.pieceLength) << c.what;
                expected += piece;
            }
            ASSERT_EQ(file.GetSize(), (int)expected.size()) << c.what;
            ASSERT_EQ(file.Tell(), (int)expected.size()) << c.what;
            ASSERT_GT(file.GetCapacity(), file.GetSize()) << c.what;
            capacities.insert(file.GetCapacity());
        }
        EXPECT_EQ(Content(file), expected) << c.what;
        EXPECT_LE(capacities.size(), 40u) << c.what;
        // Setting the size fits the buffer to it again, in 1024-byte blocks.
        ASSERT_TRUE(file.SetSize(5000)) << c.what;
        EXPECT_EQ(file.GetCapacity(), 5120) << c.what;
        EXPECT_EQ(Content(file), expected.substr(0, 5000)) << c.what;
        EXPECT_EQ(file.Tell(), 5000) << c.what;
    }
}

TEST(SFileMem, WritesItsOwnBytesAcrossAReallocation)
{
    std::string bytes;
    for (int i = 0; i < 1000; i++)
        bytes.push_back((char)('a' + i % 26));
    SFileMem file;
    Fill(file, bytes);
    file.SeekEnd();
    EXPECT_EQ(file.Write(file.GetBuffer(), 1000), 1000);
    EXPECT_EQ(Content(file), bytes + bytes);

    Fill(file, bytes + std::string(1, '\0'));
    file.SeekEnd();
    EXPECT_EQ(file.WriteLine(reinterpret_cast<const char*>(file.GetBuffer())), 1002);
    EXPECT_EQ(Content(file), bytes + std::string(1, '\0') + bytes + "\r\n");
}

TEST(SFileMem, SetSizeClampsThePosition)
{
    SFileMem file;
    file.WriteFill(1, 60);
    file.Seek(50);
    EXPECT_TRUE(file.SetSize(0));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_TRUE(file.IsOpen());
    // Resize keeps the position inside the content too, so a gap opened there is safe.
    file.WriteFill(1, 3000);
    EXPECT_TRUE(file.Resize(10, true));
    EXPECT_EQ(file.Tell(), 10);
    EXPECT_TRUE(file.InsertGap(2, true));
    EXPECT_EQ(file.GetSize(), 12);
    EXPECT_EQ(file.Tell(), 12);
}

TEST(SFileMem, DeleteAtAndInsertGap)
{
    SFileMem file;
    Fill(file, "0123456789");
    file.Seek(7);
    EXPECT_FALSE(file.DeleteAt(5));
    EXPECT_FALSE(file.DeleteAt(0));
    EXPECT_EQ(Content(file), "0123456789");
    EXPECT_EQ(file.Tell(), 7);
    EXPECT_TRUE(file.DeleteAt(3));
    EXPECT_EQ(Content(file), "0123456");
    EXPECT_EQ(file.Tell(), 7);

    Fill(file, "0123456789");
    file.Seek(2);
    EXPECT_TRUE(file.InsertGap(4, true));
    EXPECT_EQ(file.GetSize(), 14);
    EXPECT_EQ(file.Tell(), 6);
    EXPECT_EQ(Content(file).substr(0, 2), "01");
    EXPECT_EQ(Content(file).substr(6), "23456789");
    file.Seek(0);
    EXPECT_TRUE(file.InsertGap(1, false));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_EQ(file.GetSize(), 15);
    EXPECT_FALSE(file.InsertGap(0, true));
}

TEST(SFileMem, ReadLineKeepsLoneLineFeeds)
{
    const ReadLineCase cases[] = {
        {"ab\ncd\r\nef", true, -1, "ab\ncd", true, 7},
        {"  a b\t\r\nx", false, -1, "a b", true, 8},
        {"  a b\t\r\nx", true, -1, "  a b\t", true, 8},
        {"last line", true, -1, "last line", false, 9},
        {"\r\nnext", true, -1, "", true, 2},
        {"abcdef\r\n", true, 3, "abc", false, 3},
        {"ab\r\ncd", true, 0, "", false, 0},
        {"a\rb\r\n", true, -1, "a\rb", true, 5},
    };
    for (const ReadLineCase& c : cases)
    {
        SFileMem file;
        Fill(file, c.text);
        ExpectReadLine(file, c);
    }
}

TEST(SFileMem, FindBytesNeedsTheWholePatternInside)
{
    SFileMem file;
    Fill(file, "xxabcxxab");
    EXPECT_EQ(file.FindText("abc", true), 5);
    EXPECT_EQ(file.FindText("ab", false), 7);
    EXPECT_EQ(file.Tell(), 9);
    file.Seek(8);
    EXPECT_EQ(file.FindText("abc", false), -1);
    EXPECT_EQ(file.Tell(), 9);
    file.Rewind();
    EXPECT_EQ(file.FindBytes("a", 0, true), -1);
}

TEST(SFileMem, ReadZStringAndStrings)
{
    SFileMem file;
    file.WriteStringZ("one");
    file.WriteStringZ("");
    file.WriteText("tail");
    EXPECT_EQ(file.GetSize(), 9);
    file.Rewind();
    EXPECT_EQ(std::string(file.ReadZString(true)), "one");
    EXPECT_EQ(file.Tell(), 4);
    EXPECT_EQ(std::string(file.ReadZString(true)), "");
    EXPECT_EQ(file.Tell(), 5);
    EXPECT_EQ(std::string(file.ReadZString(true)), "tail");
    EXPECT_EQ(file.Tell(), 9);
    EXPECT_TRUE(file.IsEof());
    file.Rewind();
    EXPECT_EQ(std::string(file.ReadZString(false)), "");
    EXPECT_EQ(file.Tell(), 4);
    SString two = file.ReadString(2);
    ASSERT_EQ(two.GetLength(), 2);
    EXPECT_EQ(two.GetAt(0), 0);
    EXPECT_EQ(two.GetAt(1), 't');
    EXPECT_EQ(std::string(file.ReadString(-1)), "ail");
    EXPECT_EQ(std::string(file.ReadString(5)), "");
}

TEST(SFileMem, UniTextRoundTripDropsAnOddByte)
{
    SFileMem file;
    EXPECT_EQ(file.WriteUniText(L"h\x00e9llo\x20ac"), 12);
    EXPECT_EQ(file.WriteUniText(L""), 0);
    file.Write("!", 1);
    const uint8_t expectedStart[] = {'h', 0, 0xE9, 0};
    EXPECT_EQ(memcmp(file.GetBuffer(), expectedStart, 4), 0);
    file.Rewind();
    SUniString two = file.ReadUniString(2);
    EXPECT_EQ(two.GetLength(), 2);
    EXPECT_EQ(wcscmp(two, L"h\x00e9"), 0);
    SUniString rest = file.ReadUniString(-1);
    EXPECT_EQ(wcscmp(rest, L"llo\x20ac"), 0);
    EXPECT_EQ(file.GetRemaining(), 1);
    EXPECT_EQ(file.ReadUniString(-1).GetLength(), 0);
}

TEST(SFileMem, SaveAndLoadRoundTrip)
{
    ScratchFile scratch("melvora-mem-", "save.bin");
    const std::string& path = scratch.path;
    SFileMem file;
    std::string bytes("a\0b\r\nc", 6);
    Fill(file, bytes);
    ASSERT_TRUE(file.SaveToFile(path.c_str()));

    SFileMem loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path.c_str()));
    EXPECT_EQ(Content(loaded), bytes);
    EXPECT_EQ(loaded.Tell(), 0);

    // A failed load keeps what was there.
    EXPECT_FALSE(loaded.LoadFromFile((path + ".missing").c_str()));
    EXPECT_FALSE(loaded.LoadFromFile(""));
    EXPECT_EQ(Content(loaded), bytes);
    EXPECT_FALSE(file.SaveToFile((path + ".missing\\sub\\x.bin").c_str()));
    EXPECT_FALSE(file.SaveToFile(""));
}

TEST(SFileMem, LoadResourceOfAModule)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    SFileMem file;
    ASSERT_TRUE(file.LoadResource(MAKEINTRESOURCEA(16), 1, kernel));
    ASSERT_GT(file.GetSize(), 40);
    // A version resource begins with its own length and the key "VS_VERSION_INFO".
    uint16_t length = (uint16_t)(file.GetBuffer()[0] | (file.GetBuffer()[1] << 8));
    EXPECT_EQ(length, file.GetSize());
    EXPECT_EQ(memcmp(file.GetBuffer() + 6, L"VS_VERSION_INFO", 30), 0);
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_FALSE(file.LoadResource(MAKEINTRESOURCEA(16), 4321, kernel));
}
