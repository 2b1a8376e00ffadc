#pragma once

#include "quelt/core/config.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/color.h"

namespace quelt {

// A line attribute: colour, width in device units, style. Styles other than
// the solid line are the platform painter's and pass through unchanged.
class QUELT_API pen {
  public:
    enum PenStyle : int { Solid = 1 };

    pen() = default;
    pen(_color color, int width, PenStyle style) : m_color(color), m_width(width), m_style(style) {}

    _color GetColor() const { return m_color; }
    void SetColor(_color color) { m_color = color; }
    int GetWidth() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    PenStyle GetStyle() const { return m_style; }
    void SetStyle(PenStyle style) { m_style = style; }

    bool operator==(const pen &o) const {
        return m_color == o.m_color && m_width == o.m_width && m_style == o.m_style;
    }
    bool operator!=(const pen &o) const { return !(*this == o); }

  private:
    _color m_color{0, 0, 0, 1};
    int m_width = 0;
    PenStyle m_style = Solid;
};

// A fill attribute: colour, style and an 8 x 8 bit pattern, one word a row.
// Codes other than those named pass through to the platform painter.
class QUELT_API brush {
  public:
    enum BrushStyle : int { NoFill = 0, Solid = 1, Pattern = 8 };
    static constexpr int PatternRows = 8;

    brush() = default;
    brush(_color color, BrushStyle style) : m_color(color), m_style(style) {}

    _color GetColor() const { return m_color; }
    void SetColor(_color color) { m_color = color; }
    BrushStyle GetStyle() const { return m_style; }
    void SetStyle(BrushStyle style) { m_style = style; }
    // Copies eight words and switches to the pattern style; null changes nothing.
    void SetPattern(const unsigned short *pattern) {
        if (!pattern) return;
        for (int i = 0; i < PatternRows; ++i) m_pattern[i] = pattern[i];
        m_style = Pattern;
    }
    const unsigned short *GetPattern() const { return m_pattern; }

    // The pattern takes no part: brushes of one colour and style are equal.
    bool operator==(const brush &o) const { return m_color == o.m_color && m_style == o.m_style; }
    bool operator!=(const brush &o) const { return !(*this == o); }

  private:
    _color m_color{0, 0, 0, 1};
    BrushStyle m_style = Solid;
    unsigned short m_pattern[PatternRows] = {};
};

// A text attribute. Family codes, style flags and the angle unit are the
// platform painter's; the library passes them through.
class QUELT_API font {
  public:
    enum FontFamily : int { DefaultFamily = 3 };

    font() = default;
    font(const wstring &name, FontFamily family, int pointSize, int style, int angle)
        : m_name(name), m_family(family), m_pointSize(pointSize), m_style(style), m_angle(angle) {}

    const wstring &GetName() const { return m_name; }
    void SetName(const wstring &name) { m_name = name; }
    FontFamily GetFamily() const { return m_family; }
    void SetFamily(FontFamily family) { m_family = family; }
    int GetPointSize() const { return m_pointSize; }
    void SetPointSize(int pointSize) { m_pointSize = pointSize; }
    int GetFontStyle() const { return m_style; }
    void SetFontStyle(int style) { m_style = style; }
    int GetAngle() const { return m_angle; }
    void SetAngle(int angle) { m_angle = angle; }

    bool Assigned() const { return m_pointSize > 0; }

    bool operator==(const font &o) const {
        return m_name == o.m_name && m_family == o.m_family && m_pointSize == o.m_pointSize &&
               m_style == o.m_style && m_angle == o.m_angle;
    }
    bool operator!=(const font &o) const { return !(*this == o); }

  private:
    wstring m_name;
    FontFamily m_family = DefaultFamily;
    int m_pointSize = 8;
    int m_style = 0;
    int m_angle = 0;
};

// Filled by the platform painter only; the library reads the line height and
// the spacing between lines.
struct fontmetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int avgCharWidth = 0;
    int externalLeading = 0;
    int maxCharWidth = 0;
};

}  // namespace quelt
