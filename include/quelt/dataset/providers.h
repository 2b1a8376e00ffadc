#pragma once

// Interfaces the host implements: the sources of a virtual data set and the
// comparison rules of sorted fields. The library does not own them.

#include "quelt/core/config.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/idataset.h"

namespace quelt {

class CQueltVariant;

// The schema of a virtual data set.
class QUELT_API IMetaData {
  public:
    virtual ~IMetaData();
    virtual int GetFieldCount() = 0;
    virtual IField::Types GetFieldType(int field) = 0;
    virtual wstring GetFieldName(int field) = 0;
};

// Values of any (record, field) pair on request.
class QUELT_API IDataRandom {
  public:
    virtual ~IDataRandom();
    virtual unsigned GetRecordCount() = 0;
    virtual CQueltVariant GetValue(unsigned record, unsigned field) = 0;
};

class QUELT_API IEditRandom {
  public:
    virtual ~IEditRandom();
    virtual void SetValue(unsigned record, unsigned field, const CQueltVariant &value) = 0;
    // A new record before that one.
    virtual void Insert(unsigned record) = 0;
    virtual void Move(unsigned from, unsigned to) = 0;
    virtual void Append() = 0;
    virtual void Erase(unsigned record) = 0;
    virtual void EraseAll() = 0;
};

// A source with a current position that the library moves one record at a time.
class QUELT_API IDataDirectional {
  public:
    virtual ~IDataDirectional();
    virtual unsigned GetRecordCount() = 0;
    // Positioning of the host's own; the library moves only with Next and Prev.
    virtual void First() = 0;
    virtual void Last() = 0;
    virtual bool IsBOF() = 0;
    virtual bool IsEOF() = 0;
    virtual void Next() = 0;
    virtual void Prev() = 0;
    // The value of a field at the current position.
    virtual CQueltVariant GetValue(unsigned field) = 0;
};

// Editing at the current position of a directional source.
class QUELT_API IEditDirectional {
  public:
    virtual ~IEditDirectional();
    virtual void SetValue(unsigned field, const CQueltVariant &value) = 0;
    virtual void Insert() = 0;
    virtual void Append() = 0;
    virtual void Erase() = 0;
    virtual void EraseAll() = 0;
};

// Sorting done by the host.
class QUELT_API ISort {
  public:
    virtual ~ISort();
    virtual void AddSortField(int field, int sortIndex, bool descending, bool caseSensitive) = 0;
    // Host-side reset of the key list; the library never calls it.
    virtual void ClearSortFields() = 0;
    virtual void SetCurrentRecord(unsigned record) = 0;
    // True when the host sorted; current then holds the current record's new position.
    virtual bool Sort(unsigned &current) = 0;
};

// Searching done by the host; the Find operations return a record index,
// negative when there is none.
class QUELT_API IFind {
  public:
    virtual ~IFind();
    virtual void AddFindField(int field, const CQueltVariant &value, bool descending, bool caseSensitive) = 0;
    virtual void ClearFindFields() = 0;
    virtual int FindKey() = 0;
    virtual int FindNearest() = 0;
    virtual int FindNext() = 0;
};

// A host comparison for one sorted field.
class QUELT_API ISortRule {
  public:
    virtual ~ISortRule();
    // Negative when record A goes first, positive when B does, 0 when the key
    // does not decide. The records are current indices in the data set.
    virtual int Compare(int fieldIndex, int recordA, int recordB, bool descending) = 0;
};

}  // namespace quelt
