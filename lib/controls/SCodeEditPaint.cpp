// Layout, scrolling, colouring and painting of the code editor. Every cell has
// the same width (the font's average character width), so widths are computed,
// never measured per character.
#include "SCodeEditCtrl.h"

#include <limits.h>
#include <string.h>

namespace
{

// Where the caret is parked while it must not show.
const int kCaretParked = -182;

enum SegmentKind { kPlain, kString, kComment, kKeyword, kUpper };

bool IsWordChar(char ch)
{
    unsigned char c = (unsigned char)ch;
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Upper-case letters, digits and '_', at least one letter, not starting with a digit.
bool IsUpperWord(const char* word, int length)
{
    if (length <= 0 || (word[0] >= '0' && word[0] <= '9'))
        return false;
    bool letter = false;
    for (int i = 0; i < length; i++)
    {
        char ch = word[i];
        if (ch >= 'A' && ch <= 'Z')
            letter = true;
        else if (!((ch >= '0' && ch <= '9') || ch == '_'))
            return false;
    }
    return letter;
}

int CeilDiv(int value, int divisor)
{
    return divisor > 0 ? (value + divisor - 1) / divisor : 0;
}

}

// --- layout and scrolling ---

void SCodeEditCtrl::Layout()
{
    if (!GetHandle())
        return;
    RECT client = {0, 0, 0, 0};
    GetClientRect(&client);
    m_digits = DigitCount();
    int barWidth = m_minBarWidth;
    if (m_showNumbers && 8 * m_digits > barWidth)
        barWidth = 8 * m_digits;
    m_barRect = {0, 0, barWidth, client.bottom};
    m_textRect = {barWidth + m_gap, 0, client.right, client.bottom};
    int height = m_textRect.bottom - m_textRect.top, width = m_textRect.right - m_textRect.left;
    if (height < 0)
        height = 0;
    if (width < 0)
        width = 0;
    m_visibleRows = CeilDiv(height, m_lineHeight);
    m_fullRows = m_lineHeight > 0 ? height / m_lineHeight : 0;
    m_visibleColumns = CeilDiv(width, m_charWidth);
    m_fullColumns = m_charWidth > 0 ? width / m_charWidth : 0;
    SetScrollSteps(true, 1, 5, 1);
    SetScrollSteps(false, 1, 5, 1);
    m_rangeLines = m_rangeColumns = -1;
    UpdateScrollRanges();
}

void SCodeEditCtrl::UpdateScrollRanges()
{
    if (!GetHandle())
        return;
    if (m_barsPending)
    {
        KillTimer(kBarsTimer);
        m_barsPending = false;
    }
    if (!m_text.IsOpen())
    {
        SetScrollInfo(true, 0, 0, 0, false);
        SetScrollInfo(false, 0, 0, 0, false);
        ShowScrollBar(true, false);
        ShowScrollBar(false, false);
        m_rangeLines = m_rangeColumns = -1;
        return;
    }
    int lines = m_text.GetLineCount(), columns = m_text.GetMaxLineLength(false);
    if (lines != m_rangeLines)
    {
        SetScrollInfo(true, 0, lines, m_visibleRows, true);
        if (!m_showVerticalBar)
            ShowScrollBar(true, false);
    }
    if (columns != m_rangeColumns)
    {
        SetScrollInfo(false, 0, columns, m_visibleColumns, true);
        if (!m_showHorizontalBar)
            ShowScrollBar(false, false);
    }
    m_rangeLines = lines;
    m_rangeColumns = columns;
    SetTopLine(m_topLine);
    SetLeftColumn(m_leftColumn);
    if (GetScrollPos(true) != m_topLine)
        SetScrollPos(true, m_topLine, true);
    if (GetScrollPos(false) != m_leftColumn)
        SetScrollPos(false, m_leftColumn, true);
    if (m_barsPending)
    {
        KillTimer(kBarsTimer);
        m_barsPending = false;
    }
}

void SCodeEditCtrl::ScheduleBars()
{
    // Wine repaints a scroll bar in tens of milliseconds: the bars follow the text a moment
    // later, once for a whole burst of keys, so that no key waits for them.
    if (!GetHandle() || m_barsPending)
        return;
    m_barsPending = true;
    SetTimer(kBarsTimer, kBarsDelay);
}

void SCodeEditCtrl::SetTopLine(int line)
{
    // As the scroll bar itself clamps: the last position leaves one page past the range.
    int last = m_text.GetLineCount() - m_visibleRows + 1;
    if (line > last)
        line = last;
    if (line < 0)
        line = 0;
    m_topLine = line;
    if (GetHandle() && GetScrollPos(true) != line)
        ScheduleBars();
}

void SCodeEditCtrl::SetLeftColumn(int column)
{
    int last = m_text.GetMaxLineLength(false) - m_visibleColumns + 1;
    if (column > last)
        column = last;
    if (column < 0)
        column = 0;
    m_leftColumn = column;
    if (GetHandle() && GetScrollPos(false) != column)
        ScheduleBars();
}

// --- coordinates ---

POINT SCodeEditCtrl::PositionToPixels(int line, int column) const
{
    int visual = m_text.GetVisualColumn(line, column) - m_leftColumn;
    POINT point = {m_textRect.left + visual * m_charWidth, (line - m_topLine) * m_lineHeight};
    return point;
}

bool SCodeEditCtrl::HitTest(int x, int y, bool clamp, int* line, int* column) const
{
    *line = *column = -1;
    if (x < m_textRect.left || x >= m_textRect.right || y < m_textRect.top || y >= m_textRect.bottom ||
        m_lineHeight <= 0 || m_charWidth <= 0 || !m_text.IsOpen())
        return false;
    int row = (y - m_textRect.top) / m_lineHeight;
    int target = (x - m_textRect.left) / m_charWidth + m_leftColumn;
    int hit = row + m_topLine;
    int count = m_text.GetLineCount();
    if (hit >= count)
    {
        if (!clamp)
            return false;
        *line = count - 1;
        *column = m_text.GetLineLength(count - 1, true);
        return true;
    }
    int at = m_text.GetColumnFromVisual(hit, target);
    if (at >= m_text.GetLineLength(hit, true) && !clamp &&
        target >= m_text.GetLineLength(hit, false))
        return false;
    *line = hit;
    *column = at;
    return true;
}

// --- caret ---

void SCodeEditCtrl::PlaceCaret()
{
    int line = 0, column = 0;
    if (!m_text.GetCaret(&line, &column))
    {
        ShowCaret(false);
        return;
    }
    if (m_scrollRequest)
    {
        int rows = m_fullRows > 0 ? m_fullRows : 1;
        int columns = m_fullColumns > 0 ? m_fullColumns : 1;
        if (m_scrollRequest & 2)
            SetTopLine(line > rows / 2 ? line - rows / 2 : 0);
        else if (line < m_topLine)
            SetTopLine(line);
        else if (line >= m_topLine + rows)
            SetTopLine(line - rows + 1);
        int visual = m_text.GetVisualColumn(line, column);
        if (visual < m_leftColumn)
            SetLeftColumn(visual);
        else if (visual >= m_leftColumn + columns)
            SetLeftColumn(visual - columns + 1);
        m_scrollRequest = 0;
    }
    POINT point = PositionToPixels(line, column);
    bool visible = point.x >= m_textRect.left && line >= m_topLine && line < m_topLine + m_visibleRows;
    SetCaretPosition(visible ? point.x : kCaretParked, visible ? point.y : kCaretParked);
    ShowCaret(visible);
}

// --- painting ---

void SCodeEditCtrl::PaintAll(HDC dc)
{
    if (!dc)
        return;
    HWND handle = GetHandle();
    bool hidden = handle && HideCaret(handle);
    if (!m_text.IsOpen())
    {
        ShowCaret(false);
    }
    else
    {
        if (m_rangeLines != m_text.GetLineCount() || m_rangeColumns != m_text.GetMaxLineLength(false))
            ScheduleBars();
        PlaceCaret();
        for (int row = 0; row < m_visibleRows; row++)
            PaintLine(dc, row, nullptr);
    }
    if (hidden)
        ::ShowCaret(handle);
}

int SCodeEditCtrl::FindKeyword(const char* word, int length) const
{
    for (int i = 0; i < m_keywords.GetCount(); i++)
    {
        const SString* keyword = m_keywords.GetString(i);
        if (keyword->GetLength() == length && memcmp(keyword->GetText(), word, (size_t)length) == 0)
            return i;
    }
    return -1;
}

SString SCodeEditCtrl::ExpandColumns(const char* chars, int from, int to, int start, int first, int last) const
{
    SString text;
    int visual = start;
    for (int i = from; i < to && visual - start < last; i++)
    {
        int next = m_text.NextVisualColumn(visual, chars[i]);
        int column = visual - start, nextColumn = next - start;
        if (chars[i] == '\t')
        {
            int begin = column > first ? column : first, stop = nextColumn < last ? nextColumn : last;
            if (stop > begin)
                text.InsertChar(' ', -1, stop - begin);
        }
        else if (column >= first)
            text.AppendChar(chars[i]);
        visual = next;
    }
    return text;
}

int SCodeEditCtrl::DrawSegment(HDC dc, const SString& line, int from, int to, int x, int y, int kind,
                               int keyword, bool print, int* visual)
{
    if (to <= from)
        return x;
    const char* chars = line;
    int startVisual = *visual;
    for (int i = from; i < to; i++)
        *visual = m_text.NextVisualColumn(*visual, chars[i]);
    int count = *visual - startVisual;
    long long endX = (long long)x + (long long)count * m_charWidth;
    int end = endX > INT_MAX ? INT_MAX : (int)endX;
    // Only the columns inside the text area and the device's clip box are expanded and
    // drawn: a line of wide tabs can be far longer than anything on show.
    long long skip = 0, last = count;
    if (!print && x < m_textRect.left)
        skip = ((long long)m_textRect.left - x + m_charWidth - 1) / m_charWidth;
    RECT clip;
    int region = GetClipBox(dc, &clip);
    bool clipped = region == SIMPLEREGION || region == COMPLEXREGION;
    if (clipped && clip.left > x && ((long long)clip.left - x) / m_charWidth > skip)
        skip = ((long long)clip.left - x) / m_charWidth;
    long long right = print ? LLONG_MAX : m_textRect.right;
    if (clipped && clip.right < right)
        right = clip.right;
    if (right < endX)
        last = right <= x ? 0 : (right - x + m_charWidth - 1) / m_charWidth;
    int drawX = (int)(x + skip * m_charWidth);
    if (skip < last)
    {
        // Without tabs a column is a character: the line's own text is drawn.
        bool hasTab = memchr(chars + from, '\t', (size_t)(to - from)) != nullptr;
        SString expanded;
        if (hasTab)
            expanded = ExpandColumns(chars, from, to, startVisual, (int)skip, (int)last);
        const char* text = hasTab ? (const char*)expanded : chars + from + skip;
        int shown = hasTab ? expanded.GetLength() : (int)(last - skip);
        COLORREF color = m_colors[kColorText];
        HFONT font = m_font;
        switch (kind)
        {
        case kComment: color = m_colors[kColorComment]; break;
        case kString: color = m_stringMode ? m_colors[kColorString] : m_colors[kColorText]; break;
        case kKeyword:
            color = (COLORREF)m_keywordColors.GetAt(keyword);
            if (m_keywordBold.GetAt(keyword) && m_boldFont)
                font = m_boldFont;
            break;
        case kUpper: color = m_colors[kColorUpper]; break;
        default: break;
        }
        HGDIOBJ old = font != m_font ? SelectObject(dc, font) : nullptr;
        SetTextColor(dc, color);
        TextOutA(dc, drawX, y, text, shown);
        if (old)
            SelectObject(dc, old);
    }
    return end;
}

void SCodeEditCtrl::PaintLine(HDC dc, int row, const RECT* printRect)
{
    bool print = printRect != nullptr;
    int line = print ? row : row + m_topLine;
    RECT text = print ? *printRect : m_textRect;
    int y = print ? printRect->top : m_textRect.top + row * m_lineHeight;
    int height = m_lineHeight;
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    const SString* source = m_text.GetLineText(line);
    bool exists = source != nullptr;

    int caretLine = -1, caretColumn = 0;
    if (!m_text.SelectionSpansLines())
        m_text.GetCaret(&caretLine, &caretColumn);
    bool isCaretLine = exists && line == caretLine;
    bool isHighlight = exists && line == m_highlightLine;

    RECT rowRect = {text.left, y, text.right, y + height};
    if (print)
        FillRect(dc, &rowRect, m_brushes[kColorBack]);
    else
    {
        HBRUSH back = isHighlight ? m_brushes[kColorHighlight]
                      : isCaretLine ? m_brushes[kColorBackFocus] : m_brushes[kColorBack];
        FillRect(dc, &rowRect, back);
        RECT gap = {m_barRect.right, y, m_textRect.left, y + height};
        FillRect(dc, &gap, m_brushes[kColorBack]);
        RECT bar = {m_barRect.left, y, m_barRect.right, y + height};
        FillRect(dc, &bar, exists ? m_brushes[kColorBar] : m_brushes[kColorBarGray]);
        if (exists)
        {
            bool checked = m_text.GetLineFlag(line, 0), tagged = m_text.GetLineFlag(line, 1);
            if (checked)
                FillRect(dc, &bar, m_brushes[kColorBarCheck]);
            if (tagged)
            {
                RECT box = bar;
                InflateRect(&box, -2, -2);
                FillRect(dc, &box, m_brushes[kColorBarMark]);
            }
            if (m_showNumbers && m_numberFont)
            {
                char number[16];
                wsprintfA(number, "%d", line + 1);
                HGDIOBJ previous = SelectObject(dc, m_numberFont);
                SetTextColor(dc, checked || tagged ? m_colors[kColorNumberMarked] : m_colors[kColorNumber]);
                DrawTextA(dc, number, -1, &bar, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
                SelectObject(dc, previous);
            }
        }
    }
    if (!exists)
    {
        SetBkMode(dc, oldMode);
        SelectObject(dc, oldFont);
        return;
    }

    int originX = text.left - (print ? 0 : m_leftColumn * m_charWidth);
    const char* chars = *source;
    int length = source->GetLength();
    if (!print && isCaretLine && !isHighlight)
    {
        // The caret-line colour starts at the indentation.
        int firstText = 0;
        while (firstText < length && chars[firstText] == '\t')
            firstText++;
        int right = originX + m_text.GetVisualColumn(line, firstText) * m_charWidth;
        if (right > text.right)
            right = text.right;
        RECT indent = {text.left, y, right, y + height};
        if (right > text.left)
            FillRect(dc, &indent, m_brushes[kColorBack]);
    }

    // One scan into segments, each drawn when it ends.
    enum { kStatePlain, kStateWord, kStateString, kStateComment } state = kStatePlain;
    int x = originX, visual = 0, segment = 0, word = 0;
    auto endWord = [&](int end) {
        int keyword = FindKeyword(chars + word, end - word);
        if (keyword >= 0 && !SkipKeyword(keyword, line, word, end))
        {
            x = DrawSegment(dc, *source, segment, end, x, y, kKeyword, keyword, print, &visual);
            segment = end;
        }
        else if (m_upperWords && IsUpperWord(chars + word, end - word))
        {
            x = DrawSegment(dc, *source, segment, end, x, y, kUpper, -1, print, &visual);
            segment = end;
        }
        state = kStatePlain;
    };
    int i = 0;
    while (i < length)
    {
        char ch = chars[i];
        if (state == kStateString)
        {
            i++;
            if (ch == '"')
            {
                x = DrawSegment(dc, *source, segment, i, x, y, kString, -1, print, &visual);
                segment = i;
                state = kStatePlain;
            }
            continue;
        }
        if (state == kStateComment)
        {
            i++;
            continue;
        }
        if (state == kStateWord)
        {
            if (IsWordChar(ch))
            {
                i++;
                continue;
            }
            endWord(i);
        }
        if (IsWordChar(ch))
        {
            x = DrawSegment(dc, *source, segment, i, x, y, kPlain, -1, print, &visual);
            segment = word = i;
            state = kStateWord;
            i++;
        }
        else if (ch == '"')
        {
            x = DrawSegment(dc, *source, segment, i, x, y, kPlain, -1, print, &visual);
            segment = i;
            state = kStateString;
            i++;
        }
        else if (ch == '/')
        {
            x = DrawSegment(dc, *source, segment, i, x, y, kPlain, -1, print, &visual);
            segment = i;
            if (m_commentMode && i + 1 < length && chars[i + 1] == '/')
            {
                state = kStateComment;
                i += 2;
            }
            else
                i++;
        }
        else
            i++;
    }
    if (state == kStateWord)
        endWord(length);
    int lastKind = state == kStateComment ? kComment : state == kStateString ? kString : kPlain;
    x = DrawSegment(dc, *source, segment, length, x, y, lastKind, -1, print, &visual);

    if (!print && m_text.HasSelection())
    {
        int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
        m_text.GetSelection(&startLine, &startColumn, &endLine, &endColumn);
        if (line >= startLine && line <= endLine)
        {
            int from = line == startLine ? startColumn : 0;
            int to = line == endLine ? endColumn : length;
            int left = originX + m_text.GetVisualColumn(line, from) * m_charWidth;
            int right = originX + m_text.GetVisualColumn(line, to) * m_charWidth;
            // The line break of a line the selection continues past shows as selected.
            if (line < endLine)
                right += m_charWidth / 2;
            if (left < text.left)
                left = text.left;
            if (right > left)
            {
                RECT inverted = {left, y, right, y + height};
                InvertRect(dc, &inverted);
            }
        }
    }
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}
