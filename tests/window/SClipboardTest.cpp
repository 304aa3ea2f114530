#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include "SClipboard.h"
#include "SFileMem.h"

namespace {

// Puts a raw block on the clipboard under a format, as another program could.
bool PutRawBlock(UINT format, const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return false;
    memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool done = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    if (!done)
        GlobalFree(block);
    return done;
}

// Leaves the clipboard empty after each test, whatever the test put on it.
class SClipboardTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
};

} // namespace

TEST_F(SClipboardTest, TextRoundTrips)
{
    const char* texts[] = {"hello", "", "line 1\r\nline 2", "caf\xE9 \xA9 1252"};
    for (const char* text : texts) {
        ASSERT_TRUE(SClipboard::SetText(text));
        EXPECT_STREQ(text, (const char*)SClipboard::GetText());
    }
    SFileMem memory;
    EXPECT_EQ(0, SClipboard::GetData(&memory));
    EXPECT_EQ(0, memory.GetSize());
}

TEST_F(SClipboardTest, BinaryDataRoundTrips)
{
    const uint8_t bytes[] = {0, 1, 2, 0xFF, 0, 0x81, 'x', 0};
    SFileMem source;
    source.Write(bytes, sizeof(bytes));
    source.Seek(1);
    ASSERT_TRUE(SClipboard::SetData(&source, -1));
    EXPECT_TRUE(source.IsEof());
    EXPECT_STREQ("", (const char*)SClipboard::GetText());

    SFileMem target;
    target.Write("AB", 2);
    EXPECT_EQ((int)sizeof(bytes) - 1, SClipboard::GetData(&target));
    ASSERT_EQ(2 + (int)sizeof(bytes) - 1, target.GetSize());
    EXPECT_EQ(0, memcmp(target.GetBuffer(), "AB", 2));
    EXPECT_EQ(0, memcmp(target.GetBuffer() + 2, bytes + 1, sizeof(bytes) - 1));

    // The block holds the count, the bytes and a closing 0.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CLIPBOARD_FORMAT_BINARY);
    ASSERT_NE(nullptr, data);
    const uint8_t* block = static_cast<const uint8_t*>(GlobalLock(data));
    EXPECT_EQ(sizeof(bytes) - 1, (size_t)(block[0] | (block[1] << 8) | (block[2] << 16) | (block[3] << 24)));
    EXPECT_EQ(0, block[4 + sizeof(bytes) - 1]);
    GlobalUnlock(data);
    CloseClipboard();

    source.Seek(2);
    ASSERT_TRUE(SClipboard::SetData(&source, 3));
    EXPECT_EQ(5, source.Tell());
    SFileMem part;
    EXPECT_EQ(3, SClipboard::GetData(&part));
    EXPECT_EQ(0, memcmp(part.GetBuffer(), bytes + 2, 3));
}

TEST_F(SClipboardTest, SetDataRefusesWhatIsNotThere)
{
    ASSERT_TRUE(SClipboard::SetText("kept"));
    SFileMem source;
    source.Write("12345", 5);
    struct Case {
        int position, count;
    } cases[] = {{5, -1}, {0, 0}, {2, 4}, {0, 6}};
    for (const Case& c : cases) {
        source.Seek(c.position);
        EXPECT_FALSE(SClipboard::SetData(&source, c.count)) << c.position << "," << c.count;
        EXPECT_EQ(c.position, source.Tell());
    }
    EXPECT_FALSE(SClipboard::SetData(nullptr, -1));
    EXPECT_STREQ("kept", (const char*)SClipboard::GetText());
    EXPECT_EQ(0, SClipboard::GetData(nullptr));
}

TEST_F(SClipboardTest, ForeignBinaryBlocksAreCheckedAgainstTheirSize)
{
    SFileMem target;
    const uint8_t overstated[] = {0xE8, 0x03, 0, 0, 'a', 'b', 'c', 0};  // claims 1000 bytes
    ASSERT_TRUE(PutRawBlock(CLIPBOARD_FORMAT_BINARY, overstated, sizeof(overstated)));
    EXPECT_EQ(0, SClipboard::GetData(&target));
    const uint8_t tiny[] = {1, 0};
    ASSERT_TRUE(PutRawBlock(CLIPBOARD_FORMAT_BINARY, tiny, sizeof(tiny)));
    EXPECT_EQ(0, SClipboard::GetData(&target));
    const uint8_t exact[] = {3, 0, 0, 0, 'a', 'b', 'c'};  // no closing 0: still readable
    ASSERT_TRUE(PutRawBlock(CLIPBOARD_FORMAT_BINARY, exact, sizeof(exact)));
    EXPECT_EQ(3, SClipboard::GetData(&target));
    EXPECT_EQ(0, memcmp(target.GetBuffer(), "abc", 3));
    EXPECT_EQ(0, target.GetSize() - 3);
}
