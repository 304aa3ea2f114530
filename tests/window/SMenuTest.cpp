#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PumpSupport.h"
#include "SFileMem.h"
#include "SImage.h"
#include "SImageList.h"
#include "SMenu.h"
#include "SResource.h"
#include "SWnd.h"

namespace {

// Owner window that records the raw menu command and the library notification the base window makes of it.
class MenuOwner : public SWnd
{
public:
    struct Command
    {
        SMenu* menu;
        int id;
    };

    bool Open()
    {
        RECT rect = {10, 10, 310, 210};
        if (!Create("menu owner", WS_OVERLAPPEDWINDOW, 0, &rect, nullptr))
            return false;
        return true;
    }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_MENUCOMMAND)
            rawPositions.push_back((int)wParam);
        if (msg == SMENU_COMMAND)
        {
            commands.push_back({(SMenu*)wParam, (int)lParam});
            return 0;
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }

    std::vector<int> rawPositions;
    std::vector<Command> commands;
};

// Menu that records the commands it is told about.
class RecordingMenu : public SMenu
{
public:
    void OnCommand(int position, int id) override
    {
        positions.push_back(position);
        ids.push_back(id);
    }
    std::vector<int> positions;
    std::vector<int> ids;
};

// A menu text stream from lines joined with CR LF.
void MakeText(SFileMem* stream, const std::vector<std::string>& lines)
{
    stream->Allocate(0);
    for (const std::string& line : lines)
        stream->WriteLine(line.c_str());
    stream->Rewind();
}

const std::vector<std::string> kExample = {
    "TAVRIN MENU 1.0.0.0",
    "[]", "count=2",
    "[0]", "name=Main", "count=1",
    "[0:0]", "text=File", "menu=1",
    "[1]", "name=FileMenu", "count=2",
    "[1:0]", "id=100", "text=Open", "tip=Ctrl+O", "data=7",
    "[1:1]", "separator=1",
};

// Ends a popup menu that is still open when the test's time for it has run out.
void CALLBACK CloseMenuTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();
}

// A scratch folder of pictures served as a folder resource source.
class PictureFolder
{
public:
    PictureFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "smenu_test_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), nullptr);
    }
    ~PictureFolder()
    {
        for (const std::string& file : m_files)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    // Writes a 16 x 16 PNG of one opaque colour.
    bool AddPicture(const char* name, uint32_t color)
    {
        SImage picture(16, 16, PixelFormat32bppARGB);
        SFileMem memory;
        memory.Allocate(0);
        if (!picture.Fill(color) || !picture.Save(&memory, IMAGE_FORMAT_PNG))
            return false;
        std::string path = m_folder + name;
        m_files.push_back(path);
        return memory.SaveToFile(path.c_str());
    }
    const char* GetFolder() const { return m_folder.c_str(); }

private:
    std::string m_folder;
    std::vector<std::string> m_files;
};

uint32_t CellCentre(SImageList* list, int index)
{
    SImage cell;
    if (!cell.FromImageList(list->GetHandle(), index))
        return 0x12345678u;
    return cell.GetPixelColor(cell.GetWidth() / 2, cell.GetHeight() / 2) | 0xFF000000u;
}

} // namespace

TEST(SMenu, ExampleTextBuildsBarAndPopup)
{
    MenuOwner owner;
    ASSERT_TRUE(owner.Open());
    SFileMem text;
    MakeText(&text, kExample);
    SArray<SMenu*> menus;
    ASSERT_TRUE(LoadMenuResource(true, owner.GetHandle(), &text, &menus, nullptr, nullptr));
    ASSERT_EQ(2, menus.GetCount());
    SMenu* bar = menus.GetAt(0);
    SMenu* file = menus.GetAt(1);
    EXPECT_TRUE(bar->IsMenuBar());
    EXPECT_FALSE(file->IsMenuBar());
    EXPECT_STREQ("Main", bar->GetName());
    EXPECT_STREQ("FileMenu", file->GetName());
    EXPECT_EQ(owner.GetHandle(), file->GetOwnerWindow());

    ASSERT_EQ(1, bar->GetItemCount());
    EXPECT_EQ(file->GetHandle(), GetSubMenu(bar->GetHandle(), 0));
    ASSERT_EQ(2, file->GetItemCount());
    EXPECT_EQ(100, file->GetItemId(0));
    EXPECT_STREQ("Open\tCtrl+O", file->GetMenuItemText(100));
    EXPECT_EQ(7, file->GetItemByCommand(100)->data);
    EXPECT_TRUE(file->GetItemRecord(1)->isSeparator);
    EXPECT_TRUE(GetMenuState(file->GetHandle(), 1, MF_BYPOSITION) & MF_SEPARATOR);

    EXPECT_TRUE(owner.SetMenu(bar->GetHandle()));
    EXPECT_EQ(bar->GetHandle(), owner.GetMenu());
    owner.SetMenu(nullptr);
    menus.DestroyAll();
}

TEST(SMenu, TextItemsReadBackAsWritten)
{
    SFileMem text;
    MakeText(&text, {
        "  TAVRIN MENU 1.0.0.0  ",
        "[]", "count=3",
        "[0]", "count=4",
        "[0:0]", "id=10", "text=Plain", "checked=1",
        "[0:1]", "id=11", "text=Grey", "disabled=1", "data=-5",
        "[0:2]", "id=12", "text=Sub", "menu=2",
        "[0:3]", "id=13", "text=Self", "menu=0", "checked=true",
        "[2]", "count=1",
        "[2:0]", "id=20", "text=Deep",
    });
    SArray<SMenu*> menus;
    ASSERT_TRUE(LoadMenuResource(false, nullptr, &text, &menus, nullptr, nullptr));
    ASSERT_EQ(3, menus.GetCount());
    SMenu* menu = menus.GetAt(0);
    EXPECT_FALSE(menu->IsMenuBar());
    EXPECT_EQ(0, menus.GetAt(1)->GetItemCount());

    struct Case { int id; const char* text; bool checked; bool disabled; int data; };
    const Case cases[] = {
        {10, "Plain", true, false, 0},
        {11, "Grey", false, true, -5},
        {12, "Sub", false, false, 0},
        {13, "Self", false, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(c.text, menu->GetMenuItemText(c.id));
        EXPECT_EQ(c.checked, menu->IsItemChecked(c.id));
        EXPECT_EQ(c.disabled, menu->IsItemDisabled(c.id));
        ASSERT_NE(nullptr, menu->GetItemByCommand(c.id));
        EXPECT_EQ(c.data, menu->GetItemByCommand(c.id)->data);
    }
    // menu=0 never opens a submenu; menu=2 does.
    EXPECT_EQ(nullptr, GetSubMenu(menu->GetHandle(), 3));
    EXPECT_EQ(menus.GetAt(2)->GetHandle(), GetSubMenu(menu->GetHandle(), 2));
    menus.DestroyAll();
}

TEST(SMenu, DamagedTextsFailCleanly)
{
    struct Case { const char* name; std::vector<std::string> lines; };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"wrong magic", {"TAVRIN MENU 2.0.0.0", "[]", "count=1"}},
        {"dialog magic", {"TAVRIN DIALOG 1.0.0.0", "[]", "count=1"}},
        {"no count", {"TAVRIN MENU 1.0.0.0", "[]", "name=x"}},
        {"zero count", {"TAVRIN MENU 1.0.0.0", "[]", "count=0"}},
        {"negative count", {"TAVRIN MENU 1.0.0.0", "[]", "count=-3"}},
        {"huge count", {"TAVRIN MENU 1.0.0.0", "[]", "count=2000000000"}},
        {"huge item count", {"TAVRIN MENU 1.0.0.0", "[]", "count=1", "[0]", "count=999999999"}},
        {"separator on bar", {"TAVRIN MENU 1.0.0.0", "[]", "count=1", "[0]", "count=1", "[0:0]", "separator=1"}},
        {"submenu loop", {"TAVRIN MENU 1.0.0.0", "[]", "count=3", "[1]", "count=1", "[1:0]", "menu=2",
                          "[2]", "count=1", "[2:0]", "menu=1"}},
        {"submenu of itself", {"TAVRIN MENU 1.0.0.0", "[]", "count=2", "[1]", "count=1", "[1:0]", "menu=1"}},
        {"binary", {std::string("\x01\xFF\x00[]", 5), "count=1"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SFileMem text;
        MakeText(&text, c.lines);
        SArray<SMenu*> menus;
        EXPECT_FALSE(LoadMenuResource(true, nullptr, &text, &menus, nullptr, nullptr));
        EXPECT_EQ(0, menus.GetCount());
    }
    SArray<SMenu*> menus;
    EXPECT_FALSE(LoadMenuResource(true, nullptr, nullptr, &menus, nullptr, nullptr));
    SFileMem text;
    MakeText(&text, kExample);
    EXPECT_FALSE(LoadMenuResource(true, nullptr, &text, nullptr, nullptr, nullptr));
}

namespace {

struct Callbacks
{
    int menusMade = 0;
    std::vector<std::string> names;
};

SMenu* MakeRecordingMenu(void* context)
{
    ((Callbacks*)context)->menusMade++;
    return new RecordingMenu;
}

SMenu* MakeNoMenu(void*)
{
    return nullptr;
}

int NameToId(void* context, const char* name)
{
    ((Callbacks*)context)->names.push_back(name);
    return std::string(name) == "OPEN" ? 501 : 999;
}

} // namespace

TEST(SMenu, CallbacksMakeMenusAndIds)
{
    SFileMem text;
    MakeText(&text, {
        "TAVRIN MENU 1.0.0.0",
        "[]", "count=1",
        "[0]", "count=2",
        "[0:0]", "id=5", "name=OPEN", "text=Open",
        "[0:1]", "id=6", "text=Other",
    });
    Callbacks callbacks;
    SArray<SMenu*> menus;
    ASSERT_TRUE(LoadMenuResource(false, nullptr, &text, &menus, nullptr, nullptr, &callbacks, MakeRecordingMenu,
                                 NameToId));
    EXPECT_EQ(1, callbacks.menusMade);
    ASSERT_EQ(1, menus.GetCount());
    EXPECT_NE(nullptr, dynamic_cast<RecordingMenu*>(menus.GetAt(0)));
    EXPECT_EQ(0, menus.GetAt(0)->FindPosition(501));
    EXPECT_EQ(1, menus.GetAt(0)->FindPosition(999));
    ASSERT_EQ(2u, callbacks.names.size());
    EXPECT_EQ("", callbacks.names[1]);
    menus.DestroyAll();

    text.Rewind();
    EXPECT_FALSE(LoadMenuResource(false, nullptr, &text, &menus, nullptr, nullptr, nullptr, MakeNoMenu));
    EXPECT_EQ(0, menus.GetCount());
}

TEST(SMenu, TextImagesShareCellsAndKeepIndexes)
{
    PictureFolder folder;
    ASSERT_TRUE(folder.AddPicture("red.png", 0xFFFF0000u));
    ASSERT_TRUE(folder.AddPicture("blue.png", 0xFF0000FFu));
    SResource pack;
    ASSERT_TRUE(pack.SetBaseFolder(folder.GetFolder()));
    ASSERT_TRUE(pack.AddFile("red.png", 0));
    ASSERT_TRUE(pack.AddFile("blue.png", 0));

    SFileMem text;
    MakeText(&text, {
        "TAVRIN MENU 1.0.0.0",
        "[]", "count=2",
        "[0]", "count=1",
        "[0:0]", "text=Edit", "menu=1", "image=red.png",
        "[1]", "count=4",
        "[1:0]", "id=1", "text=A", "image=red.png",
        "[1:1]", "id=2", "text=B", "image=missing.png",
        "[1:2]", "id=3", "text=C", "image=blue.png",
        "[1:3]", "id=4", "text=D",
    });
    SArray<SMenu*> menus;
    SImageList images;
    ASSERT_TRUE(LoadMenuResource(true, nullptr, &text, &menus, &images, &pack));
    ASSERT_EQ(3, images.GetCount());
    EXPECT_EQ(16, images.GetIconWidth());
    EXPECT_EQ(0xFFFF0000u, CellCentre(&images, 0));
    EXPECT_EQ(0xFF000000u, CellCentre(&images, 1));
    EXPECT_EQ(0xFF0000FFu, CellCentre(&images, 2));

    SMenu* bar = menus.GetAt(0);
    SMenu* popup = menus.GetAt(1);
    EXPECT_EQ(nullptr, bar->GetImageList());
    EXPECT_EQ(-1, bar->GetItemRecord(0)->imageIndex);
    EXPECT_EQ(images.GetHandle(), popup->GetImageList());
    struct Case { int id; int index; };
    for (const Case& c : {Case{1, 0}, Case{2, 1}, Case{3, 2}, Case{4, -1}})
    {
        SMenu::_SItem* item = popup->GetItemByCommand(c.id);
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(c.index, item->imageIndex);
        EXPECT_EQ(c.index != -1, item->bitmap != nullptr);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        ASSERT_TRUE(GetMenuItemInfoA(popup->GetHandle(), c.id, FALSE, &info));
        EXPECT_EQ(item->bitmap, info.hbmpItem);
    }
    SMenu::_SItem* blue = popup->GetItemByCommand(3);
    EXPECT_EQ(4, blue->image.GetDrawMode());
    EXPECT_EQ(0xFF0000FFu, blue->image.GetPixelColor(8, 8) | 0xFF000000u);
    menus.DestroyAll();
}

TEST(SMenu, InsertPositionsAndKinds)
{
    SMenu menu;
    EXPECT_FALSE(menu.InsertItem(1, "no menu yet"));
    EXPECT_EQ(0, menu.GetItemCount());
    ASSERT_TRUE(menu.CreatePopup(nullptr, 42));
    EXPECT_EQ(42, menu.GetUserValue());
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    ASSERT_TRUE(GetMenuInfo(menu.GetHandle(), &info));
    EXPECT_TRUE(info.dwStyle & MNS_NOTIFYBYPOS);

    struct Case { int id; int position; };
    const Case cases[] = {{1, -1}, {2, -1}, {3, 0}, {4, 1000}, {5, 2}};
    for (const Case& c : cases)
        ASSERT_TRUE(menu.InsertItem(c.id, "item", -1, c.position));
    ASSERT_TRUE(menu.InsertSeparator(6, 1));
    const int expected[] = {3, 6, 1, 5, 2, 4};
    ASSERT_EQ(6, menu.GetItemCount());
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(expected[i], menu.GetItemId(i)) << "position " << i;
    EXPECT_EQ(-1, menu.FindPosition(77));
    EXPECT_EQ(0, menu.GetItemId(6));
    EXPECT_EQ(nullptr, menu.GetItemRecord(-1));

    SMenu bar;
    ASSERT_TRUE(bar.CreateMenuBar(nullptr));
    EXPECT_TRUE(bar.IsMenuBar());
    EXPECT_FALSE(bar.InsertSeparator(1));
    EXPECT_FALSE(bar.TrackPopup(0, 0, 0));
    EXPECT_FALSE(bar.InsertSubMenu(2, nullptr, "none"));
    EXPECT_TRUE(bar.InsertSubMenu(2, &menu, "Menu"));
    EXPECT_EQ(1, bar.GetItemCount());

    // Creating again destroys the old menu and its items.
    HMENU old = menu.GetHandle();
    ASSERT_TRUE(menu.CreatePopup(nullptr));
    EXPECT_FALSE(IsMenu(old));
    EXPECT_EQ(0, menu.GetItemCount());
}

TEST(SMenu, ItemStatesTextsAndCaptions)
{
    SMenu menu;
    ASSERT_TRUE(menu.CreatePopup(nullptr));
    ASSERT_TRUE(menu.InsertItem(10, "Ten", -1, -1, 0, true, false));
    ASSERT_TRUE(menu.InsertItem(20, "Twenty", -1, -1, 0, false, true));

    EXPECT_TRUE(menu.IsItemChecked(10));
    menu.CheckItem(10, false);
    EXPECT_FALSE(menu.IsItemChecked(10));
    menu.CheckItem(20, true);
    EXPECT_TRUE(menu.IsItemChecked(20));
    EXPECT_TRUE(menu.IsItemDisabled(20));
    menu.EnableItem(20, true);
    EXPECT_FALSE(menu.IsItemDisabled(20));
    menu.EnableItem(10, false);
    EXPECT_TRUE(menu.IsItemDisabled(10));
    // Unknown ids change nothing.
    menu.EnableItem(99, false);
    menu.CheckItem(99, true);
    EXPECT_FALSE(menu.IsItemChecked(99));
    EXPECT_FALSE(menu.IsItemDisabled(20));

    // The Windows text and the kept caption are separate.
    EXPECT_STREQ("", menu.GetItemText(10));
    EXPECT_TRUE(menu.SetItemCaption(10, "kept"));
    EXPECT_STREQ("kept", menu.GetItemText(10));
    EXPECT_STREQ("Ten", menu.GetMenuItemText(10));
    EXPECT_TRUE(menu.SetItemText(10, "A much longer Windows text"));
    EXPECT_STREQ("A much longer Windows text", menu.GetMenuItemText(10));
    EXPECT_STREQ("kept", menu.GetItemText(10));
    EXPECT_FALSE(menu.SetItemText(99, "x"));
    EXPECT_FALSE(menu.SetItemCaption(99, "x"));
    EXPECT_STREQ("", menu.GetMenuItemText(99));
}

TEST(SMenu, RemoveAllKeepsSubmenusAlive)
{
    SMenu* sub = new SMenu;
    ASSERT_TRUE(sub->CreatePopup(nullptr));
    ASSERT_TRUE(sub->InsertItem(7, "inner"));
    SMenu* parent = new SMenu;
    ASSERT_TRUE(parent->CreatePopup(nullptr));
    ASSERT_TRUE(parent->InsertSubMenu(1, sub, "Sub"));
    ASSERT_TRUE(parent->InsertItem(2, "Two"));
    SMenu::_SItem* record = parent->GetItemByCommand(2);
    EXPECT_EQ(record, SMenu::FindRecord((ULONG_PTR)record));

    EXPECT_TRUE(parent->RemoveAll());
    EXPECT_EQ(0, parent->GetItemCount());
    EXPECT_EQ(nullptr, SMenu::FindRecord((ULONG_PTR)record));
    EXPECT_TRUE(parent->InsertSubMenu(1, sub, "Sub"));
    delete parent;
    // The submenu belongs to its own object: it outlives its parent.
    EXPECT_TRUE(IsMenu(sub->GetHandle()));
    EXPECT_EQ(1, sub->GetItemCount());
    EXPECT_EQ(7, sub->GetItemId(0));
    delete sub;

    SMenu empty;
    EXPECT_FALSE(empty.RemoveAll());
}

TEST(SMenu, ForeignItemDataIsNotTakenForARecord)
{
    SMenu menu;
    ASSERT_TRUE(menu.CreatePopup(nullptr));
    int foreign = 0;
    ASSERT_TRUE(AppendMenuA(menu.GetHandle(), MF_STRING, 55, "foreign"));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    info.dwItemData = (ULONG_PTR)&foreign;
    ASSERT_TRUE(SetMenuItemInfoA(menu.GetHandle(), 0, TRUE, &info));
    ASSERT_TRUE(menu.InsertItem(56, "own"));
    EXPECT_EQ(nullptr, menu.GetItemRecord(0));
    EXPECT_EQ(-1, menu.FindPosition(55));
    EXPECT_EQ(1, menu.FindPosition(56));
    EXPECT_EQ(nullptr, SMenu::FindRecord((ULONG_PTR)&foreign));
    EXPECT_FALSE(SMenu::HandleMenuCommand(nullptr, menu.GetHandle(), 0));

    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = (ULONG_PTR)&foreign;
    EXPECT_FALSE(SMenu::HandleMeasureItem(&measure));
    // The foreign item is removed too, but reported.
    EXPECT_FALSE(menu.RemoveAll());
    EXPECT_EQ(0, menu.GetItemCount());
}

TEST(SMenu, OwnerDrawingOfItemImages)
{
    SImageList list;
    ASSERT_TRUE(list.Create(16, 12));
    SImage green(16, 12, PixelFormat32bppARGB);
    ASSERT_TRUE(green.Fill(0xFF00FF00u));
    ASSERT_TRUE(list.AddImage(&green));

    SMenu menu;
    menu.SetImageList(list.GetHandle());
    EXPECT_EQ(16, menu.GetIconWidth());
    EXPECT_EQ(12, menu.GetIconHeight());
    ASSERT_TRUE(menu.CreatePopup(nullptr));
    ASSERT_TRUE(menu.InsertItem(1, "with image", 0));
    ASSERT_TRUE(menu.InsertItem(2, "without", -5));
    SMenu::_SItem* withImage = menu.GetItemByCommand(1);
    SMenu::_SItem* without = menu.GetItemByCommand(2);
    EXPECT_EQ(-1, without->imageIndex);

    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = (ULONG_PTR)withImage;
    ASSERT_TRUE(SMenu::HandleMeasureItem(&measure));
    EXPECT_EQ(20u, measure.itemWidth);
    EXPECT_EQ((UINT)std::max(GetSystemMetrics(SM_CYMENU), 12), measure.itemHeight);
    measure.itemData = (ULONG_PTR)without;
    EXPECT_FALSE(SMenu::HandleMeasureItem(&measure));

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all = {0, 0, 40, 20};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.hDC = dc;
    draw.rcItem = {0, 0, 20, 12};
    draw.itemData = (ULONG_PTR)withImage;
    EXPECT_TRUE(SMenu::HandleDrawItem(&draw));
    COLORREF centre = GetPixel(dc, 8, 6);
    draw.itemData = (ULONG_PTR)without;
    EXPECT_FALSE(SMenu::HandleDrawItem(&draw));
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    EXPECT_EQ(RGB(0, 255, 0), centre);
}

namespace {

void CALLBACK ChooseByKeys(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    const BYTE keys[] = {VK_DOWN, VK_DOWN, VK_RETURN};
    for (BYTE key : keys)
    {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
}

} // namespace

TEST(SMenu, ChosenItemReachesOwnerByPosition)
{
    MenuOwner owner;
    ASSERT_TRUE(owner.Open());
    SFileMem text;
    MakeText(&text, {
        "TAVRIN MENU 1.0.0.0",
        "[]", "count=1",
        "[0]", "count=3",
        "[0:0]", "id=300", "text=One",
        "[0:1]", "separator=1",
        "[0:2]", "id=301", "text=Pick", "tip=F2",
    });
    SArray<SMenu*> menus;
    ASSERT_TRUE(LoadMenuResource(false, owner.GetHandle(), &text, &menus, nullptr, nullptr, nullptr,
                                 [](void*) -> SMenu* { return new RecordingMenu; }));
    RecordingMenu* menu = (RecordingMenu*)menus.GetAt(0);

    // Once the menu is open, Down selects "One", Down skips the separator and Return chooses "Pick".
    UINT_PTR keys = SetTimer(nullptr, 0, 150, ChooseByKeys);
    UINT_PTR timer = SetTimer(nullptr, 0, 3000, CloseMenuTimer);
    EXPECT_TRUE(menu->TrackPopupFor(&owner, 40, 50, TPM_LEFTALIGN));
    KillTimer(nullptr, timer);
    KillTimer(nullptr, keys);
    PumpUntil([&] { return !owner.commands.empty(); }, 2000);

    POINT point = SMenu::GetLastPopupPoint();
    EXPECT_EQ(40, point.x);
    EXPECT_EQ(50, point.y);
    ASSERT_EQ(1u, owner.rawPositions.size());
    EXPECT_EQ(2, owner.rawPositions[0]);
    ASSERT_EQ(1u, owner.commands.size());
    EXPECT_EQ(menu, owner.commands[0].menu);
    EXPECT_EQ(301, owner.commands[0].id);
    ASSERT_EQ(1u, menu->ids.size());
    EXPECT_EQ(2, menu->positions[0]);
    EXPECT_EQ(301, menu->ids[0]);
    menus.DestroyAll();
}
