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
// sort left them; every sixteenth key again in a compact array of samples;
// and a table that maps a key's distance from the smallest, cut to its
// leading bits, to the samples that may share those bits. A search reads two
// table entries, halves the few samples between them, then halves one block
// of sixteen keys (whose lines it fetches at once), where a binary search over
// the records would wait on a record pointer and then its record at every
// halving. Keys crowded into few buckets only make that range of samples
// longer. The sort's own items are kept, so the layout adds a sample and a
// table entry per sixteen records. A layout answers for the key it was built
// for, and only while the storage's write count is the one it was built at.
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
    // The count of samples below key.
    std::size_t SamplesBelow(std::uint64_t key) const;
    // The first record from start on whose key is not below key, which lies
    // at most kBlock records after start.
    std::size_t LowerBound(std::size_t start, std::uint64_t key) const;

    std::vector<KeyedRecord> m_items;
    int m_shift = 0;
    // The keys of records 0, kBlock, 2 kBlock...
    std::vector<std::uint64_t> m_samples;
    // Entry b counts the samples whose distance from the first, shifted
    // right by m_bucketShift, is below b; one entry more than buckets.
    std::vector<std::uint32_t> m_buckets;
    int m_bucketShift = 0;
    bool m_built = false;
    IField::Types m_type = IField::Int;
    int m_offset = 0;
    bool m_descending = false;
    unsigned long long m_writes = 0;
};

}  // namespace quelt
