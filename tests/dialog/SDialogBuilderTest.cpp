#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../core/SFileTestSupport.h"
#include "../window/PumpSupport.h"
#include "SDialogEditor.h"
#include "SFileMem.h"
#include "SResource.h"
#include "SStatusBarCtrl.h"
#include "STabCtrl.h"
#include "SToolBarCtrl.h"
#include "SWndDialog.h"

namespace
{

// A dialog that counts its dialog-ready messages and remembers their parameter.
class ReadyDialog : public SWndDialog
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_S_DIALOG_READY)
        {
            ready++;
            readyParam = lParam;
            controlsAtReady = GetControlCount();
        }
        return SWndDialog::OnMessage(msg, wParam, lParam);
    }
    int ready = 0;
    LPARAM readyParam = 0;
    int controlsAtReady = 0;
};

std::string Section(const char* keyword, int id, const char* name, const char* position, const char* style,
                    const char* extra = "")
{
    return std::string("[") + keyword + "]\r\nID=" + std::to_string(id) + "\r\nNAME=" + name + "\r\nCAPTION=" + name +
           "\r\nPOSITION=" + position + "\r\nSTYLE=" + style + "\r\n" + extra + "\r\n";
}

std::string Description(const char* dialogExtra, const std::string& controls,
                        const char* dialogStyle = "WS_VISIBLE WS_CAPTION WS_SYSMENU WS_SIZEBOX ")
{
    return std::string("TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\nNAME=Form\r\nCAPTION=Built\r\n"
                       "POSITION=0 0 300 200\r\nSTYLE=") +
           dialogStyle + "\r\n" + dialogExtra + "\r\n" + controls;
}

SFileMem* Stream(const std::string& text)
{
    SFileMem* stream = new SFileMem();
    stream->Allocate(0);
    stream->Write(text.data(), (int)text.size());
    stream->Rewind();
    return stream;
}

void PutU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out += (char)((value >> (8 * i)) & 0xFF);
}

// An uncompressed resource pack of named text entries.
std::string Pack(const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::string out = "SRES";
    PutU32(out, 0);
    for (const auto& entry : entries)
    {
        PutU32(out, (uint32_t)entry.second.size());
        out += entry.first;
        out += '\0';
        out += entry.second;
    }
    PutU32(out, 0xFFFFFFFF);
    return out;
}

struct BuilderInstalled
{
    BuilderInstalled() { SDialogEditor::InstallBuilder(); }
    ~BuilderInstalled() { SWndDialog::SetBuilder(nullptr); }
};

} // namespace

TEST(SDialogBuilder, BuildsWindowControlsBarsPagesAndAnchors)
{
    BuilderInstalled installed;
    std::string controls =
        Section("BUTTON", 1, "OK", "10 160 80 25", "WS_VISIBLE ", "HALIGN=2\r\nVALIGN=32\r\nTABENABLED=1\r\nTABINDEX=2\r\n") +
        Section("TAB", 2, "Pages", "10 10 280 140", "WS_VISIBLE ",
                "TAB_CONTENT=One | Two\r\nTAB_SELECTION=0\r\nTAB_CHILDREN_PRIVATE=0 3  1 4 1 2 5 4 1\r\n") +
        Section("EDIT", 3, "First", "20 40 100 20", "WS_VISIBLE ", "TABENABLED=1\r\nTABGROUP=-4\r\nTABINDEX=-3\r\n") +
        Section("CHECK", 4, "Second", "20 70 100 20", "WS_VISIBLE ") +
        Section("BUTTON", 5, "CANCEL", "100 160 80 25", "WS_VISIBLE ");
    std::string text = Description("DIALOG_STATUSBARTEXT=Left | Right\r\nDIALOG_MINSIZE=1\r\n", controls);
    SFileMem* stream = Stream(text);
    ReadyDialog dialog;
    ASSERT_TRUE(dialog.CreateFromResource(stream, nullptr, nullptr, true, (void*)77, nullptr, nullptr, nullptr, false));
    delete stream;
    EXPECT_EQ(dialog.ready, 1);
    EXPECT_EQ(dialog.readyParam, 77);
    EXPECT_EQ(dialog.controlsAtReady, 5);
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_STREQ(dialog.GetText(), "Built");
    EXPECT_TRUE(dialog.GetStyle() & WS_POPUP);

    SStatusBarCtrl* bar = dialog.GetStatusBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->SendMessage(SB_GETPARTS, 0, 0), 2);
    int rights[2] = {0, 0};
    bar->SendMessage(SB_GETPARTS, 2, (LPARAM)rights);
    EXPECT_EQ(rights[0], 150);
    // The client area grew by the bar: the dialog area itself stays 300 x 200.
    EXPECT_EQ(dialog.GetClientHeight(), 200 + bar->GetWindowHeight());

    STabCtrl* tab = dynamic_cast<STabCtrl*>(dialog.GetControlByName("Pages"));
    ASSERT_NE(tab, nullptr);
    SWnd* first = dialog.GetControlByName("First");
    SWnd* second = dialog.GetControlByName("Second");
    ASSERT_TRUE(first && second);
    // Page 0 shows the edit; the check is on page 1 (the self pair and the unpaired "1" are skipped).
    EXPECT_TRUE(first->IsVisible());
    EXPECT_FALSE(second->IsVisible());
    tab->ShowPage(1);
    EXPECT_FALSE(first->IsVisible());
    EXPECT_TRUE(second->IsVisible());

    EXPECT_EQ(first->GetTabGroup(), -1);
    EXPECT_EQ(first->GetTabIndex(), 0);
    SWnd* ok = dialog.GetControlByName("OK");
    EXPECT_EQ(ok->GetTabIndex(), 2);

    // Anchored to the right and bottom: the button follows a resize.
    RECT before;
    ok->GetRectInParent(&before);
    dialog.SetWindowSize(dialog.GetWindowWidth() + 40, dialog.GetWindowHeight() + 30);
    PumpPending();
    RECT after;
    ok->GetRectInParent(&after);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    dialog.Destroy();
}

TEST(SDialogBuilder, TabRecordsAreCreatedInReverseOrderAmongThemselves)
{
    BuilderInstalled installed;
    std::string controls = Section("BUTTON", 1, "B1", "0 0 10 10", "WS_VISIBLE ") +
                           Section("TAB", 2, "T1", "0 0 10 10", "WS_VISIBLE ", "TAB_CONTENT=a\r\n") +
                           Section("BUTTON", 3, "B2", "0 0 10 10", "WS_VISIBLE ") +
                           Section("TAB", 4, "T2", "0 0 10 10", "WS_VISIBLE ", "TAB_CONTENT=a\r\n") +
                           Section("TAB", 5, "T3", "0 0 10 10", "WS_VISIBLE ", "TAB_CONTENT=a\r\n");
    SFileMem* stream = Stream(Description("", controls));
    SWndDialog dialog;
    ASSERT_TRUE(dialog.CreateFromResource(stream, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr, true));
    delete stream;
    const char* order[] = {"B1", "T3", "B2", "T2", "T1"};
    ASSERT_EQ(dialog.GetControlCount(), 5);
    for (int i = 0; i < 5; i++)
        EXPECT_STREQ(dialog.GetControlName(dialog.GetControl(i)), order[i]) << i;
    // Hidden on request: the window exists but is not shown.
    EXPECT_FALSE(dialog.IsVisible());
    dialog.Destroy();
}

TEST(SDialogBuilder, ModalRunEndsThroughOkAndCancel)
{
    BuilderInstalled installed;
    std::string controls = Section("BUTTON", 1, "OK", "10 10 80 25", "WS_VISIBLE ") +
                           Section("BUTTON", 2, "CANCEL", "100 10 80 25", "WS_VISIBLE ");
    std::string text = Description("", controls);
    for (const char* name : {"OK", "CANCEL"})
    {
        SFileMem* stream = Stream(text);
        SWndDialog dialog;
        ASSERT_TRUE(dialog.CreateFromResource(stream, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr, true));
        delete stream;
        SWnd* button = dialog.GetControlByName(name);
        ASSERT_NE(button, nullptr);
        // The system's click notification, waiting for the modal loop.
        dialog.PostMessage(WM_COMMAND, MAKEWPARAM(button->GetId(), BN_CLICKED), (LPARAM)button->GetHandle());
        int result = dialog.DoModal();
        EXPECT_EQ(result, strcmp(name, "OK") == 0 ? 0 : -1) << name;
        dialog.Destroy();
    }
}

TEST(SDialogBuilder, ResourcesGiveToolBarAndMenu)
{
    BuilderInstalled installed;
    std::string toolbar = "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=2\r\n[0]\r\ntext=One\r\n[1]\r\ntext=Two\r\n";
    std::string menu = "TAVRIN MENU 1.0.0.0\r\n[]\r\ncount=2\r\n[0]\r\ncount=1\r\n[0:0]\r\ntext=File\r\nmenu=1\r\n"
                       "[1]\r\ncount=1\r\n[1:0]\r\nid=100\r\ntext=Open\r\n";
    SResource pack;
    SFileMem* packStream = Stream(Pack({{"bar.txt", toolbar}, {"menu.txt", menu}}));
    ASSERT_TRUE(pack.OpenStream(packStream, 0));
    std::string text = Description("DIALOG_TOOLBAR=bar.txt\r\nDIALOG_MENU=menu.txt\r\nDIALOG_ICON=missing.ico\r\n",
                                   Section("BUTTON", 1, "OK", "10 10 80 25", "WS_VISIBLE "));
    SFileMem* stream = Stream(text);
    SWndDialog dialog;
    ASSERT_TRUE(dialog.CreateFromResource(stream, nullptr, &pack, true, nullptr, nullptr, nullptr, nullptr, true));
    ASSERT_NE(dialog.GetToolBar(), nullptr);
    EXPECT_EQ(dialog.GetToolBar()->GetButtonCount(), 2);
    EXPECT_NE(dialog.GetMenu(), nullptr);
    dialog.Destroy();

    // Layered dialogs take no status bar, tool bar or menu.
    stream->Rewind();
    std::string layered = Description("DIALOG_LAYER=1\r\nDIALOG_TOOLBAR=bar.txt\r\nDIALOG_MENU=menu.txt\r\n"
                                      "DIALOG_STATUSBARTEXT=x\r\n",
                                      Section("BUTTON", 1, "OK", "10 10 80 25", "WS_VISIBLE "));
    SFileMem* layeredStream = Stream(layered);
    SWndDialog glass;
    ASSERT_TRUE(glass.CreateFromResource(layeredStream, nullptr, &pack, true, nullptr, nullptr, nullptr, nullptr, true));
    EXPECT_EQ(glass.GetToolBar(), nullptr);
    EXPECT_EQ(glass.GetStatusBar(), nullptr);
    EXPECT_EQ(glass.GetMenu(), nullptr);
    EXPECT_TRUE(glass.GetExStyle() & WS_EX_LAYERED);
    EXPECT_FALSE(glass.GetStyle() & WS_CAPTION);
    glass.Destroy();
    delete stream;
    delete layeredStream;
}

TEST(SDialogBuilder, FailuresReportFalse)
{
    BuilderInstalled installed;
    SWndDialog dialog;
    // No dialog record, a damaged text, a type the factory cannot make.
    for (const std::string& text : {std::string("TAVRIN DIALOG 1.0.0.0\r\n\r\n"), std::string("junk"),
                                    Description("", Section("GUI", 1, "G", "0 0 10 10", "WS_VISIBLE "))})
    {
        SFileMem* stream = Stream(text);
        bool built = dialog.CreateFromResource(stream, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr, true);
        delete stream;
        EXPECT_FALSE(built) << text;
        dialog.Destroy();
    }
    EXPECT_FALSE(SDialogEditor::CreateDialog(nullptr, &dialog, nullptr, nullptr, true, nullptr, nullptr, nullptr,
                                             nullptr, true));
}

namespace
{

// Top-level windows of this thread: a build that fails must not add any.
BOOL CALLBACK CountWindow(HWND, LPARAM counter)
{
    (*(int*)counter)++;
    return TRUE;
}

int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, (LPARAM)&count);
    return count;
}

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return true;
}

} // namespace

TEST(SDialogBuilder, FailedBuildLeavesNoWindow)
{
    BuilderInstalled installed;
    SResource pack;
    SFileMem* packStream = Stream(Pack({{"icon.bmp", file_test::RedBitmapBytes()}}));
    ASSERT_TRUE(pack.OpenStream(packStream, 0));
    struct Case
    {
        const char* what;
        std::string controls;
    };
    const Case cases[] = {
        {"a second dialog record among the controls",
         Section("BUTTON", 1, "B", "0 0 10 10", "WS_VISIBLE ") + Section("EDIT", 2, "E", "0 20 10 10", "WS_VISIBLE ") +
             Section("DIALOG", 3, "D", "0 40 10 10", "WS_VISIBLE ")},
        {"a type this layer cannot make",
         Section("CHECK", 1, "C", "0 0 10 10", "WS_VISIBLE ") + Section("GUI", 2, "G", "0 0 10 10", "WS_VISIBLE ")},
        {"the first control already fails", Section("DIALOG", 1, "D", "0 0 10 10", "WS_VISIBLE ")},
    };
    for (const Case& c : cases)
    {
        int before = ThreadWindowCount();
        SFileMem* stream = Stream(Description("DIALOG_ICON=icon.bmp\r\n", c.controls));
        ReadyDialog dialog;
        bool built = dialog.CreateFromResource(stream, nullptr, &pack, true, nullptr, nullptr, nullptr, nullptr, false);
        delete stream;
        EXPECT_FALSE(built) << c.what;
        EXPECT_EQ(dialog.GetHandle(), nullptr) << c.what;
        EXPECT_EQ(dialog.GetControlCount(), 0) << c.what;
        EXPECT_EQ(dialog.ready, 0) << c.what;
        EXPECT_EQ(ThreadWindowCount(), before) << c.what;
    }
    // The pack owns its stream and deletes it with itself.
}

TEST(SDialogBuilder, DialogIconGoesWithTheWindow)
{
    BuilderInstalled installed;
    SResource pack;
    SFileMem* packStream = Stream(Pack({{"icon.bmp", file_test::RedBitmapBytes()}}));
    ASSERT_TRUE(pack.OpenStream(packStream, 0));
    std::string text =
        Description("DIALOG_ICON=icon.bmp\r\n", Section("BUTTON", 1, "OK", "10 10 80 25", "WS_VISIBLE "));
    struct Case
    {
        const char* what;
        bool destroyWindow; // else the object goes with its window still open
    };
    const Case cases[] = {{"window destroyed", true}, {"dialog object deleted", false}};
    for (const Case& c : cases)
    {
        SWndDialog* dialog = new SWndDialog();
        HICON icons[2] = {nullptr, nullptr};
        // Built twice on one object: each window's icon goes with that window.
        for (HICON& icon : icons)
        {
            SFileMem* stream = Stream(text);
            ASSERT_TRUE(dialog->CreateFromResource(stream, nullptr, &pack, true, nullptr, nullptr, nullptr, nullptr,
                                                   true))
                << c.what;
            delete stream;
            icon = (HICON)dialog->SendMessage(WM_GETICON, ICON_BIG, 0);
            ASSERT_NE(icon, nullptr) << c.what;
            EXPECT_EQ((HICON)dialog->SendMessage(WM_GETICON, ICON_SMALL, 0), icon) << c.what;
            EXPECT_TRUE(IconAlive(icon)) << c.what;
            if (&icon == &icons[0] || c.destroyWindow)
                dialog->Destroy();

        }
        delete dialog;
        EXPECT_FALSE(IconAlive(icons[0])) << c.what;
        EXPECT_FALSE(IconAlive(icons[1])) << c.what;
    }
    // The pack owns its stream and deletes it with itself.
}

namespace
{

// The dialog window and every window inside it.
BOOL CALLBACK CollectWindow(HWND child, LPARAM out)
{
    ((std::vector<HWND>*)out)->push_back(child);
    return TRUE;
}

std::vector<HWND> WindowTree(HWND dialog)
{
    std::vector<HWND> handles = {dialog};
    EnumChildWindows(dialog, CollectWindow, (LPARAM)&handles);
    return handles;
}

// Shown controls of the kinds one below the other, ids from 1, the first with a tooltip.
std::string VisibleControls(std::initializer_list<const char*> kinds)
{
    std::string sections;
    int id = 1;
    for (const char* kind : kinds)
    {
        std::string position = "10 " + std::to_string(id * 25) + " 100 20";
        sections += Section(kind, id, kind, position.c_str(), "WS_VISIBLE ", id == 1 ? "TOOLTIP=Tip\r\n" : "");
        id++;
    }
    return sections;
}

} // namespace

TEST(SDialogBuilder, DeletingTheOpenDialogTakesItsWindowsAlong)
{
    BuilderInstalled installed;
    const char* tip = "TOOLTIP=Tip\r\n";
    struct Case
    {
        const char* what;
        std::string controls;
        const char* dialogExtra;
    };
    const Case cases[] = {
        {"system controls", VisibleControls({"EDIT", "BUTTON", "COMBO", "LIST", "CHECK", "RADIO"}), ""},
        {"library controls", VisibleControls({"LABEL", "STATIC", "PROGRESS", "SLIDER", "GROUP", "PANEL"}), ""},
        {"tab pages, status bar",
         Section("TAB", 1, "Pages", "10 10 280 140", "WS_VISIBLE ",
                 "TAB_CONTENT=One | Two\r\nTAB_SELECTION=0\r\nTAB_CHILDREN_PRIVATE=0 2 1 3\r\n") +
             Section("EDIT", 2, "First", "20 40 100 20", "WS_VISIBLE ", tip) +
             Section("CHECK", 3, "Second", "20 70 100 20", "WS_VISIBLE "),
         "DIALOG_STATUSBARTEXT=a | b\r\n"},
    };
    for (const Case& c : cases)
    {
        int before = ThreadWindowCount();
        SFileMem* stream = Stream(Description(c.dialogExtra, c.controls));
        ReadyDialog* dialog = new ReadyDialog();
        // Built hidden: taking a shown top-level window down waits for the display here.
        ASSERT_TRUE(dialog->CreateFromResource(stream, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr,
                                               true))
            << c.what;
        delete stream;
        std::vector<HWND> handles = WindowTree(dialog->GetHandle());
        ASSERT_GT(handles.size(), 3u) << c.what;
        PumpPending();
        delete dialog;

        // Whatever still reaches the former windows must not reach the freed objects.
        for (HWND handle : handles)
        {
            SendMessageA(handle, WM_SETTEXT, 0, (LPARAM)"after");
            SendMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 50));
            PostMessageA(handle, WM_PAINT, 0, 0);
        }
        PumpPending();
        for (HWND handle : handles)
        {
            EXPECT_FALSE(IsWindow(handle)) << c.what;
            EXPECT_EQ(FindWndByHandle(handle), nullptr) << c.what;
        }
        EXPECT_EQ(ThreadWindowCount(), before) << c.what;
    }
}
