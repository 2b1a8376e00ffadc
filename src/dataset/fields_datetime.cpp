#include <istream>
#include <ostream>

#include "core/numeric_p.h"
#include "dataset/datetext_p.h"
#include "dataset/fields_p.h"
#include "quelt/dataset/fields.h"

namespace quelt {

namespace {

// Between dates and calendar intervals the seven date and time numbers
// travel (except when a date cell is read as an interval); every other pair
// goes through the day count.
template <class V, class From>
V ConvertTo(const From &value) {
    if constexpr (std::is_same_v<V, From>) {
        return value;
    } else if constexpr (std::is_same_v<V, tdatetime> && std::is_same_v<From, tdatetimeinterval>) {
        return cells::DateFromSpan(value);
    } else if constexpr (std::is_same_v<V, tdatetimeinterval> && std::is_same_v<From, tdatetime>) {
        return cells::SpanFromDate(value);
    } else {
        return cells::FromDays<V>(cells::DaysOf(value));
    }
}

}  // namespace

template <class V>
CDateMemField<V>::CDateMemField(const wstring &name, Types type, IMemoryDataSet *owner)
    : CMemFieldBase(name, type, static_cast<int>(sizeof(V)), owner) {}

template <class V>
V CDateMemField<V>::Value() const {
    return IsBound() ? cells::Load<V>(GetCell()) : V{};
}

template <class V>
void CDateMemField<V>::Store(const V &value) {
    if (!IsBound()) return;
    cells::Store(GetCell(), value);
    CountWrite();
}

template <class V>
IField &CDateMemField<V>::Assign(const V &value) {
    if (!IsBound()) return *this;
    Store(value);
    Notify();
    return *this;
}

template <class V>
double CDateMemField<V>::Days() const {
    return cells::DaysOf(Value());
}

template <class V>
void CDateMemField<V>::SetData(void *data) {
    if (data) Store(cells::Load<V>(static_cast<const unsigned char *>(data)));
}

template <class V>
IField &CDateMemField<V>::operator=(void *data) {
    if (data) Assign(cells::Load<V>(static_cast<const unsigned char *>(data)));
    return *this;
}

template <class V>
bool CDateMemField<V>::operator<(IField &other) {
    return Value() < static_cast<V>(other);
}

template <class V>
CDateMemField<V>::operator bool() {
    return Days() != 0;
}

template <class V>
CDateMemField<V>::operator short() {
    return SaturatingCast<short>(Days());
}

template <class V>
CDateMemField<V>::operator int() {
    return SaturatingCast<int>(Days());
}

template <class V>
CDateMemField<V>::operator int64() {
    return SaturatingCast<int64>(Days());
}

template <class V>
CDateMemField<V>::operator float() {
    return static_cast<float>(Days());
}

template <class V>
CDateMemField<V>::operator double() {
    return Days();
}

template <class V>
CDateMemField<V>::operator tdatetime() {
    return ConvertTo<tdatetime>(Value());
}

template <class V>
CDateMemField<V>::operator ttimeinterval() {
    return ConvertTo<ttimeinterval>(Value());
}

// Read as a calendar interval, every kind splits its day count by 30.6.
template <class V>
CDateMemField<V>::operator tdatetimeinterval() {
    if constexpr (std::is_same_v<V, tdatetimeinterval>) {
        return Value();
    } else {
        return cells::SpanFromDays(Days());
    }
}

template <class V>
IField &CDateMemField<V>::operator=(const IField &src) {
    if (IsSameCell(src)) return *this;
    return Assign(static_cast<V>(const_cast<IField &>(src)));
}

template <class V>
IField &CDateMemField<V>::operator=(const tdatetimeinterval &value) {
    return Assign(ConvertTo<V>(value));
}

template <class V>
IField &CDateMemField<V>::operator=(const ttimeinterval &value) {
    return Assign(ConvertTo<V>(value));
}

template <class V>
IField &CDateMemField<V>::operator=(const tdatetime &value) {
    return Assign(ConvertTo<V>(value));
}

template <class V>
IField &CDateMemField<V>::operator=(double value) {
    return Assign(cells::FromDays<V>(value));
}

template <class V>
IField &CDateMemField<V>::operator=(float value) {
    return Assign(cells::FromDays<V>(value));
}

template <class V>
IField &CDateMemField<V>::operator=(int64 value) {
    return Assign(cells::FromDays<V>(static_cast<double>(value)));
}

template <class V>
IField &CDateMemField<V>::operator=(int value) {
    return Assign(cells::FromDays<V>(value));
}

template <class V>
IField &CDateMemField<V>::operator=(short value) {
    return Assign(cells::FromDays<V>(value));
}

template <class V>
IField &CDateMemField<V>::operator=(bool value) {
    return Assign(cells::FromDays<V>(value ? 1.0 : 0.0));
}

template <class V>
void CDateMemField<V>::InitMemory() {
    Store(V{});
}

template class CDateMemField<tdatetime>;
template class CDateMemField<ttimeinterval>;
template class CDateMemField<tdatetimeinterval>;

// DateTime

CDateTimeMemField::CDateTimeMemField(const wstring &name, IMemoryDataSet *owner)
    : CDateMemField<tdatetime>(name, DateTime, owner) {}

CDateTimeMemField::operator wstring() { return datetext::Text(Value()); }

IField &CDateTimeMemField::operator=(const wchar *value) {
    tdatetime parsed = Value();
    if (IsBound() && datetext::Parse(value, parsed)) Assign(parsed);
    return *this;
}

CMemFieldBase *CDateTimeMemField::clone() const { return new CDateTimeMemField(*this); }

std::ostream &CDateTimeMemField::put(std::ostream &os) const { return cells::PutDays(os, Value()); }

std::istream &CDateTimeMemField::get(std::istream &is) {
    tdatetime value;
    if (cells::GetDays(is, value)) Store(value);
    return is;
}

// TimeInterval

CTimeIntervalMemField::CTimeIntervalMemField(const wstring &name, IMemoryDataSet *owner)
    : CDateMemField<ttimeinterval>(name, TimeInterval, owner) {}

CTimeIntervalMemField::operator wstring() { return datetext::Text(Value()); }

IField &CTimeIntervalMemField::operator=(const wchar *value) {
    ttimeinterval parsed = Value();
    if (IsBound() && datetext::Parse(value, parsed)) Assign(parsed);
    return *this;
}

CMemFieldBase *CTimeIntervalMemField::clone() const { return new CTimeIntervalMemField(*this); }

std::ostream &CTimeIntervalMemField::put(std::ostream &os) const { return cells::PutDays(os, Value()); }

std::istream &CTimeIntervalMemField::get(std::istream &is) {
    ttimeinterval value;
    if (cells::GetDays(is, value)) Store(value);
    return is;
}

// DateTimeInterval

CDateTimeIntervalMemField::CDateTimeIntervalMemField(const wstring &name, IMemoryDataSet *owner)
    : CDateMemField<tdatetimeinterval>(name, DateTimeInterval, owner) {}

CDateTimeIntervalMemField::operator wstring() { return datetext::Text(Value()); }

IField &CDateTimeIntervalMemField::operator=(const wchar *value) {
    tdatetimeinterval parsed = Value();
    if (IsBound() && datetext::Parse(value, parsed)) Assign(parsed);
    return *this;
}

CMemFieldBase *CDateTimeIntervalMemField::clone() const { return new CDateTimeIntervalMemField(*this); }

std::ostream &CDateTimeIntervalMemField::put(std::ostream &os) const { return cells::PutDays(os, Value()); }

std::istream &CDateTimeIntervalMemField::get(std::istream &is) {
    tdatetimeinterval value;
    if (cells::GetDays(is, value)) Store(value);
    return is;
}

}  // namespace quelt
