#pragma once

// Positions of the cursors and columns of the memory, key and virtual data sets.

#include <algorithm>
#include <typeinfo>

#include "quelt/dataset/fields.h"
#include "quelt/dataset/idataset.h"

namespace quelt::cursors {

// The cursor as one of owner's own kind Own; any other cursor, or one cut
// loose from owner, throws bad_cast. Cursors are nearly always exactly of
// class Own, which comparing the types finds without walking the hierarchy.
template <class Own>
Own &Owned(const IDataSet::ICursor *cursor, const IDataSet *owner) {
    if (!cursor) throw std::bad_cast();
    auto *own =
        typeid(*cursor) == typeid(Own) ? static_cast<const Own *>(cursor) : dynamic_cast<const Own *>(cursor);
    if (!own || own->dataset() != owner) throw std::bad_cast();
    return *const_cast<Own *>(own);
}

// A memory field copy that reads nothing until its cursor binds it.
inline CMemFieldBase *UnboundCopy(const CMemFieldBase &field) {
    CMemFieldBase *copy = field.clone();
    copy->Init(nullptr);
    return copy;
}

// A cursor at or after a record inserted at `at` stays on its record.
template <class Index>
void FollowInsert(Index &index, Index at) {
    if (index >= at) ++index;
}

// A cursor after a record deleted at `at`, or on it, moves one back (not below 0).
template <class Index>
void FollowDelete(Index &index, Index at) {
    if (index >= at && index > 0) --index;
}

// Past the last record, or below the first, a cursor lands on the last record.
inline long long Landing(long long index, long long count) {
    return index < 0 || index >= count ? count - 1 : index;
}

// A column row below the first lands on the first, past the last on the last;
// with no records that is -1.
inline int ClampRow(int row, int count) { return std::min(std::max(row, 0), count - 1); }

}  // namespace quelt::cursors
