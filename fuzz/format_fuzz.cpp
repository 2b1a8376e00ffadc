// Number grouping and the display formats on arbitrary text and numbers.
// formatNumber only inserts commas and is idempotent; the display formats
// render any number under any format and read back what the plain, decimal
// and hexadecimal formats render.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/numeric_p.h"
#include "dataset/displayformat_p.h"
#include "quelt/core/format.h"
#include "quelt/core/wstring.h"

namespace {

using quelt::int64;
using quelt::wchar;
using quelt::wstring;

void Expect(bool condition) {
    if (!condition) std::abort();
}

template <class S>
S WithoutCommas(S text) {
    text.erase(std::remove(text.begin(), text.end(), typename S::value_type(',')), text.end());
    return text;
}

template <class S>
void Grouping(const S &text) {
    const S grouped = quelt::formatNumber(text);
    Expect(WithoutCommas(grouped) == WithoutCommas(text));
    Expect(quelt::formatNumber(grouped) == grouped);
}

// Text without commas of its own comes back from its grouped form.
void Ungrouping(const wstring &text) {
    if (text.find(wchar(',')) != wstring::npos) return;
    Expect(quelt::unformatNumber(quelt::formatNumber(text)) == text);
}

void Display(const wstring &text, const wstring &format, int64 number, double real) {
    const bool accepted = quelt::display::IsAcceptedFormat(format);
    for (const bool wide64 : {false, true}) {
        const int64 value = wide64 ? number : quelt::SaturatingNarrow<int>(number);
        const wstring shown = quelt::display::RenderInteger(value, wide64, format);
        int64 parsed = value;
        quelt::display::ParseInteger(text.c_str(), wide64, format, parsed);
        const wchar first = format.empty() ? 0 : format[0];
        if (!accepted || (first != 0 && first != 'd' && first != 'h')) continue;
        parsed = ~value;
        quelt::display::ParseInteger(shown.c_str(), wide64, format, parsed);
        Expect(parsed == value);
    }
    for (const bool isFloat : {false, true}) {
        quelt::display::RenderReal(real, isFloat, format);
        double parsed = real;
        quelt::display::ParseReal(text.c_str(), format, parsed);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 9) return 0;
    int64 number = 0;
    double real = 0;
    std::memcpy(&number, data, sizeof number);
    std::memcpy(&real, data, sizeof real);
    const std::string narrow(reinterpret_cast<const char *>(data + 9), size - 9);
    const wstring all = quelt::Utf8ToWide(narrow);
    Grouping(narrow);
    Grouping(all);
    Ungrouping(all);
    // A '|' splits the display format from the text read under it.
    const std::size_t bar = (data[8] & 1) ? all.find(wchar('|')) : wstring::npos;
    const wstring format = bar == wstring::npos ? wstring() : all.substr(0, bar);
    const wstring text = bar == wstring::npos ? all : all.substr(bar + 1);
    Display(text, format, number, real);
    return 0;
}
