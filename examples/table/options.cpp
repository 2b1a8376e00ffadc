#include "options.h"

#include <stdexcept>
#include <string_view>

#include "values.h"

namespace table {

const char kUsage[] = R"usage(usage: quelt-table [FILE] [options]

Reads FILE (CSV, or TSV when it ends in .tsv or its header row holds a tab) into a
memory data set, or a 100,000-row sample when there is no FILE. CSV fields may be
quoted as RFC 4180 has it; a quote inside an unquoted field is an ordinary
character, and TSV has no quoting at all. A row with fewer fields than the header
is padded with empty cells (one warning tells how many); a row with more is an
error. The first row names the columns; a column is Int when every non-empty cell
is a 32-bit integer, Double when every one is a number, DateTime when every one is
an ISO date (YYYY-MM-DD, optionally followed by THH:MM:SS or a blank and
HH:MM:SS), String otherwise. Empty cells print empty, and sort before every value
ascending and after every value descending.

options:
  --sort COL[:asc|:desc],...  sort by one or more columns, the first deciding most;
                              text compares without regard to case
  --find COL=VALUE            go to the first row whose COL equals VALUE; COL must be
                              the first --sort column (without --sort the rows are
                              sorted by COL); shows the nearest row when none equals
  --head N                    print N rows from the found row, or from the first
                              (default 10; 0 prints none)
  --format COL=FORMAT         display format of a column, repeatable; numbers show
                              every digit they need to read back unless formatted:
                              Int: d, (digit groups)  h (hexadecimal)  % %, (x100 %)
                              Double: d d, (whole numbers)  d.N d.N, (N decimals)
                                      % %, %.N %.N, (x100 %)  h (hexadecimal)
                              DateTime: a strftime pattern such as %d %b %Y
  --strict                    refuse rows with fewer fields than the header
  --save FILE                 write the data set as a data-set text stream
  --load FILE                 read a data-set text stream instead of a CSV file
  --help                      show this text

Each step prints its time ("sort: 35.2 ms (...)"). Errors print one line on stderr
and exit with status 1.
)usage";

namespace {

std::runtime_error Error(const std::string &option, const std::string &what) {
    return std::runtime_error(option + ": " + what);
}

int ParseRowCount(const std::string &text) {
    const std::optional<int> count = ParseInt(text);
    if (!count || *count < 0) throw Error("--head", "'" + text + "' is not a row count");
    return *count;
}

void ParseOption(const std::string &option, ArgReader &args, Options &options) {
    if (option == "--help" || option == "-h") {
        options.help = true;
        return;
    }
    if (option == "--strict") {
        options.strict = true;
        return;
    }
    if (option == "--format") {
        options.formats.push_back(ParseAssignment(option, args.ValueOf(option)));
        return;
    }
    args.Once(option);
    if (option == "--sort") {
        options.sort = ParseSortKeys(args.ValueOf(option));
    } else if (option == "--find") {
        options.find = ParseAssignment(option, args.ValueOf(option));
    } else if (option == "--head") {
        options.head = ParseRowCount(args.ValueOf(option));
    } else if (option == "--save") {
        options.save = args.ValueOf(option);
    } else if (option == "--load") {
        options.load = args.ValueOf(option);
    } else {
        throw std::runtime_error("unknown option '" + option + "' (see --help)");
    }
}

}  // namespace

Options ParseOptions(int argc, char **argv) {
    Options options;
    ArgReader args(argc, argv);
    options.input = args.ReadAll([&](const std::string &arg) { ParseOption(arg, args, options); });
    if (!options.input.empty() && !options.load.empty()) {
        throw std::runtime_error("give either a FILE or --load, not both");
    }
    return options;
}

}  // namespace table
