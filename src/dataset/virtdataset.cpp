#include "quelt/dataset/virtdataset.h"

#include <algorithm>
#include <stdexcept>
#include <typeinfo>

#include "core/numeric_p.h"
#include "dataset/cursor_p.h"
#include "dataset/fieldlist_p.h"
#include "dataset/sortkeys_p.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

using CVirtualCursor = CVirtualDataSet::CVirtualCursor;
using CVirtualColumn = CVirtualDataSet::CVirtualColumn;

namespace {

const char kOutOfRange[] = "Can't change a data cursor - new position is out of range";

}  // namespace

CVirtualDataSet::CVirtualDataSet() { AddEventType(typeid(IDataSetNotify)); }

CVirtualDataSet::~CVirtualDataSet() {
    // The First() and Last() handles die after this body; detached, they no longer call back.
    DetachCursors(false);
    for (CVirtualColumn *column : m_columns) column->Detach();
    for (CVirtFieldBase *field : m_fields) delete field;
    DropInner();
}

// Host wiring

void CVirtualDataSet::SetMetaData(IMetaData *provider) {
    if (provider == m_pMetaData) return;
    std::vector<CVirtFieldBase *> fields;
    try {
        const int count = provider ? provider->GetFieldCount() : 0;
        for (int i = 0; i < count; ++i) {
            fields.push_back(nullptr);
            fields.back() = MakeField(provider->GetFieldName(i), provider->GetFieldType(i), this);
        }
    } catch (...) {
        for (CVirtFieldBase *field : fields) delete field;
        throw;
    }
    m_pMetaData = provider;
    SetFields(std::move(fields));
}

void CVirtualDataSet::SetDataRandom(IDataRandom *provider) {
    if (provider == m_pDataRandom) return;
    m_pDataRandom = provider;
    DropOrder();
    SourceCount();
    Refill();
}

void CVirtualDataSet::SetDataDirectional(IDataDirectional *provider) {
    if (provider == m_pDataDirectional) return;
    m_pDataDirectional = provider;
    m_position = 0;
    DropOrder();
    SourceCount();
    Refill();
}

void CVirtualDataSet::SetEditRandom(IEditRandom *provider) { m_pEditRandom = provider; }

void CVirtualDataSet::SetEditDirectional(IEditDirectional *provider) { m_pEditDirectional = provider; }

void CVirtualDataSet::SetSort(ISort *provider) { m_pSort = provider; }

void CVirtualDataSet::SetFind(IFind *provider) { m_pFind = provider; }

bool CVirtualDataSet::IsRandom() const { return m_pDataRandom != nullptr; }

bool CVirtualDataSet::IsVirtual() { return true; }

void CVirtualDataSet::SetSortRule(int, ISortRule *) {}

ISortRule *CVirtualDataSet::GetSortRule(int) const { return nullptr; }

IFastWriter *CVirtualDataSet::CreateFastWriter() { return nullptr; }

void CVirtualDataSet::DeleteFastWriter(IFastWriter *) {}

// Record addressing

unsigned CVirtualDataSet::SourceCount() const {
    if (m_pDataRandom) {
        m_count = m_pDataRandom->GetRecordCount();
    } else {
        m_count = m_pDataDirectional ? m_pDataDirectional->GetRecordCount() : 0;
    }
    // The map is a permutation of the source records: records the host
    // dropped leave it, records it added join at the end.
    if (!m_map.empty() && m_map.size() != m_count) {
        const unsigned count = m_count;
        m_map.erase(std::remove_if(m_map.begin(), m_map.end(), [count](unsigned s) { return s >= count; }),
                    m_map.end());
        for (auto s = static_cast<unsigned>(m_map.size()); s < count; ++s) m_map.push_back(s);
    }
    return m_count;
}

unsigned CVirtualDataSet::GetRecordCount() const { return SourceCount(); }

void CVirtualDataSet::CheckRecord(unsigned record) const {
    if (record >= m_count) throw std::out_of_range("record index out of range");
}

unsigned CVirtualDataSet::Size() const { return m_count; }

bool CVirtualDataSet::HasInner() const {
    return !m_pDataRandom && m_pDataDirectional && m_pInner && m_pInner->GetRecordCount() > 0;
}

unsigned CVirtualDataSet::SourceIndex(unsigned record) const {
    if (m_bRaw) return record;
    if (!m_map.empty()) return record < m_map.size() ? m_map[record] : record;
    if (HasInner() && record < m_pInner->GetRecordCount()) {
        return SaturatingCast<unsigned>(m_pInner->GetNumeric(0, record));
    }
    return record;
}

void CVirtualDataSet::PositionSource(unsigned source) {
    if (!m_pDataDirectional) return;
    const auto target = static_cast<long long>(source);
    for (; m_position > target; --m_position) m_pDataDirectional->Prev();
    for (; m_position < target; ++m_position) m_pDataDirectional->Next();
}

void CVirtualDataSet::SetCurIterator(int record) {
    if (record >= 0) PositionSource(SourceIndex(static_cast<unsigned>(record)));
}

// Nothing is asked of the host for a record it does not have.
void CVirtualDataSet::Fetch(CVirtFieldBase &field, unsigned record, unsigned fieldIndex) {
    if (record >= m_count) return;
    if (m_pDataRandom) {
        field.Load(m_pDataRandom->GetValue(SourceIndex(record), fieldIndex));
    } else if (m_pDataDirectional) {
        PositionSource(SourceIndex(record));
        field.Load(m_pDataDirectional->GetValue(fieldIndex));
    }
}

void CVirtualDataSet::InitField(CVirtFieldBase *field, int record, int fieldIndex) {
    if (record >= 0) Fetch(*field, static_cast<unsigned>(record), static_cast<unsigned>(fieldIndex));
}

void CVirtualDataSet::InitCursor(std::vector<CVirtFieldBase *> &fields, int record) {
    if (record < 0 || static_cast<unsigned>(record) >= m_count) return;
    const unsigned source = SourceIndex(static_cast<unsigned>(record));
    if (m_pDataRandom) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i]->Load(m_pDataRandom->GetValue(source, static_cast<unsigned>(i)));
        }
    } else if (m_pDataDirectional) {
        PositionSource(source);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i]->Load(m_pDataDirectional->GetValue(static_cast<unsigned>(i)));
        }
    }
}

void CVirtualDataSet::Refill() {
    for (CVirtualCursor *cursor : m_cursors) cursor->Fill();
}

// Field list

unsigned CVirtualDataSet::GetFieldCount() const { return static_cast<unsigned>(m_fields.size()); }

int CVirtualDataSet::_GetFieldIndexNoEx(const wstring &name) const { return fieldlist::Find(m_fields, name); }

int CVirtualDataSet::GetFieldIndex(const wstring &name) const { return fieldlist::IndexOf(m_fields, name); }

CVirtFieldBase &CVirtualDataSet::Prototype(unsigned fieldIndex) const {
    return fieldlist::At(m_fields, fieldIndex);
}

const wstring &CVirtualDataSet::GetFieldName(int index) const {
    return Prototype(static_cast<unsigned>(index)).GetName();
}

const IField *CVirtualDataSet::GetField(const wstring &name) const {
    return fieldlist::Named(m_fields, name);
}

const IField *CVirtualDataSet::GetField(int index) const { return &Prototype(static_cast<unsigned>(index)); }

CVirtFieldBase *CVirtualDataSet::GetCloneField(int index) const {
    return &Prototype(static_cast<unsigned>(index));
}

int CVirtualDataSet::GetFieldShift(int n) const {
    int shift = 0;
    for (int i = 0; i < n && i < static_cast<int>(m_fields.size()); ++i) {
        shift += m_fields[static_cast<unsigned>(i)]->GetSize();
    }
    return shift;
}

int CVirtualDataSet::AddField(const wstring &name, IField::Types type) {
    return InsertFieldAt(GetFieldCount(), name, type);
}

int CVirtualDataSet::InsertField(unsigned index, const wstring &name, IField::Types type) {
    return InsertFieldAt(std::min(index, GetFieldCount()), name, type);
}

int CVirtualDataSet::InsertFieldAt(unsigned index, const wstring &name, IField::Types type) {
    if (_GetFieldIndexNoEx(name) != BadFieldIndex) throw FieldAlreadyExists();
    if (m_pMetaData) return static_cast<int>(GetFieldCount());
    std::vector<CVirtFieldBase *> fields = m_fields;
    CVirtFieldBase *field = MakeField(name, type, this);
    try {
        fields.insert(fields.begin() + index, field);
    } catch (...) {
        delete field;
        throw;
    }
    m_fields = std::move(fields);
    AfterFieldListChange();
    NotifyOnAddColumn();
    return static_cast<int>(GetFieldCount());
}

int CVirtualDataSet::DeleteField(const wstring &name) {
    const int index = _GetFieldIndexNoEx(name);
    return index == BadFieldIndex ? static_cast<int>(GetFieldCount())
                                  : DeleteField(static_cast<unsigned>(index));
}

int CVirtualDataSet::DeleteField(unsigned index) {
    if (index >= GetFieldCount() || m_pMetaData) return static_cast<int>(GetFieldCount());
    CVirtFieldBase *field = m_fields[index];
    m_fields.erase(m_fields.begin() + index);
    AfterFieldListChange();
    delete field;
    NotifyOnDelColumn();
    return static_cast<int>(GetFieldCount());
}

void CVirtualDataSet::SetFields(std::vector<CVirtFieldBase *> fields) {
    std::vector<CVirtFieldBase *> old;
    old.swap(m_fields);
    m_fields = std::move(fields);
    AfterFieldListChange();
    for (CVirtFieldBase *field : old) delete field;
}

// Cursors and columns hold clones of the old list; find fields and the inner
// data set name fields by index.
void CVirtualDataSet::AfterFieldListChange() {
    for (CVirtualCursor *cursor : m_cursors) {
        cursor->ClearFields();
        cursor->SetFields(m_fields);
        cursor->Fill();
    }
    for (CVirtualColumn *column : m_columns) {
        if (!column->Follow()) column->Detach();
    }
    m_columns.erase(
        std::remove_if(m_columns.begin(), m_columns.end(),
                       [](const CVirtualColumn *column) { return column->m_pDataSet == nullptr; }),
        m_columns.end());
    ClearFindFields();
    DropInner();
}

void CVirtualDataSet::SetFieldFormat(unsigned index, const wstring &format) {
    if (index >= GetFieldCount()) return;
    CVirtFieldBase *field = m_fields[index];
    if (field->GetFormat() == format) return;
    field->SetFormat(format);
    // Cursors and columns render with the data set's formats.
    for (CVirtualCursor *cursor : m_cursors) cursor->m_fields[index]->SetFormat(format);
    for (CVirtualColumn *column : m_columns) {
        if (column->m_fieldIndex == static_cast<int>(index)) column->m_pField->SetFormat(format);
    }
    NotifyOnSetFormat(field, static_cast<int>(index));
}

wstring CVirtualDataSet::GetFieldFormat(unsigned index) {
    return index < GetFieldCount() ? m_fields[index]->GetFormat() : wstring();
}

void CVirtualDataSet::UpdateField(IField *field) { NotifyOnUpdateField(field); }

// The host's schema goes with the fields, so a later SetMetaData builds it again.
void CVirtualDataSet::Clear() {
    EraseAll();
    m_pMetaData = nullptr;
    SetFields({});
}

// Notifications

template <auto Handler>
void CVirtualDataSet::Raise(IField *field) {
    CDataSetEvent event(Self(), field);
    Fire<Handler>(&event, true);
}

void CVirtualDataSet::NotifyOnInsertRow() { Raise<&IDataSetNotify::OnInsertRow>(nullptr); }
void CVirtualDataSet::NotifyOnAddRow() { Raise<&IDataSetNotify::OnAddRow>(nullptr); }
void CVirtualDataSet::NotifyOnInsertColumn() { Raise<&IDataSetNotify::OnInsertColumn>(nullptr); }
void CVirtualDataSet::NotifyOnAddColumn() { Raise<&IDataSetNotify::OnAddColumn>(nullptr); }
void CVirtualDataSet::NotifyOnDelRow() { Raise<&IDataSetNotify::OnDelRow>(nullptr); }
void CVirtualDataSet::NotifyOnDelColumn() { Raise<&IDataSetNotify::OnDelColumn>(nullptr); }
void CVirtualDataSet::NotifyOnUpdateGeneral() { Raise<&IDataSetNotify::OnUpdateGeneral>(nullptr); }
void CVirtualDataSet::NotifyOnUpdateField(IField *field) { Raise<&IDataSetNotify::OnUpdateField>(field); }

void CVirtualDataSet::NotifyOnSetFormat(IField *field, int index) {
    CSetFormatEvent event(Self(), field, index);
    Fire<&IDataSetNotify::OnSetFormat>(&event, true);
}

// Cursors

CVirtualCursor &CVirtualDataSet::OwnCursor(const ICursor *cursor) const {
    return cursors::Owned<CVirtualCursor>(cursor, this);
}

CVirtualCursor &CVirtualDataSet::OwnCursor(const Cursor &cursor) const { return OwnCursor(cursor.icursor()); }

CVirtualCursor *CVirtualDataSet::_CreateCursor() {
    auto *cursor = new CVirtualCursor(this);
    try {
        cursor->SetFields(m_fields);
        m_cursors.push_back(cursor);
    } catch (...) {
        cursor->Detach();
        delete cursor;
        throw;
    }
    return cursor;
}

IDataSet::Cursor CVirtualDataSet::CreateCursor() {
    Cursor handle(_CreateCursor());
    SourceCount();
    static_cast<CVirtualCursor *>(handle.icursor())->Fill();
    return handle;
}

IDataSet::Cursor CVirtualDataSet::CreateCursor(Cursor &from, int offset) {
    return CursorFrom(OwnCursor(from), offset);
}

IDataSet::Cursor CVirtualDataSet::CursorFrom(const CVirtualCursor &source, int offset) {
    if (!source.IsValid()) throw std::bad_cast();
    const long long index = static_cast<long long>(source.m_index) + offset;
    if (index < 0 || index >= static_cast<long long>(m_count)) throw std::out_of_range(kOutOfRange);
    Cursor handle(_CreateCursor());
    auto *cursor = static_cast<CVirtualCursor *>(handle.icursor());
    cursor->m_index = static_cast<int>(index);
    cursor->Fill();
    return handle;
}

void CVirtualDataSet::DeleteCursor(const Cursor &cursor) {
    auto *own = dynamic_cast<CVirtualCursor *>(cursor.icursor());
    // First() and Last() keep their cursors: a caller never makes them untracked.
    if (!own || own->m_pDataSet != this || IsAnchor(own)) return;
    ForgetCursor(own);
    // Untracked, it would miss schema changes and the end of the data set.
    own->Detach();
}

void CVirtualDataSet::ForgetCursor(const CVirtualCursor *cursor) {
    const auto it = std::find(m_cursors.begin(), m_cursors.end(), cursor);
    if (it != m_cursors.end()) m_cursors.erase(it);
}

bool CVirtualDataSet::IsAnchor(const CVirtualCursor *cursor) const {
    return cursor == m_first.icursor() || cursor == m_last.icursor();
}

const IDataSet::Cursor &CVirtualDataSet::Anchor(Cursor &anchor, int index) {
    if (!anchor.icursor()) anchor = Cursor(_CreateCursor());
    auto *cursor = static_cast<CVirtualCursor *>(anchor.icursor());
    cursor->m_index = index;
    cursor->Fill();
    return anchor;
}

const IDataSet::Cursor &CVirtualDataSet::First() { return Anchor(m_first, 0); }

const IDataSet::Cursor &CVirtualDataSet::Last() {
    return Anchor(m_last, static_cast<int>(GetRecordCount()) - 1);
}

void CVirtualDataSet::UpdatesCursorsInsert(const CVirtualCursor *cursor) {
    for (CVirtualCursor *other : m_cursors) {
        if (other != cursor && !IsAnchor(other)) other->UpdateAfterInsert(*cursor);
    }
}

void CVirtualDataSet::UpdatesCursorsDelete(const CVirtualCursor *cursor) {
    for (CVirtualCursor *other : m_cursors) {
        if (other != cursor && !IsAnchor(other)) other->UpdateAfterDelete(*cursor);
    }
}

// Handles that callers hold stay safe: their cursors are cut loose, not deleted.
void CVirtualDataSet::DetachCursors(bool keepAnchors) {
    std::vector<CVirtualCursor *> kept;
    for (CVirtualCursor *cursor : m_cursors) {
        if (keepAnchors && IsAnchor(cursor)) {
            cursor->m_index = 0;
            kept.push_back(cursor);
            continue;
        }
        cursor->Detach();
    }
    m_cursors.swap(kept);
}

// Columns

IDataSet::Column CVirtualDataSet::CreateColumn(int fieldIndex) {
    if (fieldIndex < 0 || fieldIndex >= static_cast<int>(GetFieldCount())) return Column();
    auto *column = new CVirtualColumn(this, fieldIndex);
    Column handle(column);
    m_columns.push_back(column);
    column->Reach(0);
    return handle;
}

void CVirtualDataSet::DeleteColumn(const Column &) {}

void CVirtualDataSet::ForgetColumn(const CVirtualColumn *column) {
    const auto it = std::find(m_columns.begin(), m_columns.end(), column);
    if (it != m_columns.end()) m_columns.erase(it);
}

// Reading values

const CQueltVariant *CVirtualDataSet::KeyValue(unsigned fieldIndex) const {
    const auto it = std::find(m_findFields.begin(), m_findFields.end(), static_cast<int>(fieldIndex));
    return it == m_findFields.end() ? nullptr
                                    : &m_findValues[static_cast<std::size_t>(it - m_findFields.begin())];
}

CVirtFieldBase &CVirtualDataSet::Loaded(unsigned fieldIndex, unsigned record) {
    CVirtFieldBase &field = Prototype(fieldIndex);
    if (!m_bRaw && record >= m_count) SourceCount();
    CheckRecord(record);
    Fetch(field, record, fieldIndex);
    return field;
}

namespace {

const CQueltVariant &Or(const CQueltVariant *value) {
    static const CQueltVariant empty;
    return value ? *value : empty;
}

}  // namespace

void *CVirtualDataSet::GetVoid(unsigned fieldIndex, unsigned recordIndex) {
    if (recordIndex == SearchKey && m_bRaw) return const_cast<void *>(Or(KeyValue(fieldIndex)).GetPointer());
    return Loaded(fieldIndex, recordIndex).GetData();
}

double CVirtualDataSet::GetNumeric(unsigned fieldIndex, unsigned recordIndex) {
    if (recordIndex == SearchKey && m_bRaw) return Or(KeyValue(fieldIndex)).GetDouble();
    return Loaded(fieldIndex, recordIndex);
}

wstring CVirtualDataSet::GetString(unsigned fieldIndex, unsigned recordIndex) {
    if (recordIndex == SearchKey && m_bRaw) return Or(KeyValue(fieldIndex)).GetString();
    return Loaded(fieldIndex, recordIndex);
}

tdatetime CVirtualDataSet::GetDateTime(unsigned fieldIndex, unsigned recordIndex) {
    if (recordIndex == SearchKey && m_bRaw) return Or(KeyValue(fieldIndex)).GetDateTime();
    return Loaded(fieldIndex, recordIndex);
}

ttimeinterval CVirtualDataSet::GetTimeInterval(unsigned fieldIndex, unsigned recordIndex) {
    if (recordIndex == SearchKey && m_bRaw) return Or(KeyValue(fieldIndex)).GetTimeInterval();
    return Loaded(fieldIndex, recordIndex);
}

tdatetimeinterval CVirtualDataSet::GetDateTimeInterval(unsigned fieldIndex, unsigned recordIndex) {
    if (recordIndex == SearchKey && m_bRaw) return Or(KeyValue(fieldIndex)).GetDateTimeInterval();
    return Loaded(fieldIndex, recordIndex);
}

IMemDataSet *CreateVirtDataSet() {
    try {
        return new CVirtualDataSet;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

}  // namespace quelt
