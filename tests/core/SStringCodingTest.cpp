#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "SString.h"

namespace
{
std::string Text(const SString& s)
{
    return std::string(s.GetBuffer() ? s.GetBuffer() : "", size_t(s.GetLength()));
}
}

TEST(SStringCoding, UrlEncode)
{
    struct Case { const char* text; bool plus; const char* expected; };
    const Case cases[] = {
        {"a b&c", true, "a+b%26c"},
        {"a b&c", false, "a%20b%26c"},
        {"A-z_0.9", false, "A-z_0%2E9"},
        {"\xe9\xff\x80", true, "%E9%FF%80"},
        {"", true, ""},
    };
    for (const Case& c : cases)
    {
        SString s(c.text);
        EXPECT_EQ(Text(s.UrlEncode(c.plus)), c.expected) << c.text;
    }
}

TEST(SStringCoding, UrlDecode)
{
    struct Case { const char* text; bool plus; const char* expected; };
    const Case cases[] = {
        {"a+b%41", true, "a bA"},
        {"a+b%41", false, "a+bA"},
        {"x%4", true, "x"},
        {"x%", true, "x"},
        {"%zz", true, "\x53"},
        {"%e9%E9", false, "\xe9\xe9"},
        {"ab%00cd", false, "ab"},
        {"", true, ""},
    };
    for (const Case& c : cases)
    {
        SString s(c.text);
        EXPECT_EQ(Text(s.UrlDecode(c.plus)), c.expected) << c.text;
    }

    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all += char(byte);
    SString round(all.c_str());
    round.UrlEncode(true).UrlDecode(true);
    EXPECT_EQ(Text(round), all);
}

TEST(SStringCoding, Base64)
{
    struct Case { const char* plain; const char* coded; };
    const Case cases[] = {
        {"abc", "YWJj="}, {"ab", "YWI="}, {"a", "YQ="}, {"Man is", "TWFuIGlz="},
        {"\xfb\xff", "+/8="},
    };
    for (const Case& c : cases)
    {
        SString s(c.plain);
        EXPECT_EQ(Text(s.Base64Encode()), c.coded) << c.plain;
        EXPECT_EQ(Text(s.Base64Decode()), c.plain) << c.coded;
    }

    SString empty("");
    EXPECT_EQ(Text(empty.Base64Encode()), "");
    SString closing("=");
    EXPECT_EQ(Text(closing.Base64Decode()), "");

    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all += char(byte);
    for (size_t length = 1; length < all.size(); length += 37)
    {
        SString s(all.substr(all.size() - length).c_str());
        s.Base64Encode().Base64Decode();
        EXPECT_EQ(Text(s), all.substr(all.size() - length)) << length;
    }
}

TEST(SStringCoding, Base64DamagedInput)
{
    // The last character is never read, foreign characters carry no bits
    // and a decoded zero ends the text.
    struct Case { const char* coded; const char* plain; };
    const Case cases[] = {
        {"YW\r\nJj=", "abc"}, {"Y", ""}, {"YWJj", "ab"}, {"YQ==", "a"}, {"AAAA=", ""}, {"YQBi=", "a"}, {"!!!", ""},
    };
    for (const Case& c : cases)
    {
        SString s(c.coded);
        EXPECT_EQ(Text(s.Base64Decode()), c.plain) << c.coded;
    }
}

TEST(SStringCoding, FromReal)
{
    struct Case { double x; bool keep; const char* expected; };
    const Case cases[] = {
        {2.5, false, "2.5"}, {3.0, false, "3"}, {3.0, true, "3.0"}, {0.0001, false, "0.0001"},
        {-12.25, false, "-12.25"}, {100.0, false, "100"}, {0.0, true, "0.0"}, {1e-9, false, "0"},
    };
    for (const Case& c : cases)
    {
        SString s("old");
        EXPECT_EQ(Text(s.FromReal(c.x, c.keep)), c.expected) << c.x;
    }
}

TEST(SStringCoding, NumericTests)
{
    struct Case { const char* text; bool number; bool integer; };
    const Case cases[] = {
        {" 12.5 ", true, false}, {"-3", true, true}, {" -3", false, false}, {"1.2.3", false, false},
        {"-", false, false}, {"", false, false}, {" \t ", false, false}, {".5", true, false},
        {"-.5", true, false}, {"5.", false, false}, {"\t42\t", true, true}, {"+4", false, false},
        {"1e5", false, false}, {"4 2", false, false}, {"5-", false, false},
    };
    for (const Case& c : cases)
    {
        SString s(c.text);
        EXPECT_EQ(s.IsNumber(), c.number) << "'" << c.text << "'";
        EXPECT_EQ(s.IsInteger(), c.integer) << "'" << c.text << "'";
    }
    EXPECT_FALSE(SString().IsNumber());
}

TEST(SStringCoding, HexToInt64)
{
    struct Case { const char* text; uint64_t value; };
    const Case cases[] = {
        {"#FF", 255}, {"ff", 255}, {"0x10", 16}, {"0X1a", 26}, {"0A", 10}, {"#", 0}, {"0x", 0},
        {"", 0}, {"FFFFFFFFFFFFFFFF", UINT64_MAX}, {"FFFFFFFFFFFFFFFFF", 0}, {"12G", 0},
        {"#0123456789abcdef", 0x0123456789abcdefull}, {"0x 1", 0}, {"-1", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SString(c.text).HexToInt64(), c.value) << c.text;
    EXPECT_EQ(SString().HexToInt64(), 0u);
}

TEST(SStringCoding, RemoveLeadingNumber)
{
    struct Case { const char* text; const char* expected; };
    const Case cases[] = {
        {"01 - Title", "Title"}, {"3. Song", "Song"}, {"12_Intro", "Intro"}, {"2024", "2024"},
        {"Title 1", "Title 1"}, {"7 ", "7 "}, {"7 - .", "7 - ."}, {"", ""}, {"5x-y", "y"},
    };
    for (const Case& c : cases)
    {
        SString s(c.text);
        EXPECT_EQ(Text(s.RemoveLeadingNumber()), c.expected) << c.text;
    }
}

TEST(SStringCoding, AbsInt)
{
    struct Case { int n; int expected; };
    const Case cases[] = {{5, 5}, {-5, 5}, {0, 0}, {2147483647, 2147483647}, {-2147483647 - 1, 2147483647}};
    for (const Case& c : cases)
        EXPECT_EQ(AbsInt(c.n), c.expected) << c.n;
}
