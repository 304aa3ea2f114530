#pragma once
// A Win32 menu bar or popup menu whose items carry a record of their own, and
// the reader of the menu text "TAVRIN MENU 1.0.0.0".
#include <windows.h>
#include <commctrl.h>

#include "SArray.h"
#include "SImage.h"
#include "SMessages.h"
#include "SString.h"

class SFile;
class SImageList;
class SResource;
class SWnd;

// Library notification sent to the window that received a menu command:
// wParam the SMenu, lParam the command id.
const UINT SMENU_COMMAND = ControlMessage(17);

class SMenu
{
public:
    // Record of one item, kept as the item's item data; the menu is its first field.
    struct _SItem
    {
        _SItem();
        ~_SItem();
        _SItem(const _SItem&) = delete;
        _SItem& operator=(const _SItem&) = delete;

        SMenu* menu;
        int id;
        int data;
        SString caption;
        int imageIndex;
        SImage image;
        HBITMAP bitmap;
        bool isSeparator;
    };

    SMenu();
    // Destroys the menu and every item record.
    virtual ~SMenu();
    SMenu(const SMenu&) = delete;
    SMenu& operator=(const SMenu&) = delete;

    // Size of an owner-drawn item with an image; false for items without one.
    virtual bool MeasureItem(_SItem* item, MEASUREITEMSTRUCT* measure);
    // Draws the item's image into the item rectangle; false for items without one.
    virtual bool DrawItem(_SItem* item, DRAWITEMSTRUCT* draw);
    // Called when an item was chosen; empty by default.
    virtual void OnCommand(int position, int id);

    // Creates a menu bar (the previous menu is destroyed first).
    bool CreateMenuBar(HWND owner, int userValue = 0);
    // Creates a popup menu (the previous menu is destroyed first).
    bool CreatePopup(HWND owner, int userValue = 0);
    // Removes every item, destroys the menu and forgets the owner's value.
    void Destroy();

    // Image list whose cells the items show (not owned); null for none.
    void SetImageList(HIMAGELIST list);
    HIMAGELIST GetImageList() const { return m_imageList; }
    // Cell size of the image list; 0 x 0 without one.
    int GetIconWidth() const { return m_iconWidth; }
    int GetIconHeight() const { return m_iconHeight; }
    // The menu's name, kept for its owner.
    void SetName(const char* name);
    const SString& GetName() const { return m_name; }
    // Value given at creation.
    int GetUserValue() const { return m_userValue; }
    // Window that receives the commands and owns the popup.
    HWND GetOwnerWindow() const { return m_ownerWindow; }
    // The Win32 menu; null before creation.
    HMENU GetHandle() const { return m_handle; }

    // Inserts a command item at a position (below 0 or past the end appends).
    bool InsertItem(int id, const char* caption, int imageIndex = -1, int position = -1, int data = 0,
                    bool checked = false, bool disabled = false);
    // Inserts an item that opens another menu.
    bool InsertSubMenu(int id, SMenu* submenu, const char* caption, int imageIndex = -1, int position = -1,
                       int data = 0, bool checked = false, bool disabled = false);
    // Inserts a separator (popup menus only).
    bool InsertSeparator(int id = 0, int position = -1);
    // Removes every item and deletes its record; false when an item could not be removed cleanly.
    bool RemoveAll();

    // Number of items; 0 without a menu.
    int GetItemCount() const;
    // True when created as a menu bar.
    bool IsMenuBar() const { return m_isMenuBar; }

    // Position of the first item with this command id; -1 when none.
    int FindPosition(int id) const;
    // Record of the item at a position; null when there is none.
    _SItem* GetItemRecord(int position) const;
    // Command id of the item at a position; 0 when none.
    int GetItemId(int position) const;
    // Record of the item with this command id; null when none.
    _SItem* GetItemByCommand(int id) const;

    // Greys or enables the item with this command id.
    void EnableItem(int id, bool enable);
    // Checks or unchecks the item with this command id.
    void CheckItem(int id, bool check);
    // True when the item with this command id is shown checked.
    bool IsItemChecked(int id) const;
    // True when the item with this command id is shown greyed.
    bool IsItemDisabled(int id) const;
    // Sets the Windows text of the item with this command id.
    bool SetItemText(int id, const char* text);
    // The Windows text of the item with this command id; "" when none.
    SString GetMenuItemText(int id) const;
    // Sets the caption kept in the record of the item with this command id.
    bool SetItemCaption(int id, const char* text);
    // The caption kept in the record of the item with this command id; "" when none.
    SString GetItemText(int id) const;

    // Shows the popup at a screen point; commands go to the notify window or the owner.
    bool TrackPopup(int x, int y, UINT flags, HWND notify = nullptr);
    // Shows the popup for an owner window brought to the foreground first.
    bool TrackPopupFor(SWnd* owner, int x, int y, UINT flags, HWND notify = nullptr);
    // Screen point at which a popup was last shown.
    static POINT GetLastPopupPoint();

    // The record behind an item data value when it belongs to a live menu; else null.
    static _SItem* FindRecord(ULONG_PTR itemData);
    // The live menu of a menu handle; null when the handle is not a library menu.
    static SMenu* FindMenu(HMENU handle);
    // WM_MENUCOMMAND received by a window: calls OnCommand and sends SMENU_COMMAND to it.
    static bool HandleMenuCommand(HWND window, HMENU menu, int position);
    // WM_MEASUREITEM of a menu item: the record's menu measures it.
    static bool HandleMeasureItem(MEASUREITEMSTRUCT* measure);
    // WM_DRAWITEM of a menu item: the record's menu draws it.
    static bool HandleDrawItem(DRAWITEMSTRUCT* draw);

private:
    bool Create(HWND owner, int userValue, bool menuBar);
    bool AddItem(int id, SMenu* submenu, const char* caption, int imageIndex, int position, int data,
                 bool checked, bool disabled);
    bool InsertRecord(_SItem* record, MENUITEMINFOA* info, int position);
    int ClampPosition(int position) const;
    void DeleteRecord(_SItem* record);

    HIMAGELIST m_imageList;
    int m_iconWidth, m_iconHeight;
    SString m_name;
    int m_userValue;
    HWND m_ownerWindow;
    HMENU m_handle;
    bool m_isMenuBar;
    // The records of this menu's items, so none is lost when the Win32 menu goes away first.
    SArray<_SItem*> m_records;
    // Neighbours in the list of live menus.
    SMenu* m_previousLive;
    SMenu* m_nextLive;
};

// Gives a new menu object for the menu text reader; null fails the text.
typedef SMenu* (*SMenuFactory)(void* context);
// Turns an item name of the menu text into a command id.
typedef int (*SMenuNameToId)(void* context, const char* name);

// Builds the menus of a "TAVRIN MENU 1.0.0.0" text into the array (menu 0 the bar when menuBar);
// images come from the pack into the image list. False leaves the array empty.
bool LoadMenuResource(bool menuBar, HWND owner, SFile* text, SArray<SMenu*>* menus, SImageList* imageList,
                      SResource* pack, void* context = nullptr, SMenuFactory newMenu = nullptr,
                      SMenuNameToId nameToId = nullptr);
