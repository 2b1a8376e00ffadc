#include <gtest/gtest.h>

#include <vector>

#include "surface.h"

using namespace quelt;
using namespace quelt::cairo;
using namespace quelt::cairo::test;

namespace {

// The device text operations, reached directly.
class TextProbe : public CairoPainter {
  public:
    using CairoPainter::CairoPainter;
    using CairoPainter::internalGetFontMetrics;
    using CairoPainter::internalGetTextExtent;
    using CairoPainter::internalTextOut;
};

wstring W(const char *text) { return Utf8ToWide(text); }

// A white picture with a probe painter on its surface.
struct TextSurface {
    explicit TextSurface(int w = 200, int h = 200) : s(w, h), probe(&s.Picture(), s.Image(), w, h) {
        probe.BeginPaint(IPainter::SettingsPrint);
    }
    Surface s;
    TextProbe probe;
};

}  // namespace

// Measuring and drawing agree: the line height of the metrics is a line's
// extent height, and the ink stays within the extent.
TEST(CairoTextTest, ExtentsAndMetricsComeFromTheRealFont) {
    TextSurface t;
    const wstring hello = W("Hello");
    const size<int> extent = t.probe.internalGetTextExtent(hello.c_str(), nullptr, -1, false);
    fontmetrics m;
    t.probe.internalGetFontMetrics(&m);
    EXPECT_GT(extent.cx, 15);
    EXPECT_LT(extent.cx, 60);
    EXPECT_EQ(extent.cy, m.height);
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_GT(m.avgCharWidth, 0);
    EXPECT_GE(m.maxCharWidth, m.avgCharWidth);

    // A count stops early; empty and null text measure nothing; a larger font is larger.
    EXPECT_LT(t.probe.internalGetTextExtent(hello.c_str(), nullptr, 2, false).cx, extent.cx);
    EXPECT_EQ(t.probe.internalGetTextExtent(hello.c_str(), nullptr, 0, false), size<int>());
    EXPECT_EQ(t.probe.internalGetTextExtent(nullptr, nullptr, -1, false), size<int>());
    const font big(W("Sans"), font::DefaultFamily, 16, 1, 0);
    const size<int> bigExtent = t.probe.internalGetTextExtent(hello.c_str(), &big, -1, true);
    EXPECT_GT(bigExtent.cx, extent.cx * 3 / 2);
    // The selected font is kept after measuring in another one.
    EXPECT_EQ(t.probe.internalGetTextExtent(hello.c_str(), nullptr, -1, false), extent);
    // Lone surrogates are drawn as the replacement character, never dropped.
    const wchar lone[] = {'a', 0xD800, 'b', 0};
    const wchar ab[] = {'a', 'b', 0};
    EXPECT_GT(t.probe.internalGetTextExtent(lone, nullptr, -1, false).cx,
              t.probe.internalGetTextExtent(ab, nullptr, -1, false).cx);

    t.probe.internalTextOut(50, 60, hello.c_str(), -1);
    const screen_rectangle<int> ink = t.s.Bounds();
    EXPECT_GE(ink.left, 50);
    EXPECT_GE(ink.top, 60);
    EXPECT_LE(ink.right, 50 + extent.cx);
    EXPECT_LE(ink.bottom, 60 + extent.cy);
}

// The reference point is the layout's logical top-left; the angle turns the
// text counter-clockwise around it.
TEST(CairoTextTest, AnglesTurnAroundTheReferencePoint) {
    struct Case {
        int angle;
        // Where the ink must lie, relative to the reference point, in units of the extent (w, h).
        int left, top, right, bottom;  // -1: -extent, 0: 0, 1: +extent
        bool swap;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, 1, 1, false},
        {900, 0, -1, 1, 0, true},
        {1800, -1, -1, 0, 0, false},
        {2700, -1, 0, 0, 1, true},
    };
    const wstring text = W("Quelt");
    for (const Case &c : cases) {
        TextSurface t;
        t.probe.SetFont(font(W("MS Shell Dialog"), font::DefaultFamily, 10, 0, c.angle));
        const size<int> e = t.probe.internalGetTextExtent(text.c_str(), nullptr, -1, false);
        const int w = c.swap ? e.cy : e.cx;
        const int h = c.swap ? e.cx : e.cy;
        t.probe.internalTextOut(100, 100, text.c_str(), -1);
        const screen_rectangle<int> ink = t.s.Bounds();
        EXPECT_GE(ink.left, 100 + c.left * w - 1) << c.angle;
        EXPECT_GE(ink.top, 100 + c.top * h - 1) << c.angle;
        EXPECT_LE(ink.right, 100 + c.right * w + 1) << c.angle;
        EXPECT_LE(ink.bottom, 100 + c.bottom * h + 1) << c.angle;
        // Most of the extent is inked along the reading direction.
        EXPECT_GT((c.swap ? ink.bottom - ink.top : ink.right - ink.left), e.cx * 3 / 4) << c.angle;
    }
}

// Style flags: bold is wider, underline inks below the baseline, and the text colour is used.
TEST(CairoTextTest, StyleFlagsAndColour) {
    const wstring text = W("Underline");
    TextSurface plain;
    plain.probe.SetFont(font(W(""), font::DefaultFamily, 12, 0, 0));
    TextSurface bold;
    bold.probe.SetFont(font(W(""), font::DefaultFamily, 12, 1, 0));
    EXPECT_GT(bold.probe.internalGetTextExtent(text.c_str(), nullptr, -1, false).cx,
              plain.probe.internalGetTextExtent(text.c_str(), nullptr, -1, false).cx);
    TextSurface under;
    under.probe.SetFont(font(W(""), font::DefaultFamily, 12, 4, 0));
    plain.probe.internalTextOut(10, 10, text.c_str(), -1);
    under.probe.internalTextOut(10, 10, text.c_str(), -1);
    EXPECT_GT(under.s.Painted().size(), plain.s.Painted().size());

    TextSurface red;
    red.probe.SetTextColor(_color(255, 0, 0, 255));
    red.probe.internalTextOut(10, 10, text.c_str(), -1);
    EXPECT_FALSE(red.s.Painted(_color(255, 0, 0, 255)).empty());
    EXPECT_TRUE(red.s.Painted(kInk).empty());
}
