#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/wtext_p.h"

namespace quelt::wrt {
namespace {

// One conversion as written: flags, width, precision, size.
struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    bool int64 = false;
    bool isLong = false;
    char conv = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ReadNumber(const char *&f) {
    long long n = 0;
    while (IsDigit(*f)) n = std::min<long long>(n * 10 + (*f++ - '0'), INT_MAX);
    return static_cast<int>(n);
}

// Formats printf conversions into 16-bit text; its own copy of the arguments
// lets every member function take the next one.
class Printer {
  public:
    explicit Printer(va_list args) { va_copy(args_, args); }
    ~Printer() { va_end(args_); }
    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;

    // False when the C library refuses a conversion (a result beyond INT_MAX).
    bool Run(const char *f, wstring &out);

  private:
    Directive ReadDirective(const char *&f);
    bool Number(const Directive &dir, wstring &out);
    void Text(const Directive &dir, const wchar *s, std::size_t len, wstring &out);

    va_list args_;
};

Directive Printer::ReadDirective(const char *&f) {
    Directive dir;
    while (*f != 0 && std::strchr("-0+ #", *f) != nullptr) dir.flags += *f++;
    if (*f == '*') {
        ++f;
        const int w = va_arg(args_, int);
        if (w < 0) dir.flags += '-';
        dir.width = w < 0 ? (w == INT_MIN ? INT_MAX : -w) : w;
    } else if (IsDigit(*f)) {
        dir.width = ReadNumber(f);
    }
    if (*f == '.') {
        ++f;
        if (*f == '*') {
            ++f;
            const int p = va_arg(args_, int);
            dir.precision = p < 0 ? -1 : p;
        } else {
            dir.precision = ReadNumber(f);
        }
    }
    if (std::strncmp(f, "I64", 3) == 0) {
        dir.int64 = true;
        f += 3;
    } else if (*f == 'l') {
        dir.isLong = true;
        ++f;
    }
    dir.conv = *f;
    if (*f != 0) ++f;
    return dir;
}

// Builds the narrow conversion and lets the C library format the number,
// so the locale's decimal point applies.
bool Printer::Number(const Directive &dir, wstring &out) {
    std::string narrow = "%" + dir.flags;
    if (dir.width >= 0) narrow += std::to_string(dir.width);
    if (dir.precision >= 0) narrow += "." + std::to_string(dir.precision);
    const bool floating = std::strchr("eEfFgG", dir.conv) != nullptr;
    const bool isSigned = dir.conv == 'd' || dir.conv == 'i';
    if (!floating) narrow += dir.int64 ? "ll" : (dir.isLong ? "l" : "");
    narrow += dir.conv;
    auto print = [&](auto value) {
        const int n = std::snprintf(nullptr, 0, narrow.c_str(), value);
        if (n < 0) return false;
        std::string text(static_cast<std::size_t>(n) + 1, '\0');
        std::snprintf(text.data(), text.size(), narrow.c_str(), value);
        text.pop_back();
        out += Utf8ToWide(text);
        return true;
    };
    if (floating) {
        const double v = va_arg(args_, double);
        // The sign of a NaN carries no meaning; always "nan".
        return print(std::isnan(v) ? std::fabs(v) : v);
    }
    if (dir.int64) {
        const auto v = static_cast<long long>(va_arg(args_, int64));
        return isSigned ? print(v) : print(static_cast<unsigned long long>(v));
    }
    if (dir.isLong) {
        const auto v = va_arg(args_, long);
        return isSigned ? print(v) : print(static_cast<unsigned long>(v));
    }
    const int v = va_arg(args_, int);
    return isSigned ? print(v) : print(static_cast<unsigned>(v));
}

void Printer::Text(const Directive &dir, const wchar *s, std::size_t len, wstring &out) {
    if (dir.precision >= 0) len = std::min(len, static_cast<std::size_t>(dir.precision));
    const std::size_t width = dir.width > 0 ? static_cast<std::size_t>(dir.width) : 0;
    const std::size_t pad = width > len ? width - len : 0;
    const bool left = dir.flags.find('-') != std::string::npos;
    if (!left) out.append(pad, ' ');
    out.append(s, len);
    if (left) out.append(pad, ' ');
}

bool Printer::Run(const char *f, wstring &out) {
    static const wchar kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    while (*f != 0) {
        const char *literal = f;
        while (*f != 0 && *f != '%') ++f;
        out += Utf8ToWide(std::string_view(literal, static_cast<std::size_t>(f - literal)));
        if (*f == 0) break;
        const char *start = f++;
        const Directive dir = ReadDirective(f);
        if (dir.conv == '%') {
            out += '%';
        } else if (dir.conv == 's') {
            const wchar *s = va_arg(args_, const wchar *);
            if (s == nullptr) s = kNull;
            Text(dir, s, wcslen(s), out);
        } else if (dir.conv == 'c') {
            const auto c = static_cast<wchar>(va_arg(args_, int));
            Text(dir, &c, 1, out);
        } else if (dir.conv != 0 && std::strchr("diouxXeEfFgG", dir.conv) != nullptr) {
            if (!Number(dir, out)) return false;
        } else {
            // Unknown conversions are copied as written.
            out += Utf8ToWide(std::string_view(start, static_cast<std::size_t>(f - start)));
        }
    }
    return true;
}

bool Print(const char *format, va_list args, wstring &out) {
    if (format == nullptr) return true;
    Printer printer(args);
    return printer.Run(format, out);
}

}  // namespace

int snwprintf(wchar *buf, std::size_t count, const char *format, ...) {
    va_list args;
    va_start(args, format);
    const int r = vsnwprintf(buf, count, format, args);
    va_end(args);
    return r;
}

int vsnwprintf(wchar *buf, std::size_t count, const char *format, va_list args) {
    wstring text;
    if (!Print(format, args, text)) return -1;
    const std::size_t len = text.size();
    if (len > static_cast<std::size_t>(INT_MAX)) return -1;
    // A null buffer of size 0 asks for the length, as the C runtime allows.
    if (buf == nullptr) return count == 0 ? static_cast<int>(len) : -1;
    text.copy(buf, std::min(len, count));
    if (len < count) buf[len] = 0;
    if (len > count) return -1;
    return static_cast<int>(len);
}

wstring format(const char *format, ...) {
    va_list args;
    va_start(args, format);
    wstring r = vformat(format, args);
    va_end(args);
    return r;
}

wstring vformat(const char *format, va_list args) {
    wstring text;
    Print(format, args, text);
    return text;
}

}  // namespace quelt::wrt
