#include "axis.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

#include "quelt/core/format.h"
#include "quelt/datetime/datetime.h"
#include "quelt/datetime/exceptions.h"

namespace report {

namespace {

constexpr double kHoursPerDay = 24;

// The smallest of 1, 2, 5 x 10^n at least raw.
double NiceStep(double raw) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= raw) return factor * magnitude;
    }
    return 10 * magnitude;
}

quelt::wstring Formatted(const quelt::tdatetime &date, const char *pattern) {
    const quelt::wstring format = quelt::Utf8ToWide(pattern);
    int size = 0;
    date.FormatDateTime(format.c_str(), nullptr, size);
    // size counts the terminator.
    quelt::wstring text(static_cast<std::size_t>(std::max(size, 1)), 0);
    date.FormatDateTime(format.c_str(), text.data(), size);
    text.resize(text.size() - 1);
    return text;
}

}  // namespace

double AxisTicks::At(int index) const {
    const double value = first + index * step;
    // A tick a rounding error away from 0 is 0, so that it never reads "-0".
    return std::abs(value) < step * 1e-9 ? 0.0 : value;
}

AxisRange UsableRange(double low, double high) {
    if (!std::isfinite(low) || !std::isfinite(high)) return {};
    if (low > high) std::swap(low, high);
    if (low < high) return {low, high};
    const double margin = std::max(1.0, std::abs(low) * 0.05);
    return {low - margin, high + margin};
}

AxisTicks NiceTicks(const AxisRange &range, int maxTicks) {
    const double span = range.high - range.low;
    if (!std::isfinite(span) || span <= 0) return {};
    const int most = std::max(maxTicks, 2);
    // From a step surely too fine, up the 1-2-5 ladder to the first that fits.
    AxisTicks ticks;
    for (ticks.step = NiceStep(span / (2.0 * most));; ticks.step = NiceStep(ticks.step * 1.5)) {
        ticks.first = std::ceil(range.low / ticks.step) * ticks.step;
        ticks.count = static_cast<int>(std::floor((range.high - ticks.first) / ticks.step + 1e-9)) + 1;
        if (ticks.count <= most) return ticks;
    }
}

AxisTicks DateTicks(const AxisRange &range, int maxTicks) {
    AxisTicks days = NiceTicks(range, maxTicks);
    if (days.count == 0 || days.step >= 1) return days;
    const AxisRange inHours{range.low * kHoursPerDay, range.high * kHoursPerDay};
    AxisTicks hours = NiceTicks(inHours, maxTicks);
    if (hours.step < 1) {
        // Whole hours only: fewer ticks, perhaps none, rather than minutes.
        hours.step = 1;
        hours.first = std::ceil(inHours.low);
        hours.count = std::max(0, static_cast<int>(std::floor(inHours.high - hours.first)) + 1);
    }
    return {hours.first / kHoursPerDay, hours.step / kHoursPerDay, hours.count};
}

quelt::wstring NumberLabel(double value, double step) {
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 12);
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return quelt::formatNumber(quelt::Utf8ToWide(text.str()));
}

quelt::wstring DateLabel(double day, double step) {
    quelt::tdatetime date;
    try {
        date.SetDateTime(day);
    } catch (const quelt::bad_datetime &) {
        // A tick of a widened range may fall before the first day.
        return {};
    }
    return Formatted(date, step >= 1 ? "%d %b %Y" : "%d %b %H:%M");
}

}  // namespace report
