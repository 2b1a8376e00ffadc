#pragma once

#include <cstdint>

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

// Throws bad_date code 2 for a month outside 1..12.
int MonthLength(int month, std::int64_t year);
// Day number of a valid date; the double formula of the calendar, exact up to the largest year.
double DayNumber(int day, int month, std::int64_t year);

struct Date {
    int day;
    int month;
    std::int64_t year;
};
// The date of a whole day number of at least 1.
Date DecodeDays(std::int64_t dayNumber);

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
double OnDay(double dayNumber, double fraction);

// The day count of an hour, minute, second and millisecond, in 64 bits so no part overflows.
double TimeFraction(std::int64_t hour, std::int64_t minute, std::int64_t second, std::int64_t millisecond);

}  // namespace quelt::calendar
