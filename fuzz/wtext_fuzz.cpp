// The 16-bit text runtime on arbitrary text and numbers: the scans the
// library uses, wcstol and wcstod, printing into buffers of every size, and
// UTF-8. What the runtime prints reads back to the same number, and valid
// UTF-8 and valid UTF-16 survive the round trip through the other exactly.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/wtext_p.h"
#include "quelt/core/wstring.h"

namespace {

using quelt::int64;
using quelt::wchar;
using quelt::wstring;

void Expect(bool condition) {
    if (!condition) std::abort();
}

wstring Units(std::string_view bytes) {
    wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

void ExpectWithin(const wchar *end, const wstring &text) {
    Expect(end >= text.c_str() && end <= text.c_str() + text.size());
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
    for (const int base : {0, 10, 16, 36}) {
        quelt::wrt::wcstol(s, &end, base);
        ExpectWithin(end, text);
    }
    quelt::wrt::wcstod(s, &end);
    ExpectWithin(end, text);
}

// Printing into a buffer of exactly count units: never past it, the text
// when it fits (terminated when there is room), -1 when it does not.
template <class... A>
void PrintInto(std::size_t count, const char *format, A... args) {
    const wstring whole = quelt::wrt::format(format, args...);
    std::vector<wchar> buffer(count);
    const int n = quelt::wrt::snwprintf(count == 0 ? nullptr : buffer.data(), count, format, args...);
    // A null buffer of size 0 asks for the length.
    if (count == 0) {
        Expect(n == static_cast<int>(whole.size()));
        return;
    }
    if (whole.size() > count) {
        Expect(n == -1);
        Expect(wstring(buffer.data(), count) == whole.substr(0, count));
        return;
    }
    Expect(n == static_cast<int>(whole.size()));
    Expect(wstring(buffer.data(), whole.size()) == whole);
    if (whole.size() < count) Expect(buffer[whole.size()] == 0);
}

void Prints(const wstring &text, int64 number, double real, std::size_t count) {
    const int narrow = static_cast<int>(number);
    PrintInto(count, "%s", text.c_str());
    PrintInto(count, "%.*s|%-*s|", static_cast<int>(count), text.c_str(), static_cast<int>(count % 40),
              text.c_str());
    PrintInto(count, "%i %I64i %X %I64X", narrow, number, narrow, number);
    PrintInto(count, "%g %f %.*f %e", real, real, static_cast<int>(count % 30), real, real);
    PrintInto(count, "%c%c", static_cast<int>(text.empty() ? 0 : text[0]), 'x');
}

// What the runtime prints, its scans and conversions read back.
void RoundTrips(int64 number, double real) {
    const int narrow = static_cast<int>(number);
    wchar *end = nullptr;
    const wstring decimal = quelt::wrt::format("%d", narrow);
    Expect(quelt::wrt::wcstol(decimal.c_str(), &end, 10) == narrow);
    Expect(*end == 0);
    int scanned = 0;
    Expect(quelt::wrt::swscanf(decimal.c_str(), "%i", &scanned) == 1 && scanned == narrow);
    Expect(quelt::wrt::swscanf(quelt::wrt::format("0x%X", narrow).c_str(), "0x%X", &scanned) == 1 &&
           scanned == narrow);
    int64 wide = 0;
    Expect(quelt::wrt::swscanf(quelt::wrt::format("%I64i", number).c_str(), "%I64i", &wide) == 1 &&
           wide == number);
    Expect(quelt::wrt::swscanf(quelt::wrt::format("0x%I64X", number).c_str(), "0x%I64X", &wide) == 1 &&
           wide == number);
    const wstring exact = quelt::wrt::format("%.17g", real);
    const double back = quelt::wrt::wcstod(exact.c_str(), &end);
    Expect(*end == 0);
    Expect(std::isnan(real) ? std::isnan(back) : std::memcmp(&back, &real, sizeof real) == 0);
}

// Well-formed UTF-8: the shortest form of a scalar value, no surrogates.
bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        unsigned low = 0x80, high = 0xBF;
        if (lead < 0x80) {
            extra = 0;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (bytes.size() - i - 1 < extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
        }
        i += extra + 1;
    }
    return true;
}

// Every surrogate in a pair: high then low.
bool IsValidUtf16(const wstring &units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        const wchar u = units[i];
        if (u >= 0xDC00 && u <= 0xDFFF) return false;
        if (u < 0xD800 || u > 0xDBFF) continue;
        if (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return false;
        ++i;
    }
    return true;
}

void Utf8(std::string_view bytes, const wstring &units) {
    const wstring fromBytes = quelt::Utf8ToWide(bytes);
    if (IsValidUtf8(bytes)) Expect(quelt::WideToUtf8(fromBytes) == bytes);
    // Whatever the bytes, the text made of them is valid and survives the way back.
    Expect(IsValidUtf16(fromBytes));
    Expect(quelt::Utf8ToWide(quelt::WideToUtf8(fromBytes)) == fromBytes);
    const std::string fromUnits = quelt::WideToUtf8(units);
    Expect(IsValidUtf8(fromUnits));
    if (IsValidUtf16(units)) Expect(quelt::Utf8ToWide(fromUnits) == units);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 11) return 0;
    int64 number = 0;
    double real = 0;
    std::memcpy(&number, data, sizeof number);
    std::memcpy(&real, data, sizeof real);
    const std::size_t count = data[8];
    const bool raw = data[9] & 1;
    const std::string_view bytes(reinterpret_cast<const char *>(data + 10), size - 10);
    const wstring units = Units(bytes);
    const wstring text = raw ? units : quelt::Utf8ToWide(bytes);
    Scans(text);
    Prints(text, number, real, count);
    RoundTrips(number, real);
    Utf8(bytes, units);
    return 0;
}
