#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <tuple>
#include <type_traits>
#include <utility>

#include "core/wtext_p.h"
#include "dataset/fields_p.h"
#include "dataset/keyindex_p.h"
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

// Fetches what the later keys read of tied records some items ahead of the
// run being sorted, as those lie anywhere in memory: in two steps for texts
// (the cell, then the text).
class TiePrefetcher {
  public:
    TiePrefetcher(const std::vector<KeyedRecord> &keyed, const Comparer1 &rest)
        : m_keyed(keyed), m_rest(rest) {}

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

    const std::vector<KeyedRecord> &m_keyed;
    const Comparer1 &m_rest;
    std::size_t m_cells = 0;
    std::size_t m_texts = 0;
};

// Sorts the runs of items whose keys are equal under the shift by the later
// keys, stably: the radix passes left every run in the records' previous
// order. Where the Int key carries the next text's first units (packed),
// those decide first.
template <bool Descending>
void SortTies(std::vector<KeyedRecord> &keyed, int shift, bool packed, const Comparer1 &rest) {
    TiePrefetcher ahead(keyed, rest);
    radix::SortRuns(
        keyed,
        [shift](const KeyedRecord &a, const KeyedRecord &b) { return a.key >> shift == b.key >> shift; },
        [&](auto begin, auto end) {
            if (!packed) ahead.Reach(static_cast<std::size_t>(end - keyed.begin()));
            radix::StableSort(begin, end, [&rest, packed](const KeyedRecord &a, const KeyedRecord &b) {
                const auto unitsA = static_cast<std::uint32_t>(a.key);
                const auto unitsB = static_cast<std::uint32_t>(b.key);
                if (packed && unitsA != unitsB) return KeyBefore<std::uint32_t, Descending>(unitsA, unitsB);
                return rest(a.record, b.record);
            });
        });
}

// The records in their sorted order.
void TakeSorted(const std::vector<KeyedRecord> &keyed, Records &records) {
    std::transform(keyed.begin(), keyed.end(), records.begin(),
                   [](const KeyedRecord &item) { return item.record; });
}

// Int keys sort by their bytes; records with equal keys then go to the later
// keys run by run.
template <bool Descending>
void RadixSortInts(Records &records, int offset, const Storage::SortElement *next, const Comparer1 &rest,
                   std::vector<KeyedRecord> &keyed) {
    const bool nextText = next && next->type == IField::String;
    // Filled field by field: a whole item built aside would be copied
    // through the stack at a stall per item.
    keyed.resize(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        unsigned char *record = records[i];
        keyed[i].record = record;
        keyed[i].key = OrderedKey(Cell<int>(record + offset), Descending) << 32;
        if (!nextText) continue;
        const wchar *text = cells::CellText(record + next->offset);
        keyed[i].key |= PackUnits(text, next->caseSensitive) >> 32;
    }
    // Eleven-bit digits: three passes at most, two for keys within 2^22.
    radix::RadixSort<3, 11>(keyed, [](const KeyedRecord &item, std::size_t d) {
        return static_cast<std::size_t>((item.key >> (32 + 11 * d)) & 0x7FF);
    });
    if (rest.GetCount() != 0) {
        if (nextText && next->descending) {
            SortTies<true>(keyed, 32, nextText, rest);
        } else {
            SortTies<false>(keyed, 32, nextText, rest);
        }
    }
    TakeSorted(keyed, records);
}

// Other numeric keys sort by their ordered form in eleven-bit digits; the
// digits every key shares (the upper ones of short keys among them) cost
// no pass.
template <class T>
void RadixSortNumbers(Records &records, const Storage::SortElement &first, const Comparer1 &rest,
                      std::vector<KeyedRecord> &keyed) {
    keyed.resize(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        keyed[i].record = records[i];
        keyed[i].key = OrderedKey(Cell<T>(records[i] + first.offset), first.descending);
    }
    radix::RadixSort<6, 11>(keyed, [](const KeyedRecord &item, std::size_t d) {
        return static_cast<std::size_t>((item.key >> (11 * d)) & 0x7FF);
    });
    if (rest.GetCount() != 0) SortTies<false>(keyed, 0, false, rest);
    TakeSorted(keyed, records);
}

// Sorts by a numeric first key, leaving in keyed the records in their new
// order with their keys; false for other types, which go through the
// general comparer.
bool SortByNumericFirstKey(Records &records, const Storage::SortElement &first,
                           const Storage::SortElement *next, const Comparer1 &rest,
                           std::vector<KeyedRecord> &keyed) {
    switch (first.type) {
        case IField::Bool:
            RadixSortNumbers<unsigned char>(records, first, rest, keyed);
            return true;
        case IField::Short:
            RadixSortNumbers<short>(records, first, rest, keyed);
            return true;
        case IField::Int:
            if (first.descending) {
                RadixSortInts<true>(records, first.offset, next, rest, keyed);
            } else {
                RadixSortInts<false>(records, first.offset, next, rest, keyed);
            }
            return true;
        case IField::Int64:
            RadixSortNumbers<int64>(records, first, rest, keyed);
            return true;
        case IField::Float:
            RadixSortNumbers<float>(records, first, rest, keyed);
            return true;
        case IField::Double:
        case IField::DateTime:
        case IField::TimeInterval:
            // The two date-time kinds are a day count in a double.
            RadixSortNumbers<double>(records, first, rest, keyed);
            return true;
        default:
            return false;
    }
}

// Six code units of a text key from some depth on, and the index of its
// record, in sixteen bytes: units depth..depth+3 in head, the next two over
// the index in tail.
struct TextItem {
    std::uint64_t head;
    std::uint64_t tail;
};

std::size_t IndexOf(const TextItem &item) { return static_cast<std::size_t>(item.tail & 0xFFFFFFFFu); }

std::uint64_t Window(const TextItem &item) { return item.tail >> 32; }

inline void Pack(TextItem &item, const wchar *text, bool caseSensitive) {
    item.head = PackUnits(text, caseSensitive);
    item.tail = PackUnits(text, caseSensitive) >> 32 << 32 | (item.tail & 0xFFFFFFFFu);
}

bool SameUnits(const TextItem &a, const TextItem &b) { return a.head == b.head && Window(a) == Window(b); }

// The last of the six units is zero only once the text has ended, and
// texts that share all six then are equal.
bool Ended(const TextItem &item) { return (item.tail >> 32 & 0xFFFF) == 0; }

// Byte b of the six units, counted from the least significant of the last,
// inverted when descending so that ascending bytes give the key's order.
template <bool Descending>
std::size_t UnitByte(const TextItem &item, std::size_t b) {
    const std::uint64_t word = b < 4 ? Window(item) : item.head;
    return static_cast<std::size_t>(((Descending ? ~word : word) >> (8 * (b < 4 ? b : b - 4))) & 0xFF);
}

// Sorts text keys most significant units first: the items are sorted by
// their six units, and every run that shares them, unless its texts have
// ended, takes the next six units and is sorted again, so ties on the first
// units never fall back to comparing whole texts. Every sort is stable (by
// radix or with the record's index, which is its previous place, as the last
// criterion), so records equal on every key keep their order.
template <bool Descending>
class TextSorter {
  public:
    TextSorter(const Records &records, std::vector<TextItem> &items, const Storage::SortElement &key,
               const Comparer1 &rest)
        : m_records(records), m_items(items), m_key(key), m_rest(rest) {}

    void Sort() {
        // The first five units by radix: the sixth, which all-distinct keys
        // rarely need, is left to the short runs that share five.
        radix::RadixSort<10>(
            m_items, [](const TextItem &item, std::size_t b) { return UnitByte<Descending>(item, b + 2); });
        std::vector<Run> runs;
        radix::SortRuns(
            m_items,
            [](const TextItem &a, const TextItem &b) {
                return a.head == b.head && a.tail >> 48 == b.tail >> 48;
            },
            [&](auto begin, auto end) {
                runs.push_back(
                    {Position(&*begin), Position(&*begin) + static_cast<std::size_t>(end - begin)});
            });
        // Depth after depth: the runs of one depth are sorted, and the ties
        // that go on are refilled together.
        std::vector<Run> next;
        for (std::size_t depth = 0; !runs.empty(); depth += 6) {
            next.clear();
            for (const Run &run : runs) SortRun(run, depth, next);
            Refill(next, depth + 6);
            runs.swap(next);
        }
    }

  private:
    // Items [begin, end) share the units before the depth and hold the six after.
    struct Run {
        std::size_t begin;
        std::size_t end;
    };

    // Runs this long sort by radix; shorter ones by comparison.
    static constexpr std::size_t kRadixRun = 1024;
    // How far ahead a refill fetches the record pointer, the cell and the text.
    static constexpr std::ptrdiff_t kPointerAhead = 24;
    static constexpr std::ptrdiff_t kCellAhead = 16;
    static constexpr std::ptrdiff_t kTextAhead = 8;

    std::size_t Position(const TextItem *item) const {
        return static_cast<std::size_t>(item - m_items.data());
    }

    unsigned char *RecordOf(const TextItem &item) const { return m_records[IndexOf(item)]; }
    const wchar *TextOf(std::size_t index) const { return cells::CellText(m_records[index] + m_key.offset); }
    const wchar *TextOf(const TextItem &item) const { return TextOf(IndexOf(item)); }

    static bool Before(const TextItem &a, const TextItem &b) {
        if (a.head != b.head) return KeyBefore<std::uint64_t, Descending>(a.head, b.head);
        if (Window(a) != Window(b)) return KeyBefore<std::uint64_t, Descending>(Window(a), Window(b));
        return IndexOf(a) < IndexOf(b);
    }

    // Sorts items by their six units, then by index.
    void Order(TextItem *first, TextItem *last) {
        // Runs of one text, common where keys have few values, are in order.
        if (std::all_of(first + 1, last, [first](const TextItem &item) { return SameUnits(*first, item); }))
            return;
        if (static_cast<std::size_t>(last - first) < kRadixRun) {
            std::sort(first, last, [](const TextItem &a, const TextItem &b) { return Before(a, b); });
            return;
        }
        if (!m_scratch) m_scratch.reset(new TextItem[m_items.size()]);
        TextItem *scratch = m_scratch.get() + (first - m_items.data());
        const auto byte = [](const TextItem &item, std::size_t b) { return UnitByte<Descending>(item, b); };
        if (radix::RadixSortInto<12>(first, last, scratch, byte))
            std::copy(scratch, scratch + (last - first), first);
    }

    // Sorts the run, settles the ties whose texts have ended and hands on
    // the others.
    void SortRun(const Run &run, std::size_t depth, std::vector<Run> &next) {
        TextItem *first = m_items.data() + run.begin;
        TextItem *last = m_items.data() + run.end;
        Order(first, last);
        for (TextItem *tie = first; tie != last;) {
            TextItem *end =
                std::find_if(tie + 1, last, [tie](const TextItem &item) { return !SameUnits(*tie, item); });
            if (end - tie > 1) {
                if (Ended(*tie)) {
                    SortEqualTexts(tie, end, depth == 0 && tie->head == 0);
                } else {
                    next.push_back({Position(tie), Position(end)});
                }
            }
            tie = end;
        }
    }

    // The six units from depth on of the runs' texts, which all go on past
    // depth. When they are many, the records are read in index order (as a
    // record's place says where its item is), which reads them, and often
    // their texts, in memory order; else item by item, fetching ahead what
    // the next items read, over the end of the run since the next run often
    // follows.
    void Refill(const std::vector<Run> &runs, std::size_t depth) {
        std::size_t count = 0;
        for (const Run &run : runs) count += run.end - run.begin;
        if (count == 0) return;
        if (count >= m_items.size() / 4) {
            RefillInIndexOrder(runs, depth);
            return;
        }
        const int offset = m_key.offset;
        const TextItem *end = m_items.data() + m_items.size();
        for (const Run &run : runs) {
            for (TextItem *item = m_items.data() + run.begin; item != m_items.data() + run.end; ++item) {
                if (end - item > kPointerAhead) __builtin_prefetch(&m_records[IndexOf(item[kPointerAhead])]);
                if (end - item > kCellAhead) __builtin_prefetch(RecordOf(item[kCellAhead]) + offset);
                if (end - item > kTextAhead) __builtin_prefetch(TextOf(item[kTextAhead]));
                Pack(*item, TextOf(*item) + depth, m_key.caseSensitive);
            }
        }
    }

    void RefillInIndexOrder(const std::vector<Run> &runs, std::size_t depth) {
        constexpr std::uint32_t kNone = 0xFFFFFFFFu;
        std::vector<std::uint32_t> place(m_records.size(), kNone);
        for (const Run &run : runs) {
            for (std::size_t p = run.begin; p != run.end; ++p)
                place[IndexOf(m_items[p])] = static_cast<std::uint32_t>(p);
        }
        for (std::size_t index = 0; index < place.size(); ++index) {
            if (place[index] == kNone) continue;
            TextItem &item = m_items[place[index]];
            const wchar *text = TextOf(index) + depth;
            item.head = PackUnits(text, m_key.caseSensitive);
            item.tail = PackUnits(text, m_key.caseSensitive) >> 32 << 32 | index;
        }
    }

    // Equal texts go by the later keys; the empty ones put null before the
    // empty text. The items are in their previous order.
    void SortEqualTexts(TextItem *first, TextItem *last, bool empty) {
        if (!empty && m_rest.GetCount() == 0) return;
        radix::StableSort(first, last, [this, empty](const TextItem &a, const TextItem &b) {
            unsigned char *recordA = RecordOf(a);
            unsigned char *recordB = RecordOf(b);
            if (empty) {
                const int order = CompareText(cells::CellText(recordA + m_key.offset),
                                              cells::CellText(recordB + m_key.offset), true);
                if (order != 0) return Descending ? order > 0 : order < 0;
            }
            return m_rest(recordA, recordB);
        });
    }

    const Records &m_records;
    std::vector<TextItem> &m_items;
    const Storage::SortElement &m_key;
    const Comparer1 &m_rest;
    // Where the radix passes of long runs move the items, made on the first.
    std::unique_ptr<TextItem[]> m_scratch;
};

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
        TextSorter<true>(records, items, first, rest).Sort();
    } else {
        TextSorter<false>(records, items, first, rest).Sort();
    }
    // The heads, no longer needed, hold the records until they replace the
    // old order.
    for (TextItem &item : items) item.head = reinterpret_cast<std::uintptr_t>(records[IndexOf(item)]);
    std::transform(items.begin(), items.end(), records.begin(), [](const TextItem &item) {
        return reinterpret_cast<unsigned char *>(static_cast<std::uintptr_t>(item.head));
    });
}

// Quicksort for comparers that ask the host, which reads the records by their
// current index: the pivot stays at the front of its range while the rest is
// split three ways, so equal keys end a range at once; the smaller part
// recurses and the larger one loops, bounding the depth by log n. The
// records' previous places move along with them, and the records equal to a
// pivot go back into their previous order, so the sort is stable without
// asking the host more.
class RuleSort {
  public:
    RuleSort(Records &records, const ComparerEx &comparer)
        : m_records(records), m_comparer(comparer), m_places(records.size()) {
        std::iota(m_places.begin(), m_places.end(), std::size_t{0});
    }

    void Sort(std::ptrdiff_t l, std::ptrdiff_t r) {
        while (l < r) {
            Swap(l, l + (r - l) / 2);
            const auto [less, greater] = Partition(l, r);
            Restore(less + 1, greater);
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

    void Swap(std::ptrdiff_t a, std::ptrdiff_t b) {
        std::swap(m_records[Index(a)], m_records[Index(b)]);
        std::swap(m_places[Index(a)], m_places[Index(b)]);
    }

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
                Swap(lt++, i++);
            } else if (GoesBefore(l, i)) {
                Swap(i, gt--);
            } else {
                ++i;
            }
        }
        Swap(l, lt - 1);
        return {lt - 2, gt + 1};
    }

    // Puts the records of [first, end), equal on every key, in their previous order.
    void Restore(std::ptrdiff_t first, std::ptrdiff_t end) {
        if (end - first < 2) return;
        std::vector<std::pair<std::size_t, unsigned char *>> equal;
        for (std::ptrdiff_t i = first; i < end; ++i)
            equal.emplace_back(m_places[Index(i)], m_records[Index(i)]);
        std::sort(equal.begin(), equal.end());
        for (std::ptrdiff_t i = first; i < end; ++i) {
            std::tie(m_places[Index(i)], m_records[Index(i)]) = equal[Index(i - first)];
        }
    }

    Records &m_records;
    const ComparerEx &m_comparer;
    std::vector<std::size_t> m_places;
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
    ++m_writes;
    if (!ruled && count > 0) {
        Comparer1 rest;
        for (const SortElement *key = entries + 1; key != end; ++key) {
            rest.AddField(key->type, key->offset, key->descending, key->caseSensitive);
        }
        const SortElement *next = count > 1 ? entries + 1 : nullptr;
        // The last layout's items are the new sort's, their memory reused.
        if (!m_index) m_index = std::make_unique<KeyIndex>();
        std::vector<KeyedRecord> keyed = m_index->TakeItems();
        if (SortByNumericFirstKey(m_records, *entries, next, rest, keyed)) {
            // Int keys sit in the upper half of the items' keys.
            const int shift = entries->type == IField::Int ? 32 : 0;
            m_index->Build(std::move(keyed), shift, entries->type, entries->offset, entries->descending,
                           m_writes);
            return ConstIndex();
        }
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
        std::stable_sort(m_records.begin(), m_records.end(), std::cref(raw));
    }
    return ConstIndex();
}

void Storage::Sort(CMemFieldBase *const *fields, const int *offsets, int count, bool descending) {
    CRecordComparer comparer;
    for (int i = 0; i < count; ++i) comparer.AddField(fields[i], offsets[i]);
    comparer.SetDescending(descending);
    ++m_writes;
    std::stable_sort(m_records.begin(), m_records.end(), std::cref(comparer));
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
