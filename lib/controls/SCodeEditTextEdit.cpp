// The code editor document's editing primitives, undo steps and search.
#include "SCodeEditText.h"

#include <string.h>

namespace
{

// Case folding of the search: ASCII letters only, as the runtime's own comparisons do.
unsigned char FoldAscii(unsigned char ch)
{
    return ch >= 'A' && ch <= 'Z' ? (unsigned char)(ch + 32) : ch;
}

bool IsTabOrBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

// Number of leading blanks and tabs.
int LeadingBlanks(const SString& text)
{
    int i = 0;
    while (i < text.GetLength() && IsTabOrBlank(text[i]))
        i++;
    return i;
}

int LeadingTabs(const SString& text)
{
    int i = 0;
    while (i < text.GetLength() && text[i] == '\t')
        i++;
    return i;
}

}

// --- editing primitives ---

bool SCodeEditText::InsertText(const char* text)
{
    if (!text || !m_open)
        return false;
    // The pieces between line feeds, each without a carriage return at its end.
    SArray<int> starts, lengths;
    int length = (int)strlen(text);
    int pieceStart = 0;
    for (int i = 0; i <= length; i++)
    {
        if (i == length || text[i] == '\n')
        {
            int pieceLength = i - pieceStart;
            if (pieceLength > 0 && text[pieceStart + pieceLength - 1] == '\r')
                pieceLength--;
            starts.Add(pieceStart);
            lengths.Add(pieceLength);
            pieceStart = i + 1;
        }
    }
    int pieces = starts.GetCount();
    if (pieces > 1 && m_singleLine)
        return false;
    if (HasSelection())
        DeleteSelection();
    if (!HasCaret())
        return false;
    int line = m_startLine, column = m_startColumn;
    SString* caretLine = m_lines.GetAt(line);
    if (pieces > 1)
    {
        InsertEmptyLines(line + 1, pieces - 1);
        SString* last = m_lines.GetAt(line + pieces - 1);
        last->SetText((const char*)*caretLine + column, caretLine->GetLength() - column);
        if (caretLine->GetLength() >= m_maxRaw)
            m_maxRaw = -1;
        m_maxVisual = -1;
        caretLine->SetLength(column);
    }
    caretLine->Insert(SString(text + starts.GetAt(0), lengths.GetAt(0)), column);
    for (int i = 1; i < pieces; i++)
        m_lines.GetAt(line + i)->Insert(SString(text + starts.GetAt(i), lengths.GetAt(i)), 0);
    for (int i = 0; i < pieces; i++)
        NoteLineGrew(line + i);
    if (pieces == 1)
        PlaceCaret(line, column + lengths.GetAt(0));
    else
        PlaceCaret(line + pieces - 1, lengths.GetAt(pieces - 1));
    return true;
}

bool SCodeEditText::InsertChar(char ch)
{
    char text[2] = {ch, 0};
    return InsertText(text);
}

bool SCodeEditText::InsertTextLine(const char* text)
{
    if (!InsertText(text))
        return false;
    return InsertText("\r\n");
}

bool SCodeEditText::DeleteSelection()
{
    if (!HasSelection() || !m_open)
        return false;
    int startLine = m_startLine, startColumn = m_startColumn, endLine = m_endLine, endColumn = m_endColumn;
    SString* first = m_lines.GetAt(startLine);
    SString* last = m_lines.GetAt(endLine);
    if (first->GetLength() >= m_maxRaw || last->GetLength() >= m_maxRaw)
        m_maxRaw = -1;
    m_maxVisual = m_maxVisual >= 0 && VisualLength(first) < m_maxVisual && VisualLength(last) < m_maxVisual
                      ? m_maxVisual : -1;
    if (startLine == endLine)
        first->Delete(startColumn, endColumn - startColumn);
    else
    {
        first->Delete(startColumn);
        last->Delete(0, endColumn);
        RemoveLines(startLine + 1, endLine - startLine - 1);
        // The end line is now the line right after the start line.
        if (startColumn == 0)
            RemoveLines(startLine, 1);
        else
        {
            first->Append(*m_lines.GetAt(startLine + 1));
            RemoveLines(startLine + 1, 1);
        }
    }
    NoteLineGrew(startLine);
    PlaceCaret(startLine, startColumn);
    return true;
}

bool SCodeEditText::DeleteForward()
{
    if (!m_open)
        return false;
    if (HasSelection())
        return DeleteSelection();
    if (!HasCaret())
        return false;
    int line = m_startLine, column = m_startColumn;
    if (column < GetLineLength(line, true))
        SetSelectionRaw(line, column + 1, line, column, 0);
    else if (line + 1 < m_lines.GetCount())
        SetSelectionRaw(line + 1, 0, line, column, 0);
    else
        return false;
    return DeleteSelection();
}

bool SCodeEditText::DeleteBackward()
{
    if (!m_open)
        return false;
    if (HasSelection())
        return DeleteSelection();
    if (!HasCaret())
        return false;
    int line = m_startLine, column = m_startColumn;
    if (line == 0 && column == 0)
        return false;
    if (column > 0)
        SetSelectionRaw(line, column - 1, line, column, 0);
    else
        SetSelectionRaw(line - 1, GetLineLength(line - 1, true), line, 0, 0);
    return DeleteSelection();
}

int SCodeEditText::InsertLine(int index)
{
    int count = m_lines.GetCount();
    if (m_singleLine && count > 0)
        return count - 1;
    if (index < 0 || index > count)
        index = count;
    InsertEmptyLines(index, 1);
    // The selection stays on the lines it was on.
    if (m_startLine >= index && count > 0)
    {
        int caretLine = 0, caretColumn = 0, anchorLine = 0, anchorColumn = 0;
        GetCaret(&caretLine, &caretColumn);
        GetCaret(&anchorLine, &anchorColumn, true);
        SetSelectionRaw(caretLine + 1, caretColumn, anchorLine >= index ? anchorLine + 1 : anchorLine,
                        anchorColumn, m_caretAtStart ? 0 : 1);
    }
    return index;
}

bool SCodeEditText::RemoveLine(int index)
{
    int count = m_lines.GetCount();
    if (index < 0 || index >= count)
        return false;
    if (count == 1)
    {
        SetLineText(0, "");
        return true;
    }
    RemoveLines(index, 1);
    // A selection end past the last line is brought back inside.
    if (HasCaret())
    {
        int caretLine = 0, caretColumn = 0, anchorLine = 0, anchorColumn = 0;
        GetCaret(&caretLine, &caretColumn);
        bool bare = !HasSelection();
        GetCaret(&anchorLine, &anchorColumn, true);
        if (caretLine > index)
            caretLine--;
        if (anchorLine > index)
            anchorLine--;
        if (bare)
            PlaceCaret(caretLine, caretColumn);
        else
            SetSelectionRaw(caretLine, caretColumn, anchorLine, anchorColumn, m_caretAtStart ? 0 : 1);
    }
    return true;
}

bool SCodeEditText::SetLineText(int index, const char* text)
{
    SString* line = m_lines.GetAt(index);
    if (!line)
        return false;
    if (line->GetLength() >= m_maxRaw)
        m_maxRaw = -1;
    m_maxVisual = -1;
    line->SetText(text ? text : "");
    // A line that was not the longest may be now.
    NoteLineGrew(index);
    // A caret past the new end is brought back to it.
    if (HasCaret())
    {
        int caretLine = 0, caretColumn = 0, anchorLine = 0, anchorColumn = 0;
        GetCaret(&caretLine, &caretColumn);
        GetCaret(&anchorLine, &anchorColumn, true);
        if (HasSelection())
            SetSelectionRaw(caretLine, caretColumn, anchorLine, anchorColumn, m_caretAtStart ? 0 : 1);
        else
            PlaceCaret(caretLine, caretColumn);
    }
    return true;
}

bool SCodeEditText::CommentLines(bool comment, int first, int last)
{
    int count = m_lines.GetCount();
    if (last < 0)
        last = count - 1;
    if (first < 0 || last < first || first >= count)
        return false;
    if (last >= count)
        last = count - 1;
    int ends[2][2] = {{m_startLine, m_startColumn}, {m_endLine, m_endColumn}};
    for (int i = first; i <= last; i++)
    {
        SString* text = m_lines.GetAt(i);
        int blanks = LeadingBlanks(*text);
        if (blanks == text->GetLength())
            continue;
        if (comment)
        {
            int at = LeadingTabs(*text);
            text->Insert("//", at);
            for (auto& end : ends)
                if (end[0] == i && end[1] > at)
                    end[1] += 2;
        }
        else
        {
            if (text->GetAt(blanks) != '/' || text->GetAt(blanks + 1) != '/')
                continue;
            int at = text->FindChar('/');
            text->Delete(at, 2);
            if (text->GetLength() + 2 >= m_maxRaw)
                m_maxRaw = -1;
            m_maxVisual = -1;
            for (auto& end : ends)
                if (end[0] == i && end[1] > at && end[1] > 1)
                    end[1] = end[1] - 2 < at ? at : end[1] - 2;
        }
        NoteLineGrew(i);
    }
    if (ends[1][0] < 0)
        PlaceCaret(ends[0][0], ends[0][1]);
    else if (m_caretAtStart)
        SetSelectionRaw(ends[0][0], ends[0][1], ends[1][0], ends[1][1], 0);
    else
        SetSelectionRaw(ends[1][0], ends[1][1], ends[0][0], ends[0][1], 1);
    return true;
}

void SCodeEditText::IndentLines(int first, int last, bool remove)
{
    for (int i = first; i <= last && i < m_lines.GetCount(); i++)
    {
        SString* text = m_lines.GetAt(i);
        if (remove)
        {
            if (text->GetAt(0) == '\t')
            {
                m_maxVisual = -1;
                if (text->GetLength() >= m_maxRaw)
                    m_maxRaw = -1;
                text->Delete(0, 1);
            }
        }
        else
        {
            text->Insert("\t", 0);
            NoteLineGrew(i);
        }
    }
}

// --- undo ---

void SCodeEditText::AddUndo(int firstLine, int lineCount, int addedLines)
{
    if (m_undo.GetCount() >= kMaxUndo)
    {
        delete m_undo.GetAt(0);
        m_undo.RemoveAt(0);
    }
    SCodeEditUndo* step = new SCodeEditUndo;
    step->firstLine = firstLine;
    step->lineCount = 0;
    for (int i = firstLine; i < firstLine + lineCount && i < m_lines.GetCount(); i++)
    {
        if (i < 0)
            continue;
        step->lines.Add(*m_lines.GetAt(i));
        step->lineCount++;
    }
    step->addedLines = addedLines;
    GetCaret(&step->caretLine, &step->caretColumn);
    m_undo.Add(step);
}

void SCodeEditText::DropLastUndo()
{
    if (m_undo.GetCount() == 0)
        return;
    delete m_undo.GetLast();
    m_undo.RemoveLast();
}

void SCodeEditText::ClearUndo()
{
    m_undo.DeleteAll();
    m_undo.RemoveAll();
}

bool SCodeEditText::Undo()
{
    if (m_undo.GetCount() == 0 || !m_open)
        return false;
    SCodeEditUndo* step = m_undo.GetLast();
    m_undo.RemoveLast();
    int first = step->firstLine;
    if (first < 0)
        first = 0;
    if (first > m_lines.GetCount())
        first = m_lines.GetCount();
    if (step->lineCount > 1)
        InsertEmptyLines(first, step->lineCount - 1);
    for (int i = 0; i < step->lineCount; i++)
    {
        if (first + i >= m_lines.GetCount())
            InsertEmptyLines(m_lines.GetCount(), 1);
        SString* line = m_lines.GetAt(first + i);
        if (line->GetLength() >= m_maxRaw)
            m_maxRaw = -1;
        m_maxVisual = -1;
        line->SetText(*step->lines.GetString(i));
    }
    RemoveLines(first + step->lineCount, step->addedLines);
    if (m_lines.GetCount() == 0)
        InsertEmptyLines(0, 1);
    PlaceCaret(step->caretLine, step->caretColumn);
    delete step;
    return true;
}

// --- search ---

int SCodeEditText::FindInLine(int line, const char* text, int length, bool matchCase, int from, int before,
                              bool last) const
{
    const SString* source = m_lines.GetAt(line);
    if (!source || length <= 0)
        return -1;
    const unsigned char* chars = (const unsigned char*)source->GetText();
    if (from < 0)
        from = 0;
    // Occurrences start in [from, before) and end inside the line.
    int lastStart = source->GetLength() - length;
    if (before >= 0 && before - 1 < lastStart)
        lastStart = before - 1;
    if (!chars || lastStart < from)
        return -1;
    const unsigned char* pattern = (const unsigned char*)text;
    int found = -1;
    if (matchCase)
    {
        for (int p = from; p <= lastStart;)
        {
            const unsigned char* hit = (const unsigned char*)memchr(chars + p, pattern[0], (size_t)(lastStart - p + 1));
            if (!hit)
                break;
            p = (int)(hit - chars);
            if (memcmp(chars + p, pattern, (size_t)length) == 0)
            {
                found = p;
                if (!last)
                    return p;
            }
            p++;
        }
        return found;
    }
    unsigned char head = FoldAscii(pattern[0]);
    for (int p = from; p <= lastStart; p++)
    {
        if (FoldAscii(chars[p]) != head)
            continue;
        int i = 1;
        while (i < length && FoldAscii(chars[p + i]) == FoldAscii(pattern[i]))
            i++;
        if (i == length)
        {
            found = p;
            if (!last)
                return p;
        }
    }
    return found;
}

void SCodeEditText::SelectMatch(int line, int column, int length)
{
    SetSelectionRaw(line, column + length, line, column, 1);
}

bool SCodeEditText::Find(const char* text, bool down, bool matchCase, bool wrap, bool fromStart)
{
    int length = text ? (int)strlen(text) : 0;
    int count = m_lines.GetCount();
    if (length == 0 || !m_open || count == 0)
        return false;
    int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    if (HasCaret())
        GetSelection(&startLine, &startColumn, &endLine, &endColumn);
    if (down)
    {
        int line = fromStart ? startLine : endLine;
        int column = fromStart ? startColumn : endColumn;
        for (int i = line; i < count; i++)
        {
            int at = FindInLine(i, text, length, matchCase, i == line ? column : 0, -1, false);
            if (at >= 0)
            {
                SelectMatch(i, at, length);
                return true;
            }
        }
        if (!wrap)
            return false;
        for (int i = 0; i <= startLine && i < count; i++)
        {
            int at = FindInLine(i, text, length, matchCase, 0, i == startLine ? startColumn : -1, false);
            if (at >= 0)
            {
                SelectMatch(i, at, length);
                return true;
            }
        }
        return false;
    }
    // Backward: the last occurrence before the start column, then the last of each earlier line.
    for (int i = startLine; i >= 0; i--)
    {
        int at = FindInLine(i, text, length, matchCase, 0, i == startLine ? startColumn : -1, true);
        if (at >= 0)
        {
            SelectMatch(i, at, length);
            return true;
        }
    }
    if (!wrap)
        return false;
    for (int i = count - 1; i >= endLine; i--)
    {
        int at = FindInLine(i, text, length, matchCase, i == endLine ? endColumn : 0, -1, true);
        if (at >= 0)
        {
            SelectMatch(i, at, length);
            return true;
        }
    }
    return false;
}

bool SCodeEditText::ReplaceOnce(const char* text, const char* replacement, bool matchCase, bool wrap)
{
    if (!Find(text, true, matchCase, wrap, true))
        return false;
    int first = 0, lines = 0, feeds = 0;
    GetSelectedLines(&first, &lines);
    for (const char* p = replacement; p && *p; p++)
        feeds += *p == '\n' ? 1 : 0;
    // A replacement of several lines grows the range: the step must know by how much.
    AddUndo(first, lines, feeds);
    int line = m_startLine, column = m_startColumn;
    if (!InsertText(replacement ? replacement : ""))
    {
        DropLastUndo();
        return false;
    }
    int caretLine = 0, caretColumn = 0;
    GetCaret(&caretLine, &caretColumn);
    SetSelectionRaw(caretLine, caretColumn, line, column, 1);
    return true;
}

int SCodeEditText::ReplaceAll(const char* text, const char* replacement, bool matchCase)
{
    if (!m_open)
        return 0;
    PlaceCaret(0, 0);
    int replaced = 0;
    while (ReplaceOnce(text, replacement, matchCase, false))
    {
        replaced++;
        int line = 0, column = 0;
        GetCaret(&line, &column);
        PlaceCaret(line, column);
    }
    return replaced;
}
