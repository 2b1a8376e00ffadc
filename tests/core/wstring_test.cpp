#include <gtest/gtest.h>

#include "quelt/core/wstring.h"

using namespace quelt;

TEST(Utf8Conversion, RoundTripsBasicAndSupplementaryText) {
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A, e-acute, euro, emoji
    const wstring wide = Utf8ToWide(text);
    ASSERT_EQ(wide.size(), 5u);
    EXPECT_EQ(wide[0], 'A');
    EXPECT_EQ(wide[1], 0xE9);
    EXPECT_EQ(wide[2], 0x20AC);
    EXPECT_EQ(wide[3], 0xD83D);
    EXPECT_EQ(wide[4], 0xDE00);
    EXPECT_EQ(WideToUtf8(wide), text);
}

TEST(Utf8Conversion, MalformedInputBecomesReplacementCharacter) {
    EXPECT_EQ(Utf8ToWide("\xC3"), wstring(1, 0xFFFD));          // truncated
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), wstring(2, 0xFFFD));      // overlong
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), wstring(3, 0xFFFD));  // encoded surrogate
    EXPECT_EQ(Utf8ToWide("\xFFx"), (wstring{0xFFFD, 'x'}));
    EXPECT_EQ(WideToUtf8(wstring{0xD800}), "\xEF\xBF\xBD");  // lone high surrogate
    EXPECT_EQ(WideToUtf8(wstring{0xDC00, 'a'}),
              "\xEF\xBF\xBD"
              "a");  // lone low surrogate
}

TEST(Utf8Conversion, AsciiRunsAroundOtherTextConvertUnitForUnit) {
    const std::string ascii("a\0b\x7F", 4);
    EXPECT_EQ(Utf8ToWide(ascii), (wstring{'a', 0, 'b', 0x7F}));
    EXPECT_EQ(WideToUtf8(wstring{'a', 0, 'b', 0x7F}), ascii);
    EXPECT_EQ(Utf8ToWide("ab\xC2\x80"
                         "cd"),
              (wstring{'a', 'b', 0x80, 'c', 'd'}));
    EXPECT_EQ(WideToUtf8(wstring{'a', 'b', 0x80, 'c', 'd'}),
              "ab\xC2\x80"
              "cd");
    EXPECT_EQ(WideToUtf8(wstring{'a', 0xFF}), "a\xC3\xBF");
    EXPECT_EQ(Utf8ToWide("x\xFF"), (wstring{'x', 0xFFFD}));
    EXPECT_EQ(Utf8ToWide(""), wstring());
    EXPECT_EQ(WideToUtf8(wstring()), "");
}

TEST(Utf8Conversion, WideLiteralHoldsUtf16Units) { EXPECT_EQ(u"\u00e9x"_w, (wstring{0xE9, 'x'})); }
