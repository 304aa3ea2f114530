#include <gtest/gtest.h>
#include <windows.h>

TEST(Harness, RunsUnderWindows)
{
    EXPECT_EQ(GetACP(), 1252u);
}
