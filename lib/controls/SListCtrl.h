#pragma once
// A single-column list of text items that the control draws itself over the
// system list box: each item has a text, optional images at both edges and one
// caller value. In extended-selection mode it does the mouse selection itself.
#include <windows.h>
#include <commctrl.h>

#include "SArray.h"
#include "SString.h"
#include "SStringArray.h"
#include "SWnd.h"

class SListCtrl : public SWnd
{
public:
    // Kind 19, system colours, margin 1, no image lists.
    SListCtrl();
    // Deletes every item record and the background brush.
    ~SListCtrl() override;

    // --- creation ---
    // Before Create: every item takes the one height of GetItemHeight, kept up when the font,
    // margin or images change (a fixed-height list box: no item is measured on its own).
    // Otherwise each item keeps the height measured when it was inserted.
    void SetUniformHeight(bool uniform) { m_uniformHeight = uniform; }
    bool HasUniformHeight() const { return m_uniformHeight; }
    // An owner-drawn "LISTBOX" without strings or sorting; WS_CHILD unless WS_POPUP.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // --- items ---
    // Inserts an item at index (-1 appends); its index, -1 when the list box refuses it.
    int InsertItem(const char* text, int index = -1, int leftImage = -1, int rightImage = -1, int data = 0);
    // Makes room in the list box for count more items at once, before a long fill, so it
    // does not grow its table item by item; false without a window or when refused.
    bool ReserveItems(int count);
    // Inserts one item per text, in order, from index (-1, below or past the end: appended);
    // returns how many were inserted, 0 without a window or texts.
    int InsertItems(const SStringArray* texts, int index = -1);
    // Deletes one item; false when there is no such item or the list box refuses.
    bool DeleteItem(int index);
    // Deletes the selected items; the number deleted (stops at a deletion that fails).
    int DeleteSelected();
    // Deletes every item.
    void RemoveAll();
    // Moves an item to another place, keeping its selected state; the new index or -1.
    int MoveItem(int from, int to);
    // Number of items (0 without a window).
    int GetCount();
    // The item's text; "" for no item.
    SString GetItemText(int index);
    // Text of the first selected item; "" when nothing is selected.
    SString GetSelectedText();
    // The item's caller value (0 for no item).
    int GetItemData(int index);
    // Image indexes of an item (-1 for none or no item).
    int GetItemLeftImage(int index);
    int GetItemRightImage(int index);
    // Stores the right image index without redrawing; false for no item.
    bool SetItemRightImage(int index, int image);
    // First item from start whose text equals text ignoring case; -1 when none.
    int FindItem(const char* text, int start = 0);
    // Selects the item of that text (exact) or the first whose text starts with it
    // (ignoring case); its index or -1.
    int SelectString(const char* text, bool exact);

    // --- selection ---
    bool IsSingleSel();
    bool IsExtendedSel();
    bool IsMultipleSel();
    // First selected item; -1 when none.
    int GetCurSel();
    // Selects only this item (-1 clears the selection).
    void SetCurSel(int index);
    // Number of selected items.
    int GetSelCount();
    bool IsSelected(int index);
    // Number of selected items; their indexes are appended to out when given.
    int GetSelection(SArray<int>* out);
    // Selects or deselects one item; ignored outside the list.
    void SetSel(int index, bool select);
    // Inverts one item's selection; the new state.
    bool ToggleSel(int index);
    // Selects or deselects the items first..last.
    void SelectRange(int first, int last, bool select);
    int GetAnchorIndex();
    void SetAnchorIndex(int index);
    int GetTopIndex();
    bool SetTopIndex(int index);
    bool GetItemRect(int index, RECT* rect);
    // The item under a client point; -1 for none (a point below the last item hits nothing).
    int ItemFromPoint(int x, int y);

    // --- look ---
    // Borrowed image lists drawn at the left and right edges (null: none). No redraw.
    void SetLeftImageList(HIMAGELIST images);
    void SetRightImageList(HIMAGELIST images);
    // Selection colours; 0xFF000000 keeps a colour. No redraw.
    void SetSelectionColors(unsigned backColor, unsigned textColor);
    // Spacing unit of the item layout (negative = 0). No redraw.
    void SetMargin(int pixels);
    COLORREF GetTextColor() const { return m_textColor; }
    // Height of every item: twice the margin plus the larger of image and text height.
    int GetItemHeight();
    // Paints one item; false without a window or item record.
    bool DrawItem(DRAWITEMSTRUCT* draw);

    // Brush for the list box background: a solid brush of the back colour, else none.
    HBRUSH OnCtlColorListBox(HDC dc) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // One item, kept as the list box's item data. The control comes first: the
    // window layer finds the control of an item being measured through it.
    struct _SItem
    {
        SWnd* owner;
        SString text;
        int leftImage;
        int rightImage;
        int data;
    };

    _SItem* GetItem(int index);
    // Gives every item the current item height when the list has uniform heights.
    void ApplyUniformHeight();
    void ButtonDownSelection(UINT msg, WPARAM keys, int hit);
    void NotifySelection();
    void StoreImageList(HIMAGELIST images, HIMAGELIST* list, int* width, int* height);

    HBRUSH m_backBrush;
    COLORREF m_textColor;
    COLORREF m_selectionBackColor;
    COLORREF m_selectionTextColor;
    int m_margin;
    HIMAGELIST m_leftImages;
    HIMAGELIST m_rightImages;
    int m_leftWidth, m_leftHeight;
    int m_rightWidth, m_rightHeight;
    // Text height of the window's font, measured once per font (-1: not yet).
    int m_textHeight;
    bool m_uniformHeight;
};
