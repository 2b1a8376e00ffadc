#include "core/numeric_p.h"
#include "core/wtext_p.h"
#include "datetime/calendar_p.h"
#include "datetime/text_p.h"
#include "quelt/datetime/datetime.h"
#include "quelt/datetime/parser.h"

namespace quelt {

namespace datetime_text {

void CopyIfFits(const wstring &text, wchar *buffer, int size) {
    if (buffer == nullptr || size <= 0 || text.size() >= static_cast<std::size_t>(size)) return;
    buffer[text.copy(buffer, text.size())] = 0;
}

void CopyTruncated(const wstring &text, wchar *buffer, int size) {
    if (buffer == nullptr || size <= 0) return;
    buffer[text.copy(buffer, static_cast<std::size_t>(size) - 1)] = 0;
}

int NeededSize(const wstring &text) { return SaturatingNarrow<int>(static_cast<long long>(text.size()) + 1); }

}  // namespace datetime_text

namespace {

constexpr const char *kTimeIntervalFormat = "%d days, %d hours, %d minutes, %d seconds, %d milliseconds";
constexpr const char *kCalendarIntervalFormat =
    "%d years, %d months, %d days, %d hours, %d minutes, %d seconds, %d milliseconds";

}  // namespace

IDateParser *tdatetime::m_pParser = nullptr;

IDateParser *tdatetime::InternalGetStdParser() {
    static StdDateParser parser;
    return &parser;
}

IDateParser *tdatetime::SetNewParser(IDateParser *parser) {
    IDateParser *previous = m_pParser;
    m_pParser = parser;
    datetime_text::ProbeLocale();
    return previous;
}

IDateParser *tdatetime::CreateStdParser() { return SetNewParser(InternalGetStdParser()); }

void tdatetime::UpdateLocale() {
    if (m_pParser != nullptr) datetime_text::ProbeLocale();
}

IDateParser *tdatetime::Parser() {
    if (m_pParser == nullptr) CreateStdParser();
    return m_pParser;
}

tdatetime::tdatetime(const wchar *text) : m_value(0.0) { SetDateTime(text); }

void tdatetime::SetDateTime(const wchar *text) {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    Parser()->Parse(text, day, month, year, hour, minute, second, millisecond);
    SetDateTime(day, month, year, hour, minute, second, millisecond);
}

wchar *tdatetime::FormatDateTime(const wchar *format, wchar *buffer, int &size) const {
    IDateParser *parser = Parser();
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeDate(day, month, year);
    DecodeTime(hour, minute, second, millisecond);
    return parser->Format(format, buffer, size, day, month, year, hour, minute, second, millisecond,
                          DayOfWeek(), DayOfYear());
}

wchar *tdatetime::WeekDayName(int weekday, wchar *buffer, int &size, bool full) {
    return Parser()->WeekDayName(weekday, buffer, size, full);
}

wchar *tdatetime::MonthName(int month, wchar *buffer, int &size, bool full) {
    return Parser()->MonthName(month, buffer, size, full);
}

ttimeinterval::ttimeinterval(const wchar *text) { SetTime(text); }

void ttimeinterval::SetTime(const wchar *text) {
    int day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    wrt::swscanf(text, kTimeIntervalFormat, &day, &hour, &minute, &second, &millisecond);
    m_value = calendar::TimeFraction(24LL * day + hour, minute, second, millisecond);
}

wchar *ttimeinterval::TimeString(wchar *buffer, int &size) const {
    int day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeInterval(day, hour, minute, second, millisecond);
    const wstring text = wrt::format(kTimeIntervalFormat, day, hour, minute, second, millisecond);
    datetime_text::CopyIfFits(text, buffer, size);
    size = datetime_text::NeededSize(text);
    return buffer;
}

tdatetimeinterval::tdatetimeinterval(const wchar *text) { SetDateTime(text); }

void tdatetimeinterval::SetDateTime(const wchar *text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    wrt::swscanf(text, kCalendarIntervalFormat, &year, &month, &day, &hour, &minute, &second, &millisecond);
    m_months = 0;
    m_days = 0.0;
    SetDate(day, month, year);
    SetTime(hour, minute, second, millisecond);
}

wchar *tdatetimeinterval::DateTimeString(wchar *buffer, int size) const {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeDate(day, month, year);
    // The day count decodes with its time, so a time rounded up to 24 hours counts as a day.
    ttimeinterval dayCount;
    dayCount.SetTime(m_days);
    dayCount.DecodeInterval(day, hour, minute, second, millisecond);
    const wstring text =
        wrt::format(kCalendarIntervalFormat, year, month, day, hour, minute, second, millisecond);
    datetime_text::CopyIfFits(text, buffer, size);
    return buffer;
}

}  // namespace quelt
