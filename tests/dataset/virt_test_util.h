#pragma once

// A host for the virtual data set over a vector of rows. It implements every
// source interface and logs each call, so tests can see what the data set
// asked for; a request for a record that does not exist is counted as a fault.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dataset_test_util.h"
#include "quelt/dataset/providers.h"
#include "quelt/dataset/variant.h"
#include "quelt/dataset/virtdataset.h"

namespace quelt::testing {

using Row = std::vector<CQueltVariant>;

class VectorHost : public IMetaData,
                   public IDataRandom,
                   public IEditRandom,
                   public IDataDirectional,
                   public IEditDirectional,
                   public ISort,
                   public IFind {
  public:
    struct Key {
        int field;
        CQueltVariant value;
        bool descending;
        bool caseSensitive;
    };

    VectorHost(std::vector<std::string> names, std::vector<IField::Types> types)
        : m_names(std::move(names)), m_types(std::move(types)) {}

    // IMetaData
    int GetFieldCount() override { return static_cast<int>(m_types.size()); }
    IField::Types GetFieldType(int field) override { return m_types[static_cast<std::size_t>(field)]; }
    wstring GetFieldName(int field) override { return Utf8ToWide(m_names[static_cast<std::size_t>(field)]); }

    // IDataRandom and IDataDirectional
    unsigned GetRecordCount() override { return static_cast<unsigned>(rows.size()); }
    CQueltVariant GetValue(unsigned record, unsigned field) override {
        Log("GetValue(" + std::to_string(record) + "," + std::to_string(field) + ")");
        return Cell(static_cast<long long>(record), field);
    }

    // IEditRandom
    void SetValue(unsigned record, unsigned field, const CQueltVariant &value) override {
        Log("SetValue(" + std::to_string(record) + "," + std::to_string(field) + ")");
        if (Exists(record)) rows[record][field] = Copy(value);
    }
    void Insert(unsigned record) override {
        Log("Insert(" + std::to_string(record) + ")");
        rows.insert(rows.begin() + std::min<std::size_t>(record, rows.size()), Blank());
    }
    void Move(unsigned from, unsigned to) override {
        Log("Move(" + std::to_string(from) + "," + std::to_string(to) + ")");
        if (!Exists(from)) return;
        Row row = rows[from];
        rows.erase(rows.begin() + from);
        rows.insert(rows.begin() + std::min<std::size_t>(to, rows.size()), row);
    }
    void Append() override {
        Log("Append");
        rows.push_back(Blank());
    }
    void Erase(unsigned record) override {
        Log("Erase(" + std::to_string(record) + ")");
        if (Exists(record)) rows.erase(rows.begin() + record);
    }
    void EraseAll() override {
        Log("EraseAll");
        rows.clear();
        position = 0;
    }

    // IDataDirectional
    void First() override { Log("First"); }
    void Last() override { Log("Last"); }
    bool IsBOF() override { return position == 0; }
    bool IsEOF() override { return position + 1 >= static_cast<long long>(rows.size()); }
    void Next() override {
        Log("Next");
        ++position;
    }
    void Prev() override {
        Log("Prev");
        --position;
    }
    CQueltVariant GetValue(unsigned field) override {
        Log("GetValueAt(" + std::to_string(position) + "," + std::to_string(field) + ")");
        return Cell(position, field);
    }

    // IEditDirectional
    void SetValue(unsigned field, const CQueltVariant &value) override {
        Log("SetValueAt(" + std::to_string(position) + "," + std::to_string(field) + ")");
        if (position >= 0 && Exists(static_cast<unsigned>(position))) rows[Pos()][field] = Copy(value);
    }
    void Insert() override {
        Log("InsertAt(" + std::to_string(position) + ")");
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(Pos(), rows.size())),
                    Blank());
    }
    void Erase() override {
        Log("EraseAt(" + std::to_string(position) + ")");
        if (position >= 0 && Exists(static_cast<unsigned>(position))) rows.erase(rows.begin() + position);
    }

    // ISort: a stable sort of the rows by the fields given since the last Sort.
    void AddSortField(int field, int sortIndex, bool descending, bool caseSensitive) override {
        Log("AddSortField(" + std::to_string(field) + "," + std::to_string(sortIndex) + ")");
        sortKeys.push_back({field, CQueltVariant(), descending, caseSensitive});
    }
    void ClearSortFields() override { sortKeys.clear(); }
    void SetCurrentRecord(unsigned record) override {
        Log("SetCurrentRecord(" + std::to_string(record) + ")");
        current = record;
    }
    bool Sort(unsigned &record) override {
        Log("Sort");
        std::vector<Key> keys;
        keys.swap(sortKeys);
        if (!hostSorts) return false;
        std::vector<std::size_t> order(rows.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            for (const Key &key : keys) {
                const int c = Compare(rows[a][static_cast<std::size_t>(key.field)],
                                      rows[b][static_cast<std::size_t>(key.field)], key.caseSensitive);
                if (c != 0) return key.descending ? c > 0 : c < 0;
            }
            return false;
        });
        std::vector<Row> sorted;
        for (std::size_t i : order) sorted.push_back(rows[i]);
        rows.swap(sorted);
        record = static_cast<unsigned>(std::find(order.begin(), order.end(), record) - order.begin());
        return true;
    }

    // IFind: binary searches over rows that are in the order of the keys.
    void AddFindField(int field, const CQueltVariant &value, bool descending, bool caseSensitive) override {
        Log("AddFindField(" + std::to_string(field) + ")");
        findKeys.push_back({field, value, descending, caseSensitive});
    }
    void ClearFindFields() override {
        Log("ClearFindFields");
        findKeys.clear();
    }
    int FindKey() override {
        Log("FindKey");
        const int at = LowerBound();
        return at < static_cast<int>(rows.size()) && KeyOrder(rows[static_cast<std::size_t>(at)]) == 0 ? at
                                                                                                       : -1;
    }
    int FindNearest() override {
        Log("FindNearest");
        return LowerBound();
    }
    int FindNext() override {
        Log("FindNext");
        return Bound(true);
    }

    void Log(const std::string &call) { calls.push_back(call); }
    std::size_t Count(const std::string &prefix) const {
        return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(), [&](const std::string &c) {
            return c.compare(0, prefix.size(), prefix) == 0;
        }));
    }
    static int Compare(const CQueltVariant &a, const CQueltVariant &b, bool caseSensitive) {
        if (a.GetType() >= CQueltVariant::Pointer) {
            wstring x = a.GetString(), y = b.GetString();
            if (!caseSensitive) {
                for (wchar &c : x) c = static_cast<wchar>(c >= 'A' && c <= 'Z' ? c + 32 : c);
                for (wchar &c : y) c = static_cast<wchar>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            }
            return x < y ? -1 : (y < x ? 1 : 0);
        }
        const double x = a.GetDouble(), y = b.GetDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }

    std::vector<Row> rows;
    std::vector<std::string> calls;
    std::vector<Key> sortKeys;
    std::vector<Key> findKeys;
    long long position = 0;
    unsigned current = 0;
    bool hostSorts = true;
    // Requests for records that do not exist.
    int faults = 0;

  private:
    bool Exists(unsigned record) {
        if (record < rows.size()) return true;
        ++faults;
        return false;
    }
    std::size_t Pos() const { return static_cast<std::size_t>(std::max(position, 0LL)); }
    CQueltVariant Cell(long long record, unsigned field) {
        if (record < 0 || !Exists(static_cast<unsigned>(record))) return CQueltVariant();
        return rows[static_cast<std::size_t>(record)][field];
    }
    // Pointer codes would dangle: keep a copy of the text.
    static CQueltVariant Copy(const CQueltVariant &value) {
        if (value.GetType() == CQueltVariant::WidePointer) return CQueltVariant(value.GetString());
        return value;
    }
    Row Blank() const {
        Row row;
        for (IField::Types type : m_types)
            row.push_back(type == IField::String ? CQueltVariant() : CQueltVariant(0));
        return row;
    }
    // The order of a row against the find keys, key direction applied.
    int KeyOrder(const Row &row) const {
        for (const Key &key : findKeys) {
            const int c = Compare(row[static_cast<std::size_t>(key.field)], key.value, key.caseSensitive);
            if (c != 0) return key.descending ? -c : c;
        }
        return 0;
    }
    // Binary search: the first row not before the key (after it for upper).
    int Bound(bool upper) const {
        int lo = 0, hi = static_cast<int>(rows.size());
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            const int order = KeyOrder(rows[static_cast<std::size_t>(mid)]);
            if (order < 0 || (upper && order == 0)) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        return lo;
    }
    int LowerBound() const { return Bound(false); }

    std::vector<std::string> m_names;
    std::vector<IField::Types> m_types;
};

// An Int field "n" and a String field "s" over the given rows.
inline std::unique_ptr<VectorHost> IntStringHost(const std::vector<std::pair<int, std::string>> &values) {
    auto host = std::make_unique<VectorHost>(std::vector<std::string>{"n", "s"},
                                             std::vector<IField::Types>{IField::Int, IField::String});
    for (const auto &v : values)
        host->rows.push_back({CQueltVariant(v.first), CQueltVariant(Utf8ToWide(v.second))});
    return host;
}

struct VirtualDeleter {
    void operator()(IMemDataSet *p) const { DeleteMemDataSet(p); }
};
using VirtualPtr = std::unique_ptr<CVirtualDataSet, VirtualDeleter>;

inline VirtualPtr MakeVirtual() { return VirtualPtr(dynamic_cast<CVirtualDataSet *>(CreateVirtDataSet())); }

// Wires the host as a random source with its schema (and editor when asked).
inline VirtualPtr RandomOver(VectorHost &host, bool edit = true) {
    VirtualPtr ds = MakeVirtual();
    ds->SetMetaData(&host);
    ds->SetDataRandom(&host);
    if (edit) ds->SetEditRandom(&host);
    return ds;
}

inline VirtualPtr DirectionalOver(VectorHost &host, bool edit = true) {
    VirtualPtr ds = MakeVirtual();
    ds->SetMetaData(&host);
    ds->SetDataDirectional(&host);
    if (edit) ds->SetEditDirectional(&host);
    return ds;
}

// Field 0 of every view record as an int.
inline std::vector<int> ViewInts(IMemDataSet &ds, unsigned field = 0) {
    std::vector<int> values;
    for (unsigned r = 0; r < ds.GetRecordCount(); ++r)
        values.push_back(static_cast<int>(ds.GetNumeric(field, r)));
    return values;
}

inline std::vector<std::string> ViewTexts(IMemDataSet &ds, unsigned field) {
    std::vector<std::string> values;
    for (unsigned r = 0; r < ds.GetRecordCount(); ++r) values.push_back(WideToUtf8(ds.GetString(field, r)));
    return values;
}

}  // namespace quelt::testing
