#pragma once
// One GDI+ bitmap with a name, a draw mode, a background colour and a colour key.
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <stdint.h>

#include "SString.h"

class SFile;

// Formats of SImage::Save.
const int IMAGE_FORMAT_BMP = 0;
const int IMAGE_FORMAT_JPEG = 1;
const int IMAGE_FORMAT_PNG = 2;
const int IMAGE_FORMAT_GIF = 3;

// Pixel values (GetPixel, SetPixel, Fill, the pixel blocks) are GDI+ ARGB values (0xAARRGGBB);
// the back colour and the colour key are library colours (COLORREF, 0xFF000000 none).
class SImage
{
public:
    SImage();
    // An image with a new blank bitmap.
    SImage(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    virtual ~SImage();
    SImage(const SImage&) = delete;
    SImage& operator=(const SImage&) = delete;

    // Replaces the bitmap by a new blank one.
    bool Create(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    // Deletes the bitmap.
    void Dispose();
    // True when a bitmap is held.
    bool IsLoaded() const { return m_bitmap != nullptr; }
    // Size of the bitmap; 0 when empty.
    int GetWidth() const;
    int GetHeight() const;
    // GDI+ pixel format; 0 when empty.
    Gdiplus::PixelFormat GetPixelFormat() const;
    // Bits per pixel of the bitmap's format; 0 when empty or unknown.
    int GetBitsPerPixel() const;
    // Bits per pixel of a GDI+ pixel format; 0 when unknown.
    static int BitsPerPixel(Gdiplus::PixelFormat format);
    // The GDI+ bitmap (owned by the image), null when empty.
    Gdiplus::Bitmap* GetBitmap() const { return m_bitmap; }

    // Sets the placement used by Draw (0-11, else 0); returns the previous mode.
    int SetDrawMode(int mode);
    int GetDrawMode() const { return m_drawMode; }
    // Colour filling what the picture does not cover (library colour).
    void SetBackColor(uint32_t color) { m_backColor = color; }
    uint32_t GetBackColor() const { return m_backColor; }
    // Colour drawn transparent (library colour, 0xFF000000 none).
    void SetTransparentColor(uint32_t color) { m_colorKey = color; }
    uint32_t GetTransparentColor() const { return m_colorKey; }
    // Key under which caches find the image.
    void SetName(const char* name) { m_name = name; }
    const SString& GetName() const { return m_name; }

    // The calling thread keeps the system's PNG decoder at hand for its plain PNG pictures
    // (the library's thread, once COM has started); StopDecoders lets it go before COM ends.
    static void StartDecoders();
    static void StopDecoders();
    // Pictures decoded so far without GDI+'s search for a decoder.
    static int GetDirectDecodeCount();

    // Decodes any GDI+ format from the stream position (count -1: to the end).
    bool Load(SFile* stream, int count = -1);
    // Decodes a module resource.
    bool LoadResource(const char* name, const char* type, HMODULE module = nullptr);
    // Decodes a module resource with a numeric id.
    bool LoadResource(int id, const char* type, HMODULE module = nullptr)
    {
        return LoadResource(MAKEINTRESOURCEA(id), type, module);
    }
    // Copies a GDI bitmap; its alpha channel survives.
    bool FromHBitmap(HBITMAP bitmap);
    // Copies an area of a DC (the screen when null).
    bool FromScreen(HDC dc, int x, int y, int width, int height);
    // Copies one cell of an image list, or its whole strip for index -1.
    bool FromImageList(HIMAGELIST list, int index);
    // A 32-bit ARGB image from ARGB values row by row.
    bool CreateFromPixels(const uint32_t* pixels, int width, int height);
    // The bitmap becomes a copy of a rectangle of the source (negative size: to its edge).
    bool CopyRegion(const SImage* source, int x, int y, int width, int height);
    // The bitmap becomes a copy of a rectangle of a GDI+ bitmap (negative size: to its edge).
    bool CopyFromBitmap(Gdiplus::Bitmap* source, int x, int y, int width, int height);
    // The bitmap becomes a copy of the source's whole bitmap.
    bool Assign(const SImage* source);

    // Encodes as BMP (0 and others), JPEG (1), PNG (2) or GIF (3) at the stream position.
    bool Save(SFile* stream, int format) const;
    // GDI bitmap on a black background; the caller deletes it.
    HBITMAP GetHBitmap() const;
    // 32-bit GDI bitmap with the alpha channel; else GetHBitmap when fallback; the caller deletes it.
    HBITMAP GetHBitmap32(bool fallback) const;
    // Icon made from the image; the caller destroys it.
    HICON GetHIcon() const;
    // Window region of every pixel whose colour differs from the given one; the caller owns it.
    HRGN CreateRegion(uint32_t color) const;
    // Texture brush of the image; the caller deletes it.
    Gdiplus::TextureBrush* CreateTextureBrush() const;

    // Copies the pixels (width x height ARGB values, 32-bit formats only); a null buffer is made with new[].
    uint32_t* GetPixels(uint32_t* buffer, Gdiplus::PixelFormat format = PixelFormat32bppARGB) const;
    // Replaces all pixels from a block of width x height ARGB values.
    bool SetPixels(const uint32_t* pixels);
    // Reads one pixel's ARGB value.
    bool GetPixel(int x, int y, uint32_t& color) const;
    // Writes one pixel's ARGB value.
    bool SetPixel(int x, int y, uint32_t color);
    // ARGB value of a pixel; 0 when empty or outside.
    uint32_t GetPixelColor(int x, int y) const;

    // Sets the alpha of the rectangle's pixels (only those above it with onlyLower); 32-bit images.
    bool SetAlpha(BYTE alpha, const RECT* rect = nullptr, bool onlyLower = false);
    // SetAlpha over the whole image.
    bool SetAlpha(BYTE alpha, bool onlyLower) { return SetAlpha(alpha, nullptr, onlyLower); }
    // Replaces each pixel's colour by its grey; 24- and 32-bit images.
    bool MakeGrayscale(const RECT* rect = nullptr);
    // Every pixel not fully opaque becomes opaque white; 32-bit images.
    bool ReplaceTranslucentWithWhite();
    // Fills the rectangle (the whole image when null) with an ARGB value.
    bool Fill(uint32_t color, const RECT* rect = nullptr);
    // Turns clockwise by quarter turns.
    bool Rotate(int quarterTurns);
    // Redraws the image into a new bitmap of another pixel format.
    bool ConvertPixelFormat(Gdiplus::PixelFormat format);
    // Scales the picture to a new size.
    bool Resize(int width, int height);
    // Changes the size without scaling: the picture is centred, cropped or surrounded.
    bool ResizeCanvas(int width, int height);

    // Draws into the destination by the draw mode; source null = whole image.
    bool Draw(Gdiplus::Graphics* graphics, const RECT* destination, const RECT* source = nullptr) const;
    // Draws at (x, y), with the image's own size where -1 is given.
    bool DrawAt(Gdiplus::Graphics* graphics, int x, int y, int width = -1, int height = -1,
                const RECT* source = nullptr) const;
    // Draw with the destination by value.
    bool DrawInRect(Gdiplus::Graphics* graphics, RECT destination, const RECT* source = nullptr) const;

private:
    void Replace(Gdiplus::Bitmap* bitmap);
    bool IsDepth32() const;
    bool RedrawInto(int width, int height, Gdiplus::PixelFormat format, int mode, bool clear);
    bool RedrawAtSize(int width, int height, int mode);
    bool ScaleBilinear(int width, int height);
    template <typename Edit> bool EditPixels(const RECT* rect, Gdiplus::PixelFormat lockFormat, Edit edit);

    SString m_name;
    Gdiplus::Bitmap* m_bitmap;
    uint32_t m_backColor;
    uint32_t m_colorKey;
    int m_drawMode;
};
