#pragma once

#include <vector>

#include "quelt/dataset/fields.h"

namespace quelt {

// Cell offsets of a field list, each aligned to its cell size, and the record
// size they make. The memory and key data sets lay records out alike.
std::vector<int> RecordLayout(const std::vector<CMemFieldBase *> &fields, unsigned &recordSize);

}  // namespace quelt
