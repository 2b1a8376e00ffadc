#include "quelt/sys/scroll.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace quelt {
namespace {

struct Axis {
    double min, max, step, page;
    int precision;
};

CScrollConverter Make(const Axis &a) { return CScrollConverter(a.min, a.max, a.step, a.page, a.precision); }

TEST(ScrollConverterTest, ClampsPositionsIntoTheRange) {
    struct Case {
        Axis axis;
        double in, stored;
    };
    const Axis plain{0, 100, 1, 10, 0};
    const Axis reversed{100, 0, 1, 10, 0};
    for (const Case &c : {Case{plain, 95, 90}, Case{plain, -5, 0}, Case{plain, 42.7, 42.7},
                          Case{reversed, 40, 40}, Case{reversed, 95, 90}, Case{reversed, -3, 0},
                          // A page larger than the range goes below the lower end.
                          Case{{0, 5, 1, 10, 0}, 0, -5}, Case{plain, std::nan(""), 0}}) {
        CScrollConverter c1 = Make(c.axis);
        c1.SetPos(c.in);
        EXPECT_EQ(c1.GetPos(), c.stored) << c.axis.min << ".." << c.axis.max << " at " << c.in;
        EXPECT_EQ(c1.NormalizePos(c.in), c.stored);
    }
}

TEST(ScrollConverterTest, ConvertsToScrollBarUnitsAndBack) {
    struct Case {
        Axis axis;
        double pos;
        int convertPos, page, step, min, max;
    };
    for (const Case &c : {
             Case{{0, 100, 1, 10, 0}, 42.7, 42, 10, 1, 0, 100},
             Case{{0, 100, 1, 10, 1000}, 50, 500, 101, 10, 0, 1000},
             Case{{100, 0, 1, 10, 0}, 40, 50, 10, 1, 0, 100},
             Case{{100, 0, 1, 10, 1000}, 40, 500, 101, 10, 0, 1000},
             Case{{5, 5, 1, 10, 0}, 5, 0, 0, 0, 5, 5},
             Case{{0, 1e12, 1, 10, 0}, 0, 0, 10, 1, 0, INT_MAX},
             Case{{0, 100, 1, std::nan(""), 0}, 0, 0, 0, 1, 0, 100},
         }) {
        SCOPED_TRACE(::testing::Message()
                     << c.axis.min << ".." << c.axis.max << " precision " << c.axis.precision);
        CScrollConverter conv = Make(c.axis);
        conv.SetPos(c.pos);
        EXPECT_EQ(conv.ConvertPos(), c.convertPos);
        EXPECT_EQ(conv.ConvertPageSize(), c.page);
        EXPECT_EQ(conv.ConvertStepSize(), c.step);
        EXPECT_EQ(conv.ConvertMin(), c.min);
        EXPECT_EQ(conv.ConvertMax(), c.max);
        if (conv.GetMin() == conv.GetMax() || std::isnan(conv.GetPageSize()) || conv.GetMax() > 1e9) continue;
        // The bar's value comes back to the position it was made from: no axis jumps.
        CScrollConverter back = Make(c.axis);
        back.SetIntPos(c.convertPos);
        EXPECT_NEAR(back.GetPos(), std::trunc(c.pos), 1e-9);
    }
}

TEST(ScrollConverterTest, KeepsItsDirectionUpToDate) {
    CScrollConverter c;
    EXPECT_TRUE(c.IsAscending());
    c.SetMin(10);
    EXPECT_FALSE(c.IsAscending());
    c.SetMax(20);
    EXPECT_TRUE(c.IsAscending());
    EXPECT_EQ(c.GetScrollSize(), 10);
    c.SetEmpty();
    EXPECT_TRUE(c.IsAscending());
    EXPECT_EQ(c.GetMax(), 0);
}

TEST(PosManagerTest, PlacesAnAnchoredChild) {
    struct Case {
        CPosManager place;
        screen_rectangle<int> outer;
        int width, height;
        screen_rectangle<int> expected;
    };
    for (const Case &c : {
             Case{{0, 0, 0, 0, 4 | 8}, {0, 0, 100, 50}, 16, 50, {84, 0, 100, 50}},
             Case{{2, 3, 4, 5, 1 | 2 | 4 | 8}, {0, 0, 100, 50}, 16, 16, {2, 3, 96, 45}},
             Case{{2, 3, 0, 0, 1 | 2}, {10, 10, 100, 50}, 16, 8, {12, 13, 28, 21}},
             Case{{0, 0, 0, 0, 0}, {10, 10, 100, 50}, 16, 8, {-16, -8, 0, 0}},
             Case{{0, 0, 0, 0, 4 | 8},
                  {0, 0, INT_MAX, INT_MAX},
                  INT_MIN,
                  0,
                  {INT_MAX, INT_MAX, INT_MAX, INT_MAX}},
         }) {
        EXPECT_EQ(c.place.GetCtrlRect(c.outer, c.width, c.height), c.expected);
    }
}

TEST(PosManagerTest, MeasuresIndentsAndStandardEdges) {
    const CPosManager fromRects(screen_rectangle<int>(0, 0, 100, 50), screen_rectangle<int>(5, 6, 90, 40),
                                15);
    EXPECT_EQ(fromRects.GetIndentLeft(), 5);
    EXPECT_EQ(fromRects.GetIndentTop(), 6);
    EXPECT_EQ(fromRects.GetIndentRight(), 10);
    EXPECT_EQ(fromRects.GetIndentBottom(), 10);
    EXPECT_FALSE(fromRects.IsStdRight());
    EXPECT_FALSE(fromRects.IsStdBottom());
    const CPosManager empty(0, 0, 7, 7, 0);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(empty.IsStdRight());
    EXPECT_TRUE(empty.IsStdBottom());
}

}  // namespace
}  // namespace quelt
