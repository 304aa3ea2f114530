// Dialog descriptions of 500 controls of mixed types: loading and saving against
// reading and writing the same bytes with the library's streams, and building the
// live dialog against creating the same windows (classes, styles, places) bare. Not a test.
#include <stdio.h>
#include <windows.h>

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SDialogEditor.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SLibrary.h"
#include "SWndDialog.h"

namespace
{

std::string Description(int controls)
{
    static const char* const kinds[] = {"BUTTON", "CHECK", "EDIT", "LABEL", "COMBO", "LIST", "PROGRESS",
                                        "SLIDER", "STATIC", "RADIO"};
    std::string text = "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\nNAME=Bench\r\nCAPTION=Bench\r\n"
                       "POSITION=0 0 1000 800\r\nSTYLE=WS_CAPTION WS_SYSMENU \r\nDIALOG_STATUSBARTEXT=a | b\r\n\r\n";
    for (int i = 0; i < controls; i++)
    {
        char section[512];
        snprintf(section, sizeof(section),
                 "[%s]\r\nID=%d\r\nNAME=C%d\r\nCAPTION=Control %d\r\nFONT=, 0, 0\r\nPOSITION=%d %d 40 20\r\n"
                 "STYLE=WS_VISIBLE \r\nEXSTYLE=\r\nBACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\n"
                 "ISLOCKED=0\r\nTABENABLED=1\r\nTABINDEX=%d\r\nTOOLTIP=\r\n\r\n",
                 kinds[i % 10], i + 1, i, i, (i % 20) * 48, (i / 20) * 30, i);
        text += section;
    }
    return text;
}

// One window as the builder made it: what CreateWindowEx needs to make it again.
struct MadeWindow
{
    char className[64];
    char text[64];
    DWORD style;
    DWORD exStyle;
    RECT rect;
    UINT_PTR id;
};

// The built dialog's direct children (controls and bars) in creation order.
std::vector<MadeWindow> MadeWindows(HWND dialog)
{
    std::vector<MadeWindow> windows;
    for (HWND child = GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV))
    {
        MadeWindow made = {};
        GetClassNameA(child, made.className, sizeof(made.className));
        GetWindowTextA(child, made.text, sizeof(made.text));
        made.style = (DWORD)GetWindowLongPtrA(child, GWL_STYLE);
        made.exStyle = (DWORD)GetWindowLongPtrA(child, GWL_EXSTYLE);
        GetWindowRect(child, &made.rect);
        MapWindowPoints(nullptr, dialog, (POINT*)&made.rect, 2);
        made.id = (UINT_PTR)GetDlgCtrlID(child);
        windows.push_back(made);
    }
    return windows;
}

} // namespace

int main()
{
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
    SDialogEditor::InstallBuilder();
    for (int controls : {50, 500})
    {
        std::string text = Description(controls);
        SFileMem source;
        source.Allocate(0);
        source.Write(text.data(), (int)text.size());
        char label[128];

        double load = BenchBest([&] {
            SDialogEditor model;
            model.Init(true);
            source.Rewind();
            model.Load(&source);
        });
        double read = BenchBest([&] {
            source.Rewind();
            while (!source.IsEof())
                source.ReadLine(true);
        });
        snprintf(label, sizeof(label), "load %d controls (%d KB)", controls, (int)(text.size() / 1024));
        BenchReport(label, load, "read the lines with SFileMem", read);

        SDialogEditor model;
        model.Init(true);
        source.Rewind();
        model.Load(&source);
        char path[MAX_PATH];
        GetTempPathA(MAX_PATH, path);
        strcat(path, "melvora-dialog-bench.txt");
        double save = BenchBest([&] {
            SFilePath file;
            file.Open(path, true, true, false, false);
            model.Save(&file);
            file.Close();
        });
        double write = BenchBest([&] {
            SFilePath file;
            file.Open(path, true, true, false, false);
            file.Write(text.data(), (int)text.size());
            file.Close();
        });
        DeleteFileA(path);
        snprintf(label, sizeof(label), "save %d controls to disk", controls);
        BenchReport(label, save, "write the same bytes (SFilePath)", write);

        double build = BenchBest([&] {
            source.Rewind();
            SWndDialog dialog;
            dialog.CreateFromResource(&source, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr, true);
            dialog.Destroy();
        });

        // The fair baseline: the same windows (classes, styles, texts, places) made bare.
        SWndDialog sample;
        source.Rewind();
        sample.CreateFromResource(&source, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr, true);
        char dialogClass[64] = "";
        GetClassNameA(sample.GetHandle(), dialogClass, sizeof(dialogClass));
        DWORD dialogStyle = (DWORD)GetWindowLongPtrA(sample.GetHandle(), GWL_STYLE);
        DWORD dialogExStyle = (DWORD)GetWindowLongPtrA(sample.GetHandle(), GWL_EXSTYLE);
        RECT dialogRect;
        GetWindowRect(sample.GetHandle(), &dialogRect);
        std::vector<MadeWindow> windows = MadeWindows(sample.GetHandle());
        sample.Destroy();
        double plain = BenchBest([&] {
            HWND parent = CreateWindowExA(dialogExStyle, dialogClass, "Bench", dialogStyle & ~(DWORD)WS_VISIBLE,
                                          dialogRect.left, dialogRect.top, dialogRect.right - dialogRect.left,
                                          dialogRect.bottom - dialogRect.top, nullptr, nullptr,
                                          GetModuleHandleA(nullptr), nullptr);
            for (const MadeWindow& made : windows)
                CreateWindowExA(made.exStyle, made.className, made.text, made.style, made.rect.left, made.rect.top,
                                made.rect.right - made.rect.left, made.rect.bottom - made.rect.top, parent,
                                (HMENU)made.id, GetModuleHandleA(nullptr), nullptr);
            DestroyWindow(parent);
        });

        // Phases: reading the description, making the controls, and the rest of the build.
        int parsedCount = 0;
        double controlsPhase = BenchBest([&] {
            SDialogEditor parsed;
            parsed.Init(false);
            source.Rewind();
            parsed.Load(&source);
            parsedCount = parsed.GetControlCount();
            SWndDialog dialog;
            dialog.Create("Bench", WS_POPUP, 0, nullptr, nullptr, 0, 0, nullptr, false);
            for (int i = 0; i < parsed.GetControlCount(); i++)
            {
                SWnd* control = SDialogEditor::CreateControl(&dialog, dialog.GetHandle(), parsed.GetControl(i),
                                                             nullptr, true);
                dialog.AddControl(control, parsed.GetControl(i));
            }
            dialog.Destroy();
        });
        printf("  phases: read the description %.2f ms; read it, make and destroy the %d controls %.2f ms; "
               "the rest of the build %.2f ms\n",
               load * 1000.0, parsedCount, controlsPhase * 1000.0, (build - controlsPhase) * 1000.0);
        snprintf(label, sizeof(label), "build a dialog of %d controls", controls);
        BenchReport(label, build, "CreateWindowEx of the same windows", plain);
    }
    ExitLibrary();
    return 0;
}
