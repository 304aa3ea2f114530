#include "SExListCtrl.h"

#include <stdlib.h>
#include <string.h>

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

// The order of two numbers by the numeric sort's rule: equal ones never compare equal.
int CompareNumbers(double first, double second, const SExListCtrl::_SSortInfo* info)
{
    int result = second >= first ? -1 : 1;
    return info->ascending ? result : -result;
}

int CompareStrings(const SString& first, const char* second, const SExListCtrl::_SSortInfo* info)
{
    int result = info->caseSensitive ? first.Compare(second) : first.CompareNoCase(second);
    return info->ascending ? result : -result;
}

// The sort keys of every item, read once before the sort, and the way from an item's
// caller value to its keys: the list view hands its sort nothing but the values.
class SortKeys
{
public:
    const SExListCtrl::_SSortInfo* info = nullptr;
    std::vector<SString> texts;
    std::vector<double> numbers;
    std::vector<LPARAM> values;

    // Makes the table from each value to its item; false when two items share a value.
    bool IndexValues()
    {
        size_t size = 16;
        while (size < values.size() * 2)
            size *= 2;
        m_mask = size - 1;
        m_slots.assign(size, -1);
        for (size_t i = 0; i < values.size(); i++)
        {
            size_t slot = Slot(values[i]);
            while (m_slots[slot] >= 0)
            {
                if (values[(size_t)m_slots[slot]] == values[i])
                    return false;
                slot = (slot + 1) & m_mask;
            }
            m_slots[slot] = (int)i;
        }
        m_byValue = true;
        return true;
    }
    // The item of a value (the value is the item itself when the items were given their
    // positions as values for the sort); -1 for a value no item had.
    int ItemOf(LPARAM value) const
    {
        if (!m_byValue)
            return value >= 0 && (size_t)value < values.size() ? (int)value : -1;
        for (size_t slot = Slot(value); m_slots[slot] >= 0; slot = (slot + 1) & m_mask)
            if (values[(size_t)m_slots[slot]] == value)
                return m_slots[slot];
        return -1;
    }
    int Compare(int first, int second) const
    {
        if (info->numeric)
            return CompareNumbers(numbers[(size_t)first], numbers[(size_t)second], info);
        return CompareStrings(texts[(size_t)first], texts[(size_t)second], info);
    }

private:
    size_t Slot(LPARAM value) const
    {
        unsigned long long mixed = (unsigned long long)value * 0x9E3779B97F4A7C15ull;
        return (size_t)(mixed >> 32) & m_mask;
    }

    std::vector<int> m_slots;
    size_t m_mask = 0;
    bool m_byValue = false;
};

int CALLBACK CompareKeys(LPARAM first, LPARAM second, LPARAM context)
{
    const SortKeys* keys = (const SortKeys*)context;
    int firstItem = keys->ItemOf(first), secondItem = keys->ItemOf(second);
    if (firstItem < 0 || secondItem < 0)
        return 0;
    return keys->Compare(firstItem, secondItem);
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
    if (info->numeric)
        return CompareNumbers(NumberOfText(first), NumberOfText(second), info);
    return CompareStrings(SString(first), second, info);
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
    SortKeys keys;
    keys.info = &info;
    keys.texts.reserve((size_t)count);
    keys.values.reserve((size_t)count);
    for (int i = 0; i < count; i++)
    {
        keys.texts.push_back(GetItemText(i, column));
        keys.values.push_back(GetItemParam(handle, i));
    }
    if (numeric)
    {
        keys.numbers.reserve((size_t)count);
        for (const SString& text : keys.texts)
            keys.numbers.push_back(NumberOfText(text));
    }
    if (keys.IndexValues())
        return SendMessage(LVM_SORTITEMS, (WPARAM)&keys, (LPARAM)CompareKeys) != 0;
    // Items share a value, so a value cannot tell them apart (and the sort by position does
    // not work in every list view): each item has its position as its value for the time of
    // the sort, then its own value back.
    int given = 0;
    while (given < count && SetItemParam(handle, given, (LPARAM)given))
        given++;
    bool sorted = given == count && SendMessage(LVM_SORTITEMS, (WPARAM)&keys, (LPARAM)CompareKeys) != 0;
    for (int i = 0; i < given; i++)
    {
        LPARAM position = GetItemParam(handle, i);
        if (position >= 0 && position < count)
            SetItemParam(handle, i, keys.values[(size_t)position]);
    }
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
