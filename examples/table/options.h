#pragma once

// The command line of quelt-table.

#include <optional>
#include <string>
#include <vector>

#include "keys.h"

namespace table {

struct Options {
    // A CSV or TSV file; none means the sample.
    std::string input;
    std::string load;
    std::string save;
    std::vector<SortKey> sort;
    std::optional<Assignment> find;
    std::vector<Assignment> formats;
    int head = 10;
    // Short CSV rows are an error instead of being padded.
    bool strict = false;
    bool help = false;
};

// Throws std::runtime_error naming the option that is wrong.
Options ParseOptions(int argc, char **argv);

extern const char kUsage[];

}  // namespace table
