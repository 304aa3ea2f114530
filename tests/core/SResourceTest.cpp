#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

#include "SFileMem.h"
#include "SResource.h"

namespace
{
using Entry = std::pair<std::string, std::string>;

void PutU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The chunked zlib form of data: chunk count, then per chunk raw length, packed length, packed bytes.
std::string Chunked(const std::string& data)
{
    std::string out;
    uint32_t count = static_cast<uint32_t>((data.size() + 99999) / 100000);
    PutU32(out, count);
    for (size_t start = 0; start < data.size(); start += 100000)
    {
        size_t length = std::min<size_t>(100000, data.size() - start);
        std::vector<Bytef> packed(compressBound(length));
        uLongf packedLength = packed.size();
        compress(packed.data(), &packedLength, reinterpret_cast<const Bytef*>(data.data() + start), length);
        PutU32(out, static_cast<uint32_t>(length));
        PutU32(out, static_cast<uint32_t>(packedLength));
        out.append(reinterpret_cast<const char*>(packed.data()), packedLength);
    }
    return out;
}

std::string Pack(const std::vector<Entry>& entries, bool compressed)
{
    std::string out = "SRES";
    PutU32(out, compressed ? 1 : 0);
    for (const Entry& entry : entries)
    {
        std::string data = compressed ? Chunked(entry.second) : entry.second;
        PutU32(out, static_cast<uint32_t>(data.size()));
        out += entry.first;
        out += '\0';
        out += data;
    }
    PutU32(out, 0xFFFFFFFF);
    return out;
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string Contents(SFileMem& file)
{
    if (file.GetSize() == 0)
        return std::string();
    return std::string(reinterpret_cast<const char*>(file.GetBuffer()), static_cast<size_t>(file.GetSize()));
}

std::string Big()
{
    std::string text;
    for (int i = 0; i < 100001; i++)
        text += static_cast<char>('0' + (i * 7) % 10);
    return text;
}
}

TEST(SResource, ExtractsFromRawAndCompressedPacks)
{
    const std::vector<Entry> entries = {{"a.txt", "alpha"}, {"sub\\b.txt", "beta"}, {"empty.txt", ""},
                                        {"big.bin", Big()}};
    std::string path = TempPath("melvora-pack-test.bin");
    for (bool compressed : {false, true})
    {
        WriteFileBytes(path, Pack(entries, compressed));
        SResource pack;
        ASSERT_TRUE(pack.Open(path.c_str(), 0)) << compressed;
        EXPECT_EQ(pack.IsCompressed(), compressed);
        ASSERT_EQ(pack.GetCount(), 4);
        EXPECT_STREQ(pack.GetName(1), "sub\\b.txt");
        for (const Entry& entry : entries)
        {
            SFileMem target;
            ASSERT_TRUE(pack.Extract(&target, entry.first.c_str(), true)) << entry.first;
            EXPECT_TRUE(Contents(target) == entry.second) << entry.first << " " << compressed;
            EXPECT_EQ(target.Tell(), 0);
        }

        // Names are found ignoring case; without rewind the target stands behind the bytes.
        SFileMem target;
        target.WriteText("x");
        ASSERT_TRUE(pack.Extract(&target, "A.TXT", false));
        EXPECT_EQ(Contents(target), "xalpha");
        EXPECT_EQ(target.Tell(), 6);

        EXPECT_FALSE(pack.Extract(&target, "missing.txt", true));
        EXPECT_FALSE(pack.Extract(nullptr, "a.txt", true));
        EXPECT_EQ(Contents(target), "xalpha");
        EXPECT_EQ(target.Tell(), 6);
    }
    DeleteFileA(path.c_str());
}

TEST(SResource, StreamSourceDeliversEntriesAsStored)
{
    std::string bytes = Pack({{"a.txt", "alpha alpha alpha"}}, true);
    SFileMem* stream = new SFileMem();
    stream->Write(bytes.data(), static_cast<int>(bytes.size()));
    SResource pack;
    ASSERT_TRUE(pack.OpenStream(stream, 0));
    SFileMem target;
    ASSERT_TRUE(pack.Extract(&target, "a.txt", true));
    EXPECT_TRUE(Contents(target) == Chunked("alpha alpha alpha"));
}

TEST(SResource, PackAfterOtherData)
{
    std::string path = TempPath("melvora-pack-offset.bin");
    WriteFileBytes(path, "JUNK" + Pack({{"a.txt", "alpha"}}, false));
    SResource pack;
    EXPECT_FALSE(pack.Open(path.c_str(), 0));
    ASSERT_TRUE(pack.Open(path.c_str(), 4));
    SFileMem target;
    ASSERT_TRUE(pack.Extract(&target, "a.txt", true));
    EXPECT_EQ(Contents(target), "alpha");
    DeleteFileA(path.c_str());
}

TEST(SResource, DamagedPacksFailCleanly)
{
    std::string path = TempPath("melvora-pack-damaged.bin");
    std::string good = Pack({{"a.txt", "alpha"}, {"b.txt", "beta"}}, false);
    std::string hugeSize = "SRES";
    PutU32(hugeSize, 0);
    PutU32(hugeSize, 0x7FFFFFF0);
    hugeSize += std::string("a.txt") + '\0' + "abc";
    struct Case
    {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"wrong magic", "SREZ" + good.substr(4)},
        {"cut in an entry", good.substr(0, good.size() - 8)},
        {"no end marker", good.substr(0, good.size() - 4)},
        {"size past the end", hugeSize},
        {"empty file", ""},
    };
    for (const Case& c : cases)
    {
        WriteFileBytes(path, c.bytes);
        SResource pack;
        EXPECT_FALSE(pack.Open(path.c_str(), 0)) << c.name;
    }
    SResource pack;
    EXPECT_FALSE(pack.Open(TempPath("melvora-no-such-pack.bin").c_str(), 0));

    // A compressed entry whose zlib data is damaged is a failure, and nothing is written.
    std::string data = Chunked("alpha alpha alpha alpha");
    data[14] = static_cast<char>(data[14] ^ 0x55);
    std::string bytes = "SRES";
    PutU32(bytes, 1);
    PutU32(bytes, static_cast<uint32_t>(data.size()));
    bytes += std::string("a.txt") + '\0' + data;
    // A second entry whose chunk header claims more than the entry holds.
    std::string overrun = Chunked("beta");
    overrun.resize(overrun.size() - 2);
    PutU32(bytes, static_cast<uint32_t>(overrun.size()));
    bytes += std::string("b.txt") + '\0' + overrun;
    PutU32(bytes, 0xFFFFFFFF);
    WriteFileBytes(path, bytes);
    ASSERT_TRUE(pack.Open(path.c_str(), 0));
    for (const char* name : {"a.txt", "b.txt"})
    {
        SFileMem target;
        target.WriteText("kept");
        EXPECT_FALSE(pack.Extract(&target, name, true)) << name;
        EXPECT_EQ(Contents(target), "kept") << name;
    }
    DeleteFileA(path.c_str());
}

TEST(SResource, FolderOfLooseFiles)
{
    std::string folder = TempPath("melvora-res-folder\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(folder + "a.txt", "loose");
    SResource resource;
    SFileMem target;
    EXPECT_FALSE(resource.Extract(&target, "a.txt", true));
    ASSERT_TRUE(resource.SetBaseFolder(folder.c_str()));
    EXPECT_TRUE(resource.AddFile("a.txt", 0));
    EXPECT_FALSE(resource.AddFile("A.TXT", 0));
    EXPECT_FALSE(resource.AddFile("..\\outside.txt", 0));
    EXPECT_FALSE(resource.AddFile("C:\\outside.txt", 0));
    EXPECT_TRUE(resource.AddFile("missing.txt", 0));
    ASSERT_TRUE(resource.Extract(&target, "a.txt", true));
    EXPECT_EQ(Contents(target), "loose");
    EXPECT_FALSE(resource.Extract(&target, "missing.txt", true));
    EXPECT_FALSE(resource.Extract(&target, "unlisted.txt", true));
    EXPECT_EQ(Contents(target), "loose");
    DeleteFileA((folder + "a.txt").c_str());
    RemoveDirectoryA(folder.c_str());
}
