#pragma once

// The data set that keeps its records in memory: fixed-size records laid out
// from the field list, 256 to a page, reached through a vector of pointers.

#include <iosfwd>
#include <memory>
#include <utility>
#include <vector>

#include "quelt/core/config.h"
#include "quelt/core/pool_alloc.h"
#include "quelt/dataset/fields.h"
#include "quelt/dataset/idataset.h"
#include "quelt/dataset/variant.h"

namespace quelt {

class CColumnViewLink;
class KeyIndex;

// Record memory of the memory and key data sets: pages of records, each slot
// handed out once, zero-filled, and a page freed with its last record.
class QUELT_API CRecordPages {
  public:
    // Page header; the records follow it.
    struct MemoryItem {
        MemoryItem *next;
        unsigned count;
        unsigned char *free;
    };
    // The header padded so records start 8-aligned.
    static constexpr unsigned HeaderSize = (sizeof(MemoryItem) + 7) / 8 * 8;

    CRecordPages() = default;
    ~CRecordPages();
    CRecordPages(const CRecordPages &) = delete;
    CRecordPages &operator=(const CRecordPages &) = delete;
    void Swap(CRecordPages &other) noexcept;

    unsigned GetRecordSize() const { return m_recordSize; }
    int GetRecordInPage() const { return m_recordInPage; }
    // Layout changes need all records freed (std::logic_error otherwise).
    void SetRecordSize(unsigned size);
    void SetRecordInPage(int count);
    // Records are placed this far apart: the record size rounded up to 8, at least 8.
    unsigned GetStride() const;

    // A zero-filled record; std::bad_alloc when no page can be had.
    unsigned char *Take();
    // Null and records of other pages are ignored.
    void Free(unsigned char *record);
    void FreeAll();
    unsigned GetPageCount() const;

  private:
    unsigned m_recordSize = 0;
    int m_recordInPage = 256;
    MemoryItem *m_head = nullptr;
};

class QUELT_API CMemDataSet : public CImplEventSender<IMemDataSet> {
  public:
    class CVecDataStorage;
    class CMemCursor;
    class CMemColumn;
    class CRecordComparer;
    class CRecordComparer1;
    class CRecordComparerEx;
    class CFastWriting;

    // One sort key as every comparison of records needs it.
    struct SortKey {
        int field;
        IField::Types type;
        int offset;
        bool descending;
        bool caseSensitive;
        ISortRule *rule;
    };

    explicit CMemDataSet(unsigned reserve = 100);
    ~CMemDataSet() override;
    CMemDataSet(const CMemDataSet &) = delete;
    CMemDataSet &operator=(const CMemDataSet &) = delete;

    // IDataSet
    unsigned GetFieldCount() const override;
    unsigned GetRecordCount() const override;
    Cursor CreateCursor(Cursor &from, int offset) override;
    Cursor CreateCursor() override;
    void DeleteCursor(const Cursor &cursor) override;
    Column CreateColumn(int fieldIndex) override;
    void DeleteColumn(const Column &column) override;
    const Cursor &First() override;
    const Cursor &Last() override;
    int GetFieldIndex(const wstring &name) const override;
    const wstring &GetFieldName(int index) const override;
    const IField *GetField(const wstring &name) const override;
    const IField *GetField(int index) const override;

    // IMemoryDataSet
    int AddField(const wstring &name, IField::Types type) override;
    int InsertField(unsigned index, const wstring &name, IField::Types type) override;
    int DeleteField(const wstring &name) override;
    int DeleteField(unsigned index) override;
    void SetFieldFormat(unsigned index, const wstring &format) override;
    wstring GetFieldFormat(unsigned index) override;
    void UpdateField(IField *field) override;
    void Clear() override;

    // IEditableDataSet
    using IEditableDataSet::SetFieldValue;
    Cursor &Insert(Cursor &cursor) override;
    unsigned Move(unsigned from, unsigned to) override;
    Cursor &Append(Cursor &cursor) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, void *value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const tdatetimeinterval &value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const ttimeinterval &value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const tdatetime &value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const wchar *value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, double value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, float value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int64 value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, short value) override;
    void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, bool value) override;
    void *GetVoid(unsigned fieldIndex, unsigned recordIndex) override;
    double GetNumeric(unsigned fieldIndex, unsigned recordIndex) override;
    wstring GetString(unsigned fieldIndex, unsigned recordIndex) override;
    tdatetime GetDateTime(unsigned fieldIndex, unsigned recordIndex) override;
    ttimeinterval GetTimeInterval(unsigned fieldIndex, unsigned recordIndex) override;
    tdatetimeinterval GetDateTimeInterval(unsigned fieldIndex, unsigned recordIndex) override;
    Cursor &Erase(Cursor &cursor) override;
    void EraseAll() override;

    // IMemDataSet
    unsigned Sort() override;
    IFastWriter *CreateFastWriter() override;
    void DeleteFastWriter(IFastWriter *writer) override;
    void SetConstCur(Cursor &cursor) override;
    void SetKeepOrder(bool keepOrder) override;
    bool IsKeepOrder() override;
    void SetMetaData(IMetaData *provider) override;
    void SetDataRandom(IDataRandom *provider) override;
    void SetEditRandom(IEditRandom *provider) override;
    void SetDataDirectional(IDataDirectional *provider) override;
    void SetEditDirectional(IEditDirectional *provider) override;
    void SetSort(ISort *provider) override;
    void SetFind(IFind *provider) override;
    bool IsVirtual() override;
    void SetSortRule(int fieldIndex, ISortRule *rule) override;
    ISortRule *GetSortRule(int fieldIndex) const override;

    // Appends the fields with one re-layout of the records, so a long list
    // costs time in proportion to its length; raises OnAddColumn for each.
    // A name already taken or given twice throws FieldAlreadyExists and adds
    // nothing. Returns the new field count.
    int AddFields(const std::vector<std::pair<wstring, IField::Types>> &fields);

    // The prototype field of an index (the object GetField returns).
    CMemFieldBase *GetCloneField(int index) const;
    // The offset of a field's cell in a record.
    int GetFieldShift(int index) const;
    CVecDataStorage &GetDataStorage();
    // Initialises the writer with this data set's layout and registers it.
    void initfast(CFastWriting &writer);
    // The sort keys in key order, from the fields' current sort attributes:
    // with n fields sorted, those whose sort index is in 0..n-1, ordered by
    // sort index and then field index.
    std::vector<SortKey> BuildSortKeys() const;

    // Searching (find.cpp): the records must be in the order the find fields describe.
    virtual void AddFindField(int fieldIndex, const CQueltVariant &value, bool descending,
                              bool caseSensitive);
    virtual void ClearFindFields();
    virtual bool FindKey(Cursor &cursor);
    virtual bool FindNearest(Cursor &cursor);
    virtual bool FindNext(Cursor &cursor);

  protected:
    unsigned GetRecordSize() const;
    int _GetFieldIndexNoEx(const wstring &name) const;
    // A new registered cursor at 0 with a clone of every field, not yet bound.
    CMemCursor *_CreateCursor();
    // Shifts every other registered cursor at or after the cursor's index.
    void UpdatesCursorsInsert(const ICursor *cursor);
    void UpdatesCursorsDelete(const ICursor *cursor);
    // Moves an edited record to its sorted place when keep-order is on and
    // field is a sort key; returns the record's index afterwards.
    unsigned KeepOrder(unsigned record, unsigned field);
    // Where the record goes under keys; the record is at index record now.
    unsigned PlaceRecord(unsigned record, const std::vector<SortKey> &keys);

  private:
    friend class CMemCursor;
    friend class CMemColumn;
    friend class CColumnViewLink;

    CMemCursor &OwnCursor(const ICursor *cursor) const;
    CMemCursor &OwnCursor(const Cursor &cursor) const;
    // A new cursor offset records after a valid cursor of this data set.
    Cursor CursorFrom(const CMemCursor &source, int offset);
    CMemFieldBase &Prototype(unsigned fieldIndex) const;
    CMemFieldBase &BindPrototype(unsigned fieldIndex, unsigned recordIndex);
    template <class V>
    void WriteValue(unsigned fieldIndex, unsigned &recordIndex, const V &value);
    int InsertFieldAt(unsigned index, const wstring &name, IField::Types type);
    // Replaces the field list, re-laying existing records.
    void ChangeFields(std::vector<CMemFieldBase *> fields, CMemFieldBase *removed);
    void RelayRecords(CVecDataStorage &relaid, const std::vector<CMemFieldBase *> &fields,
                      const std::vector<int> &offsets) const;
    void ReleaseCells(CMemFieldBase *field);
    void AfterFieldListChange();
    // The field index of the first sort key, or 0.
    unsigned PrimaryKeyField() const;
    // KeepOrder for a record just inserted at index under the first sort key.
    unsigned PlaceNewRecord(unsigned index);
    bool IsAnchor(const CMemCursor *cursor) const;
    const Cursor &Anchor(Cursor &anchor, unsigned index);
    // Rebinds every field, cursor and column; a cursor that is already bound
    // to its record may be passed to be left as it is.
    void RebindAll(const CMemCursor *bound = nullptr);
    void ForgetCursor(const CMemCursor *cursor);
    void ForgetColumn(const CMemColumn *column);
    void DetachAll();
    void DetachViews();
    template <auto Handler>
    void Raise(IField *field);

    CVecDataStorage *m_pStorage;
    std::vector<CMemFieldBase *> m_fields;
    std::vector<int> m_offsets;
    std::vector<CMemCursor *> m_cursors;
    std::vector<CMemColumn *> m_columns;
    std::vector<CColumnViewLink *> m_views;
    Cursor m_first;
    Cursor m_last;
    Pool_alloc<wchar> m_alloc;
    CMemCursor *m_pConstCur = nullptr;
    bool m_bKeepOrder = false;

    // Places the cursor at the index a search returned.
    bool PlaceFound(Cursor &cursor, unsigned index);
    // EraseAll frees the pool the String find keys live in.
    void ForgetFindTexts();
    std::vector<IField::Types> m_findTypes;
    std::vector<int> m_findOffsets;
    std::vector<char> m_findDescending;
    std::vector<char> m_findCaseSensitive;
    std::vector<unsigned char> m_keyRecord;
};

// Record memory: pages of records that are handed out once and freed with
// their last record, and the vector of record pointers in record order.
class QUELT_API CMemDataSet::CVecDataStorage {
  public:
    using MemoryItem = CRecordPages::MemoryItem;

    CVecDataStorage();
    // Detaches the fast writers that write into it.
    ~CVecDataStorage();
    CVecDataStorage(const CVecDataStorage &) = delete;
    CVecDataStorage &operator=(const CVecDataStorage &) = delete;
    // Swaps the records and pages; the fast writers stay with their storage object.
    void Swap(CVecDataStorage &other) noexcept;

    void Reserve(unsigned count);
    unsigned Size() const { return static_cast<unsigned>(m_records.size()); }
    unsigned First() const { return 0; }
    unsigned Last() const { return Size(); }
    unsigned GetRecordSize() const { return m_pages.GetRecordSize(); }
    // Layout changes need an empty storage (std::logic_error otherwise).
    void SetRecordSize(unsigned size) { m_pages.SetRecordSize(size); }
    int GetRecordInPage() const { return m_pages.GetRecordInPage(); }
    void SetRecordInPage(int count) { m_pages.SetRecordInPage(count); }
    unsigned GetStride() const { return m_pages.GetStride(); }

    // A new zero-filled record at the end; returns its index.
    unsigned Append();
    // A new zero-filled record before index; returns index (std::out_of_range past the end).
    unsigned Insert(unsigned index);
    // Frees the record; returns index. A fast writer standing on it starts over at AddRecord.
    unsigned Erase(unsigned index);
    // Frees every record; every fast writer starts over at AddRecord.
    void EraseAll();
    // Takes the pointer out at from and puts it back at to; returns to.
    unsigned Move(unsigned from, unsigned to);
    unsigned char *TakeRecord(unsigned index);
    void InsertRecord(unsigned index, unsigned char *record);
    // Null past the end.
    unsigned char *GetAddress(unsigned index) const { return index < Size() ? m_records[index] : nullptr; }
    // Binds every field to its cell in record index, unbinds past the end.
    void InitCursor(const std::vector<CMemFieldBase *> &fields, unsigned index) const;
    void InitField(CMemFieldBase *field, unsigned index, int offset) const;
    // Remembers the record at index (none past the end) for a sort to find again.
    void SetConstCur(unsigned index);
    unsigned char *GetConstRecord() const { return m_constRecord; }
    // Record pointers in record order, for sorting and searching. Handing
    // them out to be changed counts as a write.
    std::vector<unsigned char *> &Records() {
        ++m_writes;
        return m_records;
    }
    const std::vector<unsigned char *> &Records() const { return m_records; }
    unsigned GetPageCount() const { return m_pages.GetPageCount(); }
    // The fast writers on this storage refuse every later call (its layout changed).
    void DetachWriters();

    // Steps on every write that may change a cell or the record order: the
    // fields, the fast writers and every change of the records count here,
    // and a search layout built at one count is used only while it stays.
    unsigned long long &Writes() { return m_writes; }

    // The offset of a cell of the given size after offset end: the next
    // multiple of its own size.
    static unsigned AlignCell(unsigned end, int size);

    // Sorting (sort.cpp) and searching (find.cpp).
    struct SortElement;
    // Sorts by the keys; returns the new index of the constant record (the
    // record count when it is gone).
    unsigned Sort1(const SortElement *entries, int count);
    void Sort(CMemFieldBase *const *fields, const int *offsets, int count, bool descending);
    // Searches keyRecord's cells under the keys: the first record not before
    // it (FindNearest), the first record after it (FindNext), or the first
    // record equal to it (FindKey, unsigned(-1) when there is none).
    unsigned FindKey(const IField::Types *types, const int *offsets, int count, const void *keyRecord,
                     const char *descending, const char *caseSensitive) const;
    unsigned FindNearest(const IField::Types *types, const int *offsets, int count, const void *keyRecord,
                         const char *descending, const char *caseSensitive) const;
    unsigned FindNext(const IField::Types *types, const int *offsets, int count, const void *keyRecord,
                      const char *descending, const char *caseSensitive) const;

  private:
    friend class CFastWriting;

    // The index of the constant record, the record count when it is gone.
    unsigned ConstIndex() const;
    // The search layout when it answers for the first of the keys now, else null.
    const KeyIndex *Layout(const IField::Types *types, const int *offsets, int count,
                           const char *descending) const;
    void Grow();
    // Writers whose current record is record (every writer for null) start over at AddRecord.
    void ResetWriters(const unsigned char *record);

    void CheckIndex(unsigned index, unsigned limit) const;

    std::vector<unsigned char *> m_records;
    CRecordPages m_pages;
    unsigned char *m_constRecord = nullptr;
    // Every fast writer whose storage this is, however it was initialised.
    std::vector<CFastWriting *> m_writers;
    unsigned long long m_writes = 0;
    // The first sort key's search layout, from the last sort by a numeric key.
    std::unique_ptr<KeyIndex> m_index;
};

class QUELT_API CMemDataSet::CMemCursor : public IDataSet::ICursor {
  public:
    explicit CMemCursor(CMemDataSet *dataSet);
    ~CMemCursor() override;
    CMemCursor(const CMemCursor &) = delete;
    CMemCursor &operator=(const CMemCursor &) = delete;

    ICursor &operator++() override;
    ICursor &operator--() override;
    ICursor &operator+=(int n) override;
    ICursor &operator-=(int n) override;
    bool operator==(const ICursor &other) const override;
    using ICursor::operator[];
    // Throws FieldNotFound for an index outside the field list.
    IField &operator[](int index) override;
    const IField &operator[](int index) const override;
    bool IsFirst() override;
    bool IsLast() override;
    Cursor clone() override;
    ICursor &MoveTo(const ICursor &other) override;
    bool IsValid() const override;
    IDataSet *dataset() const override;

    void SetIterator(unsigned index) { m_index = index; }
    unsigned GetIterator() const { return m_index; }
    // Appends a clone of every field of the list.
    void SetFields(const std::vector<CMemFieldBase *> &fields);
    const std::vector<CMemFieldBase *> &GetFields() const { return m_fields; }
    void InitFields();
    void DestroyFields();
    void UpdateAfterInsert(const CMemCursor &other);
    void UpdateAfterDelete(const CMemCursor &other);
    // Binds the fields to the record at the index (unbinds past the end).
    void Rebind();

  private:
    friend class CMemDataSet;
    // Cut loose from the data set: not valid, fields unbound, moves do nothing.
    void Detach();
    void ClearFields();
    void MoveIndex(long long index);

    std::vector<CMemFieldBase *> m_fields;
    unsigned m_index = 0;
    CMemDataSet *m_pDataSet;
};

class QUELT_API CMemDataSet::CMemColumn : public IDataSet::IColumn {
  public:
    CMemColumn(CMemDataSet *dataSet, int fieldIndex);
    ~CMemColumn() override;
    CMemColumn(const CMemColumn &) = delete;
    CMemColumn &operator=(const CMemColumn &) = delete;

    IField &operator[](int record) override;
    const IField &operator[](int record) const override;
    IField &Prev() override;
    IField &Next() override;
    IField &First() override;
    IField &Last() override;
    IField &Get() override;
    bool IsBOF() override;
    bool IsEOF() override;
    int GetSize() const override;
    int GetIndex() const override;
    IDataSet *dataset() const override;

  private:
    friend class CMemDataSet;
    // Moves to the record (clamped to the records) and binds the field there.
    IField &Reach(int record) const;
    // Follows its field after the field list changed; false when the field is gone.
    bool Follow();
    void Detach();

    CMemDataSet *m_pDataSet;
    mutable int m_record = 0;
    int m_offset;
    CMemFieldBase *m_pField;
    int m_fieldIndex;
    const CMemFieldBase *m_pPrototype;
};

QUELT_API std::ostream &operator<<(std::ostream &os, IMemDataSet &dataSet);
// Replaces the content of the data set. Malformed or truncated input sets
// failbit and keeps the fields and the complete records read so far.
QUELT_API std::istream &operator>>(std::istream &is, IMemDataSet &dataSet);

}  // namespace quelt

#include "quelt/dataset/comparers.h"
