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
    m_key.assign(1, (wchar_t)(FontIndex(font) + 1));
    m_key.push_back((wchar_t)(alignment + 1));
    m_key.append(text, (size_t)length);
    auto found = m_boxes.find(m_key);
    if (found != m_boxes.end())
        return found->second;
    m_sourceMeasures++;
    SMediaBox box = m_source->Measure(text, length, font, alignment, width);
    m_boxes.emplace(m_key, box);
    return box;
}
