// Loading the records: the fast writer and cursors against push_back of
// structs and SQLite, and the resident memory each container needs.

#include "common/bench_common.h"

#ifdef QUELT_HAVE_SQLITE
#include "common/sqlite_peer.h"
#endif

namespace quelt::bench {
namespace {

// Destroying the container is not part of the measured work.
template <class T>
void Discard(benchmark::State &state, T &container) {
    state.PauseTiming();
    container = T();
    state.ResumeTiming();
}

void FastWriterOurs(benchmark::State &state) {
    WideTexts();
    for (auto _ : state) {
        DataSetPtr ds = LoadedTable();
        benchmark::DoNotOptimize(ds->GetRecordCount());
        Discard(state, ds);
    }
}

std::vector<Record> PushBack(const std::vector<Record> &records) {
    std::vector<Record> loaded;
    loaded.reserve(records.size());
    for (const Record &r : records) loaded.push_back({r.key, r.value, r.text});
    return loaded;
}

void StructBaseline(benchmark::State &state) {
    const std::vector<Record> &records = Records();
    for (auto _ : state) {
        std::vector<Record> loaded = PushBack(records);
        benchmark::DoNotOptimize(loaded.data());
        Discard(state, loaded);
    }
}

DataSetPtr CursorLoad() {
    const std::vector<Record> &records = Records();
    const std::vector<wstring> &texts = WideTexts();
    DataSetPtr ds = MakeTable();
    IDataSet::Cursor cursor = ds->CreateCursor();
    for (std::size_t r = 0; r < records.size(); ++r) {
        ds->Append(cursor);
        cursor[0] = records[r].key;
        cursor[1] = records[r].value;
        cursor[2] = texts[r].c_str();
    }
    return ds;
}

void CursorOurs(benchmark::State &state) {
    WideTexts();
    for (auto _ : state) {
        DataSetPtr ds = CursorLoad();
        benchmark::DoNotOptimize(ds->GetRecordCount());
        Discard(state, ds);
    }
}

void MemoryOurs(benchmark::State &state) {
    double perRecord = 0;
    for (auto _ : state) perRecord = ResidentPerRecord([](auto &, auto &) { return LoadedTable(); });
    ReportResident(state, perRecord);
}

void MemoryBaseline(benchmark::State &state) {
    double perRecord = 0;
    for (auto _ : state)
        perRecord = ResidentPerRecord([](auto &records, auto &) { return PushBack(records); });
    ReportResident(state, perRecord);
}

#ifdef QUELT_HAVE_SQLITE
void SqliteInsert(benchmark::State &state) {
    const std::vector<Record> &records = Records();
    for (auto _ : state) {
        Db db = OpenEmpty();
        Insert(db.get(), records);
        Discard(state, db);
    }
}

void MemorySqlite(benchmark::State &state) {
    double perRecord = 0;
    for (auto _ : state) perRecord = ResidentPerRecord([](auto &, auto &) { return OpenLoaded(); });
    ReportResident(state, perRecord);
}
#endif

// The memory probes run first: their children fork from a parent whose heap
// holds no freed pages that a load could reuse without growing.
void Register() {
    auto memory = [](const char *name, void (*fn)(benchmark::State &)) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);
    };
    memory("memory_per_record/ours", MemoryOurs);
    memory("memory_per_record/baseline", MemoryBaseline);
#ifdef QUELT_HAVE_SQLITE
    memory("memory_per_record/peer_sqlite", MemorySqlite);
#endif
    auto timed = [](const char *name, void (*fn)(benchmark::State &)) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Iterations(Quick() ? 5 : 2);
    };
    timed("load_fastwriter/ours", FastWriterOurs);
    timed("load_fastwriter/baseline", StructBaseline);
#ifdef QUELT_HAVE_SQLITE
    benchmark::RegisterBenchmark("load_fastwriter/peer_sqlite", SqliteInsert)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
#endif
    timed("load_cursor/ours", CursorOurs);
    timed("load_cursor/baseline", StructBaseline);
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
