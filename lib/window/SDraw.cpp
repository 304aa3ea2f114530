#include "SDraw.h"

#include <ctype.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SFile.h"
#include "SRound.h"

RECT RectFromXYWH(int x, int y, int width, int height)
{
    RECT rect = {x, y, x + width, y + height};
    return rect;
}

int FillRectangle(HDC dc, RECT rect, HBRUSH brush)
{
    return FillRect(dc, &rect, brush);
}

bool DrawRectOutline(HDC dc, const RECT* rect, HPEN pen)
{
    if (!dc || !rect)
        return false;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    BOOL done = Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    return done != FALSE;
}

bool DrawLine(HDC dc, int x1, int y1, int x2, int y2, HPEN pen)
{
    if (!dc)
        return false;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    BOOL done = LineTo(dc, x2, y2);
    SelectObject(dc, oldPen);
    return done != FALSE;
}

static bool GradientFillRgb(HDC dc, const RECT* rect, COLORREF color1, COLORREF color2, bool vertical)
{
    if (!dc || !rect)
        return false;
    TRIVERTEX vertices[2];
    const COLORREF colors[2] = {color1, color2};
    for (int i = 0; i < 2; i++) {
        vertices[i].x = i == 0 ? rect->left : rect->right;
        vertices[i].y = i == 0 ? rect->top : rect->bottom;
        // Each 8-bit channel scaled to the 16-bit range of GradientFill.
        vertices[i].Red = (COLOR16)((GetRValue(colors[i]) + 1) * 255);
        vertices[i].Green = (COLOR16)((GetGValue(colors[i]) + 1) * 255);
        vertices[i].Blue = (COLOR16)((GetBValue(colors[i]) + 1) * 255);
        vertices[i].Alpha = 0;
    }
    GRADIENT_RECT gradient = {0, 1};
    return GradientFill(dc, vertices, 2, &gradient, 1,
                        vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H) != FALSE;
}

bool FillGradientRect(HDC dc, const RECT* rect, uint32_t color1, uint32_t color2, bool vertical)
{
    return GradientFillRgb(dc, rect, ResolveColor(color1), ResolveColor(color2), vertical);
}

bool FillGradientRectRecord(const SGradientRecord* record)
{
    if (!record)
        return false;
    return FillGradientRect(record->dc, &record->rect, record->color1, record->color2, record->vertical);
}

bool DrawRectOutlineRecord(const SOutlineRecord* record)
{
    if (!record)
        return false;
    return DrawRectOutline(record->dc, &record->rect, record->pen);
}

bool FillGradientRectGdiplus(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                             const Gdiplus::Color& color1, const Gdiplus::Color& color2, bool vertical)
{
    if (!graphics)
        return false;
    HDC dc = graphics->GetHDC();
    if (!dc)
        return false;
    RECT rect = RectFromXYWH(x, y, width, height);
    bool done = GradientFillRgb(dc, &rect, RGB(color1.GetR(), color1.GetG(), color1.GetB()),
                                RGB(color2.GetR(), color2.GetG(), color2.GetB()), vertical);
    graphics->ReleaseHDC(dc);
    return done;
}

SIZE GetTextExtent(HFONT font, const char* text, int length)
{
    SIZE size = {0, 0};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!dc)
        return size;
    HGDIOBJ oldFont = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    RECT rect = {0, 0, 0, 0};
    DrawTextA(dc, text ? text : "", text ? length : 0, &rect, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    size.cx = rect.right - rect.left;
    size.cy = rect.bottom - rect.top;
    return size;
}

SIZE GetFontCharSize(HFONT font)
{
    SIZE size = {0, 0};
    HDC dc = GetDC(nullptr);
    if (!dc)
        return size;
    HGDIOBJ oldFont = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) {
        size.cx = metrics.tmAveCharWidth;
        size.cy = metrics.tmHeight;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    return size;
}

bool DrawTextGdiplus(Gdiplus::Graphics* graphics, const char* text, const Gdiplus::Font* font,
                     int x, int y, int width, int height, const Gdiplus::StringFormat* format,
                     const Gdiplus::Brush* brush, const Gdiplus::Brush* shadow, RECT* bounds)
{
    if (!graphics || !font)
        return false;
    SString source(text ? text : "");
    wchar_t* wide = source.ToWide();
    if (!wide)
        return false;
    Gdiplus::StringFormat defaultFormat;
    const Gdiplus::StringFormat* useFormat = format ? format : &defaultFormat;
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    const Gdiplus::Brush* useBrush = brush ? brush : &black;
    Gdiplus::RectF layout((Gdiplus::REAL)x, (Gdiplus::REAL)y, (Gdiplus::REAL)width, (Gdiplus::REAL)height);
    if (shadow) {
        Gdiplus::RectF moved = layout;
        moved.X += 1;
        moved.Y += 1;
        graphics->DrawString(wide, -1, font, moved, useFormat, shadow);
    }
    Gdiplus::Status status = graphics->DrawString(wide, -1, font, layout, useFormat, useBrush);
    if (bounds) {
        Gdiplus::RectF measured;
        graphics->MeasureString(wide, -1, font, layout, useFormat, &measured);
        bounds->left = SRound::Truncate(measured.X);
        bounds->top = SRound::Truncate(measured.Y);
        bounds->right = SRound::Truncate(measured.X + measured.Width);
        bounds->bottom = SRound::Truncate(measured.Y + measured.Height);
    }
    delete[] wide;
    return status == Gdiplus::Ok;
}

void SetTextFormat(Gdiplus::StringFormat* format, int alignment, bool wrap)
{
    if (!format)
        return;
    format->SetFormatFlags(wrap ? 0x800 : 0x1800);
    int horizontal = alignment & 0x0F;
    format->SetAlignment(horizontal == 1   ? Gdiplus::StringAlignmentCenter
                         : horizontal == 2 ? Gdiplus::StringAlignmentFar
                                           : Gdiplus::StringAlignmentNear);
    Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentNear;
    if (alignment - 16 >= 0 && alignment - 16 < 16)
        vertical = Gdiplus::StringAlignmentCenter;
    else if (alignment - 32 >= 0 && alignment - 32 < 16)
        vertical = Gdiplus::StringAlignmentFar;
    format->SetLineAlignment(vertical);
}

RECT FitRect(int left, int top, int right, int bottom, int naturalWidth, int naturalHeight, bool enlarge)
{
    double aspect = naturalHeight > 0 ? (double)naturalWidth / naturalHeight : 1.0;
    if (!enlarge) {
        int boxWidth = right - left;
        int boxHeight = bottom - top;
        if (aspect < 1.0 && naturalHeight < boxHeight) {
            top += (boxHeight - naturalHeight) / 2;
            bottom = top + naturalHeight;
        } else if (aspect >= 1.0 && naturalWidth < boxWidth) {
            left += (boxWidth - naturalWidth) / 2;
            right = left + naturalWidth;
        }
    }
    RECT result = {left, top, right, bottom};
    int width = right - left;
    int height = bottom - top;
    // Kept in floating point until it is known to fit the box: a tiny aspect would overflow an int.
    double fullWidthHeight = aspect > 0 ? SRound::Whole(width / aspect) : height;
    if (fullWidthHeight > height) {
        int fittedWidth = SRound::Truncate(height * aspect);
        result.left = left + (width - fittedWidth) / 2;
        result.right = result.left + fittedWidth;
    } else {
        int fittedHeight = SRound::Truncate(fullWidthHeight);
        result.top = top + (height - fittedHeight) / 2;
        result.bottom = result.top + fittedHeight;
    }
    return result;
}

int PointsToFontHeight(int points, HDC dc)
{
    HDC screen = dc ? nullptr : GetDC(nullptr);
    int dpi = GetDeviceCaps(dc ? dc : screen, LOGPIXELSY);
    if (screen)
        ReleaseDC(nullptr, screen);
    return -SRound::Nearest((double)dpi * points / 72.0);
}

HFONT CreateFontFromStyle(const char* face, int height, int style)
{
    return CreateFontA(height, 0, 0, 0, IsStyleBold(style) ? FW_BOLD : 0, IsStyleItalic(style),
                       IsStyleUnderline(style), IsStyleStrikeOut(style), 0, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face ? face : "");
}

HFONT CreatePointFont(HDC dc, const char* face, int points, int style, int* heightOut)
{
    int height = PointsToFontHeight(points, dc);
    if (heightOut)
        *heightOut = height;
    return CreateFontFromStyle(face, height, style);
}

void FillLogFont(LOGFONTA* font, const char* face, int points, int style)
{
    if (!font)
        return;
    memset(font, 0, sizeof(*font));
    if (face)
        strncpy(font->lfFaceName, face, LF_FACESIZE - 1);
    font->lfHeight = PointsToFontHeight(points, nullptr);
    font->lfWeight = IsStyleBold(style) ? FW_BOLD : 0;
    font->lfItalic = IsStyleItalic(style);
    font->lfUnderline = IsStyleUnderline(style);
    font->lfStrikeOut = IsStyleStrikeOut(style);
}

int GetFontStyle(const LOGFONTA* font)
{
    if (!font)
        return 0;
    int style = 0;
    if (font->lfWeight == FW_BOLD)
        style |= FONT_STYLE_BOLD;
    if (font->lfItalic)
        style |= FONT_STYLE_ITALIC;
    if (font->lfUnderline)
        style |= FONT_STYLE_UNDERLINE;
    if (font->lfStrikeOut)
        style |= FONT_STYLE_STRIKEOUT;
    return style;
}

bool IsStyleBold(int style) { return (style & FONT_STYLE_BOLD) != 0; }
bool IsStyleItalic(int style) { return (style & FONT_STYLE_ITALIC) != 0; }
bool IsStyleUnderline(int style) { return (style & FONT_STYLE_UNDERLINE) != 0; }
bool IsStyleStrikeOut(int style) { return (style & FONT_STYLE_STRIKEOUT) != 0; }

int PixelsToTwips(int pixels, bool vertical)
{
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, vertical ? LOGPIXELSY : LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    if (dpi <= 0)
        return 0;
    return pixels * 1440 / dpi;
}

BITMAPINFO TopDownDibHeader(int width, int height)
{
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    return header;
}

COLORREF ResolveColor(uint32_t color)
{
    if ((color & 0xFF000000u) == COLOR_SYSTEM_BASE)
        return GetSysColor((int)(color & 0x00FFFFFFu));
    return (COLORREF)(color & 0x00FFFFFFu);
}

SString ColorToText(uint32_t color)
{
    SString text;
    if (color < 0x1000000u)
        text.Format("#%.2x%.2x%.2x", (unsigned)(color & 0xFF), (unsigned)((color >> 8) & 0xFF),
                    (unsigned)((color >> 16) & 0xFF));
    else
        text.Format("#%.8x", (unsigned)color);
    text.MakeUpper();
    return text;
}

// One pair of hexadecimal digits; a pair that does not read as hexadecimal gives 0.
static uint32_t ReadHexPair(const char* pair)
{
    char buffer[3] = {pair[0], pair[1], 0};
    unsigned value = 0;
    if (sscanf(buffer, "%x", &value) != 1)
        return 0;
    return value & 0xFF;
}

uint32_t TextToColor(const char* text)
{
    if (!text)
        return 0;
    size_t length = strlen(text);
    if (length == 7)
        return ReadHexPair(text + 1) | (ReadHexPair(text + 3) << 8) | (ReadHexPair(text + 5) << 16);
    // Nine characters: the whole value, most significant pair first, as ColorToText writes it.
    if (length == 9)
        return (ReadHexPair(text + 1) << 24) | (ReadHexPair(text + 3) << 16) | (ReadHexPair(text + 5) << 8) |
               ReadHexPair(text + 7);
    return 0;
}

uint32_t ToGray(uint32_t color)
{
    if (color == COLOR_NONE || color == COLOR_TRANSPARENT)
        return color;
    COLORREF rgb = ResolveColor(color);
    double luminance = 0.299 * GetRValue(rgb) + 0.587 * GetGValue(rgb) + 0.114 * GetBValue(rgb);
    uint32_t y = (uint32_t)SRound::Truncate(luminance) & 0xFF;
    return y | (y << 8) | (y << 16);
}

bool IsLetter(int ch)
{
    unsigned c = (unsigned)ch & 0xFF;
    if (c < 0x80)
        return isalpha((int)c) != 0;
    return c == 0x8C || c == 0x9C || (c >= 0xC0 && c <= 0xC4) || (c >= 0xC7 && c <= 0xCF) ||
           (c >= 0xD1 && c <= 0xD6) || (c >= 0xD9 && c <= 0xDC) || (c >= 0xE0 && c <= 0xE4) ||
           (c >= 0xE7 && c <= 0xEF) || (c >= 0xF1 && c <= 0xF6) || (c >= 0xF9 && c <= 0xFC);
}

bool IsIdentChar(int ch)
{
    unsigned c = (unsigned)ch & 0xFF;
    return c < 0x80 && (isalnum((int)c) || c == '_');
}

bool IsIdentifier(const char* text)
{
    if (!text || !*text)
        return false;
    bool onlyUnderscores = true;
    for (const char* p = text; *p; p++) {
        if (!IsIdentChar(*p))
            return false;
        if (*p != '_')
            onlyUnderscores = false;
    }
    size_t length = strlen(text);
    return !isdigit((unsigned char)text[0]) && !onlyUnderscores && text[length - 1] != '_';
}

bool IsUpperIdentifier(const char* text)
{
    if (!text || !*text)
        return false;
    bool hasLetter = false;
    for (const char* p = text; *p; p++) {
        if (*p >= 'A' && *p <= 'Z')
            hasLetter = true;
        else if (!(*p >= '0' && *p <= '9') && *p != '_')
            return false;
    }
    size_t length = strlen(text);
    return hasLetter && !isdigit((unsigned char)text[0]) && text[length - 1] != '_';
}

int RandomBelow(int n)
{
    if (n <= 1)
        return 0;
    return SRound::Truncate(rand() / 32768.0 * n);
}

int LinearIndex(int count, ...)
{
    if (count < 1)
        return -1;
    va_list strides;
    va_start(strides, count);
    // The indexes follow the count - 1 strides in the argument list.
    va_list indexes;
    va_copy(indexes, strides);
    for (int k = 1; k < count; k++)
        va_arg(indexes, int);
    int result = va_arg(indexes, int);
    for (int k = 1; k < count; k++)
        result += va_arg(indexes, int) * va_arg(strides, int);
    va_end(indexes);
    va_end(strides);
    return result;
}

bool LoadResourceData(HINSTANCE instance, const char* type, const char* id, SFile* stream)
{
    if (!stream)
        return false;
    HRSRC found = FindResourceA(instance, id, type);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded)
        return false;
    const void* bytes = LockResource(loaded);
    DWORD size = SizeofResource(instance, found);
    if (!bytes || size > 0x7FFFFFFFu)
        return false;
    return stream->Write(bytes, (int)size) == (int)size;
}
