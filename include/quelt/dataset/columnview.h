#pragma once

// Typed, read-only views of one field of a memory or key data set. An element
// is read straight from the record's cell, with no field object and no
// virtual call, so a loop over a view costs about what a loop over structs
// does. A view is detached (size 0) once the field list changes or the data
// set is cleared or destroyed; copies of a view share its attachment.

#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "quelt/core/config.h"
#include "quelt/core/exceptions.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/idataset.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

class CMemDataSet;
class CKeyDataSet;

// A view is asked of a field whose type does not hold its element type.
class QUELT_API ColumnTypeMismatch : public DataSetException {
  public:
    ColumnTypeMismatch();
    ColumnTypeMismatch(const ColumnTypeMismatch &other);
    ColumnTypeMismatch &operator=(const ColumnTypeMismatch &other);
    ~ColumnTypeMismatch() override;
};

// The element types a view reads and the field type each one needs; text is
// read as wstring_view (the empty view for an empty cell).
template <class T>
struct ColumnViewCell {
    static_assert(std::is_trivially_copyable_v<T>, "a column view reads plain cell values");
    static constexpr IField::Types type = std::is_same_v<T, bool>                ? IField::Bool
                                          : std::is_same_v<T, short>             ? IField::Short
                                          : std::is_same_v<T, int>               ? IField::Int
                                          : std::is_same_v<T, int64>             ? IField::Int64
                                          : std::is_same_v<T, float>             ? IField::Float
                                          : std::is_same_v<T, double>            ? IField::Double
                                          : std::is_same_v<T, tdatetime>         ? IField::DateTime
                                          : std::is_same_v<T, ttimeinterval>     ? IField::TimeInterval
                                          : std::is_same_v<T, tdatetimeinterval> ? IField::DateTimeInterval
                                                                                 : IField::BLOB;
    static_assert(type != IField::BLOB, "no field type holds this element type");

    static T Load(const unsigned char *cell) {
        T value;
        std::memcpy(static_cast<void *>(&value), cell, sizeof value);
        return value;
    }
};

template <>
struct ColumnViewCell<bool> {
    static constexpr IField::Types type = IField::Bool;
    // Any byte but 0 is true, as the field reads it.
    static bool Load(const unsigned char *cell) { return *cell != 0; }
};

template <>
struct ColumnViewCell<wstring_view> {
    static constexpr IField::Types type = IField::String;
    static wstring_view Load(const unsigned char *cell) {
        const wchar *text;
        std::memcpy(static_cast<void *>(&text), cell, sizeof text);
        return text ? wstring_view(text) : wstring_view();
    }
};

// What the views of one field share with the data set, which registers it
// and cuts it loose (see the file comment).
class QUELT_API CColumnViewLink {
  public:
    // FieldNotFound for an index outside the field list, ColumnTypeMismatch
    // when the field is not of the type.
    CColumnViewLink(CMemDataSet &dataSet, int fieldIndex, IField::Types type);
    CColumnViewLink(CKeyDataSet &dataSet, int fieldIndex, IField::Types type);
    ~CColumnViewLink();
    CColumnViewLink(const CColumnViewLink &) = delete;
    CColumnViewLink &operator=(const CColumnViewLink &) = delete;

    // The records in record order; empty once detached.
    const std::vector<unsigned char *> &Records() {
        if (m_stale) Gather();
        return *m_records;
    }
    int Offset() const { return m_offset; }
    bool IsAttached() const { return m_memory || m_keyed; }

  private:
    friend class CMemDataSet;
    friend class CKeyDataSet;

    void Detach();
    // A key data set's records change order only through its map; they are
    // gathered again on the first read after a change.
    void MarkStale() { m_stale = true; }
    void Gather();

    const std::vector<unsigned char *> *m_records;
    std::vector<unsigned char *> m_gathered;
    int m_offset = 0;
    bool m_stale = false;
    CMemDataSet *m_memory = nullptr;
    CKeyDataSet *m_keyed = nullptr;
};

template <class T>
class ColumnView {
  public:
    using value_type = T;
    using size_type = std::size_t;

    // Reads the cells of a record-pointer array: what the algorithms walk.
    class const_iterator {
      public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = T;

        const_iterator() = default;
        const_iterator(unsigned char *const *record, int offset) : m_record(record), m_offset(offset) {}

        T operator*() const { return ColumnViewCell<T>::Load(*m_record + m_offset); }
        T operator[](difference_type n) const { return *(*this + n); }
        const_iterator &operator++() { return ++m_record, *this; }
        const_iterator &operator--() { return --m_record, *this; }
        const_iterator operator++(int) { return const_iterator(m_record++, m_offset); }
        const_iterator operator--(int) { return const_iterator(m_record--, m_offset); }
        const_iterator &operator+=(difference_type n) { return m_record += n, *this; }
        const_iterator &operator-=(difference_type n) { return m_record -= n, *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator &a, const const_iterator &b) {
            return a.m_record - b.m_record;
        }
        friend bool operator==(const const_iterator &a, const const_iterator &b) {
            return a.m_record == b.m_record;
        }
        friend bool operator!=(const const_iterator &a, const const_iterator &b) { return !(a == b); }
        friend bool operator<(const const_iterator &a, const const_iterator &b) {
            return a.m_record < b.m_record;
        }
        friend bool operator>(const const_iterator &a, const const_iterator &b) { return b < a; }
        friend bool operator<=(const const_iterator &a, const const_iterator &b) { return !(b < a); }
        friend bool operator>=(const const_iterator &a, const const_iterator &b) { return !(a < b); }

      private:
        unsigned char *const *m_record = nullptr;
        int m_offset = 0;
    };
    using iterator = const_iterator;

    // Detached.
    ColumnView() = default;
    ColumnView(CMemDataSet &dataSet, int fieldIndex)
        : m_link(std::make_shared<CColumnViewLink>(dataSet, fieldIndex, ColumnViewCell<T>::type)) {}
    ColumnView(CKeyDataSet &dataSet, int fieldIndex)
        : m_link(std::make_shared<CColumnViewLink>(dataSet, fieldIndex, ColumnViewCell<T>::type)) {}

    size_type size() const { return m_link ? m_link->Records().size() : 0; }
    bool empty() const { return size() == 0; }
    bool IsAttached() const { return m_link && m_link->IsAttached(); }

    // The cell of record index; index must be below size(). Each read asks
    // the shared link for the records again, so a loop over the whole column
    // is faster through the iterators (a sum through operator[] took a
    // third longer).
    T operator[](size_type index) const {
        return ColumnViewCell<T>::Load(m_link->Records()[index] + m_link->Offset());
    }

    // Iterators stay valid until records are added, erased or moved.
    const_iterator begin() const {
        return m_link ? const_iterator(Base(), m_link->Offset()) : const_iterator();
    }
    const_iterator end() const {
        return m_link ? begin() + static_cast<std::ptrdiff_t>(size()) : const_iterator();
    }

  private:
    unsigned char *const *Base() const { return m_link->Records().data(); }

    std::shared_ptr<CColumnViewLink> m_link;
};

}  // namespace quelt
