#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "SKeyboard.h"

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
    KeysReleasedAtEnd released = {VK_CONTROL, VK_SHIFT, VK_MENU};
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, true));
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, true));
    EXPECT_TRUE(SKeyboard::IsControlDown());
    EXPECT_TRUE(SKeyboard::IsShiftDown());
    EXPECT_TRUE(SKeyboard::IsKeyDown(VK_SHIFT));
    EXPECT_EQ(3, GetKeyModifiers());
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, false));
    EXPECT_FALSE(SKeyboard::IsShiftDown());
    EXPECT_EQ(2, GetKeyModifiers());
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, false));
    EXPECT_FALSE(SKeyboard::IsControlDown());
    EXPECT_EQ(0, GetKeyModifiers());

    ASSERT_TRUE(SetKeyDown(VK_MENU, true));
    EXPECT_TRUE(SKeyboard::IsAltDown());
    EXPECT_EQ(0, GetKeyModifiers());
    ASSERT_TRUE(SetKeyDown(VK_MENU, false));
    EXPECT_FALSE(SKeyboard::IsAltDown());
}

TEST(SKeyboard, TapKeyPressesAndReleases)
{
    GetAsyncKeyState(VK_F24);  // clears the pressed-since-last-call bit
    SKeyboard::TapKey(VK_F24);
    SHORT state = GetAsyncKeyState(VK_F24);
    EXPECT_TRUE(state & 0x0001);  // pressed since the last call
    EXPECT_FALSE(state & 0x8000);  // and released again
    EXPECT_FALSE(SKeyboard::IsKeyDown(VK_F24));
    DropQueuedKeys();
}
