#pragma once

#include <cmath>
#include <cstdint>

#include "quelt/datetime/datetime.h"

namespace quelt::calendar {

// Days per unit, multiplied rather than divided so that results round as the product does.
constexpr double kDaysPerMsec = 1.0 / 86400000.0;
constexpr double kDaysPerSecond = 1.0 / 86400.0;
constexpr double kDaysPerMinute = 1.0 / 1440.0;
constexpr double kDaysPerHour = 1.0 / 24.0;
constexpr double kDaysPerMonth = 30.6;
constexpr double kMonthsPerDay = 1.0 / 30.6;
constexpr double kMsecPerDay = 86400000.0;
constexpr std::int64_t kMsecPerDayInt = 86400000;

// The calendar arithmetic of every date conversion is defined here, so that
// it inlines into its callers.

inline bool IsLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

[[noreturn]] void ThrowBadMonth();

// Throws bad_date code 2 for a month outside 1..12.
inline int MonthLength(int month, std::int64_t year) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) ThrowBadMonth();
    return month == 2 && IsLeap(year) ? 29 : kLengths[month - 1];
}

// Days of the year before the month (1..13).
inline int DaysBefore(int month, bool leap) {
    // Days of a common year before each month, and before a 13th.
    static constexpr int kDaysBefore[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
    return kDaysBefore[month - 1] + (leap && month > 2 ? 1 : 0);
}

// Day number of a valid date; the double formula of the calendar, exact up to the largest year.
inline double DayNumber(int day, int month, std::int64_t year) {
    if (month > 13) ThrowBadMonth();
    const int dayOfYear = day + (month > 1 ? DaysBefore(month, IsLeap(year)) : 0);
    // Over the valid years the integer count equals the double formula (both
    // exact), and costs less; unsigned, as the years counted are never negative.
    // 32 bits hold the count up to the largest year.
    if (year >= 1 && year <= std::int64_t{tdatetime::MaxYear} + 1) {
        const std::uint32_t y = static_cast<std::uint32_t>(year - 1);
        return static_cast<double>(std::int64_t{y / 4 + 365 * y - y / 100 + y / 400} + dayOfYear);
    }
    const double y = static_cast<double>(year - 1);
    return std::floor(y * 0.25) + 365.0 * y - std::floor(y * 0.01) + std::floor(y * 0.0025) + dayOfYear;
}

struct Date {
    int day;
    int month;
    std::int64_t year;
};

// Counted from 1 March of year 0, so that a leap day ends its year and each
// 400-year era, each year and the months from March follow fixed patterns.
// U is wide enough for the count and five times a day of the year.
template <class U>
[[gnu::always_inline]] inline Date DecodeDaysIn(U days) {
    const U era = days / 146097;
    const U dayOfEra = days % 146097;
    const U yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const U dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const U fromMarch = (5 * dayOfYear + 2) / 153;
    const int month = static_cast<int>(fromMarch < 10 ? fromMarch + 3 : fromMarch - 9);
    const int day = static_cast<int>(dayOfYear - (153 * fromMarch + 2) / 5 + 1);
    return {day, month,
            static_cast<std::int64_t>(std::uint64_t{era} * 400 + yearOfEra) + (month <= 2 ? 1 : 0)};
}

// The date of a whole day number of at least 1.
inline Date DecodeDays(std::int64_t dayNumber) {
    // Every valid date counts in 32 bits, whose divisions cost less; unsigned
    // 64-bit arithmetic reaches every other positive day number.
    const std::uint64_t days = static_cast<std::uint64_t>(dayNumber) + 305;
    if (days <= UINT32_MAX) return DecodeDaysIn(static_cast<std::uint32_t>(days));
    return DecodeDaysIn(days);
}

// A value split into whole days (toward zero) and the milliseconds of its
// fraction, rounded to the nearest and carrying a full day into the days.
struct MsecSplit {
    double whole;
    std::int64_t msec;
};
MsecSplit SplitRounded(double value);

struct TimeParts {
    int hour;
    int minute;
    int second;
    int millisecond;
};
// Truncating division as C div does, so negative counts give negative parts.
TimeParts SplitMsec(std::int64_t msec);
// The fraction's milliseconds rounded to the nearest (to the nearest 10, 100
// or 1000 where the value no longer resolves single ones); a whole day stays 86400000.
std::int64_t FractionMsec(double value);

// A whole day number plus a time of day, kept on that day: where the double
// no longer resolves the time (far future), a time late in the day would
// otherwise round up to the next midnight.
double LastBeforeMidnight(double dayNumber, double sum);
inline double OnDay(double dayNumber, double fraction) {
    // The sum is below the next midnight almost always.
    const double sum = dayNumber + fraction;
    return sum < dayNumber + 1.0 ? sum : LastBeforeMidnight(dayNumber, sum);
}

// The whole day count of a value without a time of day, -1 for any other
// value. Cheaper than std::trunc or std::floor, which x86-64 without SSE4.1
// has no instruction for; every date lies below 2^53.
inline std::int64_t WholeDays(double value) {
    if (!(value >= 0.0 && value < 9007199254740992.0)) return -1;
    const auto whole = static_cast<std::int64_t>(value);
    return static_cast<double>(whole) == value ? whole : -1;
}

// The day count of an hour, minute, second and millisecond, in 64 bits so no part overflows.
double TimeFraction(std::int64_t hour, std::int64_t minute, std::int64_t second, std::int64_t millisecond);

}  // namespace quelt::calendar
