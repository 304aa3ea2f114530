#include "SDialogEditor.h"

#include <stdlib.h>
#include <string.h>

#include "SDraw.h"
#include "SStringParser.h"


uint32_t SDialogEditor::_SCtrl::ReadDecimal(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        text++;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    uint64_t value = 0;
    for (int digits = 0; *text >= '0' && *text <= '9' && digits < 19; text++, digits++)
        value = value * 10 + (uint64_t)(*text - '0');
    return (uint32_t)(negative ? (uint64_t)0 - value : value);
}

SDialogEditor::_SCtrl::_SCtrl()
    : m_id(0), m_type(-1), m_fontSize(0), m_fontStyle(0), m_x(10), m_y(10), m_width(150), m_height(150),
      m_locked(0), m_isDialog(0), m_style(0), m_exStyle(0), m_backColor(SCOLOR_NONE), m_textColor(SCOLOR_NONE),
      m_transparent(0), m_wnd(nullptr), m_font(nullptr), m_propertyScroll(0)
{
}

SDialogEditor::_SCtrl::~_SCtrl()
{
    m_extra.Empty();
    delete m_wnd;
    if (m_font)
        DeleteObject(m_font);
}

void SDialogEditor::_SCtrl::CopyFrom(const _SCtrl& other)
{
    if (&other == this)
        return;
    m_id = other.m_id;
    m_type = other.m_type;
    m_name = other.m_name;
    m_caption = other.m_caption;
    m_fontFace = other.m_fontFace;
    m_fontSize = other.m_fontSize;
    m_fontStyle = other.m_fontStyle;
    m_x = other.m_x;
    m_y = other.m_y;
    m_width = other.m_width;
    m_height = other.m_height;
    m_locked = other.m_locked;
    m_isDialog = other.m_isDialog;
    m_style = other.m_style;
    m_exStyle = other.m_exStyle;
    m_backColor = other.m_backColor;
    m_textColor = other.m_textColor;
    m_transparent = other.m_transparent;
    m_extra = other.m_extra;
    m_propertyScroll = other.m_propertyScroll;
}

void SDialogEditor::_SCtrl::SetFont(const char* face, int size, unsigned style)
{
    m_fontFace = face ? face : "";
    m_fontSize = (int16_t)size;
    m_fontStyle = style;
}

void SDialogEditor::_SCtrl::GetRect(RECT* rect) const
{
    if (!rect)
        return;
    rect->left = m_x;
    rect->top = m_y;
    rect->right = m_x + m_width;
    rect->bottom = m_y + m_height;
}

bool SDialogEditor::_SCtrl::ToggleStyle(uint32_t bits)
{
    if (HasStyle(bits))
        RemoveStyle(bits);
    else
        AddStyle(bits);
    return HasStyle(bits);
}

bool SDialogEditor::_SCtrl::ToggleExStyle(uint32_t bits)
{
    if (HasExStyle(bits))
        RemoveExStyle(bits);
    else
        AddExStyle(bits);
    return HasExStyle(bits);
}

void SDialogEditor::_SCtrl::SwapWidthHeight()
{
    int16_t width = m_width;
    m_width = m_height;
    m_height = width;
}

// --- extra properties ---

SString SDialogEditor::_SCtrl::GetProperty(const char* key) const
{
    if (!key)
        return SString();
    const char* text = m_extra;
    size_t keyLength = strlen(key);
    while (*text)
    {
        // Pieces end at every CR and at every LF.
        size_t length = strcspn(text, "\r\n");
        const char* equals = (const char*)memchr(text, '=', length);
        if (equals && (size_t)(equals - text) == keyLength && memcmp(text, key, keyLength) == 0)
            return SString(equals + 1, (int)(length - keyLength - 1));
        text += length;
        while (*text == '\r' || *text == '\n')
            text++;
    }
    return SString();
}

void SDialogEditor::_SCtrl::SetProperty(const char* keyText, const char* valueText)
{
    if (!keyText)
        return;
    // A line break inside the key or the value would end the line there and let the
    // rest pose as a property of its own, so they are stored as blanks.
    SString keyLine = OneLine(SString(keyText));
    SString valueLine = OneLine(SString(valueText ? valueText : ""));
    const char* key = keyLine;
    const char* value = valueLine;
    int keyLength = keyLine.GetLength();
    int position = 0;
    int length = m_extra.GetLength();
    while (position < length)
    {
        int end = m_extra.Find("\r\n", position);
        if (end < 0)
            break;
        int equals = m_extra.FindChar('=', position, end - position);
        // A line without "=" is no property: it is passed over, not a reason to stop.
        if (equals >= 0 && equals - position == keyLength &&
            memcmp(m_extra.GetText() + position, key, (size_t)keyLength) == 0)
        {
            m_extra.ReplaceRange(value, equals + 1, end - equals - 1);
            return;
        }
        position = end + 2;
    }
    // A last line without its line break is closed first, so the new line never joins it.
    if (length > 0 && !(length >= 2 && m_extra[length - 2] == '\r' && m_extra[length - 1] == '\n'))
        m_extra += "\r\n";
    m_extra += key;
    m_extra += "=";
    m_extra += value;
    m_extra += "\r\n";
}

void SDialogEditor::_SCtrl::SetPropertyInt(const char* key, int value)
{
    SString text;
    text.Format("%d", value);
    SetProperty(key, text);
}

int SDialogEditor::_SCtrl::GetPropertyInt(const char* key) const
{
    return atoi(GetProperty(key));
}

bool SDialogEditor::_SCtrl::GetPropertyBool(const char* key) const
{
    return GetPropertyInt(key) != 0;
}

double SDialogEditor::_SCtrl::GetPropertyDouble(const char* key) const
{
    return atof(GetProperty(key));
}

uint32_t SDialogEditor::_SCtrl::GetPropertyUInt(const char* key) const
{
    return ReadDecimal(GetProperty(key));
}

uint32_t SDialogEditor::_SCtrl::GetPropertyColor(const char* key) const
{
    SString value = GetProperty(key);
    if (value.IsEmpty())
        return SCOLOR_NONE;
    return SDialogEditor::ResolveColorValue(ReadDecimal(value));
}

SStringArray SDialogEditor::_SCtrl::GetPropertyList(const char* key) const
{
    SStringArray tokens;
    SString value = GetProperty(key);
    if (value.IsEmpty())
        return tokens;
    SStringParser parser(value);
    parser.Parse("|", 8, '"', &tokens);
    return tokens;
}

uint32_t SDialogEditor::ResolveColorValue(uint32_t color)
{
    if (color == SCOLOR_NONE)
        return color;
    if (color >= SCOLOR_SYSTEM)
        return GetSysColor((int)(uint32_t)(color + 0x2000000u));
    return color;
}

int SDialogEditor::_SCtrl::GetPropertyDrawMode(const char* key) const
{
    static const char* const names[] = {
        "_DRAWTOPCENTER", "_DRAWTOPRIGHT", "_DRAWMIDDLELEFT", "_DRAWMIDDLERIGHT", "_DRAWBOTTOMLEFT",
        "_DRAWBOTTOMCENTER", "_DRAWBOTTOMRIGHT", "_DRAWCENTER", "_DRAWSTRETCH", "_DRAWTILE", "_DRAWFIT"};
    SString value = GetProperty(key);
    for (int i = 0; i < (int)(sizeof(names) / sizeof(names[0])); i++)
        if (value == names[i])
            return i + 1;
    return 0;
}
