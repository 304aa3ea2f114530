#pragma once
// A character LCD imitation: a grid of 5 x 7 dot cells showing the window
// text, one display line per text line, with an optional sideways ticker.
#include <windows.h>

#include "SArray.h"
#include "SString.h"
#include "SWnd.h"

class SLcdCtrl : public SWnd
{
public:
    SLcdCtrl();
    ~SLcdCtrl() override;

    // Creates the display over the library window class with the text to show.
    bool Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0);

    // Pixels per dot horizontally and vertically (each at least 1); redraws when changed.
    void SetPixelSize(int width, int height);
    int GetPixelWidth() const { return m_dotWidth; }
    int GetPixelHeight() const { return m_dotHeight; }
    // Number of display lines (at least 1); every line's speed becomes 5 and its position 0.
    void SetLineCount(int count);
    int GetLineCount() const { return m_lineCount; }
    // Characters per display line (at least 1).
    void SetCharCount(int count);
    int GetCharCount() const { return m_charCount; }
    // Ticker speed of one line in characters per second; line -1 sets every line.
    void SetLineSpeed(int line, double speed);
    // Speed of a line; 0 outside the lines.
    double GetLineSpeed(int line) const;
    // Scroll position of a line in characters; 0 outside the lines.
    double GetLinePosition(int line) const;
    // Starts (every line just off the right edge, timer 82) or stops the ticker.
    void SetScroll(bool on);
    bool IsScrolling() const { return m_scrolling; }
    // Alignment of the text when not scrolling: 0 unchanged, 1 centre, 2 right, 3 justify.
    void SetAlignment(int flags);
    int GetAlignment() const { return m_alignment; }
    // Fill of each character cell; 0xFF000000 keeps the current one.
    void SetCellColor(COLORREF color);
    COLORREF GetCellColor() const { return m_cellColor; }
    // Colour of the lit dots; 0xFF000000 keeps the current one.
    void SetDotColor(COLORREF color);
    COLORREF GetDotColor() const { return m_dotColor; }
    // Time (timeGetTime) of the previous ticker step.
    DWORD GetLastTick() const { return m_lastTick; }

    // The text the display shows at the given time: the ticker advanced up to
    // that time while scrolling, else the window text aligned.
    SString ComposeText(DWORD now);
    // Paints the display into a device context (the ticker advances to now).
    void Paint(HDC dc);
    // The five column bytes of a character (bit 7 the top row, bit 1 the bottom one).
    static void GetCharColumns(char ch, unsigned char columns[5]);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Called when a scrolling line moves to a new whole-character offset.
    virtual void OnScrollStep(int line, int offset);

private:
    void DrawCharacters(HDC dc, const SString& text, int left, int top);

    COLORREF m_cellColor;     // fill of each character cell
    COLORREF m_dotColor;      // lit dots
    int m_dotWidth;           // pixels per dot horizontally
    int m_dotHeight;          // pixels per dot vertically
    int m_charCount;          // characters per line
    int m_lineCount;          // display lines
    int m_alignment;          // 0 none, 1 centre, 2 right, 3 justify
    bool m_scrolling;         // ticker running on timer 82
    DWORD m_lastTick;         // time of the previous ticker step
    SArray<double> m_speeds;  // characters per second, one per line
    SArray<double> m_positions; // scroll position in characters, one per line
};
