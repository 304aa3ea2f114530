#include <gtest/gtest.h>
#include <wchar.h>
#include "SString.h"
#include "SUniString.h"

TEST(SUniString, CapacityGrowsInStepsOf24AndNeverShrinks)
{
    SUniString none;
    EXPECT_EQ(nullptr, none.GetBuffer());
    EXPECT_EQ(0, none.GetCapacity());
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_STREQ(L"", static_cast<const wchar_t*>(none));

    SUniString text(L"");
    ASSERT_NE(nullptr, text.GetBuffer());
    EXPECT_EQ(24, text.GetCapacity());
    EXPECT_EQ(0, text.GetLength());

    struct Case { int length; int capacity; };
    const Case cases[] = { { 22, 24 }, { 23, 48 }, { 46, 48 }, { 47, 72 }, { 3, 72 }, { -5, 72 } };
    for (const Case& c : cases)
    {
        ASSERT_NE(nullptr, text.Resize(c.length, true)) << c.length;
        EXPECT_EQ(c.capacity, text.GetCapacity()) << c.length;
        EXPECT_EQ(c.length < 0 ? 0 : c.length, text.GetLength()) << c.length;
        EXPECT_EQ(0, text.GetBuffer()[text.GetLength()]) << c.length;
    }
    EXPECT_EQ(nullptr, text.Resize(0x7FFFFFFF, true));
    EXPECT_EQ(72, text.GetCapacity());
    text.Empty();
    EXPECT_EQ(nullptr, text.GetBuffer());
    EXPECT_EQ(0, text.GetCapacity());
}

TEST(SUniString, SetTextAndSetLength)
{
    SUniString text;
    text.SetText(L"abcdef", 2);
    EXPECT_STREQ(L"ab", text.GetBuffer());
    EXPECT_EQ(2, text.GetLength());

    text.SetLength(5, L'x');
    EXPECT_STREQ(L"abxxx", text.GetBuffer());
    text.SetLength(1);
    EXPECT_STREQ(L"a", text.GetBuffer());

    // A null text empties the string but keeps its buffer.
    text.SetText(nullptr, -1);
    EXPECT_EQ(0, text.GetLength());
    EXPECT_EQ(24, text.GetCapacity());

    // Assigning part of its own text.
    text = L"hello world";
    text.SetText(text.GetBuffer() + 6, -1);
    EXPECT_STREQ(L"world", text.GetBuffer());
    EXPECT_EQ(L'w', text.GetAt(0));
    EXPECT_EQ(0, text.GetAt(5));
    EXPECT_EQ(0, text.GetAt(-1));
}

TEST(SUniString, CopyCarriesExtraValuesOnlyWhenAsked)
{
    SUniString source(L"abc");
    source.SetExtra1(7);
    source.SetExtra2(-9);

    SUniString byConstructor(source);
    EXPECT_STREQ(L"abc", byConstructor.GetBuffer());
    EXPECT_EQ(0, byConstructor.GetExtra1());

    SUniString textOnly;
    textOnly.AssignString(source);
    EXPECT_EQ(0, textOnly.GetExtra2());

    SUniString full;
    full.Copy(source, false);
    EXPECT_STREQ(L"abc", full.GetBuffer());
    EXPECT_EQ(7, full.GetExtra1());
    EXPECT_EQ(-9, full.GetExtra2());

    // A string without buffer copies as the empty text.
    SUniString none;
    full.Copy(none, true);
    ASSERT_NE(nullptr, full.GetBuffer());
    EXPECT_EQ(0, full.GetLength());
    EXPECT_EQ(7, full.GetExtra1());
}

TEST(SUniString, FromAnsiRoundTripsThroughTheCodePage)
{
    SUniString abc("abc");
    EXPECT_EQ(3, abc.GetLength());
    EXPECT_STREQ(L"abc", abc.GetBuffer());

    SUniString empty("");
    ASSERT_NE(nullptr, empty.GetBuffer());
    EXPECT_EQ(0, empty.GetLength());

    SUniString null(static_cast<const char*>(nullptr));
    ASSERT_NE(nullptr, null.GetBuffer());
    EXPECT_EQ(0, null.GetLength());

    // Every byte above 0x7F of the single-byte code page comes back unchanged.
    char high[129];
    for (int i = 0; i < 128; ++i)
        high[i] = static_cast<char>(0x80 + i);
    high[128] = 0;
    SUniString wide(high);
    EXPECT_EQ(128, wide.GetLength());
    EXPECT_EQ(L'\x00E9', wide.GetAt(0xE9 - 0x80));
    SString back(wide.GetBuffer());
    EXPECT_STREQ(high, back);
}
