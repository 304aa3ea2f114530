#pragma once
// Counts the GDI and USER objects a process holds, for tests that look for leaks.
//
// GetGuiResources is asked first. Wine 8 only stubs it (0, ERROR_CALL_NOT_IMPLEMENTED),
// so the counts then come from what Wine really keeps:
// - GDI: Wine gives every process its own GDI handle table and puts its address in
//   the process environment block (GdiSharedHandleTable), as Windows does for its
//   shared table. Every entry in use that is not a stock object is one object of the
//   process; the entry's extended type tells DCs, bitmaps, fonts, brushes... apart.
// - USER: the windows of the process are enumerated (top-level, hidden, children,
//   message-only). Menus, icons, cursors and accelerator tables have no owner a
//   second process can ask about; they take entries of the session's USER handle
//   table in the Wine server, like windows. The live entries of that table are
//   counted by allocating menus until the server hands out a never-used entry
//   (its handle's generation is 1): every reused one came from the free list, so
//   live = first never-used index - free entries. Subtracting the windows of the
//   other processes leaves the windows of this process plus every non-window USER
//   object of the session; in a test session those are the program's own and the
//   few that Wine's services keep for good.
#include <windows.h>
#include <winternl.h>

#include <string.h>

#include <functional>

// Objects of one process; -1 where a count could not be read.
struct GuiObjects
{
    long gdi = -1;                // GDI objects (GetGuiResources, or the handle table)
    long user = -1;               // USER objects (GetGuiResources, or windows + session objects)
    bool reported = false;        // GetGuiResources answered; the two counts above are its own
    long dcs = -1, regions = -1, bitmaps = -1, palettes = -1, fonts = -1, brushes = -1, pens = -1, others = -1;
    long windows = -1;            // windows of the process, children and message-only ones included
    long sessionWindows = -1;     // windows of every process of the session
    long sessionUser = -1;        // live USER handles of the session (windows included)
};

namespace gui_objects
{

// One entry of the GDI handle table, as Wine and 64-bit Windows lay it out.
struct TableEntry
{
    unsigned long long object;
    unsigned int owner;
    unsigned short unique;        // bits 0-6 extended type, bit 7 stock object, 8-15 generation
    unsigned char type;           // 0: a free entry
    unsigned char flags;
    unsigned long long user;
};
static_assert(sizeof(TableEntry) == 24, "one entry of the GDI handle table is 24 bytes");
const int kTableEntries = 0x10000;
// The table's address in the process environment block.
const size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

// Counts the in-use, non-stock entries of the process's GDI handle table by type.
inline bool CountGdiTable(HANDLE process, GuiObjects* counts)
{
    typedef NTSTATUS(WINAPI * QueryProcess)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    QueryProcess query = (QueryProcess)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                                             "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic;
    ULONG length = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), &length) != 0 ||
        !basic.PebBaseAddress)
        return false;
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, (const char*)basic.PebBaseAddress + kTableOffset, &table, sizeof(table), &read) ||
        !table)
        return false;
    const SIZE_T bytes = sizeof(TableEntry) * kTableEntries;
    TableEntry* entries = (TableEntry*)VirtualAlloc(nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!entries)
        return false;
    bool ok = ReadProcessMemory(process, table, entries, bytes, &read) && read == bytes;
    if (ok)
    {
        counts->gdi = counts->dcs = counts->regions = counts->bitmaps = counts->palettes = 0;
        counts->fonts = counts->brushes = counts->pens = counts->others = 0;
        for (int i = 0; i < kTableEntries; i++)
        {
            const TableEntry& entry = entries[i];
            if (!entry.type || (entry.unique & 0x80))
                continue;
            counts->gdi++;
            // Wine's extended types: 0x01 DC, 0x41 memory DC, 0x21 and 0x66 metafile DCs,
            // 0x04 region, 0x09 bitmap, 0x08 palette, 0x0A font, 0x10 brush, 0x30 pen,
            // 0x50 extended pen; the rest (metafiles, a display DC's 0x05 companion) are others.
            switch (entry.unique & 0x7F)
            {
            case 0x01: case 0x41: case 0x21: case 0x66: counts->dcs++; break;
            case 0x04: counts->regions++; break;
            case 0x09: counts->bitmaps++; break;
            case 0x08: counts->palettes++; break;
            case 0x0A: counts->fonts++; break;
            case 0x10: counts->brushes++; break;
            case 0x30: case 0x50: counts->pens++; break;
            default: counts->others++; break;
            }
        }
    }
    VirtualFree(entries, 0, MEM_RELEASE);
    return ok;
}

// Calls visit for every window of the session: the desktop, the top-level windows
// (hidden ones too) and the message-only windows, each with all its descendants.
inline void ForEachWindow(const std::function<void(HWND)>& visit)
{
    struct Walk
    {
        static BOOL CALLBACK One(HWND window, LPARAM param)
        {
            (*(const std::function<void(HWND)>*)param)(window);
            return TRUE;
        }
        static BOOL CALLBACK Tree(HWND window, LPARAM param)
        {
            One(window, param);
            EnumChildWindows(window, One, param);
            return TRUE;
        }
    };
    const LPARAM param = (LPARAM)&visit;
    Walk::One(GetDesktopWindow(), param);
    EnumWindows(Walk::Tree, param);
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
        Walk::Tree(window, param);
}

struct WindowCount
{
    long own;
    long all;
};

// Windows of the process and of the session.
inline WindowCount CountWindows(DWORD process)
{
    WindowCount count = {0, 0};
    ForEachWindow([&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        count.all++;
        if (owner == process)
            count.own++;
    });
    return count;
}

// Live USER handles of the session: menus are allocated until the server hands out
// an entry never used before; the ones before it came from the free list.
inline long CountSessionUserHandles()
{
    const int kLimit = 200000;
    HMENU* probes = (HMENU*)VirtualAlloc(nullptr, sizeof(HMENU) * kLimit, MEM_COMMIT, PAGE_READWRITE);
    if (!probes)
        return -1;
    long live = -1;
    int made = 0;
    while (made < kLimit)
    {
        HMENU menu = CreatePopupMenu();
        if (!menu)
            break;
        probes[made++] = menu;
        const ULONG_PTR value = (ULONG_PTR)menu;
        if (((value >> 16) & 0xFFFF) == 1)
        {
            // Handles are 0x20 + 2 * index in their low word.
            const long index = (long)(((value & 0xFFFF) - 0x20) / 2);
            live = index - (made - 1);
            break;
        }
    }
    for (int i = 0; i < made; i++)
        DestroyMenu(probes[i]);
    VirtualFree(probes, 0, MEM_RELEASE);
    return live;
}

} // namespace gui_objects

// The GDI and USER objects of the process with that id.
inline GuiObjects CountGuiObjects(DWORD processId)
{
    GuiObjects counts;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return counts;
    SetLastError(ERROR_SUCCESS);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const bool stubbed = gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
    if (!stubbed)
    {
        counts.reported = true;
        counts.gdi = (long)gdi;
        counts.user = (long)GetGuiResources(process, GR_USEROBJECTS);
    }
    GuiObjects table;
    if (gui_objects::CountGdiTable(process, &table))
    {
        const long gdiReported = counts.gdi;
        counts.dcs = table.dcs, counts.regions = table.regions, counts.bitmaps = table.bitmaps;
        counts.palettes = table.palettes, counts.fonts = table.fonts, counts.brushes = table.brushes;
        counts.pens = table.pens, counts.others = table.others;
        counts.gdi = stubbed ? table.gdi : gdiReported;
    }
    CloseHandle(process);
    const gui_objects::WindowCount windows = gui_objects::CountWindows(processId);
    counts.windows = windows.own;
    counts.sessionWindows = windows.all;
    counts.sessionUser = gui_objects::CountSessionUserHandles();
    if (stubbed && counts.sessionUser >= 0)
        counts.user = counts.sessionUser - (windows.all - windows.own);
    return counts;
}
