#include <limits>
#include <string>

#include "paint/painter_fixture.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

wstring W(const char *s) { return Utf8ToWide(s); }

// 8 pixels a unit, lines 16 high with 4 between them.
class TextTest : public PainterTest {
  protected:
    void SetUp() override {
        PainterTest::SetUp();
        p.SetFontMetrics({16, 13, 3, 0, 8, 4, 8});
    }
    void Angle(int angle) {
        p.SetFont(font(W("MS Shell Dialog"), font::DefaultFamily, 8, 0, angle));
        p.Clear();
    }
    // The text calls since the last Clear, as "x y text".
    Lines Drawn() {
        Lines out;
        for (const std::string &line : Take()) {
            if (line.rfind("internalTextOut ", 0) != 0) continue;
            std::string rest = line.substr(16);
            const size_t countEnd = rest.find(' ', rest.find(' ', rest.find(' ') + 1) + 1);
            const size_t countStart = rest.rfind(' ', countEnd - 1);
            out.push_back(rest.substr(0, countStart) + rest.substr(countEnd));
        }
        return out;
    }
};

TEST_F(TextTest, AlignmentAtAPointMovesTheReferencePoint) {
    struct Case {
        int align, angle;
        const char *at;
    } cases[] = {
        {0, 0, "100 50"},           {1 | 8, 0, "100 50"}, {2, 0, "60 50"},        {4, 0, "80 50"},
        {0x10, 0, "100 34"},        {0x20, 0, "100 42"},  {2 | 0x10, 0, "60 34"}, {4 | 0x20, 0, "80 42"},
        {1 | 0x10, 0, "100 34"},    {2, 900, "100 90"},   {0x10, 900, "84 50"},   {2, 1800, "140 50"},
        {2 | 0x10, 2700, "116 10"},
    };
    for (const Case &c : cases) {
        Angle(c.angle);
        p.SetTextAlign(c.align);
        p.DrawString(100, 50, W("abcde"), -1);
        EXPECT_EQ(p.Count("internalGetTextExtent"), c.align == 0 || c.align == 9 ? 0 : 1) << c.align;
        EXPECT_EQ(Take(), Lines{std::string("internalTextOut ") + c.at + " 5 abcde"})
            << c.align << " " << c.angle;
        EXPECT_EQ(p.GetTextAlign(), c.align);
    }
    // In mode 3 at scale 1 the point is mapped and truncated first.
    Angle(0);
    Custom(200, 100);
    p.SetTextAlign(2);
    p.DrawString(10, 20, W("abcde"), -1);
    EXPECT_EQ(Drawn(), Lines{"-30 20 abcde"});
}

TEST_F(TextTest, CountsResolveAndNothingIsDrawnForNoText) {
    const wchar raw[] = {'a', 'b', 'c', 0, 'd'};
    p.DrawString(1, 2, W("abc"), 2);
    p.DrawString(1, 2, W("abc"), 99);
    p.DrawString(1, 2, raw, 99);
    p.DrawString(1, 2, W(""), -1);
    p.DrawString(1, 2, static_cast<const wchar *>(nullptr), 3);
    p.DrawString(std::numeric_limits<double>::quiet_NaN(), 2, W("abc"), -1);
    EXPECT_EQ(Take(),
              (Lines{"internalTextOut 1 2 2 ab", "internalTextOut 1 2 3 abc", "internalTextOut 1 2 3 abc"}));
    EXPECT_EQ(p.DrawString(rectangle<double>(0, 0, 100, 100), static_cast<const wchar *>(nullptr), 0, -1),
              size<double>());
    EXPECT_EQ(p.DrawString(rectangle<double>(0, 0, 100, 100), W(""), 0, -1), size<double>());
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(p.GetTextSize(W(""), nullptr, -1, false, false), size<double>());
}

TEST_F(TextTest, AnglesSnapToRightAngles) {
    struct Case {
        int angle, snapped;
    } cases[] = {{500, 900}, {3200, 0},    {1351, 1800}, {-900, 2700}, {450, 0},   {451, 900},
                 {3151, 0},  {3150, 2700}, {2250, 1800}, {2251, 2700}, {-3600, 0}, {7650, 0}};
    for (const Case &c : cases) {
        Angle(c.angle);
        p.DrawString(rectangle<double>(0, 0, 100, 100), W("ab"), 0, -1);
        const Lines log = Take();
        ASSERT_EQ(log.size(), 3u) << c.angle;
        EXPECT_EQ(log[0], "SetFont 3 8 0 " + std::to_string(c.snapped) + " MS Shell Dialog");
        EXPECT_EQ(log[2], "SetFont 3 8 0 " + std::to_string(c.angle) + " MS Shell Dialog");
    }
    // Right angles need no font change.
    Angle(900);
    p.DrawString(rectangle<double>(0, 0, 100, 100), W("ab"), 0, -1);
    EXPECT_EQ(p.Count("SetFont"), 0);
}

TEST_F(TextTest, LinesArePlacedInTheRectangle) {
    struct Case {
        int flags;
        Lines drawn;
        size<double> block;
    } cases[] = {
        {1, {"0 0 ab", "0 20 cde"}, {24, 36}},     {2, {"84 0 ab", "76 20 cde"}, {24, 36}},
        {4, {"42 0 ab", "38 20 cde"}, {24, 36}},   {0x10, {"0 64 ab", "0 84 cde"}, {24, 36}},
        {0x20, {"0 32 ab", "0 52 cde"}, {24, 36}}, {0x40, {"0 0 ab\\ncde"}, {48, 16}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(p.DrawString(rectangle<double>(0, 0, 100, 100), W("ab\ncde"), c.flags, -1), c.block)
            << c.flags;
        EXPECT_EQ(Drawn(), c.drawn) << c.flags;
    }
    EXPECT_EQ(p.GetLastDrawnRealText(), W("ab\ncde"));
    // Lower than two lines: one line, unless told to keep the lines.
    p.DrawString(rectangle<double>(0, 0, 100, 35), W("ab\ncde"), 0, -1);
    p.DrawString(rectangle<double>(0, 0, 100, 35), W("ab\ncde"), 0x1000, -1);
    EXPECT_EQ(Drawn(), (Lines{"0 0 ab\\ncde", "0 0 ab", "0 20 cde"}));
    // The rectangle goes through the pipeline, the size comes back in logical units.
    p.Scale(2, 2, false);
    EXPECT_EQ(p.DrawString(rectangle<double>(5, 5, 55, 55), W("abcd"), 0, -1), size<double>(16, 8));
    EXPECT_EQ(Drawn(), Lines{"10 10 abcd"});
}

TEST_F(TextTest, RotatedLayoutsUseTheTextsFrame) {
    p.SetFontMetrics({16, 13, 3, 0, 8, 0, 8});
    struct Case {
        int angle, flags;
        const char *at;
        size<double> block;
    } cases[] = {
        {900, 0, "0 200", {16, 32}},  {900, 2, "0 32", {16, 32}},    {900, 0x10, "84 200", {16, 32}},
        {1800, 1, "32 16", {32, 16}}, {1800, 2, "100 16", {32, 16}}, {1800, 0x10, "32 200", {32, 16}},
        {2700, 0, "100 0", {16, 32}}, {2700, 4, "100 84", {16, 32}},
    };
    for (const Case &c : cases) {
        Angle(c.angle);
        EXPECT_EQ(p.DrawString(rectangle<double>(0, 0, 100, 200), W("abcd"), c.flags, -1), c.block)
            << c.angle;
        EXPECT_EQ(Drawn(), Lines{std::string(c.at) + " abcd"}) << c.angle << " flags " << c.flags;
    }
}

TEST_F(TextTest, SingleLinesCutWithAnEllipsis) {
    p.SetFontMetrics({16, 13, 3, 0, 8, 0, 8});
    EXPECT_EQ(p.DrawString(rectangle<double>(0, 0, 100, 20), W("Hello wonderful world"), 0x100, -1),
              size<double>(96, 16));
    EXPECT_EQ(Drawn(), Lines{"0 0 Hello won..."});
    EXPECT_EQ(p.GetLastDrawnRealText(), W("Hello won..."));
    struct Case {
        double width;
        int flags;
        const char *drawn;
    } cases[] = {
        {100, 0x100 | 2, "0 0 Hello won..."},  // right falls back to left
        {100, 2, "0 0 Hello wonderful world"},
        {168, 0x100 | 2, "0 0 Hello wonderful world"},
        {24, 0x100, "0 0 ..."},
        {10, 0x100, "0 0 ..."},
        {31, 0x100, "0 0 ..."},
        {32, 0x100, "0 0 H..."},
    };
    for (const Case &c : cases) {
        p.DrawString(rectangle<double>(0, 0, c.width, 20), W("Hello wonderful world"), c.flags, -1);
        EXPECT_EQ(Drawn(), Lines{c.drawn}) << c.width;
    }
    // A cut never splits a surrogate pair.
    const wchar pair[] = {'a', 'b', 0xD83D, 0xDE00, 'd', 'e', 'f', 'g', 'h', 0};
    p.DrawString(rectangle<double>(0, 0, 48, 20), pair, 0x100, -1);
    EXPECT_EQ(p.GetLastDrawnRealText(), W("ab..."));
    p.DrawString(rectangle<double>(0, 0, 56, 20), pair, 0x100, -1);
    EXPECT_EQ(p.GetLastDrawnRealText(), wstring(pair, pair + 4) + W("..."));
    // The fit is found in a few measurements, not one per character.
    const wstring longText(5000, 'x');
    p.Clear();
    p.DrawString(rectangle<double>(0, 0, 800, 20), longText, 0x100, -1);
    EXPECT_EQ(p.GetLastDrawnRealText().size(), 100u);
    EXPECT_LT(p.Count("internalGetTextExtent"), 20);
}

TEST_F(TextTest, WordWrapKeepsEveryWordOnce) {
    struct Case {
        const char *text;
        double width;
        Lines pieces;
    } cases[] = {
        {"the quick brown fox", 80, {"the quick", "brown fox"}},
        {"the quick brown fox", 71, {"the", "quick", "brown", "fox"}},
        {"abcdefghijkl mn", 80, {"abcdefghijkl", "mn"}},
        {"a  b", 8, {"a", "b"}},
        {" lead", 80, {" lead"}},
        {"one\n\ntwo three", 40, {"one", "", "two", "three"}},
    };
    for (const Case &c : cases) {
        p.DrawString(rectangle<double>(0, 0, c.width, 400), W(c.text), 0x800, -1);
        std::string joined;
        for (size_t i = 0; i < c.pieces.size(); ++i) joined += (i ? "\n" : "") + c.pieces[i];
        EXPECT_EQ(WideToUtf8(p.GetLastDrawnRealText()), joined) << c.text << " in " << c.width;
        p.Clear();
    }
    // Lines beyond the rectangle end in an ellipsis on the last one that shows.
    p.DrawString(rectangle<double>(0, 0, 80, 40), W("one two three four five"), 0x800 | 0x100, -1);
    EXPECT_EQ(Drawn(), (Lines{"0 0 one two", "0 20 three f..."}));
    p.DrawString(rectangle<double>(0, 0, 80, 10), W("ab\ncd"), 0x100 | 0x1000, -1);
    EXPECT_EQ(Drawn(), Lines{"0 0 ..."});
}

TEST_F(TextTest, TextSizeInLogicalUnits) {
    EXPECT_EQ(p.GetTextSize(W("abc")), size<double>(24, 16));
    EXPECT_EQ(p.GetTextSize(W("abc"), nullptr, 2), size<double>(16, 16));
    EXPECT_EQ(p.GetTextSize(W("a\nbb"), nullptr, -1, false, false), size<double>(16, 36));
    EXPECT_EQ(p.GetTextSize(W("a\nbb\nc"), nullptr, 3, false, false), size<double>(8, 36));
    p.Scale(2, 4, false);
    EXPECT_EQ(p.GetTextSize(W("abc")), size<double>(12, 4));
    // Outside a pass the mapping starts afresh.
    p.EndPaint();
    EXPECT_EQ(p.GetTextSize(W("abc")), size<double>(24, 16));
}

TEST_F(TextTest, MetricsAreAskedOncePerFontAndPass) {
    fontmetrics m;
    p.GetFontMetrics(&m);
    p.GetFontMetrics(nullptr);
    p.DrawString(rectangle<double>(0, 0, 100, 100), W("ab\ncd"), 0, -1);
    EXPECT_EQ(m.externalLeading, 4);
    EXPECT_EQ(p.Count("internalGetFontMetrics"), 1);
    Angle(0);
    p.GetFontMetrics(&m);
    p.BeginPaint(IPainter::SettingsPreview);
    p.GetFontMetrics(&m);
    EXPECT_EQ(p.Count("internalGetFontMetrics"), 2);
}

TEST_F(TextTest, FilePathsShortenAtSeparators) {
    p.SetUnitWidth(7);
    const wstring path = W("C:\\dir\\sub\\file.txt");
    struct Case {
        double width;
        const char *out;
    } cases[] = {
        {133, "C:\\dir\\sub\\file.txt"}, {110, "C:\\...\\file.txt"}, {100, "C:...\\file.txt"},
        {84, "...\\file.txt"},           {83, "C:\\dir\\s..."},      {20, "..."},
    };
    for (const Case &c : cases) {
        wstring out;
        EXPECT_EQ(WideToUtf8(p.PrepareFilePath(c.width, path, out)), c.out) << c.width;
        EXPECT_EQ(WideToUtf8(out), c.out);
    }
    wstring same = W("abcdefghij");
    EXPECT_EQ(WideToUtf8(p.PrepareFilePath(50, same, same)), "abcd...");
    wstring word;
    EXPECT_EQ(WideToUtf8(p.PrepareFilePath(49, W("nodelimiterhere"), word)), "node...");
}

}  // namespace
