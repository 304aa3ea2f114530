#pragma once
// Progress bar over the system "msctls_progress32" class; range 0..100 after creation.
#include "SWnd.h"

class SProgressCtrl : public SWnd
{
public:
    SProgressCtrl();
    ~SProgressCtrl() override;

    // Creates the bar; false when it exists already or creation fails.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // PBM_SETRANGE32.
    void SetRange(int min, int max);
    // PBM_SETPOS.
    void SetPos(int pos);
    // PBM_GETPOS.
    int GetPos();
    // The upper limit of the range.
    int GetMax();

    // Gives the colour to the bar itself (PBM_SETBKCOLOR); nothing is stored.
    void SetBackColor(unsigned color) override;
    // Always "no colour": the library paints no background for the bar.
    unsigned GetBackColor() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
