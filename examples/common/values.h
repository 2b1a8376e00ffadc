#pragma once

// Reading cell text as typed values, and choosing a column's type from the
// values it holds.

#include <charconv>
#include <climits>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include <quelt/quelt.h>

namespace table {

// A 32-bit integer: an optional '-' and digits, nothing else.
std::optional<int> ParseInt(std::string_view text);
// A finite decimal number such as "-12", "3.5" or "1e6".
std::optional<double> ParseDouble(std::string_view text);
// An ISO date, YYYY-MM-DD, optionally followed by 'T' or ' ' and HH:MM:SS.
std::optional<quelt::tdatetime> ParseIsoDate(std::string_view text);

// Empty cells are kept in the data set as values no cell of a file reads as,
// below every value their column can hold: they sort before every value
// ascending and after every value descending, and cost no memory. A column
// whose cells include the marker's value is not inferred as that type.
constexpr int kEmptyInt = INT_MIN;
constexpr double kEmptyDouble = -std::numeric_limits<double>::infinity();
inline bool IsEmpty(int value) { return value == kEmptyInt; }
inline bool IsEmpty(double value) { return value == kEmptyDouble; }
// A date cell left as the fast writer made it (day 0), or as a stream reads
// that back (day 1.0, 1 January 0001 at midnight).
inline bool IsEmpty(const quelt::tdatetime &date) { return date.GetDateTime() <= 1.0; }

// Narrows the candidate types of a column by one non-empty cell.
class TypeGuess {
  public:
    void See(std::string_view cell);
    // Int when every cell seen was an integer (and none the empty marker),
    // then Double, then DateTime (none the empty marker); String otherwise,
    // or when no cell was seen.
    quelt::IField::Types Type() const;

  private:
    bool m_seen = false;
    bool m_int = true;
    bool m_double = true;
    bool m_date = true;
};

const char *TypeName(quelt::IField::Types type);

// The shortest text that reads back to the value: in plain digits while
// they stay short, in exponent form beyond.
template <class Real>
std::string ShortestText(Real value) {
    char text[48];
    auto result = std::to_chars(text, text + 24, value, std::chars_format::fixed);
    if (result.ec != std::errc()) result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// The date under a strftime pattern.
std::string DateText(const quelt::tdatetime &date, const quelt::wstring &pattern);

}  // namespace table
