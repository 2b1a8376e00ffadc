#include "quelt/core/wstring.h"

#include <algorithm>

namespace quelt {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i], advancing i; malformed, overlong,
// surrogate and out-of-range sequences give U+FFFD and consume one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t &i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        return kReplacement;
    }
    if (text.size() - i < static_cast<std::size_t>(extra)) return kReplacement;
    for (int k = 0; k < extra; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    i += extra;
    return cp;
}

void AppendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

wstring Utf8ToWide(std::string_view text) {
    // A leading ASCII run, most often the whole text, converts unit for unit.
    const auto ascii = std::find_if(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    wstring out(text.begin(), ascii);
    if (ascii == text.end()) return out;
    out.reserve(text.size());
    for (std::size_t i = static_cast<std::size_t>(ascii - text.begin()); i < text.size();) {
        const char32_t cp = DecodeUtf8(text, i);
        if (cp < 0x10000) {
            out += static_cast<wchar>(cp);
        } else {
            out += static_cast<wchar>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<wchar>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string WideToUtf8(const wstring &text) {
    // A leading ASCII run, most often the whole text, converts unit for unit.
    const auto ascii = std::find_if(text.begin(), text.end(), [](wchar c) { return c >= 0x80; });
    std::string out(text.begin(), ascii);
    if (ascii == text.end()) return out;
    out.reserve(text.size());
    for (std::size_t i = static_cast<std::size_t>(ascii - text.begin()); i < text.size(); ++i) {
        const char32_t u = text[i];
        const bool high = u >= 0xD800 && u <= 0xDBFF;
        const bool low = u >= 0xDC00 && u <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[++i] - 0xDC00));
        } else {
            AppendUtf8(out, high || low ? kReplacement : u);
        }
    }
    return out;
}

}  // namespace quelt
