#pragma once

#include "quelt/core/wstring.h"

namespace quelt::datetime_text {

// Learns the date separator, time separator and date order of the current C
// locale from its "%c" text of 28 July 1999, 04:05:59.
void ProbeLocale();
// The reading half of the probe, given that text; the previous settings stay
// when it does not hold six numbers. Exported only so the tests can reach it.
QUELT_API void LearnLocale(const wstring &referenceText);

// Copies the text with its terminator only when the buffer holds all of it.
void CopyIfFits(const wstring &text, wchar *buffer, int size);
// Copies as much of the text as fits, always terminated when there is room.
void CopyTruncated(const wstring &text, wchar *buffer, int size);
// The length the text needs, terminator included.
int NeededSize(const wstring &text);

}  // namespace quelt::datetime_text
