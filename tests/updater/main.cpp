#include <gtest/gtest.h>
#include <windows.h>

#include "SDialogEditor.h"
#include "SLibrary.h"

// The update program's tests share one started library and its dialog builder, as the
// program itself does.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, false, false);
    SDialogEditor::InstallBuilder();
    int result = RUN_ALL_TESTS();
    ExitLibrary();
    return result;
}
