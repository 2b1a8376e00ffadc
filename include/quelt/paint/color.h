#pragma once

#include "quelt/core/config.h"

namespace quelt {

// One colour: red, green, blue and alpha bytes, in that order. Read as one
// 32-bit number red is the least significant byte. The library carries alpha
// and compares it but never blends with it.
class QUELT_API _color {
  public:
    // The undefined colour: painters and controls take it as "no colour given".
    static constexpr unsigned int Undefined = 0xFFFFFFF6u;

    constexpr _color() : _color(Undefined) {}
    constexpr _color(unsigned char r, unsigned char g, unsigned char b, unsigned char a)
        : m_r(r), m_g(g), m_b(b), m_a(a) {}
    constexpr _color(unsigned int rgba)
        : m_r(static_cast<unsigned char>(rgba)),
          m_g(static_cast<unsigned char>(rgba >> 8)),
          m_b(static_cast<unsigned char>(rgba >> 16)),
          m_a(static_cast<unsigned char>(rgba >> 24)) {}

    void GetRGBA(unsigned char &r, unsigned char &g, unsigned char &b, unsigned char &a) const {
        GetRGB(r, g, b);
        a = m_a;
    }
    void GetRGB(unsigned char &r, unsigned char &g, unsigned char &b) const {
        r = m_r;
        g = m_g;
        b = m_b;
    }
    void SetRGBA(unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
        SetRGB(r, g, b);
        m_a = a;
    }
    // Alpha stays as it is.
    void SetRGB(unsigned char r, unsigned char g, unsigned char b) {
        m_r = r;
        m_g = g;
        m_b = b;
    }
    void SetRGBA(unsigned int rgba) { *this = _color(rgba); }
    constexpr unsigned int GetRGBA() const {
        return m_r | static_cast<unsigned int>(m_g) << 8 | static_cast<unsigned int>(m_b) << 16 |
               static_cast<unsigned int>(m_a) << 24;
    }

    constexpr unsigned char GetRed() const { return m_r; }
    constexpr unsigned char GetGreen() const { return m_g; }
    constexpr unsigned char GetBlue() const { return m_b; }
    constexpr unsigned char GetAlpha() const { return m_a; }
    void SetRed(unsigned char r) { m_r = r; }
    void SetGreen(unsigned char g) { m_g = g; }
    void SetBlue(unsigned char b) { m_b = b; }
    void SetAlpha(unsigned char a) { m_a = a; }

    constexpr bool operator==(const _color &other) const { return GetRGBA() == other.GetRGBA(); }
    constexpr bool operator!=(const _color &other) const { return !(*this == other); }

    constexpr bool IsGray() const { return m_r == m_g && m_g == m_b; }
    constexpr bool IsColorUndefined() const { return GetRGBA() == Undefined; }

    // Luminance (77 R + 151 G + 28 B) / 256 scaled by k, rounded and clamped
    // to 0..255; NaN k gives 0.
    unsigned char GetGrayscale(double k) const;
    // Lightness and saturation in 0..1, hue in degrees 0 <= h < 360.
    void GetHLS(double &l, double &s, double &h) const;
    // Sets red, green and blue from lightness, saturation and hue; alpha stays.
    void SetHLS(double l, double s, double h);
    // The colour with its lightness lowered (raised) by percent; alpha 255.
    _color Darker(int percent) const;
    _color Lighter(int percent) const;

  private:
    unsigned char m_r;
    unsigned char m_g;
    unsigned char m_b;
    unsigned char m_a;
};

// Platforms hand colours on as four bytes.
static_assert(sizeof(_color) == 4, "a colour is four bytes");

// Named colours, alpha 255; each user gets its own copy. Black is (1, 0, 0):
// callers compare against that exact value.
constexpr _color color_black(1, 0, 0, 255);
constexpr _color color_violet(128, 0, 255, 255);
constexpr _color color_yellow(255, 255, 0, 255);
constexpr _color color_blue(0, 0, 255, 255);
constexpr _color color_magenta(255, 0, 255, 255);
constexpr _color color_red(255, 0, 0, 255);
constexpr _color color_darkgray(79, 79, 79, 255);
constexpr _color color_gray(127, 127, 127, 255);
constexpr _color color_white(255, 255, 255, 255);
constexpr _color color_rose(255, 0, 128, 255);
constexpr _color color_orange(255, 128, 0, 255);
constexpr _color color_cyan(0, 255, 255, 255);
constexpr _color color_green(0, 255, 0, 255);
constexpr _color color_brown(165, 42, 42, 255);
constexpr _color color_midnightblue(25, 25, 112, 255);
constexpr _color color_dodgerblue(30, 144, 255, 255);
constexpr _color color_turquoise(64, 224, 208, 255);
constexpr _color color_purple(132, 0, 132, 255);
constexpr _color color_limegreen(50, 205, 50, 255);
constexpr _color color_violetred(208, 32, 144, 255);
constexpr _color color_lightyellow(255, 255, 204, 255);
constexpr _color color_skyblue(0, 204, 255, 255);
constexpr _color color_lightgray(204, 204, 204, 255);
constexpr _color color_gold(255, 204, 51, 255);
constexpr _color color_pink(250, 184, 252, 255);
constexpr _color color_lightgreen(167, 241, 146, 255);
constexpr _color color_tan(216, 193, 144, 255);

}  // namespace quelt
