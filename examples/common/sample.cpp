// The generated samples of the example programs, and CSV written back out.

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <random>
#include <stdexcept>

#include "table.h"
#include "values.h"

namespace table {

using quelt::IField;

namespace {

// A whole number of hundredths, so that the text of a value is short and
// the same wherever the sample is made.
double Hundredths(double value) { return std::round(value * 100) / 100; }

// A draw in [-1, 1] in steps of 1/1000.
double Noise(std::mt19937 &random) { return static_cast<double>(random() % 2001) / 1000 - 1; }

// mt19937's sequence is fixed by the standard; the distributions are not,
// so the draws are reduced by hand to keep the samples the same everywhere.
constexpr std::mt19937::result_type kSeed = 20240607;

struct Column {
    const char *name;
    IField::Types type;
};

// Declares the columns and makes room for the rows.
void Prepare(Table &table, std::initializer_list<Column> columns, unsigned rows) {
    for (const Column &column : columns) table.AddColumn(column.name, column.type);
    table.Data().GetDataStorage().Reserve(rows);
}

std::string CsvField(std::string text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    for (std::size_t at = 0; (at = text.find('"', at)) != std::string::npos; at += 2) text.insert(at, 1, '"');
    return '"' + text + '"';
}

const quelt::wstring kDatePattern = quelt::Utf8ToWide("%Y-%m-%d");
const quelt::wstring kDateTimePattern = quelt::Utf8ToWide("%Y-%m-%d %H:%M:%S");

// One column's cells as CSV text, the empty markers as empty cells.
std::vector<std::string> CsvColumn(Table &table, int column) {
    std::vector<std::string> cells;
    const unsigned rows = table.RowCount();
    switch (table.TypeOf(column)) {
        case IField::Int:
            for (int value : quelt::ColumnView<int>(table.Data(), column))
                cells.push_back(IsEmpty(value) ? "" : std::to_string(value));
            break;
        case IField::Double:
            for (double value : quelt::ColumnView<double>(table.Data(), column))
                cells.push_back(IsEmpty(value) ? "" : ShortestText(value));
            break;
        case IField::DateTime:
            for (const quelt::tdatetime &date : quelt::ColumnView<quelt::tdatetime>(table.Data(), column)) {
                const double day = date.GetDateTime();
                cells.push_back(
                    IsEmpty(date) ? ""
                                  : DateText(date, day == std::floor(day) ? kDatePattern : kDateTimePattern));
            }
            break;
        default: {
            quelt::IDataSet::Cursor cursor = table.Data().CreateCursor();
            for (unsigned row = 0; row < rows; ++row, ++cursor)
                cells.push_back(CsvField(quelt::WideToUtf8(static_cast<quelt::wstring>(cursor[column]))));
        }
    }
    return cells;
}

}  // namespace

void GenerateSample(unsigned rows, Table &table) {
    using namespace quelt;
    static const wstring cities[] = {u"Oslo"_w,   u"Lisbon"_w, u"Zagreb"_w,  u"Quito"_w,  u"Nairobi"_w,
                                     u"Hanoi"_w,  u"Lima"_w,   u"Tallinn"_w, u"Osaka"_w,  u"Dakar"_w,
                                     u"Bergen"_w, u"Austin"_w, u"Porto"_w,   u"Kraków"_w, u"Perth"_w};
    Prepare(table,
            {{"id", IField::Int},
             {"city", IField::String},
             {"amount", IField::Double},
             {"date", IField::DateTime},
             {"qty", IField::Int}},
            rows);
    std::mt19937 random(kSeed);
    const double firstDay = tdatetime(1, 1, 2020).GetDateTime();
    FastWriter writer(table.Data());
    for (unsigned row = 0; row < rows; ++row) {
        writer->AddRecord();
        writer->SetField(0, static_cast<int>(row + 1));
        writer->SetField(1, cities[random() % std::size(cities)].c_str());
        writer->SetField(2, static_cast<double>(random() % 1000000) / 100);
        tdatetime date;
        date.SetDateTime(firstDay + static_cast<double>(random() % 1461));
        writer->SetField(3, date);
        writer->SetField(4, static_cast<int>(1 + random() % 50));
    }
}

void GenerateReadings(unsigned rows, Table &table) {
    using namespace quelt;
    static const wstring sites[] = {u"Bergen"_w, u"Porto"_w, u"Quito"_w, u"Tallinn"_w, u"Perth"_w};
    Prepare(table,
            {{"id", IField::Int},
             {"time", IField::DateTime},
             {"site", IField::String},
             {"inside", IField::Double},
             {"outside", IField::Double},
             {"load", IField::Int}},
            rows);
    std::mt19937 random(kSeed);
    const double firstDay = tdatetime(1, 1, 2024).GetDateTime();
    const double pi = std::acos(-1.0);
    double inside = 21;
    FastWriter writer(table.Data());
    for (unsigned row = 0; row < rows; ++row) {
        const double day = row / 24.0;
        inside = std::clamp(inside + Noise(random) * 0.15, 17.0, 25.0);
        const double season = 8 - 10 * std::cos(2 * pi * (day - 15) / 365);
        const double daily = 4 * std::sin(2 * pi * (day - 0.375));
        writer->AddRecord();
        writer->SetField(0, static_cast<int>(row + 1));
        tdatetime time;
        time.SetDateTime(firstDay + day);
        writer->SetField(1, time);
        writer->SetField(2, sites[(row / 24) % std::size(sites)].c_str());
        writer->SetField(3, Hundredths(inside));
        writer->SetField(4, Hundredths(season + daily + Noise(random) * 1.5));
        writer->SetField(5, static_cast<int>(1 + random() % 100));
    }
}

void GenerateRamp(unsigned rows, Table &table) {
    Prepare(table, {{"x", IField::Int}, {"up", IField::Double}, {"down", IField::Double}}, rows);
    FastWriter writer(table.Data());
    for (unsigned row = 0; row < rows; ++row) {
        writer->AddRecord();
        writer->SetField(0, static_cast<int>(row));
        writer->SetField(1, 2.0 * row + 1);
        writer->SetField(2, static_cast<double>(rows - row));
    }
}

void SaveCsv(const std::string &path, Table &table) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot create '" + path + "'");
    std::vector<std::vector<std::string>> columns;
    for (int column = 0; column < static_cast<int>(table.Names().size()); ++column) {
        out << (column == 0 ? "" : ",") << CsvField(table.Names()[column]);
        columns.push_back(CsvColumn(table, column));
    }
    out << '\n';
    for (unsigned row = 0; row < table.RowCount(); ++row) {
        for (std::size_t column = 0; column < columns.size(); ++column)
            out << (column == 0 ? "" : ",") << columns[column][row];
        out << '\n';
    }
    if (!out.flush()) throw std::runtime_error("cannot write '" + path + "'");
}

}  // namespace table
