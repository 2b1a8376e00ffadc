// The main job's program, step by step, on 100,000 generated hourly readings
// (1,000 in quick mode): reading the CSV into a memory data set, sorting it,
// drawing the report's window (grid, chart and overview) and printing the grid's first
// 50 pages to PDF. report_whole runs the four in turn and reports each step's
// share of its time as counters.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/bench_common.h"
#include "quelt/cairo/printer.h"
#include "quelt/cairo/system.h"
#include "quelt/quelt.h"
#include "steps.h"
#include "table.h"
#include "view.h"

namespace quelt::bench {
namespace {

constexpr int kPrintedPages = 50;
const std::vector<wstring> kSeries = {u"inside"_w, u"outside"_w};

std::filesystem::path WorkDir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() / "quelt_report_bench";
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

// The CSV, written once.
const std::string &Csv() {
    static const std::string path = [] {
        const std::string csv = (WorkDir() / "readings.csv").string();
        table::Table sample;
        table::GenerateReadings(Quick() ? 1000 : 100000, sample);
        table::SaveCsv(csv, sample);
        return csv;
    }();
    return path;
}

// The Cairo system and its PDF printer, installed for the program's lifetime.
cairo::CairoPdfPrinter &Printer() {
    static cairo::CairoPdfPrinter *printer = [] {
        auto *system = new cairo::CairoSystem(96);
        SetCurrentSystem(system);
        auto *pdf = new cairo::CairoPdfPrinter();
        system->SetPrinter(pdf);
        return pdf;
    }();
    return *printer;
}

void Load(table::Table &table) { table::LoadCsv(Csv(), false, table); }

// The readings come in time order; the hottest hours first makes the sort work.
void Sort(table::Table &table) {
    table::PrepareSort(table, {table::SortKey{"outside", true}, table::SortKey{"time", false}});
    table.Data().Sort();
}

// The demo's view: the grid on 1 March, the chart over the 30 days from there.
void Draw(report::ReportView &view) {
    view.Grid().SetCurrentRecord(1440);
    view.Chart().SetVisibleRange(tdatetime(1, 3, 2024).GetDateTime(), tdatetime(31, 3, 2024).GetDateTime());
    view.Paint();
    view.FitGrid();
    view.Paint();
}

// The demo's window over the table.
report::ReportView View(table::Table &table) {
    return report::ReportView(table.Data(), 1200, 640, 0.45, u"time"_w, kSeries);
}

// The Cairo printer and the table loaded and sorted, outside the timing.
void Prepare(table::Table &table) {
    Printer();
    Load(table);
    Sort(table);
}

void Print(report::ReportView &view) {
    Printer().SetOutputPath((WorkDir() / "report.pdf").string());
    view.Grid().SetMaxPrintPages(kPrintedPages);
    view.Grid().Print();
}

// The seconds since the lap began; the next lap begins now.
double Lap(std::chrono::steady_clock::time_point &began) {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - began).count();
    began = now;
    return seconds;
}

void BM_ReportLoad(benchmark::State &state) {
    Csv();
    for (auto _ : state) {
        table::Table table;
        Load(table);
        benchmark::DoNotOptimize(table.RowCount());
    }
}
BENCHMARK(BM_ReportLoad)->Name("report_load/ours")->Unit(benchmark::kMillisecond);

void BM_ReportSort(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        table::Table table;
        Load(table);
        state.ResumeTiming();
        Sort(table);
    }
}
BENCHMARK(BM_ReportSort)->Name("report_sort/ours")->Unit(benchmark::kMillisecond);

void BM_ReportDraw(benchmark::State &state) {
    table::Table table;
    Prepare(table);
    for (auto _ : state) {
        report::ReportView view = View(table);
        Draw(view);
    }
}
BENCHMARK(BM_ReportDraw)->Name("report_draw/ours")->Unit(benchmark::kMillisecond);

void BM_ReportPrint(benchmark::State &state) {
    table::Table table;
    Prepare(table);
    report::ReportView view = View(table);
    for (auto _ : state) Print(view);
}
BENCHMARK(BM_ReportPrint)->Name("report_print50/ours")->Unit(benchmark::kMillisecond);

void BM_ReportWhole(benchmark::State &state) {
    Printer();
    Csv();
    double load = 0, sort = 0, draw = 0, print = 0;
    for (auto _ : state) {
        auto lap = std::chrono::steady_clock::now();
        table::Table table;
        Load(table);
        load += Lap(lap);
        Sort(table);
        sort += Lap(lap);
        report::ReportView view = View(table);
        Draw(view);
        draw += Lap(lap);
        Print(view);
        print += Lap(lap);
    }
    const double total = load + sort + draw + print;
    state.counters["load_%"] = 100 * load / total;
    state.counters["sort_%"] = 100 * sort / total;
    state.counters["draw_%"] = 100 * draw / total;
    state.counters["print_%"] = 100 * print / total;
}
BENCHMARK(BM_ReportWhole)->Name("report_whole/ours")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quelt::bench
