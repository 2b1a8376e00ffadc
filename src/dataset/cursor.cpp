#include <algorithm>
#include <climits>
#include <typeinfo>

#include "dataset/cursor_p.h"
#include "dataset/fieldlist_p.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

using CMemCursor = CMemDataSet::CMemCursor;
using CMemColumn = CMemDataSet::CMemColumn;

// Cursor

CMemCursor::CMemCursor(CMemDataSet *dataSet) : m_pDataSet(dataSet) {}

// A cursor taken out of its handle with reset() may be deleted directly; the
// data set must not keep tracking it.
CMemCursor::~CMemCursor() {
    if (m_pDataSet) m_pDataSet->ForgetCursor(this);
    ClearFields();
}

void CMemCursor::SetFields(const std::vector<CMemFieldBase *> &fields) {
    fieldlist::AppendCopies(m_fields, fields, cursors::UnboundCopy);
}

void CMemCursor::ClearFields() { fieldlist::DeleteAll(m_fields); }

// The fields are clones of the data set's, so their cells are at the data
// set's offsets, which InitCursor would lay out again field by field. None of
// the memory field classes overrides Init, so binding needs no virtual call.
void CMemCursor::Rebind() {
    if (!m_pDataSet) {
        for (CMemFieldBase *field : m_fields) field->BindCell(nullptr);
        return;
    }
    const std::vector<int> &offsets = m_pDataSet->m_offsets;
    if (offsets.size() != m_fields.size()) {
        m_pDataSet->m_pStorage->InitCursor(m_fields, m_index);
        return;
    }
    unsigned char *record = m_pDataSet->m_pStorage->GetAddress(m_index);
    if (!record) {
        for (CMemFieldBase *field : m_fields) field->BindCell(nullptr);
        return;
    }
    for (std::size_t i = 0; i < m_fields.size(); ++i) m_fields[i]->BindCell(record + offsets[i]);
}

void CMemCursor::Detach() {
    m_pDataSet = nullptr;
    Rebind();
}

void CMemCursor::InitFields() {
    for (CMemFieldBase *field : m_fields) field->InitMemory();
}

void CMemCursor::DestroyFields() {
    for (CMemFieldBase *field : m_fields) field->DestroyMemory();
}

void CMemCursor::UpdateAfterInsert(const CMemCursor &other) { cursors::FollowInsert(m_index, other.m_index); }

void CMemCursor::UpdateAfterDelete(const CMemCursor &other) { cursors::FollowDelete(m_index, other.m_index); }

// A negative target counts as past the last record, as the unsigned index has it.
// Every step of a walk comes here: Rebind is inlined, so the record count is
// read once for the landing and the address.
[[gnu::flatten]] void CMemCursor::MoveIndex(long long index) {
    if (!m_pDataSet) return;
    m_index = static_cast<unsigned>(cursors::Landing(index, m_pDataSet->m_pStorage->Size()));
    Rebind();
}

IDataSet::ICursor &CMemCursor::operator++() {
    MoveIndex(static_cast<long long>(m_index) + 1);
    return *this;
}

IDataSet::ICursor &CMemCursor::operator+=(int n) {
    MoveIndex(static_cast<long long>(m_index) + n);
    return *this;
}

IDataSet::ICursor &CMemCursor::operator--() { return *this -= 1; }

IDataSet::ICursor &CMemCursor::operator-=(int n) {
    if (n < 0) {
        MoveIndex(static_cast<long long>(m_index) - static_cast<long long>(n));
        return *this;
    }
    if (!m_pDataSet) return *this;
    m_index = static_cast<unsigned>(n) > m_index ? 0 : m_index - static_cast<unsigned>(n);
    Rebind();
    return *this;
}

bool CMemCursor::operator==(const ICursor &other) const {
    if (&other == this) return true;
    if (!m_pDataSet) throw std::bad_cast();
    return m_pDataSet->OwnCursor(&other).m_index == m_index;
}

IField &CMemCursor::operator[](int index) { return fieldlist::CursorField(m_fields, index); }

const IField &CMemCursor::operator[](int index) const { return const_cast<CMemCursor &>(*this)[index]; }

bool CMemCursor::IsFirst() { return m_pDataSet && m_index == 0; }

bool CMemCursor::IsLast() { return m_pDataSet && m_index + 1 == m_pDataSet->GetRecordCount(); }

IDataSet::Cursor CMemCursor::clone() {
    if (!m_pDataSet) throw std::bad_cast();
    return m_pDataSet->CursorFrom(*this, 0);
}

IDataSet::ICursor &CMemCursor::MoveTo(const ICursor &other) {
    if (!m_pDataSet) throw std::bad_cast();
    m_index = m_pDataSet->OwnCursor(&other).m_index;
    Rebind();
    return *this;
}

bool CMemCursor::IsValid() const { return m_pDataSet && m_index < m_pDataSet->GetRecordCount(); }

IDataSet *CMemCursor::dataset() const { return m_pDataSet; }

// Column

CMemColumn::CMemColumn(CMemDataSet *dataSet, int fieldIndex)
    : m_pDataSet(dataSet),
      m_offset(dataSet->GetFieldShift(fieldIndex)),
      m_pField(cursors::UnboundCopy(*dataSet->GetCloneField(fieldIndex))),
      m_fieldIndex(fieldIndex),
      m_pPrototype(dataSet->GetCloneField(fieldIndex)) {}

CMemColumn::~CMemColumn() {
    if (m_pDataSet) m_pDataSet->ForgetColumn(this);
    delete m_pField;
}

IField &CMemColumn::Reach(int record) const {
    if (!m_pDataSet) return *m_pField;
    const CMemDataSet::CVecDataStorage &storage = *m_pDataSet->m_pStorage;
    m_record = cursors::ClampRow(record, static_cast<int>(storage.Size()));
    unsigned char *address = storage.GetAddress(static_cast<unsigned>(m_record));
    m_pField->BindCell(address ? address + m_offset : nullptr);
    return *m_pField;
}

bool CMemColumn::Follow() {
    const auto &fields = m_pDataSet->m_fields;
    const auto it = std::find(fields.begin(), fields.end(), m_pPrototype);
    if (it == fields.end()) return false;
    m_fieldIndex = static_cast<int>(it - fields.begin());
    m_offset = m_pDataSet->GetFieldShift(m_fieldIndex);
    CMemFieldBase *copy = (*it)->clone();
    delete m_pField;
    m_pField = copy;
    Reach(m_record);
    return true;
}

void CMemColumn::Detach() {
    m_pDataSet = nullptr;
    m_pField->Init(nullptr);
}

IField &CMemColumn::operator[](int record) { return Reach(record); }

const IField &CMemColumn::operator[](int record) const { return Reach(record); }

IField &CMemColumn::Prev() { return Reach(m_record - 1); }

IField &CMemColumn::Next() { return Reach(m_record == INT_MAX ? m_record : m_record + 1); }

IField &CMemColumn::First() { return Reach(0); }

IField &CMemColumn::Last() { return Reach(GetSize() - 1); }

IField &CMemColumn::Get() { return Reach(m_record); }

bool CMemColumn::IsBOF() { return m_record == 0; }

bool CMemColumn::IsEOF() { return m_record == GetSize() - 1; }

int CMemColumn::GetSize() const { return m_pDataSet ? static_cast<int>(m_pDataSet->GetRecordCount()) : 0; }

int CMemColumn::GetIndex() const { return m_fieldIndex; }

IDataSet *CMemColumn::dataset() const { return m_pDataSet; }

}  // namespace quelt
