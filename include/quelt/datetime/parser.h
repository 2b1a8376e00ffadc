#pragma once

#include "quelt/core/config.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

// Turns dates into text and back for every text conversion of tdatetime
// (tdatetime::SetNewParser installs one). Sizes count 16-bit characters,
// terminator included.
class QUELT_API IDateParser {
  public:
    virtual ~IDateParser();
    virtual void Parse(const wchar *text, int &day, int &month, int &year, int &hour, int &minute,
                       int &second, int &millisecond) = 0;
    // weekday 1 (Sunday) .. 7, dayOfYear 0 .. 365.
    virtual wchar *Format(const wchar *format, wchar *buffer, int &size, int day, int month, int year,
                          int hour, int minute, int second, int millisecond, int weekday, int dayOfYear) = 0;
    virtual wchar *WeekDayName(int weekday, wchar *buffer, int &size, bool full) = 0;
    virtual wchar *MonthName(int month, wchar *buffer, int &size, bool full) = 0;
};

// Formats with wcsftime in the current C locale and reads numeric dates in
// the locale's day, month and year order. The separators and the order are
// process-wide, learnt by the locale probe of tdatetime::SetNewParser,
// CreateStdParser and UpdateLocale (initially '/', ':' and month first).
class QUELT_API StdDateParser : public IDateParser {
  public:
    // "d/m/y h:m:s:ms" with the locale's separators and order; an empty text
    // or a single blank is 1 January 0001. Years are taken as written.
    void Parse(const wchar *text, int &day, int &month, int &year, int &hour, int &minute, int &second,
               int &millisecond) override;
    // A null format writes the numeric date in the locale's order with the
    // full year, a blank and the 24-hour time, which Parse reads back.
    wchar *Format(const wchar *format, wchar *buffer, int &size, int day, int month, int year, int hour,
                  int minute, int second, int millisecond, int weekday, int dayOfYear) override;
    wchar *WeekDayName(int weekday, wchar *buffer, int &size, bool full) override;
    wchar *MonthName(int month, wchar *buffer, int &size, bool full) override;
};

}  // namespace quelt
