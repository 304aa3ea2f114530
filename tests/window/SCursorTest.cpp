#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "ImageTestSupport.h"
#include "SCursor.h"
#include "SIdentifiants.h"
#include "SLibrary.h"

namespace
{

struct CursorShape
{
    POINT hotSpot;
    int width, height;
    std::vector<unsigned char> andMask, xorMask;
};

bool ReadCursor(HCURSOR cursor, CursorShape* shape)
{
    ICONINFO info;
    if (!GetIconInfo(cursor, &info))
        return false;
    shape->hotSpot.x = (LONG)info.xHotspot;
    shape->hotSpot.y = (LONG)info.yHotspot;
    BITMAP mask;
    GetObject(info.hbmMask, sizeof(mask), &mask);
    shape->width = mask.bmWidth;
    shape->height = mask.bmHeight / 2;
    std::vector<unsigned char> bits((size_t)mask.bmWidthBytes * mask.bmHeight);
    GetBitmapBits(info.hbmMask, (LONG)bits.size(), bits.data());
    size_t half = bits.size() / 2;
    shape->andMask.assign(bits.begin(), bits.begin() + half);
    shape->xorMask.assign(bits.begin() + half, bits.end());
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return true;
}

bool Bit(const std::vector<unsigned char>& mask, int width, int x, int y)
{
    int bytesPerRow = ((width + 15) / 16) * 2;
    return (mask[(size_t)(y * bytesPerRow + x / 8)] & (0x80 >> (x % 8))) != 0;
}

}

TEST(SCursor, SystemKindsAreSharedAndUnknownKindsGiveTheArrow)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    {
        SCursor cursor(25);
        EXPECT_EQ(cursor.GetHandle(), arrow);
        EXPECT_TRUE(cursor.IsShared());
        cursor.Release();
        EXPECT_EQ(cursor.GetHandle(), nullptr);
    }
    // Releasing a shared system cursor leaves it usable.
    CursorShape shape;
    EXPECT_TRUE(ReadCursor(arrow, &shape));
    SCursor beam(5);
    EXPECT_EQ(beam.GetHandle(), LoadCursorA(nullptr, IDC_IBEAM));
}

TEST(SCursor, DrawnKindsHaveTheirHotSpots)
{
    struct Case
    {
        int kind, x, y;
    };
    const Case cases[] = {{14, 7, 0}, {15, 7, 0}, {16, 9, 22}, {17, 9, 22}, {18, 15, 15}, {19, 11, 22}, {20, 13, 14}};
    for (const Case& c : cases)
    {
        SCursor cursor(c.kind);
        ASSERT_NE(cursor.GetHandle(), nullptr) << c.kind;
        EXPECT_FALSE(cursor.IsShared());
        CursorShape shape;
        ASSERT_TRUE(ReadCursor(cursor.GetHandle(), &shape));
        EXPECT_EQ(shape.hotSpot.x, c.x) << c.kind;
        EXPECT_EQ(shape.hotSpot.y, c.y) << c.kind;
        EXPECT_EQ(shape.width, 32);
        EXPECT_EQ(shape.height, 32);
    }
}

TEST(SCursor, FromDCRefusesBadSizes)
{
    PixelCanvas canvas(32, 32, RGB(128, 128, 128));
    SCursor cursor;
    EXPECT_FALSE(cursor.CreateFromDC(canvas.dc(), 24, 32));
    EXPECT_FALSE(cursor.CreateFromDC(canvas.dc(), 0, 32));
    EXPECT_FALSE(cursor.CreateFromDC(canvas.dc(), 32, -1));
    EXPECT_FALSE(cursor.CreateFromDC(nullptr, 32, 32));
    EXPECT_EQ(cursor.GetHandle(), nullptr);
    ASSERT_TRUE(cursor.CreateFromDC(canvas.dc(), 32, 32));
    CursorShape shape;
    ASSERT_TRUE(ReadCursor(cursor.GetHandle(), &shape));
    EXPECT_EQ(shape.hotSpot.x, 0);
    EXPECT_EQ(shape.hotSpot.y, 0);
}

TEST(SCursor, FromDCTranslatesTheColourCode)
{
    struct Case
    {
        COLORREF color;
        bool andBit, xorBit;
    };
    const Case cases[] = {
        {0xFFFFFF, false, true}, {0xFF00FF, true, false}, {0x0000FF, true, true}, {0x123456, false, false},
        {0xFE0000, false, true}, {0xFD0000, true, false}, {0xFC0000, true, true},
    };
    PixelCanvas canvas(32, 32, RGB(128, 128, 128));
    for (int i = 0; i < (int)(sizeof(cases) / sizeof(cases[0])); i++)
        SetPixel(canvas.dc(), i, 3, cases[i].color);
    SCursor cursor;
    ASSERT_TRUE(cursor.CreateFromDC(canvas.dc(), 32, 32));
    CursorShape shape;
    ASSERT_TRUE(ReadCursor(cursor.GetHandle(), &shape));
    for (int i = 0; i < (int)(sizeof(cases) / sizeof(cases[0])); i++)
    {
        EXPECT_EQ(Bit(shape.andMask, 32, i, 3), cases[i].andBit) << i;
        EXPECT_EQ(Bit(shape.xorMask, 32, i, 3), cases[i].xorBit) << i;
    }
    // The last hot-spot pixel in row order wins: (6, 3), the 0xFC0000 one.
    EXPECT_EQ(shape.hotSpot.x, 6);
    EXPECT_EQ(shape.hotSpot.y, 3);
}

TEST(SCursor, LowerOrRightHotPixelWins)
{
    struct Case
    {
        POINT first, second, expected;
    };
    const Case cases[] = {
        {{3, 5}, {10, 20}, {10, 20}},
        {{4, 7}, {12, 7}, {12, 7}},
        {{20, 2}, {1, 9}, {1, 9}},
    };
    for (const Case& c : cases)
    {
        PixelCanvas canvas(32, 32, RGB(0, 0, 0));
        SetPixel(canvas.dc(), c.first.x, c.first.y, 0xFF0000);
        SetPixel(canvas.dc(), c.second.x, c.second.y, 0xFF0000);
        SCursor cursor;
        ASSERT_TRUE(cursor.CreateFromDC(canvas.dc(), 32, 32));
        CursorShape shape;
        ASSERT_TRUE(ReadCursor(cursor.GetHandle(), &shape));
        EXPECT_EQ(shape.hotSpot.x, c.expected.x);
        EXPECT_EQ(shape.hotSpot.y, c.expected.y);
    }
}

TEST(SCursor, LibraryTableHoldsTwentyOneCursors)
{
    for (int number = 0; number < 21; number++)
        EXPECT_NE(GetCursorHandle(number), nullptr) << number;
    EXPECT_EQ(GetCursorHandle(21), nullptr);
    EXPECT_EQ(GetCursorHandle(-1), nullptr);
    EXPECT_EQ(GetCursorHandle(0), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(GetCursorHandle(11), LoadCursorA(nullptr, IDC_SIZEWE));
}

TEST(SIdentifiants, NamesMapToNumbersBothWays)
{
    SIdentifiants* names = GetIdentifiants();
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->GetCursorNames().GetCount(), 18);
    EXPECT_EQ(names->GetColorNames().GetCount(), 30);
    struct ColorCase
    {
        const char* name;
        int index;
    };
    const ColorCase colors[] = {{"MenuBar", 30}, {"ScrollBar", 0}, {"3DDkShadow", 21}, {"WindowText", 8}, {"InfoBk", 24}};
    for (const ColorCase& c : colors)
    {
        EXPECT_EQ(names->GetSystemColorIndex(c.name), c.index) << c.name;
        EXPECT_EQ(names->GetSystemColorName(c.index), SString(c.name));
    }
    EXPECT_EQ(names->GetSystemColorIndex("menubar"), -1);
    EXPECT_EQ(names->GetSystemColorName(25), SString(""));
    EXPECT_EQ(names->GetSystemColorName(-1), SString(""));
    EXPECT_EQ(names->GetCursorNumber("Zoom"), 20);
    EXPECT_EQ(names->GetCursorNumber("Wait"), 13);
    EXPECT_EQ(names->GetCursorNumber("Hand"), -1);
    EXPECT_EQ(names->GetCursorName(3), SString(""));
    EXPECT_EQ(names->GetCursorName(16), SString("Dropper"));
}
