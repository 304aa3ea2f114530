#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "PCommandLine.h"
#include "PProgramWait.h"
#include "SSystem.h"

TEST(PCommandLine, SplitsTheMainProgramsCommandLine)
{
    const wchar_t* line =
        L"\"C:\\Program Files\\Melvora\\Update.exe\" 3735928559 \"http://127.0.0.1/p.bin\" "
        L"\"C:\\Program Files\\Melvora\\\" \"C:\\Program Files\\Melvora\\melvora.exe\"";
    EXPECT_EQ(PCommandLine::GetCommandArgCount(line), 4);
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 0, true), "3735928559");
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 1, true), "http://127.0.0.1/p.bin");
    // The folder keeps its trailing backslash and the next argument stays separate.
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 2, true), "C:\\Program Files\\Melvora\\");
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 3, true), "C:\\Program Files\\Melvora\\melvora.exe");
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 4, true), "");
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, -1, true), "");
}

TEST(PCommandLine, CountsDecideTheMode)
{
    struct Case
    {
        const wchar_t* line;
        int count;
    };
    const Case cases[] = {
        {L"Update.exe", 0},
        {L"Update.exe 1 2 3", 3},
        {L"Update.exe 1 2 3 4", 4},
        {L"Update.exe 1 2 3 4 5", 5},
        {L"Update.exe \"\" \"\" \"\" \"\"", 4},
        {L"Update.exe 12 \"a b\" \"c\\\" d", 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PCommandLine::GetCommandArgCount(c.line), c.count) << c.count;
    EXPECT_EQ(PCommandLine::GetCommandArgCount(nullptr), 0);
}

TEST(PCommandLine, QuotesAreRemovedEitherWay)
{
    const wchar_t* line = L"Update.exe \"a b\" plain";
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 0, false), "a b");
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 0, true), "a b");
    EXPECT_STREQ(PCommandLine::GetCommandArg(line, 1, false), "plain");
}

TEST(PCommandLine, ChecksumIsOneToTenDigits)
{
    struct Case
    {
        const char* text;
        bool ok;
        uint32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"2147483648", true, 0x80000000u},
        {"4294967295", true, 0xFFFFFFFFu},
        {"0000000001", true, 1},
        {"4294967296", false, 0},
        {"99999999999", false, 0},
        {"00000000001", false, 0},
        {"", false, 0},
        {"-1", false, 0},
        {"+1", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"12a", false, 0},
        {"0x10", false, 0},
        {"\xd9\xa1", false, 0},
    };
    for (const Case& c : cases)
    {
        uint32_t value = 7;
        EXPECT_EQ(ParseChecksum(c.text, &value), c.ok) << c.text;
        if (c.ok)
        {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    EXPECT_FALSE(ParseChecksum(nullptr, nullptr));
}

TEST(PProgramWait, EndsAtOnceWhenTheProgramIsNotRunning)
{
    // With a long pause, any pause taken would show.
    DWORD start = timeGetTime();
    EXPECT_TRUE(WaitForProgramEnd("C:\\nowhere\\melvora-not-running.exe", 10000, 8000));
    EXPECT_LT(timeGetTime() - start, 6000u);
}

TEST(PProgramWait, GivesUpAfterTheLimitWithoutSpinning)
{
    FILETIME created, ended, kernelBefore, userBefore, kernelAfter, userAfter;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernelBefore, &userBefore);
    DWORD start = timeGetTime();
    // This test program has itself loaded, so the wait never sees it end.
    EXPECT_FALSE(WaitForProgramEnd(SSystem::GetAppPath(), 600, 100));
    DWORD elapsed = timeGetTime() - start;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernelAfter, &userAfter);
    EXPECT_GE(elapsed, 600u);
    // Generous: a loaded machine may be slow to hand the processor back.
    EXPECT_LT(elapsed, 6000u);
    auto ticks = [](const FILETIME& time) { return ((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime; };
    uint64_t busy = ticks(userAfter) - ticks(userBefore);
    // A busy wait would use the processor the whole 600 ms (6,000,000 ticks of 100 ns).
    EXPECT_LT(busy, 3000000u);
}
