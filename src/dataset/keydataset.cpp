#include "quelt/dataset/keydataset.h"

#include <algorithm>
#include <stdexcept>
#include <typeinfo>

#include "dataset/cursor_p.h"
#include "dataset/fieldlist_p.h"
#include "dataset/layout_p.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/columnview.h"

namespace quelt {

namespace {

const char kOutOfRange[] = "Can't change a data cursor - new position is out of range";

}  // namespace

using KeyCursor = CKeyDataSet::CMemCursor;
using Position = CKeyDataSet::CMapDataStorage::iterator;

CKeyDataSet::CKeyDataSet() : CKeyDataSet(def_reserved) {}

CKeyDataSet::CKeyDataSet(unsigned reserved) : m_pStorage(new CMapDataStorage) {
    m_pStorage->Reserve(reserved);
}

CKeyDataSet::~CKeyDataSet() {
    // The First() and Last() handles die after this body; detached, they no longer call back.
    for (KeyCursor *cursor : m_cursors) cursor->Detach();
    m_cursors.clear();
    DetachViews();
    for (CMemFieldBase *field : m_fields) delete field;
    delete m_pStorage;
}

// Field list

unsigned CKeyDataSet::GetFieldCount() const { return static_cast<unsigned>(m_fields.size()); }

unsigned CKeyDataSet::GetRecordCount() const { return m_pStorage->Size(); }

int CKeyDataSet::_GetFieldIndexNoEx(const wstring &name) const { return fieldlist::Find(m_fields, name); }

int CKeyDataSet::GetFieldIndex(const wstring &name) const { return fieldlist::IndexOf(m_fields, name); }

CMemFieldBase &CKeyDataSet::Prototype(unsigned fieldIndex) const {
    return fieldlist::At(m_fields, fieldIndex);
}

const wstring &CKeyDataSet::GetFieldName(int index) const {
    return Prototype(static_cast<unsigned>(index)).GetName();
}

const IField *CKeyDataSet::GetField(const wstring &name) const { return fieldlist::Named(m_fields, name); }

const IField *CKeyDataSet::GetField(int index) const { return &Prototype(static_cast<unsigned>(index)); }

unsigned CKeyDataSet::GetRecordSize() const { return m_pStorage->GetRecordSize(); }

CKeyDataSet::CMapDataStorage &CKeyDataSet::GetDataStorage() { return *m_pStorage; }

int CKeyDataSet::AddField(const wstring &name, IField::Types type) {
    if (_GetFieldIndexNoEx(name) != BadFieldIndex) throw FieldAlreadyExists();
    CMemFieldBase *field = MakeField(name, type, this, &m_alloc);
    try {
        std::vector<CMemFieldBase *> fields = m_fields;
        fields.push_back(field);
        unsigned recordSize = 0;
        std::vector<int> offsets = RecordLayout(fields, recordSize);
        m_fields.reserve(fields.size());
        m_pStorage->Extend(std::move(offsets), recordSize, field);
    } catch (...) {
        delete field;
        throw;
    }
    m_fields.push_back(field);
    RecloneCursorFields();
    DetachViews();
    return static_cast<int>(GetFieldCount());
}

int CKeyDataSet::InsertField(unsigned, const wstring &, IField::Types) {
    throw std::logic_error("a key data set adds fields only at the end");
}

int CKeyDataSet::DeleteField(const wstring &) { throw std::logic_error("a key data set keeps its fields"); }

int CKeyDataSet::DeleteField(unsigned) { throw std::logic_error("a key data set keeps its fields"); }

// Cursors hold clones of the old field list.
void CKeyDataSet::RecloneCursorFields() {
    for (KeyCursor *cursor : m_cursors) {
        cursor->ClearFields();
        cursor->SetFields(m_fields);
        cursor->Rebind();
    }
}

void CKeyDataSet::DetachViews() {
    for (CColumnViewLink *view : m_views) view->Detach();
    m_views.clear();
}

void CKeyDataSet::MarkViewsStale() {
    for (CColumnViewLink *view : m_views) view->MarkStale();
}

void CKeyDataSet::SetFieldFormat(unsigned index, const wstring &format) {
    if (index >= GetFieldCount()) return;
    m_fields[index]->SetFormat(format);
    // Cursors render with the data set's formats.
    for (KeyCursor *cursor : m_cursors) cursor->m_fields[index]->SetFormat(format);
}

wstring CKeyDataSet::GetFieldFormat(unsigned index) {
    return index < GetFieldCount() ? m_fields[index]->GetFormat() : wstring();
}

void CKeyDataSet::UpdateField(IField *) {}

void CKeyDataSet::Clear() {
    EraseAll();
    std::vector<CMemFieldBase *> old;
    old.swap(m_fields);
    m_pStorage->ResetLayout();
    RecloneCursorFields();
    DetachViews();
    for (CMemFieldBase *field : old) delete field;
}

// Cursors

KeyCursor &CKeyDataSet::OwnCursor(const ICursor *cursor) const {
    return cursors::Owned<KeyCursor>(cursor, this);
}

KeyCursor &CKeyDataSet::ValidCursor(const Cursor &cursor) const {
    KeyCursor &own = OwnCursor(cursor.icursor());
    if (!own.IsValid()) throw std::bad_cast();
    return own;
}

KeyCursor *CKeyDataSet::_CreateCursor() {
    auto *cursor = new KeyCursor(this);
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

IDataSet::Cursor CKeyDataSet::CreateCursor() {
    Cursor handle(_CreateCursor());
    static_cast<KeyCursor *>(handle.icursor())->Place(m_pStorage->First());
    return handle;
}

IDataSet::Cursor CKeyDataSet::CreateCursor(Cursor &from, int offset) {
    return CursorFrom(ValidCursor(from), offset);
}

IDataSet::Cursor CKeyDataSet::CursorFrom(const KeyCursor &source, int offset) {
    if (!source.IsValid()) throw std::bad_cast();
    Position position = source.m_position;
    for (int step = 0; step < offset; ++step) {
        if (++position == m_pStorage->Last()) throw std::out_of_range(kOutOfRange);
    }
    for (int step = 0; step > offset; --step) {
        if (position == m_pStorage->First()) throw std::out_of_range(kOutOfRange);
        --position;
    }
    Cursor handle(_CreateCursor());
    static_cast<KeyCursor *>(handle.icursor())->Place(position);
    return handle;
}

void CKeyDataSet::DeleteCursor(const Cursor &cursor) {
    auto *own = dynamic_cast<KeyCursor *>(cursor.icursor());
    // First() and Last() keep their cursors: a caller never makes them untracked.
    if (!own || own->m_pDataSet != this || IsAnchor(own)) return;
    ForgetCursor(own);
    // Untracked, it would miss erases, field changes and the end of the data set.
    own->Detach();
}

void CKeyDataSet::ForgetCursor(const KeyCursor *cursor) {
    const auto it = std::find(m_cursors.begin(), m_cursors.end(), cursor);
    if (it != m_cursors.end()) m_cursors.erase(it);
}

bool CKeyDataSet::IsAnchor(const KeyCursor *cursor) const {
    return cursor == m_first.icursor() || cursor == m_last.icursor();
}

const IDataSet::Cursor &CKeyDataSet::Anchor(Cursor &anchor, bool atFirst) {
    if (!anchor.icursor()) anchor = Cursor(_CreateCursor());
    static_cast<KeyCursor *>(anchor.icursor())->Place(atFirst ? m_pStorage->First() : m_pStorage->Last());
    return anchor;
}

const IDataSet::Cursor &CKeyDataSet::First() { return Anchor(m_first, true); }

const IDataSet::Cursor &CKeyDataSet::Last() { return Anchor(m_last, false); }

IDataSet::Column CKeyDataSet::CreateColumn(int) { return Column(); }

void CKeyDataSet::DeleteColumn(const Column &) {}

// Editing

IDataSet::Cursor &CKeyDataSet::Insert(Cursor &cursor, unsigned key) {
    KeyCursor &placed = OwnCursor(cursor.icursor());
    placed.Place(m_pStorage->Insert(placed.m_position, key));
    MarkViewsStale();
    // A record already under the key is reset like a new one; its texts go back first.
    for (CMemFieldBase *field : placed.m_fields) {
        field->DestroyMemory();
        field->InitMemory();
    }
    return cursor;
}

Position CKeyDataSet::EraseAt(Position position) {
    for (KeyCursor *cursor : m_cursors) {
        if (cursor->m_position == position) cursor->Place(m_pStorage->Last());
    }
    auto *record = static_cast<unsigned char *>(position->second);
    const std::vector<int> &offsets = m_pStorage->GetOffsets();
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i]->Init(record + offsets[i]);
        m_fields[i]->DestroyMemory();
        m_fields[i]->Init(nullptr);
    }
    MarkViewsStale();
    return m_pStorage->Erase(position);
}

void CKeyDataSet::Erase(unsigned key) { EraseAt(m_pStorage->GoToKey(key)); }

IDataSet::Cursor &CKeyDataSet::Erase(Cursor &cursor) {
    KeyCursor &erasing = ValidCursor(cursor);
    erasing.Place(EraseAt(erasing.m_position));
    return cursor;
}

IDataSet::Cursor &CKeyDataSet::GoToKey(Cursor &cursor, unsigned key) {
    KeyCursor &moving = ValidCursor(cursor);
    moving.Place(m_pStorage->GoToKey(key));
    return cursor;
}

void CKeyDataSet::EraseAll() {
    m_pStorage->EraseAll();
    MarkViewsStale();
    m_alloc.Reset();
    for (KeyCursor *cursor : m_cursors) {
        if (!IsAnchor(cursor)) cursor->Detach();
    }
    m_cursors.erase(std::remove_if(m_cursors.begin(), m_cursors.end(),
                                   [this](const KeyCursor *cursor) { return !IsAnchor(cursor); }),
                    m_cursors.end());
    for (KeyCursor *cursor : m_cursors) cursor->Place(m_pStorage->Last());
}

}  // namespace quelt
