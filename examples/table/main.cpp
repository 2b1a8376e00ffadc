// quelt-table: loads a table into a memory data set through the fast writer,
// then sorts, searches, prints and saves it, timing each step.

#include <clocale>
#include <exception>
#include <iostream>
#include <optional>

#include "options.h"
#include "print.h"
#include "steps.h"
#include "stopwatch.h"
#include "table.h"
#include "values.h"

namespace {

using namespace table;

constexpr unsigned kSampleRows = 100000;

std::string Rows(const Table &table) { return std::to_string(table.RowCount()) + " rows"; }

void ReadInput(const Options &options, Table &table) {
    const Stopwatch watch;
    if (!options.load.empty()) {
        LoadStream(options.load, table);
        Report("load", watch, options.load + ": " + Rows(table));
    } else if (!options.input.empty()) {
        const std::size_t padded = LoadCsv(options.input, options.strict, table);
        Report("read", watch, options.input + ": " + Rows(table));
        if (padded > 0) {
            std::cout.flush();
            std::cerr << "quelt-table: warning: " << padded << (padded == 1 ? " row" : " rows")
                      << " had fewer fields than the header and " << (padded == 1 ? "was" : "were")
                      << " padded with empty cells (--strict refuses them)\n";
        }
    } else {
        GenerateSample(kSampleRows, table);
        Report("generate", watch, "sample: " + Rows(table));
    }
}

void PrintColumns(const Table &table) {
    std::cout << "columns:";
    for (int column = 0; column < static_cast<int>(table.Names().size()); ++column) {
        std::cout << (column == 0 ? " " : ", ") << table.Names()[column] << ' '
                  << TypeName(table.TypeOf(column));
    }
    std::cout << '\n';
}

std::string Describe(const std::vector<SortKey> &keys) {
    std::string text;
    for (const SortKey &key : keys)
        text += (text.empty() ? "" : ", ") + key.column + (key.descending ? " desc" : "");
    return text;
}

void SortTable(Table &table, const std::vector<SortKey> &keys) {
    const Stopwatch watch;
    table.Data().Sort();
    Report("sort", watch, Describe(keys));
}

unsigned FindRow(Search &search, const Assignment &find) {
    const Stopwatch watch;
    const Found found = search.Run();
    const std::string where = found.exact ? "row " : "no match, nearest row ";
    Report("find", watch, find.column + "=" + find.value + ": " + where + std::to_string(found.row));
    return found.row;
}

void Save(const std::string &path, Table &table) {
    const Stopwatch watch;
    SaveStream(path, table);
    Report("save", watch, path);
}

void Run(const Options &options) {
    Table table;
    ReadInput(options, table);
    PrintColumns(table);
    const DatePatterns patterns = ApplyFormats(table, options.formats);
    const std::vector<SortKey> keys = SortKeysFor(options.sort, options.find);
    PrepareSort(table, keys);
    std::optional<Search> search;
    if (options.find) search.emplace(table, *options.find, keys.front());
    if (!keys.empty()) SortTable(table, keys);
    const unsigned first = search ? FindRow(*search, *options.find) : 0;
    PrintRows(std::cout, table, first, static_cast<unsigned>(options.head), patterns);
    if (!options.save.empty()) Save(options.save, table);
}

}  // namespace

int main(int argc, char **argv) {
    // Number and date text in the data set follow the C locale.
    std::setlocale(LC_ALL, "C");
    try {
        const Options options = ParseOptions(argc, argv);
        if (options.help) {
            std::cout << kUsage;
            return 0;
        }
        Run(options);
        return 0;
    } catch (const std::exception &error) {
        std::cout.flush();
        std::cerr << "quelt-table: " << error.what() << '\n';
        return 1;
    }
}
