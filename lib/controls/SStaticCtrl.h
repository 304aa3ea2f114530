#pragma once
// Frame over the system "STATIC" class (owner-drawn): a DrawEdge edge on chosen sides.
#include "SWnd.h"

class SStaticCtrl : public SWnd
{
public:
    SStaticCtrl();
    ~SStaticCtrl() override;

    // Creates the frame (SS_OWNERDRAW, empty caption); false when it exists already or creation fails.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // Keeps a DrawEdge edge (1, 2, 4, 5, 6, 8, 9 or 10); any other value means no edge.
    void SetEdge(int edge);
    int GetEdge() const { return m_edge; }
    // DrawEdge border flags: BF_LEFT 1, BF_TOP 2, BF_RIGHT 4, BF_BOTTOM 8.
    void SetBorderFlags(int flags) { m_borderFlags = flags & BF_RECT; }
    int GetBorderFlags() const { return m_borderFlags; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Draws the edge over the client rectangle into a context.
    void DrawFrame(HDC dc);

    int m_edge;
    int m_borderFlags;
};
