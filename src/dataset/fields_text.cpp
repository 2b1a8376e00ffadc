#include <algorithm>
#include <istream>
#include <ostream>
#include <string>

#include "core/numeric_p.h"
#include "core/wtext_p.h"
#include "dataset/datetext_p.h"
#include "dataset/fields_p.h"
#include "quelt/dataset/fields.h"

namespace quelt {

namespace cells {

namespace {

// Text read from the stream: UTF-8 when the bytes are valid UTF-8, else one
// character per byte as older streams wrote it.
wstring DecodeStreamText(const std::string &bytes) {
    wstring text = Utf8ToWide(bytes);
    if (WideToUtf8(text) == bytes) return text;
    text.assign(bytes.size(), 0);
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [](char c) { return static_cast<wchar>(static_cast<unsigned char>(c)); });
    return text;
}

// A longer text is refused before its bytes are read: a memory cell keeps
// far less, and reading it would only hold the reader up.
constexpr long long kMaxStreamTextBytes = 1 << 26;

// Reads count bytes without reserving more than the input delivers.
bool ReadBytes(std::istream &is, std::size_t count, std::string &bytes) {
    char chunk[4096];
    while (bytes.size() < count) {
        const std::size_t want = std::min(sizeof chunk, count - bytes.size());
        is.read(chunk, static_cast<std::streamsize>(want));
        bytes.append(chunk, static_cast<std::size_t>(is.gcount()));
        if (static_cast<std::size_t>(is.gcount()) != want) return false;
    }
    return true;
}

}  // namespace

std::ostream &PutText(std::ostream &os, const wchar *text) {
    const std::string bytes = text ? WideToUtf8(text) : std::string();
    os << bytes.size() << ' ';
    return os.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::istream &GetText(std::istream &is, wstring &text) {
    long long count = 0;
    if (!(is >> count)) return is;
    if (count < 0 || count > kMaxStreamTextBytes) {
        is.setstate(std::ios::failbit);
        return is;
    }
    is.get();
    std::string bytes;
    if (!ReadBytes(is, static_cast<std::size_t>(count), bytes)) {
        is.setstate(std::ios::failbit);
        return is;
    }
    text = DecodeStreamText(bytes);
    return is;
}

}  // namespace cells

// String

CStringMemField::CStringMemField(const wstring &name, IMemoryDataSet *owner, Pool_alloc<wchar> *alloc)
    : CMemFieldBase(name, String, static_cast<int>(sizeof(wchar *)), owner), m_pAlloc(alloc) {}

const wchar *CStringMemField::Text() const { return cells::CellText(GetCell()); }

void CStringMemField::SetPChar(const wchar *text) {
    if (IsBound() && m_pAlloc) cells::StoreText(*m_pAlloc, GetCell(), text);
}

IField &CStringMemField::Assign(const wstring &text) {
    if (!IsBound()) return *this;
    SetPChar(text.c_str());
    Notify();
    return *this;
}

void CStringMemField::SetData(void *data) {
    Assign(data ? wstring(static_cast<const wchar *>(data)) : wstring());
}

IField &CStringMemField::operator=(void *data) {
    SetData(data);
    return *this;
}

bool CStringMemField::operator<(IField &other) {
    const wstring mine = *this;
    const wstring theirs = other;
    return wrt::wcscmp(mine.c_str(), theirs.c_str()) < 0;
}

CStringMemField::operator bool() { return cells::IsTrueText(Text()); }

CStringMemField::operator short() { return static_cast<short>(static_cast<int>(*this)); }

CStringMemField::operator int() {
    int value = 0;
    if (const wchar *text = Text()) {
        if (wrt::swscanf(text, "%i", &value) != 1) value = 0;
    }
    return value;
}

CStringMemField::operator int64() {
    int64 value = 0;
    if (const wchar *text = Text()) {
        if (wrt::swscanf(text, "%I64i", &value) != 1) value = 0;
    }
    return value;
}

CStringMemField::operator float() { return static_cast<float>(static_cast<double>(*this)); }

CStringMemField::operator double() {
    const wchar *text = Text();
    return text ? wrt::wcstod(text, nullptr) : 0.0;
}

CStringMemField::operator wstring() {
    const wchar *text = Text();
    return text ? wstring(text) : wstring();
}

CStringMemField::operator tdatetime() {
    tdatetime value;
    datetext::Parse(Text(), value);
    return value;
}

CStringMemField::operator ttimeinterval() {
    ttimeinterval value;
    datetext::Parse(Text(), value);
    return value;
}

CStringMemField::operator tdatetimeinterval() {
    tdatetimeinterval value;
    datetext::Parse(Text(), value);
    return value;
}

IField &CStringMemField::operator=(const IField &src) {
    if (IsSameCell(src)) return *this;
    return Assign(static_cast<wstring>(const_cast<IField &>(src)));
}

IField &CStringMemField::operator=(const tdatetimeinterval &value) { return Assign(datetext::Text(value)); }

IField &CStringMemField::operator=(const ttimeinterval &value) { return Assign(datetext::Text(value)); }

IField &CStringMemField::operator=(const tdatetime &value) { return Assign(datetext::Text(value)); }

IField &CStringMemField::operator=(const wchar *value) {
    SetPChar(value);
    return *this;
}

IField &CStringMemField::operator=(double value) { return Assign(wrt::format("%g", value)); }

IField &CStringMemField::operator=(float value) {
    return Assign(wrt::format("%g", static_cast<double>(value)));
}

IField &CStringMemField::operator=(int64 value) {
    return Assign(wrt::format("%I64i", static_cast<long long>(value)));
}

IField &CStringMemField::operator=(int value) { return Assign(wrt::format("%i", value)); }

IField &CStringMemField::operator=(short value) { return Assign(wrt::format("%i", static_cast<int>(value))); }

IField &CStringMemField::operator=(bool value) { return Assign(value ? cells::kTrue : cells::kFalse); }

void CStringMemField::InitMemory() {
    if (IsBound()) cells::Store(GetCell(), static_cast<wchar *>(nullptr));
}

void CStringMemField::DestroyMemory() {
    if (IsBound() && m_pAlloc) cells::FreeText(*m_pAlloc, GetCell());
}

CMemFieldBase *CStringMemField::clone() const { return new CStringMemField(*this); }

std::ostream &CStringMemField::put(std::ostream &os) const { return cells::PutText(os, Text()); }

std::istream &CStringMemField::get(std::istream &is) {
    wstring text;
    if (cells::GetText(is, text)) SetPChar(text.c_str());
    return is;
}

// BLOB

CBLOBMemField::CBLOBMemField(const wstring &name, IMemoryDataSet *owner)
    : CMemFieldBase(name, BLOB, static_cast<int>(sizeof(void *)), owner) {}

void *CBLOBMemField::Block() const { return IsBound() ? cells::Load<void *>(GetCell()) : nullptr; }

template <class V>
V CBLOBMemField::Read() const {
    const void *block = Block();
    return block ? cells::Load<V>(static_cast<const unsigned char *>(block)) : V{};
}

template <class V>
IField &CBLOBMemField::Write(const V &value) {
    void *block = Block();
    if (!block) return *this;
    cells::Store(static_cast<unsigned char *>(block), value);
    Notify();
    return *this;
}

void *CBLOBMemField::GetData() { return Block(); }

void CBLOBMemField::SetData(void *data) {
    if (!IsBound()) return;
    cells::Store(GetCell(), data);
    Notify();
}

// A block has no order of its own.
bool CBLOBMemField::operator<(IField &) { return false; }

CBLOBMemField::operator bool() { return Read<bool>(); }

CBLOBMemField::operator short() { return Read<short>(); }

CBLOBMemField::operator int() { return Read<int>(); }

CBLOBMemField::operator int64() { return Read<int64>(); }

CBLOBMemField::operator float() { return Read<float>(); }

CBLOBMemField::operator double() { return Read<double>(); }

CBLOBMemField::operator wstring() { return cells::TextAt(Block()); }

CBLOBMemField::operator tdatetime() { return Read<tdatetime>(); }

CBLOBMemField::operator ttimeinterval() { return Read<ttimeinterval>(); }

CBLOBMemField::operator tdatetimeinterval() { return Read<tdatetimeinterval>(); }

IField &CBLOBMemField::operator=(const IField &src) {
    if (IsSameCell(src)) return *this;
    if (src.GetType() == BLOB) SetData(const_cast<IField &>(src).GetData());
    return *this;
}

IField &CBLOBMemField::operator=(const tdatetimeinterval &value) { return Write(value); }

IField &CBLOBMemField::operator=(const ttimeinterval &value) { return Write(value); }

IField &CBLOBMemField::operator=(const tdatetime &value) { return Write(value); }

IField &CBLOBMemField::operator=(const wchar *value) {
    if (IsBound()) cells::Store(GetCell(), static_cast<const void *>(value));
    return *this;
}

IField &CBLOBMemField::operator=(double value) { return Write(value); }

IField &CBLOBMemField::operator=(float value) { return Write(value); }

IField &CBLOBMemField::operator=(int64 value) { return Write(value); }

IField &CBLOBMemField::operator=(int value) { return Write(value); }

IField &CBLOBMemField::operator=(short value) { return Write(value); }

IField &CBLOBMemField::operator=(bool value) { return Write(value); }

void CBLOBMemField::InitMemory() {
    if (IsBound()) cells::Store(GetCell(), static_cast<void *>(nullptr));
}

CMemFieldBase *CBLOBMemField::clone() const { return new CBLOBMemField(*this); }

std::ostream &CBLOBMemField::put(std::ostream &os) const { return os; }

std::istream &CBLOBMemField::get(std::istream &is) { return is; }

}  // namespace quelt
