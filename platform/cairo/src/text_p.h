#pragma once

// Text through Pango: one context and layout per painter, independent of the
// surface, with hinting off and unrounded glyph positions so that measuring
// and drawing agree on every surface.

#include <cairo.h>
#include <pango/pangocairo.h>

#include <string>

#include "quelt/cairo/painter.h"

namespace quelt::cairo {

class CairoPainter::Text {
  public:
    Text();
    ~Text();
    Text(const Text &) = delete;
    Text &operator=(const Text &) = delete;

    // The face "MS Shell Dialog" and the empty name are "Sans"; style flags 1 bold, 2 italic,
    // 4 underline, 8 strike-out; a negative size is a height in pixels.
    void Select(const font &f, double dpi);
    void SetAntialias(bool on);
    // With other, measured in that font and the selected one kept.
    size<int> Extent(const wchar *text, int count, const font *other, double dpi);
    // The layout's logical top-left at (x, y), turned by angle tenths of a degree counter-clockwise.
    void Show(cairo_t *cr, int x, int y, int angle, const wchar *text, int count);
    fontmetrics Metrics();

  private:
    void SetText(const wchar *text, int count);
    static PangoFontDescription *Describe(const font &f);
    static PangoAttrList *Decorations(const font &f);
    void Apply(PangoFontDescription *description, PangoAttrList *attributes, double dpi);

    PangoContext *m_context = nullptr;
    PangoLayout *m_layout = nullptr;
    PangoFontDescription *m_description = nullptr;
    PangoAttrList *m_attributes = nullptr;
    double m_dpi = 0;
    std::string m_utf8;
};

}  // namespace quelt::cairo
