#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "core/wtext_p.h"
#include "dataset/fields_p.h"
#include "dataset/radixsort_p.h"
#include "dataset/sortkeys_p.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/dataset/providers.h"

namespace quelt {

using Storage = CMemDataSet::CVecDataStorage;
using Comparer1 = CMemDataSet::CRecordComparer1;
using ComparerEx = CMemDataSet::CRecordComparerEx;
using Records = std::vector<unsigned char *>;

namespace {

// The same order in three-way form.
template <class T>
int Order(T a, T b) {
    return KeyValueBefore(a, b) ? -1 : KeyValueBefore(b, a) ? 1 : 0;
}

template <class T>
T Cell(const unsigned char *cell) {
    if constexpr (std::is_same_v<T, unsigned char>) {
        return *cell;
    } else {
        return cells::Load<T>(cell);
    }
}

double Days(const unsigned char *cell, IField::Types type) {
    switch (type) {
        case IField::DateTime:
            return cells::DaysOf(cells::Load<tdatetime>(cell));
        case IField::TimeInterval:
            return cells::DaysOf(cells::Load<ttimeinterval>(cell));
        default:
            return cells::DaysOf(cells::Load<tdatetimeinterval>(cell));
    }
}

int CompareText(const wchar *a, const wchar *b, bool caseSensitive) {
    if (!a || !b) return static_cast<int>(a != nullptr) - static_cast<int>(b != nullptr);
    return caseSensitive ? wrt::wcscmp(a, b) : wrt::wcsicmp(a, b);
}

template <class T, bool Descending>
bool KeyBefore(T a, T b) {
    return Descending ? KeyValueBefore(b, a) : KeyValueBefore(a, b);
}

// Int keys as unsigned numbers in the key's order.
template <bool Descending>
std::uint32_t RadixKey(int value) {
    const std::uint32_t key = static_cast<std::uint32_t>(value) ^ 0x80000000u;
    return Descending ? ~key : key;
}

// Up to four code units of a text as a comparison sees them (folded when it
// ignores case), packed so that the integers order like the texts'
// beginnings; the terminator and what follows it pack as zeros. text moves
// past what was packed.
std::uint64_t PackUnits(const wchar *&text, bool caseSensitive) {
    std::uint64_t packed = 0;
    for (int i = 0; i < 4; ++i) {
        const wchar c = text && *text ? *text++ : 0;
        packed = packed << 16 | (caseSensitive ? c : wrt::FoldAscii(c));
    }
    return packed;
}

// An Int key as an unsigned number in the key's order, over the first two
// units of the next key when that is a text (else 0), read with the key
// while the records are visited in memory order so that ties rarely need to
// reach the records.
struct IntItem {
    std::uint64_t key;
    unsigned char *record;
};

// Fetches what the later keys read of tied records some items ahead of the
// run being sorted, as those lie anywhere in memory: in two steps for texts
// (the cell, then the text).
class TiePrefetcher {
  public:
    TiePrefetcher(const std::vector<IntItem> &keyed, const Comparer1 &rest) : m_keyed(keyed), m_rest(rest) {}

    void Reach(std::size_t reached) {
        const std::size_t count = m_keyed.size();
        for (; m_cells < std::min(count, reached + kCellsAhead); ++m_cells) {
            if (Tied(m_cells)) m_rest.Prefetch(m_keyed[m_cells].record, false);
        }
        for (; m_texts < std::min(count, reached + kTextsAhead); ++m_texts) {
            if (Tied(m_texts)) m_rest.Prefetch(m_keyed[m_texts].record, true);
        }
    }

  private:
    static constexpr std::size_t kCellsAhead = 32;
    static constexpr std::size_t kTextsAhead = 16;

    bool Tied(std::size_t i) const {
        const std::uint64_t key = m_keyed[i].key;
        return (i > 0 && m_keyed[i - 1].key == key) || (i + 1 < m_keyed.size() && m_keyed[i + 1].key == key);
    }

    const std::vector<IntItem> &m_keyed;
    const Comparer1 &m_rest;
    std::size_t m_cells = 0;
    std::size_t m_texts = 0;
};

// Sorts the runs of equal keys by the packed units of the next key, then by
// all later keys where those are equal too.
template <bool Descending>
void SortIntTies(std::vector<IntItem> &keyed, bool packed, const Comparer1 &rest) {
    TiePrefetcher ahead(keyed, rest);
    radix::SortRuns(
        keyed, [](const IntItem &a, const IntItem &b) { return a.key >> 32 == b.key >> 32; },
        [&](auto begin, auto end) {
            if (!packed) ahead.Reach(static_cast<std::size_t>(end - keyed.begin()));
            std::sort(begin, end, [&rest](const IntItem &a, const IntItem &b) {
                const auto unitsA = static_cast<std::uint32_t>(a.key);
                const auto unitsB = static_cast<std::uint32_t>(b.key);
                if (unitsA != unitsB) return KeyBefore<std::uint32_t, Descending>(unitsA, unitsB);
                return rest(a.record, b.record);
            });
        });
}

// Int keys sort by their bytes; records with equal keys then go to the later
// keys run by run.
template <bool Descending>
void RadixSortInts(Records &records, int offset, const Storage::SortElement *next, const Comparer1 &rest) {
    const bool nextText = next && next->type == IField::String;
    // Filled field by field: a whole item built aside would be copied
    // through the stack at a stall per item.
    std::vector<IntItem> keyed(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        unsigned char *record = records[i];
        keyed[i].record = record;
        keyed[i].key = std::uint64_t{RadixKey<Descending>(Cell<int>(record + offset))} << 32;
        if (!nextText) continue;
        const wchar *text = cells::CellText(record + next->offset);
        keyed[i].key |= PackUnits(text, next->caseSensitive) >> 32;
    }
    // Eleven-bit digits: three passes at most, two for keys within 2^22.
    radix::RadixSort<3, 11>(keyed, [](const IntItem &item, std::size_t d) {
        return static_cast<std::size_t>((item.key >> (32 + 11 * d)) & 0x7FF);
    });
    if (rest.GetCount() != 0) {
        if (nextText && next->descending) {
            SortIntTies<true>(keyed, nextText, rest);
        } else {
            SortIntTies<false>(keyed, nextText, rest);
        }
    }
    std::transform(keyed.begin(), keyed.end(), records.begin(),
                   [](const IntItem &item) { return item.record; });
}

// The first key's cells, read once, sort next to their records as fast as
// the values alone; the other keys are asked only on ties.
template <class T, bool Descending>
void SortKeyed(std::vector<std::pair<T, unsigned char *>> &keyed, const Comparer1 &rest) {
    using Item = std::pair<T, unsigned char *>;
    if (rest.GetCount() == 0) {
        std::sort(keyed.begin(), keyed.end(),
                  [](const Item &a, const Item &b) { return KeyBefore<T, Descending>(a.first, b.first); });
    } else {
        std::sort(keyed.begin(), keyed.end(), [&rest](const Item &a, const Item &b) {
            if (KeyBefore<T, Descending>(a.first, b.first)) return true;
            if (KeyBefore<T, Descending>(b.first, a.first)) return false;
            return rest(a.second, b.second);
        });
    }
}

template <class T>
void SortByCell(Records &records, const Storage::SortElement &first, const Comparer1 &rest) {
    std::vector<std::pair<T, unsigned char *>> keyed;
    keyed.reserve(records.size());
    for (unsigned char *record : records) keyed.emplace_back(Cell<T>(record + first.offset), record);
    if (first.descending) {
        SortKeyed<T, true>(keyed, rest);
    } else {
        SortKeyed<T, false>(keyed, rest);
    }
    std::transform(keyed.begin(), keyed.end(), records.begin(), [](const auto &item) { return item.second; });
}

// Sorts with a comparer made for the type of a numeric first key; false for
// other types, which go through the general comparer.
bool SortByNumericFirstKey(Records &records, const Storage::SortElement &first,
                           const Storage::SortElement *next, const Comparer1 &rest) {
    switch (first.type) {
        case IField::Bool:
            SortByCell<unsigned char>(records, first, rest);
            return true;
        case IField::Short:
            SortByCell<short>(records, first, rest);
            return true;
        case IField::Int:
            if (first.descending) {
                RadixSortInts<true>(records, first.offset, next, rest);
            } else {
                RadixSortInts<false>(records, first.offset, next, rest);
            }
            return true;
        case IField::Int64:
            SortByCell<int64>(records, first, rest);
            return true;
        case IField::Float:
            SortByCell<float>(records, first, rest);
            return true;
        case IField::Double:
        case IField::DateTime:
        case IField::TimeInterval:
            // The two date-time kinds are a day count in a double.
            SortByCell<double>(records, first, rest);
            return true;
        default:
            return false;
    }
}

// A text key in sixteen bytes: its first four code units packed, then the
// next two over its record's index.
struct TextItem {
    std::uint64_t head;
    std::uint64_t tail;
};

unsigned char *RecordOf(const Records &records, const TextItem &item) {
    return records[item.tail & 0xFFFFFFFFu];
}

// The first five units sort by their bytes (inverted when descending), which
// leaves short runs that share them; those runs sort by the sixth units, and
// only where those are equal too do the whole texts compare, which also
// order null before the empty text, and then the later keys.
template <bool Descending>
void SortTextItems(const Records &records, std::vector<TextItem> &items, int offset, bool caseSensitive,
                   const Comparer1 &rest) {
    radix::RadixSort<10>(items, [](const TextItem &item, std::size_t b) {
        const std::uint64_t word = b < 2 ? item.tail >> 48 : item.head;
        return static_cast<std::size_t>(((Descending ? ~word : word) >> (8 * (b < 2 ? b : b - 2))) & 0xFF);
    });
    const auto before = [&records, &rest, offset, caseSensitive](const TextItem &a, const TextItem &b) {
        if (a.tail >> 32 != b.tail >> 32)
            return KeyBefore<std::uint64_t, Descending>(a.tail >> 32, b.tail >> 32);
        unsigned char *recordA = RecordOf(records, a);
        unsigned char *recordB = RecordOf(records, b);
        const int order =
            CompareText(cells::CellText(recordA + offset), cells::CellText(recordB + offset), caseSensitive);
        if (order != 0) return Descending ? order > 0 : order < 0;
        return rest(recordA, recordB);
    };
    radix::SortRuns(
        items,
        [](const TextItem &a, const TextItem &b) { return a.head == b.head && a.tail >> 48 == b.tail >> 48; },
        [&before](auto begin, auto end) { std::sort(begin, end, before); });
}

void SortByText(Records &records, const Storage::SortElement &first, const Comparer1 &rest) {
    // Filled field by field: a whole item built aside would be copied
    // through the stack at a stall per item.
    std::vector<TextItem> items(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const wchar *text = cells::CellText(records[i] + first.offset);
        items[i].head = PackUnits(text, first.caseSensitive);
        items[i].tail = PackUnits(text, first.caseSensitive) >> 32 << 32 | i;
    }
    if (first.descending) {
        SortTextItems<true>(records, items, first.offset, first.caseSensitive, rest);
    } else {
        SortTextItems<false>(records, items, first.offset, first.caseSensitive, rest);
    }
    // The heads, no longer needed, hold the records until they replace the
    // old order.
    for (TextItem &item : items) item.head = reinterpret_cast<std::uintptr_t>(RecordOf(records, item));
    std::transform(items.begin(), items.end(), records.begin(), [](const TextItem &item) {
        return reinterpret_cast<unsigned char *>(static_cast<std::uintptr_t>(item.head));
    });
}

// Quicksort for comparers that ask the host, which reads the records by their
// current index: the pivot stays at the front of its range while the rest is
// split three ways, so equal keys end a range at once; the smaller part
// recurses and the larger one loops, bounding the depth by log n.
class RuleSort {
  public:
    RuleSort(Records &records, const ComparerEx &comparer) : m_records(records), m_comparer(comparer) {}

    void Sort(std::ptrdiff_t l, std::ptrdiff_t r) {
        while (l < r) {
            std::swap(m_records[Index(l)], m_records[Index(l + (r - l) / 2)]);
            const auto [less, greater] = Partition(l, r);
            if (less - l < r - greater) {
                Sort(l, less);
                l = greater;
            } else {
                Sort(greater, r);
                r = less;
            }
        }
    }

  private:
    static std::size_t Index(std::ptrdiff_t i) { return static_cast<std::size_t>(i); }

    bool GoesBefore(std::ptrdiff_t a, std::ptrdiff_t b) const {
        return m_comparer(m_records[Index(a)], m_records[Index(b)], static_cast<int>(a), static_cast<int>(b));
    }

    // Splits [l, r] around the pivot at l; returns the last index of the part
    // before the pivot and the first index of the part after it.
    std::pair<std::ptrdiff_t, std::ptrdiff_t> Partition(std::ptrdiff_t l, std::ptrdiff_t r) {
        std::ptrdiff_t lt = l + 1;
        std::ptrdiff_t i = l + 1;
        std::ptrdiff_t gt = r;
        while (i <= gt) {
            if (GoesBefore(i, l)) {
                std::swap(m_records[Index(lt++)], m_records[Index(i++)]);
            } else if (GoesBefore(l, i)) {
                std::swap(m_records[Index(i)], m_records[Index(gt--)]);
            } else {
                ++i;
            }
        }
        std::swap(m_records[Index(l)], m_records[Index(lt - 1)]);
        return {lt - 2, gt + 1};
    }

    Records &m_records;
    const ComparerEx &m_comparer;
};

}  // namespace

// Raw comparer

void Comparer1::AddField(IField::Types type, int offset, bool descending, bool caseSensitive) {
    m_types.push_back(type);
    m_offsets.push_back(offset);
    m_descending.push_back(descending);
    m_caseSensitive.push_back(caseSensitive);
}

void Comparer1::Clear() {
    m_types.clear();
    m_offsets.clear();
    m_descending.clear();
    m_caseSensitive.clear();
}

int Comparer1::CompareCells(IField::Types type, const unsigned char *a, const unsigned char *b,
                            bool caseSensitive) {
    switch (type) {
        case IField::Bool:
            return Order(Cell<unsigned char>(a), Cell<unsigned char>(b));
        case IField::Short:
            return Order(Cell<short>(a), Cell<short>(b));
        case IField::Int:
            return Order(Cell<int>(a), Cell<int>(b));
        case IField::Int64:
            return Order(Cell<int64>(a), Cell<int64>(b));
        case IField::Float:
            return Order(Cell<float>(a), Cell<float>(b));
        case IField::Double:
            return Order(Cell<double>(a), Cell<double>(b));
        case IField::DateTime:
        case IField::TimeInterval:
        case IField::DateTimeInterval:
            return Order(Days(a, type), Days(b, type));
        case IField::String:
            return CompareText(cells::CellText(a), cells::CellText(b), caseSensitive);
        default:
            return 0;
    }
}

int Comparer1::CompareKey(std::size_t i, const unsigned char *a, const unsigned char *b) const {
    const int offset = m_offsets[i];
    const int order = CompareCells(m_types[i], a + offset, b + offset, m_caseSensitive[i] != 0);
    return m_descending[i] ? -order : order;
}

bool Comparer1::operator()(const void *a, const void *b) const {
    const auto *recordA = static_cast<const unsigned char *>(a);
    const auto *recordB = static_cast<const unsigned char *>(b);
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        const int order = CompareKey(i, recordA, recordB);
        if (order != 0) return order < 0;
    }
    return false;
}

void Comparer1::Prefetch(const unsigned char *record, bool cellCached) const {
    if (m_types.empty()) return;
    const unsigned char *cell = record + m_offsets[0];
    if (!cellCached) {
        __builtin_prefetch(cell);
    } else if (m_types[0] == IField::String) {
        __builtin_prefetch(cells::CellText(cell));
    }
}

// Rule comparer

void ComparerEx::AddFieldEx(int fieldIndex, int, ISortRule *rule) {
    m_fieldIndices.push_back(fieldIndex);
    m_rules.push_back(rule);
}

bool ComparerEx::operator()(void *a, void *b, int indexA, int indexB) const {
    const auto *recordA = static_cast<const unsigned char *>(a);
    const auto *recordB = static_cast<const unsigned char *>(b);
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        ISortRule *rule = i < m_rules.size() ? m_rules[i] : nullptr;
        const int order = rule ? rule->Compare(m_fieldIndices[i], indexA, indexB, m_descending[i] != 0)
                               : CompareKey(i, recordA, recordB);
        if (order != 0) return order < 0;
    }
    return false;
}

// Field comparer

CMemDataSet::CRecordComparer::~CRecordComparer() { Clear(); }

void CMemDataSet::CRecordComparer::AddField(CMemFieldBase *field, int offset) {
    m_fieldsA.reserve(m_fieldsA.size() + 1);
    m_fieldsB.reserve(m_fieldsB.size() + 1);
    m_offsets.reserve(m_offsets.size() + 1);
    CMemFieldBase *a = field->clone();
    CMemFieldBase *b = nullptr;
    try {
        b = field->clone();
    } catch (...) {
        delete a;
        throw;
    }
    m_fieldsA.push_back(a);
    m_fieldsB.push_back(b);
    m_offsets.push_back(offset);
}

void CMemDataSet::CRecordComparer::Clear() {
    for (CMemFieldBase *field : m_fieldsA) delete field;
    for (CMemFieldBase *field : m_fieldsB) delete field;
    m_fieldsA.clear();
    m_fieldsB.clear();
    m_offsets.clear();
}

namespace {

// Fields compare with their own operator<, which sees a NaN as equal to
// everything; a NaN is placed here so the order stays strict and weak.
bool IsNaN(CMemFieldBase &field) {
    switch (field.GetType()) {
        case IField::Float:
        case IField::Double:
        case IField::DateTime:
        case IField::TimeInterval:
        case IField::DateTimeInterval:
            return std::isnan(static_cast<double>(field));
        default:
            return false;
    }
}

}  // namespace

bool CMemDataSet::CRecordComparer::operator()(const void *a, const void *b) const {
    auto *recordA = static_cast<unsigned char *>(const_cast<void *>(a));
    auto *recordB = static_cast<unsigned char *>(const_cast<void *>(b));
    for (std::size_t i = 0; i < m_offsets.size(); ++i) {
        CMemFieldBase &fieldA = *m_fieldsA[i];
        CMemFieldBase &fieldB = *m_fieldsB[i];
        fieldA.Init(recordA + m_offsets[i]);
        fieldB.Init(recordB + m_offsets[i]);
        const int nan = static_cast<int>(IsNaN(fieldA)) - static_cast<int>(IsNaN(fieldB));
        if (nan != 0) return (nan < 0) != m_descending;
        if (fieldA < fieldB) return !m_descending;
        if (fieldB < fieldA) return m_descending;
    }
    return false;
}

// Storage

unsigned Storage::ConstIndex() const {
    const auto it = std::find(m_records.begin(), m_records.end(), m_constRecord);
    return m_constRecord ? static_cast<unsigned>(it - m_records.begin()) : Size();
}

unsigned Storage::Sort1(const SortElement *entries, int count) {
    const SortElement *end = entries + std::max(count, 0);
    const bool ruled = std::any_of(entries, end, [](const SortElement &key) { return key.rule != nullptr; });
    if (!ruled && count > 0) {
        Comparer1 rest;
        for (const SortElement *key = entries + 1; key != end; ++key) {
            rest.AddField(key->type, key->offset, key->descending, key->caseSensitive);
        }
        const SortElement *next = count > 1 ? entries + 1 : nullptr;
        if (SortByNumericFirstKey(m_records, *entries, next, rest)) return ConstIndex();
        if (entries->type == IField::String) {
            SortByText(m_records, *entries, rest);
            return ConstIndex();
        }
    }
    ComparerEx comparer;
    for (const SortElement *key = entries; key != end; ++key) {
        comparer.AddField(key->type, key->offset, key->descending, key->caseSensitive);
        comparer.AddFieldEx(key->field, key->offset, key->rule);
    }
    if (ruled) {
        comparer.AddStartAddress(m_records.data());
        RuleSort(m_records, comparer).Sort(0, static_cast<std::ptrdiff_t>(m_records.size()) - 1);
    } else {
        const Comparer1 &raw = comparer;
        std::sort(m_records.begin(), m_records.end(), std::cref(raw));
    }
    return ConstIndex();
}

void Storage::Sort(CMemFieldBase *const *fields, const int *offsets, int count, bool descending) {
    CRecordComparer comparer;
    for (int i = 0; i < count; ++i) comparer.AddField(fields[i], offsets[i]);
    comparer.SetDescending(descending);
    std::sort(m_records.begin(), m_records.end(), std::cref(comparer));
}

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
        const T x = Cell<T>(static_cast<const unsigned char *>(a) + offset);
        const T y = Cell<T>(static_cast<const unsigned char *>(b) + offset);
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

// The first index for which pred is false, pred holding for a prefix, as
// std::partition_point finds it. Each halving first fetches what both of its
// possible successors compare, so a search waits on about one miss per
// halving instead of two in a row (pointer, then record).
template <class Pred>
std::size_t PartitionPoint(const Records &records, const Prefetcher &ahead, Pred pred) {
    std::size_t first = 0;
    std::size_t length = records.size();
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

template <class Less>
unsigned Locate(const Records &records, const void *key, Bound bound, int offset, Less less) {
    const Prefetcher ahead(records, offset);
    if (bound == Bound::Next) {
        return static_cast<unsigned>(
            PartitionPoint(records, ahead, [&](const unsigned char *record) { return !less(key, record); }));
    }
    const std::size_t found =
        PartitionPoint(records, ahead, [&](const unsigned char *record) { return less(record, key); });
    if (bound == Bound::Key && (found == records.size() || less(key, records[found])))
        return static_cast<unsigned>(-1);
    return static_cast<unsigned>(found);
}

unsigned Locate(const Records &records, const IField::Types *types, const int *offsets, int count,
                const void *key, const char *descending, const char *caseSensitive, Bound bound) {
    if (count == 1) {
        const int offset = offsets[0];
        const bool down = descending[0] != 0;
        switch (types[0]) {
            case IField::Bool:
                return Locate(records, key, bound, offset, CellLess<unsigned char>{offset, down});
            case IField::Short:
                return Locate(records, key, bound, offset, CellLess<short>{offset, down});
            case IField::Int:
                return Locate(records, key, bound, offset, CellLess<int>{offset, down});
            case IField::Int64:
                return Locate(records, key, bound, offset, CellLess<int64>{offset, down});
            case IField::Float:
                return Locate(records, key, bound, offset, CellLess<float>{offset, down});
            case IField::Double:
            case IField::DateTime:
            case IField::TimeInterval:
                return Locate(records, key, bound, offset, CellLess<double>{offset, down});
            default:
                break;
        }
    }
    const Comparer1 comparer = KeyComparer(types, offsets, count, descending, caseSensitive);
    return Locate(records, key, bound, count > 0 ? offsets[0] : 0, std::cref(comparer));
}

}  // namespace

unsigned Storage::FindNearest(const IField::Types *types, const int *offsets, int count,
                              const void *keyRecord, const char *descending,
                              const char *caseSensitive) const {
    return Locate(m_records, types, offsets, count, keyRecord, descending, caseSensitive, Bound::Nearest);
}

unsigned Storage::FindNext(const IField::Types *types, const int *offsets, int count, const void *keyRecord,
                           const char *descending, const char *caseSensitive) const {
    return Locate(m_records, types, offsets, count, keyRecord, descending, caseSensitive, Bound::Next);
}

unsigned Storage::FindKey(const IField::Types *types, const int *offsets, int count, const void *keyRecord,
                          const char *descending, const char *caseSensitive) const {
    return Locate(m_records, types, offsets, count, keyRecord, descending, caseSensitive, Bound::Key);
}

// Data set

unsigned CMemDataSet::PlaceRecord(unsigned record, const std::vector<SortKey> &keys) {
    std::vector<IField::Types> types;
    std::vector<int> offsets;
    std::vector<char> descending;
    std::vector<char> caseSensitive;
    for (const SortKey &key : keys) {
        types.push_back(key.type);
        offsets.push_back(key.offset);
        descending.push_back(key.descending);
        caseSensitive.push_back(key.caseSensitive);
    }
    unsigned char *taken = m_pStorage->TakeRecord(record);
    const unsigned place =
        m_pStorage->FindNearest(types.data(), offsets.data(), static_cast<int>(keys.size()), taken,
                                descending.data(), caseSensitive.data());
    m_pStorage->InsertRecord(place, taken);
    return place;
}

unsigned CMemDataSet::Sort() {
    std::vector<CVecDataStorage::SortElement> entries;
    for (const SortKey &key : BuildSortKeys()) {
        entries.push_back({key.descending, key.caseSensitive, key.type, key.field, key.offset, key.rule});
    }
    unsigned constIndex = 0;
    try {
        constIndex = m_pStorage->Sort1(entries.data(), static_cast<int>(entries.size()));
    } catch (...) {
        // A host rule threw: the records are in some order, and cursors must show it.
        RebindAll();
        throw;
    }
    RebindAll();
    if (!m_pConstCur) return GetRecordCount();
    m_pConstCur->m_index = constIndex;
    m_pConstCur->Rebind();
    m_pStorage->InitCursor(m_fields, constIndex);
    return constIndex;
}

}  // namespace quelt
