#include <gtest/gtest.h>

#include "DesignerTestSupport.h"
#include "SClipboard.h"
#include "SMenu.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

// The command ids of a menu's items in order (0 for separators and page submenus' own id).
std::vector<int> ItemIds(HMENU menu)
{
    std::vector<int> ids;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++)
        ids.push_back((int)GetMenuItemID(menu, i));
    return ids;
}

// The page submenus of the popup, in order.
std::vector<HMENU> PageMenus(SDialogEditor& editor)
{
    std::vector<HMENU> pages;
    HMENU popup = editor.GetPopupMenu()->GetHandle();
    for (int i = 0; i < GetMenuItemCount(popup); i++)
        if (GetSubMenu(popup, i))
            pages.push_back(GetSubMenu(popup, i));
    return pages;
}

bool IsChecked(HMENU menu, int id)
{
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

const char* const kNames[] = {"One", "Two", "Three"};

// Buttons One, Two... (IDs 1, 2...) before a TAB "Pages" (ID 50).
std::vector<SControlText> TabAfter(int before, const std::string& tabExtra)
{
    std::vector<SControlText> controls;
    for (int i = 0; i < before; i++)
        controls.push_back({"BUTTON", i + 1, kNames[i], 10, 10 + 30 * i, 50, 20, ""});
    controls.push_back({"TAB", 50, "Pages", 100, 10, 150, 100, tabExtra});
    return controls;
}

// What the Test dialog looked like while its modal run went on.
HWND g_shown = nullptr;
bool g_wasVisible = false;
int g_children = 0;

BOOL CALLBACK CountChild(HWND, LPARAM)
{
    g_children++;
    return TRUE;
}

void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_wasVisible = IsWindowVisible(g_shown) != 0;
    g_children = 0;
    EnumChildWindows(g_shown, CountChild, 0);
    PostMessageA(g_shown, WM_CLOSE, 0, 0);
}

} // namespace

// --- labels ---

TEST(SDialogEditorLabels, KeysGiveTheirTexts)
{
    SDialogEditor editor;
    editor.Init(true);
    EXPECT_EQ(editor.GetLabels()->GetCount(), 363);
    struct Case
    {
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"WIDTH", "Width"}, {"#WIDTH", "Same Width"}, {"@CUT", "Cut"}, {"@SELECTTAB", "Select"},
        {"#MISC", "Dialog"}, {"$LINK", "Connection"}, {"_DRAWFIT", "Fit"}, {"EXTERN_FILENAME", "ExtFile"},
        {"?INVISIBLE", "Cannot be shown in layer mode, please use Media."}, {"?NOEXTERN", "No external controls."},
        {"WIDT", ""}, {"WIDTH=", ""}, {"", ""}, {"UNKNOWN", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(editor.GetLabel(c.key), c.text) << c.key;
    EXPECT_STREQ(editor.GetLabel(nullptr), "");

    // An owner's table: lines without "=" are skipped, the first match wins, the text keeps its "=".
    SStringArray* labels = editor.GetLabels();
    labels->RemoveAll();
    labels->Add("WIDTH");
    labels->Add("WIDTH=Breite=x");
    labels->Add("WIDTH=Second");
    EXPECT_STREQ(editor.GetLabel("WIDTH"), "Breite=x");
    editor.LoadDefaultLabels();
    EXPECT_STREQ(editor.GetLabel("WIDTH"), "Width");
}

TEST(SDialogEditorLabels, ExternToolWithoutControlsShowsTheWarning)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {})));
    ASSERT_TRUE(f.editor.SetInsertTool(SDialogEditor::TYPE_EXTERN));
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(50, 50));
    ASSERT_EQ(f.input.messages.size(), 1u);
    EXPECT_EQ(f.input.messages[0].first, "Error");
    EXPECT_EQ(f.input.messages[0].second, "No external controls.");
    EXPECT_EQ(f.input.messageTypes[0], (UINT)MB_ICONWARNING);
    EXPECT_EQ(f.editor.GetInsertTool(), -1);
    EXPECT_TRUE(f.input.trackedMenus.empty());

    // With external controls their menu is tracked instead.
    ASSERT_TRUE(f.editor.AddExternControl("Gauge", "gauge.dll"));
    f.editor.SetInsertTool(SDialogEditor::TYPE_EXTERN);
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Client(50, 50));
    ASSERT_EQ(f.input.trackedMenus.size(), 1u);
    EXPECT_EQ(f.input.trackedMenus[0], f.editor.GetExternMenu());
    EXPECT_EQ(f.input.messages.size(), 1u);
}

// --- popup menu ---

TEST(SDialogEditorPopup, CommandsFollowTheSelectionAndClipboard)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {{"BUTTON", 1, "Ok", 20, 20, 50, 20, ""}})));
    ASSERT_TRUE(SClipboard::SetText("no controls"));
    HMENU popup = f.editor.GetPopupMenu()->GetHandle();

    // Over the dialog: nothing to cut or copy, nothing to paste.
    f.Send(WM_RBUTTONDOWN, MK_RBUTTON, f.Client(200, 150));
    ASSERT_EQ(f.input.trackedMenus.size(), 1u);
    EXPECT_EQ(f.input.trackedMenus[0], f.editor.GetPopupMenu());
    POINT screen = f.Client(200, 150);
    f.editor.ClientToScreen(&screen);
    EXPECT_EQ(f.input.menuPoints[0].x, screen.x);
    EXPECT_EQ(f.input.menuPoints[0].y, screen.y);
    EXPECT_EQ(ItemIds(popup), (std::vector<int>{10, 11, 12, 0, 13, 0, 15}));
    EXPECT_TRUE(f.editor.GetPopupMenu()->IsItemDisabled(10));
    EXPECT_TRUE(f.editor.GetPopupMenu()->IsItemDisabled(11));
    EXPECT_TRUE(f.editor.GetPopupMenu()->IsItemDisabled(12));
    EXPECT_FALSE(f.editor.GetPopupMenu()->IsItemDisabled(13));
    EXPECT_STREQ(f.editor.GetPopupMenu()->GetMenuItemText(10), "Cut");
    EXPECT_STREQ(f.editor.GetPopupMenu()->GetMenuItemText(15), "Test");
    EXPECT_EQ(f.editor.popupBuilt, 1);
    EXPECT_EQ(f.editor.popupPrimary, f.editor.GetDialog());

    // Over a control after a copy: everything enabled; the menu is rebuilt, not extended.
    f.editor.Select(f.Control("Ok"));
    ASSERT_TRUE(f.editor.CopyToClipboard());
    f.Send(WM_RBUTTONDOWN, MK_RBUTTON, f.Client(30, 25));
    EXPECT_EQ(ItemIds(popup), (std::vector<int>{10, 11, 12, 0, 13, 0, 15}));
    for (int id : {10, 11, 12, 13, 15})
        EXPECT_FALSE(f.editor.GetPopupMenu()->IsItemDisabled(id)) << id;
    EXPECT_EQ(f.editor.popupPrimary, f.Control("Ok"));

    // The commands arrive as menu command messages.
    f.editor.SendMessage(SMENU_COMMAND, 0, 12);
    EXPECT_EQ(f.editor.GetControlCount(), 2);
    f.editor.SendMessage(SMENU_COMMAND, 0, 13);
    EXPECT_EQ(f.editor.GetSelectedCount(), 2);
    f.editor.SendMessage(SMENU_COMMAND, 0, 10);
    EXPECT_EQ(f.editor.GetControlCount(), 0);
    f.editor.SendMessage(SMENU_COMMAND, 0, 14);
    EXPECT_EQ(f.editor.GetControlCount(), 0);
}

TEST(SDialogEditorPopup, TabPagesGetSubmenusWithTheirControls)
{
    struct Case
    {
        int before;
        std::vector<std::vector<int>> pages;
    };
    // The TAB as fourth control (three before it), then as first control (its index is skipped).
    const Case cases[] = {
        {3, {{201, 0, 210, 211, 212}, {401, 0, 410, 411, 412}}},
        {0, {{201, 0, 211, 212, 213}, {401, 0, 411, 412, 413}}},
    };
    for (const Case& c : cases)
    {
        SDesignerFixture f;
        std::vector<SControlText> controls = TabAfter(c.before, "TAB_CONTENT=First|Second\r\n");
        if (c.before == 0)
            for (int i = 0; i < 3; i++)
                controls.push_back({"LABEL", i + 1, kNames[i], 10, 150, 20, 20, ""});
        ASSERT_TRUE(f.Load(DescriptionText(400, 300, controls)));
        f.editor.Select(f.Control("Pages"));
        f.Control("Pages")->SetProperty("TAB_CHILDREN_PRIVATE", "1 2 ");
        f.editor.ShowPopupMenu(f.Client(150, 50));
        std::vector<HMENU> pages = PageMenus(f.editor);
        ASSERT_EQ(pages.size(), 2u) << c.before;
        HMENU popup = f.editor.GetPopupMenu()->GetHandle();
        EXPECT_EQ(ItemIds(popup), (std::vector<int>{10, 11, 12, 0, 13, 0, -1, -1, 0, 15}));
        char caption[32] = {};
        GetMenuStringA(popup, 7, caption, sizeof(caption), MF_BYPOSITION);
        EXPECT_STREQ(caption, "Second");
        for (size_t p = 0; p < pages.size(); p++)
            EXPECT_EQ(ItemIds(pages[p]), c.pages[p]) << c.before << " page " << p;
        // The control with ID 2 is listed on the second page only.
        int twoIndex = f.editor.GetControlIndex(f.Control("Two"));
        EXPECT_TRUE(IsChecked(pages[1], 410 + twoIndex));
        EXPECT_FALSE(IsChecked(pages[0], 210 + twoIndex));
        char name[32] = {};
        GetMenuStringA(pages[0], 210 + twoIndex, name, sizeof(name), MF_BYCOMMAND);
        EXPECT_STREQ(name, "Two");
    }
}

TEST(SDialogEditorPopup, PageCommandsSelectAndTogglePairs)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(400, 300, TabAfter(3, "TAB_CONTENT=A|B|C\r\nTAB_CHILDREN_PRIVATE=1 2 \r\n"))));
    Record* tab = f.Control("Pages");
    f.editor.Select(tab);
    f.editor.ShowPopupMenu(f.Client(150, 50));

    // Page select.
    f.editor.SendMessage(SMENU_COMMAND, 0, 601);
    EXPECT_EQ(tab->GetPropertyInt("TAB_SELECTION"), 2);
    EXPECT_EQ(f.host.changes, 1);
    // An unchecked item appends its pair; a checked one removes it.
    f.editor.SendMessage(SMENU_COMMAND, 0, 210);
    EXPECT_STREQ(tab->GetProperty("TAB_CHILDREN_PRIVATE"), "1 2 0 1 ");
    f.editor.SendMessage(SMENU_COMMAND, 0, 411);
    EXPECT_STREQ(tab->GetProperty("TAB_CHILDREN_PRIVATE"), "0 1 ");
    EXPECT_EQ(f.editor.GetUndoCount(), 3);
    ASSERT_TRUE(f.editor.Undo());
    EXPECT_STREQ(f.Control("Pages")->GetProperty("TAB_CHILDREN_PRIVATE"), "1 2 0 1 ");

    // Ids outside the list, the TAB itself and the page's own item do nothing.
    f.editor.Select(f.Control("Pages"));
    tab = f.Control("Pages");
    const std::string before = SavedText(f.editor);
    for (int command : {200, 205, 213, 250, 9999})
        f.editor.SendMessage(SMENU_COMMAND, 0, command);
    EXPECT_EQ(SavedText(f.editor), before);
    // Without a TAB as primary the commands do nothing.
    f.editor.Select(f.Control("One"));
    EXPECT_FALSE(f.editor.RunTabPageCommand(201));
    EXPECT_FALSE(f.editor.ToggleTabPageControl(0, f.Control("Two"), true));
    EXPECT_EQ(SavedText(f.editor), before);
}

TEST(SDialogEditorPopup, TogglingDropsPairsOfGoneControlsAndPages)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(
        400, 300, TabAfter(2, "TAB_CONTENT=A|B\r\nTAB_CHILDREN_PRIVATE=0 1 5 2 1 77 1 2 0\r\n"))));
    Record* tab = f.Control("Pages");
    f.editor.Select(tab);
    EXPECT_TRUE(f.editor.ToggleTabPageControl(1, f.Control("One"), true));
    // Page 5 and control 77 are gone; the unpaired number at the end is no pair.
    EXPECT_STREQ(tab->GetProperty("TAB_CHILDREN_PRIVATE"), "0 1 1 2 1 1 ");
    EXPECT_TRUE(f.editor.ToggleTabPageControl(1, f.Control("One"), true));
    EXPECT_STREQ(tab->GetProperty("TAB_CHILDREN_PRIVATE"), "0 1 1 2 1 1 ");
    EXPECT_TRUE(f.editor.ToggleTabPageControl(0, f.Control("One"), false));
    EXPECT_STREQ(tab->GetProperty("TAB_CHILDREN_PRIVATE"), "1 2 1 1 ");
    EXPECT_FALSE(f.editor.ToggleTabPageControl(0, nullptr, true));
}

TEST(SDialogEditorPopup, PageCommandsNeverReachTheNextRange)
{
    // Fifty-one pages: the forty-ninth page (base 9800) is the last whose range fits.
    std::string pages;
    for (int i = 0; i < 51; i++)
        pages += (i ? "|P" : "P") + std::to_string(i);
    // 195 controls before the TAB: items stop at base + 199.
    std::vector<SControlText> controls;
    for (int i = 0; i < 195; i++)
        controls.push_back({"WINDOW", i + 1, "", 0, 0, 5, 5, ""});
    std::vector<std::string> names(195);
    for (int i = 0; i < 195; i++)
    {
        names[i] = "W" + std::to_string(i);
        controls[i].name = names[i].c_str();
    }
    controls.push_back({"TAB", 500, "Pages", 100, 10, 150, 100, "TAB_CONTENT=" + pages + "\r\n"});
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(400, 300, controls)));
    f.editor.Select(f.Control("Pages"));
    f.editor.ShowPopupMenu(f.Client(150, 50));
    std::vector<HMENU> menus = PageMenus(f.editor);
    ASSERT_EQ(menus.size(), 49u);
    for (size_t p = 0; p < menus.size(); p += 16)
    {
        std::vector<int> ids = ItemIds(menus[p]);
        int base = 200 + 200 * (int)p;
        ASSERT_EQ(ids.size(), 2u + 190u) << p;
        EXPECT_EQ(ids.front(), base + 1);
        EXPECT_EQ(ids.back(), base + 199);
    }
    EXPECT_EQ(ItemIds(menus.back()).back(), 9999);
}

// --- test ---

TEST(SDialogEditorPopup, TestShowsTheBuiltDialogAndLeavesTheDesignerAsItWas)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {{"BUTTON", 1, "Ok", 20, 20, 50, 20, ""},
                                                  {"EDIT", 2, "Entry", 20, 60, 80, 20, ""}})));
    f.editor.Select(f.Control("Entry"));
    f.editor.OnKeyDown(VK_RIGHT);
    const std::string before = SavedText(f.editor);

    // The real modal run; a timer looks at the dialog while it runs, then closes it.
    g_shown = nullptr;
    g_wasVisible = false;
    g_children = 0;
    f.input.runModal = [](SWnd* dialog) {
        g_shown = dialog->GetHandle();
        SetTimer(nullptr, 0, 20, LookAndClose);
        return dialog->DoModal();
    };
    f.editor.SendMessage(SMENU_COMMAND, 0, 15);
    EXPECT_EQ(f.input.modalRuns, 1);
    EXPECT_NE(g_shown, nullptr);
    EXPECT_TRUE(g_wasVisible);
    EXPECT_GE(g_children, 2);
    EXPECT_FALSE(IsWindow(g_shown));
    EXPECT_EQ(SavedText(f.editor), before);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("Entry"));
    EXPECT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(f.editor.GetUndoCount(), 1);
    EXPECT_EQ(f.host.changes, 1);

    f.input.runModal = nullptr;
    f.editor.Close();
    EXPECT_FALSE(f.editor.Test());
    EXPECT_EQ(f.input.modalRuns, 1);
}
