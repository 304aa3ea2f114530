#include "SExListCtrl.h"

#include <stdlib.h>
#include <string.h>

#include "SControl.h"

namespace
{

// A column text read as a number once its blanks are gone ("1 000" is 1000).
double NumberOfText(const char* text)
{
    char buffer[512];
    int length = 0;
    for (const char* p = text ? text : ""; *p && length < (int)sizeof(buffer) - 1; p++)
        if (*p != ' ')
            buffer[length++] = *p;
    buffer[length] = 0;
    return atof(buffer);
}

// Column texts taken once before a sort, found by the position each item had then.
struct SortSnapshot
{
    const SExListCtrl::_SSortInfo* info;
    SString* texts;
};

int CALLBACK CompareSnapshot(LPARAM first, LPARAM second, LPARAM context)
{
    const SortSnapshot* snapshot = (const SortSnapshot*)context;
    return SExListCtrl::CompareTexts(snapshot->texts[first], snapshot->texts[second], snapshot->info);
}

bool SetItemParam(HWND list, int item, LPARAM value)
{
    LVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = LVIF_PARAM;
    record.iItem = item;
    record.lParam = value;
    return ::SendMessageA(list, LVM_SETITEMA, 0, (LPARAM)&record) != 0;
}

LPARAM GetItemParam(HWND list, int item)
{
    LVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = LVIF_PARAM;
    record.iItem = item;
    if (!::SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&record))
        return -1;
    return record.lParam;
}

}

SExListCtrl::SExListCtrl()
{
    SetKind(SKIND_EXLIST);
}

SExListCtrl::~SExListCtrl() = default;

bool SExListCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM creationParam)
{
    return CreateSubclassed(WC_LISTVIEWA, "", SControlStyle(style, LVS_SHAREIMAGELISTS), exStyle, rect, parent,
                            id, creationParam);
}

void SExListCtrl::SetBackColor(unsigned color)
{
    if (!GetHandle())
        return;
    COLORREF value = color == SCOLOR_NONE ? GetSysColor(COLOR_WINDOW)
                     : color == SCOLOR_TRANSPARENT ? CLR_NONE
                                                   : SControlColorRef(color);
    SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)value);
    SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)value);
}

unsigned SExListCtrl::GetBackColor()
{
    return GetHandle() ? (unsigned)SendMessage(LVM_GETBKCOLOR, 0, 0) : 0;
}

void SExListCtrl::SetExtendedStyle(DWORD styles)
{
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)styles);
}

SString SExListCtrl::GetItemText(int item, int subItem)
{
    if (!GetHandle() || item < 0)
        return SString();
    char buffer[512];
    buffer[0] = 0;
    LVITEMA record;
    memset(&record, 0, sizeof(record));
    record.iSubItem = subItem;
    record.pszText = buffer;
    record.cchTextMax = (int)sizeof(buffer);
    LRESULT length = SendMessage(LVM_GETITEMTEXTA, (WPARAM)item, (LPARAM)&record);
    if (length <= 0)
        return SString();
    buffer[sizeof(buffer) - 1] = 0;
    return SString(buffer);
}

int SExListCtrl::HitTest(int x, int y, UINT* flags)
{
    if (!GetHandle())
        return -1;
    LVHITTESTINFO hit;
    memset(&hit, 0, sizeof(hit));
    hit.pt.x = x;
    hit.pt.y = y;
    LRESULT item = SendMessage(LVM_HITTEST, 0, (LPARAM)&hit);
    if (flags)
        *flags = hit.flags;
    return item < 0 ? -1 : (int)item;
}

int SExListCtrl::CompareTexts(const char* first, const char* second, const _SSortInfo* info)
{
    int result;
    if (info->numeric)
        result = NumberOfText(second) >= NumberOfText(first) ? -1 : 1;
    else
    {
        SString text(first);
        result = info->caseSensitive ? text.Compare(second) : text.CompareNoCase(second);
    }
    return info->ascending ? result : -result;
}

int CALLBACK SExListCtrl::CompareItems(LPARAM item1, LPARAM item2, LPARAM sortInfo)
{
    const _SSortInfo* info = (const _SSortInfo*)sortInfo;
    if (!info || !info->list)
        return 0;
    SString first = info->list->GetItemText((int)item1, info->column);
    SString second = info->list->GetItemText((int)item2, info->column);
    return CompareTexts(first, second, info);
}

bool SExListCtrl::SortItems(int column, bool ascending, bool caseSensitive, bool numeric)
{
    HWND handle = GetHandle();
    if (!handle)
        return false;
    int count = (int)SendMessage(LVM_GETITEMCOUNT, 0, 0);
    if (count <= 1)
        return true;
    _SSortInfo info = {this, column, (unsigned char)ascending, (unsigned char)caseSensitive, (unsigned char)numeric};
    // The list view hands its sort the caller values, so each item's value briefly
    // becomes its position before the sort; the texts are read once, by position.
    SString* texts = new SString[(size_t)count];
    SArray<LPARAM> values;
    if (!values.SetSize(count, false))
    {
        delete[] texts;
        return false;
    }
    for (int i = 0; i < count; i++)
    {
        texts[i] = GetItemText(i, column);
        values.SetAt(i, GetItemParam(handle, i));
        SetItemParam(handle, i, (LPARAM)i);
    }
    SortSnapshot snapshot = {&info, texts};
    bool sorted = SendMessage(LVM_SORTITEMS, (WPARAM)&snapshot, (LPARAM)CompareSnapshot) != 0;
    for (int i = 0; i < count; i++)
    {
        LPARAM position = GetItemParam(handle, i);
        if (position >= 0 && position < count)
            SetItemParam(handle, i, values.GetAt((int)position));
    }
    delete[] texts;
    return sorted;
}

LRESULT SExListCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN)
    {
        SControlForwardMouse(this, msg, lParam, SBLOCK_EXLIST, 1);
        if (!GetHandle())
            return 0;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
