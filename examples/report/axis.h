#pragma once

// Tick placement and tick labels for a chart axis. Kept apart from the chart
// so that the arithmetic can be tested (and reused) without a painter.

#include "quelt/core/wstring.h"

namespace report {

// A closed range of axis values.
struct AxisRange {
    double low = 0;
    double high = 1;
};

// count ticks at first, first + step, ...; no ticks when count is 0.
struct AxisTicks {
    double first = 0;
    double step = 1;
    int count = 0;

    double At(int index) const;
};

// A range that can be divided by: non-finite ends give 0..1, equal ends are
// moved apart (by 1, or 5% of the value when that is larger), swapped ends
// are put in order.
AxisRange UsableRange(double low, double high);

// Ticks at the multiples of a step of 1, 2 or 5 x 10^n that lie in the range,
// with the largest step that still gives at most maxTicks ticks (maxTicks
// below 2 counts as 2). An empty or non-finite range has no ticks.
AxisTicks NiceTicks(const AxisRange &range, int maxTicks);

// Ticks for a range of day numbers: whole days when the range spans a few,
// otherwise nice steps of hours (so at least one hour).
AxisTicks DateTicks(const AxisRange &range, int maxTicks);

// A number with the decimals its tick step needs, digits grouped in threes.
quelt::wstring NumberLabel(double value, double step);

// A day number as a date, with the time of day when the step is below a day.
quelt::wstring DateLabel(double day, double step);

}  // namespace report
