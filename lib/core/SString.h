#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

// 8-bit text in the system ANSI code page: an owned, zero-terminated heap
// buffer with its length and capacity. Ranges are (start, count); arguments
// out of range are clamped or answered with -1, 0, false or the empty text.
class SString
{
public:
    // No buffer, length 0, capacity 0, extra values 0.
    SString();
    // Copy of the text; null gives the empty string (allocated).
    SString(const char* text);
    // Copy of exactly length bytes of text (length < 0: up to its terminator).
    SString(const char* text, int length);
    // Copy of the other string's text only (the extra values stay 0).
    SString(const SString& other);
    // Takes over the other string's buffer; the extra values stay 0.
    SString(SString&& other) noexcept;
    // UTF-16 text converted to the ANSI code page; null gives the empty string.
    SString(const wchar_t* text);
    // count blanks; count <= 0 gives the empty string (allocated).
    explicit SString(int count);
    // Frees the buffer and clears the extra values.
    virtual ~SString();

    // Assignments copy the text alone; the extra values are left unchanged.
    SString& operator=(const SString& other);
    SString& operator=(SString&& other) noexcept;
    SString& operator=(const char* text);
    SString& operator=(const wchar_t* text);
    SString& operator=(char ch);

    // Replaces the text by length bytes of text (length < 0: up to its terminator); null gives the empty string.
    void SetText(const char* text, int length = -1);
    // Replaces the text by a zero-terminated text.
    SString& Assign(const char* text);
    // Replaces the text by length bytes of text.
    SString& AssignChars(const char* text, int length);
    // Replaces the text by one character; the character 0 gives the empty string.
    SString& AssignChar(char ch);
    // Replaces the text by the other string's text.
    SString& AssignString(const SString& other);
    // Copies the other string's text and, when textOnly is false, its extra values too.
    SString& Copy(const SString& other, bool textOnly = true);
    // Replaces the text by UTF-16 text converted to the ANSI code page.
    SString& FromWide(const wchar_t* text);
    // Same as FromWide.
    SString& AssignWide(const wchar_t* text);
    // New UTF-16 copy of the text (free it with delete[]); null when there is no buffer.
    wchar_t* ToWide() const;

    // Frees the buffer: no buffer, length 0, capacity 0.
    void Empty();
    // Same as Empty.
    void Clear();
    // Sets the length, growing the buffer in 16-byte steps (never shrinking); returns the buffer, null when too large.
    char* Resize(int length, bool keep = true);
    // Resize keeping the content; new positions are set to fill unless it is 0.
    char* SetLength(int length, char fill = 0);

    // The writable buffer, null when there is none.
    char* GetBuffer() { return m_buffer; }
    const char* GetBuffer() const { return m_buffer; }
    // Same as GetBuffer.
    char* GetData() { return m_buffer; }
    const char* GetData() const { return m_buffer; }
    // Same as GetBuffer.
    char* GetText() { return m_buffer; }
    const char* GetText() const { return m_buffer; }
    // The text as a C string; "" when there is no buffer.
    operator const char*() const { return m_buffer ? m_buffer : ""; }
    // Number of characters before the terminator.
    int GetLength() const { return m_length; }
    // Bytes allocated for the buffer, 0 when there is none.
    int GetCapacity() const { return m_capacity; }
    // True when there is no buffer or the length is 0.
    bool IsEmpty() const { return m_length == 0; }
    // The character at index, 0 outside the text.
    char GetAt(int index) const;
    // Same as GetAt.
    char operator[](int index) const { return GetAt(index); }
    // Stores ch inside the text (else nothing); storing 0 cuts the text there.
    void SetAt(int index, char ch);

    // Caller data riding with the text, copied only by Copy with textOnly false.
    intptr_t GetExtra1() const { return m_extra1; }
    void SetExtra1(intptr_t value) { m_extra1 = value; }
    intptr_t GetExtra2() const { return m_extra2; }
    void SetExtra2(intptr_t value) { m_extra2 = value; }

    // Validates a start index: a negative start becomes 0; false when start >= length (> length with allowEnd).
    bool ClampStart(int& start, bool allowEnd = false) const;
    // End index of (start, count): a negative count, or one past the end, runs to the end.
    int ClampCount(int count, int start) const;

    // strcmp sign: -1, 0 or 1.
    int Compare(const char* text) const;
    // Case-insensitive compare sign: -1, 0 or 1.
    int CompareNoCase(const char* text) const;
    // True when the texts are equal (case-sensitive).
    bool IsEqual(const char* text) const;
    // True when the texts differ (case-sensitive).
    bool IsNotEqual(const char* text) const;
    bool operator==(const char* text) const { return IsEqual(text); }
    bool operator!=(const char* text) const { return IsNotEqual(text); }
    bool operator==(const SString& other) const { return IsEqual(other); }
    bool operator!=(const SString& other) const { return IsNotEqual(other); }

    // Upper-cases the ASCII letters in place.
    void MakeUpper();
    // Lower-cases the ASCII letters in place.
    void MakeLower();
    // Upper-cased copy.
    SString ToUpper() const;
    // Lower-cased copy.
    SString ToLower() const;

    // First occurrence of ch in the range, -1 when absent.
    int FindChar(char ch, int start = 0, int count = -1) const;
    // First character in the range that differs from ch, -1 when none.
    int FindNot(char ch, int start = 0, int count = -1) const;
    // First match of text inside the range (its end when returnEnd), -1 when absent or text is empty.
    int Find(const char* text, int start = 0, int count = -1, bool returnEnd = false) const;
    // Case-insensitive Find.
    int FindNoCase(const char* text, int start = 0, int count = -1) const;
    // Last occurrence of ch at or before from (-1: the last character), -1 when absent.
    int ReverseFind(char ch, int from = -1) const;
    // ReverseFind of the first of the count listed characters (passed as ints) that occurs at all.
    int ReverseFindAny(int from, int count, ...) const;

    // First count characters.
    SString Left(int count) const;
    // Last count characters.
    SString Right(int count) const;
    // count characters from start (count < 0: to the end).
    SString Mid(int start, int count = -1) const;
    // Characters start .. end - 1; empty when end <= start.
    SString Substring(int start, int end) const;
    // Text after the first ch; empty when ch does not occur.
    SString AfterChar(char ch) const;
    // Text before the first ch; empty when ch does not occur.
    SString BeforeChar(char ch) const;
    // Text before the first ch; the whole text when ch does not occur.
    SString BeforeCharOrAll(char ch) const;
    // This text followed by text.
    SString Concat(const char* text) const;

    // Appends text.
    void Append(const char* text);
    // Appends one character (0 is ignored).
    void AppendChar(char ch);
    // Appends text and returns the string.
    SString& AppendChained(const char* text);
    SString& operator+=(const char* text) { return AppendChained(text); }
    SString& operator+=(const SString& other) { return AppendChained(other); }
    SString& operator+=(char ch) { AppendChar(ch); return *this; }

    // Removes the range; returns the number of characters removed.
    int Delete(int start, int count = -1);
    // Inserts count copies of ch before index (index < 0 appends).
    void InsertChar(char ch, int index, int count = 1);
    // Inserts text times times before index (index < 0 appends).
    void Insert(const char* text, int index, int times = 1);
    // Replaces the range by text (start may equal the length); false when the start is rejected.
    bool ReplaceRange(const char* text, int start, int count);
    // Replaces every oldChar in the range; returns how many were met.
    int ReplaceChar(char oldChar, char newChar, int start = 0, int count = -1);
    // Replaces every oldText in the range, left to right, never rescanning inserted text; returns the count.
    int Replace(const char* oldText, const char* newText, int start = 0, int count = -1, bool matchCase = true);
    // count < 0: removes leading blanks and returns how many; count > 0: removes count characters and returns 0.
    int TrimLeft(int count = -1, bool spacesOnly = false);
    // TrimLeft at the end of the text.
    int TrimRight(int count = -1, bool spacesOnly = false);
    // TrimRight(rightCount) then TrimLeft(leftCount); returns the left result.
    int Trim(int leftCount = -1, int rightCount = -1, bool spacesOnly = false);
    // True when the text is at least 2 long, begins and ends with ch, and has no ch in between.
    bool IsQuoted(char ch = '"') const;
    // Removes the quotes of a quoted text; false when it is not quoted.
    bool Unquote(char ch = '"');

    // Number of CR LF pairs + 1.
    int CountLines() const;
    // Text from start up to the next CR or LF; next receives the index after the break.
    SString GetLine(int start, int* next = nullptr) const;
    // Length of the longest line.
    int GetMaxLineLength() const;
    // Run of blanks or non-blanks at start (the following word instead of a blank run unless keepBlankRun).
    SString GetWord(int start, int* next = nullptr, bool keepBlankRun = false) const;

    // Replaces the text by printf-style formatting.
    SString& Format(const char* format, ...);
    // Replaces the text by printf-style formatting; returns the new length.
    int FormatV(const char* format, va_list args);
    // Replaces the text by "%d" of n.
    SString& FormatInt(int n);
    // Replaces the text by "%u" of n.
    SString& FormatUInt(unsigned int n);
    // Replaces the text by "%I64u" of n.
    SString& FormatUInt64(uint64_t n);

    // Rebuilds the text as lines of exactly width characters joined by CR LF (align 1 centre, 2 right, 3 justify, else left).
    void AlignText(int align, int width, bool wrap);
    // AlignText centred.
    void AlignCenter(int width, bool wrap) { AlignText(1, width, wrap); }
    // AlignText right-aligned.
    void AlignRight(int width, bool wrap) { AlignText(2, width, wrap); }
    // AlignText justified.
    void Justify(int width, bool wrap) { AlignText(3, width, wrap); }

    // Percent-codes every byte but ASCII letters, digits, '-' and '_' (blank as '+' when spaceAsPlus).
    SString& UrlEncode(bool spaceAsPlus = false);
    // Decodes '%' and two characters into a byte ('+' as blank when plusAsSpace).
    SString& UrlDecode(bool plusAsSpace = false);
    // The library's Base64 form: no fill characters, always one closing '='.
    SString& Base64Encode();
    // Reads the library's Base64 form back.
    SString& Base64Decode();
    // "%f" of x without trailing zeros (one kept after the '.' when keepOneDecimal).
    SString& FromReal(double x, bool keepOneDecimal = false);
    // Decimal text with the thousands separator of the current locale record.
    SString& FromInteger(int n);
    // True for digits with at most one '.', an optional leading '-', blanks and tabs around.
    bool IsNumber() const;
    // IsNumber without a '.'.
    bool IsInteger() const;
    // Hexadecimal value (optional "#" or "0x" prefix, at most 16 digits); 0 for anything else.
    uint64_t HexToInt64() const;
    // Strips a leading track number ("01 - Title" becomes "Title").
    SString& RemoveLeadingNumber();

private:
    bool Overlaps(const char* text) const;
    // Exchanges the text (buffer, length, capacity) with other; the extra values stay.
    void SwapText(SString& other);
    // First index in the range whose character equals ch (differs from it when equal is false).
    int FindFirst(char ch, bool equal, int start, int count) const;
    int FindRange(const char* text, int start, int count, bool matchCase) const;
    int LineEnd(int start, int* after) const;
    void Splice(int start, int removeCount, const char* text, int textLength, int times);

    char* m_buffer;
    int32_t m_length;
    int32_t m_capacity;
    intptr_t m_extra1;
    intptr_t m_extra2;
};

// This text followed by text.
SString operator+(const SString& left, const char* right);
SString operator+(const char* left, const SString& right);
SString operator+(const SString& left, const SString& right);
SString operator+(const SString& left, char right);
bool operator==(const char* left, const SString& right);
bool operator!=(const char* left, const SString& right);

// "%d" of n.
SString IntToString(int n);
// "%u" of n.
SString UIntToString(unsigned int n);
// "%I64u" of n.
SString UInt64ToString(uint64_t n);
// Absolute value of n (INT_MIN saturates to INT_MAX).
int AbsInt(int n);
