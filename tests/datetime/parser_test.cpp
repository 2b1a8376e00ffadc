#include <gtest/gtest.h>

#include "datetime/datetime_text_fixture.h"
#include "datetime/text_p.h"

using namespace quelt;

namespace {

struct Parsed {
    int day = 0, month = 0, year = 0, hour = -1, minute = -1, second = -1, msec = -1;
};

Parsed ParseText(const char *text) {
    Parsed p;
    StdDateParser parser;
    parser.Parse(W(text).c_str(), p.day, p.month, p.year, p.hour, p.minute, p.second, p.msec);
    return p;
}

template <class E>
int CodeOf(const char *text) {
    try {
        ParseText(text);
    } catch (const E &e) {
        return e.GetCode();
    }
    return -1;
}

std::string DefaultText(const tdatetime &date) {
    wchar buffer[64];
    int size = 64;
    return N(date.FormatDateTime(nullptr, buffer, size));
}

}  // namespace

using ParserProbe = CLocaleText;
using ParserReading = CLocaleText;
using ParserErrors = CLocaleText;

TEST_F(ParserProbe, CLocaleIsMonthFirstWithSlashAndColon) {
    const Parsed p = ParseText("12/31/1999 23:59:59:500");
    EXPECT_EQ(p.day, 31);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.year, 1999);
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.minute, 59);
    EXPECT_EQ(p.second, 59);
    EXPECT_EQ(p.msec, 500);
    EXPECT_EQ(DefaultText(tdatetime(28, 7, 1999, 4, 5, 59, 0)), "07/28/1999 04:05:59");
}

TEST_F(ParserProbe, DayFirstLocale) {
    datetime_text::LearnLocale(W("28.07.1999 04:05:59"));
    const Parsed p = ParseText("31.12.1999 23:59");
    EXPECT_EQ(p.day, 31);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.minute, 59);
    EXPECT_EQ(DefaultText(tdatetime(2, 1, 2003, 4, 5, 6, 0)), "02.01.2003 04:05:06");
}

TEST_F(ParserProbe, YearFirstLocalesWithTwoOrFourDigits) {
    datetime_text::LearnLocale(W("1999-07-28 04:05:59"));
    Parsed p = ParseText("2003-01-02");
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 20030102);
    EXPECT_EQ(DefaultText(tdatetime(2, 1, 2003)), "2003-01-02 00:00:00");

    datetime_text::LearnLocale(W("99/28/07 04:05:59"));
    p = ParseText("2003/02/01");
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 20030102);
    EXPECT_EQ(DefaultText(tdatetime(2, 1, 2003)), "2003/02/01 00:00:00");
}

TEST_F(ParserProbe, DefaultFormatFollowsEachChangedSetting) {
    const tdatetime date(2, 1, 2003, 4, 5, 6, 0);
    datetime_text::LearnLocale(W("28.07.1999 04:05:59"));
    EXPECT_EQ(DefaultText(date), "02.01.2003 04:05:06");
    datetime_text::LearnLocale(W("28.07.1999 04.05.59"));
    EXPECT_EQ(DefaultText(date), "02.01.2003 04.05.06");
    datetime_text::LearnLocale(W("28-07-1999 04.05.59"));
    EXPECT_EQ(DefaultText(date), "02-01-2003 04.05.06");
    datetime_text::LearnLocale(W("07-28-1999 04.05.59"));
    EXPECT_EQ(DefaultText(date), "01-02-2003 04.05.06");
}

TEST_F(ParserProbe, UnreadableTextKeepsThePreviousSettings) {
    datetime_text::LearnLocale(W("28.07.1999 04:05:59"));
    datetime_text::LearnLocale(W("Wed Jul 28 04:05:59 1999"));
    datetime_text::LearnLocale(W(""));
    EXPECT_EQ(ParseText("28.07.1999").month, 7);
}

TEST_F(ParserProbe, UpdateLocaleProbesAgain) {
    datetime_text::LearnLocale(W("28.07.1999 04:05:59"));
    tdatetime::UpdateLocale();
    EXPECT_EQ(ParseText("12/31/1999").day, 31);
}

TEST_F(ParserProbe, PercentSeparatorIsEscapedInTheDefaultFormat) {
    datetime_text::LearnLocale(W("28%07%1999 04%05%59"));
    EXPECT_EQ(DefaultText(tdatetime(2, 1, 2003, 4, 5, 6, 0)), "02%01%2003 04%05%06");
    EXPECT_EQ(ParseText("02%01%2003").month, 1);
}

TEST_F(ParserReading, EmptyOrOneBlankIsTheFirstDay) {
    for (const char *text : {"", " "}) {
        const Parsed p = ParseText(text);
        EXPECT_EQ(p.day + p.month + p.year, 3);
        EXPECT_EQ(p.hour + p.minute + p.second + p.msec, 0);
    }
    StdDateParser parser;
    Parsed p;
    parser.Parse(nullptr, p.day, p.month, p.year, p.hour, p.minute, p.second, p.msec);
    EXPECT_EQ(p.year, 1);
}

TEST_F(ParserReading, MissingPartsKeepTheirDefaults) {
    Parsed p = ParseText("12/31");
    EXPECT_EQ(p.month * 100 + p.day, 1231);
    EXPECT_EQ(p.year, 1);
    EXPECT_EQ(p.hour + p.minute + p.second + p.msec, 0);
    p = ParseText("7");
    EXPECT_EQ(p.month, 7);
    EXPECT_EQ(p.day, 1);
    p = ParseText("1/2/2003 10:20");
    EXPECT_EQ(p.hour * 100 + p.minute, 1020);
    EXPECT_EQ(p.second, 0);
}

TEST_F(ParserReading, YearsAreTakenAsWritten) {
    EXPECT_EQ(ParseText("7/28/99").year, 99);
    EXPECT_EQ(ParseText("7/28/12345").year, 12345);
}

TEST_F(ParserErrors, SeparatorsAndUnreadableText) {
    EXPECT_EQ(CodeOf<bad_format>("31.12.1999"), 1);
    EXPECT_EQ(CodeOf<bad_format>("12/31-1999"), 1);
    EXPECT_EQ(CodeOf<bad_format>("12/31/1999 23.59"), 2);
    EXPECT_EQ(CodeOf<bad_format>("12/31/1999 23:59.59"), 2);
    EXPECT_EQ(CodeOf<bad_format>("12/31/1999 23:59:59.500"), 2);
    EXPECT_EQ(CodeOf<bad_format>("noon"), 0);
    EXPECT_EQ(CodeOf<bad_format>("  "), 0);
    EXPECT_EQ(bad_format().GetCode(), 0);
}

TEST_F(ParserErrors, FailedParseLeavesTheOutputs) {
    Parsed p;
    StdDateParser parser;
    EXPECT_THROW(parser.Parse(W("1/2.3").c_str(), p.day, p.month, p.year, p.hour, p.minute, p.second, p.msec),
                 bad_format);
    EXPECT_EQ(p.day + p.month + p.year, 0);
}

TEST_F(ParserErrors, RangesAreCheckedByTheDate) {
    tdatetime date(1, 1, 2000);
    try {
        date.SetDateTime(W("13/31/1999").c_str());
        FAIL();
    } catch (const bad_date &e) {
        EXPECT_EQ(e.GetCode(), 2);
    }
    EXPECT_THROW(date.SetDateTime(W("2/30/2000").c_str()), bad_date);
    EXPECT_THROW(date.SetDateTime(W("2/3/2000 24:00").c_str()), bad_time);
    EXPECT_THROW(date.SetDateTime(W("2/3/2000 1:2:3:1000").c_str()), bad_time);
    EXPECT_THROW(date.SetDateTime(W("1/1/0").c_str()), bad_date);
    EXPECT_EQ(date, tdatetime(1, 1, 2000));
    EXPECT_THROW(tdatetime(W("31.12.1999").c_str()), bad_format);
}
