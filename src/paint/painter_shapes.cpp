// Pixels, lines, rectangles, ellipses, arcs, fills and polylines: each maps
// its logical coordinates, rejects what cannot show, and calls the device.

#include <cmath>
#include <utility>
#include <vector>

#include "paint/painter_p.h"

namespace quelt {

namespace {

inline long long PenReach(const pen &p) { return (p.GetWidth() > 0 ? p.GetWidth() : 0) + 1LL; }

}  // namespace

_color IPainter::SetPixel(double x, double y, _color color) {
    if (!MapForDevice(x, y)) return _color();
    Gray(color);
    return internalSetPixel(ToInt(x), ToInt(y), color);
}

_color IPainter::GetPixel(double x, double y) {
    if (!MapForDevice(x, y)) return _color();
    return internalGetPixel(ToInt(x), ToInt(y));
}

point<double> IPainter::MoveTo(double x, double y) {
    point<int> previous;
    if (MapForDevice(x, y)) {
        previous = internalMoveTo(ToInt(x), ToInt(y));
    } else {
        previous = internalGetCurrentPos();
    }
    return {static_cast<double>(previous.x), static_cast<double>(previous.y)};
}

point<double> IPainter::GetCurrentPos() {
    const point<int> device = internalGetCurrentPos();
    point<double> p(device.x, device.y);
    if (Transforms()) UnmapPoint(p.x, p.y, true);
    return p;
}

bool IPainter::DrawDeviceSegment(point<double> a, point<double> b, bool startIsCurrent) {
    const rectangle<double> r = PaintRect();
    const int codeA = StrictCode(a, r);
    const int codeB = StrictCode(b, r);
    if ((codeA | codeB) == 0) {
        if (!startIsCurrent) internalMoveTo(ToInt(a.x), ToInt(a.y));
        internalLineTo(ToInt(b.x), ToInt(b.y));
        return true;
    }
    if (codeA & codeB) return false;
    if (codeA && codeB && lineout(a.x, a.y, b.x, b.y, r)) return false;
    cut(a, b, r);
    // An end point inside stays where it is, so the device may already stand on it.
    if (!startIsCurrent || codeA) internalMoveTo(ToInt(a.x), ToInt(a.y));
    internalLineTo(ToInt(b.x), ToInt(b.y));
    return codeB == 0;
}

bool IPainter::SharesEdge(point<int> current, double x, double y) const {
    const rectangle<double> ref = Reference();
    point<double> from(current.x, current.y);
    if (Transforms()) UnmapPoint(from.x, from.y, true);
    return (StrictCode(from, ref) & StrictCode(x, y, ref)) != 0;
}

void IPainter::LineTo(double x, double y) {
    point<int> current;
    if (m_checkOutside) {
        current = internalGetCurrentPos();
        // A target inside shares no edge with anything: the current position need not be mapped back.
        if (StrictCode(x, y, Reference()) && SharesEdge(current, x, y)) {
            MoveTo(x, y);
            return;
        }
    }
    if (Transforms()) MapPoint(x, y, true);
    const screen_rectangle<int> &r = m_paintRect;
    const rectangle<double> &bounds = m_paintBounds;
    const bool inside = current.x >= r.left && current.x <= r.right && current.y >= r.top &&
                        current.y <= r.bottom && x >= bounds.left && x <= bounds.right && y >= bounds.top &&
                        y <= bounds.bottom;
    // A point on the canvas is finite: only one off it needs the test.
    if (!inside && !Finite(x, y)) return;
    // A target on the canvas converts without saturating.
    const int tx = inside ? static_cast<int>(x) : ToInt(x);
    const int ty = inside ? static_cast<int>(y) : ToInt(y);
    if (!m_checkOutside || inside) {
        internalLineTo(tx, ty);
    } else if (!DrawDeviceSegment(point<double>(current.x, current.y), point<double>(x, y), true)) {
        // The current position ends on the true end point even where the line was clipped or left out.
        internalMoveTo(tx, ty);
    }
    if (ExcludesLastPixel()) internalSetPixel(tx, ty, _color());
}

bool IPainter::PrepareShape(double &x1, double &y1, double &x2, double &y2, bool pullIn, long long wx,
                            long long wy) {
    if (clip(x1, y1, x2, y2)) return false;
    prepareRect(x1, y1, x2, y2);
    if (!Finite(x1, y1) || !Finite(x2, y2)) return false;
    if (pullIn && m_checkOutside) {
        // Far-away edges come in to just beyond the canvas, so the device never sees huge values.
        const rectangle<double> r = PaintRect();
        if (x1 < r.left) x1 = r.left - wx;
        if (y1 < r.top) y1 = r.top - wy;
        if (x2 > r.right) x2 = r.right + wx;
        if (y2 > r.bottom) y2 = r.bottom + wy;
    }
    return x1 != x2 && y1 != y2;
}

void IPainter::FillRect(double x1, double y1, double x2, double y2) {
    const long long w = PenReach(m_pen);
    if (PrepareShape(x1, y1, x2, y2, true, w, w))
        internalFillRect(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::Rectangle(double x1, double y1, double x2, double y2) {
    const long long w = PenReach(m_pen);
    if (PrepareShape(x1, y1, x2, y2, true, w, w))
        internalRectangle(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::FocusRect(double x1, double y1, double x2, double y2) {
    const long long w = PenReach(m_pen);
    if (PrepareShape(x1, y1, x2, y2, true, w, w))
        internalFocusRect(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::SemiFillRect(double x1, double y1, double x2, double y2, _color color) {
    const long long w = PenReach(m_pen);
    if (PrepareShape(x1, y1, x2, y2, true, w, w))
        internalSemiFillRect(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), color);
}

void IPainter::GradientFill(double x1, double y1, double x2, double y2, _color from, _color to,
                            unsigned int steps, GradientDirection direction) {
    if (!PrepareShape(x1, y1, x2, y2, false, 0, 0)) return;
    if (direction == GradientTopToBottom) {
        internalGradientFillA(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), from, to, steps);
    } else {
        internalGradientFillB(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), from, to, steps);
    }
}

void IPainter::AlphaBlend(double x1, double y1, double x2, double y2, IRasterPicture *picture, int alpha) {
    if (picture && PrepareShape(x1, y1, x2, y2, false, 0, 0))
        internalAlphaBlend(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), picture, alpha);
}

void IPainter::AlphaBlend(double x1, double y1, double x2, double y2, IRasterPicture *picture,
                          unsigned char *alpha) {
    if (picture && PrepareShape(x1, y1, x2, y2, false, 0, 0))
        internalAlphaBlend(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), picture, alpha);
}

void IPainter::Ellipse(double x1, double y1, double x2, double y2) {
    if (clip(x1, y1, x2, y2)) return;
    prepareRect(x1, y1, x2, y2);
    if (Finite(x1, y1) && Finite(x2, y2)) internalEllipse(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::RoundRect(double x1, double y1, double x2, double y2, double cornerWidth,
                         double cornerHeight) {
    if (cornerWidth == -1 && cornerHeight == -1) {
        Rectangle(x1, y1, x2, y2);
        return;
    }
    double cw = cornerWidth, ch = cornerHeight;
    if (Transforms()) {
        if (m_swapAxes) std::swap(cw, ch);
        // A length is the distance of its mapped end from the mapped origin.
        const double x0 = (0 - m_logOriginX) * m_scaleX + m_devOriginX;
        const double y0 = (0 - m_logOriginY) * m_scaleY + m_devOriginY;
        cw = ((cw - m_logOriginX) * m_scaleX + m_devOriginX - x0) * m_userScaleX;
        ch = ((ch - m_logOriginY) * m_scaleY + m_devOriginY - y0) * m_userScaleY;
    }
    cw = std::fabs(cw);
    ch = std::fabs(ch);
    const int dcw = ToInt(cw), dch = ToInt(ch);
    if (!PrepareShape(x1, y1, x2, y2, true, dcw + 1LL, dch + 1LL)) return;
    internalRoundRect(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), dcw, dch);
}

void IPainter::Arc(double x1, double y1, double x2, double y2, int start, int sweep) {
    if (clip(x1, y1, x2, y2)) return;
    prepareParam(x1, y1, x2, y2, start, sweep);
    if (Finite(x1, y1) && Finite(x2, y2))
        internalArc(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), start, sweep);
}

void IPainter::Chord(double x1, double y1, double x2, double y2, int start, int sweep) {
    if (clip(x1, y1, x2, y2)) return;
    prepareParam(x1, y1, x2, y2, start, sweep);
    if (Finite(x1, y1) && Finite(x2, y2))
        internalChord(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), start, sweep);
}

void IPainter::Pie(double x1, double y1, double x2, double y2, int start, int sweep) {
    if (clip(x1, y1, x2, y2)) return;
    prepareParam(x1, y1, x2, y2, start, sweep);
    if (Finite(x1, y1) && Finite(x2, y2))
        internalPie(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), start, sweep);
}

void IPainter::DrawControlElement(ControlElement element, double x1, double y1, double x2, double y2,
                                  bool flag) {
    prepareRect(x1, y1, x2, y2);
    if (Finite(x1, y1) && Finite(x2, y2))
        internalDrawControlElement(element, ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2), flag);
}

// Maps the points into the fixed arrays (or, for long polylines, arrays of
// this call) and hands the integers to send; nothing when all lie beyond one
// edge or one comes out non-finite.
template <class Send>
void IPainter::PolyPoints(const point<double> *points, int count, Send send) {
    if (!points || count <= 0) return;
    if (m_checkOutside) {
        const rectangle<double> ref = Reference();
        int shared = ~0;
        for (int i = 0; i < count && shared; ++i) shared &= StrictCode(points[i], ref);
        if (shared) return;
    }
    std::vector<point<double>> heapDoubles;
    std::vector<point<int>> heapInts;
    point<double> *doubles = m_dblPoints;
    point<int> *ints = m_intPoints;
    if (count > FixedPoints) {
        heapDoubles.resize(count);
        heapInts.resize(count);
        doubles = heapDoubles.data();
        ints = heapInts.data();
    }
    const bool transforms = Transforms();
    for (int i = 0; i < count; ++i) {
        doubles[i] = points[i];
        if (transforms) MapPoint(doubles[i].x, doubles[i].y, true);
        if (!Finite(doubles[i])) return;
        ints[i] = ToInt(doubles[i]);
    }
    send(ints, count);
}

void IPainter::PolyLine(const point<double> *points, int count, int endPixel, int b) {
    PolyPoints(points, count, [&](const point<int> *ints, int n) {
        internalPolyLine(ints, n, endPixel, b);
        if (endPixel >= n || !ExcludesLastPixel()) return;
        const point<int> &end = ints[endPixel < 0 ? n - 1 : endPixel];
        internalSetPixel(end.x, end.y, _color());
    });
}

void IPainter::PolyBezier(const point<double> *points, int count, int a, int b) {
    PolyPoints(points, count, [&](const point<int> *ints, int n) { internalPolyBezier(ints, n, a, b); });
}

void IPainter::Polygon(const point<double> *points, int count) {
    PolyPoints(points, count, [&](const point<int> *ints, int n) { internalPolygon(ints, n); });
}

}  // namespace quelt
