// Bevelled borders from the palette's edge roles.

#include "quelt/paint/border.h"

#include <utility>

#include "paint/painter_p.h"

namespace quelt {

namespace {

struct BorderColors {
    _color light, shadow, dark, face, highlight;
};

// Draws one border in the painter's current coordinates.
class BorderPainter {
  public:
    BorderPainter(IPainter &painter, const BorderColors &colors) : m_painter(painter), m_colors(colors) {}

    void Draw(double x1, double y1, double x2, double y2, BorderShape shape, BorderStyle style) {
        if (style == BorderFlat) {
            Flat(x1, y1, x2, y2, shape);
            return;
        }
        const bool raised = style == BorderRaised;
        const _color a = raised ? m_colors.light : m_colors.shadow;
        const _color b = raised ? m_colors.shadow : m_colors.light;
        const _color c = a;
        switch (shape) {
            case BorderBox:
            case BorderFrame:
                Ring(x1, y1, x2, y2, a, b);
                if (shape == BorderBox) Face(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
                break;
            case BorderEtched:
                if (!Crossed(x1 + 1, y1 + 1, x2, y2)) {
                    Pen(b);
                    m_painter.Rectangle(x1 + 1, y1 + 1, x2, y2);
                }
                m_painter.SetBrush(brush(m_colors.face, brush::NoFill));
                if (!Crossed(x1, y1, x2 - 1, y2 - 1)) {
                    Pen(c);
                    m_painter.Rectangle(x1, y1, x2 - 1, y2 - 1);
                }
                break;
            case BorderLeft:
                Pair(b, {x1 + 1, y1 + 1, x1 + 1, y2}, c, {x1, y2 - 1, x1, y1});
                break;
            case BorderRight:
                Pair(b, {x2, y1 + 1, x2, y2}, c, {x2 - 1, y1, x2 - 1, y2 - 1});
                break;
            case BorderTop:
                Pair(b, {x1 + 1, y1 + 1, x2, y1 + 1}, c, {x1, y1, x2 - 1, y1});
                break;
            case BorderBottom:
                Pair(b, {x1 + 1, y2, x2, y2}, c, {x1, y2 - 1, x2 - 1, y2 - 1});
                break;
            default:
                Ring(x1, y1, x2, y2, a, raised ? m_colors.dark : m_colors.light);
                if (!Crossed(x1 + 1, y1 + 1, x2 - 1, y2 - 1)) {
                    Ring(x1 + 1, y1 + 1, x2 - 1, y2 - 1, raised ? m_colors.highlight : m_colors.dark,
                         raised ? m_colors.shadow : m_colors.highlight);
                }
                if (shape == BorderDoubleBox) Face(x1 + 2, y1 + 2, x2 - 2, y2 - 2);
                break;
        }
    }

  private:
    static bool Crossed(double x1, double y1, double x2, double y2) { return x1 > x2 || y1 > y2; }

    void Pen(_color color) { m_painter.SetPen(pen(color, 1, pen::Solid)); }

    void Line(const rectangle<double> &l) {
        m_painter.MoveTo(l.left, l.top);
        m_painter.LineTo(l.right, l.bottom);
    }

    void Pair(_color first, const rectangle<double> &l1, _color second, const rectangle<double> &l2) {
        Pen(first);
        Line(l1);
        Pen(second);
        Line(l2);
    }

    // Top-left edges in one colour, bottom-right in the other.
    void Ring(double x1, double y1, double x2, double y2, _color topLeft, _color bottomRight) {
        Pen(topLeft);
        m_painter.MoveTo(x1, y2);
        m_painter.LineTo(x1, y1);
        m_painter.LineTo(x2, y1);
        Pen(bottomRight);
        m_painter.LineTo(x2, y2);
        m_painter.LineTo(x1, y2);
    }

    void Face(double x1, double y1, double x2, double y2) {
        if (Crossed(x1, y1, x2, y2)) return;
        Pen(m_colors.face);
        m_painter.Rectangle(x1, y1, x2, y2);
    }

    void Flat(double x1, double y1, double x2, double y2, BorderShape shape) {
        Pen(m_colors.shadow);
        switch (shape) {
            case BorderLeft:
                Line({x1, y1, x1, y2});
                break;
            case BorderRight:
                Line({x2, y1, x2, y2});
                break;
            case BorderTop:
                Line({x1, y1, x2, y1});
                break;
            case BorderBottom:
                Line({x1, y2, x2, y2});
                break;
            default:
                m_painter.Rectangle(x1, y1, x2, y2);
                break;
        }
    }

    IPainter &m_painter;
    BorderColors m_colors;
};

}  // namespace

void DrawBorder(IPainter *painter, double x1, double y1, double x2, double y2, BorderShape shape,
                BorderStyle style, bool devicePixels) {
    if (!painter || shape < BorderBox || shape > BorderDoubleFrame || style < BorderFlat ||
        style > BorderSunken)
        return;
    // A flat frame has nothing to draw.
    if (style == BorderFlat && (shape == BorderFrame || shape == BorderDoubleFrame)) return;
    const BorderColors colors{painter->GetColor(4), painter->GetColor(6), painter->GetColor(7),
                              painter->GetColor(3), painter->GetColor(5)};
    const bool transform = painter->GetTransform();
    if (devicePixels) {
        if (painter->Transforms()) {
            painter->MapPoint(x1, y1, true);
            painter->MapPoint(x2, y2, true);
        }
        x1 = ToInt(x1);
        y1 = ToInt(y1);
        x2 = ToInt(x2);
        y2 = ToInt(y2);
        if (x2 < x1) std::swap(x1, x2);
        if (y2 < y1) std::swap(y1, y2);
        painter->SetTransform(false);
    }
    pen savedPen;
    brush savedBrush;
    painter->GetPen(savedPen);
    painter->GetBrush(savedBrush);
    painter->SetBrush(brush(colors.face, brush::Solid));
    BorderPainter(*painter, colors).Draw(x1, y1, x2, y2, shape, style);
    painter->SetPen(savedPen);
    painter->SetBrush(savedBrush);
    painter->SetTransform(transform);
}

void DrawBorder(IPainter *painter, const rectangle<double> &r, BorderShape shape, BorderStyle style,
                bool devicePixels) {
    DrawBorder(painter, r.left, r.top, r.right, r.bottom, shape, style, devicePixels);
}

}  // namespace quelt
