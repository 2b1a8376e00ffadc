// quelt-sample: writes a generated sample as CSV, for the example programs
// and their tests.
//   quelt-sample readings|sales|ramp ROWS FILE.csv

#include <clocale>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

#include "stopwatch.h"
#include "table.h"
#include "values.h"

namespace {

constexpr char kUsage[] = "usage: quelt-sample readings|sales|ramp ROWS FILE.csv";

unsigned RowCount(const char *text) {
    const std::optional<int> rows = table::ParseInt(text);
    if (!rows || *rows < 0) throw std::runtime_error(kUsage);
    return static_cast<unsigned>(*rows);
}

}  // namespace

int main(int argc, char **argv) {
    using namespace table;
    std::setlocale(LC_ALL, "C");
    try {
        const std::string kind = argc == 4 ? argv[1] : "";
        if (kind != "readings" && kind != "sales" && kind != "ramp") throw std::runtime_error(kUsage);
        const unsigned rows = RowCount(argv[2]);
        const Stopwatch watch;
        Table sample;
        if (kind == "readings") {
            GenerateReadings(rows, sample);
        } else if (kind == "ramp") {
            GenerateRamp(rows, sample);
        } else {
            GenerateSample(rows, sample);
        }
        SaveCsv(argv[3], sample);
        Report("sample", watch, std::string(argv[3]) + ": " + std::to_string(rows) + " rows of " + kind);
        return 0;
    } catch (const std::exception &error) {
        std::cout.flush();
        std::cerr << "quelt-sample: " << error.what() << '\n';
        return 1;
    }
}
