#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"
#include "SExternCtrl.h"

namespace
{

std::string Block(const SExternCtrl& control)
{
    char* block = control.BuildEntryBlock();
    // The block ends at the first pair of zero bytes that follows a complete entry list.
    size_t size = 1;
    for (int i = 0; i < control.GetEntryCount(); i++)
    {
        size += strlen(block + size - 1) + 1;
        size += strlen(block + size - 1) + 1;
    }
    std::string bytes(block, size);
    delete[] block;
    return bytes;
}

}

TEST(SExternCtrl, EntryBlock)
{
    SExternCtrl control;
    EXPECT_EQ(SKIND_EXTERN, control.GetKind());
    EXPECT_EQ(std::string("\0", 1), Block(control));
    control.AddEntry("a", "");
    control.AddEntry("b", "2");
    EXPECT_EQ(2, control.GetEntryCount());
    EXPECT_EQ(std::string("a\0\0b\0" "2\0\0", 8), Block(control));
    control.SetName("Gauge");
    control.SetFileName("gauge.dll");
    EXPECT_EQ(SString("Gauge"), control.GetExternName());
    EXPECT_EQ(SString("gauge.dll"), control.GetFileName());
}

TEST(SExternCtrl, WhiteBackgroundOnCreation)
{
    SWnd owner;
    RECT ownerRect = {0, 0, 200, 100};
    ASSERT_TRUE(owner.Create("owner", WS_POPUP, 0, &ownerRect, nullptr));
    SExternCtrl control;
    RECT rect = {10, 10, 110, 60};
    ASSERT_TRUE(control.CreateChild("External Control", WS_VISIBLE, 0, &rect, owner.GetHandle(), 7));
    EXPECT_EQ(0xFFFFFFu, control.GetBackColor());
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 50);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 100, 50};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    control.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 50, 25));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}
