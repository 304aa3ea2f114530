#include "PProgressCtrl.h"

#include <windowsx.h>

#include <gdiplus.h>

#include "PPlayQueue.h"
#include "SRound.h"
#include "SMessages.h"

PProgressCtrl::PProgressCtrl() : m_owner(nullptr), m_trackPos(-1) {}

PProgressCtrl::~PProgressCtrl()
{
    Destroy();
}

int PProgressCtrl::PositionAt(int rangeHigh, int x, int width)
{
    if (width <= 0 || rangeHigh <= 0)
        return 0;
    return (int)((long long)rangeHigh * x / width);
}

int PProgressCtrl::FillWidth(int value, int rangeHigh, int width)
{
    if (rangeHigh <= 0)
        return 0;
    return SRound::Truncate((double)value / rangeHigh * width);
}

void PProgressCtrl::RedrawAndRefresh()
{
    Redraw(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (m_owner)
        m_owner->OnPlayerTick();
}

void PProgressCtrl::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(GetHandle(), &paint);
    if (!dc)
        return;
    RECT client;
    GetClientRect(&client);
    const int width = client.right, height = client.bottom;
    {
        Gdiplus::Graphics graphics(dc);
        const int high = GetMax();
        if (high <= 0)
        {
            RECT all = {0, 0, width, height};
            m_empty.Draw(&graphics, &all);
        }
        else
        {
            const int fill = FillWidth(GetPos(), high, width);
            RECT filled = {0, 0, fill, height};
            RECT empty = {fill, 0, fill + width, height};
            if (m_trackPos == -1)
            {
                m_empty.Draw(&graphics, &empty);
                m_filled.Draw(&graphics, &filled);
            }
            else
            {
                const int hover = FillWidth(m_trackPos, high, width);
                if (fill < hover)
                {
                    RECT rest = {hover, 0, hover + width, height};
                    RECT band = {fill, 0, hover, height};
                    m_empty.Draw(&graphics, &rest);
                    m_filled.Draw(&graphics, &filled);
                    m_hover.Draw(&graphics, &band);
                }
                else
                {
                    RECT band = {0, 0, hover, height};
                    RECT after = {hover, 0, fill, height};
                    m_empty.Draw(&graphics, &empty);
                    m_filled.Draw(&graphics, &after);
                    m_hover.Draw(&graphics, &band);
                }
            }
        }
    }
    EndPaint(GetHandle(), &paint);
}

LRESULT PProgressCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        SImage* images[3] = {&m_empty, &m_filled, &m_hover};
        const int ids[3] = {232, 233, 234};
        for (int i = 0; i < 3; i++)
            if (images[i]->LoadResource(ids[i], "BINARY"))
                images[i]->SetDrawMode(10);
        m_trackPos = -1;
        break;
    }
    case WM_MOUSEMOVE:
        m_trackPos = PositionAt(GetMax(), GET_X_LPARAM(lParam), GetClientWidth());
        RedrawAndRefresh();
        break;
    case WM_S_MOUSE_LEAVE:
        m_trackPos = -1;
        RedrawAndRefresh();
        break;
    case WM_LBUTTONDOWN:
    {
        const int high = GetMax();
        if (high != 0 && m_owner)
        {
            m_owner->Seek(PositionAt(high, GET_X_LPARAM(lParam), GetClientWidth()));
            m_owner->OnPlayerTick();
        }
        break;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return SProgressCtrl::OnMessage(msg, wParam, lParam);
}
