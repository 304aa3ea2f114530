#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "SPath.h"
#include "SStringArray.h"

namespace {

// Runs a test body in another current folder and goes back afterwards.
class CurrentFolder
{
public:
    explicit CurrentFolder(const char* folder)
    {
        GetCurrentDirectoryA(sizeof(m_saved), m_saved);
        SetCurrentDirectoryA(folder);
    }
    ~CurrentFolder() { SetCurrentDirectoryA(m_saved); }

private:
    char m_saved[MAX_PATH];
};

} // namespace

TEST(SPath, SetClassifiesAndNormalises)
{
    struct Case {
        const char* text;
        int kind;
        const char* path;
    } cases[] = {
        {"C:\\a\\b.txt", 1, "C:\\a\\b.txt"},
        {"C:/a/b.txt", 1, "C:\\a\\b.txt"},
        {"C:\\a\\..\\b\\", 1, "C:\\b\\"},
        {"C:\\caf\xe9.txt", 1, "C:\\caf\xe9.txt"},
        {"\\\\srv\\share/f.txt", 2, "\\\\srv\\share\\f.txt"},
        {"//srv/share/f.txt", 2, "\\\\srv\\share\\f.txt"},
        {"http://host\\a\\b.htm", 3, "http://host/a/b.htm"},
        {"x:y://host", 0, ""},
        {"", 0, ""},
        {"C:\\a\"b", 0, ""},
        {"C:\\a*b", 0, ""},
        {"C:\\a?b", 0, ""},
        {"C:\\a<b", 0, ""},
        {"C:\\a>b", 0, ""},
        {"C:\\a\tb", 0, ""},
    };
    for (const Case& c : cases) {
        SPath path;
        EXPECT_EQ(path.Set(c.text), c.kind) << c.text;
        EXPECT_EQ(path.GetKind(), c.kind) << c.text;
        EXPECT_EQ(path.IsValid(), c.kind != 0) << c.text;
        EXPECT_EQ(path.IsUncPath(), c.kind == 2) << c.text;
        EXPECT_EQ(path.IsUrlPath(), c.kind == 3) << c.text;
        EXPECT_STREQ(path.GetPath(), c.path) << c.text;
    }
    EXPECT_FALSE(SPath::IsValidText(nullptr));
    EXPECT_TRUE(SPath::IsValidText("C:\\a|b:c/d"));
    EXPECT_FALSE(SPath::IsUrl("://x"));
    EXPECT_TRUE(SPath::IsUnc("\\\\x"));
    EXPECT_FALSE(SPath::IsUnc("\\x"));
}

TEST(SPath, FailedSetLeavesAnInvalidPath)
{
    SPath path("C:\\a\\b.txt");
    EXPECT_EQ(path.Set("C:\\bad?.txt"), 0);
    EXPECT_FALSE(path.IsValid());
    EXPECT_STREQ(path.GetPath(), "");
    EXPECT_STREQ(path.GetName(), "");
    EXPECT_EQ(path.GetComponentCount(), 0);

    // Longer than the expansion buffer: refused rather than cut short.
    std::string tooLong = "C:\\" + std::string(1100, 'a') + ".txt";
    EXPECT_EQ(path.Set(tooLong.c_str()), 0);
}

TEST(SPath, RelativeNamesResolveAgainstTheCurrentFolder)
{
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(sizeof(temp), temp), 0u);
    CurrentFolder current(temp);
    char here[MAX_PATH];
    GetCurrentDirectoryA(sizeof(here), here);
    SString folder(here);
    if (folder.GetAt(folder.GetLength() - 1) != '\\')
        folder.AppendChar('\\');

    EXPECT_STREQ(SPath("x.txt").GetPath(), folder + "x.txt");
    SPath dot(".");
    EXPECT_STREQ(dot.GetPath(), folder);
    EXPECT_FALSE(dot.IsFile());
    SPath dots("..");
    EXPECT_FALSE(dots.IsFile());
    EXPECT_STREQ(dots.GetPath(), SPath(folder).GetParent());

    CurrentFolder root("C:\\");
    EXPECT_STREQ(SPath(".").GetPath(), "C:\\");
}

TEST(SPath, SplitsIntoParts)
{
    struct Case {
        const char* text;
        const char* root;
        const char* name;
        const char* title;
        const char* extension;
        const char* folder;
        const char* parent;
        const char* lastFolder;
        int components;
        bool file;
        bool subfolder;
    } cases[] = {
        {"C:\\a\\b\\f.tar.gz", "C:\\", "f.tar.gz", "f.tar", ".gz", "a\\b\\", "C:\\a\\b\\", "b\\", 4, true, false},
        {"C:\\a\\b\\", "C:\\", "", "", "", "a\\b\\", "C:\\a\\", "b\\", 4, false, true},
        {"C:\\a\\", "C:\\", "", "", "", "a\\", "C:\\", "a\\", 3, false, true},
        {"C:\\", "C:\\", "", "", "", "", "", "", 2, false, false},
        {"C:\\README", "C:\\", "README", "README", "", "", "C:\\", "", 2, true, false},
        {"\\\\srv", "\\\\srv\\", "", "", "", "", "", "", 2, false, false},
        {"\\\\srv\\share\\doc.txt", "\\\\srv\\", "doc.txt", "doc", ".txt", "share\\", "\\\\srv\\share\\", "share\\", 3,
         true, false},
        {"http://host/a/p.html", "http://host/", "p.html", "p", ".html", "a/", "http://host/a/", "a/", 3, true, false},
        {"http://host", "http://host/", "", "", "", "", "", "", 2, false, false},
    };
    for (const Case& c : cases) {
        SPath path(c.text);
        EXPECT_STREQ(path.GetRoot(), c.root) << c.text;
        EXPECT_STREQ(path.GetName(), c.name) << c.text;
        EXPECT_STREQ(path.GetTitle(), c.title) << c.text;
        EXPECT_STREQ(path.GetExtension(), c.extension) << c.text;
        EXPECT_STREQ(path.GetFolder(), c.folder) << c.text;
        EXPECT_STREQ(path.GetFolderPath(), SString(c.root) + c.folder) << c.text;
        EXPECT_STREQ(path.GetParent(), c.parent) << c.text;
        EXPECT_STREQ(path.GetLastFolder(), c.lastFolder) << c.text;
        EXPECT_EQ(path.GetComponentCount(), c.components) << c.text;
        EXPECT_EQ(path.IsFile(), c.file) << c.text;
        EXPECT_EQ(path.IsSubfolder(), c.subfolder) << c.text;
    }
    SPath upper("C:\\a\\Photo.JPG");
    EXPECT_STREQ(upper.GetExtension(false, true), "jpg");
    EXPECT_STREQ(upper.GetExtension(true, false), ".JPG");
}

TEST(SPath, StrippedSeparatorsKeepRoots)
{
    SPath folder("C:\\a\\b\\");
    EXPECT_TRUE(folder.StripTrailingSeparator(true));
    EXPECT_FALSE(folder.KeepsSeparator());
    EXPECT_STREQ(folder.GetPath(), "C:\\a\\b");
    EXPECT_STREQ(folder.GetFolder(), "a\\b");
    EXPECT_STREQ(folder.GetParent(), "C:\\a");
    EXPECT_STREQ(folder.GetLastFolder(), "b");
    EXPECT_EQ(folder.GetComponentCount(), 4);
    EXPECT_FALSE(folder.StripTrailingSeparator(false));
    EXPECT_STREQ(folder.GetLastFolder(true), "b");

    SPath root("C:\\");
    root.StripTrailingSeparator(true);
    EXPECT_STREQ(root.GetPath(), "C:\\");

    SPath file("C:\\a\\f.txt");
    file.StripTrailingSeparator(true);
    EXPECT_STREQ(file.GetPath(), "C:\\a\\f.txt");
    EXPECT_STREQ(file.GetFolderPath(), "C:\\a");
    EXPECT_STREQ(file.GetParent(), "C:\\a");
}

TEST(SPath, SetFolderAppendsTheSeparator)
{
    struct Case {
        const char* text;
        int kind;
        const char* path;
    } cases[] = {
        {"C:\\a", 1, "C:\\a\\"},
        {"C:\\a\\", 1, "C:\\a\\"},
        {"C:\\a/", 1, "C:\\a\\"},
        {"", 0, ""},
        {"C:\\a*", 0, ""},
    };
    for (const Case& c : cases) {
        SPath path;
        EXPECT_EQ(path.SetFolder(c.text), c.kind) << c.text;
        EXPECT_STREQ(path.GetPath(), c.path) << c.text;
    }
}

TEST(SPath, ComponentsAndJoining)
{
    SPath path("C:\\a\\b\\f.txt");
    SStringArray parts;
    parts.Add("before");
    ASSERT_EQ(path.GetComponents(&parts), 4);
    ASSERT_EQ(parts.GetCount(), 5);
    EXPECT_STREQ(parts.Join("|", 1), "C:\\|a\\|b\\|f.txt");

    struct Case {
        int start;
        int count;
        bool dropName;
        char separator;
        const char* joined;
    } cases[] = {
        {1, -1, true, '/', "a/b/"},
        {0, -1, false, '\\', "C:\\a\\b\\f.txt"},
        {0, -1, false, '/', "C:/a/b/f.txt"},
        {2, 99, false, '\\', "b\\f.txt"},
        {2, 0x7FFFFFFF, false, '\\', "b\\f.txt"},
        {0, 2, true, '\\', "C:\\a\\"},
        {3, 1, true, '\\', ""},
        {4, 1, false, '\\', ""},
        {-1, 2, false, '\\', ""},
        {0, 0, false, '\\', ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(path.JoinComponents(c.start, c.count, c.dropName, c.separator), c.joined)
            << c.start << "," << c.count;

    EXPECT_STREQ(SPath("http://host/a/p.html").JoinComponents(1, -1, false, '\\'), "a\\p.html");
    EXPECT_STREQ(SPath().JoinComponents(0), "");
}

TEST(SPath, SameIgnoresCaseButNotKind)
{
    struct Case {
        const char* left;
        const char* right;
        bool same;
    } cases[] = {
        {"C:\\Music\\Song.MP3", "c:\\music\\song.mp3", true},
        {"C:\\Music\\", "C:\\Music", false},
        {"C:\\srv\\share\\f.txt", "\\\\srv\\share\\f.txt", false},
        {"http://Host/a", "http://host/A", true},
        {"C:\\a\\b", "C:\\a\\c", false},
        {"C:\\a?", "C:\\a?", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SPath(c.left).IsSame(SPath(c.right)), c.same) << c.left << " / " << c.right;
}

TEST(SPath, CopyKeepsFoldersAsFolders)
{
    SPath folder("C:\\a\\b\\");
    folder.StripTrailingSeparator(true);

    SPath copy;
    EXPECT_EQ(copy.Copy(folder), 1);
    EXPECT_TRUE(copy.KeepsSeparator());
    EXPECT_TRUE(copy.IsSubfolder());
    EXPECT_STREQ(copy.GetPath(), "C:\\a\\b\\");

    SPath constructed(folder);
    EXPECT_FALSE(constructed.KeepsSeparator());
    EXPECT_STREQ(constructed.GetPath(), "C:\\a\\b");

    SPath assigned("C:\\x.txt");
    assigned = SPath("C:\\bad*");
    EXPECT_FALSE(assigned.IsValid());
    EXPECT_STREQ(assigned.AssignText("D:\\y\\z.txt").GetName(), "z.txt");
}
