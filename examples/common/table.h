#pragma once

// A memory data set with the column names the tool shows, and the ways to
// fill it: a CSV or TSV file, the built-in sample, or a saved data-set stream.

#include <memory>
#include <string>
#include <vector>

#include <quelt/quelt.h>

namespace table {

struct DataSetDeleter {
    void operator()(quelt::IMemDataSet *dataSet) const { quelt::DeleteMemDataSet(dataSet); }
};

class Table {
  public:
    Table();

    quelt::CMemDataSet &Data() { return *m_data; }
    const std::vector<std::string> &Names() const { return m_names; }
    unsigned RowCount() const { return m_data->GetRecordCount(); }
    quelt::IField::Types TypeOf(int column) const { return m_data->GetField(column)->GetType(); }
    // The index of the named column; std::runtime_error for a name it lacks.
    int Column(const std::string &name) const;
    // Appends a column (std::runtime_error when the name is taken).
    void AddColumn(const std::string &name, quelt::IField::Types type);
    // The data set's own names stand for the columns.
    void NameColumnsByFields();
    void SetNames(std::vector<std::string> names) { m_names = std::move(names); }

  private:
    std::unique_ptr<quelt::IMemDataSet, DataSetDeleter> m_owner;
    quelt::CMemDataSet *m_data;
    std::vector<std::string> m_names;
};

// The fast writer of a data set, handed back when it goes.
class FastWriter {
  public:
    explicit FastWriter(quelt::IMemDataSet &dataSet)
        : m_dataSet(dataSet), m_writer(dataSet.CreateFastWriter()) {}
    ~FastWriter() { m_dataSet.DeleteFastWriter(m_writer); }
    FastWriter(const FastWriter &) = delete;
    FastWriter &operator=(const FastWriter &) = delete;

    quelt::IFastWriter *operator->() const { return m_writer; }
    quelt::IFastWriter &operator*() const { return *m_writer; }

  private:
    quelt::IMemDataSet &m_dataSet;
    quelt::IFastWriter *m_writer;
};

// Reads the file twice, streaming: first to infer each column's type and
// count the rows, then to fill the table. Returns how many short rows were
// padded with empty cells (a strict load refuses them).
std::size_t LoadCsv(const std::string &path, bool strict, Table &table);
// The built-in sample: the same rows every time (sample.cpp).
void GenerateSample(unsigned rows, Table &table);
// Hourly readings of two thermometers at one of several sites, a smooth
// series to draw: the same rows every time (sample.cpp).
void GenerateReadings(unsigned rows, Table &table);
// x = 0, 1, 2 ..., up = 2x + 1 and down = rows - x: straight lines to draw
// (sample.cpp).
void GenerateRamp(unsigned rows, Table &table);
// The table as CSV, as LoadCsv reads it back (sample.cpp).
void SaveCsv(const std::string &path, Table &table);
// The data-set text stream, then a line with the column names.
void SaveStream(const std::string &path, Table &table);
// Reads what SaveStream wrote; a stream without the names line keeps the
// data set's field names.
void LoadStream(const std::string &path, Table &table);

}  // namespace table
