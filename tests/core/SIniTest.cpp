#include <gtest/gtest.h>

#include <string>

#include "SFileMem.h"
#include "SFileTestSupport.h"
#include "SIni.h"

namespace
{
using file_test::Content;

// An SIni working on a memory copy of text.
bool OpenText(SIni& ini, const std::string& text)
{
    SFileMem source;
    source.Allocate(0);
    source.Write(text.data(), static_cast<int>(text.size()));
    source.Rewind();
    return ini.OpenMemory(&source);
}

std::string ReadFileText(const std::string& path)
{
    if (!file_test::PathExists(path))
        return "(missing)";
    return file_test::ReadFileBytes(path);
}
}

TEST(SIni, LookupFollowsTheLineRules)
{
    SIni ini;
    ASSERT_TRUE(OpenText(ini, "top=ignored\r\n"
                              "[Main]\r\n"
                              "name=Alpha\r\n"
                              "key = spaced\r\n"
                              "x\r\n"
                              "Empty=\r\n"
                              "  [ Other ]  \r\n"
                              "only=1\r\n"
                              "[main]\r\n"
                              "name=Second\r\n"
                              "[Flags]\r\n"
                              "on=1\r\n"
                              "word=true\r\n"
                              "number=42\r\n"
                              "bad=x7"));
    EXPECT_TRUE(ini.IsMemoryMode());
    struct Case
    {
        const char *section, *key, *value;
    };
    const Case cases[] = {
        {"Main", "name", "Alpha"},   {"MAIN", "NAME", "Alpha"},   {"Main", "key ", " spaced"},
        {"Main", "key", ""},         {"Main", "top", ""},         {"Main", "Empty", ""},
        {" Other ", "only", "1"},    {"Other", "only", ""},       {"Missing", "name", ""},
        {"Flags", "bad", "x7"},
        // The padded section line does not end the search in Main.
        {"Main", "only", "1"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(ini.GetValue(c.section, c.key), c.value) << c.section << "/" << c.key;

    EXPECT_TRUE(ini.ReadBool("Flags", "on"));
    EXPECT_FALSE(ini.ReadBool("Flags", "word"));
    EXPECT_FALSE(ini.ReadBool("Flags", "missing"));
    EXPECT_EQ(ini.ReadInt("Flags", "number"), 42);
    EXPECT_EQ(ini.ReadInt("Flags", "bad"), 0);
    EXPECT_EQ(ini.ReadInt("Flags", "missing"), 0);

    SFileMem text;
    text.Allocate(0);
    text.WriteText("junk\r\n[A]\r\nk=v\r\n[B]\r\nk=w\r\n");
    EXPECT_EQ(SIni::FindSection(&text, "b"), 16);
    EXPECT_EQ(SIni::FindKey(&text, "B", "K"), 21);
    EXPECT_EQ(SIni::FindKey(&text, "A", "missing"), -1);
    EXPECT_EQ(SIni::FindSection(&text, "C"), -1);
    EXPECT_EQ(SIni::FindSection(nullptr, "A"), -1);
}

TEST(SIni, SetValueEditsTheText)
{
    struct Case
    {
        const char* name;
        const char* before;
        const char *section, *key, *value;
        const char* after;
    };
    const Case cases[] = {
        {"new section in empty text", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"new section after unended line", "a=b", "S", "k", "v", "a=b\r\n\r\n[S]\r\nk=v\r\n"},
        {"new section after ended line", "[A]\r\na=b\r\n", "S", "k", "v", "[A]\r\na=b\r\n\r\n[S]\r\nk=v\r\n"},
        {"new key first in section", "[S]\r\nold=1\r\n[T]\r\n", "s", "new", "2", "[S]\r\nnew=2\r\nold=1\r\n[T]\r\n"},
        {"new key after unended section line", "[A]\r\n[S]", "S", "k", "v", "[A]\r\n[S]\r\nk=v\r\n"},
        {"shorter value", "[S]\r\nkey=long value\r\nnext=1\r\n", "S", "KEY", "v", "[S]\r\nKEY=v\r\nnext=1\r\n"},
        {"longer value", "[S]\r\nkey=v\r\nnext=1", "S", "key", "longer", "[S]\r\nkey=longer\r\nnext=1"},
        {"same length", "[S]\r\nkey=abc\r\n", "S", "key", "xyz", "[S]\r\nkey=xyz\r\n"},
    };
    for (const Case& c : cases)
    {
        SIni ini;
        ASSERT_TRUE(OpenText(ini, c.before)) << c.name;
        EXPECT_TRUE(ini.SetValue(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(Content(*ini.GetMemory()), c.after) << c.name;
        EXPECT_STREQ(ini.GetValue(c.section, c.key), c.value) << c.name;
    }
}

TEST(SIni, SetValueRefusesTextsThatBreakTheLines)
{
    struct Case
    {
        const char *section, *key, *value;
    };
    const Case cases[] = {
        {"S", "k", "one\r\n[Other]\r\nx=1"}, {"S", "k", "lone\nfeed"}, {"S", "k=j", "v"},
        {"S", "k\r", "v"},                    {"S\r\nk=v", "k", "v"},
    };
    for (const Case& c : cases)
    {
        SIni ini;
        ASSERT_TRUE(OpenText(ini, "[S]\r\nk=old\r\n"));
        EXPECT_FALSE(ini.SetValue(c.section, c.key, c.value)) << c.key << "|" << c.value;
        EXPECT_EQ(Content(*ini.GetMemory()), "[S]\r\nk=old\r\n") << c.key << "|" << c.value;
    }
}

TEST(SIni, MemoryCopyStartsAtTheSourcePosition)
{
    SFileMem source;
    source.Allocate(0);
    source.WriteText("junk[S]\r\nk=v\r\n");
    source.Seek(4);
    SIni ini;
    EXPECT_FALSE(ini.OpenMemory(nullptr));
    ASSERT_TRUE(ini.OpenMemory(&source));
    EXPECT_STREQ(ini.GetValue("S", "k"), "v");
    EXPECT_TRUE(ini.SetValue("S", "k", "changed"));
    EXPECT_EQ(Content(source), "junk[S]\r\nk=v\r\n");

    ini.Close();
    EXPECT_FALSE(ini.IsMemoryMode());
    EXPECT_STREQ(ini.GetValue("S", "k"), "");
    EXPECT_FALSE(ini.SetValue("S", "k", "v"));
}

TEST(SIni, DiskFileIsReadAndWrittenOnEveryCall)
{
    file_test::ScratchFile scratch("melvora-ini-", "test.ini");
    const std::string& path = scratch.path;
    SIni ini;
    EXPECT_STREQ(ini.GetValue("S", "k"), "");
    EXPECT_FALSE(ini.SetValue("S", "k", "v"));
    EXPECT_FALSE(ini.Open(path.c_str(), false));
    EXPECT_FALSE(ini.Open("", true));
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_FALSE(ini.IsMemoryMode());
    EXPECT_EQ(ReadFileText(path), "");

    EXPECT_TRUE(ini.SetValue("Folder", "site", "http://example.com/"));
    EXPECT_TRUE(ini.SetValue("Folder", "cover", "front.jpg"));
    EXPECT_EQ(ReadFileText(path), "[Folder]\r\ncover=front.jpg\r\nsite=http://example.com/\r\n");

    // Another writer's change is seen by the next call.
    SIni other;
    ASSERT_TRUE(other.Open(path.c_str(), false));
    EXPECT_TRUE(other.SetValue("Folder", "site", "x"));
    EXPECT_STREQ(ini.GetValue("Folder", "site"), "x");

    // A file that vanished reads as empty and cannot be changed.
    DeleteFileA(path.c_str());
    EXPECT_STREQ(ini.GetValue("Folder", "cover"), "");
    EXPECT_FALSE(ini.SetValue("Folder", "cover", "y"));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}
