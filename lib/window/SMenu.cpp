#include "SMenu.h"

#include <gdiplus.h>

#include "SFileMem.h"
#include "SImageList.h"
#include "SIni.h"
#include "SResource.h"
#include "SStringArray.h"
#include "SSystem.h"
#include "SWnd.h"

namespace
{

// Where the last popup was shown, for callers that place things relative to it.
POINT g_lastPopupPoint = { 0, 0 };

// First of the live menu objects, linked through their own fields so that menus that are
// global objects need no container that might be destroyed before them.
SMenu* g_firstLiveMenu = nullptr;

// Limits of a menu text: beyond them the text is taken for damaged.
const int kMaxMenus = 256;
const int kMaxItems = 1024;
const char kMenuMagic[] = "TAVRIN MENU 1.0.0.0";

// Windows versions before Vista draw menu images through owner drawing.
const int kFirstVersionWithMenuBitmaps = 7;

}

SMenu::_SItem::_SItem()
    : menu(nullptr), id(0), data(0), imageIndex(-1), bitmap(nullptr), isSeparator(false)
{
}

SMenu::_SItem::~_SItem()
{
    if (bitmap)
        DeleteObject(bitmap);
}

SMenu::SMenu()
    : m_imageList(nullptr), m_iconWidth(0), m_iconHeight(0), m_userValue(0), m_ownerWindow(nullptr),
      m_handle(nullptr), m_isMenuBar(false), m_previousLive(nullptr), m_nextLive(g_firstLiveMenu)
{
    g_lastPopupPoint.x = 0;
    g_lastPopupPoint.y = 0;
    if (m_nextLive)
        m_nextLive->m_previousLive = this;
    g_firstLiveMenu = this;
}

SMenu::~SMenu()
{
    Destroy();
    if (m_previousLive)
        m_previousLive->m_nextLive = m_nextLive;
    else
        g_firstLiveMenu = m_nextLive;
    if (m_nextLive)
        m_nextLive->m_previousLive = m_previousLive;
}

bool SMenu::MeasureItem(_SItem* item, MEASUREITEMSTRUCT* measure)
{
    if (!item || !measure || item->imageIndex == -1)
        return false;
    measure->itemWidth = (UINT)(m_iconWidth + 4);
    int height = GetSystemMetrics(SM_CYMENU);
    measure->itemHeight = (UINT)(height > m_iconHeight ? height : m_iconHeight);
    return true;
}

bool SMenu::DrawItem(_SItem* item, DRAWITEMSTRUCT* draw)
{
    if (!item || !draw || item->imageIndex == -1 || !item->image.IsLoaded() || !draw->hDC)
        return false;
    RECT area = draw->rcItem;
    area.right -= 4;
    Gdiplus::Graphics graphics(draw->hDC);
    if (graphics.GetLastStatus() != Gdiplus::Ok)
        return false;
    return item->image.Draw(&graphics, &area);
}

void SMenu::OnCommand(int, int)
{
}

bool SMenu::Create(HWND owner, int userValue, bool menuBar)
{
    Destroy();
    HMENU handle = menuBar ? CreateMenu() : CreatePopupMenu();
    if (!handle)
        return false;
    m_userValue = userValue;
    m_ownerWindow = owner;
    m_handle = handle;
    m_isMenuBar = menuBar;
    MENUINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_NOTIFYBYPOS;
    SetMenuInfo(handle, &info);
    return true;
}

bool SMenu::CreateMenuBar(HWND owner, int userValue)
{
    return Create(owner, userValue, true);
}

bool SMenu::CreatePopup(HWND owner, int userValue)
{
    return Create(owner, userValue, false);
}

void SMenu::Destroy()
{
    RemoveAll();
    if (m_handle)
        DestroyMenu(m_handle);
    // Records whose items vanished with the Win32 menu are freed here.
    for (int i = 0; i < m_records.GetCount(); i++)
        delete m_records.GetAt(i);
    m_records.RemoveAll();
    m_userValue = 0;
    m_handle = nullptr;
    m_isMenuBar = false;
}

void SMenu::SetImageList(HIMAGELIST list)
{
    int width = 0, height = 0;
    if (list && ImageList_GetIconSize(list, &width, &height))
    {
        m_imageList = list;
        m_iconWidth = width;
        m_iconHeight = height;
        return;
    }
    m_imageList = nullptr;
    m_iconWidth = 0;
    m_iconHeight = 0;
}

void SMenu::SetName(const char* name)
{
    m_name = name ? name : "";
}

int SMenu::ClampPosition(int position) const
{
    int count = GetItemCount();
    return position < 0 || position > count ? count : position;
}

void SMenu::DeleteRecord(_SItem* record)
{
    m_records.RemoveValue(record);
    delete record;
}

bool SMenu::InsertRecord(_SItem* record, MENUITEMINFOA* info, int position)
{
    m_records.Add(record);
    if (!InsertMenuItemA(m_handle, (UINT)ClampPosition(position), TRUE, info))
    {
        DeleteRecord(record);
        return false;
    }
    return true;
}

bool SMenu::InsertItem(int id, const char* caption, int imageIndex, int position, int data, bool checked,
                       bool disabled)
{
    return AddItem(id, nullptr, caption, imageIndex, position, data, checked, disabled);
}

bool SMenu::InsertSubMenu(int id, SMenu* submenu, const char* caption, int imageIndex, int position, int data,
                          bool checked, bool disabled)
{
    if (!submenu || !submenu->m_handle || submenu == this)
        return false;
    return AddItem(id, submenu, caption, imageIndex, position, data, checked, disabled);
}

bool SMenu::AddItem(int id, SMenu* submenu, const char* caption, int imageIndex, int position, int data,
                    bool checked, bool disabled)
{
    if (!m_handle)
        return false;
    if (m_isMenuBar)
        imageIndex = -1;
    _SItem* record = new _SItem;
    record->menu = this;
    record->id = id;
    record->data = data;
    record->imageIndex = imageIndex < -1 ? -1 : imageIndex;

    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_BITMAP;
    if (submenu)
    {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu->m_handle;
    }
    info.dwTypeData = const_cast<char*>(caption ? caption : "");
    info.fState = (checked ? MFS_CHECKED : 0) | (disabled ? MF_GRAYED : 0);
    info.wID = (UINT)id;
    info.dwItemData = (ULONG_PTR)record;
    info.hbmpItem = nullptr;
    if (SSystem::GetWindowsVersion() < kFirstVersionWithMenuBitmaps && !m_isMenuBar)
        info.hbmpItem = HBMMENU_CALLBACK;
    if (record->imageIndex != -1 && record->image.FromImageList(m_imageList, record->imageIndex))
    {
        record->image.SetDrawMode(4);
        record->bitmap = record->image.GetHBitmap32(true);
        if (!info.hbmpItem)
            info.hbmpItem = record->bitmap;
    }
    return InsertRecord(record, &info, position);
}

bool SMenu::InsertSeparator(int id, int position)
{
    if (!m_handle || m_isMenuBar)
        return false;
    _SItem* record = new _SItem;
    record->menu = this;
    record->id = id;
    record->isSeparator = true;

    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_BITMAP | MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    info.wID = (UINT)id;
    info.dwItemData = (ULONG_PTR)record;
    return InsertRecord(record, &info, position);
}

bool SMenu::RemoveAll()
{
    if (!m_handle)
        return false;
    bool clean = true;
    int count = GetMenuItemCount(m_handle);
    // Bounded by the count seen at the start: one removal per item.
    for (int i = 0; i < count; i++)
    {
        _SItem* record = GetItemRecord(0);
        // RemoveMenu leaves a submenu alive: it belongs to its own SMenu.
        if (!RemoveMenu(m_handle, 0, MF_BYPOSITION))
            return false;
        if (record)
            DeleteRecord(record);
        else
            clean = false;
    }
    if (count < 0)
        return false;
    return clean && GetMenuItemCount(m_handle) == 0;
}

int SMenu::GetItemCount() const
{
    if (!m_handle)
        return 0;
    int count = GetMenuItemCount(m_handle);
    return count < 0 ? 0 : count;
}

int SMenu::FindPosition(int id) const
{
    int count = GetItemCount();
    for (int i = 0; i < count; i++)
    {
        _SItem* record = GetItemRecord(i);
        if (record && record->id == id)
            return i;
    }
    return -1;
}

SMenu::_SItem* SMenu::GetItemRecord(int position) const
{
    if (!m_handle || position < 0)
        return nullptr;
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(m_handle, (UINT)position, TRUE, &info) || !info.dwItemData)
        return nullptr;
    // Only data this menu stored is taken for a record; other item data is foreign.
    _SItem* record = (_SItem*)info.dwItemData;
    return m_records.Find(record) >= 0 ? record : nullptr;
}

int SMenu::GetItemId(int position) const
{
    _SItem* record = GetItemRecord(position);
    return record ? record->id : 0;
}

SMenu::_SItem* SMenu::GetItemByCommand(int id) const
{
    return GetItemRecord(FindPosition(id));
}

void SMenu::EnableItem(int id, bool enable)
{
    int position = FindPosition(id);
    if (position >= 0)
        EnableMenuItem(m_handle, (UINT)position, MF_BYPOSITION | (enable ? 0 : MF_GRAYED));
}

void SMenu::CheckItem(int id, bool check)
{
    int position = FindPosition(id);
    if (position >= 0)
        CheckMenuItem(m_handle, (UINT)position, MF_BYPOSITION | (check ? MF_CHECKED : 0));
}

bool SMenu::IsItemChecked(int id) const
{
    int position = FindPosition(id);
    if (position < 0)
        return false;
    return (GetMenuState(m_handle, (UINT)position, MF_BYPOSITION) & MFS_CHECKED) != 0;
}

bool SMenu::IsItemDisabled(int id) const
{
    int position = FindPosition(id);
    if (position < 0)
        return false;
    return (GetMenuState(m_handle, (UINT)position, MF_BYPOSITION) & MF_GRAYED) != 0;
}

bool SMenu::SetItemText(int id, const char* text)
{
    int position = FindPosition(id);
    if (position < 0)
        return false;
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text ? text : "");
    return SetMenuItemInfoA(m_handle, (UINT)position, TRUE, &info) != FALSE;
}

SString SMenu::GetMenuItemText(int id) const
{
    int position = FindPosition(id);
    if (position < 0)
        return SString();
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!GetMenuItemInfoA(m_handle, (UINT)position, TRUE, &info) || info.cch == 0)
        return SString();
    int length = (int)info.cch;
    SString text;
    char* buffer = text.SetLength(length + 2);
    if (!buffer)
        return SString();
    info.dwTypeData = buffer;
    info.cch = (UINT)(length + 2);
    if (!GetMenuItemInfoA(m_handle, (UINT)position, TRUE, &info))
        return SString();
    buffer[length + 1] = 0;
    return SString(buffer);
}

bool SMenu::SetItemCaption(int id, const char* text)
{
    _SItem* record = GetItemByCommand(id);
    if (!record)
        return false;
    record->caption = text ? text : "";
    return true;
}

SString SMenu::GetItemText(int id) const
{
    _SItem* record = GetItemByCommand(id);
    return record ? record->caption : SString();
}

bool SMenu::TrackPopup(int x, int y, UINT flags, HWND notify)
{
    if (!m_handle || m_isMenuBar)
        return false;
    g_lastPopupPoint.x = x;
    g_lastPopupPoint.y = y;
    return TrackPopupMenu(m_handle, flags, x, y, 0, notify ? notify : m_ownerWindow, nullptr) != FALSE;
}

bool SMenu::TrackPopupFor(SWnd* owner, int x, int y, UINT flags, HWND notify)
{
    if (!m_handle || m_isMenuBar || !owner)
        return false;
    g_lastPopupPoint.x = x;
    g_lastPopupPoint.y = y;
    owner->SetForegroundWindow();
    if (!TrackPopupMenuEx(m_handle, flags, x, y, notify ? notify : m_ownerWindow, nullptr))
        return false;
    // Lets the menu close properly when the owner was not the foreground window.
    owner->PostMessage(WM_NULL, 0, 0);
    return true;
}

POINT SMenu::GetLastPopupPoint()
{
    return g_lastPopupPoint;
}

SMenu::_SItem* SMenu::FindRecord(ULONG_PTR itemData)
{
    if (!itemData)
        return nullptr;
    _SItem* record = (_SItem*)itemData;
    for (SMenu* menu = g_firstLiveMenu; menu; menu = menu->m_nextLive)
        if (menu->m_records.Find(record) >= 0)
            return record;
    return nullptr;
}

SMenu* SMenu::FindMenu(HMENU handle)
{
    if (!handle)
        return nullptr;
    for (SMenu* menu = g_firstLiveMenu; menu; menu = menu->m_nextLive)
        if (menu->m_handle == handle)
            return menu;
    return nullptr;
}

bool SMenu::HandleMenuCommand(HWND window, HMENU menu, int position)
{
    SMenu* owner = FindMenu(menu);
    if (!owner)
        return false;
    _SItem* record = owner->GetItemRecord(position);
    if (!record || !record->menu)
        return false;
    int id = record->id;
    SMenu* target = record->menu;
    target->OnCommand(position, id);
    ::SendMessageA(window, SMENU_COMMAND, (WPARAM)target, (LPARAM)id);
    return true;
}

bool SMenu::HandleMeasureItem(MEASUREITEMSTRUCT* measure)
{
    if (!measure || measure->CtlType != ODT_MENU)
        return false;
    _SItem* record = FindRecord(measure->itemData);
    return record && record->menu && record->menu->MeasureItem(record, measure);
}

bool SMenu::HandleDrawItem(DRAWITEMSTRUCT* draw)
{
    if (!draw || draw->CtlType != ODT_MENU)
        return false;
    _SItem* record = FindRecord(draw->itemData);
    return record && record->menu && record->menu->DrawItem(record, draw);
}

namespace
{

SString ItemSection(int menu, int item)
{
    SString section;
    section.Format("%d:%d", menu, item);
    return section;
}

SString MenuSection(int menu)
{
    SString section;
    section.FormatInt(menu);
    return section;
}

// Item count of every menu section (negative counts as 0); false when the total passes the limit.
bool ReadItemCounts(SIni& ini, int menuCount, SArray<int>* counts)
{
    int total = 0;
    for (int menu = 0; menu < menuCount; menu++)
    {
        int count = ini.ReadInt(MenuSection(menu), "count");
        if (count < 0)
            count = 0;
        if (count > kMaxItems - total)
            return false;
        total += count;
        counts->Add(count);
    }
    return true;
}

// Fills the list with the images named by the items, first-seen order, one cell per name.
bool LoadMenuImages(SIni& ini, const SArray<int>& itemCounts, SImageList* imageList, SResource* pack,
                    SStringArray* names)
{
    if (!imageList->Create(16, 16, ILC_COLOR32))
        return false;
    for (int menu = 0; menu < itemCounts.GetCount(); menu++)
    {
        for (int item = 0; item < itemCounts.GetAt(menu); item++)
        {
            SString name = ini.GetValue(ItemSection(menu, item), "image");
            if (!name.IsEmpty() && names->Find(name) < 0)
                names->Add(name);
        }
    }
    for (int i = 0; i < names->GetCount(); i++)
    {
        SFileMem entry;
        bool added = pack->Extract(&entry, names->GetAt(i), true) && imageList->AddFile(&entry);
        // A blank cell keeps index i for the i-th name; without it every later index would shift.
        if (!added && !imageList->AddBlank())
            return false;
    }
    return imageList->GetCount() == names->GetCount();
}

// True when menu target can be opened, directly or not, from menu start through the links so far.
bool Reaches(const SArray<POINT>& links, int menuCount, int start, int target)
{
    SArray<bool> seen;
    seen.Add(false, -1, menuCount);
    SArray<int> pending;
    pending.Add(start);
    seen.SetAt(start, true);
    while (pending.GetCount() > 0)
    {
        int current = pending.GetLast();
        pending.RemoveAt(pending.GetCount() - 1);
        if (current == target)
            return true;
        for (int i = 0; i < links.GetCount(); i++)
        {
            POINT link = links.GetAt(i);
            if (link.x == current && !seen.GetAt(link.y))
            {
                seen.SetAt(link.y, true);
                pending.Add(link.y);
            }
        }
    }
    return false;
}

bool BuildMenus(bool menuBar, HWND owner, SIni& ini, const SArray<int>& itemCounts, SArray<SMenu*>* menus,
                SImageList* imageList, const SStringArray& imageNames, bool imagesLoaded, void* context, SMenuFactory newMenu,
                SMenuNameToId nameToId)
{
    int count = itemCounts.GetCount();
    for (int index = 0; index < count; index++)
    {
        SMenu* menu = newMenu ? newMenu(context) : new SMenu;
        if (!menu)
            return false;
        menus->Add(menu);
        menu->SetName(ini.GetValue(MenuSection(index), "name"));
        bool created;
        if (index == 0 && menuBar)
            created = menu->CreateMenuBar(owner, 0);
        else
        {
            if (imagesLoaded)
                menu->SetImageList(imageList->GetHandle());
            created = menu->CreatePopup(owner, 0);
        }
        if (!created || !menu->GetHandle())
            return false;
    }

    // Links (from menu, to menu) of the items that open submenus; a link that closes a loop is refused.
    SArray<POINT> links;
    for (int index = 0; index < count; index++)
    {
        SMenu* menu = menus->GetAt(index);
        for (int item = 0; item < itemCounts.GetAt(index); item++)
        {
            SString section = ItemSection(index, item);
            int id = ini.ReadInt(section, "id");
            if (nameToId)
                id = nameToId(context, ini.GetValue(section, "name"));
            if (ini.ReadBool(section, "separator"))
            {
                if (!menu->InsertSeparator(id, -1))
                    return false;
                continue;
            }
            SString text = ini.GetValue(section, "text");
            SString image = ini.GetValue(section, "image");
            int imageIndex = image.IsEmpty() ? -1 : imageNames.Find(image);
            int data = ini.ReadInt(section, "data");
            bool checked = ini.ReadBool(section, "checked");
            bool disabled = ini.ReadBool(section, "disabled");
            int sub = ini.ReadInt(section, "menu");
            bool done;
            if (sub >= 1 && sub < count)
            {
                if (Reaches(links, count, sub, index))
                    return false;
                POINT link = { index, sub };
                links.Add(link);
                done = menu->InsertSubMenu(id, menus->GetAt(sub), text, imageIndex, -1, data, checked, disabled);
            }
            else
            {
                SString caption = text;
                SString tip = ini.GetValue(section, "tip");
                if (!tip.IsEmpty())
                {
                    caption += "\t";
                    caption += tip;
                }
                done = menu->InsertItem(id, caption, imageIndex, -1, data, checked, disabled);
            }
            if (!done)
                return false;
        }
    }
    return true;
}

}

bool LoadMenuResource(bool menuBar, HWND owner, SFile* text, SArray<SMenu*>* menus, SImageList* imageList,
                      SResource* pack, void* context, SMenuFactory newMenu, SMenuNameToId nameToId)
{
    if (!text || !menus)
        return false;
    menus->RemoveAll();
    SString magic = text->ReadLine(false, (int)sizeof(kMenuMagic) + 64);
    if (magic != kMenuMagic)
        return false;
    SIni ini;
    if (!ini.OpenMemory(text))
        return false;
    int count = ini.ReadInt("", "count");
    if (count < 1 || count > kMaxMenus)
        return false;
    SArray<int> itemCounts;
    if (!ReadItemCounts(ini, count, &itemCounts))
        return false;

    SStringArray imageNames;
    bool imagesLoaded = false;
    if (imageList && pack)
    {
        if (!LoadMenuImages(ini, itemCounts, imageList, pack, &imageNames))
            return false;
        imagesLoaded = true;
    }
    if (BuildMenus(menuBar, owner, ini, itemCounts, menus, imageList, imageNames, imagesLoaded, context, newMenu,
                   nameToId))
        return true;
    menus->DestroyAll();
    return false;
}
