// A virtual data set over a random source holding the same records: a scan
// and the library's sort against the memory data set (the baseline column).

#include <algorithm>

#include "common/bench_common.h"
#include "quelt/dataset/providers.h"
#include "quelt/dataset/variant.h"

namespace quelt::bench {
namespace {

// The host's records served by value, as a host with its own storage would.
class Source : public IMetaData, public IDataRandom {
  public:
    int GetFieldCount() override { return 3; }
    IField::Types GetFieldType(int field) override {
        static const IField::Types types[] = {IField::Int, IField::Double, IField::String};
        return types[field];
    }
    wstring GetFieldName(int field) override {
        static const wstring names[] = {u"key"_w, u"value"_w, u"text"_w};
        return names[field];
    }
    unsigned GetRecordCount() override { return static_cast<unsigned>(m_records.size()); }
    CQueltVariant GetValue(unsigned record, unsigned field) override {
        switch (field) {
            case 0:
                return CQueltVariant(m_records[record].key);
            case 1:
                return CQueltVariant(m_records[record].value);
            default:
                return CQueltVariant(m_texts[record]);
        }
    }

  private:
    const std::vector<Record> &m_records = Records();
    const std::vector<wstring> &m_texts = WideTexts();
};

struct Virtual {
    Source source;
    DataSetPtr ds{CreateVirtDataSet()};
    Virtual() {
        ds->SetMetaData(&source);
        ds->SetDataRandom(&source);
    }
};

IMemDataSet &SharedVirtual() {
    static Virtual v;
    return *v.ds;
}

IMemDataSet &SharedMemory() {
    static DataSetPtr ds = LoadedTable();
    return *ds;
}

void Scan(benchmark::State &state, IMemDataSet &ds) {
    const unsigned count = ds.GetRecordCount();
    for (auto _ : state) {
        double sum = 0;
        IDataSet::Cursor cursor = ds.CreateCursor();
        for (unsigned r = 0; r < count; ++r, ++cursor) sum += static_cast<double>(cursor[1]);
        benchmark::DoNotOptimize(sum);
    }
}

void KeyInt(IMemDataSet &ds) {
    ds.GetField(0)->SetSortType(IField::Ascending);
    ds.GetField(0)->SetSortIndex(0);
}

void ScanVirtual(benchmark::State &state) { Scan(state, SharedVirtual()); }
void ScanMemory(benchmark::State &state) { Scan(state, SharedMemory()); }
// The index map is built afresh from the source order by every sort.
void SortVirtual(benchmark::State &state) {
    IMemDataSet &ds = SharedVirtual();
    KeyInt(ds);
    for (auto _ : state) benchmark::DoNotOptimize(ds.Sort());
}

void SortMemory(benchmark::State &state) {
    IMemDataSet &ds = SharedMemory();
    auto &storage = dynamic_cast<CMemDataSet &>(ds).GetDataStorage();
    static const std::vector<unsigned char *> loadOrder = storage.Records();
    KeyInt(ds);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(loadOrder.begin(), loadOrder.end(), storage.Records().begin());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ds.Sort());
    }
}

void Register() {
    const int iterations = Quick() ? 5 : 1;
    auto add = [iterations](const char *name, void (*fn)(benchmark::State &)) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Iterations(iterations);
    };
    add("virtual_scan/ours", ScanVirtual);
    add("virtual_scan/baseline", ScanMemory);
    add("virtual_sort_int/ours", SortVirtual);
    add("virtual_sort_int/baseline", SortMemory);
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
