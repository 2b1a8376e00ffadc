#include "csv.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace table {

namespace {

// Rows longer than a block grow it.
constexpr std::size_t kBlock = 1 << 16;

bool EndsWith(const std::string &text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

CsvReader::CsvReader(const std::string &path, bool strict)
    : m_path(path), m_in(path, std::ios::binary), m_strict(strict), m_buffer(kBlock) {
    if (!m_in) throw std::runtime_error("cannot open '" + path + "'");
    // The whole header line is read before the separator is chosen.
    while (!std::memchr(m_buffer.data() + m_begin, '\n', m_end - m_begin) && Refill()) {
    }
    if (std::string_view(m_buffer.data(), m_end).substr(0, 3) == "\xEF\xBB\xBF") m_begin = 3;
    const char *start = m_buffer.data() + m_begin;
    const char *lineEnd = std::find(start, static_cast<const char *>(m_buffer.data() + m_end), '\n');
    if (EndsWith(path, ".tsv") || EndsWith(path, ".TSV") || std::find(start, lineEnd, '\t') != lineEnd) {
        m_separator = '\t';
        m_quoting = false;
    }
    if (!ReadCells()) throw std::runtime_error("'" + path + "' has no header row");
    for (const Cell &cell : m_cells) m_header.emplace_back(Unescape(cell));
}

// Moves the unread bytes to the front and reads more after them, growing
// the buffer when a row fills it; false at the end of the file.
bool CsvReader::Refill() {
    if (m_eof) return false;
    std::copy(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_begin),
              m_buffer.begin() + static_cast<std::ptrdiff_t>(m_end), m_buffer.begin());
    m_end -= m_begin;
    m_begin = 0;
    if (m_end == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2);
    m_in.read(m_buffer.data() + m_end, static_cast<std::streamsize>(m_buffer.size() - m_end));
    m_end += static_cast<std::size_t>(m_in.gcount());
    if (m_in.bad()) throw std::runtime_error("cannot read '" + m_path + "'");
    if (!m_in) m_eof = true;
    return true;
}

// A CR is part of a line end only before LF; whether it is needs the next byte.
bool CsvReader::SkipBlankLines() {
    for (;;) {
        if (m_begin == m_end && !Refill()) return false;
        if (m_begin == m_end) continue;
        const char c = m_buffer[m_begin];
        if (c == '\n') {
            ++m_begin;
        } else if (c == '\r') {
            if (m_begin + 1 == m_end && Refill()) continue;
            if (m_begin + 1 == m_end || m_buffer[m_begin + 1] != '\n') return true;
            m_begin += 2;
        } else {
            return true;
        }
        ++m_line;
    }
}

bool CsvReader::ReadCells() {
    if (!SkipBlankLines()) return false;
    for (;;) {
        std::size_t pos = m_begin;
        int lines = 0;
        if (ScanRow(pos, lines) == Scan::Row) {
            m_rowLine = m_line;
            m_line += lines + 1;
            m_begin = pos;
            return true;
        }
        Refill();
    }
}

// The cells of the row at pos, and pos past its line end. NeedMore when the
// buffer ends inside the row and the file goes on.
CsvReader::Scan CsvReader::ScanRow(std::size_t &pos, int &lines) {
    m_cells.clear();
    for (;;) {
        const bool quoted = m_quoting && pos < m_end && m_buffer[pos] == '"';
        const std::size_t start = pos;
        if (!(quoted ? ScanQuoted(pos, lines) : ScanPlain(pos))) return Scan::NeedMore;
        std::size_t end = pos;
        if (!quoted && end > start && pos < m_end && m_buffer[pos] == '\n' && m_buffer[end - 1] == '\r')
            --end;
        m_cells.push_back({start, end, quoted});
        if (pos == m_end) return Scan::Row;
        if (m_buffer[pos] == '\r') ++pos;
        if (m_buffer[pos++] == '\n') return Scan::Row;
    }
}

// Up to the separator or LF that ends the field (or the end of the file).
bool CsvReader::ScanPlain(std::size_t &pos) {
    const char *data = m_buffer.data();
    while (pos < m_end && data[pos] != m_separator && data[pos] != '\n') ++pos;
    return pos < m_end || m_eof;
}

// Just past the closing quote, which the separator, a line end or the end of
// the file must follow.
bool CsvReader::ScanQuoted(std::size_t &pos, int &lines) {
    std::size_t at = pos + 1;
    for (;;) {
        if (at == m_end) {
            if (!m_eof) return false;
            m_rowLine = m_line;
            Fail("quoted field is not closed");
        }
        const char c = m_buffer[at++];
        if (c == '\n') ++lines;
        if (c != '"') continue;
        if (at == m_end && !m_eof) return false;
        if (at == m_end || m_buffer[at] != '"') break;
        ++at;
    }
    if (at < m_end && m_buffer[at] == '\r' && at + 1 == m_end && !m_eof) return false;
    const bool crlf = at + 1 < m_end && m_buffer[at] == '\r' && m_buffer[at + 1] == '\n';
    if (at < m_end && m_buffer[at] != m_separator && m_buffer[at] != '\n' && !crlf) {
        m_rowLine = m_line;
        Fail("unexpected text after a closing quote");
    }
    pos = at;
    return true;
}

// Quoted cells lose their quotes and doubled quotes where they stand, which
// only ever shortens them.
std::string_view CsvReader::Unescape(const Cell &cell) {
    char *data = m_buffer.data();
    if (!cell.quoted) return std::string_view(data + cell.start, cell.end - cell.start);
    std::size_t out = cell.start;
    for (std::size_t at = cell.start + 1; at + 1 < cell.end; ++at) {
        data[out++] = data[at];
        if (data[at] == '"') ++at;
    }
    return std::string_view(data + cell.start, out - cell.start);
}

bool CsvReader::NextRow(std::vector<std::string_view> &row) {
    if (!ReadCells()) return false;
    const std::size_t width = m_header.size();
    if (m_cells.size() > width || (m_strict && m_cells.size() < width)) {
        Fail("row has " + std::to_string(m_cells.size()) + " fields, the header has " +
             std::to_string(width));
    }
    row.clear();
    for (const Cell &cell : m_cells) row.push_back(Unescape(cell));
    if (row.size() < width) {
        ++m_padded;
        row.resize(width);
    }
    return true;
}

void CsvReader::Fail(const std::string &what) const {
    throw std::runtime_error(m_path + ":" + std::to_string(m_rowLine) + ": " + what);
}

}  // namespace table
