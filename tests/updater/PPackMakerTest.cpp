#include <gtest/gtest.h>

#include "PMakeController.h"
#include "PPackMaker.h"
#include "SResource.h"
#include "UpdaterTestSupport.h"

using namespace updater_test;

namespace
{
// A program folder as a maker would pack it.
void FillProgramFolder(const ScratchFolder& source)
{
    source.Put("melvora.exe", Pattern(300000, 1));
    source.Put("Update.exe", "the running updater");
    source.Put("readme.txt", "hello");
    source.Put("empty.dat", "");
    source.Put("tools\\Update.exe", "a nested updater");
    source.Put("skins\\dark\\skin.ini", Pattern(2000, 2));
    source.Put("hidden.cfg", "secret");
    SetFileAttributesA((source.path + "hidden.cfg").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

std::string Descriptor(const std::string& version, uint32_t crc)
{
    return version + "\r\n" + std::to_string(crc) + "\r\n";
}
}

TEST(PPackMaker, PacksTheTreeAndWritesTheDescriptor)
{
    ScratchFolder source;
    ScratchFolder output;
    FillProgramFolder(source);
    PPackMaker maker;
    std::string descriptor = output.path + "release.upd";
    ASSERT_EQ(maker.Make(source.path.c_str(), "1.0.4.0", descriptor.c_str()), PPackMaker::MakeDone);
    EXPECT_EQ(std::string(PPackMaker::GetPackagePath(descriptor.c_str())), output.path + "release.bin");
    SDisk disk;
    uint32_t crc = disk.GetFileCrc32((output.path + "release.bin").c_str());
    EXPECT_EQ(maker.GetChecksum(), crc);
    EXPECT_EQ(output.Get("release.upd"), Descriptor("1.0.4.0", crc));

    SResource pack;
    ASSERT_TRUE(pack.Open((output.path + "release.bin").c_str(), 0));
    EXPECT_TRUE(pack.IsCompressed());
    ScratchFolder extracted;
    SStringArray failed;
    ASSERT_TRUE(pack.ExtractAll(extracted.path.c_str(), &failed));
    std::map<std::string, std::string> expected = Snapshot(source.path);
    expected.erase("Update.exe");
    EXPECT_EQ(Snapshot(extracted.path), expected);
    EXPECT_EQ(extracted.Get("tools\\Update.exe"), "a nested updater");
}

TEST(PPackMaker, VersionIsWrittenAsTyped)
{
    ScratchFolder source;
    source.Put("a.txt", "a");
    for (const char* version : {"", " 2.0 beta ", "1.0.0.0"})
    {
        ScratchFolder output;
        PPackMaker maker;
        ASSERT_EQ(maker.Make(source.path.c_str(), version, (output.path + "r.upd").c_str()), PPackMaker::MakeDone);
        EXPECT_EQ(output.Get("r.upd"), Descriptor(version, maker.GetChecksum()));
    }
}

TEST(PPackMaker, OutputInsideTheSourceIsLeftOut)
{
    ScratchFolder source;
    source.Put("a.txt", "a");
    source.Put("r.bin", "an old package");
    PPackMaker maker;
    std::string descriptor = source.path + "r.upd";
    ASSERT_EQ(maker.Make(source.path.c_str(), "1", descriptor.c_str()), PPackMaker::MakeDone);
    SResource pack;
    ASSERT_TRUE(pack.Open((source.path + "r.bin").c_str(), 0));
    ASSERT_EQ(pack.GetCount(), 1);
    EXPECT_STREQ(pack.GetName(0), "a.txt");
}

TEST(PPackMaker, RefusalsLeaveNothingBehind)
{
    ScratchFolder output;
    std::string descriptor = output.path + "r.upd";
    {
        ScratchFolder onlyUpdater;
        onlyUpdater.Put("UPDATE.EXE", "x");
        PPackMaker maker;
        EXPECT_EQ(maker.Make(onlyUpdater.path.c_str(), "1", descriptor.c_str()), PPackMaker::MakeNoFiles);
        EXPECT_STREQ(maker.GetMessage(), "No files");
    }
    PPackMaker maker;
    EXPECT_EQ(maker.Make((output.path + "missing").c_str(), "1", descriptor.c_str()), PPackMaker::MakeInvalidFolder);
    EXPECT_STREQ(maker.GetMessage(), "Invalid folder");
    EXPECT_STREQ(maker.GetMessageTitle(), "Error");
    EXPECT_TRUE(Snapshot(output.path).empty());
}

TEST(PPackMaker, AnUnreadableFileFailsTheMakeByName)
{
    ScratchFolder source;
    ScratchFolder output;
    source.Put("a.txt", "a");
    source.Put("locked.dll", Pattern(200000, 3));
    // An old descriptor must not survive a failed make: it would name another package.
    output.Put("r.upd", "old\r\n1\r\n");
    HANDLE lock = CreateFileA((source.path + "locked.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PPackMaker maker;
    EXPECT_EQ(maker.Make(source.path.c_str(), "1", (output.path + "r.upd").c_str()), PPackMaker::MakeReadFailed);
    CloseHandle(lock);
    EXPECT_EQ(std::string(maker.GetFailedPath()), source.path + "locked.dll");
    EXPECT_NE(std::string(maker.GetMessage()).find(source.path + "locked.dll"), std::string::npos);
    EXPECT_TRUE(Snapshot(output.path).empty());
}

TEST(PPackMaker, AnUnwritablePackageFailsTheMake)
{
    ScratchFolder source;
    ScratchFolder output;
    source.Put("a.txt", "a");
    output.Put("r.bin", "in use");
    HANDLE lock = CreateFileA((output.path + "r.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PPackMaker maker;
    EXPECT_EQ(maker.Make(source.path.c_str(), "1", (output.path + "r.upd").c_str()), PPackMaker::MakeWriteFailed);
    CloseHandle(lock);
    EXPECT_FALSE(Exists(output.path + "r.upd"));
    EXPECT_EQ(output.Get("r.bin"), "in use");
}

namespace
{
class FakeMakeView : public PMakeView
{
public:
    SString GetVersionText() override { return SString(version.c_str()); }
    SString GetFolderText() override { return SString(folder.c_str()); }
    void SetFolderText(const char* text) override { folder = text; }
    void ShowMessage(const char* text, const char* title) override { messages.push_back(std::string(title) + ": " + text); }
    bool ChooseDescriptor(SString* path) override
    {
        asked++;
        if (descriptor.empty())
            return false;
        *path = descriptor.c_str();
        return true;
    }
    SString ChooseFolder() override { return SString(chosenFolder.c_str()); }

    std::string version = "1.0.0.0";
    std::string folder;
    std::string descriptor;
    std::string chosenFolder;
    std::vector<std::string> messages;
    int asked = 0;
};
}

TEST(PMakeController, MakeAsksOnlyForAFolderWithFiles)
{
    ScratchFolder source;
    ScratchFolder output;
    FakeMakeView view;
    PMakeController controller(&view);
    view.folder = source.path + "missing";
    EXPECT_EQ(controller.Make(), PPackMaker::MakeInvalidFolder);
    source.Put("Update.exe", "x");
    view.folder = source.path;
    EXPECT_EQ(controller.Make(), PPackMaker::MakeNoFiles);
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Error: Invalid folder", "Error: No files"}));
    EXPECT_EQ(view.asked, 0);

    source.Put("a.txt", "a");
    EXPECT_EQ(controller.Make(), PPackMaker::MakeDone);  // cancelled save dialog
    EXPECT_EQ(view.asked, 1);
    EXPECT_TRUE(Snapshot(output.path).empty());
    view.descriptor = output.path + "release.upd";
    view.version = "2.0";
    EXPECT_EQ(controller.Make(), PPackMaker::MakeDone);
    EXPECT_TRUE(Exists(output.path + "release.bin"));
    EXPECT_EQ(output.Get("release.upd").substr(0, 5), "2.0\r\n");
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST(PMakeController, DroppedFoldersAndChosenFoldersFillTheField)
{
    ScratchFolder source;
    source.Put("a.txt", "a");
    FakeMakeView view;
    PMakeController controller(&view);
    view.folder = "unchanged";
    SStringArray dropped;
    dropped.Add((source.path + "a.txt").c_str());
    controller.DropFiles(&dropped);
    EXPECT_EQ(view.folder, "unchanged");
    dropped.RemoveAll();
    std::string bare = source.path.substr(0, source.path.size() - 1);
    dropped.Add(bare.c_str());
    controller.DropFiles(&dropped);
    EXPECT_EQ(view.folder, source.path);
    controller.DropFiles(nullptr);
    view.chosenFolder = "";
    controller.BrowseFolder();
    EXPECT_EQ(view.folder, source.path);
    view.chosenFolder = "C:\\chosen\\";
    controller.BrowseFolder();
    EXPECT_EQ(view.folder, "C:\\chosen\\");
}
