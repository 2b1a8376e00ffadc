#include <cmath>
#include <ctime>

#include "core/numeric_p.h"
#include "datetime/calendar_p.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

namespace {

// The whole day a value shows once its time is rounded to the millisecond.
std::int64_t ShownDay(double value) {
    // A whole day (a date without a time) has nothing to round.
    if (const std::int64_t whole = calendar::WholeDays(value); whole >= 0) return whole;
    if (value == std::trunc(value)) return SaturatingCast<std::int64_t>(value);
    return SaturatingCast<std::int64_t>(calendar::SplitRounded(value).whole);
}

// The time of day a date change keeps: none when it rounds up to the next midnight.
double KeptFraction(double value) {
    if (calendar::WholeDays(value) >= 0) return 0.0;
    const double whole = std::floor(value);
    if (value == whole) return 0.0;
    return static_cast<double>(ShownDay(value)) > whole ? 0.0 : value - whole;
}

}  // namespace

tdatetime::tdatetime(int day, int month, int year) : m_value(0.0) { SetDate(day, month, year); }

tdatetime::tdatetime(int day, int month, int year, int hour, int minute, int second, int millisecond)
    : m_value(0.0) {
    SetDateTime(day, month, year, hour, minute, second, millisecond);
}

tdatetime::tdatetime(const long *stamp) : m_value(0.0) {
    if (stamp == nullptr) throw bad_datetime();
    const std::time_t time = static_cast<std::time_t>(*stamp);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) throw bad_datetime();
    // A leap second has no place in the day number.
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    SetDateTime(local.tm_mday, local.tm_mon + 1, SaturatingNarrow<int>(local.tm_year + 1900LL), local.tm_hour,
                local.tm_min, second, 0);
}

double tdatetime::MaxDateTime() { return calendar::DayNumber(1, 1, std::int64_t{MaxYear} + 1); }

void tdatetime::SetDateTime(double value) {
    if (std::isnan(value) || value < 0.0) throw bad_datetime();
    if (value == 0.0) {
        m_value = 1.0;
        return;
    }
    if (value < 1.0) throw bad_datetime();
    if (value >= MaxDateTime()) throw dt_outofbounds();
    m_value = value;
}

void tdatetime::SetDate(int day, int month, int year) {
    ValidDate(day, month, year);
    m_value = calendar::OnDay(calendar::DayNumber(day, month, year), KeptFraction(m_value));
}

void tdatetime::SetTime(int hour, int minute, int second, int millisecond) {
    ValidTime(hour, minute, second, millisecond);
    m_value = calendar::OnDay(static_cast<double>(ShownDay(m_value)),
                              calendar::TimeFraction(hour, minute, second, millisecond));
}

void tdatetime::SetDateTime(int day, int month, int year, int hour, int minute, int second, int millisecond) {
    ValidDate(day, month, year);
    ValidTime(hour, minute, second, millisecond);
    m_value = calendar::OnDay(calendar::DayNumber(day, month, year),
                              calendar::TimeFraction(hour, minute, second, millisecond));
}

void tdatetime::DecodeDate(int &day, int &month, int &year) const {
    const calendar::Date date = calendar::DecodeDays(ShownDay(m_value));
    day = date.day;
    month = date.month;
    year = SaturatingNarrow<int>(date.year);
}

void tdatetime::DecodeTime(int &hour, int &minute, int &second, int &millisecond) const {
    const calendar::TimeParts parts = calendar::SplitMsec(calendar::SplitRounded(m_value).msec);
    hour = parts.hour;
    minute = parts.minute;
    second = parts.second;
    millisecond = parts.millisecond;
}

int tdatetime::DayOfWeek() const { return static_cast<int>(ShownDay(m_value) % 7) + 1; }

int tdatetime::DayOfYear() const {
    const std::int64_t day = ShownDay(m_value);
    const calendar::Date date = calendar::DecodeDays(day);
    return SaturatingCast<int>(static_cast<double>(day) - calendar::DayNumber(1, 1, date.year));
}

void tdatetime::CheckDateTime() const {
    if (std::isnan(m_value)) throw bad_datetime();
    if (m_value < 1.0 || m_value >= MaxDateTime()) throw dt_outofbounds();
}

void tdatetime::Store(double value) {
    tdatetime candidate;
    candidate.m_value = value;
    candidate.CheckDateTime();
    m_value = value;
}

tdatetime &tdatetime::operator+=(const ttimeinterval &interval) {
    Store(m_value + interval.GetTime());
    return *this;
}

tdatetime &tdatetime::operator-=(const ttimeinterval &interval) {
    Store(m_value - interval.GetTime());
    return *this;
}

double tdatetime::CalendarStep(std::int64_t monthCount, double dayCount) const {
    double value = m_value;
    if (monthCount != 0) {
        const calendar::Date from = calendar::DecodeDays(ShownDay(m_value));
        const int fromLength = calendar::MonthLength(from.month, from.year);
        // Months since the start of year 0; floor division keeps the month in 1..12 for either sign.
        const std::int64_t total = from.year * 12 + (from.month - 1) + monthCount;
        const std::int64_t year = total >= 0 ? total / 12 : -((-total + 11) / 12);
        const int month = static_cast<int>(total - year * 12) + 1;
        if (year < 1 || year > MaxYear) throw dt_outofbounds();
        const int toLength = calendar::MonthLength(month, year);
        // The last day of a month steps to the last day of the target month.
        const int day = from.day > toLength || from.day == fromLength ? toLength : from.day;
        value = calendar::OnDay(calendar::DayNumber(day, month, year), KeptFraction(m_value));
    }
    return value + dayCount;
}

tdatetime &tdatetime::operator+=(const tdatetimeinterval &interval) {
    Store(CalendarStep(interval.GetMonths(), interval.GetDays()));
    return *this;
}

tdatetime &tdatetime::operator-=(const tdatetimeinterval &interval) {
    Store(CalendarStep(-std::int64_t{interval.GetMonths()}, -interval.GetDays()));
    return *this;
}

bool tdatetime::IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

void tdatetime::ValidDate(int day, int month, int year) {
    ValidDay(day, month, year);
    ValidMonth(month);
    ValidYear(year);
}

void tdatetime::ValidDay(int day, int month, int year) {
    if (day < 1 || day > calendar::MonthLength(month, year)) throw bad_date(1);
}

void tdatetime::ValidMonth(int month) {
    if (month < 1 || month > 12) throw bad_date(2);
}

void tdatetime::ValidYear(int year) {
    if (year < 1 || year > MaxYear) throw bad_date(3);
}

void tdatetime::ValidTime(int hour, int minute, int second, int millisecond) {
    ValidHour(hour);
    ValidMin(minute);
    ValidSec(second);
    ValidMSec(millisecond);
}

void tdatetime::ValidHour(int hour) {
    if (hour < 0 || hour > 23) throw bad_time(1);
}

void tdatetime::ValidMin(int minute) {
    if (minute < 0 || minute > 59) throw bad_time(2);
}

void tdatetime::ValidSec(int second) {
    if (second < 0 || second > 59) throw bad_time(3);
}

void tdatetime::ValidMSec(int millisecond) {
    if (millisecond < 0 || millisecond > 999) throw bad_time(4);
}

tdatetime operator+(const tdatetime &date, const ttimeinterval &interval) {
    return tdatetime(date) += interval;
}
tdatetime operator+(const ttimeinterval &interval, const tdatetime &date) {
    return tdatetime(date) += interval;
}
tdatetime operator-(const tdatetime &date, const ttimeinterval &interval) {
    return tdatetime(date) -= interval;
}
tdatetime operator+(const tdatetime &date, const tdatetimeinterval &interval) {
    return tdatetime(date) += interval;
}
tdatetime operator+(const tdatetimeinterval &interval, const tdatetime &date) {
    return tdatetime(date) += interval;
}
tdatetime operator-(const tdatetime &date, const tdatetimeinterval &interval) {
    return tdatetime(date) -= interval;
}

ttimeinterval operator-(const tdatetime &a, const tdatetime &b) {
    ttimeinterval result;
    result.SetTime(a.GetDateTime() - b.GetDateTime());
    return result;
}

tdatetimeinterval DateDiff(const tdatetime &a, const tdatetime &b) {
    const double difference = a.GetDateTime() - b.GetDateTime();
    tdatetimeinterval result;
    if (difference == 0.0) return result;
    int day = 0;
    int month = 0;
    int year = 0;
    (difference > 0.0 ? b : a).DecodeDate(day, month, year);
    double rest = std::fabs(difference);
    // Whole 400-year cycles (4800 months, 146097 days) first; the month walk below would take the same steps.
    std::int64_t cycles = SaturatingCast<std::int64_t>(std::floor(rest / 146097.0));
    if (cycles > 0 && rest - static_cast<double>(cycles) * 146097.0 <= 0.0) --cycles;
    rest -= static_cast<double>(cycles) * 146097.0;
    std::int64_t count = cycles * 4800;
    std::int64_t walkYear = year;
    for (int length = calendar::MonthLength(month, walkYear); rest > length;
         length = calendar::MonthLength(month, walkYear)) {
        rest -= length;
        ++count;
        if (++month > 12) {
            month = 1;
            ++walkYear;
        }
    }
    const int sign = difference > 0.0 ? 1 : -1;
    result.m_months = SaturatingNarrow<int>(sign * count);
    result.m_days = sign * rest;
    return result;
}

}  // namespace quelt
