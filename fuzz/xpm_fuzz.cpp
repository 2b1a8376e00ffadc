// Reads arbitrary bytes as XPM text (one line per '\n', a null pointer after
// the last), borrowed and deep-copied, and asks the pixels of both. The gray
// and the disabled variants the library writes must read back through the
// same reader with the same keys, the gray levels and the emboss colours.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "quelt/paint/palette.h"
#include "quelt/paint/xpm.h"

namespace {

using quelt::_color;
using quelt::XPMImage;

void Expect(bool condition) {
    if (!condition) std::abort();
}

struct Pixel {
    bool known = false;
    unsigned long color = 0;
    unsigned long mask = 0;

    bool operator==(const Pixel &o) const { return known == o.known && color == o.color && mask == o.mask; }
    bool Transparent() const { return known && mask == 0xFFFFFF; }
    bool Colored() const { return known && mask == 0; }
    unsigned Channel(int shift) const { return static_cast<unsigned>(color >> shift & 0xFF); }
};

Pixel At(const XPMImage &image, int row, int column) {
    Pixel p;
    p.known = image.GetPixel(row, column, p.color, &p.mask, 0xABCDEF);
    if (p.known) Expect(p.mask == 0 || (p.mask == 0xFFFFFF && p.color == 0xABCDEF));
    return p;
}

unsigned long Rgb(_color c) { return c.GetRGBA() & 0xFFFFFFu; }

bool Dark(const Pixel &p) {
    return p.Colored() && p.Channel(0) < 130 && p.Channel(8) < 130 && p.Channel(16) < 130;
}

// Columns worth asking in a row: every one its text can hold and one more,
// then the image's last column and one past it. The others answer as the one
// past the text does; asking them all would make a run quadratic.
std::vector<int> Columns(const char *rowText, int width) {
    const int held = static_cast<int>(std::min<std::size_t>(std::strlen(rowText), width));
    std::vector<int> columns;
    for (int c = -1; c <= held; ++c) columns.push_back(c);
    columns.push_back(width - 1);
    columns.push_back(width);
    return columns;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::vector<std::string> text(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            text.emplace_back();
        } else {
            text.back() += static_cast<char>(data[i]);
        }
    }
    std::vector<const char *> lines;
    for (const std::string &line : text) lines.push_back(line.c_str());
    lines.push_back(nullptr);

    const XPMImage borrowed(lines.data(), false);
    const XPMImage copied(lines.data(), true);
    Expect(borrowed == copied);
    const int width = borrowed.GetWidth(), height = borrowed.GetHeight();
    Expect(width == copied.GetWidth() && height == copied.GetHeight());

    int colors = -1;
    borrowed.GetCtable(nullptr, colors);
    std::vector<quelt::xpmcolortable> table(colors);
    int filled = colors;
    borrowed.GetCtable(table.data(), filled);
    Expect(filled == colors);

    const XPMImage gray(borrowed.GetGrayed());
    quelt::CCustomPalette palette;
    const _color light(5, 160, 255, 255), shadow(0, 1, 16, 255);
    palette.SetColor(quelt::RoleLight, light);
    palette.SetColor(quelt::RoleShadow, shadow);
    const XPMImage disabled(borrowed.GetDisabled(&palette));
    if (!gray.GetXpm()) {
        Expect(!disabled.GetXpm() && width == 0 && height == 0 && colors == 0);
        return 0;
    }
    Expect(gray.GetWidth() == width && gray.GetHeight() == height);
    Expect(disabled.GetWidth() == width && disabled.GetHeight() == height);
    Expect(XPMImage(gray.GetXpm(), true) == gray);

    for (int row = -1; row <= height; ++row) {
        const bool inside = row >= 0 && row < height;
        const char *rowText = inside ? borrowed.GetXpm()[1 + colors + row] : "";
        for (int column : Columns(rowText, width)) {
            const Pixel source = At(borrowed, row, column);
            Expect(source == At(copied, row, column));
            const Pixel grayed = At(gray, row, column);
            Expect(grayed.known == source.known && grayed.mask == source.mask);
            if (source.Colored()) {
                const unsigned g = std::min(
                    255u,
                    (30 * source.Channel(0) + 59 * source.Channel(8) + 11 * source.Channel(16)) * 12 / 1000);
                Expect(grayed.Channel(0) == g && grayed.Channel(8) == g && grayed.Channel(16) == g);
            }
            const Pixel embossed = At(disabled, row, column);
            const bool onImage = inside && column >= 0 && column < width;
            Expect(embossed.known == onImage);
            if (!onImage) continue;
            if (Dark(source)) {
                Expect(embossed.Colored() && embossed.color == Rgb(shadow));
            } else {
                const bool lit = column > 0 && row > 0 && Dark(At(borrowed, row - 1, column - 1));
                Expect(lit ? embossed.Colored() && embossed.color == Rgb(light) : embossed.Transparent());
            }
        }
    }
    return 0;
}
