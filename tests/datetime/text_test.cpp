#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>

#include "datetime/datetime_text_fixture.h"

using namespace quelt;

namespace {

constexpr wchar kGuard = 0xABCD;

// A buffer pre-filled with guard characters, to see how far a call wrote.
struct Guarded {
    std::array<wchar, 96> chars;
    Guarded() { chars.fill(kGuard); }
    wchar *data() { return chars.data(); }
    // The index of the first guard character, the extent written.
    std::size_t Written() const {
        return static_cast<std::size_t>(std::find(chars.begin(), chars.end(), kGuard) - chars.begin());
    }
};

// Records what the date hands to its parser.
class RecordingParser : public IDateParser {
  public:
    int weekday = 0, dayOfYear = -1, year = 0;
    void Parse(const wchar *, int &day, int &month, int &y, int &hour, int &minute, int &second,
               int &millisecond) override {
        day = 5;
        month = 6;
        y = 2007;
        hour = minute = second = millisecond = 0;
    }
    wchar *Format(const wchar *, wchar *buffer, int &size, int, int, int y, int, int, int, int, int wd,
                  int doy) override {
        year = y;
        weekday = wd;
        dayOfYear = doy;
        size = 1;
        return buffer;
    }
    wchar *WeekDayName(int, wchar *buffer, int &size, bool) override {
        size = 42;
        return buffer;
    }
    wchar *MonthName(int, wchar *buffer, int &size, bool) override {
        size = 43;
        return buffer;
    }
};

std::string Format(const tdatetime &date, const char *format) {
    Guarded buffer;
    int size = 96;
    return N(date.FormatDateTime(format ? W(format).c_str() : nullptr, buffer.data(), size));
}

}  // namespace

using DateFormatting = CLocaleText;
using DateNames = CLocaleText;
using ParserReplacement = CLocaleText;
using IntervalText = CLocaleText;

TEST_F(DateFormatting, DefaultTextParsesBackToTheSameInstant) {
    for (const tdatetime &date :
         {tdatetime(1, 1, 1), tdatetime(28, 7, 1999, 4, 5, 59, 0), tdatetime(28, 2, 1850, 23, 59, 59, 0),
          tdatetime(31, 12, 99, 12, 0, 0, 0), tdatetime(31, 12, tdatetime::MaxYear, 1, 2, 3, 0)}) {
        Guarded buffer;
        int size = 96;
        date.FormatDateTime(nullptr, buffer.data(), size);
        SCOPED_TRACE(N(buffer.data()));
        EXPECT_EQ(tdatetime(buffer.data()), date);
        EXPECT_EQ(static_cast<std::size_t>(size), buffer.Written());
    }
}

TEST_F(DateFormatting, DefaultTextRoundTripsAcrossCenturies) {
    wchar buffer[96];
    for (int year = 1; year < 2500; year += 7) {
        const tdatetime date(year % 28 + 1, year % 12 + 1, year, year % 24, year % 60, year * 7 % 60, 0);
        int size = 96;
        date.FormatDateTime(nullptr, buffer, size);
        ASSERT_EQ(tdatetime(buffer), date) << N(buffer);
    }
}

TEST_F(DateFormatting, YearsBefore1900AreTrue) {
    EXPECT_EQ(Format(tdatetime(14, 7, 1850), "%Y-%m-%d"), "1850-07-14");
    EXPECT_EQ(Format(tdatetime(1, 1, 1), "%Y"), "1");
    EXPECT_EQ(Format(tdatetime(14, 7, 1850), nullptr), "07/14/1850 00:00:00");
}

TEST_F(DateFormatting, WeekdayAndDayOfYearReachTheFormat) {
    const tdatetime date(28, 7, 1999, 4, 5, 59, 0);
    EXPECT_EQ(Format(date, "%A %j %B %H:%M:%S"), "Wednesday 209 July 04:05:59");
    EXPECT_EQ(Format(tdatetime(31, 12, 2000), "%a %j"), "Sun 366");
}

TEST_F(DateFormatting, ExtremePartsFromAHostReachNoOverflow) {
    constexpr int lowest = std::numeric_limits<int>::min();
    StdDateParser parser;
    Guarded buffer;
    int size = 96;
    parser.Format(W("%Y").c_str(), buffer.data(), size, 1, lowest, 2000, 0, 0, 0, 0, lowest, 0);
    EXPECT_EQ(N(buffer.data()), "2000");
    EXPECT_EQ(size, 5);
}

TEST_F(DateFormatting, SmallBufferGetsATerminatedPrefixAndTheNeededSize) {
    const tdatetime date(28, 7, 1999, 4, 5, 59, 0);
    Guarded buffer;
    int size = 6;
    date.FormatDateTime(nullptr, buffer.data(), size);
    EXPECT_EQ(size, 20);
    EXPECT_EQ(buffer.Written(), 6u);
    EXPECT_EQ(N(buffer.data()), "07/28");

    size = 0;
    Guarded untouched;
    date.FormatDateTime(nullptr, untouched.data(), size);
    EXPECT_EQ(untouched.Written(), 0u);
    EXPECT_EQ(size, 20);

    size = 1000;
    EXPECT_EQ(date.FormatDateTime(nullptr, nullptr, size), nullptr);
    EXPECT_EQ(size, 20);

    size = 20;
    Guarded exact;
    date.FormatDateTime(nullptr, exact.data(), size);
    EXPECT_EQ(exact.Written(), 20u);
    EXPECT_EQ(N(exact.data()), "07/28/1999 04:05:59");
}

TEST_F(DateNames, CLocaleNames) {
    Guarded buffer;
    int size = 96;
    EXPECT_EQ(N(tdatetime::WeekDayName(1, buffer.data(), size, true)), "Sunday");
    EXPECT_EQ(size, 7);
    size = 96;
    EXPECT_EQ(N(tdatetime::WeekDayName(7, buffer.data(), size, false)), "Sat");
    EXPECT_EQ(size, 4);
    size = 96;
    EXPECT_EQ(N(tdatetime::MonthName(12, buffer.data(), size, true)), "December");
    EXPECT_EQ(size, 9);
    size = 96;
    EXPECT_EQ(N(tdatetime::MonthName(1, buffer.data(), size, false)), "Jan");
}

TEST_F(DateNames, OutOfRangeNumbers) {
    wchar buffer[16];
    int size = 16;
    auto weekdayCode = [&](int n) {
        try {
            tdatetime::WeekDayName(n, buffer, size, true);
        } catch (const bad_weekday &e) {
            return e.GetCode();
        }
        return -1;
    };
    auto monthCode = [&](int n) {
        try {
            tdatetime::MonthName(n, buffer, size, true);
        } catch (const bad_month &e) {
            return e.GetCode();
        }
        return -1;
    };
    EXPECT_EQ(weekdayCode(8), 1);
    EXPECT_EQ(weekdayCode(0), 2);
    EXPECT_EQ(monthCode(13), 1);
    EXPECT_EQ(monthCode(0), 2);
    EXPECT_EQ(monthCode(-5), 2);
}

TEST_F(DateNames, TooSmallBufferGetsNothing) {
    Guarded buffer;
    int size = 6;
    tdatetime::WeekDayName(4, buffer.data(), size, true);
    EXPECT_EQ(buffer.Written(), 0u);
    EXPECT_EQ(size, 10);
    size = 10;
    tdatetime::WeekDayName(4, buffer.data(), size, true);
    EXPECT_EQ(N(buffer.data()), "Wednesday");
    EXPECT_EQ(buffer.Written(), 10u);
    size = 3;
    tdatetime::MonthName(5, nullptr, size, false);
    EXPECT_EQ(size, 4);
}

TEST_F(ParserReplacement, ConversionsGoThroughTheInstalledParser) {
    RecordingParser recording;
    IDateParser *previous = tdatetime::SetNewParser(&recording);
    ASSERT_NE(previous, nullptr);
    const tdatetime date(28, 7, 1999);
    int size = 0;
    date.FormatDateTime(nullptr, nullptr, size);
    EXPECT_EQ(recording.year, 1999);
    EXPECT_EQ(recording.weekday, date.DayOfWeek());
    EXPECT_EQ(recording.dayOfYear, date.DayOfYear());
    EXPECT_EQ(tdatetime(W("anything").c_str()), tdatetime(5, 6, 2007));
    tdatetime::WeekDayName(1, nullptr, size, true);
    EXPECT_EQ(size, 42);
    tdatetime::MonthName(1, nullptr, size, true);
    EXPECT_EQ(size, 43);
    EXPECT_EQ(tdatetime::SetNewParser(previous), &recording);
}

TEST_F(ParserReplacement, NoParserInstallsTheStandardOneOnFirstUse) {
    IDateParser *standard = tdatetime::SetNewParser(nullptr);
    tdatetime::UpdateLocale();
    EXPECT_EQ(tdatetime(W("12/31/1999").c_str()), tdatetime(31, 12, 1999));
    EXPECT_EQ(tdatetime::CreateStdParser(), standard);
    EXPECT_NE(dynamic_cast<StdDateParser *>(standard), nullptr);
}

TEST_F(IntervalText, TimeStringOfADayAndAHalf) {
    Guarded buffer;
    int size = 96;
    ttimeinterval t;
    t.SetTime(1.5);
    EXPECT_EQ(N(t.TimeString(buffer.data(), size)), "1 days, 12 hours, 0 minutes, 0 seconds, 0 milliseconds");
    EXPECT_EQ(size, 55);
    EXPECT_EQ(buffer.Written(), 55u);
}

TEST_F(IntervalText, NegativeIntervalsAndRoundedDays) {
    wchar buffer[96];
    int size = 96;
    const ttimeinterval negative = -(days(2) + hours(3) + minutes(4) + seconds(5) + mseconds(6));
    EXPECT_EQ(N(negative.TimeString(buffer, size)),
              "-2 days, -3 hours, -4 minutes, -5 seconds, -6 milliseconds");
    ttimeinterval almost;
    almost.SetTime(3.0 - 0.1 / 86400000.0);
    size = 96;
    EXPECT_EQ(N(almost.TimeString(buffer, size)), "3 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds");
}

TEST_F(IntervalText, TimeStringTooSmallWritesNothing) {
    Guarded buffer;
    // "1 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds" has 53 characters.
    int size = 53;
    days(1).TimeString(buffer.data(), size);
    EXPECT_EQ(size, 54);
    EXPECT_EQ(buffer.Written(), 0u);
    size = 54;
    days(1).TimeString(buffer.data(), size);
    EXPECT_EQ(buffer.Written(), 54u);
    size = 1000;
    EXPECT_EQ(ttimeinterval().TimeString(nullptr, size), nullptr);
    EXPECT_EQ(size, 54);
}

TEST_F(IntervalText, TimeIntervalFromText) {
    ttimeinterval t = days(3);
    t.SetTime(W("1 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds").c_str());
    EXPECT_EQ(t.GetTime(), 1.0);
    t.SetTime(W("2 days").c_str());
    EXPECT_EQ(t.GetTime(), 2.0);
    t.SetTime(W("").c_str());
    EXPECT_EQ(t.GetTime(), 0.0);
    const ttimeinterval huge(W("2147483647 days, 2147483647 hours").c_str());
    EXPECT_EQ(huge.GetTime(), (24.0 * 2147483647.0 + 2147483647.0) * 3600000.0 * 1.1574074074074074e-8);
}

TEST_F(IntervalText, TimeIntervalRoundTrip) {
    for (const ttimeinterval &t :
         std::initializer_list<ttimeinterval>{days(5) + hours(23) + minutes(59) + seconds(59) + mseconds(999),
                                              -(days(40) + mseconds(1)), hours(100), ttimeinterval()}) {
        wchar buffer[96];
        int size = 96;
        const ttimeinterval back(t.TimeString(buffer, size));
        EXPECT_NEAR(back.GetMsec(), t.GetMsec(), 1e-3) << N(buffer);
    }
}

TEST_F(IntervalText, CalendarIntervalText) {
    Guarded buffer;
    const tdatetimeinterval i(3, 2, 1, 4, 5, 6, 7);
    EXPECT_EQ(N(i.DateTimeString(buffer.data(), 96)),
              "1 years, 2 months, 3 days, 4 hours, 5 minutes, 6 seconds, 7 milliseconds");
    const tdatetimeinterval back(buffer.data());
    EXPECT_EQ(back.GetMonths(), 14);
    EXPECT_NEAR(back.GetDays(), i.GetDays(), 1e-12);

    Guarded small;
    i.DateTimeString(small.data(), 20);
    EXPECT_EQ(small.Written(), 0u);
    EXPECT_EQ(i.DateTimeString(nullptr, 1024), nullptr);

    tdatetimeinterval justUnderTwoDays(1, 0, 0);
    justUnderTwoDays += tdatetimeinterval(23, 59, 59, 999);
    justUnderTwoDays.DateTimeString(buffer.data(), 96);
    EXPECT_EQ(N(buffer.data()),
              "0 years, 0 months, 1 days, 23 hours, 59 minutes, 59 seconds, 999 milliseconds");
    ttimeinterval tenthOfAMillisecond;
    tenthOfAMillisecond.SetTime(0.1 / 86400000.0);
    const tdatetime end(3, 1, 2000);
    DateDiff(end, end - (days(2) - tenthOfAMillisecond)).DateTimeString(buffer.data(), 96);
    EXPECT_EQ(N(buffer.data()), "0 years, 0 months, 2 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds");

    tdatetimeinterval negative = -tdatetimeinterval(1, 13, 0);
    EXPECT_EQ(N(negative.DateTimeString(buffer.data(), 96)),
              "-1 years, -1 months, -1 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds");
}

TEST_F(IntervalText, CalendarIntervalFromTextReplacesTheValue) {
    tdatetimeinterval i(9, 9, 9, 9, 9, 9, 9);
    i.SetDateTime(W("0 years, 5 months").c_str());
    EXPECT_EQ(i, months(5));
    i.SetDateTime(W("1 years, 0 months, 2 days, 12 hours").c_str());
    EXPECT_EQ(i.GetMonths(), 12);
    EXPECT_EQ(i.GetDays(), 2.5);
}
