#include <gtest/gtest.h>

#include <string>

#include "DesignerTestSupport.h"
#include "SImage.h"
#include "SResource.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

const COLORREF kFocused = RGB(255, 0, 0);
const COLORREF kUnfocused = RGB(0, 0, 255);
const COLORREF kRulerText = RGB(200, 0, 0);
const COLORREF kRulerBack = RGB(0, 200, 0);
const COLORREF kWorkspace = RGB(10, 20, 30);

// The designer painted into a canvas of its client size, as WM_ERASEBKGND paints its buffer.
class SPaintFixture : public SDesignerFixture
{
public:
    SPaintFixture() : canvas(500, 400)
    {
        editor.SetWorkspaceColors(kWorkspace, kRulerBack);
        editor.SetRulerTextColor(kRulerText);
        editor.SetSelectionColors(kFocused, kUnfocused);
    }
    void Paint()
    {
        canvas.Fill(RGB(1, 2, 3));
        editor.UpdateLayout();
        editor.PaintDesign(canvas.GetDC());
        editor.PaintRulers(canvas.GetDC());
    }
    // The canvas pixel at a design point.
    COLORREF At(int x, int y)
    {
        POINT point = Client(x, y);
        return canvas.Pixel(point.x, point.y);
    }
    // Whether a colour shows anywhere in a design rectangle.
    bool Shows(COLORREF color, int left, int top, int right, int bottom)
    {
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                if (At(x, y) == color)
                    return true;
        return false;
    }
    bool ShowsInClient(COLORREF color, int left, int top, int right, int bottom)
    {
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                if (canvas.Pixel(x, y) == color)
                    return true;
        return false;
    }

    SPixelCanvas canvas;
};

TEST(SDialogEditorPaint, DialogFillGridDotsAndShadow)
{
    SPaintFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {}, "BACKCOLOR=#FFFFFF\r\n")));
    f.editor.Select(nullptr);
    f.Paint();
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    // Dots at multiples of the grid step less one, in the colour opposite the fill.
    EXPECT_EQ(f.At(4, 4), black);
    EXPECT_EQ(f.At(9, 14), black);
    EXPECT_EQ(f.At(5, 5), white);
    EXPECT_EQ(f.At(4, 5), white);
    // The shadow lines in the ruler text colour; the workspace beyond.
    EXPECT_EQ(f.At(300, 100), kRulerText);
    EXPECT_EQ(f.At(150, 200), kRulerText);
    EXPECT_EQ(f.At(350, 250), kWorkspace);
    EXPECT_EQ(f.At(299, 199), black);

    // The dots follow the scroll position.
    f.editor.SetHScrollPos(3, false);
    f.Paint();
    EXPECT_EQ(f.At(4, 4), black);
    EXPECT_EQ(f.At(5, 4), white);
    f.editor.SetHScrollPos(0, false);

    // A step of 4 shows no dots (snapping still uses it); so does a hidden grid.
    f.editor.SetGrid(4, 4);
    f.Paint();
    EXPECT_FALSE(f.Shows(black, 0, 0, 40, 40));
    EXPECT_EQ(f.editor.GetStepX(false), 4);
    f.editor.SetGrid(5, 5);
    f.editor.SetGridVisible(false);
    f.Paint();
    EXPECT_FALSE(f.Shows(black, 0, 0, 40, 40));
}

TEST(SDialogEditorPaint, FillColourRules)
{
    struct Case
    {
        const char* extra;
        COLORREF expected;
    };
    const Case cases[] = {
        {"", GetSysColor(COLOR_BTNFACE)},
        {"BACKCOLOR=#FE000005\r\n", GetSysColor(COLOR_WINDOW)},
        {"BACKCOLOR=#102030\r\n", RGB(0x10, 0x20, 0x30)},
        {"BACKCOLOR=#102030\r\nTRANSPARENT=1\r\n", kWorkspace},
    };
    SPaintFixture f;
    f.editor.SetGridVisible(false);
    for (const Case& c : cases)
    {
        ASSERT_TRUE(f.Load(DescriptionText(300, 200, {}, c.extra))) << c.extra;
        f.editor.Select(nullptr);
        f.Paint();
        EXPECT_EQ(f.At(100, 100), c.expected) << c.extra;
    }
}

TEST(SDialogEditorPaint, SelectionFramesAndHandles)
{
    SPaintFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200,
                                       {{"BUTTON", 1, "Primary", 40, 40, 50, 20, ""},
                                        {"BUTTON", 2, "Other", 150, 40, 50, 20, ""}})));
    f.editor.SetGridVisible(false);
    f.editor.Select(f.Control("Primary"));
    f.editor.AddToSelection(f.Control("Other"));
    f.editor.SetFocus();
    PumpPending();
    COLORREF color = f.editor.HasFocus() ? kFocused : kUnfocused;
    f.Paint();
    // Two frames just outside the rectangle.
    EXPECT_EQ(f.At(60, 39), color);
    EXPECT_EQ(f.At(60, 38), color);
    EXPECT_NE(f.At(60, 37), color);
    EXPECT_EQ(f.At(90, 55), color);
    EXPECT_EQ(f.At(91, 55), color);
    EXPECT_NE(f.At(92, 55), color);
    // The primary's handles; none for the other record.
    EXPECT_EQ(f.At(93, 63), color);
    EXPECT_EQ(f.At(37, 37), color);
    EXPECT_EQ(f.At(203, 63), f.At(215, 75));
    EXPECT_EQ(f.At(170, 39), color);

    // Without the focus the other colour is used.
    f.host.SetFocus();
    PumpPending();
    f.Paint();
    EXPECT_EQ(f.At(60, 39), f.editor.HasFocus() ? kFocused : kUnfocused);
}

TEST(SDialogEditorPaint, RulerTicksNumbersAndIndicators)
{
    SPaintFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {})));
    f.Paint();
    // Horizontal band: ticks stand on the bottom edge; 100 is long and numbered.
    EXPECT_EQ(f.canvas.Pixel(122, 3), kRulerText);
    EXPECT_EQ(f.canvas.Pixel(72, 15), kRulerText);
    EXPECT_EQ(f.canvas.Pixel(72, 12), kRulerBack);
    EXPECT_EQ(f.canvas.Pixel(67, 19), kRulerText);
    EXPECT_EQ(f.canvas.Pixel(67, 16), kRulerBack);
    EXPECT_EQ(f.canvas.Pixel(69, 21), kRulerText);
    EXPECT_TRUE(f.ShowsInClient(kRulerText, 124, 0, 145, 12));
    EXPECT_FALSE(f.ShowsInClient(kRulerText, 74, 0, 95, 12));
    // Vertical band: the same along its right edge.
    EXPECT_EQ(f.canvas.Pixel(3, 122), kRulerText);
    EXPECT_EQ(f.canvas.Pixel(15, 72), kRulerText);
    EXPECT_EQ(f.canvas.Pixel(12, 72), kRulerBack);
    EXPECT_EQ(f.canvas.Pixel(21, 69), kRulerText);
    EXPECT_EQ(f.canvas.Pixel(5, 5), kRulerBack);

    // A scroll position off the 5 grid: no ticks and no numbers, only the edge line.
    f.editor.SetHScrollPos(3, false);
    f.Paint();
    EXPECT_FALSE(f.ShowsInClient(kRulerText, 22, 0, 500, 21));
    f.editor.SetHScrollPos(0, false);

    // Indicators: drawn across the bands, drawn again erases them.
    f.Paint();
    COLORREF before = f.canvas.Pixel(200, 8);
    POINT pointer = {200, 150};
    f.editor.DrawRulerIndicators(f.canvas.GetDC(), &pointer, nullptr);
    EXPECT_NE(f.canvas.Pixel(200, 8), before);
    EXPECT_NE(f.canvas.Pixel(8, 150), kRulerBack);
    EXPECT_EQ(f.editor.GetRulerMarkX(), 200);
    POINT outside = {5, 5};
    f.editor.DrawRulerIndicators(f.canvas.GetDC(), &outside, nullptr);
    EXPECT_EQ(f.canvas.Pixel(200, 8), before);
    EXPECT_EQ(f.canvas.Pixel(8, 150), kRulerBack);
    EXPECT_EQ(f.editor.GetRulerMarkX(), -1);
    EXPECT_EQ(f.editor.GetRulerMarkY(), -1);
}

TEST(SDialogEditorPaint, LayerModeShowsOnlyMediaControls)
{
    const COLORREF hatch = RGB(0x80, 0x80, 0x80);
    std::vector<SControlText> controls = {
        {"LABEL", 1, "Text", 20, 20, 120, 40, "BACKCOLOR=#FFFFFF\r\n"},
        {"MEDIA", 2, "Picture", 20, 100, 120, 40, ""},
    };
    SPaintFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, controls, "BACKCOLOR=#FFFFFF\r\n")));
    f.editor.SetGridVisible(false);
    f.editor.Select(nullptr);
    f.Paint();
    EXPECT_FALSE(f.Shows(hatch, 20, 20, 140, 60));

    f.editor.GetDialog()->SetPropertyInt("DIALOG_LAYER", 1);
    f.Paint();
    EXPECT_TRUE(f.Shows(hatch, 20, 20, 140, 60));
    EXPECT_FALSE(f.Shows(hatch, 20, 100, 140, 140));
}

TEST(SDialogEditorPaint, RecordsOutsideTheBitmapRangeAreSafe)
{
    SPaintFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200,
                                       {{"BUTTON", 1, "Far", 32000, 32000, 2000, 2000, ""},
                                        {"BUTTON", 2, "Flat", 40, 40, 0, 20, ""},
                                        {"BUTTON", 3, "Negative", -40, -40, -30, 20, ""}})));
    f.editor.SetGridVisible(false);
    f.editor.SelectAll(false);
    f.editor.SetHScrollPos(2000, false);
    f.Paint();
    f.editor.SetHScrollPos(0, false);
    f.Paint();
    // The record without width draws nothing.
    f.editor.Select(nullptr);
    f.Paint();
    EXPECT_EQ(f.At(40, 50), GetSysColor(COLOR_BTNFACE));
}

TEST(SDialogEditorPaint, SplittersWithAbsurdCountsOpenWithoutAPreview)
{
    struct Case
    {
        const char* counts;
        bool preview;
    };
    const Case cases[] = {
        {"SPLITTER_COLCOUNT=100000\r\nSPLITTER_ROWCOUNT=100000\r\n", false},
        {"SPLITTER_COLCOUNT=65536\r\nSPLITTER_ROWCOUNT=65537\r\n", false},
        {"SPLITTER_COLCOUNT=2147483647\r\nSPLITTER_ROWCOUNT=2147483647\r\n", false},
        {"SPLITTER_COLCOUNT=2\r\nSPLITTER_ROWCOUNT=1\r\n", true},
    };
    for (const Case& c : cases)
    {
        SPaintFixture f;
        ASSERT_TRUE(f.Load(DescriptionText(300, 200,
                                           {{"SPLITTER", 1, "Split", 10, 10, 200, 100, c.counts},
                                            {"BUTTON", 2, "Next", 10, 150, 80, 20, ""}})))
            << c.counts;
        ASSERT_EQ(2, f.editor.GetControlCount()) << c.counts;
        EXPECT_EQ(c.preview, f.editor.GetControl(0)->GetWnd() != nullptr) << c.counts;
        // The records after it still get theirs, and the design paints.
        EXPECT_NE(nullptr, f.editor.GetControl(1)->GetWnd()) << c.counts;
        f.editor.SelectAll(false);
        f.Paint();
    }
}

TEST(SDialogEditorPaint, BackgroundImageFromTheResourceLoader)
{
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    std::string folder = std::string(temp) + "designer_paint_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\dot.png";
    {
        SImage image;
        ASSERT_TRUE(image.Create(16, 16));
        image.Fill(0xFFFF0000);
        SFileMem stream;
        stream.Allocate(0);
        ASSERT_TRUE(image.Save(&stream, 2));
        ASSERT_TRUE(stream.SaveToFile(path.c_str()));
    }
    SResource resources;
    ASSERT_TRUE(resources.SetBaseFolder(folder.c_str()));
    ASSERT_TRUE(resources.AddFile("dot.png", 0));

    SPaintFixture f;
    f.editor.SetResourceLoader(&resources);
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {}, "DIALOG_IMAGE=dot.png\r\n")));
    f.editor.SetGridVisible(false);
    f.editor.Select(nullptr);
    f.Paint();
    EXPECT_TRUE(f.editor.GetDesignImage()->IsLoaded());
    EXPECT_STREQ(f.editor.GetDesignImageName(), "dot.png");
    EXPECT_EQ(f.At(2, 2), RGB(255, 0, 0));

    // A name the loader cannot deliver: no image, nothing remembered, so the next paint asks again.
    f.editor.GetDialog()->SetProperty("DIALOG_IMAGE", "missing.png");
    f.Paint();
    EXPECT_FALSE(f.editor.GetDesignImage()->IsLoaded());
    EXPECT_STREQ(f.editor.GetDesignImageName(), "");
    EXPECT_EQ(f.At(2, 2), GetSysColor(COLOR_BTNFACE));
    f.editor.GetDialog()->SetProperty("DIALOG_IMAGE", "dot.png");
    f.Paint();
    EXPECT_EQ(f.At(2, 2), RGB(255, 0, 0));

    f.editor.SetResourceLoader(nullptr);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(SDialogEditorPaint, TheWindowPaintsThroughItsBuffer)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, {}, "BACKCOLOR=#204060\r\n")));
    f.editor.SetGridVisible(false);
    f.editor.Select(nullptr);
    f.editor.RedrawDesigner();
    PumpPending();
    POINT point = f.Client(100, 100);
    HDC dc = GetDC(f.editor.GetHandle());
    ASSERT_NE(dc, nullptr);
    COLORREF inside = GetPixel(dc, point.x, point.y);
    COLORREF ruler = GetPixel(dc, 5, 5);
    ReleaseDC(f.editor.GetHandle(), dc);
    EXPECT_EQ(inside, RGB(0x20, 0x40, 0x60));
    EXPECT_EQ(ruler, GetSysColor(COLOR_BTNFACE));
}

} // namespace
