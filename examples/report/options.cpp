#include "options.h"

#include <stdexcept>

#include "values.h"

namespace report {

const char kUsage[] = R"usage(usage: quelt-report FILE.csv --x COL --y COL[,COL...] [options]

Reads FILE.csv as quelt-table does (types inferred per column), sorts it, and draws
a grid of the records beside a line chart of the --y columns against --x, in record
order, with an overview of the whole chart below it. It writes into the output
directory:
  view.png            the window: grid on the left, chart on the right, the current
                      record on the found row
  chart.png           the chart alone
  report.pdf          the grid printed page by page, a header and a page number on each
  preview-N.png       the print preview of page N, whole page

options:
  --x COL                     the chart's horizontal column: a number or a date
  --y COL,...                 the columns drawn as lines: numbers
  --sort COL[:asc|:desc],...  sort by one or more columns, the first deciding most
  --find COL=VALUE            make the first row whose COL equals VALUE (or the
                              nearest) the current record; COL must be the first
                              --sort column (without --sort the rows are sorted by COL)
  --format COL=FORMAT         display format of a number column in the grid, as
                              quelt-table takes it (d.2, d,, %, ...), repeatable
  --out DIR                   where the files go (default: the current directory)
  --span N                    the chart shows the x range of N records from the
                              current one (the overview below it shows all)
  --pages N                   print and preview only the first N pages
  --size WxH                  the window's size in pixels (default 1200x640)
  --dump-rows N               print the grid's first N rows from the current record
                              as tab-separated text, as the grid draws them
  --help                      show this text

Each step prints its time. Errors print one line on stderr and exit with status 1.
)usage";

namespace {

std::runtime_error Error(const std::string &option, const std::string &what) {
    return std::runtime_error(option + ": " + what);
}

std::vector<std::string> SplitColumns(const std::string &option, const std::string &text) {
    std::vector<std::string> columns;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        columns.push_back(text.substr(start, comma - start));
    columns.push_back(text.substr(start));
    for (const std::string &column : columns) {
        if (column.empty()) throw Error(option, "a column name is empty in '" + text + "'");
    }
    return columns;
}

int ParseCount(const std::string &option, const std::string &text, int least) {
    const std::optional<int> count = table::ParseInt(text);
    if (!count || *count < least) throw Error(option, "'" + text + "' is not a count");
    return *count;
}

// Small enough that the window's image stays a sensible size.
int ParseSide(const std::string &size, const std::string &text) {
    const std::optional<int> side = table::ParseInt(text);
    if (!side || *side < 200 || *side > 8000)
        throw Error("--size", "'" + size + "' is not WxH within 200..8000");
    return *side;
}

void ParseSize(const std::string &text, Options &options) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) throw Error("--size", "'" + text + "' is not WxH within 200..8000");
    options.width = ParseSide(text, text.substr(0, x));
    options.height = ParseSide(text, text.substr(x + 1));
}

void ParseOption(const std::string &option, table::ArgReader &args, Options &options) {
    if (option == "--help" || option == "-h") {
        options.help = true;
        return;
    }
    if (option == "--format") {
        options.formats.push_back(table::ParseAssignment(option, args.ValueOf(option)));
        return;
    }
    args.Once(option);
    if (option == "--x") {
        options.x = args.ValueOf(option);
    } else if (option == "--y") {
        options.y = SplitColumns(option, args.ValueOf(option));
    } else if (option == "--sort") {
        options.sort = table::ParseSortKeys(args.ValueOf(option));
    } else if (option == "--find") {
        options.find = table::ParseAssignment(option, args.ValueOf(option));
    } else if (option == "--out") {
        options.out = args.ValueOf(option);
    } else if (option == "--size") {
        ParseSize(args.ValueOf(option), options);
    } else if (option == "--span") {
        options.span = ParseCount(option, args.ValueOf(option), 2);
    } else if (option == "--pages") {
        options.pages = ParseCount(option, args.ValueOf(option), 1);
    } else if (option == "--dump-rows") {
        options.dumpRows = ParseCount(option, args.ValueOf(option), 0);
    } else {
        throw std::runtime_error("unknown option '" + option + "' (see --help)");
    }
}

}  // namespace

Options ParseOptions(int argc, char **argv) {
    Options options;
    table::ArgReader args(argc, argv);
    options.input = args.ReadAll([&](const std::string &arg) { ParseOption(arg, args, options); });
    if (options.help) return options;
    if (options.input.empty()) throw std::runtime_error("no input file (see --help)");
    if (options.x.empty()) throw std::runtime_error("--x: the chart's horizontal column is missing");
    if (options.y.empty()) throw std::runtime_error("--y: the chart's columns are missing");
    return options;
}

}  // namespace report
