#pragma once

// One scroll axis in a control's own units, its conversion to the integer
// units of a scroll bar, and the anchored placement of a child rectangle.

#include "quelt/core/config.h"
#include "quelt/paint/geometry.h"

namespace quelt {

// How a control describes one axis to its window.
struct QUELT_API ScrollInfo {
    ScrollInfo() = default;
    ScrollInfo(double min_, double max_, double step_, double page_, int precision_)
        : precision(precision_), min(min_), max(max_), step(step_), page(page_) {}

    int precision = 0;
    double min = 0;
    double max = 0;
    double step = 0;
    double page = 0;
    double pos = 0;
};

// Indents from the parent's edges and the anchors that hold them: 1 left,
// 2 top, 4 right, 8 bottom; no anchor means empty.
struct ScrollPos {
    int left;
    int top;
    int right;
    int bottom;
    int anchors;
};

// One axis: page, range (min may exceed max: a reversed axis), step and the
// first visible value pos, all in control units. With a precision the range
// maps onto 0..precision scroll-bar units; without one a unit is a unit.
class QUELT_API CScrollConverter {
  public:
    CScrollConverter() = default;
    CScrollConverter(double min, double max, double step, double page, int precision);

    void SetMin(double min);
    void SetMax(double max);
    double GetMin() const { return m_min; }
    double GetMax() const { return m_max; }
    double GetPageSize() const { return m_page; }
    void SetStepSize(double step) { m_step = step; }
    double GetStepSize() const { return m_step; }
    void SetScrollPrecision(int precision) { m_precision = precision; }
    int GetScrollPrecision() const { return m_precision; }
    bool IsAscending() const { return m_ascending; }

    // Stores value clamped into the range.
    void SetPos(double value);
    // Stores the position of scroll-bar value n, clamped.
    void SetIntPos(int n);
    double GetPos() const { return m_pos; }
    // value with the page kept inside the range; a page larger than the range
    // puts the result below the lower end.
    double NormalizePos(double value) const;
    double GetScrollSize() const;

    // The scroll-bar values; the first three are 0 for an empty range.
    int ConvertPageSize() const;
    int ConvertStepSize() const;
    int ConvertPos() const;
    int ConvertMin() const;
    int ConvertMax() const;

    void SetEmpty();

  private:
    double Lower() const { return m_ascending ? m_min : m_max; }
    double Upper() const { return m_ascending ? m_max : m_min; }

    double m_page = 0;
    double m_min = 0;
    double m_max = 0;
    double m_step = 0;
    double m_pos = 0;
    int m_precision = 0;
    bool m_ascending = true;
};

// Places a child rectangle (a scroll bar) inside a parent by anchored indents.
class QUELT_API CPosManager {
  public:
    CPosManager() = default;
    CPosManager(int left, int top, int right, int bottom, int anchors);
    CPosManager(const screen_rectangle<int> &outer, const screen_rectangle<int> &inner, int anchors);
    void Init(int left, int top, int right, int bottom, int anchors);
    void Init(const screen_rectangle<int> &outer, const screen_rectangle<int> &inner, int anchors);

    int GetIndentLeft() const { return m_left; }
    int GetIndentTop() const { return m_top; }
    int GetIndentRight() const { return m_right; }
    int GetIndentBottom() const { return m_bottom; }
    int GetAnchors() const { return m_anchors; }

    void SetEmpty() { Init(0, 0, 0, 0, 0); }
    bool IsEmpty() const { return m_anchors == 0; }
    // The child keeps to the parent's right (bottom) edge.
    bool IsStdRight() const { return m_anchors == 0 || m_right == 0; }
    bool IsStdBottom() const { return m_anchors == 0 || m_bottom == 0; }

    // The child's rectangle in outer for a child of the given size: an axis
    // anchored on both sides stretches, one anchored on one side keeps the size.
    screen_rectangle<int> GetCtrlRect(const screen_rectangle<int> &outer, int width, int height) const;

  private:
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    int m_anchors = 0;
};

}  // namespace quelt
