#include <gtest/gtest.h>

#include "SDll.h"

TEST(SDll, LoadLookUpAndFree)
{
    SDll dll;
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_EQ(dll.GetProc("GetFileVersionInfoSizeA"), nullptr);
    EXPECT_FALSE(dll.Free());

    EXPECT_FALSE(dll.Load("melvora-no-such-library.dll"));
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_FALSE(dll.Load(""));

    ASSERT_TRUE(dll.Load("version.dll"));
    EXPECT_TRUE(dll.IsLoaded());
    EXPECT_EQ(dll.GetProc("GetFileVersionInfoSizeA"),
              GetProcAddress(GetModuleHandleA("version.dll"), "GetFileVersionInfoSizeA"));
    EXPECT_NE(dll.GetProc("GetFileVersionInfoSizeA"), nullptr);
    EXPECT_EQ(dll.GetProc("NoSuchFunction"), nullptr);
    EXPECT_EQ(dll.GetProc(nullptr), nullptr);

    // Loading again frees the first library.
    ASSERT_TRUE(dll.Load("mpr.dll"));
    EXPECT_NE(dll.GetProc("WNetGetConnectionA"), nullptr);
    EXPECT_EQ(dll.GetProc("GetFileVersionInfoSizeA"), nullptr);

    EXPECT_TRUE(dll.Free());
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_FALSE(dll.Free());
    EXPECT_EQ(dll.GetProc("WNetGetConnectionA"), nullptr);
}

TEST(SDll, DestructorReleasesTheLibrary)
{
    ASSERT_EQ(GetModuleHandleA("mprapi.dll"), nullptr);
    {
        SDll dll;
        ASSERT_TRUE(dll.Load("mprapi.dll"));
        EXPECT_NE(GetModuleHandleA("mprapi.dll"), nullptr);
    }
    EXPECT_EQ(GetModuleHandleA("mprapi.dll"), nullptr);
}

TEST(SDll, LoadProcLoadsOnceAndKeepsTheLibrary)
{
    SDll held;
    struct Case
    {
        SDll* holder;
        const char* file;
        const char* name;
        bool found;
        bool loadedAfter;
    };
    const Case cases[] = {
        {nullptr, "version.dll", "GetFileVersionInfoSizeA", false, false},
        {&held, "melvora-no-such-library.dll", "Anything", false, false},
        {&held, "version.dll", "NoSuchFunction", false, true},
        {&held, "version.dll", "GetFileVersionInfoSizeA", true, true},
        // The held library answers; the name of another is not loaded over it.
        {&held, "mpr.dll", "GetFileVersionInfoA", true, true},
        {&held, "mpr.dll", "WNetGetConnectionA", false, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        FARPROC proc = SLoadProc(c.holder, c.file, c.name);
        EXPECT_EQ(c.found, proc != nullptr);
        EXPECT_EQ(c.loadedAfter, held.IsLoaded());
        if (c.found)
        {
            EXPECT_EQ(proc, GetProcAddress(GetModuleHandleA("version.dll"), c.name));
        }
    }
}
