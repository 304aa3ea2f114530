// Measures lists of 100,000 items filled, sorted and scrolled from top to bottom:
// the extended list (SExListCtrl) and the drawn list (SListCtrl) against a bare
// system list view driven with LVM_INSERTITEM in the same run. Not a test:
// `make bench` runs it.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SExListCtrl.h"
#include "SLibrary.h"
#include "SListCtrl.h"

namespace
{

// Items per list; a first argument sets another count (for looking at how it grows).
int kItems = 100000;
const int kRounds = 3;
const RECT kListRect = {0, 0, 300, 600};

std::vector<std::string> MakeTexts()
{
    std::vector<std::string> texts;
    texts.reserve(kItems);
    unsigned seed = 12345;
    char text[32];
    for (int i = 0; i < kItems; i++)
    {
        seed = seed * 1103515245u + 12345u;
        snprintf(text, sizeof(text), "Track %06u", (seed >> 8) % 1000000u);
        texts.push_back(text);
    }
    return texts;
}

// The bare list view's sort: the caller keeps the texts and hands their positions as item values.
int CALLBACK CompareBare(LPARAM first, LPARAM second, LPARAM context)
{
    const std::vector<std::string>* texts = (const std::vector<std::string>*)context;
    return _stricmp((*texts)[(size_t)first].c_str(), (*texts)[(size_t)second].c_str());
}

void AddColumn(HWND list)
{
    LVCOLUMNA column;
    memset(&column, 0, sizeof(column));
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 250;
    column.pszText = (LPSTR) "name";
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, (LPARAM)&column);
}

// Filled the usual way for a bulk fill: with drawing off until the last item is in.
void FillListView(HWND list, const std::vector<std::string>& texts)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    LVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_PARAM;
    for (int i = 0; i < kItems; i++)
    {
        item.iItem = i;
        item.pszText = (LPSTR)texts[(size_t)i].c_str();
        item.lParam = i;
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

// From the top to the last item in a fixed number of even steps, painting at every step
// (every page of 100,000 items would take minutes under Wine for each list).
const int kScrollSteps = 200;

void ScrollListView(HWND list)
{
    RECT rect;
    rect.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 0, (LPARAM)&rect);
    int itemHeight = rect.bottom - rect.top > 0 ? rect.bottom - rect.top : 1;
    int page = (int)SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0);
    int last = kItems - (page > 0 ? page : 1);
    for (int step = 0; step <= kScrollSteps; step++)
    {
        int target = (int)((long long)last * step / kScrollSteps);
        int top = (int)SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
        SendMessageA(list, LVM_SCROLL, 0, (target - top) * itemHeight);
        UpdateWindow(list);
    }
}

void ScrollDrawnList(SListCtrl& list)
{
    int height = list.GetItemHeight();
    int page = height > 0 ? list.GetClientHeight() / height : 1;
    int last = kItems - (page > 0 ? page : 1);
    for (int step = 0; step <= kScrollSteps; step++)
    {
        list.SetTopIndex((int)((long long)last * step / kScrollSteps));
        list.UpdateWindow();
    }
}

// The last item is on show.
bool ListViewAtBottom(HWND list)
{
    int top = (int)SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
    return top + (int)SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0) >= kItems;
}

bool DrawnListAtBottom(SListCtrl& list)
{
    int height = list.GetItemHeight();
    return height > 0 && list.GetTopIndex() + list.GetClientHeight() / height >= kItems;
}

struct Phases
{
    double fill = 1e30, sort = 1e30, scroll = 1e30, total = 1e30;
    void Keep(double fillSeconds, double sortSeconds, double scrollSeconds)
    {
        double sum = fillSeconds + sortSeconds + scrollSeconds;
        if (sum < total)
        {
            total = sum;
            fill = fillSeconds;
            sort = sortSeconds;
            scroll = scrollSeconds;
        }
    }
};

bool FirstTextIs(HWND list, const char* expected)
{
    char text[64] = "";
    LVITEMA item;
    memset(&item, 0, sizeof(item));
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, 0, (LPARAM)&item);
    return strcmp(text, expected) == 0;
}

}

int main(int argc, char** argv)
{
    if (argc > 1 && atoi(argv[1]) > 0)
        kItems = atoi(argv[1]);
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, false, false, false);
    std::vector<std::string> texts = MakeTexts();
    std::string smallest = texts[0];
    for (const std::string& text : texts)
        if (_stricmp(text.c_str(), smallest.c_str()) < 0)
            smallest = text;

    SWnd parent;
    RECT frame = {0, 0, 340, 660};
    if (!parent.Create("list bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &frame, nullptr))
    {
        printf("cannot create the parent window\n");
        return 1;
    }
    bool right = true;

    Phases bare;
    Phases bareFilled;
    for (int round = 0; round < kRounds; round++)
    {
        HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS,
                                    kListRect.left, kListRect.top, kListRect.right, kListRect.bottom,
                                    parent.GetHandle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        AddColumn(list);
        double start = BenchNow();
        FillListView(list, texts);
        double filled = BenchNow();
        SendMessageA(list, LVM_SORTITEMS, (WPARAM)&texts, (LPARAM)CompareBare);
        double sorted = BenchNow();
        ScrollListView(list);
        double scrolled = BenchNow();
        bare.Keep(filled - start, sorted - filled, scrolled - sorted);
        right = right && FirstTextIs(list, smallest.c_str()) && ListViewAtBottom(list);
        DestroyWindow(list);

        // The same list view filled and scrolled without sorting, the drawn list's baseline.
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS,
                               kListRect.left, kListRect.top, kListRect.right, kListRect.bottom,
                               parent.GetHandle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        AddColumn(list);
        start = BenchNow();
        FillListView(list, texts);
        filled = BenchNow();
        ScrollListView(list);
        scrolled = BenchNow();
        bareFilled.Keep(filled - start, 0, scrolled - filled);
        DestroyWindow(list);
    }

    Phases extended;
    for (int round = 0; round < kRounds; round++)
    {
        SExListCtrl list;
        list.Create(WS_VISIBLE | LVS_REPORT, 0, &kListRect, parent.GetHandle());
        AddColumn(list.GetHandle());
        double start = BenchNow();
        FillListView(list.GetHandle(), texts);
        double filled = BenchNow();
        list.SortItems(0, true, false, false);
        double sorted = BenchNow();
        ScrollListView(list.GetHandle());
        double scrolled = BenchNow();
        extended.Keep(filled - start, sorted - filled, scrolled - sorted);
        right = right && FirstTextIs(list.GetHandle(), smallest.c_str()) && ListViewAtBottom(list.GetHandle());
    }

    Phases drawn;
    for (int round = 0; round < kRounds; round++)
    {
        SListCtrl list;
        list.Create(WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, &kListRect, parent.GetHandle());
        double start = BenchNow();
        list.SetRedraw(false, false);
        for (int i = 0; i < kItems; i++)
            list.InsertItem(texts[(size_t)i].c_str(), -1, -1, -1, i);
        list.SetRedraw(true, false);
        double filled = BenchNow();
        ScrollDrawnList(list);
        double scrolled = BenchNow();
        drawn.Keep(filled - start, 0, scrolled - filled);
        right = right && list.GetCount() == kItems && DrawnListAtBottom(list);
    }

    // A bare owner-drawn list box filled with LB_ADDSTRING: the system control under SListCtrl.
    double bareBox = 1e30;
    for (int round = 0; round < kRounds; round++)
    {
        HWND box = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWVARIABLE |
                                   LBS_NOINTEGRALHEIGHT, kListRect.left, kListRect.top, kListRect.right,
                                   kListRect.bottom, parent.GetHandle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(box, WM_SETREDRAW, FALSE, 0);
        double start = BenchNow();
        for (int i = 0; i < kItems; i++)
            SendMessageA(box, LB_ADDSTRING, 0, (LPARAM)(i + 1));
        double seconds = BenchNow() - start;
        if (seconds < bareBox)
            bareBox = seconds;
        right = right && SendMessageA(box, LB_GETCOUNT, 0, 0) == kItems;
        DestroyWindow(box);
    }

    if (!right)
    {
        printf("a list did not hold what was put in or was not sorted\n");
        return 1;
    }
    printf("%d items, best of %d rounds\n", kItems, kRounds);
    BenchReport("SExListCtrl fill + sort + scroll", extended.total, "bare list view, same", bare.total);
    BenchReport("  fill (LVM_INSERTITEM through the wrapper)", extended.fill, "bare fill", bare.fill);
    BenchReport("  SortItems (case-insensitive)", extended.sort, "bare LVM_SORTITEMS", bare.sort);
    BenchReport("  scroll top to bottom", extended.scroll, "bare scroll", bare.scroll);
    BenchReport("SListCtrl fill + scroll", drawn.total, "bare list view fill + scroll", bareFilled.total);
    BenchReport("  InsertItem", drawn.fill, "bare LVM_INSERTITEM", bareFilled.fill);
    BenchReport("  scroll top to bottom", drawn.scroll, "bare scroll", bareFilled.scroll);
    BenchReport("  InsertItem", drawn.fill, "bare list box LB_ADDSTRING", bareBox);
    parent.Destroy();
    ExitLibrary();
    return 0;
}
