#include "SEditorControls.h"

#include "SDialogEditor.h"
#include "SWaveFactory.h"

void RegisterEditorControls()
{
    // Each editor control class adds its type's creator here as it is built.
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_LEVEL, CreateLevelControl);
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_WAVEEDITOR, CreateWaveEditorControl);
    SDialogEditor::SetLevelLinker(LinkWaveEditorToLevel);
}
