#pragma once
// Divides its client area into a grid of pane windows separated by bars that
// the user drags. Messages of the panes are offered to the splitter first.
#include <windows.h>

#include "SArray.h"
#include "SString.h"
#include "SWnd.h"

// What the bar drag reads of the mouse: the real button state and cursor by
// default; a test installs its own so that a drag runs without real input.
class SSplitterDragInput
{
public:
    virtual ~SSplitterDragInput();
    // Whether the left button is held (GetAsyncKeyState).
    virtual bool IsLeftButtonDown();
    // The cursor in screen coordinates.
    virtual POINT GetCursorPos();
    // Waits, without dispatching, until new input arrives or the time has passed.
    virtual void WaitForInput(DWORD milliseconds);
};

class SSplitterCtrl : public SWnd
{
public:
    // One pane: a library window in which the owner places other windows.
    class _SWnd : public ::SWnd
    {
    public:
        _SWnd();
        // Hosted library windows are hidden and detached, so they survive the pane.
        ~_SWnd() override;
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

        SSplitterCtrl* splitter; // the owning splitter
        _SWnd* record;           // this pane, handed to OnChildMessage
        SString paneName;        // for the owner's use
        int value;               // for the owner's use
    };

    SSplitterCtrl();
    ~SSplitterCtrl() override;

    // Installs the drag input (null: the real mouse); returns the previous one.
    static SSplitterDragInput* SetDragInput(SSplitterDragInput* input);

    // Creates the splitter over the library window class.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // Most panes a grid may hold: each pane is a window, and a process may own only ten thousand.
    static const int kMaxPanes = 1024;

    // Replaces every pane by a grid of columns x rows in equal shares; false, with the panes
    // left as they are, when either is below 1, the grid holds more than kMaxPanes panes or
    // the splitter has no window.
    bool CreatePanes(int columns, int rows);
    // Deletes the panes and the size arrays.
    void DeletePanes();
    // The pane of a column and row; null outside the grid.
    _SWnd* GetPane(int column, int row) const;
    // Rectangle of a pane in the splitter's client coordinates; empty outside the grid.
    RECT GetPaneRect(int column, int row) const;
    // The same size at 0, 0.
    RECT GetPaneClientRect(int column, int row) const;
    // Sets a column's width and lays the others out around it.
    void SetColumnWidth(int column, int width);
    // A column's width; 0 outside the grid.
    int GetPaneSize(int column) const;
    // A row's height; 0 outside the grid.
    int GetRowHeight(int row) const;
    int GetColumnCount() const { return m_columnCount; }
    int GetRowCount() const { return m_rowCount; }
    int GetPaneCount() const { return m_columnCount * m_rowCount; }
    int GetBarWidth() const { return m_barWidth; }
    int GetBarHeight() const { return m_barHeight; }
    // Back colour of panes created afterwards; 0xFF000000 keeps the current one.
    void SetPaneBackColor(unsigned color);
    // The bar under a point: true with column (a column bar) or not (a row bar) and its index.
    bool HitTestBar(int x, int y, bool* column, int* index) const;
    // Fits the sizes to the client area (fixed column or row -1 = none) and places the panes.
    void Layout(int fixedColumn = -1, int fixedRow = -1);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Offered every message of every pane first; false makes the pane answer *result at once.
    virtual bool OnChildMessage(_SWnd* pane, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    int GetFreeWidth() const;
    int GetFreeHeight() const;
    void PlacePanes();
    void Paint(HDC dc);
    void DragBar(int x, int y);
    void SetBarCursor(int x, int y);

    unsigned m_paneBackColor;  // back colour given to new panes
    int m_barWidth;            // width of the bars between columns
    int m_barHeight;           // height of the bars between rows
    _SWnd* m_panes;            // columns x rows panes, row by row; owned
    SArray<int> m_columnWidths;
    SArray<int> m_rowHeights;
    int m_columnCount;
    int m_rowCount;
};
