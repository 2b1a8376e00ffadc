#include "table.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "csv.h"
#include "values.h"

namespace table {

using quelt::IField;

namespace {

// Starts the line after the records that carries the column names.
constexpr std::string_view kNamesTag = "#columns\t";

// The first of the two passes over the file: the types and the row count,
// with every error of the file found before the data set takes memory.
struct Survey {
    std::vector<IField::Types> types;
    unsigned rows = 0;
    std::size_t padded = 0;
};

Survey SurveyFile(const std::string &path, bool strict) {
    CsvReader reader(path, strict);
    std::vector<TypeGuess> guesses(reader.Header().size());
    std::vector<std::string_view> row;
    Survey survey;
    while (reader.NextRow(row)) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (!row[column].empty()) guesses[column].See(row[column]);
        }
        if (++survey.rows == 0) throw std::runtime_error("'" + path + "' has more rows than a table holds");
    }
    for (const TypeGuess &guess : guesses) survey.types.push_back(guess.Type());
    survey.padded = reader.PaddedRows();
    return survey;
}

// One buffer serves every text cell: most cells are ASCII and are widened
// without decoding.
const quelt::wchar *Widen(std::string_view text, quelt::wstring &buffer) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        buffer.assign(text.begin(), text.end());
    } else {
        buffer = quelt::Utf8ToWide(text);
    }
    return buffer.c_str();
}

// Empty text and date cells keep the value a new record starts with.
void WriteCell(quelt::IFastWriter &writer, int column, IField::Types type, std::string_view cell,
               quelt::wstring &buffer) {
    switch (type) {
        case IField::Int:
            writer.SetField(column, cell.empty() ? kEmptyInt : *ParseInt(cell));
            return;
        case IField::Double:
            writer.SetField(column, cell.empty() ? kEmptyDouble : *ParseDouble(cell));
            return;
        default:
            break;
    }
    if (cell.empty()) return;
    switch (type) {
        case IField::DateTime:
            writer.SetField(column, *ParseIsoDate(cell));
            return;
        default:
            writer.SetField(column, Widen(cell, buffer));
            return;
    }
}

std::string NamesLine(const std::vector<std::string> &names) {
    std::string line(kNamesTag);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string name = names[i];
        // A separator inside a name would split it when read back.
        std::replace_if(
            name.begin(), name.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        line += (i == 0 ? "" : "\t") + name;
    }
    return line;
}

std::vector<std::string> SplitNames(const std::string &line) {
    std::vector<std::string> names;
    std::size_t start = kNamesTag.size();
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        names.push_back(line.substr(start, tab - start));
    }
    names.push_back(line.substr(start));
    return names;
}

bool IsNamesLine(const std::string &line) {
    return std::string_view(line).substr(0, kNamesTag.size()) == kNamesTag;
}

}  // namespace

Table::Table() : m_owner(quelt::CreateMemDataSet()) {
    if (!m_owner) throw std::bad_alloc();
    m_data = &dynamic_cast<quelt::CMemDataSet &>(*m_owner);
}

int Table::Column(const std::string &name) const {
    const auto it = std::find(m_names.begin(), m_names.end(), name);
    if (it == m_names.end()) throw std::runtime_error("unknown column '" + name + "'");
    return static_cast<int>(it - m_names.begin());
}

void Table::AddColumn(const std::string &name, IField::Types type) {
    if (std::find(m_names.begin(), m_names.end(), name) != m_names.end()) {
        throw std::runtime_error("column '" + name + "' appears twice");
    }
    m_data->AddField(quelt::Utf8ToWide(name), type);
    m_names.push_back(name);
}

void Table::NameColumnsByFields() {
    m_names.clear();
    for (unsigned i = 0; i < m_data->GetFieldCount(); ++i) {
        m_names.push_back(quelt::WideToUtf8(m_data->GetFieldName(static_cast<int>(i))));
    }
}

std::size_t LoadCsv(const std::string &path, bool strict, Table &table) {
    const Survey survey = SurveyFile(path, strict);
    CsvReader reader(path, strict);
    for (std::size_t column = 0; column < survey.types.size(); ++column)
        table.AddColumn(reader.Header()[column], survey.types[column]);
    table.Data().GetDataStorage().Reserve(survey.rows);
    FastWriter writer(table.Data());
    quelt::wstring buffer;
    std::vector<std::string_view> row;
    while (reader.NextRow(row)) {
        writer->AddRecord();
        for (std::size_t column = 0; column < row.size(); ++column) {
            WriteCell(*writer, static_cast<int>(column), survey.types[column], row[column], buffer);
        }
    }
    return survey.padded;
}

void SaveStream(const std::string &path, Table &table) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot create '" + path + "'");
    out << table.Data() << NamesLine(table.Names()) << '\n';
    if (!out.flush()) throw std::runtime_error("cannot write '" + path + "'");
}

void LoadStream(const std::string &path, Table &table) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open '" + path + "'");
    const std::string malformed = "'" + path + "' is not a valid data-set stream";
    if (!(in >> table.Data())) throw std::runtime_error(malformed);
    table.NameColumnsByFields();
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        if (!IsNamesLine(line)) throw std::runtime_error(malformed + " (unexpected text after the records)");
        std::vector<std::string> names = SplitNames(line);
        if (names.size() != table.Names().size())
            throw std::runtime_error(malformed + " (wrong number of names)");
        table.SetNames(std::move(names));
    }
}

}  // namespace table
