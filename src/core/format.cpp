#include "quelt/core/format.h"

#include <locale>

namespace quelt {

namespace {

template <class C>
bool IsDigit(C c) {
    return c >= C('0') && c <= C('9');
}

// Groups the run of digits that follows an optional sign and ends before the
// decimal point (or a final '%'), at the first non-digit.
template <class S>
S Group(S text, typename S::size_type point) {
    using C = typename S::value_type;
    typename S::size_type end = point;
    if (end == S::npos) {
        end = text.size();
        if (!text.empty() && text.back() == C('%')) --end;
    }
    typename S::size_type first = 0;
    if (!text.empty() && (text[0] == C('-') || text[0] == C('+'))) first = 1;
    typename S::size_type last = first;
    while (last < end && IsDigit(text[last])) ++last;
    for (auto pos = last; pos - first > 3;) {
        pos -= 3;
        text.insert(pos, 1, C(','));
    }
    return text;
}

}  // namespace

wstring formatNumber(wstring text) {
    const wchar_t point = std::use_facet<std::numpunct<wchar_t>>(std::locale()).decimal_point();
    // A point outside 16 bits cannot occur in 16-bit text.
    const auto at =
        static_cast<unsigned long>(point) > 0xFFFF ? wstring::npos : text.find(static_cast<wchar>(point));
    return Group(std::move(text), at);
}

std::string formatNumber(std::string text) {
    const char point = std::use_facet<std::numpunct<char>>(std::locale()).decimal_point();
    const auto at = text.find(point);
    return Group(std::move(text), at);
}

}  // namespace quelt
