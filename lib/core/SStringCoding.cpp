#include "SString.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{
// Longest source whose coded form still fits an int length.
const int kMaxCodedLength = (INT_MAX - 64) / 3;

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool IsAsciiLetterOrDigit(unsigned char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

// Value of one character of a percent code: digits, then letters of either case from 10.
int PercentDigit(unsigned char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 10;
    return ch;
}

// Six-bit value of a Base64 character, -1 for any other character.
int Base64Value(unsigned char ch)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A';
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 26;
    if (ch >= '0' && ch <= '9')
        return ch - '0' + 52;
    if (ch == '+')
        return 62;
    if (ch == '/')
        return 63;
    return -1;
}

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}
}

SString& SString::UrlEncode(bool spaceAsPlus)
{
    if (IsEmpty())
        return *this;
    static const char hex[] = "0123456789ABCDEF";
    SString coded;
    if (m_length > kMaxCodedLength || !coded.Resize(m_length * 3, false))
        return *this;
    int out = 0;
    for (int i = 0; i < m_length; ++i)
    {
        unsigned char ch = static_cast<unsigned char>(m_buffer[i]);
        if (IsAsciiLetterOrDigit(ch) || ch == '-' || ch == '_')
            coded.m_buffer[out++] = char(ch);
        else if (ch == ' ' && spaceAsPlus)
            coded.m_buffer[out++] = '+';
        else
        {
            coded.m_buffer[out++] = '%';
            coded.m_buffer[out++] = hex[ch >> 4];
            coded.m_buffer[out++] = hex[ch & 15];
        }
    }
    coded.Resize(out, true);
    return AssignString(coded);
}

SString& SString::UrlDecode(bool plusAsSpace)
{
    if (IsEmpty())
        return *this;
    SString decoded;
    if (!decoded.Resize(m_length, false))
        return *this;
    int out = 0;
    for (int i = 0; i < m_length; ++i)
    {
        unsigned char ch = static_cast<unsigned char>(m_buffer[i]);
        if (ch == '%')
        {
            // A code cut short by the end of the text ends the decoding.
            if (i + 2 >= m_length)
                break;
            int high = PercentDigit(static_cast<unsigned char>(m_buffer[i + 1]));
            int low = PercentDigit(static_cast<unsigned char>(m_buffer[i + 2]));
            ch = static_cast<unsigned char>((high * 16 + low) % 256);
            i += 2;
        }
        else if (ch == '+' && plusAsSpace)
        {
            ch = ' ';
        }
        if (ch == 0)
            break;
        decoded.m_buffer[out++] = char(ch);
    }
    decoded.Resize(out, true);
    return AssignString(decoded);
}

SString& SString::Base64Encode()
{
    if (IsEmpty())
        return *this;
    if (m_length > kMaxCodedLength)
        return *this;
    SString coded;
    if (!coded.Resize((m_length + 2) / 3 * 4 + 1, false))
        return *this;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(m_buffer);
    int out = 0;
    int i = 0;
    for (; i + 2 < m_length; i += 3)
    {
        unsigned int group = (unsigned(bytes[i]) << 16) | (unsigned(bytes[i + 1]) << 8) | bytes[i + 2];
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 18) & 63];
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 12) & 63];
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 6) & 63];
        coded.m_buffer[out++] = kBase64Alphabet[group & 63];
    }
    int left = m_length - i;
    if (left == 1)
    {
        unsigned int group = unsigned(bytes[i]) << 16;
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 18) & 63];
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 12) & 63];
    }
    else if (left == 2)
    {
        unsigned int group = (unsigned(bytes[i]) << 16) | (unsigned(bytes[i + 1]) << 8);
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 18) & 63];
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 12) & 63];
        coded.m_buffer[out++] = kBase64Alphabet[(group >> 6) & 63];
    }
    coded.m_buffer[out++] = '=';
    coded.Resize(out, true);
    return AssignString(coded);
}

SString& SString::Base64Decode()
{
    if (IsEmpty())
        return *this;
    SString decoded;
    if (!decoded.Resize(m_length, false))
        return *this;
    // The last character is the closing '=' and is not read; any character
    // outside the alphabet carries no bits.
    unsigned int bits = 0;
    int bitCount = 0;
    int out = 0;
    for (int i = 0; i + 1 < m_length; ++i)
    {
        int value = Base64Value(static_cast<unsigned char>(m_buffer[i]));
        if (value < 0)
            continue;
        bits = ((bits << 6) | unsigned(value)) & 0xFFFFFF;
        bitCount += 6;
        if (bitCount >= 8)
        {
            bitCount -= 8;
            char byte = char((bits >> bitCount) & 0xFF);
            if (byte == 0)
                break;
            decoded.m_buffer[out++] = byte;
        }
    }
    decoded.Resize(out, true);
    return AssignString(decoded);
}

SString& SString::FromReal(double x, bool keepOneDecimal)
{
    Format("%f", x);
    if (FindChar('.') < 0)
        return *this;
    int end = m_length;
    while (end > 0 && m_buffer[end - 1] == '0')
        --end;
    if (end > 0 && m_buffer[end - 1] == '.')
    {
        if (keepOneDecimal)
            ++end;
        else
            --end;
    }
    Resize(end, true);
    return *this;
}

bool SString::IsNumber() const
{
    int start = 0, end = m_length;
    while (start < end && (m_buffer[start] == ' ' || m_buffer[start] == '\t'))
        ++start;
    while (end > start && (m_buffer[end - 1] == ' ' || m_buffer[end - 1] == '\t'))
        --end;
    if (start == end)
        return false;
    bool point = false;
    for (int i = start; i < end; ++i)
    {
        char ch = m_buffer[i];
        if (ch >= '0' && ch <= '9')
            continue;
        if (ch == '-' && i == 0)
            continue;
        if (ch == '.' && !point)
        {
            point = true;
            continue;
        }
        return false;
    }
    char last = m_buffer[end - 1];
    return last != '.' && last != '-';
}

bool SString::IsInteger() const
{
    return IsNumber() && FindChar('.') < 0;
}

uint64_t SString::HexToInt64() const
{
    if (IsEmpty())
        return 0;
    int start = 0;
    if (m_buffer[0] == '#')
        start = 1;
    else if (m_length >= 2 && m_buffer[0] == '0' && (m_buffer[1] == 'x' || m_buffer[1] == 'X'))
        start = 2;
    int digits = m_length - start;
    if (digits < 1 || digits > 16)
        return 0;
    uint64_t value = 0;
    for (int i = start; i < m_length; ++i)
    {
        int digit = HexValue(m_buffer[i]);
        if (digit < 0)
            return 0;
        value = (value << 4) | uint64_t(digit);
    }
    return value;
}

SString& SString::RemoveLeadingNumber()
{
    if (IsEmpty() || m_buffer[0] < '0' || m_buffer[0] > '9')
        return *this;
    int i = 0;
    while (i < m_length && m_buffer[i] >= '0' && m_buffer[i] <= '9')
        ++i;
    ++i;
    while (i < m_length && (m_buffer[i] == ' ' || m_buffer[i] == '-' || m_buffer[i] == '.'))
        ++i;
    if (i < m_length)
        Delete(0, i);
    return *this;
}

int AbsInt(int n)
{
    if (n == INT_MIN)
        return INT_MAX;
    return n < 0 ? -n : n;
}
