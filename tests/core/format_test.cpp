#include "quelt/core/format.h"

#include <gtest/gtest.h>

#include <locale>
#include <string>

namespace quelt {
namespace {

template <class C>
class CommaPoint : public std::numpunct<C> {
  protected:
    C do_decimal_point() const override { return C(','); }
};

// Makes ',' the decimal point of the global locale while alive.
class CommaLocale {
  public:
    CommaLocale()
        : m_previous(std::locale::global(std::locale(
              std::locale(std::locale::classic(), new CommaPoint<char>), new CommaPoint<wchar_t>))) {}
    ~CommaLocale() { std::locale::global(m_previous); }

  private:
    std::locale m_previous;
};

// Both widths must agree on every input.
void ExpectFormat(const std::string &input, const std::string &expected) {
    EXPECT_EQ(formatNumber(input), expected) << input;
    EXPECT_EQ(WideToUtf8(formatNumber(Utf8ToWide(input))), expected) << input;
}

TEST(FormatNumberTest, GroupsTheIntegerPartByThrees) {
    ExpectFormat("1000", "1,000");
    ExpectFormat("1234567", "1,234,567");
    ExpectFormat("123456789012", "123,456,789,012");
    ExpectFormat("12345", "12,345");
}

TEST(FormatNumberTest, ShortNumbersAndEmptyTextStayAsTheyAre) {
    ExpectFormat("", "");
    ExpectFormat("1", "1");
    ExpectFormat("100", "100");
    ExpectFormat("123", "123");
}

TEST(FormatNumberTest, LeavesTheFractionAlone) {
    ExpectFormat("1234567.891", "1,234,567.891");
    ExpectFormat("1234.5678", "1,234.5678");
    ExpectFormat("123.45678", "123.45678");
    ExpectFormat(".123456", ".123456");
}

TEST(FormatNumberTest, KeepsAPercentSignAtTheEnd) {
    ExpectFormat("12345%", "12,345%");
    ExpectFormat("123456%", "123,456%");
    ExpectFormat("100%", "100%");
    ExpectFormat("%", "%");
}

TEST(FormatNumberTest, SkipsALeadingSign) {
    ExpectFormat("-123456", "-123,456");
    ExpectFormat("-100", "-100");
    ExpectFormat("+1234", "+1,234");
    ExpectFormat("-1234567.5", "-1,234,567.5");
    ExpectFormat("-", "-");
}

TEST(FormatNumberTest, StopsAtTheFirstNonDigit) {
    ExpectFormat("1e+20", "1e+20");
    ExpectFormat("1234e+20", "1,234e+20");
    ExpectFormat("nan", "nan");
    ExpectFormat("-inf", "-inf");
    ExpectFormat("0x1234FF", "0x1234FF");
    ExpectFormat(" 1234", " 1234");
    ExpectFormat("1,234", "1,234");
}

TEST(FormatNumberTest, TakesTheDecimalPointFromTheGlobalLocale) {
    CommaLocale comma;
    ExpectFormat("1234,5", "1,234,5");
    ExpectFormat("1234567,891", "1,234,567,891");
    ExpectFormat("1234567", "1,234,567");
}

// A run of a million digits: a comma before every third digit from the
// right, the sign and the tail kept, and the work proportional to the length.
TEST(FormatNumberTest, GroupsAVeryLongRunInOnePass) {
    const std::size_t digits = 1000000;
    std::string input = "-";
    for (std::size_t i = 0; i < digits; ++i) input += static_cast<char>('0' + (i * 7) % 10);
    input += ".25%";
    const std::string grouped = formatNumber(input);
    ASSERT_EQ(grouped.size(), input.size() + (digits - 1) / 3);
    EXPECT_EQ(grouped.substr(0, 4), "-0,7");
    EXPECT_EQ(grouped.substr(grouped.size() - 8), ",963.25%");
    std::string plain;
    for (std::size_t i = 1; i < grouped.size() - 4; ++i) {
        const std::size_t fromRight = grouped.size() - 4 - i;
        EXPECT_EQ(grouped[i] == ',', fromRight % 4 == 0) << i;
        if (grouped[i] != ',') plain += grouped[i];
    }
    EXPECT_EQ(plain, input.substr(1, digits));
    EXPECT_EQ(formatNumber(Utf8ToWide(input)), Utf8ToWide(grouped));
}

// Whatever formatNumber groups comes back to the text it was given.
TEST(UnformatNumberTest, UndoesFormatNumber) {
    for (const char *text : {"0", "-7", "+999", "1234", "-1234567.5", "12345%", "-1234567890123", "1e+10",
                             "123456.75e-3", "1234567 m", "nan", ""}) {
        const wstring plain = Utf8ToWide(text);
        EXPECT_EQ(unformatNumber(formatNumber(plain)), plain) << text;
    }
}

// Only commas that stand where formatNumber would put them come out.
TEST(UnformatNumberTest, LeavesTextNotGroupedInThrees) {
    for (const char *text :
         {"1,23", "1234,567", ",123", "1,2345", "-,123", "1,234,56", "a,123", "12,345,6789"}) {
        EXPECT_EQ(WideToUtf8(unformatNumber(Utf8ToWide(text))), WideToUtf8(Utf8ToWide(text))) << text;
    }
    EXPECT_EQ(unformatNumber(u"1,234x,567"_w), u"1234x,567"_w);
    EXPECT_EQ(unformatNumber(u"-12,345,678%"_w), u"-12345678%"_w);
}

// With ',' as the decimal point "1,234" is one and a bit, not a grouped 1234.
TEST(UnformatNumberTest, KeepsTextWhereTheCommaIsTheDecimalPoint) {
    CommaLocale comma;
    EXPECT_EQ(unformatNumber(u"1,234"_w), u"1,234"_w);
    EXPECT_EQ(unformatNumber(u"1,234,567,5"_w), u"1,234,567,5"_w);
}

TEST(FormatNumberTest, WideTextKeepsCharactersBeyondAscii) {
    EXPECT_EQ(formatNumber(u"1234567\u00a0\u20ac"_w), u"1,234,567\u00a0\u20ac"_w);
}

}  // namespace
}  // namespace quelt
