#include "SEditorControls.h"

#include "SDialogEditor.h"
#include "SEditorFactory.h"
#include "SGuiCtrl.h"
#include "SImageEditor.h"
#include "SFileMem.h"
#include "SPropertyCtrl.h"
#include "SResource.h"
#include "SSpreadCtrl.h"
#include "STabDocCtrl.h"
#include "SWaveFactory.h"

namespace
{

using namespace EditorFactory;

SWnd* CreateTabDoc(SWndDialog*, HWND parent, SDialogEditor::_SCtrl* record, SResource*, bool visible, SWnd* custom)
{
    STabDocCtrl* control = TakeCustom<STabDocCtrl>(custom);
    if (!CreateFromRecord(control, parent, record, visible))
        return nullptr;
    uint32_t back = ResolveFactoryColor(record->GetBackColor());
    if (back != SCOLOR_NONE)
        control->SetBackColor(back);
    control->SetColors(ColorKey(record, "TABDOC_BACKCOLOR"), ColorKey(record, "TABDOC_BACKSELCOLOR"),
                       ColorKey(record, "TABDOC_WINDOWBACKCOLOR"));
    control->SetTextColors(ColorKey(record, "TABDOC_TEXTCOLOR"), ColorKey(record, "TABDOC_TEXTSELCOLOR"));
    control->SetCloseButton(record->GetPropertyBool("TABDOC_CLOSE"));
    control->SetMoveEnabled(record->GetPropertyBool("TABDOC_MOVE"));
    SStringArray captions = ListKey(record, "TABDOC_CONTENT");
    for (int i = 0; i < captions.GetCount(); i++)
        control->AddTab(captions.GetAt(i), -1, i);
    control->SelectTab(record->GetPropertyInt("TABDOC_SELECTION"));
    return control;
}

SWnd* CreateProperty(SWndDialog*, HWND parent, SDialogEditor::_SCtrl* record, SResource*, bool visible, SWnd* custom)
{
    SPropertyCtrl* control = TakeCustom<SPropertyCtrl>(custom);
    return CreateFromRecord(control, parent, record, visible) ? control : nullptr;
}

SWnd* CreateGui(SWndDialog*, HWND parent, SDialogEditor::_SCtrl* record, SResource*, bool visible, SWnd* custom)
{
    SGuiCtrl* control = TakeCustom<SGuiCtrl>(custom);
    if (!CreateFromRecord(control, parent, record, visible))
        return nullptr;
    if (!visible)
    {
        // The preview shows sample bars on the four edges; the placeholder values only tell them apart.
        control->AddBar((HWND)0, 100, 0x19, 0x160);
        control->AddBar((HWND)1, 100, 0x64, 1);
        control->AddBar((HWND)2, 100, 0x64, 3);
        control->AddBar((HWND)3, 100, 0x64, 2);
    }
    return control;
}

SWnd* CreateSpread(SWndDialog*, HWND parent, SDialogEditor::_SCtrl* record, SResource* resources, bool visible,
                   SWnd* custom)
{
    SSpreadCtrl* control = TakeCustom<SSpreadCtrl>(custom);
    if (!CreateFromRecord(control, parent, record, visible))
        return nullptr;
    if (!visible)
    {
        for (int i = 0; i < 3; i++)
            control->InsertColumn(-1, "", 0);
        for (int i = 0; i < 3; i++)
            control->InsertRow(-1);
    }
    SString name = record->GetProperty("SPREAD_FILE");
    SFileMem stream;
    if (resources && !name.IsEmpty() && resources->Extract(&stream, name, true))
        control->LoadFile(&stream, true);
    return control;
}

SWnd* CreateImageEditor(SWndDialog*, HWND parent, SDialogEditor::_SCtrl* record, SResource* resources, bool visible,
                        SWnd* custom)
{
    SImageEditor* control = TakeCustom<SImageEditor>(custom);
    if (!CreateFromRecord(control, parent, record, visible))
        return nullptr;
    // A missing or undecodable picture leaves the editor empty rather than failing the dialog.
    SString name = record->GetProperty("IMAGEEDITOR_FILE");
    SFileMem stream;
    if (resources && !name.IsEmpty() && resources->Extract(&stream, name, true))
        control->LoadFile(&stream);
    return control;
}

} // namespace

void RegisterEditorControls()
{
    // Each editor control class adds its type's creator here as it is built.
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_LEVEL, CreateLevelControl);
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_WAVEEDITOR, CreateWaveEditorControl);
    SDialogEditor::SetLevelLinker(LinkWaveEditorToLevel);
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_GUI, CreateGui);
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_PROPERTY, CreateProperty);
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_SPREAD, CreateSpread);
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_TABDOC, CreateTabDoc);
    SDialogEditor::RegisterControlType(SDialogEditor::TYPE_IMAGEEDITOR, CreateImageEditor);
}
