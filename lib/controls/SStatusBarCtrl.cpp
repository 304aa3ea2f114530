#include "SStatusBarCtrl.h"

#include <commctrl.h>

#include <vector>

#include "SControl.h"
#include "SLibrary.h"

namespace
{

// The system status bar takes at most this many parts.
const int kMaxParts = 256;

}

SStatusBarCtrl::SStatusBarCtrl()
{
    SetKind(SKIND_STATUSBAR);
}

SStatusBarCtrl::~SStatusBarCtrl()
{
}

bool SStatusBarCtrl::Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id, LPARAM creationParam)
{
    return CreateSubclassed(STATUSCLASSNAMEA, "", SControlStyle(style), exStyle, nullptr, parent, id,
                            creationParam, GetInstance());
}

bool SStatusBarCtrl::SetParts(int n)
{
    if (n < 1 || n > kMaxParts || !GetHandle())
        return false;
    RECT client = {0, 0, 0, 0};
    HWND parent = GetParent();
    if (parent)
        ::GetClientRect(parent, &client);
    int step = (client.right - client.left) / n;
    std::vector<int> edges((size_t)n);
    for (int i = 0; i < n - 1; i++)
        edges[(size_t)i] = (i + 1) * step;
    edges[(size_t)(n - 1)] = -1;
    return SendMessage(SB_SETPARTS, (WPARAM)n, (LPARAM)edges.data()) != 0;
}

bool SStatusBarCtrl::SetPartRight(int index, int right)
{
    int count = GetPartCount();
    if (count < 1 || count > kMaxParts || index < 0 || index >= count)
        return false;
    std::vector<int> edges((size_t)count);
    SendMessage(SB_GETPARTS, (WPARAM)count, (LPARAM)edges.data());
    edges[(size_t)index] = right;
    return SendMessage(SB_SETPARTS, (WPARAM)count, (LPARAM)edges.data()) != 0;
}

int SStatusBarCtrl::GetPartCount()
{
    return (int)SendMessage(SB_GETPARTS);
}

bool SStatusBarCtrl::SetText(int part, const char* text)
{
    if (part < 0 || part >= GetPartCount())
        return false;
    return SendMessage(SB_SETTEXTA, (WPARAM)part, (LPARAM)(text ? text : "")) != 0;
}

LRESULT SStatusBarCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_PARENT_SIZED)
        SendMessage(WM_SIZE);
    SControlForwardMouse(this, msg, lParam, SBLOCK_STATUSBAR);
    return SWnd::OnMessage(msg, wParam, lParam);
}
