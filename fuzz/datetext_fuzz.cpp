// Parses arbitrary text as dates, times and calendar intervals with the
// standard parser and renders what was accepted. Only the library's date-time
// exceptions may leave a parser, and the text a value renders is a fixed
// point: it parses to a value that renders the same text again.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

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

void Expect(bool condition) {
    if (!condition) std::abort();
}

wstring DefaultText(const quelt::tdatetime &value) {
    int size = 0;
    value.FormatDateTime(nullptr, nullptr, size);
    Expect(size > 0);
    std::vector<wchar> buffer(static_cast<std::size_t>(size), 0);
    value.FormatDateTime(nullptr, buffer.data(), size);
    return wstring(buffer.data());
}

wstring IntervalText(const quelt::ttimeinterval &value) {
    int size = 0;
    value.TimeString(nullptr, size);
    Expect(size > 0);
    std::vector<wchar> buffer(static_cast<std::size_t>(size), 0);
    value.TimeString(buffer.data(), size);
    return wstring(buffer.data());
}

wstring CalendarText(const quelt::tdatetimeinterval &value) {
    std::vector<wchar> buffer(1024, 0);
    value.DateTimeString(buffer.data(), static_cast<int>(buffer.size()));
    Expect(buffer.back() == 0);
    return wstring(buffer.data());
}

// The texts write whole days as int, which saturates past 2^31 days.
bool FitsTheText(double days) { return std::fabs(days) < 2147483648.0; }

// Text a value rendered reads back to a value that renders the same text.
template <class V, class R>
void ExpectFixedPoint(const V &value, double days, R render) {
    if (!FitsTheText(days)) return;
    const wstring text = render(value);
    try {
        const V again(text.c_str());
        Expect(render(again) == text);
    } catch (const quelt::bad_datetime &) {
        std::abort();
    }
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
    Expect(size > 0);
    wstring buffer(static_cast<std::size_t>(size), wchar(0));
    int needed = size;
    value.FormatDateTime(format.c_str(), buffer.data(), needed);
    Expect(needed == size);
}

void ParseDateTime(const wstring &text, const wstring &format) {
    try {
        const quelt::tdatetime value(text.c_str());
        Render(value, format);
        ExpectFixedPoint(value, value.GetDateTime(), DefaultText);
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
        ExpectFixedPoint(value, value.GetTime(), IntervalText);
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
        ExpectFixedPoint(value, value.GetDays(), CalendarText);
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
