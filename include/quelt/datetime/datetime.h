#pragma once

#include <cstdint>

#include "quelt/core/config.h"
#include "quelt/datetime/exceptions.h"

namespace quelt {

class IDateParser;
class ttimeinterval;
class tdatetimeinterval;

// A point in time: days of the proleptic Gregorian calendar, 1 January 0001 =
// 1.0, with the time of day in the fraction. Valid values lie in
// [1.0, MaxDateTime()): the last representable day is 31 December 9999999.
// Beyond about the year 100000 the double no longer resolves single
// milliseconds (at the upper bound its step is about 41 ms).
class QUELT_API tdatetime {
  public:
    static constexpr int MaxYear = 9999999;

    tdatetime() = default;
    tdatetime(int day, int month, int year);
    tdatetime(int day, int month, int year, int hour, int minute, int second, int millisecond);
    explicit tdatetime(const wchar *text);
    // Seconds since 1970, broken down into local time; a null pointer throws bad_datetime.
    explicit tdatetime(const long *stamp);

    void SetDateTime(double value);
    double GetDateTime() const { return m_value; }
    void SetDate(int day, int month, int year);
    void SetTime(int hour, int minute, int second, int millisecond);
    void SetDateTime(int day, int month, int year, int hour, int minute, int second, int millisecond);
    // Parses through the installed parser, then validates as SetDateTime of the parts.
    void SetDateTime(const wchar *text);

    void DecodeDate(int &day, int &month, int &year) const;
    void DecodeTime(int &hour, int &minute, int &second, int &millisecond) const;
    // 1 = Sunday .. 7 = Saturday.
    int DayOfWeek() const;
    // 0 for 1 January.
    int DayOfYear() const;

    tdatetime &operator+=(const ttimeinterval &interval);
    tdatetime &operator-=(const ttimeinterval &interval);
    tdatetime &operator+=(const tdatetimeinterval &interval);
    tdatetime &operator-=(const tdatetimeinterval &interval);

    bool operator==(const tdatetime &other) const { return m_value == other.m_value; }
    bool operator!=(const tdatetime &other) const { return m_value != other.m_value; }
    bool operator<(const tdatetime &other) const { return m_value < other.m_value; }
    bool operator<=(const tdatetime &other) const { return m_value <= other.m_value; }
    bool operator>(const tdatetime &other) const { return m_value > other.m_value; }
    bool operator>=(const tdatetime &other) const { return m_value >= other.m_value; }

    // The first day number past 31 December MaxYear.
    static double MaxDateTime();
    static bool IsLeapYear(int year);
    static void ValidDate(int day, int month, int year);
    static void ValidDay(int day, int month, int year);
    static void ValidMonth(int month);
    static void ValidYear(int year);
    static void ValidTime(int hour, int minute, int second, int millisecond);
    static void ValidHour(int hour);
    static void ValidMin(int minute);
    static void ValidSec(int second);
    static void ValidMSec(int millisecond);

    // Text, through the installed parser (the standard one unless replaced). A
    // null or too small buffer gets at most size - 1 characters and a
    // terminator; size returns the length needed, terminator included.
    wchar *FormatDateTime(const wchar *format, wchar *buffer, int &size) const;
    static wchar *WeekDayName(int weekday, wchar *buffer, int &size, bool full);
    static wchar *MonthName(int month, wchar *buffer, int &size, bool full);
    // Probes the C locale again; call it after the C locale changed.
    static void UpdateLocale();
    // Both return the previous parser; the caller owns any parser it installs.
    static IDateParser *SetNewParser(IDateParser *parser);
    static IDateParser *CreateStdParser();

  protected:
    void CheckDateTime() const;
    static IDateParser *InternalGetStdParser();

    static IDateParser *m_pParser;

  private:
    static IDateParser *Parser();
    // Stores a value after CheckDateTime, so a failed operation changes nothing.
    void Store(double value);
    // The value moved by whole months (end-of-month rule) and then by a day count.
    double CalendarStep(std::int64_t monthCount, double dayCount) const;

    double m_value = 1.0;
};

// A signed duration in days.
class QUELT_API ttimeinterval {
  public:
    ttimeinterval() = default;
    ttimeinterval(int hour, int minute, int second, int millisecond);
    explicit ttimeinterval(const wchar *text);

    void SetTime(double days) { m_value = days; }
    double GetTime() const { return m_value; }
    double GetMsec() const;
    // No validation: hours above 23 and negative parts are accepted.
    void SetTime(int hour, int minute, int second, int millisecond);
    // Reads "%d days, %d hours, %d minutes, %d seconds, %d milliseconds"; missing fields count as 0.
    void SetTime(const wchar *text);
    void DecodeTime(int &hour, int &minute, int &second, int &millisecond) const;
    void DecodeInterval(int &days, int &hour, int &minute, int &second, int &millisecond) const;

    ttimeinterval &SetAbs();
    ttimeinterval GetAbs() const;

    // Copies only when the buffer holds the whole text; size returns the length needed + 1.
    wchar *TimeString(wchar *buffer, int &size) const;

    ttimeinterval &operator+=(const ttimeinterval &other);
    ttimeinterval &operator-=(const ttimeinterval &other);
    // Negates the object itself.
    ttimeinterval &operator-();

    bool operator==(const ttimeinterval &other) const { return m_value == other.m_value; }
    bool operator!=(const ttimeinterval &other) const { return m_value != other.m_value; }
    bool operator<(const ttimeinterval &other) const { return m_value < other.m_value; }
    bool operator<=(const ttimeinterval &other) const { return m_value <= other.m_value; }
    bool operator>(const ttimeinterval &other) const { return m_value > other.m_value; }
    bool operator>=(const ttimeinterval &other) const { return m_value >= other.m_value; }

  protected:
    double m_value = 0.0;
};

class QUELT_API mseconds : public ttimeinterval {
  public:
    explicit mseconds(int count);
};

class QUELT_API seconds : public ttimeinterval {
  public:
    explicit seconds(int count);
};

class QUELT_API minutes : public ttimeinterval {
  public:
    explicit minutes(int count);
};

class QUELT_API hours : public ttimeinterval {
  public:
    explicit hours(int count);
};

class QUELT_API days : public ttimeinterval {
  public:
    explicit days(int count);
};

// A calendar interval: whole months plus days (time of day in the fraction).
// Its length for ordering is months x 30.6 + days.
class QUELT_API tdatetimeinterval {
  public:
    tdatetimeinterval() = default;
    tdatetimeinterval(int days, int months, int years);
    tdatetimeinterval(int hour, int minute, int second, int millisecond);
    tdatetimeinterval(int days, int months, int years, int hour, int minute, int second, int millisecond);
    explicit tdatetimeinterval(const wchar *text);

    void SetDateTime(double length);
    double GetDateTime() const;
    // Reads "%d years, %d months, %d days, %d hours, %d minutes, %d seconds, %d milliseconds".
    void SetDateTime(const wchar *text);
    void SetDate(int days, int months, int years);
    void DecodeDate(int &days, int &months, int &years) const;
    void SetTime(int hour, int minute, int second, int millisecond);
    void DecodeTime(int &hour, int &minute, int &second, int &millisecond) const;

    int GetMonths() const { return m_months; }
    double GetDays() const { return m_days; }

    // Copies only when the buffer holds the whole text; 1024 characters always suffice.
    wchar *DateTimeString(wchar *buffer, int size) const;

    tdatetimeinterval &operator+=(const tdatetimeinterval &other);
    tdatetimeinterval &operator-=(const tdatetimeinterval &other);
    // Negates both components of the object itself.
    tdatetimeinterval &operator-();

    bool operator==(const tdatetimeinterval &other) const;
    bool operator!=(const tdatetimeinterval &other) const;
    bool operator<(const tdatetimeinterval &other) const;
    bool operator<=(const tdatetimeinterval &other) const;
    bool operator>(const tdatetimeinterval &other) const;
    bool operator>=(const tdatetimeinterval &other) const;

  protected:
    friend QUELT_API tdatetimeinterval DateDiff(const tdatetime &a, const tdatetime &b);

    int m_months = 0;
    double m_days = 0.0;
};

class QUELT_API months : public tdatetimeinterval {
  public:
    explicit months(int count);
};

class QUELT_API years : public tdatetimeinterval {
  public:
    explicit years(int count);
};

QUELT_API tdatetime operator+(const tdatetime &date, const ttimeinterval &interval);
QUELT_API tdatetime operator+(const ttimeinterval &interval, const tdatetime &date);
QUELT_API tdatetime operator-(const tdatetime &date, const ttimeinterval &interval);
QUELT_API tdatetime operator+(const tdatetime &date, const tdatetimeinterval &interval);
QUELT_API tdatetime operator+(const tdatetimeinterval &interval, const tdatetime &date);
QUELT_API tdatetime operator-(const tdatetime &date, const tdatetimeinterval &interval);
QUELT_API ttimeinterval operator-(const tdatetime &a, const tdatetime &b);
QUELT_API ttimeinterval operator+(const ttimeinterval &a, const ttimeinterval &b);
QUELT_API ttimeinterval operator-(const ttimeinterval &a, const ttimeinterval &b);
QUELT_API tdatetimeinterval operator+(const tdatetimeinterval &a, const tdatetimeinterval &b);
QUELT_API tdatetimeinterval operator-(const tdatetimeinterval &a, const tdatetimeinterval &b);

// The calendar interval from b to a: whole months counted from b's month, the rest in days.
QUELT_API tdatetimeinterval DateDiff(const tdatetime &a, const tdatetime &b);

}  // namespace quelt
