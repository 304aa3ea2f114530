#pragma once
// A two-column property grid: named groups with a title row and typed items,
// a name column and a value column edited in place. Every change the user makes
// passes the OnItemChanged veto, then is announced to the parent.
#include <windows.h>
#include <stdint.h>

#include "SArray.h"
#include "SControl.h"
#include "SEditCtrl.h"
#include "SImage.h"
#include "SListCtrl.h"
#include "SString.h"
#include "SStringArray.h"
#include "SWnd.h"

// Notifications to the parent.
const UINT SPROPERTY_MOUSE = ControlMessage(SBLOCK_PROPERTY, 0);
const UINT SPROPERTY_SCROLLED = ControlMessage(SBLOCK_PROPERTY, 1);     // wParam the control
const UINT SPROPERTY_ITEM_CHANGED = ControlMessage(SBLOCK_PROPERTY, 2); // lParam group | item << 16

class SPropertyCtrl : public SWnd
{
public:
    // Value kinds of an item.
    enum
    {
        KIND_TEXT = 0, KIND_YESNO = 1, KIND_COLOR = 2, KIND_EDIT = 3, KIND_INTEGER = 4, KIND_REAL = 5,
        KIND_FONT = 6, KIND_CHOICE = 7
    };

    // One item: a typed value with its caption.
    class _SItem
    {
    public:
        _SItem();
        // The key (before the first '|') and the label (after it) of a choice; "" outside.
        SString GetChoiceKey(int index) const;
        SString GetChoiceLabel(int index) const;
        // The first choice whose key equals (case-sensitive); -1 if none.
        int FindChoice(const char* key) const;
        int GetChoiceIndex() const { return FindChoice(text); }

        SString name;
        SString caption;
        int kind;
        bool flag;
        SString text;
        SStringArray choices;
        uint32_t color;
        SString fontName;
        int fontSize;
        int fontStyle;
        bool mixed;
    };

    // One group: a title row and its items (owned).
    class _SGroup
    {
    public:
        _SGroup();
        ~_SGroup();
        _SGroup(const _SGroup&) = delete;
        _SGroup& operator=(const _SGroup&) = delete;
        // Index of the first item of that name; -1 if none.
        int FindItem(const char* itemName) const;

        SString name;
        SString caption;
        bool expanded;
        SArray<_SItem*> items;
    };

    // The in-place edit box of text, integer and real items.
    class _SEditCtrl : public SEditCtrl
    {
    public:
        _SEditCtrl();
        // Closes once: commits the text when asked, destroys the box, redraws the grid when asked.
        void Close(bool commit, bool redraw);
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

        SPropertyCtrl* owner;
        int group;
        SPropertyCtrl::_SItem* item;
        bool closing;
    };

    class _SWndList;
    // The drop-down list of choice items.
    class _SListCtrl : public SListCtrl
    {
    public:
        _SListCtrl();
        // Closes once: commits the selected entry when asked, destroys list and host.
        void Close(bool commit, bool redraw);
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

        _SWndList* host;
        SPropertyCtrl* owner;
        int group;
        SPropertyCtrl::_SItem* item;
        bool closing;
    };

    // The pop-up window holding the drop-down list.
    class _SWndList : public SWnd
    {
    public:
        _SListCtrl list;
    };

    SPropertyCtrl();
    ~SPropertyCtrl() override;

    // Adds a group at index (< 0 or past the end appends); -1 when the name exists.
    int AddGroup(const char* name, const char* caption, int index, bool expanded);
    // Adds or updates an item of a group (-1 the last); its index, -1 without such a group.
    int SetItem(int group, const char* name, const char* caption, int kind, const char* value,
                const SStringArray* choices, int index);
    int FindGroup(const char* name) const;
    _SItem* FindItem(int group, const char* name) const;
    int FindItemIndex(int group, const char* name) const;
    _SItem* GetItem(int group, int index) const;
    _SGroup* GetGroup(int index) const { return m_groups.GetAt(index); }
    int GetGroupCount() const { return m_groups.GetCount(); }
    // The group and index of an item record; false when it is not in the grid.
    bool FindItemPosition(const _SItem* item, int* group, int* index) const;

    // Rows: title rows and the items of expanded groups.
    int GetVisibleRowCount() const;
    // Every title row and item, as if every group were expanded.
    int GetRowCount() const;
    // The group of a visible row; -1 past the end.
    int RowToGroup(int row) const;
    // The item index of a visible row; -1 for a title row or past the end.
    int RowToItem(int row) const;
    // The visible row of an item; -1 when its group is collapsed or it is absent.
    int ItemToRow(int group, int index) const;

    void SetCurSel(int row, bool redraw);
    int GetSelRow() const { return m_selRow; }
    int GetSelGroup() const { return m_selRow < 0 ? -1 : m_selGroup; }
    int GetSelItem() const { return m_selRow < 0 ? -1 : m_selItem; }
    // Closes the in-place editor and the list without committing.
    void CancelEdit(bool redraw);
    // Deletes every group and item.
    void Clear();
    // Deletes the groups without items; the group count.
    int RemoveEmptyGroups();
    // The choice texts back to "No", "Yes", "Default".
    void ResetChoiceTexts();
    // Replaces a choice text (0 "No", 1 "Yes", 2 "Default"), e.g. from a label table.
    void SetChoiceText(int index, const char* text);
    SString GetChoiceText(int index) const { return m_choiceTexts.GetAt(index); }
    void SetNameWidth(int width);
    int GetNameWidth() const { return m_nameWidth; }
    int GetRowHeight() const { return m_rowHeight; }

    // The row under a client point with its group, item and whether it is in the value column.
    int HitTest(int x, int y, int* group, int* item, bool* inValue) const;
    // Part 0 name cell, 1 value cell, other whole row; false unless wholly in the window.
    bool GetRowRect(RECT* rect, int row, int part) const;
    // The n-th 14-pixel button from the right of a row's value cell.
    bool GetButtonRect(RECT* rect, int row, int n) const;
    // The text shown in an item's value cell.
    SString GetValueText(const _SItem* item) const;

    void UpdateScrollBar();
    // Brings the scroll bar and the picture up to date with items added since (done before any
    // other message is handled, so nothing sees them out of date).
    void FlushPendingLayout();
    // Starts changing an item in place (alternative: the system colour pop-up for colours).
    void BeginEdit(int row, int group, int item, bool alternative);
    void Paint(HDC dc);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The open in-place editors (tests and owners look at them).
    _SEditCtrl* GetEditBox() { return m_edit.GetHandle() ? &m_edit : nullptr; }
    _SListCtrl* GetDropList() { return m_listHost.list.GetHandle() ? &m_listHost.list : nullptr; }

    // Called after every scroll of the grid.
    virtual void OnScroll();
    // The veto: the item holds the new value; false restores the old one.
    virtual bool OnItemChanged(int group, _SItem* item);

private:
    // The value fields of an item, kept to restore on a veto.
    struct SavedValue
    {
        bool flag;
        SString text;
        uint32_t color;
        SString fontName;
        int fontSize;
        int fontStyle;
    };
    static SavedValue Save(const _SItem* item);
    static void Restore(_SItem* item, const SavedValue& saved);
    // Asks the veto, then announces or restores; redraws when asked.
    void Commit(int group, _SItem* item, const SavedValue& saved, bool redraw);
    // Cycles a choice item to its next key; false when its text is no key.
    bool CycleChoice(int group, _SItem* item);
    void OpenDropDown(int row, int group, _SItem* item, const RECT& work);
    void OpenEditBox(int group, _SItem* item, const RECT& work);
    void ChooseColorDialog(int group, _SItem* item);
    void ChooseFontDialog(int group, _SItem* item);
    void DragColumn(int pressX);
    void OnLeftButtonDown(int x, int y);
    void OnDoubleClick(int x, int y);
    void OnKeyDown(WPARAM key);
    void Scrolled();
    bool NearBoundary(int x) const;
    void DrawItemRow(HDC dc, int group, int index, int y, int row);
    void BuildGlyphs();
    // Adding an item only marks the layout out of date; one posted message brings it up to date,
    // so that filling the grid costs one scroll-bar update rather than one per item.
    void ScheduleLayout();

    COLORREF m_titleStart, m_titleEnd, m_valueStart, m_valueEnd;
    HPEN m_gridPen;
    HBRUSH m_backBrush, m_titleTextBrush, m_nameBrush, m_textBrush, m_selectedBrush, m_selectedTextBrush;
    HFONT m_guiFont, m_itemFont, m_titleFont;
    SImage m_glyphs[8];
    SStringArray m_choiceTexts;
    int m_rowHeight, m_nameWidth;
    SArray<_SGroup*> m_groups;
    int m_selRow, m_selGroup, m_selItem;
    bool m_layoutPending;
    _SEditCtrl m_edit;
    _SWndList m_listHost;
};
