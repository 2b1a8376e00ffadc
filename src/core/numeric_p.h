#pragma once

#include <cmath>
#include <limits>
#include <type_traits>

namespace quelt {

// The one conversion of a double to an integer type used everywhere in the
// library: NaN gives 0, the value is truncated toward zero and saturated at
// the target's bounds, so no input reaches undefined behaviour.
template <class I>
I SaturatingCast(double value) {
    static_assert(std::is_integral_v<I>, "integer target expected");
    if (std::isnan(value)) return 0;
    constexpr auto lo = std::numeric_limits<I>::min();
    constexpr auto hi = std::numeric_limits<I>::max();
    if (value <= static_cast<double>(lo)) return lo;
    // static_cast<double>(hi) may round up past hi (2^63 for int64), so compare with >=.
    if (value >= static_cast<double>(hi)) return hi;
    return static_cast<I>(value);
}

// Saturates a 64-bit intermediate into a narrower integer type.
template <class I>
I SaturatingNarrow(long long value) {
    constexpr long long lo = std::numeric_limits<I>::min();
    constexpr long long hi = std::numeric_limits<I>::max();
    return static_cast<I>(value < lo ? lo : (value > hi ? hi : value));
}

// last - first without overflow, for corners that may lie anywhere in int.
inline long long WideDifference(int last, int first) { return static_cast<long long>(last) - first; }

// The pixels from first to last, both included, saturated into int.
inline int PixelCount(int first, int last) { return SaturatingNarrow<int>(WideDifference(last, first) + 1); }

}  // namespace quelt
