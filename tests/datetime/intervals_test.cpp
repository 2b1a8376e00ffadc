#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "quelt/core/wstring.h"
#include "quelt/datetime/datetime.h"

using namespace quelt;

namespace {

struct Parts {
    int hour, minute, second, msec;
};

Parts TimeOf(const ttimeinterval &t) {
    Parts p{};
    t.DecodeTime(p.hour, p.minute, p.second, p.msec);
    return p;
}

}  // namespace

TEST(UnitTypes, FactorsAreMultiplied) {
    EXPECT_EQ(mseconds(1).GetTime(), 1.1574074074074074e-8);
    EXPECT_EQ(seconds(1).GetTime(), 1.1574074074074073e-5);
    EXPECT_EQ(minutes(1).GetTime(), 0.0006944444444444445);
    EXPECT_EQ(hours(1).GetTime(), 0.041666666666666664);
    EXPECT_EQ(days(-3).GetTime(), -3.0);
    // The product and the quotient differ in the last bit for these counts.
    EXPECT_EQ(mseconds(17).GetTime(), 17 * 1.1574074074074074e-8);
    EXPECT_NE(mseconds(17).GetTime(), 17 / 86400000.0);
    EXPECT_NE(hours(5).GetTime(), 5 / 24.0);
}

TEST(UnitTypes, CalendarUnitsCountMonths) {
    EXPECT_EQ(months(7).GetMonths(), 7);
    EXPECT_EQ(months(7).GetDays(), 0.0);
    EXPECT_EQ(years(-2).GetMonths(), -24);
    EXPECT_EQ(years(std::numeric_limits<int>::max()).GetMonths(), std::numeric_limits<int>::max());
}

TEST(TimeInterval, SetTimeAcceptsAnyPartsAndKeepsWholeDays) {
    ttimeinterval t;
    t.SetTime(2.75);
    t.SetTime(25, 0, 0, 0);
    EXPECT_EQ(t.GetTime(), 2.0 + 90000000.0 * 1.1574074074074074e-8);
    t.SetTime(-1.5);
    t.SetTime(0, -30, 0, 0);
    EXPECT_EQ(t.GetTime(), -1.0 - 1800000.0 * 1.1574074074074074e-8);
    const ttimeinterval big(std::numeric_limits<int>::max(), 0, 0, 0);
    EXPECT_EQ(big.GetTime(),
              static_cast<double>(std::numeric_limits<int>::max()) * 3600000.0 * 1.1574074074074074e-8);
    EXPECT_EQ(ttimeinterval(1, 30, 0, 0).GetMsec(), 5400000.0);
}

TEST(TimeInterval, DecodeRoundsToTheMillisecond) {
    ttimeinterval t;
    t.SetTime(0.5 + 0.4 / 86400000.0);
    const Parts p = TimeOf(t);
    EXPECT_EQ(p.hour, 12);
    EXPECT_EQ(p.minute + p.second + p.msec, 0);
    t.SetTime(-(1.0 / 24 + 1.0 / 1440 + 1.0 / 86400 + 1.0 / 86400000));
    const Parts n = TimeOf(t);
    EXPECT_EQ(n.hour, -1);
    EXPECT_EQ(n.minute, -1);
    EXPECT_EQ(n.second, -1);
    EXPECT_EQ(n.msec, -1);
}

// Hundreds of millions of days keep only tens of milliseconds: whole hours
// and seconds read back whole, in both signs, and the text shows them again.
TEST(TimeInterval, HugeIntervalsDecodeToTheWholeUnitsTheyWereMadeOf) {
    for (const double days : {3.0e7, 3.65e8, 2147483647.0}) {
        for (const double sign : {1.0, -1.0}) {
            ttimeinterval t;
            t.SetTime(sign * (days + 23.0 / 24 + 59.0 / 86400));
            int d = 0, h = 0, m = -1, s = 0, ms = -1;
            t.DecodeInterval(d, h, m, s, ms);
            EXPECT_EQ(d, static_cast<int>(sign * days)) << days;
            EXPECT_EQ(h, static_cast<int>(sign * 23)) << days;
            EXPECT_EQ(m, 0) << days;
            EXPECT_EQ(s, static_cast<int>(sign * 59)) << days;
            EXPECT_EQ(ms, 0) << days;
        }
    }
    const ttimeinterval parsed(u"2147483647 days, 23 hours, 0 minutes, 0 seconds, 0 milliseconds"_w.c_str());
    const Parts p = TimeOf(parsed);
    EXPECT_EQ(p.hour * 1000 + p.msec, 23000);
}

TEST(TimeInterval, DecodeTimeKeepsTwentyFourHoursDecodeIntervalCarries) {
    ttimeinterval t;
    t.SetTime(1.0 - 0.2 / 86400000.0);
    EXPECT_EQ(TimeOf(t).hour, 24);
    int d = -1, h = -1, m = -1, s = -1, ms = -1;
    t.DecodeInterval(d, h, m, s, ms);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(h + m + s + ms, 0);
    -t;
    t.DecodeInterval(d, h, m, s, ms);
    EXPECT_EQ(d, -1);
    EXPECT_EQ(h + m + s + ms, 0);
    t.SetTime(-2.25);
    t.DecodeInterval(d, h, m, s, ms);
    EXPECT_EQ(d, -2);
    EXPECT_EQ(h, -6);
    t.SetTime(1e300);
    t.DecodeInterval(d, h, m, s, ms);
    EXPECT_EQ(d, std::numeric_limits<int>::max());
}

TEST(TimeInterval, AbsoluteValueAndNegation) {
    ttimeinterval t = hours(-5);
    const ttimeinterval copy = t.GetAbs();
    EXPECT_EQ(copy, hours(5));
    EXPECT_EQ(t, hours(-5));
    EXPECT_EQ(t.SetAbs(), hours(5));
    EXPECT_EQ(t, hours(5));
    ttimeinterval &same = -t;
    EXPECT_EQ(&same, &t);
    EXPECT_EQ(t, hours(-5));
}

TEST(TimeInterval, ArithmeticAndComparisons) {
    const ttimeinterval a = hours(2) + minutes(30);
    EXPECT_EQ(a.GetTime(), 2 * 0.041666666666666664 + 30 * 0.0006944444444444445);
    EXPECT_EQ((a - minutes(30)).GetTime(), a.GetTime() - minutes(30).GetTime());
    EXPECT_TRUE(minutes(59) < hours(1));
    EXPECT_TRUE(hours(1) <= hours(1));
    EXPECT_TRUE(hours(1) > minutes(59));
    EXPECT_TRUE(hours(1) >= minutes(59));
    EXPECT_TRUE(hours(1) != minutes(59));
    EXPECT_TRUE(days(1) == hours(24));
}

TEST(CalendarInterval, ConstructorsFoldYearsAndTime) {
    const tdatetimeinterval a(5, 3, 2);
    EXPECT_EQ(a.GetMonths(), 27);
    EXPECT_EQ(a.GetDays(), 5.0);
    const tdatetimeinterval b(6, 0, 0, 0);
    EXPECT_EQ(b.GetMonths(), 0);
    EXPECT_EQ(b.GetDays(), 0.25);
    const tdatetimeinterval c(1, 1, 1, 12, 0, 0, 0);
    EXPECT_EQ(c.GetMonths(), 13);
    EXPECT_EQ(c.GetDays(), 1.5);
    const tdatetimeinterval huge(0, std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    EXPECT_EQ(huge.GetMonths(), std::numeric_limits<int>::max());
}

TEST(CalendarInterval, TotalLengthUsesThirtyPointSixDays) {
    tdatetimeinterval i(3, 2, 0);
    EXPECT_EQ(i.GetDateTime(), 2 * 30.6 + 3);
    i.SetDateTime(100.0);
    EXPECT_EQ(i.GetMonths(), 3);
    EXPECT_NEAR(i.GetDays(), 100.0 - 3 * 30.6, 1e-9);
    i.SetDateTime(-100.0);
    EXPECT_EQ(i.GetMonths(), -3);
    EXPECT_NEAR(i.GetDays(), -(100.0 - 3 * 30.6), 1e-9);
    i.SetDateTime(1e300);
    EXPECT_EQ(i.GetMonths(), std::numeric_limits<int>::max());
}

TEST(CalendarInterval, LengthComesBackExactly) {
    for (const double length : {3.0000000000000004, 33.6, -33.6, 100.0, 0.1, 30.6, 61.2 - 1e-13, -1e-300,
                                6.5e10, 123456.789, -987654.321}) {
        tdatetimeinterval i;
        i.SetDateTime(length);
        EXPECT_EQ(i.GetDateTime(), length) << length;
        tdatetimeinterval again;
        again.SetDateTime(i.GetDateTime());
        EXPECT_EQ(again.GetMonths(), i.GetMonths()) << length;
        EXPECT_EQ(again.GetDays(), i.GetDays()) << length;
    }
}

TEST(CalendarInterval, LengthsPastTheMonthRangeSettleAtOnce) {
    for (const double length : {3e100, -3e100, 7.5e12, -7.5e12}) {
        tdatetimeinterval i;
        i.SetDateTime(length);
        EXPECT_EQ(i.GetMonths(),
                  length > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min())
            << length;
        EXPECT_LT(std::abs(i.GetDays()), 30.6) << length;
        tdatetimeinterval again;
        again.SetDateTime(i.GetDateTime());
        EXPECT_EQ(again.GetDateTime(), i.GetDateTime()) << length;
    }
}

TEST(CalendarInterval, DecodeKeepsTheSignOfEachPart) {
    int d = 0, m = 0, y = 0;
    tdatetimeinterval(40, 30, 0).DecodeDate(d, m, y);
    EXPECT_EQ(d * 10000 + m * 100 + y, 400602);
    tdatetimeinterval(-40, -30, 0).DecodeDate(d, m, y);
    EXPECT_EQ(d, -40);
    EXPECT_EQ(m, -6);
    EXPECT_EQ(y, -2);
    tdatetimeinterval(0, 24, 0).DecodeDate(d, m, y);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(y, 2);
}

TEST(CalendarInterval, DateAndTimeSettersKeepEachOther) {
    tdatetimeinterval i(2, 1, 0, 6, 0, 0, 0);
    i.SetDate(10, 0, 1);
    EXPECT_EQ(i.GetMonths(), 12);
    EXPECT_EQ(i.GetDays(), 10.25);
    i.SetTime(18, 0, 0, 0);
    EXPECT_EQ(i.GetDays(), 10.75);
    int h = 0, m = 0, s = 0, ms = 0;
    i.DecodeTime(h, m, s, ms);
    EXPECT_EQ(h, 18);
    i.SetTime(30, 0, 0, 0);
    EXPECT_EQ(i.GetDays(), 10.0 + 1.25);
}

TEST(CalendarInterval, ArithmeticIsComponentWise) {
    tdatetimeinterval a(10, 1, 0);
    a += tdatetimeinterval(25, 2, 0);
    EXPECT_EQ(a, tdatetimeinterval(35, 3, 0));
    a -= tdatetimeinterval(40, 0, 1);
    EXPECT_EQ(a, tdatetimeinterval(-5, -9, 0));
    EXPECT_EQ(tdatetimeinterval(1, 1, 0) + months(1), tdatetimeinterval(1, 2, 0));
    EXPECT_EQ(tdatetimeinterval(1, 1, 0) - months(1), tdatetimeinterval(1, 0, 0));
    tdatetimeinterval &same = -a;
    EXPECT_EQ(&same, &a);
    EXPECT_EQ(a, tdatetimeinterval(5, 9, 0));
    tdatetimeinterval lowest = months(std::numeric_limits<int>::min());
    -lowest;
    EXPECT_EQ(lowest.GetMonths(), std::numeric_limits<int>::max());
}

TEST(CalendarInterval, EqualityIsExactOrderingIsByLength) {
    const tdatetimeinterval month(0, 1, 0);
    tdatetimeinterval same_length(30, 0, 0, 14, 24, 0, 0);
    ASSERT_EQ(same_length.GetDateTime(), 30.6);
    EXPECT_FALSE(month == same_length);
    EXPECT_TRUE(month != same_length);
    EXPECT_FALSE(month < same_length);
    EXPECT_FALSE(month > same_length);
    EXPECT_TRUE(month <= same_length);
    EXPECT_TRUE(month >= same_length);
    EXPECT_TRUE(tdatetimeinterval(30, 0, 0) < month);
    EXPECT_TRUE(tdatetimeinterval(31, 0, 0) > month);
    EXPECT_TRUE(tdatetimeinterval(-31, 1, 0) < tdatetimeinterval(0, 0, 0));
}
