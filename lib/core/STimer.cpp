#include "STimer.h"

#include <windows.h>
#include <mmsystem.h>
#include <limits.h>
#include <stdio.h>
#include "SLocale.h"

namespace
{
const int CycleYears = 28;
// Year index 0 of the weekday table is a year congruent to 21 modulo 28.
const int CycleBaseRemainder = 21;
const int TableFirstYear = 2009;
// Any 400 consecutive Gregorian years hold exactly this many days.
const int64_t DaysIn400Years = 146097;
const int64_t MonthsIn400Years = 4800;

double clockStartSeconds = 0.0;
bool highResolutionCounter = false;
double counterFrequency = 0.0;
int64_t counterStart = 0;

// Weekday (0 Sunday) of a Gregorian date, for building the table.
int ComputeWeekday(int year, int month, int day)
{
    static const int offsets[12] = { 0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4 };
    if (month < 3)
        year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

SString NumberText(int64_t n)
{
    char text[32];
    snprintf(text, sizeof(text), "%lld", static_cast<long long>(n));
    return SString(text);
}

// The last 2 or 3 decimal digits of n, zero-padded; all zeros below 0.
SString PadDigits(int n, int digits)
{
    char text[4] = "000";
    for (int i = digits - 1; i >= 0 && n > 0; --i, n /= 10)
        text[i] = static_cast<char>('0' + n % 10);
    text[digits] = 0;
    return SString(text);
}

// Moves the whole units of a span part that reaches unit into the next part.
void CarryOver(int64_t& part, int64_t& next, int unit)
{
    if (part >= unit)
    {
        next += part / unit;
        part %= unit;
    }
}

void ReplaceToken(SString& text, const char* token, const SString& value)
{
    text.Replace(token, value, 0, -1, true);
}

// The hour-to-millisecond tokens, shared by the date and the span patterns.
void ReplaceClockTokens(SString& text, int hours, int minutes, int seconds, int milliseconds)
{
    ReplaceToken(text, "#+h", STimer::Pad2(hours));
    ReplaceToken(text, "#h", NumberText(hours));
    ReplaceToken(text, "#+m", STimer::Pad2(minutes));
    ReplaceToken(text, "#m", NumberText(minutes));
    ReplaceToken(text, "#+s", STimer::Pad2(seconds));
    ReplaceToken(text, "#s", NumberText(seconds));
    ReplaceToken(text, "#x", NumberText(milliseconds / 100));
    ReplaceToken(text, "#+y", STimer::Pad2(milliseconds / 10));
    ReplaceToken(text, "#y", NumberText(milliseconds / 10));
    ReplaceToken(text, "#+z", STimer::Pad3(milliseconds));
    ReplaceToken(text, "#z", NumberText(milliseconds));
}
}

STimer::STimer()
    : spanMilliseconds(0), spanSeconds(0), spanMinutes(0), spanHours(0), spanDays(0),
      millisecond(0), second(0), minute(0), hour(0), day(1), month(1), year(0)
{
    char table[CycleYears * 12 + 1];
    for (int index = 0; index < CycleYears; ++index)
    {
        for (int m = 1; m <= 12; ++m)
            table[index * 12 + m - 1] = static_cast<char>('0' + ComputeWeekday(TableFirstYear + index, m, 1));
    }
    table[CycleYears * 12] = 0;
    weekdayTable = table;
}

STimer::~STimer()
{
}

bool STimer::IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int STimer::GetDaysInMonth(int year, int month)
{
    switch (month)
    {
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    default:
        return 0;
    }
}

bool STimer::IsValidDate(int year, int month, int day)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= GetDaysInMonth(year, month);
}

bool STimer::Set(int newYear, int newMonth, int newDay, int newHour, int newMinute, int newSecond,
                 int newMillisecond)
{
    if (!IsValidDate(newYear, newMonth, newDay) || newHour < 0 || newHour > 23 || newMinute < 0 ||
        newMinute > 59 || newSecond < 0 || newSecond > 59 || newMillisecond < 0 || newMillisecond > 999)
        return false;
    year = newYear;
    month = newMonth;
    day = newDay;
    hour = newHour;
    minute = newMinute;
    second = newSecond;
    millisecond = newMillisecond;
    return true;
}

void STimer::SetNow(bool local)
{
    SYSTEMTIME now;
    if (local)
        GetLocalTime(&now);
    else
        GetSystemTime(&now);
    Set(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

bool STimer::Assign(const STimer& other)
{
    return Set(other.year, other.month, other.day, other.hour, other.minute, other.second,
               other.millisecond);
}

int STimer::GetHour12() const
{
    if (hour == 0)
        return 12;
    return hour > 12 ? hour - 12 : hour;
}

int STimer::GetDayOfWeek(int forYear, int forMonth, int forDay) const
{
    if (forDay < 1 || forDay > 31 || forMonth < 1 || forMonth > 12 ||
        forDay > GetDaysInMonth(forYear, forMonth))
        return -1;
    // Non-negative remainder, so that years below 21 stay inside the table.
    int64_t index = (static_cast<int64_t>(forYear) - CycleBaseRemainder) % CycleYears;
    if (index < 0)
        index += CycleYears;
    int first = weekdayTable.GetAt(static_cast<int>(index * 12 + forMonth - 1)) - '0';
    return (first + forDay - 1) % 7;
}

int STimer::GetDayOfWeekOfDate() const
{
    return GetDayOfWeek(year, month, day);
}

SString STimer::GetDayName(int forYear, int forMonth, int forDay) const
{
    int weekday = GetDayOfWeek(forYear, forMonth, forDay);
    if (weekday < 0)
        return SString("");
    return SString(GetLocaleRecord()->dayNames[weekday]);
}

SString STimer::GetDayNameOfDate() const
{
    return GetDayName(year, month, day);
}

SString STimer::GetMonthName() const
{
    if (month < 1 || month > 12)
        return SString("");
    return SString(GetLocaleRecord()->monthNames[month - 1]);
}

bool STimer::Add(int years, int months, int days, int hours, int minutes, int seconds, int milliseconds)
{
    if (years < 0 || months < 0 || days < 0 || hours < 0 || minutes < 0 || seconds < 0 ||
        milliseconds < 0)
        return false;
    // 64-bit sums: large steps must fail cleanly, never wrap.
    int64_t ms = static_cast<int64_t>(millisecond) + milliseconds;
    int64_t s = static_cast<int64_t>(second) + seconds + ms / 1000;
    int64_t mi = static_cast<int64_t>(minute) + minutes + s / 60;
    int64_t h = static_cast<int64_t>(hour) + hours + mi / 60;
    int64_t d = static_cast<int64_t>(day) + days + h / 24;

    int64_t monthsCounted = 0;
    int64_t walkYear = year;
    int walkMonth = month;
    while (d > DaysIn400Years + 31)
    {
        d -= DaysIn400Years;
        monthsCounted += MonthsIn400Years;
        walkYear += 400;
    }
    for (;;)
    {
        int length = GetDaysInMonth(static_cast<int>(walkYear % 400), walkMonth);
        if (d <= length)
            break;
        d -= length;
        ++monthsCounted;
        if (++walkMonth > 12)
        {
            walkMonth = 1;
            ++walkYear;
        }
    }

    int64_t m = static_cast<int64_t>(month) + months + monthsCounted;
    int64_t newYear = static_cast<int64_t>(year) + years + (m - 1) / 12;
    int newMonth = static_cast<int>((m - 1) % 12 + 1);
    if (newYear > INT_MAX || newYear < INT_MIN)
        return false;
    int length = GetDaysInMonth(static_cast<int>(newYear), newMonth);
    if (d > length)
        d = length;
    return Set(static_cast<int>(newYear), newMonth, static_cast<int>(d), static_cast<int>(h % 24),
               static_cast<int>(mi % 60), static_cast<int>(s % 60), static_cast<int>(ms % 1000));
}

bool STimer::Subtract(int years, int months, int days, int hours, int minutes, int seconds,
                      int milliseconds)
{
    if (years < 0 || months < 0 || days < 0 || hours < 0 || minutes < 0 || seconds < 0 ||
        milliseconds < 0)
        return false;
    // Each field borrows just as many units of the next one as it needs.
    int64_t ms = static_cast<int64_t>(millisecond) - milliseconds;
    int64_t borrow = ms < 0 ? (-ms + 999) / 1000 : 0;
    ms += borrow * 1000;
    int64_t s = static_cast<int64_t>(second) - seconds - borrow;
    borrow = s < 0 ? (-s + 59) / 60 : 0;
    s += borrow * 60;
    int64_t mi = static_cast<int64_t>(minute) - minutes - borrow;
    borrow = mi < 0 ? (-mi + 59) / 60 : 0;
    mi += borrow * 60;
    int64_t h = static_cast<int64_t>(hour) - hours - borrow;
    borrow = h < 0 ? (-h + 23) / 24 : 0;
    h += borrow * 24;
    int64_t d = static_cast<int64_t>(day) - days - borrow;

    int64_t monthsCounted = 0;
    int64_t walkYear = year;
    int walkMonth = month;
    while (d <= -DaysIn400Years)
    {
        d += DaysIn400Years;
        monthsCounted += MonthsIn400Years;
        walkYear -= 400;
    }
    while (d <= 0)
    {
        if (--walkMonth < 1)
        {
            walkMonth = 12;
            --walkYear;
        }
        ++monthsCounted;
        d += GetDaysInMonth(static_cast<int>(walkYear % 400), walkMonth);
    }

    int64_t m = static_cast<int64_t>(month) - months - monthsCounted;
    int64_t yearsCounted = 0;
    if (m <= 0)
    {
        int64_t steps = -m / 12 + 1;
        m += steps * 12;
        yearsCounted = steps;
    }
    int64_t newYear = static_cast<int64_t>(year) - years - yearsCounted;
    if (newYear > INT_MAX || newYear < INT_MIN)
        return false;
    int newMonth = static_cast<int>(m);
    int length = GetDaysInMonth(static_cast<int>(newYear), newMonth);
    if (d > length)
        d = length;
    return Set(static_cast<int>(newYear), newMonth, static_cast<int>(d), static_cast<int>(h),
               static_cast<int>(mi), static_cast<int>(s), static_cast<int>(ms));
}

void STimer::SetSpan(int milliseconds, int seconds, int minutes, int hours, int days)
{
    int64_t ms = milliseconds;
    int64_t s = seconds;
    int64_t mi = minutes;
    int64_t h = hours;
    int64_t d = days;
    CarryOver(ms, s, 1000);
    CarryOver(s, mi, 60);
    CarryOver(mi, h, 60);
    CarryOver(h, d, 24);
    spanMilliseconds = static_cast<int32_t>(ms < 0 ? 0 : ms);
    spanSeconds = static_cast<int32_t>(s < 0 ? 0 : s);
    spanMinutes = static_cast<int32_t>(mi < 0 ? 0 : mi);
    spanHours = static_cast<int32_t>(h < 0 ? 0 : h);
    spanDays = static_cast<int32_t>(d > INT_MAX ? INT_MAX : d);
}

SString STimer::Format(const char* pattern) const
{
    SString text(pattern ? pattern : "");
    ReplaceToken(text, "#+Y", PadYear2(year));
    ReplaceToken(text, "#Y", NumberText(year));
    ReplaceToken(text, "#$M", GetMonthName());
    ReplaceToken(text, "#+M", Pad2(month));
    ReplaceToken(text, "#M", NumberText(month));
    ReplaceToken(text, "#$W", GetDayNameOfDate());
    ReplaceToken(text, "#W", NumberText(GetDayOfWeekOfDate()));
    ReplaceToken(text, "#+D", Pad2(day));
    ReplaceToken(text, "#D", NumberText(day));
    ReplaceToken(text, "#+H", Pad2(GetHour12()));
    ReplaceToken(text, "#H", NumberText(GetHour12()));
    ReplaceClockTokens(text, hour, minute, second, millisecond);
    ReplaceToken(text, "#a", SString(hour < 12 ? "am" : "pm"));
    ReplaceToken(text, "#A", SString(hour < 12 ? "AM" : "PM"));
    return text;
}

SString STimer::FormatSpan(const char* pattern) const
{
    SString text(pattern ? pattern : "");
    ReplaceToken(text, "#D", NumberText(spanDays));
    ReplaceClockTokens(text, spanHours, spanMinutes, spanSeconds, spanMilliseconds);
    return text;
}

SString STimer::PadYear2(int n)
{
    return Pad2(n);
}

SString STimer::Pad2(int n)
{
    return PadDigits(n, 2);
}

SString STimer::Pad3(int n)
{
    return PadDigits(n, 3);
}

void STimer::InitClock()
{
    clockStartSeconds = timeGetTime() / 1000.0;
    highResolutionCounter = false;
    counterFrequency = 0.0;
    counterStart = 0;
    LARGE_INTEGER frequency;
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart != 0)
    {
        highResolutionCounter = true;
        counterFrequency = static_cast<double>(frequency.QuadPart);
        LARGE_INTEGER count;
        if (QueryPerformanceCounter(&count))
            counterStart = count.QuadPart;
    }
}

double STimer::GetClockStart()
{
    return clockStartSeconds;
}

bool STimer::HasHighResolutionCounter()
{
    return highResolutionCounter;
}

double STimer::GetCounterFrequency()
{
    return counterFrequency;
}

int64_t STimer::GetCounterStart()
{
    return counterStart;
}
