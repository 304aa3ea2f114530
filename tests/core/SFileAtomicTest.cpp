#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "SFileAtomic.h"
#include "SFileTestSupport.h"

using namespace file_test;

namespace {

// A scratch folder, with its trailing separator, emptied before and after each test.
class SFileAtomicTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = ScratchPath("melvora-atomic-", "") + "\\";
        Clear();
        ASSERT_TRUE(CreateDirectoryA(m_root.c_str(), nullptr));
    }
    void TearDown() override { Clear(); }

    void Clear()
    {
        for (const std::string& name : Names()) {
            std::string path = m_root + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA(path.c_str()))
                RemoveDirectoryA(path.c_str());
        }
        RemoveDirectoryA(m_root.c_str());
    }

    std::vector<std::string> Names() const { return FolderNames(m_root); }

    static bool WriteAll(SFileAtomic& save, const std::string& bytes)
    {
        SFile* file = save.GetFile();
        return file && file->Write(bytes.data(), (int)bytes.size()) == (int)bytes.size();
    }

    std::string m_root;
};

const std::string kOld = std::string("old cover\0\x89PNG", 14);
const std::string kNew = "the new content, longer than the old one";

} // namespace

TEST_F(SFileAtomicTest, CommitPutsTheNewBytesInPlace)
{
    for (bool existing : {true, false}) {
        std::string target = m_root + "Album.png";
        DeleteFileA(target.c_str());
        if (existing) {
            ASSERT_TRUE(WriteFileBytes(target, kOld));
        }
        SFileAtomic save;
        ASSERT_TRUE(save.Open(target.c_str())) << existing;
        ASSERT_TRUE(WriteAll(save, kNew));
        EXPECT_TRUE(save.Commit()) << existing;
        EXPECT_EQ(ReadFileBytes(target), kNew) << existing;
        EXPECT_EQ(Names(), std::vector<std::string>{"Album.png"}) << existing;
        EXPECT_FALSE(save.IsOpen());
        EXPECT_EQ(save.GetFile(), nullptr);
    }
}

// While the new bytes are written the target keeps its old ones; a save that ends
// any other way than by Commit leaves them and no temporary file.
TEST_F(SFileAtomicTest, AnUncommittedSaveLeavesTheOldFile)
{
    enum Ending { kAbandon, kDestroy, kReopen };
    for (Ending ending : {kAbandon, kDestroy, kReopen}) {
        std::string target = m_root + "Playlist.lst";
        ASSERT_TRUE(WriteFileBytes(target, kOld));
        {
            SFileAtomic save;
            ASSERT_TRUE(save.Open(target.c_str()));
            ASSERT_TRUE(WriteAll(save, kNew));
            // The temporary file lies beside the target under a name no listing shows.
            const std::string temp = save.GetTempPath().GetBuffer();
            EXPECT_EQ(temp.rfind(m_root + "mlv", 0), 0u) << temp;
            EXPECT_EQ(temp.substr(temp.size() - 4), ".tmp") << temp;
            EXPECT_EQ(ReadFileBytes(target), kOld);
            if (ending == kAbandon)
                save.Abandon();
            if (ending == kReopen) {
                std::string other = m_root + "Other.lst";
                ASSERT_TRUE(save.Open(other.c_str()));
                save.Abandon();
            }
            if (ending != kDestroy) {
                EXPECT_FALSE(PathExists(temp)) << ending;
            }
        }
        EXPECT_EQ(ReadFileBytes(target), kOld) << ending;
        EXPECT_EQ(Names(), std::vector<std::string>{"Playlist.lst"}) << ending;
    }
}

TEST_F(SFileAtomicTest, RefusedTargetsCreateNothing)
{
    ASSERT_TRUE(CreateDirectoryA((m_root + "Folder").c_str(), nullptr));
    std::string readOnly = m_root + "locked.txt";
    ASSERT_TRUE(WriteFileBytes(readOnly, kOld));
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::vector<std::string> before = Names();
    const std::string targets[] = {"", m_root + "Folder", m_root + "Folder\\", readOnly, m_root + "no\\such\\file.txt"};
    for (const std::string& target : targets) {
        SFileAtomic save;
        EXPECT_FALSE(save.Open(target.c_str())) << target;
        EXPECT_EQ(save.GetFile(), nullptr) << target;
        EXPECT_FALSE(save.Commit()) << target;
    }
    SFileAtomic none;
    EXPECT_FALSE(none.Open(nullptr));
    EXPECT_EQ(Names(), before);
    EXPECT_EQ(ReadFileBytes(readOnly), kOld);
}

// A rename that the system refuses at the end (the target held open by another
// program, or made read-only meanwhile) fails cleanly.
TEST_F(SFileAtomicTest, ARefusedReplaceKeepsTheOldFile)
{
    enum Obstacle { kHeldOpen, kMadeReadOnly };
    for (Obstacle obstacle : {kHeldOpen, kMadeReadOnly}) {
        std::string target = m_root + "Artist.ini";
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteFileBytes(target, kOld));
        SFileAtomic save;
        ASSERT_TRUE(save.Open(target.c_str()));
        ASSERT_TRUE(WriteAll(save, kNew));
        HANDLE held = INVALID_HANDLE_VALUE;
        if (obstacle == kHeldOpen)
            held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        else
            ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_FALSE(save.Commit()) << obstacle;
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(ReadFileBytes(target), kOld) << obstacle;
        EXPECT_EQ(Names(), std::vector<std::string>{"Artist.ini"}) << obstacle;
    }
}

TEST_F(SFileAtomicTest, TheReplacementKeepsTheOldAttributes)
{
    const DWORD cases[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_NORMAL};
    for (DWORD attributes : cases) {
        std::string target = m_root + "book0.jpg";
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteFileBytes(target, kOld));
        ASSERT_TRUE(SetFileAttributesA(target.c_str(), attributes));
        SFileAtomic save;
        ASSERT_TRUE(save.Open(target.c_str()));
        ASSERT_TRUE(WriteAll(save, kNew));
        ASSERT_TRUE(save.Commit()) << attributes;
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_EQ(GetFileAttributesA(target.c_str()) & kept, attributes & kept) << attributes;
        EXPECT_EQ(ReadFileBytes(target), kNew);
    }
}

// Two saves into one folder at once, even of the same target, never share a
// temporary file; the one committed last wins.
TEST_F(SFileAtomicTest, SavesSideBySide)
{
    std::string target = m_root + "notes.txt";
    SFileAtomic first, second;
    ASSERT_TRUE(first.Open(target.c_str()));
    ASSERT_TRUE(second.Open(target.c_str()));
    EXPECT_NE(std::string(first.GetTempPath()), std::string(second.GetTempPath()));
    ASSERT_TRUE(WriteAll(first, "first"));
    ASSERT_TRUE(WriteAll(second, "second"));
    EXPECT_TRUE(first.Commit());
    EXPECT_EQ(ReadFileBytes(target), "first");
    EXPECT_TRUE(second.Commit());
    EXPECT_EQ(ReadFileBytes(target), "second");
    EXPECT_EQ(Names(), std::vector<std::string>{"notes.txt"});
}

// The stream reads back what was written, so a caller can check the new content
// before it replaces the old.
TEST_F(SFileAtomicTest, TheNewContentReadsBackBeforeCommit)
{
    std::string target = m_root + "package.bin";
    SFileAtomic save;
    ASSERT_TRUE(save.Open(target.c_str()));
    ASSERT_TRUE(WriteAll(save, kNew));
    SFile* file = save.GetFile();
    ASSERT_EQ(file->GetSize(), (int)kNew.size());
    file->Rewind();
    EXPECT_EQ(std::string(file->ReadString()), kNew);
    EXPECT_TRUE(save.Commit());
    EXPECT_EQ(ReadFileBytes(target), kNew);
}
