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

namespace {

// The first of count ascending values from first on that is not below key,
// found by halving without a branch on the values.
template <class KeyOf, class T>
const T *FirstNotBelow(const T *first, std::size_t count, std::uint64_t key, KeyOf keyOf) {
    if (count == 0) return first;
    while (count > 1) {
        const std::size_t half = count / 2;
        first = keyOf(first[half]) < key ? first + half : first;
        count -= half;
    }
    return first + (keyOf(*first) < key ? 1 : 0);
}

}  // namespace

void KeyIndex::Build(std::vector<KeyedRecord> items, int shift, IField::Types type, int offset,
                     bool descending, unsigned long long writes) {
    m_items = std::move(items);
    m_shift = shift;
    const std::size_t samples = (m_items.size() + kBlock - 1) / kBlock;
    m_samples.resize(samples);
    for (std::size_t s = 0; s < samples; ++s) m_samples[s] = Key(s * kBlock);
    // About one bucket per sample: the smallest shift that leaves fewer
    // buckets than samples (two at least, so that the shift stays below 64)
    // for the span of the keys.
    const std::uint64_t span = samples == 0 ? 0 : Key(m_items.size() - 1) - m_samples.front();
    m_bucketShift = 0;
    while ((span >> m_bucketShift) >= std::max<std::size_t>(samples, 2)) ++m_bucketShift;
    const std::size_t buckets = samples == 0 ? 0 : static_cast<std::size_t>(span >> m_bucketShift) + 1;
    m_buckets.assign(buckets + 1, 0);
    std::size_t sample = 0;
    for (std::size_t b = 0; b <= buckets; ++b) {
        while (sample < samples && ((m_samples[sample] - m_samples.front()) >> m_bucketShift) < b) ++sample;
        m_buckets[b] = static_cast<std::uint32_t>(sample);
    }
    m_built = true;
    m_type = type;
    m_offset = offset;
    m_descending = descending;
    m_writes = writes;
}

std::vector<KeyedRecord> KeyIndex::TakeItems() {
    m_built = false;
    std::vector<KeyedRecord> items;
    items.swap(m_items);
    return items;
}

// A sample of a lower bucket is below key, one of a higher bucket above it;
// only those of key's own bucket are compared.
std::size_t KeyIndex::SamplesBelow(std::uint64_t key) const {
    if (m_samples.empty() || key <= m_samples.front()) return 0;
    const std::uint64_t bucket = (key - m_samples.front()) >> m_bucketShift;
    const std::size_t buckets = m_buckets.size() - 1;
    if (bucket >= buckets) return m_samples.size();
    const std::size_t first = m_buckets[bucket];
    const std::uint64_t *found = FirstNotBelow(m_samples.data() + first, m_buckets[bucket + 1] - first, key,
                                               [](std::uint64_t sample) { return sample; });
    return static_cast<std::size_t>(found - m_samples.data());
}

std::size_t KeyIndex::LowerBound(std::size_t start, std::uint64_t key) const {
    const std::size_t end = std::min(start + kBlock, m_items.size());
    if (start >= end) return start;
    const KeyedRecord *found = FirstNotBelow(m_items.data() + start, end - start, key,
                                             [this](const KeyedRecord &item) { return item.key >> m_shift; });
    return static_cast<std::size_t>(found - m_items.data());
}

std::size_t KeyIndex::LowerBound(std::uint64_t key) const {
    // Sample below - 1 is below key and sample below is not: the lower bound
    // lies after the first and at most at the second.
    const std::size_t below = SamplesBelow(key);
    const std::size_t start = below == 0 ? 0 : kBlock * (below - 1) + 1;
    if (start < m_items.size()) {
        // The block's cache lines (one more than it fills, as it need not
        // start on one) are fetched at once.
        const KeyedRecord *items = m_items.data();
        const std::size_t last = std::min(start + kBlock, m_items.size()) - 1;
        constexpr std::size_t kPerLine = 64 / sizeof(KeyedRecord);
        for (std::size_t at = start; at < start + kBlock; at += kPerLine) {
            __builtin_prefetch(items + std::min(at, last));
        }
        __builtin_prefetch(items + last);
    }
    return LowerBound(start, key);
}

std::size_t KeyIndex::UpperBound(std::uint64_t key) const {
    return key == std::numeric_limits<std::uint64_t>::max() ? m_items.size() : LowerBound(key + 1);
}

}  // namespace quelt
