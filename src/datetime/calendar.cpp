#include "datetime/calendar_p.h"

#include <cmath>

#include "core/numeric_p.h"
#include "quelt/datetime/datetime.h"

namespace quelt::calendar {

void ThrowBadMonth() { throw bad_date(2); }

double LastBeforeMidnight(double dayNumber, double sum) {
    return std::fmin(sum, std::nextafter(dayNumber + 1.0, 0.0));
}

namespace {

// The finest step of milliseconds the value still resolves: 1 below 2^24
// days, then 10, 100 and 1000 as the spacing of doubles grows. Rounding to
// it finds a time set in whole steps again instead of a step early.
std::int64_t ResolvedStep(double value) {
    const double magnitude = std::fabs(value);
    if (magnitude < 16777216.0) return 1;
    const double spacing = (std::nextafter(magnitude, HUGE_VAL) - magnitude) * kMsecPerDay;
    std::int64_t step = 1;
    while (step < 1000 && spacing >= static_cast<double>(step)) step *= 10;
    return step;
}

}  // namespace

std::int64_t FractionMsec(double value) {
    // Exact for finite values (modf's fraction); an infinity gives NaN, which counts as 0 like modf's zero.
    const double msec = (value - std::trunc(value)) * kMsecPerDay;
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

double TimeFraction(std::int64_t hour, std::int64_t minute, std::int64_t second, std::int64_t millisecond) {
    const std::int64_t msec = hour * 3600000 + minute * 60000 + second * 1000 + millisecond;
    return static_cast<double>(msec) * kDaysPerMsec;
}

}  // namespace quelt::calendar
