#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SButtonCtrl.h"
#include "SCheckCtrl.h"
#include "SControl.h"
#include "SGroupCtrl.h"
#include "SLabelCtrl.h"
#include "SProgressCtrl.h"
#include "SRadioCtrl.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SStaticCtrl.h"

namespace
{

std::string ClassOf(HWND handle)
{
    char name[64] = "";
    GetClassNameA(handle, name, sizeof(name));
    return name;
}

// A simple control of any class, created over the parent at a fixed place.
struct Made
{
    std::unique_ptr<SWnd> control;
    int kind;
    const char* className;
    DWORD fixedBits;
    int mouseBlock; // -1 when the class forwards no mouse events
};

const RECT kPlace = {10, 10, 170, 40};

// Classes whose Create takes a caption.
template <class T>
std::unique_ptr<SWnd> WithCaption(HWND parent, DWORD style)
{
    auto control = std::make_unique<T>();
    control->Create("Caption", style, 0, &kPlace, parent, 100);
    return control;
}

// Classes without a caption.
template <class T>
std::unique_ptr<SWnd> WithoutCaption(HWND parent, DWORD style)
{
    auto control = std::make_unique<T>();
    control->Create(style, 0, &kPlace, parent, 100);
    return control;
}

struct Kind
{
    std::unique_ptr<SWnd> (*make)(HWND parent, DWORD style);
    int kind;
    const char* className;
    DWORD fixedBits;
    int mouseBlock;
};

const Kind kKinds[] = {
    {WithCaption<SButtonCtrl>, SKIND_BUTTON, "Button", BS_PUSHBUTTON, SBLOCK_BUTTON},
    {WithCaption<SCheckCtrl>, SKIND_CHECK, "Button", BS_CHECKBOX, SBLOCK_CHECK},
    {WithCaption<SRadioCtrl>, SKIND_RADIO, "Button", BS_RADIOBUTTON, SBLOCK_RADIO},
    {WithCaption<SGroupCtrl>, SKIND_GROUP, "Button", BS_GROUPBOX, SBLOCK_GROUP},
    {WithoutCaption<SStaticCtrl>, SKIND_STATIC, "Static", SS_OWNERDRAW, -1},
    {WithCaption<SLabelCtrl>, SKIND_LABEL, "TAVRIN", 0, SBLOCK_LABEL},
    {WithoutCaption<SProgressCtrl>, SKIND_PROGRESS, PROGRESS_CLASSA, 0, SBLOCK_PROGRESS},
    {WithoutCaption<SSliderCtrl>, SKIND_SLIDER, TRACKBAR_CLASSA, 0, SBLOCK_SLIDER},
    {WithoutCaption<SScrollCtrl>, SKIND_SCROLL, "ScrollBar", 0, SBLOCK_SCROLL},
};

Made MakeControl(int which, HWND parent, DWORD style)
{
    const Kind& kind = kKinds[which];
    return {kind.make(parent, style), kind.kind, kind.className, kind.fixedBits, kind.mouseBlock};
}

const int kControlCount = (int)(sizeof(kKinds) / sizeof(kKinds[0]));

}

TEST(SSimpleCtrl, KindsClassesAndStyles)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    for (int which = 0; which < kControlCount; which++)
    {
        Made made = MakeControl(which, parent.GetHandle(), WS_VISIBLE);
        SWnd* control = made.control.get();
        ASSERT_NE(nullptr, control->GetHandle()) << which;
        EXPECT_EQ(made.kind, control->GetKind()) << which;
        EXPECT_STRCASEEQ(made.className, ClassOf(control->GetHandle()).c_str()) << which;
        DWORD style = control->GetStyle();
        EXPECT_TRUE(style & WS_CHILD) << which;
        bool button = made.kind == SKIND_BUTTON || made.kind == SKIND_CHECK || made.kind == SKIND_RADIO ||
                      made.kind == SKIND_GROUP;
        if (button || made.kind == SKIND_STATIC)
        {
            EXPECT_EQ(made.fixedBits, style & (button ? BS_TYPEMASK : SS_TYPEMASK)) << which;
        }
        EXPECT_EQ(parent.GetHandle(), control->GetParent()) << which;
    }
}

TEST(SSimpleCtrl, CreateRefusesALiveWindow)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SButtonCtrl button;
    RECT rect = {0, 0, 50, 20};
    ASSERT_TRUE(button.Create("one", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    EXPECT_FALSE(button.Create("two", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    SScrollCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    EXPECT_FALSE(bar.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
}

TEST(SSimpleCtrl, PopupStyleGetsNoChildBitButKeepsTheType)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SCheckCtrl check;
    RECT rect = {0, 0, 80, 20};
    ASSERT_TRUE(check.Create("popup", WS_POPUP, 0, &rect, parent.GetHandle()));
    EXPECT_FALSE(check.GetStyle() & WS_CHILD);
    EXPECT_TRUE(check.GetStyle() & WS_POPUP);
    EXPECT_EQ((DWORD)BS_CHECKBOX, check.GetStyle() & BS_TYPEMASK);
}

TEST(SSimpleCtrl, MouseButtonsReachTheParentWithTheRecord)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    for (int which = 0; which < kControlCount; which++)
    {
        Made made = MakeControl(which, parent.GetHandle(), WS_VISIBLE);
        SWnd* control = made.control.get();
        ASSERT_NE(nullptr, control->GetHandle()) << which;
        std::vector<UINT> watched;
        for (int block = 0; block < 35; block++)
            watched.push_back(ControlMessage(block));
        parent.SetMouseMessages(watched);
        parent.ClearReceived();
        // The middle button pressed and released on the control (the messages the system sends):
        // down, then the library's click (made while the release is pre-handled), then up.
        // The middle button starts no tracking loop nor menu.
        control->SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(7, 5));
        control->SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(7, 5));
        PumpPending();
        if (made.mouseBlock < 0)
        {
            for (UINT msg : watched)
                EXPECT_TRUE(parent.Received(msg).empty()) << which;
            continue;
        }
        auto got = parent.Received(ControlMessage(made.mouseBlock));
        ASSERT_EQ(3u, got.size()) << which;
        POINT origin = {0, 0};
        ClientToScreen(control->GetHandle(), &origin);
        const int codes[3] = {10, 34, 18};
        for (int i = 0; i < 3; i++)
        {
            EXPECT_EQ((WPARAM)control, got[i].wParam) << which;
            EXPECT_EQ(codes[i], got[i].mouse.code) << which << " event " << i;
            EXPECT_EQ(7, got[i].mouse.x) << which;
            EXPECT_EQ(5, got[i].mouse.y) << which;
            EXPECT_EQ(origin.x + 7, got[i].mouse.screenX) << which;
            EXPECT_EQ(origin.y + 5, got[i].mouse.screenY) << which;
        }
    }
}

TEST(SSimpleCtrl, ButtonClickIsReported)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    parent.SetMouseMessages({ControlMessage(SBLOCK_BUTTON)});
    SButtonCtrl button;
    RECT rect = {10, 10, 110, 40};
    ASSERT_TRUE(button.Create("Press", WS_VISIBLE, 0, &rect, parent.GetHandle(), 7));
    // BM_CLICK presses and releases the left button as the system does for a real click.
    button.SendMessage(BM_CLICK);
    PumpPending();
    auto clicked = parent.Received(ControlMessage(SBLOCK_BUTTON, 1));
    ASSERT_EQ(1u, clicked.size());
    EXPECT_EQ((WPARAM)&button, clicked[0].wParam);
    EXPECT_EQ(0, clicked[0].lParam);
    auto mouse = parent.Received(ControlMessage(SBLOCK_BUTTON));
    ASSERT_GE(mouse.size(), 2u);
    EXPECT_EQ(9, mouse[0].mouse.code);
    EXPECT_EQ(17, mouse[1].mouse.code);
    // Other notification codes are not clicks.
    parent.ClearReceived();
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_SETFOCUS), (LPARAM)button.GetHandle());
    EXPECT_TRUE(parent.Received(ControlMessage(SBLOCK_BUTTON, 1)).empty());
}

TEST(SSimpleCtrl, CheckBoxTogglesAndReportsTheNewState)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SCheckCtrl check;
    RECT rect = {10, 10, 150, 40};
    ASSERT_TRUE(check.Create("Check", WS_VISIBLE, 0, &rect, parent.GetHandle(), 8));
    EXPECT_EQ(0, check.GetCheck());
    struct Case { int before; int after; };
    const Case cases[] = {{0, 1}, {1, 0}, {0, 1}};
    for (const Case& c : cases)
    {
        check.SetCheck(c.before);
        ASSERT_EQ(c.before, check.GetCheck());
        parent.ClearReceived();
        check.SendMessage(BM_CLICK);
        PumpPending();
        EXPECT_EQ(c.after, check.GetCheck()) << c.before;
        EXPECT_EQ(c.after == 1, check.IsChecked());
        auto got = parent.Received(ControlMessage(SBLOCK_CHECK, 1));
        ASSERT_EQ(1u, got.size()) << c.before;
        EXPECT_EQ((WPARAM)&check, got[0].wParam);
        EXPECT_EQ(c.after, got[0].lParam);
    }
    check.SetChecked(true);
    EXPECT_TRUE(check.IsChecked());
    check.SetChecked(false);
    EXPECT_EQ(0, check.GetCheck());
    // A notification other than a click leaves the state alone.
    parent.ClearReceived();
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(8, BN_KILLFOCUS), (LPARAM)check.GetHandle());
    EXPECT_EQ(0, check.GetCheck());
    EXPECT_TRUE(parent.Received(ControlMessage(SBLOCK_CHECK, 1)).empty());
}

TEST(SSimpleCtrl, ControlsWithoutWindowAnswerEmpty)
{
    SCheckCtrl check;
    EXPECT_EQ(0, check.GetCheck());
    EXPECT_FALSE(check.IsChecked());
    SProgressCtrl progress;
    EXPECT_EQ(0, progress.GetPos());
    SSliderCtrl slider;
    EXPECT_EQ(0, slider.GetPos());
    SScrollCtrl scroll;
    EXPECT_EQ(0, scroll.GetPos());
    SRadioCtrl radio;
    radio.Check();
    EXPECT_EQ(-1, radio.GetGroup());
}

TEST(SSimpleCtrl, RadioUnchecksItsGroupUnderTheSameParentOnly)
{
    SRecordingParent parent, other;
    ASSERT_TRUE(CreateInactiveParent(parent));
    ASSERT_TRUE(CreateInactiveParent(other));
    struct Spec { SRadioCtrl* radio; HWND parent; int group; int y; };
    SRadioCtrl first, second, fourth, loose, elsewhere;
    Spec specs[] = {
        {&first, parent.GetHandle(), 3, 10},  {&second, parent.GetHandle(), 3, 40},
        {&fourth, parent.GetHandle(), 4, 70}, {&loose, parent.GetHandle(), -1, 100},
        {&elsewhere, other.GetHandle(), 3, 10},
    };
    for (Spec& spec : specs)
    {
        RECT rect = {10, spec.y, 150, spec.y + 25};
        ASSERT_TRUE(spec.radio->Create("Radio", WS_VISIBLE, 0, &rect, spec.parent));
        spec.radio->SetGroup(spec.group);
        spec.radio->SendMessage(BM_SETCHECK, BST_CHECKED);
    }
    first.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    first.SendMessage(BM_CLICK);
    PumpPending();
    EXPECT_EQ(BST_CHECKED, first.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_UNCHECKED, second.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_CHECKED, fourth.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_CHECKED, loose.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_CHECKED, elsewhere.SendMessage(BM_GETCHECK));
    auto got = parent.Received(ControlMessage(SBLOCK_RADIO, 1));
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((WPARAM)&first, got[0].wParam);
    EXPECT_EQ(1, got[0].lParam);
    // A radio of no group changes only itself.
    loose.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    loose.SendMessage(BM_CLICK);
    PumpPending();
    EXPECT_EQ(BST_CHECKED, loose.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_CHECKED, first.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_CHECKED, fourth.SendMessage(BM_GETCHECK));
    // Check called directly follows the same rule.
    second.Check();
    EXPECT_EQ(BST_UNCHECKED, first.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_CHECKED, second.SendMessage(BM_GETCHECK));
}

TEST(SSimpleCtrl, ScrollBarMovesWithTheParentSteps)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SScrollCtrl bar;
    RECT rect = {10, 10, 210, 30};
    ASSERT_TRUE(bar.Create(WS_VISIBLE | SBS_HORZ, 0, &rect, parent.GetHandle()));
    bar.SetRange(0, 100, true);
    EXPECT_EQ(0, bar.GetMin());
    EXPECT_EQ(100, bar.GetMax());
    parent.SetScrollSteps(false, 1, 30, 10);
    struct Case { int start; WPARAM code; int expected; bool reported; };
    const Case cases[] = {
        {0, MAKEWPARAM(SB_THUMBPOSITION, 57), 50, true},
        {50, MAKEWPARAM(SB_THUMBTRACK, 52), 50, false},
        {80, SB_PAGEDOWN, 100, true},
        {100, SB_PAGEDOWN, 100, false},
        {20, SB_PAGEUP, 0, true},
        {40, SB_LINEDOWN, 40, false},
        {40, SB_BOTTOM, 100, true},
        {40, SB_TOP, 0, true},
        {40, SB_ENDSCROLL, 40, false},
    };
    for (const Case& c : cases)
    {
        bar.SetPos(c.start, true);
        parent.ClearReceived();
        LRESULT answer = parent.SendMessage(WM_HSCROLL, c.code, (LPARAM)bar.GetHandle());
        EXPECT_EQ(0, answer);
        EXPECT_EQ(c.expected, bar.GetPos()) << c.start << " " << c.code;
        auto got = parent.Received(ControlMessage(SBLOCK_SCROLL, 1));
        EXPECT_EQ(c.reported ? 1u : 0u, got.size()) << c.start << " " << c.code;
        if (!got.empty())
        {
            EXPECT_EQ((WPARAM)&bar, got[0].wParam);
        }
    }
    // A snap step of 0 never divides: positions stay as they are.
    parent.SetScrollSteps(false, 1, 30, 0);
    bar.SetPos(0, true);
    parent.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 57), (LPARAM)bar.GetHandle());
    EXPECT_EQ(57, bar.GetPos());
    // The vertical steps serve WM_VSCROLL.
    parent.SetScrollSteps(true, 5, 20, 1);
    bar.SetPos(10, true);
    parent.SendMessage(WM_VSCROLL, SB_LINEDOWN, (LPARAM)bar.GetHandle());
    EXPECT_EQ(15, bar.GetPos());
}

TEST(SSimpleCtrl, SliderReportsEveryScrollCode)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SSliderCtrl slider;
    RECT rect = {10, 10, 210, 40};
    ASSERT_TRUE(slider.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    slider.SetRange(10, 90, true);
    EXPECT_EQ(10, slider.SendMessage(TBM_GETRANGEMIN));
    EXPECT_EQ(90, slider.SendMessage(TBM_GETRANGEMAX));
    slider.SetPos(42, true);
    EXPECT_EQ(42, slider.GetPos());
    // The trackbar itself reports a key move to its parent as WM_HSCROLL.
    slider.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    PumpPending();
    EXPECT_EQ(43, slider.GetPos());
    auto moved = parent.Received(ControlMessage(SBLOCK_SLIDER, 1));
    ASSERT_FALSE(moved.empty());
    EXPECT_EQ((WPARAM)&slider, moved[0].wParam);
    EXPECT_EQ(0, moved[0].lParam);
    const WPARAM codes[] = {TB_LINEUP, TB_PAGEDOWN, MAKEWPARAM(TB_THUMBTRACK, 20), TB_ENDTRACK};
    for (WPARAM code : codes)
    {
        parent.ClearReceived();
        parent.SendMessage(WM_HSCROLL, code, (LPARAM)slider.GetHandle());
        EXPECT_EQ(1u, parent.Received(ControlMessage(SBLOCK_SLIDER, 1)).size()) << code;
    }
}

TEST(SSimpleCtrl, ChildColourBrushes)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SCheckCtrl check;
    SScrollCtrl bar;
    SGroupCtrl group;
    SButtonCtrl button;
    RECT rect = {10, 10, 150, 40};
    ASSERT_TRUE(check.Create("c", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    ASSERT_TRUE(group.Create("g", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    ASSERT_TRUE(button.Create("b", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, dc);

    // Transparent check box: the stock hollow brush.
    check.SetBackColor(SCOLOR_TRANSPARENT);
    EXPECT_EQ((LRESULT)GetStockObject(NULL_BRUSH),
              parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)check.GetHandle()));
    // Transparent scroll bar: hollow brush and a transparent background mode.
    SetBkMode(dc, OPAQUE);
    bar.SetBackColor(SCOLOR_TRANSPARENT);
    EXPECT_EQ((LRESULT)GetStockObject(NULL_BRUSH),
              parent.SendMessage(WM_CTLCOLORSCROLLBAR, (WPARAM)dc, (LPARAM)bar.GetHandle()));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    // A solid colour: a brush of that colour, and the scroll bar's background colour follows.
    bar.SetBackColor(RGB(10, 20, 30));
    HBRUSH brush = (HBRUSH)parent.SendMessage(WM_CTLCOLORSCROLLBAR, (WPARAM)dc, (LPARAM)bar.GetHandle());
    LOGBRUSH info;
    ASSERT_EQ((int)sizeof(info), GetObjectA(brush, sizeof(info), &info));
    EXPECT_EQ(RGB(10, 20, 30), info.lbColor);
    EXPECT_EQ(RGB(10, 20, 30), GetBkColor(dc));
    // The group box sets its text colour in every case.
    group.SetTextColor(0xFF000000u | RGB(200, 0, 0));
    group.SetBackColor(RGB(1, 2, 3));
    EXPECT_NE(0, parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)group.GetHandle()));
    EXPECT_EQ(RGB(200, 0, 0), GetTextColor(dc));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(dc));
    // The push button answers WM_CTLCOLORBTN with its colour.
    button.SetBackColor(RGB(0, 128, 0));
    brush = (HBRUSH)parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)button.GetHandle());
    ASSERT_EQ((int)sizeof(info), GetObjectA(brush, sizeof(info), &info));
    EXPECT_EQ(RGB(0, 128, 0), info.lbColor);
    DeleteDC(dc);
}

TEST(SSimpleCtrl, GroupTextColourStartsAtTheButtonTextColour)
{
    SGroupCtrl group;
    EXPECT_EQ(0xFF000000u | GetSysColor(COLOR_BTNTEXT), group.GetTextColor());
}

TEST(SSimpleCtrl, ProgressBarRangeAndColour)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SProgressCtrl progress;
    RECT rect = {10, 10, 210, 30};
    ASSERT_TRUE(progress.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    EXPECT_EQ(100, progress.GetMax());
    progress.SetPos(30);
    EXPECT_EQ(30, progress.GetPos());
    progress.SetRange(0, 500);
    EXPECT_EQ(500, progress.GetMax());
    progress.SetPos(400);
    EXPECT_EQ(400, progress.GetPos());
    progress.SetBackColor(RGB(255, 0, 0));
    EXPECT_EQ(SCOLOR_NONE, progress.GetBackColor());
    // The bar keeps the colour itself: setting the default hands back the red one.
    EXPECT_EQ(RGB(255, 0, 0), (COLORREF)progress.SendMessage(PBM_SETBKCOLOR, 0, CLR_DEFAULT));
}

TEST(SSimpleCtrl, StaticEdgeValues)
{
    SStaticCtrl frame;
    struct Case { int edge; int stored; };
    const Case cases[] = {{1, 1}, {2, 2}, {4, 4}, {5, 5}, {6, 6}, {8, 8}, {9, 9}, {10, 10},
                          {0, 0}, {3, 0}, {7, 0}, {11, 0}, {-1, 0}};
    for (const Case& c : cases)
    {
        frame.SetEdge(c.edge);
        EXPECT_EQ(c.stored, frame.GetEdge()) << c.edge;
    }
}

TEST(SSimpleCtrl, StaticFrameDrawsItsEdge)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SStaticCtrl frame;
    RECT rect = {10, 10, 70, 50};
    ASSERT_TRUE(frame.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), frame.GetBackColor());
    frame.SetEdge(EDGE_SUNKEN);
    frame.SetBorderFlags(BF_LEFT | BF_TOP);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 60, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    frame.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    // Sunken: the outer top-left line is the shadow colour; the right side has no edge.
    EXPECT_EQ(GetNearestColor(dc, GetSysColor(COLOR_BTNSHADOW)), GetPixel(dc, 0, 20));
    EXPECT_EQ(GetNearestColor(dc, GetSysColor(COLOR_BTNSHADOW)), GetPixel(dc, 30, 0));
    EXPECT_EQ(GetNearestColor(dc, GetSysColor(COLOR_BTNFACE)), GetPixel(dc, 59, 20));
    EXPECT_EQ(GetNearestColor(dc, GetSysColor(COLOR_BTNFACE)), GetPixel(dc, 30, 20));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

namespace
{

// A label that counts how often it is painted.
class CountingLabel : public SLabelCtrl
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_ERASEBKGND)
            erases++;
        return SLabelCtrl::OnMessage(msg, wParam, lParam);
    }
    int erases = 0;
};

// Columns of the client area that hold text-coloured pixels, after a print of the label.
void TextColumns(SLabelCtrl* label, int width, int height, int* first, int* last, int* top, int* bottom)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    label->SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    COLORREF text = GetNearestColor(dc, label->GetTextColor());
    *first = *top = 100000;
    *last = *bottom = -1;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if (GetPixel(dc, x, y) == text)
            {
                *first = x < *first ? x : *first;
                *last = x > *last ? x : *last;
                *top = y < *top ? y : *top;
                *bottom = y > *bottom ? y : *bottom;
            }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}

TEST(SSimpleCtrl, LabelAlignment)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    CountingLabel label;
    const int width = 200, height = 60;
    RECT rect = {10, 10, 10 + width, 10 + height};
    ASSERT_TRUE(label.Create("Wi", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    label.SetTextColor(RGB(255, 0, 0));
    EXPECT_EQ(0x10, label.GetAlignment());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), label.GetBackColor());

    struct Case { int flags; int stored; UINT drawFlags; };
    const Case cases[] = {
        {0x21, 0x21, DT_SINGLELINE | DT_NOPREFIX | DT_CENTER | DT_BOTTOM},
        {0x12, 0x12, DT_SINGLELINE | DT_NOPREFIX | DT_RIGHT | DT_VCENTER},
        {0x33, 0x23, DT_SINGLELINE | DT_NOPREFIX | DT_BOTTOM},
        {0x00, 0x00, DT_SINGLELINE | DT_NOPREFIX},
        {0x14, 0x10, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER},
    };
    for (const Case& c : cases)
    {
        label.SetAlignment(c.flags);
        EXPECT_EQ(c.stored, label.GetAlignment()) << c.flags;
        EXPECT_EQ(c.drawFlags, label.GetDrawFlags()) << c.flags;
    }

    // Centred at the bottom: the text lies around the middle and in the lower part.
    label.SetAlignment(0x21);
    int first, last, top, bottom;
    TextColumns(&label, width, height, &first, &last, &top, &bottom);
    ASSERT_GE(last, first);
    EXPECT_LT(abs((first + last) / 2 - width / 2), 6);
    EXPECT_GT(top, height / 3);
    EXPECT_LE(bottom, height - 3);
    // Right, top: against the right inset.
    label.SetAlignment(0x02);
    TextColumns(&label, width, height, &first, &last, &top, &bottom);
    EXPECT_GT(first, width / 2);
    EXPECT_LT(top, height / 3);
    // Both horizontal bits draw on the left.
    label.SetAlignment(0x03);
    TextColumns(&label, width, height, &first, &last, &top, &bottom);
    EXPECT_LT(last, width / 2);
    EXPECT_GE(first, 2);

    // The same value again does not redraw; a new text does.
    PumpPending();
    int before = label.erases;
    label.SetAlignment(0x03);
    EXPECT_EQ(before, label.erases);
    label.SetAlignment(0x21);
    EXPECT_GT(label.erases, before);
    before = label.erases;
    label.SetWindowText("Other");
    EXPECT_GT(label.erases, before);
}

namespace
{

// Pixels of the slider's top and left client edges that differ from the colour.
int EdgePixelsOtherThan(SSliderCtrl* slider, COLORREF color)
{
    RECT client;
    slider->GetClientRect(&client);
    HDC dc = slider->GetDC();
    COLORREF wanted = GetNearestColor(dc, color);
    int others = 0;
    for (int x = 0; x < client.right; x++)
        others += GetPixel(dc, x, 0) != wanted;
    for (int y = 0; y < client.bottom; y++)
        others += GetPixel(dc, 0, y) != wanted;
    slider->ReleaseDC(dc);
    return others;
}

}

TEST(SSimpleCtrl, FocusedSliderHidesTheFocusRectangle)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SSliderCtrl slider;
    RECT rect = {10, 10, 210, 50};
    ASSERT_TRUE(slider.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    struct Case { unsigned back; COLORREF edge; };
    const Case cases[] = {
        {RGB(255, 0, 0), RGB(255, 0, 0)},
        {SCOLOR_NONE, GetSysColor(COLOR_BTNFACE)},
    };
    slider.SetFocus();
    ASSERT_TRUE(slider.HasFocus());
    for (const Case& c : cases)
    {
        slider.SetBackColor(c.back);
        slider.Redraw();
        EXPECT_EQ(0, EdgePixelsOtherThan(&slider, c.edge)) << std::hex << c.back;
    }
}
