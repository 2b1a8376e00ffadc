#pragma once

// The command line of quelt-report.

#include <optional>
#include <string>
#include <vector>

#include "keys.h"

namespace report {

struct Options {
    std::string input;
    // The chart's horizontal column and its series.
    std::string x;
    std::vector<std::string> y;
    std::vector<table::SortKey> sort;
    std::optional<table::Assignment> find;
    std::vector<table::Assignment> formats;
    std::string out = ".";
    // The view's size in pixels.
    int width = 1200;
    int height = 640;
    // Rows of the grid to print as text (from the found row), as the grid shows them.
    int dumpRows = 0;
    // Records from the current one whose x range the chart shows; 0 shows all.
    int span = 0;
    // Pages to print and preview; 0 is every page.
    int pages = 0;
    bool help = false;
};

// Throws std::runtime_error naming the option that is wrong.
Options ParseOptions(int argc, char **argv);

extern const char kUsage[];

}  // namespace report
