#pragma once

// Rows as aligned text, each cell under its column's display format.

#include <ostream>
#include <string>
#include <vector>

#include "table.h"

namespace table {

// strftime patterns of the DateTime columns by column index; an empty one
// shows YYYY-MM-DD, with the time when any shown row has one.
using DatePatterns = std::vector<quelt::wstring>;

// Prints the header and count rows from row first (fewer at the end).
void PrintRows(std::ostream &out, Table &table, unsigned first, unsigned count, const DatePatterns &patterns);

// The date under a strftime pattern.
std::string DateText(const quelt::tdatetime &date, const quelt::wstring &pattern);

}  // namespace table
