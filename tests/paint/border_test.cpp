#include "quelt/paint/border.h"

#include <string>

#include "paint/painter_fixture.h"
#include "quelt/testing/palette.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

// The fixed palette's edge colours.
const std::string L = "255,255,255,255";  // light, role 4
const std::string S = "160,160,160,255";  // shadow, role 6
const std::string D = "105,105,105,255";  // dark shadow, role 7
const std::string F = "240,240,240,255";  // face, role 3
const std::string H = "227,227,227,255";  // highlight, role 5

std::string Pen(const std::string &c) { return "internalSetPen " + c + " 1 1"; }
std::string Mv(int x, int y) { return "internalMoveTo " + std::to_string(x) + " " + std::to_string(y); }
std::string Ln(int x, int y) { return "internalLineTo " + std::to_string(x) + " " + std::to_string(y); }
std::string Rect(int x1, int y1, int x2, int y2) {
    return "internalRectangle " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) +
           " " + std::to_string(y2);
}

Lines Ring(int x1, int y1, int x2, int y2, const std::string &topLeft, const std::string &bottomRight) {
    return {Pen(topLeft), Mv(x1, y2), Ln(x1, y1), Ln(x2, y1), Pen(bottomRight), Ln(x2, y2), Ln(x1, y2)};
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines &part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class BorderTest : public PainterTest {
  protected:
    void SetUp() override {
        m_previous = GetSysPallete();
        SetSysPallete(&palette);
        PainterTest::SetUp();
    }
    void TearDown() override { SetSysPallete(m_previous); }

    // A border of (10, 10, 50, 30) between the face brush and the restored pen and brush.
    static Lines Framed(const Lines &drawing) {
        return Join(
            {{"internalSetBrush " + F + " 1"}, drawing, {Pen("0,0,0,255"), "internalSetBrush 0,0,0,255 0"}});
    }

    quelt::testing::FixedSysPalette palette;

  private:
    ISysPalette *m_previous = nullptr;
};

TEST_F(BorderTest, EveryShapeAndStyle) {
    struct Case {
        BorderShape shape;
        BorderStyle style;
        Lines drawing;
    } cases[] = {
        {BorderBox, BorderFlat, {Pen(S), Rect(10, 10, 50, 30)}},
        {BorderDoubleBox, BorderFlat, {Pen(S), Rect(10, 10, 50, 30)}},
        {BorderEtched, BorderFlat, {Pen(S), Rect(10, 10, 50, 30)}},
        {BorderLeft, BorderFlat, {Pen(S), Mv(10, 10), Ln(10, 30)}},
        {BorderRight, BorderFlat, {Pen(S), Mv(50, 10), Ln(50, 30)}},
        {BorderTop, BorderFlat, {Pen(S), Mv(10, 10), Ln(50, 10)}},
        {BorderBottom, BorderFlat, {Pen(S), Mv(10, 30), Ln(50, 30)}},
        {BorderBox, BorderRaised, Join({Ring(10, 10, 50, 30, L, S), {Pen(F), Rect(11, 11, 49, 29)}})},
        {BorderBox, BorderSunken, Join({Ring(10, 10, 50, 30, S, L), {Pen(F), Rect(11, 11, 49, 29)}})},
        {BorderFrame, BorderRaised, Ring(10, 10, 50, 30, L, S)},
        {BorderFrame, BorderSunken, Ring(10, 10, 50, 30, S, L)},
        {BorderEtched,
         BorderRaised,
         {Pen(S), Rect(11, 11, 50, 30), "internalSetBrush " + F + " 0", Pen(L), Rect(10, 10, 49, 29)}},
        {BorderEtched,
         BorderSunken,
         {Pen(L), Rect(11, 11, 50, 30), "internalSetBrush " + F + " 0", Pen(S), Rect(10, 10, 49, 29)}},
        {BorderLeft, BorderRaised, {Pen(S), Mv(11, 11), Ln(11, 30), Pen(L), Mv(10, 29), Ln(10, 10)}},
        {BorderRight, BorderRaised, {Pen(S), Mv(50, 11), Ln(50, 30), Pen(L), Mv(49, 10), Ln(49, 29)}},
        {BorderTop, BorderRaised, {Pen(S), Mv(11, 11), Ln(50, 11), Pen(L), Mv(10, 10), Ln(49, 10)}},
        {BorderBottom, BorderRaised, {Pen(S), Mv(11, 30), Ln(50, 30), Pen(L), Mv(10, 29), Ln(49, 29)}},
        {BorderLeft, BorderSunken, {Pen(L), Mv(11, 11), Ln(11, 30), Pen(S), Mv(10, 29), Ln(10, 10)}},
        {BorderBottom, BorderSunken, {Pen(L), Mv(11, 30), Ln(50, 30), Pen(S), Mv(10, 29), Ln(49, 29)}},
        {BorderDoubleBox, BorderRaised,
         Join({Ring(10, 10, 50, 30, L, D), Ring(11, 11, 49, 29, H, S), {Pen(F), Rect(12, 12, 48, 28)}})},
        {BorderDoubleBox, BorderSunken,
         Join({Ring(10, 10, 50, 30, S, L), Ring(11, 11, 49, 29, D, H), {Pen(F), Rect(12, 12, 48, 28)}})},
        {BorderDoubleFrame, BorderRaised, Join({Ring(10, 10, 50, 30, L, D), Ring(11, 11, 49, 29, H, S)})},
        {BorderDoubleFrame, BorderSunken, Join({Ring(10, 10, 50, 30, S, L), Ring(11, 11, 49, 29, D, H)})},
    };
    for (const Case &c : cases) {
        DrawBorder(&p, 10, 10, 50, 30, c.shape, c.style, false);
        EXPECT_EQ(Take(), Framed(c.drawing)) << "shape " << c.shape << " style " << c.style;
        EXPECT_EQ(p.CachedPen(), pen(_color(0, 0, 0, 255), 1, pen::Solid));
    }
}

TEST_F(BorderTest, NothingToDrawChangesNothing) {
    DrawBorder(&p, 10, 10, 50, 30, BorderFrame, BorderFlat, false);
    DrawBorder(&p, rectangle<double>(10, 10, 50, 30), BorderDoubleFrame, BorderFlat, true);
    DrawBorder(&p, 10, 10, 50, 30, BorderShape(9), BorderRaised, false);
    DrawBorder(&p, 10, 10, 50, 30, BorderShape(-1), BorderRaised, false);
    DrawBorder(&p, 10, 10, 50, 30, BorderBox, BorderStyle(3), false);
    DrawBorder(nullptr, 10, 10, 50, 30, BorderBox, BorderRaised, false);
    EXPECT_TRUE(Take().empty());
    EXPECT_TRUE(p.Queries().empty());
    EXPECT_EQ(palette.Calls(), 0);
}

TEST_F(BorderTest, SmallBordersKeepTheirEdges) {
    DrawBorder(&p, 0, 0, 2, 2, BorderDoubleBox, BorderRaised, false);
    EXPECT_EQ(Take(), Framed(Join({Ring(0, 0, 2, 2, L, D), Ring(1, 1, 1, 1, H, S)})));
    DrawBorder(&p, 0, 0, 1, 1, BorderBox, BorderRaised, false);
    EXPECT_EQ(Take(), Framed(Ring(0, 0, 1, 1, L, S)));
    DrawBorder(&p, 0, 0, 0, 0, BorderEtched, BorderRaised, false);
    EXPECT_EQ(Take(), (Lines{"internalSetBrush " + F + " 1", "internalSetBrush " + F + " 0",
                             "internalSetBrush 0,0,0,255 0"}));
}

TEST_F(BorderTest, DevicePixelsMapOnceAndRestoreTheTransform) {
    p.Scale(2, 2, true);
    p.SetPen(pen(_color(1, 2, 3, 255), 4, pen::Solid));
    p.Clear();
    DrawBorder(&p, 25, 15, 5, 5, BorderFrame, BorderRaised, true);
    EXPECT_EQ(Take(), Join({{"internalSetBrush " + F + " 1"},
                            Ring(10, 10, 50, 30, L, S),
                            {"internalSetPen 1,2,3,255 4 1", "internalSetBrush 0,0,0,255 0"}}));
    EXPECT_TRUE(p.GetTransform());
    // In logical units the same border is scaled point by point.
    DrawBorder(&p, 5, 5, 25, 15, BorderLeft, BorderFlat, false);
    EXPECT_EQ(Take(), Join({{"internalSetBrush " + F + " 1", Pen(S), Mv(10, 10), Ln(10, 30)},
                            {"internalSetPen 1,2,3,255 4 1", "internalSetBrush 0,0,0,255 0"}}));
    p.SetTransform(false);
    DrawBorder(&p, 5, 5, 25, 15, BorderLeft, BorderFlat, true);
    EXPECT_FALSE(p.GetTransform());
    EXPECT_EQ(p.Count("internalMoveTo 5 5"), 1);
}

TEST_F(BorderTest, ColoursComeFromThePaintersPalette) {
    auto custom = CreateCustomPalette();
    custom->SetColor(6, _color(255, 0, 0, 255));
    p.SetPalette(custom.get());
    DrawBorder(&p, 10, 10, 50, 30, BorderTop, BorderFlat, false);
    EXPECT_EQ(Take(), Framed({Pen("255,0,0,255"), Mv(10, 10), Ln(50, 10)}));
    p.SetPalette(nullptr);
    p.SetColorMode(true);
    palette.SetColor(6, _color(0, 0, 255, 255));
    DrawBorder(&p, 10, 10, 50, 30, BorderTop, BorderFlat, false);
    EXPECT_EQ(Take(), Framed({Pen("28,28,28,255"), Mv(10, 10), Ln(50, 10)}));
}

}  // namespace
