#include "PProgramWait.h"

#include <mmsystem.h>

#include "SSystem.h"

bool WaitForProgramEnd(const char* programPath, DWORD limitMs, DWORD pauseMs)
{
    const DWORD start = timeGetTime();
    for (;;)
    {
        if (timeGetTime() - start >= limitMs)
            return false;
        if (SSystem::GetProcessCount(programPath != nullptr ? programPath : "") == 0)
            return true;
        // Sleeping leaves the processor to the program that is shutting down.
        Sleep(pauseMs);
    }
}
