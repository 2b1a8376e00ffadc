// Reading data-set streams of growing size: records of every common cell
// kind up to 128 MB, and headers of up to 65536 fields. Both must take time
// in proportion to the bytes read.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "common/bench_common.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {
namespace {

struct Deleter {
    void operator()(IMemDataSet *p) const { DeleteMemDataSet(p); }
};

// One record line: Int, Int64, Double, String, DateTime.
void AppendRecord(std::string &text, int r) {
    text += std::to_string(r * 7919LL % 1000003);
    text += "\t0 ";
    text += std::to_string(r);
    text += "\t";
    text += std::to_string(r / 7.0);
    const std::string word = "record " + std::to_string(r) + " \xc3\xa9t\xc3\xa9";
    text += "\t" + std::to_string(word.size()) + " " + word + "\t";
    text += std::to_string(730120 + r % 100000) + ".25\t\n";
}

// A stream of about megabytes MB, made once per size.
const std::string &Records(long megabytes) {
    static std::map<long, std::string> made;
    std::string &text = made[megabytes];
    if (!text.empty()) return text;
    const std::size_t target = static_cast<std::size_t>(megabytes) << 20;
    std::string body;
    body.reserve(target + 256);
    int count = 0;
    while (body.size() < target) AppendRecord(body, count++);
    text = "5\t" + std::to_string(count) + "\n3\t4\t6\t7\t8\t\n" + body;
    return text;
}

// A header of fields Bool fields and one record.
const std::string &Fields(long fields) {
    static std::map<long, std::string> made;
    std::string &text = made[fields];
    if (!text.empty()) return text;
    std::string types, cells;
    for (long i = 0; i < fields; ++i) types += "1\t", cells += i % 2 ? "1\t" : "0\t";
    text = std::to_string(fields) + "\t1\n" + types + "\n" + cells + "\n";
    return text;
}

void Read(benchmark::State &state, const std::string &text) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<IMemDataSet, Deleter> ds(CreateMemDataSet());
        std::istringstream is(text);
        state.ResumeTiming();
        is >> *ds;
        if (is.fail()) state.SkipWithError("the stream did not read");
        state.counters["records"] = ds->GetRecordCount();
        state.PauseTiming();
        ds.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.SetComplexityN(static_cast<int64_t>(text.size()));
}

void stream_read_mb(benchmark::State &state) { Read(state, Records(state.range(0))); }
BENCHMARK(stream_read_mb)
    ->RangeMultiplier(4)
    ->Range(1, bench::Quick() ? 4 : 128)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void stream_read_fields(benchmark::State &state) { Read(state, Fields(state.range(0))); }
BENCHMARK(stream_read_fields)
    ->RangeMultiplier(4)
    ->Range(1024, bench::Quick() ? 4096 : 65536)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace quelt
