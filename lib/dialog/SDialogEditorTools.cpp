// The designer's tool panel and the commands on the whole selection:
// alignment, spacing, size, crop and order.
#include "SDialogEditor.h"

namespace
{

// Panel groups.
enum
{
    GROUP_CONTROLS = 0,
    GROUP_ALIGNMENT = 1,
    GROUP_ORDER = 2,
    GROUP_MISC = 3
};

// Buttons of the alignment group: also the commands of Align.
enum
{
    ALIGN_LEFT = 0, ALIGN_RIGHT, ALIGN_TOP, ALIGN_BOTTOM, ALIGN_HCENTER, ALIGN_VCENTER,
    ALIGN_HSPACE, ALIGN_VSPACE, ALIGN_NOHSPACE, ALIGN_NOVSPACE,
    ALIGN_WIDTH, ALIGN_HEIGHT, ALIGN_SIZE, ALIGN_CROP
};

// Buttons of the order and misc groups.
enum
{
    ORDER_FRONT = 0, ORDER_BACK, ORDER_FORWARD, ORDER_BACKWARD
};
enum
{
    MISC_GRID = 0, MISC_SNAP, MISC_TEST
};

struct ToolGroup
{
    int id;
    const char* key;
};

// A button of groups 1 to 3 with its caption key; a null key is a separator.
struct ToolButton
{
    int group;
    int id;
    const char* key;
};

const ToolGroup kToolGroups[] = {{GROUP_ALIGNMENT, "#ALIGNMENT"}, {GROUP_ORDER, "#ORDER"}, {GROUP_MISC, "#MISC"}};

const ToolButton kToolButtons[] = {
    {GROUP_ALIGNMENT, ALIGN_LEFT, "#LEFT"},       {GROUP_ALIGNMENT, ALIGN_RIGHT, "#RIGHT"},
    {GROUP_ALIGNMENT, ALIGN_TOP, "#TOP"},         {GROUP_ALIGNMENT, ALIGN_BOTTOM, "#BOTTOM"},
    {GROUP_ALIGNMENT, ALIGN_HCENTER, "#HCENTER"}, {GROUP_ALIGNMENT, ALIGN_VCENTER, "#VCENTER"},
    {GROUP_ALIGNMENT, 0, nullptr},
    {GROUP_ALIGNMENT, ALIGN_HSPACE, "#HSPACE"},   {GROUP_ALIGNMENT, ALIGN_VSPACE, "#VSPACE"},
    {GROUP_ALIGNMENT, ALIGN_NOHSPACE, "#NOHSPACE"}, {GROUP_ALIGNMENT, ALIGN_NOVSPACE, "#NOVSPACE"},
    {GROUP_ALIGNMENT, 0, nullptr},
    {GROUP_ALIGNMENT, ALIGN_WIDTH, "#WIDTH"},     {GROUP_ALIGNMENT, ALIGN_HEIGHT, "#HEIGHT"},
    {GROUP_ALIGNMENT, ALIGN_SIZE, "#SIZE"},       {GROUP_ALIGNMENT, ALIGN_CROP, "#CROP"},
    {GROUP_ORDER, ORDER_FRONT, "#FRONT"},         {GROUP_ORDER, ORDER_BACK, "#BACK"},
    {GROUP_ORDER, 0, nullptr},
    {GROUP_ORDER, ORDER_FORWARD, "#FORWARD"},     {GROUP_ORDER, ORDER_BACKWARD, "#BACKWARD"},
    {GROUP_MISC, MISC_GRID, "#GRID"},             {GROUP_MISC, MISC_SNAP, "#SNAP"},
    {GROUP_MISC, MISC_TEST, "#TEST"},
};

// The frame a window adds around its client area along one axis; never negative.
int FrameMargin(int window, int client)
{
    return window > client ? window - client : 0;
}

} // namespace

// --- the panel ---

void SDialogEditor::_SToolPanel::OnButtonClick(int groupId, int buttonId, _SButton* button)
{
    if (m_editor)
        m_editor->OnToolPanelButton(this, groupId, buttonId, button);
    SPanelCtrl::OnButtonClick(groupId, buttonId, button);
}

SDialogEditor::_SToolPanel* SDialogEditor::CreateToolPanel(HWND parent, const RECT* rect)
{
    _SToolPanel* panel = new _SToolPanel(this);
    if (!panel->Create(WS_CHILD | WS_VISIBLE, 0, rect, parent))
    {
        delete panel;
        return nullptr;
    }
    delete m_toolPanel;
    m_toolPanel = panel;
    BuildToolPanel();
    return panel;
}

void SDialogEditor::BuildToolPanel()
{
    SPanelCtrl* panel = m_toolPanel;
    // Groups cannot be taken out of a panel again: a filled panel stays as it is.
    if (!panel || panel->GetGroupCount() > 0)
        return;
    panel->AddGroup(GROUP_CONTROLS, GetLabel("#CONTROLS"));
    panel->AddButton(0, "Selection", GROUP_CONTROLS);
    for (int type = 1; type < TypeCount; type++)
    {
        const _SType* info = GetTypeInfo(type);
        panel->AddButton(type, info ? (const char*)info->GetCaption() : "", GROUP_CONTROLS);
    }
    for (const ToolGroup& group : kToolGroups)
    {
        panel->AddGroup(group.id, GetLabel(group.key));
        for (const ToolButton& button : kToolButtons)
        {
            if (button.group != group.id)
                continue;
            if (button.key)
                panel->AddButton(button.id, GetLabel(button.key), group.id);
            else
                panel->AddSeparator(group.id);
        }
    }
    panel->CheckRadioButton(GROUP_CONTROLS, 0);
    RefreshToolPanel();
}

bool SDialogEditor::RefreshToolPanel()
{
    if (!m_toolPanel || !m_toolPanel->GetHandle())
        return false;
    OnUpdateToolPanel(m_toolPanel);
    return true;
}

void SDialogEditor::OnUpdateToolPanel(SPanelCtrl* panel)
{
    if (!panel)
        return;
    int count = IsDialogSelected() ? 0 : GetSelectedCount();
    for (int id = ALIGN_LEFT; id <= ALIGN_CROP; id++)
    {
        bool enable = count >= 2 || id == ALIGN_CROP || (count == 1 && id <= ALIGN_VCENTER);
        panel->EnableButton(GROUP_ALIGNMENT, id, enable, false, false);
    }
    panel->RedrawGroup(GROUP_ALIGNMENT);
    for (int id = ORDER_FRONT; id <= ORDER_BACKWARD; id++)
    {
        bool enable = count == 1 || (count >= 2 && id <= ORDER_BACK);
        panel->EnableButton(GROUP_ORDER, id, enable, false, false);
    }
    panel->RedrawGroup(GROUP_ORDER);
    panel->SetButtonChecked(GROUP_MISC, MISC_GRID, m_gridVisible);
    panel->SetButtonChecked(GROUP_MISC, MISC_SNAP, m_snapToGrid);
}

void SDialogEditor::OnToolPanelButton(SPanelCtrl* panel, int group, int button, SPanelCtrl::_SButton* record)
{
    if (!panel)
        return;
    switch (group)
    {
    case GROUP_CONTROLS:
        if (!panel->IsButtonChecked(GROUP_CONTROLS, button))
        {
            panel->CheckRadioButton(GROUP_CONTROLS, button);
            SetInsertTool(button == 0 ? -1 : button);
        }
        break;
    case GROUP_ALIGNMENT:
        Align(button);
        RedrawDesigner();
        break;
    case GROUP_ORDER:
        switch (button)
        {
        case ORDER_FRONT: ToFront(); break;
        case ORDER_BACK: ToBack(); break;
        case ORDER_FORWARD: MoveForward(); break;
        case ORDER_BACKWARD: MoveBackward(); break;
        default: break;
        }
        RedrawDesigner();
        break;
    case GROUP_MISC:
        if (button == MISC_GRID || button == MISC_SNAP)
        {
            bool on = !panel->IsButtonChecked(GROUP_MISC, button);
            if (panel->SetButtonChecked(GROUP_MISC, button, on))
                button == MISC_GRID ? SetGridVisible(on) : SetSnapToGrid(on);
        }
        else if (button == MISC_TEST)
            Test();
        break;
    default:
        break;
    }
    OnPanelCommand(panel, group, button, record);
}

// --- alignment ---

bool SDialogEditor::SpaceSelection(bool horizontal, bool keepGap)
{
    if (m_selection.GetCount() < (keepGap ? 3 : 2))
        return false;
    SArray<_SCtrl*> sorted;
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        // Insertion after every equal one keeps the selection order among equals.
        _SCtrl* record = m_selection.GetAt(i);
        int key = horizontal ? record->GetX() : record->GetY();
        int at = sorted.GetCount();
        while (at > 0 && (horizontal ? sorted.GetAt(at - 1)->GetX() : sorted.GetAt(at - 1)->GetY()) > key)
            at--;
        sorted.Add(record, at);
    }
    _SCtrl* first = sorted.GetAt(0);
    _SCtrl* second = sorted.GetAt(1);
    int gap = 0;
    if (keepGap)
        gap = horizontal ? second->GetX() - first->GetRight() : second->GetY() - first->GetBottom();
    for (int i = 1; i < sorted.GetCount(); i++)
    {
        const _SCtrl* before = sorted.GetAt(i - 1);
        if (horizontal)
            sorted.GetAt(i)->SetX(ClampCoordinate(before->GetRight() + gap));
        else
            sorted.GetAt(i)->SetY(ClampCoordinate(before->GetBottom() + gap));
    }
    return true;
}

void SDialogEditor::SetWidthsAndHeights(int command)
{
    _SCtrl* primary = GetPrimary();
    for (int i = 1; i < m_selection.GetCount(); i++)
    {
        _SCtrl* record = m_selection.GetAt(i);
        if (command != ALIGN_HEIGHT)
            record->SetWidth(primary->GetWidth());
        if (command != ALIGN_WIDTH)
            record->SetHeight(primary->GetHeight());
        record->CreatePreview(this);
    }
}

bool SDialogEditor::CropToImages()
{
    _SCtrl* primary = GetPrimary();
    if (primary == m_dialog && m_designImage.IsLoaded())
    {
        m_dialog->SetWidth(ClampCoordinate(m_designImage.GetWidth()));
        m_dialog->SetHeight(ClampCoordinate(m_designImage.GetHeight()));
        return true;
    }
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        _SCtrl* record = m_selection.GetAt(i);
        SWnd* window = record->GetWnd();
        const SImage* image = window ? window->GetBackgroundImage() : nullptr;
        if (!image)
            continue;
        SIZE size = window->GetWindowSize();
        record->SetWidth(ClampCoordinate(image->GetWidth() + FrameMargin(size.cx, window->GetClientWidth())));
        record->SetHeight(ClampCoordinate(image->GetHeight() + FrameMargin(size.cy, window->GetClientHeight())));
        record->CreatePreview(this);
    }
    return true;
}

bool SDialogEditor::Align(int command)
{
    _SCtrl* primary = GetPrimary();
    if (!primary)
        return false;
    PushUndo();
    RECT reference;
    GetRecordRect(primary, &reference);
    switch (command)
    {
    case ALIGN_LEFT:
    case ALIGN_RIGHT:
    case ALIGN_TOP:
    case ALIGN_BOTTOM:
        for (int i = 1; i < m_selection.GetCount(); i++)
        {
            _SCtrl* record = m_selection.GetAt(i);
            switch (command)
            {
            case ALIGN_LEFT: record->SetX(reference.left); break;
            case ALIGN_RIGHT: record->SetX(ClampCoordinate(reference.right - record->GetWidth())); break;
            case ALIGN_TOP: record->SetY(reference.top); break;
            default: record->SetY(ClampCoordinate(reference.bottom - record->GetHeight())); break;
            }
        }
        break;
    case ALIGN_HCENTER:
    case ALIGN_VCENTER:
    {
        if (!m_dialog)
            return false;
        RECT bounds = GetSelectionBounds();
        bool horizontal = command == ALIGN_HCENTER;
        // The block is centred in the dialog's own width or height; the dialog's position does not count.
        int offset = horizontal ? m_dialog->GetWidth() / 2 - (bounds.left + bounds.right) / 2
                                : m_dialog->GetHeight() / 2 - (bounds.top + bounds.bottom) / 2;
        for (int i = 0; i < m_selection.GetCount(); i++)
        {
            _SCtrl* record = m_selection.GetAt(i);
            if (horizontal)
                record->SetX(ClampCoordinate(record->GetX() + offset));
            else
                record->SetY(ClampCoordinate(record->GetY() + offset));
        }
        break;
    }
    case ALIGN_HSPACE:
    case ALIGN_VSPACE:
    case ALIGN_NOHSPACE:
    case ALIGN_NOVSPACE:
        if (!SpaceSelection(command == ALIGN_HSPACE || command == ALIGN_NOHSPACE,
                            command == ALIGN_HSPACE || command == ALIGN_VSPACE))
            return false;
        break;
    case ALIGN_WIDTH:
    case ALIGN_HEIGHT:
    case ALIGN_SIZE:
        SetWidthsAndHeights(command);
        break;
    case ALIGN_CROP:
        CropToImages();
        break;
    default:
        return false;
    }
    NotifyChanged();
    UpdatePropertySheet();
    return true;
}

// --- order ---

bool SDialogEditor::ReorderSelection(bool toFront)
{
    _SCtrl* primary = GetPrimary();
    if (!primary || primary == m_dialog)
        return false;
    PushUndo();
    // The unselected controls then the selected ones (to front), or the other way round.
    SArray<_SCtrl*> order;
    for (int pass = 0; pass < 2; pass++)
        for (int i = 0; i < m_controls.GetCount(); i++)
            if (IsSelected(m_controls.GetAt(i)) == (toFront == (pass == 1)))
                order.Add(m_controls.GetAt(i));
    bool changed = false;
    for (int i = 0; i < order.GetCount(); i++)
    {
        changed = changed || m_controls.GetAt(i) != order.GetAt(i);
        m_controls.SetAt(i, order.GetAt(i));
    }
    if (changed)
        NotifyChanged();
    return true;
}

bool SDialogEditor::SwapWithNeighbour(int step)
{
    _SCtrl* primary = GetPrimary();
    int index = GetControlIndex(primary);
    int other = index + step;
    if (m_selection.GetCount() != 1 || index < 0 || other < 0 || other >= m_controls.GetCount())
        return false;
    PushUndo();
    m_controls.SetAt(index, m_controls.GetAt(other));
    m_controls.SetAt(other, primary);
    NotifyChanged();
    return true;
}

bool SDialogEditor::ToFront()
{
    return ReorderSelection(true);
}

bool SDialogEditor::ToBack()
{
    return ReorderSelection(false);
}

bool SDialogEditor::MoveForward()
{
    return SwapWithNeighbour(1);
}

bool SDialogEditor::MoveBackward()
{
    return SwapWithNeighbour(-1);
}
