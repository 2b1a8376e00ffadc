// Parses arbitrary text as dates, times and intervals and renders what was
// accepted. Only the library's date-time exceptions may leave a parser.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quelt/core/wstring.h"
#include "quelt/datetime/datetime.h"

namespace {

using quelt::wchar;
using quelt::wstring;
using quelt::operator""_w;

// The first byte picks how the rest becomes 16-bit text: UTF-8, so the
// fuzzer finds the ASCII forms quickly, or raw code units, so every unit can occur.
wstring Text(const std::uint8_t *data, std::size_t size) {
    if (size == 0) return wstring();
    if ((data[0] & 1) == 0)
        return quelt::Utf8ToWide(std::string_view(reinterpret_cast<const char *>(data + 1), size - 1));
    wstring text;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar>(data[i] | (data[i + 1] << 8)));
    return text;
}

void Render(const quelt::tdatetime &value, const wstring &format) {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0, ms = 0;
    value.DecodeDate(day, month, year);
    value.DecodeTime(hour, minute, second, ms);
    value.DayOfWeek();
    value.DayOfYear();
    wchar small[8];
    int size = static_cast<int>(sizeof small / sizeof small[0]);
    value.FormatDateTime(format.c_str(), small, size);
    if (size <= 0) std::abort();
    wstring buffer(static_cast<std::size_t>(size), wchar(0));
    int needed = size;
    value.FormatDateTime(format.c_str(), buffer.data(), needed);
    if (needed != size) std::abort();
}

void ParseDateTime(const wstring &text, const wstring &format) {
    try {
        const quelt::tdatetime value(text.c_str());
        Render(value, format);
    } catch (const quelt::bad_datetime &) {
    }
}

void ParseTimeInterval(const wstring &text) {
    try {
        quelt::ttimeinterval value(text.c_str());
        int days = 0, hour = 0, minute = 0, second = 0, ms = 0;
        value.DecodeInterval(days, hour, minute, second, ms);
        value.GetMsec();
        wchar buffer[256];
        int size = 256;
        value.TimeString(buffer, size);
        value.SetAbs();
    } catch (const quelt::bad_datetime &) {
    }
}

void ParseCalendarInterval(const wstring &text) {
    try {
        quelt::tdatetimeinterval value(text.c_str());
        int days = 0, months = 0, years = 0, hour = 0, minute = 0, second = 0, ms = 0;
        value.DecodeDate(days, months, years);
        value.DecodeTime(hour, minute, second, ms);
        value.GetDateTime();
        wchar buffer[1024];
        value.DateTimeString(buffer, 1024);
        const quelt::tdatetime base(1, 1, 2000);
        const quelt::tdatetime moved = base + value;
        moved.GetDateTime();
    } catch (const quelt::bad_datetime &) {
    }
}

// strftime honours field widths up to its output limit; formats come from the
// program, not from the data, so widths of thousands only make the runs slow.
bool HasHugeWidth(const wstring &format) {
    int digits = 0;
    for (const wchar c : format) {
        digits = c >= '0' && c <= '9' ? digits + 1 : 0;
        if (digits > 3) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const wstring all = Text(data, size);
    // A '|' splits the value from the format it is rendered with.
    const std::size_t bar = all.find(wchar('|'));
    const wstring text = all.substr(0, bar);
    wstring format = bar == wstring::npos ? wstring(u"%c"_w) : all.substr(bar + 1);
    if (HasHugeWidth(format)) format = u"%c"_w;
    ParseDateTime(text, format);
    ParseTimeInterval(text);
    ParseCalendarInterval(text);
    return 0;
}
