#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "surface.h"

using namespace quelt;
using namespace quelt::cairo;
using namespace quelt::cairo::test;

namespace {

constexpr _color kRed(255, 0, 0, 255);
constexpr _color kBlue(0, 0, 255, 255);

Pixels Row(int y, int x1, int x2) { return Box(x1, y, x2, y); }

}  // namespace

// Lines run through pixel centres and cover both end points; wider pens grow
// around the centre line; a pen of width 0 or less draws one pixel wide.
TEST(CairoPainterTest, LinesCoverExactlyTheirPixels) {
    struct Case {
        const char *name;
        int width;
        point<int> from, to;
        Pixels expected;
    };
    Pixels diagonal;
    for (int i = 0; i <= 5; ++i) diagonal.insert({2 + i, 3 + i});
    const std::vector<Case> cases = {
        {"horizontal", 1, {10, 10}, {20, 10}, Row(10, 10, 20)},
        {"backwards", 1, {20, 10}, {10, 10}, Row(10, 10, 20)},
        {"vertical", 1, {5, 3}, {5, 8}, Box(5, 3, 5, 8)},
        {"diagonal", 1, {2, 3}, {7, 8}, diagonal},
        {"one point", 1, {4, 4}, {4, 4}, Box(4, 4, 4, 4)},
        {"width 0", 0, {10, 10}, {20, 10}, Row(10, 10, 20)},
        {"width -5", -5, {10, 10}, {20, 10}, Row(10, 10, 20)},
        {"width 3", 3, {10, 10}, {20, 10}, Box(9, 9, 21, 11)},
        {"width 2", 2, {10, 10}, {20, 10}, Box(9, 9, 20, 10)},
    };
    for (const Case &c : cases) {
        Surface s(40, 30);
        s.Painter().SetPen(pen(kRed, c.width, pen::Solid));
        s.Painter().MoveTo(c.from.x, c.from.y);
        s.Painter().LineTo(c.to.x, c.to.y);
        EXPECT_EQ(s.Painted(kRed), c.expected) << c.name;
        EXPECT_EQ(s.Painted().size(), c.expected.size()) << c.name;
    }
}

// Dashes start on the first pixel; dots alternate; the null pen draws nothing.
TEST(CairoPainterTest, PenStylesPatternTheLine) {
    struct Case {
        int style;
        std::string row;  // pixels 0..15 of a line from x 0
    };
    const std::vector<Case> cases = {
        {PenSolid, "################"},   {PenDash, "######..######.."}, {PenDot, "#.#.#.#.#.#.#.#."},
        {PenDashDot, "######..#..#####"}, {PenNull, "................"}, {77, "################"},
    };
    for (const Case &c : cases) {
        Surface s(20, 5);
        s.Painter().SetPen(pen(kInk, 1, static_cast<pen::PenStyle>(c.style)));
        s.Painter().MoveTo(0, 2);
        s.Painter().LineTo(15, 2);
        // A polyline's ends are dashed as a single line's are.
        const point<double> polyline[] = {{0, 4}, {8, 4}, {15, 4}};
        s.Painter().PolyLine(polyline, 3, -1, 0);
        std::string row;
        std::string polyRow;
        for (int x = 0; x < 16; ++x) {
            row += s.At(x, 2) == kInk ? '#' : '.';
            polyRow += s.At(x, 4) == kInk ? '#' : '.';
        }
        EXPECT_EQ(row, c.row) << "style " << c.style;
        EXPECT_EQ(polyRow, c.row) << "style " << c.style;
    }
}

// Fills, outlines and shapes cover their right and bottom coordinate.
TEST(CairoPainterTest, ShapesCoverTheirInclusiveRectangle) {
    struct Case {
        const char *name;
        std::function<void(IPainter &)> draw;
        screen_rectangle<int> bounds;
        std::vector<std::pair<point<int>, _color>> probes;
    };
    const auto solid = [](IPainter &p, _color pc, _color bc) {
        p.SetPen(pen(pc, 1, pen::Solid));
        p.SetBrush(brush(bc, brush::Solid));
    };
    const std::vector<Case> cases = {
        {"fill",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.FillRect(2, 3, 7, 9);
         },
         {2, 3, 7, 9},
         {{{2, 3}, kBlue}, {{7, 9}, kBlue}, {{8, 9}, kPaper}, {{7, 10}, kPaper}}},
        {"rectangle",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.Rectangle(2, 2, 8, 6);
         },
         {2, 2, 8, 6},
         {{{2, 2}, kRed}, {{8, 6}, kRed}, {{8, 4}, kRed}, {{5, 4}, kBlue}}},
        {"rectangle, null pen",
         [&](IPainter &p) {
             p.SetPen(pen(kRed, 1, static_cast<pen::PenStyle>(PenNull)));
             p.SetBrush(brush(kBlue, brush::Solid));
             p.Rectangle(2, 2, 8, 6);
         },
         {2, 2, 8, 6},
         {{{2, 2}, kBlue}, {{8, 6}, kBlue}}},
        {"ellipse",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.Ellipse(10, 10, 30, 20);
         },
         {10, 10, 30, 20},
         {{{20, 15}, kBlue}, {{10, 15}, kRed}, {{30, 15}, kRed}, {{20, 10}, kRed}, {{10, 10}, kPaper}}},
        {"round rectangle",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.RoundRect(4, 4, 30, 20, 10, 8);
         },
         {4, 4, 30, 20},
         {{{4, 4}, kPaper}, {{30, 20}, kPaper}, {{17, 4}, kRed}, {{4, 12}, kRed}, {{17, 12}, kBlue}}},
        {"arc, first quadrant",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.Arc(10, 10, 30, 30, 0, 900);
         },
         {20, 10, 30, 20},
         {{{30, 20}, kRed}, {{20, 10}, kRed}}},
        {"arc, clockwise sweep",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.Arc(10, 10, 30, 30, 0, -900);
         },
         {20, 20, 30, 30},
         {{{30, 20}, kRed}, {{20, 30}, kRed}}},
        {"pie, second quadrant",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.Pie(10, 10, 30, 30, 900, 900);
         },
         {10, 10, 20, 20},
         {{{14, 16}, kBlue}, {{25, 15}, kPaper}}},
        {"chord, upper half",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             p.Chord(10, 10, 30, 30, 0, 1800);
         },
         {10, 10, 30, 20},
         {{{20, 14}, kBlue}, {{20, 20}, kRed}, {{20, 25}, kPaper}}},
        {"polygon",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             const point<double> pts[] = {{5, 5}, {25, 5}, {15, 20}};
             p.Polygon(pts, 3);
         },
         {5, 5, 25, 20},
         {{{5, 5}, kRed}, {{15, 8}, kBlue}, {{15, 20}, kRed}}},
        {"polyline",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             const point<double> pts[] = {{5, 5}, {25, 5}, {25, 15}};
             p.PolyLine(pts, 3, -1, 0);
         },
         {5, 5, 25, 15},
         {{{5, 5}, kRed}, {{25, 15}, kRed}, {{15, 10}, kPaper}}},
        {"bezier",
         [&](IPainter &p) {
             solid(p, kRed, kBlue);
             const point<double> pts[] = {{5, 20}, {10, 5}, {20, 5}, {25, 20}};
             p.PolyBezier(pts, 4, 0, -1);
         },
         {5, 9, 25, 20},
         {{{5, 20}, kRed}, {{25, 20}, kRed}, {{15, 9}, kRed}}},
    };
    for (const Case &c : cases) {
        Surface s(40, 32);
        c.draw(s.Painter());
        EXPECT_EQ(s.Bounds(), c.bounds) << c.name;
        for (const auto &[at, color] : c.probes)
            EXPECT_EQ(s.At(at.x, at.y), color) << c.name << " " << at.x << "," << at.y;
    }
}

// Colours are opaque whatever their alpha byte; undefined means black for the
// pen, white for the brush, the pen colour for a pixel; unknown brush styles fill.
TEST(CairoPainterTest, ColoursAreOpaqueAndUndefinedHasDefaults) {
    Surface s(20, 10);
    IPainter &p = s.Painter();
    p.SetBrush(brush(kInk, brush::Solid));
    p.FillRect(0, 0, 20, 10);
    p.SetBrush(brush(_color(0x0000FF), brush::Solid));  // red, alpha byte 0
    p.FillRect(0, 0, 1, 1);
    p.SetBrush(brush(_color(), brush::Solid));
    p.FillRect(2, 0, 3, 1);
    p.SetBrush(brush(kBlue, static_cast<brush::BrushStyle>(42)));
    p.FillRect(4, 0, 5, 1);
    p.SetPen(pen(_color(), 1, pen::Solid));
    p.SetBrush(brush(kPaper, brush::Solid));
    p.FillRect(6, 0, 19, 9);
    p.MoveTo(6, 5);
    p.LineTo(10, 5);
    p.SetPen(pen(kBlue, 1, pen::Solid));
    EXPECT_EQ(p.SetPixel(12, 5, _color()), kBlue);
    EXPECT_EQ(s.At(0, 0), kRed);
    EXPECT_EQ(s.At(2, 0), kPaper);
    EXPECT_EQ(s.At(4, 0), kBlue);
    EXPECT_EQ(s.At(8, 5), kInk);
    EXPECT_EQ(s.At(12, 5), kBlue);
    EXPECT_EQ(p.GetPixel(12, 5), kBlue);
    EXPECT_TRUE(p.GetPixel(25, 5).IsColorUndefined());
}

// Bit 0x80 of word y is the leftmost pixel of row y, repeating every 8 pixels;
// clear bits leave the device alone.
TEST(CairoPainterTest, PatternBrushTilesFromTheOrigin) {
    Surface s(16, 8);
    brush b(kRed, brush::Solid);
    const unsigned short pattern[8] = {0x80, 0x01, 0, 0, 0, 0, 0, 0xFF};
    b.SetPattern(pattern);
    s.Painter().SetBrush(b);
    s.Painter().FillRect(0, 0, 15, 7);
    Pixels expected = {{0, 0}, {8, 0}, {7, 1}, {15, 1}};
    for (const auto &px : Box(0, 7, 15, 7)) expected.insert(px);
    EXPECT_EQ(s.Painted(), expected);
}

TEST(CairoPainterTest, ClipCoversItsRightAndBottomAndPassesReset) {
    Surface s(30, 30);
    IPainter &p = s.Painter();
    p.SetClipRect(5, 5, 10, 12);
    p.SetBrush(brush(kRed, brush::Solid));
    p.FillRect(0, 0, 30, 30);
    EXPECT_EQ(s.Painted(), Box(5, 5, 10, 12));
    EXPECT_EQ(p.GetClipRect(), rectangle<double>(5, 5, 10, 12));
    p.BeginPaint(IPainter::SettingsPrint);
    EXPECT_EQ(p.GetClipRect(), rectangle<double>());
    p.SetBrush(brush(kBlue, brush::Solid));
    p.FillRect(0, 0, 30, 30);
    EXPECT_EQ(s.Painted(kBlue).size(), 900u);
}

// Opacity only where it is the point: semi-transparent fills (alpha 0 and 255 mean half) and gradients.
TEST(CairoPainterTest, SemiFillsBlendAndGradientsRunTheirWay) {
    Surface s(40, 20);
    IPainter &p = s.Painter();
    p.SemiFillRect(0, 0, 4, 4, _color(255, 0, 0, 64));
    p.SemiFillRect(5, 0, 9, 4, _color(255, 0, 0, 255));
    const _color quarter = s.At(2, 2);
    EXPECT_EQ(quarter.GetRed(), 255);
    EXPECT_NEAR(quarter.GetGreen(), 191, 1);
    EXPECT_NEAR(s.At(7, 2).GetGreen(), 127, 1);

    p.GradientFill(10, 0, 19, 19, kInk, kPaper, 0, IPainter::GradientTopToBottom);
    p.GradientFill(20, 0, 39, 9, kInk, kPaper, 4, IPainter::GradientLeftToRight);
    EXPECT_LT(s.At(15, 0).GetRed(), 10);
    EXPECT_GT(s.At(15, 19).GetRed(), 245);
    for (int y = 1; y < 20; ++y) EXPECT_GE(s.At(15, y).GetRed(), s.At(15, y - 1).GetRed());
    // Four bands of five pixels: 0, 85, 170, 255.
    const int bands[] = {0, 85, 170, 255};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.At(20 + 5 * i, 5).GetRed(), bands[i]);
        EXPECT_EQ(s.At(24 + 5 * i, 5).GetRed(), bands[i]);
    }
}

TEST(CairoPainterTest, FocusRectInvertsADottedFrameAndTwiceRestores) {
    Surface s(20, 20);
    s.Painter().FocusRect(2, 2, 12, 9);
    const Pixels once = s.Painted();
    EXPECT_FALSE(once.empty());
    for (const auto &[x, y] : once) {
        EXPECT_TRUE(x == 2 || x == 12 || y == 2 || y == 9) << x << "," << y;
        EXPECT_EQ(s.At(x, y), kInk);
    }
    EXPECT_EQ(s.At(2, 2), kInk);
    EXPECT_EQ(s.At(3, 2), kPaper);
    s.Painter().FocusRect(2, 2, 12, 9);
    EXPECT_TRUE(s.Painted().empty());
}

// Coordinates far beyond Cairo's fixed-point range still draw what is visible.
TEST(CairoPainterTest, HugeCoordinatesDrawTheirVisiblePart) {
    Surface s(30, 20);
    IPainter &p = s.Painter();
    p.CheckOutside(false);
    const point<double> triangle[] = {{-2e9, 12}, {2e9, 12}, {0, 2e9}};
    p.SetBrush(brush(kBlue, brush::Solid));
    p.SetPen(pen(kBlue, 1, pen::Solid));
    p.Polygon(triangle, 3);
    p.SetPen(pen(kRed, 1, pen::Solid));
    p.MoveTo(-2e9, 5);
    p.LineTo(2e9, 5);
    p.MoveTo(-2e9, -2e9);
    p.LineTo(2e9, 2e9);
    Pixels red = Row(5, 0, 29);
    Pixels blue = Box(0, 12, 29, 19);
    for (int i = 0; i < 20; ++i) {
        red.insert({i, i});
        blue.erase({i, i});
    }
    EXPECT_EQ(s.Painted(kRed), red);
    EXPECT_EQ(s.Painted(kBlue), blue);
    EXPECT_EQ(cairo_status(s.Device().GetContext()), CAIRO_STATUS_SUCCESS);
}

TEST(CairoPainterTest, MetricsAndStateOfAPass) {
    Surface s(400, 300);
    IPainter &p = s.Painter();
    EXPECT_EQ(p.GetMetrics(ICanvas::WidthPixels), 400);
    EXPECT_EQ(p.GetMetrics(ICanvas::HeightMillimetres), 79);
    EXPECT_EQ(p.GetMetrics(ICanvas::WidthMillimetres), 106);
    EXPECT_EQ(p.GetMetrics(MetricDotsPerInch), 96);
    EXPECT_EQ(p.GetPaintRect(), screen_rectangle<int>(0, 0, 400, 300));
    EXPECT_TRUE(p.IsPainting());
    p.EndPaint();
    EXPECT_FALSE(p.IsPainting());
    p.EndPaint();
    pen current;
    p.GetPen(current);
    EXPECT_EQ(current, pen(kInk, 1, pen::Solid));
    font f;
    p.GetFont(f);
    EXPECT_EQ(WideToUtf8(f.GetName()), "MS Shell Dialog");
}
