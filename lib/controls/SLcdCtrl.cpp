#include "SLcdCtrl.h"

#include <mmsystem.h>

#include "SControl.h"
#include "SRound.h"

namespace
{
const UINT_PTR kTickerTimer = 82;
const double kDefaultSpeed = 5.0;

// The printable ASCII characters ' ' to '~' of a classic 5 x 7 font, five
// columns each with bit 0 as the top row; the display wants bit 7 on top.
const unsigned char kAsciiFont[95][5] = {
    {0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x5F, 0x00, 0x00}, {0x00, 0x07, 0x00, 0x07, 0x00},
    {0x14, 0x7F, 0x14, 0x7F, 0x14}, {0x24, 0x2A, 0x7F, 0x2A, 0x12}, {0x23, 0x13, 0x08, 0x64, 0x62},
    {0x36, 0x49, 0x55, 0x22, 0x50}, {0x00, 0x05, 0x03, 0x00, 0x00}, {0x00, 0x1C, 0x22, 0x41, 0x00},
    {0x00, 0x41, 0x22, 0x1C, 0x00}, {0x08, 0x2A, 0x1C, 0x2A, 0x08}, {0x08, 0x08, 0x3E, 0x08, 0x08},
    {0x00, 0x50, 0x30, 0x00, 0x00}, {0x08, 0x08, 0x08, 0x08, 0x08}, {0x00, 0x60, 0x60, 0x00, 0x00},
    {0x20, 0x10, 0x08, 0x04, 0x02}, {0x3E, 0x51, 0x49, 0x45, 0x3E}, {0x00, 0x42, 0x7F, 0x40, 0x00},
    {0x42, 0x61, 0x51, 0x49, 0x46}, {0x21, 0x41, 0x45, 0x4B, 0x31}, {0x18, 0x14, 0x12, 0x7F, 0x10},
    {0x27, 0x45, 0x45, 0x45, 0x39}, {0x3C, 0x4A, 0x49, 0x49, 0x30}, {0x01, 0x71, 0x09, 0x05, 0x03},
    {0x36, 0x49, 0x49, 0x49, 0x36}, {0x06, 0x49, 0x49, 0x29, 0x1E}, {0x00, 0x36, 0x36, 0x00, 0x00},
    {0x00, 0x56, 0x36, 0x00, 0x00}, {0x08, 0x14, 0x22, 0x41, 0x00}, {0x14, 0x14, 0x14, 0x14, 0x14},
    {0x00, 0x41, 0x22, 0x14, 0x08}, {0x02, 0x01, 0x51, 0x09, 0x06}, {0x32, 0x49, 0x79, 0x41, 0x3E},
    {0x7E, 0x11, 0x11, 0x11, 0x7E}, {0x7F, 0x49, 0x49, 0x49, 0x36}, {0x3E, 0x41, 0x41, 0x41, 0x22},
    {0x7F, 0x41, 0x41, 0x22, 0x1C}, {0x7F, 0x49, 0x49, 0x49, 0x41}, {0x7F, 0x09, 0x09, 0x01, 0x01},
    {0x3E, 0x41, 0x41, 0x51, 0x32}, {0x7F, 0x08, 0x08, 0x08, 0x7F}, {0x00, 0x41, 0x7F, 0x41, 0x00},
    {0x20, 0x40, 0x41, 0x3F, 0x01}, {0x7F, 0x08, 0x14, 0x22, 0x41}, {0x7F, 0x40, 0x40, 0x40, 0x40},
    {0x7F, 0x02, 0x04, 0x02, 0x7F}, {0x7F, 0x04, 0x08, 0x10, 0x7F}, {0x3E, 0x41, 0x41, 0x41, 0x3E},
    {0x7F, 0x09, 0x09, 0x09, 0x06}, {0x3E, 0x41, 0x51, 0x21, 0x5E}, {0x7F, 0x09, 0x19, 0x29, 0x46},
    {0x46, 0x49, 0x49, 0x49, 0x31}, {0x01, 0x01, 0x7F, 0x01, 0x01}, {0x3F, 0x40, 0x40, 0x40, 0x3F},
    {0x1F, 0x20, 0x40, 0x20, 0x1F}, {0x7F, 0x20, 0x18, 0x20, 0x7F}, {0x63, 0x14, 0x08, 0x14, 0x63},
    {0x03, 0x04, 0x78, 0x04, 0x03}, {0x61, 0x51, 0x49, 0x45, 0x43}, {0x00, 0x00, 0x7F, 0x41, 0x41},
    {0x02, 0x04, 0x08, 0x10, 0x20}, {0x41, 0x41, 0x7F, 0x00, 0x00}, {0x04, 0x02, 0x01, 0x02, 0x04},
    {0x40, 0x40, 0x40, 0x40, 0x40}, {0x00, 0x01, 0x02, 0x04, 0x00}, {0x20, 0x54, 0x54, 0x54, 0x78},
    {0x7F, 0x48, 0x44, 0x44, 0x38}, {0x38, 0x44, 0x44, 0x44, 0x20}, {0x38, 0x44, 0x44, 0x48, 0x7F},
    {0x38, 0x54, 0x54, 0x54, 0x18}, {0x08, 0x7E, 0x09, 0x01, 0x02}, {0x08, 0x14, 0x54, 0x54, 0x3C},
    {0x7F, 0x08, 0x04, 0x04, 0x78}, {0x00, 0x44, 0x7D, 0x40, 0x00}, {0x20, 0x40, 0x44, 0x3D, 0x00},
    {0x00, 0x7F, 0x10, 0x28, 0x44}, {0x00, 0x41, 0x7F, 0x40, 0x00}, {0x7C, 0x04, 0x18, 0x04, 0x78},
    {0x7C, 0x08, 0x04, 0x04, 0x78}, {0x38, 0x44, 0x44, 0x44, 0x38}, {0x7C, 0x14, 0x14, 0x14, 0x08},
    {0x08, 0x14, 0x14, 0x18, 0x7C}, {0x7C, 0x08, 0x04, 0x04, 0x08}, {0x48, 0x54, 0x54, 0x54, 0x20},
    {0x04, 0x3F, 0x44, 0x40, 0x20}, {0x3C, 0x40, 0x40, 0x20, 0x7C}, {0x1C, 0x20, 0x40, 0x20, 0x1C},
    {0x3C, 0x40, 0x30, 0x40, 0x3C}, {0x44, 0x28, 0x10, 0x28, 0x44}, {0x0C, 0x50, 0x50, 0x50, 0x3C},
    {0x44, 0x64, 0x54, 0x4C, 0x44}, {0x00, 0x08, 0x36, 0x41, 0x00}, {0x00, 0x00, 0x7F, 0x00, 0x00},
    {0x00, 0x41, 0x36, 0x08, 0x00}, {0x08, 0x04, 0x08, 0x10, 0x08},
};

unsigned char TopRowFirst(unsigned char column)
{
    unsigned char out = 0;
    for (int row = 0; row < 7; row++)
        if (column & (1 << row))
            out |= (unsigned char)(0x80 >> row);
    return out;
}

SString Blanks(int count)
{
    SString text;
    for (int i = 0; i < count; i++)
        text.AppendChar(' ');
    return text;
}

// Whole-character offset of a scroll position.
int ScrollOffset(int chars, double position)
{
    return SRound::Truncate(chars + position) - chars;
}
}

SLcdCtrl::SLcdCtrl()
    : m_cellColor(RGB(75, 162, 209)), m_dotColor(RGB(10, 10, 10)), m_dotWidth(2), m_dotHeight(2),
      m_charCount(16), m_lineCount(1), m_alignment(0), m_scrolling(false), m_lastTick(0)
{
    SetKind(SKIND_LCD);
    m_speeds.Add(kDefaultSpeed);
    m_positions.Add(0.0);
}

SLcdCtrl::~SLcdCtrl()
{
    if (GetHandle() && m_scrolling)
        KillTimer(kTickerTimer);
}

bool SLcdCtrl::Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                      UINT_PTR id, LPARAM creationParam)
{
    return SWnd::Create(text, SControlStyle(style), exStyle, rect, parent, id, creationParam);
}

void SLcdCtrl::SetPixelSize(int width, int height)
{
    if (width == m_dotWidth && height == m_dotHeight)
        return;
    m_dotWidth = width < 1 ? 1 : width;
    m_dotHeight = height < 1 ? 1 : height;
    if (GetHandle())
        Redraw();
}

void SLcdCtrl::SetLineCount(int count)
{
    m_lineCount = count < 1 ? 1 : count;
    m_speeds.RemoveAll();
    m_positions.RemoveAll();
    m_speeds.Add(kDefaultSpeed, -1, m_lineCount);
    m_positions.Add(0.0, -1, m_lineCount);
}

void SLcdCtrl::SetCharCount(int count)
{
    m_charCount = count < 1 ? 1 : count;
}

void SLcdCtrl::SetLineSpeed(int line, double speed)
{
    if (line < -1 || line >= m_lineCount)
        return;
    m_speeds.SetAt(line, speed);
}

double SLcdCtrl::GetLineSpeed(int line) const
{
    return m_speeds.GetAt(line);
}

double SLcdCtrl::GetLinePosition(int line) const
{
    return m_positions.GetAt(line);
}

void SLcdCtrl::SetScroll(bool on)
{
    if (on)
    {
        m_scrolling = true;
        m_positions.SetAt(-1, -(double)m_charCount);
        m_lastTick = timeGetTime();
        if (GetHandle())
            SetTimer(kTickerTimer, 20);
    }
    else
    {
        if (GetHandle())
            KillTimer(kTickerTimer);
        m_scrolling = false;
    }
}

void SLcdCtrl::SetAlignment(int flags)
{
    if (flags == m_alignment)
        return;
    m_alignment = (flags & 3) == 3 ? 3 : (flags & 2) ? 2 : (flags & 1) ? 1 : 0;
    if (GetHandle())
        Redraw();
}

void SLcdCtrl::SetCellColor(COLORREF color)
{
    if (color != SCOLOR_NONE)
        m_cellColor = color;
}

void SLcdCtrl::SetDotColor(COLORREF color)
{
    if (color != SCOLOR_NONE)
        m_dotColor = color;
}

SString SLcdCtrl::ComposeText(DWORD now)
{
    SString text = GetText();
    if (!m_scrolling)
    {
        if (m_alignment >= 1 && m_alignment <= 3)
            text.AlignText(m_alignment, m_charCount, true);
        return text;
    }
    double elapsed = (double)(DWORD)(now - m_lastTick);
    m_lastTick = now;
    SString out;
    int start = 0;
    for (int line = 0; start < text.GetLength() || line == 0; line++)
    {
        int next = text.GetLength();
        SString part = text.GetLine(start, &next);
        // Text lines beyond the display's lines keep no ticker state of their own.
        double speed = line < m_lineCount ? m_speeds.GetAt(line) : 0.0;
        if (speed != 0.0)
        {
            double position = m_positions.GetAt(line);
            int oldOffset = ScrollOffset(m_charCount, position);
            position += speed * elapsed / 1000.0;
            int newOffset = ScrollOffset(m_charCount, position);
            if (newOffset < 0)
            {
                // Blanks beyond the display's width would never show.
                int blanks = -newOffset < m_charCount ? -newOffset : m_charCount;
                part = Blanks(blanks) + part;
            }
            else if (newOffset > part.GetLength())
            {
                part = Blanks(m_charCount) + part;
                position = -(double)m_charCount;
                newOffset = -m_charCount;
            }
            else
                part = part.Mid(newOffset);
            m_positions.SetAt(line, position);
            if (newOffset != oldOffset)
                OnScrollStep(line, newOffset);
        }
        if (line > 0)
            out.Append("\r\n");
        out.Append(part);
        if (next <= start)
            break;
        start = next;
    }
    return out;
}

void SLcdCtrl::GetCharColumns(char ch, unsigned char columns[5])
{
    unsigned char code = (unsigned char)ch;
    static const unsigned char euro[5] = {16, 56, 84, 68, 40};
    static const unsigned char yen[5] = {168, 104, 62, 104, 168};
    static const unsigned char macron[5] = {128, 128, 128, 128, 128};
    const unsigned char* special = nullptr;
    if (code == 0x80)
        special = euro;
    else if (code == 0xA5)
        special = yen;
    else if (code == 0xAF)
        special = macron;
    for (int i = 0; i < 5; i++)
    {
        if (special)
            columns[i] = special[i];
        else if (code == '\t')
            columns[i] = 0;
        else if (code >= 0x20 && code <= 0x7E)
            columns[i] = TopRowFirst(kAsciiFont[code - 0x20][i]);
        else
            columns[i] = 0xFE;
    }
}

void SLcdCtrl::Paint(HDC dc)
{
    SString text = ComposeText(timeGetTime());
    RECT client = {0, 0, 0, 0};
    GetClientRect(&client);
    int displayWidth = 6 * m_dotWidth * m_charCount;
    int displayHeight = 8 * m_dotHeight * m_lineCount;
    int left = 0, top = 0;
    if (displayWidth - m_dotWidth < client.right)
        left = (client.right + m_dotWidth - displayWidth) / 2;
    if (displayHeight - m_dotHeight < client.bottom)
        top = (client.bottom + m_dotHeight - displayHeight) / 2;

    HBRUSH cell = CreateSolidBrush(m_cellColor);
    if (cell)
    {
        for (int line = 0; line < m_lineCount; line++)
            for (int column = 0; column < m_charCount; column++)
            {
                int x = left + column * 6 * m_dotWidth, y = top + line * 8 * m_dotHeight;
                RECT rect = {x, y, x + 5 * m_dotWidth, y + 7 * m_dotHeight};
                FillRect(dc, &rect, cell);
            }
        DeleteObject(cell);
    }
    DrawCharacters(dc, text, left, top);
}

void SLcdCtrl::DrawCharacters(HDC dc, const SString& text, int left, int top)
{
    HBRUSH dot = CreateSolidBrush(m_dotColor);
    if (!dot)
        return;
    int bottom = top + 8 * m_dotHeight * m_lineCount;
    int line = 0, column = 0;
    const char* p = text;
    for (int i = 0; i < text.GetLength(); i++)
    {
        char ch = p[i];
        if (ch == '\r' || ch == '\n')
        {
            if (ch == '\r' && i + 1 < text.GetLength() && p[i + 1] == '\n')
                i++;
            line++;
            column = 0;
            if (top + line * 8 * m_dotHeight >= bottom)
                break;
            continue;
        }
        // A character past the right edge is dropped with the rest of its line.
        if (column >= m_charCount)
            continue;
        unsigned char columns[5];
        GetCharColumns(ch, columns);
        int x = left + column * 6 * m_dotWidth, y = top + line * 8 * m_dotHeight;
        for (int c = 0; c < 5; c++)
            for (int row = 0; row < 7; row++)
                if (columns[c] & (0x80 >> row))
                {
                    RECT rect = {x + c * m_dotWidth, y + row * m_dotHeight, x + (c + 1) * m_dotWidth,
                                 y + (row + 1) * m_dotHeight};
                    FillRect(dc, &rect, dot);
                }
        column++;
    }
    DeleteObject(dot);
}

void SLcdCtrl::OnScrollStep(int, int)
{
}

LRESULT SLcdCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        SetBackColor(RGB(108, 190, 226));
        m_scrolling = false;
        break;
    case WM_SETTEXT:
    {
        LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
        Redraw();
        return result;
    }
    case WM_ERASEBKGND:
        if (lParam)
            Paint((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        Paint((HDC)wParam);
        break;
    case WM_TIMER:
        if (wParam == kTickerTimer)
            Redraw();
        break;
    default:
        SControlForwardMouse(this, msg, lParam, SBLOCK_LCD);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
