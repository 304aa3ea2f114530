#include <gtest/gtest.h>

#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

#include "SMediaLayout.h"
#include "SMediaMeasureCache.h"
#include "SMediaText.h"

namespace
{

struct Segment
{
    int start, end;
    bool operator==(const Segment& other) const { return start == other.start && end == other.end; }
};

std::vector<Segment> SegmentsOf(const SMediaTagList& tags, int index)
{
    std::vector<Segment> out;
    const SMediaTag* tag = tags.GetTag(index);
    SMediaSegment segment;
    for (int i = 0; tag && tags.GetSegment(tag, i, &segment); i++)
        out.push_back({segment.start, segment.end});
    return out;
}

std::string KindsOf(const SMediaTagList& tags)
{
    std::string out;
    for (int i = 0; i < tags.GetCount(); i++)
    {
        const SMediaTag* tag = tags.GetTag(i);
        out += tag->opening ? "" : "/";
        out += (char)('0' + tag->kind);
        out += ' ';
    }
    return out;
}

// A measurer without fonts: every character is 10 pixels wide (12 in bold) and a line 20 high;
// a limited width wraps the text into as many lines as it needs.
class FakeMeasurer : public SMediaMeasurer
{
public:
    SMediaBox Measure(const wchar_t*, int length, const LOGFONTA& font, int, float width) override
    {
        calls++;
        float total = (float)length * (font.lfWeight >= FW_BOLD ? 12 : 10);
        if (width < 0 || total <= width)
            return {0, 0, total, 20};
        float lines = width >= 10 ? (float)(int)((total + width - 1) / width) : (float)length;
        return {0, 0, width, 20 * lines};
    }
    int calls = 0;
};

struct LaidOut
{
    SMediaTagList tags;
    SMediaLayout layout;
    SUniString wide;
    FakeMeasurer measurer;
    std::string text;

    // Lays the text out through the fake measurer, or through the one given.
    void Run(const std::string& source, int width, unsigned alignment = 0, bool wrapping = false,
             SMediaMeasurer* through = nullptr)
    {
        text = source;
        tags.Parse(text.c_str(), (int)text.size());
        SMediaWiden(text.c_str(), (int)text.size(), &wide);
        SMediaLayoutInput input;
        memset(&input, 0, sizeof(input));
        input.text = text.c_str();
        input.wide = wide;
        input.length = (int)text.size();
        input.fontHeight = 16;
        input.font.lfWeight = FW_NORMAL;
        input.width = width;
        input.wrapping = wrapping;
        input.alignment = alignment;
        input.textColor = 0xFE000000;
        input.linkColor = 0xFE0000FF;
        layout.Layout(tags, input, through ? through : &measurer, nullptr);
    }
    // The characters of a run.
    std::string RunText(const SMediaRun* run) const { return text.substr(run->start, run->length); }
    // The characters of every run of a line, joined.
    std::string LineText(int index) const
    {
        std::string out;
        const SMediaLine* line = layout.GetLine(index);
        for (int r = 0; line && r < line->runCount; r++)
            out += RunText(layout.GetRun(line, r));
        return out;
    }
};

}

TEST(SMediaText, SegmentsFollowLinesAndTags)
{
    struct Case { const char* text; std::string kinds; std::vector<std::vector<Segment>> segments; };
    const Case cases[] = {
        {"", "0 ", {{{0, 0}}}},
        {"abc", "0 ", {{{0, 3}}}},
        {"a\nb", "0 ", {{{0, 1}, {2, 3}}}},
        {"a\r\nb\rc", "0 ", {{{0, 1}, {3, 4}, {5, 6}}}},
        {"a\n\nb", "0 ", {{{0, 1}, {2, -1}, {3, 4}}}},
        {"\nb", "0 ", {{{0, -1}, {1, 2}}}},
        {"a\n", "0 ", {{{0, 1}}}},
        {"x<b>y\nz", "0 1 ", {{{0, 1}}, {{4, 5}, {6, 7}}}},
        {"<b>bold</B>", "0 1 /1 ", {{{0, 0}}, {{3, 7}}, {{11, 11}}}},
        {"<Link>t</LINK><img>n</IMG>", "0 5 /5 6 /6 ", {{{0, 0}}, {{6, 7}}, {{14, 14}}, {{19, 20}}, {{26, 26}}}},
        {"<l><c><r><left><center><right>", "0 7 8 9 7 8 9 ", {{{0, 0}}, {{3, 3}}, {{6, 6}}, {{9, 9}}, {{15, 15}}, {{23, 23}}, {{30, 30}}}},
        {"<#FF0000>r</#>", "0 4 /4 ", {{{0, 0}}, {{9, 10}}, {{14, 14}}}},
        // Texts that hold no known tag stay whole.
        {"a > b <B>c", "0 ", {{{0, 10}}}},
        {"<P>x", "0 ", {{{0, 4}}}},
        {"<b\n>x", "0 ", {{{0, 2}, {3, 5}}}},
    };
    for (const Case& c : cases)
    {
        SMediaTagList tags;
        tags.Parse(c.text);
        EXPECT_EQ(c.kinds, KindsOf(tags)) << c.text;
        ASSERT_EQ((int)c.segments.size(), tags.GetCount()) << c.text;
        for (int i = 0; i < tags.GetCount(); i++)
            EXPECT_EQ(c.segments[i], SegmentsOf(tags, i)) << c.text << " tag " << i;
    }
}

TEST(SMediaText, ColourTags)
{
    struct Case { const char* tag; unsigned argb; };
    const Case cases[] = {
        {"<#FF0000>", 0xFEFF0000u}, {"<#00FF0080>", 0x8000FF00u}, {"<#0000FFFF>", 0xFE0000FFu},
        {"<#0A0B0C>", 0xFE0A0B0Cu}, {"<#0a0b0c>", 0xFE0A0B0Cu}, {"<#FF>", 0xFEFF0000u},
        {"<#GG1122>", 0xFE001122u}, {"<#>", 0xFE000000u}, {"<#112233445566>", 0xFE112233u},
        {"<#1122334>", 0xFE112233u},
    };
    for (const Case& c : cases)
    {
        bool opening = false;
        unsigned color = 0;
        EXPECT_EQ(SMEDIATAG_COLOR, SMediaTagList::Classify(c.tag, (int)strlen(c.tag), &opening, &color)) << c.tag;
        EXPECT_TRUE(opening) << c.tag;
        EXPECT_EQ(c.argb, color) << c.tag;
    }
    bool opening = true;
    unsigned color = 0;
    EXPECT_EQ(SMEDIATAG_COLOR, SMediaTagList::Classify("</#>", 4, &opening, &color));
    EXPECT_FALSE(opening);
    EXPECT_EQ(SMEDIATAG_COLOR, SMediaTagList::Classify("</#anything>", 12, &opening, &color));
    EXPECT_EQ(-1, SMediaTagList::Classify("</>", 3, &opening, &color));
    EXPECT_EQ(-1, SMediaTagList::Classify("<//B>", 5, &opening, &color));
    EXPECT_EQ(-1, SMediaTagList::Classify("<CENTERED>", 10, &opening, &color));
}

TEST(SMediaText, ColoursAreKeptWithAlpha254)
{
    EXPECT_EQ(0xFE112233u, SMediaArgb(RGB(0x11, 0x22, 0x33)));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(0xFE000000u | GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face),
              SMediaArgb(0xFE000000u + COLOR_BTNFACE));
}

TEST(SMediaLayout, RunsCarryTheAttributesInForce)
{
    LaidOut view;
    view.Run("a<b>b<i>c</b>d</i><u>e</u><#FF0000>f<#00FF00>g</#>h</#></#>i<link>j</link>", 400);
    ASSERT_EQ(1, view.layout.GetLineCount());
    const SMediaLine* line = view.layout.GetLine(0);
    ASSERT_EQ(10, line->runCount);
    struct Expected { char ch; int weight; int italic; int underline; unsigned color; bool link; };
    const Expected expected[] = {
        {'a', 400, 0, 0, 0xFE000000, false}, {'b', 700, 0, 0, 0xFE000000, false},
        {'c', 700, 1, 0, 0xFE000000, false}, {'d', 400, 1, 0, 0xFE000000, false},
        {'e', 400, 0, 1, 0xFE000000, false}, {'f', 400, 0, 0, 0xFEFF0000, false},
        {'g', 400, 0, 0, 0xFE00FF00, false}, {'h', 400, 0, 0, 0xFEFF0000, false},
        // Two closing colour tags, one more than was opened: the base colour stays.
        {'i', 400, 0, 0, 0xFE000000, false}, {'j', 400, 0, 1, 0xFE0000FF, true},
    };
    float x = 0;
    for (int r = 0; r < line->runCount; r++)
    {
        const SMediaRun* run = view.layout.GetRun(line, r);
        const LOGFONTA* font = view.layout.GetFont(run->font);
        ASSERT_NE(nullptr, font);
        EXPECT_EQ(std::string(1, expected[r].ch), view.RunText(run)) << r;
        EXPECT_EQ(expected[r].weight, font->lfWeight) << r;
        EXPECT_EQ(expected[r].italic, font->lfItalic) << r;
        EXPECT_EQ(expected[r].underline, font->lfUnderline) << r;
        EXPECT_EQ(expected[r].color, run->color) << r;
        EXPECT_EQ(expected[r].link, run->link) << r;
        EXPECT_FLOAT_EQ(x, run->x) << r;
        x += run->width;
    }
    EXPECT_EQ((int)x, line->width);
    EXPECT_EQ(line->width, view.layout.GetContentWidth());
}

TEST(SMediaLayout, LinesAndHeights)
{
    LaidOut view;
    view.Run("one\n\ntwo<b>b</b>\nthree", 400);
    ASSERT_EQ(4, view.layout.GetLineCount());
    EXPECT_EQ("one", view.LineText(0));
    EXPECT_EQ("", view.LineText(1));
    EXPECT_EQ("twob", view.LineText(2));
    EXPECT_EQ("three", view.LineText(3));
    // The empty line keeps the font's height; text lines take their tallest run.
    EXPECT_EQ(16, view.layout.GetLine(1)->height);
    EXPECT_EQ(20, view.layout.GetLine(0)->height);
    int top = 0;
    for (int i = 0; i < view.layout.GetLineCount(); i++)
    {
        EXPECT_EQ(top, view.layout.GetLine(i)->top);
        top += view.layout.GetLine(i)->height;
    }
    EXPECT_EQ(top, view.layout.GetContentHeight());
    EXPECT_EQ(30 + 12, view.layout.GetLine(2)->width);
    EXPECT_EQ(0, view.layout.FindLine(0));
    EXPECT_EQ(1, view.layout.FindLine(20));
    EXPECT_EQ(2, view.layout.FindLine(36));
    EXPECT_EQ(4, view.layout.FindLine(top));
}

TEST(SMediaLayout, LineAlignment)
{
    struct Case { const char* text; unsigned viewAlignment; float firstX; };
    // Lines of 4 characters (40 pixels) in an area 200 wide.
    const Case cases[] = {
        {"abcd", 0, 0},
        {"abcd", 1, 80},
        {"abcd", 2, 160},
        {"abcd", 3, 0},
        {"ab<C>cd", 0, 80},
        {"<c>ab</c>cd", 2, 80},
        {"<R>ab</R><C>cd", 0, 160},
        {"<C>ab</C><R>cd", 0, 160},
        {"<L>abcd", 2, 0},
        {"<r>ab</r>cd", 0, 160},
    };
    for (const Case& c : cases)
    {
        LaidOut view;
        view.Run(c.text, 200, c.viewAlignment);
        const SMediaLine* line = view.layout.GetLine(0);
        ASSERT_EQ(40, line->width) << c.text;
        const SMediaRun* first = view.layout.GetRun(line, 0);
        EXPECT_FLOAT_EQ(c.firstX, first->x) << c.text;
        const SMediaRun* last = view.layout.GetRun(line, line->runCount - 1);
        EXPECT_FLOAT_EQ(c.firstX + 40, last->x + last->width) << c.text;
    }
    // The alignment of a line is the one in force on it; the next line starts afresh.
    LaidOut view;
    view.Run("<C>ab</C>\ncd", 200);
    EXPECT_FLOAT_EQ(90, view.layout.GetRun(view.layout.GetLine(0), 0)->x);
    EXPECT_FLOAT_EQ(0, view.layout.GetRun(view.layout.GetLine(1), 0)->x);
}

TEST(SMediaLayout, WrappingAndWidthChanges)
{
    LaidOut view;
    std::string longLine(30, 'x');
    view.Run(longLine, 100, 0, false);
    // Without wrapping a long line is one run as wide as its text.
    EXPECT_EQ(300, view.layout.GetContentWidth());
    EXPECT_EQ(20, view.layout.GetContentHeight());

    view.Run(longLine, 100, 0, true);
    EXPECT_EQ(100, view.layout.GetContentWidth());
    EXPECT_EQ(60, view.layout.GetContentHeight());

    // Only runs wider than the new area are measured again after a width change.
    LaidOut many;
    std::string text;
    for (int i = 0; i < 50; i++)
        text += "short <b>bold</b>\n";
    many.Run(text, 1000, 0, true);
    int first = many.measurer.calls;
    EXPECT_EQ(100, first);
    many.Run(text, 500, 0, true);
    EXPECT_EQ(first, many.measurer.calls);
    many.Run(text, 30, 0, true);
    EXPECT_EQ(first + 100, many.measurer.calls);
    EXPECT_EQ(50 * 40, many.layout.GetContentHeight());
}

TEST(SMediaLayout, DamagedTextsShowAsText)
{
    std::vector<std::string> texts = {
        "<", ">", "<>", "<<<<>>>>", "<b", "</", "<#", "<#>", "</#>", "</#", "<img></img>", "<link>",
        "</link></img></b></i></u></c></r></l>", "<b><b><b>x</b>", "\r\r\n\n\r", "\xff\xfe<\x80>",
        std::string(1, '\0') + "<b>", "<" + std::string(100000, 'x') + ">", "<" + std::string(100000, '<'),
        std::string(100000, '>') + "<b>",
    };
    std::string manyTags;
    for (int i = 0; i < 50000; i++)
        manyTags += "<b><#112233><c>";
    texts.push_back(manyTags);
    std::string manyClosing;
    for (int i = 0; i < 50000; i++)
        manyClosing += "</#></b>";
    texts.push_back(manyClosing);
    for (const std::string& text : texts)
    {
        LaidOut view;
        view.Run(text, 100, 0, true);
        int shown = 0;
        for (int l = 0; l < view.layout.GetLineCount(); l++)
        {
            const SMediaLine* line = view.layout.GetLine(l);
            for (int r = 0; r < line->runCount; r++)
            {
                const SMediaRun* run = view.layout.GetRun(line, r);
                ASSERT_GE(run->start, 0);
                ASSERT_LE(run->start + run->length, (int)text.size());
                shown += run->length;
            }
        }
        // Texts without a known tag show every character that is not a line break.
        SMediaTagList tags;
        tags.Parse(text.c_str(), (int)text.size());
        if (tags.GetCount() == 1)
        {
            int expected = 0;
            for (char ch : text)
                expected += ch != '\r' && ch != '\n';
            EXPECT_EQ(expected, shown) << text.substr(0, 40);
        }
    }
}

TEST(SMediaLayout, MeasuresAreNotReusedForAnotherText)
{
    LaidOut view;
    view.Run("abc", 100);
    EXPECT_EQ(30, view.layout.GetContentWidth());
    view.Run("<b>x</b>", 100);
    view.Run("abcd", 100);
    EXPECT_EQ(40, view.layout.GetContentWidth());
    // Same offsets, same font, other characters: measured again.
    int calls = view.measurer.calls;
    view.Run("wxyz", 100);
    EXPECT_EQ(calls + 1, view.measurer.calls);
}

namespace
{

// Every character is as wide as the font is high (bold adds 2) and a line as high as the font;
// a limited width is given back as it is.
class SizedMeasurer : public SMediaMeasurer
{
public:
    SMediaBox Measure(const wchar_t* text, int length, const LOGFONTA& font, int alignment, float width) override
    {
        calls.push_back(std::wstring(text, (size_t)length));
        float size = (float)(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight ? font.lfHeight : 10);
        float advance = size + (font.lfWeight >= FW_BOLD ? 2 : 0);
        return {(float)alignment, 0, width >= 0 ? width : advance * (float)length, size};
    }
    std::vector<std::wstring> calls;
};

LOGFONTA FontOf(int height, int weight, bool italic = false)
{
    LOGFONTA font;
    memset(&font, 0, sizeof(font));
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    strcpy(font.lfFaceName, "Tahoma");
    return font;
}

}

TEST(SMediaMeasureCache, EachTextIsMeasuredOncePerFontAndAlignment)
{
    SizedMeasurer source;
    SMediaMeasureCache cache(&source);
    struct Case {
        const wchar_t* text;
        LOGFONTA font;
        int alignment;
        float width;
        SMediaBox expected;
        size_t sourceCalls; // after this measure
    } cases[] = {
        {L"word ", FontOf(-10, FW_NORMAL), 0, -1, {0, 0, 50, 10}, 1},
        {L"word ", FontOf(-10, FW_NORMAL), 0, -1, {0, 0, 50, 10}, 1},
        // The same word in another weight, size or style, or with another alignment, is another measure.
        {L"word ", FontOf(-10, FW_BOLD), 0, -1, {0, 0, 60, 10}, 2},
        {L"word ", FontOf(-20, FW_NORMAL), 0, -1, {0, 0, 100, 20}, 3},
        {L"word ", FontOf(-10, FW_NORMAL, true), 0, -1, {0, 0, 50, 10}, 4},
        {L"word ", FontOf(-10, FW_NORMAL), 1, -1, {1, 0, 50, 10}, 5},
        {L"word ", FontOf(-10, FW_BOLD), 0, -1, {0, 0, 60, 10}, 5},
        {L"word ", FontOf(-20, FW_NORMAL), 0, -1, {0, 0, 100, 20}, 5},
        // A text that only begins like a known one is measured for itself.
        {L"word", FontOf(-10, FW_NORMAL), 0, -1, {0, 0, 40, 10}, 6},
        {L"words", FontOf(-10, FW_NORMAL), 0, -1, {0, 0, 50, 10}, 7},
        // Wrapped measures depend on the width: always asked again.
        {L"word ", FontOf(-10, FW_NORMAL), 0, 30, {0, 0, 30, 10}, 8},
        {L"word ", FontOf(-10, FW_NORMAL), 0, 30, {0, 0, 30, 10}, 9},
        // Plain runs are summed from their words: both are known already.
        {L"word word ", FontOf(-10, FW_NORMAL), 0, -1, {0, 0, 100, 10}, 9},
        {L"word word", FontOf(-10, FW_NORMAL), 0, -1, {0, 0, 90, 10}, 9},
        {L"word words word", FontOf(-20, FW_NORMAL), 0, -1, {0, 0, 300, 20}, 11},
        // Tabs and runs that are not at the near edge are measured whole.
        {L"word\tword ", FontOf(-10, FW_NORMAL), 0, -1, {0, 0, 100, 10}, 12},
        {L"word word ", FontOf(-10, FW_NORMAL), 1, -1, {1, 0, 100, 10}, 13},
    };
    for (const Case& c : cases)
    {
        SMediaBox box = cache.Measure(c.text, (int)wcslen(c.text), c.font, c.alignment, c.width);
        EXPECT_EQ(c.expected.x, box.x) << c.sourceCalls;
        EXPECT_EQ(c.expected.width, box.width) << c.sourceCalls;
        EXPECT_EQ(c.expected.height, box.height) << c.sourceCalls;
        EXPECT_EQ(c.sourceCalls, source.calls.size());
    }
    EXPECT_EQ(13, cache.GetSourceMeasures());
}

TEST(SMediaMeasureCache, LayoutThroughTheCacheMatchesTheDirectLayout)
{
    const std::string text = "one <b>one</b> two\n<i>one</i> one two <b>one</b>\n<c>two one</c>\none";
    struct Case { int width; bool wrapping; } cases[] = {{400, false}, {60, true}, {35, true}};
    for (const Case& c : cases)
    {
        SizedMeasurer direct, behind;
        SMediaMeasureCache cache(&behind);
        LaidOut plain, cached;
        plain.Run(text, c.width, 0, c.wrapping, &direct);
        cached.Run(text, c.width, 0, c.wrapping, &cache);
        const SMediaLayout& a = plain.layout;
        const SMediaLayout& b = cached.layout;
        ASSERT_EQ(a.GetLineCount(), b.GetLineCount()) << c.width;
        EXPECT_GT(a.GetContentWidth(), 0) << c.width;
        EXPECT_EQ(a.GetContentWidth(), b.GetContentWidth()) << c.width;
        EXPECT_EQ(a.GetContentHeight(), b.GetContentHeight()) << c.width;
        for (int l = 0; l < a.GetLineCount(); l++)
        {
            ASSERT_EQ(a.GetLine(l)->runCount, b.GetLine(l)->runCount) << l;
            for (int r = 0; r < a.GetLine(l)->runCount; r++)
            {
                const SMediaRun* x = a.GetRun(a.GetLine(l), r);
                const SMediaRun* y = b.GetRun(b.GetLine(l), r);
                EXPECT_EQ(x->x, y->x) << l << " " << r;
                EXPECT_EQ(x->width, y->width) << l << " " << r;
                EXPECT_EQ(x->height, y->height) << l << " " << r;
            }
        }
        // Repeated runs in the same font were answered from the table.
        EXPECT_LT(behind.calls.size(), direct.calls.size()) << c.width;
    }
}
