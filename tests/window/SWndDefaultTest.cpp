#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "ImageTestSupport.h"
#include "PumpSupport.h"
#include "SFilePath.h"
#include "SImage.h"
#include "SMenu.h"
#include "SResource.h"
#include "SWnd.h"

namespace
{

// A window that records the library messages it receives.
class RecordingWnd : public SWnd
{
public:
    struct Seen
    {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Seen> seen;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg >= WM_APP || msg == WM_ERASEBKGND)
            seen.push_back({msg, wParam, lParam});
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    int Count(UINT msg) const
    {
        int count = 0;
        for (const Seen& item : seen)
            count += item.msg == msg;
        return count;
    }
};

// An image whose rectangles are painted in ARGB colours, over a base colour.
struct Patch
{
    RECT rect;
    uint32_t color;
};

void MakeImage(SImage* image, int width, int height, uint32_t base, const std::vector<Patch>& patches)
{
    std::vector<uint32_t> pixels((size_t)width * height, base);
    for (const Patch& patch : patches)
        for (int y = patch.rect.top; y < patch.rect.bottom; y++)
            for (int x = patch.rect.left; x < patch.rect.right; x++)
                pixels[(size_t)y * width + x] = patch.color;
    ASSERT_TRUE(image->CreateFromPixels(pixels.data(), width, height));
}

}

TEST(SWndDefault, ScrollingByStepsRoundsClampsAndNotifies)
{
    struct Case
    {
        int page;
        int start;
        WORD request;
        WORD thumb;
        int expected;
    };
    // With a page the bar stops at max - page + 1 (91), kept to the step of 5.
    const Case cases[] = {
        {0, 12, SB_PAGEDOWN, 0, 20},  {0, 10, SB_LINEUP, 0, 5},    {0, 20, SB_PAGEUP, 0, 10},
        {0, 12, SB_LINEDOWN, 0, 10},  {0, 40, SB_TOP, 0, 0},       {0, 0, SB_BOTTOM, 0, 100},
        {0, 0, SB_THUMBTRACK, 37, 35}, {0, 0, SB_THUMBTRACK, 500, 100}, {0, 3, SB_LINEUP, 0, 0},
        {10, 0, SB_THUMBTRACK, 500, 90}, {10, 0, SB_BOTTOM, 0, 90},  {0, 30, SB_ENDSCROLL, 0, 30},
    };
    for (const Case& c : cases)
    {
        RecordingWnd window;
        RECT rect = {0, 0, 200, 150};
        ASSERT_TRUE(window.Create("", WS_POPUP | WS_VSCROLL, 0, &rect, nullptr));
        window.SetScrollInfo(true, 0, 100, c.page);
        window.SetVScrollPos(c.start);
        window.SetScrollSteps(true, 1, 10, 5);
        window.seen.clear();
        LRESULT answer = window.SendMessage(WM_VSCROLL, MAKEWPARAM(c.request, c.thumb), 0);
        EXPECT_EQ(answer, 0);
        EXPECT_EQ(window.GetVScrollPos(), c.expected) << c.request << " from " << c.start;
        if (c.expected == c.start)
            EXPECT_EQ(window.Count(WM_S_VSCROLLED), 0);
        else
        {
            ASSERT_EQ(window.Count(WM_S_VSCROLLED), 1) << c.request << " from " << c.start;
            const RecordingWnd::Seen& note = window.seen[0];
            EXPECT_EQ(note.msg, (UINT)WM_S_VSCROLLED);
            EXPECT_EQ(HIWORD(note.wParam), c.expected);
            EXPECT_EQ(LOWORD(note.wParam), c.start);
        }
        EXPECT_EQ(window.Count(WM_S_HSCROLLED), 0);
    }
}

TEST(SWndDefault, HorizontalBarUsesItsOwnSteps)
{
    RecordingWnd window;
    RECT rect = {0, 0, 200, 150};
    ASSERT_TRUE(window.Create("", WS_POPUP | WS_HSCROLL | WS_VSCROLL, 0, &rect, nullptr));
    window.SetScrollInfo(false, 0, 1000, -1);
    window.SetScrollSteps(false, 7, 100, 1);
    window.SetScrollSteps(true, 1, 1, 1);
    window.SendMessage(WM_HSCROLL, SB_LINEDOWN, 0);
    window.SendMessage(WM_HSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(window.GetHScrollPos(), 107);
    EXPECT_EQ(window.GetVScrollPos(), 0);
    EXPECT_EQ(window.Count(WM_S_HSCROLLED), 2);
    window.ScrollStepBack(false);
    EXPECT_EQ(window.GetHScrollPos(), 7);
}

TEST(SWndDefault, OneLineScrollMovesByTheLineStepAndNotifies)
{
    RecordingWnd window;
    RECT rect = {0, 0, 200, 150};
    ASSERT_TRUE(window.Create("", WS_POPUP | WS_HSCROLL | WS_VSCROLL, 0, &rect, nullptr));
    window.SetScrollInfo(true, 0, 100, -1);
    window.SetScrollSteps(true, 5, 50, 1);
    window.ScrollLine(true, true);
    window.ScrollLine(true, true);
    EXPECT_EQ(window.GetVScrollPos(), 10);
    window.ScrollLine(true, false);
    EXPECT_EQ(window.GetVScrollPos(), 5);
    EXPECT_EQ(window.Count(WM_S_VSCROLLED), 3);
    EXPECT_EQ(window.GetHScrollPos(), 0);
    EXPECT_EQ(window.Count(WM_S_HSCROLLED), 0);
}

TEST(SWndDefault, EraseFillsTheBackColourAroundLibraryChildren)
{
    RecordingWnd parent;
    RECT rect = {0, 0, 120, 80};
    ASSERT_TRUE(parent.Create("", WS_POPUP, 0, &rect, nullptr));
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    SWnd child;
    RECT childRect = {10, 10, 40, 40};
    ASSERT_TRUE(child.CreateChild("", WS_VISIBLE, 0, &childRect, parent.GetHandle()));
    child.SetBackColor(RGB(0, 0, 255));

    struct Case
    {
        unsigned color;
        COLORREF outside;
    };
    const Case cases[] = {
        {RGB(255, 0, 0), RGB(255, 0, 0)},
        {SCOLOR_NONE, RGB(0, 255, 0)},
    };
    for (const Case& c : cases)
    {
        parent.SetBackColor(c.color);
        PixelCanvas surface(120, 80, RGB(0, 255, 0));
        EXPECT_EQ(parent.SendMessage(WM_ERASEBKGND, (WPARAM)surface.dc(), 0), 1);
        EXPECT_EQ(surface.At(80, 60), c.outside);
        EXPECT_EQ(surface.At(5, 5), c.outside);
        // The child paints itself: the parent leaves its place alone.
        EXPECT_EQ(surface.At(20, 20), RGB(0, 255, 0));
    }
}

TEST(SWndDefault, BackgroundImageKeepsSliceCornersUnscaled)
{
    SImage image;
    MakeImage(&image, 100, 50, 0xFF808080u,
              {{{0, 0, 10, 10}, 0xFFFF0000u},
               {{90, 0, 100, 10}, 0xFF00FF00u},
               {{0, 40, 10, 50}, 0xFF0000FFu},
               {{90, 40, 100, 50}, 0xFFFFFF00u},
               {{10, 0, 90, 10}, 0xFFFF00FFu},
               {{0, 10, 10, 40}, 0xFF00FFFFu}});
    SWnd window;
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(window.Create("", WS_POPUP, 0, &rect, nullptr));
    RECT margins = {10, 10, 90, 40};
    window.SetBackgroundImage(&image, SCOLOR_NONE, 9, &margins, false);
    ASSERT_NE(window.GetBackgroundImage(), nullptr);
    PixelCanvas surface(300, 200, RGB(1, 2, 3));
    window.DrawBackgroundImage(surface.dc(), 300, 200);
    struct Probe
    {
        int x, y;
        COLORREF color;
    };
    const Probe probes[] = {
        {0, 0, RGB(255, 0, 0)},     {9, 9, RGB(255, 0, 0)},       {290, 0, RGB(0, 255, 0)},
        {299, 9, RGB(0, 255, 0)},   {0, 190, RGB(0, 0, 255)},     {9, 199, RGB(0, 0, 255)},
        {290, 190, RGB(255, 255, 0)}, {299, 199, RGB(255, 255, 0)}, {10, 5, RGB(255, 0, 255)},
        {150, 9, RGB(255, 0, 255)}, {289, 0, RGB(255, 0, 255)},   {5, 10, RGB(0, 255, 255)},
        {5, 189, RGB(0, 255, 255)}, {150, 100, RGB(128, 128, 128)}, {20, 20, RGB(128, 128, 128)},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(surface.At(probe.x, probe.y), probe.color) << probe.x << "," << probe.y;

    // The erase paints the same picture; WM_DESTROY forgets it.
    PixelCanvas erased(300, 200, RGB(1, 2, 3));
    window.SendMessage(WM_ERASEBKGND, (WPARAM)erased.dc(), 0);
    EXPECT_EQ(erased.At(295, 195), RGB(255, 255, 0));
    window.Destroy();
    EXPECT_EQ(window.GetBackgroundImage(), nullptr);
}

TEST(SWndDefault, ColourKeyCutsTheWindowRegion)
{
    SImage image;
    MakeImage(&image, 100, 100, 0xFF203040u, {{{0, 0, 50, 100}, 0xFFFF00FFu}});
    SWnd window;
    RECT rect = {0, 0, 100, 100};
    ASSERT_TRUE(window.Create("", WS_POPUP, 0, &rect, nullptr));
    window.SetBackgroundImage(&image, RGB(255, 0, 255), 9, nullptr, false);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window.GetHandle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 25, 50));
    EXPECT_FALSE(PtInRegion(region, 49, 0));
    EXPECT_TRUE(PtInRegion(region, 50, 50));
    EXPECT_TRUE(PtInRegion(region, 99, 99));

    // Without a key the window gets its plain shape back.
    window.SetBackgroundImage(&image, SCOLOR_NONE, 9, nullptr, false);
    EXPECT_EQ(GetWindowRgn(window.GetHandle(), region), ERROR);
    DeleteObject(region);
}

TEST(SWndDefault, LayeredImageKeepsTransparency)
{
    SImage image;
    MakeImage(&image, 64, 32, 0xFF00FF00u, {{{0, 0, 32, 32}, 0x00000000u}});
    SWnd window;
    RECT rect = {0, 0, 64, 32};
    ASSERT_TRUE(window.Create("", WS_POPUP, WS_EX_LAYERED, &rect, nullptr));
    window.SetBackgroundImage(&image, SCOLOR_NONE, 9, nullptr, false);
    HDC dc = window.RenderLayeredImage();
    ASSERT_NE(dc, nullptr);
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(section), &section), (int)sizeof(section));
    ASSERT_EQ(section.dsBm.bmBitsPixel, 32);
    const uint32_t* bits = (const uint32_t*)section.dsBm.bmBits;
    int stride = section.dsBm.bmWidthBytes / 4;
    EXPECT_EQ(bits[10 * stride + 5] >> 24, 0u);
    EXPECT_EQ(bits[10 * stride + 50], 0xFF00FF00u);
    // Hands the picture to the system and frees the DC.
    window.UpdateLayered(dc, 200);
    EXPECT_EQ(GetObjectType(dc), 0u);
    window.UpdateLayeredImage(255);
    window.ShowWindow(SW_SHOWNOACTIVATE);
    PumpPending();
    EXPECT_TRUE(window.IsVisible());
}

TEST(SWndDefault, SizeAndMoveReachEveryLibraryDescendant)
{
    RecordingWnd top;
    RECT rect = {0, 0, 200, 200};
    ASSERT_TRUE(top.Create("", WS_POPUP, 0, &rect, nullptr));
    RecordingWnd levels[3];
    HWND parent = top.GetHandle();
    for (RecordingWnd& level : levels)
    {
        RECT inner = {5, 5, 150, 150};
        ASSERT_TRUE(level.CreateChild("", WS_VISIBLE, 0, &inner, parent));
        parent = level.GetHandle();
        level.seen.clear();
    }
    top.MoveWindow(10, 10, 300, 250);
    for (RecordingWnd& level : levels)
    {
        int sized = 0, moved = 0;
        for (const RecordingWnd::Seen& note : level.seen)
        {
            if (note.msg == WM_S_PARENT_SIZED && (HWND)note.lParam == top.GetHandle())
                sized++;
            if (note.msg == WM_S_PARENT_MOVED && (HWND)note.lParam == top.GetHandle())
                moved++;
        }
        EXPECT_EQ(sized, 1);
        EXPECT_EQ(moved, 1);
    }
}

TEST(SWndDefault, StateImagesReplaceTheCentreByState)
{
    SImage background, checked, disabled;
    MakeImage(&background, 20, 20, 0xFF808080u, {});
    MakeImage(&checked, 20, 20, 0xFF00FF00u, {});
    MakeImage(&disabled, 20, 20, 0xFF0000FFu, {});
    SWnd window;
    RECT rect = {0, 0, 40, 40};
    ASSERT_TRUE(window.Create("", WS_POPUP, 0, &rect, nullptr));
    window.SetBackgroundImage(&background, SCOLOR_NONE, 9, nullptr, false);
    window.SetStateImages(nullptr, nullptr, &checked, &disabled);
    struct Case
    {
        bool tracking, check, enabled;
        COLORREF centre;
    };
    const Case cases[] = {
        {false, false, true, RGB(128, 128, 128)},
        {true, false, true, RGB(128, 128, 128)},
        {true, true, true, RGB(0, 255, 0)},
        {true, true, false, RGB(0, 0, 255)},
        {false, true, false, RGB(128, 128, 128)},
    };
    for (const Case& c : cases)
    {
        window.EnableHotTracking(c.tracking);
        window.SetCheckedState(c.check);
        window.Enable(c.enabled);
        PixelCanvas surface(40, 40, RGB(1, 2, 3));
        window.DrawBackgroundImage(surface.dc(), 40, 40);
        EXPECT_EQ(surface.At(20, 20), c.centre) << c.tracking << c.check << c.enabled;
    }
    // A new creation starts without the old state images; the back colour reaches the image.
    window.Destroy();
    ASSERT_TRUE(window.Create("", WS_POPUP, 0, &rect, nullptr));
    window.SetBackgroundImage(&background, SCOLOR_NONE, 9, nullptr, false);
    window.EnableHotTracking(true);
    window.SetCheckedState(true);
    PixelCanvas surface(40, 40, RGB(1, 2, 3));
    window.DrawBackgroundImage(surface.dc(), 40, 40);
    EXPECT_EQ(surface.At(20, 20), RGB(128, 128, 128));
    window.SetBackColor(RGB(9, 8, 7));
    ASSERT_NE(window.GetBackgroundImage(), nullptr);
    EXPECT_EQ(window.GetBackgroundImage()->GetBackColor(), (uint32_t)RGB(9, 8, 7));
}

TEST(SWndDefault, StateImagesLoadFromAPack)
{
    // A scratch folder of this process, removed with its files however the test ends.
    struct ScratchFolder
    {
        std::string folder, path, damaged;
        ScratchFolder()
        {
            char temp[MAX_PATH];
            GetTempPathA(MAX_PATH, temp);
            folder = std::string(temp) + "swnddefault-states-" + std::to_string(GetCurrentProcessId()) + "\\";
            CreateDirectoryA(folder.c_str(), nullptr);
            path = folder + "hover.png";
            damaged = folder + "damaged.png";
        }
        ~ScratchFolder()
        {
            DeleteFileA(path.c_str());
            DeleteFileA(damaged.c_str());
            RemoveDirectoryA(folder.c_str());
        }
    } scratch;
    const char* folder = scratch.folder.c_str();
    const std::string& path = scratch.path;
    const std::string& damaged = scratch.damaged;
    SImage hover;
    MakeImage(&hover, 8, 8, 0xFFFF0000u, {});
    {
        SFilePath file;
        ASSERT_TRUE(file.Open(path.c_str(), true, true, false));
        ASSERT_TRUE(hover.Save(&file, IMAGE_FORMAT_PNG));
    }
    {
        SFilePath file;
        ASSERT_TRUE(file.Open(damaged.c_str(), true, true, false));
        ASSERT_EQ(file.Write("\x89PNG broken", 11), 11);
    }
    SResource pack;
    ASSERT_TRUE(pack.SetBaseFolder(folder));
    ASSERT_TRUE(pack.AddFile("hover.png", 0));
    ASSERT_TRUE(pack.AddFile("damaged.png", 0));

    SImage background;
    MakeImage(&background, 8, 8, 0xFF808080u, {});
    SWnd window;
    RECT rect = {0, 0, 8, 8};
    ASSERT_TRUE(window.Create("", WS_POPUP, 0, &rect, nullptr));
    window.SetBackgroundImage(&background, SCOLOR_NONE, 9, nullptr, false);
    EXPECT_FALSE(window.LoadStateImages(nullptr, "hover.png", "", "", ""));
    EXPECT_FALSE(window.LoadStateImages(&pack, "", nullptr, "", ""));
    // A damaged or missing entry leaves its state empty; the others load.
    EXPECT_TRUE(window.LoadStateImages(&pack, "damaged.png", "missing.png", "hover.png", ""));
    window.EnableHotTracking(true);
    window.SetCheckedState(true);
    PixelCanvas surface(8, 8, RGB(1, 2, 3));
    window.DrawBackgroundImage(surface.dc(), 8, 8);
    EXPECT_EQ(surface.At(4, 4), RGB(255, 0, 0));
    window.Destroy();
}

TEST(SWndDefault, MenuCommandByPositionReachesTheWindow)
{
    RecordingWnd window;
    RECT rect = {0, 0, 100, 100};
    ASSERT_TRUE(window.Create("", WS_POPUP, 0, &rect, nullptr));
    SMenu menu;
    ASSERT_TRUE(menu.CreatePopup(window.GetHandle()));
    ASSERT_TRUE(menu.InsertItem(76, "First"));
    ASSERT_TRUE(menu.InsertItem(77, "Second"));
    window.seen.clear();
    window.SendMessage(WM_MENUCOMMAND, 1, (LPARAM)menu.GetHandle());
    ASSERT_EQ(window.Count(SMENU_COMMAND), 1);
    for (const RecordingWnd::Seen& note : window.seen)
        if (note.msg == SMENU_COMMAND)
        {
            EXPECT_EQ((SMenu*)note.wParam, &menu);
            EXPECT_EQ(note.lParam, 77);
        }

    // A menu that is not the library's carries foreign item data: nothing is reported.
    HMENU foreign = CreatePopupMenu();
    ASSERT_NE(foreign, nullptr);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_DATA | MIIM_STRING;
    item.wID = 5;
    item.dwItemData = 0x1234;
    item.dwTypeData = (char*)"Foreign";
    ASSERT_TRUE(InsertMenuItemA(foreign, 0, TRUE, &item));
    window.seen.clear();
    window.SendMessage(WM_MENUCOMMAND, 0, (LPARAM)foreign);
    window.SendMessage(WM_MENUCOMMAND, 9, (LPARAM)foreign);
    EXPECT_EQ(window.Count(SMENU_COMMAND), 0);
    DestroyMenu(foreign);
}

TEST(SWndDefault, TransparentChildRedrawsItsParentBelowIt)
{
    RecordingWnd parent;
    RECT rect = {0, 0, 120, 80};
    ASSERT_TRUE(parent.Create("", WS_POPUP, 0, &rect, nullptr));
    parent.SetBackColor(RGB(255, 0, 0));
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    SWnd child;
    RECT childRect = {10, 10, 60, 60};
    ASSERT_TRUE(child.CreateChild("", WS_VISIBLE, 0, &childRect, parent.GetHandle()));
    PumpPending();
    struct Case
    {
        unsigned color;
        bool parentErased;
    };
    const Case cases[] = {{SCOLOR_TRANSPARENT, true}, {RGB(0, 0, 255), false}, {SCOLOR_NONE, false}};
    for (const Case& c : cases)
    {
        child.SetBackColor(c.color);
        parent.seen.clear();
        EXPECT_TRUE(child.Redraw());
        EXPECT_EQ(parent.Count(WM_ERASEBKGND) > 0, c.parentErased) << std::hex << c.color;
    }
}

namespace
{

// The colour a shown window shows at a point of its client area (window: of the whole window).
COLORREF ShownAt(HWND handle, int x, int y, bool window = false)
{
    HDC dc = window ? GetWindowDC(handle) : GetDC(handle);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(handle, dc);
    return color;
}

void PaintNow(HWND handle)
{
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

}

TEST(SWndDefault, PaintedWindowsOneAfterAnotherShowOnlyTheirOwnBackground)
{
    // Red, then one with half of a picture transparent and no colour, then one larger
    // than both: the erases of shown windows share one buffer, which must never let
    // one window's picture through into another's, whatever their sizes.
    SImage halfClear;
    MakeImage(&halfClear, 60, 40, 0x00000000u, {{{30, 0, 60, 40}, 0xFF0000FFu}});
    struct Case
    {
        int width, height;
        unsigned color;
        const SImage* image;
        POINT probe;
        COLORREF expected;
        bool equal;
    } cases[] = {
        {300, 200, RGB(255, 0, 0), nullptr, {299, 199}, RGB(255, 0, 0), true},
        {60, 40, SCOLOR_NONE, &halfClear, {45, 20}, RGB(0, 0, 255), true},
        {60, 40, SCOLOR_NONE, &halfClear, {10, 20}, RGB(255, 0, 0), false},
        {420, 330, RGB(0, 255, 0), nullptr, {419, 329}, RGB(0, 255, 0), true},
        {420, 330, RGB(0, 255, 0), nullptr, {0, 0}, RGB(0, 255, 0), true},
    };
    for (const Case& c : cases)
    {
        SWnd window;
        RECT rect = {20, 20, 20 + c.width, 20 + c.height};
        ASSERT_TRUE(window.Create("", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &rect, nullptr));
        window.SetBackColor(c.color);
        if (c.image)
            window.SetBackgroundImage(c.image, SCOLOR_NONE, 9, nullptr, false);
        window.ShowWindow(SW_SHOWNOACTIVATE);
        PaintNow(window.GetHandle());
        const COLORREF shown = ShownAt(window.GetHandle(), c.probe.x, c.probe.y);
        if (c.equal)
            EXPECT_EQ(shown, c.expected) << c.width << "x" << c.height << " at " << c.probe.x << "," << c.probe.y;
        else
            EXPECT_NE(shown, c.expected) << c.width << "x" << c.height << " at " << c.probe.x << "," << c.probe.y;
    }
}

TEST(SWndDefault, AFrameIsPaintedAsTheSystemPaintsItAndNoFrameLeavesTheClientAlone)
{
    static const char* const kPlain = "SWndDefaultTestPlain";
    WNDCLASSA plainClass = {};
    plainClass.lpfnWndProc = DefWindowProcA;
    plainClass.hInstance = GetModuleHandleA(nullptr);
    plainClass.hbrBackground = CreateSolidBrush(RGB(0, 128, 0));
    plainClass.lpszClassName = kPlain;
    RegisterClassA(&plainClass);
    struct Case
    {
        DWORD style, exStyle;
    } cases[] = {{WS_POPUP | WS_BORDER, 0}, {WS_POPUP | WS_DLGFRAME, 0}, {WS_POPUP, WS_EX_CLIENTEDGE}, {WS_POPUP, 0}};
    for (const Case& c : cases)
    {
        RECT rect = {40, 40, 200, 140};
        HWND reference = CreateWindowExA(c.exStyle | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPlain, "", c.style, 260, 40,
                                         160, 100, nullptr, nullptr, plainClass.hInstance, nullptr);
        ASSERT_NE(reference, nullptr);
        SWnd window;
        ASSERT_TRUE(window.Create("", c.style, c.exStyle | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &rect, nullptr));
        window.SetBackColor(RGB(0, 128, 0));
        ShowWindow(reference, SW_SHOWNOACTIVATE);
        window.ShowWindow(SW_SHOWNOACTIVATE);
        PaintNow(reference);
        PaintNow(window.GetHandle());
        // The corner and a point along the top edge: frame where there is one, else client.
        for (POINT at : {POINT{0, 0}, POINT{80, 1}})
            EXPECT_EQ(ShownAt(window.GetHandle(), at.x, at.y, true), ShownAt(reference, at.x, at.y, true))
                << std::hex << c.style << " " << c.exStyle << " at " << at.x << "," << at.y;
        DestroyWindow(reference);
    }
    UnregisterClassA(kPlain, plainClass.hInstance);
    DeleteObject(plainClass.hbrBackground);
}
