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
    if (DropRipple(m_ripple, GET_X_LPARAM(point), GET_Y_LPARAM(point), radius, strength))
        m_owner->SetTimer(kRippleTimer, kRipplePeriod);
}

bool PWndApp::RippleFits(const SImageWater& ripple, const std::vector<uint32_t>& source, const SImage* background)
{
    const size_t pixels = (size_t)kRippleSize * kRippleSize;
    if (source.size() != pixels || ripple.GetWidth() != kRippleSize || ripple.GetHeight() != kRippleSize)
        return false;
    return background && background->GetWidth() == kRippleSize && background->GetHeight() == kRippleSize &&
           background->GetBitsPerPixel() == 32;
}

bool PWndApp::DropRipple(SImageWater* ripple, int x, int y, int radius, int strength)
{
    // A captured mouse reports points beyond the picture; the water takes a negative
    // coordinate as "anywhere", which is not where the mouse is.
    if (!ripple || x < 0 || y < 0 || x >= ripple->GetWidth() || y >= ripple->GetHeight())
        return false;
    const bool wasCalm = ripple->IsCalm();
    // Into the height map that the next step reads.
    ripple->Drop(x, y, radius, strength, ripple->GetPage() == 0);
    return wasCalm && !ripple->IsCalm();
}

bool PWndApp::CanRipple()
{
    return RippleFits(m_ripple, m_rippleSource, m_coverView.GetBackgroundImage());
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
