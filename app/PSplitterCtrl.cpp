#include "PSplitterCtrl.h"

#include "SBrowserCtrl.h"
#include "SControl.h"
#include "SMediaCtrl.h"
#include "SMessages.h"

namespace
{
// A notification of a pane's window that the owner hears of.
struct Forwarded
{
    UINT message;
    // The owner's answer goes back to the sender and the pane stops there; otherwise the
    // pane goes on with the message as any window would.
    bool answered;
};

// Every notification the owner handles must stand here: the sender talks only to the pane.
const Forwarded kForwarded[] = {
    {WM_S_CHANGED, false},                     // a window's content changed (the note view)
    {ControlMessage(SBLOCK_LIST, 0), false},    // list key
    {ControlMessage(SBLOCK_LIST, 1), false},    // list mouse event
    {ControlMessage(SBLOCK_LIST, 2), false},    // list selection changed
    {ControlMessage(SBLOCK_LIST, 3), false},    // list double click
    {WM_S_MEDIA_MOUSE, false},                  // markup view mouse event
    // The pane's own scroll handling sends these two to itself when a scroll bar or a
    // slider in it moves: the owner reads the position (the volume slider).
    {ControlMessage(SBLOCK_SCROLL, 1), false},
    {ControlMessage(SBLOCK_SLIDER, 1), false},
    {WM_S_BROWSER_BEFORE_NAVIGATE, true},       // a non-zero answer cancels the navigation
    {ControlMessage(SBLOCK_RICHEDIT, 1), true}, // rich-text link
    {WM_S_MEDIA_LINK, true},                    // markup view link: 0 lets the view open it itself
};
} // namespace

bool PSplitterCtrl::OnChildMessage(_SWnd* pane, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    (void)pane;
    HWND owner = GetParent();
    if (!owner)
        return true;
    for (const Forwarded& forwarded : kForwarded)
    {
        if (forwarded.message != msg)
            continue;
        LRESULT answer = ::SendMessageA(owner, msg, wParam, lParam);
        if (!forwarded.answered)
            return true;
        if (result)
            *result = answer;
        return false;
    }
    return true;
}
