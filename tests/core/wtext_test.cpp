#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/wtext_p.h"

using namespace quelt;
namespace wrt = quelt::wrt;

namespace {

constexpr wchar kGuard = 0xBEEF;

// Switches one C locale category for the scope of a test; skips the test when
// the locale is not installed.
class ScopedLocale {
  public:
    ScopedLocale(int category, const char *name) : category_(category) {
        saved_ = std::setlocale(category, nullptr);
        ok_ = std::setlocale(category, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(category_, saved_.c_str()); }
    bool ok() const { return ok_; }

  private:
    int category_;
    std::string saved_;
    bool ok_ = false;
};

// A numeric locale whose decimal point is ',', or null when none is installed.
std::unique_ptr<ScopedLocale> CommaLocale() {
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        auto loc = std::make_unique<ScopedLocale>(LC_NUMERIC, name);
        if (loc->ok()) return loc;
    }
    return nullptr;
}

std::tm ReferenceTime() {
    std::tm t{};
    t.tm_sec = 59;
    t.tm_min = 5;
    t.tm_hour = 4;
    t.tm_mday = 28;
    t.tm_mon = 6;
    t.tm_year = 99;
    t.tm_wday = 1;
    t.tm_yday = 208;
    return t;
}

// A buffer of `count` usable characters followed by guards that must survive.
struct GuardedBuffer {
    explicit GuardedBuffer(std::size_t count) : count(count), data(count + 4, kGuard) {}
    bool GuardsIntact() const {
        for (std::size_t i = count; i < data.size(); ++i) {
            if (data[i] != kGuard) return false;
        }
        return true;
    }
    wstring Written(std::size_t n) const { return wstring(data.data(), n); }
    std::size_t count;
    std::vector<wchar> data;
};

}  // namespace

// ---- comparison -----------------------------------------------------------

TEST(WideCompare, LengthTreatsNullAsEmpty) {
    EXPECT_EQ(wrt::wcslen(nullptr), 0u);
    EXPECT_EQ(wrt::wcslen(u""_w.c_str()), 0u);
    EXPECT_EQ(wrt::wcslen(u"h\u00e9llo"_w.c_str()), 5u);
}

TEST(WideCompare, OrdersByUnsignedCodeUnit) {
    EXPECT_EQ(wrt::wcscmp(u"abc"_w.c_str(), u"abc"_w.c_str()), 0);
    EXPECT_LT(wrt::wcscmp(u"abc"_w.c_str(), u"abd"_w.c_str()), 0);
    EXPECT_GT(wrt::wcscmp(u"abd"_w.c_str(), u"abc"_w.c_str()), 0);
    EXPECT_LT(wrt::wcscmp(u"ab"_w.c_str(), u"abc"_w.c_str()), 0);
    EXPECT_GT(wrt::wcscmp(u"\uffff"_w.c_str(), u"a"_w.c_str()), 0);
    EXPECT_LT(wrt::wcscmp(u"B"_w.c_str(), u"a"_w.c_str()), 0);
    EXPECT_EQ(wrt::wcscmp(nullptr, u""_w.c_str()), 0);
    EXPECT_LT(wrt::wcscmp(nullptr, u"a"_w.c_str()), 0);
}

TEST(WideCompare, CaseInsensitiveFoldsAsciiLettersOnly) {
    EXPECT_EQ(wrt::wcsicmp(u"HeLLo"_w.c_str(), u"hello"_w.c_str()), 0);
    EXPECT_LT(wrt::wcsicmp(u"apple"_w.c_str(), u"BANANA"_w.c_str()), 0);
    EXPECT_GT(wrt::wcsicmp(u"Zebra"_w.c_str(), u"apple"_w.c_str()), 0);
    // Letters fold to lower case, so '_' sorts before every letter.
    EXPECT_LT(wrt::wcsicmp(u"_"_w.c_str(), u"A"_w.c_str()), 0);
    EXPECT_NE(wrt::wcsicmp(u"\u00c4"_w.c_str(), u"\u00e4"_w.c_str()), 0);
    EXPECT_LT(wrt::wcsicmp(u"ab"_w.c_str(), u"AbC"_w.c_str()), 0);
    EXPECT_EQ(wrt::wcsicmp(nullptr, nullptr), 0);
}

// ---- wcstol / wcstod ------------------------------------------------------

TEST(WideToLong, ReadsDecimalAndReportsEnd) {
    const wstring s = u"  -1234xyz"_w;
    wchar *end = nullptr;
    EXPECT_EQ(wrt::wcstol(s.c_str(), &end, 10), -1234);
    EXPECT_EQ(end, s.c_str() + 7);
    EXPECT_EQ(wrt::wcstol(u"+42"_w.c_str(), nullptr, 10), 42);
    EXPECT_EQ(wrt::wcstol(u"0x1F"_w.c_str(), nullptr, 10), 0);
}

TEST(WideToLong, NoDigitsConsumesNothing) {
    const wstring s = u"  -abc"_w;
    wchar *end = nullptr;
    EXPECT_EQ(wrt::wcstol(s.c_str(), &end, 10), 0);
    EXPECT_EQ(end, s.c_str());
    EXPECT_EQ(wrt::wcstol(nullptr, nullptr, 10), 0);
}

TEST(WideToLong, BaseZeroTakesPrefixes) {
    EXPECT_EQ(wrt::wcstol(u"0x1f"_w.c_str(), nullptr, 0), 31);
    EXPECT_EQ(wrt::wcstol(u"-0X10"_w.c_str(), nullptr, 0), -16);
    EXPECT_EQ(wrt::wcstol(u"017"_w.c_str(), nullptr, 0), 15);
    EXPECT_EQ(wrt::wcstol(u"0"_w.c_str(), nullptr, 0), 0);
    EXPECT_EQ(wrt::wcstol(u"19"_w.c_str(), nullptr, 0), 19);
    // "0x" without a hex digit is the 0 alone.
    const wstring s = u"0xg"_w;
    wchar *end = nullptr;
    EXPECT_EQ(wrt::wcstol(s.c_str(), &end, 0), 0);
    EXPECT_EQ(end, s.c_str() + 1);
    // Octal stops at the first non-octal digit.
    EXPECT_EQ(wrt::wcstol(u"019"_w.c_str(), &end, 0), 1);
}

TEST(WideToLong, SaturatesAtThirtyTwoBits) {
    errno = 0;
    EXPECT_EQ(wrt::wcstol(u"2147483647"_w.c_str(), nullptr, 10), 2147483647L);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wrt::wcstol(u"-2147483648"_w.c_str(), nullptr, 10), -2147483648L);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wrt::wcstol(u"2147483648"_w.c_str(), nullptr, 10), 2147483647L);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(wrt::wcstol(u"-2147483649"_w.c_str(), nullptr, 10), -2147483648L);
    EXPECT_EQ(wrt::wcstol(u"123456789012345678901234567890"_w.c_str(), nullptr, 10), 2147483647L);
    EXPECT_EQ(wrt::wcstol(u"-0xFFFFFFFFFFFFFFFFFFFF"_w.c_str(), nullptr, 0), -2147483648L);
}

TEST(WideToDouble, ReadsNumbersAndEnd) {
    const wstring s = u"  -2.5e3rest"_w;
    wchar *end = nullptr;
    EXPECT_DOUBLE_EQ(wrt::wcstod(s.c_str(), &end), -2500.0);
    EXPECT_EQ(end, s.c_str() + 8);
    EXPECT_DOUBLE_EQ(wrt::wcstod(u".5"_w.c_str(), nullptr), 0.5);
    EXPECT_DOUBLE_EQ(wrt::wcstod(u"7"_w.c_str(), nullptr), 7.0);
    EXPECT_EQ(wrt::wcstod(nullptr, nullptr), 0.0);
}

TEST(WideToDouble, StopsAtNonAsciiAndOnNoNumber) {
    const wstring s = u"1.5\u00e92"_w;
    wchar *end = nullptr;
    EXPECT_DOUBLE_EQ(wrt::wcstod(s.c_str(), &end), 1.5);
    EXPECT_EQ(end, s.c_str() + 3);
    const wstring bad = u"  x1"_w;
    EXPECT_EQ(wrt::wcstod(bad.c_str(), &end), 0.0);
    EXPECT_EQ(end, bad.c_str());
}

TEST(WideToDouble, ReadsNanAndInfinity) {
    EXPECT_TRUE(std::isnan(wrt::wcstod(u"nan"_w.c_str(), nullptr)));
    EXPECT_EQ(wrt::wcstod(u"inf"_w.c_str(), nullptr), std::numeric_limits<double>::infinity());
    EXPECT_EQ(wrt::wcstod(u"-inf"_w.c_str(), nullptr), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(wrt::wcstod(u"1e999"_w.c_str(), nullptr), std::numeric_limits<double>::infinity());
}

TEST(WideToDouble, FollowsTheLocaleDecimalPoint) {
    const auto loc = CommaLocale();
    if (!loc) GTEST_SKIP() << "no locale with a decimal comma installed";
    const wstring s = u"3.5"_w;
    wchar *end = nullptr;
    EXPECT_DOUBLE_EQ(wrt::wcstod(u"3,25"_w.c_str(), nullptr), 3.25);
    EXPECT_DOUBLE_EQ(wrt::wcstod(s.c_str(), &end), 3.0);
    EXPECT_EQ(end, s.c_str() + 1);
}

// ---- swscanf --------------------------------------------------------------

TEST(WideScan, EmptyInputIsEofAtOnce) {
    int a = 7;
    EXPECT_EQ(wrt::swscanf(u""_w.c_str(), "%d", &a), -1);
    EXPECT_EQ(wrt::swscanf(nullptr, "%d", &a), -1);
    EXPECT_EQ(wrt::swscanf(u""_w.c_str(), "abc"), -1);
    EXPECT_EQ(a, 7);
}

TEST(WideScan, InputEndingBeforeFirstConversionIsEof) {
    int a = 7;
    EXPECT_EQ(wrt::swscanf(u"   "_w.c_str(), "%d", &a), -1);
    EXPECT_EQ(wrt::swscanf(u"ab"_w.c_str(), "ab%d", &a), -1);
    EXPECT_EQ(a, 7);
}

TEST(WideScan, MismatchReturnsItemsSoFar) {
    int a = 7, b = 8;
    EXPECT_EQ(wrt::swscanf(u"abc"_w.c_str(), "%d", &a), 0);
    EXPECT_EQ(wrt::swscanf(u"a5"_w.c_str(), "b%d", &a), 0);
    EXPECT_EQ(wrt::swscanf(u"5 x"_w.c_str(), "%d %d", &a, &b), 1);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 8);
    EXPECT_EQ(wrt::swscanf(u"6"_w.c_str(), "%d:%d", &a, &b), 1);
    EXPECT_EQ(a, 6);
    EXPECT_EQ(wrt::swscanf(u"-"_w.c_str(), "%d", &a), 0);
}

TEST(WideScan, ReadsTheShortDateTimeForm) {
    int n[6] = {};
    wchar sep[5] = {};
    const wstring text = u"07/28/99 04:05:59"_w;
    ASSERT_EQ(wrt::swscanf(text.c_str(), "%d%c%d%c%d%c%d%c%d%c%d", &n[0], &sep[0], &n[1], &sep[1], &n[2],
                           &sep[2], &n[3], &sep[3], &n[4], &sep[4], &n[5]),
              11);
    EXPECT_EQ(n[0], 7);
    EXPECT_EQ(n[1], 28);
    EXPECT_EQ(n[2], 99);
    EXPECT_EQ(n[3], 4);
    EXPECT_EQ(n[4], 5);
    EXPECT_EQ(n[5], 59);
    EXPECT_EQ(sep[0], '/');
    EXPECT_EQ(sep[1], '/');
    EXPECT_EQ(sep[2], ' ');
    EXPECT_EQ(sep[3], ':');
    EXPECT_EQ(sep[4], ':');
}

TEST(WideScan, PartialDateCountsWhatWasRead) {
    int d = 1, m = 1, y = 1, h = 0;
    wchar s1 = 0, s2 = 0, s3 = 0;
    EXPECT_EQ(wrt::swscanf(u"12-25"_w.c_str(), "%d%c%d%c%d%c%d", &d, &s1, &m, &s2, &y, &s3, &h), 3);
    EXPECT_EQ(d, 12);
    EXPECT_EQ(s1, '-');
    EXPECT_EQ(m, 25);
    EXPECT_EQ(y, 1);
}

TEST(WideScan, CharacterTakesAnyUnitWithoutSkipping) {
    wchar c = 0, d = 0;
    int n = 0;
    EXPECT_EQ(wrt::swscanf(u"5 \u00e9"_w.c_str(), "%d%c%c", &n, &c, &d), 3);
    EXPECT_EQ(c, ' ');
    EXPECT_EQ(d, 0xE9);
}

TEST(WideScan, WhitespaceMatchesAnyRun) {
    int a = 0, b = 0;
    EXPECT_EQ(wrt::swscanf(u"1 \t\n  2"_w.c_str(), "%d %d", &a, &b), 2);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(wrt::swscanf(u"3,4"_w.c_str(), "%d ,%d", &a, &b), 2);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 4);
    EXPECT_EQ(wrt::swscanf(u"  5   ,6"_w.c_str(), "%d , %d", &a, &b), 2);
    EXPECT_EQ(b, 6);
}

TEST(WideScan, ReadsIntervalTextWithLiterals) {
    int v[5] = {};
    const wstring text = u"-1 days, -2 hours, -3 minutes, -4 seconds, -5 milliseconds"_w;
    EXPECT_EQ(wrt::swscanf(text.c_str(), "%d days, %d hours, %d minutes, %d seconds, %d milliseconds", &v[0],
                           &v[1], &v[2], &v[3], &v[4]),
              5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(v[i], -(i + 1));
}

TEST(WideScan, DecimalAndIntegerConversions) {
    int a = 0;
    EXPECT_EQ(wrt::swscanf(u"0x1F"_w.c_str(), "%d", &a), 1);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(wrt::swscanf(u"0x1F"_w.c_str(), "%i", &a), 1);
    EXPECT_EQ(a, 31);
    EXPECT_EQ(wrt::swscanf(u"010"_w.c_str(), "%i", &a), 1);
    EXPECT_EQ(a, 8);
    EXPECT_EQ(wrt::swscanf(u"010"_w.c_str(), "%d", &a), 1);
    EXPECT_EQ(a, 10);
    EXPECT_EQ(wrt::swscanf(u"  -42"_w.c_str(), "%i", &a), 1);
    EXPECT_EQ(a, -42);
}

TEST(WideScan, SignedConversionsSaturateAtInt) {
    int a = 0;
    EXPECT_EQ(wrt::swscanf(u"99999999999"_w.c_str(), "%d", &a), 1);
    EXPECT_EQ(a, std::numeric_limits<int>::max());
    EXPECT_EQ(wrt::swscanf(u"-99999999999"_w.c_str(), "%i", &a), 1);
    EXPECT_EQ(a, std::numeric_limits<int>::min());
    EXPECT_EQ(wrt::swscanf(u"-2147483648"_w.c_str(), "%d", &a), 1);
    EXPECT_EQ(a, std::numeric_limits<int>::min());
}

TEST(WideScan, HexStoresTheBitPatternAndSaturates) {
    int a = 0;
    EXPECT_EQ(wrt::swscanf(u"0x1F"_w.c_str(), "0x%X", &a), 1);
    EXPECT_EQ(a, 31);
    EXPECT_EQ(wrt::swscanf(u"0xFFFFFFFF"_w.c_str(), "0x%X", &a), 1);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(wrt::swscanf(u"FFFFFFFE"_w.c_str(), "%X", &a), 1);
    EXPECT_EQ(a, -2);
    EXPECT_EQ(wrt::swscanf(u"0x80000000"_w.c_str(), "%x", &a), 1);
    EXPECT_EQ(a, std::numeric_limits<int>::min());
    EXPECT_EQ(wrt::swscanf(u"123456789"_w.c_str(), "%X", &a), 1);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(wrt::swscanf(u"-1"_w.c_str(), "%X", &a), 1);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(wrt::swscanf(u"ff"_w.c_str(), "%x", &a), 1);
    EXPECT_EQ(a, 255);
    EXPECT_EQ(wrt::swscanf(u"0xZ"_w.c_str(), "0x%X", &a), 0);
}

TEST(WideScan, SixtyFourBitConversionsSaturate) {
    int64 v = 0;
    EXPECT_EQ(wrt::swscanf(u"9223372036854775807"_w.c_str(), "%I64i", &v), 1);
    EXPECT_EQ(v, std::numeric_limits<int64>::max());
    EXPECT_EQ(wrt::swscanf(u"9223372036854775808"_w.c_str(), "%I64i", &v), 1);
    EXPECT_EQ(v, std::numeric_limits<int64>::max());
    EXPECT_EQ(wrt::swscanf(u"-9223372036854775808"_w.c_str(), "%I64i", &v), 1);
    EXPECT_EQ(v, std::numeric_limits<int64>::min());
    EXPECT_EQ(wrt::swscanf(u"-99999999999999999999999"_w.c_str(), "%I64i", &v), 1);
    EXPECT_EQ(v, std::numeric_limits<int64>::min());
    EXPECT_EQ(wrt::swscanf(u"0x10"_w.c_str(), "%I64i", &v), 1);
    EXPECT_EQ(v, 16);
    EXPECT_EQ(wrt::swscanf(u"5000000000"_w.c_str(), "%I64i", &v), 1);
    EXPECT_EQ(v, 5000000000LL);
    EXPECT_EQ(wrt::swscanf(u"0x7FFFFFFFFFFFFFFF"_w.c_str(), "0x%I64X", &v), 1);
    EXPECT_EQ(v, std::numeric_limits<int64>::max());
    EXPECT_EQ(wrt::swscanf(u"0xFFFFFFFFFFFFFFFF"_w.c_str(), "0x%I64X", &v), 1);
    EXPECT_EQ(v, -1);
    EXPECT_EQ(wrt::swscanf(u"0x1FFFFFFFFFFFFFFFF"_w.c_str(), "0x%I64X", &v), 1);
    EXPECT_EQ(v, -1);
    EXPECT_EQ(wrt::swscanf(u"123456789AB"_w.c_str(), "%I64X", &v), 1);
    EXPECT_EQ(v, 0x123456789ABLL);
}

TEST(WideScan, PercentLiteral) {
    int a = 0;
    EXPECT_EQ(wrt::swscanf(u"50%"_w.c_str(), "%i%%", &a), 1);
    EXPECT_EQ(a, 50);
    int64 v = 0;
    EXPECT_EQ(wrt::swscanf(u"-250 %"_w.c_str(), "%I64i%%", &v), 1);
    EXPECT_EQ(v, -250);
    EXPECT_EQ(wrt::swscanf(u"%7"_w.c_str(), "%%%d", &a), 1);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(wrt::swscanf(u"7"_w.c_str(), "%%%d", &a), 0);
}

TEST(WideScan, FloatingConversions) {
    float f = 0;
    double d = 0;
    EXPECT_EQ(wrt::swscanf(u" 2.5e2"_w.c_str(), "%g", &f), 1);
    EXPECT_FLOAT_EQ(f, 250.0f);
    EXPECT_EQ(wrt::swscanf(u"-0.125"_w.c_str(), "%f", &f), 1);
    EXPECT_FLOAT_EQ(f, -0.125f);
    EXPECT_EQ(wrt::swscanf(u"0.1"_w.c_str(), "%lf", &d), 1);
    EXPECT_DOUBLE_EQ(d, 0.1);
    EXPECT_EQ(wrt::swscanf(u"1e300"_w.c_str(), "%g", &f), 1);
    EXPECT_EQ(f, std::numeric_limits<float>::infinity());
    EXPECT_EQ(wrt::swscanf(u"-inf"_w.c_str(), "%lg", &d), 1);
    EXPECT_EQ(d, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(wrt::swscanf(u"nan"_w.c_str(), "%lg", &d), 1);
    EXPECT_TRUE(std::isnan(d));
    EXPECT_EQ(wrt::swscanf(u"x"_w.c_str(), "%lg", &d), 0);
    int n = 0;
    EXPECT_EQ(wrt::swscanf(u"1.5;3"_w.c_str(), "%lf;%d", &d, &n), 2);
    EXPECT_EQ(n, 3);
}

TEST(WideScan, FloatFollowsTheLocaleDecimalPoint) {
    const auto loc = CommaLocale();
    if (!loc) GTEST_SKIP() << "no locale with a decimal comma installed";
    double d = 0;
    EXPECT_EQ(wrt::swscanf(u"2,75"_w.c_str(), "%lf", &d), 1);
    EXPECT_DOUBLE_EQ(d, 2.75);
}

// ---- snwprintf / format ---------------------------------------------------

TEST(WidePrint, FitsWithRoomForTerminator) {
    GuardedBuffer buf(8);
    EXPECT_EQ(wrt::snwprintf(buf.data.data(), buf.count, "a%db", 12), 4);
    EXPECT_EQ(buf.Written(5), wstring(u"a12b"_w.c_str(), 5));
    EXPECT_TRUE(buf.GuardsIntact());
}

TEST(WidePrint, ExactFitLeavesNoTerminator) {
    GuardedBuffer buf(4);
    EXPECT_EQ(wrt::snwprintf(buf.data.data(), buf.count, "%d", 1234), 4);
    EXPECT_EQ(buf.Written(4), u"1234"_w);
    EXPECT_TRUE(buf.GuardsIntact());
}

TEST(WidePrint, TruncationReturnsMinusOneAndStopsAtCount) {
    GuardedBuffer buf(3);
    EXPECT_EQ(wrt::snwprintf(buf.data.data(), buf.count, "%s", u"abcdef"_w.c_str()), -1);
    EXPECT_EQ(buf.Written(3), u"abc"_w);
    EXPECT_TRUE(buf.GuardsIntact());
    GuardedBuffer none(0);
    EXPECT_EQ(wrt::snwprintf(none.data.data(), none.count, "x"), -1);
    EXPECT_TRUE(none.GuardsIntact());
    EXPECT_EQ(wrt::snwprintf(none.data.data(), none.count, ""), 0);
    EXPECT_TRUE(none.GuardsIntact());
}

TEST(WidePrint, NullBufferOfSizeZeroReportsLength) {
    EXPECT_EQ(wrt::snwprintf(nullptr, 0, "%d-%s", 123, u"ab"_w.c_str()), 6);
    EXPECT_EQ(wrt::snwprintf(nullptr, 5, "%d", 1), -1);
}

TEST(WidePrint, Integers) {
    EXPECT_EQ(wrt::format("%d|%i", -17, 2147483647), u"-17|2147483647"_w);
    EXPECT_EQ(wrt::format("0x%X", 255), u"0xFF"_w);
    EXPECT_EQ(wrt::format("0x%X", -1), u"0xFFFFFFFF"_w);
    EXPECT_EQ(wrt::format("%I64i", std::numeric_limits<int64>::min()), u"-9223372036854775808"_w);
    EXPECT_EQ(wrt::format("0x%I64X", int64{-2}), u"0xFFFFFFFFFFFFFFFE"_w);
    EXPECT_EQ(wrt::format("%I64i%%", int64{5000000000}), u"5000000000%"_w);
}

TEST(WidePrint, WidthAndFlags) {
    EXPECT_EQ(wrt::format("[%5d]", 42), u"[   42]"_w);
    EXPECT_EQ(wrt::format("[%05d]", -42), u"[-0042]"_w);
    EXPECT_EQ(wrt::format("[%-5d]", 42), u"[42   ]"_w);
    EXPECT_EQ(wrt::format("[%08.3f]", 3.14159), u"[0003.142]"_w);
    EXPECT_EQ(wrt::format("[%*d]", 4, 7), u"[   7]"_w);
    EXPECT_EQ(wrt::format("[%*d]", -4, 7), u"[7   ]"_w);
    EXPECT_EQ(wrt::format("[%5s]", u"ab"_w.c_str()), u"[   ab]"_w);
    EXPECT_EQ(wrt::format("[%-5s]", u"ab"_w.c_str()), u"[ab   ]"_w);
    EXPECT_EQ(wrt::format("[%.2s]", u"abcd"_w.c_str()), u"[ab]"_w);
    EXPECT_EQ(wrt::format("[%3c]", 'x'), u"[  x]"_w);
}

TEST(WidePrint, FloatingPoint) {
    EXPECT_EQ(wrt::format("%g", 0.5), u"0.5"_w);
    EXPECT_EQ(wrt::format("%g", 1e20), u"1e+20"_w);
    EXPECT_EQ(wrt::format("%g", 1e-5), u"1e-05"_w);
    EXPECT_EQ(wrt::format("%g", 1e100), u"1e+100"_w);
    EXPECT_EQ(wrt::format("%f", 1.5), u"1.500000"_w);
    EXPECT_EQ(wrt::format("%.2f", 2.345), u"2.35"_w);
    EXPECT_EQ(wrt::format("%.*f", 3, 1.0 / 3), u"0.333"_w);
    EXPECT_EQ(wrt::format("%.*f", -1, 0.5), u"0.500000"_w);
    EXPECT_EQ(wrt::format("%.0f", 2.5), u"2"_w);
}

TEST(WidePrint, NanAndInfinityNeverCarryMinusNan) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(wrt::format("%g", nan), u"nan"_w);
    EXPECT_EQ(wrt::format("%g", -nan), u"nan"_w);
    EXPECT_EQ(wrt::format("%.2f", std::copysign(nan, -1.0)), u"nan"_w);
    EXPECT_EQ(wrt::format("%g", inf), u"inf"_w);
    EXPECT_EQ(wrt::format("%f", -inf), u"-inf"_w);
}

TEST(WidePrint, TextAndCharactersAreSixteenBit) {
    const wstring text = u"\u00e9\u4e2d\U0001F600"_w;
    EXPECT_EQ(wrt::format("<%s>", text.c_str()), u"<"_w + text + u">"_w);
    EXPECT_EQ(wrt::format("%c%c", 0x4E2D, 'A'), u"\u4e2dA"_w);
    EXPECT_EQ(wrt::format("%s", static_cast<const wchar *>(nullptr)), u"(null)"_w);
    EXPECT_EQ(wrt::format("100%%"), u"100%"_w);
    EXPECT_EQ(wrt::format("%q"), u"%q"_w);
    EXPECT_EQ(wrt::format(nullptr), u""_w);
}

TEST(WidePrint, FormatGrowsPastAnyFixedTemporary) {
    const wstring longText(5000, 'z');
    const wstring r = wrt::format("%s-%d", longText.c_str(), 9);
    EXPECT_EQ(r, longText + u"-9"_w);
    EXPECT_EQ(wrt::format("%.300f", 1.0).size(), 302u);
}

TEST(WidePrint, FollowsTheLocaleDecimalPoint) {
    const auto loc = CommaLocale();
    if (!loc) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(wrt::format("%g|%.2f", 1.5, 2.25), u"1,5|2,25"_w);
}

// ---- wcsftime / strftime --------------------------------------------------

TEST(WideTime, ShortFormIsDateThenTimeInTheCLocale) {
    ScopedLocale loc(LC_ALL, "C");
    const std::tm t = ReferenceTime();
    GuardedBuffer buf(24);
    EXPECT_EQ(wrt::wcsftime(buf.data.data(), buf.count, u"%c"_w.c_str(), &t), 17u);
    EXPECT_EQ(buf.Written(18), wstring(u"07/28/99 04:05:59"_w.c_str(), 18));
    EXPECT_TRUE(buf.GuardsIntact());
}

TEST(WideTime, NamesAndLiterals) {
    ScopedLocale loc(LC_ALL, "C");
    const std::tm t = ReferenceTime();
    EXPECT_EQ(wrt::strftime(u"%A %a %B %b"_w.c_str(), &t), u"Monday Mon July Jul"_w);
    EXPECT_EQ(wrt::strftime(u"%%c %Y"_w.c_str(), &t), u"%c 1999"_w);
    EXPECT_EQ(wrt::strftime(u"\u00e9t\u00e9 %d%"_w.c_str(), &t), u"\u00e9t\u00e9 28%"_w);
    EXPECT_EQ(wrt::strftime(u""_w.c_str(), &t), u""_w);
}

TEST(WideTime, TooSmallBufferGivesZero) {
    ScopedLocale loc(LC_ALL, "C");
    const std::tm t = ReferenceTime();
    GuardedBuffer exact(4);
    EXPECT_EQ(wrt::wcsftime(exact.data.data(), exact.count, u"%Y"_w.c_str(), &t), 0u);
    EXPECT_TRUE(exact.GuardsIntact());
    GuardedBuffer room(5);
    EXPECT_EQ(wrt::wcsftime(room.data.data(), room.count, u"%Y"_w.c_str(), &t), 4u);
    EXPECT_EQ(room.Written(5), wstring(u"1999"_w.c_str(), 5));
    EXPECT_TRUE(room.GuardsIntact());
    EXPECT_EQ(wrt::wcsftime(nullptr, 10, u"%Y"_w.c_str(), &t), 0u);
}

TEST(WideTime, StrftimeGrows) {
    ScopedLocale loc(LC_ALL, "C");
    const std::tm t = ReferenceTime();
    wstring format;
    wstring expected;
    for (int i = 0; i < 400; ++i) format += u"%Y-"_w, expected += u"1999-"_w;
    EXPECT_EQ(wrt::strftime(format.c_str(), &t), expected);
    EXPECT_EQ(wrt::strftime(nullptr, &t), u""_w);
}

TEST(WideTime, ShortFormatWithALongResultGrows) {
    ScopedLocale loc(LC_ALL, "C");
    const std::tm t = ReferenceTime();
    // A padded field makes a few format characters longer than a first, small buffer.
    for (int width : {500, 510, 511, 512, 600, 5000}) {
        const std::string format = "%" + std::to_string(width) + "Y";
        const wstring text = wrt::strftime(Utf8ToWide(format).c_str(), &t);
        ASSERT_EQ(text.size(), static_cast<std::size_t>(width)) << width;
        EXPECT_EQ(text.substr(text.size() - 5), u"01999"_w);
    }
}

TEST(WideText, MultibyteDecimalPointRoundTrips) {
    ScopedLocale loc(LC_NUMERIC, "ps_AF.UTF-8");
    if (!loc.ok()) GTEST_SKIP() << "no locale with a multibyte decimal point installed";
    const wstring text = wrt::format("%.2f", 3.5);
    EXPECT_EQ(text, u"3\u066b50"_w);
    wchar *end = nullptr;
    EXPECT_DOUBLE_EQ(wrt::wcstod(text.c_str(), &end), 3.5);
    EXPECT_EQ(end, text.c_str() + text.size());
    const wstring ascii = u"3.5"_w;
    EXPECT_DOUBLE_EQ(wrt::wcstod(ascii.c_str(), &end), 3.0);
    EXPECT_EQ(end, ascii.c_str() + 1);
}

TEST(WideTime, SingleByteLocaleNamesAndLiterals) {
    ScopedLocale loc(LC_ALL, "de_DE.ISO-8859-1");
    if (!loc.ok()) GTEST_SKIP() << "no single-byte German locale installed";
    std::tm t = ReferenceTime();
    t.tm_mon = 2;
    EXPECT_EQ(wrt::strftime(u"\u00e9 %B"_w.c_str(), &t), u"\u00e9 M\u00e4rz"_w);
}
