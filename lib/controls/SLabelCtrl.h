#pragma once
// Single-line text label over the library window class, drawn by the class.
#include "SWnd.h"

class SLabelCtrl : public SWnd
{
public:
    SLabelCtrl();
    ~SLabelCtrl() override;

    // Creates the label; false when it exists already or creation fails.
    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0);

    // The text colour (COLORREF).
    void SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    // Horizontal 1 centre, 2 right (3 = both bits, drawn left); vertical 0x10 centre, 0x20 bottom.
    void SetAlignment(int flags);
    // Low four bits horizontal, bits 4-7 vertical; 0x10 initially.
    int GetAlignment() const { return m_alignment; }
    // The DrawTextA flags the alignment gives.
    UINT GetDrawFlags() const;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Draws the text into a context.
    void DrawLabel(HDC dc);

    COLORREF m_textColor;
    int m_alignment;
};
