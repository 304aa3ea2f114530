#pragma once
// Check box over the system "BUTTON" class. It is not automatic: the parent's
// translation toggles it on a click and reports the new state.
#include "SWnd.h"

class SCheckCtrl : public SWnd
{
public:
    SCheckCtrl();
    ~SCheckCtrl() override;

    // Creates the check box (BS_CHECKBOX); false when it exists already or creation fails.
    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0);

    // 0 unchecked, 1 checked, 2 anything else (indeterminate).
    int GetCheck();
    // 0 unchecks, 1 checks, any other value makes it indeterminate.
    void SetCheck(int state);
    // The state is 1.
    bool IsChecked();
    // SetCheck with 1 or 0.
    void SetChecked(bool checked);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    HBRUSH m_brush;
};
