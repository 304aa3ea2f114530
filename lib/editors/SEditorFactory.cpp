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

uint32_t ResolveFactoryColor(uint32_t color)
{
    if (color == SCOLOR_NONE)
        return color;
    if (color >= SCOLOR_SYSTEM)
        return GetSysColor((int)(uint32_t)(color + 0x2000000u));
    return color;
}

uint32_t ColorKey(const SDialogEditor::_SCtrl* record, const char* key)
{
    return ResolveFactoryColor(record->GetPropertyColor(key));
}

SStringArray ListKey(const SDialogEditor::_SCtrl* record, const char* key)
{
    SStringArray tokens;
    SString value = record->GetProperty(key);
    if (value.IsEmpty())
        return tokens;
    SStringParser parser(value);
    parser.Parse("|", 8, '"', &tokens);
    return tokens;
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
