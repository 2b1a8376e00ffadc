#pragma once

// Helpers of the sorting, searching and keep-order tests.

#include <cmath>
#include <vector>

#include "dataset_test_util.h"
#include "quelt/dataset/providers.h"

namespace quelt::testing {

inline void SetKey(IMemDataSet &ds, int field, IField::SortType type, int index, bool caseSensitive = false) {
    const IField *f = ds.GetField(field);
    f->SetSortType(type);
    f->SetSortIndex(index);
    f->SetIsSortCaseSensitive(caseSensitive);
}

// A data set with one field of the type and one record per value.
template <class V>
DataSetPtr WithValues(IField::Types type, const std::vector<V> &values) {
    DataSetPtr ds = MakeDataSet();
    ds->AddField(u"v"_w, type);
    IDataSet::Cursor c = ds->CreateCursor();
    for (unsigned r = 0; r < values.size(); ++r) {
        ds->Append(c);
        ds->SetFieldValue(0, r, values[r]);
    }
    return ds;
}

inline std::vector<double> DoubleColumn(IMemDataSet &ds, unsigned field = 0) {
    std::vector<double> values;
    for (unsigned r = 0; r < ds.GetRecordCount(); ++r) values.push_back(ds.GetNumeric(field, r));
    return values;
}

inline std::vector<wstring> TextColumn(IMemDataSet &ds, unsigned field = 0) {
    std::vector<wstring> values;
    for (unsigned r = 0; r < ds.GetRecordCount(); ++r) values.push_back(ds.GetString(field, r));
    return values;
}

// Ascending with every NaN after the numbers.
inline bool NaNLastOrder(const std::vector<double> &values) {
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double a = values[i - 1], b = values[i];
        if (std::isnan(a) && !std::isnan(b)) return false;
        if (!std::isnan(a) && !std::isnan(b) && b < a) return false;
    }
    return true;
}

// A host rule that orders an Int field through the data set, reading the
// records at the indices it is given, and records every call.
class ValueRule : public ISortRule {
  public:
    explicit ValueRule(IMemDataSet &ds, int result = 1) : m_ds(ds), m_sign(result) {}
    int Compare(int field, int a, int b, bool descending) override {
        ++count;
        if (calls.size() < 1000) calls.push_back({field, a, b, descending});
        if (m_sign == 0) return 0;
        const double va = m_ds.GetNumeric(static_cast<unsigned>(field), static_cast<unsigned>(a));
        const double vb = m_ds.GetNumeric(static_cast<unsigned>(field), static_cast<unsigned>(b));
        return va < vb ? -m_sign : vb < va ? m_sign : 0;
    }
    struct Call {
        int field, a, b;
        bool descending;
    };
    // The first thousand calls, and how many there were.
    std::vector<Call> calls;
    std::size_t count = 0;

  private:
    IMemDataSet &m_ds;
    int m_sign;
};

}  // namespace quelt::testing
