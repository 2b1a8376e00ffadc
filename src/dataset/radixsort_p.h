#pragma once

// Radix sorting of keyed items, shared by the memory and virtual data sets' sorts.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

namespace quelt::radix {

// Sorts items by a key of Digits digits of Bits bits, digitOf(item, d) being
// digit d counted from the least significant: one stable pass per digit,
// least significant first, where a digit that is the same in every key needs
// no pass. One reading of the items counts every digit.
template <std::size_t Digits, std::size_t Bits = 8, class Item, class DigitOf>
void RadixSort(std::vector<Item> &items, DigitOf digitOf) {
    constexpr std::size_t kRow = (std::size_t{1} << Bits) + 1;
    std::vector<std::size_t> counts(Digits * kRow);
    for (const Item &item : items) {
        for (std::size_t d = 0; d < Digits; ++d) ++counts[d * kRow + digitOf(item, d) + 1];
    }
    std::vector<Item> moved(items.size());
    for (std::size_t d = 0; d < Digits; ++d) {
        const auto starts = counts.begin() + static_cast<std::ptrdiff_t>(d * kRow);
        if (std::find(starts, starts + kRow, items.size()) != starts + kRow) continue;
        std::partial_sum(starts, starts + kRow, starts);
        for (const Item &item : items) moved[starts[digitOf(item, d)]++] = item;
        items.swap(moved);
    }
}

// Calls sortRun on every run of items that equal(a, b) finds equal, items
// being sorted so that equal ones are next to each other.
template <class Item, class Equal, class SortRun>
void SortRuns(std::vector<Item> &items, Equal equal, SortRun sortRun) {
    for (auto run = items.begin(); run != items.end();) {
        const auto end =
            std::find_if(run + 1, items.end(), [&](const Item &item) { return !equal(*run, item); });
        if (end - run > 1) sortRun(run, end);
        run = end;
    }
}

// A double as an unsigned key in the order of KeyValueBefore: -0 as 0, and
// every NaN as one key after every number.
inline std::uint64_t OrderedBits(double value) {
    if (std::isnan(value)) return ~std::uint64_t{0};
    if (value == 0) value = 0;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits >> 63 ? ~bits : bits | std::uint64_t{1} << 63;
}

}  // namespace quelt::radix
