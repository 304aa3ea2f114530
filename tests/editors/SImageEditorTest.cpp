#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "../controls/InactiveParent.h"
#include "ChangeParent.h"
#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SFileMem.h"
#include "SImageEditor.h"
#include "SLibrary.h"
#include "SResource.h"

namespace
{

// An editor that records its hooks.
class RecordingEditor : public SImageEditor
{
public:
    void OnImageChanged(bool primary, uint32_t color) override { picked.push_back({primary, color}); }
    void OnPanelButton(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* button) override
    {
        clicks.push_back({panel, groupId, buttonId, button});
    }
    struct Pick
    {
        bool primary;
        uint32_t color;
    };
    struct Click
    {
        SPanelCtrl* panel;
        int group, button;
        SPanelCtrl::_SButton* record;
    };
    std::vector<Pick> picked;
    std::vector<Click> clicks;
};

// A colour dialog that answers at once and remembers what it was asked.
class FakeColorDialog : public SSelectorDialogs
{
public:
    FakeColorDialog() { m_previous = SSelector::SetDialogs(this); }
    ~FakeColorDialog() override { SSelector::SetDialogs(m_previous); }
    bool ChooseColor(CHOOSECOLORA* info) override
    {
        owner = info->hwndOwner;
        initial = info->rgbResult;
        info->rgbResult = RGB(10, 20, 30);
        return confirm;
    }
    bool confirm = true;
    HWND owner = nullptr;
    COLORREF initial = 0;

private:
    SSelectorDialogs* m_previous;
};

const uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;

// A size x size PNG of four quadrants: red, green / blue, white.
bool MakePicture(SFileMem* out, int size = 16)
{
    std::vector<uint32_t> pixels((size_t)size * size);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++)
            pixels[(size_t)y * size + x] = y < size / 2 ? (x < size / 2 ? kRed : kGreen) : (x < size / 2 ? kBlue : kWhite);
    SImage image;
    if (!image.CreateFromPixels(pixels.data(), size, size) || !out->Allocate(0) || !image.Save(out, IMAGE_FORMAT_PNG))
        return false;
    out->Rewind();
    return true;
}

struct EditorFixture
{
    ChangeParent parent;
    RecordingEditor editor;
    bool Create(int width = 200, int height = 100)
    {
        if (!CreateInactiveParent(parent, width + 40, height + 40))
            return false;
        RECT rect = {0, 0, width, height};
        return editor.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle(), 7);
    }
    bool Load(int size = 16)
    {
        SFileMem picture;
        return MakePicture(&picture, size) && editor.LoadFile(&picture);
    }
    // Clicks the picture pixel (x, y) with the left or right button.
    void ClickPixel(int x, int y, bool left = true)
    {
        RECT image = editor.GetImageRect();
        int zoom = editor.GetZoom();
        LPARAM point = MAKELPARAM(image.left + x * zoom + zoom / 2, image.top + y * zoom + zoom / 2);
        editor.SendMessage(left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, point);
    }
    uint32_t Pixel(int x, int y) { return editor.GetImage()->GetPixelColor(x, y); }
    // The editor painted into a memory bitmap: the colours of a block of client pixels, row by row.
    std::vector<COLORREF> PaintedBlock(int x, int y, int width, int height)
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        SIZE size = editor.GetClientSize();
        HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
        HGDIOBJ old = SelectObject(dc, bitmap);
        editor.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        std::vector<COLORREF> colors;
        for (int row = y; row < y + height; row++)
            for (int column = x; column < x + width; column++)
                colors.push_back(GetPixel(dc, column, row));
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
        return colors;
    }
    COLORREF Painted(int x, int y) { return PaintedBlock(x, y, 1, 1)[0]; }
    // The 8 x 8 block at (x, y) shows the grey-on-white hatch: darker lines over a light ground.
    bool IsHatch(int x, int y)
    {
        int light = 0, dark = 0;
        for (COLORREF color : PaintedBlock(x, y, 8, 8))
        {
            int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
            if (red != green || green != blue)
                return false;
            if (red >= 0xE0)
                light++;
            else if (red <= 0xD0)
                dark++;
        }
        return light > 0 && dark > 0;
    }
};

// A tool panel of ten tool buttons and two colour swatches.
bool MakePanel(SImageEditor::_SPanel* panel, HWND parent)
{
    RECT rect = {0, 0, 120, 200};
    if (!panel->Create(0, 0, &rect, parent) || !panel->AddGroup(0, "Tools") || !panel->AddGroup(1, "Colors"))
        return false;
    for (int id = 0; id < 10; id++)
        if (!panel->AddButton(id, "tool", 0))
            return false;
    return panel->AddButton(0, "Primary", 1, 0) && panel->AddButton(1, "Secondary", 1, 0);
}

} // namespace

TEST(SImageEditor, CreationResetsTheEditState)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    EXPECT_EQ(f.editor.GetKind(), SKIND_IMAGEEDITOR);
    EXPECT_EQ(f.editor.GetTool(), 0);
    EXPECT_EQ(f.editor.GetZoom(), 1);
    EXPECT_EQ(f.editor.GetColor(true), 0xFF000000u);
    EXPECT_EQ(f.editor.GetSecondaryColor(), 0xFFFFFFFFu);
    EXPECT_EQ(f.editor.GetFillMode(), 0);
    EXPECT_EQ(f.editor.GetShape(), 0);
    EXPECT_EQ(f.editor.GetState(), 0);
    EXPECT_EQ(f.editor.GetBrushSize(), 1);
    EXPECT_FALSE(f.editor.HasSelection());
    EXPECT_EQ(f.editor.GetBackColor(), SCOLOR_NONE);
    EXPECT_EQ(f.editor.GetSelector()->GetOwner(), f.parent.GetHandle());
    EXPECT_EQ(f.editor.GetImageWidth(), 0);
    // No picture: the whole client is the hatch, and no click reaches a tool.
    EXPECT_TRUE(f.IsHatch(100, 50));
    f.editor.SetTool(SImageEditor::TOOL_FILL);
    f.editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    EXPECT_EQ(f.parent.changes, 0);
}

TEST(SImageEditor, ZoomPlacesScrollsAndHitTests)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create(200, 100));
    ASSERT_TRUE(f.Load());
    EXPECT_EQ(f.editor.GetImageWidth(), 16);
    EXPECT_EQ(f.editor.GetImageHeight(), 16);

    struct Case
    {
        int set, expected;
    } zooms[] = {{4, 4}, {40, 32}, {0, 1}, {-3, 1}, {32, 32}};
    for (const Case& c : zooms)
    {
        f.editor.SetZoom(c.set);
        EXPECT_EQ(f.editor.GetZoom(), c.expected) << c.set;
    }
    f.editor.SetZoom(4);
    RECT image = f.editor.GetImageRect();
    EXPECT_EQ(image.left, 68);
    EXPECT_EQ(image.top, 18);
    EXPECT_EQ(image.right - image.left, 64);
    int x, y;
    EXPECT_TRUE(f.editor.HitTest(68, 18, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(f.editor.HitTest(131, 81, &x, &y));
    EXPECT_EQ(x, 15);
    EXPECT_EQ(y, 15);
    EXPECT_FALSE(f.editor.HitTest(67, 30, &x, &y));
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_FALSE(f.editor.HitTest(100, 82, &x, &y));

    // Painted pixel by pixel: each quadrant keeps its colour up to its zoomed edge.
    EXPECT_EQ(f.Painted(68, 18), RGB(255, 0, 0));
    EXPECT_EQ(f.Painted(68 + 31, 18 + 31), RGB(255, 0, 0));
    EXPECT_EQ(f.Painted(68 + 32, 18), RGB(0, 255, 0));
    EXPECT_EQ(f.Painted(68, 18 + 32), RGB(0, 0, 255));
    EXPECT_TRUE(f.IsHatch(20, 50));
    EXPECT_FALSE(f.IsHatch(68, 18));

    // Taller than the client: the picture starts at the top and the vertical bar scrolls it.
    f.editor.SetZoom(10);
    EXPECT_EQ(f.editor.GetImageRect().top, 0);
    EXPECT_LT(f.editor.GetClientWidth(), 200);  // the vertical bar takes its width
    EXPECT_EQ(f.editor.GetImageRect().left, (f.editor.GetClientWidth() - 160) / 2);
    f.editor.SetVScrollPos(30);
    f.editor.SendMessage(WM_S_VSCROLLED, 0, 0);
    EXPECT_EQ(f.editor.GetImageRect().top, -30);
    EXPECT_TRUE(f.editor.HitTest(f.editor.GetImageRect().left, 0, &x, &y));
    EXPECT_EQ(y, 3);

    // The wheel and the zoom tool step the zoom; a new picture starts at zoom 1 again.
    f.editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(f.editor.GetZoom(), 11);
    f.editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-WHEEL_DELTA), 0);
    EXPECT_EQ(f.editor.GetZoom(), 10);
    f.editor.SetTool(SImageEditor::TOOL_ZOOM);
    f.ClickPixel(1, 1, true);
    EXPECT_EQ(f.editor.GetZoom(), 11);
    f.ClickPixel(1, 1, false);
    f.ClickPixel(1, 1, false);
    EXPECT_EQ(f.editor.GetZoom(), 9);
    ASSERT_TRUE(f.Load());
    EXPECT_EQ(f.editor.GetZoom(), 1);
    EXPECT_EQ(f.editor.GetImageRect().top, 42);
}

TEST(SImageEditor, BrushPaintsTheSquareAndNotifies)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.Load());
    f.editor.SetZoom(4);
    f.editor.SetTool(SImageEditor::TOOL_BRUSH);
    f.editor.SetBrushSize(3);
    f.editor.SetFillMode(1);
    f.editor.SetColor(0xFF102030u, true);
    f.editor.SetSecondaryColor(0x80405060u);

    f.ClickPixel(5, 5, true);
    for (int y = 4; y <= 6; y++)
        for (int x = 4; x <= 6; x++)
            EXPECT_EQ(f.Pixel(x, y), 0xFF102030u) << x << "," << y;
    EXPECT_EQ(f.Pixel(3, 5), kRed);
    EXPECT_EQ(f.Pixel(7, 5), kRed);
    EXPECT_EQ(f.parent.changes, 1);

    // The right button paints the secondary colour as it is (alpha kept).
    f.ClickPixel(12, 12, false);
    EXPECT_EQ(f.Pixel(12, 12), 0x80405060u);
    EXPECT_EQ(f.Pixel(14, 12), kWhite);
    EXPECT_EQ(f.parent.changes, 2);

    // A drag reports points of the library's hidden window; each new point paints again.
    POINT point = {f.editor.GetImageRect().left + 9 * 4 + 1, f.editor.GetImageRect().top + 2 * 4 + 1};
    MapWindowPoints(f.editor.GetHandle(), GetAppWindow(), &point, 1);
    f.editor.SendMessage(WM_S_APP_DRAG_MOVE, 1, MAKELPARAM(point.x, point.y));
    EXPECT_EQ(f.Pixel(9, 2), 0xFF102030u);
    EXPECT_EQ(f.parent.changes, 3);
    f.editor.SendMessage(WM_S_APP_DRAG_MOVE, 1, MAKELPARAM(point.x, point.y));
    EXPECT_EQ(f.parent.changes, 3);

    // Fill mode 0 paints nothing but still reports; outside the picture nothing happens.
    f.editor.SetFillMode(0);
    f.ClickPixel(1, 12, true);
    EXPECT_EQ(f.Pixel(1, 12), kBlue);
    EXPECT_EQ(f.parent.changes, 4);
    f.editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(f.parent.changes, 4);
}

TEST(SImageEditor, EveryToolActsOnlyAsItShould)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.Load());
    struct Case
    {
        int tool;
        int changes;  // change notices of one click
        int setTo;    // SetTool result
    } cases[] = {{0, 0, 0}, {2, 1, 2}, {3, 1, 3}, {4, 0, 4}, {5, 0, 5}, {7, 0, 0}, {-1, 0, 0}};
    for (const Case& c : cases)
    {
        f.editor.SetTool(c.tool);
        EXPECT_EQ(f.editor.GetTool(), c.setTo) << c.tool;
        int before = f.parent.changes;
        f.ClickPixel(3, 3);
        EXPECT_EQ(f.parent.changes - before, c.changes) << c.tool;
        EXPECT_EQ(f.Pixel(3, 3), kRed) << c.tool;
        EXPECT_EQ(f.editor.GetZoom(), 1) << c.tool;
    }
}

TEST(SImageEditor, PickerTakesThePixelColour)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.Load());
    SImageEditor::_SPanel panel(&f.editor);
    ASSERT_TRUE(MakePanel(&panel, f.parent.GetHandle()));
    f.editor.SetTool(SImageEditor::TOOL_PICKER);
    f.ClickPixel(12, 2, true);
    f.ClickPixel(2, 12, false);
    EXPECT_EQ(f.editor.GetColor(true), kGreen);
    EXPECT_EQ(f.editor.GetSecondaryColor(), kBlue);
    ASSERT_EQ(f.editor.picked.size(), 2u);
    EXPECT_TRUE(f.editor.picked[0].primary);
    EXPECT_EQ(f.editor.picked[0].color, kGreen);
    EXPECT_FALSE(f.editor.picked[1].primary);
    EXPECT_EQ(f.editor.picked[1].color, kBlue);
    // The swatches show the colours as red, green, blue.
    EXPECT_EQ(panel.GetButton(1, 0)->color, (unsigned)RGB(0, 255, 0));
    EXPECT_EQ(panel.GetButton(1, 1)->color, (unsigned)RGB(0, 0, 255));
    EXPECT_EQ(f.parent.changes, 0);
}

TEST(SImageEditor, CursorsFollowToolZoomAndBrushSize)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.Load());
    struct Side
    {
        int square, side;
    } sides[] = {{1, 32}, {30, 32}, {31, 64}, {62, 64}, {63, 128}, {126, 128}, {127, 256}, {1024, 256}};
    for (const Side& s : sides)
        EXPECT_EQ(SImageEditor::GetBrushCursorSide(s.square), s.side) << s.square;

    // The brush cursor's picture: 32 x 32 at zoom 30, 64 x 64 at zoom 31, larger with the brush.
    struct Case
    {
        int zoom, brush, side;
    } cases[] = {{30, 1, 32}, {31, 1, 64}, {4, 20, 128}, {32, 8, 256}, {1, 1, 32}};
    f.editor.SetTool(SImageEditor::TOOL_BRUSH);
    for (const Case& c : cases)
    {
        f.editor.SetZoom(c.zoom);
        f.editor.SetBrushSize(c.brush);
        HCURSOR cursor = f.editor.GetToolCursor();
        ASSERT_NE(cursor, nullptr) << c.zoom;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        BITMAP mask = {};
        GetObject(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, c.side) << c.zoom << " x " << c.brush;
        // A monochrome cursor's mask holds the AND and XOR halves one above the other.
        EXPECT_EQ(mask.bmHeight, info.hbmColor ? c.side : 2 * c.side) << c.zoom;
        EXPECT_EQ((int)info.xHotspot, c.side / 2);
        EXPECT_EQ((int)info.yHotspot, c.side / 2);
        DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }

    // The other tools take library cursors; tool 0 the class cursor.
    struct Library
    {
        int tool, number;
    } library[] = {{2, 17}, {3, 2}, {4, 16}, {5, 2}, {6, 20}};
    for (const Library& l : library)
    {
        f.editor.SetTool(l.tool);
        EXPECT_EQ(f.editor.GetToolCursor(), GetCursorHandle(l.number)) << l.tool;
    }
    f.editor.SetTool(0);
    EXPECT_EQ(f.editor.GetToolCursor(), nullptr);
}

TEST(SImageEditor, ArrowKeysMoveTheSelection)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.Load());
    f.editor.SetZoom(4);
    EXPECT_FALSE(f.editor.SetSelection(20, 20, 30, 30));
    ASSERT_TRUE(f.editor.SetSelection(2, 3, 6, 8));
    EXPECT_TRUE(f.editor.IsInSelection(2, 3));
    EXPECT_TRUE(f.editor.IsInSelection(5, 7));
    EXPECT_FALSE(f.editor.IsInSelection(6, 7));

    // Keys move it only with the selection tool.
    f.editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    RECT rect;
    ASSERT_TRUE(f.editor.GetSelectionRect(&rect));
    EXPECT_EQ(rect.left, 2);
    f.editor.SetTool(SImageEditor::TOOL_SELECT);
    struct Case
    {
        int key, left, top;
    } cases[] = {{VK_RIGHT, 3, 3}, {VK_DOWN, 3, 4}, {VK_LEFT, 2, 4}, {VK_UP, 2, 3}, {VK_UP, 2, 2}};
    for (const Case& c : cases)
    {
        f.editor.SendMessage(WM_KEYDOWN, (WPARAM)c.key, 0);
        ASSERT_TRUE(f.editor.GetSelectionRect(&rect));
        EXPECT_EQ(rect.left, c.left) << c.key;
        EXPECT_EQ(rect.top, c.top) << c.key;
        EXPECT_EQ(rect.right - rect.left, 4);
        EXPECT_EQ(rect.bottom - rect.top, 5);
    }
    EXPECT_TRUE(f.editor.IsInSelection(2, 2));
    EXPECT_EQ(f.editor.SendMessage(WM_GETDLGCODE), (LRESULT)DLGC_WANTARROWS);

    // Over the selection the selection tool shows the move cursor.
    RECT image = f.editor.GetImageRect();
    POINT over = {image.left + 3 * 4 + 1, image.top + 3 * 4 + 1};
    f.editor.ClientToScreen(&over);
    if (SetCursorPos(over.x, over.y))
    {
        f.editor.SendMessage(WM_MOUSEMOVE, 0, 0);
        EXPECT_EQ(f.editor.GetToolCursor(), GetCursorHandle(3));
    }

    // Delete turns the selection off.
    f.editor.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_FALSE(f.editor.HasSelection());
    EXPECT_FALSE(f.editor.IsInSelection(2, 2));
    EXPECT_FALSE(f.editor.MoveSelection(1, 1));
    EXPECT_EQ(f.parent.changes, 0);
}

TEST(SImageEditor, PanelChoosesToolsAndColours)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    SImageEditor::_SPanel panel(&f.editor);
    ASSERT_TRUE(MakePanel(&panel, f.parent.GetHandle()));
    EXPECT_EQ(f.editor.GetPanel(), &panel);
    struct Case
    {
        int button, tool, fillMode, shape;
    } cases[] = {{4, 1, 1, 0}, {0, 0, 1, 0}, {1, 5, 1, 0}, {2, 6, 1, 0}, {3, 4, 1, 0}, {5, 1, 0, 0},
                 {6, 2, 0, 0}, {8, 3, 0, 1}, {9, 3, 0, 2}, {7, 3, 0, 0}};
    for (const Case& c : cases)
    {
        panel.OnButtonClick(0, c.button, panel.GetButton(0, c.button));
        EXPECT_EQ(f.editor.GetTool(), c.tool) << c.button;
        EXPECT_EQ(f.editor.GetFillMode(), c.fillMode) << c.button;
        EXPECT_EQ(f.editor.GetShape(), c.shape) << c.button;
    }
    ASSERT_EQ(f.editor.clicks.size(), 10u);
    EXPECT_EQ(f.editor.clicks[9].panel, &panel);
    EXPECT_EQ(f.editor.clicks[9].group, 0);
    EXPECT_EQ(f.editor.clicks[9].button, 7);
    EXPECT_EQ(f.editor.clicks[9].record, panel.GetButton(0, 7));

    // The colour buttons run the colour dialog (behind the seam) from the current colour.
    FakeColorDialog dialog;
    f.editor.SetSecondaryColor(0xFF112233u);
    panel.OnButtonClick(1, 1, panel.GetButton(1, 1));
    EXPECT_EQ(dialog.initial, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(dialog.owner, f.parent.GetHandle());
    EXPECT_EQ(f.editor.GetSecondaryColor(), 0xFF0A141Eu);
    EXPECT_EQ(panel.GetButton(1, 1)->color, (unsigned)RGB(10, 20, 30));
    dialog.confirm = false;
    panel.OnButtonClick(1, 0, panel.GetButton(1, 0));
    EXPECT_EQ(f.editor.GetColor(true), 0xFF000000u);
    EXPECT_EQ(f.editor.clicks.size(), 12u);

    // An unbound panel changes nothing; a panel that goes unbinds itself.
    {
        SImageEditor::_SPanel other(&f.editor);
        EXPECT_EQ(f.editor.GetPanel(), &other);
    }
    EXPECT_EQ(f.editor.GetPanel(), nullptr);
    panel.Bind(nullptr);
    panel.OnButtonClick(0, 2, panel.GetButton(0, 2));
    EXPECT_EQ(f.editor.GetTool(), 3);
}

TEST(SImageEditor, DamagedPictureLeavesNoImage)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    SFileMem good;
    ASSERT_TRUE(MakePicture(&good));
    std::string bytes((const char*)good.GetBuffer(), good.GetSize());
    struct Case
    {
        const char* name;
        std::string data;
    } cases[] = {{"empty", ""},
                 {"text", "not a picture at all"},
                 {"truncated", bytes.substr(0, bytes.size() / 2)},
                 {"header only", bytes.substr(0, 16)}};
    for (const Case& c : cases)
    {
        ASSERT_TRUE(f.Load());
        f.editor.SetZoom(5);
        f.editor.SetSelection(1, 1, 4, 4);
        SFileMem stream;
        ASSERT_TRUE(stream.Allocate(0));
        if (!c.data.empty())
        {
            ASSERT_EQ(stream.Write(c.data.data(), (int)c.data.size()), (int)c.data.size());
        }
        stream.Rewind();
        EXPECT_FALSE(f.editor.LoadFile(&stream)) << c.name;
        EXPECT_EQ(f.editor.GetImageWidth(), 0) << c.name;
        EXPECT_FALSE(f.editor.HasSelection()) << c.name;
        EXPECT_EQ(f.editor.GetZoom(), 1) << c.name;
        int x, y;
        EXPECT_FALSE(f.editor.HitTest(100, 50, &x, &y)) << c.name;
    }
    EXPECT_FALSE(f.editor.LoadFile(nullptr));
}

TEST(SImageEditorFactory, DescriptionLoadsThePicture)
{
    RegisterEditorControls();
    ChangeParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    std::string folder = std::string(temp) + "melvora-imageedit\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    SFileMem picture;
    ASSERT_TRUE(MakePicture(&picture, 8));
    ASSERT_TRUE(picture.SaveToFile((folder + "pic.png").c_str()));
    SFileMem damaged;
    ASSERT_TRUE(damaged.Allocate(0));
    damaged.Write("\x89PNG\r\n\x1a\n broken", 16);
    ASSERT_TRUE(damaged.SaveToFile((folder + "bad.png").c_str()));
    SResource resources;
    ASSERT_TRUE(resources.SetBaseFolder(folder.c_str()));
    ASSERT_TRUE(resources.AddFile("pic.png", 0));
    ASSERT_TRUE(resources.AddFile("bad.png", 0));

    struct Case
    {
        const char* file;
        int width;
    } cases[] = {{"pic.png", 8}, {"bad.png", 0}, {"missing.png", 0}, {"", 0}};
    for (const Case& c : cases)
    {
        SDialogEditor::_SCtrl record;
        record.SetType(SDialogEditor::TYPE_IMAGEEDITOR);
        record.SetName("PICTURE");
        record.SetID(12);
        record.SetWidth(200);
        record.SetHeight(150);
        record.AssignStyle(WS_VISIBLE);
        record.SetExtraProperties((std::string("IMAGEEDITOR_FILE=") + c.file + "\r\n").c_str());
        std::unique_ptr<SWnd> control(
            SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, &resources, true));
        SImageEditor* editor = dynamic_cast<SImageEditor*>(control.get());
        ASSERT_NE(editor, nullptr) << c.file;
        EXPECT_EQ(editor->GetKind(), SKIND_IMAGEEDITOR);
        EXPECT_EQ(editor->GetName(), "PICTURE");
        EXPECT_EQ(editor->GetImageWidth(), c.width) << c.file;
        EXPECT_EQ(editor->GetImageHeight(), c.width) << c.file;
        EXPECT_EQ(editor->GetTool(), 0);
    }
    DeleteFileA((folder + "pic.png").c_str());
    DeleteFileA((folder + "bad.png").c_str());
    RemoveDirectoryA(folder.c_str());
}
