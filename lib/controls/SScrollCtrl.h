#pragma once
// Scroll bar over the system "SCROLLBAR" class. The parent's scroll handling moves it
// with the parent's own steps and reports WM_APP+3231 when the position changed.
#include "SWnd.h"

class SScrollCtrl : public SWnd
{
public:
    SScrollCtrl();
    ~SScrollCtrl() override;

    // Creates the bar; false when it exists already or creation fails.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // SBM_SETRANGEREDRAW with redraw, else SBM_SETRANGE.
    void SetRange(int min, int max, bool redraw = true);
    // SBM_SETPOS.
    void SetPos(int pos, bool redraw = true);
    // SBM_GETPOS.
    int GetPos();
    // The range read with SBM_GETRANGE.
    int GetMin();
    int GetMax();

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorScrollBar(HDC dc) override;

private:
    HBRUSH m_brush;
};
