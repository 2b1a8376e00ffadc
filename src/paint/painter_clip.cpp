// Outcodes, the line tests, the segment clipper and the preparation of
// rectangles and arcs for the device.

#include <cmath>
#include <utility>

#include "paint/painter_p.h"

namespace quelt {

namespace {

// Moves (x1, y1) along the segment to the given x; false when the segment is
// parallel to that edge.
bool MoveToX(double &x1, double &y1, double x2, double y2, double edge, bool truncate) {
    if (x1 == x2) return false;
    const double y = y1 + (y2 - y1) * (x1 - edge) / (x1 - x2);
    x1 = edge;
    y1 = truncate ? ToInt(y) : y;
    return true;
}

bool MoveToY(double &x1, double &y1, double x2, double y2, double edge, bool truncate) {
    if (y1 == y2) return false;
    const double x = x1 + (x2 - x1) * (y1 - edge) / (y1 - y2);
    y1 = edge;
    x1 = truncate ? ToInt(x) : x;
    return true;
}

// Brings the first end point onto the rectangle, the second one staying put.
void CutEnd(double &x1, double &y1, double x2, double y2, const rectangle<double> &r, bool truncate) {
    if (x1 < r.left) {
        MoveToX(x1, y1, x2, y2, r.left, truncate);
    } else if (x1 > r.right) {
        MoveToX(x1, y1, x2, y2, r.right, truncate);
    }
    if (y1 < r.top) {
        MoveToY(x1, y1, x2, y2, r.top, truncate);
    } else if (y1 > r.bottom) {
        MoveToY(x1, y1, x2, y2, r.bottom, truncate);
    }
}

}  // namespace

int IPainter::outcode(double x, double y, const rectangle<double> &r) {
    int code = 0;
    if (x <= r.left) {
        code |= 1;
    } else if (x >= r.right) {
        code |= 4;
    }
    if (y <= r.top) {
        code |= 2;
    } else if (y >= r.bottom) {
        code |= 8;
    }
    return code;
}

void IPainter::outcode(const double *xy, int *codes, int count, const rectangle<double> &r) {
    if (!xy || !codes) return;
    for (int i = 0; i < count; ++i) codes[i] = outcode(xy[2 * i], xy[2 * i + 1], r);
}

bool IPainter::out(const point<double> *points, int count, const rectangle<double> &r) {
    if (!points || count <= 0) return false;
    int shared = ~0;
    for (int i = 0; i < count && shared; ++i) shared &= outcode(points[i].x, points[i].y, r);
    return shared != 0;
}

int IPainter::pointfromline(double px, double py, double x1, double y1, double x2, double y2) {
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (y2 < y1) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    if (px <= ax && px <= bx) return -1;
    if (px >= ax && px >= bx) return 1;
    const int s = ax > bx ? 1 : (ax < bx ? -1 : 0);
    if (py <= ay) return -s;
    if (py >= by) return s;
    const double m = std::fabs(ax - bx) * (py - ay);
    const double n = std::fabs(ax - px) * (by - ay);
    if (m > n) return s;
    if (m == n) return 0;
    return -s;
}

bool IPainter::lineout(double x1, double y1, double x2, double y2, const rectangle<double> &r) {
    const int sum =
        pointfromline(r.left, r.top, x1, y1, x2, y2) + pointfromline(r.left, r.bottom, x1, y1, x2, y2) +
        pointfromline(r.right, r.top, x1, y1, x2, y2) + pointfromline(r.right, r.bottom, x1, y1, x2, y2);
    return sum < -2 || sum > 2;
}

void IPainter::cut(point<double> &p1, point<double> &p2, const rectangle<double> &r) {
    CutEnd(p1.x, p1.y, p2.x, p2.y, r, true);
    CutEnd(p2.x, p2.y, p1.x, p1.y, r, true);
}

void IPainter::cut(queltVertex_d *segment, const rectangle<double> &r) {
    if (!segment) return;
    CutEnd(segment->x1, segment->y1, segment->x2, segment->y2, r, false);
    CutEnd(segment->x2, segment->y2, segment->x1, segment->y1, r, false);
}

bool IPainter::clip(double x1, double y1, double x2, double y2) {
    if (!m_checkOutside) return false;
    const rectangle<double> ref = m_transform ? m_visible : PaintRect();
    return (outcode(x1, y1, ref) & outcode(x2, y2, ref)) != 0;
}

void IPainter::FixNegRect(double *x1, double *y1, double *x2, double *y2) {
    if (*x2 - *x1 < 0) std::swap(*x1, *x2);
    if (*y2 - *y1 < 0) std::swap(*y1, *y2);
}

void IPainter::prepareRect(double &x1, double &y1, double &x2, double &y2) {
    if (Transforms()) {
        MapPoint(x1, y1, true);
        MapPoint(x2, y2, true);
    }
    FixNegRect(&x1, &y1, &x2, &y2);
    if (ExcludesLastPixel()) {
        x2 += m_extX;
        y2 += m_extY;
    }
}

void IPainter::prepareParam(double &x1, double &y1, double &x2, double &y2, int &start, int &sweep) {
    if (Transforms()) {
        MapPoint(x1, y1, true);
        MapPoint(x2, y2, true);
        long long s = start, w = sweep;
        // Mirroring the axes mirrors the angles; device angles run counter-clockwise from 3 o'clock.
        if (m_swapAxes) {
            s = 2700 - s;
            w = -w;
        }
        if (m_scaleX * m_userScaleX < 0) {
            s = 1800 - s;
            w = -w;
        }
        if (m_scaleY * m_userScaleY < 0) {
            s = -s;
            w = -w;
        }
        start = Narrow(s);
        sweep = Narrow(w);
    }
    FixNegRect(&x1, &y1, &x2, &y2);
}

void IPainter::SetClipRect(double x1, double y1, double x2, double y2) {
    m_clipping = true;
    prepareRect(x1, y1, x2, y2);
    internalSetClipRect(ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

rectangle<double> IPainter::GetClipRect() {
    const screen_rectangle<int> device = internalGetClipRect();
    rectangle<double> r(device.left, device.top, device.right, device.bottom);
    const bool any = device.left != 0 || device.top != 0 || device.right != 0 || device.bottom != 0;
    if (any && Transforms()) {
        UnmapPoint(r.left, r.top, true);
        UnmapPoint(r.right, r.bottom, true);
    }
    return r;
}

}  // namespace quelt
