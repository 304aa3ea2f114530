// The code editor's window procedure: keys, typed characters and the mouse.
#include "SCodeEditCtrl.h"

#include <mmsystem.h>
#include <string.h>

#include "SFileMem.h"
#include "SLibrary.h"
#include "SRound.h"

namespace
{

bool KeyDown(int key)
{
    return GetKeyState(key) < 0;
}

// Rows or columns per millisecond of the automatic scroll while a drag leaves the text area.
double DragSpeed(int distance, bool vertical)
{
    if (!vertical)
        return 0.1;
    return distance <= 40 ? 0.02 : 0.06;
}

}

LRESULT SCodeEditCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == GetFindReplaceMessage() && msg != 0)
    {
        HandleFindMessage((FINDREPLACEA*)lParam);
        return 0;
    }
    switch (msg)
    {
    case WM_S_CREATED:
        SWnd::OnMessage(msg, wParam, lParam);
        SetBackColor(0xFE000000u + COLOR_APPWORKSPACE);
        EnableShortcuts(0x7FF);
        ResetControl();
        Layout();
        return 0;
    case WM_DESTROY:
        CloseFindDialog();
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_SIZE:
        Layout();
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_SETTEXT:
    {
        const char* text = (const char*)lParam;
        SFileMem stream;
        int length = text ? (int)strlen(text) : 0;
        if (length > 0 && stream.Allocate(length))
            memcpy(stream.GetBuffer(), text, (size_t)length);
        else
            stream.Allocate(0);
        stream.Rewind();
        Load(&stream, nullptr);
        return TRUE;
    }
    case WM_GETTEXT:
        // A buffer of no size gets nothing written into it.
        if (wParam == 0 || !lParam)
            return 0;
        return m_text.CopyText((char*)lParam, wParam > 0x7FFFFFFF ? 0x7FFFFFFF : (int)wParam);
    case WM_GETTEXTLENGTH:
        return m_text.GetTextLength();
    case WM_ERASEBKGND:
        PaintAll(lParam ? (HDC)lParam : (HDC)wParam);
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        PaintAll((HDC)wParam);
        return 0;
    case WM_NCMOUSEMOVE:
        SetCursor(nullptr);
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_KEYDOWN:
        HandleKey((int)wParam);
        return 0;
    case WM_CHAR:
        if (wParam == '\r' && KeyDown(VK_CONTROL))
            return 0;
        HandleChar((int)(unsigned char)wParam);
        return 0;
    case WM_MOUSEMOVE:
    {
        int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
        if (!m_text.IsOpen())
            SetCursor(nullptr);
        else
        {
            POINT point = {x, y};
            SetCursor(GetCursorHandle(PtInRect(&m_textRect, point) ? 5 : 0));
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
    {
        if (!m_text.IsOpen())
            return SWnd::OnMessage(msg, wParam, lParam);
        SetFocus();
        int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
        POINT point = {x, y};
        if (PtInRect(&m_barRect, point))
            BarSelect(y);
        else if (PtInRect(&m_textRect, point))
            MouseSelect(x, y, true);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        DoubleClick((short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        RightButtonDown((short)LOWORD(lParam), (short)HIWORD(lParam));
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_S_RCLICK:
    {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ClientToScreen(&point);
        if (OnMouseHook(point.x, point.y))
            ShowContextMenu(point.x, point.y);
        return 0;
    }
    case WM_MOUSEWHEEL:
        if (m_text.IsOpen())
        {
            int step = GetScrollStep(true);
            SetTopLine(m_topLine + ((short)HIWORD(wParam) < 0 ? step : -step));
            Redraw();
        }
        return 0;
    case WM_TIMER:
        if (wParam != kBarsTimer)
            return SWnd::OnMessage(msg, wParam, lParam);
        UpdateScrollRanges();
        return 0;
    case WM_S_HSCROLLED:
        m_leftColumn = GetScrollPos(false);
        Redraw();
        return 0;
    case WM_S_VSCROLLED:
        m_topLine = GetScrollPos(true);
        Redraw();
        return 0;
    case SMENU_COMMAND:
        switch ((int)lParam)
        {
        case kMenuUndo: if (!m_readOnly) OnUndo(); break;
        case kMenuCut: if (!m_readOnly) OnCut(); break;
        case kMenuCopy: OnCopy(); break;
        case kMenuPaste: if (!m_readOnly) OnPaste(); break;
        case kMenuDelete: if (!m_readOnly) OnDelete(); break;
        case kMenuSelectAll: OnSelectAll(); break;
        default: break;
        }
        return 0;
    default:
        return SWnd::OnMessage(msg, wParam, lParam);
    }
}

// --- keys ---

void SCodeEditCtrl::MoveCaretTo(int line, int column, bool extend)
{
    int anchorLine = -1, anchorColumn = -1;
    if (extend)
        m_text.GetCaret(&anchorLine, &anchorColumn, true);
    m_text.SetSelectionRaw(line, column, anchorLine, anchorColumn, -1);
}

void SCodeEditCtrl::TabLines(bool remove)
{
    int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    m_text.GetSelection(&startLine, &startColumn, &endLine, &endColumn);
    if (endColumn == 0 && endLine > startLine)
        endLine--;
    int count = endLine - startLine + 1;
    m_text.AddUndo(startLine, count, count - 1);
    m_text.IndentLines(startLine, endLine, remove);
    if (endLine + 1 < m_text.GetLineCount())
        m_text.SetSelectionRaw(endLine + 1, 0, startLine, 0, 1);
    else
        m_text.SetSelectionRaw(endLine, m_text.GetLineLength(endLine, true), startLine, 0, 1);
    Notify();
}

void SCodeEditCtrl::HandleKey(int key)
{
    if (!m_text.IsOpen())
        return;
    bool shift = KeyDown(VK_SHIFT), ctrl = KeyDown(VK_CONTROL);
    if (!OnKeyHook(key, shift, ctrl) || !m_text.HasCaret())
        return;
    int caretLine = 0, caretColumn = 0;
    m_text.GetCaret(&caretLine, &caretColumn);
    int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    m_text.GetSelection(&startLine, &startColumn, &endLine, &endColumn);
    bool selection = m_text.HasSelection();
    int count = m_text.GetLineCount();
    // Moves without Shift start from the selection's side that faces the move.
    int upLine = shift ? caretLine : startLine, upColumn = shift ? caretColumn : startColumn;
    int downLine = shift ? caretLine : endLine, downColumn = shift ? caretColumn : endColumn;
    bool moved = true;
    switch (key)
    {
    case VK_BACK:
        moved = false;
        if (m_readOnly)
            break;
        RecordSelectedLines(0, !selection && caretColumn == 0 ? 1 : 0);
        if (DeleteBackward())
            Notify();
        else
            m_text.DropLastUndo();
        break;
    case VK_TAB:
        moved = false;
        if (m_readOnly)
            break;
        if (m_text.SelectionSpansLines())
        {
            TabLines(shift);
            break;
        }
        RecordSelectedLines(0);
        if (InsertText("\t"))
            Notify();
        else
            m_text.DropLastUndo();
        break;
    case VK_RETURN:
        moved = false;
        if (ctrl && m_brMode && !m_readOnly && !shift)
        {
            RecordSelectedLines(0);
            if (InsertText("<br>"))
                Notify();
            else
                m_text.DropLastUndo();
            HandleChar('\r');
        }
        break;
    case VK_PRIOR:
    case VK_NEXT:
    {
        if (ctrl)
        {
            moved = false;
            break;
        }
        bool up = key == VK_PRIOR;
        int fromLine = up ? upLine : downLine, fromColumn = up ? upColumn : downColumn;
        int rows = m_fullRows > 0 ? m_fullRows : 1;
        int target = up ? fromLine - rows : fromLine + rows;
        if (target < 0)
            target = 0;
        if (target > count - 1)
            target = count - 1;
        int visual = m_text.GetVisualColumn(fromLine, fromColumn);
        MoveCaretTo(target, m_text.GetColumnFromVisual(target, visual), shift);
        // The view follows by a page, so that paging runs through the text a page at a time.
        SetTopLine(m_topLine + (up ? -rows : rows));
        break;
    }
    case VK_UP:
    case VK_DOWN:
    {
        bool up = key == VK_UP;
        if (ctrl)
        {
            moved = false;
            SetTopLine(m_topLine + (up ? -1 : 1));
            Redraw();
            break;
        }
        int fromLine = up ? upLine : downLine, fromColumn = up ? upColumn : downColumn;
        int target = fromLine + (up ? -1 : 1);
        if (target < 0 || target >= count)
            target = fromLine;
        int visual = m_text.GetVisualColumn(fromLine, fromColumn);
        MoveCaretTo(target, target == fromLine ? fromColumn : m_text.GetColumnFromVisual(target, visual), shift);
        break;
    }
    case VK_END:
        if (ctrl)
            MoveCaretTo(count - 1, m_text.GetLineLength(count - 1, true), shift);
        else if (shift)
            MoveCaretTo(caretLine, m_text.GetLineLength(caretLine, true), true);
        else
            MoveCaretTo(endLine, m_text.GetLineLength(endLine, true), false);
        break;
    case VK_HOME:
        if (ctrl)
            MoveCaretTo(0, 0, shift);
        else
        {
            const SString* text = m_text.GetLineText(caretLine);
            int first = 0;
            while (text && first < text->GetLength() && (*text)[first] == '\t')
                first++;
            int column = m_text.SelectionSpansLines() || caretColumn == first ? 0 : first;
            MoveCaretTo(caretLine, column, shift);
        }
        break;
    case VK_LEFT:
    case VK_RIGHT:
    {
        bool left = key == VK_LEFT;
        if (!shift && selection)
        {
            if (left)
                MoveCaretTo(startLine, startColumn, false);
            else
                MoveCaretTo(endLine, endColumn, false);
            break;
        }
        int line = caretLine, column = caretColumn;
        if (ctrl)
        {
            const SString* text = m_text.GetLineText(line);
            int length = text ? text->GetLength() : 0;
            if (left && column == 0 && line > 0)
                m_text.MoveBy(line, column, -1, &line, &column);
            else if (!left && column >= length && line + 1 < count)
                m_text.MoveBy(line, column, 1, &line, &column);
            else
            {
                int start = -1, end = -1;
                const char* chars = *m_text.GetLineText(line);
                if (left)
                {
                    SCodeEditText::WordBounds(chars, column - 1, &start, &end);
                    column = start;
                }
                else
                {
                    start = column;
                    SCodeEditText::WordBounds(chars, column, &start, &end);
                    column = end;
                }
            }
        }
        else
            m_text.MoveBy(line, column, left ? -1 : 1, &line, &column);
        MoveCaretTo(line, column, shift);
        break;
    }
    case 'Y':
    case 'U':
        moved = false;
        if (ctrl && !shift && !m_readOnly)
        {
            if (key == 'Y')
                CommentLines();
            else
                UncommentLines();
        }
        break;
    case VK_DELETE:
        moved = false;
        // Delete alone comes through the shortcut; with Shift it removes the caret line.
        if (shift && !ctrl)
            OnDelete();
        break;
    case VK_F3:
        moved = false;
        FindNext();
        break;
    default:
        moved = false;
        break;
    }
    if (moved)
    {
        m_scrollRequest |= 1;
        Redraw();
    }
    OnKeyDone(key, shift, ctrl);
}

void SCodeEditCtrl::HandleChar(int ch)
{
    if (!m_text.IsOpen() || !AcceptChar(ch) || m_readOnly)
        return;
    bool alphanumeric = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
    if (!alphanumeric)
    {
        if (ch == '\r')
        {
            if (m_text.IsSingleLine())
                return;
            if (!RecordSelectedLines(1))
                return;
            SString text("\r\n");
            if (m_autoIndent)
            {
                int line = 0, column = 0;
                m_text.GetSelection(&line, &column, nullptr, nullptr);
                const SString* source = m_text.GetLineText(line);
                for (int i = 0; source && i < column && (*source)[i] == '\t'; i++)
                    text.AppendChar('\t');
            }
            if (!InsertText(text))
            {
                m_text.DropLastUndo();
                return;
            }
            OnCharTyped(ch);
            Notify();
            return;
        }
        if (ch < 31 || (ch == ' ' && KeyDown(VK_CONTROL)))
            return;
    }
    if (!RecordSelectedLines(0))
        return;
    if (!InsertChar((char)ch))
    {
        m_text.DropLastUndo();
        return;
    }
    OnCharTyped(ch);
    Notify();
}

// --- mouse ---

void SCodeEditCtrl::MouseSelect(int x, int y, bool drag)
{
    int line = 0, column = 0;
    if (!HitTest(x, y, true, &line, &column))
        return;
    // The column moves on when the pointer is in the right half of the cell.
    const SString* text = m_text.GetLineText(line);
    if (text && column < text->GetLength())
    {
        int left = PositionToPixels(line, column).x;
        int right = PositionToPixels(line, column + 1).x;
        if (x >= (left + right) / 2)
            column++;
    }
    if (KeyDown(VK_SHIFT) && m_text.HasSelection())
    {
        int startLine = 0, startColumn = 0;
        m_text.GetSelection(&startLine, &startColumn, nullptr, nullptr);
        m_text.SetSelectionRaw(line, column, startLine, startColumn, -1);
    }
    else
        m_text.SetSelectionRaw(line, column, -1, -1, 0);
    m_scrollRequest |= 1;
    Redraw();
    if (drag)
    {
        int anchorLine = 0, anchorColumn = 0;
        m_text.GetCaret(&anchorLine, &anchorColumn, true);
        TrackDrag(false, anchorLine, anchorColumn);
    }
}

void SCodeEditCtrl::BarSelect(int y)
{
    int line = m_topLine + (m_lineHeight > 0 ? y / m_lineHeight : 0);
    int count = m_text.GetLineCount();
    if (line >= count)
        line = count - 1;
    m_text.SetSelectionRaw(line, m_text.GetLineLength(line, true), line, 0, 1);
    m_scrollRequest |= 1;
    Redraw();
    TrackDrag(true, line, 0);
}

void SCodeEditCtrl::TrackDrag(bool bar, int anchorLine, int anchorColumn)
{
    HWND handle = GetHandle();
    if (!handle)
        return;
    ::SetCapture(handle);
    double top = m_topLine, left = m_leftColumn;
    DWORD last = timeGetTime();
    // Polled while the button is down: the pointer drives the caret and the automatic scroll.
    while (GetAsyncKeyState(VK_LBUTTON) < 0 && IsWindow(handle) && GetCapture() == handle)
    {
        FlushInputMessages();
        DWORD now = timeGetTime();
        double elapsed = (double)(now - last);
        last = now;
        POINT point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        double maxTop = m_text.GetLineCount() - m_visibleRows + 1;
        double maxLeft = m_text.GetMaxLineLength(false) - m_visibleColumns + 1;
        if (point.y < m_textRect.top)
            top -= elapsed * DragSpeed(m_textRect.top - point.y, true);
        else if (point.y >= m_textRect.bottom)
            top += elapsed * DragSpeed(point.y - m_textRect.bottom, true);
        if (!bar && point.x < m_textRect.left)
            left -= elapsed * DragSpeed(0, false);
        else if (!bar && point.x >= m_textRect.right)
            left += elapsed * DragSpeed(0, false);
        top = top > maxTop ? maxTop : top;
        top = top < 0 ? 0 : top;
        left = left > maxLeft ? maxLeft : left;
        left = left < 0 ? 0 : left;
        bool changed = SRound::Truncate(top) != m_topLine || SRound::Truncate(left) != m_leftColumn;
        SetTopLine(SRound::Truncate(top));
        SetLeftColumn(SRound::Truncate(left));
        int x = point.x < m_textRect.left ? m_textRect.left : point.x >= m_textRect.right ? m_textRect.right - 1 : point.x;
        int y = point.y < m_textRect.top ? m_textRect.top : point.y >= m_textRect.bottom ? m_textRect.bottom - 1 : point.y;
        int line = 0, column = 0;
        if (HitTest(x, y, true, &line, &column))
        {
            if (bar)
            {
                if (line >= anchorLine)
                    changed |= m_text.SetSelectionRaw(line, m_text.GetLineLength(line, true), anchorLine, 0, 1);
                else
                    changed |= m_text.SetSelectionRaw(line, 0, anchorLine, m_text.GetLineLength(anchorLine, true), 0);
            }
            else
            {
                const SString* text = m_text.GetLineText(line);
                if (text && column < text->GetLength() &&
                    x >= (PositionToPixels(line, column).x + PositionToPixels(line, column + 1).x) / 2)
                    column++;
                changed |= m_text.SetSelectionRaw(line, column, anchorLine, anchorColumn, -1);
            }
        }
        if (changed)
        {
            Redraw();
            // Nothing is dispatched while the button is down: the bars follow here.
            UpdateScrollRanges();
        }
        Sleep(10);
    }
    if (GetCapture() == handle)
        ReleaseCapture();
}

void SCodeEditCtrl::DoubleClick(int x, int y)
{
    int line = 0, column = 0;
    if (!m_text.IsOpen() || !HitTest(x, y, true, &line, &column))
        return;
    int start = -1, end = -1;
    SCodeEditText::WordBounds(*m_text.GetLineText(line), column, &start, &end);
    m_text.SetSelectionRaw(line, end, line, start, -1);
    Redraw();
}

void SCodeEditCtrl::RightButtonDown(int x, int y)
{
    SetFocus();
    int line = 0, column = 0;
    if (!m_text.IsOpen() || !HitTest(x, y, true, &line, &column))
        return;
    if (m_text.IsInSelection(line, column))
        return;
    MouseSelect(x, y, false);
}
