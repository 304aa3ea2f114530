#pragma once
#include "../controls/InactiveParent.h"

// A recording parent that also counts the change notifications of its children.
class ChangeParent : public SRecordingParent
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_S_CHANGED)
            changes++;
        return SRecordingParent::OnMessage(msg, wParam, lParam);
    }
    int changes = 0;
};
