// The designer window of SDialogEditor: selection list, coordinates and
// layout, keys, commands and the window procedure.
#include "SDialogEditor.h"

#include <stdlib.h>

#include "SDraw.h"

namespace
{

// Width of the ruler bands.
const int kRulerSize = 22;
// Fixed scroll range of the design area, with its steps.
const int kScrollMax = 2000;
const int kScrollLine = 5;
const int kScrollPage = 50;
// Edit commands of the designer's shortcut keys: Undo, Cut, Copy, Paste, Delete, Select All, Escape.
const int kShortcutMask = 0x43F;
// Arrow-key resizing never takes a side below this.
const int kMinKeySize = 10;

SDialogEditor::PropertySheetUpdater g_sheetUpdater = nullptr;

} // namespace

int SDialogEditor::ClampCoordinate(int value)
{
    return value < -32768 ? -32768 : (value > 32767 ? 32767 : value);
}

void SDialogEditor::ReadNumbers(const char* text, SArray<int>* numbers)
{
    const char* at = text;
    while (at && *at)
    {
        char* end = nullptr;
        long value = strtol(at, &end, 10);
        if (end == at)
        {
            at++;
            continue;
        }
        numbers->Add((int)value);
        at = end;
    }
}

SDialogEditor::PropertySheetUpdater SDialogEditor::SetPropertySheetUpdater(PropertySheetUpdater updater)
{
    PropertySheetUpdater previous = g_sheetUpdater;
    g_sheetUpdater = updater;
    return previous;
}

void SDialogEditor::UpdatePropertySheet(const char* group, const char* key, const char* value)
{
    if (g_sheetUpdater)
        g_sheetUpdater(this, group, key, value);
}

// --- set-up ---

void SDialogEditor::InitDesigner()
{
    UpdateLayout();
    SetDefaultColors();
    m_gridWidth = 5;
    m_gridHeight = 5;
    m_snapToGrid = true;
    m_rulers = true;
    m_gridVisible = true;
}

void SDialogEditor::ResetDesigner()
{
    m_insertTool = -1;
    if (GetHandle())
        SetCursor(nullptr);
    PressSelectionTool();
    if (GetHandle())
    {
        SetScrollInfo(false, 0, kScrollMax, GetClientWidth(), false);
        SetScrollInfo(true, 0, kScrollMax, GetClientHeight(), false);
    }
    m_rulerMarkX = -1;
    m_rulerMarkY = -1;
    SetEditorFont(nullptr, 0);
    m_designImage.Dispose();
    m_designImage.SetBackColor(SCOLOR_NONE);
    m_designImageName.Empty();
}

void SDialogEditor::ReleaseDesigner()
{
    delete m_toolPanel;
    m_toolPanel = nullptr;
    HGDIOBJ objects[] = {m_workspaceBrush, m_rulerBackBrush, m_selectBrush, m_selectGrayBrush, m_hatchBrush,
                         m_rulerFont, m_editorFont};
    for (HGDIOBJ object : objects)
        if (object)
            DeleteObject(object);
    m_workspaceBrush = m_rulerBackBrush = m_selectBrush = m_selectGrayBrush = m_hatchBrush = nullptr;
    m_rulerFont = m_editorFont = nullptr;
    ClearUndo();
    DeletePageMenus();
    m_externMenu.Destroy();
    m_popupMenu.Destroy();
}

void SDialogEditor::OnCreated()
{
    EnableShortcuts(kShortcutMask);
    SetBackColor(SCOLOR_NONE);
    SetScrollSteps(false, kScrollLine, kScrollPage, 0);
    SetScrollSteps(true, kScrollLine, kScrollPage, 0);
    SetScrollInfo(false, 0, kScrollMax, GetClientWidth(), false);
    SetScrollInfo(true, 0, kScrollMax, GetClientHeight(), false);
    if (!m_popupMenu.GetHandle())
        m_popupMenu.CreatePopup(GetHandle());
    if (!m_externMenu.GetHandle())
        m_externMenu.CreatePopup(GetHandle());
    Init(false);
}

void SDialogEditor::SetGrid(int width, int height)
{
    m_gridWidth = width < 1 ? 1 : width;
    m_gridHeight = height < 1 ? 1 : height;
}

void SDialogEditor::SetGridVisible(bool on)
{
    m_gridVisible = on;
    RedrawDesigner();
    if (m_toolPanel && m_toolPanel->GetHandle())
        m_toolPanel->SetButtonChecked(3, 0, on);
}

void SDialogEditor::SetSnapToGrid(bool on)
{
    m_snapToGrid = on;
    if (m_toolPanel && m_toolPanel->GetHandle())
        m_toolPanel->SetButtonChecked(3, 1, on);
}

void SDialogEditor::SetRulers(bool on)
{
    m_rulers = on;
    UpdateLayout();
}

bool SDialogEditor::SetInsertTool(int type)
{
    if (type == m_insertTool)
        return true;
    if (type >= 1 && type < TypeCount)
    {
        m_insertTool = type;
        SetCursor(LoadCursor(nullptr, IDC_CROSS));
        return true;
    }
    if (type == -1)
    {
        m_insertTool = -1;
        SetCursor(nullptr);
        return true;
    }
    return false;
}

void SDialogEditor::PressSelectionTool()
{
    if (m_toolPanel && m_toolPanel->GetHandle())
        m_toolPanel->CheckRadioButton(0, 0);
}

void SDialogEditor::SetEditorFont(const char* face, int size)
{
    if (m_editorFont)
        DeleteObject(m_editorFont);
    m_editorFont = face ? CreatePointFont(nullptr, face, size, 0) : nullptr;
}

HFONT SDialogEditor::GetEditorFont() const
{
    return m_editorFont ? m_editorFont : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

// --- selection ---

SDialogEditor::_SCtrl* SDialogEditor::GetSelected(int index) const
{
    if (index < 0 || index >= m_selection.GetCount())
        return nullptr;
    return m_selection.GetAt(index);
}

int SDialogEditor::GetSelectedIndex(const _SCtrl* record) const
{
    if (!record)
        return -1;
    for (int i = 0; i < m_selection.GetCount(); i++)
        if (m_selection.GetAt(i) == record)
            return i;
    return -1;
}

bool SDialogEditor::IsIDSelected(int id) const
{
    for (int i = 0; i < m_selection.GetCount(); i++)
        if (m_selection.GetAt(i)->GetID() == (int16_t)id)
            return true;
    return false;
}

bool SDialogEditor::IsDialogSelected() const
{
    return m_selection.GetCount() > 0 && m_dialog && m_selection.GetAt(0) == m_dialog;
}

bool SDialogEditor::AddToSelection(_SCtrl* record)
{
    if (!record || IsSelected(record))
        return false;
    m_selection.Add(record);
    return true;
}

bool SDialogEditor::Deselect(_SCtrl* record)
{
    int index = GetSelectedIndex(record);
    if (index < 0)
        return false;
    m_selection.RemoveAt(index);
    return true;
}

bool SDialogEditor::MakePrimary(_SCtrl* record)
{
    int index = GetSelectedIndex(record);
    if (index < 0 || record == m_dialog)
        return false;
    m_selection.SetAt(index, m_selection.GetAt(0));
    m_selection.SetAt(0, record);
    return true;
}

void SDialogEditor::Select(_SCtrl* record)
{
    _SCtrl* previous = GetPrimary();
    m_selection.RemoveAll();
    if (record)
        m_selection.Add(record);
    OnSelectionChanged(previous, GetPrimary());
}

bool SDialogEditor::IsSelectionLocked() const
{
    for (int i = 0; i < m_selection.GetCount(); i++)
        if (m_selection.GetAt(i)->IsLocked())
            return true;
    return false;
}

RECT SDialogEditor::GetSelectionBounds() const
{
    RECT bounds = {0, 0, 0, 0};
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        RECT rect;
        GetRecordRect(m_selection.GetAt(i), &rect);
        if (i == 0)
        {
            bounds = rect;
            continue;
        }
        bounds.left = rect.left < bounds.left ? rect.left : bounds.left;
        bounds.top = rect.top < bounds.top ? rect.top : bounds.top;
        bounds.right = rect.right > bounds.right ? rect.right : bounds.right;
        bounds.bottom = rect.bottom > bounds.bottom ? rect.bottom : bounds.bottom;
    }
    return bounds;
}

int SDialogEditor::GetControlIndex(const _SCtrl* record) const
{
    if (!record)
        return -1;
    for (int i = 0; i < m_controls.GetCount(); i++)
        if (m_controls.GetAt(i) == record)
            return i;
    return -1;
}

void SDialogEditor::GetHiddenControls(SArray<_SCtrl*>* hidden) const
{
    if (!hidden)
        return;
    struct TabPages
    {
        const _SCtrl* tab;
        int current;
        SArray<int> pairs;
    };
    SArray<TabPages*> tabs;
    for (int i = 0; i < m_controls.GetCount(); i++)
    {
        const _SCtrl* record = m_controls.GetAt(i);
        if (record->GetType() != TYPE_TAB)
            continue;
        TabPages* pages = new TabPages;
        pages->tab = record;
        pages->current = record->GetPropertyInt("TAB_SELECTION");
        ReadNumbers(record->GetProperty("TAB_CHILDREN_PRIVATE"), &pages->pairs);
        tabs.Add(pages);
    }
    for (int i = 0; i < m_controls.GetCount() && tabs.GetCount() > 0; i++)
    {
        _SCtrl* record = m_controls.GetAt(i);
        bool listed = false, shown = false;
        for (int t = 0; t < tabs.GetCount() && !shown; t++)
        {
            const TabPages* pages = tabs.GetAt(t);
            if (pages->tab == record)
                continue;
            // Pairs of a page index and a control ID; a lone number at the end is no pair.
            for (int p = 0; p + 1 < pages->pairs.GetCount(); p += 2)
            {
                if (pages->pairs.GetAt(p + 1) != record->GetID())
                    continue;
                listed = true;
                if (pages->pairs.GetAt(p) == pages->current)
                    shown = true;
            }
        }
        if (listed && !shown)
            hidden->Add(record);
    }
    for (int t = 0; t < tabs.GetCount(); t++)
        delete tabs.GetAt(t);
}

bool SDialogEditor::IsHiddenControl(const _SCtrl* record) const
{
    SArray<_SCtrl*> hidden;
    GetHiddenControls(&hidden);
    for (int i = 0; i < hidden.GetCount(); i++)
        if (hidden.GetAt(i) == record)
            return true;
    return false;
}

void SDialogEditor::SelectAll(bool redraw)
{
    _SCtrl* previous = GetPrimary();
    SArray<_SCtrl*> hidden;
    GetHiddenControls(&hidden);
    m_selection.RemoveAll();
    for (int i = 0; i < m_controls.GetCount(); i++)
    {
        _SCtrl* record = m_controls.GetAt(i);
        bool isHidden = false;
        for (int h = 0; h < hidden.GetCount() && !isHidden; h++)
            isHidden = hidden.GetAt(h) == record;
        if (!isHidden)
            m_selection.Add(record);
    }
    if (redraw)
        RedrawDesigner();
    if (GetPrimary() != previous)
        OnSelectionChanged(previous, GetPrimary());
}

bool SDialogEditor::RemoveControl(_SCtrl* record, bool ask)
{
    int index = GetControlIndex(record);
    if (index < 0)
        return false;
    if (IsSelected(record))
    {
        _SCtrl* previous = GetPrimary();
        Deselect(record);
        OnSelectionChanged(previous, GetPrimary());
    }
    if (ask && !CanRemoveControl(record))
        return false;
    // The hook may have changed the list.
    index = GetControlIndex(record);
    if (index < 0)
        return false;
    m_controls.RemoveAt(index);
    delete record;
    return true;
}

void SDialogEditor::RemoveAllControls()
{
    while (m_controls.GetCount() > 0)
        RemoveControl(m_controls.GetAt(0), false);
}

bool SDialogEditor::DeleteSelection()
{
    _SCtrl* primary = GetPrimary();
    if (!primary || primary == m_dialog)
        return false;
    PushUndo();
    Deselect(primary);
    OnSelectionChanged(primary, nullptr);
    if (!CanRemoveControl(primary))
    {
        PopUndo();
        return false;
    }
    SArray<_SCtrl*> others;
    for (int i = 0; i < m_selection.GetCount(); i++)
        others.Add(m_selection.GetAt(i));
    m_selection.RemoveAll();
    int index = GetControlIndex(primary);
    if (index >= 0)
    {
        m_controls.RemoveAt(index);
        delete primary;
    }
    for (int i = 0; i < others.GetCount(); i++)
    {
        _SCtrl* record = others.GetAt(i);
        if (record == m_dialog || GetControlIndex(record) < 0 || !CanRemoveControl(record))
            continue;
        index = GetControlIndex(record);
        if (index >= 0)
        {
            m_controls.RemoveAt(index);
            delete record;
        }
    }
    m_selection.RemoveAll();
    RedrawDesigner();
    NotifyChanged();
    return true;
}

// --- coordinates and layout ---

void SDialogEditor::UpdateLayout()
{
    RECT client = {0, 0, 0, 0};
    if (GetHandle())
        GetClientRect(&client);
    m_clientRect = client;
    RECT empty = {0, 0, 0, 0};
    if (m_rulers)
    {
        m_designArea = client;
        m_designArea.left += kRulerSize;
        m_designArea.top += kRulerSize;
        m_horzRuler = {client.left + kRulerSize, client.top, client.right, client.top + kRulerSize};
        m_vertRuler = {client.left, client.top + kRulerSize, client.left + kRulerSize, client.bottom};
    }
    else
    {
        m_designArea = client;
        m_horzRuler = empty;
        m_vertRuler = empty;
    }
}

void SDialogEditor::ClientToDesign(POINT* point) const
{
    if (!point)
        return;
    point->x -= m_designArea.left - GetHScrollPos();
    point->y -= m_designArea.top - GetVScrollPos();
}

void SDialogEditor::ClientToDesign(RECT* rect) const
{
    if (!rect)
        return;
    int dx = m_designArea.left - GetHScrollPos(), dy = m_designArea.top - GetVScrollPos();
    OffsetRect(rect, -dx, -dy);
}

void SDialogEditor::DesignToClient(POINT* point) const
{
    if (!point)
        return;
    point->x += m_designArea.left - GetHScrollPos();
    point->y += m_designArea.top - GetVScrollPos();
}

void SDialogEditor::DesignToClient(RECT* rect) const
{
    if (!rect)
        return;
    int dx = m_designArea.left - GetHScrollPos(), dy = m_designArea.top - GetVScrollPos();
    OffsetRect(rect, dx, dy);
}

void SDialogEditor::RedrawDesigner()
{
    if (GetHandle())
        Redraw(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SDialogEditor::NotifyChanged()
{
    if (GetHandle())
        NotifyParentChanged(0, this);
}

// --- keys and commands ---

bool SDialogEditor::IsCtrlDown() const
{
    return GetInput()->IsKeyDown(VK_CONTROL);
}

void SDialogEditor::OnDelete()
{
    DeleteSelection();
}

void SDialogEditor::OnSelectAll()
{
    SelectAll(true);
}

void SDialogEditor::OnEscape()
{
    Select(nullptr);
    RedrawDesigner();
}

void SDialogEditor::TabToNextControl()
{
    if (m_selection.GetCount() != 1 || m_controls.GetCount() == 0)
        return;
    _SCtrl* current = GetPrimary();
    SArray<_SCtrl*> hidden;
    GetHiddenControls(&hidden);
    auto visible = [&hidden](const _SCtrl* record) {
        for (int h = 0; h < hidden.GetCount(); h++)
            if (hidden.GetAt(h) == record)
                return false;
        return true;
    };
    _SCtrl* found = nullptr;
    if (current == m_dialog)
    {
        for (int i = 0; i < m_controls.GetCount() && !found; i++)
            if (visible(m_controls.GetAt(i)))
                found = m_controls.GetAt(i);
    }
    else
    {
        int start = GetControlIndex(current);
        int count = m_controls.GetCount();
        for (int step = 1; start >= 0 && step < count && !found; step++)
        {
            _SCtrl* record = m_controls.GetAt((start + step) % count);
            if (visible(record))
                found = record;
        }
    }
    if (!found)
        return;
    m_selection.RemoveAll();
    m_selection.Add(found);
    RedrawDesigner();
    if (found != current)
        OnSelectionChanged(current, found);
}

void SDialogEditor::MoveSelectionByKey(int key, bool ctrlDown)
{
    _SCtrl* primary = GetPrimary();
    if (!primary || primary == m_dialog || IsSelectionLocked())
        return;
    PushUndo();
    int stepX = GetStepX(ctrlDown), stepY = GetStepY(ctrlDown);
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        _SCtrl* record = m_selection.GetAt(i);
        switch (key)
        {
        case VK_UP: record->SetY(ClampCoordinate(record->GetY() - stepY)); break;
        case VK_DOWN: record->SetY(ClampCoordinate(record->GetY() + stepY)); break;
        case VK_LEFT: record->SetX(ClampCoordinate(record->GetX() - stepX)); break;
        case VK_RIGHT: record->SetX(ClampCoordinate(record->GetX() + stepX)); break;
        }
    }
    RedrawDesigner();
    NotifyChanged();
    UpdatePropertySheet("$POSITION", "X", IntToString(primary->GetX()));
    UpdatePropertySheet("$POSITION", "Y", IntToString(primary->GetY()));
}

void SDialogEditor::ResizePrimaryByKey(int key, bool ctrlDown)
{
    _SCtrl* record = GetPrimary();
    if (m_selection.GetCount() != 1 || record->IsLocked())
        return;
    PushUndo();
    int stepX = GetStepX(ctrlDown), stepY = GetStepY(ctrlDown);
    switch (key)
    {
    case VK_UP:
        if (record->GetHeight() > kMinKeySize)
            record->SetHeight(record->GetHeight() - stepY);
        break;
    case VK_DOWN: record->SetHeight(ClampCoordinate(record->GetHeight() + stepY)); break;
    case VK_LEFT:
        if (record->GetWidth() > kMinKeySize)
            record->SetWidth(record->GetWidth() - stepX);
        break;
    case VK_RIGHT: record->SetWidth(ClampCoordinate(record->GetWidth() + stepX)); break;
    }
    if (record->GetWnd())
        record->GetWnd()->SetWindowSize(record->GetWidth(), record->GetHeight());
    RedrawDesigner();
    NotifyChanged();
    UpdatePropertySheet("$POSITION", "WIDTH", IntToString(record->GetWidth()));
    UpdatePropertySheet("$POSITION", "HEIGHT", IntToString(record->GetHeight()));
}

void SDialogEditor::OnKeyDown(int key)
{
    if (!m_open)
        return;
    bool ctrlDown = IsCtrlDown();
    bool shiftDown = GetInput()->IsKeyDown(VK_SHIFT);
    switch (key)
    {
    case VK_TAB:
        TabToNextControl();
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
        if (shiftDown)
            ResizePrimaryByKey(key, ctrlDown);
        else
            MoveSelectionByKey(key, ctrlDown);
        break;
    default:
        break;
    }
}

bool SDialogEditor::HandleMenuCommand(int command)
{
    switch (command)
    {
    case 10: OnCut(); return true;
    case 11: OnCopy(); return true;
    case 12: OnPaste(); return true;
    case 13: OnSelectAll(); return true;
    case 14: OnDelete(); return true;
    case 15: return Test();
    default: break;
    }
    if (command >= 100 && command <= 199)
        return InsertExternControl(command);
    if (command >= 200 && command <= 9999)
        return RunTabPageCommand(command);
    return false;
}

LRESULT SDialogEditor::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        OnCreated();
        break;
    case WM_SIZE:
        UpdateLayout();
        SetScrollInfo(false, 0, kScrollMax, GetClientWidth(), true);
        SetScrollInfo(true, 0, kScrollMax, GetClientHeight(), true);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_S_HSCROLLED:
    case WM_S_VSCROLLED:
        RedrawDesigner();
        break;
    case WM_ERASEBKGND:
        if (lParam && m_open && GetHandle())
        {
            HDC memory = (HDC)lParam;
            UpdateLayout();
            PaintDesign(memory);
            if (m_rulers)
                PaintRulers(memory);
            // The framework copies its buffer only for windows with a back colour: the designer has none.
            BitBlt((HDC)wParam, 0, 0, m_clientRect.right, m_clientRect.bottom, memory, 0, 0, SRCCOPY);
        }
        break;
    case WM_KEYDOWN:
        OnKeyDown((int)wParam);
        break;
    case WM_MOUSEMOVE:
    {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OnMouseMove(point);
        break;
    }
    case WM_S_MOUSE_ENTER:
    case WM_S_MOUSE_LEAVE:
    {
        POINT none = {-1, -1};
        OnMouseMove(none);
        break;
    }
    case WM_LBUTTONDOWN:
    {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OnLeftButtonDown(point);
        break;
    }
    case WM_LBUTTONDBLCLK:
    {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        UpdateLayout();
        if (m_open && PtInRect(&m_designArea, point) && GetPrimary())
            OnControlClick(GetPrimary());
        break;
    }
    case WM_RBUTTONDOWN:
    {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OnRightButtonDown(point);
        break;
    }
    case WM_MOUSEWHEEL:
    {
        int delta = (short)HIWORD(wParam);
        int position = GetVScrollPos() + (delta < 0 ? kScrollLine : -kScrollLine);
        SetVScrollPos(position, true);
        RedrawDesigner();
        break;
    }
    case WM_APP + 3002:
        RedrawDesigner();
        break;
    default:
        if (msg == SMENU_COMMAND)
            HandleMenuCommand((int)lParam);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
