#include <windows.h>

#include "PCommandLine.h"
#include "PProgramWait.h"
#include "PWndExtract.h"
#include "PWndMake.h"
#include "SDialogEditor.h"
#include "SLibrary.h"

namespace
{
const int largeIcon = 107;
const int smallIcon = 108;
// Wait for the main program to end before its files are replaced.
const DWORD waitLimit = 10000;
const DWORD waitPause = 500;

void RunMakeMode()
{
    PWndMake window;
    if (window.Open())
        RunMessageLoop();
}

void RunExtractMode()
{
    // A main program that does not end keeps its files: nothing is shown or changed.
    if (!WaitForProgramEnd(PCommandLine::GetCommandArg(3, true), waitLimit, waitPause))
        return;
    SString arguments[4];
    for (int index = 0; index < 4; index++)
        arguments[index] = PCommandLine::GetCommandArg(index, true);
    PWndExtract window;
    if (window.Open(arguments[0], arguments[1], arguments[2], arguments[3]))
        RunMessageLoop();
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    InitLibrary(instance, showCommand, true, false, false);
    SDialogEditor::InstallBuilder();
    SetAppIcons(largeIcon, smallIcon);
    if (PCommandLine::GetCommandArgCount() != 4)
        RunMakeMode();
    else
        RunExtractMode();
    ExitLibrary();
    return 0;
}
