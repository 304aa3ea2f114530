// Measures the spreadsheet grid with tables of 10,000 and 100,000 rows of 20
// columns (load, scrolling from top to bottom, selecting and deleting a column)
// and the property grid with 2,000 items (fill and repaint). Each interactive
// step is held against 50 ms; the load is reported beside the smaller table's.
// Not a test: `make bench` runs it.
#include <stdio.h>
#include <windows.h>

#include "BenchSupport.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SPropertyCtrl.h"
#include "SSpreadCtrl.h"

namespace
{

const double kStepLimit = 0.050;
const int kColumns = 20;

// A table of rows x 20 columns in its text form, each cell a short text or number.
bool MakeTableText(int rows, SFileMem* out)
{
    STable table;
    for (int c = 0; c < kColumns; c++)
        table.InsertColumn("", -1);
    char text[32];
    char references[kColumns][8];
    for (int c = 0; c < kColumns; c++)
        snprintf(references[c], sizeof(references[c]), "%d", c);
    for (int r = 0; r < rows; r++)
    {
        table.InsertRow(-1);
        for (int c = 0; c < kColumns; c++)
        {
            snprintf(text, sizeof(text), c % 2 ? "%d.5" : "cell %d", r + c);
            table.SetCell(r, references[c], text);
        }
    }
    return table.SaveTable(out, false);
}

struct SpreadFigures
{
    double load, scrollStep, scrollAll, selectColumn, deleteColumn;
};

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
        grid.RedrawNow();
    });
    // Top to bottom in 200 jumps, each repainted; the slowest step counts.
    double start = BenchNow();
    for (int position = 0; position < rows; position += rows / 200)
    {
        double stepStart = BenchNow();
        grid.SetVScrollPos(position);
        grid.RedrawNow();
        double step = BenchNow() - stepStart;
        if (step > figures.scrollStep)
            figures.scrollStep = step;
    }
    figures.scrollAll = BenchNow() - start;
    figures.selectColumn = BenchBest([&]() {
        grid.SelectRange(5, 0, 5, -1);
        grid.RedrawNow();
    });
    double deleteStart = BenchNow();
    grid.DeleteColumn(5);
    grid.RedrawNow();
    figures.deleteColumn = BenchNow() - deleteStart;
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
    BenchReportLimit("spread slowest scroll step 100k", large.scrollStep, kStepLimit);
    BenchReportLimit("spread select a column 100k", large.selectColumn, kStepLimit);
    BenchReportLimit("spread delete a column 100k", large.deleteColumn, kStepLimit);
    BenchReportLimit("spread select a column 10k", small.selectColumn, kStepLimit);
    BenchReportLimit("spread delete a column 10k", small.deleteColumn, kStepLimit);

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
    });
    double repaint = BenchBest([&]() { grid.RedrawNow(); });
    BenchReportLimit("property grid fill 2,000 items", fill, kStepLimit);
    BenchReportLimit("property grid repaint 2,000 items", repaint, kStepLimit);
    ExitLibrary();
    return 0;
}
