#pragma once

// Display formats of number cells: which formats a field accepts and how a
// number is rendered as text and read back under one. Shared by the memory
// fields, the virtual fields and the variant so the rules exist once.

#include "quelt/core/wstring.h"

namespace quelt::display {

// Empty, or 'd', 'h' or '%' first, with the length rules of SetFormat.
QUELT_API bool IsAcceptedFormat(const wstring &format);

// Integer kinds: Short and Int use the "%i" forms, Int64 (wide64) the "%I64i" forms.
QUELT_API wstring RenderInteger(int64 value, bool wide64, const wstring &format);
// Float and Double kinds; isFloat selects "%g%%" over "%f%%" for a lone '%'.
QUELT_API wstring RenderReal(double value, bool isFloat, const wstring &format);

// Text parsing under a format. `value` holds the cell's current value on entry
// and what the scan left on return (unchanged when the format's first
// character is none of the known ones or nothing matched).
QUELT_API void ParseInteger(const wchar *text, bool wide64, const wstring &format, int64 &value);
QUELT_API void ParseReal(const wchar *text, const wstring &format, double &value);

}  // namespace quelt::display
