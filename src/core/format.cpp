#include "quelt/core/format.h"

#include <locale>

namespace quelt {

namespace {

template <class C>
bool IsDigit(C c) {
    return c >= C('0') && c <= C('9');
}

// Groups the run of digits that follows an optional sign and ends before the
// decimal point (or a final '%'), at the first non-digit. The text is built
// once, so a long run costs no more than its length.
template <class S>
void Group(S &text, typename S::size_type point) {
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
    if (last - first <= 3) return;
    S grouped = text.substr(0, first);
    grouped.reserve(text.size() + (last - first) / 3);
    for (auto pos = first; pos < last; ++pos) {
        if (pos > first && (last - pos) % 3 == 0) grouped += C(',');
        grouped += text[pos];
    }
    grouped.append(text, last, S::npos);
    text.swap(grouped);
}

}  // namespace

wstring formatNumber(wstring text) {
    const wchar_t point = std::use_facet<std::numpunct<wchar_t>>(std::locale()).decimal_point();
    // A point outside 16 bits cannot occur in 16-bit text.
    const auto at =
        static_cast<unsigned long>(point) > 0xFFFF ? wstring::npos : text.find(static_cast<wchar>(point));
    Group(text, at);
    return text;
}

std::string formatNumber(std::string text) {
    const char point = std::use_facet<std::numpunct<char>>(std::locale()).decimal_point();
    const auto at = text.find(point);
    Group(text, at);
    return text;
}

}  // namespace quelt
