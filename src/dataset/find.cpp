#include <algorithm>

#include "dataset/fields_p.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

void CMemDataSet::AddFindField(int fieldIndex, const CQueltVariant &value, bool descending,
                               bool caseSensitive) {
    const IField::Types type = Prototype(static_cast<unsigned>(fieldIndex)).GetType();
    const int offset = m_offsets[static_cast<unsigned>(fieldIndex)];
    if (m_keyRecord.size() < GetRecordSize()) m_keyRecord.resize(GetRecordSize());
    unsigned char *cell = m_keyRecord.data() + offset;
    // Each value is converted before its cell is written: a value that cannot
    // become a date leaves the key record and the lists as they were.
    switch (type) {
        case IField::Bool:
            cells::Store(cell, value.GetBool());
            break;
        case IField::Short:
            cells::Store(cell, value.GetShort());
            break;
        case IField::Int:
            cells::Store(cell, value.GetInt());
            break;
        case IField::Int64:
            cells::Store(cell, value.GetInt64());
            break;
        case IField::Float:
            cells::Store(cell, value.GetFloat());
            break;
        case IField::Double:
            cells::Store(cell, value.GetDouble());
            break;
        case IField::String:
            cells::StoreText(m_alloc, cell, value.GetString().c_str());
            break;
        case IField::DateTime:
            cells::Store(cell, value.GetDateTime());
            break;
        case IField::TimeInterval:
            cells::Store(cell, value.GetTimeInterval());
            break;
        case IField::DateTimeInterval:
            cells::Store(cell, value.GetDateTimeInterval());
            break;
        default:
            break;
    }
    m_findTypes.push_back(type);
    m_findOffsets.push_back(offset);
    m_findDescending.push_back(descending);
    m_findCaseSensitive.push_back(caseSensitive);
}

void CMemDataSet::ClearFindFields() {
    // Key texts go back to the pool; a repeated search does not grow it.
    for (std::size_t i = 0; i < m_findTypes.size(); ++i) {
        if (m_findTypes[i] == IField::String) cells::FreeText(m_alloc, m_keyRecord.data() + m_findOffsets[i]);
    }
    m_findTypes.clear();
    m_findOffsets.clear();
    m_findDescending.clear();
    m_findCaseSensitive.clear();
    std::fill(m_keyRecord.begin(), m_keyRecord.end(), 0);
}

void CMemDataSet::ForgetFindTexts() {
    for (std::size_t i = 0; i < m_findTypes.size(); ++i) {
        if (m_findTypes[i] == IField::String) {
            cells::Store(m_keyRecord.data() + m_findOffsets[i], static_cast<wchar *>(nullptr));
        }
    }
}

bool CMemDataSet::PlaceFound(Cursor &cursor, unsigned index) {
    CMemCursor &found = OwnCursor(cursor);
    found.m_index = 0;
    if (index > 0) {
        found.MoveIndex(index);
    } else {
        found.Rebind();
    }
    return true;
}

bool CMemDataSet::FindKey(Cursor &cursor) {
    const unsigned index =
        m_pStorage->FindKey(m_findTypes.data(), m_findOffsets.data(), static_cast<int>(m_findTypes.size()),
                            m_keyRecord.data(), m_findDescending.data(), m_findCaseSensitive.data());
    return index != static_cast<unsigned>(-1) && PlaceFound(cursor, index);
}

bool CMemDataSet::FindNearest(Cursor &cursor) {
    return PlaceFound(cursor,
                      m_pStorage->FindNearest(m_findTypes.data(), m_findOffsets.data(),
                                              static_cast<int>(m_findTypes.size()), m_keyRecord.data(),
                                              m_findDescending.data(), m_findCaseSensitive.data()));
}

bool CMemDataSet::FindNext(Cursor &cursor) {
    return PlaceFound(cursor, m_pStorage->FindNext(m_findTypes.data(), m_findOffsets.data(),
                                                   static_cast<int>(m_findTypes.size()), m_keyRecord.data(),
                                                   m_findDescending.data(), m_findCaseSensitive.data()));
}

}  // namespace quelt
