#include <gtest/gtest.h>

#include "SDisk.h"
#include "SFileMem.h"
#include "SListCtrl.h"
#include "SSelector.h"
#include "SStringArray.h"
#include "SWnd.h"
#include "UpdaterTestSupport.h"

using namespace updater_test;

namespace
{
SFileMem* MemoryOf(const std::string& bytes)
{
    SFileMem* file = new SFileMem;
    file->Allocate((int)bytes.size());
    if (!bytes.empty())
        memcpy(file->GetBuffer(), bytes.data(), bytes.size());
    file->Rewind();
    return file;
}

int progressCalls = 0;
bool CountProgress(int, INT_PTR user)
{
    progressCalls++;
    return progressCalls < (int)user;
}
}

TEST(SFileCompressed, WritesChunksThatReadBack)
{
    struct Case
    {
        size_t length;
        uint32_t chunks;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {99999, 1}, {100000, 1}, {100001, 2}, {350000, 4}};
    for (const Case& c : cases)
    {
        std::string data = Pattern(c.length, (unsigned)c.length);
        SFileMem* source = MemoryOf(data);
        SFileMem packed;
        packed.Allocate(0);
        int written = source->WriteCompressed(&packed, -1, 0);
        EXPECT_EQ(written, packed.GetSize()) << c.length;
        std::string bytes(reinterpret_cast<const char*>(packed.GetBuffer()), packed.GetSize());
        // Same bytes as zlib's compress of each 100000-byte piece.
        EXPECT_EQ(bytes, Chunked(data)) << c.length;
        packed.Rewind();
        EXPECT_EQ(packed.ReadU32(), c.chunks);
        packed.Rewind();
        SFileMem decoded;
        decoded.Allocate(0);
        EXPECT_EQ(packed.ReadCompressed(&decoded, 0), (int)c.length);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(decoded.GetBuffer()), decoded.GetSize()), data);
        delete source;
    }
}

TEST(SFileCompressed, LengthAndCallbackLimitTheWrite)
{
    std::string data = Pattern(250000, 5);
    SFileMem* source = MemoryOf(data);
    SFileMem packed;
    packed.Allocate(0);
    source->Seek(1000);
    ASSERT_GT(source->WriteCompressed(&packed, 120000, 0), 0);
    packed.Rewind();
    SFileMem decoded;
    decoded.Allocate(0);
    EXPECT_EQ(packed.ReadCompressed(&decoded, 0), 120000);
    EXPECT_EQ(memcmp(decoded.GetBuffer(), data.data() + 1000, 120000), 0);

    EXPECT_EQ(source->WriteCompressed(nullptr, -1, 0), 0);
    source->Rewind();
    source->SetProgressCallback(CountProgress);
    progressCalls = 0;
    packed.Allocate(0);
    EXPECT_EQ(source->WriteCompressed(&packed, -1, 2), 0);
    EXPECT_EQ(progressCalls, 2);
    delete source;
}

TEST(SDiskChecksum, FileCrc32)
{
    ScratchFolder folder;
    folder.Put("check.txt", "123456789");
    folder.Put("empty.txt", "");
    SDisk disk;
    EXPECT_EQ(disk.GetFileCrc32((folder.path + "check.txt").c_str()), 0xCBF43926u);
    EXPECT_EQ(disk.GetFileCrc32((folder.path + "empty.txt").c_str()), 0u);
    EXPECT_EQ(disk.GetFileCrc32((folder.path + "missing.txt").c_str()), 0u);
    EXPECT_EQ(disk.GetFileCrc32(nullptr), 0u);
}

TEST(SStringArrayRemove, RemovesTheUpdaterInAnyCase)
{
    SStringArray files;
    files.AddFlags(0x10000);
    for (const char* name : {"C:\\p\\Update.exe", "C:\\p\\a.dll", "C:\\p\\UPDATE.EXE", "C:\\p\\sub\\Update.exe"})
        files.Add(name);
    EXPECT_EQ(files.Remove("c:\\P\\update.Exe"), 2);
    ASSERT_EQ(files.GetCount(), 2);
    EXPECT_STREQ(files.GetAt(1), "C:\\p\\sub\\Update.exe");
    EXPECT_EQ(files.Remove("C:\\p\\a.dll", 5), 0);
}

TEST(SListCtrlInsertItems, InsertsInOrder)
{
    SWnd parent;
    RECT frame = {0, 0, 200, 200};
    ASSERT_TRUE(parent.Create("list parent", WS_POPUP, 0, &frame, nullptr));
    SListCtrl list;
    SStringArray texts;
    EXPECT_EQ(list.InsertItems(&texts), 0);  // no window yet
    RECT area = {0, 0, 180, 180};
    ASSERT_TRUE(list.Create(WS_VISIBLE, 0, &area, parent.GetHandle(), 3));
    texts.Add("one");
    texts.Add("two");
    EXPECT_EQ(list.InsertItems(nullptr), 0);
    EXPECT_EQ(list.InsertItems(&texts), 2);
    EXPECT_EQ(list.InsertItems(&texts, 1), 2);
    EXPECT_EQ(list.InsertItems(&texts, 99), 2);
    ASSERT_EQ(list.GetCount(), 6);
    const char* expected[] = {"one", "one", "two", "two", "one", "two"};
    for (int i = 0; i < 6; i++)
        EXPECT_STREQ(list.GetItemText(i), expected[i]) << i;
}

namespace
{
class FakeSaveDialog : public SSelectorDialogs
{
public:
    bool GetSaveFileName(OPENFILENAMEA* info) override
    {
        calls++;
        flags = info->Flags;
        maxFile = info->nMaxFile;
        const char* at = info->lpstrFilter;
        while (at != nullptr && *at != 0)
        {
            filters.push_back(at);
            at += strlen(at) + 1;
        }
        if (answer.empty())
            return false;
        strcpy(info->lpstrFile, answer.c_str());
        return true;
    }
    int calls = 0;
    DWORD flags = 0;
    DWORD maxFile = 0;
    std::vector<std::string> filters;
    std::string answer;
};
}

TEST(SSelectorSaveFile, AsksWithTheUpdateFilterAndKeepsThePath)
{
    FakeSaveDialog fake;
    SSelectorDialogs* previous = SSelector::SetDialogs(&fake);
    SSelector selector;
    SStringArray filters;
    filters.Add("Update files|*.upd");
    EXPECT_FALSE(selector.SaveFile(nullptr, &filters, ""));
    EXPECT_STREQ(selector.GetPath(), "");
    fake.answer = "C:\\out\\release.upd";
    fake.filters.clear();
    EXPECT_TRUE(selector.SaveFile(nullptr, &filters, ""));
    EXPECT_STREQ(selector.GetPath(), "C:\\out\\release.upd");
    EXPECT_EQ(fake.flags, 0x880806u);
    EXPECT_EQ(fake.maxFile, 40000u);
    ASSERT_EQ(fake.filters.size(), 2u);
    EXPECT_EQ(fake.filters[0], "Update files");
    EXPECT_EQ(fake.filters[1], "*.upd");
    SSelector::SetDialogs(previous);
}
