#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

#include "SFileMem.h"
#include "SFileTestSupport.h"
#include "SResource.h"

namespace
{
using file_test::Content;
using file_test::CountingFile;
using file_test::ScratchFile;
using file_test::WriteFileBytes;
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

// A loose-file folder in the temporary folder, removed with its one file afterwards.
struct ScratchFolder
{
    std::string path;
    std::string file;
    ScratchFolder() : path(file_test::ScratchPath("melvora-res-", "folder\\")), file(path + "a.txt")
    {
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        DeleteFileA(file.c_str());
        RemoveDirectoryA(path.c_str());
    }
};

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
    ScratchFile scratch("melvora-pack-", "test.bin");
    const std::string& path = scratch.path;
    for (bool compressed : {false, true})
    {
        ASSERT_TRUE(WriteFileBytes(path, Pack(entries, compressed)));
        SResource pack;
        ASSERT_TRUE(pack.Open(path.c_str(), 0)) << compressed;
        EXPECT_EQ(pack.IsCompressed(), compressed);
        ASSERT_EQ(pack.GetCount(), 4);
        EXPECT_STREQ(pack.GetName(1), "sub\\b.txt");
        for (const Entry& entry : entries)
        {
            SFileMem target;
            ASSERT_TRUE(pack.Extract(&target, entry.first.c_str(), true)) << entry.first;
            EXPECT_TRUE(Content(target) == entry.second) << entry.first << " " << compressed;
            EXPECT_EQ(target.Tell(), 0);
        }

        // Names are found ignoring case; without rewind the target stands behind the bytes.
        SFileMem target;
        target.WriteText("x");
        ASSERT_TRUE(pack.Extract(&target, "A.TXT", false));
        EXPECT_EQ(Content(target), "xalpha");
        EXPECT_EQ(target.Tell(), 6);

        EXPECT_FALSE(pack.Extract(&target, "missing.txt", true));
        EXPECT_FALSE(pack.Extract(nullptr, "a.txt", true));
        EXPECT_EQ(Content(target), "xalpha");
        EXPECT_EQ(target.Tell(), 6);
    }
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
    EXPECT_TRUE(Content(target) == Chunked("alpha alpha alpha"));
}

TEST(SResource, ATableOfManyEntriesIsReadInFewPieces)
{
    // Entry headers and chunk headers are read through a window of the pack, not with
    // a seek and a small read each: a pack of thousands of entries stays cheap to open.
    std::vector<Entry> entries;
    for (int i = 0; i < 300; i++)
        entries.emplace_back("dir\\file" + std::to_string(i) + ".txt", std::string((size_t)(i * 37 % 500), (char)('a' + i % 26)));
    std::string bytes = Pack(entries, true);
    ASSERT_LT(bytes.size(), 64u * 1024u);
    CountingFile* stream = new CountingFile();
    stream->Write(bytes.data(), (int)bytes.size());
    SResource pack;
    stream->reads = 0;
    ASSERT_TRUE(pack.OpenStream(stream, 0));
    ASSERT_EQ(pack.GetCount(), 300);
    EXPECT_LE(stream->reads, 2);
    stream->reads = 0;
    SArray<int> lengths;
    ASSERT_TRUE(pack.GetLengths(&lengths));
    EXPECT_LE(stream->reads, 2);
    for (int i = 0; i < 300; i++)
        EXPECT_EQ(lengths.GetAt(i), (int)entries[(size_t)i].second.size()) << i;
}

TEST(SResource, PackAfterOtherData)
{
    ScratchFile scratch("melvora-pack-", "offset.bin");
    const std::string& path = scratch.path;
    ASSERT_TRUE(WriteFileBytes(path, "JUNK" + Pack({{"a.txt", "alpha"}}, false)));
    SResource pack;
    EXPECT_FALSE(pack.Open(path.c_str(), 0));
    ASSERT_TRUE(pack.Open(path.c_str(), 4));
    SFileMem target;
    ASSERT_TRUE(pack.Extract(&target, "a.txt", true));
    EXPECT_EQ(Content(target), "alpha");
}

TEST(SResource, DamagedPacksFailCleanly)
{
    ScratchFile scratch("melvora-pack-", "damaged.bin");
    const std::string& path = scratch.path;
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
        ASSERT_TRUE(WriteFileBytes(path, c.bytes)) << c.name;
        // A refused pack lists nothing and extracts nothing, from a file or a stream.
        SResource pack;
        EXPECT_FALSE(pack.Open(path.c_str(), 0)) << c.name;
        EXPECT_EQ(pack.GetCount(), 0) << c.name;
        SFileMem target;
        EXPECT_FALSE(pack.Extract(&target, "a.txt", true)) << c.name;
        SFileMem* stream = new SFileMem();
        stream->Write(c.bytes.data(), (int)c.bytes.size());
        EXPECT_FALSE(pack.OpenStream(stream, 0)) << c.name;
        EXPECT_EQ(pack.GetCount(), 0) << c.name;
        EXPECT_FALSE(pack.Extract(&target, "a.txt", true)) << c.name;
        EXPECT_EQ(target.GetSize(), 0) << c.name;
    }
    // The smallest refused pack: one entry read, then no end marker.
    std::string noEnd = "SRES";
    PutU32(noEnd, 0);
    PutU32(noEnd, 1);
    noEnd += std::string("a") + '\0' + "x";
    ASSERT_TRUE(WriteFileBytes(path, noEnd));
    SResource pack;
    EXPECT_FALSE(pack.Open(path.c_str(), 0));
    SFileMem extracted;
    EXPECT_FALSE(pack.Extract(&extracted, "a", true));
    EXPECT_EQ(pack.GetCount(), 0);
    EXPECT_FALSE(pack.Open((path + ".missing").c_str(), 0));

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
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    ASSERT_TRUE(pack.Open(path.c_str(), 0));
    for (const char* name : {"a.txt", "b.txt"})
    {
        SFileMem target;
        target.WriteText("kept");
        EXPECT_FALSE(pack.Extract(&target, name, true)) << name;
        EXPECT_EQ(Content(target), "kept") << name;
    }
}

TEST(SResource, FolderOfLooseFiles)
{
    ScratchFolder scratch;
    const std::string& folder = scratch.path;
    ASSERT_TRUE(WriteFileBytes(scratch.file, "loose"));
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
    EXPECT_EQ(Content(target), "loose");
    EXPECT_FALSE(resource.Extract(&target, "missing.txt", true));
    EXPECT_FALSE(resource.Extract(&target, "unlisted.txt", true));
    EXPECT_EQ(Content(target), "loose");
}
