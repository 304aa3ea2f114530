#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "SStringParser.h"

namespace
{

std::vector<std::string> Tokens(const SStringParser& parser)
{
    std::vector<std::string> tokens;
    for (int i = 0; i < parser.GetCount(); i++)
        tokens.push_back((const char*)parser.GetToken(i));
    return tokens;
}

} // namespace

TEST(SStringParser, SplitsAtSeparators)
{
    struct Case
    {
        const char* text;
        const char* separators;
        int flags;
        char quote;
        int result;
        std::vector<std::string> tokens;
    };
    const Case cases[] = {
        { "a;b;c", ";", 0, '"', 3, { "a", "b", "c" } },
        { "a;;b", ";", 0, '"', 3, { "a", "", "b" } },
        { "a;", ";", 0, '"', 2, { "a", "" } },
        { ";", ";", 0, '"', 2, { "", "" } },
        { "abc", "", 0, '"', 1, { "abc" } },
        { "x \"a;b\" y", ";", 1, '"', 1, { "x \"a;b\" y" } },
        { "x \"a;b\" y", ";", 0, '"', 2, { "x \"a", "b\" y" } },
        { "\"a;b", ";", 1, '"', -1, {} },
        { "a   b", " ", 0, '"', 2, { "a", "b" } },
        { " a", " ", 0, '"', 2, { "", "a" } },
        { "a  ", " ", 0, '"', 1, { "a" } },
        { "a , b", " ,", 0, '"', 3, { "a", "", "b" } },
        { "a ;b", " ;", 0, '"', 2, { "a", "b" } },
        { "a\t \tb", " \t", 0, '"', 2, { "a", "b" } },
        { "a\t \tb", " ", 0, '"', 2, { "a\t", "\tb" } },
        { " a , b ", ",", 8, '"', 2, { "a", "b" } },
        { "\ta ,b", ",", 8, '"', 2, { "\ta", "b" } },
        { "\"a\" c", " ", 7, '"', 2, { "a", "c" } },
        { "\"a b\" c", " ", 3, '"', 3, { "\"a ", "b\" ", "c" } },
        { "\"a b\" c", " ", 1, '"', 2, { "\"a b\"", "c" } },
        { "\"a\"b;c", ";", 3, '"', 3, { "\"a\"", "b", "c" } },
        { "a\r\nb", "\r\n", 0, '"', 3, { "a", "", "b" } },
        { "a\1b", "\1", 0, '"', 2, { "a", "b" } },
        { "a;b", ";", 1, ';', -1, {} },
        { "a b", ",", 9, ' ', -1, {} },
    };
    for (const Case& c : cases)
    {
        SStringParser parser(c.text);
        EXPECT_EQ(parser.Parse(c.separators, c.flags, c.quote), c.result) << c.text;
        EXPECT_EQ(Tokens(parser), c.tokens) << c.text;
    }
}

TEST(SStringParser, EmptyTextKeepsPreviousTokens)
{
    SStringParser parser("1;2");
    EXPECT_EQ(parser.Parse(";"), 2);
    EXPECT_EQ(parser.ParseText("", ";"), 0);
    EXPECT_EQ(Tokens(parser), (std::vector<std::string>{ "1", "2" }));
    EXPECT_EQ(parser.ParseText("x|y|z", "|"), 3);
    EXPECT_EQ(Tokens(parser), (std::vector<std::string>{ "x", "y", "z" }));
    SStringParser empty;
    EXPECT_EQ(empty.Parse(";"), 0);
    EXPECT_EQ(empty.CheckSettings(), 0);
    EXPECT_EQ(empty.GetCount(), 0);
}

TEST(SStringParser, TokensToCallerList)
{
    SStringParser parser("a,b");
    SStringArray out;
    out.Add("kept");
    EXPECT_EQ(parser.Parse(",", 0, '"', &out), 2);
    EXPECT_EQ(parser.GetCount(), 0);
    ASSERT_EQ(out.GetCount(), 3);
    EXPECT_STREQ(out.GetAt(2), "b");

    // An unclosed quote empties the parser; tokens already sent stay.
    SStringArray partial;
    EXPECT_EQ(parser.ParseText("a,\"b,c", ",", 1, '"', &partial), -1);
    EXPECT_EQ(partial.GetCount(), 1);
    EXPECT_EQ(parser.GetCount(), 0);
    EXPECT_FALSE(parser.IsQuote('"'));
}

TEST(SStringParser, TokenAccess)
{
    SStringParser parser;
    EXPECT_EQ(parser.ParseText("abc; 42 ;x;0", ";", 8), 4);
    EXPECT_EQ(parser.FindToken("ABC", false), 0);
    EXPECT_EQ(parser.FindToken("ABC", true), -1);
    EXPECT_EQ(parser.FindToken("x", true), 2);
    EXPECT_EQ(parser.GetTokenAsInt(1), 42);
    EXPECT_TRUE(parser.GetTokenAsBool(1));
    EXPECT_FALSE(parser.GetTokenAsBool(3));
    EXPECT_EQ(parser.GetTokenAsInt(4), 0);
    EXPECT_EQ(parser.GetTokenAsInt(-1), 0);
    EXPECT_STREQ(parser.GetToken(4), "");
    EXPECT_EQ(parser.GetTokenPtr(4), nullptr);
    ASSERT_NE(parser.GetTokenPtr(2), nullptr);
    EXPECT_STREQ(*parser.GetTokenPtr(2), "x");
    EXPECT_TRUE(parser.IsSeparator(';'));
    EXPECT_FALSE(parser.IsSeparator(0));
    EXPECT_FALSE(parser.IsQuote('"'));
    parser.Reset();
    EXPECT_EQ(parser.GetCount(), 0);
    EXPECT_FALSE(parser.IsSeparator(';'));
}

TEST(SStringParser, NextTokenWalksTheText)
{
    SStringParser parser("a|b");
    EXPECT_EQ(parser.Parse("|"), 2);
    parser.Reset();
    EXPECT_EQ(parser.Parse("|"), 2);
    SStringParser walker("ab");
    SString token("junk");
    EXPECT_EQ(walker.NextToken(token), 1);
    EXPECT_STREQ(token, "ab");
    EXPECT_EQ(walker.NextToken(token), 0);
    EXPECT_STREQ(token, "");
}

TEST(SStringParser, ListsOfParsersDeleteThem)
{
    SArray<SStringParser*> parsers;
    parsers.Add(new SStringParser("a b"));
    parsers.GetAt(0)->Parse(" ");
    EXPECT_EQ(parsers.GetAt(0)->GetCount(), 2);
    parsers.DestroyAll();
    EXPECT_EQ(parsers.GetCount(), 0);
}
