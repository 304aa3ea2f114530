// Saving a folder's cover ("Make Cover", "Download Cover"): the old cover is replaced
// only by a complete new one.
#include "../core/TestHttpServer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../core/SFileTestSupport.h"
#include "LibraryTestSupport.h"
#include "PWndApp.h"
#include "PWndGoogle.h"
#include "SFileMem.h"
#include "SImage.h"

using file_test::FolderNames;
using namespace library_test;

namespace
{
// A picture of one colour, encoded as JPEG.
std::string PictureBytes(int width, int height, uint32_t colour)
{
    SImage image;
    SFileMem bytes;
    bytes.Allocate(0);
    if (!image.Create(width, height) || !image.Fill(colour) || !image.Save(&bytes, IMAGE_FORMAT_JPEG))
        return std::string();
    return std::string((const char*)bytes.GetBuffer(), bytes.GetSize());
}

SImage* LoadCover(SImage* image, const std::string& path)
{
    SFileMem bytes;
    return bytes.LoadFromFile(path.c_str()) && image->Load(&bytes) ? image : nullptr;
}

const std::string kOldCover = std::string("\x89PNG\r\n\x1a\n", 8) + "the cover the user had";
} // namespace

// The picture comes from where the two commands take it: a chosen file decoded and
// cut square ("Make Cover"), or the image the cover search downloaded from a web
// server ("Download Cover", here one on 127.0.0.1).
TEST(PWndAppCover, AFailedSaveLeavesTheOldCoverByteForByte)
{
    const std::string picture = PictureBytes(300, 200, 0xFF2060A0);
    ASSERT_FALSE(picture.empty());
    TestHttpServer server;
    ASSERT_TRUE(server.Start());
    TestHttpReply whole;
    whole.body = picture;
    server.SetReply("/whole.jpg", whole);
    // The server announces every byte but stops sending half-way.
    TestHttpReply cut = whole;
    cut.bodyBytesSent = (int)picture.size() / 2;
    server.SetReply("/cut.jpg", cut);
    TestHttpReply notAPicture;
    notAPicture.body = "<html>moved</html>";
    server.SetReply("/page.jpg", notAPicture);

    enum Source
    {
        kNoPicture,
        kUnencodable,
        kDownload
    };
    const struct Case
    {
        const char* what;
        Source source;
        const char* path;
        bool saved;
    } cases[] = {
        {"no picture", kNoPicture, nullptr, false},
        {"a picture that cannot be encoded", kUnencodable, nullptr, false},
        {"a download cut off mid-way", kDownload, "/cut.jpg", false},
        {"a download that is no picture", kDownload, "/page.jpg", false},
        {"a download from a server that is gone", kDownload, nullptr, false},
        {"a complete download", kDownload, "/whole.jpg", true},
    };
    for (const Case& c : cases)
    {
        ScratchFolder library("cover-save");
        library.Folder("Artist\\Album");
        ASSERT_TRUE(library.File("Artist\\album.png", kOldCover));
        const std::string cover = library + "Artist\\album.png";

        SImage unencodable;
        PWndGoogle search;
        const SImage* chosen = nullptr;
        if (c.source == kUnencodable)
            chosen = &unencodable;
        if (c.source == kDownload)
        {
            std::string url = c.path ? server.GetUrl(c.path)
                                     : "http://127.0.0.1:" + std::to_string(TestHttpServer::GetClosedPort()) + "/x.jpg";
            EXPECT_EQ(search.DownloadCover(url.c_str()), c.saved) << c.what;
            chosen = search.GetCover();
        }

        EXPECT_EQ(PWndApp::SaveCover(chosen, cover.c_str()), c.saved) << c.what;
        EXPECT_EQ(FolderNames(library + "Artist\\"), (std::vector<std::string>{"Album", "album.png"})) << c.what;
        if (!c.saved)
        {
            EXPECT_EQ(ReadAll(cover), kOldCover) << c.what;
            continue;
        }
        SImage saved;
        ASSERT_NE(LoadCover(&saved, cover), nullptr) << c.what;
        EXPECT_EQ(saved.GetWidth(), 150);
        EXPECT_EQ(saved.GetHeight(), 150);
        EXPECT_EQ(ReadAll(cover).substr(0, 8), kOldCover.substr(0, 8)) << "a PNG";
    }
}

// A cover that did not exist is created; one that did is replaced and keeps its
// attributes; a read-only one is left alone, as the open for writing it replaces
// would have been refused.
TEST(PWndAppCover, ASavedCoverReplacesTheOldOne)
{
    SImage picture;
    ASSERT_TRUE(picture.Create(150, 150));
    ASSERT_TRUE(picture.Fill(0xFF00FF00));
    const struct Case
    {
        const char* what;
        bool existing;
        DWORD attributes;
        bool saved;
    } cases[] = {
        {"no cover yet", false, FILE_ATTRIBUTE_NORMAL, true},
        {"an old cover", true, FILE_ATTRIBUTE_NORMAL, true},
        {"a hidden old cover", true, FILE_ATTRIBUTE_HIDDEN, true},
        {"a read-only old cover", true, FILE_ATTRIBUTE_READONLY, false},
    };
    for (const Case& c : cases)
    {
        ScratchFolder library("cover-replace");
        const std::string cover = library + "album.png";
        if (c.existing)
        {
            ASSERT_TRUE(library.File("album.png", kOldCover));
            ASSERT_TRUE(SetFileAttributesA(cover.c_str(), c.attributes));
        }
        EXPECT_EQ(PWndApp::SaveCover(&picture, cover.c_str()), c.saved) << c.what;
        EXPECT_EQ(FolderNames(library.Path()), std::vector<std::string>{"album.png"}) << c.what;
        if (!c.saved)
        {
            EXPECT_EQ(ReadAll(cover), kOldCover) << c.what;
            continue;
        }
        SImage saved;
        ASSERT_NE(LoadCover(&saved, cover), nullptr) << c.what;
        uint32_t colour = 0;
        EXPECT_TRUE(saved.GetPixel(75, 75, colour));
        EXPECT_EQ(colour, 0xFF00FF00u) << c.what;
        EXPECT_EQ(GetFileAttributesA(cover.c_str()) & FILE_ATTRIBUTE_HIDDEN, c.attributes & FILE_ATTRIBUTE_HIDDEN)
            << c.what;
    }
}
