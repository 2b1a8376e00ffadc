#pragma once

// Cell access shared by the memory fields, the data sets and the stream.

#include <cstring>
#include <iosfwd>
#include <type_traits>

#include "quelt/core/pool_alloc.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/idataset.h"
#include "quelt/datetime/datetime.h"

namespace quelt::cells {

// Booleans read and write as these words in text.
inline constexpr wchar kTrue[] = {'t', 'r', 'u', 'e', 0};
inline constexpr wchar kFalse[] = {'f', 'a', 'l', 's', 'e', 0};

// Only the exact word reads as true; anything else, null too, as false.
inline bool IsTrueText(const wchar *text) { return text && wstring_view(text) == wstring_view(kTrue); }

// The field type that holds values of T.
template <class T>
constexpr IField::Types TypeOf() {
    if constexpr (std::is_same_v<T, bool>) return IField::Bool;
    if constexpr (std::is_same_v<T, short>) return IField::Short;
    if constexpr (std::is_same_v<T, int>) return IField::Int;
    if constexpr (std::is_same_v<T, int64>) return IField::Int64;
    if constexpr (std::is_same_v<T, float>) return IField::Float;
    if constexpr (std::is_same_v<T, double>) return IField::Double;
    if constexpr (std::is_same_v<T, wstring>) return IField::String;
    if constexpr (std::is_same_v<T, tdatetime>) return IField::DateTime;
    if constexpr (std::is_same_v<T, ttimeinterval>) return IField::TimeInterval;
    return IField::DateTimeInterval;
}

// Cells are raw bytes; values go in and out by copy so no alignment or
// lifetime assumption is made about the record.
template <class V>
V Load(const unsigned char *cell) {
    static_assert(std::is_trivially_copyable_v<V>, "cells hold plain values");
    V value;
    std::memcpy(static_cast<void *>(&value), cell, sizeof value);
    return value;
}

// Any byte is a flag: a bool cell or block may hold values other than 0 and 1.
template <>
inline bool Load<bool>(const unsigned char *cell) {
    return *cell != 0;
}

template <class V>
void Store(unsigned char *cell, const V &value) {
    static_assert(std::is_trivially_copyable_v<V>, "cells hold plain values");
    std::memcpy(cell, static_cast<const void *>(&value), sizeof value);
}

// Day counts and the three date-time types. DateFromDays follows
// tdatetime::SetDateTime (negative or NaN throws bad_datetime, 0 gives 1.0).
tdatetime DateFromDays(double days);
ttimeinterval IntervalFromDays(double days);
// Months = days / 30.6 truncated, the rest in days.
tdatetimeinterval SpanFromDays(double days);
// From the default date, the span's decoded date and time parts.
tdatetime DateFromSpan(const tdatetimeinterval &span);
// The seven date and time numbers of the date, as a span.
tdatetimeinterval SpanFromDate(const tdatetime &date);

inline double DaysOf(const tdatetime &value) { return value.GetDateTime(); }
inline double DaysOf(const ttimeinterval &value) { return value.GetTime(); }
inline double DaysOf(const tdatetimeinterval &value) { return value.GetDateTime(); }

// A day count as a value of the date-time type V, by the rules above.
template <class V>
V FromDays(double days) {
    if constexpr (std::is_same_v<V, tdatetime>) {
        return DateFromDays(days);
    } else if constexpr (std::is_same_v<V, ttimeinterval>) {
        return IntervalFromDays(days);
    } else {
        return SpanFromDays(days);
    }
}

// Text of a String cell, stored as a pointer into the data set's pool. Every
// store allocates length + 1 units (shortened by thirds while two thirds of
// the text still do not fit in one pool block) and every free uses the same
// count, so freeing the newest piece rewinds the pool exactly.
const wchar *CellText(const unsigned char *cell);
void StoreText(Pool_alloc<wchar> &alloc, unsigned char *cell, const wchar *text);
void FreeText(Pool_alloc<wchar> &alloc, unsigned char *cell);
// The number of units a text of that length is stored in.
std::size_t StoredUnits(std::size_t length, std::size_t maxBytes);

// Stream forms of the data-set text stream: the shortest text that reads
// back to the same value, with "nan", "inf" and "-inf".
std::ostream &PutReal(std::ostream &os, double value);
std::ostream &PutReal(std::ostream &os, float value);
// Reads one word; failbit when it is not a number.
std::istream &GetReal(std::istream &is, double &value);
std::istream &GetReal(std::istream &is, float &value);
// The high word, a blank and the low word, each as a signed 32-bit number.
std::ostream &PutInt64(std::ostream &os, int64 value);
std::istream &GetInt64(std::istream &is, int64 &value);
// A date-time value travels as its day count; value is set only when one was read.
// Made for tdatetime, ttimeinterval and tdatetimeinterval.
template <class V>
std::ostream &PutDays(std::ostream &os, const V &value);
template <class V>
std::istream &GetDays(std::istream &is, V &value);
// A number cell's form: reals as PutReal, int64 as PutInt64, bool, short and
// int as the stream writes them; value is set only when one was read.
template <class N>
std::ostream &PutNumber(std::ostream &os, N value);
template <class N>
std::istream &GetNumber(std::istream &is, N &value);
// The UTF-8 byte count, a blank and the bytes (null is the empty text).
// Reading also takes one byte per character when the bytes are not UTF-8.
std::ostream &PutText(std::ostream &os, const wchar *text);
std::istream &GetText(std::istream &is, wstring &text);

// The text a block points at; null is the empty text.
inline wstring TextAt(const void *block) {
    return block ? wstring(static_cast<const wchar *>(block)) : wstring();
}

}  // namespace quelt::cells
