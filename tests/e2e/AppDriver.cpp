// The end-to-end tests' hands and eyes on the running main program: finds its
// main window, posts commands, keys and the remote-control message, and prints
// the state of its windows as "key=value" lines.
//
//   app_driver wait-window MS            the main window's handle once it exists
//   app_driver count-windows             number of main windows
//   app_driver state                     visibility, rectangles, list counts, texts
//   app_driver post MSG WPARAM LPARAM    posts a message to the main window
//   app_driver key VK                    posts WM_KEYDOWN to the main window
//   app_driver wait-top CAPTION MS       waits for a top-level window with that caption
//   app_driver dlg-text CAPTION ID TEXT  sets a control's text in that window
//   app_driver dlg-click CAPTION ID      clicks a button in that window
//   app_driver dlg-close CAPTION         posts WM_CLOSE to that window
//   app_driver clipboard                 the clipboard's text
//   app_driver select-folder INDEX       selects a folder-list item as a click would
//   app_driver toolbar-check ID 0|1      sets a toolbar button's pressed state
//   app_driver set-volume POS            moves the volume slider
//   app_driver child-send ID MSG W L     sends a message to a child by control id; prints its result
//   app_driver child-post ID MSG W L     posts a message to a child by control id
//   app_driver child-text ID TEXT        sets a child's text by control id
//   app_driver tray MOUSEMSG             the shell's report of a mouse message on the tray icon
//   app_driver popup-menu MS             whether a popup menu of the program shows within MS
//   app_driver menu-keys VK...           presses keys in the program's open popup menu
//   app_driver focus ID                  gives the focus to a child (0: the main window); prints the focused id
//   app_driver type VK...                presses and releases keys as real input
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{

const char* const kCaption = "Melvora Browser 1.0.3.0";

struct Found
{
    const char* caption;
    HWND window;
    int count;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param)
{
    Found* found = (Found*)param;
    // InternalGetWindowText sends no message, so a busy window cannot hold the driver up.
    WCHAR wide[256] = L"";
    InternalGetWindowText(window, wide, 256);
    char text[256] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    if (strcmp(text, found->caption) == 0)
    {
        if (!found->window)
            found->window = window;
        found->count++;
    }
    return TRUE;
}

Found FindTopWindows(const char* caption)
{
    Found found = {caption, nullptr, 0};
    EnumWindows(FindTop, (LPARAM)&found);
    return found;
}

HWND WaitTop(const char* caption, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        HWND window = FindTopWindows(caption).window;
        if (window || GetTickCount() - start >= milliseconds)
            return window;
        Sleep(50);
    }
}

struct ById
{
    int id;
    HWND window;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param)
{
    ById* search = (ById*)param;
    if (GetDlgCtrlID(window) == search->id)
    {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND Child(HWND parent, int id)
{
    ById search = {id, nullptr};
    EnumChildWindows(parent, FindChild, (LPARAM)&search);
    return search.window;
}

void PrintRect(const char* name, HWND main, HWND window)
{
    if (!window)
    {
        printf("%s=missing\n", name);
        return;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, main, (POINT*)&rect, 2);
    printf("%s=%d,%ld,%ld,%ld,%ld\n", name, IsWindowVisible(window) ? 1 : 0, rect.left, rect.top, rect.right,
           rect.bottom);
}

BOOL CALLBACK FindClass(HWND window, LPARAM param)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    HWND* out = (HWND*)param;
    if (lstrcmpiA(name, (const char*)out[1]) == 0)
    {
        out[0] = window;
        return FALSE;
    }
    return TRUE;
}

HWND ChildOfClass(HWND parent, const char* className)
{
    HWND search[2] = {nullptr, (HWND)className};
    EnumChildWindows(parent, FindClass, (LPARAM)search);
    return search[0];
}

int State(HWND main)
{
    RECT window, client;
    GetWindowRect(main, &window);
    GetClientRect(main, &client);
    printf("visible=%d\n", IsWindowVisible(main) ? 1 : 0);
    printf("window=%ld,%ld,%ld,%ld\n", window.left, window.top, window.right, window.bottom);
    printf("client=%ld,%ld\n", client.right, client.bottom);
    POINT origin = {0, 0};
    ClientToScreen(main, &origin);
    printf("client_origin=%ld,%ld\n", origin.x, origin.y);
    static const struct { int id; const char* name; } children[] = {
        {1000, "controlbar"}, {1001, "folders"}, {1002, "files"}, {1003, "note"}, {1004, "web"},
        {1006, "header"}, {1007, "volume"}, {1008, "thumbs"}};
    for (const auto& child : children)
        PrintRect(child.name, main, Child(main, child.id));
    HWND folders = Child(main, 1001);
    HWND files = Child(main, 1002);
    printf("folder_count=%ld\n", folders ? (long)SendMessageA(folders, LB_GETCOUNT, 0, 0) : -1L);
    printf("folder_sel=%ld\n", folders ? (long)SendMessageA(folders, LB_GETCURSEL, 0, 0) : -1L);
    printf("file_count=%ld\n", files ? (long)SendMessageA(files, LB_GETCOUNT, 0, 0) : -1L);
    HWND volume = Child(main, 1007);
    printf("volume_pos=%ld\n", volume ? (long)SendMessageA(volume, TBM_GETPOS, 0, 0) : -1L);
    HWND status = ChildOfClass(main, STATUSCLASSNAMEA);
    char text[512] = "";
    if (status)
        GetWindowTextA(status, text, sizeof(text));
    printf("status=%s\n", text);
    printf("status_length=%ld\n", status ? (long)LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, 0, 0)) : -1L);
    printf("status_parts=%ld\n", status ? (long)SendMessageA(status, SB_GETPARTS, 0, 0) : -1L);
    HWND toolbar = ChildOfClass(main, TOOLBARCLASSNAMEA);
    printf("buttons=%ld\n", toolbar ? (long)SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) : -1L);
    if (toolbar)
    {
        for (int id = 1; id <= 21; id++)
            printf("button_%d=%d,%d\n", id, SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) ? 1 : 0,
                   SendMessageA(toolbar, TB_ISBUTTONCHECKED, id, 0) ? 1 : 0);
    }
    return 0;
}

struct OwnedSearch
{
    HWND owner;
    HWND windows[16];
    int count;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM param)
{
    OwnedSearch* search = (OwnedSearch*)param;
    if (GetWindow(window, GW_OWNER) == search->owner && search->count < 16)
        search->windows[search->count++] = window;
    return TRUE;
}

struct MenuSearch
{
    DWORD process;
    HWND menu;
};

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM param)
{
    MenuSearch* search = (MenuSearch*)param;
    char name[16] = "";
    GetClassNameA(window, name, sizeof(name));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (strcmp(name, "#32768") == 0 && process == search->process && IsWindowVisible(window))
    {
        search->menu = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitPopupMenu(HWND main, DWORD milliseconds)
{
    MenuSearch search = {0, nullptr};
    GetWindowThreadProcessId(main, &search.process);
    DWORD start = GetTickCount();
    for (;;)
    {
        search.menu = nullptr;
        EnumWindows(FindPopupMenu, (LPARAM)&search);
        if (search.menu || GetTickCount() - start >= milliseconds)
            return search.menu;
        Sleep(50);
    }
}

// The focus of another program's thread is read and set with the input states joined.
int Focus(HWND main, int id)
{
    HWND target = id ? Child(main, id) : main;
    if (!target)
        return 1;
    DWORD thread = GetWindowThreadProcessId(main, nullptr);
    DWORD own = GetCurrentThreadId();
    if (!AttachThreadInput(own, thread, TRUE))
        return 1;
    SetForegroundWindow(main);
    SetFocus(target);
    Sleep(200);
    HWND focus = GetFocus();
    AttachThreadInput(own, thread, FALSE);
    printf("focused=%d\n", focus == main ? 0 : focus ? GetDlgCtrlID(focus) : -1);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const char* command = argv[1];
    if (strcmp(command, "wait-window") == 0)
    {
        HWND main = WaitTop(kCaption, argc > 2 ? atoi(argv[2]) : 10000);
        printf("hwnd=%llu\n", (unsigned long long)(ULONG_PTR)main);
        return main ? 0 : 1;
    }
    if (strcmp(command, "count-windows") == 0)
    {
        printf("count=%d\n", FindTopWindows(kCaption).count);
        return 0;
    }
    if (strcmp(command, "wait-top") == 0 && argc > 3)
    {
        HWND window = WaitTop(argv[2], atoi(argv[3]));
        printf("hwnd=%llu\nvisible=%d\n", (unsigned long long)(ULONG_PTR)window,
               window && IsWindowVisible(window) ? 1 : 0);
        return window ? 0 : 1;
    }
    if (strcmp(command, "clipboard") == 0)
    {
        if (!OpenClipboard(nullptr))
            return 1;
        HANDLE data = GetClipboardData(CF_TEXT);
        const char* text = data ? (const char*)GlobalLock(data) : nullptr;
        printf("text=%s\n", text ? text : "");
        if (data)
            GlobalUnlock(data);
        CloseClipboard();
        return 0;
    }
    if (strncmp(command, "dlg-", 4) == 0 && argc > 2)
    {
        HWND dialog = WaitTop(argv[2], 5000);
        if (!dialog)
            return 1;
        if (strcmp(command, "dlg-close") == 0)
            return PostMessageA(dialog, WM_CLOSE, 0, 0) ? 0 : 1;
        if (argc < 4)
            return 2;
        HWND control = Child(dialog, atoi(argv[3]));
        if (!control)
            return 1;
        if (strcmp(command, "dlg-text") == 0 && argc > 4)
            return SendMessageA(control, WM_SETTEXT, 0, (LPARAM)argv[4]) ? 0 : 1;
        if (strcmp(command, "dlg-click") == 0)
        {
            PostMessageA(control, BM_CLICK, 0, 0);
            return 0;
        }
        return 2;
    }

    HWND main = FindTopWindows(kCaption).window;
    if (!main)
    {
        printf("error=no main window\n");
        return 1;
    }
    if (strcmp(command, "state") == 0)
        return State(main);
    if (strcmp(command, "post") == 0 && argc > 4)
        return PostMessageA(main, (UINT)strtoul(argv[2], nullptr, 0), (WPARAM)strtoull(argv[3], nullptr, 0),
                            (LPARAM)strtoll(argv[4], nullptr, 0)) ? 0 : 1;
    if (strcmp(command, "key") == 0 && argc > 2)
        return PostMessageA(main, WM_KEYDOWN, (WPARAM)strtoul(argv[2], nullptr, 0), 1) ? 0 : 1;
    if (strcmp(command, "toolbar-check") == 0 && argc > 3)
    {
        HWND toolbar = ChildOfClass(main, TOOLBARCLASSNAMEA);
        return toolbar && SendMessageA(toolbar, TB_CHECKBUTTON, atoi(argv[2]), MAKELONG(atoi(argv[3]) != 0, 0)) ? 0 : 1;
    }
    if (strcmp(command, "set-volume") == 0 && argc > 2)
    {
        HWND volume = Child(main, 1007);
        return volume && SendMessageA(volume, TBM_SETPOS, TRUE, atoi(argv[2])) >= 0 ? 0 : 1;
    }
    if ((strcmp(command, "child-send") == 0 || strcmp(command, "child-post") == 0) && argc > 5)
    {
        HWND child = Child(main, atoi(argv[2]));
        if (!child)
            return 1;
        const UINT msg = (UINT)strtoul(argv[3], nullptr, 0);
        const WPARAM wParam = (WPARAM)strtoull(argv[4], nullptr, 0);
        const LPARAM lParam = (LPARAM)strtoll(argv[5], nullptr, 0);
        if (strcmp(command, "child-post") == 0)
            return PostMessageA(child, msg, wParam, lParam) ? 0 : 1;
        printf("result=%lld\n", (long long)SendMessageA(child, msg, wParam, lParam));
        return 0;
    }
    if (strcmp(command, "child-text") == 0 && argc > 3)
    {
        HWND child = Child(main, atoi(argv[2]));
        return child && SendMessageA(child, WM_SETTEXT, 0, (LPARAM)argv[3]) ? 0 : 1;
    }
    if (strcmp(command, "tray") == 0 && argc > 2)
    {
        // The icon's window is a popup owned by the main window; only it answers the tray message.
        OwnedSearch search = {main, {}, 0};
        EnumWindows(FindOwned, (LPARAM)&search);
        for (int i = 0; i < search.count; i++)
            PostMessageA(search.windows[i], WM_APP + 1025, 0, (LPARAM)strtol(argv[2], nullptr, 0));
        return search.count ? 0 : 1;
    }
    if (strcmp(command, "popup-menu") == 0 && argc > 2)
    {
        HWND menu = WaitPopupMenu(main, (DWORD)atoi(argv[2]));
        printf("menu=%d\n", menu ? 1 : 0);
        return 0;
    }
    if (strcmp(command, "menu-keys") == 0)
    {
        HWND menu = WaitPopupMenu(main, 2000);
        if (!menu)
            return 1;
        for (int i = 2; i < argc; i++)
        {
            WPARAM key = (WPARAM)strtoul(argv[i], nullptr, 0);
            PostMessageA(menu, WM_KEYDOWN, key, 1);
            PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
            Sleep(100);
        }
        return 0;
    }
    if (strcmp(command, "focus") == 0 && argc > 2)
        return Focus(main, atoi(argv[2]));
    if (strcmp(command, "type") == 0)
    {
        for (int i = 2; i < argc; i++)
        {
            BYTE key = (BYTE)strtoul(argv[i], nullptr, 0);
            keybd_event(key, 0, 0, 0);
            keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
            Sleep(50);
        }
        return 0;
    }
    if (strcmp(command, "select-folder") == 0 && argc > 2)
    {
        HWND folders = Child(main, 1001);
        if (!folders)
            return 1;
        SendMessageA(folders, LB_SETCURSEL, (WPARAM)atoi(argv[2]), 0);
        SendMessageA(GetParent(folders), WM_COMMAND, MAKEWPARAM(1001, LBN_SELCHANGE), (LPARAM)folders);
        return 0;
    }
    return 2;
}
