#include "quelt/dataset/idataset.h"

#include "quelt/core/exceptions.h"

namespace quelt {

IField::~IField() = default;

IField &IField::operator=(const IField &) { return *this; }

IField &IField::operator=(const wstring &value) { return *this = value.c_str(); }

void IMemoryField::InitMemory() {}

void IMemoryField::DestroyMemory() {}

IDataSet::Column IDataSet::CreateColumnByName(const wstring &name) {
    return CreateColumn(GetFieldIndex(name));
}

IDataSet::ICursor::~ICursor() = default;

bool IDataSet::ICursor::operator!=(const ICursor &other) const { return !(*this == other); }

IField &IDataSet::ICursor::operator[](const wstring &name) {
    IDataSet *ds = dataset();
    if (!ds) throw FieldNotFound();
    return (*this)[ds->GetFieldIndex(name)];
}

const IField &IDataSet::ICursor::operator[](const wstring &name) const {
    const IDataSet *ds = dataset();
    if (!ds) throw FieldNotFound();
    return (*this)[ds->GetFieldIndex(name)];
}

IDataSet::IColumn::~IColumn() = default;

// Cursor handle

void IDataSet::Cursor::ThrowEmpty() { throw BadCursor(); }

void IDataSet::Cursor::release() {
    if (!m_p) return;
    if (IDataSet *ds = m_p->dataset()) ds->DeleteCursor(*this);
    delete reset();
}

IDataSet::Cursor &IDataSet::Cursor::operator=(const Cursor &other) {
    if (&other == this) return *this;
    release();
    m_p = other.reset();
    return *this;
}

IDataSet::Cursor::~Cursor() { release(); }

IDataSet::Cursor &IDataSet::Cursor::operator--() {
    --get();
    return *this;
}

IDataSet::Cursor &IDataSet::Cursor::operator+=(int n) {
    get() += n;
    return *this;
}

IDataSet::Cursor &IDataSet::Cursor::operator-=(int n) {
    get() -= n;
    return *this;
}

bool IDataSet::Cursor::operator==(const Cursor &other) const {
    if (&other == this) return true;
    return get() == other.get();
}

bool IDataSet::Cursor::operator!=(const Cursor &other) const { return !(*this == other); }

IField &IDataSet::Cursor::operator[](const wstring &name) { return get()[name]; }

const IField &IDataSet::Cursor::operator[](const wstring &name) const {
    const ICursor &c = get();
    return c[name];
}

bool IDataSet::Cursor::IsFirst() { return get().IsFirst(); }

bool IDataSet::Cursor::IsLast() { return get().IsLast(); }

IDataSet::Cursor IDataSet::Cursor::clone() { return get().clone(); }

IDataSet::Cursor &IDataSet::Cursor::MoveTo(const Cursor &other) {
    get().MoveTo(other.get());
    return *this;
}

IDataSet::Cursor &IDataSet::Cursor::First() {
    if (IDataSet *ds = get().dataset()) MoveTo(ds->First());
    return *this;
}

IDataSet::Cursor &IDataSet::Cursor::Last() {
    if (IDataSet *ds = get().dataset()) MoveTo(ds->Last());
    return *this;
}

IDataSet *IDataSet::Cursor::dataset() const { return get().dataset(); }

// Column handle

void IDataSet::Column::ThrowEmpty() { throw BadCursor(); }

IDataSet::Column &IDataSet::Column::operator=(const Column &other) {
    if (&other == this) return *this;
    delete m_p;
    m_p = other.reset();
    return *this;
}

IDataSet::Column::~Column() { delete m_p; }

IField &IDataSet::Column::Prev() { return get().Prev(); }

IField &IDataSet::Column::Next() { return get().Next(); }

IField &IDataSet::Column::First() { return get().First(); }

IField &IDataSet::Column::Last() { return get().Last(); }

IField &IDataSet::Column::Get() { return get().Get(); }

bool IDataSet::Column::IsBOF() { return get().IsBOF(); }

bool IDataSet::Column::IsEOF() { return get().IsEOF(); }

int IDataSet::Column::GetSize() const { return get().GetSize(); }

int IDataSet::Column::GetIndex() const { return get().GetIndex(); }

IDataSet *IDataSet::Column::dataset() const { return get().dataset(); }

IEditableDataSet::~IEditableDataSet() = default;

void IEditableDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const wstring &value) {
    SetFieldValue(fieldIndex, recordIndex, value.c_str());
}

IFastWriter::~IFastWriter() = default;

CDataSetNotify::CDataSetNotify() = default;
CDataSetNotify::~CDataSetNotify() = default;
void CDataSetNotify::OnInsertRow(CDataSetEvent *) {}
void CDataSetNotify::OnInsertColumn(CDataSetEvent *) {}
void CDataSetNotify::OnAddRow(CDataSetEvent *) {}
void CDataSetNotify::OnAddColumn(CDataSetEvent *) {}
void CDataSetNotify::OnDelRow(CDataSetEvent *) {}
void CDataSetNotify::OnDelColumn(CDataSetEvent *) {}
void CDataSetNotify::OnUpdateGeneral(CDataSetEvent *) {}
void CDataSetNotify::OnUpdateField(CDataSetEvent *) {}
void CDataSetNotify::OnSetFormat(CSetFormatEvent *) {}

}  // namespace quelt
