#pragma once
// Radio button over the system "BUTTON" class. It is not automatic: Check sets
// it and unchecks the radios of the same group that share its parent.
#include "SWnd.h"

class SRadioCtrl : public SWnd
{
public:
    SRadioCtrl();
    ~SRadioCtrl() override;

    // Creates the radio button (BS_RADIOBUTTON); false when it exists already or creation fails.
    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0);

    // Checks this radio and unchecks the sibling radios of its group (none for group -1).
    void Check();
    // The radio group number; -1 = no group.
    int GetGroup() const { return m_group; }
    // Sets the radio group number (dialog descriptions give it).
    void SetGroup(int group) { m_group = group; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    HBRUSH m_brush;
    int m_group;
};
