#include "SWnd.h"

#include <commctrl.h>
#include <limits.h>
#include <stdlib.h>

#include <vector>

#include "SLibrary.h"
#include "SRegistry.h"
#include "SWndThreadRecord.h"

namespace
{

const int kCaretParked = -182;

bool IsInList(SArray<SWnd*>* list, SWnd* window)
{
    return list && list->Find(window) >= 0;
}

// Splits a placement text at commas; a quoted item keeps its commas.
int SplitItems(const char* text, SString* items, int maxItems)
{
    int count = 0;
    SString current;
    bool quoted = false;
    for (const char* p = text;; p++)
    {
        if (*p == '"')
            quoted = !quoted;
        else if ((*p == ',' && !quoted) || *p == 0)
        {
            if (count < maxItems)
                items[count] = current;
            count++;
            current.Empty();
            if (*p == 0)
                break;
        }
        else
            current.AppendChar(*p);
    }
    return count;
}

// Sizes in 64 bits: stored coordinates may be anything, and their difference
// must not overflow before the range is fitted into the work area.
void FitRange(long long& low, long long& high, long long areaLow, long long areaHigh)
{
    long long size = high - low;
    if (size > areaHigh - areaLow)
    {
        low = areaLow;
        high = areaHigh;
    }
    else if (low < areaLow)
    {
        low = areaLow;
        high = areaLow + size;
    }
    else if (high > areaHigh)
    {
        high = areaHigh;
        low = areaHigh - size;
    }
}

// A stored coordinate as a number in the 32-bit range, whatever the text holds.
long long ReadCoordinate(const char* text)
{
    long long value = strtoll(text, nullptr, 10);
    if (value < INT_MIN)
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return value;
}

SString PlacementKey(const char* key1, const char* key2)
{
    SString key("Software\\");
    key += key1 ? key1 : "";
    key += "\\";
    key += key2 ? key2 : "";
    return key;
}

}

// --- families ---

namespace
{

// The windows of one thread's list whose parent is the given handle, at first level or
// with their own children after each, as CollectByParent gives them. Each window's parent
// is asked once for the whole walk: a recursive walk that asked again at every level
// would ask the system of every window once per window that has children.
class FamilyWalk
{
public:
    FamilyWalk(SArray<SWnd*>& windows, SArray<SWnd*>* out, SArray<SWnd*>* exclude, int kind)
        : m_windows(windows), m_out(out), m_exclude(exclude), m_kind(kind)
    {
    }

    void Collect(SWnd* self, DWORD thread, HWND parent, bool recursive)
    {
        if (recursive && m_parents.empty())
        {
            m_parents.resize((size_t)m_windows.GetCount());
            for (int i = 0; i < m_windows.GetCount(); i++)
            {
                HWND handle = m_windows.GetAt(i)->GetHandle();
                m_parents[(size_t)i] = handle ? ::GetParent(handle) : nullptr;
            }
        }
        for (int i = 0; i < m_windows.GetCount(); i++)
        {
            SWnd* window = m_windows.GetAt(i);
            if (window == self || !window->GetHandle())
                continue;
            HWND windowParent = m_parents.empty() ? ::GetParent(window->GetHandle()) : m_parents[(size_t)i];
            if (windowParent != parent || IsInList(m_exclude, window))
                continue;
            if (m_kind == -1 || window->GetKind() == m_kind)
                m_out->Add(window);
            // Owned pop-ups name their owner as parent, but a window without children of
            // its own has nothing below it.
            if (!recursive || !::GetWindow(window->GetHandle(), GW_CHILD))
                continue;
            if (window->GetThreadId() == thread)
                Collect(window, thread, window->GetHandle(), true);
            else
                window->CollectChildren(m_out, m_exclude, true, m_kind);
        }
    }

private:
    SArray<SWnd*>& m_windows;
    SArray<SWnd*>* m_out;
    SArray<SWnd*>* m_exclude;
    int m_kind;
    std::vector<HWND> m_parents;
};

// Adds the library windows of a thread whose parent is the given handle, except the
// window itself and the excluded ones (whose children are skipped too); with
// recursive, each window's own children follow it.
int CollectByParent(SWnd* self, DWORD thread, HWND parent, SArray<SWnd*>* out, SArray<SWnd*>* exclude,
                    bool recursive, int kind)
{
    // A window without children (every control of a dialog) has nothing to collect: the
    // thread's whole list is not walked for it on each of its moves and sizes.
    if (parent && !::GetWindow(parent, GW_CHILD))
        return 0;
    SWndThreadRecord* record = FindThreadRecord(thread);
    if (!record)
        return 0;
    int before = out->GetCount();
    FamilyWalk walk(record->GetWindows(), out, exclude, kind);
    walk.Collect(self, thread, parent, recursive);
    return out->GetCount() - before;
}

}

int SWnd::CollectChildren(SArray<SWnd*>* out, SArray<SWnd*>* exclude, bool recursive, int kind)
{
    if (!out || !m_handle)
        return 0;
    return CollectByParent(this, m_ownerThread, m_handle, out, exclude, recursive, kind);
}

int SWnd::CollectSiblings(SArray<SWnd*>* out, SArray<SWnd*>* exclude, int kind)
{
    if (!out || !m_handle)
        return 0;
    return CollectByParent(this, m_ownerThread, ::GetParent(m_handle), out, exclude, false, kind);
}

int SWnd::CollectTopLevelWindows(SArray<SWnd*>* out)
{
    SWndThreadRecord* record = FindThreadRecord(0);
    if (!out || !record)
        return 0;
    int before = out->GetCount();
    SArray<SWnd*>& windows = record->GetWindows();
    for (int i = 0; i < windows.GetCount(); i++)
    {
        SWnd* window = windows.GetAt(i);
        if (window->m_handle && !::GetParent(window->m_handle) && (window->GetStyle() & WS_POPUP))
            out->Add(window);
    }
    return out->GetCount() - before;
}

int SWnd::CollectChildHandles(HWND parent, SArray<HWND>* out, SArray<HWND>* exclude, bool recursive)
{
    if (!out || !parent)
        return 0;
    int before = out->GetCount();
    HWND child = ::GetTopWindow(parent);
    for (int guard = 0; child && guard < 100000; guard++, child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if (exclude && exclude->Find(child) >= 0)
            continue;
        out->Add(child);
        if (recursive)
            CollectChildHandles(child, out, exclude, true);
    }
    return out->GetCount() - before;
}

HWND SWnd::GetTopLevelAncestor(bool outermost) const
{
    HWND found = nullptr;
    HWND current = m_handle ? ::GetParent(m_handle) : nullptr;
    for (int guard = 0; current && guard < 1000; guard++)
    {
        if (GetWindowLongPtrA(current, GWL_STYLE) & WS_POPUP)
        {
            found = current;
            if (!outermost)
                break;
        }
        current = ::GetParent(current);
    }
    return found;
}

HWND SWnd::GetPopupAncestor(bool evenIfPopup) const
{
    if (!m_handle)
        return nullptr;
    if (evenIfPopup && IsPopup())
        return m_handle;
    return GetTopLevelAncestor(false);
}

SWnd* SWnd::GetNextTabWindow()
{
    if (m_tabGroup == -1 || !m_handle)
        return this;
    SArray<SWnd*> siblings;
    CollectSiblings(&siblings);
    SWnd* above = nullptr;
    SWnd* lowest = nullptr;
    for (int i = 0; i < siblings.GetCount(); i++)
    {
        SWnd* window = siblings.GetAt(i);
        if (window->m_tabGroup != m_tabGroup)
            continue;
        if (window->m_tabIndex == m_tabIndex)
            return window;
        if (!window->IsVisible() || !window->IsEnabled())
            continue;
        if (window->m_tabIndex > m_tabIndex && (!above || window->m_tabIndex < above->m_tabIndex))
            above = window;
        if (window->m_tabIndex <= m_tabIndex && (!lowest || window->m_tabIndex < lowest->m_tabIndex))
            lowest = window;
    }
    if (above)
        return above;
    return lowest ? lowest : this;
}

// --- anchoring ---

void SWnd::SetAnchor(int flags)
{
    if (!flags)
    {
        m_anchorFlags = 0;
        return;
    }
    HWND parent = GetParent();
    if (!parent)
        return;
    RECT client;
    if (!::GetClientRect(parent, &client) || !GetWindowRect(&m_anchorRect))
        return;
    MapWindowPoints(nullptr, parent, (POINT*)&m_anchorRect, 2);
    m_anchorParentWidth = client.right - client.left;
    m_anchorParentHeight = client.bottom - client.top;
    m_anchorFlags = flags;
}

void SWnd::ApplyAnchor()
{
    HWND parent = GetParent();
    if (!m_anchorFlags || !parent)
        return;
    RECT client;
    if (!::GetClientRect(parent, &client))
        return;
    int dx = (client.right - client.left) - m_anchorParentWidth;
    int dy = (client.bottom - client.top) - m_anchorParentHeight;
    int left = m_anchorRect.left, top = m_anchorRect.top;
    int width = m_anchorRect.right - m_anchorRect.left, height = m_anchorRect.bottom - m_anchorRect.top;
    bool halfX = (m_anchorFlags & 0x08) != 0, halfY = (m_anchorFlags & 0x80) != 0;
    if (m_anchorFlags & 0x01)
        left += halfX ? dx / 4 : dx / 2;
    if (m_anchorFlags & 0x02)
        left += halfX ? dx / 2 : dx;
    if (m_anchorFlags & 0x04)
        width += halfX ? dx / 2 : dx;
    if (m_anchorFlags & 0x10)
        top += halfY ? dy / 4 : dy / 2;
    if (m_anchorFlags & 0x20)
        top += halfY ? dy / 2 : dy;
    if (m_anchorFlags & 0x40)
        height += halfY ? dy / 2 : dy;
    SetWindowPos(nullptr, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height, 0x614);
    ::SendMessageA(parent, WM_S_ANCHORED, (WPARAM)this, 0);
}

// --- modal run ---

int SWnd::DoModal(WPARAM wParam, LPARAM lParam, bool allTopLevel, SArray<SWnd*>* keepEnabled, bool hideAfter)
{
    if (!m_handle || (GetStyle() & WS_CHILD))
        return 0;
    SArray<SWnd*> list;
    SArray<SWnd*> self;
    self.Add(this);
    HWND previous = nullptr;
    if (allTopLevel)
    {
        SWnd* foreground = FindWndByHandle(GetForegroundWindow());
        previous = foreground ? foreground->m_handle : nullptr;
        SArray<SWnd*> topLevel;
        CollectTopLevelWindows(&topLevel);
        for (int i = 0; i < topLevel.GetCount(); i++)
        {
            SWnd* window = topLevel.GetAt(i);
            if (window == this || window->m_keepEnabled || IsInList(keepEnabled, window))
                continue;
            list.Add(window);
        }
        int count = list.GetCount();
        for (int i = 0; i < count; i++)
            list.GetAt(i)->CollectChildren(&list, &self, true);
    }
    else
    {
        // The popup that owns this window (not this window itself).
        HWND owner = ::GetParent(m_handle);
        SWnd* ownerWindow = FindWndByHandle(owner);
        HWND ancestor = ownerWindow ? ownerWindow->GetPopupAncestor(true) : nullptr;
        SWnd* previousWindow = FindWndByHandle(ancestor);
        if (previousWindow && previousWindow != this)
        {
            previous = previousWindow->m_handle;
            list.Add(previousWindow);
            previousWindow->CollectChildren(&list, &self, true);
        }
    }
    SArray<HWND> disabled;
    for (int i = 0; i < list.GetCount(); i++)
    {
        SWnd* window = list.GetAt(i);
        if (window == this || !window->m_handle || (window->GetStyle() & WS_CHILD) ||
            !IsWindowEnabled(window->m_handle) || disabled.Find(window->m_handle) >= 0)
            continue;
        disabled.Add(window->m_handle);
    }
    for (int i = 0; i < disabled.GetCount(); i++)
        EnableWindow(disabled.GetAt(i), FALSE);

    m_modalResult = 0;
    m_modal = 1;
    HWND handle = m_handle;
    if (WindowProc(handle, WM_S_MODAL_START, wParam, lParam) != 0)
    {
        m_modal = 0;
        for (int i = 0; i < disabled.GetCount(); i++)
            EnableWindow(disabled.GetAt(i), TRUE);
        return 0;
    }
    if (m_handle && !IsVisible())
        ::ShowWindow(m_handle, SW_SHOW);
    RunModalLoop(this);
    m_modal = 0;
    if (hideAfter && m_handle && IsVisible())
    {
        if (previous && IsWindow(previous))
            EnableWindow(previous, TRUE);
        ::ShowWindow(m_handle, SW_HIDE);
    }
    for (int i = 0; i < disabled.GetCount(); i++)
        if (IsWindow(disabled.GetAt(i)))
            EnableWindow(disabled.GetAt(i), TRUE);
    SWnd* previousWindow = FindWndByHandle(previous);
    if (previousWindow)
        previousWindow->BringToFront(false);
    return m_modalResult;
}

void SWnd::EndModal(int result)
{
    if (!m_modal)
        return;
    m_modalResult = result;
    m_modal = 0;
}

// --- placement ---

SString SWnd::GetPlacementText()
{
    if (!m_handle)
        return SString();
    RECT rect;
    bool minimized = IsIconic(), maximized = IsZoomed();
    if (minimized || maximized)
    {
        WINDOWPLACEMENT placement;
        placement.length = sizeof(placement);
        if (!GetWindowPlacement(m_handle, &placement))
            return SString();
        rect = placement.rcNormalPosition;
    }
    else if (!GetWindowRect(&rect))
        return SString();
    SString text;
    text.Format("7:%ld,%ld,%ld,%ld,%d,%d,%d", (long)rect.left, (long)rect.top, (long)rect.right,
                (long)rect.bottom, IsVisible() ? 1 : 0, minimized ? 1 : 0, maximized ? 1 : 0);
    return text;
}

bool SWnd::SavePlacement(const char* key1, const char* key2, const char* valueName)
{
    SString text = GetPlacementText();
    if (text.IsEmpty())
        return false;
    return SRegistry::WriteString(HKEY_CURRENT_USER, PlacementKey(key1, key2), valueName, text);
}

bool SWnd::ApplyPlacementText(const char* text, bool keepHidden)
{
    if (!m_handle || !text || !*text)
        return false;
    const char* colon = strchr(text, ':');
    if (!colon || atoi(text) < 7)
        return false;
    SString items[8];
    if (SplitItems(colon + 1, items, 8) < 7)
        return false;
    long long left = ReadCoordinate(items[0]), top = ReadCoordinate(items[1]);
    long long right = ReadCoordinate(items[2]), bottom = ReadCoordinate(items[3]);
    if (right < left)
        right = left;
    if (bottom < top)
        bottom = top;
    FitRange(left, right, m_workArea.left, m_workArea.right);
    FitRange(top, bottom, m_workArea.top, m_workArea.bottom);
    ::MoveWindow(m_handle, (int)left, (int)top, (int)(right - left), (int)(bottom - top), TRUE);
    if (atoi(items[5]))
        MinimizeKeepVisibility();
    if (atoi(items[6]))
        MaximizeKeepVisibility();
    if (!keepHidden)
        ::ShowWindow(m_handle, atoi(items[4]) ? SW_SHOW : SW_HIDE);
    return true;
}

bool SWnd::LoadPlacement(const char* key1, const char* key2, const char* valueName, bool keepHidden)
{
    if (!m_handle)
        return false;
    SString text = SRegistry::ReadString(HKEY_CURRENT_USER, PlacementKey(key1, key2), valueName);
    return ApplyPlacementText(text, keepHidden);
}

// --- caret ---

void SWnd::CreateCaret(int width, int height, int x, int y, bool shown)
{
    DestroyCaret();
    m_caretExists = 1;
    m_caretShown = shown ? 1 : 0;
    m_caretWidth = width;
    m_caretHeight = height;
    m_caretX = x;
    m_caretY = y;
    if (HasFocus() && ::CreateCaret(m_handle, nullptr, width, height))
    {
        m_caretVisible = 1;
        SetCaretPos(shown ? x : kCaretParked, shown ? y : kCaretParked);
        ::ShowCaret(m_handle);
    }
}

void SWnd::ShowCaret(bool shown)
{
    m_caretShown = shown ? 1 : 0;
    if (m_caretExists && m_caretVisible)
        SetCaretPos(shown ? m_caretX : kCaretParked, shown ? m_caretY : kCaretParked);
}

void SWnd::SetCaretPosition(int x, int y)
{
    m_caretX = x;
    m_caretY = y;
    if (m_caretExists && m_caretVisible && m_caretShown)
        SetCaretPos(x, y);
}

void SWnd::DestroyCaret()
{
    if (m_caretVisible)
        ::DestroyCaret();
    m_caretExists = m_caretShown = m_caretVisible = 0;
    m_caretWidth = m_caretHeight = m_caretX = m_caretY = 0;
}

// --- tooltip ---

bool SWnd::EnableTooltip(bool on)
{
    if (m_tooltip)
        DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    if (!on)
        return true;
    if (!m_handle)
        return false;
    m_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, 0x80000003, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_handle, nullptr, GetInstance(),
                                nullptr);
    if (!m_tooltip)
        return false;
    ::SetWindowPos(m_tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TOOLINFOA tool;
    memset(&tool, 0, sizeof(tool));
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.hwnd = m_handle;
    tool.uId = 0;
    tool.hinst = GetInstance();
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    ::GetClientRect(m_handle, &tool.rect);
    ::SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, (LPARAM)&tool);
    return true;
}

void SWnd::SetToolTipText(const char* text)
{
    m_tooltipText = text ? text : "";
}

// --- hot tracking and hot areas ---

void SWnd::HotTrackRedraw()
{
    if (m_handle)
        RedrawWindow(m_handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SWnd::EnableHotTracking(bool on)
{
    m_hotTracking = on ? 1 : 0;
    m_hover = m_pressed = m_checked = 0;
}

void SWnd::SetCheckedState(bool checked)
{
    if (!m_hotTracking)
        return;
    m_checked = checked ? 1 : 0;
    HotTrackRedraw();
}

void SWnd::EnableHotAreas(bool on)
{
    m_hotAreasOn = on ? 1 : 0;
    m_currentHotArea = -2;
}

void SWnd::AddHotArea(const RECT& area)
{
    m_hotAreas.Add(area);
}

void SWnd::RemoveHotAreas()
{
    m_hotAreas.RemoveAll();
    m_currentHotArea = -2;
}

int SWnd::HitTestHotArea(int x, int y) const
{
    POINT point = {x, y};
    for (int i = 0; i < m_hotAreas.GetCount(); i++)
    {
        RECT* area = m_hotAreas.GetPtr(i);
        if (area && PtInRect(area, point))
            return i;
    }
    return -1;
}
