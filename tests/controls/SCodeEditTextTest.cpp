// The code editor's document model, without a window.
#include <gtest/gtest.h>

#include <limits.h>

#include <string>
#include <vector>

#include "SCodeEditText.h"
#include "SFileMem.h"

namespace
{

void LoadText(SCodeEditText& text, const char* content)
{
    SFileMem stream;
    stream.WriteText(content);
    stream.Rewind();
    ASSERT_TRUE(text.Load(&stream));
}

// The lines joined by '|', to compare a whole document at a glance.
std::string Joined(const SCodeEditText& text)
{
    std::string out;
    for (int i = 0; i < text.GetLineCount(); i++)
    {
        if (i > 0)
            out += "|";
        out += (const char*)*text.GetLineText(i);
    }
    return out;
}

struct Selection
{
    int startLine, startColumn, endLine, endColumn;
};

Selection GetSelection(const SCodeEditText& text)
{
    Selection s = {0, 0, 0, 0};
    text.GetSelection(&s.startLine, &s.startColumn, &s.endLine, &s.endColumn);
    return s;
}

class CountingListener : public SCodeEditTextListener
{
public:
    void OnTextSelectionChanged() override { changes++; }
    int changes = 0;
};

}

TEST(SCodeEditText, LoadSplitsAtCrLfOnlyAndSaveWritesNoFinalBreak)
{
    struct Case
    {
        const char* content;
        const char* lines;
        int count;
    } cases[] = {
        {"a\r\nb\r\n", "a|b|", 3},
        {"", "", 1},
        {"  one \ttwo  ", "  one \ttwo  ", 1},
        {"x\ry\nz\r\n\r\nw", "x\ry\nz||w", 3},
    };
    for (const Case& c : cases)
    {
        SCodeEditText text;
        LoadText(text, c.content);
        EXPECT_EQ(Joined(text), c.lines) << c.content;
        EXPECT_EQ(text.GetLineCount(), c.count) << c.content;
        EXPECT_TRUE(text.IsOpen());
        int line = -1, column = -1;
        EXPECT_TRUE(text.GetCaret(&line, &column));
        EXPECT_EQ(line, 0);
        EXPECT_EQ(column, 0);
        SFileMem saved;
        ASSERT_TRUE(text.Save(&saved));
        EXPECT_EQ(std::string((const char*)saved.GetBuffer(), (size_t)saved.GetSize()), c.content);
        EXPECT_EQ(text.GetTextLength(), (int)strlen(c.content));
    }
    SCodeEditText text;
    EXPECT_FALSE(text.Load(nullptr));
    EXPECT_FALSE(text.IsOpen());
    EXPECT_FALSE(text.HasText());
    EXPECT_EQ(text.GetTextLength(), 0);
}

TEST(SCodeEditText, SelectionIsNormalisedClampedAndReportsChanges)
{
    SCodeEditText text;
    CountingListener listener;
    text.SetListener(&listener);
    LoadText(text, "first\r\nsecond\r\nthird");
    listener.changes = 0;

    // Equal points leave a bare caret.
    text.SetSelectionRaw(1, 2, 1, 2, -1);
    EXPECT_FALSE(text.HasSelection());
    EXPECT_EQ(listener.changes, 1);
    // The caret given first may lie after the anchor: the ends swap, the caret stays at the end.
    text.SetSelectionRaw(2, 3, 0, 1, -1);
    Selection s = GetSelection(text);
    EXPECT_EQ(s.startLine, 0);
    EXPECT_EQ(s.startColumn, 1);
    EXPECT_EQ(s.endLine, 2);
    EXPECT_EQ(s.endColumn, 3);
    int line = 0, column = 0;
    text.GetCaret(&line, &column);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 3);
    text.GetCaret(&line, &column, true);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(column, 1);
    // A line past the end is the last line; a column past a line's end is its end.
    text.SetSelectionRaw(9, 99, -1, -1, 0);
    text.GetCaret(&line, &column);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 5);
    int before = listener.changes;
    EXPECT_FALSE(text.SetSelectionRaw(9, 99, -1, -1, 0));
    EXPECT_EQ(listener.changes, before);
    EXPECT_TRUE(text.SelectLine(1, true));
    EXPECT_EQ(text.GetSelectedText(), "second\r\n");
    text.SelectWholeText();
    EXPECT_EQ(text.GetSelectedText(), "first\r\nsecond\r\nthird");
    EXPECT_TRUE(text.IsInSelection(1, 0));
    EXPECT_FALSE(text.SelectLine(3, false));
}

TEST(SCodeEditText, InsertTextMakesLinesAndSingleLineRefusesThemWhole)
{
    SCodeEditText text;
    LoadText(text, "hello world");
    text.SetSelectionRaw(0, 6, 0, 11, -1);
    ASSERT_TRUE(text.InsertText("big\r\nnew\nline"));
    EXPECT_EQ(Joined(text), "hello big|new|line");
    int line = 0, column = 0;
    text.GetCaret(&line, &column);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 4);
    EXPECT_FALSE(text.HasSelection());
    ASSERT_TRUE(text.InsertText("\"odd"));
    EXPECT_EQ(Joined(text), "hello big|new|line\"odd");

    text.SetSingleLine(true);
    text.SetSelectionRaw(0, 0, 0, 5, -1);
    EXPECT_FALSE(text.InsertText("a\r\nb"));
    EXPECT_EQ(Joined(text), "hello big|new|line\"odd");
    EXPECT_TRUE(text.HasSelection());
}

TEST(SCodeEditText, DeletionJoinsLinesAtTheirEnds)
{
    struct Case
    {
        const char* content;
        Selection selection; // bare caret when endLine is -1
        int operation;       // 0 selection, 1 forward, 2 backward
        bool done;
        const char* lines;
        int caretLine, caretColumn;
    } cases[] = {
        {"abc\r\ndef\r\nghi", {0, 1, 2, 2}, 0, true, "ai", 0, 1},
        {"abc\r\ndef\r\nghi", {0, 0, 2, 2}, 0, true, "i", 0, 0},
        {"abc\r\ndef", {0, 3, -1, -1}, 1, true, "abcdef", 0, 3},
        {"abc\r\ndef", {1, 3, -1, -1}, 1, false, "abc|def", 1, 3},
        {"abc\r\ndef", {1, 0, -1, -1}, 2, true, "abcdef", 0, 3},
        {"abc\r\ndef", {0, 0, -1, -1}, 2, false, "abc|def", 0, 0},
        {"abc", {0, 1, -1, -1}, 1, true, "ac", 0, 1},
        {"abc", {0, 1, -1, -1}, 2, true, "bc", 0, 0},
        {"abc", {0, 1, -1, -1}, 0, false, "abc", 0, 1},
    };
    for (const Case& c : cases)
    {
        SCodeEditText text;
        LoadText(text, c.content);
        const Selection& s = c.selection;
        text.SetSelectionRaw(s.endLine < 0 ? s.startLine : s.endLine, s.endLine < 0 ? s.startColumn : s.endColumn,
                             s.endLine < 0 ? -1 : s.startLine, s.endLine < 0 ? -1 : s.startColumn, -1);
        bool done = c.operation == 0 ? text.DeleteSelection()
                    : c.operation == 1 ? text.DeleteForward() : text.DeleteBackward();
        EXPECT_EQ(done, c.done) << c.content << " op " << c.operation;
        EXPECT_EQ(Joined(text), c.lines) << c.content << " op " << c.operation;
        int line = 0, column = 0;
        text.GetCaret(&line, &column);
        EXPECT_EQ(line, c.caretLine) << c.content;
        EXPECT_EQ(column, c.caretColumn) << c.content;
    }
}

TEST(SCodeEditText, LinesInsertedAndRemovedKeepOneLine)
{
    SCodeEditText text;
    text.New();
    EXPECT_EQ(text.GetLineCount(), 1);
    EXPECT_FALSE(text.HasText());
    EXPECT_EQ(text.InsertLine(-1), 1);
    EXPECT_TRUE(text.SetLineText(1, "two"));
    EXPECT_EQ(text.InsertLine(0), 0);
    text.SetLineFlag(2, 0, true);
    EXPECT_EQ(Joined(text), "||two");
    EXPECT_TRUE(text.RemoveLine(0));
    EXPECT_TRUE(text.GetLineFlag(1, 0));
    EXPECT_TRUE(text.RemoveLine(0));
    EXPECT_TRUE(text.RemoveLine(0));
    EXPECT_EQ(text.GetLineCount(), 1);
    EXPECT_EQ(Joined(text), "");
    EXPECT_FALSE(text.RemoveLine(1));
    text.SetSingleLine(true);
    EXPECT_EQ(text.InsertLine(0), 0);
    EXPECT_EQ(text.GetLineCount(), 1);
}

TEST(SCodeEditText, UndoRestoresTheRangeAndTheCaret)
{
    SCodeEditText text;
    LoadText(text, "zero\r\none\r\ntwo\r\nthree");
    // Three lines pasted over a selection of two.
    text.SetSelectionRaw(2, 2, 1, 1, -1);
    int first = 0, count = 0;
    ASSERT_TRUE(text.GetSelectedLines(&first, &count));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(count, 2);
    text.AddUndo(first, count, 2);
    ASSERT_TRUE(text.InsertText("A\r\nB\r\nC"));
    EXPECT_EQ(Joined(text), "zero|oA|B|Co|three");
    ASSERT_TRUE(text.Undo());
    EXPECT_EQ(Joined(text), "zero|one|two|three");
    int line = 0, column = 0;
    text.GetCaret(&line, &column);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 2);
    EXPECT_FALSE(text.HasSelection());
    EXPECT_FALSE(text.Undo());

    // Return splits a line: one added line.
    text.SetSelectionRaw(0, 2, -1, -1, 0);
    text.AddUndo(0, 1, 1);
    text.InsertText("\r\n");
    EXPECT_EQ(Joined(text), "ze|ro|one|two|three");
    ASSERT_TRUE(text.Undo());
    EXPECT_EQ(Joined(text), "zero|one|two|three");

    // At most 128 steps: the 129th drops the oldest.
    for (int i = 0; i < 129; i++)
    {
        text.SetSelectionRaw(0, 0, -1, -1, 0);
        text.AddUndo(0, 1, 0);
        text.InsertChar((char)('a' + i % 26));
    }
    EXPECT_EQ(text.GetUndoCount(), 128);
    while (text.Undo())
    {
    }
    EXPECT_EQ(*text.GetLineText(0), "azero");
    text.AddUndo(0, 1, 0);
    text.DropLastUndo();
    EXPECT_EQ(text.GetUndoCount(), 0);
}

TEST(SCodeEditText, FindWrapsBothWaysAndBackwardSkipsNoMatch)
{
    const char* content = "abc abc\r\nxyz\r\nABC abc";
    struct Case
    {
        int caretLine, caretColumn;
        const char* what;
        bool down, matchCase, wrap;
        int line, column; // -1: not found
    } cases[] = {
        {0, 0, "abc", true, false, true, 0, 0},
        {0, 1, "abc", true, false, true, 0, 4},
        {0, 5, "abc", true, true, true, 2, 4},
        {0, 5, "abc", true, false, true, 2, 0},
        {2, 5, "abc", true, true, false, -1, -1},
        {2, 5, "abc", true, true, true, 0, 0},
        {2, 7, "abc", false, false, true, 2, 4},
        {2, 4, "abc", false, false, true, 2, 0},
        {2, 0, "abc", false, false, true, 0, 4},
        {0, 0, "abc", false, true, false, -1, -1},
        {0, 0, "abc", false, true, true, 2, 4},
        {1, 1, "xyz", true, false, false, -1, -1},
        {1, 1, "xyz", true, false, true, 1, 0},
        {1, 1, "XYZ", true, true, true, -1, -1},
        {0, 0, "", true, false, true, -1, -1},
        {0, 0, "c\r\nx", true, false, true, -1, -1},
    };
    for (const Case& c : cases)
    {
        SCodeEditText text;
        LoadText(text, content);
        text.SetSelectionRaw(c.caretLine, c.caretColumn, -1, -1, 0);
        bool found = text.Find(c.what, c.down, c.matchCase, c.wrap);
        EXPECT_EQ(found, c.line >= 0) << c.what << " from " << c.caretLine << "," << c.caretColumn;
        if (!found || c.line < 0)
            continue;
        Selection s = GetSelection(text);
        EXPECT_EQ(s.startLine, c.line) << c.what << " from " << c.caretLine << "," << c.caretColumn;
        EXPECT_EQ(s.startColumn, c.column) << c.what << " from " << c.caretLine << "," << c.caretColumn;
        EXPECT_EQ(s.endColumn, c.column + (int)strlen(c.what));
        int line = 0, column = 0;
        text.GetCaret(&line, &column);
        EXPECT_EQ(column, c.column + (int)strlen(c.what)) << "the caret ends the match";
    }

    // Repeated searches meet every occurrence once in each direction, overlapping ones included.
    struct Sweep
    {
        bool down;
        int caretLine, caretColumn;
        std::vector<std::pair<int, int>> expected;
    } sweeps[] = {
        {true, 0, 0, {{0, 0}, {0, 3}, {2, 0}}},
        {false, 2, 2, {{2, 0}, {0, 3}, {0, 0}}},
        {false, 0, 5, {{0, 3}, {0, 0}}},
    };
    for (const Sweep& sweep : sweeps)
    {
        SCodeEditText text;
        LoadText(text, "aa aa\r\n\r\naa");
        text.SetSelectionRaw(sweep.caretLine, sweep.caretColumn, -1, -1, 0);
        std::vector<std::pair<int, int>> seen;
        while (seen.size() < 10 && text.Find("aa", sweep.down, true, false))
        {
            Selection s = GetSelection(text);
            seen.push_back({s.startLine, s.startColumn});
        }
        EXPECT_EQ(seen, sweep.expected) << (sweep.down ? "down" : "up");
    }
    SCodeEditText overlapping;
    LoadText(overlapping, "aaaa");
    overlapping.SetSelectionRaw(0, 4, -1, -1, 0);
    std::vector<int> starts;
    while (starts.size() < 10 && overlapping.Find("aa", false, true, false))
        starts.push_back(GetSelection(overlapping).startColumn);
    EXPECT_EQ(starts, (std::vector<int>{2, 1, 0}));
}

TEST(SCodeEditText, ReplaceOnceAndReplaceAll)
{
    SCodeEditText text;
    LoadText(text, "aaa");
    EXPECT_EQ(text.ReplaceAll("a", "aa", true), 3);
    EXPECT_EQ(Joined(text), "aaaaaa");
    EXPECT_EQ(text.GetUndoCount(), 3);

    LoadText(text, "one two\r\ntwo");
    text.SetSelectionRaw(0, 4, -1, -1, 0);
    ASSERT_TRUE(text.ReplaceOnce("TWO", "2\r\n2", false, true));
    EXPECT_EQ(Joined(text), "one 2|2|two");
    EXPECT_EQ(text.GetSelectedText(), "2\r\n2");
    ASSERT_TRUE(text.Undo());
    EXPECT_EQ(Joined(text), "one two|two");
    EXPECT_FALSE(text.ReplaceOnce("none", "x", false, true));
    EXPECT_EQ(text.GetUndoCount(), 0);
}

TEST(SCodeEditText, WordBoundsByCharacterClass)
{
    struct Case
    {
        const char* text;
        int column;
        int start, end;
    } cases[] = {
        {"foo bar", 1, 0, 3},  {"foo bar", 5, 4, 7},   {"foo bar", 3, 0, 3}, {"foo  bar", 4, 3, 5},
        {"a+=b", 1, 1, 2},     {"a_1 x", 9, 4, 5},     {"", 3, 0, 0},        {"  x", 0, 0, 2},
    };
    for (const Case& c : cases)
    {
        int start = -1, end = -1;
        EXPECT_TRUE(SCodeEditText::WordBounds(c.text, c.column, &start, &end));
        EXPECT_EQ(start, c.start) << c.text << " @" << c.column;
        EXPECT_EQ(end, c.end) << c.text << " @" << c.column;
    }
}

TEST(SCodeEditText, CommentAndUncommentMoveTheSelection)
{
    SCodeEditText text;
    LoadText(text, "\tcode\r\n\r\nmore");
    text.SetSelectionRaw(2, 2, 0, 3, -1);
    ASSERT_TRUE(text.CommentLines(true, 0, 2));
    EXPECT_EQ(Joined(text), "\t//code||//more");
    Selection s = GetSelection(text);
    EXPECT_EQ(s.startColumn, 5);
    EXPECT_EQ(s.endColumn, 4);
    ASSERT_TRUE(text.CommentLines(false, 0, -1));
    EXPECT_EQ(Joined(text), "\tcode||more");
    s = GetSelection(text);
    EXPECT_EQ(s.startColumn, 3);
    EXPECT_EQ(s.endColumn, 2);
    EXPECT_FALSE(text.CommentLines(true, -1, 2));
    EXPECT_FALSE(text.CommentLines(true, 2, 1));
}

TEST(SCodeEditText, VisualColumnsFollowTheTabSize)
{
    SCodeEditText text;
    LoadText(text, "\tab\tc\r\nlong line");
    EXPECT_EQ(text.GetLineLength(0, true), 5);
    EXPECT_EQ(text.GetLineLength(0, false), 9);
    EXPECT_EQ(text.GetVisualColumn(0, 3), 6);
    EXPECT_EQ(text.GetColumnFromVisual(0, 2), 0);
    EXPECT_EQ(text.GetColumnFromVisual(0, 4), 1);
    EXPECT_EQ(text.GetColumnFromVisual(0, 40), 5);
    EXPECT_EQ(text.GetMaxLineLength(false), 9);
    text.SetTabSize(1);
    EXPECT_EQ(text.GetTabSize(), 2);
    EXPECT_EQ(text.GetMaxLineLength(false), 9);
    EXPECT_EQ(text.GetLineLength(0, false), 7);
    // The cached longest line follows edits that shrink it.
    text.SetSelectionRaw(1, 0, 1, 9, -1);
    text.DeleteSelection();
    EXPECT_EQ(text.GetMaxLineLength(true), 5);
    EXPECT_EQ(text.GetMaxLineLength(false), 7);
}

TEST(SCodeEditText, TabSizeIsBoundedAndTabStopsNeverOverflow)
{
    struct Case
    {
        int given, kept;
    } cases[] = {
        {INT_MIN, 2}, {1, 2}, {4, 4}, {1000, 1000}, {1001, 1000}, {100000000, 1000}, {INT_MAX, 1000},
    };
    for (const Case& c : cases)
    {
        SCodeEditText text;
        LoadText(text, "\t\t\tx");
        text.SetTabSize(c.given);
        EXPECT_EQ(c.kept, text.GetTabSize()) << c.given;
        EXPECT_EQ(3 * c.kept + 1, text.GetLineLength(0, false)) << c.given;
        EXPECT_EQ(3 * c.kept, text.GetVisualColumn(0, 3)) << c.given;
        EXPECT_EQ(3, text.GetColumnFromVisual(0, 3 * c.kept)) << c.given;
    }

    // Columns past the largest int stay there instead of wrapping below zero.
    SCodeEditText text;
    text.SetTabSize(1000);
    struct Step
    {
        int visual;
        char ch;
        int next;
    } steps[] = {
        {0, '\t', 1000}, {999, '\t', 1000}, {1000, '\t', 2000}, {7, 'a', 8},
        {INT_MAX - 5, '\t', INT_MAX}, {INT_MAX, '\t', INT_MAX}, {INT_MAX, 'a', INT_MAX},
    };
    for (const Step& s : steps)
        EXPECT_EQ(s.next, text.NextVisualColumn(s.visual, s.ch)) << s.visual << " " << (int)s.ch;
    std::string tabs(2200000, '\t');
    tabs += "x";
    LoadText(text, tabs.c_str());
    EXPECT_EQ(INT_MAX, text.GetLineLength(0, false));
    EXPECT_EQ(INT_MAX, text.GetMaxLineLength(false));
    EXPECT_EQ(INT_MAX, text.GetVisualColumn(0, 2200001));
}

TEST(SCodeEditText, LongestLineFollowsLinesSetToNewText)
{
    struct Case
    {
        int line;
        const char* text;
        int raw, visual;
    } cases[] = {
        {0, "abcdefghij", 10, 10},      // a short line grows past the longest
        {2, "\t\t\tx", 6, 13},          // grows by its tabs only
        {1, "ab", 3, 5},                // the longest shrinks
        {1, "abcdefg", 7, 7},           // the longest grows
        {0, "", 6, 6},
    };
    for (const Case& c : cases)
    {
        SCodeEditText text;
        LoadText(text, "abc\r\nabcdef\r\n\tx");
        // Both answers are cached before the change.
        ASSERT_EQ(6, text.GetMaxLineLength(true));
        ASSERT_EQ(6, text.GetMaxLineLength(false));
        ASSERT_TRUE(text.SetLineText(c.line, c.text));
        EXPECT_EQ(c.raw, text.GetMaxLineLength(true)) << c.line << " " << c.text;
        EXPECT_EQ(c.visual, text.GetMaxLineLength(false)) << c.line << " " << c.text;
    }
}

TEST(SCodeEditText, MoveByCountsLineBreaksAsOneCharacter)
{
    SCodeEditText text;
    LoadText(text, "ab\r\nc\r\ndef");
    int line = 0, column = 0;
    text.MoveBy(0, 1, 3, &line, &column);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 1);
    text.MoveBy(2, 1, -4, &line, &column);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(column, 2);
    text.MoveBy(0, 0, 100, &line, &column);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 3);
    text.MoveBy(1, 0, -100, &line, &column);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(column, 0);
}

TEST(SCodeEditText, CopyTextStopsAtTheBuffersEnd)
{
    SCodeEditText text;
    LoadText(text, "ab\r\ncd");
    char buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(text.CopyText(buffer, 1), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 'x');
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(text.CopyText(buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(text.CopyText(buffer, 4), 3);
    EXPECT_STREQ(buffer, "ab\r");
    EXPECT_EQ(text.CopyText(buffer, sizeof(buffer)), 6);
    EXPECT_STREQ(buffer, "ab\r\ncd");
}
