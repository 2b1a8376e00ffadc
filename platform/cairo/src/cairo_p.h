#pragma once

// What the Cairo platform's sources share: colours, the fixed-point guard
// and pixel reads.

#include <cairo.h>

#include <vector>

#include "quelt/paint/color.h"
#include "quelt/paint/geometry.h"

namespace quelt::cairo {

constexpr double kPi = 3.14159265358979323846;
// Cairo keeps coordinates in 24.8 fixed point; everything drawn stays this far around the device.
constexpr double kGuard = 65536.0;
constexpr double kDefaultDpi = 96.0;
constexpr _color kBlack(0, 0, 0, 255);
constexpr _color kWhite(255, 255, 255, 255);

inline _color OrDefault(_color c, _color fallback) { return c.IsColorUndefined() ? fallback : c; }

// Colours reach the device opaque: their alpha byte is not opacity.
inline void SetRgb(cairo_t *cr, _color c) {
    cairo_set_source_rgb(cr, c.GetRed() / 255.0, c.GetGreen() / 255.0, c.GetBlue() / 255.0);
}

// A pixel of an image surface, alpha unpremultiplied; the undefined colour off
// the surface or on a surface that is not an image.
_color ReadPixel(cairo_surface_t *surface, int x, int y);

// Clips the segment to the rectangle (Liang-Barsky); false when nothing is left.
bool ClipSegment(double &x1, double &y1, double &x2, double &y2, const rectangle<double> &r);

// Clips the polygon to the rectangle (Sutherland-Hodgman), so what is filled
// inside it stays exact.
std::vector<point<double>> ClipPolygon(const std::vector<point<double>> &points, const rectangle<double> &r);

}  // namespace quelt::cairo
