// Measures the spreadsheet grid with tables of 10,000 and 100,000 rows of 20
// columns (load, scrolling from top to bottom, selecting and deleting a column)
// and the property grid with 2,000 items (fill and repaint). Each interactive
// step is held against 50 ms; the load is reported beside the smaller table's.
// Not a test: `make bench` runs it.
#include <stdio.h>
#include <windows.h>

#include <string>

#include "BenchSupport.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SMenu.h"
#include "SPropertyCtrl.h"
#include "SSpreadCtrl.h"

namespace
{

const double kStepLimit = 0.050;
const int kColumns = 20;

// A table of rows x 20 columns in its text form, each cell a short text or number. The
// text is written directly: growing a table row by row copies its columns at every
// 64th row, which would make the setup, not the grid, the slow part.
bool MakeTableText(int rows, SFileMem* out)
{
    std::string text;
    auto put = [&text](const char* value) {
        text += value;
        text += '\0';
    };
    char number[32];
    put("TAVRIN TABLE 1.0.0.0");
    snprintf(number, sizeof(number), "%d", kColumns);
    put(number);
    snprintf(number, sizeof(number), "%d", rows);
    put(number);
    put("");
    put("");
    for (int c = 0; c < kColumns; c++)
    {
        put("");
        put("");
        put("");
    }
    for (int r = 0; r < rows; r++)
    {
        put("");
        put("");
        for (int c = 0; c < kColumns; c++)
        {
            snprintf(number, sizeof(number), c % 2 ? "%d.5" : "cell %d", r + c);
            put(number);
            put("");
            put("");
        }
    }
    if (!out->Allocate(0) || out->Write(text.data(), (int)text.size()) != (int)text.size())
        return false;
    out->Rewind();
    return true;
}

struct SpreadFigures
{
    double load, scrollStep, scrollAll, selectColumn, deleteColumn;
};

// Repaints the whole grid now, as the screen would show it.
void Repaint(SSpreadCtrl& grid)
{
    grid.InvalidateRect();
    grid.UpdateWindow();
}

SpreadFigures MeasureSpread(HWND parent, int rows)
{
    SpreadFigures figures = {0, 0, 0, 0, 0};
    SFileMem text;
    if (!MakeTableText(rows, &text))
        return figures;
    SSpreadCtrl grid;
    RECT rect = {0, 0, 800, 600};
    if (!grid.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent))
        return figures;
    figures.load = BenchBest([&]() {
        text.Rewind();
        grid.LoadFile(&text, true);
        Repaint(grid);
    });
    if (grid.GetRowCount() != rows || grid.GetColumnCount() != kColumns)
    {
        printf("the table of %d rows did not load\n", rows);
        return figures;
    }
    // Top to bottom as the scroll bar's thumb moves it, in 200 jumps, each repainted; the
    // slowest step counts.
    double start = BenchNow();
    for (int step = 1; step <= 200; step++)
    {
        double stepStart = BenchNow();
        int old = grid.GetVScrollPos();
        grid.SetVScrollPos((int)((long long)(rows - 1) * step / 200));
        grid.SendMessage(WM_S_VSCROLLED, MAKEWPARAM((WORD)old, (WORD)grid.GetVScrollPos()), 0);
        Repaint(grid);
        double elapsed = BenchNow() - stepStart;
        if (elapsed > figures.scrollStep)
            figures.scrollStep = elapsed;
    }
    figures.scrollAll = BenchNow() - start;
    if (grid.GetVScrollPos() != rows - 1)
        printf("the grid did not reach its last row (%d of %d)\n", grid.GetVScrollPos(), rows - 1);
    // Back at the top, the user clicks the sixth column's title, then deletes it from the menu.
    grid.SetVScrollPos(0);
    grid.SendMessage(WM_S_VSCROLLED, 0, 0);
    RECT title;
    if (!grid.GetCellRect(&title, 5, 0))
        return figures;
    LPARAM point = MAKELPARAM((title.left + title.right) / 2, grid.GetHeaderHeight() / 2);
    figures.selectColumn = BenchBest([&]() {
        grid.SelectCell(0, 0);
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        grid.SendMessage(WM_LBUTTONUP, 0, point);
        Repaint(grid);
    });
    if (grid.GetSelCount() != rows || grid.GetCurrentColumn() != 5)
        printf("the column click selected %d cells\n", grid.GetSelCount());
    SString kept = grid.GetCellText(6, 0);
    double deleteStart = BenchNow();
    grid.SendMessage(SMENU_COMMAND, 0, SSpreadCtrl::CMD_DELETECOLUMN);
    Repaint(grid);
    figures.deleteColumn = BenchNow() - deleteStart;
    if (grid.GetColumnCount() != kColumns - 1 || grid.GetCellText(5, 0) != kept)
        printf("the column was not deleted\n");
    return figures;
}

} // namespace

int main()
{
    InitLibrary(GetModuleHandleA(nullptr), SW_HIDE, true, true, false);
    SWnd parent;
    RECT rect = {0, 0, 820, 640};
    if (!parent.Create("bench", WS_POPUP, 0, &rect, nullptr))
        return 1;
    parent.ShowWindow(SW_SHOWNOACTIVATE);

    SpreadFigures small = MeasureSpread(parent.GetHandle(), 10000);
    SpreadFigures large = MeasureSpread(parent.GetHandle(), 100000);
    BenchReport("spread load 100k x 20", large.load, "spread load 10k x 20", small.load);
    BenchReport("spread scroll top to bottom 100k (200 steps)", large.scrollAll, "the same at 10k", small.scrollAll);
    BenchReport("spread select a column 100k", large.selectColumn, "the same at 10k", small.selectColumn);
    BenchReport("spread delete a column 100k", large.deleteColumn, "the same at 10k", small.deleteColumn);
    BenchReportLimit("spread slowest scroll step 100k", large.scrollStep, kStepLimit);
    BenchReportLimit("spread select a column 100k", large.selectColumn, kStepLimit);
    BenchReportLimit("spread delete a column 100k", large.deleteColumn, kStepLimit);

    SPropertyCtrl grid;
    RECT gridRect = {0, 0, 400, 600};
    if (!grid.CreateChildNoCaption(WS_VISIBLE, 0, &gridRect, parent.GetHandle()))
        return 1;
    double fill = BenchBest([&]() {
        grid.Clear();
        char name[32];
        for (int g = 0; g < 20; g++)
        {
            snprintf(name, sizeof(name), "group%d", g);
            grid.AddGroup(name, name, -1, true);
            for (int i = 0; i < 100; i++)
            {
                snprintf(name, sizeof(name), "item%d", i);
                grid.SetItem(g, name, name, i % 8, "1", nullptr, -1);
            }
        }
        // Filled means shown: the scroll bar and the first page are drawn.
        grid.RedrawNow();
    });
    if (grid.GetScrollMax(true) != 20 + 2000)
        printf("the property grid's scroll bar shows %d rows\n", grid.GetScrollMax(true));
    double repaint = BenchBest([&]() { grid.RedrawNow(); });
    BenchReportLimit("property grid fill and show 2,000 items", fill, kStepLimit);
    BenchReportLimit("property grid repaint 2,000 items", repaint, kStepLimit);
    ExitLibrary();
    return 0;
}
