#include <algorithm>
#include <numeric>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "core/numeric_p.h"
#include "core/wtext_p.h"
#include "dataset/fields_p.h"
#include "dataset/radixsort_p.h"
#include "dataset/sortkeys_p.h"
#include "dataset/virtkeys_p.h"
#include "quelt/dataset/comparers.h"
#include "quelt/dataset/fastwriter.h"
#include "quelt/dataset/virtdataset.h"

namespace quelt {

namespace {

// Raw access lasts as long as one library sort or search, whatever it throws.
class RawAccess {
  public:
    explicit RawAccess(bool &flag) : m_flag(flag) { m_flag = true; }
    ~RawAccess() { m_flag = false; }
    RawAccess(const RawAccess &) = delete;
    RawAccess &operator=(const RawAccess &) = delete;

  private:
    bool &m_flag;
};

// Two values of a key in the order the memory data sets give their cells.
template <class V>
int Order(IField::Types type, const V &a, const V &b, bool caseSensitive) {
    unsigned char cellA[sizeof(V)];
    unsigned char cellB[sizeof(V)];
    cells::Store(cellA, a);
    cells::Store(cellB, b);
    return CMemDataSet::CRecordComparer1::CompareCells(type, cellA, cellB, caseSensitive);
}

// The key types CComparer reads through GetNumeric.
bool IsNumber(IField::Types type) {
    switch (type) {
        case IField::Bool:
        case IField::Short:
        case IField::Int:
        case IField::Int64:
        case IField::Float:
        case IField::Double:
            return true;
        default:
            return false;
    }
}

}  // namespace

// Comparer

void CVirtualDataSet::CComparer::InsertField(int position, IField::Types type, int fieldIndex,
                                             bool descending, bool caseSensitive) {
    const auto at = static_cast<std::ptrdiff_t>(std::clamp(position, 0, static_cast<int>(m_types.size())));
    m_types.insert(m_types.begin() + at, type);
    m_fields.insert(m_fields.begin() + at, fieldIndex);
    m_descending.insert(m_descending.begin() + at, descending);
    m_caseSensitive.insert(m_caseSensitive.begin() + at, caseSensitive);
}

int CVirtualDataSet::CComparer::CompareKey(std::size_t key, unsigned a, unsigned b) const {
    CVirtualDataSet &ds = *m_pDataSet;
    const auto field = static_cast<unsigned>(m_fields[key]);
    const bool caseSensitive = m_caseSensitive[key] != 0;
    const IField::Types type = m_types[key];
    switch (type) {
        case IField::Bool:
        case IField::Short:
        case IField::Int:
        case IField::Int64:
        case IField::Float:
        case IField::Double:
            return Order(IField::Double, ds.GetNumeric(field, a), ds.GetNumeric(field, b), caseSensitive);
        case IField::String: {
            const wstring textA = ds.GetString(field, a);
            const wstring textB = ds.GetString(field, b);
            return Order(type, textA.c_str(), textB.c_str(), caseSensitive);
        }
        case IField::DateTime:
            return Order(type, ds.GetDateTime(field, a), ds.GetDateTime(field, b), caseSensitive);
        case IField::TimeInterval:
            return Order(type, ds.GetTimeInterval(field, a), ds.GetTimeInterval(field, b), caseSensitive);
        case IField::DateTimeInterval:
            return Order(type, ds.GetDateTimeInterval(field, a), ds.GetDateTimeInterval(field, b),
                         caseSensitive);
        default:
            return 0;
    }
}

bool CVirtualDataSet::CComparer::operator()(unsigned a, unsigned b) const {
    for (std::size_t key = 0; key < m_types.size(); ++key) {
        const int order = CompareKey(key, a, b);
        if (order != 0) return (order < 0) != (m_descending[key] != 0);
    }
    return false;
}

CVirtualDataSet::CComparer CVirtualDataSet::KeyComparer(const std::vector<int> &keys) {
    CComparer comparer(*this);
    for (const int index : keys) {
        const CVirtFieldBase &field = *m_fields[static_cast<unsigned>(index)];
        comparer.InsertField(static_cast<int>(comparer.m_types.size()), field.GetType(), index,
                             field.GetSortType() == IField::Descending, field.IsSortCaseSensitive());
    }
    return comparer;
}

// Sorting

void CVirtualDataSet::DropInner() {
    if (m_pInner) DeleteMemDataSet(m_pInner);
    m_pInner = nullptr;
    m_innerKeys.clear();
}

void CVirtualDataSet::DropOrder() {
    m_map.clear();
    DropInner();
}

unsigned CVirtualDataSet::Sort() {
    if (m_pSort) {
        for (const int index : SortKeyFields(*this)) {
            const CVirtFieldBase &field = *m_fields[static_cast<unsigned>(index)];
            m_pSort->AddSortField(index, field.GetSortIndex(), field.GetSortType() == IField::Descending,
                                  field.IsSortCaseSensitive());
        }
        unsigned current = m_current;
        if (m_pSort->Sort(current)) {
            m_current = current;
            DropOrder();
            SourceCount();
            if (IsRandom()) InitCursor(m_fields, static_cast<int>(current));
            Refill();
            return current;
        }
    }
    if (IsRandom()) return SortIndexMap();
    if (m_pDataDirectional) return SortInner();
    return GetRecordCount();
}

unsigned CVirtualDataSet::SortIndexMap() {
    // A comparison that throws (a host failure, a date that cannot be read)
    // may leave the sort's range with a record twice and another lost, so the
    // map is replaced only by a finished sort. Records the keys find equal
    // keep the order shown now.
    std::vector<unsigned> order(SourceCount());
    std::iota(order.begin(), order.end(), 0u);
    if (!m_map.empty()) order = m_map;
    const std::vector<int> keys = SortKeyFields(*this);
    const CComparer comparer = KeyComparer(keys);
    {
        const RawAccess raw(m_bRaw);
        if (!keys.empty() && IsNumber(comparer.m_types.front())) {
            // A number key is read once per record and sorted by its bytes;
            // the later keys decide its ties as before.
            const auto field = static_cast<unsigned>(keys.front());
            const bool descending = comparer.m_descending.front() != 0;
            const CComparer rest = KeyComparer(std::vector<int>(keys.begin() + 1, keys.end()));
            std::vector<std::pair<std::uint64_t, unsigned>> keyed;
            keyed.reserve(order.size());
            for (const unsigned record : order) {
                const std::uint64_t key = radix::OrderedBits(GetNumeric(field, record));
                keyed.emplace_back(descending ? ~key : key, record);
            }
            radix::RadixSort<8>(keyed, [](const auto &item, std::size_t b) {
                return static_cast<std::size_t>((item.first >> (8 * b)) & 0xFF);
            });
            if (!rest.m_types.empty()) {
                radix::SortRuns(
                    keyed, [](const auto &a, const auto &b) { return a.first == b.first; },
                    [&rest](auto begin, auto end) {
                        radix::StableSort(begin, end, [&rest](const auto &a, const auto &b) {
                            return rest(a.second, b.second);
                        });
                    });
            }
            std::transform(keyed.begin(), keyed.end(), order.begin(),
                           [](const auto &item) { return item.second; });
        } else {
            std::stable_sort(order.begin(), order.end(), std::cref(comparer));
        }
    }
    m_map.swap(order);
    Refill();
    return static_cast<unsigned>(std::find(m_map.begin(), m_map.end(), m_current) - m_map.begin());
}

unsigned CVirtualDataSet::SortInner() {
    if (!m_pInner) {
        IMemDataSet *made = CreateMemDataSet();
        m_pInner = dynamic_cast<CMemDataSet *>(made);
        if (!m_pInner) {
            DeleteMemDataSet(made);
            throw std::bad_cast();
        }
    }
    // The source records in the order shown now, for ties to keep.
    std::vector<unsigned> shown;
    for (unsigned r = 0; r < m_pInner->GetRecordCount(); ++r) {
        shown.push_back(static_cast<unsigned>(m_pInner->GetNumeric(0, r)));
    }
    m_pInner->Clear();
    m_innerKeys = SortKeyFields(*this);
    m_pInner->AddField(u"index"_w, IField::Int);
    // Key k is inner column k + 1, named and ranked by its place among the keys.
    for (std::size_t k = 0; k < m_innerKeys.size(); ++k) {
        const CVirtFieldBase &field = *m_fields[static_cast<unsigned>(m_innerKeys[k])];
        m_pInner->AddField(wrt::format("%d", static_cast<int>(k)), field.GetType());
        const IField &key = *m_pInner->GetField(static_cast<int>(k + 1));
        key.SetSortType(field.GetSortType());
        key.SetSortIndex(static_cast<int>(k));
        key.SetIsSortCaseSensitive(field.IsSortCaseSensitive());
    }
    unsigned count = 0;
    try {
        count = LoadInner();
    } catch (...) {
        // Half the records would be addressed through rows and half directly.
        DropInner();
        throw;
    }
    ShowInnerAs(shown);
    Cursor current = m_pInner->CreateCursor();
    if (m_current < count) {
        current += static_cast<int>(m_current);
        m_pInner->SetConstCur(current);
    }
    const unsigned result = m_pInner->Sort();
    m_pInner->SetKeepOrder(m_bKeepOrder);
    // The find fields are matched against the new keys afresh.
    m_bFindOutsideInner = false;
    for (std::size_t i = 0; i < m_findFields.size(); ++i) AddInnerFind(i);
    Refill();
    return result;
}

void CVirtualDataSet::ShowInnerAs(const std::vector<unsigned> &shown) {
    std::vector<unsigned char *> &records = m_pInner->GetDataStorage().Records();
    if (shown.size() != records.size()) return;
    std::vector<unsigned char *> reordered(records.size());
    std::vector<bool> taken(records.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        // Loaded in source order, record s is source record s.
        const unsigned source = shown[i];
        if (source >= records.size() || taken[source]) return;
        taken[source] = true;
        reordered[i] = records[source];
    }
    records.swap(reordered);
}

unsigned CVirtualDataSet::LoadInner() {
    const unsigned count = SourceCount();
    IFastWriter *writer = m_pInner->CreateFastWriter();
    try {
        const RawAccess raw(m_bRaw);
        for (unsigned r = 0; r < count; ++r) {
            PositionSource(r);
            writer->AddRecord();
            writer->SetField(0, SaturatingNarrow<int>(r));
            for (std::size_t k = 0; k < m_innerKeys.size(); ++k) {
                const auto index = static_cast<unsigned>(m_innerKeys[k]);
                CVirtFieldBase &field = *m_fields[index];
                field.Load(m_pDataDirectional->GetValue(index));
                const int column = static_cast<int>(k + 1);
                virtkeys::Visit(field, [writer, column](const auto &value) {
                    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, wstring>) {
                        writer->SetField(column, value.c_str());
                    } else {
                        writer->SetField(column, value);
                    }
                });
            }
        }
    } catch (...) {
        m_pInner->DeleteFastWriter(writer);
        throw;
    }
    m_pInner->DeleteFastWriter(writer);
    return count;
}

void CVirtualDataSet::SetConstCur(Cursor &cursor) {
    const CVirtualCursor &current = OwnCursor(cursor);
    m_current = SourceIndex(static_cast<unsigned>(std::max(current.m_index, 0)));
    if (m_pSort) m_pSort->SetCurrentRecord(m_current);
}

void CVirtualDataSet::SetKeepOrder(bool keepOrder) {
    m_bKeepOrder = keepOrder;
    if (m_pInner) m_pInner->SetKeepOrder(keepOrder);
}

bool CVirtualDataSet::IsKeepOrder() { return m_bKeepOrder; }

unsigned CVirtualDataSet::KeepOrder(unsigned record, unsigned field) {
    if (!m_bKeepOrder || !m_pDataRandom || !m_pEditRandom || !m_pFind) return record;
    if (SourceCount() < 2) return record;
    const std::vector<int> keys = SortKeyFields(*this);
    if (std::find(keys.begin(), keys.end(), static_cast<int>(field)) == keys.end()) return record;
    const unsigned source = SourceIndex(record);
    m_pFind->ClearFindFields();
    for (const int index : keys) {
        const CVirtFieldBase &key = *m_fields[static_cast<unsigned>(index)];
        m_pFind->AddFindField(index, m_pDataRandom->GetValue(source, static_cast<unsigned>(index)),
                              key.GetSortType() == IField::Descending, key.IsSortCaseSensitive());
    }
    if (!m_map.empty()) {
        // The record itself is the key its new place is searched by.
        m_map.erase(m_map.begin() + record);
        const CComparer comparer = KeyComparer(keys);
        std::vector<unsigned>::iterator place;
        try {
            const RawAccess raw(m_bRaw);
            place = std::lower_bound(m_map.begin(), m_map.end(), source, std::cref(comparer));
        } catch (...) {
            // A comparison failed: the record stays where it was.
            m_map.insert(m_map.begin() + record, source);
            throw;
        }
        const auto position = static_cast<unsigned>(place - m_map.begin());
        m_map.insert(place, source);
        return position;
    }
    const int nearest = m_pFind->FindNearest();
    if (nearest < 0) return record;
    const unsigned last = m_count - 1;
    const unsigned to = std::min(record < static_cast<unsigned>(nearest) ? static_cast<unsigned>(nearest) - 1
                                                                         : static_cast<unsigned>(nearest),
                                 last);
    if (to != record) {
        m_pEditRandom->Move(record, to);
        ShiftAfterMove(record, to);
    }
    return to;
}

// Searching

void CVirtualDataSet::AddInnerFind(std::size_t entry) {
    const auto key = std::find(m_innerKeys.begin(), m_innerKeys.end(), m_findFields[entry]);
    if (key == m_innerKeys.end()) {
        m_bFindOutsideInner = true;
        return;
    }
    m_pInner->AddFindField(static_cast<int>(key - m_innerKeys.begin()) + 1, m_findValues[entry],
                           m_findDescending[entry] != 0, m_findCaseSensitive[entry] != 0);
}

namespace {

// A find value outlives the call, the caller's text may not: text behind a
// pointer is kept as a copy. A BLOB key keeps its block pointer, which is
// never read as text.
CQueltVariant Kept(const CQueltVariant &value, IField::Types type) {
    const int code = value.GetType();
    if (code != CQueltVariant::WidePointer && (code != CQueltVariant::Pointer || type == IField::BLOB)) {
        return value;
    }
    CQueltVariant copy(value.GetString());
    copy.SetFormat(value.GetFormat());
    return copy;
}

}  // namespace

void CVirtualDataSet::AddFindField(int fieldIndex, const CQueltVariant &value, bool descending,
                                   bool caseSensitive) {
    const IField::Types type = Prototype(static_cast<unsigned>(fieldIndex)).GetType();
    if (m_pFind) m_pFind->AddFindField(fieldIndex, value, descending, caseSensitive);
    m_findFields.push_back(fieldIndex);
    m_findValues.push_back(Kept(value, type));
    m_findDescending.push_back(descending);
    m_findCaseSensitive.push_back(caseSensitive);
    if (m_map.empty() && HasInner()) AddInnerFind(m_findFields.size() - 1);
}

void CVirtualDataSet::ClearFindFields() {
    if (m_pFind) m_pFind->ClearFindFields();
    m_findFields.clear();
    m_findValues.clear();
    m_findDescending.clear();
    m_findCaseSensitive.clear();
    m_bFindOutsideInner = false;
    if (m_pInner) m_pInner->ClearFindFields();
}

bool CVirtualDataSet::FindKey(Cursor &cursor) { return Find(FindKind::Key, cursor); }

bool CVirtualDataSet::FindNearest(Cursor &cursor) { return Find(FindKind::Nearest, cursor); }

bool CVirtualDataSet::FindNext(Cursor &cursor) { return Find(FindKind::Next, cursor); }

bool CVirtualDataSet::Find(FindKind kind, Cursor &cursor) {
    SourceCount();
    if (m_pFind && m_map.empty() && !HasInner()) {
        const int found = kind == FindKind::Key       ? m_pFind->FindKey()
                          : kind == FindKind::Nearest ? m_pFind->FindNearest()
                                                      : m_pFind->FindNext();
        return found >= 0 && PlaceFound(cursor, found);
    }
    if (!m_map.empty()) return FindInMap(kind, cursor);
    if (HasInner()) return FindInInner(kind, cursor);
    return false;
}

bool CVirtualDataSet::FindInMap(FindKind kind, Cursor &cursor) {
    CComparer comparer(*this);
    for (std::size_t i = 0; i < m_findFields.size(); ++i) {
        const int index = m_findFields[i];
        comparer.InsertField(static_cast<int>(i), m_fields[static_cast<unsigned>(index)]->GetType(), index,
                             m_findDescending[i] != 0, m_findCaseSensitive[i] != 0);
    }
    std::vector<unsigned>::iterator found;
    {
        const RawAccess raw(m_bRaw);
        found = kind == FindKind::Next
                    ? std::upper_bound(m_map.begin(), m_map.end(), SearchKey, std::cref(comparer))
                    : std::lower_bound(m_map.begin(), m_map.end(), SearchKey, std::cref(comparer));
        if (kind == FindKind::Key && (found == m_map.end() || comparer(SearchKey, *found))) return false;
    }
    return PlaceFound(cursor, found - m_map.begin());
}

bool CVirtualDataSet::FindInInner(FindKind kind, Cursor &cursor) {
    if (m_bFindOutsideInner) return false;
    Cursor inner = m_pInner->CreateCursor();
    const bool found = kind == FindKind::Key       ? m_pInner->FindKey(inner)
                       : kind == FindKind::Nearest ? m_pInner->FindNearest(inner)
                                                   : m_pInner->FindNext(inner);
    if (!found) return false;
    const auto *row = dynamic_cast<const CMemDataSet::CMemCursor *>(inner.icursor());
    if (!row) throw std::bad_cast();
    return PlaceFound(cursor, row->GetIterator());
}

// A position past the records leaves the cursor on the last one.
bool CVirtualDataSet::PlaceFound(Cursor &cursor, long long position) {
    CVirtualCursor &found = OwnCursor(cursor);
    found.m_index = 0;
    found.MoveIndex(position);
    return true;
}

}  // namespace quelt
