#pragma once
// Drawing, font, colour and name helpers shared by every window and control.
#include <windows.h>
#include <gdiplus.h>
#include <stdint.h>

#include "SString.h"

class SFile;

// Library colour values: a COLORREF with an optional alpha in the top byte.
const uint32_t COLOR_NONE = 0xFF000000u;         // no colour: use the default
const uint32_t COLOR_TRANSPARENT = 0xFF000001u;  // transparent
const uint32_t COLOR_SYSTEM_BASE = 0xFE000000u;  // + n: the system colour n, resolved when drawn

// Font style bits.
const int FONT_STYLE_BOLD = 1;
const int FONT_STYLE_ITALIC = 2;
const int FONT_STYLE_UNDERLINE = 4;
const int FONT_STYLE_STRIKEOUT = 8;

// Arguments of FillGradientRect passed as one record.
struct SGradientRecord {
    HDC dc;
    RECT rect;
    uint32_t color1;
    uint32_t color2;
    bool vertical;
};

// Arguments of DrawRectOutline passed as one record.
struct SOutlineRecord {
    HDC dc;
    RECT rect;
    HPEN pen;
};

// --- Drawing -------------------------------------------------------------

// Rectangle from its top-left corner and its size.
RECT RectFromXYWH(int x, int y, int width, int height);
// Fills the rectangle with the brush (FillRect).
int FillRectangle(HDC dc, RECT rect, HBRUSH brush);
// Draws the rectangle's outline with the pen and no fill; the DC's pen and brush are kept.
bool DrawRectOutline(HDC dc, const RECT* rect, HPEN pen);
// Draws a line with the pen; the DC's pen is kept.
bool DrawLine(HDC dc, int x1, int y1, int x2, int y2, HPEN pen);
// Two-colour gradient over the rectangle, top to bottom when vertical, else left to right.
bool FillGradientRect(HDC dc, const RECT* rect, uint32_t color1, uint32_t color2, bool vertical);
// FillGradientRect with its arguments in one record.
bool FillGradientRectRecord(const SGradientRecord* record);
// DrawRectOutline with its arguments in one record.
bool DrawRectOutlineRecord(const SOutlineRecord* record);
// Gradient on a GDI+ graphics' device context.
bool FillGradientRectGdiplus(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                             const Gdiplus::Color& color1, const Gdiplus::Color& color2, bool vertical);
// Size of a text drawn with the font (no prefix processing).
SIZE GetTextExtent(HFONT font, const char* text, int length = -1);
// Average character width and height of the font.
SIZE GetFontCharSize(HFONT font);
// Draws an 8-bit text with GDI+, optionally with a one-pixel shadow, and measures it into bounds.
bool DrawTextGdiplus(Gdiplus::Graphics* graphics, const char* text, const Gdiplus::Font* font,
                     int x, int y, int width, int height, const Gdiplus::StringFormat* format = nullptr,
                     const Gdiplus::Brush* brush = nullptr, const Gdiplus::Brush* shadow = nullptr,
                     RECT* bounds = nullptr);
// Sets wrapping and alignment of a string format from an alignment code.
void SetTextFormat(Gdiplus::StringFormat* format, int alignment, bool wrap);
// Rectangle of the natural aspect fitted and centred in the box.
RECT FitRect(int left, int top, int right, int bottom, int naturalWidth, int naturalHeight, bool enlarge);

// Header of a top-down 32-bit BI_RGB device-independent bitmap of that size.
BITMAPINFO TopDownDibHeader(int width, int height);

// --- Fonts -----------------------------------------------------------------

// Font height (negative: character height) for a point size on the DC (the screen when null).
int PointsToFontHeight(int points, HDC dc = nullptr);
// Creates a font of the face and height with the style bits.
HFONT CreateFontFromStyle(const char* face, int height, int style);
// Creates a font of the face and point size with the style bits; the height is optionally returned.
HFONT CreatePointFont(HDC dc, const char* face, int points, int style, int* heightOut = nullptr);
// Fills a font record from face, point size and style bits.
void FillLogFont(LOGFONTA* font, const char* face, int points, int style);
// Style bits of a font record.
int GetFontStyle(const LOGFONTA* font);
// Tests of the single style bits.
bool IsStyleBold(int style);
bool IsStyleItalic(int style);
bool IsStyleUnderline(int style);
bool IsStyleStrikeOut(int style);
// Screen pixels converted to twips, vertically or horizontally.
int PixelsToTwips(int pixels, bool vertical);

// --- Colours and checks ----------------------------------------------------

// COLORREF to draw for a library colour: system colours resolved, alpha dropped.
COLORREF ResolveColor(uint32_t color);
// Colour text "#RRGGBB", or "#AABBGGRR" (the whole value) for values with a top byte.
SString ColorToText(uint32_t color);
// Colour from a text written by ColorToText; 0 for other lengths.
uint32_t TextToColor(const char* text);
// Grey of a colour by luminance; the special values are kept.
uint32_t ToGray(uint32_t color);
// Letter in Windows-1252, accented letters included.
bool IsLetter(int ch);
// Digit, ASCII letter or underscore.
bool IsIdentChar(int ch);
// Valid identifier: identifier characters, no leading digit, not only or ending with '_'.
bool IsIdentifier(const char* text);
// Upper-case identifier: digits, capitals and '_', at least one letter.
bool IsUpperIdentifier(const char* text);
// Random integer from 0 to n - 1.
int RandomBelow(int n);
// Linear index of a multi-dimensional position: LinearIndex(count, stride1..stride[count-1], index0..index[count-1]).
int LinearIndex(int count, ...);
// Writes the bytes of a module resource to the stream at its position.
bool LoadResourceData(HINSTANCE instance, const char* type, const char* id, SFile* stream);
