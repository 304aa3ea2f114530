#pragma once

#include <stdint.h>
#include "SString.h"

// A calendar date with a time of day, and separately a time span, with
// calendar arithmetic and "#"-token formatting. Also keeps the process clock
// start that library start-up records once.
class STimer
{
public:
    // 1 January of year 0, 00:00:00.000, zero span.
    STimer();
    // Frees the weekday table.
    virtual ~STimer();

    // Gregorian leap year rule.
    static bool IsLeapYear(int year);
    // Days of the month, 0 for a month outside 1-12.
    static int GetDaysInMonth(int year, int month);
    // Month 1-12 and day 1 .. days of that month.
    static bool IsValidDate(int year, int month, int day);

    // Stores the date and time when all are valid; otherwise false and nothing changes.
    bool Set(int year, int month, int day, int hour, int minute, int second, int millisecond);
    // The current local (or UTC) date and time.
    void SetNow(bool local);
    // Set with the other timer's date and time.
    bool Assign(const STimer& other);

    // Date and time fields.
    int GetMillisecond() const { return millisecond; }
    int GetSecond() const { return second; }
    int GetMinute() const { return minute; }
    int GetHour() const { return hour; }
    int GetDay() const { return day; }
    int GetMonth() const { return month; }
    int GetYear() const { return year; }
    // The hour on a 12-hour clock (0 gives 12).
    int GetHour12() const;

    // Span fields.
    int GetSpanMilliseconds() const { return spanMilliseconds; }
    int GetSpanSeconds() const { return spanSeconds; }
    int GetSpanMinutes() const { return spanMinutes; }
    int GetSpanHours() const { return spanHours; }
    int GetSpanDays() const { return spanDays; }

    // 0 (Sunday) .. 6 (Saturday) by the 28-year cycle, -1 for an invalid date.
    int GetDayOfWeek(int year, int month, int day) const;
    // GetDayOfWeek of the timer's own date.
    int GetDayOfWeekOfDate() const;
    // The weekday's name in the current locale record, "" for an invalid date.
    SString GetDayName(int year, int month, int day) const;
    // GetDayName of the timer's own date.
    SString GetDayNameOfDate() const;
    // The current locale record's name of the timer's month.
    SString GetMonthName() const;

    // Steps forward with calendar carries; false for a negative argument or an invalid result.
    bool Add(int years, int months, int days, int hours, int minutes, int seconds, int milliseconds);
    // Steps back with calendar borrows; false for a negative argument or an invalid result.
    bool Subtract(int years, int months, int days, int hours, int minutes, int seconds, int milliseconds);
    // Stores a time span, carrying overflowing parts upwards.
    void SetSpan(int milliseconds, int seconds, int minutes, int hours, int days);

    // The date and time written through the "#" tokens of the pattern.
    SString Format(const char* pattern) const;
    // The span written through the "#" tokens of the pattern.
    SString FormatSpan(const char* pattern) const;

    // Two-digit year text.
    static SString PadYear2(int n);
    // Two-digit text: "00" below 0, the last two digits from 100 on.
    static SString Pad2(int n);
    // Three-digit text: "000" below 0, the last three digits from 1000 on.
    static SString Pad3(int n);

    // Records the process clock start; called once by library start-up.
    static void InitClock();
    // The multimedia clock at InitClock, in seconds.
    static double GetClockStart();
    // True when InitClock found a high-resolution performance counter.
    static bool HasHighResolutionCounter();
    // The performance counter's frequency, 0 without one.
    static double GetCounterFrequency();
    // The performance counter's reading at InitClock.
    static int64_t GetCounterStart();

private:
    int32_t spanMilliseconds;
    int32_t spanSeconds;
    int32_t spanMinutes;
    int32_t spanHours;
    int32_t spanDays;
    int32_t millisecond;
    int32_t second;
    int32_t minute;
    int32_t hour;
    int32_t day;
    int32_t month;
    int32_t year;
    // Weekday of the first of each month over one 28-year cycle, one digit each.
    SString weekdayTable;
};
