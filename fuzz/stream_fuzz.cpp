// Reads arbitrary bytes as a data-set stream into a fresh memory data set,
// writes what was kept and reads that back: the second reading must succeed
// and give the same table, field by field and cell by cell.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "quelt/dataset/memdataset.h"

namespace {

using quelt::IDataSet;
using quelt::IField;

struct Deleter {
    void operator()(quelt::IMemDataSet *p) const { quelt::DeleteMemDataSet(p); }
};
using DataSetPtr = std::unique_ptr<quelt::IMemDataSet, Deleter>;

DataSetPtr ReadFrom(const std::string &bytes, bool &good) {
    DataSetPtr ds(quelt::CreateMemDataSet());
    std::istringstream is(bytes);
    is >> *ds;
    good = !is.fail();
    return ds;
}

std::string WriteOut(quelt::IMemDataSet &ds) {
    std::ostringstream os;
    os << ds;
    return os.str();
}

void Expect(bool condition) {
    if (!condition) std::abort();
}

// Equal values, or both NaN: the stream writes every NaN as "nan". A
// calendar interval is compared by the one number its cell form carries.
void ExpectSameReal(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return;
    Expect(std::memcmp(&a, &b, sizeof a) == 0);
}

void ExpectSameCell(IField &a, IField &b) {
    switch (a.GetType()) {
        case IField::BLOB:
            return;
        case IField::Bool:
        case IField::Short:
        case IField::Int:
        case IField::Int64:
            Expect(static_cast<quelt::int64>(a) == static_cast<quelt::int64>(b));
            return;
        case IField::String:
            Expect(static_cast<quelt::wstring>(a) == static_cast<quelt::wstring>(b));
            return;
        default:
            ExpectSameReal(static_cast<double>(a), static_cast<double>(b));
    }
}

void ExpectSameTable(quelt::IMemDataSet &a, quelt::IMemDataSet &b) {
    Expect(a.GetFieldCount() == b.GetFieldCount());
    Expect(a.GetRecordCount() == b.GetRecordCount());
    const int fields = static_cast<int>(a.GetFieldCount());
    for (int i = 0; i < fields; ++i) {
        Expect(a.GetFieldName(i) == b.GetFieldName(i));
        Expect(a.GetField(i)->GetType() == b.GetField(i)->GetType());
        Expect(a.GetFieldFormat(static_cast<unsigned>(i)) == b.GetFieldFormat(static_cast<unsigned>(i)));
    }
    IDataSet::Cursor x = a.CreateCursor();
    IDataSet::Cursor y = b.CreateCursor();
    for (unsigned r = 0; r < a.GetRecordCount(); ++r, ++x, ++y) {
        for (int i = 0; i < fields; ++i) ExpectSameCell(x[i], y[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    bool good = false;
    DataSetPtr first = ReadFrom(std::string(reinterpret_cast<const char *>(data), size), good);
    const std::string written = WriteOut(*first);
    DataSetPtr second = ReadFrom(written, good);
    Expect(good);
    ExpectSameTable(*first, *second);
    Expect(WriteOut(*second) == written);
    return 0;
}
