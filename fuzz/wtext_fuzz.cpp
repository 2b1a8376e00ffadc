// The 16-bit text runtime and the display formats on arbitrary text: scans
// with the formats the library uses, number conversions, UTF-8 round trips,
// rendering and parsing under fuzzed display formats, and text assigned to
// memory fields and variants that carry such a format.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "core/wtext_p.h"
#include "dataset/displayformat_p.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/dataset/variant.h"

namespace {

using quelt::int64;
using quelt::wchar;
using quelt::wstring;

wstring Units(std::string_view bytes) {
    wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

void Scans(const wstring &text) {
    const wchar *s = text.c_str();
    int a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
    wchar w1 = 0, w2 = 0, w3 = 0, w4 = 0, w5 = 0, w6 = 0;
    int64 big = 0;
    float real = 0;
    double wide = 0;
    quelt::wrt::swscanf(s, "%d%c%d%c%d%c%d%c%d%c%d%c%d", &a, &w1, &b, &w2, &c, &w3, &d, &w4, &e, &w5, &f, &w6,
                        &g);
    quelt::wrt::swscanf(s, "%d days, %d hours, %d minutes, %d seconds, %d milliseconds", &a, &b, &c, &d, &e);
    quelt::wrt::swscanf(s, "%d years, %d months, %d days, %d hours, %d minutes, %d seconds, %d milliseconds",
                        &a, &b, &c, &d, &e, &f, &g);
    quelt::wrt::swscanf(s, "%i", &a);
    quelt::wrt::swscanf(s, "%I64i", &big);
    quelt::wrt::swscanf(s, "%I64i%%", &big);
    quelt::wrt::swscanf(s, "0x%I64X", &big);
    quelt::wrt::swscanf(s, "0x%X", &a);
    quelt::wrt::swscanf(s, "%g", &real);
    quelt::wrt::swscanf(s, "%lg", &wide);
    quelt::wrt::swscanf(s, "%f%%", &real);
    quelt::wrt::swscanf(s, "%d_%d", &a, &b);
    wchar *end = nullptr;
    quelt::wrt::wcstol(s, &end, 10);
    if (end < s || end > s + text.size()) std::abort();
    quelt::wrt::wcstol(s, &end, 0);
    if (end < s || end > s + text.size()) std::abort();
    quelt::wrt::wcstod(s, &end);
    if (end < s || end > s + text.size()) std::abort();
}

void Utf8(std::string_view bytes, const wstring &units) {
    // Any bytes give some text, and text made from UTF-8 survives the way back.
    const wstring fromBytes = quelt::Utf8ToWide(bytes);
    if (quelt::Utf8ToWide(quelt::WideToUtf8(fromBytes)) != fromBytes) std::abort();
    quelt::WideToUtf8(units);
}

void Display(const wstring &text, const wstring &format, int64 number) {
    quelt::display::IsAcceptedFormat(format);
    quelt::display::RenderInteger(number, false, format);
    quelt::display::RenderInteger(number, true, format);
    double real = 0;
    std::memcpy(&real, &number, sizeof real);
    quelt::display::RenderReal(real, false, format);
    quelt::display::RenderReal(real, true, format);
    int64 value = number;
    quelt::display::ParseInteger(text.c_str(), false, format, value);
    quelt::display::ParseInteger(text.c_str(), true, format, value);
    quelt::display::ParseReal(text.c_str(), format, real);
}

struct Deleter {
    void operator()(quelt::IMemDataSet *p) const { quelt::DeleteMemDataSet(p); }
};

void Fields(const wstring &text, const wstring &format) {
    std::unique_ptr<quelt::IMemDataSet, Deleter> ds(quelt::CreateMemDataSet());
    for (int type = quelt::IField::Bool; type <= quelt::IField::DateTimeInterval; ++type)
        ds->AddField(quelt::wrt::format("f%d", type), static_cast<quelt::IField::Types>(type));
    quelt::IDataSet::Cursor cursor = ds->CreateCursor();
    ds->Append(cursor);
    for (unsigned i = 0; i < ds->GetFieldCount(); ++i) {
        quelt::IField &field = cursor[static_cast<int>(i)];
        field.SetFormat(format);
        try {
            field = text.c_str();
            static_cast<void>(static_cast<wstring>(field));
        } catch (const quelt::bad_datetime &) {
        }
    }
}

void Variant(const wstring &text, const wstring &format) {
    quelt::CQueltVariant variant(text);
    variant.SetFormat(format);
    try {
        variant.GetBool();
        variant.GetShort();
        variant.GetInt();
        variant.GetInt64();
        variant.GetFloat();
        variant.GetDouble();
        variant.GetString();
        variant.GetDateTime();
        variant.GetTimeInterval();
        variant.GetDateTimeInterval();
    } catch (const quelt::bad_datetime &) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 9) return 0;
    int64 number = 0;
    std::memcpy(&number, data, sizeof number);
    const bool raw = data[8] & 1;
    const std::string_view bytes(reinterpret_cast<const char *>(data + 9), size - 9);
    const wstring units = Units(bytes);
    const wstring all = raw ? units : quelt::Utf8ToWide(bytes);
    // A '|' splits the display format from the text read under it.
    const std::size_t bar = all.find(wchar('|'));
    const wstring format = bar == wstring::npos ? wstring() : all.substr(0, bar);
    const wstring text = bar == wstring::npos ? all : all.substr(bar + 1);
    Scans(all);
    Utf8(bytes, units);
    Display(text, format, number);
    Fields(text, format);
    Variant(text, format);
    return 0;
}
