#pragma once

// The steps of a run between reading the input and printing: display
// formats, sorting and searching, each checked against the columns first.

#include <optional>
#include <string>
#include <vector>

#include "keys.h"
#include "table.h"

namespace table {

// strftime patterns of the DateTime columns by column index; an empty one
// shows YYYY-MM-DD, with the time when any shown row has one.
using DatePatterns = std::vector<quelt::wstring>;

// Sets the number formats on the data set and returns the date patterns.
DatePatterns ApplyFormats(Table &table, const std::vector<Assignment> &formats);

// The sort keys of a run: --sort, or the --find column alone. A --find
// column must be the first key, since the search relies on that order.
std::vector<SortKey> SortKeysFor(const std::vector<SortKey> &sort, const std::optional<Assignment> &find);

// Sets the fields' sort attributes from the keys, so Sort() can run.
void PrepareSort(Table &table, const std::vector<SortKey> &keys);

struct Found {
    unsigned row;
    bool exact;
};

// A search of the column the table is sorted by first.
class Search {
  public:
    Search(Table &table, const Assignment &find, const SortKey &primary);
    // The first row equal to the value, or the first after it.
    Found Run();

  private:
    Table &m_table;
    int m_column;
    bool m_descending;
    quelt::CQueltVariant m_value;
};

}  // namespace table
