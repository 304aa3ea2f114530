// Dialog descriptions of 500 controls of mixed types: loading and saving against
// reading and writing the same bytes with the library's streams, and building the
// live dialog against creating as many plain system windows. Not a test.
#include <stdio.h>
#include <windows.h>

#include <string>

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
        double plain = BenchBest([&] {
            HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1000, 800, nullptr, nullptr, nullptr,
                                          nullptr);
            for (int i = 0; i < controls; i++)
                CreateWindowExA(0, "BUTTON", "Control", WS_CHILD | WS_VISIBLE, (i % 20) * 48, (i / 20) * 30, 40, 20,
                                parent, (HMENU)(INT_PTR)(i + 1), nullptr, nullptr);
            DestroyWindow(parent);
        });
        snprintf(label, sizeof(label), "build a dialog of %d controls", controls);
        BenchReport(label, build, "CreateWindowEx of as many buttons", plain);
    }
    ExitLibrary();
    return 0;
}
