#include "SString.h"

#include <cstring>
#include <vector>

namespace
{
// Spaces to put into the retained part of a cut, wrapped line: each goes into
// the shortest run of spaces between words, the first of equally short ones.
void JustifyPart(SString& part, int spaces)
{
    for (int added = 0; added < spaces; ++added)
    {
        int length = part.GetLength();
        int bestStart = -1, bestLength = 0;
        int i = 0;
        while (i < length && part.GetAt(i) == ' ')
            ++i;
        while (i < length)
        {
            if (part.GetAt(i) != ' ')
            {
                ++i;
                continue;
            }
            int runStart = i;
            while (i < length && part.GetAt(i) == ' ')
                ++i;
            if (i < length && (bestStart < 0 || i - runStart < bestLength))
            {
                bestStart = runStart;
                bestLength = i - runStart;
            }
        }
        if (bestStart < 0)
        {
            part.SetLength(length + spaces - added, ' ');
            return;
        }
        part.InsertChar(' ', bestStart, 1);
    }
}
}

void SString::AlignText(int align, int width, bool wrap)
{
    if (width < 1)
        width = GetMaxLineLength();
    if (width < 1)
        return;
    SString source(*this);
    Resize(0, false);
    memset(m_buffer, 0, size_t(m_capacity));

    int position = 0;
    bool first = true;
    for (;;)
    {
        int next = source.GetLength();
        SString raw = source.GetLine(position, &next);
        bool lastLine = position + raw.GetLength() >= source.GetLength();

        // Trim the blanks at both ends, then expand tabs, remembering for
        // every expanded character where it stands in the source line.
        int lead = 0;
        while (lead < raw.GetLength() && raw.GetAt(lead) == ' ')
            ++lead;
        int trail = raw.GetLength();
        while (trail > lead && raw.GetAt(trail - 1) == ' ')
            --trail;
        SString line;
        line.Resize(0, false);
        std::vector<int> origin;
        for (int i = lead; i < trail; ++i)
        {
            if (raw.GetAt(i) == '\t')
            {
                line.Append("    ");
                for (int k = 0; k < 4; ++k)
                    origin.push_back(i);
            }
            else
            {
                line.AppendChar(raw.GetAt(i));
                origin.push_back(i);
            }
        }

        int length = line.GetLength();
        int resume = -1;
        SString part;
        bool cutAndWrapped = false;
        if (length == 0)
        {
            part = SString(width);
        }
        else
        {
            int cut = 0, p = 0;
            while (p < length)
            {
                int end = p;
                SString word = line.GetWord(p, &end, false);
                if (word.IsEmpty() || end > width)
                    break;
                cut = end;
                if (end == width)
                    break;
                p = end;
            }
            if (cut == 0)
                cut = width < length ? width : length;
            int rest = line.FindNot(' ', cut);
            if (cut < length && rest >= 0 && wrap)
            {
                resume = position + origin.at(rest);
                cutAndWrapped = true;
            }
            part = line.Left(cut);
            int spaces = width - part.GetLength();
            if (align == 1)
            {
                part.InsertChar(' ', 0, spaces / 2);
                part.SetLength(width, ' ');
            }
            else if (align == 2)
            {
                part.InsertChar(' ', 0, spaces);
            }
            else if (align == 3 && cutAndWrapped)
            {
                JustifyPart(part, spaces);
            }
            else
            {
                part.SetLength(width, ' ');
            }
        }

        if (!first)
            Append("\r\n");
        Append(part);
        first = false;

        if (resume >= 0)
            position = resume;
        else if (lastLine)
            break;
        else
            position = next;
    }
}
