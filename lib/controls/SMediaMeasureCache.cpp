#include "SMediaMeasureCache.h"

#include <string.h>

size_t SMediaMeasureCache::FontIndex(const LOGFONTA& font)
{
    for (size_t i = 0; i < m_fonts.size(); i++)
        if (memcmp(&m_fonts[i], &font, sizeof(font)) == 0)
            return i;
    m_fonts.push_back(font);
    return m_fonts.size() - 1;
}

SMediaBox SMediaMeasureCache::Measure(const wchar_t* text, int length, const LOGFONTA& font, int alignment,
                                      float width)
{
    if (!m_source)
        return SMediaBox{0, 0, 0, 0};
    if (width >= 0 || !text || length <= 0)
    {
        m_sourceMeasures++;
        return m_source->Measure(text, length, font, alignment, width);
    }
    size_t fontIndex = FontIndex(font);
    if (alignment != 0 || !IsPlainText(text, length))
        return Lookup(text, length, font, fontIndex, alignment);
    // A plain run is as wide as its words, each with the blanks after it, laid side by side.
    SMediaBox total = {0, 0, 0, 0};
    int start = 0;
    while (start < length)
    {
        int end = start;
        while (end < length && text[end] != L' ')
            end++;
        while (end < length && text[end] == L' ')
            end++;
        SMediaBox word = Lookup(text + start, end - start, font, fontIndex, 0);
        if (start == 0)
            total = word;
        else
            total.width += word.width;
        start = end;
    }
    return total;
}

bool SMediaMeasureCache::IsPlainText(const wchar_t* text, int length)
{
    // Latin letters, digits, punctuation and blanks: no tabs, controls or scripts that join or kern.
    for (int i = 0; i < length; i++)
    {
        wchar_t c = text[i];
        if (c < 0x20 || (c > 0x7E && c < 0xA0) || c > 0x24F)
            return false;
    }
    return true;
}

SMediaBox SMediaMeasureCache::Lookup(const wchar_t* text, int length, const LOGFONTA& font, size_t fontIndex,
                                     int alignment)
{
    m_key.assign(1, (wchar_t)(fontIndex + 1));
    m_key.push_back((wchar_t)(alignment + 1));
    m_key.append(text, (size_t)length);
    auto found = m_boxes.find(m_key);
    if (found != m_boxes.end())
        return found->second;
    m_sourceMeasures++;
    SMediaBox box = m_source->Measure(text, length, font, alignment, -1);
    m_boxes.emplace(m_key, box);
    return box;
}
