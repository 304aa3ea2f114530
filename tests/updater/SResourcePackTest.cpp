#include <gtest/gtest.h>

#include "SFileMem.h"
#include "SFilePath.h"
#include "SResource.h"
#include "SStringArray.h"
#include "UpdaterTestSupport.h"

using namespace updater_test;

namespace
{
// Writes a pack of the files below a scratch folder and returns its bytes.
std::string WritePack(const ScratchFolder& source, const std::vector<std::string>& names, bool compress)
{
    SResource pack;
    EXPECT_TRUE(pack.SetBaseFolder(source.path.c_str()));
    for (const std::string& name : names)
        EXPECT_TRUE(pack.AddFile(name.c_str(), 0)) << name;
    SFileMem out;
    out.Allocate(0);
    EXPECT_TRUE(pack.Write(&out, compress));
    return std::string(reinterpret_cast<const char*>(out.GetBuffer()), out.GetSize());
}

uint32_t U32At(const std::string& bytes, size_t at)
{
    return (uint8_t)bytes[at] | ((uint8_t)bytes[at + 1] << 8) | ((uint8_t)bytes[at + 2] << 16) |
           ((uint32_t)(uint8_t)bytes[at + 3] << 24);
}
}

TEST(SResourcePack, WritesTheDocumentedLayout)
{
    ScratchFolder source;
    std::string big = Pattern(100001, 3);
    source.Put("empty.txt", "");
    source.Put("sub\\big.bin", big);
    source.Put("exact.bin", Pattern(100000, 4));

    std::string raw = WritePack(source, {"empty.txt", "sub\\big.bin"}, false);
    ASSERT_EQ(raw, Pack({{"empty.txt", ""}, {"sub\\big.bin", big}}, false));

    // Compressed: each entry's stored size is its whole chunk stream.
    std::string packed = WritePack(source, {"empty.txt", "sub\\big.bin", "exact.bin"}, true);
    ASSERT_EQ(packed.substr(0, 8), std::string("SRES\x01\0\0\0", 8));
    EXPECT_EQ(U32At(packed, 8), 4u);  // empty file: a chunk count of 0
    size_t at = 8 + 4 + 10;
    EXPECT_EQ(U32At(packed, at), 0u);
    at += 4;
    uint32_t bigSize = U32At(packed, at);
    at += 4 + 12;
    EXPECT_EQ(U32At(packed, at), 2u);            // 100001 bytes: two chunks
    EXPECT_EQ(U32At(packed, at + 4), 100000u);   // the first full
    uint32_t firstPacked = U32At(packed, at + 8);
    EXPECT_EQ(U32At(packed, at + 12 + firstPacked), 1u);  // the second holds the rest
    at += bigSize;
    at += 4 + 10;
    EXPECT_EQ(U32At(packed, at), 1u);  // exactly 100000 bytes: one chunk
    EXPECT_EQ(U32At(packed, packed.size() - 4), 0xFFFFFFFFu);

    // An empty pack is 12 bytes and opens with no entries.
    SResource none;
    none.SetBaseFolder(source.path.c_str());
    SFileMem out;
    out.Allocate(0);
    ASSERT_TRUE(none.Write(&out, true));
    EXPECT_EQ(out.GetSize(), 12);
}

TEST(SResourcePack, CompressedPackIsTheSameInMemoryAndInAFile)
{
    // The entries of one pack share one zlib stream; each chunk must still be what zlib's
    // compress makes of it alone, whether the pack goes to memory or straight to a file
    // that already holds other bytes.
    struct Case
    {
        const char* what;
        std::vector<Entry> entries;
    };
    const Case cases[] = {
        {"one small entry", {{"a.txt", "hello"}}},
        {"chunk edges", {{"exact.bin", Pattern(100000, 1)}, {"over.bin", Pattern(100001, 2)}, {"empty", ""}}},
        {"many entries of mixed sizes",
         {{"sub\\a.dll", Pattern(250000, 3)},
          {"b.bin", Pattern(17, 4)},
          {"sub\\deeper\\c.bin", Pattern(399999, 5)},
          {"d.txt", std::string(300000, 'd')},
          {"e.bin", Pattern(1, 6)}}},
    };
    for (const Case& c : cases)
    {
        ScratchFolder source;
        std::vector<std::string> names;
        for (const Entry& entry : c.entries)
        {
            ASSERT_TRUE(source.Put(entry.first, entry.second)) << c.what;
            names.push_back(entry.first);
        }
        std::string expected = Pack(c.entries, true);
        EXPECT_EQ(WritePack(source, names, true), expected) << c.what;

        SResource pack;
        ASSERT_TRUE(pack.SetBaseFolder(source.path.c_str()));
        for (const std::string& name : names)
            ASSERT_TRUE(pack.AddFile(name.c_str(), 0)) << name;
        // A file opened only to append takes the pack too: no entry needs a seek back.
        for (bool appendOnly : {false, true})
        {
            ScratchFolder output;
            std::string prefix = "other bytes in front";
            SFilePath file;
            if (appendOnly)
            {
                ASSERT_TRUE(output.Put("pack.bin", prefix));
                ASSERT_TRUE(file.Open((output.path + "pack.bin").c_str(), true, false, false));
            }
            else
            {
                ASSERT_TRUE(file.Open((output.path + "pack.bin").c_str(), true, true, true));
                ASSERT_EQ(file.WriteText(prefix.c_str()), (int)prefix.size());
            }
            ASSERT_TRUE(pack.Write(&file, true)) << c.what << " " << appendOnly;
            file.Close();
            EXPECT_EQ(output.Get("pack.bin"), prefix + expected) << c.what << " " << appendOnly;

            SResource opened;
            ASSERT_TRUE(opened.Open((output.path + "pack.bin").c_str(), (int)prefix.size())) << c.what;
            ASSERT_EQ(opened.GetCount(), (int)c.entries.size()) << c.what;
            SStringArray failed;
            ASSERT_TRUE(opened.ExtractAll(output.path.c_str(), &failed)) << c.what;
            for (const Entry& entry : c.entries)
                EXPECT_EQ(output.Get(entry.first), entry.second) << c.what << " " << entry.first;
        }
    }
}

TEST(SResourcePack, RoundTripsThroughOpenAndExtractAll)
{
    for (bool compress : {false, true})
    {
        ScratchFolder source;
        ScratchFolder target;
        std::vector<std::string> names = {"a.dll", "sub\\deeper\\b.bin", "empty", "sub\\c.txt"};
        std::map<std::string, std::string> expected;
        for (size_t i = 0; i < names.size(); i++)
        {
            std::string bytes = names[i] == "empty" ? "" : Pattern(1000 + 150000 * i, (unsigned)i);
            source.Put(names[i], bytes);
            expected[names[i]] = bytes;
        }
        std::string bytes = WritePack(source, names, compress);
        ScratchFolder packFolder;
        ASSERT_TRUE(packFolder.Put("pack.bin", bytes));

        SResource pack;
        ASSERT_TRUE(pack.Open((packFolder.path + "pack.bin").c_str(), 0));
        ASSERT_EQ(pack.GetCount(), 4);
        EXPECT_EQ(pack.IsCompressed(), compress);
        for (int i = 0; i < pack.GetCount(); i++)
            EXPECT_EQ(pack.GetLength(i), (int)expected[(const char*)pack.GetName(i)].size());
        SStringArray failed;
        ASSERT_TRUE(pack.ExtractAll(target.path.c_str(), &failed));
        EXPECT_EQ(failed.GetCount(), 0);
        for (auto& entry : expected)
            EXPECT_EQ(target.Get(entry.first), entry.second) << entry.first << " compress " << compress;
    }
}

TEST(SResourcePack, AddFileRefusesDuplicatesAndUnsafeNames)
{
    ScratchFolder source;
    SResource pack;
    ASSERT_TRUE(pack.SetBaseFolder(source.path.c_str()));
    EXPECT_TRUE(pack.AddFile("Sub\\A.dll", 0));
    EXPECT_FALSE(pack.AddFile("sub\\a.DLL", 0));
    EXPECT_FALSE(pack.AddFile("sub/a.dll", 0));
    for (const char* name : {"", "..\\x", "a\\..\\..\\x", "\\x", "/x", "C:x", "a\\\\b", ".\\a", "a\\.", "a*"})
        EXPECT_FALSE(pack.AddFile(name, 0)) << name;
    EXPECT_EQ(pack.GetCount(), 1);
    // A drive root is no folder to pack.
    SResource root;
    root.SetBaseFolder("C:\\");
    EXPECT_FALSE(root.AddFile("a.dll", 0));
    SFileMem out;
    out.Allocate(0);
    EXPECT_FALSE(root.Write(&out, true));
}

TEST(SResourcePack, WriteFailsNamingAFileThatCannotBeRead)
{
    ScratchFolder source;
    source.Put("a.txt", "alpha");
    source.Put("locked.txt", "beta");
    SResource pack;
    pack.SetBaseFolder(source.path.c_str());
    pack.AddFile("a.txt", 0);
    pack.AddFile("locked.txt", 0);
    pack.AddFile("missing.txt", 0);
    SFileMem out;
    out.Allocate(0);
    SString failedName;
    {
        HANDLE lock = CreateFileA((source.path + "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(pack.Write(&out, true, &failedName));
        CloseHandle(lock);
    }
    EXPECT_STREQ(failedName, "locked.txt");
    DeleteFileA((source.path + "locked.txt").c_str());
    out.Allocate(0);
    EXPECT_FALSE(pack.Write(&out, false, &failedName));
    EXPECT_STREQ(failedName, "locked.txt");
    EXPECT_FALSE(pack.Write(nullptr, true));
}

TEST(SResourcePack, OpenRefusesHostileOrDuplicateNamesWhole)
{
    struct Case
    {
        const char* name;
        const char* second;
    };
    std::string longName(260, 'a');
    const Case cases[] = {
        {"..\\evil.dll", "ok.dll"},
        {"sub\\..\\..\\evil.dll", "ok.dll"},
        {"../evil.dll", "ok.dll"},
        {"\\evil.dll", "ok.dll"},
        {"/evil.dll", "ok.dll"},
        {"C:\\evil.dll", "ok.dll"},
        {"C:evil.dll", "ok.dll"},
        {"sub\\\\evil.dll", "ok.dll"},
        {".\\evil.dll", "ok.dll"},
        {"", "ok.dll"},
        {longName.c_str(), "ok.dll"},
        {"Same.dll", "sAME.dll"},
        {"sub/a.dll", "sub\\A.dll"},
    };
    ScratchFolder folder;
    for (const Case& c : cases)
    {
        ASSERT_TRUE(folder.Put("hostile.bin", Pack({{"ok0.dll", "x"}, {c.name, "evil"}, {c.second, "fine"}}, true)));
        SResource pack;
        EXPECT_FALSE(pack.Open((folder.path + "hostile.bin").c_str(), 0)) << c.name;
        EXPECT_EQ(pack.GetCount(), 0) << c.name;
    }
    // At most 259 bytes is still a name.
    std::string longest(259, 'b');
    ASSERT_TRUE(folder.Put("long.bin", Pack({{longest, "x"}}, false)));
    SResource pack;
    EXPECT_TRUE(pack.Open((folder.path + "long.bin").c_str(), 0));
}

TEST(SResourcePack, OpenChecksSizesAgainstTheFile)
{
    ScratchFolder folder;
    std::string good = Pack({{"a.txt", "hello"}, {"b.txt", Pattern(5000, 1)}}, true);
    std::string prefix = "some leading data";
    struct Case
    {
        const char* what;
        std::string bytes;
        int offset;
        bool opens;
    };
    std::string hugeSize = good;
    hugeSize[8] = '\xFF';
    hugeSize[9] = '\xFF';
    hugeSize[10] = '\xFF';
    hugeSize[11] = '\x7F';
    std::string wrapSize = good;
    wrapSize[8] = '\xF0';
    wrapSize[9] = '\xFF';
    wrapSize[10] = '\xFF';
    wrapSize[11] = '\xFF';
    const Case cases[] = {
        {"whole", good, 0, true},
        {"after other data", prefix + good, (int)prefix.size(), true},
        {"after other data, read from 0", prefix + good, 0, false},
        {"cut in an entry's data", good.substr(0, good.size() - 40), 0, false},
        {"no end marker", good.substr(0, good.size() - 4), 0, false},
        {"size past the end", hugeSize, 0, false},
        {"size that would wrap", wrapSize, 0, false},
        {"name without its end", std::string("SRES\0\0\0\0\5\0\0\0abc", 15), 0, false},
        {"wrong magic", "SREX" + good.substr(4), 0, false},
        {"only a magic", "SRES", 0, false},
        {"empty", "", 0, false},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(folder.Put("p.bin", c.bytes));
        SResource pack;
        EXPECT_EQ(pack.Open((folder.path + "p.bin").c_str(), c.offset), c.opens) << c.what;
    }
    SResource missing;
    EXPECT_FALSE(missing.Open((folder.path + "none.bin").c_str(), 0));
}

TEST(SResourcePack, DamagedChunksAreRefusedBeforeAnythingIsWritten)
{
    std::string data = Pattern(150000, 9);
    std::string chunked = Chunked(data);
    uint32_t firstPacked = U32At(chunked, 8);
    size_t second = 4 + 8 + firstPacked;
    struct Case
    {
        const char* what;
        std::string stored;
    };
    auto with = [&](size_t at, uint32_t value) {
        std::string copy = chunked;
        for (int i = 0; i < 4; i++)
            copy[at + i] = (char)((value >> (8 * i)) & 0xFF);
        return copy;
    };
    std::string corrupt = chunked;
    corrupt[4 + 8 + 20] ^= 0x55;
    // Damage found only after the first chunk is decoded and written.
    std::string corruptLater = chunked;
    corruptLater[second + 8 + 20] ^= 0x55;
    const Case cases[] = {
        {"count that the size cannot hold", with(0, 0x20000000)},
        {"count one too many", with(0, 3)},
        {"raw length above 100000", with(4, 100001)},
        {"raw length 0", with(4, 0)},
        {"raw length that does not match", with(second, 49999)},
        {"packed length above 110012", with(8, 110013)},
        {"packed length past the entry", with(second + 4, 200000)},
        {"zlib data damaged", corrupt},
        {"zlib data of the second chunk damaged", corruptLater},
        {"trailing bytes", chunked + "xx"},
        {"shorter than a count", std::string("\1\0", 2)},
    };
    ScratchFolder folder;
    for (const Case& c : cases)
    {
        ASSERT_TRUE(folder.Put("p.bin", PackStored({{"ok.txt", Chunked("fine")}, {"bad.bin", c.stored}}, true)));
        SResource pack;
        ASSERT_TRUE(pack.Open((folder.path + "p.bin").c_str(), 0)) << c.what;
        SFileMem target;
        target.Allocate(0);
        EXPECT_FALSE(pack.Extract(&target, "bad.bin", true)) << c.what;
        EXPECT_EQ(target.GetSize(), 0) << c.what;
        ScratchFolder out;
        SStringArray failed;
        EXPECT_FALSE(pack.ExtractAll(out.path.c_str(), &failed)) << c.what;
        ASSERT_EQ(failed.GetCount(), 1) << c.what;
        EXPECT_EQ(std::string(failed.GetAt(0)), out.path + "bad.bin");
        EXPECT_FALSE(Exists(out.path + "bad.bin")) << c.what;
        EXPECT_EQ(out.Get("ok.txt"), "fine");
        // Over an earlier installation the damaged entry's old file stays as it was.
        ScratchFolder installed;
        ASSERT_TRUE(installed.Put("bad.bin", "the installed file"));
        ASSERT_TRUE(installed.Put("ok.txt", "old"));
        EXPECT_FALSE(pack.ExtractAll(installed.path.c_str(), &failed)) << c.what;
        EXPECT_EQ(Snapshot(installed.path),
                  (std::map<std::string, std::string>{{"bad.bin", "the installed file"}, {"ok.txt", "fine"}}))
            << c.what;
    }
}

TEST(SResourcePack, ExtractAllRefusesAMissingTarget)
{
    ScratchFolder folder;
    ASSERT_TRUE(folder.Put("p.bin", Pack({{"a.txt", "a"}}, true)));
    SResource pack;
    ASSERT_TRUE(pack.Open((folder.path + "p.bin").c_str(), 0));
    SStringArray failed;
    EXPECT_FALSE(pack.ExtractAll((folder.path + "nowhere\\").c_str(), &failed));
    EXPECT_EQ(failed.GetCount(), 0);
    EXPECT_FALSE(pack.ExtractAll(nullptr, &failed));
}

TEST(SResourcePack, DeviceNamesNeverLeaveTheFolder)
{
    ScratchFolder folder;
    ASSERT_TRUE(folder.Put("p.bin", Pack({{"a.txt", "a"}, {"sub\\CON", "b"}}, false)));
    SResource pack;
    ASSERT_TRUE(pack.Open((folder.path + "p.bin").c_str(), 0));
    ScratchFolder out;
    SStringArray failed;
    EXPECT_FALSE(pack.ExtractAll(out.path.c_str(), &failed));
    EXPECT_EQ(failed.GetCount(), 1);
    // Refused whole: not even the harmless entry was written.
    EXPECT_FALSE(Exists(out.path + "a.txt"));
}
