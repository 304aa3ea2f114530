#pragma once

#include <windows.h>

// The library's private window messages (all in the application range).
enum : UINT
{
    WM_S_DATA_BLOCK       = WM_APP + 502,  // wParam block flags, lParam the closed block
    WM_S_DATA_OPEN        = WM_APP + 503,  // wParam flags, lParam size: answer handle
    WM_S_DATA_WRITE       = WM_APP + 504,  // wParam handle, lParam 32-bit value
    WM_S_DATA_CLOSE       = WM_APP + 505,  // wParam handle, lParam header value
    WM_S_CREATED          = WM_APP + 1001, // lParam creation parameter; non-zero answer destroys
    WM_S_DIALOG_READY     = WM_APP + 1002, // every control of a dialog exists
    WM_S_PARENT_SIZED     = WM_APP + 1003, // wParam SIZE_* type, lParam parent HWND
    WM_S_PARENT_MOVED     = WM_APP + 1004, // wParam WM_MOVE wParam, lParam parent HWND
    WM_S_MODAL_START      = WM_APP + 1005, // non-zero answer refuses the modal run
    WM_S_OK               = WM_APP + 1006, // lParam 1 from the Return key
    WM_S_CANCEL           = WM_APP + 1007, // lParam 1 from Escape, 0 from WM_CLOSE
    WM_S_FILES_DROPPED    = WM_APP + 1008, // wParam SStringArray* of paths
    WM_S_MAXIMIZED        = WM_APP + 1009,
    WM_S_MINIMIZED        = WM_APP + 1010,
    WM_S_RESTORED         = WM_APP + 1011,
    WM_S_NC_LCLICK        = WM_APP + 1012, // lParam screen point of the button-up
    WM_S_NC_MCLICK        = WM_APP + 1013,
    WM_S_NC_RCLICK        = WM_APP + 1014,
    WM_S_LCLICK           = WM_APP + 1015, // lParam client point of the button-up
    WM_S_MCLICK           = WM_APP + 1016,
    WM_S_RCLICK           = WM_APP + 1017,
    WM_S_MOUSE_ENTER      = WM_APP + 1018, // wParam key flags, lParam client point
    WM_S_MOUSE_LEAVE      = WM_APP + 1019,
    WM_S_DRAG_START       = WM_APP + 1020, // non-zero answer prevents the drag
    WM_S_DRAG_END         = WM_APP + 1021,
    WM_S_HSCROLLED        = WM_APP + 1023, // wParam new position << 16 | old position
    WM_S_VSCROLLED        = WM_APP + 1024,
    WM_S_TRAY             = WM_APP + 1025,
    WM_S_APP_DRAG_MOVE    = WM_APP + 1029,
    WM_S_APP_DRAG_UP      = WM_APP + 1030,
    WM_S_APP_DRAG_LOST    = WM_APP + 1031,
    WM_S_ITEM_EXPANDED    = WM_APP + 1042, // to a tree control: wParam the item, lParam 1 when expanded
    WM_S_CHANGED          = WM_APP + 1500, // wParam source SWnd*, lParam change code
    WM_S_CHILD_SYSKEY     = WM_APP + 1501, // wParam key, lParam child SWnd*; -1 eats the key
    WM_S_CHILD_KEY        = WM_APP + 1502, // wParam key, lParam child SWnd*
    WM_S_ANCHORED         = WM_APP + 1503, // wParam the anchored child SWnd*
    WM_S_RADIO_CHECK      = WM_APP + 1504, // to a radio control: check it, uncheck its group
    WM_S_LIST_MEASURE     = WM_APP + 1530, // lParam MEASUREITEMSTRUCT* of the list's item: fills its height
    WM_S_LIST_DRAW        = WM_APP + 1531, // lParam DRAWITEMSTRUCT* of the list's item: non-zero when drawn
    WM_S_TAB_SHOW_PAGE    = WM_APP + 1532, // wParam tab: the tab control shows that tab's page windows
    WM_S_THREAD_FIRST     = WM_APP + 2010,
    WM_S_CONTROL_FIRST    = WM_APP + 3000  // WM_APP + 3000 + 10 * block
};

// First message number of a control's notification block.
constexpr UINT ControlMessage(int block, int offset = 0)
{
    return WM_APP + 3000 + 10 * block + offset;
}

// Mouse event code sent to parents: buttons and actions.
enum : int
{
    SMOUSE_LEFT = 1, SMOUSE_MIDDLE = 2, SMOUSE_RIGHT = 4,
    SMOUSE_DOWN = 8, SMOUSE_UP = 16, SMOUSE_CLICK = 32, SMOUSE_DOUBLECLICK = 64
};

// Mouse record handed by pointer with list and tree notifications.
struct SMouseRecord
{
    int code;
    int x, y;
    int screenX, screenY;
};

// Control kinds kept in SWnd's kind field.
enum : int
{
    SKIND_WINDOW = 0, SKIND_WEB = 1, SKIND_BUTTON = 2, SKIND_CHECK = 4, SKIND_CODEEDIT = 6,
    SKIND_COMBO = 7, SKIND_CONTROLBAR = 8, SKIND_DESIGNER = 9, SKIND_EDIT = 10,
    SKIND_EXLIST = 11, SKIND_GROUP = 12, SKIND_GUI = 14, SKIND_LABEL = 16, SKIND_LCD = 17,
    SKIND_LEVEL = 18, SKIND_LIST = 19, SKIND_MEDIA = 22, SKIND_MEDIAPLAYER = 23,
    SKIND_IMAGEEDITOR = 24, SKIND_PANEL = 25, SKIND_PROGRESS = 26, SKIND_PROPERTY = 28,
    SKIND_RADIO = 29, SKIND_RICHEDIT = 30, SKIND_SCROLL = 31, SKIND_SLIDER = 33,
    SKIND_SPLITTER = 34, SKIND_SPREAD = 35, SKIND_STATIC = 36, SKIND_STATUSBAR = 37,
    SKIND_TAB = 38, SKIND_TABDOC = 39, SKIND_TOOLBAR = 40, SKIND_TRAY = 41, SKIND_TREE = 42,
    SKIND_WAVEEDITOR = 44, SKIND_EXTERN = 45
};

// Colour values with a meaning of their own.
constexpr unsigned SCOLOR_NONE = 0xFF000000u;
constexpr unsigned SCOLOR_TRANSPARENT = 0xFF000001u;
// 0xFE000000 + n stands for the system colour n (GetSysColor at drawing time).
constexpr unsigned SCOLOR_SYSTEM = 0xFE000000u;
