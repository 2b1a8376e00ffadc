#pragma once

// The data-set model shared by every kind of data set: fields, cursors,
// columns, the bulk writer, notifications and the factories.

#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

class ISortRule;
class IMetaData;
class IDataRandom;
class IEditRandom;
class IDataDirectional;
class IEditDirectional;
class ISort;
class IFind;

// One typed column of a data set, bound to one record at a time.
class QUELT_API IField {
  public:
    // Stored as 32-bit ints; the values are part of the data-set text stream.
    enum Types : int {
        BLOB = 0,
        Bool = 1,
        Short = 2,
        Int = 3,
        Int64 = 4,
        Float = 5,
        Double = 6,
        String = 7,
        DateTime = 8,
        TimeInterval = 9,
        DateTimeInterval = 10
    };
    enum SortType : int { NotSorted = 0, Ascending = 1, Descending = 2 };

    virtual ~IField();
    // Address of the value (of the block for BLOB fields), null when unbound.
    virtual void *GetData() = 0;
    virtual void SetData(void *data) = 0;
    virtual Types GetType() const = 0;
    virtual const wstring &GetName() const = 0;
    virtual int GetSize() const = 0;
    // The sort attributes are settings of the column, not of the value, so
    // they can be changed through the const fields a data set hands out.
    virtual void SetSortType(SortType type) const = 0;
    virtual SortType GetSortType() const = 0;
    virtual void SetSortIndex(int index) const = 0;
    virtual int GetSortIndex() const = 0;
    virtual void SetIsSortCaseSensitive(bool caseSensitive) const = 0;
    virtual bool IsSortCaseSensitive() const = 0;
    virtual bool operator<(IField &other) = 0;
    virtual operator bool() = 0;
    virtual operator short() = 0;
    virtual operator int() = 0;
    virtual operator int64() = 0;
    virtual operator float() = 0;
    virtual operator double() = 0;
    virtual operator wstring() = 0;
    virtual operator tdatetime() = 0;
    virtual operator ttimeinterval() = 0;
    virtual operator tdatetimeinterval() = 0;
    // Returns the field unchanged unless a field class gives it a meaning.
    virtual IField &operator=(const IField &src);
    virtual IField &operator=(const tdatetimeinterval &value) = 0;
    virtual IField &operator=(const ttimeinterval &value) = 0;
    virtual IField &operator=(const tdatetime &value) = 0;
    // Forwards the characters to the 16-bit text assignment.
    virtual IField &operator=(const wstring &value);
    virtual IField &operator=(const wchar *value) = 0;
    virtual IField &operator=(double value) = 0;
    virtual IField &operator=(float value) = 0;
    virtual IField &operator=(int64 value) = 0;
    virtual IField &operator=(int value) = 0;
    virtual IField &operator=(short value) = 0;
    virtual IField &operator=(bool value) = 0;
    virtual void SetFormat(const wstring &format) = 0;
    virtual wstring GetFormat() = 0;

  protected:
    IField() = default;
    IField(const IField &) = default;
};

// A field whose value lives in a record cell of a memory data set.
class QUELT_API IMemoryField : public IField {
  public:
    using IField::operator=;
    // Prepares the cell of a freshly created record.
    virtual void InitMemory();
    // Releases what the cell owns before its record goes away.
    virtual void DestroyMemory();

  protected:
    IMemoryField() = default;
    IMemoryField(const IMemoryField &) = default;
    IMemoryField &operator=(const IMemoryField &) = default;
};

class QUELT_API IDataSet : public IEventSender {
  public:
    class ICursor;
    class IColumn;
    class Cursor;
    class Column;

    static const int BadFieldIndex = -1;

    virtual unsigned GetFieldCount() const = 0;
    virtual unsigned GetRecordCount() const = 0;
    virtual Cursor CreateCursor(Cursor &from, int offset) = 0;
    virtual Cursor CreateCursor() = 0;
    // Called by a cursor handle that lets go of its cursor.
    virtual void DeleteCursor(const Cursor &cursor) = 0;
    // An index outside the field list gives an empty handle.
    virtual Column CreateColumn(int fieldIndex) = 0;
    virtual void DeleteColumn(const Column &column) = 0;
    virtual const Cursor &First() = 0;
    virtual const Cursor &Last() = 0;
    // Throws FieldNotFound for a name the data set does not have.
    virtual int GetFieldIndex(const wstring &name) const = 0;
    // Throws FieldNotFound for an index outside the field list.
    virtual const wstring &GetFieldName(int index) const = 0;
    virtual const IField *GetField(const wstring &name) const = 0;
    virtual const IField *GetField(int index) const = 0;

    bool IsEmpty() const { return GetRecordCount() == 0; }
    Column CreateColumnByName(const wstring &name);
};

// A position in a data set with its own copy of every field.
class QUELT_API IDataSet::ICursor {
  public:
    virtual ~ICursor();
    virtual ICursor &operator++() = 0;
    virtual ICursor &operator--() = 0;
    virtual ICursor &operator+=(int n) = 0;
    virtual ICursor &operator-=(int n) = 0;
    virtual bool operator==(const ICursor &other) const = 0;
    virtual bool operator!=(const ICursor &other) const;
    virtual IField &operator[](const wstring &name);
    virtual const IField &operator[](const wstring &name) const;
    virtual IField &operator[](int index) = 0;
    virtual const IField &operator[](int index) const = 0;
    virtual bool IsFirst() = 0;
    virtual bool IsLast() = 0;
    virtual Cursor clone() = 0;
    virtual ICursor &MoveTo(const ICursor &other) = 0;
    virtual bool IsValid() const = 0;
    virtual IDataSet *dataset() const = 0;

  protected:
    ICursor() = default;
    ICursor(const ICursor &) = default;
    ICursor &operator=(const ICursor &) = default;
};

// One field walked down the records.
class QUELT_API IDataSet::IColumn {
  public:
    virtual ~IColumn();
    virtual IField &operator[](int record) = 0;
    virtual const IField &operator[](int record) const = 0;
    virtual IField &Prev() = 0;
    virtual IField &Next() = 0;
    virtual IField &First() = 0;
    virtual IField &Last() = 0;
    virtual IField &Get() = 0;
    virtual bool IsBOF() = 0;
    virtual bool IsEOF() = 0;
    virtual int GetSize() const = 0;
    virtual int GetIndex() const = 0;
    virtual IDataSet *dataset() const = 0;

  protected:
    IColumn() = default;
    IColumn(const IColumn &) = default;
    IColumn &operator=(const IColumn &) = default;
};

// Owns one cursor. Copying moves the cursor out of the source handle, which
// is left empty; every use of an empty handle except IsValid, icursor, reset,
// assignment and destruction throws BadCursor.
class QUELT_API IDataSet::Cursor {
  public:
    Cursor() = default;
    explicit Cursor(ICursor *cursor) : m_p(cursor) {}
    Cursor(const Cursor &other) : m_p(other.reset()) {}
    Cursor(Cursor &&other) noexcept : m_p(other.reset()) {}
    Cursor &operator=(const Cursor &other);
    ~Cursor();

    // Inline, like operator[](int), for the loops that walk a data set.
    Cursor &operator++() {
        ++get();
        return *this;
    }
    Cursor &operator--();
    Cursor &operator+=(int n);
    Cursor &operator-=(int n);
    bool operator==(const Cursor &other) const;
    bool operator!=(const Cursor &other) const;
    IField &operator[](int index) { return get()[index]; }
    const IField &operator[](int index) const { return static_cast<const ICursor &>(get())[index]; }
    IField &operator[](const wstring &name);
    const IField &operator[](const wstring &name) const;
    bool IsFirst();
    bool IsLast();
    Cursor clone();
    Cursor &MoveTo(const Cursor &other);
    // To the position of dataset()->First() / Last().
    Cursor &First();
    Cursor &Last();
    IDataSet *dataset() const;

    bool IsValid() const { return m_p && m_p->IsValid(); }
    ICursor *icursor() const { return m_p; }
    // Gives up ownership and leaves the handle empty.
    ICursor *reset() const {
        ICursor *p = m_p;
        m_p = nullptr;
        return p;
    }

  private:
    ICursor &get() const {
        if (!m_p) ThrowEmpty();
        return *m_p;
    }
    [[noreturn]] static void ThrowEmpty();
    void release();

    mutable ICursor *m_p = nullptr;
};

// Owns one column; copying moves it like a cursor handle.
class QUELT_API IDataSet::Column {
  public:
    Column() = default;
    explicit Column(IColumn *column) : m_p(column) {}
    Column(const Column &other) : m_p(other.reset()) {}
    Column(Column &&other) noexcept : m_p(other.reset()) {}
    Column &operator=(const Column &other);
    ~Column();

    IField &operator[](int record) { return get()[record]; }
    const IField &operator[](int record) const { return static_cast<const IColumn &>(get())[record]; }
    IField &Prev();
    IField &Next();
    IField &First();
    IField &Last();
    IField &Get();
    bool IsBOF();
    bool IsEOF();
    int GetSize() const;
    int GetIndex() const;
    IDataSet *dataset() const;

    bool IsValid() const { return m_p != nullptr; }
    IColumn *icolumn() const { return m_p; }
    IColumn *reset() const {
        IColumn *p = m_p;
        m_p = nullptr;
        return p;
    }

  private:
    IColumn &get() const {
        if (!m_p) ThrowEmpty();
        return *m_p;
    }
    [[noreturn]] static void ThrowEmpty();

    mutable IColumn *m_p = nullptr;
};

// A data set whose field list the caller defines.
class QUELT_API IMemoryDataSet : public IDataSet {
  public:
    virtual int AddField(const wstring &name, IField::Types type) = 0;
    virtual int InsertField(unsigned index, const wstring &name, IField::Types type) = 0;
    virtual int DeleteField(const wstring &name) = 0;
    virtual int DeleteField(unsigned index) = 0;
    virtual void SetFieldFormat(unsigned index, const wstring &format) = 0;
    virtual wstring GetFieldFormat(unsigned index) = 0;
    // Called by a field after its value was written.
    virtual void UpdateField(IField *field) = 0;
    virtual void Clear() = 0;
};

// Record editing. recordIndex arguments are references because writing a
// value may move the record to keep the sort order; the new index comes back.
class QUELT_API IEditableDataSet {
  public:
    virtual ~IEditableDataSet();
    virtual IDataSet::Cursor &Insert(IDataSet::Cursor &cursor) = 0;
    virtual unsigned Move(unsigned from, unsigned to) = 0;
    virtual IDataSet::Cursor &Append(IDataSet::Cursor &cursor) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, void *value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex,
                               const tdatetimeinterval &value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const ttimeinterval &value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const tdatetime &value) = 0;
    // Forwards the characters to the 16-bit text form.
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const wstring &value);
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, const wchar *value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, double value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, float value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int64 value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, int value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, short value) = 0;
    virtual void SetFieldValue(unsigned fieldIndex, unsigned &recordIndex, bool value) = 0;
    virtual void *GetVoid(unsigned fieldIndex, unsigned recordIndex) = 0;
    virtual double GetNumeric(unsigned fieldIndex, unsigned recordIndex) = 0;
    virtual wstring GetString(unsigned fieldIndex, unsigned recordIndex) = 0;
    virtual tdatetime GetDateTime(unsigned fieldIndex, unsigned recordIndex) = 0;
    virtual ttimeinterval GetTimeInterval(unsigned fieldIndex, unsigned recordIndex) = 0;
    virtual tdatetimeinterval GetDateTimeInterval(unsigned fieldIndex, unsigned recordIndex) = 0;
    virtual IDataSet::Cursor &Erase(IDataSet::Cursor &cursor) = 0;
    virtual void EraseAll() = 0;

  protected:
    IEditableDataSet() = default;
    IEditableDataSet(const IEditableDataSet &) = default;
    IEditableDataSet &operator=(const IEditableDataSet &) = default;
};

class IFastWriter;

// The editable data set that controls consume; the provider setters serve
// the virtual kind, the memory kind ignores them.
class QUELT_API IMemDataSet : public IMemoryDataSet, public IEditableDataSet {
  public:
    virtual unsigned Sort() = 0;
    virtual IFastWriter *CreateFastWriter() = 0;
    virtual void DeleteFastWriter(IFastWriter *writer) = 0;
    virtual void SetConstCur(Cursor &cursor) = 0;
    virtual void SetKeepOrder(bool keepOrder) = 0;
    virtual bool IsKeepOrder() = 0;
    virtual void SetMetaData(IMetaData *provider) = 0;
    virtual void SetDataRandom(IDataRandom *provider) = 0;
    virtual void SetEditRandom(IEditRandom *provider) = 0;
    virtual void SetDataDirectional(IDataDirectional *provider) = 0;
    virtual void SetEditDirectional(IEditDirectional *provider) = 0;
    virtual void SetSort(ISort *provider) = 0;
    virtual void SetFind(IFind *provider) = 0;
    virtual bool IsVirtual() = 0;
    virtual void SetSortRule(int fieldIndex, ISortRule *rule) = 0;
    virtual ISortRule *GetSortRule(int fieldIndex) const = 0;
};

// Appends records and writes their cells directly, bypassing fields,
// cursors, keep-order and notifications.
class QUELT_API IFastWriter {
  public:
    virtual ~IFastWriter();
    virtual void AddRecord() = 0;
    virtual void SetField(int fieldIndex, const tdatetimeinterval &value) = 0;
    virtual void SetField(int fieldIndex, const ttimeinterval &value) = 0;
    virtual void SetField(int fieldIndex, const tdatetime &value) = 0;
    virtual void SetField(int fieldIndex, const wchar *value) = 0;
    virtual void SetField(int fieldIndex, double value) = 0;
    virtual void SetField(int fieldIndex, float value) = 0;
    virtual void SetField(int fieldIndex, int64 value) = 0;
    virtual void SetField(int fieldIndex, int value) = 0;
    virtual void SetField(int fieldIndex, short value) = 0;
    virtual void SetField(int fieldIndex, bool value) = 0;

  protected:
    IFastWriter() = default;
    IFastWriter(const IFastWriter &) = default;
    IFastWriter &operator=(const IFastWriter &) = default;
};

// Row and column events; field is the written field for OnUpdateField and
// null otherwise.
class QUELT_API CDataSetEvent : public CEvent {
  public:
    CDataSetEvent(IEventSender *source, IField *changed) : CEvent(source), field(changed) {}

    IField *field;
};

class QUELT_API CSetFormatEvent : public CEvent {
  public:
    CSetFormatEvent(IEventSender *source, IField *changed, int fieldIndex)
        : CEvent(source), field(changed), index(fieldIndex) {}

    IField *field;
    int index;
};

class QUELT_API IDataSetNotify : public INotify {
  public:
    virtual void OnInsertRow(CDataSetEvent *event) = 0;
    virtual void OnInsertColumn(CDataSetEvent *event) = 0;
    virtual void OnAddRow(CDataSetEvent *event) = 0;
    virtual void OnAddColumn(CDataSetEvent *event) = 0;
    virtual void OnDelRow(CDataSetEvent *event) = 0;
    virtual void OnDelColumn(CDataSetEvent *event) = 0;
    virtual void OnUpdateGeneral(CDataSetEvent *event) = 0;
    virtual void OnUpdateField(CDataSetEvent *event) = 0;
    virtual void OnSetFormat(CSetFormatEvent *event) = 0;
};

// Receiver whose handlers do nothing; a listener overrides what it needs.
class QUELT_API CDataSetNotify : public CSubscriber<IDataSetNotify> {
  public:
    CDataSetNotify();
    ~CDataSetNotify() override;
    void OnInsertRow(CDataSetEvent *event) override;
    void OnInsertColumn(CDataSetEvent *event) override;
    void OnAddRow(CDataSetEvent *event) override;
    void OnAddColumn(CDataSetEvent *event) override;
    void OnDelRow(CDataSetEvent *event) override;
    void OnDelColumn(CDataSetEvent *event) override;
    void OnUpdateGeneral(CDataSetEvent *event) override;
    void OnUpdateField(CDataSetEvent *event) override;
    void OnSetFormat(CSetFormatEvent *event) override;
};

// A memory data set with room reserved for 100 records; null only when
// memory is exhausted.
QUELT_API IMemDataSet *CreateMemDataSet();
// A virtual data set without sources (see virtdataset.h); null only when
// memory is exhausted.
QUELT_API IMemDataSet *CreateVirtDataSet();
// Destroys a data set made by CreateMemDataSet or CreateVirtDataSet; null does nothing.
QUELT_API void DeleteMemDataSet(IMemDataSet *dataSet);

}  // namespace quelt
