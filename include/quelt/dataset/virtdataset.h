#pragma once

// The data set whose records live in the host. The host supplies the schema
// and the values through the interfaces of providers.h; the data set shows
// them through the ordinary data-set interfaces, sorting and searching them
// through the host, an index map over a random source, or an inner memory
// data set holding the key columns of a directional source.

#include <vector>

#include "quelt/core/config.h"
#include "quelt/dataset/idataset.h"
#include "quelt/dataset/providers.h"
#include "quelt/dataset/variant.h"
#include "quelt/dataset/virtfields.h"

namespace quelt {

class CMemDataSet;

class QUELT_API CVirtualDataSet : public CImplEventSender<IMemDataSet> {
  public:
    class CVirtualCursor;
    class CVirtualColumn;
    class CComparer;

    CVirtualDataSet();
    ~CVirtualDataSet() override;
    // The data set owns its fields and tracks its cursors; a copy could do neither.
    CVirtualDataSet(const CVirtualDataSet &) = delete;
    CVirtualDataSet &operator=(const CVirtualDataSet &) = delete;

    // IDataSet
    unsigned GetFieldCount() const override;
    // Reads the source's count afresh.
    unsigned GetRecordCount() const override;
    Cursor CreateCursor(Cursor &from, int offset) override;
    Cursor CreateCursor() override;
    void DeleteCursor(const Cursor &cursor) override;
    Column CreateColumn(int fieldIndex) override;
    void DeleteColumn(const Column &column) override;
    const Cursor &First() override;
    // On the last record (the memory kinds stand past it).
    const Cursor &Last() override;
    int GetFieldIndex(const wstring &name) const override;
    const wstring &GetFieldName(int index) const override;
    const IField *GetField(const wstring &name) const override;
    const IField *GetField(int index) const override;

    // IMemoryDataSet: the schema is fixed while IMetaData is set.
    int AddField(const wstring &name, IField::Types type) override;
    int InsertField(unsigned index, const wstring &name, IField::Types type) override;
    int DeleteField(const wstring &name) override;
    int DeleteField(unsigned index) override;
    void SetFieldFormat(unsigned index, const wstring &format) override;
    wstring GetFieldFormat(unsigned index) override;
    void UpdateField(IField *field) override;
    void Clear() override;

    // IEditableDataSet: through IEditRandom, else IEditDirectional, else nothing.
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

    bool IsRandom() const;
    // The record count as last read from the source.
    unsigned Size() const;
    // The sum of the sizes of the fields before n.
    int GetFieldShift(int n) const;
    // The data set's own field object of an index.
    CVirtFieldBase *GetCloneField(int index) const;

    // Searching, by the host's IFind, the index map or the inner data set.
    virtual void AddFindField(int fieldIndex, const CQueltVariant &value, bool descending,
                              bool caseSensitive);
    virtual void ClearFindFields();
    virtual bool FindKey(Cursor &cursor);
    virtual bool FindNearest(Cursor &cursor);
    virtual bool FindNext(Cursor &cursor);

    // The record index that stands for the search key in comparisons.
    static constexpr unsigned SearchKey = static_cast<unsigned>(-1);

  protected:
    // A new registered cursor at 0 with a clone of every field, not filled.
    CVirtualCursor *_CreateCursor();
    // Loads the fields from view record `record` (nothing past the records).
    void InitCursor(std::vector<CVirtFieldBase *> &fields, int record);
    void InitField(CVirtFieldBase *field, int record, int fieldIndex);
    // Moves a directional source to view record `record` with Next and Prev.
    void SetCurIterator(int record);
    // Re-places an edited record in the sorted order; returns its view position.
    unsigned KeepOrder(unsigned record, unsigned field);
    void UpdatesCursorsInsert(const CVirtualCursor *cursor);
    void UpdatesCursorsDelete(const CVirtualCursor *cursor);
    int _GetFieldIndexNoEx(const wstring &name) const;
    void NotifyOnInsertRow();
    void NotifyOnAddRow();
    void NotifyOnInsertColumn();
    void NotifyOnAddColumn();
    void NotifyOnDelRow();
    void NotifyOnDelColumn();
    void NotifyOnUpdateGeneral();
    void NotifyOnUpdateField(IField *field);
    void NotifyOnSetFormat(IField *field, int index);

  private:
    friend class CVirtualCursor;
    friend class CVirtualColumn;
    friend class CComparer;
    enum class FindKind { Key, Nearest, Next };

    CVirtualCursor &OwnCursor(const ICursor *cursor) const;
    CVirtualCursor &OwnCursor(const Cursor &cursor) const;
    Cursor CursorFrom(const CVirtualCursor &source, int offset);
    CVirtFieldBase &Prototype(unsigned fieldIndex) const;
    // std::out_of_range for a record past the cached count.
    void CheckRecord(unsigned record) const;
    // The source record of a view record.
    unsigned SourceIndex(unsigned record) const;
    // Reads the source's count; the index map follows it.
    unsigned SourceCount() const;
    bool HasInner() const;
    // Moves a directional source to a source record with Next and Prev.
    void PositionSource(unsigned source);
    void Fetch(CVirtFieldBase &field, unsigned record, unsigned fieldIndex);
    // The data set's own field loaded from (record, field).
    CVirtFieldBase &Loaded(unsigned fieldIndex, unsigned record);
    // The find value of a field: the search key's value during a library search.
    const CQueltVariant *KeyValue(unsigned fieldIndex) const;
    int InsertFieldAt(unsigned index, const wstring &name, IField::Types type);
    void SetFields(std::vector<CVirtFieldBase *> fields);
    void AfterFieldListChange();
    void DropInner();
    void DropOrder();
    // Every registered cursor reloads its record (random source).
    void Refill();
    unsigned PrimaryKeyField() const;
    void ShiftAfterInsert(unsigned source);
    void ShiftAfterErase(unsigned source);
    // The host moved its record from one source index to another.
    void ShiftAfterMove(unsigned from, unsigned to);
    const Cursor &Anchor(Cursor &anchor, int index);
    bool IsAnchor(const CVirtualCursor *cursor) const;
    void ForgetCursor(const CVirtualCursor *cursor);
    void ForgetColumn(const CVirtualColumn *column);
    void DetachCursors(bool keepAnchors);
    void WriteValue(unsigned fieldIndex, unsigned &recordIndex, const CQueltVariant &value);
    unsigned WriteInnerKey(unsigned row, int key, unsigned fieldIndex);
    Cursor &InsertRandom(CVirtualCursor &cursor, bool append, Cursor &handle);
    Cursor &InsertDirectional(CVirtualCursor &cursor, bool append, Cursor &handle);
    void Placed(CVirtualCursor &cursor, unsigned inserted, bool append);
    unsigned AddInnerRow(unsigned row, unsigned source);
    void EraseInnerRow(unsigned row, unsigned source);
    CComparer KeyComparer(const std::vector<int> &keys);
    unsigned SortIndexMap();
    unsigned SortInner();
    // Fills the inner data set from the source; returns the record count.
    unsigned LoadInner();
    // Puts the freshly loaded inner records in the order of the source records shown.
    void ShowInnerAs(const std::vector<unsigned> &shown);
    void AddInnerFind(std::size_t entry);
    bool Find(FindKind kind, Cursor &cursor);
    bool FindInMap(FindKind kind, Cursor &cursor);
    bool FindInInner(FindKind kind, Cursor &cursor);
    bool PlaceFound(Cursor &cursor, long long position);
    template <auto Handler>
    void Raise(IField *field);

    std::vector<CVirtFieldBase *> m_fields;
    std::vector<CVirtualCursor *> m_cursors;
    std::vector<CVirtualColumn *> m_columns;
    Cursor m_first;
    Cursor m_last;
    // The current record, as a source index.
    unsigned m_current = 0;
    bool m_bKeepOrder = false;
    mutable unsigned m_count = 0;
    // View position -> source record; empty until a random source is sorted here.
    mutable std::vector<unsigned> m_map;
    // While set, the map and the inner data set are bypassed.
    bool m_bRaw = false;
    CMemDataSet *m_pInner = nullptr;
    // The fields whose values the inner data set holds in columns 1, 2, ...
    std::vector<int> m_innerKeys;
    std::vector<int> m_findFields;
    std::vector<CQueltVariant> m_findValues;
    std::vector<char> m_findDescending;
    std::vector<char> m_findCaseSensitive;
    // A find field that is not a key of the inner data set makes its search fail.
    bool m_bFindOutsideInner = false;
    IMetaData *m_pMetaData = nullptr;
    IDataRandom *m_pDataRandom = nullptr;
    IEditRandom *m_pEditRandom = nullptr;
    IDataDirectional *m_pDataDirectional = nullptr;
    IEditDirectional *m_pEditDirectional = nullptr;
    ISort *m_pSort = nullptr;
    IFind *m_pFind = nullptr;
    // Where the directional source stands, as a source index.
    int m_position = 0;
};

class QUELT_API CVirtualDataSet::CVirtualCursor : public IDataSet::ICursor {
  public:
    explicit CVirtualCursor(CVirtualDataSet *dataSet);
    ~CVirtualCursor() override;
    CVirtualCursor(const CVirtualCursor &) = delete;
    CVirtualCursor &operator=(const CVirtualCursor &) = delete;

    ICursor &operator++() override;
    ICursor &operator--() override;
    ICursor &operator+=(int n) override;
    ICursor &operator-=(int n) override;
    bool operator==(const ICursor &other) const override;
    using ICursor::operator[];
    // Throws FieldNotFound for an index outside the field list; a directional
    // source loads the field here.
    IField &operator[](int index) override;
    const IField &operator[](int index) const override;
    bool IsFirst() override;
    bool IsLast() override;
    Cursor clone() override;
    ICursor &MoveTo(const ICursor &other) override;
    bool IsValid() const override;
    IDataSet *dataset() const override;

    // Appends a clone of every field of the list.
    void SetFields(const std::vector<CVirtFieldBase *> &fields);
    const std::vector<CVirtFieldBase *> &GetFields() const { return m_fields; }
    void InitFields() {}
    void DestroyFields() {}
    void UpdateAfterInsert(const CVirtualCursor &other);
    void UpdateAfterDelete(const CVirtualCursor &other);
    int GetIterator() const { return m_index; }

  private:
    friend class CVirtualDataSet;
    void ClearFields();
    // Moves to the index, clamped to the records, and loads (random source).
    void MoveIndex(long long index);
    void Fill();
    void Detach();

    std::vector<CVirtFieldBase *> m_fields;
    int m_index = 0;
    CVirtualDataSet *m_pDataSet;
};

class QUELT_API CVirtualDataSet::CVirtualColumn : public IDataSet::IColumn {
  public:
    CVirtualColumn(CVirtualDataSet *dataSet, int fieldIndex);
    ~CVirtualColumn() override;
    CVirtualColumn(const CVirtualColumn &) = delete;
    CVirtualColumn &operator=(const CVirtualColumn &) = delete;

    IField &operator[](int row) override;
    const IField &operator[](int row) const override;
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

    // GetFieldShift of the column's field.
    int GetShift() const { return m_shift; }

  private:
    friend class CVirtualDataSet;
    // Moves to the row clamped to the records and loads the field there.
    IField &Reach(int row) const;
    // Follows its field after the field list changed; false when it is gone.
    bool Follow();
    void Detach();

    CVirtualDataSet *m_pDataSet;
    mutable int m_row = 0;
    int m_shift;
    CVirtFieldBase *m_pField;
    int m_fieldIndex;
    const CVirtFieldBase *m_pPrototype;
};

// A "goes before" test of two source records by the keys it was given; the
// record SearchKey stands for the search key. NaN follows every number and
// equals another NaN, and two empty texts are equal on their key.
class QUELT_API CVirtualDataSet::CComparer {
  public:
    explicit CComparer(CVirtualDataSet &dataSet) : m_pDataSet(&dataSet) {}
    void InsertField(int position, IField::Types type, int fieldIndex, bool descending, bool caseSensitive);
    bool operator()(unsigned a, unsigned b) const;

  private:
    friend class CVirtualDataSet;
    int CompareKey(std::size_t key, unsigned a, unsigned b) const;

    std::vector<IField::Types> m_types;
    std::vector<int> m_fields;
    std::vector<char> m_descending;
    std::vector<char> m_caseSensitive;
    CVirtualDataSet *m_pDataSet;
};

}  // namespace quelt
