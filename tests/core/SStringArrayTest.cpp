#include <gtest/gtest.h>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>
#include "SStringArray.h"

namespace
{

void Fill(SStringArray& list, std::initializer_list<const char*> texts)
{
    list.RemoveAll();
    for (const char* text : texts)
        list.Add(text);
}

std::vector<std::string> Texts(const SStringArray& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); i++)
        texts.push_back((const char*)list.GetAt(i));
    return texts;
}

} // namespace

TEST(SStringArray, AddStoresIndependentCopies)
{
    SStringArray list;
    SString source("b");
    EXPECT_EQ(list.Add(source), 0);
    EXPECT_EQ(list.Add("a", 0), 0);
    source.Assign("changed");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{ "a", "b" }));
    EXPECT_EQ(list.Add("x", 1, 2), 1);
    EXPECT_EQ(list.Add("y", 1, 0), -1);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{ "a", "x", "x", "b" }));
    EXPECT_NE(list.GetString(1), list.GetString(2));
    list.SetAt(1, "q");
    list.SetAt(9, "ignored");
    EXPECT_STREQ(list.GetAt(1), "q");
    EXPECT_STREQ(list.GetAt(2), "x");
    EXPECT_STREQ(list.GetAt(4), "");
    EXPECT_STREQ(list.GetAt(-1), "");
    EXPECT_STREQ(list.GetFirst(), "a");
    EXPECT_EQ(list.GetString(4), nullptr);
    EXPECT_EQ(list.Add(nullptr), 4);
    EXPECT_STREQ(list.GetAt(4), "");
}

TEST(SStringArray, CaseFlagSteersSearchAndOrder)
{
    SStringArray list;
    Fill(list, { "a", "c" });
    EXPECT_EQ(list.InsertSorted("B"), 0);
    Fill(list, { "a", "c" });
    list.AddFlags(0x10000);
    EXPECT_EQ(list.InsertSorted("B"), 1);
    EXPECT_EQ(list.FindSorted("C"), 2);

    SStringArray names;
    Fill(names, { "abc" });
    EXPECT_EQ(names.Find("ABC"), -1);
    names.AddFlags(0x10000);
    EXPECT_EQ(names.Find("ABC"), 0);
    EXPECT_EQ(names.Find("ABC", 1), -1);

    SStringArray sorted;
    Fill(sorted, { "b", "A", "c" });
    sorted.AddFlags(1 | 0x10000);
    sorted.Sort();
    EXPECT_EQ(Texts(sorted), (std::vector<std::string>{ "c", "b", "A" }));
    sorted.InsertSorted("B2");
    EXPECT_EQ(Texts(sorted), (std::vector<std::string>{ "c", "B2", "b", "A" }));

    SStringArray plain;
    Fill(plain, { "b", "a", "B" });
    plain.Sort();
    EXPECT_EQ(Texts(plain), (std::vector<std::string>{ "B", "a", "b" }));
}

TEST(SStringArray, RemoveDeletesMatchingTexts)
{
    SStringArray files;
    files.AddFlags(0x10000);
    Fill(files, { "Update.exe", "a.txt", "UPDATE.EXE", "update.Exe" });
    EXPECT_EQ(files.Remove("update.exe", 1), 2);
    EXPECT_EQ(Texts(files), (std::vector<std::string>{ "Update.exe", "a.txt" }));
    EXPECT_EQ(files.Remove("update.exe", 5), 0);
    EXPECT_EQ(files.Remove("uPdate.exe"), 1);
    EXPECT_EQ(Texts(files), (std::vector<std::string>{ "a.txt" }));

    SStringArray exact;
    Fill(exact, { "x", "X", "x" });
    EXPECT_EQ(exact.Remove("x"), 2);
    EXPECT_EQ(Texts(exact), (std::vector<std::string>{ "X" }));
}

TEST(SStringArray, WildcardMatch)
{
    struct Case
    {
        const char* text;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        { "abbc", "*bc", true },  { "abd", "*bc", false },   { "ac", "a*c", true },
        { "abc", "a?c", true },   { "ac", "a?c", false },    { "", "", true },
        { "a", "", false },       { "", "*", true },         { "abc", "*", true },
        { "bcbc", "*bc", true },  { "abcab", "*bc", false }, { "abcbcx", "a*bc*x", true },
        { "mississippi", "m*iss*ppi", true }, { "mississippi", "m*iss*ppx", false },
        { "ab", "a?*", true },    { "a", "a?*", false },     { "Abc", "abc", false },
        { "abc", "abcd", false }, { "abcd", "abc", false },  { "a*c", "a*c", true },
    };
    for (const Case& c : cases)
        EXPECT_EQ(SStringArray::MatchPattern(c.text, c.pattern, '*', '?'), c.match)
            << c.text << " / " << c.pattern;

    SStringArray list;
    Fill(list, { "abc", "xab", "ab" });
    SArray<int> found;
    found.Add(99);
    EXPECT_EQ(list.FindMatches("ab\1", &found, 1, 2), 2);
    ASSERT_EQ(found.GetCount(), 3);
    EXPECT_EQ(found.GetAt(1), 0);
    EXPECT_EQ(found.GetAt(2), 2);
    EXPECT_EQ(list.FindMatches("\2ab", nullptr, 1, 2), 1);
    EXPECT_EQ(list.FindMatches("*", nullptr, 1, 2), 0);
}

TEST(SStringArray, JoinRanges)
{
    struct Case
    {
        int start, count;
        const char* result;
    };
    const Case cases[] = {
        { 1, -1, "b, c" }, { 3, 1, "" }, { 0, 0, "" }, { 2, 5, "c" },
        { 0, -1, "a, b, c" }, { -1, 2, "" }, { 0, 2, "a, b" },
    };
    SStringArray list;
    Fill(list, { "a", "b", "c" });
    for (const Case& c : cases)
        EXPECT_STREQ(list.Join(", ", c.start, c.count), c.result) << c.start << "," << c.count;
    EXPECT_STREQ(SStringArray().Join(", "), "");
}

TEST(SStringArray, TextFormRoundTrips)
{
    SStringArray list;
    Fill(list, { "abc", "?>?~ and more" });
    EXPECT_STREQ(list.FormatElement(list.GetPtr(0)), "YWJj=");
    for (int i = 0; i < list.GetCount(); i++)
    {
        SString text = list.FormatElement(list.GetPtr(i));
        SString* parsed = nullptr;
        list.ParseElement(&parsed, text);
        ASSERT_NE(parsed, nullptr);
        EXPECT_STREQ(*parsed, list.GetAt(i));
        delete parsed;
    }
    // Texts that the encoder never writes still give a string, never a crash.
    for (const char* damaged : std::initializer_list<const char*>{ "", "=", "!!", "YW\x01Jj", nullptr })
    {
        SString* parsed = nullptr;
        list.ParseElement(&parsed, damaged);
        ASSERT_NE(parsed, nullptr);
        EXPECT_LE(parsed->GetLength(), 4);
        delete parsed;
    }
}

TEST(SStringArray, CopiesAreDeep)
{
    SStringArray source;
    Fill(source, { "one", "two" });
    source.AddFlags(0x10000);
    source.GetString(0)->SetExtra1(7);

    SStringArray copy(source);
    EXPECT_EQ(Texts(copy), Texts(source));
    EXPECT_EQ(copy.GetFlags(), 0x10000);
    EXPECT_EQ(copy.GetString(0)->GetExtra1(), 7);
    EXPECT_NE(copy.GetString(0), source.GetString(0));
    source.SetAt(0, "changed");
    EXPECT_STREQ(copy.GetAt(0), "one");

    SStringArray assigned;
    Fill(assigned, { "old" });
    assigned.AssignFrom(source);
    EXPECT_EQ(Texts(assigned), (std::vector<std::string>{ "changed", "two" }));
    EXPECT_EQ(assigned.GetString(0)->GetExtra1(), 0);
    assigned.AssignFrom(assigned);
    EXPECT_EQ(assigned.GetCount(), 2);

    SStringArray inserted;
    inserted.InsertArray(&source, 0);
    EXPECT_EQ(inserted.GetString(0)->GetExtra1(), 7);
    EXPECT_NE(inserted.GetString(0), source.GetString(0));

    SStringArray appended;
    SStringArray minus;
    Fill(minus, { "two" });
    EXPECT_EQ(appended.AppendDifference(source, minus), 1);
    EXPECT_EQ(Texts(appended), (std::vector<std::string>{ "changed" }));
    EXPECT_NE(appended.GetString(0), source.GetString(0));

    copy = source;
    EXPECT_EQ(Texts(copy), (std::vector<std::string>{ "changed", "two" }));
}

TEST(SStringArray, DeleteOperationsLeaveAUsableList)
{
    SStringArray list;
    Fill(list, { "a", "b", "c" });
    list.DeleteAt(1, 1);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetString(1), nullptr);
    EXPECT_STREQ(list.GetAt(1), "");
    list.Sort();
    EXPECT_EQ(Texts(list), (std::vector<std::string>{ "", "a", "c" }));
    EXPECT_STREQ(list.Join("-"), "-a-c");
    list.SetAt(0, "z");
    EXPECT_STREQ(list.GetAt(0), "z");
    list.DeleteAndRemoveAt(0, -1);
    EXPECT_EQ(list.GetCount(), 0);
    Fill(list, { "q" });
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(SStringArray, ShuffleMovesTheSameStrings)
{
    srand(3);
    SStringArray list;
    std::vector<SString*> before;
    for (int i = 0; i < 12; i++)
    {
        list.Add(IntToString(i));
        before.push_back(list.GetString(i));
    }
    list.Shuffle();
    std::vector<SString*> after;
    for (int i = 0; i < list.GetCount(); i++)
        after.push_back(list.GetString(i));
    EXPECT_NE(after, before);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
}
