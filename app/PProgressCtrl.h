#pragma once
// The seek bar of the now-playing pane and the docked bar: a progress bar over the
// elapsed seconds of the medium that paints itself from three pictures, seeks where
// it is clicked and shows a band up to the time under the mouse.
#include <windows.h>

#include "SImage.h"
#include "SProgressCtrl.h"

class PPlayQueue;

class PProgressCtrl : public SProgressCtrl
{
public:
    PProgressCtrl();
    ~PProgressCtrl() override;

    // The queue that seeks and refreshes the displays; null: the bar only shows.
    void SetOwner(PPlayQueue* owner) { m_owner = owner; }
    // The bar position (seconds) under the mouse, -1 when the mouse is not over the bar.
    int GetTrackPos() const { return m_trackPos; }
    // The bar position at x of a client of the given width (0 for an empty bar or width).
    static int PositionAt(int rangeHigh, int x, int width);
    // The part of width that value of rangeHigh fills (0 for an empty range).
    static int FillWidth(int value, int rangeHigh, int width);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void RedrawAndRefresh();

    SImage m_empty;
    SImage m_filled;
    SImage m_hover;
    PPlayQueue* m_owner;
    int m_trackPos;
};
