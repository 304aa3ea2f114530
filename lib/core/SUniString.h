#pragma once

#include <stdint.h>

// UTF-16 text for the system interfaces that want wide characters. Converted
// from 8-bit text through the ANSI code page; SString::FromWide converts back.
class SUniString
{
public:
    // No buffer, length 0, capacity 0.
    SUniString();
    // Copy of the text only (the extra values start at 0).
    SUniString(const SUniString& other);
    // Copy of the text; null gives the empty string.
    SUniString(const wchar_t* text);
    // 8-bit text converted through the ANSI code page; null gives the empty string.
    SUniString(const char* text);
    // Frees the buffer.
    virtual ~SUniString();

    // Copies the text only.
    SUniString& operator=(const SUniString& other);
    // Copies the text; null gives the empty string.
    SUniString& operator=(const wchar_t* text);
    // The text, never null (a string without buffer reads as "").
    operator const wchar_t*() const;

    // Frees the buffer: no buffer, length 0, capacity 0.
    void Empty();
    // The buffer, null when there is none.
    wchar_t* GetBuffer() const;
    // Same as GetBuffer.
    wchar_t* GetData() const;
    // Units before the terminator.
    int GetLength() const;
    // Units allocated.
    int GetCapacity() const;
    // True when there is no buffer or the length is 0.
    bool IsEmpty() const;
    // The unit at index, 0 outside the text.
    wchar_t GetAt(int index) const;
    // Sets the length, growing the buffer in steps of 24 units (never shrinking); returns the buffer, null when too large.
    wchar_t* Resize(int length, bool keep = true);
    // Resize keeping the content; new units are set to fill unless fill is 0.
    wchar_t* SetLength(int length, wchar_t fill = 0);
    // Copies length units (all up to the terminator when length < 0); null gives "".
    SUniString& SetText(const wchar_t* text, int length = -1);
    // SetText (text, -1).
    SUniString& AssignWide(const wchar_t* text);
    // Copies other's text, and its extra values unless textOnly.
    SUniString& Copy(const SUniString& other, bool textOnly = true);
    // Copy (other, true).
    SUniString& AssignString(const SUniString& other);
    // Replaces the text by 8-bit text converted through the ANSI code page.
    SUniString& FromAnsi(const char* text);

    // Caller data riding with the text.
    intptr_t GetExtra1() const { return m_extra1; }
    void SetExtra1(intptr_t value) { m_extra1 = value; }
    intptr_t GetExtra2() const { return m_extra2; }
    void SetExtra2(intptr_t value) { m_extra2 = value; }

private:
    wchar_t* m_buffer;
    int32_t m_length;
    int32_t m_capacity;
    intptr_t m_extra1;
    intptr_t m_extra2;
};
