#pragma once
// The splitter that holds the main window's panes and passes the notifications of
// the windows in its panes on to its owner, the window it was created in.
#include <windows.h>

#include "SSplitterCtrl.h"

class PSplitterCtrl : public SSplitterCtrl
{
public:
    // Sends the owner every notification it handles (kForwarded); where the sender waits for
    // an answer, the owner's answer becomes the pane's.
    bool OnChildMessage(_SWnd* pane, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
