// Lays out, draws and scrolls a long tagged description (bold, italic, colours,
// centred headings, many links and pictures) in the rich text view, at 100 KB
// and 1 MB: the figures grow linearly with the text, and a relayout after a
// width change stays well under 100 ms at 100 KB. Not a test: `make bench` runs it.
#include <stdio.h>
#include <windows.h>

#include <string>

#include "BenchSupport.h"
#include "SFileMem.h"
#include "SImage.h"
#include "SLibrary.h"
#include "SMediaCtrl.h"
#include "SResource.h"

namespace
{

// The view with its scroll step reachable at a chosen clock.
class BenchMedia : public SMediaCtrl
{
public:
    using SMediaCtrl::GetLastTick;
    using SMediaCtrl::OnScrollTick;
};

// A description of about the given size: paragraphs of words with tags, links and pictures.
std::string MakeDescription(size_t bytes)
{
    static const char* words[] = {"album", "recorded", "live", "in", "the", "studio", "with", "strings",
                                  "and", "a", "choir", "remastered", "edition", "bonus", "tracks"};
    std::string text;
    text.reserve(bytes + 256);
    unsigned seed = 7;
    int line = 0;
    while (text.size() < bytes)
    {
        if (line % 40 == 0)
            text += "<C><B>Chapter " + std::to_string(line / 40 + 1) + "</B></C>\r\n";
        if (line % 10 == 5)
            text += "<IMG>cover</IMG> <I>cover picture</I>\r\n";
        for (int w = 0; w < 14; w++)
        {
            seed = seed * 1103515245u + 12345u;
            const char* word = words[(seed >> 16) % 15];
            switch ((seed >> 8) % 12)
            {
            case 0: text += "<b>"; text += word; text += "</b>"; break;
            case 1: text += "<i>"; text += word; text += "</i>"; break;
            case 2: text += "<#C02020>"; text += word; text += "</#>"; break;
            case 3: text += "<LINK>http://example.org/"; text += word; text += "</LINK>"; break;
            default: text += word; break;
            }
            text += ' ';
        }
        text += "\r\n";
        line++;
    }
    return text;
}

// A pack folder holding "image\cover", removed at the end.
class Pictures
{
public:
    Pictures()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "mediabench" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), nullptr);
        CreateDirectoryA((m_folder + "image").c_str(), nullptr);
        SImage image(24, 24);
        SFileMem memory;
        image.Fill(0xFF3060C0);
        image.Save(&memory, IMAGE_FORMAT_PNG);
        memory.SaveToFile((m_folder + "image\\cover").c_str());
        resources.SetBaseFolder(m_folder.c_str());
        resources.AddFile("image\\cover", 0);
    }
    ~Pictures()
    {
        DeleteFileA((m_folder + "image\\cover").c_str());
        RemoveDirectoryA((m_folder + "image").c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    SResource resources;

private:
    std::string m_folder;
};

struct Figures
{
    double layout = 0;      // text set: tag parse, layout and the first page drawn
    double relayout = 0;    // one width change
    double scroll = 0;      // every page from the top to the bottom
    double drawText = 0;    // the baseline: GDI DrawText laying out the same characters at the same width
    int height = 0;
    int lines = 0;
    int pages = 0;
};

const int kWidth = 600, kHeight = 440;

Figures Measure(SWnd& host, SResource* resources, const std::string& text)
{
    Figures figures;
    BenchMedia view;
    RECT rect = {0, 0, kWidth, kHeight};
    view.CreateChild("", WS_VISIBLE, 0, &rect, host.GetHandle());
    view.SetResource(resources);
    view.SetAlignment(0);
    view.SetWrapping(true);
    view.SetTags(true);

    // The empty text first, so that no measure of an earlier round is reused.
    figures.layout = BenchBest([&] {
        view.SetWindowText("");
        view.SetWindowText(text.c_str());
    }, 2);
    figures.height = view.GetContentHeight();
    figures.lines = view.GetLayout().GetLineCount();

    int widths[2] = {kWidth - 40, kWidth};
    int which = 0;
    figures.relayout = BenchBest([&] {
        view.SetWindowPos(nullptr, 0, 0, widths[which++ % 2], kHeight, SWP_NOMOVE | SWP_NOZORDER);
    }, 4);

    // One page per step, from the top until the last line has gone by.
    figures.scroll = BenchBest([&] {
        figures.pages = 0;
        POINT start = {0, 0};
        view.SetAutoScroll(0, -1000, true, &start);
        DWORD clock = view.GetLastTick();
        int page = kHeight - 2;
        while (view.GetScrollY() > -view.GetContentHeight() && view.IsScrolling())
        {
            int before = view.GetScrollY();
            view.OnScrollTick(clock += page);
            figures.pages++;
            if (view.GetScrollY() >= before)
                break;
        }
        view.SetAutoScroll(0, 0);
    }, 2);

    // The baseline: GDI lays the same characters out, wrapped at the same width, and draws the first page.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HGDIOBJ oldFont = SelectObject(memory, view.GetFont());
    int wideLength = MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), nullptr, 0);
    std::wstring wide(wideLength, L' ');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), &wide[0], wideLength);
    figures.drawText = BenchBest([&] {
        RECT area = {0, 0, kWidth, kHeight};
        DrawTextW(memory, wide.c_str(), wideLength, &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        area.bottom = kHeight;
        DrawTextW(memory, wide.c_str(), wideLength, &area, DT_WORDBREAK | DT_NOPREFIX);
    }, 2);
    SelectObject(memory, oldFont);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    view.Destroy();
    return figures;
}

}

int main()
{
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, false, false, false);
    int result = 0;
    {
        SWnd host;
        RECT rect = {0, 0, kWidth + 20, kHeight + 40};
        if (!host.Create("media view bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &rect, nullptr))
        {
            printf("cannot create the host window\n");
            result = 1;
        }
        else
        {
            Pictures pictures;
            std::string small = MakeDescription(100 * 1024);
            std::string large = MakeDescription(1024 * 1024);
            Figures a = Measure(host, &pictures.resources, small);
            Figures b = Measure(host, &pictures.resources, large);
            printf("100 KB: %d lines, %d pixels, %d pages; 1 MB: %d lines, %d pixels, %d pages\n", a.lines,
                   a.height, a.pages, b.lines, b.height, b.pages);
            BenchReport("layout and first page, 100 KB", a.layout, "GDI DrawText layout, 100 KB", a.drawText);
            BenchReport("layout and first page, 1 MB", b.layout, "GDI DrawText layout, 1 MB", b.drawText);
            BenchReport("layout and first page, 1 MB", b.layout, "10 x the 100 KB layout", a.layout * 10);
            BenchReportLimit("relayout after a width change, 100 KB", a.relayout, 0.100);
            BenchReport("relayout after a width change, 1 MB", b.relayout, "10 x the 100 KB relayout",
                        a.relayout * 10);
            BenchReport("scroll top to bottom, 100 KB", a.scroll, "GDI DrawText layout, 100 KB", a.drawText);
            BenchReport("scroll top to bottom, 1 MB", b.scroll, "10 x the 100 KB scroll", a.scroll * 10);
            BenchReport("one page while scrolling, 1 MB", b.scroll / (b.pages ? b.pages : 1),
                        "one page while scrolling, 100 KB", a.scroll / (a.pages ? a.pages : 1));
            BenchReportLimit("one page while scrolling, 1 MB", b.scroll / (b.pages ? b.pages : 1), 0.016);
            host.Destroy();
        }
    }
    ExitLibrary();
    return result;
}
