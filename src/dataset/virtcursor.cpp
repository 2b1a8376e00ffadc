#include <algorithm>
#include <climits>
#include <typeinfo>

#include "dataset/cursor_p.h"
#include "dataset/fieldlist_p.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/virtdataset.h"

namespace quelt {

using CVirtualCursor = CVirtualDataSet::CVirtualCursor;
using CVirtualColumn = CVirtualDataSet::CVirtualColumn;

namespace {

// Copies for cursors and columns: writes to them change only the copy.
CVirtFieldBase *LooseClone(const CVirtFieldBase &field) {
    CVirtFieldBase *copy = field.clone();
    copy->SetOwner(nullptr);
    return copy;
}

}  // namespace

// Cursor

CVirtualCursor::CVirtualCursor(CVirtualDataSet *dataSet) : m_pDataSet(dataSet) {}

// A cursor taken out of its handle with reset() may be deleted directly; the
// data set must not keep tracking it.
CVirtualCursor::~CVirtualCursor() {
    if (m_pDataSet) m_pDataSet->ForgetCursor(this);
    ClearFields();
}

void CVirtualCursor::SetFields(const std::vector<CVirtFieldBase *> &fields) {
    fieldlist::AppendCopies(m_fields, fields, LooseClone);
}

void CVirtualCursor::ClearFields() { fieldlist::DeleteAll(m_fields); }

// A random source loads every field on each move; a directional one loads a
// field when it is read, so moving costs the host nothing.
void CVirtualCursor::Fill() {
    if (m_pDataSet && m_pDataSet->IsRandom()) m_pDataSet->InitCursor(m_fields, m_index);
}

void CVirtualCursor::Detach() { m_pDataSet = nullptr; }

void CVirtualCursor::UpdateAfterInsert(const CVirtualCursor &other) {
    cursors::FollowInsert(m_index, other.m_index);
}

void CVirtualCursor::UpdateAfterDelete(const CVirtualCursor &other) {
    cursors::FollowDelete(m_index, other.m_index);
}

void CVirtualCursor::MoveIndex(long long index) {
    if (!m_pDataSet) return;
    m_index = static_cast<int>(cursors::Landing(index, m_pDataSet->GetRecordCount()));
    Fill();
}

IDataSet::ICursor &CVirtualCursor::operator++() {
    MoveIndex(static_cast<long long>(m_index) + 1);
    return *this;
}

IDataSet::ICursor &CVirtualCursor::operator+=(int n) {
    MoveIndex(static_cast<long long>(m_index) + n);
    return *this;
}

IDataSet::ICursor &CVirtualCursor::operator--() { return *this -= 1; }

IDataSet::ICursor &CVirtualCursor::operator-=(int n) {
    if (n < 0) {
        MoveIndex(static_cast<long long>(m_index) - static_cast<long long>(n));
        return *this;
    }
    if (!m_pDataSet) return *this;
    // Every move re-reads the source's count, so the index map follows the host
    // even where the count does not bound the move.
    static_cast<void>(m_pDataSet->GetRecordCount());
    m_index = static_cast<int>(std::max(static_cast<long long>(m_index) - n, 0LL));
    Fill();
    return *this;
}

bool CVirtualCursor::operator==(const ICursor &other) const {
    if (&other == this) return true;
    if (!m_pDataSet) throw std::bad_cast();
    return m_pDataSet->OwnCursor(&other).m_index == m_index;
}

IField &CVirtualCursor::operator[](int index) {
    CVirtFieldBase &field = fieldlist::CursorField(m_fields, index);
    if (m_pDataSet && !m_pDataSet->IsRandom()) m_pDataSet->InitField(&field, m_index, index);
    return field;
}

const IField &CVirtualCursor::operator[](int index) const {
    return const_cast<CVirtualCursor &>(*this)[index];
}

bool CVirtualCursor::IsFirst() { return m_pDataSet && m_index == 0; }

bool CVirtualCursor::IsLast() {
    if (!m_pDataSet) return false;
    const unsigned count = m_pDataSet->GetRecordCount();
    return count == 0 || static_cast<long long>(m_index) + 1 == count;
}

IDataSet::Cursor CVirtualCursor::clone() {
    if (!m_pDataSet) throw std::bad_cast();
    return m_pDataSet->CursorFrom(*this, 0);
}

IDataSet::ICursor &CVirtualCursor::MoveTo(const ICursor &other) {
    if (!m_pDataSet) throw std::bad_cast();
    m_index = m_pDataSet->OwnCursor(&other).m_index;
    Fill();
    return *this;
}

bool CVirtualCursor::IsValid() const {
    return m_pDataSet && m_index >= 0 && static_cast<unsigned>(m_index) < m_pDataSet->GetRecordCount();
}

IDataSet *CVirtualCursor::dataset() const { return m_pDataSet; }

// Column

CVirtualColumn::CVirtualColumn(CVirtualDataSet *dataSet, int fieldIndex)
    : m_pDataSet(dataSet),
      m_shift(dataSet->GetFieldShift(fieldIndex)),
      m_pField(LooseClone(*dataSet->GetCloneField(fieldIndex))),
      m_fieldIndex(fieldIndex),
      m_pPrototype(dataSet->GetCloneField(fieldIndex)) {}

CVirtualColumn::~CVirtualColumn() {
    if (m_pDataSet) m_pDataSet->ForgetColumn(this);
    delete m_pField;
}

IField &CVirtualColumn::Reach(int row) const {
    if (!m_pDataSet) return *m_pField;
    m_row = cursors::ClampRow(row, static_cast<int>(m_pDataSet->GetRecordCount()));
    m_pDataSet->InitField(m_pField, m_row, m_fieldIndex);
    return *m_pField;
}

bool CVirtualColumn::Follow() {
    const auto &fields = m_pDataSet->m_fields;
    const auto it = std::find(fields.begin(), fields.end(), m_pPrototype);
    if (it == fields.end()) return false;
    m_fieldIndex = static_cast<int>(it - fields.begin());
    m_shift = m_pDataSet->GetFieldShift(m_fieldIndex);
    CVirtFieldBase *copy = LooseClone(**it);
    delete m_pField;
    m_pField = copy;
    Reach(m_row);
    return true;
}

void CVirtualColumn::Detach() { m_pDataSet = nullptr; }

IField &CVirtualColumn::operator[](int row) { return Reach(row); }

const IField &CVirtualColumn::operator[](int row) const { return Reach(row); }

IField &CVirtualColumn::Prev() { return Reach(m_row - 1); }

IField &CVirtualColumn::Next() { return Reach(m_row == INT_MAX ? m_row : m_row + 1); }

IField &CVirtualColumn::First() { return Reach(0); }

IField &CVirtualColumn::Last() { return Reach(INT_MAX); }

IField &CVirtualColumn::Get() { return Reach(m_row); }

bool CVirtualColumn::IsBOF() { return m_row == 0; }

bool CVirtualColumn::IsEOF() { return m_row == GetSize() - 1; }

// The source's count, read afresh as the rows are clamped against it.
int CVirtualColumn::GetSize() const {
    return m_pDataSet ? static_cast<int>(m_pDataSet->GetRecordCount()) : 0;
}

int CVirtualColumn::GetIndex() const { return m_fieldIndex; }

IDataSet *CVirtualColumn::dataset() const { return m_pDataSet; }

}  // namespace quelt
