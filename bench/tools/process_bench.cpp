// Whole programs on the same generated CSV (id, city, price, qty, date):
// quelt-table against the sqlite3 shell and Python's csv module, each sorting
// by price and showing five rows. Appends the median wall time and peak
// resident memory of each to the results file bench_table reads.
//
//   quelt_process_bench results.tsv work_dir rows runs quelt-table [sqlite3] [python3]
// An empty path skips that peer.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Run {
    double milliseconds;
    double peakMiB;
};

// About 40 bytes a row, so a million rows make a 40 MB file.
void WriteCsv(const std::string &path, unsigned rows) {
    static const char *const cities[] = {"Oslo",  "Lisbon",  "Zagreb", "Quito",     "Nairobi", "Hanoi",
                                         "Lima",  "Tallinn", "Osaka",  "Dakar",     "Bergen",  "Austin",
                                         "Porto", "Kraków",  "Perth",  "Montevideo"};
    std::mt19937 random(20251208);
    std::ofstream out(path, std::ios::binary);
    out << "id,city,price,qty,date\n";
    char line[128];
    for (unsigned row = 1; row <= rows; ++row) {
        const unsigned cents = random() % 100000000;
        const unsigned day = random() % 3650;
        std::snprintf(line, sizeof line, "%u,%s,%u.%02u,%u,%04u-%02u-%02u\n", row, cities[random() % 16],
                      cents / 100, cents % 100, 1 + static_cast<unsigned>(random() % 500), 2015 + day / 365,
                      1 + day % 365 / 31 % 12, 1 + day % 28);
        out << line;
    }
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// Runs the program with its output thrown away; its wall time and peak RSS.
Run Measure(const std::vector<std::string> &argv) {
    std::vector<char *> args;
    for (const std::string &arg : argv) args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) throw std::runtime_error("wait4 failed");
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(argv[0] + " failed");
    return {ms, static_cast<double>(usage.ru_maxrss) / 1024};
}

Run Median(const std::vector<std::string> &argv, int runs) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) all.push_back(Measure(argv));
    auto middle = [&](auto key) {
        std::vector<double> values;
        for (const Run &run : all) values.push_back(key(run));
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    return {middle([](const Run &r) { return r.milliseconds; }),
            middle([](const Run &r) { return r.peakMiB; })};
}

const char kPythonSort[] = R"(import csv, sys
with open(sys.argv[1], newline='') as f:
    rows = csv.reader(f)
    next(rows)
    table = [(int(i), c, float(p), int(q), d) for i, c, p, q, d in rows]
for row in sorted(table, key=lambda row: row[2])[:5]:
    print(row)
)";

}  // namespace

int main(int argc, char **argv) {
    if (argc < 6) {
        std::cerr
            << "usage: quelt_process_bench results.tsv work_dir rows runs quelt-table [sqlite3] [python3]\n";
        return 2;
    }
    try {
        const std::string csv = std::string(argv[2]) + "/process.csv";
        WriteCsv(csv, static_cast<unsigned>(std::stoul(argv[3])));
        const int runs = std::max(1, std::atoi(argv[4]));
        std::vector<std::pair<std::string, std::vector<std::string>>> programs = {
            {"ours", {argv[5], csv, "--sort", "price", "--head", "5"}}};
        if (argc > 6 && *argv[6]) {
            programs.push_back(
                {"peer_sqlite3",
                 {argv[6],
                  ":memory:", "CREATE TABLE t(id INTEGER, city TEXT, price REAL, qty INTEGER, date TEXT)",
                  ".mode csv", ".import --skip 1 " + csv + " t", "SELECT * FROM t ORDER BY price LIMIT 5"}});
        }
        if (argc > 7 && *argv[7]) programs.push_back({"peer_python", {argv[7], "-c", kPythonSort, csv}});
        std::ofstream results(argv[1], std::ios::app);
        for (const auto &[side, command] : programs) {
            const Run run = Median(command, runs);
            results << "process_time/" << side << "\tmedian\t" << run.milliseconds << "\tms\t\n";
            results << "process_peak/" << side << "\tmedian\t" << run.peakMiB << "\tMiB\t\n";
        }
        return results ? 0 : 1;
    } catch (const std::exception &error) {
        std::cerr << "quelt_process_bench: " << error.what() << '\n';
        return 1;
    }
}
