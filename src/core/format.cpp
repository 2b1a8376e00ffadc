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

wchar_t WidePoint() { return std::use_facet<std::numpunct<wchar_t>>(std::locale()).decimal_point(); }

bool StartsGroup(const wstring &text, wstring::size_type comma) {
    if (comma + 3 >= text.size() || text[comma] != ',') return false;
    for (auto pos = comma + 1; pos <= comma + 3; ++pos) {
        if (!IsDigit(text[pos])) return false;
    }
    return comma + 4 == text.size() || !IsDigit(text[comma + 4]);
}

}  // namespace

wstring formatNumber(wstring text) {
    const wchar_t point = WidePoint();
    // A point outside 16 bits cannot occur in 16-bit text.
    const auto at =
        static_cast<unsigned long>(point) > 0xFFFF ? wstring::npos : text.find(static_cast<wchar>(point));
    Group(text, at);
    return text;
}

wstring unformatNumber(wstring text) {
    // Where ',' is the decimal point, "1,234" may be either number.
    if (WidePoint() == L',') return text;
    wstring::size_type pos = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const auto first = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    if (pos == first || pos - first > 3 || !StartsGroup(text, pos)) return text;
    wstring plain = text.substr(0, pos);
    for (; StartsGroup(text, pos); pos += 4) plain.append(text, pos + 1, 3);
    // A run that goes on in other steps was not grouped by formatNumber.
    if (pos + 1 < text.size() && text[pos] == ',' && IsDigit(text[pos + 1])) return text;
    plain.append(text, pos, wstring::npos);
    return plain;
}

std::string formatNumber(std::string text) {
    const char point = std::use_facet<std::numpunct<char>>(std::locale()).decimal_point();
    const auto at = text.find(point);
    Group(text, at);
    return text;
}

}  // namespace quelt
