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

// Sorts [first, last) by a key of Digits digits of Bits bits, digitOf(item,
// d) being digit d counted from the least significant: one stable pass per
// digit, least significant first, where a digit that is the same in every key
// needs no pass. One reading of the items counts every digit. The items move
// between the range and scratch, as long as the range; returns whether they
// ended in scratch.
template <std::size_t Digits, std::size_t Bits = 8, class Item, class DigitOf>
bool RadixSortInto(Item *first, Item *last, Item *scratch, DigitOf digitOf) {
    constexpr std::size_t kRow = (std::size_t{1} << Bits) + 1;
    const auto size = static_cast<std::size_t>(last - first);
    std::vector<std::size_t> counts(Digits * kRow);
    for (const Item *item = first; item != last; ++item) {
        for (std::size_t d = 0; d < Digits; ++d) ++counts[d * kRow + digitOf(*item, d) + 1];
    }
    Item *from = first;
    Item *to = scratch;
    for (std::size_t d = 0; d < Digits; ++d) {
        const auto starts = counts.begin() + static_cast<std::ptrdiff_t>(d * kRow);
        if (std::find(starts, starts + kRow, size) != starts + kRow) continue;
        std::partial_sum(starts, starts + kRow, starts);
        for (const Item *item = from; item != from + size; ++item) to[starts[digitOf(*item, d)]++] = *item;
        std::swap(from, to);
    }
    return from != first;
}

// RadixSortInto over a whole vector.
template <std::size_t Digits, std::size_t Bits = 8, class Item, class DigitOf>
void RadixSort(std::vector<Item> &items, DigitOf digitOf) {
    std::vector<Item> moved(items.size());
    if (RadixSortInto<Digits, Bits>(items.data(), items.data() + items.size(), moved.data(), digitOf)) {
        items.swap(moved);
    }
}

// Sorts a range stably; short ranges, as most runs of ties are, by insertion,
// which takes no buffer.
template <class It, class Less>
void StableSort(It begin, It end, Less less) {
    if (end - begin > 24) {
        std::stable_sort(begin, end, less);
        return;
    }
    if (end - begin < 2) return;
    for (It i = begin + 1; i != end; ++i) {
        auto item = std::move(*i);
        It j = i;
        for (; j != begin && less(item, *(j - 1)); --j) *j = std::move(*(j - 1));
        *j = std::move(item);
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
