#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "quelt/core/config.h"
#include "quelt/paint/color.h"

namespace quelt {

class ICustomPalette;

// XPM text: an array of C strings, the header "width height colours
// chars-per-pixel", one line per colour (the key, then " c #rrggbb", or
// anything else for a transparent key), then one line per pixel row. Arrays
// from untrusted sources must end with a null pointer: reading stops there.
//
// An XPMBuf borrows such an array or owns a copy. Owned text is immutable and
// shared by copies; the last holder frees it.
class QUELT_API XPMBuf {
  public:
    XPMBuf();
    // With copy, a deep copy of the lines the header announces (each at its
    // real length); otherwise the caller's array is borrowed.
    XPMBuf(const char **lines, bool copy);
    XPMBuf(const XPMBuf &other);
    XPMBuf &operator=(const XPMBuf &other);
    ~XPMBuf();

    const char **GetBuffer() const { return m_lines; }

    // Headers by value, colour lines by what they read as (key, colour or
    // transparent), pixel rows over width x chars-per-pixel. All texts that do
    // not form an image are equal to each other.
    bool operator==(const XPMBuf &other) const;
    bool operator!=(const XPMBuf &other) const { return !(*this == other); }

  private:
    friend class XPMImage;
    struct Text;
    // Owned text made of these lines.
    static XPMBuf Own(std::vector<std::string> lines);

    const char **m_lines = nullptr;
    std::shared_ptr<Text> m_text;
};

// One colour line as GetCtable reports it.
struct xpmcolortable {
    // 0xFF000000 | B << 16 | G << 8 | R; 0 for a transparent entry.
    unsigned int color = 0;
    // The key's last character.
    int key = 0;
    bool transparent = false;
};

// XPM text with its header and colour map read. A header that does not parse
// (or lies out of bounds: 0 <= width, height <= 32767, width x height <= 2^24,
// 1 <= chars-per-pixel <= 4, 0 <= colours <= 2^20), a missing line or a
// colour line shorter than its key leaves an image of size 0 with no colours.
class QUELT_API XPMImage {
  public:
    XPMImage();
    XPMImage(const char **lines, bool copy);
    XPMImage(const XPMBuf &buf);

    const char **GetXpm() const { return m_buf.GetBuffer(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    bool operator==(const XPMImage &other) const { return m_buf == other.m_buf; }
    bool operator!=(const XPMImage &other) const { return !(*this == other); }

    // With a null table or a count below the number of colours, only sets
    // count to it; otherwise fills one entry per colour line.
    void GetCtable(xpmcolortable *table, int &count) const;
    // The pixel's colour as R + G * 256 + B * 65536 with mask 0, or for a
    // transparent key transparentColor with mask 0xFFFFFF. False, outputs
    // untouched, for a pixel outside the image or its row, or an unknown key.
    bool GetPixel(int row, int column, unsigned long &color, unsigned long *mask,
                  unsigned long transparentColor) const;
    // The image with every colour turned gray (slightly lightened).
    XPMBuf GetGrayed() const;
    // The embossed look of a disabled icon in the palette's light and shadow
    // roles; a null palette means the default palette.
    XPMBuf GetDisabled(ICustomPalette *palette) const;

  private:
    bool InitCmap();
    bool IsValid() const { return m_cpp > 0; }
    // Packed key of a pixel; false outside the image or past a short row.
    bool PixelKey(int row, int column, unsigned int &key) const;

    XPMBuf m_buf;
    int m_height = 0;
    int m_width = 0;
    int m_colors = 0;
    int m_cpp = 0;
    // Keys pack their characters, the first in the highest byte.
    std::vector<std::pair<unsigned int, _color>> m_cmap;
    std::vector<unsigned int> m_transparent;
    // Whole pixels present in each row, so short rows answer in constant time.
    std::vector<int> m_rowPixels;
};

}  // namespace quelt
