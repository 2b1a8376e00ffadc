#pragma once

#include <string>

#include "quelt/core/config.h"
#include "quelt/core/wstring.h"

namespace quelt {

// Inserts ',' every three digits into the integer part of a number's text:
// the digits after an optional leading sign, up to the first non-digit or the
// decimal point of the global locale. "-1234567.5" gives "-1,234,567.5",
// "12345%" gives "12,345%"; anything else is left as it is.
QUELT_API wstring formatNumber(wstring text);
QUELT_API std::string formatNumber(std::string text);

// Takes out the ',' that formatNumber put in: "-1,234,567.5" gives
// "-1234567.5". Text that is not grouped in whole threes is left as it is,
// and so is any text where the global locale's decimal point is ','.
QUELT_API wstring unformatNumber(wstring text);

}  // namespace quelt
