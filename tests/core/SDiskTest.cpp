#include <gtest/gtest.h>
#include <windows.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SChecksum.h"
#include "SDisk.h"
#include "SPath.h"
#include "SStringArray.h"
#include "SFileTestSupport.h"

using namespace file_test;

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::vector<std::string> Sorted(const SStringArray& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i)
        texts.push_back(list.GetAt(i).GetBuffer());
    std::sort(texts.begin(), texts.end());
    return texts;
}

// A scratch folder, with its trailing separator, removed after each test.
class SDiskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(sizeof(temp), temp), 0u);
        m_root = std::string(temp) + "melvora-disk-" + std::to_string(GetCurrentProcessId()) + "\\";
        RemoveTree(m_root);
        ASSERT_TRUE(CreateDirectoryA(m_root.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(m_root); }

    std::string Put(const std::string& relative, const std::string& bytes = "data")
    {
        std::string path = m_root + relative;
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
        return path;
    }
    std::string Folder(const std::string& relative)
    {
        std::string path = m_root + relative;
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
        return path + "\\";
    }

    std::string m_root;
    SDisk m_disk;
};

// Records what would have been started instead of starting it.
class FakeLauncher : public SShellLauncher
{
public:
    bool ExecuteEx(SHELLEXECUTEINFOA* info) override
    {
        ++calls;
        mask = info->fMask;
        verb = info->lpVerb ? info->lpVerb : "";
        file = info->lpFile ? info->lpFile : "";
        parameters = info->lpParameters ? info->lpParameters : "";
        folder = info->lpDirectory ? info->lpDirectory : "";
        showCmd = info->nShow;
        if (result <= 32)
            return false;
        // A signalled event stands in for a process that has already ended.
        if (mask & SEE_MASK_NOCLOSEPROCESS)
            info->hProcess = CreateEventA(nullptr, TRUE, TRUE, nullptr);
        process = info->hProcess;
        return true;
    }

    INT_PTR result = 42;
    int calls = 0;
    std::string verb, file, parameters, folder;
    int showCmd = -1;
    ULONG mask = 0;
    HANDLE process = nullptr;
};

class LauncherScope
{
public:
    explicit LauncherScope(SShellLauncher* launcher) : m_previous(SDisk::SetShellLauncher(launcher)) {}
    ~LauncherScope() { SDisk::SetShellLauncher(m_previous); }

private:
    SShellLauncher* m_previous;
};

uint16_t U16(const std::string& bytes, size_t at)
{
    return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

uint32_t U32(const std::string& bytes, size_t at)
{
    return uint32_t(U16(bytes, at)) | uint32_t(U16(bytes, at + 2)) << 16;
}

} // namespace

TEST_F(SDiskTest, AttributesSizesAndExistence)
{
    std::string file = Put("five.txt", "12345");
    EXPECT_EQ(m_disk.GetAttributes((m_root + "missing").c_str()), -1);
    EXPECT_EQ(m_disk.GetAttributes(file.c_str()), 0);
    EXPECT_TRUE(m_disk.SetAttributes(file.c_str(), SDisk::AttrReadOnly | SDisk::AttrHidden | 8));
    EXPECT_EQ(m_disk.GetAttributes(file.c_str()), 3);
    EXPECT_TRUE(m_disk.IsHidden(file.c_str()));
    EXPECT_TRUE(m_disk.SetAttributes(file.c_str(), 0));
    EXPECT_EQ(m_disk.GetAttributes(file.c_str()), 0);
    EXPECT_FALSE(m_disk.IsHidden(file.c_str()));
    EXPECT_FALSE(m_disk.IsHidden((m_root + "missing").c_str()));

    EXPECT_TRUE(m_disk.Exists(file.c_str()));
    EXPECT_TRUE(m_disk.Exists(m_root.c_str()));
    EXPECT_FALSE(m_disk.Exists((m_root + "missing").c_str()));
    EXPECT_FALSE(m_disk.Exists(""));
    EXPECT_FALSE(m_disk.Exists(nullptr));

    EXPECT_EQ(m_disk.GetFileSize(file.c_str()), 5);
    EXPECT_EQ(m_disk.GetFileSize(Put("empty.txt", "").c_str()), 0);
    EXPECT_EQ(m_disk.GetFileSize((m_root + "missing").c_str()), -1);
    EXPECT_EQ(m_disk.GetFileSize(""), -1);
}

TEST_F(SDiskTest, FileAndFolderTests)
{
    std::string file = Put("song.mp3");
    std::string hidden = Put("hidden.txt");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    std::string folder = Folder("album");
    std::string bare = folder.substr(0, folder.size() - 1);
    struct Case {
        std::string path;
        bool file;
        bool folder;
    } cases[] = {
        {file, true, false},
        {file + "\\", false, false},
        {file + "/", false, false},
        {hidden, true, false},
        {folder, false, true},
        {bare, false, true},
        {bare + "/", false, true},
        {"C:\\", false, true},
        {"C:/", false, true},
        {m_root + "missing", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_disk.IsFile(c.path.c_str()), c.file) << c.path;
        EXPECT_EQ(m_disk.IsFolder(c.path.c_str()), c.folder) << c.path;
    }
}

TEST_F(SDiskTest, SearchListsMatchesWithFilters)
{
    Put("a.txt");
    Put("b.mp3");
    std::string hidden = Put("h.txt");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Folder("music");
    Put("music\\x.mp3");
    Folder("music\\live");
    Put("music\\live\\y.mp3");
    Folder("empty");
    Folder("onlysub");
    Folder("onlysub\\inner");
    const std::string& r = m_root;

    struct Case {
        std::string pattern;
        int flags;
        std::vector<std::string> expected;
    } cases[] = {
        {r + "*.txt", 4, {r + "a.txt", r + "h.txt"}},
        {r + "*.txt", 4 | 8, {r + "a.txt"}},
        {r + "*.mp3", 1 | 4, {r + "b.mp3", r + "music\\live\\y.mp3", r + "music\\x.mp3"}},
        {r + "*", 2, {r + "empty\\", r + "music\\", r + "onlysub\\"}},
        {r + "*", 2 | 16, {r + "empty\\", r + "onlysub\\"}},
        {r + "*", 2 | 32, {r + "music\\"}},
        {r + "*", 2 | 64, {r + "empty\\"}},
        {r + "*", 2 | 128, {r + "music\\", r + "onlysub\\"}},
        {r + "*", 2 | 16 | 32, {}},
        {r + "*", 2 | 64 | 128, {}},
        {r + "*", 1 | 2 | 16 | 64, {r + "empty\\", r + "onlysub\\inner\\"}},
        {r + "*", 0, {}},
        {r + "a.txt", 4, {"a.txt"}},
        {r + "music", 2, {"music\\"}},
        {r + "music", 4, {}},
        {r + "*.none", 1 | 4, {}},
    };
    for (const Case& c : cases) {
        SStringArray out;
        int found = m_disk.Search(&out, c.pattern.c_str(), c.flags);
        EXPECT_EQ(found, int(c.expected.size())) << c.pattern << " " << c.flags;
        std::vector<std::string> expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Sorted(out), expected) << c.pattern << " " << c.flags;
    }

    int files = 10;
    int folders = 20;
    EXPECT_EQ(m_disk.Search(nullptr, (r + "*").c_str(), 2 | 4, &files, &folders), 6);
    EXPECT_EQ(files, 13);
    EXPECT_EQ(folders, 23);

    SStringArray empties;
    EXPECT_EQ(m_disk.FindFiles(&empties, (r + "*").c_str(), true, true, false, true, true), 2);
    SStringArray visible;
    EXPECT_EQ(m_disk.FindFiles(&visible, (r + "*.txt").c_str(), false, false, true, false, false), 1);
}

TEST_F(SDiskTest, RecursiveSearchDoesNotFollowLinks)
{
    // The test set-up provides a folder holding one song and a link to itself.
    const char* loop = getenv("MELVORA_LINK_LOOP");
    if (!loop || !*loop)
        GTEST_SKIP() << "MELVORA_LINK_LOOP is not set";
    std::string folder = std::string(loop) + "\\";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    DWORD attributes = GetFileAttributesA((folder + "loop").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);

    SStringArray out;
    EXPECT_EQ(m_disk.Search(&out, (folder + "*.mp3").c_str(), 1 | 4), 1);
    EXPECT_EQ(Sorted(out), std::vector<std::string>{folder + "song.mp3"});
}

TEST_F(SDiskTest, TemporaryFolderAndFiles)
{
    SString folder = m_disk.GetTempFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(folder.GetAt(folder.GetLength() - 1), '\\');
    EXPECT_TRUE(m_disk.IsFolder(folder));

    EXPECT_TRUE(m_disk.SetKeepSeparator(false));
    SString stripped = m_disk.GetTempFolder();
    EXPECT_STREQ(stripped + "\\", folder);

    SString name = m_disk.GetTempFileName();
    EXPECT_FALSE(m_disk.KeepsSeparator());
    ASSERT_FALSE(name.IsEmpty());
    EXPECT_EQ(m_disk.GetFileSize(name), 0);
    SPath path(name);
    EXPECT_TRUE(path.GetFolderPath().CompareNoCase(folder) == 0) << name.GetBuffer();
    EXPECT_EQ(path.GetName().Left(3).CompareNoCase("tmp"), 0);
    EXPECT_TRUE(m_disk.DeleteFile(name));
    EXPECT_FALSE(m_disk.Exists(name));
}

TEST_F(SDiskTest, UniqueFileNames)
{
    std::string folder = Folder("covers");
    EXPECT_STREQ(m_disk.GetUniqueFileName(folder.c_str(), "cover", "jpg"), (folder + "cover.jpg").c_str());
    EXPECT_STREQ(m_disk.GetUniqueFileName(folder.c_str(), "cover", ""), (folder + "cover").c_str());
    Put("covers\\cover.jpg");
    SString taken = m_disk.GetUniqueFileName(folder.c_str(), "cover", "jpg");
    ASSERT_FALSE(taken.IsEmpty());
    EXPECT_FALSE(m_disk.Exists(taken));
    SString digits = taken.Mid(int(folder.size()) + 5);
    ASSERT_GE(digits.GetLength(), 5);
    EXPECT_STREQ(digits.Right(4), ".jpg");
    digits.TrimRight(4);
    EXPECT_GE(digits.GetLength(), 1);
    EXPECT_LE(digits.GetLength(), 6);
    EXPECT_EQ(strspn(digits, "0123456789"), size_t(digits.GetLength())) << digits.GetBuffer();

    EXPECT_STREQ(m_disk.GetUniqueFileName((m_root + "missing\\").c_str(), "cover", "jpg"), "");
    std::string bare = folder.substr(0, folder.size() - 1);
    for (bool keep : {true, false}) {
        m_disk.SetKeepSeparator(keep);
        EXPECT_STREQ(m_disk.GetUniqueFileName(bare.c_str(), "x", "txt"), (folder + "x.txt").c_str());
        EXPECT_STREQ(m_disk.GetUniqueFileName(folder.c_str(), "x", "txt"), (folder + "x.txt").c_str());
    }
}

TEST_F(SDiskTest, CreateFolderWithAndWithoutParents)
{
    std::string deep = m_root + "one\\two\\three";
    EXPECT_FALSE(m_disk.CreateFolder(deep.c_str(), false));
    EXPECT_FALSE(PathExists(m_root + "one"));
    EXPECT_TRUE(m_disk.CreateFolder(deep.c_str(), true));
    EXPECT_TRUE(m_disk.IsFolder(deep.c_str()));
    EXPECT_TRUE(m_disk.CreateFolder((deep + "\\").c_str(), false));
    EXPECT_TRUE(m_disk.CreateFolder((m_root + "single").c_str(), false));
    EXPECT_TRUE(m_disk.IsFolder((m_root + "single").c_str()));
    EXPECT_FALSE(m_disk.CreateFolder("C:\\", true));
    EXPECT_FALSE(m_disk.CreateFolder("", true));
    std::string file = Put("plain.txt");
    EXPECT_FALSE(m_disk.CreateFolder(file.c_str(), true));
}

TEST_F(SDiskTest, CreateFileRespectsOverwrite)
{
    std::string file = Put("keep.txt", "precious");
    EXPECT_FALSE(m_disk.CreateFile(file.c_str(), false, false));
    EXPECT_EQ(ReadFileBytes(file), "precious");
    EXPECT_TRUE(m_disk.CreateFile(file.c_str(), true, false));
    EXPECT_TRUE(PathExists(file));
    EXPECT_EQ(ReadFileBytes(file), "");

    std::string nested = m_root + "new\\folder\\file.txt";
    EXPECT_FALSE(m_disk.CreateFile(nested.c_str(), false, false));
    EXPECT_TRUE(m_disk.CreateFile(nested.c_str(), false, true));
    EXPECT_TRUE(m_disk.IsFile(nested.c_str()));

    // This program carries no "BINARY" resources: nothing may be left behind, and a
    // file that was to be overwritten keeps its content.
    std::string fromResource = m_root + "resource.bin";
    EXPECT_FALSE(m_disk.CreateFile(fromResource.c_str(), true, false, 4321));
    EXPECT_FALSE(PathExists(fromResource));
    std::string existing = Put("existing.bin", std::string("old\0bytes", 9));
    EXPECT_FALSE(m_disk.CreateFile(existing.c_str(), true, false, 4321));
    EXPECT_EQ(ReadFileBytes(existing), std::string("old\0bytes", 9));
    EXPECT_EQ(FolderNames(m_root), (std::vector<std::string>{"existing.bin", "keep.txt", "new"}));
}

TEST_F(SDiskTest, RenameAndDeleteFiles)
{
    std::string file = Put("old.txt", "abc");
    std::string renamed = m_root + "new.txt";
    EXPECT_TRUE(m_disk.RenameFile(file.c_str(), renamed.c_str()));
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(ReadFileBytes(renamed), "abc");
    EXPECT_FALSE(m_disk.RenameFile(file.c_str(), (m_root + "other.txt").c_str()));
    std::string folder = Folder("dir");
    EXPECT_FALSE(m_disk.RenameFile(folder.c_str(), (m_root + "dir2").c_str()));
    EXPECT_TRUE(PathExists(folder));

    EXPECT_TRUE(m_disk.DeleteFile(renamed.c_str()));
    EXPECT_FALSE(PathExists(renamed));
    EXPECT_FALSE(m_disk.DeleteFile(renamed.c_str()));
}

TEST_F(SDiskTest, DeleteMovesToTheRecycleBin)
{
    // Wine's bin is the host's trash folder under XDG_DATA_HOME: the test run points it at a scratch folder.
    const char* dataHome = getenv("XDG_DATA_HOME");
    if (!dataHome || !*dataHome)
        GTEST_SKIP() << "XDG_DATA_HOME does not point at a scratch folder";
    std::string trash = std::string("Z:") + dataHome + "\\Trash\\files\\";
    std::replace(trash.begin(), trash.end(), '/', '\\');
    std::string name = "bin-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());

    std::string file = Put(name + ".txt", "to the bin");
    EXPECT_TRUE(m_disk.Delete(file.c_str()));
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(ReadFileBytes(trash + name + ".txt"), "to the bin");

    std::string folder = Folder(name);
    Put(name + "\\inside.txt");
    EXPECT_TRUE(m_disk.Delete(folder.c_str(), nullptr, false, false));
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(PathExists(trash + name + "\\inside.txt"));

    std::string info = trash.substr(0, trash.size() - 6) + "info\\";
    RemoveTree(trash + name + "\\");
    DeleteFileA((trash + name + ".txt").c_str());
    DeleteFileA((info + name + ".trashinfo").c_str());
    DeleteFileA((info + name + ".txt.trashinfo").c_str());

    EXPECT_FALSE(m_disk.Delete("http://host/file.txt"));
    EXPECT_FALSE(m_disk.Delete("C:\\bad?name"));
    EXPECT_FALSE(m_disk.Delete(""));
}

TEST_F(SDiskTest, RunAndOpenFolderGoThroughTheLauncher)
{
    FakeLauncher launcher;
    LauncherScope scope(&launcher);
    std::string program = Put("player.exe");

    EXPECT_TRUE(m_disk.Run(program.c_str(), "-play", false, true, SW_HIDE));
    EXPECT_EQ(launcher.verb, "open");
    EXPECT_EQ(launcher.file, program);
    EXPECT_EQ(launcher.parameters, "-play");
    EXPECT_EQ(launcher.folder, m_root);
    EXPECT_EQ(launcher.showCmd, SW_HIDE);
    EXPECT_EQ(launcher.mask, ULONG(SEE_MASK_FLAG_NO_UI)) << "a failed start must show no box";

    EXPECT_TRUE(m_disk.Run(program.c_str(), nullptr, false, false, SW_SHOW));
    EXPECT_EQ(launcher.folder, "");

    EXPECT_TRUE(m_disk.Run(program.c_str(), "-x", true, false, SW_SHOW));
    EXPECT_EQ(launcher.mask, ULONG(SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI));
    DWORD handleFlags = 0;
    EXPECT_FALSE(GetHandleInformation(launcher.process, &handleFlags)) << "the process handle was not closed";

    launcher.result = SE_ERR_FNF;
    EXPECT_FALSE(m_disk.Run(program.c_str(), nullptr, false, false, SW_SHOW));
    EXPECT_FALSE(m_disk.Run(program.c_str(), nullptr, true, false, SW_SHOW));

    launcher.result = 42;
    int calls = launcher.calls;
    EXPECT_FALSE(m_disk.OpenFolder((m_root + "missing").c_str(), SW_SHOW));
    EXPECT_EQ(launcher.calls, calls);
    EXPECT_TRUE(m_disk.OpenFolder(m_root.c_str(), SW_SHOWMAXIMIZED));
    EXPECT_EQ(launcher.file, m_root);
    EXPECT_EQ(launcher.showCmd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(launcher.mask, ULONG(SEE_MASK_FLAG_NO_UI));
}

// The real shell, asked for a program that does not exist, answers false at once
// instead of opening its modal "file not found" box.
TEST_F(SDiskTest, RunOfAMissingProgramFailsWithoutABox)
{
    std::string missing = m_root + "no-such-program.exe";
    for (bool wait : {false, true}) {
        DWORD start = GetTickCount();
        EXPECT_FALSE(m_disk.Run(missing.c_str(), nullptr, wait, false, SW_SHOWNORMAL)) << wait;
        EXPECT_LT(GetTickCount() - start, 10000u) << "the start blocked: wait=" << wait;
    }
}

TEST_F(SDiskTest, CreateZipWritesAStoredArchive)
{
    Folder("book");
    Folder("book\\img");
    std::string page = Put("book\\index.htm", "<html>Melvora</html>");
    std::string image = Put("book\\img\\cover.png", std::string("\x89PNG\r\n\x1a\n\0\x01\x02", 11));
    SStringArray files;
    files.Add(page.c_str());
    files.Add(image.c_str());
    int first = SPath(m_root.c_str()).GetComponentCount() - 1;
    std::string zip = m_root + "book.zip";
    ASSERT_TRUE(m_disk.CreateZip(zip.c_str(), &files, first));

    std::string bytes = ReadFileBytes(zip);
    const std::string names[] = {"book/index.htm", "book/img/cover.png"};
    const std::string contents[] = {ReadFileBytes(page), ReadFileBytes(image)};
    size_t expectedSize = 22 + 2 * (30 + 46);
    for (int i = 0; i < 2; ++i)
        expectedSize += 2 * names[i].size() + contents[i].size();
    ASSERT_EQ(bytes.size(), expectedSize);

    size_t at = 0;
    uint32_t offsets[2];
    for (int i = 0; i < 2; ++i) {
        offsets[i] = uint32_t(at);
        ASSERT_EQ(U32(bytes, at), 0x04034b50u);
        EXPECT_EQ(U16(bytes, at + 8), 0);
        EXPECT_EQ(U32(bytes, at + 14), Crc32(contents[i].data(), contents[i].size()));
        EXPECT_EQ(U32(bytes, at + 18), contents[i].size());
        EXPECT_EQ(U32(bytes, at + 22), contents[i].size());
        ASSERT_EQ(U16(bytes, at + 26), names[i].size());
        EXPECT_EQ(bytes.substr(at + 30, names[i].size()), names[i]);
        at += 30 + names[i].size();
        EXPECT_EQ(bytes.substr(at, contents[i].size()), contents[i]);
        at += contents[i].size();
    }
    size_t directory = at;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(U32(bytes, at), 0x02014b50u);
        EXPECT_EQ(U32(bytes, at + 16), Crc32(contents[i].data(), contents[i].size()));
        EXPECT_EQ(U16(bytes, at + 36), 1);
        EXPECT_EQ(U32(bytes, at + 38), 0x20u);
        EXPECT_EQ(U32(bytes, at + 42), offsets[i]);
        EXPECT_EQ(bytes.substr(at + 46, names[i].size()), names[i]);
        at += 46 + names[i].size();
    }
    ASSERT_EQ(U32(bytes, at), 0x06054b50u);
    EXPECT_EQ(U16(bytes, at + 8), 2);
    EXPECT_EQ(U16(bytes, at + 10), 2);
    EXPECT_EQ(U32(bytes, at + 12), at - directory);
    EXPECT_EQ(U32(bytes, at + 16), directory);
}

TEST_F(SDiskTest, CreateZipLeavesNoArchiveOnFailure)
{
    std::string present = Put("present.txt");
    std::string zip = m_root + "broken.zip";
    std::string older = Put("older.zip", std::string("PK\x05\x06" "an older archive", 20));
    struct Case {
        std::vector<std::string> files;
        int firstComponent;
    } cases[] = {
        {{present, m_root + "vanished.txt"}, 0},
        {{present}, 99},
        {{m_root}, 0},
        {{}, 0},
    };
    for (const Case& c : cases) {
        SStringArray files;
        for (const std::string& file : c.files)
            files.Add(file.c_str());
        EXPECT_FALSE(m_disk.CreateZip(zip.c_str(), &files, c.firstComponent));
        EXPECT_FALSE(PathExists(zip));
        // An archive of that name from before stays byte for byte.
        EXPECT_FALSE(m_disk.CreateZip(older.c_str(), &files, c.firstComponent));
        EXPECT_EQ(ReadFileBytes(older), std::string("PK\x05\x06" "an older archive", 20));
    }
    EXPECT_EQ(FolderNames(m_root), (std::vector<std::string>{"older.zip", "present.txt"}));
    EXPECT_FALSE(m_disk.CreateZip(zip.c_str(), nullptr, 0));
    SStringArray one;
    one.Add(present.c_str());
    EXPECT_FALSE(m_disk.CreateZip((m_root + "no\\such\\folder.zip").c_str(), &one, 0));
    EXPECT_TRUE(m_disk.CreateZip(zip.c_str(), &one, -5));
    EXPECT_TRUE(PathExists(zip));
}

// Writes the archive that the host-side check reads back with a standard ZIP reader.
TEST_F(SDiskTest, CreateZipForTheHostReader)
{
    const char* target = getenv("MELVORA_ZIP_CHECK");
    if (!target || !*target)
        GTEST_SKIP() << "MELVORA_ZIP_CHECK is not set";
    Folder("book");
    Folder("book\\pages");
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += char(i * 7 + 3);
    SStringArray files;
    files.Add(Put("book\\index.htm", text).c_str());
    files.Add(Put("book\\pages\\data.bin", binary).c_str());
    files.Add(Put("book\\pages\\empty.txt", "").c_str());
    int first = SPath(m_root.c_str()).GetComponentCount() - 1;
    DeleteFileA(target);
    ASSERT_TRUE(m_disk.CreateZip(target, &files, first));
    EXPECT_EQ(m_disk.GetFileSize(target), int(22 + 3 * (30 + 46) + 2 * (14 + 19 + 20) + text.size() + binary.size()));
}
