#pragma once
// The GDI+ side of the rich text view: its string format, the fonts of its runs
// and the measurer that lays runs out as DrawString will draw them.
#include <windows.h>
#include <gdiplus.h>

#include "SArray.h"
#include "SMediaLayout.h"

// A clone of the generic typographic format with the view's flags: trailing spaces
// measured, no wrapping unless asked; horizontal and vertical alignment from the
// view's flags (low four bits 1 centre, 2 far; 0x10 centre, 0x20 far). The caller deletes it.
Gdiplus::StringFormat* SMediaCreateFormat(bool wrapping, unsigned alignment);
// Sets a format's alignments from the view's flags (ApplyTextFormat).
void SMediaApplyAlignment(Gdiplus::StringFormat* format, unsigned alignment);

// GDI+ fonts made from LOGFONTA descriptions on one device context; each distinct
// description is made once and kept until the cache goes.
class SMediaFontCache
{
public:
    explicit SMediaFontCache(HDC dc) : m_dc(dc) {}
    ~SMediaFontCache();
    SMediaFontCache(const SMediaFontCache&) = delete;
    SMediaFontCache& operator=(const SMediaFontCache&) = delete;

    // The font of the description; null when GDI+ cannot make it.
    Gdiplus::Font* Get(const LOGFONTA& font);

private:
    HDC m_dc;
    SArray<LOGFONTA> m_descriptions;
    SArray<Gdiplus::Font*> m_fonts;
};

// Measures runs with Graphics::MeasureString, as the view draws them.
class SMediaGdiMeasurer : public SMediaMeasurer
{
public:
    // Measures on the device context with the view's wrapping setting.
    SMediaGdiMeasurer(HDC dc, bool wrapping);
    ~SMediaGdiMeasurer() override;

    SMediaBox Measure(const wchar_t* text, int length, const LOGFONTA& font, int alignment, float width) override;
    // False when the graphics or the format could not be made.
    bool IsReady() const;

private:
    Gdiplus::Graphics m_graphics;
    SMediaFontCache m_fonts;
    Gdiplus::StringFormat* m_format;
};
