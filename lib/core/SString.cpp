#include "SString.h"
#include "STextBuffer.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace
{
// Lengths above this would overflow the 16-byte capacity rounding.
const int kMaxLength = INT_MAX - 32;

int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

char UpperAscii(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? char(ch - 'a' + 'A') : ch;
}

char LowerAscii(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch;
}
}

SString::SString() : m_buffer(nullptr), m_length(0), m_capacity(0), m_extra1(0), m_extra2(0)
{
}

SString::SString(const char* text) : SString()
{
    SetText(text, -1);
}

SString::SString(const char* text, int length) : SString()
{
    SetText(text, length);
}

SString::SString(const SString& other) : SString()
{
    SetText(other.m_buffer, other.m_length);
}

SString::SString(SString&& other) noexcept : SString()
{
    SwapText(other);
}

SString::SString(const wchar_t* text) : SString()
{
    FromWide(text);
}

SString::SString(int count) : SString()
{
    if (count < 0)
        count = 0;
    if (Resize(count, false))
        memset(m_buffer, ' ', size_t(m_length));
}

SString::~SString()
{
    m_extra1 = 0;
    m_extra2 = 0;
    free(m_buffer);
}

SString& SString::operator=(const SString& other)
{
    return AssignString(other);
}

SString& SString::operator=(SString&& other) noexcept
{
    if (this != &other)
    {
        SwapText(other);
    }
    return *this;
}

SString& SString::operator=(const char* text)
{
    return Assign(text);
}

SString& SString::operator=(const wchar_t* text)
{
    return FromWide(text);
}

SString& SString::operator=(char ch)
{
    return AssignChar(ch);
}

void SString::SwapText(SString& other)
{
    std::swap(m_buffer, other.m_buffer);
    std::swap(m_length, other.m_length);
    std::swap(m_capacity, other.m_capacity);
}

bool SString::Overlaps(const char* text) const
{
    if (!text || !m_buffer)
        return false;
    // Compare as integers: the pointers may belong to different blocks.
    uintptr_t p = uintptr_t(text), begin = uintptr_t(m_buffer);
    return p >= begin && p < begin + uintptr_t(m_capacity);
}

void SString::SetText(const char* text, int length)
{
    STextBuffer::Assign(m_buffer, m_length, m_capacity, text, length, 16, kMaxLength);
}

SString& SString::Assign(const char* text)
{
    SetText(text, -1);
    return *this;
}

SString& SString::AssignChars(const char* text, int length)
{
    SetText(text, length);
    return *this;
}

SString& SString::AssignChar(char ch)
{
    if (ch == 0)
        SetText("", 0);
    else
        SetText(&ch, 1);
    return *this;
}

SString& SString::AssignString(const SString& other)
{
    return Copy(other, true);
}

SString& SString::Copy(const SString& other, bool textOnly)
{
    if (this == &other)
        return *this;
    // A buffer-less other copies as the empty text.
    SetText(other.m_buffer, other.m_length);
    if (!textOnly)
    {
        m_extra1 = other.m_extra1;
        m_extra2 = other.m_extra2;
    }
    return *this;
}

SString& SString::FromWide(const wchar_t* text)
{
    if (!text || !*text)
    {
        SetText("", 0);
        return *this;
    }
    int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1 || !Resize(needed - 1, false))
    {
        SetText("", 0);
        return *this;
    }
    int written = WideCharToMultiByte(CP_ACP, 0, text, -1, m_buffer, needed, nullptr, nullptr);
    // The count includes the terminator; a failed conversion leaves nothing.
    m_length = written > 0 ? written - 1 : 0;
    m_buffer[m_length] = 0;
    return *this;
}

SString& SString::AssignWide(const wchar_t* text)
{
    return FromWide(text);
}

wchar_t* SString::ToWide() const
{
    if (!m_buffer)
        return nullptr;
    wchar_t* wide = new wchar_t[size_t(m_length) + 1];
    int converted = 0;
    if (m_length > 0)
        converted = MultiByteToWideChar(CP_ACP, 0, m_buffer, m_length, wide, m_length);
    if (converted < 0)
        converted = 0;
    // A multi-byte code page yields fewer units: zero the rest.
    for (int i = converted; i <= m_length; ++i)
        wide[i] = 0;
    return wide;
}

void SString::Empty()
{
    STextBuffer::Free(m_buffer, m_length, m_capacity);
}

void SString::Clear()
{
    Empty();
}

char* SString::Resize(int length, bool keep)
{
    return STextBuffer::Resize(m_buffer, m_length, m_capacity, length, keep, 16, kMaxLength);
}

char* SString::SetLength(int length, char fill)
{
    return STextBuffer::SetLength(m_buffer, m_length, m_capacity, length, fill, 16, kMaxLength);
}

char SString::GetAt(int index) const
{
    if (!m_buffer || index < 0 || index >= m_length)
        return 0;
    return m_buffer[index];
}

void SString::SetAt(int index, char ch)
{
    if (!m_buffer || index < 0 || index >= m_length)
        return;
    m_buffer[index] = ch;
    if (ch == 0)
        m_length = index;
}

bool SString::ClampStart(int& start, bool allowEnd) const
{
    if (start < 0)
    {
        start = 0;
        return true;
    }
    return allowEnd ? start <= m_length : start < m_length;
}

int SString::ClampCount(int count, int start) const
{
    if (count < 0 || count > m_length - start)
        count = m_length - start;
    return start + count;
}

int SString::Compare(const char* text) const
{
    return Sign(strcmp(*this, text ? text : ""));
}

int SString::CompareNoCase(const char* text) const
{
    return Sign(_stricmp(*this, text ? text : ""));
}

bool SString::IsEqual(const char* text) const
{
    return Compare(text) == 0;
}

bool SString::IsNotEqual(const char* text) const
{
    return Compare(text) != 0;
}

void SString::MakeUpper()
{
    for (int i = 0; i < m_length; ++i)
        m_buffer[i] = UpperAscii(m_buffer[i]);
}

void SString::MakeLower()
{
    for (int i = 0; i < m_length; ++i)
        m_buffer[i] = LowerAscii(m_buffer[i]);
}

SString SString::ToUpper() const
{
    SString copy(*this);
    copy.MakeUpper();
    return copy;
}

SString SString::ToLower() const
{
    SString copy(*this);
    copy.MakeLower();
    return copy;
}

int SString::FindFirst(char ch, bool equal, int start, int count) const
{
    if (!ClampStart(start, false))
        return -1;
    int end = ClampCount(count, start);
    for (int i = start; i < end; ++i)
        if ((m_buffer[i] == ch) == equal)
            return i;
    return -1;
}

int SString::FindChar(char ch, int start, int count) const
{
    return FindFirst(ch, true, start, count);
}

int SString::FindNot(char ch, int start, int count) const
{
    return FindFirst(ch, false, start, count);
}

int SString::FindRange(const char* text, int start, int count, bool matchCase) const
{
    if (!text || !*text || !ClampStart(start, false))
        return -1;
    int end = ClampCount(count, start);
    size_t measured = strlen(text);
    if (measured > size_t(end - start))
        return -1;
    for (int p = start; p <= end - int(measured); ++p)
    {
        int differs = matchCase ? strncmp(m_buffer + p, text, measured) : _strnicmp(m_buffer + p, text, measured);
        if (differs == 0)
            return p;
    }
    return -1;
}

int SString::Find(const char* text, int start, int count, bool returnEnd) const
{
    int at = FindRange(text, start, count, true);
    return (at >= 0 && returnEnd) ? at + int(strlen(text)) : at;
}

int SString::FindNoCase(const char* text, int start, int count) const
{
    return FindRange(text, start, count, false);
}

int SString::ReverseFind(char ch, int from) const
{
    if (from == -1)
        from = m_length - 1;
    if (from < 0 || from >= m_length)
        return -1;
    for (int i = from; i >= 0; --i)
        if (m_buffer[i] == ch)
            return i;
    return -1;
}

int SString::ReverseFindAny(int from, int count, ...) const
{
    int found = -1;
    va_list args;
    va_start(args, count);
    for (int i = 0; i < count && found < 0; ++i)
        found = ReverseFind(char(va_arg(args, int)), from);
    va_end(args);
    return found;
}

SString SString::Left(int count) const
{
    if (count <= 0)
        return SString("");
    return SString(m_buffer ? m_buffer : "", count < m_length ? count : m_length);
}

SString SString::Right(int count) const
{
    if (count <= 0)
        return SString("");
    if (count >= m_length)
        return *this;
    return SString(m_buffer + m_length - count, count);
}

SString SString::Mid(int start, int count) const
{
    if (!ClampStart(start, false))
        return SString("");
    int end = ClampCount(count, start);
    return SString(m_buffer + start, end - start);
}

SString SString::Substring(int start, int end) const
{
    if (start < 0)
        start = 0;
    if (end <= start)
        return SString("");
    return Mid(start, end - start);
}

SString SString::AfterChar(char ch) const
{
    int at = FindChar(ch);
    return at < 0 ? SString("") : Mid(at + 1);
}

SString SString::BeforeChar(char ch) const
{
    int at = FindChar(ch);
    return at < 0 ? SString("") : Left(at);
}

SString SString::BeforeCharOrAll(char ch) const
{
    int at = FindChar(ch);
    return at < 0 ? SString(*this) : Left(at);
}

SString SString::Concat(const char* text) const
{
    SString joined(*this);
    joined.Append(text);
    return joined;
}

void SString::Splice(int start, int removeCount, const char* text, int textLength, int times)
{
    // The inserted text may live in our own buffer: take a copy first.
    SString source;
    if (Overlaps(text))
    {
        source.SetText(text, textLength);
        text = source;
    }
    long long inserted = (long long)textLength * times;
    long long total = (long long)m_length - removeCount + inserted;
    if (inserted < 0 || total > kMaxLength)
        return;
    int oldLength = m_length;
    if (!m_buffer)
        Resize(0, false);
    int tail = oldLength - start - removeCount;
    if (int(total) > oldLength)
    {
        if (!Resize(int(total), true))
            return;
        memmove(m_buffer + start + inserted, m_buffer + start + removeCount, size_t(tail));
    }
    else
    {
        memmove(m_buffer + start + inserted, m_buffer + start + removeCount, size_t(tail));
        Resize(int(total), true);
    }
    for (int i = 0; i < times; ++i)
        memcpy(m_buffer + start + (long long)i * textLength, text, size_t(textLength));
}

void SString::Append(const char* text)
{
    if (!text)
        return;
    size_t measured = strlen(text);
    if (measured > size_t(kMaxLength))
        return;
    if (!m_buffer)
        Resize(0, false);
    Splice(m_length, 0, text, int(measured), 1);
}

void SString::AppendChar(char ch)
{
    if (ch != 0)
    {
        if (!m_buffer)
            Resize(0, false);
        Splice(m_length, 0, &ch, 1, 1);
    }
}

SString& SString::AppendChained(const char* text)
{
    Append(text);
    return *this;
}

int SString::Delete(int start, int count)
{
    if (!ClampStart(start, false))
        return 0;
    int end = ClampCount(count, start);
    if (end <= start)
        return 0;
    Splice(start, end - start, "", 0, 0);
    return end - start;
}

void SString::InsertChar(char ch, int index, int count)
{
    if (ch == 0 || count < 1 || index > m_length)
        return;
    if (index < 0)
        index = m_length;
    if ((long long)m_length + count > kMaxLength)
        return;
    SString run(count);
    memset(run.m_buffer, ch, size_t(count));
    Splice(index, 0, run, count, 1);
}

void SString::Insert(const char* text, int index, int times)
{
    if (!text || !*text || times < 1 || index > m_length)
        return;
    if (index < 0)
        index = m_length;
    size_t measured = strlen(text);
    if (measured > size_t(kMaxLength))
        return;
    Splice(index, 0, text, int(measured), times);
}

bool SString::ReplaceRange(const char* text, int start, int count)
{
    if (!ClampStart(start, true))
        return false;
    int end = ClampCount(count, start);
    if (!text)
        text = "";
    size_t measured = strlen(text);
    if (measured > size_t(kMaxLength))
        return false;
    Splice(start, end - start, text, int(measured), 1);
    return true;
}

int SString::ReplaceChar(char oldChar, char newChar, int start, int count)
{
    if (!ClampStart(start, false))
        return 0;
    int end = ClampCount(count, start);
    int met = 0;
    for (int i = start; i < end && i < m_length; ++i)
    {
        if (m_buffer[i] == oldChar)
        {
            ++met;
            SetAt(i, newChar);
        }
    }
    return met;
}

int SString::Replace(const char* oldText, const char* newText, int start, int count, bool matchCase)
{
    if (!oldText || !*oldText || !ClampStart(start, false))
        return 0;
    if (!newText)
        newText = "";
    // Both texts may point into this string: keep copies.
    SString oldCopy(oldText), newCopy(newText);
    int oldLength = oldCopy.GetLength(), newLength = newCopy.GetLength();
    int end = ClampCount(count, start);
    int replaced = 0;
    int p = start;
    while (p < end)
    {
        int at = matchCase ? Find(oldCopy, p, end - p) : FindNoCase(oldCopy, p, end - p);
        if (at < 0)
            break;
        int before = m_length;
        ReplaceRange(newCopy, at, oldLength);
        if (m_length - before != newLength - oldLength)
            break;
        ++replaced;
        p = at + newLength;
        end += newLength - oldLength;
    }
    return replaced;
}

int SString::TrimLeft(int count, bool spacesOnly)
{
    if (count == 0 || m_length == 0)
        return 0;
    if (count > 0)
    {
        Delete(0, count >= m_length ? m_length : count);
        return 0;
    }
    int blanks = 0;
    while (blanks < m_length && (m_buffer[blanks] == ' ' || (!spacesOnly && m_buffer[blanks] == '\t')))
        ++blanks;
    if (blanks > 0)
        Delete(0, blanks);
    return blanks;
}

int SString::TrimRight(int count, bool spacesOnly)
{
    if (count == 0 || m_length == 0)
        return 0;
    if (count > 0)
    {
        Resize(count >= m_length ? 0 : m_length - count, true);
        return 0;
    }
    int blanks = 0;
    while (blanks < m_length)
    {
        char ch = m_buffer[m_length - 1 - blanks];
        if (ch != ' ' && (spacesOnly || ch != '\t'))
            break;
        ++blanks;
    }
    if (blanks > 0)
        Resize(m_length - blanks, true);
    return blanks;
}

int SString::Trim(int leftCount, int rightCount, bool spacesOnly)
{
    TrimRight(rightCount, spacesOnly);
    return TrimLeft(leftCount, spacesOnly);
}

bool SString::IsQuoted(char ch) const
{
    if (m_length < 2 || m_buffer[0] != ch || m_buffer[m_length - 1] != ch)
        return false;
    return FindChar(ch, 1, m_length - 2) < 0;
}

bool SString::Unquote(char ch)
{
    if (!IsQuoted(ch))
        return false;
    Resize(m_length - 1, true);
    Delete(0, 1);
    return true;
}

int SString::CountLines() const
{
    int lines = 1;
    for (int i = 0; i + 1 < m_length; ++i)
        if (m_buffer[i] == '\r' && m_buffer[i + 1] == '\n')
            ++lines;
    return lines;
}

int SString::LineEnd(int start, int* after) const
{
    int end = start;
    while (end < m_length && m_buffer[end] != '\r' && m_buffer[end] != '\n')
        ++end;
    int behind = end;
    if (behind < m_length)
    {
        // A CR LF pair is one break.
        if (m_buffer[behind] == '\r' && behind + 1 < m_length && m_buffer[behind + 1] == '\n')
            behind += 2;
        else
            ++behind;
    }
    *after = behind;
    return end;
}

SString SString::GetLine(int start, int* next) const
{
    if (start < 0)
        return SString("");
    if (start >= m_length)
    {
        if (next)
            *next = m_length;
        return SString("");
    }
    int after = 0;
    int end = LineEnd(start, &after);
    if (next)
        *next = after;
    return SString(m_buffer + start, end - start);
}

int SString::GetMaxLineLength() const
{
    int longest = 0;
    int start = 0;
    while (start < m_length)
    {
        int after = 0;
        int end = LineEnd(start, &after);
        if (end - start > longest)
            longest = end - start;
        start = after;
    }
    return longest;
}

SString SString::GetWord(int start, int* next, bool keepBlankRun) const
{
    if (start < 0)
        return SString("");
    if (start >= m_length)
    {
        if (next)
            *next = start;
        return SString("");
    }
    bool blank = IsBlank(m_buffer[start]);
    int end = start;
    while (end < m_length && IsBlank(m_buffer[end]) == blank)
        ++end;
    if (blank && !keepBlankRun)
    {
        start = end;
        while (end < m_length && !IsBlank(m_buffer[end]))
            ++end;
    }
    if (next)
        *next = end;
    return SString(m_buffer + start, end - start);
}

SString& SString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
    return *this;
}

int SString::FormatV(const char* format, va_list args)
{
    if (!format)
    {
        SetText("", 0);
        return 0;
    }
    va_list measureArgs;
    va_copy(measureArgs, args);
    int needed = _vscprintf(format, measureArgs);
    va_end(measureArgs);
    // The arguments may point into this string: format into a fresh buffer.
    SString result;
    if (needed < 0 || !result.Resize(needed, false))
    {
        SetText("", 0);
        return 0;
    }
    va_list writeArgs;
    va_copy(writeArgs, args);
    int written = _vsnprintf(result.m_buffer, size_t(needed) + 1, format, writeArgs);
    va_end(writeArgs);
    if (written < 0 || written > needed)
        written = 0;
    result.m_buffer[written] = 0;
    result.m_length = int(strlen(result.m_buffer));
    SwapText(result);
    return m_length;
}

SString& SString::FormatInt(int n)
{
    return Format("%d", n);
}

SString& SString::FormatUInt(unsigned int n)
{
    return Format("%u", n);
}

SString& SString::FormatUInt64(uint64_t n)
{
    return Format("%I64u", (unsigned long long)n);
}

SString operator+(const SString& left, const char* right)
{
    return left.Concat(right);
}

SString operator+(const char* left, const SString& right)
{
    SString joined(left);
    joined.Append(right);
    return joined;
}

SString operator+(const SString& left, const SString& right)
{
    return left.Concat(right);
}

SString operator+(const SString& left, char right)
{
    SString joined(left);
    joined.AppendChar(right);
    return joined;
}

bool operator==(const char* left, const SString& right)
{
    return right.IsEqual(left);
}

bool operator!=(const char* left, const SString& right)
{
    return right.IsNotEqual(left);
}

SString IntToString(int n)
{
    SString text;
    text.FormatInt(n);
    return text;
}

SString UIntToString(unsigned int n)
{
    SString text;
    text.FormatUInt(n);
    return text;
}

SString UInt64ToString(uint64_t n)
{
    SString text;
    text.FormatUInt64(n);
    return text;
}
