#include "SCursor.h"

#include <string.h>

namespace
{

struct SystemCursor
{
    int kind;
    LPCSTR id;
};

const SystemCursor kSystemCursors[] = {
    {1, IDC_APPSTARTING}, {2, IDC_CROSS}, {3, IDC_HAND}, {4, IDC_HELP}, {5, IDC_IBEAM},
    {6, IDC_NO}, {7, IDC_SIZEALL}, {8, IDC_SIZENESW}, {9, IDC_SIZENS}, {10, IDC_SIZENWSE},
    {11, IDC_SIZEWE}, {12, IDC_UPARROW}, {13, IDC_WAIT},
};

// The library's own cursors as pictures: 'X' black, 'o' white, anything else
// transparent. Rows are 32 pixels wide at most; missing rows are transparent.
struct DrawnCursor
{
    int kind;
    int hotX, hotY;
    const char* rows[32];
};

const DrawnCursor kDrawnCursors[] = {
    {14, 7, 0, {
        ".......X",
        ".......XX",
        ".......XoX",
        ".......XooX",
        ".......XoooX",
        ".......XooooX",
        ".......XoooooX",
        ".......XooooooX",
        ".......XoooooooX",
        ".......XooooooooX",
        ".......XoooooXXXXX",
        ".......XooXooX",
        ".......XoX.XooX",
        ".......XX..XooX",
        ".......X....XooX",
        "............XooX",
        ".............XX",
        "",
        "...........XXXXXXXXXXX",
        "...........XoooooooooX",
        "...........XoooooooooX",
        "...........XoooooooooX",
        "...........XoooooooooX",
        "...........XoooooooooX",
        "...........XXXXXXXXXXX",
    }},
    {15, 7, 0, {
        ".......X",
        ".......XX",
        ".......XoX",
        ".......XooX",
        ".......XoooX",
        ".......XooooX",
        ".......XoooooX",
        ".......XooooooX",
        ".......XoooooooX",
        ".......XooooooooX",
        ".......XoooooooooX",
        ".......XooooooXXXXX",
        ".......XoooXooX",
        ".......XooXXooX",
        ".......XoX..XooX",
        ".......XX...XooX",
        ".......X.....XooX",
        ".............XooX",
        "..............XX",
    }},
    {16, 9, 22, {
        "",
        "",
        "......................XXX",
        ".....................XoooX",
        "....................XoooooX",
        "..................XXXoooooX",
        ".................XoooooooX",
        "..................XoooooX",
        ".................XoXoooX",
        "................XoooXXoX",
        "...............XoooX.XoX",
        "..............XoooX...X",
        ".............XoooX",
        "............XoooX",
        "...........XoooX",
        "..........XoooX",
        ".........XoooX",
        "........XoooX",
        ".......XoooX",
        "......XoooX",
        "......XooX",
        ".......XX",
        ".........X",
    }},
    {17, 9, 22, {
        "",
        "..........XX",
        ".........XooX",
        ".........XoXoX",
        ".........XoXXoX",
        "........XXoXoXoX",
        ".......XooXoXooXX",
        "......XoooXoXoooXX",
        ".....XooooXXXooooXX",
        "....XoooooXoXoooooXX",
        "...XoooooXoooXoooooXX",
        "..XooooooXoooXooooooXX",
        "..XXoooooXoooXoooooXXX",
        "...XXoooooXXXoooooXXXX",
        "....XXoooooooooooXX.XX",
        ".....XXoooooooooXX..XX",
        "......XXoooooooXX...XX",
        ".......XXoooooXX....XX",
        "........XXoooXX.....X",
        ".........XXoXX",
        "..........XXX",
        "",
        ".........X",
    }},
    {18, 15, 15, {
        "",
        "",
        "",
        "",
        "..............XX",
        "..........XX.XooXXX",
        ".........XooXXooXooX",
        ".........XooXXooXooX.X",
        "..........XooXooXooXXoX",
        "..........XooXooXooXooX",
        "........XX.XooooooXooX",
        ".......XooXXoooooooooX",
        ".......XoooXooooooooX",
        "........XooooooooooX",
        ".........XoooooooooX",
        ".........XooooooooX",
        "..........XoooooooX",
        "..........XooooooX",
        "...........XoooooX",
        "...........XoooooX",
        "...........XXXXXXX",
    }},
    {19, 11, 22, {
        "",
        "",
        "........................XX",
        ".......................XooX",
        "......................XoooX",
        ".....................XoooX",
        "....................XXooX",
        "...................XoXXX",
        "..................XoooX",
        ".................XoooX",
        "................XoooX",
        "...............XoooX",
        "..............XoooX",
        ".............XoooX",
        "............XoooX",
        "...........XoooX",
        "..........XoooX",
        ".........XoooX",
        "........XXooX",
        "........XoXX",
        "........XXX",
        "........XX",
        "..........X",
    }},
    {20, 13, 14, {
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "..........XXXXXX",
        "........XXooooooXX",
        ".......XooooooooooX",
        "......XooooooooooooX",
        "......XooooooooooooX",
        ".....XooooooooooooooX",
        ".....XooooooXoooooooX",
        ".....XoooooXXXooooooX",
        ".....XooooooXoooooooX",
        ".....XooooooooooooooX",
        "......XooooooooooooX",
        "......XooooooooooooX",
        ".......XooooooooooXX",
        "........XXooooooXXooX",
        "..........XXXXXX.XooX",
        ".................XoooX",
        "..................XoooX",
        "...................XoooX",
        "....................XooX",
        ".....................XX",
    }},
};

void SetMaskBit(unsigned char* mask, int bytesPerRow, int x, int y)
{
    mask[y * bytesPerRow + x / 8] |= (unsigned char)(0x80 >> (x % 8));
}

HCURSOR BuildDrawnCursor(const DrawnCursor& drawn)
{
    unsigned char andMask[128];
    unsigned char xorMask[128];
    memset(andMask, 0xFF, sizeof(andMask));
    memset(xorMask, 0, sizeof(xorMask));
    for (int y = 0; y < 32; y++)
    {
        const char* row = drawn.rows[y];
        for (int x = 0; row && x < 32 && row[x]; x++)
        {
            if (row[x] != 'X' && row[x] != 'o')
                continue;
            andMask[y * 4 + x / 8] &= (unsigned char)~(0x80 >> (x % 8));
            if (row[x] == 'o')
                SetMaskBit(xorMask, 4, x, y);
        }
    }
    return CreateCursor(GetModuleHandleA(nullptr), drawn.hotX, drawn.hotY, 32, 32, andMask, xorMask);
}

}

SCursor::SCursor() : m_shared(0), m_handle(nullptr)
{
}

SCursor::SCursor(int kind) : m_shared(0), m_handle(nullptr)
{
    Create(kind);
}

SCursor::~SCursor()
{
    Release();
}

void SCursor::Release()
{
    if (m_handle && !m_shared)
        DestroyCursor(m_handle);
    m_handle = nullptr;
    m_shared = 0;
}

bool SCursor::Create(int kind)
{
    Release();
    for (const DrawnCursor& drawn : kDrawnCursors)
    {
        if (drawn.kind == kind)
        {
            m_handle = BuildDrawnCursor(drawn);
            return true;
        }
    }
    LPCSTR id = IDC_ARROW;
    for (const SystemCursor& system : kSystemCursors)
        if (system.kind == kind)
            id = system.id;
    m_handle = LoadCursorA(nullptr, id);
    m_shared = 1;
    return true;
}

bool SCursor::CreateFromDC(HDC dc, int width, int height)
{
    Release();
    if (!dc || width <= 0 || height <= 0 || width % 16 != 0 || height > 1024 || width > 1024)
        return false;
    int bytesPerRow = width / 8;
    size_t size = (size_t)bytesPerRow * (size_t)height;
    unsigned char* andMask = new unsigned char[size];
    unsigned char* xorMask = new unsigned char[size];
    memset(andMask, 0, size);
    memset(xorMask, 0, size);
    int hotX = 0, hotY = 0;
    for (int y = 0; y < height; y++)
    {
        for (int x = 0; x < width; x++)
        {
            COLORREF color = GetPixel(dc, x, y);
            bool andBit = false, xorBit = false, hot = false;
            switch (color)
            {
            case 0xFFFFFF: xorBit = true; break;
            case 0xFF00FF: andBit = true; break;
            case 0x0000FF: andBit = true; xorBit = true; break;
            case 0xFF0000: hot = true; break;
            case 0xFE0000: xorBit = true; hot = true; break;
            case 0xFD0000: andBit = true; hot = true; break;
            case 0xFC0000: andBit = true; xorBit = true; hot = true; break;
            default: break;
            }
            if (andBit)
                SetMaskBit(andMask, bytesPerRow, x, y);
            if (xorBit)
                SetMaskBit(xorMask, bytesPerRow, x, y);
            if (hot)
            {
                hotX = x;
                hotY = y;
            }
        }
    }
    m_handle = CreateCursor(GetModuleHandleA(nullptr), hotX, hotY, width, height, andMask, xorMask);
    delete[] andMask;
    delete[] xorMask;
    return m_handle != nullptr;
}
