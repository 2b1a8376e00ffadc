#include "quelt/dataset/virtfields.h"

#include <istream>
#include <ostream>
#include <stdexcept>
#include <type_traits>

#include "core/wtext_p.h"
#include "dataset/displayformat_p.h"
#include "dataset/fields_p.h"

namespace quelt {

namespace {

// The one rule set: a variant converted to the type a field holds.
template <class T>
T FromVariant(const CQueltVariant &value) {
    if constexpr (std::is_same_v<T, bool>) return value.GetBool();
    if constexpr (std::is_same_v<T, short>) return value.GetShort();
    if constexpr (std::is_same_v<T, int>) return value.GetInt();
    if constexpr (std::is_same_v<T, int64>) return value.GetInt64();
    if constexpr (std::is_same_v<T, float>) return value.GetFloat();
    if constexpr (std::is_same_v<T, double>) return value.GetDouble();
    if constexpr (std::is_same_v<T, wstring>) return value.GetString();
    if constexpr (std::is_same_v<T, tdatetime>) return value.GetDateTime();
    if constexpr (std::is_same_v<T, ttimeinterval>) return value.GetTimeInterval();
    if constexpr (std::is_same_v<T, tdatetimeinterval>) return value.GetDateTimeInterval();
}

}  // namespace

// Base

CVirtFieldBase::CVirtFieldBase(const wstring &name, Types type, IMemDataSet *owner)
    : m_type(type), m_name(name), m_size(0), m_pDataSet(owner) {
    switch (type) {
        case BLOB:
            m_size = static_cast<int>(sizeof(void *));
            break;
        case Bool:
            m_size = 1;
            break;
        case Short:
            m_size = 2;
            break;
        case Int:
        case Float:
            m_size = 4;
            break;
        case String:
        case DateTimeInterval:
            m_size = 16;
            break;
        default:
            m_size = 8;
    }
}

CVirtFieldBase::~CVirtFieldBase() = default;

void *CVirtFieldBase::GetData() { return nullptr; }

IField::Types CVirtFieldBase::GetType() const { return m_type; }

const wstring &CVirtFieldBase::GetName() const { return m_name; }

int CVirtFieldBase::GetSize() const { return m_size; }

void CVirtFieldBase::SetSortType(SortType type) const { m_sortType = type; }

IField::SortType CVirtFieldBase::GetSortType() const { return m_sortType; }

void CVirtFieldBase::SetSortIndex(int index) const { m_sortIndex = index; }

int CVirtFieldBase::GetSortIndex() const { return m_sortIndex; }

void CVirtFieldBase::SetIsSortCaseSensitive(bool caseSensitive) const { m_bCaseSensitive = caseSensitive; }

bool CVirtFieldBase::IsSortCaseSensitive() const { return m_bCaseSensitive; }

void CVirtFieldBase::SetFormat(const wstring &format) {
    if (display::IsAcceptedFormat(format)) m_format = format;
}

wstring CVirtFieldBase::GetFormat() { return m_format; }

IField &CVirtFieldBase::operator=(const CQueltVariant &value) {
    Load(value);
    Notify();
    return *this;
}

unsigned char *CVirtFieldBase::Init(unsigned char *address) {
    return address ? address + sizeof(void *) : nullptr;
}

void CVirtFieldBase::Notify() {
    if (m_pDataSet) m_pDataSet->UpdateField(this);
}

// Typed values

template <class T>
CVirtualField<T>::CVirtualField(const wstring &name, IMemDataSet *owner)
    : CVirtFieldBase(name, cells::TypeOf<T>(), owner) {}

template <class T>
CQueltVariant CVirtualField<T>::Variant() const {
    CQueltVariant value(m_value);
    value.SetFormat(Format());
    return value;
}

template <class T>
IField &CVirtualField<T>::Write(CQueltVariant value) {
    value.SetFormat(Format());
    m_value = FromVariant<T>(value);
    Notify();
    return *this;
}

// A host that leaves the format empty gets the field's own.
template <class T>
void CVirtualField<T>::Load(const CQueltVariant &value) {
    if (!value.GetFormat().empty() || Format().empty()) {
        m_value = FromVariant<T>(value);
        return;
    }
    CQueltVariant formatted(value);
    formatted.SetFormat(Format());
    m_value = FromVariant<T>(formatted);
}

template <class T>
void CVirtualField<T>::SetData(void *data) {
    if constexpr (std::is_same_v<T, wstring>) {
        m_value = cells::TextAt(data);
    } else {
        if (!data) return;
        m_value = cells::Load<T>(static_cast<const unsigned char *>(data));
    }
    Notify();
}

template <class T>
bool CVirtualField<T>::operator<(IField &other) {
    if constexpr (std::is_same_v<T, wstring>) {
        const wstring theirs = other;
        return wrt::wcscmp(m_value.c_str(), theirs.c_str()) < 0;
    } else {
        return m_value < static_cast<T>(other);
    }
}

template <class T>
CVirtualField<T>::operator bool() {
    return Variant().GetBool();
}

template <class T>
CVirtualField<T>::operator short() {
    return Variant().GetShort();
}

template <class T>
CVirtualField<T>::operator int() {
    return Variant().GetInt();
}

template <class T>
CVirtualField<T>::operator int64() {
    return Variant().GetInt64();
}

template <class T>
CVirtualField<T>::operator float() {
    return Variant().GetFloat();
}

template <class T>
CVirtualField<T>::operator double() {
    return Variant().GetDouble();
}

template <class T>
CVirtualField<T>::operator wstring() {
    return Variant().GetString();
}

template <class T>
CVirtualField<T>::operator tdatetime() {
    return Variant().GetDateTime();
}

template <class T>
CVirtualField<T>::operator ttimeinterval() {
    return Variant().GetTimeInterval();
}

template <class T>
CVirtualField<T>::operator tdatetimeinterval() {
    return Variant().GetDateTimeInterval();
}

template <class T>
IField &CVirtualField<T>::operator=(const IField &src) {
    const auto *same = dynamic_cast<const CVirtualField<T> *>(&src);
    if (same && same->m_value == m_value) return *this;
    m_value = static_cast<T>(const_cast<IField &>(src));
    Notify();
    return *this;
}

template <class T>
IField &CVirtualField<T>::operator=(const tdatetimeinterval &value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(const ttimeinterval &value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(const tdatetime &value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(const wchar *value) {
    return Write(CQueltVariant::FromWidePointer(value));
}

template <class T>
IField &CVirtualField<T>::operator=(double value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(float value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(int64 value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(int value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(short value) {
    return Write(CQueltVariant(value));
}

template <class T>
IField &CVirtualField<T>::operator=(bool value) {
    return Write(CQueltVariant(value));
}

// The stream forms are those of the memory fields, so a data set written
// from a virtual data set reads back into a memory one.
template <class T>
std::ostream &CVirtualField<T>::put(std::ostream &os) const {
    if constexpr (std::is_same_v<T, wstring>) {
        return cells::PutText(os, m_value.c_str());
    } else if constexpr (std::is_arithmetic_v<T>) {
        return cells::PutNumber(os, m_value);
    } else {
        return cells::PutDays(os, m_value);
    }
}

template <class T>
std::istream &CVirtualField<T>::get(std::istream &is) {
    if constexpr (std::is_same_v<T, wstring>) {
        return cells::GetText(is, m_value);
    } else if constexpr (std::is_arithmetic_v<T>) {
        return cells::GetNumber(is, m_value);
    } else {
        return cells::GetDays(is, m_value);
    }
}

template class CVirtualField<bool>;
template class CVirtualField<short>;
template class CVirtualField<int>;
template class CVirtualField<int64>;
template class CVirtualField<float>;
template class CVirtualField<double>;
template class CVirtualField<wstring>;
template class CVirtualField<tdatetime>;
template class CVirtualField<ttimeinterval>;
template class CVirtualField<tdatetimeinterval>;

#define QUELT_VIRTUAL_FIELD(Class, T)                                                        \
    Class::Class(const wstring &name, IMemDataSet *owner) : CVirtualField<T>(name, owner) {} \
    CVirtFieldBase *Class::clone() const { return new Class(*this); }

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

// BLOB

CBLOBVirtField::CBLOBVirtField(const wstring &name, IMemDataSet *owner) : CVirtFieldBase(name, BLOB, owner) {}

template <class V>
V CBLOBVirtField::Read() const {
    return m_pBlob ? cells::Load<V>(static_cast<const unsigned char *>(m_pBlob)) : V{};
}

template <class V>
IField &CBLOBVirtField::Write(const V &value) {
    if (!m_pBlob) return *this;
    cells::Store(static_cast<unsigned char *>(m_pBlob), value);
    Notify();
    return *this;
}

void *CBLOBVirtField::GetData() { return m_pBlob; }

void CBLOBVirtField::SetData(void *data) {
    m_pBlob = data;
    Notify();
}

// A block has no order of its own.
bool CBLOBVirtField::operator<(IField &) { return false; }

CBLOBVirtField::operator bool() { return Read<bool>(); }

CBLOBVirtField::operator short() { return Read<short>(); }

CBLOBVirtField::operator int() { return Read<int>(); }

CBLOBVirtField::operator int64() { return Read<int64>(); }

CBLOBVirtField::operator float() { return Read<float>(); }

CBLOBVirtField::operator double() { return Read<double>(); }

CBLOBVirtField::operator wstring() { return cells::TextAt(m_pBlob); }

CBLOBVirtField::operator tdatetime() { return Read<tdatetime>(); }

CBLOBVirtField::operator ttimeinterval() { return Read<ttimeinterval>(); }

CBLOBVirtField::operator tdatetimeinterval() { return Read<tdatetimeinterval>(); }

IField &CBLOBVirtField::operator=(const IField &src) {
    if (&src == this || src.GetType() != BLOB) return *this;
    SetData(const_cast<IField &>(src).GetData());
    return *this;
}

IField &CBLOBVirtField::operator=(const tdatetimeinterval &value) { return Write(value); }

IField &CBLOBVirtField::operator=(const ttimeinterval &value) { return Write(value); }

IField &CBLOBVirtField::operator=(const tdatetime &value) { return Write(value); }

IField &CBLOBVirtField::operator=(const wchar *value) {
    SetData(const_cast<wchar *>(value));
    return *this;
}

IField &CBLOBVirtField::operator=(double value) { return Write(value); }

IField &CBLOBVirtField::operator=(float value) { return Write(value); }

IField &CBLOBVirtField::operator=(int64 value) { return Write(value); }

IField &CBLOBVirtField::operator=(int value) { return Write(value); }

IField &CBLOBVirtField::operator=(short value) { return Write(value); }

IField &CBLOBVirtField::operator=(bool value) { return Write(value); }

void CBLOBVirtField::Load(const CQueltVariant &value) { m_pBlob = const_cast<void *>(value.GetPointer()); }

unsigned char *CBLOBVirtField::Init(unsigned char *address) {
    if (!address) return nullptr;
    m_pBlob = cells::Load<void *>(address);
    return address + sizeof(void *);
}

CVirtFieldBase *CBLOBVirtField::clone() const { return new CBLOBVirtField(*this); }

std::ostream &CBLOBVirtField::put(std::ostream &os) const { return os; }

std::istream &CBLOBVirtField::get(std::istream &is) { return is; }

CVirtFieldBase *MakeField(const wstring &name, IField::Types type, IMemDataSet *owner) {
    switch (type) {
        case IField::BLOB:
            return new CBLOBVirtField(name, owner);
        case IField::Bool:
            return new CBoolVirtField(name, owner);
        case IField::Short:
            return new CShortVirtField(name, owner);
        case IField::Int:
            return new CIntVirtField(name, owner);
        case IField::Int64:
            return new CInt64VirtField(name, owner);
        case IField::Float:
            return new CFloatVirtField(name, owner);
        case IField::Double:
            return new CDoubleVirtField(name, owner);
        case IField::String:
            return new CStringVirtField(name, owner);
        case IField::DateTime:
            return new CDateTimeVirtField(name, owner);
        case IField::TimeInterval:
            return new CTimeIntervalVirtField(name, owner);
        case IField::DateTimeInterval:
            return new CDateTimeIntervalVirtField(name, owner);
    }
    throw std::invalid_argument("field type outside 0..10");
}

}  // namespace quelt
