#pragma once
// Remembered measures of the rich text view's runs: a long text repeats the same
// words and phrases in the same few fonts, and each measure through GDI+ is dear.
#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "SMediaLayout.h"

// A measurer that asks another one once for each distinct text in each font and
// alignment, and answers repeats from its table. An unwrapped run of plain Latin
// text at the near edge is measured word by word (each word with the blanks after
// it): its width is the sum of theirs, its height and offset those of its first
// word, as GDI+ lays such text out. Wrapped measures depend on the width and are
// asked for again each time.
class SMediaMeasureCache : public SMediaMeasurer
{
public:
    // Measures through source, which must outlive the cache.
    explicit SMediaMeasureCache(SMediaMeasurer* source) : m_source(source) {}
    SMediaMeasureCache(const SMediaMeasureCache&) = delete;
    SMediaMeasureCache& operator=(const SMediaMeasureCache&) = delete;

    SMediaBox Measure(const wchar_t* text, int length, const LOGFONTA& font, int alignment, float width) override;
    // Measures asked of the source so far.
    int GetSourceMeasures() const { return m_sourceMeasures; }

private:
    // Index of the description in the font table, added when new.
    size_t FontIndex(const LOGFONTA& font);
    // Whether every character is a blank or a Latin one that needs no shaping.
    static bool IsPlainText(const wchar_t* text, int length);
    // The unwrapped box of the text from the table, measured by the source when new.
    SMediaBox Lookup(const wchar_t* text, int length, const LOGFONTA& font, size_t fontIndex, int alignment);

    SMediaMeasurer* m_source;
    std::vector<LOGFONTA> m_fonts;
    // Key: font index and alignment as two leading characters, then the text.
    std::unordered_map<std::wstring, SMediaBox> m_boxes;
    std::wstring m_key;
    int m_sourceMeasures = 0;
};
