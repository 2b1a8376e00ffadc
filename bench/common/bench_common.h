#pragma once

// What every benchmark program shares: the fixed records, the quick mode, the
// naming of results and the resident-memory probe.
//
// Result names are "<workload>/<side>", side being "ours", "baseline" or
// "peer_<name>"; bench_table pairs them into one row per workload.

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "quelt/core/wstring.h"
#include "quelt/dataset/fastwriter.h"
#include "quelt/dataset/idataset.h"
#include "quelt/dataset/memdataset.h"

namespace quelt::bench {

// The hand-written program's record.
struct Record {
    int key;
    double value;
    std::string text;
};

constexpr unsigned kFullRecords = 1000000;
constexpr unsigned kQuickRecords = 10000;
constexpr unsigned kSeed = 20240601;

// QUELT_BENCH_QUICK=1 scales every workload down a hundredfold, so that CI can
// check that the table still gets made.
inline bool Quick() {
    const char *quick = std::getenv("QUELT_BENCH_QUICK");
    return quick && *quick && std::strcmp(quick, "0") != 0;
}

inline unsigned RecordCount() { return Quick() ? kQuickRecords : kFullRecords; }

// A count given for the full run, scaled like the records.
inline unsigned Scaled(unsigned full) {
    const unsigned scaled =
        static_cast<unsigned>(static_cast<unsigned long long>(full) * RecordCount() / kFullRecords);
    return scaled ? scaled : 1;
}

// Keys are drawn from [0, count) so that some repeat; texts are 16 ASCII letters of both cases.
inline const std::vector<Record> &Records() {
    static const std::vector<Record> records = [] {
        const unsigned count = RecordCount();
        std::mt19937 random(kSeed);
        std::uniform_int_distribution<int> key(0, static_cast<int>(count) - 1);
        std::uniform_real_distribution<double> value(-1e6, 1e6);
        std::uniform_int_distribution<int> letter(0, 51);
        std::vector<Record> made;
        made.reserve(count);
        for (unsigned r = 0; r < count; ++r) {
            std::string text(16, ' ');
            for (char &ch : text) {
                const int l = letter(random);
                ch = static_cast<char>(l < 26 ? 'a' + l : 'A' + l - 26);
            }
            const int k = key(random);
            made.push_back({k, value(random), std::move(text)});
        }
        return made;
    }();
    return records;
}

// The texts as the library stores them. Benchmarks call Records() or
// WideTexts() before their timed loop, so that making them is not timed.
inline const std::vector<wstring> &WideTexts() {
    static const std::vector<wstring> texts = [] {
        std::vector<wstring> made;
        made.reserve(Records().size());
        for (const Record &r : Records()) made.push_back(Utf8ToWide(r.text));
        return made;
    }();
    return texts;
}

struct DataSetDeleter {
    void operator()(IMemDataSet *p) const { DeleteMemDataSet(p); }
};
using DataSetPtr = std::unique_ptr<IMemDataSet, DataSetDeleter>;

// An empty memory data set with the fields Int (0), Double (1), String (2).
inline DataSetPtr MakeTable() {
    DataSetPtr ds(CreateMemDataSet());
    ds->AddField(u"key"_w, IField::Int);
    ds->AddField(u"value"_w, IField::Double);
    ds->AddField(u"text"_w, IField::String);
    return ds;
}

// The records loaded through the fast writer.
inline void FastLoad(IMemDataSet &ds) {
    const std::vector<Record> &records = Records();
    const std::vector<wstring> &texts = WideTexts();
    IFastWriter *writer = ds.CreateFastWriter();
    for (std::size_t r = 0; r < records.size(); ++r) {
        writer->AddRecord();
        writer->SetField(0, records[r].key);
        writer->SetField(1, records[r].value);
        writer->SetField(2, texts[r].c_str());
    }
    ds.DeleteFastWriter(writer);
}

inline DataSetPtr LoadedTable() {
    DataSetPtr ds = MakeTable();
    FastLoad(*ds);
    return ds;
}

inline long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    std::FILE *statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}

// Runs load in a child process and returns the growth of its resident set per
// record, taken while the result of load still holds the container. The child
// inherits the heap, so call it before this process frees memory that the load
// could reuse without growing. The records to load are made before the first
// reading.
template <class Load>
double ResidentPerRecord(Load load) {
    int channel[2];
    if (pipe(channel) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::vector<Record> &records = Records();
        const std::vector<wstring> &texts = WideTexts();
        const long before = ResidentBytes();
        const auto kept = load(records, texts);
        benchmark::DoNotOptimize(kept);
        const double perRecord =
            static_cast<double>(ResidentBytes() - before) / static_cast<double>(records.size());
        const ssize_t written = write(channel[1], &perRecord, sizeof perRecord);
        _exit(written == sizeof perRecord ? 0 : 1);
    }
    close(channel[1]);
    double perRecord = 0;
    if (child < 0 || read(channel[0], &perRecord, sizeof perRecord) != sizeof perRecord) perRecord = 0;
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return perRecord;
}

inline void ReportResident(benchmark::State &state, double perRecord) {
    state.counters["bytes_per_record"] = perRecord;
}

}  // namespace quelt::bench
