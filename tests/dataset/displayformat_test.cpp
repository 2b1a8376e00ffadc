#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "dataset/displayformat_p.h"

using namespace quelt;
using namespace quelt::display;

namespace {

wstring W(const std::string &s) { return Utf8ToWide(s); }
std::string N(const wstring &s) { return WideToUtf8(s); }

std::string Int(int64 v, const std::string &f) { return N(RenderInteger(v, false, W(f))); }
std::string Int64(int64 v, const std::string &f) { return N(RenderInteger(v, true, W(f))); }
std::string Dbl(double v, const std::string &f) { return N(RenderReal(v, false, W(f))); }
std::string Flt(double v, const std::string &f) { return N(RenderReal(v, true, W(f))); }

int64 ParseInt(const std::string &text, const std::string &f, int64 start = 77, bool wide64 = false) {
    const wstring t = W(text);
    ParseInteger(t.c_str(), wide64, W(f), start);
    return start;
}

double ParseDbl(const std::string &text, const std::string &f, double start = 77.5) {
    const wstring t = W(text);
    ParseReal(t.c_str(), W(f), start);
    return start;
}

constexpr int64 kIntMax = std::numeric_limits<int>::max();
constexpr int64 kIntMin = std::numeric_limits<int>::min();
constexpr int64 kInt64Max = std::numeric_limits<int64>::max();
constexpr int64 kInt64Min = std::numeric_limits<int64>::min();

}  // namespace

TEST(DisplayFormatAcceptance, EmptyAndSingleKnownLetters) {
    for (const char *f : {"", "d", "h", "%"}) EXPECT_TRUE(IsAcceptedFormat(W(f))) << f;
    for (const char *f : {"x", "D", "H", ",", ".", "1"}) EXPECT_FALSE(IsAcceptedFormat(W(f))) << f;
}

TEST(DisplayFormatAcceptance, TwoCharactersOnlyWithComma) {
    for (const char *f : {"d,", "h,", "%,"}) EXPECT_TRUE(IsAcceptedFormat(W(f))) << f;
    for (const char *f : {"d2", "d.", "%%", "h.", "x,"}) EXPECT_FALSE(IsAcceptedFormat(W(f))) << f;
}

TEST(DisplayFormatAcceptance, LongerNeedPointThenDigit) {
    for (const char *f : {"d.2", "%.0", "h.3", "d.2,", "d.12", "d.3xyz", "%.99999999999"}) {
        EXPECT_TRUE(IsAcceptedFormat(W(f))) << f;
    }
    for (const char *f : {"d,2", "d.x", "d..", "dd.2", "x.2", "d.,", "%%%"}) {
        EXPECT_FALSE(IsAcceptedFormat(W(f))) << f;
    }
}

TEST(IntegerRendering, DecimalForms) {
    EXPECT_EQ(Int(42, ""), "42");
    EXPECT_EQ(Int(-7, "d"), "-7");
    EXPECT_EQ(Int(kIntMin, "d.2"), "-2147483648");
    EXPECT_EQ(Int64(kInt64Min, ""), "-9223372036854775808");
    EXPECT_EQ(Int64(kInt64Max, "d"), "9223372036854775807");
}

TEST(IntegerRendering, HexUsesTheKindsWidthAndNeverGroups) {
    EXPECT_EQ(Int(255, "h"), "0xFF");
    EXPECT_EQ(Int(1234567, "h,"), "0x12D687");
    EXPECT_EQ(Int(-1, "h"), "0xFFFFFFFF");
    EXPECT_EQ(Int64(-1, "h"), "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(Int64(0x123456789ALL, "h"), "0x123456789A");
    EXPECT_EQ(Int(0, "h"), "0x0");
}

TEST(IntegerRendering, PercentMultipliesWithoutOverflow) {
    EXPECT_EQ(Int(5, "%"), "500%");
    EXPECT_EQ(Int(0, "%"), "0%");
    EXPECT_EQ(Int(-3, "%"), "-300%");
    EXPECT_EQ(Int(kIntMax, "%"), "214748364700%");
    EXPECT_EQ(Int64(kInt64Min, "%"), "-922337203685477580800%");
}

TEST(IntegerRendering, TrailingCommaGroups) {
    EXPECT_EQ(Int(1234567, "d,"), "1,234,567");
    EXPECT_EQ(Int(-123456, "d,"), "-123,456");
    EXPECT_EQ(Int(123, "d,"), "123");
    EXPECT_EQ(Int(12345, "%,"), "1,234,500%");
    EXPECT_EQ(Int64(1234567890123LL, "d.0,"), "1,234,567,890,123");
    EXPECT_EQ(Int(1234567, "d"), "1234567");
}

TEST(IntegerParsing, EmptyFormatReadsBaseTenPrefix) {
    EXPECT_EQ(ParseInt("123abc", ""), 123);
    EXPECT_EQ(ParseInt("  -45", ""), -45);
    EXPECT_EQ(ParseInt("0x1F", ""), 0);
    EXPECT_EQ(ParseInt("abc", ""), 0);
    EXPECT_EQ(ParseInt("99999999999", ""), kIntMax);
}

TEST(IntegerParsing, Int64EmptyFormatScans) {
    EXPECT_EQ(ParseInt("9223372036854775807", "", 0, true), kInt64Max);
    EXPECT_EQ(ParseInt("-12", "", 0, true), -12);
    EXPECT_EQ(ParseInt("abc", "", 5, true), 5);
}

TEST(IntegerParsing, DecimalScanAcceptsPrefixes) {
    EXPECT_EQ(ParseInt("010", "d"), 8);
    EXPECT_EQ(ParseInt("0x1F", "d"), 31);
    EXPECT_EQ(ParseInt("-42", "d,"), -42);
    EXPECT_EQ(ParseInt("0x10", "d", 0, true), 16);
}

TEST(IntegerParsing, HexKeepsBitPattern) {
    EXPECT_EQ(ParseInt("0xFF", "h"), 255);
    EXPECT_EQ(ParseInt("0xFFFFFFFF", "h"), -1);
    EXPECT_EQ(ParseInt("0xFFFFFFFFFFFFFFFF", "h", 0, true), -1);
    EXPECT_EQ(ParseInt("FF", "h"), 77);
}

TEST(IntegerParsing, PercentDividesTowardZero) {
    EXPECT_EQ(ParseInt("250%", "%"), 2);
    EXPECT_EQ(ParseInt("-250%", "%"), -2);
    EXPECT_EQ(ParseInt("99", "%"), 0);
    EXPECT_EQ(ParseInt("1234500%", "%", 0, true), 12345);
    EXPECT_EQ(ParseInt("214748364700%", "%"), kIntMax);
    EXPECT_EQ(ParseInt("99999999999900%", "%"), kIntMax);
    EXPECT_EQ(ParseInt("0x100%", "%"), 2);
}

TEST(IntegerParsing, NoMatchOrUnknownFormatKeepsValue) {
    EXPECT_EQ(ParseInt("abc", "d"), 77);
    EXPECT_EQ(ParseInt("abc", "%"), 77);
    EXPECT_EQ(ParseInt("", "h", 9, true), 9);
    EXPECT_EQ(ParseInt("12", "x"), 77);
    int64 v = 3;
    ParseInteger(nullptr, false, W("d"), v);
    EXPECT_EQ(v, 3);
}

TEST(IntegerParsing, RenderedTextReadsBack) {
    for (const char *f : {"", "d", "h", "%", "d.2", "%.1"}) {
        for (int64 v : {int64{0}, int64{1}, int64{-1}, int64{255}, int64{-32768}, kIntMax, kIntMin}) {
            EXPECT_EQ(ParseInt(Int(v, f), f), v) << f << ' ' << v;
        }
        for (int64 v : {int64{-5}, kInt64Max / 100, kInt64Min / 100, int64{1} << 40}) {
            EXPECT_EQ(ParseInt(Int64(v, f), f, 0, true), v) << f << ' ' << v;
        }
    }
}

TEST(RealRendering, DefaultAndDecimalForms) {
    EXPECT_EQ(Dbl(2.5, ""), "2.5");
    EXPECT_EQ(Dbl(0.1, "d"), "0.1");
    EXPECT_EQ(Dbl(2.5, "d.3"), "2.500");
    EXPECT_EQ(Dbl(-1.26, "d.1"), "-1.3");
    EXPECT_EQ(Dbl(2.0, "d.0"), "2");
    EXPECT_EQ(Dbl(1e20, "d"), "1e+20");
}

TEST(RealRendering, PercentFormsDifferByKind) {
    EXPECT_EQ(Dbl(0.5, "%"), "50.000000%");
    EXPECT_EQ(Flt(0.5, "%"), "50%");
    EXPECT_EQ(Dbl(0.125, "%.1"), "12.5%");
    EXPECT_EQ(Flt(0.125, "%.1"), "12.5%");
}

TEST(RealRendering, HexTruncatesAndSaturates) {
    EXPECT_EQ(Dbl(255.9, "h"), "0xFF");
    EXPECT_EQ(Dbl(-1.5, "h"), "0xFFFFFFFF");
    EXPECT_EQ(Dbl(1e300, "h"), "0x7FFFFFFF");
    EXPECT_EQ(Dbl(std::nan(""), "h"), "0x0");
    EXPECT_EQ(Dbl(123456.0, "h,"), "0x1E240");
}

TEST(RealRendering, TrailingCommaGroupsAndIsNotPartOfThePrecision) {
    EXPECT_EQ(Dbl(1234567.891, "d.2,"), "1,234,567.89");
    EXPECT_EQ(Dbl(1234567.0, "d,"), "1.23457e+06");
    EXPECT_EQ(Dbl(12345.0, ","), "12,345");
    EXPECT_EQ(Dbl(1234.5, "%,"), "123,450.000000%");
    EXPECT_EQ(Flt(12345.67, "%.0,"), "1,234,567%");
}

TEST(RealRendering, PrecisionIsTheDigitRunCappedAtTwenty) {
    EXPECT_EQ(Dbl(0.5, "d.12"), "0.500000000000");
    EXPECT_EQ(Dbl(0.5, "d.2%s%n"), "0.50");
    EXPECT_EQ(Dbl(0.5, "d.1x9"), "0.5");
    EXPECT_EQ(Dbl(0.5, "d.99"), "0.50000000000000000000");
    EXPECT_EQ(Dbl(0.5, "d.99999999999999999999"), Dbl(0.5, "d.20"));
}

TEST(RealRendering, HugeValuesAreNotCut) {
    const std::string text = Dbl(1e300, "d.20");
    EXPECT_EQ(text.size(), 301u + 21u);
    EXPECT_EQ(text.substr(0, 2), "10");
}

TEST(RealRendering, NonFiniteValues) {
    EXPECT_EQ(Dbl(std::nan(""), ""), "nan");
    EXPECT_EQ(Dbl(-std::numeric_limits<double>::infinity(), "d.2,"), "-inf");
    EXPECT_EQ(Dbl(std::numeric_limits<double>::max(), "%"), "inf%");
}

TEST(RealParsing, DecimalAndPercent) {
    EXPECT_EQ(ParseDbl("2.5", ""), 2.5);
    EXPECT_EQ(ParseDbl("-1e3xyz", "d.2"), -1000.0);
    EXPECT_EQ(ParseDbl("abc", "d"), 0.0);
    EXPECT_EQ(ParseDbl("50%", "%"), 0.5);
    EXPECT_EQ(ParseDbl("35%", "%.2"), 0.35);
    EXPECT_TRUE(std::isnan(ParseDbl("nan", "")));
}

TEST(RealParsing, HexStoresTheScannedInteger) {
    EXPECT_EQ(ParseDbl("0xFF", "h"), 255.0);
    EXPECT_EQ(ParseDbl("0xFFFFFFFF", "h"), -1.0);
    EXPECT_EQ(ParseDbl("zz", "h"), 77.5);
}

TEST(RealParsing, UnknownFormatOrNullKeepsValue) {
    EXPECT_EQ(ParseDbl("1.5", "x"), 77.5);
    double v = 4.0;
    ParseReal(nullptr, W(""), v);
    EXPECT_EQ(v, 4.0);
}

TEST(RealParsing, RenderedTextReadsBack) {
    for (const char *f : {"", "d", "d.6", "%.4"}) {
        for (double v : {0.0, 0.5, -2.25, 1234.5, 0.35}) {
            EXPECT_DOUBLE_EQ(ParseDbl(Dbl(v, f), f), v) << f << ' ' << v;
        }
    }
    for (double v : {0.0, 0.01, 0.35, 0.07, 12.34}) {
        EXPECT_EQ(ParseDbl(Dbl(v, "%"), "%"), v) << v;
    }
}
