#include "quelt/dataset/columnview.h"

#include <algorithm>

#include "quelt/dataset/keydataset.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

namespace {

// What a detached view reads.
const std::vector<unsigned char *> kNoRecords;

void CheckType(const IField *field, IField::Types type) {
    if (field->GetType() != type) throw ColumnTypeMismatch();
}

void Forget(std::vector<CColumnViewLink *> &links, const CColumnViewLink *link) {
    links.erase(std::remove(links.begin(), links.end(), link), links.end());
}

}  // namespace

ColumnTypeMismatch::ColumnTypeMismatch() = default;
ColumnTypeMismatch::ColumnTypeMismatch(const ColumnTypeMismatch &other) = default;
ColumnTypeMismatch &ColumnTypeMismatch::operator=(const ColumnTypeMismatch &other) = default;
ColumnTypeMismatch::~ColumnTypeMismatch() = default;

CColumnViewLink::CColumnViewLink(CMemDataSet &dataSet, int fieldIndex, IField::Types type)
    : m_records(&dataSet.GetDataStorage().Records()) {
    CheckType(dataSet.GetField(fieldIndex), type);
    m_offset = dataSet.GetFieldShift(fieldIndex);
    dataSet.m_views.push_back(this);
    m_memory = &dataSet;
}

CColumnViewLink::CColumnViewLink(CKeyDataSet &dataSet, int fieldIndex, IField::Types type)
    : m_records(&m_gathered), m_stale(true) {
    CheckType(dataSet.GetField(fieldIndex), type);
    m_offset = dataSet.GetDataStorage().GetOffsets()[static_cast<std::size_t>(fieldIndex)];
    dataSet.m_views.push_back(this);
    m_keyed = &dataSet;
}

CColumnViewLink::~CColumnViewLink() {
    if (m_memory) Forget(m_memory->m_views, this);
    if (m_keyed) Forget(m_keyed->m_views, this);
}

void CColumnViewLink::Detach() {
    m_memory = nullptr;
    m_keyed = nullptr;
    m_records = &kNoRecords;
    m_stale = false;
    std::vector<unsigned char *>().swap(m_gathered);
}

void CColumnViewLink::Gather() {
    m_stale = false;
    if (!m_keyed) return;
    CKeyDataSet::CMapDataStorage &storage = m_keyed->GetDataStorage();
    m_gathered.clear();
    m_gathered.reserve(storage.Size());
    for (auto it = storage.First(); it != storage.Last(); ++it)
        m_gathered.push_back(static_cast<unsigned char *>(it->second));
}

}  // namespace quelt
