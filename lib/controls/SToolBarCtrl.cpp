#include "SToolBarCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

#if !defined(_WIN64)
static_assert(sizeof(TBBUTTON) == 20, "the tool bar button record is 20 bytes");
#endif

SToolBarCtrl::SToolBarCtrl() : m_images(nullptr)
{
    SetKind(SKIND_TOOLBAR);
}

SToolBarCtrl::~SToolBarCtrl()
{
    m_notify.Destroy();
}

bool SToolBarCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                          LPARAM creationParam)
{
    DWORD created = SControlStyle(style & ~(DWORD)TBSTYLE_FLAT, CCS_NODIVIDER);
    if (!CreateSubclassed(TOOLBARCLASSNAMEA, "", created, exStyle, rect, parent, id, creationParam,
                          GetInstance()))
        return false;
    if (style & TBSTYLE_FLAT)
        SetStyle(GetStyle() | TBSTYLE_FLAT);
    return true;
}

bool SToolBarCtrl::AddButton(int commandId, int image, const char* text, int style, int state, DWORD_PTR data)
{
    if (!GetHandle())
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    button.iBitmap = image;
    button.idCommand = commandId;
    button.fsState = (BYTE)state;
    button.fsStyle = (BYTE)style;
    button.dwData = data;
    button.iString = (INT_PTR)text;
    return SendMessage(TB_ADDBUTTONSA, 1, (LPARAM)&button) != 0;
}

bool SToolBarCtrl::AddButtons(const TBBUTTON* buttons, int count)
{
    if (!GetHandle() || !buttons || count <= 0)
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return SendMessage(TB_ADDBUTTONSA, (WPARAM)count, (LPARAM)buttons) != 0;
}

bool SToolBarCtrl::AddSeparator(int commandId, int width)
{
    return AddButton(commandId, width, nullptr, TBSTYLE_SEP, TBSTATE_ENABLED, 0);
}

bool SToolBarCtrl::DeleteButton(int index)
{
    if (index < 0 || index >= GetButtonCount())
        return false;
    return SendMessage(TB_DELETEBUTTON, (WPARAM)index) != 0;
}

int SToolBarCtrl::GetButtonCount()
{
    return (int)SendMessage(TB_BUTTONCOUNT);
}

void SToolBarCtrl::DeleteAllButtons()
{
    // Bounded by the count seen at the start: a refused delete must not loop for ever.
    for (int count = GetButtonCount(); count > 0 && GetButtonCount() > 0; count--)
        SendMessage(TB_DELETEBUTTON, 0);
}

bool SToolBarCtrl::IsButtonChecked(int commandId)
{
    // An unknown command answers -1.
    return (int)SendMessage(TB_ISBUTTONCHECKED, (WPARAM)commandId) > 0;
}

bool SToolBarCtrl::CheckButton(int commandId, bool check)
{
    return SendMessage(TB_CHECKBUTTON, (WPARAM)commandId, check ? 1 : 0) != 0;
}

bool SToolBarCtrl::EnableButton(int commandId, bool enable)
{
    return SendMessage(TB_ENABLEBUTTON, (WPARAM)commandId, enable ? 1 : 0) != 0;
}

int SToolBarCtrl::GetButtonHeight()
{
    return HIWORD(SendMessage(TB_GETBUTTONSIZE));
}

bool SToolBarCtrl::SetBitmapSize(int width, int height)
{
    return SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(width, height)) != 0;
}

SIZE SToolBarCtrl::GetMaxSize()
{
    SIZE size = {0, 0};
    SendMessage(TB_GETMAXSIZE, 0, (LPARAM)&size);
    return size;
}

void SToolBarCtrl::SetImageList(HIMAGELIST images)
{
    m_images = images;
    SendMessage(TB_SETIMAGELIST, 0, (LPARAM)images);
    int width = 0, height = 0;
    if (images && ImageList_GetIconSize(images, &width, &height))
        SetBitmapSize(width, height);
}

void SToolBarCtrl::SetTransparent(bool transparent)
{
    DWORD style = GetStyle();
    DWORD wanted = transparent ? (style | TBSTYLE_TRANSPARENT) : (style & ~(DWORD)TBSTYLE_TRANSPARENT);
    if (wanted != style)
        SetStyle(wanted);
}

bool SToolBarCtrl::IsTransparent() const
{
    return (GetStyle() & TBSTYLE_TRANSPARENT) != 0;
}

LRESULT SToolBarCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        // The bar's commands go to a hidden child of its own, which passes them on.
        m_notify.m_toolBar = this;
        if (!m_notify.Create("", WS_CHILD, 0, nullptr, GetHandle()))
            return 1;
        m_notify.SetOwnerObject(this);
        SendMessage(CCM_SETUNICODEFORMAT, 0);
        SendMessage(TB_SETPARENT, (WPARAM)m_notify.GetHandle());
        if (GetStyle() & TBSTYLE_TOOLTIPS)
            SendMessage(TB_SETMAXTEXTROWS, 0);
        break;
    }
    case WM_DESTROY:
        m_notify.Destroy();
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

LRESULT SToolBarCtrl::_SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && lParam)
    {
        SWnd* source = FindWndByHandle((HWND)lParam);
        if (source && source->GetKind() == SKIND_TOOLBAR)
        {
            HWND holder = ::GetParent((HWND)lParam);
            if (holder)
                ::SendMessageA(holder, ControlMessage(SBLOCK_TOOLBAR), (WPARAM)source, LOWORD(wParam));
        }
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
