#include <gtest/gtest.h>

#include <string>

#include "SFileMem.h"
#include "STreeText.h"

namespace
{

void Fill(SFileMem& file, const std::string& bytes)
{
    file.Allocate((int)bytes.size());
    if (!bytes.empty())
        file.Write(bytes.data(), (int)bytes.size());
    file.Rewind();
}

std::string Bytes(SFileMem& file)
{
    return file.GetBuffer() ? std::string((const char*)file.GetBuffer(), (size_t)file.GetSize()) : std::string();
}

bool ReadText(STreeText& tree, const std::string& bytes, bool withData)
{
    SFileMem file;
    Fill(file, bytes);
    return tree.Read(&file, withData);
}

// Each node as "depth:label(parent)data/image/selected", one after another.
std::string Describe(const STreeText& tree)
{
    std::string out;
    for (int i = 0; i < tree.GetCount(); i++)
    {
        const STreeText::_SNode* node = tree.GetNode(i);
        char line[256];
        snprintf(line, sizeof(line), "%d:%s(%d)%d/%d/%d;", node->depth, (const char*)node->label, node->parent,
                 node->data, node->image, node->selectedImage);
        out += line;
    }
    return out;
}

const std::string kMagic = "TAVRIN TREE 1.0.0.0\r\n";

}

TEST(STreeText, ReadsItemsDepthsAndData)
{
    struct Case { const char* what; std::string text; bool withData; const char* nodes; };
    const Case cases[] = {
        {"documented example", kMagic + "Music+1,0,1\r\n\tRock+2,2,3\r\n\tJazz\r\n.\r\n", true,
         "0:Music(-1)1/0/1;1:Rock(0)2/2/3;1:Jazz(0)0/-1/-1;"},
        {"magic line only", "TAVRIN TREE 1.0.0.0", true, ""},
        {"last plus splits the tail", kMagic + "A+B+5,1,2\r\n", true, "0:A+B(-1)5/1/2;"},
        {"without data the plus is text", kMagic + "A+B+5,1,2\r\n", false, "0:A+B+5,1,2(-1)0/-1/-1;"},
        {"blanks around tail fields", kMagic + "A+ 7 , 3 \r\n", true, "0:A(-1)7/3/-1;"},
        {"lines after the full stop", kMagic + "A\r\n.\r\nB\r\n", false, "0:A(-1)0/-1/-1;"},
        {"empty lines skipped", kMagic + "\r\nA\r\n\r\n\tB\r\n", false, "0:A(-1)0/-1/-1;1:B(0)0/-1/-1;"},
        {"jump of two levels", kMagic + "A\r\n\t\tB\r\n\t\tC\r\nD\r\n", false,
         "0:A(-1)0/-1/-1;1:B(0)0/-1/-1;1:C(0)0/-1/-1;0:D(-1)0/-1/-1;"},
        {"climb to a level between", kMagic + "A\r\n\tB\r\n\t\t\tC\r\n\t\tD\r\n", false,
         "0:A(-1)0/-1/-1;1:B(0)0/-1/-1;2:C(1)0/-1/-1;1:D(0)0/-1/-1;"},
        {"first line indented", kMagic + "\t\tA\r\nB\r\n", false, "0:A(-1)0/-1/-1;0:B(-1)0/-1/-1;"},
        {"tabs only", kMagic + "A\r\n\t\t\r\n", false, "0:A(-1)0/-1/-1;0:(-1)0/-1/-1;"},
        {"trailing blanks kept", kMagic + "A  \r\n", false, "0:A  (-1)0/-1/-1;"},
    };
    for (const Case& c : cases)
    {
        STreeText tree;
        EXPECT_TRUE(ReadText(tree, c.text, c.withData)) << c.what;
        EXPECT_EQ(std::string(c.nodes), Describe(tree)) << c.what;
    }
}

TEST(STreeText, DamagedTextsAreRefused)
{
    std::string deep = kMagic;
    for (int depth = 0; depth <= STreeText::kMaxDepth + 1; depth++)
        deep += std::string((size_t)depth, '\t') + "x\r\n";
    struct Case { const char* what; std::string text; };
    const Case cases[] = {
        {"empty stream", ""},
        {"trailing blank on the magic line", "TAVRIN TREE 1.0.0.0 \r\nA\r\n"},
        {"lower-case magic", "tavrin tree 1.0.0.0\r\nA\r\n"},
        {"table magic", "TAVRIN TABLE 1.0.0.0\r\nA\r\n"},
        {"binary junk", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"deeper than the limit", deep},
    };
    for (const Case& c : cases)
    {
        STreeText tree;
        tree.Add("kept?", -1);
        EXPECT_FALSE(ReadText(tree, c.text, true)) << c.what;
        EXPECT_EQ(0, tree.GetCount()) << c.what;
    }
    STreeText tree;
    EXPECT_FALSE(tree.Read(nullptr, true));
}

TEST(STreeText, HugeIndentationGoesOneLevelDown)
{
    // A short line cannot make a deep tree: a jump of a million tabs is one level.
    std::string text = kMagic + "A\r\n" + std::string(1000000, '\t') + "B\r\n";
    STreeText tree;
    ASSERT_TRUE(ReadText(tree, text, false));
    EXPECT_EQ("0:A(-1)0/-1/-1;1:B(0)0/-1/-1;", Describe(tree));
}

TEST(STreeText, WriterFormRoundTripsByteForByte)
{
    STreeText tree;
    int music = tree.Add("Music", -1, 1, 0, 1);
    int rock = tree.Add("Rock + Roll", music, -2, 2, 3);
    tree.Add("", rock, 0, 0, 0);
    tree.Add(".", music, 7, 1, 1);
    tree.Add("  blank ends  ", -1, 0, 4, 4);
    for (bool withData : {true, false})
    {
        if (!withData)
        {
            // Labels that only the data tail can carry.
            tree.Clear();
            int a = tree.Add("A+B", -1);
            tree.Add("child, with comma", a);
            tree.Add("grand child", a + 1);
            tree.Add("Z", -1);
        }
        SFileMem first;
        ASSERT_TRUE(tree.Write(&first, withData));
        std::string written = Bytes(first);
        if (withData)
        {
            EXPECT_EQ(kMagic + "Music+1,0,1\r\n\tRock + Roll+-2,2,3\r\n\t\t+0,0,0\r\n\t.+7,1,1\r\n"
                               "  blank ends  +0,4,4\r\n.\r\n",
                      written);
        }
        STreeText again;
        ASSERT_TRUE(ReadText(again, written, withData));
        EXPECT_EQ(Describe(tree), Describe(again));
        SFileMem second;
        ASSERT_TRUE(again.Write(&second, withData));
        EXPECT_EQ(written, Bytes(second));
    }
}

TEST(STreeText, UnwritableLabelsWriteNothing)
{
    struct Case { const char* label; bool withData; };
    const Case cases[] = {
        {"two\r\nlines", true}, {"line\nfeed", true}, {"\tleading tab", true}, {".", false}, {"", false},
    };
    for (const Case& c : cases)
    {
        STreeText tree;
        tree.Add("fine", -1);
        tree.Add(c.label, 0);
        SFileMem file;
        EXPECT_FALSE(tree.Write(&file, c.withData)) << c.label;
        EXPECT_EQ(0, file.GetSize()) << c.label;
    }
    STreeText tree;
    EXPECT_EQ(-1, tree.Add("orphan", 3));
    EXPECT_FALSE(tree.Write(nullptr, true));
}
