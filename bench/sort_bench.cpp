// Sorting the records by one and two keys, then looking keys up: Sort() and
// FindKey against std::sort and std::lower_bound over structs and SQLite indexes.

#include <algorithm>
#include <cstdio>

#include "common/bench_common.h"
#include "quelt/dataset/variant.h"

#ifdef QUELT_HAVE_SQLITE
#include "common/sqlite_peer.h"
#endif

namespace quelt::bench {
namespace {

enum class Keys { Int, TextNoCase, IntDescText };

// The loaded data set and its records in load order, restored before each sort.
struct Table {
    DataSetPtr ds = LoadedTable();
    std::vector<unsigned char *> loadOrder = Storage().Records();

    CMemDataSet::CVecDataStorage &Storage() { return dynamic_cast<CMemDataSet &>(*ds).GetDataStorage(); }
    void Restore() { std::copy(loadOrder.begin(), loadOrder.end(), Storage().Records().begin()); }
    void Key(int field, int index, IField::SortType type, bool caseSensitive) {
        const IField *f = ds->GetField(field);
        f->SetSortType(type);
        f->SetSortIndex(index);
        f->SetIsSortCaseSensitive(caseSensitive);
    }
    void SetKeys(Keys keys) {
        for (int f = 0; f < 3; ++f) ds->GetField(f)->SetSortType(IField::NotSorted);
        switch (keys) {
            case Keys::Int:
                Key(0, 0, IField::Ascending, true);
                break;
            case Keys::TextNoCase:
                Key(2, 0, IField::Ascending, false);
                break;
            case Keys::IntDescText:
                Key(0, 0, IField::Descending, true);
                Key(2, 1, IField::Ascending, true);
                break;
        }
    }
};

Table &Shared() {
    static Table table;
    return table;
}

void SortOurs(benchmark::State &state, Keys keys) {
    Table &t = Shared();
    t.SetKeys(keys);
    for (auto _ : state) {
        state.PauseTiming();
        t.Restore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(t.ds->Sort());
    }
}

int FoldedCompare(const std::string &a, const std::string &b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(a[i]) | (a[i] >= 'A' && a[i] <= 'Z' ? 0x20 : 0);
        const unsigned char cb = static_cast<unsigned char>(b[i]) | (b[i] >= 'A' && b[i] <= 'Z' ? 0x20 : 0);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool Before(Keys keys, const Record &a, const Record &b) {
    switch (keys) {
        case Keys::Int:
            return a.key < b.key;
        case Keys::TextNoCase:
            return FoldedCompare(a.text, b.text) < 0;
        case Keys::IntDescText:
            return a.key != b.key ? a.key > b.key : a.text < b.text;
    }
    return false;
}

void SortBaseline(benchmark::State &state, Keys keys) {
    std::vector<Record> work;
    for (auto _ : state) {
        state.PauseTiming();
        work = Records();
        state.ResumeTiming();
        std::sort(work.begin(), work.end(),
                  [keys](const Record &a, const Record &b) { return Before(keys, a, b); });
        benchmark::DoNotOptimize(work.data());
    }
}

// Text keys of ten lowercase letters drawn from a set of `distinct` values,
// each value taken about equally often, or dates of one year sharing their
// first five characters when distinct is 0.
std::vector<std::string> FewDistinctTexts(unsigned distinct) {
    const unsigned count = RecordCount();
    std::mt19937 random(kSeed + 2 + distinct);
    std::vector<std::string> values;
    if (distinct == 0) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 28; ++day) {
                char date[16];
                std::snprintf(date, sizeof date, "2024-%02d-%02d", month, day);
                values.emplace_back(date);
            }
        }
    } else {
        std::uniform_int_distribution<int> letter(0, 25);
        while (values.size() < std::min(distinct, count)) {
            std::string text(10, ' ');
            for (char &ch : text) ch = static_cast<char>('a' + letter(random));
            values.push_back(std::move(text));
        }
    }
    std::vector<std::string> texts(count);
    for (unsigned r = 0; r < count; ++r) texts[r] = values[r % values.size()];
    std::shuffle(texts.begin(), texts.end(), random);
    return texts;
}

void SortFewOurs(benchmark::State &state, unsigned distinct) {
    const std::vector<std::string> texts = FewDistinctTexts(distinct);
    DataSetPtr ds(CreateMemDataSet());
    ds->AddField(u"text"_w, IField::String);
    IFastWriter *writer = ds->CreateFastWriter();
    for (const std::string &text : texts) {
        writer->AddRecord();
        writer->SetField(0, Utf8ToWide(text).c_str());
    }
    ds->DeleteFastWriter(writer);
    auto &storage = dynamic_cast<CMemDataSet &>(*ds).GetDataStorage();
    const std::vector<unsigned char *> loadOrder = storage.Records();
    const IField *key = ds->GetField(0);
    key->SetSortType(IField::Ascending);
    key->SetSortIndex(0);
    key->SetIsSortCaseSensitive(false);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(loadOrder.begin(), loadOrder.end(), storage.Records().begin());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ds->Sort());
    }
}

void SortFewBaseline(benchmark::State &state, unsigned distinct) {
    const std::vector<std::string> texts = FewDistinctTexts(distinct);
    std::vector<std::string> work;
    for (auto _ : state) {
        state.PauseTiming();
        work = texts;
        state.ResumeTiming();
        std::stable_sort(work.begin(), work.end(),
                         [](const std::string &a, const std::string &b) { return FoldedCompare(a, b) < 0; });
        benchmark::DoNotOptimize(work.data());
    }
}

// The resident growth of a load followed by a sort by the Int key, which
// leaves the search layout beside the records; less memory_per_record's, it
// is what the layout costs per record.
void MemorySortedOurs(benchmark::State &state) {
    double perRecord = 0;
    for (auto _ : state) {
        perRecord = ResidentPerRecord([](auto &, auto &) {
            DataSetPtr ds = LoadedTable();
            const IField *key = ds->GetField(0);
            key->SetSortType(IField::Ascending);
            key->SetSortIndex(0);
            ds->Sort();
            return ds;
        });
    }
    ReportResident(state, perRecord);
}

void MemorySortedBaseline(benchmark::State &state) {
    double perRecord = 0;
    for (auto _ : state) {
        perRecord = ResidentPerRecord([](auto &records, auto &) {
            std::vector<Record> sorted = records;
            std::sort(sorted.begin(), sorted.end(),
                      [](const Record &a, const Record &b) { return a.key < b.key; });
            return sorted;
        });
    }
    ReportResident(state, perRecord);
}

// Keys of random records, so that every lookup finds one.
std::vector<int> Probes() {
    const std::vector<Record> &records = Records();
    std::mt19937 random(kSeed + 1);
    std::vector<int> probes(Scaled(100000));
    for (int &p : probes) p = records[random() % records.size()].key;
    return probes;
}

void FindOurs(benchmark::State &state) {
    Table &t = Shared();
    t.SetKeys(Keys::Int);
    t.Restore();
    t.ds->Sort();
    auto &mem = dynamic_cast<CMemDataSet &>(*t.ds);
    IDataSet::Cursor cursor = t.ds->CreateCursor();
    const std::vector<int> probes = Probes();
    for (auto _ : state) {
        double sum = 0;
        for (int probe : probes) {
            mem.ClearFindFields();
            mem.AddFindField(0, CQueltVariant(probe), false, true);
            if (mem.FindKey(cursor)) sum += static_cast<double>(cursor[1]);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void FindBaseline(benchmark::State &state) {
    std::vector<Record> sorted = Records();
    std::sort(sorted.begin(), sorted.end(), [](const Record &a, const Record &b) { return a.key < b.key; });
    const std::vector<int> probes = Probes();
    for (auto _ : state) {
        double sum = 0;
        for (int probe : probes) {
            auto found = std::lower_bound(sorted.begin(), sorted.end(), probe,
                                          [](const Record &r, int key) { return r.key < key; });
            if (found != sorted.end() && found->key == probe) sum += found->value;
        }
        benchmark::DoNotOptimize(sum);
    }
}

#ifdef QUELT_HAVE_SQLITE
sqlite3 *SharedDb() {
    static Db db = OpenLoaded();
    return db.get();
}

const char *IndexSql(Keys keys) {
    switch (keys) {
        case Keys::Int:
            return "CREATE INDEX i ON t(k)";
        case Keys::TextNoCase:
            return "CREATE INDEX i ON t(s COLLATE NOCASE)";
        case Keys::IntDescText:
            return "CREATE INDEX i ON t(k DESC, s)";
    }
    return "";
}

void SortSqlite(benchmark::State &state, Keys keys) {
    sqlite3 *db = SharedDb();
    for (auto _ : state) {
        state.PauseTiming();
        Exec(db, "DROP INDEX IF EXISTS i");
        state.ResumeTiming();
        Exec(db, IndexSql(keys));
    }
}

void FindSqlite(benchmark::State &state) {
    sqlite3 *db = SharedDb();
    Exec(db, "DROP INDEX IF EXISTS i");
    Exec(db, IndexSql(Keys::Int));
    Stmt select = Prepare(db, "SELECT v FROM t WHERE k = ?");
    const std::vector<int> probes = Probes();
    for (auto _ : state) {
        double sum = 0;
        for (int probe : probes) {
            sqlite3_bind_int(select.get(), 1, probe);
            if (sqlite3_step(select.get()) == SQLITE_ROW) sum += sqlite3_column_double(select.get(), 0);
            sqlite3_reset(select.get());
        }
        benchmark::DoNotOptimize(sum);
    }
}
#endif

// The memory probes run first: their children fork from a parent whose heap
// holds no freed pages that a load could reuse without growing.
void Register() {
    benchmark::RegisterBenchmark("memory_sorted_per_record/ours", MemorySortedOurs)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(1);
    benchmark::RegisterBenchmark("memory_sorted_per_record/baseline", MemorySortedBaseline)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(1);
    const int iterations = Quick() ? 5 : 1;
    const struct {
        const char *name;
        Keys keys;
    } sorts[] = {{"sort_int", Keys::Int},
                 {"sort_text_nocase", Keys::TextNoCase},
                 {"sort_int_desc_text", Keys::IntDescText}};
    for (const auto &s : sorts) {
        const Keys keys = s.keys;
        const std::string name = s.name;
        benchmark::RegisterBenchmark((name + "/ours").c_str(), SortOurs, keys)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
        benchmark::RegisterBenchmark((name + "/baseline").c_str(), SortBaseline, keys)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
#ifdef QUELT_HAVE_SQLITE
        benchmark::RegisterBenchmark((name + "/peer_sqlite").c_str(), SortSqlite, keys)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
#endif
    }
    const struct {
        const char *name;
        unsigned distinct;
    } few[] = {{"sort_text_distinct_2", 2},
               {"sort_text_distinct_30", 30},
               {"sort_text_distinct_900", 900},
               {"sort_text_distinct_30000", 30000},
               {"sort_text_distinct_1000000", 1000000},
               {"sort_text_dates", 0}};
    for (const auto &f : few) {
        const std::string name = f.name;
        benchmark::RegisterBenchmark((name + "/ours").c_str(), SortFewOurs, f.distinct)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
        benchmark::RegisterBenchmark((name + "/baseline").c_str(), SortFewBaseline, f.distinct)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
    }
    benchmark::RegisterBenchmark("find_key/ours", FindOurs)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
    benchmark::RegisterBenchmark("find_key/baseline", FindBaseline)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
#ifdef QUELT_HAVE_SQLITE
    benchmark::RegisterBenchmark("find_key/peer_sqlite", FindSqlite)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
#endif
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
