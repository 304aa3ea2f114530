#include <gtest/gtest.h>

#include <initializer_list>

#include "SKeyboard.h"

namespace {

// Presses or releases a key through the system input queue.
void Press(int code, bool down)
{
    keybd_event((BYTE)code, 0, down ? 0 : KEYEVENTF_KEYUP, 0);
}

// Presses the keys until the system reports them all down. A window that an earlier test
// showed or destroyed can move the X focus, and Wine then resets the modifiers to the X
// server's state a moment later, releasing keys that were injected just before.
bool HoldKeys(std::initializer_list<int> codes)
{
    for (int attempt = 0; attempt < 5; attempt++) {
        bool allDown = true;
        for (int code : codes)
            if (!(GetAsyncKeyState(code) & 0x8000)) {
                Press(code, true);
                allDown = false;
            }
        if (allDown)
            return true;
    }
    return false;
}

// Removes the key messages that injected input left in this thread's queue, so that no later
// test receives them.
void DropQueuedKeys()
{
    MSG message;
    for (int i = 0; i < 100 && PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE); i++) {
    }
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
    ASSERT_TRUE(HoldKeys({VK_CONTROL, VK_SHIFT}));
    EXPECT_TRUE(SKeyboard::IsControlDown());
    EXPECT_TRUE(SKeyboard::IsShiftDown());
    EXPECT_TRUE(SKeyboard::IsKeyDown(VK_SHIFT));
    EXPECT_EQ(3, GetKeyModifiers());
    Press(VK_SHIFT, false);
    ASSERT_TRUE(HoldKeys({VK_CONTROL}));
    EXPECT_EQ(2, GetKeyModifiers());
    Press(VK_CONTROL, false);
    EXPECT_EQ(0, GetKeyModifiers());

    ASSERT_TRUE(HoldKeys({VK_MENU}));
    EXPECT_TRUE(SKeyboard::IsAltDown());
    EXPECT_EQ(0, GetKeyModifiers());
    Press(VK_MENU, false);
    EXPECT_FALSE(SKeyboard::IsAltDown());
    DropQueuedKeys();
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
