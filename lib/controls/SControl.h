#pragma once
// The pattern every control class follows: its notification block, its style,
// its background brush and the forwarding of mouse buttons to the parent.
#include <windows.h>

#include "SMessages.h"

class SWnd;

// Notification blocks of the control classes: WM_APP + 3000 + 10 * block.
enum : int
{
    SBLOCK_BROWSER = 0, SBLOCK_BUTTON = 1, SBLOCK_CHECK = 2, SBLOCK_CODEEDIT = 3,
    SBLOCK_CONTROLBAR = 4, SBLOCK_COMBO = 5, SBLOCK_EDIT = 6, SBLOCK_EXLIST = 7,
    SBLOCK_GROUP = 8, SBLOCK_GUI = 9, SBLOCK_LABEL = 10, SBLOCK_LCD = 11, SBLOCK_LEVEL = 12,
    SBLOCK_LIST = 13, SBLOCK_MEDIA = 15, SBLOCK_MEDIAPLAYER = 16, SBLOCK_MENU = 17,
    SBLOCK_PANEL = 18, SBLOCK_PROGRESS = 19, SBLOCK_PROPERTY = 20, SBLOCK_RADIO = 21,
    SBLOCK_RICHEDIT = 22, SBLOCK_SCROLL = 23, SBLOCK_SLIDER = 24, SBLOCK_SPLITTER = 25,
    SBLOCK_SPREAD = 26, SBLOCK_STATUSBAR = 27, SBLOCK_TAB = 28, SBLOCK_TABDOC = 29,
    SBLOCK_TOOLBAR = 30, SBLOCK_TRAY = 31, SBLOCK_TREE = 32, SBLOCK_VISUALIZATION = 34
};

// The style a control's Create passes on: WS_CHILD added unless WS_POPUP (bit 31)
// is set, and the class's fixed type bits added in both cases.
DWORD SControlStyle(DWORD style, DWORD fixedBits = 0);

// The library mouse-event code of a button message or client click
// (WM_LBUTTONDOWN..WM_MBUTTONDBLCLK, WM_S_LCLICK..WM_S_RCLICK); 0 for other messages.
int SControlMouseCode(UINT msg);

// Forwards a button message or client click to the parent's library window
// procedure as message (block's first message + offset), wParam the control and
// lParam a mouse record; true when it was such a message and a parent exists.
bool SControlForwardMouse(SWnd* control, UINT msg, LPARAM lParam, int block, int offset = 0);

// The child-colour brush rule: deletes *owned, then none (0xFF000000) gives null,
// transparent (0xFF000001) the stock hollow brush, any other colour a new solid
// brush kept in *owned. With prepareDC the context's background mode or colour follows.
HBRUSH SControlBrush(HBRUSH* owned, unsigned backColor, HDC dc = nullptr, bool prepareDC = false);

// COLORREF of an ARGB library colour (system colours resolved, alpha dropped).
COLORREF SControlColorRef(unsigned color);
