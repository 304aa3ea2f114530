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
//   app_driver playlist                  prints the playlists pane: names, selection, tracks, count
//   app_driver playlist-select NAME      selects a playlist in the drop-down as the user would
//   app_driver playlist-track INDEX      selects a track of the playlist as a click would
//   app_driver playlist-key VK           sends a key to the playlist's track list
//   app_driver playlist-click ID         clicks a button of the playlists pane (1002-1009)
//   app_driver post-top CAPTION MSG W L  posts a message to a top-level window
//   app_driver navigate CAPTION URL      asks that window's browser to navigate (WM_COPYDATA 1)
//   app_driver click-top CAPTION ID      clicks the control ID of that window with the mouse messages
//   app_driver children-top CAPTION      that window's rectangle and those of the windows inside it
//   app_driver texts-top CAPTION         prints id, visible, enabled and text of that window's children
//   app_driver click-text CAPTION TEXT   clicks the button of that window with that caption
//   app_driver select-file INDEX         selects one file-list item as a click would
//   app_driver tree-select CAPTION INDEX selects the INDEX-th item (in display order) of that window's tree
//   app_driver play                      the now-playing pane, docked bar and video window
//   app_driver rects                     screen rectangles of what a user clicks, and what clicks change
//   app_driver mouse HWND MSG X Y [WP]   posts a mouse message to any window
//   app_driver watch MS [1|2]            every change of the now-playing title for MS ms
//                                        (1: until it empties again, 2: until the first
//                                        title shows again)
//   app_driver keys VK...                types keys with real input, 50 ms apart
//   app_driver select-file-key INDEX     selects one file-list item as the arrow keys would
//   app_driver child-post ID MSG WPARAM LPARAM   posts a message to a child window of the main window
//   app_driver child-type ID TEXT        posts the text's characters to a child window as WM_CHAR
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>

#include "../GuiObjects.h"

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
        // A shown window wins over a hidden one of the same caption (one being made or destroyed).
        if (!found->window || (!IsWindowVisible(found->window) && IsWindowVisible(window)))
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

// The now-playing strip: the main window's child of 65 pixels without an id. Its
// controls take ids that main-window controls have too (1000 to 1004).
HWND FindPane(HWND main)
{
    HWND pane = nullptr;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        RECT client;
        GetClientRect(child, &client);
        if (GetDlgCtrlID(child) == 0 && client.bottom == 65)
            pane = child;
    }
    return pane;
}

struct ById
{
    int id;
    HWND window;
    HWND skip;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param)
{
    ById* search = (ById*)param;
    if (GetDlgCtrlID(window) == search->id && (!search->skip || GetParent(window) != search->skip))
    {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND Child(HWND parent, int id)
{
    ById search = {id, nullptr, FindPane(parent)};
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

// The playlists pane: the parent of the only drop-down list of the main window.
HWND PlaylistPane(HWND main)
{
    HWND names = ChildOfClass(main, WC_COMBOBOXA);
    return names ? GetParent(names) : nullptr;
}

HWND DirectChild(HWND parent, int id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == id)
            return child;
    return nullptr;
}

int Playlist(HWND main, int argc, char** argv)
{
    HWND pane = PlaylistPane(main);
    HWND names = pane ? DirectChild(pane, 1000) : nullptr;
    HWND tracks = pane ? DirectChild(pane, 1001) : nullptr;
    if (!names || !tracks)
    {
        printf("error=no playlists pane\n");
        return 1;
    }
    const char* command = argv[1];
    char text[1024];
    if (strcmp(command, "playlist") == 0)
    {
        long count = (long)SendMessageA(names, CB_GETCOUNT, 0, 0);
        printf("names=");
        for (long i = 0; i < count; i++)
        {
            // The drop-down is a Unicode window: its texts cross processes intact only as UTF-16.
            WCHAR wide[512] = L"";
            text[0] = 0;
            if (SendMessageW(names, CB_GETLBTEXTLEN, i, 0) < 512)
                SendMessageW(names, CB_GETLBTEXT, i, (LPARAM)wide);
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
            printf("%s%s", i ? "|" : "", text);
        }
        printf("\nselected=%ld\n", (long)SendMessageA(names, CB_GETCURSEL, 0, 0));
        // The track list draws its own items: their texts stay in the program.
        printf("track_count=%ld\n", (long)SendMessageA(tracks, LB_GETCOUNT, 0, 0));
        printf("track_sel=%ld\n", (long)SendMessageA(tracks, LB_GETCURSEL, 0, 0));
        HWND label = nullptr;
        for (HWND child = GetWindow(pane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgCtrlID(child) == 0)
                label = child;
        text[0] = 0;
        if (label)
            GetWindowTextA(label, text, sizeof(text));
        printf("count=%s\n", text);
        return 0;
    }
    if (argc < 3)
        return 2;
    if (strcmp(command, "playlist-select") == 0)
    {
        if (SendMessageA(names, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)argv[2]) == CB_ERR)
            return 1;
        SendMessageA(pane, WM_COMMAND, MAKEWPARAM(1000, CBN_SELCHANGE), (LPARAM)names);
        return 0;
    }
    if (strcmp(command, "playlist-track") == 0)
    {
        SendMessageA(tracks, LB_SETCURSEL, (WPARAM)atoi(argv[2]), 0);
        SendMessageA(pane, WM_COMMAND, MAKEWPARAM(1001, LBN_SELCHANGE), (LPARAM)tracks);
        return 0;
    }
    if (strcmp(command, "playlist-key") == 0)
        return SendMessageA(tracks, WM_KEYDOWN, (WPARAM)strtoul(argv[2], nullptr, 0), 1) >= 0 ? 0 : 1;
    if (strcmp(command, "playlist-click") == 0)
    {
        HWND button = DirectChild(pane, atoi(argv[2]));
        if (!button)
            return 1;
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        return 0;
    }
    return 2;
}

// The children of a window, one line each: handle, id, visible, enabled, the rectangle
// in screen coordinates and the text.
void PrintChildren(const char* prefix, HWND parent)
{
    int n = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), n++)
    {
        RECT rect;
        GetWindowRect(child, &rect);
        char text[256] = "";
        GetWindowTextA(child, text, sizeof(text));
        printf("%s_%d=%llu,%d,%d,%d,%ld,%ld,%ld,%ld,%s\n", prefix, n, (unsigned long long)(ULONG_PTR)child,
               GetDlgCtrlID(child), IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0, rect.left,
               rect.top, rect.right, rect.bottom, text);
    }
}

struct Descendants
{
    int count;
};

BOOL CALLBACK PrintDescendant(HWND child, LPARAM param)
{
    Descendants* found = (Descendants*)param;
    RECT rect;
    GetWindowRect(child, &rect);
    char text[256] = "";
    GetWindowTextA(child, text, sizeof(text));
    printf("child_%d=%llu,%d,%d,%d,%ld,%ld,%ld,%ld,%s\n", found->count++, (unsigned long long)(ULONG_PTR)child,
           GetDlgCtrlID(child), IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0, rect.left, rect.top,
           rect.right, rect.bottom, text);
    return TRUE;
}

// Every window inside a window, at any depth, in the form of PrintChildren.
void PrintDescendants(HWND parent)
{
    Descendants found = {0};
    EnumChildWindows(parent, PrintDescendant, (LPARAM)&found);
}

struct PopupSearch
{
    DWORD thread;
    HWND main;
    HWND bar;
    HWND video;
};

BOOL CALLBACK FindPopups(HWND window, LPARAM param)
{
    PopupSearch* search = (PopupSearch*)param;
    if (window == search->main || GetWindowThreadProcessId(window, nullptr) != search->thread)
        return TRUE;
    LONG style = GetWindowLongA(window, GWL_STYLE);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_TOOLWINDOW) || !(style & WS_POPUP))
        return TRUE;
    // The bar is the one with the show/hide button; the splash is another tool popup.
    if (style & WS_THICKFRAME)
        search->video = window;
    else if (!search->bar && GetDlgItem(window, 1009))
        search->bar = window;
    return TRUE;
}

// The now-playing pane (the main window's 65-pixel child strip), the docked bar and the
// video window (the program's two tool popups, told apart by the sizing frame).
// Polls the title label without sending it a message, so a busy program cannot hold
// the watch up; prints "title_N=milliseconds,text" at every change.
int Watch(HWND main, DWORD milliseconds, int until)
{
    HWND pane = FindPane(main);
    HWND title = nullptr;
    for (HWND child = pane ? GetWindow(pane, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == 1004)
            title = child;
    if (!title)
        return 1;
    char last[256] = "\x01";
    char first[256] = "";
    int n = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds)
    {
        WCHAR wide[256] = L"";
        InternalGetWindowText(title, wide, 256);
        char text[256] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        if (strcmp(text, last) != 0)
        {
            printf("title_%d=%lu,%s\n", n++, GetTickCount() - start, text);
            fflush(stdout);
            if (until == 1 && !text[0] && last[0] && last[0] != '\x01')
                break;
            if (until == 2 && text[0] && !first[0])
                strcpy(first, text);
            else if (until == 2 && text[0] && strcmp(text, first) == 0)
                break;
            strcpy(last, text);
        }
        Sleep(5);
    }
    printf("titles=%d\n", n);
    return 0;
}

int Play(HWND main)
{
    HWND pane = FindPane(main);
    printf("pane=%llu\n", (unsigned long long)(ULONG_PTR)pane);
    if (pane)
        PrintChildren("pane", pane);
    PopupSearch search = {GetWindowThreadProcessId(main, nullptr), main, nullptr, nullptr};
    EnumWindows(FindPopups, (LPARAM)&search);
    RECT rect = {0, 0, 0, 0};
    if (search.bar)
        GetWindowRect(search.bar, &rect);
    printf("bar=%llu,%d,%ld,%ld,%ld,%ld\n", (unsigned long long)(ULONG_PTR)search.bar,
           search.bar && IsWindowVisible(search.bar) ? 1 : 0, rect.left, rect.top, rect.right, rect.bottom);
    if (search.bar)
        PrintChildren("bar", search.bar);
    printf("video=%d\n", search.video && IsWindowVisible(search.video) ? 1 : 0);
    HWND thumbs = Child(main, 1008);
    printf("thumbs=%llu,%d\n", (unsigned long long)(ULONG_PTR)thumbs, thumbs && IsWindowVisible(thumbs) ? 1 : 0);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    printf("work=%ld,%ld,%ld,%ld\n", work.left, work.top, work.right, work.bottom);
    printf("screen=%d,%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
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

// A shown top-level window of a class that belongs to a process: the open popup
// menu ("#32768"), the open drop-down list of a combo box ("ComboLBox").
struct ShownSearch
{
    const char* className;
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM param)
{
    ShownSearch* search = (ShownSearch*)param;
    char name[16] = "";
    GetClassNameA(window, name, sizeof(name));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (lstrcmpiA(name, search->className) == 0 && process == search->process && IsWindowVisible(window))
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindShownOf(HWND main, const char* className)
{
    ShownSearch search = {className, 0, nullptr};
    GetWindowThreadProcessId(main, &search.process);
    EnumWindows(FindShown, (LPARAM)&search);
    return search.found;
}

HWND WaitPopupMenu(HWND main, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        HWND menu = FindShownOf(main, "#32768");
        if (menu || GetTickCount() - start >= milliseconds)
            return menu;
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

// The common controls' messages that answer through a pointer are not carried
// between processes: the driver lends the control a buffer of its own in the
// program's address space for the answer and reads that back; nothing of the
// program's own data is read.
bool RemoteQuery(HWND window, UINT msg, WPARAM wParam, void* data, SIZE_T size, LRESULT* result)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (!process)
        return false;
    bool ok = false;
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote)
    {
        SIZE_T done = 0;
        DWORD_PTR answer = 0;
        if (WriteProcessMemory(process, remote, data, size, &done) &&
            SendMessageTimeoutA(window, msg, wParam, (LPARAM)remote, SMTO_ABORTIFHUNG, 5000, &answer))
        {
            ok = ReadProcessMemory(process, remote, data, size, &done) && done == size;
            if (result)
                *result = (LRESULT)answer;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return ok;
}

// "name=left,top,right,bottom" of a rectangle given in the client coordinates of window,
// printed in screen coordinates: where a real click has to land.
void PrintScreenRect(const char* name, HWND window, RECT rect)
{
    MapWindowPoints(window, nullptr, (POINT*)&rect, 2);
    printf("%s=%ld,%ld,%ld,%ld\n", name, rect.left, rect.top, rect.right, rect.bottom);
}

void PrintWindowRect(const char* name, HWND window)
{
    if (!window)
        return;
    RECT rect;
    GetWindowRect(window, &rect);
    printf("%s=%d,%ld,%ld,%ld,%ld\n", name, IsWindowVisible(window) ? 1 : 0, rect.left, rect.top, rect.right,
           rect.bottom);
}

// The items of a list box that show, in screen coordinates ("name_INDEX").
void PrintListItems(const char* name, HWND list)
{
    if (!list || !IsWindowVisible(list))
        return;
    RECT client;
    GetClientRect(list, &client);
    const int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = (int)SendMessageA(list, LB_GETTOPINDEX, 0, 0); i >= 0 && i < count; i++)
    {
        // LB_GETITEMRECT is one of the messages the system carries between processes.
        RECT item;
        if (SendMessageA(list, LB_GETITEMRECT, i, (LPARAM)&item) == LB_ERR || item.top >= client.bottom)
            break;
        char key[64];
        snprintf(key, sizeof(key), "%s_%d", name, i);
        PrintScreenRect(key, list, item);
    }
}

HWND FindChildOfClass(HWND parent, const char* className)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        char name[64] = "";
        GetClassNameA(child, name, sizeof(name));
        if (lstrcmpiA(name, className) == 0)
            return child;
    }
    return nullptr;
}

// Where every control a user touches lies on the screen, and the values those
// touches change: toolbar buttons, list items, the volume slider's thumb and
// channel, the seek bar, the grid, the title view and the playlists pane.
int Rects(HWND main)
{
    PrintWindowRect("main", main);
    HWND toolbar = ChildOfClass(main, TOOLBARCLASSNAMEA);
    for (int id = 1; toolbar && id <= 40; id++)
    {
        RECT rect = {0, 0, 0, 0};
        LRESULT found = 0;
        if (RemoteQuery(toolbar, TB_GETRECT, id, &rect, sizeof(rect), &found) && found)
        {
            char key[32];
            snprintf(key, sizeof(key), "tb_%d", id);
            PrintScreenRect(key, toolbar, rect);
        }
    }
    PrintListItems("folder", Child(main, 1001));
    PrintListItems("file", Child(main, 1002));
    HWND volume = Child(main, 1007);
    if (volume)
    {
        PrintWindowRect("volume", volume);
        RECT thumb = {0, 0, 0, 0}, channel = {0, 0, 0, 0};
        if (RemoteQuery(volume, TBM_GETTHUMBRECT, 0, &thumb, sizeof(thumb), nullptr))
            PrintScreenRect("volume_thumb", volume, thumb);
        if (RemoteQuery(volume, TBM_GETCHANNELRECT, 0, &channel, sizeof(channel), nullptr))
            PrintScreenRect("volume_channel", volume, channel);
        printf("volume_pos=%ld\n", (long)SendMessageA(volume, TBM_GETPOS, 0, 0));
        printf("volume_max=%ld\n", (long)SendMessageA(volume, TBM_GETRANGEMAX, 0, 0));
    }
    HWND pane = FindPane(main);
    HWND seek = pane ? FindChildOfClass(pane, PROGRESS_CLASSA) : nullptr;
    if (seek)
    {
        PrintWindowRect("seek", seek);
        printf("seek_pos=%ld\n", (long)SendMessageA(seek, PBM_GETPOS, 0, 0));
        printf("seek_max=%ld\n", (long)SendMessageA(seek, PBM_GETRANGE, FALSE, 0));
    }
    static const struct { int id; const char* name; } views[] = {
        {1003, "note"}, {1004, "web"}, {1008, "thumbs"}, {1020, "cover"}, {1021, "title"}};
    for (const auto& view : views)
        PrintWindowRect(view.name, Child(main, view.id));
    HWND names = ChildOfClass(main, WC_COMBOBOXA);
    HWND playlists = names ? GetParent(names) : nullptr;
    if (playlists)
    {
        PrintWindowRect("pl_names", names);
        for (int id = 1002; id <= 1008; id++)
        {
            char key[32];
            snprintf(key, sizeof(key), "pl_%d", id);
            PrintWindowRect(key, DirectChild(playlists, id));
        }
        PrintListItems("track", DirectChild(playlists, 1001));
    }
    // The open drop-down list of a combo box is a top-level list box of the program.
    PrintListItems("drop", FindShownOf(main, "ComboLBox"));
    HWND menu = WaitPopupMenu(main, 0);
    if (menu)
        PrintWindowRect("menu", menu);
    // Without a system tray on the display, Wine shows the icons in a window of its own.
    HWND tray = FindTopWindows("Wine System Tray").window;
    if (tray && IsWindowVisible(tray))
    {
        RECT client;
        GetClientRect(tray, &client);
        PrintScreenRect("tray", tray, client);
    }
    HWND focus = GetFocusOf(main);
    printf("focus=%d\n", focus == main ? 0 : focus ? GetDlgCtrlID(focus) : -1);
    printf("foreground=%d\n", GetForegroundWindow() == main ? 1 : 0);
    printf("highlight=%06lx\n", (unsigned long)GetSysColor(COLOR_HIGHLIGHT));
    return 0;
}

} // namespace

// ---- GDI and USER object counts, for the long-run leak tests ----
//   app_driver gui-objects               the main program's GDI and USER object counts
//   app_driver gui-selftest N            shows that the counts see N objects of each kind that a
//                                        second process makes, and see them go when it frees them
//   app_driver gui-hold N NAME           that second process (driven through events named NAME-*)
//   app_driver browse-rounds N ENTER     N rounds over every folder of the root and of its folder ENTER
//   app_driver play-rounds N             N times: play the selected folder, stop once playing
//   app_driver cycle-top N MSG W L CAPTION  N times: post MSG to the main window, wait for the window
//                                        CAPTION, close it with its close box's command
//   app_driver playlist-rounds N         N rounds over the playlists, their tracks, the drop-down
//                                        and the rename dialog of the playlists pane
namespace
{

void PrintGuiObjects(const GuiObjects& counts)
{
    printf("gdi=%ld\nuser=%ld\nreported=%d\n", counts.gdi, counts.user, counts.reported ? 1 : 0);
    printf("dcs=%ld\nregions=%ld\nbitmaps=%ld\npalettes=%ld\nfonts=%ld\nbrushes=%ld\npens=%ld\nothers=%ld\n",
           counts.dcs, counts.regions, counts.bitmaps, counts.palettes, counts.fonts, counts.brushes, counts.pens,
           counts.others);
    printf("windows=%ld\nsession_windows=%ld\nsession_user=%ld\n", counts.windows, counts.sessionWindows,
           counts.sessionUser);
}

// The program's windows by class, "class:count" joined by "|": what a grown window count is made of.
void PrintWindowClasses(DWORD process)
{
    std::map<std::string, int> classes;
    gui_objects::ForEachWindow([&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[64] = "";
        if (owner == process && GetClassNameA(window, name, sizeof(name)))
            classes[name]++;
    });
    printf("window_classes=");
    const char* separator = "";
    for (const auto& entry : classes)
    {
        printf("%s%s:%d", separator, entry.first.c_str(), entry.second);
        separator = "|";
    }
    printf("\n");
}

HANDLE HoldEvent(const char* name, const char* step)
{
    char full[128];
    snprintf(full, sizeof(full), "%s-%s", name, step);
    return CreateEventA(nullptr, FALSE, FALSE, full);
}

// What the helper process holds: N objects of each kind.
struct Held
{
    HGDIOBJ objects[6][1000];
    HMENU menus[1000];
    HICON icons[1000];
    HWND windows[1000];
};

void MakeObjects(Held* held, int count)
{
    static BYTE iconBits[32 * 32 / 8];
    for (int i = 0; i < count; i++)
    {
        held->objects[0][i] = CreateBitmap(8, 8, 1, 1, nullptr);
        held->objects[1][i] = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
        held->objects[2][i] = CreateSolidBrush(RGB(i, 1, 2));
        held->objects[3][i] = CreatePen(PS_SOLID, 1, RGB(i, 1, 2));
        held->objects[4][i] = CreateRectRgn(0, 0, i + 1, 1);
        held->objects[5][i] = CreateCompatibleDC(nullptr);
        held->menus[i] = CreatePopupMenu();
        held->icons[i] = CreateIcon(nullptr, 32, 32, 1, 1, iconBits, iconBits);
        held->windows[i] = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr, nullptr);
    }
}

void FreeObjects(Held* held, int count)
{
    for (int i = 0; i < count; i++)
    {
        for (int kind = 0; kind < 5; kind++)
            DeleteObject(held->objects[kind][i]);
        DeleteDC((HDC)held->objects[5][i]);
        DestroyMenu(held->menus[i]);
        DestroyIcon(held->icons[i]);
        DestroyWindow(held->windows[i]);
    }
}

// The self-test's second process: counted once warm, once holding N objects of
// each kind and once after freeing them; it waits for the count between steps.
int GuiHold(int made, const char* name)
{
    HANDLE ready = HoldEvent(name, "ready"), go = HoldEvent(name, "go");
    if (!ready || !go || made <= 0 || made > 1000)
        return 1;
    static Held held;
    // A window that stays, as a program has: the thread's input-method window lives
    // only while the thread has a window. One of each next: the first window and font
    // make caches that stay.
    HWND anchor = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr, nullptr);
    MakeObjects(&held, 1);
    FreeObjects(&held, 1);
    for (int step = 0; step < 3; step++)
    {
        if (step == 1)
            MakeObjects(&held, made);
        if (step == 2)
            FreeObjects(&held, made);
        SetEvent(ready);
        if (WaitForSingleObject(go, 30000) != WAIT_OBJECT_0)
            break;
    }
    DestroyWindow(anchor);
    return 0;
}

struct Expected
{
    const char* name;
    long GuiObjects::*field;
    long perRound;                // objects made per round of the helper (icons make a bitmap too)
};

int GuiSelfTest(int made)
{
    char name[64];
    snprintf(name, sizeof(name), "MelvoraGuiHold-%lu", GetCurrentProcessId());
    HANDLE ready = HoldEvent(name, "ready"), go = HoldEvent(name, "go");
    char command[MAX_PATH + 96];
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof(self));
    snprintf(command, sizeof(command), "\"%s\" gui-hold %d %s", self, made, name);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child;
    if (!ready || !go || !CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                         &child))
    {
        printf("error=no helper process\n");
        return 1;
    }
    GuiObjects counts[3];
    bool ok = true;
    for (int step = 0; step < 3 && ok; step++)
    {
        ok = WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0;
        if (ok)
            counts[step] = CountGuiObjects(child.dwProcessId);
        SetEvent(go);
    }
    WaitForSingleObject(child.hProcess, 10000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    if (!ok)
    {
        printf("error=the helper did not answer\n");
        return 1;
    }
    static const Expected expected[] = {
        {"gdi", &GuiObjects::gdi, 7}, {"user", &GuiObjects::user, 3}, {"windows", &GuiObjects::windows, 1},
        {"bitmaps", &GuiObjects::bitmaps, 2}, {"fonts", &GuiObjects::fonts, 1},
        {"brushes", &GuiObjects::brushes, 1}, {"pens", &GuiObjects::pens, 1}, {"regions", &GuiObjects::regions, 1},
        {"dcs", &GuiObjects::dcs, 1}};
    int failed = 0;
    for (const Expected& e : expected)
    {
        const long before = counts[0].*e.field, held = counts[1].*e.field, after = counts[2].*e.field;
        const bool good = before >= 0 && held - before == e.perRound * made && after == before;
        printf("%s=%ld,%ld,%ld,%s\n", e.name, before, held, after, good ? "ok" : "wrong");
        failed += good ? 0 : 1;
    }
    printf("reported=%d\nselftest=%s\n", counts[0].reported ? 1 : 0, failed ? "fail" : "pass");
    return failed ? 1 : 0;
}

// The long loops of the leak test run inside one driver process: as one driver start
// per step, the thousands of steps would take minutes. Each step is a message sent
// to the program (so it is handled before the next one), not input.
bool Settled(HWND window, UINT milliseconds)
{
    // A modal loop notices its end only at the next posted message; a user's mouse
    // makes one at once, this one stands in for it.
    PostMessageA(window, WM_NULL, 0, 0);
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &answer) != 0;
}

// Waits until the condition holds, at most milliseconds.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start >= milliseconds)
            return false;
        Sleep(10);
    }
    return true;
}

// Selects every folder of the root, enters the folder at index enter, selects each of
// its folders and goes back, rounds times; the root must list the same folders after.
int BrowseRounds(HWND main, int rounds, int enter)
{
    HWND folders = Child(main, 1001);
    const int rootCount = folders ? (int)SendMessageA(folders, LB_GETCOUNT, 0, 0) : 0;
    if (rootCount <= enter)
        return 1;
    const DWORD start = GetTickCount();
    for (int round = 0; round < rounds; round++)
    {
        for (int i = 0; i < rootCount; i++)
            SelectByKey(folders, i, false);
        SelectByKey(folders, enter, false);
        SendMessageA(folders, WM_KEYDOWN, VK_RETURN, 1);
        SendMessageA(folders, WM_KEYUP, VK_RETURN, 0xC0000001);
        const int inner = (int)SendMessageA(folders, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < inner; i++)
            SelectByKey(folders, i, false);
        SendMessageA(main, WM_KEYDOWN, VK_BACK, 1);
        Settled(main, 10000);
        const int back = (int)SendMessageA(folders, LB_GETCOUNT, 0, 0);
        if (back != rootCount)
        {
            printf("error=round %d came back to %d folders, not %d\n", round, back, rootCount);
            return 1;
        }
    }
    printf("rounds=%d\nelapsed_ms=%lu\n", rounds, GetTickCount() - start);
    return 0;
}

// Plays the selected folder with the toolbar's play command and stops it once the
// Stop button is enabled, rounds times.
int PlayRounds(HWND main, int rounds)
{
    const UINT toolbarCommand = WM_APP + 3300;
    HWND toolbar = ChildOfClass(main, TOOLBARCLASSNAMEA);
    if (!toolbar)
        return 1;
    auto stoppable = [toolbar] { return SendMessageA(toolbar, TB_ISBUTTONENABLED, 11, 0) != 0; };
    const DWORD start = GetTickCount();
    for (int round = 0; round < rounds; round++)
    {
        PostMessageA(main, toolbarCommand, 0, 3);
        if (!WaitFor(stoppable, 15000))
        {
            printf("error=round %d: nothing plays\n", round);
            return 1;
        }
        PostMessageA(main, toolbarCommand, 0, 11);
        if (!WaitFor([&] { return !stoppable(); }, 15000))
        {
            printf("error=round %d: the playing does not stop\n", round);
            return 1;
        }
    }
    printf("rounds=%d\nelapsed_ms=%lu\n", rounds, GetTickCount() - start);
    return 0;
}

// Opens a window through open() and closes it as its close box would, rounds times;
// each round waits for the window to show and to go.
template <typename Open>
int CycleTop(HWND main, int rounds, const char* caption, Open open, bool report = true)
{
    const DWORD start = GetTickCount();
    for (int round = 0; round < rounds; round++)
    {
        open();
        HWND window = nullptr;
        auto shown = [&] {
            window = FindTopWindows(caption).window;
            return window && IsWindowVisible(window);
        };
        if (!WaitFor(shown, 20000))
        {
            printf("error=round %d: no window \"%s\"\n", round, caption);
            return 1;
        }
        Settled(window, 10000);
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (!WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 20000))
        {
            printf("error=round %d: \"%s\" stays open\n", round, caption);
            return 1;
        }
        Settled(main, 10000);
    }
    if (report)
        printf("rounds=%d\nelapsed_ms=%lu\n", rounds, GetTickCount() - start);
    return 0;
}

// Goes through the playlists pane: each playlist of the drop-down, each of its tracks
// (their covers show), the drop-down opened and closed, and the rename dialog opened
// with its button and closed, rounds times.
int PlaylistRounds(HWND main, int rounds)
{
    HWND pane = PlaylistPane(main);
    HWND names = pane ? DirectChild(pane, 1000) : nullptr;
    HWND tracks = pane ? DirectChild(pane, 1001) : nullptr;
    HWND rename = pane ? DirectChild(pane, 1006) : nullptr;
    if (!names || !tracks || !rename)
        return 1;
    const DWORD start = GetTickCount();
    for (int round = 0; round < rounds; round++)
    {
        const int count = (int)SendMessageA(names, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++)
        {
            SendMessageA(names, CB_SETCURSEL, (WPARAM)i, 0);
            SendMessageA(pane, WM_COMMAND, MAKEWPARAM(1000, CBN_SELCHANGE), (LPARAM)names);
            const int trackCount = (int)SendMessageA(tracks, LB_GETCOUNT, 0, 0);
            for (int t = 0; t < trackCount; t++)
            {
                SendMessageA(tracks, LB_SETCURSEL, (WPARAM)t, 0);
                SendMessageA(pane, WM_COMMAND, MAKEWPARAM(1001, LBN_SELCHANGE), (LPARAM)tracks);
            }
        }
        SendMessageA(names, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(names, CB_SHOWDROPDOWN, FALSE, 0);
        const int result = CycleTop(main, 1, "Playlist", [rename] {
            SendMessageA(rename, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            PostMessageA(rename, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        }, false);
        if (result != 0)
            return result;
    }
    printf("rounds=%d\nelapsed_ms=%lu\n", rounds, GetTickCount() - start);
    return 0;
}

} // namespace
// ---- end of the object counts ----

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
    if (strcmp(command, "post-top") == 0 && argc > 5)
    {
        HWND window = WaitTop(argv[2], 5000);
        return window && PostMessageA(window, (UINT)strtoul(argv[3], nullptr, 0), (WPARAM)strtoull(argv[4], nullptr, 0),
                                      (LPARAM)strtoll(argv[5], nullptr, 0)) ? 0 : 1;
    }
    if (strcmp(command, "click-text") == 0 && argc > 3)
    {
        HWND window = WaitTop(argv[2], 5000);
        for (HWND child = window ? GetWindow(window, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        {
            char text[256] = "";
            GetWindowTextA(child, text, sizeof(text));
            if (strcmp(text, argv[3]) == 0)
                return PostMessageA(child, BM_CLICK, 0, 0) ? 0 : 1;
        }
        return 1;
    }
    if (strcmp(command, "children-top") == 0 && argc > 2)
    {
        HWND window = WaitTop(argv[2], 5000);
        if (!window)
            return 1;
        PrintWindowRect("window", window);
        PrintDescendants(window);
        return 0;
    }
    if ((strcmp(command, "click-top") == 0 && argc > 3) || (strcmp(command, "texts-top") == 0 && argc > 2))
    {
        HWND window = WaitTop(argv[2], 5000);
        if (!window)
            return 1;
        if (strcmp(command, "texts-top") == 0)
        {
            int index = 0;
            for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), index++)
            {
                char text[256] = "";
                GetWindowTextA(child, text, sizeof(text));
                printf("child_%d=%d,%d,%d,%s\n", index, GetDlgCtrlID(child), IsWindowVisible(child) ? 1 : 0,
                       IsWindowEnabled(child) ? 1 : 0, text);
            }
            return 0;
        }
        HWND control = DirectChild(window, atoi(argv[3]));
        if (!control)
            return 1;
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        return 0;
    }
    if (strcmp(command, "tree-select") == 0 && argc > 3)
    {
        HWND window = WaitTop(argv[2], 5000);
        HWND tree = window ? ChildOfClass(window, WC_TREEVIEWA) : nullptr;
        if (!tree)
            return 1;
        // Items are walked in display order: each item, then its children.
        HTREEITEM item = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
        for (int index = atoi(argv[3]); item && index > 0; index--)
        {
            HTREEITEM next = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item);
            while (!next && item)
            {
                next = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item);
                if (!next)
                    item = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, (LPARAM)item);
            }
            item = next;
        }
        return item && SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item) ? 0 : 1;
    }
    if (strcmp(command, "navigate") == 0 && argc > 3)
    {
        HWND window = WaitTop(argv[2], 5000);
        COPYDATASTRUCT data = {1, (DWORD)strlen(argv[3]) + 1, argv[3]};
        DWORD_PTR answer = 0;
        return window && SendMessageTimeoutA(window, WM_COPYDATA, 0, (LPARAM)&data, SMTO_ABORTIFHUNG, 10000, &answer)
                   ? 0 : 1;
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

    if (strcmp(command, "mouse") == 0 && argc > 5)
    {
        HWND window = (HWND)(ULONG_PTR)strtoull(argv[2], nullptr, 0);
        LPARAM point = MAKELPARAM(atoi(argv[4]), atoi(argv[5]));
        WPARAM keys = argc > 6 ? (WPARAM)strtoull(argv[6], nullptr, 0) : 0;
        return PostMessageA(window, (UINT)strtoul(argv[3], nullptr, 0), keys, point) ? 0 : 1;
    }

    // ---- GDI and USER object counts ----
    if (strcmp(command, "gui-objects") == 0)
    {
        HWND program = FindTopWindows(kCaption).window;
        DWORD process = 0;
        if (!program || !GetWindowThreadProcessId(program, &process))
        {
            printf("error=no main window\n");
            return 1;
        }
        const GuiObjects counts = CountGuiObjects(process);
        PrintGuiObjects(counts);
        PrintWindowClasses(process);
        return counts.gdi >= 0 && counts.user >= 0 ? 0 : 1;
    }
    if (strcmp(command, "gui-selftest") == 0 && argc > 2)
        return GuiSelfTest(atoi(argv[2]));
    if (strcmp(command, "gui-hold") == 0 && argc > 3)
        return GuiHold(atoi(argv[2]), argv[3]);
    if (strcmp(command, "browse-rounds") == 0 || strcmp(command, "play-rounds") == 0 ||
        strcmp(command, "cycle-top") == 0 || strcmp(command, "playlist-rounds") == 0)
    {
        HWND program = FindTopWindows(kCaption).window;
        const int rounds = argc > 2 ? atoi(argv[2]) : 0;
        if (!program || rounds <= 0)
            return 1;
        if (strcmp(command, "browse-rounds") == 0)
            return BrowseRounds(program, rounds, argc > 3 ? atoi(argv[3]) : 0);
        if (strcmp(command, "play-rounds") == 0)
            return PlayRounds(program, rounds);
        if (strcmp(command, "playlist-rounds") == 0)
            return PlaylistRounds(program, rounds);
        if (argc < 7)
            return 2;
        const UINT msg = (UINT)strtoul(argv[3], nullptr, 0);
        const WPARAM wParam = (WPARAM)strtoull(argv[4], nullptr, 0);
        const LPARAM lParam = (LPARAM)strtoll(argv[5], nullptr, 0);
        return CycleTop(program, rounds, argv[6], [=] { PostMessageA(program, msg, wParam, lParam); });
    }
    // ---- end of the object counts ----

    HWND main = FindTopWindows(kCaption).window;
    if (!main)
    {
        printf("error=no main window\n");
        return 1;
    }
    if (strcmp(command, "state") == 0)
        return State(main);
    if (strcmp(command, "play") == 0)
        return Play(main);
    if (strcmp(command, "rects") == 0)
        return Rects(main);
    if (strcmp(command, "watch") == 0 && argc > 2)
        return Watch(main, (DWORD)atoi(argv[2]), argc > 3 ? atoi(argv[3]) : 0);
    if (strcmp(command, "keys") == 0)
    {
        for (int i = 2; i < argc; i++)
        {
            BYTE key = (BYTE)strtoul(argv[i], nullptr, 0);
            keybd_event(key, 0, 0, 0);
            Sleep(30);
            keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
            Sleep(50);
        }
        return 0;
    }
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
    if (strcmp(command, "select-file") == 0 && argc > 2)
    {
        HWND files = Child(main, 1002);
        if (!files)
            return 1;
        SendMessageA(files, LB_SETSEL, FALSE, -1);
        SendMessageA(files, LB_SETSEL, TRUE, atoi(argv[2]));
        SendMessageA(files, LB_SETCARETINDEX, atoi(argv[2]), FALSE);
        SendMessageA(GetParent(files), WM_COMMAND, MAKEWPARAM(1002, LBN_SELCHANGE), (LPARAM)files);
        return 0;
    }
    if (strncmp(command, "playlist", 8) == 0)
        return Playlist(main, argc, argv);
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
    if (strcmp(command, "select-folder") == 0 && argc > 2)
        return SelectByKey(Child(main, 1001), atoi(argv[2]), false) ? 0 : 1;
    if (strcmp(command, "select-file-key") == 0 && argc > 2)
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
