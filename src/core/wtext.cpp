#include <langinfo.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

#include "core/wtext_p.h"

namespace quelt::wrt {
namespace {

int Sign(int d) { return (d > 0) - (d < 0); }

template <class Fold>
int Compare(const wchar *a, const wchar *b, Fold fold) {
    static const wchar kEmpty = 0;
    if (a == nullptr) a = &kEmpty;
    if (b == nullptr) b = &kEmpty;
    for (;; ++a, ++b) {
        const int d = static_cast<int>(fold(*a)) - static_cast<int>(fold(*b));
        if (d != 0 || *a == 0) return Sign(d);
    }
}

// The C library speaks the locale's multibyte encoding; UTF-8 (and the plain
// ASCII of the "C" locale, which passes other bytes through) map directly.
bool LocaleIsUtf8() {
    const char *codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "ANSI_X3.4-1968") == 0;
}

void AppendCodePoint(char32_t cp, wstring &out) {
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        out += static_cast<wchar>(0xD800 + (cp >> 10));
        out += static_cast<wchar>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar>(cp > 0xFFFF ? 0xFFFD : cp);
    }
}

std::string ToLocale(const wstring &text) {
    if (LocaleIsUtf8()) return WideToUtf8(text);
    std::string out;
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (const wchar c : text) {
        const std::size_t n = std::wcrtomb(bytes, static_cast<wchar_t>(c), &state);
        if (n == static_cast<std::size_t>(-1)) {
            out += '?';
            state = std::mbstate_t{};
        } else {
            out.append(bytes, n);
        }
    }
    return out;
}

wstring FromLocale(std::string_view text) {
    if (LocaleIsUtf8()) return Utf8ToWide(text);
    wstring out;
    std::mbstate_t state{};
    for (std::size_t i = 0; i < text.size();) {
        wchar_t c = 0;
        const std::size_t n = std::mbrtowc(&c, text.data() + i, text.size() - i, &state);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2) || n == 0) {
            out += static_cast<wchar>(0xFFFD);
            state = std::mbstate_t{};
            ++i;
            continue;
        }
        AppendCodePoint(static_cast<char32_t>(c), out);
        i += n;
    }
    return out;
}

// "%c" is the date and the time in the locale's short forms; a lone trailing
// '%' stays a literal.
wstring ExpandTimeFormat(const wchar *f) {
    wstring out;
    // Room for the format and strftime's marker, unless "%c" lengthens it.
    out.reserve(wchar_traits::length(f) + 1);
    for (; *f != 0; ++f) {
        if (*f != '%') {
            out += *f;
        } else if (f[1] == 0) {
            out += u"%%"_w;
        } else if (f[1] == 'c') {
            out += u"%x %X"_w;
            ++f;
        } else {
            out += *f;
            out += *++f;
        }
    }
    return out;
}

}  // namespace

std::size_t wcslen(const wchar *s) { return s == nullptr ? 0 : wchar_traits::length(s); }

int wcscmp(const wchar *a, const wchar *b) {
    return Compare(a, b, [](wchar c) { return c; });
}

int wcsicmp(const wchar *a, const wchar *b) { return Compare(a, b, FoldAscii); }

wstring strftime(const wchar *format, const std::tm *t) {
    if (format == nullptr || t == nullptr) return {};
    // The trailing marker tells an empty result from one that did not fit.
    wstring expanded = ExpandTimeFormat(format);
    expanded += '|';
    const std::string narrow = ToLocale(expanded);
    // Dates format from short formats, mostly into the stack.
    char local[512];
    const std::size_t first = 256 + narrow.size() * 8;
    if (first <= sizeof local) {
        const std::size_t n = std::strftime(local, sizeof local, narrow.c_str(), t);
        if (n != 0) return FromLocale(std::string_view(local, n - 1));
    }
    for (std::size_t size = std::max(first, 2 * sizeof local); size <= (std::size_t{1} << 26); size *= 2) {
        std::string buf(size, '\0');
        const std::size_t n = std::strftime(buf.data(), size, narrow.c_str(), t);
        if (n != 0) return FromLocale(std::string_view(buf.data(), n - 1));
    }
    return {};
}

std::size_t wcsftime(wchar *buf, std::size_t max, const wchar *format, const std::tm *t) {
    if (buf == nullptr || max == 0) return 0;
    const wstring text = strftime(format, t);
    if (text.size() >= max) {
        buf[0] = 0;
        return 0;
    }
    text.copy(buf, text.size());
    buf[text.size()] = 0;
    return text.size();
}

}  // namespace quelt::wrt
