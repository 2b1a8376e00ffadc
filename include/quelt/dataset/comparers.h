#pragma once

// Orderings of the records of a memory data set by their sort keys. Each
// comparer answers "does record a go before record b" and is a strict weak
// ordering: NaN cells sort after every number ascending, before them
// descending, and equal to each other.

#include <vector>

#include "quelt/core/config.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

// One key of a sort, as the data set hands it to its storage.
struct CMemDataSet::CVecDataStorage::SortElement {
    bool descending;
    bool caseSensitive;
    IField::Types type;
    int field;
    int offset;
    ISortRule *rule;
};

// Compares the raw cells of two records key by key.
class QUELT_API CMemDataSet::CRecordComparer1 {
  public:
    void AddField(IField::Types type, int offset, bool descending, bool caseSensitive);
    void Clear();
    std::size_t GetCount() const { return m_types.size(); }
    // True when record a goes before record b.
    bool operator()(const void *a, const void *b) const;
    // Starts fetching what comparing the record reads first: the cell of the
    // first key or, once that cell is cached (cellCached), the text a String
    // cell points to.
    void Prefetch(const unsigned char *record, bool cellCached) const;

    // Ascending order of two cells of a type: negative, 0 or positive.
    // BLOB cells never decide; String cells compare null < empty < text.
    static int CompareCells(IField::Types type, const unsigned char *a, const unsigned char *b,
                            bool caseSensitive);

  protected:
    // The order of key i with its direction applied.
    int CompareKey(std::size_t i, const unsigned char *a, const unsigned char *b) const;

    std::vector<IField::Types> m_types;
    std::vector<int> m_offsets;
    std::vector<char> m_descending;
    std::vector<char> m_caseSensitive;
};

// Raw cells, except that keys with a host rule ask the host, which gets the
// records' current indices.
class QUELT_API CMemDataSet::CRecordComparerEx : public CMemDataSet::CRecordComparer1 {
  public:
    // Attaches the rule (null for none) and field index to the next key
    // without one, in the order the keys were added.
    void AddFieldEx(int fieldIndex, int offset, ISortRule *rule);
    // The first record pointer of the vector being sorted.
    void AddStartAddress(void *start) { m_pStart = start; }
    void *GetStartAddress() const { return m_pStart; }
    bool operator()(void *a, void *b, int indexA, int indexB) const;

  private:
    std::vector<ISortRule *> m_rules;
    std::vector<int> m_fieldIndices;
    void *m_pStart = nullptr;
};

// Compares through field objects bound to the records, one direction for
// every key. Owns its field clones, so it is not copied.
class QUELT_API CMemDataSet::CRecordComparer {
  public:
    CRecordComparer() = default;
    ~CRecordComparer();
    CRecordComparer(const CRecordComparer &) = delete;
    CRecordComparer &operator=(const CRecordComparer &) = delete;

    void AddField(CMemFieldBase *field, int offset);
    void SetDescending(bool descending) { m_descending = descending; }
    void Clear();
    bool operator()(const void *a, const void *b) const;

  private:
    std::vector<CMemFieldBase *> m_fieldsA;
    std::vector<CMemFieldBase *> m_fieldsB;
    std::vector<int> m_offsets;
    bool m_descending = false;
};

}  // namespace quelt
