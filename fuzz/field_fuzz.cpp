// Text assigned to a field of every type under a display format, in a memory
// data set and in a free-standing virtual field. The first byte picks the
// type, the second the format (or takes it from the text before a '|'), the
// third how the rest becomes 16-bit text. The field's text is then a fixed
// point where its format reads back what it writes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "quelt/core/wstring.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/dataset/virtfields.h"

namespace {

using quelt::IField;
using quelt::wchar;
using quelt::wstring;
using quelt::operator""_w;

void Expect(bool condition) {
    if (!condition) std::abort();
}

const wstring kFormats[] = {u""_w,  u"d"_w,  u"d,"_w,   u"d.2"_w, u"d.2,"_w, u"d.20"_w,
                            u"h"_w, u"h,"_w, u"%"_w,    u"%,"_w,  u"%.1"_w,  u"%.3,"_w,
                            u"x"_w, u"d2"_w, u"d.99"_w, u"d.0"_w, u"%.0"_w,  u"h.5"_w};
constexpr std::size_t kFormatCount = sizeof kFormats / sizeof kFormats[0];

wstring Text(const std::uint8_t *data, std::size_t size, bool raw) {
    if (!raw) return quelt::Utf8ToWide(std::string_view(reinterpret_cast<const char *>(data), size));
    wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar>(data[i] | (data[i + 1] << 8)));
    return text;
}

bool IsInteger(IField::Types type) { return type >= IField::Bool && type <= IField::Int64; }

bool IsReal(IField::Types type) { return type == IField::Float || type == IField::Double; }

bool IsDate(IField::Types type) { return type >= IField::DateTime; }

// Where the format's rendering is read back by its parsing: percentages of
// reals are rounded twice. Virtual fields read text as a variant does,
// whatever their format (so grouped text does not scan), and keep dates as
// they were.
bool ReadsBack(IField::Types type, const wstring &format, bool memory) {
    const bool grouped = !format.empty() && format.back() == ',';
    const wchar first = format.empty() ? 0 : format[0];
    if (!memory) return !grouped && (IsInteger(type) || IsReal(type)) && (first == 0 || first == 'd');
    if (IsInteger(type)) return first == 0 || first == 'd' || first == 'h' || first == '%';
    if (IsReal(type)) return first == 0 || first == 'd' || first == 'h';
    return IsDate(type);
}

// The interval texts write whole days as int, which saturates past 2^31 days.
bool FitsTheText(IField &field) {
    constexpr double kIntDays = 2147483648.0;
    if (field.GetType() == IField::TimeInterval)
        return std::fabs(static_cast<quelt::ttimeinterval>(field).GetTime()) < kIntDays;
    if (field.GetType() == IField::DateTimeInterval)
        return std::fabs(static_cast<quelt::tdatetimeinterval>(field).GetDays()) < kIntDays;
    return true;
}

// Assigns the text and reads it back; the text the field shows must show
// again when assigned (the field keeps its format).
void Assign(IField &field, const wstring &text, bool memory) {
    try {
        field = text.c_str();
        const wstring shown = static_cast<wstring>(field);
        const IField::Types type = field.GetType();
        // Memory cells shorten texts beyond a pool block; fuzz inputs stay below that.
        if (type == IField::String && text.size() < 4096) {
            Expect(shown == wstring(text.c_str()));
        } else if (type == IField::Bool && memory) {
            Expect(static_cast<bool>(field) == (wstring(text.c_str()) == u"true"_w));
        }
        if (type == IField::BLOB || !ReadsBack(type, field.GetFormat(), memory) || !FitsTheText(field))
            return;
        field = shown.c_str();
        Expect(static_cast<wstring>(field) == shown);
    } catch (const quelt::bad_datetime &) {
    }
}

struct Deleter {
    void operator()(quelt::IMemDataSet *p) const { quelt::DeleteMemDataSet(p); }
};

void MemoryField(IField::Types type, const wstring &format, const wstring &text) {
    std::unique_ptr<quelt::IMemDataSet, Deleter> ds(quelt::CreateMemDataSet());
    ds->AddField(u"f"_w, type);
    ds->SetFieldFormat(0, format);
    quelt::IDataSet::Cursor cursor = ds->CreateCursor();
    ds->Append(cursor);
    Assign(cursor[0], text, true);
    // The cell as another cursor and the data set see it.
    quelt::IDataSet::Cursor other = ds->CreateCursor();
    static_cast<void>(static_cast<wstring>(other[0]));
    static_cast<void>(ds->GetString(0, 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 3) return 0;
    const auto type = static_cast<IField::Types>(data[0] % 11);
    const wstring all = Text(data + 3, size - 3, data[2] & 1);
    wstring format = kFormats[data[1] % kFormatCount];
    wstring text = all;
    // Past the fixed formats the format is the text before a '|'.
    const std::size_t bar = all.find(wchar('|'));
    if (data[1] >= kFormatCount && bar != wstring::npos) {
        format = all.substr(0, bar);
        text = all.substr(bar + 1);
    }
    MemoryField(type, format, text);
    const std::unique_ptr<quelt::CVirtFieldBase> field(
        quelt::MakeField(u"v"_w, type, static_cast<quelt::IMemDataSet *>(nullptr)));
    field->SetFormat(format);
    Assign(*field, text, false);
    return 0;
}
