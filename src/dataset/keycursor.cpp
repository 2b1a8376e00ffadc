#include <typeinfo>

#include "dataset/cursor_p.h"
#include "dataset/fieldlist_p.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/keydataset.h"

namespace quelt {

using KeyCursor = CKeyDataSet::CMemCursor;

KeyCursor::CMemCursor(CKeyDataSet *dataSet)
    : m_position(dataSet->GetDataStorage().Last()), m_pDataSet(dataSet) {}

// A cursor taken out of its handle with reset() may be deleted directly; the
// data set must not keep tracking it.
KeyCursor::~CMemCursor() {
    if (m_pDataSet) m_pDataSet->ForgetCursor(this);
    ClearFields();
}

void KeyCursor::SetFields(const std::vector<CMemFieldBase *> &fields) {
    fieldlist::AppendCopies(m_fields, fields, cursors::UnboundCopy);
}

void KeyCursor::ClearFields() { fieldlist::DeleteAll(m_fields); }

void KeyCursor::Rebind() {
    if (m_pDataSet) {
        m_pDataSet->GetDataStorage().InitCursor(m_fields, m_position);
        return;
    }
    for (CMemFieldBase *field : m_fields) field->Init(nullptr);
}

void KeyCursor::Place(CMapDataStorage::iterator position) {
    m_position = position;
    Rebind();
}

void KeyCursor::Detach() {
    m_pDataSet = nullptr;
    Rebind();
}

// A step before the smallest key or past the end lands on the end position.
void KeyCursor::Step(long long steps) {
    if (!m_pDataSet) return;
    CMapDataStorage &storage = m_pDataSet->GetDataStorage();
    CMapDataStorage::iterator position = m_position;
    for (; steps > 0 && position != storage.Last(); --steps) ++position;
    for (; steps < 0 && position != storage.First(); ++steps) --position;
    Place(steps == 0 ? position : storage.Last());
}

IDataSet::ICursor &KeyCursor::operator++() {
    Step(1);
    return *this;
}

IDataSet::ICursor &KeyCursor::operator--() {
    Step(-1);
    return *this;
}

IDataSet::ICursor &KeyCursor::operator+=(int n) {
    Step(n);
    return *this;
}

IDataSet::ICursor &KeyCursor::operator-=(int n) {
    Step(-static_cast<long long>(n));
    return *this;
}

bool KeyCursor::operator==(const ICursor &other) const {
    if (&other == this) return true;
    if (!m_pDataSet) throw std::bad_cast();
    return m_pDataSet->OwnCursor(&other).m_position == m_position;
}

IField &KeyCursor::operator[](int index) { return fieldlist::CursorField(m_fields, index); }

const IField &KeyCursor::operator[](int index) const { return const_cast<KeyCursor &>(*this)[index]; }

bool KeyCursor::IsFirst() { return false; }

bool KeyCursor::IsLast() { return false; }

IDataSet::Cursor KeyCursor::clone() {
    if (!m_pDataSet) throw std::bad_cast();
    return m_pDataSet->CursorFrom(*this, 0);
}

IDataSet::ICursor &KeyCursor::MoveTo(const ICursor &other) {
    if (!m_pDataSet) throw std::bad_cast();
    Place(m_pDataSet->OwnCursor(&other).m_position);
    return *this;
}

bool KeyCursor::IsValid() const { return m_pDataSet && m_position != m_pDataSet->GetDataStorage().Last(); }

IDataSet *KeyCursor::dataset() const { return m_pDataSet; }

}  // namespace quelt
