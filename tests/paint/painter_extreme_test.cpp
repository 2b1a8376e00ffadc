// Every drawing operation fed NaN, infinities and huge values under each kind
// of mapping: nothing undefined happens (the sanitizer run watches the
// conversions) and a non-finite coordinate never reaches the device.

#include <cmath>
#include <limits>
#include <string>

#include "paint/painter_fixture.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

bool Draws(const std::string &line) {
    return line.rfind("internalSet", 0) != 0 || line.rfind("internalSetPixel", 0) == 0 ||
           line.rfind("internalSetClipRect", 0) == 0;
}

// Calls every drawing operation with the value v in one coordinate.
void DrawAll(IPainter &p, double v) {
    const point<double> pts[] = {{v, 1}, {2, 3}, {4, 5}};
    p.SetPixel(v, 1, _color(1, 2, 3, 255));
    p.GetPixel(1, v);
    p.MoveTo(1, 1);
    p.LineTo(v, 2);
    p.MoveTo(v, v);
    p.FillRect(v, 1, 50, 50);
    p.Rectangle(1, v, 50, 50);
    p.FocusRect(1, 1, v, 50);
    p.Ellipse(1, 1, 50, v);
    p.RoundRect(1, 1, 50, 50, v, 3);
    p.RoundRect(v, 1, 50, 50, 3, 3);
    p.Arc(v, 1, 50, 50, 0, 900);
    p.Chord(1, v, 50, 50, 0, 900);
    p.Pie(1, 1, v, 50, 0, 900);
    p.GradientFill(1, 1, 50, v, _color(), _color(), 3, IPainter::GradientTopToBottom);
    p.SemiFillRect(v, v, 50, 50, _color());
    p.DrawControlElement(IPainter::ControlElement(1), v, 1, 50, 50, false);
    p.PolyLine(pts, 3, 0, 0);
    p.PolyBezier(pts, 3, 0, 0);
    p.Polygon(pts, 3);
    p.Point(v, 5);
    p.SetClipRect(v, 1, 50, 50);
    p.DrawString(v, 5, Utf8ToWide("abc"), -1);
    p.DrawString(rectangle<double>(1, 1, v, 50), Utf8ToWide("abc def"), 0x800 | 0x100, -1);
    for (int type = 0; type < IPainter::PlotTypeCount; ++type) {
        p.BeginPlot(IPainter::PlotType(type));
        for (int i = 0; i < 6; ++i) p.Vertex(i * 10, i % 2 ? v : i * 7);
        p.EndPlot();
    }
    point<double> c[2] = {{v, v}, {1, v}};
    p.ConvertCoord2(c, false);
    p.DeconvertCoord2(c, false);
    point<int> ints[2];
    p.ConvertCoord(c, ints, 2, true);
    p.GetCurrentPos();
    p.GetClipRect();
    p.GetTextSize(Utf8ToWide("x\ny"), nullptr, -1, false, false);
}

class ExtremeTest : public PainterTest {
  protected:
    // Sets one of the mappings up: 0 plain, 1 metric with user scale, 2 custom flipped and swapped, 3 huge
    // scale.
    void Mapping(int kind) {
        Open(200, 100);
        p.SetPointStyle({kind % 6 + 1, 7});
        if (kind == 1) {
            p.SetCoordSystem(IPainter::MapMetric, nullptr);
            p.Scale(3, -2, true);
            p.Translate(1e10, -5, true);
        } else if (kind == 2) {
            IPainter::CoordInfo info;
            info.flipX = info.flipY = info.swapXY = true;
            info.devOriginX = std::numeric_limits<int>::max();
            info.originY = -1e300;
            Custom(1e-300, 3, info);
        } else if (kind == 3) {
            p.Scale(1e300, 1e300, true);
        }
        p.Clear();
    }
};

TEST_F(ExtremeTest, NonFiniteCoordinatesNeverReachTheDevice) {
    for (int kind = 0; kind < 4; ++kind) {
        for (double v : {kNaN, kInf, -kInf}) {
            Mapping(kind);
            p.SetExcludesLastPixel(kind % 2 == 0, 1, 1);
            DrawAll(p, v);
            for (const std::string &line : p.Log()) {
                EXPECT_EQ(line.find("nan"), std::string::npos) << line;
                EXPECT_EQ(line.find("inf"), std::string::npos) << line;
            }
        }
        // A NaN point in a single-point operation draws nothing at all.
        Mapping(kind);
        p.SetPixel(kNaN, 1, _color());
        p.LineTo(kNaN, kNaN);
        p.Point(1, kNaN);
        p.DrawString(kNaN, 1, Utf8ToWide("a"), -1);
        for (const std::string &line : p.Log())
            EXPECT_FALSE(Draws(line)) << "mapping " << kind << ": " << line;
    }
}

TEST_F(ExtremeTest, HugeCoordinatesSaturate) {
    for (int kind = 0; kind < 4; ++kind) {
        for (double v : {1e300, -1e300, 4e9, -4e9, 2147483647.0, -2147483648.0, 1e-300}) {
            Mapping(kind);
            p.CheckOutside(kind != 3);
            DrawAll(p, v);
            EXPECT_FALSE(p.Log().empty());
        }
    }
    // Far edges of checked rectangles are pulled in to the canvas.
    Mapping(0);
    p.FillRect(-1e300, -4e9, 1e300, 4e9);
    EXPECT_EQ(Take(), Lines{"internalFillRect -2 -2 202 102"});
}

}  // namespace
