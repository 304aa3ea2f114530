#include "SDialogEditor.h"

#include "SResource.h"

namespace
{

SDialogEditor::ControlCreator g_creators[SDialogEditor::TypeCount];

} // namespace

SDialogEditor::ControlCreator SDialogEditor::RegisterControlType(int type, ControlCreator creator)
{
    if (type <= TYPE_DIALOG || type >= TypeCount)
        return nullptr;
    ControlCreator previous = g_creators[type];
    g_creators[type] = creator;
    return previous;
}

SDialogEditor::ControlCreator SDialogEditor::GetControlCreator(int type)
{
    if (type <= TYPE_DIALOG || type >= TypeCount)
        return nullptr;
    return g_creators[type];
}

SWnd* SDialogEditor::CreateControl(SWndDialog* dialog, HWND parent, _SCtrl* record, SResource* resources,
                                   bool visible)
{
    if (!record)
        return nullptr;
    ControlCreator creator = GetControlCreator(record->GetType());
    if (!creator)
        return nullptr;
    return creator(dialog, parent, record, resources, visible, nullptr);
}
