// The mouse side of the designer window: handles, hit testing, selection by
// click and rubber band, the modal move and resize drags and placement.
#include "SDialogEditor.h"

namespace
{

// Handle squares stand this far outside the record's rectangle.
const int kHandleSize = 6;
// A resize keeps every side at least this long.
const int kMinDragSize = 10;
// Longest wait for input in a drag loop: the release is noticed even without a message.
const DWORD kDragWait = 15;
// Messages dispatched per poll of a drag loop, so that a window that keeps asking to be
// painted cannot hold the loop.
const int kDragMessages = 64;
// A drop-down combo box is hit only in its edit part.
const int kComboHitHeight = 24;

enum DragMode
{
    DRAG_BAND,
    DRAG_MOVE,
    DRAG_RESIZE
};

SDesignerInput g_realInput;
SDesignerInput* g_input = &g_realInput;

// Truncating round-down to a step, as positions are snapped.
int SnapDown(int value, int step)
{
    return step > 1 ? value - value % step : value;
}

LPCSTR HandleCursor(int handle)
{
    switch (handle)
    {
    case 0:
    case 7: return IDC_SIZENWSE;
    case 1:
    case 6: return IDC_SIZENS;
    case 2:
    case 5: return IDC_SIZENESW;
    default: return IDC_SIZEWE;
    }
}

bool SameRects(const SArray<RECT>& first, const SArray<RECT>& second)
{
    if (first.GetCount() != second.GetCount())
        return false;
    for (int i = 0; i < first.GetCount(); i++)
    {
        RECT one = first.GetAt(i), other = second.GetAt(i);
        if (!EqualRect(&one, &other))
            return false;
    }
    return true;
}

void DrawOutlines(HDC dc, const SArray<RECT>& outlines)
{
    for (int i = 0; i < outlines.GetCount(); i++)
    {
        RECT rect = outlines.GetAt(i);
        Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
}

bool IsEscapeMessage(const MSG& message)
{
    return (message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR) &&
           (message.wParam == VK_ESCAPE || (message.message == WM_CHAR && message.wParam == 27));
}

} // namespace

SDesignerInput::~SDesignerInput() {}

bool SDesignerInput::IsKeyDown(int key)
{
    return GetAsyncKeyState(key) < 0;
}

POINT SDesignerInput::GetCursorPos()
{
    POINT point = {0, 0};
    ::GetCursorPos(&point);
    return point;
}

void SDesignerInput::WaitForInput(DWORD milliseconds)
{
    // Marks the queued input as seen, so that only new input ends the wait.
    GetQueueStatus(QS_INPUT);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_INPUT);
}

SDesignerInput* SDialogEditor::SetInput(SDesignerInput* input)
{
    SDesignerInput* previous = g_input == &g_realInput ? nullptr : g_input;
    g_input = input ? input : &g_realInput;
    return previous;
}

SDesignerInput* SDialogEditor::GetInput()
{
    return g_input;
}

void SDialogEditor::_SCtrl::GetHandleRect(int index, RECT* rect, const RECT* bounds) const
{
    if (!rect)
        return;
    RECT own;
    GetRect(&own);
    const RECT& r = bounds ? *bounds : own;
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = r.left - kHandleSize, y = r.top - kHandleSize;
    switch (index)
    {
    case 0: break;
    case 1: x = r.left + width / 2 - kHandleSize / 2; break;
    case 2: x = r.right; break;
    case 3: y = r.top + height / 2 - kHandleSize / 2; break;
    case 4: x = r.right; y = r.top + height / 2 - kHandleSize / 2; break;
    case 5: y = r.bottom; break;
    case 6: x = r.left + width / 2 - kHandleSize / 2; y = r.bottom; break;
    case 7: x = r.right; y = r.bottom; break;
    default: SetRectEmpty(rect); return;
    }
    SetRect(rect, x, y, x + kHandleSize, y + kHandleSize);
}

void SDialogEditor::GetRecordRect(const _SCtrl* record, RECT* rect)
{
    if (!rect)
        return;
    if (!record)
    {
        SetRectEmpty(rect);
        return;
    }
    // The built dialog places its controls in its own client area, so the
    // dialog record is drawn at the design origin whatever position it stores.
    if (record->IsDialog())
        SetRect(rect, 0, 0, record->GetWidth(), record->GetHeight());
    else
        record->GetRect(rect);
}

void SDialogEditor::GetClientHandleRect(const _SCtrl* record, int index, RECT* rect) const
{
    if (!rect)
        return;
    RECT bounds;
    GetRecordRect(record, &bounds);
    DesignToClient(&bounds);
    if (record)
        record->GetHandleRect(index, rect, &bounds);
    else
        SetRectEmpty(rect);
}

int SDialogEditor::HitTestHandle(POINT point) const
{
    _SCtrl* primary = GetPrimary();
    if (!primary)
        return -1;
    for (int i = 0; i < 8; i++)
    {
        RECT handle;
        GetClientHandleRect(primary, i, &handle);
        if (PtInRect(&handle, point))
            return i;
    }
    return -1;
}

SDialogEditor::_SCtrl* SDialogEditor::HitTest(POINT point) const
{
    POINT design = point;
    ClientToDesign(&design);
    SArray<_SCtrl*> hidden;
    GetHiddenControls(&hidden);
    for (int i = m_controls.GetCount() - 1; i >= 0; i--)
    {
        _SCtrl* record = m_controls.GetAt(i);
        bool isHidden = false;
        for (int h = 0; h < hidden.GetCount() && !isHidden; h++)
            isHidden = hidden.GetAt(h) == record;
        if (isHidden)
            continue;
        RECT rect;
        record->GetRect(&rect);
        if (!PtInRect(&rect, design))
            continue;
        if (record->GetType() == TYPE_COMBO)
        {
            uint32_t comboType = record->GetStyle() & 3;
            if (comboType == CBS_DROPDOWN || comboType == CBS_DROPDOWNLIST)
            {
                int height = record->GetHeight() < kComboHitHeight ? record->GetHeight() : kComboHitHeight;
                if (design.y >= rect.top + height)
                    continue;
            }
        }
        else if (record->GetType() == TYPE_GROUP)
        {
            // A group box is hit on its frame; its inner part belongs to the controls below.
            RECT inner = {rect.left + 10, rect.top + 20, rect.right - 10, rect.bottom - 10};
            if (inner.right < inner.left)
                inner.right = inner.left;
            if (inner.bottom < inner.top)
                inner.bottom = inner.top;
            if (PtInRect(&inner, design))
                continue;
        }
        return record;
    }
    if (m_dialog)
    {
        RECT rect;
        GetRecordRect(m_dialog, &rect);
        if (PtInRect(&rect, design))
            return m_dialog;
    }
    return nullptr;
}

void SDialogEditor::OnMouseMove(POINT point)
{
    // A drag draws its own indicators and keeps its cursor.
    if (!m_open || !GetHandle() || m_dragging)
        return;
    UpdateLayout();
    if (m_rulers)
    {
        HDC dc = GetDC();
        if (dc)
        {
            DrawRulerIndicators(dc, &point, nullptr);
            ReleaseDC(dc);
        }
    }
    if (m_insertTool != -1)
        return;
    int handle = HitTestHandle(point);
    SetCursor(handle >= 0 ? LoadCursor(nullptr, HandleCursor(handle)) : nullptr);
}

void SDialogEditor::OnLeftButtonDown(POINT point)
{
    if (!m_open || !GetHandle() || m_dragging)
        return;
    SetFocus();
    UpdateLayout();
    if (!PtInRect(&m_designArea, point))
        return;
    if (m_insertTool == TYPE_EXTERN)
    {
        SetInsertTool(-1);
        PressSelectionTool();
        if (m_externCount == 0)
        {
            ShowNoExternError();
            return;
        }
        m_externPoint = point;
        POINT screen = point;
        ClientToScreen(&screen);
        GetInput()->TrackMenu(&m_externMenu, this, screen);
        return;
    }
    if (m_insertTool != -1)
    {
        PlaceControl(m_insertTool, point);
        return;
    }
    bool ctrlDown = IsCtrlDown();
    _SCtrl* primary = GetPrimary();
    int handle = HitTestHandle(point);
    if (primary && handle >= 0)
    {
        if (m_selection.GetCount() > 1)
        {
            m_selection.RemoveAll();
            m_selection.Add(primary);
            OnSelectionChanged(primary, primary);
        }
        RedrawDesigner();
        ResizeDrag(point, handle);
        return;
    }
    _SCtrl* hit = HitTest(point);
    if (!hit || hit == m_dialog)
    {
        m_selection.RemoveAll();
        if (m_dialog)
            m_selection.Add(m_dialog);
        RedrawDesigner();
        OnSelectionChanged(primary, GetPrimary());
        RubberBandSelect(point);
        return;
    }
    int count = m_selection.GetCount();
    if (IsSelected(hit) && ctrlDown)
    {
        Deselect(hit);
        RedrawDesigner();
        OnSelectionChanged(primary, GetPrimary());
        return;
    }
    if (IsSelected(hit))
        MakePrimary(hit);
    else if (!ctrlDown)
    {
        m_selection.RemoveAll();
        m_selection.Add(hit);
    }
    else
    {
        if (IsDialogSelected())
            m_selection.RemoveAll();
        AddToSelection(hit);
        MakePrimary(hit);
    }
    RedrawDesigner();
    if (GetPrimary() != primary || m_selection.GetCount() != count)
        OnSelectionChanged(primary, GetPrimary());
    MoveDrag(point);
}

void SDialogEditor::OnRightButtonDown(POINT point)
{
    if (!m_open || !GetHandle() || m_dragging)
        return;
    SetFocus();
    UpdateLayout();
    if (!PtInRect(&m_designArea, point))
        return;
    _SCtrl* hit = HitTest(point);
    if (!hit)
        hit = m_dialog;
    _SCtrl* primary = GetPrimary();
    int count = m_selection.GetCount();
    if (hit && IsSelected(hit))
        MakePrimary(hit);
    else if (hit)
    {
        m_selection.RemoveAll();
        m_selection.Add(hit);
    }
    RedrawDesigner();
    if (GetPrimary() != primary || m_selection.GetCount() != count)
        OnSelectionChanged(primary, GetPrimary());
    ShowPopupMenu(point);
}

SDialogEditor::_SCtrl* SDialogEditor::PlaceControl(int type, POINT point)
{
    if (type < 1 || type >= TypeCount)
        return nullptr;
    POINT design = point;
    ClientToDesign(&design);
    PushUndo();
    _SCtrl source;
    source.SetType(type);
    source.SetX(SnapDown(design.x, GetStepX(false)));
    source.SetY(SnapDown(design.y, GetStepY(false)));
    _SCtrl* record = AddControl(true, &source, false, false);
    if (!record)
    {
        PopUndo();
        return nullptr;
    }
    SetInsertTool(-1);
    PressSelectionTool();
    RedrawDesigner();
    NotifyChanged();
    return record;
}

bool SDialogEditor::AddExternControl(const char* name, const char* fileName)
{
    // Commands 100 to 199 name the external controls.
    if (m_externCount >= 100)
        return false;
    if (!m_externMenu.GetHandle() && !m_externMenu.CreatePopup(GetHandle()))
        return false;
    int command = 100 + m_externCount;
    if (!m_externMenu.InsertItem(command, name ? name : ""))
        return false;
    m_externMenu.SetItemCaption(command, fileName ? fileName : "");
    m_externCount++;
    return true;
}

bool SDialogEditor::InsertExternControl(int command)
{
    if (command < 100 || command > 199 || m_externMenu.FindPosition(command) < 0)
        return false;
    SString name = m_externMenu.GetMenuItemText(command);
    SString fileName = m_externMenu.GetItemText(command);
    POINT design = m_externPoint;
    UpdateLayout();
    ClientToDesign(&design);
    PushUndo();
    _SCtrl source;
    source.SetType(TYPE_EXTERN);
    source.SetX(SnapDown(design.x, GetStepX(false)));
    source.SetY(SnapDown(design.y, GetStepY(false)));
    source.SetProperty("EXTERN_NAME", name);
    source.SetProperty("EXTERN_FILENAME", fileName);
    if (!AddControl(true, &source, false, false))
    {
        PopUndo();
        return false;
    }
    RedrawDesigner();
    NotifyChanged();
    return true;
}

// --- drags ---

void SDialogEditor::ComputeDragOutlines(int mode, int handle, POINT start, POINT pointer, bool ctrlDown,
                                        SArray<RECT>* outlines) const
{
    outlines->RemoveAll();
    if (mode == DRAG_BAND)
    {
        RECT band = {start.x < pointer.x ? start.x : pointer.x, start.y < pointer.y ? start.y : pointer.y,
                     start.x > pointer.x ? start.x : pointer.x, start.y > pointer.y ? start.y : pointer.y};
        RECT clipped;
        if (!IntersectRect(&clipped, &band, &m_designArea))
            SetRectEmpty(&clipped);
        outlines->Add(clipped);
        return;
    }
    int dx = pointer.x - start.x, dy = pointer.y - start.y;
    int stepX = GetStepX(ctrlDown), stepY = GetStepY(ctrlDown);
    if (mode == DRAG_MOVE)
    {
        // No outline may stand left of or above the design area.
        int minX = GetHScrollPos(), minY = GetVScrollPos();
        for (int i = 0; i < m_selection.GetCount(); i++)
        {
            RECT rect;
            GetRecordRect(m_selection.GetAt(i), &rect);
            int width = rect.right - rect.left, height = rect.bottom - rect.top;
            int x = SnapDown(rect.left + dx, stepX), y = SnapDown(rect.top + dy, stepY);
            x = x < minX ? minX : x;
            y = y < minY ? minY : y;
            RECT outline = {x, y, x + width, y + height};
            DesignToClient(&outline);
            outlines->Add(outline);
        }
        return;
    }
    _SCtrl* record = GetPrimary();
    if (!record)
        return;
    RECT begin;
    GetRecordRect(record, &begin);
    RECT edges = begin;
    bool moveLeft = handle == 0 || handle == 3 || handle == 5;
    bool moveRight = handle == 2 || handle == 4 || handle == 7;
    bool moveTop = handle == 0 || handle == 1 || handle == 2;
    bool moveBottom = handle == 5 || handle == 6 || handle == 7;
    if (moveLeft)
        edges.left += dx;
    if (moveRight)
        edges.right += dx;
    if (moveTop)
        edges.top += dy;
    if (moveBottom)
        edges.bottom += dy;
    edges.left = SnapDown(edges.left, stepX);
    edges.right = SnapDown(edges.right, stepX);
    edges.top = SnapDown(edges.top, stepY);
    edges.bottom = SnapDown(edges.bottom, stepY);
    if (edges.right < begin.left + kMinDragSize)
        edges.right = begin.left + kMinDragSize;
    if (edges.bottom < begin.top + kMinDragSize)
        edges.bottom = begin.top + kMinDragSize;
    if (edges.left > begin.right - kMinDragSize)
        edges.left = begin.right - kMinDragSize;
    if (edges.top > begin.bottom - kMinDragSize)
        edges.top = begin.bottom - kMinDragSize;
    DesignToClient(&edges);
    outlines->Add(edges);
}

bool SDialogEditor::RunDragLoop(POINT start, int mode, int handle, SArray<RECT>* result)
{
    HDC dc = GetDC();
    if (!dc)
        return false;
    HPEN pen = CreatePen(PS_DOT, 0, RGB(0, 0, 0));
    int oldMode = SetROP2(dc, R2_NOTXORPEN);
    HGDIOBJ oldPen = SelectObject(dc, pen ? (HGDIOBJ)pen : GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    SDesignerInput* input = GetInput();
    m_dragging = true;
    SArray<RECT> shown;
    bool drawn = false, moved = false, cancelled = false;
    POINT pointer = start;
    for (;;)
    {
        if (input->IsKeyDown(VK_ESCAPE))
        {
            cancelled = true;
            break;
        }
        if (!input->IsKeyDown(VK_LBUTTON))
            break;
        pointer = input->GetCursorPos();
        ScreenToClient(&pointer);
        if (pointer.x != start.x || pointer.y != start.y)
            moved = true;
        if (moved)
        {
            SArray<RECT> outlines;
            ComputeDragOutlines(mode, handle, start, pointer, IsCtrlDown(), &outlines);
            // A repaint during the loop has wiped what was drawn.
            if (drawn && m_paintCount != m_dragPaintCount)
                drawn = false;
            if (!drawn || !SameRects(outlines, shown))
            {
                if (drawn)
                    DrawOutlines(dc, shown);
                DrawOutlines(dc, outlines);
                shown.RemoveAll();
                for (int i = 0; i < outlines.GetCount(); i++)
                    shown.Add(outlines.GetAt(i));
                drawn = true;
                m_dragPaintCount = m_paintCount;
            }
            if (m_rulers)
                DrawRulerIndicators(dc, &pointer, nullptr);
        }
        MSG message;
        for (int i = 0; i < kDragMessages && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); i++)
        {
            // Escape ends the drag here; as a key it would also clear the selection.
            if (IsEscapeMessage(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!GetHandle())
        {
            cancelled = true;
            break;
        }
        input->WaitForInput(kDragWait);
    }
    if (GetHandle())
    {
        if (drawn && m_paintCount == m_dragPaintCount)
            DrawOutlines(dc, shown);
        if (!cancelled)
        {
            // The outline at release, with the pointer and Ctrl as they are now.
            POINT last = input->GetCursorPos();
            ScreenToClient(&last);
            if (last.x != start.x || last.y != start.y)
                moved = true;
            if (moved)
                ComputeDragOutlines(mode, handle, start, last, IsCtrlDown(), result);
        }
    }
    m_dragging = false;
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SetROP2(dc, oldMode);
    if (pen)
        DeleteObject(pen);
    ReleaseDC(dc);
    return !cancelled && moved && GetHandle();
}

bool SDialogEditor::RubberBandSelect(POINT start)
{
    _SCtrl* previous = GetPrimary();
    SArray<RECT> outlines;
    if (!RunDragLoop(start, DRAG_BAND, -1, &outlines) || outlines.GetCount() != 1)
    {
        RedrawDesigner();
        return false;
    }
    RECT band = outlines.GetAt(0);
    ClientToDesign(&band);
    SArray<_SCtrl*> hidden;
    GetHiddenControls(&hidden);
    m_selection.RemoveAll();
    for (int i = 0; i < m_controls.GetCount(); i++)
    {
        _SCtrl* record = m_controls.GetAt(i);
        bool isHidden = false;
        for (int h = 0; h < hidden.GetCount() && !isHidden; h++)
            isHidden = hidden.GetAt(h) == record;
        POINT topLeft = {record->GetX(), record->GetY()};
        POINT bottomRight = {record->GetRight(), record->GetBottom()};
        if (!isHidden && PtInRect(&band, topLeft) && PtInRect(&band, bottomRight))
            m_selection.Add(record);
    }
    if (m_selection.GetCount() == 0 && previous && previous == m_dialog)
        m_selection.Add(m_dialog);
    RedrawDesigner();
    OnSelectionChanged(previous, GetPrimary());
    return true;
}

bool SDialogEditor::MoveDrag(POINT start)
{
    _SCtrl* primary = GetPrimary();
    if (!primary || primary == m_dialog || IsSelectionLocked())
        return false;
    SArray<RECT> outlines;
    if (!RunDragLoop(start, DRAG_MOVE, -1, &outlines) || outlines.GetCount() != m_selection.GetCount())
    {
        RedrawDesigner();
        return false;
    }
    bool changed = false;
    for (int i = 0; i < outlines.GetCount(); i++)
    {
        RECT rect = outlines.GetAt(i);
        ClientToDesign(&rect);
        _SCtrl* record = m_selection.GetAt(i);
        changed = changed || rect.left != record->GetX() || rect.top != record->GetY();
    }
    // Released where it started: nothing to record.
    if (!changed)
    {
        RedrawDesigner();
        return false;
    }
    PushUndo();
    for (int i = 0; i < outlines.GetCount(); i++)
    {
        RECT rect = outlines.GetAt(i);
        ClientToDesign(&rect);
        m_selection.GetAt(i)->SetX(rect.left);
        m_selection.GetAt(i)->SetY(rect.top);
    }
    RedrawDesigner();
    NotifyChanged();
    UpdatePropertySheet();
    return true;
}

bool SDialogEditor::ResizeDrag(POINT start, int handle)
{
    if (m_selection.GetCount() != 1 || handle < 0 || handle > 7 || IsSelectionLocked())
        return false;
    SetCursor(LoadCursor(nullptr, HandleCursor(handle)));
    SArray<RECT> outlines;
    if (!RunDragLoop(start, DRAG_RESIZE, handle, &outlines) || outlines.GetCount() != 1)
    {
        RedrawDesigner();
        return false;
    }
    _SCtrl* record = GetPrimary();
    RECT rect = outlines.GetAt(0);
    ClientToDesign(&rect);
    RECT before;
    GetRecordRect(record, &before);
    if (EqualRect(&rect, &before))
    {
        RedrawDesigner();
        return false;
    }
    PushUndo();
    // The dialog record stays at the design origin; only its size follows the outline.
    if (!record->IsDialog())
    {
        record->SetX(rect.left);
        record->SetY(rect.top);
    }
    record->SetWidth(rect.right - rect.left);
    record->SetHeight(rect.bottom - rect.top);
    if (record->GetWnd())
        record->GetWnd()->SetWindowSize(record->GetWidth(), record->GetHeight());
    RedrawDesigner();
    NotifyChanged();
    UpdatePropertySheet();
    return true;
}
