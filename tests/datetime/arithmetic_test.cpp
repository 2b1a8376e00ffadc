#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "quelt/datetime/datetime.h"

using namespace quelt;

namespace {

struct Ymd {
    int day, month, year;
};

Ymd Decode(const tdatetime &date) {
    Ymd r{};
    date.DecodeDate(r.day, r.month, r.year);
    return r;
}

::testing::AssertionResult IsDate(const tdatetime &date, int day, int month, int year) {
    const Ymd r = Decode(date);
    if (r.day == day && r.month == month && r.year == year) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << r.day << '.' << r.month << '.' << r.year;
}

int Length(int month, int year) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && tdatetime::IsLeapYear(year) ? 29 : lengths[month - 1];
}

}  // namespace

TEST(CalendarStep, DocumentedMonthEnds) {
    EXPECT_TRUE(IsDate(tdatetime(31, 1, 2001) + months(1), 28, 2, 2001));
    EXPECT_TRUE(IsDate(tdatetime(28, 2, 2001) + months(1), 31, 3, 2001));
    EXPECT_TRUE(IsDate(tdatetime(29, 2, 2004) + years(1), 28, 2, 2005));
    EXPECT_TRUE(IsDate(tdatetime(15, 11, 2000) + months(1), 15, 12, 2000));
    EXPECT_TRUE(IsDate(tdatetime(15, 1, 2000) - months(1), 15, 12, 1999));
    EXPECT_TRUE(IsDate(tdatetime(30, 4, 2000) + months(1), 31, 5, 2000));
    EXPECT_TRUE(IsDate(tdatetime(28, 2, 2004) + years(1), 28, 2, 2005));
}

TEST(CalendarStep, TimeOfDaySurvives) {
    const tdatetime start(31, 1, 2001, 13, 14, 15, 16);
    for (const tdatetime &moved :
         {start + months(1), start - months(13), start + years(3), start + months(-7)}) {
        int h = 0, m = 0, s = 0, ms = 0;
        moved.DecodeTime(h, m, s, ms);
        EXPECT_EQ(h * 1000000 + m * 10000 + s * 100 + ms, 13141516);
    }
}

TEST(CalendarStep, LateDaysOfEveryMonthInBothDirections) {
    for (int year : {1900, 2000, 2001, 2004}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 28; day <= Length(month, year); ++day) {
                const tdatetime start(day, month, year, 6, 0, 0, 0);
                for (int step = -25; step <= 25; ++step) {
                    const int index = year * 12 + (month - 1) + step;
                    const int toYear = index / 12;
                    const int toMonth = index % 12 + 1;
                    const int toLength = Length(toMonth, toYear);
                    const bool lastDay = day == Length(month, year);
                    const int toDay = lastDay || day > toLength ? toLength : day;
                    const tdatetime forward = start + months(step);
                    ASSERT_TRUE(IsDate(forward, toDay, toMonth, toYear))
                        << day << '.' << month << '.' << year << " + " << step;
                    ASSERT_EQ(forward, start - months(-step));
                    ASSERT_EQ(forward, tdatetimeinterval(0, step, 0) + start);
                }
            }
        }
    }
}

TEST(CalendarStep, YearsFoldIntoMonths) {
    EXPECT_EQ(tdatetime(10, 5, 2000) + years(2), tdatetime(10, 5, 2002));
    EXPECT_EQ(tdatetime(10, 5, 2000) + tdatetimeinterval(0, 1, 1), tdatetime(10, 6, 2001));
    EXPECT_EQ(tdatetime(10, 5, 2000) - tdatetimeinterval(0, -1, 1), tdatetime(10, 6, 1999));
}

TEST(CalendarStep, DayCountFollowsTheMonths) {
    // 31 January + 1 month is 28 February; the day count then goes on from there.
    EXPECT_EQ(tdatetime(31, 1, 2001) + tdatetimeinterval(3, 1, 0), tdatetime(3, 3, 2001));
    EXPECT_EQ(tdatetime(31, 3, 2001) - tdatetimeinterval(1, 1, 0), tdatetime(27, 2, 2001));
    EXPECT_EQ(tdatetime(1, 1, 2001) + tdatetimeinterval(0, 0, 0, 12, 0, 0, 0),
              tdatetime(1, 1, 2001, 12, 0, 0, 0));
}

TEST(CalendarStep, NegativeMonthCountsMoveByWholeMonths) {
    const tdatetime start(31, 3, 2001);
    EXPECT_EQ(start + months(-1), start - months(1));
    EXPECT_TRUE(IsDate(start + months(-1), 28, 2, 2001));
    EXPECT_TRUE(IsDate(start - months(-1), 30, 4, 2001));
}

TEST(OutOfBounds, BelowTheFirstDay) {
    tdatetime first(1, 1, 1, 12, 0, 0, 0);
    EXPECT_THROW(first - days(1), dt_outofbounds);
    EXPECT_THROW(first -= hours(13), dt_outofbounds);
    EXPECT_THROW(tdatetime(15, 1, 1) - months(1), dt_outofbounds);
    EXPECT_THROW(tdatetime(15, 1, 1) + tdatetimeinterval(-15, 0, 0), dt_outofbounds);
    EXPECT_EQ(first, tdatetime(1, 1, 1, 12, 0, 0, 0));
    EXPECT_NO_THROW(first -= hours(12));
    EXPECT_EQ(first.GetDateTime(), 1.0);
}

TEST(OutOfBounds, PastTheLastDayAndNonsense) {
    tdatetime last(31, 12, tdatetime::MaxYear);
    const tdatetime kept = last;
    EXPECT_THROW(last += days(1), dt_outofbounds);
    EXPECT_THROW(last += months(1), dt_outofbounds);
    EXPECT_THROW(last += years(std::numeric_limits<int>::max()), dt_outofbounds);
    EXPECT_THROW(last -= months(std::numeric_limits<int>::min()), dt_outofbounds);
    EXPECT_THROW(tdatetime(1, 1, 2000) + months(std::numeric_limits<int>::min()), dt_outofbounds);
    ttimeinterval huge;
    huge.SetTime(std::numeric_limits<double>::infinity());
    EXPECT_THROW(last -= huge, dt_outofbounds);
    ttimeinterval nan;
    nan.SetTime(std::numeric_limits<double>::quiet_NaN());
    EXPECT_THROW(last += nan, bad_datetime);
    EXPECT_EQ(last, kept);
    EXPECT_TRUE(IsDate(last - years(1), 31, 12, tdatetime::MaxYear - 1));
}

TEST(ExactDurations, AddAndSubtract) {
    tdatetime date(28, 2, 2000, 23, 0, 0, 0);
    date += hours(2);
    EXPECT_EQ(date.GetDateTime(), tdatetime(28, 2, 2000, 23, 0, 0, 0).GetDateTime() + hours(2).GetTime());
    EXPECT_TRUE(IsDate(date, 29, 2, 2000));
    date -= minutes(61);
    int h = 0, m = 0, s = 0, ms = 0;
    date.DecodeTime(h, m, s, ms);
    EXPECT_TRUE(IsDate(date, 28, 2, 2000));
    EXPECT_EQ(h * 10000 + m * 100 + s, 235900);
    EXPECT_EQ(hours(1) + tdatetime(1, 1, 2000), tdatetime(1, 1, 2000) + hours(1));
    EXPECT_EQ((tdatetime(2, 1, 2000) - tdatetime(1, 1, 2000, 12, 0, 0, 0)).GetTime(), 0.5);
    EXPECT_EQ((tdatetime(1, 1, 2000) - tdatetime(2, 1, 2000)).GetTime(), -1.0);
}

TEST(DateDiff, DocumentedSpans) {
    const tdatetimeinterval forward = DateDiff(tdatetime(2, 2, 2001), tdatetime(1, 1, 2001));
    EXPECT_EQ(forward.GetMonths(), 1);
    EXPECT_EQ(forward.GetDays(), 1.0);
    const tdatetimeinterval backward = DateDiff(tdatetime(1, 1, 2001), tdatetime(2, 2, 2001));
    EXPECT_EQ(backward.GetMonths(), -1);
    EXPECT_EQ(backward.GetDays(), -1.0);
    const tdatetimeinterval oneMonthLength = DateDiff(tdatetime(1, 2, 2001), tdatetime(1, 1, 2001));
    EXPECT_EQ(oneMonthLength.GetMonths(), 0);
    EXPECT_EQ(oneMonthLength.GetDays(), 31.0);
    EXPECT_EQ(DateDiff(tdatetime(5, 5, 2005), tdatetime(5, 5, 2005)), tdatetimeinterval());
}

TEST(DateDiff, WalksMonthLengthsFromTheEarlierDate) {
    // From 31 January: January (31) and February 2000 (29) are whole, 1 day is left.
    const tdatetimeinterval diff = DateDiff(tdatetime(31, 3, 2000), tdatetime(31, 1, 2000));
    EXPECT_EQ(diff.GetMonths(), 1);
    EXPECT_EQ(diff.GetDays(), 29.0);
    const tdatetimeinterval fraction = DateDiff(tdatetime(1, 3, 2001, 12, 0, 0, 0), tdatetime(1, 1, 2001));
    // 59.5 days: January (31) and February (28) are both shorter than what is left.
    EXPECT_EQ(fraction.GetMonths(), 2);
    EXPECT_EQ(fraction.GetDays(), 0.5);
}

TEST(DateDiff, SwappingNegatesTheResult) {
    const tdatetime base(17, 8, 1987, 3, 0, 0, 0);
    for (int offset = 1; offset < 3000; offset += 7) {
        const tdatetime later = base + days(offset);
        const tdatetimeinterval forward = DateDiff(later, base);
        tdatetimeinterval backward = DateDiff(base, later);
        ASSERT_GT(forward.GetDays(), 0.0);
        ASSERT_LE(forward.GetDays(), 31.0);
        ASSERT_EQ(forward, -backward) << offset;
    }
}

TEST(DateDiff, LongSpansCountEveryMonth) {
    // 2000 years from 1 January 0001: all months but the last December are whole.
    const tdatetimeinterval diff = DateDiff(tdatetime(1, 1, 2001), tdatetime(1, 1, 1));
    EXPECT_EQ(diff.GetMonths(), 23999);
    EXPECT_EQ(diff.GetDays(), 31.0);
    const tdatetimeinterval exact = DateDiff(tdatetime(2, 1, 2001), tdatetime(1, 1, 1));
    EXPECT_EQ(exact.GetMonths(), 24000);
    EXPECT_EQ(exact.GetDays(), 1.0);
    const tdatetimeinterval widest = DateDiff(tdatetime(1, 1, 1), tdatetime(31, 12, tdatetime::MaxYear));
    EXPECT_EQ(widest.GetMonths(), -(tdatetime::MaxYear * 12 - 1));
    EXPECT_EQ(widest.GetDays(), -30.0);
}
