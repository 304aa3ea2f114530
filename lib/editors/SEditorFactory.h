#pragma once
// What the creators of the editor control types share: the custom object rule,
// window creation from a record, and the readers of colour and list keys.
#include <windows.h>
#include <stdint.h>

#include "SDialogEditor.h"
#include "SStringArray.h"

namespace EditorFactory
{

// The custom object when it is of the type's class, else a new one (the factory's rule).
template <class T>
T* TakeCustom(SWnd* custom)
{
    return SDialogEditor::TakeCustom<T>(custom);
}

// Creates the control's window from the record's style (without WS_VISIBLE unless
// visible), extended style, rectangle and ID; deletes the object and returns false on failure.
bool CreateFromRecord(SWnd* control, HWND parent, const SDialogEditor::_SCtrl* record, bool visible);

// A colour: none stays none, system colours are looked up.
inline uint32_t ResolveFactoryColor(uint32_t color)
{
    return SDialogEditor::ResolveColorValue(color);
}

// A colour key of the record, resolved.
inline uint32_t ColorKey(const SDialogEditor::_SCtrl* record, const char* key)
{
    return record->GetPropertyColor(key);
}

// A list key: tokens split at '|', trimmed, '"' quoting.
inline SStringArray ListKey(const SDialogEditor::_SCtrl* record, const char* key)
{
    return record->GetPropertyList(key);
}

// Hides every child window of a host and takes it out (no parent), so the
// caller's windows survive the host that is about to be destroyed.
void DetachChildWindows(HWND host);

} // namespace EditorFactory
