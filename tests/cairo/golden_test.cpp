#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "golden.h"
#include "quelt/cairo/palette.h"
#include "quelt/paint/border.h"
#include "quelt/paint/xpm.h"
#include "surface.h"

using namespace quelt;
using namespace quelt::cairo;
using namespace quelt::cairo::test;

// Fontconfig keeps its caches until the process ends; LeakSanitizer is told so (and nothing else).
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Cairo is built without frame pointers; the slow unwinder walks through it, so
// an allocation's stack reaches the test that made it and tests/cairo/lsan.supp
// can name one test rather than everything Cairo allocates.
extern "C" const char *__asan_default_options() { return "fast_unwind_on_malloc=0"; }

namespace {

constexpr _color kRed(255, 0, 0, 255);
constexpr _color kBlue(0, 0, 255, 255);
constexpr _color kTeal(0, 128, 128, 255);

// The borders draw in the platform's palette.
class PaletteEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { SetSysPallete(&m_palette); }
    void TearDown() override { SetSysPallete(nullptr); }

  private:
    CairoSysPalette m_palette;
};
const auto *const kPalette = ::testing::AddGlobalTestEnvironment(new PaletteEnvironment);

}  // namespace

// Every primitive at several pen widths and styles.
TEST(CairoGoldenTest, Primitives) {
    Surface s(320, 200);
    IPainter &p = s.Painter();
    const int styles[] = {PenSolid, PenDash, PenDot, PenDashDot, PenDashDotDot};
    for (int i = 0; i < 5; ++i) {
        p.SetPen(pen(kInk, i + 1, static_cast<pen::PenStyle>(styles[i])));
        p.MoveTo(10, 10 + 10 * i);
        p.LineTo(150, 10 + 10 * i);
        p.MoveTo(160 + 8 * i, 10);
        p.LineTo(200 + 8 * i, 50);
    }
    p.SetPen(pen(kRed, 1, pen::Solid));
    p.SetBrush(brush(kBlue, brush::Solid));
    p.Rectangle(10, 70, 50, 100);
    p.Ellipse(60, 70, 110, 100);
    p.RoundRect(120, 70, 170, 100, 16, 12);
    p.SetPen(pen(kTeal, 3, pen::Solid));
    p.Arc(180, 70, 230, 110, 300, 1200);
    p.Chord(240, 70, 300, 110, 0, 2000);
    p.Pie(10, 110, 60, 160, 450, 2700);
    const point<double> star[] = {{90, 110}, {102, 150}, {70, 125}, {110, 125}, {78, 150}};
    p.SetPen(pen(kInk, 1, pen::Solid));
    p.Polygon(star, 5);
    const point<double> zigzag[] = {{120, 150}, {135, 115}, {150, 150}, {165, 115}};
    p.SetPen(pen(kRed, 2, pen::Solid));
    p.PolyLine(zigzag, 4, -1, 0);
    const point<double> curve[] = {{180, 160}, {190, 100}, {230, 190}, {240, 120}};
    p.PolyBezier(curve, 4, 0, -1);
    p.GradientFill(250, 120, 310, 150, kBlue, kPaper, 0, IPainter::GradientTopToBottom);
    p.GradientFill(250, 155, 310, 190, kRed, kPaper, 6, IPainter::GradientLeftToRight);
    p.SemiFillRect(30, 85, 90, 180, _color(0, 160, 0, 100));
    brush hatch(kInk, brush::Solid);
    const unsigned short diagonal[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    hatch.SetPattern(diagonal);
    p.SetBrush(hatch);
    p.SetPen(pen(kInk, 1, pen::Solid));
    p.Rectangle(120, 165, 170, 195);
    p.FocusRect(5, 5, 314, 194);
    p.SetPixel(315, 2, kRed);

    EXPECT_TRUE(MatchesGolden(s.Image(), "primitives"));
    EXPECT_EQ(s.At(10, 10), kInk);   // the solid line's first pixel
    EXPECT_EQ(s.At(150, 10), kInk);  // and its last
    EXPECT_EQ(s.At(10, 70), kRed);   // the rectangle's corner
    EXPECT_EQ(s.At(30, 80), kBlue);  // and its inside
    EXPECT_EQ(s.At(315, 2), kRed);
    EXPECT_EQ(s.At(120, 165), kInk);
    EXPECT_EQ(s.At(280, 152), kPaper);  // between the gradients
    EXPECT_EQ(s.At(5, 5), kInk);        // the focus frame inverts paper
}

// One cell for every plot type, with markers on the strip.
TEST(CairoGoldenTest, Plots) {
    Surface s(360, 160);
    IPainter &p = s.Painter();
    p.SetPen(pen(kBlue, 1, pen::Solid));
    p.SetBrush(brush(kTeal, brush::Solid));
    for (int type = 0; type < IPainter::PlotTypeCount; ++type) {
        const double x0 = 10 + (type % 6) * 58;
        const double y0 = 10 + (type / 6) * 75;
        p.SetPointStyle(type == IPainter::PlotLineStrip ? IPainter::PointStyle{1, 5}
                                                        : IPainter::PointStyle{});
        p.BeginPlot(static_cast<IPainter::PlotType>(type));
        for (int i = 0; i < 8; ++i)
            p.Vertex(x0 + i * 6, y0 + 30 + 25 * std::sin(i * 0.9) * (i % 2 ? 1 : -0.6));
        p.EndPlot();
    }
    EXPECT_TRUE(MatchesGolden(s.Image(), "plots"));
    // The first line segment of the lines plot joins vertices 0 and 1.
    EXPECT_EQ(s.At(68, 40), kBlue);
    EXPECT_EQ(s.Painted(kBlue).count({68, 40}), 1u);
    EXPECT_FALSE(s.Painted(kTeal).empty());
}

// Every border shape in every style.
TEST(CairoGoldenTest, Borders) {
    Surface s(300, 100);
    IPainter &p = s.Painter();
    p.SetBrush(brush(_color(240, 240, 240, 255), brush::Solid));
    p.FillRect(0, 0, 300, 100);
    for (int style = 0; style < 3; ++style)
        for (int shape = 0; shape < 9; ++shape)
            DrawBorder(&p, 5 + shape * 32, 5 + style * 32, 30 + shape * 32, 30 + style * 32,
                       static_cast<BorderShape>(shape), static_cast<BorderStyle>(style), false);
    EXPECT_TRUE(MatchesGolden(s.Image(), "borders"));
    const _color shadow(160, 160, 160, 255);
    EXPECT_EQ(s.At(5, 5), shadow);                        // flat: a shadow rectangle
    EXPECT_EQ(s.At(5, 37), _color(255, 255, 255, 255));   // raised: light top-left
    EXPECT_EQ(s.At(30, 62), shadow);                      // raised: shadow bottom-right
    EXPECT_EQ(s.At(62, 62), _color(105, 105, 105, 255));  // raised double bevel: dark outside
    EXPECT_EQ(s.At(5, 69), shadow);                       // sunken: shadow top-left
}

// Text at the four angles and alignments, each with its reference point marked, and a wrapped block.
TEST(CairoGoldenTest, Text) {
    Surface s(240, 240);
    IPainter &p = s.Painter();
    const wstring text = Utf8ToWide("Quelt 0123");
    const int angles[] = {0, 900, 1800, 2700};
    const int aligns[] = {4 | 0x20, 1 | 8, 2 | 0x10, 1 | 0x10};
    const point<int> at[] = {{120, 200}, {200, 180}, {120, 90}, {40, 100}};
    for (int i = 0; i < 4; ++i) {
        p.SetFont(font(Utf8ToWide("Sans"), font::DefaultFamily, 11, i == 1 ? 1 : 0, angles[i]));
        p.SetTextAlign(aligns[i]);
        p.DrawString(at[i].x, at[i].y, text, -1);
        p.SetPixel(at[i].x, at[i].y, kRed);
    }
    p.SetFont(font(Utf8ToWide("Sans"), font::DefaultFamily, 9, 4, 0));
    p.SetTextColor(kBlue);
    const rectangle<double> box(5, 5, 100, 60);
    const size<double> drawn = p.DrawString(box, Utf8ToWide("Wrapped words in a small box"), 0x800, -1);
    // Fonts differ between machines more than shapes do: a looser comparison.
    EXPECT_TRUE(MatchesGolden(s.Image(), "text", {64, 0.01}));
    for (const point<int> &pt : at) EXPECT_EQ(s.At(pt.x, pt.y), kRed);
    // The wrapped block lies in its box and measures what it inked.
    const Pixels blue = s.Painted(kBlue);
    ASSERT_FALSE(blue.empty());
    int right = 0;
    int bottom = 0;
    for (const auto &[x, y] : blue) {
        EXPECT_GE(x, 5);
        EXPECT_GE(y, 5);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    EXPECT_LE(right, 100);
    EXPECT_LE(right, 5 + drawn.cx);
    EXPECT_LE(bottom, 5 + drawn.cy);
    EXPECT_GT(drawn.cy, p.GetTextSize(text).cy);  // more than one line
}

// An XPM at its size and grayed, and a vector picture replayed at three sizes.
TEST(CairoGoldenTest, ImagesAndPictures) {
    const char *icon[] = {"8 8 3 1",  ". c None", "x c #c03020", "o c #2060c0", "..xxxx..",
                          ".xoooox.", "xoo..oox", "xo....ox",    "xo....ox",    "xoo..oox",
                          ".xoooox.", "..xxxx..", nullptr};
    const XPMImage image(icon, false);
    CairoVectorPicture picture({40, 30});
    IPainter &v = *picture.TakeDefPainter();
    v.BeginPaint(IPainter::SettingsPrint);
    v.SetBrush(brush(kTeal, brush::Solid));
    v.SetPen(pen(kRed, 1, pen::Solid));
    v.Ellipse(0, 0, 39, 29);
    v.MoveTo(0, 0);
    v.LineTo(39, 29);

    Surface s(200, 100);
    IPainter &p = s.Painter();
    p.DrawXPM(image, 10, 10, 0, 0, 0, 0);
    p.SetColorMode(true);
    p.DrawXPM(image, 30, 10, 0, 0, 0, 0);
    p.SetColorMode(false);
    p.DrawVectorPicture(&picture, 10, 30, 49, 59);
    p.DrawVectorPicture(&picture, 60, 30, 139, 89);
    p.DrawVectorPicture(&picture, 150, 10, 169, 89);
    EXPECT_TRUE(MatchesGolden(s.Image(), "pictures"));
    EXPECT_EQ(s.At(12, 10), _color(0xc0, 0x30, 0x20, 255));
    EXPECT_EQ(s.At(10, 10), kPaper);
    EXPECT_TRUE(s.At(32, 10).IsGray());
    EXPECT_EQ(s.At(25, 48), kTeal);  // 1:1 replay: inside the ellipse, off the diagonal
    EXPECT_EQ(s.At(90, 70), kTeal);  // twice the size
    EXPECT_EQ(s.At(30, 45), kRed);   // the diagonal through the middle
    EXPECT_EQ(s.At(100, 60), kRed);
    EXPECT_EQ(s.Bounds().bottom, 89);
}

TEST(CairoGoldenTest, ControlElements) {
    Surface s(160, 30);
    IPainter &p = s.Painter();
    for (int element = 0; element < 5; ++element)
        for (int flag = 0; flag < 2; ++flag)
            p.DrawControlElement(static_cast<IPainter::ControlElement>(element), 2 + element * 32,
                                 2 + flag * 14, 14 + element * 32 + (element % 3 == 0 ? 12 : 0),
                                 13 + flag * 14, flag != 0);
    EXPECT_TRUE(MatchesGolden(s.Image(), "controls"));
    EXPECT_EQ(s.At(10, 8), _color(240, 240, 240, 255));  // a button's face
    EXPECT_EQ(s.At(2, 2), _color(255, 255, 255, 255));   // its light edge
    EXPECT_EQ(s.At(38, 8), _color(255, 255, 255, 255));  // an empty check box
    EXPECT_EQ(s.At(35, 8), _color(105, 105, 105, 255));  // its sunken edge
}
