#include "PWndProgress.h"

#include "SMessages.h"

PWndProgress::PWndProgress() {}

PWndProgress::~PWndProgress()
{
    Destroy();
}

bool PWndProgress::Create(HWND owner)
{
    RECT rect = {0, 0, 300, 35};
    if (!SWnd::Create("", WS_POPUP | WS_VISIBLE | WS_BORDER, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &rect, owner))
        return false;
    ::UpdateWindow(GetHandle());
    return true;
}

void PWndProgress::SetPos(int position)
{
    if (!m_progress.GetHandle() || m_progress.GetPos() == position)
        return;
    m_progress.SetPos(position);
    ::UpdateWindow(m_progress.GetHandle());
}

int PWndProgress::GetPos()
{
    return m_progress.GetHandle() ? m_progress.GetPos() : 0;
}

LRESULT PWndProgress::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_CREATED)
    {
        RECT window, client;
        ::GetWindowRect(GetHandle(), &window);
        GetClientRect(&client);
        const int width = 300 + (window.right - window.left) - client.right;
        const int height = 35 + (window.bottom - window.top) - client.bottom;
        MoveWindow(0, 0, width, height, false);
        CenterWindow(false);
        RECT bar = {5, 5, 295, 30};
        m_progress.Create(WS_VISIBLE, 0, &bar, GetHandle());
        m_progress.SetRange(0, 1000);
        return 0;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
