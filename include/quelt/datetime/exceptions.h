#pragma once

#include <exception>

#include "quelt/core/config.h"

namespace quelt {

// The failures of date-time values. None carries message text: handlers tell
// the cases apart by class and, where there is one, by reason code.
class QUELT_API bad_datetime : public std::exception {};

// A bad_datetime subclass whose constructor takes the reason code.
class QUELT_API bad_datetime_code : public bad_datetime {
  public:
    explicit bad_datetime_code(int code) : m_code(code) {}
    int GetCode() const { return m_code; }

  private:
    int m_code;
};

// 1: day outside the month, 2: month outside 1..12, 3: year outside the calendar's range.
class QUELT_API bad_date : public bad_datetime_code {
  public:
    explicit bad_date(int code) : bad_datetime_code(code) {}
};

// 1: hour, 2: minute, 3: second, 4: millisecond out of range.
class QUELT_API bad_time : public bad_datetime_code {
  public:
    explicit bad_time(int code) : bad_datetime_code(code) {}
};

// 1: above 7, 2: below 1.
class QUELT_API bad_weekday : public bad_datetime_code {
  public:
    explicit bad_weekday(int code) : bad_datetime_code(code) {}
};

// 1: above 12, 2: below 1.
class QUELT_API bad_month : public bad_datetime_code {
  public:
    explicit bad_month(int code) : bad_datetime_code(code) {}
};

// 0: nothing could be read, 1: a date separator differs from the locale's, 2: a time separator does.
class QUELT_API bad_format : public bad_datetime_code {
  public:
    bad_format() : bad_datetime_code(0) {}
    explicit bad_format(int code) : bad_datetime_code(code) {}
};

// Date arithmetic left the representable range.
class QUELT_API dt_outofbounds : public bad_datetime {};

}  // namespace quelt
