#include <limits>
#include <string>

#include "paint/painter_fixture.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const _color kRed(255, 0, 0, 255);

using DrawTest = PainterTest;

TEST_F(DrawTest, BeginPaintEndsAnOpenPassAndResetsTheState) {
    p.SetColorMode(true);
    p.SetClearColor(kRed);
    p.SetUpdateRect({1, 2, 3, 4});
    p.Scale(2, 2, true);
    p.CheckOutside(false);
    p.SetTransform(false);
    p.SetPointStyle({3, 4});
    p.SetPen(pen(kRed, 3, pen::Solid));
    p.Clear();
    p.BeginPaint(IPainter::SettingsPrint);
    EXPECT_EQ(Take(), (Lines{"EndPaint", "ApplyStdSettings 0", "StartPaint"}));
    EXPECT_EQ(p.UserScaleX(), 1);
    EXPECT_TRUE(p.IsCheckOutside());
    EXPECT_TRUE(p.GetTransform());
    EXPECT_EQ(p.CachedPen(), pen(_color(0, 0, 0, 255), 1, pen::Solid));
    EXPECT_EQ(p.CachedBrush(), brush(_color(0, 0, 0, 255), brush::NoFill));
    // What survives a pass.
    EXPECT_TRUE(p.GetColorMode());
    EXPECT_EQ(p.GetClearColor(), _color(76, 76, 76, 255));
    EXPECT_EQ(p.GetUpdateRect(), screen_rectangle<int>(1, 2, 3, 4));
    p.EndPaint();
    p.Clear();
    p.BeginPaint(IPainter::SettingsPreview);
    EXPECT_EQ(p.Count("GetPaintRect"), 1);
    EXPECT_EQ(Take(), (Lines{"ApplyStdSettings 2", "StartPaint"}));
}

TEST_F(DrawTest, PenAndBrushReachTheDeviceOnlyWhenTheyChange) {
    p.SetPen(pen(_color(0, 0, 0, 255), 1, pen::Solid));
    p.SetBrush(brush(_color(0, 0, 0, 255), brush::NoFill));
    EXPECT_TRUE(Take().empty());
    p.SetPen(pen(kRed, 1, pen::Solid));
    p.SetPen(pen(kRed, 1, pen::Solid));
    p.SetPen(pen(kRed, 2, pen::Solid));
    p.SetPen(pen(kRed, 2, pen::PenStyle(2)));
    EXPECT_EQ(Take(), (Lines{"internalSetPen 255,0,0,255 1 1", "internalSetPen 255,0,0,255 2 1",
                             "internalSetPen 255,0,0,255 2 2"}));
    // A new pass resets the cache: the same pen goes to the device again.
    p.SetPen(pen(kRed, 1, pen::Solid));
    p.BeginPaint(IPainter::SettingsPreview);
    p.Clear();
    p.SetPen(pen(kRed, 1, pen::Solid));
    EXPECT_EQ(Take(), Lines{"internalSetPen 255,0,0,255 1 1"});

    const unsigned short a[8] = {0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55};
    const unsigned short b[8] = {0xff, 0, 0xff, 0, 0xff, 0, 0xff, 0};
    brush solid(kRed, brush::Solid);
    brush solidWithPattern = solid;
    solidWithPattern.SetPattern(a);
    solidWithPattern.SetStyle(brush::Solid);
    brush patternA(kRed, brush::Solid), patternB(kRed, brush::Solid);
    patternA.SetPattern(a);
    patternB.SetPattern(b);
    p.SetBrush(solid);
    p.SetBrush(solidWithPattern);
    p.SetBrush(patternA);
    p.SetBrush(patternB);
    p.SetBrush(patternB);
    EXPECT_EQ(Take(), (Lines{"internalSetBrush 255,0,0,255 1",
                             "internalSetBrush 255,0,0,255 8 aa 55 aa 55 aa 55 aa 55",
                             "internalSetBrush 255,0,0,255 8 ff 0 ff 0 ff 0 ff 0"}));
    pen got;
    p.GetPen(got);
    EXPECT_EQ(got, pen(kRed, 1, pen::Solid));
}

TEST_F(DrawTest, GrayModeConvertsEveryColourGiven) {
    struct Case {
        _color in;
        std::string out;
    } cases[] = {
        {kRed, "76,76,76,255"},
        {_color(128, 128, 128, 255), "128,128,128,255"},
        {_color(252, 252, 252, 255), "252,252,252,255"},
        {_color(1, 1, 1, 255), "1,1,1,255"},
        {_color(100, 150, 200, 7), "140,140,140,255"},
        {_color(0, 255, 0, 255), "150,150,150,255"},
        {_color(0, 0, 255, 0), "28,28,28,255"},
        {_color(255, 255, 255, 255), "255,255,255,255"},
        {_color(), "246,255,255,255"},
    };
    p.SetColorMode(true);
    for (const Case &c : cases) {
        p.SetTextColor(c.in);
        p.SetBkColor(c.in);
        p.SetPixel(5, 6, c.in);
        p.SetPen(pen(c.in, 7, pen::Solid));
        p.SetBrush(brush(c.in, brush::Solid));
        const Lines log = Take();
        ASSERT_EQ(log.size(), 5u);
        EXPECT_EQ(log[0], "internalSetTextColor " + c.out);
        EXPECT_EQ(log[1], "internalSetBkColor " + c.out);
        EXPECT_EQ(log[2], "internalSetPixel 5 6 " + c.out);
        EXPECT_EQ(log[3], "internalSetPen " + c.out + " 7 1");
        EXPECT_EQ(log[4], "internalSetBrush " + c.out + " 1");
        p.SetPen(pen());
        p.SetBrush(brush());
        p.Clear();
    }
    p.SetClearColor(_color());
    EXPECT_EQ(p.GetClearColor(), _color(252, 252, 252, 255));
    _color undefined;
    TestPainter::graycolor(undefined);
    EXPECT_EQ(undefined, _color(252, 252, 252, 255));
    // Gradients keep their colours.
    p.GradientFill(10, 10, 50, 40, kRed, _color(0, 0, 255, 9), 5, IPainter::GradientTopToBottom);
    EXPECT_EQ(Take(), Lines{"internalGradientFillA 10 10 50 40 255,0,0,255 0,0,255,9 5"});
    p.SetColorMode(false);
    p.SetClearColor(_color());
    EXPECT_TRUE(p.GetClearColor().IsColorUndefined());
    p.SetTextColor(kRed);
    EXPECT_EQ(Take(), Lines{"internalSetTextColor 255,0,0,255"});
}

TEST_F(DrawTest, RectangularShapesRejectPrepareAndPullIn) {
    struct Case {
        double x1, y1, x2, y2;
        const char *args;  // null: nothing drawn
    } cases[] = {
        {10, 10, 50, 40, "10 10 50 40"},
        {50, 40, 10, 10, "10 10 50 40"},
        {10.6, 10.2, 50.9, 40.99, "10 10 50 40"},
        {-1000, 10, 50, 40, "-2 10 50 40"},
        {0, 0, 1e300, 1e300, "0 0 202 102"},
        {-1e300, -kInf, 300, 300, nullptr},
        {10, 10, 10, 40, nullptr},
        {10, 20, 50, 20, nullptr},
        {-50, 10, -10, 40, nullptr},
        {-50, 10, 0, 40, nullptr},
        {250, 10, 200, 40, nullptr},
        {kNaN, 10, 50, 40, nullptr},
        {0, 0, 200, 100, "0 0 200 100"},
    };
    const char *ops[] = {"internalFillRect", "internalRectangle", "internalFocusRect",
                         "internalSemiFillRect"};
    for (const Case &c : cases) {
        p.FillRect(c.x1, c.y1, c.x2, c.y2);
        p.Rectangle(rectangle<double>(c.x1, c.y1, c.x2, c.y2));
        p.FocusRect(c.x1, c.y1, c.x2, c.y2);
        p.SemiFillRect(c.x1, c.y1, c.x2, c.y2, kRed);
        Lines expected;
        for (const char *op : ops) {
            if (c.args) expected.push_back(std::string(op) + " " + c.args);
        }
        if (c.args) expected.back() += " 255,0,0,255";
        EXPECT_EQ(Take(), expected) << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2;
    }
    // The pull-in reaches as far as the pen, at least one pixel.
    p.SetPen(pen(kRed, 5, pen::Solid));
    p.SetPen(pen(kRed, 5, pen::Solid));
    p.Clear();
    p.FillRect(-1000, -1000, 1000, 1000);
    EXPECT_EQ(Take(), Lines{"internalFillRect -6 -6 206 106"});
    p.SetPen(pen(kRed, -3, pen::Solid));
    p.Clear();
    p.FillRect(-1000, -1000, 1000, 1000);
    p.CheckOutside(false);
    p.FillRect(0, 0, 1e300, 1e300);
    p.FillRect(-50, 10, -10, 40);
    EXPECT_EQ(Take(), (Lines{"internalFillRect -1 -1 201 101", "internalFillRect 0 0 2147483647 2147483647",
                             "internalFillRect -50 10 -10 40"}));
    // Devices that leave out the last pixel get the extension.
    p.CheckOutside(true);
    p.SetExcludesLastPixel(true, 1, 1);
    p.FillRect(10, 10, 50, 40);
    EXPECT_EQ(Take(), Lines{"internalFillRect 10 10 51 41"});
}

TEST_F(DrawTest, GradientsEllipsesRoundRectsAndControlElements) {
    p.GradientFill(-1000, 10, 50, 40, kRed, kRed, 3, IPainter::GradientTopToBottom);
    p.GradientFill(rectangle<double>(10, 10, 50, 40), kRed, kRed, 3, IPainter::GradientLeftToRight);
    p.GradientFill(10, 10, 50, 40, kRed, kRed, 3, IPainter::GradientDirection(7));
    p.GradientFill(10, 10, 10, 40, kRed, kRed, 3, IPainter::GradientTopToBottom);
    p.Ellipse(-1000, 10, 50, 40);
    p.Ellipse(10, 10, 10, 40);
    p.Ellipse(-50, 10, -10, 40);
    p.RoundRect(10, 10, 50, 40, -1, -1);
    p.RoundRect(10, 10, 50, 40, 6, 4);
    p.RoundRect(-1000, -1000, 50, 40, 6, 4);
    p.RoundRect(10, 10, 50, 40, -1, 4);
    p.DrawControlElement(IPainter::ControlElement(3), -100, -100, -50, -50, true);
    p.AlphaBlend(10, 10, 50, 40, nullptr, 128);
    p.AlphaBlend(10, 10, 50, 40, nullptr, static_cast<unsigned char *>(nullptr));
    EXPECT_EQ(Take(), (Lines{
                          "internalGradientFillA -1000 10 50 40 255,0,0,255 255,0,0,255 3",
                          "internalGradientFillB 10 10 50 40 255,0,0,255 255,0,0,255 3",
                          "internalGradientFillB 10 10 50 40 255,0,0,255 255,0,0,255 3",
                          "internalEllipse -1000 10 50 40",
                          "internalEllipse 10 10 10 40",
                          "internalRectangle 10 10 50 40",
                          "internalRoundRect 10 10 50 40 6 4",
                          "internalRoundRect -7 -5 50 40 6 4",
                          "internalRoundRect 10 10 50 40 1 4",
                          "internalDrawControlElement 3 -100 -100 -50 -50 1",
                      }));
    // Corners are lengths through the map and user scales, whatever their sign.
    p.Scale(2, -2, true);
    p.Clear();
    p.RoundRect(5, -5, 25, -20, -3, 2);
    EXPECT_EQ(Take(), Lines{"internalRoundRect 10 10 50 40 6 4"});
    IPainter::CoordInfo swap;
    swap.swapXY = true;
    swap.width = 100;
    swap.height = 100;
    p.BeginPaint(IPainter::SettingsPreview);
    p.SetCoordSystem(IPainter::MapCustom, &swap);
    p.Clear();
    p.RoundRect(5, 5, 10, 20, 3, 1);
    EXPECT_EQ(Take(), Lines{"internalRoundRect 10 5 40 10 2 3"});
}

TEST_F(DrawTest, PixelsAndPositions) {
    EXPECT_EQ(p.SetPixel(10.6, 20.2, kRed), kRed);
    EXPECT_EQ(p.SetPixel(kNaN, 1, kRed), _color());
    EXPECT_EQ(p.SetPixel(point<double>(1, 2), _color()), _color(0, 0, 0, 255));
    EXPECT_EQ(Take(), (Lines{"internalSetPixel 10 20 255,0,0,255", "internalSetPixel 1 2 246,255,255,255"}));
    p.SetDevicePixel(3, 4, _color(0, 0, 255, 255));
    p.Scale(2, 2, true);
    EXPECT_EQ(p.GetPixel(1.5, 2), _color(0, 0, 255, 255));
    EXPECT_TRUE(p.GetPixel(point<double>(kInf, 2)).IsColorUndefined());

    p.MoveTo(5, 6);
    EXPECT_EQ(p.MoveTo(point<double>(55, 10)), point<double>(10, 12));
    EXPECT_EQ(p.DevicePos(), point<int>(110, 20));
    EXPECT_EQ(p.GetCurrentPos(), point<double>(55, 10));
    EXPECT_EQ(p.MoveTo(kNaN, 1), point<double>(110, 20));
    EXPECT_EQ(p.DevicePos(), point<int>(110, 20));
    p.SetTransform(false);
    EXPECT_EQ(p.GetCurrentPos(), point<double>(110, 20));
}

TEST_F(DrawTest, LinesKeepEdgesAndClipToTheCanvas) {
    struct Case {
        double sx, sy, tx, ty;
        Lines log;
    } cases[] = {
        {0, 0, 0, 100, {"internalLineTo 0 100"}},
        {200, 0, 200, 100, {"internalLineTo 200 100"}},
        {0, 100, 200, 100, {"internalLineTo 200 100"}},
        {-10, 5, -20, 50, {"internalMoveTo -20 50"}},
        {-100, 50, 100, 50, {"internalMoveTo 0 50", "internalLineTo 100 50"}},
        {100, 50, 300, 50, {"internalLineTo 200 50", "internalMoveTo 300 50"}},
        {-60, 50, 50, -60, {"internalMoveTo 50 -60"}},
        {-50, 50, 250, 50, {"internalMoveTo 0 50", "internalLineTo 200 50", "internalMoveTo 250 50"}},
        {-10, -10, 110, 60, {"internalMoveTo 6 0", "internalLineTo 110 60"}},
        {10, 10, kNaN, 5, {}},
        {10, 10, 1e300, 10, {"internalLineTo 200 10", "internalMoveTo 2147483647 10"}},
    };
    for (const Case &c : cases) {
        p.MoveTo(c.sx, c.sy);
        p.Clear();
        p.LineTo(c.tx, c.ty);
        EXPECT_EQ(Take(), c.log) << c.sx << "," << c.sy << " to " << c.tx << "," << c.ty;
    }
    EXPECT_EQ(p.DevicePos(), point<int>(2147483647, 10));
    // Unchecked lines go straight to the device; the end pixel follows when the device leaves it out.
    p.CheckOutside(false);
    p.MoveTo(-100, 50);
    p.Clear();
    p.LineTo(100, 50);
    p.SetExcludesLastPixel(true);
    p.LineTo(point<double>(20, 20));
    EXPECT_EQ(Take(), (Lines{"internalLineTo 100 50", "internalLineTo 20 20",
                             "internalSetPixel 20 20 246,255,255,255"}));
}

TEST_F(DrawTest, LinesUnderAUserScaleTestTheirLogicalPosition) {
    p.Scale(2, 2, false);
    p.MoveTo(55, 10);
    p.Clear();
    p.LineTo(120, 10);
    EXPECT_EQ(Take(), (Lines{"internalLineTo 200 20", "internalMoveTo 240 20"}));
    EXPECT_EQ(p.GetCurrentPos(), point<double>(120, 10));
    // Both beyond the visible right edge (100 logical): only a move.
    p.LineTo(130, 40);
    EXPECT_EQ(Take(), Lines{"internalMoveTo 260 80"});
}

TEST_F(DrawTest, PolylinesMapRejectAndMarkTheirEndPixel) {
    const point<double> tri[] = {{1, 2}, {3, 4}, {5.5, 6.9}};
    p.Polygon(tri, 3);
    p.PolyBezier(tri, 3, 7, -8);
    p.PolyLine(tri, 3, 0, 9);
    const point<double> left[] = {{-1, 2}, {-3, 4}, {-5, 60}};
    const point<double> onEdge[] = {{0, 2}, {-3, 4}, {-5, 60}};
    p.Polygon(left, 3);
    p.Polygon(onEdge, 3);
    p.Polygon(tri, 0);
    p.PolyLine(nullptr, 3, 0, 0);
    const point<double> broken[] = {{1, 2}, {kNaN, 4}};
    p.PolyLine(broken, 2, 0, 0);
    EXPECT_EQ(Take(), (Lines{"internalPolygon 3 1,2 3,4 5,6", "internalPolyBezier 3 1,2 3,4 5,6 7 -8",
                             "internalPolyLine 3 1,2 3,4 5,6 0 9", "internalPolygon 3 0,2 -3,4 -5,60"}));

    // Long polylines take their own arrays and give the same result.
    std::vector<point<double>> many;
    std::string expected = "internalPolyLine 31";
    for (int i = 0; i < 31; ++i) {
        many.push_back({i * 1.0, i * 2.0});
        expected += " " + std::to_string(i * 2) + "," + std::to_string(i * 4);
    }
    p.Scale(2, 2, true);
    p.Clear();
    p.PolyLine(many.data(), 31, 40, 0);
    p.PolyLine(many.data(), 30, 40, 0);
    const Lines log = Take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], expected + " 40 0");
    EXPECT_EQ(log[1].substr(0, 20), "internalPolyLine 30 ");

    struct End {
        int index;
        const char *pixel;
    } ends[] = {{1, "internalSetPixel 6 8 246,255,255,255"},
                {-1, "internalSetPixel 11 14 246,255,255,255"},
                {2, "internalSetPixel 11 14 246,255,255,255"},
                {3, nullptr}};
    p.SetExcludesLastPixel(true);
    for (const End &e : ends) {
        p.PolyLine(tri, 3, e.index, 0);
        const Lines got = Take();
        ASSERT_EQ(got.size(), e.pixel ? 2u : 1u) << e.index;
        if (e.pixel) {
            EXPECT_EQ(got[1], e.pixel);
        }
    }
    // Without the transform the points are only truncated.
    p.SetTransform(false);
    p.Polygon(tri, 3);
    EXPECT_EQ(Take(), Lines{"internalPolygon 3 1,2 3,4 5,6"});
}

TEST_F(DrawTest, PointMarkersOfEveryKind) {
    const std::string solid = "internalSetBrush 1,0,0,255 1";
    const Lines tail = {"internalMoveTo 100 50", "internalSetBrush 0,0,0,255 0"};
    struct Case {
        int kind, size;
        Lines shape;
    } cases[] = {
        {1, 9, {"internalEllipse 96 46 104 54"}},
        {2, 9, {"internalPolygon 3 94,53 100,44 105,53"}},
        {3, 9, {"internalRectangle 96 46 104 54"}},
        {4, 9, {"internalPolygon 3 94,47 100,56 105,47"}},
        {5, 9, {"internalPolygon 4 96,50 100,46 104,50 100,54"}},
        {6,
         9,
         {"internalMoveTo 96 46", "internalLineTo 104 54", "internalMoveTo 96 54", "internalLineTo 104 46"}},
        {3, 1, {"internalRectangle 100 50 100 50"}},
    };
    for (const Case &c : cases) {
        p.SetPointStyle({c.kind, c.size});
        p.Clear();
        p.Point(100, 50);
        Lines expected{solid};
        expected.insert(expected.end(), c.shape.begin(), c.shape.end());
        expected.insert(expected.end(), tail.begin(), tail.end());
        EXPECT_EQ(Take(), expected) << c.kind;
    }
    for (IPainter::PointStyle plain : {IPainter::PointStyle{0, 9}, {7, 9}, {2, 0}, {2, -4}}) {
        p.SetPointStyle(plain);
        p.Clear();
        p.Point(point<double>(100, 50));
        EXPECT_EQ(Take(), Lines{"internalSetPixel 100 50 246,255,255,255"}) << plain.kind;
    }
    // Outside (strictly) only moves; the canvas edge still shows a marker.
    p.Point(250, 50);
    p.Point(200, 100);
    p.Point(kNaN, 3);
    EXPECT_EQ(Take(), (Lines{"internalMoveTo 250 50", "internalSetPixel 200 100 246,255,255,255"}));
    // Points map even with the transform switched off.
    p.Scale(2, 2, true);
    p.SetTransform(false);
    p.Clear();
    p.Point(50, 25);
    EXPECT_EQ(Take(), Lines{"internalSetPixel 100 50 246,255,255,255"});
}

}  // namespace

namespace {

TEST(PainterLifecycle, ConstructionValuesAndCopies) {
    TestPainter fresh;
    EXPECT_EQ(fresh.CachedPen(), pen());
    EXPECT_EQ(fresh.CachedBrush(), brush());
    EXPECT_TRUE(fresh.IsCheckOutside());
    EXPECT_TRUE(fresh.GetTransform());
    EXPECT_FALSE(fresh.GetColorMode());
    EXPECT_TRUE(fresh.GetClearColor().IsColorUndefined());
    EXPECT_EQ(fresh.GetCanvas(), nullptr);

    fresh.BeginPaint(IPainter::SettingsPreview);
    fresh.BeginPlot(IPainter::PlotLineStrip);
    fresh.Vertex(1, 1);
    fresh.Vertex(5, 5);
    fontmetrics m;
    fresh.GetFontMetrics(&m);
    TestPainter copy(fresh);
    copy.Clear();
    // The copy has neither the plot nor the metrics cache of its source.
    copy.EndPlot();
    copy.GetFontMetrics(&m);
    EXPECT_TRUE(copy.Log().empty());
    EXPECT_EQ(copy.Count("internalGetFontMetrics"), 1);
    fresh.Clear();
    fresh.EndPlot();
    EXPECT_EQ(fresh.Log(), (Lines{"internalMoveTo 1 1", "internalLineTo 5 5"}));
    copy = fresh;
    copy.Clear();
    copy.GetFontMetrics(&m);
    EXPECT_EQ(copy.Count("internalGetFontMetrics"), 1);
}

}  // namespace
