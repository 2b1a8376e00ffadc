#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "quelt/paint/attributes.h"
#include "quelt/paint/color.h"
#include "quelt/paint/geometry.h"

namespace quelt {
namespace {

struct Rgb {
    int r, g, b;
};

::testing::AssertionResult HasRgb(const _color &c, Rgb want) {
    if (c.GetRed() == want.r && c.GetGreen() == want.g && c.GetBlue() == want.b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got (" << int(c.GetRed()) << "," << int(c.GetGreen()) << "," << int(c.GetBlue()) << "), want ("
           << want.r << "," << want.g << "," << want.b << ")";
}

_color Opaque(Rgb c) { return _color(c.r, c.g, c.b, 255); }

TEST(ColorTest, BytesAndTheThirtyTwoBitFormAgree) {
    _color c(0x11223344u);
    EXPECT_EQ(c.GetRed(), 0x44);
    EXPECT_EQ(c.GetGreen(), 0x33);
    EXPECT_EQ(c.GetBlue(), 0x22);
    EXPECT_EQ(c.GetAlpha(), 0x11);
    unsigned char r, g, b, a;
    c.GetRGBA(r, g, b, a);
    EXPECT_EQ(_color(r, g, b, a), c);
    EXPECT_EQ(_color(1, 2, 3, 4).GetRGBA(), 0x04030201u);

    c.SetRGB(9, 8, 7);
    EXPECT_EQ(c.GetRGBA(), 0x11070809u);
    c.SetRGBA(0xAABBCCDDu);
    c.SetAlpha(1);
    c.SetRed(2);
    EXPECT_EQ(c.GetRGBA(), 0x01BBCC02u);
    c.SetRGBA(5, 6, 7, 8);
    EXPECT_EQ(c.GetRGBA(), 0x08070605u);
    c.SetGreen(0);
    c.SetBlue(0);
    c.GetRGB(r, g, b);
    EXPECT_EQ(r + g + b, 5);
}

TEST(ColorTest, UndefinedColourAndEquality) {
    EXPECT_TRUE(_color().IsColorUndefined());
    EXPECT_EQ(_color(), _color(0xFFFFFFF6u));
    EXPECT_EQ(_color(), _color(static_cast<unsigned int>(-10)));
    EXPECT_TRUE(_color(0xF6, 0xFF, 0xFF, 0xFF).IsColorUndefined());
    EXPECT_FALSE(_color(0xF6, 0xFF, 0xFF, 0xFE).IsColorUndefined());
    EXPECT_NE(_color(1, 2, 3, 4), _color(1, 2, 3, 5));
    EXPECT_EQ(color_black, _color(1, 0, 0, 255));
    EXPECT_EQ(color_tan.GetRGBA(), 0xFF90C1D8u);
    EXPECT_TRUE(color_gray.IsGray());
    EXPECT_FALSE(color_black.IsGray());
}

TEST(ColorTest, GrayscaleIsScaledRoundedLuminanceClamped) {
    const struct {
        Rgb c;
        double k;
        int want;
    } cases[] = {
        {{255, 255, 255}, 1, 255}, {{0, 0, 0}, 1, 0},         {{10, 20, 30}, 1, 18},
        {{255, 0, 0}, 1, 76},      {{0, 255, 0}, 0.5, 75},    {{0, 0, 255}, 1.7, 47},
        {{255, 255, 255}, 2, 255}, {{200, 200, 200}, 2, 255}, {{100, 100, 100}, -1, 0},
        {{1, 1, 1}, 1e300, 255},
    };
    for (const auto &t : cases) EXPECT_EQ(Opaque(t.c).GetGrayscale(t.k), t.want) << t.c.r << " k " << t.k;
    EXPECT_EQ(color_white.GetGrayscale(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ColorTest, RgbToHls) {
    const struct {
        Rgb c;
        double l, s, h;
    } cases[] = {
        {{255, 0, 0}, 0.5, 1, 0},
        {{255, 128, 0}, 0.5, 1, 30.117647058823536},
        {{0, 255, 0}, 0.5, 1, 120},
        {{0, 0, 255}, 0.5, 1, 240},
        {{255, 255, 0}, 0.5, 1, 60},   // red and green tie: red leads
        {{0, 255, 255}, 0.5, 1, 180},  // green and blue tie: green leads
        {{200, 10, 200}, 0.4117647058823529, 0.9047619047619048, 300},
        {{212, 208, 200}, 0.807843137254902, 0.12244897959183673, 40},  // light: s over 510 - max - min
        {{15, 15, 75}, 0.1764705882352941, 0.6666666666666666, 240},
        {{30, 144, 255}, 0.5588235294117647, 1, 209.6},
        {{128, 128, 128}, 0.5019607843137255, 0, 0},
        {{0, 0, 0}, 0, 0, 0},
    };
    for (const auto &t : cases) {
        double l = -1, s = -1, h = -1;
        Opaque(t.c).GetHLS(l, s, h);
        EXPECT_DOUBLE_EQ(l, t.l) << t.c.r << "," << t.c.g << "," << t.c.b;
        EXPECT_DOUBLE_EQ(s, t.s) << t.c.r << "," << t.c.g << "," << t.c.b;
        EXPECT_DOUBLE_EQ(h, t.h) << t.c.r << "," << t.c.g << "," << t.c.b;
    }
}

TEST(ColorTest, HlsToRgbTruncatesAndKeepsAlpha) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double l, s, h;
        Rgb want;
    } cases[] = {
        {0.5, 1, 0, {255, 0, 0}},
        {0.5, 1, -30, {255, 0, 127}},
        {0.5, 1, 390, {255, 127, 0}},
        {0.5, 1, -720.5, {255, 0, 2}},
        {0.25, 0.5, 200, {31, 74, 95}},
        {0.75, 0.5, 100, {180, 223, 159}},
        {0.4117647058823529, 0.9047619047619048, 180, {10, 199, 199}},  // truncated, not rounded
        {0.3, 0, 123, {76, 76, 76}},
        {0.6, 2, 50, {255, 255, 0}},  // out-of-range channels clamp
        {0.5, 1, inf, {255, 0, 0}},
        {0.5, 1, nan, {255, 0, 0}},
        {0.5, nan, 0, {0, 0, 0}},
        {nan, 1, 0, {0, 0, 0}},
        {-0.1, 1, 0, {0, 0, 0}},
        {1, 1, 0, {255, 255, 255}},
        {1e300, 0, 0, {255, 255, 255}},
    };
    for (const auto &t : cases) {
        _color c(1, 2, 3, 77);
        c.SetHLS(t.l, t.s, t.h);
        EXPECT_TRUE(HasRgb(c, t.want)) << t.l << " " << t.s << " " << t.h;
        EXPECT_EQ(c.GetAlpha(), 77);
    }
}

TEST(ColorTest, DarkerAndLighterMoveLightnessAndSetAlpha) {
    const struct {
        Rgb c;
        int percent;
        Rgb darker, lighter;
    } cases[] = {
        {{255, 0, 0}, 30, {178, 0, 0}, {254, 76, 76}},
        {{255, 128, 0}, 30, {178, 89, 0}, {254, 166, 76}},
        {{64, 224, 208}, 30, {28, 173, 158}, {121, 233, 222}},
        {{128, 128, 128}, 60, {51, 51, 51}, {204, 204, 204}},
        {{212, 208, 200}, 60, {92, 85, 72}, {237, 236, 233}},
        {{30, 144, 255}, 0, {30, 144, 255}, {30, 144, 255}},
        {{15, 15, 75}, 100, {0, 0, 0}, {255, 255, 255}},  // exactly black and white at 100
        {{255, 0, 0}, 200, {0, 0, 0}, {255, 255, 255}},
        {{0, 0, 128}, -50, {0, 0, 192}, {0, 0, 0}},  // below 0 the lightness clamps
    };
    for (const auto &t : cases) {
        const _color c(t.c.r, t.c.g, t.c.b, 10);
        const _color d = c.Darker(t.percent), l = c.Lighter(t.percent);
        EXPECT_TRUE(HasRgb(d, t.darker)) << t.c.r << "," << t.c.g << "," << t.c.b << " by " << t.percent;
        EXPECT_TRUE(HasRgb(l, t.lighter)) << t.c.r << "," << t.c.g << "," << t.c.b << " by " << t.percent;
        EXPECT_EQ(d.GetAlpha(), 255);
        EXPECT_EQ(l.GetAlpha(), 255);
    }
    for (int p : {10, 50, 90}) {
        EXPECT_TRUE(color_gray.Darker(p).IsGray());
        EXPECT_TRUE(color_gray.Lighter(p).IsGray());
    }
}

TEST(ColorTest, PensBrushesAndFontsCompareTheirMembers) {
    const pen p;
    EXPECT_EQ(p.GetColor(), _color(0, 0, 0, 1));
    EXPECT_EQ(p.GetWidth(), 0);
    EXPECT_EQ(p.GetStyle(), pen::Solid);
    EXPECT_NE(p, pen(_color(0, 0, 0, 1), 1, pen::Solid));
    EXPECT_NE(p, pen(_color(0, 0, 0, 1), 0, static_cast<pen::PenStyle>(7)));
    EXPECT_EQ(p, pen(_color(0, 0, 0, 1), 0, pen::Solid));

    brush a, b;
    EXPECT_EQ(a.GetStyle(), brush::Solid);
    for (int i = 0; i < brush::PatternRows; ++i) EXPECT_EQ(a.GetPattern()[i], 0);
    const unsigned short pattern[8] = {1, 2, 3, 4, 5, 6, 7, 0xFFFF};
    b.SetPattern(pattern);
    EXPECT_EQ(b.GetStyle(), brush::Pattern);
    EXPECT_EQ(b.GetPattern()[7], 0xFFFF);
    b.SetPattern(nullptr);
    EXPECT_EQ(b.GetPattern()[0], 1);
    a.SetStyle(brush::Pattern);
    EXPECT_EQ(a, b);  // the pattern takes no part
    brush c = b;
    EXPECT_EQ(c.GetPattern()[3], 4);
    EXPECT_NE(brush(color_red, brush::NoFill), brush(color_red, brush::Solid));

    const font f;
    EXPECT_TRUE(f.Assigned());
    EXPECT_EQ(f.GetFamily(), font::DefaultFamily);
    EXPECT_EQ(f.GetPointSize(), 8);
    font g(u"Serif"_w, font::DefaultFamily, 0, 1, 900);
    EXPECT_FALSE(g.Assigned());
    EXPECT_NE(f, g);
    g = f;
    EXPECT_EQ(f, g);
    g.SetName(u"serif"_w);
    EXPECT_NE(f, g);
}

TEST(ColorTest, GeometryStartsZeroedAndComparesMembers) {
    EXPECT_EQ(point<int>(), point<int>(0, 0));
    EXPECT_NE(point<double>(1, 2), point<double>(2, 1));
    EXPECT_EQ(size<int>(3, 4).cy, 4);
    EXPECT_NE(size<int>(3, 4), size<int>(3, 5));
    const rectangle<double> r(1, 2, 3, 4);
    EXPECT_EQ(r, rectangle<double>(1, 2, 3, 4));
    EXPECT_NE(r, rectangle<double>(1, 2, 3, 5));
    EXPECT_NE(r, rectangle<double>(0, 2, 3, 4));
    EXPECT_EQ(screen_rectangle<int>(), screen_rectangle<int>(0, 0, 0, 0));
    EXPECT_NE(screen_rectangle<int>(0, 0, 0, 1), screen_rectangle<int>());
    EXPECT_NE(screen_rectangle<int>(0, 1, 0, 0), screen_rectangle<int>());
}

}  // namespace
}  // namespace quelt
