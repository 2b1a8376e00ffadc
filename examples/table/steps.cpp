#include "steps.h"

#include <algorithm>
#include <stdexcept>

#include "values.h"

namespace table {

using quelt::IField;

namespace {

void SetNumberFormat(Table &table, int column, const Assignment &format) {
    const quelt::wstring wide = quelt::Utf8ToWide(format.value);
    table.Data().SetFieldFormat(static_cast<unsigned>(column), wide);
    // The data set keeps the previous format when it refuses one.
    if (table.Data().GetFieldFormat(static_cast<unsigned>(column)) != wide) {
        throw std::runtime_error("--format: '" + format.value +
                                 "' is not a number format (d, d,, d.N, h, %, %.N)");
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
            default:
                SetNumberFormat(table, column, format);
        }
    }
    return patterns;
}

std::vector<SortKey> SortKeysFor(const Options &options) {
    if (!options.find) return options.sort;
    if (options.sort.empty()) return {SortKey{options.find->column, false}};
    if (options.sort.front().column != options.find->column) {
        throw std::runtime_error("--find: column '" + options.find->column +
                                 "' must be the first --sort column");
    }
    return options.sort;
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
