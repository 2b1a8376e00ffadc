#include "print.h"

#include <algorithm>
#include <cmath>

namespace table {

using quelt::IField;

namespace {

const quelt::wstring kDatePattern = quelt::Utf8ToWide("%Y-%m-%d");
const quelt::wstring kDateTimePattern = quelt::Utf8ToWide("%Y-%m-%d %H:%M:%S");

bool IsNumber(IField::Types type) {
    return type != IField::String && type != IField::BLOB && type != IField::DateTime;
}

// Characters, not bytes, line the columns up.
std::size_t Width(const std::string &utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Line breaks and tabs inside a cell would break the row apart.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return text;
}

struct Grid {
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> rightAligned;
};

std::vector<quelt::tdatetime> DatesOf(quelt::IDataSet::Cursor &cursor, int column, unsigned count) {
    std::vector<quelt::tdatetime> dates;
    for (unsigned n = 0; n < count; ++n, ++cursor)
        dates.push_back(static_cast<quelt::tdatetime>(cursor[column]));
    return dates;
}

const quelt::wstring &AutomaticPattern(const std::vector<quelt::tdatetime> &dates) {
    const bool timed = std::any_of(dates.begin(), dates.end(), [](const quelt::tdatetime &date) {
        const double day = date.GetDateTime();
        return day != std::floor(day);
    });
    return timed ? kDateTimePattern : kDatePattern;
}

// One column's cells, top to bottom.
std::vector<std::string> ColumnText(Table &table, unsigned first, unsigned count, int column,
                                    const quelt::wstring &pattern) {
    quelt::IDataSet::Cursor cursor = table.Data().CreateCursor();
    cursor += static_cast<int>(first);
    std::vector<std::string> cells;
    if (table.TypeOf(column) == IField::DateTime) {
        const std::vector<quelt::tdatetime> dates = DatesOf(cursor, column, count);
        const quelt::wstring &chosen = pattern.empty() ? AutomaticPattern(dates) : pattern;
        for (const quelt::tdatetime &date : dates) cells.push_back(DateText(date, chosen));
        return cells;
    }
    for (unsigned n = 0; n < count; ++n, ++cursor) {
        cells.push_back(OneLine(quelt::WideToUtf8(static_cast<quelt::wstring>(cursor[column]))));
    }
    return cells;
}

Grid MakeGrid(Table &table, unsigned first, unsigned count, const DatePatterns &patterns) {
    Grid grid;
    grid.rows.resize(count + 1);
    grid.rows[0].push_back("#");
    grid.rightAligned.push_back(true);
    for (unsigned n = 0; n < count; ++n) grid.rows[n + 1].push_back(std::to_string(first + n));
    for (int column = 0; column < static_cast<int>(table.Names().size()); ++column) {
        grid.rows[0].push_back(table.Names()[column]);
        grid.rightAligned.push_back(IsNumber(table.TypeOf(column)));
        const std::vector<std::string> cells = ColumnText(table, first, count, column, patterns[column]);
        for (unsigned n = 0; n < count; ++n) grid.rows[n + 1].push_back(cells[n]);
    }
    return grid;
}

std::vector<std::size_t> Widths(const Grid &grid) {
    std::vector<std::size_t> widths(grid.rightAligned.size(), 0);
    for (const auto &row : grid.rows) {
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i]));
    }
    return widths;
}

void PrintLine(std::ostream &out, const std::vector<std::string> &row, const Grid &grid,
               const std::vector<std::size_t> &widths) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const std::string padding(widths[i] - Width(row[i]), ' ');
        if (i > 0) line += "  ";
        line += grid.rightAligned[i] ? padding + row[i] : row[i] + padding;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
}

}  // namespace

std::string DateText(const quelt::tdatetime &date, const quelt::wstring &pattern) {
    int size = 0;
    date.FormatDateTime(pattern.c_str(), nullptr, size);
    quelt::wstring text(static_cast<std::size_t>(size), 0);
    date.FormatDateTime(pattern.c_str(), text.data(), size);
    text.resize(static_cast<std::size_t>(size - 1));
    return quelt::WideToUtf8(text);
}

void PrintRows(std::ostream &out, Table &table, unsigned first, unsigned count,
               const DatePatterns &patterns) {
    count = std::min(count, table.RowCount() - std::min(first, table.RowCount()));
    const Grid grid = MakeGrid(table, first, count, patterns);
    const std::vector<std::size_t> widths = Widths(grid);
    for (const auto &row : grid.rows) PrintLine(out, row, grid, widths);
}

}  // namespace table
