#include <gtest/gtest.h>

#include <string.h>

#include "ImageTestSupport.h"
#include "SDraw.h"
#include "SFileMem.h"

TEST(SDraw, ColorTextRoundTrips)
{
    struct Case {
        uint32_t color;
        const char* text;
    } cases[] = {
        {0x0000FF, "#FF0000"},          {0x00FF00, "#00FF00"},   {0xFF0000, "#0000FF"},
        {0x123456, "#563412"},          {0xFF000000, "#FF000000"}, {0xFF000001, "#FF000001"},
        {0xFE00000F, "#FE00000F"},      {0x80ABCDEF, "#80ABCDEF"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.text, (const char*)ColorToText(c.color)) << std::hex << c.color;
        EXPECT_EQ(c.color, TextToColor(c.text)) << c.text;
    }
}

TEST(SDraw, TextToColorRejectsOtherLengthsAndReadsBadPairsAsZero)
{
    struct Case {
        const char* text;
        uint32_t color;
    } cases[] = {
        {"", 0}, {"#FF00", 0}, {"#FF00000", 0}, {"#FF0000000", 0}, {"#zz00ff", 0xFF0000},
        {"xff0000", 0x0000FF}, {"#ff8000", 0x0080FF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.color, TextToColor(c.text)) << c.text;
    EXPECT_EQ(0u, TextToColor(nullptr));
}

TEST(SDraw, ToGrayGivesEqualChannels)
{
    struct Case {
        uint32_t color;
        uint32_t gray;
    } cases[] = {
        {0x000000, 0x000000}, {0xFFFFFF, 0xFFFFFF}, {0x0000FF, 0x4C4C4C}, {0x00FF00, 0x959595},
        {0xFF0000, 0x1D1D1D}, {0xFF000000, 0xFF000000}, {0xFF000001, 0xFF000001},
        // Greys whose weighted sum falls a hair below the grey itself keep their level.
        {0x010101, 0x010101}, {0x0B0B0B, 0x0B0B0B}, {0x404040, 0x404040},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.gray, ToGray(c.color)) << std::hex << c.color;
}

TEST(SDraw, FitRectKeepsAspectAndCentres)
{
    struct Case {
        int width, height;
        bool enlarge;
        RECT expected;
    } cases[] = {
        {200, 100, true, {0, 25, 100, 75}},
        {100, 200, true, {25, 0, 75, 100}},
        {50, 20, false, {25, 40, 75, 60}},   // smaller: natural size, centred
        {20, 50, false, {40, 25, 60, 75}},
        {50, 20, true, {0, 30, 100, 70}},    // enlarged to the full width
        {400, 100, false, {0, 37, 100, 62}}, // larger: shrunk
        {50, 0, true, {0, 0, 100, 100}},     // no height: aspect 1
        {1, 1000000000, true, {50, 0, 50, 100}}, // a needle: no width, and no overflow
    };
    for (const Case& c : cases) {
        RECT r = FitRect(0, 0, 100, 100, c.width, c.height, c.enlarge);
        EXPECT_EQ(c.expected.left, r.left) << c.width << "x" << c.height;
        EXPECT_EQ(c.expected.top, r.top) << c.width << "x" << c.height;
        EXPECT_EQ(c.expected.right, r.right) << c.width << "x" << c.height;
        EXPECT_EQ(c.expected.bottom, r.bottom) << c.width << "x" << c.height;
    }
}

TEST(SDraw, NameChecks)
{
    struct Case {
        const char* text;
        bool identifier;
        bool upperIdentifier;
    } cases[] = {
        {"name", true, false},    {"_name", true, false}, {"name_", false, false}, {"_", false, false},
        {"__", false, false},     {"9lives", false, false}, {"a9", true, false},   {"", false, false},
        {"MY_KEY2", true, true},  {"KEY_", false, false},  {"_2", true, false},     {"A-B", false, false},
        {"ABC", true, true},      {"Abc", true, false},    {"123", false, false},   {"_9", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.identifier, IsIdentifier(c.text)) << c.text;
        EXPECT_EQ(c.upperIdentifier, IsUpperIdentifier(c.text)) << c.text;
    }
    EXPECT_FALSE(IsUpperIdentifier("_"));
    EXPECT_FALSE(IsUpperIdentifier("__9"));
    EXPECT_TRUE(IsUpperIdentifier("_A"));
}

TEST(SDraw, LettersOfTheWesternCodePage)
{
    const int letters[] = {'a', 'Z', 0x8C, 0x9C, 0xC0, 0xC4, 0xC7, 0xD6, 0xE9, 0xFC};
    const int others[] = {'1', '_', ' ', 0xC5, 0xC6, 0xD7, 0xD8, 0xF7, 0xFF, 0x80};
    for (int ch : letters)
        EXPECT_TRUE(IsLetter(ch)) << ch;
    for (int ch : others)
        EXPECT_FALSE(IsLetter(ch)) << ch;
    EXPECT_TRUE(IsLetter((char)0xE9));
    EXPECT_TRUE(IsIdentChar('_'));
    EXPECT_FALSE(IsIdentChar((char)0xE9));
}

TEST(SDraw, RandomAndLinearIndex)
{
    bool seen[10] = {};
    for (int i = 0; i < 500; i++) {
        EXPECT_EQ(0, RandomBelow(1));
        int n = RandomBelow(10);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 10);
        seen[n] = true;
    }
    int distinct = 0;
    for (bool s : seen)
        distinct += s;
    EXPECT_GT(distinct, 5);
    EXPECT_EQ(321, LinearIndex(3, 10, 100, 1, 2, 3));
    EXPECT_EQ(7, LinearIndex(1, 7));
    EXPECT_EQ(-1, LinearIndex(0));
    // Any number of dimensions: 64 strides of 1, then 65 indexes of 1.
#define ONES8 1, 1, 1, 1, 1, 1, 1, 1
#define ONES64 ONES8, ONES8, ONES8, ONES8, ONES8, ONES8, ONES8, ONES8
    EXPECT_EQ(65, LinearIndex(65, ONES64, ONES64, 1));
#undef ONES64
#undef ONES8
}

TEST(SDraw, FontHelpers)
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi == 96) {
        EXPECT_EQ(-11, PointsToFontHeight(8, nullptr));
        EXPECT_EQ(-12, PointsToFontHeight(9, nullptr));
        EXPECT_EQ(-16, PointsToFontHeight(12, nullptr));
        EXPECT_EQ(1440 * 10 / 96, PixelsToTwips(10, true));
    }

    LOGFONTA font;
    FillLogFont(&font, "A face name that is much longer than thirty-one characters", 10, 1 | 4);
    EXPECT_EQ(31u, strlen(font.lfFaceName));
    EXPECT_EQ(PointsToFontHeight(10, nullptr), font.lfHeight);
    EXPECT_EQ(5, GetFontStyle(&font));
    for (int style = 0; style < 16; style++) {
        FillLogFont(&font, "Arial", 9, style);
        EXPECT_EQ(style, GetFontStyle(&font));
        EXPECT_EQ((style & 1) != 0, IsStyleBold(style));
        EXPECT_EQ((style & 8) != 0, IsStyleStrikeOut(style));
    }

    int height = 0;
    HFONT created = CreatePointFont(nullptr, "Arial", 12, 2, &height);
    ASSERT_NE(nullptr, created);
    EXPECT_EQ(PointsToFontHeight(12, nullptr), height);
    LOGFONTA readBack;
    ASSERT_EQ((int)sizeof(readBack), GetObjectA(created, sizeof(readBack), &readBack));
    EXPECT_EQ(height, readBack.lfHeight);
    EXPECT_EQ(2, GetFontStyle(&readBack));

    SIZE one = GetTextExtent(created, "W", -1);
    SIZE three = GetTextExtent(created, "WWW", -1);
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(three.cx, one.cx * 2);
    EXPECT_EQ(0, GetTextExtent(created, "WWW", 0).cx);
    SIZE chars = GetFontCharSize(created);
    EXPECT_GT(chars.cx, 0);
    EXPECT_GE(chars.cy, -height);
    DeleteObject(created);
}

TEST(SDraw, OutlinesLinesAndGradients)
{
    PixelCanvas canvas(40, 20, RGB(255, 255, 255));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ penBefore = GetCurrentObject(canvas.dc(), OBJ_PEN);
    HGDIOBJ brushBefore = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    RECT box = {2, 2, 12, 12};
    EXPECT_TRUE(DrawRectOutline(canvas.dc(), &box, pen));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(2, 2));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(11, 7));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(6, 6));
    EXPECT_EQ(penBefore, GetCurrentObject(canvas.dc(), OBJ_PEN));
    EXPECT_EQ(brushBefore, GetCurrentObject(canvas.dc(), OBJ_BRUSH));

    EXPECT_TRUE(DrawLine(canvas.dc(), 20, 0, 20, 20, pen));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(20, 10));
    EXPECT_EQ(penBefore, GetCurrentObject(canvas.dc(), OBJ_PEN));
    DeleteObject(pen);

    RECT band = {0, 14, 40, 20};
    EXPECT_TRUE(FillGradientRect(canvas.dc(), &band, 0x000000, 0xFFFFFF, false));
    EXPECT_LT(GetRValue(canvas.At(0, 16)), 20);
    EXPECT_GT(GetRValue(canvas.At(39, 16)), 230);
    EXPECT_LT(GetRValue(canvas.At(10, 16)), GetRValue(canvas.At(30, 16)));

    SGradientRecord record = {canvas.dc(), {0, 0, 10, 10}, 0x0000FF, 0x0000FF, true};
    EXPECT_TRUE(FillGradientRectRecord(&record));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(5, 5));

    // A system colour value is drawn as that system colour.
    RECT corner = {30, 0, 40, 10};
    EXPECT_TRUE(FillGradientRect(canvas.dc(), &corner, COLOR_SYSTEM_BASE + COLOR_HIGHLIGHT,
                                 COLOR_SYSTEM_BASE + COLOR_HIGHLIGHT, true));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), canvas.At(35, 5));
}

TEST(SDraw, GdiplusTextAndFormat)
{
    GdiplusSession session;
    Gdiplus::StringFormat format;
    struct Case {
        int code;
        bool wrap;
        Gdiplus::StringAlignment horizontal, vertical;
        INT flags;
    } cases[] = {
        {0, true, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, 0x800},
        {1, false, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentNear, 0x1800},
        {18, true, Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentCenter, 0x800},
        {33, true, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentFar, 0x800},
        {50, true, Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentNear, 0x800},
    };
    for (const Case& c : cases) {
        SetTextFormat(&format, c.code, c.wrap);
        EXPECT_EQ(c.horizontal, format.GetAlignment()) << c.code;
        EXPECT_EQ(c.vertical, format.GetLineAlignment()) << c.code;
        EXPECT_EQ(c.flags, format.GetFormatFlags()) << c.code;
    }

    SImage target(120, 40, PixelFormat32bppARGB);
    ASSERT_TRUE(target.Fill(0xFFFFFFFF));
    Gdiplus::Graphics graphics(target.GetBitmap());
    Gdiplus::FontFamily family(L"Arial");
    Gdiplus::Font font(&family, 16, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    RECT bounds = {0, 0, 0, 0};
    ASSERT_TRUE(DrawTextGdiplus(&graphics, "Hello", &font, 0, 0, 120, 40, nullptr, nullptr, nullptr, &bounds));
    graphics.Flush(Gdiplus::FlushIntentionSync);
    EXPECT_GT(bounds.right - bounds.left, 10);
    EXPECT_GT(bounds.bottom - bounds.top, 5);
    int dark = 0;
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 120; x++)
            if ((target.GetPixelColor(x, y) & 0xFF) < 128)
                dark++;
    EXPECT_GT(dark, 10);
    EXPECT_FALSE(DrawTextGdiplus(&graphics, "x", nullptr, 0, 0, 10, 10));
}

TEST(SDraw, GdiplusGradient)
{
    GdiplusSession session;
    SImage target(40, 10, PixelFormat32bppRGB);
    {
        Gdiplus::Graphics graphics(target.GetBitmap());
        EXPECT_TRUE(FillGradientRectGdiplus(&graphics, 0, 0, 40, 10, Gdiplus::Color(255, 255, 0, 0),
                                            Gdiplus::Color(255, 0, 0, 255), false));
    }
    uint32_t left = target.GetPixelColor(0, 5), right = target.GetPixelColor(39, 5);
    EXPECT_GT((left >> 16) & 0xFF, 200u);
    EXPECT_LT(left & 0xFF, 50u);
    EXPECT_GT(right & 0xFF, 200u);
    EXPECT_LT((right >> 16) & 0xFF, 50u);
}

TEST(SDraw, ResourceDataIsCopiedToTheStream)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    ASSERT_NE(nullptr, user32);
    SFileMem memory;
    ASSERT_TRUE(LoadResourceData(user32, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), &memory));
    ASSERT_GT(memory.GetSize(), 40);
    // A version resource: its length word, then "VS_VERSION_INFO" in UTF-16 at offset 6.
    const uint8_t* bytes = memory.GetBuffer();
    EXPECT_EQ(memory.GetSize(), bytes[0] | (bytes[1] << 8));
    EXPECT_EQ(0, memcmp(bytes + 6, L"VS_VERSION_INFO", 30));

    SFileMem untouched;
    EXPECT_FALSE(LoadResourceData(user32, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(999), &untouched));
    EXPECT_EQ(0, untouched.GetSize());
    EXPECT_FALSE(LoadResourceData(user32, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), nullptr));
}
