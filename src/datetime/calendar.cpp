#include "datetime/calendar_p.h"

#include <cmath>

#include "core/numeric_p.h"
#include "quelt/datetime/datetime.h"

namespace quelt::calendar {

namespace {

bool IsLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Whole periods in rest, which keeps what is left. A cycle's leap day ends its
// fourth period, so a count of 4 is that day: it stays in the third.
std::int64_t WholePeriods(std::int64_t &rest, std::int64_t period) {
    std::int64_t count = rest / period;
    rest %= period;
    if (count == 4) {
        count = 3;
        rest += period;
    }
    return count;
}

}  // namespace

int MonthLength(int month, std::int64_t year) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) throw bad_date(2);
    return month == 2 && IsLeap(year) ? 29 : kLengths[month - 1];
}

double DayNumber(int day, int month, std::int64_t year) {
    int dayOfYear = day;
    for (int m = 1; m < month; ++m) dayOfYear += MonthLength(m, year);
    const double y = static_cast<double>(year - 1);
    return std::floor(y * 0.25) + 365.0 * y - std::floor(y * 0.01) + std::floor(y * 0.0025) + dayOfYear;
}

Date DecodeDays(std::int64_t dayNumber) {
    std::int64_t rest = dayNumber - 1;
    std::int64_t year = 400 * (rest / 146097) + 1;
    rest %= 146097;

    year += 100 * WholePeriods(rest, 36524);

    year += 4 * (rest / 1461);
    rest %= 1461;

    year += WholePeriods(rest, 365);

    int month = 1;
    while (rest >= MonthLength(month, year)) rest -= MonthLength(month++, year);
    return {static_cast<int>(rest) + 1, month, year};
}

namespace {

// The finest step of milliseconds the value still resolves: 1 below 2^24
// days, then 10, 100 and 1000 as the spacing of doubles grows. Rounding to
// it finds a time set in whole steps again instead of a step early.
std::int64_t ResolvedStep(double value) {
    const double magnitude = std::fabs(value);
    const double spacing = (std::nextafter(magnitude, HUGE_VAL) - magnitude) * kMsecPerDay;
    std::int64_t step = 1;
    while (step < 1000 && spacing >= static_cast<double>(step)) step *= 10;
    return step;
}

}  // namespace

std::int64_t FractionMsec(double value) {
    double whole = 0.0;
    const double msec = std::modf(value, &whole) * kMsecPerDay;
    const std::int64_t fine = SaturatingCast<std::int64_t>(std::floor(msec + 0.5));
    const std::int64_t step = ResolvedStep(value);
    if (step == 1) return fine;
    const std::int64_t coarse =
        SaturatingCast<std::int64_t>(std::floor(msec / static_cast<double>(step) + 0.5)) * step;
    // The coarser step alone never carries a time into the next day (OnDay keeps late times on theirs).
    const bool carries = coarse >= kMsecPerDayInt || coarse <= -kMsecPerDayInt;
    return carries && fine < kMsecPerDayInt && fine > -kMsecPerDayInt ? fine : coarse;
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
    return std::fmin(dayNumber + fraction, std::nextafter(dayNumber + 1.0, 0.0));
}

double TimeFraction(std::int64_t hour, std::int64_t minute, std::int64_t second, std::int64_t millisecond) {
    const std::int64_t msec = hour * 3600000 + minute * 60000 + second * 1000 + millisecond;
    return static_cast<double>(msec) * kDaysPerMsec;
}

}  // namespace quelt::calendar
