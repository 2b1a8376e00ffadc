#include "axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "quelt/datetime/datetime.h"

namespace report {
namespace {

// A day number for a date and a time of day.
double At(int day, int month, int year, int hour = 0, int minute = 0) {
    return quelt::tdatetime(day, month, year, hour, minute, 0, 0).GetDateTime();
}

std::vector<std::string> Labels(const DateTicks &ticks) {
    std::vector<std::string> labels;
    for (const Tick &tick : ticks.ticks) labels.push_back(quelt::WideToUtf8(tick.label));
    return labels;
}

struct CalendarCase {
    const char *name;
    AxisRange range;
    int maxTicks;
    DateUnit unit;
    int count;
    double first;
    std::vector<std::string> labels;
};

// 1 January 2024 is a Monday; 2024 is a leap year.
TEST(CalendarTicks, StepsAndLabelsSuitTheSpan) {
    const CalendarCase cases[] = {
        {"3 hours",
         {At(5, 3, 2024, 13, 30), At(5, 3, 2024, 16, 30)},
         8,
         DateUnit::Hour,
         1,
         At(5, 3, 2024, 14),
         {"14:00", "15:00", "16:00"}},
        {"a day in 6 hours, midnight named",
         {At(5, 3, 2024), At(6, 3, 2024)},
         8,
         DateUnit::Hour,
         6,
         At(5, 3, 2024),
         {"05 Mar", "06:00", "12:00", "18:00", "06 Mar"}},
        {"3 days in 12 hours",
         {At(4, 3, 2024, 6), At(7, 3, 2024, 6)},
         8,
         DateUnit::Hour,
         12,
         At(4, 3, 2024, 12),
         {"12:00", "05 Mar", "12:00", "06 Mar", "12:00", "07 Mar"}},
        {"5 days",
         {At(4, 3, 2024, 9), At(9, 3, 2024, 9)},
         8,
         DateUnit::Day,
         1,
         At(5, 3, 2024),
         {"05 Mar", "06 Mar", "07 Mar", "08 Mar", "09 Mar"}},
        {"10 days on odd days",
         {At(1, 3, 2024), At(11, 3, 2024)},
         8,
         DateUnit::Day,
         2,
         At(1, 3, 2024),
         {"01 Mar", "03 Mar", "05 Mar", "07 Mar", "09 Mar", "11 Mar"}},
        {"odd days skip the 31st before the 1st",
         {At(26, 1, 2024), At(4, 2, 2024)},
         6,
         DateUnit::Day,
         2,
         At(27, 1, 2024),
         {"27 Jan", "29 Jan", "01 Feb", "03 Feb"}},
        {"2 months in weeks from Monday",
         {At(10, 1, 2024), At(10, 3, 2024)},
         8,
         DateUnit::Week,
         1,
         At(15, 1, 2024),
         {"15 Jan", "22 Jan", "29 Jan", "05 Feb", "12 Feb", "19 Feb", "26 Feb", "04 Mar"}},
        {"5 months",
         {At(15, 2, 2024), At(15, 7, 2024)},
         8,
         DateUnit::Month,
         1,
         At(1, 3, 2024),
         {"Mar 2024", "Apr 2024", "May 2024", "Jun 2024", "Jul 2024"}},
        {"a year in quarters",
         {At(1, 1, 2024), At(1, 1, 2025)},
         8,
         DateUnit::Quarter,
         1,
         At(1, 1, 2024),
         {"Q1 2024", "Q2 2024", "Q3 2024", "Q4 2024", "Q1 2025"}},
        {"quarters from mid-February",
         {At(15, 2, 2024), At(15, 2, 2025)},
         8,
         DateUnit::Quarter,
         1,
         At(1, 4, 2024),
         {"Q2 2024", "Q3 2024", "Q4 2024", "Q1 2025"}},
        {"5 years",
         {At(1, 6, 2020), At(1, 6, 2025)},
         8,
         DateUnit::Year,
         1,
         At(1, 1, 2021),
         {"2021", "2022", "2023", "2024", "2025"}},
        {"5 years, 3 ticks at most",
         {At(1, 6, 2020), At(1, 6, 2025)},
         3,
         DateUnit::Year,
         2,
         At(1, 1, 2022),
         {"2022", "2024"}},
        {"50 years",
         {At(1, 1, 1990), At(1, 1, 2040)},
         8,
         DateUnit::Year,
         10,
         At(1, 1, 1990),
         {"1990", "2000", "2010", "2020", "2030", "2040"}},
    };
    for (const CalendarCase &c : cases) {
        SCOPED_TRACE(c.name);
        const DateTicks ticks = CalendarTicks(c.range, c.maxTicks);
        EXPECT_EQ(ticks.step.unit, c.unit);
        EXPECT_EQ(ticks.step.count, c.count);
        EXPECT_EQ(Labels(ticks), c.labels);
        ASSERT_FALSE(ticks.ticks.empty());
        EXPECT_DOUBLE_EQ(ticks.ticks.front().value, c.first);
        for (const Tick &tick : ticks.ticks) {
            EXPECT_GE(tick.value, c.range.low - 1e-9);
            EXPECT_LE(tick.value, c.range.high + 1e-9);
        }
    }
}

// Every span from 3 hours to 5 years keeps within the count asked for, in
// order, on the step's boundaries.
TEST(CalendarTicks, NeverMoreThanAskedAndInOrder) {
    const double start = At(17, 5, 2023, 7, 45);
    for (double span : {0.125, 0.5, 1.0, 2.5, 9.0, 20.0, 45.0, 100.0, 200.0, 400.0, 800.0, 1826.0}) {
        for (int maxTicks : {2, 4, 7, 12}) {
            SCOPED_TRACE(std::to_string(span) + " days, " + std::to_string(maxTicks) + " ticks");
            const DateTicks ticks = CalendarTicks({start, start + span}, maxTicks);
            EXPECT_LE(ticks.ticks.size(), static_cast<std::size_t>(maxTicks));
            for (std::size_t i = 1; i < ticks.ticks.size(); ++i)
                EXPECT_LT(ticks.ticks[i - 1].value, ticks.ticks[i].value);
            for (const Tick &tick : ticks.ticks) {
                if (ticks.step.unit == DateUnit::Hour) continue;
                // Steps of a day or more fall on midnight.
                EXPECT_DOUBLE_EQ(tick.value, std::floor(tick.value + 1e-9));
            }
        }
    }
}

TEST(CalendarTicks, OnlyValidDatesGetTicks) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(CalendarTicks({nan, 5}, 5).ticks.empty());
    EXPECT_TRUE(CalendarTicks({3, 3}, 5).ticks.empty());
    EXPECT_TRUE(CalendarTicks({-40, -10}, 5).ticks.empty());
    // A range widened below the first day starts its ticks there.
    const DateTicks early = CalendarTicks({-5, 3}, 5);
    ASSERT_FALSE(early.ticks.empty());
    EXPECT_GE(early.ticks.front().value, 1.0);
    // Near the calendar's end the ticks stop with it.
    const double last = quelt::tdatetime::MaxDateTime();
    const DateTicks late = CalendarTicks({last - 4000, last + 4000}, 5);
    for (const Tick &tick : late.ticks) EXPECT_LT(tick.value, last);
}

TEST(AxisRanges, WidenedAddsTheShareOnBothSides) {
    const AxisRange r = Widened({10, 60}, 0.04);
    EXPECT_DOUBLE_EQ(r.low, 8);
    EXPECT_DOUBLE_EQ(r.high, 62);
}

TEST(AxisRanges, ZoomKeepsThePointInPlaceWithinTheLimits) {
    struct Case {
        const char *name;
        AxisRange range;
        double at, factor, minWidth;
        AxisRange want;
    };
    const Case cases[] = {
        {"in about the middle", {0, 100}, 50, 0.5, 1, {25, 75}},
        {"in about a quarter", {0, 100}, 25, 0.5, 1, {12.5, 62.5}},
        {"out about the middle", {40, 60}, 50, 2, 1, {30, 70}},
        {"out past the start is moved inside", {0, 20}, 5, 2, 1, {0, 40}},
        {"out past both ends is the full range", {10, 90}, 50, 3, 1, {0, 100}},
        {"in no narrower than the minimum", {40, 60}, 50, 0.01, 4, {48, 52}},
        {"minimum wider than full", {40, 60}, 50, 0.5, 500, {0, 100}},
        {"no factor leaves it", {40, 60}, 45, std::numeric_limits<double>::quiet_NaN(), 1, {40, 60}},
        {"a point outside counts as the nearer end", {40, 60}, 90, 0.5, 1, {50, 60}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const AxisRange r = ZoomedRange(c.range, {0, 100}, c.at, c.factor, c.minWidth);
        EXPECT_DOUBLE_EQ(r.low, c.want.low);
        EXPECT_DOUBLE_EQ(r.high, c.want.high);
    }
}

}  // namespace
}  // namespace report
