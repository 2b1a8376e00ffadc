#include <charconv>
#include <cmath>
#include <cstdint>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>

#include "dataset/displayformat_p.h"
#include "dataset/fields_p.h"
#include "quelt/dataset/fields.h"

namespace quelt {

namespace cells {

tdatetime DateFromDays(double days) {
    tdatetime date;
    date.SetDateTime(days);
    return date;
}

ttimeinterval IntervalFromDays(double days) {
    ttimeinterval interval;
    interval.SetTime(days);
    return interval;
}

tdatetimeinterval SpanFromDays(double days) {
    tdatetimeinterval span;
    span.SetDateTime(days);
    return span;
}

tdatetime DateFromSpan(const tdatetimeinterval &span) {
    int day, month, year, hour, minute, second, millisecond;
    span.DecodeDate(day, month, year);
    span.DecodeTime(hour, minute, second, millisecond);
    tdatetime date;
    date.SetDate(day, month, year);
    date.SetTime(hour, minute, second, millisecond);
    return date;
}

tdatetimeinterval SpanFromDate(const tdatetime &date) {
    int day, month, year, hour, minute, second, millisecond;
    date.DecodeDate(day, month, year);
    date.DecodeTime(hour, minute, second, millisecond);
    return tdatetimeinterval(day, month, year, hour, minute, second, millisecond);
}

const wchar *CellText(const unsigned char *cell) { return cell ? Load<const wchar *>(cell) : nullptr; }

std::size_t StoredUnits(std::size_t length, std::size_t maxBytes) {
    std::size_t units = length + 1;
    if (sizeof(wchar) * units < maxBytes) return units;
    // Cut to two thirds until that fits in one block.
    while (units > 2 && 2 * sizeof(wchar) * (units / 3) >= maxBytes) units = 2 * (units / 3);
    return units > 2 ? 2 * (units / 3) : 1;
}

void StoreText(Pool_alloc<wchar> &alloc, unsigned char *cell, const wchar *text) {
    wchar *stored = nullptr;
    if (text) {
        const std::size_t length = wchar_traits::length(text);
        const std::size_t units = StoredUnits(length, alloc.max_size() * sizeof(wchar));
        stored = alloc.allocate(units);
        wchar_traits::copy(stored, text, units - 1);
        stored[units - 1] = 0;
    }
    // The old text goes only after the new one is copied: the new text may be the old one.
    FreeText(alloc, cell);
    Store(cell, stored);
}

void FreeText(Pool_alloc<wchar> &alloc, unsigned char *cell) {
    wchar *old = Load<wchar *>(cell);
    if (!old) return;
    alloc.deallocate(old, wchar_traits::length(old) + 1);
    Store(cell, static_cast<wchar *>(nullptr));
}

namespace {

template <class R>
std::ostream &PutRealImpl(std::ostream &os, R value) {
    if (std::isnan(value)) return os << "nan";
    if (std::isinf(value)) return os << (value < 0 ? "-inf" : "inf");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return os.write(buffer, result.ptr - buffer);
}

template <class R>
std::istream &GetRealImpl(std::istream &is, R &value) {
    std::string word;
    if (!(is >> word)) return is;
    R parsed{};
    const char *end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, parsed);
    if (result.ec != std::errc() || result.ptr != end) {
        is.setstate(std::ios::failbit);
        return is;
    }
    value = parsed;
    return is;
}

}  // namespace

std::ostream &PutInt64(std::ostream &os, int64 value) {
    const auto bits = static_cast<std::uint64_t>(value);
    return os << static_cast<std::int32_t>(bits >> 32) << ' '
              << static_cast<std::int32_t>(bits & 0xFFFFFFFFu);
}

std::istream &GetInt64(std::istream &is, int64 &value) {
    std::int32_t high = 0, low = 0;
    if (is >> high >> low) {
        value = static_cast<int64>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) |
                                   static_cast<std::uint32_t>(low));
    }
    return is;
}

std::ostream &PutReal(std::ostream &os, double value) { return PutRealImpl(os, value); }
std::ostream &PutReal(std::ostream &os, float value) { return PutRealImpl(os, value); }
std::istream &GetReal(std::istream &is, double &value) { return GetRealImpl(is, value); }
std::istream &GetReal(std::istream &is, float &value) { return GetRealImpl(is, value); }

template <class V>
std::ostream &PutDays(std::ostream &os, const V &value) {
    return PutReal(os, DaysOf(value));
}

template <class V>
std::istream &GetDays(std::istream &is, V &value) {
    double days = 0;
    if (GetReal(is, days)) value = FromDays<V>(days);
    return is;
}

template std::ostream &PutDays(std::ostream &, const tdatetime &);
template std::ostream &PutDays(std::ostream &, const ttimeinterval &);
template std::ostream &PutDays(std::ostream &, const tdatetimeinterval &);
template std::istream &GetDays(std::istream &, tdatetime &);
template std::istream &GetDays(std::istream &, ttimeinterval &);
template std::istream &GetDays(std::istream &, tdatetimeinterval &);

template <class N>
std::ostream &PutNumber(std::ostream &os, N value) {
    if constexpr (std::is_floating_point_v<N>) {
        return PutReal(os, value);
    } else if constexpr (std::is_same_v<N, int64>) {
        return PutInt64(os, value);
    } else {
        return os << value;
    }
}

template <class N>
std::istream &GetNumber(std::istream &is, N &value) {
    if constexpr (std::is_floating_point_v<N>) {
        return GetReal(is, value);
    } else if constexpr (std::is_same_v<N, int64>) {
        return GetInt64(is, value);
    } else {
        N read{};
        if (is >> read) value = read;
        return is;
    }
}

template std::ostream &PutNumber(std::ostream &, bool);
template std::ostream &PutNumber(std::ostream &, short);
template std::ostream &PutNumber(std::ostream &, int);
template std::ostream &PutNumber(std::ostream &, int64);
template std::ostream &PutNumber(std::ostream &, float);
template std::ostream &PutNumber(std::ostream &, double);
template std::istream &GetNumber(std::istream &, bool &);
template std::istream &GetNumber(std::istream &, short &);
template std::istream &GetNumber(std::istream &, int &);
template std::istream &GetNumber(std::istream &, int64 &);
template std::istream &GetNumber(std::istream &, float &);
template std::istream &GetNumber(std::istream &, double &);

}  // namespace cells

CMemFieldBase::CMemFieldBase(const wstring &name, Types type, int size, IMemoryDataSet *owner)
    : m_type(type), m_name(name), m_size(size), m_pDataSet(owner) {}

CMemFieldBase::~CMemFieldBase() = default;

// The cell may be written through the address.
void *CMemFieldBase::GetData() {
    CountWrite();
    return m_pCell;
}

IField::Types CMemFieldBase::GetType() const { return m_type; }

const wstring &CMemFieldBase::GetName() const { return m_name; }

int CMemFieldBase::GetSize() const { return m_size; }

void CMemFieldBase::SetSortType(SortType type) const { m_sortType = type; }

IField::SortType CMemFieldBase::GetSortType() const { return m_sortType; }

void CMemFieldBase::SetSortIndex(int index) const { m_sortIndex = index; }

int CMemFieldBase::GetSortIndex() const { return m_sortIndex; }

void CMemFieldBase::SetIsSortCaseSensitive(bool caseSensitive) const { m_bCaseSensitive = caseSensitive; }

bool CMemFieldBase::IsSortCaseSensitive() const { return m_bCaseSensitive; }

void CMemFieldBase::SetFormat(const wstring &format) {
    if (display::IsAcceptedFormat(format)) m_format = format;
}

wstring CMemFieldBase::GetFormat() { return m_format; }

unsigned char *CMemFieldBase::Init(unsigned char *cell) {
    m_pCell = cell;
    return cell ? cell + m_size : nullptr;
}

void CMemFieldBase::Notify() {
    if (m_pDataSet) m_pDataSet->UpdateField(this);
}

bool CMemFieldBase::IsSameCell(const IField &other) const {
    const auto *field = dynamic_cast<const CMemFieldBase *>(&other);
    return field && field->m_type == m_type && field->m_pCell == m_pCell;
}

CMemFieldBase *MakeField(const wstring &name, IField::Types type, IMemoryDataSet *owner,
                         Pool_alloc<wchar> *alloc) {
    switch (type) {
        case IField::BLOB:
            return new CBLOBMemField(name, owner);
        case IField::Bool:
            return new CBoolMemField(name, owner);
        case IField::Short:
            return new CShortMemField(name, owner);
        case IField::Int:
            return new CIntMemField(name, owner);
        case IField::Int64:
            return new CInt64MemField(name, owner);
        case IField::Float:
            return new CFloatMemField(name, owner);
        case IField::Double:
            return new CDoubleMemField(name, owner);
        case IField::String:
            return new CStringMemField(name, owner, alloc);
        case IField::DateTime:
            return new CDateTimeMemField(name, owner);
        case IField::TimeInterval:
            return new CTimeIntervalMemField(name, owner);
        case IField::DateTimeInterval:
            return new CDateTimeIntervalMemField(name, owner);
    }
    throw std::invalid_argument("field type outside 0..10");
}

}  // namespace quelt
