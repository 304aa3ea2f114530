#include "SEditorControls.h"

#include "SDialogEditor.h"

void RegisterEditorControls()
{
    // Each editor control class adds its type's creator here as it is built.
}
