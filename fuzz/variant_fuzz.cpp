// Variants made from arbitrary text (every text code) converted to every
// type, and variants of fuzzed numbers rendered under fuzzed formats. A
// whole number's plain text converts back to the same number.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "quelt/core/wstring.h"
#include "quelt/dataset/variant.h"

namespace {

using quelt::CQueltVariant;
using quelt::int64;
using quelt::wchar;
using quelt::wstring;

void Expect(bool condition) {
    if (!condition) std::abort();
}

void EveryType(const CQueltVariant &variant) {
    variant.GetBool();
    variant.GetShort();
    variant.GetInt();
    variant.GetInt64();
    variant.GetFloat();
    variant.GetDouble();
    variant.GetString();
    try {
        variant.GetDateTime();
    } catch (const quelt::bad_datetime &) {
    }
    variant.GetTimeInterval();
    variant.GetDateTimeInterval();
}

// Text variants of every code give the same conversions.
void FromText(const std::string &narrow, const wstring &wide, const wstring &format) {
    CQueltVariant variants[] = {CQueltVariant(wide),
                                CQueltVariant(wide.c_str()),
                                CQueltVariant(narrow),
                                CQueltVariant(narrow.c_str()),
                                CQueltVariant::FromWidePointer(wide.c_str()),
                                CQueltVariant::FromPointer(narrow.c_str())};
    for (CQueltVariant &variant : variants) {
        variant.SetFormat(format);
        EveryType(variant);
    }
    const CQueltVariant &first = variants[0];
    const CQueltVariant &pointer = variants[4];
    Expect(first.GetInt64() == pointer.GetInt64());
    Expect(first.GetString() == pointer.GetString());
}

void FromNumbers(int64 number, double real, const wstring &format) {
    const int narrow = static_cast<int>(number);
    float single = 0;
    std::memcpy(&single, &narrow, sizeof single);
    CQueltVariant variants[] = {
        CQueltVariant(number != 0),
        CQueltVariant(static_cast<signed char>(number)),
        CQueltVariant(static_cast<short>(number)),
        CQueltVariant(narrow),
        CQueltVariant(number),
        CQueltVariant(single),
        CQueltVariant(real),
        CQueltVariant(quelt::ttimeinterval()),
        CQueltVariant(quelt::tdatetimeinterval(narrow % 1000, narrow / 1000 % 1000, 0))};
    for (CQueltVariant &variant : variants) {
        variant.SetFormat(format);
        EveryType(variant);
    }
    // The plain text of a whole number reads back as that number.
    Expect(CQueltVariant(CQueltVariant(number).GetString()).GetInt64() == number);
    Expect(CQueltVariant(CQueltVariant(narrow).GetString()).GetInt() == narrow);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 9) return 0;
    int64 number = 0;
    double real = 0;
    std::memcpy(&number, data, sizeof number);
    std::memcpy(&real, data, sizeof real);
    // The narrow text stops at its first zero byte, as the pointer code reads it.
    const std::string all(reinterpret_cast<const char *>(data + 9), size - 9);
    const std::string narrow = all.substr(0, all.find('\0'));
    const wstring wide = quelt::Utf8ToWide(narrow);
    const std::size_t bar = (data[8] & 1) ? wide.find(wchar('|')) : wstring::npos;
    const wstring format = bar == wstring::npos ? wstring() : wide.substr(0, bar);
    FromText(narrow, wide, format);
    FromNumbers(number, real, format);
    return 0;
}
