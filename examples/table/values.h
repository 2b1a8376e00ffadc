#pragma once

// Reading cell text as typed values, and choosing a column's type from the
// values it holds.

#include <optional>
#include <string_view>

#include <quelt/quelt.h>

namespace table {

// A 32-bit integer: an optional '-' and digits, nothing else.
std::optional<int> ParseInt(std::string_view text);
// A finite decimal number such as "-12", "3.5" or "1e6".
std::optional<double> ParseDouble(std::string_view text);
// An ISO date, YYYY-MM-DD, optionally followed by 'T' or ' ' and HH:MM:SS.
std::optional<quelt::tdatetime> ParseIsoDate(std::string_view text);

// Narrows the candidate types of a column by one non-empty cell.
class TypeGuess {
  public:
    void See(std::string_view cell);
    // Int when every cell seen was an integer, then Double, then DateTime;
    // String otherwise, or when no cell was seen.
    quelt::IField::Types Type() const;

  private:
    bool m_seen = false;
    bool m_int = true;
    bool m_double = true;
    bool m_date = true;
};

const char *TypeName(quelt::IField::Types type);

}  // namespace table
