#pragma once
// What the rich text view keeps from one paint to the next to draw its runs: the
// GDI+ and GDI fonts of each font description, the string format and the brush.
// Layout empties it, so a new font or wrapping setting is never drawn with an old one.
#include <windows.h>
#include <gdiplus.h>

#include "SArray.h"
#include "SMediaLayout.h"

class SMediaPainter
{
public:
    SMediaPainter();
    virtual ~SMediaPainter();
    SMediaPainter(const SMediaPainter&) = delete;
    SMediaPainter& operator=(const SMediaPainter&) = delete;

    // Forgets every font and the format (called at each layout).
    void Reset();
    // Draws one text run in its box at (x, y) in the ARGB colour. On an opaque surface an
    // opaque near-aligned one-line run goes straight to GDI, which is what GDI+ itself does
    // for such text there; everything else goes through DrawString.
    void DrawRun(HDC dc, Gdiplus::Graphics& graphics, const wchar_t* text, const SMediaRun& run,
                 const LOGFONTA& font, float x, float y, unsigned argb, bool wrapping, bool opaqueSurface);

private:
    struct Face
    {
        LOGFONTA description;
        Gdiplus::Font* font;
        HFONT handle;
        // Ascent and line height of the GDI font, in pixels.
        int ascent;
        int height;
    };
    const Face* FindFace(HDC dc, const LOGFONTA& font);

    SArray<Face> m_faces;
    Gdiplus::StringFormat* m_format;
    bool m_formatWrapping;
    Gdiplus::SolidBrush m_brush;
};
