#pragma once

// Comma- or tab-separated text: a header row, then one record per row.
// Quoted fields may hold separators, line breaks and doubled quotes.

#include <string>
#include <string_view>
#include <vector>

namespace table {

struct CsvFile {
    std::vector<std::string> header;
    // Row by row, header.size() cells each; they point into text.
    std::vector<std::string_view> cells;
    // The file's bytes, with quoted fields unescaped in place; a vector so
    // that moving the file keeps the cells valid.
    std::vector<char> text;

    std::size_t ColumnCount() const { return header.size(); }
    std::size_t RowCount() const { return header.empty() ? 0 : cells.size() / header.size(); }
    std::string_view Cell(std::size_t row, std::size_t column) const {
        return cells[row * header.size() + column];
    }
};

// Tab-separated when the name ends in ".tsv" or the header row holds a tab.
// Throws std::runtime_error naming the file and line of what is wrong.
CsvFile ReadCsv(const std::string &path);

}  // namespace table
