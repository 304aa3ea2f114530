// The print job, printing into metafiles through a test device.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "PrinterTestSupport.h"
#include "SFileMem.h"
#include "SPrinter.h"
#include "SWnd.h"

namespace
{

class OwnerWindow : public SWnd
{
public:
    OwnerWindow()
    {
        RECT rect = {0, 0, 100, 100};
        Create("owner", WS_POPUP, 0, &rect, nullptr);
    }
};

void WriteLines(SFileMem* stream, const std::vector<std::string>& lines)
{
    for (size_t i = 0; i < lines.size(); i++)
    {
        stream->WriteText(lines[i].c_str(), (int)lines[i].size());
        if (i + 1 < lines.size())
            stream->WriteText("\r\n", 2);
    }
    stream->Rewind();
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

int LineHeight(const char* face, int points)
{
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(screen, "M", 1, &size);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return size.cy;
}

}

TEST(SPrinter, DocumentDisablesItsOwnerUntilItEnds)
{
    MetafilePrinterDevice device;
    OwnerWindow owner;
    ASSERT_TRUE(owner.GetHandle());
    SPrinter printer;
    EXPECT_TRUE(printer.SetOwner(owner.GetHandle()));
    EXPECT_EQ(printer.NewPage(), nullptr);
    EXPECT_FALSE(printer.EndDocument());
    ASSERT_TRUE(printer.BeginDocument("report"));
    EXPECT_EQ(device.dialogSize, sizeof(PRINTDLGA));
    EXPECT_EQ(device.dialogFlags, 0x4010Cu);
    EXPECT_EQ(device.documentName, "report");
    EXPECT_FALSE(owner.IsEnabled());
    SPrinterPage* page = printer.NewPage();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->TextOut("hello", 30.0, 40.0, false));
    printer.EndPage(page);
    EXPECT_TRUE(printer.EndDocument());
    EXPECT_TRUE(owner.IsEnabled());
    EXPECT_EQ(device.deleted, 1);
    ASSERT_EQ(device.pages.size(), 1u);
    std::vector<SPrintedText> texts = device.Texts(0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "hello");
    EXPECT_EQ(texts[0].x, printer.UnitsToPixelsX(30.0));
}

TEST(SPrinter, RefusedOrFailedDocumentsLeaveNothingOpen)
{
    MetafilePrinterDevice device;
    OwnerWindow owner;
    SPrinter printer;
    printer.SetOwner(owner.GetHandle());
    device.acceptDialog = false;
    EXPECT_FALSE(printer.BeginDocument("none"));
    EXPECT_EQ(device.documents, 0);
    device.acceptDialog = true;
    device.startDocResult = 0;
    EXPECT_FALSE(printer.BeginDocument("none"));
    EXPECT_EQ(device.deleted, 1);
    EXPECT_FALSE(printer.HasDocument());
    EXPECT_TRUE(owner.IsEnabled());

    // An empty stream prints nothing and asks for no printer.
    device.startDocResult = 1;
    int dialogs = device.dialogs;
    SFileMem empty;
    EXPECT_FALSE(printer.PrintStream(&empty));
    EXPECT_FALSE(printer.PrintStream(nullptr));
    EXPECT_EQ(device.dialogs, dialogs);
}

TEST(SPrinter, OwnerIsEnabledAgainWhenTheDocumentIsNeverEnded)
{
    MetafilePrinterDevice device;
    OwnerWindow owner;
    {
        SPrinter printer;
        printer.SetOwner(owner.GetHandle());
        ASSERT_TRUE(printer.BeginDocument("left open"));
        EXPECT_FALSE(owner.IsEnabled());
    }
    EXPECT_TRUE(owner.IsEnabled());
    EXPECT_EQ(device.aborted, 1);
    EXPECT_EQ(device.deleted, 1);
}

TEST(SPrinter, UnitsAndPrintableArea)
{
    MetafilePrinterDevice device;
    SPrinter printer;
    ASSERT_TRUE(printer.BeginDocument("units"));
    EXPECT_EQ(printer.GetUnit(), 0);
    EXPECT_EQ(printer.UnitsToPixelsX(210.0), 794);
    EXPECT_NEAR(printer.PixelsToUnitsY(1123), 297.0, 1e-9);
    double left = 0, top = 0, right = 0, bottom = 0;
    printer.GetPrintableArea(&left, &top, &right, &bottom);
    EXPECT_NEAR(left, 25.0, 1e-9);
    EXPECT_NEAR(top, 25.0, 1e-9);
    EXPECT_NEAR(right, 185.0, 1e-9);
    EXPECT_NEAR(bottom, 272.0, 1e-9);
    int pixels[4];
    printer.GetPrintableAreaPixels(&pixels[0], &pixels[1], &pixels[2], &pixels[3]);
    EXPECT_EQ(pixels[0], printer.UnitsToPixelsX(25.0));
    EXPECT_EQ(pixels[3], printer.UnitsToPixelsY(272.0));
    EXPECT_TRUE(printer.EndDocument());
}

TEST(SPrinter, WholePixelsAreNotLostToArithmetic)
{
    // Lengths that are a whole number of pixels on the device keep it; others drop the fraction.
    struct Case {
        int width;
        double millimetres;
        int pixels;
    } cases[] = {
        {857, 210.0, 857}, {861, 30.0, 123}, {800, 6.3, 24}, {825, 2.8, 11},
        {794, 105.0, 397}, {794, 100.0, 378}, {794, 0.2, 0},
    };
    for (const Case& c : cases)
    {
        MetafilePrinterDevice device;
        device.width = c.width;
        SPrinter printer;
        ASSERT_TRUE(printer.BeginDocument("units"));
        EXPECT_EQ(c.pixels, printer.UnitsToPixelsX(c.millimetres)) << c.width << " " << c.millimetres;
        EXPECT_TRUE(printer.EndDocument());
    }
}

TEST(SPrinter, LinesFlowOverPagesAndACutLineResumesAtTheCut)
{
    MetafilePrinterDevice device;
    SPrinter printer;
    printer.SetFont("courier new", 9);
    int lineHeight = LineHeight("courier new", 9);
    ASSERT_GT(lineHeight, 0);

    // Short lines, some empty, then long lines with tabs that wrap and run over page ends.
    std::vector<std::string> lines;
    std::vector<std::string> expectedWords;
    for (int i = 0; i < 260; i++)
    {
        std::string line = i % 7 == 3 ? "" : "line" + std::to_string(i);
        if (i >= 200)
        {
            line = "";
            for (int w = 0; w < 40; w++)
                line += (w % 9 == 4 ? "\t" : " ") + std::string("w") + std::to_string(i) + "_" + std::to_string(w);
            line.erase(0, 1);
        }
        lines.push_back(line);
        for (const std::string& word : Words(line))
            expectedWords.push_back(word);
    }
    SFileMem stream;
    WriteLines(&stream, lines);
    ASSERT_TRUE(printer.PrintStream(&stream));
    int left = 0, top = 0, right = 0, bottom = 0;
    printer.GetPrintableAreaPixels(&left, &top, &right, &bottom);
    EXPECT_TRUE(printer.EndDocument());
    ASSERT_GT(device.pages.size(), 3u);

    std::vector<std::string> printedWords;
    int rowsOnFirstPage = 0;
    for (size_t page = 0; page < device.pages.size(); page++)
    {
        std::vector<SPrintedText> texts = device.Texts(page);
        ASSERT_FALSE(texts.empty()) << "page " << page;
        for (const SPrintedText& text : texts)
        {
            EXPECT_LE(text.y + lineHeight, bottom) << "page " << page;
            EXPECT_GE(text.y, top);
            EXPECT_FALSE(text.text.size() > 1 && text.text[0] == ' ' && text.text[1] != ' ')
                << "a single blank was carried to a new line: " << text.text;
            for (const std::string& word : Words(text.text))
                printedWords.push_back(word);
        }
        if (page == 0)
            rowsOnFirstPage = (int)texts.size();
    }
    EXPECT_EQ(printedWords, expectedWords);
    // A page holds as many rows as fit: the first page's rows are the first lines, and the next
    // page starts with the line that did not fit.
    EXPECT_EQ(rowsOnFirstPage, (bottom - top) / lineHeight);
    std::vector<SPrintedText> second = device.Texts(1);
    int firstOnSecond = rowsOnFirstPage;
    EXPECT_EQ(second[0].text, lines[firstOnSecond].empty() ? " " : lines[firstOnSecond]);
}

TEST(SPrinter, WideWordIsPlacedWholeAndALineNeverPlacedFails)
{
    MetafilePrinterDevice device;
    SPrinter printer;
    std::string wide(400, 'W');
    SFileMem stream;
    WriteLines(&stream, {"a " + wide + " b"});
    ASSERT_TRUE(printer.PrintStream(&stream));
    printer.EndDocument();
    ASSERT_EQ(device.pages.size(), 1u);
    std::vector<SPrintedText> texts = device.Texts(0);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "a ");
    EXPECT_EQ(texts[1].text, wide);
    EXPECT_EQ(texts[2].text, "b");

    // A page too short for one line: ten empty pages, then the print gives up.
    MetafilePrinterDevice tiny;
    tiny.height = 200;
    tiny.heightMm = 52;
    SPrinter small;
    SFileMem text;
    WriteLines(&text, {"one", "two"});
    EXPECT_FALSE(small.PrintStream(&text));
    small.EndDocument();
    EXPECT_EQ(tiny.pages.size(), 10u);
}
