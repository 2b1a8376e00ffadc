#include "quelt/datetime/parser.h"

#include <ctime>

#include "core/numeric_p.h"
#include "core/wtext_p.h"
#include "datetime/text_p.h"

namespace quelt {

namespace {

// The locale settings shared by every StdDateParser.
struct LocaleSettings {
    wchar dateSeparator = '/';
    wchar timeSeparator = ':';
    // 0 day-month-year, 1 month-day-year, 2 year-month-day, 3 year-day-month.
    int dateOrder = 1;
};

LocaleSettings &Settings() {
    static LocaleSettings settings;
    return settings;
}

// One character of a time format, escaped when it is the format's own marker.
wstring FormatChar(wchar c) { return c == '%' ? Utf8ToWide("%%") : wstring(1, c); }

wstring BuildDefaultFormat(const LocaleSettings &s) {
    static const char *const kDateOrders[4][3] = {
        {"%d", "%m", "%Y"}, {"%m", "%d", "%Y"}, {"%Y", "%m", "%d"}, {"%Y", "%d", "%m"}};
    const char *const *parts = kDateOrders[s.dateOrder];
    const wstring date = FormatChar(s.dateSeparator);
    const wstring time = FormatChar(s.timeSeparator);
    return Utf8ToWide(parts[0]) + date + Utf8ToWide(parts[1]) + date + Utf8ToWide(parts[2]) +
           Utf8ToWide(" %H") + time + Utf8ToWide("%M") + time + Utf8ToWide("%S");
}

// The format of the current settings; each thread keeps the last one it built,
// as formatting without a format is frequent and the settings rarely change.
const wstring &DefaultFormat() {
    struct Built {
        LocaleSettings from;
        wstring format;
    };
    const LocaleSettings &s = Settings();
    thread_local Built built{s, BuildDefaultFormat(s)};
    if (built.from.dateSeparator != s.dateSeparator || built.from.timeSeparator != s.timeSeparator ||
        built.from.dateOrder != s.dateOrder) {
        built = {s, BuildDefaultFormat(s)};
    }
    return built.format;
}

// Formats a name into the buffer only when it fits whole; size returns the length needed.
wchar *FormatName(const char *format, const std::tm &time, wchar *buffer, int &size) {
    const wstring text = wrt::strftime(Utf8ToWide(format).c_str(), &time);
    datetime_text::CopyIfFits(text, buffer, size);
    size = datetime_text::NeededSize(text);
    return buffer;
}

}  // namespace

namespace datetime_text {

void ProbeLocale() {
    // 28 July 1999, 04:05:59: every field differs, so the order can be read off.
    std::tm reference{};
    reference.tm_sec = 59;
    reference.tm_min = 5;
    reference.tm_hour = 4;
    reference.tm_mday = 28;
    reference.tm_mon = 6;
    reference.tm_year = 99;
    reference.tm_wday = 3;
    reference.tm_yday = 208;
    LearnLocale(wrt::strftime(Utf8ToWide("%c").c_str(), &reference));
}

void LearnLocale(const wstring &text) {
    int first = 0, second = 0, third = 0, hour = 0, minute = 0, sec = 0;
    wchar date1 = 0, date2 = 0, skipped = 0, time1 = 0, time2 = 0;
    const int read = wrt::swscanf(text.c_str(), "%d%c%d%c%d%c%d%c%d%c%d", &first, &date1, &second, &date2,
                                  &third, &skipped, &hour, &time1, &minute, &time2, &sec);
    if (read != 11) return;

    LocaleSettings &s = Settings();
    s.dateSeparator = date2;
    s.timeSeparator = time2;
    if (first == 99 || first == 1999) {
        s.dateOrder = second == 28 ? 3 : 2;
    } else {
        s.dateOrder = first != 28 ? 1 : 0;
    }
}

}  // namespace datetime_text

IDateParser::~IDateParser() = default;

void StdDateParser::Parse(const wchar *text, int &day, int &month, int &year, int &hour, int &minute,
                          int &second, int &millisecond) {
    const std::size_t length = wrt::wcslen(text);
    if (length == 0 || (length == 1 && text[0] == ' ')) {
        day = month = year = 1;
        hour = minute = second = millisecond = 0;
        return;
    }
    int numbers[3] = {1, 1, 1};
    int h = 0, mi = 0, s = 0, ms = 0;
    wchar date1 = 0, date2 = 0, skipped = 0, time1 = 0, time2 = 0, time3 = 0;
    const int read = wrt::swscanf(text, "%d%c%d%c%d%c%d%c%d%c%d%c%d", &numbers[0], &date1, &numbers[1],
                                  &date2, &numbers[2], &skipped, &h, &time1, &mi, &time2, &s, &time3, &ms);
    if (read <= 0) throw bad_format(0);

    const LocaleSettings &settings = Settings();
    const wchar dateSeparators[] = {date1, date2};
    for (int i = 0; i < 2; ++i) {
        if (read >= 2 + 2 * i && dateSeparators[i] != settings.dateSeparator) throw bad_format(1);
    }
    const wchar timeSeparators[] = {time1, time2, time3};
    for (int i = 0; i < 3; ++i) {
        if (read >= 8 + 2 * i && timeSeparators[i] != settings.timeSeparator) throw bad_format(2);
    }

    // Positions of day, month and year among the three numbers, by date order.
    static constexpr int kPositions[4][3] = {{0, 1, 2}, {1, 0, 2}, {2, 1, 0}, {1, 2, 0}};
    const int *positions = kPositions[settings.dateOrder];
    day = numbers[positions[0]];
    month = numbers[positions[1]];
    year = numbers[positions[2]];
    hour = h;
    minute = mi;
    second = s;
    millisecond = ms;
}

wchar *StdDateParser::Format(const wchar *format, wchar *buffer, int &size, int day, int month, int year,
                             int hour, int minute, int second, int /*millisecond*/, int weekday,
                             int dayOfYear) {
    std::tm time{};
    // Years before 1900 keep their true value: strftime handles a negative tm_year.
    time.tm_year = SaturatingNarrow<int>(year - 1900LL);
    // A host may hand any parts; none may overflow on the way to strftime.
    time.tm_mon = SaturatingNarrow<int>(month - 1LL);
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    time.tm_wday = SaturatingNarrow<int>(weekday - 1LL);
    time.tm_yday = dayOfYear;
    const wstring text = wrt::strftime(format != nullptr ? format : DefaultFormat().c_str(), &time);
    datetime_text::CopyTruncated(text, buffer, size);
    size = datetime_text::NeededSize(text);
    return buffer;
}

wchar *StdDateParser::WeekDayName(int weekday, wchar *buffer, int &size, bool full) {
    if (weekday > 7) throw bad_weekday(1);
    if (weekday < 1) throw bad_weekday(2);
    std::tm time{};
    time.tm_wday = weekday - 1;
    return FormatName(full ? "%A" : "%a", time, buffer, size);
}

wchar *StdDateParser::MonthName(int month, wchar *buffer, int &size, bool full) {
    if (month > 12) throw bad_month(1);
    if (month < 1) throw bad_month(2);
    std::tm time{};
    time.tm_mon = month - 1;
    return FormatName(full ? "%B" : "%b", time, buffer, size);
}

}  // namespace quelt
