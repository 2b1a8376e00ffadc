#include <limits>
#include <sstream>
#include <string>

#include "paint/painter_fixture.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using PlotTest = PainterTest;
using Type = IPainter::PlotType;

std::string Pt(const point<int> &v) { return std::to_string(v.x) + "," + std::to_string(v.y); }
std::string Move(const point<int> &v) {
    return "internalMoveTo " + std::to_string(v.x) + " " + std::to_string(v.y);
}
std::string Line(const point<int> &v) {
    return "internalLineTo " + std::to_string(v.x) + " " + std::to_string(v.y);
}
std::string Polygon(std::initializer_list<point<int>> vs) {
    std::string s = "internalPolygon " + std::to_string(vs.size());
    for (const point<int> &v : vs) s += " " + Pt(v);
    return s;
}

// Vertices inside the 200 x 100 canvas, none on a line with its neighbours.
std::vector<point<int>> Inside(int n) {
    std::vector<point<int>> vs;
    for (int i = 0; i < n; ++i) vs.push_back({1 + (i * 37) % 197, 1 + (i * 13) % 97});
    return vs;
}

void Plot(IPainter &p, Type type, const std::vector<point<int>> &vs) {
    p.BeginPlot(type);
    for (const point<int> &v : vs) p.Vertex(v.x, v.y);
    p.EndPlot();
}

// What each plot type draws, written from its definition without batches.
Lines Expected(Type type, const std::vector<point<int>> &v) {
    Lines out;
    const size_t n = v.size();
    switch (type) {
        case IPainter::PlotPoints:
            for (const auto &x : v)
                out.push_back("internalSetPixel " + std::to_string(x.x) + " " + std::to_string(x.y) +
                              " 246,255,255,255");
            break;
        case IPainter::PlotLines:
            for (size_t i = 0; i + 1 < n; i += 2) {
                out.push_back(Move(v[i]));
                out.push_back(Line(v[i + 1]));
            }
            break;
        case IPainter::PlotLineStrip:
        case IPainter::PlotLineLoop:
            out.push_back(Move(v[0]));
            for (size_t i = 1; i < n; ++i) out.push_back(Line(v[i]));
            if (type == IPainter::PlotLineLoop) out.push_back(Line(v[0]));
            break;
        case IPainter::PlotTriangles:
            for (size_t i = 0; i + 2 < n; i += 3) out.push_back(Polygon({v[i], v[i + 1], v[i + 2]}));
            break;
        case IPainter::PlotTriangleStrip:
            for (size_t i = 2; i < n; ++i) out.push_back(Polygon({v[i - 2], v[i - 1], v[i]}));
            break;
        case IPainter::PlotTriangleFan:
            for (size_t i = 2; i < n; ++i) out.push_back(Polygon({v[0], v[i - 1], v[i]}));
            break;
        case IPainter::PlotQuads:
            for (size_t i = 0; i + 3 < n; i += 4)
                out.push_back(Polygon({v[i], v[i + 1], v[i + 2], v[i + 3]}));
            break;
        case IPainter::PlotQuadStrip:
            for (size_t i = 3; i < n; i += 2) out.push_back(Polygon({v[i - 3], v[i - 2], v[i], v[i - 1]}));
            break;
        default:
            break;
    }
    return out;
}

TEST_F(PlotTest, BatchesNeverChangeTheDrawing) {
    const Type types[] = {IPainter::PlotPoints,      IPainter::PlotLines,     IPainter::PlotLineStrip,
                          IPainter::PlotLineLoop,    IPainter::PlotTriangles, IPainter::PlotTriangleStrip,
                          IPainter::PlotTriangleFan, IPainter::PlotQuads,     IPainter::PlotQuadStrip};
    for (int n : {5, 1008, 1009, 1010, 2017, 3025}) {
        const std::vector<point<int>> vs = Inside(n);
        for (Type type : types) {
            for (bool check : {false, true}) {
                p.CheckOutside(check);
                Plot(p, type, vs);
                EXPECT_EQ(Take(), Expected(type, vs))
                    << "type " << type << ", " << n << " vertices, check " << check;
            }
        }
    }
}

TEST_F(PlotTest, StripOf1009VerticesIsOneLine) {
    p.CheckOutside(false);
    std::vector<point<int>> vs;
    for (int i = 0; i < 1009; ++i) vs.push_back({i, i % 50});
    Plot(p, IPainter::PlotLineStrip, vs);
    EXPECT_EQ(p.Count("internalMoveTo"), 1);
    EXPECT_EQ(p.Count("internalLineTo"), 1008);
    const Lines log = Take();
    EXPECT_EQ(log[1007], "internalLineTo 1007 7");
    EXPECT_EQ(log[1008], "internalLineTo 1008 8");
}

TEST_F(PlotTest, CurvesCarryTheirPointsAcrossBatches) {
    for (int n : {4, 7, 1008, 1009, 1011, 2500}) {
        const std::vector<point<int>> vs = Inside(n);
        Plot(p, IPainter::PlotBezier, vs);
        // The curves' points, each joint once, are the vertices in order.
        std::vector<std::string> joined;
        for (const std::string &line : Take()) {
            ASSERT_EQ(line.rfind("internalPolyBezier ", 0), 0u);
            ASSERT_EQ(line.substr(line.size() - 5), " 0 -1");
            std::istringstream in(line.substr(19, line.size() - 24));
            int count;
            in >> count;
            std::string pt;
            for (int i = 0; in >> pt; ++i) {
                if (i > 0 || joined.empty()) joined.push_back(pt);
            }
        }
        ASSERT_EQ(joined.size(), vs.size()) << n;
        for (int i = 0; i < n; ++i) EXPECT_EQ(joined[i], Pt(vs[i])) << i;

        Plot(p, IPainter::PlotSpline, vs);
        const Lines curves = Take();
        ASSERT_EQ(curves.size(), static_cast<size_t>(n - 1)) << n;
        for (int i = 0; i + 1 < n; ++i) {
            EXPECT_EQ(curves[i].substr(0, 21 + Pt(vs[i]).size()), "internalPolyBezier 4 " + Pt(vs[i]));
            EXPECT_NE(curves[i].find(" " + Pt(vs[i + 1]) + " 0 -1"), std::string::npos) << i;
        }
    }
}

TEST_F(PlotTest, SplineControlPointsFollowTheNeighbourSlopes) {
    Plot(p, IPainter::PlotSpline, {{0, 0}, {10, 10}, {20, 0}, {30, 10}});
    EXPECT_EQ(Take(), (Lines{"internalPolyBezier 4 0,0 3,3 6,10 10,10 0 -1",
                             "internalPolyBezier 4 10,10 13,10 16,0 20,0 0 -1",
                             "internalPolyBezier 4 20,0 23,0 26,6 30,10 0 -1"}));
    // Equal x two apart: slope 0 instead of a division by zero.
    Plot(p, IPainter::PlotSpline, {{10, 10}, {20, 30}, {10, 50}, {20, 70}});
    EXPECT_EQ(Take()[1], "internalPolyBezier 4 20,30 16,30 13,50 10,50 0 -1");
}

TEST_F(PlotTest, TooFewVerticesDrawNothing) {
    struct Case {
        Type type;
        int vertices, calls;
    } cases[] = {
        {IPainter::PlotTriangles, 7, 2}, {IPainter::PlotTriangles, 2, 0},     {IPainter::PlotQuads, 7, 1},
        {IPainter::PlotQuads, 3, 0},     {IPainter::PlotSpline, 3, 0},        {IPainter::PlotSpline, 4, 3},
        {IPainter::PlotBezier, 3, 0},    {IPainter::PlotTriangleStrip, 2, 0}, {IPainter::PlotQuadStrip, 5, 1},
        {IPainter::PlotLineLoop, 1, 0},  {IPainter::PlotLines, 3, 2},
    };
    for (const Case &c : cases) {
        Plot(p, c.type, Inside(c.vertices));
        EXPECT_EQ(static_cast<int>(Take().size()), c.calls) << c.type << " with " << c.vertices;
    }
    p.BeginPlot(Type(11));
    p.Vertex(1, 1);
    p.EndPlot();
    p.BeginPlot(Type(-1));
    p.Vertex(1, 1);
    p.EndPlot();
    p.EndPlot();
    p.Vertex(5, 5);
    p.BeginPlot(IPainter::PlotPoints);
    p.EndPlot();
    p.DrawTriangles();
    EXPECT_TRUE(Take().empty());

    TestPainter fresh;
    fresh.Vertex(1, 1);
    fresh.EndPlot();
    fresh.DrawLineStrip();
    EXPECT_TRUE(fresh.Log().empty());
}

TEST_F(PlotTest, NonFiniteVerticesBreakTheRun) {
    const double nan = kNaN;
    struct Case {
        Type type;
        std::vector<point<double>> vs;
        Lines log;
    } cases[] = {
        {IPainter::PlotLineStrip,
         {{10, 10}, {20, 20}, {nan, 0}, {30, 30}, {40, 40}},
         {"internalMoveTo 10 10", "internalLineTo 20 20", "internalMoveTo 30 30", "internalLineTo 40 40"}},
        {IPainter::PlotTriangles,
         {{1, 1}, {2, 2}, {nan, 3}, {4, 4}, {5, 5}, {6, 6}},
         {"internalPolygon 3 4,4 5,5 6,6"}},
        {IPainter::PlotTriangleFan,
         {{1, 1}, {2, 2}, {3, 3}, {0, nan}, {5, 5}, {6, 6}},
         {"internalPolygon 3 1,1 2,2 3,3", "internalPolygon 3 1,1 5,5 6,6"}},
        {IPainter::PlotTriangleStrip,
         {{1, 1}, {2, 2}, {3, 3}, {nan, 4}, {5, 5}, {6, 6}, {7, 7}},
         {"internalPolygon 3 1,1 2,2 3,3", "internalPolygon 3 5,5 6,6 7,7"}},
        {IPainter::PlotQuadStrip,
         {{1, 1}, {2, 2}, {3, 3}, {nan, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}},
         {"internalPolygon 4 5,5 6,6 8,8 7,7"}},
        {IPainter::PlotLineLoop,
         {{10, 10}, {20, 20}, {30, 10}, {nan, 1}},
         {"internalMoveTo 10 10", "internalLineTo 20 20", "internalLineTo 30 10"}},
        {IPainter::PlotPoints, {{1, 2}, {nan, nan}}, {"internalSetPixel 1 2 246,255,255,255"}},
    };
    p.CheckOutside(false);
    for (const Case &c : cases) {
        p.BeginPlot(c.type);
        for (const auto &v : c.vs) p.Vertex(v);
        p.EndPlot();
        EXPECT_EQ(Take(), c.log) << c.type;
    }
}

TEST_F(PlotTest, CheckedPlotsClipAndReject) {
    Plot(p, IPainter::PlotLineStrip, {{10, 50}, {300, 50}, {100, 60}});
    EXPECT_EQ(Take(), (Lines{"internalMoveTo 10 50", "internalLineTo 200 50", "internalMoveTo 200 55",
                             "internalLineTo 100 60"}));
    Plot(p, IPainter::PlotLines, {{-10, -10}, {-20, 50}, {-60, 50}, {50, -60}, {0, 0}, {0, 100}});
    EXPECT_EQ(Take(), (Lines{"internalMoveTo 0 0", "internalLineTo 0 100"}));
    Plot(p, IPainter::PlotTriangles, {{-1, 1}, {-2, 50}, {-3, 3}, {0, 1}, {-2, 50}, {-3, 3}});
    EXPECT_EQ(Take(), Lines{"internalPolygon 3 0,1 -2,50 -3,3"});
    Plot(p, IPainter::PlotPoints, {{250, 50}, {200, 100}});
    EXPECT_EQ(Take(), (Lines{"internalMoveTo 250 50", "internalSetPixel 200 100 246,255,255,255"}));
}

TEST_F(PlotTest, PlotsMapWithoutSwapOrBias) {
    IPainter::CoordInfo info;
    info.swapXY = true;
    info.devOriginX = 3;
    info.width = 100;
    info.height = 100;
    p.SetCoordSystem(IPainter::MapCustom, &info);  // scales 2 and 1
    p.Scale(1, 3, true);                           // swapped: user scale (3, 1)
    p.Translate(0, 1, true);                       // swapped: user translation x 3
    p.SetTransform(false);
    p.CheckOutside(false);
    p.Clear();
    p.BeginPlot(IPainter::PlotPoints);
    p.Vertex(1.9, 5);
    p.Vertex(-1.9, 5.9);
    p.EndPlot();
    EXPECT_EQ(Take(),
              (Lines{"internalSetPixel 20 5 246,255,255,255", "internalSetPixel -2 5 246,255,255,255"}));
}

TEST_F(PlotTest, MarkersFollowThePlot) {
    p.SetPointStyle({3, 4});
    p.Clear();
    Plot(p, IPainter::PlotLineStrip, {{10, 10}, {20, 20}});
    const std::string brush = "internalSetBrush 1,0,0,255 1";
    const std::string restore = "internalSetBrush 0,0,0,255 0";
    EXPECT_EQ(Take(), (Lines{"internalMoveTo 10 10", "internalLineTo 20 20", brush,
                             "internalRectangle 8 8 12 12", "internalMoveTo 10 10", restore, brush,
                             "internalRectangle 18 18 22 22", "internalMoveTo 20 20", restore}));
    // Points plot one marker per vertex, not two.
    Plot(p, IPainter::PlotPoints, {{10, 10}});
    EXPECT_EQ(p.Count("internalRectangle"), 1);
    p.Clear();
    // After markers moved the device, the next batch of a strip starts with a move.
    p.CheckOutside(false);
    p.BeginPlot(IPainter::PlotLineStrip);
    for (int i = 0; i < 1010; ++i) p.Vertex(i % 150, 5);
    p.EndPlot();
    EXPECT_EQ(p.Count("internalLineTo"), 1009);
    EXPECT_EQ(p.Count("internalRectangle"), 1010);
}

}  // namespace
