#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/numeric_p.h"

using namespace quelt;

TEST(SaturatingCast, TruncatesTowardZero) {
    EXPECT_EQ(SaturatingCast<int>(2.9), 2);
    EXPECT_EQ(SaturatingCast<int>(-2.9), -2);
    EXPECT_EQ(SaturatingCast<short>(-32768.0), -32768);
}

TEST(SaturatingCast, NanAndExtremesAreDefined) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(SaturatingCast<int>(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(SaturatingCast<int>(inf), std::numeric_limits<int>::max());
    EXPECT_EQ(SaturatingCast<int>(-inf), std::numeric_limits<int>::min());
    EXPECT_EQ(SaturatingCast<short>(40000.0), 32767);
    EXPECT_EQ(SaturatingCast<std::int64_t>(9.3e18), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(SaturatingCast<std::int64_t>(-9.3e18), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(SaturatingCast<signed char>(1e300), 127);
}

TEST(SaturatingNarrow, ClampsAtTargetBounds) {
    EXPECT_EQ(SaturatingNarrow<int>(5'000'000'000LL), std::numeric_limits<int>::max());
    EXPECT_EQ(SaturatingNarrow<int>(-5'000'000'000LL), std::numeric_limits<int>::min());
    EXPECT_EQ(SaturatingNarrow<int>(-7), -7);
}
