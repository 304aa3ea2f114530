#pragma once
// A client painted into a memory bitmap and copied to the target DC in one go
// when the buffer goes out of scope, so that controls repainting many times a
// second do not flicker.
#include <windows.h>

class SPaintBuffer
{
public:
    SPaintBuffer(HDC target, int width, int height)
        : m_target(target), m_width(width), m_height(height), m_dc(CreateCompatibleDC(target)),
          m_bitmap(m_dc ? CreateCompatibleBitmap(target, width > 1 ? width : 1, height > 1 ? height : 1) : nullptr),
          m_old(m_bitmap ? SelectObject(m_dc, m_bitmap) : nullptr)
    {
    }
    ~SPaintBuffer()
    {
        if (m_bitmap)
        {
            BitBlt(m_target, 0, 0, m_width, m_height, m_dc, 0, 0, SRCCOPY);
            SelectObject(m_dc, m_old);
            DeleteObject(m_bitmap);
        }
        if (m_dc)
            DeleteDC(m_dc);
    }
    SPaintBuffer(const SPaintBuffer&) = delete;
    SPaintBuffer& operator=(const SPaintBuffer&) = delete;
    // The DC to paint into: the memory DC, or the target itself when none could be made.
    HDC Get() const { return m_bitmap ? m_dc : m_target; }

private:
    HDC m_target;
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
