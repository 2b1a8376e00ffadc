#include "csv.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace table {

namespace {

std::vector<char> ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot open '" + path + "'");
    std::vector<char> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot read '" + path + "'");
    }
    return bytes;
}

bool EndsWith(const std::string &text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Splits the text into cells in one pass. Quoted cells are unescaped where
// they stand, which only ever shortens them, so no cell needs its own string.
class Parser {
  public:
    Parser(const std::string &path, std::vector<char> &text, char separator)
        : m_path(path), m_text(text), m_separator(separator) {
        if (View(0, m_text.size()).substr(0, 3) == "\xEF\xBB\xBF") m_pos = 3;
    }

    // The cells of the next non-blank row into row; false at the end.
    bool NextRow(std::vector<std::string_view> &row) {
        SkipBlankLines();
        if (AtEnd()) return false;
        m_rowLine = m_line;
        row.clear();
        do {
            row.push_back(Peek() == '"' ? QuotedCell() : PlainCell());
        } while (TakeSeparator());
        TakeLineEnd();
        return true;
    }

    [[noreturn]] void Fail(const std::string &what) const {
        throw std::runtime_error(m_path + ":" + std::to_string(m_rowLine) + ": " + what);
    }

  private:
    std::string_view View(std::size_t start, std::size_t end) const {
        return std::string_view(m_text.data() + start, end - start);
    }
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }
    bool AtLineEnd() const {
        return AtEnd() || Peek() == '\n' ||
               (Peek() == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n');
    }

    void SkipBlankLines() {
        while (!AtEnd() && AtLineEnd()) TakeLineEnd();
    }

    void TakeLineEnd() {
        if (AtEnd()) return;
        m_pos += Peek() == '\r' ? 2 : 1;
        ++m_line;
    }

    bool TakeSeparator() {
        if (Peek() != m_separator) return false;
        ++m_pos;
        return true;
    }

    std::string_view PlainCell() {
        const std::size_t start = m_pos;
        while (!AtLineEnd() && Peek() != m_separator) ++m_pos;
        return View(start, m_pos);
    }

    std::string_view QuotedCell() {
        const std::size_t start = m_pos++;
        std::size_t out = start;
        for (;;) {
            if (AtEnd()) Fail("quoted field is not closed");
            const char c = m_text[m_pos++];
            if (c == '"') {
                if (Peek() != '"') break;
                ++m_pos;
            } else if (c == '\n') {
                ++m_line;
            }
            m_text[out++] = c;
        }
        if (!AtLineEnd() && Peek() != m_separator) Fail("unexpected text after a closing quote");
        return View(start, out);
    }

    const std::string &m_path;
    std::vector<char> &m_text;
    char m_separator;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_rowLine = 1;
};

char SeparatorOf(const std::string &path, const std::vector<char> &text) {
    if (EndsWith(path, ".tsv") || EndsWith(path, ".TSV")) return '\t';
    const auto headerEnd = std::find(text.begin(), text.end(), '\n');
    return std::find(text.begin(), headerEnd, '\t') != headerEnd ? '\t' : ',';
}

}  // namespace

CsvFile ReadCsv(const std::string &path) {
    CsvFile file;
    file.text = ReadFile(path);
    Parser parser(path, file.text, SeparatorOf(path, file.text));
    std::vector<std::string_view> row;
    if (!parser.NextRow(row)) throw std::runtime_error("'" + path + "' has no header row");
    file.header.assign(row.begin(), row.end());
    while (parser.NextRow(row)) {
        if (row.size() != file.header.size()) {
            parser.Fail("row has " + std::to_string(row.size()) + " fields, the header has " +
                        std::to_string(file.header.size()));
        }
        file.cells.insert(file.cells.end(), row.begin(), row.end());
    }
    return file;
}

}  // namespace table
