// Measures the code editor on large texts against a plain system EDIT control
// given the same text in the same run: loading, typing at the top and at the
// end, paging from top to bottom and finding an absent string. Not a test:
// `make bench` runs it.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SCodeEditCtrl.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SWnd.h"

namespace
{

// Every edit and every page step must stay below this on the large text.
const double kStepLimit = 0.050;

std::string MakeText(int lines)
{
    std::string text;
    text.reserve((size_t)lines * 84);
    char line[128];
    for (int i = 0; i < lines; i++)
    {
        int length = snprintf(line, sizeof(line),
                              "\tint value_%06d = compute(\"text %d\", %d); // about line %d of the text....", i, i,
                              i * 7, i);
        text.append(line, (size_t)length);
        if (i + 1 < lines)
            text.append("\r\n");
    }
    return text;
}

// Runs the work once and gives its time in seconds.
template <class Work>
double Once(Work work)
{
    double start = BenchNow();
    work();
    return BenchNow() - start;
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Times of repeated steps: the slowest, the median and how many passed the limit.
struct Steps
{
    std::vector<double> times;
    void Add(double seconds) { times.push_back(seconds); }
    double Max() const { return times.empty() ? 0 : *std::max_element(times.begin(), times.end()); }
    double Median() const
    {
        if (times.empty())
            return 0;
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    int Over(double limit) const { return (int)std::count_if(times.begin(), times.end(), [&](double t) { return t > limit; }); }
};

struct Figures
{
    double load, loadStream, pageTotal, find;
    Steps typeTop, typeEnd, pages;
};

// One step: the message, then everything it left in the queue (painting, the scroll bars).
template <class Work>
double Step(Work work)
{
    return Once([&] {
        work();
        Pump();
    });
}

const int kTypedCharacters = 20;
const int kSystemPageSteps = 300;

Figures MeasureEditor(SWnd* parent, const std::string& text)
{
    Figures figures = {};
    SCodeEditCtrl editor;
    RECT rect = {0, 0, 600, 400};
    editor.Create(WS_VISIBLE, 0, &rect, parent->GetHandle());
    figures.load = BenchBest([&] { editor.SendMessage(WM_SETTEXT, 0, (LPARAM)text.c_str()); }, 3);
    SFileMem stream;
    stream.WriteText(text.c_str(), (int)text.size());
    figures.loadStream = BenchBest([&] {
        stream.Rewind();
        editor.Load(&stream, "bench");
    }, 3);
    editor.UpdateWindow();
    Pump();

    editor.SetSelectionRaw(0, 0, -1, -1, 0);
    for (int i = 0; i < kTypedCharacters; i++)
        figures.typeTop.Add(Step([&] { editor.SendMessage(WM_CHAR, 'x', 0); }));
    int last = editor.GetLineCount() - 1;
    editor.SetSelection(last, editor.GetLineLength(last, true), -1, -1, 0);
    Pump();
    for (int i = 0; i < kTypedCharacters; i++)
        figures.typeEnd.Add(Step([&] { editor.SendMessage(WM_CHAR, 'y', 0); }));

    editor.SetSelection(0, 0, -1, -1, 0);
    Pump();
    double start = BenchNow();
    for (int step = 0; step < 1000000; step++)
    {
        int line = 0, column = 0;
        editor.GetCaret(&line, &column);
        if (line >= last)
            break;
        figures.pages.Add(Step([&] { editor.SendMessage(WM_KEYDOWN, VK_NEXT, 0); }));
    }
    figures.pageTotal = BenchNow() - start;

    editor.SetFindText("absent text");
    editor.SetSelection(0, 0, -1, -1, 0);
    figures.find = BenchBest([&] {
        if (editor.FindNext())
            printf("unexpected match\n");
    }, 3);
    return figures;
}

Figures MeasureSystemEdit(SWnd* parent, const std::string& text)
{
    Figures figures = {};
    HWND edit = CreateWindowExA(0, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                    ES_AUTOHSCROLL | ES_NOHIDESEL,
                                0, 0, 600, 400, parent->GetHandle(), nullptr, GetInstance(), nullptr);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH, "courier new");
    SendMessageA(edit, WM_SETFONT, (WPARAM)font, FALSE);
    figures.load = BenchBest([&] { SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); }, 2);
    UpdateWindow(edit);
    Pump();

    SendMessageA(edit, EM_SETSEL, 0, 0);
    for (int i = 0; i < kTypedCharacters; i++)
        figures.typeTop.Add(Step([&] { SendMessageA(edit, WM_CHAR, 'x', 0); }));
    int length = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, length, length);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    Pump();
    for (int i = 0; i < kTypedCharacters; i++)
        figures.typeEnd.Add(Step([&] { SendMessageA(edit, WM_CHAR, 'y', 0); }));

    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    int lines = (int)SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    double start = BenchNow();
    for (int step = 0; step < 1000000; step++)
    {
        DWORD selection = 0;
        SendMessageA(edit, EM_GETSEL, (WPARAM)&selection, 0);
        int line = (int)SendMessageA(edit, EM_LINEFROMCHAR, selection, 0);
        if (line >= lines - 1)
            break;
        figures.pages.Add(Step([&] { SendMessageA(edit, WM_KEYDOWN, VK_NEXT, 0); }));
        // The system control pages slowly: a sample of steps is enough for its figures.
        if ((int)figures.pages.times.size() >= kSystemPageSteps)
            break;
    }
    figures.pageTotal = BenchNow() - start;
    Pump();

    // A program finds in an EDIT control's text by reading it back.
    figures.find = BenchBest([&] {
        int size = GetWindowTextLengthA(edit) + 1;
        std::string buffer((size_t)size, '\0');
        GetWindowTextA(edit, &buffer[0], size);
        if (strstr(buffer.c_str(), "absent text"))
            printf("unexpected match\n");
    }, 3);
    DestroyWindow(edit);
    DeleteObject(font);
    return figures;
}

void Report(int lines, const Figures& editor, const Figures& edit, bool limits)
{
    char what[96];
    int k = lines / 1000;
    snprintf(what, sizeof(what), "%dk lines: load (WM_SETTEXT)", k);
    BenchReport(what, editor.load, "EDIT WM_SETTEXT", edit.load);
    snprintf(what, sizeof(what), "%dk lines: load from a memory stream", k);
    BenchReport(what, editor.loadStream, "EDIT WM_SETTEXT", edit.load);
    struct Row
    {
        const char* name;
        const Steps& ours;
        const Steps& theirs;
    } rows[] = {
        {"typing at the top", editor.typeTop, edit.typeTop},
        {"typing at the end", editor.typeEnd, edit.typeEnd},
        {"page down", editor.pages, edit.pages},
    };
    for (const Row& row : rows)
    {
        snprintf(what, sizeof(what), "%dk lines: %s, median step", k, row.name);
        BenchReport(what, row.ours.Median(), "EDIT median step", row.theirs.Median());
        snprintf(what, sizeof(what), "%dk lines: %s, slowest step", k, row.name);
        BenchReport(what, row.ours.Max(), "EDIT slowest step", row.theirs.Max());
        printf("%dk lines: %s: %d steps, %d over %.0f ms (EDIT: %d steps, %d over)\n", k, row.name,
               (int)row.ours.times.size(), row.ours.Over(kStepLimit), kStepLimit * 1000,
               (int)row.theirs.times.size(), row.theirs.Over(kStepLimit));
    }
    printf("%dk lines: paging top to bottom: %.0f ms in %d steps\n", k, editor.pageTotal * 1000,
           (int)editor.pages.times.size());
    snprintf(what, sizeof(what), "%dk lines: find an absent string", k);
    BenchReport(what, editor.find, "EDIT text read + strstr", edit.find);
    if (!limits)
        return;
    BenchReportLimit("load at most twice the EDIT control's", editor.load, 2 * edit.load);
    BenchReportLimit("slowest typing step at the top", editor.typeTop.Max(), kStepLimit);
    BenchReportLimit("slowest typing step at the end", editor.typeEnd.Max(), kStepLimit);
    BenchReportLimit("slowest page step", editor.pages.Max(), kStepLimit);
}
}

int main(int argc, char** argv)
{
    // An argument measures that many lines only.
    int only = argc > 1 ? atoi(argv[1]) : 0;
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, false, false, false);
    {
        SWnd parent;
        RECT rect = {0, 0, 640, 480};
        parent.Create("code editor bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &rect, nullptr);
        for (int lines : {10000, 100000})
        {
            if (only > 0 && lines != only)
                continue;
            std::string text = MakeText(lines);
            printf("%d lines, %.1f MB\n", lines, text.size() / (1024.0 * 1024.0));
            Figures editor = MeasureEditor(&parent, text);
            Figures edit = MeasureSystemEdit(&parent, text);
            Report(lines, editor, edit, lines == 100000);
        }
    }
    ExitLibrary();
    return 0;
}
