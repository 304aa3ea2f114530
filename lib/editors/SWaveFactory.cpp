#include "SWaveFactory.h"

#include "SEditorFactory.h"
#include "SFileMem.h"
#include "SLevelCtrl.h"
#include "SResource.h"
#include "SWaveEditor.h"

using namespace EditorFactory;

namespace
{

// The object with its window, or null (the object deleted) when creation failed.
template <class T>
T* CreateWindowOf(SWnd* custom, HWND parent, const SDialogEditor::_SCtrl* record, bool visible)
{
    T* control = TakeCustom<T>(custom);
    return CreateFromRecord(control, parent, record, visible) ? control : nullptr;
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
    control->SetColors(ColorKey(record, "LEVEL_BACKCOLOR"), ColorKey(record, "LEVEL_LOWCOLOR"),
                       ColorKey(record, "LEVEL_HIGHCOLOR"));
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
    unsigned backEnabled = ColorKey(record, "WAVEEDITOR_COLORBACKENABLED");
    unsigned backDisabled = ColorKey(record, "WAVEEDITOR_COLORBACKDISABLED");
    unsigned line = ColorKey(record, "WAVEEDITOR_COLORLINE");
    unsigned caret = ColorKey(record, "WAVEEDITOR_COLORCARET");
    unsigned caretPlay = ColorKey(record, "WAVEEDITOR_COLORCARETPLAY");
    unsigned progressBack = ColorKey(record, "WAVEEDITOR_COLORPROGRESSBACK");
    unsigned progressStart = ColorKey(record, "WAVEEDITOR_COLORPROGRESSSTART");
    unsigned progressEnd = ColorKey(record, "WAVEEDITOR_COLORPROGRESSEND");
    control->SetLineColors(line, caret, caretPlay);
    control->SetBackColors(backEnabled, backDisabled);
    control->SetWaveColors(ColorKey(record, "WAVEEDITOR_COLORWAVEENABLED"),
                           ColorKey(record, "WAVEEDITOR_COLORWAVEDISABLED"));
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
