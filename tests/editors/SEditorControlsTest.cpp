#include <gtest/gtest.h>

#include "SDialogEditor.h"
#include "SEditorControls.h"

// Registering twice changes nothing, and the factory keeps refusing DIALOG.
TEST(SEditorControls, RegistrationIsRepeatable)
{
    RegisterEditorControls();
    SDialogEditor::ControlCreator first[SDialogEditor::TypeCount];
    for (int type = 0; type < SDialogEditor::TypeCount; type++)
        first[type] = SDialogEditor::GetControlCreator(type);
    RegisterEditorControls();
    for (int type = 0; type < SDialogEditor::TypeCount; type++)
        EXPECT_EQ(first[type], SDialogEditor::GetControlCreator(type)) << type;
    EXPECT_EQ(SDialogEditor::GetControlCreator(SDialogEditor::TYPE_DIALOG), nullptr);
}
