#pragma once
// A strip of document tabs above a document area. Each tab owns a host window
// filling the area below the strip; only the selected tab's host is shown. The
// parent is asked before the user selects, moves or closes a tab, and tabs can
// be dragged into other tab controls linked to this one.
#include <windows.h>

#include "SArray.h"
#include "SControl.h"
#include "SMenu.h"
#include "SString.h"
#include "SWnd.h"

namespace Gdiplus
{
class Font;
class Graphics;
}
class SSplitterDragInput;

// Notifications to the parent (wParam the control).
const UINT STABDOC_MOUSE = ControlMessage(SBLOCK_TABDOC, 0);
const UINT STABDOC_SELECTING = ControlMessage(SBLOCK_TABDOC, 1); // lParam new << 16 | old; non-zero refuses
const UINT STABDOC_MOVING = ControlMessage(SBLOCK_TABDOC, 2);    // lParam new << 16 | old; non-zero refuses
const UINT STABDOC_CLOSING = ControlMessage(SBLOCK_TABDOC, 3);   // lParam the index; non-zero keeps the tab
const UINT STABDOC_COMMAND = ControlMessage(SBLOCK_TABDOC, 4);   // lParam the popup menu command id

class STabDocCtrl : public SWnd
{
public:
    class _SItem;

    // The host of one tab: the application puts its document windows in it.
    class _SWnd : public ::SWnd
    {
    public:
        _SWnd();
        // The document windows are hidden and detached first, so they survive the host.
        ~_SWnd() override;
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

        STabDocCtrl* owner; // the tab control that shows the tab
        _SItem* tab;        // the tab this host belongs to
    };

    // One tab: its value, caption, host window and modified mark.
    class _SItem
    {
    public:
        _SItem();
        _SItem(const _SItem&) = delete;
        _SItem& operator=(const _SItem&) = delete;

        // The caption, followed by "*" when modified.
        SString GetDisplayText() const;

        int value;
        SString caption;
        _SWnd host;
        bool modified;
    };

    STabDocCtrl();
    ~STabDocCtrl() override;

    // Installs the drag input (null: the real mouse); returns the previous one.
    static SSplitterDragInput* SetDragInput(SSplitterDragInput* input);

    // Adds a tab at index (< 0 or past the end appends) and selects it; the selected index.
    int AddTab(const char* caption, int index, int value);
    // Selects a tab (outside the tabs: none) and shows only its host; no notification.
    void SelectTab(int index);
    // Deletes a tab; its successor (or predecessor at the end) becomes selected.
    void RemoveTab(int index);
    // Deletes every tab.
    void RemoveAllTabs();
    // Moves a tab to another position (-1 or past the end: the last); the selection follows.
    void MoveTab(int from, int to);
    // Takes over the tab of another control and selects it; false for null.
    bool AttachTab(_SItem* tab);
    // Hands a tab to another control; false for a bad index or a null target.
    bool TransferTab(int index, STabDocCtrl* target);

    // Colours: 0xFF000000 keeps the colour.
    void SetColors(unsigned stripBack, unsigned selectedBack, unsigned windowBack);
    void SetTextColors(unsigned text, unsigned selectedText);
    // Whether the selected tab shows a close button (layout follows).
    void SetCloseButton(bool on);
    bool HasCloseButton() const { return m_closeButton; }
    // Whether tabs can be reordered and handed over by dragging.
    void SetMoveEnabled(bool on) { m_moveEnabled = on; }
    bool IsMoveEnabled() const { return m_moveEnabled; }
    // Sets the modified mark of a tab; false for a bad index.
    bool SetModified(int index, bool modified);

    int GetCurSel() const { return m_selected; }
    int GetTabCount() const { return m_tabs.GetCount(); }
    // The tab record; null for a bad index.
    _SItem* GetTab(int index) const { return m_tabs.GetAt(index); }

    // Registers another tab control that accepts dropped tabs; false for null or a duplicate.
    bool AddLinkedWindow(HWND window);
    int GetLinkedWindowCount() const { return m_linked.GetCount(); }
    // The control of a registered handle; null when it no longer exists.
    STabDocCtrl* GetLinkedWindow(int index) const;

    // The popup menu the right button opens on a tab (empty until the application fills it).
    SMenu* GetPopupMenu() { return &m_menu; }

    // Layout results: a tab's rectangle (empty when not shown), the buttons, the strip.
    RECT GetTabRect(int index) const;
    RECT GetCloseRect() const { return m_closeRect; }
    RECT GetRightArrowRect() const { return m_rightRect; }
    RECT GetLeftArrowRect() const { return m_leftRect; }
    int GetStripHeight() const { return m_stripHeight; }
    int GetFirstShown() const { return m_firstShown; }
    int GetShownCount() const { return m_shownCount; }
    // Tabs follow the shown ones.
    bool HasHiddenTabsRight() const { return m_firstShown + m_shownCount < m_tabs.GetCount(); }

    // Places the hosts and buttons, then the tabs.
    void Layout();
    // Lays out the tab rectangles from the first shown tab on.
    void LayoutTabs();
    void Paint(HDC dc);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Called by a host for each of its messages; false makes the host return *result.
    virtual bool OnChildMessage(_SItem* tab, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    void OnCreated();
    void ShowSelected();
    // Takes a tab out of the list without deleting it; the selection is mended.
    _SItem* DetachTab(int index);
    void DeleteTab(_SItem* tab);
    void MakeFonts();
    void DeleteFonts();
    // The shown tab under a client point; -1 when none.
    int HitTestTab(int x, int y) const;
    // Asks the parent whether the selection may move; selects on a zero answer.
    bool AskSelect(int index);
    // Asks the parent whether the selected tab may close; removes it on a zero answer.
    void AskClose();
    void OnButtonDown(int x, int y, bool left);
    void DragTab(int tab);
    void OnButtonClick(int x, int y);
    // The hovered button: 0 close, 1 right, 2 left, -1 none.
    int HoverButton() const;
    int DrawnButtonAt(POINT point) const;

    COLORREF m_stripBack, m_selectedBack, m_text, m_selectedText, m_windowBack;
    Gdiplus::Font* m_font;
    Gdiplus::Font* m_boldFont;
    SMenu m_menu;
    SArray<HWND> m_linked;
    bool m_closeButton, m_moveEnabled;
    RECT m_closeRect, m_rightRect, m_leftRect;
    SArray<_SItem*> m_tabs;
    SArray<RECT> m_rects;
    int m_selected;
    int m_stripHeight, m_margin, m_separator, m_bottomLine, m_buttonSize;
    int m_firstShown, m_shownCount;
    int m_hover;
};
