#pragma once

// What the painter's sources share: the plot buffer, the metrics cache and
// the small conversions every drawing call makes.

#include <cmath>
#include <utility>
#include <vector>

#include "core/numeric_p.h"
#include "quelt/paint/painter.h"

namespace quelt {

// Truncation toward zero, saturated; NaN gives 0.
inline int ToInt(double v) { return SaturatingCast<int>(v); }
inline int Narrow(long long v) { return SaturatingNarrow<int>(v); }
inline point<int> ToInt(const point<double> &p) { return {ToInt(p.x), ToInt(p.y)}; }
inline bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }
inline bool Finite(const point<double> &p) { return Finite(p.x, p.y); }

// Drawing rejects with strict codes: only beyond an edge is outside, so lines
// lying on the canvas edge are kept.
inline int StrictCode(double x, double y, const rectangle<double> &r) {
    int code = 0;
    if (x < r.left) {
        code |= 1;
    } else if (x > r.right) {
        code |= 4;
    }
    if (y < r.top) {
        code |= 2;
    } else if (y > r.bottom) {
        code |= 8;
    }
    return code;
}
inline int StrictCode(const point<double> &p, const rectangle<double> &r) { return StrictCode(p.x, p.y, r); }

// Device values sit at x.25 or x.75 after the bias, so truncation lands on the
// intended pixel despite rounding noise in the scales.
inline double Bias(double v) { return v > 0 ? v + 0.25 : (v < 0 ? v - 0.25 : v); }

// The pipeline's steps are inline here: every drawing call runs them.
inline void IPainter::MapPoint(double &x, double &y, bool user) const {
    if (m_swapAxes) std::swap(x, y);
    if (user) {
        x = m_userScaleX * x + m_userTransX;
        y = m_userScaleY * y + m_userTransY;
    }
    x = Bias((x - m_logOriginX) * m_scaleX + m_devOriginX);
    y = Bias((y - m_logOriginY) * m_scaleY + m_devOriginY);
}

inline void IPainter::UnmapPoint(double &x, double &y, bool user) const {
    x = (x - m_devOriginX) / m_scaleX + m_logOriginX;
    y = (y - m_devOriginY) / m_scaleY + m_logOriginY;
    if (user) {
        x = (x - m_userTransX) / m_userScaleX;
        y = (y - m_userTransY) / m_userScaleY;
    }
    if (m_swapAxes) std::swap(x, y);
}

inline bool IPainter::MapForDevice(double &x, double &y) const {
    if (Transforms()) MapPoint(x, y, true);
    return Finite(x, y);
}

inline rectangle<double> IPainter::PaintRect() const { return m_paintBounds; }

inline rectangle<double> IPainter::Reference() const { return Transforms() ? m_visible : PaintRect(); }

// The plot in progress and what its routines carry from one batch to the
// next, so that batching never changes the drawing.
struct IPainter::PlotBuffer {
    PlotType type = PlotPoints;
    bool open = false;
    bool first = true;
    bool final = true;
    int count = 0;
    point<double> logical[PlotBatch];
    point<double> device[PlotBatch];

    // Vertices of the current unbroken run (a non-finite vertex breaks it) and the last three of them
    // (strips keep only last[2] up to date).
    int run = 0;
    point<double> last[3];
    // The device's current position is last[2], so a strip needs no move before its next segment.
    bool atLast = false;
    // A loop closes to its first finite vertex; a fan turns around it.
    bool hasLoopFirst = false;
    point<double> loopFirst;
    // Quad strips pair vertices by their index in the whole plot.
    long long index = 0;
    // Bezier points not yet sent: the last whole curve's end and the leftovers.
    std::vector<point<int>> bezier;

    void Restart(PlotType t) {
        type = t;
        open = true;
        first = true;
        final = true;
        count = 0;
        run = 0;
        atLast = false;
        hasLoopFirst = false;
        index = 0;
        bezier.clear();
    }
    void Push(const point<double> &p) {
        last[0] = last[1];
        last[1] = last[2];
        last[2] = p;
        ++run;
    }
};

struct IPainter::MetricsCache {
    bool valid = false;
    fontmetrics metrics;
};

}  // namespace quelt
