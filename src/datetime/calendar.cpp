#include "datetime/calendar_p.h"

#include <cmath>

#include "core/numeric_p.h"
#include "quelt/datetime/datetime.h"

namespace quelt::calendar {

namespace {

bool IsLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days of a common year before each month, and before a 13th.
constexpr int kDaysBefore[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// Days of the year before the month (1..13).
int DaysBefore(int month, bool leap) { return kDaysBefore[month - 1] + (leap && month > 2 ? 1 : 0); }

}  // namespace

int MonthLength(int month, std::int64_t year) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) throw bad_date(2);
    return month == 2 && IsLeap(year) ? 29 : kLengths[month - 1];
}

double DayNumber(int day, int month, std::int64_t year) {
    if (month > 13) throw bad_date(2);
    const int dayOfYear = day + (month > 1 ? DaysBefore(month, IsLeap(year)) : 0);
    // Over the valid years the integer count equals the double formula (both exact), and costs less.
    if (year >= 1 && year <= std::int64_t{tdatetime::MaxYear} + 1) {
        const std::int64_t y = year - 1;
        return static_cast<double>(y / 4 + 365 * y - y / 100 + y / 400 + dayOfYear);
    }
    const double y = static_cast<double>(year - 1);
    return std::floor(y * 0.25) + 365.0 * y - std::floor(y * 0.01) + std::floor(y * 0.0025) + dayOfYear;
}

// Counted from 1 March of year 0, so that a leap day ends its year and each
// 400-year era, each year and the months from March follow fixed patterns.
// Unsigned arithmetic reaches every positive day number without overflow.
Date DecodeDays(std::int64_t dayNumber) {
    const std::uint64_t days = static_cast<std::uint64_t>(dayNumber) + 305;
    const std::uint64_t era = days / 146097;
    const std::uint64_t dayOfEra = days % 146097;
    const std::uint64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::uint64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::uint64_t fromMarch = (5 * dayOfYear + 2) / 153;
    const int month = static_cast<int>(fromMarch < 10 ? fromMarch + 3 : fromMarch - 9);
    const int day = static_cast<int>(dayOfYear - (153 * fromMarch + 2) / 5 + 1);
    return {day, month, static_cast<std::int64_t>(era * 400 + yearOfEra) + (month <= 2 ? 1 : 0)};
}

std::int64_t FractionMsec(double value) {
    // Exact for finite values (modf's fraction); an infinity gives NaN, which counts as 0 like modf's zero.
    const double fraction = value - std::trunc(value);
    return SaturatingCast<std::int64_t>(std::floor(fraction * kMsecPerDay + 0.5));
}

MsecSplit SplitRounded(double value) {
    MsecSplit split{std::trunc(value), FractionMsec(value)};
    if (split.msec >= kMsecPerDayInt) {
        split.whole += 1.0;
        split.msec -= kMsecPerDayInt;
    } else if (split.msec <= -kMsecPerDayInt) {
        split.whole -= 1.0;
        split.msec += kMsecPerDayInt;
    }
    return split;
}

TimeParts SplitMsec(std::int64_t msec) {
    const std::int64_t minutesOfDay = msec / 60000;
    const std::int64_t rest = msec % 60000;
    return {SaturatingNarrow<int>(minutesOfDay / 60), static_cast<int>(minutesOfDay % 60),
            static_cast<int>(rest / 1000), static_cast<int>(rest % 1000)};
}

double OnDay(double dayNumber, double fraction) {
    // The sum is below the next midnight almost always; nextafter is a library call.
    const double sum = dayNumber + fraction;
    if (sum < dayNumber + 1.0) return sum;
    return std::fmin(sum, std::nextafter(dayNumber + 1.0, 0.0));
}

double TimeFraction(std::int64_t hour, std::int64_t minute, std::int64_t second, std::int64_t millisecond) {
    const std::int64_t msec = hour * 3600000 + minute * 60000 + second * 1000 + millisecond;
    return static_cast<double>(msec) * kDaysPerMsec;
}

}  // namespace quelt::calendar
