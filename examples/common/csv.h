#pragma once

// Comma- or tab-separated text read row by row, a block at a time: a header
// row, then one record per row. CSV follows RFC 4180: a field that starts with
// a quote may hold separators, line breaks and doubled quotes; a quote
// anywhere else is an ordinary character. TSV has no quoting at all.

#include <cstddef>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace table {

class CsvReader {
  public:
    // Tab-separated when the name ends in ".tsv" or the header row holds a
    // tab. A strict reader refuses rows shorter than the header; otherwise
    // they are padded with empty cells. Throws std::runtime_error naming the
    // file (and line) of what is wrong, here and in NextRow.
    CsvReader(const std::string &path, bool strict);

    const std::vector<std::string> &Header() const { return m_header; }
    // The next row, header-wide; false at the end. The cells stay valid
    // until the next call.
    bool NextRow(std::vector<std::string_view> &row);
    // How many of the rows read so far were padded.
    std::size_t PaddedRows() const { return m_padded; }

  private:
    struct Cell {
        std::size_t start, end;
        bool quoted;
    };
    enum class Scan { Row, NeedMore };

    bool Refill();
    bool SkipBlankLines();
    Scan ScanRow(std::size_t &pos, int &lines);
    bool ScanQuoted(std::size_t &pos, int &lines);
    bool ScanPlain(std::size_t &pos);
    // The next non-blank row's cells; false at the end.
    bool ReadCells();
    std::string_view Unescape(const Cell &cell);
    [[noreturn]] void Fail(const std::string &what) const;

    std::string m_path;
    std::ifstream m_in;
    bool m_strict;
    char m_separator = ',';
    bool m_quoting = true;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0, m_end = 0;
    bool m_eof = false;
    std::vector<Cell> m_cells;
    std::vector<std::string> m_header;
    int m_line = 1;
    int m_rowLine = 1;
    std::size_t m_padded = 0;
};

}  // namespace table
