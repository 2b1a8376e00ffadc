#pragma once

// Sort keys and column=value pairs as the example programs' command lines
// give them (--sort, --find, --format).

#include <string>
#include <vector>

namespace table {

struct SortKey {
    std::string column;
    bool descending = false;
};

// column=value, as --find and --format take them.
struct Assignment {
    std::string column;
    std::string value;
};

// "COL[:asc|:desc],..."; std::runtime_error naming --sort for a bad key.
std::vector<SortKey> ParseSortKeys(const std::string &text);
// "COL=VALUE"; std::runtime_error naming option when it is not.
Assignment ParseAssignment(const std::string &option, const std::string &text);

}  // namespace table
