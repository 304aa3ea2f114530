// The designer's undo and redo: bounded stacks of whole-description snapshots.
#include "SDialogEditor.h"

namespace
{

void DeleteSteps(SArray<SDialogEditor::_SUndo*>* steps)
{
    for (int i = 0; i < steps->GetCount(); i++)
        delete steps->GetAt(i);
    steps->RemoveAll();
}

// Appends a step, dropping the oldest once the stack is full.
void PushBounded(SArray<SDialogEditor::_SUndo*>* steps, SDialogEditor::_SUndo* step)
{
    while (steps->GetCount() >= SDialogEditor::UndoLimit)
    {
        delete steps->GetAt(0);
        steps->RemoveAt(0);
    }
    steps->Add(step);
}

SDialogEditor::_SUndo* TakeNewest(SArray<SDialogEditor::_SUndo*>* steps)
{
    int count = steps->GetCount();
    if (count == 0)
        return nullptr;
    SDialogEditor::_SUndo* step = steps->GetAt(count - 1);
    steps->RemoveAt(count - 1);
    return step;
}

} // namespace

// --- one snapshot ---

void SDialogEditor::_SUndo::Clear()
{
    m_selected.RemoveAll();
    m_dialogSelected = false;
    for (int i = 0; i < m_controls.GetCount(); i++)
        delete m_controls.GetAt(i);
    m_controls.RemoveAll();
    delete m_dialog;
    m_dialog = nullptr;
}

bool SDialogEditor::_SUndo::Fill(const SDialogEditor* editor, const _SCtrl* dialog, const SArray<_SCtrl*>* controls)
{
    if (!editor || !dialog || !controls)
        return false;
    Clear();
    m_dialog = new _SCtrl();
    m_dialog->CopyFrom(*dialog);
    // Selected records are noted as records, not by ID: the dialog record and a control,
    // or two controls, may carry the same ID.
    m_dialogSelected = editor->IsSelected(dialog);
    for (int i = 0; i < controls->GetCount(); i++)
    {
        _SCtrl* copy = new _SCtrl();
        copy->CopyFrom(*controls->GetAt(i));
        m_controls.Add(copy);
        if (editor->IsSelected(controls->GetAt(i)))
            m_selected.Add(copy);
    }
    return true;
}

bool SDialogEditor::_SUndo::Restore(SDialogEditor* editor) const
{
    if (!editor || !m_dialog)
        return false;
    editor->SetDialog(m_dialog);
    editor->RemoveAllControls();
    SArray<_SCtrl*> added;
    for (int i = 0; i < m_controls.GetCount(); i++)
        added.Add(editor->AddControl(false, m_controls.GetAt(i), true, true));
    if (m_dialogSelected)
        editor->AddToSelection(editor->GetDialog());
    for (int i = 0; i < m_controls.GetCount(); i++)
        for (int j = 0; j < m_selected.GetCount(); j++)
            if (m_selected.GetAt(j) == m_controls.GetAt(i))
                editor->AddToSelection(added.GetAt(i));
    return true;
}

// --- the stacks ---

void SDialogEditor::PushUndo()
{
    if (!m_undoEnabled)
        return;
    _SUndo* step = new _SUndo();
    if (!step->Fill(this, m_dialog, &m_controls))
    {
        delete step;
        return;
    }
    PushBounded(&m_undo, step);
    // A new edit ends what Redo could take back; kept aside until the edit is known to stand.
    DeleteSteps(&m_redoHeld);
    for (int i = 0; i < m_redo.GetCount(); i++)
        m_redoHeld.Add(m_redo.GetAt(i));
    m_redo.RemoveAll();
}

void SDialogEditor::PopUndo()
{
    if (!m_undoEnabled || m_undo.GetCount() == 0)
        return;
    delete TakeNewest(&m_undo);
    // The refused edit changed nothing: what could be redone before it still can.
    if (m_redo.GetCount() == 0)
    {
        for (int i = 0; i < m_redoHeld.GetCount(); i++)
            m_redo.Add(m_redoHeld.GetAt(i));
        m_redoHeld.RemoveAll();
    }
}

void SDialogEditor::ClearUndo()
{
    DeleteSteps(&m_undo);
    DeleteSteps(&m_redo);
    DeleteSteps(&m_redoHeld);
}

bool SDialogEditor::RestoreNewest(bool toRedo)
{
    SArray<_SUndo*>* source = toRedo ? &m_undo : &m_redo;
    SArray<_SUndo*>* target = toRedo ? &m_redo : &m_undo;
    if (!m_undoEnabled || source->GetCount() == 0)
        return false;
    _SUndo* current = new _SUndo();
    if (!current->Fill(this, m_dialog, &m_controls))
    {
        delete current;
        current = nullptr;
    }
    Select(nullptr);
    _SUndo* step = TakeNewest(source);
    step->Restore(this);
    delete step;
    if (current)
        PushBounded(target, current);
    OnSelectionChanged(nullptr, GetPrimary());
    return true;
}

bool SDialogEditor::Undo()
{
    return RestoreNewest(true);
}

bool SDialogEditor::Redo()
{
    return RestoreNewest(false);
}

void SDialogEditor::OnUndo()
{
    if (!Undo())
        return;
    NotifyChanged();
    RedrawDesigner();
}
