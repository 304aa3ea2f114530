#include <gtest/gtest.h>

#include <string>

#include "LibraryTestSupport.h"
#include "PBookWriter.h"
#include "SFilePath.h"
#include "SImage.h"

using library_test::Exists;
using library_test::ReadAll;
using library_test::ScratchFolder;

namespace
{
bool SavePicture(const std::string& path, int width, int height, uint32_t argb, int format)
{
    SImage image;
    SFilePath file;
    return image.Create(width, height) && image.Fill(argb) && file.Open(path.c_str(), true, true, false) &&
           image.Save(&file, format);
}

bool LoadPicture(SImage* image, const std::string& path)
{
    SFilePath file;
    return file.Open(path.c_str(), false, false, true, true) && image->Load(&file);
}

// A writer that records the progress it reports.
class RecordingWriter : public PBookWriter
{
public:
    int reports = 0;
    int last = -1;
    bool rising = true;

protected:
    void OnProgress(int permille) override
    {
        if (reports > 0 && permille == last)
            rising = false;
        reports++;
        last = permille;
    }
};

// The library of the book tests: nested folders with songs, videos, radios,
// other files, a cover, names that need escaping and a hidden folder.
void MakeLibrary(const ScratchFolder& root)
{
    for (const char* file : {"Alpha\\01 One.mp3", "Alpha\\02 Two.wma", "Alpha\\Clip.avi", "Alpha\\Live.wax",
                             "Alpha\\Stream.wvx", "Alpha\\notes.txt", "Alpha\\pic.jpg", "Alpha\\Beta\\x & y.mp3",
                             "Delta #1%\\50% Off.mp3", ".Hidden\\secret.mp3"})
        root.File(file, "ID3");
    root.Folder("Alpha\\Beta\\Gamma");
    SetFileAttributesA((root + ".Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SavePicture(root + "Alpha.png", 40, 20, 0xFFC62828, IMAGE_FORMAT_PNG);
}

const char* const kBlockEnd = "</tr>\r\n<tr>\r\n";

std::string ExpectedPage()
{
    std::string page = "<html>\r\n<head>\r\n<title>Melvora</title>\r\n<style>s</style>\r\n</head>\r\n"
                       "<body leftmargin=0 topmargin=0 rightmargin=0 bottommargin=0 marginwidth=0 "
                       "marginheight=0>\r\n";
    auto block = [&](int n, const char* colour, const std::string& title, const std::string& songs) {
        std::string number = std::to_string(n);
        page += "<table border=0 cellspacing=0 cellpadding=0 width=100%>\r\n<tr>\r\n";
        page += std::string("<td width=32 bgcolor=#") + colour + "><img src=\"Book\\book" + number +
                ".jpg\" align=absmiddle>\r\n";
        page += std::string("<td valign=center bgcolor=#") + colour + ">" + title + "\r\n";
        page += kBlockEnd;
        page += std::string("<td bgcolor=#") + colour + " background=\"Book\\book" + number + ".png\" class=tdRow>\r\n";
        page += "<td>\r\n";
        if (!songs.empty())
            page += "<font class=txtSong>\r\n" + songs + "\r\n</font>\r\n";
    };
    block(0, "AAD0DA", "<a href=\"Alpha.album\" class=txtRow1>Alpha</a>",
          "<a href=\"Alpha/01 One.mp3\">01 One</a> \x95 <a href=\"Alpha/02 Two.wma\">02 Two</a> \x95 "
          "<a href=\"Alpha/Clip.avi\"><i>Clip</i></a> \x95 <a href=\"Alpha/Live.wax\">Live</a> \x95 "
          "<a href=\"Alpha/Stream.wvx\"><i>Stream</i></a>");
    block(1, "dbd0a9", "<a href=\"Alpha/Beta.album\" class=txtRow2>Beta</a>",
          "<a href=\"Alpha/Beta/x & y.mp3\">x &amp; y</a>");
    block(2, "addfa6", "<font class=txtRow3>Gamma</font>", "");
    // From depth 2 back to depth 0: three blocks close.
    page += "</tr>\r\n</table>\r\n</tr>\r\n</table>\r\n</tr>\r\n</table>\r\n";
    block(3, "AAD0DA", "<a href=\"Delta %231%25.album\" class=txtRow1>Delta #1%</a>",
          "<a href=\"Delta %231%25/50%25 Off.mp3\">50% Off</a>");
    page += "</body>\r\n</html>\r\n";
    return page;
}
} // namespace

TEST(PBookWriter, LinksAndTextsAreEscaped)
{
    EXPECT_STREQ("a/b%25c%23d%22e.mp3", PBookWriter::EncodeLink("a\\b%c#d\"e.mp3"));
    EXPECT_STREQ("x &amp; &lt;y> \"z\"", PBookWriter::EscapeText("x & <y> \"z\""));
    EXPECT_STREQ("", PBookWriter::EncodeLink(nullptr));
}

TEST(PBookWriter, WritesThePageTheImagesAndRemovesStaleImages)
{
    ScratchFolder root("book");
    MakeLibrary(root);
    root.File("Book\\book99.png", "old");
    root.File("Book\\book7.jpg", "old");
    root.File("Book\\keep.txt", "mine");

    SImage fallback;
    ASSERT_TRUE(fallback.Create(10, 10) && fallback.Fill(0xFF2E7D32));
    RecordingWriter writer;
    writer.SetStyleSheet("<style>s</style>\r\n");
    writer.SetDefaultCover(&fallback);
    ASSERT_TRUE(writer.Write(root.Path().c_str(), (root + "Book.htm").c_str(), true));

    EXPECT_EQ(ExpectedPage(), ReadAll(root + "Book.htm"));
    EXPECT_GT(writer.reports, 0);
    EXPECT_EQ(1000, writer.last);
    EXPECT_TRUE(writer.rising) << "a progress value is reported only when it changes";

    EXPECT_FALSE(Exists(root + "Book\\book99.png"));
    EXPECT_FALSE(Exists(root + "Book\\book7.jpg"));
    EXPECT_TRUE(Exists(root + "Book\\keep.txt"));
    EXPECT_TRUE(GetFileAttributesA((root + "Book").c_str()) & FILE_ATTRIBUTE_HIDDEN);

    // Covers: the folder's own (red), the default one (green), every one 32 x 32.
    const uint32_t colours[4] = {0xFFC62828, 0xFF2E7D32, 0xFF2E7D32, 0xFF2E7D32};
    for (int n = 0; n < 4; n++)
    {
        SImage cover;
        std::string name = root + ("Book\\book" + std::to_string(n) + ".jpg").c_str();
        ASSERT_TRUE(LoadPicture(&cover, name)) << name;
        EXPECT_EQ(32, cover.GetWidth());
        EXPECT_EQ(32, cover.GetHeight());
        uint32_t pixel = cover.GetPixelColor(16, 16);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR((colours[n] >> shift) & 0xFF, (pixel >> shift) & 0xFF, 24) << name;
    }
    // Name strips: upright, at most 32 pixels wide, in the depth's colour.
    const uint32_t strips[4] = {0xB2D5DE, 0xDFD5B1, 0xB5E2AE, 0xB2D5DE};
    for (int n = 0; n < 4; n++)
    {
        SImage strip;
        std::string name = root + ("Book\\book" + std::to_string(n) + ".png").c_str();
        ASSERT_TRUE(LoadPicture(&strip, name)) << name;
        EXPECT_GT(strip.GetWidth(), 0);
        EXPECT_LE(strip.GetWidth(), 32);
        EXPECT_GT(strip.GetHeight(), 16 + strip.GetWidth() / 2) << "reads bottom to top";
        EXPECT_EQ(24, strip.GetBitsPerPixel());
        EXPECT_EQ(strips[n], strip.GetPixelColor(0, 0) & 0xFFFFFF) << name;
    }
    EXPECT_FALSE(Exists(root + "Book\\book4.png"));
}

TEST(PBookWriter, WithoutImagesOnlyThePageIsWritten)
{
    ScratchFolder root("book-page");
    MakeLibrary(root);
    PBookWriter writer;
    writer.SetStyleSheet("<style>s</style>\r\n");
    ASSERT_TRUE(writer.Write(root.Path().c_str(), (root + "Book.htm").c_str(), false));
    EXPECT_EQ(ExpectedPage(), ReadAll(root + "Book.htm"));
    EXPECT_FALSE(Exists(root + "Book"));
}

TEST(PBookWriter, FailsWhenTheImagesFolderOrThePageCannotBeMade)
{
    ScratchFolder root("book-fail");
    MakeLibrary(root);
    // A file stands where the images folder belongs.
    root.File("Book", "in the way");
    PBookWriter writer;
    EXPECT_FALSE(writer.Write(root.Path().c_str(), (root + "Book.htm").c_str(), true));
    EXPECT_FALSE(Exists(root + "Book.htm"));
    EXPECT_FALSE(writer.Write(root.Path().c_str(), (root + "missing\\Book.htm").c_str(), false));
}

TEST(PBookWriter, NameStripsNeedText)
{
    SImage strip;
    EXPECT_FALSE(PBookWriter::MakeNameStrip(&strip, "", 0xB2, 0xD5, 0xDE));
    EXPECT_FALSE(strip.IsLoaded());
    ASSERT_TRUE(PBookWriter::MakeNameStrip(&strip, "A rather long folder name", 0xB2, 0xD5, 0xDE));
    SImage shorter;
    ASSERT_TRUE(PBookWriter::MakeNameStrip(&shorter, "A", 0xB2, 0xD5, 0xDE));
    EXPECT_GT(strip.GetHeight(), shorter.GetHeight());
    EXPECT_EQ(strip.GetWidth(), shorter.GetWidth());
}

TEST(PBookWriter, ADamagedCoverGivesTheDefaultCover)
{
    ScratchFolder root("book-damaged");
    root.File("Alpha\\01 One.mp3", "ID3");
    root.File("Alpha.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR broken", 22));
    root.File("Alpha.jpg", "not a picture at all");
    SImage fallback;
    ASSERT_TRUE(fallback.Create(10, 10) && fallback.Fill(0xFF2E7D32));
    PBookWriter writer;
    writer.SetDefaultCover(&fallback);
    ASSERT_TRUE(writer.Write(root.Path().c_str(), (root + "Book.htm").c_str(), true));
    SImage cover;
    ASSERT_TRUE(LoadPicture(&cover, root + "Book\\book0.jpg"));
    EXPECT_NEAR(0x7D, (cover.GetPixelColor(16, 16) >> 8) & 0xFF, 24);
}
