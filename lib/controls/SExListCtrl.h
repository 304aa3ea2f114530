#pragma once
// Thin wrapper over the system list view "SysListView32" (report lists with
// columns, label editing), with a column sort of its own rules.
#include <windows.h>
#include <commctrl.h>

#include "SString.h"
#include "SWnd.h"

class SExListCtrl : public SWnd
{
public:
    // What a column sort compares: the list, the column and three switches.
    struct _SSortInfo
    {
        SExListCtrl* list;
        int column;
        unsigned char ascending;
        unsigned char caseSensitive;
        unsigned char numeric;
    };

    // Kind 11.
    SExListCtrl();
    ~SExListCtrl() override;

    // "SysListView32" sharing its image lists (LVS_SHAREIMAGELISTS); WS_CHILD unless WS_POPUP.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);
    // Back colour of the list and of its item texts.
    void SetBackColor(unsigned color) override;
    // The list's back colour (0 without a window).
    unsigned GetBackColor() override;
    // Replaces every extended list-view style.
    void SetExtendedStyle(DWORD styles);
    // Text of an item's column (at most 511 characters); "" for none.
    SString GetItemText(int item, int subItem);
    // The item under a client point, -1 for none; the hit flags are stored when asked for.
    int HitTest(int x, int y, UINT* flags = nullptr);
    // Order of two items (by index) in one column per the sort information; the
    // comparison routine of LVM_SORTITEMSEX. A numeric comparison never answers 0,
    // so it is meant for the list view's own sort only.
    static int CALLBACK CompareItems(LPARAM item1, LPARAM item2, LPARAM sortInfo);
    // Sorts the items by one column with the list view's own sort, by the rules of
    // CompareItems; the items keep their caller values. False without a window.
    bool SortItems(int column, bool ascending, bool caseSensitive, bool numeric);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Order of two column texts per the sort information: -1 or 1 (0 only for equal
    // texts outside numeric mode).
    static int CompareTexts(const char* first, const char* second, const _SSortInfo* info);
};
