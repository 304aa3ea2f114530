#include <gtest/gtest.h>

#include <windows.h>

#include "../GuiObjects.h"
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
        const auto makeShowDelete = [&] {
            SDialogEditor::_SCtrl record;
            record.SetType(type);
            record.SetID(12);
            record.SetWidth(300);
            record.SetHeight(200);
            record.AssignStyle(WS_VISIBLE);
            record.SetProperty("TOOLTIP", "tip");
            SWnd* control = SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, true);
            EXPECT_NE(control, nullptr) << type;
            RedrawWindow(parent.GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            delete control;
        };
        makeShowDelete();
        const GuiObjects before = CountGuiObjects(GetCurrentProcessId());
        for (int i = 0; i < 4; i++)
            makeShowDelete();
        const GuiObjects after = CountGuiObjects(GetCurrentProcessId());
        EXPECT_EQ(before.gdi, after.gdi) << type << " bitmaps " << after.bitmaps - before.bitmaps << " dcs "
                                         << after.dcs - before.dcs << " fonts " << after.fonts - before.fonts
                                         << " brushes " << after.brushes - before.brushes << " pens "
                                         << after.pens - before.pens;
        EXPECT_EQ(before.user, after.user) << type;
        EXPECT_EQ(before.windows, after.windows) << type;
    }
}
