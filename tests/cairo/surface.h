#pragma once

// A white raster picture with its painter in a pass, and pixel queries over it.

#include <set>
#include <utility>

#include "quelt/cairo/painter.h"
#include "quelt/cairo/picture.h"
#include "quelt/paint/painter.h"

namespace quelt::cairo::test {

constexpr _color kInk(0, 0, 0, 255);
constexpr _color kPaper(255, 255, 255, 255);

using Pixels = std::set<std::pair<int, int>>;

// Every pixel of the inclusive rectangle.
inline Pixels Box(int x1, int y1, int x2, int y2) {
    Pixels out;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) out.insert({x, y});
    return out;
}

class Surface {
  public:
    Surface(int width, int height) : m_picture({width, height}), m_painter(*m_picture.TakeDefPainter()) {
        m_painter.BeginPaint(IPainter::SettingsPrint);
        m_painter.SetBrush(brush(kPaper, brush::Solid));
        m_painter.FillRect(0, 0, width, height);
        m_painter.SetBrush(brush(kInk, brush::NoFill));
    }

    IPainter &Painter() { return m_painter; }
    CairoPainter &Device() { return static_cast<CairoPainter &>(m_painter); }
    CairoRasterPicture &Picture() { return m_picture; }
    cairo_surface_t *Image() { return m_picture.GetSurface(); }
    _color At(int x, int y) const { return m_picture.GetPixel(x, y); }

    // Pixels that are no longer paper, optionally only those of one colour.
    Pixels Painted() const {
        return Matching([](_color c) { return c != kPaper; });
    }
    Pixels Painted(_color color) const {
        return Matching([color](_color c) { return c == color; });
    }
    // The smallest inclusive rectangle around the painted pixels (left > right when none).
    screen_rectangle<int> Bounds() const {
        screen_rectangle<int> r(1 << 30, 1 << 30, -(1 << 30), -(1 << 30));
        for (const auto &[x, y] : Painted()) {
            r.left = std::min(r.left, x);
            r.top = std::min(r.top, y);
            r.right = std::max(r.right, x);
            r.bottom = std::max(r.bottom, y);
        }
        return r;
    }

  private:
    template <class Test>
    Pixels Matching(Test test) const {
        Pixels out;
        const size<int> extent = m_picture.GetSize();
        for (int y = 0; y < extent.cy; ++y)
            for (int x = 0; x < extent.cx; ++x)
                if (test(m_picture.GetPixel(x, y))) out.insert({x, y});
        return out;
    }

    CairoRasterPicture m_picture;
    IPainter &m_painter;
};

}  // namespace quelt::cairo::test
