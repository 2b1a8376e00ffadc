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

// Sorts items by a key of Bytes bytes, byteOf(item, b) being byte b counted
// from the least significant: one stable pass per byte, least significant
// first, where a byte that is the same in every key needs no pass. One
// reading of the items counts every byte.
template <std::size_t Bytes, class Item, class ByteOf>
void RadixSort(std::vector<Item> &items, ByteOf byteOf) {
    std::vector<std::size_t> counts(Bytes * 257);
    for (const Item &item : items) {
        for (std::size_t b = 0; b < Bytes; ++b) ++counts[b * 257 + byteOf(item, b) + 1];
    }
    std::vector<Item> moved(items.size());
    for (std::size_t b = 0; b < Bytes; ++b) {
        const auto starts = counts.begin() + static_cast<std::ptrdiff_t>(b * 257);
        if (std::find(starts, starts + 257, items.size()) != starts + 257) continue;
        std::partial_sum(starts, starts + 257, starts);
        for (const Item &item : items) moved[starts[byteOf(item, b)]++] = item;
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
