#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "../core/SFileTestSupport.h"
#include "../window/PumpSupport.h"
#include "SButtonCtrl.h"
#include "SControl.h"
#include "SControlBarCtrl.h"
#include "SFileMem.h"
#include "SResource.h"
#include "SStatusBarCtrl.h"
#include "SToolBarCtrl.h"
#include "SWndDialog.h"

namespace
{

// A control record as a description would give it.
class TestRecord : public SWndDialog::_SRecord
{
public:
    TestRecord(short id, const char* name, const char* face = "", short size = 0, unsigned style = 0)
        : m_id(id), m_name(name), m_face(face), m_size(size), m_style(style)
    {
    }
    short GetID() const override { return m_id; }
    SString GetName() const override { return SString(m_name.c_str()); }
    SString GetFontFace() const override { return SString(m_face.c_str()); }
    short GetFontSize() const override { return m_size; }
    unsigned GetFontStyle() const override { return m_style; }

private:
    short m_id;
    std::string m_name, m_face;
    short m_size;
    unsigned m_style;
};

// What the last call of the test builder received.
struct BuildCall
{
    int calls = 0;
    SFile* description = nullptr;
    SWndDialog* dialog = nullptr;
    HWND parent = nullptr;
    SResource* resources = nullptr;
    bool popup = false;
    void* extra = nullptr;
    void* context = nullptr;
    SMenuFactory menuCallback = nullptr;
    SMenuNameToId nameCallback = nullptr;
    bool hidden = false;
};
BuildCall g_call;

// The tests' own dialog builder: "TEST DIALOG" then one "NAME,id" line per push button,
// the buttons one below the other.
bool TestBuilder(SFile* description, SWndDialog* dialog, HWND parent, SResource* resources, bool popup,
                 void* extra, void* context, SMenuFactory menuCallback, SMenuNameToId nameCallback, bool hidden)
{
    g_call.calls++;
    g_call.description = description;
    g_call.dialog = dialog;
    g_call.parent = parent;
    g_call.resources = resources;
    g_call.popup = popup;
    g_call.extra = extra;
    g_call.context = context;
    g_call.menuCallback = menuCallback;
    g_call.nameCallback = nameCallback;
    g_call.hidden = hidden;
    if (!description || description->ReadLine() != "TEST DIALOG")
        return false;
    // A pop-up without caption shown without activation: the X driver does not manage it,
    // so hiding it costs no wait (see InactiveParent.h).
    RECT rect = {60, 60, 460, 360};
    if (!dialog->Create("Test dialog", popup ? WS_POPUP | WS_BORDER : WS_CHILD, 0, &rect, parent))
        return false;
    dialog->SetClientSize(400, 300);
    if (!hidden)
        dialog->ShowWindow(SW_SHOWNA);
    for (int y = 10; !description->IsEof(); y += 30)
    {
        SString line = description->ReadLine();
        int comma = line.FindChar(',', 0, -1);
        if (comma < 0)
            continue;
        SString name = line.Left(comma);
        int id = atoi(line.GetText() + comma + 1);
        SButtonCtrl* button = new SButtonCtrl();
        RECT place = {10, y, 110, y + 25};
        if (!button->Create(name.GetText(), WS_VISIBLE, 0, &place, dialog->GetHandle(), (UINT_PTR)id))
        {
            delete button;
            return false;
        }
        TestRecord record((short)id, name.GetText());
        dialog->AddControl(button, &record);
    }
    return true;
}

// Registers the test builder for the life of a test and puts the previous one back.
struct BuilderScope
{
    SWndDialog::Builder previous;
    BuilderScope() : previous(SWndDialog::SetBuilder(TestBuilder)) { g_call = BuildCall(); }
    ~BuilderScope() { SWndDialog::SetBuilder(previous); }
};

// A dialog that records the OK and CANCEL messages and the button clicks it receives.
class RecordingDialog : public SWndDialog
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_S_OK)
            oks++;
        else if (msg == WM_S_CANCEL)
            cancels++;
        else if (msg == ControlMessage(SBLOCK_BUTTON, 1))
            clicks++;
        else if (msg == ControlMessage(SBLOCK_TOOLBAR))
            commands.push_back((int)lParam);
        return SWndDialog::OnMessage(msg, wParam, lParam);
    }
    int oks = 0, cancels = 0, clicks = 0;
    std::vector<int> commands;
};

bool Build(SWndDialog* dialog, const char* text, bool popup = true, bool hidden = false)
{
    SFileMem description;
    description.WriteText(text);
    description.Rewind();
    return dialog->CreateFromResource(&description, nullptr, nullptr, popup, nullptr, nullptr, nullptr, nullptr,
                                      hidden);
}

const char kOkCancel[] = "TEST DIALOG\r\nOK,1\r\nCANCEL,2\r\nOther,3\r\n";

// Ends a modal run that the test did not end in time, with a result no test expects.
SWnd* g_guarded = nullptr;
void CALLBACK GuardTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_guarded)
        g_guarded->EndModal(99);
}

// Runs the dialog modally with a bounded time; the posted message starts the end.
int RunModal(SWndDialog* dialog, HWND target, UINT msg, WPARAM wParam, UINT guard = 4000)
{
    g_guarded = dialog;
    UINT_PTR timer = SetTimer(nullptr, 0, guard, GuardTimer);
    PostMessageA(target, msg, wParam, 0);
    int result = dialog->DoModal();
    KillTimer(nullptr, timer);
    g_guarded = nullptr;
    return result;
}

}

TEST(SWndDialog, CreateFromResourceGoesThroughTheRegisteredBuilder)
{
    {
        SWndDialog::Builder previous = SWndDialog::SetBuilder(nullptr);
        SWndDialog dialog;
        EXPECT_FALSE(Build(&dialog, kOkCancel));
        SWndDialog::SetBuilder(previous);
    }
    BuilderScope scope;
    SWndDialog dialog;
    SFileMem description;
    description.WriteText(kOkCancel);
    description.Rewind();
    int context = 0, extra = 0;
    SMenuFactory menus = [](void*) -> SMenu* { return nullptr; };
    SMenuNameToId names = [](void*, const char*) { return 5; };
    ASSERT_TRUE(dialog.CreateFromResource(&description, nullptr, nullptr, true, &extra, &context, menus, names,
                                          false));
    EXPECT_EQ(1, g_call.calls);
    EXPECT_EQ(&description, g_call.description);
    EXPECT_EQ(&dialog, g_call.dialog);
    EXPECT_EQ(&extra, g_call.extra);
    EXPECT_EQ(&context, g_call.context);
    EXPECT_EQ(menus, g_call.menuCallback);
    EXPECT_EQ(names, g_call.nameCallback);
    EXPECT_TRUE(g_call.popup);
    EXPECT_FALSE(g_call.hidden);
    EXPECT_EQ(3, dialog.GetControlCount());
    // A second call while the window exists fails without reaching the builder.
    description.Rewind();
    EXPECT_FALSE(dialog.CreateFromResource(&description, nullptr, nullptr, true, nullptr, nullptr, nullptr,
                                           nullptr, false));
    EXPECT_EQ(1, g_call.calls);
    // The builder's failure is the result.
    SWndDialog other;
    EXPECT_FALSE(Build(&other, "NOT A DIALOG\r\n"));
    EXPECT_EQ(nullptr, other.GetHandle());
}

TEST(SWndDialog, ControlRegistry)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, "TEST DIALOG\r\nOK,7\r\nSame,7\r\nNeg,-3\r\n"));
    ASSERT_EQ(3, dialog.GetControlCount());
    SWnd* ok = dialog.GetControl(0);
    SWnd* same = dialog.GetControl(1);
    SWnd* negative = dialog.GetControl(2);
    EXPECT_EQ(nullptr, dialog.GetControl(3));
    EXPECT_EQ(nullptr, dialog.GetControl(-1));
    // Duplicate ids: the first registered wins; ids are sign-extended 16-bit values.
    EXPECT_EQ(ok, dialog.GetControlById(7));
    EXPECT_EQ(negative, dialog.GetControlById(-3));
    EXPECT_EQ(nullptr, dialog.GetControlById(65533));
    EXPECT_EQ(nullptr, dialog.GetControlById(8));
    // Names compare exactly.
    EXPECT_EQ(ok, dialog.GetControlByName("OK"));
    EXPECT_EQ(nullptr, dialog.GetControlByName("ok"));
    EXPECT_EQ(same, dialog.GetControlByName("Same"));
    EXPECT_EQ(nullptr, dialog.GetControlByName(nullptr));
    EXPECT_EQ(1, dialog.IndexOfControl(same));
    EXPECT_EQ(-1, dialog.IndexOfControl(&dialog));
    EXPECT_STREQ("Neg", dialog.GetControlName(negative).GetText());
    EXPECT_TRUE(dialog.GetControlName(&dialog).IsEmpty());
    // Null arguments are refused.
    TestRecord record(1, "x");
    EXPECT_FALSE(dialog.AddControl(nullptr, &record));
    EXPECT_FALSE(dialog.AddControl(ok, nullptr));
    EXPECT_EQ(3, dialog.GetControlCount());
}

TEST(SWndDialog, RecordFontIsMadeAndSet)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, "TEST DIALOG\r\n"));
    SButtonCtrl* plain = new SButtonCtrl();
    SButtonCtrl* styled = new SButtonCtrl();
    RECT rect = {10, 10, 100, 30};
    ASSERT_TRUE(plain->Create("plain", WS_VISIBLE, 0, &rect, dialog.GetHandle()));
    ASSERT_TRUE(styled->Create("styled", WS_VISIBLE, 0, &rect, dialog.GetHandle()));
    HFONT before = (HFONT)plain->SendMessage(WM_GETFONT);
    TestRecord plainRecord(1, "plain");
    TestRecord styledRecord(2, "styled", "Tahoma", 14, 1);
    ASSERT_TRUE(dialog.AddControl(plain, &plainRecord));
    ASSERT_TRUE(dialog.AddControl(styled, &styledRecord));
    EXPECT_EQ(before, (HFONT)plain->SendMessage(WM_GETFONT));
    HFONT font = (HFONT)styled->SendMessage(WM_GETFONT);
    ASSERT_NE(nullptr, font);
    LOGFONTA info;
    ASSERT_EQ((int)sizeof(info), GetObjectA(font, sizeof(info), &info));
    EXPECT_STREQ("Tahoma", info.lfFaceName);
    EXPECT_EQ(FW_BOLD, info.lfWeight);
    // Destroying the window deletes the controls and the font.
    dialog.Destroy();
    EXPECT_EQ(0, dialog.GetControlCount());
    EXPECT_EQ(0, GetObjectA(font, sizeof(info), &info));
}

TEST(SWndDialog, ModalRunEndsThroughOkAndCancel)
{
    BuilderScope scope;
    struct Case { const char* button; int result; };
    const Case cases[] = {{"OK", 0}, {"CANCEL", -1}};
    for (const Case& c : cases)
    {
        RecordingDialog dialog;
        ASSERT_TRUE(Build(&dialog, kOkCancel));
        SWnd* button = dialog.GetControlByName(c.button);
        ASSERT_NE(nullptr, button);
        // BM_CLICK makes the button press and release itself and notify the dialog.
        EXPECT_EQ(c.result, RunModal(&dialog, button->GetHandle(), BM_CLICK, 0)) << c.button;
        EXPECT_EQ(1, dialog.clicks) << c.button;
        EXPECT_FALSE(dialog.IsModal());
        EXPECT_FALSE(dialog.IsVisible());
    }
    // Another button only notifies: the guard ends that run.
    RecordingDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    EXPECT_EQ(99, RunModal(&dialog, dialog.GetControlByName("Other")->GetHandle(), BM_CLICK, 0, 300));
    EXPECT_EQ(1, dialog.clicks);
    EXPECT_EQ(0, dialog.oks + dialog.cancels);
}

TEST(SWndDialog, DefaultKeysEndTheModalRun)
{
    BuilderScope scope;
    struct Case { WPARAM key; int result; };
    const Case cases[] = {{VK_RETURN, 0}, {VK_ESCAPE, -1}};
    for (const Case& c : cases)
    {
        SWndDialog dialog;
        ASSERT_TRUE(Build(&dialog, kOkCancel));
        dialog.SetDefaultKeys(true, true);
        EXPECT_EQ(c.result, RunModal(&dialog, dialog.GetHandle(), WM_KEYDOWN, c.key)) << c.key;
    }
}

TEST(SWndDialog, OkButtonOutsideAModalRunOnlyNotifies)
{
    BuilderScope scope;
    RecordingDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    dialog.GetControlByName("OK")->SendMessage(BM_CLICK);
    dialog.GetControlByName("CANCEL")->SendMessage(BM_CLICK);
    PumpPending();
    EXPECT_EQ(2, dialog.clicks);
    EXPECT_EQ(0, dialog.oks);
    EXPECT_EQ(0, dialog.cancels);
    EXPECT_TRUE(dialog.IsVisible());
}

TEST(SWndDialog, StatusBarSitsBelowTheOldClientArea)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    EXPECT_FALSE(dialog.SetStatusText(0, "none yet"));
    int before = dialog.GetClientHeight();
    ASSERT_TRUE(dialog.CreateStatusBar(0));
    EXPECT_FALSE(dialog.CreateStatusBar(2));
    SStatusBarCtrl* bar = dialog.GetStatusBar();
    ASSERT_NE(nullptr, bar);
    PumpPending();
    EXPECT_EQ(1, bar->GetPartCount());
    int height = bar->GetWindowHeight();
    EXPECT_GT(height, 0);
    EXPECT_EQ(before + height, dialog.GetClientHeight());
    RECT rect;
    ASSERT_TRUE(bar->GetRectInParent(&rect));
    EXPECT_EQ(before, rect.top);
    EXPECT_EQ(dialog.GetClientHeight(), rect.bottom);
    EXPECT_TRUE(dialog.SetStatusText(0, "Ready"));
    char text[32] = "";
    bar->SendMessage(SB_GETTEXTA, 0, (LPARAM)text);
    EXPECT_STREQ("Ready", text);
    EXPECT_TRUE(dialog.SetStatusPartRight(0, 120));
    EXPECT_FALSE(dialog.SetStatusPartRight(1, 120));
    // The dialog's controls keep their places.
    RECT ok;
    ASSERT_TRUE(dialog.GetControlByName("OK")->GetRectInParent(&ok));
    EXPECT_EQ(10, ok.top);
}

namespace
{

const char kToolBarText[] =
    "TAVRIN TOOLBAR 1.0.0.0\r\n"
    "[]\r\n"
    "width=16\r\n"
    "height=16\r\n"
    "count=5\r\n"
    "[0]\r\n"
    "name=open\r\n"
    "image=open.bmp\r\n"
    "text=Open\r\n"
    "data=42\r\n"
    "[1]\r\n"
    "separator=1\r\n"
    "[2]\r\n"
    "text=Unnamed\r\n"
    "disabled=yes\r\n"
    "[3]\r\n"
    "name=stop\r\n"
    "image=missing.bmp\r\n"
    "text=Stop\r\n"
    "disabled=1\r\n"
    "[4]\r\n"
    "text=Last\r\n";

int NameToId(void* context, const char* name)
{
    ++*(int*)context;
    if (strcmp(name, "open") == 0)
        return 100;
    if (strcmp(name, "stop") == 0)
        return 101;
    return 0;
}

// A 16 x 16 24-bit picture file in a scratch folder that a resource source lists.
struct PictureFolder
{
    std::string folder;
    SResource pack;
    PictureFolder()
    {
        folder = file_test::ScratchPath("melvora-dialog-", "pack");
        CreateDirectoryA(folder.c_str(), nullptr);
        file_test::WriteFileBytes(folder + "\\open.bmp", file_test::RedBitmapBytes());
        pack.SetBaseFolder((folder + "\\").c_str());
        pack.AddFile("open.bmp", 0);
    }
    ~PictureFolder()
    {
        DeleteFileA((folder + "\\open.bmp").c_str());
        RemoveDirectoryA(folder.c_str());
    }
};

bool LoadText(SWndDialog* dialog, const char* text, SResource* pack = nullptr, int* context = nullptr)
{
    SFileMem stream;
    stream.WriteText(text);
    stream.Rewind();
    return dialog->LoadToolBar(&stream, pack, context, context ? NameToId : nullptr);
}

}

TEST(SWndDialog, ToolBarTextBuildsTheButtons)
{
    BuilderScope scope;
    PictureFolder pictures;
    RecordingDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    EXPECT_FALSE(LoadText(&dialog, kToolBarText));
    ASSERT_TRUE(dialog.CreateControlBar());
    EXPECT_FALSE(dialog.CreateControlBar());
    int calls = 0;
    ASSERT_TRUE(LoadText(&dialog, kToolBarText, &pictures.pack, &calls));
    // Asked for every section, named or not.
    EXPECT_EQ(5, calls);
    SToolBarCtrl* toolBar = dialog.GetToolBar();
    ASSERT_NE(nullptr, toolBar);
    EXPECT_EQ(dialog.GetControlBar()->GetHandle(), toolBar->GetParent());
    EXPECT_TRUE(toolBar->IsTransparent());
    EXPECT_TRUE(toolBar->GetStyle() & TBSTYLE_FLAT);
    EXPECT_EQ(1, dialog.GetToolBarImageList()->GetCount());
    EXPECT_EQ(16, dialog.GetToolBarImageList()->GetIconWidth());
    ASSERT_EQ(5, toolBar->GetButtonCount());

    struct Case { int id; int image; int style; bool enabled; const char* text; unsigned data; };
    const Case cases[] = {
        {100, 0, BTNS_SHOWTEXT | BTNS_AUTOSIZE, true, "Open", 42},
        {0, 0, BTNS_SEP, true, "", 0},
        {-4, -1, BTNS_SHOWTEXT | BTNS_AUTOSIZE, true, "Unnamed", 0},
        {101, -1, BTNS_SHOWTEXT | BTNS_AUTOSIZE, false, "Stop", 0},
        {-6, -1, BTNS_SHOWTEXT | BTNS_AUTOSIZE, true, "Last", 0},
    };
    for (int i = 0; i < 5; i++)
    {
        const Case& c = cases[i];
        TBBUTTON button;
        ASSERT_TRUE(toolBar->SendMessage(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button)) << i;
        EXPECT_EQ(c.id, button.idCommand) << i;
        EXPECT_EQ(c.style, (int)button.fsStyle) << i;
        EXPECT_EQ(c.data, (unsigned)button.dwData) << i;
        if (c.style == BTNS_SEP)
            continue;
        EXPECT_EQ(c.image, button.iBitmap) << i;
        EXPECT_EQ(c.enabled, (button.fsState & TBSTATE_ENABLED) != 0) << i;
        char text[32] = "";
        toolBar->SendMessage(TB_GETBUTTONTEXTA, (WPARAM)c.id, (LPARAM)text);
        EXPECT_STREQ(c.text, text) << i;
    }

    // A click reaches the dialog with the command id, through the control bar.
    RECT item;
    ASSERT_TRUE(toolBar->SendMessage(TB_GETITEMRECT, 0, (LPARAM)&item));
    LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    toolBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    toolBar->SendMessage(WM_LBUTTONUP, 0, point);
    if (GetCapture() == toolBar->GetHandle())
        ReleaseCapture();
    PumpPending();
    EXPECT_EQ(std::vector<int>{100}, dialog.commands);

    // A second text replaces the first bar.
    ASSERT_TRUE(LoadText(&dialog, "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=1\r\n[0]\r\ntext=Only\r\n"));
    ASSERT_NE(nullptr, dialog.GetToolBar());
    EXPECT_EQ(1, dialog.GetToolBar()->GetButtonCount());
    TBBUTTON only;
    ASSERT_TRUE(dialog.GetToolBar()->SendMessage(TB_GETBUTTON, 0, (LPARAM)&only));
    EXPECT_EQ(-2, only.idCommand);
}

TEST(SWndDialog, DamagedToolBarTextsLeaveNoBar)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    ASSERT_TRUE(dialog.CreateControlBar());
    const std::string texts[] = {
        "",
        "TAVRIN TOOLBAR 1.0.0.1\r\n[]\r\ncount=0\r\n",
        "tavrin toolbar 1.0.0.0\r\n[]\r\ncount=0\r\n",
        "TAVRIN MENU 1.0.0.0\r\n[]\r\ncount=0\r\n",
        "TAVRIN TOOLBAR 1.0.0.0 extra\r\n[]\r\ncount=0\r\n",
        "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=3\r\n[0]\r\ntext=a\r\n[1]\r\ntext=b\r\n",
        "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=2000000000\r\n[0]\r\n",
        "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=-1\r\n",
        std::string("TAVRIN TOOLBAR\0\xff\xfe 1.0.0.0\r\n[]\r\n", 31),
        std::string(5000, 'T'),
    };
    for (const std::string& text : texts)
    {
        // A good text first, so that each refusal must also remove it.
        ASSERT_TRUE(LoadText(&dialog, "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=0\r\n"));
        ASSERT_NE(nullptr, dialog.GetToolBar());
        SFileMem stream;
        stream.Write(text.data(), (int)text.size());
        stream.Rewind();
        EXPECT_FALSE(dialog.LoadToolBar(&stream, nullptr, nullptr, nullptr)) << text.substr(0, 40);
        EXPECT_EQ(nullptr, dialog.GetToolBar()) << text.substr(0, 40);
        EXPECT_EQ(nullptr, dialog.GetToolBarImageList()->GetHandle()) << text.substr(0, 40);
    }
    EXPECT_FALSE(dialog.LoadToolBar(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, dialog.GetToolBar());
    // Every refused bar took its band with it.
    EXPECT_EQ(0, dialog.GetControlBar()->GetBandCount());
}

TEST(SWndDialog, ControlBarGrowthMovesTheDialogsOwnControls)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    // A control on another parent stays where it is.
    SButtonCtrl* nested = new SButtonCtrl();
    SWnd* other = dialog.GetControlByName("Other");
    RECT place = {2, 2, 20, 20};
    ASSERT_TRUE(nested->Create("n", WS_VISIBLE, 0, &place, other->GetHandle()));
    TestRecord record(9, "nested");
    ASSERT_TRUE(dialog.AddControl(nested, &record));
    int before = dialog.GetClientHeight();
    ASSERT_TRUE(dialog.CreateControlBar());
    ASSERT_TRUE(LoadText(&dialog, "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=1\r\n[0]\r\ntext=Play\r\n"));
    PumpPending();
    SControlBarCtrl* bar = dialog.GetControlBar();
    RECT barRect;
    ASSERT_TRUE(bar->GetRectInParent(&barRect));
    EXPECT_EQ(0, barRect.top);
    int height = bar->GetWindowHeight();
    EXPECT_GT(height, 0);
    EXPECT_EQ(before + height, dialog.GetClientHeight());
    const struct { const char* name; int top; } cases[] = {{"OK", 10}, {"CANCEL", 40}, {"Other", 70}};
    for (const auto& c : cases)
    {
        RECT rect;
        ASSERT_TRUE(dialog.GetControlByName(c.name)->GetRectInParent(&rect));
        EXPECT_EQ(c.top + height, rect.top) << c.name;
        EXPECT_EQ(10, rect.left) << c.name;
    }
    RECT rect;
    ASSERT_TRUE(nested->GetRectInParent(&rect));
    EXPECT_EQ(2, rect.top);
    // The same notification again, with no change of height, moves nothing.
    dialog.SendMessage(ControlMessage(SBLOCK_CONTROLBAR), (WPARAM)bar, 0);
    ASSERT_TRUE(dialog.GetControlByName("OK")->GetRectInParent(&rect));
    EXPECT_EQ(10 + height, rect.top);
    // From another control bar it is ignored.
    SControlBarCtrl stranger;
    dialog.SendMessage(ControlMessage(SBLOCK_CONTROLBAR), (WPARAM)&stranger, 0);
    EXPECT_EQ(before + height, dialog.GetClientHeight());
}

TEST(SWndDialog, AnchoredChildrenFollowTheResize)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    SWnd* ok = dialog.GetControlByName("OK");
    SWnd* cancel = dialog.GetControlByName("CANCEL");
    ok->SetAnchor(2 | 32);    // right and bottom
    cancel->SetAnchor(4 | 64); // width and height
    dialog.SetClientSize(450, 340);
    PumpPending();
    RECT rect;
    ASSERT_TRUE(ok->GetRectInParent(&rect));
    EXPECT_EQ(60, rect.left);
    EXPECT_EQ(50, rect.top);
    EXPECT_EQ(100, rect.right - rect.left);
    ASSERT_TRUE(cancel->GetRectInParent(&rect));
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(40, rect.top);
    EXPECT_EQ(150, rect.right - rect.left);
    EXPECT_EQ(65, rect.bottom - rect.top);
}

TEST(SWndDialog, DestroyingTheWindowReleasesEverythingAndAllowsANewBuild)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    ASSERT_TRUE(dialog.CreateStatusBar(2));
    ASSERT_TRUE(dialog.CreateControlBar());
    ASSERT_TRUE(LoadText(&dialog, "TAVRIN TOOLBAR 1.0.0.0\r\n[]\r\ncount=1\r\n[0]\r\ntext=Play\r\n"));
    SMenu* menu = new SMenu();
    dialog.GetMenus()->Add(menu);
    ASSERT_TRUE(dialog.Destroy());
    EXPECT_EQ(0, dialog.GetControlCount());
    EXPECT_EQ(nullptr, dialog.GetStatusBar());
    EXPECT_EQ(nullptr, dialog.GetControlBar());
    EXPECT_EQ(nullptr, dialog.GetToolBar());
    EXPECT_EQ(0, dialog.GetMenus()->GetCount());
    EXPECT_EQ(nullptr, dialog.GetControlById(1));
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    EXPECT_EQ(3, dialog.GetControlCount());
    EXPECT_TRUE(dialog.CreateStatusBar(1));
}

TEST(SWndDialog, CustomControlDefaultsToNone)
{
    SWndDialog dialog;
    TestRecord record(1, "custom");
    EXPECT_EQ(nullptr, dialog.CreateCustomControl(3, &record));
}

TEST(SWndDialog, AddToControlBarMovesTheChildIntoABand)
{
    BuilderScope scope;
    SWndDialog dialog;
    ASSERT_TRUE(Build(&dialog, kOkCancel));
    SWnd* other = dialog.GetControlByName("Other");
    other->SetAnchor(2);
    EXPECT_FALSE(dialog.AddToControlBar(other, 80, 24));
    ASSERT_TRUE(dialog.CreateControlBar());
    ASSERT_TRUE(dialog.AddToControlBar(other, 80, 24));
    EXPECT_EQ(0, other->GetAnchor());
    EXPECT_EQ(dialog.GetControlBar()->GetHandle(), other->GetParent());
    EXPECT_EQ(1, dialog.GetControlBar()->GetBandCount());
    EXPECT_EQ(0, dialog.GetControlBar()->FindBand(other->GetHandle()));
    EXPECT_EQ(-1, dialog.GetControlBar()->FindBand(dialog.GetHandle()));
}
