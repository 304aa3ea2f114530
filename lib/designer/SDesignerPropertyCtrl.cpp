#include "SDesignerPropertyCtrl.h"

#include <stdlib.h>
#include <string.h>

#include "SDesignerPropertyTable.h"

SDesignerPropertyCtrl::SDesignerPropertyCtrl() : m_editor(nullptr), m_currentGroup(-1), m_filling(false)
{
}

SDesignerPropertyCtrl::~SDesignerPropertyCtrl()
{
    if (m_editor && m_editor->GetPropertyCtrl() == this)
        m_editor->SetPropertyCtrl(nullptr);
}

// --- binding ---

void SDesignerPropertyCtrl::SetEditor(SDialogEditor* editor)
{
    if (m_editor && m_editor->GetPropertyCtrl() == this)
        m_editor->SetPropertyCtrl(nullptr);
    m_editor = editor;
    if (!editor)
    {
        if (GetHandle())
        {
            CancelEdit(true);
            Clear();
        }
        return;
    }
    editor->SetPropertyCtrl(this);
    SDialogEditor::SetPropertySheetUpdater(UpdateFromEditor);
    UpdateFromEditor(editor, nullptr, nullptr, nullptr);
}

void SDesignerPropertyCtrl::UpdateFromEditor(SDialogEditor* editor, const char* group, const char* key,
                                             const char* value)
{
    SDesignerPropertyCtrl* sheet = editor ? dynamic_cast<SDesignerPropertyCtrl*>(editor->GetPropertyCtrl()) : nullptr;
    if (!sheet || sheet->m_editor != editor || !sheet->GetHandle())
        return;
    if (key)
    {
        sheet->SetItemValue(group, key, value);
        return;
    }
    sheet->CancelEdit(true);
    sheet->SetCurSel(-1, true);
    sheet->FillProperties(editor->GetPrimary());
}

bool SDesignerPropertyCtrl::SetItemValue(const char* group, const char* key, const char* value)
{
    for (int index = 0; index < GetGroupCount(); index++)
    {
        if (group && GetGroup(index)->name != group)
            continue;
        _SItem* item = FindItem(index, key);
        if (!item)
            continue;
        // The item takes the value as it would from a fill, but a single value
        // written by the designer does not make it mixed.
        bool mixed = item->mixed;
        SetItem(index, key, item->caption, item->kind, value, nullptr, -1);
        item->mixed = mixed;
        return true;
    }
    return false;
}

void SDesignerPropertyCtrl::OnScroll()
{
    if (!m_filling && m_editor && m_editor->GetSelectedCount() == 1)
        m_editor->GetSelected(0)->SetPropertyScroll(GetVScrollPos());
    SPropertyCtrl::OnScroll();
}

// --- groups and items ---

SString SDesignerPropertyCtrl::GetLabel(const char* key) const
{
    return m_editor ? m_editor->GetLabel(key) : SString();
}

SString SDesignerPropertyCtrl::MakeChoiceText(const char* key) const
{
    SString text = key ? key : "";
    text += "|";
    text += GetLabel(key);
    return text;
}

bool SDesignerPropertyCtrl::AddPropertyGroup(const char* key, bool expanded)
{
    SString label = GetLabel(key);
    if (label.IsEmpty())
        return false;
    int index = FindGroup(key);
    if (index < 0)
        index = AddGroup(key, label, -1, expanded);
    if (index < 0)
        return false;
    m_currentGroup = index;
    return true;
}

bool SDesignerPropertyCtrl::AddProperty(bool singleOnly, bool sameTypeOnly, const char* key, int kind,
                                        const char* value, const SStringArray* choices, int group,
                                        const char* label)
{
    if (!m_editor)
        return false;
    int count = m_editor->GetSelectedCount();
    if (singleOnly && count != 1)
        return false;
    if (sameTypeOnly)
        for (int i = 1; i < count; i++)
            if (m_editor->GetSelected(i)->GetType() != m_editor->GetSelected(0)->GetType())
                return false;
    SString text = value ? value : "";
    if (choices)
    {
        // The sheet shows the key part of an entry: the text before its first '|'.
        bool found = false;
        SString first;
        for (int i = 0; i < choices->GetCount() && !found; i++)
        {
            SString entry = choices->GetAt(i);
            const char* bar = strchr((const char*)entry, '|');
            SString entryKey = bar ? entry.Left((int)(bar - (const char*)entry)) : entry;
            if (i == 0)
                first = entryKey;
            found = entryKey == text;
        }
        if (!found)
            text = first;
    }
    if (group == -1)
        group = m_currentGroup;
    SString caption = label ? SString(label) : GetLabel(key);
    return SetItem(group, key, caption, kind, text, choices, -1) >= 0;
}

void SDesignerPropertyCtrl::AddBorderProperties(_SCtrl* record)
{
    AddPropertyGroup("$BORDER", true);
    AddProperty(false, true, "BORDER", KIND_YESNO, record->HasStyle(WS_BORDER) ? "1" : "0", nullptr, -1, nullptr);
    AddProperty(false, true, "CLIENTEDGE", KIND_YESNO, record->HasExStyle(WS_EX_CLIENTEDGE) ? "1" : "0", nullptr, -1,
                nullptr);
    AddProperty(false, true, "STATICEDGE", KIND_YESNO, record->HasExStyle(WS_EX_STATICEDGE) ? "1" : "0", nullptr, -1,
                nullptr);
}

// --- fill ---

bool SDesignerPropertyCtrl::FillProperties(_SCtrl* primary)
{
    if (!m_editor || !GetHandle())
        return false;
    if (!primary)
    {
        Clear();
        return true;
    }
    m_filling = true;
    bool visible = IsVisible();
    if (visible)
        SetRedraw(false);
    Clear();
    int count = m_editor->GetSelectedCount();
    bool captionOffered = count > 0;
    for (int i = 0; i < count; i++)
        if (!SDesignerPropertyTable::HasCaption(m_editor->GetSelected(i)->GetType()))
            captionOffered = false;
    for (int i = 0; i < count; i++)
    {
        _SCtrl* record = m_editor->GetSelected(i);
        m_currentGroup = -1;
        AddGeneralItems(record, captionOffered);
        AddPositionItems(record);
        AddTypeItems(record);
    }
    if (count == 1)
    {
        // The scroll range must cover the new items before the position is restored.
        FlushPendingLayout();
        SetVScrollPos(primary->GetPropertyScroll(), true);
    }
    m_editor->OnFillProperties(this, primary);
    RemoveEmptyGroups();
    if (visible)
        SetRedraw(true);
    m_filling = false;
    return true;
}
