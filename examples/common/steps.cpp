#include "steps.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "values.h"

namespace table {

using quelt::IField;

namespace {

// A number format as the tool reads it: d, h or %, then ".N" with one or two
// digits, then ',' for digit groups.
struct NumberFormat {
    char kind;
    int decimals = -1;
    bool grouped = false;
};

std::optional<NumberFormat> ReadNumberFormat(const std::string &text) {
    if (text.empty() || (text[0] != 'd' && text[0] != 'h' && text[0] != '%')) return std::nullopt;
    NumberFormat format{text[0]};
    std::string_view rest = std::string_view(text).substr(1);
    if (!rest.empty() && rest.back() == ',') {
        format.grouped = true;
        rest.remove_suffix(1);
    }
    if (!rest.empty()) {
        const std::optional<int> decimals = rest[0] == '.' ? ParseInt(rest.substr(1)) : std::nullopt;
        if (rest.size() < 2 || rest.size() > 3 || !decimals || *decimals < 0) return std::nullopt;
        format.decimals = *decimals;
    }
    if (format.kind == 'h' && (format.grouped || format.decimals >= 0)) return std::nullopt;
    return format;
}

bool IsWhole(IField::Types type) {
    return type == IField::Int || type == IField::Short || type == IField::Int64;
}

// The library format that shows what the tool's format promises, or an error
// for one that would show the column as it is shown without it.
std::string LibraryFormat(const Assignment &assignment, const NumberFormat &format, IField::Types type) {
    const std::string column = std::string(TypeName(type)) + " column '" + assignment.column + "'";
    if (IsWhole(type) && format.decimals >= 0) {
        throw std::runtime_error("--format: " + column + " has no decimals to show with '" +
                                 assignment.value + "'");
    }
    if (IsWhole(type) && format.kind == 'd' && !format.grouped) {
        throw std::runtime_error("--format: 'd' would show " + column +
                                 " as it is shown already (d, groups digits)");
    }
    // The library shows a real under a bare 'd' with six significant digits;
    // the tool's 'd' means whole numbers.
    if (!IsWhole(type) && format.kind == 'd' && format.decimals < 0) {
        return format.grouped ? "d.0," : "d.0";
    }
    return assignment.value;
}

void SetNumberFormat(Table &table, int column, const Assignment &assignment) {
    const IField::Types type = table.TypeOf(column);
    const std::optional<NumberFormat> format = ReadNumberFormat(assignment.value);
    const quelt::wstring wide =
        format ? quelt::Utf8ToWide(LibraryFormat(assignment, *format, type)) : quelt::wstring();
    if (format) table.Data().SetFieldFormat(static_cast<unsigned>(column), wide);
    // The data set keeps the previous format when it refuses one.
    if (!format || table.Data().GetFieldFormat(static_cast<unsigned>(column)) != wide) {
        throw std::runtime_error("--format: '" + assignment.value +
                                 "' is not a number format (d, d,, d.N, d.N,, h, %, %,, %.N, %.N,)");
    }
}

void SetDatePattern(const Assignment &format, quelt::wstring &pattern) {
    if (format.value.find('%') == std::string::npos) {
        throw std::runtime_error("--format: '" + format.value + "' is not a date pattern (such as %d %b %Y)");
    }
    pattern = quelt::Utf8ToWide(format.value);
}

template <class T>
T Require(const std::optional<T> &value, const Assignment &find, IField::Types type) {
    if (!value) {
        throw std::runtime_error("--find: '" + find.value + "' is not a value of " + TypeName(type) +
                                 " column '" + find.column + "'");
    }
    return *value;
}

quelt::CQueltVariant FindValue(IField::Types type, const Assignment &find) {
    switch (type) {
        case IField::String:
            return quelt::CQueltVariant(quelt::Utf8ToWide(find.value));
        case IField::DateTime:
            return quelt::CQueltVariant(Require(ParseIsoDate(find.value), find, type));
        case IField::Int:
        case IField::Short:
            return quelt::CQueltVariant(Require(ParseInt(find.value), find, type));
        default:
            return quelt::CQueltVariant(Require(ParseDouble(find.value), find, type));
    }
}

}  // namespace

DatePatterns ApplyFormats(Table &table, const std::vector<Assignment> &formats) {
    DatePatterns patterns(table.Names().size());
    for (const Assignment &format : formats) {
        const int column = table.Column(format.column);
        switch (table.TypeOf(column)) {
            case IField::DateTime:
                SetDatePattern(format, patterns[column]);
                break;
            case IField::String:
            case IField::BLOB:
                throw std::runtime_error("--format: column '" + format.column +
                                         "' holds text, which has no format");
            case IField::Short:
            case IField::Int:
            case IField::Int64:
            case IField::Float:
            case IField::Double:
                SetNumberFormat(table, column, format);
                break;
            default:
                throw std::runtime_error("--format: " + std::string(TypeName(table.TypeOf(column))) +
                                         " column '" + format.column + "' takes no format");
        }
    }
    return patterns;
}

std::vector<SortKey> SortKeysFor(const std::vector<SortKey> &sort, const std::optional<Assignment> &find) {
    if (!find) return sort;
    if (sort.empty()) return {SortKey{find->column, false}};
    if (sort.front().column != find->column) {
        throw std::runtime_error("--find: column '" + find->column + "' must be the first --sort column");
    }
    return sort;
}

void PrepareSort(Table &table, const std::vector<SortKey> &keys) {
    std::vector<int> columns;
    for (const SortKey &key : keys) {
        const int column = table.Column(key.column);
        if (std::find(columns.begin(), columns.end(), column) != columns.end()) {
            throw std::runtime_error("--sort: column '" + key.column + "' appears twice");
        }
        columns.push_back(column);
        const IField *field = table.Data().GetField(column);
        field->SetSortType(key.descending ? IField::Descending : IField::Ascending);
        field->SetSortIndex(static_cast<int>(columns.size() - 1));
        field->SetIsSortCaseSensitive(false);
    }
}

Search::Search(Table &table, const Assignment &find, const SortKey &primary)
    : m_table(table),
      m_column(table.Column(find.column)),
      m_descending(primary.descending),
      m_value(FindValue(table.TypeOf(m_column), find)) {}

Found Search::Run() {
    quelt::CMemDataSet &data = m_table.Data();
    data.ClearFindFields();
    data.AddFindField(m_column, m_value, m_descending, false);
    quelt::IDataSet::Cursor cursor = data.CreateCursor();
    const bool exact = data.FindKey(cursor);
    if (!exact) data.FindNearest(cursor);
    const auto &position = dynamic_cast<const quelt::CMemDataSet::CMemCursor &>(*cursor.icursor());
    return {std::min(position.GetIterator(), m_table.RowCount()), exact};
}

}  // namespace table
