#include "PSplitterCtrl.h"

#include "SBrowserCtrl.h"
#include "SControl.h"
#include "SMediaCtrl.h"
#include "SMessages.h"

bool PSplitterCtrl::OnChildMessage(_SWnd* pane, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    (void)pane;
    HWND owner = GetParent();
    if (!owner)
        return true;
    switch (msg)
    {
    case WM_S_CHANGED:
    case ControlMessage(SBLOCK_LIST, 0):
    case ControlMessage(SBLOCK_LIST, 1):
    case ControlMessage(SBLOCK_LIST, 2):
    case ControlMessage(SBLOCK_LIST, 3):
    case WM_S_MEDIA_MOUSE:
    case ControlMessage(SBLOCK_SCROLL, 1):
        ::SendMessageA(owner, msg, wParam, lParam);
        return true;
    case ControlMessage(SBLOCK_BROWSER, 0):
    case ControlMessage(SBLOCK_RICHEDIT, 1):
    {
        LRESULT answer = ::SendMessageA(owner, msg, wParam, lParam);
        if (result)
            *result = answer;
        return false;
    }
    default:
        return true;
    }
}
