#include <gtest/gtest.h>

#include "SFileTestSupport.h"
#include "SStringArray.h"
#include "SSystem.h"

TEST(SSystem, VersionCodesFollowTheTable)
{
    struct Case
    {
        int platform, major, minor, code;
    };
    const Case cases[] = {
        {1, 4, 0, 1}, {1, 4, 10, 3}, {1, 4, 90, 4}, {2, 4, 0, 2}, {2, 5, 0, 5}, {2, 5, 1, 6},
        {2, 5, 2, 6}, {2, 6, 0, 7}, {2, 7, 0, 8}, {2, 6, 1, 255}, {2, 10, 0, 255}, {0, 4, 0, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SSystem::GetVersionCode(c.platform, c.major, c.minor), c.code)
            << c.platform << " " << c.major << "." << c.minor;

    int platform = -1, major = -1, minor = -1;
    ASSERT_TRUE(SSystem::GetVersionNumbers(&platform, &major, &minor));
    EXPECT_EQ(platform, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(SSystem::GetWindowsVersion(), SSystem::GetVersionCode(platform, major, minor));
}

TEST(SSystem, WorkAreaMatchesTheSystem)
{
    EXPECT_FALSE(SSystem::GetWorkArea(nullptr));
    RECT expected;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &expected, 0));
    RECT area = {1, 2, 3, 4};
    ASSERT_TRUE(SSystem::GetWorkArea(&area));
    EXPECT_TRUE(EqualRect(&area, &expected));
    EXPECT_EQ(SSystem::GetWorkAreaLeft(), expected.left);
    EXPECT_EQ(SSystem::GetWorkAreaRight(), expected.right);
    EXPECT_EQ(SSystem::GetWorkAreaBottom(), expected.bottom);
    EXPECT_EQ(SSystem::GetWorkAreaWidth(), expected.right - expected.left);
    EXPECT_GT(SSystem::GetWorkAreaWidth(), 0);
}

TEST(SSystem, ProcessCountFindsThisProgramIgnoringCase)
{
    SString self = SSystem::GetAppPath();
    ASSERT_FALSE(self.IsEmpty());
    EXPECT_TRUE(SSystem::GetAppFolder().IsEqual(self.Left(self.ReverseFind('\\') + 1)));

    // The module match is checked on this process alone; one walk over all
    // processes is slow under Wine, so the full count runs once.
    HANDLE process = GetCurrentProcess();
    EXPECT_EQ(SSystem::CountModules(process, self.ToLower()), 1);
    EXPECT_EQ(SSystem::CountModules(process, self.ToUpper()), 1);
    EXPECT_EQ(SSystem::CountModules(process, SSystem::GetAppFolder() + "no-such-program.exe"), 0);
    EXPECT_EQ(SSystem::CountModules(process, ""), 0);
    EXPECT_EQ(SSystem::CountModules(nullptr, self), 0);

    EXPECT_GE(SSystem::GetProcessCount(nullptr), 1);
}

namespace
{
UINT seenFlags = 0;
DWORD seenReason = 0;
int exitCalls = 0;

BOOL RecordExit(UINT flags, DWORD reason)
{
    seenFlags = flags;
    seenReason = reason;
    exitCalls++;
    return TRUE;
}
}

TEST(SSystem, ShutdownAsksForAForcedPlannedShutdown)
{
    exitCalls = 0;
    SSystem::SetExitWindowsCall(RecordExit);
    SSystem::ShutdownWindows();
    SSystem::SetExitWindowsCall(nullptr);
    EXPECT_EQ(exitCalls, 1);
    EXPECT_EQ(seenFlags, static_cast<UINT>(EWX_SHUTDOWN | EWX_FORCEIFHUNG));
    EXPECT_EQ(seenReason, 0x80000000u);
}

TEST(SSystem, FontFamiliesAreCollected)
{
    SStringArray names;
    LOGFONTA font = {};
    EXPECT_EQ(SSystem::EnumFontProc(&font, nullptr, 0, reinterpret_cast<LPARAM>(&names)), 0);
    EXPECT_EQ(names.GetCount(), 0);
    strcpy(font.lfFaceName, "Tahoma");
    EXPECT_EQ(SSystem::EnumFontProc(&font, nullptr, 0, reinterpret_cast<LPARAM>(&names)), 1);
    ASSERT_EQ(names.GetCount(), 1);
    EXPECT_STREQ(names.GetAt(0), "Tahoma");

    SStringArray families;
    EXPECT_GT(SSystem::GetFontFamilies(&families), 0);
    EXPECT_EQ(SSystem::GetFontFamilies(nullptr), 0);
}

TEST(SSystem, PrivateFontsAreListedUntilRemoved)
{
    char folder[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(folder, MAX_PATH), 0u);
    SString source = SString(folder) + "\\Fonts\\tahoma.ttf";
    // Declared before the system object, so that the font is given back before its file goes.
    file_test::ScratchFile scratch("melvora-font-", "test.ttf");
    SString copy = scratch.path.c_str();
    ASSERT_TRUE(CopyFileA(source, copy, FALSE)) << source.GetBuffer() << " " << GetLastError();

    SSystem system;
    EXPECT_FALSE(system.RemoveFont(copy));
    EXPECT_FALSE(system.AddFont("bad*name.ttf"));
    EXPECT_FALSE(system.AddFont((scratch.path + ".missing.ttf").c_str()));
    EXPECT_EQ(system.GetFontCount(), 0);

    ASSERT_TRUE(system.AddFont(copy));
    EXPECT_EQ(system.GetFontCount(), 1);
    // Wine cannot take a font file back (RemoveFontResourceA fails there), so the
    // outcome is the system's; the list must follow it.
    bool removed = system.RemoveFont(copy.ToUpper());
    EXPECT_EQ(system.GetFontCount(), removed ? 0 : 1);
}
