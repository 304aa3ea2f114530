// The code editor document: its lines, loading and saving, and the selection.
#include "SCodeEditText.h"

#include <limits.h>
#include <string.h>

#include "SFile.h"
#include "SFileMem.h"

namespace
{

bool IsWordChar(char ch)
{
    unsigned char c = (unsigned char)ch;
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsTabOrBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

// 0 word character, 1 blank, 2 anything else.
int CharClass(char ch)
{
    return IsWordChar(ch) ? 0 : IsTabOrBlank(ch) ? 1 : 2;
}

}

SCodeEditText::SCodeEditText()
    : m_startLine(-1), m_startColumn(-1), m_endLine(-1), m_endColumn(-1), m_caretAtStart(true), m_open(false),
      m_singleLine(false), m_tabSize(4), m_maxRaw(-1), m_maxVisual(-1), m_listener(nullptr)
{
}

SCodeEditText::~SCodeEditText()
{
    m_lines.DeleteAll();
    ClearUndo();
}

// --- document ---

bool SCodeEditText::Clear()
{
    bool wasOpen = m_open;
    m_open = false;
    m_startLine = m_startColumn = m_endLine = m_endColumn = -1;
    m_caretAtStart = true;
    m_lines.DeleteAll();
    m_lines.RemoveAll();
    m_checks.RemoveAll();
    m_tags.RemoveAll();
    ClearUndo();
    InvalidateMax();
    return wasOpen;
}

void SCodeEditText::New()
{
    Clear();
    InsertEmptyLines(0, 1);
    m_open = true;
    PlaceCaret(0, 0);
}

bool SCodeEditText::Load(SFile* stream)
{
    if (!stream)
        return false;
    Clear();
    // The rest of the stream in memory, so that its lines are counted before they are stored.
    SFileMem copy;
    SFile* source = stream;
    if (!stream->IsMemory())
    {
        copy.CopyFrom(stream);
        copy.Rewind();
        source = &copy;
    }
    int remaining = source->IsOpen() ? source->GetRemaining() : 0;
    const char* bytes = remaining > 0 ? (const char*)source->GetPositionPointer() : nullptr;
    if (!bytes)
        remaining = 0;
    // A line ends at CR LF only; text after the last break (empty after a final one) is one more line.
    int breaks = 0;
    for (const char* p = bytes; p && p < bytes + remaining;)
    {
        const char* cr = (const char*)memchr(p, '\r', (size_t)(bytes + remaining - p));
        if (!cr)
            break;
        if (cr + 1 < bytes + remaining && cr[1] == '\n')
        {
            breaks++;
            p = cr + 2;
        }
        else
            p = cr + 1;
    }
    int count = breaks + 1;
    if (!m_lines.SetSize(count, false) || !m_checks.SetSize(count, false) || !m_tags.SetSize(count, false))
    {
        m_lines.RemoveAll();
        m_checks.RemoveAll();
        m_tags.RemoveAll();
        return false;
    }
    m_checks.SetAt(-1, false);
    m_tags.SetAt(-1, false);
    const char* p = bytes;
    const char* end = bytes + remaining;
    for (int i = 0; i < count; i++)
    {
        const char* lineEnd = end;
        for (const char* q = p; q && q < end;)
        {
            const char* cr = (const char*)memchr(q, '\r', (size_t)(end - q));
            if (!cr)
                break;
            if (cr + 1 < end && cr[1] == '\n')
            {
                lineEnd = cr;
                break;
            }
            q = cr + 1;
        }
        m_lines.SetAt(i, new SString(p ? p : "", p ? (int)(lineEnd - p) : 0));
        p = lineEnd < end ? lineEnd + 2 : end;
    }
    source->Seek(source->Tell() + remaining);
    m_open = true;
    InvalidateMax();
    PlaceCaret(0, 0);
    return true;
}

bool SCodeEditText::Save(SFile* stream) const
{
    if (!stream)
        return false;
    int count = m_lines.GetCount();
    // Grown once: memory streams otherwise grow in small steps.
    int needed = stream->Tell() + GetTextLength();
    if (needed > stream->GetSize())
    {
        int position = stream->Tell();
        stream->SetSize(needed);
        stream->Seek(position);
    }
    for (int i = 0; i < count; i++)
    {
        const SString* line = m_lines.GetAt(i);
        stream->WriteText(*line, line->GetLength());
        if (i + 1 < count)
            stream->WriteText("\r\n", 2);
    }
    return true;
}

bool SCodeEditText::HasText() const
{
    if (!m_open)
        return false;
    return m_lines.GetCount() > 1 || (m_lines.GetCount() == 1 && m_lines.GetAt(0)->GetLength() > 0);
}

void SCodeEditText::SetTabSize(int size)
{
    m_tabSize = size < 2 ? 2 : size > kMaxTabSize ? kMaxTabSize : size;
    m_maxVisual = -1;
}

int SCodeEditText::NextVisualColumn(int visual, char ch) const
{
    long long next = ch == '\t' ? ((long long)visual / m_tabSize + 1) * m_tabSize : (long long)visual + 1;
    return next > INT_MAX ? INT_MAX : (int)next;
}

// --- lines ---

int SCodeEditText::VisualLength(const SString* text) const
{
    if (!text)
        return 0;
    const char* chars = *text;
    int length = text->GetLength();
    if (!memchr(chars, '\t', (size_t)length))
        return length;
    int visual = 0;
    for (int i = 0; i < length; i++)
        visual = NextVisualColumn(visual, chars[i]);
    return visual;
}

int SCodeEditText::GetLineLength(int line, bool raw) const
{
    const SString* text = m_lines.GetAt(line);
    if (!text)
        return 0;
    return raw ? text->GetLength() : VisualLength(text);
}

int SCodeEditText::GetMaxLineLength(bool raw) const
{
    int& cache = raw ? m_maxRaw : m_maxVisual;
    if (cache >= 0)
        return cache;
    int longest = 0;
    for (int i = 0; i < m_lines.GetCount(); i++)
    {
        int length = raw ? m_lines.GetAt(i)->GetLength() : VisualLength(m_lines.GetAt(i));
        if (length > longest)
            longest = length;
    }
    cache = longest;
    return longest;
}

void SCodeEditText::NoteLineGrew(int line)
{
    const SString* text = m_lines.GetAt(line);
    if (!text)
        return;
    if (m_maxRaw >= 0 && text->GetLength() > m_maxRaw)
        m_maxRaw = text->GetLength();
    if (m_maxVisual >= 0)
    {
        int visual = VisualLength(text);
        if (visual > m_maxVisual)
            m_maxVisual = visual;
    }
}

int SCodeEditText::GetTextLength() const
{
    if (!m_open)
        return 0;
    int total = 0;
    for (int i = 0; i < m_lines.GetCount(); i++)
        total += m_lines.GetAt(i)->GetLength();
    return total + 2 * (m_lines.GetCount() > 0 ? m_lines.GetCount() - 1 : 0);
}

int SCodeEditText::CopyText(char* buffer, int size) const
{
    if (!buffer || size <= 0)
        return 0;
    int room = size - 1;
    int written = 0;
    for (int i = 0; i < m_lines.GetCount() && written < room; i++)
    {
        if (i > 0)
        {
            int n = room - written < 2 ? room - written : 2;
            memcpy(buffer + written, "\r\n", (size_t)n);
            written += n;
        }
        const SString* line = m_lines.GetAt(i);
        int n = line->GetLength() < room - written ? line->GetLength() : room - written;
        if (n > 0)
            memcpy(buffer + written, line->GetText(), (size_t)n);
        written += n;
    }
    buffer[written] = 0;
    return written;
}

int SCodeEditText::GetVisualColumn(int line, int column) const
{
    const SString* text = m_lines.GetAt(line);
    if (!text)
        return 0;
    if (column > text->GetLength())
        column = text->GetLength();
    int visual = 0;
    for (int i = 0; i < column; i++)
        visual = NextVisualColumn(visual, (*text)[i]);
    return visual;
}

int SCodeEditText::GetColumnFromVisual(int line, int visual) const
{
    const SString* text = m_lines.GetAt(line);
    if (!text)
        return 0;
    int position = 0;
    for (int i = 0; i < text->GetLength(); i++)
    {
        int next = NextVisualColumn(position, (*text)[i]);
        if (next > visual)
            return i;
        position = next;
    }
    return text->GetLength();
}

bool SCodeEditText::GetLineFlag(int line, int which) const
{
    return which == 0 ? m_checks.GetAt(line) : m_tags.GetAt(line);
}

void SCodeEditText::SetLineFlag(int line, int which, bool on)
{
    (which == 0 ? m_checks : m_tags).SetAt(line, on);
}

void SCodeEditText::InsertEmptyLines(int index, int count)
{
    if (count <= 0)
        return;
    if (index < 0 || index > m_lines.GetCount())
        index = m_lines.GetCount();
    m_lines.Add(nullptr, index, count);
    for (int i = 0; i < count; i++)
        m_lines.SetAt(index + i, new SString(""));
    m_checks.Add(false, index, count);
    m_tags.Add(false, index, count);
}

void SCodeEditText::RemoveLines(int index, int count)
{
    if (index < 0 || count <= 0 || index >= m_lines.GetCount())
        return;
    if (count > m_lines.GetCount() - index)
        count = m_lines.GetCount() - index;
    for (int i = index; i < index + count; i++)
    {
        SString* text = m_lines.GetAt(i);
        if (text && text->GetLength() >= m_maxRaw)
            m_maxRaw = -1;
        if (m_maxVisual >= 0 && VisualLength(text) >= m_maxVisual)
            m_maxVisual = -1;
        delete text;
    }
    m_lines.RemoveAt(index, count);
    m_checks.RemoveAt(index, count);
    m_tags.RemoveAt(index, count);
}

// --- selection ---

bool SCodeEditText::SetSelectionRaw(int aLine, int aColumn, int bLine, int bColumn, int side)
{
    int values[4] = {aLine, aColumn, bLine, bColumn};
    for (int& value : values)
        if (value < 0)
            value = -1;
    int count = m_lines.GetCount();
    if (values[0] >= count)
        values[0] = count - 1;
    if (values[2] >= count)
        values[2] = count - 1;
    bool anyUnset = values[0] < 0 || values[1] < 0 || values[2] < 0 || values[3] < 0;
    bool equal = values[0] == values[2] && values[1] == values[3];
    bool swapped = false;
    if (anyUnset || equal)
        values[2] = values[3] = -1;
    else if (values[0] > values[2] || (values[0] == values[2] && values[1] > values[3]))
    {
        int line = values[0], column = values[1];
        values[0] = values[2];
        values[1] = values[3];
        values[2] = line;
        values[3] = column;
        swapped = true;
    }
    if (values[0] >= 0 && values[1] > GetLineLength(values[0], true))
        values[1] = GetLineLength(values[0], true);
    if (values[2] >= 0 && values[3] > GetLineLength(values[2], true))
        values[3] = GetLineLength(values[2], true);
    // Clamping may make the two ends meet: that is a bare caret.
    if (values[2] >= 0 && values[0] == values[2] && values[1] == values[3])
        values[2] = values[3] = -1;
    bool atStart = side == 1 ? false : side == 0 ? true : !swapped;
    bool changed = values[0] != m_startLine || values[1] != m_startColumn || values[2] != m_endLine ||
                   values[3] != m_endColumn || atStart != m_caretAtStart;
    m_startLine = values[0];
    m_startColumn = values[1];
    m_endLine = values[2];
    m_endColumn = values[3];
    m_caretAtStart = atStart;
    if (changed && m_open && m_listener)
        m_listener->OnTextSelectionChanged();
    return changed;
}

void SCodeEditText::PlaceCaret(int line, int column)
{
    SetSelectionRaw(line, column, -1, -1, 0);
}

void SCodeEditText::SelectWholeText()
{
    int last = m_lines.GetCount() - 1;
    if (last < 0)
        return;
    SetSelectionRaw(last, GetLineLength(last, true), 0, 0, -1);
}

bool SCodeEditText::SelectLine(int line, bool withBreak)
{
    if (line < 0 || line >= m_lines.GetCount())
        return false;
    if (withBreak)
        SetSelectionRaw(line + 1, 0, line, 0, 1);
    else
        SetSelectionRaw(line, GetLineLength(line, true), line, 0, 1);
    return true;
}

bool SCodeEditText::GetSelection(int* startLine, int* startColumn, int* endLine, int* endColumn) const
{
    bool bare = m_endLine < 0;
    if (startLine)
        *startLine = m_startLine;
    if (startColumn)
        *startColumn = m_startColumn;
    if (endLine)
        *endLine = bare ? m_startLine : m_endLine;
    if (endColumn)
        *endColumn = bare ? m_startColumn : m_endColumn;
    return m_caretAtStart;
}

bool SCodeEditText::GetCaret(int* line, int* column, bool anchorEnd) const
{
    bool atStart = m_endLine < 0 || (m_caretAtStart != anchorEnd);
    int l = atStart ? m_startLine : m_endLine, c = atStart ? m_startColumn : m_endColumn;
    if (line)
        *line = l;
    if (column)
        *column = c;
    return l >= 0;
}

bool SCodeEditText::HasSelection() const
{
    return m_startLine >= 0 && m_startColumn >= 0 && m_endLine >= 0 && m_endColumn >= 0;
}

bool SCodeEditText::IsInSelection(int line, int column) const
{
    if (!HasSelection())
        return false;
    if (line < m_startLine || line > m_endLine)
        return false;
    if (line == m_startLine && column < m_startColumn)
        return false;
    if (line == m_endLine && column >= m_endColumn)
        return false;
    return true;
}

bool SCodeEditText::GetSelectedLines(int* first, int* count) const
{
    if (!HasCaret())
        return false;
    int last = m_endLine >= 0 ? m_endLine : m_startLine;
    *first = m_startLine;
    *count = last - m_startLine + 1;
    return true;
}

SString SCodeEditText::GetSelectedText() const
{
    SString text;
    if (!HasSelection())
        return text;
    const SString* first = m_lines.GetAt(m_startLine);
    if (m_startLine == m_endLine)
        return first->Mid(m_startColumn, m_endColumn - m_startColumn);
    int total = 0;
    for (int i = m_startLine; i <= m_endLine; i++)
        total += m_lines.GetAt(i)->GetLength() + 2;
    text.Resize(total, false);
    text.SetLength(0);
    text.Append(first->Mid(m_startColumn));
    for (int i = m_startLine + 1; i < m_endLine; i++)
    {
        text.Append("\r\n");
        text.Append(*m_lines.GetAt(i));
    }
    text.Append("\r\n");
    text.Append(m_lines.GetAt(m_endLine)->Left(m_endColumn));
    return text;
}

void SCodeEditText::MoveBy(int line, int column, int n, int* outLine, int* outColumn) const
{
    int count = m_lines.GetCount();
    if (count == 0)
    {
        *outLine = *outColumn = 0;
        return;
    }
    if (line < 0)
        line = 0;
    if (line >= count)
        line = count - 1;
    if (column < 0)
        column = 0;
    if (column > GetLineLength(line, true))
        column = GetLineLength(line, true);
    while (n > 0)
    {
        int room = GetLineLength(line, true) - column;
        if (n <= room)
        {
            column += n;
            n = 0;
        }
        else if (line + 1 < count)
        {
            n -= room + 1;
            line++;
            column = 0;
        }
        else
        {
            column += room;
            n = 0;
        }
    }
    while (n < 0)
    {
        if (-n <= column)
        {
            column += n;
            n = 0;
        }
        else if (line > 0)
        {
            n += column + 1;
            line--;
            column = GetLineLength(line, true);
        }
        else
        {
            column = 0;
            n = 0;
        }
    }
    *outLine = line;
    *outColumn = column;
}

bool SCodeEditText::WordBounds(const char* text, int column, int* start, int* end)
{
    int length = text ? (int)strlen(text) : 0;
    if (length == 0)
    {
        *start = 0;
        *end = 0;
        return true;
    }
    if (column < 0)
        column = 0;
    if (column >= length)
        column = length - 1;
    if (*start == -1)
    {
        int kind = CharClass(text[column]);
        int s = column;
        if (kind == 1 && column > 0 && IsWordChar(text[column - 1]))
        {
            // A blank right after a word: the word before it is meant.
            s = column - 1;
            while (s > 0 && IsWordChar(text[s - 1]))
                s--;
        }
        else if (kind != 2)
        {
            while (s > 0 && CharClass(text[s - 1]) == kind)
                s--;
        }
        *start = s;
    }
    if (*end == -1)
    {
        int s = *start < 0 ? 0 : (*start > length - 1 ? length - 1 : *start);
        int kind = CharClass(text[s]);
        int e = s + 1;
        if (kind != 2)
            while (e < length && CharClass(text[e]) == kind)
                e++;
        *end = e;
    }
    return true;
}
