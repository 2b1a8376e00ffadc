#include <algorithm>
#include <utility>

#include "quelt/core/exceptions.h"
#include "quelt/dataset/keydataset.h"

namespace quelt {

using Storage = CKeyDataSet::CMapDataStorage;

namespace {

unsigned char *Bytes(void *record) { return static_cast<unsigned char *>(record); }

}  // namespace

Storage::iterator Storage::Insert(iterator hint, unsigned key) {
    unsigned char *record = m_pages.Take();
    iterator placed;
    try {
        placed = m_tree.emplace_hint(hint, key, record);
    } catch (...) {
        m_pages.Free(record);
        throw;
    }
    if (placed->second != record) m_pages.Free(record);
    return placed;
}

Storage::iterator Storage::Erase(iterator position) {
    unsigned char *record = Bytes(position->second);
    const iterator next = m_tree.erase(position);
    m_pages.Free(record);
    return next;
}

void Storage::Erase(unsigned key) { Erase(GoToKey(key)); }

Storage::iterator Storage::GoToKey(unsigned key) {
    const iterator found = m_tree.find(key);
    if (found == m_tree.end()) throw KeyNotFound();
    return found;
}

void Storage::EraseAll() {
    m_tree.clear();
    m_pages.FreeAll();
}

void Storage::InitCursor(const std::vector<CMemFieldBase *> &fields, iterator position) const {
    unsigned char *record = position == m_tree.end() ? nullptr : Bytes(position->second);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i]->Init(record && i < m_offsets.size() ? record + m_offsets[i] : nullptr);
    }
}

void Storage::Extend(std::vector<int> offsets, unsigned recordSize, CMemFieldBase *added) {
    CRecordPages pages;
    pages.SetRecordSize(recordSize);
    pages.SetRecordInPage(m_pages.GetRecordInPage());
    std::vector<unsigned char *> copies;
    copies.reserve(m_tree.size());
    for (const auto &entry : m_tree) {
        unsigned char *copy = pages.Take();
        std::copy_n(Bytes(entry.second), m_pages.GetRecordSize(), copy);
        added->Init(copy + offsets.back());
        added->InitMemory();
        added->Init(nullptr);
        copies.push_back(copy);
    }
    // Nothing can fail from here on: the tree takes the copies in one pass.
    auto copy = copies.begin();
    for (auto &entry : m_tree) entry.second = *copy++;
    m_pages.Swap(pages);
    m_offsets = std::move(offsets);
}

void Storage::ResetLayout() {
    m_pages.SetRecordSize(0);
    m_offsets.clear();
}

}  // namespace quelt
