// quelt-sample: writes a generated sample as CSV, for the example programs
// and their tests.
//   quelt-sample readings|sales ROWS FILE.csv

#include <clocale>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

#include "stopwatch.h"
#include "table.h"
#include "values.h"

int main(int argc, char **argv) {
    using namespace table;
    std::setlocale(LC_ALL, "C");
    try {
        const std::string kind = argc == 4 ? argv[1] : "";
        const std::optional<int> rows = argc == 4 ? ParseInt(argv[2]) : std::nullopt;
        if ((kind != "readings" && kind != "sales") || !rows || *rows < 0)
            throw std::runtime_error("usage: quelt-sample readings|sales ROWS FILE.csv");
        const Stopwatch watch;
        Table sample;
        if (kind == "readings") {
            GenerateReadings(static_cast<unsigned>(*rows), sample);
        } else {
            GenerateSample(static_cast<unsigned>(*rows), sample);
        }
        SaveCsv(argv[3], sample);
        Report("sample", watch, std::string(argv[3]) + ": " + std::to_string(*rows) + " rows of " + kind);
        return 0;
    } catch (const std::exception &error) {
        std::cout.flush();
        std::cerr << "quelt-sample: " << error.what() << '\n';
        return 1;
    }
}
