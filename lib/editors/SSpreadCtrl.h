#pragma once
// A table of text cells: column titles, row numbers, per-cell colours and
// alignment, a multi-cell selection with a current cell, an edit box over a
// cell and a popup menu to insert and delete rows and columns. The data lives
// in an STable the control owns.
#include <windows.h>
#include <stdint.h>

#include "SArray.h"
#include "SControl.h"
#include "SEditCtrl.h"
#include "SMenu.h"
#include "STable.h"
#include "SWnd.h"

class SFile;

// Mouse events to the parent (the common control form).
const UINT SSPREAD_MOUSE = ControlMessage(SBLOCK_SPREAD, 0);

class SSpreadCtrl : public SWnd
{
public:
    // Popup menu commands.
    enum
    {
        CMD_UNDO = 1000, CMD_CUT, CMD_COPY, CMD_PASTE, CMD_DELETE, CMD_SELECTALL, CMD_INSERTROW, CMD_INSERTCOLUMN,
        CMD_DELETEROW, CMD_DELETECOLUMN
    };
    // HitTest results.
    enum { HIT_NONE, HIT_CORNER, HIT_COLUMN, HIT_ROW, HIT_CELL };

    // The in-place edit box over one cell.
    class _SEditCtrl : public SEditCtrl
    {
    public:
        _SEditCtrl();
        // Closes once: with commit the text goes to the cell and the change is reported.
        void Close(bool commit);
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

        SSpreadCtrl* owner;
        int column, row;
        bool closed;
    };

    // A cell packed for the selection: row in the high half, column in the low one.
    // The halves are 32 bits wide, so rows past 65535 never alias.
    static uint64_t PackCell(int column, int row) { return ((uint64_t)(uint32_t)row << 32) | (uint32_t)column; }
    static int CellColumn(uint64_t cell) { return (int)(uint32_t)cell; }
    static int CellRow(uint64_t cell) { return (int)(uint32_t)(cell >> 32); }

    SSpreadCtrl();
    ~SSpreadCtrl() override;

    // The table (its cells are read directly; call Redraw after changing it outside the grid).
    STable* GetTable() { return &m_table; }

    int InsertRow(int index);
    int InsertColumn(int index, const char* title, int width);
    // Deletes rows or a column; the selection and the current cell follow (deleted cells are dropped).
    void DeleteRow(int index, int count);
    void DeleteColumn(int index);
    // Reads a "TAVRIN TABLE 1.0.0.0" table; false (nothing changed) when it cannot.
    bool LoadFile(SFile* stream, bool keepTexts);

    void SelectCell(int column, int row);
    void SelectRange(int column1, int row1, int column2, int row2);
    void AddCellToSelection(int column, int row);
    void AddRangeToSelection(int column1, int row1, int column2, int row2);
    void DeselectCell(int column, int row);
    bool IsCellSelected(int column, int row) const;
    int GetSelCount() const { return m_selection.GetCount(); }
    int GetSelColumn(int index) const;
    int GetSelRow(int index) const;
    int GetCurrentColumn() const { return CellColumn(m_current); }
    int GetCurrentRow() const { return CellRow(m_current); }

    SString GetCellText(int column, int row) const;
    void SetRangeText(int column, int row, const char* text, int columns, int rows);
    void SetSelectedText(const char* text);

    int GetRowCount() const { return m_table.GetRowCount(); }
    int GetColumnCount() const { return m_table.GetColumnCount(); }
    int GetRowHeight(int row) const;
    int GetColumnWidth(int column) const;
    int GetRowHeaderWidth() const;
    int GetHeaderHeight() const { return 20; }
    // The alignment a cell is drawn with (DT_* flags).
    UINT GetCellAlignment(int column, int row) const;
    // The text a column title shows.
    SString GetColumnTitleText(int column) const;

    int HitTest(int x, int y, int* column, int* row) const;
    bool GetCellRect(RECT* rect, int column, int row) const;
    void BeginEdit(int column, int row);
    _SEditCtrl* GetEditBox() { return m_edit.GetHandle() ? &m_edit : nullptr; }
    SMenu* GetPopupMenu() { return &m_menu; }
    void UpdateScrollBars();
    void Paint(HDC dc);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void OnDelete() override;
    void OnSelectAll() override;
    void OnUndo() override {}
    void OnCut() override {}
    void OnCopy() override {}
    void OnPaste() override {}
    void OnFind() override {}
    void OnReplace() override {}
    void OnGoTo() override {}
    void OnPrint() override {}
    void OnEscape() override {}

private:
    bool IsCell(int column, int row) const;
    // Clears the text of every selected cell.
    void ClearSelected();
    // Replaces the selection by a rectangle given in table cells, already ordered and inside.
    void SetSelectionRange(int left, int top, int right, int bottom, bool add);
    void OnClick(int x, int y, bool left, bool doubleClick);
    void OnKeyDown(WPARAM key);
    void OnMenuCommand(int id);
    void PaintCell(HDC dc, int column, int row, const RECT& rect);
    void Changed();

    COLORREF m_headerText, m_backColor, m_selectionColor, m_cellText, m_selectedText;
    HBRUSH m_headerBrush, m_backBrush, m_selectionBrush;
    SMenu m_menu;
    STable m_table;
    SArray<uint64_t> m_selection;
    uint64_t m_current;
    _SEditCtrl m_edit;
};
