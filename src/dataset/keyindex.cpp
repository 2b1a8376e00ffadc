#include <algorithm>
#include <memory>

#include "dataset/fields_p.h"
#include "dataset/keyindex_p.h"

namespace quelt {

std::uint64_t OrderedKey(IField::Types type, const unsigned char *cell, bool descending) {
    switch (type) {
        case IField::Bool:
            return OrderedKey(*cell, descending);
        case IField::Short:
            return OrderedKey(cells::Load<short>(cell), descending);
        case IField::Int:
            return OrderedKey(cells::Load<int>(cell), descending);
        case IField::Int64:
            return OrderedKey(cells::Load<int64>(cell), descending);
        case IField::Float:
            return OrderedKey(cells::Load<float>(cell), descending);
        default:
            // The two date-time kinds are a day count in a double.
            return OrderedKey(cells::Load<double>(cell), descending);
    }
}

void KeyIndex::Build(std::vector<KeyedRecord> items, int shift, IField::Types type, int offset,
                     bool descending, unsigned long long writes) {
    m_items = std::move(items);
    m_shift = shift;
    std::size_t nodes = 1;
    for (m_levels = 0; nodes <= Samples(); ++m_levels) nodes *= 2;
    constexpr std::size_t kLine = 64;
    m_tree.resize(nodes + kLine / sizeof(std::uint64_t));
    void *first = m_tree.data();
    std::size_t space = m_tree.size() * sizeof(std::uint64_t);
    std::align(kLine, nodes * sizeof(std::uint64_t), first, space);
    m_treeStart = static_cast<std::size_t>(static_cast<std::uint64_t *>(first) - m_tree.data());
    std::size_t sample = 0;
    Place(1, sample);
    m_built = true;
    m_type = type;
    m_offset = offset;
    m_descending = descending;
    m_writes = writes;
}

// Fills the subtree at node in order, as the in-order walk of the tree
// visits the samples ascending; the nodes after the last sample hold the
// greatest key, and a walk that reaches them is taken back to the last.
void KeyIndex::Place(std::size_t node, std::size_t &sample) {
    if (node >> m_levels) return;
    Place(2 * node, sample);
    m_tree[m_treeStart + node] =
        sample < Samples() ? Key(sample * kBlock) : std::numeric_limits<std::uint64_t>::max();
    ++sample;
    Place(2 * node + 1, sample);
}

std::vector<KeyedRecord> KeyIndex::TakeItems() {
    m_built = false;
    std::vector<KeyedRecord> items;
    items.swap(m_items);
    return items;
}

std::size_t KeyIndex::BlockStart(std::uint64_t key) const {
    if (m_items.empty()) return 0;
    const std::uint64_t *tree = Tree();
    const std::size_t nodes = std::size_t{1} << m_levels;
    std::size_t node = 1;
    // While the tree goes on four levels below, the sixteen nodes this walk
    // may reach there are fetched ahead; the last four levels are in flight.
    while (node < nodes / 16) {
        __builtin_prefetch(tree + 16 * node);
        __builtin_prefetch(tree + 16 * node + 8);
        node = 2 * node + static_cast<std::size_t>(tree[node] < key);
    }
    while (node < nodes) node = 2 * node + static_cast<std::size_t>(tree[node] < key);
    // Sample below - 1 is below key and sample below is not: the lower bound
    // lies after the first and at most at the second.
    const std::size_t below = std::min(node - nodes, Samples());
    const std::size_t start = below == 0 ? 0 : kBlock * (below - 1) + 1;
    // The block's cache lines (one more than it fills, as it need not start
    // on one) are fetched at once.
    const KeyedRecord *items = m_items.data();
    const std::size_t last = std::min(start + kBlock, m_items.size()) - 1;
    constexpr std::size_t kPerLine = 64 / sizeof(KeyedRecord);
    for (std::size_t at = start; at < start + kBlock; at += kPerLine)
        __builtin_prefetch(items + std::min(at, last));
    __builtin_prefetch(items + last);
    return start;
}

// Halves the block without a branch on the keys: the records before base
// are below key, and the lower bound lies in [base, base + count].
std::size_t KeyIndex::LowerBound(std::size_t start, std::uint64_t key) const {
    const std::size_t end = std::min(start + kBlock, m_items.size());
    if (start >= end) return start;
    const KeyedRecord *base = m_items.data() + start;
    std::size_t count = end - start;
    while (count > 1) {
        const std::size_t half = count / 2;
        base = (base[half].key >> m_shift) < key ? base + half : base;
        count -= half;
    }
    const auto at = static_cast<std::size_t>(base - m_items.data());
    return at + static_cast<std::size_t>((base->key >> m_shift) < key);
}

std::size_t KeyIndex::LowerBound(std::uint64_t key) const { return LowerBound(BlockStart(key), key); }

std::size_t KeyIndex::UpperBound(std::uint64_t key) const {
    return key == std::numeric_limits<std::uint64_t>::max() ? m_items.size() : LowerBound(key + 1);
}

}  // namespace quelt
