#pragma once

// The example programs' command lines: sort keys and column=value pairs as
// --sort, --find and --format give them, and the arguments one by one.

#include <cstddef>
#include <set>
#include <stdexcept>
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

// The arguments after the program's name, one at a time.
class ArgReader {
  public:
    ArgReader(int argc, char **argv) : m_args(argv + 1, argv + argc) {}

    bool Done() const { return m_next == m_args.size(); }
    std::string Next() { return m_args[m_next++]; }
    // The value after option; std::runtime_error when there is none.
    std::string ValueOf(const std::string &option);
    // Options that take one value may appear once: std::runtime_error the second time.
    void Once(const std::string &option);
    // Hands each option to parseOption, which takes its values from this
    // reader, and returns the one input file ("" when none is given);
    // std::runtime_error on a second one.
    template <class ParseOption>
    std::string ReadAll(ParseOption parseOption) {
        std::string input;
        while (!Done()) {
            const std::string arg = Next();
            if (arg.size() > 1 && arg[0] == '-') {
                parseOption(arg);
            } else if (input.empty()) {
                input = arg;
            } else {
                throw std::runtime_error("more than one input file ('" + input + "', '" + arg + "')");
            }
        }
        return input;
    }

  private:
    std::vector<std::string> m_args;
    std::size_t m_next = 0;
    std::set<std::string> m_seen;
};

}  // namespace table
