#pragma once

#include <stdint.h>
#include "SString.h"
#include "SUniString.h"

// A named tagged value: a 64-bit integer, a double, an 8-bit text or a
// UTF-16 text, with a tag saying which. Worker threads hand their results to
// the owner thread as such values.
class SValue
{
public:
    // The tags.
    enum Type
    {
        TypeInteger = 0,
        TypeReal = 1,
        TypeText = 2,
        TypeWideText = 3
    };

    // A cleared value: type 0, integer 0.
    SValue();
    // Clears, then frees the members.
    virtual ~SValue();
    SValue(const SValue&) = delete;
    SValue& operator=(const SValue&) = delete;

    // Every field back to empty texts and zeros, type 0.
    void Clear();
    // Copies other's tag and the value of that tag only; returns this.
    SValue* CopyValue(const SValue& other);

    // The tag (0 integer, 1 double, 2 text, 3 wide text).
    int GetType() const { return m_type; }
    // The 64-bit integer (meaningful for type 0).
    int64_t GetInteger() const { return m_integer; }
    // The double (meaningful for type 1).
    double GetReal() const { return m_real; }
    // The 8-bit text (meaningful for type 2).
    const SString& GetText() const { return m_text; }
    // The UTF-16 text (meaningful for type 3).
    const SUniString& GetWideText() const { return m_wideText; }

    // Stores a 64-bit integer and tags the value type 0.
    void SetInteger(int64_t value);
    // Stores a double and tags the value type 1.
    void SetReal(double value);
    // Stores an 8-bit text and tags the value type 2.
    void SetText(const char* text);
    // Stores a UTF-16 text and tags the value type 3.
    void SetWideText(const wchar_t* text);

    // The value's name (not carried by CopyValue).
    const SString& GetName() const { return m_name; }
    void SetName(const char* name) { m_name = name ? name : ""; }
    // A further text (not carried by CopyValue).
    const SString& GetSecondText() const { return m_secondText; }
    void SetSecondText(const char* text) { m_secondText = text ? text : ""; }
    // Caller data that no operation of the class touches.
    int GetTag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    // Caller data that Clear resets to 0.
    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }

private:
    int32_t m_tag;
    SString m_name;
    SString m_secondText;
    int32_t m_flags;
    int32_t m_type;
    int64_t m_integer;
    double m_real;
    SString m_text;
    SUniString m_wideText;
};
