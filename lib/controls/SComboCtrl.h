#pragma once
// Thin wrapper over the system "COMBOBOX".
#include <windows.h>

#include "SString.h"
#include "SWnd.h"

class SComboCtrl : public SWnd
{
public:
    // Kind 7.
    SComboCtrl();
    ~SComboCtrl() override;

    // "COMBOBOX" with the text; WS_CHILD unless WS_POPUP.
    bool Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);
    // Appends (index < 0) or inserts an entry; its index or -1.
    int AddString(const char* text, int index = -1);
    // Deletes an entry; the number left or CB_ERR.
    int DeleteString(int index);
    // Removes every entry.
    void ResetContent();
    // Number of entries (0 without a window).
    int GetCount();
    // The selected entry; -1 when none.
    int GetCurSel();
    // Selects an entry (-1 clears); false when the control refuses.
    bool SetCurSel(int index);
    // First entry after start whose text equals text (the system ignores case); -1 when none.
    int FindStringExact(const char* text, int start = -1);
    // Selects the first entry after start that starts with text, or (exact) equals it; its index or -1.
    int SelectString(const char* text, bool exact, int start = -1);
    // An entry's text; "" outside the entries.
    SString GetLBText(int index);
    // The selected entry's text; "" when nothing is selected.
    SString GetSelectedText();

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
