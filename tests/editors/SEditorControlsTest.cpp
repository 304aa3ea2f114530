#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "../LeakCheck.h"
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

// Every editor type made from a record, shown and deleted again keeps no GDI or USER object.
TEST(SEditorControls, EveryTypeMadeShownAndDeletedAgainKeepsNoObject)
{
    RegisterEditorControls();
    RECT rect = {0, 0, 600, 400};
    SWnd parent;
    ASSERT_TRUE(parent.Create("editors", WS_POPUP | WS_VISIBLE, 0, &rect, nullptr));
    const int types[] = {SDialogEditor::TYPE_GUI,      SDialogEditor::TYPE_IMAGEEDITOR, SDialogEditor::TYPE_LEVEL,
                         SDialogEditor::TYPE_PROPERTY, SDialogEditor::TYPE_SPREAD,      SDialogEditor::TYPE_TABDOC,
                         SDialogEditor::TYPE_WAVEEDITOR};
    for (int type : types)
    {
        SDialogEditor::_SCtrl record;
        record.SetType(type);
        record.SetWidth(300);
        record.SetHeight(200);
        record.AssignStyle(WS_VISIBLE);
        record.SetProperty("TOOLTIP", "tip");
        EXPECT_TRUE(KeepsNoObject([&] {
            std::unique_ptr<SWnd> control(SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, true));
            EXPECT_NE(control, nullptr);
            RedrawWindow(parent.GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        })) << "type " << type;
    }
}
