#pragma once

namespace quelt {

// Geometry values, instantiated for int and double. They start zeroed and
// compare member by member; neither rectangle normalises itself.

template <class T>
struct point {
    T x = T();
    T y = T();

    constexpr point() = default;
    constexpr point(T x_, T y_) : x(x_), y(y_) {}

    constexpr bool operator==(const point &o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const point &o) const { return !(*this == o); }
};

template <class T>
struct size {
    T cx = T();
    T cy = T();

    constexpr size() = default;
    constexpr size(T cx_, T cy_) : cx(cx_), cy(cy_) {}

    constexpr bool operator==(const size &o) const { return cx == o.cx && cy == o.cy; }
    constexpr bool operator!=(const size &o) const { return !(*this == o); }
};

// Two corners in logical (painter) coordinates.
template <class T>
struct rectangle {
    T left = T();
    T top = T();
    T right = T();
    T bottom = T();

    constexpr rectangle() = default;
    constexpr rectangle(T l, T t, T r, T b) : left(l), top(t), right(r), bottom(b) {}

    constexpr bool operator==(const rectangle &o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const rectangle &o) const { return !(*this == o); }
};

// Two corners in device pixels: window, update and clip areas.
template <class T>
struct screen_rectangle {
    T left = T();
    T top = T();
    T right = T();
    T bottom = T();

    constexpr screen_rectangle() = default;
    constexpr screen_rectangle(T l, T t, T r, T b) : left(l), top(t), right(r), bottom(b) {}

    constexpr bool operator==(const screen_rectangle &o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const screen_rectangle &o) const { return !(*this == o); }
};

}  // namespace quelt
