#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/numeric_p.h"
#include "core/wtext_p.h"

namespace quelt::wrt {
namespace {

constexpr int kEof = -1;

bool IsSpace(wchar c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const wchar *SkipSpace(const wchar *s) {
    while (IsSpace(*s)) ++s;
    return s;
}

int DigitValue(wchar c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// An integer as written: sign and magnitude, the magnitude saturated at 2^64-1
// so that every narrower result can saturate from it.
struct Integer {
    bool ok = false;
    bool negative = false;
    std::uint64_t magnitude = 0;
    const wchar *end = nullptr;
};

// Reads sign, base prefix (base 0: 0x or leading 0; base 16: optional 0x) and
// digits at s. Without a digit nothing is consumed; "0x" without a hex digit
// reads as the 0 alone, as strtol does.
Integer ParseInteger(const wchar *s, int base) {
    Integer r;
    r.end = s;
    const wchar *p = s;
    if (*p == '+' || *p == '-') r.negative = *p++ == '-';
    const bool hexPrefix = p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16;
    if ((base == 0 || base == 16) && hexPrefix) {
        base = 16;
        p += 2;
    } else if (base == 0) {
        base = p[0] == '0' ? 8 : 10;
    }
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    const wchar *digits = p;
    for (int d = DigitValue(*p); d < base; d = DigitValue(*++p)) {
        const auto b = static_cast<std::uint64_t>(base);
        r.magnitude = r.magnitude > (kMax - d) / b ? kMax : r.magnitude * b + d;
    }
    if (p == digits) return r;
    r.ok = true;
    r.end = p;
    return r;
}

std::int64_t SignedValue(const Integer &n) {
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!n.negative) return n.magnitude > kMax ? static_cast<std::int64_t>(kMax) : n.magnitude;
    if (n.magnitude > kMax) return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(n.magnitude);
}

// Hex conversions keep the bit pattern of a negated value, as strtoul does,
// and saturate at the all-ones pattern beyond the target's width.
std::uint64_t PatternValue(const Integer &n, std::uint64_t allOnes) {
    if (n.magnitude > allOnes) return allOnes;
    return n.negative ? (0 - n.magnitude) & allOnes : n.magnitude;
}

bool StartsWith(const wchar *s, const wstring &prefix) {
    if (prefix.empty()) return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        if (s[k] != prefix[k]) return false;
    }
    return true;
}

bool IsNumberChar(wchar c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '+' ||
           c == '-' || c == '.' || c == '(' || c == ')' || c == '_';
}

// strtod on a narrow copy of the characters that can belong to a number, so
// the C locale's decimal point (possibly multibyte) applies as in the C runtime.
double ParseDouble(const wchar *s, const wchar **end) {
    const std::string point = std::localeconv()->decimal_point;
    const wstring widePoint = Utf8ToWide(point);
    std::string narrow;
    std::vector<std::size_t> wideAt;  // wide offset of every narrow byte
    std::size_t i = 0;
    while (s[i] != 0) {
        if (StartsWith(s + i, widePoint)) {
            narrow += point;
            wideAt.insert(wideAt.end(), point.size(), i);
            i += widePoint.size();
            continue;
        }
        if (!IsSpace(s[i]) && !IsNumberChar(s[i])) break;
        narrow += static_cast<char>(s[i]);
        wideAt.push_back(i++);
    }
    wideAt.push_back(i);
    char *stop = nullptr;
    const double value = std::strtod(narrow.c_str(), &stop);
    *end = s + wideAt[static_cast<std::size_t>(stop - narrow.c_str())];
    return value;
}

// A double out of float range becomes the infinity it rounds to rather than
// undefined behaviour.
float ToFloat(double v) {
    if (std::isfinite(v) && std::fabs(v) > FLT_MAX) return v > 0 ? HUGE_VALF : -HUGE_VALF;
    return static_cast<float>(v);
}

// One scan in progress; its own copy of the arguments lets every member
// function take the next one.
class Scanner {
  public:
    Scanner(const wchar *input, va_list args) : in_(input) { va_copy(args_, args); }
    ~Scanner() { va_end(args_); }
    Scanner(const Scanner &) = delete;
    Scanner &operator=(const Scanner &) = delete;

    int Run(const char *f);

  private:
    enum class Step { kNext, kMatchFailure, kInputFailure };

    Step Conversion(const char *&f);
    Step Integral(char conv, bool wide);
    Step Floating(bool isDouble);

    const wchar *in_;
    va_list args_;
    int assigned_ = 0;
};

int Scanner::Run(const char *f) {
    while (*f != 0) {
        const auto c = static_cast<unsigned char>(*f);
        Step step = Step::kNext;
        if (IsSpace(c)) {
            in_ = SkipSpace(in_);
            ++f;
        } else if (c != '%' || f[1] == '%') {
            if (c == '%') in_ = SkipSpace(in_), ++f;
            if (*in_ == 0) {
                step = Step::kInputFailure;
            } else if (*in_ != c) {
                step = Step::kMatchFailure;
            } else {
                ++in_, ++f;
            }
        } else {
            ++f;
            step = Conversion(f);
        }
        if (step == Step::kInputFailure) return assigned_ == 0 ? kEof : assigned_;
        if (step == Step::kMatchFailure) break;
    }
    return assigned_;
}

Scanner::Step Scanner::Conversion(const char *&f) {
    bool wide = false;
    bool isLong = false;
    if (std::strncmp(f, "I64", 3) == 0) {
        wide = true;
        f += 3;
    } else if (*f == 'l') {
        isLong = true;
        ++f;
    }
    const char conv = *f;
    if (conv == 0) return Step::kMatchFailure;
    ++f;
    if (conv == 'c' && !wide && !isLong) {
        if (*in_ == 0) return Step::kInputFailure;
        *va_arg(args_, wchar *) = *in_++;
        ++assigned_;
        return Step::kNext;
    }
    in_ = SkipSpace(in_);
    if (*in_ == 0) return Step::kInputFailure;
    switch (conv) {
        case 'd':
        case 'i':
        case 'x':
        case 'X':
            return isLong ? Step::kMatchFailure : Integral(conv, wide);
        case 'e':
        case 'f':
        case 'g':
            return wide ? Step::kMatchFailure : Floating(isLong);
        default:
            return Step::kMatchFailure;
    }
}

Scanner::Step Scanner::Integral(char conv, bool wide) {
    const int base = conv == 'd' ? 10 : (conv == 'i' ? 0 : 16);
    const Integer n = ParseInteger(in_, base);
    if (!n.ok) return Step::kMatchFailure;
    in_ = n.end;
    const bool hex = base == 16;
    if (wide) {
        *va_arg(args_, int64 *) =
            hex ? static_cast<int64>(PatternValue(n, ~std::uint64_t{0})) : SignedValue(n);
    } else {
        *va_arg(args_, int *) =
            hex ? static_cast<int>(static_cast<std::uint32_t>(PatternValue(n, 0xFFFFFFFFu)))
                : SaturatingNarrow<int>(SignedValue(n));
    }
    ++assigned_;
    return Step::kNext;
}

Scanner::Step Scanner::Floating(bool isDouble) {
    const wchar *end = nullptr;
    const double v = ParseDouble(in_, &end);
    if (end == in_) return Step::kMatchFailure;
    in_ = end;
    if (isDouble) {
        *va_arg(args_, double *) = v;
    } else {
        *va_arg(args_, float *) = ToFloat(v);
    }
    ++assigned_;
    return Step::kNext;
}

}  // namespace

long wcstol(const wchar *s, wchar **end, int base) {
    static const wchar kEmpty = 0;
    if (s == nullptr) s = &kEmpty;
    const bool validBase = base == 0 || (base >= 2 && base <= 36);
    const Integer n = validBase ? ParseInteger(SkipSpace(s), base) : Integer{};
    if (end != nullptr) *end = const_cast<wchar *>(n.ok ? n.end : s);
    if (!validBase) errno = EINVAL;
    if (!n.ok) return 0;
    const std::int64_t v = SignedValue(n);
    const auto r = SaturatingNarrow<std::int32_t>(v);
    if (r != v) errno = ERANGE;
    return r;
}

double wcstod(const wchar *s, wchar **end) {
    static const wchar kEmpty = 0;
    if (s == nullptr) s = &kEmpty;
    const wchar *stop = nullptr;
    const double v = ParseDouble(s, &stop);
    if (end != nullptr) *end = const_cast<wchar *>(stop);
    return v;
}

int swscanf(const wchar *input, const char *format, ...) {
    va_list args;
    va_start(args, format);
    const int r = vswscanf(input, format, args);
    va_end(args);
    return r;
}

int vswscanf(const wchar *input, const char *format, va_list args) {
    if (input == nullptr || *input == 0) return kEof;
    if (format == nullptr) return 0;
    Scanner scanner(input, args);
    return scanner.Run(format);
}

}  // namespace quelt::wrt
