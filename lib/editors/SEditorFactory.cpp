#include "SEditorFactory.h"

#include "SStringParser.h"

namespace EditorFactory
{

bool CreateFromRecord(SWnd* control, HWND parent, const SDialogEditor::_SCtrl* record, bool visible)
{
    DWORD style = record->GetStyle();
    if (!visible)
        style &= ~(DWORD)WS_VISIBLE;
    RECT rect;
    record->GetRect(&rect);
    UINT_PTR id = (UINT_PTR)(unsigned short)record->GetID();
    if (control->CreateChildNoCaption(style, record->GetExStyle(), &rect, parent, id))
        return true;
    delete control;
    return false;
}

void DetachChildWindows(HWND host)
{
    if (!host)
        return;
    HWND child;
    while ((child = GetWindow(host, GW_CHILD)) != nullptr)
    {
        ::ShowWindow(child, SW_HIDE);
        // A child that cannot be detached goes with the host rather than stopping the loop.
        if (!::SetParent(child, nullptr))
            break;
    }
}

} // namespace EditorFactory
