#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "../controls/InactiveParent.h"
#include "../window/PumpSupport.h"
#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SLevelCtrl.h"

namespace
{

// A meter of a given client size on a visible recording parent.
struct MeterFixture
{
    SRecordingParent parent;
    SLevelCtrl meter;
    bool Create(int width, int height, bool vertical = false)
    {
        if (!CreateInactiveParent(parent, 300, 200))
            return false;
        RECT rect = {0, 0, width, height};
        if (!meter.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle(), 7))
            return false;
        meter.SetVertical(vertical);
        return true;
    }
    // The pixel colour of the meter painted into a memory bitmap at clock now.
    COLORREF PixelAt(int x, int y, DWORD now)
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        SIZE size = meter.GetClientSize();
        HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
        HGDIOBJ old = SelectObject(dc, bitmap);
        meter.PaintAt(dc, now);
        COLORREF color = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
        return color;
    }
};

const COLORREF kBack = RGB(32, 92, 32);
const COLORREF kLow = RGB(128, 255, 128);

} // namespace

TEST(SLevelCtrl, DefaultsAndChannels)
{
    SLevelCtrl meter;
    EXPECT_FALSE(meter.IsVertical());
    EXPECT_TRUE(meter.GetPeakHold());
    EXPECT_EQ(meter.GetMinimum(), 0);
    EXPECT_EQ(meter.GetMaximum(), 1000);
    EXPECT_EQ(meter.GetChannelCount(), 1);
    EXPECT_DOUBLE_EQ(meter.GetFallRate(), 0.0005);
    EXPECT_EQ(meter.GetTickHold(), 500u);
    meter.SetChannelCount(0);
    EXPECT_EQ(meter.GetChannelCount(), 1);
    meter.SetChannelCount(2);
    meter.SetValue(300, 5, false);
    EXPECT_EQ(meter.GetValue(0), 0);
    EXPECT_EQ(meter.GetValue(1), 0);
    meter.SetValue(300, -1, false);
    EXPECT_EQ(meter.GetValue(0), 300);
    EXPECT_EQ(meter.GetValue(1), 300);
    EXPECT_EQ(meter.GetValue(9), 0);
    meter.SetRange(10, 20, false);
    EXPECT_EQ(meter.GetValue(0), 0);
}

TEST(SLevelCtrl, BarFallsAtTheFallRate)
{
    MeterFixture f;
    ASSERT_TRUE(f.Create(100, 20));
    DWORD start = GetTickCount();
    f.PixelAt(0, 0, start);
    f.meter.SetValue(700, 0, false);
    f.meter.SetValue(0, 0, false);
    EXPECT_DOUBLE_EQ(f.meter.GetShownLevel(0), 700);
    f.PixelAt(0, 0, start + 700);
    EXPECT_NEAR(f.meter.GetShownLevel(0), 350, 1e-6);
    f.PixelAt(0, 0, start + 1400);
    EXPECT_NEAR(f.meter.GetShownLevel(0), 0, 1e-6);
    f.PixelAt(0, 0, start + 2000);
    EXPECT_DOUBLE_EQ(f.meter.GetShownLevel(0), 0);
}

TEST(SLevelCtrl, PeakTicksHoldThenExpire)
{
    MeterFixture f;
    ASSERT_TRUE(f.Create(100, 20));
    f.meter.SetValue(800, 0, false);
    f.meter.SetValue(300, 0, false);
    EXPECT_EQ(f.meter.GetPeak(0), 800);
    // The tick is a one-pixel column in the low colour at 80 % of the width.
    DWORD now = GetTickCount();
    f.meter.SetValue(0, 0, false);
    f.PixelAt(0, 0, now);
    // After the hold the paint clears the tick, and the next value sets a new one.
    f.PixelAt(0, 0, now + 600);
    EXPECT_EQ(f.meter.GetPeak(0), -1);
    f.meter.SetValue(200, 0, false);
    EXPECT_EQ(f.meter.GetPeak(0), 200);
    f.meter.SetTick(false);
    f.meter.SetChannelCount(1);
    f.meter.SetValue(900, 0, false);
    EXPECT_EQ(f.meter.GetPeak(0), -1);
}

TEST(SLevelCtrl, TickAndUnlitPartArePainted)
{
    MeterFixture f;
    ASSERT_TRUE(f.Create(100, 20));
    DWORD now = GetTickCount();
    f.PixelAt(0, 0, now);
    f.meter.SetValue(500, 0, false);
    f.meter.SetFallRate(0);
    f.meter.SetValue(800, 0, false);
    f.meter.SetValue(500, 0, false);
    // Shown level is 800 (no fall): lit to x 80, back after it; the tick is at x 80.
    EXPECT_EQ(f.PixelAt(10, 5, now), kLow);
    EXPECT_EQ(f.PixelAt(95, 5, now), kBack);
    EXPECT_EQ(f.PixelAt(80, 5, now), kLow);
}

TEST(SLevelCtrl, BarsSplitTheClient)
{
    SLevelCtrl meter;
    meter.SetChannelCount(3);
    int start = 0, size = 0;
    const int expected[3][2] = {{0, 11}, {11, 10}, {21, 10}};
    for (int i = 0; i < 3; i++)
    {
        meter.GetBarExtent(i, 31, &start, &size);
        EXPECT_EQ(start, expected[i][0]) << i;
        EXPECT_EQ(size, expected[i][1]) << i;
    }
    // Painted: the separator row above the second bar is in the back colour.
    MeterFixture f;
    ASSERT_TRUE(f.Create(100, 31));
    f.meter.SetChannelCount(3);
    f.meter.SetFallRate(0);
    f.meter.SetValue(1000, -1, false);
    DWORD now = GetTickCount();
    EXPECT_EQ(f.PixelAt(10, 5, now), kLow);
    EXPECT_EQ(f.PixelAt(10, 10, now), kBack);
    EXPECT_EQ(f.PixelAt(10, 20, now), kBack);
    EXPECT_EQ(f.PixelAt(10, 12, now), kLow);
}

TEST(SLevelCtrl, EmptyRangeAndZeroSizeDoNotDivide)
{
    MeterFixture f;
    ASSERT_TRUE(f.Create(0, 0, true));
    f.meter.SetRange(5, 5, true);
    f.meter.SetValue(5, -1, true);
    f.PixelAt(0, 0, GetTickCount());
    EXPECT_DOUBLE_EQ(f.meter.GetShownLevel(0), 5);
    MeterFixture g;
    ASSERT_TRUE(g.Create(40, 100, true));
    g.meter.SetRange(5, 5, false);
    g.meter.SetValue(5, -1, false);
    // An empty bar: the unlit part covers the whole height.
    EXPECT_EQ(g.PixelAt(20, 90, GetTickCount()), kBack);
}

TEST(SLevelCtrl, TimerRepaintsAndMouseGoesToTheParent)
{
    MeterFixture f;
    ASSERT_TRUE(f.Create(100, 20));
    f.meter.SetValue(1000, 0, true);
    f.meter.SetValue(0, 0, false);
    // The 10 ms timer keeps repainting, so the bar falls without further values.
    ASSERT_TRUE(PumpUntil([&] { return f.meter.GetShownLevel(0) < 1000; }, 3000));
    f.meter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    std::vector<SRecordedMessage> received = f.parent.Received(35888);
    ASSERT_EQ(received.size(), 1u);
}

TEST(SLevelCtrl, FactoryMakesItFromARecord)
{
    RegisterEditorControls();
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
    SDialogEditor::_SCtrl record;
    record.SetType(SDialogEditor::TYPE_LEVEL);
    record.SetID(12);
    record.SetName("METER");
    record.SetX(1);
    record.SetY(2);
    record.SetWidth(40);
    record.SetHeight(90);
    record.AssignStyle(WS_VISIBLE);
    record.SetExtraProperties("LEVEL_CHANNELCOUNT=2\r\nLEVEL_TICK=0\r\nLEVEL_MINVALUE=-10\r\nLEVEL_MAXVALUE=90\r\n"
                              "LEVEL_VALUE=40\r\nLEVEL_LOWCOLOR=255\r\n");
    std::unique_ptr<SWnd> control(SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, false));
    SLevelCtrl* meter = dynamic_cast<SLevelCtrl*>(control.get());
    ASSERT_NE(meter, nullptr);
    EXPECT_FALSE(meter->IsVisible());
    EXPECT_TRUE(meter->IsVertical());
    EXPECT_FALSE(meter->GetPeakHold());
    EXPECT_EQ(meter->GetChannelCount(), 2);
    EXPECT_EQ(meter->GetMinimum(), -10);
    EXPECT_EQ(meter->GetMaximum(), 90);
    EXPECT_EQ(meter->GetValue(1), 40);
    EXPECT_EQ(meter->GetUserData(), 12);
    EXPECT_EQ(meter->GetName(), "METER");
    EXPECT_EQ(meter->GetKind(), SKIND_LEVEL);
    record.SetExtraProperties("LEVEL_HORIZONTAL=1\r\n");
    std::unique_ptr<SWnd> second(SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, true));
    ASSERT_NE(dynamic_cast<SLevelCtrl*>(second.get()), nullptr);
    EXPECT_FALSE(dynamic_cast<SLevelCtrl*>(second.get())->IsVertical());
    EXPECT_TRUE(second->IsVisible());
}

TEST(SVisualizationCtrl, KeepsTheBandsAndDrawsThem)
{
    SVisualizationCtrl display;
    EXPECT_EQ(display.GetChannelCount(), 1);
    unsigned char peaks[2] = {200, 100};
    unsigned char bands[32] = {};
    bands[3] = 120;
    bands[16 + 5] = 60;
    EXPECT_TRUE(SVisualizationCtrl::SetData(2, peaks, bands, &display));
    EXPECT_EQ(display.GetChannelCount(), 2);
    EXPECT_EQ(display.GetPeak(0), 200);
    EXPECT_EQ(display.GetBand(0, 3), 120);
    EXPECT_EQ(display.GetBand(1, 5), 60);
    EXPECT_EQ(display.GetBand(2, 0), 0);
    EXPECT_EQ(display.GetBand(0, 16), 0);
    EXPECT_TRUE(SVisualizationCtrl::SetData(-4, peaks, bands, &display));
    EXPECT_EQ(display.GetChannelCount(), 0);
    EXPECT_EQ(display.GetPeak(0), 0);
    display.FreeBuffers();
    EXPECT_EQ(display.GetChannelCount(), 1);

    // Painted: band 3 of the first channel is a red bar 5 pixels wide from x 15, 120 high.
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 300));
    RECT rect = {0, 0, 100, 260};
    ASSERT_TRUE(display.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle(), 3));
    SVisualizationCtrl::SetData(2, peaks, bands, &display);
    HDC screen = ::GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 260);
    HGDIOBJ old = SelectObject(dc, bitmap);
    display.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    EXPECT_EQ(GetPixel(dc, 17, 250), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 17, 100), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 27, 250), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    display.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(parent.Received(36108).size(), 1u);
}

// The band feed hands over six rows: a larger count never reads past them.
TEST(SVisualizationCtrl, KeepsAtMostTheRowsOfTheFeed)
{
    struct Case
    {
        int count;
        int kept;
    };
    const Case cases[] = {{5, 5}, {6, 6}, {7, 6}, {32, 6}};
    unsigned char peaks[6] = {1, 2, 3, 4, 5, 6};
    unsigned char bands[6 * 16] = {};
    for (int row = 0; row < 6; row++)
        bands[row * 16 + 15] = (unsigned char)(10 + row);
    for (const Case& c : cases)
    {
        SVisualizationCtrl display;
        EXPECT_TRUE(SVisualizationCtrl::SetData(c.count, peaks, bands, &display));
        EXPECT_EQ(display.GetChannelCount(), c.kept) << c.count;
        EXPECT_EQ(display.GetPeak(c.kept - 1), c.kept) << c.count;
        EXPECT_EQ(display.GetBand(c.kept - 1, 15), 9 + c.kept) << c.count;
        EXPECT_EQ(display.GetPeak(6), 0) << c.count;
    }
}
