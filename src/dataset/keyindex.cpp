#include <algorithm>

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
    while (nodes <= Samples()) nodes *= 2;
    m_tree.resize(nodes);
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
    if (node >= m_tree.size()) return;
    Place(2 * node, sample);
    m_tree[node] = sample < Samples() ? Key(sample * kBlock) : std::numeric_limits<std::uint64_t>::max();
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
    const std::size_t nodes = m_tree.size();
    const std::uint64_t *tree = m_tree.data();
    std::size_t node = 1;
    while (node < nodes) {
        // Four levels down, the sixteen nodes this walk may reach there.
        if (16 * node + 8 < nodes) {
            __builtin_prefetch(tree + 16 * node);
            __builtin_prefetch(tree + 16 * node + 8);
        }
        node = 2 * node + static_cast<std::size_t>(tree[node] < key);
    }
    // Sample below - 1 is below key and sample below is not: the lower bound
    // lies after the first and at most at the second.
    const std::size_t below = std::min(node - nodes, Samples());
    const std::size_t start = below == 0 ? 0 : kBlock * (below - 1) + 1;
    // The block's cache lines are fetched at once.
    for (std::size_t at = start; at < std::min(start + kBlock, m_items.size()); at += 4) {
        __builtin_prefetch(m_items.data() + at);
    }
    return start;
}

std::size_t KeyIndex::LowerBound(std::size_t start, std::uint64_t key) const {
    const std::size_t end = std::min(start + kBlock, m_items.size());
    while (start < end && Key(start) < key) ++start;
    return start;
}

std::size_t KeyIndex::UpperBound(std::uint64_t key) const {
    return key == std::numeric_limits<std::uint64_t>::max() ? m_items.size() : LowerBound(key + 1);
}

}  // namespace quelt
