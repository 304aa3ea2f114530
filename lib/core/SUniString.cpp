#include "SUniString.h"
#include "STextBuffer.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace
{
const int CapacityStep = 24;
const int MaxLength = 0x3FFFFFFF - CapacityStep;
}

SUniString::SUniString() : m_buffer(nullptr), m_length(0), m_capacity(0), m_extra1(0), m_extra2(0)
{
}

SUniString::SUniString(const SUniString& other) : SUniString()
{
    Copy(other, true);
}

SUniString::SUniString(const wchar_t* text) : SUniString()
{
    SetText(text, -1);
}

SUniString::SUniString(const char* text) : SUniString()
{
    FromAnsi(text);
}

SUniString::~SUniString()
{
    m_extra1 = 0;
    m_extra2 = 0;
    free(m_buffer);
}

SUniString& SUniString::operator=(const SUniString& other)
{
    return AssignString(other);
}

SUniString& SUniString::operator=(const wchar_t* text)
{
    return AssignWide(text);
}

SUniString::operator const wchar_t*() const
{
    return m_buffer ? m_buffer : L"";
}

void SUniString::Empty()
{
    STextBuffer::Free(m_buffer, m_length, m_capacity);
}

wchar_t* SUniString::GetBuffer() const
{
    return m_buffer;
}

wchar_t* SUniString::GetData() const
{
    return m_buffer;
}

int SUniString::GetLength() const
{
    return m_length;
}

int SUniString::GetCapacity() const
{
    return m_capacity;
}

bool SUniString::IsEmpty() const
{
    return !m_buffer || m_length == 0;
}

wchar_t SUniString::GetAt(int index) const
{
    if (!m_buffer || index < 0 || index >= m_length)
        return 0;
    return m_buffer[index];
}

wchar_t* SUniString::Resize(int newLength, bool keep)
{
    return STextBuffer::Resize(m_buffer, m_length, m_capacity, newLength, keep, CapacityStep, MaxLength);
}

wchar_t* SUniString::SetLength(int newLength, wchar_t fill)
{
    return STextBuffer::SetLength(m_buffer, m_length, m_capacity, newLength, fill, CapacityStep, MaxLength);
}

SUniString& SUniString::SetText(const wchar_t* text, int count)
{
    STextBuffer::Assign(m_buffer, m_length, m_capacity, text, count, CapacityStep, MaxLength);
    return *this;
}

SUniString& SUniString::AssignWide(const wchar_t* text)
{
    return SetText(text, -1);
}

SUniString& SUniString::Copy(const SUniString& other, bool textOnly)
{
    // A buffer-less other copies as the empty text.
    if (&other != this)
        SetText(other.m_buffer, other.m_length);
    if (!textOnly)
    {
        m_extra1 = other.m_extra1;
        m_extra2 = other.m_extra2;
    }
    return *this;
}

SUniString& SUniString::AssignString(const SUniString& other)
{
    return Copy(other, true);
}

SUniString& SUniString::FromAnsi(const char* text)
{
    size_t bytes = text ? strlen(text) : 0;
    if (bytes > static_cast<size_t>(MaxLength))
        return *this;
    int count = static_cast<int>(bytes);
    if (!SetLength(count, 0))
        return *this;
    if (count > 0)
    {
        // A multi-byte code page yields fewer units than bytes; the length
        // follows what the conversion really produced.
        int converted = MultiByteToWideChar(CP_ACP, 0, text, count, m_buffer, count);
        if (converted < 0)
            converted = 0;
        m_length = converted;
        m_buffer[m_length] = 0;
    }
    return *this;
}
