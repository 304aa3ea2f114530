#pragma once
// Band container over the system "ReBarWindow32" class: holds the tool bar and
// other child windows, and passes the tool bar's commands on to its own parent.
#include <windows.h>
#include <commctrl.h>

#include "SWnd.h"

class SControlBarCtrl : public SWnd
{
public:
    SControlBarCtrl();
    // Deletes every band before the window goes.
    ~SControlBarCtrl() override;

    // Creates the bar (CCS_NODIVIDER, no rectangle: it places itself).
    bool Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id = 0);

    // Inserts a band holding child at index (-1 = the end); width -1 for none, text null for none.
    bool InsertBand(HWND child, int index, int minWidth, int height, int width, bool newLine,
                    const char* text, UINT style);
    // RB_SETBARINFO with the mask and image list.
    bool SetBarInfo(UINT mask, HIMAGELIST images);
    // Deletes the band at index; false outside the bands.
    bool DeleteBand(int index);
    int GetBandCount();
    // Index of the band that holds the child window; -1 when none does.
    int FindBand(HWND child);
    // Shows or hides the band at index; false outside the bands.
    bool ShowBand(int index, bool show);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void DeleteAllBands();
};
