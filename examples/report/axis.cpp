#include "axis.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>

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

// The last value a date may take (MaxDateTime itself is past the end).
const double kLastDate = std::nextafter(quelt::tdatetime::MaxDateTime(), 0.0);
// Rounding slack when a boundary is computed from a value in days.
constexpr double kSlack = 1e-9;

// A step's length in days, near enough to rule out steps far too fine.
double ApproxDays(const DateStep &step) {
    constexpr double kDays[] = {1 / kHoursPerDay, 1, 7, 30.44, 91.31, 365.25};
    return kDays[static_cast<int>(step.unit)] * step.count;
}

// The next step up the ladder: 1, 2, 3, 6, 12 hours; 1, 2 days; a week; a
// month; a quarter; 1, 2, 5 x 10^n years.
DateStep Coarser(const DateStep &step) {
    switch (step.unit) {
        case DateUnit::Hour: {
            constexpr int kHours[] = {1, 2, 3, 6, 12};
            const int *next = std::upper_bound(std::begin(kHours), std::end(kHours), step.count);
            return next == std::end(kHours) ? DateStep{DateUnit::Day, 1} : DateStep{DateUnit::Hour, *next};
        }
        case DateUnit::Day:
            return step.count < 2 ? DateStep{DateUnit::Day, 2} : DateStep{DateUnit::Week, 1};
        case DateUnit::Week:
            return {DateUnit::Month, 1};
        case DateUnit::Month:
            return {DateUnit::Quarter, 1};
        case DateUnit::Quarter:
            return {DateUnit::Year, 1};
        case DateUnit::Year:
            break;
    }
    return {DateUnit::Year, static_cast<int>(NiceStep(step.count * 1.5))};
}

quelt::tdatetime At(double day) {
    quelt::tdatetime date;
    date.SetDateTime(day);
    return date;
}

int DayOfMonth(double day) {
    int d = 0, month = 0, year = 0;
    At(day).DecodeDate(d, month, year);
    return d;
}

// Odd days of the month, leaving out the last one when the next month's
// first day follows too closely.
bool IsSecondDay(double day) {
    const int d = DayOfMonth(day);
    if (d % 2 == 0) return false;
    const int after = DayOfMonth(day + 2);
    return after > d || after == 1;
}

// The first of month (a multiple of every months, counted from January) on
// or after day.
quelt::tdatetime FirstOfMonth(double day, int every) {
    int d = 0, month = 0, year = 0;
    At(day).DecodeDate(d, month, year);
    quelt::tdatetime first(1, month, year);
    if (first.GetDateTime() < day - kSlack) first += quelt::months(1);
    first.DecodeDate(d, month, year);
    return first + quelt::months((every - (month - 1) % every) % every);
}

quelt::tdatetime FirstOfYear(double day, int every) {
    int d = 0, month = 0, year = 0;
    At(day).DecodeDate(d, month, year);
    if (quelt::tdatetime(1, 1, year).GetDateTime() < day - kSlack) ++year;
    const int aligned = (year + every - 1) / every * every;
    return quelt::tdatetime(1, 1, std::min(aligned, quelt::tdatetime::MaxYear));
}

// Collects tick values up to high, stopping at one more than most.
class Boundary {
  public:
    Boundary(double high, std::size_t most) : m_high(high), m_most(most) {}
    // False once the value is past the range or enough were collected.
    bool Add(double value) {
        if (value > m_high + kSlack || m_values.size() > m_most) return false;
        m_values.push_back(value);
        return true;
    }
    std::vector<double> Take() { return std::move(m_values); }

  private:
    double m_high;
    std::size_t m_most;
    std::vector<double> m_values;
};

// The boundaries of step in the range of valid dates; one more than most
// when there are too many.
std::vector<double> Boundaries(const AxisRange &dates, const DateStep &step, std::size_t most) {
    Boundary ticks(dates.high, most);
    const double firstDay = std::ceil(dates.low - kSlack);
    try {
        switch (step.unit) {
            case DateUnit::Hour:
                for (double hour = std::ceil(dates.low * kHoursPerDay / step.count - kSlack) * step.count;
                     ticks.Add(hour / kHoursPerDay); hour += step.count) {
                }
                break;
            case DateUnit::Day:
                for (double day = firstDay; day <= dates.high + kSlack; ++day) {
                    if (step.count == 2 && !IsSecondDay(day)) continue;
                    if (!ticks.Add(day)) break;
                }
                break;
            case DateUnit::Week: {
                // 1 is Sunday, 2 Monday.
                const int weekday = At(firstDay).DayOfWeek();
                for (double day = firstDay + (9 - weekday) % 7; ticks.Add(day); day += 7) {
                }
                break;
            }
            case DateUnit::Month:
            case DateUnit::Quarter: {
                const int every = step.unit == DateUnit::Month ? 1 : 3;
                for (quelt::tdatetime date = FirstOfMonth(dates.low, every); ticks.Add(date.GetDateTime());
                     date += quelt::months(every)) {
                }
                break;
            }
            case DateUnit::Year:
                for (quelt::tdatetime date = FirstOfYear(dates.low, step.count);
                     ticks.Add(date.GetDateTime()); date += quelt::years(step.count)) {
                }
                break;
        }
    } catch (const quelt::bad_datetime &) {
        // The calendar ends before the range does.
    }
    return ticks.Take();
}

quelt::wstring DateLabel(double day, const DateStep &step) {
    const quelt::tdatetime date = At(day);
    switch (step.unit) {
        case DateUnit::Hour: {
            int hour = 0, minute = 0, second = 0, millisecond = 0;
            date.DecodeTime(hour, minute, second, millisecond);
            // Midnight names the day the hours that follow belong to.
            return Formatted(date, hour == 0 && minute == 0 ? "%d %b" : "%H:%M");
        }
        case DateUnit::Day:
        case DateUnit::Week:
            return Formatted(date, "%d %b");
        case DateUnit::Month:
            return Formatted(date, "%b %Y");
        case DateUnit::Quarter: {
            int d = 0, month = 0, year = 0;
            date.DecodeDate(d, month, year);
            return quelt::Utf8ToWide("Q" + std::to_string((month - 1) / 3 + 1) + " ") + Formatted(date, "%Y");
        }
        case DateUnit::Year:
            break;
    }
    return Formatted(date, "%Y");
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

AxisRange Widened(const AxisRange &range, double share) {
    const double margin = (range.high - range.low) * share;
    return {range.low - margin, range.high + margin};
}

AxisRange ZoomedRange(const AxisRange &range, const AxisRange &full, double at, double factor,
                      double minWidth) {
    const double fullWidth = full.high - full.low;
    const double width = range.high - range.low;
    if (!(factor > 0) || !std::isfinite(factor)) factor = 1;
    const double zoomed = std::clamp(width * factor, std::min(minWidth, fullWidth), fullWidth);
    // A point outside the range zooms about the nearer end.
    const double about = std::clamp(at, range.low, range.high);
    const double share = width > 0 ? (about - range.low) / width : 0.5;
    const double low = std::clamp(about - share * zoomed, full.low, full.high - zoomed);
    return {low, low + zoomed};
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

quelt::wstring NumberLabel(double value, double step) {
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 12);
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return quelt::formatNumber(quelt::Utf8ToWide(text.str()));
}

std::vector<Tick> NumberTicks(const AxisRange &range, int maxTicks) {
    const AxisTicks ticks = NiceTicks(range, maxTicks);
    std::vector<Tick> labelled;
    for (int i = 0; i < ticks.count; ++i)
        labelled.push_back({ticks.At(i), NumberLabel(ticks.At(i), ticks.step)});
    return labelled;
}

DateTicks CalendarTicks(const AxisRange &range, int maxTicks) {
    if (!std::isfinite(range.low) || !std::isfinite(range.high) || !(range.low < range.high)) return {};
    const AxisRange dates{std::max(range.low, 1.0), std::min(range.high, kLastDate)};
    if (dates.low > dates.high) return {};
    const std::size_t most = static_cast<std::size_t>(std::max(maxTicks, 2));
    for (DateStep step{DateUnit::Hour, 1};; step = Coarser(step)) {
        // Steps far too fine are passed over before their ticks are counted.
        if ((dates.high - dates.low) / ApproxDays(step) > 2.0 * most) continue;
        const std::vector<double> at = Boundaries(dates, step, most);
        if (at.size() > most) continue;
        DateTicks ticks{step, {}};
        for (double day : at) ticks.ticks.push_back({day, DateLabel(day, step)});
        return ticks;
    }
}

}  // namespace report
