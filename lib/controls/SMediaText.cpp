#include "SMediaText.h"

#include <ctype.h>
#include <string.h>

#include "SDraw.h"
#include "SString.h"

namespace
{

// The longest name of the tag table ("CENTER"); longer tags are text at once.
const int kLongestTagName = 6;

struct TagName
{
    const char* name;
    int kind;
};

const TagName kTagNames[] = {
    {"B", SMEDIATAG_BOLD},       {"I", SMEDIATAG_ITALIC},     {"U", SMEDIATAG_UNDERLINE},
    {"LINK", SMEDIATAG_LINK},    {"IMG", SMEDIATAG_IMAGE},    {"LEFT", SMEDIATAG_LEFT},
    {"L", SMEDIATAG_LEFT},       {"CENTER", SMEDIATAG_CENTER}, {"C", SMEDIATAG_CENTER},
    {"RIGHT", SMEDIATAG_RIGHT},  {"R", SMEDIATAG_RIGHT},
};

// The pair at index of the tag's inner characters (before its '>'); 0 when missing or not hexadecimal.
unsigned HexPair(const char* tag, int innerLength, int index)
{
    if (index + 1 >= innerLength || !isxdigit((unsigned char)tag[index]) ||
        !isxdigit((unsigned char)tag[index + 1]))
        return 0;
    return (unsigned)SString(tag + index, 2).HexToInt64();
}

bool SameNoCase(const char* text, int length, const char* name)
{
    int i = 0;
    for (; i < length && name[i]; i++)
    {
        char ch = text[i];
        if (ch >= 'a' && ch <= 'z')
            ch = (char)(ch - 'a' + 'A');
        if (ch != name[i])
            return false;
    }
    return i == length && name[i] == 0;
}

const char* FindByte(const char* from, const char* end, char ch)
{
    return from < end ? (const char*)memchr(from, ch, (size_t)(end - from)) : nullptr;
}

}

unsigned SMediaTagList::ParseColor(const char* tag, int length)
{
    int inner = length - 1; // the characters before '>'
    unsigned red = HexPair(tag, inner, 2), green = HexPair(tag, inner, 4), blue = HexPair(tag, inner, 6);
    unsigned alpha = 254;
    if (length == 11)
    {
        alpha = HexPair(tag, inner, 8);
        if (alpha == 255)
            alpha = 254;
    }
    return alpha << 24 | red << 16 | green << 8 | blue;
}

int SMediaTagList::Classify(const char* tag, int length, bool* opening, unsigned* color)
{
    *color = 0;
    *opening = true;
    if (!tag || length < 3 || tag[0] != '<' || tag[length - 1] != '>')
        return -1;
    if (tag[1] == '#')
    {
        *color = ParseColor(tag, length);
        return SMEDIATAG_COLOR;
    }
    const char* name = tag + 1;
    int nameLength = length - 2;
    if (tag[1] == '/')
    {
        *opening = false;
        if (length >= 4 && tag[2] == '#')
            return SMEDIATAG_COLOR;
        name++;
        nameLength--;
    }
    if (nameLength < 1 || nameLength > kLongestTagName)
        return -1;
    for (const TagName& entry : kTagNames)
        if (SameNoCase(name, nameLength, entry.name))
            return entry.kind;
    return -1;
}

void SMediaTagList::Clear()
{
    m_tags.clear();
    m_segments.clear();
}

void SMediaTagList::AddTag(int kind, bool opening, unsigned color, int start)
{
    m_tags.push_back({kind, opening, color, (int)m_segments.size(), 0});
    StartSegment(start);
}

void SMediaTagList::StartSegment(int start)
{
    // A tag's segments stay together: new segments always belong to the last tag.
    m_segments.push_back({start, -2});
    m_tags.back().segmentCount++;
}

void SMediaTagList::EndSegment(int end)
{
    // Segments open and close in turn: the last one is the open one.
    if (!m_segments.empty() && m_segments.back().end == -2)
        m_segments.back().end = end;
}

void SMediaTagList::Parse(const char* text, int length)
{
    Clear();
    if (!text)
        length = 0;
    else if (length < 0)
        length = (int)strlen(text);
    AddTag(SMEDIATAG_START, true, 0, 0);
    const char* end = text + length;
    int position = 0;
    while (position < length)
    {
        const char* lineStart = text + position;
        const char* lineEnd = lineStart;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            lineEnd++;
        // A line ends at CR, LF or CR LF.
        const char* next = lineEnd;
        if (next < end && *next++ == '\r' && next < end && *next == '\n')
            next++;

        // Tags never span lines: both searches stop at the line's end.
        const char* scan = lineStart;
        for (;;)
        {
            const char* open = FindByte(scan, lineEnd, '<');
            const char* close = FindByte(scan, lineEnd, '>');
            if (!open || !close || close < open)
                break;
            scan = close + 1;
            bool opening = true;
            unsigned color = 0;
            int kind = Classify(open, (int)(close - open + 1), &opening, &color);
            if (kind < 0)
                continue;
            EndSegment((int)(open - text));
            AddTag(kind, opening, color, (int)(scan - text));
        }
        EndSegment(lineEnd == lineStart ? -1 : (int)(lineEnd - text));
        position = (int)(next - text);
        if (position < length)
            StartSegment(position);
    }
    EndSegment(length);
}

bool SMediaTagList::GetSegment(const SMediaTag* tag, int index, SMediaSegment* out) const
{
    if (!tag || !out || index < 0 || index >= tag->segmentCount)
        return false;
    size_t at = (size_t)tag->firstSegment + (size_t)index;
    if (at >= m_segments.size())
        return false;
    *out = m_segments[at];
    return true;
}

unsigned SMediaArgb(unsigned color)
{
    COLORREF value = ResolveColor(color);
    return 0xFE000000u | (unsigned)GetRValue(value) << 16 | (unsigned)GetGValue(value) << 8 |
           (unsigned)GetBValue(value);
}

void SMediaWiden(const char* text, int length, SUniString* out)
{
    if (!text || length <= 0)
    {
        out->SetText(L"", 0);
        return;
    }
    wchar_t* buffer = out->Resize(length, false);
    if (!buffer)
    {
        out->SetText(L"", 0);
        return;
    }
    int converted = MultiByteToWideChar(CP_ACP, 0, text, length, buffer, length);
    if (converted == length)
        return;
    // A multi-byte code page: convert byte by byte so positions still match.
    for (int i = 0; i < length; i++)
    {
        wchar_t ch = 0;
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text + i, 1, &ch, 1) != 1)
            ch = 0xFFFD;
        buffer[i] = ch;
    }
}
