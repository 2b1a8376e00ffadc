#pragma once

#include <cstddef>
#include <cstring>
#include <ios>
#include <string>
#include <string_view>

#include "quelt/core/config.h"

namespace quelt {

// Character traits for 16-bit text, our own so that the string type does not
// depend on the standard library providing traits for unsigned short.
struct wchar_traits {
    using char_type = wchar;
    using int_type = std::uint32_t;
    using off_type = std::streamoff;
    using pos_type = std::streampos;
    using state_type = std::mbstate_t;

    static constexpr void assign(char_type &r, const char_type &a) noexcept { r = a; }
    static constexpr bool eq(char_type a, char_type b) noexcept { return a == b; }
    static constexpr bool lt(char_type a, char_type b) noexcept { return a < b; }

    static constexpr int compare(const char_type *a, const char_type *b, std::size_t n) noexcept {
        for (std::size_t i = 0; i < n; ++i) {
            if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
        }
        return 0;
    }
    static constexpr std::size_t length(const char_type *s) noexcept {
        std::size_t n = 0;
        while (s[n] != 0) ++n;
        return n;
    }
    static constexpr const char_type *find(const char_type *s, std::size_t n, const char_type &c) noexcept {
        for (std::size_t i = 0; i < n; ++i) {
            if (s[i] == c) return s + i;
        }
        return nullptr;
    }
    static char_type *move(char_type *dst, const char_type *src, std::size_t n) noexcept {
        if (n != 0) std::memmove(dst, src, n * sizeof(char_type));
        return dst;
    }
    static char_type *copy(char_type *dst, const char_type *src, std::size_t n) noexcept {
        if (n != 0) std::memcpy(dst, src, n * sizeof(char_type));
        return dst;
    }
    static char_type *assign(char_type *dst, std::size_t n, char_type c) noexcept {
        for (std::size_t i = 0; i < n; ++i) dst[i] = c;
        return dst;
    }
    static constexpr char_type to_char_type(int_type c) noexcept { return static_cast<char_type>(c); }
    static constexpr int_type to_int_type(char_type c) noexcept { return c; }
    static constexpr bool eq_int_type(int_type a, int_type b) noexcept { return a == b; }
    static constexpr int_type eof() noexcept { return 0xFFFFFFFFu; }
    static constexpr int_type not_eof(int_type c) noexcept { return c == eof() ? 0 : c; }
};

using wstring = std::basic_string<wchar, wchar_traits>;
using wstring_view = std::basic_string_view<wchar, wchar_traits>;

// UTF-8 <-> UTF-16 with surrogate pairs; malformed input becomes U+FFFD.
QUELT_API wstring Utf8ToWide(std::string_view text);
QUELT_API std::string WideToUtf8(const wstring &text);

inline namespace literals {
// u"text"_w gives a quelt::wstring; char16_t literals hold the same UTF-16 units.
inline wstring operator""_w(const char16_t *s, std::size_t n) {
    wstring r(n, 0);
    for (std::size_t i = 0; i < n; ++i) r[i] = static_cast<wchar>(s[i]);
    return r;
}
}  // namespace literals

}  // namespace quelt
