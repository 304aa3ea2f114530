#include "SStringArray.h"

SStringArray::SStringArray(const SStringArray& other)
    : SArray<SString*>()
{
    SStringArray::CopyFrom(other);
}

SStringArray& SStringArray::operator=(const SStringArray& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

SStringArray::~SStringArray()
{
    SStringArray::FreeStorage();
}

SArray<SString*>& SStringArray::CopyFrom(const SArray<SString*>& other)
{
    if (this == &other)
        return *this;
    DeleteAll();
    if (!SetSize(other.GetCount(), false))
    {
        SetSize(0, false);
        return *this;
    }
    m_flags = other.GetFlags();
    for (int i = 0; i < m_count; i++)
    {
        SString* source = *other.GetPtr(i);
        m_data[i] = nullptr;
        if (source)
            AssignElement(m_data + i, &source, i, 0);
    }
    return *this;
}

void SStringArray::FreeStorage()
{
    DeleteAll();
    SArray<SString*>::FreeStorage();
}

SString** SStringArray::AssignElement(SString** dst, SString* const* src, int index, INT_PTR arg)
{
    (void)index;
    (void)arg;
    SString* copy = new SString();
    if (src && *src)
        copy->Copy(**src, false);
    else
        copy->Assign("");
    *dst = copy;
    return dst;
}

int SStringArray::Compare(SString* const* a, SString* const* b, int compareFlags, INT_PTR arg) const
{
    (void)arg;
    if (compareFlags & 1)
    {
        SString* const* held = a;
        a = b;
        b = held;
    }
    // A null element (left by DeleteAll) compares as the empty text.
    SString none;
    const SString& left = *a ? **a : none;
    const char* right = *b ? (const char*)**b : "";
    int c = (compareFlags & 0x10000) ? left.CompareNoCase(right) : left.Compare(right);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void SStringArray::ParseElement(SString** dst, const char* text)
{
    SString* decoded = new SString(text);
    decoded->Base64Decode();
    *dst = decoded;
}

SString SStringArray::FormatElement(SString* const* element) const
{
    SString text(*element ? (const char*)**element : "");
    text.Base64Encode();
    return text;
}

SStringArray& SStringArray::AssignFrom(const SStringArray& other)
{
    if (this == &other)
        return *this;
    DestroyAll();
    for (int i = 0; i < other.m_count; i++)
        Add(other.m_data[i] ? (const char*)*other.m_data[i] : "");
    return *this;
}

int SStringArray::Add(const char* text, int index, int count)
{
    SString value(text);
    return SArray<SString*>::Add(&value, index, count);
}

int SStringArray::InsertSorted(const char* text, int start, int end)
{
    SString value(text);
    return SArray<SString*>::InsertSorted(&value, start, end);
}

int SStringArray::FindSorted(const char* text, int start, int end) const
{
    SString value(text);
    return SArray<SString*>::FindSorted(&value, start, end);
}

int SStringArray::Find(const char* text, int start, int end) const
{
    SString value(text);
    return SArray<SString*>::Find(&value, start, end);
}

int SStringArray::Remove(const char* text, int start, int end)
{
    SString value(text);
    if (!ClampRange(start, end))
        return 0;
    SString* target = &value;
    int removed = 0;
    for (int i = end - 1; i >= start; i--)
    {
        if (Compare(m_data + i, &target, m_flags, 0) == 0)
        {
            DeleteAndRemoveAt(i, 1);
            removed++;
        }
    }
    return removed;
}

void SStringArray::RemoveAll()
{
    DestroyAll();
}

SString SStringArray::GetAt(int index) const
{
    SString* element = GetString(index);
    return element ? SString(*element) : SString("");
}

SString SStringArray::GetFirst() const
{
    return GetAt(0);
}

SString* SStringArray::GetString(int index) const
{
    return index >= 0 && index < m_count ? m_data[index] : nullptr;
}

void SStringArray::SetAt(int index, const char* text)
{
    if (index < 0 || index >= m_count)
        return;
    if (!m_data[index])
        m_data[index] = new SString();
    m_data[index]->Assign(text ? text : "");
}

int SStringArray::FindMatches(const char* pattern, SArray<int>* out, char multi, char single) const
{
    int matches = 0;
    for (int i = 0; i < m_count; i++)
    {
        const char* text = m_data[i] ? (const char*)*m_data[i] : "";
        if (MatchPattern(text, pattern, multi, single))
        {
            matches++;
            if (out)
                out->Add(i);
        }
    }
    return matches;
}

bool SStringArray::MatchPattern(const char* text, const char* pattern, char multi, char single)
{
    if (!text)
        text = "";
    if (!pattern)
        pattern = "";
    // Greedy match with one backtrack point: the last multi wildcard seen
    // retries its run one text character longer on each mismatch.
    const char* retryPattern = nullptr;
    const char* retryText = nullptr;
    while (*text)
    {
        if (multi && *pattern == multi)
        {
            retryPattern = ++pattern;
            retryText = text;
        }
        else if (*pattern && (*pattern == *text || (single && *pattern == single)))
        {
            pattern++;
            text++;
        }
        else if (retryPattern)
        {
            pattern = retryPattern;
            text = ++retryText;
        }
        else
            return false;
    }
    while (multi && *pattern == multi)
        pattern++;
    return *pattern == 0;
}

SString SStringArray::Join(const char* separator, int start, int count) const
{
    SString result("");
    if (start < 0 || start >= m_count || count == 0)
        return result;
    int end = (count < 0 || count > m_count - start) ? m_count : start + count;
    for (int i = start; i < end; i++)
    {
        if (i > start && separator)
            result += separator;
        if (m_data[i])
            result += *m_data[i];
    }
    return result;
}
