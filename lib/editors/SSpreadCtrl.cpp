#include "SSpreadCtrl.h"

#include <stdlib.h>
#include <string.h>

#include "SDraw.h"
#include "SFile.h"
#include "SKeyboard.h"
#include "SLibrary.h"
#include "SStringParser.h"

namespace
{
const int kHeaderHeight = 20;
const int kDefaultWidth = 80;
const int kDefaultHeight = 20;

int Lesser(int a, int b)
{
    return a < b ? a : b;
}

int Greater(int a, int b)
{
    return a > b ? a : b;
}

SString ColumnReference(int column)
{
    SString text;
    text.FormatInt(column);
    return text;
}

// The value of a key in a cell style list ("key=value;..."); keys ignore case.
SString StyleValue(const SStringArray& entries, const char* key)
{
    size_t length = strlen(key);
    for (int i = 0; i < entries.GetCount(); i++)
    {
        SString entry = entries.GetAt(i);
        const char* text = entry;
        if (_strnicmp(text, key, length) == 0 && text[length] == '=')
            return SString(text + length + 1);
    }
    return SString();
}

DWORD WINAPI DeleteColumnProc(void* field)
{
    delete static_cast<STable::_SField*>(field);
    return 0;
}

// A column of a long table holds three strings per row; freeing a few hundred thousand of them
// takes longer than a keystroke should, so a short-lived thread does it while the grid repaints.
// Small columns, and any column when no thread can be started, go at once.
void ReleaseColumn(STable::_SField* field)
{
    const int kFreeAtOnce = 20000;
    if (!field)
        return;
    if (field->cellValues.GetCount() > kFreeAtOnce)
    {
        HANDLE thread = CreateThread(nullptr, 0, DeleteColumnProc, field, 0, nullptr);
        if (thread)
        {
            CloseHandle(thread);
            return;
        }
    }
    delete field;
}

SStringArray SplitStyle(const SString* style)
{
    SStringArray entries;
    if (style && !style->IsEmpty())
    {
        SStringParser parser(*style);
        parser.Parse(";", 8, '"', &entries);
    }
    return entries;
}
}

// --- edit box ------------------------------------------------------------------------

SSpreadCtrl::_SEditCtrl::_SEditCtrl() : owner(nullptr), column(-1), row(-1), closed(false)
{
}

void SSpreadCtrl::_SEditCtrl::Close(bool commit)
{
    if (closed || !GetHandle())
        return;
    closed = true;
    if (commit && owner)
    {
        owner->SetRangeText(column, row, GetText(), 1, 1);
        owner->Changed();
    }
    Destroy();
}

LRESULT SSpreadCtrl::_SEditCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
        {
            Close(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 27)
            return 0;
        break;
    case WM_KILLFOCUS:
        Close(true);
        break;
    default:
        break;
    }
    return SEditCtrl::OnMessage(msg, wParam, lParam);
}

// --- the grid --------------------------------------------------------------------------

SSpreadCtrl::SSpreadCtrl()
    : m_headerText(GetSysColor(COLOR_BTNTEXT)), m_backColor(GetSysColor(COLOR_WINDOW)),
      m_selectionColor(GetSysColor(COLOR_HIGHLIGHT)), m_cellText(GetSysColor(COLOR_BTNTEXT)),
      m_selectedText(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_headerBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      m_backBrush(CreateSolidBrush(m_backColor)), m_selectionBrush(CreateSolidBrush(m_selectionColor)), m_current(0)
{
    SetKind(SKIND_SPREAD);
    m_edit.owner = this;
}

SSpreadCtrl::~SSpreadCtrl()
{
    m_edit.Close(false);
    HGDIOBJ brushes[] = {m_headerBrush, m_backBrush, m_selectionBrush};
    for (HGDIOBJ brush : brushes)
        if (brush)
            DeleteObject(brush);
}

bool SSpreadCtrl::IsCell(int column, int row) const
{
    return column >= 0 && row >= 0 && column < GetColumnCount() && row < GetRowCount();
}

void SSpreadCtrl::Changed()
{
    NotifyParentChanged(0);
}

int SSpreadCtrl::InsertRow(int index)
{
    int row = m_table.InsertRow(index);
    UpdateScrollBars();
    if (GetHandle())
        InvalidateRect();
    return row;
}

int SSpreadCtrl::InsertColumn(int index, const char* title, int width)
{
    int column = m_table.InsertColumn("", index);
    if (column >= 0)
    {
        SString reference = ColumnReference(column);
        m_table.SetColumnTitle(reference, title ? title : "");
        m_table.SetColumnWidth(reference, width < 0 ? 0 : width);
    }
    UpdateScrollBars();
    if (GetHandle())
        InvalidateRect();
    return column;
}

void SSpreadCtrl::DeleteRow(int index, int count)
{
    int rows = GetRowCount();
    if (index < 0 || index >= rows || count <= 0)
        return;
    if (count > rows - index)
        count = rows - index;
    m_edit.Close(false);
    m_table.DeleteRow(index, count);
    // Cells of deleted rows leave the selection; later rows move up, which keeps the order.
    int kept = 0;
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        uint64_t cell = m_selection.GetAt(i);
        int row = CellRow(cell);
        if (row >= index && row < index + count)
            continue;
        m_selection.SetAt(kept++, row >= index + count ? PackCell(CellColumn(cell), row - count) : cell);
    }
    m_selection.SetSize(kept, true);
    int currentRow = GetCurrentRow();
    if (currentRow >= index + count)
        m_current = PackCell(GetCurrentColumn(), currentRow - count);
    else if (currentRow >= index)
        m_current = kept > 0 ? m_selection.GetAt(0) : 0;
    UpdateScrollBars();
    if (GetHandle())
        InvalidateRect();
}

void SSpreadCtrl::DeleteColumn(int index)
{
    if (index < 0 || index >= GetColumnCount())
        return;
    m_edit.Close(false);
    ReleaseColumn(m_table.TakeColumn(ColumnReference(index)));
    int kept = 0;
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        uint64_t cell = m_selection.GetAt(i);
        int column = CellColumn(cell);
        if (column == index)
            continue;
        m_selection.SetAt(kept++, column > index ? PackCell(column - 1, CellRow(cell)) : cell);
    }
    m_selection.SetSize(kept, true);
    int currentColumn = GetCurrentColumn();
    if (currentColumn > index)
        m_current = PackCell(currentColumn - 1, GetCurrentRow());
    else if (currentColumn == index)
        m_current = kept > 0 ? m_selection.GetAt(0) : 0;
    UpdateScrollBars();
    if (GetHandle())
        InvalidateRect();
}

bool SSpreadCtrl::LoadFile(SFile* stream, bool keepTexts)
{
    if (!stream || !m_table.Read(stream, keepTexts, true, false))
        return false;
    m_edit.Close(false);
    m_current = PackCell(0, 0);
    m_selection.RemoveAll();
    m_selection.Add(m_current);
    UpdateScrollBars();
    if (GetHandle())
        InvalidateRect();
    return true;
}

void SSpreadCtrl::SetSelectionRange(int left, int top, int right, int bottom, bool add)
{
    if (!add)
    {
        // Row-major order is the packed order, so the rectangle is written in place.
        int width = right - left + 1;
        m_selection.SetSize(width * (bottom - top + 1), false);
        int at = 0;
        for (int row = top; row <= bottom; row++)
            for (int column = left; column < left + width; column++)
                m_selection.SetAt(at++, PackCell(column, row));
    }
    else
    {
        for (int row = top; row <= bottom; row++)
            for (int column = left; column <= right; column++)
            {
                uint64_t cell = PackCell(column, row);
                if (m_selection.FindSorted(cell) < 0)
                    m_selection.InsertSorted(cell);
            }
    }
    m_current = PackCell(left, top);
    if (GetHandle())
        InvalidateRect();
}

void SSpreadCtrl::SelectCell(int column, int row)
{
    if (!IsCell(column, row))
        return;
    SetSelectionRange(column, row, column, row, false);
}

void SSpreadCtrl::SelectRange(int column1, int row1, int column2, int row2)
{
    if (!IsCell(column1, row1))
        return;
    if (column2 < 0 || column2 >= GetColumnCount())
        column2 = GetColumnCount() - 1;
    if (row2 < 0 || row2 >= GetRowCount())
        row2 = GetRowCount() - 1;
    SetSelectionRange(Lesser(column1, column2), Lesser(row1, row2), Greater(column1, column2), Greater(row1, row2), false);
}

void SSpreadCtrl::AddRangeToSelection(int column1, int row1, int column2, int row2)
{
    if (!IsCell(column1, row1))
        return;
    if (column2 < 0 || column2 >= GetColumnCount())
        column2 = GetColumnCount() - 1;
    if (row2 < 0 || row2 >= GetRowCount())
        row2 = GetRowCount() - 1;
    SetSelectionRange(Lesser(column1, column2), Lesser(row1, row2), Greater(column1, column2), Greater(row1, row2), true);
}

void SSpreadCtrl::AddCellToSelection(int column, int row)
{
    if (!IsCell(column, row) || IsCellSelected(column, row))
        return;
    m_selection.InsertSorted(PackCell(column, row));
    m_current = PackCell(column, row);
    if (GetHandle())
        InvalidateRect();
}

void SSpreadCtrl::DeselectCell(int column, int row)
{
    int at = m_selection.FindSorted(PackCell(column, row));
    if (at < 0 || m_selection.GetCount() == 1)
        return;
    m_selection.RemoveAt(at);
    if (m_current == PackCell(column, row))
        m_current = m_selection.GetAt(0);
    if (GetHandle())
        InvalidateRect();
}

bool SSpreadCtrl::IsCellSelected(int column, int row) const
{
    return column >= 0 && row >= 0 && m_selection.FindSorted(PackCell(column, row)) >= 0;
}

int SSpreadCtrl::GetSelColumn(int index) const
{
    if (m_selection.GetCount() == 0)
        return -1;
    return CellColumn(index >= 0 && index < m_selection.GetCount() ? m_selection.GetAt(index) : m_current);
}

int SSpreadCtrl::GetSelRow(int index) const
{
    if (m_selection.GetCount() == 0)
        return -1;
    return CellRow(index >= 0 && index < m_selection.GetCount() ? m_selection.GetAt(index) : m_current);
}

SString SSpreadCtrl::GetCellText(int column, int row) const
{
    if (!IsCell(column, row))
        return SString();
    SString* text = m_table.GetCell(row, column);
    return text ? *text : SString();
}

void SSpreadCtrl::SetRangeText(int column, int row, const char* text, int columns, int rows)
{
    if (!IsCell(column, row) || columns <= 0 || rows <= 0)
        return;
    int right = Lesser(column + columns, GetColumnCount());
    int bottom = Lesser(row + rows, GetRowCount());
    for (int r = row; r < bottom; r++)
        for (int c = column; c < right; c++)
            m_table.SetCell(r, ColumnReference(c), text ? text : "");
    if (GetHandle())
        InvalidateRect();
}

void SSpreadCtrl::SetSelectedText(const char* text)
{
    if (m_selection.GetCount() == 0)
        return;
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        uint64_t cell = m_selection.GetAt(i);
        if (IsCell(CellColumn(cell), CellRow(cell)))
            m_table.SetCell(CellRow(cell), ColumnReference(CellColumn(cell)), text ? text : "");
    }
    if (GetHandle())
        InvalidateRect();
}

void SSpreadCtrl::ClearSelected()
{
    SetSelectedText("");
}

void SSpreadCtrl::OnDelete()
{
    ClearSelected();
    Changed();
}

void SSpreadCtrl::OnSelectAll()
{
    if (GetColumnCount() > 0 && GetRowCount() > 0)
        SelectRange(0, 0, -1, -1);
}

int SSpreadCtrl::GetRowHeight(int row) const
{
    int height = m_table.GetRowHeight(row);
    return height > 0 ? height : kDefaultHeight;
}

int SSpreadCtrl::GetColumnWidth(int column) const
{
    int width = m_table.GetColumnWidth(ColumnReference(column));
    return width > 0 ? width : kDefaultWidth;
}

int SSpreadCtrl::GetRowHeaderWidth() const
{
    SString count;
    count.FormatInt(GetRowCount());
    HFONT font = const_cast<SSpreadCtrl*>(this)->GetFont();
    int width = GetTextExtent(font ? font : GetDefaultFont(), count).cx + 10;
    return width < 30 ? 30 : width;
}

SString SSpreadCtrl::GetColumnTitleText(int column) const
{
    SString title = m_table.GetColumnTitle(ColumnReference(column));
    if (title.IsEmpty())
    {
        char letter[2] = {(char)(65 + column), 0};
        title = letter;
    }
    return title;
}

UINT SSpreadCtrl::GetCellAlignment(int column, int row) const
{
    SStringArray entries = SplitStyle(m_table.GetCellStyle(row, column));
    SString horizontal = StyleValue(entries, "halign");
    SString vertical = StyleValue(entries, "valign");
    UINT flags = DT_LEFT;
    if (_stricmp(horizontal, "center") == 0)
        flags = DT_CENTER;
    else if (_stricmp(horizontal, "right") == 0)
        flags = DT_RIGHT;
    else if (horizontal.IsEmpty())
    {
        SString* text = m_table.GetCell(row, column);
        if (text && text->IsNumber())
            flags = DT_RIGHT;
    }
    if (_stricmp(vertical, "bottom") == 0)
        flags |= DT_BOTTOM;
    else if (vertical.IsEmpty() || _stricmp(vertical, "middle") == 0)
        flags |= DT_VCENTER;
    return flags;
}

int SSpreadCtrl::HitTest(int x, int y, int* column, int* row) const
{
    if (column)
        *column = -1;
    if (row)
        *row = -1;
    int header = GetRowHeaderWidth();
    if (x > 0 && x < header && y > 0 && y < kHeaderHeight)
        return HIT_CORNER;
    int width = GetClientWidth(), height = GetClientHeight();
    int hitColumn = -1, hitRow = -1;
    if (x >= header)
    {
        int left = header;
        for (int c = GetHScrollPos(); c < GetColumnCount() && left < width; c++)
        {
            int right = left + GetColumnWidth(c);
            if (x < right)
            {
                hitColumn = c;
                break;
            }
            left = right;
        }
    }
    if (y >= kHeaderHeight)
    {
        int top = kHeaderHeight;
        for (int r = GetVScrollPos(); r < GetRowCount() && top < height; r++)
        {
            int bottom = top + GetRowHeight(r);
            if (y < bottom)
            {
                hitRow = r;
                break;
            }
            top = bottom;
        }
    }
    if (y >= 0 && y < kHeaderHeight && hitColumn >= 0)
    {
        if (column)
            *column = hitColumn;
        return HIT_COLUMN;
    }
    if (x >= 0 && x < header && hitRow >= 0)
    {
        if (row)
            *row = hitRow;
        return HIT_ROW;
    }
    if (hitColumn >= 0 && hitRow >= 0)
    {
        if (column)
            *column = hitColumn;
        if (row)
            *row = hitRow;
        return HIT_CELL;
    }
    return HIT_NONE;
}

bool SSpreadCtrl::GetCellRect(RECT* rect, int column, int row) const
{
    if (!rect || !IsCell(column, row) || column < GetHScrollPos() || row < GetVScrollPos())
        return false;
    int width = GetClientWidth(), height = GetClientHeight();
    int left = GetRowHeaderWidth();
    for (int c = GetHScrollPos(); c < column; c++)
    {
        left += GetColumnWidth(c);
        if (left >= width)
            return false;
    }
    int top = kHeaderHeight;
    for (int r = GetVScrollPos(); r < row; r++)
    {
        top += GetRowHeight(r);
        if (top >= height)
            return false;
    }
    if (left >= width || top >= height)
        return false;
    SetRect(rect, left, top, left + GetColumnWidth(column) - 1, top + GetRowHeight(row) - 1);
    return true;
}

void SSpreadCtrl::BeginEdit(int column, int row)
{
    RECT rect;
    if (!GetCellRect(&rect, column, row))
        return;
    m_edit.Close(true);
    m_edit.owner = this;
    m_edit.column = column;
    m_edit.row = row;
    m_edit.closed = false;
    SString text = GetCellText(column, row);
    if (!m_edit.Create(text, ES_AUTOHSCROLL, 0, &rect, GetHandle()))
        return;
    m_edit.SetFont(GetFont(), false);
    m_edit.SetSel(text.GetLength(), text.GetLength());
    m_edit.ShowWindow(SW_SHOW);
    m_edit.SetFocus();
}

void SSpreadCtrl::UpdateScrollBars()
{
    if (!GetHandle())
        return;
    if (GetColumnCount() >= 2)
        UpdateScrollInfo(false, 0, GetColumnCount() - 1, 0);
    else
        ShowScrollBar(false, true);
    if (GetRowCount() >= 2)
        UpdateScrollInfo(true, 0, GetRowCount() - 1, 0);
    else
        ShowScrollBar(true, false);
}

void SSpreadCtrl::PaintCell(HDC dc, int column, int row, const RECT& rect)
{
    bool selected = IsCellSelected(column, row);
    SStringArray entries = SplitStyle(m_table.GetCellStyle(row, column));
    RECT fill = {rect.left, rect.top, rect.right + 1, rect.bottom + 1};
    if (selected)
        FillRect(dc, &fill, m_selectionBrush);
    else
    {
        SString back = StyleValue(entries, "backcolor");
        HBRUSH brush = back.IsEmpty() ? nullptr : CreateSolidBrush(ResolveColor(TextToColor(back)));
        FillRect(dc, &fill, brush ? brush : m_backBrush);
        if (brush)
            DeleteObject(brush);
    }
    SString* text = m_table.GetCell(row, column);
    if (text)
    {
        RECT inner = fill;
        InflateRect(&inner, -1, -1);
        COLORREF color = m_cellText;
        if (selected)
            color = m_selectedText;
        else
        {
            SString textColor = StyleValue(entries, "textcolor");
            if (!textColor.IsEmpty())
                color = ResolveColor(TextToColor(textColor));
        }
        SetTextColor(dc, color);
        DrawTextA(dc, *text, -1, &inner, GetCellAlignment(column, row) | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (m_current == PackCell(column, row) && m_selection.GetCount() > 0)
        DrawFocusRect(dc, &fill);
}

void SSpreadCtrl::Paint(HDC dc)
{
    int width = GetClientWidth(), height = GetClientHeight();
    int header = GetRowHeaderWidth();
    HFONT font = GetFont();
    HGDIOBJ oldFont = SelectObject(dc, font ? font : GetDefaultFont());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, m_headerText);
    int hpos = GetHScrollPos(), vpos = GetVScrollPos();
    int x = header;
    for (int c = hpos; c < GetColumnCount() && x < width; c++)
    {
        int w = GetColumnWidth(c);
        RECT title = {x, 0, x + w, kHeaderHeight};
        FillRect(dc, &title, m_headerBrush);
        SetTextColor(dc, m_headerText);
        DrawTextA(dc, GetColumnTitleText(c), -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        x += w;
    }
    int y = kHeaderHeight;
    for (int r = vpos; r < GetRowCount() && y < height; r++)
    {
        int h = GetRowHeight(r);
        RECT number = {0, y, header, y + h};
        FillRect(dc, &number, m_headerBrush);
        SString text;
        text.FormatInt(r);
        SetTextColor(dc, m_headerText);
        DrawTextA(dc, text, -1, &number, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        x = header;
        for (int c = hpos; c < GetColumnCount() && x < width; c++)
        {
            int w = GetColumnWidth(c);
            RECT cell = {x, y, x + w - 1, y + h - 1};
            PaintCell(dc, c, r, cell);
            x += w;
        }
        y += h;
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void SSpreadCtrl::OnClick(int x, int y, bool left, bool doubleClick)
{
    int column = -1, row = -1;
    int hit = HitTest(x, y, &column, &row);
    if (hit == HIT_CORNER && !doubleClick)
        OnSelectAll();
    else if (hit == HIT_COLUMN && !doubleClick)
        SelectRange(column, 0, column, -1);
    else if (hit == HIT_ROW && !doubleClick)
        SelectRange(0, row, -1, row);
    else if (hit == HIT_CELL)
    {
        int modifiers = GetKeyModifiers();
        if (modifiers == 1)
            AddRangeToSelection(column, row, GetCurrentColumn(), GetCurrentRow());
        else if (modifiers == 2)
        {
            if (IsCellSelected(column, row))
                DeselectCell(column, row);
            else
                AddCellToSelection(column, row);
        }
        else
        {
            SelectCell(column, row);
            if (doubleClick)
                BeginEdit(column, row);
        }
    }
    if (!left && !doubleClick && m_menu.GetHandle())
    {
        POINT point = {x, y};
        ClientToScreen(&point);
        TrackPopupMenu(m_menu.GetHandle(), TPM_RIGHTBUTTON, point.x, point.y, 0, GetHandle(), nullptr);
    }
}

void SSpreadCtrl::OnKeyDown(WPARAM key)
{
    int column = GetCurrentColumn(), row = GetCurrentRow();
    switch (key)
    {
    case VK_RETURN: BeginEdit(column, row); break;
    case VK_LEFT: if (IsCell(column - 1, row)) SelectCell(column - 1, row); break;
    case VK_RIGHT: if (IsCell(column + 1, row)) SelectCell(column + 1, row); break;
    case VK_UP: if (IsCell(column, row - 1)) SelectCell(column, row - 1); break;
    case VK_DOWN: if (IsCell(column, row + 1)) SelectCell(column, row + 1); break;
    case VK_DELETE:
        if (GetKeyModifiers() != 1)
            ClearSelected();
        break;
    default: break;
    }
}

void SSpreadCtrl::OnMenuCommand(int id)
{
    switch (id)
    {
    case CMD_UNDO: OnUndo(); break;
    case CMD_CUT: OnCut(); break;
    case CMD_COPY: OnCopy(); break;
    case CMD_PASTE: OnPaste(); break;
    case CMD_DELETE: OnDelete(); break;
    case CMD_SELECTALL: OnSelectAll(); break;
    case CMD_INSERTROW: InsertRow(GetCurrentRow()); break;
    case CMD_INSERTCOLUMN: InsertColumn(GetCurrentColumn(), "", 0); break;
    case CMD_DELETEROW: DeleteRow(GetCurrentRow(), 1); break;
    case CMD_DELETECOLUMN: DeleteColumn(GetCurrentColumn()); break;
    default: break;
    }
}

LRESULT SSpreadCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (msg)
    {
    case WM_S_CREATED:
    {
        SetBackColor(GetSysColor(COLOR_APPWORKSPACE));
        SetScrollSteps(false, 1, 5, 1);
        SetScrollSteps(true, 1, 5, 1);
        EnableShortcuts(0x7C20);
        m_menu.CreatePopup(GetHandle());
        const struct
        {
            int id;
            const char* caption;
        } items[] = {{CMD_CUT, "Cut\tCtrl+X"}, {CMD_COPY, "Copy\tCtrl+C"}, {CMD_PASTE, "Paste\tCtrl+V"},
                     {CMD_DELETE, "Delete\tCtrl+Del"}, {0, nullptr}, {CMD_SELECTALL, "Select All\tCtrl+A"},
                     {0, nullptr}, {CMD_INSERTROW, "Insert Row"}, {CMD_INSERTCOLUMN, "Insert Column"},
                     {CMD_DELETEROW, "Delete Row"}, {CMD_DELETECOLUMN, "Delete Column"}};
        for (const auto& item : items)
        {
            if (item.caption)
                m_menu.InsertItem(item.id, item.caption);
            else
                m_menu.InsertSeparator();
        }
        UpdateScrollBars();
        break;
    }
    case SMENU_COMMAND:
        OnMenuCommand((int)lParam);
        return 0;
    case WM_SIZE:
        UpdateScrollBars();
        InvalidateRect();
        break;
    case WM_S_HSCROLLED:
    case WM_S_VSCROLLED:
        InvalidateRect();
        break;
    case WM_MOUSEWHEEL:
    {
        int delta = (short)HIWORD(wParam);
        SetVScrollPos(GetVScrollPos() + (delta < 0 ? 1 : -1));
        InvalidateRect();
        return 0;
    }
    case WM_ERASEBKGND:
        if (lParam)
            Paint((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        Paint((HDC)wParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SControlForwardMouse(this, msg, lParam, SBLOCK_SPREAD);
        if (msg != WM_LBUTTONDBLCLK)
            SetFocus();
        OnClick(x, y, msg != WM_RBUTTONDOWN, msg == WM_LBUTTONDBLCLK);
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        break;
    }
    SControlForwardMouse(this, msg, lParam, SBLOCK_SPREAD);
    return SWnd::OnMessage(msg, wParam, lParam);
}
