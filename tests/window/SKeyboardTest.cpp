#include <gtest/gtest.h>

#include "SKeyboard.h"

namespace {

// Presses or releases a key through the system input queue.
void Press(int code, bool down)
{
    keybd_event((BYTE)code, 0, down ? 0 : KEYEVENTF_KEYUP, 0);
    Sleep(20);
}

} // namespace

TEST(SKeyboard, KeyNameTable)
{
    SKeyboard keyboard;
    ASSERT_EQ(256, GetKeyNames().GetCount());
    int named = 0;
    for (int code = 0; code < 256; code++)
        if (!SKeyboard::GetKeyName(code).IsEmpty())
            named++;
    EXPECT_EQ(109, named);
    struct Case {
        int code;
        const char* name;
    } cases[] = {{0x70, "F1"},     {0x7F, "F16"},   {0x2A, ""},        {0x41, "A"},   {0x30, "0"},
                 {0x60, "NUM0"},   {0x69, "NUM9"},  {0x0D, "RETURN"},  {0x12, "MENU"}, {0xFD, "PA1"},
                 {0xFC, ""},       {0xF6, "ATTN"},  {0x6C, "SEPARATOR"}, {0x91, "SCROLL"}, {0, ""},
                 {256, ""},        {-1, ""}};
    for (const Case& c : cases)
        EXPECT_STREQ(c.name, (const char*)SKeyboard::GetKeyName(c.code)) << c.code;

    SKeyboard second;
    EXPECT_EQ(256, GetKeyNames().GetCount());
}

TEST(SKeyboard, ModifierMask)
{
    Press(VK_CONTROL, true);
    Press(VK_SHIFT, true);
    EXPECT_TRUE(SKeyboard::IsControlDown());
    EXPECT_TRUE(SKeyboard::IsShiftDown());
    EXPECT_EQ(3, GetKeyModifiers());
    Press(VK_SHIFT, false);
    EXPECT_EQ(2, GetKeyModifiers());
    Press(VK_CONTROL, false);
    EXPECT_EQ(0, GetKeyModifiers());

    Press(VK_MENU, true);
    EXPECT_TRUE(SKeyboard::IsAltDown());
    EXPECT_EQ(0, GetKeyModifiers());
    Press(VK_MENU, false);
    EXPECT_FALSE(SKeyboard::IsAltDown());

    SKeyboard::TapKey(VK_ESCAPE);
    EXPECT_FALSE(SKeyboard::IsEscapeDown());
}
