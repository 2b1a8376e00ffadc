#pragma once

// The field classes of the memory and key data sets. A field is bound to one
// record at a time by the address of its cell; an unbound field (null cell)
// reads its type's default value and ignores writes.

#include <iosfwd>

#include "quelt/core/config.h"
#include "quelt/core/pool_alloc.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/idataset.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

class QUELT_API CMemFieldBase : public IMemoryField {
  public:
    CMemFieldBase(const wstring &name, Types type, int size, IMemoryDataSet *owner);
    CMemFieldBase(const CMemFieldBase &) = default;
    CMemFieldBase &operator=(const CMemFieldBase &) = default;
    ~CMemFieldBase() override;
    using IMemoryField::operator=;

    void *GetData() override;
    Types GetType() const override;
    const wstring &GetName() const override;
    int GetSize() const override;
    void SetSortType(SortType type) const override;
    SortType GetSortType() const override;
    void SetSortIndex(int index) const override;
    int GetSortIndex() const override;
    void SetIsSortCaseSensitive(bool caseSensitive) const override;
    bool IsSortCaseSensitive() const override;
    // Accepted: empty, or 'd', 'h', '%' first (see display::IsAcceptedFormat);
    // anything else is ignored.
    void SetFormat(const wstring &format) override;
    wstring GetFormat() override;

    // A new field object equal to this one, bound to the same cell.
    virtual CMemFieldBase *clone() const = 0;
    // Binds to the cell at the address (null unbinds); returns the address
    // past the cell.
    virtual unsigned char *Init(unsigned char *cell);
    // What Init does, without the virtual call: the memory data set's cursors
    // and columns rebind their fields this way on every move.
    void BindCell(unsigned char *cell) { m_pCell = cell; }
    virtual std::ostream &put(std::ostream &os) const = 0;
    virtual std::istream &get(std::istream &is) = 0;

    void SetSortRule(ISortRule *rule) { m_pSortRule = rule; }
    ISortRule *GetSortRule() const { return m_pSortRule; }
    unsigned char *GetCell() const { return m_pCell; }
    IMemoryDataSet *GetOwner() const { return m_pDataSet; }
    // The write count this field and its clones step on every cell write
    // (see CVecDataStorage::Writes); none by default.
    void CountWritesIn(unsigned long long *writes) { m_pWrites = writes; }

  protected:
    // Reports a written value to the owning data set.
    void Notify();
    // Every write to the cell, reported or not, steps the write count.
    void CountWrite() {
        if (m_pWrites) ++*m_pWrites;
    }
    const wstring &Format() const { return m_format; }
    bool IsBound() const { return m_pCell != nullptr; }
    // Another field of the same class bound to the same cell.
    bool IsSameCell(const IField &other) const;

  private:
    Types m_type;
    wstring m_name;
    int m_size;
    wstring m_format;
    IMemoryDataSet *m_pDataSet;
    mutable bool m_bCaseSensitive = false;
    mutable SortType m_sortType = NotSorted;
    mutable int m_sortIndex = -1;
    ISortRule *m_pSortRule = nullptr;
    unsigned char *m_pCell = nullptr;
    unsigned long long *m_pWrites = nullptr;
};

// Number and bool cells (T = bool, short, int, int64, float, double).
template <class T>
class QUELT_API CMemField : public CMemFieldBase {
  public:
    CMemField(const wstring &name, IMemoryDataSet *owner);
    using CMemFieldBase::operator=;

    void SetData(void *data) override;
    bool operator<(IField &other) override;
    operator bool() override;
    operator short() override;
    operator int() override;
    operator int64() override;
    operator float() override;
    operator double() override;
    operator wstring() override;
    operator tdatetime() override;
    operator ttimeinterval() override;
    operator tdatetimeinterval() override;
    IField &operator=(const IField &src) override;
    IField &operator=(const tdatetimeinterval &value) override;
    IField &operator=(const ttimeinterval &value) override;
    IField &operator=(const tdatetime &value) override;
    // Parses under the display format; does not notify.
    IField &operator=(const wchar *value) override;
    IField &operator=(double value) override;
    IField &operator=(float value) override;
    IField &operator=(int64 value) override;
    IField &operator=(int value) override;
    IField &operator=(short value) override;
    IField &operator=(bool value) override;
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;

  protected:
    T Value() const;
    void Store(T value);
    // Integer cells truncate through the saturating conversion, real cells keep the fraction.
    void StoreReal(double value);
};

extern template class CMemField<bool>;
extern template class CMemField<short>;
extern template class CMemField<int>;
extern template class CMemField<int64>;
extern template class CMemField<float>;
extern template class CMemField<double>;

class QUELT_API CBoolMemField : public CMemField<bool> {
  public:
    CBoolMemField(const wstring &name, IMemoryDataSet *owner);
    using CMemField<bool>::operator=;
    CMemFieldBase *clone() const override;
};

class QUELT_API CShortMemField : public CMemField<short> {
  public:
    CShortMemField(const wstring &name, IMemoryDataSet *owner);
    using CMemField<short>::operator=;
    CMemFieldBase *clone() const override;
};

class QUELT_API CIntMemField : public CMemField<int> {
  public:
    CIntMemField(const wstring &name, IMemoryDataSet *owner);
    using CMemField<int>::operator=;
    CMemFieldBase *clone() const override;
};

class QUELT_API CInt64MemField : public CMemField<int64> {
  public:
    CInt64MemField(const wstring &name, IMemoryDataSet *owner);
    using CMemField<int64>::operator=;
    CMemFieldBase *clone() const override;
};

class QUELT_API CFloatMemField : public CMemField<float> {
  public:
    CFloatMemField(const wstring &name, IMemoryDataSet *owner);
    using CMemField<float>::operator=;
    CMemFieldBase *clone() const override;
};

class QUELT_API CDoubleMemField : public CMemField<double> {
  public:
    CDoubleMemField(const wstring &name, IMemoryDataSet *owner);
    using CMemField<double>::operator=;
    CMemFieldBase *clone() const override;
};

// A pointer to a block the caller owns. Values are read from and written
// into the block; a null block reads as the type's default and ignores writes.
class QUELT_API CBLOBMemField : public CMemFieldBase {
  public:
    CBLOBMemField(const wstring &name, IMemoryDataSet *owner);
    using CMemFieldBase::operator=;

    void *GetData() override;
    // Stores the block pointer itself.
    void SetData(void *data) override;
    bool operator<(IField &other) override;
    operator bool() override;
    operator short() override;
    operator int() override;
    operator int64() override;
    operator float() override;
    operator double() override;
    // The block read as zero-terminated 16-bit text.
    operator wstring() override;
    operator tdatetime() override;
    operator ttimeinterval() override;
    operator tdatetimeinterval() override;
    IField &operator=(const IField &src) override;
    IField &operator=(const tdatetimeinterval &value) override;
    IField &operator=(const ttimeinterval &value) override;
    IField &operator=(const tdatetime &value) override;
    // The text pointer becomes the block pointer; does not notify.
    IField &operator=(const wchar *value) override;
    IField &operator=(double value) override;
    IField &operator=(float value) override;
    IField &operator=(int64 value) override;
    IField &operator=(int value) override;
    IField &operator=(short value) override;
    IField &operator=(bool value) override;
    void InitMemory() override;
    CMemFieldBase *clone() const override;
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;

  private:
    void *Block() const;
    template <class V>
    V Read() const;
    template <class V>
    IField &Write(const V &value);
};

// Zero-terminated 16-bit text in the data set's string pool; a null cell is
// the empty text.
class QUELT_API CStringMemField : public CMemFieldBase {
  public:
    CStringMemField(const wstring &name, IMemoryDataSet *owner, Pool_alloc<wchar> *alloc);
    using CMemFieldBase::operator=;

    // Copies the 16-bit text at data into the pool.
    void SetData(void *data) override;
    bool operator<(IField &other) override;
    operator bool() override;
    operator short() override;
    operator int() override;
    operator int64() override;
    operator float() override;
    operator double() override;
    operator wstring() override;
    operator tdatetime() override;
    operator ttimeinterval() override;
    operator tdatetimeinterval() override;
    IField &operator=(const IField &src) override;
    IField &operator=(const tdatetimeinterval &value) override;
    IField &operator=(const ttimeinterval &value) override;
    IField &operator=(const tdatetime &value) override;
    // Stores a copy of the text; does not notify.
    IField &operator=(const wchar *value) override;
    IField &operator=(double value) override;
    IField &operator=(float value) override;
    IField &operator=(int64 value) override;
    IField &operator=(int value) override;
    IField &operator=(short value) override;
    IField &operator=(bool value) override;
    void InitMemory() override;
    // Returns the text to the pool.
    void DestroyMemory() override;
    CMemFieldBase *clone() const override;
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;
    // Reads the pointer as 16-bit text and copies it into the pool.
    virtual IField &operator=(void *data);

  protected:
    // Stores a copy of the text without notifying.
    void SetPChar(const wchar *text);
    const wchar *Text() const;

  private:
    IField &Assign(const wstring &text);

    Pool_alloc<wchar> *m_pAlloc;
};

// Shared body of the three date-time kinds: the cell holds a V.
template <class V>
class QUELT_API CDateMemField : public CMemFieldBase {
  public:
    CDateMemField(const wstring &name, Types type, IMemoryDataSet *owner);
    using CMemFieldBase::operator=;

    // Copies one value from the address; does not notify.
    void SetData(void *data) override;
    bool operator<(IField &other) override;
    operator bool() override;
    operator short() override;
    operator int() override;
    operator int64() override;
    operator float() override;
    operator double() override;
    operator tdatetime() override;
    operator ttimeinterval() override;
    operator tdatetimeinterval() override;
    IField &operator=(const IField &src) override;
    IField &operator=(const tdatetimeinterval &value) override;
    IField &operator=(const ttimeinterval &value) override;
    IField &operator=(const tdatetime &value) override;
    IField &operator=(double value) override;
    IField &operator=(float value) override;
    IField &operator=(int64 value) override;
    IField &operator=(int value) override;
    IField &operator=(short value) override;
    IField &operator=(bool value) override;
    void InitMemory() override;
    // Copies one value from the address and notifies.
    virtual IField &operator=(void *data);

  protected:
    V Value() const;
    void Store(const V &value);
    IField &Assign(const V &value);
    // The day count of the cell, as numbers read it.
    double Days() const;
};

extern template class CDateMemField<tdatetime>;
extern template class CDateMemField<ttimeinterval>;
extern template class CDateMemField<tdatetimeinterval>;

class QUELT_API CDateTimeMemField : public CDateMemField<tdatetime> {
  public:
    CDateTimeMemField(const wstring &name, IMemoryDataSet *owner);
    using CDateMemField<tdatetime>::operator=;
    operator wstring() override;
    // Parses the date text; text that does not parse leaves the cell unchanged.
    IField &operator=(const wchar *value) override;
    CMemFieldBase *clone() const override;
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;
};

class QUELT_API CTimeIntervalMemField : public CDateMemField<ttimeinterval> {
  public:
    CTimeIntervalMemField(const wstring &name, IMemoryDataSet *owner);
    using CDateMemField<ttimeinterval>::operator=;
    operator wstring() override;
    IField &operator=(const wchar *value) override;
    CMemFieldBase *clone() const override;
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;
};

class QUELT_API CDateTimeIntervalMemField : public CDateMemField<tdatetimeinterval> {
  public:
    CDateTimeIntervalMemField(const wstring &name, IMemoryDataSet *owner);
    using CDateMemField<tdatetimeinterval>::operator=;
    operator wstring() override;
    IField &operator=(const wchar *value) override;
    CMemFieldBase *clone() const override;
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;
};

// The field object of a type; the allocator serves String fields only.
// Throws std::invalid_argument for a type outside 0..10.
QUELT_API CMemFieldBase *MakeField(const wstring &name, IField::Types type, IMemoryDataSet *owner,
                                   Pool_alloc<wchar> *alloc);

}  // namespace quelt
