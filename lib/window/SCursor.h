#pragma once

#include <windows.h>

// Owns one mouse cursor: a shared system cursor (never destroyed), one of the
// library's own drawn cursors, or a cursor made from a device context's pixels.
class SCursor
{
public:
    SCursor();
    // Empty, then Create(kind).
    explicit SCursor(int kind);
    virtual ~SCursor();
    SCursor(const SCursor&) = delete;
    SCursor& operator=(const SCursor&) = delete;

    // Loads or builds the cursor of kind 0-20 (unknown kinds give the arrow).
    bool Create(int kind);
    // Builds a cursor from the DC's pixels (width a multiple of 16) by the colour code.
    bool CreateFromDC(HDC dc, int width, int height);
    // Forgets a shared cursor, destroys an owned one.
    void Release();
    // The cursor handle; null when none.
    HCURSOR GetHandle() const { return m_handle; }
    // The handle is a shared system cursor.
    bool IsShared() const { return m_shared != 0; }

    // Number of cursor kinds in the library table.
    static const int KindCount = 21;

private:
    unsigned char m_shared;
    HCURSOR m_handle;
};
