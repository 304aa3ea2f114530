#include <gtest/gtest.h>

#include "PLibraryLink.h"
#include "PWebSearch.h"

TEST(PWebSearch, TermsAndAddresses)
{
    EXPECT_STREQ("Aurora%20Lane%20First%20Light", PWebSearch::EncodeTerms("Aurora Lane First Light"));
    EXPECT_STREQ("a-b_c%26d%2B", PWebSearch::EncodeTerms("a-b_c&d+"));
    EXPECT_STREQ("http://img.test/images?hl=en&safe=off&q=x%20y&start=12",
                 PWebSearch::ImageSearchUrl("http://img.test", "x%20y", 12));
    EXPECT_STREQ("http://web.test/search?q=%22Morning%22%20lyrics&hl=en&safe=off",
                 PWebSearch::LyricsUrl("http://web.test", "02 - Morning"));
    EXPECT_STREQ("http://web.test/search?q=%2299%22%20lyrics&hl=en&safe=off",
                 PWebSearch::LyricsUrl("http://web.test", "99"));
    EXPECT_STREQ("google.com", PWebSearch::DomainOf("http://images.google.com"));
    EXPECT_STREQ("melvora.test", PWebSearch::DomainOf("http://images.melvora.test:8080/path"));
    EXPECT_STREQ("localhost", PWebSearch::DomainOf("http://localhost"));
}

TEST(PWebSearch, ResultPagesAreScrapedForImagesSizesAndThumbnails)
{
    const char* page =
        "<html><a href=/imgres?imgurl=http://a.test/one.jpg&imgrefurl=x&h=375&w=500&sz=10>"
        "<img src=http://tbn0.melvora.test/images?q=tbn:AAA width=75></a>"
        // No image address: skipped.
        "<a href=/imgres?imgrefurl=y&w=1&h=1><img src=http://tbn0.melvora.test/images?q=tbn:BBB x></a>"
        // Quoted values may hold '&'; the last key wins.
        "<a href=/imgres?imgurl=\"http://a.test/t&w.png\"&w=1&w=120&h=90>"
        "<img src=http://tbn1.melvora.test/images?q=tbn:CCC height=75></a>"
        // A thumbnail of another domain is not ours: the result is dropped.
        "<a href=/imgres?imgurl=http://a.test/three.jpg&w=9&h=9><img src=http://other.test/z.jpg ></a>"
        "<a href=/imgres?imgurl=http://a.test/cut.jpg&w=9";
    SArray<PWebSearch::Result*> results;
    ASSERT_EQ(2, PWebSearch::ParseResults(page, "melvora.test", &results));
    ASSERT_EQ(2, results.GetCount());
    EXPECT_STREQ("http://a.test/one.jpg", results.GetAt(0)->image);
    EXPECT_STREQ("http://tbn0.melvora.test/images?q=tbn:AAA", results.GetAt(0)->thumbnail);
    EXPECT_EQ(500, results.GetAt(0)->width);
    EXPECT_EQ(375, results.GetAt(0)->height);
    EXPECT_STREQ("\"http://a.test/t&w.png\"", results.GetAt(1)->image);
    EXPECT_STREQ("http://tbn1.melvora.test/images?q=tbn:CCC", results.GetAt(1)->thumbnail);
    EXPECT_EQ(120, results.GetAt(1)->width);
    EXPECT_EQ(90, results.GetAt(1)->height);
    results.DestroyAll();
    EXPECT_EQ(0, PWebSearch::ParseResults("<html>nothing</html>", "melvora.test", &results));
    EXPECT_EQ(0, PWebSearch::ParseResults("", "melvora.test", &results));
}

TEST(PLibraryLink, AddressesBecomeFilePaths)
{
    struct Case
    {
        const char* url;
        const char* path;
    };
    const Case cases[] = {
        {"file:///C:/Lib/Artist/Album.album", "C:\\Lib\\Artist\\Album.album"},
        {"file:///C:/Lib/Delta%20%231%25/50%25%20Off.mp3", "C:\\Lib\\Delta #1%\\50% Off.mp3"},
        {"file://C:/Lib/a+b.mp3", "C:\\Lib\\a+b.mp3"},
        {"file://server/share/x.link", "\\\\server\\share\\x.link"},
        {"Z:\\lib\\Artist.link", "Z:\\lib\\Artist.link"},
        {"Z:/lib/Some%20Thing.link", "Z:\\lib\\Some Thing.link"},
        {"http://www.example.com/x.mp3", ""},
        {"about:blank", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.path, PLibraryLink::UrlToPath(c.url)) << c.url;
}

TEST(PLibraryLink, OnlyPathsInsideTheRootHaveARelativePath)
{
    SPath root;
    root.SetFolder("Z:\\Lib\\");
    SString relative;
    EXPECT_TRUE(PLibraryLink::RelativeToRoot(root, "Z:\\lib\\Artist\\Album.album", &relative));
    EXPECT_STREQ("Artist\\Album.album", relative);
    EXPECT_FALSE(PLibraryLink::RelativeToRoot(root, "Z:\\Other\\x.mp3", &relative));
    EXPECT_FALSE(PLibraryLink::RelativeToRoot(root, "Z:\\x.mp3", &relative));
    EXPECT_FALSE(PLibraryLink::RelativeToRoot(root, "Z:\\Lib\\", &relative));
}
