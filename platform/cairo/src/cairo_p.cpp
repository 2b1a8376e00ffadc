#include "cairo_p.h"

#include <cmath>
#include <cstdint>

namespace quelt::cairo {

_color ReadPixel(cairo_surface_t *surface, int x, int y) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return _color();
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return _color();
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) ||
        y >= cairo_image_surface_get_height(surface))
        return _color();
    cairo_surface_flush(surface);
    const unsigned char *row = cairo_image_surface_get_data(surface) +
                               static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
    const std::uint32_t argb = reinterpret_cast<const std::uint32_t *>(row)[x];
    const unsigned a = format == CAIRO_FORMAT_RGB24 ? 255 : argb >> 24;
    if (a == 0) return _color(0, 0, 0, 0);
    const auto channel = [a](std::uint32_t premultiplied) {
        return static_cast<unsigned char>((premultiplied * 255 + a / 2) / a);
    };
    return _color(channel(argb >> 16 & 0xFF), channel(argb >> 8 & 0xFF), channel(argb & 0xFF),
                  static_cast<unsigned char>(a));
}

bool ClipSegment(double &x1, double &y1, double &x2, double &y2, const rectangle<double> &r) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - r.left, r.right - x1, y1 - r.top, r.bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const double sx = x1;
    const double sy = y1;
    x1 = sx + t0 * dx;
    y1 = sy + t0 * dy;
    x2 = sx + t1 * dx;
    y2 = sy + t1 * dy;
    return true;
}

std::vector<point<double>> ClipPolygon(const std::vector<point<double>> &points, const rectangle<double> &r) {
    // One edge at a time: inside(p) and the crossing of a segment with the edge.
    const auto clipEdge = [](const std::vector<point<double>> &in, auto inside, auto cross) {
        std::vector<point<double>> out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            const point<double> &a = in[i];
            const point<double> &b = in[(i + 1) % in.size()];
            if (inside(a)) out.push_back(a);
            if (inside(a) != inside(b)) out.push_back(cross(a, b));
        }
        return out;
    };
    const auto atX = [](double x) {
        return [x](const point<double> &a, const point<double> &b) {
            return point<double>(x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x));
        };
    };
    const auto atY = [](double y) {
        return [y](const point<double> &a, const point<double> &b) {
            return point<double>(a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y);
        };
    };
    std::vector<point<double>> out = points;
    out = clipEdge(
        out, [&](const point<double> &p) { return p.x >= r.left; }, atX(r.left));
    out = clipEdge(
        out, [&](const point<double> &p) { return p.x <= r.right; }, atX(r.right));
    out = clipEdge(
        out, [&](const point<double> &p) { return p.y >= r.top; }, atY(r.top));
    out = clipEdge(
        out, [&](const point<double> &p) { return p.y <= r.bottom; }, atY(r.bottom));
    return out;
}

}  // namespace quelt::cairo
