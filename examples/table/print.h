#pragma once

// Rows as aligned text, each cell under its column's display format.

#include <ostream>
#include <string>
#include <vector>

#include "steps.h"
#include "table.h"

namespace table {

// Prints the header and count rows from row first (fewer at the end).
void PrintRows(std::ostream &out, Table &table, unsigned first, unsigned count, const DatePatterns &patterns);

}  // namespace table
