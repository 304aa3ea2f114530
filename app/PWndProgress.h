#pragma once
// The small topmost window with a progress bar (0..1000) shown while the book is written.
#include <windows.h>

#include "SProgressCtrl.h"
#include "SWnd.h"

class PWndProgress : public SWnd
{
public:
    PWndProgress();
    ~PWndProgress() override;
    // Creates the popup, 300 x 35 client pixels centred on the work area.
    bool Create(HWND owner);
    // Sets the bar and redraws it at once when the value changes.
    void SetPos(int position);
    int GetPos();
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SProgressCtrl m_progress;
};
