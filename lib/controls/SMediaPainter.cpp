#include "SMediaPainter.h"

#include <math.h>
#include <string.h>

#include "SMediaGdi.h"
#include "SRound.h"

using namespace Gdiplus;

namespace
{
// GDI+'s own rounding of a position to a pixel: halves go up, also below zero.
int PixelOf(float value)
{
    return SRound::Truncate(floor(value + 0.5));
}
}

SMediaPainter::SMediaPainter() : m_format(nullptr), m_formatWrapping(false), m_brush(Color(0)) {}

SMediaPainter::~SMediaPainter()
{
    Reset();
}

void SMediaPainter::Reset()
{
    for (int i = 0; i < m_faces.GetCount(); i++)
    {
        Face* face = m_faces.GetPtr(i);
        delete face->font;
        if (face->handle)
            DeleteObject(face->handle);
    }
    m_faces.RemoveAll();
    delete m_format;
    m_format = nullptr;
}

const SMediaPainter::Face* SMediaPainter::FindFace(HDC dc, const LOGFONTA& font)
{
    for (int i = 0; i < m_faces.GetCount(); i++)
        if (memcmp(&m_faces.GetPtr(i)->description, &font, sizeof(font)) == 0)
            return m_faces.GetPtr(i);
    Face face;
    memset(&face, 0, sizeof(face));
    face.description = font;
    face.font = new Font(dc, &font);
    if (face.font->GetLastStatus() != Ok)
    {
        delete face.font;
        return nullptr;
    }
    face.handle = CreateFontIndirectA(&font);
    TEXTMETRICA metrics;
    HGDIOBJ old = face.handle ? SelectObject(dc, face.handle) : nullptr;
    if (old && GetTextMetricsA(dc, &metrics))
    {
        face.ascent = metrics.tmAscent;
        face.height = metrics.tmHeight;
    }
    else if (face.handle)
    {
        // Without its metrics the GDI font cannot be placed: the run goes through GDI+.
        DeleteObject(face.handle);
        face.handle = nullptr;
    }
    if (old)
        SelectObject(dc, old);
    m_faces.Add(face);
    return m_faces.GetPtr(m_faces.GetCount() - 1);
}

void SMediaPainter::DrawRun(HDC dc, Graphics& graphics, const wchar_t* text, const SMediaRun& run,
                            const LOGFONTA& font, float x, float y, unsigned argb, bool wrapping,
                            bool opaqueSurface)
{
    const Face* face = FindFace(dc, font);
    if (!face || !text || run.length <= 0)
        return;
    bool oneLine = face->handle && run.height < 2 * face->height;
    if (opaqueSurface && argb >= 0xFF000000u && run.horizontalAlignment == 0 && oneLine)
    {
        // GDI+ draws such a run as one ExtTextOut at its rounded baseline, clipped to the box
        // with its right edge included (an italic overhang shows one column past it).
        RECT box = {PixelOf(x), PixelOf(y), PixelOf(x + run.width) + 1, PixelOf(y + run.height + 1)};
        HGDIOBJ old = SelectObject(dc, face->handle);
        UINT align = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
        int mode = SetBkMode(dc, TRANSPARENT);
        COLORREF color = ::SetTextColor(dc, RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
        ExtTextOutW(dc, box.left, PixelOf(y + face->ascent), ETO_CLIPPED, &box, text, run.length, nullptr);
        ::SetTextColor(dc, color);
        SetBkMode(dc, mode);
        SetTextAlign(dc, align);
        SelectObject(dc, old);
        return;
    }
    if (!m_format || m_formatWrapping != wrapping)
    {
        delete m_format;
        m_format = SMediaCreateFormat(wrapping, 0);
        m_formatWrapping = wrapping;
        if (!m_format)
            return;
    }
    m_brush.SetColor(Color(argb));
    m_format->SetAlignment(run.horizontalAlignment == 1   ? StringAlignmentCenter
                           : run.horizontalAlignment == 2 ? StringAlignmentFar
                                                          : StringAlignmentNear);
    RectF box(x, y, run.width, run.height + 1);
    graphics.DrawString(text, run.length, face->font, box, m_format, &m_brush);
}
