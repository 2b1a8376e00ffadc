#pragma once

// The library's 16-bit text runtime: the behaviour of the C runtime's wide
// functions applied to quelt::wchar text, independent of the local C library.
// Printf and scanf formats are ASCII (every format the library uses is), the
// text they read and write is 16-bit. Exported only so the tests can reach it.

#include <cstdarg>
#include <cstddef>
#include <ctime>

#include "quelt/core/wstring.h"

namespace quelt::wrt {

// Null counts as the empty text.
QUELT_API std::size_t wcslen(const wchar *s);
QUELT_API int wcscmp(const wchar *a, const wchar *b);
// _wcsicmp: ASCII letters compared case-insensitively, everything else by code unit.
QUELT_API int wcsicmp(const wchar *a, const wchar *b);
// The code unit wcsicmp compares in place of c.
inline wchar FoldAscii(wchar c) { return c >= 'A' && c <= 'Z' ? static_cast<wchar>(c - 'A' + 'a') : c; }

// 32-bit long semantics (saturates at -2^31 / 2^31-1); bases 10 and 0 (0x, 0 prefixes).
QUELT_API long wcstol(const wchar *s, wchar **end, int base);
// Reads "nan", "inf", "-inf" as well as decimal floating point (C locale point).
QUELT_API double wcstod(const wchar *s, wchar **end);

// swscanf subset: %d %i %x %X %c %g %f %I64i %I64X %% and literals.
// Returns the items assigned, or EOF (-1) at once on empty input.
// As in C, %f/%g store a float and %lf/%lg a double; %c stores one wchar.
QUELT_API int swscanf(const wchar *input, const char *format, ...);
QUELT_API int vswscanf(const wchar *input, const char *format, va_list args);

// _snwprintf subset: %d %i %X %I64i %I64X %g %f %.Nf %.*f %s %c %% with width and
// '0' and '-' flags; %s and %c take 16-bit text. Writes at most count characters;
// returns the length when it fits (terminated when room is left), -1 when it does
// not. A null buffer with count 0 returns the length the text needs.
QUELT_API int snwprintf(wchar *buf, std::size_t count, const char *format, ...);
QUELT_API int vsnwprintf(wchar *buf, std::size_t count, const char *format, va_list args);
// The same conversions into a string that grows as needed.
QUELT_API wstring format(const char *format, ...);
QUELT_API wstring vformat(const char *format, va_list args);

// wcsftime through the C library's strftime in the current C locale, except
// "%c", which means "%x %X". Returns the length written, 0 when it does not fit.
QUELT_API std::size_t wcsftime(wchar *buf, std::size_t max, const wchar *format, const std::tm *t);
// The same into a string that grows as needed.
QUELT_API wstring strftime(const wchar *format, const std::tm *t);

}  // namespace quelt::wrt
