// Browsing logic without the main window: the statistics pass and its
// generation rule, the texts and markup it builds, the file listing and the
// cover ripple's checks of sizes and drop points.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LibraryTestSupport.h"
#include "PFileLister.h"
#include "PPlayQueue.h"
#include "PLibraryStats.h"
#include "PMarkup.h"
#include "PWndApp.h"
#include "SListCtrl.h"
#include "SMediaText.h"
#include "SPath.h"

namespace
{

// A scratch folder tree under the temporary folder, removed with the object.
class ScratchTree
{
public:
    ScratchTree()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        char name[64];
        wsprintfA(name, "melvora-browse-%lu-%lu\\", GetCurrentProcessId(), GetTickCount());
        m_root = std::string(temp) + name;
        CreateDirectoryA(m_root.c_str(), nullptr);
    }
    ~ScratchTree() { library_test::ScratchFolder::Remove(m_root); }

    const std::string& Root() const { return m_root; }

    // Creates a file (and its folders) below the root with the given bytes.
    void File(const std::string& relative, const char* bytes = "", bool hidden = false)
    {
        std::string path = m_root + relative;
        for (size_t at = path.find('\\', m_root.size()); at != std::string::npos; at = path.find('\\', at + 1))
            CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        WriteFile(file, bytes, (DWORD)strlen(bytes), &written, nullptr);
        CloseHandle(file);
        if (hidden)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }

    void Folder(const std::string& relative, bool hidden = false)
    {
        std::string path = m_root + relative;
        CreateDirectoryA(path.c_str(), nullptr);
        if (hidden)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }

private:
    std::string m_root;
};

PLibraryStats* Numbered(int generation)
{
    PLibraryStats* stats = new PLibraryStats;
    stats->SetGeneration(generation);
    return stats;
}

bool StopAlways(void*)
{
    return true;
}

} // namespace

TEST(PStatsKeeper, OnlyTheLatestPassReplacesTheStatistics)
{
    PStatsKeeper keeper;
    EXPECT_EQ(keeper.GetGeneration(), 0);
    EXPECT_EQ(keeper.Get().GetFolderCount(), 0);
    const int first = keeper.BeginPass();
    EXPECT_TRUE(keeper.Accept(Numbered(first)));
    EXPECT_EQ(keeper.Get().GetGeneration(), first);

    // Two passes started; the older finishes after the newer was taken.
    const int second = keeper.BeginPass();
    const int third = keeper.BeginPass();
    EXPECT_GT(third, second);
    EXPECT_FALSE(keeper.Accept(Numbered(second)));
    EXPECT_EQ(keeper.Get().GetGeneration(), first);
    EXPECT_TRUE(keeper.Accept(Numbered(third)));
    EXPECT_FALSE(keeper.Accept(Numbered(second)));
    EXPECT_FALSE(keeper.Accept(Numbered(first)));
    EXPECT_EQ(keeper.Get().GetGeneration(), third);
    EXPECT_FALSE(keeper.Accept(nullptr));
}

TEST(PLibraryStats, KindsByExtension)
{
    const struct
    {
        const char* name;
        PLibraryStats::Kind kind;
    } cases[] = {{"a.mp3", PLibraryStats::KindSong},   {"B.WMA", PLibraryStats::KindSong},
                 {"c.mpg", PLibraryStats::KindVideo},  {"d.MPEG", PLibraryStats::KindVideo},
                 {"e.avi", PLibraryStats::KindVideo},  {"f.wmv", PLibraryStats::KindVideo},
                 {"g.wax", PLibraryStats::KindRadio},  {"h.Wvx", PLibraryStats::KindRadio},
                 {"i.wav", PLibraryStats::KindNone},   {"j.mp3.txt", PLibraryStats::KindNone},
                 {"mp3", PLibraryStats::KindNone},     {"k.mp33", PLibraryStats::KindNone},
                 {nullptr, PLibraryStats::KindNone}};
    for (const auto& c : cases)
        EXPECT_EQ(PLibraryStats::KindOf(c.name), c.kind) << (c.name ? c.name : "null");
}

TEST(PLibraryStats, CountsEveryFolderWithItsSubtreeAndSkipsHidden)
{
    ScratchTree tree;
    tree.File("Artist\\Album\\1.mp3");
    tree.File("Artist\\Album\\2.WMA");
    tree.File("Artist\\Album\\clip.avi");
    tree.File("Artist\\Album\\cover.jpg");
    tree.File("Artist\\top.mp3");
    tree.File("Radios\\fm.wax");
    tree.File("Radios\\tv.wvx");
    tree.File("Radios\\hidden.mp3", "x", true);
    tree.Folder("Secret", true);
    tree.File("Secret\\s.mp3");
    tree.File("Secret\\empty.ini");
    tree.File("Artist\\Album.ini");
    tree.File("Artist\\full.ini", "site=x");
    tree.File("hidden.ini", "", true);

    PLibraryStats stats;
    SStringArray emptyIni;
    ASSERT_TRUE(stats.Count(tree.Root().c_str(), &emptyIni));
    EXPECT_EQ(stats.GetTotalSongs(), 3);
    EXPECT_EQ(stats.GetTotalVideos(), 1);
    EXPECT_EQ(stats.GetTotalRadios(), 2);
    ASSERT_EQ(stats.GetFolderCount(), 4) << "root, Artist, Artist\\Album, Radios; never Secret";
    const struct
    {
        const char* folder;
        int songs, videos, radios;
    } folders[] = {{"", 3, 1, 2}, {"Artist\\", 3, 1, 0}, {"Artist\\Album\\", 2, 1, 0}, {"Radios\\", 0, 0, 2}};
    for (const auto& f : folders)
    {
        int at = stats.Find((tree.Root() + f.folder).c_str());
        ASSERT_GE(at, 0) << f.folder;
        EXPECT_EQ(stats.GetSongs(at), f.songs) << f.folder;
        EXPECT_EQ(stats.GetVideos(at), f.videos) << f.folder;
        EXPECT_EQ(stats.GetRadios(at), f.radios) << f.folder;
    }
    EXPECT_LT(stats.Find((tree.Root() + "Secret\\").c_str()), 0);
    EXPECT_LT(stats.Find((tree.Root() + "artist\\").c_str()), 0) << "the folder list is case-sensitive";
    for (int i = 1; i < stats.GetFolderCount(); i++)
        EXPECT_LT(strcmp(stats.GetFolders().GetAt(i - 1), stats.GetFolders().GetAt(i)), 0);

    // Empty ".ini" files anywhere, hidden ones and those in hidden folders too.
    ASSERT_EQ(emptyIni.GetCount(), 3);
    std::vector<std::string> found;
    for (int i = 0; i < emptyIni.GetCount(); i++)
        found.push_back((const char*)emptyIni.GetAt(i));
    for (const char* name : {"Secret\\empty.ini", "Artist\\Album.ini", "hidden.ini"})
        EXPECT_NE(std::find(found.begin(), found.end(), tree.Root() + name), found.end()) << name;
}

TEST(PLibraryStats, FailuresLeaveNoCounts)
{
    ScratchTree tree;
    tree.File("a.mp3");
    PLibraryStats stats;
    EXPECT_FALSE(stats.Count((tree.Root() + "missing\\").c_str()));
    EXPECT_FALSE(stats.Count((tree.Root() + "a.mp3").c_str()));
    EXPECT_FALSE(stats.Count(nullptr));
    EXPECT_EQ(stats.GetFolderCount(), 0);
    // A stop request abandons the walk.
    for (int i = 0; i < 300; i++)
        tree.File("many\\" + std::to_string(i) + ".mp3");
    EXPECT_FALSE(stats.Count(tree.Root().c_str(), nullptr, StopAlways, nullptr));
    EXPECT_EQ(stats.GetFolderCount(), 0);
    EXPECT_EQ(stats.GetTotalSongs(), 0);
    EXPECT_EQ(stats.GetSongs(0), 0);
}

TEST(PMarkup, CountsWithGroupingAndPlurals)
{
    // The locale's thousands separator, whatever it is.
    char thousand[8] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, sizeof(thousand));
    EXPECT_STREQ(PMarkup::FormatCount(0), "0");
    EXPECT_STREQ(PMarkup::FormatCount(999), "999");
    EXPECT_EQ(std::string(PMarkup::FormatCount(1234567)), std::string("1") + thousand + "234" + thousand + "567");
    const struct
    {
        int n;
        const char* text;
    } words[] = {{0, "0 song"}, {1, "1 song"}, {2, "2 songs"}, {-1, "-1 song"}};
    for (const auto& w : words)
        EXPECT_STREQ(PMarkup::CountWords(w.n, "song"), w.text);
    EXPECT_STREQ(PMarkup::TotalsText(1, 0, 2), "1 song, 0 video, 2 radios");
    EXPECT_STREQ(PMarkup::CountsMarkup(2, 1, 0), "<b>2</b> songs, <b>1</b> video & <b>0</b> radio");
}

TEST(PMarkup, SiteAddressAndTitle)
{
    const struct
    {
        const char* site;
        const char* shown;
    } sites[] = {{"http://www.example.org/a", "example.org/a"},
                 {"http://example.org/", "example.org/"},
                 {"https://www.example.org", "https://www.example.org"},
                 {"www.example.org", "www.example.org"},
                 {"", ""}};
    for (const auto& s : sites)
        EXPECT_STREQ(PMarkup::SiteAddress(s.site), s.shown) << s.site;
    EXPECT_STREQ(PMarkup::FolderTitle("Album", ""), "Album");
    EXPECT_STREQ(PMarkup::FolderTitle("Album", "http://www.x.org"), "Album\r\n\r\n<link>x.org</link>");
    EXPECT_STREQ(PMarkup::FolderTitle("A", "http://x.org/<b>\r\n"), "A\r\n\r\n<link>x.org/%3Cb%3E%20%20</link>");
}

TEST(PMarkup, EscapedNamesNeverFormTags)
{
    // Names as users write them; none may turn into a tag of the markup view.
    const char* names[] = {"<b>Bold</b>", "Rock & Roll", "<#FF0000>red", "</link>", "a<link>x</link>",
                           "<img>", "<<b>>", "x < y > z"};
    for (const char* name : names)
    {
        SString escaped = PMarkup::Escape(name);
        SMediaTagList tags;
        tags.Parse(escaped);
        EXPECT_EQ(tags.GetCount(), 1) << name << ": only the start tag";
        // Every other character of the name is still there, in order; '<' shows as its look-alike.
        std::string shown = name;
        for (char& c : shown)
            if (c == '<')
                c = '\x8B';
        EXPECT_EQ(std::string(escaped), shown);
    }
    // A title whose name holds tags still has exactly its own link.
    SMediaTagList title;
    title.Parse(PMarkup::FolderTitle("<link>evil</link>", "http://x.org"));
    int links = 0;
    for (int i = 0; i < title.GetCount(); i++)
        if (title.GetTag(i)->kind == SMEDIATAG_LINK && title.GetTag(i)->opening)
            links++;
    EXPECT_EQ(links, 1);
}

TEST(PFileLister, CollectsByKindSortedIgnoringCase)
{
    ScratchTree tree;
    for (const char* name : {"b.mp3", "A.wma", "c.avi", "d.MPEG", "e.wax", "f.wvx", "g.jpg", "h.txt", "i.wav"})
        tree.File(std::string("Album\\") + name);
    tree.File("Album\\hidden.mp3", "", true);
    tree.File("Album\\Deeper\\z.mp3");
    tree.File("Album\\Deeper.png");
    tree.File("Album\\Deeper.txt");
    tree.File("Album\\Deeper.htm");
    const std::string album = tree.Root() + "Album\\";
    const struct
    {
        bool recursive, songs, videos, pictures, sideFiles, excludeRadios;
        std::vector<std::string> names;
    } cases[] = {
        {false, true, true, true, false, false, {"A.wma", "b.mp3", "c.avi", "d.MPEG", "e.wax", "f.wvx", "g.jpg"}},
        {false, true, false, false, false, false, {"A.wma", "b.mp3", "e.wax"}},
        {false, false, true, false, false, true, {"c.avi", "d.MPEG"}},
        {false, false, false, true, false, false, {"g.jpg"}},
        {true, true, false, false, false, true, {"A.wma", "b.mp3", "Deeper\\z.mp3"}},
        {true, false, false, false, true, false, {"Deeper.htm", "Deeper.png", "Deeper.txt"}},
    };
    for (const auto& c : cases)
    {
        SStringArray out;
        out.Add("kept");
        PPlayQueue::CollectFiles(&out, album.c_str(), c.recursive, c.songs, c.videos, c.pictures, c.sideFiles,
                             c.excludeRadios);
        ASSERT_EQ(out.GetCount(), (int)c.names.size() + 1);
        EXPECT_STREQ(out.GetAt(0), "kept") << "out is appended to";
        for (size_t i = 0; i < c.names.size(); i++)
            EXPECT_EQ(std::string(out.GetAt((int)i + 1)), album + c.names[i]);
    }
}

TEST(PFileLister, FillsTheListWithKindsAndNoteMarkers)
{
    ScratchTree tree;
    for (const char* name : {"01 One.mp3", "01 One.txt", "02 Two.avi", "Radio.wax", "Shot.jpg", "Shot.txt"})
        tree.File(std::string("F\\") + name);
    const std::string folder = tree.Root() + "F\\";
    SStringArray files;
    PPlayQueue::CollectFiles(&files, folder.c_str(), false, true, true, true, false, false);

    SWnd parent;
    ASSERT_TRUE(parent.Create("files", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr));
    SListCtrl list;
    RECT rect = {0, 0, 200, 200};
    ASSERT_TRUE(list.Create(LBS_EXTENDEDSEL, 0, &rect, parent.GetHandle()));
    SStringArray paths;
    paths.Add("stale");
    ASSERT_EQ(PFileLister::Fill(&list, &paths, files, folder.c_str()), 4);
    const struct
    {
        const char* text;
        int left, right;
    } items[] = {{"01 One", PFileLister::ImageSong, PFileLister::ImageNote},
                 {"02 Two", PFileLister::ImageVideo, -1},
                 {"Radio", PFileLister::ImageRadio, -1},
                 {"Shot", PFileLister::ImagePicture, -1}};
    ASSERT_EQ(paths.GetCount(), 4);
    for (int i = 0; i < 4; i++)
    {
        EXPECT_STREQ(list.GetItemText(i), items[i].text);
        EXPECT_EQ(list.GetItemLeftImage(i), items[i].left) << items[i].text;
        EXPECT_EQ(list.GetItemRightImage(i), items[i].right) << items[i].text << ": pictures never get a marker";
        EXPECT_STREQ(paths.GetAt(i), files.GetAt(i));
    }
}

TEST(PFileLister, OneListingFindsWhatCollectingAndTheNoteSearchFind)
{
    ScratchTree tree;
    for (const char* name : {"b.mp3", "A.wma", "c.AVI", "d.mpeg", "e.wax", "f.wvx", "g.jpg", "g.txt", "Track.mp3",
                             "track.TXT", "Noted.mp3", "NoDot", ".txt", "x.wav", "Sub.mp3\\inner.mp3",
                             "Sub.mp3\\inner.txt"})
        tree.File(std::string("F\\") + name);
    tree.File("F\\hidden.mp3", "", true);
    tree.File("F\\Noted.txt", "", true);
    tree.Folder("F\\b.txt");
    const std::string folder = tree.Root() + "F\\";
    SStringArray collected;
    PPlayQueue::CollectFiles(&collected, folder.c_str(), false, true, true, true, false, false);
    const std::vector<std::string> expectedNotes = {"g", "Noted", "track"};

    for (const std::string& given : {folder, folder.substr(0, folder.size() - 1)})
    {
        SCOPED_TRACE(given);
        SStringArray files, notes;
        files.Add("stale");
        notes.Add("stale");
        ASSERT_EQ(9, PFileLister::CollectFolder(given.c_str(), &files, &notes));
        ASSERT_EQ(collected.GetCount(), files.GetCount());
        for (int i = 0; i < files.GetCount(); i++)
            EXPECT_STREQ(collected.GetAt(i), files.GetAt(i));
        ASSERT_EQ((int)expectedNotes.size(), notes.GetCount());
        for (int i = 0; i < notes.GetCount(); i++)
            EXPECT_STREQ(expectedNotes[(size_t)i].c_str(), notes.GetAt(i));

        // Filled from the notes found, the list is the one filled by searching for them.
        SWnd parent;
        ASSERT_TRUE(parent.Create("files", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr));
        SListCtrl searched, listed;
        RECT rect = {0, 0, 200, 200};
        ASSERT_TRUE(searched.Create(LBS_EXTENDEDSEL, 0, &rect, parent.GetHandle(), 1));
        ASSERT_TRUE(listed.Create(LBS_EXTENDEDSEL, 0, &rect, parent.GetHandle(), 2));
        SStringArray searchedPaths, listedPaths;
        ASSERT_EQ(9, PFileLister::Fill(&searched, &searchedPaths, collected, folder.c_str()));
        ASSERT_EQ(9, PFileLister::Fill(&listed, &listedPaths, files, notes));
        int marked = 0;
        for (int i = 0; i < 9; i++)
        {
            EXPECT_STREQ(searched.GetItemText(i), listed.GetItemText(i));
            EXPECT_EQ(searched.GetItemLeftImage(i), listed.GetItemLeftImage(i));
            EXPECT_EQ(searched.GetItemRightImage(i), listed.GetItemRightImage(i));
            EXPECT_STREQ(searchedPaths.GetAt(i), listedPaths.GetAt(i));
            marked += listed.GetItemRightImage(i) == PFileLister::ImageNote ? 1 : 0;
        }
        EXPECT_EQ(2, marked) << "Track and Noted; the picture g never";

        // The files themselves as the paths: kept whole, the items alike.
        SListCtrl kept;
        ASSERT_TRUE(kept.Create(LBS_EXTENDEDSEL, 0, &rect, parent.GetHandle(), 3));
        ASSERT_EQ(9, PFileLister::Fill(&kept, &files, files, notes));
        ASSERT_EQ(9, files.GetCount());
        for (int i = 0; i < 9; i++)
        {
            EXPECT_STREQ(collected.GetAt(i), files.GetAt(i));
            EXPECT_STREQ(listed.GetItemText(i), kept.GetItemText(i));
            EXPECT_EQ(listed.GetItemRightImage(i), kept.GetItemRightImage(i));
        }
    }

    SStringArray files, notes;
    files.Add("stale");
    EXPECT_EQ(0, PFileLister::CollectFolder((tree.Root() + "Missing\\").c_str(), &files, &notes));
    EXPECT_EQ(0, files.GetCount());
    EXPECT_EQ(0, PFileLister::CollectFolder(nullptr, &files, &notes));
    EXPECT_EQ(0, PFileLister::CollectFolder(folder.c_str(), nullptr, &notes));
}

TEST(PFileLister, TitlesReadAsThePathReadsThem)
{
    struct Case
    {
        const char* path;
        const char* title;
    };
    const Case cases[] = {
        {"C:\\Music\\Album\\01 Song.mp3", "01 Song"},
        {"C:\\Music\\Album\\Song.live.MP3", "Song.live"},
        {"C:\\Music\\Album\\.mp3", ""},
        {"C:\\Music\\Album\\NoExtension", "NoExtension"},
        {"C:\\Music\\Album.d\\Song", "Song"},
        {"C:\\Song.wma", "Song"},
        {"C:\\Music\\..\\Album\\Song.mp3", "Song"},
        {"C:\\Music\\Album\\Song.mp3\\..", "Album"},
        {"C:\\Music\\Album\\Song.mp3.", "Song"},
        {"C:\\Music\\Album\\Song.mp3 ", "Song"},
        {"C:/Music/Album/Song.mp3", "Song"},
        {"Album\\Song.mp3", "Song"},
        {"\\\\server\\share\\Song.mp3", "Song"},
        {"C:\\Music\\Bad?Name.mp3", ""},
        {"", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(c.title, PFileLister::TitleOf(c.path));
        EXPECT_STREQ(SPath(c.path).GetTitle(), PFileLister::TitleOf(c.path));
    }
    EXPECT_STREQ("", PFileLister::TitleOf(nullptr));
    const std::string longPath = "C:\\" + std::string(300, 'a') + "\\Song.mp3";
    EXPECT_STREQ(SPath(longPath.c_str()).GetTitle(), PFileLister::TitleOf(longPath.c_str()));
}

TEST(PWndAppRipple, RunsOnlyOverBuffersOfItsOwnSize)
{
    SImageWater water;
    ASSERT_TRUE(water.Create(150, 150));
    SImageWater small;
    ASSERT_TRUE(small.Create(100, 100));
    const SImageWater none;
    const std::vector<uint32_t> source(150 * 150, 0xFF102030u), shortSource(150 * 149, 0);
    SImage background, narrow, grey;
    ASSERT_TRUE(background.Create(150, 150));
    ASSERT_TRUE(narrow.Create(150, 100));
    ASSERT_TRUE(grey.Create(150, 150, PixelFormat24bppRGB));
    const struct
    {
        const SImageWater* water;
        const std::vector<uint32_t>* source;
        const SImage* background;
        bool fits;
        const char* what;
    } cases[] = {{&water, &source, &background, true, "all of the ripple's size"},
                 {&none, &source, &background, false, "no height maps"},
                 {&small, &source, &background, false, "a smaller ripple"},
                 {&water, &shortSource, &background, false, "a source a row short"},
                 {&water, &source, nullptr, false, "no background"},
                 {&water, &source, &narrow, false, "a background of another size"},
                 {&water, &source, &grey, false, "a background of 24 bits"}};
    for (const auto& c : cases)
        EXPECT_EQ(PWndApp::RippleFits(*c.water, *c.source, c.background), c.fits) << c.what;
}

TEST(PWndAppRipple, DropsLandOnlyInsideThePicture)
{
    SImageWater water;
    ASSERT_TRUE(water.Create(150, 150));
    const POINT outside[] = {{-1, 75}, {75, -1}, {150, 75}, {75, 150}, {-30000, -30000}, {30000, 30000}};
    for (const POINT& point : outside)
    {
        EXPECT_FALSE(PWndApp::DropRipple(&water, point.x, point.y, 25, 250)) << point.x << "," << point.y;
        EXPECT_TRUE(water.IsCalm()) << point.x << "," << point.y << ": nothing dropped anywhere";
    }
    EXPECT_FALSE(PWndApp::DropRipple(nullptr, 75, 75, 5, 50));
    // The first drop wakes the surface (start the timer); more drops only add to it.
    EXPECT_TRUE(PWndApp::DropRipple(&water, 75, 75, 5, 50));
    EXPECT_FALSE(water.IsCalm());
    EXPECT_FALSE(PWndApp::DropRipple(&water, 149, 0, 25, 250)) << "a corner drop adds to a moving surface";
    const int32_t* map = water.GetMap(water.GetPage() == 0);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map[75 * 150 + 75], 50);
    EXPECT_EQ(map[1 * 150 + 148], 250) << "the corner drop reached the cells inside the border";
    EXPECT_EQ(map[0 * 150 + 149], 0) << "the border is never touched";
}
