#include "SMediaGdi.h"

#include <string.h>

using namespace Gdiplus;

namespace
{
const float kUnlimited = 2147483648.0f;
}

void SMediaApplyAlignment(StringFormat* format, unsigned alignment)
{
    unsigned horizontal = alignment & 0x0F;
    format->SetAlignment(horizontal == 1 ? StringAlignmentCenter
                         : horizontal == 2 ? StringAlignmentFar : StringAlignmentNear);
    unsigned vertical = alignment & 0xF0;
    format->SetLineAlignment(vertical == 0x10 ? StringAlignmentCenter
                             : vertical == 0x20 ? StringAlignmentFar : StringAlignmentNear);
}

StringFormat* SMediaCreateFormat(bool wrapping, unsigned alignment)
{
    StringFormat* format = StringFormat::GenericTypographic()->Clone();
    if (!format)
        return nullptr;
    INT flags = StringFormatFlagsMeasureTrailingSpaces;
    if (!wrapping)
        flags |= StringFormatFlagsNoWrap;
    format->SetFormatFlags(flags);
    SMediaApplyAlignment(format, alignment);
    return format;
}

SMediaFontCache::~SMediaFontCache()
{
    for (int i = 0; i < m_fonts.GetCount(); i++)
        delete m_fonts.GetAt(i);
}

Font* SMediaFontCache::Get(const LOGFONTA& font)
{
    for (int i = 0; i < m_descriptions.GetCount(); i++)
        if (memcmp(m_descriptions.GetPtr(i), &font, sizeof(font)) == 0)
            return m_fonts.GetAt(i);
    Font* made = new Font(m_dc, &font);
    if (made->GetLastStatus() != Ok)
    {
        delete made;
        return nullptr;
    }
    m_descriptions.Add(font);
    m_fonts.Add(made);
    return made;
}

SMediaGdiMeasurer::SMediaGdiMeasurer(HDC dc, bool wrapping)
    : m_graphics(dc), m_fonts(dc), m_format(SMediaCreateFormat(wrapping, 0))
{
}

SMediaGdiMeasurer::~SMediaGdiMeasurer()
{
    delete m_format;
}

bool SMediaGdiMeasurer::IsReady() const
{
    return m_format && m_graphics.GetLastStatus() == Ok;
}

SMediaBox SMediaGdiMeasurer::Measure(const wchar_t* text, int length, const LOGFONTA& font, int alignment,
                                     float width)
{
    SMediaBox box = {0, 0, 0, 0};
    Font* made = m_fonts.Get(font);
    if (!made || !m_format || !text || length <= 0)
        return box;
    m_format->SetAlignment(alignment == 1 ? StringAlignmentCenter
                           : alignment == 2 ? StringAlignmentFar : StringAlignmentNear);
    m_format->SetLineAlignment(StringAlignmentNear);
    RectF layout(0, 0, width < 0 ? kUnlimited : width, kUnlimited);
    RectF bounds;
    if (m_graphics.MeasureString(text, length, made, layout, m_format, &bounds) == Ok)
        box = {bounds.X, bounds.Y, bounds.Width, bounds.Height};
    return box;
}
