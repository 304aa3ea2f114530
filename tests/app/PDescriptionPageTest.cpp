#include <gtest/gtest.h>

#include <string>

#include "LibraryTestSupport.h"
#include "PDescriptionPage.h"

using library_test::Exists;
using library_test::ReadAll;
using library_test::ScratchFolder;

namespace
{
struct Folders
{
    SStringArray names;
    SStringArray paths;
    Folders()
    {
        names.Add("Artist");
        paths.Add("Artist");
        names.Add("Band");
        paths.Add("Genres\\Band");
    }
};
} // namespace

TEST(PDescriptionPage, ConvertsTagsBulletsAndIndents)
{
    Folders folders;
    PDescriptionPage page;
    page.SetFolders(&folders.names, &folders.paths);
    struct Case
    {
        const char* line;
        const char* html;
    };
    const Case cases[] = {
        {"Plain text", "Plain text<br>"},
        {"#name Artist# plays", "<a href=\"Artist.link\" class=txtName>Artist</a> plays<br>"},
        {"#name  band  #", "<a href=\"Genres\\Band.link\" class=txtName>band</a><br>"},
        {"#name Nobody#", "<font class=txtName>Nobody</font><br>"},
        {"#genre Rock@Genres\\Rock#", "<a href=\"Genres\\Rock.link\" class=txtGenre>Rock</a><br>"},
        {"#title A Song# and #quote words#",
         "<font class=txtTitle>A Song</font> and <font class=txtQuote>words</font><br>"},
        {"#image cover.png#", "<img src=\"Images\\cover.png\"><br>"},
        {"Track #5# is #name Artist#", "Track #5# is <a href=\"Artist.link\" class=txtName>Artist</a><br>"},
        {"#other thing# stays", "#other thing# stays<br>"},
        {"a # without end", "a # without end<br>"},
        {".first", "\x95" "first<br>"},
        {"\t.point", "<div class=txtTab>\x95point</div>"},
        {"\t\tdeep", "<div class=txtTab><div class=txtTab>deep</div></div>"},
        {"<b>bold</b>", "<b>bold</b><br>"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.html, page.ConvertLine(c.line)) << c.line;
}

TEST(PDescriptionPage, HeadingsNeedAnOpeningBraceBeforeAClosingOne)
{
    SString heading;
    EXPECT_TRUE(PDescriptionPage::GetHeading("{Early years} rest", &heading));
    EXPECT_STREQ("Early years", heading);
    EXPECT_FALSE(PDescriptionPage::GetHeading("} not {a heading", nullptr));
    EXPECT_FALSE(PDescriptionPage::GetHeading("no braces", nullptr));
}

TEST(PDescriptionPage, PagesPutBreaksBetweenParagraphsAndChapters)
{
    PDescriptionPage page;
    page.SetStyleSheet("<style>s</style>\r\n");
    // Blank lines right after a heading add nothing; between paragraphs one <br> each.
    const char* text = "Intro\r\n\r\n\r\nSecond\n{Chapter}\r\n\r\nInside\rMore\r\n\r\n{Next}\r\nLast\r\n";
    const std::string chapter = "<font class=txtChapter><img src=\"Images/icon.gif\" align=absmiddle> ";
    const std::string rule = "</font><br><table border=0 cellpadding=0 cellspacing=0 width=100%><tr height=4><td></tr>"
                             "<tr height=4><td bgcolor=#1381ff></tr></table><br><div class=txt>\r\n";
    const std::string expected =
        "<html><head>\r\n<base href=\"C:\\Lib\\\">\r\n<style>s</style>\r\n</head>\r\n"
        "<body leftmargin=6 topmargin=6 rightmargin=6 bottommargin=6 marginwidth=6 marginheight=6>\r\n"
        "<div class=txt>\r\nIntro<br>\r\n<br>\r\n<br>\r\nSecond<br>\r\n<br><br><br>\r\n" +
        chapter + "Chapter" + rule + "Inside<br>\r\nMore<br>\r\n</div><br><br>\r\n" + chapter + "Next" + rule +
        "Last<br>\r\n</div><br><br>\r\n</div></body></html>\r\n";
    EXPECT_EQ(expected, std::string(page.MakePage(text, "C:\\Lib\\")));
}

TEST(PDescriptionPage, GenerateWritesThePageAndDeletesItWhenTheTextIsGone)
{
    ScratchFolder root("description");
    ASSERT_TRUE(root.File("Artist.txt", "About #name Artist#\r\n"));
    Folders folders;
    PDescriptionPage page;
    page.SetFolders(&folders.names, &folders.paths);
    ASSERT_TRUE(page.Generate(root.Path().c_str(), "Artist"));
    std::string html = ReadAll(root + "Artist.htm");
    EXPECT_NE(std::string::npos, html.find("<base href=\"" + root.Path() + "\">\r\n"));
    EXPECT_NE(std::string::npos, html.find("About <a href=\"Artist.link\" class=txtName>Artist</a><br>\r\n"));

    DeleteFileA((root + "Artist.txt").c_str());
    EXPECT_FALSE(page.Generate(root.Path().c_str(), "Artist"));
    EXPECT_FALSE(Exists(root + "Artist.htm"));
}
