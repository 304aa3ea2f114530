// The cover picture with its water ripple: mouse moves and clicks drop into the
// surface, timer 200 steps it until it is calm again.
#include "PWndApp.h"

#include <windowsx.h>

namespace
{
const UINT_PTR kRippleTimer = 200;
const UINT kRipplePeriod = 20;
const int kRippleSize = 150;
} // namespace

LRESULT PWndApp::_SMediaCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_MOUSEMOVE:
        AddDrop(lParam, 5, 50);
        break;
    case WM_LBUTTONDOWN:
        AddDrop(lParam, 25, 250);
        break;
    case WM_RBUTTONDOWN:
        // A refresh of the current folder, with the grid in front.
        if (m_owner)
            m_owner->Navigate(".", nullptr, true);
        break;
    default:
        break;
    }
    return SMediaCtrl::OnMessage(msg, wParam, lParam);
}

void PWndApp::_SMediaCtrl::AddDrop(LPARAM point, int radius, int strength)
{
    if (!m_owner || !m_ripple || !m_owner->CanRipple())
        return;
    if (m_ripple->IsCalm())
        m_owner->SetTimer(kRippleTimer, kRipplePeriod);
    // Into the height map that the next step reads.
    m_ripple->Drop(GET_X_LPARAM(point), GET_Y_LPARAM(point), radius, strength, m_ripple->GetPage() == 0);
}

bool PWndApp::CanRipple()
{
    const size_t pixels = (size_t)kRippleSize * kRippleSize;
    if (m_rippleSource.size() != pixels || m_ripple.GetWidth() != kRippleSize || m_ripple.GetHeight() != kRippleSize)
        return false;
    const SImage* background = m_coverView.GetBackgroundImage();
    return background && background->GetWidth() == kRippleSize && background->GetHeight() == kRippleSize &&
           background->GetBitsPerPixel() == 32;
}

void PWndApp::RippleStep()
{
    if (!CanRipple())
    {
        KillTimer(kRippleTimer);
        return;
    }
    m_rippleOutput.resize(m_rippleSource.size());
    m_ripple.Render(m_rippleSource.data(), m_rippleOutput.data());
    SImage* background = m_coverView.GetBackgroundImage();
    if (background && background->SetPixels(m_rippleOutput.data()))
    {
        m_coverView.InvalidateRect(nullptr, true);
        m_coverView.UpdateWindow();
    }
    if (m_ripple.IsCalm())
        KillTimer(kRippleTimer);
}
