#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SString.h"

namespace
{
std::string Text(const SString& s)
{
    return std::string(s.GetBuffer() ? s.GetBuffer() : "", size_t(s.GetLength()));
}
}

TEST(SString, ConstructionAndCapacity)
{
    SString none;
    EXPECT_EQ(none.GetBuffer(), nullptr);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.GetCapacity(), 0);
    EXPECT_STREQ((const char*)none, "");
    EXPECT_EQ(none.GetAt(0), 0);

    SString empty("");
    ASSERT_NE(empty.GetBuffer(), nullptr);
    EXPECT_EQ(empty.GetCapacity(), 16);
    EXPECT_TRUE(empty.IsEmpty());

    SString fromNull((const char*)nullptr);
    EXPECT_NE(fromNull.GetBuffer(), nullptr);
    EXPECT_EQ(fromNull.GetLength(), 0);

    EXPECT_EQ(Text(SString(3)), "   ");
    EXPECT_EQ(SString(-2).GetLength(), 0);
    EXPECT_EQ(Text(SString(L"h\u00e9llo")), "h\xe9llo");
    EXPECT_EQ(SString((const wchar_t*)nullptr).GetLength(), 0);

    SString s("abc");
    s.Resize(15, true);
    EXPECT_EQ(s.GetCapacity(), 32);
    EXPECT_EQ(s.GetBuffer()[15], 0);
    s.Resize(3, true);
    EXPECT_EQ(s.GetCapacity(), 32);
    EXPECT_EQ(Text(s), "abc");
    s.Resize(14, true);
    EXPECT_EQ(s.GetCapacity(), 32);
    s.Empty();
    EXPECT_EQ(s.GetBuffer(), nullptr);
    EXPECT_EQ(s.GetCapacity(), 0);

    SString grown("ab");
    grown.SetLength(5, '-');
    EXPECT_EQ(Text(grown), "ab---");
}

TEST(SString, AssignmentCopiesTextButExtraValuesOnlyOnFullCopy)
{
    SString a("first");
    a.SetExtra1(7);
    a.SetExtra2(-9);
    SString b(a);
    EXPECT_EQ(Text(b), "first");
    EXPECT_EQ(b.GetExtra1(), 0);
    b.SetExtra1(3);
    b = SString("second");
    EXPECT_EQ(Text(b), "second");
    EXPECT_EQ(b.GetExtra1(), 3);
    b.Copy(a, false);
    EXPECT_EQ(Text(b), "first");
    EXPECT_EQ(b.GetExtra1(), 7);
    EXPECT_EQ(b.GetExtra2(), -9);

    SString c("x");
    c.AssignChar('q');
    EXPECT_EQ(Text(c), "q");
    c.AssignChar(0);
    EXPECT_EQ(c.GetLength(), 0);
    c.AssignChars("hello", 3);
    EXPECT_EQ(Text(c), "hel");
    c.SetText(nullptr);
    EXPECT_NE(c.GetBuffer(), nullptr);
    EXPECT_EQ(c.GetLength(), 0);

    // Assigning a part of the string's own text.
    SString self("0123456789abcdefghijklmnop");
    self = self.GetBuffer() + 20;
    EXPECT_EQ(Text(self), "klmnop");
    self.Append(self);
    EXPECT_EQ(Text(self), "klmnopklmnop");
}

TEST(SString, WideConversionRoundTrip)
{
    SString s("caf\xe9 \x80");
    wchar_t* wide = s.ToWide();
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::wstring(wide), std::wstring(L"caf\u00e9 \u20ac"));
    SString back;
    back.AssignWide(wide);
    delete[] wide;
    EXPECT_EQ(Text(back), "caf\xe9 \x80");
    EXPECT_EQ(SString().ToWide(), nullptr);
    back.FromWide(L"\u4e2d");
    EXPECT_EQ(Text(back), "?");
}

TEST(SString, AccessAndComparison)
{
    SString s("abcdef");
    s.SetAt(9, 'x');
    EXPECT_EQ(Text(s), "abcdef");
    s.SetAt(2, 0);
    EXPECT_EQ(Text(s), "ab");
    EXPECT_EQ(s.GetAt(2), 0);
    EXPECT_EQ(s.GetAt(-1), 0);

    struct Case { const char* left; const char* right; int compare; int noCase; };
    const Case cases[] = {
        {"abc", "abc", 0, 0}, {"abc", "ABC", 1, 0}, {"abc", "abd", -1, -1},
        {"", "a", -1, -1}, {"b", "", 1, 1}, {"Zeta", "alpha", -1, 1},
    };
    for (const Case& c : cases)
    {
        SString left(c.left);
        EXPECT_EQ(left.Compare(c.right), c.compare) << c.left << " " << c.right;
        EXPECT_EQ(left.CompareNoCase(c.right), c.noCase) << c.left << " " << c.right;
        EXPECT_EQ(left.IsEqual(c.right), c.compare == 0);
        EXPECT_EQ(left != c.right, c.compare != 0);
    }
    EXPECT_TRUE(SString() == "");
    EXPECT_TRUE(SString("a") == SString("a"));
    EXPECT_TRUE("a" != SString("b"));

    SString mixed("aB\xe9z");
    EXPECT_EQ(Text(mixed.ToUpper()), "AB\xe9Z");
    EXPECT_EQ(Text(mixed.ToLower()), "ab\xe9z");
    EXPECT_EQ(Text(mixed), "aB\xe9z");
}

TEST(SString, Search)
{
    SString s("abcdefabc");
    struct Case { int found; int expected; };
    const Case cases[] = {
        {s.FindChar('c'), 2},
        {s.FindChar('c', 3), 8},
        {s.FindChar('c', 3, 4), -1},
        {s.FindChar('a', 9), -1},
        {s.FindChar('a', -5, 1), 0},
        {s.FindNot('a'), 1},
        {SString("aaa").FindNot('a'), -1},
        {s.Find("cd", 0, -1, true), 4},
        {s.Find("cd"), 2},
        {s.Find(""), -1},
        {s.Find("abc", 1), 6},
        {s.Find("abc", 1, 7), -1},
        {s.Find("abcdefabcX"), -1},
        {s.FindNoCase("DEF"), 3},
        {s.FindNoCase("ABC", 2), 6},
        {s.ReverseFind('a'), 6},
        {s.ReverseFind('a', 5), 0},
        {s.ReverseFind('a', 9), -1},
        {s.ReverseFind('z'), -1},
        {SString("abcdef").ReverseFindAny(-1, 2, 'a', 'f'), 0},
        {SString("abcdef").ReverseFindAny(-1, 2, 'z', 'f'), 5},
        {SString("abcdef").ReverseFindAny(-1, 2, 'z', 'y'), -1},
        {SString().FindChar('a'), -1},
        {SString().Find("a"), -1},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        EXPECT_EQ(cases[i].found, cases[i].expected) << "case " << i;
}

TEST(SString, SubStrings)
{
    SString s("abcdef");
    struct Case { SString result; const char* expected; };
    const Case cases[] = {
        {s.Left(2), "ab"}, {s.Left(0), ""}, {s.Left(99), "abcdef"},
        {s.Right(2), "ef"}, {s.Right(-1), ""}, {s.Right(6), "abcdef"},
        {s.Mid(-3, 2), "ab"}, {s.Mid(6, 1), ""}, {s.Mid(4), "ef"}, {s.Mid(2, 99), "cdef"},
        {s.Substring(1, 3), "bc"}, {s.Substring(3, 3), ""}, {s.Substring(-2, 2), "ab"},
        {SString("key=value=x").AfterChar('='), "value=x"},
        {SString("key=value").BeforeChar('='), "key"},
        {SString("key").BeforeChar('='), ""}, {SString("key").AfterChar('='), ""},
        {SString("a|b").BeforeCharOrAll('|'), "a"}, {SString("ab").BeforeCharOrAll('|'), "ab"},
        {s.Concat("gh"), "abcdefgh"}, {SString().Concat("x"), "x"},
        {s + "!", "abcdef!"}, {"<" + s, "<abcdef"}, {s + s, "abcdefabcdef"}, {s + 'z', "abcdefz"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        EXPECT_EQ(Text(cases[i].result), cases[i].expected) << "case " << i;
}

TEST(SString, Editing)
{
    SString s("abcdef");
    EXPECT_EQ(s.Delete(1, 2), 2);
    EXPECT_EQ(Text(s), "adef");
    EXPECT_EQ(s.Delete(4), 0);
    EXPECT_EQ(s.Delete(2, -1), 2);
    EXPECT_EQ(Text(s), "ad");

    s.InsertChar('-', 1, 3);
    EXPECT_EQ(Text(s), "a---d");
    s.InsertChar('!', -1);
    EXPECT_EQ(Text(s), "a---d!");
    s.InsertChar('x', 99);
    s.InsertChar('x', 0, 0);
    EXPECT_EQ(Text(s), "a---d!");

    SString t("ad");
    t.Insert("xy", 1, 2);
    EXPECT_EQ(Text(t), "axyxyd");
    t.Insert("", 0);
    t.Insert("q", 7);
    EXPECT_EQ(Text(t), "axyxyd");
    t.Insert("<", 0);
    t.Insert(">", -1);
    EXPECT_EQ(Text(t), "<axyxyd>");

    SString r("abcdef");
    EXPECT_TRUE(r.ReplaceRange("XY", 6, 0));
    EXPECT_EQ(Text(r), "abcdefXY");
    EXPECT_TRUE(r.ReplaceRange("-", 1, 4));
    EXPECT_EQ(Text(r), "a-fXY");
    EXPECT_FALSE(r.ReplaceRange("-", 9, 1));
    EXPECT_TRUE(r.ReplaceRange("long text here", 0, -1));
    EXPECT_EQ(Text(r), "long text here");

    SString c("a.b.c");
    EXPECT_EQ(c.ReplaceChar('.', '/'), 2);
    EXPECT_EQ(Text(c), "a/b/c");
    EXPECT_EQ(c.ReplaceChar('/', 0), 1);
    EXPECT_EQ(Text(c), "a");
}

TEST(SString, EditingWithItsOwnText)
{
    SString inserted("abc");
    inserted.Insert(inserted.GetBuffer() + 1, 0, 2);
    EXPECT_EQ(Text(inserted), "bcbcabc");

    SString doubled("hello");
    EXPECT_TRUE(doubled.ReplaceRange(doubled.GetBuffer(), 5, 0));
    EXPECT_EQ(Text(doubled), "hellohello");

    SString replaced("aXa");
    EXPECT_EQ(replaced.Replace(replaced.GetBuffer() + 1, "-"), 1);
    EXPECT_EQ(Text(replaced), "a-");

    SString appended("0123456789abcdef");
    appended.AppendChained(appended.GetBuffer() + 10).Append(appended);
    EXPECT_EQ(Text(appended), "0123456789abcdefabcdef0123456789abcdefabcdef");
}

TEST(SString, Replace)
{
    struct Case { const char* text; const char* from; const char* to; int start; int count; bool matchCase; const char* expected; int replaced; };
    const Case cases[] = {
        {"aXa", "a", "aa", 0, -1, true, "aaXaa", 2},
        {"aXa", "", "b", 0, -1, true, "aXa", 0},
        {"Hello hello", "hello", "bye", 0, -1, true, "Hello bye", 1},
        {"Hello hello", "HELLO", "bye", 0, -1, false, "bye bye", 2},
        {"aaaa", "a", "", 0, -1, true, "", 4},
        {"aaaa", "a", "b", 1, 2, true, "abba", 2},
        {"abab", "ab", "abab", 0, 2, true, "ababab", 1},
        {"x", "x", "y", 5, -1, true, "x", 0},
    };
    for (const Case& c : cases)
    {
        SString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to, c.start, c.count, c.matchCase), c.replaced) << c.text;
        EXPECT_EQ(Text(s), c.expected) << c.text;
    }
}

TEST(SString, TrimAndQuotes)
{
    SString s("ab \t ");
    EXPECT_EQ(s.TrimRight(-1, true), 1);
    EXPECT_EQ(Text(s), "ab \t");
    s = "ab \t ";
    EXPECT_EQ(s.TrimRight(-1, false), 3);
    EXPECT_EQ(Text(s), "ab");

    SString both(" \tx y\t ");
    EXPECT_EQ(both.Trim(), 2);
    EXPECT_EQ(Text(both), "x y");

    SString counted("abcdef");
    EXPECT_EQ(counted.TrimLeft(2), 0);
    EXPECT_EQ(counted.TrimRight(1), 0);
    EXPECT_EQ(Text(counted), "cde");
    EXPECT_EQ(counted.TrimRight(10), 0);
    EXPECT_EQ(counted.GetLength(), 0);
    SString untouched(" a ");
    EXPECT_EQ(untouched.Trim(0, 0), 0);
    EXPECT_EQ(Text(untouched), " a ");

    struct Case { const char* text; bool quoted; const char* unquoted; };
    const Case cases[] = {
        {"\"abc\"", true, "abc"}, {"\"\"", true, ""}, {"\"", false, "\""},
        {"\"a\"b\"", false, "\"a\"b\""}, {"abc", false, "abc"}, {"\"abc", false, "\"abc"},
    };
    for (const Case& c : cases)
    {
        SString q(c.text);
        EXPECT_EQ(q.IsQuoted('"'), c.quoted) << c.text;
        EXPECT_EQ(q.Unquote('"'), c.quoted) << c.text;
        EXPECT_EQ(Text(q), c.unquoted) << c.text;
    }
}

TEST(SString, LinesAndWords)
{
    EXPECT_EQ(SString("a\nb").CountLines(), 1);
    EXPECT_EQ(SString("a\r\nb\r\n").CountLines(), 3);
    EXPECT_EQ(SString().CountLines(), 1);

    struct LineCase { const char* text; int start; const char* line; int next; };
    const LineCase lines[] = {
        {"a\r\nb", 0, "a", 3}, {"a\rb", 0, "a", 2}, {"a\nb", 0, "a", 2},
        {"a\r\nb", 3, "b", 4}, {"a\r\n", 3, "", 3}, {"\n\n", 0, "", 1}, {"ab", 7, "", 2},
    };
    for (const LineCase& c : lines)
    {
        int next = -7;
        EXPECT_EQ(Text(SString(c.text).GetLine(c.start, &next)), c.line) << c.text;
        EXPECT_EQ(next, c.next) << c.text;
    }
    int untouched = 42;
    EXPECT_EQ(SString("abc").GetLine(-1, &untouched).GetLength(), 0);
    EXPECT_EQ(untouched, 42);
    EXPECT_EQ(SString("ab\r\nabcd\rx").GetMaxLineLength(), 4);

    struct WordCase { int start; bool keep; const char* word; int next; };
    const WordCase words[] = {
        {2, false, "cd", 6}, {2, true, "  ", 4}, {1, false, "b", 2}, {0, false, "ab", 2},
        {6, false, "", 6}, {9, false, "", 9},
    };
    SString text("ab  cd");
    for (const WordCase& c : words)
    {
        int next = -7;
        EXPECT_EQ(Text(text.GetWord(c.start, &next, c.keep)), c.word) << c.start;
        EXPECT_EQ(next, c.next) << c.start;
    }
    int next = -7;
    EXPECT_EQ(Text(SString("a\t\r\n").GetWord(1, &next, false)), "");
    EXPECT_EQ(next, 4);
}

TEST(SString, Format)
{
    SString s;
    s.Format("%s-%d-%05.1f-%c-%%", "ab", -12, 3.14159, 'z');
    EXPECT_EQ(Text(s), "ab--12-003.1-z-%");
    EXPECT_EQ(s.Format("%I64u", (unsigned long long)18446744073709551615ull).GetLength(), 20);
    EXPECT_EQ(Text(s), "18446744073709551615");

    // Long outputs and widths taken from the arguments must never be cut.
    std::string big(5000, 'q');
    s.Format("[%s|%*d]", big.c_str(), 300, 7);
    EXPECT_EQ(s.GetLength(), 5000 + 300 + 3);
    EXPECT_EQ(s.GetAt(5000 + 300 + 1), '7');
    s.Format("%f", 1e300);
    EXPECT_EQ(s.GetLength(), 301 + 7);

    // Formatting the string's own text into itself.
    SString self("abc");
    self.Format("%s%s%s%s%s%s", self.GetBuffer(), self.GetBuffer(), self.GetBuffer(), self.GetBuffer(),
                self.GetBuffer(), self.GetBuffer());
    EXPECT_EQ(Text(self), "abcabcabcabcabcabc");

    EXPECT_EQ(Text(IntToString(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(Text(UIntToString(4294967295u)), "4294967295");
    EXPECT_EQ(Text(UInt64ToString(1234567890123ull)), "1234567890123");
    EXPECT_EQ(Text(SString().FormatInt(5)), "5");
    EXPECT_EQ(Text(SString().FormatUInt(7u)), "7");
    EXPECT_EQ(Text(SString("x").Format(nullptr)), "");
}

TEST(SString, AlignTextExamples)
{
    struct Case { const char* text; int align; int width; bool wrap; const char* expected; };
    const Case cases[] = {
        {"ab", 1, 6, false, "  ab  "},
        {"abc", 1, 6, false, " abc  "},
        {"abcdef", 2, 4, false, "abcd"},
        {"ab", 2, 4, false, "  ab"},
        {"aa b c dd", 3, 7, true, "aa  b c\r\ndd     "},
        {"aa b c dd", 0, 7, true, "aa b c \r\ndd     "},
        {"aa b c dd", 0, 7, false, "aa b c "},
        {"ab\r\n\r\ncd", 0, 3, false, "ab \r\n   \r\ncd "},
        {"  ab  ", 0, 3, false, "ab "},
        {"a\tb", 0, 6, false, "a    b"},
        {"abcdefgh", 0, 3, true, "abc\r\ndef\r\ngh "},
        {"one two\r\nx", 0, -1, true, "one two\r\nx      "},
        {"a b", 3, 5, true, "a b  "},
        {"ab cd", 3, 2, true, "ab\r\ncd"},
    };
    for (const Case& c : cases)
    {
        SString s(c.text);
        s.AlignText(c.align, c.width, c.wrap);
        EXPECT_EQ(Text(s), c.expected) << c.text << " / " << c.align << " / " << c.width;
    }
    SString empty("");
    empty.AlignText(0, 0, true);
    EXPECT_EQ(empty.GetLength(), 0);
    SString shortcuts("ab");
    shortcuts.AlignCenter(4, false);
    EXPECT_EQ(Text(shortcuts), " ab ");
    shortcuts = "ab";
    shortcuts.AlignRight(3, false);
    EXPECT_EQ(Text(shortcuts), " ab");
    shortcuts = "a b c";
    shortcuts.Justify(3, true);
    EXPECT_EQ(Text(shortcuts), "a b\r\nc  ");
}

TEST(SString, AlignTextWrapKeepsIndentedText)
{
    // Leading blanks and tabs must neither repeat nor lose text when a line wraps.
    struct Case { const char* text; int width; const char* expected; };
    const Case cases[] = {
        {"   abc def ghi", 7, "abc def\r\nghi    "},
        {"\tone two three", 8, "    one \r\ntwo     \r\nthree   "},
        {"  \t  alpha beta", 10, "      alph\r\na beta    "},
        {"x\ty zz", 6, "x    y\r\nzz    "},
    };
    for (const Case& c : cases)
    {
        SString s(c.text);
        s.AlignText(0, c.width, true);
        EXPECT_EQ(Text(s), c.expected) << c.text;
        // Every output line has exactly the width.
        int start = 0;
        while (start < s.GetLength())
        {
            int next = 0;
            EXPECT_EQ(s.GetLine(start, &next).GetLength(), c.width) << c.text;
            start = next;
        }
    }
}
