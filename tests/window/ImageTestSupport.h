#pragma once
// Helpers shared by the drawing and image tests: a GDI+ session, small pictures built in code
// and a DIB canvas that GDI draws into.
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>
#include <stdint.h>

#include <vector>

#include "SImage.h"

// Keeps GDI+ started while a test suite runs (nested with the library's own start-up).
class GdiplusSession
{
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

// Base of the image test suites: one GDI+ session for the whole suite.
class GdiplusSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_session = new GdiplusSession(); }
    static void TearDownTestSuite()
    {
        delete s_session;
        s_session = nullptr;
    }
    inline static GdiplusSession* s_session = nullptr;
};

// A width x height picture of four opaque quadrants: red, green / blue, white.
inline void MakeQuadrants(SImage* image, int width, int height)
{
    std::vector<uint32_t> pixels((size_t)width * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            bool right = x >= width / 2, bottom = y >= height / 2;
            pixels[(size_t)y * width + x] = !bottom ? (right ? 0xFF00FF00u : 0xFFFF0000u)
                                                    : (right ? 0xFFFFFFFFu : 0xFF0000FFu);
        }
    image->CreateFromPixels(pixels.data(), width, height);
}

// True when two ARGB values differ by at most tolerance in every channel.
inline bool NearColor(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int difference = (int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance)
            return false;
    }
    return true;
}

// A 32-bit top-down DIB section selected into a memory DC, for reading drawn pixels back.
class PixelCanvas
{
public:
    PixelCanvas(int width, int height, COLORREF background) : m_width(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, width, height};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~PixelCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    // The pixel as a COLORREF.
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        uint32_t pixel = m_bits[(size_t)y * m_width + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    uint32_t* m_bits = nullptr;
};
