#include "SWnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <richedit.h>

#include "SDll.h"
#include "SImage.h"
#include "SLibrary.h"
#include "SWndThreadRecord.h"

SWnd::SWnd()
    : m_ownerThread(0), m_oldProc(nullptr), m_ownerPaint(0), m_handle(nullptr), m_kind(0),
      m_userValue(0), m_userValue2(0), m_ownerObject(nullptr), m_tooltip(nullptr),
      m_eraseBitmap(nullptr), m_eraseOldBitmap(nullptr)
{
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_workArea, 0))
        SetRect(&m_workArea, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Reset();
    SWnd::SetBackColor(SCOLOR_NONE);
    m_colorKey = SCOLOR_NONE;
    SetRectEmpty(&m_sliceMargins);
    m_redrawingTransparent = 0;
    m_changeNotify = 1;
}

SWnd::~SWnd()
{
    Destroy();
    if (m_handle)
    {
        // The window could not be destroyed (another thread owns it): never leave
        // the table or the window procedure pointing at a dead object.
        if (m_oldProc && IsWindow(m_handle))
            SetWindowLongPtrA(m_handle, GWLP_WNDPROC, (LONG_PTR)m_oldProc);
        m_handle = nullptr;
    }
    UnregisterWndFromTable(this);
    ForgetClickWindow(this);
    if (m_tooltip)
        DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    FreeDataBlocks();
}

void SWnd::Reset()
{
    m_ownerThread = 0;
    m_oldProc = nullptr;
    m_ownerPaint = 0;
    m_redrawOn = 1;
    // The system's minimum is read when the window asks for its track sizes: each
    // reading costs a font measurement, too much for every control a dialog makes.
    m_minTrackWidth = m_minTrackHeight = kSystemMinTrackSize;
    m_maxTrackWidth = m_maxTrackHeight = -1;
    m_minClientWidth = m_minClientHeight = -1;
    m_maxClientWidth = m_maxClientHeight = -1;
    m_hasBorder = 0;
    m_hasCaptionMenu = 0;
    m_moveWithMouse = 0;
    m_anchorFlags = 0;
    m_anchorParentWidth = m_anchorParentHeight = 0;
    SetRectEmpty(&m_anchorRect);
    m_eraseNesting = 0;
    m_lineStepH = m_lineStepV = 1;
    m_pageStepH = m_pageStepV = 10;
    m_roundStepH = m_roundStepV = 1;
    m_font = nullptr;
    m_shortcutMask = 0;
    m_normalState = 1;
    m_refuseNextFocus = 0;
    m_inSizeMove = 0;
    m_keepEnabled = 0;
    m_enterCloses = 1;
    m_escapeCloses = 1;
    m_modal = 0;
    m_modalResult = 0;
    m_caretExists = m_caretShown = m_caretVisible = 0;
    m_caretWidth = m_caretHeight = m_caretX = m_caretY = 0;
    m_cursorHandling = 0;
    m_cursor = nullptr;
    m_hotAreasOn = 0;
    m_hotAreas.RemoveAll();
    m_currentHotArea = -2;
    m_dragging = 0;
    m_dragX = m_dragY = 0;
    m_hotTracking = 0;
    m_hover = m_pressed = m_checked = 0;
    m_nextTabIndex = 0;
    m_tabGroup = -1;
    m_tabIndex = 0;
    if (m_tooltip)
        DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    m_tooltipText.Empty();
    m_background.FreeStates();
}

// --- virtual slots with their base behaviour ---

void SWnd::Print(HDC dc, LPARAM flags)
{
    if (m_handle)
        ::SendMessageA(m_handle, WM_PRINT, (WPARAM)dc, flags);
}

void SWnd::SetBackColor(unsigned color)
{
    m_backColor = color;
    if (m_background.image)
        m_background.image->SetBackColor(color);
}
unsigned SWnd::GetBackColor() { return m_backColor; }
void SWnd::OnUndo() {}
void SWnd::OnCut() {}
void SWnd::OnCopy() {}
void SWnd::OnPaste() {}
void SWnd::OnDelete() {}
void SWnd::OnSelectAll() {}
void SWnd::OnFind() {}
void SWnd::OnReplace() {}
void SWnd::OnGoTo() {}
void SWnd::OnPrint() {}
void SWnd::OnEscape() {}
void SWnd::OnNew() {}
void SWnd::OnOpen() {}
void SWnd::OnSave() {}
void SWnd::OnSaveAs() {}
HBRUSH SWnd::OnCtlColorDlg(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorBtn(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorEdit(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorListBox(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorScrollBar(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorStatic(HDC) { return nullptr; }
void SWnd::OnHotAreaEnter(RECT*, int, int, int) {}
void SWnd::OnHotAreaMove(RECT*, int, int, int) {}
void SWnd::OnHotAreaLeave(RECT*, int, int, int) {}

// --- creation ---

void SWnd::ComputeBorderFlags(DWORD style, DWORD exStyle)
{
    m_hasBorder = (style & (WS_BORDER | WS_THICKFRAME)) ||
                  (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE)) ? 1 : 0;
    m_hasCaptionMenu = (style & WS_SYSMENU) && (style & WS_CAPTION) ? 1 : 0;
}

bool SWnd::CreateWindowCommon(const char* className, const char* caption, DWORD style, DWORD exStyle,
                              const RECT* rect, HWND parent, UINT_PTR id, LPARAM creationParam,
                              HINSTANCE instance, bool subclass)
{
    if (m_handle)
        return false;
    Reset();
    SWnd* parentWindow = FindWndByHandle(parent);
    if (parentWindow && parent != HWND_MESSAGE)
        m_tabIndex = parentWindow->m_nextTabIndex++;
    bool visible = (style & WS_VISIBLE) != 0;
    style &= ~WS_VISIBLE;
    if (!parent)
        style |= WS_POPUP;
    ComputeBorderFlags(style, exStyle);
    int x = 0, y = 0, width = 0, height = 0;
    if (rect)
    {
        x = rect->left;
        y = rect->top;
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    m_oldProc = nullptr;
    m_ownerPaint = 0;
    // Only a child window takes an id in place of a menu handle.
    HMENU menuOrId = (style & WS_CHILD) ? (HMENU)id : nullptr;
    HWND handle = CreateWindowExA(exStyle, className, caption ? caption : "", style, x, y, width, height,
                                  parent, menuOrId, instance ? instance : GetInstance(),
                                  (LPVOID)creationParam);
    if (!handle)
        return false;
    m_handle = handle;
    m_ownerThread = GetWindowThreadProcessId(handle, nullptr);
    RegisterWndInTable(this);
    if (subclass)
        m_oldProc = (WNDPROC)SetWindowLongPtrA(handle, GWLP_WNDPROC, (LONG_PTR)SWnd::WindowProc);
    if (WindowProc(handle, WM_S_CREATED, 0, creationParam) != 0)
    {
        Destroy();
        if (m_handle && !IsWindow(m_handle))
            m_handle = nullptr;
        return false;
    }
    if (visible && m_handle)
        ::ShowWindow(m_handle, SW_SHOW);
    return m_handle != nullptr;
}

bool SWnd::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                  UINT_PTR id, LPARAM creationParam, HINSTANCE instance, bool secondClass)
{
    return CreateWindowCommon(secondClass ? "TAVRIN2" : "TAVRIN", caption, style, exStyle, rect, parent,
                              id, creationParam, instance, false);
}

bool SWnd::CreateSubclassed(const char* className, const char* caption, DWORD style, DWORD exStyle,
                            const RECT* rect, HWND parent, UINT_PTR id, LPARAM creationParam,
                            HINSTANCE instance)
{
    if (!className)
        return false;
    return CreateWindowCommon(className, caption, style, exStyle, rect, parent, id, creationParam,
                              instance, true);
}

static DWORD ChildStyle(DWORD style)
{
    return (style & WS_POPUP) ? style : (style | WS_CHILD);
}

bool SWnd::CreateChild(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                       UINT_PTR id, LPARAM creationParam)
{
    return Create(caption, ChildStyle(style), exStyle, rect, parent, id, creationParam, GetInstance(), false);
}

bool SWnd::CreateChildNoCaption(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                                LPARAM creationParam)
{
    return CreateChild("", style, exStyle, rect, parent, id, creationParam);
}

bool SWnd::CreatePopupWindow(const char* caption, const RECT* rect, HWND parent, LPARAM creationParam,
                             bool sizable)
{
    DWORD style = sizable ? 0x80CC0000u : 0x80C80000u;
    return Create(caption, style, 0, rect, parent, 0, creationParam, GetInstance(), false);
}

bool SWnd::CreateMessageWindow(LPARAM creationParam)
{
    return Create("", 0, 0, nullptr, HWND_MESSAGE, 0, creationParam, GetInstance(), false);
}

bool SWnd::CreateCheckBox(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                          UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("BUTTON", caption, ChildStyle(style) | BS_CHECKBOX, exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

bool SWnd::CreateRadioButton(const char* caption, DWORD style, DWORD exStyle, const RECT* rect,
                             HWND parent, UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("BUTTON", caption, ChildStyle(style) | BS_AUTORADIOBUTTON, exStyle, rect,
                            parent, id, creationParam, GetInstance());
}

bool SWnd::CreateGroupBox(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                          UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("BUTTON", caption, ChildStyle(style) | BS_GROUPBOX, exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

bool SWnd::CreateRichEdit(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                          UINT_PTR id, LPARAM creationParam)
{
    // The class comes with its library, loaded on the first rich edit rather than at start-up.
    if (!g_richEditDll.IsLoaded())
        g_richEditDll.Load("Riched20.dll");
    return CreateSubclassed("RichEdit20A", caption, ChildStyle(style) | ES_MULTILINE, exStyle, rect, parent,
                            id, creationParam, GetInstance());
}

bool SWnd::CreateStaticFrame(const char* caption, DWORD style, DWORD exStyle, const RECT* rect,
                             HWND parent, UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed("STATIC", caption, ChildStyle(style) | 0x0D, exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

bool SWnd::CreateTabControl(const char* caption, DWORD style, DWORD exStyle, const RECT* rect,
                            HWND parent, UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed(WC_TABCONTROLA, caption, ChildStyle(style), exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

LRESULT CALLBACK SWnd::WindowProc(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWnd* window = FindWndByHandle(handle);
    if (!window)
    {
        // A system class detached at WM_DESTROY frees what it made at its last message.
        SWndThreadRecord* record = FindThreadRecord(GetCurrentThreadId());
        WNDPROC classProcedure = record ? record->FindDetached(handle) : nullptr;
        if (!classProcedure)
            return DefWindowProcA(handle, msg, wParam, lParam);
        if (msg == WM_NCDESTROY)
            record->Forget(handle);
        return CallWindowProcA(classProcedure, handle, msg, wParam, lParam);
    }
    LRESULT result = 0;
    // Kept before the handler runs: a handler may delete the object on WM_DESTROY.
    WNDPROC oldProc = window->m_oldProc;
    if (window->PreHandleMessage(msg, &wParam, &lParam, &result))
    {
        result = window->OnMessage(msg, wParam, lParam);
        if (msg == WM_DESTROY)
        {
            SWndThreadRecord* record = FindThreadRecord(GetWindowThreadProcessId(handle, nullptr));
            if (record)
                record->Remove(window);
            // The system class still needs its own procedure for WM_NCDESTROY. With another
            // subclass above the library's procedure (a tooltip's tool), the messages keep
            // coming through here: the record passes them on.
            if (oldProc && GetWindowLongPtrA(handle, GWLP_WNDPROC) == (LONG_PTR)SWnd::WindowProc)
                SetWindowLongPtrA(handle, GWLP_WNDPROC, (LONG_PTR)oldProc);
            else if (oldProc && record)
                record->Detach(handle, oldProc);
        }
    }
    return result;
}

// --- destruction ---

bool SWnd::Destroy()
{
    if (!m_handle)
        return false;
    ::ShowWindow(m_handle, SW_HIDE);
    if (!DestroyWindow(m_handle))
        return false;
    m_handle = nullptr;
    return true;
}

bool SWnd::Close()
{
    return m_handle && ::SendMessageA(m_handle, WM_CLOSE, 0, 0) == 0;
}

// --- accessors and wrappers ---

int SWnd::GetId() const { return m_handle ? (int)GetWindowLongPtrA(m_handle, GWLP_ID) : 0; }
DWORD SWnd::GetStyle() const { return m_handle ? (DWORD)GetWindowLongPtrA(m_handle, GWL_STYLE) : 0; }
void SWnd::SetStyle(DWORD style) { if (m_handle) SetWindowLongPtrA(m_handle, GWL_STYLE, (LONG_PTR)style); }
DWORD SWnd::GetExStyle() const { return m_handle ? (DWORD)GetWindowLongPtrA(m_handle, GWL_EXSTYLE) : 0; }
void SWnd::SetExStyle(DWORD exStyle) { if (m_handle) SetWindowLongPtrA(m_handle, GWL_EXSTYLE, (LONG_PTR)exStyle); }

LRESULT SWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return m_handle ? ::SendMessageA(m_handle, msg, wParam, lParam) : 0;
}

bool SWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return m_handle && ::PostMessageA(m_handle, msg, wParam, lParam);
}

LRESULT SWnd::SendMessageToParent(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND parent = GetParent();
    return parent ? ::SendMessageA(parent, msg, wParam, lParam) : 0;
}

bool SWnd::ShowWindow(int command) { return m_handle && ::ShowWindow(m_handle, command); }
bool SWnd::IsVisible() const { return m_handle && IsWindowVisible(m_handle); }
bool SWnd::IsEnabled() const { return m_handle && IsWindowEnabled(m_handle); }
bool SWnd::Enable(bool enable) { return m_handle && EnableWindow(m_handle, enable); }
bool SWnd::HasFocus() const { return m_handle && GetFocus() == m_handle; }
bool SWnd::SetFocus() { return m_handle && ::SetFocus(m_handle) != nullptr; }
bool SWnd::SetForegroundWindow() { return m_handle && ::SetForegroundWindow(m_handle); }
bool SWnd::UpdateWindow() { return m_handle && ::UpdateWindow(m_handle); }
bool SWnd::InvalidateRect(const RECT* rect, bool erase) { return m_handle && ::InvalidateRect(m_handle, rect, erase); }
bool SWnd::ValidateRect(const RECT* rect) { return m_handle && ::ValidateRect(m_handle, rect); }
bool SWnd::IsPopup() const { return (GetStyle() & WS_POPUP) != 0; }
bool SWnd::IsTopMost() const { return (GetExStyle() & WS_EX_TOPMOST) != 0; }

bool SWnd::SetTopMost(bool topMost)
{
    return m_handle && ::SetWindowPos(m_handle, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                                      SWP_NOMOVE | SWP_NOSIZE);
}

bool SWnd::IsZoomed() const { return m_handle && ::IsZoomed(m_handle); }
bool SWnd::IsIconic() const { return m_handle && ::IsIconic(m_handle); }
HWND SWnd::GetParent() const { return m_handle ? ::GetParent(m_handle) : nullptr; }
HWND SWnd::SetParent(HWND parent) { return m_handle ? ::SetParent(m_handle, parent) : nullptr; }
HWND SWnd::GetTopChild() const { return m_handle ? ::GetTopWindow(m_handle) : nullptr; }

HMENU SWnd::GetMenu() const
{
    if (!m_handle || (GetStyle() & WS_CHILD))
        return nullptr;
    HMENU menu = ::GetMenu(m_handle);
    return IsMenu(menu) ? menu : nullptr;
}

HMENU SWnd::GetSystemMenu() const { return m_handle ? ::GetSystemMenu(m_handle, FALSE) : nullptr; }

bool SWnd::SetMenu(HMENU menu, bool keepClientHeight)
{
    if (!m_handle)
        return false;
    int clientHeight = GetClientHeight();
    if (!::SetMenu(m_handle, menu))
        return false;
    if (keepClientHeight)
        SetClientHeight(clientHeight);
    return true;
}

bool SWnd::GetWindowRect(RECT* rect) const { return m_handle && rect && ::GetWindowRect(m_handle, rect); }
bool SWnd::GetClientRect(RECT* rect) const { return m_handle && rect && ::GetClientRect(m_handle, rect); }

bool SWnd::GetFreeClientRect(RECT* rect) const
{
    if (!GetClientRect(rect))
        return false;
    HWND child = ::GetTopWindow(m_handle);
    for (int guard = 0; child && guard < 10000; guard++, child = ::GetWindow(child, GW_HWNDNEXT))
    {
        SWnd* window = FindWndByHandle(child);
        // The bar's own visibility: a window that is not shown yet still keeps its bars.
        if (!window || !(::GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) ||
            (window->GetKind() != SKIND_CONTROLBAR && window->GetKind() != SKIND_STATUSBAR))
            continue;
        RECT bar;
        if (!window->GetRectInParent(&bar))
            continue;
        if (bar.top <= rect->top)
            rect->top = bar.bottom > rect->top ? bar.bottom : rect->top;
        else if (bar.top < rect->bottom)
            rect->bottom = bar.top;
    }
    if (rect->bottom < rect->top)
        rect->bottom = rect->top;
    return true;
}

bool SWnd::ClientToScreen(POINT* point) const { return m_handle && point && ::ClientToScreen(m_handle, point); }
bool SWnd::ScreenToClient(POINT* point) const { return m_handle && point && ::ScreenToClient(m_handle, point); }

bool SWnd::ClientToScreenRect(RECT* rect) const
{
    return rect && ClientToScreen((POINT*)&rect->left) && ClientToScreen((POINT*)&rect->right);
}

bool SWnd::ScreenToClientRect(RECT* rect) const
{
    return rect && ScreenToClient((POINT*)&rect->left) && ScreenToClient((POINT*)&rect->right);
}

namespace
{

// Width and height of a rectangle that may be given with its corners swapped.
SIZE RectSize(const RECT& rect)
{
    SIZE size = {abs(rect.right - rect.left), abs(rect.bottom - rect.top)};
    return size;
}

}

SIZE SWnd::GetClientSize() const
{
    RECT rect;
    return GetClientRect(&rect) ? RectSize(rect) : SIZE{0, 0};
}

int SWnd::GetClientWidth() const { return GetClientSize().cx; }
int SWnd::GetClientHeight() const { return GetClientSize().cy; }

SIZE SWnd::GetWindowSize() const
{
    RECT rect;
    return GetWindowRect(&rect) ? RectSize(rect) : SIZE{0, 0};
}

int SWnd::GetWindowWidth() const { return GetWindowSize().cx; }
int SWnd::GetWindowHeight() const { return GetWindowSize().cy; }

bool SWnd::GetRectInParent(RECT* rect) const
{
    if (!GetWindowRect(rect))
        return false;
    HWND parent = GetParent();
    if (IsPopup() || !parent || !FindWndByHandle(parent))
        return true;
    MapWindowPoints(nullptr, parent, (POINT*)rect, 2);
    return true;
}

bool SWnd::GetClientRectInWindow(RECT* rect) const
{
    RECT window;
    if (!rect || !GetWindowRect(&window) || !GetClientRect(rect))
        return false;
    ClientToScreenRect(rect);
    OffsetRect(rect, -window.left, -window.top);
    return true;
}

bool SWnd::GetClientMargins(int* left, int* top, int* right, int* bottom) const
{
    RECT window, client;
    if (!GetWindowRect(&window) || !GetClientRect(&client))
        return false;
    ClientToScreenRect(&client);
    int l = client.left - window.left, t = client.top - window.top;
    int r = window.right - client.right, b = window.bottom - client.bottom;
    if (left) *left = l;
    if (top) *top = t;
    if (right) *right = r < 0 ? 0 : r;
    if (bottom) *bottom = b < 0 ? 0 : b;
    return true;
}

void SWnd::GetFrameMargins(int* left, int* top, int* right, int* bottom) const
{
    DWORD style = GetStyle(), exStyle = GetExStyle();
    RECT rect = {0, 0, 1000, 1000};
    bool hasMenu = !(style & WS_CHILD) && GetMenu() != nullptr && !IsControl();
    AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
    int l = -rect.left, t = -rect.top, r = rect.right - 1000, b = rect.bottom - 1000;
    if (style & WS_HSCROLL)
        b += GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL)
    {
        if (exStyle & WS_EX_LEFTSCROLLBAR)
            l += GetSystemMetrics(SM_CXVSCROLL);
        else
            r += GetSystemMetrics(SM_CXVSCROLL);
    }
    if (left) *left = l;
    if (top) *top = t;
    if (right) *right = r;
    if (bottom) *bottom = b;
}

bool SWnd::SetWindowPos(HWND after, int x, int y, int width, int height, UINT flags)
{
    return m_handle && ::SetWindowPos(m_handle, after, x, y, width, height, flags);
}

bool SWnd::MoveWindow(int x, int y, int width, int height, bool repaint)
{
    return m_handle && ::MoveWindow(m_handle, x, y, width, height, repaint);
}

bool SWnd::MoveWindowToRect(const RECT* rect, bool repaint)
{
    return rect && MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

bool SWnd::MoveTo(int x, int y)
{
    return SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SWnd::SetWindowSize(int width, int height)
{
    return SetWindowPos(nullptr, 0, 0, width, height, 0x236);
}

bool SWnd::SetWindowWidth(int width)
{
    return SetWindowSize(width, GetWindowHeight());
}

bool SWnd::SetClientSize(int width, int height)
{
    int left, top, right, bottom;
    GetFrameMargins(&left, &top, &right, &bottom);
    return SetWindowSize(width + left + right, height + top + bottom);
}

bool SWnd::SetClientHeight(int height)
{
    int left, top, right, bottom;
    GetFrameMargins(&left, &top, &right, &bottom);
    return SetWindowSize(GetWindowWidth(), height + top + bottom);
}

bool SWnd::CenterWindow(bool onParent)
{
    RECT window;
    if (!GetWindowRect(&window))
        return false;
    int width = window.right - window.left, height = window.bottom - window.top;
    HWND parent = GetParent();
    bool child = (GetStyle() & WS_CHILD) != 0;
    RECT area = m_workArea;
    if (child && parent)
        ::GetClientRect(parent, &area);
    else if (onParent && parent)
        ::GetWindowRect(parent, &area);
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    return SetWindowPos(nullptr, x, y, 0, 0, 0x215);
}

void SWnd::MinimizeKeepVisibility()
{
    if (!m_handle)
        return;
    if (IsVisible())
        ::ShowWindow(m_handle, SW_MINIMIZE);
    else
    {
        ::ShowWindow(m_handle, SW_SHOWMINIMIZED);
        ::ShowWindow(m_handle, SW_HIDE);
    }
}

void SWnd::MaximizeKeepVisibility()
{
    if (!m_handle)
        return;
    bool visible = IsVisible();
    ::ShowWindow(m_handle, SW_MAXIMIZE);
    if (!visible)
        ::ShowWindow(m_handle, SW_HIDE);
}

bool SWnd::BringToFront(bool showIfHidden)
{
    if (!m_handle)
        return false;
    bool visible = IsVisible();
    if (!visible && !showIfHidden)
        return false;
    bool topMost = IsTopMost();
    SetTopMost(!topMost);
    SetTopMost(topMost);
    ::ShowWindow(m_handle, SW_SHOW);
    if (visible)
        ::SetFocus(m_handle);
    else
        ::UpdateWindow(m_handle);
    return ::SetForegroundWindow(m_handle) != 0;
}

SString SWnd::GetText() const
{
    int length = GetWindowTextLength();
    if (length <= 0)
        return SString();
    SString text;
    char* buffer = text.SetLength(length);
    if (!buffer)
        return SString();
    int got = GetWindowTextA(m_handle, buffer, length + 1);
    text.SetLength(got < 0 ? 0 : (got > length ? length : got));
    return text;
}

bool SWnd::SetWindowText(const char* text) { return m_handle && ::SetWindowTextA(m_handle, text ? text : ""); }
int SWnd::GetWindowTextLength() const { return m_handle ? ::GetWindowTextLengthA(m_handle) : 0; }

void SWnd::SetFont(HFONT font, bool redraw)
{
    if (m_handle)
        ::SendMessageA(m_handle, WM_SETFONT, (WPARAM)font, redraw);
}

HFONT SWnd::GetFont()
{
    return m_handle ? (HFONT)::SendMessageA(m_handle, WM_GETFONT, 0, 0) : m_font;
}

void SWnd::SetIcons(HICON big, HICON small)
{
    if (!m_handle)
        return;
    ::SendMessageA(m_handle, WM_SETICON, ICON_BIG, (LPARAM)big);
    ::SendMessageA(m_handle, WM_SETICON, ICON_SMALL, (LPARAM)small);
}

void SWnd::SetClassIcons(HICON big, HICON small)
{
    if (!m_handle)
        return;
    // The small one first: a class given only a big icon gets a small copy made from it,
    // which the small icon would replace at once.
    SetClassLongPtrA(m_handle, GCLP_HICONSM, (LONG_PTR)small);
    SetClassLongPtrA(m_handle, GCLP_HICON, (LONG_PTR)big);
}

UINT_PTR SWnd::SetTimer(UINT_PTR id, UINT milliseconds, TIMERPROC procedure)
{
    return m_handle ? ::SetTimer(m_handle, id, milliseconds, procedure) : 0;
}

bool SWnd::KillTimer(UINT_PTR id) { return m_handle && ::KillTimer(m_handle, id); }
void SWnd::SetCapture() { if (m_handle) ::SetCapture(m_handle); }
bool SWnd::ReleaseCapture() { return ::ReleaseCapture() != 0; }
bool SWnd::HasCapture() const { return m_handle && GetCapture() == m_handle; }
void SWnd::DragAcceptFiles(bool accept) { if (m_handle) ::DragAcceptFiles(m_handle, accept); }

bool SWnd::SetWindowRgn(HRGN region, bool redraw)
{
    if (!m_handle)
    {
        if (region)
            DeleteObject(region);
        return false;
    }
    return ::SetWindowRgn(m_handle, region, redraw) != 0;
}

HDC SWnd::GetDC() { return m_handle ? ::GetDC(m_handle) : nullptr; }
int SWnd::ReleaseDC(HDC dc) { return m_handle && dc ? ::ReleaseDC(m_handle, dc) : 0; }

int SWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return ::MessageBoxA(m_handle, text, caption, type);
}

HWND SWnd::WindowFromPoint(POINT point) { return ::WindowFromPoint(point); }

bool SWnd::GetCursorPos(POINT* point) const
{
    return point && ::GetCursorPos(point) && ScreenToClient(point);
}

void SWnd::SetCursor(HCURSOR cursor)
{
    HCURSOR previous = m_cursor;
    m_cursor = cursor;
    if (!m_handle)
        return;
    POINT point;
    if (!::GetCursorPos(&point))
        return;
    if (cursor)
    {
        if (::WindowFromPoint(point) == m_handle)
            ::SetCursor(cursor);
    }
    else if (previous)
        SetCursorPos(point.x, point.y);
}

bool SWnd::SetLayered(bool layered)
{
    if (!m_handle)
        return false;
    DWORD exStyle = GetExStyle();
    if (layered && !(exStyle & WS_EX_LAYERED))
        SetExStyle(exStyle | WS_EX_LAYERED);
    else if (!layered && (exStyle & WS_EX_LAYERED))
        SetExStyle(exStyle & ~WS_EX_LAYERED);
    return true;
}

bool SWnd::SetOpacity(int alpha)
{
    if (!SetLayered(true))
        return false;
    alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
    return SetLayeredWindowAttributes(m_handle, 0, (BYTE)alpha, LWA_ALPHA) != 0;
}

bool SWnd::SetRedraw(bool on, bool redrawNow)
{
    bool previous = m_redrawOn != 0;
    m_redrawOn = on ? 1 : 0;
    if (m_handle)
    {
        ::SendMessageA(m_handle, WM_SETREDRAW, on, 0);
        if (on && redrawNow)
            RedrawWindow(m_handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return previous;
}

void SWnd::SetName(const char* name) { m_name = name ? name : ""; }

void SWnd::SetMinTrackSize(int width, int height)
{
    m_minTrackWidth = width;
    m_minTrackHeight = height;
    m_minClientWidth = m_minClientHeight = -1;
}

void SWnd::SetMaxTrackSize(int width, int height)
{
    m_maxTrackWidth = width;
    m_maxTrackHeight = height;
    m_maxClientWidth = m_maxClientHeight = -1;
}

void SWnd::SetMinClientSize(int width, int height)
{
    m_minClientWidth = width;
    m_minClientHeight = height;
}

void SWnd::SetMaxClientSize(int width, int height)
{
    m_maxClientWidth = width;
    m_maxClientHeight = height;
}

void SWnd::SetDefaultKeys(bool enterCloses, bool escapeCloses)
{
    m_enterCloses = enterCloses ? 1 : 0;
    m_escapeCloses = escapeCloses ? 1 : 0;
}

bool SWnd::GetDefaultKey(bool enter) const
{
    return (enter ? m_enterCloses : m_escapeCloses) != 0;
}

void SWnd::NotifyParentChanged(int code, SWnd* source)
{
    if (m_changeNotify)
        SendMessageToParent(WM_S_CHANGED, (WPARAM)(source ? source : this), (LPARAM)code);
}
