#include "SSplitterCtrl.h"

#include <new>

#include "SControl.h"
#include "SDraw.h"
#include "SLibrary.h"

namespace
{
const int kColumnCursor = 11;
const int kRowCursor = 9;
// Longest wait for input in the drag loop: the release is noticed even without a message.
const DWORD kDragWait = 15;

SSplitterDragInput g_realInput;
SSplitterDragInput* g_dragInput = &g_realInput;

// Adjusts sizes to add up to the free size, the fixed entry kept where it fits.
void FitSizes(SArray<int>& sizes, int count, int free, int fixed)
{
    int start = 0;
    if (fixed >= 0 && fixed < count)
    {
        int size = sizes.GetAt(fixed);
        size = size < 0 ? 0 : (size > free ? free : size);
        sizes.SetAt(fixed, size);
        start = size;
    }
    for (int i = 0; i < count; i++)
    {
        if (i == fixed)
            continue;
        int size = sizes.GetAt(i);
        if (start + size > free)
            size = free - start > 0 ? free - start : 0;
        sizes.SetAt(i, size);
        start += size;
    }
    if (start < free && count > 0)
        sizes.SetAt(count - 1, sizes.GetAt(count - 1) + free - start);
}
}

SSplitterDragInput::~SSplitterDragInput() {}

bool SSplitterDragInput::IsLeftButtonDown()
{
    return GetAsyncKeyState(VK_LBUTTON) < 0;
}

POINT SSplitterDragInput::GetCursorPos()
{
    POINT point = {0, 0};
    ::GetCursorPos(&point);
    return point;
}

void SSplitterDragInput::WaitForInput(DWORD milliseconds)
{
    // Marks the queued input as seen, so that only new input ends the wait.
    GetQueueStatus(QS_INPUT);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_INPUT);
}

SSplitterCtrl::_SWnd::_SWnd() : splitter(nullptr), record(this), value(0)
{
}

SSplitterCtrl::_SWnd::~_SWnd()
{
    HWND handle = GetHandle();
    if (handle)
    {
        HWND child;
        while ((child = GetWindow(handle, GW_CHILD)) != nullptr && FindWndByHandle(child))
        {
            ::ShowWindow(child, SW_HIDE);
            // A child that cannot be detached goes with the pane rather than stopping the loop.
            if (!::SetParent(child, nullptr))
                break;
        }
    }
}

LRESULT SSplitterCtrl::_SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (splitter && !splitter->OnChildMessage(record, msg, wParam, lParam, &result))
        return result;
    return ::SWnd::OnMessage(msg, wParam, lParam);
}

SSplitterCtrl::SSplitterCtrl()
    : m_paneBackColor(GetSysColor(COLOR_WINDOW)), m_barWidth(4), m_barHeight(4), m_panes(nullptr),
      m_columnCount(0), m_rowCount(0)
{
    SetKind(SKIND_SPLITTER);
}

SSplitterCtrl::~SSplitterCtrl()
{
    DeletePanes();
}

SSplitterDragInput* SSplitterCtrl::SetDragInput(SSplitterDragInput* input)
{
    SSplitterDragInput* previous = g_dragInput == &g_realInput ? nullptr : g_dragInput;
    g_dragInput = input ? input : &g_realInput;
    return previous;
}

bool SSplitterCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                           LPARAM creationParam)
{
    return SWnd::Create("", SControlStyle(style), exStyle, rect, parent, id, creationParam);
}

int SSplitterCtrl::GetFreeWidth() const
{
    int free = GetClientWidth() - (m_columnCount - 1) * m_barWidth;
    return free < 0 ? 0 : free;
}

int SSplitterCtrl::GetFreeHeight() const
{
    int free = GetClientHeight() - (m_rowCount - 1) * m_barHeight;
    return free < 0 ? 0 : free;
}

bool SSplitterCtrl::CreatePanes(int columns, int rows)
{
    // Each count is bounded before they are multiplied, so the product cannot overflow.
    if (columns < 1 || rows < 1 || columns > kMaxPanes || rows > kMaxPanes || columns * rows > kMaxPanes ||
        !GetHandle())
        return false;
    _SWnd* panes = new (std::nothrow) _SWnd[(size_t)(columns * rows)];
    if (!panes)
        return false;
    DeletePanes();
    // With both counts still 0 the free size includes one bar.
    int freeWidth = GetFreeWidth();
    int freeHeight = GetFreeHeight();
    m_columnCount = columns;
    m_rowCount = rows;
    m_panes = panes;
    for (int i = 0; i < columns * rows; i++)
    {
        _SWnd& pane = m_panes[i];
        pane.splitter = this;
        pane.record = &pane;
        pane.Create("", WS_CHILD | WS_VISIBLE, 0, nullptr, GetHandle());
        pane.SetBackColor(m_paneBackColor);
    }
    m_columnWidths.Add(freeWidth / columns, -1, columns);
    m_rowHeights.Add(freeHeight / rows, -1, rows);
    Layout(-1, -1);
    return true;
}

void SSplitterCtrl::DeletePanes()
{
    delete[] m_panes;
    m_panes = nullptr;
    m_columnWidths.RemoveAll();
    m_rowHeights.RemoveAll();
    m_columnCount = 0;
    m_rowCount = 0;
}

SSplitterCtrl::_SWnd* SSplitterCtrl::GetPane(int column, int row) const
{
    if (!m_panes || column < 0 || column >= m_columnCount || row < 0 || row >= m_rowCount)
        return nullptr;
    return &m_panes[row * m_columnCount + column];
}

RECT SSplitterCtrl::GetPaneRect(int column, int row) const
{
    RECT rect = {0, 0, 0, 0};
    if (!GetPane(column, row))
        return rect;
    for (int i = 0; i < column; i++)
        rect.left += m_columnWidths.GetAt(i) + m_barWidth;
    for (int i = 0; i < row; i++)
        rect.top += m_rowHeights.GetAt(i) + m_barHeight;
    rect.right = rect.left + m_columnWidths.GetAt(column);
    rect.bottom = rect.top + m_rowHeights.GetAt(row);
    return rect;
}

RECT SSplitterCtrl::GetPaneClientRect(int column, int row) const
{
    RECT rect = GetPaneRect(column, row);
    OffsetRect(&rect, -rect.left, -rect.top);
    return rect;
}

void SSplitterCtrl::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= m_columnCount)
        return;
    if (width < 0)
        width = 0;
    if (m_columnWidths.GetAt(column) == width)
        return;
    m_columnWidths.SetAt(column, width);
    Layout(column, -1);
}

int SSplitterCtrl::GetPaneSize(int column) const
{
    return column >= 0 && column < m_columnCount ? m_columnWidths.GetAt(column) : 0;
}

int SSplitterCtrl::GetRowHeight(int row) const
{
    return row >= 0 && row < m_rowCount ? m_rowHeights.GetAt(row) : 0;
}

void SSplitterCtrl::SetPaneBackColor(unsigned color)
{
    if (color != SCOLOR_NONE)
        m_paneBackColor = color;
}

void SSplitterCtrl::Layout(int fixedColumn, int fixedRow)
{
    if (!m_panes)
        return;
    int freeWidth = GetFreeWidth(), freeHeight = GetFreeHeight();
    if (freeWidth == 0 || freeHeight == 0)
        return;
    FitSizes(m_columnWidths, m_columnCount, freeWidth, fixedColumn);
    FitSizes(m_rowHeights, m_rowCount, freeHeight, fixedRow);
    PlacePanes();
}

void SSplitterCtrl::PlacePanes()
{
    bool visible = IsVisible();
    if (visible)
        SetRedraw(false, false);
    for (int row = 0; row < m_rowCount; row++)
        for (int column = 0; column < m_columnCount; column++)
        {
            RECT rect = GetPaneRect(column, row);
            GetPane(column, row)->SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left,
                                               rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    if (visible)
        SetRedraw(true, true);
}

bool SSplitterCtrl::HitTestBar(int x, int y, bool* column, int* index) const
{
    POINT point = {x, y};
    int height = GetClientHeight(), width = GetClientWidth();
    int edge = 0;
    for (int i = 0; i + 1 < m_columnCount; i++)
    {
        edge += m_columnWidths.GetAt(i);
        RECT bar = {edge, 0, edge + m_barWidth, height};
        if (PtInRect(&bar, point))
        {
            *column = true;
            *index = i;
            return true;
        }
        edge += m_barWidth;
    }
    edge = 0;
    for (int i = 0; i + 1 < m_rowCount; i++)
    {
        edge += m_rowHeights.GetAt(i);
        RECT bar = {0, edge, width, edge + m_barHeight};
        if (PtInRect(&bar, point))
        {
            *column = false;
            *index = i;
            return true;
        }
        edge += m_barHeight;
    }
    return false;
}

void SSplitterCtrl::Paint(HDC dc)
{
    HBRUSH brush = CreateSolidBrush(SControlColorRef(GetBackColor()));
    int height = GetClientHeight(), width = GetClientWidth();
    int edge = 0;
    for (int i = 0; i + 1 < m_columnCount; i++)
    {
        edge += m_columnWidths.GetAt(i);
        RECT bar = {edge, 0, edge + m_barWidth, height};
        if (brush)
            FillRect(dc, &bar, brush);
        DrawEdge(dc, &bar, EDGE_RAISED, BF_RECT);
        edge += m_barWidth;
    }
    edge = 0;
    for (int i = 0; i + 1 < m_rowCount; i++)
    {
        edge += m_rowHeights.GetAt(i);
        RECT bar = {0, edge, width, edge + m_barHeight};
        if (brush)
            FillRect(dc, &bar, brush);
        DrawEdge(dc, &bar, EDGE_RAISED, BF_RECT);
        edge += m_barHeight;
    }
    if (brush)
        DeleteObject(brush);
}

void SSplitterCtrl::SetBarCursor(int x, int y)
{
    bool column = false;
    int index = -1;
    if (HitTestBar(x, y, &column, &index))
        SetCursor(GetCursorHandle(column ? kColumnCursor : kRowCursor));
    else
        SetCursor(nullptr);
}

void SSplitterCtrl::DragBar(int x, int y)
{
    bool column = false;
    int index = -1;
    if (!HitTestBar(x, y, &column, &index))
        return;
    SArray<int>& sizes = column ? m_columnWidths : m_rowHeights;
    int a = sizes.GetAt(index), b = sizes.GetAt(index + 1);
    int start = column ? x : y;
    SetCursor(GetCursorHandle(column ? kColumnCursor : kRowCursor));
    int previous = 0;
    // The drag polls the mouse without dispatching messages until the button is released.
    while (g_dragInput->IsLeftButtonDown())
    {
        POINT point = g_dragInput->GetCursorPos();
        ScreenToClient(&point);
        int d = (column ? point.x : point.y) - start;
        if (d == previous)
        {
            g_dragInput->WaitForInput(kDragWait);
            continue;
        }
        previous = d;
        if (d > b)
        {
            sizes.SetAt(index, a + b);
            sizes.SetAt(index + 1, 0);
        }
        else if (d < -a)
        {
            sizes.SetAt(index, 0);
            sizes.SetAt(index + 1, a + b);
        }
        else
        {
            sizes.SetAt(index, a + d);
            sizes.SetAt(index + 1, b - d);
        }
        PlacePanes();
    }
}

bool SSplitterCtrl::OnChildMessage(_SWnd*, UINT, WPARAM, LPARAM, LRESULT*)
{
    return true;
}

LRESULT SSplitterCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (msg)
    {
    case WM_S_CREATED:
        SetBackColor(GetSysColor(COLOR_BTNFACE));
        break;
    case WM_SIZE:
        Layout(-1, -1);
        break;
    case WM_ERASEBKGND:
        if (lParam)
            Paint((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        Paint((HDC)wParam);
        break;
    case WM_S_MOUSE_ENTER:
        SetBarCursor(x, y);
        break;
    case WM_S_MOUSE_LEAVE:
        SetCursor(nullptr);
        break;
    case WM_LBUTTONDOWN:
        DragBar(x, y);
        SControlForwardMouse(this, msg, lParam, SBLOCK_SPLITTER);
        break;
    default:
        SControlForwardMouse(this, msg, lParam, SBLOCK_SPLITTER);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
