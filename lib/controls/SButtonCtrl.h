#pragma once
// Push button over the system "BUTTON" class.
#include "SWnd.h"

class SButtonCtrl : public SWnd
{
public:
    SButtonCtrl();
    ~SButtonCtrl() override;

    // Creates the push button; false when it exists already or creation fails.
    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorBtn(HDC dc) override;

private:
    HBRUSH m_brush;
};
