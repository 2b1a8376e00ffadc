// Text on the painter: strings at a point and laid out in a rectangle, the
// extent in logical units, the metrics cache and shortened file paths. Text
// is 16-bit; cuts fall between whole characters, never inside a surrogate pair.

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "paint/painter_p.h"

namespace quelt {

namespace {

constexpr double kPi = 3.14159265358979323846;
const wchar kEllipsis[] = {'.', '.', '.', 0};
constexpr int kEllipsisLength = 3;
// The sample whose width / 33 estimates an average character.
const char kSample[] = "asdfghjkl;'zxcvbnm,./qwertyuiop[]";

// Units up to the terminator, at most count when count >= 0.
int Resolve(const wchar *text, int count) {
    if (!text) return 0;
    int n = 0;
    while (text[n] && (count < 0 || n < count)) ++n;
    return n;
}

bool IsHigh(wchar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The cut at n moved back so it does not split a surrogate pair.
size_t WholeCut(const wstring &text, size_t n) {
    return n > 0 && n < text.size() && IsHigh(text[n - 1]) && IsLow(text[n]) ? n - 1 : n;
}

// Only right angles are drawn.
int SnapAngle(int angle) {
    int r = angle % 3600;
    if (r < 0) r += 3600;
    if (r <= 450 || r >= 3151) return 0;
    if (r <= 1350) return 900;
    if (r <= 2250) return 1800;
    return 2700;
}

// Upside down, the reading frame's left is the rectangle's right and its top the bottom.
int Mirror(int flags) {
    int mirrored = flags & ~(IPainter::TextLeft | IPainter::TextRight | IPainter::TextCentre |
                             IPainter::TextBottom | IPainter::TextMiddle);
    if (flags & IPainter::TextRight) {
        mirrored |= IPainter::TextLeft;
    } else if (flags & IPainter::TextCentre) {
        mirrored |= IPainter::TextCentre;
    } else {
        mirrored |= IPainter::TextRight;
    }
    if (flags & IPainter::TextMiddle) {
        mirrored |= IPainter::TextMiddle;
    } else if (!(flags & IPainter::TextBottom)) {
        mirrored |= IPainter::TextBottom;
    }
    return mirrored;
}

using Measure = std::function<long long(const wstring &, size_t start, size_t length)>;

// Greedy wrap: the longest prefix ending at a space or the line end that fits, else the first word whole.
void Wrap(const wstring &line, long long width, const Measure &measure, std::vector<wstring> &out) {
    if (line.empty()) {
        out.push_back(line);
        return;
    }
    std::vector<size_t> breaks;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ') breaks.push_back(i);
    }
    breaks.push_back(line.size());
    size_t start = 0, from = 0;
    while (start < line.size()) {
        while (breaks[from] < start) ++from;
        // Prefix widths grow with the break, so the last fitting one is found by halving.
        size_t lo = from, hi = breaks.size();
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (measure(line, start, breaks[mid] - start) <= width) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        const size_t end = lo > from ? breaks[lo - 1] : breaks[from];
        if (end > start) out.push_back(line.substr(start, end - start));
        // The break's space is dropped; a space at the start of a piece is skipped, so every round moves on.
        start = end + 1;
    }
}

}  // namespace

int IPainter::TextWidth(const wchar *text, int count, bool flag) {
    return count > 0 ? internalGetTextExtent(text, nullptr, count, flag).cx : 0;
}

void IPainter::GetFontMetrics(fontmetrics *metrics) {
    MetricsCache *cache = m_metrics.get();
    if (!cache) {
        cache = new MetricsCache;
        m_metrics.reset(cache);
    }
    if (!cache->valid) {
        cache->metrics = fontmetrics();
        internalGetFontMetrics(&cache->metrics);
        cache->valid = true;
    }
    if (metrics) *metrics = cache->metrics;
}

size<double> IPainter::ToLogical(int w, int h) const {
    if (!Transforms()) return {static_cast<double>(w), static_cast<double>(h)};
    point<double> origin(0, 0), corner(w, h);
    UnmapPoint(origin.x, origin.y, true);
    UnmapPoint(corner.x, corner.y, true);
    return {std::fabs(corner.x - origin.x), std::fabs(corner.y - origin.y)};
}

void IPainter::DrawString(double x, double y, const wstring &text, int count) {
    DrawString(x, y, text.c_str(), count < 0 || count > static_cast<int>(text.size()) ? -1 : count);
}

void IPainter::DrawString(double x, double y, const wchar *text, int count) {
    const int n = Resolve(text, count);
    if (n == 0 || !MapForDevice(x, y)) return;
    long long px = ToInt(x), py = ToInt(y);
    const int align = m_textAlign;
    if (align != 0 &&
        (align & (IPainter::TextLeft | IPainter::TextTop)) != (IPainter::TextLeft | IPainter::TextTop)) {
        const size<int> extent = internalGetTextExtent(text, nullptr, n, false);
        const double dy =
            align & IPainter::TextBottom ? extent.cy : (align & IPainter::TextMiddle ? extent.cy / 2 : 0);
        const double dx =
            align & IPainter::TextRight ? extent.cx : (align & IPainter::TextCentre ? extent.cx / 2 : 0);
        const double a = m_textAngle * kPi / 1800;
        px -= std::llround(std::cos(a) * dx + dy * std::sin(a));
        py -= std::llround(std::cos(a) * dy - dx * std::sin(a));
    }
    internalTextOut(Narrow(px), Narrow(py), text, n);
}

size<double> IPainter::DrawString(const rectangle<double> &r, const wstring &text, int flags, int count) {
    return DrawString(r, text.c_str(), flags,
                      count < 0 || count > static_cast<int>(text.size()) ? -1 : count);
}

size<double> IPainter::DrawString(const rectangle<double> &r, const wchar *text, int flags, int count) {
    double x1 = r.left, y1 = r.top, x2 = r.right, y2 = r.bottom;
    prepareRect(x1, y1, x2, y2);
    if (!Finite(x1, y1) || !Finite(x2, y2)) return {};
    const size<int> drawn =
        internalDrawString(rectangle<int>(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2)), text, flags, count);
    return ToLogical(drawn.cx, drawn.cy);
}

size<int> IPainter::internalDrawString(const rectangle<int> &r, const wchar *text, int flags, int count) {
    const int units = Resolve(text, count);
    const wstring all = units > 0 ? wstring(text, text + units) : wstring();
    m_lastText.clear();
    if (all.empty()) return {};
    const int angle = SnapAngle(m_textAngle);
    font previous;
    const bool turned = angle != m_textAngle;
    if (turned) {
        GetFont(previous);
        font upright = previous;
        upright.SetAngle(angle);
        SetFont(upright);
    }
    fontmetrics metrics;
    GetFontMetrics(&metrics);
    const long long lineHeight = metrics.height, spacing = metrics.externalLeading;
    const bool across = angle == 0 || angle == 1800;
    const long long w = static_cast<long long>(r.right) - r.left,
                    h = static_cast<long long>(r.bottom) - r.top;
    // The reading frame: width along the text, height along the line advance.
    const long long frameW = across ? w : h, frameH = across ? h : w;
    if (!(flags & IPainter::TextKeepLines) && frameH < spacing + 2 * lineHeight)
        flags |= IPainter::TextSingleLine;

    const Measure measure = [this](const wstring &s, size_t start, size_t length) -> long long {
        return TextWidth(s.c_str() + start, static_cast<int>(length), false);
    };
    std::vector<wstring> lines;
    if (flags & IPainter::TextSingleLine) {
        if (TextWidth(all.c_str(), static_cast<int>(all.size()), true) > frameW) {
            // Keep the beginning of the text in view.
            if (angle == 0 && (flags & IPainter::TextRight))
                flags = (flags & ~IPainter::TextRight) | IPainter::TextLeft;
            if (angle == 1800 && !(flags & (IPainter::TextRight | IPainter::TextCentre)))
                flags = (flags & ~IPainter::TextLeft) | IPainter::TextRight;
            if (flags & IPainter::TextEllipsis) {
                const long long room = frameW - TextWidth(kEllipsis, kEllipsisLength, true);
                const auto fits = [&](size_t n) { return measure(all, 0, n) <= room; };
                // The whole text does not fit; the longest fitting prefix is found by halving, starting from
                // the estimate an average character width gives.
                size_t lo = 0, hi = all.size() - 1;
                const wstring sample = Utf8ToWide(kSample);
                const double average =
                    TextWidth(sample.c_str(), static_cast<int>(sample.size()), false) * 0.030303030303030304;
                if (average > 0 && room > 0) {
                    const size_t guess = std::min<size_t>(hi, static_cast<size_t>(room / average));
                    if (fits(guess)) {
                        lo = guess;
                        if (guess < hi && !fits(guess + 1)) hi = guess;
                    } else {
                        hi = guess > 0 ? guess - 1 : 0;
                    }
                }
                while (lo < hi) {
                    const size_t mid = (lo + hi + 1) / 2;
                    if (fits(mid)) {
                        lo = mid;
                    } else {
                        hi = mid - 1;
                    }
                }
                lines.push_back(all.substr(0, WholeCut(all, lo)) + kEllipsis);
            }
        }
        if (lines.empty()) lines.push_back(all);
    } else {
        size_t start = 0;
        while (start <= all.size()) {
            const size_t end = std::min(all.find('\n', start), all.size());
            const wstring line = all.substr(start, end - start);
            if (flags & IPainter::TextWordWrap) {
                Wrap(line, frameW, measure, lines);
            } else {
                lines.push_back(line);
            }
            start = end + 1;
        }
        if ((flags & IPainter::TextEllipsis) && lineHeight + spacing > 0) {
            const size_t room =
                static_cast<size_t>(std::max(1LL, (frameH + spacing) / (lineHeight + spacing)));
            if (lines.size() > room) {
                lines.resize(room);
                wstring &last = lines.back();
                last = last.substr(0, WholeCut(last, last.size() > 3 ? last.size() - 3 : 0)) + kEllipsis;
            }
        }
    }

    if (angle == 1800) flags = Mirror(flags);
    const long long n = static_cast<long long>(lines.size());
    const long long blockH = n * lineHeight + (n - 1) * spacing;
    const long long v0 = flags & IPainter::TextBottom
                             ? frameH - blockH
                             : (flags & IPainter::TextMiddle ? (frameH - blockH) / 2 : 0);
    long long widest = 0;
    for (long long i = 0; i < n; ++i) {
        const wstring &line = lines[i];
        const long long lineW = measure(line, 0, line.size());
        widest = std::max(widest, lineW);
        const long long u = flags & IPainter::TextRight
                                ? frameW - lineW
                                : (flags & IPainter::TextCentre ? (frameW - lineW) / 2 : 0);
        const long long v = v0 + i * (lineHeight + spacing);
        long long x = r.left + u, y = r.top + v;
        if (angle == 900) {
            x = r.left + v;
            y = r.bottom - u;
        } else if (angle == 1800) {
            x = r.right - u;
            y = r.bottom - v;
        } else if (angle == 2700) {
            x = r.right - v;
            y = r.top + u;
        }
        if (!line.empty()) internalTextOut(Narrow(x), Narrow(y), line.c_str(), static_cast<int>(line.size()));
        if (i > 0) m_lastText += '\n';
        m_lastText += line;
    }
    if (turned) SetFont(previous);
    return across ? size<int>(Narrow(widest), Narrow(blockH)) : size<int>(Narrow(blockH), Narrow(widest));
}

size<double> IPainter::GetTextSize(const wstring &text, const font *f, int count, bool flag,
                                   bool singleLine) {
    const size_t n = static_cast<size_t>(Resolve(text.c_str(), count));
    if (n == 0) return {};
    long long w = 0, h = 0;
    if (singleLine) {
        const size<int> extent = internalGetTextExtent(text.c_str(), f, static_cast<int>(n), flag);
        w = extent.cx;
        h = extent.cy;
    } else {
        fontmetrics metrics;
        GetFontMetrics(&metrics);
        long long lines = 0;
        for (size_t start = 0; start <= n; ++lines) {
            const size_t end = std::min(text.find('\n', start), n);
            if (end > start) {
                const int length = static_cast<int>(end - start);
                w = std::max<long long>(w, internalGetTextExtent(text.c_str() + start, f, length, false).cx);
            }
            start = end + 1;
        }
        h = (lines - 1) * metrics.externalLeading + lines * metrics.height;
    }
    // Measuring outside a pass still needs a defined mapping.
    if (!IsPainting()) initPainter();
    return ToLogical(Narrow(w), Narrow(h));
}

wstring &IPainter::PrepareFilePath(double width, const wstring &path, wstring &out) {
    const wstring source = path;
    const auto fits = [&](const wstring &candidate) { return GetTextSize(candidate).cx <= width; };
    out = source;
    if (fits(out)) return out;
    const auto isSeparator = [](wchar c) { return c == '\\' || c == '/' || c == ' ' || c == '_'; };
    const auto last = std::find_if(source.rbegin(), source.rend(), isSeparator);
    const size_t tailStart =
        last == source.rend() ? source.size() : source.size() - (last - source.rbegin()) - 1;
    const size_t first = std::find_if(source.begin(), source.end(), isSeparator) - source.begin();
    const size_t headEnd = first < tailStart ? first + 1 : 0;
    const wstring tail = source.substr(tailStart);
    const wstring dots(kEllipsis);
    wstring head = source.substr(0, headEnd);
    wstring kept = tail;
    if (!fits(head + dots + kept)) {
        head.clear();
        if (!fits(dots + kept)) kept.clear();
        if (!fits(dots)) {
            out = dots;
            return out;
        }
    }
    // Put characters of the path back after the head while the result still fits.
    size_t next = head.size();
    while (next < tailStart) {
        const size_t step = IsHigh(source[next]) && next + 1 < tailStart && IsLow(source[next + 1]) ? 2 : 1;
        const wstring longer = head + source.substr(next, step);
        if (!fits(longer + dots + kept)) break;
        head = longer;
        next += step;
    }
    out = head + dots + kept;
    return out;
}

}  // namespace quelt
