// A full scan summing the Double (and the Int): through a cursor, a column and
// a typed column view against the loop over structs and SQLite stepping
// through a SELECT.

#include <numeric>

#include "common/bench_common.h"
#include "quelt/dataset/columnview.h"

#ifdef QUELT_HAVE_SQLITE
#include "common/sqlite_peer.h"
#endif

namespace quelt::bench {
namespace {

IMemDataSet &Shared() {
    static DataSetPtr ds = LoadedTable();
    return *ds;
}

void CursorOurs(benchmark::State &state) {
    IMemDataSet &ds = Shared();
    const unsigned count = ds.GetRecordCount();
    for (auto _ : state) {
        double sum = 0;
        IDataSet::Cursor cursor = ds.CreateCursor();
        for (unsigned r = 0; r < count; ++r, ++cursor) sum += static_cast<double>(cursor[1]);
        benchmark::DoNotOptimize(sum);
    }
}

void ColumnOurs(benchmark::State &state) {
    IMemDataSet &ds = Shared();
    const int count = static_cast<int>(ds.GetRecordCount());
    for (auto _ : state) {
        double sum = 0;
        IDataSet::Column column = ds.CreateColumn(1);
        for (int r = 0; r < count; ++r) sum += static_cast<double>(column[r]);
        benchmark::DoNotOptimize(sum);
    }
}

// Int sums are 64-bit so that a million keys cannot overflow them.
template <class T, class Sum>
void ViewOurs(benchmark::State &state, int field) {
    CMemDataSet &ds = dynamic_cast<CMemDataSet &>(Shared());
    for (auto _ : state) {
        const ColumnView<T> view(ds, field);
        const Sum sum = std::accumulate(view.begin(), view.end(), Sum());
        benchmark::DoNotOptimize(sum);
    }
}

void StructBaseline(benchmark::State &state) {
    static const std::vector<Record> records = Records();
    for (auto _ : state) {
        double sum = 0;
        for (const Record &r : records) sum += r.value;
        benchmark::DoNotOptimize(sum);
    }
}

void StructIntBaseline(benchmark::State &state) {
    static const std::vector<Record> records = Records();
    for (auto _ : state) {
        int64 sum = 0;
        for (const Record &r : records) sum += r.key;
        benchmark::DoNotOptimize(sum);
    }
}

#ifdef QUELT_HAVE_SQLITE
void SelectSqlite(benchmark::State &state) {
    static Db db = OpenLoaded();
    Stmt select = Prepare(db.get(), "SELECT v FROM t");
    for (auto _ : state) {
        double sum = 0;
        while (sqlite3_step(select.get()) == SQLITE_ROW) sum += sqlite3_column_double(select.get(), 0);
        sqlite3_reset(select.get());
        benchmark::DoNotOptimize(sum);
    }
}
#endif

void Register() {
    const int iterations = Quick() ? 20 : 5;
    auto add = [iterations](const char *name, void (*fn)(benchmark::State &)) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Iterations(iterations);
    };
    add("scan_cursor/ours", CursorOurs);
    add("scan_cursor/baseline", StructBaseline);
    add("scan_column/ours", ColumnOurs);
    add("scan_column/baseline", StructBaseline);
    benchmark::RegisterBenchmark("scan_view_int/ours", ViewOurs<int, int64>, 0)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
    add("scan_view_int/baseline", StructIntBaseline);
    benchmark::RegisterBenchmark("scan_view_double/ours", ViewOurs<double, double>, 1)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
    add("scan_view_double/baseline", StructBaseline);
#ifdef QUELT_HAVE_SQLITE
    add("scan_cursor/peer_sqlite", SelectSqlite);
    add("scan_column/peer_sqlite", SelectSqlite);
#endif
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
