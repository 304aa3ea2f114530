#pragma once
// A recording parent shown without activation. Under Wine, hiding or
// destroying an activated top-level window waits about 2 s for the display;
// a parent that never became active goes at once, keeping the tests fast.
#include "ControlTestSupport.h"

inline bool CreateInactiveParent(SRecordingParent& parent, int width = 400, int height = 300)
{
    RECT rect = {50, 50, 50 + width, 50 + height};
    if (!parent.Create("controls test", WS_POPUP, 0, &rect, nullptr))
        return false;
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    return true;
}
