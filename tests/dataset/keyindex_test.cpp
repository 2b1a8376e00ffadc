#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "dataset/fields_p.h"
#include "quelt/dataset/fastwriter.h"
#include "sort_test_util.h"

namespace quelt {
namespace {

using testing::DataSetPtr;
using testing::DoubleColumn;
using testing::MakeDataSet;
using testing::SetKey;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Where the three searches put one key value: FindNearest's and FindNext's
// indices and FindKey's (-1 when it finds none), straight from the storage.
struct Found {
    long long nearest;
    long long next;
    long long key;
    bool operator==(const Found &other) const {
        return nearest == other.nearest && next == other.next && key == other.key;
    }
};

std::ostream &operator<<(std::ostream &os, const Found &found) {
    return os << found.nearest << '/' << found.next << '/' << found.key;
}

// Orders numbers as a key does: NaN after every number and equal to NaN.
bool Before(double a, double b, bool descending) {
    if (descending) std::swap(a, b);
    return a < b || (std::isnan(b) && !std::isnan(a));
}

// What a binary search over the column finds, the column being in order or not.
Found Expected(const std::vector<double> &column, double value, bool descending) {
    const auto less = [descending](double a, double b) { return Before(a, b, descending); };
    const auto lower = std::lower_bound(column.begin(), column.end(), value, less) - column.begin();
    const auto upper = std::upper_bound(column.begin(), column.end(), value, less) - column.begin();
    const bool hit = lower < static_cast<long long>(column.size()) && !less(value, column[lower]);
    return {lower, upper, hit ? lower : -1};
}

// Searches field's cells for value, also by a second key when given.
Found Search(IMemDataSet &ds, unsigned field, double value, bool descending, const double *second = nullptr) {
    auto &mem = dynamic_cast<CMemDataSet &>(ds);
    std::vector<IField::Types> types{ds.GetField(static_cast<int>(field))->GetType()};
    std::vector<int> offsets{mem.GetFieldShift(static_cast<int>(field))};
    std::vector<unsigned char> key(64 + static_cast<unsigned>(offsets[0]));
    const auto store = [&key](IField::Types type, int offset, double v) {
        unsigned char *cell = key.data() + offset;
        switch (type) {
            case IField::Bool:
                return cells::Store(cell, static_cast<unsigned char>(v));
            case IField::Short:
                return cells::Store(cell, static_cast<short>(v));
            case IField::Int:
                return cells::Store(cell, static_cast<int>(v));
            case IField::Int64:
                return cells::Store(cell, static_cast<int64>(v));
            case IField::Float:
                return cells::Store(cell, static_cast<float>(v));
            default:
                return cells::Store(cell, v);
        }
    };
    store(types[0], offsets[0], value);
    if (second) {
        types.push_back(ds.GetField(static_cast<int>(field + 1))->GetType());
        offsets.push_back(mem.GetFieldShift(static_cast<int>(field + 1)));
        store(types[1], offsets[1], *second);
    }
    const int count = static_cast<int>(types.size());
    const std::vector<char> down(types.size(), descending);
    const std::vector<char> caseSensitive(types.size(), 0);
    const auto &storage = mem.GetDataStorage();
    const unsigned nearest = storage.FindNearest(types.data(), offsets.data(), count, key.data(), down.data(),
                                                 caseSensitive.data());
    const unsigned next =
        storage.FindNext(types.data(), offsets.data(), count, key.data(), down.data(), caseSensitive.data());
    const unsigned found =
        storage.FindKey(types.data(), offsets.data(), count, key.data(), down.data(), caseSensitive.data());
    return {nearest, next, found == static_cast<unsigned>(-1) ? -1 : static_cast<long long>(found)};
}

// Searches for every value in [from, to] by step, and for NaN where the
// field's type has it.
void ExpectAllFound(IMemDataSet &ds, unsigned field, double from, double to, double step, bool descending,
                    const std::string &where) {
    const std::vector<double> column = DoubleColumn(ds, field);
    for (double v = from; v <= to; v += step) {
        ASSERT_EQ(Search(ds, field, v, descending), Expected(column, v, descending))
            << where << " value " << v;
    }
    const IField::Types type = ds.GetField(static_cast<int>(field))->GetType();
    if (type != IField::Float && type != IField::Double) return;
    ASSERT_EQ(Search(ds, field, kNaN, descending), Expected(column, kNaN, descending)) << where << " NaN";
}

DataSetPtr OneKey(IField::Types type, const std::vector<double> &values, bool descending) {
    DataSetPtr ds = testing::WithValues(type, values);
    SetKey(*ds, 0, descending ? IField::Descending : IField::Ascending, 0);
    ds->Sort();
    return ds;
}

// Every record count from one to a few tree levels deep, each value twice
// with gaps between, for every numeric and date kind both ways, and NaN
// where the type has it.
TEST(SearchLayout, MatchesStdBoundsAtEveryLength) {
    for (IField::Types type : {IField::Bool, IField::Short, IField::Int, IField::Int64, IField::Float,
                               IField::Double, IField::DateTime, IField::TimeInterval}) {
        for (bool descending : {false, true}) {
            for (int count = 1; count <= 70; ++count) {
                std::vector<double> values;
                for (int i = 0; i < count; ++i) {
                    const double value = type == IField::Bool ? i % 2 : i / 2 * 2 + 1;
                    const bool nan = i % 9 == 8 && (type == IField::Float || type == IField::Double);
                    values.push_back(nan ? kNaN : value);
                }
                DataSetPtr ds = OneKey(type, values, descending);
                const bool flag = type == IField::Bool;
                ExpectAllFound(
                    *ds, 0, flag ? 0 : -1, flag ? 1 : count + 2, 1, descending,
                    std::to_string(type) + (descending ? " desc " : " asc ") + std::to_string(count));
            }
        }
    }
}

// Ties of the first key are settled by the second key on the records.
TEST(SearchLayout, LaterKeysDecideAmongEqualFirstKeys) {
    DataSetPtr ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Double);
    ds->AddField(u"b"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int r = 0; r < 500; ++r) {
        ds->Append(c);
        c[0] = r % 7 == 6 ? kNaN : static_cast<double>(r % 5);
        c[1] = (r * 13) % 11;
    }
    for (bool descending : {false, true}) {
        SetKey(*ds, 0, descending ? IField::Descending : IField::Ascending, 0);
        SetKey(*ds, 1, descending ? IField::Descending : IField::Ascending, 1);
        ds->Sort();
        std::vector<std::pair<double, double>> rows;
        for (unsigned r = 0; r < ds->GetRecordCount(); ++r)
            rows.emplace_back(ds->GetNumeric(0, r), ds->GetNumeric(1, r));
        const auto less = [descending](const std::pair<double, double> &x,
                                       const std::pair<double, double> &y) {
            if (Before(x.first, y.first, descending)) return true;
            return !Before(y.first, x.first, descending) && Before(x.second, y.second, descending);
        };
        for (double a : {-1.0, 0.0, 2.0, 4.0, 5.0, kNaN}) {
            for (double b = -1; b <= 11; ++b) {
                const std::pair<double, double> key{a, b};
                const auto lower = std::lower_bound(rows.begin(), rows.end(), key, less) - rows.begin();
                const auto upper = std::upper_bound(rows.begin(), rows.end(), key, less) - rows.begin();
                const Found expected{lower, upper, lower < upper ? lower : -1};
                EXPECT_EQ(Search(*ds, 0, a, descending, &b), expected) << descending << ' ' << a << ' ' << b;
            }
        }
    }
}

// A million records with about a thousand ties per key.
TEST(SearchLayout, MillionRecordsWithManyTies) {
    DataSetPtr ds = MakeDataSet();
    ds->AddField(u"k"_w, IField::Int);
    IFastWriter *writer = ds->CreateFastWriter();
    for (int r = 0; r < 1000000; ++r) {
        writer->AddRecord();
        writer->SetField(0, static_cast<int>(static_cast<long long>(r) * 7919 % 1000) * 3);
    }
    ds->DeleteFastWriter(writer);
    for (bool descending : {false, true}) {
        SetKey(*ds, 0, descending ? IField::Descending : IField::Ascending, 0);
        ds->Sort();
        ExpectAllFound(*ds, 0, -2, 3001, 1, descending, descending ? "desc" : "asc");
    }
}

// The values a search near v tries: v and its neighbours within the type.
std::vector<double> AroundValue(IField::Types type, double v) {
    if (std::isnan(v)) return {v};
    if (type == IField::Float) {
        const auto f = static_cast<float>(v);
        const float inf = std::numeric_limits<float>::infinity();
        return {std::nextafter(f, -inf), f, std::nextafter(f, inf)};
    }
    if (type == IField::Double) {
        const double inf = std::numeric_limits<double>::infinity();
        return {std::nextafter(v, -inf), v, std::nextafter(v, inf)};
    }
    const double low = type == IField::Int ? std::numeric_limits<int>::min() : -4e18;
    const double high = type == IField::Int ? std::numeric_limits<int>::max() : 4e18;
    return {std::max(v - 1, low), v, std::min(v + 1, high)};
}

// Keys spread unevenly over their range, out of order: a few far outliers
// leave most keys crowded at one end of it, the type's extremes and the
// infinities stretch it to the ends of the type, and keys spread over many
// powers of two crowd near zero. Every key and its neighbours are searched.
TEST(SearchLayout, UnevenlySpreadKeysMatchStdBounds) {
    const double inf = std::numeric_limits<double>::infinity();
    const double most = std::numeric_limits<double>::max();
    const float mostFloat = std::numeric_limits<float>::max();
    const struct {
        const char *name;
        IField::Types type;
        std::function<double(int)> value;
    } cases[] = {
        {"far outliers Int64", IField::Int64,
         [](int i) -> double { return i % 500 == 0 ? (i % 1000 ? 4e18 : -4e18) : i % 200; }},
        {"type's ends Int", IField::Int,
         [](int i) -> double {
             if (i % 700 == 0) return std::numeric_limits<int>::min();
             return i % 700 == 1 ? std::numeric_limits<int>::max() : i % 100;
         }},
        {"infinities Double", IField::Double,
         [&](int i) {
             const double ends[] = {-inf, inf, most, -most, kNaN};
             return i % 300 < 5 ? ends[i % 300] : (i % 50) * 0.5;
         }},
        {"powers of two Double", IField::Double,
         [](int i) { return std::ldexp(i % 2 ? 1.0 : -1.0, i % 1000 - 500); }},
        {"ends Float", IField::Float,
         [&](int i) {
             const double ends[] = {-inf, inf, mostFloat, -mostFloat, kNaN};
             return i % 400 < 5 ? ends[i % 400] : (i % 64) * 0.25;
         }},
    };
    const int count = 3000;
    for (const auto &c : cases) {
        std::vector<double> values;
        for (int i = 0; i < count; ++i) values.push_back(c.value(i * 7919 % count));
        for (bool descending : {false, true}) {
            DataSetPtr ds = OneKey(c.type, values, descending);
            const std::vector<double> column = DoubleColumn(*ds);
            for (double v : column) {
                for (double probe : AroundValue(c.type, v)) {
                    ASSERT_EQ(Search(*ds, 0, probe, descending), Expected(column, probe, descending))
                        << c.name << (descending ? " desc " : " asc ") << probe;
                }
            }
        }
    }
}

tdatetime Day(double days) {
    tdatetime date;
    date.SetDateTime(days);
    return date;
}

// The records of the write-path tests: key a (Int) from -190 up to 0 in
// threes, b an Int out of order, and when dated d, a date rising with a.
// A new record's date cell is written as it is made, so only the records
// that are searched by date have one.
DataSetPtr Triples(bool dated) {
    DataSetPtr ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->AddField(u"b"_w, IField::Int);
    if (dated) ds->AddField(u"d"_w, IField::DateTime);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int r = 0; r < 60; ++r) {
        ds->Append(c);
        c[0] = -10 * ((59 - r) / 3);
        c[1] = (r * 7) % 11;
        if (dated) c[2] = Day(1000.0 + 10 * (r / 3));
    }
    return ds;
}

struct WritePath {
    const char *name;
    unsigned key;  // the field sorted by and searched
    std::function<void(IMemDataSet &)> write;
};

IDataSet::Cursor At(IMemDataSet &ds, int record) {
    IDataSet::Cursor c = ds.CreateCursor();
    c += record;
    return c;
}

// Record 5 is the last of its three equal keys, so one more than its key
// keeps the order.
const std::vector<WritePath> &WritePaths() {
    static const std::vector<WritePath> paths = {
        {"cursor", 0, [](IMemDataSet &ds) { At(ds, 5)[0] = -175; }},
        {"cursor text", 0, [](IMemDataSet &ds) { At(ds, 5)[0] = u"-175"_w.c_str(); }},
        {"cursor date", 2, [](IMemDataSet &ds) { At(ds, 5)[2] = Day(1015.0); }},
        {"column", 0,
         [](IMemDataSet &ds) {
             IDataSet::Column column = ds.CreateColumn(0);
             column[5] = -175;
         }},
        {"SetFieldValue", 0,
         [](IMemDataSet &ds) {
             unsigned record = 5;
             ds.SetFieldValue(0, record, -175);
         }},
        {"SetFieldValue date", 2,
         [](IMemDataSet &ds) {
             unsigned record = 5;
             ds.SetFieldValue(2, record, Day(1015.0));
         }},
        {"SetFieldValue raw", 0,
         [](IMemDataSet &ds) {
             int value = -175;
             unsigned record = 5;
             ds.SetFieldValue(0, record, static_cast<void *>(&value));
         }},
        {"GetVoid", 0,
         [](IMemDataSet &ds) { cells::Store(static_cast<unsigned char *>(ds.GetVoid(0, 5)), -175); }},
        {"field stream", 0,
         [](IMemDataSet &ds) {
             std::istringstream in("-175");
             dynamic_cast<CMemFieldBase &>(static_cast<IField &>(At(ds, 5)[0])).get(in);
         }},
        {"Append", 0,
         [](IMemDataSet &ds) {
             IDataSet::Cursor c = ds.CreateCursor();
             ds.Append(c);
         }},
        {"Insert", 0,
         [](IMemDataSet &ds) {
             IDataSet::Cursor c = At(ds, 57);
             ds.Insert(c);
         }},
        {"Erase", 0,
         [](IMemDataSet &ds) {
             IDataSet::Cursor c = At(ds, 20);
             ds.Erase(c);
         }},
        {"EraseAll", 0, [](IMemDataSet &ds) { ds.EraseAll(); }},
        {"Move", 0, [](IMemDataSet &ds) { ds.Move(2, 40); }},
        {"keep order", 0,
         [](IMemDataSet &ds) {
             ds.SetKeepOrder(true);
             unsigned record = 2;
             ds.SetFieldValue(0, record, -55);
         }},
        {"records", 0,
         [](IMemDataSet &ds) {
             auto &records = dynamic_cast<CMemDataSet &>(ds).GetDataStorage().Records();
             std::swap(records[3], records[30]);
         }},
        {"stream read", 0,
         [](IMemDataSet &ds) {
             DataSetPtr other = Triples(false);
             IDataSet::Cursor c = other->CreateCursor();
             for (int r = 0; r < 7; ++r) other->Append(c);
             std::stringstream stream;
             stream << *other;
             stream >> ds;
             EXPECT_EQ(ds.GetRecordCount(), 67u);
         }},
        {"rule sort", 0,
         [](IMemDataSet &ds) {
             testing::ValueRule reversed(ds, -1);
             ds.SetSortRule(0, &reversed);
             ds.Sort();
             ds.SetSortRule(0, nullptr);
         }},
        {"field list", 0, [](IMemDataSet &ds) { ds.DeleteField(0u); }},
        {"Clear", 0,
         [](IMemDataSet &ds) {
             ds.Clear();
             ds.AddField(u"a"_w, IField::Int);
         }},
    };
    return paths;
}

// Each write between a sort and a search leaves records whose order or
// keys differ from what the sort laid out; the search must see them.
TEST(SearchLayout, EveryWritePathMakesTheNextSearchSeeTheRecords) {
    for (const WritePath &path : WritePaths()) {
        DataSetPtr ds = Triples(path.key == 2);
        SetKey(*ds, static_cast<int>(path.key), IField::Ascending, 0);
        ds->Sort();
        const bool date = path.key == 2;
        ExpectAllFound(*ds, path.key, date ? 990 : -200, date ? 1200 : 10, 5, false,
                       std::string(path.name) + " before");
        path.write(*ds);
        ExpectAllFound(*ds, path.key, date ? 990 : -200, date ? 1200 : 10, 5, false,
                       std::string(path.name) + " after");
    }
}

// A fast writer's cell writes count too, also on a record written before the sort.
TEST(SearchLayout, FastWriterCellWritesMakeTheNextSearchSeeThem) {
    DataSetPtr ds = Triples(false);
    IFastWriter *writer = ds->CreateFastWriter();
    writer->AddRecord();
    writer->SetField(0, 10);
    SetKey(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    writer->SetField(0, 20);
    ExpectAllFound(*ds, 0, -200, 30, 5, false, "fast writer");
    ds->DeleteFastWriter(writer);
}

}  // namespace
}  // namespace quelt
