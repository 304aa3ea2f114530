#pragma once
// Slider over the system "msctls_trackbar32" class. Its moves reach the parent as
// WM_APP+3241 through the parent's scroll handling.
#include "SWnd.h"

class SSliderCtrl : public SWnd
{
public:
    SSliderCtrl();
    ~SSliderCtrl() override;

    // Creates the slider; false when it exists already or creation fails.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // TBM_SETRANGEMIN and TBM_SETRANGEMAX, then a redraw when asked.
    void SetRange(int min, int max, bool redraw = true);
    // TBM_SETPOS.
    void SetPos(int pos, bool redraw = true);
    // TBM_GETPOS.
    int GetPos();

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    HBRUSH m_brush;
};
