#include "datetime/calendar_p.h"

#include <cmath>

#include "core/numeric_p.h"
#include "quelt/datetime/datetime.h"

namespace quelt::calendar {

void ThrowBadMonth() { throw bad_date(2); }

double LastBeforeMidnight(double dayNumber, double sum) {
    return std::fmin(sum, std::nextafter(dayNumber + 1.0, 0.0));
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

double TimeFraction(std::int64_t hour, std::int64_t minute, std::int64_t second, std::int64_t millisecond) {
    const std::int64_t msec = hour * 3600000 + minute * 60000 + second * 1000 + millisecond;
    return static_cast<double>(msec) * kDaysPerMsec;
}

}  // namespace quelt::calendar
