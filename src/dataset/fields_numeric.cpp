#include <istream>
#include <ostream>

#include "core/numeric_p.h"
#include "dataset/displayformat_p.h"
#include "dataset/fields_p.h"
#include "quelt/dataset/fields.h"

namespace quelt {

namespace {

template <class T>
constexpr bool IsReal = std::is_floating_point_v<T>;

// Reads of a cell as another number type. Reals become integers through the
// saturating conversion; integers and reals convert as the language does.
template <class To, class From>
To Convert(From value) {
    if constexpr (std::is_same_v<To, bool>) {
        return value != 0;
    } else if constexpr (std::is_integral_v<To> && IsReal<From>) {
        return SaturatingCast<To>(static_cast<double>(value));
    } else {
        return static_cast<To>(value);
    }
}

}  // namespace

template <class T>
CMemField<T>::CMemField(const wstring &name, IMemoryDataSet *owner)
    : CMemFieldBase(name, cells::TypeOf<T>(), static_cast<int>(sizeof(T)), owner) {}

template <class T>
T CMemField<T>::Value() const {
    return IsBound() ? cells::Load<T>(GetCell()) : T{};
}

template <class T>
void CMemField<T>::Store(T value) {
    if (!IsBound()) return;
    cells::Store(GetCell(), value);
    CountWrite();
    Notify();
}

template <class T>
void CMemField<T>::StoreReal(double value) {
    if constexpr (std::is_same_v<T, bool>) {
        Store(SaturatingCast<int64>(value) != 0);
    } else if constexpr (IsReal<T>) {
        Store(static_cast<T>(value));
    } else {
        Store(SaturatingCast<T>(value));
    }
}

template <class T>
void CMemField<T>::SetData(void *data) {
    if (data) Store(cells::Load<T>(static_cast<const unsigned char *>(data)));
}

// Every T has its own conversion operator on IField, so static_cast picks it.
template <class T>
bool CMemField<T>::operator<(IField &other) {
    return Value() < static_cast<T>(other);
}

template <class T>
CMemField<T>::operator bool() {
    return Value() != 0;
}

template <class T>
CMemField<T>::operator short() {
    return Convert<short>(Value());
}

template <class T>
CMemField<T>::operator int() {
    return Convert<int>(Value());
}

template <class T>
CMemField<T>::operator int64() {
    return Convert<int64>(Value());
}

template <class T>
CMemField<T>::operator float() {
    return Convert<float>(Value());
}

template <class T>
CMemField<T>::operator double() {
    return Convert<double>(Value());
}

template <class T>
CMemField<T>::operator wstring() {
    const T value = Value();
    if constexpr (std::is_same_v<T, bool>) {
        return value ? cells::kTrue : cells::kFalse;
    } else if constexpr (IsReal<T>) {
        return display::RenderReal(value, std::is_same_v<T, float>, Format());
    } else {
        return display::RenderInteger(value, std::is_same_v<T, int64>, Format());
    }
}

template <class T>
CMemField<T>::operator tdatetime() {
    return cells::DateFromDays(static_cast<double>(Value()));
}

template <class T>
CMemField<T>::operator ttimeinterval() {
    return cells::IntervalFromDays(static_cast<double>(Value()));
}

template <class T>
CMemField<T>::operator tdatetimeinterval() {
    return cells::SpanFromDays(static_cast<double>(Value()));
}

template <class T>
IField &CMemField<T>::operator=(const IField &src) {
    if (IsSameCell(src)) return *this;
    return *this = static_cast<T>(const_cast<IField &>(src));
}

template <class T>
IField &CMemField<T>::operator=(const tdatetimeinterval &value) {
    StoreReal(value.GetDateTime());
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(const ttimeinterval &value) {
    StoreReal(value.GetTime());
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(const tdatetime &value) {
    StoreReal(value.GetDateTime());
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(const wchar *value) {
    if (!IsBound()) return *this;
    CountWrite();
    const wchar empty = 0;
    const wchar *text = value ? value : &empty;
    if constexpr (std::is_same_v<T, bool>) {
        cells::Store(GetCell(), cells::IsTrueText(text));
    } else if constexpr (IsReal<T>) {
        double parsed = Value();
        display::ParseReal(text, Format(), parsed);
        cells::Store(GetCell(), static_cast<T>(parsed));
    } else {
        int64 parsed = Value();
        display::ParseInteger(text, std::is_same_v<T, int64>, Format(), parsed);
        cells::Store(GetCell(), static_cast<T>(parsed));
    }
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(double value) {
    StoreReal(value);
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(float value) {
    StoreReal(value);
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(int64 value) {
    Store(static_cast<T>(value));
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(int value) {
    Store(static_cast<T>(value));
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(short value) {
    Store(static_cast<T>(value));
    return *this;
}

template <class T>
IField &CMemField<T>::operator=(bool value) {
    Store(static_cast<T>(value));
    return *this;
}

template <class T>
std::ostream &CMemField<T>::put(std::ostream &os) const {
    return cells::PutNumber(os, Value());
}

template <class T>
std::istream &CMemField<T>::get(std::istream &is) {
    T value{};
    if (!cells::GetNumber(is, value) || !IsBound()) return is;
    cells::Store(GetCell(), value);
    CountWrite();
    return is;
}

template class CMemField<bool>;
template class CMemField<short>;
template class CMemField<int>;
template class CMemField<int64>;
template class CMemField<float>;
template class CMemField<double>;

#define QUELT_NUMBER_FIELD(Class, T)                                                        \
    Class::Class(const wstring &name, IMemoryDataSet *owner) : CMemField<T>(name, owner) {} \
    CMemFieldBase *Class::clone() const { return new Class(*this); }

QUELT_NUMBER_FIELD(CBoolMemField, bool)
QUELT_NUMBER_FIELD(CShortMemField, short)
QUELT_NUMBER_FIELD(CIntMemField, int)
QUELT_NUMBER_FIELD(CInt64MemField, int64)
QUELT_NUMBER_FIELD(CFloatMemField, float)
QUELT_NUMBER_FIELD(CDoubleMemField, double)

#undef QUELT_NUMBER_FIELD

}  // namespace quelt
