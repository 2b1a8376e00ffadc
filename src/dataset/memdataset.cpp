#include "quelt/dataset/memdataset.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <typeinfo>

#include "dataset/cursor_p.h"
#include "dataset/fieldlist_p.h"
#include "dataset/layout_p.h"
#include "dataset/sortkeys_p.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/columnview.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

namespace {

const char kOutOfRange[] = "Can't change a data cursor - new position is out of range";

void CheckRecord(unsigned record, unsigned count) {
    if (record >= count) throw std::out_of_range("record index out of range");
}

}  // namespace

CMemDataSet::CMemDataSet(unsigned reserve) : m_pStorage(new CVecDataStorage) {
    m_pStorage->Reserve(reserve);
    AddEventType(typeid(IDataSetNotify));
}

CMemDataSet::~CMemDataSet() {
    // The First() and Last() handles die after this body; detached, they no longer call back.
    DetachAll();
    for (CMemFieldBase *field : m_fields) delete field;
    delete m_pStorage;
}

// Field list

unsigned CMemDataSet::GetFieldCount() const { return static_cast<unsigned>(m_fields.size()); }

unsigned CMemDataSet::GetRecordCount() const { return m_pStorage->Size(); }

int CMemDataSet::_GetFieldIndexNoEx(const wstring &name) const { return fieldlist::Find(m_fields, name); }

int CMemDataSet::GetFieldIndex(const wstring &name) const { return fieldlist::IndexOf(m_fields, name); }

CMemFieldBase &CMemDataSet::Prototype(unsigned fieldIndex) const {
    return fieldlist::At(m_fields, fieldIndex);
}

const wstring &CMemDataSet::GetFieldName(int index) const {
    return Prototype(static_cast<unsigned>(index)).GetName();
}

const IField *CMemDataSet::GetField(const wstring &name) const { return fieldlist::Named(m_fields, name); }

const IField *CMemDataSet::GetField(int index) const { return &Prototype(static_cast<unsigned>(index)); }

CMemFieldBase *CMemDataSet::GetCloneField(int index) const {
    return &Prototype(static_cast<unsigned>(index));
}

int CMemDataSet::GetFieldShift(int index) const {
    Prototype(static_cast<unsigned>(index));
    return m_offsets[static_cast<unsigned>(index)];
}

unsigned CMemDataSet::GetRecordSize() const { return m_pStorage->GetRecordSize(); }

CMemDataSet::CVecDataStorage &CMemDataSet::GetDataStorage() { return *m_pStorage; }

int CMemDataSet::AddField(const wstring &name, IField::Types type) {
    return InsertFieldAt(GetFieldCount(), name, type);
}

int CMemDataSet::InsertField(unsigned index, const wstring &name, IField::Types type) {
    return InsertFieldAt(std::min(index, GetFieldCount()), name, type);
}

int CMemDataSet::InsertFieldAt(unsigned index, const wstring &name, IField::Types type) {
    if (_GetFieldIndexNoEx(name) != BadFieldIndex) throw FieldAlreadyExists();
    CMemFieldBase *field = MakeField(name, type, this, &m_alloc);
    field->CountWritesIn(&m_pStorage->Writes());
    std::vector<CMemFieldBase *> fields = m_fields;
    try {
        fields.insert(fields.begin() + index, field);
        ChangeFields(std::move(fields), nullptr);
    } catch (...) {
        delete field;
        throw;
    }
    Raise<&IDataSetNotify::OnAddColumn>(nullptr);
    return static_cast<int>(GetFieldCount());
}

int CMemDataSet::AddFields(const std::vector<std::pair<wstring, IField::Types>> &fields) {
    std::set<wstring> names;
    for (const CMemFieldBase *field : m_fields) names.insert(field->GetName());
    for (const auto &field : fields) {
        if (!names.insert(field.first).second) throw FieldAlreadyExists();
    }
    std::vector<CMemFieldBase *> all = m_fields;
    const std::size_t kept = all.size();
    try {
        all.reserve(kept + fields.size());
        for (const auto &field : fields) {
            all.push_back(MakeField(field.first, field.second, this, &m_alloc));
            all.back()->CountWritesIn(&m_pStorage->Writes());
        }
        ChangeFields(all, nullptr);
    } catch (...) {
        std::for_each(all.begin() + static_cast<std::ptrdiff_t>(kept), all.end(),
                      [](CMemFieldBase *field) { delete field; });
        throw;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) Raise<&IDataSetNotify::OnAddColumn>(nullptr);
    return static_cast<int>(GetFieldCount());
}

int CMemDataSet::DeleteField(const wstring &name) {
    const int index = _GetFieldIndexNoEx(name);
    return index == BadFieldIndex ? static_cast<int>(GetFieldCount())
                                  : DeleteField(static_cast<unsigned>(index));
}

int CMemDataSet::DeleteField(unsigned index) {
    if (index >= GetFieldCount()) return static_cast<int>(GetFieldCount());
    CMemFieldBase *field = m_fields[index];
    std::vector<CMemFieldBase *> fields = m_fields;
    fields.erase(fields.begin() + index);
    ChangeFields(std::move(fields), field);
    delete field;
    Raise<&IDataSetNotify::OnDelColumn>(nullptr);
    return static_cast<int>(GetFieldCount());
}

void CMemDataSet::ChangeFields(std::vector<CMemFieldBase *> fields, CMemFieldBase *removed) {
    unsigned recordSize = 0;
    std::vector<int> offsets = RecordLayout(fields, recordSize);
    CVecDataStorage relaid;
    relaid.SetRecordSize(recordSize);
    relaid.SetRecordInPage(m_pStorage->GetRecordInPage());
    RelayRecords(relaid, fields, offsets);
    if (removed) ReleaseCells(removed);
    m_pStorage->Swap(relaid);
    m_fields = std::move(fields);
    m_offsets = std::move(offsets);
    m_pStorage->DetachWriters();
    AfterFieldListChange();
}

// Records made under the old field list are copied into records of the new
// layout: kept fields keep their values, new cells start as a new record's.
void CMemDataSet::RelayRecords(CVecDataStorage &relaid, const std::vector<CMemFieldBase *> &fields,
                               const std::vector<int> &offsets) const {
    if (m_pStorage->Size() == 0) return;
    // Where each field's cell was in the old layout; -1 for a new field.
    std::map<const CMemFieldBase *, int> oldOffsets;
    for (std::size_t i = 0; i < m_fields.size(); ++i) oldOffsets.emplace(m_fields[i], m_offsets[i]);
    std::vector<int> from(fields.size(), -1);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto old = oldOffsets.find(fields[i]);
        if (old != oldOffsets.end()) from[i] = old->second;
    }
    relaid.Reserve(m_pStorage->Size());
    unsigned constIndex = m_pStorage->Size();
    for (unsigned r = 0; r < m_pStorage->Size(); ++r) {
        const unsigned char *record = m_pStorage->GetAddress(r);
        unsigned char *to = relaid.GetAddress(relaid.Append());
        if (record == m_pStorage->GetConstRecord()) constIndex = r;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            CMemFieldBase *field = fields[i];
            unsigned char *cell = to + offsets[i];
            if (from[i] >= 0) {
                std::copy_n(record + from[i], field->GetSize(), cell);
                continue;
            }
            field->Init(cell);
            field->InitMemory();
            field->Init(nullptr);
        }
    }
    relaid.SetConstCur(constIndex);
}

// What the cells of a field own (the texts of a String field) goes back.
void CMemDataSet::ReleaseCells(CMemFieldBase *field) {
    const auto index =
        static_cast<std::size_t>(std::find(m_fields.begin(), m_fields.end(), field) - m_fields.begin());
    for (unsigned r = 0; r < m_pStorage->Size(); ++r) {
        field->Init(m_pStorage->GetAddress(r) + m_offsets[index]);
        field->DestroyMemory();
    }
    field->Init(nullptr);
}

// Cursors and columns hold clones of the fields and the offsets of the old layout.
void CMemDataSet::AfterFieldListChange() {
    for (CMemFieldBase *field : m_fields) field->Init(nullptr);
    for (CMemCursor *cursor : m_cursors) {
        cursor->ClearFields();
        cursor->SetFields(m_fields);
        cursor->Rebind();
    }
    for (CMemColumn *column : m_columns) {
        if (!column->Follow()) column->Detach();
    }
    m_columns.erase(std::remove_if(m_columns.begin(), m_columns.end(),
                                   [](const CMemColumn *column) { return column->m_pDataSet == nullptr; }),
                    m_columns.end());
    ClearFindFields();
    DetachViews();
}

void CMemDataSet::SetFieldFormat(unsigned index, const wstring &format) {
    if (index >= GetFieldCount()) return;
    CMemFieldBase *field = m_fields[index];
    if (field->GetFormat() == format) return;
    field->SetFormat(format);
    // Cursors and columns render with the data set's formats.
    for (CMemCursor *cursor : m_cursors) cursor->m_fields[index]->SetFormat(format);
    for (CMemColumn *column : m_columns) {
        if (column->m_fieldIndex == static_cast<int>(index)) column->m_pField->SetFormat(format);
    }
    CSetFormatEvent event(Self(), field, static_cast<int>(index));
    Fire<&IDataSetNotify::OnSetFormat>(&event, true);
}

wstring CMemDataSet::GetFieldFormat(unsigned index) {
    return index < GetFieldCount() ? m_fields[index]->GetFormat() : wstring();
}

void CMemDataSet::UpdateField(IField *field) { Raise<&IDataSetNotify::OnUpdateField>(field); }

void CMemDataSet::Clear() {
    EraseAll();
    std::vector<CMemFieldBase *> old;
    old.swap(m_fields);
    if (!old.empty()) m_pStorage->DetachWriters();
    m_offsets.clear();
    m_pStorage->SetRecordSize(0);
    AfterFieldListChange();
    for (CMemFieldBase *field : old) delete field;
}

template <auto Handler>
void CMemDataSet::Raise(IField *field) {
    CDataSetEvent event(Self(), field);
    Fire<Handler>(&event, true);
}

// Cursors

CMemDataSet::CMemCursor &CMemDataSet::OwnCursor(const ICursor *cursor) const {
    return cursors::Owned<CMemCursor>(cursor, this);
}

CMemDataSet::CMemCursor &CMemDataSet::OwnCursor(const Cursor &cursor) const {
    return OwnCursor(cursor.icursor());
}

CMemDataSet::CMemCursor *CMemDataSet::_CreateCursor() {
    auto *cursor = new CMemCursor(this);
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

IDataSet::Cursor CMemDataSet::CreateCursor() {
    Cursor handle(_CreateCursor());
    static_cast<CMemCursor *>(handle.icursor())->Rebind();
    return handle;
}

IDataSet::Cursor CMemDataSet::CreateCursor(Cursor &from, int offset) {
    return CursorFrom(OwnCursor(from), offset);
}

IDataSet::Cursor CMemDataSet::CursorFrom(const CMemCursor &source, int offset) {
    if (!source.IsValid()) throw std::bad_cast();
    const long long index = static_cast<long long>(source.m_index) + offset;
    if (index < 0 || index >= static_cast<long long>(GetRecordCount())) throw std::out_of_range(kOutOfRange);
    Cursor handle(_CreateCursor());
    auto *cursor = static_cast<CMemCursor *>(handle.icursor());
    cursor->m_index = static_cast<unsigned>(index);
    cursor->Rebind();
    return handle;
}

void CMemDataSet::DeleteCursor(const Cursor &cursor) {
    auto *own = dynamic_cast<CMemCursor *>(cursor.icursor());
    // First() and Last() keep their cursors: a caller never makes them untracked.
    if (!own || own->m_pDataSet != this || IsAnchor(own)) return;
    ForgetCursor(own);
    // Untracked, it would miss erases, field changes and the end of the data set.
    own->Detach();
}

void CMemDataSet::ForgetCursor(const CMemCursor *cursor) {
    if (!cursor) return;
    const auto it = std::find(m_cursors.begin(), m_cursors.end(), cursor);
    if (it != m_cursors.end()) m_cursors.erase(it);
    if (cursor == m_pConstCur) {
        m_pConstCur = nullptr;
        m_pStorage->SetConstCur(GetRecordCount());
    }
}

bool CMemDataSet::IsAnchor(const CMemCursor *cursor) const {
    return cursor == m_first.icursor() || cursor == m_last.icursor();
}

const IDataSet::Cursor &CMemDataSet::Anchor(Cursor &anchor, unsigned index) {
    if (!anchor.icursor()) anchor = Cursor(_CreateCursor());
    auto *cursor = static_cast<CMemCursor *>(anchor.icursor());
    cursor->m_index = index;
    cursor->Rebind();
    return anchor;
}

const IDataSet::Cursor &CMemDataSet::First() { return Anchor(m_first, 0); }

const IDataSet::Cursor &CMemDataSet::Last() { return Anchor(m_last, GetRecordCount()); }

void CMemDataSet::UpdatesCursorsInsert(const ICursor *cursor) {
    const CMemCursor &placed = OwnCursor(cursor);
    for (CMemCursor *other : m_cursors) {
        if (other != &placed && !IsAnchor(other)) other->UpdateAfterInsert(placed);
    }
}

void CMemDataSet::UpdatesCursorsDelete(const ICursor *cursor) {
    const CMemCursor &erasing = OwnCursor(cursor);
    for (CMemCursor *other : m_cursors) {
        if (other != &erasing && !IsAnchor(other)) other->UpdateAfterDelete(erasing);
    }
}

void CMemDataSet::RebindAll(const CMemCursor *bound) {
    for (CMemFieldBase *field : m_fields) field->BindCell(nullptr);
    for (CMemCursor *cursor : m_cursors) {
        if (cursor != bound) cursor->Rebind();
    }
    for (CMemColumn *column : m_columns) column->Reach(column->m_record);
}

void CMemDataSet::DetachAll() {
    for (CMemCursor *cursor : m_cursors) cursor->Detach();
    m_cursors.clear();
    for (CMemColumn *column : m_columns) column->Detach();
    m_columns.clear();
    DetachViews();
    m_pConstCur = nullptr;
}

void CMemDataSet::DetachViews() {
    for (CColumnViewLink *view : m_views) view->Detach();
    m_views.clear();
}

// Columns

IDataSet::Column CMemDataSet::CreateColumn(int fieldIndex) {
    if (fieldIndex < 0 || fieldIndex >= static_cast<int>(GetFieldCount())) return Column();
    auto *column = new CMemColumn(this, fieldIndex);
    Column handle(column);
    m_columns.push_back(column);
    column->Reach(0);
    return handle;
}

void CMemDataSet::DeleteColumn(const Column &) {}

void CMemDataSet::ForgetColumn(const CMemColumn *column) {
    const auto it = std::find(m_columns.begin(), m_columns.end(), column);
    if (it != m_columns.end()) m_columns.erase(it);
}

// Editing

unsigned CMemDataSet::PrimaryKeyField() const {
    const std::vector<SortKey> keys = BuildSortKeys();
    return keys.empty() ? 0 : static_cast<unsigned>(keys.front().field);
}

// Without keep-order a new record stays where it was put, and the sort keys
// need not be read.
unsigned CMemDataSet::PlaceNewRecord(unsigned index) {
    return m_bKeepOrder ? KeepOrder(index, PrimaryKeyField()) : index;
}

IDataSet::Cursor &CMemDataSet::Insert(Cursor &cursor) {
    CMemCursor &placed = OwnCursor(cursor);
    const unsigned index = m_pStorage->Insert(std::min(placed.m_index, GetRecordCount()));
    placed.m_index = PlaceNewRecord(index);
    placed.Rebind();
    placed.InitFields();
    UpdatesCursorsInsert(&placed);
    RebindAll(&placed);
    Raise<&IDataSetNotify::OnInsertRow>(nullptr);
    return cursor;
}

IDataSet::Cursor &CMemDataSet::Append(Cursor &cursor) {
    CMemCursor &placed = OwnCursor(cursor);
    const unsigned index = m_pStorage->Append();
    placed.m_index = PlaceNewRecord(index);
    placed.Rebind();
    placed.InitFields();
    if (placed.m_index != index) UpdatesCursorsInsert(&placed);
    // Records never move in memory and the placed cursor's index is final.
    RebindAll(&placed);
    Raise<&IDataSetNotify::OnInsertRow>(nullptr);
    return cursor;
}

IDataSet::Cursor &CMemDataSet::Erase(Cursor &cursor) {
    CMemCursor &erasing = OwnCursor(cursor);
    if (!erasing.IsValid()) throw std::bad_cast();
    erasing.Rebind();
    erasing.DestroyFields();
    if (m_pStorage->GetAddress(erasing.m_index) == m_pStorage->GetConstRecord()) m_pConstCur = nullptr;
    m_pStorage->Erase(erasing.m_index);
    UpdatesCursorsDelete(&erasing);
    RebindAll();
    Raise<&IDataSetNotify::OnUpdateGeneral>(nullptr);
    return cursor;
}

void CMemDataSet::EraseAll() {
    m_pStorage->EraseAll();
    m_alloc.Reset();
    for (CMemCursor *cursor : m_cursors) {
        if (!IsAnchor(cursor)) cursor->Detach();
    }
    m_cursors.erase(std::remove_if(m_cursors.begin(), m_cursors.end(),
                                   [this](const CMemCursor *cursor) { return !IsAnchor(cursor); }),
                    m_cursors.end());
    for (CMemCursor *cursor : m_cursors) cursor->m_index = 0;
    m_pConstCur = nullptr;
    ForgetFindTexts();
    RebindAll();
}

unsigned CMemDataSet::Move(unsigned from, unsigned to) {
    m_pStorage->Move(from, to);
    const unsigned placed = m_bKeepOrder ? KeepOrder(to, PrimaryKeyField()) : to;
    RebindAll();
    return placed;
}

CMemFieldBase &CMemDataSet::BindPrototype(unsigned fieldIndex, unsigned recordIndex) {
    CMemFieldBase &field = Prototype(fieldIndex);
    CheckRecord(recordIndex, GetRecordCount());
    m_pStorage->InitField(&field, recordIndex, m_offsets[fieldIndex]);
    return field;
}

template <class V>
void CMemDataSet::WriteValue(unsigned fieldIndex, unsigned &recordIndex, const V &value) {
    BindPrototype(fieldIndex, recordIndex) = value;
    recordIndex = KeepOrder(recordIndex, fieldIndex);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, void *value) {
    CMemFieldBase &field = BindPrototype(fieldIndex, recordIndex);
    field.SetData(value);
    // The date-time kinds copy raw data without reporting it; a value written here always is
    // (a null pointer writes nothing).
    const IField::Types type = field.GetType();
    const bool isDate =
        type == IField::DateTime || type == IField::TimeInterval || type == IField::DateTimeInterval;
    if (value && isDate) {
        UpdateField(&field);
    }
    recordIndex = KeepOrder(recordIndex, fieldIndex);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const tdatetimeinterval &value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const ttimeinterval &value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const tdatetime &value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const wchar *value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, double value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, float value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int64 value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, short value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void CMemDataSet::SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, bool value) {
    WriteValue(fieldIndex, recordIndex, value);
}

void *CMemDataSet::GetVoid(unsigned fieldIndex, unsigned recordIndex) {
    return BindPrototype(fieldIndex, recordIndex).GetData();
}

double CMemDataSet::GetNumeric(unsigned fieldIndex, unsigned recordIndex) {
    return BindPrototype(fieldIndex, recordIndex);
}

wstring CMemDataSet::GetString(unsigned fieldIndex, unsigned recordIndex) {
    return BindPrototype(fieldIndex, recordIndex);
}

tdatetime CMemDataSet::GetDateTime(unsigned fieldIndex, unsigned recordIndex) {
    return BindPrototype(fieldIndex, recordIndex);
}

ttimeinterval CMemDataSet::GetTimeInterval(unsigned fieldIndex, unsigned recordIndex) {
    return BindPrototype(fieldIndex, recordIndex);
}

tdatetimeinterval CMemDataSet::GetDateTimeInterval(unsigned fieldIndex, unsigned recordIndex) {
    return BindPrototype(fieldIndex, recordIndex);
}

// Keep-order and sorting

std::vector<CMemDataSet::SortKey> CMemDataSet::BuildSortKeys() const {
    std::vector<SortKey> keys;
    for (const int index : SortKeyFields(*this)) {
        const CMemFieldBase &field = *m_fields[static_cast<unsigned>(index)];
        keys.push_back({index, field.GetType(), m_offsets[static_cast<unsigned>(index)],
                        field.GetSortType() == IField::Descending, field.IsSortCaseSensitive(),
                        field.GetSortRule()});
    }
    return keys;
}

unsigned CMemDataSet::KeepOrder(unsigned record, unsigned field) {
    if (!m_bKeepOrder || GetRecordCount() < 2) return record;
    const std::vector<SortKey> keys = BuildSortKeys();
    const bool isKey = std::any_of(keys.begin(), keys.end(), [field](const SortKey &key) {
        return key.field == static_cast<int>(field);
    });
    if (!isKey) return record;
    const unsigned placed = PlaceRecord(record, keys);
    RebindAll();
    return placed;
}

void CMemDataSet::SetConstCur(Cursor &cursor) {
    CMemCursor &constant = OwnCursor(cursor);
    m_pConstCur = &constant;
    m_pStorage->SetConstCur(constant.m_index);
}

void CMemDataSet::SetKeepOrder(bool keepOrder) { m_bKeepOrder = keepOrder; }

bool CMemDataSet::IsKeepOrder() { return m_bKeepOrder; }

void CMemDataSet::SetMetaData(IMetaData *) {}
void CMemDataSet::SetDataRandom(IDataRandom *) {}
void CMemDataSet::SetEditRandom(IEditRandom *) {}
void CMemDataSet::SetDataDirectional(IDataDirectional *) {}
void CMemDataSet::SetEditDirectional(IEditDirectional *) {}
void CMemDataSet::SetSort(ISort *) {}
void CMemDataSet::SetFind(IFind *) {}

bool CMemDataSet::IsVirtual() { return false; }

void CMemDataSet::SetSortRule(int fieldIndex, ISortRule *rule) {
    if (fieldIndex >= 0 && fieldIndex < static_cast<int>(GetFieldCount())) {
        m_fields[static_cast<unsigned>(fieldIndex)]->SetSortRule(rule);
    }
}

ISortRule *CMemDataSet::GetSortRule(int fieldIndex) const {
    if (fieldIndex < 0 || fieldIndex >= static_cast<int>(GetFieldCount())) return nullptr;
    return m_fields[static_cast<unsigned>(fieldIndex)]->GetSortRule();
}

IMemDataSet *CreateMemDataSet() {
    try {
        return new CMemDataSet(100);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void DeleteMemDataSet(IMemDataSet *dataSet) { delete dataSet; }

}  // namespace quelt
