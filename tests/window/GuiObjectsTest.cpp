// The leak tests' object counter: objects made in this process show in its counts
// by the number made, and leave them when freed.
#include <gtest/gtest.h>

#include <windows.h>

#include "../GuiObjects.h"

namespace
{

const int kMade = 7;
BYTE g_iconBits[32 * 32 / 8] = {};

struct Case
{
    const char* name;
    HANDLE (*make)();
    void (*free)(HANDLE);
    long GuiObjects::*field;      // the count the object belongs to
    bool user;                    // a USER object (else GDI)
};

const Case kCases[] = {
    {"bitmap", [] { return (HANDLE)CreateBitmap(8, 8, 1, 1, nullptr); }, [](HANDLE h) { DeleteObject(h); },
     &GuiObjects::bitmaps, false},
    {"font", [] { return (HANDLE)CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"); },
     [](HANDLE h) { DeleteObject(h); }, &GuiObjects::fonts, false},
    {"brush", [] { return (HANDLE)CreateSolidBrush(RGB(1, 2, 3)); }, [](HANDLE h) { DeleteObject(h); },
     &GuiObjects::brushes, false},
    {"pen", [] { return (HANDLE)CreatePen(PS_SOLID, 1, RGB(1, 2, 3)); }, [](HANDLE h) { DeleteObject(h); },
     &GuiObjects::pens, false},
    {"region", [] { return (HANDLE)CreateRectRgn(0, 0, 5, 5); }, [](HANDLE h) { DeleteObject(h); },
     &GuiObjects::regions, false},
    {"memory DC", [] { return (HANDLE)CreateCompatibleDC(nullptr); }, [](HANDLE h) { DeleteDC((HDC)h); },
     &GuiObjects::dcs, false},
    {"menu", [] { return (HANDLE)CreatePopupMenu(); }, [](HANDLE h) { DestroyMenu((HMENU)h); },
     &GuiObjects::user, true},
    {"icon", [] { return (HANDLE)CreateIcon(nullptr, 32, 32, 1, 1, g_iconBits, g_iconBits); },
     [](HANDLE h) { DestroyIcon((HICON)h); }, &GuiObjects::user, true},
    {"accelerators", [] { ACCEL key = {FVIRTKEY, 'A', 1}; return (HANDLE)CreateAcceleratorTableA(&key, 1); },
     [](HANDLE h) { DestroyAcceleratorTable((HACCEL)h); }, &GuiObjects::user, true},
    {"window", [] { return (HANDLE)CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr,
                                                 nullptr); },
     [](HANDLE h) { DestroyWindow((HWND)h); }, &GuiObjects::windows, true},
};

// The counts once every kind has been made and freed once: the first of each
// makes the system's own caches (the window class's cursor, the font mapper).
GuiObjects WarmCounts()
{
    for (const Case& c : kCases)
        c.free(c.make());
    return CountGuiObjects(GetCurrentProcessId());
}

} // namespace

TEST(GuiObjectsTest, EachObjectMadeCountsOnceAndGoesWhenFreed)
{
    WarmCounts();
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const GuiObjects before = CountGuiObjects(GetCurrentProcessId());
        ASSERT_GE(before.gdi, 0);
        ASSERT_GE(before.user, 0);
        ASSERT_GE(before.*c.field, 0);
        HANDLE made[kMade];
        for (HANDLE& handle : made)
        {
            handle = c.make();
            ASSERT_NE(nullptr, handle);
        }
        const GuiObjects held = CountGuiObjects(GetCurrentProcessId());
        EXPECT_EQ(before.*c.field + kMade, held.*c.field);
        if (c.user)
            EXPECT_EQ(before.user + kMade, held.user);
        else
            EXPECT_EQ(before.gdi + kMade, held.gdi);
        for (HANDLE handle : made)
            c.free(handle);
        const GuiObjects after = CountGuiObjects(GetCurrentProcessId());
        EXPECT_EQ(before.gdi, after.gdi);
        EXPECT_EQ(before.user, after.user);
        EXPECT_EQ(before.*c.field, after.*c.field);
    }
}

TEST(GuiObjectsTest, AWindowsChildrenAreItsProcesssWindows)
{
    WarmCounts();
    const GuiObjects before = CountGuiObjects(GetCurrentProcessId());
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, parent);
    HWND child = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 4, 4, parent, nullptr, nullptr, nullptr);
    HWND grandchild = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 2, 2, child, nullptr, nullptr, nullptr);
    HWND message = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(child && grandchild && message);
    const GuiObjects held = CountGuiObjects(GetCurrentProcessId());
    EXPECT_EQ(before.windows + 4, held.windows);
    EXPECT_EQ(before.sessionWindows + 4, held.sessionWindows);
    EXPECT_EQ(before.user + 4, held.user);
    DestroyWindow(message);
    DestroyWindow(parent);
    const GuiObjects after = CountGuiObjects(GetCurrentProcessId());
    EXPECT_EQ(before.windows, after.windows);
    EXPECT_EQ(before.user, after.user);
}
