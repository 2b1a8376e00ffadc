#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "quelt/dataset/variant.h"
#include "quelt/datetime/exceptions.h"

using namespace quelt;

namespace {

using V = CQueltVariant;

wstring W(const std::string &s) { return Utf8ToWide(s); }
std::string N(const wstring &s) { return WideToUtf8(s); }

V Formatted(V v, const std::string &format) {
    v.SetFormat(W(format));
    return v;
}

std::string Text(const V &v) { return N(v.GetString()); }

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One variant of every code that holds the number 3 (or the text "3").
std::vector<V> Threes(const wstring &wide, const char *narrow) {
    return {V(true),
            V(static_cast<signed char>(3)),
            V(short{3}),
            V(3),
            V(int64{3}),
            V(3.0f),
            V(3.0),
            V(tdatetime(3, 1, 1)),
            V(ttimeinterval(72, 0, 0, 0)),
            V(tdatetimeinterval(3, 0, 0)),
            V::FromPointer(narrow),
            V::FromWidePointer(wide.c_str()),
            V(std::string(narrow)),
            V(wide)};
}

}  // namespace

TEST(VariantConstruction, EveryConstructorSetsItsCode) {
    const wstring wide = u"x"_w;
    const std::vector<V> all = Threes(wide, "x");
    for (int code = 0; code < 14; ++code) EXPECT_EQ(all[code].GetType(), code);
    EXPECT_EQ(V(static_cast<const char *>("a")).GetType(), V::String);
    EXPECT_EQ(V(wide.c_str()).GetType(), V::WideString);
}

TEST(VariantConstruction, DefaultIsAnEmptyWideStringWithDefaults) {
    const V v;
    EXPECT_EQ(v.GetType(), V::WideString);
    EXPECT_FALSE(v.GetBool());
    EXPECT_EQ(v.GetInt(), 0);
    EXPECT_EQ(v.GetDouble(), 0.0);
    EXPECT_EQ(v.GetDateTime().GetDateTime(), 1.0);
    EXPECT_EQ(v.GetTimeInterval().GetTime(), 0.0);
    EXPECT_EQ(v.GetString(), wstring());
    EXPECT_EQ(v.GetFormat(), wstring());
}

TEST(VariantConstruction, TextsAreCopiedPointersAreNot) {
    char narrow[] = "12";
    wstring wide = u"34"_w;
    const V copiedNarrow(static_cast<const char *>(narrow));
    const V copiedWide(wide.c_str());
    const V pointer = V::FromPointer(narrow);
    const V widePointer = V::FromWidePointer(wide.c_str());
    narrow[0] = '9';
    wide[0] = '7';
    EXPECT_EQ(copiedNarrow.GetInt(), 12);
    EXPECT_EQ(copiedWide.GetInt(), 34);
    EXPECT_EQ(pointer.GetInt(), 92);
    EXPECT_EQ(widePointer.GetInt(), 74);
}

TEST(VariantConstruction, CalendarIntervalStoresItsTotalDays) {
    tdatetimeinterval interval;
    interval.SetDateTime(45.9);
    EXPECT_NEAR(V(interval).GetDouble(), 45.9, 1e-9);
    EXPECT_EQ(V(interval).GetDateTimeInterval().GetMonths(), 1);
    EXPECT_NEAR(V(interval).GetDateTimeInterval().GetDays(), 15.3, 1e-9);
    EXPECT_NEAR(V(tdatetimeinterval(2, 3, 1)).GetDouble(), 15 * 30.6 + 2, 1e-9);
}

TEST(VariantConstruction, FormatIsKeptAsGiven) {
    V v(255);
    v.SetFormat(u"h"_w);
    EXPECT_EQ(v.GetFormat(), u"h"_w);
    EXPECT_EQ(V(v).GetString(), u"0xFF"_w);
}

TEST(VariantToBool, NumbersAreTrueWhenNotZero) {
    EXPECT_TRUE(V(true).GetBool());
    EXPECT_FALSE(V(false).GetBool());
    EXPECT_TRUE(V(static_cast<signed char>(-1)).GetBool());
    EXPECT_FALSE(V(short{0}).GetBool());
    EXPECT_TRUE(V(int64{1} << 40).GetBool());
    EXPECT_TRUE(V(0.25f).GetBool());
    EXPECT_FALSE(V(0.0).GetBool());
    EXPECT_TRUE(V(ttimeinterval(1, 0, 0, 0)).GetBool());
    EXPECT_TRUE(V(tdatetime()).GetBool());
}

TEST(VariantToBool, TextIsTrueForTrueOrANonZeroInteger) {
    for (const char *t : {"true", "1", "-3", "0x10", "07", " 5 apples"}) {
        EXPECT_TRUE(V(t).GetBool()) << t;
        EXPECT_TRUE(V(W(t)).GetBool()) << t;
    }
    for (const char *t : {"True", "TRUE", "false", "0", "0x0", "", "abc", "true "}) {
        EXPECT_FALSE(V(t).GetBool()) << t;
        EXPECT_FALSE(V(W(t)).GetBool()) << t;
    }
}

TEST(VariantToBool, NullPointersAreFalse) {
    EXPECT_FALSE(V::FromPointer(nullptr).GetBool());
    EXPECT_FALSE(V::FromWidePointer(nullptr).GetBool());
    EXPECT_TRUE(V::FromPointer("true").GetBool());
}

TEST(VariantToInteger, EveryCodeGivesThree) {
    const wstring wide = u"3"_w;
    const std::vector<V> all = Threes(wide, "3");
    for (int code = 1; code < 14; ++code) {
        EXPECT_EQ(all[code].GetShort(), 3) << code;
        EXPECT_EQ(all[code].GetInt(), 3) << code;
        EXPECT_EQ(all[code].GetInt64(), 3) << code;
    }
    EXPECT_EQ(V(true).GetInt(), 1);
    EXPECT_EQ(V(false).GetInt64(), 0);
}

TEST(VariantToInteger, RealsTruncateTowardZero) {
    EXPECT_EQ(V(2.9).GetInt(), 2);
    EXPECT_EQ(V(-2.9).GetInt(), -2);
    EXPECT_EQ(V(-7.99f).GetShort(), -7);
    EXPECT_EQ(V(1e15 + 0.5).GetInt64(), 1000000000000000);
    EXPECT_EQ(V(ttimeinterval(36, 0, 0, 0)).GetInt(), 1);
}

TEST(VariantToInteger, OutOfRangeSaturates) {
    EXPECT_EQ(V(100000).GetShort(), 32767);
    EXPECT_EQ(V(int64{-5'000'000'000}).GetInt(), std::numeric_limits<int>::min());
    EXPECT_EQ(V(1e300).GetInt64(), std::numeric_limits<int64>::max());
    EXPECT_EQ(V(-1e10f).GetInt(), std::numeric_limits<int>::min());
    EXPECT_EQ(V(kNaN).GetInt(), 0);
    EXPECT_EQ(V(std::numeric_limits<double>::infinity()).GetShort(), 32767);
    EXPECT_EQ(V("70000").GetShort(), 32767);
    EXPECT_EQ(V("99999999999").GetInt(), std::numeric_limits<int>::max());
}

TEST(VariantToInteger, TextScansLikePercentI) {
    EXPECT_EQ(V(u"010"_w).GetInt(), 8);
    EXPECT_EQ(V(u"0x1F"_w).GetInt(), 31);
    EXPECT_EQ(V(u"abc"_w).GetInt(), 0);
    EXPECT_EQ(V("  -42xyz").GetShort(), -42);
    EXPECT_EQ(V("2.9").GetInt(), 2);
    EXPECT_EQ(V("9223372036854775807").GetInt64(), std::numeric_limits<int64>::max());
    EXPECT_EQ(V(u"0x7FFFFFFFFF"_w).GetInt64(), 0x7FFFFFFFFF);
    EXPECT_EQ(V("9223372036854775807").GetInt(), std::numeric_limits<int>::max());
}

TEST(VariantToInteger, NullAndEmptyTextGiveZero) {
    EXPECT_EQ(V::FromPointer(nullptr).GetInt(), 0);
    EXPECT_EQ(V::FromWidePointer(nullptr).GetInt64(), 0);
    EXPECT_EQ(V(static_cast<const char *>(nullptr)).GetShort(), 0);
    EXPECT_EQ(V(static_cast<const wchar *>(nullptr)).GetInt(), 0);
    EXPECT_EQ(V(std::string()).GetInt64(), 0);
}

TEST(VariantToReal, EveryCodeGivesThree) {
    const wstring wide = u"3"_w;
    const std::vector<V> all = Threes(wide, "3");
    for (int code = 1; code < 14; ++code) {
        EXPECT_EQ(all[code].GetFloat(), 3.0f) << code;
        EXPECT_EQ(all[code].GetDouble(), 3.0) << code;
    }
    EXPECT_EQ(V(true).GetDouble(), 1.0);
    EXPECT_EQ(V(false).GetFloat(), 0.0f);
}

TEST(VariantToReal, FloatRoundsDoubleKeeps) {
    EXPECT_EQ(V(0.1).GetFloat(), 0.1f);
    EXPECT_EQ(V(0.1).GetDouble(), 0.1);
    EXPECT_EQ(V(0.1f).GetDouble(), static_cast<double>(0.1f));
    EXPECT_TRUE(std::isinf(V(1e300).GetFloat()));
    EXPECT_EQ(V(int64{1} << 62).GetDouble(), std::ldexp(1.0, 62));
}

TEST(VariantToReal, TextIsReadAsAFloatingPointNumber) {
    EXPECT_EQ(V("2.5e1").GetDouble(), 25.0);
    EXPECT_EQ(V(u" -0.125xyz"_w).GetDouble(), -0.125);
    EXPECT_EQ(V("1.5").GetFloat(), 1.5f);
    EXPECT_EQ(V(u"abc"_w).GetFloat(), 0.0f);
    EXPECT_TRUE(std::isnan(V("nan").GetDouble()));
    EXPECT_EQ(V::FromPointer(nullptr).GetDouble(), 0.0);
    EXPECT_EQ(V::FromWidePointer(nullptr).GetFloat(), 0.0f);
}

TEST(VariantToDateTime, DayCountsBecomeDates) {
    EXPECT_EQ(V(730120.25).GetDateTime().GetDateTime(), 730120.25);
    EXPECT_EQ(V(0.0).GetDateTime().GetDateTime(), 1.0);
    EXPECT_THROW(V(-1.0).GetDateTime(), bad_datetime);
    EXPECT_THROW(V(kNaN).GetDateTime(), bad_datetime);
    EXPECT_THROW(V(1e12).GetDateTime(), bad_datetime);
    const tdatetime date(28, 7, 1999, 4, 5, 59, 0);
    EXPECT_EQ(V(date).GetDateTime(), date);
    EXPECT_EQ(V(ttimeinterval(48, 0, 0, 0)).GetDateTime().GetDateTime(), 2.0);
    EXPECT_EQ(V(tdatetimeinterval(5, 1, 0)).GetDateTime().GetDateTime(), 35.6);
}

TEST(VariantToDateTime, OtherCodesGiveTheDefaultDate) {
    const wstring wide = u"730120"_w;
    const std::vector<V> all = Threes(wide, "730120");
    for (int code : {0, 1, 2, 3, 4, 5, 10, 11, 12, 13}) {
        EXPECT_EQ(all[code].GetDateTime().GetDateTime(), 1.0) << code;
        EXPECT_EQ(all[code].GetTimeInterval().GetTime(), 0.0) << code;
        EXPECT_EQ(all[code].GetDateTimeInterval(), tdatetimeinterval()) << code;
    }
    EXPECT_EQ(V(u"07/28/1999 04:05:59"_w).GetDateTime().GetDateTime(), 1.0);
}

TEST(VariantToIntervals, DayCountsBecomeIntervals) {
    EXPECT_EQ(V(-1.5).GetTimeInterval().GetTime(), -1.5);
    EXPECT_EQ(V(tdatetime(2, 1, 1)).GetTimeInterval().GetTime(), 2.0);
    const tdatetimeinterval split = V(45.9).GetDateTimeInterval();
    EXPECT_EQ(split.GetMonths(), 1);
    EXPECT_NEAR(split.GetDays(), 15.3, 1e-9);
    const tdatetimeinterval interval(4, 2, 0, 6, 0, 0, 0);
    const tdatetimeinterval back = V(interval).GetDateTimeInterval();
    EXPECT_EQ(back.GetMonths(), 2);
    EXPECT_NEAR(back.GetDays(), 4.25, 1e-9);
    EXPECT_EQ(V(ttimeinterval(24 * 61, 0, 0, 0)).GetDateTimeInterval().GetMonths(), 1);
}

TEST(VariantToString, BoolAndTexts) {
    EXPECT_EQ(Text(V(true)), "true");
    EXPECT_EQ(Text(V(false)), "false");
    EXPECT_EQ(Text(V("caf\xc3\xa9")), "caf\xc3\xa9");
    EXPECT_EQ(V::FromPointer("ab").GetString(), u"ab"_w);
    EXPECT_EQ(V(u"\u4e2d"_w).GetString(), u"\u4e2d"_w);
    const wstring wide = u"wide"_w;
    EXPECT_EQ(V::FromWidePointer(wide.c_str()).GetString(), wide);
    EXPECT_EQ(V::FromPointer(nullptr).GetString(), wstring());
    EXPECT_EQ(V::FromWidePointer(nullptr).GetString(), wstring());
    EXPECT_EQ(Text(Formatted(V("1234567"), "d,")), "1234567");
}

TEST(VariantToString, IntegersFollowTheFormat) {
    EXPECT_EQ(Text(V(-42)), "-42");
    EXPECT_EQ(Text(Formatted(V(255), "h")), "0xFF");
    EXPECT_EQ(Text(Formatted(V(static_cast<signed char>(-1)), "h")), "0xFFFFFFFF");
    EXPECT_EQ(Text(Formatted(V(short{5}), "%")), "500%");
    EXPECT_EQ(Text(Formatted(V(1234567), "d,")), "1,234,567");
    EXPECT_EQ(Text(Formatted(V(std::numeric_limits<int>::max()), "%")), "214748364700%");
    EXPECT_EQ(Text(Formatted(V(int64{-1}), "h")), "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(Text(Formatted(V(int64{1234567890123}), "%,")), "123,456,789,012,300%");
}

TEST(VariantToString, RealsFollowTheFormat) {
    EXPECT_EQ(Text(V(2.5)), "2.5");
    EXPECT_EQ(Text(Formatted(V(2.5), "d.3")), "2.500");
    EXPECT_EQ(Text(Formatted(V(0.5), "%")), "50.000000%");
    EXPECT_EQ(Text(Formatted(V(0.5f), "%")), "50%");
    EXPECT_EQ(Text(Formatted(V(0.125f), "%.1")), "12.5%");
    EXPECT_EQ(Text(Formatted(V(1234567.891), "d.2,")), "1,234,567.89");
    EXPECT_EQ(Text(Formatted(V(255.7f), "h")), "0xFF");
}

TEST(VariantToString, DateTimeKindsUseTheirTextForms) {
    EXPECT_EQ(Text(V(tdatetime(28, 7, 1999, 4, 5, 59, 0))), "07/28/1999 04:05:59");
    EXPECT_EQ(Text(V(ttimeinterval(36, 0, 0, 0))), "1 days, 12 hours, 0 minutes, 0 seconds, 0 milliseconds");
    EXPECT_EQ(Text(V(tdatetimeinterval(3, 14, 0, 6, 30, 0, 0))),
              "1 years, 2 months, 3 days, 6 hours, 30 minutes, 0 seconds, 0 milliseconds");
}

TEST(VariantToString, DayCountsFollowTheirCodeNotTheFormat) {
    V interval(ttimeinterval(36, 0, 0, 0));
    interval.SetFormat(u"h"_w);
    EXPECT_EQ(Text(interval), "1 days, 12 hours, 0 minutes, 0 seconds, 0 milliseconds");
    EXPECT_EQ(Text(Formatted(V(1.5), "h")), "0x1");
}
