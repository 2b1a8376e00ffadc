#include "quelt/dataset/fastwriter.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <type_traits>

#include "core/numeric_p.h"
#include "core/wtext_p.h"
#include "dataset/datetext_p.h"
#include "dataset/displayformat_p.h"
#include "dataset/fields_p.h"

namespace quelt {

namespace {

const wchar kEmpty[] = {0};

// Bytes of a cell of the type; 0 for a value outside the type list.
std::size_t CellSize(IField::Types type) {
    switch (type) {
        case IField::BLOB:
        case IField::String:
            return sizeof(void *);
        case IField::Bool:
            return sizeof(bool);
        case IField::Short:
            return sizeof(short);
        case IField::Int:
            return sizeof(int);
        case IField::Int64:
            return sizeof(int64);
        case IField::Float:
            return sizeof(float);
        case IField::Double:
            return sizeof(double);
        case IField::DateTime:
            return sizeof(tdatetime);
        case IField::TimeInterval:
            return sizeof(ttimeinterval);
        case IField::DateTimeInterval:
            return sizeof(tdatetimeinterval);
    }
    return 0;
}

// Checks that the cell lies inside the record and writes its initial value
// into the new-record image.
void PrepareCell(std::vector<unsigned char> &blank, IField::Types type, int offset, bool hasPool) {
    const std::size_t size = CellSize(type);
    if (size == 0 || offset < 0 || static_cast<std::size_t>(offset) + size > blank.size()) {
        throw std::invalid_argument("fast writer cell outside the record");
    }
    if (type == IField::String && !hasPool) throw std::invalid_argument("fast writer without a string pool");
    unsigned char *cell = blank.data() + offset;
    if (type == IField::DateTime) cells::Store(cell, tdatetime());
    if (type == IField::TimeInterval) cells::Store(cell, ttimeinterval());
    if (type == IField::DateTimeInterval) cells::Store(cell, tdatetimeinterval());
}

// Reals reach integers through the saturating conversion; integers convert as the language does.
template <class I, class N>
I ToInteger(N value) {
    if constexpr (std::is_floating_point_v<N>) {
        return SaturatingCast<I>(static_cast<double>(value));
    } else {
        return static_cast<I>(value);
    }
}

template <class N>
wstring NumberText(N value) {
    if constexpr (std::is_same_v<N, bool>) {
        return value ? cells::kTrue : cells::kFalse;
    } else if constexpr (std::is_floating_point_v<N>) {
        return wrt::format("%g", static_cast<double>(value));
    } else if constexpr (std::is_same_v<N, int64>) {
        return wrt::format("%I64i", static_cast<long long>(value));
    } else {
        return wrt::format("%i", static_cast<int>(value));
    }
}

// Parses the text over the cell's current value: what the scan leaves is stored.
template <class T>
void ParseIntoCell(unsigned char *cell, const wchar *text, const wstring &format) {
    if constexpr (std::is_floating_point_v<T>) {
        double parsed = cells::Load<T>(cell);
        display::ParseReal(text, format, parsed);
        cells::Store(cell, static_cast<T>(parsed));
    } else if constexpr (std::is_integral_v<T>) {
        int64 parsed = cells::Load<T>(cell);
        display::ParseInteger(text, std::is_same_v<T, int64>, format, parsed);
        cells::Store(cell, static_cast<T>(parsed));
    } else {
        T parsed = cells::Load<T>(cell);
        datetext::Parse(text, parsed);
        cells::Store(cell, parsed);
    }
}

template <class V>
constexpr IField::Types DateType() {
    if constexpr (std::is_same_v<V, tdatetime>) return IField::DateTime;
    if constexpr (std::is_same_v<V, ttimeinterval>) return IField::TimeInterval;
    return IField::DateTimeInterval;
}

}  // namespace

// Layout and registry

CMemDataSet::CFastWriting::~CFastWriting() { Leave(); }

void CMemDataSet::CFastWriting::Init(IField::Types *types, int *offsets, int count, CVecDataStorage *storage,
                                     wstring *formats, Pool_alloc<wchar> *alloc) {
    if (count < 0 || !storage || (count > 0 && (!types || !offsets || !formats))) {
        throw std::invalid_argument("fast writer layout");
    }
    std::vector<IField::Types> newTypes(types, types + count);
    std::vector<int> newOffsets(offsets, offsets + count);
    std::vector<wstring> newFormats(formats, formats + count);
    std::vector<unsigned char> blank(storage->GetRecordSize(), 0);
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        PrepareCell(blank, newTypes[at], newOffsets[at], alloc != nullptr);
    }
    // Joining the registry must not fail once the writer has changed.
    storage->m_writers.reserve(storage->m_writers.size() + 1);
    Leave();
    m_types.swap(newTypes);
    m_offsets.swap(newOffsets);
    m_formats.swap(newFormats);
    m_blank.swap(blank);
    m_count = count;
    m_pStorage = storage;
    m_pCurrent = nullptr;
    m_pAlloc = alloc;
    storage->m_writers.push_back(this);
}

void CMemDataSet::CFastWriting::Leave() {
    if (!m_pStorage) return;
    std::vector<CFastWriting *> &writers = m_pStorage->m_writers;
    writers.erase(std::remove(writers.begin(), writers.end(), this), writers.end());
    Detach();
}

void CMemDataSet::CFastWriting::Detach() {
    m_pStorage = nullptr;
    m_pCurrent = nullptr;
    m_pAlloc = nullptr;
}

void CMemDataSet::CFastWriting::CheckAttached() const {
    if (!m_pStorage) throw std::logic_error("fast writer is not attached to a data set");
}

unsigned char *CMemDataSet::CFastWriting::Cell(int fieldIndex) const {
    CheckAttached();
    if (!m_pCurrent) throw std::out_of_range("fast writer has no current record");
    if (fieldIndex < 0 || fieldIndex >= m_count)
        throw std::out_of_range("field index outside the writer's layout");
    ++m_pStorage->Writes();
    return m_pCurrent + m_offsets[static_cast<std::size_t>(fieldIndex)];
}

// Writing

void CMemDataSet::CFastWriting::AddRecord() {
    CheckAttached();
    unsigned char *record = m_pStorage->GetAddress(m_pStorage->Append());
    std::copy(m_blank.begin(), m_blank.end(), record);
    m_pCurrent = record;
}

void CMemDataSet::CFastWriting::SetPChar(wchar **cell, const wchar *text) {
    if (!m_pAlloc) throw std::logic_error("fast writer has no string pool");
    cells::StoreText(*m_pAlloc, reinterpret_cast<unsigned char *>(cell), text);
}

template <class N>
void CMemDataSet::CFastWriting::WriteNumber(unsigned char *cell, IField::Types type, N value) {
    const auto days = static_cast<double>(value);
    switch (type) {
        case IField::Bool:
            return cells::Store(cell, ToInteger<int64>(value) != 0);
        case IField::Short:
            return cells::Store(cell, ToInteger<short>(value));
        case IField::Int:
            return cells::Store(cell, ToInteger<int>(value));
        case IField::Int64:
            return cells::Store(cell, ToInteger<int64>(value));
        case IField::Float:
            return cells::Store(cell, static_cast<float>(value));
        case IField::Double:
            return cells::Store(cell, days);
        case IField::String:
            return SetPChar(reinterpret_cast<wchar **>(cell), NumberText(value).c_str());
        case IField::DateTime:
            return cells::Store(cell, cells::DateFromDays(days));
        case IField::TimeInterval:
            return cells::Store(cell, cells::IntervalFromDays(days));
        case IField::DateTimeInterval:
            return cells::Store(cell, cells::SpanFromDays(days));
        case IField::BLOB:
            return;
    }
}

// The cell is checked before its type is read.
template <class N>
void CMemDataSet::CFastWriting::SetNumber(int fieldIndex, N value) {
    unsigned char *cell = Cell(fieldIndex);
    WriteNumber(cell, m_types[static_cast<std::size_t>(fieldIndex)], value);
}

void CMemDataSet::CFastWriting::WriteText(unsigned char *cell, IField::Types type, const wstring &format,
                                          const wchar *text) {
    const wchar *parsed = text ? text : kEmpty;
    switch (type) {
        case IField::Bool:
            return cells::Store(cell, cells::IsTrueText(parsed));
        case IField::Short:
            return ParseIntoCell<short>(cell, parsed, format);
        case IField::Int:
            return ParseIntoCell<int>(cell, parsed, format);
        case IField::Int64:
            return ParseIntoCell<int64>(cell, parsed, format);
        case IField::Float:
            return ParseIntoCell<float>(cell, parsed, format);
        case IField::Double:
            return ParseIntoCell<double>(cell, parsed, format);
        case IField::String:
            return SetPChar(reinterpret_cast<wchar **>(cell), text);
        case IField::DateTime:
            return ParseIntoCell<tdatetime>(cell, parsed, format);
        case IField::TimeInterval:
            return ParseIntoCell<ttimeinterval>(cell, parsed, format);
        case IField::DateTimeInterval:
            return ParseIntoCell<tdatetimeinterval>(cell, parsed, format);
        case IField::BLOB:
            return;
    }
}

// A date-time value goes in unchanged into its own kind, as text into a
// String cell, through its seven date and time numbers between dates and
// calendar intervals, and as its day count everywhere else.
template <class V>
void CMemDataSet::CFastWriting::WriteDate(int fieldIndex, const V &value) {
    unsigned char *cell = Cell(fieldIndex);
    const IField::Types type = m_types[static_cast<std::size_t>(fieldIndex)];
    if (type == DateType<V>()) return cells::Store(cell, value);
    if (type == IField::String)
        return SetPChar(reinterpret_cast<wchar **>(cell), datetext::Text(value).c_str());
    if constexpr (std::is_same_v<V, tdatetimeinterval>) {
        if (type == IField::DateTime) return cells::Store(cell, cells::DateFromSpan(value));
    } else if constexpr (std::is_same_v<V, tdatetime>) {
        if (type == IField::DateTimeInterval) return cells::Store(cell, cells::SpanFromDate(value));
    }
    WriteNumber(cell, type, cells::DaysOf(value));
}

void CMemDataSet::CFastWriting::SetField(int fieldIndex, const tdatetimeinterval &value) {
    WriteDate(fieldIndex, value);
}

void CMemDataSet::CFastWriting::SetField(int fieldIndex, const ttimeinterval &value) {
    WriteDate(fieldIndex, value);
}

void CMemDataSet::CFastWriting::SetField(int fieldIndex, const tdatetime &value) {
    WriteDate(fieldIndex, value);
}

void CMemDataSet::CFastWriting::SetField(int fieldIndex, const wchar *value) {
    unsigned char *cell = Cell(fieldIndex);
    const auto at = static_cast<std::size_t>(fieldIndex);
    WriteText(cell, m_types[at], m_formats[at], value);
}

void CMemDataSet::CFastWriting::SetField(int fieldIndex, double value) { SetNumber(fieldIndex, value); }

void CMemDataSet::CFastWriting::SetField(int fieldIndex, float value) { SetNumber(fieldIndex, value); }

void CMemDataSet::CFastWriting::SetField(int fieldIndex, int64 value) { SetNumber(fieldIndex, value); }

void CMemDataSet::CFastWriting::SetField(int fieldIndex, int value) { SetNumber(fieldIndex, value); }

void CMemDataSet::CFastWriting::SetField(int fieldIndex, short value) { SetNumber(fieldIndex, value); }

void CMemDataSet::CFastWriting::SetField(int fieldIndex, bool value) { SetNumber(fieldIndex, value); }

void CMemDataSet::CFastWriting::SetField(int fieldIndex, const wstring &value) {
    SetField(fieldIndex, value.c_str());
}

// The data set's side

IFastWriter *CMemDataSet::CreateFastWriter() {
    auto writer = std::make_unique<CFastWriting>();
    initfast(*writer);
    return writer.release();
}

void CMemDataSet::initfast(CFastWriting &writer) {
    const int count = static_cast<int>(GetFieldCount());
    std::vector<IField::Types> types;
    std::vector<int> offsets;
    std::vector<wstring> formats;
    for (int i = 0; i < count; ++i) {
        CMemFieldBase *field = GetCloneField(i);
        types.push_back(field->GetType());
        offsets.push_back(GetFieldShift(i));
        formats.push_back(field->GetFormat());
    }
    writer.Init(types.data(), offsets.data(), count, m_pStorage, formats.data(), &m_alloc);
}

void CMemDataSet::DeleteFastWriter(IFastWriter *writer) { delete writer; }

// The storage's side

void CMemDataSet::CVecDataStorage::ResetWriters(const unsigned char *record) {
    for (CFastWriting *writer : m_writers) {
        if (!record || writer->m_pCurrent == record) writer->m_pCurrent = nullptr;
    }
}

void CMemDataSet::CVecDataStorage::DetachWriters() {
    for (CFastWriting *writer : m_writers) writer->Detach();
    m_writers.clear();
}

}  // namespace quelt
