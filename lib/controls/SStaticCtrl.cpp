#include "SStaticCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

SStaticCtrl::SStaticCtrl() : m_edge(0), m_borderFlags(0)
{
    SetKind(SKIND_STATIC);
}

SStaticCtrl::~SStaticCtrl()
{
}

bool SStaticCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM creationParam)
{
    return CreateSubclassed("STATIC", "", SControlStyle(style, SS_OWNERDRAW), exStyle, rect, parent, id,
                            creationParam, GetInstance());
}

void SStaticCtrl::SetEdge(int edge)
{
    switch (edge)
    {
    case BDR_RAISEDOUTER:
    case BDR_SUNKENOUTER:
    case BDR_RAISEDINNER:
    case EDGE_RAISED:
    case EDGE_ETCHED:
    case BDR_SUNKENINNER:
    case EDGE_BUMP:
    case EDGE_SUNKEN:
        m_edge = edge;
        break;
    default:
        m_edge = 0;
        break;
    }
}

void SStaticCtrl::DrawFrame(HDC dc)
{
    if (!dc || !m_edge)
        return;
    RECT client;
    if (GetClientRect(&client))
        DrawEdge(dc, &client, (UINT)m_edge, (UINT)m_borderFlags);
}

LRESULT SStaticCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        SetOwnerPaint(true);
        SetBackColor(GetSysColor(COLOR_BTNFACE));
        break;
    case WM_ERASEBKGND:
        DrawFrame((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        DrawFrame((HDC)wParam);
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
