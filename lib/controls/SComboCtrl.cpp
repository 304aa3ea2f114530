#include "SComboCtrl.h"

#include "SControl.h"

SComboCtrl::SComboCtrl()
{
    SetKind(SKIND_COMBO);
}

SComboCtrl::~SComboCtrl() = default;

bool SComboCtrl::Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                        LPARAM creationParam)
{
    return CreateSubclassed("COMBOBOX", text ? text : "", SControlStyle(style), exStyle, rect, parent, id,
                            creationParam);
}

int SComboCtrl::AddString(const char* text, int index)
{
    if (!GetHandle())
        return -1;
    LRESULT at = index < 0 ? SendMessage(CB_ADDSTRING, 0, (LPARAM)(text ? text : ""))
                           : SendMessage(CB_INSERTSTRING, (WPARAM)index, (LPARAM)(text ? text : ""));
    return at < 0 ? -1 : (int)at;
}

int SComboCtrl::DeleteString(int index)
{
    if (!GetHandle())
        return CB_ERR;
    return (int)SendMessage(CB_DELETESTRING, (WPARAM)index, 0);
}

void SComboCtrl::ResetContent()
{
    SendMessage(CB_RESETCONTENT, 0, 0);
}

int SComboCtrl::GetCount()
{
    if (!GetHandle())
        return 0;
    LRESULT count = SendMessage(CB_GETCOUNT, 0, 0);
    return count > 0 ? (int)count : 0;
}

int SComboCtrl::GetCurSel()
{
    if (!GetHandle())
        return -1;
    LRESULT selected = SendMessage(CB_GETCURSEL, 0, 0);
    return selected < 0 ? -1 : (int)selected;
}

bool SComboCtrl::SetCurSel(int index)
{
    if (!GetHandle())
        return false;
    return SendMessage(CB_SETCURSEL, (WPARAM)index, 0) != CB_ERR;
}

int SComboCtrl::FindStringExact(const char* text, int start)
{
    if (!GetHandle())
        return -1;
    LRESULT found = SendMessage(CB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)(text ? text : ""));
    return found < 0 ? -1 : (int)found;
}

int SComboCtrl::SelectString(const char* text, bool exact, int start)
{
    if (!GetHandle())
        return -1;
    if (!exact)
    {
        LRESULT found = SendMessage(CB_SELECTSTRING, (WPARAM)start, (LPARAM)(text ? text : ""));
        return found < 0 ? -1 : (int)found;
    }
    int found = FindStringExact(text, start);
    if (found >= 0)
        SetCurSel(found);
    return found;
}

SString SComboCtrl::GetLBText(int index)
{
    if (index < 0 || index >= GetCount())
        return SString();
    LRESULT length = SendMessage(CB_GETLBTEXTLEN, (WPARAM)index, 0);
    if (length <= 0)
        return SString();
    SString text;
    char* buffer = text.SetLength((int)length);
    if (!buffer)
        return SString();
    LRESULT got = SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer);
    if (got == CB_ERR || got < 0)
        return SString();
    text.SetLength(got < length ? (int)got : (int)length);
    return text;
}

SString SComboCtrl::GetSelectedText()
{
    return GetLBText(GetCurSel());
}

LRESULT SComboCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SWnd::OnMessage(msg, wParam, lParam);
}
