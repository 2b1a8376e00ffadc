#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quelt/paint/palette.h"
#include "quelt/paint/xpm.h"

namespace quelt {
namespace {

// XPM lines kept alive for a test, ending in a null pointer.
class Lines {
  public:
    Lines(std::initializer_list<std::string> lines) : m_lines(lines) {
        for (const std::string &s : m_lines) m_pointers.push_back(s.c_str());
        m_pointers.push_back(nullptr);
    }
    Lines(const Lines &) = delete;
    const char **get() { return m_pointers.data(); }
    // Cuts the array before line i, as a truncated source would.
    void EndBefore(std::size_t i) { m_pointers[i] = nullptr; }

  private:
    std::vector<std::string> m_lines;
    std::vector<const char *> m_pointers;
};

constexpr unsigned long kUntouched = 0xDEAD;

// The pixel as "r,g,b", "transparent" or "none".
std::string Pixel(const XPMImage &image, int row, int column) {
    unsigned long color = kUntouched, mask = kUntouched;
    if (!image.GetPixel(row, column, color, &mask, 0x123456)) {
        return color == kUntouched && mask == kUntouched ? "none" : "touched";
    }
    if (mask == 0xFFFFFF) return color == 0x123456 ? "transparent" : "bad transparent";
    if (mask != 0) return "bad mask";
    return std::to_string(color & 0xFF) + "," + std::to_string(color >> 8 & 0xFF) + "," +
           std::to_string(color >> 16);
}

std::string Row(const XPMImage &image, int row, int columns) {
    std::string out;
    for (int c = 0; c < columns; ++c) out += (c ? " " : "") + Pixel(image, row, c);
    return out;
}

TEST(XpmTest, ReadsHeaderColoursAndPixels) {
    Lines text{"3 2 3 1", ". c None", "r c #ff8001", "g c #0A0B0C", "r.g", "gg."};
    const XPMImage image(text.get(), false);
    EXPECT_EQ(image.GetXpm(), text.get());
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetHeight(), 2);
    EXPECT_EQ(Row(image, 0, 3), "255,128,1 transparent 10,11,12");
    EXPECT_EQ(Row(image, 1, 4), "10,11,12 10,11,12 transparent none");
    for (auto [row, column] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 3}, {1 << 30, 1 << 30}}) {
        EXPECT_EQ(Pixel(image, row, column), "none") << row << "," << column;
    }
    unsigned long color = 0;
    EXPECT_TRUE(image.GetPixel(0, 0, color, nullptr, 0));
    EXPECT_EQ(color, 0x0180FFu);

    int count = -1;
    image.GetCtable(nullptr, count);
    EXPECT_EQ(count, 3);
    xpmcolortable table[3];
    count = 2;
    image.GetCtable(table, count);  // too small: a size query
    EXPECT_EQ(count, 3);
    EXPECT_EQ(table[0].key, 0);
    count = 3;
    image.GetCtable(table, count);
    EXPECT_EQ(count, 3);
    EXPECT_TRUE(table[0].transparent);
    EXPECT_EQ(table[0].key, '.');
    EXPECT_EQ(table[0].color, 0u);
    EXPECT_FALSE(table[1].transparent);
    EXPECT_EQ(table[1].key, 'r');
    EXPECT_EQ(table[1].color, 0xFF0180FFu);
    EXPECT_EQ(table[2].color, 0xFF0C0B0Au);
}

TEST(XpmTest, ColourLineGrammar) {
    const struct {
        const char *line;
        const char *pixel;
    } cases[] = {
        {"x c #ff0000", "255,0,0"},
        {"x c #FFfe0A", "255,254,10"},
        {"x c # 5c8 a", "5,200,10"},
        {"x \tc\t #010203 and more", "1,2,3"},
        {"xc#010203", "1,2,3"},
        {"x c #ffff0000ffff", "255,0,255"},
        {"x c #12345678abcd", "18,86,171"},
        {"x c #0102030", "1,2,3"},
        {"x c None", "transparent"},
        {"x c red", "transparent"},
        {"x s mask c #ff0000", "transparent"},
        {"x c #12345", "transparent"},
        {"x c #5 5 5 ", "transparent"},
        {"x c #0x0102", "transparent"},
        {"x c", "transparent"},
        {"x", "transparent"},
        {"x m #ff0000", "transparent"},
    };
    for (const auto &t : cases) {
        Lines text{"1 1 1 1", t.line, "x"};
        EXPECT_EQ(Pixel(XPMImage(text.get(), false), 0, 0), t.pixel) << t.line;
    }
}

TEST(XpmTest, HeadersOutsideTheLimitsGiveAnEmptyImage) {
    const struct {
        const char *header;
        bool valid;
    } cases[] = {
        {"1 1 1 1", true},      {"  +1\t1 1 1 ignored", true},
        {"-0 -0 +1 4", true},   {"32767 0 1 1", true},
        {"0 32767 1 1", false},  // valid header, but the rows are missing
        {"32768 0 1 1", false}, {"4097 4097 1 1", false},
        {"1 1 1 0", false},     {"1 1 1 5", false},
        {"1 1 -1 1", false},    {"1 1 1048577 1", false},
        {"-1 1 1 1", false},    {"1 99999999999999999999999999 1 1", false},
        {"1 1 1", false},       {"1 1 1 x", false},
        {"1 1 1 +", false},     {"", false},
    };
    for (const auto &t : cases) {
        Lines text{t.header, "x c #010203", "x"};
        const XPMImage image(text.get(), false);
        int count = -1;
        image.GetCtable(nullptr, count);
        EXPECT_EQ(count, t.valid ? 1 : 0) << t.header;
        EXPECT_EQ(image.GetGrayed().GetBuffer() != nullptr, t.valid) << t.header;
        if (t.valid) continue;
        EXPECT_EQ(image.GetWidth(), 0) << t.header;
        EXPECT_EQ(image.GetHeight(), 0) << t.header;
        EXPECT_EQ(Pixel(image, 0, 0), "none") << t.header;
        EXPECT_EQ(image.GetDisabled(nullptr).GetBuffer(), nullptr) << t.header;
    }
    Lines empty{"0 0 0 1"};
    const XPMImage nothing(empty.get(), true);
    int count = -1;
    nothing.GetCtable(nullptr, count);
    EXPECT_EQ(count, 0);
    EXPECT_NE(nothing.GetGrayed().GetBuffer(), nullptr);
    EXPECT_EQ(XPMImage(nullptr, true).GetXpm(), nullptr);
}

TEST(XpmTest, HostileStructure) {
    // A line missing before the last announced one: the image is empty.
    for (std::size_t cut = 1; cut <= 4; ++cut) {
        Lines text{"2 2 2 1", "a c #010101", "b c None", "ab", "ba"};
        text.EndBefore(cut);
        EXPECT_EQ(XPMImage(text.get(), true).GetWidth(), 0) << cut;
        EXPECT_EQ(XPMImage(text.get(), false).GetHeight(), 0) << cut;
    }
    // A colour line shorter than its key.
    Lines shortKey{"1 1 2 2", "aa c #010101", "b", "aa"};
    EXPECT_EQ(XPMImage(shortKey.get(), false).GetWidth(), 0);

    // Short rows, unknown keys and the first definition of a key.
    Lines text{
        "3 3 4 2", "aa c #010203", "\xff\x80 c None", "aa c #ffffff", "\xff\x80 c #040506", "aa\xff\x80zz",
        "aa",      "\xff"};
    const XPMImage image(text.get(), false);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(Row(image, 0, 3), "1,2,3 transparent none");
    EXPECT_EQ(Row(image, 1, 2), "1,2,3 none");
    EXPECT_EQ(Row(image, 2, 1), "none");
    xpmcolortable table[4];
    int count = 4;
    image.GetCtable(table, count);
    EXPECT_EQ(table[1].key, 0x80);
    EXPECT_TRUE(table[1].transparent);
    EXPECT_EQ(table[2].color, 0xFFFFFFFFu);
    EXPECT_EQ(table[3].color, 0xFF060504u);
}

TEST(XpmTest, BuffersShareOwnedTextAndBorrowOtherwise) {
    auto text = std::make_unique<Lines>(std::initializer_list<std::string>{"2 1 1 1", "a c #0000ff", "a."});
    XPMBuf borrowed(text->get(), false);
    EXPECT_EQ(borrowed.GetBuffer(), text->get());
    XPMImage copy(text->get(), true);
    EXPECT_NE(copy.GetXpm(), text->get());
    EXPECT_EQ(copy, XPMImage(borrowed));
    text.reset();  // the copy no longer depends on the source

    XPMImage second = copy;
    EXPECT_EQ(second.GetXpm(), copy.GetXpm());
    {
        XPMImage third(copy.GetXpm(), false);
        XPMBuf shared(XPMBuf(copy.GetXpm(), true));
        copy = third;
        EXPECT_NE(shared.GetBuffer(), nullptr);
    }
    EXPECT_EQ(Row(second, 0, 2), "0,0,255 none");
    EXPECT_EQ(std::string(second.GetXpm()[2]), "a.");
    EXPECT_EQ(second.GetXpm()[3], nullptr);
}

TEST(XpmTest, EqualityComparesWhatTheTextMeans) {
    Lines base{"2 1 2 1", "a c #ff0000", "b c None", "ab and more"};
    Lines spelled{"2 1 2 1", "a c #FF0000 ", "b c red", "ab"};
    Lines pixel{"2 1 2 1", "a c #ff0000", "b c None", "ba"};
    Lines colour{"2 1 2 1", "a c #ff0001", "b c None", "ab"};
    Lines key{"2 1 2 1", "c c #ff0000", "b c None", "ab"};
    Lines header{"2 1 2 1 ", "a c #ff0000", "b c None", "ab"};
    Lines garbage{"x"};
    const XPMImage image(base.get(), false);
    EXPECT_EQ(image, XPMImage(spelled.get(), false));
    EXPECT_EQ(image, XPMImage(header.get(), false));
    EXPECT_NE(image, XPMImage(pixel.get(), false));
    EXPECT_NE(image, XPMImage(colour.get(), false));
    EXPECT_NE(image, XPMImage(key.get(), false));
    EXPECT_NE(image, XPMImage(garbage.get(), false));
    EXPECT_EQ(XPMImage(), XPMImage(garbage.get(), false));
}

TEST(XpmTest, GrayedImageReadsBackGray) {
    Lines text{"4 1 5 2",   "r. c #ff0000", "m. c #808080", "d. c #050505",
               ".. c None", "w. c #ffffff", "r.m.d...",     "garbage"};
    const XPMImage image(text.get(), false);
    const XPMBuf grayed = image.GetGrayed();
    const char **lines = grayed.GetBuffer();
    ASSERT_NE(lines, nullptr);
    EXPECT_STREQ(lines[0], "4 1 5 2");
    EXPECT_STREQ(lines[1], "r. c #5b5b5b");
    EXPECT_STREQ(lines[2], "m. c #999999");
    EXPECT_STREQ(lines[3], "d. c #060606");
    EXPECT_STREQ(lines[4], ".. c None");
    EXPECT_STREQ(lines[5], "w. c #ffffff");
    EXPECT_STREQ(lines[6], "r.m.d...");
    EXPECT_EQ(lines[7], nullptr);
    const XPMImage gray(grayed);
    EXPECT_EQ(Row(gray, 0, 4), "91,91,91 153,153,153 6,6,6 transparent");
}

TEST(XpmTest, DisabledImageEmbossesDarkPixels) {
    CCustomPalette palette;
    palette.SetColor(RoleLight, _color(5, 0xa0, 0xff, 7));
    palette.SetColor(RoleShadow, _color(0, 1, 0x10, 255));
    Lines text{"4 3 4 1", "k c #818181", "l c #828282", "x c #000000", ". c None", "kl.x", "..k?", "x"};
    const XPMImage image(text.get(), false);
    const XPMBuf disabled = image.GetDisabled(&palette);
    const char **lines = disabled.GetBuffer();
    ASSERT_NE(lines, nullptr);
    const std::vector<std::string> want{"4 3 3 1", ". c None", "a c # 5a0ff", "b c # 0 110", "b..b", ".ab."};
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(lines[i], want[i]) << i;
    // 129 is dark, 130 not, nor a key without a colour. The third row is
    // short: its missing pixels are not dark, but may be lit from above left.
    EXPECT_STREQ(lines[6], "b..a");
    EXPECT_EQ(lines[7], nullptr);
    const XPMImage readBack(disabled);
    EXPECT_EQ(Row(readBack, 0, 4), "0,1,16 transparent transparent 0,1,16");
    EXPECT_EQ(Pixel(readBack, 1, 1), "5,160,255");
}

}  // namespace
}  // namespace quelt
