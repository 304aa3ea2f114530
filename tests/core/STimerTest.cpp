#include <gtest/gtest.h>
#include <windows.h>
#include <limits.h>
#include "SLocale.h"
#include "STimer.h"

namespace
{
// Days since 1 January 2009 (a Thursday) by plain counting, to check weekdays independently.
int WeekdayByCounting(int year, int month, int day)
{
    long long days = 0;
    for (int y = 2009; y < year; ++y)
        days += STimer::IsLeapYear(y) ? 366 : 365;
    for (int m = 1; m < month; ++m)
        days += STimer::GetDaysInMonth(year, m);
    days += day - 1;
    return static_cast<int>((4 + days) % 7);
}

struct DateTime { int year, month, day, hour, minute, second, ms; };

void ExpectAt(const STimer& timer, const DateTime& expected, const char* what)
{
    EXPECT_EQ(expected.year, timer.GetYear()) << what;
    EXPECT_EQ(expected.month, timer.GetMonth()) << what;
    EXPECT_EQ(expected.day, timer.GetDay()) << what;
    EXPECT_EQ(expected.hour, timer.GetHour()) << what;
    EXPECT_EQ(expected.minute, timer.GetMinute()) << what;
    EXPECT_EQ(expected.second, timer.GetSecond()) << what;
    EXPECT_EQ(expected.ms, timer.GetMillisecond()) << what;
}

bool SetTo(STimer& timer, const DateTime& at)
{
    return timer.Set(at.year, at.month, at.day, at.hour, at.minute, at.second, at.ms);
}
}

TEST(STimer, CalendarRules)
{
    EXPECT_TRUE(STimer::IsLeapYear(2000));
    EXPECT_FALSE(STimer::IsLeapYear(1900));
    EXPECT_TRUE(STimer::IsLeapYear(2008));
    EXPECT_FALSE(STimer::IsLeapYear(2009));
    EXPECT_EQ(29, STimer::GetDaysInMonth(2008, 2));
    EXPECT_EQ(28, STimer::GetDaysInMonth(2009, 2));
    EXPECT_EQ(30, STimer::GetDaysInMonth(2009, 11));
    EXPECT_EQ(31, STimer::GetDaysInMonth(2009, 12));
    EXPECT_EQ(0, STimer::GetDaysInMonth(2009, 13));
    EXPECT_EQ(0, STimer::GetDaysInMonth(2009, 0));
    EXPECT_FALSE(STimer::IsValidDate(2009, 2, 29));
    EXPECT_TRUE(STimer::IsValidDate(2008, 2, 29));
    EXPECT_FALSE(STimer::IsValidDate(2009, 4, 0));
}

TEST(STimer, StartsAtYearZeroAndSetValidates)
{
    STimer timer;
    ExpectAt(timer, { 0, 1, 1, 0, 0, 0, 0 }, "fresh");
    EXPECT_EQ(0, timer.GetSpanDays());

    EXPECT_TRUE(timer.Set(2009, 12, 31, 23, 59, 59, 999));
    const DateTime rejected[] = {
        { 2009, 2, 29, 0, 0, 0, 0 }, { 2009, 13, 1, 0, 0, 0, 0 }, { 2009, 1, 1, 24, 0, 0, 0 },
        { 2009, 1, 1, 0, 60, 0, 0 }, { 2009, 1, 1, 0, 0, 60, 0 }, { 2009, 1, 1, 0, 0, 0, 1000 },
        { 2009, 1, 1, -1, 0, 0, 0 },
    };
    for (const DateTime& at : rejected)
    {
        EXPECT_FALSE(SetTo(timer, at)) << at.month << " " << at.day << " " << at.hour;
        ExpectAt(timer, { 2009, 12, 31, 23, 59, 59, 999 }, "unchanged");
    }

    STimer copy;
    EXPECT_TRUE(copy.Assign(timer));
    ExpectAt(copy, { 2009, 12, 31, 23, 59, 59, 999 }, "assigned");
}

TEST(STimer, DayOfWeekFollowsTheCalendar)
{
    STimer timer;
    EXPECT_EQ(6, timer.GetDayOfWeek(2009, 8, 1));
    EXPECT_EQ(6, timer.GetDayOfWeek(2012, 12, 1));
    EXPECT_EQ(-1, timer.GetDayOfWeek(2009, 2, 29));
    EXPECT_EQ(-1, timer.GetDayOfWeek(2009, 13, 1));
    EXPECT_EQ(-1, timer.GetDayOfWeek(2009, 1, 32));
    EXPECT_EQ(-1, timer.GetDayOfWeek(2009, 1, 0));
    for (int year = 2009; year <= 2099; ++year)
    {
        for (int month = 1; month <= 12; ++month)
        {
            for (int day = 1; day <= STimer::GetDaysInMonth(year, month); day += 9)
                ASSERT_EQ(WeekdayByCounting(year, month, day), timer.GetDayOfWeek(year, month, day))
                    << year << "-" << month << "-" << day;
        }
    }
    // The fresh timer's year 0 and other small years stay inside the table.
    for (int year = -60; year < 21; ++year)
    {
        int weekday = timer.GetDayOfWeek(year, 12, 31);
        EXPECT_GE(weekday, 0) << year;
        EXPECT_LE(weekday, 6) << year;
    }
    int fresh = timer.GetDayOfWeekOfDate();
    EXPECT_EQ(timer.GetDayOfWeek(28 * 72, 1, 1), fresh);
}

TEST(STimer, DayAndMonthNamesComeFromTheLocale)
{
    ASSERT_TRUE(SelectLocaleRecord(0));
    STimer timer;
    EXPECT_STREQ("Saturday", timer.GetDayName(2009, 8, 1));
    EXPECT_STREQ("", timer.GetDayName(2009, 2, 29));
    ASSERT_TRUE(timer.Set(2009, 8, 3, 0, 0, 0, 0));
    EXPECT_STREQ("Monday", timer.GetDayNameOfDate());
    EXPECT_STREQ("August", timer.GetMonthName());
    EXPECT_STREQ("August 2009", timer.Format("#$M #Y"));

    ASSERT_TRUE(SelectLocaleRecord(2));
    EXPECT_STREQ("Lundi", timer.GetDayNameOfDate());
    EXPECT_STREQ("Ao\xFBt", timer.GetMonthName());
    SelectLocaleRecord(0);
}

TEST(STimer, AddAndSubtractStepThroughTheCalendar)
{
    struct Case { bool add; DateTime from; int step[7]; DateTime to; };
    const Case cases[] = {
        { true, { 2009, 12, 31, 23, 59, 59, 999 }, { 0, 0, 0, 0, 0, 0, 1 }, { 2010, 1, 1, 0, 0, 0, 0 } },
        { true, { 2009, 1, 31, 0, 0, 0, 0 }, { 0, 1, 0, 0, 0, 0, 0 }, { 2009, 2, 28, 0, 0, 0, 0 } },
        { true, { 2008, 1, 31, 0, 0, 0, 0 }, { 0, 1, 0, 0, 0, 0, 0 }, { 2008, 2, 29, 0, 0, 0, 0 } },
        { true, { 2009, 12, 15, 0, 0, 0, 0 }, { 0, 12, 0, 0, 0, 0, 0 }, { 2010, 12, 15, 0, 0, 0, 0 } },
        { true, { 2008, 2, 28, 0, 0, 0, 0 }, { 0, 0, 1, 0, 0, 0, 0 }, { 2008, 2, 29, 0, 0, 0, 0 } },
        { true, { 2009, 2, 28, 0, 0, 0, 0 }, { 0, 0, 1, 0, 0, 0, 0 }, { 2009, 3, 1, 0, 0, 0, 0 } },
        { true, { 2009, 3, 1, 10, 0, 0, 0 }, { 1, 0, 365, 25, 61, 61, 1001 }, { 2011, 3, 2, 12, 2, 2, 1 } },
        { true, { 2000, 1, 1, 0, 0, 0, 0 }, { 0, 0, 146097, 0, 0, 0, 0 }, { 2400, 1, 1, 0, 0, 0, 0 } },
        { false, { 2009, 5, 5, 10, 0, 0, 0 }, { 0, 0, 0, 0, 0, 0, 1000 }, { 2009, 5, 5, 9, 59, 59, 0 } },
        { false, { 2008, 3, 1, 0, 0, 0, 0 }, { 0, 0, 1, 0, 0, 0, 0 }, { 2008, 2, 29, 0, 0, 0, 0 } },
        { false, { 2009, 3, 31, 0, 0, 0, 0 }, { 0, 1, 0, 0, 0, 0, 0 }, { 2009, 2, 28, 0, 0, 0, 0 } },
        { false, { 2010, 1, 1, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0, 0, 1 }, { 2009, 12, 31, 23, 59, 59, 999 } },
        { false, { 2010, 1, 15, 0, 0, 0, 0 }, { 0, 13, 0, 0, 0, 0, 0 }, { 2008, 12, 15, 0, 0, 0, 0 } },
        { false, { 2010, 1, 15, 0, 0, 0, 0 }, { 0, 1, 0, 0, 0, 0, 0 }, { 2009, 12, 15, 0, 0, 0, 0 } },
        { false, { 2400, 1, 1, 0, 0, 0, 0 }, { 0, 0, 146097, 0, 0, 0, 0 }, { 2000, 1, 1, 0, 0, 0, 0 } },
    };
    for (const Case& c : cases)
    {
        STimer timer;
        ASSERT_TRUE(SetTo(timer, c.from));
        const int* n = c.step;
        EXPECT_TRUE(c.add ? timer.Add(n[0], n[1], n[2], n[3], n[4], n[5], n[6])
                          : timer.Subtract(n[0], n[1], n[2], n[3], n[4], n[5], n[6]));
        ExpectAt(timer, c.to, c.add ? "add" : "subtract");
    }
}

TEST(STimer, AddAndSubtractRejectBadStepsAndUndoEachOther)
{
    STimer timer;
    ASSERT_TRUE(timer.Set(2009, 6, 15, 12, 30, 30, 500));
    const int negatives[7][7] = {
        { -1, 0, 0, 0, 0, 0, 0 }, { 0, -1, 0, 0, 0, 0, 0 }, { 0, 0, -1, 0, 0, 0, 0 },
        { 0, 0, 0, -1, 0, 0, 0 }, { 0, 0, 0, 0, -1, 0, 0 }, { 0, 0, 0, 0, 0, -1, 0 },
        { 0, 0, 0, 0, 0, 0, -1 },
    };
    for (const auto& n : negatives)
    {
        EXPECT_FALSE(timer.Add(n[0], n[1], n[2], n[3], n[4], n[5], n[6]));
        EXPECT_FALSE(timer.Subtract(n[0], n[1], n[2], n[3], n[4], n[5], n[6]));
    }
    // Steps whose result leaves the year range fail without wrapping around.
    EXPECT_FALSE(timer.Add(INT_MAX, 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(timer.Subtract(INT_MAX, INT_MAX, 0, 0, 0, 0, 0));
    ExpectAt(timer, { 2009, 6, 15, 12, 30, 30, 500 }, "unchanged");

    // Large steps finish quickly and come back exactly.
    ASSERT_TRUE(timer.Add(0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    EXPECT_GT(timer.GetYear(), 5000000);
    ASSERT_TRUE(timer.Subtract(0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    ExpectAt(timer, { 2009, 6, 15, 12, 30, 30, 500 }, "round trip");

    for (int days = 0; days < 800; days += 7)
    {
        ASSERT_TRUE(timer.Add(0, 0, days, 5, 0, 0, 0));
        ASSERT_TRUE(timer.Subtract(0, 0, days, 5, 0, 0, 0));
        ExpectAt(timer, { 2009, 6, 15, 12, 30, 30, 500 }, "days");
    }
}

TEST(STimer, FormatReplacesEveryToken)
{
    STimer timer;
    ASSERT_TRUE(timer.Set(2009, 7, 5, 8, 3, 0, 0));
    EXPECT_STREQ("05.07.2009 08:03", timer.Format("#+D.#+M.#Y #+h:#+m"));

    ASSERT_TRUE(timer.Set(2009, 7, 5, 0, 30, 0, 7));
    EXPECT_STREQ("12 am", timer.Format("#+H #a"));
    EXPECT_STREQ("007", timer.Format("#+z"));

    ASSERT_TRUE(timer.Set(2012, 12, 1, 14, 5, 9, 456));
    struct Case { const char* pattern; const char* expected; };
    const Case cases[] = {
        { "#+Y|#Y|#+M|#M|#W", "12|2012|12|12|6" },
        { "#+D|#D|#+H|#H|#+h|#h", "01|1|02|2|14|14" },
        { "#+m|#m|#+s|#s", "05|5|09|9" },
        { "#x|#+y|#y|#+z|#z|#a|#A", "4|45|45|456|456|pm|PM" },
        { "#Y-#Y", "2012-2012" },
        { "no tokens #", "no tokens #" },
        { "", "" },
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, timer.Format(c.pattern)) << c.pattern;
    EXPECT_STREQ("", timer.Format(nullptr));
}

TEST(STimer, SpanCarriesAndFormats)
{
    STimer timer;
    EXPECT_STREQ("0:00:00", timer.FormatSpan("#h:#+m:#+s"));
    timer.SetSpan(0, 5, 61, 0, 0);
    EXPECT_STREQ("1:01:05", timer.FormatSpan("#h:#+m:#+s"));

    timer.SetSpan(90061007, 0, 0, 0, 0);
    EXPECT_EQ(1, timer.GetSpanDays());
    EXPECT_EQ(1, timer.GetSpanHours());
    EXPECT_EQ(1, timer.GetSpanMinutes());
    EXPECT_EQ(1, timer.GetSpanSeconds());
    EXPECT_EQ(7, timer.GetSpanMilliseconds());
    EXPECT_STREQ("1 01:01:01.007 0|00|0|7", timer.FormatSpan("#D #+h:#+m:#+s.#+z #x|#+y|#y|#z"));

    timer.SetSpan(-5, -1, 30, -2, -3);
    EXPECT_EQ(0, timer.GetSpanMilliseconds());
    EXPECT_EQ(0, timer.GetSpanSeconds());
    EXPECT_EQ(30, timer.GetSpanMinutes());
    EXPECT_EQ(0, timer.GetSpanHours());
    EXPECT_EQ(-3, timer.GetSpanDays());
}

TEST(STimer, PaddingAndTwelveHourClock)
{
    struct Case { int n; const char* two; const char* three; };
    const Case cases[] = {
        { -4, "00", "000" }, { 0, "00", "000" }, { 7, "07", "007" }, { 42, "42", "042" },
        { 123, "23", "123" }, { 1234, "34", "234" },
    };
    for (const Case& c : cases)
    {
        EXPECT_STREQ(c.two, STimer::Pad2(c.n)) << c.n;
        EXPECT_STREQ(c.two, STimer::PadYear2(c.n)) << c.n;
        EXPECT_STREQ(c.three, STimer::Pad3(c.n)) << c.n;
    }
    STimer timer;
    const int hours[][2] = { { 0, 12 }, { 1, 1 }, { 12, 12 }, { 13, 1 }, { 23, 11 } };
    for (const auto& h : hours)
    {
        ASSERT_TRUE(timer.Set(2009, 1, 1, h[0], 0, 0, 0));
        EXPECT_EQ(h[1], timer.GetHour12()) << h[0];
    }
}

TEST(STimer, SetNowAndClockStart)
{
    SYSTEMTIME before;
    GetSystemTime(&before);
    STimer timer;
    timer.SetNow(false);
    EXPECT_GE(timer.GetYear(), before.wYear);
    EXPECT_TRUE(STimer::IsValidDate(timer.GetYear(), timer.GetMonth(), timer.GetDay()));
    STimer local;
    local.SetNow(true);
    EXPECT_GE(local.GetYear(), 2000);

    STimer::InitClock();
    EXPECT_GE(STimer::GetClockStart(), 0.0);
    ASSERT_TRUE(STimer::HasHighResolutionCounter());
    EXPECT_GT(STimer::GetCounterFrequency(), 0.0);
    LARGE_INTEGER now;
    ASSERT_TRUE(QueryPerformanceCounter(&now));
    EXPECT_LE(STimer::GetCounterStart(), now.QuadPart);
    EXPECT_GT(STimer::GetCounterStart(), 0);
}
