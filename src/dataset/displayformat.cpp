#include "dataset/displayformat_p.h"

#include <algorithm>
#include <utility>

#include "core/numeric_p.h"
#include "core/wtext_p.h"
#include "quelt/core/format.h"

namespace quelt::display {
namespace {

constexpr int kMaxPrecision = 20;

bool IsDigit(wchar c) { return c >= '0' && c <= '9'; }

wchar First(const wstring &format) { return format.empty() ? 0 : format.front(); }

bool Grouped(const wstring &format) { return !format.empty() && format.back() == ','; }

// The digits after "x." as a precision, or -1 when the format carries none.
// Only the leading run of digits counts; whatever follows it is ignored.
int Precision(const wstring &format) {
    if (format.size() < 3 || format[1] != '.' || !IsDigit(format[2])) return -1;
    int precision = 0;
    for (auto it = format.begin() + 2; it != format.end() && IsDigit(*it); ++it) {
        precision = std::min(kMaxPrecision, precision * 10 + (*it - '0'));
    }
    return precision;
}

wstring Group(wstring text, bool grouped) { return grouped ? formatNumber(std::move(text)) : text; }

// value x 100 as text: the decimal digits followed by "00", which cannot
// overflow even where the product would not fit in 64 bits.
wstring Percent(int64 value) { return value == 0 ? wrt::format("0%%") : wrt::format("%I64i00%%", value); }

wstring RenderHex(int64 value, bool wide64) {
    if (wide64) return wrt::format("0x%I64X", value);
    return wrt::format("0x%X", SaturatingNarrow<int>(value));
}

// The scan of an integer kind under 'd' or 'h'; null for any other character.
const char *IntegerScan(wchar first, bool wide64) {
    switch (first) {
        case 'd':
            return wide64 ? "%I64i" : "%i";
        case 'h':
            return wide64 ? "0x%I64X" : "0x%X";
        default:
            return nullptr;
    }
}

bool ScanInteger(const wchar *text, const char *scan, bool wide64, int64 &out) {
    if (wide64) return wrt::swscanf(text, scan, &out) == 1;
    int narrow = 0;
    if (wrt::swscanf(text, scan, &narrow) != 1) return false;
    out = narrow;
    return true;
}

}  // namespace

bool IsAcceptedFormat(const wstring &format) {
    if (format.empty()) return true;
    const wchar first = format.front();
    if (first != 'd' && first != 'h' && first != '%') return false;
    if (format.size() == 1) return true;
    if (format.size() == 2) return format[1] == ',';
    return format[1] == '.' && IsDigit(format[2]);
}

wstring RenderInteger(int64 value, bool wide64, const wstring &format) {
    switch (First(format)) {
        case 'h':
            return RenderHex(value, wide64);
        case '%':
            return Group(Percent(value), Grouped(format));
        default:
            // Short and Int values lie within int, where "%i" and "%I64i" agree.
            return Group(wrt::format("%I64i", value), Grouped(format));
    }
}

wstring RenderReal(double value, bool isFloat, const wstring &format) {
    const bool grouped = Grouped(format);
    const wstring bare = grouped ? format.substr(0, format.size() - 1) : format;
    const int precision = Precision(bare);
    switch (First(bare)) {
        case 'h':
            return wrt::format("0x%X", SaturatingCast<int>(value));
        case 'd':
            if (precision < 0) return Group(wrt::format("%g", value), grouped);
            return Group(wrt::format("%.*f", precision, value), grouped);
        case '%':
            if (precision >= 0) return Group(wrt::format("%.*f%%", precision, value * 100), grouped);
            return Group(wrt::format(isFloat ? "%g%%" : "%f%%", value * 100), grouped);
        default:
            return Group(wrt::format("%g", value), grouped);
    }
}

namespace {

void ReadInteger(const wchar *text, bool wide64, const wstring &format, int64 &value) {
    const wchar first = First(format);
    if (first == 0 && !wide64) {
        value = wrt::wcstol(text, nullptr, 10);
        return;
    }
    int64 scanned = 0;
    if (first == '%') {
        // Read in 64 bits so that every rendered percentage of an int reads back.
        if (wrt::swscanf(text, "%I64i%%", &scanned) != 1) return;
        value = wide64 ? scanned / 100 : SaturatingNarrow<int>(scanned / 100);
        return;
    }
    const char *scan = IntegerScan(first == 0 ? 'd' : first, wide64);
    if (scan == nullptr || !ScanInteger(text, scan, wide64, scanned)) return;
    value = scanned;
}

void ReadReal(const wchar *text, const wstring &format, double &value) {
    switch (First(format)) {
        case 0:
        case 'd':
            value = wrt::wcstod(text, nullptr);
            return;
        case '%':
            // Dividing gives the double nearest the percentage; x 0.01 can miss it by one unit.
            value = wrt::wcstod(text, nullptr) / 100;
            return;
        case 'h': {
            int scanned = 0;
            if (wrt::swscanf(text, "0x%X", &scanned) == 1) value = scanned;
            return;
        }
        default:
            return;
    }
}

}  // namespace

// Text shown under a grouping format reads back: its commas come out first.
void ParseInteger(const wchar *text, bool wide64, const wstring &format, int64 &value) {
    if (text == nullptr) return;
    if (!Grouped(format)) return ReadInteger(text, wide64, format, value);
    ReadInteger(unformatNumber(text).c_str(), wide64, format, value);
}

void ParseReal(const wchar *text, const wstring &format, double &value) {
    if (text == nullptr) return;
    if (!Grouped(format)) return ReadReal(text, format, value);
    ReadReal(unformatNumber(text).c_str(), format, value);
}

}  // namespace quelt::display
