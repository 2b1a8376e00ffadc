// Turns the benchmark results (one line per result: name, statistic, CPU
// time, time unit, bytes per record) into one Markdown table with a row per
// workload: ours, the hand-written baseline, the peers and their ratios. A
// time unit of "MiB" marks a memory figure.
//
//   quelt_bench_table results.tsv table.md [missing peer]...

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    double value = 0;  // nanoseconds, bytes per record or MiB
    bool bytes = false;
    bool mib = false;
    double stddev = -1;  // nanoseconds, negative when unknown
};

struct Peer {
    std::string name;
    Result result;
    bool has = false;
};

struct Row {
    std::string workload;
    Result ours, baseline;
    bool hasOurs = false, hasBaseline = false;
    std::vector<Peer> peers;
};

const std::map<std::string, std::string> &Descriptions() {
    static const std::map<std::string, std::string> descriptions = {
        {"load_fastwriter",
         "load N records: fast writer | push_back of structs | SQLite prepared INSERT, one transaction"},
        {"load_cursor", "load N records: Append + field assignment | push_back of structs"},
        {"memory_per_record",
         "resident bytes per record after the load | structs with std::string | SQLite in memory"},
        {"sort_int", "Sort() by the Int key | std::sort of structs | CREATE INDEX"},
        {"sort_text_nocase",
         "Sort() by the String, case-insensitive | std::sort, ASCII folding | CREATE INDEX ... NOCASE"},
        {"sort_int_desc_text", "Sort() by Int descending, String | std::sort | CREATE INDEX (k DESC, s)"},
        {"find_key", "100,000 FindKey after the sort | std::lower_bound | indexed SELECT, prepared"},
        {"scan_cursor", "sum of the Double through a cursor | loop over structs | SELECT stepping"},
        {"scan_column", "sum of the Double through a column | loop over structs | SELECT stepping"},
        {"scan_view_int", "sum of the Int through a ColumnView<int> | loop over structs"},
        {"scan_view_double", "sum of the Double through a ColumnView<double> | loop over structs"},
        {"virtual_scan",
         "virtual data set over a random source: cursor scan | the same scan of the memory data set"},
        {"virtual_sort_int", "virtual data set: Sort() by the Int key | Sort() of the memory data set"},
        {"dispatch_1", "one FireEvent to 1 receiver | virtual calls over a vector | Boost.Signals2"},
        {"dispatch_8", "one FireEvent to 8 receivers | virtual calls over a vector | Boost.Signals2"},
        {"dispatch_64", "one FireEvent to 64 receivers | virtual calls over a vector | Boost.Signals2"},
        {"date_roundtrip",
         "N SetDate + DecodeDate | days_from_civil/civil_from_days by hand | date::year_month_day"},
        {"date_format", "100,000 FormatDateTime | snprintf | date::format"},
        {"date_parse", "100,000 text parses | sscanf | date::parse"},
        {"paint_lineto", "100,000 LineTo, 0.1 mm units, user scale 2 | the same mapping and tests by hand"},
        {"paint_linestrip", "a 100,000-vertex DrawLineStrip plot | the conversion loop by hand"},
        {"paint_strip_1m_vertices_per_plot",
         "1,000,000 strip vertices in plots of N (flat = linear batching)"},
        {"stream_read_mb", "operator>> of a well-formed data-set stream of N MB (time linear in N)"},
        {"stream_read_fields", "operator>> of a stream header of N fields (time linear in N)"},
        {"process_time",
         "wall time of the whole program on a generated CSV of N rows (id, city, price, qty, date), sorted "
         "by "
         "price, five rows shown: quelt-table | - | the sqlite3 shell (typed table, .import, ORDER BY price "
         "LIMIT 5), Python's csv module and sorted()"},
        {"process_peak", "peak resident memory of the same runs"},
        {"report_load", "quelt-report's steps on 100,000 generated hourly readings: reading the CSV"},
        {"report_sort", "sorting them by outside temperature descending, then time"},
        {"report_draw", "drawing the 1200 x 640 window: grid, 30-day chart of two series, overview of all"},
        {"report_print50", "printing the grid's first 50 pages to PDF (300 dpi, A4)"},
        {"report_whole", "the four in turn; its counters give each step's share"},
        {"preview_200_pages",
         "200 pages of 500 lines and 50 strings: recorded into vector pictures on the preview's worker while "
         "the "
         "whole-page view is painted | printed through the PDF printer into a Cairo PDF surface (CPU time of "
         "all "
         "threads)"},
    };
    return descriptions;
}

double ToNanoseconds(double value, const std::string &unit) {
    if (unit == "us") return value * 1e3;
    if (unit == "ms") return value * 1e6;
    if (unit == "s") return value * 1e9;
    return value;
}

std::string Format(const Result &r) {
    char text[64];
    if (r.bytes) {
        std::snprintf(text, sizeof text, "%.1f B", r.value);
    } else if (r.mib) {
        std::snprintf(text, sizeof text, "%.1f MiB", r.value);
    } else if (r.value >= 1e9) {
        std::snprintf(text, sizeof text, "%.2f s", r.value / 1e9);
    } else if (r.value >= 1e6) {
        std::snprintf(text, sizeof text, "%.1f ms", r.value / 1e6);
    } else if (r.value >= 1e3) {
        std::snprintf(text, sizeof text, "%.1f us", r.value / 1e3);
    } else {
        std::snprintf(text, sizeof text, "%.1f ns", r.value);
    }
    return text;
}

std::string Ratio(double a, double b) {
    if (b <= 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", a / b);
    return text;
}

// The median of repetitions wins over a single run of the same name.
void Add(std::vector<Row> &rows, const std::string &name, const std::string &statistic,
         const Result &result) {
    const std::size_t slash = name.rfind('/');
    const std::string workload = slash == std::string::npos ? name : name.substr(0, slash);
    const std::string side = slash == std::string::npos ? "ours" : name.substr(slash + 1);
    if (side != "ours" && side != "baseline" && side.rfind("peer_", 0) != 0) {
        return Add(rows, name + "/ours", statistic, result);
    }
    Row *row = nullptr;
    for (Row &r : rows) {
        if (r.workload == workload) row = &r;
    }
    if (!row) {
        rows.push_back(Row{});
        row = &rows.back();
        row->workload = workload;
    }
    Result *target = nullptr;
    bool *has = nullptr;
    if (side == "ours") {
        target = &row->ours;
        has = &row->hasOurs;
    } else if (side == "baseline") {
        target = &row->baseline;
        has = &row->hasBaseline;
    } else {
        const std::string peerName = side.substr(5);
        auto peer = std::find_if(row->peers.begin(), row->peers.end(),
                                 [&](const Peer &p) { return p.name == peerName; });
        if (peer == row->peers.end()) peer = row->peers.insert(row->peers.end(), Peer{peerName, {}, false});
        target = &peer->result;
        has = &peer->has;
    }
    if (statistic == "stddev") {
        target->stddev = result.value;
        return;
    }
    if (statistic == "iteration" && *has) return;
    const double stddev = target->stddev;
    *target = result;
    target->stddev = stddev;
    *has = true;
}

std::string Cell(bool has, const Result &r, const std::string &suffix = "") {
    return has ? Format(r) + suffix : "-";
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::cerr << "usage: quelt_bench_table results.tsv table.md [missing peer]...\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<Row> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, statistic, time, unit, bytes;
        if (!std::getline(fields, name, '\t') || !std::getline(fields, statistic, '\t') ||
            !std::getline(fields, time, '\t') || !std::getline(fields, unit, '\t')) {
            continue;
        }
        std::getline(fields, bytes, '\t');
        Result result;
        if (!bytes.empty() && statistic != "stddev") {
            result.value = std::stod(bytes);
            result.bytes = true;
        } else if (unit == "MiB") {
            result.value = std::stod(time);
            result.mib = true;
        } else {
            result.value = ToNanoseconds(std::stod(time), unit);
        }
        Add(rows, name, statistic, result);
    }

    std::ostringstream table;
    table << "| Workload | Ours | Baseline | Peer | Ours/baseline | Peer/ours |\n";
    table << "|---|---:|---:|---:|---:|---:|\n";
    std::string noisiest;
    double noise = 0;
    for (const Row &r : rows) {
        std::string peers, ratios;
        for (const Peer &p : r.peers) {
            if (!p.has) continue;
            peers += (peers.empty() ? "" : ", ") + Format(p.result) + " (" + p.name + ")";
            if (r.hasOurs) ratios += (ratios.empty() ? "" : ", ") + Ratio(p.result.value, r.ours.value);
        }
        table << "| " << r.workload << " | " << Cell(r.hasOurs, r.ours) << " | "
              << Cell(r.hasBaseline, r.baseline) << " | " << (peers.empty() ? "-" : peers) << " | "
              << (r.hasOurs && r.hasBaseline ? Ratio(r.ours.value, r.baseline.value) : "-") << " | "
              << (ratios.empty() ? "-" : ratios) << " |\n";
        std::vector<const Result *> sides = {&r.ours, &r.baseline};
        for (const Peer &p : r.peers) sides.push_back(&p.result);
        for (const Result *side : sides) {
            if (side->stddev >= 0 && side->value > 0 && side->stddev / side->value > noise) {
                noise = side->stddev / side->value;
                noisiest = r.workload;
            }
        }
    }
    table << "\nTimes are CPU time per run of the workload (per event for dispatch_*), the median of the "
             "repetitions; process_* rows are the wall time and peak memory of whole programs.";
    if (!noisiest.empty()) {
        char text[128];
        std::snprintf(text, sizeof text, " Largest relative standard deviation: %.1f%% (%s).", noise * 100,
                      noisiest.c_str());
        table << text;
    }
    table << "\n\n";
    const char *quick = std::getenv("QUELT_BENCH_QUICK");
    if (quick && *quick && std::string(quick) != "0") {
        table
            << "Quick mode: 10,000 records and one run each; it checks that the table gets made, its figures "
               "(memory above all) say little.\n\n";
    }
    for (int i = 3; i < argc; ++i) table << "peer " << argv[i] << " not found: skipped\n";
    table << "\nWorkloads (ours | baseline | peer):\n\n";
    // A family measured at several sizes ("stream_read_mb/4") is described once.
    std::set<std::string> described;
    for (const Row &r : rows) {
        const std::string family = r.workload.substr(0, r.workload.find('/'));
        const auto found = Descriptions().find(family);
        if (found == Descriptions().end() || !described.insert(family).second) continue;
        table << "- " << family << ": " << found->second << "\n";
    }

    std::ofstream out(argv[2]);
    out << table.str();
    std::cout << table.str();
    return out ? 0 : 1;
}
