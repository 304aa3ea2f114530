#include <gtest/gtest.h>
#include <windows.h>

#include "SLibrary.h"
#include "../TestDesktop.h"

// The window tests share one started library, as a program of the system does.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    ParkCursor();
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
    int result = RUN_ALL_TESTS();
    ExitLibrary();
    return result;
}
