#include <algorithm>
#include <cstdint>
#include <functional>

#include "dataset/fields_p.h"
#include "dataset/keyindex_p.h"
#include "dataset/sortkeys_p.h"
#include "quelt/dataset/comparers.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

using Storage = CMemDataSet::CVecDataStorage;
using Comparer1 = CMemDataSet::CRecordComparer1;
using Records = std::vector<unsigned char *>;

namespace {

Comparer1 KeyComparer(const IField::Types *types, const int *offsets, int count, const char *descending,
                      const char *caseSensitive) {
    Comparer1 comparer;
    for (int i = 0; i < count; ++i) {
        comparer.AddField(types[i], offsets[i], descending[i] != 0, caseSensitive[i] != 0);
    }
    return comparer;
}

// One numeric key read as its type: the order of Comparer1 without building one.
template <class T>
struct CellLess {
    int offset;
    bool descending;
    bool operator()(const void *a, const void *b) const {
        const T x = cells::Load<T>(static_cast<const unsigned char *>(a) + offset);
        const T y = cells::Load<T>(static_cast<const unsigned char *>(b) + offset);
        return descending ? KeyValueBefore(y, x) : KeyValueBefore(x, y);
    }
};

enum class Bound { Nearest, Next, Key };

// Asks the memory for what a binary search over part of the records will
// read: the key cells of the middle records of the range and of its halves,
// and the record pointers in the middle of the quarters after them.
class Prefetcher {
  public:
    Prefetcher(const Records &records, int offset) : m_records(records), m_offset(offset) {}

    void Range(std::size_t first, std::size_t length, int cellDepth = 2) const {
        if (length == 0) return;
        const std::size_t half = length / 2;
        if (cellDepth == 0) {
            __builtin_prefetch(&m_records[first + half]);
            return;
        }
        __builtin_prefetch(m_records[first + half] + m_offset);
        Range(first, half, cellDepth - 1);
        Range(first + half + 1, length - half - 1, cellDepth - 1);
    }

  private:
    const Records &m_records;
    int m_offset;
};

// The first index in [first, last) for which pred is false, pred holding
// for a prefix, as std::partition_point finds it. Each halving first
// fetches what both of its possible successors compare, so a search waits on
// about one miss per halving instead of two in a row (pointer, then record).
template <class Pred>
std::size_t PartitionPoint(const Records &records, std::size_t first, std::size_t last,
                           const Prefetcher &ahead, Pred pred) {
    std::size_t length = last - first;
    while (length > 0) {
        const std::size_t half = length / 2;
        ahead.Range(first, half);
        ahead.Range(first + half + 1, length - half - 1);
        if (pred(records[first + half])) {
            first += half + 1;
            length -= half + 1;
        } else {
            length = half;
        }
    }
    return first;
}

// The search over records [first, last), outside which every record's keys
// are before the key (below first) or after it (from last on).
template <class Less>
unsigned Locate(const Records &records, std::size_t first, std::size_t last, const void *key, Bound bound,
                int offset, Less less) {
    const Prefetcher ahead(records, offset);
    if (bound == Bound::Next) {
        return static_cast<unsigned>(PartitionPoint(
            records, first, last, ahead, [&](const unsigned char *record) { return !less(key, record); }));
    }
    const std::size_t found = PartitionPoint(records, first, last, ahead,
                                             [&](const unsigned char *record) { return less(record, key); });
    if (bound == Bound::Key && (found == last || less(key, records[found]))) return static_cast<unsigned>(-1);
    return static_cast<unsigned>(found);
}

// The layout finds the records whose first key equals the key's; the later
// keys are searched among those records only.
unsigned LocateIndexed(const Records &records, const KeyIndex &index, const IField::Types *types,
                       const int *offsets, int count, const void *key, const char *descending,
                       const char *caseSensitive, Bound bound) {
    const auto *cell = static_cast<const unsigned char *>(key) + offsets[0];
    const std::uint64_t probe = OrderedKey(types[0], cell, descending[0] != 0);
    const std::size_t lower = index.LowerBound(probe);
    // The caller reads the record found next and its pointer among the
    // records: both are fetched at once, as the record's address came with
    // its key.
    if (lower < records.size()) {
        __builtin_prefetch(index.Record(lower));
        __builtin_prefetch(records.data() + lower);
    }
    if (count == 1 && bound == Bound::Nearest) return static_cast<unsigned>(lower);
    if (count == 1 && bound == Bound::Key) {
        return lower < records.size() && index.Key(lower) == probe ? static_cast<unsigned>(lower)
                                                                   : static_cast<unsigned>(-1);
    }
    const std::size_t upper = index.UpperBound(probe);
    if (count == 1) return static_cast<unsigned>(upper);
    const Comparer1 comparer = KeyComparer(types, offsets, count, descending, caseSensitive);
    return Locate(records, lower, upper, key, bound, offsets[0], std::cref(comparer));
}

unsigned Locate(const Records &records, const KeyIndex *index, const IField::Types *types, const int *offsets,
                int count, const void *key, const char *descending, const char *caseSensitive, Bound bound) {
    if (index)
        return LocateIndexed(records, *index, types, offsets, count, key, descending, caseSensitive, bound);
    const std::size_t all = records.size();
    if (count == 1) {
        const int offset = offsets[0];
        const bool down = descending[0] != 0;
        switch (types[0]) {
            case IField::Bool:
                return Locate(records, 0, all, key, bound, offset, CellLess<unsigned char>{offset, down});
            case IField::Short:
                return Locate(records, 0, all, key, bound, offset, CellLess<short>{offset, down});
            case IField::Int:
                return Locate(records, 0, all, key, bound, offset, CellLess<int>{offset, down});
            case IField::Int64:
                return Locate(records, 0, all, key, bound, offset, CellLess<int64>{offset, down});
            case IField::Float:
                return Locate(records, 0, all, key, bound, offset, CellLess<float>{offset, down});
            case IField::Double:
            case IField::DateTime:
            case IField::TimeInterval:
                return Locate(records, 0, all, key, bound, offset, CellLess<double>{offset, down});
            default:
                break;
        }
    }
    const Comparer1 comparer = KeyComparer(types, offsets, count, descending, caseSensitive);
    return Locate(records, 0, all, key, bound, count > 0 ? offsets[0] : 0, std::cref(comparer));
}

}  // namespace

const KeyIndex *Storage::Layout(const IField::Types *types, const int *offsets, int count,
                                const char *descending) const {
    if (count < 1 || !m_index) return nullptr;
    return m_index->Serves(types[0], offsets[0], descending[0] != 0, m_writes) ? m_index.get() : nullptr;
}

unsigned Storage::FindNearest(const IField::Types *types, const int *offsets, int count,
                              const void *keyRecord, const char *descending,
                              const char *caseSensitive) const {
    return Locate(m_records, Layout(types, offsets, count, descending), types, offsets, count, keyRecord,
                  descending, caseSensitive, Bound::Nearest);
}

unsigned Storage::FindNext(const IField::Types *types, const int *offsets, int count, const void *keyRecord,
                           const char *descending, const char *caseSensitive) const {
    return Locate(m_records, Layout(types, offsets, count, descending), types, offsets, count, keyRecord,
                  descending, caseSensitive, Bound::Next);
}

unsigned Storage::FindKey(const IField::Types *types, const int *offsets, int count, const void *keyRecord,
                          const char *descending, const char *caseSensitive) const {
    return Locate(m_records, Layout(types, offsets, count, descending), types, offsets, count, keyRecord,
                  descending, caseSensitive, Bound::Key);
}

// Data set

void CMemDataSet::AddFindField(int fieldIndex, const CQueltVariant &value, bool descending,
                               bool caseSensitive) {
    const IField::Types type = Prototype(static_cast<unsigned>(fieldIndex)).GetType();
    const int offset = m_offsets[static_cast<unsigned>(fieldIndex)];
    const std::size_t recordSize = m_pStorage->GetRecordSize();
    if (m_keyRecord.size() < recordSize) m_keyRecord.resize(recordSize);
    unsigned char *cell = m_keyRecord.data() + offset;
    // Each value is converted before its cell is written: a value that cannot
    // become a date leaves the key record and the lists as they were.
    switch (type) {
        case IField::Bool:
            cells::Store(cell, value.GetBool());
            break;
        case IField::Short:
            cells::Store(cell, value.GetShort());
            break;
        case IField::Int:
            cells::Store(cell, value.GetInt());
            break;
        case IField::Int64:
            cells::Store(cell, value.GetInt64());
            break;
        case IField::Float:
            cells::Store(cell, value.GetFloat());
            break;
        case IField::Double:
            cells::Store(cell, value.GetDouble());
            break;
        case IField::String:
            cells::StoreText(m_alloc, cell, value.GetString().c_str());
            break;
        case IField::DateTime:
            cells::Store(cell, value.GetDateTime());
            break;
        case IField::TimeInterval:
            cells::Store(cell, value.GetTimeInterval());
            break;
        case IField::DateTimeInterval:
            cells::Store(cell, value.GetDateTimeInterval());
            break;
        default:
            break;
    }
    m_findTypes.push_back(type);
    m_findOffsets.push_back(offset);
    m_findDescending.push_back(descending);
    m_findCaseSensitive.push_back(caseSensitive);
}

void CMemDataSet::ClearFindFields() {
    // Key texts go back to the pool; a repeated search does not grow it.
    for (std::size_t i = 0; i < m_findTypes.size(); ++i) {
        if (m_findTypes[i] == IField::String) cells::FreeText(m_alloc, m_keyRecord.data() + m_findOffsets[i]);
    }
    m_findTypes.clear();
    m_findOffsets.clear();
    m_findDescending.clear();
    m_findCaseSensitive.clear();
    std::fill(m_keyRecord.begin(), m_keyRecord.end(), 0);
}

void CMemDataSet::ForgetFindTexts() {
    for (std::size_t i = 0; i < m_findTypes.size(); ++i) {
        if (m_findTypes[i] == IField::String) {
            cells::Store(m_keyRecord.data() + m_findOffsets[i], static_cast<wchar *>(nullptr));
        }
    }
}

// A search answers at most the record count; past the last record the
// cursor lands on the last one, as a move there would.
bool CMemDataSet::PlaceFound(Cursor &cursor, unsigned index) {
    CMemCursor &found = OwnCursor(cursor);
    const unsigned count = m_pStorage->Size();
    found.m_index = index < count || count == 0 ? index : count - 1;
    found.Rebind();
    return true;
}

bool CMemDataSet::FindKey(Cursor &cursor) {
    const unsigned index =
        m_pStorage->FindKey(m_findTypes.data(), m_findOffsets.data(), static_cast<int>(m_findTypes.size()),
                            m_keyRecord.data(), m_findDescending.data(), m_findCaseSensitive.data());
    return index != static_cast<unsigned>(-1) && PlaceFound(cursor, index);
}

bool CMemDataSet::FindNearest(Cursor &cursor) {
    return PlaceFound(cursor,
                      m_pStorage->FindNearest(m_findTypes.data(), m_findOffsets.data(),
                                              static_cast<int>(m_findTypes.size()), m_keyRecord.data(),
                                              m_findDescending.data(), m_findCaseSensitive.data()));
}

bool CMemDataSet::FindNext(Cursor &cursor) {
    return PlaceFound(cursor, m_pStorage->FindNext(m_findTypes.data(), m_findOffsets.data(),
                                                   static_cast<int>(m_findTypes.size()), m_keyRecord.data(),
                                                   m_findDescending.data(), m_findCaseSensitive.data()));
}

}  // namespace quelt
