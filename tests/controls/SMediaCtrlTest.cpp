#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "SDisk.h"
#include "SFileMem.h"
#include "SImage.h"
#include "SMediaCtrl.h"
#include "SMediaGdi.h"
#include "SMediaMeasureCache.h"
#include "SResource.h"

namespace
{

// A parent that also keeps the order of the control messages, copies link targets and
// gives a chosen answer to the link message.
class MediaParent : public SRecordingParent
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg >= WM_S_CONTROL_FIRST && msg < WM_S_CONTROL_FIRST + 400)
        {
            order.push_back(msg);
            if (msg == WM_S_MEDIA_LINK && lParam)
                links.push_back((const char*)lParam);
        }
        LRESULT result = SRecordingParent::OnMessage(msg, wParam, lParam);
        return msg == WM_S_MEDIA_LINK ? linkAnswer : result;
    }
    void Forget()
    {
        ClearReceived();
        SetMouseMessages({WM_S_MEDIA_MOUSE});
        order.clear();
        links.clear();
        linkAnswer = 0;
    }
    std::vector<UINT> order;
    std::vector<std::string> links;
    LRESULT linkAnswer = 0;
};

// The view with its scroll step reachable at a chosen clock.
class TestMedia : public SMediaCtrl
{
public:
    using SMediaCtrl::GetLastTick;
    using SMediaCtrl::OnScrollTick;
};

// Records what would have been opened instead of opening it.
class FakeLauncher : public SShellLauncher
{
public:
    bool ExecuteEx(SHELLEXECUTEINFOA* info) override
    {
        files.push_back(info->lpFile ? info->lpFile : "");
        return true;
    }
    std::vector<std::string> files;
};

class LauncherScope
{
public:
    explicit LauncherScope(SShellLauncher* launcher) : m_previous(SDisk::SetShellLauncher(launcher)) {}
    ~LauncherScope() { SDisk::SetShellLauncher(m_previous); }

private:
    SShellLauncher* m_previous;
};

// A 32-bit top-down picture of what the view paints over a plain background.
class Canvas
{
public:
    Canvas(int width, int height, COLORREF background) : m_width(width), m_height(height)
    {
        BITMAPINFO info;
        memset(&info, 0, sizeof(info));
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, (void**)&m_bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    // Red, green and blue of a pixel.
    void Pixel(int x, int y, int* red, int* green, int* blue) const
    {
        GdiFlush();
        DWORD value = m_bits[y * m_width + x];
        *red = (value >> 16) & 0xFF;
        *green = (value >> 8) & 0xFF;
        *blue = value & 0xFF;
    }
    // Pixels of the rectangle (clipped to the canvas) that are clearly red.
    int CountRed(RECT area) const
    {
        int count = 0;
        for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < m_height; y++)
            for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < m_width; x++)
            {
                int r, g, b;
                Pixel(x, y, &r, &g, &b);
                count += r > 150 && g < 100 && b < 100;
            }
        return count;
    }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};

// A folder of loose resource files with an "image" sub-folder, removed at the end.
class ImageFolder
{
public:
    ImageFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "mediactrl" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), nullptr);
        CreateDirectoryA((m_folder + "image").c_str(), nullptr);
        resources.SetBaseFolder(m_folder.c_str());
    }
    ~ImageFolder()
    {
        for (const std::string& name : m_names)
            DeleteFileA((m_folder + name).c_str());
        RemoveDirectoryA((m_folder + "image").c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    // A solid picture of one ARGB colour, saved as PNG under "image\name".
    bool AddPicture(const char* name, int width, int height, uint32_t color)
    {
        SImage image(width, height);
        SFileMem memory;
        return image.Fill(color) && image.Save(&memory, IMAGE_FORMAT_PNG) && AddBytes(name, memory);
    }
    // Bytes that are no picture under "image\name".
    bool AddGarbage(const char* name)
    {
        SFileMem memory;
        memory.Write("\x89PNG\r\n\x1a\n garbage", 17);
        return AddBytes(name, memory);
    }
    SResource resources;

private:
    bool AddBytes(const char* name, SFileMem& memory)
    {
        std::string entry = std::string("image\\") + name;
        if (!memory.SaveToFile((m_folder + entry).c_str()))
            return false;
        m_names.push_back(entry);
        return resources.AddFile(entry.c_str(), 0);
    }
    std::string m_folder;
    std::vector<std::string> m_names;
};

// One parent window serves every view test: under Wine hiding a top-level window waits
// for the X server, so each parent of its own would cost seconds.
MediaParent* g_parent = nullptr;

struct MediaFixture
{
    MediaParent& parent = *g_parent;
    TestMedia view;

    bool Create(int width, int height, const char* text = "")
    {
        if (!parent.GetHandle())
            return false;
        RECT rect = {10, 10, 10 + width, 10 + height};
        return view.CreateChild(text, WS_VISIBLE, 0, &rect, parent.GetHandle());
    }
    // Lays out with tags on in the view's top-left corner.
    void Tagged(const char* text, bool wrapping = false)
    {
        view.SetAlignment(0);
        view.SetWrapping(wrapping);
        view.SetTags(true);
        view.SetWindowText(text);
    }
    // The characters of every run of a line, joined.
    std::string LineText(int index)
    {
        std::string out;
        SString text = view.GetText();
        const SMediaLayout& layout = view.GetLayout();
        const SMediaLine* line = layout.GetLine(index);
        for (int r = 0; line && r < line->runCount; r++)
        {
            const SMediaRun* run = layout.GetRun(line, r);
            out += std::string((const char*)text + run->start, run->length);
        }
        return out;
    }
};

}

class SMediaCtrlTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        g_parent = new MediaParent;
        g_parent->CreateParent(400, 300);
    }
    static void TearDownTestSuite()
    {
        delete g_parent;
        g_parent = nullptr;
    }
    void SetUp() override { g_parent->Forget(); }
};

TEST_F(SMediaCtrlTest, DefaultsAndSetters)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(200, 60, "text"));
    EXPECT_EQ(SKIND_MEDIA, f.view.GetKind());
    EXPECT_EQ(0x10u, f.view.GetAlignment());
    EXPECT_FALSE(f.view.GetTags());
    EXPECT_FALSE(f.view.GetWrapping());
    EXPECT_TRUE(f.view.GetTrimming());
    EXPECT_EQ((unsigned)GetSysColor(COLOR_BTNFACE), f.view.GetBackColor());
    EXPECT_EQ(SMediaArgb(0xFE000000u + COLOR_WINDOWTEXT), f.view.GetTextColor());
    f.view.SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(0xFE010203u, f.view.GetTextColor());

    struct Case { unsigned flags; unsigned stored; };
    const Case cases[] = {{3, 3}, {0x31, 0x21}, {0x12, 0x12}, {0x02, 0x02}, {0x41, 0x01}};
    for (const Case& c : cases)
    {
        f.view.SetAlignment(c.flags);
        EXPECT_EQ(c.stored, f.view.GetAlignment()) << c.flags;
    }
    f.view.SetMargins(-4, 2, -1, 3);
    int left, top, right, bottom;
    f.view.GetMargins(&left, &top, &right, &bottom);
    EXPECT_EQ(0, left);
    EXPECT_EQ(2, top);
    EXPECT_EQ(0, right);
    EXPECT_EQ(3, bottom);
    RECT area;
    ASSERT_TRUE(f.view.GetTextRect(&area));
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(2, area.top);
    EXPECT_EQ(200, area.right);
    EXPECT_EQ(57, area.bottom);
    EXPECT_FALSE(f.view.GetTextRect(nullptr));
    // Margins larger than the window leave an empty area, never an inverted one.
    f.view.SetMargins(150, 50, 150, 50);
    ASSERT_TRUE(f.view.GetTextRect(&area));
    EXPECT_EQ(area.left, area.right);
    EXPECT_EQ(area.top, area.bottom);
}

TEST_F(SMediaCtrlTest, PlainTextIsMeasuredInTheWindowFont)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(100, 200));
    std::string line = "a fairly long line of plain words to wrap";
    f.view.SetWindowText(line.c_str());
    SIZE single = f.view.MeasureText(nullptr);
    EXPECT_EQ(single.cx, f.view.GetContentWidth());
    EXPECT_EQ(single.cy, f.view.GetContentHeight());
    // Without wrapping the line is as wide as its text, beyond the area.
    EXPECT_GT(single.cx, 100);
    SIZE shorter = f.view.MeasureText("a fairly");
    EXPECT_LT(shorter.cx, single.cx);
    EXPECT_EQ(single.cy, shorter.cy);
    f.view.SetWrapping(true);
    SIZE wrapped = f.view.MeasureText(nullptr);
    EXPECT_LE(wrapped.cx, 100 - 2 + 1);
    EXPECT_GT(wrapped.cy, single.cy);
    EXPECT_EQ(wrapped.cy, f.view.GetContentHeight());
    SMediaCtrl unborn;
    EXPECT_EQ(0, unborn.MeasureText("x").cx);

    // The text is drawn in the text colour.
    f.view.SetTextColor(RGB(255, 0, 0));
    Canvas canvas(100, 200, RGB(255, 255, 255));
    f.view.Paint(canvas.Dc());
    EXPECT_GT(canvas.CountRed({0, 0, 100, 200}), 0);
}

// An empty text measures one pixel square whatever is set around it, and a text set
// afterwards is measured again.
TEST_F(SMediaCtrlTest, EmptyTextFollowsTheWindowFont)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(100, 200));
    f.view.SetWindowText("");
    EXPECT_EQ(1, f.view.GetContentWidth());
    EXPECT_EQ(1, f.view.GetContentHeight());
    f.view.SetWindowText("words");
    EXPECT_GT(f.view.GetContentWidth(), 1);
    f.view.SetWindowText("");
    EXPECT_EQ(1, f.view.GetContentWidth());

    // Margins, alignment and another font leave it so.
    f.view.SetMargins(2, 2, 2, 2);
    f.view.SetAlignment(0x11);
    f.view.SendMessage(WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), FALSE);
    f.view.SetMargins(1, 1, 1, 1);
    EXPECT_EQ(1, f.view.MeasureText(nullptr).cy);
    EXPECT_EQ(1, f.view.GetContentHeight());
    f.view.SetWindowText("words");
    EXPECT_GT(f.view.GetContentHeight(), 1);
}

TEST_F(SMediaCtrlTest, TaggedTextIsLaidOutAndDrawn)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(300, 120));
    f.Tagged("plain <b>bold</b> <i>italic</i>\n\n<#FF0000>red</#> after");
    const SMediaLayout& layout = f.view.GetLayout();
    ASSERT_EQ(3, layout.GetLineCount());
    EXPECT_EQ("plain bold italic", f.LineText(0));
    EXPECT_EQ("", f.LineText(1));
    EXPECT_EQ("red after", f.LineText(2));

    const SMediaLine* first = layout.GetLine(0);
    ASSERT_EQ(4, first->runCount);
    EXPECT_EQ(FW_BOLD, layout.GetFont(layout.GetRun(first, 1)->font)->lfWeight);
    EXPECT_EQ(1, layout.GetFont(layout.GetRun(first, 3)->font)->lfItalic);
    int width = 0, height = 0;
    for (int i = 0; i < layout.GetLineCount(); i++)
    {
        const SMediaLine* line = layout.GetLine(i);
        width = line->width > width ? line->width : width;
        height += line->height;
        // Runs follow one another on their line.
        for (int r = 1; r < line->runCount; r++)
            EXPECT_FLOAT_EQ(layout.GetRun(line, r - 1)->x + layout.GetRun(line, r - 1)->width,
                            layout.GetRun(line, r)->x);
    }
    EXPECT_EQ(width, f.view.GetContentWidth());
    EXPECT_EQ(height, f.view.GetContentHeight());
    // The empty line keeps the window font's height.
    {
        HDC dc = f.view.GetDC();
        Gdiplus::Graphics graphics(dc);
        Gdiplus::Font font(dc, f.view.GetFont());
        EXPECT_EQ((int)font.GetHeight(&graphics), layout.GetLine(1)->height);
        f.view.ReleaseDC(dc);
    }
    EXPECT_GT(layout.GetLine(1)->height, 0);
    EXPECT_GE(layout.GetLine(2)->height, layout.GetLine(1)->height);

    // Red pixels appear in the red run's box only.
    Canvas canvas(300, 120, RGB(255, 255, 255));
    f.view.Paint(canvas.Dc());
    const SMediaLine* third = layout.GetLine(2);
    const SMediaRun* red = layout.GetRun(third, 0);
    RECT box = {1 + (int)red->x, 1 + third->top, 1 + (int)(red->x + red->width) + 1,
                1 + third->top + third->height};
    EXPECT_GT(canvas.CountRed(box), 5);
    EXPECT_EQ(0, canvas.CountRed({0, 0, 300, 1 + third->top}));
    EXPECT_EQ(0, canvas.CountRed({box.right + 1, 0, 300, 120}));
}

TEST_F(SMediaCtrlTest, LayoutFollowsTheWidth)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(400, 100));
    std::string text;
    for (int i = 0; i < 12; i++)
        text += "word ";
    text += "<b>end</b>";
    f.Tagged(text.c_str(), true);
    int wideHeight = f.view.GetContentHeight();
    // A run wraps inside the area: a narrower area makes it taller.
    f.view.SetWindowPos(nullptr, 0, 0, 60, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(f.view.GetContentHeight(), wideHeight);
    EXPECT_LE(f.view.GetLayout().GetRun(f.view.GetLayout().GetLine(0), 0)->width, 58.0f);
    // Centred lines sit in the middle of the area.
    f.view.SetWindowPos(nullptr, 0, 0, 400, 100, SWP_NOMOVE | SWP_NOZORDER);
    f.view.SetWindowText("<C>mid</C>");
    const SMediaLine* line = f.view.GetLayout().GetLine(0);
    const SMediaRun* run = f.view.GetLayout().GetRun(line, 0);
    EXPECT_NEAR(398 / 2.0 - line->width / 2.0, run->x, 1.0);
    f.view.SetWindowText("<R>right</R><C>x</C>");
    line = f.view.GetLayout().GetLine(0);
    run = f.view.GetLayout().GetRun(line, line->runCount - 1);
    EXPECT_NEAR(398, run->x + run->width, 0.01);
}

TEST_F(SMediaCtrlTest, InlineImagesComeFromTheResources)
{
    ImageFolder folder;
    ASSERT_TRUE(folder.AddPicture("dot", 6, 5, 0xFF00FF00));
    ASSERT_TRUE(folder.AddGarbage("bad"));
    MediaFixture f;
    ASSERT_TRUE(f.Create(300, 100));
    f.view.SetResource(&folder.resources);
    f.Tagged("<IMG>dot</IMG>x<img>DOT</img>\n<IMG>nothing</IMG>|<IMG>bad</IMG>");
    const SMediaLayout& layout = f.view.GetLayout();
    ASSERT_EQ(2, layout.GetLineCount());
    const SMediaLine* first = layout.GetLine(0);
    ASSERT_EQ(3, first->runCount);
    const SMediaRun* image = layout.GetRun(first, 0);
    ASSERT_NE(nullptr, image->image);
    EXPECT_FLOAT_EQ(6, image->width);
    EXPECT_FLOAT_EQ(5, image->height);
    // The same name in the same text is the same cached picture.
    EXPECT_EQ(image->image, layout.GetRun(first, 2)->image);
    // Missing and undecodable pictures show their names.
    EXPECT_EQ("nothing|bad", f.LineText(1));
    for (int r = 0; r < layout.GetLine(1)->runCount; r++)
        EXPECT_EQ(nullptr, layout.GetRun(layout.GetLine(1), r)->image);

    Canvas canvas(300, 100, RGB(255, 255, 255));
    f.view.Paint(canvas.Dc());
    int red, green, blue;
    canvas.Pixel(1 + 3, 1 + 2, &red, &green, &blue);
    EXPECT_EQ(0, red);
    EXPECT_EQ(255, green);
    EXPECT_EQ(0, blue);

    // Without a resource pack the name is text.
    f.view.SetResource(nullptr);
    f.view.SetWindowText("<IMG>dot</IMG>");
    EXPECT_EQ("dot", f.LineText(0));
    EXPECT_EQ(nullptr, layout.GetRun(layout.GetLine(0), 0)->image);
}

TEST_F(SMediaCtrlTest, LinksAreReportedToTheParentAndOpened)
{
    FakeLauncher launcher;
    LauncherScope scope(&launcher);
    MediaFixture f;
    ASSERT_TRUE(f.Create(380, 60));
    f.parent.SetMouseMessages({WM_S_MEDIA_MOUSE});
    f.Tagged("go <link>C:\\music\\list.txt</link> or <link>me@example.org</link>");
    f.view.Redraw();
    ASSERT_EQ(2, f.view.GetLinkCount());
    EXPECT_STREQ("C:\\music\\list.txt", f.view.GetLinkText(0));
    EXPECT_STREQ("me@example.org", f.view.GetLinkText(1));
    RECT links[2];
    ASSERT_TRUE(f.view.GetLinkRect(0, &links[0]));
    ASSERT_TRUE(f.view.GetLinkRect(1, &links[1]));
    EXPECT_LT(links[0].right, links[1].right);
    EXPECT_EQ(-1, f.view.HitTestLink(0, 0));

    auto click = [&](const RECT& rect) {
        int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
        EXPECT_EQ(&rect == &links[0] ? 0 : 1, f.view.HitTestLink(x, y));
        f.view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        f.view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        return POINT{x, y};
    };
    // The parent takes the click over: nothing is opened.
    f.parent.linkAnswer = 1;
    POINT at = click(links[0]);
    ASSERT_EQ(1u, f.parent.links.size());
    EXPECT_EQ("C:\\music\\list.txt", f.parent.links[0]);
    EXPECT_TRUE(launcher.files.empty());
    std::vector<SRecordedMessage> mouse = f.parent.Received(WM_S_MEDIA_MOUSE);
    ASSERT_GE(mouse.size(), 2u);
    EXPECT_EQ(SMOUSE_LEFT | SMOUSE_DOWN, mouse[0].mouse.code);
    EXPECT_EQ(at.x, mouse[0].mouse.x);
    EXPECT_EQ(at.y, mouse[0].mouse.y);
    EXPECT_EQ((WPARAM)&f.view, mouse[0].wParam);
    // The link message comes before the mouse record.
    ASSERT_GE(f.parent.order.size(), 2u);
    EXPECT_EQ(WM_S_MEDIA_LINK, f.parent.order[0]);
    EXPECT_EQ(WM_S_MEDIA_MOUSE, f.parent.order[1]);

    // Left to the view (answer 0): a file goes to the shell, an address to the mail client.
    f.view.Destroy();
    f.parent.Forget();
    MediaFixture g;
    ASSERT_TRUE(g.Create(380, 60));
    g.Tagged("go <link>C:\\music\\list.txt</link> or <link>me@example.org</link>");
    g.view.Redraw();
    ASSERT_EQ(2, g.view.GetLinkCount());
    for (int i = 0; i < 2; i++)
    {
        RECT rect;
        g.view.GetLinkRect(i, &rect);
        g.view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                           MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    }
    ASSERT_EQ(2u, launcher.files.size());
    EXPECT_EQ("C:\\music\\list.txt", launcher.files[0]);
    EXPECT_EQ("mailto:me@example.org", launcher.files[1]);
    // A click beside the links opens nothing.
    g.view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_EQ(2u, launcher.files.size());
    EXPECT_EQ(2u, g.parent.links.size());
}

TEST_F(SMediaCtrlTest, LinksScrolledOutOfViewCannotBeClicked)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(200, 40));
    f.Tagged("<link>first</link>\n\n\n\n\n\n\n\n<link>last</link>");
    f.view.Redraw();
    ASSERT_EQ(1, f.view.GetLinkCount());
    EXPECT_STREQ("first", f.view.GetLinkText(0));
    POINT start = {0, -f.view.GetContentHeight() + 20};
    f.view.SetAutoScroll(0, -1, true, &start);
    ASSERT_EQ(1, f.view.GetLinkCount());
    EXPECT_STREQ("last", f.view.GetLinkText(0));
    f.view.SetAutoScroll(0, 0);
    EXPECT_EQ(0, f.view.GetScrollY());
}

TEST_F(SMediaCtrlTest, ARepaintOfPartOfTheViewKeepsEveryShownLink)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(200, 120));
    f.Tagged("<link>first</link>\n\n\n\n<link>last</link>");
    f.view.RedrawNow();
    ASSERT_EQ(2, f.view.GetLinkCount());
    // Strips that hold neither link, the first one, or the last one.
    struct Case { int top, bottom; } strips[] = {{25, 35}, {0, 5}, {100, 120}, {0, 120}};
    for (const Case& c : strips)
    {
        RECT strip = {0, c.top, 200, c.bottom};
        f.view.Redraw(&strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ASSERT_EQ(2, f.view.GetLinkCount()) << c.top;
        EXPECT_STREQ("first", f.view.GetLinkText(0)) << c.top;
        EXPECT_STREQ("last", f.view.GetLinkText(1)) << c.top;
        RECT last;
        ASSERT_TRUE(f.view.GetLinkRect(1, &last));
        EXPECT_GT(last.top, 40) << c.top;
    }
}

TEST_F(SMediaCtrlTest, RunsSummedFromTheirWordsMeasureAsTheWholeRun)
{
    HDC dc = GetDC(nullptr);
    ASSERT_NE(nullptr, dc);
    struct Case { const char* face; int height, weight; bool italic, underline; } fonts[] = {
        {"Tahoma", -11, FW_NORMAL, false, false}, {"Tahoma", -11, FW_BOLD, false, false},
        {"Tahoma", -13, FW_NORMAL, true, true}, {"Verdana", -20, FW_BOLD, true, false},
        {"Courier New", -9, FW_NORMAL, false, false},
    };
    const wchar_t* runs[] = {L"album recorded live ", L"in the studio with strings and a choir ", L"remastered",
                             L"  bonus tracks  ", L"Chapter 12: \u00e9dition, (live) & more! ", L"a b c d e f g "};
    for (const Case& c : fonts)
    {
        LOGFONTA font;
        memset(&font, 0, sizeof(font));
        font.lfHeight = c.height;
        font.lfWeight = c.weight;
        font.lfItalic = c.italic;
        font.lfUnderline = c.underline;
        strcpy(font.lfFaceName, c.face);
        SMediaGdiMeasurer direct(dc, true);
        SMediaGdiMeasurer source(dc, true);
        SMediaMeasureCache cache(&source);
        for (const wchar_t* run : runs)
        {
            int length = (int)wcslen(run);
            SMediaBox whole = direct.Measure(run, length, font, 0, -1);
            SMediaBox summed = cache.Measure(run, length, font, 0, -1);
            EXPECT_GT(whole.width, 0) << c.face << " " << c.height;
            EXPECT_EQ(whole.x, summed.x) << c.face << " " << c.height;
            EXPECT_EQ(whole.y, summed.y) << c.face << " " << c.height;
            EXPECT_EQ(whole.width, summed.width) << c.face << " " << c.height << " " << length;
            EXPECT_EQ(whole.height, summed.height) << c.face << " " << c.height;
        }
    }
    ReleaseDC(nullptr, dc);
}

TEST_F(SMediaCtrlTest, ButtonClicksAndFrame)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(60, 30, "button"));
    f.parent.SetMouseMessages({WM_S_MEDIA_MOUSE});
    f.view.SendMessage(WM_S_LCLICK, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(f.parent.Received(WM_S_MEDIA_CLICK).empty());
    ASSERT_EQ(1u, f.parent.Received(WM_S_MEDIA_MOUSE).size());
    EXPECT_EQ(SMOUSE_LEFT | SMOUSE_CLICK, f.parent.Received(WM_S_MEDIA_MOUSE)[0].mouse.code);

    f.view.EnableHotTracking(true);
    f.parent.order.clear();
    f.view.SendMessage(WM_S_LCLICK, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(2u, f.parent.order.size());
    EXPECT_EQ(WM_S_MEDIA_CLICK, f.parent.order[0]);
    EXPECT_EQ(WM_S_MEDIA_MOUSE, f.parent.order[1]);

    // Checked: a sunken frame, grey at the top and white at the bottom.
    f.view.SetWindowText("");
    f.view.SetChecked(true);
    EXPECT_TRUE(f.view.IsCheckedState());
    {
        Canvas canvas(60, 30, RGB(0, 0, 0));
        f.view.Paint(canvas.Dc());
        int r, g, b;
        canvas.Pixel(30, 0, &r, &g, &b);
        EXPECT_NEAR(160, g, 3);
        canvas.Pixel(30, 29, &r, &g, &b);
        EXPECT_NEAR(255, g, 3);
    }
    // Disabled: no frame and no button click.
    f.view.Enable(false);
    {
        Canvas canvas(60, 30, RGB(0, 0, 0));
        f.view.Paint(canvas.Dc());
        int r, g, b;
        canvas.Pixel(30, 0, &r, &g, &b);
        EXPECT_EQ(0, g);
    }
    f.parent.order.clear();
    f.view.SendMessage(WM_S_LCLICK, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(1u, f.parent.order.size());
    EXPECT_EQ(WM_S_MEDIA_MOUSE, f.parent.order[0]);
}

TEST_F(SMediaCtrlTest, AutomaticScrollingLoopsVertically)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(200, 60));
    std::string text;
    for (int i = 0; i < 30; i++)
        text += "line " + std::to_string(i) + "\n";
    f.Tagged(text.c_str());
    int content = f.view.GetContentHeight();
    ASSERT_GT(content, 58);

    f.view.SetAutoScroll(0, -30);
    EXPECT_TRUE(f.view.IsScrolling());
    EXPECT_TRUE(f.view.IsScrollingY());
    EXPECT_FALSE(f.view.IsScrollingX());
    // The content enters from just below the text area.
    EXPECT_EQ(58, f.view.GetScrollY());
    DWORD clock = f.view.GetLastTick();
    clock += 1000;
    f.view.OnScrollTick(clock);
    EXPECT_EQ(28, f.view.GetScrollY());
    int previous = f.view.GetScrollY();
    bool looped = false;
    for (int step = 0; step < 1000 && !looped; step++)
    {
        f.view.OnScrollTick(clock += 1000);
        if (f.view.GetScrollY() > previous)
        {
            looped = true;
            // It came back once its last line had left the area at the top.
            EXPECT_GE(previous + content, 0);
            EXPECT_LT(previous - 30 + content, 0);
            EXPECT_EQ(58, f.view.GetScrollY());
        }
        previous = f.view.GetScrollY();
    }
    EXPECT_TRUE(looped);

    // A new text stops scrolling.
    f.view.SetWindowText("x");
    EXPECT_FALSE(f.view.IsScrolling());
    EXPECT_EQ(0, f.view.GetScrollY());
}

TEST_F(SMediaCtrlTest, AutomaticScrollingNeedsContentThatDoesNotFit)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(200, 60));
    f.Tagged("short");
    f.view.SetAutoScroll(0, -30);
    EXPECT_FALSE(f.view.IsScrolling());
    EXPECT_EQ(0, f.view.GetScrollY());
    EXPECT_FALSE(f.view.IsScrollingY());
    f.view.SetAutoScroll(0, -30, true);
    EXPECT_TRUE(f.view.IsScrolling());
    EXPECT_EQ(58, f.view.GetScrollY());
    f.view.SetAutoScroll(0, 0);
    EXPECT_FALSE(f.view.IsScrolling());
    EXPECT_EQ(0, f.view.GetScrollY());

    // A long line without wrapping scrolls sideways and comes back at the right.
    std::string line(200, 'w');
    f.view.SetWindowText(line.c_str());
    ASSERT_GT(f.view.GetContentWidth(), 198);
    f.view.SetAutoScroll(-30, 0);
    EXPECT_TRUE(f.view.IsScrollingX());
    EXPECT_EQ(198, f.view.GetScrollX());
    DWORD clock = f.view.GetLastTick();
    f.view.OnScrollTick(clock += 2000);
    EXPECT_EQ(138, f.view.GetScrollX());
    int width = f.view.GetContentWidth();
    f.view.OnScrollTick(clock += (DWORD)((138 + width) * 1000 / 30 + 100));
    EXPECT_EQ(198, f.view.GetScrollX());
    f.view.SetAutoScroll(0, 0);
}

TEST_F(SMediaCtrlTest, TheTimerDrivesScrolling)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(200, 40, "plain text that scrolls upwards\nand more\nand more\nand more"));
    f.view.SetWrapping(true);
    POINT start = {0, 0};
    f.view.SetAutoScroll(0, -400, true, &start);
    ASSERT_TRUE(f.view.IsScrolling());
    EXPECT_TRUE(PumpUntil([&] { return f.view.GetScrollY() <= -4; }, 3000));
    f.view.SetAutoScroll(0, 0);
}

TEST_F(SMediaCtrlTest, DamagedTaggedTextsShowAsText)
{
    ImageFolder folder;
    ASSERT_TRUE(folder.AddGarbage("bad"));
    MediaFixture f;
    ASSERT_TRUE(f.Create(150, 80));
    f.view.SetResource(&folder.resources);
    struct Case { std::string text; const char* firstLine; };
    const std::vector<Case> cases = {
        {"a > b <B>c", "a > b <B>c"},
        {"<P>x", "<P>x"},
        {"</B>x", "x"},
        {"<b", "<b"},
        {"<#>x</#></#></#>", "x"},
        {"<img>bad</img>", "bad"},
        {"<img>..\\..\\windows\\win.ini</img>", "..\\..\\windows\\win.ini"},
        {"<img>" + std::string(1000, 'n') + "</img>", nullptr},
        {"<link></link><img></img>", ""},
        {"<link>" + std::string(1000, '<') + "</link>", nullptr},
        {std::string(2000, '<') + ">", nullptr},
        {"\xff\xfe<b>\x80\x81</b>", "\xff\xfe\x80\x81"},
    };
    for (const Case& c : cases)
    {
        f.Tagged(c.text.c_str(), true);
        f.view.Redraw();
        Canvas canvas(150, 80, RGB(255, 255, 255));
        f.view.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
        if (c.firstLine)
            EXPECT_EQ(c.firstLine, f.LineText(0)) << c.text.substr(0, 40);
        else
            EXPECT_GT(f.view.GetContentHeight(), 0) << c.text.substr(0, 40);
    }
}

TEST_F(SMediaCtrlTest, FontChangesAndBackgroundPicture)
{
    MediaFixture f;
    ASSERT_TRUE(f.Create(200, 100));
    f.Tagged("one line\nanother");
    int small = f.view.GetContentHeight();
    HFONT big = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    ASSERT_NE(nullptr, big);
    // The layout sees the font the window is given.
    f.view.SetFont(big, true);
    EXPECT_GT(f.view.GetContentHeight(), small * 2);
    f.view.SetFont(nullptr, false);
    f.view.SetWindowText("");
    DeleteObject(big);

    // The picture (tiled) fills the text area, inside the margins.
    SImage picture(4, 4);
    ASSERT_TRUE(picture.Fill(0xFF0000FF));
    picture.SetDrawMode(10);
    f.view.SetImage(&picture);
    f.view.SetMargins(10, 10, 10, 10);
    Canvas canvas(200, 100, RGB(255, 255, 255));
    f.view.Paint(canvas.Dc());
    f.view.SetImage(nullptr);
    int r, g, b;
    canvas.Pixel(5, 5, &r, &g, &b);
    EXPECT_EQ(255, r);
    canvas.Pixel(100, 50, &r, &g, &b);
    EXPECT_EQ(0, r);
    EXPECT_EQ(255, b);
}

namespace
{

// What the view shows on the screen, read back from its window after a full repaint.
void ShotOf(SWnd& view, Canvas* canvas, int width, int height)
{
    view.RedrawNow();
    HDC dc = view.GetDC();
    BitBlt(canvas->Dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    view.ReleaseDC(dc);
}

// Pixels that differ between two canvases of the same size.
int CountDifferent(const Canvas& a, const Canvas& b, int width, int height)
{
    int count = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            int r1, g1, b1, r2, g2, b2;
            a.Pixel(x, y, &r1, &g1, &b1);
            b.Pixel(x, y, &r2, &g2, &b2);
            count += r1 != r2 || g1 != g2 || b1 != b2;
        }
    return count;
}

// Lowest row holding a pixel that is not the background colour; -1 when none.
int LowestInk(const Canvas& canvas, int width, int height, COLORREF background)
{
    for (int y = height - 1; y >= 0; y--)
        for (int x = 0; x < width; x++)
        {
            int r, g, b;
            canvas.Pixel(x, y, &r, &g, &b);
            if (RGB(r, g, b) != background)
                return y;
        }
    return -1;
}

}

TEST_F(SMediaCtrlTest, TheWindowShowsEachRunAsDrawStringDrawsIt)
{
    const int width = 260, height = 120;
    struct Case
    {
        const char* text;
        bool wrapping;
    } cases[] = {
        {"plain words, <b>bold</b> and <i>italic fall</i> <u>under</u>", false},
        {"<#C02020>red</#> <LINK>http://example.org/x</LINK> after\n\n<#2020C0>blue line</#>", false},
        {"<C>centred <b>heading</b></C>\n<R>right</R>", false},
        {"a long run that wraps over several lines of the narrow view, drawn as one box <b>then bold</b>", true},
    };
    COLORREF back = GetSysColor(COLOR_BTNFACE);
    for (const Case& c : cases)
    {
        MediaFixture f;
        ASSERT_TRUE(f.Create(width, height));
        f.Tagged(c.text, c.wrapping);
        f.view.SetTextColor(RGB(0, 0, 0));
        Canvas shown(width, height, RGB(255, 255, 255));
        ShotOf(f.view, &shown, width, height);

        // The reference: every run through DrawString on a surface like the window's back buffer.
        HDC windowDc = f.view.GetDC();
        HDC memory = CreateCompatibleDC(windowDc);
        HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
        f.view.ReleaseDC(windowDc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(back);
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        {
            Gdiplus::Graphics graphics(memory);
            graphics.SetClip(Gdiplus::Rect(1, 1, width - 2, height - 2));
            Gdiplus::StringFormat* format = SMediaCreateFormat(c.wrapping, 0);
            ASSERT_NE(nullptr, format);
            const SMediaLayout& layout = f.view.GetLayout();
            SString text = f.view.GetText();
            for (int l = 0; l < layout.GetLineCount(); l++)
            {
                const SMediaLine* line = layout.GetLine(l);
                for (int r = 0; r < line->runCount; r++)
                {
                    const SMediaRun* run = layout.GetRun(line, r);
                    std::wstring wide(run->length, L' ');
                    MultiByteToWideChar(CP_ACP, 0, (const char*)text + run->start, run->length, &wide[0],
                                        run->length);
                    Gdiplus::Font font(memory, layout.GetFont(run->font));
                    Gdiplus::SolidBrush ink{Gdiplus::Color(run->color | 0xFF000000u)};
                    format->SetAlignment(run->horizontalAlignment == 1   ? Gdiplus::StringAlignmentCenter
                                         : run->horizontalAlignment == 2 ? Gdiplus::StringAlignmentFar
                                                                         : Gdiplus::StringAlignmentNear);
                    Gdiplus::RectF box(1 + run->x, 1 + line->top + run->y, run->width, run->height + 1);
                    graphics.DrawString(wide.c_str(), run->length, &font, box, format, &ink);
                }
            }
            delete format;
        }
        Canvas expected(width, height, RGB(255, 255, 255));
        BitBlt(expected.Dc(), 0, 0, width, height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);

        EXPECT_GT(LowestInk(shown, width, height, back), 0) << c.text;
        EXPECT_EQ(0, CountDifferent(shown, expected, width, height)) << c.text;
    }
}

TEST_F(SMediaCtrlTest, AFontOrColourChangeAfterAPaintShowsInTheNextPaint)
{
    const int width = 200, height = 100;
    COLORREF back = GetSysColor(COLOR_BTNFACE);
    HFONT big = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    ASSERT_NE(nullptr, big);
    struct Case
    {
        const char* name;
        bool newFont;
        COLORREF color;
    } cases[] = {
        {"colour", false, RGB(255, 0, 0)},
        {"font", true, RGB(0, 0, 0)},
        {"both", true, RGB(255, 0, 0)},
    };
    for (const Case& c : cases)
    {
        MediaFixture f;
        ASSERT_TRUE(f.Create(width, height));
        f.Tagged("Wg <b>Wg</b> <i>Wg</i>");
        f.view.SetTextColor(RGB(0, 0, 0));
        Canvas before(width, height, RGB(255, 255, 255));
        ShotOf(f.view, &before, width, height);
        int lowest = LowestInk(before, width, height, back);
        ASSERT_GT(lowest, 0) << c.name;
        ASSERT_EQ(0, before.CountRed({0, 0, width, height})) << c.name;

        if (c.newFont)
            f.view.SetFont(big, false);
        f.view.SetTextColor(c.color);
        Canvas after(width, height, RGB(255, 255, 255));
        ShotOf(f.view, &after, width, height);
        int expectedLowest = c.newFont ? lowest + 10 : lowest;
        EXPECT_GE(LowestInk(after, width, height, back), expectedLowest) << c.name;
        if (!c.newFont)
        {
            EXPECT_EQ(lowest, LowestInk(after, width, height, back)) << c.name;
        }
        if (c.color == RGB(255, 0, 0))
        {
            EXPECT_GT(after.CountRed({0, 0, width, height}), 20) << c.name;
        }
        f.view.SetFont(nullptr, false);
    }
    DeleteObject(big);
}
