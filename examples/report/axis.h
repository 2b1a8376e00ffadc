#pragma once

// Tick placement and tick labels for a chart axis. Kept apart from the chart
// so that the arithmetic can be tested (and reused) without a painter.

#include <vector>

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

// The range with share of its span added below and above.
AxisRange Widened(const AxisRange &range, double share);

// The range scaled by factor (below 1 narrows it) about at, which keeps its
// relative place in it; then made at least minWidth wide and moved inside
// full (full itself when that is narrower). A non-finite or non-positive
// factor counts as 1.
AxisRange ZoomedRange(const AxisRange &range, const AxisRange &full, double at, double factor,
                      double minWidth);

// Ticks at the multiples of a step of 1, 2 or 5 x 10^n that lie in the range,
// with the largest step that still gives at most maxTicks ticks (maxTicks
// below 2 counts as 2). An empty or non-finite range has no ticks.
AxisTicks NiceTicks(const AxisRange &range, int maxTicks);

// A number with the decimals its tick step needs, digits grouped in threes.
quelt::wstring NumberLabel(double value, double step);

// A tick as drawn: where it is and what it reads.
struct Tick {
    double value = 0;
    quelt::wstring label;
};

// NiceTicks, labelled with NumberLabel.
std::vector<Tick> NumberTicks(const AxisRange &range, int maxTicks);

// The calendar units a date axis steps by.
enum class DateUnit { Hour, Day, Week, Month, Quarter, Year };

// Every count units, on the unit's boundaries: hours of the day divisible by
// count, odd days of the month for two days, Mondays, first days of months
// and of quarters, 1 January of years divisible by count.
struct DateStep {
    DateUnit unit = DateUnit::Day;
    int count = 1;
};

struct DateTicks {
    DateStep step;
    std::vector<Tick> ticks;
};

// Ticks for a range of day numbers (tdatetime values) at the finest calendar
// step that gives at most maxTicks (below 2 counts as 2) of them: 1, 2, 3, 6
// or 12 hours, 1 or 2 days, a week, a month, a quarter, or 1, 2, 5 x 10^n
// years. Labels suit the step: "14:00" for hours (the day, "05 Mar", at
// midnight), "05 Mar" for days and weeks, "Mar 2024" for months, "Q1 2024"
// for quarters, "2024" for years. Only valid dates get ticks; an empty or
// non-finite range gets none.
DateTicks CalendarTicks(const AxisRange &range, int maxTicks);

}  // namespace report
