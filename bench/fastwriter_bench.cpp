// Filling a memory data set with a million records of an Int, a Double and a
// String field: through the fast writer, and through Append + SetFieldValue.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "quelt/dataset/memdataset.h"

namespace {

using namespace quelt;

constexpr int kRecords = 1000000;

struct DataSetDeleter {
    void operator()(IMemDataSet *p) const { DeleteMemDataSet(p); }
};
using DataSetPtr = std::unique_ptr<IMemDataSet, DataSetDeleter>;

DataSetPtr MakeTable() {
    DataSetPtr ds(CreateMemDataSet());
    ds->AddField(u"id"_w, IField::Int);
    ds->AddField(u"value"_w, IField::Double);
    ds->AddField(u"name"_w, IField::String);
    return ds;
}

const std::vector<wstring> &Names() {
    static const std::vector<wstring> names = [] {
        std::vector<wstring> made;
        for (int i = 0; i < 16; ++i) made.push_back(Utf8ToWide("customer name " + std::to_string(i)));
        return made;
    }();
    return names;
}

// Destroying the table is not part of the measured work.
void Discard(benchmark::State &state, DataSetPtr &ds) {
    state.PauseTiming();
    ds.reset();
    state.ResumeTiming();
}

void BM_FastWriter(benchmark::State &state) {
    const std::vector<wstring> &names = Names();
    for (auto _ : state) {
        DataSetPtr ds = MakeTable();
        IFastWriter *writer = ds->CreateFastWriter();
        for (int i = 0; i < kRecords; ++i) {
            writer->AddRecord();
            writer->SetField(0, i);
            writer->SetField(1, i * 0.5);
            writer->SetField(2, names[static_cast<unsigned>(i) & 15].c_str());
        }
        ds->DeleteFastWriter(writer);
        benchmark::DoNotOptimize(ds->GetRecordCount());
        Discard(state, ds);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_FastWriter)->Unit(benchmark::kMillisecond);

void BM_AppendAndSetFieldValue(benchmark::State &state) {
    const std::vector<wstring> &names = Names();
    for (auto _ : state) {
        DataSetPtr ds = MakeTable();
        {
            IDataSet::Cursor cursor = ds->CreateCursor();
            for (int i = 0; i < kRecords; ++i) {
                ds->Append(cursor);
                auto record = static_cast<unsigned>(i);
                ds->SetFieldValue(0, record, i);
                ds->SetFieldValue(1, record, i * 0.5);
                ds->SetFieldValue(2, record, names[static_cast<unsigned>(i) & 15].c_str());
            }
        }
        benchmark::DoNotOptimize(ds->GetRecordCount());
        Discard(state, ds);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_AppendAndSetFieldValue)->Unit(benchmark::kMillisecond);

}  // namespace
