#pragma once

// Window bounds arithmetic shared by the library and the platforms: corners may
// lie anywhere in int, so sides are measured in a wider type and new corners
// saturate instead of wrapping.

#include <algorithm>

#include "core/numeric_p.h"
#include "quelt/paint/geometry.h"

namespace quelt {

// The bounds with their near corner kept and a size of width x height (at least 1 x 1).
inline screen_rectangle<int> ResizedBounds(const screen_rectangle<int> &bounds, int width, int height) {
    return {bounds.left, bounds.top,
            SaturatingNarrow<int>(WideDifference(bounds.left, 1) + std::max(width, 1)),
            SaturatingNarrow<int>(WideDifference(bounds.top, 1) + std::max(height, 1))};
}

// The bounds with their size kept and their near corner at (x, y).
inline screen_rectangle<int> MovedBounds(const screen_rectangle<int> &bounds, int x, int y) {
    return {x, y, SaturatingNarrow<int>(x + WideDifference(bounds.right, bounds.left)),
            SaturatingNarrow<int>(y + WideDifference(bounds.bottom, bounds.top))};
}

inline bool SizeDiffers(const screen_rectangle<int> &a, const screen_rectangle<int> &b) {
    return WideDifference(a.right, a.left) != WideDifference(b.right, b.left) ||
           WideDifference(a.bottom, a.top) != WideDifference(b.bottom, b.top);
}

// The client rectangle of the bounds, its far corner saturated.
template <class Rectangle>
Rectangle ClientRect(const screen_rectangle<int> &bounds) {
    return {0, 0, SaturatingNarrow<int>(WideDifference(bounds.right, bounds.left)),
            SaturatingNarrow<int>(WideDifference(bounds.bottom, bounds.top))};
}

}  // namespace quelt
