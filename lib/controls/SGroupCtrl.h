#pragma once
// Group box over the system "BUTTON" class, with a text colour of its own.
#include "SWnd.h"

class SGroupCtrl : public SWnd
{
public:
    SGroupCtrl();
    ~SGroupCtrl() override;

    // Creates the group box (BS_GROUPBOX); false when it exists already or creation fails.
    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0);

    // The caption colour (a library colour; its alpha is ignored when drawing).
    unsigned GetTextColor() const { return m_textColor; }
    // Sets the caption colour (dialog descriptions give it).
    void SetTextColor(unsigned color) { m_textColor = color; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    HBRUSH m_brush;
    unsigned m_textColor;
};
