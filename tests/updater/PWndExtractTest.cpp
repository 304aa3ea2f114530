#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "../window/PumpSupport.h"
#include "PWndExtract.h"
#include "PWndMake.h"

namespace
{
struct ChildTexts
{
    std::vector<std::string> texts;
    HWND progress = nullptr;
    HWND list = nullptr;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM parameter)
{
    ChildTexts* children = reinterpret_cast<ChildTexts*>(parameter);
    char className[64] = "";
    GetClassNameA(child, className, sizeof(className));
    char text[256] = "";
    GetWindowTextA(child, text, sizeof(text));
    children->texts.push_back(text);
    if (_stricmp(className, PROGRESS_CLASSA) == 0)
        children->progress = child;
    if (_stricmp(className, "LISTBOX") == 0)
        children->list = child;
    return TRUE;
}

ChildTexts Children(HWND window)
{
    ChildTexts children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool HasText(const ChildTexts& children, const char* text)
{
    for (const std::string& child : children.texts)
    {
        if (child == text)
            return true;
    }
    return false;
}

// Closing either window ends the program's message loop: the test takes that WM_QUIT back.
void DropQuit()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
    {
    }
}
}

TEST(PWndExtract, ShowsProgressAndFailure)
{
    {
        PWndExtract window;
        // An argument that is no checksum fails at once, before any download.
        ASSERT_TRUE(window.Open("not a number", "http://127.0.0.1:1/p.bin", "C:\\nowhere\\", ""));
        char caption[64] = "";
        GetWindowTextA(window.GetHandle(), caption, sizeof(caption));
        EXPECT_STREQ(caption, "Update");
        EXPECT_TRUE(GetWindowLongA(window.GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        // Built from the program's dialog description, its controls are found by name.
        EXPECT_NE(window.GetControlByName("LABEL"), nullptr);
        EXPECT_NE(window.GetControlByName("PROGRESS"), nullptr);
        EXPECT_NE(window.GetControlByName("LIST"), nullptr);
        RECT client;
        GetClientRect(window.GetHandle(), &client);
        EXPECT_EQ(client.right, 300);
        EXPECT_EQ(client.bottom, 220);
        ChildTexts before = Children(window.GetHandle());
        EXPECT_TRUE(HasText(before, "Updating files...") || HasText(before, "Failed."));
        ASSERT_NE(before.progress, nullptr);
        ASSERT_NE(before.list, nullptr);
        EXPECT_EQ(SendMessageA(before.progress, PBM_GETRANGE, FALSE, 0), 1000);
        ASSERT_TRUE(PumpUntil([&] { return HasText(Children(window.GetHandle()), "Failed."); }, 5000));
        EXPECT_EQ(SendMessageA(before.list, LB_GETCOUNT, 0, 0), 0);
        window.ShowProgress(420);
        EXPECT_EQ(SendMessageA(before.progress, PBM_GETPOS, 0, 0), 420);
        SStringArray paths;
        paths.Add("C:\\p\\a.dll");
        paths.Add("C:\\p\\b.dll");
        window.ShowFailed(paths);
        EXPECT_EQ(SendMessageA(before.list, LB_GETCOUNT, 0, 0), 2);
        // The window stays until the user closes it.
        EXPECT_TRUE(IsWindow(window.GetHandle()));
        window.Close();
        EXPECT_FALSE(IsWindow(window.GetHandle()));
    }
    DropQuit();
}

TEST(PWndMake, HoldsTheVersionAndFolderFields)
{
    {
        PWndMake window;
        ASSERT_TRUE(window.Open());
        char caption[64] = "";
        GetWindowTextA(window.GetHandle(), caption, sizeof(caption));
        EXPECT_STREQ(caption, "Make update files");
        EXPECT_NE(window.GetControlByName("EDIT_VERSION"), nullptr);
        EXPECT_NE(window.GetControlByName("EDIT_FOLDER"), nullptr);
        EXPECT_STREQ(window.GetVersionText(), "1.0.0.0");
        EXPECT_STREQ(window.GetFolderText(), "");
        window.SetFolderText("C:\\source\\");
        EXPECT_STREQ(window.GetFolderText(), "C:\\source\\");
        ChildTexts children = Children(window.GetHandle());
        EXPECT_TRUE(HasText(children, "Make"));
        EXPECT_TRUE(HasText(children, "..."));
        EXPECT_TRUE(HasText(children, "Folder: (you can drag & drop the folder)"));
        EXPECT_TRUE(GetWindowLongA(window.GetHandle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        window.Destroy();
    }
    DropQuit();
}

TEST(PWndExtract, KeepsItsLayoutWithoutADescriptionBuilder)
{
    // Without the builder the windows still open, so an update can always run.
    SWndDialog::Builder builder = SWndDialog::SetBuilder(nullptr);
    {
        PWndExtract extract;
        ASSERT_TRUE(extract.Open("x", "", "", ""));
        ChildTexts children = Children(extract.GetHandle());
        EXPECT_NE(children.progress, nullptr);
        EXPECT_NE(children.list, nullptr);
        EXPECT_TRUE(HasText(children, "Errors:"));
        ASSERT_TRUE(PumpUntil([&] { return HasText(Children(extract.GetHandle()), "Failed."); }, 5000));
        extract.Destroy();
        PWndMake make;
        ASSERT_TRUE(make.Open());
        EXPECT_STREQ(make.GetVersionText(), "1.0.0.0");
        EXPECT_TRUE(HasText(Children(make.GetHandle()), "Version:"));
        make.Destroy();
    }
    SWndDialog::SetBuilder(builder);
    DropQuit();
}
