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
//   app_driver select-file INDEX         selects one file-list item as the arrow keys would
//   app_driver child-post ID MSG WPARAM LPARAM   posts a message to a child window of the main window
//   app_driver child-type ID TEXT        posts the text's characters to a child window as WM_CHAR
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

// Selects a list item as the arrow keys would: the item next to it is selected
// first, then an arrow key moves the selection, so the list tells its parent.
bool SelectByKey(HWND list, int index, bool extended)
{
    const int count = list ? (int)SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
    if (index < 0 || index >= count)
        return false;
    int from = index > 0 ? index - 1 : (count > 1 ? 1 : -1);
    WPARAM key = index > 0 ? VK_DOWN : (count > 1 ? VK_UP : VK_HOME);
    if (extended)
    {
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        if (from >= 0)
        {
            SendMessageA(list, LB_SETSEL, TRUE, from);
            SendMessageA(list, LB_SETCARETINDEX, from, 0);
        }
    }
    else
        SendMessageA(list, LB_SETCURSEL, (WPARAM)from, 0);
    SendMessageA(list, WM_KEYDOWN, key, 1);
    SendMessageA(list, WM_KEYUP, key, 0xC0000001);
    return true;
}

// The focus window of the main window's thread.
HWND GetFocusOf(HWND main)
{
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
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
        {1006, "header"}, {1007, "volume"}, {1008, "thumbs"}, {1020, "cover"}, {1021, "title"},
        {1022, "parent_name"}, {1023, "parent_cover"}};
    for (const auto& child : children)
        PrintRect(child.name, main, Child(main, child.id));
    // Window texts are read without a message: a markup view keeps its text as its caption.
    static const struct { int id; const char* name; } texts[] = {
        {1006, "header_text"}, {1021, "title_text"}, {1022, "parent_name_text"}};
    for (const auto& text : texts)
    {
        HWND child = Child(main, text.id);
        WCHAR wide[1024] = L"";
        if (child)
            InternalGetWindowText(child, wide, 1024);
        char narrow[2048] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
        // One line per value: each line break (CR LF, CR or LF) becomes "|".
        char* out = narrow;
        for (const char* c = narrow; *c; c++)
        {
            if (*c == '\r' && c[1] == '\n')
                continue;
            *out++ = (*c == '\r' || *c == '\n') ? '|' : *c;
        }
        *out = 0;
        printf("%s=%s\n", text.name, narrow);
    }
    HWND folders = Child(main, 1001);
    HWND files = Child(main, 1002);
    printf("folder_count=%ld\n", folders ? (long)SendMessageA(folders, LB_GETCOUNT, 0, 0) : -1L);
    printf("folder_sel=%ld\n", folders ? (long)SendMessageA(folders, LB_GETCURSEL, 0, 0) : -1L);
    printf("file_count=%ld\n", files ? (long)SendMessageA(files, LB_GETCOUNT, 0, 0) : -1L);
    printf("file_sel_count=%ld\n", files ? (long)SendMessageA(files, LB_GETSELCOUNT, 0, 0) : -1L);
    printf("folder_focus=%d\n", folders && GetFocusOf(main) == folders ? 1 : 0);
    HWND volume = Child(main, 1007);
    printf("volume_pos=%ld\n", volume ? (long)SendMessageA(volume, TBM_GETPOS, 0, 0) : -1L);
    HWND status = ChildOfClass(main, STATUSCLASSNAMEA);
    char text[512] = "";
    if (status)
        GetWindowTextA(status, text, sizeof(text));
    printf("status=%s\n", text);
    printf("status_length=%ld\n", status ? (long)LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, 0, 0)) : -1L);
    printf("status_parts=%ld\n", status ? (long)SendMessageA(status, SB_GETPARTS, 0, 0) : -1L);
    printf("status1_length=%ld\n", status ? (long)LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, 1, 0)) : -1L);
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
    if (strcmp(command, "select-folder") == 0 && argc > 2)
        return SelectByKey(Child(main, 1001), atoi(argv[2]), false) ? 0 : 1;
    if (strcmp(command, "select-file") == 0 && argc > 2)
        return SelectByKey(Child(main, 1002), atoi(argv[2]), true) ? 0 : 1;
    if (strcmp(command, "child-post") == 0 && argc > 5)
    {
        HWND child = Child(main, atoi(argv[2]));
        return child && PostMessageA(child, (UINT)strtoul(argv[3], nullptr, 0), (WPARAM)strtoull(argv[4], nullptr, 0),
                                     (LPARAM)strtoll(argv[5], nullptr, 0)) ? 0 : 1;
    }
    if (strcmp(command, "child-type") == 0 && argc > 3)
    {
        HWND child = Child(main, atoi(argv[2]));
        if (!child)
            return 1;
        for (const char* c = argv[3]; *c; c++)
            PostMessageA(child, WM_CHAR, (WPARAM)(unsigned char)*c, 1);
        return 0;
    }
    return 2;
}
