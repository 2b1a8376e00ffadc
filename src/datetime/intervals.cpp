#include <cmath>

#include "core/numeric_p.h"
#include "datetime/calendar_p.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

namespace {

int MonthCount(std::int64_t months, std::int64_t years) { return SaturatingNarrow<int>(months + 12 * years); }

void AssignParts(const calendar::TimeParts &parts, int &hour, int &minute, int &second, int &millisecond) {
    hour = parts.hour;
    minute = parts.minute;
    second = parts.second;
    millisecond = parts.millisecond;
}

}  // namespace

ttimeinterval::ttimeinterval(int hour, int minute, int second, int millisecond)
    : m_value(calendar::TimeFraction(hour, minute, second, millisecond)) {}

double ttimeinterval::GetMsec() const { return m_value * calendar::kMsecPerDay; }

void ttimeinterval::SetTime(int hour, int minute, int second, int millisecond) {
    m_value = std::trunc(m_value) + calendar::TimeFraction(hour, minute, second, millisecond);
}

void ttimeinterval::DecodeTime(int &hour, int &minute, int &second, int &millisecond) const {
    AssignParts(calendar::SplitMsec(calendar::FractionMsec(m_value)), hour, minute, second, millisecond);
}

void ttimeinterval::DecodeInterval(int &days, int &hour, int &minute, int &second, int &millisecond) const {
    const calendar::MsecSplit split = calendar::SplitRounded(m_value);
    days = SaturatingCast<int>(split.whole);
    AssignParts(calendar::SplitMsec(split.msec), hour, minute, second, millisecond);
}

ttimeinterval &ttimeinterval::SetAbs() {
    m_value = std::fabs(m_value);
    return *this;
}

ttimeinterval ttimeinterval::GetAbs() const {
    ttimeinterval result(*this);
    return result.SetAbs();
}

ttimeinterval &ttimeinterval::operator+=(const ttimeinterval &other) {
    m_value += other.m_value;
    return *this;
}

ttimeinterval &ttimeinterval::operator-=(const ttimeinterval &other) {
    m_value -= other.m_value;
    return *this;
}

ttimeinterval &ttimeinterval::operator-() {
    m_value = -m_value;
    return *this;
}

ttimeinterval operator+(const ttimeinterval &a, const ttimeinterval &b) { return ttimeinterval(a) += b; }
ttimeinterval operator-(const ttimeinterval &a, const ttimeinterval &b) { return ttimeinterval(a) -= b; }

mseconds::mseconds(int count) { m_value = count * calendar::kDaysPerMsec; }
seconds::seconds(int count) { m_value = count * calendar::kDaysPerSecond; }
minutes::minutes(int count) { m_value = count * calendar::kDaysPerMinute; }
hours::hours(int count) { m_value = count * calendar::kDaysPerHour; }
days::days(int count) { m_value = count; }

tdatetimeinterval::tdatetimeinterval(int days, int months, int years)
    : m_months(MonthCount(months, years)), m_days(days) {}

tdatetimeinterval::tdatetimeinterval(int hour, int minute, int second, int millisecond)
    : m_days(calendar::TimeFraction(hour, minute, second, millisecond)) {}

tdatetimeinterval::tdatetimeinterval(int days, int months, int years, int hour, int minute, int second,
                                     int millisecond)
    : m_months(MonthCount(months, years)),
      m_days(days + calendar::TimeFraction(hour, minute, second, millisecond)) {}

void tdatetimeinterval::SetDateTime(double length) {
    const double quotient = length * calendar::kMonthsPerDay;
    const double whole = std::trunc(quotient);
    m_months = SaturatingCast<int>(whole);
    if (m_months != whole) {
        // Saturated (or NaN): only the fraction of a month is left as days.
        m_days = (quotient - whole) * calendar::kDaysPerMonth;
        return;
    }
    // The subtraction is exact for whole month counts, so GetDateTime gives the
    // same length back and stored intervals do not drift on each rewrite.
    m_days = length - whole * calendar::kDaysPerMonth;
}

double tdatetimeinterval::GetDateTime() const { return m_months * calendar::kDaysPerMonth + m_days; }

void tdatetimeinterval::SetDate(int days, int months, int years) {
    m_months = MonthCount(months, years);
    m_days = days + (m_days - std::trunc(m_days));
}

void tdatetimeinterval::DecodeDate(int &days, int &months, int &years) const {
    days = SaturatingCast<int>(m_days);
    years = m_months / 12;
    months = m_months % 12;
}

void tdatetimeinterval::SetTime(int hour, int minute, int second, int millisecond) {
    m_days = std::trunc(m_days) + calendar::TimeFraction(hour, minute, second, millisecond);
}

void tdatetimeinterval::DecodeTime(int &hour, int &minute, int &second, int &millisecond) const {
    AssignParts(calendar::SplitMsec(calendar::FractionMsec(m_days)), hour, minute, second, millisecond);
}

tdatetimeinterval &tdatetimeinterval::operator+=(const tdatetimeinterval &other) {
    m_months = SaturatingNarrow<int>(std::int64_t{m_months} + other.m_months);
    m_days += other.m_days;
    return *this;
}

tdatetimeinterval &tdatetimeinterval::operator-=(const tdatetimeinterval &other) {
    m_months = SaturatingNarrow<int>(std::int64_t{m_months} - other.m_months);
    m_days -= other.m_days;
    return *this;
}

tdatetimeinterval &tdatetimeinterval::operator-() {
    m_months = SaturatingNarrow<int>(-std::int64_t{m_months});
    m_days = -m_days;
    return *this;
}

bool tdatetimeinterval::operator==(const tdatetimeinterval &other) const {
    return m_months == other.m_months && m_days == other.m_days;
}
bool tdatetimeinterval::operator!=(const tdatetimeinterval &other) const { return !(*this == other); }
bool tdatetimeinterval::operator<(const tdatetimeinterval &other) const {
    return GetDateTime() < other.GetDateTime();
}
bool tdatetimeinterval::operator<=(const tdatetimeinterval &other) const {
    return GetDateTime() <= other.GetDateTime();
}
bool tdatetimeinterval::operator>(const tdatetimeinterval &other) const {
    return GetDateTime() > other.GetDateTime();
}
bool tdatetimeinterval::operator>=(const tdatetimeinterval &other) const {
    return GetDateTime() >= other.GetDateTime();
}

tdatetimeinterval operator+(const tdatetimeinterval &a, const tdatetimeinterval &b) {
    return tdatetimeinterval(a) += b;
}
tdatetimeinterval operator-(const tdatetimeinterval &a, const tdatetimeinterval &b) {
    return tdatetimeinterval(a) -= b;
}

months::months(int count) { m_months = count; }
years::years(int count) { m_months = MonthCount(0, count); }

}  // namespace quelt
