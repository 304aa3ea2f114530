#include "SWnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <string.h>

#include "SDisk.h"
#include "SLibrary.h"
#include "SMenu.h"
#include "SStringArray.h"
#include "SWndThreadRecord.h"

namespace
{

const UINT kAboutCommand = 1980;
const char kAboutCaption[] = "About Melvora Browser...";
const char kAboutTarget[] = "https://www.ormelin-tavrin.com/melvora";

int ModifierState()
{
    int state = 0;
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        state |= 2;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        state |= 1;
    return state;
}

// Writes the track sizes that are set (not -1) into a MINMAXINFO point; a client
// size plus the margins wins over a track size.
void ApplyTrackSize(POINT* size, int trackWidth, int trackHeight, int clientWidth, int clientHeight,
                    int marginX, int marginY)
{
    if (trackWidth != -1)
        size->x = trackWidth;
    if (trackHeight != -1)
        size->y = trackHeight;
    if (clientWidth != -1)
        size->x = clientWidth + marginX;
    if (clientHeight != -1)
        size->y = clientHeight + marginY;
}

void FillMouseRecord(SMouseRecord* record, HWND control, int code)
{
    POINT screen = {0, 0};
    GetCursorPos(&screen);
    POINT client = screen;
    ScreenToClient(control, &client);
    record->code = code;
    record->x = client.x;
    record->y = client.y;
    record->screenX = screen.x;
    record->screenY = screen.y;
}

// The list control (kind 19) whose owner-drawn item is being measured: a library list of this
// window with the item's control id. Its item records start with their control, which tells
// several such lists apart.
SWnd* FindMeasuredList(HWND self, const MEASUREITEMSTRUCT* measure)
{
    SWndThreadRecord* thread = FindThreadRecord(0);
    if (!thread || !measure->itemData)
        return nullptr;
    SArray<SWnd*>& windows = thread->GetWindows();
    SWnd* found = nullptr;
    int candidates = 0;
    for (int i = 0; i < windows.GetCount(); i++)
    {
        SWnd* window = windows.GetAt(i);
        if (window && window->GetKind() == SKIND_LIST && window->GetHandle() &&
            ::GetParent(window->GetHandle()) == self && (UINT)window->GetId() == measure->CtlID)
        {
            found = window;
            candidates++;
        }
    }
    if (candidates <= 1)
        return found;
    SWnd* owner = *(SWnd* const*)measure->itemData;
    for (int i = 0; i < windows.GetCount(); i++)
        if (windows.GetAt(i) == owner && owner->GetKind() == SKIND_LIST)
            return owner;
    return nullptr;
}

}

void SWnd::InitAfterCreate()
{
    m_eraseNesting = 0;
    if (m_kind == 0)
        SetBackColor(GetSysColor(COLOR_BTNFACE));
    // A window that is not shown yet is drawn whole when it is shown: redrawing it for
    // the font now only costs time, once per control of a dialog.
    bool shown = (::GetWindowLongPtrA(m_handle, GWL_STYLE) & WS_VISIBLE) != 0;
    ::SendMessageA(m_handle, WM_SETFONT, (WPARAM)GetDefaultFont(), shown);
    m_cursorHandling = 1;
    m_cursor = nullptr;
    m_normalState = !::IsIconic(m_handle) && !::IsZoomed(m_handle) ? 1 : 0;
    m_refuseNextFocus = 0;
    HMENU systemMenu = ::GetSystemMenu(m_handle, FALSE);
    if (systemMenu)
    {
        MENUITEMINFOA item;
        memset(&item, 0, sizeof(item));
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE;
        item.fType = MFT_SEPARATOR;
        InsertMenuItemA(systemMenu, 0, TRUE, &item);
        memset(&item, 0, sizeof(item));
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING;
        item.wID = kAboutCommand;
        item.dwTypeData = (LPSTR)kAboutCaption;
        InsertMenuItemA(systemMenu, 0, TRUE, &item);
    }
}

bool SWnd::PreHandleMessage(UINT msg, WPARAM* wParam, LPARAM* lParam, LRESULT* result)
{
    *result = 0;
    switch (msg)
    {
    case WM_S_CREATED:
        InitAfterCreate();
        return true;
    case WM_SYSCOMMAND:
        if (*wParam == kAboutCommand)
        {
            SDisk().Run(kAboutTarget, "", false, false, SW_SHOWNORMAL);
            return false;
        }
        return true;
    case WM_DESTROY:
        EndModal(-1);
        DestroyCaret();
        ForgetClickWindow(this);
        if (GetMenu())
            SetMenu(nullptr, true);
        return true;
    case WM_SIZE:
        if (*wParam == SIZE_MAXIMIZED)
        {
            m_normalState = 0;
            ::SendMessageA(m_handle, WM_S_MAXIMIZED, 0, 0);
        }
        else if (*wParam == SIZE_MINIMIZED)
        {
            m_normalState = 0;
            ::SendMessageA(m_handle, WM_S_MINIMIZED, 0, 0);
        }
        else if (*wParam == SIZE_RESTORED && !m_normalState)
        {
            m_normalState = 1;
            ::SendMessageA(m_handle, WM_S_RESTORED, 0, 0);
        }
        return true;
    case WM_SETFOCUS:
        if (m_refuseNextFocus)
        {
            m_refuseNextFocus = 0;
            ::SetFocus((HWND)*wParam);
            return false;
        }
        if (m_caretExists && ::CreateCaret(m_handle, nullptr, m_caretWidth, m_caretHeight))
        {
            m_caretVisible = 1;
            SetCaretPos(m_caretShown ? m_caretX : -182, m_caretShown ? m_caretY : -182);
            ::ShowCaret(m_handle);
        }
        return true;
    case WM_KILLFOCUS:
        ClearClickWindows();
        if (m_caretVisible)
        {
            ::DestroyCaret();
            m_caretVisible = 0;
        }
        return true;
    case WM_CLOSE:
        if (!m_modal)
            return true;
        {
            HWND handle = m_handle;
            WindowProc(handle, WM_S_CANCEL, 0, 0);
            HWND outer = GetTopLevelAncestor(true);
            if (outer)
                EnableWindow(outer, TRUE);
            if (IsWindow(handle))
                ::ShowWindow(handle, SW_HIDE);
        }
        return false;
    case WM_ERASEBKGND:
        if (m_oldProc && !m_ownerPaint)
            return true;
        if (m_backColor == SCOLOR_TRANSPARENT)
        {
            EraseBackground((HDC)*wParam, (HDC)*wParam);
            *lParam = (LPARAM)*wParam;
            return true;
        }
        if (++m_eraseNesting == 1)
        {
            HDC dc = (HDC)*wParam;
            RECT client;
            ::GetClientRect(m_handle, &client);
            int width = client.right > 0 ? client.right : 1, height = client.bottom > 0 ? client.bottom : 1;
            SWndThreadRecord* record = FindThreadRecord(0);
            HDC lent = record ? record->BorrowEraseBuffer(dc, width, height) : nullptr;
            if (lent)
            {
                m_eraseBitmap = nullptr;
                EraseBackground(dc, lent);
                *lParam = (LPARAM)lent;
                return true;
            }
            HDC memory = CreateCompatibleDC(dc);
            HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, width, height) : nullptr;
            if (!bitmap)
            {
                if (memory)
                    DeleteDC(memory);
                EraseBackground(dc, dc);
                *lParam = 0;
                m_eraseBitmap = nullptr;
                return true;
            }
            m_eraseBitmap = bitmap;
            m_eraseOldBitmap = (HBITMAP)SelectObject(memory, bitmap);
            EraseBackground(dc, memory);
            *lParam = (LPARAM)memory;
        }
        else
            *lParam = 0;
        return true;
    case WM_SETCURSOR:
        if (!m_cursorHandling)
        {
            ::SetCursor(nullptr);
            return false;
        }
        if (m_cursor && LOWORD(*lParam) == HTCLIENT)
        {
            ::SetCursor(m_cursor);
            *result = TRUE;
            return false;
        }
        return true;
    case WM_GETMINMAXINFO:
    {
        MINMAXINFO* info = (MINMAXINFO*)*lParam;
        if (!info)
            return true;
        int left = 0, top = 0, right = 0, bottom = 0;
        GetClientMargins(&left, &top, &right, &bottom);
        int minWidth = m_minTrackWidth == kSystemMinTrackSize ? GetSystemMetrics(SM_CXMIN) : m_minTrackWidth;
        int minHeight = m_minTrackHeight == kSystemMinTrackSize ? GetSystemMetrics(SM_CYMIN) : m_minTrackHeight;
        ApplyTrackSize(&info->ptMinTrackSize, minWidth, minHeight, m_minClientWidth, m_minClientHeight,
                       left + right, top + bottom);
        ApplyTrackSize(&info->ptMaxTrackSize, m_maxTrackWidth, m_maxTrackHeight, m_maxClientWidth,
                       m_maxClientHeight, left + right, top + bottom);
        return true;
    }
    case WM_DRAWITEM:
    {
        DRAWITEMSTRUCT* draw = (DRAWITEMSTRUCT*)*lParam;
        if (draw && draw->CtlType == ODT_MENU && SMenu::HandleDrawItem(draw))
        {
            *result = TRUE;
            return false;
        }
        if (draw && draw->CtlType == ODT_LISTBOX && draw->itemID != (UINT)-1)
        {
            SWnd* list = FindWndByHandle(draw->hwndItem);
            if (list && list->GetKind() == SKIND_LIST &&
                ::SendMessageA(draw->hwndItem, WM_S_LIST_DRAW, 0, (LPARAM)draw))
            {
                *result = TRUE;
                return false;
            }
        }
        return true;
    }
    case WM_MEASUREITEM:
    {
        MEASUREITEMSTRUCT* measure = (MEASUREITEMSTRUCT*)*lParam;
        if (measure && measure->CtlType == ODT_MENU && SMenu::HandleMeasureItem(measure))
        {
            *result = TRUE;
            return false;
        }
        SWnd* list = measure && measure->CtlType == ODT_LISTBOX ? FindMeasuredList(m_handle, measure) : nullptr;
        if (list && list->SendMessage(WM_S_LIST_MEASURE, 0, (LPARAM)measure))
        {
            *result = TRUE;
            return false;
        }
        return true;
    }
    case WM_SETFONT:
        m_font = (HFONT)*wParam;
        return true;
    case WM_GETFONT:
    {
        LRESULT answer = OnMessage(msg, *wParam, *lParam);
        *result = answer ? answer : (LRESULT)m_font;
        return false;
    }
    case WM_STYLECHANGED:
        ComputeBorderFlags(GetStyle(), GetExStyle());
        return true;
    case WM_INITMENUPOPUP:
        ::SetCursor(GetCursorHandle(0));
        return true;
    case WM_CHAR:
        if (*wParam == '\t' && m_kind == SKIND_EDIT)
            return false;
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    {
        SWnd* control = FindWndByHandle((HWND)*lParam);
        if (!control)
            return true;
        HDC dc = (HDC)*wParam;
        HBRUSH brush = nullptr;
        switch (msg)
        {
        case WM_CTLCOLOREDIT: brush = control->OnCtlColorEdit(dc); break;
        case WM_CTLCOLORLISTBOX: brush = control->OnCtlColorListBox(dc); break;
        case WM_CTLCOLORBTN: brush = control->OnCtlColorBtn(dc); break;
        case WM_CTLCOLORDLG: brush = control->OnCtlColorDlg(dc); break;
        case WM_CTLCOLORSCROLLBAR: brush = control->OnCtlColorScrollBar(dc); break;
        default: brush = control->OnCtlColorStatic(dc); break;
        }
        if (!brush)
            return true;
        *result = (LRESULT)brush;
        return false;
    }
    case WM_DROPFILES:
        TranslateDropFiles((HDROP)*wParam);
        return false;
    case WM_KEYDOWN:
        return TranslateKeyDown(*wParam, result);
    case WM_SYSKEYDOWN:
    {
        HWND top = GetTopLevelAncestor(false);
        if (top && top != m_handle &&
            WindowProc(top, WM_S_CHILD_SYSKEY, *wParam, (LPARAM)this) == -1)
            return false;
        return true;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
        TranslateMouse(msg, *wParam, *lParam);
        return true;
    case WM_S_MOUSE_ENTER:
        if (m_hotTracking)
        {
            if (!(*wParam & MK_LBUTTON))
                m_pressed = 0;
            m_hover = 1;
            HotTrackRedraw();
        }
        return true;
    case WM_S_MOUSE_LEAVE:
        if (m_hotTracking)
        {
            m_hover = 0;
            HotTrackRedraw();
        }
        return true;
    case WM_MOUSELEAVE:
        ::SendMessageA(m_handle, WM_S_MOUSE_LEAVE, 0, 0);
        return true;
    case WM_NCMOUSEMOVE:
        TranslateNcMouseMove(*lParam);
        return true;
    case WM_NCMOUSELEAVE:
        if (m_hotAreasOn)
        {
            RECT* area = m_currentHotArea >= 0 ? m_hotAreas.GetPtr(m_currentHotArea) : nullptr;
            OnHotAreaLeave(area, -1, -1, area ? m_currentHotArea : -1);
            m_currentHotArea = -2;
        }
        return true;
    case WM_COMMAND:
    case WM_NOTIFY:
        return TranslateNotify(msg, *wParam, *lParam, result);
    case WM_S_PARENT_SIZED:
        if (m_anchorFlags)
            ApplyAnchor();
        return true;
    case WM_S_DATA_OPEN:
    case WM_S_DATA_WRITE:
    case WM_S_DATA_CLOSE:
        return TranslateDataBlock(msg, *wParam, *lParam, result);
    default:
        return true;
    }
}

bool SWnd::TranslateKeyDown(WPARAM key, LRESULT* result)
{
    int modifiers = ModifierState();
    HWND top = GetTopLevelAncestor(false);
    if (top && top != m_handle)
        WindowProc(top, WM_S_CHILD_KEY, key, (LPARAM)this);
    if (!m_handle)
        return false;
    if (key == VK_TAB && m_tabGroup != -1)
    {
        SWnd* next = GetNextTabWindow();
        if (next && next != this)
        {
            next->SetFocus();
            *result = 0;
            return false;
        }
    }
    if (!m_shortcutMask)
        return true;
    struct Shortcut
    {
        WPARAM key;
        int modifiers;
        int bit;
        void (SWnd::*command)();
    };
    static const Shortcut shortcuts[] = {
        {'Z', 2, 0x1, &SWnd::OnUndo},        {'X', 2, 0x2, &SWnd::OnCut},
        {'C', 2, 0x4, &SWnd::OnCopy},        {'V', 2, 0x8, &SWnd::OnPaste},
        {VK_DELETE, 0, 0x10, &SWnd::OnDelete}, {'A', 2, 0x20, &SWnd::OnSelectAll},
        {'F', 2, 0x40, &SWnd::OnFind},       {'H', 2, 0x80, &SWnd::OnReplace},
        {'G', 2, 0x100, &SWnd::OnGoTo},      {'P', 2, 0x200, &SWnd::OnPrint},
        {VK_ESCAPE, 0, 0x400, &SWnd::OnEscape}, {'N', 2, 0x800, &SWnd::OnNew},
        {'O', 2, 0x1000, &SWnd::OnOpen},     {'S', 2, 0x2000, &SWnd::OnSave},
        {'S', 3, 0x4000, &SWnd::OnSaveAs},
    };
    for (const Shortcut& shortcut : shortcuts)
    {
        if (shortcut.key == key && shortcut.modifiers == modifiers)
        {
            if (m_shortcutMask & shortcut.bit)
                (this->*shortcut.command)();
            break;
        }
    }
    return true;
}

void SWnd::TranslateMouse(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_MOUSEMOVE:
    {
        const WPARAM buttons[3] = {MK_LBUTTON, MK_MBUTTON, MK_RBUTTON};
        for (int i = 0; i < 3; i++)
            if (!(wParam & buttons[i]))
                ClickWindow(i, false) = nullptr;
        if (GetCapture() != m_handle)
        {
            TRACKMOUSEEVENT track;
            memset(&track, 0, sizeof(track));
            track.cbSize = sizeof(track);
            track.dwFlags = TME_QUERY;
            TrackMouseEvent(&track);
            bool tracked = (track.dwFlags & TME_LEAVE) && !(track.dwFlags & TME_NONCLIENT) &&
                           track.hwndTrack == m_handle;
            if (!tracked)
            {
                ::SendMessageA(m_handle, WM_S_MOUSE_ENTER, wParam, lParam);
                if (!m_handle)
                    return;
                memset(&track, 0, sizeof(track));
                track.cbSize = sizeof(track);
                track.dwFlags = TME_LEAVE;
                track.hwndTrack = m_handle;
                TrackMouseEvent(&track);
            }
        }
        if (m_dragging)
        {
            POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ::ClientToScreen(m_handle, &point);
            HWND parent = ::GetParent(m_handle);
            if (parent && (GetStyle() & WS_CHILD))
                ::ScreenToClient(parent, &point);
            MoveTo(point.x - m_dragX, point.y - m_dragY);
        }
        return;
    }
    case WM_LBUTTONDOWN:
        if (m_moveWithMouse && !m_dragging && !IsZoomed() &&
            ::SendMessageA(m_handle, WM_S_DRAG_START, 0, lParam) == 0 && m_handle)
        {
            int left = 0, top = 0;
            GetClientMargins(&left, &top, nullptr, nullptr);
            m_dragX = (short)LOWORD(lParam) + left;
            m_dragY = (short)HIWORD(lParam) + top;
            m_dragging = 1;
            ::SetCapture(m_handle);
        }
        ClickWindow(0, false) = this;
        if (m_hotTracking)
        {
            m_pressed = 1;
            HotTrackRedraw();
        }
        return;
    case WM_LBUTTONUP:
    {
        SWnd*& pointer = ClickWindow(0, false);
        bool click = pointer == this;
        pointer = nullptr;
        if (click)
            ::SendMessageA(m_handle, WM_S_LCLICK, 0, lParam);
        if (m_dragging && m_handle)
        {
            ::ReleaseCapture();
            m_dragging = 0;
            ::SendMessageA(m_handle, WM_S_DRAG_END, 0, 0);
        }
        if (m_hotTracking && m_handle)
        {
            m_pressed = 0;
            HotTrackRedraw();
        }
        return;
    }
    default:
        break;
    }
    int button = -1;
    bool down = false, nonClient = false;
    UINT click = 0;
    switch (msg)
    {
    case WM_MBUTTONDOWN: button = 1; down = true; break;
    case WM_MBUTTONUP: button = 1; click = WM_S_MCLICK; break;
    case WM_RBUTTONDOWN: button = 2; down = true; break;
    case WM_RBUTTONUP: button = 2; click = WM_S_RCLICK; break;
    case WM_NCLBUTTONDOWN: button = 0; down = true; nonClient = true; break;
    case WM_NCLBUTTONUP: button = 0; nonClient = true; click = WM_S_NC_LCLICK; break;
    case WM_NCMBUTTONDOWN: button = 1; down = true; nonClient = true; break;
    case WM_NCMBUTTONUP: button = 1; nonClient = true; click = WM_S_NC_MCLICK; break;
    case WM_NCRBUTTONDOWN: button = 2; down = true; nonClient = true; break;
    case WM_NCRBUTTONUP: button = 2; nonClient = true; click = WM_S_NC_RCLICK; break;
    default: return;
    }
    SWnd*& pointer = ClickWindow(button, nonClient);
    if (down)
    {
        pointer = this;
        return;
    }
    bool clicked = pointer == this;
    pointer = nullptr;
    if (clicked)
        ::SendMessageA(m_handle, click, 0, lParam);
}

void SWnd::TranslateNcMouseMove(LPARAM lParam)
{
    const int keys[3] = {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
    for (int i = 0; i < 3; i++)
        if (GetAsyncKeyState(keys[i]) >= 0)
            ClickWindow(i, true) = nullptr;
    if (!m_hotAreasOn || !m_handle)
        return;
    RECT window;
    ::GetWindowRect(m_handle, &window);
    int x = (short)LOWORD(lParam) - window.left, y = (short)HIWORD(lParam) - window.top;
    int index = HitTestHotArea(x, y);
    RECT* area = index >= 0 ? m_hotAreas.GetPtr(index) : nullptr;
    if (m_currentHotArea == -2)
    {
        OnHotAreaEnter(area, x, y, area ? index : -1);
        m_currentHotArea = index;
    }
    else if (m_currentHotArea == index)
        OnHotAreaMove(area, x, y, area ? index : -1);
    else
    {
        RECT* previous = m_currentHotArea >= 0 ? m_hotAreas.GetPtr(m_currentHotArea) : nullptr;
        OnHotAreaLeave(previous, x, y, previous ? m_currentHotArea : -1);
        OnHotAreaEnter(area, x, y, area ? index : -1);
        m_currentHotArea = index;
    }
    if (!m_handle)
        return;
    TRACKMOUSEEVENT track;
    memset(&track, 0, sizeof(track));
    track.cbSize = sizeof(track);
    track.dwFlags = TME_NONCLIENT | TME_LEAVE;
    track.hwndTrack = m_handle;
    TrackMouseEvent(&track);
}

void SWnd::TranslateDropFiles(HDROP drop)
{
    if (!drop)
        return;
    SStringArray paths;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count && i < 100000; i++)
    {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (!length || length > 32767)
            continue;
        SString path;
        char* buffer = path.SetLength((int)length);
        if (!buffer)
            continue;
        UINT got = DragQueryFileA(drop, i, buffer, length + 1);
        path.SetLength((int)(got < length ? got : length));
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (path.IsEmpty() || path[path.GetLength() - 1] != '\\'))
            path.AppendChar('\\');
        paths.Add(path);
    }
    DragFinish(drop);
    if (m_handle)
        ::SendMessageA(m_handle, WM_S_FILES_DROPPED, (WPARAM)&paths, 0);
}

bool SWnd::TranslateNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND self = m_handle;
    if (msg == WM_COMMAND)
    {
        SWnd* control = FindWndByHandle((HWND)lParam);
        if (!control || !lParam)
            return true;
        WPARAM object = (WPARAM)control;
        HWND handle = (HWND)lParam;
        UINT code = HIWORD(wParam);
        switch (control->GetKind())
        {
        case SKIND_BUTTON:
            if (code == BN_CLICKED)
                ::SendMessageA(self, ControlMessage(1, 1), object, 0);
            break;
        case SKIND_CHECK:
            if (code == BN_CLICKED)
            {
                // Checked becomes unchecked; unchecked and indeterminate become checked.
                bool checked = ::SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
                ::SendMessageA(handle, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
                LRESULT state = ::SendMessageA(handle, BM_GETCHECK, 0, 0);
                state = state == BST_CHECKED ? 1 : state == BST_UNCHECKED ? 0 : 2;
                ::SendMessageA(self, ControlMessage(2, 1), object, (LPARAM)state);
            }
            break;
        case SKIND_COMBO:
            if (code == CBN_SELCHANGE)
                ::SendMessageA(self, ControlMessage(5, 1), object, 0);
            else if (code == CBN_EDITCHANGE)
                ::SendMessageA(self, ControlMessage(5, 0), object, 0);
            break;
        case SKIND_EDIT:
            if (code == EN_CHANGE && GetFocus() == handle)
                ::SendMessageA(self, ControlMessage(6, 1), object, 0);
            break;
        case SKIND_RADIO:
            if (code == BN_CLICKED)
            {
                // The radio checks itself and unchecks the other radios of its group.
                ::SendMessageA(handle, WM_S_RADIO_CHECK, 0, 0);
                bool checked = ::SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
                ::SendMessageA(self, ControlMessage(21, 1), object, checked ? 1 : 0);
            }
            break;
        default:
            break;
        }
        return true;
    }

    NMHDR* header = (NMHDR*)lParam;
    if (!header)
        return true;
    if (m_tooltip && header->hwndFrom == m_tooltip && header->code == TTN_GETDISPINFOA)
    {
        ::SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 300);
        ((NMTTDISPINFOA*)header)->lpszText = m_tooltipText.GetText();
        return false;
    }
    SWnd* control = FindWndByHandle(header->hwndFrom);
    if (!control)
        return true;
    WPARAM object = (WPARAM)control;
    HWND handle = header->hwndFrom;
    UINT code = header->code;
    switch (control->GetKind())
    {
    case SKIND_CONTROLBAR:
        // Either one tells that the bar may have a new height; the holder measures it again.
        if (code == RBN_HEIGHTCHANGE || code == RBN_AUTOSIZE)
            ::SendMessageA(self, ControlMessage(4, 0), object, 0);
        break;
    case SKIND_EXLIST:
        if (code == LVN_KEYDOWN)
            ::SendMessageA(self, ControlMessage(7, 0), object, ((NMLVKEYDOWN*)header)->wVKey);
        else if (code == NM_CLICK || code == NM_RCLICK || code == NM_RDBLCLK || code == NM_DBLCLK)
        {
            SMouseRecord record;
            int mouse = code == NM_CLICK ? 33 : code == NM_RCLICK ? 36 : code == NM_RDBLCLK ? 68 : 65;
            FillMouseRecord(&record, handle, mouse);
            ::SendMessageA(self, ControlMessage(7, 1), object, (LPARAM)&record);
            if (code == NM_DBLCLK && IsWindow(handle))
            {
                LVHITTESTINFO hit;
                memset(&hit, 0, sizeof(hit));
                hit.pt.x = record.x;
                hit.pt.y = record.y;
                int item = (int)::SendMessageA(handle, LVM_HITTEST, 0, (LPARAM)&hit);
                if (item >= 0)
                    ::SendMessageA(self, ControlMessage(7, 3), object, item);
            }
        }
        else if (code == LVN_ITEMCHANGED)
        {
            NMLISTVIEW* change = (NMLISTVIEW*)header;
            int item = change->iItem;
            if (item >= 0)
            {
                UINT state = (UINT)::SendMessageA(handle, LVM_GETITEMSTATE, item, LVIS_FOCUSED | LVIS_SELECTED);
                if ((state & LVIS_FOCUSED) && !(state & LVIS_SELECTED))
                {
                    LVITEMA clear;
                    memset(&clear, 0, sizeof(clear));
                    clear.stateMask = LVIS_FOCUSED;
                    ::SendMessageA(handle, LVM_SETITEMSTATE, item, (LPARAM)&clear);
                    item = -1;
                }
            }
            ::SendMessageA(self, ControlMessage(7, 2), object, item);
        }
        else if (code == LVN_COLUMNCLICK)
            ::SendMessageA(self, ControlMessage(7, 4), object, ((NMLISTVIEW*)header)->iSubItem);
        else if (code == LVN_BEGINLABELEDITA)
        {
            if (::SendMessageA(self, ControlMessage(7, 5), object, ((NMLVDISPINFOA*)header)->item.iItem))
            {
                *result = TRUE;
                return false;
            }
        }
        else if (code == LVN_ENDLABELEDITA)
        {
            LVITEMA* item = &((NMLVDISPINFOA*)header)->item;
            if ((item->mask & LVIF_TEXT) && item->pszText)
            {
                if (::SendMessageA(self, ControlMessage(7, 6), object, (LPARAM)item) == 0)
                {
                    *result = TRUE;
                    return false;
                }
            }
            else
                ::SendMessageA(self, ControlMessage(7, 7), object, (LPARAM)item);
        }
        break;
    case SKIND_TAB:
        if (code == TCN_SELCHANGE)
        {
            LRESULT selected = ::SendMessageA(handle, TCM_GETCURSEL, 0, 0);
            ::SendMessageA(handle, WM_S_TAB_SHOW_PAGE, (WPARAM)selected, 0);
            ::SendMessageA(self, ControlMessage(28, 1), object, selected);
        }
        break;
    case SKIND_TREE:
        if (code == NM_CLICK || code == NM_RCLICK || code == NM_RDBLCLK || code == NM_DBLCLK)
        {
            SMouseRecord record;
            int mouse = code == NM_CLICK ? 33 : code == NM_RCLICK ? 36 : code == NM_RDBLCLK ? 68 : 65;
            FillMouseRecord(&record, handle, mouse);
            ::SendMessageA(self, ControlMessage(32, 1), object, (LPARAM)&record);
            if (code == NM_DBLCLK && IsWindow(handle))
            {
                HTREEITEM selected = (HTREEITEM)::SendMessageA(handle, TVM_GETNEXTITEM, TVGN_CARET, 0);
                RECT rect;
                memset(&rect, 0, sizeof(rect));
                memcpy(&rect, &selected, sizeof(selected));
                POINT point = {record.x, record.y};
                if (selected && ::SendMessageA(handle, TVM_GETITEMRECT, FALSE, (LPARAM)&rect) &&
                    PtInRect(&rect, point))
                {
                    ::SendMessageA(self, ControlMessage(32, 3), object, (LPARAM)selected);
                    control->SetRefuseNextFocus(true);
                }
            }
        }
        else if (code == TVN_SELCHANGEDA)
            ::SendMessageA(self, ControlMessage(32, 2), object, (LPARAM)((NMTREEVIEWA*)header)->itemNew.hItem);
        else if (code == TVN_DELETEITEMA)
        {
            HTREEITEM selected = (HTREEITEM)::SendMessageA(handle, TVM_GETNEXTITEM, TVGN_CARET, 0);
            if (selected && !::SendMessageA(handle, TVM_GETNEXTITEM, TVGN_PARENT, (LPARAM)selected) &&
                !::SendMessageA(handle, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)selected) &&
                !::SendMessageA(handle, TVM_GETNEXTITEM, TVGN_PREVIOUS, (LPARAM)selected))
                ::SendMessageA(self, ControlMessage(32, 2), object, 0);
        }
        else if (code == TVN_ITEMEXPANDEDA)
        {
            NMTREEVIEWA* change = (NMTREEVIEWA*)header;
            // The tree fills a folder it shows for the first time before the parent hears of it.
            ::SendMessageA(handle, WM_S_ITEM_EXPANDED, (WPARAM)change->itemNew.hItem,
                           (change->action & TVE_EXPAND) ? 1 : 0);
            ::SendMessageA(self, ControlMessage(32, 5), object, (LPARAM)change->itemNew.hItem);
        }
        else if (code == TVN_BEGINLABELEDITA)
        {
            if (::SendMessageA(self, ControlMessage(32, 6), object, (LPARAM) & ((NMTVDISPINFOA*)header)->item))
            {
                *result = TRUE;
                return false;
            }
        }
        else if (code == TVN_ENDLABELEDITA)
        {
            TVITEMA* item = &((NMTVDISPINFOA*)header)->item;
            if (item->pszText)
            {
                if (::SendMessageA(self, ControlMessage(32, 7), object, (LPARAM)item) == 0)
                {
                    *result = TRUE;
                    return false;
                }
            }
            else
                ::SendMessageA(self, ControlMessage(32, 8), object, (LPARAM)item);
        }
        break;
    default:
        break;
    }
    return true;
}
