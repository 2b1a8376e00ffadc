#include <algorithm>
#include <typeinfo>

#include "core/numeric_p.h"
#include "dataset/sortkeys_p.h"
#include "dataset/virtkeys_p.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/dataset/virtdataset.h"

namespace quelt {

using CVirtualCursor = CVirtualDataSet::CVirtualCursor;

namespace {

// Where an insert before the cursor's row goes; a cursor past the end appends.
unsigned InsertRow(int cursorRow, unsigned count) {
    return std::min(static_cast<unsigned>(std::max(cursorRow, 0)), count);
}

}  // namespace

unsigned CVirtualDataSet::PrimaryKeyField() const {
    const std::vector<int> keys = SortKeyFields(*this);
    return keys.empty() ? 0 : static_cast<unsigned>(keys.front());
}

IDataSet::Cursor &CVirtualDataSet::Insert(Cursor &cursor) {
    CVirtualCursor &placed = OwnCursor(cursor);
    if (m_pEditRandom) return InsertRandom(placed, false, cursor);
    if (m_pEditDirectional) return InsertDirectional(placed, false, cursor);
    return cursor;
}

IDataSet::Cursor &CVirtualDataSet::Append(Cursor &cursor) {
    CVirtualCursor &placed = OwnCursor(cursor);
    if (m_pEditRandom) return InsertRandom(placed, true, cursor);
    if (m_pEditDirectional) return InsertDirectional(placed, true, cursor);
    return cursor;
}

// Source records at or after a record inserted in the host move up by one.
void CVirtualDataSet::ShiftAfterInsert(unsigned source) {
    if (m_current >= source) ++m_current;
}

// A host renumbers its records after an erase: what pointed above the erased
// record points one lower.
void CVirtualDataSet::ShiftAfterErase(unsigned source) {
    for (unsigned &entry : m_map) {
        if (entry > source) --entry;
    }
    if (m_current > source) --m_current;
}

// The host's Move takes the record out at from and puts it back at to.
void CVirtualDataSet::ShiftAfterMove(unsigned from, unsigned to) {
    if (m_current == from) {
        m_current = to;
    } else if (from < m_current && m_current <= to) {
        --m_current;
    } else if (to <= m_current && m_current < from) {
        ++m_current;
    }
}

void CVirtualDataSet::Placed(CVirtualCursor &cursor, unsigned inserted, bool append) {
    cursor.Fill();
    if (!append || static_cast<unsigned>(cursor.m_index) != inserted) UpdatesCursorsInsert(&cursor);
    Refill();
    NotifyOnInsertRow();
}

IDataSet::Cursor &CVirtualDataSet::InsertRandom(CVirtualCursor &cursor, bool append, Cursor &handle) {
    const unsigned count = SourceCount();
    const unsigned position = append ? count : InsertRow(cursor.m_index, count);
    if (position >= count || !m_map.empty()) {
        m_pEditRandom->Append();
    } else {
        m_pEditRandom->Insert(position);
        ShiftAfterInsert(position);
    }
    if (!m_map.empty()) m_map.insert(m_map.begin() + position, count);
    m_count = count + 1;
    cursor.m_index = static_cast<int>(KeepOrder(position, PrimaryKeyField()));
    Placed(cursor, position, append);
    return handle;
}

IDataSet::Cursor &CVirtualDataSet::InsertDirectional(CVirtualCursor &cursor, bool append, Cursor &handle) {
    const unsigned count = SourceCount();
    const unsigned position = append ? count : InsertRow(cursor.m_index, count);
    const bool inner = HasInner();
    if (position >= count || inner) {
        if (count > 0) PositionSource(count - 1);
        m_pEditDirectional->Append();
    } else {
        SetCurIterator(static_cast<int>(position));
        const unsigned source = static_cast<unsigned>(m_position);
        m_pEditDirectional->Insert();
        ShiftAfterInsert(source);
    }
    m_count = count + 1;
    cursor.m_index =
        static_cast<int>(inner ? AddInnerRow(position, count) : KeepOrder(position, PrimaryKeyField()));
    Placed(cursor, position, append);
    return handle;
}

// A row for a new source record in the inner data set; returns where it ended.
unsigned CVirtualDataSet::AddInnerRow(unsigned row, unsigned source) {
    Cursor inner = m_pInner->CreateCursor();
    if (row >= m_pInner->GetRecordCount()) {
        m_pInner->Append(inner);
    } else {
        inner += static_cast<int>(row);
        m_pInner->Insert(inner);
    }
    unsigned placed =
        static_cast<unsigned>(static_cast<CMemDataSet::CMemCursor *>(inner.icursor())->GetIterator());
    m_pInner->SetFieldValue(0, placed, SaturatingNarrow<int>(source));
    return placed;
}

unsigned CVirtualDataSet::Move(unsigned from, unsigned to) {
    if (!m_pEditRandom) return to;
    SourceCount();
    CheckRecord(from);
    CheckRecord(to);
    if (m_map.empty()) {
        m_pEditRandom->Move(from, to);
        ShiftAfterMove(from, to);
    } else {
        const unsigned source = m_map[from];
        m_map.erase(m_map.begin() + from);
        m_map.insert(m_map.begin() + to, source);
    }
    const unsigned placed = m_bKeepOrder ? KeepOrder(to, PrimaryKeyField()) : to;
    Refill();
    return placed;
}

IDataSet::Cursor &CVirtualDataSet::Erase(Cursor &cursor) {
    CVirtualCursor &erasing = OwnCursor(cursor);
    if (!erasing.IsValid()) throw std::bad_cast();
    if (!m_pEditRandom && !m_pEditDirectional) return cursor;
    const auto row = static_cast<unsigned>(erasing.m_index);
    const unsigned source = SourceIndex(row);
    if (m_pEditRandom) {
        m_pEditRandom->Erase(source);
        if (!m_map.empty()) m_map.erase(m_map.begin() + row);
    } else {
        const bool inner = HasInner();
        PositionSource(source);
        m_pEditDirectional->Erase();
        if (inner) EraseInnerRow(row, source);
    }
    ShiftAfterErase(source);
    m_count = m_count > 0 ? m_count - 1 : 0;
    UpdatesCursorsDelete(&erasing);
    if (erasing.m_index > 0 && static_cast<unsigned>(erasing.m_index) >= m_count) --erasing.m_index;
    erasing.Fill();
    Refill();
    NotifyOnUpdateGeneral();
    return cursor;
}

void CVirtualDataSet::EraseInnerRow(unsigned row, unsigned source) {
    Cursor inner = m_pInner->CreateCursor();
    inner += static_cast<int>(row);
    m_pInner->Erase(inner);
    for (unsigned r = 0; r < m_pInner->GetRecordCount(); ++r) {
        const int index = SaturatingCast<int>(m_pInner->GetNumeric(0, r));
        if (index <= static_cast<int>(source)) continue;
        unsigned same = r;
        m_pInner->SetFieldValue(0, same, index - 1);
    }
}

void CVirtualDataSet::EraseAll() {
    if (m_pEditRandom) {
        m_pEditRandom->EraseAll();
    } else if (m_pEditDirectional) {
        m_pEditDirectional->EraseAll();
    } else {
        return;
    }
    m_map.clear();
    if (m_pInner) m_pInner->EraseAll();
    DetachCursors(true);
    m_current = 0;
    m_position = 0;
    SourceCount();
}

// Values

void CVirtualDataSet::WriteValue(unsigned fieldIndex, unsigned &recordIndex, const CQueltVariant &value) {
    CVirtFieldBase &field = Prototype(fieldIndex);
    if (!m_pEditRandom && !m_pEditDirectional) return;
    SourceCount();
    CheckRecord(recordIndex);
    if (m_pEditRandom) {
        m_pEditRandom->SetValue(SourceIndex(recordIndex), fieldIndex, value);
        NotifyOnUpdateField(&field);
        recordIndex = KeepOrder(recordIndex, fieldIndex);
        Refill();
        return;
    }
    const bool inner = HasInner();
    SetCurIterator(static_cast<int>(recordIndex));
    m_pEditDirectional->SetValue(fieldIndex, value);
    NotifyOnUpdateField(&field);
    const auto key = std::find(m_innerKeys.begin(), m_innerKeys.end(), static_cast<int>(fieldIndex));
    if (inner && key != m_innerKeys.end()) {
        recordIndex = WriteInnerKey(recordIndex, static_cast<int>(key - m_innerKeys.begin()), fieldIndex);
    } else {
        recordIndex = KeepOrder(recordIndex, fieldIndex);
    }
    Refill();
}

// The inner data set holds what the field reads from the host, so the value
// is read back through the field rather than taken as written.
unsigned CVirtualDataSet::WriteInnerKey(unsigned row, int key, unsigned fieldIndex) {
    CVirtFieldBase &field = Prototype(fieldIndex);
    field.Load(m_pDataDirectional->GetValue(fieldIndex));
    virtkeys::Visit(field,
                    [this, &row, key](const auto &value) { m_pInner->SetFieldValue(key + 1, row, value); });
    return row;
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, void *value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant::FromPointer(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex,
                                    const tdatetimeinterval &value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const ttimeinterval &value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const tdatetime &value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const wchar *value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant::FromWidePointer(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, double value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, float value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int64 value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, short value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

void CVirtualDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, bool value) {
    WriteValue(fieldIndex, recordIndex, CQueltVariant(value));
}

}  // namespace quelt
