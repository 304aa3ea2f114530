#include "SExListCtrl.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <utility>
#include <vector>

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

// Column texts taken once before a sort, with the items' caller values in value
// order so that the sort's callback finds an item's text from its value.
struct SortSnapshot
{
    const SExListCtrl::_SSortInfo* info;
    std::vector<SString> texts;
    std::vector<std::pair<LPARAM, int>> byValue;

    const SString* TextOf(LPARAM value) const
    {
        auto found = std::lower_bound(byValue.begin(), byValue.end(), std::make_pair(value, INT_MIN));
        if (found == byValue.end() || found->first != value)
            return nullptr;
        return &texts[(size_t)found->second];
    }
};

int CALLBACK CompareSnapshot(LPARAM first, LPARAM second, LPARAM context)
{
    const SortSnapshot* snapshot = (const SortSnapshot*)context;
    const SString* firstText = snapshot->TextOf(first);
    const SString* secondText = snapshot->TextOf(second);
    if (!firstText || !secondText)
        return 0;
    return SExListCtrl::CompareTexts(*firstText, *secondText, snapshot->info);
}

LPARAM GetItemParam(HWND list, int item)
{
    LVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = LVIF_PARAM;
    record.iItem = item;
    if (!::SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&record))
        return 0;
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
    // The list view hands its sort the items' caller values: when they tell the items
    // apart, each one finds its text read once before the sort, and nothing is changed.
    SortSnapshot snapshot;
    snapshot.info = &info;
    snapshot.texts.reserve((size_t)count);
    snapshot.byValue.reserve((size_t)count);
    for (int i = 0; i < count; i++)
    {
        snapshot.texts.push_back(GetItemText(i, column));
        snapshot.byValue.push_back(std::make_pair(GetItemParam(handle, i), i));
    }
    std::sort(snapshot.byValue.begin(), snapshot.byValue.end());
    bool distinct = true;
    for (size_t i = 1; i < snapshot.byValue.size() && distinct; i++)
        distinct = snapshot.byValue[i].first != snapshot.byValue[i - 1].first;
    if (distinct)
        return SendMessage(LVM_SORTITEMS, (WPARAM)&snapshot, (LPARAM)CompareSnapshot) != 0;
    // Shared values: the sort goes by item position, reading the texts as it compares.
    return SendMessage(LVM_SORTITEMSEX, (WPARAM)&info, (LPARAM)CompareItems) != 0;
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
