#include "SValue.h"

SValue::SValue() : m_tag(0), m_flags(0), m_type(TypeInteger), m_integer(0), m_real(0.0)
{
    Clear();
}

SValue::~SValue()
{
    Clear();
}

void SValue::Clear()
{
    m_name = "";
    m_secondText = "";
    m_text = "";
    m_wideText = L"";
    m_flags = 0;
    m_type = TypeInteger;
    m_integer = 0;
    m_real = 0.0;
}

SValue* SValue::CopyValue(const SValue& other)
{
    if (&other == this)
        return this;
    switch (other.m_type)
    {
    case TypeInteger:
        m_integer = other.m_integer;
        break;
    case TypeReal:
        m_real = other.m_real;
        break;
    case TypeText:
        m_text.AssignString(other.m_text);
        break;
    case TypeWideText:
        m_wideText.AssignString(other.m_wideText);
        break;
    default:
        return this;
    }
    m_type = other.m_type;
    return this;
}

void SValue::SetInteger(int64_t value)
{
    m_type = TypeInteger;
    m_integer = value;
}

void SValue::SetReal(double value)
{
    m_type = TypeReal;
    m_real = value;
}

void SValue::SetText(const char* text)
{
    m_type = TypeText;
    m_text = text ? text : "";
}

void SValue::SetWideText(const wchar_t* text)
{
    m_type = TypeWideText;
    m_wideText = text ? text : L"";
}
