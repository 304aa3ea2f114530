#include <gtest/gtest.h>

#include "LibraryTestSupport.h"
#include "PPlaylistFile.h"

using library_test::ReadAll;
using library_test::ScratchFolder;

TEST(PPlaylistFile, NamesThatWouldLeaveTheFolderOrNameADeviceAreRefused)
{
    struct Case
    {
        const char* name;
        bool valid;
    };
    const Case cases[] = {
        {"Favourites", true},   {"Road trip 2", true}, {"Rock & Roll", true}, {"a.b", true},
        {"COM10", true},        {"Console", true},     {"", false},           {"..\\Escape", false},
        {"sub/name", false},    {"C:name", false},     {"what?", false},      {"star*", false},
        {"quote\"d", false},    {"pipe|", false},      {"<in>", false},       {"tab\there", false},
        {"trailing.", false},   {"trailing ", false},  {"..", false},         {"CON", false},
        {"nul.txt", false},     {"Aux", false},        {"com1", false},       {"LPT9.lst", false},
        {"prn ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.valid, PPlaylistFile::IsValidName(c.name)) << c.name;
    EXPECT_FALSE(PPlaylistFile::IsValidName(nullptr));
}

TEST(PPlaylistFile, ReadTrimsBlanksAndTabsAndSkipsEmptyLinesWriteEndsEveryLineWithCrLf)
{
    ScratchFolder folder("playlist");
    ASSERT_TRUE(folder.File("in.lst", "  Artist\\Album\\01 a.mp3\t\r\n\r\n \t \r\nB\\c.wma\r\nlast\\x.mp3"));
    SStringArray entries;
    ASSERT_TRUE(PPlaylistFile::Read((folder + "in.lst").c_str(), &entries));
    ASSERT_EQ(3, entries.GetCount());
    EXPECT_STREQ("Artist\\Album\\01 a.mp3", entries.GetAt(0));
    EXPECT_STREQ("B\\c.wma", entries.GetAt(1));
    EXPECT_STREQ("last\\x.mp3", entries.GetAt(2));

    ASSERT_TRUE(PPlaylistFile::Write((folder + "out.lst").c_str(), entries));
    EXPECT_EQ("Artist\\Album\\01 a.mp3\r\nB\\c.wma\r\nlast\\x.mp3\r\n", ReadAll(folder + "out.lst"));

    // Writing truncates: a shorter list leaves nothing of the longer one.
    SStringArray one;
    one.Add("only.mp3");
    ASSERT_TRUE(PPlaylistFile::Write((folder + "out.lst").c_str(), one));
    EXPECT_EQ("only.mp3\r\n", ReadAll(folder + "out.lst"));
    ASSERT_TRUE(PPlaylistFile::Write((folder + "out.lst").c_str(), SStringArray()));
    EXPECT_EQ("", ReadAll(folder + "out.lst"));
}

TEST(PPlaylistFile, MissingFilesFailAndAddNothing)
{
    ScratchFolder folder("playlist-missing");
    SStringArray entries;
    entries.Add("kept");
    EXPECT_FALSE(PPlaylistFile::Read((folder + "none.lst").c_str(), &entries));
    EXPECT_EQ(1, entries.GetCount());
    EXPECT_FALSE(PPlaylistFile::Write((folder + "no folder\\x.lst").c_str(), entries));
}

TEST(PPlaylistFile, EntriesAreThePathBelowTheRoot)
{
    SPath root;
    root.SetFolder("C:\\Music\\Library\\");
    EXPECT_STREQ("Artist\\Album\\song.mp3", PPlaylistFile::EntryOf(root, "C:\\Music\\Library\\Artist\\Album\\song.mp3"));
    EXPECT_STREQ("song.mp3", PPlaylistFile::EntryOf(root, "C:\\Music\\Library\\song.mp3"));
    SPath drive;
    drive.SetFolder("D:\\");
    EXPECT_STREQ("Artist\\song.mp3", PPlaylistFile::EntryOf(drive, "D:\\Artist\\song.mp3"));
}
