// Begin/vertex/end plotting: a fixed buffer converted and drawn in batches,
// the eleven plot routines and the point markers.

#include "paint/painter_p.h"

namespace quelt {

namespace {

// Slope of the chord from a to c; 0 for a vertical chord.
double Slope(const point<double> &a, const point<double> &c) {
    return c.x == a.x ? 0 : (c.y - a.y) / (c.x - a.x);
}

}  // namespace

void IPainter::BeginPlot(PlotType type) {
    if (!m_plot.get()) m_plot.reset(new PlotBuffer);
    m_plot.get()->Restart(type);
    if (type < 0 || type >= PlotTypeCount) m_plot.get()->open = false;
}

void IPainter::Vertex(double x, double y) {
    PlotBuffer *plot = m_plot.get();
    if (!plot || !plot->open) return;
    if (plot->count == PlotBatch) {
        plot->final = false;
        FlushPlot();
        plot->first = false;
        plot->final = true;
    }
    plot->logical[plot->count++] = point<double>(x, y);
}

void IPainter::EndPlot() {
    PlotBuffer *plot = m_plot.get();
    if (!plot || !plot->open) return;
    if (plot->count > 0) FlushPlot();
    plot->open = false;
}

void IPainter::FlushPlot() {
    PlotBuffer &plot = *m_plot.get();
    // The plot maps without axis swap and bias, whether or not the transform is enabled.
    for (int i = 0; i < plot.count; ++i) {
        const point<double> &p = plot.logical[i];
        plot.device[i].x = (m_userScaleX * p.x + m_userTransX - m_logOriginX) * m_scaleX + m_devOriginX;
        plot.device[i].y = (m_userScaleY * p.y + m_userTransY - m_logOriginY) * m_scaleY + m_devOriginY;
    }
    (this->*m_plotRoutines[plot.type])();
    if (plot.type != PlotPoints && m_pointStyle.kind != 0 && m_pointStyle.size > 0) {
        DrawPoints();
        plot.atLast = false;
    }
    plot.count = 0;
}

void IPainter::Point(double x, double y) {
    MapPoint(x, y, true);
    if (Finite(x, y)) DrawMarker(ToInt(x), ToInt(y));
}

void IPainter::DrawMarker(int x, int y) {
    if (m_checkOutside && StrictCode(x, y, PaintRect())) {
        internalMoveTo(x, y);
        return;
    }
    const int kind = m_pointStyle.kind;
    const int size = m_pointStyle.size;
    if (kind < 1 || kind > 6 || size <= 0) {
        internalSetPixel(x, y, _color());
        return;
    }
    brush saved;
    GetBrush(saved);
    SetBrush(brush(GetPointColor(), brush::Solid));
    const long long r = size / 2;
    const long long k = size / 3;
    const double h = 1.732 * k;
    const auto X = [x](long long d) { return Narrow(x + d); };
    const auto Y = [y](long long d) { return Narrow(y + d); };
    const int left = ToInt(x - h), right = ToInt(x + h);
    switch (kind) {
        case 1:
            internalEllipse(X(-r), Y(-r), X(r), Y(r));
            break;
        case 2: {
            const point<int> up[3] = {{left, Y(k)}, {x, Y(-2 * k)}, {right, Y(k)}};
            internalPolygon(up, 3);
            break;
        }
        case 3:
            internalRectangle(X(-r), Y(-r), X(r), Y(r));
            break;
        case 4: {
            const point<int> down[3] = {{left, Y(-k)}, {x, Y(2 * k)}, {right, Y(-k)}};
            internalPolygon(down, 3);
            break;
        }
        case 5: {
            const point<int> diamond[4] = {{X(-r), y}, {x, Y(-r)}, {X(r), y}, {x, Y(r)}};
            internalPolygon(diamond, 4);
            break;
        }
        default:
            internalMoveTo(X(-r), Y(-r));
            internalLineTo(X(r), Y(r));
            internalMoveTo(X(-r), Y(r));
            internalLineTo(X(r), Y(-r));
            break;
    }
    internalMoveTo(x, y);
    SetBrush(saved);
}

void IPainter::PlotSegment(const point<double> &a, const point<double> &b, bool &atA) {
    if (m_checkOutside) {
        const rectangle<double> r = PaintRect();
        if (StrictCode(a, r) | StrictCode(b, r)) {
            atA = DrawDeviceSegment(a, b, atA);
            return;
        }
    }
    if (!atA) internalMoveTo(ToInt(a.x), ToInt(a.y));
    internalLineTo(ToInt(b.x), ToInt(b.y));
    atA = true;
}

void IPainter::PlotPolygon(const point<double> *points, int count) {
    point<int> ints[4];
    int shared = ~0;
    const rectangle<double> r = PaintRect();
    for (int i = 0; i < count; ++i) {
        if (!Finite(points[i])) return;
        shared &= StrictCode(points[i], r);
        ints[i] = ToInt(points[i]);
    }
    if (m_checkOutside && shared) return;
    internalPolygon(ints, count);
}

void IPainter::DrawPoints() {
    const PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    for (int i = 0; i < plot->count; ++i) {
        if (Finite(plot->device[i])) DrawMarker(ToInt(plot->device[i].x), ToInt(plot->device[i].y));
    }
}

void IPainter::DrawLines() {
    PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    for (int i = 0; i + 1 < plot->count; i += 2) {
        if (!Finite(plot->device[i]) || !Finite(plot->device[i + 1])) continue;
        bool atStart = false;
        PlotSegment(plot->device[i], plot->device[i + 1], atStart);
    }
    plot->atLast = false;
}

void IPainter::StripVertex(const point<double> &v) {
    PlotBuffer &plot = *m_plot.get();
    ++plot.index;
    if (!Finite(v)) {
        plot.run = 0;
        return;
    }
    if (!plot.hasLoopFirst) {
        plot.loopFirst = v;
        plot.hasLoopFirst = true;
    }
    if (plot.run > 0) {
        PlotSegment(plot.last[2], v, plot.atLast);
    } else if (!m_checkOutside) {
        internalMoveTo(ToInt(v.x), ToInt(v.y));
        plot.atLast = true;
    } else {
        plot.atLast = false;
    }
    plot.Push(v);
}

void IPainter::StripVertices(PlotBuffer &plot) {
    const double left = m_paintRect.left, top = m_paintRect.top;
    const double right = m_paintRect.right, bottom = m_paintRect.bottom;
    const auto inside = [&](const point<double> &p) {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    };
    // Most vertices continue a run from where the device stands with both ends on the canvas (or
    // unchecked): a device line and nothing else. A vertex on the canvas converts without saturating.
    bool fromInside = plot.run > 0 && plot.atLast && inside(plot.last[2]);
    for (int i = 0; i < plot.count; ++i) {
        const point<double> &v = plot.device[i];
        if (m_checkOutside ? fromInside && inside(v) : plot.run > 0 && plot.atLast && Finite(v)) {
            internalLineTo(m_checkOutside ? static_cast<int>(v.x) : ToInt(v.x),
                           m_checkOutside ? static_cast<int>(v.y) : ToInt(v.y));
            plot.last[2] = v;
            ++plot.run;
            ++plot.index;
            continue;
        }
        StripVertex(v);
        fromInside = plot.run > 0 && plot.atLast && inside(plot.last[2]);
    }
}

void IPainter::DrawLineStrip() {
    if (PlotBuffer *plot = m_plot.get()) StripVertices(*plot);
}

void IPainter::DrawLineLoop() {
    PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    StripVertices(*plot);
    if (plot->final && plot->run > 0 && plot->index > 1)
        PlotSegment(plot->last[2], plot->loopFirst, plot->atLast);
}

void IPainter::SplineCurve(const point<double> &a, const point<double> &b, double slopeA, double slopeB) {
    const double dx = b.x - a.x;
    const point<double> curve[4] = {
        a, {a.x + 0.334 * dx, a.y + slopeA * 0.334 * dx}, {b.x - 0.334 * dx, b.y - slopeB * 0.334 * dx}, b};
    point<int> ints[4];
    int shared = ~0;
    const rectangle<double> r = PaintRect();
    for (int i = 0; i < 4; ++i) {
        if (!Finite(curve[i])) return;
        shared &= StrictCode(curve[i], r);
        ints[i] = ToInt(curve[i]);
    }
    if (m_checkOutside && shared) return;
    internalPolyBezier(ints, 4, 0, -1);
}

void IPainter::EndSplineRun() {
    PlotBuffer &plot = *m_plot.get();
    if (plot.run >= 4)
        SplineCurve(plot.last[1], plot.last[2], Slope(plot.last[0], plot.last[2]),
                    Slope(plot.last[1], plot.last[2]));
    plot.run = 0;
}

void IPainter::DrawSpline() {
    PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    // Curve i needs the vertices i - 1 to i + 2, so each vertex completes the curve two back.
    for (int i = 0; i < plot->count; ++i) {
        const point<double> &v = plot->device[i];
        if (!Finite(v)) {
            EndSplineRun();
            continue;
        }
        const point<double> *w = plot->last;
        if (plot->run >= 3) {
            if (plot->run == 3) SplineCurve(w[0], w[1], Slope(w[0], w[1]), Slope(w[0], w[2]));
            SplineCurve(w[1], w[2], Slope(w[0], w[2]), Slope(w[1], v));
        }
        plot->Push(v);
    }
    if (plot->final) EndSplineRun();
}

void IPainter::SendBezier(int count) {
    const std::vector<point<int>> &points = m_plot.get()->bezier;
    if (count < 4) return;
    if (m_checkOutside) {
        const rectangle<double> r = PaintRect();
        int shared = ~0;
        for (int i = 0; i < count && shared; ++i) shared &= StrictCode(points[i].x, points[i].y, r);
        if (shared) return;
    }
    internalPolyBezier(points.data(), count, 0, -1);
}

void IPainter::DrawBezier() {
    PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    std::vector<point<int>> &pending = plot->bezier;
    for (int i = 0; i < plot->count; ++i) {
        if (Finite(plot->device[i])) {
            pending.push_back(ToInt(plot->device[i]));
            continue;
        }
        SendBezier(static_cast<int>(pending.size()));
        pending.clear();
    }
    const int n = static_cast<int>(pending.size());
    if (plot->final) {
        SendBezier(n);
        pending.clear();
    } else if (n >= 4) {
        // Whole curves go now; the last one's end and the leftovers open the next batch.
        const int whole = 1 + 3 * ((n - 1) / 3);
        SendBezier(whole);
        pending.erase(pending.begin(), pending.begin() + (whole - 1));
    }
}

void IPainter::DrawTriangles() {
    const PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    for (int i = 0; i + 2 < plot->count; i += 3) PlotPolygon(plot->device + i, 3);
}

void IPainter::DrawTriangleStrip() {
    PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    for (int i = 0; i < plot->count; ++i) {
        const point<double> &v = plot->device[i];
        if (!Finite(v)) {
            plot->run = 0;
            continue;
        }
        if (plot->run >= 2) {
            const point<double> triangle[3] = {plot->last[1], plot->last[2], v};
            PlotPolygon(triangle, 3);
        }
        plot->Push(v);
    }
}

void IPainter::DrawTriangleFan() {
    PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    for (int i = 0; i < plot->count; ++i) {
        const point<double> &v = plot->device[i];
        if (!Finite(v)) {
            // The hub stays; only the triangles touching this vertex are lost.
            if (plot->run > 1) plot->run = 1;
            continue;
        }
        if (plot->run == 0) {
            plot->loopFirst = v;
        } else if (plot->run >= 2) {
            const point<double> triangle[3] = {plot->loopFirst, plot->last[2], v};
            PlotPolygon(triangle, 3);
        }
        plot->last[2] = v;
        ++plot->run;
    }
}

void IPainter::DrawQuads() {
    const PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    for (int i = 0; i + 3 < plot->count; i += 4) PlotPolygon(plot->device + i, 4);
}

void IPainter::DrawQuadStrip() {
    PlotBuffer *plot = m_plot.get();
    if (!plot) return;
    // last[0], last[1] hold the previous pair, last[2] the first vertex of the pair being read.
    for (int i = 0; i < plot->count; ++i) {
        const point<double> &v = plot->device[i];
        if (plot->index++ % 2 == 0) {
            plot->last[2] = v;
            continue;
        }
        if (!Finite(v) || !Finite(plot->last[2])) {
            plot->run = 0;
            continue;
        }
        if (plot->run > 0) {
            const point<double> quad[4] = {plot->last[0], plot->last[1], v, plot->last[2]};
            PlotPolygon(quad, 4);
        }
        plot->last[0] = plot->last[2];
        plot->last[1] = v;
        plot->run = 1;
    }
}

}  // namespace quelt
