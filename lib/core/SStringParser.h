#pragma once

#include "SArray.h"
#include "SString.h"
#include "SStringArray.h"

// Splits its own text into tokens at a set of separator characters, with an
// optional quote character that keeps separators inside a token.
// Flags: 1 quotes active; 2 (with 1) a separator or quote inside quotes that
// is followed by a non-separator ends the token; 8 tokens trimmed of spaces;
// 7 (1, 2 and 4) quoted tokens lose their enclosing quotes.
class SStringParser : public SString
{
public:
    // No text; empty separators, quote '"', flags 0.
    SStringParser();
    // The text to split; empty separators, quote '"', flags 0.
    SStringParser(const char* text);
    // Resets, deleting the tokens.
    ~SStringParser() override;

    // Deletes the tokens; separators empty, quote '"', flags 0, cursor 0.
    void Reset();
    // Splits the text into out (or the parser's own list when out is null);
    // returns the token count, 0 for an empty text (previous tokens kept),
    // -1 on a setting conflict or an unclosed quote (parser left empty).
    int Parse(const char* separators, int flags = 0, char quote = '"', SStringArray* out = nullptr);
    // Replaces the text, then Parse.
    int ParseText(const char* text, const char* separators, int flags = 0, char quote = '"',
                  SStringArray* out = nullptr);

    // Number of tokens in the parser's own list.
    int GetCount() const;
    // A copy of token index; empty outside the list.
    SString GetToken(int index) const;
    // Token index inside the parser's own list; null outside.
    SString* GetTokenPtr(int index) const;
    // atoi of token index; 0 for a missing token.
    int GetTokenAsInt(int index) const;
    // GetTokenAsInt != 0.
    bool GetTokenAsBool(int index) const;
    // Index of the first token equal to text (ignoring case unless matchCase); -1 when none.
    int FindToken(const char* text, bool matchCase) const;

    // True when ch is one of the separators.
    bool IsSeparator(char ch) const;
    // True when quotes are active and ch is the quote character.
    bool IsQuote(char ch) const;
    // 0 for an empty text, -1 for conflicting settings, 1 otherwise.
    int CheckSettings() const;
    // Reads the token at the cursor into out: 1 read, 0 nothing left, -1 unclosed quote.
    int NextToken(SString& out);

private:
    // Ends a blank-separator run starting at position; returns the cursor after it.
    int SkipBlankRun(int position) const;

    SStringArray m_tokens;
    SString m_separators;
    char m_quote = '"';
    int m_flags = 0;
    int m_cursor = 0;
};

extern template class SArray<SStringParser*>;
