#include <cmath>
#include <limits>

#include "paint/painter_fixture.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

using CoordTest = PainterTest;

TEST_F(CoordTest, BiasMovesAwayFromZeroBeforeTruncation) {
    struct Case {
        point<double> in, biased;
        point<int> ints;
    } cases[] = {
        {{10.6, -3.6}, {10.85, -3.85}, {10, -3}},  {{0.7, 0.75}, {0.95, 1.0}, {0, 1}},
        {{0, -0.75}, {0, -1.0}, {0, -1}},          {{-0.7, 3}, {-0.95, 3.25}, {0, 3}},
        {{1e300, kNaN}, {1e300, kNaN}, {kMax, 0}}, {{-kInf, 1e-300}, {-kInf, 0.25}, {kMin, 0}},
    };
    for (const Case &c : cases) {
        point<double> d = c.in;
        point<int> i;
        p.ConvertCoord(&d, &i, 1, false);
        EXPECT_EQ(i, c.ints) << c.in.x << "," << c.in.y;
        if (!std::isnan(c.biased.y)) {
            EXPECT_DOUBLE_EQ(d.x, c.biased.x);
            EXPECT_DOUBLE_EQ(d.y, c.biased.y);
        }
        point<double> one = c.in;
        p.ConvertCoord1(&one, false);
        EXPECT_EQ(one.x, d.x);
    }
    point<double> untouched{1, 1};
    point<int> none{5, 5};
    p.ConvertCoord(&untouched, nullptr, 1, false);
    p.ConvertCoord(&untouched, &none, 0, false);
    p.ConvertCoord(&untouched, &none, -3, false);
    EXPECT_EQ(untouched, point<double>(1, 1));
    EXPECT_EQ(none, point<int>(5, 5));
}

TEST_F(CoordTest, MapModesGiveTheirScales) {
    Open(400, 200);  // 4 pixels a millimetre
    IPainter::CoordInfo unit1;
    unit1.unit = 1;
    IPainter::CoordInfo unit1Flip = unit1;
    unit1Flip.flipY = true;
    struct Case {
        int mode;
        IPainter::CoordInfo info;
        bool withInfo;
        double w, h;  // mode 3 extents
        double sx, sy;
        bool active;
    } cases[] = {
        {1, {}, false, 0, 0, 0.4, 0.4, true},       {2, {}, false, 0, 0, 1.016, 1.016, true},
        {1, unit1, true, 0, 0, 4, 4, true},         {1, unit1Flip, true, 0, 0, 4, -4, true},
        {2, unit1, true, 0, 0, 101.6, 101.6, true}, {3, {}, true, 100, 50, 4, 4, true},
        {3, unit1Flip, true, 100, 50, 4, -4, true}, {3, {}, true, 0, 50, 1, 1, true},
        {3, {}, true, 100, kNaN, 1, 1, true},       {3, {}, false, 100, 50, 1, 1, false},
        {99, unit1, true, 0, 0, 1, 1, false},       {-1, unit1, true, 0, 0, 1, 1, false},
        {0, unit1Flip, true, 0, 0, 1, 1, false},
    };
    for (const Case &c : cases) {
        IPainter::CoordInfo info = c.info;
        info.width = c.w;
        info.height = c.h;
        p.SetCoordSystem(static_cast<IPainter::MapMode>(c.mode), c.withInfo ? &info : nullptr);
        EXPECT_DOUBLE_EQ(p.ScaleX(), c.sx) << "mode " << c.mode;
        EXPECT_DOUBLE_EQ(p.ScaleY(), c.sy) << "mode " << c.mode;
        EXPECT_EQ(p.CoordActive(), c.active) << "mode " << c.mode;
    }
    // Mode 3 takes the device extent only when both parts are given.
    IPainter::CoordInfo dev;
    dev.width = 100;
    dev.height = 50;
    dev.devWidth = 200;
    dev.devHeight = 100;
    p.SetCoordSystem(IPainter::MapCustom, &dev);
    EXPECT_EQ(p.ScaleX(), 2);
    dev.devHeight = 0;
    p.SetCoordSystem(IPainter::MapCustom, &dev);
    EXPECT_EQ(p.ScaleY(), 4);
}

TEST_F(CoordTest, MetricModesKeepTheIdentityWithoutUsableMetrics) {
    p.SetMetric(4, 1920);
    p.SetMetric(5, 1080);
    p.SetMetric(6, 508);
    p.SetMetric(7, 286);
    p.SetCoordSystem(IPainter::MapEnglish, nullptr);
    EXPECT_DOUBLE_EQ(p.ScaleX(), 0.96);
    for (int metric : {4, 5, 6, 7}) {
        const int saved = p.GetMetrics(metric);
        p.SetMetric(metric, 0);
        for (int mode : {1, 2}) {
            p.SetCoordSystem(static_cast<IPainter::MapMode>(mode), nullptr);
            EXPECT_EQ(p.ScaleX(), 1) << metric;
            EXPECT_EQ(p.ScaleY(), 1) << metric;
        }
        p.SetMetric(metric, saved);
    }
    IPainter::CoordInfo zeroUnit;
    p.SetCoordSystem(IPainter::MapMetric, &zeroUnit);
    EXPECT_EQ(p.ScaleX(), 1);
}

TEST_F(CoordTest, GetCoordSystemGivesBackWhatWasSet) {
    Open(400, 200);
    IPainter::CoordInfo in;
    in.flipX = true;
    in.originX = 3;
    in.originY = -2;
    in.devOriginX = 7;
    in.devOriginY = 9;
    in.unit = 0.5;
    in.swapXY = true;
    for (int mode : {1, 2}) {
        p.SetCoordSystem(static_cast<IPainter::MapMode>(mode), &in);
        IPainter::MapMode got;
        IPainter::CoordInfo out;
        p.GetCoordSystem(got, &out);
        EXPECT_EQ(got, mode);
        EXPECT_DOUBLE_EQ(out.unit, 0.5);
        EXPECT_TRUE(out.flipX);
        EXPECT_FALSE(out.flipY);
        EXPECT_EQ(out.originX, 3);
        EXPECT_EQ(out.originY, -2);
        EXPECT_EQ(out.devOriginX, 7);
        EXPECT_EQ(out.devOriginY, 9);
        EXPECT_TRUE(out.swapXY);
    }
    IPainter::CoordInfo custom;
    custom.width = 100;
    custom.height = -40;
    custom.flipY = true;
    p.SetCoordSystem(IPainter::MapCustom, &custom);
    IPainter::MapMode got;
    IPainter::CoordInfo out;
    p.GetCoordSystem(got, &out);
    EXPECT_EQ(out.width, 100);
    EXPECT_EQ(out.height, 40);
    EXPECT_EQ(out.devWidth, 400);
    EXPECT_TRUE(out.flipY);

    p.SetCoordSystem(IPainter::MapPixel, nullptr);
    IPainter::CoordInfo pixel;
    p.GetCoordSystem(got, &pixel);
    EXPECT_EQ(got, IPainter::MapPixel);
    EXPECT_EQ(pixel.width, 400);
    EXPECT_EQ(pixel.devHeight, 200);

    p.SetCoordSystem(IPainter::MapMetric, &in);
    p.SetMetric(4, 0);
    p.GetCoordSystem(got, &out);
    EXPECT_EQ(out.unit, 0);
}

TEST_F(CoordTest, CustomModeMapsOriginsAndFlips) {
    Open(400, 200);
    IPainter::CoordInfo info;
    info.originX = 10;
    info.devOriginX = 50;
    info.flipY = true;
    Custom(100, 50, info);
    point<double> pt{12, 5};
    point<int> device;
    p.ConvertCoord(&pt, &device, 1, false);
    EXPECT_EQ(device, point<int>(58, -20));
    // Device to logical undoes the mapping but not the bias.
    point<double> back[2] = {{58, -20}, {58.25, -20.25}};
    p.DeconvertCoord2(back, false);
    EXPECT_DOUBLE_EQ(back[0].x, 12);
    EXPECT_DOUBLE_EQ(back[0].y, 5);
    EXPECT_DOUBLE_EQ(back[1].x, 12.0625);
}

TEST_F(CoordTest, SwappedAxesExchangeBeforeMapping) {
    IPainter::CoordInfo info;
    info.swapXY = true;
    Custom(200, 100, info);
    point<double> pt{10, 30};
    p.ConvertCoord1(&pt, false);
    EXPECT_DOUBLE_EQ(pt.x, 30.25);
    EXPECT_DOUBLE_EQ(pt.y, 10.25);
    // An absolute scale acts on the caller's axes and stays idempotent.
    p.Scale(2, 1, false);
    p.Scale(2, 1, false);
    EXPECT_EQ(p.UserScaleX(), 1);
    EXPECT_EQ(p.UserScaleY(), 2);
    EXPECT_EQ(Take(), (Lines{"OnScale 1 2", "OnScale 1 1"}));
    p.Translate(5, 0, false);
    p.Translate(5, 0, false);
    EXPECT_EQ(p.UserTransY(), 10);
    pt = {10, 30};
    p.ConvertCoord1(&pt, false);
    EXPECT_DOUBLE_EQ(pt.x, 30.25);
    EXPECT_DOUBLE_EQ(pt.y, 30.25);
    p.DeconvertCoord1(&pt, false);
    EXPECT_DOUBLE_EQ(pt.x, 10.125);
    EXPECT_DOUBLE_EQ(pt.y, 30.25);
    // The user transform survives a new coordinate system; the swap does not.
    p.SetCoordSystem(IPainter::MapPixel, nullptr);
    EXPECT_FALSE(p.SwapAxes());
    EXPECT_EQ(p.UserScaleY(), 2);
}

TEST_F(CoordTest, ScaleAndTranslateAbsoluteOrRelative) {
    struct Step {
        char op;  // 's' scale, 't' translate
        double a, b;
        bool relative;
    };
    struct Case {
        std::vector<Step> steps;
        double usx, usy, utx, uty;
    } cases[] = {
        {{{'s', 2, 2, false}, {'s', 2, 2, false}}, 2, 2, 0, 0},
        {{{'s', 2, 2, true}, {'s', 2, 2, true}}, 4, 4, 0, 0},
        {{{'s', 2, 3, false}, {'s', 4, 4, false}}, 4, 4, 0, 0},
        {{{'s', 2, 2, false}, {'t', 5, 0, false}}, 2, 2, 10, 0},
        {{{'s', 2, 2, false}, {'t', 5, 0, false}, {'t', 5, 0, false}}, 2, 2, 10, 0},
        {{{'t', 5, 1, true}, {'t', 5, 1, true}}, 1, 1, 10, 2},
        {{{'t', 5, 0, true}, {'s', 3, 3, true}, {'t', 1, 0, true}}, 3, 3, 8, 0},
        {{{'s', 0, 2, true}, {'s', 2, kNaN, false}, {'s', kInf, 1, true}}, 1, 1, 0, 0},
        {{{'s', 1e-300, 1, true}, {'s', 1e-300, 1, true}}, 1e-300, 1, 0, 0},
        {{{'t', kNaN, 1, true}, {'t', 1, kInf, false}}, 1, 1, 0, 0},
        {{{'s', 2, 2, false}, {'s', 1, 1, false}}, 1, 1, 0, 0},
    };
    for (const Case &c : cases) {
        p.BeginPaint(IPainter::SettingsPreview);
        for (const Step &s : c.steps) {
            if (s.op == 's') {
                p.Scale(s.a, s.b, s.relative);
            } else {
                p.Translate(s.a, s.b, s.relative);
            }
        }
        EXPECT_DOUBLE_EQ(p.UserScaleX(), c.usx);
        EXPECT_DOUBLE_EQ(p.UserScaleY(), c.usy);
        EXPECT_DOUBLE_EQ(p.UserTransX(), c.utx);
        EXPECT_DOUBLE_EQ(p.UserTransY(), c.uty);
        EXPECT_EQ(p.UserActive(), c.usx != 1 || c.usy != 1 || c.utx != 0 || c.uty != 0);
    }
    p.BeginPaint(IPainter::SettingsPreview);
    p.Clear();
    p.Scale(0, 1, true);
    p.Scale(2, 3, true);
    p.Translate(kNaN, 0, true);
    p.Translate(-1.5, 0, true);
    EXPECT_EQ(Take(), (Lines{"OnScale 2 3", "OnTranslate -1.5 0"}));
}

TEST_F(CoordTest, VisibleRectangleFollowsTheUserTransform) {
    p.SetPaintRect({10, 20, 110, 220});
    p.BeginPaint(IPainter::SettingsPrint);
    EXPECT_TRUE(p.clip(0, 0, 5, 5));
    p.SetCoordSystem(IPainter::MapPixel, nullptr);
    EXPECT_TRUE(p.clip(0, 0, 5, 5));
    EXPECT_FALSE(p.clip(0, 0, 10.5, 20.5));
    p.CheckOutside(false);
    EXPECT_FALSE(p.clip(0, 0, 5, 5));

    Open(400, 200);
    p.Scale(-1, 1, true);
    EXPECT_EQ(p.Visible(), rectangle<double>(-400, 0, 0, 200));
    EXPECT_FALSE(p.clip(-300, 10, -100, 50));
    EXPECT_TRUE(p.clip(100, 10, 300, 50));
    p.Translate(-50, 10, true);
    EXPECT_EQ(p.Visible(), rectangle<double>(-350, -10, 50, 190));
    // Without the transform the paint rectangle is the reference.
    p.SetTransform(false);
    EXPECT_TRUE(p.clip(-300, 10, -100, 50));
}

TEST_F(CoordTest, ClipRectangleGoesThroughThePipelineBothWays) {
    p.SetExcludesLastPixel(true, 1, 1);
    p.Scale(2, 2, false);
    EXPECT_EQ(p.GetClipRect(), rectangle<double>());
    p.Clear();
    EXPECT_FALSE(p.GetClipping());
    p.SetClipRect(20, 20, 40, 40);
    EXPECT_TRUE(p.GetClipping());
    EXPECT_EQ(Take(), Lines{"internalSetClipRect 40 40 81 81"});
    EXPECT_EQ(p.GetClipRect(), rectangle<double>(20, 20, 40.5, 40.5));
    p.SetClipRect(rectangle<double>(30, 10, 5, kNaN));
    EXPECT_EQ(Take(), Lines{"internalSetClipRect 10 20 61 0"});
    p.BeginPaint(IPainter::SettingsPreview);
    EXPECT_FALSE(p.GetClipping());
    EXPECT_EQ(p.DeviceClip(), screen_rectangle<int>());
}

TEST_F(CoordTest, TransformVariantsActOnlyWhileThePipelineApplies) {
    point<double> pt{1.5, 1.5};
    point<int> ints{-7, -7};
    p.TransformCoord(&pt, &ints, 1);
    EXPECT_EQ(ints, point<int>(-7, -7));
    p.Translate(1, 0, true);
    p.TransformCoord(&pt, &ints, 1);
    EXPECT_EQ(ints, point<int>(2, 1));
    p.SetTransform(false);
    pt = {1.5, 1.5};
    p.TransformCoord(&pt, &ints, 1);
    EXPECT_EQ(pt, point<double>(1.5, 1.5));
    // The public forms always convert, with or without the user transform.
    p.ConvertCoord1(&pt, true);
    EXPECT_EQ(pt, point<double>(1.75, 1.75));
    IPainter::queltVertex_d seg{1, 2, 3, 4}, out;
    p.ConvertCoord(&seg, &out, 1, false);
    EXPECT_EQ(out.x1, 2.25);
    EXPECT_EQ(out.y2, 4.25);
}

TEST(Outcode, EdgesCountAsOutside) {
    const rectangle<double> r(0, 0, 10, 10);
    struct Case {
        double x, y;
        int code;
    } cases[] = {{0, 5, 1}, {10, 5, 4},  {5, 0, 2},    {5, 10, 8},
                 {5, 5, 0}, {-1, -1, 3}, {11, 11, 12}, {-1, 11, 9}};
    double xy[16];
    int n = 0;
    for (const Case &c : cases) {
        EXPECT_EQ(IPainter::outcode(c.x, c.y, r), c.code) << c.x << "," << c.y;
        xy[2 * n] = c.x;
        xy[2 * n + 1] = c.y;
        ++n;
    }
    int codes[8];
    TestPainter::outcode(xy, codes, 8, r);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(codes[i], cases[i].code);

    const point<double> inAndLeft[] = {{5, 5}, {-5, 5}};
    const point<double> bothLeft[] = {{-5, 5}, {0, 50}};
    const point<double> leftAndTop[] = {{-5, 5}, {5, -5}};
    EXPECT_FALSE(IPainter::out(inAndLeft, 2, r));
    EXPECT_TRUE(IPainter::out(bothLeft, 2, r));
    EXPECT_FALSE(IPainter::out(leftAndTop, 2, r));
    EXPECT_TRUE(IPainter::out(inAndLeft + 1, 1, r));
    EXPECT_FALSE(IPainter::out(inAndLeft, 1, r));
    EXPECT_FALSE(IPainter::out(bothLeft, 0, r));
    EXPECT_FALSE(IPainter::out(nullptr, 2, r));
}

TEST(LineTests, PointFromLineAndLineOut) {
    struct Side {
        double px, py;
        int side;
    } sides[] = {{-1, 5, -1}, {11, 5, 1}, {5, 5, 0},   {5, 2, 1},
                 {5, 8, -1},  {5, -1, 1}, {5, 11, -1}, {0, 0, -1}};
    for (const Side &s : sides) {
        EXPECT_EQ(IPainter::pointfromline(s.px, s.py, 0, 0, 10, 10), s.side) << s.px << "," << s.py;
        EXPECT_EQ(IPainter::pointfromline(s.px, s.py, 10, 10, 0, 0), s.side) << "reversed";
    }
    // A vertical line: s = 0, so points between the ends lie on it.
    EXPECT_EQ(IPainter::pointfromline(5, 5, 5, 0, 5, 10), -1);
    EXPECT_EQ(IPainter::pointfromline(5, 5, 4, 0, 6, 10), 0);

    const rectangle<double> r(0, 0, 10, 10);
    struct Case {
        double x1, y1, x2, y2;
        bool out;
    } lines[] = {{-5, 5, 15, 5, false},   {20, 0, 30, 10, true},   {-5, 12, 15, 12, true},
                 {-5, -5, 15, 15, false}, {-5, 20, 20, -5, false}, {-5, 30, 30, -5, true},
                 {5, -5, 5, 15, false}};
    for (const Case &c : lines) {
        EXPECT_EQ(IPainter::lineout(c.x1, c.y1, c.x2, c.y2, r), c.out) << c.x1 << "," << c.y1;
    }
}

TEST(Cut, MovesEndPointsOntoTheEdges) {
    const rectangle<double> r(0, 0, 100, 50);
    struct Case {
        point<double> a, b, ca, cb;
    } cases[] = {
        {{-50, 25}, {50, 25}, {0, 25}, {50, 25}},   {{50, -25}, {50, 25}, {50, 0}, {50, 25}},
        {{-10, -10}, {110, 60}, {6, 0}, {93, 50}},  {{150, 10}, {-50, 30}, {100, 15}, {0, 25}},
        {{-10, 0}, {-10, 40}, {-10, 0}, {-10, 40}}, {{20, 10}, {30, 20}, {20, 10}, {30, 20}},
    };
    for (const Case &c : cases) {
        point<double> a = c.a, b = c.b;
        IPainter::cut(a, b, r);
        EXPECT_EQ(a, c.ca) << c.a.x << "," << c.a.y;
        EXPECT_EQ(b, c.cb) << c.b.x << "," << c.b.y;
    }
    IPainter::queltVertex_d seg{-50, 25, 50, 26};
    TestPainter::cut(&seg, r);
    EXPECT_EQ(seg.x1, 0);
    EXPECT_DOUBLE_EQ(seg.y1, 25.5);

    double x1 = 5, y1 = 8, x2 = 1, y2 = 2;
    TestPainter::FixNegRect(&x1, &y1, &x2, &y2);
    EXPECT_EQ(rectangle<double>(x1, y1, x2, y2), rectangle<double>(1, 2, 5, 8));
}

TEST_F(CoordTest, ArcsMirrorTheirAnglesWithTheAxes) {
    struct Case {
        bool flipX, flipY, swap;
        int devX, devY;
        int start, sweep;
        const char *line;
    } cases[] = {
        {false, true, false, 0, 100, 0, 900, "internalArc 10 60 50 90 0 -900"},
        {true, false, false, 200, 0, 0, 900, "internalArc 150 10 190 40 1800 -900"},
        {true, true, false, 200, 100, 300, 900, "internalArc 150 60 190 90 -1500 900"},
        {false, false, true, 0, 0, 0, 900, "internalArc 10 10 40 50 2700 -900"},
        {false, false, false, 0, 0, 450, -900, "internalArc 10 10 50 40 450 -900"},
        {false, true, false, 0, 100, 0, kMin, "internalArc 10 60 50 90 0 2147483647"},
    };
    for (const Case &c : cases) {
        IPainter::CoordInfo info;
        info.flipX = c.flipX;
        info.flipY = c.flipY;
        info.swapXY = c.swap;
        info.devOriginX = c.devX;
        info.devOriginY = c.devY;
        Custom(200, 100, info);
        p.Arc(10, 10, 50, 40, c.start, c.sweep);
        EXPECT_EQ(Take(), Lines{c.line});
    }
    // A negative user scale mirrors too; without the pipeline nothing changes.
    p.SetCoordSystem(IPainter::MapPixel, nullptr);
    p.Scale(1, -1, true);
    p.Clear();
    p.Pie(10, -10, 50, -40, 0, 900);
    p.SetTransform(false);
    p.Chord(10, 10, 50, 40, 0, 900);
    EXPECT_EQ(Take(), (Lines{"internalPie 10 10 50 40 0 -900", "internalChord 10 10 50 40 0 900"}));
}

}  // namespace
