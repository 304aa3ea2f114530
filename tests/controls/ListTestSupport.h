#pragma once
// The visible parent shared by the list, edit, extended list, tab and combo tests.
// Wine takes about two seconds to create and destroy a visible top-level window
// under Xvfb, so one parent serves every test; each test takes it cleared.
#include "ControlTestSupport.h"

// The shared parent, created on first use, recording mouse records of the given messages.
inline SRecordingParent& SharedListParent(std::vector<UINT> mouseMessages = {})
{
    static SRecordingParent* parent = nullptr;
    if (!parent || !parent->GetHandle())
    {
        delete parent;
        parent = new SRecordingParent;
        parent->CreateParent(400, 300);
    }
    parent->SetMouseMessages(mouseMessages);
    parent->ClearReceived();
    return *parent;
}
