#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

#include "datetime/calendar_p.h"
#include "quelt/datetime/datetime.h"

using namespace quelt;

namespace {

// An independent calendar for the tests: leap years by the Gregorian rule on int64.
bool RefLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int RefLength(int month, std::int64_t year) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && RefLeap(year) ? 29 : lengths[month - 1];
}

// Days before 1 January of the year, counted from 1 January 0001.
std::int64_t RefDaysBefore(std::int64_t year) {
    const std::int64_t y = year - 1;
    return 365 * y + y / 4 - y / 100 + y / 400;
}

std::int64_t RefDayNumber(const calendar::Date &date) {
    std::int64_t day = RefDaysBefore(date.year) + date.day;
    for (int month = 1; month < date.month; ++month) day += RefLength(month, date.year);
    return day;
}

template <class E>
int CodeOf(void (*action)()) {
    try {
        action();
    } catch (const E &e) {
        return e.GetCode();
    }
    return -1;
}

// Walks every day of the years [first, last] and checks both directions of the conversion.
void CheckEveryDay(int first, int last) {
    double expected = static_cast<double>(RefDaysBefore(first)) + 1.0;
    tdatetime date;
    for (int year = first; year <= last; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= RefLength(month, year); ++day, expected += 1.0) {
                date.SetDate(day, month, year);
                ASSERT_EQ(date.GetDateTime(), expected) << day << '.' << month << '.' << year;
                int d = 0, m = 0, y = 0;
                date.DecodeDate(d, m, y);
                ASSERT_EQ(d, day);
                ASSERT_EQ(m, month);
                ASSERT_EQ(y, year);
            }
        }
    }
}

}  // namespace

TEST(DayNumber, KnownAnchors) {
    EXPECT_EQ(tdatetime(1, 1, 1).GetDateTime(), 1.0);
    EXPECT_EQ(tdatetime(1, 1, 1900).GetDateTime(), 693596.0);
    EXPECT_EQ(tdatetime(1, 1, 1970).GetDateTime(), 719163.0);
    EXPECT_EQ(tdatetime(1, 1, 2000).GetDateTime(), 730120.0);
    EXPECT_EQ(tdatetime().GetDateTime(), 1.0);
}

TEST(DayNumber, FloorFormulaMatchesIntegerCountUpToTheLastYear) {
    for (std::int64_t year = 1; year <= tdatetime::MaxYear; year += 997) {
        const int y = static_cast<int>(year);
        ASSERT_EQ(tdatetime(1, 1, y).GetDateTime(), static_cast<double>(RefDaysBefore(year) + 1)) << year;
        ASSERT_EQ(tdatetime(31, 12, y).GetDateTime(), static_cast<double>(RefDaysBefore(year + 1))) << year;
    }
    EXPECT_EQ(tdatetime::MaxDateTime(), static_cast<double>(RefDaysBefore(tdatetime::MaxYear + 1LL) + 1));
}

TEST(DayNumber, RoundTripsEveryDayOfFourHundredYearCycles) {
    CheckEveryDay(1, 800);
    CheckEveryDay(1601, 2400);
    CheckEveryDay(tdatetime::MaxYear - 399, tdatetime::MaxYear);
}

TEST(DayNumber, DecodesAcrossTheEndOfThirtyTwoBitCounts) {
    // Day numbers past every valid date decode in 64 bits; those just below in 32.
    const std::int64_t limit = std::int64_t{UINT32_MAX} - 305;
    for (std::int64_t day = limit - 1500; day <= limit + 1500; ++day) {
        const calendar::Date date = calendar::DecodeDays(day);
        ASSERT_GE(date.day, 1) << day;
        ASSERT_LE(date.day, RefLength(date.month, date.year)) << day;
        ASSERT_EQ(RefDayNumber(date), day);
    }
    for (std::int64_t day : {std::int64_t{1} << 40, std::numeric_limits<std::int64_t>::max() / 400}) {
        EXPECT_EQ(RefDayNumber(calendar::DecodeDays(day)), day);
    }
}

TEST(DayNumber, WholeDaysOnlyForValuesWithoutATime) {
    EXPECT_EQ(calendar::WholeDays(1.0), 1);
    EXPECT_EQ(calendar::WholeDays(0.0), 0);
    EXPECT_EQ(calendar::WholeDays(tdatetime::MaxDateTime()),
              static_cast<std::int64_t>(tdatetime::MaxDateTime()));
    EXPECT_EQ(calendar::WholeDays(9007199254740991.0), 9007199254740991);
    EXPECT_EQ(calendar::WholeDays(730120.5), -1);
    EXPECT_EQ(calendar::WholeDays(std::nextafter(730120.0, 0.0)), -1);
    EXPECT_EQ(calendar::WholeDays(std::nextafter(730120.0, 1e9)), -1);
    EXPECT_EQ(calendar::WholeDays(-1.0), -1);
    EXPECT_EQ(calendar::WholeDays(9007199254740992.0), -1);
    EXPECT_EQ(calendar::WholeDays(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(calendar::WholeDays(std::numeric_limits<double>::infinity()), -1);
}

TEST(LeapYears, GregorianRuleWithSignedRemainders) {
    EXPECT_TRUE(tdatetime::IsLeapYear(2000));
    EXPECT_TRUE(tdatetime::IsLeapYear(2004));
    EXPECT_TRUE(tdatetime::IsLeapYear(1600));
    EXPECT_FALSE(tdatetime::IsLeapYear(1900));
    EXPECT_FALSE(tdatetime::IsLeapYear(2100));
    EXPECT_FALSE(tdatetime::IsLeapYear(2001));
    EXPECT_TRUE(tdatetime::IsLeapYear(0));
    EXPECT_TRUE(tdatetime::IsLeapYear(-4));
    EXPECT_TRUE(tdatetime::IsLeapYear(-400));
    EXPECT_FALSE(tdatetime::IsLeapYear(-100));
    EXPECT_FALSE(tdatetime::IsLeapYear(-1));
    for (int year = 1; year < 3000; ++year) ASSERT_EQ(tdatetime::IsLeapYear(year), RefLeap(year)) << year;
}

TEST(LeapYears, TwentyNinthOfFebruaryOnlyInLeapYears) {
    EXPECT_NO_THROW(tdatetime(29, 2, 2000));
    EXPECT_NO_THROW(tdatetime(29, 2, 4));
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(29, 2, 1900); }), 1);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(29, 2, 2001); }), 1);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(30, 2, 2000); }), 1);
}

TEST(Validation, ReportsDayThenMonthThenYear) {
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(1, 13, 2000); }), 2);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(1, 0, 2000); }), 2);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(1, 1, 0); }), 3);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(0, 13, 2000); }), 1);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(5, 13, 0); }), 2);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(31, 4, 2000); }), 1);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime(1, 1, tdatetime::MaxYear + 1); }), 3);
    EXPECT_EQ(CodeOf<bad_date>([] { tdatetime::ValidYear(std::numeric_limits<int>::max()); }), 3);
    EXPECT_NO_THROW(tdatetime(31, 12, tdatetime::MaxYear));
}

TEST(Validation, TimePartsInOrder) {
    EXPECT_EQ(CodeOf<bad_time>([] { tdatetime().SetTime(24, 0, 0, 0); }), 1);
    EXPECT_EQ(CodeOf<bad_time>([] { tdatetime().SetTime(-1, 0, 0, 0); }), 1);
    EXPECT_EQ(CodeOf<bad_time>([] { tdatetime().SetTime(0, 60, 0, 0); }), 2);
    EXPECT_EQ(CodeOf<bad_time>([] { tdatetime().SetTime(0, 0, 60, 0); }), 3);
    EXPECT_EQ(CodeOf<bad_time>([] { tdatetime().SetTime(0, 0, 0, 1000); }), 4);
    EXPECT_EQ(CodeOf<bad_time>([] { tdatetime().SetTime(0, 0, -1, 1000); }), 3);
    EXPECT_NO_THROW(tdatetime::ValidTime(23, 59, 59, 999));
}

TEST(Validation, FailedSettersChangeNothing) {
    tdatetime date(15, 6, 2010, 10, 20, 30, 400);
    const double before = date.GetDateTime();
    EXPECT_THROW(date.SetDateTime(16, 6, 2010, 10, 61, 0, 0), bad_time);
    EXPECT_THROW(date.SetDate(31, 6, 2010), bad_date);
    EXPECT_THROW(date.SetTime(1, 2, 3, -4), bad_time);
    EXPECT_EQ(date.GetDateTime(), before);
}

TEST(RawValue, ZeroStoresOneAndBadNumbersThrow) {
    tdatetime date(2, 2, 2002);
    date.SetDateTime(0.0);
    EXPECT_EQ(date.GetDateTime(), 1.0);
    date.SetDateTime(-0.0);
    EXPECT_EQ(date.GetDateTime(), 1.0);
    date.SetDateTime(730120.25);
    EXPECT_THROW(date.SetDateTime(-0.5), bad_datetime);
    EXPECT_THROW(date.SetDateTime(0.5), bad_datetime);
    EXPECT_THROW(date.SetDateTime(std::nan("")), bad_datetime);
    EXPECT_THROW(date.SetDateTime(std::numeric_limits<double>::infinity()), dt_outofbounds);
    EXPECT_THROW(date.SetDateTime(tdatetime::MaxDateTime()), dt_outofbounds);
    EXPECT_THROW(date.SetDateTime(1e300), dt_outofbounds);
    EXPECT_EQ(date.GetDateTime(), 730120.25);
}

TEST(RawValue, NanIsNotARangeFailure) {
    tdatetime date;
    try {
        date.SetDateTime(std::nan(""));
        FAIL();
    } catch (const dt_outofbounds &) {
        FAIL() << "NaN is not a range failure";
    } catch (const bad_datetime &) {
    }
}

TEST(RawValue, LastRepresentableInstantDecodesInRange) {
    tdatetime date;
    date.SetDateTime(std::nextafter(tdatetime::MaxDateTime(), 0.0));
    int d = 0, m = 0, y = 0;
    date.DecodeDate(d, m, y);
    EXPECT_EQ(d, 31);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(y, tdatetime::MaxYear);
}

TEST(RawValue, LatestTimeOfTheLastDayStaysOnThatDay) {
    const tdatetime built(31, 12, tdatetime::MaxYear, 23, 59, 59, 999);
    tdatetime set(31, 12, tdatetime::MaxYear);
    set.SetTime(23, 59, 59, 999);
    tdatetime moved(30, 11, tdatetime::MaxYear, 23, 59, 59, 999);
    moved += months(1);
    for (const tdatetime &date : {built, set, moved}) {
        EXPECT_LT(date.GetDateTime(), tdatetime::MaxDateTime());
        int d = 0, m = 0, y = 0;
        date.DecodeDate(d, m, y);
        EXPECT_EQ(d, 31);
        EXPECT_EQ(m, 12);
        EXPECT_EQ(y, tdatetime::MaxYear);
    }
}

TEST(TimeOfDay, RoundTripsEveryMinuteAndMilliseconds) {
    tdatetime date(3, 3, 2003);
    for (int hour = 0; hour < 24; ++hour) {
        for (int minute = 0; minute < 60; ++minute) {
            const int second = (hour * 7 + minute) % 60;
            const int msec = (hour * 997 + minute * 31) % 1000;
            date.SetTime(hour, minute, second, msec);
            int h = -1, mi = -1, s = -1, ms = -1;
            date.DecodeTime(h, mi, s, ms);
            ASSERT_EQ(h, hour);
            ASSERT_EQ(mi, minute);
            ASSERT_EQ(s, second);
            ASSERT_EQ(ms, msec);
            int d = 0, m = 0, y = 0;
            date.DecodeDate(d, m, y);
            ASSERT_EQ(d, 3);
        }
    }
}

TEST(TimeOfDay, FractionIsMillisecondsTimesFactor) {
    tdatetime date(1, 1, 2000);
    date.SetTime(12, 0, 0, 0);
    EXPECT_EQ(date.GetDateTime(), 730120.5);
    date.SetTime(6, 30, 15, 250);
    EXPECT_EQ(date.GetDateTime(), 730120.0 + 23415250.0 * 1.1574074074074074e-8);
}

TEST(TimeOfDay, SettersKeepTheOtherHalf) {
    tdatetime date(10, 10, 2010, 8, 9, 10, 11);
    date.SetDate(11, 11, 2011);
    int h = 0, mi = 0, s = 0, ms = 0;
    date.DecodeTime(h, mi, s, ms);
    EXPECT_EQ(h * 1000000 + mi * 10000 + s * 100 + ms, 8091011);
    date.SetTime(1, 2, 3, 4);
    int d = 0, m = 0, y = 0;
    date.DecodeDate(d, m, y);
    EXPECT_EQ(d * 1000000 + m * 10000 + y, 11112011);
}

TEST(TimeOfDay, HalfAMillisecondBeforeMidnightIsTheNextDay) {
    const double day = tdatetime(31, 12, 1999).GetDateTime();
    tdatetime date;
    date.SetDateTime(day + 1.0 - 0.4 / 86400000.0);
    int d = 0, m = 0, y = 0, h = -1, mi = -1, s = -1, ms = -1;
    date.DecodeDate(d, m, y);
    date.DecodeTime(h, mi, s, ms);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(m, 1);
    EXPECT_EQ(y, 2000);
    EXPECT_EQ(h + mi + s + ms, 0);
    EXPECT_EQ(date.DayOfWeek(), tdatetime(1, 1, 2000).DayOfWeek());
    EXPECT_EQ(date.DayOfYear(), 0);

    date.SetDateTime(day + 1.0 - 0.6 / 86400000.0);
    date.DecodeDate(d, m, y);
    date.DecodeTime(h, mi, s, ms);
    EXPECT_EQ(d, 31);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(mi, 59);
    EXPECT_EQ(s, 59);
    EXPECT_EQ(ms, 999);
}

// Past 2^24 days a double no longer holds single milliseconds: a time set in
// whole seconds must still decode to itself, not to the second before.
TEST(TimeOfDay, FarFutureTimesDecodeToTheSecondTheyWereSetTo) {
    for (const int year : {50000, 999591, 5000000, tdatetime::MaxYear}) {
        for (int minute = 0; minute < 1440; minute += 7) {
            const int second = minute % 60;
            const tdatetime date(3, 2, year, minute / 60, minute % 60, second, 0);
            int h = -1, mi = -1, s = -1, ms = -1;
            date.DecodeTime(h, mi, s, ms);
            ASSERT_EQ(h * 60 + mi, minute) << year;
            ASSERT_EQ(s, second) << year;
            ASSERT_EQ(ms, 0) << year;
            int d = 0, m = 0, y = 0;
            date.DecodeDate(d, m, y);
            ASSERT_EQ(d * 100 + m, 302) << year;
        }
    }
    // Where tenths still resolve, they show.
    int h = 0, mi = 0, s = 0, ms = 0;
    tdatetime(3, 2, tdatetime::MaxYear, 8, 0, 0, 500).DecodeTime(h, mi, s, ms);
    EXPECT_EQ(ms, 500);
}

TEST(TimeOfDay, SetTimeOnARoundedMidnightKeepsTheShownDate) {
    tdatetime date;
    date.SetDateTime(tdatetime(31, 12, 1999).GetDateTime() + 1.0 - 0.1 / 86400000.0);
    date.SetTime(12, 0, 0, 0);
    EXPECT_EQ(date, tdatetime(1, 1, 2000, 12, 0, 0, 0));
    date.SetDateTime(tdatetime(31, 12, 1999).GetDateTime() + 1.0 - 0.1 / 86400000.0);
    date.SetDate(5, 5, 2005);
    EXPECT_EQ(date, tdatetime(5, 5, 2005));
}

TEST(WeekAndYearDays, DayOfWeekCyclesFromMonday) {
    EXPECT_EQ(tdatetime(1, 1, 1).DayOfWeek(), 2);
    EXPECT_EQ(tdatetime(1, 1, 1970).DayOfWeek(), 5);
    EXPECT_EQ(tdatetime(28, 7, 1999).DayOfWeek(), 4);
    EXPECT_EQ(tdatetime(8, 12, 2026, 23, 59, 59, 999).DayOfWeek(), 3);
    tdatetime date(1, 1, 2000);
    const int first = date.DayOfWeek();
    for (int i = 0; i < 100; ++i, date += days(1)) ASSERT_EQ(date.DayOfWeek(), (first - 1 + i) % 7 + 1);
}

TEST(WeekAndYearDays, DayOfYearIsZeroBased) {
    EXPECT_EQ(tdatetime(1, 1, 2001).DayOfYear(), 0);
    EXPECT_EQ(tdatetime(31, 12, 2000).DayOfYear(), 365);
    EXPECT_EQ(tdatetime(31, 12, 2001, 23, 0, 0, 0).DayOfYear(), 364);
    EXPECT_EQ(tdatetime(1, 3, 2004).DayOfYear(), 60);
    EXPECT_EQ(tdatetime(31, 12, tdatetime::MaxYear).DayOfYear(), 364);
}

TEST(Comparisons, OnTheDayNumber) {
    const tdatetime a(1, 1, 2000, 0, 0, 0, 1);
    const tdatetime b(1, 1, 2000);
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(b <= a);
    EXPECT_TRUE(a > b);
    EXPECT_TRUE(a >= b);
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a == tdatetime(a));
}

TEST(TimeStamp, BrokenDownInLocalTime) {
    const long stamp = 946684800L + 3723L;
    std::time_t t = stamp;
    std::tm local{};
    ASSERT_NE(localtime_r(&t, &local), nullptr);
    const tdatetime expected(local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour,
                             local.tm_min, local.tm_sec, 0);
    EXPECT_EQ(tdatetime(&stamp), expected);
    EXPECT_THROW(tdatetime(static_cast<const long *>(nullptr)), bad_datetime);
}
