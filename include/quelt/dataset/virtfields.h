#pragma once

// The field classes of the virtual data set. A virtual field is not bound to
// a cell: it holds one value of its type, which the data set loads from the
// host. Every read and write goes through the conversions of a variant.

#include <iosfwd>

#include "quelt/core/config.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/idataset.h"
#include "quelt/dataset/variant.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

class QUELT_API CVirtFieldBase : public IField {
  public:
    CVirtFieldBase(const wstring &name, Types type, IMemDataSet *owner);
    CVirtFieldBase(const CVirtFieldBase &) = default;
    CVirtFieldBase &operator=(const CVirtFieldBase &) = default;
    ~CVirtFieldBase() override;
    using IField::operator=;

    // Null for every class but the BLOB field.
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
    // The display-format rules of the memory fields.
    void SetFormat(const wstring &format) override;
    wstring GetFormat() override;

    virtual CVirtFieldBase *clone() const = 0;
    // Stores the variant converted to the field's type and reports the write.
    virtual IField &operator=(const CQueltVariant &value);
    // Takes the pointer stored at the address as the BLOB pointer (only the
    // BLOB field keeps it); returns the address past it.
    virtual unsigned char *Init(unsigned char *address);
    virtual std::ostream &put(std::ostream &os) const = 0;
    virtual std::istream &get(std::istream &is) = 0;

    // Stores the variant converted to the field's type without reporting it:
    // how the data set loads values from the host.
    virtual void Load(const CQueltVariant &value) = 0;
    IMemDataSet *GetOwner() const { return m_pDataSet; }
    // Cursor and column copies write only themselves, so they report to nobody.
    void SetOwner(IMemDataSet *owner) { m_pDataSet = owner; }

  protected:
    // Reports a written value to the owning data set.
    void Notify();
    const wstring &Format() const { return m_format; }

  private:
    Types m_type;
    wstring m_name;
    int m_size;
    wstring m_format;
    IMemDataSet *m_pDataSet;
    mutable SortType m_sortType = NotSorted;
    mutable int m_sortIndex = 0;
    mutable bool m_bCaseSensitive = false;
};

// The value of a virtual field of type T (bool, short, int, int64, float,
// double, wstring, tdatetime, ttimeinterval, tdatetimeinterval).
template <class T>
class QUELT_API CVirtualField : public CVirtFieldBase {
  public:
    CVirtualField(const wstring &name, IMemDataSet *owner);
    using CVirtFieldBase::operator=;

    // Reads one T from the address (16-bit text for strings) and reports it.
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
    IField &operator=(const wchar *value) override;
    IField &operator=(double value) override;
    IField &operator=(float value) override;
    IField &operator=(int64 value) override;
    IField &operator=(int value) override;
    IField &operator=(short value) override;
    IField &operator=(bool value) override;
    void Load(const CQueltVariant &value) override;
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;

    const T &Value() const { return m_value; }

  protected:
    // The value as a variant of the field's own code, under its format.
    CQueltVariant Variant() const;
    IField &Write(CQueltVariant value);

  private:
    T m_value{};
};

extern template class CVirtualField<bool>;
extern template class CVirtualField<short>;
extern template class CVirtualField<int>;
extern template class CVirtualField<int64>;
extern template class CVirtualField<float>;
extern template class CVirtualField<double>;
extern template class CVirtualField<wstring>;
extern template class CVirtualField<tdatetime>;
extern template class CVirtualField<ttimeinterval>;
extern template class CVirtualField<tdatetimeinterval>;

#define QUELT_VIRTUAL_FIELD(Class, T)                   \
    class QUELT_API Class : public CVirtualField<T> {   \
      public:                                           \
        Class(const wstring &name, IMemDataSet *owner); \
        using CVirtualField<T>::operator=;              \
        CVirtFieldBase *clone() const override;         \
    };

QUELT_VIRTUAL_FIELD(CBoolVirtField, bool)
QUELT_VIRTUAL_FIELD(CShortVirtField, short)
QUELT_VIRTUAL_FIELD(CIntVirtField, int)
QUELT_VIRTUAL_FIELD(CInt64VirtField, int64)
QUELT_VIRTUAL_FIELD(CFloatVirtField, float)
QUELT_VIRTUAL_FIELD(CDoubleVirtField, double)
QUELT_VIRTUAL_FIELD(CStringVirtField, wstring)
QUELT_VIRTUAL_FIELD(CDateTimeVirtField, tdatetime)
QUELT_VIRTUAL_FIELD(CTimeIntervalVirtField, ttimeinterval)
QUELT_VIRTUAL_FIELD(CDateTimeIntervalVirtField, tdatetimeinterval)

#undef QUELT_VIRTUAL_FIELD

// A pointer to a block the host owns (not owned by the field). Values are
// read from and written into the block; a null block reads as the type's
// default and ignores writes.
class QUELT_API CBLOBVirtField : public CVirtFieldBase {
  public:
    CBLOBVirtField(const wstring &name, IMemDataSet *owner);
    using CVirtFieldBase::operator=;

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
    // The text pointer becomes the block pointer.
    IField &operator=(const wchar *value) override;
    IField &operator=(double value) override;
    IField &operator=(float value) override;
    IField &operator=(int64 value) override;
    IField &operator=(int value) override;
    IField &operator=(short value) override;
    IField &operator=(bool value) override;
    // A pointer variant (code 10) gives the block; any other code null.
    void Load(const CQueltVariant &value) override;
    unsigned char *Init(unsigned char *address) override;
    CVirtFieldBase *clone() const override;
    // A block has no text form: nothing is written or read.
    std::ostream &put(std::ostream &os) const override;
    std::istream &get(std::istream &is) override;

  private:
    template <class V>
    V Read() const;
    template <class V>
    IField &Write(const V &value);

    void *m_pBlob = nullptr;
};

// The virtual field object of a type. Throws std::invalid_argument for a type
// outside 0..10.
QUELT_API CVirtFieldBase *MakeField(const wstring &name, IField::Types type, IMemDataSet *owner);

}  // namespace quelt
