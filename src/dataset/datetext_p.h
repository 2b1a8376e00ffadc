#pragma once

// The text forms of the date-time values as the data-set cells use them:
// rendered without a size limit, and parsed without throwing.

#include "quelt/core/wstring.h"
#include "quelt/datetime/datetime.h"

namespace quelt::datetext {

// The default date form (a null format).
wstring Text(const tdatetime &value);
wstring Text(const ttimeinterval &value);
wstring Text(const tdatetimeinterval &value);

// Parse the text into value; text that does not parse leaves value
// unchanged and gives false. Null is the empty text.
bool Parse(const wchar *text, tdatetime &value);
bool Parse(const wchar *text, ttimeinterval &value);
bool Parse(const wchar *text, tdatetimeinterval &value);

}  // namespace quelt::datetext
