#include "print.h"

#include <algorithm>
#include <cmath>

#include "values.h"

namespace table {

using quelt::IField;

namespace {

const quelt::wstring kDatePattern = quelt::Utf8ToWide("%Y-%m-%d");
const quelt::wstring kDateTimePattern = quelt::Utf8ToWide("%Y-%m-%d %H:%M:%S");

bool IsNumber(IField::Types type) {
    return type != IField::String && type != IField::BLOB && type != IField::DateTime;
}

// East Asian wide characters and emoji take two terminal columns, combining
// marks none.
std::size_t CharWidth(char32_t c) {
    if (c >= 0x300 && c <= 0x36F) return 0;
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
                      (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

// Terminal columns, not bytes, line the columns up.
std::size_t Width(const std::string &utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += CharWidth(c);
        i += length;
    }
    return width;
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

const quelt::wstring &AutomaticPattern(const std::vector<quelt::tdatetime> &dates) {
    const bool timed = std::any_of(dates.begin(), dates.end(), [](const quelt::tdatetime &date) {
        const double day = date.GetDateTime();
        return !IsEmpty(date) && day != std::floor(day);
    });
    return timed ? kDateTimePattern : kDatePattern;
}

// Cells read through typed views; what the data set shows for a field under
// a format (or of a type the tool does not make) through a cursor.
class ColumnReader {
  public:
    ColumnReader(Table &table, int column, unsigned first)
        : m_table(table), m_column(column), m_first(first) {}

    std::vector<std::string> Texts(unsigned count, const quelt::wstring &pattern) {
        const bool formatted = !m_table.Data().GetFieldFormat(static_cast<unsigned>(m_column)).empty();
        switch (m_table.TypeOf(m_column)) {
            case IField::Int:
                return Numbers<int>(count, formatted, [](int value) { return std::to_string(value); });
            case IField::Double:
                return Numbers<double>(count, formatted, ShortestText<double>);
            case IField::Float:
                return formatted ? Shown(count) : Values<float>(count, ShortestText<float>);
            case IField::DateTime:
                return Dates(count, pattern);
            case IField::String:
                return Values<quelt::wstring_view>(count, [](quelt::wstring_view text) {
                    return OneLine(quelt::WideToUtf8(quelt::wstring(text)));
                });
            default:
                return Shown(count);
        }
    }

  private:
    template <class T, class F>
    std::vector<std::string> Values(unsigned count, F text) {
        const quelt::ColumnView<T> view(m_table.Data(), m_column);
        std::vector<std::string> cells;
        for (unsigned n = 0; n < count; ++n) cells.push_back(text(view[m_first + n]));
        return cells;
    }

    // Empty cells stay empty under every format.
    template <class T, class F>
    std::vector<std::string> Numbers(unsigned count, bool formatted, F text) {
        std::vector<std::string> cells = formatted ? Shown(count) : Values<T>(count, text);
        const quelt::ColumnView<T> view(m_table.Data(), m_column);
        for (unsigned n = 0; n < count; ++n) {
            if (IsEmpty(view[m_first + n])) cells[n].clear();
        }
        return cells;
    }

    std::vector<std::string> Dates(unsigned count, const quelt::wstring &pattern) {
        const quelt::ColumnView<quelt::tdatetime> view(m_table.Data(), m_column);
        const std::vector<quelt::tdatetime> dates(view.begin() + m_first, view.begin() + m_first + count);
        const quelt::wstring &chosen = pattern.empty() ? AutomaticPattern(dates) : pattern;
        std::vector<std::string> cells;
        for (const quelt::tdatetime &date : dates)
            cells.push_back(IsEmpty(date) ? "" : DateText(date, chosen));
        return cells;
    }

    std::vector<std::string> Shown(unsigned count) {
        quelt::IDataSet::Cursor cursor = m_table.Data().CreateCursor();
        cursor += static_cast<int>(m_first);
        std::vector<std::string> cells;
        for (unsigned n = 0; n < count; ++n, ++cursor) {
            cells.push_back(OneLine(quelt::WideToUtf8(static_cast<quelt::wstring>(cursor[m_column]))));
        }
        return cells;
    }

    Table &m_table;
    int m_column;
    unsigned m_first;
};

Grid MakeGrid(Table &table, unsigned first, unsigned count, const DatePatterns &patterns) {
    Grid grid;
    grid.rows.resize(count + 1);
    grid.rows[0].push_back("#");
    grid.rightAligned.push_back(true);
    for (unsigned n = 0; n < count; ++n) grid.rows[n + 1].push_back(std::to_string(first + n));
    for (int column = 0; column < static_cast<int>(table.Names().size()); ++column) {
        grid.rows[0].push_back(table.Names()[column]);
        grid.rightAligned.push_back(IsNumber(table.TypeOf(column)));
        const std::vector<std::string> cells =
            ColumnReader(table, column, first).Texts(count, patterns[column]);
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

void PrintRows(std::ostream &out, Table &table, unsigned first, unsigned count,
               const DatePatterns &patterns) {
    count = std::min(count, table.RowCount() - std::min(first, table.RowCount()));
    const Grid grid = MakeGrid(table, first, count, patterns);
    const std::vector<std::size_t> widths = Widths(grid);
    for (const auto &row : grid.rows) PrintLine(out, row, grid, widths);
}

}  // namespace table
