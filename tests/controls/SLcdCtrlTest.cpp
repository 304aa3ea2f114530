#include <gtest/gtest.h>

#include <vector>

#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SControl.h"
#include "SLcdCtrl.h"
#include "../window/PumpSupport.h"

namespace
{
// Records the ticker steps the display reports.
class RecordingLcd : public SLcdCtrl
{
public:
    void OnScrollStep(int line, int offset) override { steps.push_back({line, offset}); }
    std::vector<std::pair<int, int>> steps;
};

SString Blanks(int count)
{
    SString text;
    for (int i = 0; i < count; i++)
        text.AppendChar(' ');
    return text;
}

// The display rendered through WM_PRINTCLIENT into a memory bitmap of its client size.
class Rendered
{
public:
    explicit Rendered(SWnd& window)
    {
        RECT client;
        window.GetClientRect(&client);
        width = client.right;
        height = client.bottom;
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        window.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    }
    ~Rendered()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }

    int width = 0, height = 0;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};
}

TEST(SLcdCtrl, PropertiesAreBounded)
{
    SLcdCtrl lcd;
    EXPECT_EQ(SKIND_LCD, lcd.GetKind());
    lcd.SetPixelSize(0, -3);
    EXPECT_EQ(1, lcd.GetPixelWidth());
    EXPECT_EQ(1, lcd.GetPixelHeight());
    lcd.SetCharCount(0);
    EXPECT_EQ(1, lcd.GetCharCount());
    lcd.SetLineCount(-2);
    EXPECT_EQ(1, lcd.GetLineCount());

    lcd.SetLineCount(3);
    lcd.SetLineSpeed(-1, 2.5);
    for (int line = 0; line < 3; line++)
        EXPECT_EQ(2.5, lcd.GetLineSpeed(line));
    lcd.SetLineSpeed(3, 9.0);
    lcd.SetLineSpeed(-2, 9.0);
    lcd.SetLineSpeed(1, 7.0);
    EXPECT_EQ(2.5, lcd.GetLineSpeed(0));
    EXPECT_EQ(7.0, lcd.GetLineSpeed(1));
    EXPECT_EQ(0.0, lcd.GetLineSpeed(3));
    // A new line count resets every speed.
    lcd.SetLineCount(2);
    EXPECT_EQ(5.0, lcd.GetLineSpeed(0));
    EXPECT_EQ(5.0, lcd.GetLineSpeed(1));

    struct Case { int flags; int stored; };
    const Case cases[] = {{1, 1}, {2, 2}, {3, 3}, {7, 3}, {6, 2}, {5, 1}, {4, 0}, {0, 0}};
    for (const Case& c : cases)
    {
        lcd.SetAlignment(c.flags);
        EXPECT_EQ(c.stored, lcd.GetAlignment()) << c.flags;
    }

    lcd.SetCellColor(RGB(1, 2, 3));
    lcd.SetCellColor(SCOLOR_NONE);
    EXPECT_EQ(RGB(1, 2, 3), lcd.GetCellColor());
    lcd.SetDotColor(RGB(4, 5, 6));
    lcd.SetDotColor(SCOLOR_NONE);
    EXPECT_EQ(RGB(4, 5, 6), lcd.GetDotColor());
}

TEST(SLcdCtrl, FontColumns)
{
    struct Case { char ch; unsigned char columns[5]; };
    const Case cases[] = {
        {'A', {126, 136, 136, 136, 126}}, {'8', {108, 146, 146, 146, 108}}, {':', {0, 108, 108, 0, 0}},
        {'a', {4, 42, 42, 42, 30}},       {'|', {0, 0, 254, 0, 0}},         {(char)0x80, {16, 56, 84, 68, 40}},
        {(char)0xA5, {168, 104, 62, 104, 168}}, {(char)0xAF, {128, 128, 128, 128, 128}},
        {' ', {0, 0, 0, 0, 0}},           {'\t', {0, 0, 0, 0, 0}},
        {(char)0xE9, {0xFE, 0xFE, 0xFE, 0xFE, 0xFE}}, {(char)0x01, {0xFE, 0xFE, 0xFE, 0xFE, 0xFE}},
    };
    for (const Case& c : cases)
    {
        unsigned char columns[5];
        SLcdCtrl::GetCharColumns(c.ch, columns);
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(c.columns[i], columns[i]) << (int)(unsigned char)c.ch << " column " << i;
    }
    // Every printable character has a glyph of its own, never the full block, and never bit 0.
    for (int ch = '!'; ch <= '~'; ch++)
    {
        unsigned char columns[5];
        SLcdCtrl::GetCharColumns((char)ch, columns);
        bool block = true;
        for (int i = 0; i < 5; i++)
        {
            block = block && columns[i] == 0xFE;
            EXPECT_EQ(0, columns[i] & 1) << ch;
        }
        EXPECT_FALSE(block) << ch;
    }
}

TEST(SLcdCtrl, TickerSteps)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    RecordingLcd lcd;
    RECT rect = {0, 0, 200, 40};
    ASSERT_TRUE(lcd.Create("HELLO", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    lcd.SetCharCount(8);
    lcd.SetScroll(true);
    EXPECT_TRUE(lcd.IsScrolling());
    EXPECT_EQ(-8.0, lcd.GetLinePosition(0));
    DWORD start = lcd.GetLastTick();

    // Speed 5: one character every 200 ms, entering from the right edge.
    struct Step { DWORD at; SString text; };
    const Step steps[] = {
        {0, Blanks(8) + "HELLO"}, {100, Blanks(8) + "HELLO"}, {200, Blanks(7) + "HELLO"},
        {1600, "HELLO"}, {1800, "ELLO"}, {2600, ""},
        // Once it has left completely the line starts again off the right edge.
        {2800, Blanks(8) + "HELLO"}, {3000, Blanks(7) + "HELLO"},
    };
    for (const Step& step : steps)
        EXPECT_STREQ(step.text, lcd.ComposeText(start + step.at)) << step.at;
    std::vector<std::pair<int, int>> expected = {{0, -7}, {0, 0}, {0, 1}, {0, 5}, {0, -8}, {0, -7}};
    EXPECT_EQ(expected, lcd.steps);

    lcd.SetScroll(false);
    EXPECT_FALSE(lcd.IsScrolling());
    EXPECT_STREQ("HELLO", lcd.ComposeText(start + 5000));

    lcd.SetScroll(true);
    start = lcd.GetLastTick();
    // Ticks of the 20 ms timer move a fraction of a character each; ten of them make one at speed 5.
    struct Case { DWORD at; int blanks; } cases[] = {{200, 7}, {400, 6}, {600, 5}, {1000, 3}, {1600, 0}};
    DWORD at = 0;
    for (const Case& c : cases)
    {
        SString text;
        while (at < c.at)
        {
            at += 20;
            text = lcd.ComposeText(start + at);
        }
        EXPECT_STREQ(Blanks(c.blanks) + "HELLO", text) << c.at;
    }
    lcd.SetScroll(false);
}

TEST(SLcdCtrl, TickerKeepsToTheConfiguredLines)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    RecordingLcd lcd;
    RECT rect = {0, 0, 200, 40};
    // Three text lines on a two-line display whose second line stands still.
    ASSERT_TRUE(lcd.Create("AB\r\nCD\r\nEF", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    lcd.SetCharCount(4);
    lcd.SetLineCount(2);
    lcd.SetLineSpeed(1, 0.0);
    lcd.SetScroll(true);
    DWORD start = lcd.GetLastTick();
    EXPECT_STREQ("   AB\r\nCD\r\nEF", lcd.ComposeText(start + 200));
    ASSERT_EQ(1u, lcd.steps.size());
    EXPECT_EQ(0, lcd.steps[0].first);
    // A negative speed never piles up more blanks than the display is wide.
    lcd.SetLineSpeed(0, -50.0);
    EXPECT_STREQ("    AB\r\nCD\r\nEF", lcd.ComposeText(start + 10200));
    lcd.SetScroll(false);
}

TEST(SLcdCtrl, AlignmentRebuildsTheText)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SLcdCtrl lcd;
    RECT rect = {0, 0, 200, 40};
    ASSERT_TRUE(lcd.Create("AB", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    lcd.SetCharCount(6);
    EXPECT_STREQ("AB", lcd.ComposeText(0));
    lcd.SetAlignment(2);
    EXPECT_STREQ("    AB", lcd.ComposeText(0));
    lcd.SetAlignment(1);
    EXPECT_STREQ("  AB  ", lcd.ComposeText(0));
}

TEST(SLcdCtrl, PaintsDotsCellsAndCutsAtTheEdges)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SLcdCtrl lcd;
    RECT rect = {10, 10, 110, 60};
    const char text[] = {'A', (char)0xE9, 'W', '\r', '\n', 'A', 0};
    ASSERT_TRUE(lcd.Create(text, WS_VISIBLE, 0, &rect, parent.GetHandle()));
    lcd.SetCharCount(2);
    lcd.SetPixelSize(3, 2);
    lcd.SetDotColor(RGB(200, 0, 0));
    lcd.SetCellColor(RGB(0, 0, 200));
    Rendered image(lcd);
    ASSERT_EQ(100, image.width);
    ASSERT_EQ(50, image.height);
    // Display 2 x 18 by 16 pixels, centred.
    int left = (100 + 3 - 36) / 2, top = (50 + 2 - 16) / 2;
    const COLORREF back = RGB(108, 190, 226), cell = RGB(0, 0, 200), dot = RGB(200, 0, 0);
    EXPECT_EQ(back, image.At(left - 1, top));
    // 'A': the first column's top row is dark, the next rows lit.
    EXPECT_EQ(cell, image.At(left, top));
    EXPECT_EQ(dot, image.At(left + 2, top + 2));
    EXPECT_EQ(dot, image.At(left, top + 3));
    // The gap column right of the cell and the gap row below it show the background.
    EXPECT_EQ(back, image.At(left + 15, top + 1));
    EXPECT_EQ(back, image.At(left + 1, top + 14));
    // 0xE9 is outside the font: a full block, top row lit.
    EXPECT_EQ(dot, image.At(left + 18, top));
    EXPECT_EQ(dot, image.At(left + 18 + 14, top + 13));
    // 'W' lies past the right edge and the second text line past the last display line.
    for (int x = left + 36; x < 100; x++)
        for (int y = 0; y < 50; y++)
            ASSERT_EQ(back, image.At(x, y)) << x << "," << y;
    for (int y = top + 16; y < 50; y++)
        ASSERT_EQ(back, image.At(left + 2, y)) << y;
}

TEST(SLcdCtrl, ForwardsMouseButtonsAndRunsTheTickerTimer)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    parent.SetMouseMessages({ControlMessage(SBLOCK_LCD)});
    RecordingLcd lcd;
    RECT rect = {0, 0, 200, 40};
    ASSERT_TRUE(lcd.Create("HI", WS_VISIBLE, 0, &rect, parent.GetHandle()));
    lcd.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(7, 8));
    auto got = parent.Received(ControlMessage(SBLOCK_LCD));
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((WPARAM)&lcd, got[0].wParam);
    EXPECT_EQ(12, got[0].mouse.code);
    EXPECT_EQ(7, got[0].mouse.x);

    // The timer repaints, and every paint advances the ticker.
    lcd.SetCharCount(2);
    lcd.SetLineSpeed(0, 100.0);
    lcd.SetScroll(true);
    EXPECT_TRUE(PumpUntil([&] { return !lcd.steps.empty(); }, 3000));
    lcd.SetScroll(false);
}
