#include "SWaveFactory.h"

#include "SFileMem.h"
#include "SLevelCtrl.h"
#include "SResource.h"
#include "SWaveEditor.h"

namespace
{

// What CreateChildNoCaption takes from a record.
struct Placement
{
    DWORD style;
    DWORD exStyle;
    RECT rect;
    UINT_PTR id;
};

Placement PlacementOf(const SDialogEditor::_SCtrl* record, bool visible)
{
    Placement placement;
    placement.style = record->GetStyle();
    if (!visible)
        placement.style &= ~(DWORD)WS_VISIBLE;
    placement.exStyle = record->GetExStyle();
    record->GetRect(&placement.rect);
    placement.id = (UINT_PTR)(unsigned short)record->GetID();
    return placement;
}

// The custom object when it is of the type's class, else a new one; a custom
// object of another class is deleted.
template <class T>
T* Take(SWnd* custom)
{
    if (custom)
    {
        T* typed = dynamic_cast<T*>(custom);
        if (typed)
            return typed;
        delete custom;
    }
    return new T();
}

// The object with its window, or null after deleting it.
template <class T>
T* CreateWindowOf(SWnd* custom, HWND parent, const SDialogEditor::_SCtrl* record, bool visible)
{
    T* control = Take<T>(custom);
    Placement placement = PlacementOf(record, visible);
    if (!control->CreateChildNoCaption(placement.style, placement.exStyle, &placement.rect, parent, placement.id))
    {
        delete control;
        return nullptr;
    }
    return control;
}

} // namespace

SWnd* CreateLevelControl(SWndDialog*, HWND parent, SDialogEditor::_SCtrl* record, SResource*, bool visible,
                         SWnd* custom)
{
    if (!record)
    {
        delete custom;
        return nullptr;
    }
    SLevelCtrl* control = CreateWindowOf<SLevelCtrl>(custom, parent, record, visible);
    if (!control)
        return nullptr;
    control->SetColors(record->GetPropertyColor("LEVEL_BACKCOLOR"), record->GetPropertyColor("LEVEL_LOWCOLOR"),
                       record->GetPropertyColor("LEVEL_HIGHCOLOR"));
    control->SetVertical(!record->GetPropertyBool("LEVEL_HORIZONTAL"));
    control->SetTick(record->GetPropertyBool("LEVEL_TICK"));
    control->SetChannelCount(record->GetPropertyInt("LEVEL_CHANNELCOUNT"));
    control->SetRange(record->GetPropertyInt("LEVEL_MINVALUE"), record->GetPropertyInt("LEVEL_MAXVALUE"), true);
    control->SetValue(record->GetPropertyInt("LEVEL_VALUE"), -1, true);
    return control;
}

SWnd* CreateWaveEditorControl(SWndDialog*, HWND parent, SDialogEditor::_SCtrl* record, SResource* resources,
                              bool visible, SWnd* custom)
{
    if (!record)
    {
        delete custom;
        return nullptr;
    }
    SWaveEditor* control = CreateWindowOf<SWaveEditor>(custom, parent, record, visible);
    if (!control)
        return nullptr;
    unsigned backEnabled = record->GetPropertyColor("WAVEEDITOR_COLORBACKENABLED");
    unsigned backDisabled = record->GetPropertyColor("WAVEEDITOR_COLORBACKDISABLED");
    unsigned line = record->GetPropertyColor("WAVEEDITOR_COLORLINE");
    unsigned caret = record->GetPropertyColor("WAVEEDITOR_COLORCARET");
    unsigned caretPlay = record->GetPropertyColor("WAVEEDITOR_COLORCARETPLAY");
    unsigned progressBack = record->GetPropertyColor("WAVEEDITOR_COLORPROGRESSBACK");
    unsigned progressStart = record->GetPropertyColor("WAVEEDITOR_COLORPROGRESSSTART");
    unsigned progressEnd = record->GetPropertyColor("WAVEEDITOR_COLORPROGRESSEND");
    control->SetLineColors(line, caret, caretPlay);
    control->SetBackColors(backEnabled, backDisabled);
    control->SetWaveColors(record->GetPropertyColor("WAVEEDITOR_COLORWAVEENABLED"),
                           record->GetPropertyColor("WAVEEDITOR_COLORWAVEDISABLED"));
    control->SetProgressColors(progressBack, progressStart, progressEnd);
    control->SetPopupMenu(record->GetPropertyBool("WAVEEDITOR_POPUPMENU"));
    SString name = record->GetProperty("WAVEEDITOR_FILE");
    if (resources && !name.IsEmpty())
    {
        SFileMem stream;
        if (resources->Extract(&stream, name, true))
            control->LoadFile(&stream);
    }
    return control;
}

bool LinkWaveEditorToLevel(SWnd* waveEditor, SWnd* levelMeter)
{
    SWaveEditor* editor = dynamic_cast<SWaveEditor*>(waveEditor);
    SLevelCtrl* level = dynamic_cast<SLevelCtrl*>(levelMeter);
    if (!editor || !level)
        return false;
    editor->GetWave()->SetLevelCtrl(level);
    return true;
}
