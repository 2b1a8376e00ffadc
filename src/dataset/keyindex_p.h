#pragma once

// The search layout of a sorted memory data set's first key, and the form
// of numeric key cells that both the sorts and the layout order by.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

#include "dataset/radixsort_p.h"
#include "quelt/dataset/idataset.h"

namespace quelt {

// A key value as an unsigned number in the key's order (KeyValueBefore:
// -0 equals 0, every NaN follows every number), complemented within the
// type's width when the key is descending. Bool cells are read as bytes.
template <class T>
std::uint64_t OrderedKey(T value, bool descending) {
    std::uint64_t key = 0;
    std::uint64_t width = std::numeric_limits<std::uint64_t>::max();
    if constexpr (std::is_floating_point_v<T>) {
        key = radix::OrderedBits(static_cast<double>(value));
    } else {
        using U = std::make_unsigned_t<T>;
        constexpr U kSign = std::is_signed_v<T> ? static_cast<U>(U{1} << (8 * sizeof(T) - 1)) : U{0};
        key = static_cast<U>(static_cast<U>(value) ^ kSign);
        width = std::numeric_limits<U>::max();
    }
    return descending ? ~key & width : key;
}

// OrderedKey of a cell of a type whose cells compare as one number (Bool,
// Short, Int, Int64, Float, Double, DateTime, TimeInterval).
std::uint64_t OrderedKey(IField::Types type, const unsigned char *cell, bool descending);

// A record's numeric first key in its ordered form, as the sorts order
// records by it; an Int key sits in the upper half, over the first units of
// the next key.
struct KeyedRecord {
    std::uint64_t key;
    unsigned char *record;
};

// The records in key order with their first key's ordered values, as the
// sort left them, and every sixteenth key again in breadth-first (Eytzinger)
// order, padded to a full tree: a search walks that small tree, whose top
// levels stay cached and whose next levels it fetches ahead, then reads one
// block of sixteen keys, where a binary search over the records would wait on
// a record pointer and then its record at every halving. The sort's own
// items are kept, so building the layout takes no fresh memory. A layout
// answers for the key it was built for, and only while the storage's write
// count is the one it was built at.
class KeyIndex {
  public:
    // The records a block of keys spans.
    static constexpr std::size_t kBlock = 16;

    // Takes the sorted items, whose keys shifted right by shift are the
    // first key's ordered values, ascending.
    void Build(std::vector<KeyedRecord> items, int shift, IField::Types type, int offset, bool descending,
               unsigned long long writes);
    // The items' vector, for the next sort to fill; the layout answers no more.
    std::vector<KeyedRecord> TakeItems();
    bool Serves(IField::Types type, int offset, bool descending, unsigned long long writes) const {
        return m_built && writes == m_writes && type == m_type && offset == m_offset &&
               descending == m_descending;
    }
    // The first record whose key is not below key.
    std::size_t LowerBound(std::uint64_t key) const;
    // The first record whose key is above key.
    std::size_t UpperBound(std::uint64_t key) const;
    std::uint64_t Key(std::size_t record) const { return m_items[record].key >> m_shift; }
    const unsigned char *Record(std::size_t record) const { return m_items[record].record; }

  private:
    // The first record whose key may be the first not below key: the
    // lower bound lies at most kBlock - 1 records after it.
    std::size_t BlockStart(std::uint64_t key) const;
    // The first record from such a start on whose key is not below key.
    std::size_t LowerBound(std::size_t start, std::uint64_t key) const;
    std::size_t Samples() const { return (m_items.size() + kBlock - 1) / kBlock; }
    const std::uint64_t *Tree() const { return m_tree.data() + m_treeStart; }
    void Place(std::size_t node, std::size_t &sample);

    std::vector<KeyedRecord> m_items;
    int m_shift = 0;
    // Node k's children are 2k and 2k + 1; node 0 is unused. The tree is
    // full, so a walk of its m_levels levels ends at node 2^m_levels + the
    // count of samples below the key. Node 0 sits on a cache line's start,
    // so the sixteen great-great-grandchildren of a node fill two lines.
    std::vector<std::uint64_t> m_tree;
    std::size_t m_treeStart = 0;
    int m_levels = 0;
    bool m_built = false;
    IField::Types m_type = IField::Int;
    int m_offset = 0;
    bool m_descending = false;
    unsigned long long m_writes = 0;
};

}  // namespace quelt
