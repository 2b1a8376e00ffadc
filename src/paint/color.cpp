#include "quelt/paint/color.h"

#include <algorithm>
#include <cmath>

#include "core/numeric_p.h"

namespace quelt {

namespace {

// The exact factors the conversions multiply by, so results match bit for bit.
constexpr double kOver255 = 0.00392156862745098;
constexpr double kOver510 = 0.00196078431372549;
constexpr double kOver60 = 0.016666666666666666;

unsigned char ToByte(double v) {
    return static_cast<unsigned char>(std::clamp(SaturatingCast<int>(v), 0, 255));
}

// One channel of the HLS to RGB conversion; x is the hue shifted for it.
unsigned char HueToChannel(double a, double b, double x) {
    x = std::fmod(x, 360.0);
    if (x < 0) x += 360.0;
    double v = a;
    if (x < 60) {
        v = a + (b - a) * x * kOver60;
    } else if (x < 180) {
        v = b;
    } else if (x < 240) {
        v = a + (b - a) * (240 - x) * kOver60;
    }
    return ToByte(v * 255);
}

_color FromLightness(double l, double s, double h) {
    _color result;
    result.SetHLS(l, s, h);
    return result;
}

}  // namespace

unsigned char _color::GetGrayscale(double k) const {
    const int s = 77 * m_r + 151 * m_g + 28 * m_b;
    return ToByte((s * k + 50) / 256);
}

void _color::GetHLS(double &l, double &s, double &h) const {
    const int r = m_r, g = m_g, b = m_b;
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    if (max == min) {
        l = max * kOver255;
        s = 0;
        h = 0;
        return;
    }
    l = (max + min) * kOver510;
    const int d = max - min;
    s = l <= 0.5 ? static_cast<double>(d) / (max + min) : static_cast<double>(d) / (510 - max - min);
    // Ties go to red, then green; blue leads only when strictly the largest.
    if (r >= g && r >= b) {
        h = static_cast<double>((g - b) * 60) / d + 360;
    } else if (g >= b) {
        h = static_cast<double>((b - r) * 60) / d + 120;
    } else {
        h = static_cast<double>((r - g) * 60) / d + 240;
    }
    if (h >= 360) h -= 360;
}

void _color::SetHLS(double l, double s, double h) {
    if (std::isnan(l) || l <= 0) {
        SetRGB(0, 0, 0);
        return;
    }
    if (l >= 1) {
        SetRGB(255, 255, 255);
        return;
    }
    if (s == 0) {
        const unsigned char v = ToByte(l * 255);
        SetRGB(v, v, v);
        return;
    }
    if (!std::isfinite(h)) h = 0;
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    SetRGB(HueToChannel(m1, m2, h + 120), HueToChannel(m1, m2, h), HueToChannel(m1, m2, h - 120));
}

_color _color::Darker(int percent) const {
    double l, s, h;
    GetHLS(l, s, h);
    const double lighter = percent >= 100 ? 0.0 : std::clamp(l - l * percent * 0.01, 0.0, 1.0);
    return FromLightness(lighter, s, h);
}

_color _color::Lighter(int percent) const {
    double l, s, h;
    GetHLS(l, s, h);
    const double lighter = percent >= 100 ? 1.0 : std::clamp(l + (1 - l) * percent * 0.01, 0.0, 1.0);
    return FromLightness(lighter, s, h);
}

}  // namespace quelt
