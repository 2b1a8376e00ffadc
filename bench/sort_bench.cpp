// Sorting and searching a memory data set of a million records, against
// std::sort over the same values in a vector.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "dataset/fields_p.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/dataset/providers.h"

namespace quelt {
namespace {

constexpr unsigned kRecords = 1000000;

struct Deleter {
    void operator()(IMemDataSet *p) const { DeleteMemDataSet(p); }
};

// A data set of random records and the record order to restore before each sort.
struct Table {
    std::unique_ptr<IMemDataSet, Deleter> ds{CreateMemDataSet()};
    std::vector<unsigned char *> shuffled;
    std::vector<int> ints;
    std::vector<double> doubles;

    CMemDataSet &Mem() { return dynamic_cast<CMemDataSet &>(*ds); }
    void Key(int field, int index, IField::SortType type = IField::Ascending) {
        ds->GetField(field)->SetSortType(type);
        ds->GetField(field)->SetSortIndex(index);
    }
    void Restore() {
        auto &records = Mem().GetDataStorage().Records();
        std::copy(shuffled.begin(), shuffled.end(), records.begin());
    }
};

// Fields: Int (0), Double (1), String (2), a small Int (3) for ties; one
// record per value.
Table &Shared() {
    static Table table = [] {
        Table t;
        t.ds->AddField(u"int"_w, IField::Int);
        t.ds->AddField(u"double"_w, IField::Double);
        t.ds->AddField(u"text"_w, IField::String);
        t.ds->AddField(u"group"_w, IField::Int);
        std::mt19937 random(42);
        CMemDataSet &mem = t.Mem();
        auto &storage = mem.GetDataStorage();
        storage.Reserve(kRecords);
        wstring text(8, u'a');
        for (unsigned r = 0; r < kRecords; ++r) {
            unsigned char *record = storage.GetAddress(storage.Append());
            const int i = static_cast<int>(random());
            const double d = std::uniform_real_distribution<double>(-1e6, 1e6)(random);
            t.ints.push_back(i);
            t.doubles.push_back(d);
            cells::Store(record + mem.GetFieldShift(0), i);
            cells::Store(record + mem.GetFieldShift(1), d);
            cells::Store(record + mem.GetFieldShift(3), static_cast<int>(random() % 1000));
            for (wchar &ch : text) ch = static_cast<wchar>((random() % 2 ? u'a' : u'A') + random() % 26);
            unsigned index = r;
            t.ds->SetFieldValue(2, index, text);
        }
        t.shuffled = storage.Records();
        return t;
    }();
    return table;
}

void ClearKeys(Table &t) {
    for (int f = 0; f < 4; ++f) {
        t.ds->GetField(f)->SetSortType(IField::NotSorted);
        t.ds->SetSortRule(f, nullptr);
    }
}

void SortBy(benchmark::State &state, Table &t) {
    for (auto _ : state) {
        state.PauseTiming();
        t.Restore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(t.ds->Sort());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_SortInt(benchmark::State &state) {
    Table &t = Shared();
    ClearKeys(t);
    t.Key(0, 0);
    SortBy(state, t);
}

void BM_SortDouble(benchmark::State &state) {
    Table &t = Shared();
    ClearKeys(t);
    t.Key(1, 0);
    SortBy(state, t);
}

void BM_SortString(benchmark::State &state) {
    Table &t = Shared();
    ClearKeys(t);
    t.Key(2, 0);
    SortBy(state, t);
}

void BM_SortTwoKeys(benchmark::State &state) {
    Table &t = Shared();
    ClearKeys(t);
    t.Key(3, 0);
    t.Key(1, 1);
    SortBy(state, t);
}

// A host that reads its values through the data set at the indices it gets.
class HostRule : public ISortRule {
  public:
    explicit HostRule(IMemDataSet &ds) : m_ds(ds) {}
    int Compare(int field, int a, int b, bool) override {
        const double va = m_ds.GetNumeric(static_cast<unsigned>(field), static_cast<unsigned>(a));
        const double vb = m_ds.GetNumeric(static_cast<unsigned>(field), static_cast<unsigned>(b));
        return va < vb ? -1 : vb < va ? 1 : 0;
    }

  private:
    IMemDataSet &m_ds;
};

void BM_SortRule(benchmark::State &state) {
    Table &t = Shared();
    ClearKeys(t);
    t.Key(0, 0);
    HostRule rule(*t.ds);
    t.ds->SetSortRule(0, &rule);
    SortBy(state, t);
    t.ds->SetSortRule(0, nullptr);
}

// Every key equal: the rule answers 0 and a raw key decides nothing either.
void BM_SortEqualKeysRule(benchmark::State &state) {
    static Table equal = [] {
        Table e;
        e.ds->AddField(u"same"_w, IField::Int);
        auto &storage = e.Mem().GetDataStorage();
        storage.Reserve(kRecords);
        for (unsigned r = 0; r < kRecords; ++r) cells::Store(storage.GetAddress(storage.Append()), 7);
        e.shuffled = storage.Records();
        return e;
    }();
    equal.Key(0, 0);
    HostRule rule(*equal.ds);
    equal.ds->SetSortRule(0, &rule);
    SortBy(state, equal);
}

void Search(benchmark::State &state, bool nearest) {
    Table &t = Shared();
    ClearKeys(t);
    t.Key(0, 0);
    t.Restore();
    t.ds->Sort();
    CMemDataSet &mem = t.Mem();
    IDataSet::Cursor c = t.ds->CreateCursor();
    std::mt19937 random(5);
    std::vector<int> probes;
    for (int i = 0; i < 1024; ++i) {
        probes.push_back(nearest ? static_cast<int>(random()) : t.ints[random() % kRecords]);
    }
    std::size_t next = 0;
    for (auto _ : state) {
        mem.ClearFindFields();
        mem.AddFindField(0, CQueltVariant(probes[next++ % probes.size()]), false, false);
        benchmark::DoNotOptimize(nearest ? mem.FindNearest(c) : mem.FindKey(c));
    }
}

void BM_FindKey(benchmark::State &state) { Search(state, false); }
void BM_FindNearest(benchmark::State &state) { Search(state, true); }

template <class V>
void Baseline(benchmark::State &state, const std::vector<V> &values) {
    std::vector<V> work(values.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(values.begin(), values.end(), work.begin());
        state.ResumeTiming();
        std::sort(work.begin(), work.end());
        benchmark::DoNotOptimize(work.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_StdSortInt(benchmark::State &state) { Baseline(state, Shared().ints); }
void BM_StdSortDouble(benchmark::State &state) { Baseline(state, Shared().doubles); }

BENCHMARK(BM_StdSortInt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortInt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSortDouble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDouble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortTwoKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortEqualKeysRule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindKey);
BENCHMARK(BM_FindNearest);

}  // namespace
}  // namespace quelt
