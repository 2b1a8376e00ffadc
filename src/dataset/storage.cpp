#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <utility>

#include "dataset/keyindex_p.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

using Storage = CMemDataSet::CVecDataStorage;

// Pages

CRecordPages::~CRecordPages() { FreeAll(); }

void CRecordPages::Swap(CRecordPages &other) noexcept {
    std::swap(m_recordSize, other.m_recordSize);
    std::swap(m_recordInPage, other.m_recordInPage);
    std::swap(m_head, other.m_head);
}

void CRecordPages::SetRecordSize(unsigned size) {
    if (m_head) throw std::logic_error("record layout changed while records exist");
    m_recordSize = size;
}

void CRecordPages::SetRecordInPage(int count) {
    if (m_head) throw std::logic_error("page layout changed while records exist");
    m_recordInPage = count > 0 ? count : 1;
}

unsigned CRecordPages::GetStride() const { return (m_recordSize > 0 ? m_recordSize + 7 : 8) / 8 * 8; }

unsigned char *CRecordPages::Take() {
    const std::size_t stride = GetStride();
    const std::size_t area = stride * static_cast<std::size_t>(m_recordInPage);
    auto *base = reinterpret_cast<unsigned char *>(m_head);
    if (!m_head || m_head->free == base + HeaderSize + area) {
        void *page = std::calloc(1, HeaderSize + area);
        if (!page) throw std::bad_alloc();
        auto *item = static_cast<MemoryItem *>(page);
        item->next = m_head;
        item->count = 0;
        item->free = static_cast<unsigned char *>(page) + HeaderSize;
        m_head = item;
    }
    unsigned char *record = m_head->free;
    m_head->free += stride;
    ++m_head->count;
    return record;
}

void CRecordPages::Free(unsigned char *record) {
    const std::size_t area = GetStride() * static_cast<std::size_t>(m_recordInPage);
    for (MemoryItem **link = &m_head; *link; link = &(*link)->next) {
        auto *data = reinterpret_cast<unsigned char *>(*link) + HeaderSize;
        if (record < data || record >= data + area) continue;
        MemoryItem *page = *link;
        if (--page->count == 0) {
            *link = page->next;
            std::free(page);
        }
        return;
    }
}

void CRecordPages::FreeAll() {
    while (m_head) {
        MemoryItem *next = m_head->next;
        std::free(m_head);
        m_head = next;
    }
}

unsigned CRecordPages::GetPageCount() const {
    unsigned count = 0;
    for (const MemoryItem *page = m_head; page; page = page->next) ++count;
    return count;
}

// Record vector

Storage::CVecDataStorage() = default;

Storage::~CVecDataStorage() { DetachWriters(); }

// The write counts stay, since fields hold their addresses; both step.
void Storage::Swap(CVecDataStorage &other) noexcept {
    ++m_writes;
    ++other.m_writes;
    m_records.swap(other.m_records);
    m_pages.Swap(other.m_pages);
    std::swap(m_constRecord, other.m_constRecord);
}

void Storage::Reserve(unsigned count) { m_records.reserve(count); }

void Storage::CheckIndex(unsigned index, unsigned limit) const {
    if (index >= limit) throw std::out_of_range("record index out of range");
}

// Room for one more pointer, grown geometrically, before a record is taken,
// so a failed growth loses no record.
void Storage::Grow() {
    if (m_records.size() == m_records.capacity())
        m_records.reserve(std::max<std::size_t>(16, 2 * m_records.size()));
}

unsigned Storage::Append() {
    Grow();
    ++m_writes;
    m_records.push_back(m_pages.Take());
    return Size() - 1;
}

unsigned Storage::Insert(unsigned index) {
    CheckIndex(index, Size() + 1);
    ++m_writes;
    Grow();
    m_records.insert(m_records.begin() + index, m_pages.Take());
    return index;
}

unsigned Storage::Erase(unsigned index) {
    CheckIndex(index, Size());
    ++m_writes;
    unsigned char *record = m_records[index];
    ResetWriters(record);
    m_records.erase(m_records.begin() + index);
    if (record == m_constRecord) m_constRecord = nullptr;
    m_pages.Free(record);
    return index;
}

void Storage::EraseAll() {
    ResetWriters(nullptr);
    ++m_writes;
    m_records.clear();
    m_constRecord = nullptr;
    m_pages.FreeAll();
}

unsigned Storage::Move(unsigned from, unsigned to) {
    CheckIndex(from, Size());
    CheckIndex(to, Size());
    InsertRecord(to, TakeRecord(from));
    return to;
}

unsigned char *Storage::TakeRecord(unsigned index) {
    CheckIndex(index, Size());
    ++m_writes;
    unsigned char *record = m_records[index];
    m_records.erase(m_records.begin() + index);
    return record;
}

void Storage::InsertRecord(unsigned index, unsigned char *record) {
    CheckIndex(index, Size() + 1);
    ++m_writes;
    m_records.insert(m_records.begin() + index, record);
}

unsigned Storage::AlignCell(unsigned end, int size) {
    const unsigned cell = size > 0 ? static_cast<unsigned>(size) : 1;
    return (end + cell - 1) / cell * cell;
}

void Storage::InitCursor(const std::vector<CMemFieldBase *> &fields, unsigned index) const {
    unsigned char *record = GetAddress(index);
    unsigned end = 0;
    for (CMemFieldBase *field : fields) {
        const unsigned offset = AlignCell(end, field->GetSize());
        field->Init(record ? record + offset : nullptr);
        end = offset + static_cast<unsigned>(field->GetSize());
    }
}

void Storage::InitField(CMemFieldBase *field, unsigned index, int offset) const {
    unsigned char *record = GetAddress(index);
    field->Init(record ? record + offset : nullptr);
}

void Storage::SetConstCur(unsigned index) { m_constRecord = GetAddress(index); }

}  // namespace quelt
