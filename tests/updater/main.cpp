#include <gtest/gtest.h>
#include <windows.h>

#include "SLibrary.h"

// The update program's tests share one started library, as the program itself does.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, false, false);
    int result = RUN_ALL_TESTS();
    ExitLibrary();
    return result;
}
