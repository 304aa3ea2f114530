#include "SStringParser.h"
#include <cstdlib>

template class SArray<SStringParser*>;

SStringParser::SStringParser()
    : SString()
{
}

SStringParser::SStringParser(const char* text)
    : SString(text)
{
}

SStringParser::~SStringParser()
{
    Reset();
}

void SStringParser::Reset()
{
    m_tokens.DestroyAll();
    m_separators.Assign("");
    m_quote = '"';
    m_flags = 0;
    m_cursor = 0;
}

int SStringParser::Parse(const char* separators, int flags, char quote, SStringArray* out)
{
    if (IsEmpty())
        return 0;
    Reset();
    m_separators.Assign(separators ? separators : "");
    m_quote = quote;
    m_flags = flags;
    if (CheckSettings() != 1)
    {
        Reset();
        return -1;
    }
    SStringArray* target = out ? out : &m_tokens;
    SString token;
    int count = 0;
    int result;
    while ((result = NextToken(token)) == 1)
    {
        if (flags & 8)
            token.Trim(-1, -1, true);
        if ((flags & 7) == 7)
            token.Unquote(quote);
        target->Add(token);
        count++;
    }
    if (result < 0)
    {
        Reset();
        return -1;
    }
    return count;
}

int SStringParser::ParseText(const char* text, const char* separators, int flags, char quote,
                             SStringArray* out)
{
    Assign(text ? text : "");
    return Parse(separators, flags, quote, out);
}

int SStringParser::GetCount() const
{
    return m_tokens.GetCount();
}

SString SStringParser::GetToken(int index) const
{
    return m_tokens.GetAt(index);
}

SString* SStringParser::GetTokenPtr(int index) const
{
    return m_tokens.GetString(index);
}

int SStringParser::GetTokenAsInt(int index) const
{
    SString* token = GetTokenPtr(index);
    return token ? atoi(*token) : 0;
}

bool SStringParser::GetTokenAsBool(int index) const
{
    return GetTokenAsInt(index) != 0;
}

int SStringParser::FindToken(const char* text, bool matchCase) const
{
    if (!text)
        text = "";
    for (int i = 0; i < m_tokens.GetCount(); i++)
    {
        SString* token = m_tokens.GetString(i);
        if (!token)
            continue;
        if (matchCase ? token->IsEqual(text) : token->CompareNoCase(text) == 0)
            return i;
    }
    return -1;
}

bool SStringParser::IsSeparator(char ch) const
{
    return ch != 0 && m_separators.FindChar(ch) >= 0;
}

bool SStringParser::IsQuote(char ch) const
{
    return (m_flags & 1) && ch == m_quote;
}

int SStringParser::CheckSettings() const
{
    if (IsEmpty())
        return 0;
    if ((m_flags & 1) && IsSeparator(m_quote))
        return -1;
    if ((m_flags & 8) && m_quote == ' ')
        return -1;
    return 1;
}

int SStringParser::SkipBlankRun(int position) const
{
    const char* text = *this;
    int length = GetLength();
    char blank = text[position];
    bool anyBlank = IsSeparator(' ') && IsSeparator('\t');
    int next = position + 1;
    while (next < length && (anyBlank ? (text[next] == ' ' || text[next] == '\t') : text[next] == blank))
        next++;
    // A blank run that reaches the end ends the last token.
    if (next >= length)
        return length + 1;
    // 'a ;b' split at blank and ';' gives two tokens, not three.
    if (IsSeparator(text[next]))
        next++;
    return next;
}

int SStringParser::NextToken(SString& out)
{
    out.Assign("");
    int length = GetLength();
    if (m_cursor > length)
        return 0;
    const char* text = *this;
    int start = m_cursor;
    bool inQuotes = false;
    while (true)
    {
        if (m_cursor >= length)
        {
            if (inQuotes)
                return -1;
            out.AssignChars(text + start, length - start);
            m_cursor = length + 1;
            return 1;
        }
        char ch = text[m_cursor];
        bool separator = IsSeparator(ch);
        bool quote = IsQuote(ch);
        if (!separator && !quote)
        {
            m_cursor++;
            continue;
        }
        if (inQuotes)
        {
            if ((m_flags & 3) == 3 && m_cursor + 1 < length && !IsSeparator(text[m_cursor + 1]))
            {
                m_cursor++;
                out.AssignChars(text + start, m_cursor - start);
                return 1;
            }
            if (quote)
                inQuotes = false;
            m_cursor++;
            continue;
        }
        if (quote)
        {
            inQuotes = true;
            m_cursor++;
            continue;
        }
        out.AssignChars(text + start, m_cursor - start);
        if (ch == ' ' || ch == '\t')
            m_cursor = SkipBlankRun(m_cursor);
        else
            m_cursor++;
        return 1;
    }
}
