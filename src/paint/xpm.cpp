#include "quelt/paint/xpm.h"

#include <algorithm>
#include <cstring>

#include "quelt/paint/palette.h"

namespace quelt {

namespace {

// Bounds that keep every image's work and memory proportional to its text.
constexpr long long kMaxSide = 32767;
constexpr long long kMaxPixels = 1LL << 24;
constexpr long long kMaxColors = 1LL << 20;
constexpr long long kMaxCharsPerPixel = 4;
// Digits past this stop adding, so no count overflows while it is read.
constexpr long long kCountCeiling = 1LL << 40;

struct Header {
    int width = 0;
    int height = 0;
    int colors = 0;
    int cpp = 0;

    long long LineCount() const { return 1LL + colors + height; }
    std::size_t RowLength() const { return static_cast<std::size_t>(width) * static_cast<std::size_t>(cpp); }
    bool operator==(const Header &o) const {
        return width == o.width && height == o.height && colors == o.colors && cpp == o.cpp;
    }
};

struct ColorLine {
    unsigned int key = 0;
    bool transparent = true;
    _color color;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char *SkipBlanks(const char *p) {
    while (IsBlank(*p)) ++p;
    return p;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One decimal integer after optional blanks, with an optional sign.
bool ReadCount(const char *&p, long long &value) {
    p = SkipBlanks(p);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (!IsDigit(*p)) return false;
    long long n = 0;
    for (; IsDigit(*p); ++p) n = std::min(n * 10 + (*p - '0'), kCountCeiling);
    value = negative ? -n : n;
    return true;
}

bool ParseHeader(const char *line, Header &header) {
    long long v[4];
    for (long long &x : v) {
        if (!ReadCount(line, x)) return false;
    }
    const long long width = v[0], height = v[1], colors = v[2], cpp = v[3];
    if (width < 0 || width > kMaxSide || height < 0 || height > kMaxSide || width * height > kMaxPixels) {
        return false;
    }
    if (colors < 0 || colors > kMaxColors || cpp < 1 || cpp > kMaxCharsPerPixel) return false;
    header = {static_cast<int>(width), static_cast<int>(height), static_cast<int>(colors),
              static_cast<int>(cpp)};
    return true;
}

// A fixed two-character field: "hh" or " h".
bool ReadHexField(const char *p, int &value) {
    const int high = p[0] == ' ' ? 0 : HexValue(p[0]);
    if (high < 0) return false;
    const int low = HexValue(p[1]);
    if (low < 0) return false;
    value = high * 16 + low;
    return true;
}

bool IsHexRun(const char *p, int n) {
    for (int i = 0; i < n; ++i) {
        if (HexValue(p[i]) < 0) return false;
    }
    return true;
}

// Blanks, 'c', blanks, '#' and either three fields or twelve digits, of which
// each group of four keeps its high byte.
bool ReadColor(const char *p, _color &color) {
    p = SkipBlanks(p);
    if (*p != 'c') return false;
    p = SkipBlanks(p + 1);
    if (*p != '#') return false;
    ++p;
    int rgb[3];
    const bool wide = IsHexRun(p, 12);
    for (int i = 0; i < 3; ++i) {
        if (!ReadHexField(p + (wide ? 4 : 2) * i, rgb[i])) return false;
    }
    color = _color(static_cast<unsigned char>(rgb[0]), static_cast<unsigned char>(rgb[1]),
                   static_cast<unsigned char>(rgb[2]), 255);
    return true;
}

unsigned int PackKey(const char *p, int cpp) {
    unsigned int key = 0;
    for (int i = 0; i < cpp; ++i) key = key << 8 | static_cast<unsigned char>(p[i]);
    return key;
}

// The caller has checked that the line holds at least cpp characters.
ColorLine ParseColorLine(const char *line, int cpp) {
    ColorLine entry;
    entry.key = PackKey(line, cpp);
    entry.transparent = !ReadColor(line + cpp, entry.color);
    return entry;
}

// The header of text that forms an image: it parses within bounds, every line
// it announces is present and every colour line holds its key.
bool ReadText(const char *const *lines, Header &header) {
    if (!lines || !lines[0] || !ParseHeader(lines[0], header)) return false;
    const long long count = header.LineCount();
    for (long long i = 1; i < count; ++i) {
        if (!lines[i]) return false;
        if (i <= header.colors && strnlen(lines[i], header.cpp) < static_cast<std::size_t>(header.cpp))
            return false;
    }
    return true;
}

constexpr char kHexDigits[] = "0123456789abcdef";

// Two hexadecimal digits, the high one replaced by pad when it is 0.
void AppendHex(std::string &s, unsigned int v, char pad) {
    s += v >= 16 ? kHexDigits[v >> 4 & 15] : pad;
    s += kHexDigits[v & 15];
}

std::string ColorLineText(const std::string &key, _color c, char pad) {
    std::string line = key + " c #";
    AppendHex(line, c.GetRed(), pad);
    AppendHex(line, c.GetGreen(), pad);
    AppendHex(line, c.GetBlue(), pad);
    return line;
}

// Integer gray, a fifth lighter than the luminance.
unsigned char GrayOf(_color c) {
    const int g = (30 * c.GetRed() + 59 * c.GetGreen() + 11 * c.GetBlue()) * 12 / 1000;
    return static_cast<unsigned char>(std::min(g, 255));
}

}  // namespace

struct XPMBuf::Text {
    std::vector<std::string> strings;
    // The strings' characters, then a null pointer.
    std::vector<const char *> lines;
};

XPMBuf XPMBuf::Own(std::vector<std::string> lines) {
    auto text = std::make_shared<Text>();
    text->strings = std::move(lines);
    text->lines.reserve(text->strings.size() + 1);
    for (const std::string &s : text->strings) text->lines.push_back(s.c_str());
    text->lines.push_back(nullptr);
    XPMBuf buf;
    buf.m_lines = text->lines.data();
    buf.m_text = std::move(text);
    return buf;
}

XPMBuf::XPMBuf() = default;

XPMBuf::XPMBuf(const char **lines, bool copy) : m_lines(lines) {
    if (!copy || !lines) return;
    Header header;
    const long long count = lines[0] && ParseHeader(lines[0], header) ? header.LineCount() : 1;
    std::vector<std::string> strings;
    for (long long i = 0; i < count && lines[i]; ++i) strings.emplace_back(lines[i]);
    *this = Own(std::move(strings));
}

XPMBuf::XPMBuf(const XPMBuf &other) = default;
XPMBuf &XPMBuf::operator=(const XPMBuf &other) = default;
XPMBuf::~XPMBuf() = default;

bool XPMBuf::operator==(const XPMBuf &other) const {
    Header a, b;
    const bool valid = ReadText(m_lines, a);
    if (valid != ReadText(other.m_lines, b)) return false;
    if (!valid) return true;
    if (!(a == b)) return false;
    for (int i = 1; i <= a.colors; ++i) {
        const ColorLine x = ParseColorLine(m_lines[i], a.cpp);
        const ColorLine y = ParseColorLine(other.m_lines[i], a.cpp);
        if (x.key != y.key || x.transparent != y.transparent) return false;
        if (!x.transparent && x.color != y.color) return false;
    }
    for (long long i = 1 + a.colors; i < a.LineCount(); ++i) {
        if (std::strncmp(m_lines[i], other.m_lines[i], a.RowLength()) != 0) return false;
    }
    return true;
}

XPMImage::XPMImage() = default;

XPMImage::XPMImage(const char **lines, bool copy) : m_buf(lines, copy) { InitCmap(); }

XPMImage::XPMImage(const XPMBuf &buf) : m_buf(buf) { InitCmap(); }

bool XPMImage::InitCmap() {
    m_cmap.clear();
    m_transparent.clear();
    m_rowPixels.clear();
    m_width = m_height = m_colors = m_cpp = 0;
    Header header;
    const char **lines = GetXpm();
    if (!ReadText(lines, header)) return false;

    std::vector<ColorLine> entries;
    entries.reserve(header.colors);
    for (int i = 1; i <= header.colors; ++i) entries.push_back(ParseColorLine(lines[i], header.cpp));
    // A key's first definition wins.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ColorLine &a, const ColorLine &b) { return a.key < b.key; });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const ColorLine &a, const ColorLine &b) { return a.key == b.key; }),
                  entries.end());
    for (const ColorLine &e : entries) {
        if (e.transparent) {
            m_transparent.push_back(e.key);
        } else {
            m_cmap.emplace_back(e.key, e.color);
        }
    }

    m_rowPixels.reserve(header.height);
    for (int r = 0; r < header.height; ++r) {
        const std::size_t length = strnlen(lines[1 + header.colors + r], header.RowLength());
        m_rowPixels.push_back(static_cast<int>(length / header.cpp));
    }
    m_width = header.width;
    m_height = header.height;
    m_colors = header.colors;
    m_cpp = header.cpp;
    return true;
}

bool XPMImage::PixelKey(int row, int column, unsigned int &key) const {
    if (row < 0 || row >= m_height || column < 0 || column >= m_rowPixels[row]) return false;
    key = PackKey(GetXpm()[1 + m_colors + row] + static_cast<std::size_t>(column) * m_cpp, m_cpp);
    return true;
}

void XPMImage::GetCtable(xpmcolortable *table, int &count) const {
    if (!table || count < m_colors) {
        count = m_colors;
        return;
    }
    const char **lines = GetXpm();
    for (int i = 0; i < m_colors; ++i) {
        const ColorLine entry = ParseColorLine(lines[1 + i], m_cpp);
        xpmcolortable &out = table[i];
        out.key = static_cast<unsigned char>(lines[1 + i][m_cpp - 1]);
        out.transparent = entry.transparent;
        out.color = entry.transparent ? 0u : 0xFF000000u | entry.color.GetRGBA();
    }
    count = m_colors;
}

bool XPMImage::GetPixel(int row, int column, unsigned long &color, unsigned long *mask,
                        unsigned long transparentColor) const {
    unsigned int key;
    if (!PixelKey(row, column, key)) return false;
    if (std::binary_search(m_transparent.begin(), m_transparent.end(), key)) {
        color = transparentColor;
        if (mask) *mask = 0xFFFFFF;
        return true;
    }
    const auto it = std::lower_bound(
        m_cmap.begin(), m_cmap.end(), key,
        [](const std::pair<unsigned int, _color> &e, unsigned int k) { return e.first < k; });
    if (it == m_cmap.end() || it->first != key) return false;
    color = it->second.GetRGBA() & 0xFFFFFFu;
    if (mask) *mask = 0;
    return true;
}

XPMBuf XPMImage::GetGrayed() const {
    if (!IsValid()) return XPMBuf();
    const char **lines = GetXpm();
    const long long count = 1LL + m_colors + m_height;
    std::vector<std::string> strings(lines, lines + count);
    for (int i = 1; i <= m_colors; ++i) {
        const ColorLine entry = ParseColorLine(lines[i], m_cpp);
        if (entry.transparent) continue;
        const unsigned char g = GrayOf(entry.color);
        strings[i] = ColorLineText(std::string(lines[i], m_cpp), _color(g, g, g, 255), '0');
    }
    return XPMBuf::Own(std::move(strings));
}

XPMBuf XPMImage::GetDisabled(ICustomPalette *palette) const {
    if (!IsValid()) return XPMBuf();
    ICustomPalette *source = palette ? palette : GetDefaultPalette();
    const _color light = source->GetColor(RoleLight);
    const _color shadow = source->GetColor(RoleShadow);

    std::vector<std::string> strings;
    strings.reserve(4 + m_height);
    strings.push_back(std::to_string(m_width) + " " + std::to_string(m_height) + " 3 1");
    strings.push_back(". c None");
    strings.push_back(ColorLineText("a", light, ' '));
    strings.push_back(ColorLineText("b", shadow, ' '));

    // A pixel is dark when it has a colour and every channel is below 130.
    const auto isDark = [this](int row, int column) {
        unsigned long color, mask;
        if (!GetPixel(row, column, color, &mask, 0) || mask != 0) return false;
        return (color & 0xFF) < 130 && (color >> 8 & 0xFF) < 130 && (color >> 16 & 0xFF) < 130;
    };
    std::vector<char> above(m_width, 0), current(m_width, 0);
    for (int r = 0; r < m_height; ++r) {
        std::string row(m_width, '.');
        for (int c = 0; c < m_width; ++c) {
            current[c] = isDark(r, c);
            if (current[c]) {
                row[c] = 'b';
            } else if (c > 0 && above[c - 1]) {
                row[c] = 'a';
            }
        }
        strings.push_back(std::move(row));
        std::swap(above, current);
    }
    return XPMBuf::Own(std::move(strings));
}

}  // namespace quelt
